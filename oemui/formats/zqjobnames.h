// The names and the PIN under which the printer files a stored job, as its control panel can show
// them: which characters stay for the job-name encoding, the plain-ASCII test, the automatic names
// and the four-digit PIN. Texts are zero-terminated UTF-16, at most kZQNameChars units with the
// terminator wherever a routine writes. Standard C++ only: the rules run on whatever text a user
// types or a document's devmode holds.
#pragma once

#include <cstddef>
#include <cstdint>

#include "formats/zqwchar.h"

// Room of a name buffer (the terminator included), and the characters a name may use.
inline constexpr size_t kZQNameChars = 257;
inline constexpr size_t kZQNameShown = 16;
inline constexpr size_t kZQPinDigits = 4;

// The rules of the encoding keyword ("ZQPJLEncoding"): "UTF8" and "8bitEncoding" exactly, every
// other keyword (none too) the 7-bit rules.
enum class ZQNameEncoding { kUtf8, k8Bit, kAscii };
ZQNameEncoding ZQNameEncodingOf(const zqwchar* pszKeyword);

// Every UTF-16 unit the panel cannot show becomes a "~" (a surrogate pair two); a text that then
// is "~" only is emptied.
// True when something was replaced.
bool ZQSanitizeName(zqwchar* pszText, ZQNameEncoding encoding);

// Not empty, and every character in 32..126 other than the double quote.
bool ZQIsPlainAscii(const zqwchar* pszText);
// An empty or not plain-ASCII text becomes the fall-back (cut to fit the cchText units with the
// terminator); true when it was replaced.
bool ZQReplaceIfNotPlainAscii(zqwchar* pszText, size_t cchText, const zqwchar* pszFallBack);

// A loaded automatic job name is kept only when it has three characters or more and not only "~"
// between its first and its last.
bool ZQAutomaticJobNameUsable(const zqwchar* pszName);
// The Windows user name (already in capitals) as the automatic user name: cut to kZQNameShown
// characters and sanitised for the encoding; may end up empty.
void ZQMakeAutomaticUserName(zqwchar* pszName, ZQNameEncoding encoding);

// The PIN edit while the user types: a text with anything but digits becomes "0000". True when
// it was replaced (the buffer holds at least kZQPinDigits + 1 units).
bool ZQPinTyped(zqwchar* pszText);
// The edit's text read as an unsigned number: its leading digits (0 without any), saturating.
uint32_t ZQPinValue(const zqwchar* pszText);
// A stored PIN as the edit shows it: four digits; a number no four digits give shows as "0000".
void ZQFormatPin(uint32_t dwPin, zqwchar (&szText)[kZQPinDigits + 1]);
// The PIN passes unless it is required and shorter than four characters.
bool ZQPinAccepted(const zqwchar* pszText, bool bRequired);
