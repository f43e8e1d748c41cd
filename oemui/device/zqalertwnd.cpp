#include "device/zqalertwnd.h"

#include <windowsx.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <initializer_list>
#include <new>

#include "common/zqhandles.h"
#include "common/zqstrings.h"
#include "common/zqtrace.h"
#include "res/zqalertids.h"

namespace {

// One counter for every window of the process, whichever page makes it.
LONG g_lNextControlId = CZQAlertWnd::kFirstControlId;

constexpr DWORD kExStyle = WS_EX_CLIENTEDGE;
constexpr DWORD kStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP;  // 0x50210000
constexpr UINT kTextFormat = DT_WORDBREAK | DT_NOPREFIX;
constexpr COLORREF kLinkColor = 0xFF0000;
constexpr COLORREF kVisitedColor = 0x800080;

bool IsLink(DWORD dwKind) { return dwKind == ZQ_ALERT_WARNING_LINK || dwKind == ZQ_ALERT_ERROR_LINK; }

HFONT GuiFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

// The numbered text, or the bare text when there was no memory to number it.
PCWSTR ShownText(const AlertItem& item) { return item.pszNumbered ? item.pszNumbered : item.pszText; }

// The keys the list scrolls with, and the scroll code each becomes.
struct KeyScroll {
    WPARAM vk;
    WORD code;
    PCWSTR trace;
};
const KeyScroll kKeys[] = {
    {VK_UP, SB_LINEUP, L"CZQAlertWnd::OnKeyDown::VK_UP\n"},
    {VK_DOWN, SB_LINEDOWN, L"CZQAlertWnd::OnKeyDown::VK_DOWN\n"},
    {VK_PRIOR, SB_PAGEUP, L"CZQAlertWnd::OnKeyDown::VK_PRIOR\n"},
    {VK_NEXT, SB_PAGEDOWN, L"CZQAlertWnd::OnKeyDown::VK_NEXT\n"},
    {VK_HOME, SB_TOP, L"CZQAlertWnd::OnKeyDown::VK_HOME\n"},
    {VK_END, SB_BOTTOM, L"CZQAlertWnd::OnKeyDown::VK_END\n"},
};
// A code no scroll code has: it moves nothing.
constexpr WORD kNoScroll = 0xFFFF;
// Pixels a line up or down moves.
constexpr int kLineScroll = 2;

}  // namespace

CZQAlertWnd::CZQAlertWnd()
    : m_hHand(LoadCursorW(nullptr, MAKEINTRESOURCEW(32649))), m_hArrow(LoadCursorW(nullptr, MAKEINTRESOURCEW(32512))) {}

CZQAlertWnd::~CZQAlertWnd() {
    if (m_pbAlive) *m_pbAlive = false;
    // A window left behind would call into a deleted object.
    BDestroy();
    for (int i = 0; i < m_nCount; ++i) VFreeItem(m_pItems[i]);
    delete[] m_pItems;
}

BOOL CZQAlertWnd::BCreate(HWND hParent, HINSTANCE hInstance, HINSTANCE hIconModule, PCWSTR pszFirstIcon,
                          PCWSTR pszSecondIcon, const RECT* prc) {
    ZQ_TRACE("CZQAlertWnd::BCreate");
    if (m_hWnd || !hInstance || !prc || !IsWindow(hParent)) return FALSE;
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExW(hInstance, kClassName, &wc)) {
        wc = {};
        wc.cbSize = sizeof wc;
        wc.style = CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = &WndProc;
        wc.hInstance = hInstance;
        wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_3DFACE + 1));
        wc.lpszClassName = kClassName;
        if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return FALSE;
    }
    m_hInstance = hInstance;
    m_hIconModule = hIconModule;

    const DWORD exStyle = kExStyle | (GetWindowLongW(hParent, GWL_EXSTYLE) & WS_EX_LAYOUTRTL);
    const LONG id = InterlockedExchangeAdd(&g_lNextControlId, kControlIdStep);
    m_hWnd = CreateWindowExW(exStyle, kClassName, L"", kStyle, prc->left, prc->top, prc->right - prc->left,
                             prc->bottom - prc->top, hParent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             hInstance, nullptr);
    if (!m_hWnd) return FALSE;
    SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    const PCWSTR names[4] = {pszFirstIcon, pszSecondIcon, pszFirstIcon, pszSecondIcon};
    for (int i = 0; i < 4; ++i) m_ahIcons[i] = LoadIconW(hIconModule, names[i]);

    if (HWND hButton = GetDlgItem(hParent, IDC_ALERT_REFRESH))
        SetWindowPos(m_hWnd, hButton, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    VUpdateScrollBar();
    return TRUE;
}

