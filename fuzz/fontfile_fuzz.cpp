// An existing font file of the printer (another installer, an older version, a damaged disk): any
// bytes. Reading it either refuses it whole or hands out fonts whose records lie inside the file.
#include <cstdint>
#include <vector>

#include "formats/zqfontfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    std::vector<zqfont::UffFont> fonts;
    if (!zqfont::ReadUff(bytes.data(), bytes.size(), &fonts)) return 0;
    const uint8_t* begin = bytes.data();
    const uint8_t* end = begin + bytes.size();
    for (const zqfont::UffFont& font : fonts)
        for (const zqfont::UffRecord* record : {&font.fontData, &font.glyphData, &font.varData})
            if (record->data && (record->data < begin || record->size > static_cast<size_t>(end - record->data)))
                __builtin_trap();
    return 0;
}
