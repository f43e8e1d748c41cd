// Owners of the GDI objects and memory DCs the preview makes while it paints. They count what is
// alive, so a paint can be checked to leave nothing behind (the platform's own count of a process's
// GDI objects is not available everywhere).
#pragma once

#include "common/zqhandles.h"

namespace zqpreview {

// Objects and memory DCs made through the owners below and not yet deleted.
LONG LiveObjects();
void VCountMade();
void VCountDeleted();

}  // namespace zqpreview

struct ZQPreviewGdiTraits {
    static HGDIOBJ Invalid() { return nullptr; }
    static bool IsValid(HGDIOBJ h) { return h != nullptr; }
    static void Free(HGDIOBJ h) {
        if (DeleteObject(h)) zqpreview::VCountDeleted();
    }
};
struct ZQPreviewDCTraits {
    static HDC Invalid() { return nullptr; }
    static bool IsValid(HDC h) { return h != nullptr; }
    static void Free(HDC h) {
        if (DeleteDC(h)) zqpreview::VCountDeleted();
    }
};
using CZQPreviewGdi = CZQOwner<HGDIOBJ, ZQPreviewGdiTraits>;
using CZQPreviewDC = CZQOwner<HDC, ZQPreviewDCTraits>;

// Takes a new object or memory DC into its owner; null stays empty.
inline CZQPreviewGdi ZQOwnGdi(HGDIOBJ h) {
    if (h) zqpreview::VCountMade();
    return CZQPreviewGdi(h);
}
inline CZQPreviewDC ZQOwnDC(HDC h) {
    if (h) zqpreview::VCountMade();
    return CZQPreviewDC(h);
}

// Drawing helpers of the painters.
inline CZQPreviewGdi ZQNewPen(int iStyle, COLORREF cr) { return ZQOwnGdi(CreatePen(iStyle, 1, cr)); }
inline CZQPreviewGdi ZQNewBrush(COLORREF cr) { return ZQOwnGdi(CreateSolidBrush(cr)); }
// A 32-bit DIB section of w x h pixels (rows top down for a negative h) and its bits.
inline CZQPreviewGdi ZQNewDib(HDC hdc, int w, int h, DWORD** ppBits) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = static_cast<DWORD>(w) * static_cast<DWORD>(h < 0 ? -h : h) * 4;
    void* bits = nullptr;
    CZQPreviewGdi dib = ZQOwnGdi(CreateDIBSection(hdc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    *ppBits = dib ? static_cast<DWORD*>(bits) : nullptr;
    return dib;
}
// A line from (x0, y0) up to, not including, (x1, y1), with the pen selected in hdc.
inline void ZQLine(HDC hdc, int x0, int y0, int x1, int y1) {
    MoveToEx(hdc, x0, y0, nullptr);
    LineTo(hdc, x1, y1);
}
// The outline of a rectangle with the pen; the inside is left as it is.
inline void ZQOutline(HDC hdc, const RECT& r, HGDIOBJ pen) {
    CZQSelectObject selectPen(hdc, pen);
    CZQSelectObject selectBrush(hdc, GetStockObject(HOLLOW_BRUSH));
    Rectangle(hdc, r.left, r.top, r.right, r.bottom);
}
