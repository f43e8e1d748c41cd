#include "featurelogic/zqbinding.h"

#include <new>

#include "common/zqstrings.h"
#include "common/zqtrace.h"
#include "device/zqfontinstaller.h"
#include "formats/zquidevmode.h"
#include "xmlrules/zqxmlparser.h"
#include "xmlrules/zqxmluirules.h"

CZQBinding::CZQBinding() {
    pCommon = new (std::nothrow) CZQCommon();
    pRules = new (std::nothrow) CZQXmlUiRules();
    logic.m_pCaps = &caps;
    logic.m_pRules = pRules;
    logic.m_pQuickSets = &quickSets;
    quickSets.m_pRules = pRules;
    quickSets.VAttach(&logic, &watermarks, &caps);
}

CZQBinding::~CZQBinding() {
    ZQFreePrinterCaps(&caps);
    ZQFreePaperList(&papers);
    delete pRules;
    delete pCommon;
    if (pDriverUI) pDriverUI->Release();
}

CZQXmlParserCommon* CZQBinding::XmlParser() const { return pRules ? &pRules->Parser() : nullptr; }

BOOL CZQBinding::BReadPrinterRecords(HANDLE hPrinter, const DEVMODEW* pPublicDM) {
    ZQ_TRACE("CZQBinding::BReadPrinterRecords");
    const BOOL capsRead = ZQOpenPrinterCaps(&caps, hPrinter, pPublicDM);
    const DWORD capsError = GetLastError();
    if (!ZQReadPaperList(&papers, hPrinter)) return FALSE;
    SetLastError(capsError);
    return capsRead;
}

void CZQBinding::VLoadXmlRulesFile(POEMCUIPPARAM pParam) {
    ZQ_TRACE("CZQBinding::VLoadXmlRulesFile");
    if (!pParam || !XmlParser()) return;
    CZQLocalPtr<WCHAR> option;
    if (CZQCommon::DWGetFeatureOption(pParam, L"ZQXMLFileUsed", option.Put()) != ZQOPT_OK || !option ||
        !option[0])
        return;
    BLoadXmlRulesFile(pParam->hPrinter, option.Get());
}

BOOL CZQBinding::BLoadXmlRulesFile(HANDLE hPrinter, PCWSTR pszFileName) {
    CZQXmlParserCommon* const pParser = XmlParser();
    if (!pParser || !pszFileName || !pszFileName[0]) return FALSE;
    // The helper file must lie in the driver's directory itself.
    if (!ZQIsPlainFileName(pszFileName)) {
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

// ---------------------------------------------------------------------------------------------
// The COM methods' work
// ---------------------------------------------------------------------------------------------
HRESULT CZQBinding::HrGetInfo(DWORD dwMode, PVOID pBuffer, DWORD cbSize, PDWORD pcbNeeded) {
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

HRESULT CZQBinding::HrDevMode(DWORD dwMode, POEMDMPARAM pOemDMParam) {
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
    // The sheet's view starts here: the driver record that finds the status module serves the sheet.
    if (pOemDMParam->hPrinter) dataView.Open(pOemDMParam->hPrinter);
    // Default texts (the watermark's "[none]") come in the UI language from the status module; only
    // defaults need them, and finding the module costs a driver-information read, far more than a merge
    // (a plug-in object the core driver makes for one call takes the module the process loaded).
    if (dwMode == OEMDM_DEFAULT || !zqdm::CurrentBlock(pOemDMParam->pOEMDMIn))
        pCommon->VLoadResourceModule(pOemDMParam->hPrinter, true);
    if (dwMode == OEMDM_DEFAULT)
        return pCommon->BFillDefaultDevmode(pOemDMParam->pOEMDMOut, pOemDMParam->pPublicDMIn) ? S_OK : E_FAIL;

    // Convert and merge: the incoming block's sections over the output, defaults where it is not ours.
    PDEVMODEW pPublic = pOemDMParam->pPublicDMOut ? pOemDMParam->pPublicDMOut : pOemDMParam->pPublicDMIn;
    return pCommon->BMergeDevmode(pOemDMParam->pOEMDMOut, pPublic, pOemDMParam->pOEMDMIn) ? S_OK : E_FAIL;
}

HRESULT CZQBinding::HrPublishDriverInterface(IUnknown* pIUnknown) {
    if (!pIUnknown) return E_FAIL;
    IPrintOemDriverUI* pPublished = nullptr;
    if (FAILED(pIUnknown->QueryInterface(IID_IPrintOemDriverUI, reinterpret_cast<void**>(&pPublished))) ||
        !pPublished)
        return E_FAIL;
    if (pDriverUI) pDriverUI->Release();
    pDriverUI = pPublished;
    return S_OK;
}

HRESULT CZQBinding::HrFontInstallerDlgProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    const ZQFontInstallerCall call = {pCUIParam, pCommon ? pCommon->HResModule() : nullptr, dwPrinterLanguage,
                                      &caps};
    return CZQFontInstaller::HrFontInstallerDlgProc(call, hWnd, uMsg, wParam, lParam);
}
