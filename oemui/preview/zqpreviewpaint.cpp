// Painting the sample page: layout, the back buffer, the N-up grid and its pages, the two-sided
// decorations and the one copy to the window.
#include <algorithm>
#include <climits>
#include <cmath>
#include <utility>
#include <vector>

#include "preview/zqpreview.h"
#include "preview/zqpreviewgdi.h"

namespace {

// The largest desktop paper (11 x 17 in): the scale reference, and the size of a page whose size
// is not known.
constexpr int kRefWidth = 2794;
constexpr int kRefHeight = 4318;
// Oversize paper adds this much to the document (tenths of a millimetre).
constexpr int kOversizeWidth = 700;
constexpr int kOversizeHeight = 2500;
// Scaled cells stay within what GDI draws.
constexpr long long kMaxCoord = 1 << 20;

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

int ClampInt(long long v, long long limit) { return static_cast<int>(std::max(-limit, std::min(v, limit))); }

}  // namespace

// ---------------------------------------------------------------------------------------------
// The paint
// ---------------------------------------------------------------------------------------------
void CZQRollPreview::VPaint() {
    VChooseWindow();
    if (!m_hwndActive) return;
    m_painted = {};
    m_painted.hwnd = m_hwndActive;
    VLayoutPage();
    PAINTSTRUCT ps = {};
    m_hdcPaint = BeginPaint(m_hwndActive, &ps);
    if (!m_hdcPaint) return;
    // Whatever the steps change on the window DC (transform, clip) goes with the paint.
    const int saved = SaveDC(m_hdcPaint);
    // The sample page shows the sheet as it prints, its letters and numbers readable: a mirrored
    // window does not mirror it.
    SetLayout(m_hdcPaint, 0);
    {
        CZQPreviewDC memory;
        CZQPreviewGdi bitmap;
        VCreateBackBuffer(&memory, &bitmap);
        if (memory && bitmap) {
            CZQSelectObject selectBitmap(memory.Get(), bitmap.Get());
            m_hdcMem = memory.Get();
            VFillWithBackground(m_hdcMem);
            VComputeNupGrid();
            VSetShadowOffsets();
            VDrawBackCovers();
            if (!m_bBanner && m_nFoldCode != 3) {
                CZQSelectObject pen(m_hdcMem, GetStockObject(BLACK_PEN));
                CZQSelectObject brush(m_hdcMem, GetStockObject(WHITE_BRUSH));
                Rectangle(m_hdcMem, m_rcSheet.left, m_rcSheet.top, m_rcSheet.right, m_rcSheet.bottom);
            }
            const bool insets = m_bWithMargins && m_nMarginLayout != 2;
            m_anMarginInset[0] = insets ? 1 : 0;
            m_anMarginInset[1] = insets ? 1 : 0;
            m_anMarginInset[2] = insets ? 2 : 0;
            VDrawPagesInOrder();
            if (m_bLargeFormat) {
                if (m_bRollPaper) VDrawRollPicture();
                else VDrawSheetPicture();
            }
            if (m_bMirror) VMirror();

            if (m_wDuplex == 1) {
                if (m_nBooklet) {
                    VDrawGutterLine();
                    VDrawDuplexIcon();
                }
            } else {
                if (!m_nBooklet) {
                    if (m_nStapleCode == 0 || m_nPunchCode == 0 || m_nFoldCode == 0) VDrawBindingEdge();
                } else {
                    VDrawGutterLine();
                }
                VDrawDuplexIcon();
            }
            VDrawFinishing();
            VDrawFrontCovers();
            GdiFlush();

            VCopyToWindow();
            VDrawFocus();
            SelectClipRgn(m_hdcMem, nullptr);
            m_hdcMem = nullptr;
        }
    }
    RestoreDC(m_hdcPaint, saved);
    EndPaint(m_hwndActive, &ps);
    m_hdcPaint = nullptr;
}

