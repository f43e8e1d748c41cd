// The sample content of a page: text lines, the letter E, the bar chart, the page number and the
// watermark.
#include <algorithm>
#include <cmath>

#include "common/zqstrings.h"
#include "preview/zqpreview.h"
#include "preview/zqpreviewgdi.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
// Text heights beyond this are larger than any preview control.
constexpr long long kMaxTextHeight = 4096;
// Shades of the watermark's colour, lightest first.
constexpr BYTE kWatermarkShades[10] = {215, 185, 165, 135, 120, 100, 70, 50, 30, 0};

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

int TextHeight(long long height) {
    return static_cast<int>(std::max(-kMaxTextHeight, std::min(height, kMaxTextHeight)));
}

// Keeps the DC's text colour and background mode.
class CTextState {
public:
    explicit CTextState(HDC hdc) : m_hdc(hdc), m_color(GetTextColor(hdc)), m_mode(SetBkMode(hdc, TRANSPARENT)) {}
    ~CTextState() {
        SetTextColor(m_hdc, m_color);
        if (m_mode) SetBkMode(m_hdc, m_mode);
    }
    CTextState(const CTextState&) = delete;
    CTextState& operator=(const CTextState&) = delete;

private:
    HDC m_hdc;
    COLORREF m_color;
    int m_mode;
};

}  // namespace

bool CZQPreview::BScaledContent() const {
    return !m_bLargeFormat || (m_nPageLanguage == 5 && m_bInchesUnscaled);
}

POINT CZQPreview::PtReducedOffset(bool bChartInset) const {
    if (m_bCenterOnPage)
        return {Width(m_rcPage) / 2 - m_nCellWidth / 2,
                Height(m_rcPage) / 2 - m_nCellHeight / 2 - (bChartInset ? m_nInset : 0)};
    const int away = m_nGap - m_nInset;
    return {away, bChartInset ? 0 : away};
}

void CZQPreview::VDrawTextLines(int iPage, int dx, int dy) {
    const HDC hdc = m_hdcMem;
    const int i0 = m_anMarginInset[0], i1 = m_anMarginInset[1], i2 = m_anMarginInset[2];
    int x0 = m_rcCell.left + m_nInset - dx;
    // Offsets move the content: its far end too, so that it keeps off a sheet's trimmed edge.
    int x1 = m_rcCell.right - m_nInset - dx;
    int xm = x0 / 2 + x1 / 2;
    int y = m_rcCell.top + m_nInset - dy;
    int yEnd = std::min(m_rcPage.bottom - m_nGap, m_rcCell.bottom - m_nInset) - dy;
    if (m_bLargeFormat && m_bWithMargins && m_nMarginLayout != 2) {
        // The printable margins, and the text inside them.
        const CZQPreviewGdi dotted = ZQNewPen(PS_DOT, RGB(0, 0, 0));
        const RECT margins = {x0 + i0, y + i2, x1 - i0, yEnd - i2};
        ZQOutline(hdc, margins, dotted.Get());
        xm = (margins.left + margins.right) / 2;
        x0 += i0 + i1;
        x1 -= i0 + i1;
        y += i2 + i1;
        yEnd -= i2 + i1;
    }
    const CZQPreviewGdi pen = ZQNewPen(PS_SOLID, CrPreviewColor(128, 128, 128));
    CZQSelectObject selectPen(hdc, pen.Get());
    if (BScaledContent() && m_nScale < 100) {
        const POINT move = PtReducedOffset(false);
        x0 += move.x;
        x1 += move.x;
        xm += move.x;
        y += move.y;
        yEnd += move.y;
    } else if (BScaledContent() && m_nScale > 100) {
        x1 = m_rcPage.right;
        if (xm < x0 || xm > x1) xm = x1;
    }
    // Paragraphs: an indented first line, full lines, a half line at the end.
    const int pitch = std::max(m_nLinePitch, 2);
    const int paragraph = std::max(static_cast<int>(m_rcCell.bottom - m_nInset - y) / 4, 3 * pitch);
    const bool bookletFront = m_nBooklet && iPage == 1;
    int left = 0, paragraphs = 0;
    bool first = true;
    for (; y < yEnd; y += pitch) {
        if (first) {
            ZQLine(hdc, x0 + m_nInset, y, x1, y);
            left = paragraph;
            first = false;
        } else if (left > 0) {
            ZQLine(hdc, x0, y, x1, y);
        } else {
            ZQLine(hdc, x0, y, xm, y);
            first = true;
            // The booklet's cover page holds two paragraphs.
            if (bookletFront && ++paragraphs == 2) break;
        }
        left -= pitch;
    }
}

