// Device-object bytes as text, with the system's code page and UTF-8 conversions.
#pragma once

#include <windows.h>

// The bytes as text in pszText (cchText characters, zero-filled first, always terminated). FALSE
// when they make no text, when a one-byte or UTF-16 text was cut, or when a UTF-8 or code-page text
// gave no character.
BOOL BDeviceBytesToText(const BYTE* pb, DWORD cb, PWSTR pszText, int cchText);
