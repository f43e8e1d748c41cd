// Sheets besides the page: the poster's tiles over the one-page picture, and cover sheets stacked
// behind and over the sheet.
#include <algorithm>
#include <vector>

#include "preview/zqpreview.h"
#include "preview/zqpreviewgdi.h"

namespace {

constexpr COLORREF kCover = RGB(199, 184, 199);
constexpr COLORREF kFeederCover = RGB(165, 218, 218);

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

// A filled rectangle without outline, corners in any order.
void Fill(HDC hdc, int x0, int y0, int x1, int y1) {
    Rectangle(hdc, std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1));
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Poster tiles
// ---------------------------------------------------------------------------------------------
bool CZQPreview::BPosterGridShown() const {
    return m_bPoster == 1 && m_nPosterSize >= 0 && m_nPosterSize <= 3 && m_nNupIndex == 1 && m_wDuplex == 1;
}

void CZQPreview::VDrawPosterTiles() {
    if (m_bPoster != 1 || m_nPosterSize < 0 || m_nPosterSize > 3) return;
    const HDC hdc = m_hdcMem;
    const int n = m_nPosterSize + 2;
    const RECT& page = m_rcPage;
    const long long W = Width(page), H = Height(page);
    std::vector<int> xs(n + 1), ys(n + 1);
    for (int k = 0; k <= n; ++k) {
        xs[k] = static_cast<int>(page.left + k * W / n);
        ys[k] = static_cast<int>(page.top + k * H / n);
    }
    const CZQPreviewGdi black = ZQNewPen(PS_SOLID, RGB(0, 0, 0));
    const CZQPreviewGdi white = ZQOwnGdi(CreatePen(PS_SOLID, 4, RGB(255, 255, 255)));
    const CZQPreviewGdi shadow = ZQOwnGdi(CreatePen(PS_SOLID, 4, RGB(113, 113, 113)));
    const CZQPreviewGdi grey = ZQNewBrush(RGB(128, 128, 128));
    if (!black || !white || !shadow || !grey) return;

    // Grey separators between the tiles.
    for (int vertical = 1; vertical >= 0; --vertical)
        for (int k = 1; k < n; ++k) {
            const RECT strip = vertical ? RECT{xs[k] - 1, page.top, xs[k] + 1, page.bottom}
                                        : RECT{page.left, ys[k] - 1, page.right, ys[k] + 1};
            Rectangle(hdc, strip.left, strip.top, strip.right, strip.bottom);
            FillRect(hdc, &strip, static_cast<HBRUSH>(grey.Get()));
        }
    // A tile left out is light grey; a printed one shows the page in a white frame.
    CZQSelectObject keepPen(hdc, black.Get());
    CZQSelectObject keepBrush(hdc, GetStockObject(HOLLOW_BRUSH));
    for (int i = 0; i < n * n; ++i) {
        const int r = i / n, c = i % n;
        const bool firstColumn = c == 0, firstRow = r == 0, lastColumn = c == n - 1, lastRow = r == n - 1;
        const RECT outer = {firstColumn ? page.left : xs[c] + 1, firstRow ? page.top : ys[r] + 1,
                            lastColumn ? page.right : xs[c + 1] - 1, lastRow ? page.bottom : ys[r + 1] - 1};
        SelectObject(hdc, black.Get());
        SelectObject(hdc, GetStockObject(m_abPosterTile[i] ? HOLLOW_BRUSH : LTGRAY_BRUSH));
        Rectangle(hdc, outer.left, outer.top, outer.right, outer.bottom);
        if (!m_abPosterTile[i]) continue;
        // The 5 x 5 grid insets its first column and row like the others.
        const int first = n == 5 ? 4 : 3;
        SelectObject(hdc, white.Get());
        SelectObject(hdc, GetStockObject(HOLLOW_BRUSH));
        Rectangle(hdc, xs[c] + (firstColumn ? first : 4), ys[r] + (firstRow ? first : 4),
                  lastColumn ? page.right - 3 : xs[c + 1] - 3, lastRow ? page.bottom - 3 : ys[r + 1] - 3);
    }
    // The poster's shadow under and beside it.
    SelectObject(hdc, shadow.Get());
    ZQLine(hdc, page.left + 1, page.bottom + 2, page.right, page.bottom + 2);
    ZQLine(hdc, page.right + 2, page.top + 2, page.right + 2, page.bottom + 2);
}

// ---------------------------------------------------------------------------------------------
// Cover sheets
// ---------------------------------------------------------------------------------------------
void CZQPreview::VSetShadowOffsets() {
    RECT window = {};
    if (m_hwndActive && GetWindowRect(m_hwndActive, &window)) {
        MapWindowPoints(nullptr, m_hwndActive, reinterpret_cast<POINT*>(&window), 2);
        m_rcClient = window;
    }
    const int fx = (Width(m_rcClient) - Width(m_rcSheet)) / 2;
    const int fy = (Height(m_rcClient) - Height(m_rcSheet)) / 2;
    // A window with no room round the sheet stacks the covers closer.
    const bool tight = fx <= 0 || fy <= 0;
    const int dx = tight ? 4 : 8, dy = tight ? 3 : 6;
    // The right-to-left orders stack toward the left.
    const int sign = m_nPageOrder / 2 != 0 ? -1 : 1;
    m_anShadow[0] = m_anShadow[1] = sign * dx;
    m_anShadow[2] = m_anShadow[3] = dy;
}

void CZQPreview::VDrawBackCovers() {
    const int* cover = m_anCoverFlags;  // front from feeder, front, back, back from feeder
    if (!cover[2] && !cover[3]) return;
    const HDC hdc = m_hdcMem;
    const int dx1 = m_anShadow[0], dx2 = m_anShadow[1], dy1 = m_anShadow[2], dy2 = m_anShadow[3];
    const RECT& s = m_rcSheet;
    const CZQPreviewGdi feeder = ZQNewBrush(kFeederCover);
    const CZQPreviewGdi back = ZQNewBrush(kCover);
    CZQSelectObject keepPen(hdc, GetStockObject(BLACK_PEN));
    CZQSelectObject keepBrush(hdc, feeder.Get());
    if (cover[3]) {
        // Behind the back cover when there is one.
        const int ox = cover[2] ? dx1 + dx2 : dx1, oy = cover[2] ? dy1 + dy2 : dy1;
        Rectangle(hdc, s.left - ox, s.top - oy + 1, s.right - ox, s.bottom - oy + 1);
    }
    if (cover[2]) {
        SelectObject(hdc, back.Get());
        Rectangle(hdc, s.left - dx1, s.top - dy1, s.right - dx1, s.bottom - dy1);
    }
}

void CZQPreview::VDrawFrontCovers() {
    const int* cover = m_anCoverFlags;
    if (!cover[0] && !cover[1]) return;
    const int w = Width(m_rcSheet), h = Height(m_rcSheet);
    if (w <= 0 || h <= 0) return;
    // The layer goes before its DC: the DC is deleted first.
    const CZQPreviewGdi bitmap = ZQOwnGdi(CreateCompatibleBitmap(m_hdcMem, w, h));
    const CZQPreviewDC layer = ZQOwnDC(CreateCompatibleDC(m_hdcMem));
    if (!bitmap || !layer) return;
    CZQSelectObject select(layer.Get(), bitmap.Get());
    // What no cover fills leaves the sheet as it is.
    PatBlt(layer.Get(), 0, 0, w, h, WHITENESS);
    if (cover[1]) VFillFrontCoverLayer(layer.Get());
    if (cover[0]) VFillFeederCoverLayer(layer.Get());
    VCompositeFrontCovers(layer.Get());
}

void CZQPreview::VFillFrontCoverLayer(HDC hdcLayer) {
    const CZQPreviewGdi brush = ZQNewBrush(kCover);
    CZQSelectObject keepPen(hdcLayer, GetStockObject(NULL_PEN));
    CZQSelectObject keepBrush(hdcLayer, brush.Get());
    Rectangle(hdcLayer, 0, 0, Width(m_rcSheet), Height(m_rcSheet));
}

void CZQPreview::VFillFeederCoverLayer(HDC hdcLayer) {
    const int w = Width(m_rcSheet), h = Height(m_rcSheet);
    // Under the front cover the feeder's cover shows where it lies beyond it.
    const int x0 = m_anCoverFlags[1] ? m_anShadow[1] : 0, y0 = m_anCoverFlags[1] ? m_anShadow[3] : 0;
    const CZQPreviewGdi brush = ZQNewBrush(kFeederCover);
    CZQSelectObject keepPen(hdcLayer, GetStockObject(NULL_PEN));
    CZQSelectObject keepBrush(hdcLayer, brush.Get());
    Fill(hdcLayer, x0, y0, m_nBooklet == 2 ? w - x0 : w + x0, h + y0);
}

void CZQPreview::VCompositeFrontCovers(HDC hdcLayer) {
    const HDC hdc = m_hdcMem;
    const int* cover = m_anCoverFlags;
    const RECT& s = m_rcSheet;
    const int w = Width(s), h = Height(s);
    const int dx1 = m_anShadow[0], dy1 = m_anShadow[2];
    const int sign = m_nBooklet == 2 ? -1 : 1;
    const int edge = m_nPageOrder / 2 == 0 ? s.right : s.left;
    // The sheet under the covers takes their tint.
    BitBlt(hdc, s.left + sign * dx1, s.top + dy1, w, h, hdcLayer, 0, 0, SRCAND);

    const CZQPreviewGdi coverBrush = ZQNewBrush(kCover);
    const CZQPreviewGdi feederBrush = ZQNewBrush(kFeederCover);
    CZQSelectObject keepPen(hdc, GetStockObject(NULL_PEN));
    CZQSelectObject keepBrush(hdc, coverBrush.Get());
    // The edges of each cover beyond the sheet: its bottom and its side.
    auto edges = [&](int ox, int oy) {
        const int x = sign * (dx1 + ox);
        Fill(hdc, s.left + x, s.bottom, s.right + x, s.bottom + dy1 + oy);
        Fill(hdc, edge, s.top + dy1 + oy, edge + x, s.bottom + dy1 + oy);
    };
    const int ox = cover[1] ? m_anShadow[1] : 0, oy = cover[1] ? m_anShadow[3] : 0;
    if (cover[1]) edges(0, 0);
    if (cover[0]) {
        SelectObject(hdc, feederBrush.Get());
        edges(ox, oy);
    }
    SelectObject(hdc, GetStockObject(BLACK_PEN));
    SelectObject(hdc, GetStockObject(HOLLOW_BRUSH));
    if (cover[1]) Rectangle(hdc, s.left + sign * dx1, s.top + dy1, s.right + sign * dx1, s.bottom + dy1);
    if (cover[0]) {
        const int x = sign * (dx1 + ox);
        Rectangle(hdc, s.left + x, s.top + dy1 + oy, s.right + x, s.bottom + dy1 + oy);
    }
}
