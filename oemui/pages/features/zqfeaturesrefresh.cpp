// The Features page and its settings: the paper and quality half set from the settings (mode 0) and
// stored back (mode 2), the groups this printer and layout mode offer, closed up without gaps, the
// fixed entries of the layout lists, the document's size, and the paper-size list with its Letter
// fall-back.
#include "common/zqkeywords.h"
#include "common/zqstrings.h"
#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"
#include "pages/features/zqfeaturespage.h"
#include "pages/zqpageasks.h"
#include "pages/parts/zqpaperslots.h"
#include "pages/zqpageitems.h"
#include "res/zqfeaturesids.h"

using namespace zqpage;

namespace {

// Between a label and its list; between any other two controls.
constexpr int kLabelGap = 2;
constexpr int kGap = 4;

// The settings' start page of the Features page.
constexpr int32_t kFeaturesStartPage = -999;

// The resolution read-out beside the sample page.
constexpr int kResolutionIds[] = {IDC_STA_RENDER_DPI, IDC_COLOR_INPUT_DPI, IDC_COLOR_OUTPUT,
                                  IDC_STA_RENDER,     IDC_COLOR_INPUT,     IDC_COLOR_OUTPUT_DPI};

}  // namespace

// ---------------------------------------------------------------------------------------------
// Dispatcher
// ---------------------------------------------------------------------------------------------
void CZQFeaturesTab::VRefreshPaperQualityGroup(HWND hDlg, PageContext* pContext, int iMode) {
    if (iMode == kRefreshShow)
        VSetAllControls(pContext);
    else if (iMode == kRefreshStore)
        VApplyAllControls(hDlg, pContext);
}

// ---------------------------------------------------------------------------------------------
// Mode 0
// ---------------------------------------------------------------------------------------------
void CZQFeaturesTab::VSetAllControls(PageContext* pContext) {
    ZQUIDevmode* work = WorkOf(pContext);
    if (!work || !m_pCUIParam || !m_controls.Page()) return;
    CZQUILogic& logic = *pContext->pLogic;
    const POEMCUIPPARAM param = m_pCUIParam;

    // The sources, the printer's first bin first, on the current one.
    HWND sources = m_controls.Item(IDC_CBO_MEDIA_SOURCE_IS);
    SendMessageW(sources, CB_RESETCONTENT, 0, 0);
    CZQPaperSlots::VFillSourceList(sources, logic, pContext->pCaps);
    logic.IBindFeatureControl(DMPUB_DEFSOURCE, nullptr, sources, nullptr, OEMCUIP_DOCPROP, CZQUILogic::kBindShow, FALSE,
                              0, nullptr);
    VShowPageKinds(pContext);

    // The extended margins as the sheet opened with them.
    if (logic.m_dwExtendedMargins == 0 || logic.m_dwExtendedMargins == 1)
        m_controls.VSetCheck(IDC_CHK_EXTENDED_MARGINS, logic.m_dwExtendedMargins == 1);
    const bool different = work->dwDiffPaper != 0;
    m_controls.VSetCheck(IDC_CHK_MEDIA_PAPER_DIFF, different);
    EnableWindow(m_controls.Item(IDC_LB_MEDIA_PAPER_OPTIONS), different);

    logic.IBindFeatureControl(DMPUB_FORMNAME, nullptr, m_controls.Item(IDC_CBO_MEDIA_SIZE_IS), nullptr, OEMCUIP_DOCPROP,
                              CZQUILogic::kBindShow, FALSE, 0, nullptr);
    VSetDocumentSizeText(pContext);
    VShowFeatureBoxes(pContext);
    VShowBorderlessBoxes(pContext);
    // A quality chosen on another page, by a quick set or by a rule's macro shows here.
    VUpdateQualityGroup(pContext);
    m_pageKinds.VClearPageKindList(pContext);

    // A paper printed scaled from a larger one makes no poster on the Finishing page either.
    if (logic.BNeedsScaleFromLargePaper(pContext->pCaps)) logic.VClearPosterFlag();
    const bool resolution = m_state.bResolutionShown && !Readable(param, zqkw::kZQSimplifiedUI);
    for (int id : kResolutionIds) m_controls.VShow(id, resolution);
    m_state.bPrintingHelp = BHasPrintingHelp(param, kPageFeatures);
    m_controls.VShow(IDC_BTN_PAPERMEDIA_PRINTINGHELP, m_state.bPrintingHelp);

    m_pageKinds.VFillPageKindList(&logic, TRUE);
    VUpdateControlState(pContext);
    m_quality.VReadQualityCheckBoxes(pContext);
    VReadLockFlags(pContext);
}

