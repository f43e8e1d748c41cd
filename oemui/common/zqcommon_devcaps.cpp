// The printer's paper, source and media lists through the device-capabilities call.
#include "platform/zqspooler.h"
#include "common/zqcommon.h"
#include "common/zqhandles.h"
#include "common/zqcapsreuse.h"

#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

namespace {

constexpr int kRetries = 4;
constexpr DWORD kRetryWaitMs = 500;

void SleepWait(DWORD ms) { Sleep(ms); }
CZQCommon::PFN_RetryWait g_pfnWait = &SleepWait;

// The call, asked again while the driver answers -1 (a driver still starting up does).
int QueryCaps(PCWSTR pszPrinter, PCWSTR pszPort, WORD capability, void* pOut, const DEVMODEW* pDevmode) {
    const auto& sp = zqspool::Spooler();
    int n = sp.DeviceCapabilitiesW(pszPrinter, pszPort, capability, static_cast<PWSTR>(pOut), pDevmode);
    for (int retry = 0; n == -1 && retry < kRetries; ++retry) {
        g_pfnWait(kRetryWaitMs);
        n = sp.DeviceCapabilitiesW(pszPrinter, pszPort, capability, static_cast<PWSTR>(pOut), pDevmode);
    }
    return n;
}

// Answers kept while a reuse scope lives on this thread.
struct CapsAnswer {
    std::wstring printer, port;
    std::vector<BYTE> devmode;  // public part and driver extra, as asked with
    WORD capability;
    size_t entrySize;
    int count;
    std::vector<BYTE> list;  // (count + 1) * entrySize bytes
};
// Driver records kept while a reuse scope lives: the block as read, with its own strings.
struct DriverRecord {
    HANDLE hPrinter;
    std::vector<BYTE> bytes;
};
// A setting the core driver answered, as read.
struct SettingAnswer {
    const void* pUIObject;
    std::string keyword;
    DWORD status;
    std::vector<char> value;
    bool hasValue;
};
struct PassAnswers {
    bool bSettingsOnly;  // the spooler's answers are asked again
    std::vector<CapsAnswer> caps;
    std::vector<DriverRecord> drivers;
    std::vector<SettingAnswer> settings;
};
thread_local PassAnswers* t_pPass = nullptr;

// The pass keeps the spooler's answers (lists and driver records).
bool KeepsSpoolerAnswers() { return t_pPass && !t_pPass->bSettingsOnly; }

// The record's strings point into its own block: a copy points into the copy.
void RebaseStrings(DRIVER_INFO_3W* pInfo, const BYTE* pFrom, size_t cb) {
    LPWSTR* fields[] = {&pInfo->pName,     &pInfo->pEnvironment,    &pInfo->pDriverPath,
                        &pInfo->pDataFile, &pInfo->pConfigFile,     &pInfo->pHelpFile,
                        &pInfo->pDependentFiles, &pInfo->pMonitorName, &pInfo->pDefaultDataType};
    auto* to = reinterpret_cast<BYTE*>(pInfo);
    for (LPWSTR* f : fields) {
        const auto* p = reinterpret_cast<const BYTE*>(*f);
        if (p >= pFrom && p < pFrom + cb) *f = reinterpret_cast<LPWSTR>(to + (p - pFrom));
        else *f = nullptr;  // outside the block: not the spooler's answer, never followed
    }
}

std::vector<BYTE> DevmodeBytes(const DEVMODEW* pDevmode) {
    if (!pDevmode) return {};
    const auto* p = reinterpret_cast<const BYTE*>(pDevmode);
    return std::vector<BYTE>(p, p + pDevmode->dmSize + pDevmode->dmDriverExtra);
}

CapsAnswer* FindAnswer(PCWSTR pszPrinter, PCWSTR pszPort, const std::vector<BYTE>& devmode, WORD capability,
                       size_t entrySize) {
    for (CapsAnswer& a : t_pPass->caps)
        if (a.capability == capability && a.entrySize == entrySize && a.printer == pszPrinter &&
            a.port == (pszPort ? pszPort : L"") && a.devmode == devmode)
            return &a;
    return nullptr;
}

// One list of count + 1 zero-filled entries. nameChars > 0: entries are names of that many
// characters, each terminated even when the driver filled it.
BOOL GetCapsList(PCWSTR pszPrinter, PCWSTR pszPort, const DEVMODEW* pDevmode, WORD capability, size_t entrySize,
                 size_t nameChars, DWORD* pdwCount, void** ppList) {
    if (!pdwCount || !ppList || !pszPrinter) {
        if (pdwCount) *pdwCount = 0;
        if (ppList) *ppList = nullptr;
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    *pdwCount = 0;
    *ppList = nullptr;
    std::vector<BYTE> devmode;
    if (KeepsSpoolerAnswers()) {
        devmode = DevmodeBytes(pDevmode);
        if (const CapsAnswer* a = FindAnswer(pszPrinter, pszPort, devmode, capability, entrySize)) {
            CZQLocalPtr<BYTE> copy;
            if (!copy.Alloc(a->list.size())) return FALSE;
            std::memcpy(copy.Get(), a->list.data(), a->list.size());
            *pdwCount = static_cast<DWORD>(a->count);
            *ppList = copy.Release();
            return TRUE;
        }
    }
    const int announced = QueryCaps(pszPrinter, pszPort, capability, nullptr, pDevmode);
    if (announced < 0) return FALSE;
    CZQLocalPtr<BYTE> list;
    if (!list.Alloc((static_cast<size_t>(announced) + 1) * entrySize)) return FALSE;
    int count = 0;
    if (announced > 0) {
        count = QueryCaps(pszPrinter, pszPort, capability, list.Get(), pDevmode);
        // More entries than announced do not fit the list: nothing of it can be trusted. Fewer
        // leave zero entries behind them, which the count then excludes.
        if (count < 0 || count > announced) return FALSE;
    }
    if (nameChars) {
        auto* names = reinterpret_cast<WCHAR*>(list.Get());
        for (int i = 0; i < count; ++i) names[static_cast<size_t>(i) * nameChars + nameChars - 1] = 0;
    }
    if (KeepsSpoolerAnswers()) {
        const BYTE* bytes = list.Get();
        const size_t cb = (static_cast<size_t>(announced) + 1) * entrySize;
        t_pPass->caps.push_back({pszPrinter, pszPort ? pszPort : L"", std::move(devmode), capability, entrySize, count,
                                 std::vector<BYTE>(bytes, bytes + cb)});
    }
    *pdwCount = static_cast<DWORD>(count);
    *ppList = list.Release();
    return TRUE;
}

template <typename T>
BOOL GetCapsListOf(PCWSTR pszPrinter, PCWSTR pszPort, const DEVMODEW* pDevmode, WORD capability, size_t nameChars,
                   DWORD* pdwCount, T** ppList) {
    const size_t entrySize = nameChars ? nameChars * sizeof(WCHAR) : sizeof(T);
    void* list = nullptr;
    const BOOL ok = GetCapsList(pszPrinter, pszPort, pDevmode, capability, entrySize, nameChars, pdwCount, &list);
    if (ppList) *ppList = static_cast<T*>(list);
    return ok;
}

}  // namespace

CZQCapsReuseScope::CZQCapsReuseScope(bool bSettingsOnly) {
    if (t_pPass) return;
    t_pPass = new (std::nothrow) PassAnswers();
    m_bOwner = t_pPass != nullptr;
    if (t_pPass) t_pPass->bSettingsOnly = bSettingsOnly;
}

CZQCapsReuseScope::~CZQCapsReuseScope() {
    if (!m_bOwner) return;
    delete t_pPass;
    t_pPass = nullptr;
}

DRIVER_INFO_3W* zqreuse::CopyDriverInfo(HANDLE hPrinter) {
    if (!KeepsSpoolerAnswers() || !hPrinter) return nullptr;
    for (const DriverRecord& r : t_pPass->drivers) {
        if (r.hPrinter != hPrinter) continue;
        CZQLocalPtr<BYTE> copy;
        if (!copy.Alloc(r.bytes.size())) return nullptr;
        std::memcpy(copy.Get(), r.bytes.data(), r.bytes.size());
        RebaseStrings(reinterpret_cast<DRIVER_INFO_3W*>(copy.Get()), r.bytes.data(), r.bytes.size());
        return reinterpret_cast<DRIVER_INFO_3W*>(copy.Release());
    }
    return nullptr;
}

void zqreuse::KeepDriverInfo(HANDLE hPrinter, const DRIVER_INFO_3W* pInfo) {
    if (!KeepsSpoolerAnswers() || !hPrinter || !pInfo) return;
    // The spooler's block: the record and its strings, as long as the local heap says.
    const size_t cb = LocalSize(const_cast<DRIVER_INFO_3W*>(pInfo));
    if (cb < sizeof *pInfo) return;
    const auto* bytes = reinterpret_cast<const BYTE*>(pInfo);
    DriverRecord r{hPrinter, std::vector<BYTE>(bytes, bytes + cb)};
    RebaseStrings(reinterpret_cast<DRIVER_INFO_3W*>(r.bytes.data()), bytes, cb);
    t_pPass->drivers.push_back(std::move(r));
}

bool zqreuse::FindSetting(const void* pUIObject, const char* pszKeyword, DWORD* pdwStatus, char** ppValue,
                          size_t* pcb) {
    *ppValue = nullptr;
    *pcb = 0;
    if (!t_pPass || !pszKeyword) return false;
    for (const SettingAnswer& a : t_pPass->settings) {
        if (a.pUIObject != pUIObject || a.keyword != pszKeyword) continue;
        if (a.hasValue) {
            CZQLocalPtr<char> copy;
            if (!copy.Alloc(a.value.size())) return false;
            std::memcpy(copy.Get(), a.value.data(), a.value.size());
            *ppValue = copy.Release();
            *pcb = a.value.size();
        }
        *pdwStatus = a.status;
        return true;
    }
    return false;
}

void zqreuse::KeepSetting(const void* pUIObject, const char* pszKeyword, DWORD dwStatus, const char* pValue,
                          size_t cb) {
    if (!t_pPass || !pszKeyword) return;
    std::vector<char> value;
    if (pValue) value.assign(pValue, pValue + cb);
    t_pPass->settings.push_back({pUIObject, pszKeyword, dwStatus, std::move(value), pValue != nullptr});
}

void zqreuse::ForgetSettings() {
    if (t_pPass) t_pPass->settings.clear();
}

CZQCommon::PFN_RetryWait CZQCommon::SetCapsRetryWait(PFN_RetryWait pfn) {
    PFN_RetryWait previous = g_pfnWait;
    g_pfnWait = pfn ? pfn : &SleepWait;
    return previous;
}

BOOL CZQCommon::BGetPaperSizeNames(PCWSTR pszPrinter, PCWSTR pszPort, const DEVMODEW* pDevmode, DWORD* pdwCount,
                                   PWSTR* ppNames) {
    return GetCapsListOf(pszPrinter, pszPort, pDevmode, DC_PAPERNAMES, kPaperNameChars, pdwCount, ppNames);
}

BOOL CZQCommon::BGetPaperSizes(PCWSTR pszPrinter, PCWSTR pszPort, const DEVMODEW* pDevmode, DWORD* pdwCount,
                               POINT** ppSizes) {
    return GetCapsListOf(pszPrinter, pszPort, pDevmode, DC_PAPERSIZE, 0, pdwCount, ppSizes);
}

BOOL CZQCommon::BGetPaperSizeIndices(PCWSTR pszPrinter, PCWSTR pszPort, const DEVMODEW* pDevmode, DWORD* pdwCount,
                                     WORD** ppPapers) {
    return GetCapsListOf(pszPrinter, pszPort, pDevmode, DC_PAPERS, 0, pdwCount, ppPapers);
}

BOOL CZQCommon::BGetPaperSourceNames(PCWSTR pszPrinter, PCWSTR pszPort, const DEVMODEW* pDevmode, DWORD* pdwCount,
                                     PWSTR* ppNames) {
    return GetCapsListOf(pszPrinter, pszPort, pDevmode, DC_BINNAMES, kBinNameChars, pdwCount, ppNames);
}

BOOL CZQCommon::BGetPaperSourceIndices(PCWSTR pszPrinter, PCWSTR pszPort, const DEVMODEW* pDevmode,
                                       DWORD* pdwCount, WORD** ppBins) {
    return GetCapsListOf(pszPrinter, pszPort, pDevmode, DC_BINS, 0, pdwCount, ppBins);
}

BOOL CZQCommon::BGetMediaTypeNames(PCWSTR pszPrinter, PCWSTR pszPort, const DEVMODEW* pDevmode, DWORD* pdwCount,
                                   PWSTR* ppNames) {
    return GetCapsListOf(pszPrinter, pszPort, pDevmode, DC_MEDIATYPENAMES, kMediaNameChars, pdwCount, ppNames);
}

BOOL CZQCommon::BGetMediaTypeIndices(PCWSTR pszPrinter, PCWSTR pszPort, const DEVMODEW* pDevmode,
                                     DWORD* pdwCount, DWORD** ppMediaTypes) {
    return GetCapsListOf(pszPrinter, pszPort, pDevmode, DC_MEDIATYPES, 0, pdwCount, ppMediaTypes);
}
