// The Paper/Quality page's commands: the dispatch of WM_COMMAND by notification code and control,
// the page's check boxes and radio buttons, the papers of single pages, the sample page's
// orientation and units, the dialogs the page opens, help and the alert strip's refresh.
#include <cwchar>

#include "common/zqkeywords.h"
#include "featurelogic/zqpagegates.h"
#include "pages/paperquality/zqpaperqualitypage.h"
#include "pages/zqpageitems.h"
#include "preview/zqpreview.h"
#include "res/zqpaperqualityids.h"

using namespace zqpage;

namespace {

// A box whose state goes straight into its feature, and what follows the change.
enum class Repaint { None, Preview, PreviewErased };
struct BoxRow {
    int id;
    PCWSTR feature;  // null: the thriftmode feature of the page's language
    bool byIndex;    // option 1 when checked, else option 0 (else the binder applies the box)
    bool optimizeFor;
    Repaint preview;
    bool dimensions;  // the dimension button too, erased
    bool paperLabel;  // the paper label too
};
const BoxRow kBoxes[] = {
    {IDC_CHK_THRIFTMODE, nullptr, false, false, Repaint::Preview, false, false},
    {IDC_CHK_GLOSS, zqkw::kPrintFinish, false, false, Repaint::None, false, false},
    {IDC_CHK_OHTINTERLEAVE, zqkw::kOHTInterleave, false, false, Repaint::None, false, false},
    {IDC_CHK_QUIET_PRINTING, zqkw::kZQQuietPrinting, false, false, Repaint::None, false, false},
    {IDC_CHECK_BORDERLESS_AUTOFIT, zqkw::kZQBorderLessAutoFit, false, false, Repaint::PreviewErased, true, false},
    {IDC_CHK_SAVE_ROLL_PAPER, zqkw::kZQSaveRollPaper, false, false, Repaint::PreviewErased, false, true},
    {IDC_CHK_DISABLE_AUTO_CUTTER, zqkw::kZQDisableAutoCutter, false, false, Repaint::Preview, false, false},
    {IDC_CHK_AUTOROTATE, zqkw::kZQAutorotate, false, false, Repaint::Preview, false, false},
    {IDC_CHK_MAX_DETAILS, zqkw::kZQMaximumDetail, true, true, Repaint::None, false, false},
    {IDC_CHK_SHOW_PREVIEW_FIN, zqkw::kZQPrintPreview, true, false, Repaint::None, false, false},
    {IDC_CHK_EXTENDED_MARGINS, zqkw::kZQMarginType, true, false, Repaint::None, false, false},
};

}  // namespace

