// The pictures the preview paints, read back from the control it showed. Pixels are checked at
// frames, fills and icons, and colours by presence; glyph shapes never.
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "previewtest.h"
#include "res/zqpreviewids.h"

using zqpreviewtest::Has;
using zqpreviewtest::IconAt;
using zqpreviewtest::Letter;
using zqpreviewtest::kBlack;
using zqpreviewtest::kBlue;
using zqpreviewtest::kGrey;
using zqpreviewtest::kRed;
using zqpreviewtest::Record;
using zqpreviewtest::Resources;
using zqpreviewtest::operator==;

namespace {

constexpr COLORREF kCyan = RGB(0, 255, 255);

// What a paint could leave behind in a control's own DC.
struct DCState {
    int graphicsMode, bkMode, rop2, mapMode, stretchMode, hasClip;
    UINT align;
    COLORREF text, back;
    DWORD layout;
    XFORM world;
    HGDIOBJ pen, brush, font;
    POINT viewport;
    bool operator==(const DCState& o) const { return std::memcmp(this, &o, sizeof o) == 0; }
};

DCState StateOf(HWND control) {
    DCState s;
    std::memset(&s, 0, sizeof s);
    const HDC hdc = GetDC(control);
    s.graphicsMode = GetGraphicsMode(hdc);
    s.bkMode = GetBkMode(hdc);
    s.rop2 = GetROP2(hdc);
    s.mapMode = GetMapMode(hdc);
    s.stretchMode = GetStretchBltMode(hdc);
    const HRGN region = CreateRectRgn(0, 0, 0, 0);
    s.hasClip = GetClipRgn(hdc, region);
    DeleteObject(region);
    s.align = GetTextAlign(hdc);
    s.text = GetTextColor(hdc);
    s.back = GetBkColor(hdc);
    s.layout = GetLayout(hdc);
    GetWorldTransform(hdc, &s.world);
    s.pen = GetCurrentObject(hdc, OBJ_PEN);
    s.brush = GetCurrentObject(hdc, OBJ_BRUSH);
    s.font = GetCurrentObject(hdc, OBJ_FONT);
    GetViewportOrgEx(hdc, &s.viewport);
    ReleaseDC(control, hdc);
    return s;
}

RECT Quarter(const RECT& page, int column, int row) {
    const int cx = (page.left + page.right) / 2, cy = (page.top + page.bottom) / 2;
    return {column ? cx : page.left, row ? cy : page.top, column ? page.right : cx, row ? page.bottom : cy};
}

}  // namespace

TEST_F(PreviewWindow, SampleColoursFollowThriftmodeGreyscaleAndColourOutput) {
    struct Row {
        std::wstring fields;
        std::vector<COLORREF> present, absent;
    };
    const std::vector<COLORREF> greys = {RGB(117, 117, 117), RGB(243, 243, 243), RGB(204, 204, 204),
                                         RGB(64, 64, 64)};
    const Row table[] = {
        {Letter(L""), {kRed, RGB(255, 255, 0), kBlue, kGrey}, {}},
        // Thriftmode: bars, E and text lines half-way to white.
        {Letter(L"thriftmode=3"), {RGB(255, 128, 128), RGB(128, 128, 255), RGB(192, 192, 192)}, {kRed, kBlue, kGrey}},
        {Letter(L"grey=1"), greys, {kRed, kBlue}},
        {Letter(L"coloroutput=0"), greys, {kRed, kBlue}},
        // Page numbers keep their blue in thriftmode.
        {Letter(L"thriftmode=3 nup=3"), {kBlue, RGB(255, 128, 128)}, {kRed}},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(testing::PrintToString(row.fields));
        const ZQPixels picture = Paint(row.fields.c_str());
        for (COLORREF c : row.present) EXPECT_TRUE(Has(picture, c)) << std::hex << c;
        for (COLORREF c : row.absent) EXPECT_FALSE(Has(picture, c)) << std::hex << c;
    }
    // The colour routine itself.
    CPreviewProbe preview(nullptr);
    EXPECT_EQ(kRed, preview.CrPreviewColor(255, 0, 0));
    const PreviewSettings thrift = Record(L"thriftmode=3");
    preview.VSetSettings(&thrift);
    EXPECT_EQ(RGB(255, 128, 128), preview.CrPreviewColor(255, 0, 0));
    EXPECT_EQ(RGB(128, 128, 128), preview.CrPreviewColor(0, 0, 0));
}

