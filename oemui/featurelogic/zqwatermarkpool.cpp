// The watermark pool in storage: one record a value under "ZQPresetRoot\WatermarkPoolData" of the
// printer's data, or the same key below a restricted user's own key; read into the manager's main
// list, merged with it, written back from index 0 without gaps, its " [none]" record kept in the
// user's language, and the values of earlier versions removed.
#include <climits>
#include <cwchar>
#include <string>
#include <vector>

#include "common/zqhandles.h"
#include "common/zqprinterdata.h"
#include "common/zqstorenames.h"
#include "common/zqstrings.h"
#include "common/zqtrace.h"
#include "featurelogic/zqwatermarks.h"
#include "platform/zqprinterview.h"
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

// The records of a key of the current user appended to the list, the first iLimit values at most
// (values that are no records count too), the name of every value read into *pNames (when given);
// the number of records, -1 when the key is not there or cannot be read.
int ReadUserKey(PCWSTR pszPath, WatermarkList& list, int iLimit, std::vector<std::wstring>* pNames) {
    // Opened, not made: an empty user key would hide the printer's values of other readers.
    CZQRegKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, pszPath, 0, KEY_READ, key.Put()) != ERROR_SUCCESS) return -1;
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
        // A value too large for any record is still named: a save removes it by its name.
        if (pNames && (rc == ERROR_SUCCESS || rc == ERROR_MORE_DATA)) pNames->push_back(name);
        if (rc != ERROR_SUCCESS) continue;
        bool noMemory = false;
        if (AppendRecord(list, type, data.Get(), cb, &noMemory)) ++records;
        if (noMemory) break;
    }
    return records;
}

// The restricted user's records appended to the list (ReadUserKey on his pool key).
int ReadUserPool(HANDLE hPrinter, WatermarkList& list, int iLimit) {
    WCHAR path[kUserPathChars];
    if (!UserPoolPath(hPrinter, path, kUserPathChars)) return -1;
    return ReadUserKey(path, list, iLimit, nullptr);
}

// The pool as stored now, of the printer's data (hWhere the printer) or of a user's key (hWhere
// null, pszKey its path): its records and the names of all its values. FALSE when it cannot be
// read; a pool not there is an empty one.
bool ReadPoolNow(HANDLE hWhere, PCWSTR pszKey, WatermarkList& list, std::vector<std::wstring>& names) {
    if (!hWhere) {
        CZQRegKey probe;
        const LONG rc = RegOpenKeyExW(HKEY_CURRENT_USER, pszKey, 0, KEY_READ, probe.Put());
        if (rc == ERROR_FILE_NOT_FOUND) return true;
        return rc == ERROR_SUCCESS && ReadUserKey(pszKey, list, INT_MAX, &names) >= 0;
    }
    CZQPrinterDataList values;
    if (!values.BReadTree(hWhere, pszKey)) return false;
    for (DWORD i = 0; i < values.Count(); ++i) {
        if (!values.Name(i)) continue;
        names.push_back(values.Name(i));
        DWORD type = REG_NONE, cb = 0;
        const BYTE* data = values.Data(i, &type, &cb);
        bool noMemory = false;
        AppendRecord(list, type, data, cb, &noMemory);
        if (noMemory) return false;
    }
    return true;
}

bool HasName(const std::vector<const WatermarkEntry*>& entries, PCWSTR pszName) {
    for (const WatermarkEntry* e : entries)
        if (ZQEqualNoCase(e->szName, pszName)) return true;
    return false;
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
    for (const WatermarkEntry* e = before ? before->pNext : m_main.pHead; e; e = e->pNext) VSeeName(e->szName);
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
    // Those the list stands for (taken, or of a name it holds) are seen; those the limit leaves out
    // are not, so that a save keeps them.
    for (const WatermarkEntry* e = m_shared.pHead; e; e = e->pNext) {
        if (BListHas(m_main, e->szName)) {
            VSeeName(e->szName);
            continue;
        }
        if (iCount >= kMaxEntries) continue;
        WatermarkEntry* entry = PNewEntry(m_main);
        if (!entry) break;
        CopyEntry(entry, e);
        VSeeName(e->szName);
        ++iCount;
    }
}

