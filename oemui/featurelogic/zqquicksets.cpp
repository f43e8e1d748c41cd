#include "platform/zqprinterview.h"
#include "featurelogic/zqquicksets.h"

#include <commctrl.h>

#include <climits>
#include <cstring>
#include <vector>

#include "common/zqprinterdata.h"
#include "common/zqstorenames.h"
#include "common/zqstorepath.h"
#include "common/zqstrings.h"
#include "formats/zqindexedname.h"
#include "formats/zquidevmode.h"
#include "settings/zqdriverdata.h"
#include "settings/zqstoreedit.h"

static_assert(sizeof(ZQUIDevmode::szQuickSetName) / sizeof(zqwchar) == CZQQuickSets::kNameChars,
              "quick-set name of the private devmode");
static_assert(zqqs::kNameCapacity == CZQQuickSets::kNameChars, "quick-set name of the stored head");

namespace {

constexpr INT kIdsFactoryName = 5977;
constexpr INT kIdsPlaceholder = 3043;
constexpr WCHAR kFactoryNameEnglish[] = L" Factory Defaults";
constexpr WCHAR kPlaceholderEnglish[] = L"Type new Quick Set name here";

PWSTR CopyKeyword(PCWSTR pszText) {
    const size_t cch = pszText ? wcsnlen(pszText, zqqs::kMaxPairChars) : 0;
    PWSTR copy = static_cast<PWSTR>(LocalAlloc(LPTR, (cch + 1) * sizeof(WCHAR)));
    if (copy && cch) ZQCopyTextN(copy, cch + 1, pszText, cch);
    return copy;
}

// A name cut to the 81 characters a quick-set name holds.
void CopyName(PWSTR pszDest, PCWSTR pszSrc) { ZQCopyTextN(pszDest, CZQQuickSets::kNameChars, pszSrc ? pszSrc : L"", 81); }

void FreeEntry(QuickSetEntry* pEntry) {
    if (!pEntry) return;
    CZQQuickSets::VFreePairs(&pEntry->pPairs);
    LocalFree(pEntry);
}

// The pairs read from a value as the entry's list; FALSE when memory ran out on the way.
BOOL TakePairs(QuickSetEntry* pEntry, const std::vector<zqqs::PairRead>& pairs) {
    for (const zqqs::PairRead& pair : pairs)
        CZQQuickSets::VAppendPair(&pEntry->pPairs, pair.feature.c_str(), pair.option.c_str());
    size_t kept = 0;
    for (const QuickSetPair* p = pEntry->pPairs; p; p = p->pNext) ++kept;
    return kept == pairs.size();
}

}  // namespace

CZQQuickSets::~CZQQuickSets() {
    VFreeEntries();
    VFreeList(&m_pStoredHead, &m_pStoredTail);
    VFreePairs(&m_snapshot.pPairs);
}

