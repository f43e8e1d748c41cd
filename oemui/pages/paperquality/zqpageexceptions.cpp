// The Paper/Quality page's page exceptions: the list of kinds, which the layout allows and which are
// in use.
#include "common/zqkeywords.h"
#include "common/zqstrings.h"
#include "pages/paperquality/zqpageexceptions.h"
#include "pages/zqpageitems.h"
#include "platform/zqpageexceptionsapi.h"
#include "settings/zqoptionlists.h"

using namespace zqpage;

namespace {

const PCWSTR kExceptions = zqkw::kZQPageExceptions;

// An option's kind by its keyword; any other keyword is listed but has no kind.
DWORD KindOf(PCWSTR pszKeyword) {
    static const struct {
        PCWSTR keyword;
        DWORD bit;
    } kKinds[] = {{L"CoverInsertion", ZQPE_COVER_INSERTION},
                  {L"PrintedInsertion", ZQPE_PRINTED_INSERTION},
                  {L"BlankInsertion", ZQPE_BLANK_INSERTION},
                  {L"ChapterPages", ZQPE_CHAPTER_PAGES}};
    for (const auto& kind : kKinds)
        if (pszKeyword && ZQEqualNoCase(pszKeyword, kind.keyword)) return kind.bit;
    return 0;
}

// The keywords and display names of the exceptions' options; false unless both are read.
bool ReadKinds(POEMCUIPPARAM pParam, zqsettings::CZQStringList& keywords, zqsettings::CZQStringList& names) {
    return CZQCommon::DWGetOptionKeywords(pParam, kExceptions, &keywords.p, &keywords.n, OEMCUIP_DOCPROP) ==
               ZQOPT_OK &&
           CZQCommon::DWGetOptionNames(pParam, kExceptions, &names.p, &names.n) == ZQOPT_OK;
}

// The page-exceptions list, its label and button in place of the page kinds; the constraint mark
// shows only when a kind is not available.
void ShowPageExceptionControls(const CZQPaperQualityControls& controls, HWND hList, HWND hConstraint) {
    for (ZQPqControl c : {kCtlPageKinds, kCtlDifferentPaper, kCtlBackCover}) Hide(controls.H(c));
    ShowEnabled(controls.H(kCtlPageExceptionsLabel));
    ShowEnabled(hList);
    ShowEnabled(controls.H(kCtlPageExceptionsSettings));
    Hide(hConstraint);
}

}  // namespace


void CZQPageExceptions::VInitPageExceptionsList(PageContext* pContext) {
    if (!pContext || !pContext->pLogic || !m_controls.Page() || !pContext->pLogic->BHasPageExceptions()) return;
    ShowPageExceptionControls(m_controls, m_list.HWnd(), m_constraint.HWnd());
    zqsettings::CZQStringList keywords, names;
    if (!ReadKinds(m_owner.CUIParam(), keywords, names)) return;
    for (int i = 0; i < names.n; ++i) {
        const int item = m_list.IAddString(names.p[i] ? names.p[i] : L"");
        if (item >= 0) m_list.BSetItemEnabled(item, TRUE);
    }
}

void CZQPageExceptions::VRefreshPageExceptionsList(PageContext* pContext) {
    ZQUIDevmode* work = WorkOf(pContext);
    if (!work || !m_controls.Page() || !pContext->pLogic->BHasPageExceptions()) return;
    ShowPageExceptionControls(m_controls, m_list.HWnd(), m_constraint.HWnd());
    const DWORD inUse = work->adwExtra[2];
    const bool several = work->dwPagesPerSheet >= 2 && work->dwPagesPerSheet <= 6;
    const bool booklet = work->dwBooklet != 0;
    const bool manual = work->dwManualDuplex != 0;
    zqsettings::CZQStringList keywords, names;
    if (!ReadKinds(m_owner.CUIParam(), keywords, names)) return;

    m_list.VResetContent();
    bool constrained = false;
    for (int i = 0; i < names.n; ++i) {
        const int item = m_list.IAddString(names.p[i] ? names.p[i] : L"");
        const DWORD kind = i < keywords.n ? KindOf(keywords.p[i]) : 0;
        if (item < 0 || kind == 0) continue;
        bool enabled = true;
        // Insertions need whole sheets printed one by one; chapters start a new sheet, which a
        // booklet has of its own.
        if (kind == ZQPE_PRINTED_INSERTION || kind == ZQPE_BLANK_INSERTION) enabled = !several && !manual && !booklet;
        if (kind == ZQPE_CHAPTER_PAGES) enabled = !manual && (!several || booklet);
        constrained = constrained || !enabled;
        m_list.BSetItemEnabled(item, enabled);
        m_list.BSetItemMarked(item, (inUse & kind) != 0);
    }
    m_list.ISetCurSel(IPageExceptionItemFromKind(m_dwKind, pContext));
    if (constrained)
        ShowEnabled(m_constraint.HWnd());
    else
        Hide(m_constraint.HWnd());
}

DWORD CZQPageExceptions::DWPageExceptionKindFromItem(int iItem, PageContext*) {
    const int count = m_list.HWnd() ? m_list.IGetCount() : 0;
    WCHAR text[kZQPageExceptionsPathChars];
    if (count <= 0 || iItem < 0 || iItem >= count ||
        m_list.IGetText(iItem, text, kZQPageExceptionsPathChars) < 0)
        return 0;
    zqsettings::CZQStringList keywords, names;
    if (!ReadKinds(m_owner.CUIParam(), keywords, names)) return 0;
    for (int i = 0; i < names.n && i < keywords.n; ++i)
        if (names.p[i] && lstrcmpW(names.p[i], text) == 0) return KindOf(keywords.p[i]);
    return 0;
}

int CZQPageExceptions::IPageExceptionItemFromKind(DWORD dwKind, PageContext*) {
    // No kind chosen is no item, not an option without a kind.
    zqsettings::CZQStringList keywords, names;
    if (dwKind == 0 || !m_list.HWnd() || !ReadKinds(m_owner.CUIParam(), keywords, names)) return -1;
    for (int i = 0; i < names.n && i < keywords.n; ++i)
        if (KindOf(keywords.p[i]) == dwKind && names.p[i]) return m_list.IFindStringExact(names.p[i]);
    return -1;
}

DWORD CZQPageExceptions::DWTakeChosenKind(PageContext* pContext) {
    const int chosen = m_list.HWnd() ? m_list.IGetCurSel() : -1;
    m_dwKind = DWPageExceptionKindFromItem(chosen < 0 ? 0 : chosen, pContext);
    return m_dwKind;
}
