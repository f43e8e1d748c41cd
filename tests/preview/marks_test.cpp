// Marks and pictures over the sample page: finishing, poster tiles, covers, envelopes, banners and
// the tint, read back from the control; the blending services on a bitmap of known colour.
// Positions are checked with a pixel of margin, never on glyphs.
#include <string>
#include <vector>

#include "common/zqhandles.h"
#include "previewtest.h"
#include "res/zqpreviewids.h"

// The shared helpers and colours of the preview tests.
using namespace zqpreviewtest;

namespace {

constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kLightGrey = RGB(192, 192, 192);
constexpr COLORREF kShadow = RGB(113, 113, 113);
constexpr COLORREF kCover = RGB(199, 184, 199);
constexpr COLORREF kFeeder = RGB(165, 218, 218);

// A position on the sheet: the start plus twelfths of its length plus an offset.
struct Coord {
    int twelfths, offset;
    int On(LONG start, LONG end) const { return start + (end - start) * twelfths / 12 + offset; }
};
constexpr Coord S(int offset) { return {0, offset}; }
constexpr Coord E(int inset) { return {12, -inset}; }
constexpr Coord F(int twelfths, int offset = 0) { return {twelfths, offset}; }

// Whether the colour is at a point of the sheet (with a pixel of margin), anywhere in the picture,
// or anywhere within 5 pixels of the sheet's edges (where the marks go and the sample chart does not).
enum Where { kAt, kPicture, kEdges };
struct Probe {
    Coord x, y;
    COLORREF color;
    bool present;
    Where where = kAt;
};
bool Seen(const ZQPixels& picture, const RECT& s, const Probe& p) {
    if (p.where == kPicture) return Has(picture, p.color);
    if (p.where == kEdges) {
        const RECT bands[4] = {{s.left, s.top, s.right, s.top + 5}, {s.left, s.bottom - 5, s.right, s.bottom},
                               {s.left, s.top, s.left + 5, s.bottom}, {s.right - 5, s.top, s.right, s.bottom}};
        for (const RECT& band : bands)
            if (Has(picture, p.color, &band)) return true;
        return false;
    }
    return Near(picture, p.x.On(s.left, s.right), p.y.On(s.top, s.bottom), p.color);
}
// Runs of a colour along a row (vertical false) or column of the sheet, from edge to edge.
struct Scan {
    bool vertical;
    Coord at;
    COLORREF color;
    int runs;
};

}  // namespace

