#include "device/zqservercall.h"

#include <objbase.h>

#include <new>

#include "common/zqhandles.h"
#include "common/zqstrings.h"
#include "common/zqtrace.h"
#include "platform/zqdeviceservers.h"

namespace {

// Creations tried again after the first, while the server keeps going away under them, and the
// pause before the first of them (doubled before each further one).
constexpr int kCreateRetries = 3;
constexpr DWORD kRetryPauseMs = 50;

// One call, shared by the caller and the call's thread; whichever lets go last frees it.
struct Call {
    LONG refs = 2;
    CLSID clsid = {};
    IID iid = {};
    bool check = false;  // the agent's device check after the creation
    CZQLocalPtr<WCHAR> printer, port;
    CZQHandle done;
    HMODULE module = nullptr;  // a reference of the call's thread's own
    HRESULT hr = E_FAIL;
    bool created = false;
    DWORD answers = 0;
    void Release() {
        if (InterlockedDecrement(&refs) == 0) delete this;
    }
};

// The class is registered with a program as its server.
bool HasLocalServer(REFCLSID clsid) {
    WCHAR guid[40] = {}, key[64] = {};
    StringFromGUID2(clsid, guid, 40);
    ZQFormatText(key, ARRAYSIZE(key), L"CLSID\\%ls\\LocalServer32", guid);
    CZQRegKey server;
    return RegOpenKeyExW(HKEY_CLASSES_ROOT, key, 0, KEY_READ, server.Put()) == ERROR_SUCCESS;
}

// The server ended while this call reached it (it had taken its class off, or went): a new one
// starts on the next try.
bool ServerWentAway(REFCLSID clsid, HRESULT hr) {
    switch (hr) {
        case REGDB_E_CLASSNOTREG:
            return HasLocalServer(clsid);
        case RPC_E_DISCONNECTED:
        case RPC_E_SERVER_DIED:
        case RPC_E_SERVER_DIED_DNE:
        case CO_E_OBJNOTCONNECTED:
        case CO_E_SERVER_STOPPING:
        case HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE):
        case HRESULT_FROM_WIN32(RPC_S_CALL_FAILED):
        case HRESULT_FROM_WIN32(RPC_S_CALL_FAILED_DNE):
            return true;
        default:
            return false;
    }
}

void Run(Call& call) {
    CZQComPtr<IUnknown> object;
    call.hr = ZQCreateDeviceServer(call.clsid, call.iid, object.PutVoid());
    for (int retry = 0; retry < kCreateRetries && ServerWentAway(call.clsid, call.hr); ++retry) {
        object.Reset();
        // A server in the middle of ending is given the moment it needs.
        Sleep(kRetryPauseMs << retry);
        call.hr = ZQCreateDeviceServer(call.clsid, call.iid, object.PutVoid());
    }
    if (SUCCEEDED(call.hr) && !object) call.hr = E_NOINTERFACE;
    call.created = SUCCEEDED(call.hr);
    if (!call.created || !call.check) return;
    DWORD second = 0;
    call.hr = static_cast<IZQDeviceAgent*>(object.Get())->CheckDevice(call.printer.Get(), call.port.Get(),
                                                                       &call.answers, &second);
}

DWORD WINAPI CallThread(void* pParam) {
    Call* call = static_cast<Call*>(pParam);
    const HMODULE module = call->module;
    const HRESULT init = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (SUCCEEDED(init)) {
        Run(*call);
        CoUninitialize();
    } else {
        call->hr = init;
    }
    SetEvent(call->done.Get());
    call->Release();
    if (module) FreeLibraryAndExitThread(module, 0);
    return 0;
}

// Starts the call's thread and waits for it within the limit; the call is the caller's to release.
HRESULT HrRun(Call* call, DWORD dwLimitMs) {
    call->done.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!call->done) return HRESULT_FROM_WIN32(GetLastError());
    // The thread may outlive the caller's wait: it keeps the module loaded while it runs.
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&CallThread), &call->module);
    CZQHandle thread(CreateThread(nullptr, 0, &CallThread, call, 0, nullptr));
    if (!thread) {
        const DWORD error = GetLastError();
        if (call->module) FreeLibrary(call->module);
        call->Release();  // the thread's share
        return HRESULT_FROM_WIN32(error);
    }
    HANDLE done = call->done.Get();
    DWORD index = 0;
    HRESULT wait = CoWaitForMultipleHandles(0, dwLimitMs, 1, &done, &index);
    if (wait == CO_E_NOTINITIALIZED)
        wait = WaitForSingleObject(done, dwLimitMs) == WAIT_OBJECT_0 ? S_OK : RPC_S_CALLPENDING;
    if (wait == RPC_S_CALLPENDING) {
        zqtrace::Line(L"zqserver: a device server did not answer in time; its call is left to its thread\n");
        return RPC_E_TIMEOUT;
    }
    return FAILED(wait) ? wait : call->hr;
}

Call* NewCall(REFCLSID clsid, REFIID iid) {
    Call* call = new (std::nothrow) Call();
    if (!call) return nullptr;
    call->clsid = clsid;
    call->iid = iid;
    return call;
}

}  // namespace

namespace zqserver {

HRESULT HrTryCreate(REFCLSID clsid, REFIID iid, DWORD dwLimitMs) {
    Call* call = NewCall(clsid, iid);
    if (!call) return E_OUTOFMEMORY;
    const HRESULT hr = HrRun(call, dwLimitMs);
    call->Release();
    return hr;
}

HRESULT HrCheckDevice(PCWSTR pszPrinter, PCWSTR pszPort, DWORD* pdwAnswers, bool* pbCreated, DWORD dwLimitMs) {
    if (pdwAnswers) *pdwAnswers = 0;
    if (pbCreated) *pbCreated = false;
    if (!pdwAnswers || !pbCreated) return E_POINTER;
    Call* call = NewCall(CLSID_ZQDeviceAgent, IID_IZQDeviceAgent);
    if (!call) return E_OUTOFMEMORY;
    call->check = true;
    if (pszPrinter) call->printer.Reset(ZQDupText(pszPrinter));
    if (pszPort) call->port.Reset(ZQDupText(pszPort));
    if ((pszPrinter && !call->printer) || (pszPort && !call->port)) {
        call->Release();
        call->Release();
        return E_OUTOFMEMORY;
    }
    const HRESULT hr = HrRun(call, dwLimitMs);
    // A call that did not end in time counts as made: its server exists but does not answer.
    *pbCreated = hr == RPC_E_TIMEOUT || call->created;
    if (hr != RPC_E_TIMEOUT) *pdwAnswers = call->answers;
    call->Release();
    return hr;
}

}  // namespace zqserver
