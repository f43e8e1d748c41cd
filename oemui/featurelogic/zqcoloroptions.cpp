// The colour option list, built from the driver's hidden "ZQChromix_<item>_<list>" features. Only
// the items are read (no driver call): their display names give the entries' names and texts, and
// a list's default entry is its first one, the option the driver's features start from.
#include "featurelogic/zqcoloroptions.h"

#include "common/zqcommon.h"
#include "common/zqkeywords.h"
#include "common/zqstrings.h"

namespace {

// The item and list parts of "ZQChromix_<item>_<list>"; false for any other keyword.
bool SplitKeyword(PCWSTR pszKeyword, PWSTR pszItem, PWSTR pszList) {
    constexpr size_t prefixChars = ARRAYSIZE(zqkw::kZQChromix) - 1;
    if (!ZQStartsWithNoCase(pszKeyword, zqkw::kZQChromix) || pszKeyword[prefixChars] != L'_') return false;
    PCWSTR item = pszKeyword + prefixChars + 1;
    PCWSTR cut = wcschr(item, L'_');
    if (!cut || cut == item || !cut[1]) return false;
    ZQCopyTextN(pszItem, 80, item, static_cast<size_t>(cut - item));
    ZQCopyText(pszList, 80, cut + 1);
    return true;
}

int EntriesAfter(const ZQColorOptionNode* pList) {
    int count = 0;
    for (const ZQColorOptionNode* n = pList->pNext; n && n->dwKind == kColorNodeEntry; n = n->pNext) ++count;
    return count;
}

}  // namespace

DWORD CZQColorOptionList::DWDefaultEntry(const ZQColorOptionNode* pList) {
    DWORD position = 0;
    for (const ZQColorOptionNode* node = pList->pNext; node && node->dwKind == kColorNodeEntry; node = node->pNext) {
        if (wcscmp(node->szName, pList->szDefault) == 0) break;
        ++position;
    }
    return position;
}

BOOL CZQColorOptionList::BColorListAtDefaults() const {
    for (const ZQColorOptionNode* node = m_pHead; node; node = node->pNext)
        if (node->dwKind == kColorNodeList && node->dwSelection != DWDefaultEntry(node)) return FALSE;
    return TRUE;
}

void CZQColorOptionList::VResetToDefaults() {
    for (ZQColorOptionNode* node = m_pHead; node; node = node->pNext)
        if (node->dwKind == kColorNodeList) node->dwSelection = DWDefaultEntry(node);
}

void CZQColorOptionList::VFree() {
    for (ZQColorOptionNode* n = m_pHead; n;) {
        ZQColorOptionNode* next = n->pNext;
        LocalFree(n);
        n = next;
    }
    for (ZQColorSnapshotNode* n = m_pSnapshot; n;) {
        ZQColorSnapshotNode* next = n->pNext;
        LocalFree(n);
        n = next;
    }
    m_pHead = m_pTail = nullptr;
    m_pSnapshot = nullptr;
}

ZQColorOptionNode* CZQColorOptionList::PAppend(DWORD dwKind, PCWSTR pszName, PCWSTR pszText) {
    auto* node = static_cast<ZQColorOptionNode*>(LocalAlloc(LPTR, sizeof(ZQColorOptionNode)));
    if (!node) return nullptr;
    node->dwKind = dwKind;
    ZQCopyText(node->szName, ARRAYSIZE(node->szName), pszName);
    ZQCopyText(node->szText, ARRAYSIZE(node->szText), pszText && pszText[0] ? pszText : pszName);
    node->pPrev = m_pTail;
    (m_pTail ? m_pTail->pNext : m_pHead) = node;
    m_pTail = node;
    return node;
}

