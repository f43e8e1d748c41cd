// The byte stream of the stored records (watermarks, quick sets, shortcuts, tray records): numbers
// little-endian without alignment, a 16-bit value in a 4-byte slot, and each string as its UTF-16LE
// code units followed by three zero bytes. Records come from printer data and the registry, so the
// readers never pass the record's end: a read that does not fit reads nothing and clears the
// cursor, every later read from a cleared cursor reads nothing, and the caller checks the cursor
// once after the record. Depends only on the standard library so it can be fuzzed natively.
#pragma once

#include <cstddef>
#include <cstdint>

#include "formats/zqwchar.h"

namespace zqbs {

using wchar = zqwchar;

// Longest string a record holds (characters, without the terminator).
inline constexpr size_t kMaxStringChars = 255;

void WriteByte(uint8_t** cursor, uint8_t value);
// The value's two bytes, then two zero bytes: the slot is four bytes wide.
void WriteWord(uint8_t** cursor, uint16_t value);
void WriteDword(uint8_t** cursor, uint32_t value);
// At most kMaxStringChars characters, then three zero bytes.
void WriteString(uint8_t** cursor, const wchar* text);
// Bytes WriteString takes for the text.
size_t StringSize(const wchar* text);

bool ReadByte(const uint8_t** cursor, const uint8_t* end, uint8_t* value);
uint32_t ReadDword(const uint8_t** cursor, const uint8_t* end);
// Whole code units up to the first zero unit; copies at most capacity - 1 of them and terminates,
// and moves the cursor to three bytes past the string's last unit whatever was copied. A string
// without its terminator inside the record reads as empty and clears the cursor.
void ReadString(const uint8_t** cursor, const uint8_t* end, wchar* out, size_t capacity);

}  // namespace zqbs
