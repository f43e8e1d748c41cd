// The page's growable array of row pictures, and where a panel row draws its picture.
#include <climits>
#include <cstring>

#include "pages/shortcuts/zqlargeformattypes.h"
#include "res/zqshortcutsids.h"

namespace {

int g_refusedBlocks = 0;

}  // namespace

int IShortcutPictureHolderOf(const ShortcutPanelEntry& entry) {
    // The edit groups bring their own picture holders into the row.
    if (entry.iKind == 5) {
        if (lstrcmpiW(entry.szKeyword, L"Scaling") == 0) return entry.iRowHolderId ? IDC_DC_SCALING_HOLDER : 0;
        if (lstrcmpiW(entry.szKeyword, L"Copies") == 0) return entry.iRowHolderId ? IDC_DC_COPY_HOLDER : 0;
    }
    const int row = entry.iRowHolderId - IDC_DC_CTL_HOLDER1;
    return row >= 0 && row < IDC_DC_PANEL_ROWS ? IDC_DC_BMP_HOLDER1 + row : 0;
}

void ShortcutBitmapArray::VRefuseBlocksForTesting(int n) { g_refusedBlocks = n; }

void** ShortcutBitmapArray::PNewBlock(int nSlots) {
    if (g_refusedBlocks > 0) {
        --g_refusedBlocks;
        return nullptr;
    }
    if (nSlots <= 0) return nullptr;
    return static_cast<void**>(LocalAlloc(LPTR, static_cast<size_t>(nSlots) * sizeof(void*)));
}

BOOL ShortcutBitmapArray::BAllocate() {
    VFree();
    m_ppData = PNewBlock(kInitialCapacity);
    m_nCapacity = m_ppData ? kInitialCapacity : 0;
    m_nCount = 0;
    return m_ppData != nullptr;
}

void ShortcutBitmapArray::VFree() {
    if (m_ppData) LocalFree(m_ppData);
    m_ppData = nullptr;
}

BOOL ShortcutBitmapArray::BGrow() {
    if (!m_ppData) return FALSE;
    if (m_nCount < m_nCapacity) return TRUE;
    if (m_nCapacity > INT_MAX / 2) return FALSE;
    void** block = PNewBlock(m_nCapacity * 2);
    if (!block) return FALSE;
    memcpy(block, m_ppData, static_cast<size_t>(m_nCount) * sizeof(void*));
    LocalFree(m_ppData);
    m_ppData = block;
    m_nCapacity *= 2;
    return TRUE;
}

BOOL ShortcutBitmapArray::BAppend(void* pItem) {
    if (!BGrow()) return FALSE;
    m_ppData[m_nCount++] = pItem;
    return TRUE;
}

BOOL ShortcutBitmapArray::BInsertAt(int iIndex, void* pItem) {
    if (iIndex < 0 || iIndex >= m_nCount) return FALSE;
    // A full array grows first; a refused block leaves it as it was.
    if (m_nCount == m_nCapacity && !BGrow()) return FALSE;
    void** block = PNewBlock(m_nCapacity);
    if (!block) return FALSE;
    memcpy(block, m_ppData, static_cast<size_t>(iIndex) * sizeof(void*));
    block[iIndex] = pItem;
    memcpy(block + iIndex + 1, m_ppData + iIndex, static_cast<size_t>(m_nCount - iIndex) * sizeof(void*));
    LocalFree(m_ppData);
    m_ppData = block;
    ++m_nCount;
    return TRUE;
}

BOOL ShortcutBitmapArray::BRemoveAt(int iIndex) {
    if (iIndex < 0 || iIndex >= m_nCount) return FALSE;
    void** block = PNewBlock(m_nCapacity);
    if (!block) return FALSE;
    memcpy(block, m_ppData, static_cast<size_t>(iIndex) * sizeof(void*));
    memcpy(block + iIndex, m_ppData + iIndex + 1, static_cast<size_t>(m_nCount - iIndex - 1) * sizeof(void*));
    LocalFree(m_ppData);
    m_ppData = block;
    --m_nCount;
    return TRUE;
}

void* ShortcutBitmapArray::PAt(int iIndex) const {
    return m_ppData && iIndex >= 0 && iIndex < m_nCount ? m_ppData[iIndex] : nullptr;
}
