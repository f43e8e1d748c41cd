// The Paper/Quality page and its settings: every control set from the working settings and the
// core driver's items (mode 0), the page stored back (mode 2), and the change notice that tells the
// sheet whether the page differs from the settings it was opened with.
#include "common/zqkeywords.h"
#include "pages/zqpageasks.h"
#include "pages/paperquality/zqpaperqualitypage.h"

#include <commctrl.h>

#include "featurelogic/zqquicksets.h"
#include "pages/zqpageitems.h"
#include "res/zqpaperqualityids.h"
#include "settings/zqdriverdata.h"

using namespace zqpage;

namespace {

// The settings' start page: the title id of this page.
constexpr int kPaperQualityTitleId = 832;

// The check boxes of their features and the optimise-for choice, as the features stand; then the
// roll boxes, of which nothing applies to the sheet source.
void ShowFeatureBoxes(CZQUILogic& logic, const CZQPaperQualityControls& controls, POEMCUIPPARAM param,
                      PCWSTR pszThriftmode) {
    auto show = [&](PCWSTR feature, ZQPqControl control) {
        return logic.IBindFeatureControl(0, feature, controls.H(control), nullptr, OEMCUIP_DOCPROP,
                                         CZQUILogic::kBindShow, TRUE, 0, nullptr);
    };
    show(pszThriftmode, kCtlThriftmode);
    show(zqkw::kOHTInterleave, kCtlTransparencySheets);
    show(zqkw::kPrintFinish, kCtlGloss);
    show(zqkw::kZQQuietPrinting, kCtlQuietPrinting);
    if (!Bound(show(zqkw::kZQMaximumDetail, kCtlMaxDetails))) Hide(controls.H(kCtlMaxDetails));
    const int preview = OptionIs(param, zqkw::kZQPrintPreview, L"TRUE");
    if (preview >= 0) SetCheck(controls.H(kCtlShowPreview), preview == 1);
    WCHAR option[256];
    if (!ReadOption(param, zqkw::kZQOptimizeFor, option)) {
        for (ZQPqControl c : {kCtlOptimizeFor, kCtlDrawingsText, kCtlImages}) Hide(controls.H(c));
    } else if (ZQEqualNoCase(option, L"OptimizeText") || ZQEqualNoCase(option, L"OptimizeImage")) {
        const bool text = ZQEqualNoCase(option, L"OptimizeText");
        SetCheck(controls.H(kCtlDrawingsText), text);
        SetCheck(controls.H(kCtlImages), !text);
    }

    const ZQPqControl rolls[] = {kCtlDisableAutoCutter, kCtlSaveRollPaper, kCtlAutorotate};
    show(zqkw::kZQDisableAutoCutter, kCtlDisableAutoCutter);
    show(zqkw::kZQSaveRollPaper, kCtlSaveRollPaper);
    show(zqkw::kZQAutorotate, kCtlAutorotate);
    if (ReadOption(param, zqkw::kInputSlot, option)) {
        const bool sheet = ZQEqualNoCase(option, zqkw::kSheet);
        for (ZQPqControl c : rolls) {
            if (sheet) SetCheck(controls.H(c), false);
            EnableWindow(controls.H(c), !sheet);
        }
    }
    // A job sent as a 24-bit picture turns only where the settings allow the turned picture.
    if (OptionIs(param, zqkw::kZQSendJobAsBitmap, zqkw::kSleekMode24bpp) == 1) {
        ZQUIDevmode* core = CoreOf(param);
        if (core && core->dwLayoutMode == 3) {
            EnableWindow(controls.H(kCtlAutorotate), TRUE);
        } else {
            EnableWindow(controls.H(kCtlAutorotate), FALSE);
            CZQCommon::DWSelectOptionByIndex(param, zqkw::kZQAutorotate, 0, OEMCUIP_DOCPROP);
            if (core) core->dwAutorotate = 0;
        }
    }
}

// The borderless boxes: a borderless paper without its photo setting is switched to its twin, or
// loses its borderless settings.
void SetBorderlessControls(CZQPaperQualityTab& page, PageContext* pContext, const CZQPaperQualityControls& controls) {
    CZQUILogic& logic = *pContext->pLogic;
    const POEMCUIPPARAM param = page.CUIParam();
    WCHAR option[256];
    if (!ReadOption(param, zqkw::kZQBorderLessPhoto, option)) return;
    HWND photo = controls.H(kCtlBorderlessPhoto);
    HWND fit = controls.H(kCtlBorderlessAutoFit);
    if (ZQEqualNoCase(option, L"TRUE")) {
        logic.IBindFeatureControl(0, zqkw::kZQBorderLessPhoto, photo, nullptr, OEMCUIP_DOCPROP, CZQUILogic::kBindShow,
                                  TRUE, 0, nullptr);
        logic.IBindFeatureControl(0, zqkw::kZQBorderLessAutoFit, fit, nullptr, OEMCUIP_DOCPROP, CZQUILogic::kBindShow,
                                  TRUE, 0, nullptr);
        EnableWindow(photo, page.BHasBorderlessTwin(pContext));
        EnableWindow(fit, TRUE);
        return;
    }
    BOOL twin = page.BHasBorderlessTwin(pContext);
    if (logic.BIsBorderlessPaper()) {
        if (twin) {
            page.BSelectBorderlessTwin(pContext);
            page.VRefreshPaperSizeList(pContext);
        } else {
            logic.VUpdateBorderlessForPageSize(pContext->pRules);
            page.VRefreshPaperSizeList(pContext);
            twin = page.BHasBorderlessTwin(pContext);
        }
    }
    SetCheck(photo, false);
    SetCheck(fit, false);
    EnableWindow(photo, twin);
    EnableWindow(fit, FALSE);
}


}  // namespace

