// The Features page's controls: their handles and recorded places, their texts in the user's
// language, the context-help table with the administrator's locks, the focus of the page kinds, and
// the change check that lights or dims the sheet's Apply button.
#include "common/zqkeywords.h"
#include "common/zqstrings.h"
#include "featurelogic/zqquicksets.h"
#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"
#include "pages/features/zqfeaturespage.h"
#include "pages/parts/zqpaperslots.h"
#include "pages/zqpageitems.h"
#include "res/zqfeaturesids.h"

#include <commctrl.h>

using namespace zqpage;

namespace {

// The kinds' devmode fields compared for a change.
constexpr int kKinds[] = {kKindFirstPage, kKindOtherPages, kKindBackCover, kKindLastPage,
                          kKindFrontCover, kKindBackCoverFeeder, kKindFrontCoverFeeder};

}  // namespace


// ---------------------------------------------------------------------------------------------
// Handles and places
// ---------------------------------------------------------------------------------------------
void CZQFeaturesTab::VCacheControlHandles(HWND hDlg) {
    m_controls.VAttach(hDlg);
    VCacheResizeControls(hDlg);
    VCacheLayoutControls(hDlg);
}

void CZQFeaturesTab::VCacheResizeControls(HWND hDlg) {
    m_dest.VAttach(GetDlgItem(hDlg, IDC_CBO_DEST_PAPER_SIZE), GetDlgItem(hDlg, IDC_CBO_MEDIA_SIZE_IS));
}

void CZQFeaturesTab::VCacheLayoutControls(HWND hDlg) {
    VTakeSharedWindows(m_controls);
    m_layout.VAttach({GetDlgItem(hDlg, IDC_CBO_TWO_SIDED_PRINTING), GetDlgItem(hDlg, IDC_CHK_PRESERVE_LAYOUT),
                      GetDlgItem(hDlg, IDC_RB_PORTRAIT), GetDlgItem(hDlg, IDC_RB_LANDSCAPE)});
}

void CZQFeaturesTab::VRecordControlRects() { m_controls.VRecordRects(); }

