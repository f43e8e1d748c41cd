#include "common/zqmodule.h"

#include <atomic>

namespace zqmodule {
namespace {

HINSTANCE g_hInstance = nullptr;
HANDLE g_hActCtx = INVALID_HANDLE_VALUE;
volatile LONG g_cObjects = 0;
volatile LONG g_cLocks = 0;

// Watcher state. A plug-in call sets the mark with one atomic store; the watcher takes and clears
// it in one exchange, so a mark set between its look and its reset is never lost.
std::atomic<bool> g_inUse{false};
// Plug-in calls under way: the watcher never lets the module go while one runs, however long.
std::atomic<LONG> g_cCalls{0};
HANDLE g_hLoadingThread = nullptr;
HMODULE g_hWatchedModule = nullptr;

DWORD WINAPI WatcherProc(LPVOID) {
    for (;;) {
        DWORD wait = WaitForSingleObject(g_hLoadingThread, kIdleIntervalMs);
        if (wait != WAIT_TIMEOUT) break;  // loading thread ended (or cannot be waited on)
        // A whole interval without a plug-in call, and none under way.
        const bool used = g_inUse.exchange(false, std::memory_order_acq_rel);
        if (!used && g_cCalls.load(std::memory_order_acquire) == 0) break;
    }
    CloseHandle(g_hLoadingThread);
    g_hLoadingThread = nullptr;
    FreeLibraryAndExitThread(g_hWatchedModule, 0);
}

}  // namespace

HINSTANCE Instance() { return g_hInstance ? g_hInstance : GetModuleHandleW(nullptr); }
void SetInstance(HINSTANCE hInstance) { g_hInstance = hInstance; }

HANDLE ActCtx() { return g_hActCtx == INVALID_HANDLE_VALUE ? nullptr : g_hActCtx; }

void CreateModuleActCtx() {
    if (g_hActCtx != INVALID_HANDLE_VALUE) return;
    ACTCTXW ctx = {};
    ctx.cbSize = sizeof ctx;
    ctx.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
    ctx.hModule = g_hInstance;
    ctx.lpResourceName = MAKEINTRESOURCEW(2);  // ISOLATIONAWARE_MANIFEST_RESOURCE_ID
    g_hActCtx = CreateActCtxW(&ctx);
}

void ReleaseModuleActCtx() {
    if (g_hActCtx != INVALID_HANDLE_VALUE) ReleaseActCtx(g_hActCtx);
    g_hActCtx = INVALID_HANDLE_VALUE;
}

CZQActCtxScope::CZQActCtxScope() {
    HANDLE hActCtx = ActCtx();
    if (hActCtx) m_active = ActivateActCtx(hActCtx, &m_cookie) != FALSE;
}

CZQActCtxScope::~CZQActCtxScope() {
    if (m_active) DeactivateActCtx(0, m_cookie);
}

HWND CreateWindowInModuleContext(DWORD dwExStyle, PCWSTR pszClass, PCWSTR pszText, DWORD dwStyle, int x, int y,
                                 int cx, int cy, HWND hParent, HMENU hMenu, HINSTANCE hInstance, LPVOID pParam) {
    CZQActCtxScope scope;
    return CreateWindowExW(dwExStyle, pszClass, pszText, dwStyle, x, y, cx, cy, hParent, hMenu, hInstance, pParam);
}

void AddObject() { InterlockedIncrement(&g_cObjects); }
void ReleaseObject() { InterlockedDecrement(&g_cObjects); }
void LockServer(BOOL fLock) {
    if (fLock)
        InterlockedIncrement(&g_cLocks);
    else
        InterlockedDecrement(&g_cLocks);
}
bool CanUnload() { return InterlockedCompareExchange(&g_cObjects, 0, 0) == 0 && InterlockedCompareExchange(&g_cLocks, 0, 0) == 0; }

BOOL BStartUnloadWatcher(HMODULE hModule) {
    if (!DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &g_hLoadingThread,
                         SYNCHRONIZE, FALSE, 0))
        return FALSE;
    // The thread only runs once the loader lock is released; the extra reference is taken before
    // it can run, and only when the thread exists, so a failure leaves no reference behind.
    HANDLE hThread = CreateThread(nullptr, 0, WatcherProc, nullptr, CREATE_SUSPENDED, nullptr);
    if (!hThread) {
        CloseHandle(g_hLoadingThread);
        g_hLoadingThread = nullptr;
        return FALSE;
    }
    HMODULE hRef = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&WatcherProc),
                            &hRef)) {
        TerminateThread(hThread, 0);  // never started: nothing of ours runs on it
        CloseHandle(hThread);
        CloseHandle(g_hLoadingThread);
        g_hLoadingThread = nullptr;
        return FALSE;
    }
    g_hWatchedModule = hRef ? hRef : hModule;
    ResumeThread(hThread);
    CloseHandle(hThread);
    return TRUE;
}

void VMarkInUse() { g_inUse.store(true, std::memory_order_release); }

CZQInUseScope::CZQInUseScope() {
    g_cCalls.fetch_add(1, std::memory_order_acq_rel);
    VMarkInUse();
}

CZQInUseScope::~CZQInUseScope() {
    // Marked again on the way out, so the idle interval counts from the call's end.
    VMarkInUse();
    g_cCalls.fetch_sub(1, std::memory_order_acq_rel);
}

}  // namespace zqmodule