void CZQFeaturesTab::VShowPageKinds(PageContext* pContext) {
    ZQUIDevmode& work = *pContext->pLogic->WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;
    HWND sources = m_controls.Item(IDC_CBO_MEDIA_SOURCE_IS);
    const ZQPaperItems items = ZQPaperItemsOf(param, pContext);
    m_pageKinds.Slots().VRead(work, items, sources);
    const int source = CZQPaperSlots::ISourcePosition(items, sources, work.dwDefaultSourceId);
    const int media = CZQPaperSlots::IMediaTypeIndex(items, work.dwDefaultMediaId);
    const int mediaId = static_cast<int>(work.dwDefaultMediaId);
    // A cover in use goes through its own paper; the others take the document's.
    bool applied = false;
    m_controls.VSetCheck(IDC_CHK_MEDIA_BACK_COVER, work.dwBackCover != 0);
    if (work.dwBackCover) {
        VApplyBackCover(pContext);
        applied = true;
    } else {
        m_pageKinds.VSetBackCoverOff(work, items, source);
    }
    if (work.dwFrontCover) {
        VApplyFrontCover(pContext);
        applied = true;
    } else {
        m_pageKinds.Slots().VSetKind(kKindFrontCover, source, media, mediaId);
    }
    for (int kind : {kKindBackCoverFeeder, kKindFrontCoverFeeder}) {
        const int slot = CZQPaperSlots::ISlotOfKind(kind);
        if (kind == kKindBackCoverFeeder ? work.dwBackCoverFeeder : work.dwFrontCoverFeeder) {
            kind == kKindBackCoverFeeder ? VApplyBackCoverFromFeeder(pContext) : VApplyFrontCoverFromFeeder(pContext);
            applied = true;
        } else {
            m_pageKinds.Slots().VSetKind(kind, m_pageKinds.Slots().aiSource[slot], media, mediaId);
        }
    }
    const int working = kWorkingSlot;
    if (!work.dwDiffPaper) {
        DWSelectOptionByIndex(param, kBackFeederFeature, 0, OEMCUIP_DOCPROP);
        DWSelectOptionByIndex(param, kFrontFeederFeature, 0, OEMCUIP_DOCPROP);
        m_pageKinds.Slots().VSetKind(kKindFirstPage, m_pageKinds.Slots().aiSource[working], m_pageKinds.Slots().aiMedia[working], 0);
        m_pageKinds.Slots().VFollowMediaId(kKindFirstPage, items);
    }
    // Without the page-kind list the lists stand for other pages again.
    if (applied && !m_controls.Item(IDC_LB_MEDIA_PAPER_OPTIONS)) {
        m_pageKinds.VSelectOtherPagesMedia(pContext);
        m_pageKinds.VSelectOtherPagesSource(pContext);
        DWFillSourceAndMediaCombos(pContext);
        m_pageKinds.VSelectKindInCombos(pContext, m_pageKinds.Slots().aiSource[working], m_pageKinds.Slots().aiMedia[working], FALSE);
    } else if (work.dwDiffPaper) {
        const int shown = CZQPaperSlots::ISlotOfKind(work.dwFrontCoverFeeder ? kKindFrontCoverFeeder : kKindFrontCover);
        m_pageKinds.VSelectKindInCombos(pContext, m_pageKinds.Slots().aiSource[shown], m_pageKinds.Slots().aiMedia[shown], FALSE);
    } else {
        m_pageKinds.VSelectKindInCombos(pContext, m_pageKinds.Slots().aiSource[working], m_pageKinds.Slots().aiMedia[working], FALSE);
    }
}