// ---------------------------------------------------------------------------------------------
// Texts
// ---------------------------------------------------------------------------------------------
void CZQFeaturesTab::VSetControlTexts(PageContext* pContext) {
    HWND page = m_controls.Page();
    if (!page || !pContext || !pContext->pLogic) return;
    const POEMCUIPPARAM param = m_pCUIParam;
    auto set = [&](int id, INT textId, PCWSTR english) {
        if (HWND control = m_controls.Item(id)) BSetWindowTextRes(textId, control, english);
    };
    // A name and the colon of the language: "%s%s".
    auto labelled = [&](int id, INT nameId, PCWSTR english) {
        HWND control = m_controls.Item(id);
        if (!control) return;
        WCHAR name[kResStringChars], colon[kResStringChars], text[2 * kResStringChars];
        if (!BLoadResString(nameId, name)) ZQCopyText(name, kResStringChars, english);
        if (!BLoadResString(3994, colon)) ZQCopyText(colon, kResStringChars, L":");
        ZQFormatText(text, ARRAYSIZE(text), L"%ls%ls", name, colon);
        SetWindowTextW(control, text);
    };
    const bool differentPaper = m_controls.Item(IDC_CHK_MEDIA_PAPER_DIFF) != nullptr;

    set(IDC_GB_PAPER_OPTIONS_FEATURES, -1, L"Paper Options");
    if (differentPaper) {
        set(IDC_CHK_MEDIA_PAPER_DIFF, -1, L"&Use Different Paper/Covers");
        set(IDC_CHK_MEDIA_BACK_COVER, 3999, L"Add a &Blank or Preprinted Cover");
    }
    set(IDC_BTN_PREVIEW_PORT, 3072, L"Portrait");
    set(IDC_BTN_PREVIEW_LAND, 3073, L"Landscape");
    labelled(IDC_STA_PRINT_QUALITY, 521, L"P&rint Quality");
    labelled(IDC_STA_PHOTOFIX, 5980, L"Photo fix");
    set(IDC_STA_MEDIA_SOURCE_IS, 5331, L"Pap&er Source:");
    labelled(IDC_STA_TWO_SIDED_PRINTING, 5165, L"Two-sided printing");
    set(IDC_CHK_THRIFTMODE, 3052, L"&Thriftmode\n  (May Save Print Cartridges)");
    set(IDC_CHK_GLOSS, 825, L"&Gloss Print Finish");
    set(IDC_BTN_HELP, 797, L"&Help");
    set(IDC_STA_MEDIA_SIZE_IS, 5309, L"Size:");
    if (m_controls.Item(IDC_CHECK_BORDERLESS_PHOTO)) {
        set(IDC_CHECK_BORDERLESS_PHOTO, 4093, L"Borderless &Printing");
        set(IDC_CHECK_BORDERLESS_AUTOFIT, 4031, L"Borderless Auto &Fit");
    }
    set(IDC_CHK_QUIET_PRINTING, -1, L"Quiet Printing");
    if (m_controls.Item(IDC_IMAGE_ENHANCEMENT)) {
        const bool business = OptionIs(param, L"ZQLunetra", L"ZQBusinessPrinting") == 1;
        set(IDC_IMAGE_ENHANCEMENT, business ? 4831 : 4858, business ? L"ZQ &Lunetra" : L"Vivrel &Digital Photography");
    }
    set(IDC_BTN_CUSTOM, 4252, L"Custom...");
    set(IDC_BTN_MARGINS, 4968, L"Margins");
    set(IDC_CHK_EXTENDED_MARGINS, 4962, L"&Extended Margins");
    set(IDC_BTN_PAPERMEDIA_PRINTINGHELP, 4219, L"Pri&nting Help");
    set(IDC_OPTIMIZE_FOR_FEATURES, 91, L"Optimize for");
    set(IDC_RB_DRAWING_TEXT, 4477, L"Dra&wings/Text");
    set(IDC_RB_IMAGES, 4620, L"&Images");
    set(IDC_CHK_MAX_DETAILS, 4478, L"&Maximum Detail");
    if (m_controls.Item(IDC_CHK_SAVE_ROLL_PAPER)) {
        set(IDC_CHK_SAVE_ROLL_PAPER, 4473, L"Save &roll Paper");
        set(IDC_CHK_DISABLE_AUTO_CUTTER, 4474, L"Disa&ble Automatic Cutter");
    }
    set(IDC_CHK_AUTOROTATE, 4957, L"A&utoRotate");
    set(IDC_GB_PRINT_DOC, 3038, L"Resizing Options");
    set(IDC_CHK_FIT_TO_SCALE, 807, L"&Scale to Fit");
    set(IDC_RB_ACTUAL_SIZE, 5983, L"Print at actual size");
    set(IDC_RB_PRINT_DOC_ON, 5984, L"Scale to paper size");
    set(IDC_RB_SCALING, 808, L"% of N&ormal Size");
    set(IDC_CHECK_EMULATE_MARGINS, 896, L"Emulate Pexlon Margins");
    set(IDC_CHECK_SYMMETRICAL_MARGINS, 897, L"Symmetrical Margins");
    set(IDC_CHECK_MINIMIZE_MARGINS, 4038, L"Minimize Margin");
    set(IDC_GB_MARGIN, 4717, L"Margins");
    set(IDC_CHECK_CENTER_ON_PAGE, 4747, L"Center On Page");
    set(IDC_STA_MEDIA_TYPE_IS, 5308, L"Paper type:");
    set(IDC_GB_BASIC_OPTIONS, 5199, L"Basic options");
    if (Readable(param, L"ZQHideResizingOption"))
        set(IDC_GB_RESIZING_OPTIONS, 3038, L"Resizing options");
    else
        set(IDC_GB_RESIZING_OPTIONS, 5408, L"Paper Size Options");
    set(IDC_GB_VIVREL_TECH, 5197, L"ZQ vivrel technologies");
    set(IDC_GB_PAPER_SAVING, 5154, L"Paper saving options");
    set(IDC_RB_PORTRAIT, 5981, L"Portrait");
    set(IDC_RB_LANDSCAPE, 5982, L"Landscape");
    set(IDC_CHK_AUTO_ENHANCE, 5153, L"Auto enhance images");
    set(IDC_CHK_EXTENDED_MARGINS, 5157, L"Factory defaults");
    set(IDC_BTN_PRINTER_SERVICES, 5158, L"Printer services");
    set(IDC_CHK_FLIP_PAGES_UP, 5297, L"Flip pages up");
    set(IDC_CHK_PRESERVE_LAYOUT, 5300, L"Preserve layout");
    set(IDC_STA_PAGE_ORDER, 5305, L"Page order");
    set(IDC_STA_BOOKLET, 5299, L"Boo&klet layout:");
    set(IDC_CHECK_BORDERLESS_PHOTO, 5293, L"Borderless");
    set(IDC_CHK_SHOW_PREVIEW_FIN, 5152, L"Show preview before printing");
    set(IDC_BTN_RESOLUTION, 5495, L"Resolution");
}