// ---------------------------------------------------------------------------------------------
// Dispatch
// ---------------------------------------------------------------------------------------------
INT_PTR CZQPaperQualityTab::IOnCommand(HWND hDlg, int iCtrlId, int iCode, HWND hCtrl, PageContext* pContext) {
    if (!pContext || !pContext->pLogic || !WorkOf(pContext) || !m_pCUIParam) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    switch (iCode) {
        case CBN_SELCHANGE:  // also LBN_SELCHANGE
            switch (iCtrlId) {
                case IDC_CBO_MEDIA_SIZE_IS: VOnPaperSizeChange(hDlg, pContext); break;
                case IDC_CBO_MEDIA_TYPE_IS: VOnMediaTypeChange(hDlg, pContext, hCtrl); break;
                case IDC_CBO_MEDIA_SOURCE_IS: VOnSourceChange(hDlg, pContext); break;
                case IDC_CBO_PRINT_QUALITY: VOnQualityChange(hDlg, pContext); break;
                case IDC_LB_MEDIA_PAPER_OPTIONS: VOnPageKind(hDlg, pContext); break;
                default: break;
            }
            return FALSE;
        case LBN_DBLCLK:
            if (iCtrlId == IDC_LB_PAGE_EXCEPTIONS_OPTIONS) VEditPageExceptions(hDlg, pContext);
            return FALSE;
        case CBN_DROPDOWN:
            if (iCtrlId == IDC_CBO_MEDIA_SIZE_IS || iCtrlId == IDC_CBO_MEDIA_SOURCE_IS || iCtrlId == IDC_CBO_MEDIA_TYPE_IS)
                VFitComboDropWidth(hCtrl ? hCtrl : GetDlgItem(hDlg, iCtrlId));
            return FALSE;
        case BN_CLICKED: break;  // also STN_CLICKED of the notifying labels
        default: return FALSE;
    }
    if (BOnCheckBox(hDlg, iCtrlId, pContext)) return FALSE;
    const POEMCUIPPARAM param = m_pCUIParam;
    switch (iCtrlId) {
        case IDC_CHECK_BORDERLESS_PHOTO: VOnBorderless(hDlg, pContext); break;
        case IDC_CHK_MEDIA_PAPER_DIFF: VOnDifferentPaper(hDlg, pContext); break;
        case IDC_CHK_MEDIA_BACK_COVER: VOnCoverFromFeeder(hDlg, pContext); break;
        case IDC_BTN_PREVIEW_PORT:
        case IDC_BTN_PREVIEW_LAND: VOnPreviewClick(hDlg, pContext); break;
        case IDC_RB_PORTRAIT:
        case IDC_RB_LANDSCAPE: VOnOrientationRadio(hDlg, iCtrlId, pContext); break;
        case IDC_RB_STNDARD_OPTIONS:
        case IDC_RB_CUSTOM_OPTIONS: VOnQualityOptions(hDlg, iCtrlId, pContext); break;
        case IDC_RB_DRAWING_TEXT:
        case IDC_RB_IMAGES:
            DWSelectOptionByKeyword(param, zqkw::kZQOptimizeFor,
                                    iCtrlId == IDC_RB_DRAWING_TEXT ? L"OptimizeText" : L"OptimizeImage",
                                    OEMCUIP_DOCPROP);
            VRunOptimizeForMacro(pContext);
            VNotifyPageChanged(hDlg, pContext);
            break;
        case IDC_BTN_CONSTRAINT_PAGE_EXCEPTIONS: VOnConstraintInfo(); break;
        case IDC_BTN_PAGE_EXCEPTIONS_SETTINGS: VEditPageExceptions(hDlg, pContext); break;
        case IDC_IMAGE_ENHANCEMENT: VOnImageEnhancement(hDlg, pContext); break;
        case IDC_BTN_CUSTOM: VOnCustomPaper(hDlg, pContext); break;
        case IDC_BTN_PAPERMEDIA_PQ_SETTINGS: VOnCustomQuality(hDlg, pContext); break;
        case IDC_BTN_MARGINS: VOnMargins(hDlg, pContext); break;
        case IDC_BTN_HELP: ShowHelpButtonTopic(hDlg, param, 15400); break;
        case IDC_BTN_PAPERMEDIA_PRINTINGHELP: VLaunchPrintingHelp(param, kPagePaperQuality); break;
        case IDC_ALERT_REFRESH:
            if (pContext->pAlerts) pContext->pAlerts->BRefreshDeviceStatus(FALSE);
            break;
        case IDC_BTN_MEDIA_SIZE_DIMENSIONS_ALTX: SetFocus(GetDlgItem(hDlg, IDC_STA_MEDIA_SIZE_DIMENSIONS)); break;
        case IDC_STA_MEDIA_SIZE_DIMENSIONS:
        case IDC_PREVIEW_DIMENSIONS:
        case IDC_PREVIEW_DOCSIZE: VOnUnitToggle(hDlg, iCtrlId, pContext); break;
        default: break;
    }
    return FALSE;
}

