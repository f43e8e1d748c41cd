// Sheets besides the page: the poster's tiles over the one-page picture, and cover sheets stacked
// with the sheet: back covers behind it, front covers over it, tinting what they cover.
#include <algorithm>
#include <vector>

#include "preview/zqpreview.h"
#include "preview/zqpreviewgdi.h"

namespace {

constexpr COLORREF kCover = RGB(199, 184, 199);
constexpr COLORREF kFeederCover = RGB(165, 218, 218);

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

// Fills the area between two corners given in either order, without an outline.
void FillArea(HDC hdc, int x0, int y0, int x1, int y1, HGDIOBJ brush) {
    if (!brush) return;
    const RECT area = {std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)};
    FillRect(hdc, &area, static_cast<HBRUSH>(brush));
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
    const int* cover = m_anCoverFlags;  // front from feeder, front, back, back from feeder
    if (!cover[0] && !cover[1]) return;
    const int width = Width(m_rcSheet), height = Height(m_rcSheet);
    if (width <= 0 || height <= 0) return;
    // The stack lies on a layer as large as the sheet, laid over it so that what it covers takes
    // its tint. Owners are declared so that the context goes before its bitmap.
    const CZQPreviewGdi bitmap = ZQOwnGdi(CreateCompatibleBitmap(m_hdcMem, width, height));
    const CZQPreviewDC layer = ZQOwnDC(CreateCompatibleDC(m_hdcMem));
    if (!bitmap || !layer) return;
    CZQSelectObject select(layer.Get(), bitmap.Get());
    if (cover[1]) VFillFrontCoverLayer(layer.Get());
    if (cover[0]) VFillFeederCoverLayer(layer.Get());
    VCompositeFrontCovers(layer.Get());
}

void CZQPreview::VFillFrontCoverLayer(HDC hdc) {
    const CZQPreviewGdi brush = ZQNewBrush(kCover);
    FillArea(hdc, 0, 0, Width(m_rcSheet), Height(m_rcSheet), brush.Get());
}

void CZQPreview::VFillFeederCoverLayer(HDC hdc) {
    const int width = Width(m_rcSheet), height = Height(m_rcSheet);
    // Below the front cover's own edge when there is one.
    const int x0 = m_anCoverFlags[1] ? m_anShadow[1] : 0, y0 = m_anCoverFlags[1] ? m_anShadow[3] : 0;
    const int right = m_nBooklet == 2 ? width - x0 : width + x0;
    const CZQPreviewGdi brush = ZQNewBrush(kFeederCover);
    FillArea(hdc, x0, y0, right, height + y0, brush.Get());
}

void CZQPreview::VCompositeFrontCovers(HDC hdc) {
    const int* cover = m_anCoverFlags;  // front from feeder, front, back, back from feeder
    const HDC mem = m_hdcMem;
    const RECT& sheet = m_rcSheet;
    const int L = sheet.left, T = sheet.top, R = sheet.right, B = sheet.bottom;
    const int dx1 = m_anShadow[0], dy1 = m_anShadow[2];
    // A right-to-left booklet lays its front covers out the other way.
    const int s = m_nBooklet == 2 ? -1 : 1;
    const int xe = m_nPageOrder / 2 == 0 ? R : L;
    BitBlt(mem, L + s * dx1, T + dy1, R - L, B - T, hdc, 0, 0, SRCAND);

    const CZQPreviewGdi front = ZQNewBrush(kCover);
    const CZQPreviewGdi feeder = ZQNewBrush(kFeederCover);
    // The edges beyond the sheet show the covers' own colours.
    if (cover[1]) {
        FillArea(mem, L + s * dx1, B, R + s * dx1, B + dy1, front.Get());
        FillArea(mem, xe, T + dy1, xe + s * dx1, B + dy1, front.Get());
    }
    const int ox = cover[1] ? m_anShadow[1] : 0, oy = cover[1] ? m_anShadow[3] : 0;
    if (cover[0]) {
        const int x = s * (dx1 + ox);
        FillArea(mem, L + x, B, R + x, B + dy1 + oy, feeder.Get());
        FillArea(mem, xe, T + dy1 + oy, xe + x, B + dy1 + oy, feeder.Get());
    }
    CZQSelectObject pen(mem, GetStockObject(BLACK_PEN));
    CZQSelectObject brush(mem, GetStockObject(HOLLOW_BRUSH));
    if (cover[1]) Rectangle(mem, L + s * dx1, T + dy1, R + s * dx1, B + dy1);
    if (cover[0]) {
        const int x = s * (dx1 + ox);
        Rectangle(mem, L + x, T + dy1 + oy, R + x, B + dy1 + oy);
    }
}
