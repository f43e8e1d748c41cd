// The panel rows' handlers against the core driver's items and the working settings: the number
// rows' limits, colour, two-sided printing, posters and the paper size.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "common/zqstrings.h"
#include "common/zquibase.h"
#include "largeformattest.h"

namespace {

using zqtest::ListFeature;

// A row whose own choice is the option of that index.
ShortcutPanelEntry* Choice(PCWSTR keyword, int kind, const std::vector<std::wstring>& options, int selected) {
    ShortcutPanelEntry* e = NewEntry(keyword, kind, options);
    e->iSelected = selected;
    return e;
}

class PanelHandlers : public ShortcutsPage {
protected:
    void SetUp() override {
        ShortcutsPage::SetUp();
        m_host.Add(CopiesFeature());
        m_host.Add(ListFeature("Color", {{"MONO", L"Grayscale"}, {"COLOR", L"Color"}}, 1, DMPUB_COLOR));
        m_host.Add(ListFeature("ColorMode", {{"MONO", L"Grayscale"}, {"COLOR", L"Color"}}, 1));
        m_host.Add(ListFeature("ZQColorasGray", {{"FALSE", L"Off"}, {"TRUE", L"On"}}, 0));
        m_host.Add(ListFeature("ZQPrintInSepia", {{"FALSE", L"Off"}, {"TRUE", L"On"}}, 0));
        m_host.Add(ListFeature("ZQPrintInGrayScale", {{"FALSE", L"Off"}, {"HighQuality", L"High quality"},
                                                      {"ZQPrintInSepia", L"Sepia"}, {"color", L"Colour"}}, 0));
        m_host.Add(ListFeature("ZQPosterPrinting", {{"FALSE", L"Off"}, {"TRUE", L"On"}}, 0));
        m_host.Add(ListFeature("ZQPosterPrintingOption", {{"2x2", L"2 x 2"}, {"3x3", L"3 x 3"}}, 0));
        m_host.Add(ListFeature("PaperSize", {{"ISO_A1", L"ISO A1"}, {"ISO_A0", L"ISO A0"}}, 0, DMPUB_FORMNAME));
        m_host.Add(ListFeature("InputBin", {{"ROLL1", L"Roll 1"}, {"SHEET", L"Sheet Feed"}}, 0, DMPUB_DEFSOURCE));
        ASSERT_NO_FATAL_FAILURE(Start());
    }
};

// Typed numbers: letters give the fall-back, numbers outside the range their end (scaling) or 1
// (copies); a quiet scaling keeps the typed text.
TEST_F(PanelHandlers, ScalingAndCopiesKeepToTheirRanges) {
    Entries({Choice(L"Scaling", 5, {L"100"}, 0), Choice(L"Copies", 5, {L"1"}, 0)});
    m_tab->StateForTesting().bReadFromControls = TRUE;
    const struct {
        PCWSTR typed;
        bool quiet;
        DWORD scale;
        PCWSTR shown;
    } scaling[] = {{L"0", false, 25, L"25"}, {L"500", false, 400, L"400"}, {L"abc", false, 100, L"100"},
                   {L"150", false, 150, L"150"}, {L"500", true, 400, L"500"}};
    for (const auto& c : scaling) {
        SCOPED_TRACE(testing::Message() << c.typed << (c.quiet ? " quiet" : ""));
        SetDlgItemTextW(m_page, IDC_TXT_FC_SCALING, c.typed);
        EXPECT_TRUE(m_tab->BApplyScaling(&m_context, c.quiet));
        EXPECT_EQ(c.scale, Work().dwScalePercent);
        EXPECT_EQ(c.shown, Text(IDC_TXT_FC_SCALING));
    }
    const struct {
        PCWSTR typed;
        LONG copies;
    } copies[] = {{L"0", 1}, {L"10000", 1}, {L"12", 12}, {L"x", 1}};
    for (const auto& c : copies) {
        SCOPED_TRACE(testing::Message() << c.typed);
        SetDlgItemTextW(m_page, IDC_TXT_FC_COPIES, c.typed);
        m_host.ClearUpdates();
        EXPECT_TRUE(m_tab->BApplyCopiesCollate(L"Copies", &m_context, IDC_TXT_FC_COPIES));
        ASSERT_EQ(1u, m_host.Updates().size());
        EXPECT_EQ(c.copies, m_host.Updates()[0].sel);
        EXPECT_EQ(std::to_wstring(c.copies), Text(IDC_TXT_FC_COPIES));
    }
    // From the shortcut itself: its own number.
    m_tab->StateForTesting().bReadFromControls = FALSE;
    Entries({Choice(L"Scaling", 5, {L"60"}, 0)});
    m_tab->BApplyScaling(&m_context, FALSE);
    EXPECT_EQ(60u, Work().dwScalePercent);
}

// The grey-scale row: sepia, colour ("color" or "FALSE") or grey scale, through the colour items.
TEST_F(PanelHandlers, ColourModeFollowsTheGreyScaleOption) {
    m_tab->StateForTesting().bReadFromControls = FALSE;
    const struct {
        int option;
        DWORD grey, sepia;
        LONG color, sepiaItem;
    } cases[] = {{0, 0, 0, 1, 0}, {1, 1, 0, 0, 0}, {2, 0, 1, 1, 1}, {3, 0, 0, 1, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.option);
        Entries({Choice(L"ZQPrintInGrayScale", 0, {L"FALSE", L"HighQuality", L"ZQPrintInSepia", L"color"}, c.option)});
        m_tab->BApplyColorMode(&m_context, 0, 0);
        EXPECT_EQ(c.grey, Work().dwPrintAsGray);
        EXPECT_EQ(c.sepia, Work().dwSepia);
        EXPECT_EQ(c.color, Sel("Color"));
        EXPECT_EQ(c.color, Sel("ColorMode"));
        EXPECT_EQ(1 - c.color, Sel("ZQColorasGray"));
        EXPECT_EQ(c.sepiaItem, Sel("ZQPrintInSepia"));
    }
}

// Two-sided printing by the unit binds at the edge the layout and orientation give; one-sided ends
// a booklet.
TEST_F(PanelHandlers, TwoSidedPrintingBindsByLayoutAndOrientation) {
    m_tab->StateForTesting().bReadFromControls = FALSE;
    const struct {
        int option;
        WORD orientation;
        DWORD pages, booklet;
        DWORD afterBooklet, afterPages;
    } cases[] = {{1, 1, 1, 0, 0, 1}, {1, 2, 2, 0, 0, 2}, {0, 1, 2, 1, 0, 1}, {2, 2, 1, 0, 1, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.option);
        Work().wOrientation = c.orientation;
        Work().dwPagesPerSheet = c.pages;
        Work().dwBooklet = c.booklet;
        Work().dwFlipPagesUp = 0;
        Entries({Choice(L"Duplex", 0, {L"None", L"Automatically", L"LeftEdgeBinding"}, c.option)});
        m_tab->BApplyDuplex(&m_context, 0, 0);
        const WORD expected = c.option == 0 ? 1
                              : c.option == 2
                                  ? 3
                                  : CZQUIBase::WGetDuplexBinding(static_cast<int>(c.pages), static_cast<short>(c.orientation),
                                                                 FALSE, FALSE);
        EXPECT_EQ(expected, Work().wDuplex);
        EXPECT_EQ(c.afterBooklet, Work().dwBooklet);
        EXPECT_EQ(c.afterPages, Work().dwPagesPerSheet);
    }
}

// A poster turns every tile on; turning posters off leaves the tiles the user picked.
TEST_F(PanelHandlers, PosterOffKeepsTheTiles) {
    m_tab->StateForTesting().bReadFromControls = FALSE;
    for (DWORD i = 0; i < 25; ++i) Work().adwPosterTiles[i] = i % 2;
    Entries({Choice(L"PosterPrinting", 0, {L"Off", L"3x3"}, 0)});
    m_tab->BApplyPosterPrinting(&m_context, 0, 0);
    EXPECT_EQ(0, Sel("ZQPosterPrinting"));
    for (DWORD i = 0; i < 25; ++i) EXPECT_EQ(i % 2, Work().adwPosterTiles[i]) << i;
    Work().wDuplex = 2;
    Entries({Choice(L"PosterPrinting", 0, {L"Off", L"3x3"}, 1)});
    m_tab->BApplyPosterPrinting(&m_context, 0, 0);
    EXPECT_EQ(1, Sel("ZQPosterPrinting"));
    EXPECT_EQ("3x3", Current("ZQPosterPrintingOption"));
    EXPECT_EQ(1, Work().wDuplex) << "a poster prints on one side";
    for (DWORD i = 0; i < 25; ++i) EXPECT_EQ(1u, Work().adwPosterTiles[i]) << i;
}

// A paper the driver names is chosen (and prints on itself unless scaled); any other text leaves
// the paper alone. A chosen paper applies the source row again as its kind is applied: a list, not
// a text of more than one option.
TEST_F(PanelHandlers, PaperSizeOnlyByTheDriversNames) {
    m_tab->StateForTesting().bReadFromControls = FALSE;
    const struct {
        int choice;
        LONG sel;
        int sourceKind;
        LONG source;
    } cases[] = {{1, 1, 0, 1}, {2, 1, 0, 0}, {1, 1, CZQShortcutPanelRows::kKindText, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.choice << " " << c.sourceKind);
        m_host.SetSelection("InputBin", 0);
        Entries({Choice(L"PaperSize", 0, {L"ISO A1", L"ISO A0", L"Nowhere"}, c.choice),
                 Choice(L"InputBin", c.sourceKind, {L"Roll 1", L"Sheet Feed"}, 1)});
        m_tab->BApplyPaperSize(&m_context, 0, 0);
        EXPECT_EQ(c.sel, Sel("PaperSize"));
        EXPECT_EQ(c.choice, m_tab->PanelForTesting().PEntry(0)->iSelected);
        EXPECT_EQ(c.source, Sel("InputBin"));
    }
}

}  // namespace
