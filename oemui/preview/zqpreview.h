// The sample-page preview of the settings pages. A page fills its PreviewSettings, hands it to the
// preview (VSetSettings) and asks it to paint (VPaint), inside its WM_PAINT. The preview knows
// nothing of features or devmodes: everything arrives in that record. It owns no GDI object
// between calls; every paint makes and deletes its own.
#pragma once

#include "featurelogic/zqrollsizes.h"
#include "preview/zqpreviewgdi.h"
#include "preview/zqpreviewsettings.h"

// What a paint put where on its control, in the control's client coordinates as the sample page
// reads (never mirrored): the sheet (on a roll as placed on the paper, before anything cuts it),
// the roll with its end caps, the scissors and the cut line (empty when not drawn). The paper the
// sheet stands for (tenths of a millimetre, as the sheet lies on the control; 0 x 0 without a sheet
// frame: a banner, the Z-fold),
// the pixels saving roll paper took off the sheet's width and height, and the rows of a roll's page
// that run on beyond the top of the paper shown.
struct ZQPreviewPainted {
    HWND hwnd;
    RECT rcSheet;
    RECT rcRoll;
    RECT rcScissors;
    RECT rcCutLine;
    SIZE szPaper;
    SIZE szSaved;
    LONG nBeyond;  // rows of a roll's page run on beyond the paper's top, not shown
};

class CZQPreview {
public:
    // Bitmaps are loaded from hModule (the plug-in's module).
    explicit CZQPreview(HINSTANCE hModule);
    virtual ~CZQPreview() = default;
    CZQPreview(const CZQPreview&) = delete;
    CZQPreview& operator=(const CZQPreview&) = delete;

    // Copies the record and applies its rules (scale limits, preview kinds, fit ratios, tiles).
    void VSetSettings(const PreviewSettings* pSettings);
    // Shows the control of the sheet's orientation and hides the other.
    void VChooseWindow();
    // The rectangle a page invalidates to repaint its preview: the two dialog items, in the
    // dialog's client coordinates, united and grown by 10 pixels.
    static void VGetRepaintRect(HWND hDlg, int idA, int idB, RECT* pRect);

    // Shared drawing routines of the painters.
    // A sample colour, half-way to white in thriftmode.
    COLORREF CrPreviewColor(BYTE r, BYTE g, BYTE b) const;
    // The tint-ramp colour of the colour's luminance.
    static COLORREF CrTintColor(BYTE r, BYTE g, BYTE b);
    // (0, 0, width, height) of a bitmap of the module; empty when it is missing.
    void VGetBitmapRect(WORD wId, RECT* pRect) const;
    // Puts the window DC into advanced mode with a move by half the size of the bitmap in hdc less
    // the client size, a turn by the angle, then xf.
    void VSetRotation(float fAngle, HDC hdc, XFORM xf);

