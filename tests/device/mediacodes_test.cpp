// The media-code table: names to codes and codes to the first name of the code.
#include <gtest/gtest.h>

#include "device/zqmediacodes.h"

namespace {

TEST(MediaCodes, NameToCodeWithoutRegardToCase) {
    DWORD code = 99;
    EXPECT_TRUE(BMediaCodeFromName(L"plain", &code));
    EXPECT_EQ(1000u, code);
    EXPECT_TRUE(BMediaCodeFromName(L"ZQ_Extra_Heavy_Matte_Paper", &code));
    EXPECT_EQ(1121u, code);
    EXPECT_TRUE(BMediaCodeFromName(L"BACKLIT_MATERIAL", &code));
    EXPECT_EQ(3200u, code);
    EXPECT_FALSE(BMediaCodeFromName(L"PLAIN_PAPERS", &code));
    EXPECT_EQ(0u, code) << "the code is cleared first";
    EXPECT_FALSE(BMediaCodeFromName(nullptr, &code));
    EXPECT_FALSE(BMediaCodeFromName(L"PLAIN", nullptr));
}

TEST(MediaCodes, CodeGivesTheFirstRowOfThatCode) {
    WCHAR name[64];
    EXPECT_TRUE(BGetMediaNameFromCode(1000, name, 64));
    EXPECT_STREQ(L"PLAIN_PAPER", name);
    EXPECT_TRUE(BGetMediaNameFromCode(1110, name, 64));
    EXPECT_STREQ(L"HEAVYWEIGHT_COATED_PAPER", name);
    EXPECT_TRUE(BGetMediaNameFromCode(1120, name, 64));
    EXPECT_STREQ(L"SUPER_HEAVYWEIGHT_COATED_PAPER", name);
    EXPECT_TRUE(BGetMediaNameFromCode(4052, name, 64));
    EXPECT_STREQ(L"ZQ_TEXTURED_FINE_ART", name);
}

TEST(MediaCodes, CodeZeroUnknownCodesAndSmallBuffers) {
    WCHAR name[8];
    wmemset(name, L'#', 8);
    EXPECT_FALSE(BGetMediaNameFromCode(0, name, 8));
    EXPECT_EQ(L'\0', name[7]) << "zero-filled";
    EXPECT_FALSE(BGetMediaNameFromCode(1001, name, 8));
    EXPECT_FALSE(BGetMediaNameFromCode(1000, nullptr, 8));
    EXPECT_FALSE(BGetMediaNameFromCode(1000, name, 0));
    // A capacity of 1 gives an empty text for a known code; a short one cuts the name.
    EXPECT_TRUE(BGetMediaNameFromCode(1000, name, 1));
    EXPECT_STREQ(L"", name);
    EXPECT_TRUE(BGetMediaNameFromCode(3020, name, 4));
    EXPECT_STREQ(L"VEL", name);
}

}  // namespace
