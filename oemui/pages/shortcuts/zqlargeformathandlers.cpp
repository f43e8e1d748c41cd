// What each row of the large-format shortcut panel does to the settings: the row's value (from its
// control while the page reads its controls, else the shortcut's own choice) becomes the row's
// choice, goes into the core driver's items in document mode and into the working settings, with
// what the feature brings along (binding edges, posters, stapling rules, the helper file's macros).
#include "pages/shortcuts/zqlargeformatshortcuts.h"

#include "common/zqkeywords.h"
#include "common/zqstrings.h"
#include "featurelogic/zqquicksets.h"
#include "featurelogic/zquilogic.h"
#include "pages/zqpageasks.h"
#include "pages/parts/zqpaperslots.h"
#include "pages/zqpageitems.h"
#include "res/zqshortcutsids.h"
#include "settings/zqdriverdata.h"
#include "xmlrules/zqxmluirules.h"

using namespace zqpage;

namespace {

constexpr DWORD kDoc = OEMCUIP_DOCPROP;
constexpr int kMinScale = 25, kMaxScale = 400, kMaxCopies = 9999;
constexpr WCHAR kCapsPort[] = L"LPT1:";
constexpr int kHighResolutionTextId = 3424;

HWND Item(HWND hDlg, int id) { return hDlg && id ? GetDlgItem(hDlg, id) : nullptr; }

PCWSTR SelectedKeyword(const ShortcutPanelEntry* pEntry) {
    if (!pEntry) return L"";
    const int s = pEntry->iSelected;
    return s >= 0 && s < pEntry->nOptions && pEntry->ppszOptionKeywords && pEntry->ppszOptionKeywords[s]
               ? pEntry->ppszOptionKeywords[s]
               : L"";
}

bool IsDraftGroup(POEMCUIPPARAM pParam) {
    WCHAR group[256];
    return ReadOption(pParam, zqkw::kPrintQualityGroup, group) &&
           (wcscmp(group, L"PQGroup_3") == 0 || wcscmp(group, L"PQGroup_4") == 0);
}

// A signed number typed into an edit field: a text that is not all digits shows the fall-back
// (the caret after it); a number outside the range becomes the fall-back or its nearest end and is
// shown unless quiet.
int ReadEditNumber(HWND hDlg, int iEdit, int iMin, int iMax, int iTypedFallback, bool bClampToEnds, bool bQuiet) {
    WCHAR text[CZQLargeFormatShortcutsTab::kTextChars] = {};
    GetDlgItemTextW(hDlg, iEdit, text, static_cast<int>(CZQLargeFormatShortcutsTab::kTextChars));
    if (text[0] && !CZQUIBase::BIsAllDigits(text)) {
        SetDlgItemInt(hDlg, iEdit, static_cast<UINT>(iTypedFallback), FALSE);
        SendDlgItemMessageW(hDlg, iEdit, EM_SETSEL, 3, 3);
    }
    const int typed = static_cast<int>(GetDlgItemInt(hDlg, iEdit, nullptr, TRUE));
    int value = typed;
    if (typed < iMin) value = bClampToEnds ? iMin : iTypedFallback;
    if (typed > iMax) value = bClampToEnds ? iMax : iTypedFallback;
    if (value != typed && !bQuiet) SetDlgItemInt(hDlg, iEdit, static_cast<UINT>(value), FALSE);
    return value;
}

int LeadingNumber(PCWSTR pszText) { return pszText ? static_cast<int>(wcstol(pszText, nullptr, 10)) : 0; }

}  // namespace

// ---------------------------------------------------------------------------------------------
// The common steps
// ---------------------------------------------------------------------------------------------
void CZQLargeFormatShortcutsTab::VReadEntryText(int iEntry, int iCtrlId, PWSTR pszText) const {
    pszText[0] = 0;
    const ShortcutPanelEntry* entry = PEntry(iEntry);
    if (!entry) return;
    HWND control = Item(m_controls.Page(), iCtrlId ? iCtrlId : entry->iCtrlId);
    const bool fromEntry = !m_state.bReadFromControls || entry->iKind == Rows::kKindText || entry->iKind == Rows::kKindFixed || !control;
    if (fromEntry) {
        const int s = entry->iSelected;
        if (s >= 0 && s < entry->nOptions && entry->ppszOptionNames && entry->ppszOptionNames[s])
            ZQCopyText(pszText, kTextChars, entry->ppszOptionNames[s]);
        return;
    }
    switch (entry->iKind) {
        case Rows::kKindList: SelectedText(control, pszText); break;
        case Rows::kKindCheck: ZQCopyText(pszText, kTextChars, Checked(control) ? L"Enabled" : L"Disabled"); break;
        default: GetWindowTextW(control, pszText, static_cast<int>(kTextChars)); break;
    }
}

