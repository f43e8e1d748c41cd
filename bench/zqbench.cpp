// zqbench: speed figures of the plug-in in one process, each against a baseline measured in the
// same run. Usage: zqbench [host|open|pages|changes|memory|rules|convert|soak] [--reps N] [--values]
// [--threads N] [--seconds N]
#include "zqbench.h"

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "zqbidirecord.h"
#include "zqcfgmgrrecord.h"
#include "zqdevrecord.h"
#include "zqhostapp.h"
#include "zqservicesrecord.h"
#include "zqstandinlog.h"

namespace zqbench {

double NowUs() {
    static const double perUs = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart) / 1e6;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / perUs;
}

void VResetStandInLogs() {
    for (const wchar_t* key : {kZQBidiKey, kZQDevServersKey, kZQCfgMgrRecordKey, ZQ_SERVICES_RECORD_KEY})
        zqstandin::VResetLog(key);
}

namespace {

// The idle moment is marked by a message posted to the thread after each one it takes: the marker
// comes back right after that message is handled (posted messages come before paints), and if
// nothing else is queued then, with the sheet shown, the thread is about to wait for the user. (A
// timer cannot mark it: it comes no sooner than 10 ms after it was set.)
struct IdleProbe {
    UINT marker = RegisterWindowMessageW(L"ZQBenchIdleMarker");
    bool posted = false;
    double painting = -1;  // the first paint message
    double at = -1;
};
thread_local IdleProbe* t_probe = nullptr;

bool NothingQueued() { return (HIWORD(GetQueueStatus(QS_ALLINPUT)) & ~QS_TIMER) == 0; }

LRESULT CALLBACK WatchIdle(int code, WPARAM remove, LPARAM lParam) {
    IdleProbe* p = t_probe;
    auto* m = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION && remove == PM_REMOVE && p && p->at < 0) {
        if (m->message == WM_PAINT && p->painting < 0) p->painting = NowUs();
        if (!m->hwnd && m->message == p->marker) {
            m->message = WM_NULL;
            p->posted = false;
            if (NothingQueued() && ZQFindSheet()) p->at = NowUs();
        } else if (!p->posted) {
            // Only after a message of the sheet's: a marker alone would keep an idle thread busy.
            p->posted = PostThreadMessageW(GetCurrentThreadId(), p->marker, 0, 0) != FALSE;
        }
    }
    return CallNextHookEx(nullptr, code, remove, lParam);
}

// A property sheet's dialog has just handled its WM_INITDIALOG: every page is made by bringing it to
// the front, and the sheet's own page comes back, before anything is painted.
LRESULT CALLBACK MakeEveryPage(int code, WPARAM wParam, LPARAM lParam) {
    const auto* m = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && m->message == WM_INITDIALOG && !GetParent(m->hwnd) &&
        FindWindowExW(m->hwnd, nullptr, L"SysTabControl32", nullptr)) {
        HWND sheet = m->hwnd;
        HWND tabs = FindWindowExW(sheet, nullptr, L"SysTabControl32", nullptr);
        const LRESULT first = SendMessageW(tabs, TCM_GETCURSEL, 0, 0);
        const LRESULT pages = SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0);
        for (LRESULT i = 0; i < pages; ++i)
            if (i != first) SendMessageW(sheet, PSM_SETCURSEL, static_cast<WPARAM>(i), 0);
        if (first >= 0) SendMessageW(sheet, PSM_SETCURSEL, static_cast<WPARAM>(first), 0);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

double OpenUntilIdle(void* hPrinter, const std::wstring& name, const void* devmode,
                     const std::function<void(void*)>& inside, double* firstPaint, bool everyPage) {
    VResetStandInLogs();
    IdleProbe probe;
    t_probe = &probe;
    HHOOK maker = everyPage ? SetWindowsHookExW(WH_CALLWNDPROCRET, MakeEveryPage, nullptr, GetCurrentThreadId()) : nullptr;
    HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, WatchIdle, nullptr, GetCurrentThreadId());
    const double t0 = NowUs();
    std::vector<BYTE> out;
    {
        CZQAutoPress press(0, [&](HWND sheet) {
            // What runs inside is measured on its own, without the hook.
            if (hook) UnhookWindowsHookEx(hook);
            hook = nullptr;
            if (inside) inside(sheet);
        });
        ZQOpenPreferences(hPrinter, name, static_cast<const DEVMODEW*>(devmode), out);
    }
    if (hook) UnhookWindowsHookEx(hook);
    if (maker) UnhookWindowsHookEx(maker);
    t_probe = nullptr;
    if (firstPaint) *firstPaint = probe.painting < 0 ? -1 : probe.painting - t0;
    return probe.at < 0 ? -1 : probe.at - t0;
}

