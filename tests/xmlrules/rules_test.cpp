// The "constraints" section: what loading keeps and drops, and how a feature's new option is
// checked against the rules through the controllers.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "constrainttest.h"
#include "testsupport.h"
#include "xmlrules/zqconstraints.h"
#include "xmlrules/zqxmlparser.h"
#include "xmltestutil.h"

namespace {

using zqcontest::CBoxAnswers;
using zqcontest::HasVisibleStyle;

std::wstring Section(const std::wstring& records) {
    return L"<device><software><component><name>Tarnix</name><helper><constraints>" + records +
           L"</constraints></helper></component></software></device>";
}

std::wstring Record(const std::wstring& feature, const std::wstring& rules) {
    return L"<feature_constraints><feature_name>" + feature + L"</feature_name>" + rules + L"</feature_constraints>";
}

std::wstring Options(std::initializer_list<const wchar_t*> options) {
    std::wstring s = L"<opt_name_list>";
    for (const wchar_t* o : options) s += std::wstring(L"<opt_listitem>") + o + L"</opt_listitem>";
    return s + L"</opt_name_list>";
}

std::wstring Rule(std::initializer_list<const wchar_t*> options, const wchar_t* action, const std::wstring& body) {
    return L"<constraint_rec><opt_group>G</opt_group>" + Options(options) + L"<ui_action>" + action +
           L"</ui_action>" + body + L"</constraint_rec>";
}

// A constrained item; empty texts leave their element out.
std::wstring Constrained(const wchar_t* feature, std::initializer_list<const wchar_t*> allowed, const wchar_t* msg,
                         const wchar_t* force, const wchar_t* action, const wchar_t* bubble) {
    std::wstring s = std::wstring(L"<constrained_feature name=\"") + feature + L"\">" + Options(allowed);
    if (*msg) s += std::wstring(L"<msgbox_str_id>") + msg + L"</msgbox_str_id>";
    if (*force) s += std::wstring(L"<force_opt>") + force + L"</force_opt>";
    if (*action) s += std::wstring(L"<action>") + action + L"</action>";
    if (*bubble) s += std::wstring(L"<bubble_str_id>") + bubble + L"</bubble_str_id>";
    return s + L"</constrained_feature>";
}

std::wstring Unconstrained(const wchar_t* feature, const wchar_t* set, const wchar_t* action, const wchar_t* bubble) {
    std::wstring s = std::wstring(L"<uc_feature name=\"") + feature + L"\">";
    if (*set) s += std::wstring(L"<setoptval>") + set + L"</setoptval>";
    if (*action) s += std::wstring(L"<action>") + action + L"</action>";
    if (*bubble) s += std::wstring(L"<bubble_str_id>") + bubble + L"</bubble_str_id>";
    return s + L"</uc_feature>";
}

std::wstring Condition(const wchar_t* feature, std::initializer_list<const wchar_t*> options) {
    return std::wstring(L"<mc_feature name=\"") + feature + L"\">" + Options(options) + L"</mc_feature>";
}

const CZQFeatureConstraints* RecordAt(const CZQConstraintRuleSet& set, int i) {
    return static_cast<const CZQFeatureConstraints*>(set.Records().GetAt(i));
}
const CZQConstraintRule* RuleAt(const CZQFeatureConstraints* record, int i) {
    return static_cast<const CZQConstraintRule*>(record->m_rules.GetAt(i));
}

// ---------------------------------------------------------------------------------------------
// Loading
// ---------------------------------------------------------------------------------------------
class RuleLoading : public zqxmltest::ComTest {
protected:
    BOOL Load(const std::wstring& xml) {
        m_set = std::make_unique<CZQConstraintRuleSet>();
        CZQComPtr<IXMLDOMDocument> doc = zqxmltest::Parse(xml);
        EXPECT_TRUE(doc) << "the test's XML parses";
        return m_set->BLoad(doc.Get());
    }
    std::unique_ptr<CZQConstraintRuleSet> m_set;
};

TEST_F(RuleLoading, TheSectionMustOccurExactlyOnce) {
    const std::wstring record = Record(L"MediaType", Rule({L"A"}, L"displaybubble", L""));
    EXPECT_TRUE(Load(Section(record)));
    EXPECT_FALSE(Load(L"<device><helper/></device>"));
    EXPECT_FALSE(Load(L"<device><constraints>" + record + L"</constraints><x><constraints>" + record +
                      L"</constraints></x></device>"));
    EXPECT_EQ(0, m_set->Records().GetCount());
    EXPECT_FALSE(Load(Section(L""))) << "no record kept";
    EXPECT_FALSE(m_set->BLoad(nullptr));
}

TEST_F(RuleLoading, RecordsRulesAndItemsAreReadInFileOrder) {
    ASSERT_TRUE(Load(Section(
        Record(L"MediaType",
               Rule({L"A", L"B"}, L"displaymsgbox",
                    L"<constrained_features>" +
                        Constrained(L"ZQMorePasses", {L"Enabled"}, L"5830", L"Enabled", L"disable", L"5831") +
                        Constrained(L"ZQPrintInGrayScale", {}, L"", L"", L"enable", L"") +
                        L"</constrained_features><unconstrained_features>" +
                        Unconstrained(L"ZQMorePasses", L"Disabled", L"enable", L"5831") +
                        L"</unconstrained_features><multilevel_constrained_features>"
                        L"<multilevel_constrained_feature>" +
                        Condition(L"ZQBorderless", {L"AutoOn"}) +
                        Constrained(L"ZQMorePasses", {L"Disabled"}, L"", L"", L"", L"") +
                        L"</multilevel_constrained_feature></multilevel_constrained_features>") +
                   Rule({L"C"}, L"displaybubble", L"")) +
        Record(L"PrintQuality", Rule({L"Best"}, L"displaybubble", L"")))));
    ASSERT_EQ(2, m_set->Records().GetCount());
    const CZQFeatureConstraints* media = RecordAt(*m_set, 0);
    EXPECT_STREQ(L"MediaType", media->m_szFeature);
    ASSERT_EQ(2, media->m_rules.GetCount());
    const CZQConstraintRule* rule = RuleAt(media, 0);
    EXPECT_STREQ(L"G", rule->m_szGroup);
    EXPECT_EQ(ZQ_UI_ACTION_MSGBOX, rule->m_dwUiAction);
    EXPECT_EQ(2, rule->m_options.GetCount());
    ASSERT_EQ(2, rule->m_constrained.GetCount());
    const auto* item = static_cast<const CZQConstrainedItem*>(rule->m_constrained.GetAt(0));
    EXPECT_STREQ(L"ZQMorePasses", item->m_szFeature);
    EXPECT_EQ(5830, item->m_lMessageId);
    EXPECT_STREQ(L"Enabled", item->m_szForced);
    EXPECT_EQ(ZQ_ITEM_ACTION_DISABLE, item->m_dwAction);
    EXPECT_EQ(5831, item->m_lBubbleId);
    const auto* open = static_cast<const CZQConstrainedItem*>(rule->m_constrained.GetAt(1));
    EXPECT_EQ(0, open->m_allowed.GetCount()) << "an empty allowed list is allowed";
    EXPECT_EQ(ZQ_ITEM_ACTION_ENABLE, open->m_dwAction);
    ASSERT_EQ(1, rule->m_unconstrained.GetCount());
    EXPECT_STREQ(L"Disabled", static_cast<const CZQUnconstrainedItem*>(rule->m_unconstrained.GetAt(0))->m_szSetOption);
    ASSERT_EQ(1, rule->m_multiConstrained.GetCount());
    const auto* multi = static_cast<const CZQMultilevelConstrainedItem*>(rule->m_multiConstrained.GetAt(0));
    EXPECT_EQ(1, multi->m_conditions.GetCount());
    EXPECT_EQ(1, multi->m_items.GetCount());
    EXPECT_EQ(ZQ_UI_ACTION_BUBBLE, RuleAt(media, 1)->m_dwUiAction);
}

TEST_F(RuleLoading, AnUnknownUiActionDropsTheWholeRecord) {
    ASSERT_TRUE(Load(Section(Record(L"MediaType", Rule({L"A"}, L"displaybubble", L"") +
                                                      Rule({L"B"}, L"displaytooltip", L"") +
                                                      Rule({L"C"}, L"displaybubble", L"")) +
                             Record(L"Kept", Rule({L"A"}, L"displaybubble", L"")) +
                             Record(L"Empty", Rule({}, L"displaybubble", L"")) +
                             Record(L"Case", Rule({L"A"}, L"DisplayBubble", L"")))));
    ASSERT_EQ(1, m_set->Records().GetCount());
    EXPECT_STREQ(L"Kept", RecordAt(*m_set, 0)->m_szFeature);
}

TEST_F(RuleLoading, ABadItemIsDroppedAloneAndTheRuleStays) {
    const std::wstring tooLong(256, L'x');
    ASSERT_TRUE(Load(Section(Record(
        L"MediaType",
        Rule({L"A"}, L"displaymsgbox",
             L"<constrained_features>" +
                 Constrained(L"Kept", {L"X"}, L"12a", L"", L"", L"") +       // a letter: id -1
                 Constrained(L"EmptyId", {L"X"}, L"", L"", L"", L"") +
                 L"<constrained_feature name=\"EmptyMsg\"><msgbox_str_id/></constrained_feature>"
                 L"<constrained_feature><force_opt>X</force_opt></constrained_feature>" +  // no name
                 Constrained(L"Toggle", {L"X"}, L"", L"", L"toggle", L"") +
                 Constrained(tooLong.c_str(), {L"X"}, L"", L"", L"", L"") +
                 Constrained(L"LongForce", {L"X"}, L"", tooLong.c_str(), L"", L"") +
                 L"<constrained_feature name=\"EmptyOption\"><opt_name_list><opt_listitem/></opt_name_list>"
                 L"</constrained_feature>"
                 L"</constrained_features><unconstrained_features>" +
                 Unconstrained(L"UcKept", L"", L"", L"") +
                 L"<uc_feature name=\"UcBad\"><action>on</action></uc_feature>" +
                 L"</unconstrained_features><multilevel_unconstrained_features>"
                 L"<multilevel_unconstrained_feature>" +
                 Condition(L"ZQBorderless", {}) + Unconstrained(L"X", L"", L"", L"") +
                 L"</multilevel_unconstrained_feature><multilevel_unconstrained_feature>" +
                 Unconstrained(L"NoCondition", L"", L"", L"") +
                 L"</multilevel_unconstrained_feature></multilevel_unconstrained_features>")))));
    const CZQConstraintRule* rule = RuleAt(RecordAt(*m_set, 0), 0);
    ASSERT_EQ(2, rule->m_constrained.GetCount());
    const auto* kept = static_cast<const CZQConstrainedItem*>(rule->m_constrained.GetAt(0));
    EXPECT_STREQ(L"Kept", kept->m_szFeature);
    EXPECT_EQ(-1, kept->m_lMessageId);
    EXPECT_STREQ(L"EmptyId", static_cast<const CZQConstrainedItem*>(rule->m_constrained.GetAt(1))->m_szFeature);
    EXPECT_EQ(1, rule->m_unconstrained.GetCount());
    ASSERT_EQ(1, rule->m_multiUnconstrained.GetCount()) << "a condition without options fails its multilevel item";
    EXPECT_EQ(0, static_cast<const CZQMultilevelUnconstrainedItem*>(rule->m_multiUnconstrained.GetAt(0))
                     ->m_conditions.GetCount());
}

TEST_F(RuleLoading, ElementNamesMatchExactly) {
    ASSERT_TRUE(Load(Section(Record(L"MediaType", L"<Constraint_Rec>" + Rule({L"A"}, L"displaybubble", L"") +
                                                      L"</Constraint_Rec>" + Rule({L"B"}, L"displaybubble", L"")) +
                             L"<Feature_Constraints><feature_name>Other</feature_name></Feature_Constraints>")));
    ASSERT_EQ(1, m_set->Records().GetCount());
    EXPECT_EQ(1, RecordAt(*m_set, 0)->m_rules.GetCount());
    EXPECT_FALSE(Load(L"<device><Constraints>" + Record(L"MediaType", Rule({L"A"}, L"displaybubble", L"")) +
                      L"</Constraints></device>"));
}

// ---------------------------------------------------------------------------------------------
// Evaluation
// ---------------------------------------------------------------------------------------------
class RuleEvaluation : public zqxmltest::ComTest {
protected:
    // Features: margins at `margins`, greyscale at `gray`, more passes at `passes`.
    void Build(const std::wstring& records, LONG margins = 0, LONG gray = 0, LONG passes = 0) {
        zqcontest::AddControllerFeatures(m_host, margins, gray, passes);
        m_host.Build();
        m_logic.m_pParam = m_host.Param();
        m_set = std::make_unique<CZQConstraintRuleSet>(m_texts.Loader());
        CZQComPtr<IXMLDOMDocument> doc = zqxmltest::Parse(Section(records));
        ASSERT_TRUE(m_set->BLoad(doc.Get()));
        AddController(new CZQMarginsController(), L"ZQBorderless");
        AddController(new CZQColorOptionsController(), L"ZQPrintInGrayScale");
        AddController(new CZQMorePassesController(), L"ZQMorePasses");
    }
    void AddController(CZQConstraintController* ctl, const wchar_t* name) {
        ctl->BSetFeatureName(name, GetModuleHandleW(nullptr), nullptr);
        ctl->VSetLogic(&m_logic);
        ASSERT_TRUE(m_set->BAddController(ctl));
    }
    CZQConstraintController* Ctl(const wchar_t* name) {
        CZQConstraintController* ctl = nullptr;
        EXPECT_TRUE(m_set->BFindController(name, &ctl));
        return ctl;
    }
    BOOL Evaluate(const wchar_t* feature, const wchar_t* option, DWORD* cancelled) {
        return m_set->BEvaluate(feature, option, m_dlg.Dlg(), cancelled);
    }
    std::wstring Text(INT id) { return m_texts.Text(id); }
    int Bubbles(const wchar_t* name) { return Ctl(name)->TipIcon()->TipWindow()->BubbleIds().GetCount(); }

