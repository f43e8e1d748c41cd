// What the finisher does to the sheet: staples, saddle stitches, punch holes and folds, drawn over
// the finished sheet. A page printed turned by 180 degrees carries its marks at the opposite
// corner or edge.
#include <algorithm>
#include <initializer_list>
#include <utility>
#include <vector>

#include "preview/zqpreview.h"
#include "preview/zqpreviewgdi.h"
#include "res/zqpreviewids.h"

namespace {

constexpr COLORREF kZone = RGB(0, 255, 0);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kHole = RGB(255, 0, 0);

// One routine's pen and zone brush over the sheet; the DC's pen, brush and background mode go
// back when it ends.
class CSheetMarks {
public:
    CSheetMarks(HDC hdc, const RECT& sheet, bool bRotated, int iStyle, int iWidth, COLORREF cr)
        : L(sheet.left),
          T(sheet.top),
          R(sheet.right),
          B(sheet.bottom),
          W(R - L),
          H(B - T),
          m_hdc(hdc),
          m_bRotated(bRotated),
          m_pen(ZQOwnGdi(CreatePen(iStyle, iWidth, cr))),
          m_zone(ZQNewBrush(kZone)),
          m_keepPen(hdc, m_pen.Get()),
          m_keepBrush(hdc, GetStockObject(HOLLOW_BRUSH)),
          m_mode(SetBkMode(hdc, TRANSPARENT)) {}
    ~CSheetMarks() {
        if (m_mode) SetBkMode(m_hdc, m_mode);
    }
    CSheetMarks(const CSheetMarks&) = delete;
    CSheetMarks& operator=(const CSheetMarks&) = delete;

    // A green area without outline, corners in any order.
    void Zone(int x0, int y0, int x1, int y1) const {
        const HGDIOBJ pen = SelectObject(m_hdc, GetStockObject(NULL_PEN));
        const HGDIOBJ brush = SelectObject(m_hdc, m_zone.Get());
        Rectangle(m_hdc, std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1));
        SelectObject(m_hdc, brush);
        SelectObject(m_hdc, pen);
    }
    void Line(int x0, int y0, int x1, int y1) const { ZQLine(m_hdc, x0, y0, x1, y1); }
    // The same, reflected through the sheet's centre when the page is turned.
    int X(int x) const { return m_bRotated ? L + R - x : x; }
    int Y(int y) const { return m_bRotated ? T + B - y : y; }
    void TurnedZone(int x0, int y0, int x1, int y1) const { Zone(X(x0), Y(y0), X(x1), Y(y1)); }
    void TurnedLine(int x0, int y0, int x1, int y1) const { Line(X(x0), Y(y0), X(x1), Y(y1)); }
    bool Rotated() const { return m_bRotated; }
    HDC Dc() const { return m_hdc; }
    HGDIOBJ Pen() const { return m_pen.Get(); }

    const int L, T, R, B, W, H;

private:
    HDC m_hdc;
    bool m_bRotated;
    CZQPreviewGdi m_pen;
    CZQPreviewGdi m_zone;
    CZQSelectObject m_keepPen;
    CZQSelectObject m_keepBrush;
    int m_mode;
};

using Span = std::pair<int, int>;

}  // namespace

