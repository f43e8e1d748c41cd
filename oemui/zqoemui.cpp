#include "zqoemui.h"

#include <cwchar>
#include <new>

#include "common/zqtrace.h"
#include "device/zqfontinstaller.h"
#include "xmlrules/zqconstraints.h"
#include "xmlrules/zqxmlparser.h"
#include "xmlrules/zqxmluirules.h"
#include "zqmodule.h"
#include "zquidevmode.h"

CZQOemUI::CZQOemUI() {
    zqmodule::AddObject();
    m_pCommon = new (std::nothrow) CZQCommon();
    m_pXmlUiRules = new (std::nothrow) CZQXmlUiRules();
    m_logic.m_pCaps = &m_caps;
    m_logic.m_pRules = m_pXmlUiRules;
    // The constraint gate reads and sets features through the binding's logic.
    m_pConstraintLogic = &m_logic;
}

CZQOemUI::~CZQOemUI() {
    // The rule set's message box and tip windows read their texts through m_pCommon: it goes first.
    delete m_pConstraints;
    VDeleteTabObjects();
    ZQFreePrinterCaps(&m_caps);
    ZQFreePaperList(&m_paperList);
    delete m_pXmlUiRules;
    delete m_pCommon;
    if (m_pDriverUI) m_pDriverUI->Release();
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
    if (m_pDriverUI) m_pDriverUI->Release();
    m_pDriverUI = pDriverUI;
    return S_OK;
}

