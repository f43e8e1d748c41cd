// The Paper/Quality page laid out for its printer: the rectangles the template gives the movable
// controls, the print-quality group (ordinary and large-format quality modes, the roll and
// orientation controls) and the paper group, each stacked from the top without gaps.
#include "pages/paperquality/zqpaperqualitypage.h"

#include <commctrl.h>

#include "common/zqkeywords.h"
#include "pages/paperquality/zqpaperqualityutil.h"
#include "platform/zqspooler.h"
#include "res/zqpaperqualityids.h"

using namespace zqpq;

namespace {

// The controls a layout moves, recorded once from the template.
const int kMovableIds[] = {
    IDC_CHK_MEDIA_BACK_COVER,         IDC_STA_MEDIA_SOURCE_IS,        IDC_CBO_MEDIA_SOURCE_IS,
    IDC_STA_MEDIA_TYPE_IS,            IDC_CBO_MEDIA_TYPE_IS,          IDC_CBO_PRINT_QUALITY,
    IDC_CHK_GLOSS,                    IDC_CHK_THRIFTMODE,             IDC_CHK_OHTINTERLEAVE,
    IDC_IMAGE_ENHANCEMENT,            IDC_COLOR_INPUT_DPI,            IDC_COLOR_OUTPUT_DPI,
    IDC_CHK_MEDIA_PAPER_DIFF,         IDC_LB_MEDIA_PAPER_OPTIONS,     IDC_STA_MEDIA_SIZE_IS,
    IDC_CBO_MEDIA_SIZE_IS,            IDC_STA_MEDIA_SIZE_DIMENSIONS,  IDC_CHECK_BORDERLESS_PHOTO,
    IDC_CHECK_BORDERLESS_AUTOFIT,     IDC_BTN_CUSTOM,                 IDC_CHK_SAVE_ROLL_PAPER,
    IDC_CHK_DISABLE_AUTO_CUTTER,      IDC_CHK_AUTOROTATE,             IDC_OPTIMIZE_FOR,
    IDC_RB_DRAWING_TEXT,              IDC_RB_IMAGES,                  IDC_CHK_MAX_DETAILS,
    IDC_STA_ROLL_INFO,                IDC_STA_CURRENTLY_LOADED_INFO,  IDC_CHK_QUIET_PRINTING,
    IDC_BTN_MARGINS,                  IDC_LB_PAGE_EXCEPTIONS_OPTIONS, IDC_BTN_CONSTRAINT_PAGE_EXCEPTIONS,
    IDC_STA_PAGE_EXCEPTIONS,          IDC_BTN_PAGE_EXCEPTIONS_SETTINGS, IDC_GB_MEDIA_PAPER_OPTIONS,
    IDC_GB_ORIENTATION,               IDC_RB_PORTRAIT,                IDC_RB_LANDSCAPE,
    IDC_BTN_PREVIEW_PORT,             IDC_BTN_PREVIEW_LAND,           IDC_PREVIEW_DIMENSIONS,
};

const PCWSTR kPhotoFixFeatures[6] = {zqkw::kZQContrast,   zqkw::kZQDigitalFlash, zqkw::kZQSharpness,
                                     zqkw::kZQVorevEzuro, zqkw::kZQSmoothing,    zqkw::kZQRedEyeReduction};

// Ids of quick-set controls that other pages' templates carry; this page's template lacks them.
const int kQuickSetControls[] = {483, 485, 489, 490};

bool HasItem(POEMCUIPPARAM pParam, PCWSTR pszFeature) { return FeatureItem(pParam, pszFeature) != nullptr; }

}  // namespace

static_assert(sizeof kMovableIds / sizeof kMovableIds[0] == 42, "movable controls");

// ---------------------------------------------------------------------------------------------
// The template's rectangles
// ---------------------------------------------------------------------------------------------
void CZQPaperQualityTab::VRecordControlRects() {
    int i = 0;
    for (int id : kMovableIds) {
        ControlRect& r = m_aRects[i++];
        r = {id, {}, 0, 0};
        if (m_hPage) VGetChildRect(m_hPage, GetDlgItem(m_hPage, id), &r.rc, &r.cx, &r.cy);
    }
}

