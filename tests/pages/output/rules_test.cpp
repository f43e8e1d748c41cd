// The Output page's finishing rules as the user meets them: staples, holes and folds that exclude
// one another and move the bin, the delivery a bin fixes, the helper file's macros (and none while
// its rules are not loaded), and what leaving the page settles.
#include <gtest/gtest.h>

#include <functional>

#include "outputtest.h"

namespace {

const OutputPage::Printer kFinisherWithPunch = {"MultiFunctionFinisher", "ZQ2HolePunch", ""};

// Each choice leaves the other lists enabled or not, and the bin where its sets leave.
TEST_F(OutputPage, StaplesHolesAndFoldsExcludeOneAnotherAndMoveTheBin) {
    Start(kFinisherWithPunch);
    const struct {
        int list;
        const wchar_t* entry;
        bool staple, punch, fold;
        int bin;  // -1: as it was
    } steps[] = {
        {IDC_CBO_STAPLE, L"One Staple", true, true, false, -1},
        {IDC_CBO_STAPLE, L"None", true, true, true, -1},
        {IDC_CBO_PUNCH, L"Left", true, true, false, 0},
        {IDC_CBO_PUNCH, L"No Holes", true, true, true, -1},
        {IDC_CBO_BIN, L"Face-Down Bin", true, true, true, 1},
        {IDC_CBO_FOLDSTITCH, L"Half Fold", false, false, true, 0},
        {IDC_CBO_FOLDSTITCH, L"No Fold", true, true, true, -1},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(testing::Message() << s.list << " " << std::string(s.entry, s.entry + wcslen(s.entry)));
        m_host.SetSelection("ZQStraightPaperPath", 1);
        const int binBefore = Sel("OutputBin");
        ASSERT_TRUE(Choose(s.list, s.entry));
        EXPECT_EQ(s.staple, Enabled(IDC_CBO_STAPLE) && Enabled(IDC_STA_STAPLE_STATIC));
        EXPECT_EQ(s.punch, Enabled(IDC_CBO_PUNCH) && Enabled(IDC_STA_PUNCH_STATIC));
        EXPECT_EQ(s.fold, Enabled(IDC_CBO_FOLDSTITCH) && Enabled(IDC_STA_FOLDSTATIC_STATIC));
        EXPECT_EQ(s.bin < 0 ? binBefore : s.bin, Sel("OutputBin"));
        if (s.bin == 0) {
            EXPECT_EQ(0, Sel("ZQStraightPaperPath")) << "no straight path through the first bin";
        }
    }

    // A bin that cannot staple takes the staple away.
    ASSERT_TRUE(Choose(IDC_CBO_STAPLE, L"Two Staples"));
    m_host.Item("Stapling")->pOptType->pOptParam[2].Flags |= OPTPF_OVERLAY_WARNING_ICON;
    ASSERT_TRUE(Choose(IDC_CBO_BIN, L"Rear Bin"));
    EXPECT_EQ(0, Sel("Stapling"));
    m_host.Item("Stapling")->pOptType->pOptParam[2].Flags &= ~OPTPF_OVERLAY_WARNING_ICON;
    Notify(PSN_SETACTIVE);

    // Stapled sets leave through the first bin once the page is left; the other pages read the
    // finishing choices' option indices.
    ASSERT_TRUE(Choose(IDC_CBO_STAPLE, L"Two Staples"));
    ASSERT_TRUE(Choose(IDC_CBO_BIN, L"Face-Down Bin"));
    EXPECT_EQ(1, Sel("OutputBin"));
    m_core.iStartPage = 0;
    EXPECT_EQ(0, Notify(PSN_KILLACTIVE));
    EXPECT_EQ(0, Sel("OutputBin"));
    EXPECT_EQ(L"Stapler Bin", Text(IDC_CBO_BIN));
    EXPECT_EQ(4029, m_core.iStartPage) << "the sheet opens on this page next time";
    EXPECT_EQ(0, m_logic.m_aiFinishing[0]);
    EXPECT_EQ(2, m_logic.m_aiFinishing[1]);
}

// A bin whose keyword names its delivery after an underscore fixes it; any other bin leaves the
// choice to the user.
TEST_F(OutputPage, DeliveryFromTheBinKeyword) {
    Start();
    const struct {
        int bin, delivery;
        bool faceUp, free;
    } cases[] = {{2, 0, true, false}, {1, 1, true, true}, {1, 0, false, true}, {0, 1, true, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "bin " << c.bin << " delivery " << c.delivery);
        m_host.SetSelection("OutputBin", c.bin);
        m_host.SetSelection("FaceControl", c.delivery);
        Notify(PSN_SETACTIVE);
        EXPECT_EQ(c.faceUp, Checked(IDC_RB_FACEUP));
        EXPECT_NE(c.faceUp, Checked(IDC_RB_FACEDOWN));
        EXPECT_EQ(c.faceUp ? 1 : 0, Sel("FaceControl"));
        EXPECT_EQ(c.free, Enabled(IDC_RB_FACEUP) && Enabled(IDC_RB_FACEDOWN));
    }
}

// The macros each choice runs while the helper file's rules are loaded, and none without them.
TEST_F(OutputPage, MacrosRunOnlyWithTheRulesLoaded) {
    Start(Printer(), true);
    using Log = std::vector<std::string>;
    const struct {
        const char* name;
        std::function<void()> act;
        Log macros;
    } steps[] = {
        {"staple", [&] { Choose(IDC_CBO_STAPLE, L"One Staple"); },
         {"macro_Stapling_to_FaceControl", "macro_StaplingConstraints"}},
        {"no staple", [&] { Choose(IDC_CBO_STAPLE, L"None"); }, {"macro_StaplingConstraints"}},
        {"face up", [&] { Click(m_page, IDC_RB_FACEUP); }, {"macro_FaceControl_to_Stapling"}},
        {"to the front", [&] { Notify(PSN_SETACTIVE); }, {"macro_StaplingConstraints"}},
        {"left", [&] { Notify(PSN_KILLACTIVE); }, {"macro_FaceControl"}},
        // With page exceptions: the first, other and last pages' media, and the front cover in use
        // (plain paper and transparencies in turn).
        {"left with page exceptions",
         [&] {
             Work().dwDiffPaper = 1;
             m_logic.m_adwCoverFlags[1] = 1;
             Work().dwFirstPageMedia = Work().dwLastPageMedia = 257;
             Work().dwOtherPagesMedia = Work().dwFrontCoverMedia = 1;
             Notify(PSN_KILLACTIVE);
         },
         {"macro_FaceControl", "macro_FaceControl", "macro_FaceControl", "macro_FaceControl"}},
    };
    for (const bool loaded : {true, false}) {
        m_rules->Parser().VSetLoaded(loaded);
        Work().dwDiffPaper = 0;
        for (const auto& s : steps) {
            SCOPED_TRACE(testing::Message() << s.name << (loaded ? "" : ", rules not loaded"));
            m_host.ClearUpdates();
            s.act();
            EXPECT_EQ(loaded ? s.macros : Log{}, LoggedMacros());
        }
    }

    // Face-down delivery takes no transparencies: the other pages' media moves to plain paper.
    m_rules->Parser().VSetLoaded(TRUE);
    Work().dwDiffPaper = 0;
    Work().dwOtherPagesMedia = 257;
    Click(m_page, IDC_RB_FACEDOWN);
    Notify(PSN_KILLACTIVE);
    EXPECT_EQ(1u, Work().dwOtherPagesMedia);
    EXPECT_EQ(0, Sel("MediaType"));
}

// Leaving the page with face-up delivery: PostScript prints back to front; the working settings
// take the bin's delivery.
class OutputLeave : public OutputPage, public testing::WithParamInterface<bool> {};

TEST_P(OutputLeave, FaceUpDeliveryUnderPostScriptTurnsThePageOrder) {
    const bool postScript = GetParam();
    m_core.dwPdl = postScript ? kPdlPostScript : kPdlPcl6;
    AddItems(Printer());
    m_host.Add(zqtest::ListFeature("PageOrder", {{"FrontToBack", L"Front to Back"}, {"BackToFront", L"Back to Front"}},
                                   0, DMPUB_PAGEORDER));
    Build();
    ASSERT_NE(nullptr, Open());
    EXPECT_TRUE(Shown(IDC_CBO_STAPLE)) << (postScript ? "StapleLocation" : "Stapling");
    m_host.SetSelection("ZQOutputBinOrientation", 1);
    Click(m_page, IDC_RB_FACEUP);
    EXPECT_EQ(1, Sel("FaceControl"));
    Notify(PSN_KILLACTIVE);
    EXPECT_EQ(postScript ? 1 : 0, Sel("PageOrder"));
    EXPECT_EQ(postScript ? 1u : 0u, Work().dwPageOrder);
    EXPECT_EQ(1u, Work().dwOutputFaceUp);
}
INSTANTIATE_TEST_SUITE_P(Languages, OutputLeave, testing::Bool());

}  // namespace
