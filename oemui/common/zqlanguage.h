// The user-interface language and the user's locale language, each through one seam: texts,
// templates and fonts follow them, and tests set them to walk the language rules.
#pragma once

#include <windows.h>

namespace zqlang {

typedef LANGID (*PFN_UiLanguage)();

// The language of the user interface (GetUserDefaultUILanguage unless a source is set).
LANGID UiLanguage();

// Sets where the language comes from (null: the system again); returns the previous source.
PFN_UiLanguage SetUiLanguageSource(PFN_UiLanguage pfn);

// The language of the user's locale (GetUserDefaultLangID unless a source is set): watermark
// sizes and face names follow it.
LANGID UserLanguage();
PFN_UiLanguage SetUserLanguageSource(PFN_UiLanguage pfn);

// Right-to-left user interface: the primary UI language is Arabic or Hebrew.
bool IsRightToLeft();

// The user's locale as language-COUNTRY ("en-US"; "en-" when the country cannot be read), a new
// local-heap string the caller frees; FALSE (and null) when the language cannot be read or memory
// runs out.
BOOL BGetUserLocaleName(PWSTR* ppszName);

}  // namespace zqlang
