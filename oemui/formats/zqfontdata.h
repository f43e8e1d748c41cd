// A PFM converted to the universal driver's font metrics (UFM), the font data the core driver reads
// from the printer's font file. Depends only on the standard library.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "formats/zqwchar.h"
#include "formats/zqfontmetrics.h"

namespace zqfont {

using text16 = std::basic_string<zqwchar>;
// The UTF-16 character of every byte of the ANSI code page.
using AnsiTable = zqwchar[256];

inline constexpr uint32_t kUfmVersion = 0x00010000;
inline constexpr uint32_t kUfmCodePage = 1252;
inline constexpr size_t kUfmHeaderSize = 44;
inline constexpr size_t kDriverInfoSize = 48;
inline constexpr size_t kIfiMetricsSize = 184;  // the record without pointers, as the format stores it
inline constexpr size_t kIfiExtraSize = 24;
inline constexpr size_t kWidthTableSize = 16;

// Offsets of the UFM header's section fields.
enum : size_t {
    kUfmOffDriverInfo = 16,
    kUfmOffIfiMetrics = 20,
    kUfmOffExtTextMetrics = 24,
    kUfmOffWidthTable = 28,
    kUfmOffKernPairs = 32,
};

inline size_t AlignUp8(size_t n) { return (n + 7) & ~static_cast<size_t>(7); }

// The UFM data of the font under its display name (at most kFaceChars characters are used): header,
// driver information with the selection command of the language, IFIMETRICS with its extra block,
// face and family name, extended text metrics (when the PFM has them), width table and the kerning
// pairs sorted by second and then first character (when the PFM has a kerning table); each section
// starts at a multiple of 8 and the whole is a multiple of 8. Empty when the command holds nothing
// for the language: the font cannot be converted.
std::vector<uint8_t> BuildUfm(const Pfm& pfm, uint32_t language, const text16& name, const AnsiTable& ansi);

}  // namespace zqfont
