// Both sample printers under the core driver stand-in with zqoemui.dll: a stored choice that the
// helper file's constraint rules forbid is explained and constrained when Printing Preferences
// open (the load's checks of the media, with the application's window in front). The boxes are
// the real ones, found as windows and answered as a user does.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "common/zqhandles.h"
#include "hosttest.h"
#include "testsupport.h"
#include "zqhostapp.h"
#include "zqprinter.h"

namespace {

using zqhosttest::BoxAnswers;
using zqhosttest::Selected;

const wchar_t* const kDesk = zqhosttest::kDeskPrinter;
const wchar_t* const kRoll = zqhosttest::kRollPrinter;

// A text of the status module installed with the printers (the build's, beside the test).
std::wstring StatusText(UINT id) {
    CZQModule module(LoadLibraryExW(zqtest::BesideExe(L"zqcoremod.dll").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    WCHAR text[512] = {};
    if (module) LoadStringW(module.Get(), id, text, 512);
    return text;
}

// The question of a message-box rule with one collected text.
std::wstring Question(UINT id) {
    return StatusText(5800) + L"\t\n\n" + StatusText(id) + L"\t\n" + L"\t\n" + StatusText(5801) + L"\t\n";
}

using Choices = std::vector<std::pair<const wchar_t*, const wchar_t*>>;

// A choice the user makes and confirms, and what the printer's rules make of one setting.
struct Case {
    const wchar_t* printer;
    Choices choices;      // rows of the sheet and the options picked there
    const wchar_t* row;   // the constrained setting's row
    const wchar_t* shown;  // what that row shows once the sheet opens again
    const char* feature;
    const char* stored;   // and its option in the devmode of that sheet
};

class StoredConflicts : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        zqhosttest::InstallSamplePrinters();
        for (const wchar_t* name : {kDesk, kRoll}) zqhosttest::ResetToDefaults(name);
    }

    void TearDown() override {
        for (const wchar_t* name : {kDesk, kRoll}) zqhosttest::ResetToDefaults(name);
    }

    struct Opened {
        std::vector<BYTE> dm;  // the devmode the sheet returned with OK
        std::wstring shown;    // the watched row's value as the sheet opened
    };
    // Printing Preferences from `in` (null: the printer's default), the application in front;
    // `choices` are made, then OK.
    Opened Open(const wchar_t* printer, const std::vector<BYTE>* in, const wchar_t* row, const Choices& choices = {}) {
        m_app.Front();
        CZQSpoolPrinter h = zqhosttest::OpenFully(printer);
        Opened opened;
        CZQAutoPress press(50, [&](HWND sheet) {
            HWND page = zqhosttest::CurrentPage(sheet);
            if (row) opened.shown = zqhosttest::RowValue(page, row);
            for (const auto& [name, option] : choices) EXPECT_TRUE(zqhosttest::Choose(page, name, option)) << option;
        });
        EXPECT_EQ(IDOK, ZQOpenPreferences(h.Get(), printer, in ? reinterpret_cast<const DEVMODEW*>(in->data()) : nullptr,
                                          opened.dm));
        EXPECT_TRUE(press.Pressed());
        return opened;
    }
    // The user's choices, confirmed with OK. A change in the core driver's list asks nothing: the
    // plug-in's pages check the changes made on them.
    std::vector<BYTE> Chosen(const Case& c) {
        BoxAnswers boxes;
        std::vector<BYTE> dm = Open(c.printer, nullptr, nullptr, c.choices).dm;
        EXPECT_TRUE(boxes.Boxes().empty());
        return dm;
    }

    zqhosttest::AppWindow m_app;
};

// The message-box rules of the samples: film with a setting the film does not take. The case
// gives what OK makes of it; the film case adds the text asked and the choice as the user left it.
struct FilmCase {
    Case ok;
    UINT textId;
    const wchar_t* chosenShown;
    const char* chosenStored;
};
const FilmCase kFilm[] = {
    {{kDesk, {{L"Paper Type", L"Transparency Film"}, {L"Print in Grayscale", L"Black Ink Only"}}, L"Print in Grayscale",
      L"Off", "ZQPrintInGrayScale", "FALSE"},
     5830, L"Black Ink Only", "GrayandBlackInks"},
    {{kRoll, {{L"Paper Type", L"Clear Film"}}, L"More Passes", L"On", "ZQMorePasses", "Enabled"},
     5834, L"Off", "Disabled"},
};

TEST_F(StoredConflicts, AStoredFilmConflictIsExplainedAndOkAppliesTheRule) {
    for (const FilmCase& film : kFilm) {
        const Case& c = film.ok;
        SCOPED_TRACE(::testing::Message() << c.feature);
        const std::vector<BYTE> dm = Chosen(c);
        ASSERT_EQ(film.chosenStored, Selected(dm, c.feature)) << "the conflict is stored as chosen";

        BoxAnswers boxes({IDOK});
        const Opened opened = Open(c.printer, &dm, c.row);
        ASSERT_EQ(1u, boxes.Boxes().size());
        const zqhosttest::SeenBox& box = boxes.Boxes()[0];
        EXPECT_EQ(m_app.Get(), box.owner) << "the window in front owns the question";
        EXPECT_EQ(L"Feature tip", box.caption);
        EXPECT_EQ(Question(film.textId), box.text);
        EXPECT_EQ((std::vector<int>{IDOK, IDCANCEL}), box.buttons);
        EXPECT_EQ(c.shown, opened.shown) << "the forced option shows in the sheet";
        EXPECT_EQ(c.stored, Selected(opened.dm, c.feature));

        // Settled: the next opening has nothing to ask.
        boxes.Clear();
        EXPECT_EQ(c.shown, Open(c.printer, &opened.dm, c.row).shown);
        EXPECT_TRUE(boxes.Boxes().empty());
    }
}

TEST_F(StoredConflicts, CancelKeepsTheStoredChoiceAndTheQuestionComesBack) {
    for (const FilmCase& film : kFilm) {
        const Case& c = film.ok;
        SCOPED_TRACE(::testing::Message() << c.feature);
        std::vector<BYTE> dm = Chosen(c);
        for (int round = 0; round < 2; ++round) {
            BoxAnswers boxes({IDCANCEL});
            Opened opened = Open(c.printer, &dm, c.row);
            ASSERT_EQ(1u, boxes.Boxes().size()) << round;
            EXPECT_EQ(Question(film.textId), boxes.Boxes()[0].text);
            EXPECT_EQ(film.chosenShown, opened.shown);
            EXPECT_EQ(film.chosenStored, Selected(opened.dm, c.feature));
            dm = std::move(opened.dm);
        }
    }
}

// An application that sets the media through the public devmode field meets the same rule.
TEST_F(StoredConflicts, AnApplicationsMediaTypeIsCheckedToo) {
    const Case plain = {kDesk, {{L"Print in Grayscale", L"Black Ink Only"}}, nullptr, nullptr, nullptr, nullptr};
    std::vector<BYTE> dm = Chosen(plain);
    ASSERT_EQ("PLAIN", Selected(dm, "MediaType"));
    auto* pub = reinterpret_cast<DEVMODEW*>(dm.data());
    pub->dmMediaType = DMMEDIA_TRANSPARENCY;
    pub->dmFields |= DM_MEDIATYPE;

    BoxAnswers boxes({IDOK});
    const Opened opened = Open(kDesk, &dm, L"Print in Grayscale");
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ(Question(5830), boxes.Boxes()[0].text);
    EXPECT_EQ(L"Off", opened.shown);
    EXPECT_EQ("TRANSPARENCY", Selected(opened.dm, "MediaType"));
    EXPECT_EQ("FALSE", Selected(opened.dm, "ZQPrintInGrayScale"));
}

// The bubble rules of photo media apply themselves without a question; a choice a rule allows,
// or a media no rule constrains, is left as the user made it.
TEST_F(StoredConflicts, PhotoMediaTakeTheirSettingAtOnceAndAllowedChoicesStay) {
    const Case cases[] = {
        {kDesk, {{L"Paper Type", L"Photo Paper, Glossy"}, {L"Print in Grayscale", L"Black Ink Only"}},
         L"Print in Grayscale", L"Composite Grayscale", "ZQPrintInGrayScale", "FullSetofInks"},
        {kRoll, {{L"Paper Type", L"Photo Paper, Gloss"}}, L"More Passes", L"On", "ZQMorePasses", "Enabled"},
        {kDesk, {{L"Paper Type", L"Photo Paper, Matte"}}, L"Print in Grayscale", L"Off", "ZQPrintInGrayScale", "FALSE"},
        {kDesk, {{L"Print in Grayscale", L"Black Ink Only"}}, L"Print in Grayscale", L"Black Ink Only",
         "ZQPrintInGrayScale", "GrayandBlackInks"},
        {kRoll, {{L"More Passes", L"On"}}, L"More Passes", L"On", "ZQMorePasses", "Enabled"},
        {kDesk, {{L"Paper Type", L"Brochure Paper, Matte"}, {L"Print in Grayscale", L"Composite Grayscale"}},
         L"Print in Grayscale", L"Composite Grayscale", "ZQPrintInGrayScale", "FullSetofInks"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.feature << " " << c.stored);
        const std::vector<BYTE> dm = Chosen(c);
        BoxAnswers boxes({IDCANCEL});
        const Opened opened = Open(c.printer, &dm, c.row);
        EXPECT_TRUE(boxes.Boxes().empty());
        EXPECT_EQ(c.shown, opened.shown);
        EXPECT_EQ(c.stored, Selected(opened.dm, c.feature));
    }
}

// The load's checks take the window in front as the owner of their question: with none, as
// when a program without a window opens the sheet, nothing is checked.
TEST_F(StoredConflicts, WithoutAWindowInFrontNothingIsChecked) {
    const std::vector<BYTE> dm = Chosen(kFilm[0].ok);
    m_app.Close();
    ASSERT_EQ(nullptr, GetForegroundWindow());
    BoxAnswers boxes;
    const Opened opened = Open(kDesk, &dm, L"Print in Grayscale");
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(L"Black Ink Only", opened.shown);
    EXPECT_EQ("GrayandBlackInks", Selected(opened.dm, "ZQPrintInGrayScale"));
}

// Printer Properties check a conflicting printer default as they open too, but hold none of the
// document settings a rule forces: the default stays for Printing Preferences to settle.
TEST_F(StoredConflicts, PrinterPropertiesLeaveTheDocumentDefaultsToPreferences) {
    for (const FilmCase& film : kFilm) {
        const Case& c = film.ok;
        SCOPED_TRACE(::testing::Message() << c.feature);
        const std::vector<BYTE> dm = Chosen(c);
        CZQSpoolPrinter h = zqhosttest::OpenFully(c.printer);
        ASSERT_TRUE(ZQStoreDefaultDevmode(h.Get(), dm));
        {
            BoxAnswers boxes({IDOK});
            m_app.Front();
            CZQAutoPress press(50, nullptr);
            EXPECT_GT(ZQOpenPrinterProperties(h.Get(), c.printer), 0);
            EXPECT_TRUE(press.Pressed());
            ASSERT_EQ(1u, boxes.Boxes().size());
            EXPECT_EQ(Question(film.textId), boxes.Boxes()[0].text);
        }
        EXPECT_EQ(film.chosenStored, Selected(ZQQueryDevmode(h.Get(), c.printer), c.feature));

        BoxAnswers boxes({IDOK});
        const Opened opened = Open(c.printer, nullptr, c.row);
        EXPECT_EQ(1u, boxes.Boxes().size()) << "the printer's default meets the rule in Printing Preferences";
        EXPECT_EQ(c.shown, opened.shown);
    }
}

}  // namespace
