// What the device-server stand-ins share: the call log, the switches, finding a printer's device
// script, class registration, the module's exports and the objects' reference counting.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <new>
#include <string>

#include "zqdevrecord.h"
#include "zqstandinlog.h"
#include "zqstandinprinter.h"

namespace zqdev {

// Appends one line to the call log; callers on several threads or processes take turns.
void VLog(const std::wstring& line);
// "0x80004005"
std::wstring HrText(HRESULT hr);
using zqstandin::Quoted;

// A switch of the record key; the fall-back when it is missing.
DWORD DWSwitch(LPCWSTR pszName, DWORD dwDefault);

// The device script of a printer: the path named under the scripts key, else the driver's dependent
// file with that ending. Empty when the printer has none.
std::wstring ScriptPathFor(LPCWSTR pszPrinterName, LPCWSTR pszScriptsKey = kZQDevScriptsKey,
                           LPCWSTR pszEnding = L".zqd");

using zqstandin::EndsWithNoCase;
using zqstandin::ModulePath;

// Objects and locks alive in this module, each counted for the caller it was made for: a library
// may unload when there are none (DllCanUnloadNow); a program ends once no caller that is still
// running holds any (a caller that died holding objects never gives them back).
void VModuleAddRef(DWORD dwCaller);
void VModuleRelease(DWORD dwCaller);
// The process whose call this thread is serving (a program's callers); 0 in a library, and outside
// a call.
DWORD DWCurrentCaller();

// One class a server module serves.
struct ServerClass {
    const CLSID* clsid;
    DWORD dwBit;  // its "NotRegistered" bit
    const wchar_t* description;
    HRESULT (*create)(REFIID iid, void** ppv);
};

// What a module serves; each server module defines kServer.
struct ServerInfo {
    const wchar_t* name;
    const ServerClass* classes;
    size_t count;
};
extern const ServerInfo kServer;

// The class in the prefix's registry: served in-process by the library at path (threading model
// Both: callers come from the multithreaded apartment and from sheet threads alike), or by the
// program at path as a local server. Either kind replaces the other.
HRESULT HrRegisterClass(const ServerClass& c, const std::wstring& path, bool bLocalServer);
HRESULT HrUnregisterClass(REFCLSID clsid);
// Every class of the server registered from the module at path, or removed; the first failure ends it.
HRESULT HrRegisterServer(const ServerInfo& server, const std::wstring& path, bool bRegister, bool bLocalServer);
// The class is registered as served by the program at path.
bool BServedBy(REFCLSID clsid, const std::wstring& path);

// Reference counting of the stand-ins' objects, and their creation and destruction lines in the
// log (none without a name).
template <typename I>
class CObject : public I {
public:
    // An object that does not count keeps neither a library nor a program alive (a program's own
    // class factories).
    CObject(const wchar_t* pszName, REFIID iid, bool bCounted = true)
        : m_name(pszName ? pszName : L""), m_iid(iid), m_bCounted(bCounted), m_dwCaller(DWCurrentCaller()) {
        if (m_bCounted) VModuleAddRef(m_dwCaller);
        if (!m_name.empty()) VLog(m_name + L".Create()");
    }
    virtual ~CObject() {
        if (!m_name.empty()) VLog(m_name + L".Destroy()");
        if (m_bCounted) VModuleRelease(m_dwCaller);
    }
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;

    STDMETHODIMP QueryInterface(REFIID iid, void** ppv) override {
        if (!ppv) return E_POINTER;
        if (iid == IID_IUnknown || iid == m_iid || BOtherInterface(iid)) {
            *ppv = static_cast<I*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&m_refs)); }
    STDMETHODIMP_(ULONG) Release() override {
        const LONG refs = InterlockedDecrement(&m_refs);
        if (refs == 0) delete this;
        return static_cast<ULONG>(refs);
    }

    // Makes one object of T and hands out the interface asked for.
    template <typename T>
    static HRESULT HrCreate(REFIID iid, void** ppv) {
        auto* object = new (std::nothrow) T();
        if (!object) return E_OUTOFMEMORY;
        const HRESULT hr = object->QueryInterface(iid, ppv);
        object->Release();
        return hr;
    }

protected:
    // A further identity of the object (the list's own, for the channel).
    virtual bool BOtherInterface(REFIID) { return false; }
    // "<object>.<Method>(<arguments>) = <result><answer>" in the log; answers the result.
    HRESULT HrLogged(const std::wstring& call, HRESULT hr, const std::wstring& answer = std::wstring()) {
        VLog(m_name + L"." + call + L" = " + HrText(hr) + answer);
        return hr;
    }
    HRESULT Unused(int slot) { return HrLogged(L"Unused" + std::to_wstring(slot) + L"()", E_NOTIMPL); }

private:
    std::wstring m_name;
    IID m_iid;
    bool m_bCounted;
    DWORD m_dwCaller;  // the process the object was made for
    LONG m_refs = 1;
};

// The class factory of one class; LockServer counts like an object.
class CFactory final : public CObject<IClassFactory> {
public:
    CFactory(HRESULT (*create)(REFIID, void**), bool bCounted)
        : CObject(nullptr, IID_IClassFactory, bCounted), m_create(create) {}

    STDMETHODIMP CreateInstance(IUnknown* pOuter, REFIID iid, void** ppv) override {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (pOuter) return CLASS_E_NOAGGREGATION;
        return m_create(iid, ppv);
    }
    STDMETHODIMP LockServer(BOOL fLock) override {
        if (fLock)
            VModuleAddRef(DWCurrentCaller());
        else
            VModuleRelease(DWCurrentCaller());
        return S_OK;
    }

private:
    HRESULT (*m_create)(REFIID, void**);
};

}  // namespace zqdev
