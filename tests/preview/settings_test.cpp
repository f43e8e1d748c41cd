// The preview's copy of a page's record, its choice of control and its page geometry.
#include <string>
#include <vector>

#include "common/zqhandles.h"
#include "featurelogic/zquilogic.h"
#include "previewtest.h"
#include "res/zqpreviewids.h"

using zqpreviewtest::Record;
using zqpreviewtest::Resources;
using zqpreviewtest::operator==;

TEST(PreviewRecord, ScaleKindAndFitRules) {
    struct Row {
        std::wstring fields;
        int scale, nup, borders, booklet, order, sameSize;
    };
    const std::wstring a4OnLetter = L"fit=1 docwidth=2100 docheight=2970 sheetwidth=2159 sheetheight=2794";
    const Row table[] = {
        {L"scale=10", 25, 1, 0, 0, 0, 0},
        {L"scale=500", 400, 1, 0, 0, 0, 0},
        {L"scale=500 largeformat=1", 500, 1, 0, 0, 0, 0},
        {L"scale=1500 largeformat=1", 1000, 1, 0, 0, 0, 0},
        // Kind 1: one page as it stands, at 100 percent on desktop printers only.
        {L"kind=1 scale=250 nup=3 borders=1 booklet=1 order=2", 100, 1, 0, 0, 0, 0},
        {L"kind=1 scale=250 largeformat=1", 250, 1, 0, 0, 0, 0},
        // Kind 2 frames every page in the first order; only kind 3 keeps the order.
        {L"kind=2 nup=3 order=3", 100, 3, 1, 0, 0, 0},
        {L"kind=3 nup=5 order=3 booklet=2", 100, 5, 0, 2, 3, 0},
        {L"nup=0", 100, 1, 0, 0, 0, 0},
        {L"nup=7", 100, 1, 0, 0, 0, 0},
        // Fit to page: the truncated smaller ratio, 100 without the scaled content.
        {L"fit=1 fitscaled=1 docwidth=2159 docheight=2794 sheetwidth=2100 sheetheight=2970", 97, 1, 0, 0, 0, 0},
        {a4OnLetter + L" fitscaled=1", 94, 1, 0, 0, 0, 0},
        {a4OnLetter, 100, 1, 0, 0, 0, 0},
        {L"fit=1 fitscaled=1 scale=50 docwidth=2100 docheight=2970 sheetwidth=2100 sheetheight=2970", 100, 1, 0, 0,
         0, 1},
        {a4OnLetter + L" fitscaled=1 largeformat=1", 100, 1, 0, 0, 0, 0},
        // A size that is not known has no ratio.
        {L"fit=1 fitscaled=1 docwidth=0 docheight=2970 sheetwidth=2100 sheetheight=2970", 100, 1, 0, 0, 0, 0},
        {L"fit=1 fitscaled=1 docwidth=2100 docheight=2970 sheetwidth=2100 sheetheight=-5", 100, 1, 0, 0, 0, 0},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(testing::PrintToString(row.fields));
        CPreviewProbe preview(nullptr);
        const PreviewSettings record = Record(row.fields.c_str());
        preview.VSetSettings(&record);
        EXPECT_EQ(row.scale, preview.m_nScale);
        EXPECT_EQ(row.nup, preview.m_nNupIndex);
        EXPECT_EQ(row.borders, preview.m_bPageBorders);
        EXPECT_EQ(row.booklet, preview.m_nBooklet);
        EXPECT_EQ(row.order, preview.m_nPageOrder);
        EXPECT_EQ(row.sameSize, preview.m_bSameSize);
    }
}

