// The Effects page: its object, its messages, the start of its window, painting, help, the
// page's texts and its watermark manager's work for the sheet.
#include "pages/effects/zqeffectspage.h"

#include "common/zqstrings.h"
#include "featurelogic/zqpagegates.h"
#include "featurelogic/zquilogic.h"
#include "pages/dialogs/zqmodaldlg.h"
#include "pages/zqpageitems.h"
#include "preview/zqpreview.h"
#include "res/zqeffectsids.h"

using namespace zqpage;

namespace {

const CZQPageControls::TextRow kTexts[] = {
    {0, 812, L"Effects"},
    {IDC_GB_PRINT_DOC, 3038, L"Resizing Options"},
    {IDC_CHK_FIT_TO_SCALE, 807, L"&Scale to Fit"},
    {IDC_GB_WATER_MARK, 809, L"Watermarks"},
    {IDC_CHK_FIRST_PAGE_WM, 810, L"&First Page Only"},
    {IDC_BTN_EDIT_WM, 811, L"&Edit..."},
    {IDC_BTN_HELP, 797, L"&Help"},
    {IDC_RB_ACTUAL_SIZE, 3321, L"Act&ual Size"},
    {IDC_RB_PRINT_DOC_ON, 806, L"P&rint Document On"},
    {IDC_RB_SCALING, 808, L"% of &Normal Size"},
    {IDC_BTN_PREVIEW_PORT, 3072, L"Portrait"},
    {IDC_BTN_PREVIEW_LAND, 3073, L"Landscape"},
    {IDC_CHECK_EMULATE_MARGINS, 896, L"Emulate Pexlon Margins"},
    {IDC_CHECK_SYMMETRICAL_MARGINS, 897, L"Symmetrical Margins"},
    {IDC_CHECK_MINIMIZE_MARGINS, 4038, L"Minimize Margin"},
    {IDC_GB_MARGIN, 4717, L"Margins"},
    {IDC_CHECK_CENTER_ON_PAGE, 4747, L"Center On Page"},
};

// The large-format printer's scale box takes a fourth digit and grows by this many pixels for it.
constexpr int kWideScaleBoxPixels = 5;

}  // namespace

// ---------------------------------------------------------------------------------------------
// The page object
// ---------------------------------------------------------------------------------------------
CZQEffectsTab::CZQEffectsTab()
    : m_controls(nullptr, 0), m_watermarkDlg(m_watermarks, [this](PageContext* pContext) {
          VFillPreviewSettings(pContext);
          return &m_preview;
      }) {}

// The alert strip goes first, then the controls' table and the watermark manager, then the base.
CZQEffectsTab::~CZQEffectsTab() = default;

void CZQEffectsTab::VInitLists(PageContext* pContext) {
    VFillDestPaperCombo(pContext);
    m_watermarks.VBind(m_pSheetParam, m_pCUIParam, HResModule());
    VFillWatermarkCombo();
}

void CZQEffectsTab::VRefreshDeviceStatus(IZQAlertGate* pAlerts) const {
    if (pAlerts) pAlerts->BRefreshDeviceStatus(FALSE);
}

// ---------------------------------------------------------------------------------------------
// Its own messages
// ---------------------------------------------------------------------------------------------
INT_PTR CZQEffectsTab::IOnMessage(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam, PageContext* pContext) {
    switch (uMsg) {
        case WM_PAINT: VOnPaint(hDlg, pContext); return FALSE;
        case WM_DRAWITEM:
            m_controls.VRepaint(IDC_BTN_PREVIEW_PORT, IDC_BTN_PREVIEW_LAND, TRUE);
            m_controls.VRepaint(IDC_PREVIEW_DIMENSIONS, IDC_PREVIEW_DIMENSIONS, FALSE);
            return FALSE;
        case WM_HSCROLL:
            if (reinterpret_cast<HWND>(lParam) == m_controls.Item(IDC_CTL_HSCROLL)) VOnScroll(hDlg, LOWORD(wParam), pContext);
            return FALSE;
        default: return FALSE;
    }
}