const CZQPaperQualityTab::ControlRect* CZQPaperQualityTab::Recorded(int iCtrlId) const {
    for (const ControlRect& r : m_aRects)
        if (r.id == iCtrlId) return &r;
    return nullptr;
}

BOOL CZQPaperQualityTab::BPlace(int iCtrlId, float fTop, int iHeight) {
    const ControlRect* r = Recorded(iCtrlId);
    HWND control = m_hPage ? GetDlgItem(m_hPage, iCtrlId) : nullptr;
    if (!r || !control) return FALSE;
    return BPlaceWindow(control, &r->rc, r->cx, iHeight < 0 ? r->cy : iHeight, fTop);
}

void CZQPaperQualityTab::VShowControl(int iCtrlId, BOOL bShow, BOOL bEnable) {
    HWND control = m_hPage ? GetDlgItem(m_hPage, iCtrlId) : nullptr;
    if (!bShow)
        Hide(control);
    else
        ShowEnabled(control, bEnable);
}

// ---------------------------------------------------------------------------------------------
// The print-quality group
// ---------------------------------------------------------------------------------------------
void CZQPaperQualityTab::VGetQualityControlPresence(PageContext* pContext, int aiPresent[kPresenceCount]) {
    if (!aiPresent) return;
    for (int i = 0; i < kPresenceCount; ++i) aiPresent[i] = 0;
    if (!pContext || !pContext->pLogic) return;
    CZQUILogic& logic = *pContext->pLogic;
    const POEMCUIPPARAM param = m_pCUIParam;
    if (RulesLoaded(pContext)) {
        if (HasItem(param, zqkw::kPrintQualityGroup))
            aiPresent[kHasQualityList] = 1;
        else
            pContext->pRules->VSetNoQualityGroup(TRUE);
    }
    auto boxFound = [&](PCWSTR feature, ZQPqControl control) {
        return Bound(logic.IBindFeatureControl(0, feature, HControl(control), nullptr, OEMCUIP_DOCPROP,
                                               CZQUILogic::kBindFill, TRUE, 0, nullptr))
                   ? 1
                   : 0;
    };
    aiPresent[kHasGloss] = boxFound(zqkw::kPrintFinish, kCtlGloss);
    aiPresent[kHasQuietPrinting] = boxFound(zqkw::kZQQuietPrinting, kCtlQuietPrinting);
    aiPresent[kHasThriftmode] = boxFound(ThriftmodeFeature(pContext), kCtlThriftmode);
    for (PCWSTR feature : kPhotoFixFeatures)
        if (HasItem(param, feature)) {
            aiPresent[kHasImageEnhancement] = 1;
            break;
        }
    aiPresent[kHasMaxDetail] = HasItem(param, zqkw::kZQMaximumDetail) ? 1 : 0;
    aiPresent[kHasOptimizeFor] = HasItem(param, zqkw::kZQOptimizeFor) ? 1 : 0;
}

