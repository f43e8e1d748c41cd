// The alert window on a real dialog: numbering, layout and painting, links pressed and released,
// cursors, keys and scrolling, the right-to-left parent and the control ids.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "alertdialog.h"
#include "device/zqalertwnd.h"
#include "res/zqalertids.h"
#include "zqowner.h"

namespace {

// A window's client pixels as they stand.
struct Picture {
    LONG width = 0;
    LONG height = 0;
    std::vector<DWORD> pixels;
    DWORD At(LONG x, LONG y) const { return pixels[static_cast<size_t>(y * width + x)] & 0xFFFFFF; }
};

// The pixels of a device context's rectangle from (0, 0).
Picture Shot(HDC hdc, LONG width, LONG height) {
    Picture p;
    p.width = width;
    p.height = height;
    p.pixels.resize(static_cast<size_t>(width * height));
    CZQMemDC mem(CreateCompatibleDC(hdc));
    CZQGdiObject bitmap(CreateCompatibleBitmap(hdc, width, height));
    {
        CZQSelectObject select(mem.Get(), bitmap.Get());
        BitBlt(mem.Get(), 0, 0, width, height, hdc, 0, 0, SRCCOPY);
    }
    BITMAPINFO bmi = {};
    bmi.bmiHeader = {sizeof bmi.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    GetDIBits(mem.Get(), static_cast<HBITMAP>(bitmap.Get()), 0, static_cast<UINT>(height), p.pixels.data(), &bmi,
              DIB_RGB_COLORS);
    return p;
}

Picture Shot(HWND hwnd) {
    RECT rc = {};
    GetClientRect(hwnd, &rc);
    CZQWindowDC dc(hwnd);
    return Shot(dc.Get(), rc.right, rc.bottom);
}

// The pixels of `view` that differ from those of `source` `dy` rows further down (rows `source`
// lacks are not compared), with the first of them.
std::string Differences(const Picture& view, const Picture& source, LONG dy) {
    int count = 0;
    std::string first;
    for (LONG y = 0; y < view.height; ++y)
        for (LONG x = 0; x < std::min(view.width, source.width); ++x) {
            if (y + dy < 0 || y + dy >= source.height || view.At(x, y) == source.At(x, y + dy)) continue;
            if (!count++) first = " first at " + std::to_string(x) + "," + std::to_string(y);
        }
    return count ? std::to_string(count) + " pixels" + first : "";
}

std::vector<std::wstring> g_sent;  // "row:link" of each link message, the link taken from the strip

INT_PTR CALLBACK RecordingDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (uMsg == kZQAlertLinkMessage) {
        HWND strip = FindWindowExW(hDlg, nullptr, CZQAlertWnd::kClassName, nullptr);
        auto* wnd = reinterpret_cast<CZQAlertWnd*>(GetWindowLongPtrW(strip, GWLP_USERDATA));
        WCHAR line[kAlertLinkChars];
        const BOOL taken = wnd->BTakeLink(uMsg, wParam, line);
        g_sent.push_back(std::to_wstring(wParam) + L":" + (taken ? line : L"(null)") + (lParam ? L" with a pointer" : L""));
        EXPECT_FALSE(wnd->BTakeLink(uMsg, wParam, line)) << "taken once";
    }
    return uMsg == WM_INITDIALOG;
}

class AlertWindow : public ::testing::Test {
protected:
    void SetUp() override { g_sent.clear(); }
    void TearDown() override {
        for (HWND dlg : m_dialogs) DestroyWindow(dlg);
    }
    // The window over the placeholder of a new dialog, with the system's icons as the pages ask;
    // `height` > 0 makes it that high, as the pages do.
    HWND Create(CZQAlertWnd& wnd, int dialog = IDD_ZQTEST_ALERTS, int height = 0) {
        HWND dlg = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(dialog), nullptr, RecordingDlgProc, 0);
        ShowWindow(dlg, SW_SHOW);
        m_dialogs.push_back(dlg);
        RECT rc = {};
        GetWindowRect(GetDlgItem(dlg, IDC_ALERT_PLACEHOLDER), &rc);
        MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&rc), 2);
        if (height > 0) rc.bottom = rc.top + height;
        EXPECT_TRUE(wnd.BCreate(dlg, GetModuleHandleW(nullptr), nullptr, IDI_WARNING, IDI_ERROR, &rc));
        return dlg;
    }
    // A press and a release at the middles of two link rectangles.
    static void Click(const CZQAlertWnd& wnd, int press, int release) {
        const int scroll = wnd.IScrollOffset();
        for (auto [msg, row] : {std::pair<UINT, int>{WM_LBUTTONDOWN, press}, {WM_LBUTTONUP, release}}) {
            const RECT& rc = wnd.Item(row).rcLink;
            SendMessageW(wnd.Hwnd(), msg, 0, MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2 - scroll));
        }
    }
    std::vector<HWND> m_dialogs;
};

