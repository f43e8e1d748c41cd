// The pages' alert pattern on the test page in process: with and without alerts, and a refresh
// after a page with alerts was destroyed. (Under the host: alerts_host_test.cpp.)
#include <gtest/gtest.h>

#include <memory>
#include <tuple>
#include <utility>

#include "alertbinding.h"
#include "alertdialog.h"
#include "alertpage/zqtestalertpage.h"
#include "device/zqalertwnd.h"
#include "res/zqalertids.h"
#include "zqoemui.h"

namespace {

// One page as a sheet makes it: the page object, its context and its dialog.
struct CPage {
    explicit CPage(CZQOemUI* pPlugin)
        : context{&tab,    nullptr, nullptr, nullptr, nullptr, nullptr, &pPlugin->ConstraintGateForTesting(),
                  &pPlugin->AlertGateForTesting(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr} {
        psp.dwSize = sizeof psp;
        psp.lParam = reinterpret_cast<LPARAM>(&context);
        dlg = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ZQTEST_ALERTS), nullptr,
                                 ZQTestAlertPageProc, reinterpret_cast<LPARAM>(&psp));
    }
    ~CPage() { DestroyWindow(dlg); }
    CZQTestAlertTab tab;
    PageContext context;
    PROPSHEETPAGEW psp = {};
    HWND dlg = nullptr;
};

// Any option of "ZQAlerts" with a helper file that loads gives the page its window in place of the
// placeholder and the refresh button; otherwise both are hidden and disabled.
TEST(PageAlerts, ThePageFollowsZQAlerts) {
    for (auto [alerts, helper, on] : {std::tuple<const char*, const char*, bool>{"On", "zqdesk.xml", true},
                                      {"FALSE", "zqroll.xml", true}, {nullptr, "zqdesk.xml", false},
                                      {"On", "absent.xml", false}}) {
        SCOPED_TRACE(helper);
        zqalerttest::CAlertBinding b(alerts, helper);
        CPage page(b.UI());
        EXPECT_EQ(on, b.UI()->AlertGateForTesting().BAlertsEnabled() != FALSE);
        EXPECT_EQ(on, page.tab.alerts.Window() != nullptr);
        EXPECT_EQ(on, FindWindowExW(page.dlg, nullptr, CZQAlertWnd::kClassName, nullptr) != nullptr);
        HWND placeholder = GetDlgItem(page.dlg, IDC_ALERT_PLACEHOLDER), button = GetDlgItem(page.dlg, IDC_ALERT_REFRESH);
        EXPECT_EQ(on, placeholder == nullptr);
        // Shown and enabled by its own style (the test's dialog itself stays hidden).
        for (HWND control : {button, placeholder}) {
            if (!control) continue;
            EXPECT_EQ(on, (GetWindowLongW(control, GWL_STYLE) & (WS_VISIBLE | WS_DISABLED)) == WS_VISIBLE);
        }
        HICON icon = nullptr;
        EXPECT_TRUE(b.UI()->AlertGateForTesting().BGetAlertIcon(&icon));
        EXPECT_EQ(on, icon != nullptr);
    }
}

// Every page's strip covers its placeholder's whole rectangle; the refresh button stays where the
// page puts it.
TEST(PageAlerts, TheStripCoversItsPlaceholderBesideItsButton) {
    zqalerttest::CAlertBinding b;
    CPage page(b.UI());
    ASSERT_NE(nullptr, page.tab.alerts.Window());
    RECT placeholder = {10, 10, 190, 70}, templateButton = {200, 10, 216, 26};
    MapDialogRect(page.dlg, &placeholder);
    MapDialogRect(page.dlg, &templateButton);
    RECT strip, button;
    for (auto [hwnd, rc] : {std::pair{page.tab.alerts.Window()->Hwnd(), &strip},
                            std::pair{GetDlgItem(page.dlg, IDC_ALERT_REFRESH), &button}}) {
        GetWindowRect(hwnd, rc);
        MapWindowPoints(nullptr, page.dlg, reinterpret_cast<POINT*>(rc), 2);
    }
    EXPECT_TRUE(EqualRect(&placeholder, &strip));
    EXPECT_TRUE(EqualRect(&templateButton, &button));
}

// A page takes its window out of the plug-in's list when it goes; the next refresh fills only the
// windows that are left. The printer answers nothing here: the fixed alerts show.
TEST(PageAlerts, RefreshAfterAPageWithAlertsWasDestroyed) {
    zqalerttest::CAlertBinding b;
    auto first = std::make_unique<CPage>(b.UI());
    CPage second(b.UI());
    ASSERT_NE(nullptr, second.tab.alerts.Window());
    EXPECT_EQ(nullptr, GetDlgItem(second.dlg, IDC_ALERT_PLACEHOLDER));
    ASSERT_EQ(2, b.UI()->AlertGateForTesting().WindowsForTesting().GetCount());
    first.reset();
    ASSERT_EQ(1, b.UI()->AlertGateForTesting().WindowsForTesting().GetCount());
    EXPECT_EQ(second.tab.alerts.Window(), b.UI()->AlertGateForTesting().WindowsForTesting().GetAt(0));
    SendMessageW(second.dlg, WM_COMMAND, MAKEWPARAM(IDC_ALERT_REFRESH, BN_CLICKED), 0);
    EXPECT_EQ(3, second.tab.alerts.Window()->ItemCount()) << "unreachable, utility and paper list";
}

}  // namespace
