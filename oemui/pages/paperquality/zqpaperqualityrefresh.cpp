// The Paper/Quality page and its settings: every control set from the working settings and the
// core driver's items (mode 0), the page stored back (mode 2), and the change notice that tells the
// sheet whether the page differs from the settings it was opened with.
#include "pages/paperquality/zqpaperqualitypage.h"

#include <commctrl.h>

#include "common/zqkeywords.h"
#include "featurelogic/zqplugin.h"
#include "featurelogic/zqquicksets.h"
#include "pages/finishing/zqfinishingpage.h"
#include "pages/paperquality/zqpaperqualitypage.h"
#include "pages/paperquality/zqpaperqualityutil.h"
#include "res/zqpaperqualityids.h"
#include "settings/zqdriverdata.h"

using namespace zqpq;

namespace {

const PCWSTR kBackFeeder = L"Back_Cover_from_Feeder_InputBin";
const PCWSTR kFrontFeeder = L"Front_Cover_from_Feeder_InputBin";

// The settings' start page: the title id of this page.
constexpr int kPaperQualityTitleId = 832;

}  // namespace

void CZQPaperQualityTab::VRefresh(HWND, PageContext* pContext, int iMode) {
    if (iMode == kRefreshShow)
        VSetAllControls(pContext);
    else if (iMode == kRefreshStore)
        VStoreSettings(m_hPage, pContext);
}

// ---------------------------------------------------------------------------------------------
// Mode 0
// ---------------------------------------------------------------------------------------------
// The paper slots from the settings: ids become positions in the core driver's items. Settings
// that hold no paper yet (0 is neither a bin nor a media id) take the core driver's choice, so
// storing the page keeps it.
void CZQPaperQualityTab::VReadSlots(PageContext* pContext) {
    ZQUIDevmode& work = *WorkOf(pContext);
    const POPTITEM sourceItem = PubItem(m_pCUIParam, DMPUB_DEFSOURCE);
    const POPTITEM mediaItem = PubItem(m_pCUIParam, DMPUB_MEDIATYPE);
    for (int kind = kKindFirstPage; kind < kPageKindCount; ++kind) {
        const int slot = ISlotOfKind(kind);
        const KindFields fields = FieldsOf(work, kind);
        // The feeder covers keep the feeder feature's option index as it is.
        if (kind >= kKindBackCoverFeeder)
            m_slots.aiSource[slot] = static_cast<int>(*fields.source);
        else if (*fields.source == 0 && sourceItem)
            m_slots.aiSource[slot] = static_cast<int>(sourceItem->Sel);
        else
            m_slots.aiSource[slot] = ISourcePosition(pContext, *fields.source);
        m_slots.aiMedia[slot] = *fields.media == 0 && mediaItem ? static_cast<int>(mediaItem->Sel)
                                                                 : IMediaTypeIndex(pContext, *fields.media);
    }
    for (int kind : {kKindOtherPages, kKindLastPage, kKindBackCover}) {
        const int slot = ISlotOfKind(kind);
        m_slots.aiMediaId[slot] = static_cast<int>(DWMediaTypeFromIndex(pContext, m_slots.aiMedia[slot]));
    }
    // A stored media the printer does not list: the core driver takes what the page shows instead.
    if (m_slots.aiMediaId[kWorkingSlot] != static_cast<int>(work.dwOtherPagesMedia))
        DWSelectPubOption(m_pCUIParam, DMPUB_MEDIATYPE, 0, m_slots.aiMedia[kWorkingSlot]);
}

