// CZQPtrArray: a growable array of untyped, pointer-sized slots. It owns its block of slots only,
// never what the slots point to: every owner deletes its elements before it empties or destroys
// the array. Owners read the count and the slots directly.
#pragma once

#include <windows.h>

class CZQPtrArray {
public:
    CZQPtrArray() = default;
    ~CZQPtrArray();
    CZQPtrArray(const CZQPtrArray&) = delete;
    CZQPtrArray& operator=(const CZQPtrArray&) = delete;

    // A step other than -1 is stored first (0: the step follows the count). The count becomes
    // nCount; slots that come into use are null. FALSE, with the array as it was, when the larger
    // block cannot be allocated or the count is negative.
    BOOL VSetSize(int nCount, int nGrowBy = -1);
    // Slot iIndex receives the item, the array first growing to iIndex + 1 slots when needed
    // (append with iIndex = m_nCount). FALSE when the slot could not be made; the caller still owns
    // the item then.
    BOOL VSetAtGrow(int iIndex, void* pItem);
    // Slots iIndex + nCount .. count-1 move down to iIndex; the capacity stays and nothing is freed.
    // A range outside the slots in use changes nothing.
    void VRemoveAt(int iIndex, int nCount = 1);

    int GetCount() const { return m_nCount; }
    void* GetAt(int i) const { return m_pData[i]; }

    // Small integers (string ids) kept in the slots.
    BOOL BAppendId(INT id) { return VSetAtGrow(m_nCount, reinterpret_cast<void*>(static_cast<INT_PTR>(id))); }
    INT IdAt(int i) const { return static_cast<INT>(reinterpret_cast<INT_PTR>(m_pData[i])); }
    // Position of the first slot holding this id, -1 when none does.
    int IFindId(INT id) const;

    // Null while the array never held anything or after it was emptied.
    void** m_pData = nullptr;
    int m_nCount = 0;
    int m_nCapacity = 0;
    // Slots added at each growth; 0: count/8, at least 4 and at most 1024.
    int m_nGrowBy = 0;
};

// Owners of typed elements: delete every element as T and empty the array.
template <typename T>
void ZQDeleteAll(CZQPtrArray& array) {
    for (int i = 0; i < array.m_nCount; ++i) delete static_cast<T*>(array.m_pData[i]);
    array.VSetSize(0);
}

// Appends an element the array's owner takes over; the element is deleted when it cannot be kept.
template <typename T>
BOOL ZQAppendOwned(CZQPtrArray& array, T* pItem) {
    if (!pItem) return FALSE;
    if (array.VSetAtGrow(array.m_nCount, pItem)) return TRUE;
    delete pItem;
    return FALSE;
}
