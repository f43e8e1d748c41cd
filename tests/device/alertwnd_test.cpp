// The alert window on a real dialog: numbering and layout, links pressed and released, cursors,
// keys, the right-to-left parent and the control ids.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "alertdialog.h"
#include "device/zqalertwnd.h"
#include "res/zqalertids.h"

namespace {

struct Notice {
    WPARAM row;
    std::wstring link;
};
std::vector<Notice> g_notices;

INT_PTR CALLBACK RecordingDlgProc(HWND, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (uMsg == kZQAlertLinkMessage)
        g_notices.push_back({wParam, lParam ? reinterpret_cast<PCWSTR>(lParam) : L"(null)"});
    return uMsg == WM_INITDIALOG;
}

class AlertWindow : public ::testing::Test {
protected:
    void SetUp() override { g_notices.clear(); }
    void TearDown() override {
        for (HWND dlg : m_dialogs) DestroyWindow(dlg);
    }
    HWND Dialog(int id = IDD_ZQTEST_ALERTS) {
        HWND dlg = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), nullptr, RecordingDlgProc, 0);
        ShowWindow(dlg, SW_SHOW);
        m_dialogs.push_back(dlg);
        return dlg;
    }
    // A window over the placeholder's rectangle, with the system's icons as the pages ask.
    bool Create(CZQAlertWnd& wnd, HWND dlg) {
        RECT rc = {};
        HWND placeholder = GetDlgItem(dlg, IDC_ALERT_PLACEHOLDER);
        GetClientRect(placeholder, &rc);
        MapWindowPoints(placeholder, dlg, reinterpret_cast<POINT*>(&rc), 2);
        return wnd.BCreate(dlg, GetModuleHandleW(nullptr), nullptr, MAKEINTRESOURCEW(32515),
                           MAKEINTRESOURCEW(32513), &rc) != FALSE;
    }
    static std::vector<std::wstring> Numbered(const CZQAlertWnd& wnd) {
        std::vector<std::wstring> rows;
        for (int i = 0; i < wnd.ItemCount(); ++i) rows.emplace_back(wnd.Item(i).pszNumbered);
        return rows;
    }
    static int ScrollPos(const CZQAlertWnd& wnd) { return GetScrollPos(wnd.Hwnd(), SB_VERT); }
    static LPARAM At(const RECT& rc, int scroll) {
        return MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2 - scroll);
    }

    std::vector<HWND> m_dialogs;
};

TEST_F(AlertWindow, RowsAreNumberedAndLaidOutAgainOnEveryAdd) {
    CZQAlertWnd wnd;
    EXPECT_FALSE(wnd.BAddItem(L"no window yet", ZQ_ALERT_WARNING, nullptr));
    ASSERT_TRUE(Create(wnd, Dialog()));
    std::wstring longText;
    for (int i = 0; i < 60; ++i) longText += L"word ";
    ASSERT_TRUE(wnd.BAddItem(L"Short", ZQ_ALERT_WARNING, nullptr));
    ASSERT_TRUE(wnd.BAddItem((longText + L" " + longText).c_str(), ZQ_ALERT_ERROR, nullptr));
    ASSERT_TRUE(wnd.BAddItem(L"", ZQ_ALERT_ERROR_LINK, L"run"));
    EXPECT_EQ((std::vector<std::wstring>{L"[1/3] Short", L"[2/3] " + longText + L" " + longText, L"[3/3] "}),
              Numbered(wnd));
    ASSERT_TRUE(wnd.BAddItem(L"Fourth", ZQ_ALERT_WARNING_LINK, nullptr));
    EXPECT_EQ(L"[1/4] Short", Numbered(wnd)[0]);
    EXPECT_EQ(L"[4/4] Fourth", Numbered(wnd)[3]);

    // Bad rows are refused and change nothing.
    EXPECT_FALSE(wnd.BAddItem(nullptr, ZQ_ALERT_WARNING, nullptr));
    EXPECT_FALSE(wnd.BAddItem(L"kind", ZQ_ALERT_KIND_NONE, nullptr));
    ASSERT_EQ(4, wnd.ItemCount());

    // Each row starts 2 pixels below the one before; a one-line row still holds its icon.
    int top = CZQAlertWnd::kRowGap, total = 0;
    for (int i = 0; i < wnd.ItemCount(); ++i) {
        const AlertItem& item = wnd.Item(i);
        EXPECT_EQ(i + 1, item.iPosition);
        EXPECT_EQ(top, item.rcRow.top) << i;
        top = item.rcRow.bottom + CZQAlertWnd::kRowGap;
        total += item.rcRow.bottom - item.rcRow.top + CZQAlertWnd::kRowGap;
    }
    EXPECT_EQ(CZQAlertWnd::kMinRowHeight, wnd.Item(0).rcRow.bottom - wnd.Item(0).rcRow.top);
    EXPECT_GT(wnd.Item(1).rcRow.bottom - wnd.Item(1).rcRow.top, 3 * CZQAlertWnd::kMinRowHeight) << "wrapped";
    int low = 0, high = 0;
    GetScrollRange(wnd.Hwnd(), SB_VERT, &low, &high);
    EXPECT_EQ(total, high);

    wnd.VClearItems();
    EXPECT_EQ(0, wnd.ItemCount());
}

