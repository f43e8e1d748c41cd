// The feature rows of the desktop Printing Shortcuts page: the chosen document type's features read
// from the helper file (the part owns their blocks) with the type's name and picture, and the
// controls made for them at run time on the template's row holders, in the tab order of their
// column. The page makes the part with its controls table.
#pragma once

#include <windows.h>

class CZQPageControls;

// One feature of the chosen document type. Every block comes zero-filled from the local heap and the
// rows free it (VFree).
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

class CZQDesktopFeatureRows {
public:
    static constexpr size_t kTextChars = 256;
    static constexpr int kFirstRunTimeId = 500;
    static constexpr int kMaxFeatures = 10;
    enum : int { kKindList = 0, kKindCheck = 1, kKindButton = 2, kKindNumber = 5, kKindFreed = 6 };

    explicit CZQDesktopFeatureRows(const CZQPageControls& controls) : m_controls(controls) {}
    ~CZQDesktopFeatureRows() { VDropTable(); }
    CZQDesktopFeatureRows(const CZQDesktopFeatureRows&) = delete;
    CZQDesktopFeatureRows& operator=(const CZQDesktopFeatureRows&) = delete;

    // ---- the records (the page frees them, then drops the table)
    // A zero-filled table of that many records (one to kMaxFeatures) for the type being read. FALSE
    // without memory, or while the page has not freed the previous table.
    BOOL BNewTable(int nFeatures);
    // The table, its records freed already, goes; the type's name and picture are cleared.
    void VDropTable();
    int Count() const { return m_nFeatures; }
    DocFeatureRecord* PRecord(int i) const { return m_ppFeatures && i >= 0 && i < m_nFeatures ? m_ppFeatures[i] : nullptr; }
    // The table's slot of a record being read.
    DocFeatureRecord*& Slot(int i) { return m_ppFeatures[i]; }
    PWSTR DocTypeName() { return m_szDocTypeName; }
    PCWSTR DocTypeName() const { return m_szDocTypeName; }
    int& DocTypePicture() { return m_nDocTypePicture; }
    // The record of that control; -1 without one.
    int IRecordOfControl(int iCtrlId) const;

    // ---- the run-time controls
    int NextId() const { return m_nNextCtrlId; }
    int Anchor() const { return m_nTabAnchor; }
    void VSetRightColumn(BOOL bRight) { m_bRightColumn = bRight; }
    // The controls made so far destroyed (the page window may be gone already, with them); ids from
    // kFirstRunTimeId again.
    void VDestroyControls();
    // The same, the first row after that control in the tab order.
    void VStartBuild(int iAnchorId) {
        VDestroyControls();
        m_nTabAnchor = iAnchorId;
    }
    // The window went, with the controls: ids from kFirstRunTimeId again.
    void VForgetControls() { m_nNextCtrlId = kFirstRunTimeId; }
    // In the right column every row goes straight after the landscape preview button; in the left
    // one each row follows the row made before it.
    void VSetTabAnchor(int iId);
    // A run-time control at the next id, after the anchor in the tab order; its id (the id is taken
    // also when the window could not be made).
    int IMakeControl(HINSTANCE hModule, HFONT hFont, PCWSTR pszClass, PCWSTR pszText, DWORD dwStyle, const RECT& place);
    // The row holder's rectangle on the page.
    BOOL BHolderRect(int iRow, RECT* pRect) const;

private:
    HWND Page() const;

    const CZQPageControls& m_controls;
    DocFeatureRecord** m_ppFeatures = nullptr;
    int m_nFeatures = 0;
    WCHAR m_szDocTypeName[kTextChars] = {};
    int m_nDocTypePicture = 0;
    int m_nNextCtrlId = kFirstRunTimeId;
    int m_nTabAnchor = 572;  // the document-type list: run-time controls follow it in the tab order
    BOOL m_bRightColumn = FALSE;
};
