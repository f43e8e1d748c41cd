// Stand-in of the mini-installer zqinstres.dll: "InitializeMiniInstaller" registers the
// device-server stand-ins beside it whose classes are not registered, "KillMiniInstaller"
// removes them again. Both calls go to the servers' log (zqdevrecord.h), each registration too.
#include <windows.h>
#include <objbase.h>

#include <string>
#include <type_traits>
#include <vector>

#include "zqdeviceservers.h"
#include "zqdevshared.h"
#include "zqinstresapi.h"
#include "zqowner.h"
#include "zqproc.h"

extern "C" {
BOOL WINAPI InitializeMiniInstaller(LPCWSTR pszPrinterName);
void WINAPI KillMiniInstaller();
}
static_assert(std::is_same_v<decltype(&InitializeMiniInstaller), PFN_InitializeMiniInstaller>, "InitializeMiniInstaller");
static_assert(std::is_same_v<decltype(&KillMiniInstaller), PFN_KillMiniInstaller>, "KillMiniInstaller");

namespace {

HMODULE g_module = nullptr;
// The libraries this installer registered, in order.
std::vector<std::wstring> g_installed;

// The servers and the libraries that register each.
const struct {
    const CLSID* clsid;
    const wchar_t* libraries[2];
} kServers[] = {
    {&CLSID_ZQDeviceAgent, {L"zqagentps.dll", L"zqagent.dll"}},
    {&CLSID_ZQDeviceChannel, {L"zqdevapi.dll", nullptr}},
    {&CLSID_ZQObjectList, {L"zqdevapi.dll", nullptr}},
    {&CLSID_ZQDeviceLink, {L"zqlinkps.dll", L"zqlink.dll"}},
};

bool Registered(REFCLSID clsid) {
    wchar_t guid[40] = {};
    StringFromGUID2(clsid, guid, 40);
    CZQRegKey key;
    return RegOpenKeyExW(HKEY_CLASSES_ROOT, (std::wstring(L"CLSID\\") + guid + L"\\InprocServer32").c_str(), 0,
                         KEY_QUERY_VALUE, key.Put()) == ERROR_SUCCESS;
}

HRESULT HrCall(const std::wstring& library, const char* entry) {
    std::wstring path = zqdev::ModulePath(g_module);
    path = path.substr(0, path.find_last_of(L'\\') + 1) + library;
    CZQModule module(LoadLibraryW(path.c_str()));
    if (!module) return HRESULT_FROM_WIN32(GetLastError());
    const auto call = ZQGetProc<HRESULT(WINAPI*)()>(module.Get(), entry);
    return call ? call() : HRESULT_FROM_WIN32(GetLastError());
}

bool Installed(const std::wstring& library) {
    for (const std::wstring& done : g_installed)
        if (_wcsicmp(done.c_str(), library.c_str()) == 0) return true;
    return false;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID) {
    if (dwReason == DLL_PROCESS_ATTACH) {
        g_module = hInstance;
        DisableThreadLibraryCalls(hInstance);
    }
    return TRUE;
}

BOOL WINAPI InitializeMiniInstaller(LPCWSTR pszPrinterName) {
    BOOL all = TRUE;
    for (const auto& server : kServers) {
        if (Registered(*server.clsid)) continue;
        for (const wchar_t* library : server.libraries) {
            if (!library || Installed(library)) continue;
            if (SUCCEEDED(HrCall(library, "DllRegisterServer"))) g_installed.emplace_back(library);
        }
        all = all && Registered(*server.clsid);
    }
    zqdev::VLog(L"zqinstres.InitializeMiniInstaller(" + zqdev::Quoted(pszPrinterName) + L") = " + std::to_wstring(all));
    return all;
}

void WINAPI KillMiniInstaller() {
    for (auto it = g_installed.rbegin(); it != g_installed.rend(); ++it) HrCall(*it, "DllUnregisterServer");
    g_installed.clear();
    zqdev::VLog(L"zqinstres.KillMiniInstaller()");
}
