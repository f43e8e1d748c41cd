// What pages and their dialogs ask of a binding besides its logic, capabilities and rules: one
// narrow door per object that owns the work. Page assembly puts each door into the pages'
// PageContext, so a page's call lands in its owner; the COM shell is never in between.
#pragma once

#include "common/zqkeywords.h"
#include "platform/oemuiplatform.h"

class CZQAlertWnd;

// The constraint gate (CZQConstraintGate): the controllers beside a dialog's controls, the check
// after a change, and the command lines pages start.
class IZQConstraintGate {
public:
    // A page or dialog attaches the controller of the feature beside its anchor control at
    // initialisation and detaches it when it closes.
    virtual BOOL BAttachConstraintDialog(PCWSTR pszFeature, HWND hDlg, int iAnchorId) = 0;
    virtual BOOL BDetachConstraintControls(PCWSTR pszFeature, HWND hDlg) = 0;
    // Checks the feature's current option after a change; with *pdwCancelled 1 the caller
    // restores the previous option.
    virtual BOOL BCheckConstraint(PCWSTR pszFeature, HWND hDlg, DWORD* pdwCancelled) = 0;
    // The medium's rules, then the quality's, as the sheet's load checks them: settings a page
    // sets as a whole (a document type) are left as the rules force them, so the next opening
    // finds nothing to change. A question cancelled leaves the settings as they are.
    BOOL BCheckMediaAndQuality(HWND hDlg) {
        DWORD cancelled = 0;
        BCheckConstraint(zqkw::kMediaType, hDlg, &cancelled);
        return BCheckConstraint(zqkw::kPrintQuality, hDlg, &cancelled);
    }
    // Starts the command line; a start that fails is shown to the user.
    virtual BOOL BRunCommandLine(PCWSTR pszCommandLine) = 0;

protected:
    ~IZQConstraintGate() = default;
};

// The alert gate (CZQAlertGate): the device status the pages' alert strips show.
class IZQAlertGate {
public:
    virtual BOOL BAlertsEnabled() const = 0;
    // A page's window joins the list while alerts are on and leaves it before it is destroyed.
    virtual BOOL BAddAlertWindow(CZQAlertWnd* pWnd) = 0;
    virtual BOOL BRemoveAlertWindow(CZQAlertWnd* pWnd) = 0;
    // bPageInit: from a page's initialisation; otherwise from the refresh button.
    virtual BOOL BRefreshDeviceStatus(BOOL bPageInit) = 0;
    virtual BOOL BDrawRefreshButton(const DRAWITEMSTRUCT* pDis) const = 0;
    virtual BOOL BGetAlertIcon(HICON* phIcon) const = 0;

protected:
    ~IZQAlertGate() = default;
};

// The settings exchange (CZQSettingsExchange): what the last page visited does on apply.
class IZQSettingsExchange {
public:
    // The public devmode's paper fields and the private devmode's sections follow the page's
    // working copy.
    virtual void VSyncAfterChange() = 0;
    // Reports the current settings of a section ("Printing/" from the document sheet, "Physical/"
    // from the device settings) back to the configuration manager, where this process may.
    virtual BOOL BExportSettings(PCWSTR pszSection) = 0;

protected:
    ~IZQSettingsExchange() = default;
};
