// The Output page's reactions to the user: the lists' choices and the rules they run, the delivery,
// the image shift and its settings dialog, the document turned from the sample page, the paper
// text's unit, help and the lists' drop-downs.
#include "common/zqkeywords.h"
#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"
#include "pages/output/zqoutputpage.h"
#include "pages/zqpageitems.h"
#include "res/zqoutputids.h"

using namespace zqpage;

INT_PTR CZQOutputTab::IOnCommand(HWND hDlg, int iCtrlId, int iCode, HWND hCtrl, PageContext* pContext) {
    switch (iCode) {
        case CBN_SELCHANGE:
            switch (iCtrlId) {
                case IDC_CBO_BIN: VOnBinChange(pContext); break;
                case IDC_CBO_STAPLE: VOnStapleChange(pContext); break;
                case IDC_CBO_PUNCH: VOnPunchChange(pContext); break;
                case IDC_CBO_FOLDSTITCH: VOnFoldChange(pContext); break;
                default: return FALSE;
            }
            BCheckChanged(hDlg, pContext);
            VRepaintPreview(TRUE);
            return FALSE;
        case CBN_DROPDOWN:
            if (iCtrlId == IDC_CBO_BIN || iCtrlId == IDC_CBO_STAPLE || iCtrlId == IDC_CBO_PUNCH ||
                iCtrlId == IDC_CBO_FOLDSTITCH)
                VFitComboDropWidth(m_controls.Item(iCtrlId));
            return FALSE;
        case BN_CLICKED: break;  // also STN_CLICKED of the notifying paper text
        default: return FALSE;
    }
    switch (iCtrlId) {
        case IDC_BTN_HELP: ShowHelpButtonTopic(hCtrl ? hCtrl : m_controls.Item(IDC_BTN_HELP), m_pCUIParam); break;
        case IDC_BTN_PREVIEW_PORT:
        case IDC_BTN_PREVIEW_LAND: VOnPreviewClick(hDlg, pContext); break;
        case IDC_CHK_IMAGE_SHIFT:
            pContext->pLogic->IBindFeatureControl(0, L"ZQImageShift", m_controls.Item(IDC_CHK_IMAGE_SHIFT), nullptr,
                                                  OEMCUIP_DOCPROP, CZQUILogic::kBindApply, TRUE, 0, nullptr);
            BCheckChanged(hDlg, pContext);
            break;
        case IDC_BTN_IMAGE_SHIFT: VOnImageShiftSettings(hDlg, pContext); break;
        case IDC_RB_FACEDOWN:
        case IDC_RB_FACEUP: VOnFaceClick(hDlg, iCtrlId == IDC_RB_FACEUP, pContext); break;
        case IDC_PREVIEW_DIMENSIONS: VOnPaperTextClick(pContext); break;
        default: break;
    }
    return FALSE;
}

// ---------------------------------------------------------------------------------------------
// The lists' choices
// ---------------------------------------------------------------------------------------------
void CZQOutputTab::VOnBinChange(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    logic.IBindFeatureControl(0, zqkw::kOutputBin, m_controls.Item(IDC_CBO_BIN), nullptr, OEMCUIP_DOCPROP,
                              CZQUILogic::kBindApply, FALSE, 0, nullptr);
    if (m_controls.ISelection(IDC_CBO_BIN) != 0) logic.VSetStraightPaperPath(FALSE);
    // Finishing the new bin cannot do goes back to none.
    for (PCWSTR feature : {PszStapleFeature(pContext), static_cast<PCWSTR>(zqkw::kPunching),
                           static_cast<PCWSTR>(zqkw::kFolding)})
        VClearConflictingSelection(feature);
    VRefresh(pContext, 0);
}

void CZQOutputTab::VOnStapleChange(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    logic.IBindFeatureControl(0, PszStapleFeature(pContext), m_controls.Item(IDC_CBO_STAPLE), nullptr, OEMCUIP_DOCPROP,
                              CZQUILogic::kBindApply, FALSE, 0, nullptr);
    if (m_controls.ISelection(IDC_CBO_STAPLE) != 0) {
        VShowFeature(pContext, zqkw::kOutputBin, IDC_CBO_BIN);
        logic.VSetStraightPaperPath(FALSE);
        VRunStaplingToFaceControl(pContext);
        logic.VUpdateOutputBinFaceUp();
    }
    VApplyFinishingExclusions(pContext);
    VRefresh(pContext, 0);
    VRunStaplingConstraints(pContext);
    VClearConflictingSelection(zqkw::kOutputBin);
    VRefresh(pContext, 0);
}

void CZQOutputTab::VOnPunchChange(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    logic.IBindFeatureControl(0, zqkw::kPunching, m_controls.Item(IDC_CBO_PUNCH), nullptr, OEMCUIP_DOCPROP,
                              CZQUILogic::kBindApply, FALSE, 0, nullptr);
    // Punched sets leave through the first bin.
    if (m_controls.ISelection(IDC_CBO_PUNCH) != 0) {
        CZQCommon::DWSelectOptionByIndex(m_pCUIParam, zqkw::kOutputBin, 0, OEMCUIP_DOCPROP);
        VShowFeature(pContext, zqkw::kOutputBin, IDC_CBO_BIN);
        logic.VSetStraightPaperPath(FALSE);
    }
    VApplyFinishingExclusions(pContext);
    VRefresh(pContext, 0);
}

