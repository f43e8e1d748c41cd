// The conversion interface as another program calls it: conversions per second of the staged form
// (ReadTicket and ConvertTicketEx) and of the one-call form (ConvertTicket), against the core
// driver's own merge of the same devmode (DocumentPropertiesW without a prompt) in the same run;
// and a soak of several threads converting at once on the desk and the roll printer, each with a
// paper of its own, that counts the conversions that failed, came back with another thread's
// paper, or hung.
#include <windows.h>
#include <winspool.h>
#include <objbase.h>

#include <atomic>
#include <cstdio>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "zqbench.h"
#include "zqcfgmgrrecord.h"
#include "zqhostapp.h"
#include "zqinstall.h"

namespace zqbench {
namespace {


// A printer of the soak: its devmode asks for the base paper, each thread asks for one of the others.
struct Paper {
    const char* keyword;
    short id;
};
const Paper kDeskPapers[] = {{"A4", 9},         {"LEGAL", 5},  {"EXECUTIVE", 7}, {"A5", 11},
                             {"ENV_10", 20},    {"ENV_DL", 27}, {"PHOTO_4X6", 257}};
const Paper kRollPapers[] = {{"ISO_A3", 8}, {"ISO_A4", 9}, {"ISO_A2", 66}, {"ANSI_D", 257}, {"ANSI_E", 258}};

struct Printer {
    std::wstring name;
    HANDLE hPrinter = nullptr;
    std::vector<BYTE> devmode;  // the printer's devmode, asking for the base paper
    short base = 0;
    const Paper* papers = nullptr;
    size_t count = 0;
};

struct Setup {
    std::wstring manager;
    HMODULE dll = nullptr;
    ZQConvertApi api{};
    Printer desk, roll;
    // The two-printer soak installs the roll printer too.
    bool bothPrinters = false;
};

bool InstallAndOpen(const wchar_t* model, short base, const Paper* papers, size_t count, Printer& p) {
    ZQInstallResult installed;
    if (!ZQInstallPrinter(ExeDir() + model, ExeDir(), L"", installed)) {
        std::fwprintf(stderr, L"cannot install %ls: %ls\n", model, installed.error.c_str());
        return false;
    }
    p.name = installed.printerName;
    if (!OpenPrinterW(const_cast<LPWSTR>(p.name.c_str()), &p.hPrinter, nullptr)) return false;
    p.devmode = ZQQueryDevmode(p.hPrinter, p.name);
    if (p.devmode.empty()) return false;
    auto* dm = reinterpret_cast<DEVMODEW*>(p.devmode.data());
    dm->dmFields |= DM_PAPERSIZE;
    dm->dmPaperSize = base;
    p.base = base;
    p.papers = papers;
    p.count = count;
    return true;
}

bool Prepare(Setup& s) {
    if (!InstallAndOpen(kDeskModel, DMPAPER_LETTER, kDeskPapers, std::size(kDeskPapers), s.desk)) return false;
    // The roll printer's base paper is its default, ISO A1.
    if (s.bothPrinters && !InstallAndOpen(kRollModel, 260, kRollPapers, std::size(kRollPapers), s.roll)) return false;
    s.manager = ExeDir() + L"\\zqcfgmgr.dll";
    // The configuration manager stand-in keeps no call log here: its log is the tests' business.
    const DWORD quiet = 1;
    RegSetKeyValueW(HKEY_CURRENT_USER, kZQCfgMgrRecordKey, L"Quiet", REG_DWORD, &quiet, sizeof quiet);
    s.dll = LoadLibraryW((ExeDir() + L"\\zqoemui.dll").c_str());
    if (!s.dll || !ZQLoadConvertApi(s.dll, s.api)) {
        std::fprintf(stderr, "cannot load the conversion interface\n");
        return false;
    }
    return true;
}

void Finish(Setup& s) {
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kZQCfgMgrRecordKey, L"Quiet");
    for (Printer* p : {&s.desk, &s.roll})
        if (p->hPrinter) ClosePrinter(p->hPrinter);
    // The interface's module stays loaded: the printer's driver may still hold it.
}

std::wstring TicketFor(const Paper& paper, int slot) {
    const std::wstring path = ExeDir() + L"\\bench-" + std::to_wstring(slot) + L".tkt";
    WriteFile(path, std::string("Printing/PaperSize=") + paper.keyword + "\nPrinting/Duplex=LongEdge\n");
    return path;
}

DEVMODEW* Dm(std::vector<BYTE>& bytes) { return reinterpret_cast<DEVMODEW*>(bytes.data()); }

void MeasureSpeed(Setup& s, int reps) {
    const std::wstring ticket = TicketFor(kDeskPapers[0], 0);
    const int inner = 10;
    Printer& desk = s.desk;
    LPWSTR name = const_cast<LPWSTR>(desk.name.c_str());
    std::vector<BYTE> out(desk.devmode.size());
    auto merges = Time(reps, 1, [&] {
        const double t0 = NowUs();
        for (int i = 0; i < inner; ++i)
            DocumentPropertiesW(nullptr, desk.hPrinter, name, Dm(out), Dm(desk.devmode), DM_IN_BUFFER | DM_OUT_BUFFER);
        return (NowUs() - t0) / inner;
    });
    GUID run = GUID_NULL;
    if (s.api.initialize(desk.name.c_str(), s.manager.c_str(), &run) != 0) {
        std::fprintf(stderr, "InitializeConvertAPI failed\n");
        return;
    }
    int failed = 0;
    auto staged = Time(reps, 1, [&] {
        const double t0 = NowUs();
        for (int i = 0; i < inner; ++i) {
            out = desk.devmode;
            if (s.api.readTicket(1, ticket.c_str(), run) || s.api.convertTicketEx(Dm(out), run) ||
                Dm(out)->dmPaperSize != DMPAPER_A4)
                ++failed;
        }
        return (NowUs() - t0) / inner;
    });
    s.api.kill(run);
    // The driver's own share of a conversion: its sheet, confirmed at once as in a run, with no
    // ticket applied. No conversion is faster than this.
    const std::wstring key = L"Software\\Quorvane\\ZQProcID" + std::to_wstring(GetCurrentProcessId());
    RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), L"ProcessingOndrel", REG_SZ, L"TRUE", 10);
    auto sheets = Time(reps, 1, [&] {
        const double t0 = NowUs();
        for (int i = 0; i < inner; ++i) {
            out = desk.devmode;
            DocumentPropertiesW(nullptr, desk.hPrinter, name, Dm(out), Dm(out), DM_IN_BUFFER | DM_IN_PROMPT | DM_OUT_BUFFER);
        }
        return (NowUs() - t0) / inner;
    });
    RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
    auto oneCall = Time(reps, 1, [&] {
        const double t0 = NowUs();
        for (int i = 0; i < inner; ++i) {
            out = desk.devmode;
            s.api.convertTicket(desk.name.c_str(), ticket.c_str(), Dm(out), s.manager.c_str(), 1);
            if (Dm(out)->dmPaperSize != DMPAPER_A4) ++failed;
        }
        return (NowUs() - t0) / inner;
    });
    Report("driver's merge (DocumentPropertiesW, no prompt)", merges);
    Report("driver's sheet of a run, no ticket", sheets, &merges, "the driver's merge");
    Report("staged conversion (ReadTicket, ConvertTicketEx)", staged, &merges, "the driver's merge");
    Report("one-call conversion (ConvertTicket)", oneCall, &merges, "the driver's merge");
    std::printf("conversions per second: staged %.1f, one-call %.1f, driver's merge %.1f\n", 1e6 / Median(staged),
                1e6 / Median(oneCall), 1e6 / Median(merges));
    if (failed) std::printf("FAILED: %d conversions did not give the ticket's paper\n", failed);
}

