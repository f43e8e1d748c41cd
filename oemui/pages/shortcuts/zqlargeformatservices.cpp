// Services the list, the panel and the commands of the Printing Shortcuts page share: a list row
// drawn, the row pictures, mnemonics taken out of option names, the paper source of a tray, the
// printer's forms and the alert strip.
#include "common/zqcommon.h"
#include "common/zqevents.h"
#include "common/zqhandles.h"
#include "common/zqmodule.h"
#include "common/zqstrings.h"
#include "featurelogic/zqpagegates.h"
#include "featurelogic/zquilogic.h"
#include "pages/shortcuts/zqlargeformatrows.h"
#include "pages/shortcuts/zqlargeformatshortcuts.h"
#include "res/zqshortcutsids.h"

namespace {

// A name on two lines stands 7 pixels above and below the row's middle.
constexpr int kLineOffset = 7;
// The second line holds at most this many characters.
constexpr int kSecondLineChars = 259;

}  // namespace

bool ZQSplitShortcutRow(PCWSTR pszText, int cchText, int cxExtent, int cxRoom, int* piBreak) {
    if (piBreak) *piBreak = -1;
    // A name that fits, an empty one, no room or a font without width stays on one line.
    if (!pszText || cchText <= 0 || cxExtent <= cxRoom || cxRoom <= 0) return false;
    const int charWidth = cxExtent / cchText;
    if (charWidth <= 0) return false;
    const int fit = cxRoom / charWidth < cchText ? cxRoom / charWidth : cchText;
    int cut = fit - 1;
    for (int i = fit < cchText ? fit : cchText - 1; i >= 1; --i) {
        if (pszText[i] == L' ') {
            cut = i;
            break;
        }
    }
    if (cut < 0) cut = 0;
    if (piBreak) *piBreak = cut;
    return true;
}

void CZQLargeFormatShortcutsTab::VDrawShortcutItem(const DRAWITEMSTRUCT* pItem, HWND hList, CZQUILogic* pLogic) {
    if (!pItem || !pLogic || !pLogic->Param() || pItem->itemID == static_cast<UINT>(-1)) return;
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
    const int y = (rc.top + rc.bottom - metrics.tmHeight) / 2;
    const int unit = LOWORD(GetDialogBaseUnits()) / 4;
    const LRESULT length = SendMessageW(hList, LB_GETTEXTLEN, pItem->itemID, 0);
    CZQLocalPtr<WCHAR> text;
    if (length != LB_ERR && text.Alloc(static_cast<size_t>(length) + 1)) {
        SendMessageW(hList, LB_GETTEXT, pItem->itemID, reinterpret_cast<LPARAM>(text.Get()));
        const int count = static_cast<int>(wcslen(text.Get()));
        if (pLogic->BIsLargeFormat()) {
            ExtTextOutW(dc, 20 * unit + 37, y, ETO_OPAQUE | ETO_CLIPPED, &rc, text.Get(), count, nullptr);
        } else {
            SIZE extent = {};
            GetTextExtentPoint32W(dc, text.Get(), count, &extent);
            const int x = 2 * unit + 51;
            int cut = -1;
            if (ZQSplitShortcutRow(text.Get(), count, extent.cx, (rc.right - rc.left) - 56, &cut)) {
                const int second = count - cut - 1 < kSecondLineChars ? count - cut - 1 : kSecondLineChars;
                ExtTextOutW(dc, x, y - kLineOffset, ETO_CLIPPED, &rc, text.Get(), cut + 1, nullptr);
                ExtTextOutW(dc, x, y + kLineOffset, ETO_CLIPPED, &rc, text.Get() + cut + 1, second, nullptr);
            } else {
                ExtTextOutW(dc, x, y, ETO_CLIPPED, &rc, text.Get(), count, nullptr);
            }
        }
    }
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBack);
    if (pItem->itemID > static_cast<UINT>(kLastPictureRow)) return;
    // A row without a picture of its own shows the first row's.
    void* picture = m_BitmapArray.PAt(static_cast<int>(pItem->itemID));
    if (!picture) picture = m_BitmapArray.PAt(0);
    if (picture) VDrawTransparentBitmap(dc, static_cast<HBITMAP>(picture), rc.left + 2, rc.top + 2);
}

