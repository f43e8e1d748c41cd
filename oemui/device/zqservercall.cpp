#include "device/zqservercall.h"

#include <objbase.h>

#include <mutex>
#include <new>
#include <vector>

#include "common/zqhandles.h"
#include "common/zqstrings.h"
#include "common/zqtrace.h"
#include "common/zqwait.h"
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
    void AddRef() { InterlockedIncrement(&refs); }
    void Release() {
        if (InterlockedDecrement(&refs) == 0) delete this;
    }
    bool Ended() const { return WaitForSingleObject(done.Get(), 0) == WAIT_OBJECT_0; }
};

// Calls that outlived their limit and still wait in their server. While one of a class waits, no new
// call of that class is started: each would only wait its whole limit again and leave one more
// thread blocked in the same server. They answer "not answering" at once until it ends.
class CStuckCalls {
public:
    CStuckCalls() = default;
    CStuckCalls(const CStuckCalls&) = delete;
    CStuckCalls& operator=(const CStuckCalls&) = delete;
    ~CStuckCalls() {
        for (Call* call : m_calls) call->Release();
    }
    // A call of the class still waits; those that ended are let go.
    bool BWaiting(REFCLSID clsid) {
        std::lock_guard<std::mutex> hold(m_lock);
        bool waiting = false;
        for (auto it = m_calls.begin(); it != m_calls.end();) {
            if ((*it)->Ended()) {
                (*it)->Release();
                it = m_calls.erase(it);
                continue;
            }
            waiting = waiting || IsEqualCLSID((*it)->clsid, clsid);
            ++it;
        }
        return waiting;
    }
    void VAdd(Call* call) {
        std::lock_guard<std::mutex> hold(m_lock);
        try {
            m_calls.push_back(call);
            call->AddRef();
        } catch (const std::bad_alloc&) {
            // Not remembered: the next call of its class is started and waits its limit.
        }
    }

private:
    std::mutex m_lock;
    std::vector<Call*> m_calls;
};

CStuckCalls& StuckCalls() {
    static CStuckCalls calls;
    return calls;
}

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
    // A call that starts no thread lets go of the thread's share at once.
    if (StuckCalls().BWaiting(call->clsid)) {
        zqtrace::Line(L"zqserver: an earlier call of this device server still waits; not started again\n");
        call->Release();
        return RPC_E_TIMEOUT;
    }
    call->done.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!call->done) {
        const DWORD error = GetLastError();
        call->Release();
        return HRESULT_FROM_WIN32(error);
    }
    // The thread may outlive the caller's wait: it keeps the module loaded while it runs.
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&CallThread), &call->module);
    CZQHandle thread(CreateThread(nullptr, 0, &CallThread, call, 0, nullptr));
    if (!thread) {
        const DWORD error = GetLastError();
        if (call->module) FreeLibrary(call->module);
        call->Release();
        return HRESULT_FROM_WIN32(error);
    }
    const DWORD wait = ZQWaitAnsweringPaint(call->done.Get(), dwLimitMs);
    if (wait == WAIT_FAILED) return HRESULT_FROM_WIN32(GetLastError());
    if (wait != WAIT_OBJECT_0) {
        zqtrace::Line(L"zqserver: a device server did not answer in time; its call is left to its thread\n");
        StuckCalls().VAdd(call);
        return RPC_E_TIMEOUT;
    }
    return call->hr;
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