// One thread of the soak: staged and one-call conversions in turn on its printer, each checked for
// its own paper; every fourth staged run writes the devmode back into a ticket of the thread's own,
// checked too.
struct Counts {
    std::atomic<long> done{0}, failed{0}, mixed{0}, finished{0};
    std::atomic<bool> stop{false};
};

void Convert(Setup& s, const Printer& p, int slot, Counts& counts, std::atomic<long>& beat) {
    const Paper& paper = p.papers[static_cast<size_t>(slot / 2) % p.count];
    const std::wstring ticket = TicketFor(paper, slot + 1);
    const std::wstring back = ExeDir() + L"\\bench-back-" + std::to_wstring(slot) + L".tkt";
    const std::string line = std::string("Printing/PaperSize=") + paper.keyword + "\r\n";
    std::vector<BYTE> dm;
    for (long round = 0; !counts.stop; ++round) {
        dm = p.devmode;
        bool ok = true;
        if (round % 2) {
            s.api.convertTicket(p.name.c_str(), ticket.c_str(), Dm(dm), s.manager.c_str(), 1);
        } else {
            GUID run = GUID_NULL;
            ok = s.api.initialize(p.name.c_str(), s.manager.c_str(), &run) == 0 &&
                 s.api.readTicket(1, ticket.c_str(), run) == 0 && s.api.convertTicketEx(Dm(dm), run) == 0;
            if (ok && round % 8 == 0) {
                DeleteFileW(back.c_str());
                if (s.api.convertDevModeEx(back.c_str(), Dm(dm), run) != 0) ++counts.failed;
                else if (ReadFile(back).find(line) == std::string::npos) ++counts.mixed;
            }
            ok = s.api.kill(run) == 0 && ok;
        }
        const short got = Dm(dm)->dmPaperSize;
        if (!ok || got == p.base) ++counts.failed;
        else if (got != paper.id) ++counts.mixed;
        ++counts.done;
        ++beat;
    }
    // Done: no longer watched.
    beat = -1;
    ++counts.finished;
}

