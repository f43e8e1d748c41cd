// The rows of the large-format Printing Shortcuts page's panel: the entries of the chosen document
// type or stored shortcut (the part owns their blocks) with the type's name and pictures, and the
// controls made for them at run time on the template's row holders, with their shapes, places and
// tab order. The page makes the part with its controls table and the object that loads its texts.
#pragma once

#include "pages/shortcuts/zqlargeformattypes.h"

class CZQPageControls;
class CZQUIBase;

class CZQShortcutPanelRows {
public:
    static constexpr size_t kTextChars = 256;
    // Ids of the controls the panel makes at run time start here.
    static constexpr int kFirstRunTimeId = 500;
    static constexpr int kRows = 10;
    // Control kinds of the panel's rows.
    enum : int { kKindList = 0, kKindCheck = 1, kKindButton = 2, kKindEdit = 5, kKindText = 7, kKindFixed = 8,
                 kKindSlider = 9 };
    // The document type the entries were read from: its name and the pictures of its row and of a
    // shortcut stored under it.
    struct DocType {
        WCHAR szName[kTextChars] = {};
        int iBitmapId = 0;
        int iShortcutBitmapId = 0;
    };
    // A control's class, style and text at creation; its place on the page.
    struct ControlShape;
    struct ControlPlace {
        int x, y, cx, cy;
    };

    CZQShortcutPanelRows(const CZQPageControls& controls, CZQUIBase& texts) : m_controls(controls), m_texts(texts) {}
    ~CZQShortcutPanelRows() { VDropTable(); }
    CZQShortcutPanelRows(const CZQShortcutPanelRows&) = delete;
    CZQShortcutPanelRows& operator=(const CZQShortcutPanelRows&) = delete;

    // ---- the entries (the page frees them, then drops the table)
    // The table (of zero-filled local blocks) becomes the panel's; FALSE, and the caller keeps it,
    // while the page has not freed the previous one.
    BOOL BTakeEntries(ShortcutPanelEntry** ppEntries, int nEntries);
    // The table, its entries freed already, goes; the document type's name and pictures cleared.
    void VDropTable();
    int Count() const { return m_nEntries; }
    // The entry of that index, null outside the table.
    ShortcutPanelEntry* PEntry(int iEntry) const {
        return m_ppEntries && iEntry >= 0 && iEntry < m_nEntries ? m_ppEntries[iEntry] : nullptr;
    }
    DocType& Type() { return m_type; }
    const DocType& Type() const { return m_type; }
    // The first entry of that control; -1 without one.
    int IEntryOfControl(int iCtrlId) const;
    // The picture of a row's selected option (0: none); the paper's picture follows the document's
    // orientation (1 portrait, 2 landscape).
    static int IEntryPictureId(const ShortcutPanelEntry& entry, PCWSTR pszPaperKeyword, WORD wOrientation);

    // ---- the run-time controls
    // A new build: ids from kFirstRunTimeId again, the first row after that control in the tab order.
    void VStartBuild(int iAnchorId);
    // The number of rows the build will make. More rows than the template has holders share its two
    // columns, the first half on the left, and are stacked to fit the page (VFitRowsToPage).
    void VPlanRows(int nRows) { m_nPlannedRows = nRows; }
    // More rows than the template has holders: the rows take the pictures' room and show none.
    bool BWithoutPictures() const;
    // The rows made next stand in the right column.
    void VSetRightColumn(BOOL bRight) { m_bRightColumn = bRight; }
    int NextId() const { return m_nNextCtrlId; }
    int EndId() const { return m_nCtrlIdEnd; }
    int Anchor() const { return m_nCtrlIdAnchor; }
    // In the right column every row goes straight after the landscape preview button; in the left
    // one each row follows the row made before it.
    void VSetAnchorId(int iId);
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
    // A template's edit group (caption, edit, spin) moved into the row, its picture into the row's.
    void VPlaceEditGroup(int iCaption, int iEdit, int iSpin, int iPictureHolder, int iRow);
    // Row holders 1 to 6 moved, without repainting, onto the places of holders 3 to 8 (a little
    // higher), each with its picture; holders 7 and 8 take the two places left at the top.
    void VMoveRowHolders() const;
    // The controls an earlier, larger build made and this one did not, hidden.
    void VHideUnused() const;
    // The controls every build made; the page window may be gone already, with them.
    void VDestroyControls();
    // After the build: rows beyond the template's holders stacked within their column's room; a list
    // whose entries need more than its face widened into free room beside it.
    void VFitRowsToPage();
    // The template holder's rectangle on the page, with the room of the picture beside it; a holder
    // the template lacks, none.
    static bool BHolderRect(HWND hDlg, int iHolder, RECT* pRect);
    // The string of the text id with the status module's colon.
    void VComposeCaption(int iTextId, PWSTR pszCaption) const;

private:
    // The controls a row was given and where its place starts.
    struct RowPlace {
        int top = 0;
        int ids[3] = {};
    };
    HWND Page() const;
    // A row's place under the plan: the template's holder, or a place in its column beyond them.
    bool BRowPlace(int iRow, RECT* pRect) const;
    void VNoteRow(int iRow, int iTop, int iFirst, int iSecond = 0, int iThird = 0);
    bool BIsRowControl(int iId) const;
    // How far down rows in that column may reach: above the first shown control under them, else
    // to the lowest control of the page.
    int IRoomBottom(const RECT& column) const;
    void VStackColumn(int iFirstRow, int iEndRow, const RECT& column, int iPitch);
    int IWantedRight(HWND hList, int iPanelRight) const;
    void VWidenList(HWND hList, int iRight) const;
    int IMakeControl(HINSTANCE hInstance, HFONT hFont, const ControlShape& shape, PCWSTR pszText,
                     const ControlPlace& place, int iAfterId);
    void VFinishRow(int iHolder, int iLastId);
    BOOL BCreateSingle(HINSTANCE hInstance, HFONT hFont, const ControlShape& shape, int iTextId, int iHolder,
                       int* piCtrlId);
    BOOL BCreatePair(HINSTANCE hInstance, HFONT hFont, const ControlShape& shape, int iTextId, int iHolder,
                     int* piSecondId, int* piCaptionId);

    const CZQPageControls& m_controls;
    CZQUIBase& m_texts;
    ShortcutPanelEntry** m_ppEntries = nullptr;
    int m_nEntries = 0;
    DocType m_type;
    int m_nNextCtrlId = kFirstRunTimeId;
    int m_nCtrlIdEnd = kFirstRunTimeId;
    int m_nCtrlIdAnchor = 956;  // the shortcut list: run-time controls follow it in the tab order
    BOOL m_bRightColumn = FALSE;
    int m_nPlannedRows = 0;
    RowPlace m_places[kRows];
};
