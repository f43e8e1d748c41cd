// Texts in the answers of a printer's device objects. The first two bytes name the character set:
// 01 15 or 01 0B one byte per character, 02 4E UTF-16, FD E8 UTF-8; bytes without such a prefix
// that are all printable (the last may be a zero) are a text in the system's code page.
// Standard C++ only: the code-page and UTF-8 conversions belong to the caller.
#pragma once

#include <cstddef>
#include <cstdint>

enum class DeviceTextKind { None, Bytes, Utf16, Utf8, CodePage };

// Fewer than three bytes, or bytes of none of the forms above, make no text.
DeviceTextKind ClassifyDeviceText(const uint8_t* p, size_t n);

// The characters after the prefix of a Bytes or Utf16 text, at most cchOut - 1 of them, into out,
// which is zero-filled first (a trailing odd byte of UTF-16 is no character). True when every
// character fitted; false for the other kinds or no room at all.
bool CopyDeviceText(DeviceTextKind kind, const uint8_t* p, size_t n, char16_t* out, size_t cchOut);
