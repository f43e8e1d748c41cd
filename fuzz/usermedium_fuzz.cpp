// One user medium's four stored values as any writer may leave them: the input splits into four
// values, each with a type byte (its high bits: absent, one byte more) and a length byte. Every field read ends within its room, a
// missing or unreadable value leaves its field, and the codes stay the tool's or as they were.
#include <cstdint>
#include <cstring>

#include "formats/zqusermedium.h"

namespace {

bool Ends(const zqwchar (&field)[kZQUserMediumChars]) {
    for (size_t i = 0; i < kZQUserMediumChars; ++i)
        if (!field[i]) return true;
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ZQStoredValue values[4];
    size_t at = 0;
    for (ZQStoredValue& value : values) {
        if (at + 2 > size) break;
        value.bPresent = (data[at] & 0x80) == 0;
        value.dwType = data[at] & 0x3F;
        size_t length = data[at + 1] * 2u + ((data[at] & 0x40) ? 1u : 0u);
        at += 2;
        if (length > size - at) length = size - at;
        value.pData = data + at;
        value.cbData = length;
        at += length;
    }
    ZQUserMedium medium;
    std::memset(&medium, 0xAB, sizeof medium);
    medium.dwCategory = medium.dwQuality = 77;
    ZQUserMedium before;
    std::memcpy(&before, &medium, sizeof medium);

    const bool named = ZQReadMediumName(values[0], medium);
    ZQReadMediumDetails(values[1], values[2], values[3], medium);
    if (named != (values[0].bPresent && values[0].dwType == kZQStoredString && values[0].cbData % 2 == 0 &&
                  values[0].cbData <= kZQUserMediumValueBytes))
        __builtin_trap();
    if (named && (!Ends(medium.szName) || (medium.szName[0] && !medium.szName[1]))) __builtin_trap();
    if (!named && std::memcmp(medium.szName, before.szName, sizeof medium.szName) != 0) __builtin_trap();
    const zqwchar(*fields[])[kZQUserMediumChars] = {&medium.szProfile, &medium.szCategory, &medium.szQuality};
    const zqwchar(*kept[])[kZQUserMediumChars] = {&before.szProfile, &before.szCategory, &before.szQuality};
    for (int i = 0; i < 3; ++i)
        if (!Ends(*fields[i]) && std::memcmp(*fields[i], *kept[i], sizeof *fields[i]) != 0) __builtin_trap();
    if (medium.dwCategory != 77 && medium.dwCategory > 9) __builtin_trap();
    if (medium.dwQuality != 77 && medium.dwQuality != 1 && medium.dwQuality != 2 && medium.dwQuality != 5)
        __builtin_trap();
    return 0;
}
