// Records of the byte stream as printer data and the registry hold them (other versions, other
// users): tray records (name of at most 22 characters, id), media records (63, id), per-user texts.
// The readers never pass the record's end, and a string they hand out always ends in its buffer.
#include <cstdint>
#include <vector>

#include "formats/zqbytestream.h"

namespace {

void ReadRecords(const std::vector<uint8_t>& bytes, size_t nameChars) {
    const uint8_t* cursor = bytes.data();
    const uint8_t* end = bytes.data() + bytes.size();
    std::vector<zqwchar> name(nameChars + 1, 0x5A5A);
    while (cursor && cursor < end) {
        zqbs::ReadString(&cursor, end, name.data(), name.size());
        bool terminated = false;
        for (zqwchar c : name) terminated = terminated || c == 0;
        if (!terminated) __builtin_trap();
        zqbs::ReadDword(&cursor, end);
        if (cursor && cursor > end) __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    ReadRecords(bytes, 22);
    ReadRecords(bytes, 63);
    ReadRecords(bytes, 0);
    // A text written and read back is the same text, cut to what a record holds.
    std::vector<zqwchar> text;
    for (size_t i = 0; i + 1 < size && text.size() < 600; i += 2) {
        const zqwchar c = static_cast<zqwchar>(data[i] | (data[i + 1] << 8));
        if (!c) break;
        text.push_back(c);
    }
    text.push_back(0);
    std::vector<uint8_t> record(zqbs::StringSize(text.data()));
    uint8_t* w = record.data();
    zqbs::WriteString(&w, text.data());
    if (w != record.data() + record.size()) __builtin_trap();
    const uint8_t* r = record.data();
    std::vector<zqwchar> back(zqbs::kMaxStringChars + 1, 0);
    zqbs::ReadString(&r, record.data() + record.size(), back.data(), back.size());
    for (size_t i = 0; i < back.size() && i < zqbs::kMaxStringChars; ++i) {
        if (back[i] != text[i]) __builtin_trap();
        if (!text[i]) break;
    }
    return 0;
}
