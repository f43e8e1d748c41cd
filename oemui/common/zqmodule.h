// Module-wide state: the instance, COM object and lock counts, the activation context and the
// delayed-unload watcher.
#pragma once

#include <windows.h>

namespace zqmodule {

// The plug-in module: instance of every page and dialog.
HINSTANCE Instance();
void SetInstance(HINSTANCE hInstance);

// Activation context made from the module's own manifest (null when it could not be made).
HANDLE ActCtx();
void CreateModuleActCtx();
void ReleaseModuleActCtx();

// Activates the module's activation context for its lifetime (nothing when there is none).
class CZQActCtxScope {
public:
    CZQActCtxScope();
    ~CZQActCtxScope();
    CZQActCtxScope(const CZQActCtxScope&) = delete;
    CZQActCtxScope& operator=(const CZQActCtxScope&) = delete;

private:
    ULONG_PTR m_cookie = 0;
    bool m_active = false;
};

// CreateWindowExW with the module's activation context active, so that run-time controls take the
// common-controls version of the module's manifest, like its dialogs.
HWND CreateWindowInModuleContext(DWORD dwExStyle, PCWSTR pszClass, PCWSTR pszText, DWORD dwStyle, int x, int y,
                                 int cx, int cy, HWND hParent, HMENU hMenu, HINSTANCE hInstance, LPVOID pParam);

// Live COM objects (plug-in objects and class factories) and server locks.
void AddObject();
void ReleaseObject();
void LockServer(BOOL fLock);
bool CanUnload();

// The status modules every plug-in object of the process shares (loaded as data by
// CZQCommon::VLoadResourceModule); freed when the module is unloaded.
void VReleaseSharedModules();

// Delayed-unload watcher: an extra reference on the module and a thread that drops it when the
// loading thread ends or when a whole interval passes without a plug-in call.
inline constexpr DWORD kIdleIntervalMs = 1000;
BOOL BStartUnloadWatcher(HMODULE hModule);
void VMarkInUse();
// A plug-in call for its whole length: marked in use, and the watcher holds off while it runs.
// A few atomic operations, no kernel object.
class CZQInUseScope {
public:
    CZQInUseScope();
    ~CZQInUseScope();
    CZQInUseScope(const CZQInUseScope&) = delete;
    CZQInUseScope& operator=(const CZQInUseScope&) = delete;
};

}  // namespace zqmodule