// One heading and, in item order, every list of the item that has entries.
BOOL CZQColorOptionList::BAddItem(POEMCUIPPARAM pParam, PCWSTR pszItem, PWSTR* pKeywords, int iCount) {
    if (!PAppend(kColorNodeItem, pszItem, pszItem)) return FALSE;
    for (int i = 0; i < iCount; ++i) {
        WCHAR item[80], list[80];
        if (!SplitKeyword(pKeywords[i], item, list) || lstrcmpiW(item, pszItem) != 0) continue;
        POPTITEM feature = nullptr;
        PWSTR* names = nullptr;
        int count = 0;
        if (CZQCommon::DWFindOptItem(pParam, pKeywords[i], &feature) != ZQOPT_OK || !feature ||
            CZQCommon::DWGetOptionNames(pParam, pKeywords[i], &names, &count) != ZQOPT_OK)
            continue;
        const int entries = count - kDriverOptions;
        bool ok = true;
        if (entries > 0) {
            ZQColorOptionNode* node = PAppend(kColorNodeList, list, feature->pName);
            ok = node != nullptr;
            if (ok) {
                const LONG selection = feature->Sel - kDriverOptions;
                node->dwSelection = selection >= 0 && selection < entries ? static_cast<DWORD>(selection) : 0;
                ZQCopyText(node->szDefault, ARRAYSIZE(node->szDefault), names[kDriverOptions]);
            }
            for (int e = kDriverOptions; ok && e < count; ++e) ok = PAppend(kColorNodeEntry, names[e], names[e]) != nullptr;
        }
        CZQCommon::VFreeStringList(names, count);
        if (!ok) return FALSE;
    }
    return TRUE;
}

BOOL CZQColorOptionList::BTakeSnapshot() {
    ZQColorSnapshotNode** link = &m_pSnapshot;
    for (const ZQColorOptionNode* n = m_pHead; n; n = n->pNext) {
        auto* value = static_cast<ZQColorSnapshotNode*>(LocalAlloc(LPTR, sizeof(ZQColorSnapshotNode)));
        if (!value) return FALSE;
        value->dwValue = n->dwSelection;
        *link = value;
        link = &value->pNext;
    }
    return TRUE;
}

BOOL CZQColorOptionList::BBuild(POEMCUIPPARAM pParam) {
    VFree();
    PWSTR* keywords = nullptr;
    int count = 0;
    if (CZQCommon::DWGetItemKeywords(pParam, &keywords, &count) != ZQOPT_OK) return TRUE;
    BOOL ok = TRUE;
    for (int i = 0; ok && i < count; ++i) {
        WCHAR item[80], list[80];
        if (!SplitKeyword(keywords[i], item, list)) continue;
        // An item's heading comes once, where its first list stands.
        bool seen = false;
        for (int j = 0; j < i && !seen; ++j) {
            WCHAR earlier[80];
            seen = SplitKeyword(keywords[j], earlier, list) && lstrcmpiW(earlier, item) == 0;
        }
        if (!seen) ok = BAddItem(pParam, item, keywords, count);
    }
    CZQCommon::VFreeStringList(keywords, count);
    // A list cut short by memory would compare as changed: none is kept.
    if (!ok || !BTakeSnapshot()) {
        VFree();
        return FALSE;
    }
    return TRUE;
}

void CZQColorOptionList::VRefreshSelections(POEMCUIPPARAM pParam) {
    WCHAR prefix[256] = {};
    for (ZQColorOptionNode* n = m_pHead; n; n = n->pNext) {
        if (n->dwKind == kColorNodeItem) {
            ZQFormatText(prefix, ARRAYSIZE(prefix), L"%ls_%ls", zqkw::kZQChromix, n->szName);
            continue;
        }
        if (n->dwKind != kColorNodeList || !prefix[0]) continue;
        WCHAR keyword[256 + 1];
        int selection = -1;
        if (FAILED(ZQFormatText(keyword, ARRAYSIZE(keyword), L"%ls_%ls", prefix, n->szName)) ||
            CZQCommon::DWGetFeatureOptionIndex(pParam, keyword, &selection) != ZQOPT_OK)
            continue;
        selection -= kDriverOptions;
        if (selection >= 0 && selection < EntriesAfter(n)) n->dwSelection = static_cast<DWORD>(selection);
    }
}
