#include "common/zqlanguage.h"

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

}  // namespace zqlang
