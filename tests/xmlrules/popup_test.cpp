// Pop-up macros: the record read from the helper file, the message box answered through the seam,
// and the record the warning module receives, byte for byte.
#include <cstring>
#include <string>
#include <vector>

#include "common/zqmsgbox.h"
#include "macrotest.h"
#include "zqmemprinter.h"
#include "testsupport.h"
#include "zqwarnmodrecord.h"

using zqmacrotest::Macro;
using zqmacrotest::Rules;

namespace {

struct ShownBox {
    std::wstring text, caption;
    UINT type;
};

class PopupTest : public zqmacrotest::MacroTest {
protected:
    void SetUp() override {
        MacroTest::SetUp();
        RegDeleteTreeW(HKEY_CURRENT_USER, kZQWarnModRecordKey);
        zqspool::MemPrinterIdentity identity;
        identity.driverDirectory = zqtest::ExeDir();  // zqcoremod.dll and zqwarnmod.dll are there
        m_printer = std::make_unique<zqspool::CZQMemoryPrinter>(identity);
        m_printer->Install();
        m_host.Add(zqtest::ListFeature("MediaType", {{"Plain", L"Plain"}, {"Photo", L"Photo"}}, 1));
        m_host.Add(zqtest::ValueFeature("ZQOptimizeFor", "Lines"));
        m_host.Build();
        m_host.Param()->hPrinter = m_printer->Open();
        zqmsgbox::SetAnswerer(&Answer, this);
    }
    void TearDown() override {
        zqmsgbox::SetAnswerer(nullptr, nullptr);
        zqspool::Spooler().ClosePrinter(m_host.Param()->hPrinter);
        m_printer.reset();
        RegDeleteTreeW(HKEY_CURRENT_USER, kZQWarnModRecordKey);
        MacroTest::TearDown();
    }
    static int Answer(void* context, HWND, PCWSTR text, PCWSTR caption, UINT type) {
        auto* self = static_cast<PopupTest*>(context);
        self->m_boxes.push_back({text, caption ? caption : L"", type});
        Sleep(self->m_answerMs);
        return self->m_answer;
    }
    void Popup(const wchar_t* macro) { m_rules->Parser().VRunPopupMacro(macro, m_host.Param()->hPrinter); }
    // What the warning-module stand-in received with its n-th call (empty when none).
    std::vector<BYTE> Received(int n) {
        const std::wstring value = L"IShowWarningDialog#" + std::to_wstring(n);
        std::vector<BYTE> data(sizeof(ZQPopupRecord) + 16);
        DWORD cb = static_cast<DWORD>(data.size());
        if (RegGetValueW(HKEY_CURRENT_USER, kZQWarnModRecordKey, value.c_str(), RRF_RT_REG_BINARY, nullptr,
                         data.data(), &cb) != ERROR_SUCCESS)
            return {};
        data.resize(cb);
        return data;
    }
    std::wstring Text() const { return m_rules->Parser().PopupRecord().szText; }

