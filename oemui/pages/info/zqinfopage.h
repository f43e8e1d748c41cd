// CZQInfoPage: the Settings Information page, which stands in for the settings pages of Printing
// Preferences when the printer's jobs are set up in the maker's publishing application. It names
// the printer, says where the settings are made and offers a link to the maker's web site.
// The page procedure finds the page object through the page's PageContext (DWLP_USER); the link's
// state (its fonts and the window procedures the page replaced) belongs to each page window.
#pragma once

#include "pages/zqpagebase.h"
#include "pages/zqpages.h"

// The subclass procedures of the page's window and of its link.
LRESULT CALLBACK InfoParentProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK InfoLinkProc(HWND hLink, UINT uMsg, WPARAM wParam, LPARAM lParam);

class CZQInfoPage : public CZQPageBase {
public:
    // The web address the link opens.
    static constexpr WCHAR kSiteAddress[] = L"https://www.example.com/";
    // Text colours of the link before and after it was followed.
    static constexpr COLORREF kLinkColor = 0xC00000;
    static constexpr COLORREF kVisitedColor = 0x800080;

    CZQInfoPage() = default;
    CZQInfoPage(const CZQInfoPage&) = delete;
    CZQInfoPage& operator=(const CZQInfoPage&) = delete;

    // ---- the page procedure's work (the context is the page's PageContext)
    BOOL BInitDialog(HWND hDlg, PageContext* pContext);
    // Opens the web site with the shell and marks the link as followed.
    void VOpenLink(HWND hDlg);

    // The link was followed in this process (it keeps its colour for every later page).
    static BOOL BVisited() { return s_bVisited; }

private:
    friend class ZQPageShell;

    // Every message needs the page's items only.
    static constexpr unsigned kStartNeeds = zqpage::kNeedItems;
    static unsigned Needs(UINT) { return zqpage::kNeedItems; }
    // The logo.
    INT_PTR IOnMessage(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam, PageContext* pContext);
    // The link's click; TRUE for it.
    INT_PTR IOnCommand(HWND hDlg, int iCtrlId, int iCode, HWND hCtrl, PageContext* pContext);

    static BOOL s_bVisited;
};

inline constexpr auto& InfoPageDlgProc = ZQPageShell::Proc<CZQInfoPage>;
