// Small colour and blending services of the painters: the tint ramp, the fading band, the veil in
// the window's own background colour and the reset of the window DC's world transform.
#include <climits>

#include "preview/zqpreview.h"
#include "preview/zqpreviewgdi.h"

namespace {

// Sepia-like colours from black to white, by luminance / 8.
constexpr BYTE kTintRamp[32][3] = {{0, 0, 0},       {6, 2, 0},       {20, 7, 0},      {36, 15, 0},     {55, 26, 3},
                                   {74, 39, 10},    {90, 53, 19},    {104, 67, 29},   {115, 79, 40},   {127, 91, 52},
                                   {139, 103, 64},  {149, 111, 72},  {158, 116, 78},  {167, 125, 87},  {174, 129, 92},
                                   {182, 135, 101}, {191, 144, 111}, {198, 153, 122}, {201, 158, 130}, {206, 167, 141},
                                   {209, 174, 149}, {214, 183, 160}, {217, 188, 166}, {221, 194, 174}, {224, 200, 180},
                                   {228, 205, 187}, {230, 210, 193}, {233, 214, 199}, {237, 220, 207}, {242, 231, 221},
                                   {249, 244, 240}, {255, 255, 255}};

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

}  // namespace

COLORREF CZQPreview::CrTintColor(BYTE r, BYTE g, BYTE b) {
    const int luminance = (30 * r + 59 * g + 11 * b + 50) / 100;
    const BYTE* c = kTintRamp[luminance / 8];
    return RGB(c[0], c[1], c[2]);
}

COLORREF CZQPreview::CrTintedColor(BYTE r, BYTE g, BYTE b) const {
    const COLORREF tint = CrTintColor(r, g, b);
    return CrPreviewColor(GetRValue(tint), GetGValue(tint), GetBValue(tint));
}

void CZQPreview::VDrawFadeBand(int x, int y, int xEnd) {
    // A band of no length has nothing to fade.
    const long long length = static_cast<long long>(xEnd) - x;
    if (length <= 0 || length > INT_MAX / kFadeBand) return;
    const int n = static_cast<int>(length);
    const bool portrait = m_wSheetOrientation == 1, landscape = m_wSheetOrientation == 2;
    if (!portrait && !landscape) return;
    // Across: dark at x, clear toward x + 25 (the band stands n tall); otherwise a band n wide
    // that is dark at the bottom (portrait) or toward the top (landscape fed transverse).
    const bool across = portrait == (m_bTransverse != 0);
    const bool darkAtBottom = portrait && !m_bTransverse;

    const CZQPreviewDC dc = ZQOwnDC(CreateCompatibleDC(m_hdcMem));
    DWORD* bits = nullptr;
    const CZQPreviewGdi dib = ZQNewDib(m_hdcMem, n, kFadeBand, &bits);  // rows bottom up
    if (!dc || !dib || !bits) return;
    for (int row = 0; row < kFadeBand; ++row)
        for (int column = 0; column < n; ++column) {
            const int alpha = across         ? (n - column) * 255 / n
                              : darkAtBottom ? (kFadeBand - row) * 255 / kFadeBand
                                             : row * 255 / kFadeBand;
            // Black, premultiplied: only the alpha byte is set.
            bits[static_cast<size_t>(row) * n + column] = static_cast<DWORD>(alpha) << 24;
        }
    CZQSelectObject select(dc.Get(), dib.Get());
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 191, AC_SRC_ALPHA};
    AlphaBlend(m_hdcMem, x, y, across ? kFadeBand : n, across ? n : kFadeBand, dc.Get(), 0, 0, n, kFadeBand, blend);
}

void CZQPreview::VVeilRect(const RECT* pRect) {
    if (!pRect || !m_hdcPaint) return;
    const int w = Width(*pRect), h = Height(*pRect);
    if (w <= 0 || h <= 0) return;
    const CZQPreviewDC dc = ZQOwnDC(CreateCompatibleDC(m_hdcPaint));
    if (!dc) return;
    VResetRotation(dc.Get());
    DWORD* bits = nullptr;
    const CZQPreviewGdi dib = ZQNewDib(m_hdcPaint, w, h, &bits);
    if (!dib) return;
    CZQSelectObject select(dc.Get(), dib.Get());
    VFillWithBackground(dc.Get());
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 160, 0};
    AlphaBlend(m_hdcPaint, pRect->left, pRect->top, w, h, dc.Get(), 0, 0, w, h, blend);
}

COLORREF CZQPreview::CrWindowBackground() const {
    COLORREF color = CLR_INVALID;
    if (m_hwndActive) {
        const CZQWindowDC window(m_hwndActive);
        if (window.Get()) {
            color = GetPixel(window.Get(), 200, 100);
            if (color == CLR_INVALID) color = GetPixel(window.Get(), 1, 1);
            if (color == CLR_INVALID) color = GetPixel(window.Get(), m_rcClient.right - 1, m_rcClient.bottom - 1);
        }
    }
    // A control not shown yet, or a display that cannot be read: the dialog's own face.
    return color == CLR_INVALID ? GetSysColor(COLOR_3DFACE) : color;
}

void CZQPreview::VFillWithBackground(HDC hdc) {
    const CZQPreviewGdi brush = ZQNewBrush(CrWindowBackground());
    if (!brush) return;
    CZQSelectObject select(hdc, brush.Get());
    PatBlt(hdc, 0, 0, Width(m_rcClient), Height(m_rcClient), PATCOPY);
}

void CZQPreview::VResetRotation(HDC hdc) {
    BITMAP bm = {};
    const HGDIOBJ bitmap = hdc ? GetCurrentObject(hdc, OBJ_BITMAP) : nullptr;
    if (bitmap) GetObjectW(bitmap, sizeof bm, &bm);
    // With the 1 x 1 bitmap of a fresh DC this undoes the move of the rotation: the identity.
    const XFORM offset = {1.0f,
                          0.0f,
                          0.0f,
                          1.0f,
                          static_cast<FLOAT>(Width(m_rcClient) - bm.bmHeight / 2),
                          static_cast<FLOAT>(Height(m_rcClient) - bm.bmWidth / 2)};
    VSetRotation(0.0f, hdc, offset);
}

void CZQPreview::VVeilRollFrame() {
    const int pw = Width(m_rcPage), ph = Height(m_rcPage);
    const int cr = m_rcClient.right, cb = m_rcClient.bottom;
    const RECT veils[4] = {
        {cr - pw - 5, cb - ph - 1, cr, cb - ph + 6},  // along the top
        {cr - pw - 5, cb - ph - 1, cr - pw - 2, cb},  // along the left
        {cr - pw - 5, cb - 9, cr, cb - 1},            // along the bottom
        {cr - 10, cb - ph - 1, cr - 1, cb - 1},       // along the right
    };
    for (const RECT& veil : veils) VVeilRect(&veil);
}
