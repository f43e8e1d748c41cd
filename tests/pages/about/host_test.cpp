// The sample printers under the core driver stand-in: both sheets carry the About page with the
// driver's files and the configuration status their printer data says; the publishing variant's
// Printing Preferences are the Settings Information page alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "hosttest.h"
#include "testsupport.h"
#include "zqinstall.h"

namespace {

using Texts = std::vector<std::wstring>;

// The sheet's tabs, then what the page shows in its controls (a list: each line) once it is in front.
Texts Show(HANDLE h, const std::wstring& printer, bool preferences, const wchar_t* page, std::vector<int> ids) {
    Texts seen;
    CZQAutoPress press(50, [&](HWND sheet) {
        seen = zqtest::TabTitles(sheet);
        HWND shown = ZQShowPage(sheet, page) ? ZQCurrentPage(sheet) : nullptr;
        for (int id : ids) {
            HWND control = ZQFindPageControl(shown, L"#" + std::to_wstring(id));
            const LRESULT lines = SendMessageW(control, LB_GETCOUNT, 0, 0);
            for (LRESULT i = 0; i < std::max<LRESULT>(lines, 1); ++i) {
                WCHAR text[300] = {};
                if (lines > 0) SendMessageW(control, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
                else GetWindowTextW(control, text, 300);
                seen.push_back(text);
            }
        }
    });
    std::vector<BYTE> out;
    EXPECT_TRUE(preferences ? ZQOpenPreferences(h, printer, nullptr, out) == IDOK
                            : ZQOpenPrinterProperties(h, printer) > 0);
    return seen;
}

using SamplesUnderHost = zqhosttest::SamplePrintersTest;

TEST_F(SamplesUnderHost, BothSheetsCarryTheAboutPage) {
    SYSTEMTIME day = {2006, 3, 0, 14, 12, 0, 0, 0};
    WCHAR date[64] = {};
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &day, nullptr, date, 64);
    const wchar_t installed[] = L"03/14/2006:12:00:00";
    const DWORD three = 3, one = 1;
    for (const std::wstring printer : {zqhosttest::kDeskPrinter, zqhosttest::kRollPrinter}) {
        CZQSpoolPrinter h = Open(printer);
        // Administrator preferences applied at installation, then changed in the printer's properties.
        auto set = [&](const wchar_t* name, DWORD type, const void* value, DWORD cb) {
            EXPECT_EQ(0u, SetPrinterDataW(h.Get(), const_cast<LPWSTR>(name), type,
                                          static_cast<BYTE*>(const_cast<void*>(value)), cb));
        };
        set(L"InstallDate", REG_SZ, installed, sizeof installed);
        set(L"DMCStatus", REG_DWORD, &three, 4);
        set(L"PrnPropChng", REG_DWORD, &one, 4);
        for (bool preferences : {true, false}) {
            SCOPED_TRACE(std::string(printer.begin(), printer.end()) + (preferences ? " preferences" : " properties"));
            const Texts seen = Show(h.Get(), printer, preferences, L"About", {168, 166, 170});
            EXPECT_NE(seen.end(), std::find(seen.begin(), seen.end(), printer + L"  (6.0.0.4)"));
            EXPECT_NE(seen.end(), std::find(seen.begin(), seen.end(), L"ZQCOREMOD.DLL\t\t6.0.0.4"));
            ASSERT_GE(seen.size(), 3u);
            EXPECT_EQ((Texts{std::wstring(L"Administrator Preferences ") + date,
                             std::wstring(L"Last configured ") + date, L"Administrator-Configured"}),
                      Texts(seen.end() - 3, seen.end()));
        }
    }
}

TEST_F(SamplesUnderHost, PublishingVariantShowsOnlyTheSettingsInformationPage) {
    ZQInstallResult installed;
    ASSERT_TRUE(ZQInstallPrinter(zqtest::BesideExe(zqhosttest::kPublishModel), zqtest::ExeDir(), L"", installed))
        << ZQUtf8(installed.error);
    const std::wstring printer = zqhosttest::kPublishPrinter;
    CZQSpoolPrinter h = Open(printer);
    EXPECT_EQ((Texts{L"Document Options", L"Settings Information", printer,
                     L"For more information, visit the ZQ in-house Publishing web Site."}),
              Show(h.Get(), printer, true, L"Settings Information", {1022, 988}));
    EXPECT_EQ((Texts{L"Device Settings", L"About"}), Show(h.Get(), printer, false, L"About", {}));
}

}  // namespace