void CZQPaperQualityTab::VSetAllControls(PageContext* pContext) {
    if (!pContext || !pContext->pLogic || !WorkOf(pContext) || !m_hPage || !m_pCUIParam) return;
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;
    const BOOL exceptions = logic.BHasPageExceptions();

    // The sources and the papers of the page kinds.
    HWND sources = HControl(kCtlSource);
    SendMessageW(sources, CB_RESETCONTENT, 0, 0);
    VAddSourceOptions(pContext, sources);
    VReadSlots(pContext);
    const int defaultSource = ISourcePosition(pContext, work.dwDefaultSourceId);
    const int defaultMedia = IMediaTypeIndex(pContext, work.dwDefaultMediaId);
    auto takeDefault = [&](int kind) {
        const int slot = ISlotOfKind(kind);
        m_slots.aiSource[slot] = defaultSource;
        m_slots.aiMedia[slot] = defaultMedia;
        m_slots.aiMediaId[slot] = static_cast<int>(work.dwDefaultMediaId);
    };
    // A cover that is printed shows its paper once, so the lists hold its choices.
    auto showCover = [&](int kind, void (CZQPaperQualityTab::*show)(PageContext*),
                         void (CZQPaperQualityTab::*refill)(PageContext*)) {
        (this->*show)(pContext);
        const int slot = ISlotOfKind(kind);
        m_slots.aiMedia[slot] = IMediaTypeIndex(pContext, *FieldsOf(work, kind).media);
        (this->*refill)(pContext);
    };
    auto followMediaId = [&](int kind) {
        const int slot = ISlotOfKind(kind);
        m_slots.aiMediaId[slot] = static_cast<int>(DWMediaTypeFromIndex(pContext, m_slots.aiMedia[slot]));
    };
    HWND backCover = HControl(kCtlBackCover);
    if (work.dwBackCover) {
        SetCheck(backCover, true);
        showCover(kKindBackCover, &CZQPaperQualityTab::VShowBackCoverPaper, &CZQPaperQualityTab::VFillMediaTypeList);
    } else {
        SetCheck(backCover, false);
        takeDefault(kKindBackCover);
    }
    const int margins = logic.IGetSavedSelection(zqkw::kZQMarginType);
    if (margins == 0 || margins == 1) SetCheck(HControl(kCtlExtendedMargins), margins == 1);
    if (work.dwFrontCover)
        showCover(kKindFrontCover, &CZQPaperQualityTab::VShowFrontCoverPaper, &CZQPaperQualityTab::VFillMediaTypeList);
    else
        takeDefault(kKindFrontCover);
    followMediaId(kKindFrontCover);
    followMediaId(kKindFrontCoverFeeder);
    if (work.dwBackCoverFeeder)
        showCover(kKindBackCoverFeeder, &CZQPaperQualityTab::VShowBackFeederPaper,
                  &CZQPaperQualityTab::VFillMediaTypeListBackFeeder);
    else
        m_slots.aiMedia[ISlotOfKind(kKindBackCoverFeeder)] = defaultMedia;
    followMediaId(kKindBackCoverFeeder);
    if (work.dwFrontCoverFeeder)
        showCover(kKindFrontCoverFeeder, &CZQPaperQualityTab::VShowFrontFeederPaper,
                  &CZQPaperQualityTab::VFillMediaTypeListFrontFeeder);
    else
        m_slots.aiMedia[ISlotOfKind(kKindFrontCoverFeeder)] = defaultMedia;
    followMediaId(kKindFrontCoverFeeder);

    // With different papers the lists show the front cover's; without, every page takes the other
    // pages' paper and the feeders are off.
    HWND different = HControl(kCtlDifferentPaper);
    HWND kinds = HControl(kCtlPageKinds);
    if (work.dwDiffPaper && !exceptions) {
        SetCheck(different, true);
        EnableWindow(kinds, TRUE);
        const int kind = work.dwFrontCoverFeeder ? kKindFrontCoverFeeder : kKindFrontCover;
        if (kind == kKindFrontCoverFeeder)
            VShowFrontFeederPaper(pContext);
        else
            VShowFrontCoverPaper(pContext);
        const int slot = ISlotOfKind(kind);
        m_slots.aiMedia[slot] = IMediaTypeIndex(pContext, static_cast<DWORD>(m_slots.aiMediaId[slot]));
        VSelectSourceAndMedia(pContext, m_slots.aiSource[slot], m_slots.aiMedia[slot], kKindNone);
    } else {
        SetCheck(different, false);
        EnableWindow(kinds, FALSE);
        VSelectSourceAndMedia(pContext, m_slots.aiSource[kWorkingSlot], m_slots.aiMedia[kWorkingSlot], kKindNone);
        DWSelectOptionByIndex(param, kBackFeeder, 0, OEMCUIP_DOCPROP);
        DWSelectOptionByIndex(param, kFrontFeeder, 0, OEMCUIP_DOCPROP);
        const int first = ISlotOfKind(kKindFirstPage);
        m_slots.aiSource[first] = m_slots.aiSource[kWorkingSlot];
        m_slots.aiMedia[first] = m_slots.aiMedia[kWorkingSlot];
        m_slots.aiMediaId[first] = m_slots.aiMediaId[kWorkingSlot];
    }
    followMediaId(kKindFirstPage);

    // The paper size and the check boxes of their features.
    auto show = [&](BYTE pubId, PCWSTR feature, ZQPqControl control, BOOL checkBox) {
        return logic.IBindFeatureControl(pubId, feature, HControl(control), nullptr, OEMCUIP_DOCPROP,
                                         CZQUILogic::kBindShow, checkBox, 0, nullptr);
    };
    show(DMPUB_FORMNAME, nullptr, kCtlSize, FALSE);
    VSetDocumentSizeText(pContext);
    show(0, ThriftmodeFeature(pContext), kCtlThriftmode, TRUE);
    show(0, zqkw::kOHTInterleave, kCtlTransparencySheets, TRUE);
    show(0, zqkw::kPrintFinish, kCtlGloss, TRUE);
    show(0, zqkw::kZQQuietPrinting, kCtlQuietPrinting, TRUE);
    if (!Bound(show(0, zqkw::kZQMaximumDetail, kCtlMaxDetails, TRUE))) Hide(HControl(kCtlMaxDetails));
    const int preview = OptionIs(param, zqkw::kZQPrintPreview, L"TRUE");
    if (preview >= 0) SetCheck(HControl(kCtlShowPreview), preview == 1);
    WCHAR option[256];
    if (!ReadOption(param, zqkw::kZQOptimizeFor, option)) {
        for (ZQPqControl c : {kCtlOptimizeFor, kCtlDrawingsText, kCtlImages}) Hide(HControl(c));
    } else if (ZQEqualNoCase(option, L"OptimizeText") || ZQEqualNoCase(option, L"OptimizeImage")) {
        const bool text = ZQEqualNoCase(option, L"OptimizeText");
        SetCheck(HControl(kCtlDrawingsText), text);
        SetCheck(HControl(kCtlImages), !text);
    }

    // Rolls: nothing of a roll applies to the sheet source.
    const ZQPqControl rolls[] = {kCtlDisableAutoCutter, kCtlSaveRollPaper, kCtlAutorotate};
    show(0, zqkw::kZQDisableAutoCutter, kCtlDisableAutoCutter, TRUE);
    show(0, zqkw::kZQSaveRollPaper, kCtlSaveRollPaper, TRUE);
    show(0, zqkw::kZQAutorotate, kCtlAutorotate, TRUE);
    if (ReadOption(param, zqkw::kInputSlot, option)) {
        const bool sheet = ZQEqualNoCase(option, zqkw::kSheet);
        for (ZQPqControl c : rolls) {
            if (sheet) SetCheck(HControl(c), false);
            EnableWindow(HControl(c), !sheet);
        }
    }
    // A job sent as a 24-bit picture turns only where the settings allow the turned picture.
    if (OptionIs(param, zqkw::kZQSendJobAsBitmap, zqkw::kSleekMode24bpp) == 1) {
        ZQUIDevmode* core = CoreOf(param);
        if (core && core->dwLayoutMode == 3) {
            EnableWindow(HControl(kCtlAutorotate), TRUE);
        } else {
            EnableWindow(HControl(kCtlAutorotate), FALSE);
            DWSelectOptionByIndex(param, zqkw::kZQAutorotate, 0, OEMCUIP_DOCPROP);
            if (core) core->dwAutorotate = 0;
        }
    }
    VSetBorderlessControls(pContext);

    VRefreshQualityGroup(pContext);
    if (!exceptions) VClearPageList();
    if (logic.BNeedsScaleFromLargePaper(pContext->pCaps) && pContext->pPlugin)
        if (auto* finishing = static_cast<CZQFinishingTab*>(pContext->pPlugin->Tab(kPageFinishing)))
            finishing->m_bPoster = FALSE;
    const BOOL resolution = BShowResolutionTexts(pContext);
    for (ZQPqControl c : {kCtlRenderDpi, kCtlColorInputDpi, kCtlColorOutput, kCtlRender, kCtlColorInput,
                          kCtlColorOutputDpi})
        if (resolution)
            ShowEnabled(HControl(c));
        else
            Hide(HControl(c));
    m_bPrintingHelp = BHasPrintingHelp(param, kPagePaperQuality);
    HWND help = GetDlgItem(m_hPage, IDC_BTN_PAPERMEDIA_PRINTINGHELP);
    if (m_bPrintingHelp)
        ShowEnabled(help);
    else
        Hide(help);

    VFillPageList(&logic, TRUE);
    if (exceptions) VRefreshPageExceptionsList(pContext);
    VLayoutPaperGroup(pContext);
    VStoreCheckBoxStates(pContext);
    CZQLocalPtr<WCHAR> exist;
    if (CZQDriverData::BGetPrinterData(param->hPrinter, zqsettings::kDMCExist, exist.Put()))
        VReadSourceMediaLocks(pContext);
}

