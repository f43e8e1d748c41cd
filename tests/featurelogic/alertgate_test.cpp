// The alert gate of the plug-in object: switched on by "ZQAlerts", the printer queried once for
// eight page initialisations and again from the refresh button, the rows every registered window
// shows, and the refresh button's drawing.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "alertbinding.h"
#include "common/zqhandles.h"
#include "common/zqlanguage.h"
#include "device/zqalertwnd.h"
#include "devicetest.h"
#include "testsupport.h"
#include "zqdevrecord.h"
#include "zqoemui.h"

namespace {

constexpr const wchar_t* kCareKey = L"Software\\Quorvane\\ZQ Mendrix";

int Opens() {
    const std::vector<std::wstring> log = zqdevtest::Log();
    return static_cast<int>(std::count_if(log.begin(), log.end(), [](const std::wstring& line) {
        return line.rfind(L"channel.Open(", 0) == 0;
    }));
}

// A window of the alerts on a parent of its own.
class CTestWindow {
public:
    CTestWindow() {
        m_parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 500, 300, nullptr, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
        const RECT rc = {0, 0, 480, 280};
        wnd.BCreate(m_parent, GetModuleHandleW(nullptr), nullptr, IDI_WARNING, IDI_ERROR, &rc);
    }
    ~CTestWindow() {
        wnd.BDestroy();
        DestroyWindow(m_parent);
    }
    CTestWindow(const CTestWindow&) = delete;
    CTestWindow& operator=(const CTestWindow&) = delete;
    std::vector<std::wstring> Rows() const {
        std::vector<std::wstring> rows;
        for (int i = 0; i < wnd.ItemCount(); ++i)
            rows.push_back(std::to_wstring(wnd.Item(i).dwKind) + L" " + wnd.Item(i).pszNumbered +
                           (wnd.Item(i).pszLink ? L" -> " + std::wstring(wnd.Item(i).pszLink) : L""));
        return rows;
    }
    CZQAlertWnd wnd;

private:
    HWND m_parent = nullptr;
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

TEST_F(AlertGate, AnyOptionOfZQAlertsSwitchesThemOnWhenTheHelperFileLoads) {
    struct Row {
        const char* alerts;
        const char* helper;
        BOOL on;
    } rows[] = {
        {"On", "zqdesk.xml", TRUE},
        {"FALSE", "zqdesk.xml", TRUE},
        {"0", "zqroll.xml", TRUE},
        {nullptr, "zqdesk.xml", FALSE},
        {"On", "absent.xml", FALSE},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.alerts ? row.alerts : "(none)") + " " + row.helper);
        zqalerttest::CAlertBinding b(row.alerts, row.helper);
        CTestWindow w;
        EXPECT_EQ(row.on, b.UI()->BAlertsEnabled());
        EXPECT_EQ(row.on, b.UI()->BAddAlertWindow(&w.wnd));
        EXPECT_FALSE(b.UI()->BAddAlertWindow(nullptr));
        EXPECT_EQ(row.on, b.UI()->BRefreshDeviceStatus(TRUE));
        HICON icon = nullptr;
        EXPECT_TRUE(b.UI()->BGetAlertIcon(&icon));
        EXPECT_EQ(row.on != FALSE, icon != nullptr);
        EXPECT_EQ(row.on ? 1 : 0, Opens());
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kZQDevServersKey, L"Log");
    }
}

