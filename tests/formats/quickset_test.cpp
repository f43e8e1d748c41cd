// The stored quick set byte for byte: its head and pair stream, the value names and the counter, and
// the reader's refusals of values that would lead it past their end.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "formats/zqindexedname.h"
#include "formats/zqquickset.h"

namespace {

std::vector<uint8_t> Write(const QuickSetHead& head, std::vector<zqqs::PairText> pairs) {
    std::vector<uint8_t> out(zqqs::ValueSize(pairs.data(), pairs.size()));
    zqqs::WriteValue(head, pairs.data(), pairs.size(), out.data());
    return out;
}

QuickSetHead Head(const wchar_t* name) {
    QuickSetHead head = {};
    head.dwMarker = zqqs::kMarker;
    head.cchName = zqqs::kNameCapacity;
    head.cbSettings = zqqs::kSettingsSize;
    wcsncpy(head.szName, name, 81);
    zqqs::DefaultSettings(head.settings);
    return head;
}

uint32_t U32(const std::vector<uint8_t>& v, size_t at) {
    uint32_t x;
    std::memcpy(&x, v.data() + at, 4);
    return x;
}

TEST(QuickSetValue, StoredImageWithAndWithoutPairs) {
    QuickSetHead head = Head(L"Everyday");
    head.settings.wDuplex = 2;
    const std::vector<uint8_t> empty = Write(head, {});
    ASSERT_EQ(2206u, empty.size());
    EXPECT_EQ(2206u, U32(empty, 0));
    EXPECT_EQ(21u, U32(empty, 4));
    EXPECT_EQ(82u, U32(empty, 8));
    EXPECT_EQ(0, std::memcmp(empty.data() + 12, L"Everyday", 18));
    EXPECT_EQ(2020u, U32(empty, 176));
    EXPECT_EQ(2, empty[180]);
    EXPECT_EQ(1u, U32(empty, 1916));  // the first poster-tile flag
    EXPECT_EQ(0u, U32(empty, 2200));
    EXPECT_EQ(0, empty[2204] | empty[2205]);

    // "Duplex" / "NONE": 12 + 3 + 1 + 8 + 3 + 1 = 28 bytes.
    const std::vector<uint8_t> one = Write(head, {{L"Duplex", L"NONE"}});
    ASSERT_EQ(2206u + 28u, one.size());
    EXPECT_EQ(1u, U32(one, 2200));
    const uint8_t pair[] = {'D', 0, 'u', 0, 'p', 0, 'l', 0, 'e', 0, 'x', 0, 0, 0, 0, 0x2E,
                            'N', 0, 'O', 0, 'N', 0, 'E', 0, 0, 0, 0, 0x5E};
    EXPECT_EQ(0, std::memcmp(one.data() + 2204, pair, sizeof pair));

    // Read back whole, pairs in their order.
    QuickSetHead back;
    std::vector<zqqs::PairRead> pairs;
    const std::vector<uint8_t> two = Write(head, {{L"Duplex", L"NONE"}, {L"PaperSize", L"My Form"}});
    ASSERT_TRUE(zqqs::ReadValue(two.data(), two.size(), {}, back, pairs));
    EXPECT_EQ(0, std::memcmp(&back.settings, &head.settings, sizeof head.settings));
    EXPECT_STREQ(L"Everyday", back.szName);
    ASSERT_EQ(2u, pairs.size());
    EXPECT_EQ(2u, back.cPairs);
    EXPECT_EQ(L"My Form", std::wstring(pairs[1].option.begin(), pairs[1].option.end()));
}

TEST(QuickSetValue, NamesAndCounter) {
    EXPECT_EQ(std::wstring(L"PresetPool:0"), zqname::IndexedName(L"PresetPool:", 0));
    const std::wstring name = zqname::IndexedName(L"PresetPool:", 1234);
    EXPECT_EQ(std::wstring(L"PresetPool:1234"), name);
    EXPECT_EQ(1234, zqname::IndexAfterColon(name.c_str()));
    EXPECT_EQ(0, zqname::IndexAfterColon(L"PresetPool"));
    EXPECT_EQ(7, zqname::IndexAfterColon(L"x:7:9"));

    uint8_t counter[4];
    zqqs::EncodeCounter(0x10203, counter);
    EXPECT_EQ(0x03, counter[0]);
    EXPECT_EQ(0x02, counter[1]);
    EXPECT_EQ(0, counter[2] | counter[3]);  // two bytes of the counter are kept
    EXPECT_EQ(0x203, zqqs::DecodeCounter(counter, 4));
    EXPECT_EQ(0, zqqs::DecodeCounter(counter, 3));
}

TEST(QuickSetValue, ShortSettingsAndNamesAreCompleted) {
    QuickSetHead head = Head(L"Old");
    std::vector<uint8_t> full = Write(head, {{L"A", L"B"}});
    // An older value: a 40-unit name field and four settings bytes.
    std::vector<uint8_t> old;
    auto put32 = [&](uint32_t x) { old.insert(old.end(), reinterpret_cast<uint8_t*>(&x), reinterpret_cast<uint8_t*>(&x) + 4); };
    put32(0);
    put32(5);
    put32(40);
    old.insert(old.end(), full.begin() + 12, full.begin() + 12 + 80);
    put32(4);
    old.insert(old.end(), {2, 0, 1, 0});
    put32(1);
    old.insert(old.end(), full.begin() + 2204, full.end());
    const uint32_t size = static_cast<uint32_t>(old.size());
    std::memcpy(old.data(), &size, 4);

    QuickSetSettings fill = {};
    fill.dwPrintAsGray = 9;
    zqqs::ReadContext context;
    context.pFill = &fill;
    const wchar_t factory[] = L"Old";
    QuickSetHead back;
    std::vector<zqqs::PairRead> pairs;
    ASSERT_TRUE(zqqs::ReadValue(old.data(), old.size(), context, back, pairs));
    EXPECT_EQ(21u, back.dwMarker);
    EXPECT_EQ(82u, back.cchName);
    EXPECT_EQ(2020u, back.cbSettings);
    EXPECT_EQ(2, back.settings.wDuplex);
    EXPECT_EQ(9u, back.settings.dwPrintAsGray);
    EXPECT_EQ(1u, pairs.size());
    // The factory entry takes the fill whole; a finished installation refuses the short name.
    context.factoryName = factory;
    ASSERT_TRUE(zqqs::ReadValue(old.data(), old.size(), context, back, pairs));
    EXPECT_EQ(0, back.settings.wDuplex);
    context.refuseShortName = true;
    EXPECT_FALSE(zqqs::ReadValue(old.data(), old.size(), context, back, pairs));
}

// A value of one pair whose option has n units, built by hand with the pair count and size set.
std::vector<uint8_t> OptionOf(size_t n) {
    const std::vector<uint8_t> head = Write(Head(L"Q"), {});
    std::vector<uint8_t> v(head.begin(), head.begin() + 2204);
    v.insert(v.end(), {'F', 0, 0, 0, 0, 0x2E});
    for (size_t i = 0; i < n; ++i) v.insert(v.end(), {'x', 0});
    v.insert(v.end(), {0, 0, 0, 0x5E, 0, 0});
    const uint32_t size = static_cast<uint32_t>(v.size()), one = 1;
    std::memcpy(v.data(), &size, 4);
    std::memcpy(v.data() + 2200, &one, 4);
    return v;
}

TEST(QuickSetValue, ValuesThatRunPastTheirEndAreRefused) {
    QuickSetHead head;
    std::vector<zqqs::PairRead> pairs;
    const std::vector<uint8_t> longest = OptionOf(255);
    ASSERT_TRUE(zqqs::ReadValue(longest.data(), longest.size(), {}, head, pairs));
    EXPECT_EQ(255u, pairs[0].option.size());

    const std::vector<uint8_t> good = Write(Head(L"Q"), {{L"Duplex", L"NONE"}});
    struct Case {
        const char* what;
        std::vector<uint8_t> value;
        size_t at;       // a byte to change (0: none)
        uint8_t byte;
    } cases[] = {
        {"a name capacity of 83", good, 8, 83},
        {"a settings size past the end", good, 177, 0x10},
        {"a pair count past the end", good, 2200, 2},
        {"an option without its terminator", {good.begin(), good.end() - 8}, 0, 0},
        {"a value cut after the last pair", {good.begin(), good.end() - 2}, 0, 0},
        {"an option of 256 units", OptionOf(256), 0, 0},
        {"a value of eleven bytes", {good.begin(), good.begin() + 11}, 0, 0},
    };
    for (Case& c : cases) {
        if (c.at) c.value[c.at] = c.byte;
        const uint32_t size = static_cast<uint32_t>(c.value.size());
        if (size >= 4) std::memcpy(c.value.data(), &size, 4);
        EXPECT_FALSE(zqqs::ReadValue(c.value.data(), c.value.size(), {}, head, pairs)) << c.what;
    }
    std::vector<uint8_t> wrongSize = good;
    wrongSize[0] ^= 1;
    EXPECT_FALSE(zqqs::ReadValue(wrongSize.data(), wrongSize.size(), {}, head, pairs));
}

}  // namespace
