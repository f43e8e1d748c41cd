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

struct Seen {
    bool shown = false;
    std::wstring driver;
    std::vector<std::wstring> files, status;
};

std::vector<std::wstring> ListLines(HWND list) {
    std::vector<std::wstring> lines;
    for (LRESULT i = 0; list && i < SendMessageW(list, LB_GETCOUNT, 0, 0); ++i) {
        WCHAR text[300] = {};
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        lines.push_back(text);
    }
    return lines;
}

// What the About page shows once it is brought to the front of the sheet.
void ReadAboutPage(HWND sheet, Seen& seen) {
    seen.shown = ZQShowPage(sheet, L"About");
    if (!seen.shown) return;
    HWND page = ZQCurrentPage(sheet);
    WCHAR text[300] = {};
    GetWindowTextW(ZQFindPageControl(page, L"#168"), text, 300);
    seen.driver = text;
    seen.files = ListLines(ZQFindPageControl(page, L"Driver Files"));
    seen.status = ListLines(ZQFindPageControl(page, L"Configuration Status"));
}

void SetData(HANDLE h, const wchar_t* name, DWORD type, const void* data, DWORD cb) {
    ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS),
              SetPrinterDataW(h, const_cast<LPWSTR>(name), type, static_cast<BYTE*>(const_cast<void*>(data)), cb));
}

using SamplesUnderHost = zqhosttest::SamplePrintersTest;

TEST_F(SamplesUnderHost, BothSheetsCarryTheAboutPage) {
    const wchar_t installed[] = L"03/14/2006:12:00:00";
    SYSTEMTIME day = {2006, 3, 0, 14, 0, 0, 0, 0};
    WCHAR date[64] = {};
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &day, nullptr, date, 64);
    // Administrator preferences applied at installation and changed in the printer's properties.
    const std::vector<std::wstring> status = {std::wstring(L"Administrator Preferences ") + date,
                                              std::wstring(L"Last configured ") + date, L"Administrator-Configured"};
    const struct {
        std::wstring name;
        std::wstring dataFile;  // the model, the driver's data file, comes first
    } printers[] = {{zqhosttest::kDeskPrinter, L"ZQDESK.ZQM"}, {zqhosttest::kRollPrinter, L"ZQROLL.ZQM"}};
    for (const auto& p : printers) {
        const std::wstring& name = p.name;
        SCOPED_TRACE(std::string(name.begin(), name.end()));
        CZQSpoolPrinter h = Open(name);
        const DWORD three = 3, one = 1;
        SetData(h.Get(), L"InstallDate", REG_SZ, installed, sizeof installed);
        SetData(h.Get(), L"DMCStatus", REG_DWORD, &three, 4);
        SetData(h.Get(), L"PrnPropChng", REG_DWORD, &one, 4);
        for (bool preferences : {true, false}) {
            SCOPED_TRACE(preferences ? "Printing Preferences" : "Printer Properties");
            Seen seen;
            {
                CZQAutoPress press(50, [&](HWND sheet) { ReadAboutPage(sheet, seen); });
                std::vector<BYTE> out;
                if (preferences)
                    EXPECT_EQ(IDOK, ZQOpenPreferences(h.Get(), name, nullptr, out));
                else
                    EXPECT_GT(ZQOpenPrinterProperties(h.Get(), name), 0);
            }
            ASSERT_TRUE(seen.shown);
            EXPECT_EQ(name + L"  (6.0.0.4)", seen.driver);
            EXPECT_NE(seen.files.end(), std::find(seen.files.begin(), seen.files.end(), L"ZQCOREMOD.DLL\t\t6.0.0.4"));
            ASSERT_FALSE(seen.files.empty());
            EXPECT_EQ(0u, seen.files[0].find(p.dataFile + L"  \t\t"));
            // The status lines the values above make come last, whatever other tests left stored.
            ASSERT_GE(seen.status.size(), status.size());
            EXPECT_EQ(status, std::vector<std::wstring>(seen.status.end() - 3, seen.status.end()));
        }
    }
}

TEST_F(SamplesUnderHost, PublishingVariantShowsOnlyTheSettingsInformationPage) {
    ZQInstallResult installed;
    ASSERT_TRUE(ZQInstallPrinter(zqtest::BesideExe(zqhosttest::kPublishModel), zqtest::ExeDir(), L"", installed))
        << ZQUtf8(installed.error);
    const std::wstring name = zqhosttest::kPublishPrinter;
    CZQSpoolPrinter h = Open(name);
    std::vector<std::wstring> tabs;
    std::wstring printer, link;
    {
        CZQAutoPress press(50, [&](HWND sheet) {
            tabs = zqtest::TabTitles(sheet);
            if (!ZQShowPage(sheet, L"Settings Information")) return;
            HWND page = ZQCurrentPage(sheet);
            WCHAR text[300] = {};
            GetWindowTextW(ZQFindPageControl(page, L"#1022"), text, 300);
            printer = text;
            GetWindowTextW(ZQFindPageControl(page, L"#988"), text, 300);
            link = text;
        });
        std::vector<BYTE> out;
        EXPECT_EQ(IDOK, ZQOpenPreferences(h.Get(), name, nullptr, out));
    }
    EXPECT_EQ((std::vector<std::wstring>{L"Document Options", L"Settings Information"}), tabs);
    EXPECT_EQ(name, printer);
    EXPECT_EQ(L"For more information, visit the ZQ in-house Publishing web Site.", link);
    tabs.clear();
    {
        CZQAutoPress press(50, [&](HWND sheet) { tabs = zqtest::TabTitles(sheet); });
        EXPECT_GT(ZQOpenPrinterProperties(h.Get(), name), 0);
    }
    EXPECT_EQ((std::vector<std::wstring>{L"Device Settings", L"About"}), tabs);
}

}  // namespace
