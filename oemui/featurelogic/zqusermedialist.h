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
// The media option a user's medium prints on: the placeholder named by its category's number; -1
// when the item has none.
int ZQUserMediumOption(const OPTITEM* pMediaItem, const ZQUserMedium& medium);
// The entry of the user's medium the settings print on: the one the tool last recorded as chosen
// ("CustomMediaSelected", an entry of pMedia, nCount read by ZQReadUserMedia) while the media item's
// selected option is the one that prints it; -1 otherwise. The record is the user's, shared by every
// printer and document: settings on another medium do not print on it.
int ZQChosenUserMedium(const OPTITEM* pMediaItem, const ZQUserMedium* pMedia, int nCount);
// The name of that medium into pszName (kZQUserMediumChars); false without one.
bool ZQChosenUserMediumName(const OPTITEM* pMediaItem, PWSTR pszName);
