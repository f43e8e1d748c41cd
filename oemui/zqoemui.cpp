#include "zqoemui.h"

#include <cwchar>
#include <new>

#include "common/zqevents.h"
#include "device/zqfontinstaller.h"
#include "common/zqmodule.h"
#include "common/zqtrace.h"
#include "featurelogic/zqcommonuiprop.h"
#include "formats/zquidevmode.h"
#include "pages/paperquality/zqpaperqualitypage.h"
#include "settings/zqconfigexport.h"

CZQOemUI::CZQOemUI() {
    zqmodule::AddObject();
    // The constraint gate reads and sets features through the binding's logic.
    m_gate.VSetConstraintLogic(&m_binding.logic);
}

CZQOemUI::~CZQOemUI() {
    VFreeKeptHookModules();
    VFreeAlerts();
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
// Binding
// ---------------------------------------------------------------------------------------------
STDMETHODIMP CZQOemUI::PublishDriverInterface(IUnknown* pIUnknown) {
    ZQ_TRACE("CZQOemUI::PublishDriverInterface");
    if (!pIUnknown) return E_FAIL;
    IPrintOemDriverUI* pDriverUI = nullptr;
    if (FAILED(pIUnknown->QueryInterface(IID_IPrintOemDriverUI, reinterpret_cast<void**>(&pDriverUI))) ||
        !pDriverUI)
        return E_FAIL;
    if (m_binding.pDriverUI) m_binding.pDriverUI->Release();
    m_binding.pDriverUI = pDriverUI;
    return S_OK;
}

STDMETHODIMP CZQOemUI::GetInfo(DWORD dwMode, PVOID pBuffer, DWORD cbSize, PDWORD pcbNeeded) {
    ZQ_TRACE("CZQOemUI::GetInfo");
    zqmodule::CZQInUseScope inUse;
    DWORD value = 0;
    switch (dwMode) {
        case OEMGI_GETSIGNATURE: value = zqdm::kSignature; break;
        case OEMGI_GETVERSION: value = zqdm::kVersion; break;
        default: SetLastError(ERROR_INVALID_DATA); return E_FAIL;
    }
    if (pcbNeeded) *pcbNeeded = sizeof(DWORD);
    if (!pBuffer || cbSize < sizeof(DWORD)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return E_FAIL;
    }
    *static_cast<DWORD*>(pBuffer) = value;
    return S_OK;
}

STDMETHODIMP CZQOemUI::DevMode(DWORD dwMode, POEMDMPARAM pOemDMParam) {
    ZQ_TRACE("CZQOemUI::DevMode");
    zqmodule::CZQInUseScope inUse;
    CZQCommon* const pCommon = m_binding.pCommon;
    if (!pOemDMParam || !pCommon) {
        SetLastError(ERROR_INVALID_DATA);
        return E_FAIL;
    }
    if (dwMode == OEMDM_SIZE) {
        pOemDMParam->cbBufSize = zqdm::kSize;
        return S_OK;
    }
    if (dwMode != OEMDM_DEFAULT && dwMode != OEMDM_CONVERT && dwMode != OEMDM_MERGE) {
        SetLastError(ERROR_INVALID_DATA);
        return E_FAIL;
    }
    if (!pOemDMParam->pOEMDMOut) {
        SetLastError(ERROR_INVALID_DATA);
        return E_FAIL;
    }
    if (pOemDMParam->cbBufSize < zqdm::kSize) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return E_FAIL;
    }
    // Default texts (the watermark's "[none]") come in the UI language from the status module; only
    // defaults need them, and finding the module costs a driver-information read, far more than a merge.
    if (dwMode == OEMDM_DEFAULT || !zqdm::CurrentBlock(pOemDMParam->pOEMDMIn))
        pCommon->VLoadResourceModule(pOemDMParam->hPrinter);
    if (dwMode == OEMDM_DEFAULT)
        return pCommon->BFillDefaultDevmode(pOemDMParam->pOEMDMOut, pOemDMParam->pPublicDMIn) ? S_OK : E_FAIL;

    // Convert and merge: the incoming block's sections over the output, defaults where it is not ours.
    PDEVMODEW pPublic = pOemDMParam->pPublicDMOut ? pOemDMParam->pPublicDMOut : pOemDMParam->pPublicDMIn;
    return pCommon->BMergeDevmode(pOemDMParam->pOEMDMOut, pPublic, pOemDMParam->pOEMDMIn) ? S_OK : E_FAIL;
}

