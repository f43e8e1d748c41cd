// The exports of every device-server stand-in module: class objects for the classes the module
// serves, and its registration in the prefix's registry as an in-process server.
#include <windows.h>

#include "zqdevshared.h"

namespace {

HMODULE g_module = nullptr;
LONG g_moduleRefs = 0;

class CFactory final : public zqdev::CObject<IClassFactory> {
public:
    explicit CFactory(HRESULT (*create)(REFIID, void**)) : CObject(nullptr, IID_IClassFactory), m_create(create) {}

    STDMETHODIMP CreateInstance(IUnknown* pOuter, REFIID iid, void** ppv) override {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (pOuter) return CLASS_E_NOAGGREGATION;
        return m_create(iid, ppv);
    }
    STDMETHODIMP LockServer(BOOL fLock) override {
        if (fLock)
            zqdev::VModuleAddRef();
        else
            zqdev::VModuleRelease();
        return S_OK;
    }

private:
    HRESULT (*m_create)(REFIID, void**);
};

std::wstring ClassKey(REFCLSID clsid) {
    wchar_t guid[40] = {};
    StringFromGUID2(clsid, guid, 40);
    return std::wstring(L"CLSID\\") + guid;
}

HRESULT HrSetText(HKEY hKey, LPCWSTR pszName, const std::wstring& text) {
    return HRESULT_FROM_WIN32(RegSetValueExW(hKey, pszName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                             static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))));
}

HRESULT HrUnregisterClass(REFCLSID clsid) {
    const LONG rc = RegDeleteTreeW(HKEY_CLASSES_ROOT, ClassKey(clsid).c_str());
    return rc == ERROR_FILE_NOT_FOUND ? S_OK : HRESULT_FROM_WIN32(rc);
}

// The class, served in-process by this module. Threading model Both: callers come from the
// multithreaded apartment and from sheet threads alike.
HRESULT HrRegisterClass(const zqdev::ServerClass& c, const std::wstring& path) {
    HKEY hClass = nullptr, hServer = nullptr;
    LONG rc = RegCreateKeyExW(HKEY_CLASSES_ROOT, ClassKey(*c.clsid).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &hClass,
                              nullptr);
    if (rc != ERROR_SUCCESS) return HRESULT_FROM_WIN32(rc);
    HRESULT hr = HrSetText(hClass, nullptr, c.description);
    if (SUCCEEDED(hr))
        hr = HRESULT_FROM_WIN32(
            RegCreateKeyExW(hClass, L"InprocServer32", 0, nullptr, 0, KEY_WRITE, nullptr, &hServer, nullptr));
    if (SUCCEEDED(hr)) hr = HrSetText(hServer, nullptr, path);
    if (SUCCEEDED(hr)) hr = HrSetText(hServer, L"ThreadingModel", L"Both");
    if (hServer) RegCloseKey(hServer);
    RegCloseKey(hClass);
    if (FAILED(hr)) HrUnregisterClass(*c.clsid);
    return hr;
}

// A module without classes marks only itself: value <file name> = its path.
HRESULT HrMarkSelf(bool bRegister, const std::wstring& path) {
    const std::wstring file = path.substr(path.find_last_of(L'\\') + 1);
    HKEY hKey = nullptr;
    LONG rc = RegCreateKeyExW(HKEY_LOCAL_MACHINE, kZQDevProxyMarksKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &hKey,
                              nullptr);
    if (rc != ERROR_SUCCESS) return HRESULT_FROM_WIN32(rc);
    HRESULT hr = S_OK;
    if (bRegister) {
        hr = HrSetText(hKey, file.c_str(), path);
    } else {
        rc = RegDeleteValueW(hKey, file.c_str());
        hr = rc == ERROR_FILE_NOT_FOUND ? S_OK : HRESULT_FROM_WIN32(rc);
    }
    RegCloseKey(hKey);
    return hr;
}

HRESULT HrRegistration(bool bRegister) {
    const std::wstring path = zqdev::ModulePath(g_module);
    HRESULT hr = path.empty() ? HRESULT_FROM_WIN32(GetLastError()) : S_OK;
    if (SUCCEEDED(hr) && zqdev::kServer.count == 0) hr = HrMarkSelf(bRegister, path);
    for (size_t i = 0; SUCCEEDED(hr) && i < zqdev::kServer.count; ++i) {
        const zqdev::ServerClass& c = zqdev::kServer.classes[i];
        hr = bRegister ? HrRegisterClass(c, path) : HrUnregisterClass(*c.clsid);
    }
    zqdev::VLog(std::wstring(zqdev::kServer.name) + (bRegister ? L".DllRegisterServer() = " : L".DllUnregisterServer() = ") +
                zqdev::HrText(hr));
    return hr;
}

}  // namespace

void zqdev::VModuleAddRef() { InterlockedIncrement(&g_moduleRefs); }
void zqdev::VModuleRelease() { InterlockedDecrement(&g_moduleRefs); }

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
        auto* factory = new (std::nothrow) CFactory(c.create);
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
