#include <gtest/gtest.h>

#include <vector>

#include "common/zqdevmodetags.h"

namespace {

const GUID kRunA = {0x11111111, 0x2222, 0x3333, {1, 2, 3, 4, 5, 6, 7, 8}};
const GUID kRunB = {0xaaaaaaaa, 0xbbbb, 0xcccc, {8, 7, 6, 5, 4, 3, 2, 1}};

std::vector<BYTE> BufferWithRecordAt(size_t size, size_t offset) {
    std::vector<BYTE> buf(size, 0xCD);
    zqtag::WriteEmptyRecord(buf.data() + offset);
    return buf;
}

TEST(DevmodeTags, FoundAtEveryOffsetIncludingTheLastWholeOne) {
    const size_t size = 200;
    for (size_t off = 0; off + zqtag::kRecordSize <= size; ++off) {
        auto buf = BufferWithRecordAt(size, off);
        BYTE* value = nullptr;
        ASSERT_TRUE(CZQDevmodeTags::BGetValue(buf.data(), static_cast<DWORD>(size), &value)) << off;
        EXPECT_EQ(value, buf.data() + off + zqtag::kValueOffset) << off;
    }
}

TEST(DevmodeTags, RecordCutByTheEndOfTheGivenSizeIsNotFound) {
    auto buf = BufferWithRecordAt(200, 136);  // ends exactly at 200
    BYTE* value = nullptr;
    EXPECT_TRUE(CZQDevmodeTags::BGetValue(buf.data(), 200, &value));
    EXPECT_FALSE(CZQDevmodeTags::BGetValue(buf.data(), 199, &value));
    EXPECT_FALSE(CZQDevmodeTags::BGetValue(buf.data(), 63, &value));
    EXPECT_FALSE(CZQDevmodeTags::BGetValue(buf.data(), 0, &value));
}

TEST(DevmodeTags, SetFillsTheFirstEmptyRecordAndClearFindsItByValue) {
    std::vector<BYTE> buf(300, 0);
    zqtag::WriteEmptyRecord(buf.data() + 10);
    zqtag::WriteEmptyRecord(buf.data() + 150);

    ASSERT_TRUE(CZQDevmodeTags::BSetValue(buf.data(), 300, kRunA));
    EXPECT_EQ(0, memcmp(buf.data() + 10 + zqtag::kValueOffset, &kRunA, 16));
    ASSERT_TRUE(CZQDevmodeTags::BSetValue(buf.data(), 300, kRunB));
    EXPECT_EQ(0, memcmp(buf.data() + 150 + zqtag::kValueOffset, &kRunB, 16));
    // Both records hold a value now.
    EXPECT_FALSE(CZQDevmodeTags::BSetValue(buf.data(), 300, kRunA));

    // The first record is reported whatever it holds.
    BYTE* value = nullptr;
    ASSERT_TRUE(CZQDevmodeTags::BGetValue(buf.data(), 300, &value));
    EXPECT_EQ(value, buf.data() + 10 + zqtag::kValueOffset);

    ASSERT_TRUE(CZQDevmodeTags::BClearValue(buf.data(), 300, kRunB));
    EXPECT_EQ(0, memcmp(buf.data() + 10 + zqtag::kValueOffset, &kRunA, 16)) << "other record untouched";
    const BYTE zero[16] = {};
    EXPECT_EQ(0, memcmp(buf.data() + 150 + zqtag::kValueOffset, zero, 16));
    EXPECT_FALSE(CZQDevmodeTags::BClearValue(buf.data(), 300, kRunB)) << "no record holds it any more";
}

TEST(DevmodeTags, NullOrRecordlessBuffersFailCleanly) {
    SetLastError(0);
    EXPECT_FALSE(CZQDevmodeTags::BSetValue(nullptr, 100, kRunA));
    EXPECT_EQ(ERROR_INVALID_DATA, GetLastError());
    BYTE* value = nullptr;
    EXPECT_FALSE(CZQDevmodeTags::BGetValue(nullptr, 100, &value));
    EXPECT_FALSE(CZQDevmodeTags::BClearValue(nullptr, 100, kRunA));

    std::vector<BYTE> plain(500, 0);
    EXPECT_FALSE(CZQDevmodeTags::BSetValue(plain.data(), 500, kRunA));
    EXPECT_FALSE(CZQDevmodeTags::BGetValue(plain.data(), 500, &value));
}

TEST(DevmodeTags, DamagedMarkersAreNotARecord) {
    for (size_t damaged : {0u, 15u, 16u, 31u, 48u, 63u}) {
        auto buf = BufferWithRecordAt(64, 0);
        buf[damaged] ^= 0xFF;
        BYTE* value = nullptr;
        EXPECT_FALSE(CZQDevmodeTags::BGetValue(buf.data(), 64, &value)) << damaged;
    }
}

}  // namespace
