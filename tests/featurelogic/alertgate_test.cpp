// The alert gate of the plug-in object: the printer asked once for eight page initialisations and
// again from the refresh button, what the windows show, the refresh button's drawing. (Switching
// the alerts on: pagealerts_test.cpp.)
#include <gtest/gtest.h>

#include <string>

#include "alertbinding.h"
#include "common/zqhandles.h"
#include "common/zqlanguage.h"
#include "device/zqalertwnd.h"
#include "devicetest.h"
#include "platform/zqprinterview.h"
#include "testsupport.h"
#include "zqoemui.h"

namespace {

constexpr const wchar_t* kCareKey = L"Software\\Quorvane\\ZQ Mendrix";

int Opens() { return zqdevtest::ICountCalls(L"channel.Open("); }

// A window of the alerts on a parent of its own.
struct CTestWindow {
    CTestWindow() {
        const RECT rc = {0, 0, 480, 280};
        wnd.BCreate(parent, GetModuleHandleW(nullptr), nullptr, IDI_WARNING, IDI_ERROR, &rc);
    }
    ~CTestWindow() { DestroyWindow(parent); }
    HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 500, 300, nullptr, nullptr, nullptr, nullptr);
    CZQAlertWnd wnd;
};

class AlertGate : public zqdevtest::ServerTest {
protected:
    void SetUp() override {
        ServerTest::SetUp();
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, kCareKey);
        zqdevtest::SetScript(L"ZQ Memory Printer", zqtest::BesideExe(L"samples\\zqdesk\\zqdesk.zqd"));
    }
    void TearDown() override {
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, kCareKey);
        ServerTest::TearDown();
    }
};

TEST_F(AlertGate, EightPageInitialisationsAskThePrinterOnceAndTheButtonAgain) {
    zqalerttest::CAlertBinding b;
    CTestWindow first, second;
    ASSERT_TRUE(b.UI()->AlertGateForTesting().BAddAlertWindow(&first.wnd));
    EXPECT_FALSE(b.UI()->AlertGateForTesting().BAddAlertWindow(nullptr));
    // A first query that fails leaves the count, so the next page asks again. (The sheet's view keeps
    // the printer record of the fill pass: dropped, the query's read reaches the failing spooler.)
    zqspool::RefreshViews(b.UI()->BindingForTesting().pCUIParam->hPrinter);
    b.Printer().FailCall(zqspool::MemCall::GetPrinter, ERROR_ACCESS_DENIED, 1);
    EXPECT_FALSE(b.UI()->AlertGateForTesting().BRefreshDeviceStatus(TRUE));
    for (int page = 0; page < 8; ++page) {
        if (page == 3) b.UI()->AlertGateForTesting().BAddAlertWindow(&second.wnd);
        EXPECT_TRUE(b.UI()->AlertGateForTesting().BRefreshDeviceStatus(TRUE)) << page;
    }
    EXPECT_EQ(1, Opens());
    EXPECT_EQ(7, b.UI()->AlertGateForTesting().PageInitCountForTesting());
    ASSERT_EQ(6, second.wnd.ItemCount()) << "a later page shows the alerts of the first query";
    EXPECT_STREQ(first.wnd.Item(5).pszNumbered, second.wnd.Item(5).pszNumbered);
    const StatusRecord& record = *(&b.UI()->BindingForTesting().status);
    CZQLocalPtr<WCHAR> locale;
    ASSERT_TRUE(zqlang::BGetUserLocaleName(locale.Put()));
    EXPECT_EQ(L"ZQ Memory Printer 4 1000 1000 2159x2794 " + std::wstring(locale.Get()),
              std::wstring(record.pszPrinterName) + L" " + std::to_wstring(record.dwPortKind) + L" " +
                  record.pszMediaText + L" " + std::to_wstring(record.dwMediaCode) + L" " +
                  std::to_wstring(record.dwPaperWidth) + L"x" + std::to_wstring(record.dwPaperLength) + L" " +
                  record.pszLocaleName);

    // The refresh button always asks; the printer-care utility runs now.
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, kCareKey, L"Status", REG_SZ, L"ACTIVE", 14);
    EXPECT_TRUE(b.UI()->AlertGateForTesting().BRefreshDeviceStatus(FALSE));
    EXPECT_EQ(2, Opens());
    EXPECT_EQ(5, first.wnd.ItemCount());

    // A record without items hides the windows; the unavailable text never carries a link.
    StatusRecord none, offline;
    EXPECT_TRUE(b.UI()->AlertGateForTesting().BShowAlerts(&none));
    EXPECT_FALSE(IsWindowVisible(first.wnd.Hwnd()));
    StatusItem item;
    item.dwSeverity = ZQ_SEVERITY_ERROR_LINK;
    item.BSetLink(L"never run");
    item.ids.BAppend(-128);
    offline.items.BAppendCopy(item);
    EXPECT_TRUE(b.UI()->AlertGateForTesting().BRemoveAlertWindow(&first.wnd));
    EXPECT_TRUE(b.UI()->AlertGateForTesting().BShowAlerts(&offline));
    EXPECT_FALSE(IsWindowVisible(first.wnd.Hwnd())) << "out of the list";
    ASSERT_EQ(1, second.wnd.ItemCount());
    EXPECT_EQ(ZQ_ALERT_ERROR_LINK, second.wnd.Item(0).dwKind);
    EXPECT_EQ(nullptr, second.wnd.Item(0).pszLink);
}

// A push-button frame, the picture centred with magenta see-through, one pixel further while pressed.
TEST_F(AlertGate, RefreshButtonIsDrawnWithItsPictureCentred) {
    zqalerttest::CAlertBinding b;
    CZQWindowDC screen(nullptr);
    CZQGdiObject bitmap(CreateCompatibleBitmap(screen.Get(), 24, 24));
    CZQMemDC dc(CreateCompatibleDC(screen.Get()));
    CZQSelectObject select(dc.Get(), bitmap.Get());
    for (UINT pressed : {0u, 1u}) {
        DRAWITEMSTRUCT dis = {ODT_BUTTON, 0, 0, ODA_DRAWENTIRE, pressed ? ODS_SELECTED : 0u, nullptr, dc.Get(), {0, 0, 24, 24}, 0};
        EXPECT_TRUE(b.UI()->AlertGateForTesting().BDrawRefreshButton(&dis));
        // The picture's ring passes through its pixel (1, 7); its corner is see-through.
        EXPECT_EQ(RGB(0x10, 0x70, 0xB0), GetPixel(dc.Get(), 5 + pressed, 11 + pressed)) << pressed;
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 24; ++x) ASSERT_NE(RGB(255, 0, 255), GetPixel(dc.Get(), x, y)) << x << "," << y;
    }
    EXPECT_FALSE(b.UI()->AlertGateForTesting().BDrawRefreshButton(nullptr));
}

}  // namespace