// Press and release on one link sends its row and link; on two links, or without links, nothing.
TEST_F(AlertWindow, PressAndReleaseOnOneLinkTellTheParent) {
    CZQAlertWnd wnd;
    HWND dlg = Dialog();
    ASSERT_TRUE(Create(wnd, dlg));
    ASSERT_TRUE(wnd.BAddItem(L"Plain", ZQ_ALERT_WARNING, L"never sent"));
    ASSERT_TRUE(wnd.BAddItem(L"First link", ZQ_ALERT_ERROR_LINK, L"\"first.exe\" \"a\""));
    ASSERT_TRUE(wnd.BAddItem(L"Second link", ZQ_ALERT_WARNING_LINK, nullptr));
    UpdateWindow(wnd.Hwnd());  // painting records where each text went
    const RECT plain = wnd.Item(0).rcLink, first = wnd.Item(1).rcLink, second = wnd.Item(2).rcLink;
    ASSERT_GT(first.right, first.left);

    struct Row {
        const char* what;
        RECT press, release;
        std::vector<std::wstring> sent;  // "row:link"
    } rows[] = {
        {"the same link", first, first, {L"1:\"first.exe\" \"a\""}},
        {"a link without a text", second, second, {L"2:(null)"}},
        {"pressed on one link, released on another", first, second, {}},
        {"a row that is no link", plain, plain, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        g_notices.clear();
        SendMessageW(wnd.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At(row.press, 0));
        SendMessageW(wnd.Hwnd(), WM_LBUTTONUP, 0, At(row.release, 0));
        std::vector<std::wstring> sent;
        for (const Notice& n : g_notices) sent.push_back(std::to_wstring(n.row) + L":" + n.link);
        EXPECT_EQ(row.sent, sent);
    }
    EXPECT_FALSE(wnd.Item(0).bVisited);
    EXPECT_TRUE(wnd.Item(1).bVisited);
    EXPECT_TRUE(wnd.Item(2).bVisited);

    // The cursor shows the hand over a link, the arrow elsewhere.
    const HCURSOR hand = LoadCursorW(nullptr, MAKEINTRESOURCEW(32649));
    const HCURSOR arrow = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    for (const auto& [rc, cursor] : {std::pair<RECT, HCURSOR>{first, hand}, {plain, arrow}}) {
        POINT pt = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
        ClientToScreen(wnd.Hwnd(), &pt);
        SetCursorPos(pt.x, pt.y);
        SetCursor(nullptr);
        EXPECT_EQ(TRUE, SendMessageW(wnd.Hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(wnd.Hwnd()), HTCLIENT));
        EXPECT_EQ(cursor, GetCursor());
    }
}

TEST_F(AlertWindow, WithoutLinksTheMouseAndCursorAreLeftAlone) {
    CZQAlertWnd wnd;
    ASSERT_TRUE(Create(wnd, Dialog()));
    ASSERT_TRUE(wnd.BAddItem(L"Plain", ZQ_ALERT_ERROR, L"a link text on a plain row"));
    UpdateWindow(wnd.Hwnd());
    const LPARAM at = At(wnd.Item(0).rcLink, 0);
    SendMessageW(wnd.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(wnd.Hwnd(), WM_LBUTTONUP, 0, at);
    EXPECT_TRUE(g_notices.empty());
    SetCursor(nullptr);
    EXPECT_EQ(FALSE, SendMessageW(wnd.Hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(wnd.Hwnd()), HTCLIENT));
    EXPECT_EQ(nullptr, GetCursor());
}

TEST_F(AlertWindow, KeysScrollAndAScrolledLinkStillAnswers) {
    CZQAlertWnd wnd;
    HWND dlg = Dialog();
    ASSERT_TRUE(Create(wnd, dlg));
    for (int i = 0; i < 12; ++i) ASSERT_TRUE(wnd.BAddItem(L"Row", i == 11 ? ZQ_ALERT_ERROR_LINK : ZQ_ALERT_WARNING, L"last"));
    RECT client = {};
    GetClientRect(wnd.Hwnd(), &client);
    SCROLLINFO si = {};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    GetScrollInfo(wnd.Hwnd(), SB_VERT, &si);
    ASSERT_EQ(static_cast<UINT>(client.bottom), si.nPage);
    const int last = si.nMax - static_cast<int>(si.nPage) + 1;
    struct Row {
        WPARAM key;
        int pos;
    } rows[] = {
        {VK_NEXT, client.bottom},   {VK_DOWN, client.bottom + 2}, {VK_UP, client.bottom},
        {'A', client.bottom},       {VK_END, last},               {VK_NEXT, last},
        {VK_PRIOR, last - client.bottom}, {VK_HOME, 0},           {VK_UP, 0},
    };
    for (const Row& row : rows) {
        SendMessageW(wnd.Hwnd(), WM_KEYDOWN, row.key, 0);
        EXPECT_EQ(row.pos, ScrollPos(wnd)) << row.key;
    }
    SendMessageW(wnd.Hwnd(), WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 40), 0);
    EXPECT_EQ(40, ScrollPos(wnd));

    // At the bottom the last row's link answers where it is shown.
    SendMessageW(wnd.Hwnd(), WM_KEYDOWN, VK_END, 0);
    UpdateWindow(wnd.Hwnd());
    const LPARAM at = At(wnd.Item(11).rcLink, last);
    SendMessageW(wnd.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(wnd.Hwnd(), WM_LBUTTONUP, 0, at);
    ASSERT_EQ(1u, g_notices.size());
    EXPECT_EQ(11u, g_notices[0].row);
}

TEST_F(AlertWindow, CreationFollowsTheParentAndEachWindowGetsItsOwnId) {
    CZQAlertWnd ltr, rtl, again;
    HWND dlg = Dialog(), mirrored = Dialog(IDD_ZQTEST_ALERTS_RTL);
    ASSERT_TRUE(Create(ltr, dlg));
    EXPECT_FALSE(Create(ltr, dlg)) << "one window per object";
    ASSERT_TRUE(Create(rtl, mirrored));
    RECT rc = {0, 0, 10, 10};
    EXPECT_FALSE(again.BCreate(nullptr, GetModuleHandleW(nullptr), nullptr, IDI_WARNING, IDI_ERROR, &rc));
    EXPECT_FALSE(again.BCreate(dlg, nullptr, nullptr, IDI_WARNING, IDI_ERROR, &rc));
    EXPECT_FALSE(again.BCreate(dlg, GetModuleHandleW(nullptr), nullptr, IDI_WARNING, IDI_ERROR, nullptr));

    for (HWND hwnd : {ltr.Hwnd(), rtl.Hwnd()}) {
        WCHAR cls[64] = {};
        GetClassNameW(hwnd, cls, 64);
        EXPECT_STREQ(CZQAlertWnd::kClassName, cls);
        EXPECT_EQ(0x50210000u, static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)) & 0xFFFF0000u);
        EXPECT_TRUE(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
        // Directly after the refresh button in the parent's order.
        EXPECT_EQ(hwnd, GetWindow(GetDlgItem(GetParent(hwnd), IDC_ALERT_REFRESH), GW_HWNDNEXT));
    }
    EXPECT_FALSE(GetWindowLongW(ltr.Hwnd(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL);
    EXPECT_TRUE(GetWindowLongW(rtl.Hwnd(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL);
    const int id = GetDlgCtrlID(ltr.Hwnd());
    EXPECT_EQ(CZQAlertWnd::kFirstControlId % 4, id % 4);
    EXPECT_EQ(id + CZQAlertWnd::kControlIdStep, GetDlgCtrlID(rtl.Hwnd()));

    // A window destroyed with its dialog leaves an object that refuses everything.
    DestroyWindow(dlg);
    m_dialogs.erase(m_dialogs.begin());
    EXPECT_EQ(nullptr, ltr.Hwnd());
    EXPECT_FALSE(ltr.BAddItem(L"late", ZQ_ALERT_WARNING, nullptr));
    EXPECT_FALSE(ltr.BDestroy());
    EXPECT_TRUE(rtl.BDestroy());
    EXPECT_FALSE(rtl.BDestroy());
}

}  // namespace