TEST_F(PreviewWindow, MarksFollowTheirCodesEdgesAndTurns) {
    struct Row {
        std::wstring fields;
        std::vector<Scan> scans;
        std::vector<Probe> probes;
    };
    const Coord mid = F(6), third = F(4);
    const Row table[] = {
        // General staples: Letter and A4 portrait sheets staple along the left edge, others the top.
        {L"staple=1", {}, {{S(4), S(7), kBlack, true}, {S(7), S(4), kBlack, false}, {S(2), S(2), kGreen, true}}},
        {L"staple=1 letter=0", {}, {{S(7), S(4), kBlack, true}, {S(4), S(7), kBlack, false}}},
        {L"staple=1 rotated=1", {}, {{E(4), E(7), kBlack, true}, {S(4), S(7), kBlack, false}, {E(2), E(2), kGreen, true}}},
        {L"staple=2", {{true, S(4), kBlack, 2}}, {{S(2), mid, kGreen, true}}},
        {L"staple=2 letter=0", {{false, S(4), kBlack, 2}, {true, S(4), kBlack, 0}}, {{mid, S(2), kGreen, true}}},
        // Two pages per sheet turn the sheet, and with it the edge; turned content keeps the left.
        {L"staple=2 nup=2", {{false, S(4), kBlack, 2}}, {}},
        {L"staple=2 orientation=2 contentorientation=1", {{true, S(4), kBlack, 2}}, {}},
        {L"staple=2 rotated=1", {{true, E(4), kBlack, 2}}, {{E(3), mid, kGreen, true}, {S(2), mid, kGreen, false}}},
        {L"staple=3 letter=0", {{false, S(4), kBlack, 3}}, {}},
        {L"staple=6 letter=0", {{false, S(4), kBlack, 6}}, {}},
        // A narrow sheet keeps the least gap and holds fewer staples.
        {L"staple=6 letter=0 docwidth=1000 docheight=4318", {{false, S(4), kBlack, 3}}, {}},
        {L"staple=7 rotated=1", {}, {{E(3), mid, kGrey, true}, {S(3), mid, kGrey, false}}},
        {L"staple=8", {}, {{S(5), S(4), kBlack, true}, {S(4), S(8), kBlack, false}}},
        {L"staple=8 letter=0 orientation=2", {}, {{S(4), S(7), kBlack, true}}},
        {L"staple=10", {}, {{E(3), S(6), kBlack, true}}},
        {L"staple=10 rotated=1", {}, {{S(3), E(6), kBlack, true}, {E(3), S(6), kBlack, false}}},
        {L"staple=10 rotated=1 letter=0", {}, {{S(5), E(4), kBlack, true}}},
        {L"staple=11", {{true, E(3), kBlack, 2}}, {}},
        {L"staple=12 rotated=1", {{false, E(3), kBlack, 2}}, {}},
        {L"staple=13", {{false, S(3), kBlack, 3}}, {}},
        {L"staple=4", {}, {{{}, {}, kGreen, false, kEdges}}},
        {L"staple=14", {}, {{{}, {}, kGreen, false, kEdges}}},
        // The sheet stapler and the mailbox.
        {L"staple=1 finisher=1 rotated=1", {}, {{S(4), S(9), kBlack, true}, {E(4), E(7), kBlack, false}}},
        {L"staple=1 finisher=1 orientation=2", {}, {{E(8), S(4), kBlack, true}}},
        {L"staple=8 finisher=1", {}, {{S(5), S(5), kBlack, true}, {{}, {}, kGreen, false, kEdges}}},
        {L"staple=2 finisher=1", {}, {{S(4), F(3, 2), kBlack, false}, {{}, {}, kGreen, false, kEdges}}},
        {L"staple=1 finisher=2 rotated=1", {}, {{E(8), E(4), kBlack, true}, {{}, {}, kGreen, false, kEdges}}},
        {L"staple=1 finisher=2 letter=0", {}, {{S(8), S(4), kBlack, false}, {S(4), S(7), kBlack, false}}},
        // Stitches lie across the middle, or along the fold of a booklet.
        {L"staple=9", {}, {{third, mid, kBlack, true}, {mid, third, kBlack, false}}},
        {L"fold=8", {}, {{third, mid, kBlack, true}}},
        {L"staple=9 nup=2 booklet=1", {}, {{mid, third, kBlack, true}, {third, mid, kBlack, false}}},
        // Punching: two, three and four holes per edge and unit.
        {L"punch=1 punchunit=1", {{true, S(2), kRed, 2}}, {{S(3), mid, kGreen, true}}},
        {L"punch=1 punchunit=2", {{true, S(2), kRed, 3}}, {}},
        {L"punch=1 punchunit=3", {{true, S(2), kRed, 4}}, {}},
        {L"punch=2 punchunit=1", {{true, E(2), kRed, 2}}, {{E(4), mid, kGreen, true}}},
        {L"punch=3 punchunit=3", {{false, S(2), kRed, 4}}, {{mid, S(4), kGreen, true}}},
        {L"punch=1 punchunit=2 rotated=1", {{true, E(3), kRed, 3}}, {{S(3), mid, kRed, false}}},
        {L"punch=3 punchunit=1 rotated=1", {{false, E(3), kRed, 2}}, {}},
        // A staple band on the edge leaves out the punch zone; a turned page keeps the left's.
        {L"punch=1 punchunit=1 staple=2 letter=0", {{true, S(2), kRed, 2}}, {{S(3), mid, kGreen, false}}},
        {L"punch=1 punchunit=1 staple=11 rotated=1", {}, {{E(4), mid, kGreen, true}}},
        // The corner staple goes on again over the punch zone, by the general finisher.
        {L"punch=1 punchunit=1 staple=1 finisher=2", {}, {{S(4), S(7), kBlack, true}}},
        {L"punch=1 punchunit=7", {}, {{S(3), mid, kGreen, true}, {{}, {}, kRed, false, kEdges}}},
        {L"punch=4 punchunit=1", {}, {{{}, {}, kRed, false, kEdges}, {{}, {}, kGreen, false, kEdges}}},
        // Folds: dotted lines on zones; outward folds show the folded sheet instead of the page.
        {L"fold=1", {}, {{S(3), third, kGreen, true}, {S(3), F(8), kGreen, true}, {S(3), mid, kGreen, false},
                         {{}, {}, kRed, true, kPicture}}},
        {L"fold=2", {}, {{S(3), third, kGreen, true}, {S(3), F(8), kBlack, true}, {{}, {}, kRed, false, kPicture}}},
        {L"fold=6 orientation=2", {}, {{mid, S(3), kGreen, true}, {mid, F(8), kBlack, true}, {third, S(3), kGreen, false}}},
        {L"fold=7", {}, {{S(3), mid, kGreen, true}, {S(3), third, kGreen, false}, {{}, {}, kRed, false, kPicture}}},
        // The Z-fold: its edges and diagonal, no sheet frame.
        {L"fold=3", {}, {{mid, S(0), kBlack, true}, {mid, E(1), kBlack, true}, {S(0), mid, kBlack, false}}},
        {L"fold=4", {}, {{{}, {}, kGreen, false, kEdges}, {{}, {}, kRed, true, kPicture}}},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(testing::PrintToString(row.fields));
        const ZQPixels picture = Paint(Letter(row.fields).c_str());
        const RECT s = m_preview->m_rcSheet;
        for (const Scan& scan : row.scans) {
            const int at = scan.vertical ? scan.at.On(s.left, s.right) : scan.at.On(s.top, s.bottom);
            const int runs = scan.vertical ? Runs(picture, at, s.top + 1, at, s.bottom - 2, scan.color)
                                           : Runs(picture, s.left + 1, at, s.right - 2, at, scan.color);
            EXPECT_EQ(scan.runs, runs) << (scan.vertical ? "column " : "row ") << at;
        }
        for (const Probe& p : row.probes)
            EXPECT_EQ(p.present, Seen(picture, s, p))
                << std::hex << p.color << std::dec << " at " << p.x.On(0, s.right - s.left) << ","
                << p.y.On(0, s.bottom - s.top) << " " << p.where;
    }
}