void CZQPreview::VCreateBackBuffer(CZQPreviewDC* pMemory, CZQPreviewGdi* pBitmap) {
    GetClientRect(m_hwndActive, &m_rcClient);
    // Large-format sheets are placed on the roll picture later: the buffer holds the sheet.
    const int width = std::max(1L, m_bLargeFormat ? m_rcSheet.right : m_rcClient.right);
    const int height = std::max(1L, m_bLargeFormat ? m_rcSheet.bottom : m_rcClient.bottom);
    *pBitmap = ZQOwnGdi(CreateCompatibleBitmap(m_hdcPaint, width, height));
    *pMemory = ZQOwnDC(CreateCompatibleDC(m_hdcPaint));
}

// ---------------------------------------------------------------------------------------------
// Layout
// ---------------------------------------------------------------------------------------------
void CZQPreview::VLayoutPage() {
    GetClientRect(m_hwndActive, &m_rcClient);
    m_rcPage = m_rcClient;
    m_rcSheet = m_rcClient;
    // The paper the sheet stands for (turned below as the sheet lies), for what measures the picture.
    SIZE paper = {0, 0};
    if (!m_bBanner) {
        long long width = m_nDocWidth, height = m_nDocHeight;
        // A document of unknown size is shown at the reference size.
        if (width <= 0 || height <= 0) {
            width = kRefWidth;
            height = kRefHeight;
        }
        if (m_bWithMargins && m_nMarginLayout == 1) {
            width += kOversizeWidth;
            height += kOversizeHeight;
        }
        paper = {ClampInt(width, INT_MAX), ClampInt(height, INT_MAX)};
        if (m_bLargeFormat)
            VFitLargeFormatPage(&m_rcPage, paper.cx, paper.cy);
        else
            VFitDesktopPage(&m_rcPage, paper.cx, paper.cy);
        m_rcSheet = m_rcPage;
    }
    if (m_bFitToPage) {
        // The paper it prints on; a large-format page is laid out on that paper (an output paper of
        // unknown size leaves it on the document's).
        RECT sheet = m_rcClient;
        const bool known = m_nSheetWidth > 0 && m_nSheetHeight > 0;
        if (!m_bLargeFormat) {
            VFitDesktopPage(&sheet, m_nSheetWidth, m_nSheetHeight);
            m_rcSheet = sheet;
            paper = known ? SIZE{m_nSheetWidth, m_nSheetHeight} : SIZE{kRefWidth, kRefHeight};
        } else if (known) {
            VFitLargeFormatPage(&sheet, m_nSheetWidth, m_nSheetHeight);
            m_rcSheet = m_rcPage = sheet;
            paper = {m_nSheetWidth, m_nSheetHeight};
        }
    }
    if (m_wSheetOrientation == 2) std::swap(paper.cx, paper.cy);
    // A banner and the Z-fold draw no sheet frame to measure.
    m_painted.szPaper = m_bBanner || m_nFoldCode == 3 ? SIZE{0, 0} : paper;
    if (m_nBooklet) m_rcPage = m_rcSheet;
    m_nGap = (Width(m_rcPage) + Height(m_rcPage)) / 28;
    VTrimSheet();
}

void CZQPreview::VFitDesktopPage(RECT* pRect, int iWidth, int iHeight) const {
    if (iWidth <= 0 || iHeight <= 0) {
        iWidth = kRefWidth;
        iHeight = kRefHeight;
    }
    WORD orientation = m_wOrientation;
    if (m_nNupIndex == 2 || m_nNupIndex == 4) orientation = orientation == 1 ? 2 : 1;
    // The reference paper fills its share of the window on the side it reaches first; every paper is
    // drawn at that one scale, so that it keeps its own proportions. Papers larger than the
    // reference fill the whole share.
    const bool landscape = orientation == 2;
    const double w = iWidth, h = iHeight;
    const double refW = std::max(iWidth, kRefWidth), refH = std::max(iHeight, kRefHeight);
    const double boxW = Width(*pRect), boxH = Height(*pRect);
    const double across = landscape ? h : w, down = landscape ? w : h;
    const double refAcross = landscape ? refH : refW, refDown = landscape ? refW : refH;
    const double scale =
        std::min(boxW * (landscape ? 0.85 : 0.62) / refAcross, boxH * (landscape ? 0.56 : 0.87) / refDown);
    const int width = IRoundTenth(across * scale), height = IRoundTenth(down * scale);
    const int left = pRect->left + (Width(*pRect) - width) / 2;
    const int top = pRect->top + (Height(*pRect) - height) / 2;
    SetRect(pRect, left, top, left + width, top + height);
}