BOOL CZQAlertWnd::BDestroy() {
    if (!m_hWnd) return FALSE;
    DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
    return TRUE;
}

BOOL CZQAlertWnd::BTakeLink(UINT uMsg, WPARAM wParam, PWSTR pszLine) {
    if (!pszLine) return FALSE;
    pszLine[0] = L'\0';
    if (uMsg != kZQAlertLinkMessage || m_iHandOver < 0 || wParam != static_cast<WPARAM>(m_iHandOver) ||
        InSendMessage())
        return FALSE;
    const PCWSTR link = m_iHandOver < m_nCount ? m_pItems[m_iHandOver].pszLink : nullptr;
    // Once: a message that comes while the parent handles this one (a box's message loop) finds
    // nothing to take.
    m_iHandOver = -1;
    if (!link) return FALSE;
    ZQCopyText(pszLine, kAlertLinkChars, link);
    return pszLine[0] != L'\0';
}

BOOL CZQAlertWnd::BAddItem(PCWSTR pszText, DWORD dwKind, PCWSTR pszLink) {
    if (!m_hWnd || !pszText || dwKind >= ZQ_ALERT_KIND_NONE || !m_ahIcons[dwKind]) return FALSE;
    AlertItem item = {};
    item.dwKind = dwKind;
    item.hIcon = m_ahIcons[dwKind];
    item.pszText = ZQDupText(pszText);
    item.pszLink = pszLink ? ZQDupText(pszLink) : nullptr;
    if (!item.pszText || (pszLink && !item.pszLink) || !BAppend(item)) {
        VFreeItem(item);
        return FALSE;
    }
    VLayout();
    InvalidateRect(m_hWnd, nullptr, TRUE);
    VUpdateScrollBar();
    if (IsLink(dwKind)) ++m_lLinkCount;
    return TRUE;
}

void CZQAlertWnd::VClearItems() {
    // A row being handed over is gone with the others.
    m_iHandOver = -1;
    for (int i = 0; i < m_nCount; ++i) VFreeItem(m_pItems[i]);
    m_nCount = 0;
    if (!m_hWnd) return;
    InvalidateRect(m_hWnd, nullptr, TRUE);
    VUpdateScrollBar();
}

void CZQAlertWnd::VShow(BOOL bShow) {
    if (m_hWnd) ShowWindow(m_hWnd, bShow ? SW_SHOW : SW_HIDE);
}

BOOL CZQAlertWnd::BAppend(const AlertItem& item) {
    if (m_nCount == m_nCapacity) {
        const int step = m_nGrowBy > 0 ? m_nGrowBy : std::min(1024, std::max(4, m_nCount / 8));
        if (m_nCapacity > INT_MAX / static_cast<int>(sizeof(AlertItem)) - step) return FALSE;
        auto* pItems = new (std::nothrow) AlertItem[static_cast<size_t>(m_nCapacity + step)];
        if (!pItems) return FALSE;
        if (m_nCount) std::memcpy(pItems, m_pItems, static_cast<size_t>(m_nCount) * sizeof(AlertItem));
        delete[] m_pItems;
        m_pItems = pItems;
        m_nCapacity += step;
    }
    m_pItems[m_nCount++] = item;
    return TRUE;
}

void CZQAlertWnd::VFreeItem(AlertItem& item) {
    for (PWSTR* text : {&item.pszText, &item.pszNumbered, &item.pszLink}) {
        if (*text) LocalFree(*text);
        *text = nullptr;
    }
}

int CZQAlertWnd::IStripHeight() { return kRowGap + kMinRowHeight + kRowGap + 2 * GetSystemMetrics(SM_CYEDGE); }