// ---------------------------------------------------------------------------------------------
// Context help
// ---------------------------------------------------------------------------------------------
void CZQFeaturesTab::VGetHelpIds(DWORD* pdwTable, PageContext* pContext) {
    if (!pdwTable) {
        SetLastError(ERROR_INVALID_DATA);
        return;
    }
    CZQUILogic* logic = pContext ? pContext->pLogic : nullptr;
    const ZQUIDevmode* work = logic ? logic->WorkDM() : nullptr;
    const bool postScript = work && work->dwPdl == kPdlPostScript;
    const HelpRow rows[] = {
        {IDD_DLG_FEATURESPAGE, nullptr, 0, nullptr, -1},
        {IDC_GB_PAPER_OPTIONS_FEATURES, nullptr, 0, nullptr, -1},
        {IDC_CHK_MEDIA_PAPER_DIFF, zqkw::kUseDiffFirstPageChoice, 0, nullptr, 15314},
        {IDC_LB_MEDIA_PAPER_OPTIONS, nullptr, 0, nullptr, -1},
        {IDC_CHK_MEDIA_BACK_COVER, zqkw::kBackCoverChoice, 0, nullptr, 15315},
        {IDC_STA_MEDIA_SOURCE_IS, nullptr, 0, nullptr, -1},
        {IDC_CBO_MEDIA_SOURCE_IS, zqkw::kInputBin, 0, nullptr, 14025},
        {IDC_STA_MEDIA_TYPE_IS, nullptr, 0, nullptr, -1},
        {IDC_CBO_MEDIA_TYPE_IS, zqkw::kMediaType, DMPUB_MEDIATYPE, nullptr, -1},
        {work ? ShownPreviewId(*work) : IDC_BTN_PREVIEW_PORT, nullptr, 0, nullptr, 14060},
        {IDC_BTN_HELP, nullptr, 0, nullptr, 15054},
        {IDC_CHK_THRIFTMODE, zqkw::kThriftModeItem, 0, postScript ? zqkw::kJCLThriftmode : zqkw::kThriftmode, -1},
        {IDC_CHK_GLOSS, zqkw::kPrintFinish, 0, zqkw::kPrintFinish, -1},
        {IDC_CBO_PRINT_QUALITY, zqkw::kResolution, 0, zqkw::kPrintQualityGroup, 15131},
        {IDC_STA_PRINT_QUALITY, nullptr, 0, nullptr, -1},
        {IDC_GB_PRINT_QUALITY_FEATURES, nullptr, 0, nullptr, -1},
        {485, nullptr, 0, nullptr, 15208},
        {489, nullptr, 0, nullptr, 15209},
        {490, nullptr, 0, nullptr, 15210},
        {483, nullptr, 0, nullptr, -1},
        {IDC_STA_MEDIA_SIZE_IS, nullptr, 0, nullptr, -1},
        {IDC_CBO_MEDIA_SIZE_IS, zqkw::kPaperSize, 0, nullptr, 15284},
        {IDC_CHECK_BORDERLESS_PHOTO, nullptr, 0, nullptr, 15306},
        {IDC_CHECK_BORDERLESS_AUTOFIT, nullptr, 0, nullptr, 15305},
        {IDC_STA_RENDER_DPI, nullptr, 0, nullptr, 15307},
        {IDC_STA_RENDER, nullptr, 0, nullptr, 15307},
        {IDC_COLOR_INPUT_DPI, nullptr, 0, nullptr, 15307},
        {IDC_COLOR_INPUT, nullptr, 0, nullptr, 15307},
        {IDC_COLOR_OUTPUT, nullptr, 0, nullptr, 15308},
        {IDC_COLOR_OUTPUT_DPI, nullptr, 0, nullptr, 15308},
        {IDC_IMAGE_ENHANCEMENT, nullptr, 0, L"ZQLunetra", -1},
        {IDC_BTN_PAPERMEDIA_PRINTINGHELP, nullptr, 0, nullptr, 15499},
        {IDC_OPTIMIZE_FOR_FEATURES, nullptr, 0, zqkw::kZQOptimizeFor, 15470},
        {IDC_RB_DRAWING_TEXT, nullptr, 0, zqkw::kZQOptimizeFor, 15470},
        {IDC_RB_IMAGES, nullptr, 0, zqkw::kZQOptimizeFor, 15470},
        {IDC_CHK_MAX_DETAILS, nullptr, 0, zqkw::kZQMaximumDetail, 15468},
        {IDC_BTN_CUSTOM, nullptr, 0, nullptr, 15473},
        {IDC_CHK_SAVE_ROLL_PAPER, nullptr, 0, zqkw::kZQSaveRollPaper, -1},
        {IDC_CHK_DISABLE_AUTO_CUTTER, nullptr, 0, zqkw::kZQDisableAutoCutter, -1},
        {IDC_ZQLOGO_HOLDER, nullptr, 0, nullptr, -1},
        {IDC_PREVIEW_DIMENSIONS, nullptr, 0, nullptr, -1},
        {IDC_BTN_MARGINS, nullptr, 0, nullptr, 15562},
        {IDC_CHK_EXTENDED_MARGINS, nullptr, 0, nullptr, 15582},
        {IDC_STA_CURRENTLY_LOADED_INFO, nullptr, 0, nullptr, -1},
        {IDC_STA_ROLL_INFO, nullptr, 0, nullptr, -1},
        {IDC_CHK_AUTOROTATE, nullptr, 0, zqkw::kZQAutorotate, -1},
        {IDC_RB_ACTUAL_SIZE, nullptr, 0, nullptr, 15282},
        {IDC_RB_PRINT_DOC_ON, L"FitToOtherSizeChoice", 0, nullptr, 15632},
        {IDC_CBO_DEST_PAPER_SIZE, nullptr, 0, nullptr, 15633},
        {IDC_CBO_PAGE_ORDER, L"NUpPageOrderChoice", 0, nullptr, 14065},
        {IDC_CBO_BOOKLET_PRINTING, L"BookletPrintingChoice", 0, nullptr, 15634},
        {IDC_CHK_FLIP_PAGES_UP, nullptr, 0, nullptr, 15205},
        {IDC_CHK_PRESERVE_LAYOUT, nullptr, 0, zqkw::kZQAutoDuplexScaling, -1},
        {IDC_RB_PORTRAIT, nullptr, 0, nullptr, 15420},
        {IDC_RB_LANDSCAPE, nullptr, 0, nullptr, 15421},
        {IDC_CBO_PAGES_PER_SHEET, L"NUpChoice", 0, nullptr, 14051},
        {IDC_GB_RESIZING_OPTIONS, nullptr, 0, nullptr, -1},
        {IDC_CHK_SHOW_PREVIEW_FIN, nullptr, 0, zqkw::kZQPrintPreview, -1},
        {IDC_GB_BASIC_OPTIONS, nullptr, 0, nullptr, -1},
        {IDC_GB_PAPER_SAVING, nullptr, 0, nullptr, -1},
        {IDC_STA_TWO_SIDED_PRINTING, nullptr, 0, nullptr, -1},
        {IDC_CBO_TWO_SIDED_PRINTING, zqkw::kDuplexItem, 0, nullptr, 15701},
        {IDC_CHK_EXTENDED_MARGINS, nullptr, 0, nullptr, -1},
        {IDC_BTN_PRINTER_SERVICES, nullptr, 0, nullptr, 15580},
        {IDC_CBO_PHOTOFIX, nullptr, 0, nullptr, 15637},
        {IDC_CBO_PHOTOFIX, nullptr, 0, nullptr, 15637},
        {IDC_STA_PAGES_PER_SHEET, nullptr, 0, nullptr, -1},
        {IDC_STA_PAGE_ORDER, nullptr, 0, nullptr, -1},
        {IDC_STA_BOOKLET, nullptr, 0, nullptr, -1},
        {IDC_BTN_RESOLUTION, nullptr, 0, nullptr, 15665},
        {IDC_STA_PHOTOFIX, nullptr, 0, nullptr, -1},
        {IDC_GB_VIVREL_TECH, nullptr, 0, nullptr, -1},
    };
    static_assert(ARRAYSIZE(rows) < kHelpPairs);
    FillHelpTable(pdwTable, rows, static_cast<int>(ARRAYSIZE(rows)), m_pCUIParam ? m_pCUIParam->hPrinter : nullptr,
                  logic);
}

