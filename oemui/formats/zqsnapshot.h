// What the driver side reads back of a conversion run: the run GUID a private devmode block
// carries in its tag record, and the text of a snapshot value as the registry hands out its bytes.
// Both come from other programs (a devmode, registry values anyone may write). Standard C++ only.
#pragma once

#include <cstddef>
#include <cstdint>

#include "formats/zqwchar.h"

namespace zqsnap {

inline constexpr size_t kGuidBytes = 16;

// The run GUID of a private devmode block: the value of its tag record, when the block carries our
// signature, its header's size is not negative and the value is not all zero. The record is
// looked for within the least of the header's size, our block's size and the bytes available.
bool RunGuidOfBlock(const uint8_t* block, size_t available, uint8_t guid[kGuidBytes]);

// A text value's bytes as a text: the characters up to its first zero or its end (a trailing odd
// byte is no character), at most cchOut - 1 of them, always terminated. False when it was cut.
bool ValueText(const uint8_t* data, size_t cb, zqwchar* out, size_t cchOut);

}  // namespace zqsnap
