// Option names both Printing Shortcuts pages show without the "&" mnemonics the driver's and the
// status module's texts carry.
#pragma once

#include <windows.h>

// A zero-filled local copy of the text without its mnemonics, which the caller frees: an "&" before a
// space is a character of the name and stays, a bracketed "(&X)" goes whole, any other "&" goes.
// FALSE, and no copy, for a missing or empty text or without memory.
BOOL BStripMnemonics(PCWSTR pszText, PWSTR* ppszCopy);