void CZQFeaturesTab::VShowFeatureBoxes(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    const POEMCUIPPARAM param = m_pCUIParam;
    auto show = [&](PCWSTR feature, int id) {
        return logic.IBindFeatureControl(0, feature, m_controls.Item(id), nullptr, OEMCUIP_DOCPROP,
                                         CZQUILogic::kBindShow, TRUE, 0, nullptr);
    };
    show(ThriftmodeFeature(pContext), IDC_CHK_THRIFTMODE);
    show(zqkw::kPrintFinish, IDC_CHK_GLOSS);
    show(zqkw::kZQQuietPrinting, IDC_CHK_QUIET_PRINTING);
    show(L"ZQAutoEnhance", IDC_CHK_AUTO_ENHANCE);
    logic.IBindFeatureControl(0, zqkw::kZQPhotoFix, m_controls.Item(IDC_CBO_PHOTOFIX), nullptr, OEMCUIP_DOCPROP,
                              CZQUILogic::kBindShow, FALSE, 0, nullptr);
    if (!Bound(show(zqkw::kZQMaximumDetail, IDC_CHK_MAX_DETAILS))) m_controls.VShow(IDC_CHK_MAX_DETAILS, FALSE);

    WCHAR option[256];
    if (!ReadOption(param, zqkw::kZQOptimizeFor, option)) {
        for (int id : {IDC_OPTIMIZE_FOR_FEATURES, IDC_RB_DRAWING_TEXT, IDC_RB_IMAGES}) m_controls.VShow(id, FALSE);
    } else if (ZQEqualNoCase(option, L"OptimizeText") || ZQEqualNoCase(option, L"OptimizeImage")) {
        const bool text = ZQEqualNoCase(option, L"OptimizeText");
        m_controls.VSetCheck(IDC_RB_DRAWING_TEXT, text);
        m_controls.VSetCheck(IDC_RB_IMAGES, !text);
    }

    // The roll boxes mean nothing for a sheet source.
    show(zqkw::kZQDisableAutoCutter, IDC_CHK_DISABLE_AUTO_CUTTER);
    show(zqkw::kZQSaveRollPaper, IDC_CHK_SAVE_ROLL_PAPER);
    show(zqkw::kZQAutorotate, IDC_CHK_AUTOROTATE);
    const int rolls[] = {IDC_CHK_DISABLE_AUTO_CUTTER, IDC_CHK_SAVE_ROLL_PAPER, IDC_CHK_AUTOROTATE};
    if (ReadOption(param, zqkw::kInputSlot, option)) {
        const bool sheet = ZQEqualNoCase(option, zqkw::kSheet);
        for (int id : rolls) {
            if (sheet) m_controls.VSetCheck(id, FALSE);
            EnableWindow(m_controls.Item(id), !sheet);
        }
    }
    // A job sent as a 24-bit picture turns only in the full layout mode.
    if (OptionIs(param, zqkw::kZQSendJobAsBitmap, zqkw::kSleekMode24bpp) == 1) {
        ZQUIDevmode& work = *logic.WorkDM();
        const bool turns = work.dwLayoutMode == 3;
        EnableWindow(m_controls.Item(IDC_CHK_AUTOROTATE), turns);
        if (!turns) {
            DWSelectOptionByIndex(param, zqkw::kZQAutorotate, 0, OEMCUIP_DOCPROP);
            work.dwAutorotate = 0;
        }
    }
}

