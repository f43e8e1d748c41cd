// The Features page's commands: the dispatch of WM_COMMAND by notification code and control, and the
// buttons, boxes and radios: the sample page and the orientation, borderless printing, actual size or
// the document on another paper, flip pages up, preserve layout, the print preview, the maker's
// services and help.
#include <cwchar>

#include "common/zqkeywords.h"
#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"
#include "pages/features/zqfeaturespage.h"
#include "pages/zqpageitems.h"
#include "res/zqfeaturesids.h"

using namespace zqpage;

// ---------------------------------------------------------------------------------------------
// Dispatch
// ---------------------------------------------------------------------------------------------
INT_PTR CZQFeaturesTab::IOnCommand(HWND hDlg, int iCtrlId, int iCode, HWND, PageContext* pContext) {
    // The programs launched from the page are told the command as it came.
    const WPARAM wParam = MAKEWPARAM(iCtrlId, iCode);
    switch (iCode) {
        case CBN_SELCHANGE:
            switch (iCtrlId) {
                case IDC_CBO_PRINT_QUALITY: VOnQuality(pContext); break;
                case IDC_CBO_MEDIA_SOURCE_IS: VOnSource(pContext); break;
                case IDC_CBO_MEDIA_TYPE_IS: VOnMediaType(wParam, pContext); break;
                case IDC_CBO_MEDIA_SIZE_IS: VOnPaperSize(hDlg, pContext); break;
                case IDC_CBO_DEST_PAPER_SIZE: VOnDestPaper(pContext); break;
                case IDC_CBO_PAGE_ORDER: VOnPageOrder(pContext); break;
                case IDC_CBO_PAGES_PER_SHEET: VOnPagesPerSheet(pContext); break;
                case IDC_CBO_BOOKLET_PRINTING: VOnBooklet(pContext); break;
                case IDC_CBO_TWO_SIDED_PRINTING: VOnTwoSided(pContext); break;
                case IDC_CBO_PHOTOFIX: VOnPhotoFix(pContext); break;
                default: return FALSE;
            }
            BCheckPageChanged(hDlg, pContext);
            return FALSE;
        case CBN_DROPDOWN:
            if (iCtrlId == IDC_CBO_MEDIA_SOURCE_IS || iCtrlId == IDC_CBO_MEDIA_TYPE_IS ||
                iCtrlId == IDC_CBO_MEDIA_SIZE_IS || iCtrlId == IDC_CBO_TWO_SIDED_PRINTING)
                VFitComboDropWidth(m_controls.Item(iCtrlId));
            return FALSE;
        case BN_CLICKED: break;
        default: return FALSE;
    }
    switch (iCtrlId) {
        case IDC_BTN_PREVIEW_PORT:
        case IDC_BTN_PREVIEW_LAND: VOnPreviewClick(hDlg, pContext); break;
        case IDC_CHECK_BORDERLESS_PHOTO: VOnBorderless(hDlg, pContext); break;
        case IDC_BTN_HELP:
            ShowHelpButtonTopic(m_controls.Item(IDC_BTN_HELP), m_pCUIParam, 15400);
            return FALSE;
        case IDC_RB_ACTUAL_SIZE:
            if (m_controls.BChecked(IDC_RB_ACTUAL_SIZE)) VOnActualSize(hDlg, pContext);
            break;
        case IDC_RB_PRINT_DOC_ON:
            if (m_controls.BChecked(IDC_RB_PRINT_DOC_ON)) VOnPrintDocOn(hDlg, pContext);
            break;
        case IDC_RB_PORTRAIT:
        case IDC_RB_LANDSCAPE: VOnOrientation(hDlg, iCtrlId, pContext); break;
        // The launcher's answer is the page's.
        case IDC_BTN_PRINTER_SERVICES: return BLaunchToolbox(this, wParam);
        case IDC_CHK_FLIP_PAGES_UP: VOnFlipPagesUp(pContext); break;
        case IDC_CHK_PRESERVE_LAYOUT: VOnPreserveLayout(pContext); break;
        case IDC_CHK_SHOW_PREVIEW_FIN: VOnShowPreview(); break;
        case IDC_BTN_RESOLUTION: VShowResolutionInfo(hDlg, pContext); return FALSE;
        default: return FALSE;
    }
    BCheckPageChanged(hDlg, pContext);
    return FALSE;
}

