// The driver's tables of installable trays and the printer's media numbers: option keywords made
// of parts separated by "-" ("Tray3-500-LOWER_CASSETTE", "13-26") and the bytes of the printer's
// media mask. Standard C++ only.
#pragma once

#include <cstddef>
#include <cstdint>

#include "formats/zqwchar.h"

inline constexpr size_t kZQKeywordPartChars = 256;
using ZQKeywordPart = zqwchar[kZQKeywordPartChars];

// The parts of a zero-ended keyword; a run of "-" counts as one separator. Each part is cut to 255
// units and ended by a zero; parts beyond maxParts are ignored. The number of parts found.
int ZQSplitTableKeyword(const zqwchar* pszKeyword, ZQKeywordPart* pParts, int maxParts);
// A part read as a decimal number (blanks and a sign first, a fraction cut off) held to 0..dMax;
// false when the part does not start with digits.
bool ZQReadWholeNumber(const zqwchar* pszPart, double dMax, double* pdValue);
// The printer input a kind of tray stands for ("MP" 1 .. "TRAY_26" 12), without regard to case;
// -1 for a kind the table does not know.
inline constexpr int kZQLastTrayKindCode = 12;
int ZQTrayKindCode(const zqwchar* pszKind);

// The media numbers of a range keyword "low-high": a missing or unreadable part keeps 13 or 26,
// bounds above the mask's 32 numbers are held to 32, and swapped bounds are put in order.
inline constexpr int kZQLastMediaNumber = 32;
inline constexpr int kZQDefaultLowMedia = 13;
inline constexpr int kZQDefaultHighMedia = 26;
void ZQMediaRange(const zqwchar* pszKeyword, int* piLow, int* piHigh);
// The media mask of up to 4 bytes, the first the most significant (bit n - 1 for number n);
// 0, no mask, for a longer value.
uint32_t ZQMediaMask(const uint8_t* pData, size_t cbData);
