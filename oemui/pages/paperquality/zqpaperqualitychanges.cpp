// The Paper/Quality page's four lists: a new paper size, media type, paper source or print quality
// reaches the core driver's items at once, runs the helper file's macros and brings the settings
// that depend on it, the other controls and the sample page in line.
#include <cwchar>

#include "common/zqkeywords.h"
#include "featurelogic/zqpagegates.h"
#include "pages/paperquality/zqpaperqualitypage.h"
#include "pages/parts/zqtreepopups.h"
#include "pages/zqpageitems.h"
#include "preview/zqpreview.h"
#include "res/zqpaperqualityids.h"
#include "res/zqpopupids.h"

using namespace zqpage;

namespace {

// The lists show the paper of the chosen kind of page: single pages take their own paper.
bool KindChange(const PageContext* pContext, HWND hDifferent) {
    return pContext && pContext->pLogic && !pContext->pLogic->BHasPageExceptions() && Checked(hDifferent);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Steps every reaction shares
// ---------------------------------------------------------------------------------------------
int CZQPaperQualityTab::ISelectedPageKind(PageContext* pContext) {
    WCHAR text[256];
    if (!KindChange(pContext, m_controls.H(kCtlDifferentPaper)) || !SelectedText(m_controls.H(kCtlPageKinds), text, true))
        return kKindNone;
    return IPageKindFromName(text, pContext->pLogic);
}

void CZQPaperQualityTab::VBorderlessTwinSwitch(PageContext* pContext) {
    if (!BHasBorderlessTwin(pContext)) return;
    BSelectBorderlessTwin(pContext);
    VRefreshPaperSizeList(pContext);
}

// The sample page's labels of a large-format printer: the paper printed on and, while the document
// goes onto another paper, the document's own size.
void CZQPaperQualityTab::VShowPaperTexts(PageContext* pContext, BOOL bPaper, BOOL bDocSize) {
    const ZQUIDevmode* work = WorkOf(pContext);
    if (!work || !pContext->pLogic->BIsLargeFormat()) return;
    if (bPaper) VSetPreviewPaperText(work, pContext->pCaps, m_controls.H(kCtlPaperLabel), 0);
    if (bDocSize && work->dwPrintDocOn == 1)
        VSetPreviewDocSizeText(work, pContext->pCaps, m_controls.H(kCtlDocSizeLabel));
}

// The chosen kind's own feature takes the list's choice; a kind with a slot of its own lends the
// core driver its paper, a feeder cover keeps its feeder's option.
BOOL CZQPaperQualityTab::BKindListChoice(PageContext* pContext, int iKind, BOOL bMedia) {
    const POEMCUIPPARAM param = m_pCUIParam;
    WCHAR text[256], cover[256];
    if (!KindChange(pContext, m_controls.H(kCtlDifferentPaper)) ||
        !CZQPaperSlots::BChosenCover(param, m_controls.H(kCtlPageKinds), text, cover))
        return FALSE;
    CZQPaperSlots::VSelectKindOption(param, cover, bMedia ? zqkw::kMediaType : zqkw::kInputBin,
                                     m_controls.H(bMedia ? kCtlMedia : kCtlSource));
    int* working = bMedia ? m_slots.aiMedia : m_slots.aiSource;
    switch (iKind) {
        case kKindFirstPage:
        case kKindLastPage:
        case kKindBackCover:
        case kKindFrontCover: working[kWorkingSlot] = working[CZQPaperSlots::ISlotOfKind(iKind)]; break;
        case kKindBackCoverFeeder:
        case kKindFrontCoverFeeder: {
            int option = -1;
            if (DWGetFeatureOptionIndex(param, iKind == kKindBackCoverFeeder ? kBackFeederFeature : kFrontFeederFeature, &option) ==
                ZQOPT_OK)
                m_slots.aiSource[CZQPaperSlots::ISlotOfKind(iKind)] = option;
            return TRUE;
        }
        default: break;
    }
    if (bMedia)
        VSelectOtherPagesMedia(pContext);
    else
        VSelectCurrentSource(pContext);
    return TRUE;
}

namespace {

void RunStaplingMacro(PageContext* pContext, POEMCUIPPARAM pParam, bool bPostScript) {
    WCHAR stapling[256];
    if (ReadOption(pParam, StaplingFeature(bPostScript), stapling) && RulesLoaded(pContext))
        pContext->pRules->BRunMacro(L"macro_StaplingConstraints", stapling, pParam);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Paper size
// ---------------------------------------------------------------------------------------------
void CZQPaperQualityTab::VOnPaperSizeChange(HWND hDlg, PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    const POEMCUIPPARAM param = m_pCUIParam;
    const bool postScript = PostScript(pContext);
    s_bSourceSelectOnce = TRUE;
    const PCWSTR paperFeature = postScript ? zqkw::kPageSize : zqkw::kPaperSize;
    WCHAR oldPaper[256] = {}, newPaper[256] = {};
    ReadOption(param, paperFeature, oldPaper);
    VOnPaperMore(hDlg, pContext);
    // The large-format list's "Custom" entry, as the user chose it, opens the custom paper dialog.
    WCHAR chosen[256], custom[kResStringChars];
    if (!BLoadResString(1018, custom)) ZQCopyText(custom, kResStringChars, L"Custom");
    const bool customEntry =
        logic.BHasLqjPaperSizeTreeview() && SelectedText(m_controls.H(kCtlSize), chosen) && lstrcmpW(chosen, custom) == 0;

    VApplyPaperSizeSelection(pContext);
    ReadOption(param, paperFeature, newPaper);
    VOnPaperSizeChanged(pContext);
    VSetDocumentSizeText(pContext);
    RunStaplingMacro(pContext, param, postScript);
    logic.VCheckMediaWidthSensor(1, newPaper);
    ResolveStaplingConflict(param, DMPUB_FORMNAME, postScript);

    // Black ink only prints no borderless photo; a borderless paper is one.
    WCHAR grey[256];
    if (ReadOption(param, postScript ? zqkw::kJCLZQPrintInGrayScale : zqkw::kZQPrintInGrayScale, grey)) {
        HWND photo = m_controls.H(kCtlBorderlessPhoto), fit = m_controls.H(kCtlBorderlessAutoFit);
        int borderless = 0;
        if (lstrcmpW(grey, L"BlackOnly") == 0) {
            for (HWND box : {photo, fit}) {
                SetCheck(box, false);
                EnableWindow(box, FALSE);
            }
        } else if (logic.BIsBorderlessPaper()) {
            SetCheck(photo, true);
            SetCheck(fit, false);
            EnableWindow(fit, TRUE);
            EnableWindow(photo, BHasBorderlessTwin(pContext));
            borderless = 1;
        } else {
            const BOOL twin = BHasBorderlessTwin(pContext);
            SetCheck(photo, false);
            SetCheck(fit, false);
            EnableWindow(photo, twin);
            EnableWindow(fit, FALSE);
        }
        DWSelectOptionByIndex(param, zqkw::kZQBorderLessPhoto, borderless, OEMCUIP_DOCPROP);
    }

    if (RulesLoaded(pContext)) {
        CZQXmlUiRules& rules = *pContext->pRules;
        if (IsBannerKeyword(oldPaper) && !IsBannerKeyword(newPaper)) rules.BRunMacro(L"macro_PaperSize_to_Mediatype", newPaper, param);
        WCHAR paper[256], text[256];
        if (ReadOption(param, paperFeature, paper)) {
            rules.BRunFeatureMacros(paperFeature, paper, param);
            if (SelectedText(m_controls.H(kCtlSize), text) && logic.BIsNonStandardBannerName(paper, text))
                rules.BRunMacro(L"macro_custom_paper_size", paper, param);
        }
        BShowResolutionTexts(pContext);
        VRefreshMediaTypeList(pContext);
        VRefreshQualityGroup(pContext);
    }

    const int kind = ISelectedPageKind(pContext);
    VFillSourceCombo(pContext, kind);
    VUpdatePaperMarkers(pContext);
    VFillPageList(&logic, FALSE);
    VStorePageKindPaper(pContext, kind);
    logic.IApplyCustomDuplexRange();
    VLayoutPaperGroup(pContext);
    VEnableMediaTypeForPageKind(pContext);
    VNotifyPageChanged(hDlg, pContext);

    // The list then shows the paper the settings hold again, whichever reading direction the
    // dialog had.
    if (customEntry) {
        VOnCustomPaper(hDlg, pContext);
        VRestorePaperSizeSelection(m_controls.H(kCtlSize), pContext);
    }

    VRefreshQualityGroup(pContext);
    VShowPaperTexts(pContext, TRUE, TRUE);
    m_controls.VRepaint(hDlg, IDC_BTN_PREVIEW_PORT, IDC_BTN_PREVIEW_LAND, TRUE);
    m_controls.VRepaint(hDlg, IDC_STA_MEDIA_SIZE_DIMENSIONS, IDC_STA_MEDIA_SIZE_DIMENSIONS, TRUE);
}

// ---------------------------------------------------------------------------------------------
// Media type
// ---------------------------------------------------------------------------------------------
void CZQPaperQualityTab::VOnMediaTypeChange(HWND hDlg, PageContext* pContext, HWND hList) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;
    WCHAR oldMedia[256] = {};
    const bool oldRead = ReadOption(param, zqkw::kMediaType, oldMedia);
    VOnCustomPaperEntries(hDlg, pContext, hList);
    const BOOL more = BOnMediaMore(hDlg, pContext, hList);

    // The choice belongs to the chosen kind of page while single pages take their own paper.
    const int kind = ISelectedPageKind(pContext);
    VStorePageKindPaper(pContext, kind);
    const int kept = m_slots.aiMedia[kWorkingSlot];
    if (!BKindListChoice(pContext, kind, TRUE)) VSelectOtherPagesMedia(pContext);
    m_slots.aiMedia[kWorkingSlot] = kept;
    // A short list's entry names its type.
    WCHAR chosen[256];
    if (m_state.bMediaTypePopup && !more && SelectedText(hList, chosen) && chosen[0]) BSelectMediaTypeByName(pContext, chosen);

    if (RulesLoaded(pContext)) {
        CZQXmlUiRules& rules = *pContext->pRules;
        WCHAR media[256] = {};
        ReadOption(param, zqkw::kMediaType, media);
        const bool everyPage = work.dwDiffPaper == 0 || kind == kKindOtherPages;
        if (everyPage && BStoreMediaTypeKeyword(hDlg, pContext) && BStoreQualityKeyword(hDlg, pContext)) {
            rules.BRunFeatureMacros(zqkw::kMediaType, media, param);
            RunQualityMacros(pContext, m_pCUIParam, false);
        }
        CheckColorSpaceForQuality(param);
        if (FeatureItem(param, zqkw::kFaceControl)) rules.BRunMacro(L"macro_MediaType_to_FaceControl", media, param);
        if (!logic.BIsBannerPaper()) rules.BRunMacro(L"macro_BannerMediaType_to_BannerPaperSize", media, param);
        // A disc label is one unposterised page, mirrored, on a paper with borders.
        if (lstrcmpW(media, L"ZQ_CD_LABEL_PAPER") == 0) {
            work.dwPagesPerSheet = 1;
            VEndPosterPrinting(pContext);
            work.dwMirror = 1;
            if (Checked(m_controls.H(kCtlBorderlessPhoto))) {
                VBorderlessTwinSwitch(pContext);
                SetCheck(m_controls.H(kCtlBorderlessPhoto), false);
                SetCheck(m_controls.H(kCtlBorderlessAutoFit), false);
                EnableWindow(m_controls.H(kCtlBorderlessAutoFit), FALSE);
            }
            rules.BRunMacro(L"macro_CD_DVD", media, param);
        }
        VOnPaperSizeChanged(pContext);
        VSetLargeFormatMediaDefaults(hDlg, pContext, media);
        if (logic.BIsBorderlessPaper()) {
            POPTITEM photo = FeatureItem(param, zqkw::kZQBorderLessPhoto);
            if (photo && photo->Sel == 0 && BHasBorderlessTwin(pContext) && BSelectBorderlessTwin(pContext)) {
                logic.IBindFeatureControl(0, zqkw::kZQBorderLessPhoto, m_controls.H(kCtlBorderlessPhoto), nullptr,
                                          OEMCUIP_DOCPROP, CZQUILogic::kBindShow, TRUE, 0, nullptr);
                SetCheck(m_controls.H(kCtlBorderlessAutoFit), false);
                EnableWindow(m_controls.H(kCtlBorderlessAutoFit), FALSE);
            }
        } else if (logic.BIsBannerPaper()) {
            for (ZQPqControl box : {kCtlBorderlessPhoto, kCtlBorderlessAutoFit}) {
                SetCheck(m_controls.H(box), false);
                EnableWindow(m_controls.H(box), FALSE);
            }
        }
        BShowResolutionTexts(pContext);
        if (oldRead && IsBannerKeyword(oldMedia) && !IsBannerKeyword(media) && everyPage)
            rules.BRunMacro(L"macro_Mediatype_to_PaperSize", media, param);
        VRefreshQualityGroup(pContext);
        VRefreshPaperSizeList(pContext);
    }

    // Black ink only goes with plain paper; colour management needs a known media.
    WCHAR media[256];
    const bool mediaRead = ReadOption(param, zqkw::kMediaType, media);
    if (OptionIs(param, L"ZQBlackOnlyWithPlain", L"TRUE") == 1 && mediaRead && lstrcmpW(media, zqkw::kPlainMedia) != 0)
        VAdjustGrayscaleForMedia(pContext);
    WCHAR space[256];
    if (mediaRead && lstrcmpW(media, L"AUTOMATIC") == 0 && ReadOption(param, zqkw::kZQInputColorSpace, space) &&
        (lstrcmpW(space, L"MANAGEDBYAPPLN") == 0 || lstrcmpW(space, L"ICM") == 0))
        DWSelectOptionByIndex(param, zqkw::kZQInputColorSpace, 0, OEMCUIP_DOCPROP);
    VFillSourceCombo(pContext, kind);
    VUpdatePaperMarkers(pContext);
    VFillPageList(&logic, FALSE);
    const ZQUIDevmode* core = CoreOf(param);
    ResolveStaplingConflict(param, DMPUB_MEDIATYPE, core && core->dwPdl == kPdlPostScript);
    VNotifyPageChanged(hDlg, pContext);
    m_controls.VRepaint(hDlg, IDC_BTN_PREVIEW_PORT, IDC_BTN_PREVIEW_LAND, TRUE);
    m_controls.VRepaint(hDlg, IDC_STA_MEDIA_SIZE_DIMENSIONS, IDC_STA_MEDIA_SIZE_DIMENSIONS, TRUE);
    VRollBackMediaType(hDlg, pContext, hList);
}

// A media type the constraint rules reject gives way to the one accepted last: the list selects it
// again and the reaction runs once more for it, unchecked and unrecorded.
void CZQPaperQualityTab::VRollBackMediaType(HWND hDlg, PageContext* pContext, HWND hList) {
    if (!m_state.bRollBackGuard || !pContext->pConstraints) return;
    DWORD rejected = 0;
    pContext->pConstraints->BCheckConstraint(zqkw::kMediaType, hDlg, &rejected);
    if (!rejected) {
        m_lastMedia.VKeep(m_controls.H(kCtlMedia));
        return;
    }
    m_state.bRollBackGuard = FALSE;
    HWND list = hList ? hList : m_controls.H(kCtlMedia);
    // The whole text: a shorter name at the start of another must not stand in for it.
    const LRESULT entry = m_lastMedia.PszText() ? SendMessageW(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                               reinterpret_cast<LPARAM>(m_lastMedia.PszText()))
                                             : CB_ERR;
    if (entry >= 0 && SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(entry), 0) != CB_ERR)
        SendMessageW(hDlg, WM_COMMAND, MAKEWPARAM(IDC_CBO_MEDIA_TYPE_IS, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    m_state.bRollBackGuard = TRUE;
}

// A large-format printer's paper list names, per media, the boxes it allows and its default print
// quality.
void CZQPaperQualityTab::VSetLargeFormatMediaDefaults(HWND hDlg, PageContext* pContext, PCWSTR pszMedia) {
    if (!pContext->pLogic->BIsLargeFormat() || !pContext->pPapers) return;
    const PaperList& papers = *pContext->pPapers;
    if (papers.dwCount == 0 || !papers.pEntries) return;
    const POEMCUIPPARAM param = m_pCUIParam;
    CZQLocalPtr<WCHAR> name;
    const bool named = DWOptionKeywordToName(param, zqkw::kMediaType, pszMedia, name.Put()) == ZQOPT_OK;
    DWORD paper = 0;
    while (paper < papers.dwCount && !(named && lstrcmpW(papers.pEntries[paper].szName, name.Get()) == 0)) ++paper;
    const BOOL found = paper < papers.dwCount;
    const int position = static_cast<int>(paper);
    const int profile = found ? static_cast<int>(papers.pEntries[paper].dwDefaultQuality) - 1 : 0;
    VSetMaximumDetailFromPaper(pContext, position, found, profile);
    VSetAutoCutterFromPaper(pContext, position, found);
    VSetMorePassesFromPaper(pContext, position, found, profile);
    VSetGlossEnhancerFromPaper(pContext, position, found, profile);
    // Only a profile the entry has names a quality.
    const PaperListEntry* entry = found ? &papers.pEntries[paper] : nullptr;
    if (!entry || !entry->pProfiles || profile < 0 || static_cast<DWORD>(profile) >= entry->dwProfileCount) return;
    PWSTR* keywords = nullptr;
    int count = 0;
    int quality = 1;
    if (DWGetOptionKeywords(param, zqkw::kPrintQuality, &keywords, &count, OEMCUIP_DOCPROP) == ZQOPT_OK)
        for (int i = 0; i < count; ++i)
            if (keywords[i] && ZQEqualNoCase(keywords[i], entry->pProfiles[profile].szQualityLevel)) {
                quality = i;
                break;
            }
    VFreeStringList(keywords, count);
    DWSelectOptionByIndex(param, zqkw::kPrintQuality, quality, OEMCUIP_DOCPROP);
    if (DWSelectOptionByIndex(param, zqkw::kPrintQualityGroup, quality, OEMCUIP_DOCPROP) != ZQOPT_OK) return;
    pContext->pLogic->IBindFeatureControl(0, zqkw::kPrintQualityGroup, GetDlgItem(hDlg, IDC_CBO_PRINT_QUALITY), nullptr,
                                          OEMCUIP_DOCPROP, CZQUILogic::kBindShow, FALSE, 0, nullptr);
    if (RulesLoaded(pContext)) RunQualityMacros(pContext, m_pCUIParam, true);
}

// ---------------------------------------------------------------------------------------------
// Paper source
// ---------------------------------------------------------------------------------------------
void CZQPaperQualityTab::VOnSourceChange(HWND hDlg, PageContext* pContext) {
    const POEMCUIPPARAM param = m_pCUIParam;
    const int kind = ISelectedPageKind(pContext);
    VStorePageKindPaper(pContext, kind);
    const int kept = m_slots.aiSource[kWorkingSlot];
    if (!BKindListChoice(pContext, kind, FALSE)) {
        VSelectCurrentSource(pContext);
        VShowOtherPagesPaper(pContext);
    }
    m_slots.aiSource[kWorkingSlot] = kept;
    VUpdatePaperMarkers(pContext);
    VFillPageList(pContext->pLogic, FALSE);

    const LRESULT chosen = SendMessageW(m_controls.H(kCtlSource), CB_GETCURSEL, 0, 0);
    if (pContext->pRules) pContext->pRules->VSetInputBinIndex(chosen == CB_ERR ? 0 : static_cast<int>(chosen));
    VFillSourceCombo(pContext, kind);

    // Nothing of a roll applies to single sheets.
    const ZQPqControl rolls[] = {kCtlDisableAutoCutter, kCtlSaveRollPaper, kCtlAutorotate};
    CZQLocalPtr<WCHAR> source;
    if (DWGetPubSelectionName(param, DMPUB_DEFSOURCE, source.Put()) == ZQOPT_OK &&
        ZQEqualNoCase(source.Get(), zqkw::kSheet)) {
        VFillPreviewSettings(pContext);
        for (ZQPqControl box : rolls) {
            SetCheck(m_controls.H(box), false);
            EnableWindow(m_controls.H(box), FALSE);
        }
    } else {
        for (ZQPqControl box : rolls)
            if (IsVisible(m_controls.H(box))) EnableWindow(m_controls.H(box), TRUE);
    }
    pContext->pLogic->VUpdateRollPreview(pContext->pPreview, pContext->pRules);
    VNotifyPageChanged(hDlg, pContext);
    m_controls.VRepaint(hDlg, IDC_BTN_PREVIEW_PORT, IDC_BTN_PREVIEW_LAND, TRUE);
    m_controls.VRepaint(hDlg, IDC_STA_MEDIA_SIZE_DIMENSIONS, IDC_STA_MEDIA_SIZE_DIMENSIONS, TRUE);
}

// ---------------------------------------------------------------------------------------------
// Print quality
// ---------------------------------------------------------------------------------------------
void CZQPaperQualityTab::VOnQualityChange(HWND hDlg, PageContext* pContext) {
    const POEMCUIPPARAM param = m_pCUIParam;
    HWND list = GetDlgItem(hDlg, IDC_CBO_PRINT_QUALITY);
    WCHAR text[256];
    POPTITEM group = FeatureItem(param, zqkw::kPrintQualityGroup);
    if (SelectedText(list, text) && text[0] && group &&
        DWSelectOptionByName(param, group, text, OEMCUIP_DOCPROP) == ZQOPT_OK && RulesLoaded(pContext)) {
        RunQualityMacros(pContext, m_pCUIParam, true);
        VRefreshQualityGroup(pContext);
    }
    CheckColorSpaceForQuality(param);
    const int index = IOptionIndexFromComboItem(pContext, zqkw::kPrintQualityGroup, 0, list,
                                                static_cast<int>(SendMessageW(list, CB_GETCURSEL, 0, 0)));
    if (index >= 0) WorkOf(pContext)->dwPrintQualityGroupIndex = static_cast<uint32_t>(index);
    BShowResolutionTexts(pContext);
    VNotifyPageChanged(hDlg, pContext);
}

// ---------------------------------------------------------------------------------------------
// Pop-up mode: "More...", the new paper and the refresh of the custom papers
// ---------------------------------------------------------------------------------------------
// Cancel leaves the size the core driver's item holds. Without the string of "More..." no entry is
// that one.
void CZQPaperQualityTab::VOnPaperMore(HWND hDlg, PageContext* pContext) {
    HWND list = m_controls.H(kCtlSize);
    WCHAR text[256], more[kResStringChars];
    if (!BLoadResString(3119, more)) return;
    if (!m_state.bPaperSizePopup || !RulesLoaded(pContext) || !SelectedText(list, text) || lstrcmpW(text, more) != 0) return;
    const ZQSheetState* sheet = pContext->pLogic->SheetState();
    if (m_treePopups.IRunPaperSizes(hDlg, pContext, *this, pContext->pLogic->BHasLqjPaperSizeTreeview(),
                                    sheet && sheet->bRtl) == 1) {
        VFillPaperSizePopupList(list, pContext);
        return;
    }
    VRestorePaperSizeSelection(list, pContext);
}

BOOL CZQPaperQualityTab::BOnMediaMore(HWND hDlg, PageContext* pContext, HWND hList) {
    WCHAR label[kResStringChars];
    if (!m_state.bMediaTypePopup || !hList || !BLoadResString(3119, label)) return FALSE;
    bool more;
    if (pContext->pLogic->BIsLargeFormat()) {
        WCHAR text[256];
        more = SelectedText(hList, text) && lstrcmpW(text, label) == 0;
    } else {
        const LRESULT count = SendMessageW(hList, CB_GETCOUNT, 0, 0);
        more = count > 0 && SendMessageW(hList, CB_GETCURSEL, 0, 0) == count - 1;
    }
    if (!more || !RulesLoaded(pContext)) return FALSE;
    const ZQSheetState* sheet = pContext->pLogic->SheetState();
    if (m_treePopups.IRunMediaTypes(hDlg, pContext, *this, sheet && sheet->bRtl) == 1) {
        // The chosen type joins the recent ones.
        if (PCWSTR chosen = m_treePopups.PszChosenMedia()) VUpdateRecentMediaTypes(pContext, chosen);
        VFillMediaTypePopupList(hList, pContext);
    } else {
        VRestoreMediaTypeSelection(hList, pContext);
    }
    return TRUE;
}

void CZQPaperQualityTab::VOnCustomPaperEntries(HWND hDlg, PageContext* pContext, HWND hList) {
    if (!pContext->pLogic->BIsLargeFormat()) return;
    VBuildAddPaperCommand(pContext);
    if (!m_state.BCommandNamesProgram()) return;
    WCHAR text[256], refresh[kResStringChars];
    if (!SelectedText(hList, text)) return;
    if (!BLoadResString(5768, refresh)) ZQCopyText(refresh, kResStringChars, L"Refresh Custom Paper List");
    if (ZQEqualNoCase(text, kAddCustomPaper)) {
        const ZQSheetState* sheet = pContext->pLogic->SheetState();
        bool run = m_dialogs.newMedia.IDoModal(hDlg, pContext, sheet && sheet->bRtl) == 1;
        if (run) {
            VBuildAddPaperCommand(pContext);
            run = m_state.BCommandNamesProgram() && pContext->pConstraints;
        }
        if (run) {
            pContext->pConstraints->BRunCommandLine(m_state.szAddPaperCommand);
            VRestoreMediaTypeSelection(hList, pContext);
            SendMessageW(hList, CB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(refresh));
        } else {
            VRestoreMediaTypeSelection(hList, pContext);
        }
    } else if (ZQEqualNoCase(text, refresh)) {
        if (RulesLoaded(pContext))
            pContext->pRules->BRunMacro(L"macro_pop_up_Refresh_Custom_Paperlist", nullptr, m_pCUIParam);
        const LRESULT entry = SendMessageW(hList, CB_FINDSTRING, 0, reinterpret_cast<LPARAM>(refresh));
        if (entry != CB_ERR) SendMessageW(hList, CB_DELETESTRING, static_cast<WPARAM>(entry), 0);
        VRestoreMediaTypeSelection(hList, pContext);
    }
}
