// The item memory: the one keeper of what the core driver answered about its items, one per thread
// for the items of one UI object (the sheet's). README.md in this folder says what it keeps, for how
// long and what forgets it.
#pragma once

#include <string>
#include <vector>

#include "platform/oemuiplatform.h"

namespace zqitems {

// An item's feature keyword and its option keyword.
struct Answer {
    PCWSTR pszFeature;
    PCWSTR pszOption;
};

class CZQItemMemory {
public:
    // The thread's memory for the block's items: another block of items (or another UI object) than
    // the last question's starts it afresh. Null when no memory could be made.
    static CZQItemMemory* For(POEMCUIPPARAM p);

    // The option keywords of list items, by item and option (an option's keyword does not change
    // while its sheet is open). Learn keeps the driver's answer for the item's option (ZQOPT_OK with
    // its keyword, or ZQOPT_NOT_FOUND: it has none); an item outside the block is not kept.
    void VLearn(const OPTITEM* pItem, LONG lIndex, DWORD dwStatus, PCWSTR pszOption);
    // The kept answer, or false.
    bool BKnown(const OPTITEM* pItem, LONG lIndex, DWORD* pdwStatus, PCWSTR* ppszOption) const;
    // The option of the item known to have the keyword (without regard to case), or -1.
    LONG LKnownIndex(const OPTITEM* pItem, PCWSTR pszOption) const;
    // The last answer for an item whose value is a number or a text (asked again on each listing).
    void VLearnValue(const OPTITEM* pItem, DWORD dwStatus, PCWSTR pszValue);
    bool BKnownValue(const OPTITEM* pItem, DWORD* pdwStatus, PCWSTR* ppszValue) const;
    // The item's feature keyword made wide once (null when it cannot be).
    PCWSTR PszFeature(const OPTITEM* pItem, const char* pszKeyword);
    // The listing the last pass over every item handed out; its texts stay valid until the next.
    std::vector<Answer>& Listing() { return m_listing; }

    // The driver's answer to a setting read of an ANSI feature keyword, kept while a CZQItemPass lives
    // on the thread and until the next report of an item: as its status and a new local-heap copy
    // of its cb bytes (null when the answer had none).
    static bool BFindSetting(const void* pUIObject, const char* pszKeyword, DWORD* pdwStatus, char** ppValue,
                             size_t* pcb);
    static void VKeepSetting(const void* pUIObject, const char* pszKeyword, DWORD dwStatus, const char* pValue,
                             size_t cb);
    // Every report of an item may change the driver's answers: whoever reports calls it.
    static void VForgetSettings();
    // Everything of the thread's memory, which it frees: new items are built, or the sheet ended.
    static void VForgetAll();

private:
    struct Option {
        bool bKept = false;
        DWORD dwStatus = 0;
        std::wstring keyword;
    };
    struct Item {
        std::wstring feature;
        std::vector<Option> options;
        Option value;
    };
    const Option* Find(const OPTITEM* pItem, LONG lIndex) const;
    static void Keep(Option& o, DWORD dwStatus, PCWSTR pszText);
    static bool Tell(const Option* o, DWORD* pdwStatus, PCWSTR* ppszText);
    // The item's place in the memory; null for an item outside the block.
    const Item* InBlock(const OPTITEM* pItem) const;
    Item* InBlock(const OPTITEM* pItem) {
        return const_cast<Item*>(static_cast<const CZQItemMemory*>(this)->InBlock(pItem));
    }

    const void* m_pUIObject = nullptr;
    const OPTITEM* m_pItems = nullptr;
    DWORD m_cItems = 0;
    std::vector<Item> m_items;
    std::vector<Answer> m_listing;
};

// While one lives on the thread (a pass over a sheet, one message of a page), the core driver's
// settings are kept as CZQItemMemory::BFindSetting says. Passes nest; the outermost one's end
// forgets them.
class CZQItemPass {
public:
    CZQItemPass();
    ~CZQItemPass();
    CZQItemPass(const CZQItemPass&) = delete;
    CZQItemPass& operator=(const CZQItemPass&) = delete;
};

}  // namespace zqitems

// The current option of every core driver item with a keyword and a value, in item order (the
// item memory keeps a list item's answer for its selection); the texts stay valid until the next
// call on the thread. ZQOPT_BAD_ARGUMENT without items, ZQOPT_NO_MEMORY when a keyword cannot be
// converted.
DWORD ZQListItemAnswers(POEMCUIPPARAM pParam, const zqitems::Answer** ppAnswers, int* piCount);
