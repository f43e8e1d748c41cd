// The pages' alert pattern on a test page in process: the window in the placeholder's place, the
// refresh button, a link row run as a command line, a printer without alerts, and a refresh after
// a page with alerts was destroyed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "alertbinding.h"
#include "alertdialog.h"
#include "alertpage/zqtestalertpage.h"
#include "device/zqalertwnd.h"
#include "res/zqalertids.h"
#include "testsupport.h"
#include "zqcmdlogrecord.h"
#include "zqoemui.h"

namespace {

constexpr const wchar_t* kCareKey = L"Software\\Quorvane\\ZQ Mendrix";
constexpr const wchar_t* kUtilityKey = L"SOFTWARE\\Quorvane\\ZQ Tintora";

// One page of the test sheet, made as the sheet makes it.
class CPage {
public:
    explicit CPage(IZQPlugin* pPlugin) {
        m_context.pPage = &m_tab;
        m_context.pPlugin = pPlugin;
        m_psp.dwSize = sizeof m_psp;
        m_psp.lParam = reinterpret_cast<LPARAM>(&m_context);
        m_hDlg = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ZQTEST_ALERTS), nullptr,
                                    ZQTestAlertPageProc, reinterpret_cast<LPARAM>(&m_psp));
        ShowWindow(m_hDlg, SW_SHOW);
    }
    ~CPage() { Destroy(); }
    CPage(const CPage&) = delete;
    CPage& operator=(const CPage&) = delete;
    void Destroy() {
        if (m_hDlg) DestroyWindow(m_hDlg);
        m_hDlg = nullptr;
    }
    HWND Dlg() const { return m_hDlg; }
    HWND Item(int id) const { return GetDlgItem(m_hDlg, id); }
    CZQAlertWnd* Alerts() const { return m_tab.alerts.Window(); }
    std::vector<std::wstring> Rows() const {
        std::vector<std::wstring> rows;
        for (int i = 0; Alerts() && i < Alerts()->ItemCount(); ++i) rows.emplace_back(Alerts()->Item(i).pszNumbered);
        return rows;
    }
    void Refresh() const {
        SendMessageW(m_hDlg, WM_COMMAND, MAKEWPARAM(IDC_ALERT_REFRESH, BN_CLICKED),
                     reinterpret_cast<LPARAM>(Item(IDC_ALERT_REFRESH)));
    }

private:
    CZQTestAlertTab m_tab;
    PageContext m_context = {};
    PROPSHEETPAGEW m_psp = {};
    HWND m_hDlg = nullptr;
};

std::wstring LastCommandLine() {
    WCHAR text[2048] = {};
    DWORD cb = sizeof text;
    for (int i = 0; i < 100; ++i, Sleep(100)) {
        cb = sizeof text;
        if (RegGetValueW(HKEY_CURRENT_USER, kZQCmdLogKey, L"Last", RRF_RT_REG_SZ, nullptr, text, &cb) == ERROR_SUCCESS)
            break;
    }
    return text;
}

class PageAlerts : public ::testing::Test {
protected:
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }
    static void Clean() {
        for (const wchar_t* key : {kCareKey, kUtilityKey}) RegDeleteTreeW(HKEY_LOCAL_MACHINE, key);
        RegDeleteTreeW(HKEY_CURRENT_USER, kZQCmdLogKey);
    }
};

TEST_F(PageAlerts, WithoutAlertsThePlaceholderAndTheButtonAreHiddenAndDisabled) {
    zqalerttest::CAlertBinding b(nullptr);
    CPage page(b.UI());
    for (int id : {IDC_ALERT_PLACEHOLDER, IDC_ALERT_REFRESH}) {
        ASSERT_NE(nullptr, page.Item(id)) << id;
        EXPECT_FALSE(IsWindowVisible(page.Item(id))) << id;
        EXPECT_FALSE(IsWindowEnabled(page.Item(id))) << id;
    }
    EXPECT_EQ(nullptr, page.Alerts());
    EXPECT_EQ(nullptr, FindWindowExW(page.Dlg(), nullptr, CZQAlertWnd::kClassName, nullptr));
}

