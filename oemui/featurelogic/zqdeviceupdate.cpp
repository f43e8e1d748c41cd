#include "featurelogic/zqdeviceupdate.h"

#include <cwchar>
#include <string>

#include "platform/zqprinterview.h"
#include "common/zqkeywords.h"
#include "common/zqstrings.h"
#include "common/zqtrace.h"
#include "device/zqautoconfig.h"
#include "device/zqbidisession.h"
#include "featurelogic/zquilogic.h"
#include "settings/zqdriverdata.h"

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

// The worker of one road: the helper file's rules, the block's items and printer, with the
// logic's status module for its texts.
void Prepare(CZQAutoConfig& worker, CZQUILogic& logic, POEMCUIPPARAM pParam) {
    worker.VBind(nullptr, pParam, logic.HResModule());
    worker.VSetPrinter(pParam->hPrinter, pParam->pPrinterName);
    worker.VSetLanguage(logic.m_dwPdl);
}

// The rolls in the form the current "InstalledRolls" option is written in: parts joined by "_",
// or numbered rolls (also when the option cannot be read).
void UpdateRolls(CZQAutoConfig& worker, POEMCUIPPARAM pParam) {
    CZQLocalPtr<WCHAR> option;
    if (CZQCommon::DWGetFeatureOption(pParam, zqkw::kInstalledRolls, option.Put()) == ZQOPT_OK &&
        wcschr(option.Get(), L'_'))
        worker.VUpdateInstalledRollsWithNone();
    else
        worker.VUpdateInstalledRolls();
}

// A list the answer store holds ("UserDefinedMedia", "OutputBinNames") as its texts, each ended
// by its NUL and the list by an empty one, with its entry count; empty when it cannot be read.
class CListSnapshot {
public:
    using Reader = BOOL (*)(HANDLE, PWSTR**, int*);
    CListSnapshot(Reader read, HANDLE hPrinter) {
        PWSTR* list = nullptr;
        int count = 0;
        if (!read(hPrinter, &list, &count)) return;
        for (int i = 0; i < count; ++i) m_text.append(list[i] ? list[i] : L"").push_back(L'\0');
        m_text.push_back(L'\0');
        m_dwCount = static_cast<DWORD>(count);
        CZQCommon::VFreeStringList(list, count);
    }
    PCWSTR Text() const { return m_text.empty() ? nullptr : m_text.c_str(); }
    DWORD Count() const { return m_dwCount; }

private:
    std::wstring m_text;
    DWORD m_dwCount = 0;
};

// ---- Update Now over the spooler's bidirectional channel ------------------------------------------
constexpr DWORD kPrinterMode = 2;
// "EACStatus" when the printer's settings came over the bidirectional channel.
constexpr DWORD kEacFromBidi = 3;

// The tray features that "ZQInstallableTrayFeatureName" lists stand, in their order, for the inputs
// after the standard one: of n input bins the first n - 1 are installed (a feature already on an
// installed option keeps it), the others go back to their first option, not installed.
void SetTrays(POEMCUIPPARAM pParam, int iInputBins) {
    PWSTR* features = nullptr;
    int count = 0;
    if (CZQCommon::DWGetOptionKeywords(pParam, zqkw::kZQInstallableTrayFeatureName, &features, &count, kPrinterMode) !=
        ZQOPT_OK)
        return;
    for (int i = 0; i < count; ++i) {
        int current = 0;
        if (CZQCommon::DWGetFeatureOptionIndex(pParam, features[i], &current) != ZQOPT_OK) continue;
        if (i + 2 > iInputBins)
            CZQAutoConfig::DWSelectOptionIndex(pParam, features[i], 0, kPrinterMode);
        else if (current == 0)
            CZQAutoConfig::DWSelectOptionIndex(pParam, features[i], 1, kPrinterMode);
    }
    CZQCommon::VFreeStringList(features, count);
}

// The duplex unit and the trays from the printer's bidirectional answers; TRUE when it answered
// one of the two questions.
BOOL UpdateOverBidi(CZQAutoConfig& worker, POEMCUIPPARAM pParam) {
    int duplex = -1, bins = -1;
    CZQBidiSession session;
    if (session.BOpen(pParam->pPrinterName)) {
        duplex = session.BQueryDuplexUnit();
        bins = session.BQueryInputBins();
    }
    session.VClose();
    if (duplex < 0 && bins < 0) return FALSE;
    if (duplex >= 0) worker.VSetInstalledFlag(zqkw::kDuplexUnit, duplex != 0);
    if (bins >= 0) SetTrays(pParam, bins);
    worker.BSetEACStatus(kEacFromBidi, pParam->hPrinter);
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
    // The printer's data as it is now: the printer's answers may have changed it from anywhere.
    zqspool::RefreshViews(pParam->hPrinter);
    CComScope com;
    CZQAutoConfig worker(pRules);
    Prepare(worker, logic, pParam);
    const CListSnapshot media(&CZQUILogic::BGetUserDefinedMedia, pParam->hPrinter);
    const CListSnapshot bins(&CZQUILogic::BGetOutputBinNames, pParam->hPrinter);
    if (!worker.BUpdateNow(FALSE)) {
        // A printer reached without the device servers may answer over the spooler's channel.
        CZQLocalPtr<WCHAR> bidi;
        if (CZQCommon::DWGetFeatureOption(pParam, L"ZQEnableDeviceIDEAC", bidi.Put()) == ZQOPT_OK &&
            UpdateOverBidi(worker, pParam))
            return TRUE;
        worker.BShowCommError();
        return FALSE;
    }
    const BOOL applied = worker.VApplyDeviceUpdate();
    UpdateRolls(worker, pParam);
    // The hardware now known may forbid the retention and copy settings chosen before.
    worker.VRefreshVeltorItems();
    const CListSnapshot newMedia(&CZQUILogic::BGetUserDefinedMedia, pParam->hPrinter);
    const CListSnapshot newBins(&CZQUILogic::BGetOutputBinNames, pParam->hPrinter);
    worker.VNoteMediaListChange(media.Text(), newMedia.Text(), media.Count(), newMedia.Count());
    worker.VNoteOutputBinListChange(bins.Text(), newBins.Text(), bins.Count(), newBins.Count());
    return applied;
}

void ZQConfigureAtInstallation(CZQUILogic& logic, CZQXmlUiRules* pRules, POEMCUIPPARAM pParam) {
    DWORD installing = 0;
    if (!pParam || !pParam->hPrinter ||
        !CZQDriverData::BGetPrinterDataDword(pParam->hPrinter, zqsettings::kInstallationComplete, &installing) ||
        installing != 1)
        return;
    ZQ_TRACE("ZQConfigureAtInstallation");
    CZQAutoConfig worker(pRules);
    Prepare(worker, logic, pParam);
    if (!worker.BOpenSession()) {
        zqtrace::Line(L"ZQConfigureAtInstallation: no session with the printer\n");
        return;
    }
    const BOOL files = worker.BCheckComponentFiles(nullptr);
    if (files && !worker.BComponentsRegistered()) worker.BStartMiniInstaller();
    worker.BUpdateNow(TRUE);
    worker.BSetEACStatus(files ? 1 : 0, worker.HPrinter());
    worker.VEndMiniInstaller();
    worker.VCloseSession();
    // The session's handle is gone: the answers apply through the block's own.
    worker.VSetPrinter(pParam->hPrinter, pParam->pPrinterName);
    worker.VApplyDeviceUpdate();
    UpdateRolls(worker, pParam);
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
    if (!worker.BUpdateNow(FALSE)) return FALSE;
    UpdateRolls(worker, pParam);
    return TRUE;
}