std::vector<double> Time(int reps, int warm, const std::function<double()>& once) {
    for (int i = 0; i < warm; ++i) {
        VResetStandInLogs();
        once();
    }
    std::vector<double> runs;
    for (int i = 0; i < reps; ++i) {
        VResetStandInLogs();
        const double t0 = NowUs();
        const double own = once();
        runs.push_back(own >= 0 ? own : NowUs() - t0);
    }
    return runs;
}

double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

namespace {
std::string Amount(double us) {
    char text[64];
    if (us >= 10000)
        std::snprintf(text, sizeof text, "%.1f ms", us / 1000);
    else if (us >= 10)
        std::snprintf(text, sizeof text, "%.0f us", us);
    else if (us >= 1)
        std::snprintf(text, sizeof text, "%.2f us", us);
    else
        std::snprintf(text, sizeof text, "%.1f ns", us * 1000);
    return text;
}
}  // namespace

void Report(const std::string& name, const std::vector<double>& runs, const std::vector<double>* baseline,
            const std::string& baselineName) {
    if (runs.empty()) {
        std::printf("%-44s no runs\n", name.c_str());
        return;
    }
    const auto mm = std::minmax_element(runs.begin(), runs.end());
    std::printf("%-44s %10s  (min %s, max %s)", name.c_str(), Amount(Median(runs)).c_str(), Amount(*mm.first).c_str(),
                Amount(*mm.second).c_str());
    // The ratio of the fastest runs too: on a busy machine it is the steadier of the two.
    if (baseline && !baseline->empty() && Median(*baseline) > 0)
        std::printf("  = %.2fx %s (fastest %.2fx)", Median(runs) / Median(*baseline), baselineName.c_str(),
                    *mm.first / *std::min_element(baseline->begin(), baseline->end()));
    std::printf("\n");
    std::fflush(stdout);
}

std::wstring ExeDir() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir(path);
    return dir.substr(0, dir.find_last_of(L"\\/"));
}

std::string ReadFile(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteFile(const std::wstring& path, const std::string& bytes) {
    std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

}  // namespace zqbench

int wmain(int argc, wchar_t** argv) {
    bool host = true, open = true, pages = true, rules = true, convert = true;
    int reps = 15, threads = 0, seconds = 60;
    bool values = false;
    zqbench::PagesPart part = zqbench::PagesPart::All;
    for (int i = 1; i < argc; ++i) {
        if (!std::wcscmp(argv[i], L"host")) open = pages = rules = convert = false;
        else if (!std::wcscmp(argv[i], L"open")) host = pages = rules = convert = false;
        else if (!std::wcscmp(argv[i], L"pages")) host = open = rules = convert = false;
        else if (!std::wcscmp(argv[i], L"changes"))
            host = open = rules = convert = false, part = zqbench::PagesPart::Changes;
        else if (!std::wcscmp(argv[i], L"memory"))
            host = open = rules = convert = false, part = zqbench::PagesPart::Memory;
        else if (!std::wcscmp(argv[i], L"rules")) host = open = pages = convert = false;
        else if (!std::wcscmp(argv[i], L"convert")) host = open = pages = rules = false;
        else if (!std::wcscmp(argv[i], L"soak")) host = open = pages = rules = false, threads = 8;
        else if (!std::wcscmp(argv[i], L"--values")) values = true;
        else if (!std::wcscmp(argv[i], L"--reps") && i + 1 < argc) reps = std::max(3, _wtoi(argv[++i]));
        else if (!std::wcscmp(argv[i], L"--threads") && i + 1 < argc) threads = std::max(1, _wtoi(argv[++i]));
        else if (!std::wcscmp(argv[i], L"--seconds") && i + 1 < argc) seconds = std::max(1, _wtoi(argv[++i]));
    }
    int rc = 0;
    // The stand-ins' call logs are the tests': the figures leave out their writes.
    SetEnvironmentVariableW(L"ZQSTANDIN_LOG", L"0");
    if (open) zqbench::StartCountingDataCalls();
    if (host) rc |= zqbench::RunHost(reps);
    if (open) rc |= zqbench::RunOpen(reps, values);
    if (pages) rc |= zqbench::RunPages(reps, part);
    if (rules) rc |= zqbench::RunRules(reps);
    if (convert) rc |= zqbench::RunConvert(reps, threads, seconds);
    return rc;
}
