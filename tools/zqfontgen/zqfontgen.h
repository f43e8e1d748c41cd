// Printer font metrics (.PFM) and cartridge metrics (.PCM) files of made-up fonts, for the sample
// printer's soft font and for the tests, which also break them on purpose. Standard C++ only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zqfontgen {

struct Kern {
    uint8_t first;
    uint8_t second;
    int16_t amount;
};

struct PfmRecipe {
    std::string face = "ZQ Sample Serif";
    std::string selection = "\x1B(s1p12v0s0b4148T";
    uint8_t firstChar = 32, lastChar = 126, defaultChar = 0, breakChar = 0;
    bool variablePitch = true;
    uint16_t weight = 400;
    uint8_t italic = 0;
    uint16_t horizRes = 300, vertRes = 300;
    uint16_t ascent = 40, pixHeight = 50, internalLeading = 8, externalLeading = 2;
    uint16_t avgWidth = 24, maxWidth = 48, pixWidth = 0;
    bool extTextMetrics = true;
    int16_t slant = 0;
    int16_t underlineOffset = 5;
    bool kernTable = false;
    std::vector<Kern> kernPairs;
};

// Where the parts of a built PFM lie, for tests that break one.
struct PfmLayout {
    size_t widths = 0, extension = 0, extTextMetrics = 0, driverInfo = 0, selection = 0, face = 0, kern = 0;
};

// Header (117 bytes), widths of a variable-pitch font (width of character c: 10 + c % 7), the
// extension table, extended text metrics, driver information, selection command, face name and
// kerning pairs ending with a zero pair; dfSize is the whole size.
std::vector<uint8_t> BuildPfm(const PfmRecipe& recipe, PfmLayout* layout = nullptr);

// A cartridge: magic, total size, title, and the PFMs one after the other.
std::vector<uint8_t> BuildPcm(const std::string& title, const std::vector<std::vector<uint8_t>>& pfms);

void Put16(std::vector<uint8_t>& bytes, size_t at, uint32_t value);
void Put32(std::vector<uint8_t>& bytes, size_t at, uint32_t value);

}  // namespace zqfontgen