    // The document page of the last paint (other pages place their own marks by it).
    const RECT& PageRect() const { return m_rcPage; }
    // What the last paint put where.
    const ZQPreviewPainted& Painted() const { return m_painted; }

protected:
    // ---- painting steps
    void VLayoutPage();
    // The memory DC and bitmap of the paint, as large as the window (large format: the sheet).
    void VCreateBackBuffer(CZQPreviewDC* pMemory, CZQPreviewGdi* pBitmap);
    void VFitDesktopPage(RECT* pRect, int iWidth, int iHeight) const;
    // Large-format pages are sized by the roll the preview shows.
    virtual void VFitLargeFormatPage(RECT* pRect, int iWidth, int iHeight) = 0;
    // Saving roll paper: the sheet loses twice the gap at its bottom or its right, and the content
    // moves by the inset away from that edge (x or y offset; the other is 0).
    bool BTrimAtBottom() const;
    void VTrimSheet();
    void VTrimOffsets(int* pdx, int* pdy) const;
    static int IRoundTenth(double x);
    void VComputeNupGrid();
    void VDrawPagesInOrder();
    // Row and column (1-based) of the k-th cell visited in a page order.
    static void VVisitCell(int iPageOrder, int cRows, int cColumns, int k, int* piRow, int* piColumn);
    void VDrawCell(int iRow, int iColumn, int* piPage);
    void VDrawPageContent(int iPage);
    void VDrawTextLines(int iPage, int dx, int dy);
    void VDrawLetterE(int dx, int dy);
    void VDrawBarChart(int dx, int dy);
    void VDrawPageNumber(int iPage);
    void VDrawWatermark();
    void VDrawGutterLine();
    void VDrawBindingEdge();
    // The two-sided printing icon's bitmap; 0 when none is drawn.
    WORD WDuplexIconId() const;
    void VDrawDuplexIcon();
    void VMirror();
    void VDrawFocus();
    void VDrawDashedCellFrame();
    // A bitmap of the module drawn see-through with a corner on (x, y) (its right or left, bottom
    // or top one): the area of its top-left pixel's colour lets the picture under it show.
    void VDrawKeyedBitmap(WORD wId, int x, int y, bool bRightCorner, bool bBottomCorner);
    // Where the middle of a text of this size turned by the angle lies on the point: the text's
    // start. *pdStart carries the last start angle between calls (kept for a text of no width).
    static POINT PtTurnedTextStart(POINT centre, SIZE size, int iAngle, double* pdStart);
    // A number in blue with a white outline.
    void VDrawOutlinedText(HDC hdc, int x, int y, const WCHAR* pszText, int cch) const;

    // ---- finishing marks, over the sheet
    void VDrawStapleMarks();
    void VDrawStaplerStapleMarks();
    void VDrawMailboxStapleMarks();
    void VDrawStitchMarks();
    void VDrawPunchMarks();
    void VDrawFoldMarks();
    void VDrawFoldIcon();
    // The staples, holes and folds of the clamped codes.
    void VDrawFinishing();

    // ---- poster tiles, cover sheets, envelopes and banners
    void VDrawPosterTiles();
    bool BPosterGridShown() const;
    void VSetShadowOffsets();
    void VDrawBackCovers();
    // The front covers lie over the sheet, shifted down and to the other side, and tint what they
    // cover: a layer filled with their colours is combined with the back buffer.
    void VDrawFrontCovers();
    void VFillFrontCoverLayer(HDC hdc);
    void VFillFeederCoverLayer(HDC hdc);
    // The layer over the sheet, the covers' edges beyond it, and their outlines.
    void VCompositeFrontCovers(HDC hdc);
    void VDrawEnvelope(HDC hdc, int iPage);
    void VDrawBanner();

    // ---- tint and translucent overlays
    // A sample colour drawn through the tint ramp, then lightened in thriftmode.
    COLORREF CrTintedColor(BYTE r, BYTE g, BYTE b) const;
    // A black band kFadeBand pixels across from x to xEnd, fading to clear, over the back buffer.
    // Virtual so that a probe can watch where it lands on the sheet.
    virtual void VDrawFadeBand(int x, int y, int xEnd);
    static constexpr int kFadeBand = 25;
    // The window's background colour laid over the rectangle of the window at 160/255.
    void VVeilRect(const RECT* pRect);
    void VFillWithBackground(HDC hdc);
    // The colour the preview control shows round the sheet.
    COLORREF CrWindowBackground() const;
    void VResetRotation(HDC hdc);
    void VVeilRollFrame();
    // The desktop picture to the window: the sheet with the room its cover sheets take.
    void VCopyDesktopPicture();
    // The area to the window turned by a quarter, about its centre (paper fed transverse).
    void VCopyTurned(const RECT& area);
    // The area of the back buffer to hdc with its top-left corner at (x, y), turned clockwise by
    // 0, 1 or 2 quarters. The pixels are turned here: not every GDI honours a turn in a blit.
    void VBlitTurned(HDC hdc, int x, int y, const RECT& area, int iQuarters);

    // Content drawn at a reduced scale moves with the page (desktop printers, and large-format
    // pages sized in inches without the scale).
    bool BScaledContent() const;
    // The move of reduced content on the page.
    POINT PtReducedOffset(bool bChartInset) const;
    bool BRightToLeftDC() const;