void CZQPaperQualityTab::VLayoutQualityGroup(const int aiPresent[kPresenceCount], PageContext* pContext) {
    if (!aiPresent || !pContext || !pContext->pLogic || !m_hPage) return;
    const POEMCUIPPARAM param = m_pCUIParam;
    if (BHasLqjQualitySettings(pContext)) {
        // The large-format quality mode: standard options on the slider, or custom options.
        for (ZQPqControl c : {kCtlQuality, kCtlThriftmode, kCtlGloss, kCtlMaxDetails, kCtlOptimizeFor, kCtlDrawingsText,
                              kCtlImages, kCtlImageEnhancement})
            Hide(HControl(c));
        BSetWindowTextRes(5945, HControl(kCtlStandardOptions), L"Sta&ndard Options");
        BSetWindowTextRes(5772, HControl(kCtlSpeedLabel), L"Speed");
        BSetWindowTextRes(5773, HControl(kCtlQualityLabel), L"Quality");
        BSetWindowTextRes(5944, HControl(kCtlCustomOptions), L"&Custom Options");
        BSetWindowTextRes(895, HControl(kCtlQualitySettings), L"&Settings...");
        EnableWindow(HControl(kCtlQualitySettings), FALSE);
        const int standard = OptionIs(param, L"ZQLQJPQSettings", L"StandardOptions");
        const int custom = OptionIs(param, L"ZQLQJPQSettings", L"CustomOptions");
        if (standard == 1 || custom == 1) {
            for (ZQPqControl c : {kCtlQualitySlider, kCtlSpeedLabel, kCtlQualityLabel})
                EnableWindow(HControl(c), standard == 1);
            EnableWindow(HControl(kCtlQualitySettings), custom == 1);
        }
    } else {
        for (ZQPqControl c : {kCtlStandardOptions, kCtlCustomOptions, kCtlQualitySlider, kCtlSpeedLabel,
                              kCtlQualityLabel, kCtlQualitySettings})
            Hide(HControl(c));
        if (!aiPresent[kHasQualityList] && !aiPresent[kHasGloss] && !aiPresent[kHasThriftmode])
            for (ZQPqControl c : {kCtlQualityGroup, kCtlQuality, kCtlThriftmode, kCtlGloss}) Hide(HControl(c));

        // The stack, from the quality list's place down.
        const ControlRect* list = Recorded(IDC_CBO_PRINT_QUALITY);
        const ControlRect* thrift = Recorded(IDC_CHK_THRIFTMODE);
        const int thriftHeight = thrift ? thrift->cy : 0;
        float y = list ? static_cast<float>(list->rc.top) : 0.0f;
        if (aiPresent[kHasQualityList]) {
            ShowEnabled(HControl(kCtlQuality));
            y += static_cast<float>(list ? list->cy : 0) + 6.5f;
        } else {
            Hide(HControl(kCtlQuality));
        }
        if (aiPresent[kHasOptimizeFor]) {
            const ControlRect* text = Recorded(IDC_RB_DRAWING_TEXT);
            const int textHeight = text ? text->cy : 0;
            for (ZQPqControl c : {kCtlOptimizeFor, kCtlDrawingsText, kCtlImages}) Show(HControl(c));
            // The label beside the first choice, the second choice under it.
            BPlace(IDC_OPTIMIZE_FOR, y + 10);
            BPlace(IDC_RB_DRAWING_TEXT, y + 10);
            const float images = (y + 10) + static_cast<float>(textHeight) + 4;
            BPlace(IDC_RB_IMAGES, images);
            y = images + static_cast<float>(textHeight) + 4;
        }
        // Each box takes the height of the tallest one, the thriftmode box, so the rows line up.
        const struct {
            int present;
            ZQPqControl control;
            int id;
        } boxes[] = {{kHasThriftmode, kCtlThriftmode, IDC_CHK_THRIFTMODE},
                     {kHasGloss, kCtlGloss, IDC_CHK_GLOSS},
                     {kHasMaxDetail, kCtlMaxDetails, IDC_CHK_MAX_DETAILS}};
        for (const auto& box : boxes) {
            if (!aiPresent[box.present]) {
                Hide(HControl(box.control));
                continue;
            }
            Show(HControl(box.control));
            BPlace(box.id, y);
            y += static_cast<float>(thriftHeight) + 4;
        }
        if (BShowResolutionTexts(pContext)) {
            const ControlRect* output = Recorded(IDC_COLOR_OUTPUT_DPI);
            if (output) y = static_cast<float>(output->rc.bottom) + 4;
        }
        for (int id : {IDC_IMAGE_ENHANCEMENT, IDC_CHK_QUIET_PRINTING}) {
            if (!aiPresent[id == IDC_IMAGE_ENHANCEMENT ? kHasImageEnhancement : kHasQuietPrinting]) continue;
            BPlace(id, y);
            const ControlRect* r = Recorded(id);
            y += static_cast<float>(r ? r->cy : 0) + 4;
        }
    }

    // Rolls and orientation. The template gives the quality group a column of its own, so on a
    // large-format printer the paper group and the size text keep their places and only the
    // orientation buttons stack, one under the other.
    const bool saveRoll = HasItem(param, zqkw::kZQSaveRollPaper);
    const bool cutter = HasItem(param, zqkw::kZQDisableAutoCutter);
    const bool autorotate = HasItem(param, zqkw::kZQAutorotate);
    const ControlRect* group = Recorded(IDC_GB_MEDIA_PAPER_OPTIONS);
    if (pContext->pLogic->BIsLargeFormat()) {
        for (int id : kQuickSetControls) Hide(GetDlgItem(m_hPage, id));
        for (ZQPqControl c : {kCtlAutorotate, kCtlDisableAutoCutter, kCtlSaveRollPaper}) Hide(HControl(c));
        const ControlRect* size = Recorded(IDC_STA_MEDIA_SIZE_DIMENSIONS);
        const ControlRect* portrait = Recorded(IDC_RB_PORTRAIT);
        if (group) BPlace(IDC_GB_MEDIA_PAPER_OPTIONS, static_cast<float>(group->rc.top));
        if (size) BPlace(IDC_STA_MEDIA_SIZE_DIMENSIONS, static_cast<float>(size->rc.top));
        if (portrait) {
            BPlace(IDC_RB_PORTRAIT, static_cast<float>(portrait->rc.top));
            BPlace(IDC_RB_LANDSCAPE, static_cast<float>(portrait->rc.top + portrait->cy + 4));
        }
    } else {
        for (ZQPqControl c : {kCtlOrientationGroup, kCtlPortrait, kCtlLandscape, kCtlShowPreview}) Hide(HControl(c));
        // Rolls are never fed from the sheet source; the refresh turns the boxes off for it.
        const BOOL rollSource = OptionIs(param, zqkw::kInputSlot, zqkw::kSheet) != 1;
        const struct {
            bool has;
            ZQPqControl control;
        } rolls[] = {{autorotate, kCtlAutorotate}, {cutter, kCtlDisableAutoCutter}, {saveRoll, kCtlSaveRollPaper}};
        for (const auto& roll : rolls)
            if (roll.has) ShowEnabled(HControl(roll.control), rollSource);
        if (group) BPlace(IDC_GB_MEDIA_PAPER_OPTIONS, static_cast<float>(group->rc.top));
    }
}

