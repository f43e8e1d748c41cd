// The lock of a printer's stores of named settings (Task Presets, printing shortcuts, watermarks).
// Whoever reads one of them, decides on what it read and writes holds it from the read to the write,
// so that no other sheet or program changes the store in between: one named mutex per printer,
// shared by every program of the session. It is never held while a question waits for the user.
//
//     CZQStoreLock lock(hPrinter);
//     if (!lock.Held()) { /* say so; store nothing */ }
//
// The thread that holds it may take it again. A lock not had within the wait is not held.
#pragma once

#include <windows.h>

#include <string>

#include "zqowner.h"

class CZQStoreLock : public CZQNamedLock {
public:
    // A save waits this long for another program's read-decide-write, which takes far less.
    static constexpr DWORD kWaitMs = 5000;

    // The printer the handle is open on, as its record names it; without one, the name given (a
    // lock for every printer without a name when neither is there).
    explicit CZQStoreLock(HANDLE hPrinter, PCWSTR pszPrinterName = nullptr, DWORD dwWaitMs = kWaitMs);

    // The mutex's name for a printer: the name in capitals (the spooler's names do not heed case),
    // each backslash (which a mutex's name cannot hold) and each '%' written as '%' and its code in
    // hexadecimal; a name that would not fit is cut and ends in a hash of the whole.
    static std::wstring MutexName(PCWSTR pszPrinterName);

private:
    static std::wstring PrinterNameOf(HANDLE hPrinter, PCWSTR pszPrinterName);
};
