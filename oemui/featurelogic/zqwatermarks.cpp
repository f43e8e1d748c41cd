// The watermark manager's lists, its four defaults in the user's language and the names it gives new
// watermarks.
#include "featurelogic/zqwatermarks.h"

#include <algorithm>
#include <cwchar>

#include "common/zqhandles.h"
#include "common/zqstrings.h"
#include "common/zqtrace.h"
#include "formats/zquidevmode.h"

namespace {

// The defaults' texts (string id, English) and their look; the sizes of all but " [none]" follow
// the user's language.
struct DefaultWatermark {
    INT idText;
    PCWSTR pszEnglish;
    int iSizeKind;  // -1: 80 points
    DWORD dwStyle;
};
constexpr DefaultWatermark kDefaults[] = {
    {874, L" [none]", -1, 0},
    {879, L"Confidential", 0, 1},
    {878, L"Draft", 1, 1},
    {880, L"SAMPLE", 2, 1},
};
constexpr int kDefaultCount = 4;
constexpr DWORD kNoneSize = 80;

constexpr INT kIdsUntitled = 885;
constexpr INT kIdsUntitledNumbered = 886;

void Link(WatermarkList& list, WatermarkEntry* pEntry) {
    pEntry->pNext = nullptr;
    pEntry->pPrev = list.pTail;
    if (list.pTail) list.pTail->pNext = pEntry;
    else list.pHead = pEntry;
    list.pTail = pEntry;
}

}  // namespace

CZQWatermarks::CZQWatermarks() = default;

CZQWatermarks::~CZQWatermarks() {
    VFreeDeletedNames();
    VFreeEntryList(m_main);
    VFreeEntryList(m_shared);
    VFreeDialogResources();
}

// ---------------------------------------------------------------------------------------------
// The lists
// ---------------------------------------------------------------------------------------------
WatermarkEntry* CZQWatermarks::PFindByName(PCWSTR pszName) const {
    if (!pszName) return nullptr;
    for (WatermarkEntry* e = m_main.pHead; e; e = e->pNext)
        if (wcscmp(e->szName, pszName) == 0) return e;
    return nullptr;
}

int CZQWatermarks::ICountEntries() const {
    int n = 0;
    for (const WatermarkEntry* e = m_main.pHead; e; e = e->pNext) ++n;
    return n;
}

int CZQWatermarks::ICountHiddenEntries() const {
    int n = 0;
    for (const WatermarkEntry* e = m_main.pHead; e; e = e->pNext)
        if (e->dwFlags & kWatermarkHidden) ++n;
    return n;
}

WatermarkEntry* CZQWatermarks::PNewEntry(WatermarkList& list) {
    auto* entry = static_cast<WatermarkEntry*>(LocalAlloc(LPTR, sizeof(WatermarkEntry)));
    if (!entry) return nullptr;
    Link(list, entry);
    return entry;
}

void CZQWatermarks::VRemoveEntry(WatermarkEntry* pEntry) {
    if (!pEntry) return;
    if (m_pCurrent == pEntry) m_pCurrent = nullptr;
    if (pEntry->pPrev) pEntry->pPrev->pNext = pEntry->pNext;
    else m_main.pHead = pEntry->pNext;
    if (pEntry->pNext) pEntry->pNext->pPrev = pEntry->pPrev;
    else m_main.pTail = pEntry->pPrev;
    LocalFree(pEntry);
}

void CZQWatermarks::VFreeEntryList(WatermarkList& list) {
    for (WatermarkEntry* e = list.pHead; e;) {
        WatermarkEntry* next = e->pNext;
        LocalFree(e);
        e = next;
    }
    list = WatermarkList();
}

DeletedWatermarkName* CZQWatermarks::PNewDeletedName(PCWSTR pszName) {
    auto* node = static_cast<DeletedWatermarkName*>(LocalAlloc(LPTR, sizeof(DeletedWatermarkName)));
    if (!node) return nullptr;
    ZQCopyText(node->szName, 256, pszName ? pszName : L"");
    node->pPrev = m_pDeletedTail;
    if (m_pDeletedTail) m_pDeletedTail->pNext = node;
    else m_pDeletedHead = node;
    m_pDeletedTail = node;
    return node;
}

void CZQWatermarks::VFreeDeletedNames() {
    for (DeletedWatermarkName* n = m_pDeletedHead; n;) {
        DeletedWatermarkName* next = n->pNext;
        LocalFree(n);
        n = next;
    }
    m_pDeletedHead = m_pDeletedTail = nullptr;
}