TEST_F(AlertWindow, RowsAreNumberedAndLaidOutAgainOnEveryAdd) {
    CZQAlertWnd wnd;
    EXPECT_FALSE(wnd.BAddItem(L"no window yet", ZQ_ALERT_WARNING, nullptr));
    Create(wnd);
    std::wstring words;
    for (int i = 0; i < 60; ++i) words += L"word ";
    for (PCWSTR text : {L"Short", words.c_str(), L"", L"Fourth"}) ASSERT_TRUE(wnd.BAddItem(text, ZQ_ALERT_ERROR, nullptr));
    EXPECT_FALSE(wnd.BAddItem(nullptr, ZQ_ALERT_WARNING, nullptr));
    EXPECT_FALSE(wnd.BAddItem(L"kind", ZQ_ALERT_KIND_NONE, nullptr));
    ASSERT_EQ(4, wnd.ItemCount());
    // Renumbered on every add; each row 2 pixels below the one before, never lower than its icon.
    int top = 2;
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(L"[" + std::to_wstring(i + 1) + L"/4] ", std::wstring(wnd.Item(i).pszNumbered).substr(0, 6));
        EXPECT_EQ(top, wnd.Item(i).rcRow.top) << i;
        top = wnd.Item(i).rcRow.bottom + 2;
    }
    EXPECT_STREQ(L"[4/4] Fourth", wnd.Item(3).pszNumbered);
    EXPECT_EQ(36, wnd.Item(0).rcRow.bottom - wnd.Item(0).rcRow.top);
    EXPECT_GT(wnd.Item(1).rcRow.bottom - wnd.Item(1).rcRow.top, 72) << "wrapped";
    // Painted, each numbered text is one text beside the icon, centred down its row; a wrapped one
    // fills its row, measured as it is drawn. The number takes no column of its own: the numbered
    // text wraps in all the width right of the icon, up to the window's edge.
    UpdateWindow(wnd.Hwnd());
    RECT client = {};
    GetClientRect(wnd.Hwnd(), &client);
    CZQWindowDC dc(wnd.Hwnd());
    CZQSelectObject font(dc.Get(), GetStockObject(DEFAULT_GUI_FONT));
    for (int i = 0; i < 4; ++i) {
        const RECT &row = wnd.Item(i).rcRow, &text = wnd.Item(i).rcLink;
        RECT whole = {34, 0, client.right, 0};
        DrawTextW(dc.Get(), wnd.Item(i).pszNumbered, -1, &whole, DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT);
        EXPECT_EQ(std::max<LONG>(36, whole.bottom), row.bottom - row.top) << i;
        EXPECT_EQ(whole.right, text.right) << i;
        EXPECT_EQ(34, text.left) << i;
        EXPECT_LE(std::abs((text.top - row.top) - (row.bottom - text.bottom)), 1) << i;
    }
    EXPECT_EQ(wnd.Item(1).rcRow.top, wnd.Item(1).rcLink.top);
    EXPECT_EQ(wnd.Item(1).rcRow.bottom, wnd.Item(1).rcLink.bottom);
}

