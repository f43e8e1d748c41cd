// Stand-in of the programs zqagent.exe and zqlink.exe: local servers of the class their library of
// the same name serves in-process. "-RegServer" and "-UnregServer" at the end of the command line
// register the program as the class's local server or remove the class; the program ends when that
// is done, its exit code the result (0 on success). Started by COM ("-Embedding"), it serves the
// class from its multithreaded apartment until the last object and lock are gone, or until the
// process that started it has ended.
#include <windows.h>
#include <objbase.h>
#include <tlhelp32.h>

#include <string>
#include <vector>

#include "zqdevshared.h"
#include "zqowner.h"

namespace {

HANDLE g_done = nullptr;

// How long a program started by COM waits, with nothing alive, for a caller that never comes.
constexpr DWORD kIdleMs = 10000;
LONG g_alive = 0;

bool EndsWithSwitch(const std::wstring& line, const wchar_t* name) {
    return zqdev::EndsWithNoCase(line, (std::wstring(L"-") + name).c_str()) ||
           zqdev::EndsWithNoCase(line, (std::wstring(L"/") + name).c_str());
}

// The process that started this one: the first caller, which COM starts the server from. A caller
// that ends without releasing what it holds would otherwise keep the server (and whoever waits on
// its inherited output) alive for good, since nothing here runs down a dead caller's objects.
CZQHandle OpenStarter() {
    CZQHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return CZQHandle();
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    const DWORD self = GetCurrentProcessId();
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more; more = Process32NextW(snapshot.Get(), &entry))
        if (entry.th32ProcessID == self)
            return CZQHandle(OpenProcess(SYNCHRONIZE, FALSE, entry.th32ParentProcessID));
    return CZQHandle();
}

HRESULT HrServe() {
    HRESULT hr = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (FAILED(hr)) return hr;
    g_done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::vector<DWORD> cookies;
    for (size_t i = 0; SUCCEEDED(hr) && i < zqdev::kServer.count; ++i) {
        const zqdev::ServerClass& c = zqdev::kServer.classes[i];
        // The class a test switched off is not offered: its callers find no server.
        if (zqdev::DWSwitch(L"NotRegistered", 0) & c.dwBit) continue;
        auto* factory = new (std::nothrow) zqdev::CFactory(c.create, false);
        if (!factory) {
            hr = E_OUTOFMEMORY;
            break;
        }
        DWORD cookie = 0;
        hr = CoRegisterClassObject(*c.clsid, factory, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE | REGCLS_SUSPENDED,
                                   &cookie);
        factory->Release();
        if (SUCCEEDED(hr)) cookies.push_back(cookie);
    }
    if (SUCCEEDED(hr)) hr = CoResumeClassObjects();
    // Until the last object goes or the starter ends; a caller that never comes leaves nothing alive
    // to wait for.
    const CZQHandle starter = OpenStarter();
    const HANDLE waits[2] = {g_done, starter.Get()};
    while (SUCCEEDED(hr) && g_done &&
           WaitForMultipleObjects(starter ? 2 : 1, waits, FALSE, kIdleMs) == WAIT_TIMEOUT)
        if (InterlockedCompareExchange(&g_alive, 0, 0) == 0) break;
    for (DWORD cookie : cookies) CoRevokeClassObject(cookie);
    if (g_done) CloseHandle(g_done);
    CoUninitialize();
    return hr;
}

}  // namespace

void zqdev::VModuleAddRef() {
    InterlockedIncrement(&g_alive);
    CoAddRefServerProcess();
}

void zqdev::VModuleRelease() {
    InterlockedDecrement(&g_alive);
    if (CoReleaseServerProcess() == 0 && g_done) SetEvent(g_done);
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    std::wstring line = GetCommandLineW();
    while (!line.empty() && (line.back() == L' ' || line.back() == L'\t')) line.pop_back();
    const std::wstring program = zqdev::ModulePath(nullptr);
    const std::wstring name = program.substr(program.find_last_of(L'\\') + 1);
    HRESULT hr = E_INVALIDARG;
    if (EndsWithSwitch(line, L"Embedding")) return static_cast<int>(HrServe());
    if (EndsWithSwitch(line, L"RegServer")) hr = zqdev::HrRegisterServer(zqdev::kServer, program, true, true);
    else if (EndsWithSwitch(line, L"UnregServer")) hr = zqdev::HrRegisterServer(zqdev::kServer, program, false, true);
    zqdev::VLog(name + L" " + line.substr(line.find_last_of(L' ') + 1) + L" = " + zqdev::HrText(hr));
    return static_cast<int>(hr);
}
