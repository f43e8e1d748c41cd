// The private devmode as the plug-in takes it from a core driver or a stored devmode: any bytes of
// any length. Validation, the section-by-section merge (ours: copied and made safe; foreign or another
// version: defaults) and a second merge of the result, which must change nothing.
#include <cstdint>
#include <cstring>
#include <vector>

#include "formats/zquidevmode.h"

namespace {

const zqwchar kNone[] = {'[', 'n', 'o', 'n', 'e', ']', 0};
const zqwchar kFont[] = {'A', 'r', 'i', 'a', 'l', 0};
const zqwchar kUser[] = {'U', 'S', 'E', 'R', 0};

void Merge(ZQUIDevmode& out, const void* in, size_t size, const zqdm::DefaultInputs& defaults) {
    const ZQUIDevmode* current = zqdm::IsCurrentBlock(in, size) ? static_cast<const ZQUIDevmode*>(in) : nullptr;
    for (int s = 0; s < zqdm::kSectionCount; ++s) {
        const auto section = static_cast<zqdm::Section>(s);
        if (current)
            zqdm::CopySection(section, out, *current);
        else
            zqdm::FillSectionDefaults(section, out, defaults);
    }
}

bool Terminated(const zqwchar* text, size_t cap) {
    for (size_t i = 0; i < cap; ++i)
        if (!text[i]) return true;
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The bytes exactly as long as they came, so that any read past them is caught.
    std::vector<uint8_t> in(data, data + size);
    zqdm::DefaultInputs defaults;
    defaults.hasPublic = size > 0 && (data[0] & 1);
    defaults.noneText = kNone;
    defaults.fontName = kFont;
    defaults.userName = kUser;

    ZQUIDevmode out{};
    zqdm::FillAllDefaults(out, defaults);
    Merge(out, in.data(), in.size(), defaults);
    // Whatever came in, the result is a current block whose texts end inside their fields.
    if (!zqdm::IsCurrentBlock(&out, sizeof out)) __builtin_trap();
    if (!Terminated(out.szWmName, 256) || !Terminated(out.szWmText, 256) || !Terminated(out.szWmFont, 256) ||
        !Terminated(out.szHelpFile, 256))
        __builtin_trap();

    // A merged block merges into itself unchanged.
    ZQUIDevmode again = out;
    Merge(again, &out, sizeof out, defaults);
    if (std::memcmp(&again, &out, sizeof out) != 0) __builtin_trap();
    return 0;
}
