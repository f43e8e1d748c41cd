// The pages' side of the benchmarks, as a user feels the sheet: the open until the first page is
// painted, a tab switch until the plug-in's page is painted, a page's refresh after one choice, each
// against the core driver's own sheet, page or choice in the same run; and the core driver's calls
// an opening and a choice cost (device capabilities, settings read and reported).
#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <psapi.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include "zqbench.h"
#include "zqhostapp.h"
#include "zqcorecalls.h"

namespace zqbench {
namespace {

constexpr wchar_t kCorePage[] = L"Document Options";

// The plug-in's pages measured, each on the printer that shows it, with a choice that refreshes it
// (a list's label and two of its entries, chosen in turn). A new page adds its row.
struct PageRow {
    bool roll;  // on the roll printer, else the desk printer
    const wchar_t* title;
    int32_t titleId;  // the title's string id, as the private devmode keeps the page left last
    const wchar_t* label;
    const wchar_t* entries[2];
};
const PageRow kPages[] = {
    {false, L"Paper/Quality", 832, L"Source is", {L"Tray 2", L"Automatically Select"}},
    // Rotated by 180 degrees; a watermark, which the sample page draws.
    {false, L"Finishing", 813, L"#259", {L"on", L"off"}},
    {false, L"Effects", 812, L"#186", {L"Confidential", L"Draft"}},
    // Every open starts from Off, so the same mode is chosen in each turn.
    {false, L"Job Storage", 173, L"Proof and Hold", {L"on", L"on"}},
    {false, L"Color", 798, L"#422", {L"on", L"off"}},
    // A document type of ten features (the factory quick set, the controls, ten handlers), against one
    // option of the first type's run-time paper-type list.
    {false, L"Printing Shortcuts", 4255, L"#572", {L"Photo Printing", L"Everyday Printing"}},
    {false, L"Printing Shortcuts", 4255, L"#501", {L"Brochure Paper, Matte", L"Plain Paper"}},
    // The automatic cutter, which redraws the roll picture.
    {true, L"Features", 5198, L"#1005", {L"on", L"off"}},
};
// The core driver's own choice of the same kind on its page.
constexpr wchar_t kCoreRow[] = L"Paper Source";
const wchar_t* const kCoreEntries[2][2] = {{L"Tray 2", L"Automatically Select"}, {L"Roll 2", L"Roll 1"}};

// The printer's default devmode with the plug-in's start page set (the title id of the page the
// user left last; 0: the sheet's first page), so every open starts on the same page whatever the
// printer's default says. The plug-in's block is found by its signature; the start page lies at
// offset 5632 of it.
std::vector<BYTE> StartingOn(HANDLE hPrinter, const std::wstring& name, int32_t title) {
    std::vector<BYTE> dm = ZQQueryDevmode(hPrinter, name);
    const size_t kStartPage = 5632, kSize = 6512;
    for (size_t i = 0; i + kSize <= dm.size(); ++i) {
        if (std::memcmp(&dm[i + 4], "IUQZ", 4) != 0) continue;
        std::memcpy(&dm[i + kStartPage], &title, sizeof title);
        break;
    }
    return dm;
}

// Paints now whatever the last step left to paint, as the message loop would next.
void PaintNow(HWND sheet) { RedrawWindow(sheet, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN); }

// The sheet's page in front after a switch to the tab of that title; its time until painted and,
// when the switch made the page, until its WM_INITDIALOG returned.
struct Switch {
    double painted = -1;
    double made = -1;  // until WM_INITDIALOG came
    double init = -1;  // until it returned
};
Switch SwitchTo(HWND sheet, const wchar_t* title) {
    // A page made by the switch is seen getting its WM_INITDIALOG through the dialogs' watch.
    DialogWatch watch;
    watch.sheet = sheet;
    const double t0 = NowUs();
    Switch s;
    const bool shown = ZQShowPage(sheet, title);
    if (shown) PaintNow(sheet);
    const double t1 = NowUs();
    if (!shown) return s;
    s.painted = t1 - t0;
    if (watch.initStart > 0) s.made = watch.initStart - t0;
    if (watch.initDone > 0) s.init = watch.initDone - t0;
    return s;
}

// One choice on the page in front, until the sheet is painted again.
double ChooseOnce(HWND sheet, bool core, const wchar_t* label, const wchar_t* entry) {
    HWND page = ZQCurrentPage(sheet);
    const double t0 = NowUs();
    const bool chosen = core ? ZQChoose(page, label, entry) : ZQChooseOnPage(page, label, entry);
    PaintNow(sheet);
    if (!chosen) {
        std::fwprintf(stderr, L"cannot choose %ls in %ls; it offers:", entry, label);
        HWND list = core ? nullptr : ZQFindPageControl(page, label);
        for (LRESULT i = 0; list && i < SendMessageW(list, CB_GETCOUNT, 0, 0); ++i) {
            wchar_t text[256] = {};
            SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            std::fwprintf(stderr, L" \"%ls\"", text);
        }
        std::fwprintf(stderr, L"\n");
    }
    return chosen ? NowUs() - t0 : -1;
}

// The core driver stand-in's call counts, from the module the spooler loads (kept loaded here, so
// its counts last).
struct CoreCounter {
    explicit CoreCounter(HANDLE hPrinter) {
        DWORD needed = 0;
        GetPrinterDriverW(hPrinter, nullptr, 3, nullptr, 0, &needed);
        std::vector<BYTE> buf(needed ? needed : 1);
        if (needed && GetPrinterDriverW(hPrinter, nullptr, 3, buf.data(), needed, &needed)) {
            const auto* di = reinterpret_cast<const DRIVER_INFO_3W*>(buf.data());
            if (di->pConfigFile) module = LoadLibraryW(di->pConfigFile);
        }
        if (module)
            get = reinterpret_cast<PFN_ZQGetCoreCallCounts>(
                reinterpret_cast<void (*)()>(GetProcAddress(module, "ZQGetCoreCallCounts")));
    }
    ~CoreCounter() {
        if (module) FreeLibrary(module);
    }
    ZQCoreCallCounts Now() const {
        ZQCoreCallCounts c = {};
        if (get) get(&c);
        return c;
    }
    HMODULE module = nullptr;
    PFN_ZQGetCoreCallCounts get = nullptr;
};

void ReportCalls(const char* what, const ZQCoreCallCounts& before, const ZQCoreCallCounts& after) {
    std::printf("%-44s %5ld device-capabilities, %5ld settings read, %4ld reported\n", what,
                after.lDeviceCapabilities - before.lDeviceCapabilities,
                after.lGetDriverSetting - before.lGetDriverSetting, after.lUpdateUISetting - before.lUpdateUISetting);
}

double OpenWith(HANDLE hPrinter, const std::wstring& name, const std::vector<BYTE>& in,
                const std::function<void(HWND)>& inside) {
    return OpenUntilIdle(hPrinter, name, in.data(), [&](void* sheet) {
        if (inside) inside(static_cast<HWND>(sheet));
    });
}

void MeasurePages(const SamplePrinters& printers, int reps) {
    const std::wstring& core = printers.core;
    const HANDLE hCore = printers.hCore;
    const CoreCounter counter(printers.hDesk);  // one core driver module serves both printers
    const std::vector<BYTE> coreDM = StartingOn(hCore, core, 0);

    for (const PageRow& row : kPages) {
        const std::wstring& printer = row.roll ? printers.roll : printers.desk;
        const HANDLE hPrinter = row.roll ? printers.hRoll : printers.hDesk;
        const std::vector<BYTE> printerDM = StartingOn(hPrinter, printer, 0);
        const std::string page = std::string(row.roll ? "roll printer's " : "") +
                                 std::string(row.title, row.title + wcslen(row.title));
        std::vector<double> openCore, openDesk, openOnPage, made, init, painted, again, back, choice, coreChoice;
        const std::vector<BYTE> onPageDM = StartingOn(hPrinter, printer, row.titleId);
        // Interleaved, so both sheets see the same machine; the first round warms up.
        for (int i = -1; i < reps; ++i) {
            const double c = OpenWith(hCore, core, coreDM, nullptr);
            const double onPage = OpenWith(hPrinter, printer, onPageDM, nullptr);
            Switch first, second, toCore;
            double chosen = -1, coreChosen = -1;
            const double d = OpenWith(hPrinter, printer, printerDM, [&](HWND sheet) {
                first = SwitchTo(sheet, row.title);
                chosen = ChooseOnce(sheet, false, row.label, row.entries[i & 1]);
                toCore = SwitchTo(sheet, kCorePage);
                coreChosen = ChooseOnce(sheet, true, kCoreRow, kCoreEntries[row.roll][i & 1]);
                second = SwitchTo(sheet, row.title);
            });
            if (i < 0) continue;
            if (c > 0) openCore.push_back(c);
            if (d > 0) openDesk.push_back(d);
            if (onPage > 0) openOnPage.push_back(onPage);
            if (first.made > 0) made.push_back(first.made);
            if (first.init > 0) init.push_back(first.init);
            if (first.painted > 0) painted.push_back(first.painted);
            if (second.painted > 0) again.push_back(second.painted);
            if (toCore.painted > 0) back.push_back(toCore.painted);
            if (chosen > 0) choice.push_back(chosen);
            if (coreChosen > 0) coreChoice.push_back(coreChosen);
        }
        Report("open to the first page painted, core alone", openCore);
        Report("open to the first page painted, plug-in", openDesk, &openCore, "the core driver alone");
        Report("open on " + page + " (left last), painted", openOnPage, &openCore, "the core driver alone");
        Report("switch to the core driver's page, painted", back);
        Report(page + ", first switch, controls made", made, &back, "the core page's switch");
        Report(page + ", first switch, WM_INITDIALOG", init, &back, "the core page's switch");
        Report(page + ", first switch, painted", painted, &back, "the core page's switch");
        Report(page + ", later switch, painted", again, &back, "the core page's switch");
        Report("a choice on the core driver's page, painted", coreChoice);
        Report(page + ", a choice, painted", choice, &coreChoice, "the core page's choice");

        // Calls per opening: without the page shown, with it shown, and one choice on it.
        ZQCoreCallCounts c0 = counter.Now();
        OpenWith(hCore, core, coreDM, nullptr);
        ZQCoreCallCounts c1 = counter.Now();
        ReportCalls("calls per opening, core alone", c0, c1);
        OpenWith(hPrinter, printer, printerDM, nullptr);
        ZQCoreCallCounts c2 = counter.Now();
        ReportCalls("calls per opening, plug-in", c1, c2);
        ZQCoreCallCounts opened = {}, shown = {}, chosen = {};
        OpenWith(hPrinter, printer, printerDM, [&](HWND sheet) {
            opened = counter.Now();
            SwitchTo(sheet, row.title);
            shown = counter.Now();
            ChooseOnce(sheet, false, row.label, row.entries[0]);
            chosen = counter.Now();
        });
        ZQCoreCallCounts c3 = counter.Now();
        ReportCalls(("calls per opening, " + page + " shown").c_str(), c2, c3);
        ReportCalls(("calls of " + page + "'s first switch").c_str(), opened, shown);
        ReportCalls(("calls of a choice on " + page).c_str(), shown, chosen);
    }
}

// `count` more core features of two options each, as model text.
std::string ExtraFeatures(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        const std::string n = std::to_string(i);
        text += "[Feature ZQBenchExtra" + n + "]\nName=Extra " + n +
                "\nDefault=ONE\nOption=ONE | One\nOption=TWO | Two\n\n";
    }
    return text;
}

// The mean time of a change of the paper source on the core driver's page, as the core driver
// stand-in times it (its commit and the plug-in's callback, without the page's refresh), over ten
// changes in one open sheet.
double ChangeCost(const CoreCounter& counter, HANDLE hPrinter, const std::wstring& name, const std::vector<BYTE>& dm) {
    constexpr int kChanges = 10;
    double perChange = -1;
    OpenWith(hPrinter, name, dm, [&](HWND sheet) {
        if (!SwitchTo(sheet, kCorePage).painted) return;
        HWND page = ZQCurrentPage(sheet);
        const ZQCoreCallCounts before = counter.Now();
        for (int i = 0; i < kChanges; ++i)
            if (!ZQChoose(page, kCoreRow, kCoreEntries[0][i & 1])) return;
        const ZQCoreCallCounts after = counter.Now();
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        const LONG changes = after.lItemChanges - before.lItemChanges;
        if (changes > 0)
            perChange = static_cast<double>(after.llItemChangeTicks - before.llItemChangeTicks) * 1e6 /
                        static_cast<double>(f.QuadPart) / changes;
    });
    return perChange;
}

// A feature change through the core driver's callback with 0, 50, 200 and 800 more core features,
// against the same change on the same model without the plug-in.
void MeasureChangeGrowth(const SamplePrinters& printers, int reps) {
    const CoreCounter counter(printers.hDesk);
    std::vector<double> atZero;
    for (int extra : {0, 50, 200, 800}) {
        const std::string n = std::to_string(extra);
        const std::wstring file = L"\\samples\\zqdesk\\zqdesk-grown" + std::to_wstring(extra), plugInFile = file + L".zqm",
                           coreFile = file + L"-core.zqm";
        std::wstring plugIn, core;
        if (!InstallDeskVariant(plugInFile.c_str(), "ZQ Desk 2400 Grown " + n, true, ExtraFeatures(extra), plugIn) ||
            !InstallDeskVariant(coreFile.c_str(), "ZQ Desk 2400 Grown " + n + " Core Only", false, ExtraFeatures(extra),
                                core))
            return;
        HANDLE hPlugIn = nullptr, hCore = nullptr;
        if (!OpenPrinterW(const_cast<LPWSTR>(plugIn.c_str()), &hPlugIn, nullptr) ||
            !OpenPrinterW(const_cast<LPWSTR>(core.c_str()), &hCore, nullptr)) {
            if (hPlugIn) ClosePrinter(hPlugIn);
            std::fprintf(stderr, "cannot open the grown printers\n");
            return;
        }
        const std::vector<BYTE> plugInDM = StartingOn(hPlugIn, plugIn, 0), coreDM = StartingOn(hCore, core, 0);
        std::vector<double> withPlugIn, alone;
        for (int i = -1; i < reps; ++i) {
            const double c = ChangeCost(counter, hCore, core, coreDM);
            const double d = ChangeCost(counter, hPlugIn, plugIn, plugInDM);
            if (i < 0) continue;
            if (c > 0) alone.push_back(c);
            if (d > 0) withPlugIn.push_back(d);
        }
        ClosePrinter(hPlugIn);
        ClosePrinter(hCore);
        if (atZero.empty()) atZero = withPlugIn;
        Report("a core feature change, +" + n + " features, core alone", alone);
        Report("a core feature change, +" + n + " features, plug-in", withPlugIn, &alone, "the core driver alone");
        if (extra) Report("a core feature change, +" + n + " features, plug-in", withPlugIn, &atZero, "at +0");
    }
}

// What the process holds: private bytes, kernel handles, GDI and USER objects.
struct Holdings {
    double privateMB = 0;
    DWORD handles = 0, gdi = 0, user = 0;
};
Holdings Now() {
    Holdings h;
    PROCESS_MEMORY_COUNTERS_EX pmc = {};
    pmc.cb = sizeof pmc;
    // Wine leaves the private bytes out but counts the commit charge, which is the same figure.
    if (GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof pmc))
        h.privateMB = static_cast<double>(pmc.PrivateUsage ? pmc.PrivateUsage : pmc.PagefileUsage) / (1024.0 * 1024.0);
    GetProcessHandleCount(GetCurrentProcess(), &h.handles);
    const ZQGuiObjects gui = ZQCountGuiObjects();
    h.gdi = gui.gdi;
    h.user = gui.user;
    return h;
}

