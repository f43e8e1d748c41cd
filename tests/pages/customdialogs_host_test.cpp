// The Paper/Quality page's custom dialogs under the core driver stand-in: the desk printer's custom
// paper size dialog in both units, and the wide printer's custom print-quality options, whose
// changes Cancel takes back and OK keeps in the devmode the sheet returns.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hosttest.h"
#include "testsupport.h"
#include "zqhostapp.h"
#include "zqinstall.h"
#include "zqprinter.h"

namespace {

using SamplesUnderHost = zqhosttest::SamplePrintersTest;

TEST_F(SamplesUnderHost, TheCustomDialogsOfThePaperQualityPage) {
    ZQInstallResult installed;
    ASSERT_TRUE(ZQInstallPrinter(zqtest::BesideExe(zqhosttest::kWideModel), zqtest::ExeDir(), L"", installed))
        << ZQUtf8(installed.error);
    struct Row {
        const wchar_t* printer;
        const wchar_t* pageChoice;  // made on the page first (null: none)
        const wchar_t* button;
        std::vector<std::pair<std::wstring, std::wstring>> inDialog;
        const wchar_t* close;
        const wchar_t* title;
        const char* maximumDetail;  // in the devmode afterwards (null: not asked)
    };
    const Row rows[] = {
        {zqhosttest::kDeskPrinter, nullptr, L"#492", {{L"Millimeters", L"on"}, {L"Inches", L"on"}}, L"Cancel",
         L"Custom Paper Size", nullptr},
        {zqhosttest::kWidePrinter, L"Custom Options", L"#414", {{L"Maximum Detail", L"on"}}, L"Cancel",
         L"Custom Print Quality Options", "Disabled"},
        {zqhosttest::kWidePrinter, L"Custom Options", L"#414", {{L"Maximum Detail", L"on"}}, L"OK",
         L"Custom Print Quality Options", "Enabled"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::wstring(row.button) + L" " + row.close);
        zqhosttest::ResetToDefaults(row.printer);
        CZQSpoolPrinter h = Open(row.printer);
        ZQDialogSteps steps;
        steps.choices = row.inDialog;
        steps.close = row.close;
        ZQDialogSeen seen;
        bool pressed = false;
        std::vector<BYTE> out;
        {
            CZQAutoPress press(50, [&](HWND sheet) {
                ASSERT_TRUE(ZQShowPage(sheet, L"Paper/Quality"));
                HWND page = ZQCurrentPage(sheet);
                if (row.pageChoice) ASSERT_TRUE(ZQChooseOnPage(page, row.pageChoice, L"on"));
                pressed = ZQPressForDialog(page, row.button, steps, seen);
            });
            EXPECT_EQ(IDOK, ZQOpenPreferences(h.Get(), row.printer, nullptr, out));
        }
        EXPECT_TRUE(pressed);
        EXPECT_TRUE(seen.shown && seen.chosen && seen.closed);
        EXPECT_EQ(row.title, seen.title);
        ASSERT_FALSE(out.empty());
        if (row.maximumDetail) EXPECT_EQ(row.maximumDetail, zqhosttest::Selected(out, "ZQMaximumDetail"));
    }
}

}  // namespace
