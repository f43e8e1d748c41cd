#include "zqplugin.h"

#include "common/zqproc.h"

namespace {
using PFN_GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, LPVOID*);
}

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
        ui = ui2;
    } else if (FAILED(unknown->QueryInterface(IID_IPrintOemUI, reinterpret_cast<void**>(&ui))) || !ui) {
        SetLastError(static_cast<DWORD>(E_NOINTERFACE));
        return FALSE;
    }
    m_module = std::move(module);
    m_pUI = ui;
    m_pUI2 = ui2;
    return TRUE;
}

BOOL CZQPluginBinding::BBind(IUnknown* pDriverUI) {
    if (!m_pUI) return FALSE;
    if (FAILED(m_pUI->PublishDriverInterface(pDriverUI))) return FALSE;
    DWORD needed = 0;
    if (FAILED(m_pUI->GetInfo(OEMGI_GETSIGNATURE, &m_dwSignature, sizeof m_dwSignature, &needed))) return FALSE;
    if (FAILED(m_pUI->GetInfo(OEMGI_GETVERSION, &m_dwVersion, sizeof m_dwVersion, &needed))) m_dwVersion = 0;
    return TRUE;
}

void CZQPluginBinding::VRelease() {
    // One reference, whichever interface holds it.
    if (m_pUI) m_pUI->Release();
    m_pUI = nullptr;
    m_pUI2 = nullptr;
    m_dwSignature = m_dwVersion = 0;
    m_module.Reset();
}
