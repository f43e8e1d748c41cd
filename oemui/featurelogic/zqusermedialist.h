// The user's own media as the maker's media tool records them for the user (one key each under its
// media list), read for the pages that show them: the Features page's media tree and the shortcut
// panels, which name the medium the settings print on.
#pragma once

#include <windows.h>
#include <winddiui.h>

#include "formats/zqusermedium.h"

// The list's entries a page reads at most.
inline constexpr int kZQMaxUserMedia = 40;

// The media in the list's order, at most nMax, those named like one of the media item's options left
// out (a medium that cannot be opened keeps its entry, without a name); their count.
int ZQReadUserMedia(const OPTITEM* pMediaItem, ZQUserMedium* pMedia, int nMax);
// The option is one of the driver's placeholder media, which stand for the user's own (a name of one
// or two characters).
bool ZQIsPlaceholderMedium(PCWSTR pszOptionName);
// The name of the user's medium the tool last recorded as chosen ("CustomMediaSelected", an entry
// of ZQReadUserMedia's list) into pszName (kZQUserMediumChars); false without one.
bool ZQChosenUserMediumName(const OPTITEM* pMediaItem, PWSTR pszName);
