#include "common/zqprintercaps.h"

#include <cstring>
#include <cwchar>

#include "platform/zqspooler.h"
#include "common/zqcommon.h"
#include "common/zqhandles.h"
#include "common/zqstrings.h"
#include "common/zqtrace.h"

namespace {

constexpr WCHAR kPaperListKey[] = L"PaperList";

template <typename T>
void FreeLocal(T*& p) {
    if (p) LocalFree(p);
    p = nullptr;
}

// A text value of a printer-data key into a fixed field, cut to it; the field stays empty when
// the value is missing or not a text.
void ReadTextValue(HANDLE hPrinter, PCWSTR pszKey, PCWSTR pszValue, PWSTR pszOut, DWORD cchOut) {
    pszOut[0] = 0;
    const auto& sp = zqspool::Spooler();
    DWORD type = 0, needed = 0;
    DWORD rc = sp.GetPrinterDataExW(hPrinter, pszKey, pszValue, &type, nullptr, 0, &needed);
    if (rc != ERROR_MORE_DATA && rc != ERROR_SUCCESS) return;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return;
    CZQLocalPtr<BYTE> data;
    if (!data.Alloc(static_cast<size_t>(needed) + sizeof(WCHAR))) return;
    if (sp.GetPrinterDataExW(hPrinter, pszKey, pszValue, &type, data.Get(), needed, &needed) != ERROR_SUCCESS) return;
    ZQCopyTextN(pszOut, cchOut, reinterpret_cast<const WCHAR*>(data.Get()), needed / sizeof(WCHAR));
}

DWORD ReadDwordValue(HANDLE hPrinter, PCWSTR pszKey, PCWSTR pszValue) {
    DWORD value = 0, type = 0, needed = 0;
    if (zqspool::Spooler().GetPrinterDataExW(hPrinter, pszKey, pszValue, &type, reinterpret_cast<BYTE*>(&value),
                                             sizeof value, &needed) != ERROR_SUCCESS ||
        type != REG_DWORD || needed != sizeof value)
        return 0;
    return value;
}

// The sub-keys of a printer-data key as a double-terminated list in a new local-heap block;
// null when the key has none or cannot be listed.
PWSTR ListSubKeys(HANDLE hPrinter, PCWSTR pszKey) {
    const auto& sp = zqspool::Spooler();
    DWORD needed = 0;
    DWORD rc = sp.EnumPrinterKeyW(hPrinter, pszKey, nullptr, 0, &needed);
    for (int attempt = 0; attempt < 3; ++attempt) {
        if ((rc != ERROR_MORE_DATA && rc != ERROR_SUCCESS) || needed < 2 * sizeof(WCHAR)) return nullptr;
        // Two zero characters more than asked, so the list always ends even if the answer does not.
        CZQLocalPtr<WCHAR> list;
        const size_t cch = needed / sizeof(WCHAR) + 2;
        if (!list.Alloc(cch)) return nullptr;
        DWORD size = needed;
        rc = sp.EnumPrinterKeyW(hPrinter, pszKey, list.Get(), size, &needed);
        if (rc == ERROR_SUCCESS) return list.Release();
    }
    return nullptr;
}

size_t CountList(PCWSTR multi) {
    size_t n = 0;
    for (PCWSTR p = multi; p && *p; p += wcslen(p) + 1) ++n;
    return n;
}

bool JoinKey(PWSTR pszOut, size_t cch, PCWSTR a, PCWSTR b) {
    return SUCCEEDED(ZQFormatText(pszOut, cch, L"%ls\\%ls", a, b));
}

bool ReadProfiles(HANDLE hPrinter, PCWSTR pszPaperKey, PaperListEntry* pEntry) {
    CZQLocalPtr<WCHAR> keys(ListSubKeys(hPrinter, pszPaperKey));
    const size_t count = CountList(keys.Get());
    if (!count) return true;
    CZQLocalPtr<PaperProfile> profiles;
    if (!profiles.Alloc(count)) return false;
    size_t n = 0;
    for (PCWSTR sub = keys.Get(); *sub; sub += wcslen(sub) + 1) {
        WCHAR key[1024];
        if (!JoinKey(key, 1024, pszPaperKey, sub)) continue;
        PaperProfile& p = profiles[n++];
        ReadTextValue(hPrinter, key, L"Name", p.szName, 256);
        if (!p.szName[0]) ZQCopyText(p.szName, 256, sub);
        ReadTextValue(hPrinter, key, L"QualityLevel", p.szQualityLevel, 256);
        p.dwMaxDetail = ReadDwordValue(hPrinter, key, L"MaxDetail");
        p.dwGlossEnhancer = ReadDwordValue(hPrinter, key, L"GlossEnhancer");
        p.dwExtraPasses = ReadDwordValue(hPrinter, key, L"ExtraPasses");
    }
    pEntry->dwProfileCount = static_cast<DWORD>(n);
    pEntry->pProfiles = profiles.Release();
    return true;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// PrinterCaps
// ---------------------------------------------------------------------------------------------
void ZQFreePrinterCaps(PrinterCaps* pCaps) {
    if (!pCaps) return;
    FreeLocal(pCaps->pPaperIds);
    FreeLocal(pCaps->pPaperSizes);
    FreeLocal(pCaps->pSourceIds);
    FreeLocal(pCaps->pSourceNames);
    FreeLocal(pCaps->pMediaIds);
    memset(pCaps, 0, sizeof *pCaps);
}

BOOL ZQReadPrinterCaps(PrinterCaps* pCaps, HANDLE hPrinter, const DEVMODEW* pPublicDM) {
    ZQ_TRACE("ZQReadPrinterCaps");
    if (!pCaps || !hPrinter) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    ZQFreePrinterCaps(pCaps);
    CZQLocalPtr<PRINTER_INFO_2W> info;
    if (!CZQCommon::BGetPrinterInfo2(hPrinter, nullptr, nullptr, info.Put())) return FALSE;
    const PRINTER_INFO_2W& pi = *info.Get();
    ZQCopyText(pCaps->szPrinterName, 256, pi.pPrinterName ? pi.pPrinterName : L"");
    ZQCopyText(pCaps->szPortName, 256, pi.pPortName ? pi.pPortName : L"");
    ZQCopyText(pCaps->szPrintProcessor, 256, pi.pPrintProcessor ? pi.pPrintProcessor : L"");
    ZQCopyText(pCaps->szServerName, 256, pi.pServerName ? pi.pServerName : L"");
    CZQLocalPtr<WCHAR> help;
    if (CZQCommon::BGetHelpFilePath(hPrinter, help.Put())) ZQCopyText(pCaps->szHelpFile, 256, help.Get());

    PCWSTR name = pCaps->szPrinterName;
    PCWSTR port = pCaps->szPortName;
    // A list the printer does not offer stays empty; ids and their sizes or names only count
    // together, so an index into one is always valid in the other.
    DWORD sizeCount = 0;
    const bool papers =
        CZQCommon::BGetPaperSizeIndices(name, port, pPublicDM, &pCaps->dwPaperCount, &pCaps->pPaperIds) &&
        CZQCommon::BGetPaperSizes(name, port, pPublicDM, &sizeCount, &pCaps->pPaperSizes) &&
        sizeCount == pCaps->dwPaperCount;
    if (!papers) {
        FreeLocal(pCaps->pPaperIds);
        FreeLocal(pCaps->pPaperSizes);
        pCaps->dwPaperCount = 0;
    }
    DWORD nameCount = 0;
    const bool sources =
        CZQCommon::BGetPaperSourceIndices(name, port, pPublicDM, &pCaps->dwSourceCount, &pCaps->pSourceIds) &&
        CZQCommon::BGetPaperSourceNames(name, port, pPublicDM, &nameCount, &pCaps->pSourceNames) &&
        nameCount == pCaps->dwSourceCount;
    if (!sources) {
        FreeLocal(pCaps->pSourceIds);
        FreeLocal(pCaps->pSourceNames);
        pCaps->dwSourceCount = 0;
    } else if (nameCount) {
        ZQCopyTextN(pCaps->szFirstBinName, 24, pCaps->pSourceNames, CZQCommon::kBinNameChars);
    }
    if (!CZQCommon::BGetMediaTypeIndices(name, port, pPublicDM, &pCaps->dwMediaCount, &pCaps->pMediaIds)) {
        FreeLocal(pCaps->pMediaIds);
        pCaps->dwMediaCount = 0;
    }
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Paper list
// ---------------------------------------------------------------------------------------------
void ZQFreePaperList(PaperList* pList) {
    if (!pList) return;
    for (DWORD i = 0; pList->pEntries && i < pList->dwCount; ++i) FreeLocal(pList->pEntries[i].pProfiles);
    FreeLocal(pList->pEntries);
    pList->dwCount = 0;
}

BOOL ZQReadPaperList(PaperList* pList, HANDLE hPrinter) {
    ZQ_TRACE("ZQReadPaperList");
    if (!pList) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    ZQFreePaperList(pList);
    if (!hPrinter) return TRUE;
    CZQLocalPtr<WCHAR> keys(ListSubKeys(hPrinter, kPaperListKey));
    const size_t count = CountList(keys.Get());
    if (!count) return TRUE;
    CZQLocalPtr<PaperListEntry> entries;
    if (!entries.Alloc(count)) return FALSE;
    size_t n = 0;
    bool ok = true;
    for (PCWSTR sub = keys.Get(); *sub && ok; sub += wcslen(sub) + 1) {
        WCHAR key[512];
        if (!JoinKey(key, 512, kPaperListKey, sub)) continue;
        PaperListEntry& e = entries[n++];
        ReadTextValue(hPrinter, key, L"Name", e.szName, 256);
        if (!e.szName[0]) ZQCopyText(e.szName, 256, sub);
        ReadTextValue(hPrinter, key, L"Text", e.szText, 256);
        ReadTextValue(hPrinter, key, L"Code", e.szCode, 256);
        e.dwDefaultQuality = ReadDwordValue(hPrinter, key, L"DefaultQuality");
        e.dwGlossEnhancerSupport = ReadDwordValue(hPrinter, key, L"GlossEnhancerSupport");
        e.dwExtraPassesSupport = ReadDwordValue(hPrinter, key, L"ExtraPassesSupport");
        e.dwMaxDetailSupport = ReadDwordValue(hPrinter, key, L"MaxDetailSupport");
        e.dwCutterSupport = ReadDwordValue(hPrinter, key, L"CutterSupport");
        ok = ReadProfiles(hPrinter, key, &e);
    }
    pList->pEntries = entries.Release();
    pList->dwCount = static_cast<DWORD>(n);
    if (!ok) {
        ZQFreePaperList(pList);
        return FALSE;
    }
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// StatusRecord
// ---------------------------------------------------------------------------------------------
StatusRecord::StatusRecord()
    : pszMediaText(nullptr),
      dwMediaCode(0),
      dwPaperWidth(0),
      dwPaperLength(0),
      pStatusObject(nullptr),
      pszLocaleName(nullptr),
      pRequest(nullptr),
      pszPrinterName(nullptr),
      dwPortKind(0) {}

StatusRecord::~StatusRecord() {
    FreeLocal(pszMediaText);
    FreeLocal(pszLocaleName);
    FreeLocal(pszPrinterName);
    // A refresh that ended early may leave its objects behind.
    if (pStatusObject) pStatusObject->Release();
    if (pRequest) pRequest->Release();
}

BOOL StatusRecord::BSetText(PWSTR* ppszField, PCWSTR pszText) {
    if (!ppszField) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    FreeLocal(*ppszField);
    if (!pszText) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    *ppszField = ZQDupText(pszText);
    return *ppszField != nullptr;
}