int CZQLargeFormatShortcutsTab::IEntryListIndex(int iEntry, int iCtrlId) const {
    const ShortcutPanelEntry* entry = PEntry(iEntry);
    if (!entry) return -1;
    HWND list = Item(m_controls.Page(), iCtrlId ? iCtrlId : entry->iCtrlId);
    return m_state.bReadFromControls && list && entry->iKind == Rows::kKindList
               ? static_cast<int>(SendMessageW(list, CB_GETCURSEL, 0, 0))
               : entry->iSelected;
}

void CZQLargeFormatShortcutsTab::VCheckStapling(PageContext* pContext) {
    const PCWSTR feature = StaplingFeature(PostScript(pContext));
    WCHAR option[kTextChars];
    if (!ReadOption(m_pCUIParam, feature, option)) return;
    if (RulesLoaded(pContext)) pContext->pRules->BRunMacro(L"macro_StaplingConstraints", option, m_pCUIParam);
    CZQLocalPtr<WCHAR> name;
    if (!ReadOption(m_pCUIParam, feature, option) ||
        DWOptionKeywordToName(m_pCUIParam, feature, option, name.Put()) != ZQOPT_OK || !name.Get() || !Ctl(m_state.iStaplingListId))
        return;
    DWFillStaplingCombo(0, feature, pContext);
    const LRESULT at = SendMessageW(Ctl(m_state.iStaplingListId), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                    reinterpret_cast<LPARAM>(name.Get()));
    SendMessageW(Ctl(m_state.iStaplingListId), CB_SETCURSEL, static_cast<WPARAM>(at), 0);
}

void CZQLargeFormatShortcutsTab::VRebindDuplex(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *WorkOf(pContext);
    if (work.wDuplex == DMDUP_SIMPLEX) return;
    work.wDuplex = WGetDuplexBinding(static_cast<int>(work.dwPagesPerSheet), static_cast<short>(work.wOrientation),
                                     work.dwFlipPagesUp != 0, work.dwBooklet != 0);
    if (logic.BIsManualDuplexAvailable())
        logic.VUpdateDuplexState();
    else
        logic.VSetDuplexItem(work.wDuplex);
}

void CZQLargeFormatShortcutsTab::VEndBooklet(PageContext* pContext, bool bTestLargePaper) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *WorkOf(pContext);
    work.dwBooklet = 0;
    work.dwPagesPerSheet = 1;
    const bool larger = bTestLargePaper ? logic.BScaleFromLargePaper() && !logic.BNeedsScaleFromLargePaper(pContext->pCaps)
                                        : !logic.BNeedsScaleFromLargePaper(pContext->pCaps);
    if (larger) work.dwPrintDocOn = work.dwScaleToFit = 0;
}

void CZQLargeFormatShortcutsTab::VStartPoster(PageContext* pContext, PCWSTR pszOption) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *WorkOf(pContext);
    const POEMCUIPPARAM param = m_pCUIParam;
    // A poster is one page over every tile at full size, on one side of each sheet.
    for (uint32_t& tile : work.adwPosterTiles) tile = 1;
    work.dwPagesPerSheet = 1;
    work.dwPrintDocOn = work.dwScaleToFit = 0;
    work.dwScalePercent = 100;
    if (work.wDuplex != DMDUP_SIMPLEX) {
        work.wDuplex = DMDUP_SIMPLEX;
        work.dwBooklet = 0;
        logic.VUpdateDuplexState();
        logic.VSetDuplexItem(DMDUP_SIMPLEX);
    }
    WCHAR none[kTextChars];
    VLoadText(874, L" [none]", none);
    logic.VSetPosterState(TRUE, none);
    for (PCWSTR margins : {zqkw::kZQEmulatePexlonMargins, zqkw::kZQSymmetricMargins, zqkw::kZQMinimizeMargins})
        DWSelectOptionByIndex(param, margins, 0, kDoc);
    logic.VClearMarginChoices();
    for (int i = 0; i < 2; ++i) logic.VSetMarginValue(i, 0);
    DWSelectOptionByIndex(param, zqkw::kZQPosterPrinting, 1, kDoc);
    if (pszOption && pszOption[0]) DWSelectOptionByKeyword(param, L"ZQPosterPrintingOption", pszOption, kDoc);
    logic.VSyncNupItem(pContext->pCaps);
    int tiles = 0;
    if (logic.BGetPosterTiles(&tiles) && pContext->pQuickSets)
        pContext->pQuickSets->VSetPosterTilesPerSide(CZQUILogic::IPosterTilesPerSide(tiles));
}

