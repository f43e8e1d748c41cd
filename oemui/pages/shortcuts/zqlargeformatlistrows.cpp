// The shortcut list's rows: their pictures, their drawing, the stored shortcuts put under their
// document types and the look-ups the list is filled by.
#include "pages/shortcuts/zqlargeformatlistrows.h"

#include <algorithm>

#include "common/zqhandles.h"
#include "common/zqmodule.h"
#include "common/zqprintercaps.h"
#include "common/zqstrings.h"
#include "common/zquibase.h"
#include "featurelogic/zqquicksets.h"
#include "pages/shortcuts/zqlargeformatstore.h"
#include "pages/zqpagecontrols.h"
#include "pages/zqpages.h"
#include "res/zqshortcutsids.h"

namespace {

// What ends a name the row cannot hold.
constexpr WCHAR kEllipsis[] = L"...";
constexpr int kMaxRowLines = 8;
// Room kept between a name and the row's far side.
constexpr int kRowFarMargin = 4;

int FitInDc(void* pContext, PCWSTR pszText, int cchText, int cxRoom) {
    int fit = 0;
    SIZE extent = {};
    if (cxRoom <= 0 || !GetTextExtentExPointW(static_cast<HDC>(pContext), pszText, cchText, cxRoom, &fit, nullptr, &extent))
        return 0;
    return fit;
}

}  // namespace

CZQShortcutListRows::CZQShortcutListRows(const CZQPageControls& controls) : m_controls(controls) {
    // Without its block the array answers every call with FALSE and draws rows without pictures.
    m_pictures.BAllocate();
}

CZQShortcutListRows::~CZQShortcutListRows() {
    for (HBITMAP& bitmap : m_ahBitmaps) {
        if (bitmap) DeleteObject(bitmap);
        bitmap = nullptr;
    }
    m_pictures.VFree();
}

HWND CZQShortcutListRows::List() const { return m_controls.Item(IDC_LB_DOCTYPE_SETTING); }

DWORD CZQShortcutListRows::DWCountRemoteDatatypes(const PrinterCaps& caps) {
    if (!caps.szServerName[0]) return 0;
    const zqspool::SpoolerApi& spooler = zqspool::Spooler();
    WCHAR server[256], processor[256];
    ZQCopyText(server, 256, caps.szServerName);
    ZQCopyText(processor, 256, caps.szPrintProcessor);
    DWORD needed = 0, returned = 0;
    spooler.EnumPrintProcessorDatatypesW(server, processor, 1, nullptr, 0, &needed, &returned);
    CZQLocalPtr<BYTE> types;
    const DWORD size = needed * 2 + 2;
    if (!needed || !types.Alloc(size) ||
        !spooler.EnumPrintProcessorDatatypesW(server, processor, 1, types.Get(), size, &needed, &returned))
        return 0;
    return returned;
}

BOOL CZQShortcutListRows::BIsQuickSetVisible(PageContext* pContext, PCWSTR pszName) {
    const QuickSetEntry* entry =
        pContext && pContext->pQuickSets ? pContext->pQuickSets->PFindEntryAnyCase(pszName) : nullptr;
    return !entry || !(entry->dwFlags & CZQQuickSets::kHiddenFlag);
}

HBITMAP CZQShortcutListRows::HRowBitmap(UINT uId) {
    if (!m_ahBitmaps[0]) m_ahBitmaps[0] = HLoadShortcutBitmap(0);
    const int id = LOWORD(uId);
    if (id == 0) return m_ahBitmaps[0];
    // One picture per id, kept for the page's life; when every slot is taken, the default one.
    for (int i = 1; i < kRowBitmaps; ++i)
        if (m_anRowBitmapId[i] == id) return m_ahBitmaps[i];
    for (int i = 1; i < kRowBitmaps; ++i) {
        if (m_anRowBitmapId[i]) continue;
        m_anRowBitmapId[i] = id;
        m_ahBitmaps[i] = HLoadShortcutBitmap(static_cast<UINT>(id));
        return m_ahBitmaps[i];
    }
    return m_ahBitmaps[0];
}

void CZQShortcutListRows::VPlaceRowBitmap(int iRow, HBITMAP hBitmap) {
    if (iRow < m_pictures.Count())
        m_pictures.BInsertAt(iRow, hBitmap);
    else
        m_pictures.BAppend(hBitmap);
}

BOOL CZQShortcutListRows::BInsertStoredRow(PCWSTR pszName, const BYTE* pData, DWORD cbData, BOOL bOnlyNew) {
    const HWND list = List();
    ShortcutRecord record = {};
    BOOL inserted = FALSE;
    if (CZQShortcutStore::BParseShortcut(pData, cbData, &record)) {
        const LRESULT base = SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                          reinterpret_cast<LPARAM>(record.szDocType));
        const bool twin = bOnlyNew && SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                   reinterpret_cast<LPARAM>(pszName)) != LB_ERR;
        // A shortcut whose type the list lacks is not shown.
        if (base != LB_ERR && !twin) {
            const LRESULT row = SendMessageW(list, LB_INSERTSTRING, static_cast<WPARAM>(base + 1),
                                             reinterpret_cast<LPARAM>(pszName));
            if (row >= 0) {
                VPlaceRowBitmap(static_cast<int>(row), HRowBitmap(record.dwBitmapId));
                inserted = TRUE;
            }
        }
    }
    CZQShortcutStore::VFreeShortcut(&record);
    return inserted;
}

