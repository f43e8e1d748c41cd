#include "zqplugin.h"

#include <new>

#include "zqproc.h"
#include "zqsession.h"

namespace {

using PFN_GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, LPVOID*);

// ---- the helper interface's table
ZQDriverUIObject* Self(IPrintOemDriverUI* p) { return reinterpret_cast<ZQDriverUIObject*>(p); }

HRESULT STDMETHODCALLTYPE DuiQueryInterface(IPrintOemDriverUI* self, REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IPrintOemDriverUI)) {
        *ppv = self;
        self->lpVtbl->AddRef(self);
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE DuiAddRef(IPrintOemDriverUI* self) {
    return static_cast<ULONG>(InterlockedIncrement(&Self(self)->cRef));
}

ULONG STDMETHODCALLTYPE DuiRelease(IPrintOemDriverUI* self) {
    const LONG n = InterlockedDecrement(&Self(self)->cRef);
    if (n == 0) delete Self(self);
    return static_cast<ULONG>(n);
}

HRESULT STDMETHODCALLTYPE DuiGetDriverSetting(IPrintOemDriverUI*, PVOID pci, PCSTR feature, PVOID output, DWORD cb,
                                              PDWORD needed, PDWORD options) {
    return ZQProcGetDriverSetting(pci, feature, output, cb, needed, options) ? S_OK : E_FAIL;
}

HRESULT STDMETHODCALLTYPE DuiUpgradeRegistrySetting(IPrintOemDriverUI*, HANDLE printer, PCSTR feature, PCSTR option) {
    return CZQHostSession::HrUpgradeRegistrySetting(printer, feature, option);
}

HRESULT STDMETHODCALLTYPE DuiUpdateUISetting(IPrintOemDriverUI*, PVOID pci, PVOID item, DWORD previous, DWORD mode) {
    return ZQProcUpdateUISetting(pci, item, previous, mode) ? S_OK : E_FAIL;
}

const IPrintOemDriverUIVtbl kDriverUIVtbl = {DuiQueryInterface,   DuiAddRef,                 DuiRelease,
                                             DuiGetDriverSetting, DuiUpgradeRegistrySetting, DuiUpdateUISetting};

}  // namespace

IPrintOemDriverUI* ZQCreateDriverUI() {
    auto* object = new (std::nothrow) ZQDriverUIObject();
    if (!object) return nullptr;
    object->iface.lpVtbl = &kDriverUIVtbl;
    object->cRef = 1;
    return &object->iface;
}

// ---- the plug-in
BOOL CZQPluginBinding::BLoad(const std::wstring& dllPath) {
    VRelease();
    CZQModule module(LoadLibraryW(dllPath.c_str()));
    if (!module) return FALSE;
    auto getClassObject = ZQGetProc<PFN_GetClassObject>(module.Get(), "DllGetClassObject");
    if (!getClassObject) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return FALSE;
    }
    CZQComPtr<IClassFactory> factory;
    HRESULT hr = getClassObject(CLSID_OEMUI, IID_IClassFactory, factory.PutVoid());
    if (FAILED(hr) || !factory) {
        SetLastError(static_cast<DWORD>(hr));
        return FALSE;
    }
    CZQComPtr<IUnknown> unknown;
    hr = factory->CreateInstance(nullptr, IID_IUnknown, unknown.PutVoid());
    if (FAILED(hr) || !unknown) {
        SetLastError(static_cast<DWORD>(hr));
        return FALSE;
    }
    IPrintOemUI2* ui2 = nullptr;
    IPrintOemUI* ui = nullptr;
    if (SUCCEEDED(unknown->QueryInterface(IID_IPrintOemUI2, reinterpret_cast<void**>(&ui2))) && ui2) {
        ui = reinterpret_cast<IPrintOemUI*>(ui2);
    } else if (FAILED(unknown->QueryInterface(IID_IPrintOemUI, reinterpret_cast<void**>(&ui))) || !ui) {
        SetLastError(static_cast<DWORD>(E_NOINTERFACE));
        return FALSE;
    }
    m_module = std::move(module);
    m_pUI = ui;
    m_pUI2 = ui2;
    return TRUE;
}

