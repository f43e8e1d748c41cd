// The page's commands: choosing a shortcut, saving the settings as a new one, deleting one, turning
// the sample page, the print-preview box and labels, the panel's own controls and its quality
// slider. A change that may leave the settings apart from the chosen shortcut shows the
// "Customized Settings" row under the shortcut's type.
#include "pages/shortcuts/zqlargeformatshortcuts.h"

#include <commctrl.h>

#include "common/zqkeywords.h"
#include "common/zqmodule.h"
#include "common/zqmsgbox.h"
#include "common/zqstrings.h"
#include "featurelogic/zqpagegates.h"
#include "featurelogic/zqquicksets.h"
#include "pages/dialogs/zqimageenhancedlg.h"
#include "pages/dialogs/zqnamedlg.h"
#include "pages/parts/zqstoremessage.h"
#include "pages/zqpageasks.h"
#include "pages/zqpageitems.h"
#include "res/zqshortcutsids.h"

using namespace zqpage;

namespace {

constexpr int kPanelHelpTopic = 15243;
constexpr int kDeleteQuestionId = 3011;
constexpr WCHAR kDeleteQuestion[] = L"Are you sure you want to delete the selected item?";
constexpr WCHAR kPageTitle[] = L" Printing Shortcuts";
constexpr int kImageEnhancementDialog = 202;
constexpr int kImageEnhancementDialogRtl = 270;

HWND Item(HWND hDlg, int id) { return hDlg && id ? GetDlgItem(hDlg, id) : nullptr; }

void Enable(HWND hWnd, BOOL bEnable) {
    if (hWnd) EnableWindow(hWnd, bEnable);
}

// The list's selected row's text (256 characters); false without a selected row.
bool SelectedRow(HWND hList, PWSTR pszText) { return SelectedText(hList, pszText, true); }

LRESULT FindRow(HWND hList, PCWSTR pszText) {
    return hList ? SendMessageW(hList, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(pszText))
                 : LB_ERR;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// WM_COMMAND and WM_HSCROLL
// ---------------------------------------------------------------------------------------------
void CZQLargeFormatShortcutsTab::VOnCommand(WPARAM wParam, PageContext* pContext) {
    const int id = LOWORD(wParam);
    switch (HIWORD(wParam)) {
        case BN_CLICKED:
            switch (id) {
                case IDC_BTN_SAVE: VOnSaveAs(pContext); return;
                case IDC_BTN_DELETE: VOnDelete(pContext); return;
                case IDC_BTN_PREVIEW_PORT:
                case IDC_BTN_PREVIEW_LAND: VOnTurnPage(pContext); return;
                case IDC_CHK_SHOW_PREVIEW_FIN: VOnPreviewBox(pContext); return;
                case IDC_PREVIEW_DIMENSIONS: VOnUnitClick(pContext, false); return;
                case IDC_PREVIEW_DOCSIZE: VOnUnitClick(pContext, true); return;
                case IDC_BTN_HELP:
                    ShowHelpButtonTopic(Ctl(IDC_BTN_HELP), m_pCUIParam, kPanelHelpTopic);
                    if (Ctl(IDC_LB_DOCTYPE_SETTING)) SetFocus(Ctl(IDC_LB_DOCTYPE_SETTING));
                    return;
                default: VOnPanelButton(pContext, id); return;
            }
        // A list box's and a combo box's selection change share their code.
        case LBN_SELCHANGE:
            if (id == IDC_LB_DOCTYPE_SETTING) VOnChooseShortcut(pContext);
            else VOnPanelCombo(pContext, id);
            return;
        case EN_KILLFOCUS:
            if (id == IDC_TXT_FC_SCALING) BApplyScaling(pContext, FALSE);
            else if (id == IDC_TXT_FC_COPIES) BApplyCopiesCollate(zqkw::kCopiesItem, pContext, id);
            return;
        case EN_CHANGE:
            if (id == IDC_TXT_FC_SCALING) {
                BApplyScaling(pContext, TRUE);
                BCheckPanelChanged(pContext);
                VRepaintPreviewButtons(FALSE);
            } else if (id == IDC_TXT_FC_COPIES) {
                BApplyCopiesCollate(zqkw::kCopiesItem, pContext, id);
                BCheckPanelChanged(pContext);
            }
            return;
        default: return;
    }
}

void CZQLargeFormatShortcutsTab::VOnQualitySlider(HWND hSlider, PageContext* pContext) {
    const POEMCUIPPARAM param = m_pCUIParam;
    const int position = hSlider ? static_cast<int>(SendMessageW(hSlider, TBM_GETPOS, 0, 0)) : 0;
    DWSelectOptionByIndex(param, L"StandardPrintQuality", position, OEMCUIP_DOCPROP);
    if (FeatureItem(param, zqkw::kPrintQualityGroup))
        DWSelectOptionByIndex(param, zqkw::kPrintQualityGroup, position, OEMCUIP_DOCPROP);
    VAfterChange(pContext, kDeleteKept);
    BRunHighResWarning(pContext);
}

// The settings may now differ from the chosen shortcut: its "Customized Settings" row, or the
// shortcut's own row again.
void CZQLargeFormatShortcutsTab::VAfterChange(PageContext* pContext, int iDeleteRule) {
    CZQQuickSets* quickSets = pContext->pQuickSets;
    const ZQUIDevmode* work = WorkOf(pContext);
    if (quickSets) quickSets->VSetSelected();
    m_state.bSettingsDiffer = quickSets && work ? quickSets->BEntryDiffers(*work, m_state.szCurrentName) : FALSE;
    if (m_state.bSettingsDiffer || m_state.bCustomChoiceAdded) {
        VShowCustomizedRow(pContext);
        Enable(Ctl(IDC_BTN_SAVE), TRUE);
        if (iDeleteRule != kDeleteKept) Enable(Ctl(IDC_BTN_DELETE), FALSE);
        return;
    }
    VRemoveCustomizedRow();
    Enable(Ctl(IDC_BTN_SAVE), FALSE);
    m_list.VSelectRow(m_state.szCurrentName);
    if (iDeleteRule == kDeleteByType) Enable(Ctl(IDC_BTN_DELETE), !BIsDocumentType(pContext, m_state.szCurrentName));
    else if (iDeleteRule == kDeleteByRule) VUpdateDeleteButton(pContext, m_state.szCurrentName);
}

// ---------------------------------------------------------------------------------------------
// Save As
// ---------------------------------------------------------------------------------------------
INT_PTR CZQLargeFormatShortcutsTab::ShortcutNameDlgProc(PageContext* pContext, IZQNameAsker& asker) {
    const BOOL rtl = pContext && pContext->pLogic ? pContext->pLogic->SheetState()->bRtl : FALSE;
    return asker.BAskName(m_controls.Page(), rtl, m_store.NameQuestion(), m_store.m_szNewShortcutName,
                          CZQShortcutStore::kNameChars)
               ? IDOK
               : IDCANCEL;
}

void CZQLargeFormatShortcutsTab::VOnSaveAs(PageContext* pContext) {
    ZQUIDevmode* work = WorkOf(pContext);
    const BOOL rtl = pContext->pLogic->SheetState()->bRtl;
    CZQNameDlg nameDialog(static_cast<HINSTANCE>(m_pCUIParam->hModule));
    if (ShortcutNameDlgProc(pContext, nameDialog) != IDOK ||
        !m_store.BSaveShortcut(pContext, m_controls.Page(), work, rtl, &nameDialog))
        return;
    const PCWSTR name = m_store.m_szNewShortcutName;
    // The record and its quick set are stored in one edit before the list shows the name; a replaced
    // one is written over, never removed first. Either refused, the list and the store stay as they
    // were, and the user is told.
    ShortcutRecord& record = m_store.m_SavedShortcut;
    const ZQStoreOutcome stored = BBuildSavedShortcut(pContext, &record)
                                      ? m_store.ESaveShortcut(pContext, m_controls.Page(), record, work)
                                      : ZQStoreOutcome::kRefused;
    CZQShortcutStore::VFreeShortcut(&record);
    if (stored != ZQStoreOutcome::kStored) {
        VSayStored(stored, false, name);
        return;
    }
    LRESULT added = LB_ERR;
    if (Ctl(IDC_LB_DOCTYPE_SETTING)) {
        if (m_store.m_bReplaceExisting) {
            const LRESULT old = FindRow(Ctl(IDC_LB_DOCTYPE_SETTING), name);
            if (old != LB_ERR) {
                m_list.Pictures().BRemoveAt(static_cast<int>(old));
                SendMessageW(Ctl(IDC_LB_DOCTYPE_SETTING), LB_DELETESTRING, static_cast<WPARAM>(old), 0);
            }
        }
        // The new row stands right below the type it was saved from.
        const LRESULT base = FindRow(Ctl(IDC_LB_DOCTYPE_SETTING), m_state.szBaseDocType);
        added = SendMessageW(Ctl(IDC_LB_DOCTYPE_SETTING), LB_INSERTSTRING, static_cast<WPARAM>(base + 1),
                             reinterpret_cast<LPARAM>(name));
        ZQCopyText(m_state.szCurrentName, kTextChars, name);
        if (added >= 0)
            m_list.Pictures().BInsertAt(static_cast<int>(added), m_list.HRowBitmap(static_cast<UINT>(m_panel.Type().iShortcutBitmapId)));
        VRemoveCustomizedRow();
        added = FindRow(Ctl(IDC_LB_DOCTYPE_SETTING), name);
    }
    m_state.bCustomChoiceAdded = FALSE;
    if (added >= 0) SendMessageW(Ctl(IDC_LB_DOCTYPE_SETTING), LB_SETCURSEL, static_cast<WPARAM>(added), 0);
    VDisableSaveDelete();
    WCHAR selected[kTextChars];
    if (SelectedRow(Ctl(IDC_LB_DOCTYPE_SETTING), selected)) VUpdateDeleteButton(pContext, selected);
    if (Ctl(IDC_LB_DOCTYPE_SETTING)) SetFocus(Ctl(IDC_LB_DOCTYPE_SETTING));
}

// The record of the shortcut being saved: the panel's features, each with the values the driver
// had and the panel's own choices lacked.
BOOL CZQLargeFormatShortcutsTab::BBuildSavedShortcut(PageContext* pContext, ShortcutRecord* pRecord) {
    ZQCopyText(pRecord->szName, kTextChars, m_store.m_szNewShortcutName);
    ZQCopyText(pRecord->szDocType, kTextChars, m_state.szBaseDocType);
    pRecord->nFeatures = m_panel.Count();
    pRecord->dwBitmapId = static_cast<DWORD>(m_panel.Type().iShortcutBitmapId);
    pRecord->ppFeatures = nullptr;
    if (m_panel.Count() <= 0) return TRUE;
    pRecord->ppFeatures = static_cast<ShortcutFeatureEntry**>(LocalAlloc(LPTR, m_panel.Count() * sizeof(ShortcutFeatureEntry*)));
    if (!pRecord->ppFeatures) {
        pRecord->nFeatures = 0;
        return FALSE;
    }
    for (int i = 0; i < m_panel.Count(); ++i) {
        auto* feature = static_cast<ShortcutFeatureEntry*>(LocalAlloc(LPTR, sizeof(ShortcutFeatureEntry)));
        pRecord->ppFeatures[i] = feature;
        const ShortcutPanelEntry* entry = PEntry(i);
        if (!feature || !entry) continue;
        ZQCopyText(feature->szKeyword, kTextChars, entry->szKeyword);
        feature->iKind = entry->iKind;
        HWND control = Item(m_controls.Page(), entry->iCtrlId);
        if (!control) continue;
        // The texts the record keeps beside their keywords.
        WCHAR texts[64][kTextChars];
        int count = 0;
        if (entry->iKind == Rows::kKindList) {
            const int items = static_cast<int>(SendMessageW(control, CB_GETCOUNT, 0, 0));
            for (int item = entry->nOptions; item < items && count < 64; ++item)
                if (EntryText(control, item, texts[count])) ++count;
        } else if (entry->iKind == Rows::kKindText) {
            GetWindowTextW(control, texts[0], static_cast<int>(kTextChars));
            const PCWSTR first = entry->nOptions > 0 && entry->ppszOptionNames ? entry->ppszOptionNames[0] : nullptr;
            if (texts[0][0] && !(first && ZQEqualNoCase(texts[0], first))) count = 1;
        }
        if (!count) continue;
        feature->ppszOptionNames = static_cast<PWSTR*>(LocalAlloc(LPTR, count * sizeof(PWSTR)));
        feature->ppszOptionKeywords = static_cast<PWSTR*>(LocalAlloc(LPTR, count * sizeof(PWSTR)));
        if (!feature->ppszOptionNames || !feature->ppszOptionKeywords) continue;
        feature->nPairs = count;
        for (int pair = 0; pair < count; ++pair) {
            feature->ppszOptionNames[pair] = ZQDupText(texts[pair], kTextChars - 1);
            feature->ppszOptionKeywords[pair] = PSavedKeyword(pContext, *entry, texts[pair]);
        }
    }
    return TRUE;
}

// The keyword a value the panel added is stored under; null when none is found.
PWSTR CZQLargeFormatShortcutsTab::PSavedKeyword(PageContext* pContext, const ShortcutPanelEntry& entry, PCWSTR pszText) {
    const POEMCUIPPARAM param = m_pCUIParam;
    if (entry.iKind == Rows::kKindList && ZQEqualNoCase(entry.szKeyword, m_state.szKwInputBin)) {
        // The bins' keywords stand one place after their names: the first source has no name.
        PWSTR* keywords = nullptr;
        PWSTR* names = nullptr;
        int keywordCount = 0, nameCount = 0;
        PWSTR found = nullptr;
        if (DWGetOptionKeywords(param, m_state.szKwInputBin, &keywords, &keywordCount, OEMCUIP_DOCPROP) == ZQOPT_OK &&
            DWGetOptionNames(param, m_state.szKwInputBin, &names, &nameCount) == ZQOPT_OK) {
            const int at = CZQShortcutStore::IFindString(nameCount, const_cast<const PCWSTR*>(names), pszText);
            if (at >= 0 && at + 1 < keywordCount) found = ZQDupText(keywords[at + 1], kTextChars - 1);
        }
        VFreeStringList(keywords, keywordCount);
        VFreeStringList(names, nameCount);
        return found;
    }
    if (entry.iKind == Rows::kKindList && ZQEqualNoCase(entry.szKeyword, m_state.szKwPaperSize) && BFormExists(pContext, pszText))
        return ZQDupText(pszText, kTextChars - 1);
    CZQLocalPtr<WCHAR> keyword;
    if (DWOptionNameToKeyword(param, entry.szKeyword, pszText, keyword.Put()) != ZQOPT_OK) return nullptr;
    return keyword.Release();
}

// ---------------------------------------------------------------------------------------------
// Delete
// ---------------------------------------------------------------------------------------------
void CZQLargeFormatShortcutsTab::VDeleteShortcut(PageContext* pContext, PCWSTR pszName, BOOL* pbDeleted) {
    const ZQStoreOutcome outcome = m_store.EDeleteShortcut(pContext, pszName);
    VSayStored(outcome, true, pszName);
    *pbDeleted = outcome == ZQStoreOutcome::kStored;
}

void CZQLargeFormatShortcutsTab::VSayStored(ZQStoreOutcome outcome, bool bDelete, PCWSTR pszName) {
    WCHAR caption[kResStringChars];
    m_store.VCaption(caption);
    BSayStoreOutcome(m_controls.Page(), caption, {ZQStoreKind::kShortcuts, bDelete, outcome, {pszName}});
}

void CZQLargeFormatShortcutsTab::VOnDelete(PageContext* pContext) {
    WCHAR question[kTextChars], caption[kTextChars], name[kTextChars];
    VLoadText(kDeleteQuestionId, kDeleteQuestion, question);
    VLoadText(kTitleId, kPageTitle, caption);
    HWND list = Ctl(IDC_LB_DOCTYPE_SETTING);
    const LRESULT row = list ? SendMessageW(list, LB_GETCURSEL, 0, 0) : LB_ERR;
    if (row != LB_ERR && SelectedRow(list, name)) {
        BOOL deleted = FALSE;
        if (zqmsgbox::IShow(m_controls.Page(), question, caption, MB_OKCANCEL | MB_ICONEXCLAMATION) == IDOK)
            VDeleteShortcut(pContext, name, &deleted);
        if (deleted) {
            CZQQuickSets* quickSets = pContext->pQuickSets;
            m_list.Pictures().BRemoveAt(static_cast<int>(row));
            SendMessageW(list, LB_DELETESTRING, static_cast<WPARAM>(row), 0);
            m_state.bCopiesOnPanel = FALSE;
            VRefreshPanelControls(pContext);
            if (!m_state.bRestrictedUser) {
                // The settings go back to those of the list's first row.
                EntryText(list, 0, m_state.szCurrentName, true);
                if (quickSets) quickSets->VApplyByName(m_state.szCurrentName);
            } else {
                SendMessageW(list, LB_SETCURSEL, 0, 0);
            }
            const LRESULT rows = SendMessageW(list, LB_GETCOUNT, 0, 0);
            if (row < rows) SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
            else if (row == rows && row > 0) SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(row - 1), 0);
            SelectedRow(list, m_state.szCurrentName);
        }
        VDisableSaveDelete();
    }
    if (SelectedRow(list, name)) VUpdateDeleteButton(pContext, name);
    VBuildShortcutPanel(static_cast<HMODULE>(zqmodule::Instance()), pContext, TRUE);
    if (list) SetFocus(list);
}

// ---------------------------------------------------------------------------------------------
// The sample page, the print-preview box, the labels
// ---------------------------------------------------------------------------------------------
void CZQLargeFormatShortcutsTab::VOnTurnPage(PageContext* pContext) {
    const POEMCUIPPARAM param = m_pCUIParam;
    ZQUIDevmode& work = *WorkOf(pContext);
    const bool landscape = work.wOrientation != 2;
    SwitchOrientation(pContext, param, landscape);
    // The stapling list offers what the new orientation leaves.
    CZQLocalPtr<WCHAR> staple, name;
    const PCWSTR stapling = StaplingFeature(PostScript(pContext));
    if (DWGetFeatureOption(param, stapling, staple.Put()) == ZQOPT_OK &&
        DWOptionKeywordToName(param, stapling, staple.Get(), name.Put()) == ZQOPT_OK && name.Get()) {
        DWFillStaplingCombo(0, stapling, pContext);
        const LRESULT found = Ctl(m_state.iStaplingListId) ? SendMessageW(Ctl(m_state.iStaplingListId), CB_FINDSTRINGEXACT,
                                                                 static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name.Get()))
                                                  : CB_ERR;
        if (found != CB_ERR) SendMessageW(Ctl(m_state.iStaplingListId), CB_SETCURSEL, static_cast<WPARAM>(found), 0);
    }
    if (pContext->pLogic->BIsLargeFormat()) {
        VSetPreviewPaperText(&work, pContext->pCaps, Ctl(IDC_PREVIEW_DIMENSIONS), 0);
        if (work.dwPrintDocOn == 1) VSetPreviewDocSizeText(&work, pContext->pCaps, Ctl(IDC_PREVIEW_DOCSIZE));
    }
    if (Ctl(IDC_PREVIEW_DIMENSIONS)) InvalidateRect(Ctl(IDC_PREVIEW_DIMENSIONS), nullptr, FALSE);
    VRepaintPreviewButtons(FALSE);
    if (HWND focus = landscape ? Ctl(IDC_BTN_PREVIEW_LAND) : Ctl(IDC_BTN_PREVIEW_PORT)) SetFocus(focus);
    VFixOrientationEntry(pContext);
    BCheckPanelChanged(pContext);
    VAfterChange(pContext, kDeleteByType);
}

