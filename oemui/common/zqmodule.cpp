#include "common/zqmodule.h"

namespace zqmodule {
namespace {

HINSTANCE g_hInstance = nullptr;
HANDLE g_hActCtx = INVALID_HANDLE_VALUE;
volatile LONG g_cObjects = 0;
volatile LONG g_cLocks = 0;

// Watcher state. The semaphore stays open until process detach so marking stays safe after the
// watcher has ended.
HANDLE g_hInUseSem = nullptr;
BOOL g_bInUse = FALSE;
HANDLE g_hLoadingThread = nullptr;
HMODULE g_hWatchedModule = nullptr;

DWORD WINAPI WatcherProc(LPVOID) {
    for (;;) {
        DWORD wait = WaitForSingleObject(g_hLoadingThread, kIdleIntervalMs);
        if (wait != WAIT_TIMEOUT) break;  // loading thread ended (or cannot be waited on)
        WaitForSingleObject(g_hInUseSem, INFINITE);
        BOOL used = g_bInUse;
        g_bInUse = FALSE;
        ReleaseSemaphore(g_hInUseSem, 1, nullptr);
        if (!used) break;  // a whole interval without a plug-in call
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
    g_hInUseSem = CreateSemaphoreW(nullptr, 1, 1, nullptr);
    if (!g_hInUseSem) return FALSE;
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

void VMarkInUse() {
    if (!g_hInUseSem) {
        g_bInUse = TRUE;
        return;
    }
    WaitForSingleObject(g_hInUseSem, INFINITE);
    g_bInUse = TRUE;
    ReleaseSemaphore(g_hInUseSem, 1, nullptr);
}

void VCloseWatcher() {
    if (g_hInUseSem) CloseHandle(g_hInUseSem);
    g_hInUseSem = nullptr;
}

}  // namespace zqmodule
