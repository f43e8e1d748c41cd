// The UI plug-in as the core driver binds it: the DLL, its class factory, the plug-in object reached
// through its interface's C form, and the core driver's helper interface published to it.
#pragma once

#include <string>

#include "zqowner.h"
#include "zqoemcontract.h"

// The core driver's helper interface: a COM object of its own whose methods forward to the callback
// table entries (the driver context names the session).
struct ZQDriverUIObject {
    IPrintOemDriverUI iface;
    volatile LONG cRef;
};
// A new object with one reference, null without memory.
IPrintOemDriverUI* ZQCreateDriverUI();

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
    BOOL BBind(IPrintOemDriverUI* pDriverUI);

    bool Loaded() const { return m_pUI != nullptr; }
    // The plug-in offers IPrintOemUI2 (else only IPrintOemUI).
    bool HasUI2() const { return m_pUI2 != nullptr; }
    HMODULE Module() const { return m_module.Get(); }
    DWORD Signature() const { return m_dwSignature; }
    DWORD Version() const { return m_dwVersion; }

    // The plug-in's methods through its interface table; E_NOINTERFACE when nothing is bound (or,
    // for the last three, when the plug-in has no IPrintOemUI2).
    HRESULT GetInfo(DWORD mode, PVOID buffer, DWORD cb, PDWORD needed) const;
    HRESULT DevMode(DWORD mode, POEMDMPARAM param) const;
    HRESULT CommonUIProp(DWORD mode, POEMCUIPPARAM param) const;
    HRESULT DocumentPropertySheets(PPROPSHEETUI_INFO info, LPARAM lParam) const;
    HRESULT DevicePropertySheets(PPROPSHEETUI_INFO info, LPARAM lParam) const;
    HRESULT DeviceCapabilities(POEMUIOBJ obj, HANDLE printer, PWSTR device, WORD capability, PVOID output,
                               PDEVMODEW publicDM, PVOID oemDM, DWORD old, DWORD* result) const;
    HRESULT UpgradePrinter(DWORD level, PBYTE info) const;
    HRESULT PrinterEvent(PWSTR printer, INT event, DWORD flags, LPARAM lParam) const;
    HRESULT DriverEvent(DWORD event, DWORD level, LPBYTE info, LPARAM lParam) const;
    HRESULT FontInstallerDlgProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) const;
    HRESULT QueryJobAttributes(HANDLE printer, PDEVMODEW devmode, DWORD level, LPBYTE info) const;
    HRESULT HideStandardUI(DWORD mode) const;
    HRESULT DocumentEvent(HANDLE printer, HDC hdc, INT escape, ULONG cbIn, PVOID in, ULONG cbOut, PVOID out,
                          PINT result) const;

    // Releases the object, then the DLL.
    void VRelease();

private:
    CZQModule m_module;
    IPrintOemUI* m_pUI = nullptr;
    IPrintOemUI2* m_pUI2 = nullptr;  // the same object when it offers IPrintOemUI2
    DWORD m_dwSignature = 0;
    DWORD m_dwVersion = 0;
};