TEST_F(AlertWindow, LinksAnswerPressAndReleaseOnTheSameRow) {
    CZQAlertWnd wnd;
    Create(wnd);
    ASSERT_TRUE(wnd.BAddItem(L"Plain", ZQ_ALERT_WARNING, L"never sent"));
    ASSERT_TRUE(wnd.BAddItem(L"First link", ZQ_ALERT_ERROR_LINK, L"\"first.exe\" \"a\""));
    for (int i = 0; i < 10; ++i) ASSERT_TRUE(wnd.BAddItem(L"Link", ZQ_ALERT_WARNING_LINK, nullptr));
    UpdateWindow(wnd.Hwnd());  // painting records where each text went
    for (auto [press, release] : {std::pair<int, int>{1, 1}, {2, 2}, {1, 2}, {0, 0}}) Click(wnd, press, release);
    EXPECT_EQ((std::vector<std::wstring>{L"1:\"first.exe\" \"a\"", L"2:(null)"}), g_sent);
    EXPECT_FALSE(wnd.Item(0).bVisited);
    EXPECT_TRUE(wnd.Item(1).bVisited);
    for (auto [row, cursor] : {std::pair<int, PCWSTR>{1, IDC_HAND}, {0, IDC_ARROW}}) {
        POINT pt = {(wnd.Item(row).rcLink.left + wnd.Item(row).rcLink.right) / 2, wnd.Item(row).rcLink.top + 2};
        ClientToScreen(wnd.Hwnd(), &pt);
        SetCursorPos(pt.x, pt.y);
        EXPECT_EQ(TRUE, SendMessageW(wnd.Hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(wnd.Hwnd()), HTCLIENT));
        EXPECT_EQ(LoadCursorW(nullptr, cursor), GetCursor()) << row;
    }
    // Scrolled to the bottom, the last row's link answers where it is shown.
    SendMessageW(wnd.Hwnd(), WM_KEYDOWN, VK_END, 0);
    Click(wnd, 11, 11);
    EXPECT_EQ(L"11:(null)", g_sent.back());
}

// On a strip of the pages' height the bar runs over the rows' pixels and their gaps: a line is 2
// pixels, a page the strip's height, keys as their scroll codes, a thumb's track position, never
// past the last page. Each step moves what the strip shows by the difference, painting only what
// it uncovers (a mark the test puts on the strip moves with the rest). A tall alert's link, at the
// end of its text, answers where it shows.
TEST_F(AlertWindow, ScrollsByPixelsTwoALineAndTheStripsHeightAPage) {
    CZQAlertWnd wnd;
    Create(wnd, IDD_ZQTEST_ALERTS, CZQAlertWnd::IStripHeight());
    ASSERT_TRUE(wnd.BAddItem(L"The printer has stopped: paper jam-out of paper.", ZQ_ALERT_WARNING, nullptr));
    ASSERT_TRUE(wnd.BAddItem(L"One\nTwo\nThree\nFour\nClick here to update it.", ZQ_ALERT_WARNING_LINK, L"update.exe"));
    for (PCWSTR text : {L"Third", L"Fourth"}) ASSERT_TRUE(wnd.BAddItem(text, ZQ_ALERT_WARNING, nullptr));
    RECT client = {};
    GetClientRect(wnd.Hwnd(), &client);
    const AlertItem& tall = wnd.Item(1);
    const int line = (tall.rcRow.bottom - tall.rcRow.top) / 5;
    ASSERT_EQ(3, client.bottom / line) << "a strip of three lines";
    SCROLLINFO si = {};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(wnd.Hwnd(), SB_VERT, &si));
    const int total = wnd.Item(3).rcRow.bottom;  // the rows with a gap of 2 above each
    EXPECT_EQ(total, si.nMax);
    EXPECT_EQ(static_cast<UINT>(client.bottom), si.nPage);
    const int page = client.bottom, last = total - page + 1;
    constexpr UINT kKey = 100;  // no scroll code
    const struct {
        UINT code;  // kKey: a key in `value`; else a scroll code with `value` as its track position
        WPARAM value;
        int offset;
    } steps[] = {
        {SB_LINEDOWN, 0, 2},      {SB_LINEDOWN, 0, 4},         {SB_LINEUP, 0, 2},         {kKey, VK_DOWN, 4},
        {kKey, VK_NEXT, 4 + page}, {kKey, VK_PRIOR, 4},        {kKey, 'A', 4},            {kKey, VK_UP, 2},
        {kKey, VK_END, last},     {SB_LINEDOWN, 0, last},      {kKey, VK_HOME, 0},        {SB_LINEUP, 0, 0},
        {SB_THUMBTRACK, 50, 50},  {SB_THUMBPOSITION, 9, 50},   {SB_BOTTOM, 0, last},      {SB_THUMBTRACK, 500, last},
        {SB_THUMBTRACK, static_cast<WPARAM>(tall.rcRow.bottom - page), tall.rcRow.bottom - page},  // its end
    };
    UpdateWindow(wnd.Hwnd());
    for (const auto& step : steps) {
        const int before = wnd.IScrollOffset();
        {
            CZQWindowDC dc(wnd.Hwnd());
            CZQGdiObject mark(CreateSolidBrush(RGB(255, 0, 255)));
            const RECT across = {client.right / 2, 0, client.right / 2 + 1, client.bottom};
            FillRect(dc.Get(), &across, static_cast<HBRUSH>(mark.Get()));
        }
        const Picture was = Shot(wnd.Hwnd());
        if (step.code == kKey)
            SendMessageW(wnd.Hwnd(), WM_KEYDOWN, step.value, 0);
        else
            SendMessageW(wnd.Hwnd(), WM_VSCROLL, MAKEWPARAM(step.code, step.value), 0);
        UpdateWindow(wnd.Hwnd());
        SCOPED_TRACE(testing::Message() << "code " << step.code << ", value " << step.value);
        const int offset = wnd.IScrollOffset();
        EXPECT_EQ(step.offset, offset);
        EXPECT_EQ("", Differences(Shot(wnd.Hwnd()), was, offset - before)) << "moved by " << offset - before;
    }
    g_sent.clear();
    const int offset = wnd.IScrollOffset();
    const POINT end = {(tall.rcLink.left + tall.rcLink.right) / 2, tall.rcLink.bottom - line / 2 - offset};
    for (UINT msg : {WM_LBUTTONDOWN, WM_LBUTTONUP}) SendMessageW(wnd.Hwnd(), msg, 0, MAKELPARAM(end.x, end.y));
    EXPECT_EQ(std::vector<std::wstring>{L"1:update.exe"}, g_sent) << "the link at the end of its text";
}

