#include "common/zqcontrols.h"

#include <commctrl.h>

#include "common/zqmsgbox.h"

namespace {
constexpr UINT_PTR kControlSubclassId = 0x5A52;
constexpr int kIconGap = 2;
}  // namespace

// ---------------------------------------------------------------------------------------------
// CZQControl, CZQButton
// ---------------------------------------------------------------------------------------------
CZQControl::~CZQControl() { VDetach(); }

BOOL CZQControl::BAttach(HWND hDlg, int iCtrlId) {
    VDetach();
    HWND hWnd = GetDlgItem(hDlg, iCtrlId);
    if (!hWnd) return FALSE;
    if (!SetWindowSubclass(hWnd, &SubclassProc, kControlSubclassId, reinterpret_cast<DWORD_PTR>(this)))
        return FALSE;
    m_hWnd = hWnd;
    return TRUE;
}

void CZQControl::VDetach() {
    if (!m_hWnd) return;
    RemoveWindowSubclass(m_hWnd, &SubclassProc, kControlSubclassId);
    m_hWnd = nullptr;
}

LRESULT CALLBACK CZQControl::SubclassProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR dwRef) {
    if (uMsg == WM_NCDESTROY) reinterpret_cast<CZQControl*>(dwRef)->VDetach();
    return DefSubclassProc(hWnd, uMsg, wParam, lParam);
}

int CZQButton::IMessageBox(PCWSTR pszCaption, PCWSTR pszText, UINT uType) {
    return zqmsgbox::IShow(m_hWnd ? GetParent(m_hWnd) : nullptr, pszText, pszCaption, uType);
}

// ---------------------------------------------------------------------------------------------
// CZQBitmapButton
// ---------------------------------------------------------------------------------------------
CZQBitmapButton::~CZQBitmapButton() { VFreeBitmaps(); }

void CZQBitmapButton::VFreeBitmaps() {
    if (m_hFirst) DeleteObject(m_hFirst);
    if (m_hSecond) DeleteObject(m_hSecond);
    m_hFirst = m_hSecond = nullptr;
}

BOOL CZQBitmapButton::BLoadBitmaps(HINSTANCE hModule, WORD wFirst, WORD wSecond) {
    VFreeBitmaps();
    m_hFirst = static_cast<HBITMAP>(LoadImageW(hModule, MAKEINTRESOURCEW(wFirst), IMAGE_BITMAP, 0, 0, 0));
    m_hSecond = static_cast<HBITMAP>(LoadImageW(hModule, MAKEINTRESOURCEW(wSecond), IMAGE_BITMAP, 0, 0, 0));
    return m_hFirst && m_hSecond;
}

