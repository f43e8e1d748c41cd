// Values between the panel and the driver: each panel row applied through its feature's handler,
// the driver's current options shown in the rows, the orientation row kept in step with the
// document, the quality slider, the print-preview box and the page's context help.
#include "pages/shortcuts/zqlargeformatshortcuts.h"

#include <commctrl.h>

#include "common/zqkeywords.h"
#include "common/zqprintercaps.h"
#include "common/zqstrings.h"
#include "featurelogic/zqquicksets.h"
#include "pages/zqpageitems.h"
#include "res/zqshortcutsids.h"
#include "xmlrules/zqxmluirules.h"

using namespace zqpage;

namespace {

HWND Item(HWND hDlg, int id) { return hDlg && id ? GetDlgItem(hDlg, id) : nullptr; }

// The text of a status-module string, else the English text.
struct Text {
    int id;
    PCWSTR english;
};
constexpr Text kManually = {4267, L"Manually"};
constexpr Text kAutomatically = {4266, L"Automatically"};
constexpr Text kBooklet = {4405, L"Booklet Printing"};
constexpr Text kBookletOff = {1117, L"Off"};
constexpr Text kLeftEdgeBooklet = {4268, L"Left Edge Booklet"};
constexpr Text kRightEdgeBooklet = {4269, L"Right Edge Booklet"};
constexpr Text kSpeed = {5772, L"Speed"};
constexpr Text kQuality = {5773, L"Quality"};

// The core driver's item of that keyword has a selection other than its first option; -1 without
// the item.
int SelectedBeyondFirst(POEMCUIPPARAM pParam, PCWSTR pszFeature) {
    const POPTITEM item = FeatureItem(pParam, pszFeature);
    return item ? (item->Sel != 0 ? 1 : 0) : -1;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// A panel row into the driver
// ---------------------------------------------------------------------------------------------
namespace {

// Which handler a row's control kind reaches; kNoHandler: the row does nothing for that kind.
enum Handler : int {
    kNoHandler, kStaplingList, kInputBin, kMediaType, kColorSpace, kPaperSize, kPrintQuality, kOrientation,
    kColorMode, kDuplex, kPagesPerSheet, kPoster, kPosterSui, kScaleToPaper, kColorMgmt, kBorderlessAutoFit,
    kCollate, kScaling, kCopies,
};

struct HandlerRow {
    PCWSTR keyword;
    Handler list, single, check, edit, slider;  // kinds 0, 7 or 8 with one option, 1, 5, 9
};

}  // namespace

void CZQLargeFormatShortcutsTab::VApplyPanelEntry(PageContext* pContext, int iEntry) {
    CZQUILogic* logic = pContext ? pContext->pLogic : nullptr;
    const ZQUIDevmode* work = WorkOf(pContext);
    if (!logic || !work) return;
    // The factory document type of the desk printers keeps its margins as they come.
    const PCWSTR factory = pContext->pQuickSets ? pContext->pQuickSets->PszFactoryName() : nullptr;
    if (work->dwPdl == kPdlPcl3 && !logic->BIsLargeFormat() && factory && factory[0] &&
        lstrcmpW(m_panel.Type().szName, factory) == 0)
        logic->VSetMarginChoice(1, 0);
    ShortcutPanelEntry* entry = iEntry >= 0 && iEntry < m_panel.Count() ? PEntry(iEntry) : nullptr;
    if (!entry) return;
    const HandlerRow rows[] = {
        {m_state.szKwStapling, kStaplingList, kNoHandler, kNoHandler, kNoHandler, kNoHandler},
        {m_state.szKwInputBin, kInputBin, kInputBin, kNoHandler, kNoHandler, kNoHandler},
        {zqkw::kMediaType, kMediaType, kMediaType, kNoHandler, kNoHandler, kNoHandler},
        {zqkw::kZQInputColorSpace, kColorSpace, kColorSpace, kNoHandler, kNoHandler, kNoHandler},
        {m_state.szKwPaperSize, kPaperSize, kPaperSize, kNoHandler, kNoHandler, kNoHandler},
        {zqkw::kPrintQuality, kPrintQuality, kPrintQuality, kNoHandler, kNoHandler, kPrintQuality},
        {m_state.szKwOrientation, kOrientation, kOrientation, kNoHandler, kNoHandler, kNoHandler},
        {m_state.szKwGrayScale, kColorMode, kColorMode, kNoHandler, kNoHandler, kNoHandler},
        {zqkw::kDuplexItem, kDuplex, kDuplex, kNoHandler, kNoHandler, kNoHandler},
        {L"PagesPerSheet", kPagesPerSheet, kPagesPerSheet, kNoHandler, kNoHandler, kNoHandler},
        {L"PosterPrinting", kPoster, kPoster, kNoHandler, kNoHandler, kNoHandler},
        {zqkw::kZQPosterPrintingOptionSUI, kPosterSui, kNoHandler, kNoHandler, kNoHandler, kNoHandler},
        {L"ZQScaleToPaper", kScaleToPaper, kNoHandler, kNoHandler, kNoHandler, kNoHandler},
        {L"ZQColorMgmt", kColorMgmt, kNoHandler, kNoHandler, kNoHandler, kNoHandler},
        {L"BorderlessAutoFit", kNoHandler, kBorderlessAutoFit, kBorderlessAutoFit, kNoHandler, kNoHandler},
        {L"Collate", kNoHandler, kCollate, kCollate, kNoHandler, kNoHandler},
        {L"Scaling", kNoHandler, kScaling, kNoHandler, kScaling, kNoHandler},
        {zqkw::kCopiesItem, kNoHandler, kCopies, kNoHandler, kCopies, kNoHandler},
    };
    const int kind = entry->iKind;
    const bool single = (kind == Rows::kKindText || kind == Rows::kKindFixed) && entry->nOptions == 1;
    Handler handler = kNoHandler;
    for (const HandlerRow& row : rows) {
        if (!row.keyword[0] || !ZQEqualNoCase(entry->szKeyword, row.keyword)) continue;
        handler = kind == Rows::kKindList ? row.list : single ? row.single : kind == Rows::kKindCheck ? row.check
                : kind == Rows::kKindEdit ? row.edit : kind == Rows::kKindSlider ? row.slider : kNoHandler;
        break;
    }
    // A media type shown as a text is the document type's own; one without a control is applied.
    if (handler == kMediaType && kind == Rows::kKindText) handler = kNoHandler;
    // A fixed paper size stands only until the user customised the settings.
    if (handler == kPaperSize && kind != Rows::kKindList && work->dwPendingChange) handler = kNoHandler;
    const int control = entry->iCtrlId;
    switch (handler) {
        case kStaplingList: {
            int changed = 0, value = -1;
            logic->IBindFeatureControl(0, m_state.szKwStapling, GetDlgItem(m_controls.Page(), control), &changed, OEMCUIP_DOCPROP,
                                       CZQUILogic::kBindApply, FALSE, 0, &value);
            break;
        }
        case kInputBin: BApplyInputBin(pContext, iEntry, control); break;
        case kMediaType: BApplyMediaType(pContext, iEntry, control); break;
        case kColorSpace: BApplyInputColorSpace(pContext, iEntry, control); break;
        case kPaperSize: BApplyPaperSize(pContext, iEntry, control); break;
        case kPrintQuality: BApplyPrintQuality(pContext, iEntry, control); break;
        case kOrientation: BApplyOrientation(pContext, iEntry, control); break;
        case kColorMode: BApplyColorMode(pContext, iEntry, control); break;
        case kDuplex: BApplyDuplex(pContext, iEntry, control); break;
        case kPagesPerSheet: BApplyPagesPerSheet(pContext, iEntry, control); break;
        case kPoster: BApplyPosterPrinting(pContext, iEntry, control); break;
        case kPosterSui: BApplyPosterSui(pContext, iEntry, control); break;
        case kScaleToPaper: BApplyScaleToPaper(pContext, iEntry, control); break;
        case kColorMgmt: VApplyColorMgmtDefault(pContext, iEntry, control); break;
        case kBorderlessAutoFit: BApplyBorderlessAutoFit(pContext, iEntry, control); break;
        case kCollate: BApplyCopiesCollate(L"Collate", pContext, control); break;
        case kScaling: BApplyScaling(pContext, FALSE); break;
        case kCopies: BApplyCopiesCollate(zqkw::kCopiesItem, pContext, control); break;
        case kNoHandler: break;
    }
}

// ---------------------------------------------------------------------------------------------
// The driver's current settings in the panel
// ---------------------------------------------------------------------------------------------
void CZQLargeFormatShortcutsTab::VShowCurrentSettings(PageContext* pContext) {
    const POEMCUIPPARAM param = m_pCUIParam;
    const ZQUIDevmode* work = WorkOf(pContext);
    if (!param || !work) return;
    CZQUILogic& logic = *pContext->pLogic;
    // The core driver's public items whose shown name is the value.
    const struct {
        PCWSTR keyword;
        BYTE pubId;
    } byPubId[] = {{zqkw::kMediaType, DMPUB_MEDIATYPE}, {m_state.szKwOrientation, DMPUB_ORIENTATION},
                   {m_state.szKwInputBin, DMPUB_DEFSOURCE}, {m_state.szKwPaperSize, DMPUB_FORMNAME},
                   {zqkw::kDuplexItem, DMPUB_DUPLEX},        {L"Collate", DMPUB_COPIES_COLLATE}};
    // Rows whose value is the option keyword of a feature (their own unless named).
    const struct {
        PCWSTR keyword;
        PCWSTR feature;
    } byOption[] = {{zqkw::kZQInputColorSpace, nullptr}, {zqkw::kPrintQuality, nullptr},
                    {m_state.szKwGrayScale, nullptr},        {zqkw::kZQPosterPrintingOptionSUI, nullptr},
                    {L"StandardPrintQuality", nullptr}, {L"PosterPrinting", zqkw::kZQPosterPrinting},
                    {L"BorderlessAutoFit", zqkw::kZQBorderLessAutoFit}};
    for (int i = 0; i < m_panel.Count(); ++i) {
        ShortcutPanelEntry* entry = PEntry(i);
        if (!entry || !entry->szKeyword[0]) continue;
        const PCWSTR keyword = entry->szKeyword;
        CZQLocalPtr<WCHAR> value;
        bool matched = false;
        if (m_state.szKwStapling[0] && ZQEqualNoCase(keyword, m_state.szKwStapling)) {
            DWGetFeatureOption(param, keyword, value.Put());
            matched = true;
        }
        for (const auto& row : byPubId) {
            if (matched || !ZQEqualNoCase(keyword, row.keyword)) continue;
            matched = true;
            DWGetPubSelectionName(param, row.pubId, value.Put());
            if (row.pubId != DMPUB_DEFSOURCE || (value.Get() && value.Get()[0])) continue;
            // The first source may carry no name of its own: the printer's first bin names it.
            const PrinterCaps* caps = ZQPrinterCapsLists(pContext->pCaps, kCapsSources);
            if (caps && caps->szFirstBinName[0]) value.Reset(ZQDupText(caps->szFirstBinName));
        }
        for (const auto& row : byOption) {
            if (matched || !ZQEqualNoCase(keyword, row.keyword)) continue;
            matched = true;
            DWGetFeatureOption(param, row.feature ? row.feature : keyword, value.Put());
        }
        if (!matched && ZQEqualNoCase(keyword, L"PagesPerSheet")) {
            matched = true;
            PWSTR text = nullptr;
            VGetPagesPerSheetText(static_cast<int>(work->dwPagesPerSheet), &text);
            value.Reset(text);
        }
        if (!matched && ZQEqualNoCase(keyword, L"ZQColorOptions")) {
            matched = true;
            CZQLocalPtr<WCHAR> grey;
            const bool colour = DWGetFeatureOption(param, m_state.szKwGrayScale, grey.Put()) == ZQOPT_OK &&
                                ZQEqualNoCase(grey.Get(), L"FALSE");
            value.Reset(ZQDupText(colour ? L"Color" : L"Gray"));
        }
        // A row without a value keeps the shortcut's choice.
        if (!value.Get()) continue;

        CZQLocalPtr<WCHAR> name;
        DWOptionKeywordToName(param, keyword, value.Get(), name.Put());
        // Two-sided printing of the desk printers says how, or which booklet.
        WCHAR replaced[kTextChars] = {};
        bool itemMissing = false;
        if (ZQEqualNoCase(keyword, zqkw::kDuplexItem) && work->dwPdl == kPdlPcl3 && !logic.BIsLargeFormat()) {
            const Text* how = nullptr;
            int selected = SelectedBeyondFirst(param, L"ZQPrintOnBothSidesManually");
            if (selected == 1) {
                how = &kManually;
            } else {
                selected = SelectedBeyondFirst(param, zqkw::kDuplexItem);
                if (selected == 1) how = &kAutomatically;
            }
            itemMissing = selected < 0;
            WCHAR booklet[kTextChars];
            VLoadText(kBooklet.id, kBooklet.english, booklet);
            if (ZQEqualNoCase(m_panel.Type().szName, booklet)) {
                const DWORD code = logic.DWBooklet();
                how = code == 1 ? &kLeftEdgeBooklet : code == 2 ? &kRightEdgeBooklet : &kBookletOff;
            }
            if (how) VLoadText(how->id, how->english, replaced);
        }
        // The option's own name, unless it has none or the two-sided item asked for last is missing.
        const bool named = name.Get() && name.Get()[0] && !itemMissing;
        const PCWSTR shown = named ? name.Get() : replaced[0] ? replaced : value.Get();

        HWND control = Item(m_controls.Page(), entry->iCtrlId);
        if (!control) continue;
        switch (entry->iKind) {
            case Rows::kKindList: {
                LRESULT found = SendMessageW(control, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                             reinterpret_cast<LPARAM>(shown));
                if (found == CB_ERR) {
                    found = SendMessageW(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(shown));
                    m_state.bCustomChoiceAdded = TRUE;
                }
                if (found >= 0) SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(found), 0);
                break;
            }
            case Rows::kKindSlider: VSetQualitySlider(pContext, control, value.Get()); break;
            case Rows::kKindText:
                if (entry->nOptions == 1) SetWindowTextW(control, shown);
                break;
            default: break;
        }
    }
}

void CZQLargeFormatShortcutsTab::VFixOrientationEntry(PageContext* pContext) {
    const ZQUIDevmode* work = WorkOf(pContext);
    int index = 0;
    if (!work || !BFindPanelEntry(m_state.szKwOrientation, &index)) return;
    ShortcutPanelEntry& entry = *PEntry(index);
    int selected = entry.iSelected;
    const bool portraitShown = selected >= 0 && selected < entry.nOptions && entry.ppszOptionKeywords &&
                               entry.ppszOptionKeywords[selected] &&
                               ZQEqualNoCase(entry.ppszOptionKeywords[selected], m_state.szOptPortrait);
    PCWSTR target = nullptr;
    if (!portraitShown && work->wOrientation == 1) {
        target = m_state.szOptPortrait;
    } else if (portraitShown && work->wOrientation == 2) {
        target = m_state.szOptLandscape;
    } else if (portraitShown && work->wOrientation == 1) {
        target = m_state.szOptPortrait;
        selected = 1;
    }
    if (!target) return;
    CZQLocalPtr<WCHAR> name;
    DWOptionKeywordToName(m_pCUIParam, m_state.szKwOrientation, target, name.Put());
    HWND control = Item(m_controls.Page(), entry.iCtrlId);
    if (entry.iKind == Rows::kKindList) {
        entry.iSelected = selected == 0 ? 1 : 0;
        m_store.VSetFeatureSlot(m_state.szKwOrientation, entry.iSelected);
        if (control) SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(entry.iSelected), 0);
        return;
    }
    if (!name.Get()) return;
    if (control) SetWindowTextW(control, name.Get());
    if (entry.nOptions > 0 && entry.ppszOptionKeywords && entry.ppszOptionKeywords[0])
        ZQCopyText(entry.ppszOptionKeywords[0], kTextChars, name.Get());
}