TEST_F(PreviewWindow, WatermarkOnlyInTheFullKind) {
    const std::wstring mark = Letter(L"text=WWW color=4 shade=9 size=999 style=1 angle=0 ");
    struct Row {
        std::wstring fields;
        bool drawn;
    };
    const Row table[] = {
        {mark + L"kind=3", true},
        {mark + L"kind=2", false},
        {mark + L"kind=1", false},
        {mark + L"kind=3 nowatermark=1", false},
        {Letter(L"text= color=4 shade=9 kind=3"), false},
        // A shade the table lacks takes the default blue, never a colour from beyond the table.
        {mark + L"kind=3 shade=10", false},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(testing::PrintToString(row.fields));
        EXPECT_EQ(row.drawn, Has(Paint(row.fields.c_str()), kCyan));
    }
    // First page only: page 1's cell (top left) has it, page 4's does not.
    const ZQPixels picture = Paint((mark + L"kind=3 nup=3 firstpage=1").c_str());
    const RECT page = m_preview->PageRect();
    const RECT first = Quarter(page, 0, 0), last = Quarter(page, 1, 1);
    EXPECT_TRUE(Has(picture, kCyan, &first));
    EXPECT_FALSE(Has(picture, kCyan, &last));
}

TEST_F(PreviewWindow, SampleContentGoesOnTheFirstPageOfTheOrder) {
    // The bar chart stands on page 1 (page 2 of a booklet); its red marks the cell.
    struct Row {
        const wchar_t* fields;
        int column, row;  // quarter (column, row) of the page; row -1: the whole half
    };
    const Row table[] = {
        {L"nup=3", 0, 0},
        {L"nup=3 order=1", 0, 0},
        {L"nup=3 order=2", 1, 0},
        {L"nup=3 order=3", 1, 0},
        {L"nup=3 order=3 kind=2", 0, 0},
        {L"nup=2 booklet=1", 1, -1},
        {L"nup=2 booklet=2", 0, -1},
        // Content reduced to half stays at the page's top left, or is centred on it.
        {L"scale=50", 0, 0},
        {L"scale=50 centre=1", 0, 1},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(row.fields)));
        const ZQPixels picture = Paint(Letter(row.fields).c_str());
        const RECT page = m_preview->PageRect();
        for (int column = 0; column < 2; ++column)
            for (int r = 0; r < 2; ++r) {
                const RECT area = Quarter(page, column, r);
                const bool expected = column == row.column && (row.row < 0 || r == row.row);
                if (row.row < 0 && r == 0) continue;  // the chart stands at the bottom of a half
                EXPECT_EQ(expected, Has(picture, kRed, &area)) << column << "," << r;
            }
    }
}

TEST_F(PreviewWindow, TwoSidedIconsAndBindingMarks) {
    enum Corner { kNone, kBottomRight, kBottomLeft, kTopLeft };
    enum Side { kNoMarks, kTop, kLeft, kRight };
    struct Row {
        const wchar_t* fields;
        WORD icon;
        Corner corner;
        Side marks;
    };
    const Row table[] = {
        {L"duplex=2 flipup=1", IDB_PREVIEW_FLIP_UP, kBottomRight, kTop},
        {L"duplex=3", IDB_PREVIEW_FLIP_SIDE, kBottomRight, kLeft},
        {L"duplex=2 order=2", IDB_PREVIEW_FLIP_SIDE_RTL, kBottomLeft, kRight},
        {L"duplex=2 flipup=1 order=3", IDB_PREVIEW_FLIP_UP_RTL, kBottomLeft, kTop},
        // Folded or finished two-sided sheets: no icon; no binding edge when every code is set.
        {L"duplex=2 staple=1 punch=1 fold=1", 0, kNone, kNoMarks},
        {L"duplex=2 staple=9 fold=6", 0, kNone, kLeft},
        // One-sided: only a folded booklet shows its icon.
        {L"booklet=1 fold=1", IDB_PREVIEW_FLIP_UP, kBottomRight, kNoMarks},
        {L"booklet=1 fold=1 orientation=2", IDB_PREVIEW_FOLD_LANDSCAPE, kTopLeft, kNoMarks},
        // A folded one-sided sheet shows the icon with its folds.
        {L"fold=1", IDB_PREVIEW_FLIP_UP, kBottomRight, kNoMarks},
        {L"fold=6", 0, kNone, kNoMarks},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(row.fields)));
        const ZQPixels picture = Paint(Letter(row.fields).c_str());
        const RECT sheet = m_preview->m_rcSheet;
        const int half = m_preview->m_nGap / 2;
        if (row.icon) {
            const POINT at = row.corner == kTopLeft      ? POINT{sheet.left, sheet.top}
                             : row.corner == kBottomLeft ? POINT{sheet.left, sheet.bottom - 24}
                                                         : POINT{sheet.right - 24, sheet.bottom - 24};
            EXPECT_TRUE(IconAt(picture, row.icon, at));
        } else {
            EXPECT_FALSE(Has(picture, RGB(0, 64, 224)));
        }
        // The marks' black strokes cross the binding edge into the sheet.
        EXPECT_EQ(row.marks == kTop, picture.At(sheet.left + half + 1, sheet.top + 1) == kBlack);
        EXPECT_EQ(row.marks == kLeft, picture.At(sheet.left + 1, sheet.top + half + 1) == kBlack);
        EXPECT_EQ(row.marks == kRight, picture.At(sheet.right - 2, sheet.top + half + 1) == kBlack);
    }
}

