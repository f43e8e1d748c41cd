// The panel's rows: the entries the page reads from the shortcut document, and their controls. The
// template only marks each row with a holder, so the rows' buttons, captions, lists and sliders are
// made (or kept from the previous build) while the page runs.
#include "pages/shortcuts/zqlargeformatpanelrows.h"

#include <commctrl.h>

#include <algorithm>
#include <climits>
#include <iterator>

#include "common/zqmodule.h"
#include "common/zqstrings.h"
#include "common/zquibase.h"
#include "pages/zqpagecontrols.h"
#include "res/zqshortcutsids.h"

namespace {

constexpr int kPreviewLandscapeId = 441;
constexpr int kColonId = 3994;
constexpr UINT kShowAfter = SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW;
constexpr UINT kMoveOnly = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
// A holder moved down two rows stands this many pixels above the place it takes.
constexpr int kHolderLift = 10;
// Between stacked rows and the control under them (dialog units).
constexpr int kRoomGapDlu = 3;

}  // namespace

struct CZQShortcutPanelRows::ControlShape {
    PCWSTR pszClass;
    DWORD dwStyle;
    PCWSTR pszCreationText;  // null: the composed text
    bool bRenewText;         // a kept window shows the new text
};

namespace {

using ControlShape = CZQShortcutPanelRows::ControlShape;
constexpr ControlShape kPushButton = {L"Button", 0x50010000, nullptr, true};
constexpr ControlShape kCheckBox = {L"Button", 0x50010003, nullptr, true};
constexpr ControlShape kCaption = {L"Static", 0x50000000, nullptr, true};
constexpr ControlShape kStaticText = {L"Static", 0x50000000, L"Static Text", false};
constexpr ControlShape kDropDown = {L"Combobox", 0x50210003, L"Combo Box", false};
constexpr ControlShape kSlider = {L"msctls_trackbar32", 0x50000000, L"Trackbar", false};

HWND Item(HWND hDlg, int id) { return hDlg ? GetDlgItem(hDlg, id) : nullptr; }

// A window's rectangle in the page's client coordinates, left of right also on a mirrored page.
bool PageRect(HWND hDlg, HWND hWnd, RECT* pRect) {
    if (!hWnd) return false;
    CZQUIBase::VGetChildRect(hDlg, hWnd, pRect, nullptr, nullptr);
    return true;
}

// A row's place: its control holder (the option's picture stands beside it), or, when the rows
// do without pictures, the holder with the picture's room.
bool RowRect(HWND hDlg, int iHolder, RECT* pRect, bool bPictureRoom = false) {
    if (!PageRect(hDlg, Item(hDlg, iHolder), pRect)) return false;
    RECT picture;
    if (bPictureRoom && PageRect(hDlg, Item(hDlg, iHolder - (IDC_DC_CTL_HOLDER1 - IDC_DC_BMP_HOLDER1)), &picture))
        pRect->left = picture.left < pRect->left ? picture.left : pRect->left;
    return true;
}

}  // namespace

HWND CZQShortcutPanelRows::Page() const { return m_controls.Page(); }

bool CZQShortcutPanelRows::BHolderRect(HWND hDlg, int iHolder, RECT* pRect) { return RowRect(hDlg, iHolder, pRect); }

namespace {

// The template's row holders, counted from the first: the first half stand in the left column.
int HolderCount(HWND hDlg) {
    int n = 0;
    while (n < CZQShortcutPanelRows::kRows && Item(hDlg, IDC_DC_CTL_HOLDER1 + n)) ++n;
    return n;
}

int RowPitch(HWND hDlg) {
    RECT first, second;
    if (!PageRect(hDlg, Item(hDlg, IDC_DC_CTL_HOLDER1), &first) ||
        !PageRect(hDlg, Item(hDlg, IDC_DC_CTL_HOLDER1 + 1), &second))
        return 0;
    return second.top - first.top;
}

bool IsShown(HWND hWnd) { return (GetWindowLongW(hWnd, GWL_STYLE) & WS_VISIBLE) != 0; }

}  // namespace

