// Dates stored as text in the printer's data: any UTF-16 units. The reader stays inside the text it
// is given and answers only dates that can be.
#include <cstdint>
#include <cstring>
#include <vector>

#include "formats/zqstoreddate.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<char16_t> text(size / 2);
    if (!text.empty()) std::memcpy(text.data(), data, text.size() * 2);
    ZQStoredDate date = {};
    if (!ZQParseStoredDate(text.data(), text.size(), &date)) return 0;
    if (date.wYear < 1601 || date.wMonth < 1 || date.wMonth > 12 || date.wDay < 1 || date.wDay > 31 ||
        date.wHour > 23 || date.wMinute > 59 || date.wSecond > 59)
        __builtin_trap();
    return 0;
}
