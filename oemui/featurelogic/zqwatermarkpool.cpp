// The watermark pool in storage: one record a value under "ZQPresetRoot\WatermarkPoolData" of the
// printer's data, or the same key below a restricted user's own key; read into the manager's main
// list, merged with it, written back from index 0 without gaps, its " [none]" record kept in the
// user's language, and the values of earlier versions removed.
#include <climits>
#include <cwchar>

#include "common/zqhandles.h"
#include "common/zqprinterdata.h"
#include "common/zqstorenames.h"
#include "common/zqstrings.h"
#include "common/zqtrace.h"
#include "featurelogic/zqwatermarks.h"
#include "settings/zqdriverdata.h"

namespace {

using zqsettings::kWatermarkPoolKey;

// The value names of a pool: "WatermarkPool:<index>".
constexpr size_t kValueNameChars = 32;
void PoolValueName(PWSTR pszName, int iIndex) {
    ZQFormatText(pszName, kValueNameChars, L"%ls%d", zqsettings::kWatermarkPoolValuePrefix, iIndex);
}

// No record comes near this; a larger value under the restricted user's key is not read.
constexpr DWORD kMaxUserValueBytes = 64 * 1024;
// Names of the earlier versions' values have at most 19 characters: no count reaches further.
constexpr DWORD kMaxLegacyValues = 10000;

void CopyEntry(WatermarkEntry* pTo, const WatermarkEntry* pFrom) {
    static_cast<ZQWatermarkRecord&>(*pTo) = *pFrom;
    pTo->dwFlags = pFrom->dwFlags;
}

void Unlink(WatermarkList& list, WatermarkEntry* pEntry) {
    if (pEntry->pPrev) pEntry->pPrev->pNext = pEntry->pNext;
    else list.pHead = pEntry->pNext;
    if (pEntry->pNext) pEntry->pNext->pPrev = pEntry->pPrev;
    else list.pTail = pEntry->pPrev;
    LocalFree(pEntry);
}

// A list that lives for one operation.
struct ScratchList : WatermarkList {
    ScratchList() = default;
    ScratchList(const ScratchList&) = delete;
    ScratchList& operator=(const ScratchList&) = delete;
    ~ScratchList() { CZQWatermarks::VFreeEntryList(*this); }
};

// The value parsed into a new entry at the list's end; false (no entry) when it is not a record.
// *pbNoMemory when the entry could not be made.
bool AppendRecord(WatermarkList& list, DWORD dwType, const BYTE* pData, DWORD cbData, bool* pbNoMemory) {
    *pbNoMemory = false;
    // Only binary values hold records; a text or a number under the key is someone else's.
    if (dwType != REG_BINARY || !pData) return false;
    WatermarkEntry* entry = CZQWatermarks::PNewEntry(list);
    if (!entry) {
        *pbNoMemory = true;
        return false;
    }
    if (CZQWatermarks::BParseEntry(pData, cbData, entry)) return true;
    Unlink(list, entry);
    return false;
}

// The restricted user's own pool key: the current user's maker key, his GUID, the pool key.
bool UserPoolPath(HANDLE hPrinter, PWSTR pszPath, size_t cchPath) {
    WCHAR guid[CZQCommon::kGuidTextChars];
    if (!CZQCommon::BReadRestrictedUserGuid(hPrinter, guid)) return false;
    return SUCCEEDED(ZQFormatText(pszPath, cchPath, L"%ls%ls\\%ls", zqsettings::kMakerKey, guid, kWatermarkPoolKey));
}

constexpr size_t kUserPathChars = 260;

// The restricted user's records appended to the list, the first iLimit values of his key at most
// (values that are no records count too); the number of records, -1 when he has no key.
int ReadUserPool(HANDLE hPrinter, WatermarkList& list, int iLimit) {
    WCHAR path[kUserPathChars];
    if (!UserPoolPath(hPrinter, path, kUserPathChars)) return -1;
    // Opened, not made: an empty user key would hide the printer's values of other readers.
    CZQRegKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, key.Put()) != ERROR_SUCCESS) return -1;
    DWORD cbMax = 0;
    if (RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &cbMax,
                         nullptr, nullptr) != ERROR_SUCCESS)
        return -1;
    const DWORD cbBuffer = cbMax < kMaxUserValueBytes ? cbMax + 1 : kMaxUserValueBytes;
    CZQLocalPtr<BYTE> data;
    if (!data.Alloc(cbBuffer)) return -1;
    int records = 0;
    for (int index = 0; index < iLimit; ++index) {
        WCHAR name[260];
        DWORD cchName = 260, type = REG_NONE, cb = cbBuffer;
        const LONG rc = RegEnumValueW(key.Get(), static_cast<DWORD>(index), name, &cchName, nullptr, &type, data.Get(), &cb);
        if (rc == ERROR_NO_MORE_ITEMS) break;
        if (rc != ERROR_SUCCESS) continue;
        bool noMemory = false;
        if (AppendRecord(list, type, data.Get(), cb, &noMemory)) ++records;
        if (noMemory) break;
    }
    return records;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Records
