// The preview object: its defaults, the copy of a page's record with its rules, the choice of the
// control and the routines every painter shares.
#include "preview/zqpreview.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <iterator>

#include "common/zqstrings.h"
#include "preview/zqpreviewgdi.h"

namespace zqpreview {

namespace {
volatile LONG g_live = 0;
}  // namespace

LONG LiveObjects() { return g_live; }
void VCountMade() { InterlockedIncrement(&g_live); }
void VCountDeleted() { InterlockedDecrement(&g_live); }

}  // namespace zqpreview

namespace {

constexpr int kMinScale = 25;
constexpr int kMaxScale = 400;
constexpr int kMaxScaleLargeFormat = 1000;

// A fit ratio as a whole percentage; a ratio too large for the scale field saturates.
int TruncatedPercent(float ratio) {
    if (!(ratio < static_cast<float>(INT_MAX))) return INT_MAX;
    return static_cast<int>(ratio);
}

}  // namespace

CZQPreview::CZQPreview(HINSTANCE hModule) : m_hModule(hModule) {
    std::fill(std::begin(m_abPosterTile), std::end(m_abPosterTile), 1);
}

CZQRollPreview::CZQRollPreview(HINSTANCE hModule) : CZQPreview(hModule) {}

void CZQPreview::VSetSettings(const PreviewSettings* pSettings) {
    if (!pSettings) return;
    const PreviewSettings& s = *pSettings;
    const int* value = s.aiValue;
    const int* extra = s.aiExtra;

    // Handles, the large-format values and the kind as they stand.
    m_hwndPortrait = ZQPreviewWindow(s, kPvPortraitWindow);
    m_hwndLandscape = ZQPreviewWindow(s, kPvLandscapeWindow);
    m_hwndRollOptions = ZQPreviewWindow(s, kPvRollOptionsWindow);
    m_nContentOrientation = extra[kPxContentOrientation];
    m_bLargeFormat = extra[kPxLargeFormat];
    m_nPageLanguage = extra[kPxPageLanguage];
    m_bRollPaper = extra[kPxRollPaper];
    m_bSaveRollPaper = extra[kPxSaveRollPaper];
    m_bAutoCutter = extra[kPxAutoCutter];
    m_bAutoRotate = extra[kPxAutoRotate];
    m_bInchesUnscaled = extra[kPxInchesUnscaled];
    m_bNoInset = value[kPvNoInset];
    m_bBanner = value[kPvBanner];
    m_nLayoutKind = value[kPvKind];
    m_wOrientation = s.wOrientation;
    m_wDuplex = s.wDuplex;
    m_bFlipUp = value[kPvFlipUp];

    // Kind 1 is a single page as it stands; kind 2 frames every page and keeps the first order.
    const bool single = m_nLayoutKind == 1;
    m_nNupIndex = s.iPagesPerSheet;
    // 0 and any index the grids do not know are one page per sheet.
    if (single || m_nNupIndex < 1 || m_nNupIndex > 6) m_nNupIndex = 1;
    m_bPageBorders = single ? 0 : m_nLayoutKind == 2 ? 1 : s.iPageBorders;
    m_nBooklet = single ? 0 : s.iBooklet;
    m_nPageOrder = m_nLayoutKind == 3 ? s.iPageOrder : 0;
    m_nThriftmode = s.iThriftmode;

    // Finishing codes are checked by the painter.
    m_nStapleCode = value[kPvStaple];
    m_nPunchCode = value[kPvPunch];
    m_nFoldCode = value[kPvFold];
    m_nPunchUnit = value[kPvPunchUnit];
    m_anCoverFlags[0] = value[kPvFrontCoverFeeder];
    m_anCoverFlags[1] = value[kPvFrontCover];
    m_anCoverFlags[2] = value[kPvBackCover];
    m_anCoverFlags[3] = value[kPvBackCoverFeeder];
    m_nFinisherKind = value[kPvFinisherKind];
    m_bRotated = value[kPvRotated];
    m_bTransverse = value[kPvTransverse];
    m_bMirror = value[kPvMirror];
    m_bLetterOrA4 = value[kPvLetterOrA4];

    // The record's texts may be unterminated: each is read within its bound.
    const ZQPreviewWatermark& wm = s.watermark;
    ZQCopyTextN(m_szFontFace, _countof(m_szFontFace), wm.szFont, _countof(m_szFontFace) - 1);
    ZQCopyTextN(m_szWatermarkText, _countof(m_szWatermarkText), wm.szText, _countof(m_szWatermarkText) - 1);
    m_nWatermarkShade = wm.iShade;
    m_nWatermarkColor = wm.iColor;
    m_nWatermarkStyle = wm.iStyle;
    m_nWatermarkSize = wm.iSize;
    m_nWatermarkAngle = wm.iAngle;

    int scale = value[kPvScale];
    const int maxScale = m_bLargeFormat ? kMaxScaleLargeFormat : kMaxScale;
    if (scale < kMinScale) scale = kMinScale;
    if (scale > maxScale) scale = maxScale;
    if (!m_bLargeFormat && single) scale = 100;

    m_nWatermarkPages = value[kPvWatermarkFirstPage];
    m_bGrayscale = value[kPvGrayscale];
    m_bColorOutput = value[kPvColorOutput];
    m_bSuppressWatermark = value[kPvNoWatermark];
    m_nPosterSize = value[kPvPosterSize];
    m_bEnvelope = value[kPvEnvelope];
    m_bPoster = value[kPvPoster];
    m_bTint = extra[kPxTint];
    m_bCenterOnPage = extra[kPxCenterOnPage];
    m_bFitToPage = value[kPvFitToPage];
    m_bFitScaled = value[kPvFitScaled];
    m_nDocWidth = value[kPvDocWidth];
    m_nDocHeight = value[kPvDocHeight];
    m_nSheetWidth = value[kPvSheetWidth];
    m_nSheetHeight = value[kPvSheetHeight];

    // Printing on another paper: the smaller of the two ratios, unless the content keeps its size.
    // An unknown size on either side has no ratio: the content keeps its size.
    if (m_bFitToPage) {
        m_bSameSize = 0;
        if (m_nDocWidth <= 0 || m_nDocHeight <= 0 || m_nSheetWidth <= 0 || m_nSheetHeight <= 0) {
            scale = 100;
        } else {
            const float ratioH = static_cast<float>(m_nSheetHeight) * 100.0f / static_cast<float>(m_nDocHeight);
            const float ratioW = static_cast<float>(m_nSheetWidth) * 100.0f / static_cast<float>(m_nDocWidth);
            m_bSameSize = ratioH == 100.0f && ratioW == 100.0f ? 1 : 0;
            scale = std::min(TruncatedPercent(ratioH), TruncatedPercent(ratioW));
            if (!m_bFitScaled) scale = 100;
        }
        if (m_bLargeFormat) scale = 100;
    }
    m_nScale = scale;

    // The tiles of an n x n poster; the others keep their flags.
    m_nTilesPerSide = extra[kPxTilesPerSide];
    const long long tiles = static_cast<long long>(m_nTilesPerSide) * m_nTilesPerSide;
    for (int i = 0; i < tiles && i < kPreviewPosterTiles; ++i) m_abPosterTile[i] = s.aiPosterTile[i];

    m_bWithMargins = extra[kPxWithMargins];
    m_nMarginLayout = extra[kPxMarginLayout];
}

