// The panel on the right of the large-format shortcuts page: one row per feature of the chosen
// document type or stored shortcut, made on the template's holders and filled with its choices; the
// page's fixed controls around it, the sample page's record, the chosen quick set reaching the
// neighbouring pages, and the check that tells the sheet whether the panel still is the shortcut.
#include "pages/shortcuts/zqlargeformatshortcuts.h"

#include "common/zqhandles.h"
#include "common/zqkeywords.h"
#include "common/zqstorenames.h"
#include "common/zqstrings.h"
#include "featurelogic/zqquicksets.h"
#include "featurelogic/zquilogic.h"
#include "pages/dialogs/zqimageenhancedlg.h"
#include "pages/parts/zqdoctypematch.h"
#include "pages/zqpageasks.h"
#include "pages/zqpageitems.h"
#include "pages/zqpagepreview.h"
#include "res/zqshortcutsids.h"
#include "settings/zqdriverdata.h"
#include "xmlrules/zqxmluirules.h"

using namespace zqpage;

namespace {

constexpr int kPanelRows = 10;
constexpr int kPrintingHelpId = IDC_BTN_DCUI_PRINTINGHELP;
constexpr size_t kChoiceTextBytes = 512;
constexpr WCHAR kAutoSelect[] = L"Automatically Select";
constexpr WCHAR kCapsPort[] = L"LPT1:";

HWND Item(HWND hDlg, int id) { return hDlg && id ? GetDlgItem(hDlg, id) : nullptr; }

void ShowFlagged(HWND hCtrl, BOOL bOn) {
    if (bOn)
        ShowEnabled(hCtrl);
    else
        Hide(hCtrl);
}

// A row is shown when the driver (or a text) offers one of its options, or when its first option
// is the printer's own automatic choice.
bool EntryShown(const ShortcutPanelEntry& entry) {
    if (entry.nOptions <= 0 || !entry.ppiNotAvailable) return false;
    const bool automatic = entry.ppszOptionKeywords && entry.ppszOptionKeywords[0] &&
                           wcscmp(entry.ppszOptionKeywords[0], kAutoSelect) == 0;
    for (int i = 0; i < entry.nOptions; ++i) {
        if (!entry.ppiNotAvailable[i]) continue;
        if (*entry.ppiNotAvailable[i] == 0 || (*entry.ppiNotAvailable[i] == 1 && automatic)) return true;
    }
    return false;
}

PCWSTR SelectedName(const ShortcutPanelEntry& entry) {
    const int s = entry.iSelected;
    return s >= 0 && s < entry.nOptions && entry.ppszOptionNames && entry.ppszOptionNames[s]
               ? entry.ppszOptionNames[s]
               : L"";
}

bool IsDraftGroup(POEMCUIPPARAM pParam) {
    WCHAR group[256];
    return ReadOption(pParam, zqkw::kPrintQualityGroup, group) &&
           (wcscmp(group, L"PQGroup_3") == 0 || wcscmp(group, L"PQGroup_4") == 0);
}

void SelectFromTop(HWND hList, PCWSTR pszText) {
    if (hList && pszText && pszText[0])
        SendMessageW(hList, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(pszText));
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The build
// ---------------------------------------------------------------------------------------------
void CZQLargeFormatShortcutsTab::VBuildShortcutPanel(HMODULE hModule, PageContext* pContext, BOOL bApply) {
    const POEMCUIPPARAM param = pContext && pContext->pLogic ? pContext->pLogic->CUIParam() : nullptr;
    if (!param || !m_controls.Page()) {
        SetLastError(ERROR_INVALID_DATA);
        return;
    }
    ZQUIDevmode* work = WorkOf(pContext);
    // 1. What the list holds: the document types and the printer's stored shortcuts.
    CZQPrinterHandle printer(HOpenListPrinter(param));
    CZQPrinterDataList stored;
    if (printer) stored.BRead(printer.Get(), zqsettings::kShortcutPoolKey);
    LONG typeCount = 0;
    IXMLDOMNodeList* types = RulesLoaded(pContext) ? pContext->pRules->Parser().DocSettingList() : nullptr;
    if (!types || FAILED(types->get_length(&typeCount)) || typeCount < 0) typeCount = 0;
    m_list.Listed().nListed = static_cast<int>(stored.Count()) + static_cast<int>(typeCount);

    // 2. The selected row's document type into the entries.
    CZQComPtr<IXMLDOMNode> node;
    if (!BGetSelectedDocType(pContext, node.Put()) || !node) return;
    if (!BReadShortcutDocument(node.Get(), pContext, bApply)) return;
    node.Reset();

    // 3. A clean panel; ids from 500 again, the first row after the shortcut list in the tab order.
    for (int row = 0; row < kPanelRows; ++row) Hide(Item(m_controls.Page(), IDC_DC_CTL_HOLDER1 + row));
    for (int holder : {IDC_DC_SCALING_HOLDER, IDC_DC_COPY_HOLDER}) {
        ShowWindow(Item(m_controls.Page(), holder), SW_HIDE);
        ShowWindow(Item(m_controls.Page(), holder), SW_SHOW);
    }
    const HFONT font = reinterpret_cast<HFONT>(SendMessageW(m_controls.Page(), WM_GETFONT, 0, 0));
    if (!bApply) VRestoreSelections(pContext);
    m_panel.VStartBuild(IDC_LB_DOCTYPE_SETTING);
    m_state.bScalingOnPanel = m_state.bCopiesOnPanel = FALSE;

    // 4. Shown without applying, the type holds while the settings name it and still print its paper
    // the way it turns it; a choice made elsewhere on any other row is the user's and keeps the type.
    if (!bApply && work && !work->dwPendingChange && !ZQEqualNoCase(m_panel.Type().szName, work->szDocTypeName))
        work->dwPendingChange = 1;
    for (int i = 0; !bApply && work && !work->dwPendingChange && i < m_panel.Count(); ++i) {
        const ShortcutPanelEntry* entry = PEntry(i);
        if (!entry || entry->iSelected < 0 || entry->iSelected >= entry->nOptions || !entry->ppszOptionKeywords) continue;
        const zqdoctype::Row row = {entry->szKeyword, entry->ppszOptionKeywords[entry->iSelected]};
        const zqdoctype::Words words = {m_state.szKwPaperSize, m_state.szKwOrientation, m_state.szOptPortrait};
        if (zqdoctype::ChoiceLost(pContext, m_pCUIParam, row, words)) work->dwPendingChange = 1;
    }

    // 5. One control per shown row, in its own row place beside its option's picture; the seventh
    // row starts the right column's tab order.
    m_panel.VPlanRows(m_panel.Count() < kPanelRows ? m_panel.Count() : kPanelRows);
    for (int i = 0; i < m_panel.Count() && i < kPanelRows; ++i) {
        ShortcutPanelEntry* entry = PEntry(i);
        if (!entry) continue;
        entry->iRowHolderId = 0;
        m_panel.VSetRightColumn(i == 6);
        HWND picture = Item(m_controls.Page(), IDC_DC_BMP_HOLDER1 + i);
        if (!EntryShown(*entry)) {
            Hide(picture);
            continue;
        }
        // A picture an earlier build hid for its row shows again.
        if (picture) ShowWindow(picture, m_panel.BWithoutPictures() ? SW_HIDE : SW_SHOW);
        VMakeEntryControl(hModule, font, pContext, i);
        if (bApply) VApplyPanelEntry(pContext, i);
    }
    m_panel.VSetRightColumn(FALSE);

    // 6. What a larger earlier build left.
    for (int row = m_panel.Count(); row < kPanelRows; ++row) Hide(Item(m_controls.Page(), IDC_DC_BMP_HOLDER1 + row));
    m_panel.VHideUnused();
    VEnablePanelControls(m_state.bStoredShortcutShown);

    // 7. A stored shortcut adds the options it was saved with and shows its quick set's values.
    if (m_state.bStoredShortcutShown) VShowStoredShortcut(pContext);

    // 8. The rows fitted to the page and the lists to their entries.
    m_panel.VFitRowsToPage();
}

void CZQLargeFormatShortcutsTab::VMakeEntryControl(HMODULE hModule, HFONT hFont, PageContext* pContext, int iEntry) {
    ShortcutPanelEntry& entry = *PEntry(iEntry);
    const HINSTANCE instance = static_cast<HINSTANCE>(hModule);
    const int holder = IDC_DC_CTL_HOLDER1 + iEntry;
    const POEMCUIPPARAM param = m_pCUIParam;
    int control = 0, second = 0;
    entry.iRowHolderId = holder;
    switch (entry.iKind) {
        case Rows::kKindList: {
            m_panel.BCreateLabelAndCombo(instance, hFont, entry.iLabel, holder, &control, &second);
            // A stored shortcut keeps its own choice of the feature (outside the large-format class).
            if (m_state.bStoredShortcutShown && !pContext->pLogic->BIsLargeFormat()) {
                int slot = ZQLargeFormatShortcutsState::kNoSlotValue;
                m_store.VGetFeatureSlot(pContext, entry.szKeyword, &slot);
                if (slot != ZQLargeFormatShortcutsState::kNoSlotValue) entry.iSelected = slot;
            }
            VFillChoiceCombo(pContext, entry.szKeyword, const_cast<PCWSTR*>(entry.ppszOptionKeywords),
                             const_cast<PCWSTR*>(entry.ppszOptionNames), entry.ppiNotAvailable, entry.iSelected,
                             entry.nOptions, control);
            // A locked row of a document type only shows its option.
            if (!m_state.bStoredShortcutShown && ZQEqualNoCase(entry.szLocked, L"True"))
                EnableWindow(Item(m_controls.Page(), control), FALSE);
            break;
        }
        case Rows::kKindCheck:
            m_panel.BCreateCheckBox(instance, hFont, entry.iLabel, holder, &control);
            VSetCheckFromValue(pContext, entry.szKeyword, const_cast<PCWSTR*>(entry.ppszOptionKeywords),
                               entry.iSelected, entry.nOptions, control);
            break;
        case Rows::kKindButton:
            m_panel.BCreatePushButton(instance, hFont, entry.iLabel, holder, &control);
            if (wcscmp(entry.szKeyword, L"DigitalPhotography") == 0)
                EnableWindow(Item(m_controls.Page(), control), !IsDraftGroup(param));
            break;
        case Rows::kKindEdit:
            VSetupEditFeature(pContext, entry.szKeyword, const_cast<PCWSTR*>(entry.ppszOptionKeywords), iEntry,
                              TRUE);
            if (ZQEqualNoCase(entry.szKeyword, L"Scaling")) {
                control = IDC_TXT_FC_SCALING;
                second = IDC_STA_FS_SCALING;
            } else if (ZQEqualNoCase(entry.szKeyword, zqkw::kCopiesItem)) {
                control = IDC_TXT_FC_COPIES;
                second = IDC_STA_FS_COPIES;
            }
            Hide(Item(m_controls.Page(), IDC_DC_BMP_HOLDER1 + iEntry));
            break;
        case Rows::kKindText: {
            m_panel.BCreateLabelAndText(instance, hFont, entry.iLabel, holder, &control, &second);
            PCWSTR shown = SelectedName(entry);
            VSetStaticText(pContext, &shown, control);
            break;
        }
        case Rows::kKindSlider: {
            m_panel.BCreateLabelAndSlider(instance, hFont, entry.iLabel, holder, &control, &second);
            const int s = entry.iSelected;
            const bool chosen = s >= 0 && s < entry.nOptions && entry.ppszOptionKeywords && entry.ppszOptionKeywords[s];
            VSetQualitySlider(pContext, Item(m_controls.Page(), control), chosen ? entry.ppszOptionKeywords[s] : L"");
            break;
        }
        default: break;  // fixed rows and the kinds without a control
    }
    entry.iCtrlId = control;
    entry.iSecondCtrlId = second;
}

void CZQLargeFormatShortcutsTab::VShowStoredShortcut(PageContext* pContext) {
    const POEMCUIPPARAM param = m_pCUIParam;
    ShortcutRecord record = {};
    ZQCopyText(record.szName, kTextChars, m_state.szStoredShortcutName);
    if (m_store.BReadShortcut(pContext, &record)) {
        // Only the rows both hold are matched: a record of more features than the panel stops there.
        const int shared = record.nFeatures < m_panel.Count() ? record.nFeatures : m_panel.Count();
        for (int i = 0; record.ppFeatures && i < shared; ++i) {
            const ShortcutFeatureEntry* feature = record.ppFeatures[i];
            const ShortcutPanelEntry* entry = PEntry(i);
            HWND list = entry ? Item(m_controls.Page(), entry->iCtrlId) : nullptr;
            if (!feature || !list || entry->iKind != Rows::kKindList || !ZQEqualNoCase(feature->szKeyword, entry->szKeyword))
                continue;
            const bool paper = ZQEqualNoCase(entry->szKeyword, m_state.szKwPaperSize);
            for (int p = 0; feature->ppszOptionKeywords && p < feature->nPairs; ++p) {
                const PCWSTR option = feature->ppszOptionKeywords[p];
                if (!option || !option[0]) continue;
                CZQLocalPtr<WCHAR> shown;
                if (paper && BFormExists(pContext, option)) {
                    SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(option));
                } else if (DWOptionKeywordToName(param, entry->szKeyword, option, shown.Put()) == ZQOPT_OK && shown.Get()) {
                    SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(shown.Get()));
                }
            }
        }
    }
    CZQShortcutStore::VFreeShortcut(&record);