void CZQFeaturesTab::VShowBorderlessBoxes(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    const POEMCUIPPARAM param = m_pCUIParam;
    WCHAR option[256];
    if (!ReadOption(param, zqkw::kZQBorderLessPhoto, option)) return;
    HWND photo = m_controls.Item(IDC_CHECK_BORDERLESS_PHOTO);
    HWND fit = m_controls.Item(IDC_CHECK_BORDERLESS_AUTOFIT);
    if (ZQEqualNoCase(option, L"TRUE")) {
        logic.IBindFeatureControl(0, zqkw::kZQBorderLessPhoto, photo, nullptr, OEMCUIP_DOCPROP, CZQUILogic::kBindShow,
                                  TRUE, 0, nullptr);
        logic.IBindFeatureControl(0, zqkw::kZQBorderLessAutoFit, fit, nullptr, OEMCUIP_DOCPROP, CZQUILogic::kBindShow,
                                  TRUE, 0, nullptr);
        EnableWindow(photo, BHasBorderlessCounterpart(pContext));
        EnableWindow(fit, TRUE);
        return;
    }
    SetCheck(photo, false);
    SetCheck(fit, false);
    EnableWindow(fit, FALSE);
    BOOL twin = BHasBorderlessCounterpart(pContext);
    if (logic.BIsBorderlessPaper()) {
        // A borderless paper without its photo setting goes to its bordered twin, or, without one,
        // leaves its borderless settings.
        if (twin) {
            BSelectBorderlessCounterpart(pContext);
        } else {
            logic.VUpdateBorderlessForPageSize(pContext->pRules);
        }
        VRefreshPaperSizeGroup(pContext);
        EnableWindow(photo, twin || BHasBorderlessCounterpart(pContext));
        return;
    }
    // Black ink only prints no borderless photo.
    EnableWindow(photo, twin && !BlackOnlyGrayscale(pContext, param));
}

void CZQFeaturesTab::VRefreshPaperSizeGroup(PageContext* pContext) {
    ZQUIDevmode* work = WorkOf(pContext);
    if (!work || !m_pCUIParam) return;
    CZQUILogic& logic = *pContext->pLogic;
    const POEMCUIPPARAM param = m_pCUIParam;
    HWND list = m_controls.Item(IDC_CBO_MEDIA_SIZE_IS);
    VSetDocumentSizeText(pContext);
    if (logic.BPaperSizeTreeviewPopup())
        VFillPaperSizeCombo(list, pContext);
    else
        logic.IBindFeatureControl(DMPUB_FORMNAME, nullptr, list, nullptr, OEMCUIP_DOCPROP, CZQUILogic::kBindFill, FALSE,
                                  0, nullptr);
    // The entry of exactly that name.
    auto select = [list](PCWSTR name) {
        const LRESULT entry =
            name ? SendMessageW(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name)) : CB_ERR;
        return entry >= 0 && SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(entry), 0) != CB_ERR;
    };
    CZQLocalPtr<WCHAR> name;
    if (list && DWGetPubSelectionName(param, DMPUB_FORMNAME, name.Put()) == ZQOPT_OK && select(name.Get())) return;
    // A form the list lacks gives way to Letter, with that paper's rules.
    POPTITEM form = PubItem(param, DMPUB_FORMNAME);
    const int letter = form ? IGetOptionIndexByKeyword(param, L"LETTER", logic.PszFormFeature(), form) : -1;
    if (!form || letter < 0) return;
    ReportSelection(param, form, letter, static_cast<DWORD>(form->Sel), OEMCUIP_DOCPROP);
    select(OptionName(form, letter));
    IApplyPaperRules(pContext);
    VSetDocumentSizeText(pContext);
    if (RulesLoaded(pContext)) {
        if (PostScript(pContext))
            pContext->pRules->BRunFeatureMacros(zqkw::kPageSize, L"LETTER", param);
        else if (!m_state.bMediaLocked)
            pContext->pRules->BRunFeatureMacros(zqkw::kPaperSize, L"LETTER", param);
    }
    // The paper's macros may have chosen another medium and quality.
    VSelectMediaTypeEntry(pContext);
    VUpdateQualityGroup(pContext);
}