void CZQLargeFormatShortcutsTab::VOnPreviewBox(PageContext* pContext) {
    DWSelectOptionByIndex(m_pCUIParam, zqkw::kZQPrintPreview, Checked(Ctl(IDC_CHK_SHOW_PREVIEW_FIN)) ? 1 : 0, OEMCUIP_DOCPROP);
    BCheckPanelChanged(pContext);
    VAfterChange(pContext, kDeleteByType);
}

void CZQLargeFormatShortcutsTab::VOnUnitClick(PageContext* pContext, bool bDocSize) {
    FlipPreviewUnit(*this, *WorkOf(pContext), pContext->pCaps, Ctl(IDC_PREVIEW_DIMENSIONS), Ctl(IDC_PREVIEW_DOCSIZE), bDocSize);
}

// ---------------------------------------------------------------------------------------------
// The panel's controls
// ---------------------------------------------------------------------------------------------

void CZQLargeFormatShortcutsTab::VOnPanelButton(PageContext* pContext, int iCtrlId) {
    const int index = m_panel.IEntryOfControl(iCtrlId);
    if (index < 0) return;
    if (ZQEqualNoCase(PEntry(index)->szKeyword, L"DigitalPhotography")) {
        // The sheet's dialog, on a copy of the Paper/Quality page's context.
        PageContext* paperContext = nullptr;
        CZQImageEnhanceDlg* enhance = SheetImageEnhance(pContext, &paperContext);
        if (enhance && paperContext) {
            PageContext copy = *paperContext;
            enhance->IDoModal(m_controls.Page(), &copy, pContext->pLogic->SheetState()->bRtl);
        }
    } else {
        VApplyPanelEntry(pContext, index);
    }
    BCheckPanelChanged(pContext);
    VRepaintPreviewButtons(TRUE);
}