// The borderless boxes: a borderless paper without its photo setting is switched to its twin, or
// loses its borderless settings.
void CZQPaperQualityTab::VSetBorderlessControls(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    const POEMCUIPPARAM param = m_pCUIParam;
    WCHAR option[256];
    if (!ReadOption(param, zqkw::kZQBorderLessPhoto, option)) return;
    HWND photo = HControl(kCtlBorderlessPhoto);
    HWND fit = HControl(kCtlBorderlessAutoFit);
    if (ZQEqualNoCase(option, L"TRUE")) {
        logic.IBindFeatureControl(0, zqkw::kZQBorderLessPhoto, photo, nullptr, OEMCUIP_DOCPROP, CZQUILogic::kBindShow,
                                  TRUE, 0, nullptr);
        logic.IBindFeatureControl(0, zqkw::kZQBorderLessAutoFit, fit, nullptr, OEMCUIP_DOCPROP, CZQUILogic::kBindShow,
                                  TRUE, 0, nullptr);
        EnableWindow(photo, BHasBorderlessTwin(pContext));
        EnableWindow(fit, TRUE);
        return;
    }
    BOOL twin = BHasBorderlessTwin(pContext);
    if (logic.BIsBorderlessPaper()) {
        if (twin) {
            BSelectBorderlessTwin(pContext);
            VRefreshPaperSizeList(pContext);
        } else {
            logic.VUpdateBorderlessForPageSize(pContext->pPlugin, pContext->pRules);
            VRefreshPaperSizeList(pContext);
            twin = BHasBorderlessTwin(pContext);
        }
    }
    SetCheck(photo, false);
    SetCheck(fit, false);
    EnableWindow(photo, twin);
    EnableWindow(fit, FALSE);
}

