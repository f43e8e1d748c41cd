// Which pages a sheet gets: the choice from the sheet's facts, and the facts read from the core
// driver's items and its copy of the private devmode.
#include <gtest/gtest.h>

#include <vector>

#include "common/zqcommon.h"
#include "common/zquibase.h"
#include "featurelogic/zqsheetstate.h"
#include "formats/zquidevmode.h"
#include "optitemfixture.h"
#include "pages/zqpages.h"

namespace {

using zqtest::COptItemFixture;

std::vector<int> Choose(const ZQSheetFacts& f, DWORD sheet) {
    int ids[kPageIdCount];
    const int n = IChooseSheetPages(f, sheet, ids, kPageIdCount);
    return std::vector<int>(ids, ids + n);
}

struct MatrixCase {
    const char* name;
    ZQSheetFacts facts;
    std::vector<int> document;
};

TEST(PageSelection, DocumentSheetMatrix) {
    const MatrixCase cases[] = {
        // The desktop sample: full interface, colour.
        {"desktop colour", {FALSE, FALSE, FALSE, FALSE, FALSE, 2, 2, FALSE},
         {kPageShortcuts, kPagePaperQuality, kPageEffects, kPageFinishing, kPageColor, kPageAbout}},
        {"desktop mono", {FALSE, FALSE, FALSE, FALSE, FALSE, 1, 2, FALSE},
         {kPageShortcuts, kPagePaperQuality, kPageEffects, kPageFinishing, kPageAbout}},
        {"desktop with finisher and job storage", {FALSE, FALSE, FALSE, TRUE, TRUE, 2, 3, FALSE},
         {kPageShortcuts, kPagePaperQuality, kPageEffects, kPageFinishing, kPageOutput, kPageJobStorage, kPageColor,
          kPageAbout}},
        // Simplified interface: the Features page replaces the settings pages.
        {"simplified desktop", {TRUE, FALSE, FALSE, FALSE, FALSE, 2, 4, FALSE},
         {kPageShortcuts, kPageFeatures, kPageColor, kPageAbout}},
        // The roll sample: simplified, large format.
        {"roll", {TRUE, FALSE, TRUE, FALSE, FALSE, 2, 5, FALSE},
         {kPageShortcuts, kPageLargeFormatFeatures, kPageColor, kPageAbout}},
        {"roll with job storage, mono", {TRUE, TRUE, TRUE, FALSE, TRUE, 1, 5, FALSE},
         {kPageShortcuts, kPageLargeFormatFeatures, kPageJobStorage, kPageAbout}},
        // Large format without the simplified interface keeps the full set of pages.
        {"large format, full interface", {FALSE, FALSE, TRUE, TRUE, FALSE, 0, 3, FALSE},
         {kPageShortcuts, kPagePaperQuality, kPageEffects, kPageFinishing, kPageOutput, kPageAbout}},
        // Jobs set up in the publishing application: the information page alone, whatever else.
        {"settings information", {TRUE, TRUE, TRUE, TRUE, TRUE, 2, 5, TRUE}, {kPageInfo}},
        {"settings information, desktop", {FALSE, FALSE, FALSE, FALSE, FALSE, 1, 2, TRUE}, {kPageInfo}},
    };
    for (const MatrixCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.document, Choose(c.facts, kSheetDocument));
        EXPECT_EQ((std::vector<int>{kPageServices, kPageAbout}), Choose(c.facts, kSheetDevice));
    }
    EXPECT_TRUE(Choose(ZQSheetFacts{}, 0).empty());
}

TEST(PageSelection, NoCombinationOutgrowsTheSheetRecord) {
    for (int bits = 0; bits < 64; ++bits) {
        ZQSheetFacts f = {};
        f.bSimplifiedUI = bits & 1;
        f.bDocUISUI = (bits >> 1) & 1;
        f.bLargeFormat = (bits >> 2) & 1;
        f.bOutputFeatures = (bits >> 3) & 1;
        f.bJobStorage = (bits >> 4) & 1;
        f.dwColorMode = (bits >> 5) & 1 ? 2 : 1;
        EXPECT_LE(Choose(f, kSheetDocument).size(), static_cast<size_t>(kMaxSheetPages)) << bits;
    }
    // A caller's short array is never overrun.
    int two[2];
    EXPECT_EQ(2, IChooseSheetPages(ZQSheetFacts{}, kSheetDocument, two, 2));
}

