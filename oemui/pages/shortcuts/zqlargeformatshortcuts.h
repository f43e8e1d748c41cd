// CZQLargeFormatShortcutsTab: the Printing Shortcuts page of printers with the simplified
// interface. The user picks a shortcut (a named set of settings for a kind of document) in the
// owner-drawn list on the left; the shortcut's settings and the sample page stand on the right, the
// device's alerts below. LargeFormatShortcutsPageDlgProc finds the page through its PageContext,
// kept as the window's DWLP_USER data.
#pragma once

#include "pages/shortcuts/zqlargeformatstore.h"
#include "pages/shortcuts/zqlargeformattypes.h"
#include "common/zqstrings.h"
#include "pages/zqpagealerts.h"
#include "pages/zqpages.h"
#include "preview/zqpreviewsettings.h"


struct QuickSetEntry;

INT_PTR CALLBACK LargeFormatShortcutsPageDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);

class CZQLargeFormatShortcutsTab : public CZQTabBase {
public:
    // The page's title string, which leaving the page keeps in the devmode as the page to open on.
    static constexpr int kTitleId = 4255;
    // Ids of the controls the panel makes at run time start here.
    static constexpr int kFirstRunTimeId = 500;
    static constexpr int kFeatureSlots = 15;
    static constexpr int kNoSlotValue = 100;
    static constexpr int kRowBitmaps = 25;
    static constexpr size_t kTextChars = 256;
    // Rows 0 to 25 of the list show a picture.
    static constexpr int kLastPictureRow = 25;

    CZQLargeFormatShortcutsTab();
    ~CZQLargeFormatShortcutsTab() override;
    CZQLargeFormatShortcutsTab(const CZQLargeFormatShortcutsTab&) = delete;
    CZQLargeFormatShortcutsTab& operator=(const CZQLargeFormatShortcutsTab&) = delete;

    // ---- the page object
    void VResetFeatureSlots();
    // The features' keywords for the driver's language (PostScript or the others).
    void VSetDriverKeywords(PageContext* pContext);
    // The page's windows; the Paper/Quality page's image-enhancement dialog gets this page's
    // parameters and texts, since this page opens it too.
    void VBindControls(HWND hDlg, PageContext* pContext);
    void VSetControlTexts();
    // The panel's entries freed (the table too); none left, the document type's name and pictures
    // cleared.
    void VFreePanelEntries();

    // ---- the list and the panel's entries
    // Control kinds of the panel's rows.
    enum : int { kKindList = 0, kKindCheck = 1, kKindButton = 2, kKindEdit = 5, kKindText = 7, kKindFixed = 8,
                 kKindSlider = 9 };
    // The document types of the helper file, then each stored shortcut under the type it was based
    // on (a restricted user's own too), each row with its picture; the row of the working copy's
    // quick-set name selected unless selectFirst, else the first.
    void VFillShortcutList(PageContext* pContext, BOOL bSelectFirst);
    // The data types the print processor of a printer of another server offers there; 0 for a
    // local printer.
    static DWORD DWCountRemoteDatatypes(const PrinterCaps& caps);
    // The quick set of that name is not hidden (or there is none).
    static BOOL BIsQuickSetVisible(PageContext* pContext, PCWSTR pszName);
    // The first entry of the keyword (without regard to case); its index (0 without one).
    BOOL BFindPanelEntry(PCWSTR pszKeyword, int* piIndex) const;
    // The entry's first option of that name (without regard to case) becomes its selected one.
    BOOL BSelectEntryOption(PCWSTR pszKeyword, PCWSTR pszOptionName, PageContext* pContext);
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
    static int IGetFixedKind() { return kKindFixed; }
    CZQShortcutStore& Store() { return m_store; }

    // The picture of a panel row's selected option (0: none); the paper's picture follows the
    // document's orientation (1 portrait, 2 landscape).
    static int IEntryPictureId(const ShortcutPanelEntry& entry, PCWSTR pszPaperKeyword, WORD wOrientation);