void CZQPaperQualityTab::VRefresh(HWND, PageContext* pContext, int iMode) {
    if (iMode == kRefreshShow)
        VSetAllControls(pContext);
    else if (iMode == kRefreshStore)
        VStoreSettings(m_controls.Page(), pContext);
}

// ---------------------------------------------------------------------------------------------
// Mode 0
// ---------------------------------------------------------------------------------------------
void CZQPaperQualityTab::VSetAllControls(PageContext* pContext) {
    if (!pContext || !pContext->pLogic || !WorkOf(pContext) || !m_controls.Page() || !m_pCUIParam) return;
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;
    const ZQPaperItems items = ZQPaperItemsOf(param, pContext);
    const BOOL exceptions = logic.BHasPageExceptions();

    // The sources and the papers of the page kinds.
    HWND sources = m_controls.H(kCtlSource);
    SendMessageW(sources, CB_RESETCONTENT, 0, 0);
    CZQPaperSlots::VFillSourceList(sources, logic, pContext->pCaps);
    m_slots.VRead(work, items, sources);
    const int defaultSource = ISourcePosition(pContext, work.dwDefaultSourceId);
    const int defaultMedia = IMediaTypeIndex(pContext, work.dwDefaultMediaId);
    const int defaultMediaId = static_cast<int>(work.dwDefaultMediaId);
    // A cover that is printed shows its paper once, so the lists hold its choices.
    auto showCover = [&](int kind, void (CZQPaperQualityTab::*show)(PageContext*),
                         void (CZQPaperQualityTab::*refill)(PageContext*)) {
        (this->*show)(pContext);
        m_slots.aiMedia[CZQPaperSlots::ISlotOfKind(kind)] =
            IMediaTypeIndex(pContext, *CZQPaperSlots::Fields(work, kind).media);
        (this->*refill)(pContext);
    };
    HWND backCover = m_controls.H(kCtlBackCover);
    if (work.dwBackCover) {
        SetCheck(backCover, true);
        showCover(kKindBackCover, &CZQPaperQualityTab::VShowBackCoverPaper, &CZQPaperQualityTab::VFillMediaTypeList);
    } else {
        SetCheck(backCover, false);
        m_slots.VSetKind(kKindBackCover, defaultSource, defaultMedia, defaultMediaId);
    }
    const int margins = logic.IGetSavedSelection(zqkw::kZQMarginType);
    if (margins == 0 || margins == 1) SetCheck(m_controls.H(kCtlExtendedMargins), margins == 1);
    if (work.dwFrontCover)
        showCover(kKindFrontCover, &CZQPaperQualityTab::VShowFrontCoverPaper, &CZQPaperQualityTab::VFillMediaTypeList);
    else
        m_slots.VSetKind(kKindFrontCover, defaultSource, defaultMedia, defaultMediaId);
    m_slots.VFollowMediaId(kKindFrontCover, items);
    m_slots.VFollowMediaId(kKindFrontCoverFeeder, items);
    if (work.dwBackCoverFeeder)
        showCover(kKindBackCoverFeeder, &CZQPaperQualityTab::VShowBackFeederPaper,
                  &CZQPaperQualityTab::VFillMediaTypeListBackFeeder);
    else
        m_slots.aiMedia[CZQPaperSlots::ISlotOfKind(kKindBackCoverFeeder)] = defaultMedia;
    m_slots.VFollowMediaId(kKindBackCoverFeeder, items);
    if (work.dwFrontCoverFeeder)
        showCover(kKindFrontCoverFeeder, &CZQPaperQualityTab::VShowFrontFeederPaper,
                  &CZQPaperQualityTab::VFillMediaTypeListFrontFeeder);
    else
        m_slots.aiMedia[CZQPaperSlots::ISlotOfKind(kKindFrontCoverFeeder)] = defaultMedia;
    m_slots.VFollowMediaId(kKindFrontCoverFeeder, items);

    // With different papers the lists show the front cover's; without, every page takes the other
    // pages' paper and the feeders are off.
    HWND different = m_controls.H(kCtlDifferentPaper);
    HWND kinds = m_controls.H(kCtlPageKinds);
    if (work.dwDiffPaper && !exceptions) {
        SetCheck(different, true);
        EnableWindow(kinds, TRUE);
        const int kind = work.dwFrontCoverFeeder ? kKindFrontCoverFeeder : kKindFrontCover;
        if (kind == kKindFrontCoverFeeder)
            VShowFrontFeederPaper(pContext);
        else
            VShowFrontCoverPaper(pContext);
        const int slot = CZQPaperSlots::ISlotOfKind(kind);
        m_slots.aiMedia[slot] = IMediaTypeIndex(pContext, static_cast<DWORD>(m_slots.aiMediaId[slot]));
        VSelectSourceAndMedia(pContext, m_slots.aiSource[slot], m_slots.aiMedia[slot], kKindNone);
    } else {
        SetCheck(different, false);
        EnableWindow(kinds, FALSE);
        VSelectSourceAndMedia(pContext, m_slots.aiSource[kWorkingSlot], m_slots.aiMedia[kWorkingSlot], kKindNone);
        DWSelectOptionByIndex(param, kBackFeederFeature, 0, OEMCUIP_DOCPROP);
        DWSelectOptionByIndex(param, kFrontFeederFeature, 0, OEMCUIP_DOCPROP);
        m_slots.VSetKind(kKindFirstPage, m_slots.aiSource[kWorkingSlot], m_slots.aiMedia[kWorkingSlot],
                         m_slots.aiMediaId[kWorkingSlot]);
    }
    m_slots.VFollowMediaId(kKindFirstPage, items);

    // The paper size, then the boxes of their features.
    logic.IBindFeatureControl(DMPUB_FORMNAME, nullptr, m_controls.H(kCtlSize), nullptr, OEMCUIP_DOCPROP,
                              CZQUILogic::kBindShow, FALSE, 0, nullptr);
    VSetDocumentSizeText(pContext);
    ShowFeatureBoxes(logic, m_controls, param, ThriftmodeFeature(pContext));
    SetBorderlessControls(*this, pContext, m_controls);

    VRefreshQualityGroup(pContext);
    if (!exceptions) VClearPageList();
    // A paper printed scaled from a larger one is no poster on the Finishing page either.
    if (logic.BNeedsScaleFromLargePaper(pContext->pCaps)) logic.VClearPosterFlag();
    const BOOL resolution = BShowResolutionTexts(pContext);
    for (ZQPqControl c : {kCtlRenderDpi, kCtlColorInputDpi, kCtlColorOutput, kCtlRender, kCtlColorInput,
                          kCtlColorOutputDpi})
        if (resolution)
            ShowEnabled(m_controls.H(c));
        else
            Hide(m_controls.H(c));
    m_state.bPrintingHelp = BHasPrintingHelp(param, kPagePaperQuality);
    HWND help = m_controls.Item(IDC_BTN_PAPERMEDIA_PRINTINGHELP);
    if (m_state.bPrintingHelp)
        ShowEnabled(help);
    else
        Hide(help);

    VFillPageList(&logic, TRUE);
    if (exceptions) m_exceptions.VRefreshPageExceptionsList(pContext);
    VLayoutPaperGroup(pContext);
    VStoreCheckBoxStates(pContext);
    CZQLocalPtr<WCHAR> exist;
    if (CZQDriverData::BGetPrinterData(param->hPrinter, zqsettings::kDMCExist, exist.Put()))
        VReadSourceMediaLocks(pContext);
}

