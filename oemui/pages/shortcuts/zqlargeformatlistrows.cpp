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