// ---------------------------------------------------------------------------------------------
// Staples and stitches
// ---------------------------------------------------------------------------------------------
void CZQPreview::VDrawStapleMarks() {
    const bool landscape = m_wSheetOrientation == 2;
    // Letter and A4 sheets take their staples along the other edge; turned content on a landscape
    // Letter/A4 sheet keeps the left edge.
    bool topBlock = landscape == (m_bLetterOrA4 != 0);
    if (landscape && m_bLetterOrA4 && m_nContentOrientation) topBlock = false;
    const CSheetMarks k(m_hdcMem, m_rcSheet, m_bRotated != 0, PS_SOLID, 2, kBlack);
    const int L = k.L, T = k.T, R = k.R, B = k.B, W = k.W, H = k.H;
    const bool rot = k.Rotated();
    // The staple row of the top edge and column of the left edge; turned, the opposite edge.
    const int y0 = rot ? B - 4 : T + 4;
    const int x0 = rot ? R - 4 : L + 4;
    // Positions along the block's edge: S its start, E its end, N its length.
    const int S = topBlock ? L : T, E = topBlock ? R : B, N = topBlock ? W : H;
    // Staples along the block's edge keep their positions when turned; only the edge changes.
    auto along = [&](std::initializer_list<Span> spans) {
        for (const Span& s : spans) topBlock ? k.Line(s.first, y0, s.second, y0) : k.Line(x0, s.first, x0, s.second);
    };
    auto band = [&] { topBlock ? k.TurnedZone(L + 1, T + 1, R - 1, T + 7) : k.TurnedZone(L + 1, T + 1, L + 7, B - 1); };
    auto corner = [&] {
        k.TurnedZone(L + 1, T + 1, L + 7, T + 9);
        topBlock ? k.TurnedLine(L + 3, T + 4, L + 7, T + 4) : k.TurnedLine(L + 4, T + 3, L + 4, T + 7);
    };
    const int q = (N - 12) / 2 + 4;
    switch (m_nStapleCode) {
        case 1: corner(); break;
        case 2: {
            const int off = topBlock ? 3 : 0;
            band();
            along({{S + off + N / 4, S + off + 4 + N / 4}, {E - off - N / 4, E - off - 4 - N / 4}});
            break;
        }
        case 3:
            band();
            along({{S + 3, S + 7}, {S + q, S + q + 4}, {E - 3, E - 7}});
            break;
        case 6: {
            band();
            const int gap = std::max((N - 28) / 5, 8);
            for (int i = 0; i < 6; ++i) {
                const int from = S + 2 + i * (gap + 4);
                if (from + 4 > E - 2) break;
                along({{from, from + 4}});
            }
            break;
        }
        case 7: {
            band();
            // Three grey dotted lines, the outer two toward the nearer edge.
            const CZQPreviewGdi dotted = ZQNewPen(PS_DOT, RGB(128, 128, 128));
            CZQSelectObject select(k.Dc(), dotted.Get());
            const int out = rot ? 1 : -1;
            const int c = topBlock ? y0 : x0;
            const Span lines[3] = {{S + 1, E - 3}, {S + 2, E - 2}, {S + 3, E - 1}};
            for (int i = 0; i < 3; ++i) {
                const int at = c + out * (2 - i);
                topBlock ? k.Line(lines[i].first, at, lines[i].second, at)
                         : k.Line(at, lines[i].first, at, lines[i].second);
            }
            break;
        }
        case 8:
            if (topBlock || !m_bLetterOrA4) {
                corner();
            } else {
                // A diagonal staple in the corner.
                k.TurnedZone(L + 1, T + 1, L + 7, T + 9);
                rot ? k.Line(R - 4, B - 6, R - 7, B - 4) : k.Line(L + 3, T + 5, L + 6, T + 3);
            }
            break;
        case 10:
            k.TurnedZone(R - 1, T + 1, R - 7, T + 9);
            topBlock ? k.TurnedLine(R - 3, T + 4, R - 7, T + 4) : k.TurnedLine(R - 3, T + 3, R - 3, T + 7);
            break;
        case 11:
            k.TurnedZone(R - 1, T + 1, R - 7, B - 1);
            k.TurnedLine(R - 3, T + H / 4, R - 3, T + H / 4 + 4);
            k.TurnedLine(R - 3, B - H / 4, R - 3, B - H / 4 - 4);
            break;
        case 12:
        case 13: {
            // Along the top edge in both blocks, one pixel nearer to it; turned, a band one
            // pixel deeper at the bottom.
            rot ? k.Zone(L + 1, B - 1, R - 1, B - 8) : k.Zone(L + 1, T + 1, R - 1, T + 7);
            const int y = rot ? B - 3 : T + 3;
            const int qw = (W - 12) / 2 + 4;
            const std::initializer_list<Span> spans12 = {{L + 3 + W / 4, L + 7 + W / 4},
                                                         {R - 3 - W / 4, R - 7 - W / 4}};
            const std::initializer_list<Span> spans13 = {{L + 3, L + 7}, {L + 3 + qw, L + 7 + qw}, {R - 3, R - 7}};
            for (const Span& s : m_nStapleCode == 12 ? spans12 : spans13) k.Line(s.first, y, s.second, y);
            break;
        }
        default: break;  // 4, 5 and 9 have no staples of their own
    }
}