// ---------------------------------------------------------------------------------------------
// Paper source, orientation, media, colour space, paper, quality
// ---------------------------------------------------------------------------------------------
BOOL CZQLargeFormatShortcutsTab::BApplyInputBin(PageContext* pContext, int iEntry, int iCtrlId) {
    ZQUIDevmode* work = WorkOf(pContext);
    if (!work) return TRUE;
    WCHAR text[kTextChars];
    VReadEntryText(iEntry, iCtrlId, text);
    const int position = IFindDriverOptionIndex(pContext, m_state.szKwInputBin, DMPUB_DEFSOURCE, text);
    if (position >= 0) {
        // The settings' papers take the tray, or the paper pages would put their own back.
        const DWORD tray = DWGetTrayBinId(pContext, position);
        work->dwOtherPagesSource = tray;
        if (!pContext->pLogic->m_bSourceOverride) work->dwFirstPageSource = work->dwLastPageSource = tray;
        DWSelectPubOption(m_pCUIParam, DMPUB_DEFSOURCE, -1, position);
    }
    BSelectEntryOption(m_state.szKwInputBin, text, pContext);
    return TRUE;
}

BOOL CZQLargeFormatShortcutsTab::BApplyOrientation(PageContext* pContext, int iEntry, int iCtrlId) {
    if (!WorkOf(pContext)) return TRUE;
    WCHAR text[kTextChars];
    VReadEntryText(iEntry, iCtrlId, text);
    BSelectEntryOption(m_state.szKwOrientation, text, pContext);
    const bool landscape = !ZQEqualNoCase(SelectedKeyword(PEntry(iEntry)), m_state.szOptPortrait);
    SetOrientation(pContext, m_pCUIParam, landscape);
    WCHAR option[kTextChars];
    // The PostScript orientation feature is told again which way the page stands.
    if (PostScript(pContext) && ReadOption(m_pCUIParam, L"ZQOrientation", option)) {
        if (wcscmp(option, L"ZQOrientationLandscape") == 0)
            DWSelectOptionByIndex(m_pCUIParam, L"ZQOrientation", 1, kDoc);
        else if (wcscmp(option, L"ZQOrientationPortrait") == 0)
            DWSelectOptionByIndex(m_pCUIParam, L"ZQOrientation", 0, kDoc);
    }
    VCheckStapling(pContext);
    VRebindDuplex(pContext);
    return TRUE;
}

BOOL CZQLargeFormatShortcutsTab::BApplyMediaType(PageContext* pContext, int iEntry, int iCtrlId) {
    ZQUIDevmode* work = WorkOf(pContext);
    if (!work) return TRUE;
    WCHAR text[kTextChars];
    VReadEntryText(iEntry, iCtrlId, text);
    const int position = IFindDriverOptionIndex(pContext, zqkw::kMediaType, DMPUB_MEDIATYPE, text);
    if (position >= 0) {
        const DWORD media = CZQPaperSlots::DWMediaTypeFromIndex(ZQPaperItemsOf(m_pCUIParam, pContext), position);
        work->dwOtherPagesMedia = media;
        if (!pContext->pLogic->m_bSourceOverride) work->dwFirstPageMedia = work->dwLastPageMedia = media;
        DWSelectPubOption(m_pCUIParam, DMPUB_MEDIATYPE, -1, position);
    }
    BSelectEntryOption(zqkw::kMediaType, text, pContext);
    WCHAR group[kTextChars];
    if (RulesLoaded(pContext) && ReadOption(m_pCUIParam, zqkw::kPrintQualityGroup, group))
        pContext->pRules->BRunFeatureMacros(zqkw::kPrintQualityGroup, group, m_pCUIParam);
    return TRUE;
}