int CZQPreview::IRoundTenth(double x) {
    // A fraction below 0.4 rounds down, from 0.4 up.
    const long long tenths = static_cast<long long>(x * 10.0);
    return static_cast<int>(tenths % 10 < 4 ? std::floor(x) : std::ceil(x));
}

void CZQPreview::VComputeNupGrid() {
    int width = Width(m_rcPage), height = Height(m_rcPage);
    if (width <= 0 || height <= 0) {
        width = kRefWidth;
        height = kRefHeight;
    }
    const bool landscape = m_wOrientation == 2;
    int rows = 1, columns = 1;
    switch (m_nNupIndex) {
        case 2: rows = landscape ? 2 : 1, columns = landscape ? 1 : 2; break;
        case 3: rows = 2, columns = 2; break;
        case 4: rows = landscape ? 3 : 2, columns = landscape ? 2 : 3; break;
        case 5: rows = 3, columns = 3; break;
        case 6: rows = 4, columns = 4; break;
        default: break;
    }
    m_anRows[0] = rows;
    m_anRows[1] = columns;
    // Cells of 4, 9 and 16 pages have the shape of the page rectangle, cells of 2 and 6 its shape turned.
    const bool square = m_nNupIndex == 3 || m_nNupIndex == 5 || m_nNupIndex == 6;
    const int aspect = std::max(1, square ? height * 100 / width : width * 100 / height);
    const int gap = m_nGap;
    auto margins = [&] {
        m_nMarginY = (height - rows * m_nCellHeight) / (rows + 1);
        m_nMarginX = (width - columns * m_nCellWidth) / (columns + 1);
    };
    m_nCellHeight = (height - (rows + 1) * gap) / rows;
    m_nCellWidth = m_nCellHeight * 100 / aspect;
    margins();
    if (m_nMarginX < gap / 2) {
        m_nCellWidth = (width - (columns + 1) * gap) / columns;
        m_nCellHeight = m_nCellWidth * aspect / 100;
        margins();
    }
    if (m_nNupIndex == 1) {
        m_nCellWidth = width;
        m_nCellHeight = height;
        m_nMarginX = m_nMarginY = 0;
    }
    if ((m_nNupIndex == 1 && m_nScale != 100 && !m_bLargeFormat) || (m_nPageLanguage == 5 && m_bInchesUnscaled)) {
        m_nCellWidth = ClampInt(static_cast<long long>(m_nCellWidth) * m_nScale / 100, kMaxCoord);
        m_nCellHeight = ClampInt(static_cast<long long>(m_nCellHeight) * m_nScale / 100, kMaxCoord);
    }
    m_nInset = m_bNoInset ? 0 : m_nCellWidth / 28 + m_nCellHeight / 28;
    m_nLinePitch = std::max(std::max(m_nCellHeight, m_nCellWidth) / 24, 2);
}

// ---------------------------------------------------------------------------------------------
// Pages
// ---------------------------------------------------------------------------------------------
void CZQPreview::VDrawPagesInOrder() {
    if (m_bFitToPage && m_bSameSize && !m_nBooklet) {
        m_nCellWidth = Width(m_rcSheet);
        m_nCellHeight = Height(m_rcSheet);
    }
    if (m_nBooklet) m_nPageOrder = m_nBooklet == 2 ? 2 : 0;
    const int rows = m_anRows[0], columns = m_anRows[1];
    int page = 0;
    for (int k = 0; k < rows * columns; ++k) {
        int row, column;
        VVisitCell(m_nPageOrder, rows, columns, k, &row, &column);
        VDrawCell(row, column, &page);
    }
}

