#include "common/zqcolorprofile.h"
#include "zqoemui.h"

#include "common/zqmodule.h"
#include "common/zqtrace.h"
#include "featurelogic/zqcommonuiprop.h"
#include "featurelogic/zqpluginevents.h"
#include "settings/zqconfigimport.h"

CZQOemUI::CZQOemUI() {
    zqmodule::AddObject();
    // The constraint gate reads and sets features through the binding's logic.
    m_gate.VSetConstraintLogic(&m_binding.logic);
}

CZQOemUI::~CZQOemUI() {
    m_binding.hooks.VFreeKeptHookModules();
    m_alerts.VFreeAlerts();
    zqmodule::ReleaseObject();
}

// ---------------------------------------------------------------------------------------------
// IUnknown
// ---------------------------------------------------------------------------------------------
STDMETHODIMP CZQOemUI::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IPrintOemUI) || IsEqualIID(riid, IID_IPrintOemUI2)) {
        *ppv = static_cast<IPrintOemUI2*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CZQOemUI::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&m_cRef)); }

STDMETHODIMP_(ULONG) CZQOemUI::Release() {
    LONG n = InterlockedDecrement(&m_cRef);
    if (n == 0) delete this;
    return static_cast<ULONG>(n);
}

// ---------------------------------------------------------------------------------------------
// Binding and the private devmode
// ---------------------------------------------------------------------------------------------
STDMETHODIMP CZQOemUI::PublishDriverInterface(IUnknown* pIUnknown) {
    ZQ_TRACE("CZQOemUI::PublishDriverInterface");
    return m_binding.HrPublishDriverInterface(pIUnknown);
}

STDMETHODIMP CZQOemUI::GetInfo(DWORD dwMode, PVOID pBuffer, DWORD cbSize, PDWORD pcbNeeded) {
    ZQ_TRACE("CZQOemUI::GetInfo");
    zqmodule::CZQInUseScope inUse;
    return CZQBinding::HrGetInfo(dwMode, pBuffer, cbSize, pcbNeeded);
}

STDMETHODIMP CZQOemUI::DevMode(DWORD dwMode, POEMDMPARAM pOemDMParam) {
    ZQ_TRACE("CZQOemUI::DevMode");
    zqmodule::CZQInUseScope inUse;
    return m_binding.HrDevMode(dwMode, pOemDMParam);
}

// ---------------------------------------------------------------------------------------------
// User interface
// ---------------------------------------------------------------------------------------------
STDMETHODIMP CZQOemUI::DocumentPropertySheets(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam) {
    ZQ_TRACE("CZQOemUI::DocumentPropertySheets");
    zqmodule::CZQInUseScope inUse;
    return m_sheets.HrPropertySheets(pPSUIInfo, lParam, kSheetDocument, m_binding, {&m_gate, &m_alerts, &m_exchange});
}

STDMETHODIMP CZQOemUI::DevicePropertySheets(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam) {
    ZQ_TRACE("CZQOemUI::DevicePropertySheets");
    zqmodule::CZQInUseScope inUse;
    return m_sheets.HrPropertySheets(pPSUIInfo, lParam, kSheetDevice, m_binding, {&m_gate, &m_alerts, &m_exchange});
}

STDMETHODIMP CZQOemUI::DevQueryPrintEx(POEMUIOBJ, PDEVQUERYPRINT_INFO, PDEVMODEW, PVOID) {
    zqmodule::CZQInUseScope inUse;
    return E_NOTIMPL;
}

STDMETHODIMP CZQOemUI::DeviceCapabilities(POEMUIOBJ, HANDLE, PWSTR, WORD, PVOID, PDEVMODEW, PVOID, DWORD, DWORD*) {
    zqmodule::CZQInUseScope inUse;
    return E_NOTIMPL;
}

// ---------------------------------------------------------------------------------------------
// Events
// ---------------------------------------------------------------------------------------------
STDMETHODIMP CZQOemUI::UpgradePrinter(DWORD dwLevel, PBYTE pDriverUpgradeInfo) {
    ZQ_TRACE("CZQOemUI::UpgradePrinter");
    return CZQConfigImport::BImportAtUpgrade(dwLevel, pDriverUpgradeInfo) ? S_OK : E_NOTIMPL;
}

STDMETHODIMP CZQOemUI::PrinterEvent(PWSTR pPrinterName, INT iDriverEvent, DWORD dwFlags, LPARAM lParam) {
    ZQ_TRACE("CZQOemUI::PrinterEvent");
    zqmodule::CZQInUseScope inUse;
    return CZQPluginEvents(m_binding).HrPrinterEvent(pPrinterName, iDriverEvent, dwFlags, lParam);
}

STDMETHODIMP CZQOemUI::DriverEvent(DWORD dwDriverEvent, DWORD dwLevel, LPBYTE pDriverInfo, LPARAM lParam) {
    zqmodule::CZQInUseScope inUse;
    return CZQPluginEvents(m_binding).HrDriverEvent(dwDriverEvent, dwLevel, pDriverInfo, lParam);
}

STDMETHODIMP CZQOemUI::QueryColorProfile(HANDLE, POEMUIOBJ, PDEVMODEW pPublicDM, PVOID pOEMDM, ULONG ulQueryMode,
                                         VOID* pvProfileData, ULONG* pcbProfileData, FLONG* pflProfileData) {
    zqmodule::CZQInUseScope inUse;
    return ZQQueryColorProfile(pPublicDM, pOEMDM, ulQueryMode, pvProfileData, pcbProfileData, pflProfileData);
}

STDMETHODIMP CZQOemUI::FontInstallerDlgProc(HWND hWnd, UINT usMsg, WPARAM wParam, LPARAM lParam) {
    zqmodule::CZQInUseScope inUse;
    return m_binding.HrFontInstallerDlgProc(hWnd, usMsg, wParam, lParam);
}

STDMETHODIMP CZQOemUI::UpdateExternalFonts(HANDLE, HANDLE, PWSTR) {
    zqmodule::CZQInUseScope inUse;
    return E_NOTIMPL;
}

STDMETHODIMP CZQOemUI::QueryJobAttributes(HANDLE, PDEVMODEW, DWORD, LPBYTE) { return E_NOTIMPL; }

STDMETHODIMP CZQOemUI::HideStandardUI(DWORD) { return E_NOTIMPL; }

STDMETHODIMP CZQOemUI::DocumentEvent(HANDLE hPrinter, HDC hdc, INT iEsc, ULONG cbIn, PVOID pbIn, ULONG cbOut,
                                     PVOID pbOut, PINT piResult) {
    zqmodule::CZQInUseScope inUse;
    return CZQPluginEvents(m_binding).HrDocumentEvent(hPrinter, hdc, iEsc, cbIn, pbIn, cbOut, pbOut, piResult);
}

// ---------------------------------------------------------------------------------------------
// Option items
// ---------------------------------------------------------------------------------------------
STDMETHODIMP CZQOemUI::CommonUIProp(DWORD dwMode, POEMCUIPPARAM pOemCUIPParam) {
    ZQ_TRACE("CZQOemUI::CommonUIProp");
    zqmodule::CZQInUseScope inUse;
    return ZQCommonUIProp(m_binding, m_gate, m_alerts, dwMode, pOemCUIPParam);
}

