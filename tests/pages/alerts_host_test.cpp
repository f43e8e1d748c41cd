// The desk sample under the core driver stand-in with a test build of the plug-in whose only page
// follows the alert pattern: Printing Preferences show what the sample device raises, the refresh
// button asks the device again, and a link row starts its command line. The desk printer itself on
// a printer port shows the same rows on its Paper/Quality page, with the agent and the link served
// from their programs' processes.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "alertpage/zqtestalertpage.h"
#include "device/zqalertwnd.h"
#include "devicetest.h"
#include "hosttest.h"
#include "res/zqalertids.h"
#include "testsupport.h"
#include "zqcmdlogrecord.h"
#include "zqinstall.h"

namespace {

constexpr const wchar_t* kPrinter = L"ZQ Desk Alert Page";
constexpr const wchar_t* kCareKey = L"Software\\Quorvane\\ZQ Mendrix";
constexpr const wchar_t* kUtilityKey = L"SOFTWARE\\Quorvane\\ZQ Tintora";

// The desk model with the test build as its plug-in, under a driver name of its own.
std::wstring WriteModel() {
    std::ifstream in(zqtest::BesideExe(zqhosttest::kDeskModel).c_str(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    std::string model = text.str();
    for (auto [from, to] : {std::pair<std::string, std::string>{"Inkjet\n", "Alert Page\n"},
                            {"zqoemui.dll\n", "zqalertpageui.dll\n"}})
        model.replace(model.find(from), from.size(), to);
    const std::wstring path = zqtest::BesideExe(L"samples\\zqdesk\\zqdeskalerts.zqm");
    std::ofstream(path.c_str(), std::ios::binary) << model;
    return path;
}

std::vector<std::wstring> Rows(const CZQAlertWnd* wnd) {
    std::vector<std::wstring> rows;
    for (int i = 0; wnd && i < wnd->ItemCount(); ++i) rows.emplace_back(wnd->Item(i).pszNumbered);
    return rows;
}

// A press and release on the first row's link, as a user's click.
void ClickFirstLink(HWND list, const CZQAlertWnd* wnd) {
    UpdateWindow(list);
    const RECT link = wnd->Item(0).rcLink;
    const LPARAM at = MAKELPARAM((link.left + link.right) / 2, (link.top + link.bottom) / 2);
    SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(list, WM_LBUTTONUP, 0, at);
}

class AlertsUnderHost : public zqdevtest::ServerTest {
protected:
    static void SetUpTestSuite() {
        ServerTest::SetUpTestSuite();
        ZQInstallResult result;
        ASSERT_TRUE(ZQInstallPrinter(WriteModel(), zqtest::ExeDir(), kPrinter, result));
    }
    void TearDown() override {
        for (const wchar_t* key : {kCareKey, kUtilityKey}) RegDeleteTreeW(HKEY_LOCAL_MACHINE, key);
        RegDeleteTreeW(HKEY_CURRENT_USER, kZQCmdLogKey);
        ServerTest::TearDown();
    }
};

TEST_F(AlertsUnderHost, PreferencesShowTheDevicesAlertsRefreshAndRunALink) {
    const std::wstring tool = zqtest::BesideExe(L"zqcmdlog.exe");
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, kUtilityKey, L"RunCC", REG_SZ, tool.c_str(),
                    static_cast<DWORD>((tool.size() + 1) * sizeof(wchar_t)));
    CZQSpoolPrinter h = zqhosttest::OpenFully(kPrinter);
    // A queue on a printer port: a FILE: queue is never asked.
    DWORD needed = 0;
    GetPrinterW(h.Get(), 2, nullptr, 0, &needed);
    std::vector<BYTE> info(needed);
    ASSERT_TRUE(GetPrinterW(h.Get(), 2, info.data(), needed, &needed));
    reinterpret_cast<PRINTER_INFO_2W*>(info.data())->pPortName = const_cast<PWSTR>(L"LPT1:");
    ASSERT_TRUE(SetPrinterW(h.Get(), 2, info.data(), 0));

    std::vector<std::wstring> shown, refreshed;
    int opensShown = 0, opensRefreshed = 0;
    std::vector<BYTE> out;
    CZQAutoPress press(50, [&](HWND sheet) {
        const std::vector<std::wstring> tabs = zqtest::TabTitles(sheet);
        for (size_t i = 0; i < tabs.size(); ++i)
            if (tabs[i] == kZQTestAlertTitle) SendMessageW(sheet, PSM_SETCURSEL, i, 0);
        HWND page = zqhosttest::CurrentPage(sheet);
        HWND list = FindWindowExW(page, nullptr, CZQAlertWnd::kClassName, nullptr);
        // The window's object lives in the plug-in's module, built from the same declaration.
        const auto* wnd = reinterpret_cast<const CZQAlertWnd*>(GetWindowLongPtrW(list, GWLP_USERDATA));
        if (!wnd) return;
        shown = Rows(wnd);
        opensShown = zqdevtest::ICountCalls(L"channel.Open(");
        RegSetKeyValueW(HKEY_LOCAL_MACHINE, kCareKey, L"Status", REG_SZ, L"ACTIVE", 14);
        SendMessageW(GetDlgItem(page, IDC_ALERT_REFRESH), BM_CLICK, 0, 0);
        refreshed = Rows(wnd);
        opensRefreshed = zqdevtest::ICountCalls(L"channel.Open(");
        ClickFirstLink(list, wnd);
    });
    EXPECT_EQ(IDOK, ZQOpenPreferences(h.Get(), kPrinter, nullptr, out));
    EXPECT_EQ((std::vector<std::wstring>{
                  L"[1/6] Alerts may be missing: the status utility is not running. Start the status utility to see every alert.",
                  L"[2/6] The printer's paper list has not been updated. Click here to update it.",
                  L"[3/6] The printer has stopped: paper jam-out of paper.",
                  L"[4/6] The black cartridge is low. Click here to order a new one.",
                  L"[5/6] A cartridge that is not genuine is installed.", L"[6/6] A paper tray is empty."}),
              shown);
    EXPECT_EQ(1, opensShown);
    EXPECT_EQ(2, opensRefreshed);
    ASSERT_EQ(5u, refreshed.size());
    EXPECT_EQ(L"[1/5] The printer's paper list has not been updated. Click here to update it.", refreshed[0]);

    // The paper list's link ran the paper-update utility for this printer.
    const std::wstring ran = zqtest::LoggedCommandLine(true);
    EXPECT_EQ(0u, ran.find(L"\"" + tool + L"\" \"" + kPrinter + L"\" \"")) << ran;
    EXPECT_NE(std::wstring::npos, ran.find(L"\" \"update_papers\"")) << ran;
}

// The plug-in's own Paper/Quality page of the desk printer on a printer port: the device's alert
// rows, and the paper list's link starts the paper-update utility for this printer.
TEST_F(AlertsUnderHost, DeskPrinterOnAPortShowsItsAlertsOnThePaperQualityPage) {
    const wchar_t* printer = L"ZQ Desk 2400 Alerts";
    ZQInstallResult installed;
    ASSERT_TRUE(ZQInstallPrinter(zqtest::BesideExe(zqhosttest::kDeskModel), zqtest::ExeDir(), printer, installed, L"LPT1:"));
    const std::wstring tool = zqtest::BesideExe(L"zqcmdlog.exe");
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, kCareKey, L"Status", REG_SZ, L"ACTIVE", 14);
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, kUtilityKey, L"RunCC", REG_SZ, tool.c_str(),
                    static_cast<DWORD>((tool.size() + 1) * sizeof(wchar_t)));
    CZQSpoolPrinter h = zqhosttest::OpenFully(printer);
    std::vector<std::wstring> shown;
    std::vector<BYTE> out;
    {
        zqdevtest::CServersOutOfProcess programs;
        CZQAutoPress press(50, [&](HWND sheet) {
            ASSERT_TRUE(ZQShowPage(sheet, L"Paper/Quality"));
            HWND page = zqhosttest::CurrentPage(sheet);
            HWND list = FindWindowExW(page, nullptr, CZQAlertWnd::kClassName, nullptr);
            const auto* wnd = reinterpret_cast<const CZQAlertWnd*>(GetWindowLongPtrW(list, GWLP_USERDATA));
            ASSERT_NE(nullptr, wnd);
            shown = Rows(wnd);
            ClickFirstLink(list, wnd);
        });
        EXPECT_EQ(IDOK, ZQOpenPreferences(h.Get(), printer, nullptr, out));
    }
    EXPECT_EQ((std::vector<std::wstring>{L"[1/5] The printer's paper list has not been updated. Click here to update it.",
                                         L"[2/5] The printer has stopped: paper jam-out of paper.",
                                         L"[3/5] The black cartridge is low. Click here to order a new one.",
                                         L"[4/5] A cartridge that is not genuine is installed.",
                                         L"[5/5] A paper tray is empty."}),
              shown);
    const std::wstring ran = zqtest::LoggedCommandLine(true);
    EXPECT_EQ(0u, ran.find(L"\"" + tool + L"\" \"" + printer + L"\" \"")) << ran;
}

}  // namespace
