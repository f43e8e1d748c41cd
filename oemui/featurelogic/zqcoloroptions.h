// The colour option list: the driver's hidden "ZQChromix_<item>_<list>" features as a chain of
// item headings, lists and list entries, which the colour settings sheet shows and the colour page
// compares with its defaults and with the snapshot taken when the sheet opened. The driver keeps
// three options of its own before each list's entries, so an entry's position is the feature's
// selection minus 3.
#pragma once

#include <windows.h>

#include "platform/oemuiplatform.h"

enum ZQColorNodeKind : DWORD {
    kColorNodeItem = 1,   // item heading
    kColorNodeList = 2,   // one list of the item
    kColorNodeEntry = 3,  // an entry; entries follow their list directly
};

// Allocated zero-filled from the local heap.
struct ZQColorOptionNode {
    DWORD dwKind;
    DWORD dwSelection;       // lists: the selected entry among those that follow
    WCHAR szName[80];        // headings and lists: the keyword part; entries: the option's name
    WCHAR szText[256];       // display text
    DWORD dwStringId;        // of the display text in the status module (0: the name shows)
    DWORD dwHelpIndex;
    WCHAR szDefault[80];     // lists: the name of the default entry
    ZQColorOptionNode* pNext;
    ZQColorOptionNode* pPrev;
};

struct ZQColorSnapshotNode {
    DWORD dwValue;
    ZQColorSnapshotNode* pNext;
};

class CZQColorOptionList {
public:
    static constexpr int kDriverOptions = 3;  // the driver's own options before a list's entries

    CZQColorOptionList() = default;
    ~CZQColorOptionList() { VFree(); }
    CZQColorOptionList(const CZQColorOptionList&) = delete;
    CZQColorOptionList& operator=(const CZQColorOptionList&) = delete;

    // Built afresh from the block's items, with the snapshot of its selections. Without the items
    // (or memory) the list stays empty: FALSE only when memory ran out.
    BOOL BBuild(POEMCUIPPARAM pParam);
    // Every list takes its feature's current selection minus 3; a list whose feature is missing,
    // or whose selection falls outside its entries, keeps its own.
    void VRefreshSelections(POEMCUIPPARAM pParam);
    void VFree();
    // A list node's default entry, counted from 0 among the entries that follow it (the number of
    // entries when none has the default's name).
    static DWORD DWDefaultEntry(const ZQColorOptionNode* pList);
    // Every list shows its default entry: the colour matching the sheet calls automatic.
    BOOL BColorListAtDefaults() const;
    void VResetToDefaults();

    ZQColorOptionNode* Head() const { return m_pHead; }
    ZQColorOptionNode* Tail() const { return m_pTail; }
    ZQColorSnapshotNode* SnapshotHead() const { return m_pSnapshot; }

private:
    ZQColorOptionNode* PAppend(DWORD dwKind, PCWSTR pszName, PCWSTR pszText);
    BOOL BAddItem(POEMCUIPPARAM pParam, PCWSTR pszItem, PWSTR* pKeywords, int iCount);
    BOOL BTakeSnapshot();

    ZQColorOptionNode* m_pHead = nullptr;
    ZQColorOptionNode* m_pTail = nullptr;
    ZQColorSnapshotNode* m_pSnapshot = nullptr;
};
