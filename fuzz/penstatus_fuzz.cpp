// The status monitor's text: any bytes, with or without terminators and separators. The walk stays
// inside the text and the decoder inside the value; every field it fills comes from its layout.
#include <cstdint>
#include <cstring>
#include <vector>

#include "formats/zqpenstatus.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Exactly the bytes copied, no room behind them: a read past the end is found by the sanitiser.
    const size_t cb = size < kZQStatusTextBytes ? size : kZQStatusTextBytes;
    std::vector<char> text(data, data + cb);
    if (text.empty()) return 0;
    text.back() = '\0';
    const char* value = ZQFindStatusValue(text.data(), text.size());
    if (!value) return 0;
    if (value < text.data() || value >= text.data() + text.size()) __builtin_trap();
    PenStatus status;
    if (!ZQDecodeStatus(value, strnlen(value, static_cast<size_t>(text.data() + text.size() - value)), &status))
        return 0;
    if (status.iVersion > 4 || status.iPenCount < 0 || status.iPenCount > 15) __builtin_trap();
    return 0;
}
