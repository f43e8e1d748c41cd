// The large-format pictures: the roll or sheet the paper leaves on, the page placed and turned on
// it, the cutter, and the layout dialog's small roll picture.
#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "layoutcheck.h"
#include "previewtest.h"

using zqpreviewtest::Has;
using zqpreviewtest::kBlack;
using zqpreviewtest::Record;
using zqpreviewtest::operator==;

namespace {

constexpr COLORREF kScissors = RGB(64, 64, 64);

// Black pixels in a row from x leftwards (or a column from y upwards) up to the first other one.
int RunLeft(const ZQPixels& p, int x, int y) {
    int n = 0;
    while (p.At(x - n, y) == kBlack) ++n;
    return n;
}
int RunUp(const ZQPixels& p, int x, int y) {
    int n = 0;
    while (p.At(x, y - n) == kBlack) ++n;
    return n;
}

// The topmost row with a scissors pixel in the columns.
int TopOfScissors(const ZQPixels& p, int x0, int x1) {
    for (int y = 0; y < p.height; ++y)
        for (int x = x0; x < x1; ++x)
            if (p.At(x, y) == kScissors) return y;
    return -1;
}

}  // namespace

TEST_F(PreviewWindow, RollSizesDecideTheWidthMarkAndPaper) {
    struct Row {
        const wchar_t *narrowest, *widest, *roll;
        const wchar_t* fields;
        int mark;
        RECT paper;
    };
    // The control is 200 x 200; the roll's paper ends 5 pixels from the right and hangs from the
    // roll's middle (12); the sheet picture is centred, 130 wide and 175 high.
    const Row table[] = {
        {L"8.5", L"42", L"42", L"roll=1", 90, {105, 12, 195, 200}},
        {L"8.5", L"42", L"24", L"roll=1", 68, {127, 12, 195, 200}},
        {L"8.5", L"42", L"8.5", L"roll=1", 50, {145, 12, 195, 200}},
        {L"8.5", L"42", L"24", L"roll=0", 130, {50, 12, 165, 199}},
        // Limits that cannot map widths keep the ones in force; no roll width: the widest sheet.
        {L"abc", L"", L"24", L"roll=1", 68, {127, 12, 195, 200}},
        {L"20", L"20", L"24", L"roll=1", 68, {127, 12, 195, 200}},
        {L"-8.5", L"42", L"24", L"roll=1", 68, {127, 12, 195, 200}},
        {L"8.5", L"42", L"0", L"roll=0", 130, {50, 12, 165, 199}},
        {L"8.5", L"42", L"nan", L"roll=0", 130, {50, 12, 165, 199}},
        // Other limits move the mapping.
        {L"10", L"50", L"30", L"roll=1", 70, {125, 12, 195, 200}},
    };
    EXPECT_EQ(0, m_preview->IGetWidthMarkPos());
    const LONG live = zqpreview::LiveObjects();
    for (const Row& row : table) {
        SCOPED_TRACE(testing::Message() << row.narrowest << " " << row.widest << " " << row.roll << " " << row.fields);
        m_preview->VSetRollSizes(row.narrowest, row.widest, row.roll, L"11", L"57.32");
        Paint((std::wstring(L"largeformat=1 language=5 docwidth=2159 docheight=2794 ") + row.fields).c_str());
        EXPECT_EQ(row.mark, m_preview->IGetWidthMarkPos());
        EXPECT_TRUE(row.paper == m_preview->PaperRect());
        EXPECT_EQ(live, zqpreview::LiveObjects());
    }
}

TEST_F(PreviewWindow, PageIsTurnedOntoTheRollByLanguageOrientationAndAutorotate) {
    struct Row {
        const wchar_t* fields;
        int width, height;  // of the page placed on the paper
    };
    // The side across the roll is mapped as the roll's widths are (8.5 in: 50 pixels on a 42-inch
    // roll, 11 in: 52, 24 in: 68), the other follows the paper's proportions.
    const Row table[] = {
        {L"docwidth=2159 docheight=2794 language=5", 50, 65},
        {L"docwidth=2159 docheight=2794 language=5 autorotate=1", 52, 40},
        {L"docwidth=2159 docheight=2794 language=1 autorotate=1", 50, 65},
        // A landscape page wider than the paper goes across it with language 4, autorotate or not;
        // longer than the cutter reaches, it keeps its length at the paper's proportions.
        {L"docwidth=6096 docheight=12192 orientation=2 language=4", 68, 136},
        {L"docwidth=6096 docheight=12192 orientation=2 language=1", 68, 136},
        {L"docwidth=2159 docheight=2794 orientation=2 language=1", 50, 65},
        {L"docwidth=2159 docheight=2794 orientation=2 language=1 transverse=1", 52, 40},
        {L"docwidth=2159 docheight=2794 orientation=2 language=5", 52, 40},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(testing::Message() << row.fields);
        m_preview->VSetRollSizes(L"8.5", L"42", L"42", L"11", L"57.32");
        const ZQPixels p = Paint((std::wstring(L"largeformat=1 roll=1 ") + row.fields).c_str());
        const RECT paper = m_preview->PaperRect();
        EXPECT_EQ(row.width, RunLeft(p, paper.right - 1, paper.bottom - 1));
        EXPECT_EQ(row.height, RunUp(p, paper.right - 1, paper.bottom - 1));
    }
}