TEST(PreviewRecord, PosterTilesAndBoundedTexts) {
    // The four poster options print 2 x 2 up to 5 x 5 tiles; an option the list does not offer
    // prints the smallest poster. A poster of n x n tiles copies n x n flags; the others keep what
    // the last record gave.
    const struct {
        int option, perSide;
    } posters[] = {{0, 2}, {1, 3}, {2, 4}, {3, 5}, {-1, 2}, {4, 2}};
    for (const auto& poster : posters) {
        SCOPED_TRACE(poster.option);
        const int n = CZQUILogic::IPosterTilesPerSide(poster.option);
        EXPECT_EQ(poster.perSide, n);
        CPreviewProbe preview(nullptr);
        PreviewSettings record = Record(L"tilesperside=5 tiles=0000000000000000000000000");
        preview.VSetSettings(&record);
        record = Record(L"tiles=1111111111111111111111111");
        record.aiExtra[kPxTilesPerSide] = n;
        preview.VSetSettings(&record);
        int printed = 0;
        for (int i = 0; i < kPreviewPosterTiles; ++i) printed += preview.m_abPosterTile[i];
        EXPECT_EQ(n * n, printed);
        EXPECT_EQ(1, preview.m_abPosterTile[n * n - 1]);
    }
    // Texts without an end are read within their bounds: 255 characters of text, 31 of the face.
    PreviewSettings record = Record(L"");
    for (WCHAR& c : record.watermark.szText) c = L'T';
    for (WCHAR& c : record.watermark.szFont) c = L'F';
    CPreviewProbe preview(nullptr);
    preview.VSetSettings(&record);
    EXPECT_EQ(std::wstring(255, L'T'), preview.m_szWatermarkText);
    EXPECT_EQ(std::wstring(31, L'F'), preview.m_szFontFace);
}

TEST(PreviewLayout, RoundingAndPageFitting) {
    EXPECT_EQ(12, CPreviewProbe::IRoundTenth(12.39));
    EXPECT_EQ(13, CPreviewProbe::IRoundTenth(12.4));
    EXPECT_EQ(12, CPreviewProbe::IRoundTenth(12.0));
    struct Row {
        const wchar_t* fields;
        int width, height;
        RECT expected;  // in a 200 x 200 window
    };
    const Row table[] = {
        // Letter at the scale that fits the reference into 62 % of the width and 87 % of the height
        // (the height decides): 87.0 x 112.59, the latter rounding up; centred, true to the paper.
        {L"", 2159, 2794, {56, 43, 143, 156}},
        // Wider than the reference: it takes the reference's place across.
        {L"", 3000, 2794, {39, 43, 160, 156}},
        // Unknown sizes take the reference size.
        {L"", 0, 2794, {43, 13, 156, 187}},
        {L"", -2159, -2794, {43, 13, 156, 187}},
        // Landscape sheets: 85 and 56 percent; two pages per sheet turn a portrait page.
        {L"orientation=2", 2159, 2794, {45, 57, 155, 142}},
        {L"nup=2", 2159, 2794, {45, 57, 155, 142}},
        {L"orientation=2 nup=4", 2159, 2794, {56, 43, 143, 156}},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(row.fields)) + " " + std::to_string(row.width));
        CPreviewProbe preview(nullptr);
        const PreviewSettings record = Record(row.fields);
        preview.VSetSettings(&record);
        RECT r = {0, 0, 200, 200};
        preview.VFitDesktopPage(&r, row.width, row.height);
        EXPECT_TRUE(row.expected == r) << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    }
}

TEST(PreviewLayout, PageOrdersVisitTheCells) {
    // Page k + 1 of a 2 x 2 sheet goes to (row, column).
    const std::vector<std::pair<int, int>> expected[4] = {
        {{1, 1}, {1, 2}, {2, 1}, {2, 2}},  // right, then down
        {{1, 1}, {2, 1}, {1, 2}, {2, 2}},  // down, then right
        {{1, 2}, {1, 1}, {2, 2}, {2, 1}},  // left, then down
        {{1, 2}, {2, 2}, {1, 1}, {2, 1}},  // down, then left
    };
    for (int order = 0; order < 4; ++order) {
        std::vector<std::pair<int, int>> cells;
        for (int k = 0; k < 4; ++k) {
            int row = 0, column = 0;
            CPreviewProbe::VVisitCell(order, 2, 2, k, &row, &column);
            cells.emplace_back(row, column);
        }
        EXPECT_EQ(expected[order], cells) << "order " << order;
    }
    // Three rows of two: down, then left starts at the top right and ends at the bottom left.
    int row = 0, column = 0;
    CPreviewProbe::VVisitCell(3, 3, 2, 0, &row, &column);
    EXPECT_EQ(std::make_pair(1, 2), std::make_pair(row, column));
    CPreviewProbe::VVisitCell(3, 3, 2, 5, &row, &column);
    EXPECT_EQ(std::make_pair(3, 1), std::make_pair(row, column));
}

