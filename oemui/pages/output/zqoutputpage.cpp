// The Output page: its object, its messages, the start of its window, painting, help and
// the page's texts.
#include "pages/output/zqoutputpage.h"

#include "featurelogic/zquilogic.h"
#include "pages/dialogs/zqmodaldlg.h"
#include "pages/zqpageitems.h"
#include "preview/zqpreview.h"
#include "res/zqoutputids.h"

using namespace zqpage;

namespace {

// The controls whose places the finishing group's layout reads, as the template gives them: the
// bin's, then the finishing rows', then the group's frame, then the delivery radios that follow the bin.
const int kMovableIds[] = {IDC_GB_OUTPUT_BIN_OPTIONS, IDC_STA_OUTPUT_BIN, IDC_CBO_BIN, IDC_STA_STAPLE_STATIC,
                           IDC_CBO_STAPLE, IDC_STA_PUNCH_STATIC, IDC_CBO_PUNCH, IDC_STA_FOLDSTATIC_STATIC,
                           IDC_CBO_FOLDSTITCH, IDC_CHK_IMAGE_SHIFT, IDC_BTN_IMAGE_SHIFT, IDC_GB_OUTPUT_STATIC,
                           IDC_RB_FACEDOWN, IDC_RB_FACEUP};

const CZQPageControls::TextRow kTexts[] = {
    {0, 4029, L"Output"},
    {IDC_GB_OUTPUT_STATIC, 4005, L"Output Features"},
    {IDC_STA_STAPLE_STATIC, 4006, L"&Staple:"},
    {IDC_STA_PUNCH_STATIC, 4007, L"&Punch:"},
    {IDC_STA_FOLDSTATIC_STATIC, 4009, L"&Fold / Stitch:"},
    {IDC_CHK_IMAGE_SHIFT, 4044, L"&Image Shift"},
    {IDC_BTN_IMAGE_SHIFT, 5420, L"Image shift s&ettings..."},
    {IDC_BTN_PREVIEW_PORT, 3072, L"Portrait"},
    {IDC_BTN_PREVIEW_LAND, 3073, L"Landscape"},
    {IDC_GB_OUTPUT_BIN_OPTIONS, 802, L"Output Bin Options"},
    {IDC_STA_OUTPUT_BIN, 803, L"Bin:"},
    {IDC_STA_BIN_OPTIONS, 804, L"Options:"},
    {IDC_RB_FACEDOWN, 4654, L"Face Down (Faster)"},
    {IDC_RB_FACEUP, 4655, L"Face Up (Straightest Path)"},
    {IDC_BTN_HELP, 797, L"&Help"},
};

}  // namespace

// ---------------------------------------------------------------------------------------------
// The page object
// ---------------------------------------------------------------------------------------------
CZQOutputTab::CZQOutputTab()
    : m_controls(kMovableIds, static_cast<int>(sizeof kMovableIds / sizeof kMovableIds[0])) {}

CZQOutputTab::~CZQOutputTab() = default;

// ---------------------------------------------------------------------------------------------
// Its own messages
// ---------------------------------------------------------------------------------------------
INT_PTR CZQOutputTab::IOnMessage(HWND hDlg, UINT uMsg, WPARAM, LPARAM, PageContext* pContext) {
    switch (uMsg) {
        case WM_PAINT: VOnPaint(hDlg, pContext); return FALSE;
        case WM_DRAWITEM:
            // Any owner drawing repaints the sample page and its paper text.
            VRepaintPreview(TRUE);
            m_controls.VRepaint(IDC_PREVIEW_DIMENSIONS, IDC_PREVIEW_DIMENSIONS, FALSE);
            return FALSE;
        default: return FALSE;  // WM_ERASEBKGND: the dialog's own
    }
}

// ---------------------------------------------------------------------------------------------
// The start of the page's window
// ---------------------------------------------------------------------------------------------
BOOL CZQOutputTab::BInitDialog(HWND hDlg, PageContext* pContext) {
    const POEMCUIPPARAM param = m_pCUIParam;
    CZQUILogic* logic = pContext->pLogic;
    if (!param || !BAllocPageBlock()) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    if (!param->pOEMDM || !WorkOf(pContext)) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    m_pPublicDM = param->pPublicDM;
    m_imageShift.VSetParam(param);

    VGetControlHandles(hDlg);
    VSetTexts();
    VRecordControlRects();
    ZQSheetState& sheet = *logic->SheetState();
    if (!sheet.bTitleDone && logic->BAppendVersionToTitle(hDlg)) sheet.bTitleDone = TRUE;
    VShowPunchAndFold(pContext);
    VShowStapling(pContext);
    VDisableBinOptions();
    VRefresh(pContext, 0);
    VSubclassPreviewDimensions(param, hDlg, param->hPrinter);
    logic->VUpdateRollPreview(pContext->pPreview, pContext->pRules);
    SetWindowLongPtrW(hDlg, DWLP_USER, reinterpret_cast<LONG_PTR>(pContext));
    return TRUE;
}

void CZQOutputTab::VGetControlHandles(HWND hDlg) {
    VAttachControls(m_controls, hDlg);
}

void CZQOutputTab::VSetTexts() {
    m_controls.VSetTexts(*this, kTexts, static_cast<int>(sizeof kTexts / sizeof kTexts[0]));
}

void CZQOutputTab::VRecordControlRects() { m_controls.VRecordRects(); }

void CZQOutputTab::VDisableBinOptions() {
    // The bin's options of the page's family have no feature behind them here.
    for (int id : {IDC_STA_BIN_OPTIONS, IDC_CBO_BIN_OPTIONS}) EnableWindow(m_controls.Item(id), FALSE);
}

// ---------------------------------------------------------------------------------------------
// Painting, help, the end of the window
// ---------------------------------------------------------------------------------------------
void CZQOutputTab::VOnPaint(HWND hDlg, PageContext* pContext) {
    VPaintLogo(hDlg, IDB_ZQLOGO, IDB_ZQLOGO_MASK, IDC_ZQLOGO_HOLDER);
    if (!pContext->pPreview) return;
    VFillPreviewSettings(pContext);
    pContext->pPreview->VSetSettings(&m_preview);
    pContext->pPreview->VPaint();
}

void CZQOutputTab::VOnHelp(HWND hWnd, UINT uCommand, PageContext* pContext) {
    DWORD table[2 * (kHelpPairs + 1)] = {};
    VGetHelpIds(table, pContext);
    ZQShowDialogHelp(hWnd, uCommand, m_pCUIParam, table);
}

void CZQOutputTab::VOnDestroy() {
    // The page object outlives its window: other pages may still call it.
    m_controls.VForget();
    m_hHelpButton = m_hPortraitPreview = m_hLandscapePreview = nullptr;
}
