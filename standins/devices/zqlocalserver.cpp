// Stand-in of the programs zqagent.exe and zqlink.exe: local servers of the class their library of
// the same name serves in-process. "-RegServer" and "-UnregServer" at the end of the command line
// register the program as the class's local server or remove the class; the program ends when that
// is done, its exit code the result (0 on success). Started by COM ("-Embedding"), it serves the
// class from its multithreaded apartment while any caller that is still running holds an object or
// a lock: each is counted for the process it was made for, and a caller that ended without giving
// its objects back (nothing here runs them down) no longer counts. Once none has held anything for a
// moment it stops taking callers, and ends unless one that got the class just before came in
// meanwhile. A class no longer registered as this program's is taken off at once.
#include <windows.h>
#include <objbase.h>
#include <rpcdcep.h>

#include <map>
#include <new>
#include <string>
#include <vector>

#include "zqdevshared.h"
#include "zqowner.h"

namespace {

// How long a program started by COM waits, with nothing alive, for a caller that never comes; how
// long it stays after the last caller let go (the next often follows at once, and each end is a
// moment in which a caller on its way in misses the class); how often it looks at its callers.
constexpr ULONGLONG kIdleMs = 10000;
constexpr ULONGLONG kLingerMs = 1000;
constexpr DWORD kLookMs = 250;

// What each caller process holds.
struct Callers {
    SRWLOCK lock = SRWLOCK_INIT;
    std::map<DWORD, LONG> held;
    CZQHandle changed;  // set when a caller's last object or lock goes
    bool called = false;       // a caller came
};
Callers g_callers;

bool EndsWithSwitch(const std::wstring& line, const wchar_t* name) {
    return zqdev::EndsWithNoCase(line, (std::wstring(L"-") + name).c_str()) ||
           zqdev::EndsWithNoCase(line, (std::wstring(L"/") + name).c_str());
}

bool ProcessEnded(DWORD dwProcess) {
    CZQHandle process(OpenProcess(SYNCHRONIZE, FALSE, dwProcess));
    return !process || WaitForSingleObject(process.Get(), 0) == WAIT_OBJECT_0;
}

// Forgets the callers that have ended; whether a caller still holds anything.
bool AnyCallerHolds() {
    AcquireSRWLockExclusive(&g_callers.lock);
    std::vector<DWORD> callers;
    for (const auto& held : g_callers.held) callers.push_back(held.first);
    ReleaseSRWLockExclusive(&g_callers.lock);
    std::vector<DWORD> ended;
    for (DWORD caller : callers)
        if (caller && ProcessEnded(caller)) ended.push_back(caller);
    AcquireSRWLockExclusive(&g_callers.lock);
    for (DWORD caller : ended) g_callers.held.erase(caller);
    const bool any = !g_callers.held.empty();
    ReleaseSRWLockExclusive(&g_callers.lock);
    return any;
}

HRESULT HrRegisterClasses(std::vector<DWORD>& cookies) {
    HRESULT hr = S_OK;
    for (size_t i = 0; SUCCEEDED(hr) && i < zqdev::kServer.count; ++i) {
        const zqdev::ServerClass& c = zqdev::kServer.classes[i];
        // The class a test switched off is not offered: its callers find no server.
        if (zqdev::DWSwitch(L"NotRegistered", 0) & c.dwBit) continue;
        auto* factory = new (std::nothrow) zqdev::CFactory(c.create, false);
        if (!factory) return E_OUTOFMEMORY;
        DWORD cookie = 0;
        hr = CoRegisterClassObject(*c.clsid, factory, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE | REGCLS_SUSPENDED,
                                   &cookie);
        factory->Release();
        if (SUCCEEDED(hr)) cookies.push_back(cookie);
    }
    return SUCCEEDED(hr) ? CoResumeClassObjects() : hr;
}

void VRevoke(std::vector<DWORD>& cookies) {
    for (DWORD cookie : cookies) CoRevokeClassObject(cookie);
    cookies.clear();
}

// Some class of this program is still registered as its own.
bool BStillRegistered(const std::wstring& program) {
    for (size_t i = 0; i < zqdev::kServer.count; ++i)
        if (zqdev::BServedBy(*zqdev::kServer.classes[i].clsid, program)) return true;
    return false;
}

// The classes' keys, watched: the event is set when a registration changes.
class CRegistrationWatch {
public:
    CRegistrationWatch() : m_changed(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
        for (size_t i = 0; i < zqdev::kServer.count; ++i) {
            wchar_t guid[40] = {};
            StringFromGUID2(*zqdev::kServer.classes[i].clsid, guid, 40);
            HKEY key = nullptr;
            if (RegOpenKeyExW(HKEY_CLASSES_ROOT, (std::wstring(L"CLSID\\") + guid).c_str(), 0, KEY_NOTIFY, &key) ==
                ERROR_SUCCESS)
                m_keys.emplace_back(key);
        }
        VArm();
    }
    ~CRegistrationWatch() {
        for (HKEY key : m_keys) RegCloseKey(key);
    }
    CRegistrationWatch(const CRegistrationWatch&) = delete;
    CRegistrationWatch& operator=(const CRegistrationWatch&) = delete;
    HANDLE Changed() const { return m_changed.Get(); }
    void VArm() {
        for (HKEY key : m_keys)
            RegNotifyChangeKeyValue(key, TRUE, REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET, m_changed.Get(), TRUE);
    }

private:
    CZQHandle m_changed;
    std::vector<HKEY> m_keys;
};

HRESULT HrServe(const std::wstring& program) {
    HRESULT hr = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (FAILED(hr)) return hr;
    g_callers.changed.Reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    CRegistrationWatch registration;
    std::vector<DWORD> cookies;
    hr = HrRegisterClasses(cookies);
    // Until no caller has held anything for a while: a caller that never comes leaves nothing to
    // wait for either.
    ULONGLONG quietSince = GetTickCount64();
    const HANDLE waits[2] = {g_callers.changed.Get(), registration.Changed()};
    while (SUCCEEDED(hr) && g_callers.changed) {
        if (WaitForMultipleObjects(registration.Changed() ? 2 : 1, waits, FALSE, kLookMs) == WAIT_OBJECT_0 + 1)
            registration.VArm();
        if (!cookies.empty() && !BStillRegistered(program)) VRevoke(cookies);
        if (AnyCallerHolds()) {
            quietSince = GetTickCount64();
            continue;
        }
        AcquireSRWLockShared(&g_callers.lock);
        const bool called = g_callers.called;
        ReleaseSRWLockShared(&g_callers.lock);
        if (!cookies.empty() && GetTickCount64() - quietSince < (called ? kLingerMs : kIdleMs)) continue;
        // No new caller is taken from here on; one that got the class just before is waited for.
        VRevoke(cookies);
        Sleep(kLookMs);
        if (!AnyCallerHolds()) break;
        quietSince = GetTickCount64();
    }
    VRevoke(cookies);
    CoUninitialize();
    return hr;
}

}  // namespace

