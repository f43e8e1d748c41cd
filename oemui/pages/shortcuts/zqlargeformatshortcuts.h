// CZQLargeFormatShortcutsTab: the Printing Shortcuts page of printers with the simplified
// interface. The user picks a shortcut (a named set of settings for a kind of document) in the
// owner-drawn list on the left; the shortcut's settings and the sample page stand on the right, the
// device's alerts below. The page procedure finds the page through its PageContext, kept as the
// window's DWLP_USER data.
//
// Its controls are a CZQPageControls table; its scalars sit in ZQLargeFormatShortcutsState; the
// panel's entries and run-time controls are a CZQShortcutPanelRows, the list's rows a
// CZQShortcutListRows, the stored shortcuts a CZQShortcutStore.
#pragma once

#include "pages/shortcuts/zqlargeformatlistrows.h"
#include "pages/shortcuts/zqlargeformatpanelrows.h"
#include "pages/shortcuts/zqlargeformatstate.h"
#include "pages/shortcuts/zqlargeformatstore.h"
#include "pages/zqpagealerts.h"
#include "pages/zqpagebase.h"
#include "pages/zqpagecontrols.h"
#include "pages/zqpages.h"
#include "preview/zqpreviewsettings.h"


struct QuickSetEntry;

class CZQLargeFormatShortcutsTab : public CZQPageBase {
public:
    // The page's title string, which leaving the page keeps in the devmode as the page to open on.
    static constexpr int kTitleId = 4255;
    static constexpr size_t kTextChars = 256;
    using Rows = CZQShortcutPanelRows;

    CZQLargeFormatShortcutsTab();
    ~CZQLargeFormatShortcutsTab() override;
    CZQLargeFormatShortcutsTab(const CZQLargeFormatShortcutsTab&) = delete;
    CZQLargeFormatShortcutsTab& operator=(const CZQLargeFormatShortcutsTab&) = delete;

    // ---- the page object
    void VResetFeatureSlots();
    // The features' keywords for the driver's language (PostScript or the others).
    void VSetDriverKeywords(PageContext* pContext);
    // The page's window; the Paper/Quality page's image-enhancement dialog gets this page's
    // parameters and texts, since this page opens it too.
    void VBindControls(HWND hDlg, PageContext* pContext);
    void VSetControlTexts();

    // ---- the list and the panel's entries
    // The document types of the helper file, then each stored shortcut under the type it was based
    // on (a restricted user's own too), each row with its picture; the row of the working copy's
    // quick-set name selected unless selectFirst, else the first.
    void VFillShortcutList(PageContext* pContext, BOOL bSelectFirst);
    // The option of the core driver's item (by public id when given, else by keyword) whose text is
    // the name (the first source: the printer's first bin name), else its first shown option that
    // is not in conflict; -1 without the item or such an option.
    static int IFindDriverOptionIndex(PageContext* pContext, PCWSTR pszKeyword, BYTE bPubId, PCWSTR pszName);
    // The core driver's item of a panel keyword (the public items by their id).
    BOOL BFindDriverItem(PCWSTR pszKeyword, POPTITEM* ppItem, PageContext* pContext) const;
    // An entry's option names (the driver's, else the text of the option's text id, else the
    // keyword; mnemonics removed) and not-available flags, in new local blocks the entry owns; TRUE
    // when all were allocated.
    BOOL BBuildOptionNames(POPTITEM pItem, LONG** ppLabelIds, PWSTR* ppszKeywords, int nOptions, PCWSTR pszKeyword,
                           PageContext* pContext, PWSTR** pppszNames, int*** pppiFlags);
    BOOL BBuildOptionNamesNoItem(LONG** ppLabelIds, PWSTR* ppszKeywords, int nOptions, PCWSTR pszKeyword,
                                 PageContext* pContext, PWSTR** pppszNames, int*** pppiFlags);
    static int IGetControlKind(PageContext* pContext, PCWSTR pszKeyword);
    // The kind of a fixed feature of one option: no control.
    static int IGetFixedKind() { return Rows::kKindFixed; }
    // Every entry freed (its options, names, pictures and flags), then the table; the document
    // type's name and pictures cleared.
    void VFreePanelEntries();
    // The first entry of the keyword (without regard to case) and its index (0 without one).
    BOOL BFindPanelEntry(PCWSTR pszKeyword, int* piIndex) const;
    // The entry's first option of that name (without regard to case) becomes its selected one;
    // without such an option nothing changes.
    BOOL BSelectEntryOption(PCWSTR pszKeyword, PCWSTR pszOptionName, PageContext* pContext);
    CZQShortcutStore& Store() { return m_store; }

