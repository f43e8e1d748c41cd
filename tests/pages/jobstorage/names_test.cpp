// The names and the PIN on the Job Storage page: the automatic names, each encoding's rules when a
// name's edit or the page is left, the job name left empty with and without Shift, and the PIN typed
// or pasted.
#include <gtest/gtest.h>

#include <string>

#include "jobstoragetest.h"

namespace {

const std::wstring kReplaced =
    L"One or more characters entered are not displayable on the control panel, and have been replaced with a '~'";

struct NameCase {
    const char* encoding;
    const wchar_t* typed;
    const wchar_t* shown;   // the edit afterwards
    const wchar_t* stored;  // the working copy's user name
    bool message;
    bool custom;
};

class UserNameRules : public JobStoragePage, public testing::WithParamInterface<NameCase> {};

// The same rules whether the user leaves the edit or the whole page.
TEST_P(UserNameRules, LeavingTheNameOrThePageAppliesTheEncodingsRules) {
    const NameCase& c = GetParam();
    m_core.dwRetentionMode = 1;
    Build(c.encoding);
    for (bool page : {false, true}) {
        SCOPED_TRACE(page ? "page left" : "edit left");
        if (m_page) DestroyWindow(m_page);
        ASSERT_NE(nullptr, Open());
        BoxAnswers boxes;
        Type(IDC_TXT_USER_NAME, c.typed);
        EXPECT_TRUE(Checked(IDC_RB_USER_CUSTOM));
        if (page) EXPECT_EQ(FALSE, Notify(PSN_KILLACTIVE));
        else Leave(IDC_TXT_USER_NAME);
        EXPECT_EQ(c.shown, Text(IDC_TXT_USER_NAME));
        EXPECT_EQ(c.stored, Name(Work().szJsUserName));
        EXPECT_EQ(c.custom, Checked(IDC_RB_USER_CUSTOM));
        EXPECT_EQ(c.custom ? 1u : 0u, Work().dwUserNameCustom);
        ASSERT_EQ(c.message ? 1u : 0u, boxes.texts.size());
        if (c.message) {
            EXPECT_EQ(kReplaced + L"|Error", boxes.texts[0] + L"|" + boxes.captions[0]);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, UserNameRules,
    testing::Values(NameCase{"UTF8", L"Zo\u00EB", L"Zo\u00EB", L"Zo\u00EB", false, true},
                    NameCase{"UTF8", L"a/b", L"a~b", L"a~b", true, true},
                    // The 8-bit rules keep the name in the edit but only plain ASCII in the settings.
                    NameCase{"8bitEncoding", L"Zo\u00EB", L"Zo\u00EB", L"JSMITH", false, true},
                    NameCase{"ISO8859-2", L"Zo\u00EB", L"Zo~", L"Zo~", true, true},
                    NameCase{"", L"say \"hi\"", L"say ~hi~", L"say ~hi~", true, true},
                    // Nothing the panel shows: the automatic name, and its button.
                    NameCase{"8bitEncoding", L"\u4E00\u4E01", L"JSMITH", L"JSMITH", true, false}));

struct AutomaticCase {
    const char* encoding;
    const wchar_t* user;
    const wchar_t* automatic;
};

class AutomaticNames : public JobStoragePage, public testing::WithParamInterface<AutomaticCase> {};

// The automatic user name is the Windows user's in capitals, cut to 16 characters; one the encoding
// cannot show at all gives the status module's fall-back name.
TEST_P(AutomaticNames, FollowTheWindowsUser) {
    const AutomaticCase& c = GetParam();
    SetUser(c.user);
    Build(c.encoding);
    ASSERT_NE(nullptr, Open());
    EXPECT_EQ(c.automatic, Text(IDC_TXT_USER_NAME));
    EXPECT_EQ(L"[Automatic]", Text(IDC_TXT_JOB_NAME)) << "the status module's automatic job name";
}

INSTANTIATE_TEST_SUITE_P(Users, AutomaticNames,
                         testing::Values(AutomaticCase{"8bitEncoding", L"jdoe-administrator", L"JDOE-ADMINISTRAT"},
                                         AutomaticCase{"8bitEncoding", L"\u30B8\u30E7\u30F3", L"PRINTER USER"},
                                         AutomaticCase{"UTF8", L"\u30B8\u30E7\u30F3", L"\u30B8\u30E7\u30F3"}));

// An empty job name left backwards (Shift+Tab) stays empty for now; left forwards it is the
// automatic one again. Clicking into the automatic name starts a custom one.
TEST_F(JobStoragePage, JobNameLeftEmptyWithAndWithoutShift) {
    m_core.dwRetentionMode = 3;
    Build();
    ASSERT_NE(nullptr, Open());
    Notice(m_page, IDC_TXT_JOB_NAME, EN_SETFOCUS);
    EXPECT_EQ(L"", Text(IDC_TXT_JOB_NAME));
    EXPECT_TRUE(Checked(IDC_RB_JOB_CUSTOM));
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    Leave(IDC_TXT_JOB_NAME);
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(L"", Text(IDC_TXT_JOB_NAME));
    EXPECT_TRUE(Checked(IDC_RB_JOB_CUSTOM));
    Leave(IDC_TXT_JOB_NAME);
    EXPECT_EQ(L"[Automatic]", Text(IDC_TXT_JOB_NAME));
    EXPECT_TRUE(Checked(IDC_RB_JOB_AUTO));
    EXPECT_EQ(L"[Automatic]", Name(Work().szJsJobName));
    EXPECT_EQ(0u, Work().dwJobNameCustom);
}

// A pasted PIN with a letter among its digits is four zeros with the caret after them; four digits
// are kept as the number they give.
TEST_F(JobStoragePage, PinTypedOrPasted) {
    m_core.dwRetentionMode = 2;
    Build();
    ASSERT_NE(nullptr, Open());
    Type(IDC_TXT_PIN, L"12a4");
    EXPECT_EQ(L"0000", Text(IDC_TXT_PIN));
    DWORD start = 0, end = 0;
    SendMessageW(Ctl(IDC_TXT_PIN), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(4u, start);
    EXPECT_EQ(4u, end);
    EXPECT_EQ(0u, Work().dwPinNumber);
    Type(IDC_TXT_PIN, L"0815");
    EXPECT_EQ(815u, Work().dwPinNumber);
}

}  // namespace
