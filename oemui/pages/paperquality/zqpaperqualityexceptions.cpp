// The Paper/Quality page on printers whose driver offers page exceptions: the list of kinds in
// place of the page-kind list, which kinds the layout allows and which are in use, and the call of
// the maker's page-exceptions module that edits them.
#include "common/zqhandles.h"
#include "common/zqkeywords.h"
#include "common/zqmodule.h"
#include "common/zqstrings.h"
#include "pages/paperquality/zqpaperqualitypage.h"
#include "pages/zqpageitems.h"
#include "platform/zqcoremodapi.h"
#include "platform/zqpageexceptionsapi.h"
#include "res/zqpaperqualityids.h"
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

// A driver setting into a buffer of 260 characters; false when it is missing or empty.
bool ReadSetting(POEMCUIPPARAM pParam, PCWSTR pszSetting, PWSTR pszValue) {
    CZQLocalPtr<WCHAR> value;
    if (CZQCommon::DWGetFeatureOption(pParam, pszSetting, value.Put()) != ZQOPT_OK || !value || !value.Get()[0])
        return false;
    return ZQCopyText(pszValue, kZQPageExceptionsPathChars, value.Get()) == S_OK;
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


void CZQPaperQualityTab::VInitPageExceptionsList(PageContext* pContext) {
    if (!pContext || !pContext->pLogic || !m_controls.Page() || !pContext->pLogic->BHasPageExceptions()) return;
    ShowPageExceptionControls(m_controls, m_pageExceptionsList.HWnd(), m_constraintButton.HWnd());
    zqsettings::CZQStringList keywords, names;
    if (!ReadKinds(m_pCUIParam, keywords, names)) return;
    for (int i = 0; i < names.n; ++i) {
        const int item = m_pageExceptionsList.IAddString(names.p[i] ? names.p[i] : L"");
        if (item >= 0) m_pageExceptionsList.BSetItemEnabled(item, TRUE);
    }
}

void CZQPaperQualityTab::VRefreshPageExceptionsList(PageContext* pContext) {
    ZQUIDevmode* work = WorkOf(pContext);
    if (!work || !m_controls.Page() || !pContext->pLogic->BHasPageExceptions()) return;
    ShowPageExceptionControls(m_controls, m_pageExceptionsList.HWnd(), m_constraintButton.HWnd());
    const DWORD inUse = work->adwExtra[2];
    const bool several = work->dwPagesPerSheet >= 2 && work->dwPagesPerSheet <= 6;
    const bool booklet = work->dwBooklet != 0;
    const bool manual = work->dwManualDuplex != 0;
    zqsettings::CZQStringList keywords, names;
    if (!ReadKinds(m_pCUIParam, keywords, names)) return;

    m_pageExceptionsList.VResetContent();
    bool constrained = false;
    for (int i = 0; i < names.n; ++i) {
        const int item = m_pageExceptionsList.IAddString(names.p[i] ? names.p[i] : L"");
        const DWORD kind = i < keywords.n ? KindOf(keywords.p[i]) : 0;
        if (item < 0 || kind == 0) continue;
        bool enabled = true;
        // Insertions need whole sheets printed one by one; chapters start a new sheet, which a
        // booklet has of its own.
        if (kind == ZQPE_PRINTED_INSERTION || kind == ZQPE_BLANK_INSERTION) enabled = !several && !manual && !booklet;
        if (kind == ZQPE_CHAPTER_PAGES) enabled = !manual && (!several || booklet);
        constrained = constrained || !enabled;
        m_pageExceptionsList.BSetItemEnabled(item, enabled);
        m_pageExceptionsList.BSetItemMarked(item, (inUse & kind) != 0);
    }
    m_pageExceptionsList.ISetCurSel(IPageExceptionItemFromKind(m_state.dwPageExceptionKind, pContext));
    if (constrained)
        ShowEnabled(m_constraintButton.HWnd());
    else
        Hide(m_constraintButton.HWnd());
}

DWORD CZQPaperQualityTab::DWPageExceptionKindFromItem(int iItem, PageContext*) {
    const int count = m_pageExceptionsList.HWnd() ? m_pageExceptionsList.IGetCount() : 0;
    WCHAR text[kZQPageExceptionsPathChars];
    if (count <= 0 || iItem < 0 || iItem >= count ||
        m_pageExceptionsList.IGetText(iItem, text, kZQPageExceptionsPathChars) < 0)
        return 0;
    zqsettings::CZQStringList keywords, names;
    if (!ReadKinds(m_pCUIParam, keywords, names)) return 0;
    for (int i = 0; i < names.n && i < keywords.n; ++i)
        if (names.p[i] && lstrcmpW(names.p[i], text) == 0) return KindOf(keywords.p[i]);
    return 0;
}

int CZQPaperQualityTab::IPageExceptionItemFromKind(DWORD dwKind, PageContext*) {
    // No kind chosen is no item, not an option without a kind.
    zqsettings::CZQStringList keywords, names;
    if (dwKind == 0 || !m_pageExceptionsList.HWnd() || !ReadKinds(m_pCUIParam, keywords, names)) return -1;
    for (int i = 0; i < names.n && i < keywords.n; ++i)
        if (KindOf(keywords.p[i]) == dwKind && names.p[i]) return m_pageExceptionsList.IFindStringExact(names.p[i]);
    return -1;
}

// ---------------------------------------------------------------------------------------------
// The module
// ---------------------------------------------------------------------------------------------
void CZQPaperQualityTab::VEditPageExceptions(HWND hDlg, PageContext* pContext) {
    ZQUIDevmode* work = WorkOf(pContext);
    const POEMCUIPPARAM param = m_pCUIParam;
    if (!work || !param) return;
    CZQUILogic& logic = *pContext->pLogic;

    // The module is a file of the driver directory: a name that reaches elsewhere is not loaded.
    WCHAR file[kZQPageExceptionsPathChars], entry[kZQPageExceptionsPathChars];
    if (!ReadSetting(param, L"ZQPageExceptionsFile", file) || !ZQIsPlainFileName(file) ||
        ZQAppendText(file, kZQPageExceptionsPathChars, L".dll") != S_OK)
        return;
    CZQLocalPtr<WCHAR> path;
    if (!BGetDriverDirFile(param->hPrinter, path.Put(), file)) return;
    CZQModule module;
    {
        zqmodule::CZQActCtxScope scope;
        module.Reset(LoadLibraryW(path.Get()));
    }
    CZQLocalPtr<char> entryName;
    if (!module || !ReadSetting(param, L"ZQPageExceptionsInterface", entry) ||
        !BWideToMultiByte(entry, entryName.Put(), CP_ACP))
        return;
    const auto edit =
        reinterpret_cast<PFN_ZQPageExceptions>(reinterpret_cast<void*>(GetProcAddress(module.Get(), entryName.Get())));
    if (!edit) return;

    const int chosen = m_pageExceptionsList.HWnd() ? m_pageExceptionsList.IGetCurSel() : -1;
    m_state.dwPageExceptionKind = DWPageExceptionKindFromItem(chosen < 0 ? 0 : chosen, pContext);

    PageExceptionsParams block = {};
    block.pPageParam = param;
    block.pLogicParam = logic.Param();
    block.dwKind = m_state.dwPageExceptionKind;
    block.hPage = hDlg;
    block.dwMediaId = DWMediaTypeFromIndex(pContext, m_slots.aiMedia[kWorkingSlot]);
    block.dwSourceId = DWSourceFromPosition(pContext, m_slots.aiSource[kWorkingSlot]);
    block.dwDuplex = work->wDuplex == 1 ? 0 : 1;
    block.dwManualDuplex = work->dwManualDuplex ? 1 : 0;
    block.dwPagesPerSheet = work->dwPagesPerSheet >= 2 && work->dwPagesPerSheet <= 6 ? 1 : 0;
    block.dwBooklet = work->dwBooklet ? 1 : 0;
    if (const ZQUIDevmode* core = CoreOf(param))
        ZQCopyTextN(block.szHelpFile, kZQPageExceptionsPathChars, reinterpret_cast<PCWSTR>(core->szHelpFile),
                    ARRAYSIZE(core->szHelpFile));
    CZQLocalPtr<WCHAR> coreMod;
    if (BGetDriverDirFile(param->hPrinter, coreMod.Put(), kZQCoreModFile))
        ZQCopyTextN(block.szCoreModPath, kZQPageExceptionsPathChars, coreMod.Get(), kZQPageExceptionsPathChars - 1);
    else
        ZQCopyText(block.szCoreModPath, kZQPageExceptionsPathChars, kZQCoreModFile);
    if (pContext->pCaps)
        ZQCopyTextN(block.szPrinterName, kZQPageExceptionsPathChars, pContext->pCaps->szPrinterName,
                    ARRAYSIZE(pContext->pCaps->szPrinterName));
    block.pRecord = reinterpret_cast<ZQPageExceptionsRecord*>(work->szExtraText);
    block.dwVersion = 1;
    block.dwLowEnd = logic.BHasPageExceptionsLowEnd() ? 1 : 0;
    if (!edit(&block)) return;
    // The Finishing page tries two-sided printing against the media the exceptions were set up with.
    logic.m_dwPageExceptionMedia = block.dwMediaId;

    VRefreshPageExceptionsList(pContext);
    RedrawWindow(m_pageExceptionsList.HWnd(), nullptr, nullptr, RDW_INVALIDATE);
    m_state.bPageExceptionsChanged = TRUE;
    VFillPageList(&logic, TRUE);
    m_controls.VRepaint(hDlg, IDC_BTN_PREVIEW_PORT, IDC_BTN_PREVIEW_LAND, FALSE);
    VNotifyPageChanged(hDlg, pContext);
}
