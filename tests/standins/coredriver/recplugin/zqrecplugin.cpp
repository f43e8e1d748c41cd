// zqrecplugin.dll: a UI plug-in for the host tests. It records every call the core driver makes,
// one line each, and forwards the call to zqoemui.dll beside it, so the tests see the calling
// order and zqoemui.dll still does its work.
//   ZQREC_LOG        file the lines are appended to
//   ZQREC_FAIL       methods answered with E_FAIL instead of being forwarded ("DevMode,CommonUIProp")
//   ZQREC_PROBE      features read in the CommonUIProp fill pass through the callback table and the
//                    published interface ("Orientation,NoSuchFeature")
//   ZQREC_ROUNDTRIP  a feature whose item is set to option 1, reported, read back and restored
//   ZQREC_ITEM       when set, one own option item "ZQRecItem" whose callback is recorded
//   ZQREC_GROW       when set, the fill pass claims more items than the count pass asked for
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "zqowner.h"
#include "zqproc.h"
#include "zqoemcontract.h"

namespace {

HMODULE g_self = nullptr;
volatile LONG g_objects = 0;

std::string Env(const char* name) {
    char buf[1024] = {};
    DWORD n = GetEnvironmentVariableA(name, buf, sizeof buf);
    return n && n < sizeof buf ? std::string(buf, n) : std::string();
}

void Log(const std::string& line) {
    const std::string path = Env("ZQREC_LOG");
    if (path.empty()) return;
    CZQHandle file(CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    const std::string text = line + "\n";
    DWORD written = 0;
    WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

std::vector<std::string> List(const char* name) {
    std::vector<std::string> out;
    std::string s = Env(name);
    size_t start = 0;
    while (start < s.size()) {
        size_t comma = s.find(',', start);
        if (comma == std::string::npos) comma = s.size();
        if (comma > start) out.push_back(s.substr(start, comma - start));
        start = comma + 1;
    }
    return out;
}

bool Fails(const char* method) {
    for (const auto& m : List("ZQREC_FAIL"))
        if (m == method) return true;
    return false;
}

std::string Hex(HRESULT hr) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08lX", static_cast<unsigned long>(hr));
    return buf;
}

const char* DevModeName(DWORD mode) {
    switch (mode) {
        case OEMDM_SIZE: return "SIZE";
        case OEMDM_DEFAULT: return "DEFAULT";
        case OEMDM_CONVERT: return "CONVERT";
        case OEMDM_MERGE: return "MERGE";
        default: return "?";
    }
}

const char* ReasonName(WORD reason) {
    switch (reason) {
        case PROPSHEETUI_REASON_INIT: return "INIT";
        case PROPSHEETUI_REASON_DESTROY: return "DESTROY";
        case PROPSHEETUI_REASON_SET_RESULT: return "SET_RESULT";
        default: return "?";
    }
}

class CZQRecorder;
CZQRecorder* g_current = nullptr;

class CZQRecorder;
// The interface as the core driver sees it, leading back to its recorder.
struct RecorderFace {
    IPrintOemUI2 iface;
    CZQRecorder* self;
};
extern const IPrintOemUI2Vtbl kRecorderVtbl;

class CZQRecorder {
public:
    CZQRecorder() {
        m_face.iface.lpVtbl = &kRecorderVtbl;
        m_face.self = this;
        InterlockedIncrement(&g_objects);
        WCHAR path[MAX_PATH] = {};
        GetModuleFileNameW(g_self, path, MAX_PATH);
        std::wstring dir(path);
        dir = dir.substr(0, dir.find_last_of(L"\\/"));
        m_inner.Reset(LoadLibraryW((dir + L"\\zqoemui.dll").c_str()));
        using PFN = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, LPVOID*);
        auto get = ZQGetProc<PFN>(m_inner.Get(), "DllGetClassObject");
        IClassFactory* factory = nullptr;
        if (get && SUCCEEDED(get(CLSID_OEMUI, IID_IClassFactory, reinterpret_cast<void**>(&factory))) && factory) {
            factory->CreateInstance(nullptr, IID_IPrintOemUI2, reinterpret_cast<void**>(&m_ui));
            factory->Release();
        }
        g_current = this;
    }
    ~CZQRecorder() {
        if (g_current == this) g_current = nullptr;
        if (m_driverUI) m_driverUI->lpVtbl->Release(m_driverUI);
        if (m_ui) m_ui->lpVtbl->Release(m_ui);
        InterlockedDecrement(&g_objects);
    }

    HRESULT QueryInterface(REFIID riid, void** ppv) {
        if (!ppv) return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IPrintOemUI) || IsEqualIID(riid, IID_IPrintOemUI2)) {
            *ppv = &m_face.iface;
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() { return static_cast<ULONG>(InterlockedIncrement(&m_cRef)); }
    ULONG Release() {
        LONG n = InterlockedDecrement(&m_cRef);
        if (n == 0) {
            Log("Release");
            delete this;
        }
        return static_cast<ULONG>(n);
    }

    HRESULT PublishDriverInterface(IUnknown* p) {
        Log("PublishDriverInterface");
        if (Fails("PublishDriverInterface")) return E_FAIL;
        if (p && !m_driverUI) p->QueryInterface(IID_IPrintOemDriverUI, reinterpret_cast<void**>(&m_driverUI));
        return m_ui ? m_ui->lpVtbl->PublishDriverInterface(m_ui, p) : E_FAIL;
    }
    HRESULT GetInfo(DWORD mode, PVOID buf, DWORD cb, PDWORD needed) {
        Log("GetInfo(" + std::to_string(mode) + ")");
        if (Fails("GetInfo")) return E_FAIL;
        return m_ui ? m_ui->lpVtbl->GetInfo(m_ui, mode, buf, cb, needed) : E_FAIL;
    }
    HRESULT DevMode(DWORD mode, POEMDMPARAM p) {
        Log(std::string("DevMode(") + DevModeName(mode) + ")");
        if (Fails("DevMode")) return E_FAIL;
        return m_ui ? m_ui->lpVtbl->DevMode(m_ui, mode, p) : E_FAIL;
    }
    HRESULT CommonUIProp(DWORD mode, POEMCUIPPARAM p);
    HRESULT DocumentPropertySheets(PPROPSHEETUI_INFO info, LPARAM lParam) {
        return Sheets("DocumentPropertySheets", info, lParam, true);
    }
    HRESULT DevicePropertySheets(PPROPSHEETUI_INFO info, LPARAM lParam) {
        return Sheets("DevicePropertySheets", info, lParam, false);
    }
    HRESULT DevQueryPrintEx(POEMUIOBJ o, PDEVQUERYPRINT_INFO i, PDEVMODEW d, PVOID e) {
        Log("DevQueryPrintEx");
        return m_ui ? m_ui->lpVtbl->DevQueryPrintEx(m_ui, o, i, d, e) : E_NOTIMPL;
    }
    HRESULT DeviceCapabilities(POEMUIOBJ o, HANDLE h, PWSTR n, WORD cap, PVOID out, PDEVMODEW d, PVOID e,
                                    DWORD old, DWORD* result) {
        Log("DeviceCapabilities(" + std::to_string(cap) + "," + std::to_string(old) + ")");
        return m_ui ? m_ui->lpVtbl->DeviceCapabilities(m_ui, o, h, n, cap, out, d, e, old, result) : E_NOTIMPL;
    }
    HRESULT UpgradePrinter(DWORD level, PBYTE info) {
        Log("UpgradePrinter(" + std::to_string(level) + ")");
        return m_ui ? m_ui->lpVtbl->UpgradePrinter(m_ui, level, info) : E_NOTIMPL;
    }
    HRESULT PrinterEvent(PWSTR name, INT event, DWORD flags, LPARAM lParam) {
        Log("PrinterEvent(" + std::to_string(event) + ")");
        return m_ui ? m_ui->lpVtbl->PrinterEvent(m_ui, name, event, flags, lParam) : E_NOTIMPL;
    }
    HRESULT DriverEvent(DWORD event, DWORD level, LPBYTE info, LPARAM lParam) {
        Log("DriverEvent(" + std::to_string(event) + "," + std::to_string(level) + ")");
        return m_ui ? m_ui->lpVtbl->DriverEvent(m_ui, event, level, info, lParam) : E_NOTIMPL;
    }
    HRESULT QueryColorProfile(HANDLE h, POEMUIOBJ o, PDEVMODEW d, PVOID e, ULONG m, VOID* p, ULONG* cb,
                                   FLONG* fl) {
        Log("QueryColorProfile");
        return m_ui ? m_ui->lpVtbl->QueryColorProfile(m_ui, h, o, d, e, m, p, cb, fl) : E_NOTIMPL;
    }
    HRESULT FontInstallerDlgProc(HWND h, UINT m, WPARAM w, LPARAM l) {
        return m_ui ? m_ui->lpVtbl->FontInstallerDlgProc(m_ui, h, m, w, l) : E_NOTIMPL;
    }
    HRESULT UpdateExternalFonts(HANDLE h, HANDLE heap, PWSTR c) {
        Log("UpdateExternalFonts");
        return m_ui ? m_ui->lpVtbl->UpdateExternalFonts(m_ui, h, heap, c) : E_NOTIMPL;
    }
    HRESULT QueryJobAttributes(HANDLE h, PDEVMODEW d, DWORD level, LPBYTE info) {
        Log("QueryJobAttributes(" + std::to_string(level) + ")");
        return m_ui ? m_ui->lpVtbl->QueryJobAttributes(m_ui, h, d, level, info) : E_NOTIMPL;
    }
    HRESULT HideStandardUI(DWORD mode) {
        Log("HideStandardUI(" + std::to_string(mode) + ")");
        if (Fails("HideStandardUI")) return E_FAIL;
        if (!Env("ZQREC_HIDE").empty()) return S_OK;
        return m_ui ? m_ui->lpVtbl->HideStandardUI(m_ui, mode) : E_NOTIMPL;
    }
    HRESULT DocumentEvent(HANDLE h, HDC dc, INT esc, ULONG cbIn, PVOID in, ULONG cbOut, PVOID out,
                               PINT result) {
        Log("DocumentEvent(" + std::to_string(esc) + ")");
        return m_ui ? m_ui->lpVtbl->DocumentEvent(m_ui, h, dc, esc, cbIn, in, cbOut, out, result) : E_NOTIMPL;
    }

    static LONG APIENTRY Callback(PCPSUICBPARAM p, POEMCUIPPARAM cuip) {
        CZQRecorder* self = g_current;
        std::string item = "?";
        if (p && p->pCurItem && p->pCurItem->pName && !IS_INTRESOURCE(p->pCurItem->pName)) {
            std::wstring w(p->pCurItem->pName);
            item.assign(w.begin(), w.end());
        }
        Log("Callback(" + std::to_string(p ? p->Reason : -1) + "," + item + "," +
            std::to_string(p && p->pCurItem ? p->pCurItem->Sel : -1) + ")");
        if (self && self->m_innerCallback) return self->m_innerCallback(p, cuip);
        return CPSUICB_ACTION_NONE;
    }

private:
    HRESULT Sheets(const char* name, PPROPSHEETUI_INFO info, LPARAM lParam, bool doc) {
        const WORD reason = info ? info->Reason : 0xFFFF;
        std::string line = std::string(name) + "(" + ReasonName(reason);
        if (reason == PROPSHEETUI_REASON_DESTROY) line += "," + std::to_string(lParam);
        Log(line + ")");
        if (Fails(name)) return E_FAIL;
        if (!m_ui) return E_NOTIMPL;
        return doc ? m_ui->lpVtbl->DocumentPropertySheets(m_ui, info, lParam) : m_ui->lpVtbl->DevicePropertySheets(m_ui, info, lParam);
    }

    void Probe(POEMCUIPPARAM p);

    RecorderFace m_face = {};
    volatile LONG m_cRef = 1;
    CZQModule m_inner;
    IPrintOemUI2* m_ui = nullptr;
    IPrintOemDriverUI* m_driverUI = nullptr;
    DWORD m_innerCount = 0;
    OEMCUIPCALLBACK m_innerCallback = nullptr;
};

void CZQRecorder::Probe(POEMCUIPPARAM p) {
    POEMUIOBJ obj = p->poemuiobj;
    if (!obj || !obj->pOemUIProcs) return;
    for (const auto& f : List("ZQREC_PROBE")) {
        DWORD needed = 0, count = 0;
        SetLastError(0);
        BOOL ok = obj->pOemUIProcs->DrvGetDriverSetting(obj, f.c_str(), nullptr, 0, &needed, &count);
        const DWORD sizeError = GetLastError();
        char buf[260] = {};
        SetLastError(0);
        ok = obj->pOemUIProcs->DrvGetDriverSetting(obj, f.c_str(), buf, sizeof buf, &needed, &count);
        if (ok) {
            Log("probe " + f + " = " + buf + " (size " + std::to_string(needed) + ", probe error " +
                std::to_string(sizeError) + ")");
        } else {
            Log("probe " + f + " failed " + std::to_string(GetLastError()));
        }
        if (m_driverUI) {
            char out[260] = {};
            HRESULT hr = m_driverUI->lpVtbl->DrvGetDriverSetting(m_driverUI, obj, f.c_str(), out, sizeof out, &needed, &count);
            Log("probe-com " + f + (SUCCEEDED(hr) ? " = " + std::string(out) : " hr=" + Hex(hr)));
        }
    }
    const std::string target = Env("ZQREC_ROUNDTRIP");
    if (target.empty()) return;
    for (DWORD i = 0; i < p->cDrvOptItems; ++i) {
        OPTITEM& it = p->pDrvOptItems[i];
        auto* ud = reinterpret_cast<USERDATA*>(it.UserData);
        if (!ud || !ud->pKeyWordName || target != ud->pKeyWordName) continue;
        char before[260] = {}, after[260] = {}, restored[260] = {};
        DWORD needed = 0, count = 0;
        obj->pOemUIProcs->DrvGetDriverSetting(obj, target.c_str(), before, sizeof before, &needed, &count);
        const LONG old = it.Sel;
        it.Sel = 1;
        it.Flags |= OPTIF_CHANGED;
        BOOL update = obj->pOemUIProcs->DrvUpdateUISetting(obj, &it, static_cast<DWORD>(old), OEMCUIP_DOCPROP);
        obj->pOemUIProcs->DrvGetDriverSetting(obj, target.c_str(), after, sizeof after, &needed, &count);
        it.Sel = old;
        obj->pOemUIProcs->DrvUpdateUISetting(obj, &it, 1, OEMCUIP_DOCPROP);
        obj->pOemUIProcs->DrvGetDriverSetting(obj, target.c_str(), restored, sizeof restored, &needed, &count);
        Log("roundtrip " + target + " " + before + " -> " + after + " update=" + std::to_string(update) +
            " restored=" + restored);
        return;
    }
    Log("roundtrip " + target + " no item");
}

HRESULT CZQRecorder::CommonUIProp(DWORD mode, POEMCUIPPARAM p) {
    const bool count = p && !p->pOEMOptItems;
    Log("CommonUIProp(" + std::to_string(mode) + "," + (count ? "count" : "fill") + "," +
        std::to_string(p ? p->cDrvOptItems : 0) + ")");
    if (Fails("CommonUIProp") || !p) return E_FAIL;
    const bool ownItem = !Env("ZQREC_ITEM").empty();
    if (count) {
        HRESULT hr = m_ui ? m_ui->lpVtbl->CommonUIProp(m_ui, mode, p) : E_NOTIMPL;
        m_innerCount = SUCCEEDED(hr) ? p->cOEMOptItems : 0;
        if (FAILED(hr) && !ownItem) return hr;
        p->cOEMOptItems = m_innerCount + (ownItem ? 1 : 0);
        return S_OK;
    }
    // The inner plug-in fills its own items first.
    const DWORD total = p->cOEMOptItems;
    p->cOEMOptItems = m_innerCount;
    HRESULT hr = m_ui ? m_ui->lpVtbl->CommonUIProp(m_ui, mode, p) : E_NOTIMPL;
    if (FAILED(hr) && hr != E_NOTIMPL) return hr;
    Probe(p);
    if (!ownItem || total < m_innerCount + 1) return FAILED(hr) ? hr : S_OK;
    m_innerCallback = p->OEMCUIPCallback;
    OPTITEM& it = p->pOEMOptItems[m_innerCount];
    HANDLE heap = p->hOEMHeap;
    auto* ud = static_cast<USERDATA*>(HeapAlloc(heap, HEAP_ZERO_MEMORY, sizeof(USERDATA)));
    auto* type = static_cast<POPTTYPE>(HeapAlloc(heap, HEAP_ZERO_MEMORY, sizeof(OPTTYPE)));
    auto* params = static_cast<POPTPARAM>(HeapAlloc(heap, HEAP_ZERO_MEMORY, 2 * sizeof(OPTPARAM)));
    auto* keyword = static_cast<char*>(HeapAlloc(heap, HEAP_ZERO_MEMORY, 16));
    if (!ud || !type || !params || !keyword) return E_OUTOFMEMORY;
    lstrcpynA(keyword, "ZQRecItem", 16);
    ud->dwSize = sizeof(USERDATA);
    ud->pKeyWordName = keyword;
    params[0].cbSize = params[1].cbSize = sizeof(OPTPARAM);
    params[0].pData = const_cast<LPWSTR>(L"First");
    params[1].pData = const_cast<LPWSTR>(L"Second");
    type->cbSize = sizeof(OPTTYPE);
    type->Type = TVOT_LISTBOX;
    type->Count = 2;
    type->pOptParam = params;
    it.cbSize = sizeof(OPTITEM);
    it.Level = 1;
    it.Flags = OPTIF_CALLBACK;
    it.UserData = reinterpret_cast<ULONG_PTR>(ud);
    it.pName = const_cast<LPWSTR>(L"Recorder Item");
    it.Sel = 0;
    it.pOptType = type;
    it.DMPubID = DMPUB_USER + 20;
    p->cOEMOptItems = m_innerCount + 1 + (Env("ZQREC_GROW").empty() ? 0 : 5);
    p->OEMCUIPCallback = Callback;
    return S_OK;
}

// The recorder's methods behind the interface table, in the table's order.
template <typename T, T M>
struct Thunk;
template <typename R, typename... A, R (CZQRecorder::*M)(A...)>
struct Thunk<R (CZQRecorder::*)(A...), M> {
    static R STDMETHODCALLTYPE Call(IPrintOemUI2* face, A... args) {
        return (reinterpret_cast<RecorderFace*>(face)->self->*M)(args...);
    }
};
#define ZQ_THUNK(method) &Thunk<decltype(&CZQRecorder::method), &CZQRecorder::method>::Call
const IPrintOemUI2Vtbl kRecorderVtbl = {
    ZQ_THUNK(QueryInterface),       ZQ_THUNK(AddRef),           ZQ_THUNK(Release),
    ZQ_THUNK(GetInfo),              ZQ_THUNK(DevMode),          ZQ_THUNK(PublishDriverInterface),
    ZQ_THUNK(CommonUIProp),         ZQ_THUNK(DocumentPropertySheets), ZQ_THUNK(DevicePropertySheets),
    ZQ_THUNK(DevQueryPrintEx),      ZQ_THUNK(DeviceCapabilities), ZQ_THUNK(UpgradePrinter),
    ZQ_THUNK(PrinterEvent),         ZQ_THUNK(DriverEvent),      ZQ_THUNK(QueryColorProfile),
    ZQ_THUNK(FontInstallerDlgProc), ZQ_THUNK(UpdateExternalFonts), ZQ_THUNK(QueryJobAttributes),
    ZQ_THUNK(HideStandardUI),       ZQ_THUNK(DocumentEvent),
};
#undef ZQ_THUNK

class CZQRecFactory final : public IClassFactory {
public:
    HRESULT QueryInterface(REFIID riid, void** ppv) {
        if (!ppv) return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
            *ppv = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() { return static_cast<ULONG>(InterlockedIncrement(&m_cRef)); }
    ULONG Release() {
        LONG n = InterlockedDecrement(&m_cRef);
        if (n == 0) delete this;
        return static_cast<ULONG>(n);
    }
    HRESULT CreateInstance(IUnknown* outer, REFIID riid, void** ppv) {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        auto* rec = new CZQRecorder();
        HRESULT hr = rec->QueryInterface(riid, ppv);
        rec->Release();
        return hr;
    }
    HRESULT LockServer(BOOL) { return S_OK; }

private:
    volatile LONG m_cRef = 1;
};

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_self = hInstance;
        DisableThreadLibraryCalls(hInstance);
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (!IsEqualCLSID(rclsid, CLSID_OEMUI)) return CLASS_E_CLASSNOTAVAILABLE;
    auto* f = new CZQRecFactory();
    HRESULT hr = f->QueryInterface(riid, ppv);
    f->Release();
    return hr;
}

STDAPI DllCanUnloadNow() { return g_objects == 0 ? S_OK : S_FALSE; }

}  // extern "C"
