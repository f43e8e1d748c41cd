// Font metrics files from the user and the printer's font file, in memory: names by command
// language, untrusted .PFM and .PCM files, and the font file's layout for new and kept fonts.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "formats/zqfontfile.h"
#include "formats/zqfontmetrics.h"
#include "zqfontgen.h"

namespace {

using zqfontgen::PfmLayout;
using zqfontgen::PfmRecipe;
using zqfontgen::Put16;
using zqfontgen::Put32;
using Bytes = std::vector<uint8_t>;

uint32_t U32(const Bytes& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
uint16_t U16(const Bytes& b, size_t at) { return static_cast<uint16_t>(b[at] | (b[at + 1] << 8)); }

const zqfont::AnsiTable& Latin1() {
    static zqfont::AnsiTable table;
    for (int i = 0; i < 256; ++i) table[i] = static_cast<zqwchar>(i);
    return table;
}

PfmRecipe Recipe(const std::string& face, const std::string& selection) {
    PfmRecipe s;
    s.face = face;
    s.selection = selection;
    return s;
}

zqfont::Pfm Read(const Bytes& b) {
    zqfont::Pfm pfm;
    EXPECT_TRUE(zqfont::ReadPfm(b.data(), b.size(), &pfm));
    return pfm;
}

// The names of a .PCM's fonts for PCL, or "<refused>".
std::string PcmNames(const Bytes& pcm) {
    zqfont::Pcm out;
    if (!zqfont::ReadPcm(pcm.data(), pcm.size(), &out)) return "<refused>";
    std::string names = out.title + ":";
    for (const zqfont::Pfm& pfm : out.fonts) {
        std::string name;
        names += " " + (zqfont::FaceNameFromPfm(pfm, zqfont::kLangPcl, &name) ? name : "-");
    }
    return names;
}

zqfont::text16 Text16(const Bytes& b, size_t at) {
    zqfont::text16 s;
    for (; U16(b, at); at += 2) s.push_back(static_cast<zqwchar>(U16(b, at)));
    return s;
}

// The name a font is listed under and the command its font data takes, by command language.
TEST(FontNames, ByCommandLanguage) {
    const struct {
        const char* selection;
        uint32_t language;
        const char* name;  // null: not a font of that language
        const char* command;
    } rows[] = {
        {"\x1B(s1p12.5v1s3b4148T", zqfont::kLangPcl, "Face 13pt-It-Bd", "\x1B(s1p12.5v1s3b4148T"},
        {"\x1B(s0p10V0S-3B4099T", zqfont::kLangPcl, "Face 10pt-Lt", "\x1B(s0p10V0S-3B4099T"},
        {"\x1B(s1p0v0s0b4148T", zqfont::kLangPcl, "Face", "\x1B(s1p0v0s0b4148T"},              // height 0
        {"\x1B(s1p#HEIGHTv1s3b4148T", zqfont::kLangPcl, "Face", "\x1B(s1p#HEIGHTv1s3b4148T"},  // scalable
        {"\x1B(s1p8V1S0b~XL~!a!b!", zqfont::kLangPcl, "Face 8pt-It", "\x1B(s1p8V1S0b"},  // the part before "~XL~"
        // The name reads the whole command, both sides of "~XL~".
        {"\x1B(s1p8v~XL~!x!12v1s3b!", zqfont::kLangPcl, "Face 8pt-It-Bd", "\x1B(s1p8v"},
        {"!R!FONT!Sans!~XL~\x1B(s1p9v0s0b", zqfont::kLangPcl, "Face 9pt", "\x1B(s1p9v0s0b"},
        {"!R!FONT!Sans!~XL~\x1B(s1p9v0s0b", zqfont::kLangOther, "Face", "FONT"},
        // Behind "~XL~" the count of "!" starts after the character that follows it.
        {"\x1B(s1p8v~XL~!a!b!", zqfont::kLangOther, "Face", ""},
        {"\x1B(s1p8v~XL~!a!b!c!", zqfont::kLangOther, "Face", "c"},
        {"\x1B(s1p8v0s0b", zqfont::kLangOther, nullptr, ""},
        {"!R!FONT!", zqfont::kLangPcl, nullptr, ""},
        {"&l0O", zqfont::kLangPcl, nullptr, ""},
        {"&l0O~XL~&", zqfont::kLangOther, nullptr, ""},
        {"&l0O~XL~", zqfont::kLangOther, nullptr, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.selection);
        std::string name;
        const zqfont::Pfm pfm = Read(zqfontgen::BuildPfm(Recipe("Face", row.selection)));
        const bool accepted = zqfont::FaceNameFromPfm(pfm, row.language, &name);
        EXPECT_EQ(row.name != nullptr, accepted);
        if (row.name) {
            EXPECT_EQ(row.name, name);
        }
        EXPECT_EQ(row.command, zqfont::CommandFor(pfm.selection, row.language));
    }
    // Names stay within 79 characters, decoration included.
    std::string name;
    ASSERT_TRUE(zqfont::FaceNameFromPfm(Read(zqfontgen::BuildPfm(Recipe(std::string(90, 'x'), "\x1B(s12v"))),
                                        zqfont::kLangPcl, &name));
    EXPECT_EQ(std::string(79, 'x'), name);
    ASSERT_TRUE(zqfont::FaceNameFromPfm(Read(zqfontgen::BuildPfm(Recipe(std::string(75, 'x'), "\x1B(s12v"))),
                                        zqfont::kLangPcl, &name));
    EXPECT_EQ(std::string(75, 'x') + " 12p", name);
}

TEST(FontMetricsFiles, UntrustedPfmIsRefused) {
    using Break = std::function<void(Bytes&, const PfmLayout&)>;
    const struct {
        const char* what;
        Break apply;
        size_t cut;  // bytes taken away at the end
    } rows[] = {
        {"dfSize 0", [](Bytes& b, const PfmLayout&) { Put32(b, 2, 0); }, 0},
        {"dfSize below the header", [](Bytes& b, const PfmLayout&) { Put32(b, 2, 116); }, 0},
        {"dfSize ends inside the widths", [](Bytes& b, const PfmLayout&) { Put32(b, 2, 150); }, 0},
        {"file ends inside the header", [](Bytes&, const PfmLayout&) {}, 0x7FFF},
        {"last character below the first", [](Bytes& b, const PfmLayout&) { b[96] = 31; }, 0},
        {"face past dfSize", [](Bytes& b, const PfmLayout& l) { Put32(b, 2, static_cast<uint32_t>(l.face)); }, 0},
        {"face offset beyond the file", [](Bytes& b, const PfmLayout&) { Put32(b, 105, 0x7FFFFFF0); }, 0},
        {"face without its end", [](Bytes&, const PfmLayout&) {}, 1},
        {"no selection command", [](Bytes& b, const PfmLayout& l) { Put32(b, l.driverInfo + 8, 0); }, 0},
        {"selection beyond the file", [](Bytes& b, const PfmLayout& l) { Put32(b, l.driverInfo + 8, 0xFFFFFFFF); }, 0},
        {"driver information at the end",
         [](Bytes& b, const PfmLayout& l) { Put32(b, l.extension + 22, static_cast<uint32_t>(b.size() - 4)); }, 0},
        {"extended metrics past the end",
         [](Bytes& b, const PfmLayout& l) { Put32(b, l.extension + 2, static_cast<uint32_t>(b.size() - 20)); }, 0},
        {"kerning table beyond the file",
         [](Bytes& b, const PfmLayout& l) { Put32(b, l.extension + 14, static_cast<uint32_t>(b.size())); }, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        PfmLayout layout;
        Bytes b = zqfontgen::BuildPfm(PfmRecipe(), &layout);
        row.apply(b, layout);
        const size_t size = row.cut > b.size() ? 100 : b.size() - row.cut;
        zqfont::Pfm pfm;
        EXPECT_FALSE(zqfont::ReadPfm(b.data(), size, &pfm));
    }
}

TEST(FontMetricsFiles, CartridgeWalkStaysInsideItsSizeAndTheFile) {
    const Bytes a = zqfontgen::BuildPfm(Recipe("A", "\x1B(s10v"));
    const Bytes b = zqfontgen::BuildPfm(Recipe("B", "\x1B(s11v"));
    const Bytes foreign = zqfontgen::BuildPfm(Recipe("F", "&l0O"));
    Bytes badFace = a;
    Put32(badFace, 105, 0xFFFF);
    const size_t firstPfm = 16 + 5;  // header and "Cart"
    using Change = std::function<void(Bytes&)>;
    const struct {
        const char* what;
        std::vector<Bytes> pfms;
        Change change;
        const char* names;
    } rows[] = {
        {"every font", {a, foreign, b}, [](Bytes&) {}, "Cart: A 10pt - B 11pt"},
        {"wrong magic", {a}, [](Bytes& p) { Put16(p, 0, 0x0CAD); }, "<refused>"},
        {"a PFM that cannot be trusted is left out", {badFace, b}, [](Bytes&) {}, "Cart: B 11pt"},
        {"dfSize 0 ends the walk", {a, b}, [&](Bytes& p) { Put32(p, firstPfm + a.size() + 2, 0); }, "Cart: A 10pt"},
        {"a huge dfSize ends the walk", {a, b}, [&](Bytes& p) { Put32(p, firstPfm + 2, 0xFFFFFFFF); }, "Cart: A 10pt"},
        {"total size ends before the second", {a, b},
         [&](Bytes& p) { Put32(p, 4, static_cast<uint32_t>(firstPfm + a.size() + 50)); }, "Cart: A 10pt"},
        {"first PFM beyond the file", {a}, [](Bytes& p) { Put32(p, 12, 0xFFFFFF); }, "<refused>"},
        {"title beyond the file", {a}, [](Bytes& p) { Put32(p, 8, static_cast<uint32_t>(p.size())); }, "<refused>"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        Bytes pcm = zqfontgen::BuildPcm("Cart", row.pfms);
        row.change(pcm);
        EXPECT_EQ(row.names, PcmNames(pcm));
    }
}

// One font: header and directory of 88 bytes, the name, the "DUFM" record and its UFM data.
TEST(FontFile, LayoutOfOneFontWithItsMetrics) {
    const struct {
        const char* what;
        bool variablePitch, extTextMetrics, kernTable;
    } rows[] = {{"proportional with kerning pairs", true, true, true},
                {"fixed pitch without extended metrics", false, false, false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        PfmRecipe recipe = Recipe("Face", "\x1B(s1p12v0s0b4148T");
        recipe.variablePitch = row.variablePitch;
        recipe.pixWidth = row.variablePitch ? 0 : 24;
        recipe.extTextMetrics = row.extTextMetrics;
        recipe.kernTable = row.kernTable;
        recipe.kernPairs = {{'V', 'A', -4}, {'A', 'V', -3}, {'T', 'A', -2}};
        recipe.slant = 120;
        const Bytes bytes = zqfontgen::BuildPfm(recipe);
        const zqfont::Pfm pfm = Read(bytes);
        const std::vector<uint8_t> ufm = zqfont::BuildUfm(pfm, zqfont::kLangPcl, L"Face 12pt", Latin1());
        ASSERT_FALSE(ufm.empty());

        zqfont::CZQUffBuilder builder;
        EXPECT_EQ(88u, builder.DWWriteFontFileHeader(1));
        ASSERT_TRUE(builder.AddFont({L"Face 12pt", ufm}));
        builder.Finish();
        const Bytes& f = builder.Bytes();
        EXPECT_EQ(0, std::memcmp(f.data(), "UFF1", 4));
        EXPECT_EQ((std::vector<uint32_t>{0x00010001, 48, 1, 0, 0, 48, 1}),
                  (std::vector<uint32_t>{U32(f, 4), U32(f, 8), U32(f, 12), U32(f, 16), U32(f, 20), U32(f, 24), U32(f, 28)}));
        EXPECT_EQ(0, std::memcmp(&f[48], "FREC", 4));
        EXPECT_EQ(0, std::memcmp(&f[60], "ZQFI", 4));
        EXPECT_EQ((std::vector<uint32_t>{36, 0, 0, 1, 88, 0, 112, 0, 0}),
                  (std::vector<uint32_t>{U16(f, 52), U16(f, 54), U16(f, 56), U16(f, 58), U32(f, 64), U32(f, 68),
                                         U32(f, 72), U32(f, 76), U32(f, 80)}));
        EXPECT_EQ(L"Face 12pt", Text16(f, 88));
        EXPECT_EQ(0, std::memcmp(&f[112], "DUFM", 4));
        EXPECT_EQ((std::vector<uint32_t>{16, 0, static_cast<uint32_t>(ufm.size())}),
                  (std::vector<uint32_t>{U16(f, 116), U16(f, 118), U32(f, 120)}));
        ASSERT_EQ(112 + 16 + ufm.size() + 1, f.size());
        EXPECT_EQ(0, std::memcmp(&f[128], ufm.data(), ufm.size()));

        // The UFM data: sections at multiples of 8.
        const Bytes u(ufm.begin(), ufm.end());
        EXPECT_EQ(u.size(), U32(u, 0));
        EXPECT_EQ(0u, u.size() % 8);
        EXPECT_EQ(0x00010000u, U32(u, 4));
        EXPECT_EQ(1252u, U32(u, 8));
        for (size_t field = 16; field <= 32; field += 4) EXPECT_EQ(0u, U32(u, field) % 8) << field;
        const size_t info = U32(u, 16), ifi = U32(u, 20), etm = U32(u, 24), widths = U32(u, 28), kern = U32(u, 32);
        const std::string command = "\x1B(s1p12v0s0b4148T";
        EXPECT_EQ(48 + command.size() + 1, U32(u, info));
        EXPECT_EQ(row.variablePitch ? 6u : 2u, U32(u, info + 4));
        EXPECT_EQ((std::vector<uint32_t>{1, 300, 300, static_cast<uint32_t>(command.size()), 48}),
                  (std::vector<uint32_t>{U16(u, info + 8), U16(u, info + 12), U16(u, info + 14), U32(u, info + 24),
                                         U32(u, info + 28)}));
        EXPECT_EQ(command, std::string(reinterpret_cast<const char*>(&u[info + 48])));
        EXPECT_EQ(184 + 24 + 2 * 2 * 10u, U32(u, ifi));
        EXPECT_EQ(L"Face 12pt", Text16(u, ifi + U32(u, ifi + 16)));
        EXPECT_EQ(L"Face 12pt", Text16(u, ifi + U32(u, ifi + 8)));
        EXPECT_EQ(0, std::memcmp(&u[ifi + 160], "Unkn", 4));
        EXPECT_EQ(row.extTextMetrics ? 120u : 0u, U32(u, ifi + 32));
        EXPECT_EQ(row.extTextMetrics ? 3153u : 0u, U32(u, ifi + 136));
        EXPECT_EQ(row.kernTable ? 3u : 0u, U32(u, ifi + 164));
        EXPECT_EQ(5, u[ifi + 174]);  // PANOSE weight of 400
        EXPECT_EQ(94u, U32(u, ifi + zqfont::kIfiMetricsSize + 8));
        if (row.extTextMetrics) {
            EXPECT_EQ(-5, static_cast<int16_t>(U16(u, etm + 32)));
        } else {
            EXPECT_EQ(0u, etm);
        }
        const size_t count = row.variablePitch ? 126 - 32 + 2 : 0;
        EXPECT_EQ((std::vector<uint32_t>{16, 1, 1, static_cast<uint32_t>(count), 16}),
                  (std::vector<uint32_t>{U32(u, widths), U32(u, widths + 4), U16(u, widths + 8), U16(u, widths + 10),
                                         U32(u, widths + 12)}));
        for (size_t i = 0; i < count; ++i) ASSERT_EQ(10 + (32 + i) % 7, U16(u, widths + 16 + 2 * i)) << i;
        if (!row.kernTable) {
            EXPECT_EQ(0u, kern);
            continue;
        }
        EXPECT_EQ((std::vector<uint32_t>{6 * 3 + 16, 3}), (std::vector<uint32_t>{U32(u, kern), U32(u, kern + 4)}));
        std::vector<int> pairs;  // sorted by second, then first character
        for (size_t i = 0; i < 3; ++i)
            for (size_t k = 0; k < 3; ++k) pairs.push_back(static_cast<int16_t>(U16(u, kern + 8 + 6 * i + 2 * k)));
        EXPECT_EQ((std::vector<int>{'T', 'A', -2, 'V', 'A', -4, 'A', 'V', -3}), pairs);
    }
}

TEST(FontFile, RewriteKeepsInstalledFontsWholeAndRemovingAllLeavesAHeader) {
    const auto ufm = [](const char* face) {
        return zqfont::BuildUfm(Read(zqfontgen::BuildPfm(Recipe(face, "\x1B(s10v"))), zqfont::kLangPcl,
                                zqfont::text16(face, face + std::strlen(face)), Latin1());
    };
    zqfont::CZQUffBuilder first;
    first.DWWriteFontFileHeader(3);
    for (const char* face : {"A", "B", "C"}) first.AddFont({zqfont::text16(1, face[0]), ufm(face)});
    Bytes old = first.Bytes();
    // Font B as another installer wrote it: a cartridge name and a glyph-data record.
    const size_t cartridge = (old.size() + 7) & ~size_t(7);
    old.resize(cartridge + 10 + 6, 0);
    for (int i = 0; i < 4; ++i) old[cartridge + 2 * i] = static_cast<uint8_t>("Cart"[i]);
    const size_t glyph = (old.size() + 7) & ~size_t(7);
    old.resize(glyph + 24, 0xAB);
    Put32(old, glyph, 0x54544744);
    Put16(old, glyph + 4, 16);
    Put32(old, glyph + 8, 8);
    Put32(old, 48 + 36 + 20, static_cast<uint32_t>(cartridge));
    Put32(old, 48 + 36 + 28, static_cast<uint32_t>(glyph));

    std::vector<zqfont::UffFont> fonts;
    ASSERT_TRUE(zqfont::ReadUff(old.data(), old.size(), &fonts));
    ASSERT_EQ(3u, fonts.size());
    zqfont::CZQUffBuilder next;
    next.DWRewriteFontFile(1, {&fonts[0], &fonts[1]});
    ASSERT_TRUE(next.AddFont({L"D", ufm("D")}));
    next.Finish();
    const Bytes& f = next.Bytes();
    std::vector<zqfont::UffFont> kept;
    ASSERT_TRUE(zqfont::ReadUff(f.data(), f.size(), &kept));
    ASSERT_EQ(3u, kept.size());
    EXPECT_EQ((std::vector<uint32_t>{3, 1, 0}), (std::vector<uint32_t>{U32(f, 12), U32(f, 16), U32(f, 20)}));
    const zqwchar* names[] = {L"A", L"B", L"D"};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(names[i], zqfont::text16(kept[i].name.begin(), kept[i].name.end()));
        EXPECT_EQ(i, U16(f, 48 + 36 * i + 6)) << "font ids follow the entries";
        for (size_t field = 16; field <= 32; field += 4) EXPECT_EQ(0u, U32(f, 48 + 36 * i + field) % 8);
    }
    for (size_t i = 0; i < 2; ++i) {
        ASSERT_EQ(fonts[i].fontData.size, kept[i].fontData.size);
        EXPECT_EQ(0, std::memcmp(fonts[i].fontData.data, kept[i].fontData.data, kept[i].fontData.size));
    }
    EXPECT_TRUE(kept[1].hasCartridge);
    EXPECT_EQ(L"Cart", zqfont::text16(kept[1].cartridge.begin(), kept[1].cartridge.end()));
    ASSERT_EQ(24u, kept[1].glyphData.size);
    EXPECT_EQ(0, std::memcmp(&old[glyph], kept[1].glyphData.data, 24));

    zqfont::CZQUffBuilder none;
    EXPECT_EQ(48u, none.DWWriteFontFileHeader(0));
    none.Finish();
    const Bytes& h = none.Bytes();
    ASSERT_EQ(48u, h.size());
    EXPECT_EQ((std::vector<uint32_t>{0, 0, 0}), (std::vector<uint32_t>{U32(h, 12), U32(h, 24), U32(h, 28)}));
}

TEST(FontFile, ExistingFileThatIsNotAFontFileIsRefusedWhole) {
    zqfont::CZQUffBuilder builder;
    builder.DWWriteFontFileHeader(1);
    builder.AddFont({L"A", zqfont::BuildUfm(Read(zqfontgen::BuildPfm(Recipe("A", "\x1B(s10v"))), zqfont::kLangPcl,
                                             L"A", Latin1())});
    const Bytes good = builder.Bytes();
    const struct {
        const char* what;
        std::function<void(Bytes&)> change;
    } rows[] = {
        {"signature in the wrong byte order", [](Bytes& b) { std::memcpy(b.data(), "1FFU", 4); }},
        {"other version", [](Bytes& b) { Put32(b, 4, 0x00020000); }},
        {"other header size", [](Bytes& b) { Put32(b, 8, 44); }},
        {"directory beyond the file", [](Bytes& b) { Put32(b, 12, 1000); }},
        {"entry without its signature", [](Bytes& b) { b[48] = 'X'; }},
        {"name beyond the file", [](Bytes& b) { Put32(b, 64, 0x7FFFFFFF); }},
        {"name without its end", [](Bytes& b) { Put32(b, 64, static_cast<uint32_t>(b.size() - 2)); }},
        {"no font data", [](Bytes& b) { Put32(b, 72, 0); }},
        {"font data longer than the file", [](Bytes& b) { Put32(b, U32(b, 72) + 8, 0x7FFFFFF0); }},
        {"file cut short", [](Bytes& b) { b.resize(b.size() - 2); }},
    };
    std::vector<zqfont::UffFont> fonts;
    ASSERT_TRUE(zqfont::ReadUff(good.data(), good.size(), &fonts));
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        Bytes b = good;
        b.back() = 0x41;  // the record's closing zero: a name running to the end finds no terminator
        row.change(b);
        EXPECT_FALSE(zqfont::ReadUff(b.data(), b.size(), &fonts));
    }
}

}  // namespace
