// The rule engine on the core driver's option items: each macro construct against the changes the
// core driver is told about through DrvUpdateUISetting.
#include <string>
#include <vector>

#include "macrotest.h"
#include "formats/zquidevmode.h"

using zqmacrotest::Feature;
using zqmacrotest::Macro;
using zqmacrotest::Rules;

namespace {

class MacroConstructs : public zqmacrotest::MacroTest {
protected:
    // Runs "m" with this body on the standard items, with the update log cleared first.
    void RunBody(const std::string& body) {
        ASSERT_NO_FATAL_FAILURE(Load(Rules("", Macro("m", body))));
        if (!m_host.Param()->pDrvOptItems) BuildStandardHost();
        m_host.ClearUpdates();
        EXPECT_TRUE(Run(L"m"));
    }
};

// ---------------------------------------------------------------------------------------------
// Options of an item
// ---------------------------------------------------------------------------------------------
TEST_F(MacroConstructs, SelectOptionSelectsAndReportsAsADocumentChange) {
    RunBody("<select_option>Duplex.DuplexTumble</select_option>");
    EXPECT_EQ(2, m_host.Item("Duplex")->Sel);
    EXPECT_EQ("DuplexTumble", m_host.Current("Duplex"));
    const zqtest::UpdateRecord& last = m_host.Updates().back();
    EXPECT_EQ("Duplex", last.keyword);
    EXPECT_EQ(2, last.sel);
    EXPECT_EQ(2u, last.previous);
    EXPECT_EQ(static_cast<DWORD>(OEMCUIP_DOCPROP), last.mode);
    EXPECT_TRUE(last.itemFlags & OPTIF_CHANGED);
}

TEST_F(MacroConstructs, SelectingAHiddenOptionShowsItAndReportsItTwice) {
    // The current option, hidden and disabled: nothing to look up, so every report is the macro's.
    BuildStandardHost();
    Option("MediaType", 0).Flags = OPTPF_HIDE | OPTPF_DISABLED;
    RunBody("<select_option>MediaType.Plain</select_option>");
    EXPECT_EQ(0, Option("MediaType", 0).Flags);
    ASSERT_EQ(2u, Reports());

    // Another option: one report more than for the same option when it is visible.
    Option("Duplex", 2).Flags = OPTPF_HIDE;
    RunBody("<select_option>Duplex.DuplexTumble</select_option>");
    const size_t hiddenReports = Reports();
    EXPECT_EQ(0, Option("Duplex", 2).Flags);
    m_host.SetSelection("Duplex", 1);
    // The same look-up as the first run's, not the one its walk taught.
    CZQCommon::VForgetOptionKeywords();
    RunBody("<select_option>Duplex.DuplexTumble</select_option>");
    EXPECT_EQ(hiddenReports, Reports() + 1);
}

TEST_F(MacroConstructs, ConflictMarkIsLiftedOnlyForTheReport) {
    BuildStandardHost();
    Option("Duplex", 2).Flags = OPTPF_OVERLAY_WARNING_ICON;
    RunBody("<select_option>Duplex.DuplexTumble</select_option>");
    EXPECT_FALSE(m_host.Updates().back().overlayAtCall);
    EXPECT_EQ(OPTPF_OVERLAY_WARNING_ICON, Option("Duplex", 2).Flags);
}

TEST_F(MacroConstructs, OptionMarksChangeAndReportOnlyWhenTheyDiffer) {
    // Option 0 is current, so no look-up reports mix in.
    RunBody("<disable_option>MediaType.Plain</disable_option><hide_option>MediaType.Plain</hide_option>");
    EXPECT_EQ(OPTPF_DISABLED | OPTPF_HIDE, Option("MediaType", 0).Flags);
    ASSERT_EQ(2u, Reports());
    EXPECT_EQ(0u, m_host.Updates()[0].previous);  // the option's index
    RunBody("<disable_option>MediaType.Plain</disable_option><hide_option>MediaType.Plain</hide_option>");
    EXPECT_EQ(0u, Reports());
    RunBody("<enable_option>MediaType.Plain</enable_option><enable_option>MediaType.Plain</enable_option>");
    EXPECT_EQ(0, Option("MediaType", 0).Flags);
    EXPECT_EQ(1u, Reports());
}

// ---------------------------------------------------------------------------------------------
// Whole items
// ---------------------------------------------------------------------------------------------
TEST_F(MacroConstructs, ItemMarksFollowEnableDisableAndHide) {
    RunBody("<disable>Duplex</disable><disable>Duplex</disable>");
    EXPECT_EQ(static_cast<DWORD>(OPTIF_DISABLED | OPTIF_CHANGED), Flags("Duplex"));
    ASSERT_EQ(1u, Reports());
    EXPECT_EQ(1u, m_host.Updates()[0].previous);  // the current selection

    RunBody("<hide>Duplex</hide><enable>Duplex</enable>");
    EXPECT_EQ(static_cast<DWORD>(OPTIF_CHANGED), Flags("Duplex"));
    EXPECT_EQ(2u, Reports());

    // A hidden item is not disabled on top.
    RunBody("<hide>Duplex</hide><disable>Duplex</disable>");
    EXPECT_EQ(static_cast<DWORD>(OPTIF_HIDE | OPTIF_CHANGED), Flags("Duplex"));
    EXPECT_EQ(1u, Reports());
}

TEST_F(MacroConstructs, AnEditItemsTextIsNoSelectionToReport) {
    zqtest::FixtureFeature name;
    name.keyword = "ZQJobName";
    name.kind = zqtest::FixtureKind::Edit;
    name.text = L"Report";
    m_host.Add(name);
    m_host.Build();
    RunBody("<disable>ZQJobName</disable>");
    ASSERT_EQ(1u, Reports());
    EXPECT_EQ(0u, m_host.Updates()[0].previous);
    EXPECT_EQ(L"Report", m_host.Updates()[0].text);
}

TEST_F(MacroConstructs, ElementsNamingWhatTheDriverLacksChangeNothing) {
    RunBody("<select_option>Staple.On</select_option><select_option>Duplex.Booklet</select_option>"
            "<hide_option>Duplex.Booklet</hide_option><disable>Staple</disable>"
            "<select_option>Duplex</select_option><enable_option>MediaType.</enable_option>"
            "<select_option>" + std::string(81, 'D') + ".None</select_option>"
            "<select_option>Duplex." + std::string(81, 'N') + "</select_option>");
    EXPECT_EQ(1, m_host.Item("Duplex")->Sel);
    EXPECT_EQ("DuplexNoTumble", m_host.Current("Duplex"));
    EXPECT_EQ(0u, Flags("Duplex") & (OPTIF_HIDE | OPTIF_DISABLED));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(0, Option("Duplex", i).Flags);
}

TEST_F(MacroConstructs, CheckBoxStatesCarryNoOptionMarks) {
    zqtest::FixtureFeature box = zqtest::ListFeature("ZQMirror", {{"False", L""}, {"True", L""}});
    box.kind = zqtest::FixtureKind::CheckBox;
    m_host.Add(box);
    m_host.Build();
    RunBody("<hide_option>ZQMirror.True</hide_option><select_option>ZQMirror.True</select_option>");
    EXPECT_EQ(1, m_host.Item("ZQMirror")->Sel);
    EXPECT_EQ(0, Option("ZQMirror", 0).Flags);
}

// ---------------------------------------------------------------------------------------------
// What macros record for their callers
// ---------------------------------------------------------------------------------------------
TEST_F(MacroConstructs, SourceAndPhotoFixSelectionsAreKept) {
    m_host.Add(zqtest::ListFeature("InputBin", {{"Auto", L"Auto"}, {"Tray1", L"Tray 1"}, {"ManualFeed", L"Manual"}}));
    m_host.Add(zqtest::ListFeature("ZQPhotoFix", {{"Off", L"Off"}, {"On", L"On"}}));
    m_host.Build();
    RunBody("<select_option>InputBin.ManualFeed</select_option><select_option>ZQPhotoFix.On</select_option>");
    EXPECT_EQ(2, m_rules->IInputBinIndex());
    EXPECT_EQ(1, m_rules->IPhotoFixIndex());
    EXPECT_EQ("On", m_host.Current("ZQPhotoFix"));
}

TEST_F(MacroConstructs, LimitsGoToTheEngineAndToTheRegisteredRecord) {
    ZQCustomSizeLimits target = {1, 2, 3, 4};
    m_rules->VSetCustomSizeTarget(&target);
    RunBody("<option_name>min_width.100</option_name><option_name>MAX_WIDTH.200</option_name>"
            "<option_name>min_length.300</option_name><option_name>max_length.400</option_name>"
            "<option_name>inputbin_min_width.5</option_name><option_name>inputbin_max_length.8</option_name>");
    EXPECT_EQ(100, target.lMinWidth);
    EXPECT_EQ(200, target.lMaxWidth);
    EXPECT_EQ(300, target.lMinLength);
    EXPECT_EQ(400, target.lMaxLength);
    const LONG* custom = m_rules->CustomSizeLimits();
    EXPECT_EQ((std::vector<LONG>{300, 400, 100, 200}), std::vector<LONG>(custom, custom + 4));
    const LONG* bin = m_rules->InputBinLimits();
    EXPECT_EQ((std::vector<LONG>{5, 0, 0, 8}), std::vector<LONG>(bin, bin + 4));

    // Any other limit clears the caller's record, not the engine's.
    RunBody("<option_name>bleed.9</option_name>");
    EXPECT_EQ(0, target.lMinWidth + target.lMaxWidth + target.lMinLength + target.lMaxLength);
    EXPECT_EQ(100, m_rules->CustomSizeLimits()[2]);
    m_rules->VSetCustomSizeTarget(nullptr);
    RunBody("<option_name>bleed.9</option_name><option_name>min_width.7</option_name>");
    EXPECT_EQ(7, m_rules->CustomSizeLimits()[2]);
}

TEST_F(MacroConstructs, ResourceIdsFillThreeSlotsPerBody) {
    RunBody("<resource_id>11</resource_id><resource_id>12</resource_id><resource_id>13</resource_id>"
            "<resource_id>14</resource_id>");
    EXPECT_EQ(11u, m_rules->DWResourceId(0));
    EXPECT_EQ(13u, m_rules->DWResourceId(2));
    // A branch is a body of its own.
    RunBody("<switch><name>MediaType</name><case_default><resource_id>21</resource_id></case_default></switch>");
    EXPECT_EQ(21u, m_rules->DWResourceId(0));
    EXPECT_EQ(12u, m_rules->DWResourceId(1));
}

// ---------------------------------------------------------------------------------------------
// Malformed macros
// ---------------------------------------------------------------------------------------------
TEST_F(MacroConstructs, UnknownElementsAndCommentsAreSkippedAnEmptyElementEndsTheBody) {
    RunBody("<!-- note --><frobnicate>Duplex</frobnicate><name>x</name><map_option>Duplex.None</map_option>"
            "<string_id>6500</string_id><disable>Duplex</disable><hide></hide><hide>PrintQualityGroup</hide>");
    EXPECT_TRUE(Flags("Duplex") & OPTIF_DISABLED);
    EXPECT_FALSE(Flags("PrintQualityGroup") & OPTIF_HIDE);
}

TEST_F(MacroConstructs, NothingRunsWithoutAFileAMacroOrAParameterBlock) {
    BuildStandardHost();
    EXPECT_FALSE(Run(L"m"));  // nothing loaded yet
    ASSERT_NO_FATAL_FAILURE(Load(Rules(Feature("Duplex", {"m"}), Macro("m", "<hide>Duplex</hide>"))));
    EXPECT_FALSE(Run(L"absent"));
    EXPECT_FALSE(m_rules->BRunFeatureMacros(L"MediaType", L"Plain", m_host.Param()));
    EXPECT_FALSE(m_rules->BRunMacro(L"m", nullptr, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_DATA), GetLastError());
    m_rules->Parser().VSetLoaded(FALSE);
    EXPECT_FALSE(m_rules->BRunFeatureMacros(L"Duplex", L"None", m_host.Param()));
    EXPECT_EQ(0u, Reports());
}

// ---------------------------------------------------------------------------------------------
// Feature macros and switches
// ---------------------------------------------------------------------------------------------
class MacroSwitch : public zqmacrotest::MacroTest {
protected:
    void SetUp() override {
        MacroTest::SetUp();
        m_host.Add(zqtest::ValueFeature("Empty", ""));
        BuildStandardHost();
    }
    // Runs a switch on the feature, followed by hiding PrintQualityGroup in the same body.
    void RunSwitch(const std::string& feature, const std::string& branches) {
        ASSERT_NO_FATAL_FAILURE(Load(Rules(
            "", Macro("m", "<switch><name>" + feature + "</name>" + branches + "</switch><hide>PrintQualityGroup</hide>"))));
        Run(L"m");
    }
    bool Disabled(const char* f) { return (Flags(f) & OPTIF_DISABLED) != 0; }
    bool Hidden(const char* f) { return (Flags(f) & OPTIF_HIDE) != 0; }
};

TEST_F(MacroSwitch, FeatureMacrosRunInDocumentOrderUntilAnEmptyName) {
    ASSERT_NO_FATAL_FAILURE(Load(Rules(Feature("MediaType", {"m1", "m2", "", "m3"}),
                                       Macro("m1", "<disable>Duplex</disable>") + Macro("m2", "<enable>Duplex</enable>") +
                                           Macro("m3", "<hide>Duplex</hide>"))));
    EXPECT_TRUE(m_rules->BRunFeatureMacros(L"mediatype", L"Plain", m_host.Param()));
    EXPECT_EQ(static_cast<DWORD>(OPTIF_CHANGED), Flags("Duplex"));
    EXPECT_EQ(2u, Reports());
}

TEST_F(MacroSwitch, TheCurrentOptionChoosesTheCaseElseTheDefault) {
    const std::string branches =
        "<case><name>Photo</name><disable>Duplex</disable></case><case_default><hide>Duplex</hide></case_default>";
    m_host.SetSelection("MediaType", 1);
    RunSwitch("MediaType", branches);
    EXPECT_TRUE(Disabled("Duplex"));
    EXPECT_FALSE(Hidden("Duplex"));
    EXPECT_TRUE(Hidden("PrintQualityGroup"));

    m_host.SetSelection("MediaType", 2);
    RunSwitch("MediaType", branches);
    EXPECT_TRUE(Hidden("Duplex"));
}

TEST_F(MacroSwitch, NoMatchingCaseAndNoDefaultEndsTheBody) {
    RunSwitch("MediaType", "<case><name>Photo</name><disable>Duplex</disable></case>");
    EXPECT_FALSE(Disabled("Duplex"));
    EXPECT_FALSE(Hidden("PrintQualityGroup"));
    // An empty first child too.
    RunSwitch("", "<case_default><disable>Duplex</disable></case_default>");
    EXPECT_FALSE(Disabled("Duplex"));
    EXPECT_FALSE(Hidden("PrintQualityGroup"));
}

TEST_F(MacroSwitch, FeatureWithoutCurrentOptionTakesOnlyTheDefault) {
    // Neither the first case nor the case of an earlier switch's option may be taken.
    m_host.SetSelection("MediaType", 1);
    const std::string first = "<switch><name>MediaType</name><case><name>Photo</name></case></switch>";
    for (const char* feature : {"Absent", "Empty"}) {
        ASSERT_NO_FATAL_FAILURE(Load(Rules(
            "", Macro("m", first + "<switch><name>" + feature +
                               "</name><case><name>Photo</name><disable>Duplex</disable></case>"
                               "<case_default><hide>Duplex</hide></case_default></switch>"))));
        Run(L"m");
        EXPECT_FALSE(Disabled("Duplex")) << feature;
        EXPECT_TRUE(Hidden("Duplex")) << feature;
        m_host.Item("Duplex")->Flags = 0;
    }
    RunSwitch("Absent", "<case><name>Photo</name><disable>Duplex</disable></case>");
    EXPECT_FALSE(Disabled("Duplex"));
    EXPECT_FALSE(Hidden("PrintQualityGroup"));
}

TEST_F(MacroSwitch, DeeplyNestedSwitchesStopAtTheirLimit) {
    // Each level records its depth as a limit, then switches once more.
    std::string body;
    const int levels = 40;
    for (int i = 1; i <= levels; ++i)
        body += "<switch><name>MediaType</name><case_default><option_name>min_width." + std::to_string(i) +
                "</option_name>";
    for (int i = 0; i < levels; ++i) body += "</case_default></switch>";
    ASSERT_NO_FATAL_FAILURE(Load(Rules("", Macro("m", body + "<hide>Duplex</hide>"))));
    Run(L"m");
    EXPECT_EQ(static_cast<LONG>(CZQXmlUiRules::kMaxSwitchDepth), m_rules->CustomSizeLimits()[2]);
    EXPECT_TRUE(Hidden("Duplex"));
}

// ---------------------------------------------------------------------------------------------
// Calls, chaining and nesting
// ---------------------------------------------------------------------------------------------
class MacroCalls : public MacroSwitch {
protected:
    void SetUp() override {
        MacroTest::SetUp();
        m_host.Add(zqtest::ValueFeature("FaceControl", "FaceDown"));
        m_host.Add(zqtest::ValueFeature("PaperSize", "A4"));
        BuildStandardHost();
    }
};

TEST_F(MacroCalls, FaceControlToMediaTypeRunsByNameThenChainsFaceControl) {
    ASSERT_NO_FATAL_FAILURE(Load(Rules(Feature("FaceControl", {"macro_FC"}),
                                       Macro("m", "<call>macro_FaceControl_to_MediaType</call>") +
                                           Macro("macro_FaceControl_to_MediaType", "<disable>Duplex</disable>") +
                                           Macro("macro_FC", "<hide>PrintQualityGroup</hide>"))));
    Run(L"m");
    ASSERT_EQ(2u, Reports());
    EXPECT_EQ("Duplex", m_host.Updates()[0].keyword);
    EXPECT_EQ("PrintQualityGroup", m_host.Updates()[1].keyword);
}

TEST_F(MacroCalls, BuiltInsRunOnlyWhenTheirFeatureHasAnOption) {
    struct Case {
        const char* macro;
        const char* feature;
    };
    const Case cases[] = {
        {"macro_PrintQualityGroup_PQGroup_Photo", "MediaType"},
        {"macro_ZQOptimizeFor_Lines", "ZQOptimizeFor"},
        {"macro_InstalledPenSet_PremiumPlusPhoto", "ZQInstalledPrintCartridges"},
        {"macro_FaceControl_to_PaperSize", "PaperSize"},
    };
    ZQUIDevmode devmode = {};
    for (const Case& c : cases) {
        for (bool present : {false, true}) {
            zqtest::COptItemFixture host;
            host.Add(zqtest::ListFeature("Duplex", {{"None", L"Off"}, {"On", L"On"}}));
            if (present) host.Add(zqtest::ValueFeature(c.feature, "Any"));
            host.Build();
            host.Param()->pOEMDM = &devmode;
            ASSERT_NO_FATAL_FAILURE(Load(Rules("", Macro("m", std::string("<call>") + c.macro + "</call>") +
                                                       Macro(c.macro, "<disable>Duplex</disable>"))));
            m_rules->BRunMacro(L"m", nullptr, host.Param());
            EXPECT_EQ(present, (host.Item("Duplex")->Flags & OPTIF_DISABLED) != 0) << c.macro;
        }
    }
}

TEST_F(MacroCalls, FaceControlToPaperSizeNeedsThePrivateDevmodeAndFollowsItsLanguage) {
    ASSERT_NO_FATAL_FAILURE(Load(Rules("", Macro("m", "<call>macro_FaceControl_to_PaperSize</call>") +
                                               Macro("macro_FaceControl_to_PaperSize", "<disable>Duplex</disable>"))));
    Run(L"m");
    EXPECT_FALSE(Disabled("Duplex"));
    // The PostScript driver names its paper "PageSize", which this host lacks.
    ZQUIDevmode devmode = {};
    devmode.dwPdl = 3;
    m_host.Param()->pOEMDM = &devmode;
    Run(L"m");
    EXPECT_FALSE(Disabled("Duplex"));
    devmode.dwPdl = 2;
    Run(L"m");
    EXPECT_TRUE(Disabled("Duplex"));
}

TEST_F(MacroCalls, CallsChainToTheNamedFeatureUntilAnEmptyCall) {
    ASSERT_NO_FATAL_FAILURE(Load(Rules(
        Feature("Duplex", {"macro_D"}) + Feature("PrintQualityGroup", {"macro_Q"}) + Feature("Absent", {"macro_D"}),
        Macro("m", "<call>macro_Absent_x</call><call>macro_Duplex_Reconcile</call><call>nounderscore</call>"
                   "<call></call><call>macro_PrintQualityGroup</call>") +
            Macro("macro_D", "<disable>Duplex</disable>") + Macro("macro_Q", "<hide>PrintQualityGroup</hide>"))));
    Run(L"m");
    EXPECT_EQ(1u, Reports());
    EXPECT_TRUE(Disabled("Duplex"));
}

TEST_F(MacroCalls, SelfCallingMacroStopsAfterSixNestedRunsAndLaterRunsWork) {
    std::vector<std::pair<std::string, std::wstring>> steps;
    std::string cases;
    for (int i = 0; i < 8; ++i) {
        steps.push_back({"s" + std::to_string(i), L"step"});
        cases += "<case><name>s" + std::to_string(i) + "</name><select_option>Counter.s" + std::to_string(i + 1) +
                 "</select_option></case>";
    }
    zqtest::COptItemFixture host;
    host.Add(zqtest::ListFeature("Counter", steps));
    host.Build();
    ASSERT_NO_FATAL_FAILURE(Load(Rules("", Macro("macro_HideMaxDpi_Loop", "<switch><name>Counter</name>" + cases +
                                                                           "</switch><call>macro_HideMaxDpi_Loop</call>"))));
    for (int round = 0; round < 2; ++round) {
        host.SetSelection("Counter", 0);
        EXPECT_TRUE(m_rules->BRunMacro(L"macro_HideMaxDpi_Loop", nullptr, host.Param()));
        EXPECT_EQ("s6", host.Current("Counter"));
        EXPECT_EQ(0, m_rules->WDepth());
    }
}

// The runs are bounded per action, and so are the core driver's reports: once the action's
// reports are spent, a changed item is told once more, with its last state, when the action ends.
TEST_F(MacroCalls, FanOutAndLoopsBetweenFeaturesAreBoundedPerCall) {
    // Each run of the macro reports twice and calls itself ten times.
    std::string body = "<enable>Duplex</enable><hide>Duplex</hide>";
    for (int i = 0; i < 10; ++i) body += "<call>macro_HideMaxDpi_Fan</call>";
    ASSERT_NO_FATAL_FAILURE(Load(Rules(Feature("MediaType", {"macro_M"}) + Feature("PrintQualityGroup", {"macro_Q"}),
                                       Macro("macro_HideMaxDpi_Fan", body) +
                                           Macro("macro_M", "<call>macro_PrintQualityGroup_x</call>") +
                                           Macro("macro_Q", "<call>macro_MediaType_x</call>"))));
    m_host.Item("Duplex")->Flags = OPTIF_HIDE;
    for (int round = 0; round < 2; ++round) {
        m_host.ClearUpdates();
        Run(L"macro_HideMaxDpi_Fan");
        ASSERT_EQ(CZQXmlParserCommon::CZQMacroBudget::kMaxReports + 1, Reports());
        EXPECT_EQ(m_host.Item("Duplex")->Flags & OPTIF_HIDE, m_host.Updates().back().itemFlags & OPTIF_HIDE);
    }
    EXPECT_TRUE(m_rules->BRunFeatureMacros(L"MediaType", L"Plain", m_host.Param()));
    EXPECT_EQ(0, m_rules->WDepth());
}

// A macro with a thousand calls took minutes: every call searched the features and reported to the
// core driver after the run limit had stopped new runs. The calls followed are bounded too.
TEST_F(MacroCalls, ThousandsOfCallsInOneMacroStopAtTheCallBudget) {
    std::string body;
    for (int i = 0; i < 20000; ++i) body += "<call>macro_Duplex_x</call>";
    ASSERT_NO_FATAL_FAILURE(Load(Rules(Feature("Duplex", {"macro_D"}), Macro("macro_Many", body) +
                                                                          Macro("macro_D", "<enable>Duplex</enable>"))));
    m_host.Item("Duplex")->Flags = OPTIF_DISABLED;
    m_host.ClearUpdates();
    Run(L"macro_Many");
    EXPECT_LE(Reports(), static_cast<size_t>(CZQXmlUiRules::kMaxMacroRuns));
    EXPECT_EQ(0, m_rules->WDepth());
}

}  // namespace
