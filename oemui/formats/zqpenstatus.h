// The device status text the printer's status monitor keeps ("ZQSTSSTR"): fields "key:value"
// separated by ";", of which "VSTATUS" or "S" carries the status, a fixed-position hexadecimal
// layout (versions 0 to 4) with a header and up to eight pens (ink or toner cartridges).
// The text is the printer's, not ours: every reader stays inside the bytes it is given.
// Standard C++ only.
#pragma once

#include <cstddef>
#include <cstdint>

// One pen as the status monitor packs it into a word.
struct ZQPen {
    int32_t iTop;      // bits 31-30 (a 16-bit word: bits 15-12)
    int32_t iKind;     // bits 29-24: what the cartridge is (inks, toners); 0 for a 16-bit word
    int32_t iField3;   // bits 23-19
    int32_t iField4;   // bits 18-16 (16-bit: 11-9)
    int32_t iField5;   // bits 15-14 (16-bit: 8-7)
    int32_t iField6;   // bit 13
    int32_t iField7;   // bits 12-8
    int32_t iLevel;    // bits 7-0 (16-bit: 6-0)
};

// The decoded status value: 79 signed 32-bit fields, zero where the layout has nothing.
struct PenStatus {
    int32_t iVersion;
    int32_t aiHeader[12];  // header digits 1-5, the character 6 (its own code, signed), digits 7-12
    int32_t iPairA;        // 11 means the monitor does not report its pens
    int32_t iPenCount;     // digit B (versions 0 to 2) or the pens counted (versions 3 and 4)
    ZQPen aPens[8];
};
static_assert(sizeof(PenStatus) == 79 * sizeof(int32_t), "PenStatus is 79 fields");

inline constexpr size_t kZQStatusTextBytes = 512;

// Hexadecimal digit at a position of the value: 0-15, any other character (or a position at or
// past the end) 0.
int ZQStatusHexDigit(const char* pszValue, size_t cchValue, size_t pos);
// Up to eight digits from the position, stopping early at the end of the value.
uint32_t ZQStatusWord(const char* pszValue, size_t cchValue, size_t pos);

// Walks the fields of a zero-terminated text of at most cbText bytes, cutting it at each ";" it
// passes, and answers the start of the last status field's value (null when there is none).
char* ZQFindStatusValue(char* pszText, size_t cbText);

// Decodes a status value of the given length into *pStatus (zeroed first). False for an empty
// value or a version above 4.
bool ZQDecodeStatus(const char* pszValue, size_t cchValue, PenStatus* pStatus);
