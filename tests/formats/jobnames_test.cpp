// The name and PIN rules at their edges: a zero low byte under a non-zero high byte is no plain
// ASCII, a replaced name is cut to its room, a loaded automatic job name needs something but "~"
// inside, and a PIN no four digits give is shown as zeros.
#include <gtest/gtest.h>

#include <cwchar>

#include "formats/zqjobnames.h"

namespace {

TEST(JobNameRules, Edges) {
    for (const wchar_t* other : {L"", L"say \"hi\"", L"A\u3000", L"tab\there", L"\u007F"}) EXPECT_FALSE(ZQIsPlainAscii(other));
    EXPECT_TRUE(ZQIsPlainAscii(L"Job 42~!"));
    wchar_t name[kZQNameChars] = L"Zo\u00EB";
    EXPECT_TRUE(ZQReplaceIfNotPlainAscii(name, 5, L"AUTOMATIC"));
    EXPECT_STREQ(L"AUTO", name);

    for (const wchar_t* unusable : {L"", L"AB", L"A~B", L"<~~>"}) EXPECT_FALSE(ZQAutomaticJobNameUsable(unusable));
    for (const wchar_t* usable : {L"ABC", L"~A~"}) EXPECT_TRUE(ZQAutomaticJobNameUsable(usable));

    wchar_t pin[kZQNameChars] = L"\uFF11234";  // a full-width digit is no digit
    EXPECT_TRUE(ZQPinTyped(pin));
    EXPECT_STREQ(L"0000", pin);
    EXPECT_EQ(0xFFFFFFFFu, ZQPinValue(L"99999999999"));
    wchar_t shown[kZQPinDigits + 1];
    ZQFormatPin(10000, shown);
    EXPECT_STREQ(L"0000", shown);
}

}  // namespace