// ---------------------------------------------------------------------------------------------
// The start of the page's window
// ---------------------------------------------------------------------------------------------
BOOL CZQEffectsTab::BInitDialog(HWND hDlg, PageContext* pContext) {
    const POEMCUIPPARAM param = m_pCUIParam;
    CZQUILogic* logic = pContext->pLogic;
    if (!param || !logic) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    if (!BAllocPageBlock()) return FALSE;
    VBindControls(hDlg);
    VSetControlTexts();
    if (!param->pOEMDM || !WorkOf(pContext)) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    // The port the device-capabilities calls name, and the document's devmode.
    if (pContext->pCaps) ZQCopyText(m_szText, kResStringChars, pContext->pCaps->szPortName);
    m_pPublicDM = param->pPublicDM;
    ZQSheetState& sheet = *logic->SheetState();
    if (!sheet.bTitleDone && logic->BAppendVersionToTitle(hDlg)) sheet.bTitleDone = TRUE;
    if (logic->BIsLargeFormat()) m_limits = {25, 1000, 4, FALSE};
    BGetPaperSizeNames(pContext);

    VUpdateDiagonalAngle(pContext);
    VInitLists(pContext);
    m_watermarks.VInitUntitledNames();
    VShowMarginControls(pContext);
    VSyncControls(hDlg, pContext, 0);

    HWND scale = m_controls.Item(IDC_TXT_NORMAL_SIZE);
    SendMessageW(scale, EM_LIMITTEXT, static_cast<WPARAM>(m_limits.iDigits), 0);
    VSubclassPreviewDimensions(param, hDlg, param->hPrinter);
    if (scale && m_limits.iDigits == 4) {
        RECT rc = {};
        GetWindowRect(scale, &rc);
        SetWindowPos(scale, nullptr, 0, 0, rc.right - rc.left + kWideScaleBoxPixels, rc.bottom - rc.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    logic->VUpdateRollPreview(pContext->pPreview, pContext->pRules);
    SetWindowLongPtrW(hDlg, DWLP_USER, reinterpret_cast<LONG_PTR>(pContext));
    VCreateAlertWindow(hDlg, pContext);
    return TRUE;
}

void CZQEffectsTab::VCreateAlertWindow(HWND hDlg, PageContext* pContext) {
    m_alerts.VInit(hDlg, pContext->pAlerts, pContext->pConstraints);
}

void CZQEffectsTab::VBindControls(HWND hDlg) {
    VAttachControls(m_controls, hDlg);
}

void CZQEffectsTab::VSetControlTexts() {
    m_controls.VSetTexts(*this, kTexts, static_cast<int>(sizeof kTexts / sizeof kTexts[0]));
}

// ---------------------------------------------------------------------------------------------
// Painting, help, the end of the window
// ---------------------------------------------------------------------------------------------
void CZQEffectsTab::VOnPaint(HWND hDlg, PageContext* pContext) {
    VPaintLogo(hDlg, IDB_ZQLOGO, IDB_ZQLOGO_MASK, IDC_ZQLOGO_HOLDER);
    if (!pContext->pPreview) return;
    VFillPreviewSettings(pContext);
    pContext->pPreview->VSetSettings(&m_preview);
    pContext->pPreview->VPaint();
    m_state.bWatermarkReload = FALSE;
}

void CZQEffectsTab::VOnHelp(HWND hWnd, UINT uCommand, PageContext* pContext) {
    DWORD table[2 * (kHelpPairs + 1)] = {};
    VBuildHelpIdTable(table, pContext);
    ZQShowDialogHelp(hWnd, uCommand, m_pCUIParam, table);
}

void CZQEffectsTab::VOnDestroy() {
    // The alert window leaves the plug-in's list before it goes.
    m_alerts.VDetach();
    // The page object outlives its window: other pages may still call it.
    m_controls.VForget();
    m_hHelpButton = m_hPortraitPreview = m_hLandscapePreview = nullptr;
}