TEST_F(PreviewWindow, FoldIconsByOrientation) {
    struct Row {
        const wchar_t* fields;
        WORD icon;
    };
    const Row table[] = {{L"fold=1", IDB_PREVIEW_FOLD_ICON},
                         {L"fold=7 nup=2", IDB_PREVIEW_FOLD_ICON_LANDSCAPE},
                         {L"fold=6 orientation=2", IDB_PREVIEW_FOLD_ICON_LANDSCAPE},
                         {L"fold=8", 0},
                         {L"fold=3", 0}};
    for (const Row& row : table) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(row.fields)));
        const ZQPixels picture = Paint(Letter(row.fields).c_str());
        const RECT s = m_preview->m_rcSheet;
        const POINT corner = {s.right - 24, s.top};
        for (WORD icon : {IDB_PREVIEW_FOLD_ICON, IDB_PREVIEW_FOLD_ICON_LANDSCAPE})
            EXPECT_EQ(icon == row.icon, IconAt(picture, icon, corner)) << icon;
    }
}

TEST_F(PreviewWindow, PosterTilesShowTheSelection) {
    struct Row {
        std::wstring fields;
        int n;  // tiles per side; 0: no grid
    };
    const std::wstring tiles = L" tiles=1001011010110100101100110";
    const Row table[] = {
        {L"poster=1 postersize=0 tilesperside=2" + tiles, 2}, {L"poster=1 postersize=1 tilesperside=3" + tiles, 3},
        {L"poster=1 postersize=2 tilesperside=4" + tiles, 4}, {L"poster=1 postersize=3 tilesperside=5" + tiles, 5},
        {L"poster=1 postersize=4 tilesperside=5" + tiles, 0}, {L"poster=1 postersize=-1" + tiles, 0},
        {L"poster=1 postersize=0 duplex=2" + tiles, 0},       {L"poster=1 postersize=0 nup=3" + tiles, 0},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(testing::PrintToString(row.fields));
        const ZQPixels picture = Paint(Letter(row.fields).c_str());
        const RECT p = m_preview->PageRect();
        const int W = p.right - p.left, H = p.bottom - p.top;
        EXPECT_EQ(row.n != 0, Near(picture, p.right + 2, (p.top + p.bottom) / 2, kShadow));
        if (!row.n) {
            EXPECT_FALSE(Has(picture, kLightGrey) || Has(picture, kShadow));
            continue;
        }
        // Grey separators between the tiles; a tile left out is light grey, a printed one is not.
        for (int k = 1; k < row.n; ++k) {
            EXPECT_TRUE(Near(picture, p.left + k * W / row.n, p.top + H / (2 * row.n), kGrey)) << k;
            EXPECT_TRUE(Near(picture, p.left + W / (2 * row.n), p.top + k * H / row.n, kGrey)) << k;
        }
        for (int i = 0; i < row.n * row.n; ++i) {
            const int r = i / row.n, c = i % row.n;
            const int x = p.left + (2 * c + 1) * W / (2 * row.n), y = p.top + (2 * r + 1) * H / (2 * row.n);
            const bool printed = tiles[7 + i] == L'1';
            EXPECT_EQ(!printed, picture.At(x, y) == kLightGrey) << "tile " << i;
        }
    }
}

