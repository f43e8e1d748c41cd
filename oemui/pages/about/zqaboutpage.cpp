// The About page: its messages, its start (labels, the driver's name and files), the
// configuration status rebuilt each time the page comes to the front, the logo and help.
#include "pages/about/zqaboutpage.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>

#include "common/zqhandles.h"
#include "device/zqaboutinfo.h"
#include "res/zqaboutinfoids.h"

namespace {

constexpr DWORD kNoTopic = 0xFFFFFFFF;
// Pairs of control and help topic, in the page's order.
constexpr DWORD kHelpIds[] = {
    IDS_PRINTER_NAME, kNoTopic, IDS_COPYRIGHT1, kNoTopic, IDS_COPYRIGHT2, kNoTopic, IDC_LB_FILELIST, kNoTopic,
    IDC_LB_NOTIFICATION, 15212, IDC_STA_FILELIST, kNoTopic, IDC_STA_NOTIFICATION, kNoTopic, 0, 0};

// The labels: control, string id, English text.
struct Label {
    int iCtrlId;
    INT idText;
    PCWSTR pszEnglish;
};
constexpr Label kLabels[] = {
    {IDS_COPYRIGHT1, 883, L"Copyright (C) 2026 Quorvane."},
    {IDS_COPYRIGHT2, 884, L"All rights reserved."},
    {IDC_STA_FILELIST, 3433, L"D&river Files:"},
    {IDC_STA_NOTIFICATION, 3432, L"Con&figuration Status:"},
};

// A list shows whole rows: its foot comes up to the last whole one.
void FitWholeRows(HWND hList) {
    RECT client = {}, window = {};
    const LRESULT row = hList ? SendMessageW(hList, LB_GETITEMHEIGHT, 0, 0) : 0;
    if (row <= 0 || !GetClientRect(hList, &client) || !GetWindowRect(hList, &window) || client.bottom < row) return;
    const LONG cut = client.bottom % static_cast<LONG>(row);
    if (cut)
        SetWindowPos(hList, nullptr, 0, 0, window.right - window.left, window.bottom - window.top - cut,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Its own messages
// ---------------------------------------------------------------------------------------------
INT_PTR CZQAboutPage::IOnMessage(HWND hDlg, UINT uMsg, WPARAM, LPARAM, PageContext*) {
    if (uMsg == WM_PAINT) VPaintLogo(hDlg, IDB_ABOUT_LOGO, IDB_ABOUT_LOGO_MASK, IDC_BITMAP_HOLDER);
    return FALSE;
}

LRESULT CZQAboutPage::IOnNotify(HWND, const NMHDR* pHeader, PageContext*) {
    if (pHeader->code == static_cast<UINT>(PSN_SETACTIVE)) VRefreshConfigStatus();
    return 0;
}

// ---------------------------------------------------------------------------------------------
// The start of the page's window
// ---------------------------------------------------------------------------------------------
BOOL CZQAboutPage::BInitDialog(HWND hDlg, PageContext* pContext) {
    if (!pContext || pContext->pPage != this || !m_pCUIParam) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    if (!BAllocPageBlock()) return FALSE;
    m_hFileList = GetDlgItem(hDlg, IDC_LB_FILELIST);
    m_hStatusList = GetDlgItem(hDlg, IDC_LB_NOTIFICATION);
    for (HWND list : {m_hFileList, m_hStatusList}) FitWholeRows(list);
    for (const Label& label : kLabels)
        if (HWND control = GetDlgItem(hDlg, label.iCtrlId)) BSetWindowTextRes(label.idText, control, label.pszEnglish);

    CZQLocalPtr<DRIVER_INFO_3W> driver;
    const HANDLE printer = HPrinter();
    if (printer && BGetDriverInfo3(printer, driver.Put())) {
        WCHAR line[kAboutLineChars];
        VFormatDriverNameLine(*driver.Get(), line);
        SetDlgItemTextW(hDlg, IDS_PRINTER_NAME, line);
        const DRIVER_INFO_3W& info = *driver.Get();
        for (PCWSTR file : {info.pDataFile, info.pDriverPath, info.pConfigFile, info.pHelpFile})
            if (file && *file) VAddFileLine(file);
        for (PCWSTR file = info.pDependentFiles; file && *file; file += wcslen(file) + 1) VAddFileLine(file);
        WCHAR processor[MAX_PATH];
        if (pContext->pCaps &&
            BGetPrintProcessorFile(pContext->pCaps->szServerName, pContext->pCaps->szPrintProcessor, processor))
            VAddFileLine(processor);
        if (m_hFileList) SendMessageW(m_hFileList, LB_SETCURSEL, 0, 0);
        VPlaceVersionColumn();
    }
    SetWindowLongPtrW(hDlg, DWLP_USER, reinterpret_cast<LONG_PTR>(pContext));
    return TRUE;
}

void CZQAboutPage::VAddFileLine(PCWSTR pszPath) {
    if (!m_hFileList) return;
    WCHAR line[kAboutLineChars];
    VFormatFileLine(pszPath, line);
    SendMessageW(m_hFileList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
}

// The versions in one column whatever the widths of the names in the list's font: the first tab of
// every line stops after the longest name, the second two average characters further on. Stops
// count in quarters of the font's average character width.
void CZQAboutPage::VPlaceVersionColumn() {
    if (!m_hFileList) return;
    const CZQWindowDC dc(m_hFileList);
    if (!dc.Get()) return;
    const HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageW(m_hFileList, WM_GETFONT, 0, 0));
    CZQSelectObject select(dc.Get(), font ? font : GetStockObject(DEFAULT_GUI_FONT));
    constexpr WCHAR kAlphabet[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    SIZE size = {};
    GetTextExtentPoint32W(dc.Get(), kAlphabet, 52, &size);
    const int average = std::max<int>(1, (size.cx / 26 + 1) / 2);
    LONG widest = 0;
    const LRESULT count = SendMessageW(m_hFileList, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        WCHAR line[kAboutLineChars] = {};
        const LRESULT length = SendMessageW(m_hFileList, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        if (length < 0 || length >= static_cast<LRESULT>(kAboutLineChars)) continue;
        SendMessageW(m_hFileList, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(line));
        const PCWSTR tab = wcschr(line, L'\t');
        if (!tab || !GetTextExtentPoint32W(dc.Get(), line, static_cast<int>(tab - line), &size)) continue;
        widest = std::max(widest, size.cx);
    }
    const INT first = (widest * 4 + average - 1) / average + 2;
    INT stops[] = {first, first + 8};
    SendMessageW(m_hFileList, LB_SETTABSTOPS, ARRAYSIZE(stops), reinterpret_cast<LPARAM>(stops));
}

// ---------------------------------------------------------------------------------------------
// Messages
// ---------------------------------------------------------------------------------------------
void CZQAboutPage::VRefreshConfigStatus() {
    if (!m_hStatusList) return;
    SendMessageW(m_hStatusList, LB_RESETCONTENT, 0, 0);
    const HANDLE printer = HPrinter();
    if (!printer) return;
    ZQStatusLine lines[kMaxStatusLines];
    const int count = IReadConfigStatus(printer, lines);
    for (int i = 0; i < count; ++i) {
        WCHAR text[kAboutLineChars];
        VFormatStatusLine(*this, lines[i], text);
        SendMessageW(m_hStatusList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
}

void CZQAboutPage::VOnHelp(HWND hWnd, UINT uCommand, const PageContext* pContext) {
    PCWSTR helpFile = pContext && pContext->pCaps ? pContext->pCaps->szHelpFile : nullptr;
    if (!helpFile || !helpFile[0]) return;
    WinHelpW(hWnd, helpFile, uCommand, reinterpret_cast<ULONG_PTR>(kHelpIds));
}
