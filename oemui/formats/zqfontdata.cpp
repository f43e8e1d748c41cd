#include "formats/zqfontdata.h"

#include <algorithm>
#include <cstring>

#include "formats/zqfontbytes.h"

namespace zqfont {

namespace {

// IFIMETRICS flags of a device font.
enum : uint32_t {
    kInfoTechBitmap = 0x00000002,
    kInfo1Bpp = 0x00000020,
    kInfoIntegerWidth = 0x00000800,
    kInfoConstantWidth = 0x00001000,
    kInfoRightHanded = 0x00080000,
    kInfoOpticallyFixedPitch = 0x00400000,
};
enum : uint16_t {
    kSelItalic = 0x0001,
    kSelUnderscore = 0x0002,
    kSelStrikeout = 0x0010,
    kSelBold = 0x0020,
    kSelRegular = 0x0040,
};
// UFM driver-information flags and font type as the installer writes them.
constexpr uint32_t kInfoFlags = 2;
constexpr uint32_t kInfoFlagNoPixWidth = 4;
constexpr uint16_t kInfoType = 1;

// Extended text metrics fields (16-bit, signed) by byte offset.
enum : size_t {
    kEtmCapHeight = 14,
    kEtmXHeight = 16,
    kEtmSlant = 22,
    kEtmSuperScript = 24,
    kEtmSubScript = 26,
    kEtmSuperScriptSize = 28,
    kEtmSubScriptSize = 30,
    kEtmUnderlineOffset = 32,
    kEtmUnderlineWidth = 34,
    kEtmStrikeOutOffset = 44,
    kEtmStrikeOutWidth = 46,
    kEtmKernPairs = 48,
};

class Writer {
public:
    explicit Writer(std::vector<uint8_t>* bytes) : m_b(*bytes) {}
    size_t Grow(size_t n) {
        const size_t at = m_b.size();
        m_b.resize(at + n, 0);
        return at;
    }
    void Align() { m_b.resize(AlignUp8(m_b.size()), 0); }
    void U8(size_t at, uint8_t v) { m_b[at] = v; }
    void U16(size_t at, uint32_t v) { Set16(&m_b[at], v); }
    void U32(size_t at, uint32_t v) { Set32(&m_b[at], v); }
    void I32(size_t at, int32_t v) { U32(at, static_cast<uint32_t>(v)); }
    void Bytes(size_t at, const void* p, size_t n) {
        if (n) std::memcpy(&m_b[at], p, n);
    }
    void Text(size_t at, const text16& s) {
        for (size_t i = 0; i < s.size(); ++i) U16(at + 2 * i, static_cast<uint16_t>(s[i]));
    }
    size_t Size() const { return m_b.size(); }

private:
    std::vector<uint8_t>& m_b;
};

int16_t Etm(const Pfm& pfm, size_t field) {
    return pfm.extTextMetrics ? static_cast<int16_t>(Get16(pfm.extTextMetrics + field)) : 0;
}

uint8_t CharAt(unsigned base, unsigned offset) {
    const unsigned c = base + offset;
    return static_cast<uint8_t>(c > 255 ? 255 : c);
}

void WriteDriverInfo(Writer& w, const Pfm& pfm, const std::string& command) {
    const size_t at = w.Grow(kDriverInfoSize + command.size() + 1);
    w.U32(at, static_cast<uint32_t>(kDriverInfoSize + command.size() + 1));
    w.U32(at + 4, kInfoFlags | (pfm.pixWidth == 0 ? kInfoFlagNoPixWidth : 0));
    w.U16(at + 8, kInfoType);
    w.U16(at + 12, pfm.horizRes);
    w.U16(at + 14, pfm.vertRes);
    // The selection command as count and offset; the deselection command stays empty.
    w.U32(at + 24, static_cast<uint32_t>(command.size()));
    w.U32(at + 28, static_cast<uint32_t>(kDriverInfoSize));
    w.Bytes(at + kDriverInfoSize, command.data(), command.size());
}

void WriteIfiMetrics(Writer& w, const Pfm& pfm, const text16& name, const AnsiTable& ansi, uint32_t kernPairs) {
    const size_t faceAt = kIfiMetricsSize + kIfiExtraSize;
    const size_t familyAt = faceAt + (name.size() + 1) * 2;
    const size_t size = familyAt + (name.size() + 1) * 2;
    const size_t at = w.Grow(size);
    const int32_t ascent = pfm.ascent;
    const int32_t descent = static_cast<int32_t>(pfm.pixHeight) - ascent;
    const int16_t slant = Etm(pfm, kEtmSlant);

    w.U32(at + 0, static_cast<uint32_t>(size));
    w.U32(at + 4, static_cast<uint32_t>(kIfiExtraSize));
    w.U32(at + 8, static_cast<uint32_t>(familyAt));
    w.U32(at + 12, static_cast<uint32_t>(faceAt));  // style
    w.U32(at + 16, static_cast<uint32_t>(faceAt));
    w.U32(at + 20, static_cast<uint32_t>(faceAt));  // unique name
    w.I32(at + 32, slant);                           // italic angle
    w.U8(at + 44, pfm.charSet);
    w.U8(at + 45, pfm.pitchAndFamily);
    w.U16(at + 46, pfm.weight);
    uint32_t info = kInfoTechBitmap | kInfo1Bpp | kInfoIntegerWidth | kInfoRightHanded;
    if (!pfm.variablePitch) info |= kInfoConstantWidth | kInfoOpticallyFixedPitch;
    w.U32(at + 48, info);
    uint16_t selection = 0;
    if (pfm.italic) selection |= kSelItalic;
    if (pfm.underline) selection |= kSelUnderscore;
    if (pfm.strikeOut) selection |= kSelStrikeout;
    if (pfm.weight >= 600) selection |= kSelBold;
    if (!(selection & (kSelItalic | kSelBold))) selection |= kSelRegular;
    w.U16(at + 52, selection);

    const auto fword = [&](size_t offset, int32_t v) { w.U16(at + offset, static_cast<uint16_t>(v)); };
    fword(56, static_cast<int32_t>(pfm.pixHeight) - pfm.internalLeading);  // units per em
    fword(58, 1);                                                           // lowest readable size
    fword(60, ascent);
    fword(62, descent);
    fword(64, ascent);
    fword(66, -descent);
    fword(68, pfm.externalLeading);
    fword(70, ascent);
    fword(72, -descent);
    fword(74, pfm.externalLeading);
    fword(76, pfm.avgWidth);
    fword(78, pfm.maxWidth);
    fword(80, Etm(pfm, kEtmCapHeight));
    fword(82, Etm(pfm, kEtmXHeight));
    fword(84, Etm(pfm, kEtmSubScriptSize));
    fword(86, Etm(pfm, kEtmSubScriptSize));
    fword(90, Etm(pfm, kEtmSubScript));
    fword(92, Etm(pfm, kEtmSuperScriptSize));
    fword(94, Etm(pfm, kEtmSuperScriptSize));
    fword(98, Etm(pfm, kEtmSuperScript));
    fword(100, pfm.extTextMetrics ? Etm(pfm, kEtmUnderlineWidth) : 1);
    fword(102, -Etm(pfm, kEtmUnderlineOffset));
    fword(104, Etm(pfm, kEtmStrikeOutWidth));
    fword(106, Etm(pfm, kEtmStrikeOutOffset));

    const uint8_t defaultChar = CharAt(pfm.firstChar, pfm.defaultChar);
    const uint8_t breakChar = CharAt(pfm.firstChar, pfm.breakChar);
    w.U8(at + 108, pfm.firstChar);
    w.U8(at + 109, pfm.lastChar);
    w.U8(at + 110, defaultChar);
    w.U8(at + 111, breakChar);
    w.U16(at + 112, static_cast<uint16_t>(ansi[pfm.firstChar]));
    w.U16(at + 114, static_cast<uint16_t>(ansi[pfm.lastChar]));
    w.U16(at + 116, static_cast<uint16_t>(ansi[defaultChar]));
    w.U16(at + 118, static_cast<uint16_t>(ansi[breakChar]));
    w.I32(at + 120, 1);  // baseline (1, 0)
    w.I32(at + 128, pfm.horizRes);
    w.I32(at + 132, pfm.vertRes);
    w.I32(at + 136, slant != 0 ? 3153 : 0);  // caret slope
    w.I32(at + 140, slant != 0 ? 10000 : 1);
    w.I32(at + 144, 0);  // font box: left, top, right, bottom
    w.I32(at + 148, ascent);
    w.I32(at + 152, pfm.maxWidth);
    w.I32(at + 156, -descent);
    w.Bytes(at + 160, "Unkn", 4);
    w.U32(at + 164, kernPairs);
    const unsigned panoseWeight = pfm.weight / 100u + 1u;
    w.U8(at + 174, static_cast<uint8_t>(panoseWeight > 11 ? 11 : panoseWeight));
    // The extra block: only its glyph count is set.
    w.U32(at + kIfiMetricsSize + 8, static_cast<uint32_t>(pfm.lastChar - pfm.firstChar));
    w.Text(at + faceAt, name);
    w.Text(at + familyAt, name);
}

void WriteWidthTable(Writer& w, const Pfm& pfm) {
    const size_t widths = pfm.variablePitch ? pfm.widthCount : 0;
    const size_t at = w.Grow(kWidthTableSize + (widths ? widths * 2 + 2 : 0));
    w.U32(at, static_cast<uint32_t>(kWidthTableSize));
    w.U32(at + 4, 1);  // one run
    w.U16(at + 8, 1);  // from the first glyph
    w.U16(at + 10, static_cast<uint32_t>(widths));
    w.U32(at + 12, static_cast<uint32_t>(kWidthTableSize));
    w.Bytes(at + kWidthTableSize, pfm.widths, widths * 2);
}

void WriteKernPairs(Writer& w, const Pfm& pfm, const AnsiTable& ansi) {
    struct Pair {
        zqwchar first, second;
        int16_t amount;
    };
    std::vector<Pair> pairs;
    pairs.reserve(pfm.kernPairs.size());
    for (const KernPair& k : pfm.kernPairs) pairs.push_back({ansi[k.first], ansi[k.second], k.amount});
    std::stable_sort(pairs.begin(), pairs.end(), [](const Pair& a, const Pair& b) {
        return a.second != b.second ? a.second < b.second : a.first < b.first;
    });
    const size_t n = pairs.size();
    const size_t at = w.Grow(6 * n + 16);
    w.U32(at, static_cast<uint32_t>(6 * n + 16));
    w.U32(at + 4, static_cast<uint32_t>(n));
    for (size_t i = 0; i < n; ++i) {
        w.U16(at + 8 + 6 * i, static_cast<uint16_t>(pairs[i].first));
        w.U16(at + 10 + 6 * i, static_cast<uint16_t>(pairs[i].second));
        w.U16(at + 12 + 6 * i, static_cast<uint16_t>(pairs[i].amount));
    }
}

}  // namespace

std::vector<uint8_t> BuildUfm(const Pfm& pfm, uint32_t language, const text16& fullName, const AnsiTable& ansi) {
    const std::string command = CommandFor(pfm.selection, language);
    if (command.empty()) return {};
    const text16 name = fullName.substr(0, kFaceChars);
    // The IFIMETRICS promise no more pairs than the kerning section holds.
    uint32_t kernPairs = 0;
    if (pfm.hasKernTable) {
        const int16_t declared = Etm(pfm, kEtmKernPairs);
        kernPairs = static_cast<uint32_t>(pfm.kernPairs.size());
        if (pfm.extTextMetrics && declared >= 0 && static_cast<uint32_t>(declared) < kernPairs)
            kernPairs = static_cast<uint32_t>(declared);
    }

    std::vector<uint8_t> bytes;
    Writer w(&bytes);
    w.Grow(kUfmHeaderSize);
    w.Align();
    w.U32(kUfmOffDriverInfo, static_cast<uint32_t>(w.Size()));
    WriteDriverInfo(w, pfm, command);
    w.Align();
    w.U32(kUfmOffIfiMetrics, static_cast<uint32_t>(w.Size()));
    WriteIfiMetrics(w, pfm, name, ansi, kernPairs);
    w.Align();
    if (pfm.extTextMetrics) {
        const size_t at = w.Size();
        w.U32(kUfmOffExtTextMetrics, static_cast<uint32_t>(at));
        w.Grow(kExtTextMetricsSize);
        w.Bytes(at, pfm.extTextMetrics, kExtTextMetricsSize);
        w.U16(at + kEtmUnderlineOffset, static_cast<uint16_t>(-Etm(pfm, kEtmUnderlineOffset)));
        w.Align();
    }
    w.U32(kUfmOffWidthTable, static_cast<uint32_t>(w.Size()));
    WriteWidthTable(w, pfm);
    w.Align();
    if (pfm.hasKernTable && !pfm.kernPairs.empty()) {
        w.U32(kUfmOffKernPairs, static_cast<uint32_t>(w.Size()));
        WriteKernPairs(w, pfm, ansi);
        w.Align();
    }
    w.U32(0, static_cast<uint32_t>(w.Size()));
    w.U32(4, kUfmVersion);
    w.U32(8, kUfmCodePage);
    return bytes;
}

}  // namespace zqfont