// Threads take the desk and the roll printer in turn.
int Soak(Setup& s, int threads, int seconds) {
    std::printf("-- soak: %d threads converting on two printers for %d s\n", threads, seconds);
    Counts counts;
    std::vector<std::atomic<long>> beats(static_cast<size_t>(threads));
    std::vector<std::thread> pool;
    for (int i = 0; i < threads; ++i)
        pool.emplace_back(Convert, std::ref(s), std::cref(i % 2 ? s.roll : s.desk), i, std::ref(counts),
                          std::ref(beats[static_cast<size_t>(i)]));
    // A thread that makes no progress for 30 s is taken as hung, also while the threads finish.
    std::vector<long> last(static_cast<size_t>(threads), -1);
    std::vector<double> since(static_cast<size_t>(threads), NowUs());
    bool hung = false;
    const double t0 = NowUs();
    double elapsed = 0;
    while (!hung && counts.finished < threads) {
        Sleep(500);
        if (!counts.stop && NowUs() - t0 >= seconds * 1e6) {
            elapsed = (NowUs() - t0) / 1e6;
            counts.stop = true;
        }
        for (size_t i = 0; i < last.size(); ++i) {
            if (beats[i] != last[i]) last[i] = beats[i], since[i] = NowUs();
            else if (beats[i] >= 0 && NowUs() - since[i] > 30e6) hung = true;
        }
    }
    counts.stop = true;
    if (elapsed == 0) elapsed = (NowUs() - t0) / 1e6;
    std::printf("conversions %ld (%.1f per second), failed %ld, another thread's paper %ld%s\n", counts.done.load(),
                counts.done / elapsed, counts.failed.load(), counts.mixed.load(), hung ? ", a thread HUNG" : "");
    std::fflush(stdout);
    // A hung thread cannot be joined: the process ends with it.
    if (hung) ExitProcess(3);
    for (std::thread& t : pool) t.join();
    return counts.failed || counts.mixed ? 1 : 0;
}

}  // namespace

int RunConvert(int reps, int threads, int seconds) {
    Setup s;
    s.bothPrinters = threads > 0;
    if (!Prepare(s)) return 1;
    int rc = 0;
    if (threads > 0) {
        rc = Soak(s, threads, seconds);
    } else {
        std::printf("-- convert: conversions per second against the driver's own merge\n");
        MeasureSpeed(s, reps);
    }
    Finish(s);
    return rc;
}

}  // namespace zqbench