void zqdev::VModuleAddRef(DWORD dwCaller) {
    AcquireSRWLockExclusive(&g_callers.lock);
    ++g_callers.held[dwCaller];
    g_callers.called = true;
    ReleaseSRWLockExclusive(&g_callers.lock);
}

void zqdev::VModuleRelease(DWORD dwCaller) {
    AcquireSRWLockExclusive(&g_callers.lock);
    const auto it = g_callers.held.find(dwCaller);
    const bool last = it != g_callers.held.end() && --it->second <= 0;
    if (last) g_callers.held.erase(it);
    ReleaseSRWLockExclusive(&g_callers.lock);
    if (last && g_callers.changed) SetEvent(g_callers.changed.Get());
}

DWORD zqdev::DWCurrentCaller() {
    unsigned long caller = 0;
    return I_RpcBindingInqLocalClientPID(nullptr, &caller) == RPC_S_OK ? caller : 0;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    std::wstring line = GetCommandLineW();
    while (!line.empty() && (line.back() == L' ' || line.back() == L'\t')) line.pop_back();
    const std::wstring program = zqdev::ModulePath(nullptr);
    const std::wstring name = program.substr(program.find_last_of(L'\\') + 1);
    HRESULT hr = E_INVALIDARG;
    if (EndsWithSwitch(line, L"Embedding")) return static_cast<int>(HrServe(program));
    if (EndsWithSwitch(line, L"RegServer")) hr = zqdev::HrRegisterServer(zqdev::kServer, program, true, true);
    else if (EndsWithSwitch(line, L"UnregServer")) hr = zqdev::HrRegisterServer(zqdev::kServer, program, false, true);
    zqdev::VLog(name + L" " + line.substr(line.find_last_of(L' ') + 1) + L" = " + zqdev::HrText(hr));
    return static_cast<int>(hr);
}
