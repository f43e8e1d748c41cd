#include "convertapi/zqconvertruns.h"

#include <cstring>
#include <map>
#include <string>

#include "common/zqtrace.h"

namespace zqconvert {
namespace {

// The export switches' mutex is the session's: every process converting on its printers takes it.
constexpr WCHAR kExportSwitchMutex[] = L"Local\\ZQConvertExportSwitches";
constexpr DWORD kExportSwitchWaitMs = 120000;

struct GuidLess {
    bool operator()(const GUID& a, const GUID& b) const { return std::memcmp(&a, &b, sizeof a) < 0; }
};

struct Table {
    std::mutex lock;
    std::map<GUID, std::shared_ptr<Run>, GuidLess> runs;
    // What the last InitializeConvertAPI was given, for a run started without it.
    std::wstring printerName, dmcPath;
};

// Lives as long as the process: runs a caller never ended must not close printers or free modules
// while the module itself is being unloaded.
Table& Runs() {
    static Table* table = new Table();
    return *table;
}

SRWLOCK g_driverCalls = SRWLOCK_INIT;
std::mutex g_processRuns;

// A run under the GUID with the printer and the manager's path the table keeps; under its lock.
std::shared_ptr<Run> AddRun(Table& t, const GUID& runGuid) {
    auto run = std::make_shared<Run>();
    if (!t.printerName.empty()) run->converter.VSetPrinterName(t.printerName.c_str());
    if (!t.dmcPath.empty()) run->converter.VSetDMCPath(t.dmcPath.c_str());
    t.runs[runGuid] = run;
    return run;
}

}  // namespace

std::shared_ptr<Run> NewRun(const GUID& runGuid, PCWSTR pszPrinterName, PCWSTR pszDMCPath) {
    Table& t = Runs();
    std::lock_guard<std::mutex> guard(t.lock);
    if (pszPrinterName) t.printerName = pszPrinterName;
    if (pszDMCPath) t.dmcPath = pszDMCPath;
    return AddRun(t, runGuid);
}

std::shared_ptr<Run> FindRun(const GUID& runGuid) {
    if (IsEqualGUID(runGuid, GUID_NULL)) return nullptr;
    Table& t = Runs();
    std::lock_guard<std::mutex> guard(t.lock);
    const auto found = t.runs.find(runGuid);
    if (found != t.runs.end()) return found->second;
    auto run = AddRun(t, runGuid);
    run->takenUp = true;
    return run;
}

void EndRun(const GUID& runGuid) {
    Table& t = Runs();
    std::lock_guard<std::mutex> guard(t.lock);
    t.runs.erase(runGuid);
}

CZQExportSwitchLock::CZQExportSwitchLock() : CZQNamedLock(kExportSwitchMutex, kExportSwitchWaitMs) {
    if (!Held()) zqtrace::Line(L"CZQExportSwitchLock: another run holds the export switches\n");
}

CZQDriverCallLock::CZQDriverCallLock(bool bExclusive) : m_bExclusive(bExclusive) {
    if (m_bExclusive) AcquireSRWLockExclusive(&g_driverCalls);
    else AcquireSRWLockShared(&g_driverCalls);
}

CZQDriverCallLock::~CZQDriverCallLock() {
    if (m_bExclusive) ReleaseSRWLockExclusive(&g_driverCalls);
    else ReleaseSRWLockShared(&g_driverCalls);
}

CZQProcessRunLock::CZQProcessRunLock(bool bTake) : m_bTaken(bTake) {
    if (m_bTaken) g_processRuns.lock();
}

CZQProcessRunLock::~CZQProcessRunLock() {
    if (m_bTaken) g_processRuns.unlock();
}

}  // namespace zqconvert