void CZQPreview::VDrawStaplerStapleMarks() {
    const CSheetMarks k(m_hdcMem, m_rcSheet, m_bRotated != 0, PS_SOLID, 2, kBlack);
    const int L = k.L, T = k.T, R = k.R, B = k.B;
    const bool landscape = m_wSheetOrientation == 2, rot = k.Rotated();
    if (m_nStapleCode == 1) {
        // The stapler's corner does not turn with the page.
        if (landscape) {
            k.Zone(R - 9, T + 1, R, T + 9);
            k.Line(R - 3, T + 4, R - 9, T + 4);
        } else {
            k.Zone(L + 1, T + 1, L + 9, T + 11);
            k.Line(L + 4, T + 3, L + 4, T + 9);
        }
    } else if (m_nStapleCode == 8) {
        if (landscape)
            rot ? k.Line(L + 3, B - 9, L + 8, B - 4) : k.Line(R - 1, T + 10, R - 9, T + 2);
        else
            rot ? k.Line(R - 4, B - 8, R - 9, B - 4) : k.Line(L + 3, T + 7, L + 8, T + 3);
    }
}

void CZQPreview::VDrawMailboxStapleMarks() {
    if (m_nStapleCode != 1) return;
    const CSheetMarks k(m_hdcMem, m_rcSheet, m_bRotated != 0, PS_SOLID, 2, kBlack);
    if (m_wSheetOrientation == 2)
        k.TurnedLine(k.R - 4, k.T + 3, k.R - 4, k.T + 9);
    else
        k.TurnedLine(k.L + 3, k.T + 4, k.L + 9, k.T + 4);
}

void CZQPreview::VDrawStitchMarks() {
    const CSheetMarks k(m_hdcMem, m_rcSheet, false, PS_SOLID, 2, kBlack);
    const bool landscape = m_wOrientation == 2;
    // The stitches lie on the fold of the booklet.
    if (landscape == (m_nBooklet != 0)) {
        const int y = k.T + k.H / 2;
        for (int x : {k.L + k.W / 3 - 3, k.R - k.W / 3 - 3}) k.Line(x, y, x + 6, y);
    } else {
        const int x = k.L + k.W / 2;
        for (int y : {k.T + k.H / 3 - 3, k.B - k.H / 3 - 3}) k.Line(x, y, x, y + 6);
    }
}

// ---------------------------------------------------------------------------------------------
// Punch holes
// ---------------------------------------------------------------------------------------------
void CZQPreview::VDrawPunchMarks() {
    const int code = m_nPunchCode;
    if (code < 1 || code > 3) return;
    const CSheetMarks k(m_hdcMem, m_rcSheet, m_bRotated != 0, PS_SOLID, 4, kHole);
    const int L = k.L, T = k.T, R = k.R, B = k.B;
    const bool rot = k.Rotated();
    // The physical edge: turned, left and right change places and the top goes to the bottom.
    enum Edge { kLeft, kRight, kTop, kBottom };
    static const Edge kEdges[3][2] = {{kLeft, kRight}, {kRight, kLeft}, {kTop, kBottom}};
    const Edge edge = kEdges[code - 1][rot ? 1 : 0];
    // A staple band on the edge already marks it.
    const int staple = m_nStapleCode;
    const bool covered = (code == 1 && (staple == 2 || staple == 3 || staple == 6)) || (code == 2 && staple == 11) ||
                         (code == 3 && staple == 12);
    if (!covered) {
        switch (edge) {
            case kLeft: k.Zone(L + 1, T + 1, L + 7, B - 1); break;
            case kRight: k.Zone(R - 1, T + 1, R - 7, B - 1); break;
            case kTop: k.Zone(L + 1, T + 1, R - 1, T + 7); break;
            case kBottom: k.Zone(L + 1, B - 1, R - 1, B - 7); break;
        }
    }
    // Holes along the edge; the top edge's two holes sit a little further in.
    const bool side = code != 3;
    const int S = side ? T : L, N = side ? k.H : k.W;
    std::vector<Span> holes;
    switch (m_nPunchUnit) {
        case 1: {
            const int in = side ? 8 : 10;
            holes = {{S + N / 4 + in, S + N / 4 + in + 1}, {S + 3 * N / 4 - in, S + 3 * N / 4 - in + 1}};
            break;
        }
        case 2:
            holes = {
                {S + N / 4 - 8, S + N / 4 - 9}, {S + N / 2, S + N / 2 - 1}, {S + 3 * N / 4 + 8, S + 3 * N / 4 + 7}};
            break;
        case 3:
            for (int i = 1; i <= 4; ++i) holes.push_back({S + i * N / 5, S + i * N / 5 + 1});
            break;
        default: return;  // a unit the finisher does not know: the zone only
    }
    const bool two = m_nPunchUnit == 1;
    Span across;
    switch (edge) {
        case kLeft: across = rot ? Span{L + 1, two ? L + 5 : L + 4} : Span{L + 2, L + 3}; break;
        case kRight: across = rot ? Span{R - 3, R - 2} : Span{R, two ? R - 4 : R - 5}; break;
        case kTop: across = {T + 2, T + 3}; break;
        case kBottom: across = {B - 3, B - 2}; break;
    }
    for (const Span& hole : holes) {
        if (side)
            Rectangle(k.Dc(), across.first, hole.first, across.second, hole.second);
        else
            Rectangle(k.Dc(), hole.first, across.first, hole.second, across.second);
    }
}

