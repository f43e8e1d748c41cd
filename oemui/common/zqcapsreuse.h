// Reuse of what one pass over a sheet asks the spooler again and again.
#pragma once

#include <windows.h>
#include <winspool.h>

// While one lives on this thread, each list of CZQCommon's device-capabilities routines is asked of
// the driver once and handed out again as a copy for the same printer, port and devmode (each query
// of the core driver is a whole driver call), and so is the driver record of a printer handle the
// caller holds (a read costs the spooler a walk over the driver's files). Scopes nest; the
// outermost owns the answers. A pass holds its printer handle open throughout, so the handle
// names one printer for the scope's life.
class CZQCapsReuseScope {
public:
    CZQCapsReuseScope();
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
}  // namespace zqreuse
