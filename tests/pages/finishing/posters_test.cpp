// The Finishing page's pages-per-sheet list with the poster sizes after its six items: a selection
// read as a setting or a poster (also from another page's list), the features a poster writes, what
// a poster turns off, and the scale to fit of one page to a sheet.
#include <gtest/gtest.h>

#include <utility>

#include "finishingtest.h"
#include "zqhostapp.h"

namespace {

using zqtest::ListFeature;

class FinishingPosters : public FinishingPage {
protected:
    // The poster features with `sizes` poster options.
    void AddPosterItems(int sizes) {
        m_host.Add(ListFeature("ZQPosterPrinting", {{"FALSE", L"Off"}, {"TRUE", L"On"}}));
        std::vector<std::pair<std::string, std::wstring>> options;
        for (int n = 2; n < 2 + sizes; ++n)
            options.emplace_back(std::to_string(n) + "x" + std::to_string(n),
                                 std::to_wstring(n) + L" x " + std::to_wstring(n) + L" tiles");
        m_host.Add(ListFeature("ZQPosterPrintingOption", options));
        m_host.Add(ListFeature("ZQTilingSelection", {{"ALL", L"All Tiles"}}));
    }
    void Choose(int id, int index) {
        SendMessageW(Ctl(id), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        Notice(m_page, id, CBN_SELCHANGE);
    }
};

TEST_F(FinishingPosters, TilesPerSideOfEveryOption) {
    const int cases[][2] = {{0, 2}, {1, 3}, {2, 4}, {3, 5}, {-1, 2}, {4, 2}, {7, 2}};
    for (const auto& c : cases) EXPECT_EQ(c[1], CZQUILogic::IPosterTilesPerSide(c[0])) << c[0];
}

// Six pages-per-sheet items, then as many poster items as the printer has sizes; each entry is read
// into the sheet's poster choice, and no selection leaves the poster as it was.
struct SelectionCase {
    int selection;
    BOOL poster;
    int option;
};
struct PosterCountCase {
    int sizes;
    std::vector<SelectionCase> selections;
};

class PosterCounts : public FinishingPosters, public testing::WithParamInterface<PosterCountCase> {};

TEST_P(PosterCounts, ListContentsAndEachSelection) {
    const PosterCountCase& c = GetParam();
    AddItems();
    AddPosterItems(c.sizes);
    Build();
    ASSERT_NE(nullptr, Open());
    std::vector<std::wstring> expected = {L"1 Page per Sheet",  L"2 Pages per Sheet", L"4 Pages per Sheet",
                                          L"6 Pages per Sheet", L"9 Pages per Sheet", L"16 Pages per Sheet"};
    for (int n = 2; n < 2 + c.sizes; ++n) expected.push_back(std::to_wstring(n) + L" x " + std::to_wstring(n) + L" tiles");
    EXPECT_EQ(expected, ZQListEntries(Ctl(IDC_CBO_PAGES_PER_SHEET)));
    EXPECT_EQ(L"&Pages per Sheet and Posters:", Text(IDC_STA_PAGES_PER_SHEET));

    const int entries = static_cast<int>(expected.size());
    for (const SelectionCase& s : c.selections) {
        SCOPED_TRACE(s.selection);
        EXPECT_EQ(s.poster, m_logic.BSetPosterChoice(entries, s.selection));
        EXPECT_EQ(s.poster, m_logic.BPosterFlag());
        if (s.poster) {
            EXPECT_EQ(s.option, m_logic.IPosterOption());
        }
        // No selection: the poster stays as it was.
        EXPECT_FALSE(m_logic.BSetPosterChoice(entries, -1));
        EXPECT_EQ(s.poster, m_logic.BPosterFlag());
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, PosterCounts,
                         testing::Values(PosterCountCase{4, {{6, TRUE, 0}, {9, TRUE, 3}, {5, FALSE, 0}}},
                                         PosterCountCase{3, {{6, TRUE, 1}, {8, TRUE, 3}, {0, FALSE, 0}}},
                                         PosterCountCase{1, {{6, TRUE, 3}, {2, FALSE, 0}}}));

// A poster prints one page at full size on one side, without a booklet, borders or watermark, and
// with none of the margin choices; the tile selection opens for it only. Back to one page on a
// sheet, the page is scaled to fit unless it is printed on another paper.
TEST_F(FinishingPosters, PosterTurnsTwoSidedAndBookletOffAndOnePageScalesToFit) {
    AddItems();
    AddPosterItems(4);
    for (const char* margins : {"ZQEmulatePexlonMargins", "ZQSymmetricMargins", "ZQMinimizeMargins"})
        m_host.Add(ListFeature(margins, {{"FALSE", L"Off"}, {"TRUE", L"On"}}, 1));
    m_core.dwPageBorders = 1;
    m_core.dwScalePercent = 50;
    Build();
    ASSERT_NE(nullptr, Open());
    EXPECT_FALSE(Enabled(IDC_BTN_SELECT_TILES));
    Click(m_page, IDC_CHK_DUPLEX);
    Choose(IDC_CBO_BOOKLET_PRINTING, 1);
    ASSERT_EQ(1u, m_logic.DWBooklet());
    ASSERT_TRUE(Checked(IDC_CHK_DUPLEX));

    const std::pair<bool, bool> unitBox(Checked(IDC_CHK_USE_AUTO_DUPLEX_UNIT), Enabled(IDC_CHK_USE_AUTO_DUPLEX_UNIT));
    Choose(IDC_CBO_PAGES_PER_SHEET, 8);  // 4 x 4 tiles
    EXPECT_FALSE(Checked(IDC_CHK_DUPLEX));
    EXPECT_EQ(unitBox, std::make_pair(Checked(IDC_CHK_USE_AUTO_DUPLEX_UNIT), Enabled(IDC_CHK_USE_AUTO_DUPLEX_UNIT)))
        << "the unit's box is two-sided printing's own";
    EXPECT_EQ(static_cast<WORD>(DMDUP_SIMPLEX), Work().wDuplex);
    EXPECT_EQ(0u, m_logic.DWBooklet());
    EXPECT_EQ(0, SendMessageW(Ctl(IDC_CBO_BOOKLET_PRINTING), CB_GETCURSEL, 0, 0));
    EXPECT_TRUE(Enabled(IDC_BTN_SELECT_TILES));
    EXPECT_EQ(1u, Work().dwPagesPerSheet);
    EXPECT_EQ(0u, Work().dwPageBorders);
    EXPECT_EQ(100u, Work().dwScalePercent);
    EXPECT_EQ("TRUE", Current("ZQPosterPrinting"));
    EXPECT_EQ("4x4", Current("ZQPosterPrintingOption"));
    for (const char* margins : {"ZQEmulatePexlonMargins", "ZQSymmetricMargins", "ZQMinimizeMargins"})
        EXPECT_EQ("FALSE", Current(margins)) << margins;
    EXPECT_EQ(2, m_logic.IPosterOption());

    for (uint32_t otherPaper : {0u, 1u}) {
        Work().dwPrintDocOn = otherPaper;
        Work().dwScaleToFit = 0;
        Choose(IDC_CBO_PAGES_PER_SHEET, 0);
        EXPECT_EQ(otherPaper ? 0u : 1u, Work().dwScaleToFit) << otherPaper;
        EXPECT_FALSE(m_logic.BPosterFlag());
        EXPECT_FALSE(Enabled(IDC_BTN_SELECT_TILES));
        EXPECT_EQ("FALSE", Current("ZQPosterPrinting"));
    }

    // Two-sided printing chosen over a poster ends the poster.
    Choose(IDC_CBO_PAGES_PER_SHEET, 6);
    Click(m_page, IDC_CHK_DUPLEX);
    EXPECT_EQ(0, SendMessageW(Ctl(IDC_CBO_PAGES_PER_SHEET), CB_GETCURSEL, 0, 0));
    EXPECT_FALSE(m_logic.BPosterFlag());
    EXPECT_FALSE(Enabled(IDC_BTN_SELECT_TILES));
    EXPECT_EQ("FALSE", Current("ZQPosterPrinting"));
}

// Another page's refresh shows the poster the features hold, and the page opens with every tile of
// a poster printed.
TEST_F(FinishingPosters, RefreshShowsThePosterAndOpeningPrintsEveryTile) {
    AddItems();
    AddPosterItems(4);
    Build();
    m_host.SetSelection("ZQPosterPrinting", 1);
    m_host.SetSelection("ZQPosterPrintingOption", 3);
    Work().adwPosterTiles[7] = 0;
    ASSERT_NE(nullptr, Open());
    Notify(PSN_SETACTIVE);
    EXPECT_EQ(1u, Work().adwPosterTiles[7]);
    EXPECT_EQ(9, SendMessageW(Ctl(IDC_CBO_PAGES_PER_SHEET), CB_GETCURSEL, 0, 0));
    EXPECT_TRUE(m_logic.BPosterFlag());
    EXPECT_EQ(3, m_logic.IPosterOption());
    EXPECT_TRUE(Enabled(IDC_BTN_SELECT_TILES));
    // Another page's refresh shows a poster another page ended, and opens the tile selection with it.
    m_tab->VDisablePosterControl(&m_logic);
    m_tab->VSetAllControls(&m_context);
    EXPECT_TRUE(m_logic.BPosterFlag());
    EXPECT_TRUE(Enabled(IDC_BTN_SELECT_TILES));
    // A poster is one page to a sheet: another setting ends it, and closes the tile selection.
    Work().dwPagesPerSheet = 4;
    m_tab->VSetAllControls(&m_context);
    EXPECT_FALSE(m_logic.BPosterFlag());
    EXPECT_FALSE(Enabled(IDC_BTN_SELECT_TILES));
    EXPECT_EQ(3, SendMessageW(Ctl(IDC_CBO_PAGES_PER_SHEET), CB_GETCURSEL, 0, 0));
}

}  // namespace
