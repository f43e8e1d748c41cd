#include "formats/zqfontfile.h"

#include <cstring>

#include "formats/zqfontbytes.h"

namespace zqfont {

namespace {

// A zero-terminated UTF-16 text whose terminator lies inside the file; at most `maxChars` kept.
bool ReadText(const uint8_t* data, size_t size, uint32_t offset, size_t maxChars, text16* out) {
    out->clear();
    if (offset == 0 || offset >= size) return false;
    for (size_t at = offset; size - at >= 2; at += 2) {
        const uint16_t c = Get16(data + at);
        if (c == 0) return true;
        if (out->size() < maxChars) out->push_back(static_cast<zqwchar>(c));
    }
    return false;
}

// A data record: its header (at least 16 bytes, as its size field says) and its data inside the file.
bool ReadRecord(const uint8_t* data, size_t size, uint32_t offset, bool required, UffRecord* record) {
    *record = UffRecord();
    if (offset == 0) return !required;
    if (offset >= size || size - offset < kDataHeaderSize) return false;
    const size_t headerSize = Get16(data + offset + 4);
    const size_t dataSize = Get32(data + offset + 8);
    if (headerSize < kDataHeaderSize || headerSize > size - offset || dataSize > size - offset - headerSize)
        return false;
    record->data = data + offset;
    record->size = headerSize + dataSize;
    return true;
}

}  // namespace

bool ReadUff(const uint8_t* data, size_t size, std::vector<UffFont>* fonts) {
    if (!data || !fonts || size < kUffHeaderSize) return false;
    if (Get32(data) != kUffSignature || Get32(data + 4) != kUffVersion || Get32(data + 8) != kUffHeaderSize) return false;
    const uint32_t count = Get32(data + 12);
    const uint32_t directory = Get32(data + 24);
    std::vector<UffFont> out;
    if (count != 0) {
        if (directory < kUffHeaderSize || directory > size || (size - directory) / kUffEntrySize < count) return false;
        out.resize(count);
    }
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* entry = data + directory + static_cast<size_t>(i) * kUffEntrySize;
        UffFont& font = out[i];
        std::memcpy(font.entry, entry, kUffEntrySize);
        if (Get32(entry + kEntrySignature) != kFontRecordSignature || Get16(entry + kEntrySize) != kUffEntrySize)
            return false;
        if (!ReadText(data, size, Get32(entry + kEntryName), kFaceChars, &font.name)) return false;
        const uint32_t cartridge = Get32(entry + kEntryCartridge);
        font.hasCartridge = cartridge != 0;
        if (font.hasCartridge && !ReadText(data, size, cartridge, size, &font.cartridge)) return false;
        if (!ReadRecord(data, size, Get32(entry + kEntryFontData), true, &font.fontData) ||
            !ReadRecord(data, size, Get32(entry + kEntryGlyphData), false, &font.glyphData) ||
            !ReadRecord(data, size, Get32(entry + kEntryVarData), false, &font.varData))
            return false;
    }
    fonts->swap(out);
    return true;
}

void CZQUffBuilder::Put16(size_t at, uint32_t v) { Set16(&m_bytes[at], v); }

void CZQUffBuilder::Put32(size_t at, uint32_t v) { Set32(&m_bytes[at], v); }

size_t CZQUffBuilder::Append(const void* p, size_t n) {
    const size_t at = AlignUp8(m_bytes.size());
    m_bytes.resize(at + n, 0);
    if (p && n) std::memcpy(&m_bytes[at], p, n);
    return at;
}

size_t CZQUffBuilder::AppendText(const text16& s) {
    const size_t at = Append(nullptr, (s.size() + 1) * 2);
    for (size_t i = 0; i < s.size(); ++i) Put16(at + 2 * i, static_cast<uint16_t>(s[i]));
    return at;
}

