// The watermark pool in storage: one record a value under "ZQPresetRoot\WatermarkPoolData" of the
// printer's data, or the same key below a restricted user's own key; read into the manager's main
// list, merged with it, what the manager changed stored over the pool as it is stored at that moment,
// its " [none]" record kept in the user's language, and the values of earlier versions removed.
#include <algorithm>
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
#include "settings/zqstorelock.h"

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

// The values of a key of the current user, the first iLimit at most, handed to fn(name, type,
// data, size) in the registry's order (data null for a value too large for any record) until it
// answers false. FALSE when the key is not there or cannot be read.
template <class Fn>
bool EachUserValue(PCWSTR pszPath, int iLimit, Fn fn) {
    // Opened, not made: an empty user key would hide the printer's values of other readers.
    CZQRegKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, pszPath, 0, KEY_READ, key.Put()) != ERROR_SUCCESS) return false;
    DWORD cbMax = 0;
    if (RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &cbMax,
                         nullptr, nullptr) != ERROR_SUCCESS)
        return false;
    const DWORD cbBuffer = cbMax < kMaxUserValueBytes ? cbMax + 1 : kMaxUserValueBytes;
    CZQLocalPtr<BYTE> data;
    if (!data.Alloc(cbBuffer)) return false;
    for (int index = 0; index < iLimit; ++index) {
        WCHAR name[260];
        DWORD cchName = 260, type = REG_NONE, cb = cbBuffer;
        const LONG rc = RegEnumValueW(key.Get(), static_cast<DWORD>(index), name, &cchName, nullptr, &type, data.Get(), &cb);
        if (rc == ERROR_NO_MORE_ITEMS) break;
        // A value too large for any record is still named: a save removes it by its name.
        if (rc != ERROR_SUCCESS && rc != ERROR_MORE_DATA) continue;
        if (!fn(name, type, rc == ERROR_SUCCESS ? data.Get() : nullptr, rc == ERROR_SUCCESS ? cb : 0)) break;
    }
    return true;
}

// The restricted user's records appended to the list, the first iLimit values at most (values that
// are no records count too); the number of records, -1 when his key is not there or cannot be read.
int ReadUserPool(HANDLE hPrinter, WatermarkList& list, int iLimit) {
    WCHAR path[kUserPathChars];
    if (!UserPoolPath(hPrinter, path, kUserPathChars)) return -1;
    int records = 0;
    const bool listed = EachUserValue(path, iLimit, [&](PCWSTR, DWORD type, const BYTE* data, DWORD cb) {
        bool noMemory = false;
        if (AppendRecord(list, type, data, cb, &noMemory)) ++records;
        return !noMemory;
    });
    return listed ? records : -1;
}

// One value of the pool as stored now: its name and, when it holds one, its record.
struct StoredValue {
    std::wstring name;
    bool record = false;
    ZQWatermarkRecord fields = {};
};

StoredValue ValueOf(PCWSTR pszName, DWORD dwType, const BYTE* pData, DWORD cbData) {
    StoredValue value;
    value.name = pszName;
    value.record = dwType == REG_BINARY && pData && zqwm::Read(pData, cbData, &value.fields);
    return value;
}

// The pool as stored now, of the printer's data (hWhere the printer) or of a user's key (hWhere
// null, pszKey its path). False when it cannot be read; a pool not there is an empty one.
bool ReadStoredNow(HANDLE hWhere, PCWSTR pszKey, std::vector<StoredValue>& values) {
    if (!hWhere) {
        CZQRegKey probe;
        const LONG rc = RegOpenKeyExW(HKEY_CURRENT_USER, pszKey, 0, KEY_READ, probe.Put());
        if (rc == ERROR_FILE_NOT_FOUND) return true;
        return rc == ERROR_SUCCESS && EachUserValue(pszKey, INT_MAX, [&](PCWSTR name, DWORD type, const BYTE* data,
                                                                          DWORD cb) {
                   values.push_back(ValueOf(name, type, data, cb));
                   return true;
               });
    }
    CZQPrinterDataList list;
    if (!list.BReadTree(hWhere, pszKey)) return false;
    for (DWORD i = 0; i < list.Count(); ++i) {
        if (!list.Name(i)) continue;
        DWORD type = REG_NONE, cb = 0;
        const BYTE* data = list.Data(i, &type, &cb);
        values.push_back(ValueOf(list.Name(i), type, data, cb));
    }
    return true;
}

// A watermark's record as the pool keeps it: a diagonal one at the default angle, whatever paper the
// sheet that holds it shows.
void WriteImage(const ZQWatermarkRecord& record, BYTE* pOut) {
    if (record.dwAngleMode != 0) {
        zqwm::Write(record, pOut);
        return;
    }
    ZQWatermarkRecord diagonal = record;
    diagonal.dwAngle = CZQWatermarks::kDefaultAngle;
    zqwm::Write(diagonal, pOut);
}

