// Texts in a printer's device answers: any bytes the device sends. Classification and the copy stay
// inside the answer and the caller's buffer, and the copy always ends in the buffer.
#include <cstdint>
#include <vector>

#include "formats/zqdevicetext.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    const DeviceTextKind kind = ClassifyDeviceText(bytes.data(), bytes.size());
    for (size_t cch : {size_t{1}, size_t{8}, size_t{256}}) {
        std::vector<char16_t> out(cch, 0x5A5A);
        CopyDeviceText(kind, bytes.data(), bytes.size(), out.data(), out.size());
        bool terminated = false;
        for (char16_t c : out) terminated = terminated || c == 0;
        if (!terminated && kind != DeviceTextKind::None && kind != DeviceTextKind::CodePage) __builtin_trap();
    }
    return 0;
}
