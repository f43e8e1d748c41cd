// One stored watermark of the pool, as printer data and the restricted user's key keep it: a value
// of 1,568 bytes written with the byte stream (zqbytestream.h) from its start (name, text and font
// each as UTF-16LE units and three zero bytes; the angle and the size in 16-bit slots of four
// bytes; the angle mode, the shade and the style in one byte each; the colour in a 16-bit slot
// between two words 0x00C0C0C0), zeros behind. The values come from other versions and other users,
// so the reader never passes the value's end and takes a value that ends early, or whose strings
// run past it, for no watermark.
#pragma once

#include <cstddef>
#include <cstdint>

#include "formats/zqwchar.h"

// The stored fields of a watermark, in the stored order.
struct ZQWatermarkRecord {
    zqwchar szName[256];
    zqwchar szText[256];
    zqwchar szFont[256];
    uint32_t dwAngle;      // degrees
    uint32_t dwSize;       // points
    uint32_t dwAngleMode;  // 0 diagonal, 1 horizontal, 2 the angle above
    uint32_t dwShade;      // 0..8
    uint32_t dwStyle;      // 0..3
    uint32_t dwColor;      // colour index
};

namespace zqwm {

inline constexpr size_t kRecordBytes = 1568;
inline constexpr size_t kTextChars = 256;

// The record into kRecordBytes bytes: texts cut to 255 characters, the angle, size and colour to
// their low 16 bits, the angle mode, shade and style to their low byte.
void Write(const ZQWatermarkRecord& record, uint8_t* pOut);
// The fields of a stored value of `size` bytes (any size); false, and the record left alone, when
// the value ends before its last field.
bool Read(const uint8_t* pData, size_t size, ZQWatermarkRecord* pRecord);

}  // namespace zqwm