void CZQPreview::VVisitCell(int iPageOrder, int cRows, int cColumns, int k, int* piRow, int* piColumn) {
    switch (iPageOrder) {
        case 1:  // down, then right
            *piColumn = k / cRows + 1;
            *piRow = k % cRows + 1;
            break;
        case 2:  // left, then down
            *piRow = k / cColumns + 1;
            *piColumn = cColumns - k % cColumns;
            break;
        case 3:  // down, then left
            *piColumn = cColumns - k / cRows;
            *piRow = k % cRows + 1;
            break;
        default:  // right, then down
            *piRow = k / cColumns + 1;
            *piColumn = k % cColumns + 1;
            break;
    }
}

void CZQPreview::VDrawCell(int iRow, int iColumn, int* piPage) {
    const int left = m_rcPage.left + m_nMarginX * iColumn + (iColumn - 1) * m_nCellWidth;
    const int top = m_rcPage.top + m_nMarginY * iRow + (iRow - 1) * m_nCellHeight;
    SetRect(&m_rcCell, left, top, left + m_nCellWidth, top + m_nCellHeight);
    if (!m_bLargeFormat && m_bFitToPage && m_bFitScaled && !m_nBooklet) {
        // Centred on the sheet; an axis it overflows takes the sheet's edges.
        auto centre = [](LONG* lo, LONG* hi, LONG sheetLo, LONG sheetHi, int size) {
            if (size > sheetHi - sheetLo) {
                *lo = sheetLo;
                *hi = sheetHi;
            } else {
                *lo = sheetLo + (sheetHi - sheetLo - size) / 2;
                *hi = *lo + size;
            }
        };
        centre(&m_rcCell.left, &m_rcCell.right, m_rcSheet.left, m_rcSheet.right, m_nCellWidth);
        centre(&m_rcCell.top, &m_rcCell.bottom, m_rcSheet.top, m_rcSheet.bottom, m_nCellHeight);
    }
    if (m_bEnvelope)
        VDrawEnvelope(m_hdcMem, ++*piPage);
    else if (m_bBanner)
        VDrawBanner();
    else if (m_nFoldCode == 2 || m_nFoldCode == 3 || m_nFoldCode == 7)
        VDrawFoldMarks();  // the folded sheet in place of the page
    else
        VDrawPageContent(++*piPage);
    if (BPosterGridShown()) VDrawPosterTiles();
}