void CZQOutputTab::VOnFoldChange(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    logic.IBindFeatureControl(0, zqkw::kFolding, m_controls.Item(IDC_CBO_FOLDSTITCH), nullptr, OEMCUIP_DOCPROP,
                              CZQUILogic::kBindApply, FALSE, 0, nullptr);
    // A folded sheet is neither stapled nor punched, and leaves through the first bin.
    const bool folded = m_controls.ISelection(IDC_CBO_FOLDSTITCH) != 0;
    for (int id : {IDC_CBO_PUNCH, IDC_CBO_STAPLE, IDC_STA_STAPLE_STATIC, IDC_STA_PUNCH_STATIC})
        EnableWindow(m_controls.Item(id), !folded);
    if (folded) {
        CZQCommon::DWSelectOptionByIndex(m_pCUIParam, zqkw::kOutputBin, 0, OEMCUIP_DOCPROP);
        VShowFeature(pContext, zqkw::kOutputBin, IDC_CBO_BIN);
        logic.VSetStraightPaperPath(FALSE);
    }
    VRefresh(pContext, 0);
}

// ---------------------------------------------------------------------------------------------
// The delivery and the image shift
// ---------------------------------------------------------------------------------------------
void CZQOutputTab::VOnFaceClick(HWND hDlg, bool bFaceUp, PageContext* pContext) {
    CZQCommon::DWSelectOptionByIndex(m_pCUIParam, zqkw::kFaceControl, bFaceUp ? 1 : 0, OEMCUIP_DOCPROP);
    VRunFaceControlToStapling(pContext);
    BCheckChanged(hDlg, pContext);
    if (bFaceUp) VRepaintPreview(FALSE);
}

void CZQOutputTab::VOnImageShiftSettings(HWND hDlg, PageContext* pContext) {
    // The dialog reads its texts where the page reads its own.
    m_imageShift.VSetParam(m_pCUIParam);
    m_imageShift.VSetResourceModule(HResModule());
    const BOOL rightToLeft = pContext->pLogic->SheetState()->bRtl;
    if (m_imageShift.IDoModal(hDlg, pContext, rightToLeft) == 1) BCheckChanged(hDlg, pContext);
}

// ---------------------------------------------------------------------------------------------
// The sample page
// ---------------------------------------------------------------------------------------------
void CZQOutputTab::VOnPreviewClick(HWND hDlg, PageContext* pContext) {
    const POEMCUIPPARAM param = m_pCUIParam;
    const ZQUIDevmode& work = *WorkOf(pContext);
    // The document turns; the helper file's stapling rules follow the new orientation.
    SwitchOrientation(pContext, param, work.wOrientation != 2);
    const PCWSTR staple = PszStapleFeature(pContext);
    WCHAR option[256];
    CZQLocalPtr<WCHAR> name;
    if (ReadOption(param, staple, option) &&
        CZQCommon::DWOptionKeywordToName(param, staple, option, name.Put()) == ZQOPT_OK) {
        VRefresh(pContext, 0);
        HWND list = m_controls.Item(IDC_CBO_STAPLE);
        if (list)
            SendMessageW(list, CB_SETCURSEL,
                         static_cast<WPARAM>(SendMessageW(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                          reinterpret_cast<LPARAM>(name.Get()))),
                         0);
    }
    BCheckChanged(hDlg, pContext);
    VShowPaperText(pContext);
    m_controls.VRepaint(IDC_PREVIEW_DIMENSIONS, IDC_PREVIEW_DIMENSIONS, FALSE);
    VRepaintPreview(TRUE);
    SetFocus(m_controls.Item(ShownPreviewId(work)));
}

void CZQOutputTab::VOnPaperTextClick(PageContext* pContext) {
    ZQUIDevmode& work = *WorkOf(pContext);
    work.dwUnitMm = work.dwUnitMm == 0 ? 1 : 0;
    VSetPreviewPaperText(&work, pContext->pCaps, m_controls.Item(IDC_PREVIEW_DIMENSIONS), 0);
}

// ---------------------------------------------------------------------------------------------
// Steps the reactions share
// ---------------------------------------------------------------------------------------------
void CZQOutputTab::VRunStaplingConstraints(PageContext* pContext) {
    WCHAR option[256];
    if (ReadOption(m_pCUIParam, PszStapleFeature(pContext), option) && RulesLoaded(pContext))
        pContext->pRules->BRunMacro(L"macro_StaplingConstraints", option, m_pCUIParam);
}

void CZQOutputTab::VShowPaperText(PageContext* pContext) {
    if (!pContext->pLogic->BIsLargeFormat()) return;
    VSetPreviewPaperText(WorkOf(pContext), pContext->pCaps, m_controls.Item(IDC_PREVIEW_DIMENSIONS),
                         m_preview.aiExtra[kPxMarginLayout]);
}

void CZQOutputTab::VRepaintPreview(BOOL bErase) {
    m_controls.VRepaint(IDC_BTN_PREVIEW_PORT, IDC_BTN_PREVIEW_LAND, bErase);
}
