// The opening of Printing Preferences on each sample printer against the same core driver without
// the plug-in (its model with the plug-in line left out), the two opened in turn with the stand-ins'
// call logs emptied before each open; and the printer-data calls and the driver- and printer-record
// reads an opening makes, counted on the spooler's own entry points (every module that looks them up after the count starts calls the
// counting ones).
#include <windows.h>
#include <winspool.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cmath>
#include <cstring>
#include <cwctype>
#include <map>
#include <string>
#include <vector>

#include "zqbench.h"
#include "zqhostapp.h"
#include "zqinstall.h"

namespace zqbench {
namespace {

// ---- printer-data calls, counted
struct DataCalls {
    long reads = 0, enumerations = 0, writes = 0;
    long driverRecords = 0, printerRecords = 0;  // records read whole (a size query is no read)
    std::map<std::wstring, int> perValue;  // values read to the end (a size query alone is no read)
    std::map<std::wstring, int> written;
};
DataCalls g_calls;
bool g_listValues = false;  // each value read more than once and each value written
CRITICAL_SECTION g_lock;

std::wstring ValueName(LPCWSTR key, LPCWSTR name) {
    std::wstring v = std::wstring(key ? key : L"PrinterDriverData") + L"\\" + (name ? name : L"");
    std::transform(v.begin(), v.end(), v.begin(), [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
    return v;
}

void CountRead(LPCWSTR key, LPCWSTR name, DWORD rc) {
    EnterCriticalSection(&g_lock);
    ++g_calls.reads;
    if (rc != ERROR_MORE_DATA) ++g_calls.perValue[ValueName(key, name)];
    LeaveCriticalSection(&g_lock);
}
void Count(long DataCalls::*what, LPCWSTR key = nullptr, LPCWSTR name = nullptr) {
    EnterCriticalSection(&g_lock);
    ++(g_calls.*what);
    if (what == &DataCalls::writes) ++g_calls.written[ValueName(key, name)];
    LeaveCriticalSection(&g_lock);
}

decltype(&::GetPrinterDataW) g_getData;
decltype(&::GetPrinterDataExW) g_getDataEx;
decltype(&::SetPrinterDataW) g_setData;
decltype(&::SetPrinterDataExW) g_setDataEx;
decltype(&::DeletePrinterDataW) g_deleteData;
decltype(&::DeletePrinterDataExW) g_deleteDataEx;
decltype(&::DeletePrinterKeyW) g_deleteKey;
decltype(&::EnumPrinterDataExW) g_enumDataEx;
decltype(&::EnumPrinterKeyW) g_enumKey;
decltype(&::GetPrinterDriverW) g_getDriver;
decltype(&::GetPrinterW) g_getPrinter;

DWORD WINAPI GetData(HANDLE h, LPWSTR name, LPDWORD type, LPBYTE data, DWORD cb, LPDWORD needed) {
    const DWORD rc = g_getData(h, name, type, data, cb, needed);
    CountRead(nullptr, name, rc);
    return rc;
}
DWORD WINAPI GetDataEx(HANDLE h, LPCWSTR key, LPCWSTR name, LPDWORD type, LPBYTE data, DWORD cb, LPDWORD needed) {
    const DWORD rc = g_getDataEx(h, key, name, type, data, cb, needed);
    CountRead(key, name, rc);
    return rc;
}
DWORD WINAPI SetData(HANDLE h, LPWSTR name, DWORD type, LPBYTE data, DWORD cb) {
    Count(&DataCalls::writes, nullptr, name);
    return g_setData(h, name, type, data, cb);
}
DWORD WINAPI SetDataEx(HANDLE h, LPCWSTR key, LPCWSTR name, DWORD type, LPBYTE data, DWORD cb) {
    Count(&DataCalls::writes, key, name);
    return g_setDataEx(h, key, name, type, data, cb);
}
DWORD WINAPI DeleteData(HANDLE h, LPWSTR name) {
    Count(&DataCalls::writes, nullptr, name);
    return g_deleteData(h, name);
}
DWORD WINAPI DeleteDataEx(HANDLE h, LPCWSTR key, LPCWSTR name) {
    Count(&DataCalls::writes, key, name);
    return g_deleteDataEx(h, key, name);
}
DWORD WINAPI DeleteKey(HANDLE h, LPCWSTR key) {
    Count(&DataCalls::writes, key, L"*");
    return g_deleteKey(h, key);
}
DWORD WINAPI EnumDataEx(HANDLE h, LPCWSTR key, LPBYTE data, DWORD cb, LPDWORD needed, LPDWORD count) {
    Count(&DataCalls::enumerations);
    return g_enumDataEx(h, key, data, cb, needed, count);
}
DWORD WINAPI EnumKey(HANDLE h, LPCWSTR key, LPWSTR subkeys, DWORD cb, LPDWORD needed) {
    Count(&DataCalls::enumerations);
    return g_enumKey(h, key, subkeys, cb, needed);
}

BOOL WINAPI GetDriver(HANDLE h, LPWSTR env, DWORD level, LPBYTE data, DWORD cb, LPDWORD needed) {
    const BOOL ok = g_getDriver(h, env, level, data, cb, needed);
    if (ok && data) Count(&DataCalls::driverRecords);
    return ok;
}
BOOL WINAPI GetPrinter(HANDLE h, DWORD level, LPBYTE data, DWORD cb, LPDWORD needed) {
    const BOOL ok = g_getPrinter(h, level, data, cb, needed);
    if (ok && data) Count(&DataCalls::printerRecords);
    return ok;
}

// A jump to `to` in a page the export table can reach (within 4 GB above the module).
void* JumpNear(BYTE* base, size_t imageSize, void* to) {
    for (uintptr_t at = (reinterpret_cast<uintptr_t>(base) + imageSize + 0xFFFF) & ~uintptr_t(0xFFFF);
         at < reinterpret_cast<uintptr_t>(base) + 0xF0000000u; at += 0x10000) {
        auto* page = static_cast<BYTE*>(VirtualAlloc(reinterpret_cast<void*>(at), 4096, MEM_RESERVE | MEM_COMMIT,
                                                     PAGE_EXECUTE_READWRITE));
        if (!page) continue;
        page[0] = 0x48, page[1] = 0xB8;  // mov rax, to; jmp rax
        std::memcpy(page + 2, &to, sizeof to);
        page[10] = 0xFF, page[11] = 0xE0;
        return page;
    }
    return nullptr;
}

// Points the spooler's export of `name` at `counting`, keeping the original in `original`.
template <typename Fn>
bool Redirect(HMODULE module, const char* name, Fn& original, Fn counting) {
    auto* base = reinterpret_cast<BYTE*>(module);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    const auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
    const auto* names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    const auto* ordinals = reinterpret_cast<const WORD*>(base + exports->AddressOfNameOrdinals);
    auto* functions = reinterpret_cast<DWORD*>(base + exports->AddressOfFunctions);
    for (DWORD i = 0; i < exports->NumberOfNames; ++i) {
        if (std::strcmp(reinterpret_cast<const char*>(base + names[i]), name) != 0) continue;
        DWORD* slot = &functions[ordinals[i]];
        original = reinterpret_cast<Fn>(base + *slot);
        void* jump = JumpNear(base, nt->OptionalHeader.SizeOfImage, reinterpret_cast<void*>(counting));
        DWORD protect = 0;
        if (!jump || !VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protect)) return false;
        *slot = static_cast<DWORD>(static_cast<BYTE*>(jump) - base);
        VirtualProtect(slot, sizeof *slot, protect, &protect);
        return true;
    }
    return false;
}

// Each entry the spooler exports is counted (Wine's lacks some removals).
bool CountDataCalls() {
    static const bool counting = [] {
        InitializeCriticalSection(&g_lock);
        HMODULE spooler = LoadLibraryW(L"winspool.drv");
        if (!spooler) return false;
        Redirect(spooler, "SetPrinterDataW", g_setData, &SetData);
        Redirect(spooler, "SetPrinterDataExW", g_setDataEx, &SetDataEx);
        Redirect(spooler, "DeletePrinterDataW", g_deleteData, &DeleteData);
        Redirect(spooler, "DeletePrinterDataExW", g_deleteDataEx, &DeleteDataEx);
        Redirect(spooler, "DeletePrinterKeyW", g_deleteKey, &DeleteKey);
        Redirect(spooler, "EnumPrinterDataExW", g_enumDataEx, &EnumDataEx);
        Redirect(spooler, "EnumPrinterKeyW", g_enumKey, &EnumKey);
        Redirect(spooler, "GetPrinterDriverW", g_getDriver, &GetDriver);
        Redirect(spooler, "GetPrinterW", g_getPrinter, &GetPrinter);
        return Redirect(spooler, "GetPrinterDataW", g_getData, &GetData) &&
               Redirect(spooler, "GetPrinterDataExW", g_getDataEx, &GetDataEx);
    }();
    return counting;
}

// ---- the printers
struct Sample {
    const char* what;
    const wchar_t* model;  // below the program's folder
};
const Sample kSamples[] = {
    {"desk", L"\\samples\\zqdesk\\zqdesk.zqm"},
    {"wide", L"\\samples\\zqroll\\zqwide.zqm"},
    {"roll", L"\\samples\\zqroll\\zqroll.zqm"},
    {"simplified desk", L"\\samples\\zqdesk\\zqdesksimple.zqm"},
};

// The model without its plug-in, beside it and under a name of its own; its path below the folder.
std::wstring WriteCoreTwin(const wchar_t* model) {
    const std::string text = ReadFile(ExeDir() + model);
    if (text.empty()) return L"";
    std::string out;
    bool named = false;
    for (size_t at = 0; at < text.size();) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size() - 1;
        std::string line = text.substr(at, end - at + 1);
        at = end + 1;
        if (line.rfind("PlugIn=", 0) == 0) continue;
        if (!named && line.rfind("Name=", 0) == 0) {
            line = line.substr(0, line.find_last_not_of("\r\n") + 1) + " Core Twin\n";
            named = true;
        }
        out += line;
    }
    std::wstring twin(model);
    twin.insert(twin.size() - 4, L"-twin");
    return WriteFile(ExeDir() + twin, out) ? twin : L"";
}

struct Installed {
    std::wstring name;
    HANDLE h = nullptr;
    std::vector<BYTE> devmode;
};

bool Install(const std::wstring& model, Installed& p) {
    ZQInstallResult result;
    if (model.empty() || !ZQInstallPrinter(ExeDir() + model, ExeDir(), L"", result)) {
        std::fwprintf(stderr, L"cannot install %ls: %ls\n", model.c_str(), result.error.c_str());
        return false;
    }
    p.name = result.printerName;
    if (!OpenPrinterW(const_cast<LPWSTR>(p.name.c_str()), &p.h, nullptr)) return false;
    p.devmode = ZQQueryDevmode(p.h, p.name);
    return !p.devmode.empty();
}

double OpenOnce(const Installed& p, double* firstPaint = nullptr, bool everyPage = false) {
    return OpenUntilIdle(p.h, p.name, p.devmode.data(), nullptr, firstPaint, everyPage);
}

void ReportDataCalls(const char* what, const DataCalls& calls) {
    int twice = 0;
    std::wstring most;
    int mostReads = 0;
    for (const auto& [value, n] : calls.perValue) {
        if (n > 1) ++twice;
        if (n > mostReads) mostReads = n, most = value;
    }
    std::printf("%-44s %4ld reads, %3ld enumerations, %3ld writes; %d values read more than once", what, calls.reads,
                calls.enumerations, calls.writes, twice);
    if (mostReads > 1) std::printf(" (most: %ls, %d times)", most.c_str(), mostReads);
    std::printf("; %ld driver-record and %ld printer-record reads\n", calls.driverRecords, calls.printerRecords);
    if (!g_listValues) return;
    for (const auto& [value, n] : calls.perValue)
        if (n > 1) std::printf("    read %d times: %ls\n", n, value.c_str());
    for (const auto& [value, n] : calls.written) std::printf("    written %d times: %ls\n", n, value.c_str());
}

DataCalls CallsOf(const Installed& p) {
    EnterCriticalSection(&g_lock);
    g_calls = DataCalls();
    LeaveCriticalSection(&g_lock);
    OpenOnce(p);
    EnterCriticalSection(&g_lock);
    DataCalls calls = g_calls;
    LeaveCriticalSection(&g_lock);
    return calls;
}

}  // namespace

void StartCountingDataCalls() {
    if (!CountDataCalls()) std::fprintf(stderr, "printer-data calls are not counted\n");
}

int RunOpen(int reps, bool listValues) {
    g_listValues = listValues;
    std::printf("-- open: Printing Preferences against the same core driver without the plug-in\n");
    for (const Sample& s : kSamples) {
        Installed plugin, core;
        if (!Install(s.model, plugin) || !Install(WriteCoreTwin(s.model), core)) continue;
        std::vector<double> withPlugin, alone, builtWith, builtAlone, everyPage;
        // In turn, so both see the same machine; the first round warms up.
        wchar_t prof[MAX_PATH] = {}, which[64] = {};
        const bool profile = GetEnvironmentVariableW(L"ZQBENCH_PROFILE", prof, MAX_PATH) &&
                             GetEnvironmentVariableW(L"ZQBENCH_PROFILE_WHICH", which, 64) &&
                             std::wstring(which) == std::wstring(s.what, s.what + std::strlen(s.what));
        // ZQBENCH_PROFILE_CORE=1 samples the core driver's opens instead.
        const bool profileCore = profile && GetEnvironmentVariableW(L"ZQBENCH_PROFILE_CORE", nullptr, 0) > 0;
        for (int i = -1; i < reps; ++i) {
            if (profileCore && i >= 0) ProfileStart();
            double cBuilt = -1, dBuilt = -1;
            const double c = OpenOnce(core, &cBuilt);
            if (profileCore) ProfileStop();
            if (profile && !profileCore && i >= 0) ProfileStart();
            const double d = OpenOnce(plugin, &dBuilt);
            if (profile) ProfileStop();
            const double e = profile ? -1 : OpenOnce(plugin, nullptr, true);
            if (i < 0 || c < 0 || d < 0 || cBuilt < 0 || dBuilt < 0) continue;
            if (e >= 0) everyPage.push_back(e);
            alone.push_back(c);
            withPlugin.push_back(d);
            builtAlone.push_back(cBuilt);
            builtWith.push_back(dBuilt);
        }
        Report(std::string(s.what) + ", core driver alone", alone);
        Report(std::string(s.what) + ", with the plug-in", withPlugin, &alone, "the core driver alone");
        // Every page made as the sheet is made, as a system that honours the premature flag makes them.
        if (!everyPage.empty())
            Report(std::string(s.what) + ", every page made at opening", everyPage, &withPlugin, "today's opening");
        // Where the difference lies: the sheet built (the drivers' work, the first page made), and
        // its painting after that.
        Report(std::string(s.what) + ", until painting, core driver alone", builtAlone);
        Report(std::string(s.what) + ", until painting, with the plug-in", builtWith, &builtAlone, "the core driver alone");
        std::vector<double> paintAlone, paintWith;
        for (size_t k = 0; k < alone.size(); ++k) {
            paintAlone.push_back(alone[k] - builtAlone[k]);
            paintWith.push_back(withPlugin[k] - builtWith[k]);
        }
        Report(std::string(s.what) + ", painting, core driver alone", paintAlone);
        Report(std::string(s.what) + ", painting, with the plug-in", paintWith, &paintAlone, "the core driver alone");
        if (g_getData) {
            ReportDataCalls((std::string(s.what) + ", printer data, core driver alone").c_str(), CallsOf(core));
            ReportDataCalls((std::string(s.what) + ", printer data, an opening").c_str(), CallsOf(plugin));
            ReportDataCalls((std::string(s.what) + ", printer data, the next opening").c_str(), CallsOf(plugin));
        }
        if (profile) ProfileWrite(prof);
        for (HANDLE h : {plugin.h, core.h}) ClosePrinter(h);
    }
    return 0;
}

int RunCheck(int reps) {
    std::printf("-- check: the open part's ratios against openings nothing watches, to agree within 0.1x\n");
    int rc = 0;
    for (const Sample& s : kSamples) {
        Installed plugin, core;
        if (!Install(s.model, plugin) || !Install(WriteCoreTwin(s.model), core)) {
            rc = 1;
            continue;
        }
        // In turn, as the open part opens them, the first round warming up.
        std::vector<double> partCore, partPlugin, bareCore, barePlugin;
        for (int i = -1; i < reps; ++i) {
            double painted = -1;
            const double c = OpenOnce(core, &painted), d = OpenOnce(plugin, &painted);
            const double bc = OpenOnce(core), bd = OpenOnce(plugin);
            if (i < 0 || c < 0 || d < 0 || bc < 0 || bd < 0) continue;
            partCore.push_back(c);
            partPlugin.push_back(d);
            bareCore.push_back(bc);
            barePlugin.push_back(bd);
        }
        for (HANDLE h : {plugin.h, core.h}) ClosePrinter(h);
        if (partCore.empty()) {
            std::printf("%-16s no run measured\n", s.what);
            rc = 1;
            continue;
        }
        const double part = Median(partPlugin) / Median(partCore), bare = Median(barePlugin) / Median(bareCore);
        const bool agree = std::fabs(part - bare) <= 0.1;
        std::printf("%-16s open part %.2fx (%.1f / %.1f ms), nothing watching %.2fx (%.1f / %.1f ms): %s\n", s.what, part,
                    Median(partPlugin) / 1000, Median(partCore) / 1000, bare, Median(barePlugin) / 1000,
                    Median(bareCore) / 1000, agree ? "agree" : "DIFFER");
        if (!agree) rc = 1;
    }
    return rc;
}

}  // namespace zqbench
