// The Finishing page in its sheet: leaving it stores the controls, OK or Apply reports its result
// and only the last page visited synchronises and exports, and coming to the front shows what other
// pages changed meanwhile.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "featurelogic/zqquicksets.h"
#include "finishingtest.h"

#include <commctrl.h>

namespace {

class FinishingSheet : public FinishingPage {
protected:
    void Open(const std::string& without) {
        AddItems(without);
        Build();
        ASSERT_NE(nullptr, FinishingPage::Open());
    }
};

class FinishingLeave : public FinishingSheet, public testing::WithParamInterface<bool> {};

// With the rotation and mirror features, or without them (their boxes then store nothing).
TEST_P(FinishingLeave, StoresTheControlsAndRecordsTheStartPage) {
    const bool features = GetParam();
    Open(features ? "" : "ZQOrientRotate180 ZQTransverse ZQMirrorPrint");
    m_core.iStartPage = 832;
    // Nothing changed: leaving still makes this the page the sheet opens on next time.
    EXPECT_EQ(0, Notify(PSN_KILLACTIVE));
    EXPECT_EQ(813, m_core.iStartPage);

    for (int id : {IDC_CHK_PAGE_BORDER, IDC_CHK_ROTATED, IDC_CHK_ROTATE90, IDC_CHK_MIRROR})
        CheckDlgButton(m_page, id, BST_CHECKED);
    SendMessageW(Ctl(IDC_CBO_PAGE_ORDER), CB_SETCURSEL, 3, 0);
    OwnOrientation()->Sel = 1;
    EXPECT_EQ(0, Notify(PSN_KILLACTIVE));
    const ZQUIDevmode& work = Work();
    EXPECT_EQ(1u, work.dwPageBorders);
    EXPECT_EQ(3u, work.dwPageOrderIndex);
    EXPECT_EQ(features ? 1u : 0u, work.dwRotate180);
    EXPECT_EQ(features ? 1u : 0u, work.dwRotate90);
    EXPECT_EQ(features ? 1u : 0u, work.dwMirror);
    EXPECT_EQ(2, work.wOrientation);
    EXPECT_TRUE(Checked(IDC_RB_LANDSCAPE));
    if (!features) return;
    EXPECT_EQ(1, Sel("ZQTransverse"));
    EXPECT_EQ(0, Sel("ZQMirrorPrint")) << "the mirror's first option";
    CheckDlgButton(m_page, IDC_CHK_MIRROR, BST_UNCHECKED);
    Notify(PSN_KILLACTIVE);
    EXPECT_EQ(1, Sel("ZQMirrorPrint"));
    EXPECT_EQ(0u, Work().dwMirror);
}
INSTANTIATE_TEST_SUITE_P(Features, FinishingLeave, testing::Bool());

// OK or Apply: the result of every page goes to the sheet, and the page at the highest position
// visited synchronises before and exports after it, also when the sheet refuses the result.
TEST_F(FinishingSheet, OnlyTheLastPageVisitedSynchronisesAndExports) {
    Open("");
    ExpectApplyOnlyOnTheLastPageVisited(kPageFinishing);
}

// A page first shown after other pages changed the settings shows their settings; the covers the
// Paper/Quality page chose reach its sample page through that page's object.
TEST_F(FinishingSheet, ComingToTheFrontShowsWhatOtherPagesChanged) {
    Open("");
    Work().dwPagesPerSheet = 3;
    Work().dwPageBorders = 1;
    Work().dwMirror = 1;
    Work().dwDiffPaper = 1;
    m_logic.m_adwCoverFlags[1] = 1;  // a front cover on the Paper/Quality page
    OwnOrientation()->Sel = 1;
    Notify(PSN_SETACTIVE);
    EXPECT_TRUE(Checked(IDC_CHK_PAGE_BORDER));
    EXPECT_TRUE(Checked(IDC_RB_LANDSCAPE));
    m_tab->VFillPreviewSettings(&m_context);
    EXPECT_EQ(1, m_tab->PreviewRecordForTesting().aiValue[kPvFrontCover]);
    EXPECT_EQ(1, m_tab->PreviewRecordForTesting().iPageBorders);
    // Without different papers the Paper/Quality page's covers go.
    Work().dwDiffPaper = 0;
    Notify(PSN_SETACTIVE);
    m_tab->VFillPreviewSettings(&m_context);
    EXPECT_EQ(0, m_tab->PreviewRecordForTesting().aiValue[kPvFrontCover]);
}

// A borderless paper chosen on the Paper/Quality page ends posters on this page too.
TEST_F(FinishingSheet, BorderlessPaperEndsThePoster) {
    AddItems();
    m_host.Add(zqtest::ListFeature("ZQPosterPrinting", {{"OFF", L"Off"}, {"ON", L"On"}}, 1));
    Build();
    ASSERT_NE(nullptr, FinishingPage::Open());
    m_logic.SheetState()->bPosterFlag = TRUE;
    EnableWindow(Ctl(IDC_BTN_SELECT_TILES), TRUE);
    m_host.SetSelection("PaperSize", 3);  // a borderless paper
    m_paperTab.VOnPaperSizeChanged(&m_paperContext);
    EXPECT_FALSE(m_logic.SheetState()->bPosterFlag);
    EXPECT_FALSE(Enabled(IDC_BTN_SELECT_TILES));
    EXPECT_EQ(0, Sel("ZQPosterPrinting"));
}

// Another page refreshes this one before its window exists: nothing is lost, and the window takes
// the settings when it starts.
TEST_F(FinishingSheet, RefreshWithoutTheWindowLosesNothing) {
    AddItems();
    Build();
    Work().dwPagesPerSheet = 3;
    Work().dwPageBorders = 1;
    const ZQUIDevmode before = Work();
    m_tab->VSetAllControls(&m_context);
    m_tab->BCheckPageChanged(nullptr, &m_context);
    EXPECT_EQ(0, memcmp(&before, &Work(), sizeof before));
    ASSERT_NE(nullptr, FinishingPage::Open());
    EXPECT_TRUE(Checked(IDC_CHK_PAGE_BORDER));
}

}  // namespace