    // ---- document types, the settings the sheet opens with, the customised row
    // The node's pictures and its "DocFeature" children (one to ten) into the panel's entries, which
    // replace the previous ones; TRUE when one was read.
    BOOL BReadShortcutDocument(IXMLDOMNode* pNode, PageContext* pContext, int iFlag);
    // While the sheet is built, before the window exists: the private devmode names the next
    // document type when the settings match it, else the custom settings. No entries are left.
    void VDetectCurrentShortcut(PageContext* pContext);
    // Paper, quality, media, orientation or two-sided printing differ from the panel's choices.
    BOOL BSettingsDifferFromPanel(PageContext* pContext);
    // The selected row's document type (a stored shortcut's base type); the caller owns the node.
    BOOL BGetSelectedDocType(PageContext* pContext, IXMLDOMNode** ppNode);
    // The selected row's document type into the entries; the panel's row holders move down two rows.
    BOOL BReadSelectedDocTypeAndMove(PageContext* pContext, int iFlag);
    void VSaveState(PageContext* pContext);
    void VRestoreSelections(PageContext* pContext);
    void VShowCustomizedRow(PageContext* pContext);
    void VRemoveCustomizedRow();
    // A document type's own name; a stored shortcut's base type (empty when it cannot be read).
    void VResolveSelectedName(PageContext* pContext, PCWSTR pszName, PWSTR pszOut);
    static BOOL BIsDocumentType(PageContext* pContext, PCWSTR pszName);
    void VUpdateDeleteButton(PageContext* pContext, PCWSTR pszName);
    BOOL BPrinterShortcutExists(PageContext* pContext, PCWSTR pszName);

    // ---- the panel's run-time controls
    void VSetupEditFeature(PageContext* pContext, PCWSTR pszKeyword, PCWSTR* ppszNames, int iRow, BOOL bFromEntry);
    void VSetStaticText(PageContext* pContext, PCWSTR* ppszText, int iCtrlId);
    void VSetCheckFromValue(PageContext* pContext, PCWSTR pszKeyword, PCWSTR* ppszKeywords, int iSelected, int nCount,
                            int iCtrlId);
    void VFillChoiceCombo(PageContext* pContext, PCWSTR pszKeyword, PCWSTR* ppszKeywords, PCWSTR* ppszNames,
                          int** ppiNotAvailable, int iCurrent, int nCount, int iCtrlId);
    void VFillInputBinCombo(PageContext* pContext, PCWSTR pszKeyword, PCWSTR* ppszKeywords, PCWSTR* ppszNames,
                            int** ppiNotAvailable, int iCurrent, int nCount, int iCtrlId);
    BOOL BIsBinOffered(PageContext* pContext, PCWSTR pszName);
    void VFillDuplexCombo(PageContext* pContext, PCWSTR pszKeyword, PCWSTR* ppszKeywords, PCWSTR* ppszNames,
                          int** ppiNotAvailable, int iCurrent, int nCount, int iCtrlId);
    DWORD DWFillStaplingCombo(BYTE bPubId, PCWSTR pszKeyword, PageContext* pContext);
    void VEnablePanelControls(BOOL bAll);
    void VDisableSaveDelete() { m_store.VDisableSaveDelete(); }
    void VOnSettingsChanged(PageContext* pContext);