int ZQWrapShortcutRow(PCWSTR pszText, int cchText, int cxRoom, int cxEllipsis, int iMaxLines, ZQFitChars pfnFit,
                      void* pContext, ZQRowLine* pLines) {
    if (!pszText || cchText <= 0 || cxRoom <= 0 || iMaxLines <= 0 || !pfnFit || !pLines) return 0;
    int lines = 0, pos = 0;
    while (lines < iMaxLines) {
        while (pos < cchText && pszText[pos] == L' ') ++pos;
        if (pos >= cchText) break;
        const int rest = cchText - pos;
        const bool last = lines == iMaxLines - 1;
        const int fit = std::min(rest, std::max(0, pfnFit(pContext, pszText + pos, rest, cxRoom)));
        ZQRowLine& line = pLines[lines++];
        line = {pos, fit, false};
        if (fit >= rest) {
            line.cch = rest;
            while (line.cch > 0 && pszText[pos + line.cch - 1] == L' ') --line.cch;
            break;
        }
        // The room for the words: on the last line what the ellipsis leaves.
        int room = fit;
        if (last) room = std::min(rest, std::max(0, pfnFit(pContext, pszText + pos, rest, cxRoom - cxEllipsis)));
        int end = room;
        if (pszText[pos + end] != L' ') {
            while (end > 0 && pszText[pos + end - 1] != L' ') --end;
            // A word wider than the room alone is cut where the room ends.
            if (end == 0) end = last ? room : std::max(1, fit);
        }
        while (end > 0 && pszText[pos + end - 1] == L' ') --end;
        line.cch = end;
        line.bEllipsis = last;
        pos += std::max(1, end);
    }
    return lines;
}

void CZQShortcutListRows::VDrawItem(const DRAWITEMSTRUCT* pItem, BOOL bLargeFormat) {
    if (!pItem || pItem->itemID == static_cast<UINT>(-1)) return;
    const HWND hList = pItem->hwndItem;
    HDC dc = pItem->hDC;
    RECT rc = pItem->rcItem;
    if (pItem->itemState & ODS_FOCUS) DrawFocusRect(dc, &rc);
    const bool selected = (pItem->itemState & ODS_SELECTED) != 0;
    const COLORREF oldText = SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    const COLORREF oldBack = SetBkColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    CZQGdiObject brush(CreateSolidBrush(selected ? GetSysColor(COLOR_HIGHLIGHT) : GetBkColor(dc)));
    if (brush) FillRect(dc, &rc, static_cast<HBRUSH>(brush.Get()));

    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    const int unit = LOWORD(GetDialogBaseUnits()) / 4;
    const LRESULT length = SendMessageW(hList, LB_GETTEXTLEN, pItem->itemID, 0);
    CZQLocalPtr<WCHAR> text;
    if (length != LB_ERR && text.Alloc(static_cast<size_t>(length) + 1)) {
        SendMessageW(hList, LB_GETTEXT, pItem->itemID, reinterpret_cast<LPARAM>(text.Get()));
        const int count = static_cast<int>(wcslen(text.Get()));
        // The name wraps within what the row shows of the list: its client area ends at the
        // scroll bar, in both reading orders. A glyph may ink its whole advance (a mirrored row's
        // first capital), so the far side keeps a margin of its own.
        RECT client = rc;
        GetClientRect(hList, &client);
        const int x = bLargeFormat ? 20 * unit + 37 : 2 * unit + 51;
        const int room = std::min(rc.right, client.right) - x - kRowFarMargin;
        const int lineHeight = std::max(1, static_cast<int>(metrics.tmHeight));
        const int maxLines = std::min(kMaxRowLines, std::max(1, (static_cast<int>(rc.bottom - rc.top) - 4) / lineHeight));
        SIZE dots = {};
        GetTextExtentPoint32W(dc, kEllipsis, static_cast<int>(wcslen(kEllipsis)), &dots);
        ZQRowLine lines[kMaxRowLines];
        const int n = ZQWrapShortcutRow(text.Get(), count, room, dots.cx, maxLines, &FitInDc, dc, lines);
        const size_t cchShown = static_cast<size_t>(count) + wcslen(kEllipsis) + 1;
        CZQLocalPtr<WCHAR> shown;
        int y = (rc.top + rc.bottom - n * lineHeight) / 2;
        for (int i = 0; i < n && (shown || shown.Alloc(cchShown)); ++i, y += lineHeight) {
            ZQCopyTextN(shown.Get(), cchShown, text.Get() + lines[i].iStart, static_cast<size_t>(lines[i].cch));
            if (lines[i].bEllipsis) wcscat_s(shown.Get(), cchShown, kEllipsis);
            ExtTextOutW(dc, x, y, ETO_CLIPPED, &rc, shown.Get(), static_cast<UINT>(wcslen(shown.Get())), nullptr);
        }
    }
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBack);
    if (pItem->itemID > static_cast<UINT>(kLastPictureRow)) return;
    // A row without a picture of its own shows the first row's.
    void* picture = m_pictures.PAt(static_cast<int>(pItem->itemID));
    if (!picture) picture = m_pictures.PAt(0);
    if (picture) CZQUIBase::VDrawTransparentBitmap(dc, static_cast<HBITMAP>(picture), rc.left + 2, rc.top + 2);
}

HBITMAP CZQShortcutListRows::HLoadShortcutBitmap(UINT uId) {
    const WORD id = uId ? LOWORD(uId) : WORD{IDB_SHORTCUT_DEFAULT};
    return LoadBitmapW(zqmodule::Instance(), MAKEINTRESOURCEW(id));
}

void CZQShortcutListRows::VSelectRow(PCWSTR pszText) const {
    const HWND list = List();
    if (!list || !pszText || !pszText[0]) return;
    const LRESULT row = SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>(pszText));
    if (row != LB_ERR) SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
}
