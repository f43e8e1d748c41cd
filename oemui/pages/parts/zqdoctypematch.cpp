#include "pages/parts/zqdoctypematch.h"

#include <cwchar>

#include "common/zqcommon.h"
#include "common/zqkeywords.h"
#include "pages/zqpageitems.h"

using namespace zqpage;

namespace zqdoctype {

namespace {

bool Is(PCWSTR pszText, PCWSTR pszWord) { return pszText && pszWord && ZQEqualNoCase(pszText, pszWord); }

bool Exactly(PCWSTR pszText, PCWSTR pszWord) { return pszText && pszWord && wcscmp(pszText, pszWord) == 0; }

// The rows that name a type, by their keywords as written.
bool Naming(PCWSTR pszKeyword, PCWSTR pszOrientation) {
    for (PCWSTR word : {zqkw::kPaperSize, zqkw::kPrintQuality, zqkw::kMediaType, pszOrientation})
        if (Exactly(pszKeyword, word)) return true;
    return false;
}

}  // namespace

bool Differs(const PageContext* pContext, POEMCUIPPARAM pParam, const Row& row, PCWSTR pszOrientation) {
    const ZQUIDevmode* work = WorkOf(pContext);
    if (!work || !row.pszKeyword) return false;
    const PCWSTR option = row.pszOption ? row.pszOption : L"";
    if (Exactly(row.pszKeyword, zqkw::kDuplexItem)) {
        const bool oneSided = work->wDuplex == 1, manual = work->dwManualDuplex == 1;
        if (Is(option, L"NONE")) return manual || !oneSided;
        if (Is(option, L"Automatically")) return oneSided;
        // A binding of its own names no type.
        return Is(option, L"Manually") && !manual;
    }
    if (!Naming(row.pszKeyword, pszOrientation)) return false;
    // A feature the driver does not have holds no option the row could contradict.
    WCHAR current[256];
    return ReadOption(pParam, row.pszKeyword, current) && !ZQEqualNoCase(current, option);
}

bool ChoiceLost(const PageContext* pContext, POEMCUIPPARAM pParam, const Row& row, const Words& words) {
    const ZQUIDevmode* work = WorkOf(pContext);
    if (!work || !row.pszKeyword) return false;
    const PCWSTR option = row.pszOption ? row.pszOption : L"";
    if (Is(row.pszKeyword, words.pszOrientation))
        return work->wOrientation == (Is(option, words.pszPortrait) ? 2 : 1);
    if (!Is(row.pszKeyword, words.pszPaper)) return false;
    const POPTITEM form = PubItem(pParam, DMPUB_FORMNAME);
    const PCWSTR shown = form ? OptionName(form, static_cast<int>(form->Sel)) : nullptr;
    CZQLocalPtr<WCHAR> name;
    if (!shown || CZQCommon::DWOptionKeywordToName(pParam, row.pszKeyword, option, name.Put()) != ZQOPT_OK || !name.Get())
        return false;
    return !ZQEqualNoCase(name.Get(), shown);
}

}  // namespace zqdoctype
