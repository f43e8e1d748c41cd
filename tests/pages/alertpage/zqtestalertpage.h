// A test page that follows the pages' alert pattern and does nothing else, on the templates of
// alertdialog.rc: run in process on its own, and as the only page of a test build of the plug-in
// under the core driver stand-in.
#pragma once

#include "pages/zqpagealerts.h"
#include "pages/zqpages.h"

class CZQTestAlertTab : public CZQTabBase {
public:
    CZQPageAlerts alerts;
};

// WM_INITDIALOG takes the PROPSHEETPAGEW whose lParam is the page's context.
INT_PTR CALLBACK ZQTestAlertPageProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);

// A page table with only this page, in the Paper/Quality page's place, titled kZQTestAlertTitle.
extern const ZQPageRow kZQTestAlertRows[];
inline constexpr const wchar_t* kZQTestAlertTitle = L"Alerts";