void CZQPreview::VChooseWindow() {
    // Two and six pages per sheet lie across the sheet.
    m_wSheetOrientation = m_wOrientation;
    if (m_nNupIndex == 2 || m_nNupIndex == 4) m_wSheetOrientation = m_wOrientation == 1 ? 2 : 1;
    const HWND shown = m_wSheetOrientation == 2 ? m_hwndLandscape : m_hwndPortrait;
    const HWND hidden = shown == m_hwndLandscape ? m_hwndPortrait : m_hwndLandscape;
    if (hidden && hidden != shown) ShowWindow(hidden, SW_HIDE);
    if (shown) ShowWindow(shown, SW_SHOW);
    m_hwndActive = shown;
}

void CZQPreview::VGetRepaintRect(HWND hDlg, int idA, int idB, RECT* pRect) {
    if (!pRect) return;
    SetRectEmpty(pRect);
    for (int id : {idB, idA}) {
        const HWND item = hDlg ? GetDlgItem(hDlg, id) : nullptr;
        RECT r;
        if (!item || !GetWindowRect(item, &r)) continue;
        MapWindowPoints(nullptr, hDlg, reinterpret_cast<POINT*>(&r), 2);
        UnionRect(pRect, pRect, &r);
    }
    if (!IsRectEmpty(pRect)) InflateRect(pRect, 10, 10);
}

COLORREF CZQPreview::CrPreviewColor(BYTE r, BYTE g, BYTE b) const {
    if (m_nThriftmode == 3) {
        auto lighter = [](BYTE c) { return static_cast<BYTE>(255 - ((255 - c) >> 1)); };
        return RGB(lighter(r), lighter(g), lighter(b));
    }
    return RGB(r, g, b);
}

void CZQPreview::VGetBitmapRect(WORD wId, RECT* pRect) const {
    if (!pRect) return;
    SetRectEmpty(pRect);
    const CZQPreviewGdi bitmap = ZQOwnGdi(LoadImageW(m_hModule, MAKEINTRESOURCEW(wId), IMAGE_BITMAP, 0, 0, 0));
    BITMAP bm = {};
    if (bitmap && GetObjectW(bitmap.Get(), sizeof bm, &bm)) SetRect(pRect, 0, 0, bm.bmWidth, bm.bmHeight);
}

void CZQPreview::VSetRotation(float fAngle, HDC hdc, XFORM xf) {
    if (!m_hdcPaint) return;
    BITMAP bm = {};
    const HGDIOBJ bitmap = hdc ? GetCurrentObject(hdc, OBJ_BITMAP) : nullptr;
    if (bitmap) GetObjectW(bitmap, sizeof bm, &bm);
    SetGraphicsMode(m_hdcPaint, GM_ADVANCED);
    const XFORM move = {1.0f, 0.0f, 0.0f, 1.0f,
                        static_cast<FLOAT>(bm.bmWidth / 2 - (m_rcClient.right - m_rcClient.left)),
                        static_cast<FLOAT>(bm.bmHeight / 2 - (m_rcClient.bottom - m_rcClient.top))};
    const float radians = fAngle * 3.1415925f / 180.0f;
    const float c = std::cos(radians), s = std::sin(radians);
    const XFORM turn = {c, s, -s, c, 0.0f, 0.0f};
    XFORM moved, world;
    CombineTransform(&moved, &move, &turn);
    CombineTransform(&world, &moved, &xf);
    SetWorldTransform(m_hdcPaint, &world);
}

bool CZQPreview::BRightToLeftDC() const {
    if (!m_hdcPaint) return false;
    const DWORD layout = GetLayout(m_hdcPaint);
    return layout != GDI_ERROR && (layout & LAYOUT_RTL) != 0;
}