void CZQPaperQualityTab::VRefreshQualityGroup(PageContext* pContext) {
    if (!pContext || !pContext->pLogic || !m_hPage) return;
    CZQUILogic& logic = *pContext->pLogic;
    const POEMCUIPPARAM param = m_pCUIParam;
    int present[kPresenceCount];
    VGetQualityControlPresence(pContext, present);
    VLayoutQualityGroup(present, pContext);
    const bool largeFormatQuality = BHasLqjQualitySettings(pContext) != FALSE;

    if (present[kHasQualityList]) {
        if (largeFormatQuality) {
            const int standard = OptionIs(param, L"ZQLQJPQSettings", L"StandardOptions");
            const int custom = OptionIs(param, L"ZQLQJPQSettings", L"CustomOptions");
            if (standard == 1 || custom == 1) {
                SetCheck(HControl(kCtlStandardOptions), standard == 1);
                SetCheck(HControl(kCtlCustomOptions), custom == 1);
                if (custom == 1) EnableWindow(HControl(kCtlQualitySettings), TRUE);
            }
            // Every position of the slider is an option.
            int count = 0;
            if (POPTITEM levels = FeatureItem(param, L"StandardPrintQuality")) {
                count = IGetOptionCount(levels);
                m_iSliderPosition = static_cast<int>(levels->Sel);
            } else {
                count = IGetOptionCount(FeatureItem(param, zqkw::kPrintQualityGroup));
            }
            HWND slider = HControl(kCtlQualitySlider);
            SendMessageW(slider, TBM_SETRANGE, TRUE, MAKELPARAM(0, count > 0 ? count - 1 : 0));
            SendMessageW(slider, TBM_SETPOS, TRUE, m_iSliderPosition);
            SendMessageW(slider, TBM_SETTICFREQ, 1, 0);
        } else {
            for (int action : {CZQUILogic::kBindFillFree, CZQUILogic::kBindShow})
                logic.IBindFeatureControl(0, zqkw::kPrintQualityGroup, HControl(kCtlQuality), nullptr, OEMCUIP_DOCPROP,
                                          action, FALSE, 0, nullptr);
        }
    }

    // The image-enhancement button goes with the photo enhancements of the full interface.
    HWND button = HControl(kCtlImageEnhancement);
    const ZQUIDevmode* core = CoreOf(param);
    bool allFive = true;
    for (int i = 0; i < 5; ++i) allFive = allFive && HasItem(param, kPhotoFixFeatures[i]);
    if (core && core->dwLayoutMode == 3 && (allFive || HasItem(param, kPhotoFixFeatures[5]))) {
        WCHAR group[256];
        if (!ReadOption(param, zqkw::kPrintQualityGroup, group)) return;
        if (!largeFormatQuality) {
            const bool draft = ZQEqualNoCase(group, L"PQGroup_3") || ZQEqualNoCase(group, L"PQGroup_4");
            ShowEnabled(button, !draft);
            return;
        }
    }
    Hide(button);
}

