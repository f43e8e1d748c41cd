// The name and PIN rules on their own: the plain-ASCII test and its replacement, the automatic
// names, and the PIN as typed, stored, shown and checked.
#include <gtest/gtest.h>

#include <string>

#include "formats/zqjobnames.h"

namespace {

std::wstring Replaced(const wchar_t* text, size_t room, bool* replaced) {
    wchar_t buffer[kZQNameChars] = {};
    wcsncpy(buffer, text, kZQNameChars - 1);
    *replaced = ZQReplaceIfNotPlainAscii(buffer, room, L"AUTOMATIC");
    return buffer;
}

TEST(JobNameRules, PlainAsciiOrTheFallBack) {
    const struct {
        const wchar_t* text;
        size_t room;
        const wchar_t* result;
    } cases[] = {
        {L"Job 42~!", kZQNameChars, L"Job 42~!"},
        {L"", kZQNameChars, L"AUTOMATIC"},
        {L"say \"hi\"", kZQNameChars, L"AUTOMATIC"},
        {L"A\u3000", kZQNameChars, L"AUTOMATIC"},  // a zero low byte under a non-zero high byte
        {L"tab\there", kZQNameChars, L"AUTOMATIC"},
        {L"\u007F", 5, L"AUTO"},  // cut to the room, terminated
    };
    for (const auto& c : cases) {
        bool replaced = false;
        EXPECT_EQ(c.result, Replaced(c.text, c.room, &replaced));
        EXPECT_EQ(replaced, !ZQIsPlainAscii(c.text)) << std::wstring(c.text).size();
    }
}

TEST(JobNameRules, AutomaticNames) {
    for (const wchar_t* unusable : {L"", L"AB", L"A~B", L"<~~>", L"~~~"}) EXPECT_FALSE(ZQAutomaticJobNameUsable(unusable));
    for (const wchar_t* usable : {L"ABC", L"<Automatic>", L"~A~"}) EXPECT_TRUE(ZQAutomaticJobNameUsable(usable));
    wchar_t user[kZQNameChars] = L"JDOE-ADMINISTRATOR";
    ZQMakeAutomaticUserName(user, ZQNameEncoding::kAscii);
    EXPECT_STREQ(L"JDOE-ADMINISTRAT", user);
    wcscpy(user, L"\u00C5SA");
    ZQMakeAutomaticUserName(user, ZQNameEncoding::k8Bit);
    EXPECT_STREQ(L"\u00C5SA", user);
    ZQMakeAutomaticUserName(user, ZQNameEncoding::kAscii);
    EXPECT_STREQ(L"~SA", user);
}

TEST(JobNameRules, PinTypedStoredShownAndChecked) {
    const struct {
        const wchar_t* typed;
        const wchar_t* kept;
        uint32_t value;
        bool acceptedWhenRequired;
    } cases[] = {
        {L"0007", L"0007", 7, true}, {L"123", L"123", 123, false}, {L"", L"", 0, false},
        {L"12a4", L"0000", 0, true}, {L"\uFF11234", L"0000", 0, true},  // a full-width digit is no digit
    };
    for (const auto& c : cases) {
        wchar_t pin[kZQNameChars] = {};
        wcscpy(pin, c.typed);
        EXPECT_EQ(std::wstring(c.typed) != c.kept, ZQPinTyped(pin));
        EXPECT_STREQ(c.kept, pin);
        EXPECT_EQ(c.value, ZQPinValue(pin));
        EXPECT_EQ(c.acceptedWhenRequired, ZQPinAccepted(pin, true));
        EXPECT_TRUE(ZQPinAccepted(pin, false));
    }
    EXPECT_EQ(0xFFFFFFFFu, ZQPinValue(L"99999999999"));
    wchar_t shown[kZQPinDigits + 1];
    for (const auto& [stored, text] : {std::pair<uint32_t, const wchar_t*>{42, L"0042"}, {9999, L"9999"}, {10000, L"0000"}}) {
        ZQFormatPin(stored, shown);
        EXPECT_STREQ(text, shown);
    }
}

}  // namespace