    // ---- fields (the constructor's values; geometry is recomputed on every paint)
    HDC m_hdcMem = nullptr;       // back buffer; every step draws here
    HDC m_hdcPaint = nullptr;     // BeginPaint of the active window
    HDC m_hdcRollOptions = nullptr;
    int m_nGap = 10;              // between N-up cells
    int m_nInset = 0;             // of the sample content inside a cell
    RECT m_rcPage = {};           // document page in the window
    RECT m_rcCell = {};           // cell being drawn
    RECT m_rcClient = {};         // active window, client coordinates
    HWND m_hwndPortrait = nullptr;
    HWND m_hwndLandscape = nullptr;
    HWND m_hwndActive = nullptr;
    HWND m_hwndRollOptions = nullptr;
    RECT m_rcSheet = {};          // output sheet
    int m_bPoster = 0;
    int m_nPosterSize = 0;
    int m_bEnvelope = 0;
    int m_nDocWidth = 0;          // tenths of a millimetre
    int m_nDocHeight = 0;
    int m_nSheetWidth = 0;
    int m_nSheetHeight = 0;
    int m_bFitToPage = 0;
    int m_bFitScaled = 0;
    int m_bSameSize = 0;
    int m_abPosterTile[kPreviewPosterTiles] = {};
    int m_nTilesPerSide = 0;
    int m_bTint = 0;
    int m_bCenterOnPage = 0;
    WORD m_wOrientation = 1;
    WORD m_wSheetOrientation = 1;
    WORD m_wDuplex = 1;
    int m_bFlipUp = 0;
    int m_nNupIndex = 1;
    int m_bPageBorders = 0;
    int m_nBooklet = 0;
    int m_nPageOrder = 0;
    int m_nThriftmode = 2;
    int m_nStapleCode = 0;
    int m_nPunchCode = 0;
    int m_nPunchUnit = -1;
    int m_nFoldCode = 0;
    int m_nFinisherKind = 0;
    int m_bRotated = 0;
    int m_bTransverse = 0;
    int m_bMirror = 0;
    int m_bLetterOrA4 = 1;
    int m_nScale = 100;
    int m_nWatermarkPages = 0;
    int m_anCoverFlags[4] = {};   // front from feeder, front, back, back from feeder
    int m_anShadow[4] = {};       // dx1, dx2, dy1, dy2 of stacked cover sheets
    WCHAR m_szFontFace[32] = L"Arial";
    int m_nWatermarkStyle = 0;
    int m_nWatermarkColor = 0;
    int m_nWatermarkShade = 0;
    int m_nWatermarkAngle = 52;
    int m_nWatermarkSize = 100;   // tenths of a point
    COLORREF m_crWatermarkDefault = RGB(0, 0, 255);
    WCHAR m_szWatermarkText[256] = L"Confidential";
    int m_bSuppressWatermark = 0;
    int m_bGrayscale = 0;
    int m_nLayoutKind = 3;        // 1 single page, 2 N-up with borders, 3 everything
    int m_bColorOutput = 1;
    int m_anRows[2] = {};         // rows, columns
    int m_nCellHeight = 0;
    int m_nCellWidth = 0;
    int m_nMarginY = 0;
    int m_nMarginX = 0;
    int m_nLinePitch = 0;
    int m_bBanner = 0;
    int m_bNoInset = 0;
    int m_nContentOrientation = 0;
    int m_bLargeFormat = 0;
    int m_nPageLanguage = 0;
    int m_bRollPaper = 0;
    int m_bSaveRollPaper = 0;
    int m_bAutoCutter = 0;
    int m_bAutoRotate = 0;
    int m_bInchesUnscaled = 0;
    int m_bWithMargins = 0;
    int m_nMarginLayout = 3;
    int m_anMarginInset[3] = {};
    ZQPreviewPainted m_painted = {};
    // Bitmaps come from here.
    HINSTANCE m_hModule = nullptr;
};

// The preview of every page: the sample page and the roll-paper state of large-format printers.
class CZQRollPreview : public CZQPreview, public IZQRollSizeSink {
public:
    explicit CZQRollPreview(HINSTANCE hModule);

