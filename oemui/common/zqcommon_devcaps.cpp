// The printer's paper, source and media lists through the device-capabilities call.
#include "platform/zqspooler.h"
#include "common/zqcommon.h"
#include "common/zqhandles.h"

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