// ---------------------------------------------------------------------------------------------
// User interface
// ---------------------------------------------------------------------------------------------
STDMETHODIMP CZQOemUI::DocumentPropertySheets(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam) {
    ZQ_TRACE("CZQOemUI::DocumentPropertySheets");
    zqmodule::CZQInUseScope inUse;
    const HRESULT hr = m_sheets.HrPropertySheets(pPSUIInfo, lParam, kSheetDocument, m_binding, this);
    CZQPluginEvents(m_binding).VSheetEvent(pPSUIInfo, lParam, kSheetDocument);
    return hr;
}

STDMETHODIMP CZQOemUI::DevicePropertySheets(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam) {
    ZQ_TRACE("CZQOemUI::DevicePropertySheets");
    zqmodule::CZQInUseScope inUse;
    const HRESULT hr = m_sheets.HrPropertySheets(pPSUIInfo, lParam, kSheetDevice, m_binding, this);
    CZQPluginEvents(m_binding).VSheetEvent(pPSUIInfo, lParam, kSheetDevice);
    return hr;
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

void CZQOemUI::VSyncAfterChange() {
    // The Paper/Quality page, when the sheet has one, reads the loaded roll's size for the pass.
    struct PaperQualityRoll final : IZQLoadedRollReader {
        CZQPaperQualityTab* tab;
        PageContext* context;
        PaperQualityRoll(CZQPaperQualityTab* t, PageContext* c) : tab(t), context(c) {}
        BOOL BReadLoadedRollSize() override { return tab && context && tab->BReadLoadedRollSize(context); }
    } roll(TabAs<CZQPaperQualityTab>(kPagePaperQuality), Context(kPagePaperQuality));
    CZQDevmodeSync(m_binding, &roll).VSyncAfterChange();
}

BOOL CZQOemUI::BExportSettings(PCWSTR pszSection) {
    return CZQSettingsExport({m_binding.pCUIParam, m_binding.pCommon, m_binding.pRules}).BExportSettings(pszSection);
}

STDMETHODIMP CZQOemUI::DriverEvent(DWORD dwDriverEvent, DWORD dwLevel, LPBYTE pDriverInfo, LPARAM lParam) {
    zqmodule::CZQInUseScope inUse;
    return CZQPluginEvents(m_binding).HrDriverEvent(dwDriverEvent, dwLevel, pDriverInfo, lParam);
}

STDMETHODIMP CZQOemUI::QueryColorProfile(HANDLE, POEMUIOBJ, PDEVMODEW, PVOID, ULONG, VOID*, ULONG*, FLONG*) {
    zqmodule::CZQInUseScope inUse;
    return E_NOTIMPL;
}

STDMETHODIMP CZQOemUI::FontInstallerDlgProc(HWND hWnd, UINT usMsg, WPARAM wParam, LPARAM lParam) {
    zqmodule::CZQInUseScope inUse;
    const ZQFontInstallerCall call = {m_binding.pCUIParam,
                                      m_binding.pCommon ? m_binding.pCommon->HResModule() : nullptr,
                                      m_binding.dwPrinterLanguage, &m_binding.caps};
    return CZQFontInstaller::HrFontInstallerDlgProc(call, hWnd, usMsg, wParam, lParam);
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
    return ZQCommonUIProp(m_binding, m_gate, m_alerts, this, dwMode, pOemCUIPParam);
}