TEST_F(PreviewWindow, CutterMarksWhereThePageIsCut) {
    struct Row {
        const wchar_t* fields;
        bool scissors;
        int top;     // of the scissors
        int height;  // of the control
    };
    // Cut at the page's length along the roll: paper bottom less 65 (Letter) or 40 turned;
    // the scissors' blades start 10 + 2 - 1 above the cut.
    const Row table[] = {
        {L"roll=1 cutter=1 docwidth=2159 docheight=2794", true, 200 - 65 - 11, 200},
        {L"roll=1 cutter=1 docwidth=2159 docheight=2794 autorotate=1", true, 200 - 40 - 11, 200},
        // A long page runs on beyond the paper; the cut is drawn 130 pixels up at most, and where
        // that is above the paper's top (12), two rolls' height (50) below it.
        {L"roll=1 cutter=1 docwidth=6096 docheight=91440", true, 200 - 130 - 11, 200},
        {L"roll=1 cutter=1 docwidth=6096 docheight=91440", true, 12 + 50 - 11, 100},
        // A page whose top lies under the roll's end is cut there all the same.
        {L"roll=1 cutter=1 docwidth=2159 docheight=2794", true, 100 - 65 - 11, 100},
        {L"roll=1 cutter=0 docwidth=2159 docheight=2794", false, -1, 200},
        {L"roll=0 cutter=1 docwidth=2159 docheight=2794", false, -1, 200},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(testing::Message() << row.fields << " in " << row.height);
        for (const HWND control : {m_host->Portrait(), m_host->Landscape()})
            MoveWindow(control, 10, 10, 200, row.height, FALSE);
        m_preview->VSetRollSizes(L"8.5", L"42", L"42", L"11", L"57.32");
        const ZQPixels p = Paint((std::wstring(L"largeformat=1 language=5 ") + row.fields).c_str());
        const RECT paper = m_preview->PaperRect();
        const RECT left = {paper.left - 23, 0, paper.left, p.height};
        EXPECT_EQ(row.scissors, Has(p, kScissors, &left));
        if (row.scissors) {
            EXPECT_EQ(row.top, TopOfScissors(p, paper.left - 23, paper.left));
            // The cut line runs across the paper at the cut.
            const RECT across = {paper.left, row.top, paper.right, row.top + 14};
            EXPECT_TRUE(Has(p, kScissors, &across));
        }
    }
}

