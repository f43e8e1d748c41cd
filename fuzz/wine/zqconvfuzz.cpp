// The conversion interface under load and faults, as other programs call it: zqoemui.dll on the desk
// sample printer under the core driver stand-in, driven by several threads at once with random
// tickets (known and unknown items, odd values, deep or broken lines, no file at all), random
// devmodes (changed public fields, scribbled or cleared private parts, a part shorter than the
// driver's) and random calls (staged, one-call, both directions, GUIDs never handed out, null
// arguments); then each store of a run refused in turn (the run's key, each snapshot key, the
// printer's data). A finding is a crash, a hang, a code no export documents, a plain conversion
// that came back with another paper or another thread's, a refused run that answered success or
// left anything behind, or printer export switches that differ from those before.
//   zqconvfuzz <inputs> <threads> [first seed]
#include <windows.h>
#include <objbase.h>
#include <sddl.h>
#include <winspool.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "zqcfgmgrrecord.h"
#include "zqhostapp.h"
#include "zqinstall.h"
#include "zqwinefault.h"

namespace {

constexpr wchar_t kMakerKey[] = L"Software\\Quorvane";
constexpr wchar_t kRunPrefix[] = L"ZQProcID";
// Papers of the desk printer with their devmode numbers.
const struct {
    const char* keyword;
    short id;
} kPapers[] = {{"A4", 9}, {"LEGAL", 5}, {"EXECUTIVE", 7}, {"A5", 11}, {"ENV_10", 20}, {"ENV_DL", 27}};
const char* const kNames[] = {"PaperSize", "Duplex",     "MediaType",   "InputBin",  "Orientation", "Watermarks",
                              "WMFont",    "PrintQuality", "NUpChoice", "ColorMode", "BookletPrintingChoice",
                              "ScaleChoice", "ZQChromix", "Memory",      "]@[",       "Nonsense"};
const char* const kValues[] = {"A4", "LETTER", "LongEdge", "ShortEdge", "None", "TRUE", "0", "-1", "Draft",
                               "PHOTO_GLOSSY", "TRAY2", "64MB", ""};

struct Shared {
    std::wstring dir, printer, manager;
    ZQConvertApi api{};
    std::vector<BYTE> devmode;  // the driver's own, on Letter
    std::atomic<long> done{0};
    std::atomic<long> findings{0};
    std::atomic<long> checked{0};  // plain conversions whose paper was checked
};

std::wstring ExeDir() {
    WCHAR path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring s(path);
    return s.substr(0, s.find_last_of(L"\\/"));
}

bool WriteText(const std::wstring& path, const std::string& text) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                    written == text.size();
    CloseHandle(file);
    return ok;
}

