// The rows of the large-format Printing Shortcuts page's list: the picture each row shows (loaded
// once per bitmap id for the page's life), a row drawn, a stored shortcut put under its document
// type, the rows counted, and the look-ups the list is filled by. The page makes the part with its
// controls table; the list is the table's shortcut list.
#pragma once

#include "pages/shortcuts/zqlargeformattypes.h"

class CZQPageControls;
class CZQUILogic;
struct PageContext;
struct PrinterCaps;

// One line of a row's name: its characters from iStart, and whether an ellipsis ends it.
struct ZQRowLine {
    int iStart = 0;
    int cch = 0;
    bool bEllipsis = false;
};
// How many of the first cchText characters fit in cxRoom pixels (the font's own measure).
using ZQFitChars = int (*)(void* pContext, PCWSTR pszText, int cchText, int cxRoom);
// A row's name laid out in its room: at most iMaxLines lines of whole words, each within cxRoom
// pixels; a word wider than the room alone is cut where the room ends. When the name does not end
// on the last line, that line ends with an ellipsis of cxEllipsis pixels, after the last whole word
// that leaves room for it. Spaces at a break are dropped. Returns the lines written to pLines.
int ZQWrapShortcutRow(PCWSTR pszText, int cchText, int cxRoom, int cxEllipsis, int iMaxLines, ZQFitChars pfnFit,
                      void* pContext, ZQRowLine* pLines);

class CZQShortcutListRows {
public:
    static constexpr int kRowBitmaps = 25;
    // Rows 0 to 25 of the list show a picture.
    static constexpr int kLastPictureRow = 25;
    // What the list holds: the document types and the printer's stored shortcuts, and the rows a
    // restricted user's own shortcuts reach.
    struct Counts {
        int nListed = 0;
        int nListedWithUser = 0;
    };

    explicit CZQShortcutListRows(const CZQPageControls& controls);
    ~CZQShortcutListRows();
    CZQShortcutListRows(const CZQShortcutListRows&) = delete;
    CZQShortcutListRows& operator=(const CZQShortcutListRows&) = delete;

    HWND List() const;
    Counts& Listed() { return m_counts; }
    // The pictures of the rows in the list's order.
    ShortcutBitmapArray& Pictures() { return m_pictures; }
    // The picture of a bitmap id, loaded once for the page's life (id 0: the default picture).
    HBITMAP HRowBitmap(UINT uId);
    // A row's picture at the row's place among the pictures.
    void VPlaceRowBitmap(int iRow, HBITMAP hBitmap);
    // A row picture from the plug-in's module (id 0: the default picture); the caller owns it.
    static HBITMAP HLoadShortcutBitmap(UINT uId);
    // A stored shortcut from its value's data under its type's row (bOnlyNew: not when a row of its
    // name stands); TRUE when listed, FALSE for a value that is no shortcut.
    BOOL BInsertStoredRow(PCWSTR pszName, const BYTE* pData, DWORD cbData, BOOL bOnlyNew);
    // The row of that text selected (none for an empty text or one the list lacks).
    void VSelectRow(PCWSTR pszText) const;
    // The data types the print processor of a printer of another server offers there; 0 for a
    // local printer.
    static DWORD DWCountRemoteDatatypes(const PrinterCaps& caps);
    // The quick set of that name is not hidden (or there is none).
    static BOOL BIsQuickSetVisible(PageContext* pContext, PCWSTR pszName);

private:
    const CZQPageControls& m_controls;
    Counts m_counts;
    ShortcutBitmapArray m_pictures;
    HBITMAP m_ahBitmaps[kRowBitmaps] = {};
    // The bitmap id each slot of m_ahBitmaps holds (slot 0: the default picture).
    int m_anRowBitmapId[kRowBitmaps] = {};
};