    // ---- document types, the settings the sheet opens with, the customised row
    // The node's pictures and its "DocFeature" children (one to ten) into the panel's entries; TRUE
    // when one was read. The caller frees the previous entries first.
    BOOL BReadShortcutDocument(IXMLDOMNode* pNode, PageContext* pContext, int iFlag);
    // While the sheet is built, before the window exists: the private devmode names the next
    // document type when the settings match it, else the custom settings. No entries are left.
    void VDetectCurrentShortcut(PageContext* pContext);
    // Paper, quality, media, orientation or two-sided printing differ from the panel's choices.
    BOOL BSettingsDifferFromPanel(PageContext* pContext);
    // The selected row's document type (a stored shortcut's base type); the caller owns the node.
    BOOL BGetSelectedDocType(PageContext* pContext, IXMLDOMNode** ppNode);
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
    // A control's class, style and text at creation; its place on the page.
    struct ControlShape;
    struct ControlPlace;
    // Each takes the holder's place and the next id (a window of the right class under that id is
    // kept); always TRUE, also when the window could not be made.
    BOOL BCreatePushButton(HINSTANCE hInstance, HFONT hFont, int iTextId, int iHolder, int* piCtrlId);
    BOOL BCreateLabelAndText(HINSTANCE hInstance, HFONT hFont, int iTextId, int iHolder, int* piTextCtrlId,
                             int* piCaptionId);
    BOOL BCreateCheckBox(HINSTANCE hInstance, HFONT hFont, int iTextId, int iHolder, int* piCtrlId);
    BOOL BCreateLabelAndCombo(HINSTANCE hInstance, HFONT hFont, int iTextId, int iHolder, int* piListId,
                              int* piCaptionId);
    BOOL BCreateLabelAndSlider(HINSTANCE hInstance, HFONT hFont, int iTextId, int iHolder, int* piSliderId,
                               int* piCaptionId);
    void VSetAnchorId(int iId);
    void VSetupEditFeature(PageContext* pContext, PCWSTR pszKeyword, PCWSTR* ppszNames, int iRow, BOOL bFromEntry);
    void VPlaceEditGroup(PageContext* pContext, int iCaption, int iEdit, int iSpin, int iPictureHolder, int iRow);
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

    // ---- services of the list, the panel and the commands
    // WM_DRAWITEM of the shortcut list: the row's picture and its name (two lines on printers
    // outside the large-format class when it does not fit).
    void VDrawShortcutItem(const DRAWITEMSTRUCT* pItem, HWND hList, CZQUILogic* pLogic);
    // A row picture from the plug-in's module (id 0: the default picture); the caller owns it.
    HBITMAP HLoadShortcutBitmap(UINT uId) const;
    // The text without its "&" mnemonics, in a new zero-filled local block the caller frees
    // (LocalFree); FALSE for a missing or empty text.
    static BOOL BStripMnemonics(PCWSTR pszText, PWSTR* ppszCopy);
    // The paper-source id of a tray of the printer's tray record; the printer's first paper
    // source for a tray the record does not hold.
    DWORD DWGetTrayBinId(PageContext* pContext, int iTray);
    // A form of that name (any kind, case-insensitive) on the printer.
    BOOL BFormExists(PageContext* pContext, PCWSTR pszName);
    // The alert window in the placeholder's place and the refresh button, when alerts are on;
    // TRUE when the refresh button got the alert icon.
    BOOL BCreateAlertStrip(HWND hDlg, PageContext* pContext);