// ---------------------------------------------------------------------------------------------
// Folds
// ---------------------------------------------------------------------------------------------
void CZQPreview::VDrawFoldMarks() {
    const int code = m_nFoldCode;
    if (code == 8) {
        VDrawStitchMarks();
        return;
    }
    const bool landscape = m_wSheetOrientation == 2;
    {
        const CSheetMarks k(m_hdcMem, m_rcSheet, false, PS_DOT, 1, kBlack);
        const int D = landscape ? k.W : k.H;
        // A dotted line across the sheet on a zone 5 pixels wide.
        auto fold = [&](int d) {
            if (landscape) {
                const int x = k.L + d;
                k.Zone(x - 2, k.T + 1, x + 3, k.B - 1);
                k.Line(x, k.T + 1, x, k.B - 1);
            } else {
                const int y = k.T + d;
                k.Zone(k.L + 1, y - 2, k.R - 1, y + 3);
                k.Line(k.L + 1, y, k.R - 1, y);
            }
        };
        switch (code) {
            case 1:
            case 2:
                fold(D / 3);
                fold(2 * D / 3);
                break;
            case 3: {
                // The Z-fold: both edges and the diagonal between them, in solid black.
                CZQSelectObject solid(k.Dc(), GetStockObject(BLACK_PEN));
                k.Line(k.L, k.T, k.R, k.T);
                k.Line(k.L, k.B - 1, k.R, k.B - 1);
                k.Line(k.L, k.T, k.R, k.B);
                return;
            }
            case 6:
            case 7: fold(D / 2); break;
            default: return;  // 4, 5 and 9 have no fold of their own
        }
    }
    if (code == 1 || code == 2) VDrawDuplexIcon();
    VDrawFoldIcon();
}

void CZQPreview::VDrawFoldIcon() {
    if (m_nFoldCode == 0) return;
    VDrawKeyedBitmap(m_wSheetOrientation == 2 ? IDB_PREVIEW_FOLD_ICON_LANDSCAPE : IDB_PREVIEW_FOLD_ICON,
                     m_rcSheet.right, m_rcSheet.top, true, false);
}

void CZQPreview::VDrawFinishing() {
    // Codes the finisher does not know draw nothing, and stay cleared.
    if (m_nStapleCode < 0 || m_nStapleCode > 13) m_nStapleCode = 0;
    if (m_nPunchCode < 0 || m_nPunchCode > 3) m_nPunchCode = 0;
    if (m_nFoldCode < 0 || m_nFoldCode > 9) m_nFoldCode = 0;
    if (m_nStapleCode > 0) {
        if (m_nStapleCode == 9)
            VDrawStitchMarks();
        else if (m_nFinisherKind == 1)
            VDrawStaplerStapleMarks();
        else if (m_nFinisherKind == 2) {
            // The mailbox staples only Letter and A4.
            if (m_bLetterOrA4) VDrawMailboxStapleMarks();
        } else
            VDrawStapleMarks();
    }
    if (m_nPunchCode > 0) {
        VDrawPunchMarks();
        // The corner staple lies over the punch zone.
        if (m_nStapleCode == 1 || m_nStapleCode == 10) VDrawStapleMarks();
    }
    if (m_nFoldCode > 0) VDrawFoldMarks();
}