BOOL CZQBitmapButton::BDrawItem(const DRAWITEMSTRUCT* pDraw) {
    if (!pDraw || !m_hWnd || pDraw->hwndItem != m_hWnd || pDraw->CtlType != ODT_BUTTON) return FALSE;
    HBITMAP bitmap = (pDraw->itemState & ODS_SELECTED) && m_hSecond ? m_hSecond : m_hFirst;
    FillRect(pDraw->hDC, &pDraw->rcItem, GetSysColorBrush(COLOR_BTNFACE));
    if (!bitmap) return TRUE;
    HDC mem = CreateCompatibleDC(pDraw->hDC);
    if (!mem) return TRUE;
    HGDIOBJ old = SelectObject(mem, bitmap);
    BITMAP bm = {};
    GetObjectW(bitmap, sizeof bm, &bm);
    const RECT& rc = pDraw->rcItem;
    // Centred in the button.
    const int x = rc.left + (rc.right - rc.left - bm.bmWidth) / 2;
    const int y = rc.top + (rc.bottom - rc.top - bm.bmHeight) / 2;
    BitBlt(pDraw->hDC, x, y, bm.bmWidth, bm.bmHeight, mem, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
    if (pDraw->itemState & ODS_FOCUS) DrawFocusRect(pDraw->hDC, &rc);
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// CZQIconListBox
// ---------------------------------------------------------------------------------------------
BOOL CZQIconListBox::BSetIcon(HINSTANCE hModule, WORD wIconId) {
    const int cx = GetSystemMetrics(SM_CXSMICON);
    const int cy = GetSystemMetrics(SM_CYSMICON);
    HANDLE icon = LoadImageW(hModule, MAKEINTRESOURCEW(wIconId), IMAGE_ICON, cx, cy, LR_SHARED);
    if (!icon) return FALSE;
    m_hIcon = static_cast<HICON>(icon);
    if (m_hWnd) InvalidateRect(m_hWnd, nullptr, TRUE);
    return TRUE;
}

int CZQIconListBox::IGetCount() const { return static_cast<int>(SendMessageW(m_hWnd, LB_GETCOUNT, 0, 0)); }

int CZQIconListBox::IGetText(int iIndex, PWSTR pszText, size_t cchText) const {
    if (!pszText || !cchText) return LB_ERR;
    pszText[0] = 0;
    const LRESULT len = SendMessageW(m_hWnd, LB_GETTEXTLEN, static_cast<WPARAM>(iIndex), 0);
    if (len == LB_ERR || static_cast<size_t>(len) >= cchText) return LB_ERR;
    return static_cast<int>(
        SendMessageW(m_hWnd, LB_GETTEXT, static_cast<WPARAM>(iIndex), reinterpret_cast<LPARAM>(pszText)));
}

int CZQIconListBox::IGetCurSel() const { return static_cast<int>(SendMessageW(m_hWnd, LB_GETCURSEL, 0, 0)); }

int CZQIconListBox::ISetCurSel(int iIndex) {
    return static_cast<int>(SendMessageW(m_hWnd, LB_SETCURSEL, static_cast<WPARAM>(iIndex), 0));
}

int CZQIconListBox::IAddString(PCWSTR pszText) {
    return static_cast<int>(SendMessageW(m_hWnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pszText)));
}

void CZQIconListBox::VResetContent() { SendMessageW(m_hWnd, LB_RESETCONTENT, 0, 0); }

int CZQIconListBox::IFindStringExact(PCWSTR pszText, int iStart) const {
    return static_cast<int>(
        SendMessageW(m_hWnd, LB_FINDSTRINGEXACT, static_cast<WPARAM>(iStart), reinterpret_cast<LPARAM>(pszText)));
}

BOOL CZQIconListBox::BSetItemFlag(int iIndex, LPARAM flag, BOOL bOn) {
    if (!m_hWnd) return FALSE;
    const LRESULT data = SendMessageW(m_hWnd, LB_GETITEMDATA, static_cast<WPARAM>(iIndex), 0);
    if (data == LB_ERR) return FALSE;
    const LPARAM updated = bOn ? (data | flag) : (data & ~flag);
    if (SendMessageW(m_hWnd, LB_SETITEMDATA, static_cast<WPARAM>(iIndex), updated) == LB_ERR) return FALSE;
    RECT rc;
    if (SendMessageW(m_hWnd, LB_GETITEMRECT, static_cast<WPARAM>(iIndex), reinterpret_cast<LPARAM>(&rc)) != LB_ERR)
        InvalidateRect(m_hWnd, &rc, TRUE);
    return TRUE;
}

BOOL CZQIconListBox::BSetItemEnabled(int iIndex, BOOL bEnabled) { return BSetItemFlag(iIndex, kItemEnabled, bEnabled); }

BOOL CZQIconListBox::BSetItemMarked(int iIndex, BOOL bMarked) { return BSetItemFlag(iIndex, kItemMarked, bMarked); }

BOOL CZQIconListBox::BDrawItem(const DRAWITEMSTRUCT* pDraw) {
    if (!pDraw || !m_hWnd || pDraw->hwndItem != m_hWnd || pDraw->CtlType != ODT_LISTBOX) return FALSE;
    if (pDraw->itemID == static_cast<UINT>(-1)) return TRUE;  // empty list: nothing but the focus
    const LPARAM data = static_cast<LPARAM>(pDraw->itemData);
    const bool enabled = (data & kItemEnabled) != 0;
    const bool selected = (pDraw->itemState & ODS_SELECTED) != 0;
    HDC hdc = pDraw->hDC;
    RECT rc = pDraw->rcItem;
    FillRect(hdc, &rc, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    const int cx = GetSystemMetrics(SM_CXSMICON);
    const int cy = GetSystemMetrics(SM_CYSMICON);
    if ((data & kItemMarked) && m_hIcon) {
        const int y = rc.top + (rc.bottom - rc.top - cy) / 2;
        DrawStateW(hdc, nullptr, nullptr, reinterpret_cast<LPARAM>(m_hIcon), 0, rc.left + kIconGap, y, cx, cy,
                   DST_ICON | (enabled ? DSS_NORMAL : DSS_DISABLED));
    }
    rc.left += cx + 2 * kIconGap;
    WCHAR text[512];
    if (IGetText(static_cast<int>(pDraw->itemID), text, 512) != LB_ERR) {
        const int oldMode = SetBkMode(hdc, TRANSPARENT);
        const COLORREF color =
            GetSysColor(!enabled ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
        const COLORREF oldColor = SetTextColor(hdc, color);
        DrawTextW(hdc, text, -1, &rc, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
        SetTextColor(hdc, oldColor);
        SetBkMode(hdc, oldMode);
    }
    if (pDraw->itemState & ODS_FOCUS) DrawFocusRect(hdc, &pDraw->rcItem);
    return TRUE;
}
