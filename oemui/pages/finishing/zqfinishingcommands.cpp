// The Finishing page's reactions to the user: the boxes that set one field each, the print preview,
// the paper text's unit, the orientation from the sample page or the radios, the constraint marks'
// message, help and the lists' drop-downs; the document options' own reactions are theirs.
#include "common/zqkeywords.h"
#include "common/zqstrings.h"
#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"
#include "pages/finishing/zqfinishingpage.h"
#include "pages/zqpageitems.h"
#include "res/zqfinishingids.h"

using namespace zqpage;

INT_PTR CZQFinishingTab::IOnCommand(HWND hDlg, int iCtrlId, int iCode, HWND hCtrl, PageContext* pContext) {
    switch (iCode) {
        case CBN_SELCHANGE:
            if (iCtrlId == IDC_CBO_PAGES_PER_SHEET) VOnPagesPerSheetChange(hDlg, pContext);
            if (iCtrlId == IDC_CBO_BOOKLET_PRINTING) VOnBookletChange(hDlg, pContext);
            if (iCtrlId != IDC_CBO_PAGE_ORDER) return FALSE;
            if (const int order = m_controls.ISelection(IDC_CBO_PAGE_ORDER); order >= 0)
                WorkOf(pContext)->dwPageOrderIndex = static_cast<uint32_t>(order);
            BCheckPageChanged(hDlg, pContext);
            VRepaintPreview(TRUE);
            return FALSE;
        case CBN_DROPDOWN:
            // The pages-per-sheet list's drop-down fits the booklet list's as well.
            if (iCtrlId == IDC_CBO_PAGES_PER_SHEET) VFitComboDropWidth(m_controls.Item(IDC_CBO_PAGES_PER_SHEET));
            if (iCtrlId == IDC_CBO_PAGES_PER_SHEET || iCtrlId == IDC_CBO_BOOKLET_PRINTING)
                VFitComboDropWidth(m_controls.Item(IDC_CBO_BOOKLET_PRINTING));
            return FALSE;
        case BN_CLICKED: break;  // also STN_CLICKED of the notifying paper text
        default: return FALSE;
    }
    switch (iCtrlId) {
        case IDC_CHK_PAGE_BORDER:
        case IDC_CHK_ROTATED:
        case IDC_CHK_ROTATE90:
        case IDC_CHK_MIRROR: VOnFieldBox(hDlg, iCtrlId, pContext); break;
        case IDC_CHK_SHOW_PREVIEW_FIN: VOnShowPreview(hDlg, pContext); break;
        case IDC_PREVIEW_DIMENSIONS: VOnPaperTextClick(pContext); break;
        case IDC_BTN_HELP: ShowHelpButtonTopic(hCtrl ? hCtrl : m_controls.Item(IDC_BTN_HELP), m_pCUIParam); break;
        case IDC_BTN_PREVIEW_PORT:
        case IDC_BTN_PREVIEW_LAND: VOnOrientation(hDlg, WorkOf(pContext)->wOrientation != 2, true, pContext); break;
        case IDC_RB_PORTRAIT:
        case IDC_RB_LANDSCAPE:
            if (m_controls.BChecked(iCtrlId)) VOnOrientation(hDlg, iCtrlId == IDC_RB_LANDSCAPE, false, pContext);
            break;
        case IDC_CHK_DUPLEX: VOnDuplexClick(hDlg, pContext); break;
        case IDC_CHK_FLIP_PAGES_UP: VOnFlipClick(hDlg, pContext); break;
        case IDC_CHK_STRAIGHT_PAPER_PATH: VOnStraightPathClick(hDlg, pContext); break;
        case IDC_CHK_USE_AUTO_DUPLEX_UNIT: VOnAutoDuplexClick(hDlg, pContext); break;
        case IDC_CHK_PRESERVE_LAYOUT: VOnPreserveLayoutClick(hDlg, pContext); break;
        case IDC_BTN_SELECT_TILES: VOnSelectTiles(hDlg, pContext); break;
        case IDC_BTN_CONSTRAINT_MANUAL_DUPLEX:
        case IDC_BTN_CONSTRAINT_BOOKLET_PRINTING:
        case IDC_BTN_CONSTRAINT_NUP: VOnConstraintInfo(iCtrlId); break;
        default: break;
    }
    return FALSE;
}

