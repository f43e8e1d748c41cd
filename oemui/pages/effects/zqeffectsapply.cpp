// The Effects page in its sheet: the controls set from the settings when the page starts and
// whenever it comes to the front, stored back when it is left, and on OK or Apply its result
// reported (the last page the user visited also synchronises the devmodes and exports them); the
// change check that tells the sheet whether the page differs from the settings it opened with, and
// the context-help table with the administrator's locks.
#include "common/zqkeywords.h"
#include "featurelogic/zqquicksets.h"
#include "formats/zquidevmode.h"
#include "pages/effects/zqeffectspage.h"
#include "pages/zqpageitems.h"
#include "res/zqeffectsids.h"

#include <commctrl.h>

#include <cwchar>
#include <utility>

using namespace zqpage;

namespace {

// The margin boxes and "Center On Page" with their features.
const std::pair<int, PCWSTR> kFeatureBoxes[] = {
    {IDC_CHECK_EMULATE_MARGINS, zqkw::kZQEmulatePexlonMargins},
    {IDC_CHECK_SYMMETRICAL_MARGINS, zqkw::kZQSymmetricMargins},
    {IDC_CHECK_MINIMIZE_MARGINS, zqkw::kZQMinimizeMargins},
    {IDC_CHECK_CENTER_ON_PAGE, zqkw::kZQCenterOnPage},
};

}  // namespace

LRESULT CZQEffectsTab::IOnNotify(HWND hDlg, const NMHDR* pHeader, PageContext* pContext) {
    switch (pHeader->code) {
        case PSN_SETACTIVE: VOnSetActive(hDlg, pContext); return 0;
        case PSN_KILLACTIVE: VOnKillActive(hDlg, pContext); return 0;
        case PSN_APPLY:
            VUpdateDiagonalAngle(pContext);
            return ApplyPage(pContext, kPageEffects);
        // The sheet undoes the changes; the page only stops counting as changed.
        case PSN_RESET:
            SendMessageW(GetParent(hDlg), PSM_UNCHANGED, reinterpret_cast<WPARAM>(hDlg), 0);
            VFreePaperSizeNames();
            return 0;
        default: return 0;
    }
}

// ---------------------------------------------------------------------------------------------
// Refresh
// ---------------------------------------------------------------------------------------------
void CZQEffectsTab::VSyncControls(HWND hDlg, PageContext* pContext, int iMode) {
    ZQUIDevmode* work = WorkOf(pContext);
    if (!work || !m_pCUIParam) {
        SetLastError(ERROR_INVALID_DATA);
        return;
    }
    if (iMode == 0) {
        VRefreshControls(pContext);
    } else if (iMode == 2) {
        const PrinterCaps* caps = ZQPrinterCapsLists(pContext->pCaps, kCapsPapers);
        VSaveSettings(hDlg, caps ? caps->pPaperIds : nullptr, pContext);
    }
}