HBITMAP CZQLargeFormatShortcutsTab::HLoadShortcutBitmap(UINT uId) const {
    const WORD id = uId ? LOWORD(uId) : WORD{IDB_SHORTCUT_DEFAULT};
    return LoadBitmapW(zqmodule::Instance(), MAKEINTRESOURCEW(id));
}

BOOL CZQLargeFormatShortcutsTab::BStripMnemonics(PCWSTR pszText, PWSTR* ppszCopy) {
    if (ppszCopy) *ppszCopy = nullptr;
    if (!pszText || !pszText[0] || !ppszCopy) return FALSE;
    const size_t length = wcslen(pszText);
    CZQLocalPtr<WCHAR> copy;
    if (!copy.Alloc(length + 1)) return FALSE;
    PWSTR out = copy.Get();
    for (size_t i = 0; i < length; ++i) {
        const WCHAR c = pszText[i];
        if (c == L'&' && pszText[i + 1] == L' ') {
            *out++ = c;  // an ampersand before a space is a character of the name
        } else if (c == L'(' && pszText[i + 1] == L'&' && pszText[i + 2] && pszText[i + 3] == L')') {
            i += 3;  // a mnemonic in brackets, as translated names carry it
        } else if (c != L'&') {
            *out++ = c;
        }
    }
    *ppszCopy = copy.Release();
    return TRUE;
}

// The tray record holds the trays in the device's order; a tray it does not hold takes the
// printer's first paper source.
DWORD CZQLargeFormatShortcutsTab::DWGetTrayBinId(PageContext* pContext, int iTray) {
    DWORD id = 0;
    const PrinterCaps* caps = pContext ? ZQPrinterCapsLists(pContext->pCaps, kCapsSources) : nullptr;
    if (caps && caps->dwSourceCount && caps->pSourceIds) id = caps->pSourceIds[0];
    const POEMCUIPPARAM param = pContext && pContext->pLogic ? pContext->pLogic->Param() : nullptr;
    CZQLocalPtr<ZQTrayRecord> trays;
    DWORD count = 0;
    if (!param || iTray < 0 || !ZQReadTrayInfo(param->hPrinter, trays.Put(), &count)) return id;
    return static_cast<DWORD>(iTray) < count ? trays.Get()[iTray].dwId : id;
}

BOOL CZQLargeFormatShortcutsTab::BFormExists(PageContext* pContext, PCWSTR pszName) {
    const POEMCUIPPARAM param = pContext && pContext->pLogic ? pContext->pLogic->Param() : nullptr;
    if (!param || !pszName) return FALSE;
    CZQLocalPtr<FORM_INFO_1W> forms;
    DWORD count = 0;
    if (!CZQCommon::BEnumForms(param->hPrinter, forms.Put(), &count)) return FALSE;
    for (DWORD i = 0; i < count; ++i)
        if (forms.Get()[i].pName && ZQEqualNoCase(forms.Get()[i].pName, pszName)) return TRUE;
    return FALSE;
}

BOOL CZQLargeFormatShortcutsTab::BCreateAlertStrip(HWND hDlg, PageContext* pContext) {
    if (!hDlg || !IsWindow(hDlg) || !pContext || !pContext->pAlerts) return FALSE;
    if (!GetDlgItem(hDlg, IDC_STATIC_ALERTWND) || !GetDlgItem(hDlg, IDC_BUTTON_REFRESHALERTS)) return FALSE;
    m_alerts.VInit(hDlg, pContext->pAlerts, pContext->pConstraints);
    return m_alerts.Window() != nullptr;
}