// A1, A2 and banners keep the paper's proportions on the roll, in controls of the pages' sizes and
// at the scales a user sets: a page the paper shown holds lies whole on it (its frame as the layout
// check measures it, what saving roll paper took off counted back), cut at its top, with no fade
// band; a longer one runs on beyond the paper's top at its full length. Whichever way the page is
// turned, its band lies on the sheet's part that the turn and the placing put above the paper, up
// to the paper's top edge, so the roll shows the picture drawn with the band left out.
TEST_F(PreviewWindow, LargeFormatPagesKeepThePapersProportions) {
    struct Row {
        const wchar_t* fields;
        const wchar_t* roll;
        SIZE control;
        double ratio;  // width to height of the page as placed
        int turn = 0;  // degrees, of a page running on beyond the paper
    };
    const Row table[] = {
        {L"docwidth=5940 docheight=8410", L"36", {90, 117}, 594.0 / 841},
        // The Printing Shortcuts page's lower control: the page as long as the paper shown reaches
        // the roll's middle; a lower control leaves it running on beyond, 17 rows.
        {L"docwidth=5940 docheight=8410", L"36", {123, 107}, 594.0 / 841},
        {L"docwidth=5940 docheight=8410", L"36", {123, 90}, 594.0 / 841, 180},
        // A banner 24 in by 360 in, 68 by 1020 pixels whatever the control's height: upright, turned
        // a quarter (landscape), and fed transverse (its band lying across the paper's edge).
        {L"docwidth=6096 docheight=91440", L"36", {200, 200}, 6096.0 / 91440, 180},
        {L"docwidth=6096 docheight=91440 orientation=2", L"36", {200, 200}, 6096.0 / 91440, 90},
        {L"docwidth=6096 docheight=91440 orientation=2 transverse=1", L"36", {200, 200}, 6096.0 / 91440, 90},
        // The banner laid out landscape: narrower than the paper, turned by half (its band standing
        // across the paper's edge); fed transverse under another language, not turned.
        {L"docwidth=91440 docheight=6096 orientation=2", L"36", {200, 200}, 6096.0 / 91440, 180},
        {L"docwidth=91440 docheight=6096 orientation=2 transverse=1 language=1", L"36", {200, 200}, 6096.0 / 91440,
         0},
        // Letter turned a quarter in a low control, running on by a few rows: landscape under
        // another language, and upright turned by autorotate (its band lying across the edge).
        {L"docwidth=2159 docheight=2794 orientation=2 language=1", L"42", {200, 62}, 2159.0 / 2794, 90},
        {L"docwidth=2159 docheight=2794 autorotate=1", L"42", {200, 45}, 2794.0 / 2159, 90},
        // Fed transverse and not turned, the paper holds a sheet wider than the paper is long.
        {L"docwidth=6096 docheight=9144 orientation=2 transverse=1 language=1", L"42", {200, 84}, 9144.0 / 6096},
        {L"docwidth=5940 docheight=8410 orientation=2", L"36", {132, 94}, 841.0 / 594},
        {L"docwidth=4200 docheight=5940", L"36", {90, 117}, 420.0 / 594},
        {L"docwidth=4200 docheight=5940 orientation=2", L"24", {132, 94}, 594.0 / 420},
        // The Features page's control at 150 %: portrait whole; landscape wider than the roll turns
        // across it.
        {L"docwidth=5940 docheight=8410 scale=150", L"36", {140, 140}, 594.0 / 841},
        {L"docwidth=5940 docheight=8410 orientation=2 scale=150", L"36", {140, 140}, 594.0 / 841},
        // Saving roll paper shortens the sheet along the roll; the page is whole at its cut edge.
        {L"docwidth=5940 docheight=8410 saveroll=1", L"36", {90, 117}, 594.0 / 841},
        {L"docwidth=5940 docheight=8410 orientation=2 saveroll=1 scale=150", L"36", {140, 140}, 594.0 / 841},
        {L"docwidth=5940 docheight=8410 orientation=2 saveroll=1", L"36", {132, 94}, 841.0 / 594},
    };
    int runOn = 0;
    m_preview->m_bBandWatched = true;
    for (const Row& row : table) {
        SCOPED_TRACE(testing::Message() << row.fields << " on " << row.roll << " in, " << row.control.cx << " x "
                                        << row.control.cy);
        for (const HWND control : {m_host->Portrait(), m_host->Landscape()})
            MoveWindow(control, 10, 10, row.control.cx, row.control.cy, FALSE);
        m_preview->VSetRollSizes(L"8.5", L"42", row.roll, L"11", L"57.32");
        const std::wstring fields = std::wstring(L"largeformat=1 roll=1 cutter=1 language=5 ") + row.fields;
        m_preview->m_bandOnSheet.clear();
        const ZQPixels p = Paint(fields.c_str());
        const RECT paper = m_preview->PaperRect();
        const ZQPreviewPainted painted = m_preview->Painted();
        const RECT& page = painted.rcSheet;
        for (const std::string& fault :
             zqtest::SamplePageFaults(painted.hwnd, page, painted.szSaved, painted.szPaper, painted.nBeyond))
            ADD_FAILURE() << fault;
        EXPECT_GE(page.left, paper.left) << "the page on the paper";
        // The roll is 25 pixels high; the paper hangs from its middle.
        const int rollBottom = paper.top + 12;
        if (page.top > rollBottom) {
            // Whole below the roll: its frame drawn as placed, and the cut at its top.
            const int width = RunLeft(p, paper.right - 1, paper.bottom - 1);
            const int height = RunUp(p, paper.right - 1, paper.bottom - 1);
            EXPECT_NEAR(row.ratio, static_cast<double>(width + painted.szSaved.cx) / (height + painted.szSaved.cy), 0.03)
                << width << " x " << height;
            EXPECT_EQ(page.top - 1, painted.rcCutLine.bottom) << "the cut at the page's top";
        }
        if (painted.nBeyond > 0) {
            ++runOn;
            // Where the turn brings each pixel of the sheet the band changed, from the sheet's
            // top-left corner: half a turn puts its last rows at the top, a quarter its first columns.
            int onPaper = 0, nearest = INT_MIN;
            for (const POINT& at : m_preview->m_bandOnSheet) {
                const int y = row.turn == 180 ? page.bottom - 1 - at.y : row.turn == 90 ? page.top + at.x : page.top + at.y;
                onPaper += y >= paper.top;
                nearest = std::max(nearest, y);
            }
            EXPECT_FALSE(m_preview->m_bandOnSheet.empty()) << "a fade band";
            EXPECT_EQ(0, onPaper) << "pixels of the band the placing puts on the paper";
            // Up to the paper's top edge; a form whose clearest row is clear may stop a row short.
            EXPECT_GE(nearest, paper.top - 2) << "the band reaches the paper's top edge";
        } else {
            EXPECT_TRUE(m_preview->m_bandOnSheet.empty()) << "no fade band on a page the paper holds";
        }
        // The band darkens nothing shown: the same page drawn without it.
        m_preview->m_bBandLeftOut = true;
        const ZQPixels bare = Paint(fields.c_str());
        m_preview->m_bBandLeftOut = false;
        ASSERT_EQ(bare.rgb.size(), p.rgb.size());
        const auto differs = std::mismatch(p.rgb.begin(), p.rgb.end(), bare.rgb.begin());
        if (differs.first != p.rgb.end()) {
            const int at = static_cast<int>(differs.first - p.rgb.begin());
            ADD_FAILURE() << "the band shows at " << at % p.width - paper.left << "," << at / p.width - paper.top
                          << " from the paper's top-left";
        }
    }
    EXPECT_EQ(8, runOn) << "pages ran on beyond the paper";
    // Saving roll paper moves the content off the trimmed edge: none of the chart is cut off (no
    // watermark lies over it, and the page lies whole on the paper).
    for (const HWND control : {m_host->Portrait(), m_host->Landscape()}) MoveWindow(control, 10, 10, 132, 117, FALSE);
    for (const wchar_t* orientation : {L"orientation=1", L"orientation=2"}) {
        SCOPED_TRACE(testing::Message() << orientation);
        const std::wstring a1 =
            std::wstring(L"largeformat=1 roll=1 language=5 nowatermark=1 docwidth=5940 docheight=8410 ") + orientation;
        auto reds = [](const ZQPixels& p) { return std::count(p.rgb.begin(), p.rgb.end(), DWORD{0xFF0000}); };
        const auto whole = reds(Paint(a1.c_str()));
        EXPECT_GT(whole, 0);
        EXPECT_GE(reds(Paint((a1 + L" saveroll=1").c_str())), whole);
    }
    // The check sees a page of other proportions, and one whose top lies above the frame drawn.
    const ZQPreviewPainted& last = m_preview->Painted();
    EXPECT_EQ(1u, zqtest::SamplePageFaults(last.hwnd, last.rcSheet, last.szSaved, {1000, 1000}).size());
    RECT higher = last.rcSheet;
    higher.top -= 8;
    const std::vector<std::string> cut = zqtest::SamplePageFaults(last.hwnd, higher, last.szSaved, last.szPaper);
    ASSERT_EQ(2u, cut.size());
    EXPECT_NE(std::string::npos, cut[0].find("top edge"));
}