// As many rows as holders: each on its holder, as the template lays them out. More: the first half in
// the left column, the rest in the right, each column's rows on its holders and below its last one
// for now, until VFitRowsToPage stacks them.
bool CZQShortcutPanelRows::BWithoutPictures() const { return m_nPlannedRows > HolderCount(Page()); }

bool CZQShortcutPanelRows::BRowPlace(int iRow, RECT* pRect) const {
    const HWND page = Page();
    if (iRow < 0 || iRow >= kRows) return false;
    const int holders = HolderCount(page);
    const int rows = m_nPlannedRows > iRow ? m_nPlannedRows : iRow + 1;
    if (rows <= holders) return RowRect(page, IDC_DC_CTL_HOLDER1 + iRow, pRect);
    const int perColumn = holders / 2;
    if (perColumn < 2) return false;
    const int left = (rows + 1) / 2;
    const int column = iRow < left ? 0 : 1;
    const int index = column ? iRow - left : iRow;
    const int first = IDC_DC_CTL_HOLDER1 + column * perColumn;
    if (index < perColumn) return RowRect(page, first + index, pRect, true);
    if (!RowRect(page, first + perColumn - 1, pRect, true)) return false;
    OffsetRect(pRect, 0, RowPitch(page) * (index - perColumn + 1));
    return true;
}

void CZQShortcutPanelRows::VMoveRowHolders() const {
    const HWND page = Page();
    constexpr int kMoved = 6, kShift = 2;
    RECT rows[kMoved + kShift], pictures[kMoved + kShift];
    bool have[kMoved + kShift] = {}, picture[kMoved + kShift] = {};
    for (int k = 0; k < kMoved + kShift; ++k) {
        have[k] = PageRect(page, Item(page, IDC_DC_CTL_HOLDER1 + k), &rows[k]);
        picture[k] = PageRect(page, Item(page, IDC_DC_BMP_HOLDER1 + k), &pictures[k]);
    }
    const auto move = [page](int iId, const RECT& place, int iLift) {
        if (HWND window = Item(page, iId))
            MoveWindow(window, place.left, place.top - iLift, place.right - place.left, place.bottom - place.top, FALSE);
    };
    for (int k = 0; k < kMoved; ++k) {
        if (!have[k] || !have[k + kShift]) continue;
        move(IDC_DC_CTL_HOLDER1 + k, rows[k + kShift], kHolderLift);
        // The option's picture stays beside its row.
        if (picture[k] && picture[k + kShift]) move(IDC_DC_BMP_HOLDER1 + k, pictures[k + kShift], kHolderLift);
    }
    // The two holders whose places the first ones took go to the places those left, rows and pictures
    // otherwise standing over each other.
    for (int k = kMoved; k < kMoved + kShift; ++k) {
        const int freed = k - kMoved;
        if (!have[k] || !have[freed] || !have[freed + kShift]) continue;
        move(IDC_DC_CTL_HOLDER1 + k, rows[freed], 0);
        if (picture[k] && picture[freed]) move(IDC_DC_BMP_HOLDER1 + k, pictures[freed], 0);
    }
}

void CZQShortcutPanelRows::VNoteRow(int iRow, int iTop, int iFirst, int iSecond, int iThird) {
    if (iRow < 0 || iRow >= kRows) return;
    m_places[iRow] = {iTop, {iFirst, iSecond, iThird}};
}

bool CZQShortcutPanelRows::BIsRowControl(int iId) const {
    if (iId >= kFirstRunTimeId && iId < m_nCtrlIdEnd) return true;
    for (const RowPlace& place : m_places)
        if (iId && std::find(std::begin(place.ids), std::end(place.ids), iId) != std::end(place.ids)) return true;
    return false;
}

int CZQShortcutPanelRows::IRoomBottom(const RECT& column) const {
    const HWND page = Page();
    RECT gap = {0, 0, 0, kRoomGapDlu};
    MapDialogRect(page, &gap);
    int lowest = 0, blocker = INT_MAX;
    for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT rc;
        if (!IsShown(child) || BIsRowControl(GetDlgCtrlID(child)) || !PageRect(page, child, &rc)) continue;
        lowest = std::max(lowest, static_cast<int>(rc.bottom));
        if (rc.top >= column.top && rc.left < column.right && rc.right > column.left)
            blocker = std::min(blocker, static_cast<int>(rc.top - gap.bottom));
    }
    if (blocker != INT_MAX) return blocker;
    if (lowest > column.top) return lowest;
    RECT client = {};
    GetClientRect(page, &client);
    return client.bottom - gap.bottom;
}

