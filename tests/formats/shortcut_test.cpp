// The stored printing shortcut byte for byte: its image and length, the 16-bit numbers, pairs with an
// absent member, strings that outgrow the length formula, and the reader's refusals.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "formats/zqshortcut.h"

namespace {

std::vector<uint8_t> Write(const zqsc::RecordText& record) {
    std::vector<uint8_t> out(zqsc::ValueLength(record));
    zqsc::WriteValue(record, out.data());
    return out;
}

TEST(ShortcutValue, ImagesAndLengths) {
    // "A", no document type, no features: 41 00 + three zeros, three zeros, three numbers.
    const zqsc::RecordText bare = {L"A", L"", 0, 0, 0, nullptr};
    const std::vector<uint8_t> a = Write(bare);
    ASSERT_EQ(1036u, a.size());
    EXPECT_EQ(20u, zqsc::ContentLength(bare));
    const uint8_t head[20] = {0x41, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(0, std::memcmp(a.data(), head, sizeof head));
    EXPECT_EQ(std::vector<uint8_t>(1016, 0), std::vector<uint8_t>(a.begin() + 20, a.end()));

    // One feature, two pairs, the second name absent: 520 + 2 x 1,024 more, whatever the lengths.
    const wchar_t* keys[] = {L"Glossy", L"Matte"};
    const wchar_t* names[] = {L"Glossy Photo", nullptr};
    const zqsc::FeatureText media = {L"MediaType", 0, 2, keys, names};
    const zqsc::RecordText photo = {L"Posters", L"Photo", 70000, 0xFFFFFFFF, 1, &media};
    const std::vector<uint8_t> p = Write(photo);
    ASSERT_EQ(1036u + 520u + 2048u, p.size());
    const size_t numbers = 2 * 7 + 3 + 2 * 5 + 3;
    // Numbers keep their low 16 bits in the first two of their four bytes.
    const uint8_t expected[12] = {1, 0, 0, 0, 0x70, 0x11, 0, 0, 0xFF, 0xFF, 0, 0};
    EXPECT_EQ(0, std::memcmp(p.data() + numbers, expected, sizeof expected));

    zqsc::RecordRead back;
    ASSERT_TRUE(zqsc::ReadValue(p.data(), p.size(), back));
    EXPECT_EQ(u"Posters", std::u16string(back.name.begin(), back.name.end()));
    EXPECT_EQ(4464u, back.reserved);  // 70,000
    EXPECT_EQ(65535u, back.bitmapId);  // -1
    ASSERT_EQ(1u, back.features.size());
    EXPECT_EQ(std::wstring(L"MediaType"), back.features[0].keyword);
    EXPECT_EQ(std::wstring(L"Matte"), back.features[0].optionKeywords[1]);
    // The absent name was written empty: the pair stays whole and nothing after it moved.
    EXPECT_EQ(std::wstring(L""), back.features[0].optionNames[1]);
    EXPECT_EQ(std::wstring(L"Glossy Photo"), back.features[0].optionNames[0]);
}

TEST(ShortcutValue, RoundTripsNamesAndLongStrings) {
    const std::wstring wide(255, L'W'), longer(300, L'L');
    const std::wstring cjk = L"A\x4E00\x4E01z";  // characters whose low byte is zero
    const wchar_t* keys[] = {wide.c_str()};
    const wchar_t* names[] = {cjk.c_str()};
    const zqsc::FeatureText feature = {wide.c_str(), 5, 1, keys, names};
    // Two 255-character strings outgrow the formula: the value holds them; a longer name is cut.
    const struct {
        zqsc::RecordText record;
        size_t length;
        std::wstring name;
    } cases[] = {{{cjk.c_str(), L"Photo", 0, 964, 0, nullptr}, 1036, cjk},
                 {{wide.c_str(), wide.c_str(), 0, 0, 0, nullptr}, 2 * 513 + 12, wide},
                 {{wide.c_str(), wide.c_str(), 0, 0, 1, &feature}, 1036 + 520 + 1024, wide},
                 {{longer.c_str(), L"", 0, 0, 0, nullptr}, 1036, longer.substr(0, 255)}};
    for (const auto& c : cases) {
        const std::vector<uint8_t> value = Write(c.record);
        EXPECT_EQ(c.length, value.size());
        zqsc::RecordRead back;
        ASSERT_TRUE(zqsc::ReadValue(value.data(), value.size(), back));
        EXPECT_EQ(c.name, back.name);
        EXPECT_EQ(std::wstring(c.record.docType), back.docType);
        ASSERT_EQ(c.record.featureCount, back.features.size());
        if (c.record.featureCount) {
            EXPECT_EQ(cjk, back.features[0].optionNames[0]);
        }
    }
}

TEST(ShortcutValue, ReaderRefusesWhatRunsPastTheValue) {
    const wchar_t* keys[] = {L"Letter", L"A4"};
    const wchar_t* names[] = {L"Letter", L"A4"};
    const zqsc::FeatureText paper = {L"PaperSize", 0, 2, keys, names};
    const zqsc::RecordText record = {L"Plans", L"Drawings", 0, 602, 1, &paper};
    const std::vector<uint8_t> value = Write(record);
    const size_t content = zqsc::ContentLength(record);
    zqsc::RecordRead out;
    EXPECT_TRUE(zqsc::ReadValue(value.data(), content, out));
    for (size_t cut = 0; cut < content; ++cut) EXPECT_FALSE(zqsc::ReadValue(value.data(), cut, out)) << cut;

    // A feature count no value holds is refused before anything is reserved for it.
    std::vector<uint8_t> counted = value;
    const size_t counts = 2 * 5 + 3 + 2 * 8 + 3;
    counted[counts + 3] = 0x7F;
    EXPECT_FALSE(zqsc::ReadValue(counted.data(), counted.size(), out));
    EXPECT_FALSE(zqsc::ReadValue(nullptr, 0, out));
}

}  // namespace
