#include "featurelogic/zqdeviceupdate.h"

#include "common/zqhandles.h"
#include "common/zqstrings.h"
#include "common/zqtrace.h"
#include "device/zqautoconfig.h"
#include "featurelogic/zquilogic.h"

namespace {

constexpr INT kIdsUpdateNow = 3888;

// COM on the caller's thread for the length of one road: the servers are COM classes. A thread
// already in another apartment keeps it.
class CComScope {
public:
    CComScope() : m_bInitialized(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~CComScope() {
        if (m_bInitialized) CoUninitialize();
    }
    CComScope(const CComScope&) = delete;
    CComScope& operator=(const CComScope&) = delete;

private:
    bool m_bInitialized;
};

// The worker of one road: the helper file's rules and the block's printer, with the logic's
// status module for its texts.
void Prepare(CZQAutoConfig& worker, CZQUILogic& logic, POEMCUIPPARAM pParam) {
    worker.VSetResourceModule(logic.HResModule());
    worker.VSetPrinter(pParam->hPrinter, pParam->pPrinterName);
}

}  // namespace

BOOL ZQIsUpdateNowSelected(CZQUILogic& logic, const OPTITEM* pItem) {
    const POPTPARAM option = pItem ? CZQCommon::PGetOptionParam(pItem, pItem->Sel) : nullptr;
    if (!option || !option->pData || IS_INTRESOURCE(option->pData)) return FALSE;
    WCHAR name[CZQCommon::kResStringChars] = L"Update Now";
    logic.BLoadResString(kIdsUpdateNow, name);
    return ZQEqualNoCase(static_cast<PCWSTR>(option->pData), name[0] ? name : L"Update Now");
}

BOOL ZQUpdateNowFromSheet(CZQUILogic& logic, CZQXmlUiRules* pRules, POEMCUIPPARAM pParam) {
    ZQ_TRACE("ZQUpdateNowFromSheet");
    if (!pParam) return FALSE;
    CComScope com;
    CZQAutoConfig worker(pRules);
    Prepare(worker, logic, pParam);
    if (!worker.BUpdateNow(FALSE)) {
        worker.BShowCommError();
        return FALSE;
    }
    return worker.VApplyDeviceUpdate();
}

BOOL ZQRefreshDeviceOptions(CZQUILogic& logic, CZQXmlUiRules* pRules, POEMCUIPPARAM pParam) {
    CZQLocalPtr<WCHAR> option;
    if (!pParam || CZQCommon::DWGetFeatureOption(pParam, L"AutoConfiguration", option.Put()) != ZQOPT_OK ||
        !ZQEqualNoCase(option.Get(), L"On"))
        return FALSE;
    ZQ_TRACE("ZQRefreshDeviceOptions");
    CComScope com;
    CZQAutoConfig worker(pRules);
    Prepare(worker, logic, pParam);
    return worker.BUpdateNow(FALSE);
}