// ---------------------------------------------------------------------------------------------
// The page kinds' focus
// ---------------------------------------------------------------------------------------------
void CZQFeaturesTab::VFocusPageList(PageContext*, HWND) {
    HWND kinds = m_controls.Item(IDC_LB_MEDIA_PAPER_OPTIONS);
    if (!kinds || !m_controls.BChecked(IDC_CHK_MEDIA_PAPER_DIFF)) return;
    SetFocus(kinds);
    const LRESULT count = SendMessageW(kinds, LB_GETCOUNT, 0, 0);
    // Five kinds start on the other pages, more on the covers' first, fewer on the first page.
    const WPARAM entry = count == 5 ? 1 : count >= 6 ? 2 : 0;
    SendMessageW(kinds, LB_SETCURSEL, entry, 0);
}

// ---------------------------------------------------------------------------------------------
// The change check
// ---------------------------------------------------------------------------------------------
BOOL CZQFeaturesTab::BCheckPageChanged(HWND hDlg, PageContext* pContext) {
    ZQUIDevmode* work = WorkOf(pContext);
    if (!work || !m_pCUIParam) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    CZQUILogic& logic = *pContext->pLogic;
    const POEMCUIPPARAM param = m_pCUIParam;
    ZQUIDevmode* saved = CoreOf(param);
    bool changed = false;

    if (saved) {
        // The papers of the page kinds: sources only where there is a choice of more than two.
        const bool sources = logic.BHasSeveralPaperSources() != FALSE;
        const bool media = m_layout.BMediaTypeOffered(logic);
        for (int kind : kKinds) {
            const KindFields now = CZQPaperSlots::Fields(*work, kind);
            const KindFields then = CZQPaperSlots::Fields(*saved, kind);
            changed = changed || (sources && *now.source != *then.source) || (media && *now.media != *then.media);
        }
        changed = changed || work->dwDiffPaper != saved->dwDiffPaper || work->dwBackCover != saved->dwBackCover ||
                  work->dwFrontCover != saved->dwFrontCover || work->dwBackCoverFeeder != saved->dwBackCoverFeeder ||
                  work->dwFrontCoverFeeder != saved->dwFrontCoverFeeder;
    }

    // Controls against the selections the sheet opened with. A control or feature that is missing
    // fails its comparison, and a failed comparison changes nothing.
    auto differs = [&](BYTE pubId, PCWSTR feature, int id, BOOL checkBox) {
        const int old = logic.IGetSavedSelection(pubId ? logic.PszFormFeature() : feature);
        int result = 0;
        if (old < 0) return false;
        logic.IBindFeatureControl(pubId, pubId ? nullptr : feature, m_controls.Item(id), &result, OEMCUIP_DOCPROP,
                                  CZQUILogic::kBindCompare, checkBox, old, nullptr);
        return result != 0;
    };
    changed = changed || differs(0, ThriftmodeFeature(pContext), IDC_CHK_THRIFTMODE, TRUE) ||
              differs(0, zqkw::kZQMarginType, IDC_CHK_EXTENDED_MARGINS, TRUE) ||
              differs(0, zqkw::kZQMarginType, IDC_BTN_MARGINS, FALSE) ||
              differs(0, zqkw::kZQBorderLessPhoto, IDC_CHECK_BORDERLESS_PHOTO, TRUE) ||
              differs(0, zqkw::kZQBorderLessAutoFit, IDC_CHECK_BORDERLESS_AUTOFIT, TRUE) ||
              differs(0, zqkw::kZQQuietPrinting, IDC_CHK_QUIET_PRINTING, TRUE) ||
              differs(0, zqkw::kZQPhotoFix, IDC_CBO_PHOTOFIX, FALSE) ||
              differs(0, zqkw::kPrintFinish, IDC_CHK_GLOSS, TRUE) ||
              differs(0, zqkw::kPrintQualityGroup, IDC_CBO_PRINT_QUALITY, FALSE) ||
              differs(0, zqkw::kZQMaximumDetail, IDC_CHK_MAX_DETAILS, TRUE) ||
              differs(0, zqkw::kZQOptimizeFor, IDC_RB_IMAGES, TRUE) ||
              differs(0, zqkw::kZQSaveRollPaper, IDC_CHK_SAVE_ROLL_PAPER, TRUE) ||
              differs(0, zqkw::kZQDisableAutoCutter, IDC_CHK_DISABLE_AUTO_CUTTER, TRUE) ||
              differs(0, zqkw::kZQAutorotate, IDC_CHK_AUTOROTATE, TRUE) ||
              differs(DMPUB_FORMNAME, nullptr, IDC_CBO_MEDIA_SIZE_IS, FALSE);

    // The sheet hears of the page after each group; a quick set's pending change counts.
    CZQQuickSets* quickSets = pContext->pQuickSets;
    auto tell = [&]() {
        const bool pending = quickSets && quickSets->BChanged();
        if (hDlg)
            SendMessageW(GetParent(hDlg), changed || pending ? PSM_CHANGED : PSM_UNCHANGED, reinterpret_cast<WPARAM>(hDlg),
                         0);
    };
    tell();

    // The feature's selection against the one the sheet opened with; a feature not kept has none.
    auto selectionDiffers = [&](PCWSTR feature) {
        const int old = logic.IGetSavedSelection(feature);
        POPTITEM item = FeatureItem(param, feature);
        return old >= 0 && item && item->Sel != old;
    };
    // Resizing and margins.
    if (saved) {
        // The papers printed on as the destination list has them.
        changed = changed || work->dwPrintDocOn != saved->dwPrintDocOn || work->dwScaleToFit != saved->dwScaleToFit ||
                  m_dest.WListedPaper(pContext, static_cast<WORD>(work->dwPrintedOnPaper)) !=
                      m_dest.WListedPaper(pContext, static_cast<WORD>(saved->dwPrintedOnPaper)) ||
                  (IsWindowEnabled(m_controls.Item(IDC_TXT_NORMAL_SIZE)) && work->dwScalePercent != saved->dwScalePercent);
    }
    changed = changed || differs(0, zqkw::kZQEmulatePexlonMargins, IDC_CHECK_EMULATE_MARGINS, TRUE) ||
              differs(0, zqkw::kZQSymmetricMargins, IDC_CHECK_SYMMETRICAL_MARGINS, TRUE) ||
              differs(0, zqkw::kZQMinimizeMargins, IDC_CHECK_MINIMIZE_MARGINS, TRUE) ||
              differs(0, zqkw::kZQCenterOnPage, IDC_CHECK_CENTER_ON_PAGE, TRUE);
    tell();

    // Layout and finishing.
    if (saved) {
        const ZQUIDevmode& w = *work;
        const ZQUIDevmode& s = *saved;
        changed = changed || w.dwPagesPerSheet != s.dwPagesPerSheet ||
                  (w.dwPagesPerSheet != 1 && (w.dwPageBorders != s.dwPageBorders || w.dwPageOrderIndex != s.dwPageOrderIndex)) ||
                  (logic.BHasRotate180() && w.dwRotate180 != s.dwRotate180) ||
                  (logic.BHasTransverse() && w.dwRotate90 != s.dwRotate90) || w.dwMirror != s.dwMirror ||
                  w.wDuplex != s.wDuplex || w.dwFlipPagesUp != s.dwFlipPagesUp ||
                  w.dwStraightPaperPath != s.dwStraightPaperPath || w.dwBooklet != s.dwBooklet ||
                  w.wOrientation != s.wOrientation;
    }
    changed = changed || differs(0, StaplingFeature(PostScript(pContext)), IDC_CBO_STAPLE, FALSE) ||
              (work->wDuplex != 1 && FeatureItem(param, zqkw::kZQAutoDuplexScaling) &&
               m_state.bPreserveLayout != logic.m_bOldPreserveLayout) ||
              selectionDiffers(zqkw::kZQUseAutoDuplexUnit) ||
              (logic.BIsPosterPrinting() && selectionDiffers(L"ZQPosterPrintingOption")) ||
              selectionDiffers(zqkw::kZQPrintPreview) ||
              (logic.BHasMirrorPrint() && differs(0, zqkw::kZQMirrorPrint, IDC_CHK_MIRROR, TRUE));
    const DEVMODEW* pub = param->pPublicDM;
    changed = changed || (pub && (pub->dmFields & DM_ORIENTATION) && pub->dmOrientation != static_cast<short>(work->wOrientation));
    tell();

    // The quick set's poster tiles are compared as far as the page's poster reaches.
    if (quickSets) quickSets->VSetPosterTilesPerSide(CZQUILogic::IPosterTilesPerSide(m_state.iPosterOption));

    // Settings no longer those of the quick set in force make it the user's own.
    if (saved && saved->dwQuickSetInUse && quickSets && quickSets->BPageDiffers(*work, CZQQuickSets::kCompareFeatures))
        logic.m_bQuickSetModified = TRUE;
    return changed ? TRUE : FALSE;
}