TEST_F(PreviewWindow, CoversStackWithTheSheet) {
    struct Row {
        const wchar_t* fields;
        std::vector<Probe> probes;
    };
    const Coord mid = F(6);
    const Row table[] = {
        {L"", {{{}, {}, kCover, false, kPicture}, {{}, {}, kFeeder, false, kPicture}}},
        {L"back=1", {{mid, S(-3), kCover, true}, {E(-3), mid, kCover, false}}},
        {L"backfeeder=1", {{mid, S(-3), kFeeder, true}, {{}, {}, kCover, false, kPicture}}},
        // Front covers lie over the sheet, shifted down and right: what they cover takes their
        // tint (the blue E too), the strip above them keeps the sheet's white.
        {L"front=1",
         {{E(-3), mid, kCover, true}, {mid, E(-3), kCover, true}, {E(3), mid, kCover, true},
          {mid, S(2), kCover, false}, {{}, {}, kBlue & kCover, true, kPicture}}},
        {L"frontfeeder=1", {{E(-3), mid, kFeeder, true}, {mid, E(-3), kFeeder, true}, {E(3), mid, kFeeder, true},
                            {{}, {}, kCover, false, kPicture}}},
        // The right-to-left order stacks them toward the left.
        {L"front=1 order=2", {{S(-3), mid, kCover, true}, {S(3), mid, kCover, true}, {E(-3), mid, kCover, false}}},
        {L"back=1 order=2", {{E(-3), mid, kCover, true}}},
        // All four: outlines at 6 and 11 above, 6 and 12 below; over the sheet the feeder's cover
        // lies on the front cover, which shows between it and the sheet's top.
        {L"front=1 frontfeeder=1 back=1 backfeeder=1",
         {{mid, S(-6), kBlack, true}, {mid, S(-11), kBlack, true}, {mid, E(-5), kBlack, true}, {mid, E(-11), kBlack, true},
          {mid, S(-9), kFeeder, true}, {mid, E(-9), kFeeder, true}, {E(3), mid, kFeeder, true},
          {mid, S(8), kCover, true}}},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(row.fields)));
        const ZQPixels picture = Paint(Letter(row.fields).c_str());
        const RECT s = m_preview->m_rcSheet;
        for (const Probe& p : row.probes)
            EXPECT_EQ(p.present, Seen(picture, s, p))
                << std::hex << p.color << std::dec << " at " << p.x.On(0, s.right - s.left) << ","
                << p.y.On(0, s.bottom - s.top);
    }
    // The stack closes up where the sheet leaves no room round it.
    CPreviewProbe preview(Resources());
    preview.m_hwndActive = m_host->Portrait();
    for (const RECT& sheet : {RECT{50, 20, 150, 180}, RECT{0, 20, 200, 180}, RECT{50, 0, 150, 200}}) {
        preview.m_rcSheet = sheet;
        preview.VSetShadowOffsets();
        const bool tight = !sheet.left || !sheet.top;
        EXPECT_EQ(tight ? 4 : 8, preview.m_anShadow[0]);
        EXPECT_EQ(tight ? 3 : 6, preview.m_anShadow[3]);
    }
}