std::string ReadText(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string text(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    if (!ReadFile(file, text.data(), static_cast<DWORD>(text.size()), &read, nullptr)) text.clear();
    CloseHandle(file);
    return text;
}

void Finding(Shared& s, unsigned seed, const char* what, long detail = 0) {
    std::printf("FINDING seed %u: %s (%ld)\n", seed, what, detail);
    std::fflush(stdout);
    ++s.findings;
}

DEVMODEW* Dm(std::vector<BYTE>& bytes) { return reinterpret_cast<DEVMODEW*>(bytes.data()); }

// A random ticket; `paper` >= 0: a plain one that asks for that paper alone.
std::string RandomTicket(std::mt19937& rng, int paper) {
    if (paper >= 0) return std::string("Printing/PaperSize=") + kPapers[paper].keyword + "\n";
    auto pick = [&](size_t n) { return static_cast<size_t>(rng() % n); };
    std::string text;
    const size_t lines = pick(14);
    for (size_t i = 0; i < lines; ++i) {
        const char* roots[] = {"Printing", "Physical", "Other"};
        std::string line = roots[pick(3)];
        for (size_t depth = pick(5); depth > 0; --depth) line += "/Group" + std::to_string(pick(3));
        line += std::string("/") + kNames[pick(sizeof kNames / sizeof kNames[0])];
        switch (pick(8)) {
            case 0: line += "=" + std::string(300 + pick(200), 'W'); break;
            case 1: break;  // no value at all
            case 2: line += "=\xC3\xA9\xE2\x82\xAC"; break;
            case 3: line += "=" + std::to_string(static_cast<int>(rng())); break;
            default: line += std::string("=") + kValues[pick(sizeof kValues / sizeof kValues[0])]; break;
        }
        text += line + (pick(10) ? "\n" : "\r\n");
    }
    if (!pick(12)) text += std::string(1 + pick(40), static_cast<char>(rng()));
    return text;
}

// A random change of the driver's devmode, or none.
void Mutate(std::mt19937& rng, std::vector<BYTE>& dm) {
    DEVMODEW* pub = Dm(dm);
    const size_t extra = pub->dmDriverExtra;
    switch (rng() % 6) {
        case 0: pub->dmPaperSize = static_cast<short>(rng()); pub->dmFields |= DM_PAPERSIZE; break;
        case 1:
            for (int i = 0; i < 16; ++i) dm[pub->dmSize + rng() % extra] = static_cast<BYTE>(rng());
            break;
        case 2: std::fill(dm.begin() + pub->dmSize, dm.end(), 0); break;
        case 3: pub->dmDriverExtra = static_cast<WORD>(rng() % extra); break;
        default: break;
    }
}

// One input: a random road through the exports with its own seed.
void RunInput(Shared& s, unsigned seed, int thread) {
    std::mt19937 rng(seed);
    const ZQConvertApi& api = s.api;
    const int paper = rng() % 3 == 0 ? static_cast<int>(rng() % (sizeof kPapers / sizeof kPapers[0])) : -1;
    const std::wstring ticket = s.dir + L"\\fuzz-in-" + std::to_wstring(thread) + L".tkt";
    const std::wstring out = s.dir + L"\\fuzz-out-" + std::to_wstring(thread) + L".tkt";
    if (rng() % 20) WriteText(ticket, RandomTicket(rng, paper));
    else DeleteFileW(ticket.c_str());
    // A plain input (a ticket of one paper, the driver's own devmode) has a known outcome.
    std::vector<BYTE> dm = s.devmode;
    if (paper < 0) Mutate(rng, dm);
    const bool checked = paper >= 0 && GetFileAttributesW(ticket.c_str()) != INVALID_FILE_ATTRIBUTES;
    auto expect = [&](const char* what, DWORD code, std::initializer_list<DWORD> allowed) {
        for (DWORD a : allowed)
            if (code == a) return;
        Finding(s, seed, what, static_cast<long>(code));
    };
    switch (rng() % 4) {
        case 0: {
            GUID run = GUID_NULL;
            const DWORD init = api.initialize(s.printer.c_str(), s.manager.c_str(), &run);
            expect("InitializeConvertAPI", init, {0});
            const DWORD read = api.readTicket(1, ticket.c_str(), run);
            expect("ReadTicket", read, {0, 5});
            const DWORD convert = api.convertTicketEx(Dm(dm), run);
            expect("ConvertTicketEx", convert, {0, 12, 13, 14});
            s.checked += checked;
            if (checked && (read || convert || Dm(dm)->dmPaperSize != kPapers[paper].id))
                Finding(s, seed, "a plain staged conversion without the ticket's paper", Dm(dm)->dmPaperSize);
            if (rng() % 2) {
                DeleteFileW(out.c_str());
                const DWORD back = api.convertDevModeEx(out.c_str(), Dm(dm), run);
                expect("ConvertDevModeEx", back, {0, 12, 13, 14});
                if (checked && (back || ReadText(out).find(std::string("Printing/PaperSize=") + kPapers[paper].keyword +
                                                         "\r\n") == std::string::npos))
                    Finding(s, seed, "a plain ticket written without the devmode's paper", static_cast<long>(back));
            }
            expect("KillConvertAPI", api.kill(run), {0});
            // An ended run's GUID is taken up afresh, and ended again.
            expect("KillConvertAPI once more", api.kill(run), {0});
            break;
        }
        case 1:
            api.convertTicket(s.printer.c_str(), ticket.c_str(), Dm(dm), s.manager.c_str(), 1);
            s.checked += checked;
            if (checked && Dm(dm)->dmPaperSize != kPapers[paper].id)
                Finding(s, seed, "a plain one-call conversion without the ticket's paper", Dm(dm)->dmPaperSize);
            break;
        case 2:
            api.convertDevmode(s.printer.c_str(), out.c_str(), Dm(dm), s.manager.c_str(), 1);
            break;
        default: {
            GUID foreign = GUID_NULL;
            CoCreateGuid(&foreign);
            // Only GUID_NULL is refused: any other GUID names a run of its own.
            expect("ReadTicket of GUID_NULL", api.readTicket(1, ticket.c_str(), GUID_NULL), {9});
            expect("ReadTicket of a foreign GUID", api.readTicket(1, ticket.c_str(), foreign), {0, 5});
            expect("ConvertTicketEx of a foreign GUID", api.convertTicketEx(Dm(dm), foreign), {0, 12, 13, 14});
            expect("ConvertDevModeEx of a foreign GUID", api.convertDevModeEx(out.c_str(), Dm(dm), foreign),
                   {0, 12, 13, 14});
            expect("KillConvertAPI of a foreign GUID", api.kill(foreign), {0});
            expect("ConvertTicketEx without a devmode", api.convertTicketEx(nullptr, foreign), {10});
            GUID run = GUID_NULL;
            expect("InitializeConvertAPI", api.initialize(s.printer.c_str(), s.manager.c_str(), &run), {0});
            expect("ReadTicket without a ticket", api.readTicket(1, nullptr, run), {5});
            expect("InitializeConvertAPI without a GUID", api.initialize(s.printer.c_str(), s.manager.c_str(), nullptr),
                   {2});
            api.convertTicket(nullptr, ticket.c_str(), Dm(dm), s.manager.c_str(), 1);
            api.convertDevmode(s.printer.c_str(), nullptr, Dm(dm), s.manager.c_str(), 1);
            expect("KillConvertAPI", api.kill(run), {0});
            break;
        }
    }
}

// ---- the stores a run uses, refused one at a time

// The printer's export switches and their record as the spooler's registry holds them.
std::wstring PrinterDataKey(const Shared& s) {
    return L"System\\CurrentControlSet\\Control\\Print\\Printers\\" + s.printer + L"\\PrinterDriverData";
}

// What the printer's export switches ask for: a switch of 0, and a ticket place or a record of no
// more than one byte, ask for nothing (they are what a spooler that cannot delete is left with).
std::wstring Switches(const Shared& s) {
    std::wstring text;
    for (const wchar_t* name : {L"AlwaysExport", L"ExportTicketLocation", L"OndrelExportRecord"}) {
        BYTE data[2048] = {};
        DWORD cb = sizeof data, type = 0;
        if (RegGetValueW(HKEY_LOCAL_MACHINE, PrinterDataKey(s).c_str(), name, RRF_RT_ANY, &type, data, &cb) !=
                ERROR_SUCCESS ||
            cb <= 1 || (type == REG_DWORD && cb == 4 && !data[0] && !data[1] && !data[2] && !data[3]))
            continue;
        text += std::wstring(name) + L"=" + std::to_wstring(type) + L":" + std::to_wstring(cb) + L" ";
    }
    return text;
}

// The run keys of this user that are left.
std::vector<std::wstring> RunKeys() {
    std::vector<std::wstring> keys;
    HKEY maker = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kMakerKey, 0, KEY_READ, &maker) != ERROR_SUCCESS) return keys;
    WCHAR name[128];
    for (DWORD i = 0;; ++i) {
        DWORD cch = 128;
        if (RegEnumKeyExW(maker, i, name, &cch, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        if (_wcsnicmp(name, kRunPrefix, wcslen(kRunPrefix)) == 0) keys.push_back(name);
    }
    RegCloseKey(maker);
    return keys;
}

// Makes a key nobody may write to; pinned, it holds a subkey so it cannot be deleted either.
bool Protect(HKEY root, const std::wstring& key, bool pinned, const wchar_t* sddl = L"D:(A;;KR;;;WD)") {
    HKEY h = nullptr;
    if (pinned && RegCreateKeyExW(root, (key + L"\\Pinned").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h,
                                  nullptr) == ERROR_SUCCESS)
        RegCloseKey(h);
    PSECURITY_DESCRIPTOR sd = nullptr;
    // The owner may always change who may write, also to a key it protected before.
    bool done = RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, WRITE_DAC, nullptr, &h, nullptr) == ERROR_SUCCESS;
    done = done && ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &sd, nullptr) &&
           RegSetKeySecurity(h, DACL_SECURITY_INFORMATION, sd) == ERROR_SUCCESS;
    if (sd) LocalFree(sd);
    if (h) RegCloseKey(h);
    return done;
}

