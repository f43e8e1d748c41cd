// Little-endian numbers of the font files, read and written at a byte position.
#pragma once

#include <cstdint>

namespace zqfont {

inline uint16_t Get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint32_t Get32(const uint8_t* p) {
    return static_cast<uint32_t>(Get16(p)) | (static_cast<uint32_t>(Get16(p + 2)) << 16);
}
inline void Set16(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
inline void Set32(uint8_t* p, uint32_t v) {
    Set16(p, v & 0xFFFF);
    Set16(p + 2, v >> 16);
}

}  // namespace zqfont
