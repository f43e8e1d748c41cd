// Bounded string routines and the comparisons the plug-in uses. The bounded routines always leave
// a terminated text and answer S_OK, E_INVALIDARG (0x80070057) for a bad size or argument, or
// 0x8007007A when the text was cut.
#pragma once

#include <windows.h>

inline constexpr HRESULT ZQ_E_TEXT_CUT = HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);  // 0x8007007A

HRESULT ZQCopyText(PWSTR pszDest, size_t cchDest, PCWSTR pszSrc);
HRESULT ZQCopyTextN(PWSTR pszDest, size_t cchDest, PCWSTR pszSrc, size_t cchSrcMax);
HRESULT ZQAppendText(PWSTR pszDest, size_t cchDest, PCWSTR pszSrc);
HRESULT ZQFormatText(PWSTR pszDest, size_t cchDest, PCWSTR pszFormat, ...);

// Length of a text within cchMax characters (cchMax when no terminator is found there).
size_t ZQTextLength(PCWSTR psz, size_t cchMax);

// A zero-filled local-heap copy of at most cchMax characters (whole text when cchMax is 0); the
// caller frees it with LocalFree. Null when out of memory or the text is null.
PWSTR ZQDupText(PCWSTR psz, size_t cchMax = 0);

// Case-insensitive comparisons that do not depend on the user's locale (keywords are ASCII;
// display names compare by the system's upper-case table).
bool ZQEqualNoCase(PCWSTR a, PCWSTR b);
bool ZQEqualNoCaseA(const char* a, const char* b);
// The text begins with / contains the part, compared the same way; false for null texts.
bool ZQStartsWithNoCase(PCWSTR psz, PCWSTR pszPrefix);
bool ZQContainsNoCase(PCWSTR psz, PCWSTR pszPart);
// The one check of every name a module or file is loaded by from a folder (the driver's): a file
// name that stays in the folder it is joined to. No path separator, drive, stream or "..", no
// character a file name cannot hold (controls, wildcards, quotes, pipes, angle brackets). It
// judges the text the loader is given: a name that goes through a conversion is checked after it.
bool ZQIsPlainFileName(PCWSTR pszName);
// The same for a path below the folder: each of its parts between separators is a plain file
// name (so no part is empty, a drive, or a way up).
bool ZQIsPathInFolder(PCWSTR pszPath);
