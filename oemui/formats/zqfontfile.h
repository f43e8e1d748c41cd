// The printer's font file in the universal driver's font-file format (UFF): header, font
// directory, names and data records. The signatures are the core driver's published 32-bit
// constants, stored little-endian like every number, so the file reads "UFF1", "FREC" and "DUFM"
// byte by byte. An existing file is read in full before anything is kept from it: a file that is
// not a valid font file is refused whole. Depends only on the standard library.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "formats/zqfontdata.h"

namespace zqfont {

inline constexpr uint32_t kUffSignature = 0x31464655;     // bytes "UFF1"
inline constexpr uint32_t kUffVersion = 0x00010001;
inline constexpr uint32_t kUffDirSorted = 0x00000001;
inline constexpr uint32_t kFontRecordSignature = 0x43455246;  // bytes "FREC"
inline constexpr uint32_t kFontDataSignature = 0x4D465544;    // bytes "DUFM"
inline constexpr uint32_t kInstallerSignature = 0x4946515A;   // bytes "ZQFI"
inline constexpr size_t kUffHeaderSize = 48;
inline constexpr size_t kUffEntrySize = 36;
inline constexpr size_t kDataHeaderSize = 16;

// Offsets of a font directory entry's fields.
enum : size_t {
    kEntrySignature = 0,
    kEntrySize = 4,
    kEntryFontId = 6,
    kEntryGlyphId = 8,
    kEntryFlags = 10,
    kEntryInstaller = 12,
    kEntryName = 16,
    kEntryCartridge = 20,
    kEntryFontData = 24,
    kEntryGlyphData = 28,
    kEntryVarData = 32,
};

// A data record of an existing file: its header and data, or nothing.
struct UffRecord {
    const uint8_t* data = nullptr;
    size_t size = 0;
};

struct UffFont {
    uint8_t entry[kUffEntrySize] = {};
    text16 name;  // at most kFaceChars characters
    bool hasCartridge = false;
    text16 cartridge;
    UffRecord fontData, glyphData, varData;
};

// Reads a whole font file. False unless the header carries the signature, version and size of the
// format and every entry, name and record lies inside the file.
bool ReadUff(const uint8_t* data, size_t size, std::vector<UffFont>* fonts);

// A new font: its name and its UFM data.
struct UffNewFont {
    text16 name;
    std::vector<uint8_t> ufm;
};

// Lays out a font file in memory. Every entry's font id is its index, so the directory stays
// sorted by id; names and records start at multiples of 8.
class CZQUffBuilder {
public:
    // The header for `fonts` fonts and room for their entries; returns where data starts
    // (48 + 36 x fonts rounded up to 8).
    uint32_t DWWriteFontFileHeader(uint32_t fonts);
    // The header, the kept fonts' entries with their names (at most kFaceChars characters),
    // cartridge names and records copied behind the directory, and room for `added` more entries;
    // returns the end offset.
    uint32_t DWRewriteFontFile(uint32_t added, const std::vector<const UffFont*>& kept);
    // The next entry: the name and the font-data record ("DUFM" header, the UFM data and one zero
    // byte). False when every entry is taken.
    bool AddFont(const UffNewFont& font);
    // The header counts the entries really written (a font that was not added gives its entry back).
    void Finish();
    // The record AddFont writes for this UFM data.
    static uint32_t DWSizeFontData(const std::vector<uint8_t>& ufm) {
        return static_cast<uint32_t>(kDataHeaderSize + ufm.size() + 1);
    }
    // The record into `out` (capacity bytes); the bytes written, 0 when it does not fit.
    static uint32_t DWWriteFontData(const std::vector<uint8_t>& ufm, uint16_t id, uint8_t* out, size_t capacity);
    const std::vector<uint8_t>& Bytes() const { return m_bytes; }

private:
    size_t Append(const void* p, size_t n);
    size_t AppendText(const text16& s);
    void Put16(size_t at, uint32_t v);
    void Put32(size_t at, uint32_t v);

    std::vector<uint8_t> m_bytes;
    uint32_t m_fonts = 0;
    uint32_t m_next = 0;
};

}  // namespace zqfont
