// The lock of a printer's stores of named settings (Task Presets, printing shortcuts, watermarks).
// Whoever reads one of them, decides on what it read and writes holds it from the read to the write,
// so that no other sheet or program changes the store in between: one named mutex per printer in
// the machine's global namespace, which every user who may print (an authenticated user, a
// service's account) may open and wait for, whichever session he works in. Where the global
// namespace refuses the mutex, the session's own takes its place. The session's mutex of the same
// name is taken too, after the global one: earlier versions lock by that one alone, and a sheet of
// theirs still open in the session must still wait for ours, and ours for it. It is never held
// while a question waits for the user. CZQStoreEdit (zqstoreedit.h) holds it for one edit of the stores.
//
//     CZQStoreLock lock(hPrinter);
//     if (!lock.Held()) { /* say so; store nothing */ }
//
// The thread that holds it may take it again. While it waits, the thread answers sent messages and
// paints (common/zqwait.h). A lock not had within the wait is not held.
#pragma once

#include <windows.h>

#include <string>

#include "common/zqhandles.h"

class CZQStoreLock {
public:
    // A save waits this long for another program's read-decide-write, which takes far less.
    static constexpr DWORD kWaitMs = 5000;

    // The printer the handle is open on, as its record names it; without one, the name given (a
    // lock for every printer without a name when neither is there). kDefaultWait: the wait set for
    // the process (kWaitMs unless a test set another).
    static constexpr DWORD kDefaultWait = 0xFFFFFFFE;
    explicit CZQStoreLock(HANDLE hPrinter, PCWSTR pszPrinterName = nullptr, DWORD dwWaitMs = kDefaultWait);
    ~CZQStoreLock();
    CZQStoreLock(const CZQStoreLock&) = delete;
    CZQStoreLock& operator=(const CZQStoreLock&) = delete;

    bool Held() const { return m_bHeld; }

    // The mutex's name for a printer: the namespace's prefix, then the name in capitals (the
    // spooler's names do not heed case), each backslash (which a mutex's name cannot hold) and each
    // '%' written as '%' and its code in hexadecimal; a name that would not fit is cut and ends in a
    // hash of the whole. bGlobal: the machine's namespace, else the session's.
    static std::wstring MutexName(PCWSTR pszPrinterName, bool bGlobal = true);

    // The wait of every lock made without one of its own; tests shorten it.
    static void VSetDefaultWait(DWORD dwWaitMs);

private:
    static std::wstring PrinterNameOf(HANDLE hPrinter, PCWSTR pszPrinterName);
    static HANDLE HOpenMutex(const std::wstring& printerName, bool bGlobal);
    // Waits for the mutex, answering sent messages and painting; TRUE when it is had.
    static bool BTake(HANDLE hMutex, DWORD dwWaitMs);

    // The global mutex (null where the namespace refused it) and the session's.
    CZQHandle m_global, m_session;
    bool m_bHeld = false;
};