BOOL CZQQuickSets::BSetChanged(HWND hPage) {
    if (hPage) SendMessageW(GetParent(hPage), PSM_CHANGED, reinterpret_cast<WPARAM>(hPage), 0);
    m_bChanged = TRUE;
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// The list
// ---------------------------------------------------------------------------------------------
QuickSetEntry* CZQQuickSets::PAppendTo(QuickSetEntry** ppHead, QuickSetEntry** ppTail) {
    QuickSetEntry* entry = static_cast<QuickSetEntry*>(LocalAlloc(LPTR, sizeof(QuickSetEntry)));
    if (!entry) return nullptr;
    entry->pPrev = *ppTail;
    if (*ppTail)
        (*ppTail)->pNext = entry;
    else
        *ppHead = entry;
    *ppTail = entry;
    return entry;
}

QuickSetEntry* CZQQuickSets::PNewEntry() { return PAppendTo(&m_pHead, &m_pTail); }

QuickSetEntry* CZQQuickSets::PNewStoredEntry() { return PAppendTo(&m_pStoredHead, &m_pStoredTail); }

QuickSetEntry* CZQQuickSets::PFindEntry(PCWSTR pszName) const {
    if (!pszName) return nullptr;
    for (QuickSetEntry* e = m_pHead; e; e = e->pNext)
        if (wcsncmp(e->head.szName, pszName, kNameChars) == 0) return e;
    return nullptr;
}

QuickSetEntry* CZQQuickSets::PFindEntryAnyCase(PCWSTR pszName) const {
    if (QuickSetEntry* exact = PFindEntry(pszName)) return exact;
    WCHAR cut[kNameChars];
    CopyName(cut, pszName);
    for (QuickSetEntry* e = m_pHead; pszName && e; e = e->pNext)
        if (ZQEqualNoCase(e->head.szName, cut)) return e;
    return nullptr;
}

void CZQQuickSets::VRemoveEntry(QuickSetEntry* pEntry) {
    if (!pEntry) return;
    if (pEntry->pPrev)
        pEntry->pPrev->pNext = pEntry->pNext;
    else if (m_pHead == pEntry)
        m_pHead = pEntry->pNext;
    if (pEntry->pNext)
        pEntry->pNext->pPrev = pEntry->pPrev;
    else if (m_pTail == pEntry)
        m_pTail = pEntry->pPrev;
    if (m_pFactory == pEntry) m_pFactory = nullptr;
    FreeEntry(pEntry);
}

void CZQQuickSets::VFreeList(QuickSetEntry** ppHead, QuickSetEntry** ppTail) {
    for (QuickSetEntry* e = *ppHead; e;) {
        QuickSetEntry* next = e->pNext;
        if (m_pFactory == e) m_pFactory = nullptr;
        FreeEntry(e);
        e = next;
    }
    *ppHead = *ppTail = nullptr;
}

void CZQQuickSets::VFreeEntries() { VFreeList(&m_pHead, &m_pTail); }

// ---------------------------------------------------------------------------------------------
// Pairs
// ---------------------------------------------------------------------------------------------
void CZQQuickSets::VAppendPair(QuickSetPair** ppList, PCWSTR pszFeature, PCWSTR pszOption) {
    if (!ppList) return;
    QuickSetPair* pair = static_cast<QuickSetPair*>(LocalAlloc(LPTR, sizeof(QuickSetPair)));
    if (!pair) return;
    pair->pszFeature = CopyKeyword(pszFeature);
    pair->pszOption = CopyKeyword(pszOption);
    if (!pair->pszFeature || !pair->pszOption) {
        LocalFree(pair->pszFeature);
        LocalFree(pair->pszOption);
        LocalFree(pair);
        return;
    }
    QuickSetPair** tail = ppList;
    while (*tail) tail = &(*tail)->pNext;
    *tail = pair;
}

void CZQQuickSets::VFreePairs(QuickSetPair** ppList) {
    if (!ppList) return;
    for (QuickSetPair* p = *ppList; p;) {
        QuickSetPair* next = p->pNext;
        LocalFree(p->pszFeature);
        LocalFree(p->pszOption);
        LocalFree(p);
        p = next;
    }
    *ppList = nullptr;
}

QuickSetPair* CZQQuickSets::PFindNameValue(QuickSetPair* pList, PCWSTR pszFeature, PWSTR pszOption) {
    if (pszOption) pszOption[0] = 0;
    if (!pszFeature) return nullptr;
    for (QuickSetPair* p = pList; p; p = p->pNext) {
        if (!ZQEqualNoCase(p->pszFeature, pszFeature)) continue;
        if (pszOption) ZQCopyText(pszOption, kResStringChars, p->pszOption);
        return p;
    }
    return nullptr;
}

void CZQQuickSets::VReplacePairOption(QuickSetPair* pList, PCWSTR pszFeature, PCWSTR pszOption) {
    QuickSetPair* pair = PFindNameValue(pList, pszFeature, nullptr);
    if (!pair) return;
    PWSTR copy = CopyKeyword(pszOption);
    if (!copy) return;
    LocalFree(pair->pszOption);
    pair->pszOption = copy;
}

void CZQQuickSets::VPairsToArrays(const QuickSetPair* pList, PWSTR** pppFeatures, PWSTR** pppOptions, int iCount,
                                  DWORD* pdwBytes) {
    if (pdwBytes) *pdwBytes = 0;
    if (!pppFeatures || !pppOptions) return;
    *pppFeatures = *pppOptions = nullptr;
    if (iCount <= 0) return;
    PWSTR* features = static_cast<PWSTR*>(LocalAlloc(LPTR, sizeof(PWSTR) * iCount));
    PWSTR* options = static_cast<PWSTR*>(LocalAlloc(LPTR, sizeof(PWSTR) * iCount));
    if (!features || !options) {
        LocalFree(features);
        LocalFree(options);
        return;
    }
    DWORD bytes = 0;
    const QuickSetPair* p = pList;
    for (int i = 0; i < iCount && p; ++i, p = p->pNext) {
        features[i] = CopyKeyword(p->pszFeature);
        options[i] = CopyKeyword(p->pszOption);
        if (features[i]) bytes += static_cast<DWORD>(2 * wcslen(features[i]) + 2);
        if (options[i]) bytes += static_cast<DWORD>(2 * wcslen(options[i]) + 2);
    }
    *pppFeatures = features;
    *pppOptions = options;
    if (pdwBytes) *pdwBytes = bytes;
}

// ---------------------------------------------------------------------------------------------
// Stored values
// ---------------------------------------------------------------------------------------------
BOOL CZQQuickSets::BSerializeEntry(BYTE** ppValue, const QuickSetEntry* pEntry, DWORD* pcbValue) {
    if (pcbValue) *pcbValue = 0;
    if (!ppValue || !pEntry) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    *ppValue = nullptr;
    int count = 0;
    for (const QuickSetPair* p = pEntry->pPairs; p; p = p->pNext) ++count;
    std::vector<zqqs::PairText> pairs;
    pairs.reserve(count);
    for (const QuickSetPair* p = pEntry->pPairs; p; p = p->pNext) pairs.push_back({p->pszFeature, p->pszOption});
    const size_t size = zqqs::ValueSize(pairs.data(), pairs.size());
    BYTE* value = static_cast<BYTE*>(LocalAlloc(LPTR, size));
    if (!value) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    zqqs::WriteValue(pEntry->head, pairs.data(), pairs.size(), value);
    *ppValue = value;
    if (pcbValue) *pcbValue = static_cast<DWORD>(size);
    return TRUE;
}

BOOL CZQQuickSets::BParseEntry(const BYTE* pData, DWORD cbData, QuickSetEntry* pEntry) {
    if (!pData || !pEntry) return FALSE;
    zqqs::ReadContext context;
    DWORD installed = 1;
    // Until the installation is done every value carries the whole name field.
    context.refuseShortName = m_pCUIParam && CZQDriverData::BGetPrinterDataDword(
                                                 HStorePrinter(), zqsettings::kInstallationComplete, &installed) &&
                              installed == 0;
    context.pFill = m_pFactory ? &m_pFactory->head.settings : nullptr;
    context.factoryName = m_szFactoryName;
    std::vector<zqqs::PairRead> pairs;
    QuickSetHead head;
    if (!zqqs::ReadValue(pData, cbData, context, head, pairs)) return FALSE;
    QuickSetPair* kept = nullptr;
    std::swap(kept, pEntry->pPairs);
    pEntry->head = head;
    if (!TakePairs(pEntry, pairs)) {
        VFreePairs(&pEntry->pPairs);
        pEntry->pPairs = kept;
        return FALSE;
    }
    VFreePairs(&kept);
    return TRUE;
}

int CZQQuickSets::IParseIndex(PCWSTR pszValueName) { return zqname::IndexAfterColon(pszValueName); }

HANDLE CZQQuickSets::HStorePrinter() const {
    if (m_hPrinter) return m_hPrinter;
    return m_pCUIParam ? m_pCUIParam->hPrinter : nullptr;
}

BOOL CZQQuickSets::BHasStore() const { return m_pCUIParam && m_pCUIParam->pOEMDM && HStorePrinter(); }

CZQStoreEdit CZQQuickSets::Edit() const {
    return CZQStoreEdit(HStorePrinter(), m_pCUIParam ? m_pCUIParam->pPrinterName : nullptr, m_bRestricted);
}

BOOL CZQQuickSets::BUserKeyPath(PCWSTR pszSubKey, PWSTR pszPath, size_t cchPath) const {
    const std::wstring path = ZQUserStorePathOf(HStorePrinter(), pszSubKey);
    return !path.empty() && SUCCEEDED(ZQCopyText(pszPath, cchPath, path.c_str()));
}

BOOL CZQQuickSets::BFreeIndex(const CZQStoreEdit& edit, int* piIndex, BOOL* pbFull) {
    *pbFull = FALSE;
    // The counter as stored now (none stored: 0): another sheet may have moved it since this one
    // loaded.
    (edit.BPerUser() ? m_iUserIndex : m_iSharedIndex) = 0;
    VReadMaxIndex();
    std::vector<ZQStoreValue> pool;
    if (!edit.BReadNow(zqsettings::kPresetPoolKey, &pool)) return FALSE;
    long long next = edit.BPerUser() ? m_iUserIndex : m_iSharedIndex;
    // A counter behind the stored values (cut short, missing, restored from a backup, or left
    // behind by a refused write) moves past them.
    for (const ZQStoreValue& v : pool) {
        const long long index = IParseIndex(v.name.c_str());
        if (index + 1 > next) next = index + 1;
    }
    // The counter is stored past the new index, so the largest int itself is never taken.
    if (next >= INT_MAX) {
        *pbFull = TRUE;
        return FALSE;
    }
    *piIndex = static_cast<int>(next);
    return TRUE;
}

BOOL CZQQuickSets::BAddWrite(CZQStoreEdit& edit, QuickSetEntry* pEntry, BOOL bKeepIndex) {
    CZQLocalPtr<BYTE> value;
    DWORD cb = 0;
    int index = pEntry ? pEntry->iIndex : 0;
    BOOL full = FALSE;
    const BOOL made = pEntry && BSerializeEntry(value.Put(), pEntry, &cb) &&
                      (bKeepIndex || BFreeIndex(edit, &index, &full));
    m_bNoIndexLeft = full;
    if (!made) return FALSE;
    const std::wstring name = CZQStoreEdit::IndexedName(zqsettings::kPresetPoolValuePrefix, index);
    edit.VWrite(zqsettings::kPresetPoolKey, name.c_str(), REG_BINARY, value.Get(), cb);
    pEntry->head.cbTotal = cb;
    pEntry->iIndex = index;
    // A new entry and the counter past it land together or not at all.
    if (!bKeepIndex) {
        (edit.BPerUser() ? m_iUserIndex : m_iSharedIndex) = index + 1;
        VWriteMaxIndex();
    }
    return TRUE;
}

void CZQQuickSets::VWriteEntry(QuickSetEntry* pEntry, BOOL bKeepIndex) {
    m_bNoIndexLeft = FALSE;
    if (!pEntry || !BHasStore()) {
        m_lastOutcome = ZQStoreOutcome::kRefused;
        return;
    }
    if (m_pEdit) {
        m_lastOutcome = BAddWrite(*m_pEdit, pEntry, bKeepIndex) ? ZQStoreOutcome::kStored : ZQStoreOutcome::kRefused;
        return;
    }
    // Alone: an edit of its own, and the entry and the counters as they were when it is refused.
    const QuickSetHead head = pEntry->head;
    const int index = pEntry->iIndex, shared = m_iSharedIndex, user = m_iUserIndex;
    {
        CZQStoreEdit edit = Edit();
        CEditInUse inUse(*this, edit);
        if (!edit.BHeld())
            m_lastOutcome = ZQStoreOutcome::kBusy;
        else
            m_lastOutcome = BAddWrite(edit, pEntry, bKeepIndex) ? edit.ECommit() : ZQStoreOutcome::kRefused;
    }
    if (m_lastOutcome == ZQStoreOutcome::kStored) return;
    pEntry->head = head;
    pEntry->iIndex = index;
    m_iSharedIndex = shared;
    m_iUserIndex = user;
}

void CZQQuickSets::VDeleteStoredEntry(const QuickSetEntry* pEntry) {
    if (!pEntry || !BHasStore()) {
        m_lastOutcome = ZQStoreOutcome::kRefused;
        return;
    }
    const std::wstring name = CZQStoreEdit::IndexedName(zqsettings::kPresetPoolValuePrefix, pEntry->iIndex);
    if (m_pEdit) {
        m_pEdit->VRemove(zqsettings::kPresetPoolKey, name.c_str());
        m_lastOutcome = ZQStoreOutcome::kStored;
        return;
    }
    CZQStoreEdit edit = Edit();
    edit.VRemove(zqsettings::kPresetPoolKey, name.c_str());
    m_lastOutcome = edit.ECommit();
}

void CZQQuickSets::VWriteMaxIndex() {
    if (!BHasStore()) {
        m_lastOutcome = ZQStoreOutcome::kRefused;
        return;
    }
    CZQStoreEdit* edit = m_pEdit;
    CZQStoreEdit own = Edit();
    if (!edit) edit = &own;
    BYTE counter[4];
    zqqs::EncodeCounter(edit->BPerUser() ? m_iUserIndex : m_iSharedIndex, counter);
    edit->VWrite(zqsettings::kPresetRootKey, zqsettings::kPresetPoolMaxIndex, REG_BINARY, counter, sizeof counter);
    m_lastOutcome = edit == &own ? own.ECommit() : ZQStoreOutcome::kStored;
}

void CZQQuickSets::VReadMaxIndex() {
    HANDLE printer = HStorePrinter();
    if (!printer) return;
    // A counter cut short reads as 0.
    DWORD type = REG_NONE, cb = 0;
    CZQLocalPtr<BYTE> counter;
    if (ZQReadStoredValue(printer, zqsettings::kPresetRootKey, zqsettings::kPresetPoolMaxIndex, &type, counter, &cb) ==
        ERROR_SUCCESS)
        m_iSharedIndex = zqqs::DecodeCounter(counter.Get(), cb);
    if (!m_bRestricted) return;
    const std::wstring path = ZQUserStorePathOf(printer, zqsettings::kPresetRootKey);
    if (!path.empty() &&
        ZQReadUserValue(path.c_str(), zqsettings::kPresetPoolMaxIndex, &type, counter, &cb) == ERROR_SUCCESS)
        m_iUserIndex = zqqs::DecodeCounter(counter.Get(), cb);
}

// ---------------------------------------------------------------------------------------------
// Names
// ---------------------------------------------------------------------------------------------
void CZQQuickSets::VPrepareStore() {
    m_reopened.Reset();
    m_hPrinter = nullptr;
    m_bRestricted = FALSE;
    if (!m_pCUIParam) return;
    BOOL reopened = FALSE;
    m_bRestricted = BIsPrinterDataReadOnly(m_pCUIParam->hPrinter, m_pCUIParam->pPrinterName, m_pCUIParam->pPublicDM,
                                           &m_hPrinter, &reopened);
    if (reopened) m_reopened.Reset(m_hPrinter);
    WCHAR text[kResStringChars];
    CopyName(m_szFactoryName, BLoadResString(kIdsFactoryName, text) ? text : kFactoryNameEnglish);
    CopyName(m_szPlaceholder, BLoadResString(kIdsPlaceholder, text) ? text : kPlaceholderEnglish);
}

BOOL CZQQuickSets::BIsFactoryName(PCWSTR pszName) const {
    if (!pszName) return FALSE;
    WCHAR cut[kNameChars];
    CopyName(cut, kFactoryNameEnglish);
    if (ZQEqualNoCase(pszName, cut) || (m_szFactoryName[0] && ZQEqualNoCase(pszName, m_szFactoryName))) return TRUE;
    if (!m_hResModule) return FALSE;
    CZQLocalPtr<WCHAR> block;
    if (!block.Alloc(kResStringChars * kUiLanguageCount)) return FALSE;
    auto names = reinterpret_cast<WCHAR(*)[kResStringChars]>(block.Get());
    BLoadStringAllLanguages(m_hResModule, kIdsFactoryName, names);
    for (int i = 0; i < kUiLanguageCount; ++i) {
        if (!names[i][0]) continue;
        CopyName(cut, names[i]);
        if (ZQEqualNoCase(pszName, cut)) return TRUE;
    }
    return FALSE;
}

// ---------------------------------------------------------------------------------------------
// Loading
// ---------------------------------------------------------------------------------------------
void CZQQuickSets::VLoadStored() { BLoadStored(); }

BOOL CZQQuickSets::BLoadStored() {
    if (!BHasStore()) return FALSE;
    WCHAR shared[zqqs::kMaxQuickSets][kNameChars] = {};
    int accepted = 0;
    CZQPrinterDataList list;
    const BOOL read = list.BReadTree(HStorePrinter(), zqsettings::kPresetPoolKey);
    if (read) {
        for (DWORD i = 0; i < list.Count() && i < static_cast<DWORD>(zqqs::kMaxQuickSets); ++i) {
            QuickSetEntry* entry = PNewEntry();
            if (!entry) break;
            entry->iIndex = IParseIndex(list.Name(i));
            DWORD cb = 0;
            const BYTE* data = list.Data(i, nullptr, &cb);
            if (!data || !BParseEntry(data, cb, entry)) {
                VRemoveEntry(entry);
                continue;
            }
            if (BIsFactoryName(entry->head.szName)) {
                CopyName(entry->head.szName, m_szFactoryName);
                entry->dwFlags = kFixedFlag;
            } else {
                entry->dwFlags = m_bRestricted ? kFixedFlag : kOwnFlag;
            }
            CopyName(shared[accepted++], entry->head.szName);
        }
    }
    if (accepted < zqqs::kMaxQuickSets && m_bRestricted) VLoadUserStore(shared, accepted);
    return read;
}

namespace {

bool SamePairs(const QuickSetPair* a, const QuickSetPair* b) {
    for (; a && b; a = a->pNext, b = b->pNext)
        if (wcscmp(a->pszFeature, b->pszFeature) != 0 || wcscmp(a->pszOption, b->pszOption) != 0) return false;
    return !a && !b;
}

// The entry of the list that holds the same stored quick set: name, kind, settings and pairs.
const QuickSetEntry* FindSame(const QuickSetEntry* pList, const QuickSetEntry& entry) {
    constexpr DWORD kKinds = CZQQuickSets::kOwnFlag | CZQQuickSets::kFixedFlag;
    for (const QuickSetEntry* e = pList; e; e = e->pNext)
        if ((e->dwFlags & kKinds) == (entry.dwFlags & kKinds) &&
            std::memcmp(&e->head, &entry.head, sizeof entry.head) == 0 && SamePairs(e->pPairs, entry.pPairs))
            return e;
    return nullptr;
}

}  // namespace

BOOL CZQQuickSets::BMergeStored() {
    QuickSetEntry* oldHead = m_pHead;
    QuickSetEntry* oldTail = m_pTail;
    m_pHead = m_pTail = nullptr;
    m_pFactory = nullptr;
    BOOL read = FALSE;
    {
        zqspool::CZQStoredNow now;
        read = BLoadStored();
    }
    if (!read) {
        VFreeEntries();
        m_pHead = oldHead;
        m_pTail = oldTail;
        return FALSE;
    }
    m_nEntries = 0;
    // A quick set this sheet knew keeps what its check found; a new or changed one is checked.
    m_nWalkAnswers = 0;
    for (QuickSetEntry* e = m_pHead; e; e = e->pNext) {
        ++m_nEntries;
        if (const QuickSetEntry* known = FindSame(oldHead, *e))
            e->dwFlags |= known->dwFlags & kHiddenFlag;
        else if (e != PFactoryEntry())
            VCheckInstallable(e);
    }
    m_nWalkAnswers = -1;
    VFreeList(&oldHead, &oldTail);
    return TRUE;
}

void CZQQuickSets::VLoadUserStore(const WCHAR (*paszShared)[kNameChars], int nShared) {
    WCHAR path[MAX_PATH];
    std::vector<ZQStoreValue> values;
    if (!BUserKeyPath(zqsettings::kPresetPoolKey, path, MAX_PATH) || !ZQReadUserValues(path, &values)) return;
    for (size_t i = 0; i < values.size() && nShared + static_cast<int>(i) < zqqs::kMaxQuickSets; ++i) {
        const ZQStoreValue& value = values[i];
        if (value.data.empty()) continue;
        QuickSetEntry* entry = PNewEntry();
        if (!entry) return;
        entry->iIndex = IParseIndex(value.name.c_str());
        if (!BParseEntry(value.data.data(), static_cast<DWORD>(value.data.size()), entry)) {
            VRemoveEntry(entry);
            continue;
        }
        entry->dwFlags = kOwnFlag;
        // The printer's own quick set of that name stands; the user's twin is kept but not listed.
        for (int s = 0; s < nShared; ++s)
            if (wcsncmp(paszShared[s], entry->head.szName, kNameChars) == 0) entry->dwFlags |= kHiddenFlag;
    }
}

int CZQQuickSets::ILoadFactoryAndStored(CZQXmlUiRules* pRules) {
    if (!BHasStore()) return 0;
    IBuildFactoryEntries(pRules);
    int built = 0;
    for (QuickSetEntry* e = m_pHead; e; e = e->pNext) ++built;
    CZQPrinterDataList list;
    // A store that cannot be read is not rebuilt: its quick sets would be missing from the new one.
    if (!list.BReadTree(HStorePrinter(), zqsettings::kPresetPoolKey)) return -1;
    if (list.Count() > 0) {
        // Values of an older format are not carried into the new store.
        DWORD cb = 0;
        const BYTE* first = list.Data(0, nullptr, &cb);
        const bool current = first && cb >= 8 && first[4] + (first[5] << 8) + (first[6] << 16) +
                                                          (static_cast<DWORD>(first[7]) << 24) >= zqqs::kMarker;
        for (DWORD i = 0; current && i < list.Count() && i < static_cast<DWORD>(zqqs::kMaxQuickSets); ++i) {
            QuickSetEntry* entry = PNewStoredEntry();
            if (!entry) break;
            entry->iIndex = IParseIndex(list.Name(i));
            const BYTE* data = list.Data(i, nullptr, &cb);
            if (!data || !BParseEntry(data, cb, entry)) {
                // Not in the entry list: unlink from the stored one.
                m_pStoredTail = entry->pPrev;
                if (m_pStoredTail)
                    m_pStoredTail->pNext = nullptr;
                else
                    m_pStoredHead = nullptr;
                FreeEntry(entry);
                continue;
            }
            const bool factory =
                m_pFactory ? wcsncmp(entry->head.szName, m_pFactory->head.szName, kNameChars) == 0
                           : BIsFactoryName(entry->head.szName);
            entry->dwFlags = factory || m_bRestricted ? kFixedFlag : kOwnFlag;
        }
    }
    // Stored quick sets the factory ones do not name follow them, up to the limit.
    for (QuickSetEntry* stored = m_pStoredHead; stored; stored = stored->pNext) {
        if (built >= zqqs::kMaxQuickSets) break;
        if (PFindEntry(stored->head.szName)) continue;
        QuickSetEntry* entry = PNewEntry();
        if (!entry) break;
        entry->head = stored->head;
        entry->dwFlags = stored->dwFlags;
        entry->iIndex = built;
        for (const QuickSetPair* p = stored->pPairs; p; p = p->pNext) VAppendPair(&entry->pPairs, p->pszFeature, p->pszOption);
        ++built;
    }
    VFreeList(&m_pStoredHead, &m_pStoredTail);
    return built;
}

BOOL CZQQuickSets::BAddRewrite(CZQStoreEdit& edit) {
    std::vector<ZQStoreValue> stored;
    if (!edit.BReadNow(zqsettings::kPresetPoolKey, &stored)) return FALSE;
    // A restricted user's own quick sets are not among the entries (they come from the printer's
    // store): they stay, and only an earlier copy of an entry gives way.
    std::vector<ZQStoreValue> kept;
    if (edit.BPerUser()) {
        for (const ZQStoreValue& v : stored) {
            QuickSetEntry parsed = {};
            const bool copy = BParseEntry(v.data.data(), static_cast<DWORD>(v.data.size()), &parsed) &&
                              PFindEntry(parsed.head.szName);
            VFreePairs(&parsed.pPairs);
            if (!copy) kept.push_back(v);
        }
    }
    // The entries over the indexes from 0 first, each taking the counter's next free one; the values
    // beyond them go last.
    int& counter = edit.BPerUser() ? m_iUserIndex : m_iSharedIndex;
    counter = 0;
    for (QuickSetEntry* e = m_pHead; e; e = e->pNext) {
        counter = edit.IFreeIndex(kept, zqsettings::kPresetPoolKey, zqsettings::kPresetPoolValuePrefix, counter);
        if (counter < 0) return FALSE;
        e->iIndex = counter++;
        VWriteEntry(e, TRUE);
        if (m_lastOutcome != ZQStoreOutcome::kStored) return FALSE;
    }
    VWriteMaxIndex();
    for (const ZQStoreValue& v : stored)
        if (!edit.BWrites(zqsettings::kPresetPoolKey, v.name.c_str()) && !CZQStoreEdit::PFind(kept, v.name.c_str()))
            edit.VRemove(zqsettings::kPresetPoolKey, v.name.c_str());
    return TRUE;
}

void CZQQuickSets::VRebuildStore(CZQXmlUiRules* pRules) {
    if (!BHasStore()) return;
    BUpdateInstalledCartridges();
    const int shared = m_iSharedIndex, user = m_iUserIndex;
    {
        // Read and rewritten as stored now, with no other program's change in between; without the
        // lock the store stays as it is. The rebuild writes the store a save writes: a restricted
        // user's own.
        CZQStoreEdit edit = Edit();
        CEditInUse inUse(*this, edit);
        const int built = edit.BHeld() ? ILoadFactoryAndStored(pRules) : -1;
        // A rewrite that cannot land whole leaves the store, and the counters, as they were.
        if (built >= 0) {
            m_nEntries += built;
            if (!BAddRewrite(edit) || edit.ECommit() != ZQStoreOutcome::kStored) {
                m_iSharedIndex = shared;
                m_iUserIndex = user;
            }
        }
    }
    VFreeEntries();
}

// ---------------------------------------------------------------------------------------------
// The quick-set name
// ---------------------------------------------------------------------------------------------
void CZQQuickSets::VRestoreNameIfItemsChanged() {
    if (!m_bSelected || !BHasConflictingSelection(m_pCUIParam)) return;
    m_bSelected = FALSE;
    ZQCopyText(m_szCurrentName, kNameChars, m_szPlaceholder);
}
