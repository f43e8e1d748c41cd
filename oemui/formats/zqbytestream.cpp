#include "formats/zqbytestream.h"


namespace zqbs {
namespace {

// Room for n more bytes before end; clears the cursor when there is none.
bool Take(const uint8_t** cursor, const uint8_t* end, size_t n) {
    if (!cursor || !*cursor) return false;
    if (!end || *cursor > end || static_cast<size_t>(end - *cursor) < n) {
        *cursor = nullptr;
        return false;
    }
    return true;
}

size_t Units(const wchar* text) {
    size_t n = 0;
    if (text)
        while (n < kMaxStringChars && text[n]) ++n;
    return n;
}

}  // namespace

void WriteByte(uint8_t** cursor, uint8_t value) {
    if (!cursor || !*cursor) return;
    *(*cursor)++ = value;
}

void WriteWord(uint8_t** cursor, uint16_t value) {
    if (!cursor || !*cursor) return;
    uint8_t* p = *cursor;
    p[0] = static_cast<uint8_t>(value & 0xFF);
    p[1] = static_cast<uint8_t>(value >> 8);
    p[2] = 0;
    p[3] = 0;
    *cursor += 4;
}

void WriteDword(uint8_t** cursor, uint32_t value) {
    if (!cursor || !*cursor) return;
    uint8_t* p = *cursor;
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(value >> (8 * i));
    *cursor += 4;
}

size_t StringSize(const wchar* text) { return Units(text) * 2 + 3; }

void WriteString(uint8_t** cursor, const wchar* text) {
    if (!cursor || !*cursor) return;
    const size_t n = Units(text);
    uint8_t* p = *cursor;
    for (size_t i = 0; i < n; ++i) {
        const uint16_t u = static_cast<uint16_t>(text[i]);
        *p++ = static_cast<uint8_t>(u & 0xFF);
        *p++ = static_cast<uint8_t>(u >> 8);
    }
    *p++ = 0;
    *p++ = 0;
    *p++ = 0;
    *cursor = p;
}

bool ReadByte(const uint8_t** cursor, const uint8_t* end, uint8_t* value) {
    if (value) *value = 0;
    if (!Take(cursor, end, 1)) return false;
    if (value) *value = **cursor;
    ++*cursor;
    return true;
}

uint32_t ReadDword(const uint8_t** cursor, const uint8_t* end) {
    if (!Take(cursor, end, 4)) return 0;
    const uint8_t* p = *cursor;
    *cursor += 4;
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

void ReadString(const uint8_t** cursor, const uint8_t* end, wchar* out, size_t capacity) {
    if (out && capacity) out[0] = 0;
    if (!Take(cursor, end, 0)) return;
    const uint8_t* start = *cursor;
    const size_t avail = static_cast<size_t>(end - start);
    // Find the zero unit, counting whole units only: a byte scan would stop inside a character
    // whose low byte is zero (U+4E00) and lose the rest of the record.
    size_t units = 0;
    bool terminated = false;
    while ((units + 1) * 2 <= avail) {
        if (start[units * 2] == 0 && start[units * 2 + 1] == 0) {
            terminated = true;
            break;
        }
        ++units;
    }
    if (!terminated || units * 2 + 3 > avail) {
        *cursor = nullptr;
        return;
    }
    if (out && capacity) {
        const size_t copy = units < capacity - 1 ? units : capacity - 1;
        for (size_t i = 0; i < copy; ++i)
            out[i] = static_cast<wchar>(start[i * 2] | static_cast<uint16_t>(start[i * 2 + 1]) << 8);
        out[copy] = 0;
    }
    *cursor = start + units * 2 + 3;
}

}  // namespace zqbs
