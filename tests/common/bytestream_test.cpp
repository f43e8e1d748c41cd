// The byte stream of the stored records: layout, round trips and records that end too early.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "common/zqcommon.h"
#include "testsupport.h"

namespace {

using CGuardedRecord = zqtest::CGuardedBytes;

std::vector<BYTE> SampleRecord() {
    std::vector<BYTE> buf(256, 0);
    BYTE* c = buf.data();
    CZQCommon::VWriteByte(&c, 0xA5);
    CZQCommon::VWriteWord(&c, 0x1234);
    CZQCommon::VWriteString(&c, L"a\u4E00");  // 61 00 00 4E: a zero byte inside the text
    CZQCommon::VWriteDword(&c, 0xDEADBEEF);
    CZQCommon::VWriteString(&c, L"\u65E5\u672C\u8A9E");
    CZQCommon::VWriteString(&c, L"");
    CZQCommon::VWriteDword(&c, 7);
    buf.resize(static_cast<size_t>(c - buf.data()));
    return buf;
}

TEST(ByteStream, WritesTheStoredLayout) {
    std::vector<BYTE> buf(32, 0xCC);  // not zero-filled: every written byte must be ours
    BYTE* c = buf.data();
    CZQCommon::VWriteWord(&c, 0xBEEF);
    CZQCommon::VWriteString(&c, L"ab");
    CZQCommon::VWriteDword(&c, 0x01020304);
    const BYTE expected[] = {0xEF, 0xBE, 0, 0, 'a', 0, 'b', 0, 0, 0, 0, 4, 3, 2, 1};
    ASSERT_EQ(sizeof expected, static_cast<size_t>(c - buf.data()));
    EXPECT_EQ(0, memcmp(expected, buf.data(), sizeof expected));
    EXPECT_EQ(0xCC, buf[sizeof expected]);
}

TEST(ByteStream, RoundTripWithCjkText) {
    const std::vector<BYTE> rec = SampleRecord();
    CGuardedRecord g(rec);
    BYTE* c = g.Begin();
    BYTE b = 0;
    EXPECT_TRUE(CZQCommon::BReadByte(&c, g.End(), &b));
    EXPECT_EQ(0xA5, b);
    EXPECT_EQ(0x1234u, CZQCommon::DWReadDword(&c, g.End()));  // the word's four-byte slot
    WCHAR text[256];
    CZQCommon::VReadString(&c, g.End(), text, 256);
    EXPECT_STREQ(L"a\u4E00", text);
    EXPECT_EQ(0xDEADBEEFu, CZQCommon::DWReadDword(&c, g.End()));
    CZQCommon::VReadString(&c, g.End(), text, 256);
    EXPECT_STREQ(L"\u65E5\u672C\u8A9E", text);
    CZQCommon::VReadString(&c, g.End(), text, 256);
    EXPECT_STREQ(L"", text);
    EXPECT_EQ(7u, CZQCommon::DWReadDword(&c, g.End()));
    EXPECT_EQ(g.End(), c);
    // Past the end: nothing more, and the cursor says so.
    EXPECT_FALSE(CZQCommon::BReadByte(&c, g.End(), &b));
    EXPECT_EQ(nullptr, c);
}

TEST(ByteStream, TruncatedRecordsNeverReadPastTheirEnd) {
    const std::vector<BYTE> rec = SampleRecord();
    for (size_t cut = 0; cut < rec.size(); ++cut) {
        CGuardedRecord g(std::vector<BYTE>(rec.begin(), rec.begin() + static_cast<ptrdiff_t>(cut)));
        BYTE* c = g.Begin();
        BYTE b;
        WCHAR text[256];
        CZQCommon::BReadByte(&c, g.End(), &b);
        CZQCommon::DWReadDword(&c, g.End());
        CZQCommon::VReadString(&c, g.End(), text, 256);
        CZQCommon::DWReadDword(&c, g.End());
        CZQCommon::VReadString(&c, g.End(), text, 256);
        CZQCommon::VReadString(&c, g.End(), text, 256);
        const DWORD last = CZQCommon::DWReadDword(&c, g.End());
        EXPECT_EQ(nullptr, c) << "cut at " << cut;
        EXPECT_EQ(0u, last);
        EXPECT_LT(wcslen(text), 256u);
    }
}

TEST(ByteStream, UnterminatedStringReadsEmpty) {
    std::vector<BYTE> rec = {'a', 0, 'b', 0, 'c'};  // no zero unit before the end
    CGuardedRecord g(rec);
    BYTE* c = g.Begin();
    WCHAR text[8] = L"old";
    CZQCommon::VReadString(&c, g.End(), text, 8);
    EXPECT_STREQ(L"", text);
    EXPECT_EQ(nullptr, c);
    // Terminator present but the third zero byte missing: the record is short as well.
    CGuardedRecord g2(std::vector<BYTE>{'a', 0, 0, 0});
    c = g2.Begin();
    CZQCommon::VReadString(&c, g2.End(), text, 8);
    EXPECT_EQ(nullptr, c);
}

TEST(ByteStream, LongStringsAreCutButTheRecordStaysInStep) {
    std::vector<BYTE> rec(1024, 0);
    BYTE* c = rec.data();
    // Written by someone else: 300 characters, longer than any buffer of ours.
    for (int i = 0; i < 300; ++i) {
        *c++ = static_cast<BYTE>('a' + i % 26);
        *c++ = 0;
    }
    c += 3;
    CZQCommon::VWriteDword(&c, 0x55AA);
    rec.resize(static_cast<size_t>(c - rec.data()));
    CGuardedRecord g(rec);
    BYTE* r = g.Begin();
    WCHAR text[256];
    CZQCommon::VReadString(&r, g.End(), text, 256);
    EXPECT_EQ(255u, wcslen(text));
    EXPECT_EQ(0x55AAu, CZQCommon::DWReadDword(&r, g.End()));

    // Our writer keeps to 255 characters.
    std::wstring longText(400, L'x');
    std::vector<BYTE> out(1024, 0);
    BYTE* w = out.data();
    CZQCommon::VWriteString(&w, longText.c_str());
    EXPECT_EQ(255u * 2 + 3, static_cast<size_t>(w - out.data()));
}

}  // namespace
