// The records of the large-format Printing Shortcuts page: one feature row of its panel, one stored
// printing shortcut with its features, and the page's growable array of row pictures. Every block
// of a panel entry and of a shortcut record comes zero-filled from the local heap, and its owner
// frees each block the same way.
#pragma once

#include <windows.h>

// One feature row of the panel.
struct ShortcutPanelEntry {
    static constexpr size_t kTextChars = 256;
    WCHAR szKeyword[kTextChars];  // the feature's keyword in the shortcut document
    int iKind;                    // the kind of control the row gets
    int iCtrlId;                  // the run-time control made for the row (0: none)
    int iSecondCtrlId;            // its caption or edit (0: none)
    int iRowHolderId;             // the template's control holder of the row
    int iLabel, iLabelTextId;     // the caption the shortcut document gives
    WCHAR szFixed[kTextChars];    // "True": the feature is fixed
    int nOptions;
    int iSelected;                // index into the option arrays
    PWSTR* ppszOptionKeywords;    // nOptions strings each
    PWSTR* ppszOptionNames;
    int** ppiOptionBitmapIds;     // the picture of each option, drawn in the row's picture holder
    int** ppiNotAvailable;        // 1: neither the driver nor a text names the option
    int iDefaultOption;           // the document type's own choice among the options
    WCHAR szLocked[kTextChars];   // "True": the feature is locked
};

// The row's picture holder: each control holder of the template has its picture holder ten ids
// below it (0 for a row outside the template's rows).
int IShortcutPictureHolderOf(const ShortcutPanelEntry& entry);

// One feature of a stored shortcut.
struct ShortcutFeatureEntry {
    WCHAR szKeyword[256];
    int iKind;
    int nPairs;
    PWSTR* ppszOptionKeywords;  // nPairs strings of 256 characters each
    PWSTR* ppszOptionNames;
};

// One printing shortcut as the page reads and writes it.
struct ShortcutRecord {
    WCHAR szName[256];
    WCHAR szDocType[256];  // the document type it is listed under
    int nFeatures;
    DWORD dwReserved;
    DWORD dwBitmapId;      // the picture of its list row
    ShortcutFeatureEntry** ppFeatures;
};

// The page's pictures of its list rows, one slot per row in the list's order. The array owns its
// block, not the pictures. A slot at or beyond the count is empty.
class ShortcutBitmapArray {
public:
    static constexpr int kInitialCapacity = 30;

    // The first block of kInitialCapacity zero-filled slots; FALSE (and no block) when it cannot
    // be had.
    BOOL BAllocate();
    void VFree();
    // Room for one more slot: at once while count < capacity, else a block of twice the capacity.
    BOOL BGrow();
    // The item before the slot at index (index below the count); the array grows first when full.
    BOOL BInsertAt(int iIndex, void* pItem);
    // The slot at index removed (index below the count); the picture it held is not deleted.
    BOOL BRemoveAt(int iIndex);
    // The picture of a row: null for a slot at or beyond the count.
    void* PAt(int iIndex) const;

    int Capacity() const { return m_nCapacity; }
    int Count() const { return m_nCount; }
    void** Data() const { return m_ppData; }
    // A slot after the last one (BGrow, then the slot at the count).
    BOOL BAppend(void* pItem);
    // The next n blocks the array asks for are refused, as when memory runs out.
    static void VRefuseBlocksForTesting(int n);

private:
    // A zero-filled block of the slots; null when it cannot be had.
    static void** PNewBlock(int nSlots);

    int m_nCapacity = 0;
    int m_nCount = 0;
    void** m_ppData = nullptr;
};
