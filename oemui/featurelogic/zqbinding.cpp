#include "featurelogic/zqbinding.h"

#include <new>

#include "common/zqhandles.h"
#include "common/zqstrings.h"
#include "common/zqtrace.h"
#include "xmlrules/zqxmlparser.h"
#include "xmlrules/zqxmluirules.h"

CZQBinding::CZQBinding() {
    pCommon = new (std::nothrow) CZQCommon();
    pRules = new (std::nothrow) CZQXmlUiRules();
    logic.m_pCaps = &caps;
    logic.m_pRules = pRules;
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
    const BOOL capsRead = ZQReadPrinterCaps(&caps, hPrinter, pPublicDM);
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
