// What the conversion runs of a process share: the table of the staged runs by their GUIDs, and
// the locks around what is not a run's own.
//
// - A staged run lives from InitializeConvertAPI to KillConvertAPI with a converter of its own; its
//   calls take turns on its lock, and calls of different runs go on side by side.
// - The configuration manager keeps one session per process (CZQConfigSessionLock).
// - The printer's export switches are the printer's, not a run's: one convert-devmode run at a time
//   sets them, in this process and in the others of the session (CZQExportSwitchLock), and no
//   ticket run of this process calls the driver meanwhile, since its Apply would export into that
//   run's ticket (CZQDriverCallLock).
// - A run named by the process id (a one-call form whose devmode carries no tag record) shares
//   that key with every other such run: they take turns (CZQProcessRunLock).
#pragma once

#include <windows.h>

#include <memory>
#include <mutex>

#include "common/zqhandles.h"
#include "convertapi/zqondrel.h"

namespace zqconvert {

struct Run {
    std::mutex lock;       // one call of the run at a time
    bool live = true;      // false once KillConvertAPI ended it
    bool takenUp = false;  // named by a GUID this process did not hand out (or no longer had)
    CZQOndrel converter;   // configured and used under the lock
};

// A new run under its GUID, with the printer and the manager's path given (a null one: what the
// process's last InitializeConvertAPI was given, as a single converter kept it).
std::shared_ptr<Run> NewRun(const GUID& runGuid, PCWSTR pszPrinterName, PCWSTR pszDMCPath);
// The run of a GUID: null for GUID_NULL only. Any other GUID names a run: one this process handed
// out, or else one taken up under it with what the last InitializeConvertAPI was given.
std::shared_ptr<Run> FindRun(const GUID& runGuid);
// Takes the run out of the table; calls already under way finish first (they hold its lock).
void EndRun(const GUID& runGuid);

// The export switches of the printers: held from before they are set until they are back. The
// thread that holds it may take it again. A holder that does not let go within two minutes is
// taken to be stuck: the lock is then not held, and the caller changes nothing.
class CZQExportSwitchLock : public CZQNamedLock {
public:
    CZQExportSwitchLock();
};

// A driver call of this process's conversion runs: ticket runs side by side, a convert-devmode run
// alone.
class CZQDriverCallLock {
public:
    explicit CZQDriverCallLock(bool bExclusive);
    ~CZQDriverCallLock();
    CZQDriverCallLock(const CZQDriverCallLock&) = delete;
    CZQDriverCallLock& operator=(const CZQDriverCallLock&) = delete;

private:
    bool m_bExclusive;
};

// The runs named by the process id, one at a time (for the life of the object, when bTake).
class CZQProcessRunLock {
public:
    explicit CZQProcessRunLock(bool bTake);
    ~CZQProcessRunLock();
    CZQProcessRunLock(const CZQProcessRunLock&) = delete;
    CZQProcessRunLock& operator=(const CZQProcessRunLock&) = delete;

private:
    bool m_bTaken;
};

}  // namespace zqconvert