TEST_F(PreviewWindow, TransverseTurnsAndMirrorFlipsThePicture) {
    const ZQPixels plain = Paint(Letter(L"").c_str());
    const RECT sheet = m_preview->m_rcSheet;
    ASSERT_TRUE((RECT{56, 43, 143, 156}) == sheet);
    // A quarter turn clockwise about the sheet's centre.
    const ZQPixels turned = Paint(Letter(L"transverse=1").c_str());
    const int w = sheet.right - sheet.left, h = sheet.bottom - sheet.top;
    const int left = (sheet.left + sheet.right) / 2 - h / 2, top = (sheet.top + sheet.bottom) / 2 - w / 2;
    int differ = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (turned.At(left + h - 1 - y, top + x) != plain.At(sheet.left + x, sheet.top + y)) ++differ;
    EXPECT_EQ(0, differ);
    // Mirrored: the E and the chart change sides.
    const ZQPixels mirrored = Paint(Letter(L"mirror=1").c_str());
    const RECT topLeft = Quarter(sheet, 0, 0), topRight = Quarter(sheet, 1, 0);
    const RECT bottomLeft = Quarter(sheet, 0, 1), bottomRight = Quarter(sheet, 1, 1);
    EXPECT_TRUE(Has(plain, kBlue, &topLeft) && Has(plain, kRed, &bottomLeft));
    EXPECT_FALSE(Has(plain, kRed, &bottomRight));
    EXPECT_TRUE(Has(mirrored, kBlue, &topRight) && Has(mirrored, kRed, &bottomRight));
    EXPECT_FALSE(Has(mirrored, kRed, &bottomLeft));
}

// The sheet drawn keeps its paper's proportions and stays inside its control, in the shapes the
// pages give their two controls, in both orientations and borderless.
TEST_F(PreviewWindow, SheetKeepsThePapersProportionsInsideItsControl) {
    const SIZE controls[] = {{105, 117}, {154, 94}, {200, 200}, {163, 140}};
    const SIZE papers[] = {{2159, 2794}, {2100, 2970}, {1016, 1524}, {2159, 3556}, {2794, 4318}, {2970, 4200}};
    for (const SIZE control : controls) {
        for (HWND hwnd : {m_host->Portrait(), m_host->Landscape()})
            SetWindowPos(hwnd, nullptr, 0, 0, control.cx, control.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        for (const SIZE paper : papers)
            for (int orientation : {1, 2})
                for (const wchar_t* borderless : {L"", L" noinset=1 margins=0 marginlayout=3"}) {
                    const std::wstring fields = L"docwidth=" + std::to_wstring(paper.cx) + L" docheight=" +
                                                std::to_wstring(paper.cy) + L" orientation=" +
                                                std::to_wstring(orientation) + borderless;
                    SCOPED_TRACE(testing::PrintToString(fields) + " in " + std::to_string(control.cx) + "x" +
                                 std::to_string(control.cy));
                    Paint(fields.c_str());
                    const RECT sheet = m_preview->m_rcSheet, client = m_preview->m_rcClient;
                    const double across = orientation == 2 ? paper.cy : paper.cx;
                    const double down = orientation == 2 ? paper.cx : paper.cy;
                    const double w = sheet.right - sheet.left, h = sheet.bottom - sheet.top;
                    EXPECT_NEAR(w, h * across / down, 1.5) << w << "x" << h;
                    RECT inside;
                    EXPECT_TRUE(IntersectRect(&inside, &sheet, &client) && EqualRect(&inside, &sheet));
                }
    }
}

TEST_F(PreviewWindow, UnknownPaperSizeIsDrawnAtTheReferenceSize) {
    for (const wchar_t* fields : {L"docwidth=0 docheight=2794", L"docwidth=-1 docheight=0 fit=1 fitscaled=1"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(fields)));
        const ZQPixels picture = Paint(fields);
        EXPECT_TRUE((RECT{43, 13, 156, 187}) == m_preview->PageRect());
        EXPECT_EQ(kBlack, picture.At(43, 100));
        EXPECT_EQ(kBlack, picture.At(155, 100));
        EXPECT_NE(kBlack, picture.At(42, 100));
        EXPECT_EQ(100, m_preview->m_nScale);
        EXPECT_TRUE(Has(picture, kRed));
    }
}