TEST_F(PreviewWindow, EnvelopesAndBanners) {
    const std::wstring envelope = L"envelope=1 docwidth=1100 docheight=2200 orientation=2 nowatermark=1 ";
    // Three sender lines a fifth of the envelope wide, four address lines from two fifths.
    for (const wchar_t* scale : {L"scale=100", L"scale=50"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(scale)));
        const ZQPixels picture = Paint((envelope + scale).c_str());
        const CPreviewProbe& p = *m_preview;
        const RECT page = p.PageRect();
        const int w = p.m_nCellWidth / 5;
        const bool reduced = p.m_nScale < 100;
        const POINT sender = reduced ? POINT{page.left + p.m_nGap, page.top + p.m_nGap}
                                     : POINT{page.left + p.m_nInset, page.top + p.m_nInset};
        EXPECT_TRUE(Near(picture, sender.x + 1, sender.y, kGrey));
        EXPECT_TRUE(Near(picture, sender.x + w - 2, sender.y, kGrey));
        EXPECT_FALSE(Near(picture, sender.x + w + 2, sender.y, kGrey));
        EXPECT_EQ(3, Runs(picture, sender.x + w / 2, sender.y - 1, sender.x + w / 2, sender.y + 4 * p.m_nLinePitch, kGrey));
        const int ax = page.left + p.m_nInset + 3 * w;
        EXPECT_EQ(4, Runs(picture, ax, page.top + p.m_nInset + 2 * p.m_nCellHeight / 5 - 1, ax, page.bottom - 2, kGrey));
    }
    // Envelopes of an N-up sheet carry their numbers, but not in a booklet.
    EXPECT_TRUE(Has(Paint((envelope + L"nup=2").c_str()), kBlue));
    EXPECT_FALSE(Has(Paint((envelope + L"nup=2 booklet=1").c_str()), kBlue));

    // A banner: three panels numbered 1 and 2, 3 and 4, then 5, with the folds shaded.
    for (bool portrait : {true, false}) {
        SCOPED_TRACE(portrait);
        const ZQPixels picture = Paint(portrait ? L"banner=1" : L"banner=1 orientation=2");
        for (int k = 0; k < 3; ++k) {
            const RECT third = portrait ? RECT{0, k * 200 / 3, 200, (k + 1) * 200 / 3}
                                        : RECT{k * 200 / 3, 0, (k + 1) * 200 / 3, 200};
            EXPECT_TRUE(Has(picture, kBlue, &third)) << k;
        }
        EXPECT_TRUE(Has(picture, kGrey));
        EXPECT_FALSE(Has(picture, kRed));
    }
}

TEST_F(PreviewWindow, TintRampAndSampleColours) {
    struct Ramp {
        BYTE r, g, b;
        COLORREF tint;
    };
    const Ramp ramp[] = {{255, 255, 255, RGB(255, 255, 255)}, {0, 0, 0, RGB(0, 0, 0)},
                         {128, 128, 128, RGB(191, 144, 111)}, {255, 0, 0, RGB(127, 91, 52)},
                         {0, 255, 0, RGB(201, 158, 130)},     {0, 0, 255, RGB(36, 15, 0)}};
    for (const Ramp& r : ramp) EXPECT_EQ(r.tint, CZQPreview::CrTintColor(r.r, r.g, r.b)) << int(r.r) << int(r.g);

    // The E and the blue bar go dark through the ramp, the other bars keep their luminance.
    struct Row {
        const wchar_t* fields;
        std::vector<COLORREF> present, absent;
    };
    const Row table[] = {
        {L"tint=1", {RGB(115, 79, 40), RGB(127, 91, 52), RGB(237, 220, 207), RGB(201, 158, 130)}, {kBlue, kRed}},
        {L"tint=1 thriftmode=3", {RGB(185, 167, 148), RGB(191, 173, 154)}, {RGB(115, 79, 40)}},
        {L"tint=1 grey=1", {RGB(64, 64, 64), RGB(117, 117, 117)}, {RGB(115, 79, 40)}},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(row.fields)));
        const ZQPixels picture = Paint(Letter(row.fields).c_str());
        for (COLORREF c : row.present) EXPECT_TRUE(Has(picture, c)) << std::hex << c;
        for (COLORREF c : row.absent) EXPECT_FALSE(Has(picture, c)) << std::hex << c;
    }
}

