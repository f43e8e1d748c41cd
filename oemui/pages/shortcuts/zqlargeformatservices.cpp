// Services the panel and the commands of the large-format Printing Shortcuts page share: a list
// row drawn, the paper source of a tray, the printer's forms and the alert strip.
#include <algorithm>

#include "common/zqcommon.h"
#include "common/zqevents.h"
#include "common/zqhandles.h"
#include "common/zqmodule.h"
#include "common/zqstrings.h"
#include "featurelogic/zqpagegates.h"
#include "featurelogic/zquilogic.h"
#include "pages/shortcuts/zqlargeformatshortcuts.h"
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

void CZQLargeFormatShortcutsTab::VDrawShortcutItem(const DRAWITEMSTRUCT* pItem, HWND hList, CZQUILogic* pLogic) {
    if (!pItem || !pLogic || !pLogic->Param() || pItem->itemID == static_cast<UINT>(-1)) return;
    const BOOL bLargeFormat = pLogic->BIsLargeFormat();
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
    if (pItem->itemID > static_cast<UINT>(CZQShortcutListRows::kLastPictureRow)) return;
    // A row without a picture of its own shows the first row's.
    void* picture = m_list.Pictures().PAt(static_cast<int>(pItem->itemID));
    if (!picture) picture = m_list.Pictures().PAt(0);
    if (picture) CZQUIBase::VDrawTransparentBitmap(dc, static_cast<HBITMAP>(picture), rc.left + 2, rc.top + 2);
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
    if (!GetDlgItem(hDlg, IDC_ALERT_PLACEHOLDER) || !GetDlgItem(hDlg, IDC_ALERT_REFRESH)) return FALSE;
    m_alerts.VInit(hDlg, pContext->pAlerts, pContext->pConstraints);
    return m_alerts.Window() != nullptr;
}