// Facts come from the core driver's items and its copy of the private devmode.
class SheetFacts : public ::testing::Test {
protected:
    void SetUp() override {
        CZQCommon common;
        ASSERT_TRUE(common.BFillDefaultDevmode(&m_dm, nullptr));
    }
    ZQUIDevmode m_dm = {};
};

TEST_F(SheetFacts, DesktopSample) {
    COptItemFixture host;
    host.Add(zqtest::ListFeature("PaperSize", {{"LETTER", L"Letter"}, {"A4", L"A4"}}, 0, DMPUB_FORMNAME));
    host.Add(zqtest::ValueFeature("ZQPrinterClass", "ZQDesk"));
    host.Build();
    m_dm.dwColorMode = 2;
    m_dm.dwPdl = 4;
    ZQSheetFacts f;
    ZQReadSheetFacts(host.Param(), &m_dm, &f);
    EXPECT_FALSE(f.bSimplifiedUI);
    EXPECT_FALSE(f.bDocUISUI);
    EXPECT_FALSE(f.bLargeFormat);
    EXPECT_FALSE(f.bOutputFeatures);
    EXPECT_FALSE(f.bJobStorage);
    EXPECT_FALSE(f.bSettingsInformation);
    EXPECT_EQ(2u, f.dwColorMode);
    EXPECT_EQ(4u, f.dwPdl);
    EXPECT_TRUE(CZQUIBase::BShowFinishingTab(host.Param()));
    EXPECT_FALSE(CZQUIBase::BShowAccountingTab(host.Param()));
}

TEST_F(SheetFacts, RollSample) {
    COptItemFixture host;
    host.Add(zqtest::ValueFeature("ZQPrinterClass", "zqkorrix"));  // keywords compare without case
    host.Add(zqtest::ValueFeature("ZQSimplifiedUI", "TRUE"));
    host.Add(zqtest::ValueFeature("ZQSettingsInformation", "true"));
    host.Add(zqtest::ListFeature("Stapling", {{"None", L"None"}, {"1parallel", L"One staple"}}));
    host.Build();
    m_dm.dwJobStorageAvailable = 1;
    m_dm.dwJsLayout = 1;
    m_dm.dwJsSetSelector = 1;
    m_dm.adwJsSetA[0] = m_dm.adwJsSetA[1] = 1;
    ZQSheetFacts f;
    ZQReadSheetFacts(host.Param(), &m_dm, &f);
    EXPECT_TRUE(f.bSimplifiedUI);
    EXPECT_TRUE(f.bLargeFormat);
    EXPECT_TRUE(f.bOutputFeatures);
    EXPECT_TRUE(f.bJobStorage);
    EXPECT_TRUE(f.bSettingsInformation);
    // The accounting ID lives on the large-format Features page, so the accounting settings
    // travel with that page.
    EXPECT_FALSE(CZQUIBase::BShowFinishingTab(host.Param()));
    EXPECT_TRUE(CZQUIBase::BShowAccountingTab(host.Param()));
}

TEST_F(SheetFacts, ForeignDevmodeAndMissingItemsGiveNothing) {
    m_dm.dwColorMode = 2;
    m_dm.dwSignature = 0x12345678;
    ZQSheetFacts f;
    ZQReadSheetFacts(nullptr, &m_dm, &f);
    EXPECT_EQ(0u, f.dwColorMode);
    EXPECT_FALSE(f.bJobStorage);
    ZQReadSheetFacts(nullptr, nullptr, &f);
    EXPECT_FALSE(f.bSimplifiedUI);
    EXPECT_FALSE(CZQUIBase::BShowAccountingTab(nullptr));
}

}  // namespace