// ---------------------------------------------------------------------------------------------
BOOL CZQWatermarks::BSerializeEntry(BYTE** ppBuffer, const WatermarkEntry* pEntry) {
    if (ppBuffer) *ppBuffer = nullptr;
    if (!ppBuffer || !pEntry) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    auto* buffer = static_cast<BYTE*>(LocalAlloc(LPTR, zqwm::kRecordBytes));
    if (!buffer) return FALSE;
    zqwm::Write(*pEntry, buffer);
    *ppBuffer = buffer;
    return TRUE;
}

BOOL CZQWatermarks::BParseEntry(const BYTE* pData, DWORD cbData, WatermarkEntry* pEntry) {
    if (!pData || !pEntry) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    return zqwm::Read(pData, cbData, pEntry) ? TRUE : FALSE;
}

BOOL CZQWatermarks::BWriteEntry(const WatermarkEntry* pEntry, BOOL bPerUser, HANDLE hPrinter, int iIndex) {
    CZQLocalPtr<BYTE> record;
    if (!BSerializeEntry(record.Put(), pEntry)) return FALSE;
    WCHAR name[kValueNameChars];
    PoolValueName(name, iIndex);
    return BWriteUserSetting(hPrinter, bPerUser, kWatermarkPoolKey, name, record.Get(), zqwm::kRecordBytes, REG_BINARY);
}

// ---------------------------------------------------------------------------------------------
// Reading and merging
// ---------------------------------------------------------------------------------------------
int CZQWatermarks::IReadSharedPool(WatermarkList& list, HANDLE hPrinter, BOOL bRestricted, int iLimit) {
    CZQPrinterDataList values;
    if (!values.BRead(hPrinter, kWatermarkPoolKey)) return -1;
    // The spooler's order, whatever the values are named.
    const int taken = static_cast<int>(values.Count()) < iLimit ? static_cast<int>(values.Count()) : iLimit;
    for (int i = 0; i < taken; ++i) {
        DWORD type = REG_NONE, cb = 0;
        const BYTE* data = values.Data(static_cast<DWORD>(i), &type, &cb);
        bool noMemory = false;
        if (AppendRecord(list, type, data, cb, &noMemory)) {
            // Every user may change " [none]"; a restricted user only sees the others.
            WatermarkEntry* entry = list.pTail;
            entry->dwFlags = !bRestricted || wcscmp(entry->szName, NoneName()) == 0 ? kWatermarkEditable
                                                                                     : kWatermarkReadOnly;
        }
        if (noMemory) break;
    }
    return taken;
}

BOOL CZQWatermarks::BReadPool(POEMCUIPPARAM pParam, BOOL bRestricted) {
    ZQ_TRACE("CZQWatermarks::BReadPool");
    if (!pParam) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    WatermarkEntry* before = m_main.pTail;
    const int taken = IReadSharedPool(m_main, pParam->hPrinter, bRestricted, kMaxEntries);
    BOOL read = taken > 0;
    if (taken >= kMaxEntries || !bRestricted) return read;

    // The restricted user's own watermarks follow, up to the pool's limit; one of a shared one's
    // name is kept but not shown.
    WatermarkEntry* firstShared = before ? before->pNext : m_main.pHead;
    WatermarkEntry* firstOwn = m_main.pTail;
    if (ReadUserPool(pParam->hPrinter, m_main, kMaxEntries - (taken > 0 ? taken : 0)) > 0) read = TRUE;
    firstOwn = firstOwn ? firstOwn->pNext : m_main.pHead;
    for (WatermarkEntry* e = firstOwn; e; e = e->pNext) {
        e->dwFlags = kWatermarkEditable;
        for (const WatermarkEntry* s = firstShared; s && s != firstOwn; s = s->pNext)
            if (wcscmp(s->szName, e->szName) == 0) e->dwFlags |= kWatermarkHidden;
    }
    return read;
}

void CZQWatermarks::VMergeSharedPool(BOOL bRestricted, POEMCUIPPARAM pParam, int iCount) {
    if (!pParam) return;
    VFreeEntryList(m_shared);
    IReadSharedPool(m_shared, pParam->hPrinter, bRestricted, kMaxEntries);
    for (const WatermarkEntry* e = m_shared.pHead; e && iCount < kMaxEntries; e = e->pNext) {
        if (BListHas(m_main, e->szName)) continue;
        WatermarkEntry* entry = PNewEntry(m_main);
        if (!entry) break;
        CopyEntry(entry, e);
        ++iCount;
    }
}