// ---------------------------------------------------------------------------------------------
// The sample page and the orientation
// ---------------------------------------------------------------------------------------------
void CZQFeaturesTab::VOnPreviewClick(HWND hDlg, PageContext* pContext) {
    const ZQUIDevmode& work = *WorkOf(pContext);
    const bool landscape = work.wOrientation != 2;
    SetOrientation(pContext, m_pCUIParam, landscape);
    CheckRadioButton(hDlg, IDC_RB_PORTRAIT, IDC_RB_LANDSCAPE, landscape ? IDC_RB_LANDSCAPE : IDC_RB_PORTRAIT);
    VUpdateBookletState(pContext);
    BCheckPageChanged(hDlg, pContext);
    VSetDocumentSizeText(pContext);
    VRepaintPreview(TRUE);
    m_controls.VRepaint(IDC_PREVIEW_DIMENSIONS, IDC_PREVIEW_DIMENSIONS, FALSE);
    // Two or four pages on a sheet lie across it: the other picture takes the focus.
    SetFocus(m_controls.Item(ShownPreviewId(work)));
}

void CZQFeaturesTab::VOnOrientation(HWND hDlg, int iCtrlId, PageContext* pContext) {
    if (!m_controls.BChecked(iCtrlId)) return;
    SetOrientation(pContext, m_pCUIParam, iCtrlId == IDC_RB_LANDSCAPE);
    CheckRadioButton(hDlg, IDC_RB_PORTRAIT, IDC_RB_LANDSCAPE, iCtrlId);
    VUpdateBookletState(pContext);
    // Two-sided pages keep their layout, except Japanese postcards in a booklet.
    if (m_layout.BTwoSidedChosen()) {
        if (!pContext->pLogic->DWBooklet())
            m_layout.VSetPreservedLayout(zqkw::kZQAutoDuplexScaling, true);
        else if (m_layout.BOptionContains(zqkw::kPaperSize, L"HAGAKI"))
            m_layout.VSetPreservedLayout(zqkw::kZQAutoDuplexScaling, false);
    }
    VRepaintPreview(FALSE);
}

// ---------------------------------------------------------------------------------------------
// Borderless printing
// ---------------------------------------------------------------------------------------------
void CZQFeaturesTab::VOnBorderless(HWND, PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;
    HWND box = m_controls.Item(IDC_CHECK_BORDERLESS_PHOTO);
    // The paper goes to its borderless (or bordered) twin where it has one.
    if (BHasBorderlessCounterpart(pContext) && BSelectBorderlessCounterpart(pContext)) VRefreshPaperSizeGroup(pContext);
    if (Checked(box)) {
        logic.VSetMarginChoice(1, 0);
        DWSelectOptionByIndex(param, zqkw::kZQCenterOnPage, 0, OEMCUIP_DOCPROP);
        const BOOL banner = logic.BIsBannerPaper();
        if (banner || logic.BIsBorderlessPaper()) {
            DWSelectOptionByIndex(param, zqkw::kZQPosterPrintingOptionSUI, 0, OEMCUIP_DOCPROP);
            SettleBorderlessLayout(logic, param, FALSE, banner);
        }
    } else {
        if (logic.DWMarginChoice(1))
            DWSelectOptionByIndex(param, zqkw::kZQMinimizeMargins, static_cast<int>(logic.DWMarginValue(1)),
                                  OEMCUIP_DOCPROP);
        work.dwScaleToFit = 1;
    }
    logic.IBindFeatureControl(0, zqkw::kZQBorderLessPhoto, box, nullptr, OEMCUIP_DOCPROP, CZQUILogic::kBindApply, TRUE,
                              0, nullptr);
    WCHAR paper[256];
    if (PostScript(pContext)) {
        if (ReadOption(param, zqkw::kPageSize, paper)) pContext->pRules->BRunFeatureMacros(zqkw::kPageSize, paper, param);
    } else if (ReadOption(param, zqkw::kPaperSize, paper)) {
        if (!m_state.bMediaLocked) pContext->pRules->BRunFeatureMacros(zqkw::kPaperSize, paper, param);
        m_layout.VRecordRigidMargins(logic);
    }
    VSelectMediaTypeEntry(pContext);
    if (m_layout.BTwoSidedChosen() && m_layout.BOptionContains(zqkw::kPaperSize, L"HAGAKI"))
        m_layout.VSetPreservedLayout(zqkw::kZQAutoDuplexScaling, false);
    VRepaintPreview(TRUE);
    VRefocusPaperSize();
}

