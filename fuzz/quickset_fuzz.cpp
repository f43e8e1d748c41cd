// The settings block of a stored quick set and the devmode it is taken from or compared with: any
// bytes (a devmode, then a block, each padded with zeros). Capturing reads and writes only inside
// both records, and a devmode compared with what was just captured from it never differs.
#include <cstdint>
#include <cstring>

#include "formats/zqquickset.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ZQUIDevmode dm;
    QuickSetSettings stored;
    std::memset(&dm, 0, sizeof dm);
    std::memset(&stored, 0, sizeof stored);
    const size_t cbDevmode = size < sizeof dm ? size : sizeof dm;
    std::memcpy(&dm, data, cbDevmode);
    if (size > cbDevmode) {
        const size_t rest = size - cbDevmode;
        std::memcpy(&stored, data + cbDevmode, rest < sizeof stored ? rest : sizeof stored);
    }
    const bool mediaItem = size > 0 && (data[0] & 1);
    zqqs::PaperQualityDiffers(dm, stored, mediaItem);

    QuickSetSettings captured;
    zqqs::Capture(dm, captured);
    if (zqqs::PaperQualityDiffers(dm, captured, mediaItem)) __builtin_trap();
    return 0;
}