// The column's rows one under the other from its top, the room left over shared evenly between
// them, never further apart than the template's rows.
void CZQShortcutPanelRows::VStackColumn(int iFirstRow, int iEndRow, const RECT& column, int iPitch) {
    const HWND page = Page();
    int heights[kRows] = {}, total = 0;
    for (int row = iFirstRow; row < iEndRow; ++row) {
        int bottom = m_places[row].top;
        for (int id : m_places[row].ids) {
            RECT rc;
            if (id && PageRect(page, Item(page, id), &rc)) bottom = std::max(bottom, static_cast<int>(rc.bottom));
        }
        heights[row] = bottom - m_places[row].top;
        total += heights[row];
    }
    const int count = iEndRow - iFirstRow;
    const int spare = IRoomBottom(column) - column.top - total;
    const int spacing = count > 1 && spare > 0 ? spare / (count - 1) : 0;
    int next = column.top, below = column.top;
    for (int row = iFirstRow; row < iEndRow; ++row) {
        const int top = std::max(below, std::min(next, static_cast<int>(column.top) + (row - iFirstRow) * iPitch));
        const int delta = top - m_places[row].top;
        for (int id : m_places[row].ids) {
            HWND control = Item(page, id);
            RECT rc;
            if (id && delta && PageRect(page, control, &rc))
                SetWindowPos(control, nullptr, rc.left, rc.top + delta, 0, 0, kMoveOnly);
        }
        m_places[row].top = top;
        below = top + heights[row];
        next = below + spacing;
    }
}

// The right edge the list's widest entry asks for, no further than the panel reaches.
int CZQShortcutPanelRows::IWantedRight(HWND hList, int iPanelRight) const {
    COMBOBOXINFO info = {};
    info.cbSize = sizeof info;
    RECT rc;
    if (!GetComboBoxInfo(hList, &info) || !PageRect(Page(), hList, &rc)) return 0;
    // The face leaves a little margin either side of the text.
    const int face = info.rcItem.right - info.rcItem.left - 2 * GetSystemMetrics(SM_CXEDGE);
    return std::min(iPanelRight, static_cast<int>(rc.right + CZQUIBase::LWidestComboEntry(hList) - face));
}

