// The device alerts of a page, one pattern for every page that shows them: at initialisation the
// alert window takes the place of the placeholder control (IDC_ALERT_PLACEHOLDER) and the refresh
// button (IDC_ALERT_REFRESH, owner-drawn) shows; the first refresh runs at once, the button runs
// the next ones, and a click on a link row runs its command line. Without alerts both controls are
// hidden and disabled. A page keeps one object in its state and hands it its dialog messages.
#pragma once

#include <windows.h>

class CZQAlertWnd;
class IZQAlertGate;
class IZQConstraintGate;

class CZQPageAlerts {
public:
    CZQPageAlerts() = default;
    ~CZQPageAlerts() { VDetach(); }
    CZQPageAlerts(const CZQPageAlerts&) = delete;
    CZQPageAlerts& operator=(const CZQPageAlerts&) = delete;

    // WM_INITDIALOG of the page: the alert gate shows the device status, the constraint gate runs
    // the links' command lines (both from the page's context).
    void VInit(HWND hDlg, IZQAlertGate* pAlerts, IZQConstraintGate* pCommands);
    // The pattern's messages (the refresh button's click and drawing, the window's link message);
    // TRUE when handled, with the dialog procedure's result in *pResult.
    BOOL BOnMessage(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam, INT_PTR* pResult);
    // WM_DESTROY of the page (and the destructor): the window leaves the gate's list before it is
    // destroyed, so that no later refresh reaches it.
    void VDetach();

    CZQAlertWnd* Window() const { return m_pWnd; }

    // A link row's command line, run by the plug-in object (which tells the user when it cannot).
    void VLaunchCommandLine(PCWSTR pszCommandLine) const;

private:
    IZQAlertGate* m_pAlerts = nullptr;
    IZQConstraintGate* m_pCommands = nullptr;
    CZQAlertWnd* m_pWnd = nullptr;
};