// ---------------------------------------------------------------------------------------------
// Mode 2
// ---------------------------------------------------------------------------------------------
void CZQPaperQualityTab::VStoreSettings(HWND hDlg, PageContext* pContext) {
    if (!pContext || !pContext->pLogic || !WorkOf(pContext) || !hDlg || !m_pCUIParam) return;
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;
    const PrinterCaps* caps = pContext->pCaps;
    ZQUIDevmode* core = CoreOf(param);

    // The papers of the page kinds: positions become the printer's ids again.
    for (int kind = kKindFirstPage; kind < kPageKindCount; ++kind) {
        const int slot = ISlotOfKind(kind);
        const KindFields fields = FieldsOf(work, kind);
        *fields.source = kind >= kKindBackCoverFeeder ? static_cast<uint32_t>(m_slots.aiSource[slot])
                                                       : DWSourceFromPosition(pContext, m_slots.aiSource[slot]);
        *fields.media = static_cast<uint32_t>(m_slots.aiMediaId[slot]);
    }
    work.dwDiffPaper = !logic.BHasPageExceptions() && Checked(GetDlgItem(hDlg, IDC_CHK_MEDIA_PAPER_DIFF)) ? 1 : 0;
    if (core)
        ZQCopyTextN(reinterpret_cast<PWSTR>(work.szExtraText), ARRAYSIZE(work.szExtraText),
                    reinterpret_cast<PCWSTR>(core->szExtraText), ARRAYSIZE(core->szExtraText));

    // The core driver's items take the other pages' paper.
    const int source = m_slots.aiSource[kWorkingSlot];
    if (PubItem(param, DMPUB_DEFSOURCE) && caps && source >= 0 && static_cast<DWORD>(source) < caps->dwSourceCount)
        DWSelectPubOption(param, DMPUB_DEFSOURCE, 0, source);
    if (POPTITEM media = PubItem(param, DMPUB_MEDIATYPE)) {
        int position = 0;
        for (DWORD i = 0; caps && caps->pMediaIds && i < caps->dwMediaCount; ++i)
            if (caps->pMediaIds[i] == static_cast<DWORD>(m_slots.aiMediaId[kWorkingSlot])) {
                position = static_cast<int>(i);
                break;
            }
        if (position < IGetOptionCount(media))
            ReportSelection(param, media, position, static_cast<DWORD>(media->Sel), OEMCUIP_DOCPROP);
    }
    VApplyPaperSizeSelection(pContext);
    logic.VValidatePrintOnPaper();

    auto apply = [&](PCWSTR feature, int id) {
        logic.IBindFeatureControl(0, feature, GetDlgItem(hDlg, id), nullptr, OEMCUIP_DOCPROP, CZQUILogic::kBindApply,
                                  TRUE, 0, nullptr);
    };
    apply(ThriftmodeFeature(pContext), IDC_CHK_THRIFTMODE);
    apply(zqkw::kOHTInterleave, IDC_CHK_OHTINTERLEAVE);
    apply(zqkw::kZQQuietPrinting, IDC_CHK_QUIET_PRINTING);
    apply(zqkw::kPrintFinish, IDC_CHK_GLOSS);
    if (RulesLoaded(pContext)) {
        HWND list = GetDlgItem(hDlg, IDC_CBO_PRINT_QUALITY);
        const int index = BHasLqjQualitySettings(pContext)
                              ? m_iSliderPosition
                              : IOptionIndexFromComboItem(pContext, zqkw::kPrintQualityGroup, 0, list,
                                                          static_cast<int>(SendMessageW(list, CB_GETCURSEL, 0, 0)));
        // A list without a choice leaves the stored quality as it was.
        if (index >= 0) work.dwPrintQualityGroupIndex = static_cast<uint32_t>(index);
    }
    if (work.dwBooklet) work.dwBackCover = 0;
    apply(zqkw::kZQBorderLessPhoto, IDC_CHECK_BORDERLESS_PHOTO);
    apply(zqkw::kZQBorderLessAutoFit, IDC_CHECK_BORDERLESS_AUTOFIT);
    apply(zqkw::kZQSaveRollPaper, IDC_CHK_SAVE_ROLL_PAPER);
    apply(zqkw::kZQDisableAutoCutter, IDC_CHK_DISABLE_AUTO_CUTTER);
    apply(zqkw::kZQAutorotate, IDC_CHK_AUTOROTATE);
    VStoreCheckBoxStates(pContext);
    if (core) core->iStartPage = kPaperQualityTitleId;
    // A borderless photo has no margins to centre in.
    if (Checked(GetDlgItem(hDlg, IDC_CHECK_BORDERLESS_PHOTO))) {
        for (PCWSTR feature : {L"ZQCenterOnPage", zqkw::kZQEmulatePexlonMargins, zqkw::kZQSymmetricMargins,
                               L"ZQMinimizeMargins"})
            DWSelectOptionByIndex(param, feature, 0, OEMCUIP_DOCPROP);
        logic.m_adwBorderlessCleared[0] = logic.m_adwBorderlessCleared[1] = 0;
    }
    if (work.dwPdl == kPdlPcl3) logic.VSetColorModeForQualityGroup();
}