TEST_F(PreviewWindow, FadeBandAndVeilBlendOverKnownColours) {
    // A white (or black) 100 x 100 bitmap stands for the back buffer or the window.
    CPreviewProbe preview(Resources());
    preview.m_hwndActive = m_host->Portrait();
    preview.m_rcClient = {0, 0, 100, 100};
    const CZQMemDC dc(CreateCompatibleDC(nullptr));
    DWORD* bits = nullptr;
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, 100, -100, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    const CZQGdiObject dib(CreateDIBSection(dc.Get(), &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0));
    ASSERT_TRUE(dib && bits);
    CZQSelectObject select(dc.Get(), dib.Get());
    auto level = [&](int x, int y) { return static_cast<int>(bits[y * 100 + x] & 0xFF); };
    const LONG live = zqpreview::LiveObjects();

    struct Band {
        WORD orientation;
        int transverse, xEnd;
        POINT dark, clear, outside;  // clear: where the band has faded (almost) away
        int darkLevel;  // over white: 255 less the darkest alpha x 191 / 255 (squeezed: of the first or second column)
    };
    const Band bands[] = {
        {1, 0, 60, {30, 34}, {30, 10}, {30, 36}, 64},  // dark at the bottom
        {2, 1, 60, {30, 10}, {30, 34}, {30, 36}, 72},  // dark toward the top (row 24 of 25)
        {1, 1, 60, {10, 40}, {34, 40}, {36, 40}, 66},  // 25 wide, 50 tall: dark at the left
        {2, 0, 60, {10, 40}, {34, 40}, {36, 40}, 66},
        {1, 0, 10, {}, {}, {30, 34}, 0},  // no width
        {1, 0, 5, {}, {}, {30, 34}, 0},
        {3, 0, 60, {}, {}, {30, 34}, 0},  // an orientation the band does not know
    };
    for (const Band& b : bands) {
        SCOPED_TRACE(testing::Message() << b.orientation << "," << b.transverse << "," << b.xEnd);
        std::fill(bits, bits + 100 * 100, 0xFFFFFF);
        preview.m_hdcMem = dc.Get();
        preview.m_wSheetOrientation = b.orientation;
        preview.m_bTransverse = b.transverse;
        preview.VDrawFadeBand(10, 10, b.xEnd);
        GdiFlush();
        if (b.dark.x) {
            EXPECT_NEAR(b.darkLevel, level(b.dark.x, b.dark.y), 2);
            EXPECT_GT(level(b.clear.x, b.clear.y), 240);
        }
        EXPECT_EQ(255, level(b.outside.x, b.outside.y));
    }

    // The veil lays the window's background colour over black at 160/255.
    const COLORREF background = preview.CrWindowBackground();
    ASSERT_NE(CLR_INVALID, background);
    std::fill(bits, bits + 100 * 100, 0);
    preview.m_hdcPaint = dc.Get();
    const RECT veil = {20, 30, 60, 50};
    preview.VVeilRect(&veil);
    const RECT empty = {70, 70, 70, 90};
    preview.VVeilRect(&empty);
    GdiFlush();
    EXPECT_NEAR(GetBValue(background) * 160 / 255, level(21, 31), 1);
    EXPECT_NEAR(GetBValue(background) * 160 / 255, level(58, 48), 1);
    EXPECT_EQ(0, level(61, 40));
    EXPECT_EQ(0, level(70, 80));
    // The roll frame: four strips round a page at the bottom right, the page itself clear.
    std::fill(bits, bits + 100 * 100, 0);
    preview.m_rcPage = {0, 0, 60, 50};
    preview.VVeilRollFrame();
    GdiFlush();
    for (POINT p : {POINT{70, 52}, POINT{36, 80}, POINT{70, 95}, POINT{95, 80}}) EXPECT_NE(0, level(p.x, p.y)) << p.x;
    EXPECT_EQ(0, level(70, 75));
    preview.m_hdcPaint = nullptr;
    preview.m_hdcMem = nullptr;

    // Without a window to read, the fill takes the dialog's face colour, over the whole height of
    // a control taller than wide.
    preview.m_hwndActive = nullptr;
    preview.m_rcClient = {0, 0, 50, 100};
    std::fill(bits, bits + 100 * 100, 0);
    preview.VFillWithBackground(dc.Get());
    GdiFlush();
    EXPECT_EQ(GetSysColor(COLOR_3DFACE), preview.CrWindowBackground());
    EXPECT_EQ(GetBValue(GetSysColor(COLOR_3DFACE)), level(49, 99));
    EXPECT_EQ(0, level(50, 99));
    EXPECT_EQ(live, zqpreview::LiveObjects());
}
