// The rules of the user-interface logic against the features of the two sample printers, through
// the core driver stand-in's option items (no printer, no plug-in bound).
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "featurelogic/zqoemitems.h"
#include "featurelogic/zquilogic.h"
#include "sampleitems.h"
#include "zqsamplenames.h"

namespace {

struct Sample {
    const wchar_t* model;
    const char* name;
};
const Sample kDesk = {zqhosttest::kDeskModel, "desk"};
const Sample kRoll = {zqhosttest::kRollModel, "roll"};

class SampleLogic {
public:
    SampleLogic(const Sample& sample, DWORD mode) : m_items(sample.model, mode) {
        EXPECT_TRUE(m_items.Built());
        m_logic.VSetParam(static_cast<POEMCUIPPARAM>(m_items.CommonUIParam()), mode);
        CZQCommon common;
        common.BFillDefaultDevmode(m_logic.WorkDM(), nullptr);
        m_logic.WorkDM()->dwLayoutMode = 3;
    }
    CZQUILogic& Logic() { return m_logic; }
    const zqmodel::Model& Model() const { return m_items.Model(); }
    bool Choose(const char* feature, const std::string& option) { return m_items.Choose(feature, option); }

private:
    CZQSampleItems m_items;
    CZQUILogic m_logic;
};

// Each predicate's answer for the desktop and the large-format sample.
struct PredicateRow {
    const char* name;
    std::function<int(CZQUILogic&)> rule;
    int desk;
    int roll;
};

TEST(SamplePredicates, AnswersFollowTheModels) {
    const PredicateRow rows[] = {
        {"BIsLargeFormat", [](CZQUILogic& l) { return l.BIsLargeFormat(); }, 0, 1},
        {"BIsSimplifiedLargeFormat", [](CZQUILogic& l) { return l.BIsSimplifiedLargeFormat(nullptr); }, 0, 1},
        {"BMediaTypeTreeviewPopup", [](CZQUILogic& l) { return l.BMediaTypeTreeviewPopup(); }, 1, 0},
        {"BPaperSizeTreeviewPopup", [](CZQUILogic& l) { return l.BPaperSizeTreeviewPopup(); }, 1, 1},
        {"BHasLqjPaperSizeTreeview", [](CZQUILogic& l) { return l.BHasLqjPaperSizeTreeview(); }, 0, 1},
        {"DWGetLqjPaperTreeviewMode", [](CZQUILogic& l) { return static_cast<int>(l.DWGetLqjPaperTreeviewMode()); }, 3, 5},
        {"IGetLqjMediaTreeviewCount", [](CZQUILogic& l) { return l.IGetLqjMediaTreeviewCount(); }, 3, 4},
        {"BHasPageExceptions", [](CZQUILogic& l) { return l.BHasPageExceptions(); }, 0, 0},
        {"BHasPageExceptionsLowEnd", [](CZQUILogic& l) { return l.BHasPageExceptionsLowEnd(); }, 1, 0},
        {"BDiffFirstPageAllowed", [](CZQUILogic& l) { return l.BDiffFirstPageAllowed(); }, 1, 1},
        {"BBookletAllowed", [](CZQUILogic& l) { return l.BBookletAllowed(); }, 1, 0},
        {"BWatermarksAllowed", [](CZQUILogic& l) { return l.BWatermarksAllowed(); }, 1, 0},
        {"BHasSeveralPaperSources", [](CZQUILogic& l) { return l.BHasSeveralPaperSources(); }, 1, 1},
        {"BHasRotate180", [](CZQUILogic& l) { return l.BHasRotate180(); }, 1, 0},
        {"BHasTransverse", [](CZQUILogic& l) { return l.BHasTransverse(); }, 1, 1},
        {"BHasMirrorPrint", [](CZQUILogic& l) { return l.BHasMirrorPrint(); }, 1, 0},
        {"BIsChromixSupported", [](CZQUILogic& l) { return l.BIsChromixSupported(); }, 1, 0},
        {"BHasGrayscaleChoice", [](CZQUILogic& l) { return l.BHasGrayscaleChoice(); }, 0, 0},
        {"BScaleFromLargePaper", [](CZQUILogic& l) { return l.BScaleFromLargePaper(); }, 0, 1},
        {"BIsDuplexUnitInstalled", [](CZQUILogic& l) { return l.BIsDuplexUnitInstalled(FALSE); }, 1, 0},
        {"BIsManualDuplexAvailable", [](CZQUILogic& l) { return l.BIsManualDuplexAvailable(); }, 1, 0},
        {"BIsPosterPrinting", [](CZQUILogic& l) { return l.BIsPosterPrinting(); }, 1, 1},
        {"BIsEnvelopePaper", [](CZQUILogic& l) { return l.BIsEnvelopePaper(); }, 0, 0},
        {"BIsBorderlessPaper", [](CZQUILogic& l) { return l.BIsBorderlessPaper(); }, 0, 0},
        {"IGetStapleCode", [](CZQUILogic& l) { return l.IGetStapleCode(); }, 0, 0},
        {"IGetPunchUnitType", [](CZQUILogic& l) { return l.IGetPunchUnitType(); }, 0, -1},
        {"IGetOutputAccessoryCode", [](CZQUILogic& l) { return l.IGetOutputAccessoryCode(); }, 1, -1},
        {"IGetThriftmodeState", [](CZQUILogic& l) { return l.IGetThriftmodeState(); }, 2, 1},
        {"IGetPsItemPosition", [](CZQUILogic& l) { return l.IGetPsItemPosition(nullptr); }, -1, -1},
    };
    for (const Sample& sample : {kDesk, kRoll}) {
        SampleLogic s(sample, OEMCUIP_DOCPROP);
        const bool desk = sample.model == kDesk.model;
        for (const PredicateRow& row : rows)
            EXPECT_EQ(desk ? row.desk : row.roll, row.rule(s.Logic())) << sample.name << ": " << row.name;
    }
}

TEST(SamplePredicates, PaperKindsFollowTheChosenPaper) {
    SampleLogic desk(kDesk, OEMCUIP_DOCPROP);
    ASSERT_TRUE(desk.Choose("PaperSize", "ENV_DL"));
    EXPECT_TRUE(desk.Logic().BIsEnvelopePaper());
    ASSERT_TRUE(desk.Choose("PaperSize", "ZQ_BORDERLESS_4X6"));
    EXPECT_TRUE(desk.Logic().BIsBorderlessPaper());
    EXPECT_FALSE(desk.Logic().BIsEnvelopePaper());

    SampleLogic roll(kRoll, OEMCUIP_DOCPROP);
    ASSERT_TRUE(roll.Choose("PaperSize", "ZQ_BANNER_A1"));
    EXPECT_FALSE(roll.Logic().BIsBannerPaper()) << "without the status module no name is a standard banner";
    EXPECT_TRUE(roll.Logic().BIsNonStandardBannerName(L"ZQ_BANNER_A1", L"Banner A1 (841x2000 mm)"));
}

// The code of each option a sample offers, against the tables of the preview.
TEST(SamplePredicates, FinishingCodesOfTheDesksOptions) {
    const std::map<std::string, int> staple = {{"None", 0}, {"1parallel", 1}, {"2parallel", 2}};
    const std::map<std::string, int> punch = {{"Default", 0}, {"Left", 1}, {"Top", 3}};
    const std::map<std::string, int> fold = {{"Default", 0}, {"HalfFoldInward", 6}, {"TriFoldInward", 1}};
    const std::map<std::string, int> accessory = {{"None", 1}, {"500Stapler", 8}, {"MBX5Mailbox", 3}};
    const std::map<std::string, int> unit = {{"NotInstalled", 0}, {"ZQ2HolePunch", 1}};
    const struct {
        const char* feature;
        const std::map<std::string, int>* codes;
        int (CZQUILogic::*code)() const;
    } cases[] = {{"Stapling", &staple, &CZQUILogic::IGetStapleCode},
                 {"Punching", &punch, &CZQUILogic::IGetPunchCode},
                 {"Folding", &fold, &CZQUILogic::IGetFoldCode},
                 {"AccessoryOutputBins", &accessory, &CZQUILogic::IGetOutputAccessoryCode},
                 {"ZQPunchUnitType", &unit, &CZQUILogic::IGetPunchUnitType}};
    SampleLogic desk(kDesk, OEMCUIP_DOCPROP);
    for (const auto& c : cases) {
        const int f = desk.Model().FindFeature(c.feature);
        ASSERT_GE(f, 0) << c.feature;
        for (const auto& option : desk.Model().features[static_cast<size_t>(f)].options) {
            ASSERT_TRUE(desk.Choose(c.feature, option.keyword));
            ASSERT_TRUE(c.codes->count(option.keyword)) << option.keyword;
            EXPECT_EQ(c.codes->at(option.keyword), (desk.Logic().*c.code)()) << c.feature << "." << option.keyword;
        }
    }
}

TEST(SamplePredicates, LayoutNumbersOfTheRollPrinter) {
    SampleLogic roll(kRoll, OEMCUIP_DOCPROP);
    int first = 0, second = 0;
    EXPECT_EQ(0, roll.Logic().IGetLqjPaperTreeview(&first, &second));
    EXPECT_EQ(8, first);
    EXPECT_EQ(5, second);
    int tiles = -1;
    EXPECT_FALSE(roll.Logic().BGetPosterTiles(&tiles)) << "the poster list stands at Off";
    ASSERT_TRUE(roll.Choose("ZQPosterPrintingOptionSUI", "4x4"));
    ASSERT_TRUE(roll.Logic().BGetPosterTiles(&tiles));
    EXPECT_EQ(2, tiles);
}

// The plug-in's own items each sample gets, by sheet.
TEST(SamplePlans, ItemsOfEachSheet) {
    const struct {
        const Sample* sample;
        DWORD mode;
        std::vector<std::string> keywords;
    } cases[] = {
        {&kDesk, OEMCUIP_DOCPROP, {"ZQLayoutOptions", "ZQOrientationCopy", "ZQPageOrderCopy"}},
        {&kRoll, OEMCUIP_DOCPROP,
         {"ZQLayoutOptions", "ZQOrientationCopy", "ZQPageOrderCopy", "ZQDryTimeOption", "ZQInkVolumeOption",
          "ZQOverSprayOption", "ZQTileSelection"}},
        {&kDesk, OEMCUIP_PRNPROP, {}},
        {&kRoll, OEMCUIP_PRNPROP,
         {"Roll1Name", "Roll1Type", "Roll1Width", "Roll1CustomWidth", "Roll2Name", "Roll2Type", "Roll2Width",
          "Roll2CustomWidth"}},
    };
    for (const auto& c : cases) {
        SampleLogic s(*c.sample, c.mode);
        ZQOemItemPlan plan;
        ZQPlanOemItems(s.Logic(), c.mode, &plan);
        std::vector<std::string> keywords;
        for (DWORD i = 0; i < plan.dwCount; ++i) keywords.push_back(plan.items[i].szKeyword);
        EXPECT_EQ(c.keywords, keywords) << c.sample->name << " mode " << c.mode;
        for (DWORD i = 0; i < plan.dwCount; ++i)
            if (plan.items[i].kind == kOemItemRollText || plan.items[i].kind == kOemItemRollList) {
                const std::wstring value(keywords[i].begin(), keywords[i].end());
                EXPECT_EQ(CZQUILogic::IRollValuePubId(value.c_str()), plan.items[i].bPubId) << keywords[i];
            }
    }
}

}  // namespace
