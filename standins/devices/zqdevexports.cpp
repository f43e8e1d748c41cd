// The exports of every device-server stand-in library: class objects for the classes the library
// serves, and its registration in the prefix's registry as an in-process server.
#include <windows.h>

#include "zqdevshared.h"

namespace {

HMODULE g_module = nullptr;
LONG g_moduleRefs = 0;

HRESULT HrRegistration(bool bRegister) {
    const HRESULT hr = zqdev::HrRegisterServer(zqdev::kServer, zqdev::ModulePath(g_module), bRegister, false);
    zqdev::VLog(std::wstring(zqdev::kServer.name) + (bRegister ? L".DllRegisterServer() = " : L".DllUnregisterServer() = ") +
                zqdev::HrText(hr));
    return hr;
}

}  // namespace

void zqdev::VModuleAddRef(DWORD) { InterlockedIncrement(&g_moduleRefs); }
void zqdev::VModuleRelease(DWORD) { InterlockedDecrement(&g_moduleRefs); }
DWORD zqdev::DWCurrentCaller() { return 0; }

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID) {
    if (dwReason == DLL_PROCESS_ATTACH) {
        g_module = hInstance;
        DisableThreadLibraryCalls(hInstance);
    }
    return TRUE;
}

// A class the test switched off answers as if it were not registered.
STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    for (size_t i = 0; i < zqdev::kServer.count; ++i) {
        const zqdev::ServerClass& c = zqdev::kServer.classes[i];
        if (clsid != *c.clsid) continue;
        if (zqdev::DWSwitch(L"NotRegistered", 0) & c.dwBit) return REGDB_E_CLASSNOTREG;
        auto* factory = new (std::nothrow) zqdev::CFactory(c.create, true);
        if (!factory) return E_OUTOFMEMORY;
        const HRESULT hr = factory->QueryInterface(iid, ppv);
        factory->Release();
        return hr;
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

STDAPI DllCanUnloadNow(void) { return InterlockedCompareExchange(&g_moduleRefs, 0, 0) ? S_FALSE : S_OK; }

STDAPI DllRegisterServer(void) { return HrRegistration(true); }

STDAPI DllUnregisterServer(void) { return HrRegistration(false); }