TEST_F(PreviewWindow, RollOptionsPictureMovesTheCutByMarginLayout) {
    const HWND options = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 10, 30, 150, 180,
                                         m_host->Page(), nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, options);
    struct Row {
        int layout, set, enlargement;
        int move;  // of the scissors against the standard layout
    };
    const Row table[] = {{0, 0, 0, 0},  {1, 0, 0, -3}, {1, 1, 0, -5}, {2, 0, 0, 2},
                         {3, 0, 0, 5}, {3, 0, 1, 8},  {3, 2, 1, 8}};
    PreviewSettings record = Record(L"largeformat=1 roll=1");
    ZQSetPreviewWindow(&record, kPvRollOptionsWindow, options);
    const LONG live = zqpreview::LiveObjects();
    int standard = -1;
    for (const Row& row : table) {
        SCOPED_TRACE(testing::Message() << row.layout << " " << row.set << " " << row.enlargement);
        m_preview->VSetSettings(&record);
        InvalidateRect(options, nullptr, FALSE);
        m_preview->VPaintRollOptions(row.layout, row.set, row.enlargement);
        const ZQPixels p = CZQPreviewHost::Read(options);
        const int top = TopOfScissors(p, 0, 49);
        ASSERT_GT(top, 0);
        if (row.layout == 0) standard = top;
        EXPECT_EQ(standard + row.move, top);
        // The sample photograph's sky is on the paper.
        bool sky = false;
        for (DWORD px : p.rgb) sky = sky || ((px & 0xFF) > 200 && (px >> 16) < 150);
        EXPECT_TRUE(sky);
    }
    EXPECT_EQ(live, zqpreview::LiveObjects());
    DestroyWindow(options);
}