    // ---- the panel: built for the selected row, its fixed controls, the sample page, the change check
    // The rows of the selected document type or stored shortcut, made (or kept) from id 500 and filled
    // with its choices; bApply also writes each row into the settings. No selected row or no such
    // document type leaves the panel as it was.
    void VBuildShortcutPanel(HMODULE hModule, PageContext* pContext, BOOL bApply);
    // The two-sided choice's text for a quick set, in a new 512-byte local block the caller frees.
    void VGetDuplexChoiceText(PageContext* pContext, const QuickSetEntry* pQuickSet, PWSTR* ppszText);
    // The paper-size option keyword of a paper number, in a new 512-byte local block the caller
    // frees (empty when no paper of the printer has that number).
    void VGetPaperSizeKeyword(PageContext* pContext, WORD wPaper, PWSTR* ppszKeyword);
    // The page's own controls after a build: printing help, the Scaling and Copies rows, the notes,
    // the sample page's labels and the print-preview box.
    void VRefreshPanelControls(PageContext* pContext);
    // The sample page's record, by the rules the document pages share.
    void VFillPreviewSettings(PageContext* pContext);
    // The quick set chosen in the list into the settings; the neighbouring pages follow.
    void VApplyQuickSetToPages(HWND hDlg, PageContext* pContext);
    // The panel against the shortcut last applied: the sheet's Apply button, Save As and Delete.
    BOOL BCheckPanelChanged(PageContext* pContext);

    // ---- the rows' handlers: the row's value (from its control, else its own choice) into the
    // core driver's items and the working settings; each answers TRUE
    BOOL BApplyInputBin(PageContext* pContext, int iEntry, int iCtrlId);
    BOOL BApplyOrientation(PageContext* pContext, int iEntry, int iCtrlId);
    BOOL BApplyMediaType(PageContext* pContext, int iEntry, int iCtrlId);
    BOOL BApplyInputColorSpace(PageContext* pContext, int iEntry, int iCtrlId);
    BOOL BApplyPaperSize(PageContext* pContext, int iEntry, int iCtrlId);
    BOOL BApplyPrintQuality(PageContext* pContext, int iEntry, int iCtrlId);
    BOOL BApplyBorderlessAutoFit(PageContext* pContext, int iEntry, int iCtrlId);
    // Scaling 25 to 400 %; quiet leaves a clamped value out of the edit field.
    BOOL BApplyScaling(PageContext* pContext, BOOL bQuiet);
    // "Copies" (1 to 9999) or "Collate".
    BOOL BApplyCopiesCollate(PCWSTR pszKeyword, PageContext* pContext, int iCtrlId);
    BOOL BApplyColorMode(PageContext* pContext, int iEntry, int iCtrlId);
    BOOL BApplyDuplex(PageContext* pContext, int iEntry, int iCtrlId);
    BOOL BApplyPagesPerSheet(PageContext* pContext, int iEntry, int iCtrlId);
    BOOL BApplyPosterPrinting(PageContext* pContext, int iEntry, int iCtrlId);
    BOOL BApplyPosterSui(PageContext* pContext, int iEntry, int iCtrlId);
    BOOL BApplyScaleToPaper(PageContext* pContext, int iEntry, int iCtrlId);

    // ---- values between the panel and the driver
    // The help table: sixteen fixed pairs, up to three per row and a spin pair per row, the end
    // pair and the zero pair.
    static constexpr int kHelpIdPairs = 16 + 4 * 10 + 2;
    // The entry into the driver through the handler of its keyword and control kind.
    void VApplyPanelEntry(PageContext* pContext, int iEntry);
    // The driver's current options shown in the panel's controls; a value a list lacks is added.
    void VShowCurrentSettings(PageContext* pContext);
    // The orientation row follows the working orientation.
    void VFixOrientationEntry(PageContext* pContext);
    // The handler of "ZQColorMgmt".
    void VApplyColorMgmtDefault(PageContext* pContext, int iEntry, int iCtrlId);
    void VSetQualitySlider(PageContext* pContext, HWND hSlider, PCWSTR pszOption);
    // The text of a pages-per-sheet code replaces *ppszText (zero-filled, the caller frees it);
    // empty when the status module lacks it.
    void VGetPagesPerSheetText(int iLayout, PWSTR* ppszText);
    void VUpdatePreviewOption(PageContext* pContext);
    // The quality group's macros and the highest resolution's warning; the last macro's result.
    BOOL BRunHighResWarning(PageContext* pContext);
    void VBuildHelpIds(PageContext* pContext, DWORD (&adwPairs)[2 * kHelpIdPairs]);

