// The status value's layouts as decoded: the pens counted, the header and the pen fields.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "formats/zqpenstatus.h"

namespace {

PenStatus Decode(const std::string& value) {
    PenStatus s;
    EXPECT_TRUE(ZQDecodeStatus(value.data(), value.size(), &s)) << value;
    return s;
}

TEST(PenStatusLayout, PensCountedByVersion) {
    const std::string header = "12345\xF0" "789A0C";  // character 6 beyond 127 reads negative
    struct Row {
        const char* what;
        std::string value;
        int count;
    } rows[] = {
        {"v0: digit B", "00" + header + "007" + "01000000", 7},
        {"v1: digit B", "01" + header + "00F", 15},
        {"v3: neither 0 nor the marker", "03" + header + "00000" + "80000000" + "0100000000000000C000000002000000", 2},
        {"v3: a word cut by the end counts", "03" + header + "000000100", 1},
        {"v4: the markers left out", "04" + header + "000000000" + "00000000C0000000", 1},
        {"v4: a missing word is a pen", "04" + header + "000000000C0000000", 1},
    };
    for (const Row& r : rows) {
        const PenStatus s = Decode(r.value);
        EXPECT_EQ(r.count, s.iPenCount) << r.what;
        EXPECT_EQ(-16, s.aiHeader[5]) << r.what;
        EXPECT_EQ(12, s.aiHeader[11]) << r.what;
    }
    PenStatus s;
    EXPECT_FALSE(ZQDecodeStatus("", 0, &s));
    EXPECT_FALSE(ZQDecodeStatus("05", 2, &s));
    EXPECT_TRUE(ZQDecodeStatus("04", 2, &s)) << "a value shorter than its layout reads zeros";
    EXPECT_EQ(2, s.iPenCount);
}

TEST(PenStatusLayout, PenFieldsOfBothWordSizes) {
    // 0xDA5B2CF7: 11 011010 01011 011 00 1 01100 11110111; the 16-bit 0x9BF5: 1001 101 11 1110101.
    const PenStatus wide = Decode("01" + std::string(12, '0') + "001" + "DA5B2CF7");
    const ZQPen fields = {3, 26, 11, 3, 0, 1, 12, 0xF7};
    EXPECT_EQ(0, std::memcmp(&wide.aPens[0], &fields, sizeof fields));
    const PenStatus narrow = Decode("02" + std::string(12, '0') + "001" + "00009BF5");
    const ZQPen expected = {9, 0, 0, 5, 3, 0, 0, 0x75};
    EXPECT_EQ(0, std::memcmp(&narrow.aPens[0], &expected, sizeof expected));
}

}  // namespace
