// A stored printing shortcut of the large-format shortcuts page: one REG_BINARY value named by the
// shortcut under "ZQPresetRoot\CustomShortcutPoolData" (printer data, or a restricted user's own
// key). Fields follow each other without padding: name and document type in the byte stream's
// string form, then the feature count, a reserved number and the row's bitmap id in its 16-bit
// number form (four bytes, only the low 16 bits kept), then per feature its keyword, kind, pair
// count and the pairs' option keyword and option name. The value is longer than its content:
// its length comes from a formula over the counts and the rest is zero.
// Standard C++ only, so the host tool and the native fuzz target share the reader.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "formats/zqwchar.h"

namespace zqsc {

using text = std::basic_string<zqwchar>;

// Longest string a field holds (the page's buffers are 256 characters).
inline constexpr size_t kMaxChars = 255;
// Shortcuts a save allows at most, document types included.
inline constexpr int kMaxShortcuts = 25;
// The length formula: the head, then per feature and per pair.
inline constexpr size_t kHeadLength = 1036;
inline constexpr size_t kFeatureLength = 520;
inline constexpr size_t kPairLength = 1024;

// One feature to write. A pair member that is null is written as an empty string, so that every
// pair keeps its two strings and the reader stays in step.
struct FeatureText {
    const zqwchar* keyword;
    uint32_t kind;
    size_t pairCount;
    const zqwchar* const* optionKeywords;
    const zqwchar* const* optionNames;
};

struct RecordText {
    const zqwchar* name;
    const zqwchar* docType;
    uint32_t reserved;
    uint32_t bitmapId;
    size_t featureCount;
    const FeatureText* features;
};

// The formula: 1,036 + per feature 520 + 1,024 per pair.
size_t FormulaLength(const RecordText& record);
// The bytes the fields take.
size_t ContentLength(const RecordText& record);
// The value's length: the formula, or the content where 255-character strings outgrow it.
size_t ValueLength(const RecordText& record);
// Writes the fields into out, which holds ValueLength bytes and is zero-filled by the caller.
// Strings are cut to 255 characters; numbers keep their low 16 bits.
void WriteValue(const RecordText& record, uint8_t* out);

struct FeatureRead {
    text keyword;
    uint32_t kind = 0;
    std::vector<text> optionKeywords;
    std::vector<text> optionNames;
};

struct RecordRead {
    text name;
    text docType;
    uint32_t reserved = 0;
    uint32_t bitmapId = 0;
    std::vector<FeatureRead> features;
};

// Reads a stored value. Never passes its end: a field that runs past it, a string without its
// terminator or longer than 255 characters refuses the whole value (false, out unspecified).
bool ReadValue(const uint8_t* data, size_t size, RecordRead& out);

}  // namespace zqsc