TEST_F(PreviewWindow, PaintsLeaveNoObjectAndTheControlsDCAsTheyFoundIt) {
    std::vector<PreviewSettings> records;
    for (const wchar_t* fields :
         {L"", L"nup=6 orientation=2 borders=1 order=3", L"transverse=1 mirror=1 duplex=2 flipup=1",
          L"booklet=2 nup=2 duplex=3 fold=1", L"fit=1 fitscaled=1 docwidth=2100 docheight=2970 sheetwidth=2159 "
          L"sheetheight=2794 scale=60 centre=1", L"largeformat=1 margins=1 marginlayout=2 language=5 unscaled=1 "
          L"scale=50", L"banner=1 mirror=1", L"fold=3 kind=3 text=Draft style=3 angle=-400",
          // Every mark and picture over the sheet.
          L"staple=2 punch=1 punchunit=3 fold=1 front=1 frontfeeder=1 back=1 backfeeder=1 order=2 rotated=1",
          L"poster=1 postersize=3 tilesperside=5 fold=7 finisher=1 staple=8 transverse=1",
          L"envelope=1 nup=4 borders=1 fit=1 sheetwidth=2100 sheetheight=2970 scale=50 centre=1",
          L"banner=1 orientation=2 tint=1 thriftmode=3", L"fold=2 booklet=2 nup=2 front=1 frontfeeder=1 staple=9"})
        records.push_back(Record(fields));
    // Records no page would send: every number at an extreme, texts without an end.
    for (int value : {0, -1, INT_MIN, INT_MAX})
        for (int kind : {value, 3}) {
            PreviewSettings r;
            std::memset(&r, 0x54, sizeof r);  // 'T' in every text character
            r.wOrientation = r.wDuplex = static_cast<WORD>(value);
            for (int* field : {&r.iPagesPerSheet, &r.iPageBorders, &r.iPageOrder, &r.iThriftmode, &r.iBooklet,
                               &r.watermark.iShade, &r.watermark.iColor, &r.watermark.iStyle, &r.watermark.iSize,
                               &r.watermark.iAngle})
                *field = value;
            for (int& v : r.aiValue) v = value;
            for (int& v : r.aiPosterTile) v = value;
            for (int& v : r.aiExtra) v = value;
            r.aiValue[kPvKind] = kind;
            records.push_back(r);
        }

    // Codes the finisher does not know are stored as none.
    Paint(Letter(L"staple=14 punch=-1 fold=10").c_str());
    EXPECT_EQ(0, m_preview->m_nStapleCode);
    EXPECT_EQ(0, m_preview->m_nFoldCode);

    const DCState portrait = StateOf(m_host->Portrait()), landscape = StateOf(m_host->Landscape());
    const LONG live = zqpreview::LiveObjects();
    for (size_t i = 0; i < records.size(); ++i) {
        SCOPED_TRACE(i);
        for (int twice = 0; twice < 2; ++twice) m_host->VShow(records[i]);
        EXPECT_EQ(live, zqpreview::LiveObjects());
        EXPECT_TRUE(portrait == StateOf(m_host->Portrait()));
        EXPECT_TRUE(landscape == StateOf(m_host->Landscape()));
        EXPECT_TRUE(m_preview->m_nStapleCode >= 0 && m_preview->m_nStapleCode <= 13);
        EXPECT_TRUE(m_preview->m_nFoldCode >= 0 && m_preview->m_nFoldCode <= 9);
    }
    EXPECT_GE(m_host->Paints(), static_cast<int>(2 * records.size()));
    // Without a control nothing is painted, and nothing breaks.
    CPreviewProbe alone(Resources());
    const PreviewSettings none = Record(L"staple=14 fold=10");
    alone.VSetSettings(&none);
    alone.VPaint();
    EXPECT_EQ(live, zqpreview::LiveObjects());
}