// ---------------------------------------------------------------------------------------------
// The change notice
// ---------------------------------------------------------------------------------------------
void CZQPaperQualityTab::VNotifyPageChanged(HWND hDlg, PageContext* pContext) {
    if (!pContext || !pContext->pLogic || !WorkOf(pContext) || !hDlg) return;
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;
    ZQUIDevmode* saved = CoreOf(param);
    bool changed = false;

    if (saved) {
        for (int kind = kKindFirstPage; kind < kPageKindCount && !changed; ++kind) {
            if (logic.BHasSeveralPaperSources() && *FieldsOf(work, kind).source != *FieldsOf(*saved, kind).source)
                changed = true;
            if (logic.m_bMediaCompare &&
                static_cast<uint32_t>(m_slots.aiMediaId[ISlotOfKind(kind)]) != *FieldsOf(*saved, kind).media)
                changed = true;
        }
        changed = changed || work.dwDiffPaper != saved->dwDiffPaper || work.dwBackCover != saved->dwBackCover ||
                  work.dwBackCoverFeeder != saved->dwBackCoverFeeder || work.dwFrontCover != saved->dwFrontCover ||
                  work.dwFrontCoverFeeder != saved->dwFrontCoverFeeder || work.wOrientation != saved->wOrientation;
    }
    changed = changed || m_bPageExceptionsChanged;
    // The image-enhancement dialog's change counts until apply clears it.
    changed = changed || m_imageEnhanceDlg.BChanged();

    // Controls against the selections the sheet was opened with; a feature whose selection was not
    // kept has nothing to differ from.
    int differs = 0;
    auto compare = [&](BYTE pubId, PCWSTR feature, int id, BOOL checkBox) {
        const int old = logic.IGetSavedSelection(feature);
        if (old < 0) return;
        logic.IBindFeatureControl(pubId, pubId ? nullptr : feature, GetDlgItem(hDlg, id), &differs, OEMCUIP_DOCPROP,
                                  CZQUILogic::kBindCompare, checkBox, old, nullptr);
    };
    compare(0, zqkw::kOHTInterleave, IDC_CHK_OHTINTERLEAVE, TRUE);
    compare(0, ThriftmodeFeature(pContext), IDC_CHK_THRIFTMODE, TRUE);
    compare(0, zqkw::kZQMarginType, IDC_CHK_EXTENDED_MARGINS, TRUE);
    // The margins button shows no choice of its own: the features its dialog sets are compared.
    for (PCWSTR feature : {zqkw::kZQMarginType, zqkw::kZQLayoutType, zqkw::kZQPrintWithMargins, zqkw::kZQBorderless}) {
        const int old = logic.IGetSavedSelection(feature);
        POPTITEM item = FeatureItem(param, feature);
        if (old >= 0 && item && item->Sel != old) differs = 1;
    }
    compare(0, zqkw::kZQBorderLessPhoto, IDC_CHECK_BORDERLESS_PHOTO, TRUE);
    compare(0, zqkw::kZQBorderLessAutoFit, IDC_CHECK_BORDERLESS_AUTOFIT, TRUE);
    compare(0, zqkw::kZQQuietPrinting, IDC_CHK_QUIET_PRINTING, TRUE);
    compare(0, zqkw::kPrintFinish, IDC_CHK_GLOSS, TRUE);
    if (BIsWindowVisible(GetDlgItem(hDlg, IDC_CBO_PRINT_QUALITY)))
        compare(0, zqkw::kPrintQualityGroup, IDC_CBO_PRINT_QUALITY, FALSE);
    compare(0, zqkw::kZQMaximumDetail, IDC_CHK_MAX_DETAILS, TRUE);
    compare(0, zqkw::kZQOptimizeFor, IDC_RB_IMAGES, TRUE);
    compare(0, zqkw::kZQSaveRollPaper, IDC_CHK_SAVE_ROLL_PAPER, TRUE);
    compare(0, zqkw::kZQDisableAutoCutter, IDC_CHK_DISABLE_AUTO_CUTTER, TRUE);
    compare(0, zqkw::kZQAutorotate, IDC_CHK_AUTOROTATE, TRUE);
    compare(0, zqkw::kZQPrintPreview, IDC_CHK_SHOW_PREVIEW_FIN, TRUE);
    {
        const int old = logic.IGetSavedSelection(logic.PszFormFeature());
        if (old >= 0)
            logic.IBindFeatureControl(DMPUB_FORMNAME, nullptr, GetDlgItem(hDlg, IDC_CBO_MEDIA_SIZE_IS), &differs,
                                      OEMCUIP_DOCPROP, CZQUILogic::kBindCompare, FALSE, old, nullptr);
    }
    changed = changed || differs != 0;

    CZQQuickSets* quickSets = pContext->pPlugin ? pContext->pPlugin->QuickSets() : nullptr;
    const bool quickSetChanged = quickSets && quickSets->BChanged();
    SendMessageW(GetParent(hDlg), changed || quickSetChanged ? PSM_CHANGED : PSM_UNCHANGED,
                 reinterpret_cast<WPARAM>(hDlg), 0);
    if (saved && saved->dwQuickSetInUse && quickSets && quickSets->BPageDiffers(work, kPagePaperQuality))
        work.dwPendingChange = 1;
}

