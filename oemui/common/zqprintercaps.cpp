#include "common/zqprintercaps.h"

#include <cstring>
#include <cwchar>

#include "platform/zqspooler.h"
#include "common/zqcommon.h"
#include "common/zqhandles.h"
#include "common/zqprinterdata.h"
#include "common/zqstorenames.h"
#include "common/zqstrings.h"
#include "common/zqtrace.h"

namespace {

namespace zs = zqsettings;
using zs::kPaperListKey;

template <typename T>
void FreeLocal(T*& p) {
    if (p) LocalFree(p);
    p = nullptr;
}

bool Failed(DWORD dwError) {
    SetLastError(dwError);
    return false;
}

// The spooler's answers for a value or key that is simply not there.
bool IsAbsent(DWORD rc) { return rc == ERROR_FILE_NOT_FOUND || rc == ERROR_PATH_NOT_FOUND; }

// A text value (REG_SZ) of a printer-data key into a fixed field, cut to it; the field stays empty
// when the value is missing or not a text. False (last error = the spooler's answer) when the
// spooler could not answer.
bool ReadTextValue(HANDLE hPrinter, PCWSTR pszKey, PCWSTR pszValue, PWSTR pszOut, DWORD cchOut) {
    pszOut[0] = 0;
    DWORD type = REG_NONE, cb = 0;
    CZQLocalPtr<BYTE> data;
    const DWORD rc = ZQReadStoredValue(hPrinter, pszKey, pszValue, &type, data, &cb);
    if (IsAbsent(rc)) return true;
    if (rc != ERROR_SUCCESS) return Failed(rc);
    if (type == REG_SZ) ZQCopyTextN(pszOut, cchOut, reinterpret_cast<const WCHAR*>(data.Get()), cb / sizeof(WCHAR));
    return true;
}

// A REG_DWORD value; 0 when it is missing or of another kind. False as for a text.
bool ReadDwordValue(HANDLE hPrinter, PCWSTR pszKey, PCWSTR pszValue, DWORD* pdwValue) {
    *pdwValue = 0;
    DWORD value = 0, type = 0, needed = 0;
    const DWORD rc = zqspool::Spooler().GetPrinterDataExW(hPrinter, pszKey, pszValue, &type,
                                                          reinterpret_cast<BYTE*>(&value), sizeof value, &needed);
    if (IsAbsent(rc) || rc == ERROR_MORE_DATA) return true;  // too big for a number: not one
    if (rc != ERROR_SUCCESS) return Failed(rc);
    if (type == REG_DWORD && needed == sizeof value) *pdwValue = value;
    return true;
}

// The sub-keys of a printer-data key as a double-terminated list in a new local-heap block (null
// for a key that does not exist or has none). False when the key cannot be listed.
bool ListSubKeys(HANDLE hPrinter, PCWSTR pszKey, PWSTR* ppList) {
    *ppList = nullptr;
    const auto& sp = zqspool::Spooler();
    DWORD needed = 0;
    DWORD rc = sp.EnumPrinterKeyW(hPrinter, pszKey, nullptr, 0, &needed);
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (IsAbsent(rc)) return true;
        if (rc != ERROR_MORE_DATA && rc != ERROR_SUCCESS) return Failed(rc);
        if (needed < 2 * sizeof(WCHAR)) return true;
        // Two zero characters more than asked, so the list always ends even if the answer does not.
        CZQLocalPtr<WCHAR> list;
        const size_t cch = needed / sizeof(WCHAR) + 2;
        if (!list.Alloc(cch)) return Failed(ERROR_NOT_ENOUGH_MEMORY);
        DWORD size = needed;
        rc = sp.EnumPrinterKeyW(hPrinter, pszKey, list.Get(), size, &needed);
        if (rc == ERROR_SUCCESS) {
            *ppList = list.Release();
            return true;
        }
    }
    return Failed(rc);
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
    CZQLocalPtr<WCHAR> keys;
    if (!ListSubKeys(hPrinter, pszPaperKey, keys.Put())) return false;
    const size_t count = CountList(keys.Get());
    if (!count) return true;
    CZQLocalPtr<PaperProfile> profiles;
    if (!profiles.Alloc(count)) return Failed(ERROR_NOT_ENOUGH_MEMORY);
    size_t n = 0;
    for (PCWSTR sub = keys.Get(); *sub; sub += wcslen(sub) + 1) {
        WCHAR key[1024];
        if (!JoinKey(key, 1024, pszPaperKey, sub)) continue;
        PaperProfile& p = profiles[n++];
        if (!ReadTextValue(hPrinter, key, zs::kPaperName, p.szName, 256) ||
            !ReadTextValue(hPrinter, key, zs::kProfileQualityLevel, p.szQualityLevel, 256) ||
            !ReadDwordValue(hPrinter, key, zs::kProfileMaxDetail, &p.dwMaxDetail) ||
            !ReadDwordValue(hPrinter, key, zs::kProfileGlossEnhancer, &p.dwGlossEnhancer) ||
            !ReadDwordValue(hPrinter, key, zs::kProfileExtraPasses, &p.dwExtraPasses))
            return false;
        if (!p.szName[0]) ZQCopyText(p.szName, 256, sub);
    }
    pEntry->dwProfileCount = static_cast<DWORD>(n);
    pEntry->pProfiles = profiles.Release();
    return true;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// PrinterCaps
// ---------------------------------------------------------------------------------------------
DWORD ZQSourceIdOfOption(const PrinterCaps* pCaps, const OPTITEM* pSourceItem, int iPosition) {
    if (!pCaps || !pCaps->pSourceIds || pCaps->dwSourceCount == 0) return 0;
    if (!pSourceItem || iPosition < 0 || static_cast<DWORD>(iPosition) >= pCaps->dwSourceCount)
        return pCaps->pSourceIds[0];
    int marked = 0;
    for (int i = 0; i < iPosition; ++i) {
        const OPTPARAM* option = CZQCommon::PGetOptionParam(pSourceItem, i);
        if (option && (option->Flags & OPTPF_OVERLAY_WARNING_ICON)) ++marked;
    }
    return pCaps->pSourceIds[iPosition - marked];
}

DWORD ZQMediaIdOfOption(const PrinterCaps* pCaps, int iPosition) {
    if (!pCaps || !pCaps->pMediaIds || pCaps->dwMediaCount == 0) return 0;
    // A position from a list may be none (-1) or beyond the printer's media: the first media then.
    if (iPosition < 0 || static_cast<DWORD>(iPosition) >= pCaps->dwMediaCount) return pCaps->pMediaIds[0];
    return pCaps->pMediaIds[iPosition];
}

void ZQFreePrinterCaps(PrinterCaps* pCaps) {
    if (!pCaps) return;
    FreeLocal(pCaps->pPaperIds);
    FreeLocal(pCaps->pPaperSizes);
    FreeLocal(pCaps->pSourceIds);
    FreeLocal(pCaps->pSourceNames);
    FreeLocal(pCaps->pMediaIds);
    FreeLocal(pCaps->pQueryDevmode);
    memset(pCaps, 0, sizeof *pCaps);
}

namespace {

template <typename T>
using ListReader = BOOL (*)(PCWSTR, PCWSTR, const DEVMODEW*, DWORD*, T**);

// Ids and the list that goes with them (sizes or names): both kept only when both were read and are
// equally long. False when either could not be read.
template <typename Ids, typename Second>
bool ReadPaired(const PrinterCaps& caps, ListReader<Ids> readIds, ListReader<Second> readSecond, DWORD* pdwCount,
                Ids** ppIds, Second** ppSecond) {
    const PCWSTR name = caps.szPrinterName, port = caps.szPortName;
    DWORD secondCount = 0;
    const bool read = readIds(name, port, caps.pQueryDevmode, pdwCount, ppIds) &&
                      readSecond(name, port, caps.pQueryDevmode, &secondCount, ppSecond);
    if (!read || secondCount != *pdwCount) {
        FreeLocal(*ppIds);
        FreeLocal(*ppSecond);
        *pdwCount = 0;
    }
    return read;
}

// Reads the unread groups of dwLists; the first error of a list that could not be read, else
// ERROR_SUCCESS. Ids and their sizes or names only count together, so an index into one is always
// valid in the other (lists that disagree are the driver's answer, not a failure).
DWORD ReadLists(PrinterCaps* pCaps, DWORD dwLists) {
    const DWORD lists = dwLists & pCaps->dwUnreadLists;
    if (!lists) return ERROR_SUCCESS;
    ZQ_TRACE("ZQPrinterCapsLists");
    pCaps->dwUnreadLists &= ~lists;
    const DWORD lastError = GetLastError();
    DWORD error = ERROR_SUCCESS;
    auto note = [&error](bool read) {
        if (!read && error == ERROR_SUCCESS) error = GetLastError() ? GetLastError() : ERROR_INVALID_DATA;
    };
    if (lists & kCapsPapers)
        note(ReadPaired<WORD, POINT>(*pCaps, &CZQCommon::BGetPaperSizeIndices, &CZQCommon::BGetPaperSizes,
                                     &pCaps->dwPaperCount, &pCaps->pPaperIds, &pCaps->pPaperSizes));
    if (lists & kCapsSources) {
        note(ReadPaired<WORD, WCHAR>(*pCaps, &CZQCommon::BGetPaperSourceIndices, &CZQCommon::BGetPaperSourceNames,
                                     &pCaps->dwSourceCount, &pCaps->pSourceIds, &pCaps->pSourceNames));
        if (pCaps->dwSourceCount)
            ZQCopyTextN(pCaps->szFirstBinName, 24, pCaps->pSourceNames, CZQCommon::kBinNameChars);
    }
    if (lists & kCapsMedia) {
        const bool media = CZQCommon::BGetMediaTypeIndices(pCaps->szPrinterName, pCaps->szPortName,
                                                           pCaps->pQueryDevmode, &pCaps->dwMediaCount,
                                                           &pCaps->pMediaIds);
        note(media);
        if (!media) {
            FreeLocal(pCaps->pMediaIds);
            pCaps->dwMediaCount = 0;
        }
    }
    // The devmode is needed while a group is left to read.
    if (!pCaps->dwUnreadLists) FreeLocal(pCaps->pQueryDevmode);
    SetLastError(lastError);
    return error;
}

}  // namespace

BOOL ZQOpenPrinterCaps(PrinterCaps* pCaps, HANDLE hPrinter, const DEVMODEW* pPublicDM) {
    ZQ_TRACE("ZQOpenPrinterCaps");
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
    if (pPublicDM) {
        const size_t cb = static_cast<size_t>(pPublicDM->dmSize) + pPublicDM->dmDriverExtra;
        CZQLocalPtr<BYTE> copy;
        if (!copy.Alloc(cb)) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return FALSE;
        }
        memcpy(copy.Get(), pPublicDM, cb);
        pCaps->pQueryDevmode = reinterpret_cast<DEVMODEW*>(copy.Release());
    }
    pCaps->dwUnreadLists = kCapsAllLists;
    CZQLocalPtr<WCHAR> help;
    if (CZQCommon::BGetHelpFilePath(hPrinter, help.Put())) {
        ZQCopyText(pCaps->szHelpFile, 256, help.Get());
    } else if (GetLastError() != ERROR_FILE_NOT_FOUND) {
        if (!GetLastError()) SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

const PrinterCaps* ZQPrinterCapsLists(const PrinterCaps* pCaps, DWORD dwLists) {
    if (pCaps && (pCaps->dwUnreadLists & dwLists)) ReadLists(const_cast<PrinterCaps*>(pCaps), dwLists);
    return pCaps;
}

BOOL ZQReadPrinterCaps(PrinterCaps* pCaps, HANDLE hPrinter, const DEVMODEW* pPublicDM) {
    ZQ_TRACE("ZQReadPrinterCaps");
    // The first part that could not be read is what the record reports.
    const bool opened = ZQOpenPrinterCaps(pCaps, hPrinter, pPublicDM);
    if (!opened && (!pCaps || !pCaps->dwUnreadLists)) return FALSE;
    const DWORD openError = GetLastError();
    const DWORD listError = ReadLists(pCaps, kCapsAllLists);
    const DWORD error = !opened ? openError : listError;
    SetLastError(error);
    return error == ERROR_SUCCESS;
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
    CZQLocalPtr<WCHAR> keys;
    if (!ListSubKeys(hPrinter, kPaperListKey, keys.Put())) return FALSE;
    const size_t count = CountList(keys.Get());
    if (!count) return TRUE;
    CZQLocalPtr<PaperListEntry> entries;
    if (!entries.Alloc(count)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    // The entries join the list as they are read, so a failure frees them with it; a list that
    // lost a paper is not handed out.
    pList->pEntries = entries.Release();
    for (PCWSTR sub = keys.Get(); *sub; sub += wcslen(sub) + 1) {
        WCHAR key[512];
        if (!JoinKey(key, 512, kPaperListKey, sub)) continue;
        PaperListEntry& e = pList->pEntries[pList->dwCount++];
        const bool ok = ReadTextValue(hPrinter, key, zs::kPaperName, e.szName, 256) &&
                        ReadTextValue(hPrinter, key, zs::kPaperText, e.szText, 256) &&
                        ReadTextValue(hPrinter, key, zs::kPaperCode, e.szCode, 256) &&
                        ReadDwordValue(hPrinter, key, zs::kPaperDefaultQuality, &e.dwDefaultQuality) &&
                        ReadDwordValue(hPrinter, key, zs::kPaperGlossEnhancerSupport, &e.dwGlossEnhancerSupport) &&
                        ReadDwordValue(hPrinter, key, zs::kPaperExtraPassesSupport, &e.dwExtraPassesSupport) &&
                        ReadDwordValue(hPrinter, key, zs::kPaperMaxDetailSupport, &e.dwMaxDetailSupport) &&
                        ReadDwordValue(hPrinter, key, zs::kPaperCutterSupport, &e.dwCutterSupport) &&
                        ReadProfiles(hPrinter, key, &e);
        if (!ok) {
            const DWORD error = GetLastError();
            ZQFreePaperList(pList);
            SetLastError(error);
            return FALSE;
        }
        if (!e.szName[0]) ZQCopyText(e.szName, 256, sub);
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
