#include "formats/devmodetags.h"

#include <cstring>

namespace zqtag {
namespace {

const uint8_t kSignature[16] = {'Z', 'Q', 'U', 'I', '-', 'D', 'M', '-', 'T', 'A', 'G', '-', 'R', 'E', 'C', '1'};
const uint8_t kMarkerA[16] = {0xbf, 0x62, 0x96, 0xca, 0xb9, 0xc6, 0x41, 0x26,
                              0xaf, 0x4f, 0x0a, 0x89, 0xd8, 0x31, 0x8f, 0x65};
const uint8_t kMarkerB[16] = {0xe6, 0x1c, 0x1d, 0xc7, 0xe3, 0xbe, 0x4e, 0x49,
                              0xb6, 0xbc, 0x70, 0xb9, 0xae, 0x0c, 0x88, 0x7b};

bool IsRecordAt(const uint8_t* p) {
    return std::memcmp(p, kSignature, 16) == 0 && std::memcmp(p + 16, kMarkerA, 16) == 0 &&
           std::memcmp(p + 48, kMarkerB, 16) == 0;
}

}  // namespace

void WriteEmptyRecord(uint8_t* rec) {
    std::memcpy(rec, kSignature, 16);
    std::memcpy(rec + 16, kMarkerA, 16);
    std::memset(rec + kValueOffset, 0, kValueSize);
    std::memcpy(rec + 48, kMarkerB, 16);
}

long FindRecord(const uint8_t* bytes, size_t size, const uint8_t* wantValue) {
    if (!bytes || size < kRecordSize) return -1;
    for (size_t off = 0; off + kRecordSize <= size; ++off) {
        const uint8_t* p = bytes + off;
        if (p[0] != kSignature[0] || !IsRecordAt(p)) continue;
        if (wantValue && std::memcmp(p + kValueOffset, wantValue, kValueSize) != 0) continue;
        return static_cast<long>(off);
    }
    return -1;
}

}  // namespace zqtag
