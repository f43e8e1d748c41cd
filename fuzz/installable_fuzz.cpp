// The driver's tray and media tables and the printer's media mask: any units as a keyword, any
// bytes as a mask. Parts stay ended inside their room, numbers inside their bounds, kind codes
// known or -1, and a media range in order.
#include <cstdint>
#include <vector>

#include "formats/zqinstallable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<zqwchar> keyword(size / sizeof(zqwchar) + 1, 0);  // the last unit ends the text
    for (size_t i = 0; i + 1 < size; i += 2) keyword[i / 2] = static_cast<zqwchar>(data[i] | data[i + 1] << 8);
    ZQKeywordPart parts[3];
    const int found = ZQSplitTableKeyword(keyword.data(), parts, 3);
    if (found < 0 || found > 3) __builtin_trap();
    for (int i = 0; i < found; ++i) {
        size_t length = 0;
        while (length < kZQKeywordPartChars && parts[i][length]) ++length;
        if (length == 0 || length >= kZQKeywordPartChars) __builtin_trap();
        double value = -1;
        if (ZQReadWholeNumber(parts[i], 4294967295.0, &value) && (value < 0 || value > 4294967295.0)) __builtin_trap();
        const int code = ZQTrayKindCode(parts[i]);
        if (code != -1 && (code < 1 || code > kZQLastTrayKindCode)) __builtin_trap();
    }
    int low = -1, high = -1;
    ZQMediaRange(keyword.data(), &low, &high);
    if (low < 0 || low > high || high > kZQLastMediaNumber) __builtin_trap();
    if (ZQMediaMask(data, size) && size > sizeof(uint32_t)) __builtin_trap();
    return 0;
}