BOOL CZQLargeFormatShortcutsTab::BApplyInputColorSpace(PageContext* pContext, int iEntry, int iCtrlId) {
    WCHAR text[kTextChars];
    VReadEntryText(iEntry, iCtrlId, text);
    const int position = IFindDriverOptionIndex(pContext, zqkw::kZQInputColorSpace, 0, text);
    BSelectEntryOption(zqkw::kZQInputColorSpace, text, pContext);
    if (position >= 0) DWSelectOptionByIndex(m_pCUIParam, zqkw::kZQInputColorSpace, position, kDoc);
    return TRUE;
}

BOOL CZQLargeFormatShortcutsTab::BApplyPaperSize(PageContext* pContext, int iEntry, int iCtrlId) {
    ZQUIDevmode* work = WorkOf(pContext);
    if (!work) return TRUE;
    CZQUILogic& logic = *pContext->pLogic;
    WCHAR text[kTextChars];
    VReadEntryText(iEntry, iCtrlId, text);
    const POPTITEM form = PubItem(m_pCUIParam, DMPUB_FORMNAME);
    // A paper the driver does not name is not chosen.
    if (!form || !text[0] || DWSelectOptionByName(m_pCUIParam, form, text, kDoc) != ZQOPT_OK) return TRUE;
    BSelectEntryOption(m_state.szKwPaperSize, text, pContext);
    PageContext* paperContext = nullptr;
    auto* paper = ZQSheetPage<IZQPaperQualityPage>(pContext, kPagePaperQuality, &paperContext);
    if (paper && paperContext) paper->VOnPaperSizeChanged(paperContext);
    if (!work->dwPrintDocOn) {
        if (logic.BIsBorderlessPaper()) {
            // A borderless paper prints on the paper it stands for.
            WCHAR name[kTextChars] = {};
            const bool named = paper && paperContext && paper->BGetPaperSizeDisplayName(paperContext, name) && name[0];
            const int number = CZQDriverData::IPaperSizeToIndex(m_pCUIParam, named ? name : L"LETTER");
            if (number > 0) work->dwPrintedOnPaper = static_cast<uint32_t>(number);
        } else if (m_pPublicDM) {
            work->dwPrintedOnPaper = static_cast<uint32_t>(m_pPublicDM->dmPaperSize);
        }
    }
    int bin = 0;
    if (!BFindPanelEntry(m_state.szKwInputBin, &bin)) return TRUE;
    // The sources the new paper allows, then the row's source again.
    const ShortcutPanelEntry* source = PEntry(bin);
    if (source)
        VFillInputBinCombo(pContext, source->szKeyword, const_cast<PCWSTR*>(source->ppszOptionKeywords),
                           const_cast<PCWSTR*>(source->ppszOptionNames), source->ppiNotAvailable, source->iSelected,
                           source->nOptions, source->iCtrlId);
    VCheckStapling(pContext);
    if (source) VApplyPanelEntry(pContext, bin);
    return TRUE;
}

BOOL CZQLargeFormatShortcutsTab::BApplyPrintQuality(PageContext* pContext, int iEntry, int iCtrlId) {
    if (!WorkOf(pContext)) return TRUE;
    CZQUILogic& logic = *pContext->pLogic;
    const POEMCUIPPARAM param = m_pCUIParam;
    WCHAR text[kTextChars];
    VReadEntryText(iEntry, iCtrlId, text);
    const POPTITEM group = FeatureItem(param, zqkw::kPrintQualityGroup);
    if (group && text[0] && DWSelectOptionByName(param, group, text, kDoc) == ZQOPT_OK && RulesLoaded(pContext)) {
        // Photo enhancements are no draft's business.
        if (IsDraftGroup(param)) DWSelectOptionByIndex(param, zqkw::kZQPhotoFix, 0, kDoc);
        WCHAR option[kTextChars];
        if (ReadOption(param, zqkw::kPrintQualityGroup, option))
            pContext->pRules->BRunFeatureMacros(zqkw::kPrintQualityGroup, option, param);
        WCHAR highest[kTextChars] = {};
        if (BLoadResString(kHighResolutionTextId, highest) && wcscmp(text, highest) == 0)
            pContext->pRules->BRunMacro(L"macro_pop_up_4800_1200_warning", nullptr, param);
        for (int i = 0; i < IGetOptionCount(group); ++i)
            if (const PCWSTR name = OptionName(group, i); name && ZQEqualNoCase(name, text)) {
                logic.m_iPrintQuality = i;
                break;
            }
    }
    if (const ShortcutPanelEntry* entry = PEntry(iEntry)) BSelectEntryOption(entry->szKeyword, text, pContext);
    int photo = 0;
    if (m_state.bReadFromControls && BFindPanelEntry(L"DigitalPhotography", &photo))
        if (const ShortcutPanelEntry* row = PEntry(photo)) EnableWindow(Item(m_controls.Page(), row->iCtrlId), !IsDraftGroup(param));
    return TRUE;
}