void CZQPreview::VDrawPageContent(int iPage) {
    const HDC hdc = m_hdcMem;
    if (m_bFitToPage && !m_bSameSize && !m_nBooklet) {
        // The document's own paper (dotted) within the sheet it is printed on.
        if (!m_bLargeFormat) {
            const CZQPreviewGdi dotted = ZQNewPen(PS_DOT, CrPreviewColor(128, 128, 128));
            const COLORREF oldBk = SetBkColor(hdc, RGB(192, 192, 192));
            ZQOutline(hdc, m_rcPage, dotted.Get());
            SetBkColor(hdc, oldBk);
        }
        ZQOutline(hdc, m_rcSheet, GetStockObject(BLACK_PEN));
    }
    const bool border = m_bPageBorders && m_nNupIndex > 1 && !m_nBooklet;
    if (border) ZQOutline(hdc, m_rcCell, GetStockObject(BLACK_PEN));

    // A sheet shortened to save roll paper keeps its cut edge: the content stops inside it.
    RECT clip = m_rcPage;
    if (m_nNupIndex != 1 || m_bFitToPage || m_bSaveRollPaper) IntersectRect(&clip, &m_rcCell, &m_rcSheet);
    InflateRect(&clip, -1, -1);
    {
        const CZQPreviewGdi region = ZQOwnGdi(CreateRectRgnIndirect(&clip));
        SelectClipRgn(hdc, static_cast<HRGN>(region.Get()));
    }
    if (border) ZQOutline(hdc, m_rcCell, GetStockObject(BLACK_PEN));

    int dx = 0, dy = 0;
    if (m_bSaveRollPaper) VTrimOffsets(&dx, &dy);
    VDrawTextLines(iPage, dx, dy);
    const int samplePage = m_nBooklet ? 2 : 1;
    if (iPage == samplePage) {
        VDrawLetterE(dx, dy);
        VDrawBarChart(dx, dy);
    }
    if (m_nLayoutKind == 3 && (m_nWatermarkPages != 1 || iPage == samplePage)) VDrawWatermark();
    if (m_nNupIndex > 1 && !m_nBooklet) VDrawPageNumber(iPage);
    if (m_bLargeFormat && m_bWithMargins && m_nMarginLayout == 2) VDrawDashedCellFrame();
    // The cell's clip ends with its page: the sheet's own marks are drawn over the whole sheet.
    SelectClipRgn(hdc, nullptr);
}

// ---------------------------------------------------------------------------------------------
// The whole sheet
// ---------------------------------------------------------------------------------------------
void CZQPreview::VMirror() {
    const RECT& r = m_bBanner ? m_rcPage : m_rcSheet;
    const int width = Width(r), height = Height(r);
    if (width <= 0 || height <= 0) return;
    // Through a copy: a blit onto its own source may read what it has just written.
    const CZQPreviewDC copy = ZQOwnDC(CreateCompatibleDC(m_hdcMem));
    const CZQPreviewGdi bitmap = ZQOwnGdi(CreateCompatibleBitmap(m_hdcMem, width, height));
    if (!copy || !bitmap) return;
    CZQSelectObject select(copy.Get(), bitmap.Get());
    BitBlt(copy.Get(), 0, 0, width, height, m_hdcMem, r.left, r.top, SRCCOPY);
    const int right = m_bLargeFormat ? r.right : r.right - 1;
    StretchBlt(m_hdcMem, right, r.top, -width, height, copy.Get(), 0, 0, width, height, SRCCOPY);
}

void CZQPreview::VDrawFocus() {
    const HWND focus = GetFocus();
    if (!focus || (focus != m_hwndPortrait && focus != m_hwndLandscape)) return;
    RECT r = m_rcPage;
    if (m_bLargeFormat) {
        ModifyWorldTransform(m_hdcPaint, nullptr, MWT_IDENTITY);
        r = m_rcClient;
        r.right += 7;
        r.bottom += 27;
    } else {
        InflateRect(&r, 9, 9);
    }
    DrawFocusRect(m_hdcPaint, &r);
}

void CZQRollPreview::VCopyToWindow() {
    if (m_bLargeFormat)
        VPlaceOnRoll();
    else
        VCopyDesktopPicture();
}