// Scrolled anywhere, the strip shows its rows as they lie, cut by its edges as any scrolled list:
// an icon or a text line in part, never moved to stay whole. What it shows is what a strip tall
// enough for all of them shows from that offset down; each icon stands at its row's top-left.
TEST_F(AlertWindow, ShowsItsRowsAsTheyLieCutByItsEdges) {
    CZQAlertWnd wnd;
    Create(wnd, IDD_ZQTEST_ALERTS, CZQAlertWnd::IStripHeight());
    ASSERT_TRUE(wnd.BAddItem(L"Short", ZQ_ALERT_WARNING, nullptr));
    ASSERT_TRUE(wnd.BAddItem(L"One\nTwo\nThree\nFour\nFive", ZQ_ALERT_ERROR_LINK, L"x.exe"));
    ASSERT_TRUE(wnd.BAddItem(L"Last", ZQ_ALERT_ERROR, nullptr));
    const RECT tall = wnd.Item(1).rcRow;
    RECT client = {};
    GetClientRect(wnd.Hwnd(), &client);
    const int line = (tall.bottom - tall.top) / 5, total = wnd.Item(2).rcRow.bottom;
    const int offsets[] = {
        0,                         // the first row whole below its gap
        2,                         // its icon at the very top, the tall row's icon cut at the foot
        13,                        // its icon cut at the top
        tall.top - 20,             // the tall row's second line cut at the foot
        tall.top + line / 2,       // its icon and first line cut at the top
        tall.top + 2 * line - 5,   // its middle lines, cut at both edges
        total - client.bottom + 1  // the last page
    };
    std::vector<Picture> shown;
    for (int offset : offsets) {
        SendMessageW(wnd.Hwnd(), WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, offset), 0);
        UpdateWindow(wnd.Hwnd());
        ASSERT_EQ(offset, wnd.IScrollOffset());
        shown.push_back(Shot(wnd.Hwnd()));
    }
    // The same strip made tall enough for every row.
    SendMessageW(wnd.Hwnd(), WM_VSCROLL, MAKEWPARAM(SB_TOP, 0), 0);
    RECT frame = {};
    GetWindowRect(wnd.Hwnd(), &frame);
    SetWindowPos(wnd.Hwnd(), nullptr, 0, 0, frame.right - frame.left,
                 frame.bottom - frame.top - client.bottom + total + 2, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateWindow(wnd.Hwnd());
    const Picture all = Shot(wnd.Hwnd());
    ASSERT_EQ(total + 2, all.height);
    for (size_t i = 0; i < shown.size(); ++i) EXPECT_EQ("", Differences(shown[i], all, offsets[i])) << offsets[i];
    // Each icon as the system draws it on the strip's face, at its row's top-left corner.
    for (int i = 0; i < 3; ++i) {
        CZQWindowDC screen(nullptr);
        CZQMemDC mem(CreateCompatibleDC(screen.Get()));
        CZQGdiObject bitmap(CreateCompatibleBitmap(screen.Get(), 32, 32));
        CZQSelectObject select(mem.Get(), bitmap.Get());
        const RECT square = {0, 0, 32, 32};
        FillRect(mem.Get(), &square, GetSysColorBrush(COLOR_3DFACE));
        DrawIconEx(mem.Get(), 0, 0, wnd.Item(i).hIcon, 32, 32, 0, nullptr, DI_NORMAL);
        EXPECT_EQ("", Differences(Shot(mem.Get(), 32, 32), all, wnd.Item(i).rcRow.top)) << i;
    }
}

