// The Colour page handlers' small readers of the core driver's items: a feature's option keywords
// (freed with the object) and a selection that reports only a change.
#pragma once

#include "common/zqcommon.h"
#include "common/zqstrings.h"
#include "pages/zqpageitems.h"

struct ZQColorKeywords {
    PWSTR* list = nullptr;
    int count = 0;
    ZQColorKeywords(POEMCUIPPARAM pParam, PCWSTR pszFeature) {
        if (CZQCommon::DWGetOptionKeywords(pParam, pszFeature, &list, &count, OEMCUIP_DOCPROP) != ZQOPT_OK) {
            list = nullptr;
            count = 0;
        }
    }
    ~ZQColorKeywords() { CZQCommon::VFreeStringList(list, count); }
    ZQColorKeywords(const ZQColorKeywords&) = delete;
    ZQColorKeywords& operator=(const ZQColorKeywords&) = delete;
    bool Readable() const { return list != nullptr; }
    // The option's position, -1 when the feature lacks it.
    int Index(PCWSTR pszWord) const {
        for (int i = 0; i < count; ++i)
            if (list[i] && ZQEqualNoCase(list[i], pszWord)) return i;
        return -1;
    }
    bool Has(PCWSTR pszWord) const { return Index(pszWord) >= 0; }
    // A plain off/on choice: its first two options are "FALSE" and "TRUE".
    bool PlainChoice() const {
        return count >= 2 && list[0] && list[1] && ZQEqualNoCase(list[0], L"FALSE") && ZQEqualNoCase(list[1], L"TRUE");
    }
};

// Selection of the core driver's item found by its keyword: marked changed and reported with the
// previous selection when it differs.
inline void SelectItem(POEMCUIPPARAM pParam, PCWSTR pszKeyword, LONG lSel) {
    POPTITEM item = zqpage::FeatureItem(pParam, pszKeyword);
    if (!item || item->Sel == lSel) return;
    const DWORD previous = static_cast<DWORD>(item->Sel);
    item->Sel = lSel;
    item->Flags |= OPTIF_CHANGED;
    CZQCommon::BReportItem(pParam, item, previous, OEMCUIP_DOCPROP);
}

