// CZQAboutPage: the About page of both sheets. It names the installed driver with the status
// module's version, lists the driver's files with their versions and tells how the printer was
// configured. One object per binding; AboutPageDlgProc finds it through the page's PageContext,
// kept as the window's DWLP_USER data.
#pragma once

#include "pages/zqpages.h"

INT_PTR CALLBACK AboutPageDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);

class CZQAboutPage : public CZQTabBase {
public:
    CZQAboutPage() = default;
    CZQAboutPage(const CZQAboutPage&) = delete;
    CZQAboutPage& operator=(const CZQAboutPage&) = delete;

    // ---- the dialog procedure's work (the context is the page's PageContext)
    BOOL BInitDialog(HWND hDlg, PageContext* pContext);
    // The configuration-status list again, from the printer's data as it is now.
    void VRefreshConfigStatus();
    void VOnHelp(HWND hWnd, UINT uCommand, const PageContext* pContext);

private:
    void VAddFileLine(PCWSTR pszPath);

    HWND m_hFileList = nullptr;
    HWND m_hStatusList = nullptr;
};