// ---------------------------------------------------------------------------------------------
// Colour management, the quality slider, pages per sheet, the print preview
// ---------------------------------------------------------------------------------------------
void CZQLargeFormatShortcutsTab::VApplyColorMgmtDefault(PageContext* pContext, int iEntry, int iCtrlId) {
    const POEMCUIPPARAM param = m_pCUIParam;
    const ShortcutPanelEntry* entry = iEntry >= 0 && iEntry < m_panel.Count() ? PEntry(iEntry) : nullptr;
    if (!param || !entry) return;
    WCHAR name[kTextChars] = {};
    if (!m_state.bReadFromControls || entry->iKind == Rows::kKindText || entry->iKind == Rows::kKindFixed) {
        if (entry->iSelected >= 0 && entry->iSelected < entry->nOptions && entry->ppszOptionNames)
            ZQCopyText(name, kTextChars, entry->ppszOptionNames[entry->iSelected]);
    } else if (!SelectedText(Item(m_controls.Page(), iCtrlId), name)) {
        return;
    }
    CZQLocalPtr<WCHAR> keyword;
    if (DWOptionNameToKeyword(param, L"ZQColorMgmt", name, keyword.Put()) != ZQOPT_OK &&
        DWOptionNameToKeyword(param, zqkw::kZQInputColorSpace, name, keyword.Put()) != ZQOPT_OK)
        return;
    if (ZQEqualNoCase(keyword.Get(), L"ApplicationManagedColors") || ZQEqualNoCase(keyword.Get(), L"NONE")) {
        DWSelectOptionByKeyword(param, L"ZQColorMgmtOptions", keyword.Get(), OEMCUIP_DOCPROP);
        return;
    }
    const int position = IFindDriverOptionIndex(pContext, zqkw::kZQInputColorSpace, 0, name);
    BSelectEntryOption(zqkw::kZQInputColorSpace, name, pContext);
    DWSelectOptionByKeyword(param, L"ZQColorMgmtOptions", L"PrinterManagedColors", OEMCUIP_DOCPROP);
    DWSelectOptionByIndex(param, zqkw::kZQInputColorSpace, position, OEMCUIP_DOCPROP);
}

