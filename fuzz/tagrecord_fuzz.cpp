// The tag record found by scanning any bytes: a devmode handed over by another program. The scan
// stays inside the bytes, and a record it finds really is one.
#include <cstdint>
#include <cstring>
#include <vector>

#include "formats/devmodetags.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> bytes(data, data + size);
    const long any = zqtag::FindRecord(bytes.data(), bytes.size(), nullptr);
    if (any >= 0) {
        if (static_cast<size_t>(any) + zqtag::kRecordSize > size) __builtin_trap();
        // The value the record holds finds the same record (or an earlier one with that value).
        uint8_t value[zqtag::kValueSize];
        std::memcpy(value, bytes.data() + any + zqtag::kValueOffset, sizeof value);
        const long same = zqtag::FindRecord(bytes.data(), bytes.size(), value);
        if (same < 0 || same > any) __builtin_trap();
        // Emptied in place, it is still found as a record.
        zqtag::WriteEmptyRecord(bytes.data() + any);
        if (zqtag::FindRecord(bytes.data(), bytes.size(), nullptr) < 0) __builtin_trap();
    }
    return 0;
}