// Every row numbered "[position/count]" and its numbered text measured word-wrapped beside its
// icon; a row is never lower than its icon with a margin.
void CZQAlertWnd::VLayout() {
    CZQWindowDC dc(m_hWnd);
    if (!dc.Get()) return;
    CZQSelectObject font(dc.Get(), GuiFont());
    RECT client = {};
    GetClientRect(m_hWnd, &client);
    const LONG width = std::max<LONG>(1, client.right - kTextIndent);
    int top = kRowGap;
    for (int i = 0; i < m_nCount; ++i) {
        AlertItem& item = m_pItems[i];
        item.iPosition = i + 1;
        if (item.pszNumbered) LocalFree(item.pszNumbered);
        const size_t cch = wcslen(item.pszText) + 32;
        item.pszNumbered = static_cast<PWSTR>(LocalAlloc(LPTR, cch * sizeof(WCHAR)));
        if (item.pszNumbered) ZQFormatText(item.pszNumbered, cch, L"[%d/%d] %s", item.iPosition, m_nCount, item.pszText);
        RECT measured = {0, 0, width, 0};
        DrawTextW(dc.Get(), ShownText(item), -1, &measured, kTextFormat | DT_CALCRECT);
        const int height = std::max<int>(kMinRowHeight, measured.bottom - measured.top);
        item.rcRow = {0, top, client.right, top + height};
        top += height + kRowGap;
    }
}

// A pixel range over the rows and their gaps, a page of the window's height; the bar is disabled,
// not hidden, while everything shows.
void CZQAlertWnd::VUpdateScrollBar() const {
    if (!m_hWnd) return;
    RECT client = {};
    GetClientRect(m_hWnd, &client);
    int total = 0;
    for (int i = 0; i < m_nCount; ++i) total += m_pItems[i].rcRow.bottom - m_pItems[i].rcRow.top + kRowGap;
    SCROLLINFO si = {};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL;
    si.nMin = 0;
    si.nMax = total;
    si.nPage = static_cast<UINT>(std::max<LONG>(0, client.bottom));
    SetScrollInfo(m_hWnd, SB_VERT, &si, TRUE);
}

int CZQAlertWnd::IScrollOffset() const {
    if (!m_hWnd) return 0;
    SCROLLINFO si = {};
    si.cbSize = sizeof si;
    si.fMask = SIF_POS;
    return GetScrollInfo(m_hWnd, SB_VERT, &si) ? si.nPos : 0;
}

POINT CZQAlertWnd::ScrolledPoint(LPARAM lParam) const {
    return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam) + IScrollOffset()};
}

int CZQAlertWnd::ILinkAt(POINT pt, bool bUnvisitedOnly) const {
    for (int i = 0; i < m_nCount; ++i) {
        const AlertItem& item = m_pItems[i];
        if (IsLink(item.dwKind) && !(bUnvisitedOnly && item.bVisited) && PtInRect(&item.rcLink, pt)) return i;
    }
    return -1;
}

// Rows are painted where they lie in the scrolled list; the window clips what lies outside it.
void CZQAlertWnd::VPaint() {
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(m_hWnd, &ps);
    if (!hdc) return;
    SetViewportOrgEx(hdc, 0, -IScrollOffset(), nullptr);
    LOGFONTW lf = {};
    GetObjectW(GuiFont(), sizeof lf, &lf);
    lf.lfUnderline = TRUE;
    CZQGdiObject linkFont(CreateFontIndirectW(&lf));
    const COLORREF textColor = GetTextColor(hdc);
    SetBkMode(hdc, TRANSPARENT);
    for (int i = 0; i < m_nCount; ++i) {
        AlertItem& item = m_pItems[i];
        DrawIconEx(hdc, item.rcRow.left, item.rcRow.top, item.hIcon, kIconSize, kIconSize, 0, nullptr, DI_NORMAL);
        const bool link = IsLink(item.dwKind);
        CZQSelectObject font(hdc, link && linkFont ? linkFont.Get() : GuiFont());
        SetTextColor(hdc, link ? (item.bVisited ? kVisitedColor : kLinkColor) : textColor);
        RECT area = item.rcRow;
        area.left += kTextIndent;
        RECT drawn = area;
        DrawTextW(hdc, ShownText(item), -1, &drawn, kTextFormat | DT_CALCRECT);
        OffsetRect(&drawn, 0, ((area.bottom - area.top) - (drawn.bottom - drawn.top)) / 2);
        DrawTextW(hdc, ShownText(item), -1, &drawn, kTextFormat);
        item.rcLink = drawn;
    }
    EndPaint(m_hWnd, &ps);
}

BOOL CZQAlertWnd::BSetCursor() const {
    if (m_lLinkCount <= 0) return FALSE;
    POINT pt = {};
    GetCursorPos(&pt);
    ScreenToClient(m_hWnd, &pt);
    pt.y += IScrollOffset();
    SetCursor(ILinkAt(pt, false) >= 0 ? m_hHand : m_hArrow);
    return TRUE;
}