    // ---- services of the panel and the commands
    // WM_DRAWITEM of the shortcut list: the row's picture and its name, wrapped on as many lines as
    // the row holds within the list's client width (the scroll bar left out).
    void VDrawShortcutItem(const DRAWITEMSTRUCT* pItem, HWND hList, CZQUILogic* pLogic);
    // The paper-source id of a tray of the printer's tray record; the printer's first paper
    // source for a tray the record does not hold.
    DWORD DWGetTrayBinId(PageContext* pContext, int iTray);
    // A form of that name (any kind, case-insensitive) on the printer.
    BOOL BFormExists(PageContext* pContext, PCWSTR pszName);
    // The alert window in the placeholder's place and the refresh button, when alerts are on;
    // TRUE when the refresh button got the alert icon.
    BOOL BCreateAlertStrip(HWND hDlg, PageContext* pContext);

    // ---- for the tests: the parts and records behind the page's routines
    ZQLargeFormatShortcutsState& StateForTesting() { return m_state; }
    CZQShortcutPanelRows& PanelForTesting() { return m_panel; }
    CZQShortcutListRows& ListForTesting() { return m_list; }
    CZQPageAlerts& AlertsForTesting() { return m_alerts; }

private:
    friend class ZQPageShell;

    // ---- the page procedure's work (the context is the page's PageContext)
    static constexpr bool kPreviewCursor = true;
    static constexpr INT_PTR kHelpAnswer = TRUE;
    CZQPageAlerts* Alerts() { return &m_alerts; }
    BOOL BInitDialog(HWND hDlg, PageContext* pContext);
    // Painting, owner drawing, the list's row heights and the quality slider.
    INT_PTR IOnMessage(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam, PageContext* pContext);
    void VOnPaint(HWND hDlg, PageContext* pContext);
    INT_PTR IOnDrawItem(const DRAWITEMSTRUCT* pDraw, PageContext* pContext);
    INT_PTR IOnMeasureItem(MEASUREITEMSTRUCT* pMeasure, PageContext* pContext);
    LRESULT IOnNotify(HWND hDlg, const NMHDR* pHeader, PageContext* pContext);
    void VOnSetActive(PageContext* pContext);
    void VOnKillActive(PageContext* pContext);
    LRESULT IOnApply(PageContext* pContext);
    void VOnHelp(HWND hTarget, UINT uCommand, PageContext* pContext);
    void VOnDestroy();

    // ---- the commands (WM_COMMAND, every one answered TRUE, and WM_HSCROLL)
    INT_PTR IOnCommand(HWND hDlg, int iCtrlId, int iCode, HWND hCtrl, PageContext* pContext);
    void VOnCommand(WPARAM wParam, PageContext* pContext);
    void VOnQualitySlider(HWND hSlider, PageContext* pContext);
    // The name of a new shortcut asked with the sheet's name dialog, into the store's name buffer;
    // IDOK with a name, IDCANCEL when the user cancelled.
    INT_PTR ShortcutNameDlgProc(PageContext* pContext, IZQNameAsker& asker);
    void VOnSaveAs(PageContext* pContext);
    void VOnDelete(PageContext* pContext);
    // The shortcut and its quick set out of the stores together, the outcome said; *pbDeleted FALSE
    // (both kept) when another program holds the stores or the printer refuses.
    void VDeleteShortcut(PageContext* pContext, PCWSTR pszName, BOOL* pbDeleted);
    // What a save or delete of the stores came to, said under the store's caption.
    void VSayStored(ZQStoreOutcome outcome, bool bDelete, PCWSTR pszName);
    void VOnTurnPage(PageContext* pContext);
    void VOnPreviewBox(PageContext* pContext);
    void VOnUnitClick(PageContext* pContext, bool bDocSize);
    void VOnPanelButton(PageContext* pContext, int iCtrlId);
    void VOnPanelCombo(PageContext* pContext, int iCtrlId);
    void VOnChooseShortcut(PageContext* pContext);
    // How Delete follows a change: disabled for a document type, by the Delete-state rule, or kept.
    enum : int { kDeleteByType, kDeleteByRule, kDeleteKept };
    // After a change the settings may differ from the chosen shortcut: the customised row, or the
    // shortcut's own row again.
    void VAfterChange(PageContext* pContext, int iDeleteRule);
    // The record of the shortcut being saved, from the panel; FALSE without memory for its table.
    BOOL BBuildSavedShortcut(PageContext* pContext, ShortcutRecord* pRecord);
    // The keyword a value the panel added is stored under (a new local block; null: none found).
    PWSTR PSavedKeyword(PageContext* pContext, const ShortcutPanelEntry& entry, PCWSTR pszText);

