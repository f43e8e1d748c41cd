// The Settings Information page: its messages, its start (the printer's name, the texts,
// the link), the logo, and the link: underlined under the pointer, the hand cursor over it, and
// the visited colour once followed.
#include "pages/info/zqinfopage.h"

#include <shellapi.h>
#include <windowsx.h>

#include <new>

#include "res/zqaboutinfoids.h"

namespace {

constexpr WCHAR kLinkStateProp[] = L"ZQInfoLinkState";

// What the link of one page window needs: the window procedures it replaced and its two fonts.
// Kept as a property of the page window and of the link, and freed when the page window goes, so
// pages open side by side never share a font.
struct LinkState {
    HWND hLink;
    WNDPROC pfnDialogProc;
    WNDPROC pfnLinkProc;
    HFONT hNormalFont;      // the control's own font (null: the system font)
    HFONT hUnderlinedFont;  // owned
};

LinkState* StateOf(HWND hWnd) { return static_cast<LinkState*>(GetPropW(hWnd, kLinkStateProp)); }

// The page's texts: control, string id, English text, long form.
struct Text {
    int iCtrlId;
    INT idText;
    PCWSTR pszEnglish;
    bool bLong;
};
constexpr Text kTexts[] = {
    {IDC_STA_INTRO, 5470, L"There are no user-changeable settings available here.", false},
    {IDC_STA_GUIDE, 5471,
     L"To change settings, return to the Print dialog and click 'OK' or 'Print' to send your print job to ZQ "
     L"Orvessa. ZQ Orvessa will then allow you to modify printer settings and immediately view how they will effect "
     L"your print job; all before actually sending your job to the printer.",
     true},
    {IDC_STA_NOTE, 5473,
     L"NOTE:To access conventional Printer Preferences(Printer Properties) and to print to this printer without "
     L"using ZQ Orvessa,use a standard driver for this printer.",
     false},
    {IDC_STA_URL, 5474, L"For more information, visit the ZQ in-house Publishing web Site.", false},
};

void SetLinkFont(HWND hLink, HFONT hFont) {
    SendMessageW(hLink, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), TRUE);
    InvalidateRect(hLink, nullptr, TRUE);
}

// The static control becomes the link: it reports clicks and takes its mouse messages here.
void MakeLink(HWND hDlg) {
    HWND link = GetDlgItem(hDlg, IDC_STA_URL);
    if (!link || StateOf(hDlg)) return;
    auto* state = new (std::nothrow) LinkState{};
    if (!state) return;
    state->hLink = link;
    state->hNormalFont = reinterpret_cast<HFONT>(SendMessageW(link, WM_GETFONT, 0, 0));
    LOGFONTW font = {};
    HGDIOBJ base = state->hNormalFont ? static_cast<HGDIOBJ>(state->hNormalFont) : GetStockObject(SYSTEM_FONT);
    if (GetObjectW(base, sizeof font, &font)) {
        font.lfUnderline = TRUE;
        state->hUnderlinedFont = CreateFontIndirectW(&font);
    }
    if (!SetPropW(hDlg, kLinkStateProp, state) || !SetPropW(link, kLinkStateProp, state)) {
        RemovePropW(hDlg, kLinkStateProp);
        if (state->hUnderlinedFont) DeleteObject(state->hUnderlinedFont);
        delete state;
        return;
    }
    state->pfnDialogProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hDlg, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&InfoParentProc)));
    SetWindowLongPtrW(link, GWL_STYLE, GetWindowLongPtrW(link, GWL_STYLE) | SS_NOTIFY);
    state->pfnLinkProc =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(link, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&InfoLinkProc)));
}

}  // namespace

BOOL CZQInfoPage::s_bVisited = FALSE;

// ---------------------------------------------------------------------------------------------
// Its own messages and the two subclasses
// ---------------------------------------------------------------------------------------------
INT_PTR CZQInfoPage::IOnMessage(HWND hDlg, UINT uMsg, WPARAM, LPARAM, PageContext*) {
    if (uMsg == WM_PAINT) VPaintLogo(hDlg, IDB_ABOUT_LOGO, IDB_ABOUT_LOGO_MASK, IDC_ZQLOGO_HOLDER);
    return FALSE;
}

INT_PTR CZQInfoPage::IOnCommand(HWND hDlg, int iCtrlId, int, HWND, PageContext*) {
    if (iCtrlId != IDC_STA_URL) return FALSE;
    VOpenLink(hDlg);
    return TRUE;
}