// ---------------------------------------------------------------------------------------------
// Small stores
// ---------------------------------------------------------------------------------------------
void CZQPaperQualityTab::VStoreCheckBoxStates(PageContext* pContext) {
    if (!pContext || !pContext->pLogic) return;
    DWORD* boxes = pContext->pLogic->m_adwQualityBoxes;
    boxes[0] = Checked(HControl(kCtlThriftmode)) ? 1 : 0;
    boxes[1] = Checked(HControl(kCtlGloss)) ? 1 : 0;
    boxes[2] = Checked(HControl(kCtlBorderlessPhoto)) ? 1 : 0;
    boxes[3] = Checked(HControl(kCtlBorderlessAutoFit)) ? 1 : 0;
    boxes[4] = Checked(HControl(kCtlMaxDetails)) ? 1 : 0;
    boxes[5] = Checked(HControl(kCtlDrawingsText)) ? 0 : 1;
}

void CZQPaperQualityTab::VResetPageKindPapers(PageContext* pContext) {
    const ZQUIDevmode* work = WorkOf(pContext);
    if (!work) return;
    const int defaultSource = ISourcePosition(pContext, work->dwDefaultSourceId);
    const int defaultMedia = IMediaTypeIndex(pContext, work->dwDefaultMediaId);
    for (int kind : {kKindBackCover, kKindFrontCover}) {
        const int slot = ISlotOfKind(kind);
        m_slots.aiSource[slot] = defaultSource;
        m_slots.aiMedia[slot] = defaultMedia;
        m_slots.aiMediaId[slot] = static_cast<int>(work->dwDefaultMediaId);
    }
    // The feeders keep their option: only their media follow the document's.
    for (int kind : {kKindBackCoverFeeder, kKindFrontCoverFeeder}) {
        const int slot = ISlotOfKind(kind);
        m_slots.aiMedia[slot] = defaultMedia;
        m_slots.aiMediaId[slot] = static_cast<int>(DWMediaTypeFromIndex(pContext, defaultMedia));
    }
    SetCheck(HControl(kCtlBackCover), false);
    const int first = ISlotOfKind(kKindFirstPage);
    for (int kind : {kKindOtherPages, kKindLastPage}) {
        const int slot = ISlotOfKind(kind);
        m_slots.aiSource[slot] = m_slots.aiSource[first];
        m_slots.aiMedia[slot] = m_slots.aiMedia[first];
        m_slots.aiMediaId[slot] = static_cast<int>(DWMediaTypeFromIndex(pContext, m_slots.aiMedia[slot]));
    }
}