// ---------------------------------------------------------------------------------------------
// Mode 2
// ---------------------------------------------------------------------------------------------
void CZQPaperQualityTab::VStoreSettings(HWND hDlg, PageContext* pContext) {
    if (!pContext || !pContext->pLogic || !WorkOf(pContext) || !hDlg || !m_pCUIParam) return;
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;
    ZQUIDevmode* core = CoreOf(param);

    // The papers of the page kinds: positions become the printer's ids again.
    const ZQPaperItems items = ZQPaperItemsOf(param, pContext);
    m_slots.VWrite(work, items);
    work.dwDiffPaper = !logic.BHasPageExceptions() && Checked(GetDlgItem(hDlg, IDC_CHK_MEDIA_PAPER_DIFF)) ? 1 : 0;
    if (core)
        ZQCopyTextN(reinterpret_cast<PWSTR>(work.szExtraText), ARRAYSIZE(work.szExtraText),
                    reinterpret_cast<PCWSTR>(core->szExtraText), ARRAYSIZE(core->szExtraText));

    m_slots.VSelectWorkingPaper(items);
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
                              ? m_state.iSliderPosition
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
        for (PCWSTR feature :
             {zqkw::kZQCenterOnPage, zqkw::kZQEmulatePexlonMargins, zqkw::kZQSymmetricMargins, zqkw::kZQMinimizeMargins})
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
            if (logic.BHasSeveralPaperSources() && *CZQPaperSlots::Fields(work, kind).source != *CZQPaperSlots::Fields(*saved, kind).source)
                changed = true;
            if (logic.m_bMediaCompare &&
                static_cast<uint32_t>(m_slots.aiMediaId[CZQPaperSlots::ISlotOfKind(kind)]) != *CZQPaperSlots::Fields(*saved, kind).media)
                changed = true;
        }
        changed = changed || work.dwDiffPaper != saved->dwDiffPaper || work.dwBackCover != saved->dwBackCover ||
                  work.dwBackCoverFeeder != saved->dwBackCoverFeeder || work.dwFrontCover != saved->dwFrontCover ||
                  work.dwFrontCoverFeeder != saved->dwFrontCoverFeeder || work.wOrientation != saved->wOrientation;
    }
    changed = changed || m_state.bPageExceptionsChanged;
    // The image-enhancement dialog's change counts until apply clears it.
    changed = changed || (pContext->pImageEnhance && pContext->pImageEnhance->BChanged());

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

    CZQQuickSets* quickSets = pContext->pQuickSets;
    const bool quickSetChanged = quickSets && quickSets->BChanged();
    SendMessageW(GetParent(hDlg), changed || quickSetChanged ? PSM_CHANGED : PSM_UNCHANGED,
                 reinterpret_cast<WPARAM>(hDlg), 0);
    if (saved && saved->dwQuickSetInUse && quickSets && quickSets->BPageDiffers(work, CZQQuickSets::kComparePaperQuality))
        work.dwPendingChange = 1;
}