void CZQPreview::VCopyDesktopPicture() {
    if (m_bBanner) {
        BitBlt(m_hdcPaint, m_rcPage.left, m_rcPage.top, Width(m_rcPage), Height(m_rcPage), m_hdcMem, m_rcPage.left,
               m_rcPage.top, SRCCOPY);
        m_painted.rcSheet = m_rcPage;
        return;
    }
    // The area widens by the cover sheets stacked behind and over the sheet.
    const bool reversed = m_nPageOrder == 2 || m_nPageOrder == 3;
    int x1 = m_anShadow[0], x2 = m_anShadow[1];
    const int y1 = m_anShadow[2], y2 = m_anShadow[3];
    if (reversed && !m_nBooklet) {
        x1 = -x1;
        x2 = -x2;
    }
    const int* cover = m_anCoverFlags;  // front from feeder, front, back, back from feeder
    const bool oneSided = m_wDuplex == 1;
    int dx, dy;
    if (!cover[3] && oneSided && (!reversed || (!cover[0] && !cover[1]))) {
        const bool flat = !cover[2] && !reversed;
        dx = flat ? 0 : x1;
        dy = flat ? 0 : y1;
    } else if (!cover[2] && oneSided) {
        dx = x1;
        dy = y1;
    } else {
        dx = x1 + x2;
        dy = y1 + y2;
    }
    RECT area = {m_rcSheet.left - dx, m_rcSheet.top - dy, m_rcSheet.right, m_rcSheet.bottom};
    if (cover[0] || cover[1] || reversed) {
        area.right += x1 + x2;
        area.bottom += y1 + y2;
    }
    // The poster's shadow lies beside and under the page.
    if (BPosterGridShown()) {
        area.right = std::max(area.right, m_rcPage.right + 4);
        area.bottom = std::max(area.bottom, m_rcPage.bottom + 4);
    }
    if (m_bTransverse) {
        VCopyTurned(area);
    } else {
        BitBlt(m_hdcPaint, area.left, area.top, Width(area), Height(area), m_hdcMem, area.left, area.top, SRCCOPY);
        m_painted.rcSheet = m_rcSheet;
    }
}

void CZQPreview::VCopyTurned(const RECT& area) {
    // A quarter turn clockwise about the area's centre: (x, y) of the area goes to (height - y, x).
    const int left = (area.left + area.right) / 2 - Height(area) / 2;
    const int top = (area.top + area.bottom) / 2 - Width(area) / 2;
    VBlitTurned(m_hdcPaint, left, top, area, 1);
    std::swap(m_painted.szPaper.cx, m_painted.szPaper.cy);
    std::swap(m_painted.szSaved.cx, m_painted.szSaved.cy);
    const RECT& s = m_rcSheet;
    m_painted.rcSheet = {left + area.bottom - s.bottom, top + s.left - area.left, left + area.bottom - s.top,
                         top + s.right - area.left};
}

void CZQPreview::VBlitTurned(HDC hdc, int x, int y, const RECT& area, int iQuarters) {
    const int width = Width(area), height = Height(area);
    if (width <= 0 || height <= 0) return;
    if (iQuarters == 0) {
        BitBlt(hdc, x, y, width, height, m_hdcMem, area.left, area.top, SRCCOPY);
        return;
    }
    const bool quarter = iQuarters == 1;
    const int outW = quarter ? height : width, outH = quarter ? width : height;
    DWORD* source = nullptr;
    DWORD* turned = nullptr;
    // Rows top down.
    const CZQPreviewGdi sourceDib = ZQNewDib(m_hdcMem, width, -height, &source);
    const CZQPreviewGdi turnedDib = ZQNewDib(m_hdcMem, outW, -outH, &turned);
    const CZQPreviewDC dc = ZQOwnDC(CreateCompatibleDC(m_hdcMem));
    if (!sourceDib || !turnedDib || !dc || !source || !turned) return;
    {
        CZQSelectObject select(dc.Get(), sourceDib.Get());
        BitBlt(dc.Get(), 0, 0, width, height, m_hdcMem, area.left, area.top, SRCCOPY);
    }
    GdiFlush();
    // A quarter: (x, y) goes to (height - 1 - y, x); a half: to (width - 1 - x, height - 1 - y).
    for (int sy = 0; sy < height; ++sy)
        for (int sx = 0; sx < width; ++sx) {
            const size_t to = quarter ? static_cast<size_t>(sx) * height + (height - 1 - sy)
                                      : static_cast<size_t>(height - 1 - sy) * width + (width - 1 - sx);
            turned[to] = source[static_cast<size_t>(sy) * width + sx];
        }
    CZQSelectObject select(dc.Get(), turnedDib.Get());
    BitBlt(hdc, x, y, outW, outH, dc.Get(), 0, 0, SRCCOPY);
}