    // ---- steps the messages share
    // The first row selected and its text taken for an empty, placeholder or default name.
    void VTakeFirstRowForPlaceholder(PageContext* pContext);
    void VRepaintPreviewButtons(BOOL bErase) const;
    // The store reads the page's list, buttons, keywords and slots.
    void VBindStore();
    void VListUserShortcuts(PageContext* pContext, HANDLE hPrinter, BOOL bListAll);
    // ---- the panel's and the handlers' common steps
    BOOL BBuildNames(POPTITEM pItem, LONG** ppLabelIds, PWSTR* ppszKeywords, int nOptions, PCWSTR pszKeyword,
                     PageContext* pContext, PWSTR** pppszNames, int*** pppiFlags);
    // The row's option text (256 characters): its control's when the page reads the controls and
    // the row has one, else its own choice's name.
    void VReadEntryText(int iEntry, int iCtrlId, PWSTR pszText) const;
    ShortcutPanelEntry* PEntry(int iEntry) const { return m_panel.PEntry(iEntry); }
    HWND Ctl(int iCtrlId) const { return iCtrlId ? m_controls.Item(iCtrlId) : nullptr; }
    // The stapling choices the new paper or orientation leaves, into the page's stapling list.
    void VCheckStapling(PageContext* pContext);
    // Two-sided printing keeps its binding edge for the new orientation or layout.
    void VRebindDuplex(PageContext* pContext);
    // Booklet printing ends; bTestLargePaper also asks whether scaling from a larger paper applies.
    void VEndBooklet(PageContext* pContext, bool bTestLargePaper);
    // A poster of the chosen option: tiles, layout, two-sided printing and margins follow.
    void VStartPoster(PageContext* pContext, PCWSTR pszOption);
    // The row's list position: its control's selection while the page reads its controls, else its
    // own choice.
    int IEntryListIndex(int iEntry, int iCtrlId) const;
    // The printer opened by name as the shortcut list reads it (for use only, for a restricted
    // user); null when it cannot be opened. The caller closes it.
    HANDLE HOpenListPrinter(POEMCUIPPARAM pParam) const;
    // A build of a stored shortcut: the options it was saved with and its quick set's values.
    void VShowStoredShortcut(PageContext* pContext);
    // One entry's control made and filled by its kind, in its row's place.
    void VMakeEntryControl(HMODULE hModule, HFONT hFont, PageContext* pContext, int iEntry);

    // ---- fields
    CZQPageControls m_controls{nullptr, 0};
    ZQLargeFormatShortcutsState m_state;
    CZQShortcutPanelRows m_panel{m_controls, *this};
    CZQShortcutListRows m_list{m_controls};
    // The title and the sheet position are the base's (m_szTitle, m_iSheetPosition).
    PreviewSettings m_PreviewSettings = {};
    // The alert strip: its window (the page's alert window) and the gate it registered with.
    CZQPageAlerts m_alerts;
    // The stored shortcuts with the name typed, the saved record, the replace flag and the locks.
    CZQShortcutStore m_store;
};

inline constexpr auto& LargeFormatShortcutsPageDlgProc = ZQPageShell::Proc<CZQLargeFormatShortcutsTab>;
