// The sample printers' helper files: changing a feature reconciles the features that depend on it.
#include <string>

#include "macrotest.h"
#include "testsupport.h"

namespace {

class SampleRules : public zqmacrotest::MacroTest {
protected:
    // The user picks the option; the page then runs the feature's macros.
    void Change(const char* feature, const char* option) {
        OPTITEM* item = m_host.Item(feature);
        ASSERT_TRUE(item);
        const int index = CZQCommon::IGetOptionIndexByKeyword(m_host.Param(), std::wstring(option, option + strlen(option)).c_str(),
                                                              nullptr, item);
        ASSERT_LT(index, CZQCommon::IGetOptionCount(item));
        m_host.SetSelection(feature, index);
        const std::wstring f(feature, feature + strlen(feature)), o(option, option + strlen(option));
        EXPECT_TRUE(m_rules->BRunFeatureMacros(f.c_str(), o.c_str(), m_host.Param()));
    }
    bool OptionHas(const char* feature, int index, BYTE flag) { return (Option(feature, index).Flags & flag) != 0; }
    bool ItemHas(const char* feature, DWORD flag) { return (Flags(feature) & flag) != 0; }
};

class DesktopSample : public SampleRules {
protected:
    void SetUp() override {
        SampleRules::SetUp();
        m_host.Add(zqtest::ListFeature("PaperSize", {{"Letter", L"Letter"}, {"A4", L"A4"}, {"Photo4x6", L"4x6"},
                                                     {"ZQ_BORDERLESS_Photo4x6", L"4x6 borderless"},
                                                     {"CustomSize", L"Custom"}}));
        m_host.Add(zqtest::ListFeature("Resolution", {{"300dpi", L"300"}, {"600dpi", L"600"}, {"1200dpi", L"1200"}}, 2));
        m_host.Add(zqtest::ListFeature("ZQPrintWithMargins", {{"On", L"On"}, {"Off", L"Off"}}));
        m_host.Add(zqtest::ListFeature("InputBin", {{"Tray1", L"Tray 1"}, {"ManualFeed", L"Manual"}}));
        BuildStandardHost();
        ASSERT_NO_FATAL_FAILURE(LoadFile(zqtest::BesideExe(L"zqdesk.xml").c_str()));
    }
};

TEST_F(DesktopSample, BorderlessPhotoPaperBringsPhotoMediaOneSidedAtBestQuality) {
    Change("PaperSize", "ZQ_BORDERLESS_Photo4x6");
    EXPECT_EQ("PhotoGlossy", m_host.Current("MediaType"));
    EXPECT_EQ("None", m_host.Current("Duplex"));
    EXPECT_TRUE(ItemHas("Duplex", OPTIF_DISABLED));
    EXPECT_EQ("PQGroup_2", m_host.Current("PrintQualityGroup"));
    EXPECT_TRUE(OptionHas("PrintQualityGroup", 0, OPTPF_HIDE));
    EXPECT_TRUE(ItemHas("ZQPrintWithMargins", OPTIF_HIDE));
    EXPECT_EQ(6121u, m_rules->DWResourceId(0));
    EXPECT_EQ(6122u, m_rules->DWResourceId(1));

    // Back to plain paper: the margins and two-sided printing come back.
    Change("PaperSize", "Letter");
    EXPECT_FALSE(ItemHas("ZQPrintWithMargins", OPTIF_HIDE));
    Change("MediaType", "Plain");
    EXPECT_FALSE(ItemHas("Duplex", OPTIF_DISABLED));
    EXPECT_FALSE(OptionHas("PrintQualityGroup", 0, OPTPF_HIDE));
}

TEST_F(DesktopSample, TwoSidedPrintingTakesNoPhotoMedia) {
    Change("Duplex", "DuplexTumble");
    EXPECT_TRUE(OptionHas("MediaType", 1, OPTPF_DISABLED));
    EXPECT_TRUE(OptionHas("MediaType", 2, OPTPF_DISABLED));
    Change("Duplex", "None");
    EXPECT_FALSE(OptionHas("MediaType", 1, OPTPF_DISABLED));
}

TEST_F(DesktopSample, DraftQualityHidesTheHighestResolution) {
    Change("PrintQualityGroup", "PQGroup_0");
    EXPECT_EQ("600dpi", m_host.Current("Resolution"));
    EXPECT_TRUE(OptionHas("Resolution", 2, OPTPF_HIDE));
    Change("PrintQualityGroup", "PQGroup_1");
    EXPECT_FALSE(OptionHas("Resolution", 2, OPTPF_HIDE));
}

TEST_F(DesktopSample, SourcesAndCustomSizeRecordTheirLimits) {
    ZQCustomSizeLimits target = {};
    m_rules->VSetCustomSizeTarget(&target);
    Change("PaperSize", "CustomSize");
    EXPECT_EQ(762, target.lMinWidth);
    EXPECT_EQ(3556, target.lMaxLength);
    Change("InputBin", "ManualFeed");
    EXPECT_EQ(762, m_rules->InputBinLimits()[0]);
    Change("InputBin", "Tray1");
    EXPECT_EQ(1016, m_rules->InputBinLimits()[0]);
}

class RollSample : public SampleRules {
protected:
    void SetUp() override {
        SampleRules::SetUp();
        m_host.Add(zqtest::ListFeature("MediaType", {{"Paper", L"Paper"}, {"Bond", L"Bond"}, {"Film", L"Film"}}));
        m_host.Add(zqtest::ListFeature("PrintQualityGroup",
                                       {{"PQGroup_0", L"Fast"}, {"PQGroup_1", L"Normal"}, {"PQGroup_2", L"Best"}}, 1));
        m_host.Add(zqtest::ListFeature("ZQOptimizeFor", {{"Images", L"Images"}, {"Lines", L"Lines"}}));
        m_host.Add(zqtest::ListFeature("InputBin", {{"Roll1", L"Roll"}, {"ManualFeed", L"Sheet"}}));
        m_host.Add(zqtest::ListFeature("ZQAutoCut", {{"On", L"On"}, {"Off", L"Off"}}));
        m_host.Build();
        ASSERT_NO_FATAL_FAILURE(LoadFile(zqtest::BesideExe(L"zqroll.xml").c_str()));
    }
};

TEST_F(RollSample, MediaChoosesQualityAndWhatToOptimizeFor) {
    Change("MediaType", "Film");
    EXPECT_EQ("PQGroup_2", m_host.Current("PrintQualityGroup"));
    EXPECT_TRUE(OptionHas("PrintQualityGroup", 0, OPTPF_DISABLED));
    EXPECT_EQ("Images", m_host.Current("ZQOptimizeFor"));
    Change("MediaType", "Bond");
    EXPECT_FALSE(OptionHas("PrintQualityGroup", 0, OPTPF_DISABLED));
    EXPECT_EQ("Lines", m_host.Current("ZQOptimizeFor"));
    Change("ZQOptimizeFor", "Lines");
    EXPECT_TRUE(OptionHas("PrintQualityGroup", 0, OPTPF_HIDE));
}

TEST_F(RollSample, OnlyRollsAreCut) {
    Change("InputBin", "ManualFeed");
    EXPECT_TRUE(ItemHas("ZQAutoCut", OPTIF_DISABLED));
    EXPECT_EQ(16000, m_rules->InputBinLimits()[3]);
    Change("InputBin", "Roll1");
    EXPECT_FALSE(ItemHas("ZQAutoCut", OPTIF_DISABLED));
    EXPECT_EQ(76200, m_rules->InputBinLimits()[3]);
}

}  // namespace
