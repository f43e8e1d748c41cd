// CZQShortcutsTab: the Printing Shortcuts page of desktop printers. The user picks a document type of
// the helper file ("What do you want to do?"); the settings go back to the factory quick set and take
// the type's features, each shown as a control made at run time beside its option's picture. When
// the settings leave the type (here or on another page) the page shows "Custom Print Settings".
// The page procedure finds the page through its PageContext, kept as the window's DWLP_USER data.
#pragma once

#include "pages/zqpagebase.h"
#include "pages/zqpages.h"
#include "preview/zqpreviewsettings.h"

struct IXMLDOMNode;

// One feature of the chosen document type. Every block comes zero-filled from the local heap and the
// page frees it (VFreeFeatureTable).
struct DocFeatureRecord {
    static constexpr size_t kTextChars = 256;
    WCHAR szKeyword[kTextChars];
    int iKind;            // 0 list with label, 1 check box, 2 push button, 5 number field; 6 once freed
    int iCtrlId;          // the run-time control (651/655 for Scaling/Copies)
    int iLabelId;         // a list's label (610/608 for Scaling/Copies)
    int iPictureHolderId; // the row's picture holder (653/657 for Scaling/Copies)
    int iLabelStringId;
    int iHelpId;
    WCHAR szHidden[kTextChars];  // kept, not acted on
    int nOptions;
    int iSelected;
    PWSTR* ppszOptionKeywords;
    PWSTR* ppszOptionNames;
    int** ppiOptionPictures;
    int** ppiOptionHidden;  // 1: the option is not offered
};

class CZQShortcutsTab : public CZQPageBase {
public:
    static constexpr int kTitleId = 4255;
    static constexpr int kPageId = 9;
    static constexpr int kFirstRunTimeId = 500;
    static constexpr int kMaxFeatures = 10;
    static constexpr size_t kTextChars = 256;
    // The help table: the page's ten fixed rows, up to five rows per feature, the logo and the end.
    static constexpr int kHelpPairs = 10 + 5 * kMaxFeatures + 2;
    enum : int { kKindList = 0, kKindCheck = 1, kKindButton = 2, kKindNumber = 5, kKindFreed = 6 };

    CZQShortcutsTab();
    ~CZQShortcutsTab() override;
    CZQShortcutsTab(const CZQShortcutsTab&) = delete;
    CZQShortcutsTab& operator=(const CZQShortcutsTab&) = delete;

    // ---- the page
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
    BOOL BSettingsDifferFromDocType(PageContext* pContext);
    // The help table of the page as it stands now; its pairs (the end pair not counted).
    int VBuildHelpIdTable(PageContext* pContext);
    void VFreeFeatureTable();
    // While the sheet is built, before the window exists: the private devmode names the first type
    // when the settings match it, else the custom settings.
    void VDetectCurrentShortcut(PageContext* pContext);

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
    BOOL BFindFeatureRecord(PCWSTR pszKeyword, int* piIndex) const;
    BOOL BSelectRecordOptionByName(PCWSTR pszKeyword, PCWSTR pszName, PageContext* pContext);
    static int IFindDriverOptionByName(PageContext* pContext, PCWSTR pszKeyword, BYTE bPubId, PCWSTR pszName);
    DWORD DWGetTrayId(PageContext* pContext, int iIndex);
    void VResetToFactoryBase(HWND hDlg, PageContext* pContext);
    void VFillPreviewSettings(PageContext* pContext);
    void VRepaintPaperSizePicture(PageContext* pContext);
    void VSyncOrientationRecord(PageContext* pContext);
    void VSetTabAnchor(int iId);
    void VSetupEditField(PageContext* pContext, DocFeatureRecord* pRecord, int iRow, BOOL bApply, HFONT hFont);
    void VPlaceEditGroup(int iHolder, int iLabel, int iEdit, int iSpin, int iRow);

    // ---- for the tests
    int FeatureCountForTesting() const { return m_nFeatures; }
    DocFeatureRecord* RecordForTesting(int i) const { return i >= 0 && i < m_nFeatures ? m_ppFeatures[i] : nullptr; }
    PCWSTR DocTypeNameForTesting() const { return m_szDocTypeName; }
    int DocTypePictureForTesting() const { return m_nDocTypePicture; }
    int NextCtrlIdForTesting() const { return m_nNextCtrlId; }
    BOOL ScalingShownForTesting() const { return m_bScalingShown; }
    BOOL CopiesShownForTesting() const { return m_bCopiesShown; }
    const DWORD* HelpTableForTesting() const { return m_adwHelp; }
    void VSetControlsLiveForTesting(BOOL bLive) { m_bControlsLive = bLive; }

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
    void VDestroyRunTimeControls();
    void VRepaintPreview(BOOL bErase) const;
    int IRecordOfControl(int iCtrlId) const;
    // The text a list handler works with: the combo's selection while the controls are live, else
    // the record's selected option's name.
    BOOL BChosenText(const DocFeatureRecord& record, PWSTR pszText) const;
    int IChosenPosition(PageContext* pContext, const DocFeatureRecord& record);
    // The selected option's keyword ("" when none).
    static PCWSTR SelectedKeyword(const DocFeatureRecord& record);
    int IMakeControl(HINSTANCE hModule, HFONT hFont, PCWSTR pszClass, PCWSTR pszText, DWORD dwStyle,
                     const RECT& place);
    BOOL BHolderRect(int iRow, RECT* pRect) const;
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

    // ---- fields
    HWND m_hDlg = nullptr;
    HWND m_hwndHelp = nullptr;
    HWND m_hwndPreviewPortrait = nullptr, m_hwndPreviewLandscape = nullptr;
    HWND m_hwndDocTypeCombo = nullptr;
    HWND m_hwndScalingEdit = nullptr, m_hwndCopiesEdit = nullptr;
    HWND m_hwndScalingLabel = nullptr, m_hwndCopiesLabel = nullptr;
    HWND m_hwndScalingSpin = nullptr, m_hwndCopiesSpin = nullptr;
    HWND m_hwndDimensions = nullptr;
    BOOL m_bScalingShown = FALSE, m_bCopiesShown = FALSE;
    BOOL m_bHasPrintingHelp = FALSE;
    int m_nNextCtrlId = kFirstRunTimeId;
    int m_nTabAnchor = 572;
    BOOL m_bRightColumn = FALSE;
    BOOL m_bControlsLive = TRUE;
    // The title and the sheet position are the base's (m_szTitle, m_iSheetPosition).
    PreviewSettings m_PreviewSettings = {};
    WCHAR m_szDocTypeName[kTextChars] = {};
    int m_nDocTypePicture = 0;
    int m_nFeatures = 0;
    DocFeatureRecord** m_ppFeatures = nullptr;
    WCHAR m_szCustomText[kTextChars] = {};
    DWORD m_adwHelp[2 * kHelpPairs] = {};
};

inline constexpr auto& ShortcutsPageDlgProc = ZQPageShell::Proc<CZQShortcutsTab>;