// ---------------------------------------------------------------------------------------------
// Small stores
// ---------------------------------------------------------------------------------------------
void CZQPaperQualityTab::VStoreCheckBoxStates(PageContext* pContext) {
    if (!pContext || !pContext->pLogic) return;
    DWORD* boxes = pContext->pLogic->m_adwQualityBoxes;
    boxes[0] = Checked(m_controls.H(kCtlThriftmode)) ? 1 : 0;
    boxes[1] = Checked(m_controls.H(kCtlGloss)) ? 1 : 0;
    boxes[2] = Checked(m_controls.H(kCtlBorderlessPhoto)) ? 1 : 0;
    boxes[3] = Checked(m_controls.H(kCtlBorderlessAutoFit)) ? 1 : 0;
    boxes[4] = Checked(m_controls.H(kCtlMaxDetails)) ? 1 : 0;
    boxes[5] = Checked(m_controls.H(kCtlDrawingsText)) ? 0 : 1;
}

void CZQPaperQualityTab::VResetPageKindPapers(PageContext* pContext) {
    const ZQUIDevmode* work = WorkOf(pContext);
    if (!work) return;
    const ZQPaperItems items = ZQPaperItemsOf(m_pCUIParam, pContext);
    const int defaultSource = ISourcePosition(pContext, work->dwDefaultSourceId);
    const int defaultMedia = IMediaTypeIndex(pContext, work->dwDefaultMediaId);
    for (int kind : {kKindBackCover, kKindFrontCover})
        m_slots.VSetKind(kind, defaultSource, defaultMedia, static_cast<int>(work->dwDefaultMediaId));
    // The feeders keep their option: only their media follow the document's.
    for (int kind : {kKindBackCoverFeeder, kKindFrontCoverFeeder}) {
        m_slots.aiMedia[CZQPaperSlots::ISlotOfKind(kind)] = defaultMedia;
        m_slots.VFollowMediaId(kind, items);
    }
    SetCheck(m_controls.H(kCtlBackCover), false);
    const int first = CZQPaperSlots::ISlotOfKind(kKindFirstPage);
    for (int kind : {kKindOtherPages, kKindLastPage}) {
        const int slot = CZQPaperSlots::ISlotOfKind(kind);
        m_slots.aiSource[slot] = m_slots.aiSource[first];
        m_slots.aiMedia[slot] = m_slots.aiMedia[first];
        m_slots.VFollowMediaId(kind, items);
    }
}
