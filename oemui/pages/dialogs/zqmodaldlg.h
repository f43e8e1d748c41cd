// What the modal dialogs the pages open share. A dialog's creation parameter is its page's
// PageContext, so the dialog object itself reaches WM_INITDIALOG through the opening thread and is
// then kept with its window; a dialog that cannot start ends at once, as cancelled.
#pragma once

#include <memory>
#include <new>

#include "common/zqcommon.h"
#include "common/zqstrings.h"
#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"
#include "pages/zqpages.h"

template <class Dialog>
class CZQModalDialog {
public:
    // The dialog of that template, owned by hOwner, with lParam for WM_INITDIALOG; its result, or
    // -1 when it could not be shown.
    static INT_PTR IRun(Dialog* pDialog, HINSTANCE hModule, WORD wTemplate, HWND hOwner, DLGPROC pfnProc,
                        LPARAM lParam) {
        Dialog* const previous = t_pOpening;
        t_pOpening = pDialog;
        const INT_PTR result =
            CZQCommon::IDialogBoxParam(hModule, MAKEINTRESOURCEW(wTemplate), hOwner, pfnProc, lParam);
        t_pOpening = previous;
        return result;
    }

    // WM_INITDIALOG: the object opening joins its window and starts (start(object) is its own
    // start); what WM_INITDIALOG answers.
    template <class Start>
    static INT_PTR IStart(HWND hDlg, Start start) {
        if (Dialog* dialog = Join(hDlg)) {
            if (start(*dialog)) return TRUE;
        } else {
            SetLastError(ERROR_INVALID_DATA);
        }
        const DWORD error = GetLastError();
        EndDialog(hDlg, IDCANCEL);
        SetLastError(error);
        return FALSE;
    }

    // WM_INITDIALOG of a dialog that stays open even without its object: the object opening joins
    // its window; null when the window was opened some other way.
    static Dialog* Join(HWND hDlg) {
        Dialog* dialog = t_pOpening;
        if (dialog) SetWindowLongPtrW(hDlg, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(dialog));
        return dialog;
    }

    static Dialog* Of(HWND hDlg) { return reinterpret_cast<Dialog*>(GetWindowLongPtrW(hDlg, GWLP_USERDATA)); }

    // The object of a started window and its page's context (with the rule engine when asked);
    // null, with last error 13 for a message that asks for work, when either is missing.
    static Dialog* Bound(HWND hDlg, UINT uMsg, bool bNeedRules, PageContext** ppContext) {
        Dialog* dialog = Of(hDlg);
        *ppContext = reinterpret_cast<PageContext*>(GetWindowLongPtrW(hDlg, DWLP_USER));
        if (dialog && *ppContext && (!bNeedRules || (*ppContext)->pRules)) return dialog;
        if (uMsg == WM_COMMAND || uMsg == WM_CLOSE || uMsg == WM_HELP || uMsg == WM_CONTEXTMENU)
            SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }

private:
    static inline thread_local Dialog* t_pOpening = nullptr;
};

// The dialog object the logic object keeps in its `slot` for a push item of the core driver's list,
// bound to the logic object's block and status module; made on first use. Null for a record not
// of that kind or without its logic object's block (last error 13), or without memory (8). The
// slot holds no other kind of dialog.
template <class Dialog>
Dialog* ZQKeptPushItemDialog(ZQOemDialogParam* pParam, ZQOemDialogKind kind,
                             std::unique_ptr<CZQUIBase> CZQUILogic::*slot) {
    if (!pParam || pParam->cbSize < sizeof(ZQOemDialogParam) || pParam->kind != kind || !pParam->pLogic ||
        !pParam->pLogic->Param()) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    CZQUILogic& logic = *pParam->pLogic;
    std::unique_ptr<CZQUIBase>& kept = logic.*slot;
    if (!kept) kept.reset(new (std::nothrow) Dialog());
    auto* dialog = static_cast<Dialog*>(kept.get());
    if (!dialog) {
        SetLastError(ERROR_OUTOFMEMORY);
        return nullptr;
    }
    dialog->VBind(nullptr, logic.Param(), logic.HResModule());
    return dialog;
}

// Context help of a page or dialog (HELP_WM_HELP or HELP_CONTEXTMENU) from the help file the
// private devmode names, with its table of (control id, help id) pairs.
inline void ZQShowDialogHelp(HWND hWnd, UINT uCommand, POEMCUIPPARAM pParam, const DWORD* pdwTable) {
    const ZQUIDevmode* core = pParam ? zqdm::CurrentBlock(pParam->pOEMDM) : nullptr;
    WCHAR helpFile[256] = {};
    if (core) ZQCopyTextN(helpFile, 256, reinterpret_cast<const WCHAR*>(core->szHelpFile), 255);
    WinHelpW(hWnd, helpFile, uCommand, reinterpret_cast<ULONG_PTR>(pdwTable));
}

// WM_HELP (for the item under the help) and WM_CONTEXTMENU (for the clicked window).
inline void ZQShowDialogHelp(UINT uMsg, WPARAM wParam, LPARAM lParam, POEMCUIPPARAM pParam, const DWORD* pdwTable) {
    if (uMsg == WM_CONTEXTMENU) {
        ZQShowDialogHelp(reinterpret_cast<HWND>(wParam), HELP_CONTEXTMENU, pParam, pdwTable);
        return;
    }
    const HELPINFO* info = reinterpret_cast<const HELPINFO*>(lParam);
    if (info && info->iContextType == HELPINFO_WINDOW)
        ZQShowDialogHelp(static_cast<HWND>(info->hItemHandle), HELP_WM_HELP, pParam, pdwTable);
}
