// The core driver's option of each of its items, kept per item and selection for passes over every
// feature (the quick sets' comparison after each change): the option keyword of a list's entry does
// not change while its sheet is open, so a pass asks the core driver again only for the items whose
// selection moved, and for items whose value is a number or a text. A real core driver looks a
// feature up by its keyword, so a pass that asked for every item would cost the square of the
// feature count.
#pragma once

#include <string>
#include <vector>

#include "platform/oemuiplatform.h"

class CZQItemAnswers {
public:
    struct Answer {
        PCWSTR pszFeature;  // the item's feature keyword
        PCWSTR pszOption;   // its option keyword
    };

    // Every core driver item with a keyword and a value, in item order, as DWGetAllFeatureOptions
    // lists them; the texts stay valid until the next pass or VForget. Another block of items (or
    // another UI object) than the last pass's starts afresh. ZQOPT_BAD_ARGUMENT without items,
    // ZQOPT_NO_MEMORY when a keyword cannot be converted.
    DWORD DWRead(POEMCUIPPARAM pParam, const Answer** ppAnswers, int* piCount);
    void VForget();

private:
    struct Slot {
        bool bKept = false;  // the answer below stands for lSel
        LONG lSel = 0;
        DWORD dwStatus = 0;
        std::wstring feature, option;
    };
    const void* m_pUIObject = nullptr;
    const OPTITEM* m_pItems = nullptr;
    DWORD m_cItems = 0;
    std::vector<Slot> m_slots;
    std::vector<Answer> m_answers;
};
