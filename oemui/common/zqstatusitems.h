// The alerts of the device-status record: each item has a severity, an optional link (a command
// line the alert window runs) and the string ids of its message. Items are stored as deep copies.
#pragma once

#include <windows.h>

// Severities of an item; the "link" ones make the alert a link.
enum : DWORD {
    ZQ_SEVERITY_ERROR = 1,
    ZQ_SEVERITY_WARNING = 2,
    ZQ_SEVERITY_ERROR_LINK = 3,
    ZQ_SEVERITY_WARNING_LINK = 4,
    ZQ_SEVERITY_NONE = 5,  // no known severity
};

// A growable array of 32-bit string ids.
class CZQIdList {
public:
    CZQIdList() = default;
    ~CZQIdList();
    CZQIdList(const CZQIdList&) = delete;
    CZQIdList& operator=(const CZQIdList&) = delete;

    // FALSE when memory runs out; the list is then as it was.
    BOOL BAppend(LONG lId);
    // The other list's ids in place of these; FALSE (and an empty list) when memory runs out.
    BOOL BCopyFrom(const CZQIdList& other);
    void VClear();
    int GetCount() const { return m_nCount; }
    LONG At(int i) const { return m_pIds[i]; }

    LONG* m_pIds = nullptr;
    int m_nCount = 0;
    int m_nCapacity = 0;
};

struct StatusItem {
    StatusItem() = default;
    ~StatusItem();
    StatusItem(const StatusItem&) = delete;
    StatusItem& operator=(const StatusItem&) = delete;

    // A copy of the other item, link text and ids included; FALSE when memory runs out.
    BOOL BCopyFrom(const StatusItem& other);
    // A copy of the text becomes the link; null leaves no link. FALSE when memory runs out.
    BOOL BSetLink(PCWSTR pszLink);

    DWORD dwSeverity = ZQ_SEVERITY_NONE;
    PWSTR pszLink = nullptr;  // owned local-heap text, null without a link
    CZQIdList ids;
};

// The item array of the status record: every item put in is a copy the array owns.
class CZQStatusItems {
public:
    CZQStatusItems() = default;
    ~CZQStatusItems();
    CZQStatusItems(const CZQStatusItems&) = delete;
    CZQStatusItems& operator=(const CZQStatusItems&) = delete;

    // A copy of the item at the end, or before position iIndex (0 puts it first). FALSE when
    // memory runs out or the position is outside 0..count; the array is then as it was.
    BOOL BAppendCopy(const StatusItem& item) { return BInsertCopy(m_nCount, item); }
    BOOL BInsertCopy(int iIndex, const StatusItem& item);
    void VRemoveAll();
    int GetCount() const { return m_nCount; }
    const StatusItem& At(int i) const { return *m_pData[i]; }

    StatusItem** m_pData = nullptr;
    int m_nCount = 0;
    int m_nCapacity = 0;
    int m_nGrowBy = 0;  // slots added at each growth; 0: half the count, at least 4
};