void CZQLargeFormatShortcutsTab::VOnPanelCombo(PageContext* pContext, int iCtrlId) {
    VDisableSaveDelete();
    const int index = m_panel.IEntryOfControl(iCtrlId);
    if (index >= 0) {
        ZQUIDevmode& work = *WorkOf(pContext);
        m_state.bPanelChangedByUser = TRUE;
        VApplyPanelEntry(pContext, index);
        if (pContext->pLogic->BIsLargeFormat()) {
            VSetPreviewPaperText(&work, pContext->pCaps, Ctl(IDC_PREVIEW_DIMENSIONS), 0);
            VSetPreviewDocSizeText(&work, pContext->pCaps, Ctl(IDC_PREVIEW_DOCSIZE));
        }
        VRepaintPreviewButtons(FALSE);
        const ShortcutPanelEntry& entry = *PEntry(index);
        m_store.VSetFeatureSlot(entry.szKeyword, entry.iSelected);
        BCheckPanelChanged(pContext);
    }
    VAfterChange(pContext, kDeleteByRule);
}

// ---------------------------------------------------------------------------------------------
// Choosing a shortcut
// ---------------------------------------------------------------------------------------------
void CZQLargeFormatShortcutsTab::VOnChooseShortcut(PageContext* pContext) {
    ZQUIDevmode& work = *WorkOf(pContext);
    CZQQuickSets* quickSets = pContext->pQuickSets;
    VResetFeatureSlots();
    VDisableSaveDelete();
    work.dwPendingChange = 0;
    m_state.bCustomChoiceAdded = FALSE;
    WCHAR name[kTextChars] = {};
    if (SelectedRow(Ctl(IDC_LB_DOCTYPE_SETTING), name)) {
        ZQCopyText(m_state.szCurrentName, kTextChars, name);
        // The customised row stands for the settings as they are: nothing to apply.
        if (ZQEqualNoCase(name, m_state.szCustomizedText)) {
            Enable(Ctl(IDC_BTN_SAVE), TRUE);
            return;
        }
        VRemoveCustomizedRow();
        m_state.bStoredShortcutShown = !BIsDocumentType(pContext, name);
        if (m_state.bStoredShortcutShown) ZQCopyText(m_state.szStoredShortcutName, kTextChars, name);
    }
    VApplyQuickSetToPages(m_controls.Page(), pContext);
    if (quickSets) quickSets->VApplyByName(m_state.szCurrentName);
    VBuildShortcutPanel(static_cast<HMODULE>(zqmodule::Instance()), pContext, TRUE);
    // The panel's handlers may have changed what the quick set holds.
    if (quickSets) quickSets->VApplyByName(m_state.szCurrentName);
    if (IZQConstraintGate* constraints = pContext->pConstraints) constraints->BCheckMediaAndQuality(m_controls.Page());
    ZQCopyText(work.szDocTypeName, kTextChars, m_panel.Type().szName);
    VRefreshPanelControls(pContext);
    BCheckPanelChanged(pContext);
    bool slider = false;
    for (int i = 0; i < m_panel.Count(); ++i)
        if (PEntry(i) && PEntry(i)->iKind == Rows::kKindSlider &&
            ZQEqualNoCase(PEntry(i)->szKeyword, L"StandardPrintQuality"))
            slider = true;
    if (!slider) {
        Hide(Ctl(IDC_STATIC_DOCUI_PQ_SPEED));
        Hide(Ctl(IDC_STATIC_DOCUI_PQ_QUALITY));
    }
    VRepaintPreviewButtons(FALSE);
    VDisableSaveDelete();
    name[0] = 0;
    SelectedRow(Ctl(IDC_LB_DOCTYPE_SETTING), name);
    VUpdateDeleteButton(pContext, name);
}
