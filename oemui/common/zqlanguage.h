// The user-interface language, through one seam: texts, templates and fonts follow it, and tests
// set it to walk the language fall-backs.
#pragma once

#include <windows.h>

namespace zqlang {

typedef LANGID (*PFN_UiLanguage)();

// The language of the user interface (GetUserDefaultUILanguage unless a source is set).
LANGID UiLanguage();

// Sets where the language comes from (null: the system again); returns the previous source.
PFN_UiLanguage SetUiLanguageSource(PFN_UiLanguage pfn);

}  // namespace zqlang
