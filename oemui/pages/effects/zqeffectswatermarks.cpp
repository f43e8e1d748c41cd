// The Effects page's watermarks: the sheet's pool in the page's manager, the list the user picks
// from (with "First Page Only" and "Edit..."), the chosen watermark copied into the working
// settings, and the diagonal that diagonal watermarks follow on the paper printed on.
#include <cmath>
#include <cwchar>

#include "common/zqkeywords.h"
#include "common/zqstrings.h"
#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"
#include "pages/effects/zqeffectspage.h"
#include "pages/parts/zqstoremessage.h"
#include "pages/zqpageasks.h"
#include "pages/zqpageitems.h"
#include "res/zqeffectsids.h"

using namespace zqpage;

namespace {

constexpr int kDefaultDiagonal = 52;
constexpr int kWatermarksCaptionId = 809;
constexpr DWORD kDefaultWatermarkSize = 80;

// The shell's own process may edit the watermarks of a printer on another computer.
bool InShellProcess() {
    WCHAR path[MAX_PATH] = {};
    if (!GetModuleFileNameW(nullptr, path, MAX_PATH)) return false;
    PCWSTR name = path;
    for (PCWSTR p = path; *p; ++p)
        if (*p == L'\\' || *p == L',') name = p + 1;
    return ZQEqualNoCase(name, L"Explorer.exe");
}

void CopyEntryToDevmode(const WatermarkEntry& entry, ZQUIDevmode& work) {
    ZQCopyTextN(work.szWmName, 256, entry.szName, 255);
    ZQCopyTextN(work.szWmText, 256, entry.szText, 255);
    ZQCopyTextN(work.szWmFont, 256, entry.szFont, 255);
    work.dwWmShade = entry.dwShade;
    work.dwWmStyle = entry.dwStyle;
    work.dwWmColorIndex = entry.dwColor;
    work.dwWmAngle = entry.dwAngle;
    work.dwWmSize = entry.dwSize;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The pool of the sheet
// ---------------------------------------------------------------------------------------------
void CZQEffectsTab::VLoadWatermarks(ZQUIDevmode* pPrivateDM, POEMCUIPPARAM pParam, BOOL bRestricted) {
    m_watermarks.VSetResourceModule(HResModule());
    if (!pParam) return;
    m_watermarks.VBind(m_pSheetParam, pParam, HResModule());
    m_watermarks.VLoadNoneName();
    // The opening's own saves say nothing: the sheet's OK saves again what they could not store.
    if (!m_watermarks.BReadPool(pParam, bRestricted)) {
        if (m_watermarks.BResetDefaultEntries()) m_watermarks.BSavePool(pParam);
        return;
    }
    if (m_watermarks.BRefreshNoneEntry(pParam->hPrinter, pParam->pPrinterName, pPrivateDM, pParam->pPublicDM))
        m_watermarks.BSavePool(pParam);
}

void CZQEffectsTab::VInitWatermarkSettings(PageContext* pContext) {
    ZQUIDevmode* work = WorkOf(pContext);
    if (!work) {
        SetLastError(ERROR_INVALID_DATA);
        return;
    }
    WCHAR name[256];
    ZQCopyTextN(name, 256, work->szWmName, 255);
    if (m_watermarks.BHasEntry(name)) return;
    WCHAR none[kResStringChars];
    if (!BLoadResString(874, none)) ZQCopyText(none, kResStringChars, L" [none]");
    ZQCopyText(work->szWmName, 256, none);
    ZQCopyText(work->szWmText, 256, none);
    WCHAR face[256] = {};
    BGetLanguageFontName(face);
    ZQCopyText(work->szWmFont, 256, face);
    work->dwWmAngle = static_cast<uint32_t>(IGetDiagonalAngle(pContext->pCaps, work));
    work->dwWmSize = kDefaultWatermarkSize;
    work->dwWmAngleMode = 0;
    work->dwWmShade = 1;
    work->dwWmStyle = 0;
    work->dwWmColorIndex = 0;
    work->dwWmOn = 0;
    work->dwWmFirstPageOnly = 0;
}

void CZQEffectsTab::VFreeWatermarkLists() { m_watermarks.VFreeLists(); }

BOOL CZQEffectsTab::BSaveWatermarks() {
    ZQStoreReport report = {ZQStoreKind::kWatermarks, false, ZQStoreOutcome::kStored, {}};
    m_watermarks.BSavePool(m_pCUIParam, &report.names);
    report.outcome = m_watermarks.ELastOutcome();
    // A pool only brought into its own form, where that could not be done, lost nothing of the user's.
    if (report.outcome != ZQStoreOutcome::kStored && report.names.empty()) return TRUE;
    WCHAR caption[kResStringChars];
    if (!BLoadResString(kWatermarksCaptionId, caption)) ZQCopyText(caption, kResStringChars, L"Watermarks");
    // A watermark whose removal the printer refused is listed again.
    if (BSayStoreOutcome(m_controls.Page(), caption, report) && report.outcome == ZQStoreOutcome::kStored &&
        m_controls.Page())
        VRefillWatermarkCombo();
    return report.outcome == ZQStoreOutcome::kStored;
}

// ---------------------------------------------------------------------------------------------
// The list
// ---------------------------------------------------------------------------------------------
void CZQEffectsTab::VFillWatermarkCombo() {
    HWND combo = m_controls.Item(IDC_CBO_WATERMARKS);
    m_watermarks.VEnsureNoneEntry();
    if (!combo) return;
    const int count = m_watermarks.ICountEntries();
    int position = 0;
    for (const WatermarkEntry* e = m_watermarks.MainList().pHead; e && position < count; e = e->pNext, ++position) {
        if (!e->szName[0] || (e->dwFlags & kWatermarkHidden)) continue;
        // A name shown already by an earlier entry is shown once.
        bool shown = false;
        WCHAR text[256];
        for (int i = 0; i < position && !shown; ++i) shown = EntryText(combo, i, text) && wcscmp(text, e->szName) == 0;
        if (!shown) SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(e->szName));
    }
}

// The list selects the name, else " [none]", else its first entry.
static void SelectWatermarkName(HWND hCombo, int iIndex, int iNone) {
    SendMessageW(hCombo, CB_SETCURSEL, static_cast<WPARAM>(iIndex >= 0 ? iIndex : iNone >= 0 ? iNone : 0), 0);
}

void CZQEffectsTab::VRefillWatermarkCombo() {
    HWND combo = m_controls.Item(IDC_CBO_WATERMARKS);
    WCHAR kept[256] = {};
    SelectedText(combo, kept);
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    VFillWatermarkCombo();
    SelectWatermarkName(combo, IFindWatermarkIndex(kept), IFindWatermarkIndex(m_watermarks.NoneName()));
}

int CZQEffectsTab::IFindWatermarkIndex(PCWSTR pszName) const {
    HWND combo = m_controls.Item(IDC_CBO_WATERMARKS);
    if (!combo || !pszName) return -1;
    const int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    WCHAR text[256];
    for (int i = 0; i < count; ++i)
        if (EntryText(combo, i, text) && wcscmp(text, pszName) == 0) return i;
    return -1;
}

void CZQEffectsTab::VApplySelectedWatermark(HWND hCombo, PageContext* pContext) {
    ZQUIDevmode* work = WorkOf(pContext);
    WCHAR name[256];
    if (!work || !SelectedText(hCombo, name)) return;
    for (WatermarkEntry* e = m_watermarks.MainList().pHead; e; e = e->pNext) {
        if (wcscmp(e->szName, name) != 0 || (e->dwFlags & kWatermarkHidden)) continue;
        if (e->dwAngleMode == 0) e->dwAngle = static_cast<DWORD>(m_watermarks.IDiagonalAngle());
        CopyEntryToDevmode(*e, *work);
        work->dwWmAngleMode = e->dwAngleMode;
    }
}

// ---------------------------------------------------------------------------------------------
// The diagonal of the paper printed on
// ---------------------------------------------------------------------------------------------
void CZQEffectsTab::VUpdateDiagonalAngle(PageContext* pContext) {
    const ZQUIDevmode* work = WorkOf(pContext);
    const PrinterCaps* caps = pContext ? ZQPrinterCapsLists(pContext->pCaps, kCapsPapers) : nullptr;
    if (!work || !caps) return;
    int paper = DocumentPaper();
    if (m_state.dwResizeMode == 1)
        paper = IPaperIdFromComboIndex(caps->dwPaperCount, m_controls.ISelection(IDC_CBO_DEST_PAPER_SIZE),
                                       caps->pPaperIds, pContext);
    LONG w = 0, l = 0;
    int angle = kDefaultDiagonal;
    if (BGetPaperDimensions(static_cast<WORD>(paper), &w, &l, caps)) {
        const double rise = work->wOrientation == DMORIENT_LANDSCAPE ? w : l;
        const double run = work->wOrientation == DMORIENT_LANDSCAPE ? l : w;
        angle = static_cast<int>(std::atan2(rise, run) * 180.0 / 3.141592653589793);
    }
    m_watermarks.VSetDiagonalAngle(angle);
}

void CZQEffectsTab::VUpdateDiagonalWatermarks(PageContext* pContext) {
    const int angle = IGetDiagonalAngle(pContext ? pContext->pCaps : nullptr, WorkOf(pContext));
    for (WatermarkEntry* e = m_watermarks.MainList().pHead; e; e = e->pNext)
        if (e->dwAngleMode == 0) e->dwAngle = static_cast<DWORD>(angle);
}

// ---------------------------------------------------------------------------------------------
// The group on the page
// ---------------------------------------------------------------------------------------------
void CZQEffectsTab::VShowWatermarkGroup(PageContext* pContext) {
    const ZQUIDevmode& work = *WorkOf(pContext);
    m_controls.VSetCheck(IDC_CHK_FIRST_PAGE_WM, work.dwWmFirstPageOnly == 1);
    WCHAR name[256];
    ZQCopyTextN(name, 256, work.szWmName, 255);
    SelectWatermarkName(m_controls.Item(IDC_CBO_WATERMARKS), IFindWatermarkIndex(name),
                        IFindWatermarkIndex(m_watermarks.NoneName()));
    EnableWindow(m_controls.Item(IDC_CHK_FIRST_PAGE_WM), work.dwWmOn ? TRUE : FALSE);
}

void CZQEffectsTab::VShowWatermarkVisibility(PageContext* pContext) {
    if (!pContext->pLogic->BWatermarksAllowed()) {
        for (int id : {IDC_CBO_WATERMARKS, IDC_GB_WATER_MARK, IDC_BTN_EDIT_WM, IDC_CHK_FIRST_PAGE_WM})
            m_controls.VShow(id, FALSE);
        m_state.bEditAllowed = FALSE;
        return;
    }
    for (int id : {IDC_CBO_WATERMARKS, IDC_GB_WATER_MARK}) m_controls.VShow(id, TRUE, TRUE);
    Show(m_controls.Item(IDC_CHK_FIRST_PAGE_WM));
    // Another computer's printer keeps its watermarks there: only the shell edits them from here.
    m_state.bEditAllowed = CZQCommon::BIsLocalPrinter(HPrinter()) || InShellProcess();
    m_controls.VShow(IDC_BTN_EDIT_WM, m_state.bEditAllowed, TRUE);
}

void CZQEffectsTab::VEndPostersForWatermark(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    if (OptionIs(m_pCUIParam, zqkw::kZQPosterPrinting, L"TRUE") == 1 && logic.WorkDM()->dwLayoutMode == 3) {
        logic.VSetPosterState(FALSE, m_watermarks.NoneName());
        logic.VClearPosterFlag();
    }
    CZQCommon::DWSelectOptionByIndex(m_pCUIParam, zqkw::kZQCenterOnPage, 0, OEMCUIP_DOCPROP);
    m_controls.VSetCheck(IDC_CHECK_CENTER_ON_PAGE, FALSE);
}

// " [none]" chosen: "First Page Only" cleared and greyed, the focus kept on the page's list.
static void EndWatermark(CZQPageControls& controls, ZQUIDevmode& work) {
    controls.VSetCheck(IDC_CHK_FIRST_PAGE_WM, FALSE);
    EnableWindow(controls.Item(IDC_CHK_FIRST_PAGE_WM), FALSE);
    if (!GetFocus()) SetFocus(controls.Item(IDC_CBO_WATERMARKS));
    work.dwWmOn = 0;
}

void CZQEffectsTab::VOnEditWatermarks(HWND hDlg, PageContext* pContext) {
    ZQUIDevmode& work = *WorkOf(pContext);
    const INITCOMMONCONTROLSEX classes = {sizeof(INITCOMMONCONTROLSEX), ICC_USEREX_CLASSES};
    InitCommonControlsEx(&classes);
    // The dialog names new watermarks: by every name stored now, also those stored since the sheet opened.
    m_watermarks.VTakeNewlyStored(m_pCUIParam);
    VUpdateDiagonalAngle(pContext);
    const BOOL rtl = pContext->pLogic->SheetState()->bRtl;
    HWND combo = m_controls.Item(IDC_CBO_WATERMARKS);
    if (m_watermarkDlg.IDoModal(hDlg, pContext, rtl) != IDOK) {
        VRefillWatermarkCombo();
        m_state.bWatermarkReload = TRUE;
        if (m_watermarkDlg.BCancelResult()) EndWatermark(m_controls, work);
        VRepaintPreview(TRUE);
        return;
    }
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    VFillWatermarkCombo();
    VUpdateDiagonalWatermarks(pContext);
    WCHAR name[256];
    ZQCopyTextN(name, 256, work.szWmName, 255);
    SelectWatermarkName(combo, IFindWatermarkIndex(name), IFindWatermarkIndex(m_watermarks.NoneName()));
    if (wcscmp(name, m_watermarks.NoneName()) == 0) {
        EndWatermark(m_controls, work);
    } else {
        EnableWindow(m_controls.Item(IDC_CHK_FIRST_PAGE_WM), TRUE);
        work.dwWmOn = 1;
        VEndPostersForWatermark(pContext);
    }
    work.dwWmListIndex = static_cast<uint32_t>(m_controls.ISelection(IDC_CBO_WATERMARKS));
    VUpdateChangedState(hDlg, pContext);
    VRepaintPreview(TRUE);
}

void CZQEffectsTab::VOnWatermarkChange(HWND hDlg, PageContext* pContext) {
    ZQUIDevmode& work = *WorkOf(pContext);
    HWND combo = m_controls.Item(IDC_CBO_WATERMARKS);
    VApplySelectedWatermark(combo, pContext);
    work.dwWmListIndex = static_cast<uint32_t>(m_controls.ISelection(IDC_CBO_WATERMARKS));
    WCHAR name[256] = {};
    SelectedText(combo, name);
    if (wcscmp(name, m_watermarks.NoneName()) == 0) {
        m_controls.VSetCheck(IDC_CHK_FIRST_PAGE_WM, FALSE);
        EnableWindow(m_controls.Item(IDC_CHK_FIRST_PAGE_WM), FALSE);
        work.dwWmFirstPageOnly = 0;
        work.dwWmOn = 0;
    } else {
        EnableWindow(m_controls.Item(IDC_CHK_FIRST_PAGE_WM), TRUE);
        work.dwWmOn = 1;
        VEndPostersForWatermark(pContext);
    }
    VUpdateDiagonalAngle(pContext);
    VUpdateChangedState(hDlg, pContext);
    VRepaintPreview(TRUE);
}

// After a cancelled Watermark Details dialog the listed watermark is the one the settings take again.
void CZQEffectsTab::VReloadListedWatermark(PageContext* pContext) {
    ZQUIDevmode* work = WorkOf(pContext);
    HWND combo = m_controls.Item(IDC_CBO_WATERMARKS);
    if (!work || !combo) return;
    WCHAR name[256] = {};
    SelectedText(combo, name);
    const WatermarkEntry* entry = m_watermarks.PFindByName(name);
    if (!entry) entry = m_watermarks.PFindByName(m_watermarks.NoneName());
    if (!entry) return;
    CopyEntryToDevmode(*entry, *work);
    SelectWatermarkName(combo, IFindWatermarkIndex(entry->szName), IFindWatermarkIndex(m_watermarks.NoneName()));
}