    // ---- for the tests
    PCWSTR KeywordForTesting(int i) const;
    int FeatureSlotForTesting(int i) const { return m_anFeatureSlot[i]; }
    ShortcutBitmapArray& BitmapsForTesting() { return m_BitmapArray; }
    HBITMAP* RowBitmapsForTesting() { return m_ahBitmaps; }
    CZQAlertWnd* AlertWindowForTesting() const { return m_alerts.Window(); }
    // The panel's table as the list and panel will fill it (the page owns the entries).
    void VSetPanelEntriesForTesting(ShortcutPanelEntry** ppEntries, int nEntries) {
        m_ppEntries = ppEntries;
        m_nEntries = nEntries;
    }
    void VSetRunTimeIdsForTesting(int iEnd) { m_nNextCtrlId = m_nCtrlIdEnd = iEnd; }
    int NextCtrlIdForTesting() const { return m_nNextCtrlId; }
    int CtrlIdEndForTesting() const { return m_nCtrlIdEnd; }
    int AnchorForTesting() const { return m_nCtrlIdAnchor; }
    void VSetRightColumnForTesting(BOOL bRight) { m_bRightColumn = bRight; }
    PCWSTR DocTypeNameForTesting() const { return m_szDocTypeName; }
    PCWSTR BaseDocTypeForTesting() const { return m_szBaseDocType; }
    int EntryCountForTesting() const { return m_nEntries; }
    ShortcutPanelEntry* EntryForTesting(int i) const { return m_ppEntries && i >= 0 && i < m_nEntries ? m_ppEntries[i] : nullptr; }
    int DocTypeBitmapIdForTesting() const { return m_nDocTypeBitmapId; }
    int ShortcutBitmapIdForTesting() const { return m_nShortcutBitmapId; }
    BOOL StoredShortcutShownForTesting() const { return m_bStoredShortcutShown; }
    void VSetStoredShortcutShownForTesting(BOOL b) { m_bStoredShortcutShown = b; }
    void VSetCurrentNameForTesting(PCWSTR pszName) { ZQCopyText(m_szCurrentName, kTextChars, pszName); }
    PCWSTR CurrentNameForTesting() const { return m_szCurrentName; }
    PCWSTR CustomizedTextForTesting() const { return m_szCustomizedText; }
    BOOL RestrictedUserForTesting() const { return m_bRestrictedUser; }
    int ListedCountForTesting() const { return m_nListedCount; }
    int ListedCountWithUserForTesting() const { return m_nListedCountWithUser; }
    BOOL CustomChoiceAddedForTesting() const { return m_bCustomChoiceAdded; }
    void VSetReadFromControlsForTesting(BOOL b) { m_bReadFromControls = b; }
    BOOL SettingsDifferForTesting() const { return m_bSettingsDiffer; }
    const PreviewSettings& PreviewForTesting() const { return m_PreviewSettings; }

private:
    friend INT_PTR CALLBACK LargeFormatShortcutsPageDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);

    // ---- the dialog procedure's work (the context is the page's PageContext)
    BOOL BInitDialog(HWND hDlg, PageContext* pContext);
    void VOnPaint(HWND hDlg, PageContext* pContext);
    INT_PTR IOnDrawItem(const DRAWITEMSTRUCT* pDraw, PageContext* pContext);
    INT_PTR IOnMeasureItem(MEASUREITEMSTRUCT* pMeasure, PageContext* pContext);
    LRESULT IOnNotify(HWND hDlg, const NMHDR* pHeader, PageContext* pContext);
    void VOnSetActive(PageContext* pContext);
    void VOnKillActive(PageContext* pContext);
    LRESULT IOnApply(PageContext* pContext);
    void VOnHelp(HWND hTarget, bool bContextMenu, PageContext* pContext);
    void VOnDestroy();

    // ---- the commands (WM_COMMAND and WM_HSCROLL)
    void VOnCommand(WPARAM wParam, PageContext* pContext);
    void VOnQualitySlider(HWND hSlider, PageContext* pContext);
    void VOnSaveAs(PageContext* pContext);
    void VOnDelete(PageContext* pContext);
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
    // The first entry of that control; -1 without one.
    int IEntryOfControl(int iCtrlId) const;

    // ---- steps the messages share
    // The first row selected and its text taken for an empty, placeholder or default name.
    void VTakeFirstRowForPlaceholder(PageContext* pContext);
    void VSelectRow(PCWSTR pszText);
    void VRepaintPreviewButtons(BOOL bErase) const;
    void VDestroyRunTimeControls();
    // The store reads the page's list, buttons, keywords and slots.
    void VBindStore();
    // The picture of a bitmap id, loaded once for the page's life (id 0: the default picture).
    HBITMAP HRowBitmap(UINT uId);
    // A row's picture at the row's place among the pictures.
    void VPlaceRowBitmap(int iRow, HBITMAP hBitmap);
    // A stored shortcut from its value's data under its type's row (bOnlyNew: not when a row of its
    // name stands); TRUE when listed, FALSE for a value that is no shortcut.
    BOOL BInsertStoredRow(PCWSTR pszName, const BYTE* pData, DWORD cbData, BOOL bOnlyNew);
    void VListUserShortcuts(PageContext* pContext, HANDLE hPrinter, BOOL bListAll);
    // ---- the run-time controls' common steps
    // The control at the next id: a window of the shape's class kept (moved, its text renewed where
    // the shape says), any other replaced; put after the window of iAfterId. The id is taken also
    // when the window could not be made.
    int IMakeControl(HINSTANCE hInstance, HFONT hFont, const ControlShape& shape, PCWSTR pszText,
                     const ControlPlace& place, int iAfterId);
    // The string of the text id with the status module's colon.
    void VComposeCaption(int iTextId, PWSTR pszCaption);
    void VFinishRow(int iHolder, int iLastId);
    BOOL BCreateSingle(HINSTANCE hInstance, HFONT hFont, const ControlShape& shape, int iTextId, int iHolder,
                       int* piCtrlId);
    BOOL BCreatePair(HINSTANCE hInstance, HFONT hFont, const ControlShape& shape, int iTextId, int iHolder,
                     int* piSecondId, int* piCaptionId);
    BOOL BBuildNames(POPTITEM pItem, LONG** ppLabelIds, PWSTR* ppszKeywords, int nOptions, PCWSTR pszKeyword,
                     PageContext* pContext, PWSTR** pppszNames, int*** pppiFlags);

    // ---- the panel's and the handlers' common steps
    // The row's option text (256 characters): its control's when the page reads the controls and
    // the row has one, else its own choice's name.
    void VReadEntryText(int iEntry, int iCtrlId, PWSTR pszText) const;
    // The entry of that index, null outside the table.
    ShortcutPanelEntry* PEntry(int iEntry) const {
        return m_ppEntries && iEntry >= 0 && iEntry < m_nEntries ? m_ppEntries[iEntry] : nullptr;
    }
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
    // Step 7 of a build: a stored shortcut's recorded options and its quick set's values.
    void VShowStoredShortcut(PageContext* pContext);
    // One entry's control made and filled by its kind.
    void VMakeEntryControl(HMODULE hModule, HFONT hFont, PageContext* pContext, int iEntry);

    // ---- fields
    HWND m_hDlg = nullptr;
    HWND m_hwndHelp = nullptr;
    HWND m_hwndPreviewPortrait = nullptr, m_hwndPreviewLandscape = nullptr;
    HWND m_hwndShortcutList = nullptr;
    HWND m_hwndScalingEdit = nullptr, m_hwndCopiesEdit = nullptr;
    HWND m_hwndScalingLabel = nullptr, m_hwndCopiesLabel = nullptr;
    HWND m_hwndScalingSpin = nullptr, m_hwndCopiesSpin = nullptr;
    HWND m_hwndPreviewDimensions = nullptr, m_hwndPreviewDocSize = nullptr;
    HWND m_hwndShowPreview = nullptr;
    BOOL m_bScalingOnPanel = FALSE, m_bCopiesOnPanel = FALSE;
    BOOL m_bHasPrintingHelp = FALSE;
    int m_nNextCtrlId = kFirstRunTimeId;
    int m_nCtrlIdEnd = kFirstRunTimeId;
    int m_nCtrlIdAnchor = 956;  // the shortcut list: run-time controls follow it in the tab order
    BOOL m_bRightColumn = FALSE;
    BOOL m_bReadFromControls = TRUE;
    // The title and the sheet position are the base's (m_szTitle, m_iSheetPosition).
    PreviewSettings m_PreviewSettings = {};
    WCHAR m_szDocTypeName[kTextChars] = {};
    int m_nDocTypeBitmapId = 0;
    int m_nEntries = 0;
    int m_nShortcutBitmapId = 0;
    ShortcutPanelEntry** m_ppEntries = nullptr;
    WCHAR m_szCustomizedText[kTextChars] = {};
    BOOL m_bPanelChangedByUser = FALSE;
    int m_nListedCountWithUser = 0;
    // Stored shortcuts the list shows (the printer's and a restricted user's own).
    int m_nStoredRows = 0;
    int m_nListedCount;
    WCHAR m_szCurrentShortcutName[kTextChars];
    int m_anFeatureSlot[kFeatureSlots];
    BOOL m_bRestrictedUser = FALSE;
    HWND m_hwndTitle1 = nullptr, m_hwndTitle2 = nullptr;
    HWND m_hwndSaveAs = nullptr, m_hwndDelete = nullptr;
    HWND m_hwndPqSpeed, m_hwndPqQuality;
    int m_anDocTypeBitmapId[kRowBitmaps];
    HBITMAP m_ahBitmaps[kRowBitmaps] = {};
    // The bitmap id each slot of m_ahBitmaps holds (slot 0: the default picture).
    int m_anRowBitmapId[kRowBitmaps] = {};
    // The keyword set: the constructor clears only stapling and the two-sided options.
    WCHAR m_szKwInputBin[kTextChars], m_szKwStapling[kTextChars] = {}, m_szKwPaperSize[kTextChars],
        m_szKwOrientation[kTextChars], m_szOptPortrait[kTextChars], m_szOptLandscape[kTextChars],
        m_szKwGrayScale[kTextChars], m_szOptDuplexLong[kTextChars] = {}, m_szOptDuplexShort[kTextChars] = {};
    HWND m_hwndStaplingCombo = nullptr;
    WCHAR m_szBaseDocType[kTextChars] = {};
    ShortcutBitmapArray m_BitmapArray;
    WCHAR m_szStoredShortcutName[kTextChars] = {};
    WCHAR m_szCurrentName[kTextChars] = {};
    BOOL m_bStoredShortcutShown = FALSE;
    HANDLE m_hPrinter;
    BOOL m_bSettingsDiffer = FALSE;
    BOOL m_bCustomChoiceAdded = FALSE;
    // The alert strip: its window (the page's alert window) and the gate it registered with.
    CZQPageAlerts m_alerts;
    // The stored shortcuts with the name typed, the saved record, the replace flag and the locks.
    CZQShortcutStore m_store;
};
