// zqhost: drives the plug-in the way its callers do.
//   zqhost report [dll]   load the plug-in as the core driver does and report its binding
#include <cstdio>
#include <cwchar>
#include <vector>

#include "common/zqproc.h"
#include "platform/oemuiplatform.h"

namespace {

using PFN_GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, LPVOID*);

int Fail(const wchar_t* what, HRESULT hr) {
    wprintf(L"FAIL  %ls (0x%08lX)\n", what, static_cast<unsigned long>(hr));
    return 1;
}

int Report(const wchar_t* dllPath) {
    HMODULE hDll = LoadLibraryW(dllPath);
    if (!hDll) return Fail(L"LoadLibrary", HRESULT_FROM_WIN32(GetLastError()));
    wprintf(L"ok    loaded %ls\n", dllPath);
    auto getClassObject = ZQGetProc<PFN_GetClassObject>(hDll, "DllGetClassObject");
    if (!getClassObject || !GetProcAddress(hDll, "DllCanUnloadNow")) return Fail(L"COM exports", E_FAIL);

    IClassFactory* factory = nullptr;
    HRESULT hr = getClassObject(CLSID_OEMUI, IID_IClassFactory, reinterpret_cast<void**>(&factory));
    if (FAILED(hr)) return Fail(L"DllGetClassObject(OEM UI class)", hr);
    IPrintOemUI2* plugin = nullptr;
    hr = factory->CreateInstance(nullptr, IID_IPrintOemUI2, reinterpret_cast<void**>(&plugin));
    factory->Release();
    if (FAILED(hr)) return Fail(L"CreateInstance(IPrintOemUI2)", hr);
    wprintf(L"ok    IPrintOemUI2 bound\n");

    DWORD value = 0, needed = 0;
    int rc = 0;
    if (SUCCEEDED(plugin->GetInfo(OEMGI_GETSIGNATURE, &value, sizeof value, &needed))) {
        char sig[5] = {static_cast<char>(value >> 24), static_cast<char>(value >> 16), static_cast<char>(value >> 8),
                       static_cast<char>(value), 0};
        wprintf(L"ok    signature \"%hs\"\n", sig);
    } else {
        rc = Fail(L"GetInfo(signature)", E_FAIL);
    }
    if (SUCCEEDED(plugin->GetInfo(OEMGI_GETVERSION, &value, sizeof value, &needed)))
        wprintf(L"ok    version 0x%08lX\n", static_cast<unsigned long>(value));
    else
        rc = Fail(L"GetInfo(version)", E_FAIL);

    OEMDMPARAM param = {};
    param.cbSize = sizeof param;
    if (FAILED(plugin->DevMode(OEMDM_SIZE, &param))) {
        rc = Fail(L"DevMode(size)", E_FAIL);
    } else {
        wprintf(L"ok    private devmode %lu bytes\n", static_cast<unsigned long>(param.cbBufSize));
        std::vector<BYTE> block(param.cbBufSize);
        DEVMODEW pub = {};
        pub.dmSize = sizeof pub;
        param.pPublicDMIn = &pub;
        param.pOEMDMOut = block.data();
        if (SUCCEEDED(plugin->DevMode(OEMDM_DEFAULT, &param))) {
            const OEM_DMEXTRAHEADER* h = reinterpret_cast<const OEM_DMEXTRAHEADER*>(block.data());
            wprintf(L"ok    defaults: header size %lu, signature 0x%08lX, version 0x%08lX\n",
                    static_cast<unsigned long>(h->dwSize), static_cast<unsigned long>(h->dwSignature),
                    static_cast<unsigned long>(h->dwVersion));
        } else {
            rc = Fail(L"DevMode(default)", E_FAIL);
        }
    }
    plugin->Release();
    FreeLibrary(hDll);
    wprintf(rc == 0 ? L"plug-in binding: ok\n" : L"plug-in binding: FAILED\n");
    return rc;
}

void Usage() { wprintf(L"usage: zqhost report [path-to-zqoemui.dll]\n"); }

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc >= 2 && wcscmp(argv[1], L"report") == 0) return Report(argc >= 3 ? argv[2] : L"zqoemui.dll");
    Usage();
    return 2;
}
