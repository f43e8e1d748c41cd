// The Paper/Quality page laid out for its printer: the print-quality group (ordinary and
// large-format quality modes, the roll and orientation controls) and the paper group, each stacked
// from the top without gaps by the control table's stack.
#include "common/zqkeywords.h"
#include "pages/paperquality/zqpaperqualitypage.h"

#include <commctrl.h>

#include "pages/zqpageitems.h"
#include "platform/zqspooler.h"
#include "res/zqpaperqualityids.h"

using namespace zqpage;

namespace {

const PCWSTR kPhotoFixFeatures[6] = {zqkw::kZQContrast,   zqkw::kZQDigitalFlash, zqkw::kZQSharpness,
                                     zqkw::kZQVorevEzuro, zqkw::kZQSmoothing,    zqkw::kZQRedEyeReduction};

// Ids of quick-set controls that other pages' templates carry; this page's template lacks them.
const int kQuickSetControls[] = {483, 485, 489, 490};

bool HasItem(POEMCUIPPARAM pParam, PCWSTR pszFeature) { return FeatureItem(pParam, pszFeature) != nullptr; }

}  // namespace

// ---------------------------------------------------------------------------------------------
// The template's rectangles
// ---------------------------------------------------------------------------------------------
void CZQPaperQualityTab::VRecordControlRects() { m_controls.VRecordRects(); }

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
        return Bound(logic.IBindFeatureControl(0, feature, m_controls.H(control), nullptr, OEMCUIP_DOCPROP,
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
    if (!aiPresent || !pContext || !pContext->pLogic || !m_controls.Page()) return;
    const POEMCUIPPARAM param = m_pCUIParam;
    if (BHasLqjQualitySettings(pContext)) {
        // The large-format quality mode: standard options on the slider, or custom options.
        for (ZQPqControl c : {kCtlQuality, kCtlThriftmode, kCtlGloss, kCtlMaxDetails, kCtlOptimizeFor, kCtlDrawingsText,
                              kCtlImages, kCtlImageEnhancement})
            Hide(m_controls.H(c));
        BSetWindowTextRes(5945, m_controls.H(kCtlStandardOptions), L"Sta&ndard Options");
        BSetWindowTextRes(5772, m_controls.H(kCtlSpeedLabel), L"Speed");
        BSetWindowTextRes(5773, m_controls.H(kCtlQualityLabel), L"Quality");
        BSetWindowTextRes(5944, m_controls.H(kCtlCustomOptions), L"&Custom Options");
        BSetWindowTextRes(895, m_controls.H(kCtlQualitySettings), L"&Settings...");
        EnableWindow(m_controls.H(kCtlQualitySettings), FALSE);
        const int standard = OptionIs(param, L"ZQLQJPQSettings", L"StandardOptions");
        const int custom = OptionIs(param, L"ZQLQJPQSettings", L"CustomOptions");
        if (standard == 1 || custom == 1) {
            for (ZQPqControl c : {kCtlQualitySlider, kCtlSpeedLabel, kCtlQualityLabel})
                EnableWindow(m_controls.H(c), standard == 1);
            EnableWindow(m_controls.H(kCtlQualitySettings), custom == 1);
        }
    } else {
        for (ZQPqControl c : {kCtlStandardOptions, kCtlCustomOptions, kCtlQualitySlider, kCtlSpeedLabel,
                              kCtlQualityLabel, kCtlQualitySettings})
            Hide(m_controls.H(c));
        if (!aiPresent[kHasQualityList] && !aiPresent[kHasGloss] && !aiPresent[kHasThriftmode])
            for (ZQPqControl c : {kCtlQualityGroup, kCtlQuality, kCtlThriftmode, kCtlGloss}) Hide(m_controls.H(c));

        // The stack, from the quality list's place down.
        const CZQPaperQualityControls::ControlRect* list = m_controls.Recorded(IDC_CBO_PRINT_QUALITY);
        const CZQPaperQualityControls::ControlRect* thrift = m_controls.Recorded(IDC_CHK_THRIFTMODE);
        const int thriftHeight = thrift ? thrift->cy : 0;
        float y = list ? static_cast<float>(list->rc.top) : 0.0f;
        if (aiPresent[kHasQualityList]) {
            ShowEnabled(m_controls.H(kCtlQuality));
            y += static_cast<float>(list ? list->cy : 0) + 6.5f;
        } else {
            Hide(m_controls.H(kCtlQuality));
        }
        if (aiPresent[kHasOptimizeFor]) {
            const CZQPaperQualityControls::ControlRect* text = m_controls.Recorded(IDC_RB_DRAWING_TEXT);
            const int textHeight = text ? text->cy : 0;
            for (ZQPqControl c : {kCtlOptimizeFor, kCtlDrawingsText, kCtlImages}) Show(m_controls.H(c));
            // The label beside the first choice, the second choice under it.
            m_controls.BPlace(IDC_OPTIMIZE_FOR, y + 10);
            m_controls.BPlace(IDC_RB_DRAWING_TEXT, y + 10);
            const float images = (y + 10) + static_cast<float>(textHeight) + 4;
            m_controls.BPlace(IDC_RB_IMAGES, images);
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
                Hide(m_controls.H(box.control));
                continue;
            }
            Show(m_controls.H(box.control));
            m_controls.BPlace(box.id, y);
            y += static_cast<float>(thriftHeight) + 4;
        }
        if (BShowResolutionTexts(pContext)) {
            const CZQPaperQualityControls::ControlRect* output = m_controls.Recorded(IDC_COLOR_OUTPUT_DPI);
            if (output) y = static_cast<float>(output->rc.bottom) + 4;
        }
        for (int id : {IDC_IMAGE_ENHANCEMENT, IDC_CHK_QUIET_PRINTING}) {
            if (!aiPresent[id == IDC_IMAGE_ENHANCEMENT ? kHasImageEnhancement : kHasQuietPrinting]) continue;
            m_controls.BPlace(id, y);
            const CZQPaperQualityControls::ControlRect* r = m_controls.Recorded(id);
            y += static_cast<float>(r ? r->cy : 0) + 4;
        }
    }

    // Rolls and orientation. The template gives the quality group a column of its own, so on a
    // large-format printer the paper group and the size text keep their places and the
    // orientation group follows the paper group's frame, its buttons one under the other.
    const bool saveRoll = HasItem(param, zqkw::kZQSaveRollPaper);
    const bool cutter = HasItem(param, zqkw::kZQDisableAutoCutter);
    const bool autorotate = HasItem(param, zqkw::kZQAutorotate);
    if (pContext->pLogic->BIsLargeFormat()) {
        for (int id : kQuickSetControls) Hide(m_controls.Item(id));
        for (ZQPqControl c : {kCtlAutorotate, kCtlDisableAutoCutter, kCtlSaveRollPaper}) Hide(m_controls.H(c));
        const CZQPaperQualityControls::ControlRect* size = m_controls.Recorded(IDC_STA_MEDIA_SIZE_DIMENSIONS);
        if (size) m_controls.BPlace(IDC_STA_MEDIA_SIZE_DIMENSIONS, static_cast<float>(size->rc.top), 15);
        m_controls.VFitPaperFrame(true);
    } else {
        for (ZQPqControl c : {kCtlOrientationGroup, kCtlPortrait, kCtlLandscape, kCtlShowPreview}) Hide(m_controls.H(c));
        // Rolls are never fed from the sheet source; the refresh turns the boxes off for it.
        const BOOL rollSource = OptionIs(param, zqkw::kInputSlot, zqkw::kSheet) != 1;
        const struct {
            bool has;
            ZQPqControl control;
        } rolls[] = {{autorotate, kCtlAutorotate}, {cutter, kCtlDisableAutoCutter}, {saveRoll, kCtlSaveRollPaper}};
        for (const auto& roll : rolls)
            if (roll.has) ShowEnabled(m_controls.H(roll.control), rollSource);
        m_controls.VFitPaperFrame(false);
    }
}