void CZQLargeFormatShortcutsTab::VSetQualitySlider(PageContext*, HWND hSlider, PCWSTR pszOption) {
    const POEMCUIPPARAM param = m_pCUIParam;
    Show(Ctl(IDC_STATIC_DOCUI_PQ_SPEED));
    Show(Ctl(IDC_STATIC_DOCUI_PQ_QUALITY));
    CZQLocalPtr<WCHAR> setting;
    if (param && hSlider && DWGetFeatureOption(param, L"ZQLQJPQSettings", setting.Put()) == ZQOPT_OK) {
        const int position = pszOption && ZQEqualNoCase(pszOption, L"Best") ? 1 : 0;
        SendMessageW(hSlider, TBM_SETPOS, TRUE, position);
        const HWND windows[] = {hSlider, Ctl(IDC_STATIC_DOCUI_PQ_SPEED), Ctl(IDC_STATIC_DOCUI_PQ_QUALITY)};
        if (lstrcmpW(setting.Get(), L"StandardOptions") == 0) {
            for (HWND window : windows)
                if (window) EnableWindow(window, TRUE);
            // The slider's position is the quality while it is shown.
            if (FeatureItem(param, zqkw::kPrintQualityGroup)) {
                DWSelectOptionByIndex(param, zqkw::kPrintQualityGroup, position, OEMCUIP_DOCPROP);
                DWSelectOptionByIndex(param, L"StandardPrintQuality", position, OEMCUIP_DOCPROP);
            }
        } else if (lstrcmpW(setting.Get(), L"CustomOptions") == 0) {
            for (HWND window : windows)
                if (window) EnableWindow(window, FALSE);
        }
    }
    // The end labels stand just below the slider, each at its own left edge.
    RECT slider;
    if (!hSlider || !m_controls.Page()) return;
    VGetChildRect(m_controls.Page(), hSlider, &slider, nullptr, nullptr);
    const Text texts[] = {kSpeed, kQuality};
    const HWND labels[] = {Ctl(IDC_STATIC_DOCUI_PQ_SPEED), Ctl(IDC_STATIC_DOCUI_PQ_QUALITY)};
    for (int i = 0; i < 2; ++i) {
        if (!labels[i]) continue;
        RECT label;
        VGetChildRect(m_controls.Page(), labels[i], &label, nullptr, nullptr);
        SetWindowPos(labels[i], hSlider, label.left, slider.bottom + 1, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
        BSetWindowTextRes(texts[i].id, labels[i], texts[i].english);
    }
}

void CZQLargeFormatShortcutsTab::VGetPagesPerSheetText(int iLayout, PWSTR* ppszText) {
    if (!ppszText) return;
    const int id = iLayout >= 2 && iLayout <= 6 ? 3299 + iLayout : 3300;
    WCHAR text[kResStringChars] = {};
    // These texts have no English fall-back: a missing one is shown empty.
    BLoadResString(id, text);
    if (*ppszText) LocalFree(*ppszText);
    *ppszText = nullptr;
    *ppszText = ZQDupText(text);
}

void CZQLargeFormatShortcutsTab::VUpdatePreviewOption(PageContext* pContext) {
    const POEMCUIPPARAM param = m_pCUIParam;
    const ZQUIDevmode* work = WorkOf(pContext);
    if (!param || !work) return;
    HWND box = Ctl(IDC_CHK_SHOW_PREVIEW_FIN);
    bool local = true;
    PWSTR* services = nullptr;
    int count = 0;
    if (DWGetOptionKeywords(param, zqkw::kPSServicesOption, &services, &count, OEMCUIP_DOCPROP) == ZQOPT_OK)
        local = BIsLocalPrinter(param->hPrinter) != FALSE;
    VFreeStringList(services, count);
    if (!Readable(param, zqkw::kZQPrintPreview)) {
        Hide(box);
        return;
    }
    const ZQUIDevmode* core = CoreOf(param);
    const bool pcl3 = work->dwPdl == kPdlPcl3;
    const bool full = core && core->dwLayoutMode == 3 && (!pcl3 || pContext->pLogic->BIsLargeFormat());
    if (BHasEwsAddress(param->hPrinter) && ((local && !pcl3) || full)) {
        ShowEnabled(box);
        return;
    }
    DWSelectOptionByIndex(param, zqkw::kZQPrintPreview, 0, OEMCUIP_DOCPROP);
    Hide(box);
}

BOOL CZQLargeFormatShortcutsTab::BRunHighResWarning(PageContext* pContext) {
    const POEMCUIPPARAM param = m_pCUIParam;
    if (!param || !RulesLoaded(pContext)) return FALSE;
    BOOL result = FALSE;
    WCHAR option[kTextChars];
    if (ReadOption(param, zqkw::kPrintQualityGroup, option))
        result = pContext->pRules->BRunFeatureMacros(zqkw::kPrintQualityGroup, option, param);
    if (ReadOption(param, zqkw::kPrintQuality, option) && ZQEqualNoCase(option, L"4800x1200"))
        result = pContext->pRules->BRunMacro(L"macro_pop_up_4800_1200_warning", nullptr, param);
    return result;
}

// ---------------------------------------------------------------------------------------------
// Context help
// ---------------------------------------------------------------------------------------------
void CZQLargeFormatShortcutsTab::VBuildHelpIds(PageContext* pContext, DWORD (&adwPairs)[2 * kHelpIdPairs]) {
    const ZQUIDevmode* work = WorkOf(pContext);
    constexpr DWORD kNone = static_cast<DWORD>(-1);
    int previewHelp = -1;
    if (pContext && pContext->pLogic)
        pContext->pLogic->IBindFeatureControl(0, zqkw::kZQPrintPreview, nullptr, nullptr, OEMCUIP_DOCPROP,
                                              CZQUILogic::kBindHelp, FALSE, 0, &previewHelp);
    const DWORD preview = work ? static_cast<DWORD>(ShownPreviewId(*work)) : IDC_BTN_PREVIEW_LAND;
    const DWORD fixed[][2] = {{810, kNone},   {632, kNone},   {956, 15491}, {411, 15499}, {409, 15054},
                              {preview, 14060}, {706, kNone},  {707, kNone}, {708, kNone}, {889, kNone},
                              {644, 15639},   {676, 15640},   {957, kNone}, {958, kNone}, {954, 15638},
                              {729, static_cast<DWORD>(previewHelp)}};
    int n = 0;
    // Room for the end pair and the zero pair always stays.
    const auto add = [&](DWORD control, DWORD help) {
        if (n >= 2 * (kHelpIdPairs - 2)) return;
        adwPairs[n++] = control;
        adwPairs[n++] = help;
    };
    for (const auto& pair : fixed) add(pair[0], pair[1]);
    for (int i = 0; i < m_panel.Count(); ++i) {
        const ShortcutPanelEntry* entry = PEntry(i);
        if (!entry || !entry->iCtrlId) continue;
        const DWORD help = static_cast<DWORD>(entry->iLabelTextId);
        add(static_cast<DWORD>(entry->iCtrlId), help);
        // A zero id would end the table early.
        if (entry->iRowHolderId) add(static_cast<DWORD>(entry->iRowHolderId), kNone);
        if (entry->iSecondCtrlId) add(static_cast<DWORD>(entry->iSecondCtrlId), help);
        if (entry->iKind != Rows::kKindEdit) continue;
        if (ZQEqualNoCase(entry->szKeyword, L"Scaling")) add(IDC_SPIN_SCALING, help);
        else if (ZQEqualNoCase(entry->szKeyword, zqkw::kCopiesItem)) add(IDC_SPIN_COPIES, help);
    }
    adwPairs[n++] = IDC_ZQLOGO_HOLDER;
    adwPairs[n++] = kNone;
    adwPairs[n++] = 0;
    adwPairs[n] = 0;
}