// Only into room beside it that no other shown control takes.
void CZQShortcutPanelRows::VWidenList(HWND hList, int iRight) const {
    const HWND page = Page();
    RECT rc, window, dropped = {};
    if (!PageRect(page, hList, &rc) || !GetWindowRect(hList, &window) || iRight <= rc.right) return;
    SendMessageW(hList, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    const RECT strip = {rc.right, rc.top, iRight, rc.bottom};
    for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT other, common;
        if (child != hList && IsShown(child) && PageRect(page, child, &other) && IntersectRect(&common, &strip, &other))
            return;
    }
    // The height a drop-down list is given counts its list.
    SetWindowPos(hList, nullptr, 0, 0, iRight - rc.left, std::max(dropped.bottom, window.bottom) - window.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CZQShortcutPanelRows::VFitRowsToPage() {
    const HWND page = Page();
    if (!page) return;
    const int holders = HolderCount(page), perColumn = holders / 2;
    int rows = m_nPlannedRows;
    for (int row = 0; row < kRows; ++row)
        if (m_places[row].ids[0]) rows = std::max(rows, row + 1);
    RECT column;
    if (rows > holders && perColumn >= 2) {
        const int left = (rows + 1) / 2, pitch = RowPitch(page);
        if (RowRect(page, IDC_DC_CTL_HOLDER1, &column, true)) VStackColumn(0, left, column, pitch);
        if (RowRect(page, IDC_DC_CTL_HOLDER1 + perColumn, &column, true)) VStackColumn(left, rows, column, pitch);
    }
    int panelRight = 0;
    for (int holder = 0; holder < holders; ++holder)
        if (RowRect(page, IDC_DC_CTL_HOLDER1 + holder, &column)) panelRight = std::max(panelRight, static_cast<int>(column.right));
    // The lists of a column keep one width: the widest any of them asks for.
    HWND lists[kRows] = {};
    int lefts[kRows] = {}, wanted[kRows] = {}, count = 0;
    for (const RowPlace& place : m_places)
        for (int id : place.ids) {
            HWND control = Item(page, id);
            WCHAR className[32] = {};
            if (count == kRows || !id || !control || !GetClassNameW(control, className, 32) || !ZQEqualNoCase(className, L"ComboBox") ||
                !PageRect(page, control, &column))
                continue;
            lists[count] = control;
            lefts[count] = column.left;
            wanted[count++] = IWantedRight(control, panelRight);
        }
    for (int i = 0; i < count; ++i) {
        int right = 0;
        for (int j = 0; j < count; ++j)
            if (lefts[j] == lefts[i]) right = std::max(right, wanted[j]);
        VWidenList(lists[i], right);
    }
}

int CZQShortcutPanelRows::IMakeControl(HINSTANCE hInstance, HFONT hFont, const ControlShape& shape,
                                             PCWSTR pszText, const ControlPlace& place, int iAfterId) {
    const int id = m_nNextCtrlId;
    const PCWSTR creationText = shape.pszCreationText ? shape.pszCreationText : pszText;
    HWND control = Item(Page(), id);
    if (control) {
        WCHAR className[260] = {};
        GetClassNameW(control, className, 260);
        if (ZQEqualNoCase(className, shape.pszClass)) {
            if (shape.bRenewText) SetWindowTextW(control, pszText);
            // A kept window may have served another row in the previous build.
            MoveWindow(control, place.x, place.y, place.cx, place.cy, FALSE);
        } else {
            DestroyWindow(control);
            control = nullptr;
        }
    }
    if (!control && Page())
        control = zqmodule::CreateWindowInModuleContext(0, shape.pszClass, creationText, shape.dwStyle, place.x,
                                                        place.y, place.cx, place.cy, Page(),
                                                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), hInstance,
                                                        nullptr);
    if (control) {
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), FALSE);
        if (&shape == &kSlider) SendMessageW(control, TBM_SETRANGE, TRUE, MAKELPARAM(0, 1));
        SetWindowPos(control, Item(Page(), iAfterId), 0, 0, 0, 0, kShowAfter);
    }
    m_nNextCtrlId = id + 1;
    if (m_nCtrlIdEnd < m_nNextCtrlId) m_nCtrlIdEnd = m_nNextCtrlId;
    return id;
}

void CZQShortcutPanelRows::VComposeCaption(int iTextId, PWSTR pszCaption) const {
    WCHAR text[kTextChars] = {}, colon[kTextChars] = {};
    m_texts.BLoadResString(iTextId, text);
    m_texts.VLoadText(kColonId, L":", colon);
    ZQFormatText(pszCaption, kTextChars, L"%ls%ls", text, colon);
}

void CZQShortcutPanelRows::VFinishRow(int iHolder, int iLastId) {
    if (HWND holder = Item(Page(), iHolder)) ShowWindow(holder, SW_HIDE);
    VSetAnchorId(iLastId);
}

BOOL CZQShortcutPanelRows::BCreateSingle(HINSTANCE hInstance, HFONT hFont, const ControlShape& shape,
                                               int iTextId, int iHolder, int* piCtrlId) {
    WCHAR text[kTextChars] = {};
    m_texts.BLoadResString(iTextId, text);
    RECT holder = {};
    if (!BRowPlace(iHolder - IDC_DC_CTL_HOLDER1, &holder)) {
        if (piCtrlId) *piCtrlId = 0;
        return TRUE;
    }
    const bool button = &shape == &kPushButton;
    const ControlPlace place = {holder.left, holder.top + (button ? 5 : 0), holder.right - holder.left,
                        button ? 25 : holder.bottom - holder.top};
    const int id = IMakeControl(hInstance, hFont, shape, text, place, m_nCtrlIdAnchor);
    if (piCtrlId) *piCtrlId = id;
    VNoteRow(iHolder - IDC_DC_CTL_HOLDER1, holder.top, id);
    VFinishRow(iHolder, id);
    return TRUE;
}