// ---------------------------------------------------------------------------------------------
// Saving
// ---------------------------------------------------------------------------------------------
void CZQWatermarks::VDeletePoolKey(BOOL bPerUser, HANDLE hPrinter) {
    if (!bPerUser) {
        // A spooler that cannot delete its keys keeps the old values; the save writes over them.
        if (!CZQDriverData::BDeletePrinterKey(hPrinter, kWatermarkPoolKey))
            zqtrace::Line(L"CZQWatermarks::VDeletePoolKey: the pool's key stays\n");
        return;
    }
    WCHAR path[kUserPathChars];
    if (UserPoolPath(hPrinter, path, kUserPathChars)) RegDeleteKeyW(HKEY_CURRENT_USER, path);
}

BOOL CZQWatermarks::BSavePool(POEMCUIPPARAM pParam) {
    ZQ_TRACE("CZQWatermarks::BSavePool");
    if (!pParam) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    HANDLE printer = nullptr;
    BOOL reopened = FALSE;
    const BOOL restricted =
        BIsPrinterDataReadOnly(pParam->hPrinter, pParam->pPrinterName, pParam->pPublicDM, &printer, &reopened);
    CZQPrinterHandle own(reopened ? printer : nullptr);
    if (!m_main.pHead || !printer) return FALSE;

    // A restricted user's earlier watermarks, before his key goes.
    ScratchList stored, kept;
    if (restricted) ReadUserPool(printer, stored, INT_MAX);
    VDeletePoolKey(restricted, printer);

    int index = 0;
    for (const WatermarkEntry* e = m_main.pHead; e; e = e->pNext) {
        if (!(e->dwFlags & kWatermarkEditable)) continue;
        if (!restricted) {
            BWriteEntry(e, FALSE, printer, index++);
        } else if (wcscmp(e->szName, NoneName()) != 0) {
            if (WatermarkEntry* copy = PNewEntry(kept)) CopyEntry(copy, e);
        }
    }
    if (restricted) {
        // His earlier watermarks stay unless he deleted them or the list holds them already.
        for (const WatermarkEntry* e = stored.pHead; e; e = e->pNext) {
            if (BIsDeletedName(e->szName) || BListHas(kept, e->szName)) continue;
            if (WatermarkEntry* copy = PNewEntry(kept)) CopyEntry(copy, e);
        }
        for (const WatermarkEntry* e = kept.pHead; e && index < kMaxUserEntries; e = e->pNext)
            BWriteEntry(e, TRUE, printer, index++);
        VFreeDeletedNames();
    }
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// The " [none]" record and the earlier versions' values
// ---------------------------------------------------------------------------------------------
BOOL CZQWatermarks::BRefreshNoneEntry(HANDLE hPrinter, PCWSTR pszPrinterName, const void* pPrivateDM,
                                      const DEVMODEW*) {
    WatermarkEntry* first = m_main.pHead;
    if (!first) return FALSE;
    if (!hPrinter || !pszPrinterName || !pPrivateDM) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    WCHAR name[kValueNameChars];
    PoolValueName(name, 0);
    DWORD type = REG_NONE, cb = 0;
    CZQLocalPtr<BYTE> data;
    ZQWatermarkRecord record;
    if (ZQReadStoredValue(hPrinter, kWatermarkPoolKey, name, &type, data, &cb) != ERROR_SUCCESS ||
        !zqwm::Read(data.Get(), cb, &record))
        return FALSE;
    // The record keeps the " [none]" of the language it was written in.
    if (!ZQEqualNoCase(NoneName(), record.szName)) {
        ZQCopyText(record.szName, zqwm::kTextChars, NoneName());
        ZQCopyText(record.szText, zqwm::kTextChars, NoneName());
    }
    static_cast<ZQWatermarkRecord&>(*first) = record;
    return first->pNext != nullptr;
}

void CZQWatermarks::VRemoveLegacyData(POEMCUIPPARAM pParam) {
    if (!pParam || !pParam->hPrinter) return;
    const HANDLE printer = pParam->hPrinter;
    DWORD type = REG_NONE, cb = 0;
    CZQLocalPtr<BYTE> data;
    if (ZQReadStoredValue(printer, nullptr, zqsettings::kLegacyWatermarkCount, &type, data, &cb) != ERROR_SUCCESS ||
        cb == 0 || cb > sizeof(DWORD))
        return;
    DWORD count = 0;
    for (DWORD i = 0; i < cb; ++i) count |= static_cast<DWORD>(data.Get()[i]) << (8 * i);
    if (count > kMaxLegacyValues) count = kMaxLegacyValues;
    for (DWORD i = 0; i < count; ++i) {
        WCHAR name[kValueNameChars];
        ZQFormatText(name, kValueNameChars, L"%ls%lu", zqsettings::kLegacyWatermarkPrefix, static_cast<unsigned long>(i));
        // A refused deletion ends the removal and keeps the count: a later call finishes it.
        if (!CZQDriverData::BDeletePrinterData(printer, name) && GetLastError() != ERROR_FILE_NOT_FOUND) return;
    }
    CZQDriverData::BDeletePrinterData(printer, zqsettings::kLegacyWatermarkCount);
}
