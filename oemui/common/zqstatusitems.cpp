#include "common/zqstatusitems.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "common/zqstrings.h"

namespace {

// A block of at least nNeeded elements holding the first nCount of the old one; null when out of
// memory (the old block is left alone).
template <typename T>
T* Grown(T* pOld, int nCount, int nNeeded, int nStep, int* pnCapacity) {
    const long long capacity = std::max<long long>(nNeeded, static_cast<long long>(*pnCapacity) + nStep);
    if (capacity > 0x7FFFFFFF / static_cast<long long>(sizeof(T))) return nullptr;
    T* pNew = new (std::nothrow) T[static_cast<size_t>(capacity)];
    if (!pNew) return nullptr;
    if (nCount) std::memcpy(pNew, pOld, static_cast<size_t>(nCount) * sizeof(T));
    *pnCapacity = static_cast<int>(capacity);
    return pNew;
}

}  // namespace

CZQIdList::~CZQIdList() { delete[] m_pIds; }

BOOL CZQIdList::BAppend(LONG lId) {
    if (m_nCount == m_nCapacity) {
        LONG* pIds = Grown(m_pIds, m_nCount, m_nCount + 1, std::max(4, m_nCount / 2), &m_nCapacity);
        if (!pIds) return FALSE;
        delete[] m_pIds;
        m_pIds = pIds;
    }
    m_pIds[m_nCount++] = lId;
    return TRUE;
}

BOOL CZQIdList::BCopyFrom(const CZQIdList& other) {
    if (&other == this) return TRUE;
    VClear();
    for (int i = 0; i < other.m_nCount; ++i) {
        if (!BAppend(other.m_pIds[i])) {
            VClear();
            return FALSE;
        }
    }
    return TRUE;
}

void CZQIdList::VClear() {
    delete[] m_pIds;
    m_pIds = nullptr;
    m_nCount = m_nCapacity = 0;
}

StatusItem::~StatusItem() {
    if (pszLink) LocalFree(pszLink);
}

BOOL StatusItem::BSetLink(PCWSTR pszNewLink) {
    PWSTR copy = nullptr;
    if (pszNewLink && !(copy = ZQDupText(pszNewLink))) return FALSE;
    if (pszLink) LocalFree(pszLink);
    pszLink = copy;
    return TRUE;
}

BOOL StatusItem::BCopyFrom(const StatusItem& other) {
    if (&other == this) return TRUE;
    dwSeverity = other.dwSeverity;
    return BSetLink(other.pszLink) && ids.BCopyFrom(other.ids);
}

CZQStatusItems::~CZQStatusItems() { VRemoveAll(); }

BOOL CZQStatusItems::BInsertCopy(int iIndex, const StatusItem& item) {
    if (iIndex < 0 || iIndex > m_nCount) return FALSE;
    StatusItem* pCopy = new (std::nothrow) StatusItem();
    if (!pCopy || !pCopy->BCopyFrom(item)) {
        delete pCopy;
        return FALSE;
    }
    if (m_nCount == m_nCapacity) {
        const int step = m_nGrowBy > 0 ? m_nGrowBy : std::max(4, m_nCount / 2);
        StatusItem** pData = Grown(m_pData, m_nCount, m_nCount + 1, step, &m_nCapacity);
        if (!pData) {
            delete pCopy;
            return FALSE;
        }
        delete[] m_pData;
        m_pData = pData;
    }
    std::memmove(m_pData + iIndex + 1, m_pData + iIndex, static_cast<size_t>(m_nCount - iIndex) * sizeof(StatusItem*));
    m_pData[iIndex] = pCopy;
    ++m_nCount;
    return TRUE;
}

void CZQStatusItems::VRemoveAll() {
    for (int i = 0; i < m_nCount; ++i) delete m_pData[i];
    delete[] m_pData;
    m_pData = nullptr;
    m_nCount = m_nCapacity = 0;
}
