// Under the core driver stand-in: the desk printer with the simplified interface shows its Features
// page in place of the Paper/Quality, Effects and Finishing pages; a click on its sample page turns
// the document at once and on OK, and Printer Services starts the driver's toolbox; showing the page
// costs the core driver a bounded number of calls.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "formats/zquidevmode.h"
#include "hosttest.h"
#include "layoutcheck.h"
#include "res/zqfeaturesids.h"
#include "testsupport.h"
#include "zqcmdlogrecord.h"
#include "zqcorecalls.h"
#include "zqhostapp.h"
#include "zqproc.h"
#include "zqinstall.h"

namespace {

TEST(FeaturesUnderHost, SimpleDeskPrinterTurnsTheDocumentAndStartsItsToolbox) {
    ZQInstallResult installed;
    ASSERT_TRUE(ZQInstallPrinter(zqtest::BesideExe(zqhosttest::kSimpleModel), zqtest::ExeDir(), L"", installed))
        << ZQUtf8(installed.error);
    const std::wstring printer = zqhosttest::kSimplePrinter;
    zqhosttest::ResetToDefaults(printer);
    CZQSpoolPrinter h = zqhosttest::OpenFully(printer);
    RegDeleteTreeW(HKEY_CURRENT_USER, kZQCmdLogKey);

    std::vector<std::wstring> tabs;
    std::wstring orientation;
    std::vector<std::string> faults;
    bool services = false;
    std::vector<BYTE> out;
    {
        CZQAutoPress press(50, [&](HWND sheet) {
            tabs = zqtest::TabTitles(sheet);
            ASSERT_TRUE(ZQShowPage(sheet, L"Features"));
            HWND page = ZQCurrentPage(sheet);
            const auto plugin = reinterpret_cast<HINSTANCE>(GetModuleHandleW(L"zqoemui.dll"));
            faults = zqtest::LayoutFaults(page, plugin, IDD_DLG_FEATURESPAGE);
            SendMessageW(GetDlgItem(page, IDC_BTN_PREVIEW_PORT), BM_CLICK, 0, 0);
            HWND button = GetDlgItem(page, IDC_BTN_PRINTER_SERVICES);
            services = IsWindowVisible(button) && IsWindowEnabled(button);
            SendMessageW(button, BM_CLICK, 0, 0);
            // The core driver's own item took the turn at once.
            ASSERT_TRUE(ZQShowPage(sheet, L"Document Options"));
            orientation = ZQRowValue(ZQCurrentPage(sheet), L"Orientation");
        });
        EXPECT_EQ(IDOK, ZQOpenPreferences(h.Get(), printer, nullptr, out));
    }
    for (const std::string& fault : faults) ADD_FAILURE() << fault;
    EXPECT_NE(tabs.end(), std::find(tabs.begin(), tabs.end(), std::wstring(L"Features")));
    for (const wchar_t* title : {L"Paper/Quality", L"Effects", L"Finishing"})
        EXPECT_EQ(tabs.end(), std::find(tabs.begin(), tabs.end(), std::wstring(title))) << ZQUtf8(title);
    EXPECT_EQ(L"Landscape", orientation);
    ASSERT_GE(out.size(), sizeof(DEVMODEW));
    EXPECT_EQ(DMORIENT_LANDSCAPE, reinterpret_cast<const DEVMODEW*>(out.data())->dmOrientation);
    const BYTE* oem = zqhosttest::OemBlock(out);
    ASSERT_NE(nullptr, oem);
    ZQUIDevmode block = {};
    std::memcpy(&block, oem, sizeof block);
    EXPECT_EQ(2, block.wOrientation);

    // The toolbox the driver registered ran with the printer's name.
    EXPECT_TRUE(services);
    const std::wstring line = zqtest::LoggedCommandLine(true);
    EXPECT_NE(std::wstring::npos, line.find(L"zqcmdlog.exe")) << ZQUtf8(line);
    EXPECT_NE(std::wstring::npos, line.find(printer)) << ZQUtf8(line);
}

// The core driver's calls that showing the Features page costs once the sheet is open, and showing it
// again: the printer record's lists are read once for the sheet, a setting once per message until
// an item is reported. The reads and reports are the most the page and its groups need.
TEST(FeaturesUnderHost, CallsOfShowingThePage) {
    ZQInstallResult installed;
    ASSERT_TRUE(ZQInstallPrinter(zqtest::BesideExe(zqhosttest::kSimpleModel), zqtest::ExeDir(), L"", installed))
        << ZQUtf8(installed.error);
    const std::wstring printer = zqhosttest::kSimplePrinter;
    zqhosttest::ResetToDefaults(printer);
    CZQModule driver = zqhosttest::DriverModule(printer);
    const auto counts = ZQGetProc<PFN_ZQGetCoreCallCounts>(driver.Get(), "ZQGetCoreCallCounts");
    ASSERT_NE(nullptr, counts);
    CZQSpoolPrinter h = zqhosttest::OpenFully(printer);
    // The first showing, then the page shown again after the core driver's page.
    ZQCoreCallCounts before[2] = {}, after[2] = {};
    std::vector<BYTE> out;
    {
        CZQAutoPress press(0, [&](HWND sheet) {
            for (int i = 0; i < 2; ++i) {
                ZQShowPage(sheet, L"Document Options");
                counts(&before[i]);
                ZQShowPage(sheet, L"Features");
                RedrawWindow(sheet, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);  // and painted
                counts(&after[i]);
            }
        });
        ZQOpenPreferences(h.Get(), printer, nullptr, out);
        ASSERT_TRUE(press.Pressed());
    }
    // Showing sets every control from the settings and lays the groups out: each reads its features once.
    // The first showing also reads the printer's paper names (count and names) and the form's option
    // keywords for the destination list, its media ids for the page kinds' papers, and the sources
    // no earlier page asked for.
    const LONG caps[2] = {12, 0}, maxReads[2] = {220, 80}, maxReports[2] = {26, 4};
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(caps[i], after[i].lDeviceCapabilities - before[i].lDeviceCapabilities);
        EXPECT_LE(after[i].lGetDriverSetting - before[i].lGetDriverSetting, maxReads[i]);
        EXPECT_LE(after[i].lUpdateUISetting - before[i].lUpdateUISetting, maxReports[i]);
    }
}

}  // namespace