// ---------------------------------------------------------------------------------------------
// Mode 2
// ---------------------------------------------------------------------------------------------
void CZQFeaturesTab::VApplyAllControls(HWND hDlg, PageContext* pContext) {
    ZQUIDevmode* work = WorkOf(pContext);
    if (!work || !m_pCUIParam || !hDlg) return;
    CZQUILogic& logic = *pContext->pLogic;
    const POEMCUIPPARAM param = m_pCUIParam;
    // The page kinds' papers as the printer's ids, and the other pages' paper in the core driver.
    const ZQPaperItems items = ZQPaperItemsOf(param, pContext);
    m_pageKinds.Slots().VWrite(*work, items);
    work->dwDiffPaper = m_controls.BChecked(IDC_CHK_MEDIA_PAPER_DIFF) ? 1 : 0;
    m_pageKinds.Slots().VSelectWorkingPaper(items);
    VApplyPaperSize(pContext);
    logic.VValidatePrintOnPaper();

    auto apply = [&](PCWSTR feature, int id, BOOL checkBox) {
        logic.IBindFeatureControl(0, feature, m_controls.Item(id), nullptr, OEMCUIP_DOCPROP, CZQUILogic::kBindApply,
                                  checkBox, 0, nullptr);
    };
    apply(ThriftmodeFeature(pContext), IDC_CHK_THRIFTMODE, TRUE);
    apply(zqkw::kZQQuietPrinting, IDC_CHK_QUIET_PRINTING, TRUE);
    apply(zqkw::kZQPrintPreview, IDC_CHK_SHOW_PREVIEW_FIN, TRUE);
    apply(zqkw::kPrintFinish, IDC_CHK_GLOSS, TRUE);
    if (work->dwBooklet) work->dwBackCover = 0;
    apply(zqkw::kZQBorderLessPhoto, IDC_CHECK_BORDERLESS_PHOTO, TRUE);
    apply(zqkw::kZQBorderLessAutoFit, IDC_CHECK_BORDERLESS_AUTOFIT, TRUE);
    apply(zqkw::kZQSaveRollPaper, IDC_CHK_SAVE_ROLL_PAPER, TRUE);
    apply(zqkw::kZQDisableAutoCutter, IDC_CHK_DISABLE_AUTO_CUTTER, TRUE);
    apply(zqkw::kZQAutorotate, IDC_CHK_AUTOROTATE, TRUE);
    apply(zqkw::kZQPhotoFix, IDC_CBO_PHOTOFIX, FALSE);
    if (RulesLoaded(pContext)) m_quality.VStoreQualityIndex(pContext);
    m_quality.VReadQualityCheckBoxes(pContext);
    logic.VSetColorModeForQualityGroup();
    // The sheet opens next time on the page last left: this one.
    if (ZQUIDevmode* core = CoreOf(param)) core->iStartPage = kFeaturesStartPage;
}

