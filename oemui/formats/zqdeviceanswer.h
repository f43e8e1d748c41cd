// A printer's answers to its device objects as the answer store keeps them: which value types are
// kept, how the bytes of a text answer become the stored text, and which stored values are still
// the placeholders written before the printer was asked. The bytes are the device's own: nothing
// here reads past the size it is given. Standard C++ only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "formats/zqwchar.h"

namespace zqanswer {

// Numbers the store keeps in place of an answer that has not come yet.
inline constexpr uint32_t kNumberPlaceholder = 6400;

// What a value type of the device servers stands for: 0, 4 and 5 text or octets, 1, 2 and 8
// numbers of four bytes; the others are not kept.
enum class AnswerKind { Text, Number, Ignored };
AnswerKind KindOfType(uint8_t type);

// How a text answer is kept.
enum class TextForm {
    Empty,    // no bytes: the empty text
    Bytes,    // 01 15 or 01 0B, then printable bytes: one character a byte
    Utf16,    // 02 4E, then UTF-16 code units as they come
    Utf8,     // FD E8, then UTF-8
    Widened,  // printable bytes, or any bytes where the store holds a text: one character a byte
    Binary,   // the bytes as they come
};

// Every byte is 0x20 to 0x7E, except that the last may be zero; true for no bytes.
bool IsPrintableAnswer(const uint8_t* p, size_t n);

// The form of a text answer. bStoredText: the store holds a text under the answer's name (its
// placeholder); bKeepBytes: the name keeps printable bytes as bytes ("MEDIA-NAMES-AVAILABLE").
TextForm ClassifyTextAnswer(const uint8_t* p, size_t n, bool bStoredText, bool bKeepBytes);

// The text of an answer of that form, up to its first zero character. False for the forms
// without a text, and for UTF-8 that is not well formed (overlong forms, surrogates, code points
// beyond U+10FFFF, cut sequences).
bool DecodeTextAnswer(TextForm form, const uint8_t* p, size_t n, std::basic_string<zqwchar>& text);

// A stored value is a placeholder: its first four bytes, little-endian, are 6400 or 32 (the text
// " " read as a number), or it is the text " ".
bool IsPlaceholderValue(const uint8_t* p, size_t n);

}  // namespace zqanswer
