// The Features page in its sheet: coming to the front brings it in line with the settings, leaving
// it keeps a changed quick set pending, OK or Apply reports its result and only the last page visited
// synchronises and exports.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "featurelogic/zqquicksets.h"
#include "featurestest.h"
#include "macrotest.h"

#include <commctrl.h>

namespace {

using std::make_tuple;

class FeaturesSheet : public FeaturesPage {
protected:
    void Prepare() {
        AddItems();
        AddMacro("m_quality");
        m_ruleFeatures = zqmacrotest::Feature("PrintQualityGroup", {"m_quality"});
        Build();
        ASSERT_NE(nullptr, Open());
        Clear();
    }
};

// With two pages visited, only the one at the highest position synchronises and exports.
TEST_F(FeaturesSheet, OnlyTheLastPageVisitedSynchronisesAndExports) {
    Prepare();
    ExpectApplyOnlyOnTheLastPageVisited(kPageFeatures);
}

// Coming to the front: two-sided printing by hand replaces the unit where both are offered, a
// borderless paper prints one page a sheet, disc media leave a change pending, and one-sided
// printing of one page a sheet greys flipping and the page order.
TEST_F(FeaturesSheet, ComingToTheFrontSettlesTheLayout) {
    Prepare();
    ZQUIDevmode& work = Work();
    work.wDuplex = 2;
    work.dwManualDuplex = 0;
    m_host.SetSelection("Duplex", 1);
    m_host.SetSelection("PaperSize", 2);
    Fill(IDC_CBO_PAGES_PER_SHEET, {L"1", L"2", L"4"}, 2);
    Fill(IDC_CBO_PAGE_ORDER, {L"a", L"b"}, 1);
    work.dwPagesPerSheet = 3;
    work.dwPageBorders = work.dwPrintDocOn = work.dwScaleToFit = 1;
    work.dwScalePercent = 50;
    EXPECT_EQ(0, Notify(PSN_SETACTIVE));
    EXPECT_EQ(make_tuple(0, 1u), make_tuple(Sel("Duplex"), work.dwManualDuplex));
    EXPECT_EQ(make_tuple(0u, 0u, 0u, 100u, 1u, 1u),
              make_tuple(work.dwPageBorders, work.dwPrintDocOn, work.dwScaleToFit, work.dwScalePercent,
                         work.dwPagesPerSheet, work.dwPendingChange));
    EXPECT_EQ(make_tuple(0, 0, false),
              make_tuple(static_cast<int>(SendMessageW(Ctl(IDC_CBO_PAGES_PER_SHEET), CB_GETCURSEL, 0, 0)),
                         static_cast<int>(SendMessageW(Ctl(IDC_CBO_PAGE_ORDER), CB_GETCURSEL, 0, 0)),
                         Enabled(IDC_CBO_PAGE_ORDER)));
    work.dwPendingChange = 0;
    m_host.SetSelection("PaperSize", 0);
    m_host.SetSelection("MediaType", 2);
    Notify(PSN_SETACTIVE);
    EXPECT_EQ(1u, work.dwPendingChange) << "disc media";
    // One side, one page a sheet: flipping and the page order stay greyed from the first showing on.
    m_host.SetSelection("MediaType", 0);
    work.wDuplex = 1;
    work.dwPagesPerSheet = 1;
    Notify(PSN_SETACTIVE);
    EXPECT_EQ(make_tuple(false, false), make_tuple(Enabled(IDC_CHK_FLIP_PAGES_UP), Enabled(IDC_CBO_PAGE_ORDER)));
}

// Two-sided printing with the user's minimize-margins choice recorded: rigid minimized margins keep
// the layout, locked; otherwise the layout is preserved unless the user turned it off.
TEST_F(FeaturesSheet, ComingToTheFrontPreservesTheTwoSidedLayout) {
    Prepare();
    Work().wDuplex = 2;
    Work().dwManualDuplex = 1;
    const struct {
        DWORD minimizeMark, minimize;
        BOOL scalingMark;
        DWORD scaling;
        int feature;  // -1: left alone
        bool checked, enabled;
    } cases[] = {
        {1, 1, TRUE, 0, 1, true, false}, {1, 0, FALSE, 0, 1, true, true},
        {1, 0, TRUE, 1, 1, true, true},  {1, 0, TRUE, 0, 0, false, true},
        // Without a recorded choice the box shows the feature.
        {0, 1, FALSE, 0, -1, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.minimizeMark << c.minimize << c.scalingMark << c.scaling);
        m_logic.VSetMarginChoice(1, c.minimizeMark);
        m_logic.VSetMarginValue(1, c.minimize);
        m_logic.m_bAutoDuplexScalingMark = c.scalingMark;
        m_logic.m_dwAutoDuplexScaling = c.scaling;
        m_host.SetSelection("ZQAutoDuplexScaling", c.feature < 0 ? 1 : 1 - c.feature);
        CheckDlgButton(m_page, IDC_CHK_PRESERVE_LAYOUT, BST_UNCHECKED);
        EnableWindow(Ctl(IDC_CHK_PRESERVE_LAYOUT), FALSE);
        Notify(PSN_SETACTIVE);
        EXPECT_EQ(make_tuple(c.feature < 0 ? 1 : c.feature, c.checked, c.enabled),
                  make_tuple(Sel("ZQAutoDuplexScaling"), Checked(IDC_CHK_PRESERVE_LAYOUT), Enabled(IDC_CHK_PRESERVE_LAYOUT)));
    }
}

// The quality the list shows is chosen again with its macros; a draft group leaves the photo fix
// disabled on its first entry.
TEST_F(FeaturesSheet, ComingToTheFrontChoosesTheShownQuality) {
    Prepare();
    Fill(IDC_CBO_PRINT_QUALITY, {L"Normal", L"Best", L"Draft"}, 2);
    Fill(IDC_CBO_PHOTOFIX, {L"Off", L"Basic"}, 1);
    m_host.SetSelection("ZQPhotoFix", 1);
    Notify(PSN_SETACTIVE);
    EXPECT_EQ(make_tuple(2, 0, false, 0, std::vector<std::string>{"m_quality"}),
              make_tuple(Sel("PrintQualityGroup"), Sel("ZQPhotoFix"), Enabled(IDC_CBO_PHOTOFIX),
                         static_cast<int>(SendMessageW(Ctl(IDC_CBO_PHOTOFIX), CB_GETCURSEL, 0, 0)), LoggedMacros()));
}

// Leaving the page: settings that no longer match the quick set in force leave a change pending.
TEST_F(FeaturesSheet, LeavingKeepsAChangedQuickSetPending) {
    Prepare();
    // Stored once, the settings name every page kind's paper by the printer's ids, as those of a
    // printer in use do.
    Notify(PSN_KILLACTIVE);
    CZQQuickSets& quickSets = *m_context.pQuickSets;
    m_core.dwQuickSetInUse = 1;
    quickSets.VSnapshotCurrent(&Work());
    EXPECT_EQ(FALSE, Notify(PSN_KILLACTIVE));
    EXPECT_EQ(0u, Work().dwPendingChange);
    Click(m_page, IDC_RB_LANDSCAPE);
    EXPECT_EQ(FALSE, Notify(PSN_KILLACTIVE));
    EXPECT_EQ(1u, Work().dwPendingChange);
}

}  // namespace