// ---------------------------------------------------------------------------------------------
// Which groups the printer offers
// ---------------------------------------------------------------------------------------------
void CZQFeaturesTab::VUpdateControlState(PageContext* pContext) {
    ZQUIDevmode* work = WorkOf(pContext);
    if (!work || !m_pCUIParam || !m_controls.Page()) return;
    CZQUILogic& logic = *pContext->pLogic;
    const POEMCUIPPARAM param = m_pCUIParam;
    const DWORD mode = work->dwLayoutMode;
    const bool twoSided = m_layout.BTwoSidedPossible(logic);

    // Two-sided printing, or the pages per sheet and their order closed up into its rows. Preserving
    // the layout of two-sided pages goes with it.
    for (int id : {IDC_STA_TWO_SIDED_PRINTING, IDC_CBO_TWO_SIDED_PRINTING, IDC_CHK_FLIP_PAGES_UP, IDC_STA_BOOKLET,
                   IDC_CBO_BOOKLET_PRINTING})
        m_controls.VShow(id, twoSided);
    // The layout box keeps the state its own rules give it.
    if (!twoSided) m_controls.VShow(IDC_CHK_PRESERVE_LAYOUT, FALSE);
    const int layoutRows[] = {IDC_STA_PAGES_PER_SHEET, IDC_CBO_PAGES_PER_SHEET, IDC_STA_PAGE_ORDER, IDC_CBO_PAGE_ORDER};
    m_controls.VCloseUp(layoutRows, ARRAYSIZE(layoutRows), twoSided ? 0 : IDC_STA_TWO_SIDED_PRINTING, true, kLabelGap, kGap);

    m_controls.VShow(IDC_GB_VIVREL_TECH, Readable(param, L"ZQAutoEnhance"));
    m_controls.VShow(IDC_CHK_AUTO_ENHANCE, Readable(param, L"ZQAutoEnhance"));
    const bool photoFix = Readable(param, zqkw::kZQPhotoFix);
    for (int id : {IDC_GB_VIVREL_TECH, IDC_CBO_PHOTOFIX, IDC_STA_PHOTOFIX}) m_controls.VShow(id, photoFix);

    // The source, or the orientation closed up into its rows.
    const bool sources = logic.BHasSeveralPaperSources() != FALSE;
    m_controls.VShow(IDC_STA_MEDIA_SOURCE_IS, sources, !m_state.bSourceLocked);
    m_controls.VShow(IDC_CBO_MEDIA_SOURCE_IS, sources, !m_state.bSourceLocked);
    const int orientation[] = {IDC_RB_PORTRAIT, IDC_RB_LANDSCAPE};
    m_controls.VCloseUp(orientation, ARRAYSIZE(orientation), sources ? 0 : IDC_STA_MEDIA_SOURCE_IS, false, kLabelGap, kGap);
    const bool media = m_layout.BMediaTypeOffered(logic);
    if (media) {
        m_controls.VShow(IDC_STA_MEDIA_TYPE_IS, TRUE, !m_state.bMediaLocked);
        m_controls.VShow(IDC_CBO_MEDIA_TYPE_IS, TRUE, !m_state.bMediaLocked);
    }

    // The paper-saving group stands while anything in it can be offered.
    const bool duplexInstalled = logic.BIsDuplexUnitInstalled(FALSE) != FALSE;
    const bool autoScaling = FeatureItem(param, zqkw::kZQAutoDuplexScaling) && mode == 3 &&
                             (duplexInstalled || (logic.BIsManualDuplexAvailable() && logic.m_bManualDuplexOffered));
    const bool booklet = logic.BBookletAllowed() && twoSided && mode != 1;
    const bool saving = (FeatureItem(param, L"ZQStraightPaperPath") && mode != 1) || twoSided || booklet ||
                        autoScaling || mode != 1 || mode == 3;
    m_controls.VShow(IDC_GB_PAPER_SAVING, saving);

    // Pages per sheet from layout mode 2; their order and borders in mode 3.
    for (int id : {IDC_STA_PAGES_PER_SHEET, IDC_CBO_PAGES_PER_SHEET}) m_controls.VShow(id, mode != 1);
    for (int id : {IDC_CHK_PAGE_BORDER, IDC_STA_PAGE_ORDER, IDC_CBO_PAGE_ORDER}) m_controls.VShow(id, mode == 3);
    m_controls.VShow(IDC_STA_BOOKLET, booklet);
    m_controls.VShow(IDC_CBO_BOOKLET_PRINTING, booklet);
    if (mode == 1) m_controls.VShow(IDC_CHECK_BORDERLESS_PHOTO, FALSE);
    if (mode == 1 || Readable(param, L"ZQHideResizingOption"))
        for (int id : {IDC_RB_ACTUAL_SIZE, IDC_RB_PRINT_DOC_ON, IDC_CBO_DEST_PAPER_SIZE}) m_controls.VShow(id, FALSE);

    // The simplified interface keeps the paper options as its template lays them out.
    if (Readable(param, zqkw::kZQSimplifiedUI)) return;
    VStackPaperOptions(pContext, sources, media);
    m_controls.VShow(IDC_PREVIEW_DIMENSIONS, logic.BIsLargeFormat());
}

