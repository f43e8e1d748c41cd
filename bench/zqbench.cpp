// zqbench: speed figures of the plug-in in one process, each against a baseline measured in the
// same run. Usage: zqbench [host|open|pages|changes|memory|rules|convert|soak|check] [--reps N] [--values]
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
#include <memory>

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

// The dialog class's window procedure, wrapped while a watch lives: the sheet and its pages are
// dialogs, and each dialog made meanwhile keeps the wrapper, which hands every message straight on.
// That costs a dialog's message one call more; a message hook would cost every message of the thread
// a call through the Wine server (some 16 ms of a sheet's opening).
WNDPROC g_dialogProc = nullptr;
thread_local DialogWatch* t_watch = nullptr;

// The sheet's dialog has just handled its WM_INITDIALOG: every page is made by bringing it to the
// front, and the sheet's own page comes back, before anything is painted.
void MakeEveryPage(HWND sheet) {
    HWND tabs = FindWindowExW(sheet, nullptr, L"SysTabControl32", nullptr);
    const LRESULT first = SendMessageW(tabs, TCM_GETCURSEL, 0, 0);
    const LRESULT pages = SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0);
    for (LRESULT i = 0; i < pages; ++i)
        if (i != first) SendMessageW(sheet, PSM_SETCURSEL, static_cast<WPARAM>(i), 0);
    if (first >= 0) SendMessageW(sheet, PSM_SETCURSEL, static_cast<WPARAM>(first), 0);
}

LRESULT CALLBACK WatchedDialog(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    DialogWatch* w = t_watch;
    if (!w) return CallWindowProcW(g_dialogProc, hwnd, message, wParam, lParam);
    // The sheet is painted first, before its pages.
    if (message == WM_PAINT && w->painting < 0) w->painting = NowUs();
    const bool page = message == WM_INITDIALOG && w->sheet && GetParent(hwnd) == static_cast<HWND>(w->sheet);
    if (page) w->initStart = NowUs();
    const LRESULT result = CallWindowProcW(g_dialogProc, hwnd, message, wParam, lParam);
    if (page) w->initDone = NowUs();
    if (message == WM_INITDIALOG && w->everyPage && !GetParent(hwnd) &&
        FindWindowExW(hwnd, nullptr, L"SysTabControl32", nullptr))
        MakeEveryPage(hwnd);
    return result;
}

// The idle moment: a thread timer due before the sheet opens. A timer's message comes only when
// nothing else is queued (posted messages, input and paints come first), so the first one the thread
// takes with the sheet shown marks the moment it is about to wait for the user; until then it costs
// the opening nothing. (A timer set at the opening could not come sooner than 10 ms after it.)
struct IdleProbe {
    UINT_PTR timer = 0;
    double at = -1;
    bool early = false;  // it came before the sheet showed: the moment is lost
    const std::function<void(void*)>* inside = nullptr;
};
thread_local IdleProbe* t_idle = nullptr;

void CALLBACK AtIdle(HWND, UINT, UINT_PTR, DWORD) {
    IdleProbe* p = t_idle;
    if (!p || !p->timer) return;
    HWND sheet = ZQFindSheet();
    if (!sheet) {
        p->early = true;  // it comes again every 10 ms, to close the sheet
        return;
    }
    if (!p->early) p->at = NowUs();
    KillTimer(nullptr, p->timer);
    p->timer = 0;
    if (*p->inside) (*p->inside)(sheet);
    PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
}

}  // namespace

DialogWatch::DialogWatch(bool bEveryPage) : everyPage(bEveryPage), m_previous(t_watch) {
    t_watch = this;
    if (m_previous) return;  // the class has the watching procedure already
    // The class's procedure is set through a window of it, made before the change.
    HWND probe = CreateWindowExW(0, L"#32770", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    if (!probe) return;
    const auto own = reinterpret_cast<WNDPROC>(
        SetClassLongPtrW(probe, GCLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WatchedDialog)));
    if (!g_dialogProc) g_dialogProc = own;
    m_probe = probe;
}

DialogWatch::~DialogWatch() {
    t_watch = m_previous;
    if (!m_probe) return;
    HWND probe = static_cast<HWND>(m_probe);
    SetClassLongPtrW(probe, GCLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_dialogProc));
    DestroyWindow(probe);
}

double OpenUntilIdle(void* hPrinter, const std::wstring& name, const void* devmode,
                     const std::function<void(void*)>& inside, double* firstPaint, bool everyPage) {
    IdleProbe probe;
    probe.inside = &inside;
    t_idle = &probe;
    probe.timer = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, AtIdle);
    VResetStandInLogs();
    // Until the timer is due.
    while (probe.timer && !(HIWORD(GetQueueStatus(QS_TIMER)) & QS_TIMER))
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_TIMER);
    std::vector<BYTE> out;
    std::unique_ptr<DialogWatch> watch;
    // Only what asks for it watches the dialogs.
    if (firstPaint || everyPage) watch = std::make_unique<DialogWatch>(everyPage);
    const double t0 = NowUs();
    ZQOpenPreferences(hPrinter, name, static_cast<const DEVMODEW*>(devmode), out);
    if (probe.timer) KillTimer(nullptr, probe.timer);
    t_idle = nullptr;
    if (firstPaint) *firstPaint = watch && watch->painting >= 0 ? watch->painting - t0 : -1;
    if (probe.early) std::fprintf(stderr, "the idle mark came before the sheet showed: the run is left out\n");
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
    bool host = true, open = true, pages = true, rules = true, convert = true, check = false;
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
        else if (!std::wcscmp(argv[i], L"check")) host = open = pages = rules = convert = false, check = true;
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
    if (check) rc |= zqbench::RunCheck(reps);
    return rc;
}
