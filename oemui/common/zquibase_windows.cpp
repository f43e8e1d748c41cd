// CZQUIBase: trees, lists, window placement, numbers, bitmaps and the preview labels.
#include <algorithm>
#include <cwchar>
#include <utility>

#include "formats/zquidevmode.h"
#include "common/zqhandles.h"
#include "common/zqlanguage.h"
#include "common/zqprintercaps.h"
#include "common/zqstrings.h"
#include "common/zquibase.h"

namespace {

constexpr UINT_PTR kPreviewLabelSubclassId = 0x5A51;

// The last child of an item (TVI_ROOT: of the root) whose item data is the level.
HTREEITEM LastChildOfLevel(HWND hTree, HTREEITEM hParent, int iLevel) {
    HTREEITEM child = reinterpret_cast<HTREEITEM>(SendMessageW(
        hTree, TVM_GETNEXTITEM, hParent == TVI_ROOT ? TVGN_ROOT : TVGN_CHILD, reinterpret_cast<LPARAM>(hParent)));
    HTREEITEM found = nullptr;
    for (; child; child = reinterpret_cast<HTREEITEM>(
                      SendMessageW(hTree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(child)))) {
        TVITEMW item = {};
        item.mask = TVIF_PARAM | TVIF_HANDLE;
        item.hItem = child;
        if (SendMessageW(hTree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) && item.lParam == iLevel)
            found = child;
    }
    return found;
}

HTREEITEM PreviousSibling(HWND hTree, HTREEITEM hItem) {
    return reinterpret_cast<HTREEITEM>(
        SendMessageW(hTree, TVM_GETNEXTITEM, TVGN_PREVIOUS, reinterpret_cast<LPARAM>(hItem)));
}

// Items are only ever appended, so the level-1 item inserted last is the last one at the root, and
// the level-2 item inserted last is the last level-2 child of the latest level-1 item that has one.
HTREEITEM LastInsertedLevel2(HWND hTree) {
    for (HTREEITEM top = LastChildOfLevel(hTree, TVI_ROOT, 1); top; top = PreviousSibling(hTree, top)) {
        HTREEITEM child = LastChildOfLevel(hTree, top, 2);
        if (child) return child;
    }
    return nullptr;
}

LRESULT CALLBACK PreviewLabelProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, UINT_PTR uId, DWORD_PTR) {
    switch (uMsg) {
        case WM_NCHITTEST: return HTCLIENT;  // a static control would let the click through
        case WM_SETCURSOR: SetCursor(LoadCursorW(nullptr, IDC_HAND)); return TRUE;
        case WM_LBUTTONUP:
            SendMessageW(GetParent(hWnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hWnd), BN_CLICKED),
                         reinterpret_cast<LPARAM>(hWnd));
            return 0;
        case WM_NCDESTROY: RemoveWindowSubclass(hWnd, &PreviewLabelProc, uId); break;
        default: break;
    }
    return DefSubclassProc(hWnd, uMsg, wParam, lParam);
}

void SubclassPreviewLabel(HWND hDlg, int iCtrlId) {
    HWND hLabel = GetDlgItem(hDlg, iCtrlId);
    // Setting the same subclass again only replaces it, so pages may call this on every refresh.
    if (hLabel) SetWindowSubclass(hLabel, &PreviewLabelProc, kPreviewLabelSubclassId, 0);
}

// A bitmap of the module in a memory DC compatible with hdc; everything made is freed with it.
class CMemoryBitmap {
public:
    CMemoryBitmap(HDC hdc, HINSTANCE hModule, WORD wId)
        : m_bitmap(LoadImageW(hModule, MAKEINTRESOURCEW(wId), IMAGE_BITMAP, 0, 0, 0)),
          m_dc(CreateCompatibleDC(hdc)) {
        if (m_bitmap && m_dc) m_old = SelectObject(m_dc, m_bitmap.Get());
    }
    ~CMemoryBitmap() {
        if (m_old) SelectObject(m_dc, m_old);
        if (m_dc) DeleteDC(m_dc);
    }
    CMemoryBitmap(const CMemoryBitmap&) = delete;
    CMemoryBitmap& operator=(const CMemoryBitmap&) = delete;
    bool Ok() const { return m_old != nullptr; }
    HDC Dc() const { return m_dc; }
    SIZE Size() const {
        BITMAP bm = {};
        GetObjectW(m_bitmap.Get(), sizeof bm, &bm);
        return {bm.bmWidth, bm.bmHeight};
    }

private:
    CZQGdiObject m_bitmap;
    HDC m_dc;
    HGDIOBJ m_old = nullptr;
};