// ---------------------------------------------------------------------------------------------
// Check boxes that carry one feature each
// ---------------------------------------------------------------------------------------------
BOOL CZQPaperQualityTab::BOnCheckBox(HWND hDlg, int iCtrlId, PageContext* pContext) {
    const BoxRow* row = nullptr;
    for (const BoxRow& r : kBoxes)
        if (r.id == iCtrlId) row = &r;
    if (!row) return FALSE;
    const POEMCUIPPARAM param = m_pCUIParam;
    HWND box = GetDlgItem(hDlg, iCtrlId);
    const bool checked = Checked(box);
    const PCWSTR feature = row->feature ? row->feature : ThriftmodeFeature(pContext);
    if (row->byIndex)
        DWSelectOptionByIndex(param, feature, checked ? 1 : 0, OEMCUIP_DOCPROP);
    else
        pContext->pLogic->IBindFeatureControl(0, feature, box, nullptr, OEMCUIP_DOCPROP, CZQUILogic::kBindApply, TRUE,
                                              0, nullptr);
    if (row->optimizeFor) VRunOptimizeForMacro(pContext);
    // The turned page is printed from the settings the core driver keeps as well.
    if (iCtrlId == IDC_CHK_AUTOROTATE) {
        WorkOf(pContext)->dwAutorotate = checked ? 1 : 0;
        if (ZQUIDevmode* core = CoreOf(param)) core->dwAutorotate = checked ? 1 : 0;
    }
    VNotifyPageChanged(hDlg, pContext);
    if (row->preview != Repaint::None)
        m_controls.VRepaint(hDlg, IDC_BTN_PREVIEW_PORT, IDC_BTN_PREVIEW_LAND, row->preview == Repaint::PreviewErased);
    if (row->dimensions) m_controls.VRepaint(hDlg, IDC_STA_MEDIA_SIZE_DIMENSIONS, IDC_STA_MEDIA_SIZE_DIMENSIONS, TRUE);
    if (row->paperLabel) m_controls.VRepaint(hDlg, IDC_PREVIEW_DIMENSIONS, IDC_PREVIEW_DIMENSIONS, FALSE);
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Borderless
// ---------------------------------------------------------------------------------------------
// A click that clears the box is left to the page's next store.
void CZQPaperQualityTab::VOnBorderless(HWND hDlg, PageContext* pContext) {
    if (!Checked(m_controls.H(kCtlBorderlessPhoto))) return;
    CZQUILogic& logic = *pContext->pLogic;
    const POEMCUIPPARAM param = m_pCUIParam;
    VBorderlessTwinSwitch(pContext);
    HWND fit = m_controls.H(kCtlBorderlessAutoFit);
    SetCheck(fit, false);
    EnableWindow(fit, TRUE);
    DWSelectOptionByIndex(param, zqkw::kZQCenterOnPage, 0, OEMCUIP_DOCPROP);

    WCHAR paper[256] = {};
    ReadOption(param, zqkw::kPaperSize, paper);
    const BOOL banner = logic.BIsBannerPaper();
    if (banner || logic.BIsBorderlessPaper()) {
        // Japanese postcards keep their whole layout here.
        if (!wcsstr(paper, L"HAGAKI")) VSettleBorderlessLayout(pContext, FALSE, banner);
    } else {
        VBorderlessTwinSwitch(pContext);
        SetCheck(fit, false);
        EnableWindow(fit, FALSE);
    }
    logic.IBindFeatureControl(0, zqkw::kZQBorderLessPhoto, m_controls.H(kCtlBorderlessPhoto), nullptr, OEMCUIP_DOCPROP,
                              CZQUILogic::kBindApply, TRUE, 0, nullptr);
    const PCWSTR paperFeature = PostScript(pContext) ? zqkw::kPageSize : zqkw::kPaperSize;
    if (ReadOption(param, paperFeature, paper)) {
        pContext->pRules->BRunFeatureMacros(paperFeature, paper, param);
        VRefreshMediaTypeList(pContext);
        VStorePageKindPaper(pContext, ISelectedPageKind(pContext));
        VRefreshQualityGroup(pContext);
    }
    VNotifyPageChanged(hDlg, pContext);
    m_controls.VRepaint(hDlg, IDC_BTN_PREVIEW_PORT, IDC_BTN_PREVIEW_LAND, TRUE);
    m_controls.VRepaint(hDlg, IDC_STA_MEDIA_SIZE_DIMENSIONS, IDC_STA_MEDIA_SIZE_DIMENSIONS, TRUE);
    InvalidateRect(m_controls.H(kCtlSize), nullptr, FALSE);
}

// ---------------------------------------------------------------------------------------------
// Papers of single pages and covers
// ---------------------------------------------------------------------------------------------
void CZQPaperQualityTab::VOnPageKind(HWND hDlg, PageContext* pContext) {
    WCHAR text[256], cover[256];
    if (CZQPaperSlots::BChosenCover(m_pCUIParam, m_controls.H(kCtlPageKinds), text, cover))
        DWSelectOptionByKeyword(m_pCUIParam, L"ZQCovers", cover, OEMCUIP_DOCPROP);
    VFillMediaTypeList(pContext);
    VShowPageKindPaper(pContext);
    VFillSourceCombo(pContext, ISelectedPageKind(pContext));
    VLayoutPaperGroup(pContext);
    VEnableMediaTypeForPageKind(pContext);
    VNotifyPageChanged(hDlg, pContext);
}

void CZQPaperQualityTab::VOnDifferentPaper(HWND hDlg, PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;
    WCHAR otherPages[kResStringChars];
    if (!BLoadResString(780, otherPages)) ZQCopyText(otherPages, kResStringChars, L"Other Pages");
    CZQLocalPtr<WCHAR> otherKeyword;
    const bool otherFound = DWOptionNameToKeyword(param, L"ZQCovers", otherPages, otherKeyword.Put()) == ZQOPT_OK;

    const bool checked = Checked(m_controls.H(kCtlDifferentPaper));
    if (checked) {
        work.dwDiffPaper = 1;
        VFillPageList(&logic, TRUE);
        VInitPageListSelection(pContext, hDlg);
        EnableWindow(m_controls.H(kCtlPageKinds), TRUE);
        // First and last pages start from the paper every page had.
        for (int kind : {kKindFirstPage, kKindLastPage}) {
            const int slot = CZQPaperSlots::ISlotOfKind(kind);
            m_slots.aiSource[slot] = m_slots.aiSource[kWorkingSlot];
            m_slots.aiMedia[slot] = m_slots.aiMedia[kWorkingSlot];
            m_slots.aiMediaId[slot] = static_cast<int>(DWMediaTypeFromIndex(pContext, m_slots.aiMedia[slot]));
        }
        if (work.dwBackCoverFeeder)
            DWSelectOptionByIndex(param, kBackFeederFeature, m_slots.aiSource[CZQPaperSlots::ISlotOfKind(kKindBackCoverFeeder)], OEMCUIP_DOCPROP);
        if (work.dwFrontCoverFeeder)
            DWSelectOptionByIndex(param, kFrontFeederFeature, m_slots.aiSource[CZQPaperSlots::ISlotOfKind(kKindFrontCoverFeeder)],
                                  OEMCUIP_DOCPROP);
        VFillMediaTypeList(pContext);
        VUpdatePaperMarkers(pContext);
        VShowPageKindPaper(pContext);
        DWSelectOptionByIndex(param, L"ZQCovers", 0, OEMCUIP_DOCPROP);
    } else {
        VResetPageKindPapers(pContext);
        VSelectSourceAndMedia(pContext, m_slots.aiSource[kWorkingSlot], m_slots.aiMedia[kWorkingSlot], kKindFirstPage);
        work.dwDiffPaper = 0;
        if (otherFound) DWSelectOptionByKeyword(param, L"ZQCovers", otherKeyword.Get(), OEMCUIP_DOCPROP);
        DWSelectOptionByIndex(param, kBackFeederFeature, 0, OEMCUIP_DOCPROP);
        DWSelectOptionByIndex(param, kFrontFeederFeature, 0, OEMCUIP_DOCPROP);
        for (DWORD& flag : logic.m_adwCoverFlags) flag = 0;
        for (DWORD& flag : m_state.adwCoversInUse) flag = 0;
    }
    VFillSourceCombo(pContext, ISelectedPageKind(pContext));
    VLayoutPaperGroup(pContext);
    if (checked) VEnableMediaTypeForPageKind(pContext);
    VNotifyPageChanged(hDlg, pContext);
    m_controls.VRepaint(hDlg, IDC_BTN_PREVIEW_PORT, IDC_BTN_PREVIEW_LAND, FALSE);
}

void CZQPaperQualityTab::VOnCoverFromFeeder(HWND hDlg, PageContext* pContext) {
    const POEMCUIPPARAM param = m_pCUIParam;
    WCHAR text[256], cover[256];
    if (CZQPaperSlots::BChosenCover(param, m_controls.H(kCtlPageKinds), text, cover)) {
        const int kind = IPageKindFromName(text, pContext->pLogic);
        if (Checked(m_controls.H(kCtlBackCover))) {
            VSetCoverFlag(pContext, 1);
            VSetCoverFlagForPageKind(pContext, 1);
            if (kind == kKindBackCoverFeeder || kind == kKindFrontCoverFeeder)
                DWSelectOptionByIndex(param, kind == kKindBackCoverFeeder ? kBackFeederFeature : kFrontFeederFeature,
                                      m_slots.aiSource[CZQPaperSlots::ISlotOfKind(kind)], OEMCUIP_DOCPROP);
        } else {
            VSetCoverFlag(pContext, 0);
            VSetCoverFlagForPageKind(pContext, 0);
            WCHAR feature[256];
            if (ZQFormatText(feature, 256, L"%ls_InputBin", cover) == S_OK)
                DWSelectOptionByIndex(param, feature, 0, OEMCUIP_DOCPROP);
        }
    }
    VFillPageList(pContext->pLogic, FALSE);
    VLayoutPaperGroup(pContext);
    VEnableMediaTypeForPageKind(pContext);
    VFillSourceCombo(pContext, ISelectedPageKind(pContext));
    VNotifyPageChanged(hDlg, pContext);
    m_controls.VRepaint(hDlg, IDC_BTN_PREVIEW_PORT, IDC_BTN_PREVIEW_LAND, FALSE);
}

// ---------------------------------------------------------------------------------------------
// Orientation
// ---------------------------------------------------------------------------------------------
// A click on the sample page turns it: landscape becomes portrait, anything else landscape.
void CZQPaperQualityTab::VOnPreviewClick(HWND hDlg, PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    const LONG selection = logic.WorkDM()->wOrientation == 2 ? 0 : 1;
    SwitchOrientation(pContext, m_pCUIParam, selection == 1);
    if (logic.BIsLargeFormat()) {
        CheckRadioButton(hDlg, IDC_RB_PORTRAIT, IDC_RB_LANDSCAPE, selection == 1 ? IDC_RB_LANDSCAPE : IDC_RB_PORTRAIT);
        VShowPaperTexts(pContext, FALSE, TRUE);
    }
    VNotifyPageChanged(hDlg, pContext);
    VSetDocumentSizeText(pContext);
    m_controls.VRepaint(hDlg, IDC_STA_MEDIA_SIZE_DIMENSIONS, IDC_STA_MEDIA_SIZE_DIMENSIONS, TRUE);
    m_controls.VRepaint(hDlg, IDC_BTN_PREVIEW_PORT, IDC_BTN_PREVIEW_LAND, TRUE);
    VShowPaperTexts(pContext, TRUE, FALSE);
    m_controls.VRepaint(hDlg, IDC_PREVIEW_DIMENSIONS, IDC_PREVIEW_DIMENSIONS, FALSE);
    // Two or four pages on a sheet lie across it: the other picture takes the focus.
    SetFocus(GetDlgItem(hDlg, ShownPreviewId(*logic.WorkDM())));
}

void CZQPaperQualityTab::VOnOrientationRadio(HWND hDlg, int iCtrlId, PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    if (!logic.BIsLargeFormat() || !Checked(GetDlgItem(hDlg, iCtrlId))) return;
    const POEMCUIPPARAM param = m_pCUIParam;
    const bool landscape = iCtrlId == IDC_RB_LANDSCAPE;
    POPTITEM own = nullptr;
    if (DWFindOemOptItemByPubId(param, kOemPubOrientation, &own) == ZQOPT_OK && own) {
        own->Sel = landscape ? 1 : 0;
        own->Flags |= OPTIF_CHANGED;
        DWSelectPubOption(param, DMPUB_ORIENTATION, 0, landscape ? 1 : 0);
    }
    logic.WorkDM()->wOrientation = landscape ? 2 : 1;
    CheckRadioButton(hDlg, IDC_RB_PORTRAIT, IDC_RB_LANDSCAPE, iCtrlId);
    VNotifyPageChanged(hDlg, pContext);
    VSetDocumentSizeText(pContext);
    m_controls.VRepaint(hDlg, IDC_STA_MEDIA_SIZE_DIMENSIONS, IDC_STA_MEDIA_SIZE_DIMENSIONS, TRUE);
    VShowPaperTexts(pContext, TRUE, TRUE);
    m_controls.VRepaint(hDlg, IDC_BTN_PREVIEW_PORT, IDC_BTN_PREVIEW_LAND, FALSE);
}

// ---------------------------------------------------------------------------------------------
// Standard or custom quality options of the large-format printer
// ---------------------------------------------------------------------------------------------
// The choice itself is no change of the page: the slider or the custom dialog makes it.
void CZQPaperQualityTab::VOnQualityOptions(HWND hDlg, int iCtrlId, PageContext* pContext) {
    const POEMCUIPPARAM param = m_pCUIParam;
    const bool standard = iCtrlId == IDC_RB_STNDARD_OPTIONS;
    DWSelectOptionByIndex(param, L"ZQLQJPQSettings", standard ? 0 : 1, OEMCUIP_DOCPROP);
    for (ZQPqControl c : {kCtlQualitySlider, kCtlQualityLabel, kCtlSpeedLabel}) EnableWindow(m_controls.H(c), standard);
    EnableWindow(m_controls.H(kCtlQualitySettings), !standard);
    CheckRadioButton(hDlg, IDC_RB_STNDARD_OPTIONS, IDC_RB_CUSTOM_OPTIONS, iCtrlId);
    if (!standard ||
        DWSelectOptionByIndex(param, zqkw::kPrintQualityGroup, m_state.iSliderPosition, OEMCUIP_DOCPROP) != ZQOPT_OK ||
        !RulesLoaded(pContext))
        return;
    RunQualityMacros(pContext, m_pCUIParam, true);
    VRefreshQualityGroup(pContext);
}

// ---------------------------------------------------------------------------------------------
// Units of the dimension texts
// ---------------------------------------------------------------------------------------------
void CZQPaperQualityTab::VOnUnitToggle(HWND hDlg, int iCtrlId, PageContext* pContext) {
    ZQUIDevmode& work = *WorkOf(pContext);
    work.dwUnitMm = work.dwUnitMm == 0 ? 1 : 0;
    const BOOL documentOnOther = work.dwPrintDocOn == 1;
    HWND paper = m_controls.H(kCtlPaperLabel), document = m_controls.H(kCtlDocSizeLabel);
    switch (iCtrlId) {
        case IDC_STA_MEDIA_SIZE_DIMENSIONS:
            VSetDocumentSizeText(pContext);
            VShowPaperTexts(pContext, TRUE, TRUE);
            m_controls.VRepaint(hDlg, IDC_STA_MEDIA_SIZE_DIMENSIONS, IDC_STA_MEDIA_SIZE_DIMENSIONS, FALSE);
            return;
        case IDC_PREVIEW_DIMENSIONS:
            VSetPreviewPaperText(&work, pContext->pCaps, paper, 0);
            if (documentOnOther) VSetPreviewDocSizeText(&work, pContext->pCaps, document);
            break;
        default:
            VSetPreviewDocSizeText(&work, pContext->pCaps, document);
            VSetPreviewPaperText(&work, pContext->pCaps, paper, 0);
            break;
    }
    VSetDocumentSizeText(pContext);
    m_controls.VRepaint(hDlg, IDC_STA_MEDIA_SIZE_DIMENSIONS, IDC_STA_MEDIA_SIZE_DIMENSIONS, TRUE);
}

// ---------------------------------------------------------------------------------------------
// Dialogs and boxes
// ---------------------------------------------------------------------------------------------
void CZQPaperQualityTab::VOnImageEnhancement(HWND hDlg, PageContext* pContext) {
    CZQImageEnhanceDlg* enhance = pContext->pImageEnhance;
    if (!enhance) return;
    enhance->VSetParam(m_pCUIParam);
    enhance->VSetResourceModule(m_hResModule);
    const BOOL rightToLeft = pContext->pLogic->SheetState()->bRtl;
    if (enhance->IDoModal(hDlg, pContext, rightToLeft) == IDOK) VNotifyPageChanged(hDlg, pContext);
}

void CZQPaperQualityTab::VOnCustomPaper(HWND hDlg, PageContext* pContext) {
    m_dialogs.customPaper.IDoModal(hDlg, pContext, pContext->pLogic->SheetState()->bRtl);
}

void CZQPaperQualityTab::VOnCustomQuality(HWND hDlg, PageContext* pContext) {
    m_dialogs.customQuality.VSetParam(m_pCUIParam);
    m_dialogs.customQuality.VSetResourceModule(m_hResModule);
    m_dialogs.customQuality.IDoModal(hDlg, pContext, pContext->pLogic->SheetState()->bRtl);
}

void CZQPaperQualityTab::VOnMargins(HWND hDlg, PageContext* pContext) {
    m_dialogs.margins.VSetParam(m_pCUIParam);
    m_dialogs.margins.VSetResourceModule(m_hResModule);
    // A cancelled dialog keeps what its layout radios and orientation toggle selected: the sheet
    // hears of it as of an OK.
    if (m_dialogs.margins.IDoModal(hDlg, pContext, pContext->pLogic->SheetState()->bRtl) != 0)
        VNotifyPageChanged(hDlg, pContext);
    VFillPreviewSettings(pContext);
    if (const ZQUIDevmode* work = WorkOf(pContext))
        VSetPreviewPaperText(work, pContext->pCaps, m_controls.H(kCtlPaperLabel), 0);
    m_controls.VRepaint(hDlg, IDC_BTN_PREVIEW_PORT, IDC_BTN_PREVIEW_LAND, TRUE);
}

void CZQPaperQualityTab::VOnConstraintInfo() {
    WCHAR text[kResStringChars], caption[kResStringChars];
    if (!BLoadResString(6038, text))
        ZQCopyText(text, kResStringChars,
                   L"Some options cannot be selected because incompatible finishing options have been chosen. Go to "
                   L"the Finishing tab if you want to change those options.");
    if (!BLoadResString(6037, caption)) ZQCopyText(caption, kResStringChars, L"Options cannot be combined");
    m_constraintButton.IMessageBox(caption, text, MB_ICONINFORMATION | MB_OK);
}
