// The Paper/Quality page's page exceptions, on printers whose driver offers them: the list of kinds
// in place of the page-kind list, which kinds the layout allows and which are in use, and the kind
// handed to the maker's module last. The page owns one part; it calls the module itself.
#pragma once

#include "common/zqcontrols.h"
#include "common/zquibase.h"
#include "pages/paperquality/zqpaperqualitycontrols.h"
#include "pages/zqpages.h"

class CZQPageExceptions {
public:
    // The page's items (owner), its control table and its constraint mark, which the list shows
    // when a kind is not available.
    CZQPageExceptions(const CZQUIBase& owner, const CZQPaperQualityControls& controls, CZQBitmapButton& constraint)
        : m_owner(owner), m_controls(controls), m_constraint(constraint) {}
    CZQPageExceptions(const CZQPageExceptions&) = delete;
    CZQPageExceptions& operator=(const CZQPageExceptions&) = delete;

    void VInitPageExceptionsList(PageContext* pContext);
    void VRefreshPageExceptionsList(PageContext* pContext);
    // The kind bit of a list item; 0 when there is none.
    DWORD DWPageExceptionKindFromItem(int iItem, PageContext* pContext);
    // The list item of a kind bit; -1 when none.
    int IPageExceptionItemFromKind(DWORD dwKind, PageContext* pContext);
    // The kind of the list's chosen item (the first without one), kept as the one handed to the
    // module.
    DWORD DWTakeChosenKind(PageContext* pContext);

    CZQIconListBox& List() { return m_list; }

private:
    const CZQUIBase& m_owner;
    const CZQPaperQualityControls& m_controls;
    CZQBitmapButton& m_constraint;
    CZQIconListBox m_list;
    DWORD m_dwKind = 0;  // the kind handed to the module last
};
