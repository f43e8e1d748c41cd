// The one dialog procedure of the property pages and the base their classes derive from. The
// procedure does what every page does alike: it opens the reuse scope, starts and ends the page's
// window, checks what a message needs of the page's context, hands the alert strip its messages,
// answers the sheet's notices through DWLP_MSGRESULT, shows help and splits commands. A page keeps
// only its own messages: it hides the base's defaults below with its own routines of the same
// names (the procedure calls the page's class, never through a virtual table).
#pragma once

#include <windows.h>

#include "common/zqitemanswers.h"
#include "pages/zqpagealerts.h"
#include "pages/zqpagecontrols.h"
#include "pages/zqpageitems.h"
#include "pages/zqpages.h"

// The procedure, one template for every page class; a page's header names its instance
// `<Page>PageDlgProc`, which the page's table row gives the sheet.
class ZQPageShell {
public:
    template <class Page>
    static INT_PTR CALLBACK Proc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
};

// What a page that does not take a message answers; a page class hides the routines it has.
class CZQPageBase : public CZQTabBase {
protected:
    friend class ZQPageShell;

    // What WM_INITDIALOG needs of the creation parameter's context, and what every other message
    // needs of the window's (Needs may tell messages apart).
    static constexpr unsigned kStartNeeds = zqpage::kNeedPage;
    static unsigned Needs(UINT) { return zqpage::kNeedWorking; }
    // A page with a sample page answers WM_SETCURSOR before anything else (SetPreviewCursor).
    static constexpr bool kPreviewCursor = false;
    // What WM_HELP and WM_CONTEXTMENU return once the page showed its help.
    static constexpr INT_PTR kHelpAnswer = FALSE;

    // The page's alert strip, when it shows one.
    CZQPageAlerts* Alerts() { return nullptr; }
    // Attaches the page's controls table and takes from it the windows the base knows: the help
    // button and the sample page's two pictures.
    void VAttachControls(CZQPageControls& controls, HWND hDlg) {
        controls.VAttach(hDlg);
        VTakeSharedWindows(controls);
    }
    // The help button and the sample page's pictures from the page's attached controls table.
    void VTakeSharedWindows(const CZQPageControls& controls) {
        m_hHelpButton = controls.Item(IDC_BTN_HELP);
        m_hPortraitPreview = controls.Item(IDC_BTN_PREVIEW_PORT);
        m_hLandscapePreview = controls.Item(IDC_BTN_PREVIEW_LAND);
    }
    // WM_DESTROY: the page lets go of its window (the object outlives it).
    void VOnDestroy() {}
    // A sheet notice; its answer goes to DWLP_MSGRESULT.
    LRESULT IOnNotify(HWND, const NMHDR*, PageContext*) { return 0; }
    // WM_COMMAND, split into the control, the notification code and the control's window.
    INT_PTR IOnCommand(HWND, int, int, HWND, PageContext*) { return FALSE; }
    // WM_HELP (the control asked about, HELP_WM_HELP) and WM_CONTEXTMENU (the window clicked,
    // HELP_CONTEXTMENU).
    void VOnHelp(HWND, UINT, PageContext*) {}
    // Any other message, notifications other than the sheet's notices included.
    INT_PTR IOnMessage(HWND, UINT, WPARAM, LPARAM, PageContext*) { return FALSE; }
};

template <class Page>
INT_PTR CALLBACK ZQPageShell::Proc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    // What a message asks the core driver again and again is asked once.
    zqitems::CZQItemPass itemPass;
    if (uMsg == WM_INITDIALOG) {
        const auto* psp = reinterpret_cast<const PROPSHEETPAGEW*>(lParam);
        PageContext* context =
            zqpage::ContextWith(psp ? reinterpret_cast<PageContext*>(psp->lParam) : nullptr, Page::kStartNeeds);
        return context ? static_cast<Page*>(context->pPage)->BInitDialog(hDlg, context) : FALSE;
    }
    auto* stored = reinterpret_cast<PageContext*>(GetWindowLongPtrW(hDlg, DWLP_USER));
    // The window goes: the page lets go of it whatever else is missing.
    if (uMsg == WM_DESTROY) {
        if (zqpage::ContextWith(stored, zqpage::kNeedPage)) static_cast<Page*>(stored->pPage)->VOnDestroy();
        return FALSE;
    }
    // The cursor over the sample page needs no settings.
    if (uMsg == WM_SETCURSOR && Page::kPreviewCursor) return zqpage::SetPreviewCursor(hDlg);
    // Until its start is done the page keeps no context: what its controls tell meanwhile is not
    // the user's.
    PageContext* context = zqpage::ContextWith(stored, Page::Needs(uMsg));
    if (!context) return FALSE;
    auto* page = static_cast<Page*>(context->pPage);
    // The alert strip's refresh button, its drawing and its links belong to the strip.
    INT_PTR result = 0;
    if (CZQPageAlerts* alerts = page->Alerts(); alerts && alerts->BOnMessage(hDlg, uMsg, wParam, lParam, &result))
        return result;
    switch (uMsg) {
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (!zqpage::IsSheetNotice(header)) return page->IOnMessage(hDlg, uMsg, wParam, lParam, context);
            // The sheet reads the page's answer from its message result.
            SetWindowLongPtrW(hDlg, DWLP_MSGRESULT, page->IOnNotify(hDlg, header, context));
            return TRUE;
        }
        case WM_COMMAND:
            return page->IOnCommand(hDlg, LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam), context);
        case WM_HELP:
            if (lParam)
                page->VOnHelp(static_cast<HWND>(reinterpret_cast<const HELPINFO*>(lParam)->hItemHandle), HELP_WM_HELP,
                              context);
            return Page::kHelpAnswer;
        case WM_CONTEXTMENU:
            page->VOnHelp(reinterpret_cast<HWND>(wParam), HELP_CONTEXTMENU, context);
            return Page::kHelpAnswer;
        default: return page->IOnMessage(hDlg, uMsg, wParam, lParam, context);
    }
}