void CZQAlertWnd::VOnKeyDown(WPARAM wParam) {
    WORD code = kNoScroll;
    PCWSTR trace = L"CZQAlertWnd::OnKeyDown::default\n";
    for (const KeyScroll& key : kKeys) {
        if (key.vk != wParam) continue;
        code = key.code;
        trace = key.trace;
    }
    zqtrace::Line(trace);
    SendMessageW(m_hWnd, WM_VSCROLL, MAKEWPARAM(code, 0), 0);
}

void CZQAlertWnd::VOnVScroll(WORD wCode, WORD wTrack) {
    SCROLLINFO si = {};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    if (!GetScrollInfo(m_hWnd, SB_VERT, &si)) return;
    const int old = si.nPos;
    int pos = old;
    switch (wCode) {
        case SB_LINEUP: pos -= kLineScroll; break;
        case SB_LINEDOWN: pos += kLineScroll; break;
        case SB_PAGEUP: pos -= static_cast<int>(si.nPage); break;
        case SB_PAGEDOWN: pos += static_cast<int>(si.nPage); break;
        case SB_THUMBTRACK: pos = wTrack; break;
        case SB_TOP: pos = si.nMin; break;
        case SB_BOTTOM: pos = si.nMax; break;
        default: break;
    }
    si.fMask = SIF_POS;
    si.nPos = std::clamp(pos, si.nMin, si.nMax);
    SetScrollInfo(m_hWnd, SB_VERT, &si, TRUE);
    const int now = IScrollOffset();
    if (now == old) return;
    ScrollWindowEx(m_hWnd, 0, old - now, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE | SW_ERASE);
    UpdateWindow(m_hWnd);
}

void CZQAlertWnd::VOnButtonDown(LPARAM lParam) {
    const POINT pt = ScrolledPoint(lParam);
    m_lPressX = pt.x;
    m_lPressY = pt.y;
    const int i = ILinkAt(pt, true);
    if (i < 0) return;
    AlertItem& item = m_pItems[i];
    item.bVisited = TRUE;
    RECT dirty = item.rcLink;
    OffsetRect(&dirty, 0, -IScrollOffset());
    InflateRect(&dirty, 2, 2);
    InvalidateRect(m_hWnd, &dirty, FALSE);
}

void CZQAlertWnd::VOnButtonUp(LPARAM lParam) {
    const POINT release = ScrolledPoint(lParam);
    const POINT press = {m_lPressX, m_lPressY};
    for (int i = 0; i < m_nCount; ++i) {
        const AlertItem& item = m_pItems[i];
        if (!IsLink(item.dwKind) || !PtInRect(&item.rcLink, release) || !PtInRect(&item.rcLink, press)) continue;
        // The parent takes the marked row's line from this strip. It may refill the list, or even
        // destroy the strip, while it handles the message: only the mark is cleared after it, and
        // only when the strip is still there.
        bool alive = true;
        m_pbAlive = &alive;
        m_iHandOver = i;
        SendMessageW(GetParent(m_hWnd), kZQAlertLinkMessage, static_cast<WPARAM>(i), 0);
        if (!alive) return;
        m_pbAlive = nullptr;
        m_iHandOver = -1;
        return;
    }
}

LRESULT CALLBACK CZQAlertWnd::WndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<CZQAlertWnd*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hWnd, uMsg, wParam, lParam);
    switch (uMsg) {
        case WM_PAINT: self->VPaint(); return 0;
        case WM_SETCURSOR:
            if (self->BSetCursor()) return TRUE;
            break;
        case WM_KEYDOWN: self->VOnKeyDown(wParam); return 0;
        case WM_VSCROLL: self->VOnVScroll(LOWORD(wParam), HIWORD(wParam)); return 0;
        case WM_LBUTTONDOWN:
            if (self->m_lLinkCount <= 0) break;
            self->VOnButtonDown(lParam);
            return 0;
        case WM_LBUTTONUP:
            if (self->m_lLinkCount <= 0) break;
            self->VOnButtonUp(lParam);
            return 0;
        case WM_NCDESTROY:
            // Destroyed with its dialog: the object outlives the window and must not reach it.
            SetWindowLongPtrW(hWnd, GWLP_USERDATA, 0);
            self->m_hWnd = nullptr;
            break;
        default: break;
    }
    return DefWindowProcW(hWnd, uMsg, wParam, lParam);
}