void Faults(Shared& s) {
    const ZQConvertApi& api = s.api;
    const std::wstring ticket = s.dir + L"\\fuzz-faults.tkt", out = s.dir + L"\\fuzz-faults-out.tkt";
    WriteText(ticket, "Printing/PaperSize=A4\nPrinting/DuplexEdge=LongEdge\nPhysical/Memory=64MB\n");
    const std::wstring before = Switches(s);
    unsigned trial = 0;
    // The run's key and each snapshot key refused: the ticket is not read, nothing converts.
    for (const wchar_t* sub : {L"", L"\\OndrelDriverData\\Printing\\OptItems", L"\\OndrelDriverData\\Printing\\DevModeItems",
                               L"\\OndrelDriverData\\Physical"}) {
        ++trial;
        GUID run = GUID_NULL;
        WCHAR id[64];
        if (api.initialize(s.printer.c_str(), s.manager.c_str(), &run) || !StringFromGUID2(run, id, 64)) {
            Finding(s, trial, "a run for the store faults");
            continue;
        }
        const std::wstring key = std::wstring(kMakerKey) + L"\\" + kRunPrefix + id;
        if (!Protect(HKEY_CURRENT_USER, key + sub, *sub != 0)) Finding(s, trial, "a protected key");
        std::vector<BYTE> dm = s.devmode;
        if (api.readTicket(1, ticket.c_str(), run) != 5) Finding(s, trial, "a run key refused, yet the ticket read");
        if (api.convertTicketEx(Dm(dm), run) != 14 || dm != s.devmode)
            Finding(s, trial, "a refused read, yet a conversion");
        api.kill(run);
        WCHAR flag[16] = {};
        DWORD cb = sizeof flag;
        if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), L"ProcessingOndrel", RRF_RT_REG_SZ, nullptr, flag, &cb) ==
            ERROR_SUCCESS)
            Finding(s, trial, "a refused run's flag left behind");
        Protect(HKEY_CURRENT_USER, key + sub, false, L"D:(A;;KA;;;WD)");
        RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
    }
    // The printer's data refused: a devmode-to-ticket run sets no switch, writes no ticket, answers
    // no success, in either form.
    ++trial;
    if (!Protect(HKEY_LOCAL_MACHINE, PrinterDataKey(s), false, L"D:(A;;KR;;;WD)(A;;KA;;;SY)")) {
        Finding(s, trial, "protected printer data");
    } else {
        std::vector<BYTE> dm = s.devmode;
        DeleteFileW(out.c_str());
        GUID run = GUID_NULL;
        if (api.initialize(s.printer.c_str(), s.manager.c_str(), &run) != 0) Finding(s, trial, "a run");
        if (api.convertDevModeEx(out.c_str(), Dm(dm), run) != 14) Finding(s, trial, "switches refused, yet success");
        api.kill(run);
        api.convertDevmode(s.printer.c_str(), out.c_str(), Dm(dm), s.manager.c_str(), 1);
        if (GetFileAttributesW(out.c_str()) != INVALID_FILE_ATTRIBUTES) Finding(s, trial, "a ticket without switches");
        Protect(HKEY_LOCAL_MACHINE, PrinterDataKey(s), false, L"D:(A;;KA;;;WD)");
    }
    if (Switches(s) != before) Finding(s, trial, "the export switches changed by refused runs");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    SetUnhandledExceptionFilter(&ZQFuzzFault);
    if (argc < 3) {
        std::fprintf(stderr, "usage: zqconvfuzz <inputs> <threads> [first seed]\n");
        return 2;
    }
    const long inputs = _wtol(argv[1]);
    const int threads = std::max(1, _wtoi(argv[2]));
    const unsigned first = argc > 3 ? static_cast<unsigned>(_wtol(argv[3])) : 1;
    Shared s;
    s.dir = ExeDir();
    // A printer of the load's own, installed afresh: what the prefix's tests left on the sample
    // printers (an install keeps an installed printer's settings) is not a plain input's outcome.
    const std::wstring name = L"ZQ Conversion Load";
    PRINTER_DEFAULTSW all = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE old = nullptr;
    if (OpenPrinterW(const_cast<LPWSTR>(name.c_str()), &old, &all)) {
        DeletePrinter(old);
        ClosePrinter(old);
    }
    ZQInstallResult installed;
    if (!ZQInstallPrinter(s.dir + L"\\samples\\zqdesk\\zqdesk.zqm", s.dir, name, installed)) {
        std::fwprintf(stderr, L"cannot install the desk printer: %ls\n", installed.error.c_str());
        return 2;
    }
    s.printer = installed.printerName;
    s.manager = s.dir + L"\\zqcfgmgr.dll";
    const HMODULE dll = LoadLibraryW((s.dir + L"\\zqoemui.dll").c_str());
    HANDLE hPrinter = nullptr;
    if (!dll || !ZQLoadConvertApi(dll, s.api) || !OpenPrinterW(const_cast<LPWSTR>(s.printer.c_str()), &hPrinter, nullptr))
        return 2;
    s.devmode = ZQQueryDevmode(hPrinter, s.printer);
    ClosePrinter(hPrinter);
    if (s.devmode.empty()) return 2;
    // The stand-in's call log is the tests' business, not a load's.
    const DWORD quiet = 1;
    RegSetKeyValueW(HKEY_CURRENT_USER, kZQCfgMgrRecordKey, L"Quiet", REG_DWORD, &quiet, sizeof quiet);
    const std::wstring before = Switches(s);
    // Keys of runs that ended before this one (a process that was killed) are not this load's.
    const std::vector<std::wstring> earlier = RunKeys();

    std::vector<std::thread> pool;
    std::atomic<long> next{0};
    for (int t = 0; t < threads; ++t)
        pool.emplace_back([&, t] {
            for (long i; (i = next++) < inputs; ++s.done) {
                if (i % 50 == 0) std::printf("input %ld\r", i);
                RunInput(s, first + static_cast<unsigned>(i), t);
            }
        });
    // No input finished for a minute: a thread waits for something that will not come.
    long seen = -1;
    DWORD since = GetTickCount();
    while (s.done < inputs) {
        Sleep(200);
        if (s.done != seen) seen = s.done, since = GetTickCount();
        if (GetTickCount() - since > 60000) {
            std::printf("FINDING: no input finished for a minute after %ld of %ld (seeds from %u)\n", seen, inputs, first);
            std::fflush(stdout);
            ExitProcess(3);
        }
    }
    for (std::thread& t : pool) t.join();
    if (Switches(s) != before) {
        Finding(s, 0, "the printer's export switches changed by the load");
        std::printf("  before: %ls\n  after:  %ls\n", before.c_str(), Switches(s).c_str());
    }
    for (const std::wstring& key : RunKeys()) {
        if (std::find(earlier.begin(), earlier.end(), key) != earlier.end()) continue;
        Finding(s, 0, "a run key left by the load");
        std::printf("  %ls\n", key.c_str());
    }

    Faults(s);
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kZQCfgMgrRecordKey, L"Quiet");
    std::printf("conversions: %ld inputs on %d threads (%ld plain ones checked), %ld findings\n", inputs, threads,
                s.checked.load(), s.findings.load());
    return s.findings ? 1 : 0;
}
