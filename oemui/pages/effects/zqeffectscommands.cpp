// The Effects page's reactions to the user: the orientation from the sample page, the first-page
// watermark, the paper text's unit, help and the lists' drop-downs; and the sample page's record.
#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"
#include "pages/effects/zqeffectspage.h"
#include "pages/zqpageitems.h"
#include "res/zqeffectsids.h"

using namespace zqpage;

INT_PTR CZQEffectsTab::IOnCommand(HWND hDlg, int iCtrlId, int iCode, HWND hCtrl, PageContext* pContext) {
    if (iCode == CBN_DROPDOWN) {
        if (iCtrlId == IDC_CBO_WATERMARKS || iCtrlId == IDC_CBO_DEST_PAPER_SIZE) VFitComboDropWidth(m_controls.Item(iCtrlId));
        return FALSE;
    }
    if (iCtrlId == IDC_CBO_WATERMARKS && iCode == CBN_SELCHANGE) VOnWatermarkChange(hDlg, pContext);
    if (iCtrlId == IDC_CBO_DEST_PAPER_SIZE && iCode == CBN_SELCHANGE) VOnDestPaperChange(hDlg, pContext);
    if (iCtrlId == IDC_TXT_NORMAL_SIZE && (iCode == EN_KILLFOCUS || iCode == EN_CHANGE)) VOnScaleEdit(hDlg, iCode, pContext);
    // Also STN_CLICKED of the notifying paper text.
    if (iCode != BN_CLICKED) return FALSE;
    switch (iCtrlId) {
        case IDC_CHECK_EMULATE_MARGINS:
        case IDC_CHECK_SYMMETRICAL_MARGINS:
        case IDC_CHECK_MINIMIZE_MARGINS: VOnMarginBox(hDlg, iCtrlId, pContext); return FALSE;
        case IDC_CHECK_CENTER_ON_PAGE: VOnCenterOnPage(hDlg, pContext); return FALSE;
        case IDC_CHK_FIT_TO_SCALE: VOnScaleToFit(hDlg, pContext); return FALSE;
        case IDC_RB_ACTUAL_SIZE: VOnActualSize(hDlg, pContext); return FALSE;
        case IDC_RB_PRINT_DOC_ON: VOnPrintDocumentOn(hDlg, pContext); return FALSE;
        case IDC_RB_SCALING: VOnScaling(hDlg, pContext); return FALSE;
        case IDC_BTN_PREVIEW_PORT:
        case IDC_BTN_PREVIEW_LAND: VOnOrientation(hDlg, pContext); return FALSE;
        case IDC_BTN_HELP: ShowHelpButtonTopic(hCtrl ? hCtrl : m_controls.Item(IDC_BTN_HELP), m_pCUIParam); return FALSE;
        case IDC_CHK_FIRST_PAGE_WM: VOnFirstPageOnly(hDlg, pContext); return TRUE;
        case IDC_BTN_EDIT_WM: VOnEditWatermarks(hDlg, pContext); return FALSE;
        case IDC_PREVIEW_DIMENSIONS: VOnPaperTextClick(pContext); return FALSE;
        default: return FALSE;
    }
}

void CZQEffectsTab::VOnOrientation(HWND hDlg, PageContext* pContext) {
    SwitchOrientation(pContext, m_pCUIParam, WorkOf(pContext)->wOrientation != 2);
    VUpdateChangedState(hDlg, pContext);
    VShowPaperText(pContext);
    m_controls.VRepaint(IDC_PREVIEW_DIMENSIONS, IDC_PREVIEW_DIMENSIONS, FALSE);
    VRepaintPreview(TRUE);
    SetFocus(m_controls.Item(ShownPreviewId(*WorkOf(pContext))));
}

void CZQEffectsTab::VOnFirstPageOnly(HWND hDlg, PageContext* pContext) {
    WorkOf(pContext)->dwWmFirstPageOnly = m_controls.BChecked(IDC_CHK_FIRST_PAGE_WM) ? 1 : 0;
    VUpdateChangedState(hDlg, pContext);
    VRepaintPreview(FALSE);
}

void CZQEffectsTab::VOnPaperTextClick(PageContext* pContext) {
    ZQUIDevmode& work = *WorkOf(pContext);
    work.dwUnitMm = work.dwUnitMm == 0 ? 1 : 0;
    VSetPreviewPaperText(&work, pContext->pCaps, m_controls.Item(IDC_PREVIEW_DIMENSIONS), 0);
}

void CZQEffectsTab::VShowPaperText(PageContext* pContext) {
    // The label names the paper the record prints on, filled first on a large-format printer.
    if (pContext->pLogic->BIsLargeFormat()) VFillPreviewSettings(pContext);
    VSetPreviewPaperText(WorkOf(pContext), pContext->pCaps, m_controls.Item(IDC_PREVIEW_DIMENSIONS), 0);
}

void CZQEffectsTab::VRepaintPreview(BOOL bErase) { m_controls.VRepaint(IDC_BTN_PREVIEW_PORT, IDC_BTN_PREVIEW_LAND, bErase); }

// ---------------------------------------------------------------------------------------------
// The sample page
// ---------------------------------------------------------------------------------------------
void CZQEffectsTab::VFillPreviewSettings(PageContext* pContext) {
    if (m_state.bWatermarkReload && WorkOf(pContext)) VReloadListedWatermark(pContext);
    if (!BFillSharedPreview(&m_preview, pContext)) return;
    // What this page's controls show, over the settings (a page without its window shows the
    // settings).
    if (!m_controls.Page()) return;
    int* value = m_preview.aiValue;
    // The typed scale, unless the document is fitted to another paper.
    BOOL number = FALSE;
    const UINT typed = GetDlgItemInt(m_controls.Page(), IDC_TXT_NORMAL_SIZE, &number, FALSE);
    if (WorkOf(pContext)->dwPrintDocOn != 1 && number) value[kPvScale] = static_cast<int>(typed);
    value[kPvWatermarkFirstPage] = m_controls.BChecked(IDC_CHK_FIRST_PAGE_WM) ? 1 : 0;
    HWND centre = m_controls.Item(IDC_CHECK_CENTER_ON_PAGE);
    if (IsVisible(centre)) m_preview.aiExtra[kPxCenterOnPage] = Checked(centre) ? 1 : 0;
}
