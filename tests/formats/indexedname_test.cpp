// The pools' value names: the text behind a prefix as the stores' edit reads it (exact) and as the
// quick sets read it (any number), and the bound on a quick set's name.
#include <gtest/gtest.h>

#include <string>

#include "formats/zqindexedname.h"

namespace {

TEST(IndexedName, WrittenAndRead) {
    EXPECT_EQ(std::wstring(L"WatermarkPool:-5"), zqname::IndexedName(L"WatermarkPool:", -5));
    EXPECT_EQ(std::wstring(L"3"), zqname::IndexedName(nullptr, 3));

    const struct {
        const wchar_t* text;
        long long index;
        bool exact;
    } rows[] = {
        {L"12", 12, true},        {L"0012", 12, true},       {L"2147483647", 2147483647, true},
        {L"", 0, false},          {L"+3", 3, false},          {L"-3", -3, false},
        {L"7x", 7, false},        {L"2147483648", 0, false}, {L"x7", 0, false},
    };
    for (const auto& row : rows) {
        const zqname::IndexRead read = zqname::ReadIndex(row.text);
        EXPECT_EQ(row.index, read.index) << row.text;
        EXPECT_EQ(row.exact, read.exact) << row.text;
    }

    // Only a quick set's first 255 characters count: digits beyond them are not read.
    std::wstring name(253, L'a');
    name += L":42";
    EXPECT_EQ(4, zqname::IndexAfterColon(name.c_str()));
    name.insert(0, L"a");
    EXPECT_EQ(0, zqname::IndexAfterColon(name.c_str()));
}

}  // namespace
