// The stored printing shortcut: any value is read without passing its end, and a value the reader
// accepts, written again, reads back the same (numbers as their low 16 bits).
#include <cstdint>
#include <vector>

#include "formats/zqshortcut.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zqsc::RecordRead read;
    if (!zqsc::ReadValue(data, size, read) || read.features.size() > 0xFFFF) return 0;
    std::vector<zqsc::FeatureText> features;
    std::vector<std::vector<const zqwchar*>> keys(read.features.size()), names(read.features.size());
    for (size_t f = 0; f < read.features.size(); ++f) {
        const zqsc::FeatureRead& feature = read.features[f];
        if (feature.optionKeywords.size() > 0xFFFF) return 0;
        for (size_t p = 0; p < feature.optionKeywords.size(); ++p) {
            keys[f].push_back(feature.optionKeywords[p].c_str());
            names[f].push_back(feature.optionNames[p].c_str());
        }
        features.push_back({feature.keyword.c_str(), feature.kind, keys[f].size(), keys[f].data(), names[f].data()});
    }
    const zqsc::RecordText record = {read.name.c_str(), read.docType.c_str(), read.reserved, read.bitmapId,
                                     features.size(), features.data()};
    std::vector<uint8_t> again(zqsc::ValueLength(record));
    if (again.size() < zqsc::ContentLength(record)) __builtin_trap();
    zqsc::WriteValue(record, again.data());
    zqsc::RecordRead back;
    if (!zqsc::ReadValue(again.data(), again.size(), back)) __builtin_trap();
    if (back.name != read.name || back.docType != read.docType || back.reserved != (read.reserved & 0xFFFF) ||
        back.bitmapId != (read.bitmapId & 0xFFFF) || back.features.size() != read.features.size())
        __builtin_trap();
    for (size_t f = 0; f < read.features.size(); ++f) {
        const zqsc::FeatureRead &a = read.features[f], &b = back.features[f];
        if (a.keyword != b.keyword || b.kind != (a.kind & 0xFFFF) || a.optionKeywords != b.optionKeywords ||
            a.optionNames != b.optionNames)
            __builtin_trap();
    }
    return 0;
}