bool CZQWatermarks::BIsDeletedName(PCWSTR pszName) const {
    for (const DeletedWatermarkName* n = m_pDeletedHead; n; n = n->pNext)
        if (ZQEqualNoCase(n->szName, pszName)) return true;
    return false;
}

// Names differ only beyond letter case: the dialog's list shows one of two twins.
bool CZQWatermarks::BListHas(const WatermarkList& list, PCWSTR pszName) {
    for (const WatermarkEntry* e = list.pHead; e; e = e->pNext)
        if (ZQEqualNoCase(e->szName, pszName)) return true;
    return false;
}

// ---------------------------------------------------------------------------------------------
// The defaults
// ---------------------------------------------------------------------------------------------
void CZQWatermarks::VLoadNoneName() {
    if (!BLoadResString(kDefaults[0].idText, m_szNone)) ZQCopyText(m_szNone, kResStringChars, kDefaults[0].pszEnglish);
}

PCWSTR CZQWatermarks::NoneName() {
    if (!m_szNone[0]) VLoadNoneName();
    return m_szNone;
}

bool CZQWatermarks::BIsNoneName(PCWSTR pszName) {
    if (!pszName) return false;
    if (ZQEqualNoCase(pszName, NoneName()) || ZQEqualNoCase(pszName, kDefaults[0].pszEnglish)) return true;
    CZQLocalPtr<WCHAR> block;
    if (!m_hResModule || !block.Alloc(kResStringChars * kUiLanguageCount)) return false;
    auto names = reinterpret_cast<WCHAR(*)[kResStringChars]>(block.Get());
    BLoadStringAllLanguages(m_hResModule, kDefaults[0].idText, names);
    for (int i = 0; i < kUiLanguageCount; ++i)
        if (names[i][0] && ZQEqualNoCase(pszName, names[i])) return true;
    return false;
}

void CZQWatermarks::VFillDefault(WatermarkEntry* pEntry, int iDefault, DWORD dwAngle) {
    const DefaultWatermark& d = kDefaults[iDefault];
    if (!BLoadResString(d.idText, pEntry->szName)) ZQCopyText(pEntry->szName, zqwm::kTextChars, d.pszEnglish);
    ZQCopyText(pEntry->szText, zqwm::kTextChars, pEntry->szName);
    BGetLanguageFontName(pEntry->szFont);
    pEntry->dwAngle = dwAngle;
    pEntry->dwSize = d.iSizeKind < 0 ? kNoneSize : static_cast<DWORD>(IGetDefaultWatermarkSize(d.iSizeKind));
    pEntry->dwAngleMode = 0;
    pEntry->dwShade = 1;
    pEntry->dwStyle = d.dwStyle;
    pEntry->dwColor = 0;
}

BOOL CZQWatermarks::BCreateDefaults(POEMCUIPPARAM pParam, BOOL bRestricted) {
    ZQ_TRACE("CZQWatermarks::BCreateDefaults");
    if (!pParam || bRestricted) return FALSE;
    // The pool is built anew from the defaults and what is stored: a list kept from an earlier
    // call would be stored a second time behind them.
    VFreeEntryList(m_main);
    m_readImages.clear();
    int made = 0;
    for (int i = 0; i < kDefaultCount; ++i) {
        WatermarkEntry* entry = PNewEntry(m_main);
        if (!entry) break;
        VFillDefault(entry, i, kDefaultAngle);
        entry->dwFlags = kWatermarkEditable;
        ++made;
    }
    VMergeSharedPool(FALSE, pParam, made);
    VApplyDevmodeToEntry(zqdm::CurrentBlock(pParam->pOEMDM));
    // A pool that holds the defaults and the devmode's watermark already is not written again.
    return BSavePool(pParam);
}

BOOL CZQWatermarks::BResetDefaultEntries() {
    WatermarkEntry* entry = m_main.pHead;
    for (int i = 0; i < kDefaultCount; ++i, entry = entry->pNext) {
        if (!entry) return FALSE;
        // Reset and added defaults lie along the diagonal the manager holds now.
        VFillDefault(entry, i, static_cast<DWORD>(m_iDiagonalAngle));
    }
    return TRUE;
}