// ---------------------------------------------------------------------------------------------
// The page comes to the front, and is left
// ---------------------------------------------------------------------------------------------
void CZQEffectsTab::VOnSetActive(HWND hDlg, PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;

    // A large-format printer that sends the job as a 24-bit picture prints it at its own size.
    WCHAR option[256];
    if (pContext->pCaps && (pContext->pCaps->dwFlags & 0x2) && logic.BIsLargeFormat() && work.dwPdl == kPdlZqgl2 &&
        ReadOption(param, zqkw::kZQSendJobAsBitmap, option)) {
        const bool picture = ZQEqualNoCase(option, zqkw::kSleekMode24bpp);
        if (picture) SendMessageW(m_controls.Item(IDC_RB_ACTUAL_SIZE), BM_CLICK, 0, 0);
        for (int id : {IDC_RB_PRINT_DOC_ON, IDC_RB_SCALING})
            EnableWindow(m_controls.Item(id), picture ? FALSE : TRUE);
        if (picture)
            for (int id : {IDC_CBO_DEST_PAPER_SIZE, IDC_CHK_FIT_TO_SCALE, IDC_TXT_NORMAL_SIZE, IDC_CTL_HSCROLL})
                EnableWindow(m_controls.Item(id), FALSE);
    }
    // Two-sided printing by hand, where the printer offers it beside its unit; a unit whose use the
    // settings hold stays in use.
    if (logic.BIsDuplexUnitInstalled(FALSE) && logic.BIsManualDuplexAvailable() && work.wDuplex != DMDUP_SIMPLEX &&
        work.dwManualDuplex != 1 && OptionIs(param, zqkw::kZQUseAutoDuplexUnit, L"TRUE") != 1) {
        CZQCommon::DWSelectPubOption(param, DMPUB_DUPLEX, 0, 0);
        logic.VSetManualTwoSided(TRUE);
    }
    VUpdateDiagonalAngle(pContext);
    VUpdateDiagonalWatermarks(pContext);
    VFillDestPaperCombo(pContext);
    VShowMarginControls(pContext);
    VApplyBorderlessPhoto(pContext);
    VSyncControls(hDlg, pContext, 0);
    VNoteShown(pContext, kPageEffects);
    VShowPaperText(pContext);
    VRepaintPreview(TRUE);
}

void CZQEffectsTab::VOnKillActive(HWND hDlg, PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    if (logic.BIsDuplexUnitInstalled(FALSE) && logic.BIsManualDuplexAvailable()) {
        logic.VUpdateDuplexState();
        logic.IApplyCustomDuplexRange();
    }
    // An empty scale box takes the stored scale back; a scale below the page's least is raised to it.
    if (HWND scale = m_controls.Item(IDC_TXT_NORMAL_SIZE)) {
        BOOL number = FALSE;
        const int value = static_cast<int>(GetDlgItemInt(hDlg, IDC_TXT_NORMAL_SIZE, &number, FALSE));
        if (GetWindowTextLengthW(scale) == 0)
            SetDlgItemInt(hDlg, IDC_TXT_NORMAL_SIZE, logic.WorkDM()->dwScalePercent, FALSE);
        else if (number && value < m_limits.iMinimum)
            SetDlgItemInt(hDlg, IDC_TXT_NORMAL_SIZE, static_cast<UINT>(m_limits.iMinimum), FALSE);
    }
    VSyncControls(hDlg, pContext, 2);
}

// ---------------------------------------------------------------------------------------------
// Change check and help
// ---------------------------------------------------------------------------------------------
void CZQEffectsTab::VUpdateChangedState(HWND hDlg, PageContext* pContext) {
    ZQUIDevmode* work = WorkOf(pContext);
    if (!work || !m_pCUIParam) {
        SetLastError(ERROR_INVALID_DATA);
        return;
    }
    CZQUILogic& logic = *pContext->pLogic;
    const ZQUIDevmode* saved = CoreOf(m_pCUIParam);
    bool changed = false;
    if (saved) {
        const ZQUIDevmode& w = *work;
        const ZQUIDevmode& s = *saved;
        // The scale counts while the user can type it.
        const bool scaleTyped = IsWindowEnabled(m_controls.Item(IDC_TXT_NORMAL_SIZE)) != FALSE;
        changed = w.dwPrintDocOn != s.dwPrintDocOn || w.dwPrintedOnPaper != s.dwPrintedOnPaper ||
                  w.dwScaleToFit != s.dwScaleToFit || (scaleTyped && w.dwScalePercent != s.dwScalePercent) ||
                  w.dwWmListIndex != s.dwWmListIndex || w.dwWmFirstPageOnly != s.dwWmFirstPageOnly ||
                  w.wOrientation != s.wOrientation;
    }
    // A box shown for its feature against the feature's selection when the sheet opened.
    for (const auto& [id, feature] : kFeatureBoxes) {
        const int before = logic.IGetSavedSelection(feature);
        HWND box = m_controls.Item(id);
        int differs = 0;
        if (before >= 0 && IsVisible(box))
            logic.IBindFeatureControl(0, feature, box, &differs, OEMCUIP_DOCPROP, CZQUILogic::kBindCompare, TRUE, before,
                                      nullptr);
        changed = changed || differs != 0;
    }
    // The Watermark Details dialog's result counts once.
    if (m_watermarks.BChanged()) {
        changed = true;
        m_watermarks.VClearChanged();
    }
    ReportPageChange(hDlg, pContext, CZQQuickSets::kCompareEffects, changed);
}

