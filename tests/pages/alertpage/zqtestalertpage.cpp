#include "zqtestalertpage.h"

#include <new>

#include "alertdialog.h"

INT_PTR CALLBACK ZQTestAlertPageProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (uMsg == WM_INITDIALOG)
        SetWindowLongPtrW(hDlg, DWLP_USER, reinterpret_cast<const PROPSHEETPAGEW*>(lParam)->lParam);
    auto* context = reinterpret_cast<PageContext*>(GetWindowLongPtrW(hDlg, DWLP_USER));
    if (!context) return FALSE;
    auto* tab = static_cast<CZQTestAlertTab*>(context->pPage);
    switch (uMsg) {
        case WM_INITDIALOG: tab->alerts.VInit(hDlg, context->pAlerts, context->pConstraints); return TRUE;
        case WM_DESTROY: tab->alerts.VDetach(); return FALSE;
        default: break;
    }
    INT_PTR result = 0;
    if (!tab->alerts.BOnMessage(hDlg, uMsg, wParam, lParam, &result)) return FALSE;
    SetWindowLongPtrW(hDlg, DWLP_MSGRESULT, result);
    return uMsg == WM_DRAWITEM ? result : TRUE;
}

namespace {

CZQTabBase* CreateTab(const ZQSheetFacts&) { return new (std::nothrow) CZQTestAlertTab(); }
ZQPageTemplate Template(const ZQSheetFacts&) { return {IDD_ZQTEST_ALERTS, IDD_ZQTEST_ALERTS_RTL, &ZQTestAlertPageProc}; }

}  // namespace

const ZQPageRow kZQTestAlertRows[] = {
    {kPagePaperQuality, &CreateTab, &Template, 0, kZQTestAlertTitle, nullptr, nullptr},
    {kPageNone, nullptr, nullptr, 0, nullptr, nullptr, nullptr},
};
