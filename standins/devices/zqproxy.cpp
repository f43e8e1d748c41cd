// The proxy libraries zqagentps.dll and zqlinkps.dll: the proxies and stubs widl wrote for the
// interface of their server, which carry its calls into and out of the server's own process. Their
// registration goes to the servers' log like the servers' own.
#include <windows.h>
#include <objbase.h>

#include "zqdevshared.h"

extern "C" {
BOOL WINAPI PrxDllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID pReserved);
HRESULT STDAPICALLTYPE PrxDllGetClassObject(REFCLSID clsid, REFIID iid, void** ppv);
HRESULT STDAPICALLTYPE PrxDllCanUnloadNow(void);
HRESULT STDAPICALLTYPE PrxDllRegisterServer(void);
HRESULT STDAPICALLTYPE PrxDllUnregisterServer(void);
}

// The proxies have no class of their own to serve.
const zqdev::ServerInfo zqdev::kServer = {ZQ_PROXY_NAME, nullptr, 0};

// widl's code registers the proxies of the library it knows from here.
extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID pReserved) {
    return PrxDllMain(hInstance, dwReason, pReserved);
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* ppv) { return PrxDllGetClassObject(clsid, iid, ppv); }

STDAPI DllCanUnloadNow(void) { return PrxDllCanUnloadNow(); }

STDAPI DllRegisterServer(void) {
    const HRESULT hr = PrxDllRegisterServer();
    zqdev::VLog(std::wstring(ZQ_PROXY_NAME) + L".DllRegisterServer() = " + zqdev::HrText(hr));
    return hr;
}

STDAPI DllUnregisterServer(void) {
    const HRESULT hr = PrxDllUnregisterServer();
    zqdev::VLog(std::wstring(ZQ_PROXY_NAME) + L".DllUnregisterServer() = " + zqdev::HrText(hr));
    return hr;
}
