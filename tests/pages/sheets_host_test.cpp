// Every page and dialog of the plug-in on every sample printer, as the user sees them under the core
// driver stand-in: no shown control overlaps another, lies over a frame or leaves its frame, no
// text is cut, no hidden group leaves its place empty, and every page fills its sheet. The same
// test runs again under a right-to-left user-interface language (a second run of this executable
// with ZQTEST_RTL set and a Hebrew locale, registered beside it).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "common/zqlanguage.h"
#include "hosttest.h"
#include "layoutcheck.h"
#include "testsupport.h"
#include "zqhostapp.h"
#include "zqinstall.h"

namespace {

const wchar_t kWidePsModel[] = L"samples\\zqroll\\zqwideps.zqm";
const wchar_t kWidePsPrinter[] = L"ZQ Wide 4600 PS Large Format";

struct Sample {
    const wchar_t* model;
    const wchar_t* printer;
};
const Sample kSamples[] = {
    {zqhosttest::kDeskModel, zqhosttest::kDeskPrinter},       {zqhosttest::kRollModel, zqhosttest::kRollPrinter},
    {zqhosttest::kWideModel, zqhosttest::kWidePrinter},       {kWidePsModel, kWidePsPrinter},
    {zqhosttest::kPublishModel, zqhosttest::kPublishPrinter}, {zqhosttest::kSimpleModel, zqhosttest::kSimplePrinter},
};

class SheetsUnderHost : public zqhosttest::SamplePrintersTest {
protected:
    static void SetUpTestSuite() {
        for (const Sample& sample : kSamples) {
            ZQInstallResult installed;
            ASSERT_TRUE(ZQInstallPrinter(zqtest::BesideExe(sample.model), zqtest::ExeDir(), L"", installed))
                << ZQUtf8(installed.error);
        }
    }
    void SetUp() override {
        // The second run is meant to be right to left: without its locale it would only repeat the first.
        if (std::getenv("ZQTEST_RTL")) {
            ASSERT_TRUE(zqlang::IsRightToLeft()) << "no right-to-left user-interface language (the he_IL.UTF-8 "
                                                    "locale beside the build, LOCPATH)";
        }
    }
};

std::string Utf8(const std::wstring& text) { return ZQUtf8(text); }

HINSTANCE Plugin() { return reinterpret_cast<HINSTANCE>(GetModuleHandleW(L"zqoemui.dll")); }

// Every fault of a window of the plug-in's templates (none for one of another module), each line
// prefixed with what was looked at; a page is also checked against its sheet.
void Look(HWND hWnd, bool page, const std::string& what, std::vector<std::string>& faults) {
    const WORD id = zqtest::TemplateOf(hWnd, Plugin());
    if (!id) return;
    std::vector<std::vector<std::string>> found = {zqtest::LayoutFaults(hWnd, Plugin(), id), zqtest::TextFaults(hWnd)};
    if (page) found.push_back(zqtest::SheetFaults(hWnd, Plugin(), id));
    for (const auto& lines : found)
        for (const std::string& fault : lines)
            faults.push_back(what + " (template " + std::to_string(id) + "): " + fault);
}

TEST_F(SheetsUnderHost, EveryPageOfEverySamplePrinterIsWhole) {
    std::vector<std::string> faults;
    for (const Sample& sample : kSamples) {
        zqhosttest::ResetToDefaults(sample.printer);
        CZQSpoolPrinter h = Open(sample.printer);
        std::vector<BYTE> out;
        CZQAutoPress press(50, [&](HWND sheet) {
            for (const std::wstring& title : zqtest::TabTitles(sheet)) {
                if (!ZQShowPage(sheet, title)) continue;
                Look(ZQCurrentPage(sheet), true, Utf8(sample.printer) + ", " + Utf8(title), faults);
            }
        });
        EXPECT_EQ(IDOK, ZQOpenPreferences(h.Get(), sample.printer, nullptr, out)) << Utf8(sample.printer);
    }
    for (const std::string& fault : faults) ADD_FAILURE() << fault;
}

// Pages in the states the user's choices bring, each looked at after them.
TEST_F(SheetsUnderHost, PagesAfterTheirChoicesAreWhole) {
    using Choices = std::vector<std::pair<std::wstring, std::wstring>>;
    const struct {
        const wchar_t* printer;
        const wchar_t* page;
        Choices choices;
    } states[] = {
        {zqhosttest::kDeskPrinter, L"Color", {{L"#625", L"System Color Management"}}},
        {zqhosttest::kDeskPrinter, L"Finishing", {{L"Pages per Sheet and Posters", L"4 Pages per Sheet"}}},
        {zqhosttest::kDeskPrinter, L"Effects", {{L"#186", L"Confidential"}, {L"Print Document On", L"on"}}},
        {zqhosttest::kRollPrinter, L"Color", {{L"#625", L"Printer Emulation"}}},
        {zqhosttest::kRollPrinter, L"Features", {{L"Print Document On", L"on"}}},
    };
    std::vector<std::string> faults;
    for (const auto& state : states) {
        const std::string what = Utf8(state.printer) + ", " + Utf8(state.page) + " after its choices";
        zqhosttest::ResetToDefaults(state.printer);
        CZQSpoolPrinter h = Open(state.printer);
        std::vector<BYTE> out;
        CZQAutoPress press(50, [&](HWND sheet) {
            ASSERT_TRUE(ZQShowPage(sheet, state.page)) << what;
            HWND page = ZQCurrentPage(sheet);
            for (const auto& [label, entry] : state.choices)
                EXPECT_TRUE(ZQChooseOnPage(page, label, entry)) << what << ": " << Utf8(label);
            Look(page, true, what, faults);
        });
        EXPECT_EQ(IDOK, ZQOpenPreferences(h.Get(), state.printer, nullptr, out)) << what;
    }
    for (const std::string& fault : faults) ADD_FAILURE() << fault;
}

// Every dialog a page of a sample printer opens, as its button (or list entry) opens it after the
// choices that make the button reachable.
TEST_F(SheetsUnderHost, EveryDialogOfThePagesIsWhole) {
    const wchar_t* const kDesk = zqhosttest::kDeskPrinter;
    const wchar_t* const kWide = zqhosttest::kWidePrinter;
    using Choices = std::vector<std::pair<std::wstring, std::wstring>>;
    const struct {
        const wchar_t* printer;
        const wchar_t* page;
        Choices onPage;
        const wchar_t* opens;
    } dialogs[] = {
        {kDesk, L"Paper/Quality", {}, L"#492"},                            // custom paper size
        {kDesk, L"Paper/Quality", {}, L"#563"},                            // image enhancement
        {kDesk, L"Paper/Quality", {}, L"Type is=More..."},                 // media types
        {kDesk, L"Paper/Quality", {}, L"Size is=More..."},                 // paper sizes
        {kWide, L"Paper/Quality", {}, L"#675"},                            // layout and margins
        {kWide, L"Paper/Quality", {{L"Custom Options", L"on"}}, L"#414"},  // custom quality
        {kDesk, L"Finishing", {{L"Pages per Sheet and Posters", L"3 x 3 tiles"}}, L"Select Tiles..."},
        {kDesk, L"Effects", {}, L"#188"},                                   // watermark details
        {kDesk, L"Color", {{L"#422", L"off"}}, L"#741"},                    // advanced colour settings
        {kWidePsPrinter, L"Color", {}, L"Save"},                            // a quick set's (and a shortcut's) name
        {zqhosttest::kSimplePrinter, L"Features", {}, L"#435=More..."},     // its own media types
    };
    std::vector<std::string> faults;
    for (const auto& d : dialogs) {
        const std::string what = Utf8(d.printer) + ", " + Utf8(d.page) + ", " + Utf8(d.opens);
        zqhosttest::ResetToDefaults(d.printer);
        CZQSpoolPrinter h = Open(d.printer);
        ZQDialogSteps steps;
        steps.close = L"Cancel";
        steps.inspect = [&](HWND dialog) { Look(dialog, false, what, faults); };
        ZQDialogSeen seen;
        std::vector<BYTE> out;
        CZQAutoPress press(50, [&](HWND sheet) {
            ASSERT_TRUE(ZQShowPage(sheet, d.page)) << what;
            HWND page = ZQCurrentPage(sheet);
            for (const auto& [label, entry] : d.onPage) EXPECT_TRUE(ZQChooseOnPage(page, label, entry)) << what;
            EXPECT_TRUE(ZQPressForDialog(page, d.opens, steps, seen) && seen.shown && seen.closed) << what;
        });
        EXPECT_EQ(IDOK, ZQOpenPreferences(h.Get(), d.printer, nullptr, out)) << what;
    }
    for (const std::string& fault : faults) ADD_FAILURE() << fault;
}

}  // namespace
