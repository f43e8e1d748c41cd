// CZQShortcutsTab: the Printing Shortcuts page of desktop printers. The user picks a document type of
// the helper file ("What do you want to do?"); the settings go back to the factory quick set and take
// the type's features, each shown as a control made at run time beside its option's picture. When
// the settings leave the type (here or on another page) the page shows "Custom Print Settings".
// The page procedure finds the page through its PageContext, kept as the window's DWLP_USER data.
// Its controls are a CZQPageControls table, its scalars sit in ZQDesktopShortcutsState, the type's
// features and their run-time controls are a CZQDesktopFeatureRows.
#pragma once

#include "pages/shortcuts/zqdesktoprows.h"
#include "pages/zqpagebase.h"
#include "pages/zqpagecontrols.h"
#include "pages/zqpages.h"
#include "preview/zqpreviewsettings.h"

struct IXMLDOMNode;

// What the page keeps between its windows besides its controls and its feature rows.
struct ZQDesktopShortcutsState {
    static constexpr size_t kTextChars = 256;
    // The template's Scaling and Copies groups stand in a row.
    BOOL bScalingShown = FALSE, bCopiesShown = FALSE;
    BOOL bHasPrintingHelp = FALSE;
    // The handlers read the rows' controls (else the records' own choices).
    BOOL bControlsLive = TRUE;
    // "Custom Print Settings" in the user's language.
    WCHAR szCustomText[kTextChars] = {};
};

class CZQShortcutsTab : public CZQPageBase {
public:
    static constexpr int kTitleId = 4255;
    static constexpr int kPageId = 9;
    using Rows = CZQDesktopFeatureRows;
    static constexpr int kFirstRunTimeId = Rows::kFirstRunTimeId;
    static constexpr int kMaxFeatures = Rows::kMaxFeatures;
    static constexpr size_t kTextChars = 256;
    // The help table: the page's ten fixed rows, up to five rows per feature, the logo and the end.
    static constexpr int kHelpPairs = 10 + 5 * kMaxFeatures + 2;

    CZQShortcutsTab();
    ~CZQShortcutsTab() override;
    CZQShortcutsTab(const CZQShortcutsTab&) = delete;
    CZQShortcutsTab& operator=(const CZQShortcutsTab&) = delete;

    // ---- the page
    // The page's window; the Paper/Quality page's image-enhancement dialog gets this page's
    // parameters and texts, since this page opens it too.
    void VGetControlHandles(HWND hDlg, PageContext* pContext);
    void VSetControlTexts();
    void VFillDocTypeCombo(PageContext* pContext, BOOL bFirstTime);
    // The combo's type: the table freed, its name kept, its node (the caller releases it).
    BOOL BFindSelectedDocType(PageContext* pContext, IXMLDOMNode** ppNode);
    // The type's picture and features (one to ten); TRUE when a feature was read.
    BOOL BReadDocFeatures(IXMLDOMNode* pNode, PageContext* pContext);
    void VRestoreSavedSelections(PageContext* pContext);
    void VShowStaticControls(PageContext* pContext);
    void VShowCustomSettings(PageContext* pContext);
    void VUpdateChangedState(PageContext* pContext);
    DWORD DWStoreSelections(PageContext* pContext);
    // The settings no longer hold the type the rows read (the one comparison of zqdoctypematch.h).
    BOOL BSettingsDifferFromDocType(PageContext* pContext);
    // The help table of the page as it stands now; its pairs (the end pair not counted).
    int VBuildHelpIdTable(PageContext* pContext);
    // While the sheet is built, before the window exists: the private devmode names the first type
    // when the settings match it, else the custom settings.
    void VDetectCurrentShortcut(PageContext* pContext);
    // Every record freed (its options, their pictures and flags), then the table; the type's name
    // and picture cleared.
    void VFreeFeatureTable();

    // ---- the feature controls
    static int IGetControlKind(PCWSTR pszKeyword);
    void VBuildFeatureControls(HINSTANCE hModule, PageContext* pContext, BOOL bApply);
    void VApplyFeature(PageContext* pContext, int iRecord);
    BOOL BFindFeatureItem(PageContext* pContext, PCWSTR pszKeyword, POPTITEM* ppItem) const;
    BOOL BBuildOptionNamesFromDriver(PageContext* pContext, DocFeatureRecord* pRecord, LONG** ppLabelIds);
    BOOL BBuildOptionNamesFromResources(DocFeatureRecord* pRecord, LONG** ppLabelIds);
    int IFillFeatureCombo(PageContext* pContext, const DocFeatureRecord& record, int iCtrlId);
    int IFillInputBinCombo(PageContext* pContext, const DocFeatureRecord& record, int iCtrlId);
    void VFillDuplexCombo(PageContext* pContext, DocFeatureRecord* pRecord, int iCtrlId);
    static int IFindDriverOptionByName(PageContext* pContext, PCWSTR pszKeyword, BYTE bPubId, PCWSTR pszName);
    DWORD DWGetTrayId(PageContext* pContext, int iIndex);
    void VResetToFactoryBase(HWND hDlg, PageContext* pContext);
    void VFillPreviewSettings(PageContext* pContext);
    void VRepaintPaperSizePicture(PageContext* pContext);
    void VSyncOrientationRecord(PageContext* pContext);
    // The first record of the keyword (without regard to case) and its index.
    BOOL BFindFeatureRecord(PCWSTR pszKeyword, int* piIndex) const;
    // The record's first option of that display name (without regard to case) becomes its selected
    // one; without such an option nothing changes.
    BOOL BSelectRecordOptionByName(PCWSTR pszKeyword, PCWSTR pszName, PageContext* pContext);
    void VSetupEditField(PageContext* pContext, DocFeatureRecord* pRecord, int iRow, BOOL bApply, HFONT hFont);
    void VPlaceEditGroup(int iHolder, int iLabel, int iEdit, int iSpin, int iRow);

