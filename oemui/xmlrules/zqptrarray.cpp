#include "xmlrules/zqptrarray.h"

#include <algorithm>
#include <cstring>
#include <new>

CZQPtrArray::~CZQPtrArray() { delete[] m_pData; }

BOOL CZQPtrArray::VSetSize(int nCount, int nGrowBy) {
    if (nGrowBy != -1) m_nGrowBy = nGrowBy;
    if (nCount < 0) return FALSE;

    if (nCount == 0) {
        delete[] m_pData;
        m_pData = nullptr;
        m_nCount = m_nCapacity = 0;
        return TRUE;
    }

    if (!m_pData) {
        void** pData = new (std::nothrow) void*[nCount];
        if (!pData) return FALSE;
        std::fill(pData, pData + nCount, nullptr);
        m_pData = pData;
        m_nCount = m_nCapacity = nCount;
        return TRUE;
    }

    if (nCount > m_nCapacity) {
        int step = m_nGrowBy;
        if (step == 0) step = std::min(1024, std::max(4, m_nCount / 8));
        // Computed wide so a huge step cannot wrap the capacity.
        const long long grown = static_cast<long long>(m_nCapacity) + step;
        const int capacity = grown > nCount ? static_cast<int>(std::min<long long>(grown, 0x7FFFFFFF)) : nCount;
        void** pData = new (std::nothrow) void*[capacity];
        if (!pData) return FALSE;
        std::memcpy(pData, m_pData, static_cast<size_t>(m_nCount) * sizeof(void*));
        std::fill(pData + m_nCount, pData + nCount, nullptr);
        delete[] m_pData;
        m_pData = pData;
        m_nCount = nCount;
        m_nCapacity = capacity;
        return TRUE;
    }

    if (nCount > m_nCount) std::fill(m_pData + m_nCount, m_pData + nCount, nullptr);
    m_nCount = nCount;
    return TRUE;
}

BOOL CZQPtrArray::VSetAtGrow(int iIndex, void* pItem) {
    if (iIndex < 0) return FALSE;
    if (iIndex >= m_nCount && (iIndex == 0x7FFFFFFF || !VSetSize(iIndex + 1, -1))) return FALSE;
    m_pData[iIndex] = pItem;
    return TRUE;
}

void CZQPtrArray::VRemoveAt(int iIndex, int nCount) {
    if (iIndex < 0 || nCount <= 0 || nCount > m_nCount - iIndex) return;
    const int moved = m_nCount - (iIndex + nCount);
    if (moved > 0)
        std::memmove(m_pData + iIndex, m_pData + iIndex + nCount, static_cast<size_t>(moved) * sizeof(void*));
    m_nCount -= nCount;
}

int CZQPtrArray::IFindId(INT id) const {
    for (int i = 0; i < m_nCount; ++i)
        if (IdAt(i) == id) return i;
    return -1;
}
