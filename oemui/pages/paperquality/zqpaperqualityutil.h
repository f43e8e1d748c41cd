// What the Paper/Quality page's source files share besides the pages' readers: the settings'
// fields of a page kind, its cover-in-use flag, and the covers' own features.
#pragma once

#include "pages/zqpageitems.h"

namespace zqpq {

using namespace zqpage;

// The settings' source (or feeder option index) and media fields of a page kind.
struct KindFields {
    uint32_t* source;
    uint32_t* media;
};
inline KindFields FieldsOf(ZQUIDevmode& dm, int iKind) {
    switch (iKind) {
        case 0: return {&dm.dwFirstPageSource, &dm.dwFirstPageMedia};
        case 1: return {&dm.dwOtherPagesSource, &dm.dwOtherPagesMedia};
        case 2: return {&dm.dwLastPageSource, &dm.dwLastPageMedia};
        case 3: return {&dm.dwBackCoverSource, &dm.dwBackCoverMedia};
        case 4: return {&dm.dwFrontCoverSource, &dm.dwFrontCoverMedia};
        case 5: return {&dm.dwBackCoverFeederIndex, &dm.dwBackCoverFeederMedia};
        default: return {&dm.dwFrontCoverFeederIndex, &dm.dwFrontCoverFeederMedia};
    }
}

// The cover-in-use flag of a cover kind (the logic keeps front from feeder, front, back, back from
// feeder); null for the other kinds.
inline DWORD* CoverFlagOf(CZQUILogic& logic, int iKind) {
    switch (iKind) {
        case 3: return &logic.m_adwCoverFlags[2];
        case 4: return &logic.m_adwCoverFlags[1];
        case 5: return &logic.m_adwCoverFlags[3];
        case 6: return &logic.m_adwCoverFlags[0];
        default: return nullptr;
    }
}

// The page-kind list's chosen entry without its "<< " mark, and that kind's keyword among the
// options of "ZQCovers" (256 characters each); false without a chosen entry or keyword.
inline bool ChosenCover(POEMCUIPPARAM pParam, HWND hKinds, PWSTR pszText, PWSTR pszKeyword) {
    pszKeyword[0] = 0;
    if (!SelectedText(hKinds, pszText, true)) return false;
    CZQUILogic::BStripMarkPrefix(pszText);
    CZQLocalPtr<WCHAR> keyword;
    if (CZQCommon::DWOptionNameToKeyword(pParam, L"ZQCovers", pszText, keyword.Put()) != ZQOPT_OK) return false;
    return ZQCopyText(pszKeyword, 256, keyword.Get()) == S_OK;
}

// The cover kind's own feature of a setting ("<cover keyword>_MediaType") takes the option named
// like the list's entry, or its first option when it has none of that name.
inline void SelectKindOption(POEMCUIPPARAM pParam, PCWSTR pszCover, PCWSTR pszSetting, HWND hList) {
    WCHAR feature[256], text[256];
    if (ZQFormatText(feature, 256, L"%ls_%ls", pszCover, pszSetting) != S_OK) return;
    CZQLocalPtr<WCHAR> keyword;
    if (SelectedText(hList, text) &&
        CZQCommon::DWOptionNameToKeyword(pParam, feature, text, keyword.Put()) == ZQOPT_OK)
        CZQCommon::DWSelectOptionByKeyword(pParam, feature, keyword.Get(), OEMCUIP_DOCPROP);
    else
        CZQCommon::DWSelectOptionByIndex(pParam, feature, 0, OEMCUIP_DOCPROP);
}

}  // namespace zqpq
