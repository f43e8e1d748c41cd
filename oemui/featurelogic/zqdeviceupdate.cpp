#include "featurelogic/zqdeviceupdate.h"

#include "common/zqhandles.h"
#include "common/zqstrings.h"
#include "common/zqtrace.h"
#include "device/zqautoconfig.h"
#include "device/zqbidisession.h"
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

// ---- Update Now over the spooler's bidirectional channel ------------------------------------------
constexpr DWORD kPrinterMode = 2;
// "EACStatus" when the printer's settings came over the bidirectional channel.
constexpr DWORD kEacFromBidi = 3;

// "DuplexUnit" installed (option 1) or not (option 0), changed only when it says otherwise.
void SetDuplexUnit(POEMCUIPPARAM pParam, bool bInstalled) {
    CZQLocalPtr<WCHAR> option;
    if (CZQCommon::DWGetFeatureOption(pParam, L"DuplexUnit", option.Put()) != ZQOPT_OK) return;
    const bool installed = ZQEqualNoCase(option.Get(), L"TRUE") || ZQEqualNoCase(option.Get(), L"INSTALLED");
    if (installed != bInstalled) CZQCommon::DWSelectOptionByIndex(pParam, L"DuplexUnit", bInstalled ? 1 : 0, kPrinterMode);
}

// The tray features that "ZQInstallableTrayFeatureName" lists stand, in their order, for the inputs
// after the standard one: of n input bins the first n - 1 are installed (a feature already on an
// installed option keeps it), the others go back to their first option, not installed.
void SetTrays(POEMCUIPPARAM pParam, int iInputBins) {
    PWSTR* features = nullptr;
    int count = 0;
    if (CZQCommon::DWGetOptionKeywords(pParam, L"ZQInstallableTrayFeatureName", &features, &count, kPrinterMode) !=
        ZQOPT_OK)
        return;
    for (int i = 0; i < count; ++i) {
        int current = 0;
        if (CZQCommon::DWGetFeatureOptionIndex(pParam, features[i], &current) != ZQOPT_OK) continue;
        if (i + 2 > iInputBins)
            CZQCommon::DWSelectOptionByIndex(pParam, features[i], 0, kPrinterMode);
        else if (current == 0)
            CZQCommon::DWSelectOptionByIndex(pParam, features[i], 1, kPrinterMode);
    }
    CZQCommon::VFreeStringList(features, count);
}

// The duplex unit and the trays from the printer's bidirectional answers; TRUE when it answered
// one of the two questions.
BOOL UpdateOverBidi(POEMCUIPPARAM pParam) {
    int duplex = -1, bins = -1;
    CZQBidiSession session;
    if (session.BOpen(pParam->pPrinterName)) {
        duplex = session.BQueryDuplexUnit();
        bins = session.BQueryInputBins();
    }
    session.VClose();
    if (duplex < 0 && bins < 0) return FALSE;
    if (duplex >= 0) SetDuplexUnit(pParam, duplex != 0);
    if (bins >= 0) SetTrays(pParam, bins);
    const DWORD eac = kEacFromBidi;
    CZQUIBase::BWriteUserSetting(pParam->hPrinter, TRUE, L"ZQBIDIInfo", L"EACStatus", reinterpret_cast<const BYTE*>(&eac),
                                 sizeof eac, REG_DWORD);
    return TRUE;
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
        // A printer reached without the device servers may answer over the spooler's channel.
        CZQLocalPtr<WCHAR> bidi;
        if (CZQCommon::DWGetFeatureOption(pParam, L"ZQEnableDeviceIDEAC", bidi.Put()) == ZQOPT_OK &&
            UpdateOverBidi(pParam))
            return TRUE;
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
