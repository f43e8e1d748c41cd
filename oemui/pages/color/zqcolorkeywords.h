// A feature's option keywords as the Colour page's handlers read them, freed with the object.
#pragma once

#include "common/zqcommon.h"
#include "common/zqstrings.h"

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
    bool Has(PCWSTR pszWord) const {
        for (int i = 0; i < count; ++i)
            if (list[i] && ZQEqualNoCase(list[i], pszWord)) return true;
        return false;
    }
    // A plain off/on choice: its first two options are "FALSE" and "TRUE".
    bool PlainChoice() const {
        return count >= 2 && list[0] && list[1] && ZQEqualNoCase(list[0], L"FALSE") && ZQEqualNoCase(list[1], L"TRUE");
    }
};

