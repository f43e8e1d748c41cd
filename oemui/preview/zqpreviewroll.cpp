// Large-format printers: the roll (or sheet) the paper leaves the printer on, the page placed and
// turned on it, the cutter, and the small roll picture of the layout dialog.
#include <algorithm>
#include <cmath>
#include <cwchar>
#include <utility>

#include "preview/zqpreview.h"
#include "preview/zqpreviewgdi.h"
#include "res/zqpreviewids.h"

namespace {

constexpr COLORREF kOutline = RGB(128, 128, 128);
constexpr COLORREF kCore = RGB(192, 192, 192);
constexpr COLORREF kShadow = RGB(90, 90, 90);
constexpr COLORREF kFold = RGB(75, 75, 75);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr int kRollPicturePx = 90;
constexpr int kSheetPicturePx = 130;
constexpr int kLongestCut = 130;
// Pixel sizes stay within what GDI draws however large the page.
constexpr double kMaxPx = 1 << 14;

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

// A decimal text in inches; no text, or one that is not a finite number, is 0.
double Inches(PCWSTR pszText) {
    if (!pszText) return 0.0;
    PWSTR end = nullptr;
    const double value = wcstod(pszText, &end);
    return end == pszText || !std::isfinite(value) ? 0.0 : value;
}

// Bitmap sizes of the module; 0 x 0 when missing.
SIZE BitmapSize(HINSTANCE hModule, WORD wId) {
    const CZQGdiObject bitmap(LoadImageW(hModule, MAKEINTRESOURCEW(wId), IMAGE_BITMAP, 0, 0, 0));
    BITMAP bm = {};
    if (!bitmap || !GetObjectW(bitmap.Get(), sizeof bm, &bm)) return {0, 0};
    return {bm.bmWidth, bm.bmHeight};
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Sizes
// ---------------------------------------------------------------------------------------------
void CZQRollPreview::VSetRollSizes(PCWSTR pszMinWidth, PCWSTR pszMaxWidth, PCWSTR pszRollWidth, PCWSTR pszMinLength,
                                   PCWSTR pszMaxLength) {
    const double narrowest = Inches(pszMinWidth), widest = Inches(pszMaxWidth);
    // The width mapping divides by their difference: limits that are not two distinct positive
    // widths keep the ones in force.
    if (narrowest > 0.0 && widest > 0.0 && narrowest != widest) {
        m_dMinWidth = narrowest;
        m_dMaxWidth = widest;
    }
    m_dRollWidth = Inches(pszRollWidth);
    m_dPaperWidth = m_dRollWidth;
    m_dMinLength = Inches(pszMinLength);
    m_dMaxLength = Inches(pszMaxLength);
}

int CZQRollPreview::IWidthPixels(double dInches) const {
    const double px =
        m_nMinWidthPx + (m_nMaxWidthPx - m_nMinWidthPx) * (dInches - m_dMinWidth) / (m_dMaxWidth - m_dMinWidth);
    return static_cast<int>(std::max(1.0, std::min(px * m_dRollFit, kMaxPx)));
}

void CZQRollPreview::VFitRollTo(int iRoom) {
    // What stands left of the paper: the roll's end face and its core.
    const int room = iRoom - m_nRollDepth - 6;
    m_dRollFit = room >= kRollPicturePx ? 1.0 : std::max(0.1, static_cast<double>(room) / kRollPicturePx);
}

int CZQRollPreview::IPaperMarkPx() const {
    if (m_bRollPaper) return IWidthPixels(m_dPaperWidth);
    // No roll width to measure by: the widest sheet.
    const double share = m_dRollWidth > 0.0 ? m_dPaperWidth / m_dRollWidth : 1.0;
    return static_cast<int>(std::max(1.0, std::min(kSheetPicturePx * share, kMaxPx)));
}

void CZQRollPreview::VFitLargeFormatPage(RECT* pRect, int iWidth, int iHeight) {
    m_nMaxWidthPx = kRollPicturePx;
    // The roll is drawn whole in its control, and the page at the roll's scale.
    VFitRollTo(Width(m_rcClient) - m_nRollLip - 3);
    WORD orientation = m_wOrientation;
    if (m_nNupIndex == 2 || m_nNupIndex == 4) orientation = orientation == 1 ? 2 : 1;
    double w = iWidth / 254.0, h = iHeight / 254.0;
    if (!m_bInchesUnscaled) {
        w = w * m_nScale / 100.0;
        h = h * m_nScale / 100.0;
    }
    // The sheet's sides as it is laid out, before it is turned onto the roll.
    const double across = orientation == 2 ? h : w, down = orientation == 2 ? w : h;
    // Whether it turns is decided as the roll compares widths, each side by the roll's mapping.
    m_bPageAcross = BPageAcross(IWidthPixels(across), IWidthPixels(down), IPaperMarkPx());
    const bool quarter = ITurnAngle(m_bPageAcross) == 90;
    // The side that lies across the roll is drawn at the roll's scale, the other at the paper's
    // proportions.
    int pxAcross = 0, pxDown = 0;
    if (across <= 0.0 || down <= 0.0) {
        pxAcross = IWidthPixels(across);
        pxDown = IWidthPixels(down);
    } else if (!quarter) {
        pxAcross = IWidthPixels(across);
        pxDown = IScaledPixels(pxAcross, down / across);
    } else {
        pxDown = IWidthPixels(down);
        pxAcross = IScaledPixels(pxDown, across / down);
    }
    pRect->right = pRect->left + pxAcross;
    pRect->bottom = pRect->top + pxDown;
}

int CZQRollPreview::IScaledPixels(int iPixels, double dRatio) {
    return static_cast<int>(std::max(1.0, std::min(std::floor(iPixels * dRatio + 0.5), kMaxPx)));
}

bool CZQPreview::BTrimAtBottom() const {
    const bool language45 = m_nPageLanguage == 4 || m_nPageLanguage == 5;
    if (m_wSheetOrientation == 2) return language45 != (m_bTransverse != 0);
    return !m_bTransverse;
}

void CZQPreview::VTrimSheet() {
    if (!m_bSaveRollPaper) return;
    const int cut = 2 * m_nGap;
    if (BTrimAtBottom()) {
        const LONG before = m_rcSheet.bottom;
        m_rcSheet.bottom = std::max(m_rcSheet.top, m_rcSheet.bottom - cut);
        m_painted.szSaved = {0, before - m_rcSheet.bottom};
    } else {
        const LONG before = m_rcSheet.right;
        m_rcSheet.right = std::max(m_rcSheet.left, m_rcSheet.right - cut);
        m_painted.szSaved = {before - m_rcSheet.right, 0};
    }
}

void CZQPreview::VTrimOffsets(int* pdx, int* pdy) const {
    // The content moves by the inset away from the edge the trim takes, so that it stays whole on
    // the shortened sheet: up when the bottom goes, left when the right goes.
    const bool alongY = BTrimAtBottom();
    *pdx = alongY ? 0 : m_nInset;
    *pdy = alongY ? m_nInset : 0;
}

// ---------------------------------------------------------------------------------------------
// The roll and sheet pictures
// ---------------------------------------------------------------------------------------------
void CZQRollPreview::VDrawRoll(HDC hdc, const RECT& paper, int iRollTop) const {
    const int D = m_nRollDiameter, K = m_nRollDepth;
    const int left = paper.left, right = paper.right, top = iRollTop;
    const CZQPreviewGdi outline = ZQNewPen(PS_SOLID, kOutline);
    const CZQPreviewGdi spindle = ZQOwnGdi(CreatePen(PS_SOLID, 2, kOutline));
    const CZQPreviewGdi core = ZQNewBrush(kCore);
    const CZQPreviewGdi shadow = ZQNewBrush(kShadow);
    const CZQPreviewGdi white = ZQNewBrush(kWhite);
    if (!outline || !spindle || !core || !shadow || !white) return;
    CZQSelectObject pen(hdc, outline.Get());
    CZQSelectObject brush(hdc, white.Get());

    // The paper hanging from the roll's middle, filled white inside its grey edges.
    Rectangle(hdc, left, paper.top, right, paper.bottom);
    // The roll's body, its right end closed by an arc, and its left end face.
    Rectangle(hdc, left - K / 2, top, right - 5, top + D);
    Ellipse(hdc, right - 5 - K / 2, top, right - 5 + K / 2, top + D);
    Ellipse(hdc, left - K, top, left, top + D);
    ZQLine(hdc, left - K / 2, top + D, left, top + D);
    // The core and the spindle through it, with their shadows.
    {
        CZQSelectObject coreBrush(hdc, core.Get());
        Ellipse(hdc, left - 5 - K, top + D / 4, left + 5 - K, top + 3 * D / 4);
    }
    {
        CZQSelectObject shadowBrush(hdc, shadow.Get());
        const POINT shade[4] = {{left - 3 - K, top + D / 4 + 2},
                                {left + 7 - K, top + D / 4 + 2},
                                {left + 7 - K, top + 3 * D / 4 - 2},
                                {left - 3 - K, top + 3 * D / 4 - 2}};
        Polygon(hdc, shade, 4);
        Ellipse(hdc, left - 5 - K, top + D / 2 - 2, left - 1 - K, top + D / 2 + 2);
        Ellipse(hdc, right - 7, top + D / 2 - 2, right - 3, top + D / 2 + 2);
    }
    CZQSelectObject spindlePen(hdc, spindle.Get());
    ZQLine(hdc, left - 3 - K, top + D / 4, left + 7 - K, top + D / 4);
    SetArcDirection(hdc, AD_CLOCKWISE);
    Arc(hdc, left + 5 - K, top + D / 4, left + 12 - K, top + 3 * D / 4, left + 8 - K, top + D / 4, left + 8 - K,
        top + 3 * D / 4);
    SetArcDirection(hdc, AD_COUNTERCLOCKWISE);
    ZQLine(hdc, left - 3 - K, top + 3 * D / 4, left + 7 - K, top + 3 * D / 4);
}

void CZQRollPreview::VDrawRollPicture() {
    m_nMaxWidthPx = kRollPicturePx;
    m_nWidthMarkPos = IPaperMarkPx();
    const RECT& q = m_rcClient;
    RECT paper;
    paper.right = q.right - m_nRollLip - 3;
    paper.left = paper.right - m_nWidthMarkPos;
    paper.top = q.top + m_nRollDiameter / 2;
    paper.bottom = q.bottom;
    m_rcPaper = paper;
    // The core's end face on the left, the closing arc on the right.
    m_painted.rcRoll = {paper.left - m_nRollDepth - 5, q.top, paper.right - 5 + m_nRollDepth / 2,
                        q.top + m_nRollDiameter};

    const CZQPreviewDC dc = ZQOwnDC(CreateCompatibleDC(m_hdcPaint));
    const CZQPreviewGdi bitmap = ZQOwnGdi(CreateCompatibleBitmap(m_hdcPaint, std::max(1, Width(q)), std::max(1, Height(q))));
    if (!dc || !bitmap) return;
    CZQSelectObject select(dc.Get(), bitmap.Get());
    VFillWithBackground(dc.Get());
    RECT local = paper;
    OffsetRect(&local, -q.left, -q.top);
    VDrawRoll(dc.Get(), local, 0);
    BitBlt(m_hdcPaint, q.left, q.top, Width(q), Height(q), dc.Get(), 0, 0, SRCCOPY);
}

void CZQRollPreview::VDrawSheetPicture() {
    m_nWidthMarkPos = IPaperMarkPx();
    const RECT& q = m_rcClient;
    const int height = std::max(1, Height(q) - m_nRollDiameter);
    RECT sheet;
    sheet.left = q.left + (Width(q) - m_nWidthMarkPos) / 2;
    sheet.top = q.top + (Height(q) - height) / 2;
    sheet.right = sheet.left + m_nWidthMarkPos;
    sheet.bottom = sheet.top + height;
    SetRect(&m_rcPaper, sheet.left + m_nRollDepth, sheet.top, sheet.right, sheet.bottom + m_nRollDiameter / 2);

    const CZQPreviewDC dc = ZQOwnDC(CreateCompatibleDC(m_hdcPaint));
    const CZQPreviewGdi bitmap = ZQOwnGdi(CreateCompatibleBitmap(m_hdcPaint, std::max(1, Width(q)), std::max(1, Height(q))));
    const CZQPreviewGdi outline = ZQNewPen(PS_SOLID, kOutline);
    if (!dc || !bitmap || !outline) return;
    CZQSelectObject select(dc.Get(), bitmap.Get());
    VFillWithBackground(dc.Get());
    {
        CZQSelectObject pen(dc.Get(), outline.Get());
        CZQSelectObject brush(dc.Get(), GetStockObject(WHITE_BRUSH));
        Rectangle(dc.Get(), sheet.left - q.left, sheet.top - q.top, sheet.right - q.left, sheet.bottom - q.top);
    }
    BitBlt(m_hdcPaint, q.left, q.top, Width(q), Height(q), dc.Get(), 0, 0, SRCCOPY);
}

// ---------------------------------------------------------------------------------------------
// The page on the roll
// ---------------------------------------------------------------------------------------------
bool CZQRollPreview::BPageAcross(int iSheetWidth, int iSheetHeight, int iMark) const {
    if (m_bTransverse) return true;
    if (m_nPageLanguage != 4 && m_nPageLanguage != 5) return false;
    if (m_wSheetOrientation == 2) return iSheetWidth > iMark;
    return m_bAutoRotate && iSheetHeight < iMark;
}

int CZQRollPreview::ITurnAngle(bool bAcross) const {
    const bool upright = m_wSheetOrientation != 2 || m_nPageLanguage == 4 || m_nPageLanguage == 5;
    if (!bAcross) return upright ? 180 : 90;
    return upright ? 90 : 0;
}

BOOL CZQRollPreview::BDrawPaperCurl() {
    const int sheetW = Width(m_rcSheet), sheetH = Height(m_rcSheet);
    const int paperW = Width(m_rcPaper), paperH = Height(m_rcPaper);
    const int D = m_nRollDiameter, K = m_nRollDepth;
    // What the placing puts above the paper's top fades out, drawn on the sheet before it is
    // turned: the turn decides which of the sheet's edges that part lies at, the bottom-right
    // corners meeting decides how far it reaches.
    const int angle = ITurnAngle(m_bPageAcross);
    const int beyond = (angle == 90 ? sheetW : sheetH) - paperH;
    if (beyond > 0) {
        // The band stands (25 wide) or lies (25 tall) by the sheet's orientation and feed. Where the
        // turn lays it along the paper's top edge it takes the 25 rows or columns next to that edge,
        // clear toward the paper; where it runs across the edge it lies wholly in the part beyond.
        const bool standing = (m_wSheetOrientation == 2) != (m_bTransverse != 0);
        const RECT& s = m_rcSheet;
        if (angle == 90) {
            // A quarter turn puts the sheet's first columns above the paper.
            const int edge = s.left + beyond;
            if (standing)
                VDrawFadeBand(edge - kFadeBand, s.top, edge - kFadeBand + sheetH);
            else
                VDrawFadeBand(s.left, s.top, edge);
        } else {
            // Half a turn puts its rows from the paper's length on above the paper; unturned, its
            // first rows. `edge` is the first of them (half) or the first the paper holds (none).
            const int edge = angle == 180 ? s.top + paperH : s.top + beyond;
            if (standing)
                VDrawFadeBand(s.left, angle == 180 ? edge : s.top, s.left + beyond);
            else
                VDrawFadeBand(s.left, angle == 180 ? edge : edge - kFadeBand, s.right);
        }
    }
    const CZQPreviewGdi fold = ZQNewBrush(kFold);
    if (sheetW - paperW < 5 && fold) {
        CZQSelectObject pen(m_hdcPaint, GetStockObject(NULL_PEN));
        CZQSelectObject brush(m_hdcPaint, fold.Get());
        const int x = m_rcPaper.right - sheetW - 3, y = m_rcPaper.top;
        const POINT corner[3] = {{x, y}, {x + 4, y}, {x + 4, y + 3}};
        Polygon(m_hdcPaint, corner, 3);
    }
    if (paperW < sheetW) {
        TRIVERTEX v[3] = {};
        auto vertex = [](TRIVERTEX* p, int x, int y, COLORREF c) {
            p->x = x;
            p->y = y;
            p->Red = static_cast<COLOR16>(GetRValue(c) << 8);
            p->Green = static_cast<COLOR16>(GetGValue(c) << 8);
            p->Blue = static_cast<COLOR16>(GetBValue(c) << 8);
        };
        vertex(&v[0], m_rcPaper.left - K / 2 + 2, m_rcPaper.top, kFold);
        vertex(&v[1], m_rcPaper.left + 2, m_rcPaper.top, kFold);
        vertex(&v[2], m_rcPaper.left + 2, m_rcPaper.top + 2 + D / 2, kCore);
        GRADIENT_TRIANGLE triangle = {0, 1, 2};
        GradientFill(m_hdcPaint, v, 3, &triangle, 1, GRADIENT_FILL_TRIANGLE);
    }
    return TRUE;
}

void CZQRollPreview::VDrawRollEdges() {
    if (!m_bRollPaper) return;
    const CZQPreviewGdi outline = ZQNewPen(PS_SOLID, kOutline);
    if (!outline) return;
    CZQSelectObject pen(m_hdcPaint, outline.Get());
    ZQLine(m_hdcPaint, m_rcClient.left, m_rcPaper.top + m_nRollDiameter, m_rcPaper.left, m_rcPaper.top + m_nRollDiameter);
    if (m_bWithMargins && m_nMarginLayout == 2) VVeilRollFrame();
    ZQLine(m_hdcPaint, m_rcPaper.left, m_rcPaper.bottom, m_rcPaper.left, m_rcPaper.top + m_nRollDiameter / 2);
}

void CZQRollPreview::VDrawCutter(bool bAcross) {
    const int along = std::min(bAcross ? Width(m_rcSheet) : Height(m_rcSheet), kLongestCut);
    int y = m_rcPaper.bottom - along;
    if (y < m_rcPaper.top) y = m_rcPaper.top + 2 * m_nRollDiameter;
    const SIZE scissors = BitmapSize(m_hModule, IDB_ROLL_SCISSORS);
    const RECT at = {m_rcPaper.left - scissors.cx, y - scissors.cy / 2 - 2, m_rcPaper.left,
                     y - scissors.cy / 2 - 2 + scissors.cy};
    VDrawBitmap(m_hdcPaint, IDB_ROLL_SCISSORS, at, true);
    m_painted.rcScissors = at;
    if (y > m_rcPaper.top) {
        const SIZE line = BitmapSize(m_hModule, IDB_ROLL_CUT_LINE);
        const RECT cut = {m_rcPaper.left - 5, y - line.cy - 1, m_rcPaper.right, y - 1};
        VDrawBitmap(m_hdcPaint, IDB_ROLL_CUT_LINE, cut, true);
        m_painted.rcCutLine = cut;
    }
}

void CZQRollPreview::VPlaceOnRoll() {
    if (m_bRollPaper) BDrawPaperCurl();
    const bool across = m_bPageAcross;
    const int angle = ITurnAngle(across);
    const RECT& p = m_rcPaper;
    CZQPreviewGdi clip;
    if (m_bRollPaper) {
        // The paper from where it leaves the roll, and a strip left of it below the roll.
        const int D = m_nRollDiameter;
        const POINT edge[7] = {{p.right, p.bottom},         {p.left - 20, p.bottom}, {p.left - 20, p.top + 1 + D},
                               {p.left, p.top + 1 + D},     {p.left, p.top},         {p.right - 5, p.top},
                               {p.right, p.top + D / 4}};
        clip = ZQOwnGdi(CreatePolygonRgn(edge, 7, WINDING));
    } else {
        clip = ZQOwnGdi(CreateRectRgn(m_rcClient.left + 2, m_rcClient.top + 2, p.right, p.bottom));
    }
    SelectClipRgn(m_hdcPaint, static_cast<HRGN>(clip.Get()));
    // Quarter turns are made on the pixels: not every GDI honours them in a blit's transform.
    const bool quarter = angle == 90;
    const int w = quarter ? Height(m_rcSheet) : Width(m_rcSheet);
    const int h = quarter ? Width(m_rcSheet) : Height(m_rcSheet);
    VBlitTurned(m_hdcPaint, p.right - w, p.bottom - h, m_rcSheet, angle / 90);
    m_painted.rcSheet = {p.right - w, p.bottom - h, p.right, p.bottom};
    m_painted.nBeyond = std::max<LONG>(0, p.top - m_painted.rcSheet.top);
    if (quarter) {
        std::swap(m_painted.szPaper.cx, m_painted.szPaper.cy);
        std::swap(m_painted.szSaved.cx, m_painted.szSaved.cy);
    }
    VDrawRollEdges();
    SelectClipRgn(m_hdcPaint, nullptr);
    if (m_bRollPaper && m_bAutoCutter) VDrawCutter(quarter);
}

void CZQRollPreview::VDrawBitmap(HDC hdc, WORD wId, const RECT& to, bool bKeyed) const {
    const CZQPreviewGdi bitmap = ZQOwnGdi(LoadImageW(m_hModule, MAKEINTRESOURCEW(wId), IMAGE_BITMAP, 0, 0, 0));
    BITMAP bm = {};
    if (!bitmap || !GetObjectW(bitmap.Get(), sizeof bm, &bm) || Width(to) <= 0 || Height(to) <= 0) return;
    const CZQPreviewDC dc = ZQOwnDC(CreateCompatibleDC(hdc));
    if (!dc) return;
    CZQSelectObject select(dc.Get(), bitmap.Get());
    if (bKeyed)
        TransparentBlt(hdc, to.left, to.top, Width(to), Height(to), dc.Get(), 0, 0, bm.bmWidth, bm.bmHeight, kWhite);
    else
        StretchBlt(hdc, to.left, to.top, Width(to), Height(to), dc.Get(), 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
}

// ---------------------------------------------------------------------------------------------
// The layout dialog's roll picture
// ---------------------------------------------------------------------------------------------
void CZQRollPreview::VPaintRollOptions(int iMarginLayout, int iMarginSet, int iEnlargement) {
    if (!m_hwndRollOptions) return;
    PAINTSTRUCT ps = {};
    m_hdcRollOptions = BeginPaint(m_hwndRollOptions, &ps);
    if (!m_hdcRollOptions) return;
    // The roll reads as in the printer, whatever the window's direction.
    SetLayout(m_hdcRollOptions, 0);
    RECT q;
    GetClientRect(m_hwndRollOptions, &q);
    {
        const CZQPreviewDC dc = ZQOwnDC(CreateCompatibleDC(m_hdcRollOptions));
        const CZQPreviewGdi bitmap =
            ZQOwnGdi(CreateCompatibleBitmap(m_hdcRollOptions, std::max(1, Width(q)), std::max(1, Height(q))));
        if (dc && bitmap) {
            CZQSelectObject select(dc.Get(), bitmap.Get());
            const CZQPreviewGdi face = ZQNewBrush(GetSysColor(COLOR_3DFACE));
            FillRect(dc.Get(), &q, static_cast<HBRUSH>(face.Get()));
            m_nMaxWidthPx = kRollPicturePx;
            VFitRollTo(Width(q) - m_nRollLip - 3 - 17);
            const int mark = IWidthPixels(m_dPaperWidth);
            RECT paper;
            paper.right = q.right - m_nRollLip - 3 - 16;
            paper.left = q.right - m_nRollLip - 3 - mark - 17;
            paper.top = q.top + m_nRollDiameter / 2;
            paper.bottom = q.bottom - 18;
            VDrawRoll(dc.Get(), paper, q.top);
            // The ground under the sample, then the sample as the layout prints it: inside the
            // margins, or over the paper's edges when borderless.
            RECT ground = {paper.left + 1, paper.top + m_nRollDiameter / 2 + 1, 0, 0};
            ground.right = std::min<LONG>(ground.left + 90, paper.right - 1);
            ground.bottom = std::min<LONG>(ground.top + 85, paper.bottom - 1);
            VDrawBitmap(dc.Get(), IDB_ROLL_OPTIONS_BACK, ground, false);
            const int inset = iMarginLayout == 3 ? (iEnlargement == 1 ? -3 : 0) : iMarginSet == 2 ? 2 : iMarginSet == 1 ? 6 : 4;
            RECT photo = ground;
            InflateRect(&photo, -inset, -inset);
            if (iMarginLayout == 1) photo.bottom -= 3;  // oversize paper: the page ends above the cut
            {
                const CZQPreviewGdi region = ZQOwnGdi(CreateRectRgn(paper.left + 1, paper.top + 1, paper.right - 1,
                                                                    paper.bottom - 1));
                SelectClipRgn(dc.Get(), static_cast<HRGN>(region.Get()));
                VDrawBitmap(dc.Get(), IDB_ROLL_SAMPLE_PHOTO, photo, false);
                SelectClipRgn(dc.Get(), nullptr);
            }
            int nudge = 0;
            if (iMarginLayout == 1) nudge = iMarginSet == 1 ? -5 : -3;
            else if (iMarginLayout == 2) nudge = 2;
            else if (iMarginLayout == 3) nudge = iEnlargement == 1 ? 8 : 5;
            const SIZE scissors = BitmapSize(m_hModule, IDB_ROLL_SCISSORS);
            const SIZE line = BitmapSize(m_hModule, IDB_ROLL_CUT_LINE);
            const int ys = paper.bottom - scissors.cy + nudge, yl = paper.bottom - line.cy + nudge;
            VDrawBitmap(dc.Get(), IDB_ROLL_SCISSORS, {49 - scissors.cx, ys, 49, ys + scissors.cy}, true);
            VDrawBitmap(dc.Get(), IDB_ROLL_CUT_LINE, {46, yl, 46 + line.cx - 23, yl + line.cy}, true);
            BitBlt(m_hdcRollOptions, q.left, q.top, Width(q), Height(q), dc.Get(), 0, 0, SRCCOPY);
        }
    }
    EndPaint(m_hwndRollOptions, &ps);
    m_hdcRollOptions = nullptr;
}