    std::unique_ptr<zqspool::CZQMemoryPrinter> m_printer;
    std::vector<ShownBox> m_boxes;
    int m_answer = IDOK;
    DWORD m_answerMs = 0;  // how long the user takes to answer a box
};

const wchar_t kBorderless[] = L"Borderless photos are printed to the edge of the paper.";
const wchar_t kGlossy[] = L"Load photo paper with the glossy side down.";

TEST_F(PopupTest, MessageBoxShowsTheComposedTextAndKeepsTheAnswer) {
    ASSERT_NO_FATAL_FAILURE(Load(Rules("", Macro("macro_POP_UP_Box",
                                                  "<title>6502</title><icon>MB_ICONWARNING</icon>"
                                                  "<message_type>MB_YESNO</message_type><string_id>6500:N:T</string_id>"
                                                  "<string_id>6501:6500:x:</string_id><showpopup>1</showpopup>"))));
    m_answer = IDNO;
    Popup(L"macro_POP_UP_Box");
    ASSERT_EQ(1u, m_boxes.size());
    EXPECT_EQ(std::wstring(kBorderless) + L"\n\t" + kGlossy + L"   ", m_boxes[0].text);
    EXPECT_EQ(L"Borderless printing", m_boxes[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_ICONWARNING | MB_YESNO), m_boxes[0].type);
    EXPECT_EQ(static_cast<DWORD>(IDNO), m_rules->Parser().m_dwPopupResult);
}

TEST_F(PopupTest, ShowingBeforeTheTextShowsItEmptyAndMissingTextsStayEmpty) {
    ASSERT_NO_FATAL_FAILURE(Load(Rules("", Macro("macro_POP_UP_Early",
                                                  "<showpopup>now</showpopup><string_id>6500</string_id>"
                                                  "<string_id>64999:T</string_id><showpopup>again</showpopup>"))));
    Popup(L"macro_pop_up_early");
    ASSERT_EQ(2u, m_boxes.size());
    EXPECT_EQ(L"", m_boxes[0].text);
    EXPECT_EQ(L"", m_boxes[0].caption);
    EXPECT_EQ(std::wstring(kBorderless) + L"\t", m_boxes[1].text);
}

TEST_F(PopupTest, OnlyPopupMacrosShowAndAStaleFlagShowsNothing) {
    ASSERT_NO_FATAL_FAILURE(Load(Rules("", Macro("macro_POP_UP_A", "<string_id>6500</string_id><showpopup>1</showpopup>") +
                                               Macro("macro_Plain", "<string_id>6501</string_id><showpopup>1</showpopup>") +
                                               Macro("macro_Marked", "<call>macro_POP_UP_None</call>"
                                                                     "<string_id>6501</string_id><showpopup>1</showpopup>"))));
    Popup(L"macro_POP_UP_A");
    Popup(L"macro_Plain");
    ASSERT_EQ(1u, m_boxes.size());
    // A "call" of a pop-up macro makes the reading a pop-up even when that macro is missing.
    Popup(L"macro_Marked");
    ASSERT_EQ(2u, m_boxes.size());
    EXPECT_EQ(kGlossy, m_boxes[1].text);
}

TEST_F(PopupTest, ACallReadsTheOtherMacrosElementsAndSelfCallsAreBounded) {
    ASSERT_NO_FATAL_FAILURE(Load(Rules(
        "", Macro("macro_POP_UP_Outer", "<title>6503</title><call>macro_Texts</call><showpopup>1</showpopup>") +
                Macro("macro_Texts", "<string_id>6504</string_id><help_id>12</help_id>") +
                Macro("macro_POP_UP_Self", "<showpopup>1</showpopup><call>macro_POP_UP_Self</call>"))));
    Popup(L"macro_POP_UP_Outer");
    ASSERT_EQ(1u, m_boxes.size());
    EXPECT_EQ(L"Print the first side, then turn the pages over.", m_boxes[0].text);
    EXPECT_EQ(L"Manual two-sided printing", m_boxes[0].caption);
    EXPECT_EQ(12u, m_rules->Parser().PopupRecord().dwHelpId);
    m_boxes.clear();
    Popup(L"macro_POP_UP_Self");
    EXPECT_EQ(static_cast<size_t>(CZQXmlParserCommon::kMaxPopupDepth), m_boxes.size());
}

// A pop-up macro that calls itself k times was read about k^6 times: one change showed thousands of
// boxes. However it calls itself, and whether it is reached from a change or run on its own, one
// user action shows a handful of pop-ups and follows a bounded number of calls.
TEST_F(PopupTest, OneActionShowsABoundedNumberOfPopUps) {
    using Budget = CZQXmlParserCommon::CZQMacroBudget;
    for (int k : {2, 4, 6}) {
        SCOPED_TRACE(k);
        std::string calls;
        for (int i = 0; i < k; ++i) calls += "<call>macro_POP_UP_Fan</call>";
        ASSERT_NO_FATAL_FAILURE(Load(Rules(zqmacrotest::Feature("MediaType", {"macro_Change"}),
                                           Macro("macro_POP_UP_Fan", "<string_id>6501</string_id><showpopup>1</showpopup>" + calls) +
                                               Macro("macro_Change", "<call>macro_POP_UP_Fan</call>"))));
        for (int action = 0; action < 2; ++action) {
            m_boxes.clear();
            if (action == 0)
                Popup(L"macro_POP_UP_Fan");
            else
                EXPECT_TRUE(m_rules->BRunFeatureMacros(L"MediaType", L"Photo", m_host.Param()));
            EXPECT_GE(m_boxes.size(), 1u);
            EXPECT_LE(m_boxes.size(), static_cast<size_t>(Budget::kMaxPopups));
        }
    }
}

// A change whose macros fan out into thousands of calls ends once its time is up, and says what ran
// out; the time a user takes to answer its pop-ups is not the engine's.
TEST_F(PopupTest, AFanOutChangeEndsWithinItsTime) {
    std::string many;
    for (int i = 0; i < 20000; ++i) many += "<call>macro_One</call>";
    const std::string fourBoxes = "<string_id>6501</string_id><showpopup>1</showpopup><showpopup>1</showpopup>"
                                  "<showpopup>1</showpopup><showpopup>1</showpopup>";
    const struct {
        const char* what;
        std::string change;  // the body of the change's macro
        DWORD limitMs, answerMs;
        size_t boxes;
        const wchar_t* spent;
    } cases[] = {
        {"calls, a minute", many, 60000, 0, 0, L"calls"},
        {"calls, 20 ms", many, 20, 0, 0, L"time"},
        {"slow answers, 50 ms", "<call>macro_POP_UP_Four</call>", 50, 60, 4, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_NO_FATAL_FAILURE(Load(Rules(zqmacrotest::Feature("MediaType", {"macro_Change"}),
                                           Macro("macro_Change", c.change) + Macro("macro_One", "<hide>ZQOptimizeFor</hide>") +
                                               Macro("macro_POP_UP_Four", fourBoxes))));
        m_rules->Parser().Budget().VSetTimeLimit(c.limitMs);
        m_answerMs = c.answerMs;
        m_boxes.clear();
        const ULONGLONG start = GetTickCount64();
        EXPECT_TRUE(m_rules->BRunFeatureMacros(L"MediaType", L"Photo", m_host.Param()));
        const ULONGLONG took = GetTickCount64() - start;
        EXPECT_EQ(c.boxes, m_boxes.size());
        EXPECT_STREQ(c.spent, m_rules->Parser().Budget().PszSpent());
        if (c.spent && !wcscmp(c.spent, L"time")) {
            EXPECT_LT(took, c.limitMs + 250u);
        }
    }
}

TEST_F(PopupTest, AnEmptyElementEndsTheReadingAndUnknownKeywordsChangeNothing) {
    ASSERT_NO_FATAL_FAILURE(Load(Rules("", Macro("macro_POP_UP_Cut",
                                                  "<icon>MB_ICONINFORMATION</icon><icon>MB_BOGUS</icon>"
                                                  "<message_type>MODAL_DLG</message_type><message_type>MSG_BOX</message_type>"
                                                  "<string_id>6500</string_id><title></title><showpopup>1</showpopup>"))));
    Popup(L"macro_POP_UP_Cut");
    EXPECT_TRUE(m_boxes.empty());
    const ZQPopupRecord& record = m_rules->Parser().PopupRecord();
    EXPECT_EQ(static_cast<DWORD>(MB_ICONINFORMATION), record.dwIcon);
    EXPECT_EQ(static_cast<DWORD>(ZQPOPUP_MESSAGE_BOX), record.dwKind);
    EXPECT_EQ(std::wstring(kBorderless), Text());
}

TEST_F(PopupTest, KeywordTable) {
    CZQXmlParserCommon& parser = m_rules->Parser();
    struct Row {
        const wchar_t* text;
        BOOL value;
        DWORD expected;
    };
    for (const Row& row : {Row{L"MB_OK", TRUE, 0}, Row{L"mb_okcancel", TRUE, 1}, Row{L"MB_YESNO", TRUE, 4},
                           Row{L"MB_ICONWARNING", TRUE, 0x30}, Row{L"MB_ICONINFORMATION", TRUE, 0x40},
                           Row{L"TRUE", TRUE, 1}, Row{L"FALSE", FALSE, 77}, Row{L"MODELESS_DLG", FALSE, 77}}) {
        DWORD value = 77;
        EXPECT_EQ(row.value, parser.BParsePopupKeyword(row.text, &value)) << row.text;
        EXPECT_EQ(row.expected, value) << row.text;
    }
    EXPECT_EQ(static_cast<DWORD>(ZQPOPUP_MODELESS_DIALOG), parser.PopupRecord().dwKind);
}

// ---------------------------------------------------------------------------------------------
// Pop-ups of the rule engine's macros
// ---------------------------------------------------------------------------------------------
TEST_F(PopupTest, ABranchOfAPopupMacroShowsItsOwnElements) {
    ASSERT_NO_FATAL_FAILURE(Load(Rules("", Macro("macro_POP_UP_Media",
                                                  "<switch><name>MediaType</name><case><name>Photo</name>"
                                                  "<string_id>6501</string_id><showpopup>1</showpopup></case>"
                                                  "<case_default><string_id>6500</string_id><showpopup>1</showpopup>"
                                                  "</case_default></switch>"))));
    Run(L"macro_POP_UP_Media");
    ASSERT_EQ(1u, m_boxes.size());
    EXPECT_EQ(kGlossy, m_boxes[0].text);
}

TEST_F(PopupTest, ANestedRunKeepsTheOuterMacrosPopup) {
    // The built-in call runs a plain macro in between; the outer pop-up still shows.
    ASSERT_NO_FATAL_FAILURE(Load(Rules("", Macro("macro_POP_UP_Outer",
                                                  "<call>macro_ZQOptimizeFor_Lines</call>"
                                                  "<string_id>6500</string_id><showpopup>1</showpopup>") +
                                               Macro("macro_ZQOptimizeFor_Lines", "<resource_id>5</resource_id>"))));
    Run(L"macro_POP_UP_Outer");
    EXPECT_EQ(5u, m_rules->DWResourceId(0));
    ASSERT_EQ(1u, m_boxes.size());
    EXPECT_FALSE(m_rules->Parser().BPopupFlag());
}

// ---------------------------------------------------------------------------------------------
// The warning module
// ---------------------------------------------------------------------------------------------
TEST_F(PopupTest, TheWarningModuleReceivesTheRecordByteForByte) {
    ASSERT_NO_FATAL_FAILURE(LoadFile(zqtest::BesideExe(L"zqdesk.xml").c_str()));
    const DWORD answer = IDCANCEL;
    RegSetKeyValueW(HKEY_CURRENT_USER, kZQWarnModRecordKey, L"Answer", REG_DWORD, &answer, sizeof answer);
    Run(L"macro_POP_UP_ManualDuplex");

    ZQPopupRecord expected = {};
    expected.dwPopup = 1;
    expected.dwTitleId = 6503;
    expected.dwIcon = MB_ICONWARNING;
    expected.dwKind = ZQPOPUP_MODAL_DIALOG;
    expected.dwButtons = MB_OKCANCEL;  // read before the kind, kept by it
    lstrcpyW(expected.szText,
             L"Print the first side, then turn the pages over.\n\tPut the printed pages back into the tray.");
    expected.dwHelpId = 7300;
    expected.dwCheckBox = 1;
    expected.dwDialogId = 9100;
    expected.dwButton1Id = 6506;
    expected.dwButton2Id = 6507;
    lstrcpyW(expected.szCoreModPath, zqtest::BesideExe(L"zqcoremod.dll").c_str());
    const std::vector<BYTE> received = Received(1);
    ASSERT_EQ(sizeof expected, received.size());
    EXPECT_EQ(0, std::memcmp(&expected, received.data(), sizeof expected));
    EXPECT_TRUE(Received(2).empty());
    EXPECT_TRUE(m_boxes.empty());
    EXPECT_EQ(static_cast<DWORD>(IDCANCEL), m_rules->Parser().m_dwPopupResult);

    // The modeless kind goes there too.
    ASSERT_NO_FATAL_FAILURE(LoadFile(zqtest::BesideExe(L"zqroll.xml").c_str()));
    Run(L"macro_POP_UP_LongRollJob");
    const std::vector<BYTE> modeless = Received(2);
    ASSERT_EQ(sizeof expected, modeless.size());
    EXPECT_EQ(static_cast<DWORD>(ZQPOPUP_MODELESS_DIALOG), reinterpret_cast<const ZQPopupRecord*>(modeless.data())->dwKind);
}

TEST_F(PopupTest, AWarningModuleWithoutTheDialogShowsNothing) {
    // A driver directory whose warning module lacks the export.
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring dir = std::wstring(temp) + L"zqwarn" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(dir.c_str(), nullptr);
    const std::wstring fake = dir + L"\\ZQWARNMOD.DLL";
    ASSERT_TRUE(CopyFileW(zqtest::BesideExe(L"zqcoremod.dll").c_str(), fake.c_str(), FALSE));
    {
        zqspool::MemPrinterIdentity identity;
        identity.driverDirectory = dir;
        zqspool::CZQMemoryPrinter printer(identity);
        printer.Install();
        HANDLE h = printer.Open();
        ASSERT_NO_FATAL_FAILURE(
            Load(Rules("", Macro("macro_POP_UP_M", "<message_type>MODAL_DLG</message_type><showpopup>1</showpopup>"))));
        m_rules->Parser().m_dwPopupResult = 42;
        m_rules->Parser().VRunPopupMacro(L"macro_POP_UP_M", h);
        EXPECT_EQ(42u, m_rules->Parser().m_dwPopupResult);
        EXPECT_TRUE(Received(1).empty());
        zqspool::Spooler().ClosePrinter(h);
    }
    DeleteFileW(fake.c_str());
    RemoveDirectoryW(dir.c_str());
}

}  // namespace
