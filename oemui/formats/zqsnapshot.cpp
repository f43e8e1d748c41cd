#include "formats/zqsnapshot.h"

#include <cstring>

#include "formats/devmodetags.h"
#include "formats/zquidevmode.h"

namespace zqsnap {

bool RunGuidOfBlock(const uint8_t* block, size_t available, uint8_t guid[kGuidBytes]) {
    if (!block || !guid || available < 8) return false;
    int32_t headerSize = 0;
    uint32_t signature = 0;
    std::memcpy(&headerSize, block, sizeof headerSize);
    std::memcpy(&signature, block + 4, sizeof signature);
    if (headerSize < 0 || signature != zqdm::kSignature) return false;
    size_t size = static_cast<size_t>(headerSize);
    if (size > zqdm::kSize) size = zqdm::kSize;
    if (size > available) size = available;
    const long at = zqtag::FindRecord(block, size, nullptr);
    if (at < 0) return false;
    const uint8_t* value = block + at + zqtag::kValueOffset;
    bool empty = true;
    for (size_t i = 0; i < kGuidBytes; ++i) empty = empty && value[i] == 0;
    if (empty) return false;
    std::memcpy(guid, value, kGuidBytes);
    return true;
}

bool ValueText(const uint8_t* data, size_t cb, zqwchar* out, size_t cchOut) {
    if (!out || !cchOut) return false;
    const size_t chars = data ? cb / sizeof(zqwchar) : 0;
    size_t n = 0;
    bool cut = false;
    for (size_t i = 0; i < chars; ++i) {
        zqwchar c;
        std::memcpy(&c, data + i * sizeof c, sizeof c);
        if (c == 0) break;
        if (n + 1 >= cchOut) {
            cut = true;
            break;
        }
        out[n++] = c;
    }
    out[n] = 0;
    return !cut;
}

}  // namespace zqsnap
