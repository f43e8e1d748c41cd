#include "previewtest.h"

#include "common/zqhandles.h"
#include "testsupport.h"

namespace zqpreviewtest {

HINSTANCE Resources() {
    static const CZQModule module(LoadLibraryExW(zqtest::BesideExe(L"zqoemui.dll").c_str(), nullptr,
                                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    return module.Get();
}

PreviewSettings Record(const wchar_t* fields) {
    PreviewSettings record = ZQDefaultPreviewRecord();
    std::wstring bad;
    EXPECT_TRUE(ZQParsePreviewFields(fields, &record, &bad)) << "unknown field " << testing::PrintToString(bad);
    return record;
}

bool Has(const ZQPixels& pixels, COLORREF color, const RECT* pArea) {
    const RECT all = {0, 0, pixels.width, pixels.height};
    const RECT& area = pArea ? *pArea : all;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (pixels.At(x, y) == color) return true;
    return false;
}

bool Near(const ZQPixels& pixels, int x, int y, COLORREF color) {
    const RECT area = {x - 1, y - 1, x + 2, y + 2};
    return Has(pixels, color, &area);
}

int Runs(const ZQPixels& pixels, int x0, int y0, int x1, int y1, COLORREF color) {
    const int dx = x1 > x0 ? 1 : x1 < x0 ? -1 : 0, dy = y1 > y0 ? 1 : y1 < y0 ? -1 : 0;
    int runs = 0;
    bool in = false;
    for (int x = x0, y = y0;; x += dx, y += dy) {
        const bool on = pixels.At(x, y) == color;
        if (on && !in) ++runs;
        in = on;
        if (x == x1 && y == y1) break;
    }
    return runs;
}

// Pixels of a bitmap of the plug-in, rows top down.
static ZQPixels BitmapPixels(WORD id) {
    ZQPixels pixels;
    const CZQGdiObject bitmap(LoadImageW(Resources(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, 0));
    BITMAP bm = {};
    if (!bitmap || !GetObjectW(bitmap.Get(), sizeof bm, &bm)) return pixels;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = bm.bmWidth;
    info.bmiHeader.biHeight = -bm.bmHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    pixels.width = bm.bmWidth;
    pixels.height = bm.bmHeight;
    pixels.rgb.resize(static_cast<size_t>(bm.bmWidth) * bm.bmHeight);
    const CZQWindowDC screen(nullptr);
    GetDIBits(screen.Get(), static_cast<HBITMAP>(bitmap.Get()), 0, bm.bmHeight, pixels.rgb.data(), &info,
              DIB_RGB_COLORS);
    for (DWORD& p : pixels.rgb) p &= 0xFFFFFF;
    return pixels;
}

bool IconAt(const ZQPixels& pixels, WORD id, POINT at) {
    const ZQPixels icon = BitmapPixels(id);
    if (icon.width != 24 || icon.height != 24) return false;
    for (int y = 0; y < icon.height; ++y)
        for (int x = 0; x < icon.width; ++x) {
            const bool seeThrough = icon.At(x, y) == icon.At(0, 0);
            if (seeThrough ? pixels.At(at.x + x, at.y + y) == icon.At(0, 0)
                           : pixels.At(at.x + x, at.y + y) != icon.At(x, y))
                return false;
        }
    return true;
}

}  // namespace zqpreviewtest
