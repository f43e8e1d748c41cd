// How a shortcut list row too wide for its room is cut into two lines: at the last space that
// fits, else inside the word.
#pragma once

#include <windows.h>

// For a text of cchText characters whose extent passes the room: true and the index of the last
// character of the first line (the second line is what follows it). False, and the text stays on
// one line, for a text that fits, an empty text, no room, or a font whose characters have no width.
bool ZQSplitShortcutRow(PCWSTR pszText, int cchText, int cxExtent, int cxRoom, int* piBreak);