void CZQPaperQualityTab::VRefreshQualityGroup(PageContext* pContext) {
    if (!pContext || !pContext->pLogic || !m_controls.Page()) return;
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
                SetCheck(m_controls.H(kCtlStandardOptions), standard == 1);
                SetCheck(m_controls.H(kCtlCustomOptions), custom == 1);
                if (custom == 1) EnableWindow(m_controls.H(kCtlQualitySettings), TRUE);
            }
            // Every position of the slider is an option.
            int count = 0;
            if (POPTITEM levels = FeatureItem(param, L"StandardPrintQuality")) {
                count = IGetOptionCount(levels);
                m_state.iSliderPosition = static_cast<int>(levels->Sel);
            } else {
                count = IGetOptionCount(FeatureItem(param, zqkw::kPrintQualityGroup));
            }
            HWND slider = m_controls.H(kCtlQualitySlider);
            SendMessageW(slider, TBM_SETRANGE, TRUE, MAKELPARAM(0, count > 0 ? count - 1 : 0));
            SendMessageW(slider, TBM_SETPOS, TRUE, m_state.iSliderPosition);
            SendMessageW(slider, TBM_SETTICFREQ, 1, 0);
        } else {
            for (int action : {CZQUILogic::kBindFillFree, CZQUILogic::kBindShow})
                logic.IBindFeatureControl(0, zqkw::kPrintQualityGroup, m_controls.H(kCtlQuality), nullptr,
                                          OEMCUIP_DOCPROP, action, FALSE, 0, nullptr);
        }
    }

    // The image-enhancement button goes with the photo enhancements of the full interface.
    HWND button = m_controls.H(kCtlImageEnhancement);
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
    if (StoreListKeyword(pContext->pLogic ? pContext->pLogic->Param() : nullptr,
                         GetDlgItem(hDlg, IDC_CBO_PRINT_QUALITY), zqkw::kPrintQualityGroup, target))
        return TRUE;
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
    if (!pContext || !pContext->pLogic || !m_controls.Page() || !m_pCUIParam) return;
    CZQUILogic& logic = *pContext->pLogic;
    const POEMCUIPPARAM param = m_pCUIParam;
    const ZQUIDevmode* core = CoreOf(param);
    const bool largeFormat = logic.BIsLargeFormat() != FALSE;
    const bool exceptions = logic.BHasPageExceptions() != FALSE;
    // The page-exceptions list takes the place of the page kinds.
    const bool covers = logic.BDiffFirstPageAllowed() && core && core->dwLayoutMode == 3 && !exceptions;

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

    // From the paper-size list down.
    const CZQPaperQualityControls::ControlRect* size = m_controls.Recorded(IDC_CBO_MEDIA_SIZE_IS);
    CZQPaperQualityControls::CStack stack(m_controls, size ? static_cast<float>(size->rc.top + size->cy + 4) : 0.0f,
                                          size ? static_cast<float>(size->rc.top) : 0.0f);
    stack.VBox(custom, IDC_BTN_CUSTOM, -1);
    if (BUpdateMarginControls(pContext)) stack.VPlace(IDC_BTN_MARGINS, -1);
    stack.VBox(HasItem(param, zqkw::kZQBorderLessPhoto), IDC_CHECK_BORDERLESS_PHOTO, -1);
    if (HasItem(param, zqkw::kZQQuietPrinting))
        Show(m_controls.Item(IDC_CHK_QUIET_PRINTING));
    else
        Hide(m_controls.Item(IDC_CHK_QUIET_PRINTING));
    const CZQPaperQualityControls::ControlRect* fit = m_controls.Recorded(IDC_CHECK_BORDERLESS_AUTOFIT);
    stack.VBox(HasItem(param, zqkw::kZQBorderLessAutoFit), IDC_CHECK_BORDERLESS_AUTOFIT,
               stack.Last() + static_cast<float>(fit ? fit->cy : 0) + 2);

    // Different papers for some pages, and the cover of the chosen kind.
    HWND different = m_controls.H(kCtlDifferentPaper);
    HWND kinds = m_controls.H(kCtlPageKinds);
    const bool differentChecked = covers && Checked(different);
    if (covers) {
        ShowEnabled(different);
        stack.VPlace(IDC_CHK_MEDIA_PAPER_DIFF, stack.Next());
        if (differentChecked) {
            ShowEnabled(kinds);
            const CZQPaperQualityControls::ControlRect* r = m_controls.Recorded(IDC_CHK_MEDIA_PAPER_DIFF);
            stack.VPlace(IDC_LB_MEDIA_PAPER_OPTIONS, stack.Last() + static_cast<float>(r ? r->cy : 0) + 2);
        } else {
            Hide(kinds);
        }
    } else {
        Hide(different);
        Hide(kinds);
    }
    HWND backCover = m_controls.H(kCtlBackCover);
    WCHAR kindText[256];
    if (differentChecked && SelectedText(kinds, kindText, true)) {
        const int kind = IPageKindFromName(kindText, &logic);
        if (DWORD* flag = CZQPaperSlots::CoverInUse(logic, kind)) {
            ShowEnabled(backCover);
            SetCheck(backCover, *flag != 0);
            showSource = showMedia = *flag != 0;
            stack.VPlace(IDC_CHK_MEDIA_BACK_COVER, stack.Next());
        } else {
            Hide(backCover);
            showSource = showMedia = true;
            stack.VSetNext(stack.BottomOf(IDC_LB_MEDIA_PAPER_OPTIONS) + 4);
        }
    } else {
        Hide(backCover);
    }

    // Large-format printers say what is loaded.
    if (largeFormat) {
        ShowEnabled(m_controls.H(kCtlRollInfo));
        stack.VPlace(IDC_STA_CURRENTLY_LOADED_INFO, stack.Next());
        const CZQPaperQualityControls::ControlRect* loaded = m_controls.Recorded(IDC_STA_CURRENTLY_LOADED_INFO);
        stack.VPlace(IDC_STA_ROLL_INFO, stack.Last() + static_cast<float>(loaded ? loaded->cy : 0) + 4);
    } else {
        Hide(m_controls.H(kCtlRollInfo));
    }

    stack.VLabelled(showSource, IDC_STA_MEDIA_SOURCE_IS, IDC_CBO_MEDIA_SOURCE_IS, m_state.bSourceLocked);
    stack.VBox(HasItem(param, zqkw::kZQSaveRollPaper) && !largeFormat, IDC_CHK_SAVE_ROLL_PAPER, stack.Next());
    stack.VBox(HasItem(param, zqkw::kZQDisableAutoCutter) && !largeFormat, IDC_CHK_DISABLE_AUTO_CUTTER, stack.Next());
    stack.VBox(HasItem(param, zqkw::kZQAutorotate) && !largeFormat, IDC_CHK_AUTOROTATE, stack.Next());
    // The printed-on label under the sample page belongs to large-format printers.
    m_controls.VShow(IDC_PREVIEW_DIMENSIONS, largeFormat, TRUE);

    // The different-paper box names covers only where the printer has no cover choice of its own.
    PWSTR* backCovers = nullptr;
    int backCoverCount = 0;
    DWGetOptionKeywords(param, L"ZQNBackCover", &backCovers, &backCoverCount, OEMCUIP_DOCPROP);
    if (backCoverCount > 0)
        BSetWindowTextRes(828, different, L"&Use Different Paper");
    else if (!exceptions)
        BSetWindowTextRes(3998, different, L"&Use Different Paper/Covers");
    VFreeStringList(backCovers, backCoverCount);

    stack.VLabelled(showMedia, IDC_STA_MEDIA_TYPE_IS, IDC_CBO_MEDIA_TYPE_IS, m_state.bMediaLocked);
    stack.VBox(HasItem(param, zqkw::kOHTInterleave) && !largeFormat, IDC_CHK_OHTINTERLEAVE, stack.Next());
    if (exceptions) {
        // Whether these show is the page exceptions' own affair.
        stack.VPlace(IDC_STA_PAGE_EXCEPTIONS, stack.Next());
        const float listTop = stack.Next();
        stack.VPlace(IDC_LB_PAGE_EXCEPTIONS_OPTIONS, listTop);
        m_controls.BPlace(IDC_BTN_CONSTRAINT_PAGE_EXCEPTIONS, listTop);
        stack.VPlace(IDC_BTN_PAGE_EXCEPTIONS_SETTINGS, stack.Next());
    }

    m_controls.VFitPaperFrame(largeFormat);
    if (reopened && written) zqspool::Spooler().ClosePrinter(written);
}

void CZQPaperQualityTab::VEnableMediaTypeForPageKind(PageContext* pContext) {
    if (!pContext || !pContext->pLogic || !m_controls.Page() || pContext->pLogic->BHasPageExceptions() ||
        !Checked(m_controls.H(kCtlDifferentPaper)))
        return;
    WCHAR text[256];
    if (!SelectedText(m_controls.H(kCtlPageKinds), text, true)) return;
    const int kind = IPageKindFromName(text, pContext->pLogic);
    // Covers from the feeder take the feeder's paper as it is.
    const BOOL enable = !m_state.bMediaLocked && kind != kKindBackCoverFeeder && kind != kKindFrontCoverFeeder;
    EnableWindow(m_controls.H(kCtlMedia), enable);
    EnableWindow(m_controls.H(kCtlMediaLabel), enable);
}
