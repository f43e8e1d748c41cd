// The Paper/Quality page and the dialogs it opens as the user sees them under the core driver
// stand-in, in the states a user reaches on the sample printers: no shown control overlaps another
// or leaves its frame or the page, and every text fits its control.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hosttest.h"
#include "layoutcheck.h"
#include "res/zqcustompaperids.h"
#include "res/zqmarginsids.h"
#include "res/zqpaperqualityids.h"
#include "res/zqpopupids.h"
#include "testsupport.h"
#include "zqhostapp.h"
#include "zqinstall.h"
#include "zqprinter.h"

namespace {

using SamplesUnderHost = zqhosttest::SamplePrintersTest;

// Layout and text faults of a window of the plug-in's template, each line prefixed with what was
// looked at.
void Look(HWND hWnd, WORD wTemplate, const std::string& what, std::vector<std::string>& faults) {
    const auto plugin = reinterpret_cast<HINSTANCE>(GetModuleHandleW(L"zqoemui.dll"));
    for (const std::vector<std::string>& found :
         {zqtest::LayoutFaults(hWnd, plugin, wTemplate), zqtest::TextFaults(hWnd)})
        for (const std::string& fault : found) faults.push_back(what + ": " + fault);
}

TEST_F(SamplesUnderHost, PaperQualityPageAndItsDialogsShowEveryControlWhole) {
    ZQInstallResult installed;
    ASSERT_TRUE(ZQInstallPrinter(zqtest::BesideExe(zqhosttest::kWideModel), zqtest::ExeDir(), L"", installed))
        << ZQUtf8(installed.error);
    // The wide printer reports two loaded rolls, one of a custom width.
    {
        CZQSpoolPrinter h = Open(zqhosttest::kWidePrinter);
        for (const auto& [name, value] : {std::pair{L"Roll1Name", L"Bright White Bond"}, {L"Roll1Type", L"Bond"},
                                          {L"Roll1Width", L"36"}, {L"Roll2Name", L"Coated Paper"},
                                          {L"Roll2Width", L"Custom"}, {L"Roll2CustomWidth", L"24.00"}})
            zqhosttest::PutAnswer(h.Get(), name, value);
    }
    // The printer, the choices on its page, then the button (or list entry) that opens a dialog,
    // its template, the choices made in it and how it closes; the page is looked at after the
    // dialog.
    struct State {
        const wchar_t* printer;
        std::vector<std::pair<std::wstring, std::wstring>> onPage;
        const wchar_t* opens;
        WORD dialog;
        std::vector<std::pair<std::wstring, std::wstring>> inDialog;
        const wchar_t* close;
    };
    const State states[] = {
        {zqhosttest::kDeskPrinter, {}, L"#492", IDD_DLG_CUSTOM_PAPER, {}, L"Cancel"},
        {zqhosttest::kDeskPrinter, {}, L"#563", IDD_DLG_IMAGE_ENHANCEMENT, {}, L"Cancel"},
        {zqhosttest::kDeskPrinter, {}, L"Type is=More...", IDD_DLG_MEDIATYPE_TREEVIEW_POPUP, {}, L"Cancel"},
        {zqhosttest::kDeskPrinter, {}, L"Size is=More...", IDD_DLG_PAPERSIZE_TREEVIEW_POPUP,
         {{L"#912", L"Photo 4x6 in."}}, L"OK"},
        {zqhosttest::kDeskPrinter,
         {{L"Use Different Paper/Covers", L"on"}, {L"#427", L"Front Cover"}, {L"#431", L"on"}},
         nullptr, 0, {}, nullptr},
        {zqhosttest::kWidePrinter, {}, L"#675", IDD_DLG_MARGINS, {}, L"Cancel"},
        {zqhosttest::kWidePrinter, {{L"Use Different Paper/Covers", L"on"}}, nullptr, 0, {}, nullptr},
        {zqhosttest::kWidePrinter, {{L"Custom Options", L"on"}}, L"#414", IDD_DLG_CUSTOM_PRINT_QUALITY_OPTIONS, {},
         L"Cancel"},
    };
    std::vector<std::string> faults;
    for (const State& state : states) {
        const std::string name(state.printer, state.printer + wcslen(state.printer));
        zqhosttest::ResetToDefaults(state.printer);
        CZQSpoolPrinter h = Open(state.printer);
        ZQDialogSteps steps;
        steps.choices = state.inDialog;
        steps.close = state.close ? state.close : L"";
        ZQDialogSeen seen;
        steps.inspect = [&](HWND dialog) { Look(dialog, state.dialog, name + ", " + ZQUtf8(seen.title), faults); };
        std::vector<BYTE> out;
        CZQAutoPress press(50, [&](HWND sheet) {
            ASSERT_TRUE(ZQShowPage(sheet, L"Paper/Quality"));
            HWND page = ZQCurrentPage(sheet);
            for (const auto& [label, entry] : state.onPage) EXPECT_TRUE(ZQChooseOnPage(page, label, entry)) << ZQUtf8(label);
            if (state.opens) {
                EXPECT_TRUE(ZQPressForDialog(page, state.opens, steps, seen) && seen.shown && seen.closed)
                    << ZQUtf8(state.opens);
            }
            Look(page, IDD_DLG_PAPER_MEDIA, name + " page" + (state.opens ? " after " + ZQUtf8(state.opens) : std::string()), faults);
        });
        EXPECT_EQ(IDOK, ZQOpenPreferences(h.Get(), state.printer, nullptr, out));
    }
    for (const std::string& fault : faults) ADD_FAILURE() << fault;
}

}  // namespace