BOOL CZQLargeFormatShortcutsTab::BApplyBorderlessAutoFit(PageContext* pContext, int iEntry, int iCtrlId) {
    if (!WorkOf(pContext)) return TRUE;
    WCHAR text[kTextChars];
    VReadEntryText(iEntry, iCtrlId, text);
    const ShortcutPanelEntry* entry = PEntry(iEntry);
    if (!entry) return TRUE;
    BSelectEntryOption(entry->szKeyword, text, pContext);
    const BOOL on = ZQEqualNoCase(SelectedKeyword(entry), L"Enabled");
    pContext->pLogic->m_bBorderlessAutoFit = on;
    DWSelectOptionByIndex(m_pCUIParam, zqkw::kZQBorderLessAutoFit, on ? 1 : 0, kDoc);
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Scaling and copies
// ---------------------------------------------------------------------------------------------
BOOL CZQLargeFormatShortcutsTab::BApplyScaling(PageContext* pContext, BOOL bQuiet) {
    ZQUIDevmode* work = WorkOf(pContext);
    if (!work) return TRUE;
    int index = 0;
    const ShortcutPanelEntry* entry = BFindPanelEntry(L"Scaling", &index) ? PEntry(index) : nullptr;
    int value = 0;
    if (m_state.bReadFromControls && m_controls.Page() && (!entry || (entry->iKind != Rows::kKindText && entry->iKind != Rows::kKindFixed)))
        value = ReadEditNumber(m_controls.Page(), IDC_TXT_FC_SCALING, kMinScale, kMaxScale, 100, true, bQuiet != FALSE);
    else if (entry && entry->nOptions > 0 && entry->ppszOptionKeywords)
        value = LeadingNumber(entry->ppszOptionKeywords[0]);
    else
        return TRUE;
    work->dwScalePercent = static_cast<uint32_t>(value);
    PageContext* effectsContext = nullptr;
    if (auto* effects = ZQSheetPage<IZQEffectsPage>(pContext, kPageEffects, &effectsContext); effects && effectsContext)
        effects->VResetScalingAndPoster(effectsContext);
    if (!work->dwPrintDocOn && m_pPublicDM) work->dwPrintedOnPaper = static_cast<uint32_t>(m_pPublicDM->dmPaperSize);
    return TRUE;
}

BOOL CZQLargeFormatShortcutsTab::BApplyCopiesCollate(PCWSTR pszKeyword, PageContext* pContext, int iCtrlId) {
    POPTITEM item = nullptr;
    if (!pszKeyword || !BFindDriverItem(pszKeyword, &item, pContext) || !item) return TRUE;
    const DWORD previous = static_cast<DWORD>(item->Sel);
    int index = 0;
    ShortcutPanelEntry* entry = BFindPanelEntry(pszKeyword, &index) ? PEntry(index) : nullptr;
    const bool fromEntry = !m_state.bReadFromControls || !m_controls.Page() || (entry && (entry->iKind == Rows::kKindText || entry->iKind == Rows::kKindFixed));
    if (ZQEqualNoCase(pszKeyword, zqkw::kCopiesItem)) {
        int copies = 1;
        if (!fromEntry)
            copies = ReadEditNumber(m_controls.Page(), IDC_TXT_FC_COPIES, 1, kMaxCopies, 1, false, false);
        else if (entry && entry->nOptions > 0 && entry->ppszOptionKeywords)
            copies = LeadingNumber(entry->ppszOptionKeywords[0]);
        if (copies < 1 || copies > kMaxCopies) copies = 1;
        item->Sel = copies;
    } else if (ZQEqualNoCase(pszKeyword, L"Collate")) {
        const bool on = fromEntry ? ZQEqualNoCase(SelectedKeyword(entry), L"Enabled")
                                  : Checked(Item(m_controls.Page(), iCtrlId ? iCtrlId : entry ? entry->iCtrlId : 0));
        if (on)
            item->Flags |= OPTIF_ECB_CHECKED;
        else
            item->Flags &= ~OPTIF_ECB_CHECKED;
        if (entry) BSelectEntryOption(pszKeyword, on ? L"Enabled" : L"Disabled", pContext);
    } else {
        return TRUE;
    }
    item->Flags |= OPTIF_CHANGED;
    BReportItem(m_pCUIParam, item, previous, kDoc);
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Colour and two-sided printing
// ---------------------------------------------------------------------------------------------
BOOL CZQLargeFormatShortcutsTab::BApplyColorMode(PageContext* pContext, int iEntry, int iCtrlId) {
    ZQUIDevmode* work = WorkOf(pContext);
    if (!work) return TRUE;
    const POEMCUIPPARAM param = m_pCUIParam;
    WCHAR text[kTextChars];
    VReadEntryText(iEntry, iCtrlId, text);
    BSelectEntryOption(m_state.szKwGrayScale, text, pContext);
    const PCWSTR keyword = SelectedKeyword(PEntry(iEntry));
    if (!keyword[0]) return TRUE;
    if (wcscmp(keyword, L"ZQPrintInSepia") == 0) {
        work->dwSepia = 1;
        work->dwPrintAsGray = 0;
        DWSelectOptionByIndex(param, L"ZQPrintInSepia", 1, kDoc);
        DWSelectOptionByIndex(param, m_state.szKwGrayScale, 0, kDoc);
    } else {
        work->dwSepia = 0;
        work->dwPrintAsGray = wcscmp(keyword, L"FALSE") == 0 || wcscmp(keyword, L"color") == 0 ? 0 : 1;
        DWSelectOptionByKeyword(param, m_state.szKwGrayScale, keyword, kDoc);
        DWSelectOptionByIndex(param, L"ZQPrintInSepia", 0, kDoc);
    }
    const bool grey = work->dwPrintAsGray != 0;
    DWSelectPubOption(param, DMPUB_COLOR, -1, grey ? 0 : 1);
    DWSelectOptionByIndex(param, zqkw::kColorMode, grey ? 0 : 1, kDoc);
    DWSelectOptionByIndex(param, L"ZQColorasGray", grey ? 1 : 0, kDoc);
    return TRUE;
}

BOOL CZQLargeFormatShortcutsTab::BApplyDuplex(PageContext* pContext, int iEntry, int iCtrlId) {
    ZQUIDevmode* work = WorkOf(pContext);
    if (!work) return TRUE;
    CZQUILogic& logic = *pContext->pLogic;
    const POEMCUIPPARAM param = m_pCUIParam;
    WCHAR text[kTextChars];
    VReadEntryText(iEntry, iCtrlId, text);
    BSelectEntryOption(zqkw::kDuplexItem, text, pContext);
    const PCWSTR keyword = SelectedKeyword(PEntry(iEntry));
    const auto binding = [&] {
        return WGetDuplexBinding(static_cast<int>(work->dwPagesPerSheet), static_cast<short>(work->wOrientation),
                                 work->dwFlipPagesUp != 0, work->dwBooklet != 0);
    };
    if (m_state.szOptDuplexLong[0] && wcscmp(keyword, m_state.szOptDuplexLong) == 0) {
        work->wDuplex = DMDUP_VERTICAL;
        work->dwFlipPagesUp = 0;
        DWSelectPubOption(param, DMPUB_DUPLEX, -1, 1);
    } else if (m_state.szOptDuplexShort[0] && wcscmp(keyword, m_state.szOptDuplexShort) == 0) {
        work->wDuplex = DMDUP_HORIZONTAL;
        work->dwFlipPagesUp = 1;
        DWSelectPubOption(param, DMPUB_DUPLEX, -1, 2);
    } else if (ZQEqualNoCase(keyword, L"None")) {
        work->wDuplex = DMDUP_SIMPLEX;
        VEndBooklet(pContext, true);
        // Margins the user did not choose go back to what the sheet opened with.
        const POPTITEM minimize = FeatureItem(param, zqkw::kZQMinimizeMargins);
        if (!logic.DWMarginChoice(1) && minimize && minimize->Sel != logic.IGetSavedSelection(zqkw::kZQMinimizeMargins)) {
            WCHAR initial[kTextChars] = {};
            logic.VGetInitialFeatureOption(zqkw::kZQMinimizeMargins, initial);
            if (initial[0]) DWSelectOptionByKeyword(param, zqkw::kZQMinimizeMargins, initial, kDoc);
        }
        logic.VSetDuplexItem(DMDUP_SIMPLEX);
        if (m_state.bPanelChangedByUser) DWSelectOptionByIndex(param, zqkw::kZQUseAutoDuplexUnit, 0, kDoc);
        logic.VUpdateDuplexState();
    } else if (ZQEqualNoCase(keyword, L"Automatically")) {
        work->wDuplex = binding();
        logic.VSetDuplexItem(work->wDuplex);
        DWSelectOptionByIndex(param, zqkw::kZQUseAutoDuplexUnit, 1, kDoc);
        DWSelectOptionByIndex(param, zqkw::kZQAutoDuplexScaling, 1, kDoc);
        logic.m_bAutoDuplexScalingMark = FALSE;
        logic.VUpdateDuplexState();
        logic.IApplyCustomDuplexRange();
    } else if (ZQEqualNoCase(keyword, L"Manually")) {
        work->wDuplex = binding();
        VEndBooklet(pContext, false);
        logic.VSetDuplexItem(DMDUP_SIMPLEX);
        DWSelectOptionByIndex(param, zqkw::kZQUseAutoDuplexUnit, 0, kDoc);
        DWSelectOptionByIndex(param, zqkw::kZQAutoDuplexScaling, 1, kDoc);
        logic.m_bAutoDuplexScalingMark = FALSE;
        logic.VUpdateDuplexState();
    } else if (ZQEqualNoCase(keyword, L"LeftEdgeBinding") || ZQEqualNoCase(keyword, L"RightEdgeBinding")) {
        // A booklet: two pages to a sheet at full size, folded along the chosen edge.
        work->wDuplex = DMDUP_HORIZONTAL;
        work->dwBooklet = ZQEqualNoCase(keyword, L"LeftEdgeBinding") ? 1 : 2;
        work->dwPagesPerSheet = 2;
        if (work->dwPrintDocOn) work->dwScaleToFit = 1;
        work->dwScalePercent = 100;
        work->dwBackCover = work->dwBackCoverFeeder = 0;
        work->dwFlipPagesUp = work->wOrientation == DMORIENT_PORTRAIT ? 0 : 1;
        logic.VSyncNupItem(pContext->pCaps);
        DWSelectOptionByIndex(param, zqkw::kZQUseAutoDuplexUnit, 1, kDoc);
    }
    if (logic.m_bAutoDuplexScalingMark && logic.m_dwAutoDuplexScaling) {
        DWSelectOptionByIndex(param, zqkw::kZQAutoDuplexScaling, 1, kDoc);
        logic.m_bAutoDuplexScalingMark = FALSE;
    }
    logic.m_dwBookletCopy = work->dwBooklet;
    if (work->dwPdl == kPdlPcl3)
        logic.ISetPageOrderItems(work->wDuplex == DMDUP_VERTICAL || work->wDuplex == DMDUP_HORIZONTAL);
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Layout: pages per sheet, posters, the paper to scale to
// ---------------------------------------------------------------------------------------------
BOOL CZQLargeFormatShortcutsTab::BApplyPagesPerSheet(PageContext* pContext, int iEntry, int iCtrlId) {
    ZQUIDevmode* work = WorkOf(pContext);
    const ShortcutPanelEntry* entry = PEntry(iEntry);
    if (!work || !entry) return TRUE;
    CZQUILogic& logic = *pContext->pLogic;
    const int index = IEntryListIndex(iEntry, iCtrlId);
    WCHAR text[kTextChars];
    VReadEntryText(iEntry, iCtrlId, text);
    BSelectEntryOption(entry->szKeyword, text, pContext);
    const int setting = IListIndexToSetting(index);
    if (setting != 2) work->dwBooklet = 0;
    if (setting == 1) {
        work->dwScaleToFit = 1;
    } else {
        work->dwPrintDocOn = 0;
        work->dwScaleToFit = 0;
    }
    work->dwScalePercent = 100;
    work->dwPagesPerSheet = static_cast<uint32_t>(setting);
    logic.m_dwBookletCopy = work->dwBooklet;
    VRebindDuplex(pContext);
    logic.VSyncNupItem(pContext->pCaps);
    return TRUE;
}

BOOL CZQLargeFormatShortcutsTab::BApplyPosterPrinting(PageContext* pContext, int iEntry, int iCtrlId) {
    const ShortcutPanelEntry* entry = PEntry(iEntry);
    if (!WorkOf(pContext) || !entry) return TRUE;
    const int index = IEntryListIndex(iEntry, iCtrlId);
    WCHAR text[kTextChars];
    VReadEntryText(iEntry, iCtrlId, text);
    BSelectEntryOption(entry->szKeyword, text, pContext);
    // Turning posters off keeps the tiles the user picked.
    if (index <= 0) {
        DWSelectOptionByIndex(m_pCUIParam, zqkw::kZQPosterPrinting, 0, kDoc);
        return TRUE;
    }
    VStartPoster(pContext, SelectedKeyword(entry));
    return TRUE;
}

BOOL CZQLargeFormatShortcutsTab::BApplyPosterSui(PageContext* pContext, int iEntry, int iCtrlId) {
    const ShortcutPanelEntry* entry = PEntry(iEntry);
    if (!WorkOf(pContext) || !entry) return TRUE;
    CZQUILogic& logic = *pContext->pLogic;
    const POEMCUIPPARAM param = m_pCUIParam;
    const int index = IEntryListIndex(iEntry, iCtrlId);
    WCHAR text[kTextChars];
    VReadEntryText(iEntry, iCtrlId, text);
    PageContext* finishingContext = nullptr;
    auto* finishing = ZQSheetPage<IZQFinishingPage>(pContext, kPageFinishing, &finishingContext);
    if (index <= 0) {
        BSelectEntryOption(entry->szKeyword, text, pContext);
        DWSelectOptionByIndex(param, zqkw::kZQPosterPrintingOptionSUI, 0, kDoc);
        if (finishing) logic.VClearPosterFlag();
        const int saved = logic.IGetSavedSelection(zqkw::kZQMinimizeMargins);
        if (saved >= 0) DWSelectOptionByIndex(param, zqkw::kZQMinimizeMargins, saved, kDoc);
        return TRUE;
    }
    const POPTITEM item = FeatureItem(param, zqkw::kZQPosterPrintingOptionSUI);
    // A poster the driver does not offer changes nothing, the row's choice included.
    if (!item || DWSelectOptionByName(param, item, text, kDoc) != ZQOPT_OK) return TRUE;
    BSelectEntryOption(entry->szKeyword, text, pContext);
    if (finishing) logic.VSetPosterFlag();
    DWSelectOptionByIndex(param, zqkw::kZQMinimizeMargins, 0, kDoc);
    VStartPoster(pContext, SelectedKeyword(entry));
    return TRUE;
}

BOOL CZQLargeFormatShortcutsTab::BApplyScaleToPaper(PageContext* pContext, int iEntry, int iCtrlId) {
    ZQUIDevmode* work = WorkOf(pContext);
    if (!work) return TRUE;
    WCHAR text[kTextChars];
    VReadEntryText(iEntry, iCtrlId, text);
    if (const ShortcutPanelEntry* entry = PEntry(iEntry)) BSelectEntryOption(entry->szKeyword, text, pContext);
    const PCWSTR printer = pContext->pCaps ? pContext->pCaps->szPrinterName : nullptr;
    CZQLocalPtr<WORD> papers;
    CZQLocalPtr<WCHAR> names;
    DWORD paperCount = 0, nameCount = 0;
    if (printer) {
        BGetPaperSizeIndices(printer, kCapsPort, m_pPublicDM, &paperCount, papers.Put());
        BGetPaperSizeNames(printer, kCapsPort, m_pPublicDM, &nameCount, names.Put());
    }
    WORD paper = 0;
    const DWORD count = paperCount < nameCount ? paperCount : nameCount;
    if (papers.Get() && names.Get() && CZQUILogic::BMapFormToValue(text, papers.Get(), names.Get(), count, &paper)) {
        work->dwPrintDocOn = 1;
        work->dwPrintedOnPaper = paper;
    } else if (ZQEqualNoCase(text, L"Off")) {
        work->dwPrintDocOn = 0;
    }
    return TRUE;
}