uint32_t CZQUffBuilder::DWWriteFontFileHeader(uint32_t fonts) {
    m_fonts = fonts;
    m_next = 0;
    m_bytes.assign(AlignUp8(kUffHeaderSize + kUffEntrySize * static_cast<size_t>(fonts)), 0);
    Put32(0, kUffSignature);
    Put32(4, kUffVersion);
    Put32(8, static_cast<uint32_t>(kUffHeaderSize));
    Put32(12, fonts);
    Put32(24, fonts ? static_cast<uint32_t>(kUffHeaderSize) : 0);
    Put32(28, fonts ? kUffDirSorted : 0);
    return static_cast<uint32_t>(m_bytes.size());
}

uint32_t CZQUffBuilder::DWRewriteFontFile(uint32_t added, const std::vector<const UffFont*>& kept) {
    DWWriteFontFileHeader(static_cast<uint32_t>(kept.size()) + added);
    uint32_t glyphSets = 0, varData = 0;
    for (const UffFont* font : kept) {
        const size_t entry = kUffHeaderSize + kUffEntrySize * m_next;
        std::memcpy(&m_bytes[entry], font->entry, kUffEntrySize);
        Put16(entry + kEntryFontId, m_next);
        Put32(entry + kEntryName, static_cast<uint32_t>(AppendText(font->name.substr(0, kFaceChars))));
        Put32(entry + kEntryCartridge, font->hasCartridge ? static_cast<uint32_t>(AppendText(font->cartridge)) : 0);
        Put32(entry + kEntryFontData, static_cast<uint32_t>(Append(font->fontData.data, font->fontData.size)));
        const auto copy = [&](const UffRecord& record, size_t field, uint32_t* count) {
            if (!record.data) return Put32(entry + field, 0);
            Put32(entry + field, static_cast<uint32_t>(Append(record.data, record.size)));
            ++*count;
        };
        copy(font->glyphData, kEntryGlyphData, &glyphSets);
        copy(font->varData, kEntryVarData, &varData);
        ++m_next;
    }
    Put32(16, glyphSets);
    Put32(20, varData);
    return static_cast<uint32_t>(m_bytes.size());
}

bool CZQUffBuilder::AddFont(const UffNewFont& font) {
    if (m_next >= m_fonts || font.ufm.empty()) return false;
    const size_t entry = kUffHeaderSize + kUffEntrySize * m_next;
    Put32(entry + kEntrySignature, kFontRecordSignature);
    Put16(entry + kEntrySize, static_cast<uint32_t>(kUffEntrySize));
    Put16(entry + kEntryFontId, m_next);
    Put16(entry + kEntryFlags, 1);
    Put32(entry + kEntryInstaller, kInstallerSignature);
    Put32(entry + kEntryName, static_cast<uint32_t>(AppendText(font.name.substr(0, kFaceChars))));
    const size_t size = DWSizeFontData(font.ufm);
    const size_t at = Append(nullptr, size);
    DWWriteFontData(font.ufm, static_cast<uint16_t>(m_next), &m_bytes[at], size);
    Put32(entry + kEntryFontData, static_cast<uint32_t>(at));
    ++m_next;
    return true;
}

void CZQUffBuilder::Finish() {
    if (m_bytes.size() < kUffHeaderSize || m_next == m_fonts) return;
    m_fonts = m_next;
    Put32(12, m_fonts);
    Put32(24, m_fonts ? static_cast<uint32_t>(kUffHeaderSize) : 0);
    Put32(28, m_fonts ? kUffDirSorted : 0);
}

uint32_t CZQUffBuilder::DWWriteFontData(const std::vector<uint8_t>& ufm, uint16_t id, uint8_t* out, size_t capacity) {
    const size_t size = DWSizeFontData(ufm);
    if (!out || capacity < size) return 0;
    Set32(out, kFontDataSignature);
    Set16(out + 4, static_cast<uint32_t>(kDataHeaderSize));
    Set16(out + 6, id);
    Set32(out + 8, static_cast<uint32_t>(ufm.size()));
    Set32(out + 12, 0);
    std::memcpy(out + kDataHeaderSize, ufm.data(), ufm.size());
    out[size - 1] = 0;
    return static_cast<uint32_t>(size);
}

}  // namespace zqfont
