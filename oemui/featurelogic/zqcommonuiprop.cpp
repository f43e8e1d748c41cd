// The CommonUIProp worker of the plug-in object: the count pass plans the plug-in's own items, the
// fill pass prepares the binding for the sheet (working copy, header values, printer records, the
// helper file and its device settings, locks, job-storage values, the tray record) and builds the
// items.
#include "common/zqhandles.h"
#include "common/zqstrings.h"
#include "common/zqtrace.h"
#include "device/zqfontinstaller.h"
#include "xmlrules/zqxmlparser.h"
#include "zqevents.h"
#include "zqmodule.h"
#include "zqoemui.h"
#include "zqoptcallbacks.h"

namespace {

// "ZQPDLType" options in the order of private devmode +20.
const PCWSTR kPdlOptions[] = {L"Unknown", L"PCL5", L"PCL6", L"PostScript", L"PCL3", L"ZQGL2"};

int PdlIndex(POEMCUIPPARAM pParam) {
    int index = -1;
    if (CZQCommon::DWGetFeatureOptionIndex(pParam, L"ZQPDLType", &index) == ZQOPT_OK && index >= 0) return index;
    // Usually a value without an item: its keyword gives the place in the enumeration.
    CZQLocalPtr<WCHAR> option;
    if (CZQCommon::DWGetFeatureOption(pParam, L"ZQPDLType", option.Put()) != ZQOPT_OK) return 0;
    for (int i = 0; i < static_cast<int>(sizeof kPdlOptions / sizeof kPdlOptions[0]); ++i)
        if (ZQEqualNoCase(option.Get(), kPdlOptions[i])) return i;
    return 0;
}

// The core driver offers colour printing: its colour item has a colour option besides monochrome.
bool OffersColor(POEMCUIPPARAM pParam) {
    POPTITEM item = nullptr;
    return CZQCommon::DWFindOptItemByPubId(pParam, DMPUB_COLOR, 0, &item) == ZQOPT_OK && item->pOptType &&
           item->pOptType->Count >= 2;
}

}  // namespace

STDMETHODIMP CZQOemUI::CommonUIProp(DWORD dwMode, POEMCUIPPARAM pOemCUIPParam) {
    ZQ_TRACE("CZQOemUI::CommonUIProp");
    zqmodule::VMarkInUse();
    if (!pOemCUIPParam || pOemCUIPParam->cbSize < sizeof(OEMCUIPPARAM) ||
        (dwMode != OEMCUIP_DOCPROP && dwMode != OEMCUIP_PRNPROP)) {
        SetLastError(ERROR_INVALID_DATA);
        return E_FAIL;
    }
    // The block serves the pages and the option-item layer until the next call; the core driver
    // keeps it alive for the whole sheet.
    m_pCUIParam = pOemCUIPParam;
    m_dwCUIMode = dwMode;
    m_logic.VSetParam(pOemCUIPParam, dwMode);
    if (m_pCommon) {
        m_pCommon->VLoadResourceModule(pOemCUIPParam->hPrinter);
        m_logic.VSetResourceModule(m_pCommon->HResModule());
    }
    m_logic.BTakeWorkingCopy(pOemCUIPParam->pOEMDM);
    m_logic.m_iPdlIndex = PdlIndex(pOemCUIPParam);
    m_dwPrinterLanguage = ZQFontCommandLanguage(m_logic.m_iPdlIndex);

    if (!pOemCUIPParam->pOEMOptItems) {
        // Count pass: the fill pass builds exactly this set.
        ZQPlanOemItems(m_logic, dwMode, &m_itemPlan);
        m_pPlannedParam = pOemCUIPParam;
        pOemCUIPParam->cOEMOptItems = m_itemPlan.dwCount;
        return S_OK;
    }
    VFillPass(dwMode, pOemCUIPParam);
    return S_OK;
}

void CZQOemUI::VFillHeaderValues(POEMCUIPPARAM pParam, ZQUIDevmode* pDevmode) {
    if (!pDevmode) return;
    pDevmode->dwModelCode = 0;
    pDevmode->dwPdl = static_cast<uint32_t>(m_logic.m_iPdlIndex);
    pDevmode->dwColorMode = OffersColor(pParam) ? 2 : 1;
    pDevmode->dwLayoutMode = 3;
}

void CZQOemUI::VFillPass(DWORD dwMode, POEMCUIPPARAM p) {
    ZQ_TRACE("CZQOemUI::VFillPass");
    // The private devmode's header values, in the core driver's block and in the working copy.
    m_logic.m_dwLanguage = static_cast<DWORD>(m_logic.m_iPdlIndex);
    ZQUIDevmode* coreDM = p->pOEMDM && zqdm::IsCurrentBlock(p->pOEMDM, zqdm::kSize)
                              ? static_cast<ZQUIDevmode*>(p->pOEMDM)
                              : nullptr;
    VFillHeaderValues(p, coreDM);
    VFillHeaderValues(p, m_logic.WorkDM());
    m_logic.m_dwPdl = static_cast<DWORD>(m_logic.m_iPdlIndex);
    const BOOL records = BReadPrinterRecords(p->hPrinter, p->pPublicDM);

    // The driver's helper file, and its device settings while the installation runs.
    VLoadXmlRulesFile(p);
    m_logic.VApplyDeviceSettings();

    // The administrator's locks.
    m_driverData.VSetLanguage(m_logic.m_dwLanguage);
    CZQDriverData::VApplyLockData(p);

    // The helper file's constraints.
    BLoadConstraints();

    if (dwMode == OEMCUIP_DOCPROP) {
        m_logic.BFillDevmodeEnums(coreDM);
        m_logic.BFillDevmodeEnums(m_logic.WorkDM());
    }

    // Trays for the device-capabilities answers; a user without the rights to write printer data
    // leaves the record of the last event.
    if (records && p->hPrinter) ZQStoreTrayInfo(p->hPrinter, m_caps.szPrinterName, m_caps.szPortName);

    // The plug-in's own items: the set the count pass planned for this block (a block that had
    // no count pass gets its plan now), never more than the core driver made room for.
    if (m_pPlannedParam != p) ZQPlanOemItems(m_logic, dwMode, &m_itemPlan);
    m_pPlannedParam = nullptr;
    // The callback record first: push items point back to it.
    ZQBindOptItemCallback(this, p, dwMode);
    p->cOEMOptItems = ZQBuildOemItems(m_logic, m_itemPlan, XmlParser(), p);
}
