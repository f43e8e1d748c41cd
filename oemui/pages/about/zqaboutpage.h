// CZQAboutPage: the About page of both sheets. It names the installed driver with the status
// module's version, lists the driver's files with their versions and tells how the printer was
// configured. One object per binding; the page procedure finds it through the page's PageContext,
// kept as the window's DWLP_USER data.
#pragma once

#include "pages/zqpagebase.h"
#include "pages/zqpages.h"

class CZQAboutPage : public CZQPageBase {
public:
    CZQAboutPage() = default;
    CZQAboutPage(const CZQAboutPage&) = delete;
    CZQAboutPage& operator=(const CZQAboutPage&) = delete;

    // ---- the page procedure's work (the context is the page's PageContext)
    BOOL BInitDialog(HWND hDlg, PageContext* pContext);
    // The configuration-status list again, from the printer's data as it is now.
    void VRefreshConfigStatus();
    void VOnHelp(HWND hWnd, UINT uCommand, const PageContext* pContext);

private:
    friend class ZQPageShell;

    // Every message needs the page's items only.
    static constexpr unsigned kStartNeeds = zqpage::kNeedItems;
    static unsigned Needs(UINT) { return zqpage::kNeedItems; }
    // The logo; the status list is rebuilt whenever the page comes to the front.
    INT_PTR IOnMessage(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam, PageContext* pContext);
    LRESULT IOnNotify(HWND hDlg, const NMHDR* pHeader, PageContext* pContext);
    void VAddFileLine(PCWSTR pszPath);
    void VPlaceVersionColumn();

    HWND m_hFileList = nullptr;
    HWND m_hStatusList = nullptr;
};

inline constexpr auto& AboutPageDlgProc = ZQPageShell::Proc<CZQAboutPage>;