    const QuickSetEntry* quickSet =
        pContext->pQuickSets ? pContext->pQuickSets->PFindEntryAnyCase(m_state.szStoredShortcutName) : nullptr;
    if (!quickSet) return;
    const ZQUIDevmode* work = WorkOf(pContext);
    const bool smallPrinter = work && work->dwPdl == kPdlPcl3 && !pContext->pLogic->BIsLargeFormat();
    for (int i = 0; i < m_panel.Count(); ++i) {
        const ShortcutPanelEntry* entry = PEntry(i);
        HWND control = entry ? Item(m_controls.Page(), entry->iCtrlId) : nullptr;
        if (!control) continue;
        WCHAR value[kTextChars] = {};
        const bool hasValue = CZQQuickSets::PFindNameValue(quickSet->pPairs, entry->szKeyword, value) != nullptr;
        CZQLocalPtr<WCHAR> shown;
        if (hasValue) DWOptionKeywordToName(param, entry->szKeyword, value, shown.Put());
        const PCWSTR name = shown.Get() ? shown.Get() : L"";
        // The pages per sheet are the quick set's own layout, told by their text.
        const bool pages = ZQEqualNoCase(entry->szKeyword, L"PagesPerSheet");
        CZQLocalPtr<WCHAR> pagesText;
        if (pages) VGetPagesPerSheetText(static_cast<int>(quickSet->head.settings.adwFinishing[6]), pagesText.Put());
        if (entry->iKind == Rows::kKindList) {
            if (pages) {
                SelectFromTop(control, pagesText.Get());
            } else if (smallPrinter && ZQEqualNoCase(entry->szKeyword, zqkw::kDuplexItem)) {
                CZQLocalPtr<WCHAR> text;
                VGetDuplexChoiceText(pContext, quickSet, text.Put());
                SelectFromTop(control, text.Get());
            } else if (smallPrinter && ZQEqualNoCase(entry->szKeyword, L"ZQScaleToPaper")) {
                CZQLocalPtr<WCHAR> text;
                if (quickSet->head.settings.dwPrintDocOn == 0) {
                    WCHAR off[kTextChars];
                    VLoadText(1117, L"OFF", off);
                    SelectFromTop(control, off);
                } else {
                    VGetPaperSizeKeyword(pContext, static_cast<WORD>(quickSet->head.settings.dwPrintedOnPaper), text.Put());
                    SelectFromTop(control, text.Get());
                }
            } else if (hasValue && ZQEqualNoCase(entry->szKeyword, m_state.szKwPaperSize) && BFormExists(pContext, value)) {
                SelectFromTop(control, value);
            } else if (hasValue) {
                SelectFromTop(control, name);
            }
        } else if (entry->iKind == Rows::kKindText && pages) {
            SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(pagesText.Get() ? pagesText.Get() : L""));
        } else if (entry->iKind == Rows::kKindText && hasValue && name[0]) {
            SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name));
        } else if (entry->iKind == Rows::kKindSlider && hasValue) {
            VSetQualitySlider(pContext, control, value);
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Texts of a quick set's values
// ---------------------------------------------------------------------------------------------
void CZQLargeFormatShortcutsTab::VGetDuplexChoiceText(PageContext* pContext, const QuickSetEntry* pQuickSet,
                                                      PWSTR* ppszText) {
    if (!ppszText) return;
    *ppszText = static_cast<PWSTR>(LocalAlloc(LPTR, kChoiceTextBytes));
    if (!*ppszText || !pContext || !pContext->pLogic) return;
    const size_t chars = kChoiceTextBytes / sizeof(WCHAR);
    CZQUILogic& logic = *pContext->pLogic;
    const ZQUIDevmode* work = WorkOf(pContext);
    WCHAR text[kTextChars] = {};
    const WORD duplex = pQuickSet ? pQuickSet->head.settings.wDuplex : 1;
    // The choice by the two-sided row's own name for it, which its list shows.
    const auto named = [&](PCWSTR pszKeyword, INT iTextId, PCWSTR pszEnglish) {
        int row = 0;
        const ShortcutPanelEntry* entry = BFindPanelEntry(L"Duplex", &row) ? PEntry(row) : nullptr;
        for (int i = 0; entry && entry->ppszOptionKeywords && entry->ppszOptionNames && i < entry->nOptions; ++i)
            if (entry->ppszOptionNames[i] && ZQEqualNoCase(entry->ppszOptionKeywords[i], pszKeyword)) {
                ZQCopyText(text, kTextChars, entry->ppszOptionNames[i]);
                return;
            }
        VLoadText(iTextId, pszEnglish, text);
    };
    if (work && work->dwManualDuplex && logic.m_bManualDuplexOffered && logic.BIsManualDuplexAvailable())
        named(L"Manually", 4267, L"Manually");
    else if (logic.BIsDuplexUnitInstalled(FALSE) && duplex != 1)
        named(L"Automatically", 4266, L"Automatically");
    else
        named(L"None", 1117, L"Off");
    if (work && work->dwPdl == kPdlPcl3 && !logic.BIsLargeFormat()) {
        WCHAR booklet[kTextChars];
        VLoadText(4405, L"Booklet Printing", booklet);
        if (wcscmp(m_panel.Type().szName, booklet) == 0) {
            const DWORD mode = pQuickSet ? pQuickSet->head.settings.adwFinishing[5] : 0;
            if (mode == 1)
                VLoadText(4268, L"Left Edge Booklet", text);
            else if (mode == 2)
                VLoadText(4269, L"Right Edge Booklet", text);
            else
                VLoadText(1117, L"Off", text);
        }
    }
    ZQCopyText(*ppszText, chars, text);
}

void CZQLargeFormatShortcutsTab::VGetPaperSizeKeyword(PageContext* pContext, WORD wPaper, PWSTR* ppszKeyword) {
    if (!ppszKeyword) return;
    *ppszKeyword = static_cast<PWSTR>(LocalAlloc(LPTR, kChoiceTextBytes));
    if (!*ppszKeyword) return;
    PWSTR* keywords = nullptr;
    int count = 0;
    DWGetOptionKeywords(m_pCUIParam, zqkw::kPaperSize, &keywords, &count, 1);
    const POPTITEM form = PubItem(m_pCUIParam, DMPUB_FORMNAME);
    CZQLocalPtr<WORD> papers;
    DWORD paperCount = 0;
    const PCWSTR printer = pContext && pContext->pCaps ? pContext->pCaps->szPrinterName : nullptr;
    if (form && printer) BGetPaperSizeIndices(printer, kCapsPort, m_pPublicDM, &paperCount, papers.Put());
    const int positions = form ? IGetOptionCount(form) : 0;
    for (int i = 0; papers.Get() && i < positions && i < count && static_cast<DWORD>(i) < paperCount; ++i) {
        if (papers.Get()[i] != wPaper || !keywords[i]) continue;
        ZQCopyText(*ppszKeyword, kTextChars, keywords[i]);
        break;
    }
    VFreeStringList(keywords, count);
}

// ---------------------------------------------------------------------------------------------
// The page's own controls and the sample page
// ---------------------------------------------------------------------------------------------
void CZQLargeFormatShortcutsTab::VRefreshPanelControls(PageContext* pContext) {
    if (!m_controls.Page() || !pContext || !pContext->pLogic) return;
    ShowFlagged(Item(m_controls.Page(), kPrintingHelpId), m_state.bHasPrintingHelp);
    for (HWND control : {Ctl(IDC_TXT_FC_SCALING), Ctl(IDC_STA_FS_SCALING), Ctl(IDC_SPIN_SCALING)})
        ShowFlagged(control, m_state.bScalingOnPanel);
    for (HWND control : {Ctl(IDC_TXT_FC_COPIES), Ctl(IDC_STA_FS_COPIES), Ctl(IDC_SPIN_COPIES)})
        ShowFlagged(control, m_state.bCopiesOnPanel);
    // The edit groups' pictures, unless the rows do without pictures.
    const bool pictures = !m_panel.BWithoutPictures();
    ShowFlagged(Item(m_controls.Page(), IDC_DC_SCALING_HOLDER), m_state.bScalingOnPanel && pictures);
    ShowFlagged(Item(m_controls.Page(), IDC_DC_COPY_HOLDER), m_state.bCopiesOnPanel && pictures);
    for (int id : {IDC_DOCUI_CUSTOM1, IDC_DOCUI_CUSTOM2, IDC_DOCUI_CUSTOM3, IDC_STA_MESSAGE})
        ShowWindow(Item(m_controls.Page(), id), SW_HIDE);
    if (!pContext->pLogic->BIsLargeFormat()) {
        Hide(Ctl(IDC_PREVIEW_DIMENSIONS));
        return;
    }
    ZQUIDevmode* work = WorkOf(pContext);
    ShowEnabled(Ctl(IDC_PREVIEW_DIMENSIONS));
    VSetPreviewPaperText(work, pContext->pCaps, Ctl(IDC_PREVIEW_DIMENSIONS), 0);
    if (work && work->dwPrintDocOn == 1)
        VSetPreviewDocSizeText(work, pContext->pCaps, Ctl(IDC_PREVIEW_DOCSIZE));
    else
        Hide(Ctl(IDC_PREVIEW_DOCSIZE));
    WCHAR preview[kTextChars];
    if (Ctl(IDC_CHK_SHOW_PREVIEW_FIN) && ReadOption(m_pCUIParam, zqkw::kZQPrintPreview, preview))
        SetCheck(Ctl(IDC_CHK_SHOW_PREVIEW_FIN), ZQEqualNoCase(preview, L"TRUE"));
}

void CZQLargeFormatShortcutsTab::VFillPreviewSettings(PageContext* pContext) {
    if (!BFillSharedPreview(&m_PreviewSettings, pContext)) return;
    // The roll and its margins as the large-format pages show them; the content is not turned here.
    ZQFillPreviewRollMargins(&m_PreviewSettings, m_pCUIParam, PostScript(pContext));
    m_PreviewSettings.aiExtra[kPxContentOrientation] = 0;
}

// ---------------------------------------------------------------------------------------------
// The chosen quick set and the change check
// ---------------------------------------------------------------------------------------------
void CZQLargeFormatShortcutsTab::VApplyQuickSetToPages(HWND hDlg, PageContext* pContext) {
    CZQQuickSets* quickSets = pContext ? pContext->pQuickSets : nullptr;
    if (!quickSets) return;
    quickSets->VApplySelection(hDlg, Ctl(IDC_LB_DOCTYPE_SETTING), Ctl(IDC_BTN_SAVE), Ctl(IDC_BTN_DELETE));
    if (pContext->pRules) pContext->pRules->VRunMediaTypeMacros(m_pCUIParam);
    quickSets->VApplySelection(hDlg, Ctl(IDC_LB_DOCTYPE_SETTING), Ctl(IDC_BTN_SAVE), Ctl(IDC_BTN_DELETE));
    PageContext* paperContext = nullptr;
    if (auto* paper = ZQSheetPage<IZQPaperQualityPage>(pContext, kPagePaperQuality, &paperContext); paper && paperContext)
        paper->VRefreshCoverControls(paperContext);
    PageContext* finishingContext = nullptr;
    if (auto* finishing = ZQSheetPage<IZQFinishingPage>(pContext, kPageFinishing, &finishingContext); finishing && finishingContext)
        finishing->VSetAllControls(finishingContext);
}

BOOL CZQLargeFormatShortcutsTab::BCheckPanelChanged(PageContext* pContext) {
    const ZQUIDevmode* work = WorkOf(pContext);
    const ZQUIDevmode* core = CoreOf(m_pCUIParam);
    if (!work || !core || !m_controls.Page()) return TRUE;
    CZQUILogic& logic = *pContext->pLogic;
    // Settings customised when the sheet opened name no type: while the page's start writes its
    // edit fields that is no change.
    const bool openedCustomised = m_state.bStarting && core->dwPendingChange && work->dwPendingChange;
    bool changed = !ZQEqualNoCase(m_panel.Type().szName, core->szDocTypeName) && !openedCustomised;
    bool modified = false;
    // The first row away from the type's own choice ends the comparison.
    for (int i = 0; i < m_panel.Count() && !modified; ++i) {
        const ShortcutPanelEntry* entry = PEntry(i);
        if (!entry) continue;
        if (i < kPanelRows && static_cast<uint32_t>(entry->iSelected) != core->adwSelectionSlots[i]) changed = true;
        if (entry->iSelected != entry->iDefaultOption) modified = true;
    }
    int orientationEntry = 0;
    const bool hasOrientation = BFindPanelEntry(m_state.szKwOrientation, &orientationEntry) != FALSE;
    int previewOption = -1;
    if (Ctl(IDC_CHK_SHOW_PREVIEW_FIN) && DWGetFeatureOptionIndex(m_pCUIParam, zqkw::kZQPrintPreview, &previewOption) == ZQOPT_OK) {
        int differs = -1;
        logic.IBindFeatureControl(0, zqkw::kZQPrintPreview, Ctl(IDC_CHK_SHOW_PREVIEW_FIN), &differs, OEMCUIP_DOCPROP,
                                  CZQUILogic::kBindCompare, TRUE, previewOption, nullptr);
        if (differs == 1) changed = true;
    }
    // The image-enhancement dialog reports its own changes once.
    int photoRow = -1;
    CZQImageEnhanceDlg* enhance = SheetImageEnhance(pContext, nullptr);
    if (enhance && BFindPanelEntry(L"DigitalPhotography", &photoRow) && enhance->BChanged()) {
        enhance->VClearChanged();
        changed = modified = true;
    }
    BOOL translated = FALSE;
    const UINT scaling = GetDlgItemInt(m_controls.Page(), IDC_TXT_FC_SCALING, &translated, FALSE);
    if (m_state.bScalingOnPanel && translated && scaling != core->dwDocTypeScaling) changed = modified = true;
    const UINT copies = GetDlgItemInt(m_controls.Page(), IDC_TXT_FC_COPIES, &translated, FALSE);
    if (m_state.bCopiesOnPanel && translated && copies != core->dwDocTypeCopies) changed = modified = true;
    const bool nameMatches = ZQEqualNoCase(m_panel.Type().szName, core->szDocTypeName);
    const bool turned = core->wOrientation != work->wOrientation && (nameMatches || !hasOrientation);

    HWND sheet = GetParent(m_controls.Page());
    if (changed) {
        SendMessageW(sheet, PSM_CHANGED, reinterpret_cast<WPARAM>(m_controls.Page()), 0);
        if (pContext->pQuickSets) pContext->pQuickSets->VDeselectToPlaceholder();
    } else {
        SendMessageW(sheet, PSM_UNCHANGED, reinterpret_cast<WPARAM>(m_controls.Page()), 0);
    }
    if (!modified && !turned) {
        if (Ctl(IDC_BTN_SAVE)) EnableWindow(Ctl(IDC_BTN_SAVE), FALSE);
        m_state.bSettingsDiffer = FALSE;
    } else {
        if (Ctl(IDC_BTN_SAVE)) EnableWindow(Ctl(IDC_BTN_SAVE), TRUE);
        if (Ctl(IDC_BTN_DELETE)) EnableWindow(Ctl(IDC_BTN_DELETE), FALSE);
        m_state.bSettingsDiffer = TRUE;
    }
    return TRUE;
}
