// The UI plug-in as the core driver binds it: the DLL, its class factory, the plug-in object.
#pragma once

#include <string>

#include "common/zqhandles.h"
#include "platform/oemuiplatform.h"

class CZQPluginBinding {
public:
    CZQPluginBinding() = default;
    ~CZQPluginBinding() { VRelease(); }
    CZQPluginBinding(const CZQPluginBinding&) = delete;
    CZQPluginBinding& operator=(const CZQPluginBinding&) = delete;

    // LoadLibrary, DllGetClassObject(CLSID_OEMUI, IID_IClassFactory), CreateInstance, then
    // IPrintOemUI2, else IPrintOemUI. FALSE leaves nothing loaded.
    BOOL BLoad(const std::wstring& dllPath);
    // PublishDriverInterface, then the signature and version; FALSE when the plug-in refuses.
    BOOL BBind(IUnknown* pDriverUI);

    bool Loaded() const { return m_pUI != nullptr; }
    IPrintOemUI* UI() const { return m_pUI; }
    // Null when the plug-in only offers IPrintOemUI.
    IPrintOemUI2* UI2() const { return m_pUI2; }
    HMODULE Module() const { return m_module.Get(); }
    DWORD Signature() const { return m_dwSignature; }
    DWORD Version() const { return m_dwVersion; }

    // Releases the object, then the DLL.
    void VRelease();

private:
    CZQModule m_module;
    IPrintOemUI* m_pUI = nullptr;
    IPrintOemUI2* m_pUI2 = nullptr;
    DWORD m_dwSignature = 0;
    DWORD m_dwVersion = 0;
};