STDMETHODIMP CZQOemUI::GetInfo(DWORD dwMode, PVOID pBuffer, DWORD cbSize, PDWORD pcbNeeded) {
    ZQ_TRACE("CZQOemUI::GetInfo");
    zqmodule::VMarkInUse();
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
    zqmodule::VMarkInUse();
    if (!pOemDMParam || !m_pCommon) {
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
    // Default texts (the watermark's "[none]") come in the UI language from the status module.
    m_pCommon->VLoadResourceModule(pOemDMParam->hPrinter);
    if (dwMode == OEMDM_DEFAULT)
        return m_pCommon->BFillDefaultDevmode(pOemDMParam->pOEMDMOut, pOemDMParam->pPublicDMIn) ? S_OK : E_FAIL;

    // Convert and merge: the incoming block's sections over the output, defaults where it is not ours.
    PDEVMODEW pPublic = pOemDMParam->pPublicDMOut ? pOemDMParam->pPublicDMOut : pOemDMParam->pPublicDMIn;
    return m_pCommon->BMergeDevmode(pOemDMParam->pOEMDMOut, pPublic, pOemDMParam->pOEMDMIn) ? S_OK : E_FAIL;
}

// ---------------------------------------------------------------------------------------------
// User interface
// ---------------------------------------------------------------------------------------------
STDMETHODIMP CZQOemUI::DocumentPropertySheets(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam) {
    ZQ_TRACE("CZQOemUI::DocumentPropertySheets");
    zqmodule::VMarkInUse();
    return HrPropertySheets(pPSUIInfo, lParam, kSheetDocument);
}

STDMETHODIMP CZQOemUI::DevicePropertySheets(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam) {
    ZQ_TRACE("CZQOemUI::DevicePropertySheets");
    zqmodule::VMarkInUse();
    return HrPropertySheets(pPSUIInfo, lParam, kSheetDevice);
}

HRESULT CZQOemUI::HrPropertySheets(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam, DWORD dwSheet) {
    if (!pPSUIInfo) {
        SetLastError(ERROR_INVALID_DATA);
        return E_FAIL;
    }
    switch (pPSUIInfo->Reason) {
        case PROPSHEETUI_REASON_INIT: return IBuildPages(pPSUIInfo, dwSheet) ? S_OK : E_FAIL;
        case PROPSHEETUI_REASON_SET_RESULT: {
            // A page's result becomes the sheet's result.
            const auto* result = reinterpret_cast<const SETRESULT_INFO*>(lParam);
            if (result) pPSUIInfo->Result = result->Result;
            return S_OK;
        }
        case PROPSHEETUI_REASON_DESTROY: VEndSheet(pPSUIInfo); return S_OK;
        default: return S_OK;
    }
}

STDMETHODIMP CZQOemUI::DevQueryPrintEx(POEMUIOBJ, PDEVQUERYPRINT_INFO, PDEVMODEW, PVOID) {
    zqmodule::VMarkInUse();
    return E_NOTIMPL;
}

STDMETHODIMP CZQOemUI::DeviceCapabilities(POEMUIOBJ, HANDLE, PWSTR, WORD, PVOID, PDEVMODEW, PVOID, DWORD, DWORD*) {
    zqmodule::VMarkInUse();
    return E_NOTIMPL;
}

// ---------------------------------------------------------------------------------------------
// Events
// ---------------------------------------------------------------------------------------------
STDMETHODIMP CZQOemUI::UpgradePrinter(DWORD, PBYTE) { return E_NOTIMPL; }

STDMETHODIMP CZQOemUI::PrinterEvent(PWSTR pPrinterName, INT iDriverEvent, DWORD, LPARAM) {
    ZQ_TRACE("CZQOemUI::PrinterEvent");
    zqmodule::VMarkInUse();
    if (iDriverEvent == PRINTER_EVENT_INITIALIZE) VInitializePrinter(pPrinterName);
    return S_OK;
}

STDMETHODIMP CZQOemUI::DriverEvent(DWORD, DWORD, LPBYTE, LPARAM) {
    zqmodule::VMarkInUse();
    return E_NOTIMPL;
}

STDMETHODIMP CZQOemUI::QueryColorProfile(HANDLE, POEMUIOBJ, PDEVMODEW, PVOID, ULONG, VOID*, ULONG*, FLONG*) {
    zqmodule::VMarkInUse();
    return E_NOTIMPL;
}

STDMETHODIMP CZQOemUI::FontInstallerDlgProc(HWND hWnd, UINT usMsg, WPARAM wParam, LPARAM lParam) {
    zqmodule::VMarkInUse();
    const ZQFontInstallerCall call = {m_pCUIParam, m_pCommon ? m_pCommon->HResModule() : nullptr,
                                      m_dwPrinterLanguage, &m_caps};
    return CZQFontInstaller::HrFontInstallerDlgProc(call, hWnd, usMsg, wParam, lParam);
}

STDMETHODIMP CZQOemUI::UpdateExternalFonts(HANDLE, HANDLE, PWSTR) {
    zqmodule::VMarkInUse();
    return E_NOTIMPL;
}

STDMETHODIMP CZQOemUI::QueryJobAttributes(HANDLE, PDEVMODEW, DWORD, LPBYTE) { return E_NOTIMPL; }

STDMETHODIMP CZQOemUI::HideStandardUI(DWORD) { return E_NOTIMPL; }

STDMETHODIMP CZQOemUI::DocumentEvent(HANDLE, HDC, INT, ULONG, PVOID, ULONG, PVOID, PINT) {
    zqmodule::VMarkInUse();
    return E_NOTIMPL;
}

// ---------------------------------------------------------------------------------------------
// The driver's XML helper file
// ---------------------------------------------------------------------------------------------
namespace {

// The helper file must lie in the driver's directory itself: a name with a path, a drive, a
// stream or a way up is refused.
bool BIsPlainFileName(PCWSTR pszName) {
    for (PCWSTR p = pszName; *p; ++p)
        if (*p == L'\\' || *p == L'/' || *p == L':') return false;
    return wcsstr(pszName, L"..") == nullptr;
}

}  // namespace

CZQXmlParserCommon* CZQOemUI::XmlParser() const { return m_pXmlUiRules ? &m_pXmlUiRules->Parser() : nullptr; }

void CZQOemUI::VLoadXmlRulesFile(POEMCUIPPARAM pParam) {
    ZQ_TRACE("CZQOemUI::VLoadXmlRulesFile");
    if (!pParam || !XmlParser()) return;
    CZQLocalPtr<WCHAR> option;
    if (CZQCommon::DWGetFeatureOption(pParam, L"ZQXMLFileUsed", option.Put()) != ZQOPT_OK || !option ||
        !option[0])
        return;
    BLoadXmlRulesFile(pParam->hPrinter, option.Get());
}

BOOL CZQOemUI::BLoadXmlRulesFile(HANDLE hPrinter, PCWSTR pszFileName) {
    CZQXmlParserCommon* const pParser = XmlParser();
    if (!pParser || !pszFileName || !pszFileName[0]) return FALSE;
    if (!BIsPlainFileName(pszFileName)) {
        pParser->VSetLoaded(FALSE);
        return FALSE;
    }
    CZQLocalPtr<WCHAR> path;
    if (!CZQCommon::BGetDriverDirFile(hPrinter, path.Put(), pszFileName)) return FALSE;
    pParser->VSetLoaded(FALSE);
    if (!pParser->BLoad(path.Get())) return FALSE;
    pParser->VSetLoaded(TRUE);
    return TRUE;
}
