#include "zqfontgen.h"

namespace zqfontgen {

namespace {

size_t Grow(std::vector<uint8_t>& bytes, size_t n) {
    const size_t at = bytes.size();
    bytes.resize(at + n, 0);
    return at;
}

size_t AppendText(std::vector<uint8_t>& bytes, const std::string& text) {
    const size_t at = Grow(bytes, text.size() + 1);
    for (size_t i = 0; i < text.size(); ++i) bytes[at + i] = static_cast<uint8_t>(text[i]);
    return at;
}

}  // namespace

void Put16(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    bytes[at] = static_cast<uint8_t>(value);
    bytes[at + 1] = static_cast<uint8_t>(value >> 8);
}

void Put32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    Put16(bytes, at, value & 0xFFFF);
    Put16(bytes, at + 2, value >> 16);
}

std::vector<uint8_t> BuildPfm(const PfmRecipe& s, PfmLayout* layout) {
    PfmLayout l;
    std::vector<uint8_t> b(117, 0);
    Put16(b, 0, 0x0100);
    const std::string copyright = "Made-up font for the sample printer";
    for (size_t i = 0; i < copyright.size(); ++i) b[6 + i] = static_cast<uint8_t>(copyright[i]);
    Put16(b, 66, 0x0080);  // a device font
    Put16(b, 68, 12);
    Put16(b, 70, s.vertRes);
    Put16(b, 72, s.horizRes);
    Put16(b, 74, s.ascent);
    Put16(b, 76, s.internalLeading);
    Put16(b, 78, s.externalLeading);
    b[80] = s.italic;
    Put16(b, 83, s.weight);
    Put16(b, 86, s.pixWidth);
    Put16(b, 88, s.pixHeight);
    b[90] = static_cast<uint8_t>((s.variablePitch ? 1 : 0) | 0x10);
    Put16(b, 91, s.avgWidth);
    Put16(b, 93, s.maxWidth);
    b[95] = s.firstChar;
    b[96] = s.lastChar;
    b[97] = s.defaultChar;
    b[98] = s.breakChar;

    if (s.variablePitch && s.lastChar >= s.firstChar) {
        const size_t count = static_cast<size_t>(s.lastChar - s.firstChar) + 2;
        l.widths = Grow(b, count * 2);
        for (size_t i = 0; i < count; ++i) Put16(b, l.widths + 2 * i, 10 + (s.firstChar + i) % 7);
    }
    l.extension = Grow(b, 30);
    Put16(b, l.extension, 30);
    if (s.extTextMetrics) {
        l.extTextMetrics = Grow(b, 52);
        Put16(b, l.extTextMetrics, 52);
        Put16(b, l.extTextMetrics + 2, 240);
        Put16(b, l.extTextMetrics + 14, 30);  // cap height
        Put16(b, l.extTextMetrics + 16, 20);  // x height
        Put16(b, l.extTextMetrics + 22, static_cast<uint16_t>(s.slant));
        Put16(b, l.extTextMetrics + 32, static_cast<uint16_t>(s.underlineOffset));
        Put16(b, l.extTextMetrics + 34, 2);
        Put16(b, l.extTextMetrics + 48, static_cast<uint32_t>(s.kernPairs.size()));
        Put32(b, l.extension + 2, static_cast<uint32_t>(l.extTextMetrics));
    }
    l.driverInfo = Grow(b, 12);
    Put16(b, l.driverInfo, 12);
    Put32(b, l.extension + 22, static_cast<uint32_t>(l.driverInfo));
    l.selection = AppendText(b, s.selection);
    Put32(b, l.driverInfo + 8, static_cast<uint32_t>(l.selection));
    l.face = AppendText(b, s.face);
    Put32(b, 105, static_cast<uint32_t>(l.face));
    if (s.kernTable) {
        l.kern = Grow(b, 4 * (s.kernPairs.size() + 1));
        for (size_t i = 0; i < s.kernPairs.size(); ++i) {
            b[l.kern + 4 * i] = s.kernPairs[i].first;
            b[l.kern + 4 * i + 1] = s.kernPairs[i].second;
            Put16(b, l.kern + 4 * i + 2, static_cast<uint16_t>(s.kernPairs[i].amount));
        }
        Put32(b, l.extension + 14, static_cast<uint32_t>(l.kern));
    }
    Put32(b, 2, static_cast<uint32_t>(b.size()));
    if (layout) *layout = l;
    return b;
}

std::vector<uint8_t> BuildPcm(const std::string& title, const std::vector<std::vector<uint8_t>>& pfms) {
    std::vector<uint8_t> b(16, 0);
    Put16(b, 0, 0x0CAC);
    Put32(b, 8, static_cast<uint32_t>(AppendText(b, title)));
    Put32(b, 12, static_cast<uint32_t>(b.size()));
    for (const auto& pfm : pfms) b.insert(b.end(), pfm.begin(), pfm.end());
    Put32(b, 4, static_cast<uint32_t>(b.size()));
    return b;
}

}  // namespace zqfontgen
