// CZQUILogic against the in-process core driver's items: the code tables, the setters and what
// they report, the control binder, missing and unreadable features, texts and rolls.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/zqhandles.h"
#include "common/zqmsgbox.h"
#include "featurelogic/zquilogic.h"
#include "optitemfixture.h"
#include "zqmemprinter.h"
#include "settings/zqdriverdata.h"
#include "testsupport.h"
#include "xmlrules/zqxmluirules.h"

namespace {

using zqtest::COptItemFixture;
using zqtest::FixtureFeature;
using zqtest::ListFeature;
using zqtest::ValueFeature;

FixtureFeature Options(const std::string& keyword, const std::vector<std::string>& keywords, LONG sel = 0,
                       BYTE pubId = 0) {
    std::vector<std::pair<std::string, std::wstring>> options;
    for (const std::string& k : keywords) options.emplace_back(k, std::wstring(k.begin(), k.end()));
    return ListFeature(keyword, options, sel, pubId);
}

FixtureFeature OffOn(const std::string& keyword, LONG sel = 0) { return Options(keyword, {"FALSE", "TRUE"}, sel); }

// ---------------------------------------------------------------------------------------------
// Code tables: every option of each table, then one the table does not know.
// ---------------------------------------------------------------------------------------------
struct CodeCase {
    const char* feature;
    std::vector<std::pair<std::string, int>> rows;
    int otherwise;
    int (CZQUILogic::*code)() const;
};

class CodeTables : public ::testing::TestWithParam<CodeCase> {};

TEST_P(CodeTables, EachOptionGivesItsCode) {
    const CodeCase& c = GetParam();
    std::vector<std::string> keywords;
    for (const auto& row : c.rows) keywords.push_back(row.first);
    keywords.push_back("SomethingElse");
    COptItemFixture host;
    host.Add(Options(c.feature, keywords));
    host.Build();
    CZQUILogic logic;
    logic.VSetParam(host.Param(), OEMCUIP_DOCPROP);
    for (size_t i = 0; i < c.rows.size(); ++i) {
        host.SetSelection(c.feature, static_cast<LONG>(i));
        EXPECT_EQ(c.rows[i].second, (logic.*c.code)()) << c.rows[i].first;
    }
    host.SetSelection(c.feature, static_cast<LONG>(c.rows.size()));
    EXPECT_EQ(c.otherwise, (logic.*c.code)()) << "an option the table does not know";

    // Keywords compare without case.
    COptItemFixture upper;
    std::string first = c.rows.back().first;
    for (char& ch : first) ch = static_cast<char>(toupper(static_cast<unsigned char>(ch)));
    upper.Add(Options(c.feature, {first}));
    upper.Build();
    logic.VSetParam(upper.Param(), OEMCUIP_DOCPROP);
    EXPECT_EQ(c.rows.back().second, (logic.*c.code)());

    // Without the feature: the table's fall-back.
    COptItemFixture none;
    none.Build();
    logic.VSetParam(none.Param(), OEMCUIP_DOCPROP);
    EXPECT_EQ(c.otherwise, (logic.*c.code)());
}

INSTANTIATE_TEST_SUITE_P(
    Preview, CodeTables,
    ::testing::Values(
        CodeCase{"Stapling",
                 {{"Default", 0}, {"None", 0}, {"1parallel", 1}, {"2parallel", 2}, {"3parallel", 3}, {"6parallel", 6},
                  {"Custom", 7}, {"1diagonal", 8}, {"Stitching", 9}, {"1left", 8}, {"1right", 10}, {"2left", 2},
                  {"2Right", 11}, {"2top", 12}, {"3top", 13}},
                 0, &CZQUILogic::IGetStapleCode},
        CodeCase{"Punching", {{"Default", 0}, {"Left", 1}, {"Right", 2}, {"Top", 3}}, 0, &CZQUILogic::IGetPunchCode},
        CodeCase{"ZQPunchUnitType",
                 {{"NotInstalled", 0}, {"ZQ2HolePunch", 1}, {"ZQ3HolePunch", 2}, {"ZQ4HolePunch", 3}},
                 -1, &CZQUILogic::IGetPunchUnitType},
        CodeCase{"Folding",
                 {{"Default", 0}, {"TriFoldInward", 1}, {"TriFoldOutward", 2}, {"ZFold", 3}, {"HalfFoldInward", 6},
                  {"HalfFoldOutward", 7}, {"FoldAndStitch", 8}},
                 0, &CZQUILogic::IGetFoldCode},
        CodeCase{"AccessoryOutputBins",
                 {{"None", 1}, {"MBX5Mailbox", 3}, {"MBX8Mailbox", 4}, {"MBX7Mailbox", 5}, {"3000Stapler", 6},
                  {"3000Stacker", 7}, {"500Stapler", 8}, {"500Stacker", 9}, {"MultiFunctionFinisher", 10},
                  {"MBX3Mailbox", 11}, {"750Stapler", 12}, {"SS3MailboxMode", 13}, {"SS3StackerMode", 14},
                  {"BookletMakerFinisher", 15}, {"InLineFolder", 16}},
                 -1, &CZQUILogic::IGetOutputAccessoryCode}));

TEST(CodeTablesPostScript, StaplesAndThriftmodeUseTheJclFeatures) {
    COptItemFixture host;
    host.Add(Options("Stapling", {"1parallel"}));
    host.Add(Options("StapleLocation", {"2top"}));
    host.Add(Options("Thriftmode", {"OFF", "ON"}, 1));
    host.Add(Options("JCLThriftmode", {"OFF", "ON"}, 0));
    host.Build();
    CZQUILogic logic;
    logic.VSetParam(host.Param(), OEMCUIP_DOCPROP);
    EXPECT_EQ(1, logic.IGetStapleCode());
    EXPECT_EQ(3, logic.IGetThriftmodeState());
    logic.WorkDM()->dwPdl = kPdlPostScript;
    EXPECT_EQ(12, logic.IGetStapleCode());
    EXPECT_EQ(2, logic.IGetThriftmodeState());
    // No items at all, or no such item: 1.
    CZQUILogic bare;
    EXPECT_EQ(1, bare.IGetThriftmodeState());
}

// ---------------------------------------------------------------------------------------------
// A missing or unreadable feature never breaks a rule.
// ---------------------------------------------------------------------------------------------
void CallEveryRule(CZQUILogic& logic, const char* what) {
    SCOPED_TRACE(what);
    int a = 7, b = 7;
    EXPECT_FALSE(logic.BIsLargeFormat());
    EXPECT_FALSE(logic.BIsSimplifiedLargeFormat(nullptr));
    EXPECT_FALSE(logic.BMediaTypeTreeviewPopup());
    EXPECT_FALSE(logic.BPaperSizeTreeviewPopup());
    EXPECT_NE(0, logic.IGetLqjPaperTreeview(&a, &b));
    EXPECT_EQ(7, a);
    EXPECT_EQ(3u, logic.DWGetLqjPaperTreeviewMode());
    EXPECT_EQ(3, logic.IGetLqjMediaTreeviewCount());
    EXPECT_FALSE(logic.BHasPageExceptions());
    EXPECT_FALSE(logic.BHasPageExceptionsLowEnd());
    EXPECT_TRUE(logic.BDiffFirstPageAllowed());
    EXPECT_TRUE(logic.BBookletAllowed());
    EXPECT_TRUE(logic.BWatermarksAllowed());
    EXPECT_FALSE(logic.BHasSeveralPaperSources());
    EXPECT_FALSE(logic.BHasRotate180());
    EXPECT_FALSE(logic.BHasTransverse());
    EXPECT_FALSE(logic.BHasMirrorPrint());
    EXPECT_FALSE(logic.BIsChromixSupported());
    EXPECT_FALSE(logic.BHasGrayscaleChoice());
    EXPECT_FALSE(logic.BScaleFromLargePaper());
    EXPECT_FALSE(logic.BIsBorderlessPaper());
    EXPECT_FALSE(logic.BIsBannerPaper());
    EXPECT_FALSE(logic.BIsEnvelopePaper());
    EXPECT_FALSE(logic.BNeedsScaleFromLargePaper(nullptr));
    EXPECT_EQ(0, logic.BIsCustomSizeDuplexable());
    EXPECT_EQ(0, logic.IApplyCustomDuplexRange());
    EXPECT_FALSE(logic.BIsManualDuplexAvailable());
    EXPECT_FALSE(logic.BIsPosterPrinting());
    EXPECT_FALSE(logic.BGetPosterTiles(&a));
    EXPECT_FALSE(logic.BClearTransverseForBitmap());
    EXPECT_EQ(0, logic.IGetStapleCode());
    EXPECT_EQ(-1, logic.IGetPunchUnitType());
    EXPECT_EQ(-1, logic.IGetOutputAccessoryCode());
    WCHAR text[256] = L"kept";
    logic.VGetInitialFeatureOption(L"PaperSize", text);
    EXPECT_STREQ(L"kept", text);
    EXPECT_FALSE(logic.BAppendVersionToTitle(nullptr));
    // Setters leave everything alone.
    const DWORD photo[6] = {1, 1, 1, 1, 1, 1};
    EXPECT_NE(0u, logic.ISetPhotoFixFeatures(photo));
    logic.VSelectHighQuality(L"PrintQualityGroup");
    logic.VSetManualTwoSided(TRUE);
    logic.VUpdateDuplexState();
    logic.VSetDuplexItem(DMDUP_VERTICAL);
    logic.VSetPosterState(FALSE, nullptr);
    logic.ISetPageOrderItems(TRUE);
    logic.VSyncNupItem(nullptr);
    logic.VSetStraightPaperPath(TRUE);
    logic.VSavePrintQualityName();
    logic.VUpdateColorSpaceConflicts();
    logic.VCheckMediaWidthSensor(1, L"11X17");
    logic.VCheckMediaWidthSensor(2, nullptr);
    logic.VUpdateBorderlessForPageSize(nullptr);
    logic.VSelectScaleTargetPaper();
    logic.VValidatePrintOnPaper();
    logic.VSaveSelections();
    EXPECT_EQ(-1, logic.IGetSavedSelection(L"PrintQualityGroup"));
    EXPECT_EQ(0, logic.IResolveConflicts(nullptr));
    EXPECT_NE(0, logic.IBindFeatureControl(0, L"MediaType", nullptr, nullptr, 1, CZQUILogic::kBindFill, FALSE, 0, &a));
    EXPECT_EQ(-1, a);
    EXPECT_EQ(-1, logic.IFindOptionByEditText(nullptr, L"MediaType"));
}

// Every rule over answers that cannot be trusted: only that nothing breaks.
void CallEveryRuleLoosely(CZQUILogic& logic) {
    int a = 0, b = 0;
    logic.IGetLqjPaperTreeview(&a, &b);
    logic.IGetLqjMediaTreeviewCount();
    logic.BHasGrayscaleChoice();
    logic.BIsBorderlessPaper();
    logic.BIsCustomSizeDuplexable();
    logic.IGetStapleCode();
    logic.VSaveSelections();
    WCHAR text[256] = {};
    logic.VGetInitialFeatureOption(L"ZQPrinterClass", text);
    EXPECT_LT(wcslen(text), 256u);
}

TEST(MissingFeatures, NoBlockNoItemsAndUnreadableAnswers) {
    CZQUILogic noBlock;
    CallEveryRule(noBlock, "no block");

    COptItemFixture empty;
    empty.Build();
    CZQUILogic noItems;
    noItems.VSetParam(empty.Param(), OEMCUIP_DOCPROP);
    CallEveryRule(noItems, "no items");
    EXPECT_TRUE(empty.Updates().empty());

    // The driver fails every feature, or answers without terminators or ever longer.
    for (auto fault : {zqtest::SettingFault::Unterminated, zqtest::SettingFault::Growing}) {
        COptItemFixture host;
        host.Add(ValueFeature("ZQPrinterClass", "ZQKorrix"));
        host.Add(ValueFeature("ZQMediaTypeTreeviewPopup", "TRUE"));
        host.Build();
        host.SetFault(fault);
        CZQUILogic logic;
        logic.VSetParam(host.Param(), OEMCUIP_DOCPROP);
        if (fault == zqtest::SettingFault::Growing) {
            EXPECT_FALSE(logic.BIsLargeFormat());
            EXPECT_FALSE(logic.BMediaTypeTreeviewPopup());
        }
        CallEveryRuleLoosely(logic);
    }
    COptItemFixture failing;
    failing.Add(ValueFeature("ZQPrinterClass", "ZQKorrix"));
    failing.Add(Options("Stapling", {"1parallel"}));
    failing.Build();
    failing.FailFeature("ZQPrinterClass");
    failing.FailFeature("Stapling");
    CZQUILogic logic;
    logic.VSetParam(failing.Param(), OEMCUIP_DOCPROP);
    EXPECT_FALSE(logic.BIsLargeFormat());
    EXPECT_EQ(0, logic.IGetStapleCode());
}

// ---------------------------------------------------------------------------------------------
// Setters: what reaches the core driver.
// ---------------------------------------------------------------------------------------------
class Setters : public ::testing::Test {
protected:
    void Make(const std::vector<FixtureFeature>& features) {
        for (const auto& f : features) m_host.Add(f);
        m_host.Build();
        m_logic.VSetParam(m_host.Param(), OEMCUIP_DOCPROP);
        CZQCommon common;
        ASSERT_TRUE(common.BFillDefaultDevmode(m_logic.WorkDM(), nullptr));
        m_host.ClearUpdates();
    }
    std::vector<std::string> Reported() const {
        std::vector<std::string> out;
        for (const auto& u : m_host.Updates()) out.push_back(u.keyword + "=" + std::to_string(u.sel));
        return out;
    }
    COptItemFixture m_host;
    CZQUILogic m_logic;
};

TEST_F(Setters, PageOrderGoesToTheCoreItemOnceAndToTheOwnCopy) {
    FixtureFeature own = Options("ZQPageOrderCopy", {"F", "B"}, 0, kOemPubPageOrder);
    own.oem = true;
    Make({Options("PageOrder", {"FRONT_TO_BACK", "BACK_TO_FRONT"}, 0, DMPUB_PAGEORDER), own});
    EXPECT_EQ(0u, m_logic.ISetPageOrderItems(TRUE));
    EXPECT_EQ((std::vector<std::string>{"PageOrder=1"}), Reported()) << "the plug-in's copy is not reported";
    EXPECT_EQ(1, m_host.ItemByPubId(kOemPubPageOrder, true)->Sel);
    EXPECT_TRUE(m_host.ItemByPubId(kOemPubPageOrder, true)->Flags & OPTIF_CHANGED);
    EXPECT_TRUE(m_host.ItemByPubId(DMPUB_PAGEORDER)->Flags & OPTIF_CHANGED);
    EXPECT_EQ(1u, m_logic.WorkDM()->dwPageOrder);
    m_host.ClearUpdates();
    m_logic.ISetPageOrderItems(TRUE);
    EXPECT_TRUE(Reported().empty()) << "an unchanged selection is not reported again";
}

TEST_F(Setters, DuplexItemManualTwoSidedAndTheUnit) {
    Make({Options("Duplex", {"NONE", "VERTICAL", "HORIZONTAL"}, 0, DMPUB_DUPLEX),
          Options("DuplexUnit", {"NOTINSTALLED", "INSTALLED"}, 1), OffOn("ZQPrintOnBothSidesManually"),
          ValueFeature("ManualDuplex", "INSTALLED"), OffOn("ZQUseAutoDuplexUnit", 1)});
    m_logic.VSetDuplexItem(DMDUP_HORIZONTAL);
    m_logic.VSetDuplexItem(DMDUP_VERTICAL);
    m_logic.VSetDuplexItem(99);
    EXPECT_EQ((std::vector<std::string>{"Duplex=2", "Duplex=1", "Duplex=0"}), Reported());
    EXPECT_TRUE(m_logic.BIsDuplexUnitInstalled(FALSE));

    // Manual two-sided printing needs layout mode 3.
    m_logic.WorkDM()->dwLayoutMode = 1;
    EXPECT_FALSE(m_logic.BIsManualDuplexAvailable());
    m_logic.WorkDM()->dwLayoutMode = 3;
    EXPECT_TRUE(m_logic.BIsManualDuplexAvailable());

    m_host.ClearUpdates();
    m_logic.VSetManualTwoSided(TRUE);
    m_logic.WorkDM()->wDuplex = DMDUP_VERTICAL;
    m_logic.VUpdateDuplexState();
    EXPECT_EQ((std::vector<std::string>{"ZQPrintOnBothSidesManually=1"}), Reported())
        << "manual two-sided printing keeps the unit off";
    // Manual printing no longer offered: it ends and the unit prints both sides.
    m_logic.WorkDM()->dwLayoutMode = 1;
    m_host.ClearUpdates();
    m_logic.VUpdateDuplexState();
    EXPECT_EQ((std::vector<std::string>{"ZQPrintOnBothSidesManually=0", "Duplex=1"}), Reported());
    EXPECT_EQ(0u, m_logic.WorkDM()->dwManualDuplex);

    // Without the unit one-sided printing stands.
    m_host.SetSelection("DuplexUnit", 0);
    EXPECT_FALSE(m_logic.BIsDuplexUnitInstalled(FALSE));
    m_host.ClearUpdates();
    m_logic.VUpdateDuplexState();
    EXPECT_EQ((std::vector<std::string>{"Duplex=0"}), Reported());
}

TEST_F(Setters, PhotoFixFeaturesInTheirOrder) {
    Make({Options("ZQRedEyeReduction", {"a", "b"}), Options("ZQContrast", {"a", "b"}),
          Options("ZQDigitalFlash", {"a", "b", "c"}), Options("ZQSharpness", {"a", "b"}),
          Options("ZQVorevEzuro", {"a", "b"}), Options("ZQSmoothing", {"a", "b"})});
    const DWORD indices[6] = {1, 2, 1, 1, 1, 1};
    EXPECT_EQ(0u, m_logic.ISetPhotoFixFeatures(indices));
    EXPECT_EQ((std::vector<std::string>{"ZQContrast=1", "ZQDigitalFlash=2", "ZQSharpness=1", "ZQVorevEzuro=1",
                                        "ZQSmoothing=1", "ZQRedEyeReduction=1"}),
              Reported());
    const DWORD bad[6] = {0, 9, 0, 0, 0, 0};
    EXPECT_NE(0u, m_logic.ISetPhotoFixFeatures(bad)) << "an index beyond the options fails";
}

TEST_F(Setters, GrayscaleIsAPlainChoiceOnlyAsFalseAndTrue) {
    Make({OffOn("ZQPrintInGrayScale"), Options("JCLZQPrintInGrayScale", {"FALSE", "TRUE", "BlackOnly"})});
    EXPECT_TRUE(m_logic.BHasGrayscaleChoice());
    EXPECT_EQ(0, m_host.Item("ZQPrintInGrayScale")->Sel) << "the selection is put back after listing";
    m_logic.WorkDM()->dwPdl = kPdlPostScript;
    EXPECT_TRUE(m_logic.BHasGrayscaleChoice()) << "PostScript's twin has a third option";
    COptItemFixture other;
    other.Add(Options("ZQPrintInGrayScale", {"FALSE", "GrayandBlackInks"}));
    other.Build();
    CZQUILogic logic;
    logic.VSetParam(other.Param(), OEMCUIP_DOCPROP);
    EXPECT_FALSE(logic.BHasGrayscaleChoice());
}

TEST_F(Setters, JobStorageValuesFollowTheFeatures) {
    Make({ValueFeature("JobRetention", "QuickCopy"), ValueFeature("ZQDuplicateJobNameOverride", "swfw")});
    ZQUIDevmode* dm = m_logic.WorkDM();
    dm->dwRetentionMode = 3;
    EXPECT_TRUE(m_logic.BFillDevmodeEnums(nullptr));
    EXPECT_EQ(1u, dm->dwJobStorageAvailable);
    EXPECT_EQ(3u, dm->dwRetentionMode);
    EXPECT_EQ(1u, dm->dwNameExistsAvailable);
    EXPECT_EQ(1u, dm->dwNameExistsSwfw) << "compared without case";

    COptItemFixture none;
    none.Build();
    CZQUILogic logic;
    logic.VSetParam(none.Param(), OEMCUIP_DOCPROP);
    ZQUIDevmode other = *dm;
    other.dwPinRequired = 1;
    EXPECT_TRUE(logic.BFillDevmodeEnums(&other));
    EXPECT_EQ(0u, other.dwJobStorageAvailable);
    EXPECT_EQ(0u, other.dwRetentionMode);
    EXPECT_EQ(0u, other.dwPinRequired);
    EXPECT_EQ(0u, other.dwNameExistsAvailable);
    EXPECT_EQ(0u, other.dwNameExistsSwfw);
}

TEST_F(Setters, PagesPerSheetItemFollowsTheDevmode) {
    Make({Options("PagesPerSheet", {"1", "2", "4", "6", "9", "16"}, 0, DMPUB_NUP)});
    m_logic.WorkDM()->dwPagesPerSheet = 3;
    m_logic.VSyncNupItem(nullptr);
    EXPECT_EQ((std::vector<std::string>{"PagesPerSheet=2"}), Reported());
    m_host.ClearUpdates();
    m_logic.VSyncNupItem(nullptr);
    EXPECT_TRUE(Reported().empty());
}

TEST_F(Setters, MediaWidthSensorAndBorderlessFeatures) {
    Make({Options("MediaWidthSensor", {"NOTINSTALLED", "INSTALLED"}),
          Options("PaperSize", {"LETTER", "ZQ_BORDERLESS_4X6"}, 0, DMPUB_FORMNAME), OffOn("ZQBorderLessPhoto", 1),
          OffOn("ZQBorderLessAutoFit", 1)});
    m_logic.VCheckMediaWidthSensor(1, L"A4");
    EXPECT_TRUE(Reported().empty());
    m_logic.VCheckMediaWidthSensor(1, L"11x17");
    EXPECT_EQ((std::vector<std::string>{"MediaWidthSensor=1"}), Reported());
    m_host.ClearUpdates();
    m_logic.VCheckMediaWidthSensor(1, L"B4");
    EXPECT_TRUE(Reported().empty()) << "only while the sensor is not installed";

    // A borderless paper keeps the borderless features; another resets them.
    m_host.SetSelection("PaperSize", 1);
    EXPECT_TRUE(m_logic.BIsBorderlessPaper());
    m_logic.VUpdateBorderlessForPageSize(nullptr);
    EXPECT_TRUE(Reported().empty());
    m_host.SetSelection("PaperSize", 0);
    m_logic.VUpdateBorderlessForPageSize(nullptr);
    EXPECT_EQ((std::vector<std::string>{"ZQBorderLessPhoto=0", "ZQBorderLessAutoFit=0"}), Reported());
}

TEST_F(Setters, CustomSizeOutsideTheDuplexRangeEndsTwoSidedPrinting) {
    Make({Options("PaperSize", {"LETTER", "CUSTOMSIZE"}, 1, DMPUB_FORMNAME),
          Options("Duplex", {"NONE", "VERTICAL"}, 1, DMPUB_DUPLEX),
          ValueFeature("ZQCustomDUplexableRange", "1000_2200_1500_3600")});
    DEVMODEW pub = {};
    pub.dmSize = sizeof pub;
    pub.dmFields = DM_PAPERWIDTH | DM_PAPERLENGTH;
    pub.dmPaperWidth = 2000;
    pub.dmPaperLength = 3000;
    m_host.Param()->pPublicDM = &pub;
    EXPECT_EQ(1, m_logic.BIsCustomSizeDuplexable());
    EXPECT_EQ(0, m_logic.IApplyCustomDuplexRange());
    pub.dmPaperWidth = 2500;
    EXPECT_EQ(2, m_logic.BIsCustomSizeDuplexable());
    m_logic.WorkDM()->dwManualDuplex = 1;
    EXPECT_EQ(0, m_logic.IApplyCustomDuplexRange()) << "manual two-sided printing is not the unit's";
    m_logic.WorkDM()->dwManualDuplex = 0;
    EXPECT_EQ(1, m_logic.IApplyCustomDuplexRange());
    EXPECT_EQ((std::vector<std::string>{"Duplex=0"}), Reported());
    EXPECT_EQ(DMDUP_SIMPLEX, m_logic.WorkDM()->wDuplex);
    m_host.SetSelection("PaperSize", 0);
    EXPECT_EQ(0, m_logic.BIsCustomSizeDuplexable()) << "not a custom size";
    m_host.Param()->pPublicDM = nullptr;
}

TEST_F(Setters, ColorSpaceConflictReportsTheMediaItemAgain) {
    FixtureFeature space = Options("ZQInputColorSpace", {"sRGB", "AdobeRGB"}, 1);
    space.options[1].conflict = true;
    FixtureFeature media = Options("MediaType", {"PLAIN", "PHOTO"}, 1, DMPUB_MEDIATYPE);
    FixtureFeature quality = Options("Resolution", {"300", "600"}, 0, DMPUB_PRINTQUALITY);
    quality.options[0].conflict = true;
    Make({space, media, quality});
    m_logic.VUpdateColorSpaceConflicts();
    EXPECT_EQ((std::vector<std::string>{"Resolution=0"}), Reported()) << "media free of conflict: quality";
    m_host.ClearUpdates();
    m_host.Item("MediaType")->pOptType->pOptParam[1].Flags |= OPTPF_OVERLAY_WARNING_ICON;
    m_logic.VUpdateColorSpaceConflicts();
    EXPECT_EQ((std::vector<std::string>{"MediaType=1"}), Reported());
    m_host.ClearUpdates();
    m_host.SetSelection("ZQInputColorSpace", 0);
    m_logic.VUpdateColorSpaceConflicts();
    EXPECT_TRUE(Reported().empty());
}

TEST_F(Setters, ColorModeFollowsTheQualityGroupWhereTheDriverAsks) {
    Make({Options("PrintQualityGroup", {"PQGroup_0", "PQGroup_1", "PQGroup_2"}, 2),
          Options("ColorMode", {"Mono", "24bpp"}), ValueFeature("ZQSetBPPForSelectedPQGroup", "TRUE")});
    m_logic.VSetColorModeForQualityGroup();
    EXPECT_EQ(std::vector<std::string>{"ColorMode=1"}, Reported()) << "a group beyond the modes takes the last";
    m_host.SetSelection("PrintQualityGroup", 0);
    m_host.ClearUpdates();
    m_logic.VSetColorModeForQualityGroup();
    EXPECT_EQ(std::vector<std::string>{"ColorMode=0"}, Reported());

    COptItemFixture plain;
    plain.Add(Options("PrintQualityGroup", {"PQGroup_0", "PQGroup_1"}, 1));
    plain.Add(Options("ColorMode", {"Mono", "24bpp"}));
    plain.Build();
    m_logic.VSetParam(plain.Param(), OEMCUIP_DOCPROP);
    m_logic.VSetColorModeForQualityGroup();
    EXPECT_TRUE(plain.Updates().empty());
}

TEST_F(Setters, SavedSelectionsArePerFeature) {
    Make({Options("PrintQualityGroup", {"PQGroup_0", "PQGroup_1", "PQGroup_2"}, 2),
          Options("OutputBin", {"Upper", "Lower"}, 1), ValueFeature("FaceControl", "FaceUp")});
    m_logic.VSaveSelections();
    EXPECT_EQ(2, m_logic.IGetSavedSelection(L"printqualitygroup"));
    EXPECT_EQ(1, m_logic.IGetSavedSelection(L"OutputBin"));
    EXPECT_EQ(-1, m_logic.IGetSavedSelection(L"FaceControl")) << "a value without an item";
    EXPECT_EQ(-1, m_logic.IGetSavedSelection(L"NotKept"));
    m_host.SetSelection("OutputBin", 0);
    EXPECT_EQ(1, m_logic.IGetSavedSelection(L"OutputBin")) << "kept until saved again";
}

// The delivery of the selected output bin sets the face-up flag; an unreadable one leaves it.
TEST_F(Setters, OutputBinFaceUpFollowsItsDelivery) {
    Make({Options("ZQOutputBinOrientation", {"Upper_FaceDown", "Stapler_FaceUp"})});
    m_logic.VUpdateOutputBinFaceUp();
    EXPECT_EQ(0u, m_logic.WorkDM()->dwOutputFaceUp);
    m_host.SetSelection("ZQOutputBinOrientation", 1);
    m_logic.VUpdateOutputBinFaceUp();
    EXPECT_EQ(1u, m_logic.WorkDM()->dwOutputFaceUp);
    m_host.FailFeature("ZQOutputBinOrientation");
    m_logic.WorkDM()->dwOutputFaceUp = 7;
    m_logic.VUpdateOutputBinFaceUp();
    EXPECT_EQ(7u, m_logic.WorkDM()->dwOutputFaceUp);
}

TEST_F(Setters, PosterStateAndTiles) {
    Make({Options("ZQPosterPrinting", {"OFF", "ON"}, 1), Options("ZQPosterPrintingOption", {"2", "3", "4", "5"}, 2)});
    m_logic.WorkDM()->dwLayoutMode = 3;
    int tiles = -1;
    ASSERT_TRUE(m_logic.BGetPosterTiles(&tiles));
    EXPECT_EQ(2, tiles);
    m_logic.WorkDM()->dwPagesPerSheet = 4;
    m_logic.VSetPosterState(FALSE, nullptr);
    EXPECT_EQ((std::vector<std::string>{"ZQPosterPrinting=0"}), Reported());
    EXPECT_EQ(1u, m_logic.WorkDM()->dwPagesPerSheet);
    EXPECT_FALSE(m_logic.BGetPosterTiles(&tiles));
    m_logic.VSetPosterState(TRUE, L"Poster");
    EXPECT_STREQ(L"Poster", reinterpret_cast<const wchar_t*>(m_logic.WorkDM()->szWmName));
    EXPECT_STREQ(L"Poster", reinterpret_cast<const wchar_t*>(m_logic.WorkDM()->szWmText));
    m_logic.WorkDM()->dwLayoutMode = 1;
    EXPECT_FALSE(m_logic.BIsPosterPrinting()) << "posters need layout mode 3";
}

// ---------------------------------------------------------------------------------------------
// Paper and the printer's range (the in-memory printer answers the capabilities).
// ---------------------------------------------------------------------------------------------
TEST(PaperRange, ScaleTargetIsTheLargestPaperWithinTheRange) {
    zqspool::CZQMemoryPrinter printer;
    printer.Install();
    // The extent is the count answer itself: width in the low word, length in the high word.
    const DWORD none = 0;
    printer.SetCapability(DC_MAXEXTENT, &none, 0, sizeof none);
    printer.SetCapabilityAnnounced(DC_MAXEXTENT, static_cast<int>(MAKELONG(4200, 5940)));
    COptItemFixture host;
    host.Add(Options("PaperSize", {"A4", "A2", "A0"}, 2, DMPUB_FORMNAME));
    host.Add(ValueFeature("ScaleFromLargePaper", "INSTALLED"));
    host.Build();
    DEVMODEW pub = {};
    pub.dmSize = sizeof pub;
    pub.dmPaperSize = 300;
    host.Param()->pPublicDM = &pub;
    host.Param()->pPrinterName = const_cast<PWSTR>(L"ZQ Memory Printer");
    WORD ids[] = {9, 66, 300};
    POINT sizes[] = {{2100, 2970}, {4200, 5940}, {8410, 11890}};
    PrinterCaps caps = {};
    caps.dwPaperCount = 3;
    caps.pPaperIds = ids;
    caps.pPaperSizes = sizes;
    CZQUILogic logic;
    logic.VSetParam(host.Param(), OEMCUIP_DOCPROP);
    logic.m_pCaps = &caps;
    LONG w = 0, l = 0;
    ASSERT_EQ(0, logic.IGetActualCustomRange(&w, &l));
    EXPECT_EQ(4200, w);
    EXPECT_EQ(5940, l);
    EXPECT_TRUE(logic.BNeedsScaleFromLargePaper(&caps));
    logic.VSelectScaleTargetPaper();
    EXPECT_EQ(66u, logic.WorkDM()->dwPrintedOnPaper);
    pub.dmPaperSize = 9;
    EXPECT_FALSE(logic.BNeedsScaleFromLargePaper(&caps));
    host.Param()->pPublicDM = nullptr;
}

TEST(PaperKinds, EnvelopesBannersAndBorderless) {
    HMODULE status = LoadLibraryExW(zqtest::BesideExe(L"zqcoremod.dll").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, status);
    COptItemFixture host;
    FixtureFeature paper = ListFeature(
        "PaperSize", {{"ENV_10", L"Envelope #10"}, {"ZQ_BANNER_A1", L"Banner A1"}, {"ZQ_BANNER_X", L"My Banner"}}, 0,
        DMPUB_FORMNAME);
    host.Add(paper);
    host.Add(ListFeature("PageSize", {{"A4.Borderless", L"A4 (borderless)"}}, 0));
    host.Build();
    CZQUILogic logic;
    logic.VSetParam(host.Param(), OEMCUIP_DOCPROP);
    logic.VSetResourceModule(status);
    EXPECT_TRUE(logic.BIsEnvelopePaper());
    EXPECT_FALSE(logic.BIsBannerPaper());
    host.SetSelection("PaperSize", 1);
    EXPECT_FALSE(logic.BIsEnvelopePaper());
    EXPECT_TRUE(logic.BIsBannerPaper()) << "a standard banner name";
    host.SetSelection("PaperSize", 2);
    EXPECT_FALSE(logic.BIsBannerPaper());
    EXPECT_TRUE(logic.BIsNonStandardBannerName(L"ZQ_BANNER_X", L"My Banner"));
    EXPECT_FALSE(logic.BIsNonStandardBannerName(L"ZQ_BANNER_A1", L"banner a1"));
    EXPECT_FALSE(logic.BIsNonStandardBannerName(L"LETTER", L"My Banner"));
    EXPECT_FALSE(logic.BIsBorderlessPaper());
    // PostScript's page sizes name themselves borderless.
    logic.WorkDM()->dwPdl = kPdlPostScript;
    EXPECT_STREQ(L"PageSize", logic.PszFormFeature());
    EXPECT_TRUE(logic.BIsBorderlessPaper());
    logic.VSetResourceModule(nullptr);
    FreeLibrary(status);
}

// ---------------------------------------------------------------------------------------------
// The control binder on real controls.
// ---------------------------------------------------------------------------------------------
class Binder : public ::testing::Test {
protected:
    void SetUp() override {
        m_parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
        m_combo = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | CBS_DROPDOWNLIST, 0, 0, 200, 100, m_parent, nullptr,
                                  nullptr, nullptr);
        m_check = CreateWindowExW(0, L"BUTTON", L"Check", WS_CHILD | BS_AUTOCHECKBOX, 0, 0, 100, 20, m_parent,
                                  nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, m_combo);
        FixtureFeature media = ListFeature(
            "MediaType", {{"PLAIN", L"Plain"}, {"PHOTO", L"Photo"}, {"FILM", L"Film"}, {"HIDDEN", L"Hidden"}}, 1,
            DMPUB_MEDIATYPE);
        media.options[2].conflict = true;
        media.options[3].hidden = true;
        m_host.Add(media);
        FixtureFeature gray = OffOn("ZQPrintInGrayScale", 1);
        gray.kind = zqtest::FixtureKind::CheckBox;
        m_host.Add(gray);
        FixtureFeature hidden = Options("ZQHidden", {"a", "b"});
        hidden.flags = OPTIF_HIDE;
        m_host.Add(hidden);
        m_host.Build();
        m_host.Item("MediaType")->HelpIndex = 4711;
        m_logic.VSetParam(m_host.Param(), OEMCUIP_DOCPROP);
        m_host.ClearUpdates();
    }
    void TearDown() override { DestroyWindow(m_parent); }
    std::vector<std::wstring> Entries() const {
        std::vector<std::wstring> out;
        const int n = static_cast<int>(SendMessageW(m_combo, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < n; ++i) {
            WCHAR text[64] = {};
            SendMessageW(m_combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            out.emplace_back(text);
        }
        return out;
    }
    int Bind(int action, int old = 0, int* changed = nullptr, int* value = nullptr, BOOL check = FALSE,
             PCWSTR feature = L"MediaType") {
        int v = 0;
        return m_logic.IBindFeatureControl(0, feature, check ? m_check : m_combo, changed, OEMCUIP_DOCPROP, action, check,
                                           old, value ? value : &v);
    }
    HWND m_parent = nullptr, m_combo = nullptr, m_check = nullptr;
    COptItemFixture m_host;
    CZQUILogic m_logic;
};

TEST_F(Binder, FillShowApplyCompareAndHelp) {
    EXPECT_EQ(0, Bind(CZQUILogic::kBindFill));
    EXPECT_EQ((std::vector<std::wstring>{L"Plain", L"Photo", L"Film"}), Entries()) << "hidden options are left out";
    EXPECT_EQ(0, Bind(CZQUILogic::kBindFillFree));
    EXPECT_EQ((std::vector<std::wstring>{L"Plain", L"Photo"}), Entries()) << "and conflict-marked ones";
    EXPECT_EQ(0, Bind(CZQUILogic::kBindShow));
    EXPECT_EQ(1, SendMessageW(m_combo, CB_GETCURSEL, 0, 0));

    // A selection the list does not offer shows the first free option.
    m_host.SetSelection("MediaType", 2);
    EXPECT_EQ(6, Bind(CZQUILogic::kBindShow));
    EXPECT_EQ(0, SendMessageW(m_combo, CB_GETCURSEL, 0, 0));

    // Apply reports the shown option; compare sets the flag only on a difference.
    SendMessageW(m_combo, CB_SETCURSEL, 1, 0);
    EXPECT_EQ(0, Bind(CZQUILogic::kBindApply));
    ASSERT_EQ(1u, m_host.Updates().size());
    EXPECT_EQ(1, m_host.Updates()[0].sel);
    int changed = 0;
    EXPECT_EQ(0, Bind(CZQUILogic::kBindCompare, 1, &changed));
    EXPECT_EQ(0, changed);
    EXPECT_EQ(0, Bind(CZQUILogic::kBindCompare, 0, &changed));
    EXPECT_EQ(1, changed);
    SendMessageW(m_combo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    EXPECT_EQ(3, Bind(CZQUILogic::kBindApply));
    EXPECT_EQ(3, Bind(CZQUILogic::kBindCompare, 0, &changed));

    int value = 0;
    EXPECT_EQ(0, Bind(CZQUILogic::kBindHelp, 0, nullptr, &value));
    EXPECT_EQ(4711, value);
    EXPECT_EQ(0, m_logic.IBindFeatureControl(DMPUB_MEDIATYPE, nullptr, m_combo, nullptr, 1, CZQUILogic::kBindHelp,
                                             FALSE, 0, &value));
    EXPECT_EQ(4711, value) << "found by public id";
    EXPECT_EQ(2, Bind(CZQUILogic::kBindFill, 0, nullptr, &value, FALSE, L"NoSuchFeature"));
    EXPECT_EQ(-1, value);
    EXPECT_EQ(10, Bind(CZQUILogic::kBindFill, 0, nullptr, nullptr, FALSE, L"ZQHidden"));
}

TEST_F(Binder, CheckBoxes) {
    EXPECT_EQ(0, Bind(CZQUILogic::kBindFill, 0, nullptr, nullptr, TRUE, L"ZQPrintInGrayScale"));
    EXPECT_EQ(0, Bind(CZQUILogic::kBindShow, 0, nullptr, nullptr, TRUE, L"ZQPrintInGrayScale"));
    EXPECT_EQ(BST_CHECKED, SendMessageW(m_check, BM_GETCHECK, 0, 0));
    SendMessageW(m_check, BM_SETCHECK, BST_UNCHECKED, 0);
    int changed = 0;
    EXPECT_EQ(0, Bind(CZQUILogic::kBindCompare, 1, &changed, nullptr, TRUE, L"ZQPrintInGrayScale"));
    EXPECT_EQ(1, changed);
    EXPECT_EQ(0, Bind(CZQUILogic::kBindApply, 0, nullptr, nullptr, TRUE, L"ZQPrintInGrayScale"));
    ASSERT_EQ(1u, m_host.Updates().size());
    EXPECT_EQ("ZQPrintInGrayScale", m_host.Updates()[0].keyword);
    EXPECT_EQ(0, m_host.Updates()[0].sel);
}

TEST_F(Binder, EditTextFindsTheFirstOptionItBegins) {
    HWND edit = CreateWindowExW(0, L"EDIT", L"ph", WS_CHILD, 0, 0, 100, 20, m_parent, nullptr, nullptr, nullptr);
    EXPECT_EQ(1, m_logic.IFindOptionByEditText(edit, L"MediaType"));
    SetWindowTextW(edit, L"x");
    EXPECT_EQ(-1, m_logic.IFindOptionByEditText(edit, L"MediaType"));
    SetWindowTextW(edit, L"");
    EXPECT_EQ(-1, m_logic.IFindOptionByEditText(edit, L"MediaType"));
}

// An entry's text stands right of the mark's column only in a list that shows a mark somewhere;
// in the others it starts where a plain combo box's does.
TEST_F(Binder, DrawingAnEntryWithTheConflictMark) {
    Bind(CZQUILogic::kBindFill);
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(dc, 200, 20);
    HGDIOBJ old = SelectObject(dc, bmp);
    DRAWITEMSTRUCT draw = {};
    draw.CtlType = ODT_COMBOBOX;
    draw.hDC = dc;
    draw.rcItem = {0, 0, 200, 20};
    // The first column of an entry's drawing that is not the background.
    const auto firstInk = [&](UINT entry) {
        draw.itemID = entry;
        EXPECT_TRUE(m_logic.IDrawFeatureComboItem(DMPUB_MEDIATYPE, nullptr, &draw, m_combo));
        const COLORREF back = GetPixel(dc, 199, 0);
        for (int x = 0; x < 200; ++x)
            for (int y = 0; y < 20; ++y)
                if (GetPixel(dc, x, y) != back) return x;
        return 200;
    };
    const int column = GetSystemMetrics(SM_CXSMICON);
    // With the film entry (2) marked or not: where an entry's text starts.
    POPTPARAM film = &m_host.Item("MediaType")->pOptType->pOptParam[2];
    for (auto [marked, entry] : {std::pair{true, 0u}, {true, 1u}, {false, 0u}, {false, 2u}}) {
        film->Flags = marked ? (film->Flags | OPTPF_OVERLAY_WARNING_ICON) : (film->Flags & ~OPTPF_OVERLAY_WARNING_ICON);
        EXPECT_EQ(marked, firstInk(entry) > column) << entry;
    }
    draw.itemState = ODS_SELECTED | ODS_FOCUS;
    draw.itemID = static_cast<UINT>(-1);
    EXPECT_TRUE(m_logic.IDrawFeatureComboItem(0, L"MediaType", &draw, m_combo));
    EXPECT_FALSE(m_logic.IDrawFeatureComboItem(0, L"MediaType", nullptr, m_combo));
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
}

// ---------------------------------------------------------------------------------------------
// Texts, lists and rolls.
// ---------------------------------------------------------------------------------------------
TEST(Texts, MarkPrefixSplitsListsAndValues) {
    EXPECT_TRUE(CZQUILogic::BHasMarkPrefix(L"Photo << Best"));
    EXPECT_FALSE(CZQUILogic::BHasMarkPrefix(L"Photo <<Best"));
    EXPECT_FALSE(CZQUILogic::BHasMarkPrefix(nullptr));
    WCHAR text[256] = L"Photo << Best";
    EXPECT_TRUE(CZQUILogic::BStripMarkPrefix(text));
    EXPECT_STREQ(L"Best", text);
    EXPECT_FALSE(CZQUILogic::BStripMarkPrefix(text));
    // An unterminated buffer is cut at its end, never read past it.
    std::fill(std::begin(text), std::end(text), L'x');
    EXPECT_FALSE(CZQUILogic::BStripMarkPrefix(text));
    EXPECT_EQ(L'\0', text[255]);

    COptItemFixture host;
    host.Build();
    PWSTR* parts = nullptr;
    int count = 0;
    EXPECT_EQ(5u, CZQUILogic::ISplitAtUnderscore(nullptr, L"Roll1_Roll2", &parts, &count));
    EXPECT_EQ(nullptr, parts);
    ASSERT_EQ(0u, CZQUILogic::ISplitAtUnderscore(host.Param(), L"Roll1__Sheet_", &parts, &count));
    ASSERT_EQ(4, count);
    EXPECT_STREQ(L"Roll1", parts[0]);
    EXPECT_STREQ(L"", parts[1]);
    EXPECT_STREQ(L"Sheet", parts[2]);
    EXPECT_STREQ(L"", parts[3]);
    CZQCommon::VFreeStringList(parts, count);
    ASSERT_EQ(0u, CZQUILogic::ISplitAtUnderscore(host.Param(), L"", &parts, &count));
    EXPECT_EQ(1, count);
    CZQCommon::VFreeStringList(parts, count);

    const PCWSTR list[] = {L"Bond", nullptr, L"Film"};
    EXPECT_TRUE(CZQUILogic::BIsInStringList(list, 3, L"Film"));
    EXPECT_FALSE(CZQUILogic::BIsInStringList(list, 3, L"film")) << "compared with case";
    EXPECT_FALSE(CZQUILogic::BIsInStringList(list, 1, L"Film"));
    const DWORD values[] = {7, 258, 9};
    const CZQUILogic::ValueList record = {3, values};
    int index = -1;
    EXPECT_TRUE(CZQUILogic::BFindValueIndex(258, &record, &index));
    EXPECT_EQ(1, index);
    EXPECT_FALSE(CZQUILogic::BFindValueIndex(8, &record, &index));
    EXPECT_FALSE(CZQUILogic::BFindValueIndex(8, nullptr, &index));

    EXPECT_EQ(0, CZQUILogic::IGetScalingMode(0, 100));
    EXPECT_EQ(2, CZQUILogic::IGetScalingMode(0, 80));
    EXPECT_EQ(1, CZQUILogic::IGetScalingMode(1, 100));

}

TEST(Texts, ConfirmBoxTakesItsCaptionFromTheButtonAndItsTextFromTheStrings) {
    HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HWND button = CreateWindowExW(0, L"BUTTON", L"&Restore Defaults (all)", WS_CHILD, 0, 0, 10, 10, parent, nullptr,
                                  nullptr, nullptr);
    WCHAR caption[64];
    CZQUILogic::VButtonCaption(button, caption, 64);
    EXPECT_STREQ(L"Restore Defaults", caption);
    CZQUILogic::VButtonCaption(nullptr, caption, 64);
    EXPECT_STREQ(L"", caption);

    struct Seen {
        HWND owner;
        std::wstring text, caption;
        UINT type;
    } seen = {};
    auto answer = [](void* context, HWND owner, PCWSTR text, PCWSTR cap, UINT type) {
        auto* s = static_cast<Seen*>(context);
        *s = {owner, text, cap, type};
        return IDOK;
    };
    void* previousContext = nullptr;
    zqmsgbox::PFN_Answer previous = zqmsgbox::SetAnswerer(answer, &seen, &previousContext);
    HMODULE status = LoadLibraryExW(zqtest::BesideExe(L"zqcoremod.dll").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    CZQUILogic logic;
    logic.VSetResourceModule(status);
    EXPECT_EQ(IDOK, logic.IConfirmBox(1026, 99999, 1027, MB_OKCANCEL, button));
    EXPECT_EQ(parent, seen.owner);
    EXPECT_EQ(L"Restore Defaults", seen.caption);
    EXPECT_EQ(L"Banner A1\n\nBanner A0", seen.text) << "a missing string leaves no gap";
    EXPECT_EQ(static_cast<UINT>(MB_OKCANCEL), seen.type);
    logic.VSetResourceModule(nullptr);
    FreeLibrary(status);
    zqmsgbox::SetAnswerer(previous, previousContext);
    DestroyWindow(parent);
}

TEST(Rolls, PublicIdsOfRollFieldsAndValueNames) {
    const wchar_t* fields[] = {L"Name", L"Type", L"Width", L"CustomWidth"};
    const int roll1[] = {109, 111, 107, 105}, roll2[] = {110, 112, 108, 106};
    for (int f = 0; f < 4; ++f) {
        EXPECT_EQ(roll1[f], CZQUILogic::IRollFieldPubId(1, fields[f]));
        EXPECT_EQ(roll2[f], CZQUILogic::IRollFieldPubId(2, fields[f]));
        EXPECT_EQ(-1, CZQUILogic::IRollFieldPubId(3, fields[f]));
        EXPECT_EQ(-1, CZQUILogic::IRollFieldPubId(0, fields[f]));
    }
    EXPECT_EQ(-1, CZQUILogic::IRollFieldPubId(1, L"name"));
    EXPECT_EQ(-1, CZQUILogic::IRollFieldPubId(1, nullptr));
    const struct {
        const wchar_t* source;
        int ids[4];
    } rows[] = {{L"ManualFeed", {113, 116, 122, 119}},
                {L"Sheet", {114, 117, 123, 120}},
                {L"Roll", {115, 118, 124, 121}},
                {L"Roll1", {109, 111, 107, 105}},
                {L"Roll2", {110, 112, 108, 106}}};
    std::vector<int> seen;
    for (const auto& row : rows)
        for (int f = 0; f < 4; ++f) {
            const std::wstring name = std::wstring(row.source) + fields[f];
            EXPECT_EQ(row.ids[f], CZQUILogic::IRollValuePubId(name.c_str())) << std::string(name.begin(), name.end());
            seen.push_back(row.ids[f]);
        }
    std::sort(seen.begin(), seen.end());
    for (int i = 0; i < 20; ++i) EXPECT_EQ(105 + i, seen[static_cast<size_t>(i)]) << "every id 105-124 once";
    for (const wchar_t* other : {L"Roll3Name", L"RollName1", L"Sheet", L"", L"SheetWidthX"})
        EXPECT_EQ(-1, CZQUILogic::IRollValuePubId(other));
    EXPECT_EQ(-1, CZQUILogic::IRollValuePubId(nullptr));
}

TEST(Rolls, WidthsBeyondTheHelperFilesLimitAreClamped) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    {
        CZQXmlUiRules rules;
        WCHAR width[256] = L"40";
        CZQUILogic::VClampRollWidth(&rules, width);
        EXPECT_STREQ(L"40", width) << "nothing loaded: nothing to compare with";
        ASSERT_TRUE(rules.Parser().BLoad(zqtest::BesideExe(L"samples\\zqroll\\zqroll.xml").c_str()));
        rules.Parser().VSetLoaded(TRUE);
        CZQUILogic::VClampRollWidth(&rules, width);
        EXPECT_STREQ(L"36.00", width);
        for (const wchar_t* kept : {L"24.5", L"36", L"wide", L""}) {
            wcscpy(width, kept);
            CZQUILogic::VClampRollWidth(&rules, width);
            EXPECT_STREQ(kept, width);
        }
        // An unterminated text is read within its 256 characters.
        std::fill(std::begin(width), std::end(width), L'9');
        CZQUILogic::VClampRollWidth(&rules, width);
        EXPECT_STREQ(L"36.00", width);
        CZQUILogic::VClampRollWidth(nullptr, width);
    }
    CoUninitialize();
}

TEST(Rolls, SelectedRollsWidthBecomesTheCustomMaximumInWholeInches) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    {
        zqspool::CZQMemoryPrinter printer;
        printer.Install();
        HANDLE h = printer.Open();
        printer.PutString(L"ZQPresetRoot", L"ZQRestrictedUserGuid", L"{2F1B7E64-8C0D-4E4A-A9B3-5D6C7E8F9A01}");
        auto answer = [&](const wchar_t* name, const wchar_t* text) {
            printer.PutString(zqspool::CZQMemoryPrinter::kRootKey, name, text);
        };
        answer(L"Roll1Width", L"36");
        answer(L"Roll2Width", L"custom");  // the custom word, in any case: the custom width counts
        answer(L"Roll2CustomWidth", L"24.50");
        answer(L"RollWidth", L"Unknown");
        COptItemFixture host;
        host.Add(ValueFeature("ZQPrinterClass", "ZQKorrix"));
        host.Add(Options("InputBin", {"ROLL1", "ROLL2", "Roll", "AnyRoll", "SHEET"}, 0, DMPUB_DEFSOURCE));
        host.Build();
        ZQUIDevmode core = {};
        ASSERT_TRUE(CZQCommon().BFillDefaultDevmode(&core, nullptr));
        host.Param()->pOEMDM = &core;
        host.Param()->hPrinter = h;
        CZQUILogic logic;
        logic.VSetParam(host.Param(), OEMCUIP_DOCPROP);
        CZQXmlUiRules rules;  // the roll printer's helper file: job pages at most 36 inches wide
        ASSERT_TRUE(rules.Parser().BLoad(zqtest::BesideExe(L"samples\\zqroll\\zqroll.xml").c_str()));
        rules.Parser().VSetLoaded(TRUE);
        auto widthFor = [&](LONG source, CZQXmlUiRules* pRules) {
            core.dwCustomMaxWidth = 7;
            host.SetSelection("InputBin", source);
            logic.VUpdateRollPreview(nullptr, pRules);
            return core.dwCustomMaxWidth;
        };
        const uint32_t widths[] = {36, 24, 7, 36, 7};  // the sources in order; 7: left as it was
        for (LONG source = 0; source < 5; ++source) EXPECT_EQ(widths[source], widthFor(source, &rules)) << source;
        answer(L"Roll1Width", L"44");
        EXPECT_EQ(36u, widthFor(0, &rules)) << "no wider than the widest job page";
        for (const wchar_t* bad : {L"0.5", L"-3", L"1e40", L""}) {
            answer(L"Roll1Width", bad);
            EXPECT_EQ(7u, widthFor(0, nullptr)) << testing::PrintToString(std::wstring(bad));
        }
        zqspool::Spooler().ClosePrinter(h);
    }
    CoUninitialize();
}

// ---------------------------------------------------------------------------------------------
// Printer data: answers of the device and administrator locks (in-memory printer).
// ---------------------------------------------------------------------------------------------
TEST(PrinterData, DeviceAnswerListsAndLocks) {
    zqspool::CZQMemoryPrinter printer;
    printer.Install();
    HANDLE h = printer.Open();
    // The device's answers are read through the per-user reader, which needs the user's key name.
    printer.PutString(L"ZQPresetRoot", L"ZQRestrictedUserGuid", L"{6A3C0C61-7D7E-4C39-9B86-0D43E0F3B0A1}");
    const wchar_t media[] = L"Bond\0Film\0\0Ignored\0";
    printer.PutValue(L"PrinterDriverData", L"UserDefinedMedia", REG_MULTI_SZ, media, sizeof media);
    PWSTR* list = nullptr;
    int count = 0;
    ASSERT_TRUE(CZQUILogic::BGetUserDefinedMedia(h, &list, &count));
    ASSERT_EQ(2, count) << "the list ends at its empty text";
    EXPECT_STREQ(L"Bond", list[0]);
    EXPECT_STREQ(L"Film", list[1]);
    CZQCommon::VFreeStringList(list, count);
    // Unterminated at the value's end.
    const wchar_t bins[] = {L'U', L'p', 0, L'L', L'o'};
    printer.PutValue(L"PrinterDriverData", L"OutputBinNames", REG_MULTI_SZ, bins, sizeof bins);
    ASSERT_TRUE(CZQUILogic::BGetOutputBinNames(h, &list, &count));
    ASSERT_EQ(2, count);
    EXPECT_STREQ(L"Lo", list[1]);
    CZQCommon::VFreeStringList(list, count);
    printer.PutValue(L"PrinterDriverData", L"OutputBinNames", REG_MULTI_SZ, L"\0", 2);
    ASSERT_TRUE(CZQUILogic::BGetOutputBinNames(h, &list, &count));
    EXPECT_EQ(0, count);
    CZQCommon::VFreeStringList(list, count);
    EXPECT_FALSE(CZQUILogic::BGetOutputBinNames(nullptr, &list, &count));

    printer.PutString(zqsettings::kLockDataPrinting, L"MediaType", L"Lock");
    printer.PutString(zqsettings::kLockDataPrinting, L"PaperSize", L"Open");
    WCHAR value[256];
    EXPECT_TRUE(CZQUILogic::BIsSettingLocked(h, zqsettings::kLockDataPrinting, L"MediaType", value));
    EXPECT_STREQ(L"Lock", value);
    EXPECT_FALSE(CZQUILogic::BIsSettingLocked(h, zqsettings::kLockDataPrinting, L"PaperSize", value));
    EXPECT_STREQ(L"Open", value);
    printer.PutString(zqsettings::kLockDataPrinting, L"Resolution", L"LOCK");
    EXPECT_FALSE(CZQUILogic::BIsSettingLocked(h, zqsettings::kLockDataPrinting, L"Resolution", value)) << "the word in its own case";
    EXPECT_FALSE(CZQUILogic::BIsSettingLocked(h, zqsettings::kLockDataPrinting, L"Missing", value));
    EXPECT_STREQ(L"", value);
    zqspool::Spooler().ClosePrinter(h);
}

TEST(OsVersion, ClassesOfWindowsVersions) {
    static DWORD s_major, s_minor;
    auto source = [](DWORD* major, DWORD* minor) {
        *major = s_major;
        *minor = s_minor;
    };
    CZQUILogic::PFN_OsVersion previous = CZQUILogic::SetOsVersionSource(source);
    const struct {
        DWORD major, minor;
        int cls;
    } cases[] = {{5, 0, 1}, {5, 1, 2}, {5, 2, 2}, {6, 0, 3}, {10, 0, 3}, {4, 0, 0}};
    for (const auto& c : cases) {
        s_major = c.major;
        s_minor = c.minor;
        EXPECT_EQ(c.cls, CZQUILogic::IGetOsVersionClass()) << c.major << "." << c.minor;
    }
    CZQUILogic::SetOsVersionSource(previous);
    EXPECT_NE(0, CZQUILogic::IGetOsVersionClass()) << "this system";
}

}  // namespace
