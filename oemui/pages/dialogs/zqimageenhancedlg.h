// CZQImageEnhanceDlg: the image-enhancement dialog of the photo enhancements. The Paper/Quality
// page holds one for its whole life, hands it the page's OEMCUIPPARAM when its window starts and
// opens it modally with the page's PageContext; the dialog answers IDOK (1) when the user
// confirmed a change and IDCANCEL (2) otherwise.
#pragma once

#include "common/zquibase.h"

struct PageContext;

class CZQImageEnhanceDlg : public CZQUIBase {
public:
    // The OEMCUIPPARAM of the page that owns the dialog.
    void VSetParam(POEMCUIPPARAM pParam) { m_pCUIParam = pParam; }
    // Set when the user confirmed a change; only the opener clears it (on apply), so every change
    // notice until then counts it.
    BOOL BChanged() const { return m_bChanged; }
    void VSetChanged() { m_bChanged = TRUE; }
    void VClearChanged() { m_bChanged = FALSE; }

    // The dialog (right-to-left template when asked) from the module of the page's OEMCUIPPARAM,
    // owned by hOwner; the dialog's result, or -1 when it could not be shown.
    INT_PTR IDoModal(HWND hOwner, PageContext* pContext, BOOL bRightToLeft);
    static INT_PTR CALLBACK DlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);

private:
    BOOL BInitDialog(HWND hDlg, PageContext* pContext);

    BOOL m_bChanged = FALSE;
};