    zqcontest::CStatusTexts m_texts;
    zqtest::COptItemFixture m_host;
    zqcontest::CTestLogic m_logic;
    zqcontest::CTestDialog m_dlg;
    std::unique_ptr<CZQConstraintRuleSet> m_set;
};

TEST_F(RuleEvaluation, ArgumentsRecordAndRuleMustAllBeThere) {
    Build(Record(L"MediaType", Rule({L"Film"}, L"displaybubble",
                                    L"<unconstrained_features>" + Unconstrained(L"ZQMorePasses", L"Enabled", L"", L"") +
                                        L"</unconstrained_features>")));
    DWORD cancelled = 7;
    EXPECT_FALSE(m_set->BEvaluate(L"MediaType", L"Film", nullptr, &cancelled));
    EXPECT_FALSE(m_set->BEvaluate(L"MediaType", L"Film", reinterpret_cast<HWND>(0x4321), &cancelled));
    EXPECT_FALSE(m_set->BEvaluate(nullptr, L"Film", m_dlg.Dlg(), &cancelled));
    EXPECT_FALSE(m_set->BEvaluate(L"MediaType", nullptr, m_dlg.Dlg(), &cancelled));
    EXPECT_FALSE(m_set->BEvaluate(L"MediaType", L"Film", m_dlg.Dlg(), nullptr));
    EXPECT_FALSE(Evaluate(L"PaperSize", L"Film", &cancelled));
    EXPECT_FALSE(Evaluate(L"MediaType", L"Plain", &cancelled));
    EXPECT_EQ("Disabled", m_host.Current("ZQMorePasses"));
    EXPECT_EQ(7u, cancelled);
    // A controlled feature's own controller follows its change, whatever the rules say.
    EXPECT_FALSE(Evaluate(L"zqmorepasses", L"Enabled", &cancelled));
    EXPECT_EQ("Enabled", m_host.Current("ZQMorePasses"));
}

TEST_F(RuleEvaluation, OnlyTheFirstRuleListingTheOptionActs) {
    Build(Record(L"MediaType",
                 Rule({L"Glossy"}, L"displaybubble",
                      L"<unconstrained_features>" + Unconstrained(L"ZQMorePasses", L"Enabled", L"", L"") +
                          L"</unconstrained_features>") +
                     Rule({L"GLOSSY", L"Matte"}, L"displaybubble",
                          L"<unconstrained_features>" +
                              Unconstrained(L"ZQPrintInGrayScale", L"FullSetofInks", L"", L"") +
                              L"</unconstrained_features>")));
    DWORD cancelled = 0;
    Evaluate(L"mediatype", L"glossy", &cancelled);
    EXPECT_EQ("Enabled", m_host.Current("ZQMorePasses"));
    EXPECT_EQ("FALSE", m_host.Current("ZQPrintInGrayScale")) << "the second rule lists it too but does not act";
    Evaluate(L"MediaType", L"MATTE", &cancelled);
    EXPECT_EQ("FullSetofInks", m_host.Current("ZQPrintInGrayScale"));
}

// Film: more passes must be on (message 5834); grey scale must be off or full inks (message 5830,
// the same id twice collapses to one line).
std::wstring FilmRule() {
    return Record(L"MediaType",
                  Rule({L"Film"}, L"displaymsgbox",
                       L"<constrained_features>" +
                           Constrained(L"ZQMorePasses", {L"Enabled"}, L"5834", L"Enabled", L"disable", L"5835") +
                           Constrained(L"ZQPrintInGrayScale", {L"FALSE"}, L"5830", L"FALSE", L"", L"") +
                           Constrained(L"ZQPrintInGrayScale", {L"FALSE", L"FullSetofInks"}, L"5830", L"", L"", L"") +
                           Constrained(L"ZQBorderless", {L"AutoOff"}, L"9x", L"AutoOff", L"", L"") +
                           L"</constrained_features><unconstrained_features>" +
                           Unconstrained(L"ZQPrintInGrayScale", L"", L"enable", L"5832") +
                           L"</unconstrained_features>"));
}

TEST_F(RuleEvaluation, MessageBoxShowsEachViolatedTextOnceAndOkAppliesTheRule) {
    Build(FilmRule(), 3, 1, 0);
    Ctl(L"ZQPrintInGrayScale")->TipIcon()->BAddBubbleId(5832);
    CBoxAnswers boxes({IDOK});
    DWORD cancelled = 7;
    EXPECT_TRUE(Evaluate(L"MediaType", L"Film", &cancelled) == FALSE) << "no multilevel unconstrained item";
    ASSERT_EQ(1u, boxes.Boxes().size());
    const zqcontest::ShownBox& box = boxes.Boxes()[0];
    EXPECT_EQ(L"Feature tip", box.caption);
    EXPECT_EQ(static_cast<UINT>(MB_OKCANCEL | MB_ICONINFORMATION), box.type);
    EXPECT_EQ(m_dlg.Dlg(), box.owner);
    // The borderless item is violated too, but its id is no number.
    EXPECT_EQ(Text(5800) + L"\t\n\n" + Text(5834) + L"\t\n" + Text(5830) + L"\t\n\t\n" + Text(5801) + L"\t\n",
              box.text);
    EXPECT_EQ(0u, cancelled);
    EXPECT_EQ("Enabled", m_host.Current("ZQMorePasses"));
    EXPECT_FALSE(Ctl(L"ZQMorePasses")->BEnabled());
    EXPECT_EQ(1, Bubbles(L"ZQMorePasses"));
    EXPECT_EQ("FALSE", m_host.Current("ZQPrintInGrayScale"));
    EXPECT_EQ("Standard", m_host.Current("ZQPrintWithMargins"));
    EXPECT_EQ(0, Bubbles(L"ZQPrintInGrayScale")) << "the unconstrained item removed its id";
    EXPECT_EQ(0, m_set->MessageIcon()->MessageIds().GetCount()) << "the list is emptied";
}

TEST_F(RuleEvaluation, CancelKeepsTheConstrainedFeaturesButAppliesTheUnconstrained) {
    Build(FilmRule(), 0, 1, 0);
    Ctl(L"ZQPrintInGrayScale")->TipIcon()->BAddBubbleId(5832);
    Ctl(L"ZQPrintInGrayScale")->BEnableAll(FALSE);
    CBoxAnswers boxes({IDCANCEL});
    DWORD cancelled = 0;
    Evaluate(L"MediaType", L"Film", &cancelled);
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ(1u, cancelled);
    EXPECT_EQ("Disabled", m_host.Current("ZQMorePasses"));
    EXPECT_EQ("GrayandBlackInks", m_host.Current("ZQPrintInGrayScale"));
    EXPECT_TRUE(Ctl(L"ZQMorePasses")->BEnabled());
    EXPECT_EQ(0, Bubbles(L"ZQMorePasses"));
    EXPECT_EQ(0, Bubbles(L"ZQPrintInGrayScale"));
    EXPECT_TRUE(Ctl(L"ZQPrintInGrayScale")->BEnabled());
    EXPECT_EQ(0, m_set->MessageIcon()->MessageIds().GetCount());
}

TEST_F(RuleEvaluation, NothingViolatedShowsNoBoxAndStillForcesTheOptions) {
    Build(FilmRule(), 0, 0, 1);
    CBoxAnswers boxes({IDCANCEL});
    DWORD cancelled = 7;
    Evaluate(L"MediaType", L"film", &cancelled);
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(0u, cancelled);
    EXPECT_FALSE(Ctl(L"ZQMorePasses")->BEnabled()) << "every constrained item applies, violated or not";
    EXPECT_EQ(1, Bubbles(L"ZQMorePasses"));
    EXPECT_EQ("Enabled", m_host.Current("ZQMorePasses"));
}

TEST_F(RuleEvaluation, MultilevelItemsActWhenOneConditionHoldsOrWhenTheyHaveNone) {
    const std::wstring body =
        L"<multilevel_constrained_features><multilevel_constrained_feature>" +
        Condition(L"ZQBorderless", {L"AutoOn"}) + Condition(L"ZQMorePasses", {L"Enabled"}) +
        Constrained(L"ZQPrintInGrayScale", {L"FALSE"}, L"", L"FALSE", L"", L"5831") +
        L"</multilevel_constrained_feature></multilevel_constrained_features>"
        L"<multilevel_unconstrained_features><multilevel_unconstrained_feature>" +
        Unconstrained(L"ZQMorePasses", L"Enabled", L"", L"") +
        L"</multilevel_unconstrained_feature><multilevel_unconstrained_feature>" +
        Condition(L"ZQPrintInGrayScale", {L"GrayandBlackInks"}) +
        Unconstrained(L"ZQBorderless", L"AutoOn", L"disable", L"") +
        L"</multilevel_unconstrained_feature></multilevel_unconstrained_features>";
    Build(Record(L"MediaType", Rule({L"Photo"}, L"displaybubble", body)), 0, 1, 0);
    ASSERT_TRUE(Ctl(L"ZQBorderless")->BAttachById(m_dlg.Dlg(), IDC_RB_BORDERLESS));
    DWORD cancelled = 7;
    // Neither condition holds: grey scale stays; the second unconstrained item's condition holds.
    EXPECT_TRUE(Evaluate(L"MediaType", L"Photo", &cancelled)) << "the last multilevel unconstrained item's result";
    EXPECT_EQ("GrayandBlackInks", m_host.Current("ZQPrintInGrayScale"));
    EXPECT_EQ("Enabled", m_host.Current("ZQMorePasses")) << "without conditions the item acts";
    EXPECT_EQ("NoMargins", m_host.Current("ZQPrintWithMargins"));
    EXPECT_FALSE(IsWindowEnabled(m_dlg.Item(IDC_RB_BORDERLESS)));
    EXPECT_EQ(7u, cancelled) << "a bubble rule leaves the flag alone";
    // Now both conditions hold: the violated item applies with its tip.
    Evaluate(L"MediaType", L"Photo", &cancelled);
    EXPECT_EQ("FALSE", m_host.Current("ZQPrintInGrayScale"));
    EXPECT_EQ(1, Bubbles(L"ZQPrintInGrayScale"));
}

TEST_F(RuleEvaluation, BubbleRulesApplyOnlyViolatedItemsAndShowTheirTips) {
    Build(Record(L"MediaType",
                 Rule({L"Film"}, L"displaybubble",
                      L"<constrained_features>" +
                          Constrained(L"ZQMorePasses", {L"Enabled"}, L"5834", L"Enabled", L"disable", L"5835") +
                          Constrained(L"ZQPrintInGrayScale", {L"FALSE"}, L"", L"", L"disable", L"5831") +
                          L"</constrained_features>") +
                     Rule({L"Plain"}, L"displaybubble",
                          L"<unconstrained_features>" + Unconstrained(L"ZQMorePasses", L"", L"enable", L"5835") +
                              Unconstrained(L"Missing", L"", L"", L"") + L"</unconstrained_features>")));
    CZQConstraintController* passes = Ctl(L"ZQMorePasses");
    ASSERT_TRUE(passes->BAttachById(m_dlg.Dlg(), IDC_PQ_CHECK_MORE_PASSES));
    HWND icon = passes->TipIcon()->TipWindow()->IconWindow();
    EXPECT_FALSE(HasVisibleStyle(icon));
    CBoxAnswers boxes;
    DWORD cancelled = 7;
    Evaluate(L"MediaType", L"Film", &cancelled);
    EXPECT_TRUE(boxes.Boxes().empty()) << "a bubble rule never asks";
    EXPECT_EQ("Enabled", m_host.Current("ZQMorePasses"));
    EXPECT_TRUE(HasVisibleStyle(icon));
    EXPECT_FALSE(IsWindowEnabled(m_dlg.Item(IDC_PQ_CHECK_MORE_PASSES)));
    EXPECT_EQ(0, Bubbles(L"ZQPrintInGrayScale")) << "grey scale was not violated";
    EXPECT_TRUE(Ctl(L"ZQPrintInGrayScale")->BEnabled());

    EXPECT_FALSE(Evaluate(L"MediaType", L"Plain", &cancelled)) << "only plain unconstrained items";
    EXPECT_FALSE(HasVisibleStyle(icon));
    EXPECT_TRUE(IsWindowEnabled(m_dlg.Item(IDC_PQ_CHECK_MORE_PASSES)));
    EXPECT_EQ("Enabled", m_host.Current("ZQMorePasses")) << "an empty option to set selects nothing here";
}

// ---------------------------------------------------------------------------------------------
// The sample printers' helper files
// ---------------------------------------------------------------------------------------------
class SampleRules : public RuleEvaluation {
protected:
    void LoadSample(const wchar_t* file, LONG gray, LONG passes) {
        zqcontest::AddControllerFeatures(m_host, 0, gray, passes);
        m_host.Build();
        m_logic.m_pParam = m_host.Param();
        ASSERT_TRUE(m_parser.BLoad(zqtest::BesideExe(file).c_str()));
        m_set = std::make_unique<CZQConstraintRuleSet>(m_texts.Loader());
        ASSERT_TRUE(m_set->BLoad(m_parser.Document()));
        AddController(new CZQMarginsController(), L"ZQBorderless");
        AddController(new CZQColorOptionsController(), L"ZQPrintInGrayScale");
        AddController(new CZQMorePassesController(), L"ZQMorePasses");
    }
    CZQXmlParserCommon m_parser;
};

TEST_F(SampleRules, DeskTransparencyAsksAndTurnsGrayscaleOff) {
    LoadSample(L"zqdesk.xml", 1, 0);
    CZQConstraintController* gray = Ctl(L"ZQPrintInGrayScale");
    ASSERT_TRUE(gray->BAttachById(m_dlg.Dlg(), IDC_CBO_GRAYSCALE));
    CBoxAnswers boxes({IDOK});
    DWORD cancelled = 7;
    Evaluate(L"MediaType", L"TRANSPARENCY", &cancelled);
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_NE(std::wstring::npos, boxes.Boxes()[0].text.find(Text(5830)));
    EXPECT_EQ(0u, cancelled);
    EXPECT_EQ("FALSE", m_host.Current("ZQPrintInGrayScale"));
    EXPECT_FALSE(IsWindowEnabled(m_dlg.Item(IDC_CBO_GRAYSCALE)));
    EXPECT_TRUE(HasVisibleStyle(gray->TipIcon()->TipWindow()->IconWindow()));

    // Photo paper: grey scale comes back, the film's tip goes.
    Evaluate(L"MediaType", L"PHOTO_GLOSSY", &cancelled);
    EXPECT_TRUE(gray->BEnabled());
    EXPECT_FALSE(HasVisibleStyle(gray->TipIcon()->TipWindow()->IconWindow()));
    // Black ink only on photo paper: the full set of inks instead, with its tip.
    gray->BSetValueText(L"GrayandBlackInks");
    Evaluate(L"MediaType", L"PHOTO_MATTE", &cancelled);
    EXPECT_EQ("FullSetofInks", m_host.Current("ZQPrintInGrayScale"));
    EXPECT_TRUE(HasVisibleStyle(gray->TipIcon()->TipWindow()->IconWindow()));
    Evaluate(L"MediaType", L"PLAIN", &cancelled);
    EXPECT_FALSE(HasVisibleStyle(gray->TipIcon()->TipWindow()->IconWindow()));
    EXPECT_EQ(1u, boxes.Boxes().size());
}

TEST_F(SampleRules, RollClearFilmTurnsMorePassesOnOrIsTakenBack) {
    LoadSample(L"zqroll.xml", 0, 0);
    CBoxAnswers boxes({IDCANCEL, IDOK});
    DWORD cancelled = 0;
    Evaluate(L"MediaType", L"CLEAR_FILM", &cancelled);
    EXPECT_EQ(1u, cancelled);
    EXPECT_EQ("Disabled", m_host.Current("ZQMorePasses"));
    Evaluate(L"MediaType", L"CLEAR_FILM", &cancelled);
    EXPECT_EQ(0u, cancelled);
    EXPECT_EQ("Enabled", m_host.Current("ZQMorePasses"));
    EXPECT_FALSE(Ctl(L"ZQMorePasses")->BEnabled());
    ASSERT_EQ(2u, boxes.Boxes().size());
    EXPECT_NE(std::wstring::npos, boxes.Boxes()[1].text.find(Text(5834)));
    Evaluate(L"MediaType", L"PLAIN", &cancelled);
    EXPECT_TRUE(Ctl(L"ZQMorePasses")->BEnabled());
    EXPECT_EQ(0, Bubbles(L"ZQMorePasses"));
}

}  // namespace