void CZQWatermarks::VEnsureNoneEntry() {
    if (PFindByName(NoneName())) return;
    WatermarkEntry* entry = PNewEntry(m_main);
    if (!entry) return;
    VFillDefault(entry, 0, static_cast<DWORD>(m_iDiagonalAngle));
    // The manager's own name of " [none]", which the lists compare with.
    ZQCopyText(entry->szName, zqwm::kTextChars, NoneName());
    ZQCopyText(entry->szText, zqwm::kTextChars, NoneName());
    entry->dwFlags = kWatermarkEditable;
}

void CZQWatermarks::VApplyDevmodeToEntry(ZQUIDevmode* pDevmode) {
    if (!pDevmode) return;
    WCHAR name[zqwm::kTextChars];
    ZQCopyTextN(name, zqwm::kTextChars, pDevmode->szWmName, zqwm::kTextChars - 1);
    for (WatermarkEntry* e = m_main.pHead; e; e = e->pNext) {
        if (wcscmp(e->szName, name) != 0) continue;
        if (pDevmode->dwWmAngleMode == 0) pDevmode->dwWmAngle = static_cast<uint32_t>(m_iDiagonalAngle);
        ZQCopyTextN(e->szText, zqwm::kTextChars, pDevmode->szWmText, zqwm::kTextChars - 1);
        ZQCopyTextN(e->szFont, zqwm::kTextChars, pDevmode->szWmFont, zqwm::kTextChars - 1);
        e->dwAngle = pDevmode->dwWmAngle;
        e->dwSize = pDevmode->dwWmSize;
        e->dwAngleMode = pDevmode->dwWmAngleMode;
        e->dwShade = pDevmode->dwWmShade;
        e->dwStyle = pDevmode->dwWmStyle;
        e->dwColor = pDevmode->dwWmColorIndex;
    }
}

// ---------------------------------------------------------------------------------------------
// Names for new watermarks
// ---------------------------------------------------------------------------------------------
void CZQWatermarks::VInitUntitledNames() {
    WCHAR base[kResStringChars];
    if (!BLoadResString(kIdsUntitledNumbered, base)) ZQCopyText(base, kResStringChars, L"Untitled #");
    for (int i = 0; i < kUntitledSlots; ++i) {
        if (i == 0) {
            WCHAR first[kResStringChars];
            if (!BLoadResString(kIdsUntitled, first)) ZQCopyText(first, kResStringChars, L"Untitled");
            ZQCopyText(m_aUntitled[i], kUntitledChars, first);
        } else {
            ZQFormatText(m_aUntitled[i], kUntitledChars, L"%ls%d", base, i + 1);
        }
        m_abUntitledUsed[i] = FALSE;
    }
}

void CZQWatermarks::VMarkUsedUntitledNames(const std::vector<std::wstring>& shown) {
    for (int i = 0; i < kUntitledSlots; ++i)
        if (std::find(shown.begin(), shown.end(), m_aUntitled[i]) != shown.end()) m_abUntitledUsed[i] = TRUE;
}

void CZQWatermarks::VTakeFreeUntitledName(const std::vector<std::wstring>& shown, PWSTR pszName) {
    // A slot is free again once its name left the list (deleted, or New cancelled).
    for (BOOL& used : m_abUntitledUsed) used = FALSE;
    VMarkUsedUntitledNames(shown);
    for (int i = 0; i < kUntitledSlots; ++i) {
        if (m_abUntitledUsed[i]) continue;
        m_abUntitledUsed[i] = TRUE;
        if (pszName) ZQCopyText(pszName, 256, m_aUntitled[i]);
        return;
    }
}

BOOL CZQWatermarks::BNameTaken(PCWSTR pszName, const WatermarkEntry* pSelf) const {
    for (const WatermarkEntry* e = m_main.pHead; pszName && e; e = e->pNext)
        if (e != pSelf && ZQEqualNoCase(e->szName, pszName)) return TRUE;
    return FALSE;
}

void CZQWatermarks::VMakeUniqueName(PWSTR pszName, const WatermarkEntry* pSelf) {
    if (!pszName) return;
    for (int n = 2; n <= kUntitledSlots; ++n) {
        WCHAR candidate[kUniqueNameChars];
        ZQFormatText(candidate, kUniqueNameChars, L"%ls #%d", pszName, n);
        if (BNameTaken(candidate, pSelf)) continue;
        ZQCopyText(pszName, kUniqueNameChars, candidate);
        return;
    }
}

void CZQWatermarks::VStripNumberSuffix(PWSTR pszText) {
    if (!pszText) return;
    PWSTR mark = wcsrchr(pszText, L'#');
    if (!mark) return;
    if (mark == pszText) *mark = 0;
    else mark[-1] = 0;
}
