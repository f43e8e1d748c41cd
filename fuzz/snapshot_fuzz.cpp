// What the driver side reads back of a conversion run: a private devmode block of any bytes (its
// header's size and signature included) for the run GUID of its tag record, and a snapshot value's
// bytes as a text. Reads stay inside the bytes, a GUID found is really in them and not all zero,
// and a text always ends inside its buffer.
#include <cstdint>
#include <cstring>
#include <vector>

#include "formats/devmodetags.h"
#include "formats/zqsnapshot.h"
#include "formats/zquidevmode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> bytes(data, data + size);
    for (int ours = 0; ours < 2; ++ours) {
        // Once as it came, once with our signature, so the scan itself is reached.
        if (ours && bytes.size() >= 8) std::memcpy(bytes.data() + 4, &zqdm::kSignature, 4);
        uint8_t guid[zqsnap::kGuidBytes];
        if (zqsnap::RunGuidOfBlock(bytes.data(), bytes.size(), guid)) {
            bool zero = true, inside = false;
            for (uint8_t b : guid) zero = zero && b == 0;
            for (size_t at = 0; !inside && at + sizeof guid <= bytes.size(); ++at)
                inside = std::memcmp(bytes.data() + at, guid, sizeof guid) == 0;
            if (zero || !inside) __builtin_trap();
        }
    }
    for (size_t cch : {size_t{1}, size_t{8}, size_t{256}}) {
        std::vector<zqwchar> out(cch, 0x5A5A);
        zqsnap::ValueText(bytes.data(), bytes.size(), out.data(), out.size());
        bool terminated = false;
        for (zqwchar c : out) terminated = terminated || c == 0;
        if (!terminated) __builtin_trap();
    }
    return 0;
}
