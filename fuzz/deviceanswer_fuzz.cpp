// A printer's answers as the answer store takes them: any bytes the device sends, under either
// state of the store. Classification and decoding stay inside the answer, a decoded text never
// holds a zero, and a text that decodes is never longer than the bytes it came from.
#include <cstdint>
#include <string>
#include <vector>

#include "formats/zqdeviceanswer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    const uint8_t* p = bytes.empty() ? nullptr : bytes.data();
    zqanswer::KindOfType(size ? bytes[0] : 0);
    zqanswer::IsPlaceholderValue(p, bytes.size());
    zqanswer::IsPrintableAnswer(p, bytes.size());
    for (bool storedText : {false, true}) {
        for (bool keepBytes : {false, true}) {
            const zqanswer::TextForm form = zqanswer::ClassifyTextAnswer(p, bytes.size(), storedText, keepBytes);
            std::basic_string<zqwchar> text;
            if (!zqanswer::DecodeTextAnswer(form, p, bytes.size(), text)) continue;
            if (form == zqanswer::TextForm::Binary || text.size() > bytes.size()) __builtin_trap();
            for (zqwchar c : text)
                if (!c) __builtin_trap();
        }
    }
    return 0;
}
