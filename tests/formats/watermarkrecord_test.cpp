// The stored watermark record: its bytes, texts of several lengths and scripts, the widths of its
// number slots, and values that end early, leave a text open or run on past the record.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "formats/zqwatermarkrecord.h"
#include "testsupport.h"

namespace {

ZQWatermarkRecord Record(const std::wstring& name, const std::wstring& text, const std::wstring& font) {
    ZQWatermarkRecord r = {};
    wcsncpy(r.szName, name.c_str(), 255);
    wcsncpy(r.szText, text.c_str(), 255);
    wcsncpy(r.szFont, font.c_str(), 255);
    return r;
}

std::vector<BYTE> Stored(const ZQWatermarkRecord& r) {
    std::vector<BYTE> bytes(zqwm::kRecordBytes, 0xCC);  // not zero-filled: every byte must be the writer's
    zqwm::Write(r, bytes.data());
    return bytes;
}

TEST(WatermarkRecord, StoredBytes) {
    ZQWatermarkRecord r = Record(L"Draft", L"Draft", L"Arial");
    r.dwAngle = 52;
    r.dwSize = 220;
    r.dwAngleMode = 0;
    r.dwShade = 1;
    r.dwStyle = 1;
    r.dwColor = 0;
    const std::vector<BYTE> bytes = Stored(r);
    std::vector<BYTE> expected;
    for (const wchar_t* text : {L"Draft", L"Draft", L"Arial"}) {
        for (const wchar_t* c = text; *c; ++c) expected.insert(expected.end(), {static_cast<BYTE>(*c), 0});
        expected.insert(expected.end(), {0, 0, 0});
    }
    expected.insert(expected.end(), {0x34, 0, 0, 0, 0xDC, 0, 0, 0, 0, 1, 1, 0xC0, 0xC0, 0xC0, 0, 0, 0, 0, 0,
                                     0xC0, 0xC0, 0xC0, 0});
    ASSERT_EQ(62u, expected.size()) << "2 x (5 + 5 + 5) + 32";
    expected.resize(zqwm::kRecordBytes, 0);
    EXPECT_EQ(expected, bytes);
}

// Texts of any script read back as written, a zero low byte after a zero high byte included (the
// first unit of U+4E00 follows 'A'); longer texts are cut to 255 units and the record stays in step.
TEST(WatermarkRecord, TextsOfSeveralLengthsAndScripts) {
    const std::wstring longText(300, L'x');
    const struct {
        std::wstring name, text, font;
    } cases[] = {
        {L"", L"", L""},
        {L"A\u4E00", L"\u4E00\u4E8C\u4E09", L"MS UI Gothic"},
        {L"A\u0100B", L"\u3000", L"\u0627\u0644\u062E\u0637"},
        {L"Entwurf \u00FC", longText, L"Verdana"},
        {longText, longText, longText},
    };
    for (const auto& c : cases) {
        ZQWatermarkRecord r = Record(c.name, c.text, c.font);
        r.dwAngle = 45;
        r.dwSize = 999;
        r.dwAngleMode = 2;
        r.dwShade = 8;
        r.dwStyle = 3;
        r.dwColor = 6;
        const std::vector<BYTE> bytes = Stored(r);
        ZQWatermarkRecord back;
        std::memset(&back, 0x5A, sizeof back);
        ASSERT_TRUE(zqwm::Read(bytes.data(), bytes.size(), &back));
        EXPECT_EQ(c.name.substr(0, 255), std::wstring(back.szName));
        EXPECT_EQ(c.text.substr(0, 255), std::wstring(back.szText));
        EXPECT_EQ(c.font.substr(0, 255), std::wstring(back.szFont));
        EXPECT_EQ(45u, back.dwAngle);
        EXPECT_EQ(999u, back.dwSize);
        EXPECT_EQ(2u, back.dwAngleMode);
        EXPECT_EQ(8u, back.dwShade);
        EXPECT_EQ(3u, back.dwStyle);
        EXPECT_EQ(6u, back.dwColor);
    }
}

// The angle, size and colour keep their low 16 bits, the one-byte fields their low byte.
TEST(WatermarkRecord, NumbersKeepTheirSlotsWidths) {
    ZQWatermarkRecord r = Record(L"W", L"W", L"F");
    r.dwAngle = 70000;
    r.dwSize = 0x12345;
    r.dwColor = 0x10007;
    r.dwAngleMode = 0x102;
    const std::vector<BYTE> bytes = Stored(r);
    ZQWatermarkRecord back = {};
    ASSERT_TRUE(zqwm::Read(bytes.data(), bytes.size(), &back));
    EXPECT_EQ(4464u, back.dwAngle);
    EXPECT_EQ(0x2345u, back.dwSize);
    EXPECT_EQ(7u, back.dwColor);
    EXPECT_EQ(2u, back.dwAngleMode);
}

// A value cut anywhere before its last field, or whose text runs to its end, is no watermark and
// is never read past; one that runs on past the record reads as the record.
TEST(WatermarkRecord, ShortUnterminatedAndOversizedValues) {
    ZQWatermarkRecord r = Record(L"Memo", L"Memo", L"Arial");
    r.dwSize = 80;
    std::vector<BYTE> bytes = Stored(r);
    const size_t used = 2 * (4 + 4 + 5) + 32;
    for (size_t size = 0; size < used; ++size) {
        zqtest::CGuardedBytes value(std::vector<BYTE>(bytes.begin(), bytes.begin() + size));
        ZQWatermarkRecord back = Record(L"kept", L"", L"");
        EXPECT_FALSE(zqwm::Read(value.Begin(), size, &back)) << size;
        EXPECT_EQ(std::wstring(L"kept"), back.szName) << "a failed read leaves the record alone";
    }
    zqtest::CGuardedBytes exact(std::vector<BYTE>(bytes.begin(), bytes.begin() + used));
    ZQWatermarkRecord back = {};
    EXPECT_TRUE(zqwm::Read(exact.Begin(), used, &back));
    EXPECT_EQ(80u, back.dwSize);

    // A name that never ends inside the value.
    std::vector<BYTE> open(600);
    for (size_t i = 0; i < open.size(); i += 2) open[i] = 'A';
    zqtest::CGuardedBytes unterminated(open);
    EXPECT_FALSE(zqwm::Read(unterminated.Begin(), open.size(), &back));

    bytes.resize(4096, 0xEE);
    EXPECT_TRUE(zqwm::Read(bytes.data(), bytes.size(), &back));
    EXPECT_EQ(std::wstring(L"Memo"), back.szName);
    EXPECT_FALSE(zqwm::Read(nullptr, 10, &back));
}

}  // namespace