void CZQPreview::VDrawLetterE(int dx, int dy) {
    const HDC hdc = m_hdcMem;
    const int u = std::max(std::min(m_nCellWidth - 2 * m_nInset, m_nCellHeight - 2 * m_nInset) / 4 / 5, 1);
    int x = m_rcCell.left + m_nInset - dx + m_anMarginInset[0];
    int y = m_rcCell.top + m_nInset - dy + m_anMarginInset[2];
    if (BScaledContent() && m_nScale < 100) {
        const POINT move = PtReducedOffset(false);
        x += move.x;
        y += move.y;
    }
    const RECT back = {x - 1, y - 1, x + 5 * u + 1, y + 5 * u + 2};
    FillRect(hdc, &back, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const POINT e[12] = {{x, y},
                         {x, y + 5 * u},
                         {x + 4 * u + 1, y + 5 * u},
                         {x + 4 * u + 1, y + 4 * u},
                         {x + u + 1, y + 4 * u},
                         {x + u + 1, y + 3 * u},
                         {x + 3 * u + 1, y + 3 * u},
                         {x + 3 * u + 1, y + 2 * u},
                         {x + u + 1, y + 2 * u},
                         {x + u + 1, y + u},
                         {x + 4 * u + 1, y + u},
                         {x + 4 * u + 1, y}};
    const bool grey = m_bGrayscale || !m_bColorOutput;
    const CZQPreviewGdi brush = ZQNewBrush(grey     ? CrPreviewColor(64, 64, 64)
                                           : m_bTint ? CrTintedColor(64, 64, 64)
                                                     : CrPreviewColor(0, 0, 255));
    CZQSelectObject selectPen(hdc, GetStockObject(NULL_PEN));
    CZQSelectObject selectBrush(hdc, brush.Get());
    Polygon(hdc, e, 12);
}

void CZQPreview::VDrawBarChart(int dx, int dy) {
    const HDC hdc = m_hdcMem;
    const int half = std::min(m_nCellWidth - 2 * m_nInset, m_nCellHeight - 2 * m_nInset) / 2;
    const int u = std::max(half / 10, 1);
    const int i0 = m_anMarginInset[0], i2 = m_anMarginInset[2];
    RECT square = {m_rcCell.left + m_nInset - dx + i0, m_rcCell.bottom - m_nInset - half - dy - i2,
                   m_rcCell.left + m_nInset + half - dx + i0, m_rcCell.bottom - m_nInset - dy - i2};
    if (BScaledContent() && m_nScale < 100) {
        const POINT move = PtReducedOffset(true);
        OffsetRect(&square, move.x, move.y);
    }
    if (square.top > m_rcPage.bottom - m_nGap) return;
    const int k = m_nScale / 100;
    OffsetRect(&square, 2 * k, -2 * k);
    InflateRect(&square, 3 * k, 3 * k);
    FillRect(hdc, &square, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    InflateRect(&square, -2 * k, -2 * k);

    // Red, yellow, green and blue bars standing on the bottom edge.
    struct Bar {
        int from, top;
        BYTE r, g, b, grey;
    };
    static const Bar kBars[4] = {{1, 7, 255, 0, 0, 117}, {3, 4, 255, 255, 0, 243}, {5, 5, 0, 255, 0, 204},
                                 {7, 2, 0, 0, 255, 64}};
    const bool grey = m_bGrayscale || !m_bColorOutput;
    for (const Bar& bar : kBars) {
        // Through the tint the blue bar is a dark grey, as the E is.
        const bool blue = &bar == &kBars[3];
        const COLORREF color = grey      ? CrPreviewColor(bar.grey, bar.grey, bar.grey)
                               : !m_bTint ? CrPreviewColor(bar.r, bar.g, bar.b)
                               : blue     ? CrTintedColor(64, 64, 64)
                                          : CrTintedColor(bar.r, bar.g, bar.b);
        const CZQPreviewGdi brush = ZQNewBrush(color);
        const RECT r = {square.left + bar.from * u, square.top + bar.top * u, square.left + (bar.from + 2) * u,
                        square.bottom};
        FillRect(hdc, &r, static_cast<HBRUSH>(brush.Get()));
    }
    ZQOutline(hdc, square, GetStockObject(BLACK_PEN));
}

void CZQPreview::VDrawPageNumber(int iPage) {
    const HDC hdc = m_hdcMem;
    WCHAR text[16];
    ZQFormatText(text, _countof(text), L"%d", iPage);
    const int length = static_cast<int>(wcslen(text));
    const long long perInch = GetDeviceCaps(hdc, LOGPIXELSY) * 400 / 72;
    const long long pageSide = std::max(std::min(Width(m_rcPage), Height(m_rcPage)), 1);
    const long long height = -(perInch * std::min(m_nCellWidth, m_nCellHeight) / pageSide) / 11;
    const CZQPreviewGdi font =
        ZQOwnGdi(CreateFontW(TextHeight(height), 0, 0, 0, m_nNupIndex == 6 ? 500 : FW_BOLD, FALSE, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                             L"Arial"));
    if (!font) return;
    CZQSelectObject selectFont(hdc, font.Get());
    SIZE size = {};
    GetTextExtentPoint32W(hdc, text, length, &size);
    int x = (m_rcCell.left + m_rcCell.right) / 2 - size.cx / 2;
    int y = (m_rcCell.top + m_rcCell.bottom) / 2 - size.cy / 2;
    if (m_nScale < 100) {
        x += m_nGap - m_nInset;
        y += m_nGap - m_nInset;
    }
    VDrawOutlinedText(hdc, x, y, text, length);
}

void CZQPreview::VDrawOutlinedText(HDC hdc, int x, int y, const WCHAR* pszText, int cch) const {
    CTextState state(hdc);
    if (BRightToLeftDC()) x -= 1;
    // A white outline round blue, never lightened.
    SetTextColor(hdc, RGB(255, 255, 255));
    ExtTextOutW(hdc, x - 1, y - 1, ETO_CLIPPED, nullptr, pszText, cch, nullptr);
    ExtTextOutW(hdc, x + 1, y + 1, ETO_CLIPPED, nullptr, pszText, cch, nullptr);
    SetTextColor(hdc, RGB(0, 0, 255));
    ExtTextOutW(hdc, x, y, ETO_CLIPPED, nullptr, pszText, cch, nullptr);
}

POINT CZQPreview::PtTurnedTextStart(POINT centre, SIZE size, int iAngle, double* pdStart) {
    const int halfX = size.cx / 2, halfY = size.cy / 2;
    const double radius = std::hypot(halfX, halfY);
    if (halfX) *pdStart = kPi - std::atan(static_cast<double>(halfY) / halfX);
    double turn = iAngle * kPi / 180.0 + *pdStart;
    if (turn >= 2 * kPi) turn = std::fmod(turn, 2 * kPi);
    return {centre.x + static_cast<int>(std::cos(turn) * radius), centre.y - static_cast<int>(std::sin(turn) * radius)};
}

void CZQPreview::VDrawWatermark() {
    const HDC hdc = m_hdcMem;
    const int length = static_cast<int>(wcslen(m_szWatermarkText));
    if (m_bSuppressWatermark == 1 || length == 0) return;
    // The text is as large on the cell as it would be on the whole page.
    const RECT& reference = m_nNupIndex > 1 ? m_rcSheet : m_rcPage;
    const long long referenceSide = std::max(std::min(Width(reference), Height(reference)), 1);
    const long long cellSide = std::min(Width(m_rcCell), Height(m_rcCell));
    long long height = -static_cast<long long>(MulDiv(m_nWatermarkSize / 10, GetDeviceCaps(hdc, LOGPIXELSY), 72)) *
                       cellSide / referenceSide / m_nNupIndex;
    if (height == 0) height = -1;
    const bool bold = m_nWatermarkStyle == 1 || m_nWatermarkStyle == 3;
    const bool italic = m_nWatermarkStyle == 2 || m_nWatermarkStyle == 3;

    // The clip, and the point the turned text's middle goes to.
    RECT clip = m_rcCell;
    POINT centre = {(m_rcCell.left + m_rcCell.right) / 2, (m_rcCell.top + m_rcCell.bottom) / 2};
    POINT move = {0, 0};
    if (m_nScale < 100) {
        // The clip follows the text when reduced content is centred on the page.
        move = m_bCenterOnPage ? PtReducedOffset(false) : POINT{m_nGap - m_nInset, m_nGap - m_nInset};
        if (m_bCenterOnPage) OffsetRect(&clip, move.x, move.y);
    }
    // Drawn at its size: the cell clips what goes beyond it.
    const CZQPreviewGdi font = ZQOwnGdi(CreateFontW(TextHeight(height), 0, (m_nWatermarkAngle % 360) * 10, 0,
                                                    bold ? FW_BOLD : FW_NORMAL, italic, FALSE, FALSE, DEFAULT_CHARSET,
                                                    OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                                                    m_szFontFace));
    if (!font) return;
    SIZE size = {};
    {
        CZQSelectObject measure(hdc, font.Get());
        GetTextExtentPoint32W(hdc, m_szWatermarkText, length, &size);
        TEXTMETRICW metrics = {};
        GetTextMetricsW(hdc, &metrics);
        if (size.cx == 0x7FFF) {
            size.cx = 0;
            for (int i = 0; i < length; ++i) {
                SIZE one = {};
                GetTextExtentPoint32W(hdc, &m_szWatermarkText[i], 1, &one);
                size.cx += one.cx;
            }
        }
        size.cy += metrics.tmExternalLeading;
    }

    // A shade the table does not hold takes the default colour.
    COLORREF color = m_crWatermarkDefault;
    if (m_nWatermarkShade >= 0 && m_nWatermarkShade < 10) {
        const BYTE s = kWatermarkShades[m_nWatermarkShade];
        switch (m_bGrayscale ? 0 : m_nWatermarkColor) {
            case 1: color = RGB(255, s, s); break;
            case 2: color = RGB(255, 255, s); break;
            case 3: color = RGB(s, 255, s); break;
            case 4: color = RGB(s, 255, 255); break;
            case 5: color = RGB(s, s, 255); break;
            case 6: color = RGB(255, s, 255); break;
            default: color = RGB(s, s, s); break;
        }
    }
    if (m_bTint && !m_bGrayscale) color = CrTintColor(64, 64, 64);
    color = CrPreviewColor(GetRValue(color), GetGValue(color), GetBValue(color));

    CZQSelectObject selectFont(hdc, font.Get());
    CTextState state(hdc);
    // The start point that puts the middle of the turned text on the cell's centre.
    double start = 0.0;
    const POINT at = PtTurnedTextStart(centre, size, m_nWatermarkAngle, &start);
    int x = at.x + move.x, y = at.y + move.y;
    if (BRightToLeftDC()) x -= 1;

    if (GetDeviceCaps(hdc, BITSPIXEL) == 8) {
        // Palette displays: the colour is laid over the cell and taken off again where the text
        // did not go.
        const CZQPreviewGdi brush = ZQNewBrush(color);
        CZQSelectObject selectBrush(hdc, brush.Get());
        PatBlt(hdc, clip.left, clip.top, Width(clip), Height(clip), PATINVERT);
        SetTextColor(hdc, RGB(0, 0, 0));
        ExtTextOutW(hdc, x, y, ETO_CLIPPED, &clip, m_szWatermarkText, length, nullptr);
        PatBlt(hdc, clip.left, clip.top, Width(clip), Height(clip), PATINVERT);
    } else {
        SetTextColor(hdc, color);
        ExtTextOutW(hdc, x, y, ETO_CLIPPED, &clip, m_szWatermarkText, length, nullptr);
    }
}

void CZQPreview::VDrawDashedCellFrame() {
    const CZQPreviewGdi dashed = ZQNewPen(PS_DASH, RGB(0, 0, 0));
    RECT frame = m_rcCell;
    InflateRect(&frame, -3, -7);
    ZQOutline(m_hdcMem, frame, dashed.Get());
}
