#include "pages/parts/zqdoctypematch.h"

#include <shlwapi.h>

#include "common/zqcommon.h"
#include "common/zqkeywords.h"
#include "pages/zqpageitems.h"

using namespace zqpage;

namespace zqdoctype {

namespace {

bool Is(PCWSTR pszText, PCWSTR pszWord) { return pszText && ZQEqualNoCase(pszText, pszWord); }

// The rows that name a type, by the keywords of either kind of driver.
bool Naming(PCWSTR pszKeyword) {
    for (PCWSTR word : {zqkw::kPaperSize, zqkw::kPageSize, zqkw::kPrintQuality, zqkw::kPrintQualityGroup,
                        zqkw::kMediaType})
        if (Is(pszKeyword, word)) return true;
    return false;
}

}  // namespace

bool Differs(const PageContext* pContext, POEMCUIPPARAM pParam, const Row& row) {
    const ZQUIDevmode* work = WorkOf(pContext);
    if (!work || !row.pszKeyword) return false;
    const PCWSTR option = row.pszOption ? row.pszOption : L"";
    if (Is(row.pszKeyword, zqkw::kDuplexItem)) {
        const bool oneSided = work->wDuplex == 1, manual = work->dwManualDuplex == 1;
        if (Is(option, L"NONE")) return manual || !oneSided;
        if (Is(option, L"Automatically")) return oneSided;
        // A binding of its own names no type.
        return Is(option, L"Manually") && !manual;
    }
    if (Is(row.pszKeyword, L"Orientation") || Is(row.pszKeyword, L"ZQOrientation")) {
        const bool portrait = StrStrIW(option, L"Portrait") != nullptr;
        return work->wOrientation != (portrait ? 1 : 2);
    }
    if (!Naming(row.pszKeyword)) return false;
    WCHAR current[256];
    if (ReadOption(pParam, row.pszKeyword, current)) return !ZQEqualNoCase(current, option);
    // A driver without a quality of its own holds the row's choice in its quality group, and one
    // whose paper has another keyword in its form: both by the name the row shows.
    const POPTITEM other = Is(row.pszKeyword, zqkw::kPrintQuality) ? FeatureItem(pParam, zqkw::kPrintQualityGroup)
                           : Is(row.pszKeyword, zqkw::kPaperSize) ? PubItem(pParam, DMPUB_FORMNAME)
                                                                   : nullptr;
    const PCWSTR shown = other ? OptionName(other, static_cast<int>(other->Sel)) : nullptr;
    return shown && !Is(shown, row.pszOptionName);
}

bool ChoiceLost(const PageContext* pContext, POEMCUIPPARAM pParam, const Row& row) {
    const ZQUIDevmode* work = WorkOf(pContext);
    if (!work || !row.pszKeyword) return false;
    const PCWSTR option = row.pszOption ? row.pszOption : L"";
    if (Is(row.pszKeyword, L"Orientation") || Is(row.pszKeyword, L"ZQOrientation"))
        return work->wOrientation != (StrStrIW(option, L"Portrait") ? 1 : 2);
    if (!Is(row.pszKeyword, zqkw::kPaperSize) && !Is(row.pszKeyword, zqkw::kPageSize)) return false;
    const POPTITEM form = PubItem(pParam, DMPUB_FORMNAME);
    const PCWSTR shown = form ? OptionName(form, static_cast<int>(form->Sel)) : nullptr;
    CZQLocalPtr<WCHAR> name;
    if (!shown || CZQCommon::DWOptionKeywordToName(pParam, row.pszKeyword, option, name.Put()) != ZQOPT_OK || !name.Get())
        return false;
    return !ZQEqualNoCase(name.Get(), shown);
}

}  // namespace zqdoctype