// ---------------------------------------------------------------------------------------------
// Saving
// ---------------------------------------------------------------------------------------------
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
    HANDLE where = restricted ? nullptr : printer;
    WCHAR path[kUserPathChars];
    PCWSTR key = kWatermarkPoolKey;
    if (restricted) {
        if (!UserPoolPath(printer, path, kUserPathChars)) return FALSE;
        key = path;
    }
    // The pool as stored now: another sheet may have saved since this one read it.
    zqspool::CZQStoredNow now;
    ScratchList stored;
    std::vector<std::wstring> storedNames;
    if (!ReadPoolNow(where, key, stored, storedNames)) return FALSE;

    std::vector<const WatermarkEntry*> pool;
    for (const WatermarkEntry* e = m_main.pHead; e; e = e->pNext) {
        if (!(e->dwFlags & kWatermarkEditable) || HasName(pool, e->szName)) continue;
        // A restricted user's own pool never holds " [none]".
        if (!restricted || wcscmp(e->szName, NoneName()) != 0) pool.push_back(e);
    }
    // Stored watermarks this list does not stand for stay: a restricted user's earlier ones he did
    // not delete; in the printer's pool those saved meanwhile by another sheet (this one never saw
    // them; one it saw and no longer lists was deleted or renamed here).
    for (const WatermarkEntry* e = stored.pHead; e; e = e->pNext) {
        if (HasName(pool, e->szName) || BIsDeletedName(e->szName) || (!restricted && BIsSeenName(e->szName))) continue;
        pool.push_back(e);
    }
    if (restricted && pool.size() > static_cast<size_t>(kMaxUserEntries)) pool.resize(kMaxUserEntries);

    // The pool from index 0 over what is stored; values beyond it go last.
    struct Image {
        CZQLocalPtr<BYTE> record;
        WCHAR name[kValueNameChars];
    };
    std::vector<Image> images(pool.size());
    std::vector<ZQValueChange> changes;
    for (size_t i = 0; i < pool.size(); ++i) {
        if (!BSerializeEntry(images[i].record.Put(), pool[i])) return FALSE;
        PoolValueName(images[i].name, static_cast<int>(i));
        changes.push_back({key, images[i].name, REG_BINARY, images[i].record.Get(), zqwm::kRecordBytes, FALSE});
    }
    for (const std::wstring& name : storedNames) {
        bool written = false;
        for (const Image& image : images) written = written || ZQEqualNoCase(image.name, name.c_str());
        if (!written) changes.push_back({key, name.c_str(), REG_NONE, nullptr, 0, TRUE});
    }
    if (!ZQChangeValuesTogether(where, changes.data(), changes.size())) return FALSE;
    if (restricted) VFreeDeletedNames();
    // What this list stored is its own from now on: gone from it later means deleted here.
    for (const WatermarkEntry* e = m_main.pHead; e; e = e->pNext)
        if (HasName(pool, e->szName) && !BIsSeenName(e->szName)) VSeeName(e->szName);
    return TRUE;
}

BOOL CZQWatermarks::BStoreSharedEntry(const WatermarkEntry* pEntry, HANDLE hPrinter, int iPreferredIndex) {
    if (!pEntry || !hPrinter) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    zqspool::CZQStoredNow now;
    CZQPrinterDataList values;
    if (!values.BReadTree(hPrinter, kWatermarkPoolKey)) return FALSE;
    WCHAR preferred[kValueNameChars];
    PoolValueName(preferred, iPreferredIndex);
    const size_t prefix = wcslen(zqsettings::kWatermarkPoolValuePrefix);
    bool preferredTaken = false;
    long long next = 0;
    for (DWORD i = 0; i < values.Count(); ++i) {
        PCWSTR name = values.Name(i);
        if (!name) continue;
        DWORD type = REG_NONE, cb = 0;
        const BYTE* data = values.Data(i, &type, &cb);
        ZQWatermarkRecord record;
        // The watermark of that name is written over where it stands.
        if (type == REG_BINARY && data && zqwm::Read(data, cb, &record) &&
            ZQEqualNoCase(record.szName, pEntry->szName)) {
            CZQLocalPtr<BYTE> image;
            if (!BSerializeEntry(image.Put(), pEntry)) return FALSE;
            const DWORD rc =
                ZQWriteStoredValue(hPrinter, kWatermarkPoolKey, name, REG_BINARY, image.Get(), zqwm::kRecordBytes);
            SetLastError(rc);
            return rc == ERROR_SUCCESS;
        }
        preferredTaken = preferredTaken || ZQEqualNoCase(name, preferred);
        if (_wcsnicmp(name, zqsettings::kWatermarkPoolValuePrefix, prefix) == 0) {
            const long long index = _wtoi64(name + prefix);
            if (index + 1 > next) next = index + 1;
        }
    }
    // Else its own place when free, else past every stored index: no other watermark is written over.
    if (!preferredTaken) return BWriteEntry(pEntry, FALSE, hPrinter, iPreferredIndex);
    if (next > INT_MAX) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    return BWriteEntry(pEntry, FALSE, hPrinter, static_cast<int>(next));
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
    const bool renamed = !ZQEqualNoCase(NoneName(), record.szName);
    if (renamed) {
        ZQCopyText(record.szName, zqwm::kTextChars, NoneName());
        ZQCopyText(record.szText, zqwm::kTextChars, NoneName());
    }
    static_cast<ZQWatermarkRecord&>(*first) = record;
    return renamed && first->pNext != nullptr;
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