void CZQFeaturesTab::VStackPaperOptions(PageContext* pContext, bool bSource, bool bMedia) {
    CZQUILogic& logic = *pContext->pLogic;
    const ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;

    // The cover box and what the chosen page kind offers.
    const bool different = IsVisible(m_controls.Item(IDC_CHK_MEDIA_PAPER_DIFF)) && m_controls.BChecked(IDC_CHK_MEDIA_PAPER_DIFF);
    bool cover = false;
    if (different) {
        const uint32_t* on = nullptr;
        switch (m_pageKinds.ISelectedKind(pContext)) {
            case kKindBackCover: on = &work.dwBackCover; break;
            case kKindFrontCover: on = &work.dwFrontCover; break;
            case kKindBackCoverFeeder: on = &work.dwBackCoverFeeder; break;
            case kKindFrontCoverFeeder: on = &work.dwFrontCoverFeeder; break;
            default: break;
        }
        if (on) {
            cover = true;
            m_controls.VSetCheck(IDC_CHK_MEDIA_BACK_COVER, *on != 0);
            bSource = bSource && *on;
            bMedia = bMedia && *on;
        }
    }

    // The custom paper size needs printer data this user may write; a reopened handle is closed.
    HANDLE written = param->hPrinter;
    BOOL reopened = FALSE;
    const BOOL readOnly = BIsPrinterDataReadOnly(param->hPrinter, param->pPrinterName, param->pPublicDM, &written,
                                                 &reopened);
    CZQPrinterHandle reopenedHandle(reopened ? written : nullptr);
    const bool largeFormat = logic.BIsLargeFormat() != FALSE;
    const struct {
        int id;
        bool offered;
        int gap;
    } stack[] = {
        {IDC_BTN_CUSTOM, Readable(param, L"ZQConsumerCustomPaper") && !readOnly, kGap},
        {IDC_CHECK_BORDERLESS_PHOTO, FeatureItem(param, zqkw::kZQBorderLessPhoto) != nullptr, kGap},
        {IDC_CHECK_BORDERLESS_AUTOFIT, FeatureItem(param, zqkw::kZQBorderLessAutoFit) != nullptr, kGap},
        {IDC_CHK_MEDIA_PAPER_DIFF, logic.BDiffFirstPageAllowed() && work.dwLayoutMode == 3, kGap},
        {IDC_LB_MEDIA_PAPER_OPTIONS, different, kGap},
        {IDC_CHK_MEDIA_BACK_COVER, cover, kGap},
        {IDC_STA_CURRENTLY_LOADED_INFO, largeFormat, kGap},
        {IDC_STA_ROLL_INFO, largeFormat, kGap},
        {IDC_STA_MEDIA_SOURCE_IS, bSource, kLabelGap},
        {IDC_CBO_MEDIA_SOURCE_IS, bSource, kGap},
        {IDC_CHK_SAVE_ROLL_PAPER, FeatureItem(param, zqkw::kZQSaveRollPaper) != nullptr, kGap},
        {IDC_CHK_DISABLE_AUTO_CUTTER, FeatureItem(param, zqkw::kZQDisableAutoCutter) != nullptr, kGap},
        {IDC_CHK_AUTOROTATE, FeatureItem(param, zqkw::kZQAutorotate) != nullptr, kGap},
        {IDC_STA_MEDIA_TYPE_IS, bMedia, kLabelGap},
        {IDC_CBO_MEDIA_TYPE_IS, bMedia, kGap},
    };
    m_controls.VShow(IDC_CHK_QUIET_PRINTING, FeatureItem(param, zqkw::kZQQuietPrinting) != nullptr);
    // A group frame the template lacks has nothing to stack in.
    const CZQPageControls::ControlRect* frame = m_controls.Recorded(IDC_GB_PAPER_OPTIONS_FEATURES);
    int y = frame && m_controls.Item(IDC_GB_PAPER_OPTIONS_FEATURES) ? frame->rc.top + 12 : -1;
    for (const auto& row : stack) {
        const bool locked = (row.id == IDC_STA_MEDIA_SOURCE_IS || row.id == IDC_CBO_MEDIA_SOURCE_IS)
                                ? m_state.bSourceLocked
                                : (row.id == IDC_STA_MEDIA_TYPE_IS || row.id == IDC_CBO_MEDIA_TYPE_IS) && m_state.bMediaLocked;
        m_controls.VShow(row.id, row.offered, !locked);
        if (row.offered && y >= 0) y = m_controls.IStackAt(row.id, y, row.gap);
    }
    // The different-paper box names covers where the printer has a back cover choice.
    POPTITEM backCover = FeatureItem(param, L"ZQNBackCover");
    if (backCover && IGetOptionCount(backCover) > 0)
        BSetWindowTextRes(828, m_controls.Item(IDC_CHK_MEDIA_PAPER_DIFF), L"&Use Different Paper");
    else
        BSetWindowTextRes(3998, m_controls.Item(IDC_CHK_MEDIA_PAPER_DIFF), L"&Use Different Paper/Covers");
}

