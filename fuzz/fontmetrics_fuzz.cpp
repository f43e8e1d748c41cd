// Printer font metrics files a user points the font installer at: .PFM (one font) and .PCM (a
// cartridge of several) of any bytes. Reading stays inside the bytes; a font read as valid converts
// into the core driver's font-metrics data and gets its face name in both command languages.
#include <cstdint>
#include <string>
#include <vector>

#include "formats/zqfontdata.h"
#include "formats/zqfontmetrics.h"

namespace {

// What the installer does with a font it read: its face name in both command languages, and the
// core driver's font-metrics data built from it.
void Convert(const zqfont::Pfm& pfm, const zqfont::AnsiTable& ansi) {
    for (uint32_t language : {1u, 2u}) {
        std::string face;
        if (zqfont::FaceNameFromPfm(pfm, language, &face))
            zqfont::VDecorateFaceName(&face, pfm.selection);
        const zqfont::text16 name(face.begin(), face.end());
        const std::vector<uint8_t> ufm = zqfont::BuildUfm(pfm, language, name, ansi);
        if (ufm.size() % 8 != 0) __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    zqfont::AnsiTable ansi;
    for (int i = 0; i < 256; ++i) ansi[i] = static_cast<zqwchar>(i);
    zqfont::Pfm pfm;
    if (zqfont::ReadPfm(bytes.data(), bytes.size(), &pfm)) Convert(pfm, ansi);
    // A cartridge's fonts convert as the installer converts each of them.
    zqfont::Pcm pcm;
    if (zqfont::ReadPcm(bytes.data(), bytes.size(), &pcm))
        for (const zqfont::Pfm& font : pcm.fonts) Convert(font, ansi);
    return 0;
}