void ReportHoldings(const std::string& what, const Holdings& before, const Holdings& after, int opens) {
    const double n = opens > 0 ? opens : 1;
    std::printf("%-52s %+8.2f MB private, %+6.1f handles, %+6.1f GDI, %+6.1f USER%s\n", what.c_str(),
                (after.privateMB - before.privateMB) / n, (after.handles - before.handles) / n,
                (static_cast<double>(after.gdi) - before.gdi) / n, (static_cast<double>(after.user) - before.user) / n,
                opens > 1 ? " per open" : "");
}

// The first open of a printer's sheet in this process (its first page painted, then OK), then 50
// more: what the first leaves held and what each later one adds, the core driver alone beside the
// plug-in's printer.
void MeasureOpenMemory(const SamplePrinters& printers) {
    constexpr int kOpens = 50;
    struct Row {
        const char* name;
        HANDLE hPrinter;
        const std::wstring* printer;
    } rows[] = {{"core driver alone", printers.hCore, &printers.core},
                {"desk printer", printers.hDesk, &printers.desk},
                {"roll printer", printers.hRoll, &printers.roll}};
    for (const Row& row : rows) {
        const std::vector<BYTE> dm = StartingOn(row.hPrinter, *row.printer, 0);
        const Holdings start = Now();
        OpenWith(row.hPrinter, *row.printer, dm, nullptr);
        const Holdings first = Now();
        // The next ten settle what a process keeps once (caches of the system's libraries).
        for (int i = 0; i < 10; ++i) OpenWith(row.hPrinter, *row.printer, dm, nullptr);
        const Holdings settled = Now();
        for (int i = 0; i < kOpens; ++i) OpenWith(row.hPrinter, *row.printer, dm, nullptr);
        const Holdings end = Now();
        ReportHoldings(std::string("first open, ") + row.name, start, first, 1);
        ReportHoldings(std::string(std::to_string(kOpens)) + " more opens, " + row.name, settled, end, kOpens);
    }
}

}  // namespace

int RunPages(int reps, PagesPart part) {
    std::printf("-- pages: the open until painted, tab switches, a choice, the core driver's calls\n");
    SamplePrinters printers;
    if (!OpenSamplePrinters(printers)) return 0;
    if (part == PagesPart::All) MeasurePages(printers, reps);
    if (part == PagesPart::All || part == PagesPart::Changes) MeasureChangeGrowth(printers, reps);
    if (part == PagesPart::All || part == PagesPart::Memory) MeasureOpenMemory(printers);
    return 0;
}

}  // namespace zqbench