TEST_F(AlertWindow, CreationFollowsTheParentAndWithoutLinksTheMouseIsLeftAlone) {
    CZQAlertWnd ltr, rtl;
    HWND dlg = Create(ltr);
    Create(rtl, IDD_ZQTEST_ALERTS_RTL);
    const RECT rc = {0, 0, 10, 10};
    EXPECT_FALSE(ltr.BCreate(dlg, GetModuleHandleW(nullptr), nullptr, IDI_WARNING, IDI_ERROR, &rc)) << "one window";
    EXPECT_FALSE(CZQAlertWnd().BCreate(nullptr, GetModuleHandleW(nullptr), nullptr, IDI_WARNING, IDI_ERROR, &rc));
    for (HWND hwnd : {ltr.Hwnd(), rtl.Hwnd()}) {
        EXPECT_EQ(0x50210000u, static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)) & 0xFFFF0000u);
        EXPECT_EQ(hwnd, GetWindow(GetDlgItem(GetParent(hwnd), IDC_ALERT_REFRESH), GW_HWNDNEXT)) << "after the button";
    }
    EXPECT_EQ(WS_EX_CLIENTEDGE, GetWindowLongW(ltr.Hwnd(), GWL_EXSTYLE) & (WS_EX_CLIENTEDGE | WS_EX_LAYOUTRTL));
    EXPECT_EQ(WS_EX_CLIENTEDGE | WS_EX_LAYOUTRTL, GetWindowLongW(rtl.Hwnd(), GWL_EXSTYLE) & (WS_EX_CLIENTEDGE | WS_EX_LAYOUTRTL));
    EXPECT_EQ(5611 % 4, GetDlgCtrlID(ltr.Hwnd()) % 4);
    EXPECT_EQ(GetDlgCtrlID(ltr.Hwnd()) + 4, GetDlgCtrlID(rtl.Hwnd()));

    ASSERT_TRUE(ltr.BAddItem(L"Plain", ZQ_ALERT_ERROR, L"a link text on a plain row"));
    UpdateWindow(ltr.Hwnd());
    Click(ltr, 0, 0);
    EXPECT_TRUE(g_sent.empty());
    SetCursor(nullptr);
    EXPECT_EQ(FALSE, SendMessageW(ltr.Hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(ltr.Hwnd()), HTCLIENT));
    EXPECT_EQ(nullptr, GetCursor());
    // Destroyed with its dialog, the window leaves an object that refuses everything.
    DestroyWindow(dlg);
    EXPECT_EQ(nullptr, ltr.Hwnd());
    EXPECT_FALSE(ltr.BAddItem(L"late", ZQ_ALERT_WARNING, nullptr));
    EXPECT_FALSE(ltr.BDestroy());
    EXPECT_TRUE(rtl.BDestroy());
}

}  // namespace