void CZQEffectsTab::VBuildHelpIdTable(DWORD* pdwTable, PageContext* pContext) {
    if (!pdwTable) {
        SetLastError(ERROR_INVALID_DATA);
        return;
    }
    CZQUILogic* logic = pContext ? pContext->pLogic : nullptr;
    const ZQUIDevmode* work = logic ? logic->WorkDM() : nullptr;
    const POEMCUIPPARAM param = m_pCUIParam;
    const HelpRow rows[kHelpPairs] = {
        {IDC_GB_PRINT_DOC, nullptr, 0, nullptr, -1},
        {IDC_RB_PRINT_DOC_ON, L"FitToOtherSizeChoice", 0, nullptr, 14063},
        {IDC_CBO_DEST_PAPER_SIZE, nullptr, 0, nullptr, 14080},
        {IDC_CHK_FIT_TO_SCALE, L"ScalePageChoice", 0, nullptr, 15144},
        {IDC_TXT_NORMAL_SIZE, nullptr, 0, nullptr, 14053},
        {IDC_RB_SCALING, nullptr, 0, nullptr, 15052},
        {IDC_CTL_HSCROLL, nullptr, 0, nullptr, 15053},
        {IDC_GB_WATER_MARK, nullptr, 0, nullptr, -1},
        {IDC_CBO_WATERMARKS, zqkw::kWatermarks, 0, nullptr, 14089},
        {IDC_CHK_FIRST_PAGE_WM, L"WMFirstPageOnly", 0, nullptr, 14024},
        {IDC_BTN_EDIT_WM, nullptr, 0, nullptr, 14091},
        {work ? ShownPreviewId(*work) : IDC_BTN_PREVIEW_PORT, nullptr, 0, nullptr, 14060},
        {IDC_BTN_HELP, nullptr, 0, nullptr, 15054},
        {IDC_CBO_PRESET, nullptr, 0, nullptr, 15208},
        {IDC_BTN_SAVE_PRESET, nullptr, 0, nullptr, 15209},
        {IDC_BTN_DELETE_PRESET, nullptr, 0, nullptr, 15210},
        {IDC_GB_PRE_SETS, nullptr, 0, nullptr, -1},
        {IDC_GB_PRE_SETS, nullptr, 0, nullptr, -1},
        {IDC_RB_ACTUAL_SIZE, nullptr, 0, nullptr, 15282},
        {IDC_CHECK_EMULATE_MARGINS, nullptr, 0, zqkw::kZQEmulatePexlonMargins, -1},
        {IDC_CHECK_SYMMETRICAL_MARGINS, nullptr, 0, zqkw::kZQSymmetricMargins, -1},
        {IDC_CHECK_MINIMIZE_MARGINS, nullptr, 0, zqkw::kZQMinimizeMargins, 15318},
        {IDC_GB_MARGIN, nullptr, 0, nullptr, -1},
        {IDC_CHECK_CENTER_ON_PAGE, nullptr, 0, zqkw::kZQCenterOnPage, 15475},
        {IDC_ZQLOGO_HOLDER, nullptr, 0, nullptr, -1},
        {IDC_PREVIEW_DIMENSIONS, nullptr, 0, nullptr, -1},
    };
    FillHelpTable(pdwTable, rows, kHelpPairs, param ? param->hPrinter : nullptr, logic);
}