// Tenths of a millimetre as inches or millimetres, trimmed by the number format.
bool FormatLength(LONG lTenthsMm, DWORD dwUnitMm, CZQLocalPtr<WCHAR>& text) {
    const double value = dwUnitMm ? lTenthsMm / 10.0 : lTenthsMm / 254.0;
    return CZQUIBase::BFormatNumber(value, text.Put()) != FALSE;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Trees, lists and placement
// ---------------------------------------------------------------------------------------------
HTREEITEM CZQUIBase::HInsertTreeItem(HWND hTree, PCWSTR pszText, int iLevel) {
    if (!hTree || !pszText || iLevel < 1) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    HTREEITEM parent = nullptr;
    if (iLevel == 2)
        parent = LastChildOfLevel(hTree, TVI_ROOT, 1);
    else if (iLevel > 2)
        parent = LastInsertedLevel2(hTree);
    TVINSERTSTRUCTW insert = {};
    insert.hParent = parent ? parent : TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM;
    insert.item.pszText = const_cast<PWSTR>(pszText);
    insert.item.lParam = iLevel;
    HTREEITEM item =
        reinterpret_cast<HTREEITEM>(SendMessageW(hTree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    if (item && parent) {
        TVITEMW reset = {};
        reset.mask = TVIF_HANDLE | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        reset.hItem = parent;
        SendMessageW(hTree, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&reset));
    }
    return item;
}

LONG CZQUIBase::LWidestComboEntry(HWND hCombo) {
    if (!hCombo) return 0;
    HDC hdc = GetDC(hCombo);
    if (!hdc) return 0;
    HGDIOBJ oldFont = SelectObject(hdc, reinterpret_cast<HGDIOBJ>(SendMessageW(hCombo, WM_GETFONT, 0, 0)));
    LONG widest = 0;
    const LRESULT count = SendMessageW(hCombo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT len = SendMessageW(hCombo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        if (len <= 0) continue;
        CZQLocalPtr<WCHAR> text;
        if (!text.Alloc(static_cast<size_t>(len) + 1)) continue;
        if (SendMessageW(hCombo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.Get())) == CB_ERR)
            continue;
        SIZE extent = {};
        if (GetTextExtentPoint32W(hdc, text.Get(), static_cast<int>(len), &extent) && extent.cx > widest)
            widest = extent.cx;
    }
    if (oldFont) SelectObject(hdc, oldFont);
    ReleaseDC(hCombo, hdc);
    return widest;
}

void CZQUIBase::VFitComboDropWidth(HWND hCombo) {
    if (!hCombo) return;
    const LONG width = LWidestComboEntry(hCombo) + GetSystemMetrics(SM_CXVSCROLL) + 2 * GetSystemMetrics(SM_CXEDGE);
    SendMessageW(hCombo, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(width), 0);
}

BOOL CZQUIBase::BPlaceWindow(HWND hWnd, const RECT* pRecorded, int iWidth, int iHeight, float fTop) {
    if (!hWnd || !pRecorded) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    return SetWindowPos(hWnd, HWND_BOTTOM, pRecorded->left, static_cast<int>(fTop), iWidth, iHeight,
                        SWP_NOZORDER | SWP_NOCOPYBITS);
}

void CZQUIBase::VGetChildRect(HWND hParent, HWND hChild, RECT* pRect, int* piWidth, int* piHeight) {
    if (!hChild || !pRect) return;
    GetWindowRect(hChild, pRect);
    MapWindowPoints(nullptr, hParent, reinterpret_cast<POINT*>(pRect), 2);
    // A mirrored parent maps the corners swapped.
    if (pRect->left > pRect->right) std::swap(pRect->left, pRect->right);
    if (piWidth) *piWidth = pRect->right - pRect->left;
    if (piHeight) *piHeight = pRect->bottom - pRect->top;
}

BOOL CZQUIBase::BIsAllDigits(PCWSTR pszText) {
    if (!pszText) return FALSE;
    for (PCWSTR p = pszText; *p; ++p)
        if (*p < L'0' || *p > L'9') return FALSE;
    return TRUE;
}

BOOL CZQUIBase::BIsAllAlnum(PCWSTR pszText) {
    if (!pszText) return FALSE;
    for (PCWSTR p = pszText; *p; ++p)
        if (!IsCharAlphaNumericW(*p)) return FALSE;
    return TRUE;
}

BOOL CZQUIBase::BFormatNumber(double dValue, PWSTR* ppszText) {
    if (!ppszText) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    *ppszText = nullptr;
    WCHAR plain[64];
    if (FAILED(ZQFormatText(plain, 64, L"%1.2lf", dValue))) return FALSE;
    const LCID lcid = MAKELCID(zqlang::UiLanguage(), SORT_DEFAULT);
    const int needed = GetNumberFormatW(lcid, LOCALE_NOUSEROVERRIDE, plain, nullptr, nullptr, 0);
    if (needed <= 0) return FALSE;
    CZQLocalPtr<WCHAR> text;
    if (!text.Alloc(static_cast<size_t>(needed) + 1)) return FALSE;
    if (!GetNumberFormatW(lcid, LOCALE_NOUSEROVERRIDE, plain, nullptr, text.Get(), needed)) return FALSE;
    WCHAR separator[8] = {};
    if (GetLocaleInfoW(lcid, LOCALE_SDECIMAL | LOCALE_NOUSEROVERRIDE, separator, 8) > 1) {
        // Only the digits behind the decimal separator are trimmed.
        PWSTR sep = wcsstr(text.Get(), separator);
        if (sep) {
            PWSTR end = text.Get() + wcslen(text.Get());
            PWSTR fraction = sep + wcslen(separator);
            while (end > fraction && end[-1] == L'0') *--end = 0;
            if (end == fraction) *sep = 0;
        }
    }
    *ppszText = text.Release();
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Bitmaps
// ---------------------------------------------------------------------------------------------
RECT CZQUIBase::RcFitPicture(const RECT& rcRoom, SIZE picture, BOOL bCentred) {
    const LONG roomW = std::max<LONG>(0, rcRoom.right - rcRoom.left), roomH = std::max<LONG>(0, rcRoom.bottom - rcRoom.top);
    LONG w = std::max<LONG>(0, picture.cx), h = std::max<LONG>(0, picture.cy);
    if (w > roomW || h > roomH) {
        // The side that overflows more decides the scale; the other follows it, rounded.
        if (static_cast<long long>(w) * roomH >= static_cast<long long>(h) * roomW) {
            h = static_cast<LONG>((static_cast<long long>(h) * roomW + w / 2) / w);
            w = roomW;
        } else {
            w = static_cast<LONG>((static_cast<long long>(w) * roomH + h / 2) / h);
            h = roomH;
        }
    }
    RECT fit = {rcRoom.left, rcRoom.top, rcRoom.left + w, rcRoom.top + h};
    if (bCentred) OffsetRect(&fit, (roomW - w) / 2, (roomH - h) / 2);
    return fit;
}

void CZQUIBase::VDrawMaskedBitmap(HWND hDlg, HDC hdc, WORD wBitmap, WORD wMask, int iCtrlId, HINSTANCE hModule,
                                  const PAINTSTRUCT*) {
    HWND hCtrl = GetDlgItem(hDlg, iCtrlId);
    if (!hdc || !hCtrl) return;
    RECT rc;
    VGetChildRect(hDlg, hCtrl, &rc, nullptr, nullptr);
    CMemoryBitmap image(hdc, hModule, wBitmap);
    CMemoryBitmap mask(hdc, hModule, wMask);
    if (!image.Ok() || !mask.Ok()) return;
    const SIZE size = image.Size();
    // A holder smaller than the logo shows it whole, smaller, rather than cut.
    const RECT to = RcFitPicture(rc, size, FALSE);
    const int w = to.right - to.left, h = to.bottom - to.top;
    // A logo carries writing: a mirrored page shows it as it is.
    const DWORD layout = GetLayout(hdc);
    const bool mirrored = layout != GDI_ERROR && (layout & LAYOUT_RTL);
    if (mirrored) SetLayout(hdc, layout | LAYOUT_BITMAPORIENTATIONPRESERVED);
    // The mask clears where the bitmap shows; the bitmap is black elsewhere.
    const int oldMode = SetStretchBltMode(hdc, COLORONCOLOR);
    StretchBlt(hdc, to.left, to.top, w, h, mask.Dc(), 0, 0, size.cx, size.cy, SRCAND);
    StretchBlt(hdc, to.left, to.top, w, h, image.Dc(), 0, 0, size.cx, size.cy, SRCPAINT);
    if (oldMode) SetStretchBltMode(hdc, oldMode);
    if (mirrored) SetLayout(hdc, layout);
}

void CZQUIBase::VPaintItemBitmap(HWND hDlg, int, BOOL bMirror, WORD wBitmap, int iCtrlId, HINSTANCE hModule) {
    HWND hCtrl = GetDlgItem(hDlg, iCtrlId);
    if (!hCtrl) return;
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hCtrl, &ps);
    if (!hdc) return;
    RECT rc;
    GetClientRect(hCtrl, &rc);
    {
        CMemoryBitmap image(hdc, hModule, wBitmap);
        if (image.Ok()) {
            const SIZE size = image.Size();
            const int w = rc.right - rc.left;
            if (bMirror)
                StretchBlt(hdc, rc.right - 1, rc.top, -w, rc.bottom - rc.top, image.Dc(), 0, 0, size.cx, size.cy,
                           SRCCOPY);
            else
                StretchBlt(hdc, rc.left, rc.top, w, rc.bottom - rc.top, image.Dc(), 0, 0, size.cx, size.cy, SRCCOPY);
        }
    }
    EndPaint(hCtrl, &ps);
}

void CZQUIBase::VDrawTransparentBitmap(HDC hdc, HBITMAP hBitmap, int x, int y) {
    if (!hdc || !hBitmap) return;
    HDC mem = CreateCompatibleDC(hdc);
    if (!mem) return;
    HGDIOBJ old = SelectObject(mem, hBitmap);
    BITMAP bm = {};
    GetObjectW(hBitmap, sizeof bm, &bm);
    const COLORREF background = GetPixel(mem, 0, 0);
    TransparentBlt(hdc, x, y, bm.bmWidth, bm.bmHeight, mem, 0, 0, bm.bmWidth, bm.bmHeight, background);
    SelectObject(mem, old);
    DeleteDC(mem);
}

void CZQUIBase::VDrawItemTransparentBitmap(HWND hDlg, HINSTANCE hModule, BOOL bRtl, WORD wBitmap, int iCtrlId) {
    HWND hCtrl = GetDlgItem(hDlg, iCtrlId);
    if (!hCtrl) return;
    CZQGdiObject bitmap(LoadImageW(hModule, MAKEINTRESOURCEW(wBitmap), IMAGE_BITMAP, 0, 0, 0));
    BITMAP bm = {};
    if (!bitmap || !GetObjectW(bitmap.Get(), sizeof bm, &bm)) return;
    RECT rc;
    VGetChildRect(hDlg, hCtrl, &rc, nullptr, nullptr);
    // The picture stays inside its holder, whatever size the helper file's bitmap has.
    const RECT to = RcFitPicture(rc, {bm.bmWidth, bm.bmHeight}, TRUE);
    const CZQWindowDC window(hDlg);
    const HDC hdc = window.Get();
    const CZQMemDC mem(hdc ? CreateCompatibleDC(hdc) : nullptr);
    if (!mem) return;
    DWORD oldLayout = GDI_ERROR;
    // A mirrored dialog would mirror the picture too.
    if (bRtl) oldLayout = SetLayout(hdc, GetLayout(hdc) | LAYOUT_BITMAPORIENTATIONPRESERVED);
    {
        const CZQSelectObject select(mem.Get(), bitmap.Get());
        const COLORREF background = GetPixel(mem.Get(), 0, 0);
        const int oldMode = SetStretchBltMode(hdc, COLORONCOLOR);
        TransparentBlt(hdc, to.left, to.top, to.right - to.left, to.bottom - to.top, mem.Get(), 0, 0, bm.bmWidth,
                       bm.bmHeight, background);
        if (oldMode) SetStretchBltMode(hdc, oldMode);
    }
    if (oldLayout != GDI_ERROR) SetLayout(hdc, oldLayout);
}

// ---------------------------------------------------------------------------------------------
// Preview labels and record
// ---------------------------------------------------------------------------------------------
void CZQUIBase::VSubclassPreviewDimensions(POEMCUIPPARAM, HWND hDlg, HANDLE) {
    SubclassPreviewLabel(hDlg, IDC_PREVIEW_DIMENSIONS);
}

void CZQUIBase::VSubclassPreviewDocSize(POEMCUIPPARAM, HWND hDlg, HANDLE) {
    SubclassPreviewLabel(hDlg, IDC_PREVIEW_DOCSIZE);
}

void CZQUIBase::VSetSizeText(HWND hLabel, PCWSTR pszCaption, INT idCaption, LONG lWidth, LONG lLength,
                             DWORD dwUnitMm) {
    WCHAR caption[kResStringChars];
    if (!BLoadResString(idCaption, caption)) ZQCopyText(caption, kResStringChars, pszCaption);
    WCHAR text[2 * kResStringChars];
    CZQLocalPtr<WCHAR> width, length;
    if (lWidth > 0 && lLength > 0 && FormatLength(lWidth, dwUnitMm, width) && FormatLength(lLength, dwUnitMm, length))
        ZQFormatText(text, 2 * kResStringChars, L"%ls\n%ls x %ls %ls", caption, width.Get(), length.Get(),
                     dwUnitMm ? L"mm" : L"in");
    else
        ZQCopyText(text, 2 * kResStringChars, caption);
    SetWindowTextW(hLabel, text);
}

void CZQUIBase::VSetPreviewPaperText(const ZQUIDevmode* pWorkDM, const PrinterCaps* pCaps, HWND hLabel, int) {
    if (!hLabel) return;
    const DEVMODEW* pub = PublicDevmode();
    LONG w = 0, l = 0;
    if (pWorkDM && pWorkDM->dwPrintDocOn == 1) {
        if (pWorkDM->dwCustomDestWidth && pWorkDM->dwCustomDestLength) {
            w = static_cast<LONG>(pWorkDM->dwCustomDestWidth / 100);
            l = static_cast<LONG>(pWorkDM->dwCustomDestLength / 100);
        } else if (pCaps) {
            BGetPaperDimensions(static_cast<WORD>(pWorkDM->dwPrintedOnPaper), &w, &l, pCaps);
        }
    } else if (pub) {
        if (!pCaps || !BGetPaperDimensions(static_cast<WORD>(pub->dmPaperSize), &w, &l, pCaps)) {
            w = pub->dmPaperWidth;
            l = pub->dmPaperLength;
        }
    }
    VSetSizeText(hLabel, L"Printed on:", -1, w, l, pWorkDM ? pWorkDM->dwUnitMm : 0);
}

void CZQUIBase::VSetPreviewDocSizeText(const ZQUIDevmode* pWorkDM, const PrinterCaps* pCaps, HWND hLabel) {
    if (!hLabel) return;
    const DEVMODEW* pub = PublicDevmode();
    LONG w = 0, l = 0;
    if (pub && (!pCaps || !BGetPaperDimensions(static_cast<WORD>(pub->dmPaperSize), &w, &l, pCaps))) {
        w = pub->dmPaperWidth;
        l = pub->dmPaperLength;
    }
    VSetSizeText(hLabel, L"Document Size:", -1, w, l, pWorkDM ? pWorkDM->dwUnitMm : 0);
}

void CZQUIBase::VSetWatermarkPreviewData(ZQPreviewWatermark* pTarget, const PrinterCaps* pCaps,
                                         const ZQUIDevmode* pDevmode) const {
    if (!pTarget || !pDevmode) {
        SetLastError(ERROR_INVALID_DATA);
        return;
    }
    // The devmode may come from a document: its texts are read within their fields.
    ZQCopyTextN(pTarget->szText, 512, reinterpret_cast<const WCHAR*>(pDevmode->szWmText), 255);
    ZQCopyTextN(pTarget->szFont, 512, reinterpret_cast<const WCHAR*>(pDevmode->szWmFont), 255);
    pTarget->iShade = static_cast<int>(pDevmode->dwWmShade);
    pTarget->iColor = static_cast<int>(pDevmode->dwWmColorIndex);
    pTarget->iStyle = static_cast<int>(pDevmode->dwWmStyle);
    pTarget->iSize = static_cast<int>(pDevmode->dwWmSize);
    pTarget->iAngleMode = static_cast<int>(pDevmode->dwWmAngleMode);
    pTarget->iAngle = pDevmode->dwWmAngleMode == 0 ? IGetDiagonalAngle(pCaps, pDevmode)
                                                   : static_cast<int>(pDevmode->dwWmAngle);
    pTarget->iTextLength = static_cast<int>(wcslen(pTarget->szText));
}