BOOL CZQPluginBinding::BBind(IPrintOemDriverUI* pDriverUI) {
    if (!m_pUI) return FALSE;
    if (FAILED(m_pUI->lpVtbl->PublishDriverInterface(m_pUI, reinterpret_cast<IUnknown*>(pDriverUI)))) return FALSE;
    DWORD needed = 0;
    if (FAILED(GetInfo(OEMGI_GETSIGNATURE, &m_dwSignature, sizeof m_dwSignature, &needed))) return FALSE;
    if (FAILED(GetInfo(OEMGI_GETVERSION, &m_dwVersion, sizeof m_dwVersion, &needed))) m_dwVersion = 0;
    return TRUE;
}

void CZQPluginBinding::VRelease() {
    // One reference, whichever interface holds it.
    if (m_pUI) m_pUI->lpVtbl->Release(m_pUI);
    m_pUI = nullptr;
    m_pUI2 = nullptr;
    m_dwSignature = m_dwVersion = 0;
    m_module.Reset();
}

#define ZQ_CALL(ptr, method, ...) ((ptr) ? (ptr)->lpVtbl->method((ptr), __VA_ARGS__) : E_NOINTERFACE)

HRESULT CZQPluginBinding::GetInfo(DWORD mode, PVOID buffer, DWORD cb, PDWORD needed) const {
    return ZQ_CALL(m_pUI, GetInfo, mode, buffer, cb, needed);
}
HRESULT CZQPluginBinding::DevMode(DWORD mode, POEMDMPARAM param) const { return ZQ_CALL(m_pUI, DevMode, mode, param); }
HRESULT CZQPluginBinding::CommonUIProp(DWORD mode, POEMCUIPPARAM param) const {
    return ZQ_CALL(m_pUI, CommonUIProp, mode, param);
}
HRESULT CZQPluginBinding::DocumentPropertySheets(PPROPSHEETUI_INFO info, LPARAM lParam) const {
    return ZQ_CALL(m_pUI, DocumentPropertySheets, info, lParam);
}
HRESULT CZQPluginBinding::DevicePropertySheets(PPROPSHEETUI_INFO info, LPARAM lParam) const {
    return ZQ_CALL(m_pUI, DevicePropertySheets, info, lParam);
}
HRESULT CZQPluginBinding::DeviceCapabilities(POEMUIOBJ obj, HANDLE printer, PWSTR device, WORD capability,
                                             PVOID output, PDEVMODEW publicDM, PVOID oemDM, DWORD old,
                                             DWORD* result) const {
    return ZQ_CALL(m_pUI, DeviceCapabilities, obj, printer, device, capability, output, publicDM, oemDM, old, result);
}
HRESULT CZQPluginBinding::UpgradePrinter(DWORD level, PBYTE info) const {
    return ZQ_CALL(m_pUI, UpgradePrinter, level, info);
}
HRESULT CZQPluginBinding::PrinterEvent(PWSTR printer, INT event, DWORD flags, LPARAM lParam) const {
    return ZQ_CALL(m_pUI, PrinterEvent, printer, event, flags, lParam);
}
HRESULT CZQPluginBinding::DriverEvent(DWORD event, DWORD level, LPBYTE info, LPARAM lParam) const {
    return ZQ_CALL(m_pUI, DriverEvent, event, level, info, lParam);
}
HRESULT CZQPluginBinding::FontInstallerDlgProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) const {
    return ZQ_CALL(m_pUI, FontInstallerDlgProc, hWnd, msg, wParam, lParam);
}
HRESULT CZQPluginBinding::QueryJobAttributes(HANDLE printer, PDEVMODEW devmode, DWORD level, LPBYTE info) const {
    return ZQ_CALL(m_pUI2, QueryJobAttributes, printer, devmode, level, info);
}
HRESULT CZQPluginBinding::HideStandardUI(DWORD mode) const { return ZQ_CALL(m_pUI2, HideStandardUI, mode); }
HRESULT CZQPluginBinding::DocumentEvent(HANDLE printer, HDC hdc, INT escape, ULONG cbIn, PVOID in, ULONG cbOut,
                                        PVOID out, PINT result) const {
    return ZQ_CALL(m_pUI2, DocumentEvent, printer, hdc, escape, cbIn, in, cbOut, out, result);
}

#undef ZQ_CALL