    // Narrowest width, widest width, roll width, shortest and longest length, in inches as decimal
    // texts; a text that is not a number counts as 0. The paper drawn becomes as wide as the roll.
    void VSetRollSizes(PCWSTR pszMinWidth, PCWSTR pszMaxWidth, PCWSTR pszRollWidth, PCWSTR pszMinLength,
                       PCWSTR pszMaxLength) override;
    // Pixel width of the paper drawn by the last large-format paint; 0 before the first.
    // First caller: the large-format Features page.
    int IGetWidthMarkPos() const { return m_nWidthMarkPos; }
    // The paper drawn on the roll or sheet picture by the last large-format paint.
    const RECT& PaperRect() const { return m_rcPaper; }
    // The layout dialog's roll picture: margin layout (0 standard, 1 oversize, 2 clip, 3 borderless),
    // margin set (0 normal, 1 extended, 2 small), enlargement (0 automatic, 1 manual). Called in
    // the dialog's WM_PAINT after VSetSettings.
    void VPaintRollOptions(int iMarginLayout, int iMarginSet, int iEnlargement);

    // The whole paint of the active preview control, drawn off screen and copied to the window
    // once. Pages call it after VSetSettings, inside their WM_PAINT.
    void VPaint();

protected:
    // The back buffer to the window (the last painting step).
    void VCopyToWindow();

    // The page's side across the roll at the roll's scale, the other at the paper's proportions; a
    // page longer than the paper shown runs on beyond it.
    void VFitLargeFormatPage(RECT* pRect, int iWidth, int iHeight) override;
    // Pixels of the paper's width on the roll or sheet picture.
    int IPaperMarkPx() const;
    // Pixels times a ratio, rounded, at least 1 and within what GDI draws.
    static int IScaledPixels(int iPixels, double dRatio);
    // Pixels of a paper x inches wide, between the narrowest and widest drawn widths, shrunk by
    // the roll's fit.
    int IWidthPixels(double dInches) const;
    // The roll picture shrunk (every width alike) where the control is too narrow for the widest
    // paper, the roll's end and the lip: `iRoom` pixels across for them.
    void VFitRollTo(int iRoom);
    // The roll with its paper hanging from it, painted on the window DC (roll paper loaded).
    void VDrawRollPicture();
    // The plain sheet of sheet-fed paper on the window DC.
    void VDrawSheetPicture();
    // The roll, its core and spindle and the paper rectangle's outline and fill on hdc; the roll
    // stands on rollTop.
    void VDrawRoll(HDC hdc, const RECT& paper, int iRollTop) const;
    // Whether a sheet of that many pixels goes across a paper of iMark pixels, and the turn it
    // takes (0, 90 or 180 degrees).
    bool BPageAcross(int iSheetWidth, int iSheetHeight, int iMark) const;
    int ITurnAngle(bool bAcross) const;
    // The fade band over the part of the page beyond the paper shown, and the fold triangles.
    BOOL BDrawPaperCurl();
    void VDrawRollEdges();
    void VDrawCutter(bool bAcross);
    // The back buffer's sheet, turned, to the window with its bottom-right corner on the paper's.
    void VPlaceOnRoll();
    // A module bitmap stretched to the rectangle, white see-through when bKeyed.
    void VDrawBitmap(HDC hdc, WORD wId, const RECT& to, bool bKeyed) const;

    int m_nRollDiameter = 25;     // pixels
    int m_nRollDepth = 15;
    int m_nRollLip = 2;
    int m_nMinWidthPx = 50;
    double m_dMinWidth = 8.5;     // inches
    int m_nMaxWidthPx = 0;
    double m_dMaxWidth = 42.0;
    double m_dRollWidth = 42.0;
    double m_dPaperWidth = 42.0;
    int m_nWidthMarkPos = 0;
    bool m_bPageAcross = false;   // the page goes across the roll (decided with the page's size)
    RECT m_rcPaper = {};          // paper drawn on the roll or sheet picture
    double m_dMinLength = 11.0;
    double m_dMaxLength = 57.32;
    double m_dRollFit = 1.0;      // 1, or less in a narrow control
};
