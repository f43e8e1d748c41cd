// Reuse of what one pass over a sheet, or one message of a page, asks the spooler and the core
// driver again and again.
#pragma once

#include <windows.h>
#include <winspool.h>

// While one lives on this thread, each list of CZQCommon's device-capabilities routines is asked of
// the driver once and handed out again as a copy for the same printer, port and devmode (each query
// of the core driver is a whole driver call), and so is the driver record of a printer handle the
// caller holds (a read costs the spooler a walk over the driver's files), and so is the core
// driver's setting of a feature until the next report of an item to the core driver (the option-item
// access layer reads a setting many times over in one refresh). Scopes nest; the outermost owns the
// answers. A pass holds its printer handle open throughout, so the handle names one printer for the
// scope's life. A page opens one for each message it handles, keeping the core driver's settings
// only: a message may open a dialog that adds a form, after which the lists are asked again.
class CZQCapsReuseScope {
public:
    explicit CZQCapsReuseScope(bool bSettingsOnly = false);
    ~CZQCapsReuseScope();
    CZQCapsReuseScope(const CZQCapsReuseScope&) = delete;
    CZQCapsReuseScope& operator=(const CZQCapsReuseScope&) = delete;

private:
    bool m_bOwner = false;
};

namespace zqreuse {
// With a scope on this thread: a new local-heap copy of the driver record kept for the handle, else
// null. KeepDriverInfo keeps a copy of a record just read (nothing without a scope).
DRIVER_INFO_3W* CopyDriverInfo(HANDLE hPrinter);
void KeepDriverInfo(HANDLE hPrinter, const DRIVER_INFO_3W* pInfo);

// With a scope on this thread: the core driver's answer to a setting read of a UI object and ANSI
// feature keyword since the last report, as its status and a new local-heap copy of its cb bytes
// (null when the answer had none). KeepSetting keeps an answer just read. ForgetSettings drops them
// all: every report of an item to the core driver (DrvUpdateUISetting) may change its answers, so
// whoever reports calls it.
bool FindSetting(const void* pUIObject, const char* pszKeyword, DWORD* pdwStatus, char** ppValue, size_t* pcb);
void KeepSetting(const void* pUIObject, const char* pszKeyword, DWORD dwStatus, const char* pValue, size_t cb);
void ForgetSettings();
}  // namespace zqreuse
