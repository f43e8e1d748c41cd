// Marks of two-sided printing and booklets: the gutter line, the binding edge and the icon.
#include "preview/zqpreview.h"
#include "preview/zqpreviewgdi.h"
#include "res/zqpreviewids.h"

void CZQPreview::VDrawGutterLine() {
    const HDC hdc = m_hdcMem;
    const CZQPreviewGdi dotted = ZQNewPen(PS_DOT, CrPreviewColor(128, 128, 128));
    CZQSelectObject selectPen(hdc, dotted.Get());
    const int mode = SetBkMode(hdc, TRANSPARENT);
    if (m_wOrientation == 1) {
        const int x = (m_rcSheet.left + m_rcSheet.right) / 2 - 1;
        ZQLine(hdc, x, m_rcSheet.top, x, m_rcSheet.bottom);
    } else {
        const int y = (m_rcSheet.top + m_rcSheet.bottom) / 2;
        ZQLine(hdc, m_rcSheet.left, y, m_rcSheet.right, y);
    }
    if (mode) SetBkMode(hdc, mode);
}

void CZQPreview::VDrawBindingEdge() {
    // Small coil marks every 5 pixels along the binding edge: grey, white and grey outside it, and
    // a second stroke that ends in black across it. Flip-up binds at the top; the right-to-left
    // orders at the right edge, mirrored about its last pixel; the others at the left.
    const HDC hdc = m_hdcMem;
    const CZQPreviewGdi greyPen = ZQNewPen(PS_SOLID, CrPreviewColor(128, 128, 128));
    const HGDIOBJ grey = greyPen.Get(), white = GetStockObject(WHITE_PEN), black = GetStockObject(BLACK_PEN);
    CZQSelectObject keepPen(hdc, grey);
    const bool top = m_bFlipUp != 0;
    const bool right = !top && (m_nPageOrder == 2 || m_nPageOrder == 3);
    const int edge = top ? m_rcSheet.top : right ? m_rcSheet.right - 1 : m_rcSheet.left;
    const int out = right ? 1 : -1;  // the direction away from the sheet
    const int half = m_nGap / 2;
    const int from = (top ? m_rcSheet.left : m_rcSheet.top) + half;
    const int to = (top ? m_rcSheet.right : m_rcSheet.bottom) - half;
    // One stroke across the edge at position p along it, from a to b away from the edge.
    auto stroke = [&](HGDIOBJ pen, int p, int a, int b) {
        SelectObject(hdc, pen);
        if (top)
            ZQLine(hdc, p, edge + out * a, p, edge + out * b);
        else
            ZQLine(hdc, edge + out * a, p, edge + out * b, p);
    };
    for (int p = from; p < to; p += 5) {
        stroke(grey, p, 7, 5);
        stroke(white, p, 5, 3);
        stroke(grey, p, 3, 1);
        stroke(grey, p + 1, 5, 3);
        stroke(black, p + 1, 3, -3);
    }
}

WORD CZQPreview::WDuplexIconId() const {
    // Page orders 2 and 3 read right to left; a mirrored window swaps the pair.
    bool rightToLeft = m_nPageOrder == 2 || m_nPageOrder == 3;
    if (BRightToLeftDC()) rightToLeft = !rightToLeft;
    if (m_wDuplex != 1 && m_nFoldCode == 0) {
        if (m_bFlipUp) return rightToLeft ? IDB_PREVIEW_FLIP_UP_RTL : IDB_PREVIEW_FLIP_UP;
        return rightToLeft ? IDB_PREVIEW_FLIP_SIDE_RTL : IDB_PREVIEW_FLIP_SIDE;
    }
    if (m_wDuplex == 1 && m_nFoldCode > 0)
        return m_wSheetOrientation == 2 ? IDB_PREVIEW_FOLD_LANDSCAPE : IDB_PREVIEW_FLIP_UP;
    return 0;
}

void CZQPreview::VDrawDuplexIcon() {
    const WORD id = WDuplexIconId();
    if (!id) return;
    if (m_wDuplex == 1) {
        if (m_wSheetOrientation == 2)
            VDrawKeyedBitmap(id, m_rcSheet.left, m_rcSheet.top, false, false);
        else
            VDrawKeyedBitmap(id, m_rcSheet.right, m_rcSheet.bottom, true, true);
    } else if (m_nPageOrder == 2 || m_nPageOrder == 3) {
        VDrawKeyedBitmap(id, m_rcSheet.left, m_rcSheet.bottom, false, true);
    } else {
        VDrawKeyedBitmap(id, m_rcSheet.right, m_rcSheet.bottom, true, true);
    }
}

void CZQPreview::VDrawKeyedBitmap(WORD wId, int x, int y, bool bRightCorner, bool bBottomCorner) {
    const CZQPreviewGdi bitmap = ZQOwnGdi(LoadImageW(m_hModule, MAKEINTRESOURCEW(wId), IMAGE_BITMAP, 0, 0, 0));
    BITMAP bm = {};
    if (!bitmap || !GetObjectW(bitmap.Get(), sizeof bm, &bm)) return;
    const int w = bm.bmWidth, h = bm.bmHeight;
    const POINT at = {bRightCorner ? x - w : x, bBottomCorner ? y - h : y};

    // The area of the top-left pixel's colour becomes the key colour of a copy, a mask is made of
    // the key, and the copy goes on by XOR, AND with the mask, XOR.
    constexpr COLORREF kKey = RGB(128, 128, 0);
    const CZQPreviewDC source = ZQOwnDC(CreateCompatibleDC(m_hdcMem));
    const CZQPreviewDC copy = ZQOwnDC(CreateCompatibleDC(m_hdcMem));
    const CZQPreviewDC mask = ZQOwnDC(CreateCompatibleDC(m_hdcMem));
    const CZQPreviewGdi copyBitmap = ZQOwnGdi(CreateCompatibleBitmap(m_hdcMem, w, h));
    const CZQPreviewGdi maskBitmap = ZQOwnGdi(CreateBitmap(w, h, 1, 1, nullptr));
    const CZQPreviewGdi keyBrush = ZQNewBrush(kKey);
    if (!source || !copy || !mask || !copyBitmap || !maskBitmap || !keyBrush) return;
    CZQSelectObject selectSource(source.Get(), bitmap.Get());
    CZQSelectObject selectCopy(copy.Get(), copyBitmap.Get());
    CZQSelectObject selectMask(mask.Get(), maskBitmap.Get());
    BitBlt(copy.Get(), 0, 0, w, h, source.Get(), 0, 0, SRCCOPY);
    {
        CZQSelectObject selectBrush(copy.Get(), keyBrush.Get());
        ExtFloodFill(copy.Get(), 0, 0, GetPixel(copy.Get(), 0, 0), FLOODFILLSURFACE);
    }
    SetBkColor(copy.Get(), kKey);
    BitBlt(mask.Get(), 0, 0, w, h, copy.Get(), 0, 0, SRCCOPY);
    const COLORREF text = SetTextColor(m_hdcMem, RGB(0, 0, 0));
    const COLORREF back = SetBkColor(m_hdcMem, RGB(255, 255, 255));
    BitBlt(m_hdcMem, at.x, at.y, w, h, copy.Get(), 0, 0, SRCINVERT);
    BitBlt(m_hdcMem, at.x, at.y, w, h, mask.Get(), 0, 0, SRCAND);
    BitBlt(m_hdcMem, at.x, at.y, w, h, copy.Get(), 0, 0, SRCINVERT);
    SetTextColor(m_hdcMem, text);
    SetBkColor(m_hdcMem, back);
}
