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
    // The printer, the choice on its page first, the button, the choice in the dialog, how it
    // closes, its title and "ZQMaximumDetail" in the devmode afterwards.
    struct Row {
        const wchar_t *printer, *pageChoice, *button, *choice, *close, *title;
        const char* maximumDetail;
    };
    const Row rows[] = {
        {zqhosttest::kDeskPrinter, nullptr, L"#492", L"Millimeters", L"Cancel", L"Custom Paper Size", nullptr},
        {zqhosttest::kWidePrinter, L"Custom Options", L"#414", L"Maximum Detail", L"Cancel",
         L"Custom Print Quality Options", "Disabled"},
        {zqhosttest::kWidePrinter, L"Custom Options", L"#414", L"Maximum Detail", L"OK", L"Custom Print Quality Options",
         "Enabled"},
    };
    for (const Row& row : rows) {
        zqhosttest::ResetToDefaults(row.printer);
        CZQSpoolPrinter h = Open(row.printer);
        ZQDialogSteps steps;
        steps.choices = {{row.choice, L"on"}};
        steps.close = row.close;
        ZQDialogSeen seen;
        bool pressed = false;
        std::vector<BYTE> out;
        {
            CZQAutoPress press(50, [&](HWND sheet) {
                ASSERT_TRUE(ZQShowPage(sheet, L"Paper/Quality"));
                HWND page = ZQCurrentPage(sheet);
                if (row.pageChoice) {
                    ASSERT_TRUE(ZQChooseOnPage(page, row.pageChoice, L"on"));
                }
                pressed = ZQPressForDialog(page, row.button, steps, seen);
            });
            EXPECT_EQ(IDOK, ZQOpenPreferences(h.Get(), row.printer, nullptr, out));
        }
        EXPECT_TRUE(pressed && seen.shown && seen.chosen && seen.closed) << row.close;
        EXPECT_EQ(row.title, seen.title);
        ASSERT_FALSE(out.empty());
        if (row.pageChoice) {
            EXPECT_EQ(row.maximumDetail, zqhosttest::Selected(out, "ZQMaximumDetail"));
        }
    }
}

}  // namespace
