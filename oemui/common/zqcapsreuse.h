// Reuse of the device-capabilities lists within one pass over a sheet.
#pragma once

// While one lives on this thread, each list of CZQCommon's device-capabilities routines is asked of
// the driver once and handed out again as a copy for the same printer, port and devmode (each query
// of the core driver is a whole driver call). Scopes nest; the outermost owns the answers.
class CZQCapsReuseScope {
public:
    CZQCapsReuseScope();
    ~CZQCapsReuseScope();
    CZQCapsReuseScope(const CZQCapsReuseScope&) = delete;
    CZQCapsReuseScope& operator=(const CZQCapsReuseScope&) = delete;

private:
    bool m_bOwner = false;
};