// The printer answers nothing here (its servers are not registered): the fixed alerts show.
TEST_F(PageAlerts, ThePageShowsTheAlertsRefreshesOnTheButtonAndRunsALink) {
    const std::wstring tool = zqtest::BesideExe(L"zqcmdlog.exe");
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, kUtilityKey, L"RunCC", REG_SZ, tool.c_str(),
                    static_cast<DWORD>((tool.size() + 1) * sizeof(wchar_t)));
    RECT placeholder = {};
    {
        zqalerttest::CAlertBinding off(nullptr);
        CPage plain(off.UI());
        GetWindowRect(plain.Item(IDC_ALERT_PLACEHOLDER), &placeholder);
        MapWindowPoints(nullptr, plain.Dlg(), reinterpret_cast<POINT*>(&placeholder), 2);
    }
    zqalerttest::CAlertBinding b;
    CPage page(b.UI());
    ASSERT_NE(nullptr, page.Alerts());
    EXPECT_EQ(nullptr, page.Item(IDC_ALERT_PLACEHOLDER));
    RECT rc = {};
    GetWindowRect(page.Alerts()->Hwnd(), &rc);
    MapWindowPoints(nullptr, page.Dlg(), reinterpret_cast<POINT*>(&rc), 2);
    EXPECT_TRUE(EqualRect(&placeholder, &rc));
    EXPECT_TRUE(IsWindowVisible(page.Item(IDC_ALERT_REFRESH)));
    EXPECT_EQ((std::vector<std::wstring>{
                  L"[1/3] The printer's status could not be read. Check that Printer Care is installed and the printer is on.",
                  L"[2/3] Printer Care is not running, so some printer alerts may be missing. Start Printer Care to see them all.",
                  L"[3/3] The printer's paper list has not been updated. Click here to update it."}),
              page.Rows());

    // The user presses the paper list's link: its command line runs.
    UpdateWindow(page.Alerts()->Hwnd());
    const RECT link = page.Alerts()->Item(2).rcLink;
    const LPARAM at = MAKELPARAM((link.left + link.right) / 2, (link.top + link.bottom) / 2);
    SendMessageW(page.Alerts()->Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(page.Alerts()->Hwnd(), WM_LBUTTONUP, 0, at);
    EXPECT_EQ(L"\"" + tool + L"\" \"ZQ Memory Printer\" \"" + b.UI()->Status()->pszLocaleName + L"\" \"update_papers\"",
              LastCommandLine());

    // The printer-care utility starts; the refresh button asks again.
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, kCareKey, L"Status", REG_SZ, L"Active", 14);
    page.Refresh();
    EXPECT_EQ(2u, page.Rows().size());
    EXPECT_EQ(1, b.UI()->Alerts().PageInitCount()) << "one page initialisation";

    // The owner-drawn button is drawn through the plug-in.
    HDC dc = GetDC(page.Dlg());
    DRAWITEMSTRUCT dis = {ODT_BUTTON, IDC_ALERT_REFRESH, 0, ODA_DRAWENTIRE, 0, page.Item(IDC_ALERT_REFRESH), dc, {0, 0, 20, 20}, 0};
    EXPECT_EQ(TRUE, SendMessageW(page.Dlg(), WM_DRAWITEM, IDC_ALERT_REFRESH, reinterpret_cast<LPARAM>(&dis)));
    ReleaseDC(page.Dlg(), dc);
}

// A page with alerts takes its window out of the plug-in's list when it goes: the next refresh
// fills only the windows that are left.
TEST_F(PageAlerts, RefreshAfterAPageWithAlertsWasDestroyed) {
    zqalerttest::CAlertBinding b;
    CPage first(b.UI()), second(b.UI());
    ASSERT_EQ(2, b.UI()->Alerts().Windows().GetCount());
    first.Destroy();
    EXPECT_EQ(1, b.UI()->Alerts().Windows().GetCount());
    EXPECT_EQ(second.Alerts(), b.UI()->Alerts().Windows().GetAt(0));
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, kCareKey, L"Status", REG_SZ, L"ACTIVE", 14);
    second.Refresh();
    EXPECT_EQ(2u, second.Rows().size());
}

}  // namespace