std::vector<BYTE> ImageOf(const ZQWatermarkRecord& record) {
    std::vector<BYTE> image(zqwm::kRecordBytes);
    WriteImage(record, image.data());
    return image;
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
    WriteImage(*pEntry, buffer);
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
    m_bRestricted = bRestricted;
    WatermarkEntry* before = m_main.pTail;
    const int taken = IReadSharedPool(m_main, pParam->hPrinter, bRestricted, kMaxEntries);
    BOOL read = taken > 0;
    if (!bRestricted)
        for (const WatermarkEntry* e = before ? before->pNext : m_main.pHead; e; e = e->pNext) VRememberRead(*e);
    if (taken >= kMaxEntries || !bRestricted) return read;

    // The restricted user's own watermarks follow, up to the pool's limit; one of a shared one's
    // name is kept but not shown.
    WatermarkEntry* firstShared = before ? before->pNext : m_main.pHead;
    WatermarkEntry* firstOwn = m_main.pTail;
    if (ReadUserPool(pParam->hPrinter, m_main, kMaxEntries - (taken > 0 ? taken : 0)) > 0) read = TRUE;
    firstOwn = firstOwn ? firstOwn->pNext : m_main.pHead;
    for (WatermarkEntry* e = firstOwn; e; e = e->pNext) {
        VRememberRead(*e);
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
    // Those the list stands for (taken, or of a name it holds) are read; those the limit leaves out
    // are not, so that a save leaves them alone. A restricted user saves to a pool of his own.
    for (const WatermarkEntry* e = m_shared.pHead; e; e = e->pNext) {
        if (BListHas(m_main, e->szName)) {
            if (!bRestricted) VRememberRead(*e);
            continue;
        }
        // Read before and no longer listed: deleted here.
        if (iCount >= kMaxEntries || (!bRestricted && PReadImage(e->szName))) continue;
        WatermarkEntry* entry = PNewEntry(m_main);
        if (!entry) break;
        CopyEntry(entry, e);
        if (!bRestricted) VRememberRead(*e);
        ++iCount;
    }
}

// ---------------------------------------------------------------------------------------------
// Saving
// ---------------------------------------------------------------------------------------------
void CZQWatermarks::VRememberRead(const WatermarkEntry& entry) {
    if (!PReadImage(entry.szName)) m_readImages.push_back({entry.szName, ImageOf(entry)});
}

void CZQWatermarks::VForgetRead(PCWSTR pszName) {
    m_readImages.erase(std::remove_if(m_readImages.begin(), m_readImages.end(),
                                      [&](const ReadImage& read) { return ZQEqualNoCase(read.name.c_str(), pszName); }),
                       m_readImages.end());
}

const std::vector<BYTE>* CZQWatermarks::PReadImage(PCWSTR pszName) const {
    for (const ReadImage& read : m_readImages)
        if (ZQEqualNoCase(read.name.c_str(), pszName)) return &read.bytes;
    return nullptr;
}

std::vector<const WatermarkEntry*> CZQWatermarks::SavedEntries(BOOL bRestricted) {
    std::vector<const WatermarkEntry*> saved;
    for (const WatermarkEntry* e = m_main.pHead; e; e = e->pNext) {
        if (!(e->dwFlags & kWatermarkEditable) || HasName(saved, e->szName)) continue;
        // A restricted user's own pool never holds " [none]".
        if (!bRestricted || wcscmp(e->szName, NoneName()) != 0) saved.push_back(e);
    }
    return saved;
}

bool CZQWatermarks::BDeletedHere(PCWSTR pszName, const std::vector<const WatermarkEntry*>& saved,
                                 BOOL bRestricted) const {
    if (HasName(saved, pszName)) return false;
    return bRestricted ? BIsDeletedName(pszName) : PReadImage(pszName) != nullptr;
}

BOOL CZQWatermarks::BHasChanges(BOOL bRestricted) {
    const std::vector<const WatermarkEntry*> saved = SavedEntries(bRestricted);
    for (const WatermarkEntry* e : saved) {
        const std::vector<BYTE>* read = PReadImage(e->szName);
        if (!read || *read != ImageOf(*e)) return TRUE;
    }
    for (const ReadImage& read : m_readImages)
        if (BDeletedHere(read.name.c_str(), saved, bRestricted)) return TRUE;
    for (const DeletedWatermarkName* n = m_pDeletedHead; bRestricted && n; n = n->pNext)
        if (BDeletedHere(n->szName, saved, bRestricted)) return TRUE;
    return FALSE;
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
    // Nothing of this list differs from the pool as read: the pool is neither read nor written.
    if (!BHasChanges(restricted)) return TRUE;
    // The read of the pool, the decision and the writes are one step for every program.
    const CZQStoreLock lock(printer, pParam->pPrinterName);
    if (!lock.Held()) {
        SetLastError(ERROR_TIMEOUT);
        return FALSE;
    }
    if (!restricted) return BStoreChanges(printer, kWatermarkPoolKey, FALSE);
    WCHAR path[kUserPathChars];
    if (!UserPoolPath(printer, path, kUserPathChars)) return FALSE;
    return BStoreChanges(nullptr, path, TRUE);
}

BOOL CZQWatermarks::BStoreChanges(HANDLE hWhere, PCWSTR pszKey, BOOL bRestricted) {
    const std::vector<const WatermarkEntry*> saved = SavedEntries(bRestricted);
    // The pool as stored now: another sheet or program may have changed it since this one read it.
    zqspool::CZQStoredNow now;
    std::vector<StoredValue> stored;
    if (!ReadStoredNow(hWhere, pszKey, stored)) return FALSE;

    // What this list deleted goes, every value of its name; one another sheet removed first is gone.
    std::vector<std::wstring> removals;
    size_t records = 0;
    for (const StoredValue& v : stored) {
        if (!v.record) continue;
        if (BDeletedHere(v.fields.szName, saved, bRestricted)) removals.push_back(v.name);
        else ++records;
    }
    auto removed = [&](const std::wstring& name) {
        for (const std::wstring& r : removals)
            if (ZQEqualNoCase(r.c_str(), name.c_str())) return true;
        return false;
    };
    struct Write {
        std::wstring name;
        std::vector<BYTE> image;
    };
    std::vector<Write> writes;
    // A value that holds no record is no one's watermark: a new one may go over it.
    auto taken = [&](PCWSTR pszName) {
        for (const StoredValue& v : stored)
            if (v.record && ZQEqualNoCase(v.name.c_str(), pszName) && !removed(v.name)) return true;
        for (const Write& w : writes)
            if (ZQEqualNoCase(w.name.c_str(), pszName)) return true;
        return false;
    };
    // What this list changed or added goes over the values of its name, else to the first free
    // index (one another sheet removed meanwhile comes back only when this list changed it); a
    // watermark as this list read it stays as stored now, whoever changed or removed it.
    std::vector<const WatermarkEntry*> written;
    int next = 0;
    for (const WatermarkEntry* e : saved) {
        std::vector<BYTE> image = ImageOf(*e);
        const std::vector<BYTE>* read = PReadImage(e->szName);
        if (read && *read == image) continue;
        bool placed = false;
        for (const StoredValue& v : stored) {
            if (!v.record || !ZQEqualNoCase(v.fields.szName, e->szName)) continue;
            writes.push_back({v.name, image});
            placed = true;
        }
        if (!placed) {
            if (bRestricted && records >= static_cast<size_t>(kMaxUserEntries)) continue;
            WCHAR name[kValueNameChars];
            do {
                if (next == INT_MAX) return FALSE;
                PoolValueName(name, next++);
            } while (taken(name));
            // A value removed above and taken again is written over instead.
            removals.erase(std::remove_if(removals.begin(), removals.end(),
                                          [&](const std::wstring& r) { return ZQEqualNoCase(r.c_str(), name); }),
                           removals.end());
            writes.push_back({name, std::move(image)});
            ++records;
        }
        written.push_back(e);
    }

    std::vector<ZQValueChange> changes;
    for (const Write& w : writes)
        changes.push_back({pszKey, w.name.c_str(), REG_BINARY, w.image.data(), zqwm::kRecordBytes, FALSE});
    for (const std::wstring& name : removals) changes.push_back({pszKey, name.c_str(), REG_NONE, nullptr, 0, TRUE});
    if (!changes.empty() && !ZQChangeValuesTogether(hWhere, changes.data(), changes.size())) return FALSE;

    // The pool now holds this list's watermarks as it shows them: a later save compares with these.
    for (const WatermarkEntry* e : written) {
        VForgetRead(e->szName);
        VRememberRead(*e);
    }
    for (size_t i = m_readImages.size(); i-- > 0;)
        if (BDeletedHere(m_readImages[i].name.c_str(), saved, bRestricted)) m_readImages.erase(m_readImages.begin() + i);
    if (bRestricted) VFreeDeletedNames();
    return TRUE;
}

BOOL CZQWatermarks::BStoreSharedEntry(const WatermarkEntry* pEntry, HANDLE hPrinter, int iPreferredIndex) {
    if (!pEntry || !hPrinter) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    const CZQStoreLock lock(hPrinter);
    if (!lock.Held()) {
        SetLastError(ERROR_TIMEOUT);
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
