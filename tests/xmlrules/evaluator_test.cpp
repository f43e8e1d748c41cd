// The print-quality evaluator: events and macros run against the parser's state fields.
#include <string>

#include "macrotest.h"
#include "testsupport.h"
#include "xmlrules/zqxmlreaders.h"

using zqmacrotest::Macro;
using zqmacrotest::Rules;

namespace {

class Evaluator : public zqmacrotest::MacroTest {
protected:
    CZQXmlParserCommon& P() { return m_rules->Parser(); }
    ZQPrintQualityState& Q() { return m_rules->Parser().m_quality; }
    BOOL Evaluate(const wchar_t* macro) { return m_rules->BEvaluateSwitch(P().MacroList(), macro); }
};

TEST_F(Evaluator, SampleEventsMapTheQualityBothWays) {
    ASSERT_NO_FATAL_FAILURE(LoadFile(zqtest::BesideExe(L"zqdesk.xml").c_str()));
    struct Row {
        const wchar_t* import;
        const wchar_t* group;
    };
    for (const Row& row : {Row{L"best", L"PrintQualityGroup.PQGroup_2"}, Row{L"Draft", L"PrintQualityGroup.PQGroup_0"},
                           Row{L"Other", L"PrintQualityGroup.PQGroup_1"}}) {
        lstrcpyW(P().m_szQualityImportValue, row.import);
        EXPECT_TRUE(m_rules->BRunMacroSwitch(P().EventList(), L"DMCInstallTime"));
        EXPECT_STREQ(row.group, P().m_szQualityGroupValue);
    }
    lstrcpyW(P().m_szQualityGroupValue, L"PQGroup_0");
    EXPECT_TRUE(m_rules->BRunMacroSwitch(P().EventList(), L"DMCUpgradeTime"));
    EXPECT_STREQ(L"Draft", P().m_szQualityImportValue);
    EXPECT_FALSE(m_rules->BRunMacroSwitch(P().EventList(), L"Unknown"));
}

TEST_F(Evaluator, SelectOptionFillsTheOptionTextsAndFlags) {
    const std::string long256 = "Resolution." + std::string(245, 'x');
    ASSERT_NO_FATAL_FAILURE(Load(Rules(
        "", Macro("m", "<select_option>PrintQualityGroup.PQGroup_3</select_option>"
                       "<select_option>Resolution.600dpi.extra</select_option>"
                       "<select_option>JCLQuelvo.Fast</select_option>"
                       "<select_option>ZQLpiSelection.85lpi</select_option>"
                       "<select_option>ZQTurboMode.Off</select_option>"
                       "<select_option>ZQPhotoPaperPrinting.2400x1200dpi</select_option>"
                       "<select_option>" + long256 + "</select_option>"
                       "<select_option>Resolution." + std::string(80, 'y') + "</select_option>"))));
    Q().dwTurboOff = 0;
    m_rules->VSetCapture(TRUE);
    EXPECT_TRUE(Evaluate(L"m"));
    EXPECT_EQ(3u, Q().dwSelectedGroupIndex);
    // A print-quality group is a print quality too.
    EXPECT_STREQ(L"PQGroup_3", Q().szPrintQualityOption);
    EXPECT_STREQ(L"600dpi", Q().szResolutionOption);
    EXPECT_STREQ(L"Fast", Q().szFastResolutionOption);
    EXPECT_STREQ(L"85lpi", Q().szLineScreenOption);
    EXPECT_EQ(1u, Q().dwTurboOff);
    EXPECT_EQ(1u, Q().dwPhotoPaperResolution);
    EXPECT_EQ(std::wstring(L"Resolution.") + std::wstring(80, L'y'), m_rules->PszCaptureText());
}

TEST_F(Evaluator, StatesFollowTheItemAndOptionActions) {
    ASSERT_NO_FATAL_FAILURE(Load(Rules(
        "", Macro("m", "<disable>ZQTurboMode</disable><hide>PrintQualityGroup</hide>"
                       "<disable>ZQPhotoPaperPrinting</disable><hide_option>PrintQualityGroup.PQGroup_4</hide_option>"
                       "<hide_option>PrintQualityGroup.PQGroup_6</hide_option><enable_option>PrintQualityGroup</enable_option>"
                       "<disable_option>PrintQualityGroup.PQGroup_1</disable_option><bogus>x</bogus>") +
            Macro("e", "<enable>ZQPhotoPaperPrinting</enable><enable_option>PrintQualityGroup.PQGroup_4</enable_option>"))));
    EXPECT_TRUE(Evaluate(L"m"));
    EXPECT_EQ(2u, Q().dwTurboMode);
    EXPECT_EQ(1u, Q().dwQualityGroup);
    EXPECT_EQ(2u, Q().dwPhotoPaper);
    EXPECT_EQ((std::vector<DWORD>{0, 0, 0, 0, 1, 0}), std::vector<DWORD>(Q().adwOption, Q().adwOption + 6));
    EXPECT_TRUE(Evaluate(L"e"));
    EXPECT_EQ(0u, Q().dwPhotoPaper);
    EXPECT_EQ(0u, Q().adwOption[4]);
}

TEST_F(Evaluator, SwitchesMatchCasesByValueAndFallBackToTheDefault) {
    WCHAR country[16] = {};
    ASSERT_TRUE(CZQXmlHelperReaders::BGetCountryCodeText(country, 16));
    std::string code(country, country + lstrlenW(country));
    ASSERT_NO_FATAL_FAILURE(Load(Rules(
        "", Macro("m", "<switch><name>MediaType</name><case><unmap_option>early</unmap_option><name>x</name>"
                       "<name>PHOTO</name><unmap_option>photo</unmap_option></case>"
                       "<case_default><unmap_option>other</unmap_option><name>n</name><unmap_option>late</unmap_option>"
                       "</case_default></switch>") +
            Macro("locale", "<switch><name>LocaleID</name><case><name>" + code +
                                "</name><map_option>here</map_option></case></switch>") +
            Macro("unknown", "<switch><name>Colour</name><case_default><map_option>x</map_option></case_default></switch>"))));
    lstrcpyW(P().m_szMediaTypeValue, L"Photo");
    EXPECT_TRUE(Evaluate(L"m"));
    EXPECT_STREQ(L"photo", P().m_szQualityImportValue);
    lstrcpyW(P().m_szMediaTypeValue, L"Plain");
    EXPECT_TRUE(Evaluate(L"m"));
    EXPECT_STREQ(L"other", P().m_szQualityImportValue);
    EXPECT_TRUE(Evaluate(L"locale"));
    EXPECT_STREQ(L"here", P().m_szQualityGroupValue);
    EXPECT_TRUE(Evaluate(L"unknown"));
    EXPECT_STREQ(L"here", P().m_szQualityGroupValue);
}

TEST_F(Evaluator, EntriesActBeforeTheirNameAndCallsAreBounded) {
    ASSERT_NO_FATAL_FAILURE(Load(Rules(
        "", "<macro><map_option>before</map_option><name>a</name></macro>" +
                Macro("b", "<unmap_option>b</unmap_option>") +
                Macro("loop", "<call>loop</call><select_option>PrintQualityGroup.PQGroup_1</select_option>") +
                Macro("caller", "<call>b</call>") +
                "</macros><events><event><macro_name>b</macro_name></event><event><name>go</name></event>"
                "</events><macros>")));
    // An event without a name runs its macros on the way to the one asked for.
    EXPECT_TRUE(m_rules->BRunMacroSwitch(P().EventList(), L"go"));
    EXPECT_STREQ(L"b", P().m_szQualityImportValue);
    lstrcpyW(P().m_szQualityImportValue, L"");
    // Walking past "a" to "b" acts on "a"'s first child.
    EXPECT_TRUE(Evaluate(L"b"));
    EXPECT_STREQ(L"before", P().m_szQualityGroupValue);
    EXPECT_STREQ(L"b", P().m_szQualityImportValue);
    lstrcpyW(P().m_szQualityImportValue, L"");
    EXPECT_TRUE(Evaluate(L"caller"));
    EXPECT_STREQ(L"b", P().m_szQualityImportValue);
    EXPECT_FALSE(Evaluate(L"missing"));
    EXPECT_TRUE(Evaluate(L"loop"));
    EXPECT_EQ(1u, Q().dwSelectedGroupIndex);
    EXPECT_EQ(0, m_rules->WDepth());
}

// One macro without a name and a thousand calls made one evaluation take most of a minute: its
// children acted on every walk of the list, and calls cost nothing. Such a macro is passed over, and
// calls draw on the action's budget like the rule engine's.
TEST_F(Evaluator, NamelessMacrosAreSkippedAndCallsDrawOnTheActionsBudget) {
    std::string calls;
    for (int i = 0; i < 1000; ++i) calls += "<call>many</call>";
    ASSERT_NO_FATAL_FAILURE(Load(Rules("", "<macro>" + calls + "<unmap_option>nameless</unmap_option></macro>" +
                                               Macro("many", calls + "<map_option>many</map_option>") +
                                               Macro("e", "<unmap_option>e</unmap_option>"))));
    const CZQXmlParserCommon::CZQMacroBudget& budget = P().Budget();
    const struct {
        const wchar_t* macro;
        DWORD maxCalls;
        DWORD maxMs;
        const wchar_t* imported;  // the import value it leaves
    } cases[] = {
        {L"e", 0, 1000, L"e"},  // past the nameless macro, which does nothing
        {L"many", CZQXmlParserCommon::CZQMacroBudget::kMaxCalls, 20000, L""},
    };
    for (const auto& c : cases) {
        lstrcpyW(P().m_szQualityImportValue, L"");
        const DWORD start = GetTickCount();
        EXPECT_TRUE(Evaluate(c.macro));
        EXPECT_LT(GetTickCount() - start, c.maxMs);
        EXPECT_STREQ(c.imported, P().m_szQualityImportValue);
        EXPECT_LE(budget.DWCalls(), c.maxCalls);
        EXPECT_LE(budget.DWRuns(), CZQXmlParserCommon::CZQMacroBudget::kMaxRuns);
        EXPECT_EQ(0, m_rules->WDepth());
    }
}

TEST_F(Evaluator, MatchCaseCapturesTheSelectionOfTheChosenCase) {
    ASSERT_NO_FATAL_FAILURE(Load(Rules(
        "", Macro("d", "<switch><name>MediaType</name><case><name>Photo</name>"
                       "<select_option>PaperSize.Photo4x6</select_option></case></switch>"))));
    CZQComPtr<IXMLDOMNode> sw = zqxmltest::Select(P().Document(), L"//macro[name='d']/switch");
    ASSERT_TRUE(sw);
    lstrcpyW(P().m_szMediaTypeValue, L"Photo");
    m_rules->VSetCapture(TRUE);
    EXPECT_TRUE(m_rules->BMatchCase(sw.Get()));
    EXPECT_STREQ(L"PaperSize.Photo4x6", m_rules->PszCaptureText());
    lstrcpyW(P().m_szMediaTypeValue, L"Plain");
    EXPECT_FALSE(m_rules->BMatchCase(sw.Get()));
}

}  // namespace
