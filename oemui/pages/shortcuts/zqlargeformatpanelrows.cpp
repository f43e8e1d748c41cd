// The panel's rows: the entries the page reads from the shortcut document, and their controls. The
// template only marks each row with a holder, so the rows' buttons, captions, lists and sliders are
// made (or kept from the previous build) while the page runs.
#include "pages/shortcuts/zqlargeformatpanelrows.h"

#include <commctrl.h>

#include "common/zqmodule.h"
#include "common/zqstrings.h"
#include "common/zquibase.h"
#include "pages/zqpagecontrols.h"
#include "res/zqshortcutsids.h"

namespace {

constexpr int kPreviewLandscapeId = 441;
constexpr int kColonId = 3994;
constexpr UINT kShowAfter = SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW;

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

// A row's place: its control holder and the picture holder beside it, which this page never shows.
bool RowRect(HWND hDlg, int iHolder, RECT* pRect) {
    if (!PageRect(hDlg, Item(hDlg, iHolder), pRect)) return false;
    RECT picture;
    if (PageRect(hDlg, Item(hDlg, iHolder - (IDC_DC_CTL_HOLDER1 - IDC_DC_BMP_HOLDER1)), &picture))
        pRect->left = picture.left < pRect->left ? picture.left : pRect->left;
    return true;
}

}  // namespace

HWND CZQShortcutPanelRows::Page() const { return m_controls.Page(); }

// The holder's rectangle on the page. A template without that holder (the simplified one has eight
// rows) gives the row below the last holder it has, one row pitch further down; no holder at all,
// no place.
bool CZQShortcutPanelRows::BHolderRect(HWND hDlg, int iHolder, RECT* pRect) {
    if (RowRect(hDlg, iHolder, pRect)) return true;
    const int row = iHolder - IDC_DC_CTL_HOLDER1;
    if (row < 1 || row >= kRows) return false;
    RECT first, second;
    if (!PageRect(hDlg, Item(hDlg, IDC_DC_CTL_HOLDER1), &first) ||
        !PageRect(hDlg, Item(hDlg, IDC_DC_CTL_HOLDER1 + 1), &second))
        return false;
    const int pitch = second.top - first.top;
    for (int last = row - 1; last >= 0; --last) {
        if (!RowRect(hDlg, IDC_DC_CTL_HOLDER1 + last, pRect)) continue;
        OffsetRect(pRect, 0, pitch * (row - last));
        return true;
    }
    return false;
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
    if (!BHolderRect(Page(), iHolder, &holder)) {
        if (piCtrlId) *piCtrlId = 0;
        return TRUE;
    }
    const bool button = &shape == &kPushButton;
    const ControlPlace place = {holder.left, holder.top + (button ? 5 : 0), holder.right - holder.left,
                        button ? 25 : holder.bottom - holder.top};
    const int id = IMakeControl(hInstance, hFont, shape, text, place, m_nCtrlIdAnchor);
    if (piCtrlId) *piCtrlId = id;
    VFinishRow(iHolder, id);
    return TRUE;
}

BOOL CZQShortcutPanelRows::BCreatePair(HINSTANCE hInstance, HFONT hFont, const ControlShape& shape,
                                             int iTextId, int iHolder, int* piSecondId, int* piCaptionId) {
    RECT holder = {};
    if (!BHolderRect(Page(), iHolder, &holder)) {
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

void CZQShortcutPanelRows::VPlaceEditGroup(int iCaption, int iEdit, int iSpin, int iRow) {
    if (!Page() || iRow < 0 || iRow >= kRows) return;
    RECT rowHolder;
    if (!BHolderRect(Page(), IDC_DC_CTL_HOLDER1 + iRow, &rowHolder)) return;
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
    VSetAnchorId(iSpin);
}

void CZQShortcutPanelRows::VFreeEntries() {
    if (m_ppEntries) {
        for (int i = 0; i < m_nEntries; ++i) {
            ShortcutPanelEntry* entry = m_ppEntries[i];
            if (!entry) continue;
            for (int option = 0; option < entry->nOptions; ++option) {
                if (entry->ppszOptionKeywords) LocalFree(entry->ppszOptionKeywords[option]);
                if (entry->ppszOptionNames) LocalFree(entry->ppszOptionNames[option]);
                if (entry->ppiOptionBitmapIds) LocalFree(entry->ppiOptionBitmapIds[option]);
                if (entry->ppiNotAvailable) LocalFree(entry->ppiNotAvailable[option]);
            }
            LocalFree(entry->ppszOptionKeywords);
            LocalFree(entry->ppszOptionNames);
            LocalFree(entry->ppiOptionBitmapIds);
            LocalFree(entry->ppiNotAvailable);
            LocalFree(entry);
        }
        LocalFree(m_ppEntries);
    }
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

BOOL CZQShortcutPanelRows::BFind(PCWSTR pszKeyword, int* piIndex) const {
    if (piIndex) *piIndex = 0;
    for (int i = 0; pszKeyword && m_ppEntries && i < m_nEntries; ++i) {
        if (!m_ppEntries[i] || !ZQEqualNoCase(m_ppEntries[i]->szKeyword, pszKeyword)) continue;
        if (piIndex) *piIndex = i;
        return TRUE;
    }
    return FALSE;
}

BOOL CZQShortcutPanelRows::BSelectOption(PCWSTR pszKeyword, PCWSTR pszOptionName) {
    int index = 0;
    if (!pszOptionName || !BFind(pszKeyword, &index)) return FALSE;
    ShortcutPanelEntry& entry = *m_ppEntries[index];
    for (int i = 0; entry.ppszOptionNames && i < entry.nOptions; ++i) {
        if (!entry.ppszOptionNames[i] || !ZQEqualNoCase(entry.ppszOptionNames[i], pszOptionName)) continue;
        entry.iSelected = i;
        return TRUE;
    }
    return FALSE;
}

int CZQShortcutPanelRows::IEntryOfControl(int iCtrlId) const {
    for (int i = 0; iCtrlId && m_ppEntries && i < m_nEntries; ++i)
        if (m_ppEntries[i] && m_ppEntries[i]->iCtrlId == iCtrlId) return i;
    return -1;
}

void CZQShortcutPanelRows::VTakeEntries(ShortcutPanelEntry** ppEntries, int nEntries) {
    if (ppEntries == m_ppEntries) return;
    const DocType type = m_type;
    VFreeEntries();
    m_type = type;
    m_ppEntries = ppEntries;
    m_nEntries = ppEntries && nEntries > 0 ? nEntries : 0;
}

void CZQShortcutPanelRows::VStartBuild(int iAnchorId) {
    m_nNextCtrlId = kFirstRunTimeId;
    m_nCtrlIdAnchor = iAnchorId;
}

void CZQShortcutPanelRows::VHideUnused() const {
    for (int id = m_nNextCtrlId; id < m_nCtrlIdEnd; ++id) ShowWindow(Item(Page(), id), SW_HIDE);
}