BOOL CZQShortcutPanelRows::BCreatePair(HINSTANCE hInstance, HFONT hFont, const ControlShape& shape,
                                             int iTextId, int iHolder, int* piSecondId, int* piCaptionId) {
    RECT holder = {};
    if (!BRowPlace(iHolder - IDC_DC_CTL_HOLDER1, &holder)) {
        if (piSecondId) *piSecondId = 0;
        if (piCaptionId) *piCaptionId = 0;
        return TRUE;
    }
    WCHAR caption[kTextChars] = {};
    VComposeCaption(iTextId, caption);
    const int width = holder.right - holder.left;
    const bool slider = &shape == &kSlider;
    const int captionId =
        IMakeControl(hInstance, hFont, kCaption, caption, {holder.left, holder.top, slider ? 200 : width, 14},
                     m_nCtrlIdAnchor);
    if (piCaptionId) *piCaptionId = captionId;
    // The second control stands under the caption as it now is (a missing caption: its would-be place).
    RECT top = {holder.left, holder.top, holder.left + width, holder.top + 14};
    PageRect(Page(), Item(Page(), captionId), &top);
    const int gap = &shape == &kStaticText ? 5 : 1;
    const int height = &shape == &kStaticText ? 20 : slider ? 30 : 200;
    const int secondId = IMakeControl(hInstance, hFont, shape, L"", {holder.left, top.bottom + gap, slider ? 200 : width, height},
                                      m_nNextCtrlId - 1);
    if (piSecondId) *piSecondId = secondId;
    VNoteRow(iHolder - IDC_DC_CTL_HOLDER1, holder.top, captionId, secondId);
    VFinishRow(iHolder, secondId);
    return TRUE;
}

BOOL CZQShortcutPanelRows::BCreatePushButton(HINSTANCE hInstance, HFONT hFont, int iTextId, int iHolder,
                                                   int* piCtrlId) {
    return BCreateSingle(hInstance, hFont, kPushButton, iTextId, iHolder, piCtrlId);
}

BOOL CZQShortcutPanelRows::BCreateCheckBox(HINSTANCE hInstance, HFONT hFont, int iTextId, int iHolder,
                                                 int* piCtrlId) {
    return BCreateSingle(hInstance, hFont, kCheckBox, iTextId, iHolder, piCtrlId);
}

BOOL CZQShortcutPanelRows::BCreateLabelAndText(HINSTANCE hInstance, HFONT hFont, int iTextId, int iHolder,
                                                     int* piTextCtrlId, int* piCaptionId) {
    return BCreatePair(hInstance, hFont, kStaticText, iTextId, iHolder, piTextCtrlId, piCaptionId);
}

BOOL CZQShortcutPanelRows::BCreateLabelAndCombo(HINSTANCE hInstance, HFONT hFont, int iTextId, int iHolder,
                                                      int* piListId, int* piCaptionId) {
    return BCreatePair(hInstance, hFont, kDropDown, iTextId, iHolder, piListId, piCaptionId);
}

BOOL CZQShortcutPanelRows::BCreateLabelAndSlider(HINSTANCE hInstance, HFONT hFont, int iTextId, int iHolder,
                                                       int* piSliderId, int* piCaptionId) {
    return BCreatePair(hInstance, hFont, kSlider, iTextId, iHolder, piSliderId, piCaptionId);
}

// In the right column every row goes straight after the landscape preview button; in the left one
// each row follows the row made before it, starting after the shortcut list.
void CZQShortcutPanelRows::VSetAnchorId(int iId) { m_nCtrlIdAnchor = m_bRightColumn ? kPreviewLandscapeId : iId; }