TEST_F(AlertGate, EightPageInitialisationsQueryThePrinterOnceAndTheButtonAgain) {
    zqalerttest::CAlertBinding b;
    CTestWindow first, second;
    ASSERT_TRUE(b.UI()->BAddAlertWindow(&first.wnd));
    // A first query that fails leaves the count, so the next page asks again.
    b.Printer().FailCall(zqspool::MemCall::GetPrinter, ERROR_ACCESS_DENIED, 1);
    EXPECT_FALSE(b.UI()->BRefreshDeviceStatus(TRUE));
    EXPECT_EQ(0, b.UI()->Alerts().PageInitCount());
    for (int page = 0; page < 8; ++page) {
        if (page == 3) {
            ASSERT_TRUE(b.UI()->BAddAlertWindow(&second.wnd));
        }
        EXPECT_TRUE(b.UI()->BRefreshDeviceStatus(TRUE)) << page;
    }
    EXPECT_EQ(1, Opens());
    EXPECT_EQ(7, b.UI()->Alerts().PageInitCount());
    const std::vector<std::wstring> rows = {
        L"0 [1/6] Printer Care is not running, so some printer alerts may be missing. Start Printer Care to see them all.",
        L"2 [2/6] The printer's paper list has not been updated. Click here to update it.",
        L"0 [3/6] The printer has stopped: paper jam-out of paper.",
        L"2 [4/6] The black cartridge is low. Click here to order a new one. -> \"\"-utility\" \"\" \"-printer\" "
        L"\"ZQ Memory Printer\" \"-locale\" \"" + std::wstring(b.UI()->Status()->pszLocaleName) + L"\" \"",
        L"0 [5/6] A cartridge that is not genuine is installed.",
        L"0 [6/6] A paper tray is empty.",
    };
    EXPECT_EQ(rows, first.Rows());
    EXPECT_EQ(rows, second.Rows()) << "a later page shows the cached alerts";

    // What the query read: the printer, its port (USB: queried), the paper and media, the locale.
    const StatusRecord& record = *b.UI()->Status();
    EXPECT_STREQ(L"ZQ Memory Printer", record.pszPrinterName);
    EXPECT_EQ(4u, record.dwPortKind);
    EXPECT_STREQ(L"1000", record.pszMediaText);
    EXPECT_EQ(1000u, record.dwMediaCode);
    EXPECT_EQ(2159u, record.dwPaperWidth);
    EXPECT_EQ(2794u, record.dwPaperLength);
    CZQLocalPtr<WCHAR> locale;
    ASSERT_TRUE(zqlang::BGetUserLocaleName(locale.Put()));
    EXPECT_STREQ(locale.Get(), record.pszLocaleName);
    EXPECT_EQ(std::wstring::npos, std::wstring(locale.Get()).find(L'_'));

    // The refresh button always asks; the printer-care utility now runs.
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, kCareKey, L"Status", REG_SZ, L"ACTIVE", 14);
    EXPECT_TRUE(b.UI()->BRefreshDeviceStatus(FALSE));
    EXPECT_EQ(2, Opens());
    EXPECT_EQ(5, first.wnd.ItemCount());
    EXPECT_EQ(L"2 [1/5] The printer's paper list has not been updated. Click here to update it.", first.Rows()[0]);

    // A record without items hides every window; the unavailable text never carries a link.
    StatusRecord none;
    EXPECT_TRUE(b.UI()->BShowAlerts(&none));
    EXPECT_FALSE(IsWindowVisible(first.wnd.Hwnd()));
    StatusRecord offline;
    StatusItem item;
    item.dwSeverity = ZQ_SEVERITY_ERROR_LINK;
    item.BSetLink(L"never run");
    item.ids.BAppend(-128);
    offline.items.BAppendCopy(item);
    EXPECT_TRUE(b.UI()->BShowAlerts(&offline));
    EXPECT_TRUE(IsWindowVisible(second.wnd.Hwnd()));
    EXPECT_EQ((std::vector<std::wstring>{
                  L"3 [1/1] Status and Service unavailable.  Device may be offline or unreachable at this time."}),
              second.Rows());

    // Once taken out of the list a window is left alone.
    EXPECT_TRUE(b.UI()->BRemoveAlertWindow(&first.wnd));
    EXPECT_FALSE(b.UI()->BRemoveAlertWindow(&first.wnd));
    EXPECT_TRUE(b.UI()->BRefreshDeviceStatus(FALSE));
    EXPECT_EQ(1, first.wnd.ItemCount());
    EXPECT_EQ(5, second.wnd.ItemCount());
}

// The owner-drawn button: a push-button frame, the picture centred with magenta see-through, one
// pixel further right and down while pressed.
TEST_F(AlertGate, RefreshButtonIsDrawnWithItsPictureCentred) {
    zqalerttest::CAlertBinding b;
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = 24;
    bi.bmiHeader.biHeight = -24;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    CZQGdiObject dib(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    CZQMemDC dc(CreateCompatibleDC(nullptr));
    ASSERT_TRUE(dib && dc);
    CZQSelectObject select(dc.Get(), dib.Get());
    const COLORREF arrow = RGB(0x10, 0x70, 0xB0);
    for (UINT state : {0u, static_cast<UINT>(ODS_SELECTED)}) {
        DRAWITEMSTRUCT dis = {};
        dis.CtlType = ODT_BUTTON;
        dis.itemState = state;
        dis.hDC = dc.Get();
        dis.rcItem = {0, 0, 24, 24};
        EXPECT_TRUE(b.UI()->BDrawRefreshButton(&dis));
        const int shift = state ? 1 : 0;
        // The picture's ring passes through its pixel (1, 7); its corner is see-through.
        EXPECT_EQ(arrow, GetPixel(dc.Get(), 4 + 1 + shift, 4 + 7 + shift)) << state;
        EXPECT_NE(arrow, GetPixel(dc.Get(), 4 + shift, 4 + shift)) << state;
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 24; ++x) ASSERT_NE(RGB(255, 0, 255), GetPixel(dc.Get(), x, y)) << x << "," << y;
    }
    EXPECT_FALSE(b.UI()->BDrawRefreshButton(nullptr));
}

}  // namespace
