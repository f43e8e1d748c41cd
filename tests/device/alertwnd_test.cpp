// The alert window on a real dialog: numbering and layout, links pressed and released, cursors,
// keys, the right-to-left parent and the control ids.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "alertdialog.h"
#include "device/zqalertwnd.h"
#include "res/zqalertids.h"

namespace {

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
// past the last page. A tall alert cut by the strip keeps its number on its first line shown, and
// its link, at the end of its text, answers where it shows.
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
    for (const auto& step : steps) {
        if (step.code == kKey)
            SendMessageW(wnd.Hwnd(), WM_KEYDOWN, step.value, 0);
        else
            SendMessageW(wnd.Hwnd(), WM_VSCROLL, MAKEWPARAM(step.code, step.value), 0);
        UpdateWindow(wnd.Hwnd());
        SCOPED_TRACE(testing::Message() << "code " << step.code << ", value " << step.value);
        const int offset = wnd.IScrollOffset();
        EXPECT_EQ(step.offset, offset);
        if (tall.rcRow.top < offset && tall.rcLink.bottom >= offset + line) {
            EXPECT_GE(tall.rcCounter.top, offset) << "the number on the first line shown";
            EXPECT_LT(tall.rcCounter.top, offset + line) << "the number on the first line shown";
        }
    }
    g_sent.clear();
    const int offset = wnd.IScrollOffset();
    const POINT end = {(tall.rcLink.left + tall.rcLink.right) / 2, tall.rcLink.bottom - line / 2 - offset};
    for (UINT msg : {WM_LBUTTONDOWN, WM_LBUTTONUP}) SendMessageW(wnd.Hwnd(), msg, 0, MAKELPARAM(end.x, end.y));
    EXPECT_EQ(std::vector<std::wstring>{L"1:update.exe"}, g_sent) << "the link at the end of its text";
}

// Of a row's text lines only those the window shows whole are painted: the band from the first
// to the last of them.
TEST(AlertLines, OnlyWholeLinesArePainted) {
    const struct {
        int top, bottom, viewTop, viewBottom;
        LONG bandTop, bandBottom;  // equal: none
    } rows[] = {
        {2, 41, 0, 40, 2, 28},    // the third line would be cut at the foot
        {2, 41, 13, 53, 15, 41},  // scrolled by a line: the first is cut at the top
        {7, 33, 0, 40, 7, 33},    // two lines in a row of the icon's height
        {2, 15, 20, 60, 0, 0},    // above the view
        {2, 41, 5, 17, 0, 0},     // a view lower than a line
    };
    for (const auto& r : rows) {
        RECT band;
        CZQAlertWnd::VWholeLines(r.top, r.bottom, 13, r.viewTop, r.viewBottom, &band);
        EXPECT_EQ(r.bandTop, band.top) << r.top << " " << r.viewTop;
        EXPECT_EQ(r.bandBottom, band.bottom) << r.top << " " << r.viewTop;
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