void CZQShortcutPanelRows::VPlaceEditGroup(int iCaption, int iEdit, int iSpin, int iPictureHolder, int iRow) {
    if (!Page() || iRow < 0 || iRow >= kRows) return;
    RECT rowPicture, rowHolder;
    HWND picture = Item(Page(), iPictureHolder);
    if (picture && !BWithoutPictures() && PageRect(Page(), Item(Page(), IDC_DC_BMP_HOLDER1 + iRow), &rowPicture))
        SetWindowPos(picture, nullptr, rowPicture.left, rowPicture.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
    else if (picture)
        ShowWindow(picture, SW_HIDE);
    if (!BRowPlace(iRow, &rowHolder)) return;
    HWND caption = Item(Page(), iCaption), edit = Item(Page(), iEdit), spin = Item(Page(), iSpin);
    RECT captionRect = {rowHolder.left, rowHolder.top, rowHolder.right, rowHolder.top + 14}, editRect = {};
    if (caption)
        SetWindowPos(caption, Item(Page(), m_nCtrlIdAnchor), rowHolder.left, rowHolder.top,
                     rowHolder.right - rowHolder.left, 14, SWP_SHOWWINDOW);
    PageRect(Page(), caption, &captionRect);
    if (edit) {
        SetWindowPos(edit, caption, captionRect.left, captionRect.bottom + 1, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
        PageRect(Page(), edit, &editRect);
    }
    if (spin && edit) SetWindowPos(spin, edit, editRect.right - 2, editRect.top, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    VNoteRow(iRow, rowHolder.top, iCaption, iEdit, iSpin);
    VSetAnchorId(iSpin);
}

void CZQShortcutPanelRows::VDropTable() {
    LocalFree(m_ppEntries);
    m_ppEntries = nullptr;
    m_nEntries = 0;
    m_type = DocType();
}

int CZQShortcutPanelRows::IEntryPictureId(const ShortcutPanelEntry& entry, PCWSTR pszPaperKeyword,
                                                WORD wOrientation) {
    const int selected = entry.iSelected;
    if (selected < 0 || selected >= entry.nOptions || !entry.ppiOptionBitmapIds || !entry.ppiOptionBitmapIds[selected])
        return 0;
    const int bitmap = *entry.ppiOptionBitmapIds[selected];
    // The paper's picture turns with the document.
    if (!pszPaperKeyword || !ZQEqualNoCase(entry.szKeyword, pszPaperKeyword)) return bitmap;
    if (bitmap == IDB_PAPER_PORTRAIT && wOrientation == 2) return IDB_PAPER_LANDSCAPE;
    if (bitmap == IDB_PAPER_LANDSCAPE && wOrientation == 1) return IDB_PAPER_PORTRAIT;
    return bitmap;
}

// The controls the panel made; the page window may be gone already, with them.
void CZQShortcutPanelRows::VDestroyControls() {
    const HWND page = Page();
    if (page && IsWindow(page))
        for (int id = kFirstRunTimeId; id < m_nCtrlIdEnd; ++id)
            if (HWND control = GetDlgItem(page, id)) DestroyWindow(control);
    m_nNextCtrlId = m_nCtrlIdEnd = kFirstRunTimeId;
}

int CZQShortcutPanelRows::IEntryOfControl(int iCtrlId) const {
    for (int i = 0; iCtrlId && m_ppEntries && i < m_nEntries; ++i)
        if (m_ppEntries[i] && m_ppEntries[i]->iCtrlId == iCtrlId) return i;
    return -1;
}

BOOL CZQShortcutPanelRows::BTakeEntries(ShortcutPanelEntry** ppEntries, int nEntries) {
    if (m_ppEntries) return FALSE;
    m_ppEntries = ppEntries;
    m_nEntries = ppEntries && nEntries > 0 ? nEntries : 0;
    return TRUE;
}

void CZQShortcutPanelRows::VStartBuild(int iAnchorId) {
    m_nPlannedRows = 0;
    std::fill(std::begin(m_places), std::end(m_places), RowPlace());
    m_nNextCtrlId = kFirstRunTimeId;
    m_nCtrlIdAnchor = iAnchorId;
}

void CZQShortcutPanelRows::VHideUnused() const {
    for (int id = m_nNextCtrlId; id < m_nCtrlIdEnd; ++id) ShowWindow(Item(Page(), id), SW_HIDE);
}
