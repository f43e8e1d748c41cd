#include "zqlanguage.h"

namespace zqlang {
namespace {
PFN_UiLanguage g_pfnSource = nullptr;
}

LANGID UiLanguage() { return g_pfnSource ? g_pfnSource() : GetUserDefaultUILanguage(); }

PFN_UiLanguage SetUiLanguageSource(PFN_UiLanguage pfn) {
    PFN_UiLanguage previous = g_pfnSource;
    g_pfnSource = pfn;
    return previous;
}

}  // namespace zqlang
