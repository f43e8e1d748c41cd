#include "pages/zqpagealerts.h"

#include <initializer_list>
#include <new>

#include "common/zqmodule.h"
#include "common/zqtrace.h"
#include "device/zqalertwnd.h"
#include "featurelogic/zqpagegates.h"
#include "res/zqalertids.h"

void CZQPageAlerts::VInit(HWND hDlg, IZQAlertGate* pAlerts, IZQConstraintGate* pCommands) {
    ZQ_TRACE("CZQPageAlerts::VInit");
    VDetach();
    m_pAlerts = pAlerts;
    m_pCommands = pCommands;
    HWND hPlaceholder = GetDlgItem(hDlg, IDC_ALERT_PLACEHOLDER);
    HWND hButton = GetDlgItem(hDlg, IDC_ALERT_REFRESH);
    if (!pAlerts || !pAlerts->BAlertsEnabled() || !hPlaceholder) {
        for (HWND hCtl : {hPlaceholder, hButton}) {
            if (!hCtl) continue;
            ShowWindow(hCtl, SW_HIDE);
            EnableWindow(hCtl, FALSE);
        }
        return;
    }

    // The strip takes the placeholder's whole rectangle; a long alert scrolls inside it.
    RECT rc = {};
    GetClientRect(hPlaceholder, &rc);
    MapWindowPoints(hPlaceholder, hDlg, reinterpret_cast<POINT*>(&rc), 2);
    DestroyWindow(hPlaceholder);
    m_pWnd = new (std::nothrow) CZQAlertWnd();
    if (m_pWnd && m_pWnd->BCreate(hDlg, zqmodule::Instance(), nullptr, MAKEINTRESOURCEW(32515),
                                  MAKEINTRESOURCEW(32513), &rc)) {
        pAlerts->BAddAlertWindow(m_pWnd);
        if (hButton) ShowWindow(hButton, SW_SHOW);
    } else {
        delete m_pWnd;
        m_pWnd = nullptr;
    }
    HICON hIcon = nullptr;
    if (hButton && pAlerts->BGetAlertIcon(&hIcon))
        SendMessageW(hButton, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(hIcon));
    pAlerts->BRefreshDeviceStatus(TRUE);
}

BOOL CZQPageAlerts::BOnMessage(HWND, UINT uMsg, WPARAM wParam, LPARAM lParam, INT_PTR* pResult) {
    if (!m_pAlerts) return FALSE;
    INT_PTR result = 0;
    if (uMsg == kZQAlertLinkMessage) {
        // Only the row this page's own strip hands over; the line is copied first: the window may
        // refill its rows while the program starts.
        WCHAR line[kAlertLinkChars];
        if (m_pWnd && m_pWnd->BTakeLink(uMsg, wParam, line)) VLaunchCommandLine(line);
        if (pResult) *pResult = 0;
        return TRUE;
    }
    switch (uMsg) {
        case WM_COMMAND:
            if (LOWORD(wParam) != IDC_ALERT_REFRESH || HIWORD(wParam) != BN_CLICKED) return FALSE;
            m_pAlerts->BRefreshDeviceStatus(FALSE);
            break;
        case WM_DRAWITEM:
            if (wParam != IDC_ALERT_REFRESH) return FALSE;
            result = m_pAlerts->BDrawRefreshButton(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            break;
        default: return FALSE;
    }
    if (pResult) *pResult = result;
    return TRUE;
}

void CZQPageAlerts::VLaunchCommandLine(PCWSTR pszCommandLine) const {
    if (m_pCommands) m_pCommands->BRunCommandLine(pszCommandLine);
}

void CZQPageAlerts::VDetach() {
    if (!m_pWnd) return;
    if (m_pAlerts) m_pAlerts->BRemoveAlertWindow(m_pWnd);
    m_pWnd->BDestroy();
    delete m_pWnd;
    m_pWnd = nullptr;
}
