// The watermark pool in storage: one record a value under "ZQPresetRoot\WatermarkPoolData" of the
// printer's data, or the same key below a restricted user's own key; every value of the key read as a
// watermark, in list order ("WatermarkPool:<n>" by its number, values of other names after them);
// a save merges the manager's changes with the pool as stored at that moment and writes the merged
// list from index 0 without gaps; its " [none]" record (index 0) kept in the user's language, and
// the values of earlier versions removed.
#include <algorithm>
#include <climits>
#include <cwchar>
#include <string>
#include <vector>

#include "common/zqhandles.h"
#include "common/zqprinterdata.h"
#include "common/zqstorenames.h"
#include "common/zqstorepath.h"
#include "common/zqstrings.h"
#include "common/zqtrace.h"
#include "featurelogic/zqwatermarks.h"
#include "settings/zqdriverdata.h"
#include "settings/zqstoreedit.h"

namespace {

using zqsettings::kWatermarkPoolKey;

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

// The pool's values in list order: "WatermarkPool:<n>" by n, then the values of other names as the
// spooler (the registry) lists them. The first of them is record 0, " [none]".
void InListOrder(std::vector<ZQStoreValue>& values) {
    const auto key = [](const ZQStoreValue& v) {
        const long long index = CZQStoreEdit::LLIndexOf(v.name.c_str(), zqsettings::kWatermarkPoolValuePrefix);
        return index < 0 ? LLONG_MAX : index;
    };
    std::stable_sort(values.begin(), values.end(),
                     [&](const ZQStoreValue& a, const ZQStoreValue& b) { return key(a) < key(b); });
}

// The first iLimit values in list order appended to the list as watermarks (values that are no
// records count too); the number of records.
int AppendInListOrder(WatermarkList& list, std::vector<ZQStoreValue>& values, int iLimit) {
    InListOrder(values);
    int records = 0;
    for (size_t i = 0; i < values.size() && static_cast<int>(i) < iLimit; ++i) {
        bool noMemory = false;
        const ZQStoreValue& v = values[i];
        if (AppendRecord(list, v.dwType, v.data.data(), static_cast<DWORD>(v.data.size()), &noMemory)) ++records;
        if (noMemory) break;
    }
    return records;
}

// The restricted user's records appended to the list, the first iLimit values at most; the number of
// records, -1 when his key cannot be read. *pValues his values in list order.
int ReadUserPool(HANDLE hPrinter, WatermarkList& list, int iLimit, std::vector<ZQStoreValue>* pValues) {
    const std::wstring path = ZQUserStorePathOf(hPrinter, kWatermarkPoolKey);
    if (path.empty() || !ZQReadUserValues(path.c_str(), pValues)) return -1;
    return AppendInListOrder(list, *pValues, iLimit);
}

// One value of the pool as stored now, with its record when it holds one.
struct PoolValue {
    const ZQStoreValue* value;
    bool record;
    ZQWatermarkRecord fields;
};

std::vector<PoolValue> Parsed(const std::vector<ZQStoreValue>& values) {
    std::vector<PoolValue> pool;
    for (const ZQStoreValue& v : values) {
        PoolValue p = {&v, false, {}};
        p.record = v.dwType == REG_BINARY && zqwm::Read(v.data.data(), v.data.size(), &p.fields);
        pool.push_back(p);
    }
    return pool;
}

// The first record of that name, in list order; null when none.
const PoolValue* FirstOfName(const std::vector<PoolValue>& pool, PCWSTR pszName) {
    for (const PoolValue& p : pool)
        if (p.record && ZQEqualNoCase(p.fields.szName, pszName)) return &p;
    return nullptr;
}

// The record written over every value of its name; false when none holds it.
bool WriteOverItsName(CZQStoreEdit& edit, const std::vector<PoolValue>& pool, PCWSTR pszName,
                      const std::vector<BYTE>& image) {
    bool placed = false;
    for (const PoolValue& p : pool) {
        if (!p.record || !ZQEqualNoCase(p.fields.szName, pszName)) continue;
        edit.VWrite(kWatermarkPoolKey, p.value->name.c_str(), REG_BINARY, image.data(), static_cast<DWORD>(image.size()));
        placed = true;
    }
    return placed;
}

std::vector<BYTE> ImageOf(const ZQWatermarkRecord& record) {
    std::vector<BYTE> image(zqwm::kRecordBytes);
    zqwm::Write(record, image.data());
    return image;
}

// What tells whether a watermark changed: its record, a diagonal one's angle left out (it follows
// the paper the sheet shows, so a sheet nobody touched rewrites nothing).
std::vector<BYTE> CompareImageOf(const ZQWatermarkRecord& record) {
    if (record.dwAngleMode != 0) return ImageOf(record);
    ZQWatermarkRecord diagonal = record;
    diagonal.dwAngle = 0;
    return ImageOf(diagonal);
}

// The record names of a pool in list order; *pbInForm when its values are exactly
// "WatermarkPool:0".."n-1", each a record of a name of its own.
std::vector<std::wstring> RecordNames(const std::vector<ZQStoreValue>& sorted, bool* pbInForm) {
    std::vector<std::wstring> names;
    *pbInForm = true;
    for (size_t i = 0; i < sorted.size(); ++i) {
        const ZQStoreValue& v = sorted[i];
        ZQWatermarkRecord record;
        const bool isRecord = v.dwType == REG_BINARY && zqwm::Read(v.data.data(), v.data.size(), &record);
        const std::wstring name = CZQStoreEdit::IndexedName(zqsettings::kWatermarkPoolValuePrefix, static_cast<long long>(i));
        if (!isRecord || !ZQEqualNoCase(v.name.c_str(), name.c_str())) *pbInForm = false;
        if (!isRecord) continue;
        for (const std::wstring& n : names)
            if (ZQEqualNoCase(n.c_str(), record.szName)) *pbInForm = false;
        names.push_back(record.szName);
    }
    return names;
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

BOOL CZQWatermarks::BWriteEntry(const WatermarkEntry* pEntry, CZQStoreEdit& edit, int iIndex) {
    CZQLocalPtr<BYTE> record;
    if (iIndex < 0 || !BSerializeEntry(record.Put(), pEntry)) return FALSE;
    const std::wstring name = CZQStoreEdit::IndexedName(zqsettings::kWatermarkPoolValuePrefix, iIndex);
    edit.VWrite(kWatermarkPoolKey, name.c_str(), REG_BINARY, record.Get(), zqwm::kRecordBytes);
    return TRUE;
}

void CZQWatermarks::VDeletePoolKey(CZQStoreEdit& edit, const std::vector<ZQStoreValue>& stored) {
    for (const ZQStoreValue& v : stored) edit.VRemove(kWatermarkPoolKey, v.name.c_str());
}

void CZQWatermarks::VNoteStored(const std::vector<ZQStoreValue>& sorted) {
    bool inForm = true;
    m_storedNames = RecordNames(sorted, &inForm);
    m_bStoredInForm = inForm;
}

bool CZQWatermarks::BStoredAsSaved(const std::vector<const WatermarkEntry*>& saved) const {
    if (!m_bStoredInForm || saved.size() > m_storedNames.size()) return false;
    for (size_t i = 0; i < saved.size(); ++i)
        if (!ZQEqualNoCase(m_storedNames[i].c_str(), saved[i]->szName)) return false;
    return true;
}

// ---------------------------------------------------------------------------------------------
// Reading and merging
// ---------------------------------------------------------------------------------------------
int CZQWatermarks::IReadSharedPool(WatermarkList& list, HANDLE hPrinter, BOOL bRestricted, int iLimit) {
    CZQPrinterDataList listed;
    if (!listed.BRead(hPrinter, kWatermarkPoolKey)) return -1;
    std::vector<ZQStoreValue> values;
    ZQValuesOfList(listed, &values);
    WatermarkEntry* before = list.pTail;
    AppendInListOrder(list, values, iLimit);
    // The pool a user who may write the printer's data saves to.
    if (!bRestricted) VNoteStored(values);
    // Every user may change " [none]"; a restricted user only sees the others.
    for (WatermarkEntry* e = before ? before->pNext : list.pHead; e; e = e->pNext)
        e->dwFlags = !bRestricted || wcscmp(e->szName, NoneName()) == 0 ? kWatermarkEditable : kWatermarkReadOnly;
    return static_cast<int>(std::min(values.size(), static_cast<size_t>(iLimit < 0 ? 0 : iLimit)));
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
    std::vector<ZQStoreValue> own;
    if (ReadUserPool(pParam->hPrinter, m_main, kMaxEntries - (taken > 0 ? taken : 0), &own) > 0) read = TRUE;
    VNoteStored(own);
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
    if (!PReadImage(entry.szName)) m_readImages.push_back({entry.szName, CompareImageOf(entry)});
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

std::vector<std::wstring> CZQWatermarks::ChangedNames(BOOL bRestricted) {
    std::vector<std::wstring> names;
    const auto add = [&](PCWSTR pszName) {
        for (const std::wstring& n : names)
            if (ZQEqualNoCase(n.c_str(), pszName)) return;
        names.push_back(pszName);
    };
    const std::vector<const WatermarkEntry*> saved = SavedEntries(bRestricted);
    for (const WatermarkEntry* e : saved) {
        const std::vector<BYTE>* read = PReadImage(e->szName);
        if (!read || *read != CompareImageOf(*e)) add(e->szName);
    }
    for (const ReadImage& read : m_readImages)
        if (BDeletedHere(read.name.c_str(), saved, bRestricted)) add(read.name.c_str());
    for (const DeletedWatermarkName* n = m_pDeletedHead; bRestricted && n; n = n->pNext)
        if (BDeletedHere(n->szName, saved, bRestricted)) add(n->szName);
    return names;
}

BOOL CZQWatermarks::BSavePool(POEMCUIPPARAM pParam, std::vector<std::wstring>* pNames) {
    ZQ_TRACE("CZQWatermarks::BSavePool");
    if (pNames) pNames->clear();
    m_lastOutcome = ZQStoreOutcome::kRefused;
    if (!pParam) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    HANDLE printer = nullptr;
    BOOL reopened = FALSE;
    const BOOL restricted =
        BIsPrinterDataReadOnly(pParam->hPrinter, pParam->pPrinterName, pParam->pPublicDM, &printer, &reopened);
    CZQPrinterHandle own(reopened ? printer : nullptr);
    // An empty list stores nothing: it leaves the pool as it is.
    if (!m_main.pHead) {
        m_lastOutcome = ZQStoreOutcome::kStored;
        return FALSE;
    }
    // Nothing of this list differs from the pool as read, which held it in its own form: the pool is
    // neither read nor written.
    const std::vector<std::wstring> changed = ChangedNames(restricted);
    if (changed.empty() && BStoredAsSaved(SavedEntries(restricted))) {
        m_lastOutcome = ZQStoreOutcome::kStored;
        return TRUE;
    }
    DWORD error = ERROR_INVALID_HANDLE;
    std::vector<std::wstring> kept;
    if (printer) {
        // The read of the pool, the decision and the writes are one step for every program.
        CZQStoreEdit edit(printer, pParam->pPrinterName, restricted);
        m_lastOutcome = EStoreChanges(edit, restricted, &kept);
        error = m_lastOutcome == ZQStoreOutcome::kBusy ? ERROR_TIMEOUT : edit.DwError() ? edit.DwError() : ERROR_WRITE_FAULT;
    }
    const bool stored = m_lastOutcome == ZQStoreOutcome::kStored;
    if (pNames) *pNames = stored ? kept : changed;
    own.Reset();
    SetLastError(stored ? ERROR_SUCCESS : error);
    return stored ? TRUE : FALSE;
}

ZQStoreOutcome CZQWatermarks::EStoreChanges(CZQStoreEdit& edit, BOOL bRestricted, std::vector<std::wstring>* pKept) {
    PCWSTR const prefix = zqsettings::kWatermarkPoolValuePrefix;
    if (!edit.BHeld()) return ZQStoreOutcome::kBusy;
    // The pool as stored now: another sheet or program may have changed it since this one read it.
    std::vector<ZQStoreValue> values;
    if (!edit.BReadNow(kWatermarkPoolKey, &values)) return ZQStoreOutcome::kRefused;
    InListOrder(values);
    const std::vector<PoolValue> pool = Parsed(values);
    const std::vector<const WatermarkEntry*> saved = SavedEntries(bRestricted);

    // The merged list: this list's watermarks in its order, each it added or changed as it shows it,
    // each as it read it as stored now (another program's change stays; one another program removed
    // stays removed); then the stored ones it neither lists nor deleted, in list order. One record
    // a name.
    struct Merged {
        std::wstring name;
        std::vector<BYTE> image;
        const WatermarkEntry* entry;  // this list's, when it added or changed it
    };
    std::vector<Merged> merged;
    const auto listed = [&](PCWSTR pszName) {
        for (const Merged& m : merged)
            if (ZQEqualNoCase(m.name.c_str(), pszName)) return true;
        return false;
    };
    for (const WatermarkEntry* e : saved) {
        const std::vector<BYTE>* read = PReadImage(e->szName);
        if (!read || *read != CompareImageOf(*e)) merged.push_back({e->szName, ImageOf(*e), e});
        else if (const PoolValue* now = FirstOfName(pool, e->szName)) merged.push_back({e->szName, now->value->data, nullptr});
    }
    for (const PoolValue& p : pool)
        if (p.record && !listed(p.fields.szName) && !BDeletedHere(p.fields.szName, saved, bRestricted))
            merged.push_back({p.fields.szName, p.value->data, nullptr});
    if (bRestricted && merged.size() > static_cast<size_t>(kMaxUserEntries)) merged.resize(kMaxUserEntries);

    // The key emptied and the merged list written in list order from index 0 without gaps (a value
    // that holds its record already is not written again).
    VDeletePoolKey(edit, values);
    for (size_t i = 0; i < merged.size(); ++i) {
        const int index = static_cast<int>(i);
        if (merged[i].entry) {
            if (!BWriteEntry(merged[i].entry, edit, index)) return ZQStoreOutcome::kRefused;
        } else {
            edit.VWrite(kWatermarkPoolKey, CZQStoreEdit::IndexedName(prefix, index).c_str(), REG_BINARY,
                        merged[i].image.data(), static_cast<DWORD>(merged[i].image.size()));
        }
    }
    bool removes = false;
    for (const ZQStoreValue& v : values) removes = removes || !edit.BWrites(kWatermarkPoolKey, v.name.c_str());
    ZQStoreOutcome outcome = edit.ECommit();
    std::vector<std::wstring> kept;
    const bool removesRefused = outcome == ZQStoreOutcome::kRefused && removes;
    if (removesRefused) {
        // A spooler that removes nothing (Wine's): what this list added or changed goes over the
        // values of its name, else to the first free index; every value stays where it is, and a
        // watermark deleted here stays stored and listed.
        size_t records = 0;
        for (const PoolValue& p : pool) records += p.record ? 1 : 0;
        for (const Merged& m : merged) {
            if (!m.entry || WriteOverItsName(edit, pool, m.name.c_str(), m.image)) continue;
            if (bRestricted && records >= static_cast<size_t>(kMaxUserEntries)) continue;
            if (BWriteEntry(m.entry, edit, edit.IFreeIndex(values, kWatermarkPoolKey, prefix))) ++records;
        }
        for (const PoolValue& p : pool) {
            bool known = false;
            for (const std::wstring& k : kept) known = known || ZQEqualNoCase(k.c_str(), p.fields.szName);
            if (p.record && !known && BDeletedHere(p.fields.szName, saved, bRestricted)) kept.push_back(p.fields.szName);
        }
        outcome = edit.ECommit();
    }
    if (outcome != ZQStoreOutcome::kStored) return outcome;
    // Rewritten whole, the pool holds the merged list in its own form; else its values stay where
    // they were, and the next save tries again.
    m_bStoredInForm = kept.empty() && !removesRefused;
    m_storedNames.clear();
    for (const Merged& m : merged) m_storedNames.push_back(m.name);

    // The pool now holds this list's watermarks as it shows them: a later save compares with these.
    for (const Merged& m : merged) {
        if (!m.entry) continue;
        VForgetRead(m.name.c_str());
        VRememberRead(*m.entry);
    }
    const auto isKept = [&](PCWSTR pszName) {
        for (const std::wstring& k : kept)
            if (ZQEqualNoCase(k.c_str(), pszName)) return true;
        return false;
    };
    for (size_t i = m_readImages.size(); i-- > 0;) {
        PCWSTR name = m_readImages[i].name.c_str();
        if (BDeletedHere(name, saved, bRestricted) && !isKept(name)) m_readImages.erase(m_readImages.begin() + i);
    }
    if (bRestricted) VFreeDeletedNames();
    // A watermark whose removal was refused is listed again, as stored.
    for (const std::wstring& name : kept) {
        const PoolValue* stored = FirstOfName(pool, name.c_str());
        WatermarkEntry* entry = stored ? PNewEntry(m_main) : nullptr;
        if (!entry) continue;
        static_cast<ZQWatermarkRecord&>(*entry) = stored->fields;
        entry->dwFlags = kWatermarkEditable;
        VRememberRead(*entry);
    }
    *pKept = kept;
    return ZQStoreOutcome::kStored;
}

BOOL CZQWatermarks::BStoreSharedEntry(const WatermarkEntry* pEntry, HANDLE hPrinter, int iPreferredIndex) {
    if (!pEntry || !hPrinter) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    PCWSTR const prefix = zqsettings::kWatermarkPoolValuePrefix;
    CZQStoreEdit edit(hPrinter, nullptr, FALSE);
    std::vector<ZQStoreValue> values;
    if (!edit.BReadNow(kWatermarkPoolKey, &values)) return FALSE;
    const std::vector<PoolValue> pool = Parsed(values);
    const std::vector<BYTE> image = ImageOf(*pEntry);
    // The watermark of that name is written over where it stands; else its own place when free, else
    // past every stored index: no other watermark is written over.
    if (!WriteOverItsName(edit, pool, pEntry->szName, image)) {
        long long index = iPreferredIndex;
        if (index < 0 || CZQStoreEdit::PFind(values, CZQStoreEdit::IndexedName(prefix, index).c_str()))
            index = CZQStoreEdit::LLPastIndexes(values, prefix);
        if (index > INT_MAX || !BWriteEntry(pEntry, edit, static_cast<int>(index))) {
            SetLastError(ERROR_INVALID_DATA);
            return FALSE;
        }
    }
    if (edit.ECommit() == ZQStoreOutcome::kStored) return TRUE;
    SetLastError(edit.DwError());
    return FALSE;
}

// ---------------------------------------------------------------------------------------------
// The " [none]" record and the earlier versions' values
// ---------------------------------------------------------------------------------------------
BOOL CZQWatermarks::BRefreshNoneEntry(HANDLE hPrinter, PCWSTR pszPrinterName, const void* pPrivateDM,
                                      const DEVMODEW*) {
    if (!m_main.pHead) return FALSE;
    if (!hPrinter || !pszPrinterName || !pPrivateDM) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    const std::wstring name = CZQStoreEdit::IndexedName(zqsettings::kWatermarkPoolValuePrefix, 0);
    DWORD type = REG_NONE, cb = 0;
    CZQLocalPtr<BYTE> data;
    ZQWatermarkRecord record;
    if (ZQReadStoredValue(hPrinter, kWatermarkPoolKey, name.c_str(), &type, data, &cb) != ERROR_SUCCESS ||
        !zqwm::Read(data.Get(), cb, &record))
        return FALSE;
    // Record 0 is " [none]" in the language it was written in; a watermark of another name stored
    // there (by another program) is no " [none]" and stays as it is.
    if (!BIsNoneName(record.szName)) return FALSE;
    // The entry read from it (found by its name, wherever the list holds it), else the list's " [none]".
    WatermarkEntry* entry = nullptr;
    for (WatermarkEntry* e = m_main.pHead; e && !entry; e = e->pNext)
        if (ZQEqualNoCase(e->szName, record.szName)) entry = e;
    for (WatermarkEntry* e = m_main.pHead; e && !entry; e = e->pNext)
        if (ZQEqualNoCase(e->szName, NoneName())) entry = e;
    if (!entry) return FALSE;
    const bool renamed = !ZQEqualNoCase(NoneName(), record.szName);
    if (renamed) {
        ZQCopyText(record.szName, zqwm::kTextChars, NoneName());
        ZQCopyText(record.szText, zqwm::kTextChars, NoneName());
    }
    static_cast<ZQWatermarkRecord&>(*entry) = record;
    return renamed && m_main.pHead->pNext != nullptr;
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
        const std::wstring name = CZQStoreEdit::IndexedName(zqsettings::kLegacyWatermarkPrefix, i);
        // A refused deletion ends the removal and keeps the count: a later call finishes it.
        if (!CZQDriverData::BDeletePrinterData(printer, name.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND) return;
    }
    CZQDriverData::BDeletePrinterData(printer, zqsettings::kLegacyWatermarkCount);
}