LRESULT CALLBACK InfoParentProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    LinkState* state = StateOf(hDlg);
    if (!state) return DefDlgProcW(hDlg, uMsg, wParam, lParam);
    const WNDPROC previous = state->pfnDialogProc;
    switch (uMsg) {
        case WM_CTLCOLORSTATIC:
            if (reinterpret_cast<HWND>(lParam) == state->hLink) {
                const LRESULT brush = CallWindowProcW(previous, hDlg, uMsg, wParam, lParam);
                SetTextColor(reinterpret_cast<HDC>(wParam),
                             CZQInfoPage::BVisited() ? CZQInfoPage::kVisitedColor : CZQInfoPage::kLinkColor);
                return brush;
            }
            break;
        case WM_NCDESTROY:
            // The link is gone by now: the page window takes its own procedure back and the
            // underlined font goes.
            SetWindowLongPtrW(hDlg, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
            RemovePropW(hDlg, kLinkStateProp);
            if (state->hUnderlinedFont) DeleteObject(state->hUnderlinedFont);
            delete state;
            return CallWindowProcW(previous, hDlg, uMsg, wParam, lParam);
        default: break;
    }
    return CallWindowProcW(previous, hDlg, uMsg, wParam, lParam);
}

LRESULT CALLBACK InfoLinkProc(HWND hLink, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    LinkState* state = StateOf(hLink);
    if (!state) return DefWindowProcW(hLink, uMsg, wParam, lParam);
    const WNDPROC previous = state->pfnLinkProc;
    switch (uMsg) {
        case WM_SETCURSOR: {
            HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
            SetCursor(hand ? hand : LoadCursorW(nullptr, IDC_ARROW));
            return TRUE;
        }
        case WM_MOUSEMOVE:
            // The capture tells when the pointer leaves the link again.
            if (GetCapture() != hLink) {
                if (state->hUnderlinedFont) SetLinkFont(hLink, state->hUnderlinedFont);
                SetCapture(hLink);
            } else {
                POINT at = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
                RECT area = {};
                ClientToScreen(hLink, &at);
                GetWindowRect(hLink, &area);
                if (!PtInRect(&area, at)) {
                    SetLinkFont(hLink, state->hNormalFont);
                    ReleaseCapture();
                }
            }
            break;
        case WM_NCDESTROY:
            SetWindowLongPtrW(hLink, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
            RemovePropW(hLink, kLinkStateProp);
            return CallWindowProcW(previous, hLink, uMsg, wParam, lParam);
        default: break;
    }
    return CallWindowProcW(previous, hLink, uMsg, wParam, lParam);
}

// ---------------------------------------------------------------------------------------------
// The page
// ---------------------------------------------------------------------------------------------
BOOL CZQInfoPage::BInitDialog(HWND hDlg, PageContext* pContext) {
    if (!pContext || pContext->pPage != this || !m_pCUIParam) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    if (!BAllocPageBlock()) return FALSE;
    SetWindowLongPtrW(hDlg, DWLP_USER, reinterpret_cast<LONG_PTR>(pContext));
    MakeLink(hDlg);

    CZQLocalPtr<PRINTER_INFO_2W> printer;
    if (HPrinter() && BGetPrinterInfo2(HPrinter(), nullptr, nullptr, printer.Put()) && printer.Get()->pPrinterName)
        SetDlgItemTextW(hDlg, IDC_STA_PRINTERNAME, printer.Get()->pPrinterName);
    for (const Text& text : kTexts) {
        HWND control = GetDlgItem(hDlg, text.iCtrlId);
        if (!control) continue;
        if (text.bLong)
            BSetWindowTextResLong(text.idText, control, text.pszEnglish);
        else
            BSetWindowTextRes(text.idText, control, text.pszEnglish);
    }
    return TRUE;
}

void CZQInfoPage::VOpenLink(HWND hDlg) {
    // The shell's own answer is not shown to the user: the browser reports its own failures.
    ShellExecuteW(hDlg, L"open", kSiteAddress, nullptr, nullptr, SW_SHOWNORMAL);
    s_bVisited = TRUE;
    if (HWND link = GetDlgItem(hDlg, IDC_STA_URL)) InvalidateRect(link, nullptr, TRUE);
}