// ---------------------------------------------------------------------------------------------
// The layout lists and the document's size
// ---------------------------------------------------------------------------------------------
void CZQFeaturesTab::VFillLayoutCombos(PageContext* pContext) {
    ZQUIDevmode* work = WorkOf(pContext);
    if (!work || !m_pCUIParam) return;
    CZQUILogic& logic = *pContext->pLogic;
    const POEMCUIPPARAM param = m_pCUIParam;
    const INT order[] = {700, 701, 702, 703};
    m_controls.VFillList(*this, IDC_CBO_PAGE_ORDER, order, ARRAYSIZE(order));
    // Right-edge binding needs the full layout.
    const INT booklet[] = {763, 764, 765};
    m_controls.VFillList(*this, IDC_CBO_BOOKLET_PRINTING, booklet, work->dwLayoutMode == 2 ? 2 : 3);
    const INT pages[] = {3300, 3301, 3302, 3303, 3304, 3305};
    m_controls.VFillList(*this, IDC_CBO_PAGES_PER_SHEET, pages, ARRAYSIZE(pages));
    // One-sided, by hand when the driver knows the manual way, automatic with the duplex unit.
    INT twoSided[3] = {1117};
    int count = 1;
    POPTITEM manual = nullptr;
    if (DWFindOptItem(param, L"ZQPrintOnBothSidesManually", &manual) != ZQOPT_NOT_FOUND) twoSided[count++] = 146;
    if (FeatureItem(param, zqkw::kZQUseAutoDuplexUnit) && logic.BIsDuplexUnitInstalled(FALSE)) twoSided[count++] = 4823;
    m_controls.VFillList(*this, IDC_CBO_TWO_SIDED_PRINTING, twoSided, count);
}

void CZQFeaturesTab::VSetDocumentSizeText(PageContext* pContext) {
    const ZQUIDevmode* work = WorkOf(pContext);
    const DEVMODEW* pub = m_pCUIParam ? m_pCUIParam->pPublicDM : nullptr;
    LONG width = 0, length = 0;
    if (!work || !pub || !BGetPaperDimensions(static_cast<WORD>(pub->dmPaperSize), &width, &length, pContext->pCaps))
        return;
    const bool landscape = work->wOrientation != 1;
    const bool widthFirst = pContext->pLogic->BIsLargeFormat() ? !(landscape && work->dwPdl == kPdlZqgl2) : !landscape;
    WCHAR text[ZQFeaturesState::kDocumentSizeChars];
    if (FormatPaperSides(*this, widthFirst ? width : length, widthFirst ? length : width, work->dwUnitMm == 0, text,
                         ZQFeaturesState::kDocumentSizeChars))
        ZQCopyText(m_state.szDocumentSize, ZQFeaturesState::kDocumentSizeChars, text);
}
