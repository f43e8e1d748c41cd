// The Features page's lists: print quality, paper source and type (with the maker's media tool and
// the media-type tree), paper size (with the paper-size tree and the custom paper size), the paper
// the document prints on, page order, pages per sheet, booklets, two-sided printing and the photo
// fix.
#include <cwchar>

#include "common/zqkeywords.h"
#include "common/zqstrings.h"
#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"
#include "pages/features/zqfeaturespage.h"
#include "pages/zqpageasks.h"
#include "pages/zqpageitems.h"
#include "preview/zqpreview.h"
#include "res/zqfeaturesids.h"

using namespace zqpage;

namespace {

// The list's chosen entry is the status module's string (else the English text; without one a
// missing string matches nothing), compared as it stands or without regard to case.
bool ChosenIs(CZQCommon& texts, HWND hList, INT id, PCWSTR pszEnglish, bool bAnyCase) {
    WCHAR text[256], label[CZQCommon::kResStringChars] = {};
    if (!SelectedText(hList, text)) return false;
    if (!texts.BLoadResString(id, label) && pszEnglish) ZQCopyText(label, CZQCommon::kResStringChars, pszEnglish);
    return label[0] && (bAnyCase ? ZQEqualNoCase(text, label) : lstrcmpW(text, label) == 0);
}

// The core driver's item takes the option and hears of it at once (the caller names the selection it
// had).
void ChooseInItem(POEMCUIPPARAM pParam, POPTITEM pItem, LONG lSel, LONG lPrevious) {
    if (!pParam->poemuiobj || !pParam->poemuiobj->pOemUIProcs) return;
    pItem->Sel = lSel;
    pItem->Flags |= OPTIF_CHANGED;
    pParam->poemuiobj->pOemUIProcs->DrvUpdateUISetting(pParam->poemuiobj, pItem, static_cast<DWORD>(lPrevious),
                                                       OEMCUIP_DOCPROP);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Print quality and photo fix
// ---------------------------------------------------------------------------------------------
void CZQFeaturesTab::VOnQuality(PageContext* pContext) {
    const POEMCUIPPARAM param = m_pCUIParam;
    WCHAR text[256];
    POPTITEM group = FeatureItem(param, zqkw::kPrintQualityGroup);
    if (SelectedText(m_controls.Item(IDC_CBO_PRINT_QUALITY), text) && text[0] && group &&
        DWSelectOptionByName(param, group, text, OEMCUIP_DOCPROP) == ZQOPT_OK && RulesLoaded(pContext)) {
        m_quality.VApplyQualityGroupRule(m_layout.BOptionContains(zqkw::kMediaType, L"_CD_"));
        RunQualityMacros(pContext, param, true);
    }
    // Colour by the printer's own matching keeps the photo fix its macros chose.
    if (OptionIs(param, zqkw::kZQInputColorSpace, L"CHROMIX") == 1)
        pContext->pLogic->IBindFeatureControl(0, zqkw::kZQPhotoFix, m_controls.Item(IDC_CBO_PHOTOFIX), nullptr,
                                              OEMCUIP_DOCPROP, CZQUILogic::kBindShow, FALSE, 0, nullptr);
    CheckColorSpaceForQuality(param);
    VUpdateQualityGroup(pContext);
    m_quality.VStoreQualityIndex(pContext);
    m_quality.BSetResolutionTexts(pContext);
}

void CZQFeaturesTab::VOnPhotoFix(PageContext* pContext) {
    const POEMCUIPPARAM param = m_pCUIParam;
    const int choice = m_controls.ISelection(IDC_CBO_PHOTOFIX);
    if (choice >= 0) DWSelectOptionByIndex(param, zqkw::kZQPhotoFix, choice, OEMCUIP_DOCPROP);
    WCHAR option[256];
    if (RulesLoaded(pContext) && ReadOption(param, zqkw::kZQPhotoFix, option))
        pContext->pRules->BRunFeatureMacros(zqkw::kZQPhotoFix, option, param);
}

// ---------------------------------------------------------------------------------------------
// Paper source and type
// ---------------------------------------------------------------------------------------------
void CZQFeaturesTab::VOnSource(PageContext* pContext) {
    // The rules return to this source after a paper-size change.
    m_pageKinds.VApplyCombosToKind(pContext);
    m_pageKinds.VSelectOtherPagesSource(pContext);
    VApplyOtherPages(pContext);
    m_pageKinds.VMarkDifferingKinds(pContext);
    m_pageKinds.VFillPageKindList(pContext->pLogic, FALSE);
    const int source = m_controls.ISelection(IDC_CBO_MEDIA_SOURCE_IS);
    pContext->pRules->VSetInputBinIndex(source == CB_ERR ? 0 : source);
    m_pageKinds.VFillKindSourceCombo(pContext);
    pContext->pLogic->VUpdateRollPreview(pContext->pPreview, pContext->pRules);
    VRepaintPreview(TRUE);
}

void CZQFeaturesTab::VOnMediaType(WPARAM wParam, PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;
    HWND list = m_controls.Item(IDC_CBO_MEDIA_TYPE_IS);
    WCHAR before[256] = {};
    ReadOption(param, zqkw::kMediaType, before);
    const LRESULT count = SendMessageW(list, CB_GETCOUNT, 0, 0);
    const LRESULT chosen = SendMessageW(list, CB_GETCURSEL, 0, 0);

    // "Add Paper..." starts the maker's media tool; the list stays on the current type.
    const bool addPaper = count >= 2 && chosen == count - 2 && Readable(param, zqkw::kZQAddCustomMedia);
    if (addPaper && BReadAddPaperPath(pContext) && m_state.szAddPaperPath[0]) {
        WCHAR command[ZQFeaturesState::kAddPaperChars];
        ZQCopyText(command, ZQFeaturesState::kAddPaperChars, m_state.szAddPaperPath);
        BLaunchProgram(wParam, command);
        VSelectCurrentMediaName(list, pContext);
    } else if (addPaper && m_state.bMediaTypePopup) {
        // Without the tool "Add Paper..." is no media type either.
        VSelectCurrentMediaName(list, pContext);
    }
    // "More..." opens the tree of every type; Cancel leaves the list on the current type.
    const bool more = m_state.bMediaTypePopup && count >= 1 && chosen == count - 1;
    if (more && RulesLoaded(pContext)) {
        if (IRunMediaPopup(pContext) == 1)
            IFillMediaTypeCombo(list, pContext, -1);
        else
            VSelectCurrentMediaName(list, pContext);
    } else if (more) {
        // "More..." is no media type: without its tree the list returns to the current one.
        VSelectCurrentMediaName(list, pContext);
    }
    WCHAR name[256];
    // The name is chosen first: a user medium's option is known only then.
    if (!more && SelectedText(list, name)) BSelectMediaByName(pContext, name);
    m_pageKinds.VApplyCombosToKind(pContext);
    m_pageKinds.VSelectOtherPagesMedia(pContext);

    WCHAR media[256] = {};
    ReadOption(param, zqkw::kMediaType, media);
    if (RulesLoaded(pContext)) {
        CZQXmlUiRules& rules = *pContext->pRules;
        const bool mediaKeyword = m_quality.BStoreMediaKeyword(m_controls.Page(), pContext) || m_state.bUserMediumChosen;
        if (mediaKeyword && m_quality.BStoreQualityKeyword(m_controls.Page(), pContext)) {
            const bool sourceMapping = Readable(param, L"ZQPaperSourceMapping");
            if (sourceMapping) m_pageKinds.VFillKindSourceCombo(pContext);
            rules.BRunFeatureMacros(zqkw::kMediaType, media, param);
            m_layout.VRecordRigidMargins(logic);
            // A type that names its own source puts the source list, and the other pages, on it.
            if (sourceMapping) {
                logic.IBindFeatureControl(DMPUB_DEFSOURCE, nullptr, m_controls.Item(IDC_CBO_MEDIA_SOURCE_IS), nullptr,
                                          OEMCUIP_DOCPROP, CZQUILogic::kBindShow, FALSE, 0, nullptr);
                m_pageKinds.VStoreOtherPagesSource(pContext);
                m_pageKinds.VApplyCombosToKind(pContext);
            }
            RunQualityMacros(pContext, param, false);
            VApplyUserMediumQuality(pContext);
        }
        logic.IBindFeatureControl(0, zqkw::kZQPhotoFix, m_controls.Item(IDC_CBO_PHOTOFIX), nullptr, OEMCUIP_DOCPROP,
                                  CZQUILogic::kBindShow, FALSE, 0, nullptr);
        // The helper file asks for these two rules twice, and both run twice.
        for (int pass = 0; pass < 2; ++pass) {
            if (FeatureItem(param, zqkw::kFaceControl)) rules.BRunMacro(L"macro_MediaType_to_FaceControl", media, param);
            if (!logic.BIsBannerPaper()) rules.BRunMacro(L"macro_BannerMediaType_to_BannerPaperSize", media, param);
        }
        m_dest.VFillDestPaperList(pContext);
        VRefreshResizeGroup(m_controls.Page(), pContext, kRefreshShow);
        m_dest.VSeedDestinationList(true);
        if (m_layout.BOptionContains(zqkw::kMediaType, L"_CD_")) {
            VApplyCdMedia(m_controls.Page(), pContext);
            rules.BRunMacro(L"macro_CD_DVD", media, param);
        } else {
            EnableWindow(m_controls.Item(IDC_CBO_PAGES_PER_SHEET), TRUE);
            VUpdatePageOrderState(m_controls.Page());
            // One-sided printing makes no booklets.
            if (m_controls.ISelection(IDC_CBO_TWO_SIDED_PRINTING) == 0) {
                logic.VEndBooklet();
                EnableWindow(m_controls.Item(IDC_CBO_BOOKLET_PRINTING), FALSE);
            }
        }
        if (logic.BIsBannerPaper()) {
            HWND box = m_controls.Item(IDC_CHECK_BORDERLESS_PHOTO);
            SetCheck(box, false);
            EnableWindow(box, FALSE);
        }
        // Leaving the banner media leaves the banner paper sizes too.
        if (IsBannerKeyword(before) && !IsBannerKeyword(media) && !work.dwDiffPaper)
            rules.BRunMacro(L"macro_Mediatype_to_PaperSize", media, param);
        m_quality.BSetResolutionTexts(pContext);
        VUpdateQualityGroup(pContext);
    }
    if (OptionIs(param, L"ZQBlackOnlyWithPlain", L"TRUE") == 1 && lstrcmpW(media, zqkw::kPlainMedia) != 0)
        m_quality.VApplyGrayScaleQuality(pContext);
    // Colour management an application or the system keeps has no automatic media type.
    WCHAR space[256];
    if (ReadOption(param, zqkw::kZQInputColorSpace, space) &&
        (lstrcmpW(space, L"MANAGEDBYAPPLN") == 0 || lstrcmpW(space, L"ICM") == 0) && lstrcmpW(media, L"AUTOMATIC") == 0)
        DWSelectOptionByIndex(param, zqkw::kZQInputColorSpace, 0, OEMCUIP_DOCPROP);
    m_pageKinds.VFillKindSourceCombo(pContext);
    m_pageKinds.VMarkDifferingKinds(pContext);
    m_pageKinds.VFillPageKindList(pContext->pLogic, FALSE);
    ResolveStaplingConflict(param, DMPUB_MEDIATYPE, PostScript(pContext));
    VRefocusPaperSize();
    VRepaintPreview(TRUE);
}

// ---------------------------------------------------------------------------------------------
// Paper size and the paper the document prints on
// ---------------------------------------------------------------------------------------------
void CZQFeaturesTab::VOnPaperSize(HWND hDlg, PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;
    const BOOL rightToLeft = logic.SheetState()->bRtl;
    HWND list = m_controls.Item(IDC_CBO_MEDIA_SIZE_IS);
    const bool postScript = PostScript(pContext);
    const PCWSTR pageFeature = postScript ? zqkw::kPageSize : zqkw::kPaperSize;
    m_state.bRestoreSourceOnce = TRUE;

    // "More..." opens the tree of every paper size; Cancel leaves the list on the current paper.
    if (m_state.bPaperSizePopup && RulesLoaded(pContext) && ChosenIs(*this, list, 3119, L"More...", false) &&
        m_trees.IRunPaperSizes(hDlg, pContext, *this, FALSE, rightToLeft) != 1) {
        POPTITEM form = PubItem(param, DMPUB_FORMNAME);
        CZQTreePopups::VSelectExact(list, form ? OptionName(form, static_cast<int>(form->Sel)) : nullptr);
    }
    WCHAR before[256] = {}, after[256] = {};
    ReadOption(param, pageFeature, before);
    VApplyPaperSize(pContext);
    ReadOption(param, pageFeature, after);
    IApplyPaperRules(pContext);
    VSetDocumentSizeText(pContext);
    logic.VCheckMediaWidthSensor(1, after);
    ResolveStaplingConflict(param, DMPUB_MEDIATYPE, postScript);

    // A borderless paper prints a borderless photo.
    const BOOL borderless = logic.BIsBorderlessPaper();
    HWND box = m_controls.Item(IDC_CHECK_BORDERLESS_PHOTO);
    if (!borderless && logic.DWMarginChoice(1))
        DWSelectOptionByIndex(param, zqkw::kZQMinimizeMargins, static_cast<int>(logic.DWMarginValue(1)),
                              OEMCUIP_DOCPROP);
    SetCheck(box, borderless != FALSE);
    DWSelectOptionByIndex(param, zqkw::kZQBorderLessPhoto, borderless ? 1 : 0, OEMCUIP_DOCPROP);

    if (RulesLoaded(pContext)) {
        CZQXmlUiRules& rules = *pContext->pRules;
        if (IsBannerKeyword(before) && !IsBannerKeyword(after)) rules.BRunMacro(L"macro_PaperSize_to_Mediatype", after, param);
        WCHAR paper[256];
        if (ReadOption(param, pageFeature, paper) && (postScript || !m_state.bMediaLocked))
            rules.BRunFeatureMacros(pageFeature, paper, param);
        m_layout.VRecordRigidMargins(logic);
        WCHAR name[256];
        if (SelectedText(list, name) && logic.BIsNonStandardBannerName(after, name))
            rules.BRunMacro(L"macro_custom_paper_size", after, param);
        m_quality.BSetResolutionTexts(pContext);
        VSelectMediaTypeEntry(pContext);
        VUpdateQualityGroup(pContext);
    }
    m_pageKinds.VFillKindSourceCombo(pContext);
    m_pageKinds.VMarkDifferingKinds(pContext);
    m_pageKinds.VFillPageKindList(pContext->pLogic, FALSE);
    m_pageKinds.VStoreOtherPagesSource(pContext);
    m_pageKinds.VApplyCombosToKind(pContext);
    logic.IApplyCustomDuplexRange();
    VUpdateControlState(pContext);
    m_pageKinds.VEnableKindMediaType(pContext);

    // "Custom" opens the custom paper size dialog; whatever its end, the page follows the paper.
    if (ChosenIs(*this, list, 1018, nullptr, true)) m_customPaper.IDoModal(hDlg, pContext, rightToLeft);

    DWFillSourceAndMediaCombos(pContext);
    logic.IBindFeatureControl(DMPUB_DEFSOURCE, nullptr, m_controls.Item(IDC_CBO_MEDIA_SOURCE_IS), nullptr,
                              OEMCUIP_DOCPROP, CZQUILogic::kBindShow, FALSE, 0, nullptr);
    VSelectMediaTypeEntry(pContext);
    if (m_state.bPaperSizePopup) VFillPaperSizeCombo(list, pContext);
    m_dest.VFillDestPaperList(pContext);
    VShowMarginControls(pContext);
    VApplyBorderlessPhoto(pContext);
    VRefreshResizeGroup(hDlg, pContext, kRefreshShow);
    m_dest.VSeedDestinationList(false);
    PageContext* paperContext = nullptr;
    if (auto* paper = ZQSheetPage<IZQPaperQualityPage>(pContext, kPagePaperQuality, &paperContext); paper && paperContext)
        paper->VRefreshCoverControls(paperContext);
    VRefreshLayoutGroup(hDlg, pContext, kRefreshShow);
    if (m_layout.BTwoSidedChosen() && m_layout.BOptionContains(zqkw::kPaperSize, L"HAGAKI"))
        m_layout.VSetPreservedLayout(zqkw::kZQAutoDuplexScaling, false);
    if (m_layout.BOptionContains(zqkw::kMediaType, L"_CD_")) {
        VApplyCdMedia(hDlg, pContext);
    } else {
        EnableWindow(m_controls.Item(IDC_CBO_PAGES_PER_SHEET), TRUE);
        // The mirror image follows the option the page shows first: its first option mirrors.
        WCHAR mirror[256] = {};
        logic.VGetInitialFeatureOption(zqkw::kZQMirrorPrint, mirror);
        if (mirror[0]) {
            DWSelectOptionByKeyword(param, zqkw::kZQMirrorPrint, mirror, OEMCUIP_DOCPROP);
            const bool off = ZQEqualNoCase(mirror, L"FALSE");
            work.dwMirror = off ? 0 : 1;
            DWSelectOptionByIndex(param, zqkw::kZQMirrorPrint, off ? 1 : 0, OEMCUIP_DOCPROP);
        }
    }
    VRepaintPreview(FALSE);
}

void CZQFeaturesTab::VOnDestPaper(PageContext* pContext) {
    ZQUIDevmode& work = *WorkOf(pContext);
    const POEMCUIPPARAM param = m_pCUIParam;
    HWND destination = m_controls.Item(IDC_CBO_DEST_PAPER_SIZE);
    // The driver's constraints judge two-sided printing on the destination paper, chosen in the form
    // item for the question only.
    WCHAR text[256];
    POPTITEM form = PubItem(param, DMPUB_FORMNAME);
    if (form && SelectedText(destination, text)) {
        const LONG kept = form->Sel;
        for (int i = 0; i < IGetOptionCount(form); ++i) {
            const PCWSTR name = OptionName(form, i);
            if (!name || lstrcmpW(name, text) != 0) continue;
            ChooseInItem(param, form, i, kept);
            if (work.wDuplex != 1) {
                const bool conflict = m_layout.BDuplexConflicts();
                work.dwDuplexConflict = conflict ? 1 : 0;
                if (conflict) work.dwManualDuplex = 1;
            }
            ChooseInItem(param, form, kept, i);
            break;
        }
    }
    // The PostScript driver scales to the destination itself; a paper it does not list is a custom
    // size.
    if (FeatureItem(param, L"ZQPSAutoScaling") &&
        pContext->pLogic->IBindFeatureControl(0, L"ZQPSAutoScaling", destination, nullptr, OEMCUIP_DOCPROP,
                                              CZQUILogic::kBindApply, FALSE, 0, nullptr) == 3)
        DWSelectOptionByKeyword(param, L"ZQPSAutoScaling", L"ZQCustomPaperSize", OEMCUIP_DOCPROP);
    // The paper printed on, and the scale that fits the document on it.
    const PrinterCaps* caps = ZQPrinterCapsLists(pContext->pCaps, kCapsPapers);
    m_state.iDestIndex = m_controls.ISelection(IDC_CBO_DEST_PAPER_SIZE);
    work.dwPrintedOnPaper = m_dest.WGetDestPaperId(caps ? caps->dwPaperCount : 0, m_state.iDestIndex, caps ? caps->pPaperIds : nullptr);
    if (work.dwPrintDocOn && work.dwScaleToFit) work.dwScalePercent = static_cast<uint32_t>(m_dest.IGetFitToPaperPercent(pContext));
    VRepaintPreview(FALSE);
}

// ---------------------------------------------------------------------------------------------
// Paper saving: page order, pages per sheet, booklets, two-sided printing
// ---------------------------------------------------------------------------------------------
void CZQFeaturesTab::VOnPageOrder(PageContext* pContext) {
    if (const int order = m_controls.ISelection(IDC_CBO_PAGE_ORDER); order >= 0)
        WorkOf(pContext)->dwPageOrderIndex = static_cast<uint32_t>(order);
    VRepaintPreview(FALSE);
}

void CZQFeaturesTab::VOnPagesPerSheet(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;
    const int setting = IListIndexToSetting(m_controls.ISelection(IDC_CBO_PAGES_PER_SHEET));
    if (logic.BIsPosterPrinting()) DWSelectOptionByIndex(param, zqkw::kZQPosterPrintingOptionSUI, 0, OEMCUIP_DOCPROP);
    // Booklets print two pages on a sheet.
    if (setting != 2 && logic.DWBooklet()) {
        logic.VEndBooklet();
        SendMessageW(m_controls.Item(IDC_CBO_BOOKLET_PRINTING), CB_SETCURSEL, 0, 0);
        EnableWindow(m_controls.Item(IDC_CHK_FLIP_PAGES_UP), TRUE);
    }
    if (setting != 1) {
        // Several pages to a sheet print at their size: no borderless, banner or scaled paper.
        if (logic.BNeedsScaleFromLargePaper(pContext->pCaps) || logic.BIsBannerPaper() || logic.BIsBorderlessPaper()) {
            logic.VUpdateBorderlessForPageSize(pContext->pRules);
            if (POPTITEM source = PubItem(param, DMPUB_DEFSOURCE))
                SendMessageW(m_controls.Item(IDC_CBO_MEDIA_SOURCE_IS), CB_SETCURSEL, static_cast<WPARAM>(source->Sel), 0);
        }
        work.dwPrintDocOn = 0;
        work.dwScaleToFit = 0;
        work.dwScalePercent = 100;
        DWSelectOptionByIndex(param, zqkw::kZQCenterOnPage, 0, OEMCUIP_DOCPROP);
    } else if (work.dwPrintDocOn == 0) {
        work.dwScaleToFit = 1;
    }
    VRefreshResizeGroup(m_controls.Page(), pContext, kRefreshShow);
    VUpdateDuplexUnitControls(pContext);
    VUpdatePageOrderState(m_controls.Page());
    VUpdateAutoDuplexScaling(pContext);
    work.dwPagesPerSheet = static_cast<uint32_t>(setting);
    work.wDuplex = WGetTwoSidedBinding(pContext);
    work.dwBooklet = logic.DWBooklet();
    VRefreshLayoutGroup(m_controls.Page(), pContext, kRefreshShow);
    VRepaintPreview(FALSE);
}

void CZQFeaturesTab::VOnBooklet(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const int booklet = m_controls.ISelection(IDC_CBO_BOOKLET_PRINTING);
    logic.VSetBooklet(booklet > 0 ? static_cast<DWORD>(booklet) : 0);
    HWND pages = m_controls.Item(IDC_CBO_PAGES_PER_SHEET);
    if (logic.DWBooklet()) {
        // A booklet prints two pages, fitted, on each side; its covers are the booklet's own.
        SendMessageW(pages, CB_SETCURSEL, static_cast<WPARAM>(ISettingToListIndex(2)), 0);
        work.dwPagesPerSheet = 2;
        if (work.dwPrintDocOn) work.dwScaleToFit = 1;
        work.dwScalePercent = 100;
        work.dwBackCover = 0;
        work.dwBackCoverFeeder = 0;
    } else if (work.dwBooklet) {
        SendMessageW(pages, CB_SETCURSEL, static_cast<WPARAM>(ISettingToListIndex(1)), 0);
        work.dwPagesPerSheet = 1;
        if (!logic.BNeedsScaleFromLargePaper(pContext->pCaps)) work.dwPrintDocOn = work.dwScaleToFit = 0;
    }
    VUpdateBookletState(pContext);
    if (m_layout.BOptionContains(zqkw::kPaperSize, L"HAGAKI")) m_layout.VSetPreservedLayout(zqkw::kZQUseAutoDuplexUnit, false);
    work.dwBooklet = logic.DWBooklet();
    work.wDuplex = WGetTwoSidedBinding(pContext);
    VRefreshPaperPageList(pContext);
    logic.VCheckMediaWidthSensor(3, nullptr);
    VRepaintPreview(TRUE);
}

void CZQFeaturesTab::VOnTwoSided(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;
    const bool pcl3 = work.dwPdl == kPdlPcl3;
    const bool reverseOrder = Readable(param, L"ZQOutputOrderReverse");
    const int entry = m_controls.ISelection(IDC_CBO_TWO_SIDED_PRINTING);
    if (entry == 1 || entry == 2) {
        work.wDuplex = WGetTwoSidedBinding(pContext);
        // Two-sided printing ends posters.
        if (FeatureItem(param, zqkw::kZQPosterPrintingOptionSUI)) {
            SendMessageW(m_controls.Item(IDC_CBO_PAGES_PER_SHEET), CB_SETCURSEL, 0, 0);
            DWSelectOptionByIndex(param, zqkw::kZQPosterPrintingOptionSUI, 0, OEMCUIP_DOCPROP);
        }
        if (reverseOrder && pcl3) logic.ISetPageOrderItems(TRUE);
        DWSelectOptionByIndex(param, zqkw::kZQCenterOnPage, 0, OEMCUIP_DOCPROP);
        // A source two-sided printing cannot take gives way to the first source.
        POPTITEM duplex = PubItem(param, DMPUB_DUPLEX);
        POPTITEM manual = FeatureItem(param, PostScript(pContext) ? L"JCLZQPrintOnBothSidesManually"
                                                                   : L"ZQPrintOnBothSidesManually");
        POPTITEM source = PubItem(param, DMPUB_DEFSOURCE);
        if (duplex && manual && source) {
            const bool unitConflict = (duplex->Sel != 0 && (OptionFlags(duplex, 1) & OPTPF_OVERLAY_WARNING_ICON)) ||
                                      (OptionFlags(duplex, 2) & OPTPF_OVERLAY_WARNING_ICON);
            const bool manualConflict = (OptionFlags(manual, 1) & OPTPF_OVERLAY_WARNING_ICON) &&
                                        (OptionFlags(source, source->Sel) & OPTPF_OVERLAY_WARNING_ICON);
            if (unitConflict || manualConflict) {
                PageContext* paperContext = nullptr;
                if (auto* paper = ZQSheetPage<IZQPaperQualityPage>(pContext, kPagePaperQuality, &paperContext);
                    paper && paperContext)
                    paper->VFillSourceCombo(paperContext, kKindNone);
                DWSelectPubOption(param, DMPUB_DEFSOURCE, 0, 0);
            }
        }
        // "Automatic" prints with the duplex unit, any other entry by hand.
        const bool automatic = ChosenIs(*this, m_controls.Item(IDC_CBO_TWO_SIDED_PRINTING), 4823, L"Automatic", false);
        if (DWSelectOptionByIndex(param, zqkw::kZQUseAutoDuplexUnit, automatic ? 1 : 0, OEMCUIP_DOCPROP) == ZQOPT_OK) {
            if (automatic) work.dwManualDuplex = 0;
            else if (work.wDuplex != 1) work.dwManualDuplex = 1;
        }
        logic.VUpdateDuplexState();
    } else if (entry == 0) {
        work.wDuplex = 1;
        // One-sided printing ends a booklet and its two pages on a sheet.
        if (logic.DWBooklet()) {
            logic.VEndBooklet();
            SendMessageW(m_controls.Item(IDC_CBO_PAGES_PER_SHEET), CB_SETCURSEL,
                         static_cast<WPARAM>(ISettingToListIndex(1)), 0);
            work.dwPagesPerSheet = 1;
            if (!logic.BNeedsScaleFromLargePaper(pContext->pCaps)) work.dwPrintDocOn = work.dwScaleToFit = 0;
            SendMessageW(m_controls.Item(IDC_CBO_BOOKLET_PRINTING), CB_SETCURSEL, 0, 0);
        }
        if (reverseOrder && pcl3) logic.ISetPageOrderItems(FALSE);
        DWSelectPubOption(param, DMPUB_DUPLEX, 0, 0);
        logic.VUpdateDuplexState();
    }
    m_dest.VFillDestPaperList(pContext);
    VRefreshResizeGroup(m_controls.Page(), pContext, kRefreshShow);
    m_dest.VSeedDestinationList(false);
    VUpdateManualDuplexState(pContext);
    const bool twoSided = entry == 1 || entry == 2;
    const bool postcard = m_layout.BOptionContains(zqkw::kPaperSize, L"HAGAKI");
    if (logic.BIsBannerPaper() || (twoSided && !postcard && logic.BIsBorderlessPaper()))
        logic.VUpdateBorderlessForPageSize(pContext->pRules);
    work.dwBooklet = logic.DWBooklet();
    VUpdateDuplexUnitControls(pContext);
    logic.VUpdateDuplexState();
    VUpdateAutoDuplexScaling(pContext);
    IApplyMarginGroup(pContext);
    // Pages turned over by hand are not stapled.
    if (work.dwManualDuplex) DWSelectOptionByIndex(param, StaplingFeature(PostScript(pContext)), 0, OEMCUIP_DOCPROP);
    logic.IApplyCustomDuplexRange();
    VUpdateTwoSidedLabel(pContext);
    VRefreshPaperPageList(pContext);
    if (logic.BNeedsScaleFromLargePaper(pContext->pCaps)) {
        const PrinterCaps* caps = ZQPrinterCapsLists(pContext->pCaps, kCapsPapers);
        if (caps) BValidatePrintedOnPaper(pContext, caps->dwPaperCount, caps->pPaperIds);
    }
    VRefreshLayoutGroup(m_controls.Page(), pContext, kRefreshShow);
    if (twoSided && postcard) m_layout.VSetPreservedLayout(zqkw::kZQUseAutoDuplexUnit, false);
    if (m_layout.BOptionContains(zqkw::kMediaType, L"_CD_")) VApplyCdMedia(m_controls.Page(), pContext);
    else EnableWindow(m_controls.Item(IDC_CBO_PAGES_PER_SHEET), TRUE);
    VRepaintPreview(FALSE);
}

WORD CZQFeaturesTab::WGetTwoSidedBinding(PageContext* pContext) {
    // A list without a two-sided entry chosen prints on one side.
    const int entry = m_controls.ISelection(IDC_CBO_TWO_SIDED_PRINTING);
    if (entry != 1 && entry != 2) return 1;
    const ZQUIDevmode& work = *WorkOf(pContext);
    return WGetDuplexBinding(IListIndexToSetting(m_controls.ISelection(IDC_CBO_PAGES_PER_SHEET)),
                             static_cast<short>(work.wOrientation), m_controls.BChecked(IDC_CHK_FLIP_PAGES_UP),
                             pContext->pLogic->DWBooklet() != 0);
}

void CZQFeaturesTab::VRefreshPaperPageList(PageContext* pContext) {
    if (auto* paper = ZQSheetPage<IZQPaperQualityPage>(pContext, kPagePaperQuality)) paper->VFillPageList(pContext->pLogic, FALSE);
}