BOOL CZQPaperQualityTab::BStoreQualityKeyword(HWND hDlg, PageContext* pContext) {
    if (!pContext || !pContext->pRules) return FALSE;
    PWSTR target = pContext->pRules->Parser().m_szQualityGroupValue;
    if (BStoreListKeyword(hDlg, pContext, IDC_CBO_PRINT_QUALITY, zqkw::kPrintQualityGroup, target)) return TRUE;
    // The large-format quality mode chooses the group with its slider and leaves the list empty:
    // the group's own option stands for it, or no media choice there would run its macros.
    WCHAR option[256];
    return BHasLqjQualitySettings(pContext) && ReadOption(m_pCUIParam, zqkw::kPrintQualityGroup, option) &&
           ZQCopyText(target, 256, option) == S_OK;
}

// ---------------------------------------------------------------------------------------------
// The paper group
// ---------------------------------------------------------------------------------------------
void CZQPaperQualityTab::VLayoutPaperGroup(PageContext* pContext) {
    if (!pContext || !pContext->pLogic || !m_hPage || !m_pCUIParam) return;
    CZQUILogic& logic = *pContext->pLogic;
    const POEMCUIPPARAM param = m_pCUIParam;
    const ZQUIDevmode* core = CoreOf(param);
    const bool largeFormat = logic.BIsLargeFormat() != FALSE;
    const bool exceptions = logic.BHasPageExceptions() != FALSE;
    // The page-exceptions list takes the place of the page kinds.
    const bool covers = logic.BDiffFirstPageAllowed() && core && core->dwLayoutMode == 3 && !exceptions;
    const bool borderless = HasItem(param, zqkw::kZQBorderLessPhoto);
    const bool autoFit = HasItem(param, zqkw::kZQBorderLessAutoFit);
    const bool quiet = HasItem(param, zqkw::kZQQuietPrinting);
    const bool saveRoll = HasItem(param, zqkw::kZQSaveRollPaper);
    const bool cutter = HasItem(param, zqkw::kZQDisableAutoCutter);
    const bool autorotate = HasItem(param, zqkw::kZQAutorotate);
    const bool interleave = HasItem(param, zqkw::kOHTInterleave);

    // The custom paper button needs printer data it may write, unless it opens the large-format
    // paper dialog; the probe may open a second handle, closed below.
    const bool lqjTree = logic.BHasLqjPaperSizeTreeview() != FALSE;
    bool custom = Readable(param, L"ZQConsumerCustomPaper") && !lqjTree;
    HANDLE written = param->hPrinter;
    BOOL reopened = FALSE;
    if (BIsPrinterDataReadOnly(param->hPrinter, m_szText, param->pPublicDM, &written, &reopened))
        custom = largeFormat && !lqjTree;
    bool showSource = logic.BHasSeveralPaperSources() != FALSE;
    // The media list shows when the core driver offers a media type: the logic's flag says so when
    // the plug-in took the item over, else the item itself.
    bool showMedia = logic.m_bMediaTypeItem || PubItem(param, DMPUB_MEDIATYPE);

    const ControlRect* size = Recorded(IDC_CBO_MEDIA_SIZE_IS);
    float y = size ? static_cast<float>(size->rc.top + size->cy + 4) : 0.0f;
    float last = size ? static_cast<float>(size->rc.top) : 0.0f;  // top of the control placed last
    // Places a control and moves y below it; a control's own recorded top when fTop is negative.
    auto place = [&](int id, float fTop) {
        const ControlRect* r = Recorded(id);
        if (!r) return;
        const float top = fTop < 0 ? static_cast<float>(r->rc.top) : fTop;
        BPlace(id, top);
        last = top;
        y = static_cast<float>(static_cast<int>(top) + r->cy) + 4;
    };
    auto bottomOf = [&](int id) {
        HWND control = GetDlgItem(m_hPage, id);
        RECT rc = {};
        VGetChildRect(m_hPage, control, &rc, nullptr, nullptr);
        return static_cast<float>(rc.bottom);
    };

    // Shows and places a control at fTop (its own recorded top when negative), or hides it.
    auto box = [&](bool shown, int id, float fTop) {
        if (!shown) {
            Hide(GetDlgItem(m_hPage, id));
            return;
        }
        Show(GetDlgItem(m_hPage, id));
        place(id, fTop);
    };
    box(custom, IDC_BTN_CUSTOM, -1);
    if (BUpdateMarginControls(pContext)) place(IDC_BTN_MARGINS, -1);
    box(borderless, IDC_CHECK_BORDERLESS_PHOTO, -1);
    if (quiet)
        Show(GetDlgItem(m_hPage, IDC_CHK_QUIET_PRINTING));
    else
        Hide(GetDlgItem(m_hPage, IDC_CHK_QUIET_PRINTING));
    const ControlRect* fit = Recorded(IDC_CHECK_BORDERLESS_AUTOFIT);
    box(autoFit, IDC_CHECK_BORDERLESS_AUTOFIT, last + static_cast<float>(fit ? fit->cy : 0) + 2);

    // Different papers for some pages, and the cover of the chosen kind.
    HWND different = HControl(kCtlDifferentPaper);
    HWND kinds = HControl(kCtlPageKinds);
    const bool differentChecked = covers && Checked(different);
    if (covers) {
        ShowEnabled(different);
        place(IDC_CHK_MEDIA_PAPER_DIFF, y);
        if (differentChecked) {
            ShowEnabled(kinds);
            const ControlRect* r = Recorded(IDC_CHK_MEDIA_PAPER_DIFF);
            place(IDC_LB_MEDIA_PAPER_OPTIONS, last + static_cast<float>(r ? r->cy : 0) + 2);
        } else {
            Hide(kinds);
        }
    } else {
        Hide(different);
        Hide(kinds);
    }
    HWND backCover = HControl(kCtlBackCover);
    WCHAR kindText[256];
    if (differentChecked && SelectedText(kinds, kindText, true)) {
        const int kind = IPageKindFromName(kindText, &logic);
        if (DWORD* flag = CoverFlagOf(logic, kind)) {
            ShowEnabled(backCover);
            SetCheck(backCover, *flag != 0);
            showSource = showMedia = *flag != 0;
            place(IDC_CHK_MEDIA_BACK_COVER, y);
        } else {
            Hide(backCover);
            showSource = showMedia = true;
            y = bottomOf(IDC_LB_MEDIA_PAPER_OPTIONS) + 4;
        }
    } else {
        Hide(backCover);
    }

    // Large-format printers say what is loaded.
    if (largeFormat) {
        ShowEnabled(HControl(kCtlRollInfo));
        place(IDC_STA_CURRENTLY_LOADED_INFO, y);
        const ControlRect* loaded = Recorded(IDC_STA_CURRENTLY_LOADED_INFO);
        place(IDC_STA_ROLL_INFO, last + static_cast<float>(loaded ? loaded->cy : 0) + 4);
    } else {
        Hide(HControl(kCtlRollInfo));
    }

    // A label with its list under it; locked lists stay in sight but cannot be changed.
    auto labelled = [&](bool shown, int label, int list, BOOL locked) {
        if (!shown) {
            Hide(GetDlgItem(m_hPage, label));
            Hide(GetDlgItem(m_hPage, list));
            return;
        }
        ShowEnabled(GetDlgItem(m_hPage, label), !locked);
        ShowEnabled(GetDlgItem(m_hPage, list), !locked);
        place(label, y);
        const ControlRect* r = Recorded(label);
        place(list, last + static_cast<float>(r ? r->cy : 0) + 2);
    };
    labelled(showSource, IDC_STA_MEDIA_SOURCE_IS, IDC_CBO_MEDIA_SOURCE_IS, m_bSourceLocked);

    box(saveRoll && !largeFormat, IDC_CHK_SAVE_ROLL_PAPER, y);
    box(cutter && !largeFormat, IDC_CHK_DISABLE_AUTO_CUTTER, y);
    box(autorotate && !largeFormat, IDC_CHK_AUTOROTATE, y);
    // The printed-on label under the sample page belongs to large-format printers.
    VShowControl(IDC_PREVIEW_DIMENSIONS, largeFormat, TRUE);

    // The different-paper box names covers only where the printer has no cover choice of its own.
    PWSTR* backCovers = nullptr;
    int backCoverCount = 0;
    DWGetOptionKeywords(param, L"ZQNBackCover", &backCovers, &backCoverCount, OEMCUIP_DOCPROP);
    if (backCoverCount > 0)
        BSetWindowTextRes(828, different, L"&Use Different Paper");
    else if (!exceptions)
        BSetWindowTextRes(3998, different, L"&Use Different Paper/Covers");
    VFreeStringList(backCovers, backCoverCount);

    labelled(showMedia, IDC_STA_MEDIA_TYPE_IS, IDC_CBO_MEDIA_TYPE_IS, m_bMediaLocked);
    box(interleave && !largeFormat, IDC_CHK_OHTINTERLEAVE, y);
    if (exceptions) {
        // Whether these show is the page exceptions' own affair.
        place(IDC_STA_PAGE_EXCEPTIONS, y);
        const float listTop = y;
        place(IDC_LB_PAGE_EXCEPTIONS_OPTIONS, listTop);
        BPlace(IDC_BTN_CONSTRAINT_PAGE_EXCEPTIONS, listTop);
        place(IDC_BTN_PAGE_EXCEPTIONS_SETTINGS, y);
    }

    if (reopened && written) zqspool::Spooler().ClosePrinter(written);
}

void CZQPaperQualityTab::VEnableMediaTypeForPageKind(PageContext* pContext) {
    if (!pContext || !pContext->pLogic || !m_hPage || pContext->pLogic->BHasPageExceptions() ||
        !Checked(HControl(kCtlDifferentPaper)))
        return;
    WCHAR text[256];
    if (!SelectedText(HControl(kCtlPageKinds), text, true)) return;
    const int kind = IPageKindFromName(text, pContext->pLogic);
    // Covers from the feeder take the feeder's paper as it is.
    const BOOL enable = !m_bMediaLocked && kind != kKindBackCoverFeeder && kind != kKindFrontCoverFeeder;
    EnableWindow(HControl(kCtlMedia), enable);
    EnableWindow(HControl(kCtlMediaLabel), enable);
}
