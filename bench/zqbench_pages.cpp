// The pages' side of the benchmarks, as a user feels the sheet: the open until the first page is
// painted, a tab switch until the plug-in's page is painted, a page's refresh after one choice, each
// against the core driver's own sheet, page or choice in the same run; and the core driver's calls
// an opening and a choice cost (device capabilities, settings read and reported).
#include <windows.h>
#include <commctrl.h>
#include <winspool.h>

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

// When a page of the sheet got its WM_INITDIALOG (its controls made from the template) and when it
// returned from it, seen through hooks on the sheet's thread.
HWND g_sheet = nullptr;
double g_initStart = -1, g_initDone = -1;
HHOOK g_hookBefore = nullptr, g_hookAfter = nullptr;

LRESULT CALLBACK BeforeMessage(int code, WPARAM wParam, LPARAM lParam) {
    const auto* m = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && m->message == WM_INITDIALOG && g_sheet && GetParent(m->hwnd) == g_sheet)
        g_initStart = NowUs();
    return CallNextHookEx(g_hookBefore, code, wParam, lParam);
}

LRESULT CALLBACK AfterMessage(int code, WPARAM wParam, LPARAM lParam) {
    const auto* m = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && m->message == WM_INITDIALOG && g_sheet && GetParent(m->hwnd) == g_sheet)
        g_initDone = NowUs();
    return CallNextHookEx(g_hookAfter, code, wParam, lParam);
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
    g_sheet = sheet;
    g_initStart = g_initDone = -1;
    // The hooks only for the switch: a hook costs every message of the sheet's thread a look.
    g_hookBefore = SetWindowsHookExW(WH_CALLWNDPROC, BeforeMessage, nullptr, GetCurrentThreadId());
    g_hookAfter = SetWindowsHookExW(WH_CALLWNDPROCRET, AfterMessage, nullptr, GetCurrentThreadId());
    const double t0 = NowUs();
    Switch s;
    const bool shown = ZQShowPage(sheet, title);
    if (shown) PaintNow(sheet);
    const double t1 = NowUs();
    for (HHOOK* hook : {&g_hookBefore, &g_hookAfter}) {
        if (*hook) UnhookWindowsHookEx(*hook);
        *hook = nullptr;
    }
    if (!shown) return s;
    s.painted = t1 - t0;
    if (g_initStart > 0) s.made = g_initStart - t0;
    if (g_initDone > 0) s.init = g_initDone - t0;
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

// Opens the sheet, runs `inside` on it once it waits for the user, then OK; the time until then.
// Every open starts on empty stand-in logs.
double OpenWith(HANDLE hPrinter, const std::wstring& name, const std::vector<BYTE>& in,
                const std::function<void(HWND)>& inside) {
    VResetStandInLogs();
    double ready = -1;
    const double t0 = NowUs();
    std::vector<BYTE> out;
    {
        CZQAutoPress press(0, [&](HWND sheet) {
            ready = NowUs() - t0;
            if (inside) inside(sheet);
        });
        ZQOpenPreferences(hPrinter, name, reinterpret_cast<const DEVMODEW*>(in.data()), out);
    }
    return ready;
}

void MeasurePages(int reps) {
    SamplePrinters printers;
    if (!OpenSamplePrinters(printers)) return;
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
            openCore.push_back(c);
            openDesk.push_back(d);
            openOnPage.push_back(onPage);
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

}  // namespace

int RunPages(int reps) {
    std::printf("-- pages: the open until painted, tab switches, a choice, the core driver's calls\n");
    MeasurePages(reps);
    return 0;
}

}  // namespace zqbench
