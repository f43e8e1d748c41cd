#include "formats/zqindexedname.h"

namespace zqname {

namespace {

constexpr long long kMaxIndex = 0x7FFFFFFF;
// A quick set's name is read as its first 255 characters.
constexpr size_t kColonNameChars = 255;

}  // namespace

std::basic_string<zqwchar> IndexedName(const zqwchar* prefix, long long index) {
    std::basic_string<zqwchar> name;
    for (size_t n = 0; prefix && prefix[n]; ++n) name.push_back(prefix[n]);
    unsigned long long value =
        index < 0 ? 0ULL - static_cast<unsigned long long>(index) : static_cast<unsigned long long>(index);
    zqwchar digits[24];
    size_t count = 0;
    do {
        digits[count++] = static_cast<zqwchar>('0' + value % 10);
        value /= 10;
    } while (value);
    if (index < 0) name.push_back('-');
    while (count) name.push_back(digits[--count]);
    return name;
}

IndexRead ReadIndex(const zqwchar* text, size_t cchMax) {
    IndexRead read;
    if (!text) return read;
    size_t i = 0;
    bool negative = false, hasSign = false;
    if (i < cchMax && (text[i] == '-' || text[i] == '+')) {
        hasSign = true;
        negative = text[i++] == '-';
    }
    const size_t first = i;
    long long value = 0;
    for (; i < cchMax && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > kMaxIndex) return read;
    }
    read.index = negative ? -value : value;
    read.exact = !hasSign && i > first && i < cchMax && !text[i];
    return read;
}

int IndexAfterColon(const zqwchar* name) {
    if (!name) return 0;
    size_t i = 0;
    while (i < kColonNameChars && name[i] && name[i] != ':') ++i;
    if (i >= kColonNameChars || name[i] != ':') return 0;
    return static_cast<int>(ReadIndex(name + i + 1, kColonNameChars - (i + 1)).index);
}

}  // namespace zqname
