// A stored watermark of the pool as another version or another user left it: any bytes of any
// size. The reader never reads past the value, a text it hands out always ends in its field, and
// whatever it reads, written again, reads back the same.
#include <cstdint>
#include <cstring>
#include <vector>

#include "formats/zqwatermarkrecord.h"

namespace {

bool Terminated(const zqwchar* text) {
    for (size_t i = 0; i < zqwm::kTextChars; ++i)
        if (!text[i]) return true;
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A copy of exactly the value's size, so the sanitiser sees any read past its end.
    std::vector<uint8_t> value(data, data + size);
    ZQWatermarkRecord record;
    std::memset(&record, 0x5A, sizeof record);
    if (!zqwm::Read(value.data(), value.size(), &record)) return 0;
    if (!Terminated(record.szName) || !Terminated(record.szText) || !Terminated(record.szFont)) __builtin_trap();

    std::vector<uint8_t> stored(zqwm::kRecordBytes);
    zqwm::Write(record, stored.data());
    ZQWatermarkRecord back;
    if (!zqwm::Read(stored.data(), stored.size(), &back)) __builtin_trap();
    // What was read holds at most 255 units a text and small numbers only where the stored slots
    // are wide enough: written again, the texts and the slots' widths read back equal.
    if (std::memcmp(back.szName, record.szName, sizeof back.szName) != 0 ||
        std::memcmp(back.szText, record.szText, sizeof back.szText) != 0 ||
        std::memcmp(back.szFont, record.szFont, sizeof back.szFont) != 0)
        __builtin_trap();
    if (back.dwAngle != (record.dwAngle & 0xFFFF) || back.dwSize != (record.dwSize & 0xFFFF) ||
        back.dwColor != (record.dwColor & 0xFFFF) || back.dwAngleMode != record.dwAngleMode ||
        back.dwShade != record.dwShade || back.dwStyle != record.dwStyle)
        __builtin_trap();
    // And a record written from what was read back is the same bytes again.
    std::vector<uint8_t> again(zqwm::kRecordBytes);
    zqwm::Write(back, again.data());
    if (again != stored) __builtin_trap();
    return 0;
}
