#include "common/zqlanguage.h"

#include "common/zqstrings.h"

namespace zqlang {
namespace {
PFN_UiLanguage g_pfnSource = nullptr;
PFN_UiLanguage g_pfnUserSource = nullptr;
}  // namespace

LANGID UiLanguage() { return g_pfnSource ? g_pfnSource() : GetUserDefaultUILanguage(); }

PFN_UiLanguage SetUiLanguageSource(PFN_UiLanguage pfn) {
    PFN_UiLanguage previous = g_pfnSource;
    g_pfnSource = pfn;
    return previous;
}

LANGID UserLanguage() { return g_pfnUserSource ? g_pfnUserSource() : GetUserDefaultLangID(); }

PFN_UiLanguage SetUserLanguageSource(PFN_UiLanguage pfn) {
    PFN_UiLanguage previous = g_pfnUserSource;
    g_pfnUserSource = pfn;
    return previous;
}

bool IsRightToLeft() {
    const WORD primary = PRIMARYLANGID(UiLanguage());
    return primary == LANG_ARABIC || primary == LANG_HEBREW;
}

BOOL BGetUserLocaleName(PWSTR* ppszName) {
    if (!ppszName) return FALSE;
    *ppszName = nullptr;
    WCHAR language[9] = {}, country[9] = {}, name[20] = {};
    // A country that cannot be read leaves the language and the hyphen.
    if (!GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SISO3166CTRYNAME, country, 9)) country[0] = 0;
    if (!GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SISO639LANGNAME, language, 9) ||
        ZQFormatText(name, 20, L"%s-%s", language, country) != S_OK)
        return FALSE;
    *ppszName = ZQDupText(name);
    return *ppszName != nullptr;
}

}  // namespace zqlang
