// Papers that are not shown as a sample page: envelopes, and banner paper drawn as a strip folded
// in three slanted panels.
#include <algorithm>

#include "common/zqstrings.h"
#include "preview/zqpreview.h"
#include "preview/zqpreviewgdi.h"

namespace {

// The numbers' anchors are worked out in 16 bits.
int Short(int v) { return static_cast<short>(v); }

}  // namespace

void CZQPreview::VDrawEnvelope(HDC hdc, int iPage) {
    const bool several = m_nNupIndex > 1;
    if (several) {
        FillRect(hdc, &m_rcCell, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        if (m_bPageBorders) {
            const CZQPreviewGdi border = ZQNewPen(PS_SOLID, CrPreviewColor(0, 0, 0));
            ZQOutline(hdc, m_rcCell, border.Get());
        }
    }
    if (m_bFitToPage && !m_bSameSize && !m_nBooklet) {
        const CZQPreviewGdi dotted = ZQNewPen(PS_DOT, RGB(128, 128, 128));
        ZQOutline(hdc, m_rcCell, dotted.Get());
        ZQOutline(hdc, m_rcSheet, GetStockObject(BLACK_PEN));
    }
    RECT clip = several || m_bFitToPage ? m_rcSheet : m_rcPage;
    LPtoDP(hdc, reinterpret_cast<POINT*>(&clip), 2);
    {
        const CZQPreviewGdi region =
            ZQOwnGdi(CreateRectRgn(clip.left + 1, clip.top + 1, clip.right - 2, clip.bottom - 2));
        SelectClipRgn(hdc, static_cast<HRGN>(region.Get()));
    }
    {
        const CZQPreviewGdi pen = ZQNewPen(PS_SOLID, CrPreviewColor(128, 128, 128));
        CZQSelectObject selectPen(hdc, pen.Get());
        // The sender at the top left, one fifth of the envelope wide; the address in the middle,
        // two fifths wide.
        const int w = m_nCellWidth / 5;
        POINT sender = {m_rcCell.left + m_nInset, m_rcCell.top + m_nInset};
        POINT address = {sender.x + 2 * w, sender.y + 2 * m_nCellHeight / 5};
        if (m_nScale < 100) {
            if (m_bCenterOnPage) {
                const POINT move = PtReducedOffset(false);
                for (POINT* p : {&sender, &address}) {
                    p->x += move.x;
                    p->y += move.y;
                }
            } else {
                sender = {m_rcCell.left + m_nGap, m_rcCell.top + m_nGap};
            }
        }
        for (int i = 0; i < 3; ++i)
            ZQLine(hdc, sender.x, sender.y + i * m_nLinePitch, sender.x + w, sender.y + i * m_nLinePitch);
        for (int i = 0; i < 4; ++i)
            ZQLine(hdc, address.x, address.y + i * m_nLinePitch, address.x + 2 * w, address.y + i * m_nLinePitch);
    }
    if (m_nLayoutKind == 3 && (iPage == 1 || m_nWatermarkPages != 1)) VDrawWatermark();
    if (several && !m_nBooklet) VDrawPageNumber(iPage);
    SelectClipRgn(hdc, nullptr);
}

void CZQPreview::VDrawBanner() {
    const HDC hdc = m_hdcMem;
    const int L = m_rcPage.left, T = m_rcPage.top, m = m_nInset;
    const int pw = m_nCellWidth, ph = m_nCellHeight, w3 = pw / 3, h3 = ph / 3;
    const bool portrait = m_wOrientation != 2;
    const CZQPreviewGdi black = ZQNewPen(PS_SOLID, CrPreviewColor(0, 0, 0));
    const CZQPreviewGdi dotted = ZQNewPen(PS_DOT, CrPreviewColor(0, 0, 0));
    const CZQPreviewGdi grey = ZQNewBrush(CrPreviewColor(128, 128, 128));
    CZQSelectObject keepPen(hdc, black.Get());
    CZQSelectObject keepBrush(hdc, GetStockObject(WHITE_BRUSH));
    const int mode = SetBkMode(hdc, TRANSPARENT);
    const long long perInch = GetDeviceCaps(hdc, LOGPIXELSY) * 400LL / 72;

    int number = 1;
    double start = 0.0;  // the last start angle of a number, kept from one to the next
    for (int k = 1; k <= 3; ++k) {
        POINT P[4];
        if (portrait && k != 2)
            P[0] = {L + w3, T + (k - 1) * h3}, P[1] = {L + pw - 1, T + (k - 1) * h3},
            P[2] = {L + 2 * w3, T + k * h3 - 1}, P[3] = {L, T + k * h3 - 1};
        else if (portrait)
            P[0] = {L, T + h3 - 1}, P[1] = {L + 2 * w3, T + h3 - 1}, P[2] = {L + pw - 1, T + 2 * h3},
            P[3] = {L + w3, T + 2 * h3};
        else if (k != 2)
            P[0] = {L + (k - 1) * w3, T}, P[1] = {L + k * w3, T + h3}, P[2] = {L + k * w3, T + ph - 1},
            P[3] = {L + (k - 1) * w3, T + 2 * h3 - 1};
        else
            P[0] = {L + w3, T + h3}, P[1] = {L + 2 * w3, T}, P[2] = {L + 2 * w3, T + 2 * h3 - 1},
            P[3] = {L + w3, T + ph - 1};
        const int x1 = P[0].x, y1 = P[0].y, x2 = P[1].x, y2 = P[1].y, x3 = P[2].x, y3 = P[2].y, x4 = P[3].x,
                  y4 = P[3].y;
        SelectObject(hdc, black.Get());
        Polygon(hdc, P, 4);

        // Sample text lines, slanted with the landscape panels.
        auto lines = [&](int y, int yEnd, int step, auto draw) {
            for (int i = 0; y < yEnd; ++i) {
                y += step;
                draw(i, y);
            }
        };
        if (portrait && k != 2) {
            lines(y1 + 3, y3 - m, 3, [&](int i, int y) {
                if (i < 4 || (k == 1 && i > 9)) ZQLine(hdc, (x2 - x1) / 2 + x1 - 2 * i - 2, y, x2 - 2 * i - 2 - m, y);
            });
        } else if (portrait) {
            lines(y1, y3 - m, 3, [&](int i, int y) {
                if (i < 4 || i > 9) ZQLine(hdc, (x2 - x1) / 2 + x1 + 2 * i + 5, y, x2 + 2 * i + 5 - m, y);
            });
        } else if (k != 2) {
            lines(y1 + 3 * m, y3 / 2 - m, 4, [&](int i, int y) {
                if (i < 4) ZQLine(hdc, x1 + 2 * m, y, x2 - m / 2, y + m);
            });
            lines(y2 + 5 * m, y3 - m, 4, [&](int i, int y) {
                if (k == 1 && i < 4) ZQLine(hdc, x1 + 4 * m, y, x2 - 3 * m, y - m);
            });
        } else {
            lines(y1, y4, 4, [&](int i, int y) {
                if (i < 4) ZQLine(hdc, x1 + 2 * m, y - m, x2 - m / 2, y - 2 * m);
            });
            lines(y1 - 5 + 5 * m, y4 - m, 4, [&](int i, int y) {
                if (i < 4) ZQLine(hdc, x1 + m, y, x2 - m, y - m);
            });
        }

        // Numbers 1 to 5, two to a panel, turned with the panel.
        const int angle = portrait ? (k == 1 ? -35 : k == 2 ? 35 : -20) : (k == 2 ? 5 : -5);
        const int a = portrait ? x4 - x3 : x2 - x1, d = y3 - y2;
        const int M = std::min(a, d), t = a / 3, s = std::min(t, d);
        for (int slot = 0; slot < 2 && number < 6 && M != 0; ++slot, ++number) {
            POINT anchor;
            if (portrait && k != 2)
                anchor = slot == 0 ? POINT{x1 + m + 5 + t / 6, y1 + m - 3 + d / 12}
                                   : POINT{x4 + m + 24 + t / 6, y1 + m - 3 + 2 * d / 3};
            else if (portrait)
                anchor = slot == 0 ? POINT{x1 + 2 * m + 12 + t / 6, y1 + m + d / 12} : POINT{x4 + m - t / 6, y4 - m};
            else if (k != 2)
                anchor = slot == 0 ? POINT{x1 + m, y1 - 3 + 3 * m} : POINT{x1 + 3 * m, y2 + 3 + 3 * m};
            else
                anchor = slot == 0 ? POINT{x1 + m, y1 + m} : POINT{x1 + 4 * m, y1 + 3 * m};
            anchor = {Short(anchor.x), Short(anchor.y)};
            const long long height = -((perInch * s / M) / 11);
            const CZQPreviewGdi font =
                ZQOwnGdi(CreateFontW(static_cast<int>(std::max(std::min(height, 4096LL), -4096LL)), 0, angle * 10, 0,
                                     600, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_TT_PRECIS, 0, 0, 0, L"Arial"));
            if (!font) continue;
            CZQSelectObject selectFont(hdc, font.Get());
            WCHAR text[5];
            ZQFormatText(text, _countof(text), L"%d", number);
            const int length = static_cast<int>(wcslen(text));
            SIZE size = {};
            GetTextExtentPoint32W(hdc, text, length, &size);
            const POINT at = PtTurnedTextStart(anchor, size, angle, &start);
            VDrawOutlinedText(hdc, at.x, at.y, text, length);
        }

        // Where the strip folds onto the panel before: a white edge, dotted.
        if (k != 1) {
            const POINT to = portrait ? P[1] : P[3];
            SelectObject(hdc, GetStockObject(WHITE_PEN));
            ZQLine(hdc, x1, y1, to.x, to.y);
            SelectObject(hdc, dotted.Get());
            ZQLine(hdc, x1, y1, to.x, to.y);
        }
    }

    // The shading of the folds, over the panels.
    SelectObject(hdc, black.Get());
    SelectObject(hdc, grey.Get());
    if (portrait) {
        const POINT fold[4] = {
            {L + pw - 1, T}, {L + 2 * w3, T + h3}, {L + pw - 1, T + 2 * h3}, {L + 2 * w3 + 5, T + h3}};
        const POINT corner[3] = {
            {L + pw - 1, T + 2 * h3}, {L + 2 * w3 + 5, T + 3 * h3 - 5}, {L + 2 * w3 + 8, T + 3 * h3 - 5}};
        Polygon(hdc, fold, 4);
        Polygon(hdc, corner, 3);
    } else {
        const POINT fold[4] = {
            {L + w3, T + ph - 2}, {L + 2 * w3, T + 2 * h3}, {L + 2 * w3 + 6, T + 2 * h3 + 3}, {L + w3 + 9, T + ph - 2}};
        Polygon(hdc, fold, 4);
    }
    if (mode) SetBkMode(hdc, mode);
}