void CZQFinishingTab::VOnFieldBox(HWND hDlg, int iCtrlId, PageContext* pContext) {
    ZQUIDevmode& work = *WorkOf(pContext);
    const uint32_t checked = m_controls.BChecked(iCtrlId) ? 1 : 0;
    switch (iCtrlId) {
        case IDC_CHK_PAGE_BORDER: work.dwPageBorders = checked; break;
        case IDC_CHK_ROTATED: work.dwRotate180 = checked; break;
        case IDC_CHK_ROTATE90: work.dwRotate90 = checked; break;
        default: work.dwMirror = checked; break;
    }
    BCheckPageChanged(hDlg, pContext);
    if (iCtrlId == IDC_CHK_ROTATE90) VShowPaperText(pContext);
    VRepaintPreview(FALSE);
}

void CZQFinishingTab::VOnShowPreview(HWND hDlg, PageContext* pContext) {
    CZQCommon::DWSelectOptionByIndex(m_pCUIParam, zqkw::kZQPrintPreview, m_controls.BChecked(IDC_CHK_SHOW_PREVIEW_FIN) ? 1 : 0,
                                     OEMCUIP_DOCPROP);
    BCheckPageChanged(hDlg, pContext);
}

void CZQFinishingTab::VOnPaperTextClick(PageContext* pContext) {
    ZQUIDevmode& work = *WorkOf(pContext);
    work.dwUnitMm = work.dwUnitMm == 0 ? 1 : 0;
    VSetPreviewPaperText(&work, pContext->pCaps, m_controls.Item(IDC_PREVIEW_DIMENSIONS), 0);
}

void CZQFinishingTab::VOnOrientation(HWND hDlg, bool bLandscape, bool bFromPreview, PageContext* pContext) {
    SwitchOrientation(pContext, m_pCUIParam, bLandscape);
    CheckRadioButton(hDlg, IDC_RB_PORTRAIT, IDC_RB_LANDSCAPE, bLandscape ? IDC_RB_LANDSCAPE : IDC_RB_PORTRAIT);
    // A booklet's pages turn up on landscape sheets.
    VSetBookletControls(pContext);
    BCheckPageChanged(hDlg, pContext);
    VShowPaperText(pContext);
    m_controls.VRepaint(IDC_PREVIEW_DIMENSIONS, IDC_PREVIEW_DIMENSIONS, FALSE);
    VRepaintPreview(TRUE);
    const ZQUIDevmode& work = *WorkOf(pContext);
    if (bFromPreview) SetFocus(m_controls.Item(ShownPreviewId(work)));
    if (pContext->pLogic->BIsLargeFormat() && (work.dwPdl == kPdlPcl3 || work.dwPdl == kPdlZqgl2))
        VCheckRotate90Width(pContext);
}

void CZQFinishingTab::VOnConstraintInfo(int iCtrlId) {
    WCHAR caption[kResStringChars], text[kResStringChars];
    if (!BLoadResString(6037, caption)) ZQCopyText(caption, kResStringChars, L"Options cannot be combined");
    if (!BLoadResString(6179, text))
        ZQCopyText(text, kResStringChars,
                   L"This feature cannot be selected because incompatible \"Page Exceptions\" options have been "
                   L"chosen. Go to the \"Paper/Quality\" tab if you want to change those options.");
    for (int i = 0; i < 3; ++i)
        if (m_aConstraintButtons[i].HWnd() && GetDlgCtrlID(m_aConstraintButtons[i].HWnd()) == iCtrlId)
            m_aConstraintButtons[i].IMessageBox(caption, text, MB_ICONINFORMATION | MB_OK);
}

// ---------------------------------------------------------------------------------------------
// Steps the reactions share
// ---------------------------------------------------------------------------------------------
void CZQFinishingTab::VShowOrientation() {
    HWND page = m_controls.Page();
    if (!page) return;
    POPTITEM own = nullptr;
    const bool landscape = CZQCommon::DWFindOemOptItemByPubId(m_pCUIParam, kOemPubOrientation, &own) == ZQOPT_OK &&
                           own && own->Sel == 1;
    CheckRadioButton(page, IDC_RB_PORTRAIT, IDC_RB_LANDSCAPE, landscape ? IDC_RB_LANDSCAPE : IDC_RB_PORTRAIT);
}

void CZQFinishingTab::VShowPaperText(PageContext* pContext) {
    if (!pContext->pLogic->BIsLargeFormat()) return;
    VSetPreviewPaperText(WorkOf(pContext), pContext->pCaps, m_controls.Item(IDC_PREVIEW_DIMENSIONS), 0);
}

void CZQFinishingTab::VRepaintPreview(BOOL bErase) { m_controls.VRepaint(IDC_BTN_PREVIEW_PORT, IDC_BTN_PREVIEW_LAND, bErase); }