// ---------------------------------------------------------------------------------------------
// Actual size, or the document on another paper
// ---------------------------------------------------------------------------------------------
void CZQFeaturesTab::VOnActualSize(HWND hDlg, PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;
    // The paper the document was set up on comes back after the paper rules.
    POPTITEM form = PubItem(param, DMPUB_FORMNAME);
    const LONG formSelection = form ? form->Sel : -1;
    m_state.iResizeMode = ZQFeaturesState::kActualSize;
    work.dwPrintDocOn = 0;
    work.dwDuplexConflict = 0;
    if (logic.BNeedsScaleFromLargePaper(pContext->pCaps) || logic.BIsBannerPaper() || logic.BIsBorderlessPaper())
        logic.VUpdateBorderlessForPageSize(pContext->pRules);
    // The full size first: the group reads its mode back from the settings.
    work.dwScalePercent = 100;
    VRefreshResizeGroup(hDlg, pContext, kRefreshShow);
    const bool conflict = work.wDuplex != 1 && m_layout.BDuplexConflicts();
    work.dwDuplexConflict = conflict ? 1 : 0;
    if (conflict) work.dwManualDuplex = 1;
    if (work.dwBooklet) {
        work.dwBooklet = 0;
        logic.VEndBooklet();
        SendMessageW(m_controls.Item(IDC_CBO_BOOKLET_PRINTING), CB_SETCURSEL, 0, 0);
    }
    if (form && formSelection >= 0) {
        form->Sel = formSelection;
        form->Flags |= OPTIF_CHANGED;
    }
    VApplyPSDocumentOptions(pContext);
    work.dwScalePercent = 100;
    m_controls.VSetCheck(IDC_RB_ACTUAL_SIZE, TRUE);
    VRepaintPreview(TRUE);
}

void CZQFeaturesTab::VOnPrintDocOn(HWND, PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;
    m_state.iResizeMode = ZQFeaturesState::kPrintDocOn;
    m_dest.VSeedDestinationList(false);
    const PrinterCaps* caps = ZQPrinterCapsLists(pContext->pCaps, kCapsPapers);
    const DWORD count = caps ? caps->dwPaperCount : 0;
    const WORD* ids = caps ? caps->pPaperIds : nullptr;
    // One page of the document on each sheet, no poster.
    if (logic.BIsPosterPrinting())
        DWSelectOptionByIndex(param, zqkw::kZQPosterPrintingOptionSUI, 0, OEMCUIP_DOCPROP);
    if (work.dwPagesPerSheet != 1 && !work.dwBooklet) {
        work.dwPagesPerSheet = 1;
        work.dwPageOrderIndex = 0;
        work.dwScaleToFit = 1;
    }
    work.dwPrintedOnPaper = m_dest.WGetDestPaperId(count, m_controls.ISelection(IDC_CBO_DEST_PAPER_SIZE), ids);
    if (logic.BIsBannerPaper() || logic.BIsBorderlessPaper()) {
        logic.VUpdateBorderlessForPageSize(pContext->pRules);
        const int index = m_dest.IFindDestPaperIndex(count, ids, static_cast<WORD>(m_pCUIParam->pPublicDM->dmPaperSize));
        SendMessageW(m_controls.Item(IDC_CBO_DEST_PAPER_SIZE), CB_SETCURSEL, static_cast<WPARAM>(index < 0 ? 0 : index), 0);
        VApplyPSDocumentOptions(pContext);
    }
    EnableWindow(m_controls.Item(IDC_CBO_DEST_PAPER_SIZE), TRUE);
    // A booklet always fits its pages to the paper.
    if (work.dwBooklet) work.dwScaleToFit = 1;
    work.dwPrintDocOn = 1;
    work.dwScalePercent = work.dwScaleToFit == 1 ? static_cast<uint32_t>(m_dest.IGetFitToPaperPercent(pContext)) : 100;
    DWSelectOptionByIndex(param, zqkw::kZQCenterOnPage, 0, OEMCUIP_DOCPROP);
    VRefocusPaperSize();
    VRepaintPreview(TRUE);
}

// ---------------------------------------------------------------------------------------------
// Paper saving and the print preview
// ---------------------------------------------------------------------------------------------
void CZQFeaturesTab::VOnFlipPagesUp(PageContext* pContext) {
    ZQUIDevmode& work = *WorkOf(pContext);
    work.dwFlipPagesUp = m_controls.BChecked(IDC_CHK_FLIP_PAGES_UP) ? 1 : 0;
    work.wDuplex = WGetTwoSidedBinding(pContext);
    VRepaintPreview(TRUE);
}

void CZQFeaturesTab::VOnPreserveLayout(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    logic.IBindFeatureControl(0, zqkw::kZQAutoDuplexScaling, m_controls.Item(IDC_CHK_PRESERVE_LAYOUT), nullptr,
                              OEMCUIP_DOCPROP, CZQUILogic::kBindApply, TRUE, 0, nullptr);
    IApplyMarginGroup(pContext);
    const BOOL preserve = m_controls.BChecked(IDC_CHK_PRESERVE_LAYOUT);
    logic.m_bAutoDuplexScalingMark = TRUE;
    logic.m_dwAutoDuplexScaling = preserve ? 1 : 0;
    m_state.bPreserveLayout = preserve;
}

void CZQFeaturesTab::VOnShowPreview() {
    DWSelectOptionByIndex(m_pCUIParam, zqkw::kZQPrintPreview, m_controls.BChecked(IDC_CHK_SHOW_PREVIEW_FIN) ? 1 : 0,
                          OEMCUIP_DOCPROP);
}
