// Registry texts of the port monitors' configuration and a 1394 device's INQUIRY data: any bytes.
// A text length stays inside the data and ends at a zero unit; an address is four decimal bytes.
#include <cstdint>
#include <cstring>
#include <vector>

#include "formats/zqportaddress.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    const uint32_t type = data[0] & 3;
    const size_t cchMax = data[1];
    const size_t given = static_cast<size_t>(data[2]) | static_cast<size_t>(data[3]) << 8;
    std::vector<uint8_t> bytes(data + 4, data + size);  // exactly the value's bytes
    const long cch = ZQRegTextLength(type, bytes.data(), bytes.size(), cchMax);
    if (cch >= 0) {
        const size_t at = static_cast<size_t>(cch) * sizeof(zqwchar);
        if (static_cast<size_t>(cch) >= cchMax || at + sizeof(zqwchar) > bytes.size() || bytes[at] || bytes[at + 1])
            __builtin_trap();
    }
    zqwchar text[16];
    if (ZQInquiryAddress(bytes.data(), bytes.size(), given, text)) {
        int dots = 0;
        size_t n = 0;
        for (; n < 16 && text[n]; ++n) {
            if (text[n] == u'.') ++dots;
            else if (text[n] < u'0' || text[n] > u'9') __builtin_trap();
        }
        if (n >= 16 || dots != 3 || given < kZQInquiryAddressBytes) __builtin_trap();
    }
    return 0;
}
