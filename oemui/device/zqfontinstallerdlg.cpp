// The soft-font installer's dialog and the core driver's way into it.
#include <shlobj.h>

#include <cwchar>

#include "common/zqhandles.h"
#include "common/zqlanguage.h"
#include "common/zqmsgbox.h"
#include "common/zqstrings.h"
#include "common/zqtrace.h"
#include "device/zqfontinstaller.h"
#include "common/zqmodule.h"

namespace {

constexpr int kPathChars = 260;

// Control and help-topic pairs (0: the control has no topic).
constexpr DWORD kHelpIds[CZQFontInstaller::kHelpIdCount] = {
    IDC_STA_FONT_FILE_LOCATION, 0,     IDC_EDIT1,    15109, IDC_BUTTON_BROWSE, 15110, IDC_LIST1, 15111,
    IDC_LIST2,                  15112, IDC_BUTTON_ADD, 15113, IDC_BUTTON_REMOVE, 15114, IDC_STA_ADD_FONT, 0,
    IDC_STA_INSTALLED_FONTS,    0,     0,            0,
};

// The text with its first "%s" replaced by the argument; everything else is copied as it stands.
void Substitute(PCWSTR pszText, PCWSTR pszArgument, PWSTR pszOut, size_t cchOut) {
    PCWSTR mark = pszArgument ? wcsstr(pszText, L"%s") : nullptr;
    if (!mark) {
        ZQCopyText(pszOut, cchOut, pszText);
        return;
    }
    ZQCopyTextN(pszOut, cchOut, pszText, static_cast<size_t>(mark - pszText));
    ZQAppendText(pszOut, cchOut, pszArgument);
    ZQAppendText(pszOut, cchOut, mark + 2);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The core driver's call
// ---------------------------------------------------------------------------------------------
HRESULT CZQFontInstaller::HrFontInstallerDlgProc(const ZQFontInstallerCall& call, HWND hWnd, UINT usMsg, WPARAM,
                                                 LPARAM lParam) {
    ZQ_TRACE("CZQFontInstaller::HrFontInstallerDlgProc");
    // Only the first message carries the core driver's record.
    auto* fontParam = reinterpret_cast<POEMFONTINSTPARAM>(lParam);
    if (usMsg != WM_INITDIALOG || !fontParam || fontParam->cbSize < sizeof(OEMFONTINSTPARAM) ||
        !(fontParam->dwFlags & FG_CANCHANGE) || !call.pParam)
        return E_NOTIMPL;
    CZQLocalPtr<WCHAR> option;
    if (CZQCommon::DWGetFeatureOption(call.pParam, L"ZQFontInstaller", option.Put()) != ZQOPT_OK || !option ||
        !ZQEqualNoCase(option.Get(), L"TRUE"))
        return E_NOTIMPL;

    CZQFontInstaller installer(call.hResModule, call.dwLanguage);
    installer.VLoadResourceModule(fontParam->hPrinter);
    ZQFontDlgParam block = {fontParam, &installer, nullptr, nullptr, nullptr, FALSE, call.pCaps};
    const WORD id = zqlang::IsRightToLeft() ? IDD_DLG_FONTINSTALL_RTL : IDD_DLG_FONTINSTALL;
    const INT_PTR result = CZQCommon::IDialogBoxParam(zqmodule::Instance(), MAKEINTRESOURCEW(id), hWnd,
                                                      DimmFontDlgProc, reinterpret_cast<LPARAM>(&block));
    installer.VFreeFontList(&block);
    LocalFree(block.pszFontFile);
    LocalFree(block.pszFolder);
    return result == -1 || result == 0 ? E_FAIL : S_OK;
}

// ---------------------------------------------------------------------------------------------
// The dialog
// ---------------------------------------------------------------------------------------------
INT_PTR CALLBACK DimmFontDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (uMsg == WM_INITDIALOG) {
        auto* p = reinterpret_cast<ZQFontDlgParam*>(lParam);
        if (!p || !p->pInstaller) {
            EndDialog(hDlg, -1);
            return FALSE;
        }
        SetWindowLongPtrW(hDlg, DWLP_USER, lParam);
        p->pInstaller->VInitDialog(p, hDlg);
        return TRUE;
    }
    auto* p = reinterpret_cast<ZQFontDlgParam*>(GetWindowLongPtrW(hDlg, DWLP_USER));
    if (!p || !p->pInstaller) return FALSE;
    switch (uMsg) {
        case WM_COMMAND: return p->pInstaller->IOnCommand(p, LOWORD(wParam), HIWORD(wParam));
        case WM_HELP:
        case WM_CONTEXTMENU: p->pInstaller->VOnHelp(p, uMsg, wParam, lParam); return TRUE;
        case WM_DESTROY: p->pInstaller->VFreeFontList(p); return FALSE;
        default: return FALSE;
    }
}

void CZQFontInstaller::VGetControls(HWND hDlg) {
    m_hDlg = hDlg;
    m_hLocationLabel = GetDlgItem(hDlg, IDC_STA_FONT_FILE_LOCATION);
    m_hPath = GetDlgItem(hDlg, IDC_EDIT1);
    m_hBrowse = GetDlgItem(hDlg, IDC_BUTTON_BROWSE);
    m_hAddLabel = GetDlgItem(hDlg, IDC_STA_ADD_FONT);
    m_hAddList = GetDlgItem(hDlg, IDC_LIST1);
    m_hInstalledLabel = GetDlgItem(hDlg, IDC_STA_INSTALLED_FONTS);
    m_hInstalledList = GetDlgItem(hDlg, IDC_LIST2);
    m_hAdd = GetDlgItem(hDlg, IDC_BUTTON_ADD);
    m_hRemove = GetDlgItem(hDlg, IDC_BUTTON_REMOVE);
    m_hOk = GetDlgItem(hDlg, IDOK);
    m_hCancel = GetDlgItem(hDlg, IDCANCEL);
}

void CZQFontInstaller::VSetTexts() {
    BSetWindowTextRes(1106, m_hDlg, L"DIMM Font Installer");
    BSetWindowTextRes(1113, m_hBrowse, L"&Browse...");
    BSetWindowTextRes(1111, m_hAdd, L"&Add >>");
    BSetWindowTextRes(1112, m_hRemove, L"<< &Remove");
    BSetWindowTextRes(1108, m_hLocationLabel, L"Printer Font File &Location:");
    BSetWindowTextRes(1109, m_hAddLabel, L"Font(s) to be Added:");
    BSetWindowTextRes(1110, m_hInstalledLabel, L"Installed Font(s):");
    BSetWindowTextRes(849, m_hOk, L"OK");
    BSetWindowTextRes(850, m_hCancel, L"Cancel");
}

void CZQFontInstaller::VGetHelpIds(DWORD* pIds) {
    if (pIds) memcpy(pIds, kHelpIds, sizeof kHelpIds);
}

void CZQFontInstaller::VInitDialog(ZQFontDlgParam* p, HWND hDlg) {
    VGetControls(hDlg);
    VSetTexts();
    SendMessageW(m_hPath, EM_LIMITTEXT, kPathChars, 0);
    if (BLoadInstalledFonts(p)) BRefreshLists(p);
    p->bReadOnly = !CZQCommon::BIsLocalPrinter(p->pFontParam->hPrinter);
    EnableWindow(m_hAdd, FALSE);
    EnableWindow(m_hRemove, FALSE);
}

void CZQFontInstaller::VUpdateButtons(ZQFontDlgParam* p) {
    const auto any = [](HWND list) { return SendMessageW(list, LB_GETSELCOUNT, 0, 0) > 0; };
    EnableWindow(m_hAdd, !p->bReadOnly && any(m_hAddList));
    EnableWindow(m_hRemove, !p->bReadOnly && any(m_hInstalledList));
}

void CZQFontInstaller::VShowMessage(INT id, PCWSTR pszEnglish, PCWSTR pszArgument, UINT uIcon) {
    WCHAR text[kResStringLongChars], caption[kResStringChars];
    if (!BLoadResStringLong(id, text)) ZQCopyText(text, kResStringLongChars, pszEnglish);
    if (!BLoadResString(1106, caption)) ZQCopyText(caption, kResStringChars, L"DIMM Font Installer");
    WCHAR message[kResStringLongChars + kPathChars];
    Substitute(text, pszArgument, message, kResStringLongChars + kPathChars);
    zqmsgbox::IShow(m_hDlg, message, caption, MB_OK | uIcon);
}

void CZQFontInstaller::VApplyTypedFolder(ZQFontDlgParam* p) {
    WCHAR typed[kPathChars + 1] = {};
    GetWindowTextW(m_hPath, typed, kPathChars + 1);
    if (BIsDirectory(typed)) {
        BSetFolder(p, typed);
        IScanFolder(p);
        BRefreshLists(p);
        return;
    }
    VShowMessage(1114, L"The folder %s cannot be found.", typed, MB_ICONERROR);
    SetWindowTextW(m_hPath, p->pszFolder ? p->pszFolder : L"");
}

INT_PTR CZQFontInstaller::IOnCommand(ZQFontDlgParam* p, WORD wId, WORD wCode) {
    switch (wId) {
        case IDC_BUTTON_BROWSE:
            if (wCode == BN_CLICKED) BBrowseFolder(p);
            return TRUE;
        case IDC_BUTTON_ADD:
            if (wCode == BN_CLICKED) BMarkForAdding(p);
            return TRUE;
        case IDC_BUTTON_REMOVE:
            if (wCode == BN_CLICKED) BMarkForRemoving(p);
            return TRUE;
        case IDC_LIST1:
        case IDC_LIST2:
            if (wCode == LBN_SELCHANGE) VUpdateButtons(p);
            return TRUE;
        case IDOK:
            if (GetFocus() == m_hPath) {
                VApplyTypedFolder(p);
                return TRUE;
            }
            BInstallFonts(p);
            VFreeFontList(p);
            EndDialog(m_hDlg, 1);
            return TRUE;
        case IDCANCEL:
            VFreeFontList(p);
            EndDialog(m_hDlg, 2);
            return TRUE;
        default: return FALSE;
    }
}

void CZQFontInstaller::VOnHelp(ZQFontDlgParam* p, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    PCWSTR helpFile = p->pCaps ? p->pCaps->szHelpFile : nullptr;
    if (!helpFile || !helpFile[0]) return;
    if (uMsg == WM_CONTEXTMENU) {
        DWORD ids[kHelpIdCount];
        VGetHelpIds(ids);
        WinHelpW(reinterpret_cast<HWND>(wParam), helpFile, HELP_CONTEXTMENU, reinterpret_cast<ULONG_PTR>(ids));
        return;
    }
    const auto* info = reinterpret_cast<const HELPINFO*>(lParam);
    if (!info || info->iContextType != HELPINFO_WINDOW) return;
    for (size_t i = 0; kHelpIds[i]; i += 2)
        if (kHelpIds[i] == static_cast<DWORD>(info->iCtrlId) && kHelpIds[i + 1])
            VShowControlHelp(static_cast<HWND>(info->hItemHandle), kHelpIds[i], kHelpIds[i + 1], helpFile);
}

BOOL CZQFontInstaller::BBrowseFolder(ZQFontDlgParam* p) {
    WCHAR title[kResStringChars];
    if (!BLoadResString(1116, title)) ZQCopyText(title, kResStringChars, L"Choose a Folder:");
    WCHAR display[MAX_PATH] = {};
    BROWSEINFOW info = {};
    info.hwndOwner = m_hDlg;
    info.pszDisplayName = display;
    info.lpszTitle = title;
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    PIDLIST_ABSOLUTE pidl = SHBrowseForFolderW(&info);
    if (!pidl) return FALSE;
    WCHAR folder[MAX_PATH] = {};
    const BOOL chosen = SHGetPathFromIDListW(pidl, folder);
    CoTaskMemFree(pidl);
    if (!chosen || !folder[0]) return FALSE;
    SetWindowTextW(m_hPath, folder);
    BSetFolder(p, folder);
    IScanFolder(p);
    return BRefreshLists(p);
}