    // ---- for the tests: the parts and records behind the page's routines
    ZQDesktopShortcutsState& StateForTesting() { return m_state; }
    CZQDesktopFeatureRows& RowsForTesting() { return m_rows; }
    const DWORD* HelpTableForTesting() const { return m_adwHelp; }
    const PreviewSettings& PreviewRecordForTesting() const { return m_PreviewSettings; }

private:
    friend class ZQPageShell;

    // ---- the page procedure's work
    static constexpr bool kPreviewCursor = true;
    BOOL BInitDialog(HWND hDlg, PageContext* pContext);
    // The window takes its run-time controls with it.
    void VOnDestroy();
    // Painting and owner drawing.
    INT_PTR IOnMessage(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam, PageContext* pContext);
    void VOnPaint(HWND hDlg, PageContext* pContext);
    INT_PTR IOnDrawItem(const DRAWITEMSTRUCT* pDraw, PageContext* pContext);
    LRESULT IOnNotify(HWND hDlg, const NMHDR* pHeader, PageContext* pContext);
    LRESULT IOnApply(PageContext* pContext);
    // Every command is answered TRUE.
    INT_PTR IOnCommand(HWND hDlg, int iCtrlId, int iCode, HWND hCtrl, PageContext* pContext);
    void VOnCommand(HWND hDlg, WPARAM wParam, LPARAM lParam, PageContext* pContext);
    void VOnHelp(HWND hTarget, UINT uCommand, PageContext* pContext);
    void VOnDocTypeChosen(HWND hDlg, PageContext* pContext);
    void VOnPreviewClicked(PageContext* pContext);
    void VOnRunTimeControl(HWND hDlg, int iCtrlId, int iCode, PageContext* pContext);

    // ---- steps the messages and handlers share
    void VRepaintPreview(BOOL bErase) const;
    // The text a list handler works with: the combo's selection while the controls are live, else
    // the record's selected option's name.
    BOOL BChosenText(const DocFeatureRecord& record, PWSTR pszText) const;
    int IChosenPosition(PageContext* pContext, const DocFeatureRecord& record);
    // The selected option's keyword ("" when none).
    static PCWSTR SelectedKeyword(const DocFeatureRecord& record);
    void VBuildRecordControl(HINSTANCE hModule, HFONT hFont, PageContext* pContext, int iRecord, BOOL bApply);
    BOOL BApplyInputBin(PageContext* pContext, DocFeatureRecord& record);
    BOOL BApplyMediaType(PageContext* pContext, DocFeatureRecord& record);
    BOOL BApplyPaperSize(PageContext* pContext, DocFeatureRecord& record);
    BOOL BApplyPrintQuality(PageContext* pContext, DocFeatureRecord& record);
    BOOL BApplyOrientation(PageContext* pContext, DocFeatureRecord& record);
    BOOL BApplyGrayscale(PageContext* pContext, DocFeatureRecord& record);
    BOOL BApplyDuplex(PageContext* pContext, DocFeatureRecord& record);
    BOOL BApplyPagesPerSheet(PageContext* pContext, DocFeatureRecord& record);
    BOOL BApplyPosterPrinting(PageContext* pContext, DocFeatureRecord& record);
    BOOL BApplyBorderlessAutoFit(PageContext* pContext, DocFeatureRecord& record);
    BOOL BApplyCopiesCollate(PageContext* pContext, DocFeatureRecord& record, BOOL bEditing);
    BOOL BApplyScaling(PageContext* pContext, DocFeatureRecord& record, BOOL bEditing);
    void VEnablePhotoButton(PageContext* pContext);

    HWND Ctl(int iCtrlId) const { return m_controls.Item(iCtrlId); }

    // ---- fields
    CZQPageControls m_controls{nullptr, 0};
    ZQDesktopShortcutsState m_state;
    CZQDesktopFeatureRows m_rows{m_controls};
    // The title and the sheet position are the base's (m_szTitle, m_iSheetPosition).
    PreviewSettings m_PreviewSettings = {};
    // The help table as VBuildHelpIdTable last built it.
    DWORD m_adwHelp[2 * kHelpPairs] = {};
};

inline constexpr auto& ShortcutsPageDlgProc = ZQPageShell::Proc<CZQShortcutsTab>;
