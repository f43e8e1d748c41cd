// Module entry of zqoemui.dll.
#include <windows.h>

#include "common/zqmodule.h"
#include "xmlrules/zqxmlshared.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID lpReserved) {
    switch (dwReason) {
        case DLL_PROCESS_ATTACH:
            zqmodule::SetInstance(hInstance);
            DisableThreadLibraryCalls(hInstance);
            zqmodule::CreateModuleActCtx();
            zqmodule::BStartUnloadWatcher(hInstance);
            break;
        case DLL_PROCESS_DETACH:
            // At process exit other threads are gone and handles go with the process.
            if (lpReserved) break;
            zqmodule::ReleaseModuleActCtx();
            zqmodule::VReleaseSharedModules();
            zqxmlshared::VReleaseAll();
            break;
        default:
            break;
    }
    return TRUE;
}
