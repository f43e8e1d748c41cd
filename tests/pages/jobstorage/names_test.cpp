// The names and the PIN on the Job Storage page: the automatic names, each encoding's rules when a
// name's edit or the page is left, the job name left empty with and without Shift, and the PIN typed
// or pasted.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "jobstoragetest.h"

namespace {

const std::wstring kReplaced =
    L"One or more characters entered are not displayable on the control panel, and have been replaced with a '~'";

struct NameCase {
    const char* encoding;
    const wchar_t* typed;
    const wchar_t* shown;   // the edit afterwards (null: the automatic name)
    const wchar_t* stored;  // the working copy's name (null: the automatic name)
    bool message;
    bool custom;
    bool userLeftCustom = false;  // the user name's edit left: Custom checked all the same
};

class NameRules : public JobStoragePage, public testing::WithParamInterface<NameCase> {};

// One rule for the user name and the job name, whether the user leaves the edit or the whole page.
TEST_P(NameRules, LeavingTheNameOrThePageAppliesTheEncodingsRules) {
    const NameCase& c = GetParam();
    m_core.dwRetentionMode = 1;
    Build(c.encoding);
    for (bool user : {true, false}) {
        const int edit = user ? IDC_TXT_USER_NAME : IDC_TXT_JOB_NAME;
        for (bool page : {false, true}) {
            SCOPED_TRACE(std::string(user ? "user name, " : "job name, ") + (page ? "page left" : "edit left"));
            if (m_page) DestroyWindow(m_page);
            ASSERT_NE(nullptr, Open());
            const std::wstring automatic = Text(edit);
            BoxAnswers boxes;
            Type(edit, c.typed);
            EXPECT_TRUE(Checked(user ? IDC_RB_USER_CUSTOM : IDC_RB_JOB_CUSTOM));
            if (page) EXPECT_EQ(FALSE, Notify(PSN_KILLACTIVE));
            else Leave(edit);
            EXPECT_EQ(c.shown ? c.shown : automatic, Text(edit));
            EXPECT_EQ(c.stored ? c.stored : automatic, Name(user ? Work().szJsUserName : Work().szJsJobName));
            const bool userLeft = user && !page;
            const bool customChecked = c.custom || (c.userLeftCustom && userLeft);
            EXPECT_EQ(customChecked, Checked(user ? IDC_RB_USER_CUSTOM : IDC_RB_JOB_CUSTOM));
            if (c.message && !page) {
                EXPECT_EQ(userLeft || c.shown ? Ctl(edit) : Ctl(IDC_RB_JOB_AUTO), GetFocus()) << "the focus";
            }
            EXPECT_EQ(c.custom ? 1u : 0u, user ? Work().dwUserNameCustom : Work().dwJobNameCustom);
            ASSERT_EQ(c.message ? 1u : 0u, boxes.texts.size());
            if (c.message) {
                EXPECT_EQ(kReplaced + L"|Error", boxes.texts[0] + L"|" + boxes.captions[0]);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, NameRules,
    testing::Values(NameCase{"UTF8", L"Zo\u00EB", L"Zo\u00EB", L"Zo\u00EB", false, true},
                    NameCase{"UTF8", L"a/b", L"a~b", L"a~b", true, true},
                    // The 8-bit rules keep the name in the edit but only plain ASCII in the settings.
                    NameCase{"8bitEncoding", L"Zo\u00EB", L"Zo\u00EB", nullptr, false, true},
                    NameCase{"ISO8859-2", L"Zo\u00EB", L"Zo~", L"Zo~", true, true},
                    NameCase{"", L"say \"hi\"", L"say ~hi~", L"say ~hi~", true, true},
                    // Nothing the panel shows: the automatic name; its button, but for a user name left
                    // (the emptied name is not the automatic one).
                    NameCase{"8bitEncoding", L"\u4E00\u4E01", nullptr, nullptr, true, false, true},
                    NameCase{"UTF8", L"\u4E00\uA000\uA001", L"\u4E00~~", L"\u4E00~~", true, true},
                    // A character beyond the first 65,536: one "~" per UTF-16 unit.
                    NameCase{"UTF8", L"a\U0001F600b", L"a~~b", L"a~~b", true, true}));

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
// are kept as the number they give; the edit takes no more than four, and a PIN not required is
// never refused.
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
    for (bool required : {true, false}) {
        if (Checked(IDC_CHK_REQ_PIN) != required) Click(m_page, IDC_CHK_REQ_PIN);
        BoxAnswers boxes;
        // Pasted: the clipboard's text into the emptied edit.
        SetDlgItemTextW(m_page, IDC_TXT_PIN, L"");
        ASSERT_TRUE(OpenClipboard(m_page));
        EmptyClipboard();
        HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, sizeof L"123456");
        memcpy(GlobalLock(copy), L"123456", sizeof L"123456");
        GlobalUnlock(copy);
        SetClipboardData(CF_UNICODETEXT, copy);
        CloseClipboard();
        SendDlgItemMessageW(m_page, IDC_TXT_PIN, WM_PASTE, 0, 0);
        EXPECT_EQ(L"1234", Text(IDC_TXT_PIN));
        EXPECT_EQ(1234u, Work().dwPinNumber);
        SetDlgItemTextW(m_page, IDC_TXT_PIN, L"12");
        EXPECT_EQ(required ? TRUE : FALSE, Notify(PSN_KILLACTIVE));
        EXPECT_EQ(required ? 1u : 0u, boxes.texts.size());
    }
}

}  // namespace