TEST_F(PreviewWindow, ControlAndGridFollowTheSheet) {
    struct Row {
        const wchar_t* fields;
        bool landscape;
        int rows, columns;
    };
    const Row table[] = {
        {L"", false, 1, 1},
        {L"orientation=2", true, 1, 1},
        // Two pages of a portrait document side by side on a landscape sheet.
        {L"nup=2", true, 1, 2},
        {L"nup=2 orientation=2", false, 2, 1},
        {L"nup=3", false, 2, 2},
        {L"nup=4", true, 2, 3},
        // Six landscape pages: three rows of two on a portrait sheet.
        {L"nup=4 orientation=2", false, 3, 2},
        {L"nup=5", false, 3, 3},
        {L"nup=6 orientation=2", true, 4, 4},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(row.fields)));
        m_host->VShow(Record(row.fields));
        EXPECT_EQ(row.landscape, IsWindowVisible(m_host->Landscape()) != FALSE);
        EXPECT_EQ(!row.landscape, IsWindowVisible(m_host->Portrait()) != FALSE);
        EXPECT_EQ(row.rows, m_preview->m_anRows[0]);
        EXPECT_EQ(row.columns, m_preview->m_anRows[1]);
    }
}

TEST_F(PreviewWindow, RepaintRectangleCoversBothControls) {
    MoveWindow(m_host->Portrait(), 10, 10, 100, 150, FALSE);
    MoveWindow(m_host->Landscape(), 120, 10, 150, 100, FALSE);
    RECT r;
    CZQPreview::VGetRepaintRect(m_host->Page(), CZQPreviewHost::kPortraitId, CZQPreviewHost::kLandscapeId, &r);
    EXPECT_TRUE((RECT{0, 0, 280, 170}) == r);
    // A control the page lacks adds nothing; without either the rectangle is empty.
    CZQPreview::VGetRepaintRect(m_host->Page(), CZQPreviewHost::kPortraitId, 999, &r);
    EXPECT_TRUE((RECT{0, 0, 120, 170}) == r);
    CZQPreview::VGetRepaintRect(m_host->Page(), 998, 999, &r);
    EXPECT_TRUE(IsRectEmpty(&r));
}

TEST(PreviewRoutines, BitmapSizesAndRotation) {
    CPreviewProbe preview(Resources());
    RECT r;
    for (WORD id : {IDB_PREVIEW_FLIP_UP, IDB_PREVIEW_FLIP_SIDE, IDB_PREVIEW_FLIP_SIDE_RTL, IDB_PREVIEW_FLIP_UP_RTL,
                    IDB_PREVIEW_FOLD_LANDSCAPE, IDB_PREVIEW_FOLD_ICON, IDB_PREVIEW_FOLD_ICON_LANDSCAPE}) {
        preview.VGetBitmapRect(id, &r);
        EXPECT_TRUE((RECT{0, 0, 24, 24}) == r) << id;
    }
    preview.VGetBitmapRect(4321, &r);
    EXPECT_TRUE(IsRectEmpty(&r));

    // A quarter turn after a move by half the bitmap less the client size, then the caller's own.
    const CZQMemDC window(CreateCompatibleDC(nullptr)), source(CreateCompatibleDC(nullptr));
    const CZQGdiObject bitmap(CreateBitmap(40, 20, 1, 1, nullptr));
    CZQSelectObject select(source.Get(), bitmap.Get());
    preview.m_hdcPaint = window.Get();
    preview.m_rcClient = {0, 0, 100, 50};
    preview.VSetRotation(90.0f, source.Get(), XFORM{1, 0, 0, 1, 5, 7});
    preview.m_hdcPaint = nullptr;
    EXPECT_EQ(GM_ADVANCED, GetGraphicsMode(window.Get()));
    XFORM xf;
    ASSERT_TRUE(GetWorldTransform(window.Get(), &xf));
    const float expected[6] = {0, 1, -1, 0, 40 + 5, -80 + 7};
    const float got[6] = {xf.eM11, xf.eM12, xf.eM21, xf.eM22, xf.eDx, xf.eDy};
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(expected[i], got[i], 1e-3) << i;
}
