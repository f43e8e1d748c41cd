// Under the core driver stand-in: the desk printer keeps jobs, so its Printing Preferences have a
// Job Storage page; a private job with its names and PIN reaches the devmode on OK, a short PIN keeps
// the user on the page with the PIN message, and a copy of the model whose names are UTF-8 keeps
// what the 8-bit rules would not.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "formats/zquidevmode.h"
#include "hosttest.h"
#include "res/zqjobstorageids.h"
#include "testsupport.h"
#include "zqhostapp.h"
#include "zqinstall.h"
#include "zqprinter.h"

namespace {

using JobStorageUnderHost = zqhosttest::SamplePrintersTest;

// Message boxes of the sheet's thread are answered with OK; their texts are kept.
struct BoxCloser {
    HWND sheet = nullptr;
    std::vector<std::wstring> texts;
};
thread_local BoxCloser* t_closer = nullptr;

BOOL CALLBACK AddText(HWND child, LPARAM lParam) {
    WCHAR cls[16] = {}, text[512] = {};
    GetClassNameW(child, cls, 16);
    if (lstrcmpiW(cls, L"Static") == 0 && GetWindowTextW(child, text, 512) > 0)
        *reinterpret_cast<std::wstring*>(lParam) += text;
    return TRUE;
}

BOOL CALLBACK CloseBox(HWND hwnd, LPARAM) {
    WCHAR cls[16] = {};
    GetClassNameW(hwnd, cls, 16);
    if (lstrcmpW(cls, L"#32770") != 0 || hwnd == t_closer->sheet || !IsWindowVisible(hwnd)) return TRUE;
    std::wstring text;
    EnumChildWindows(hwnd, &AddText, reinterpret_cast<LPARAM>(&text));
    t_closer->texts.push_back(text);
    PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return FALSE;
}

void CALLBACK CloseBoxes(HWND, UINT, UINT_PTR, DWORD) {
    if (t_closer) EnumThreadWindows(GetCurrentThreadId(), &CloseBox, 0);
}

// Preferences of the printer after `hook` on its Job Storage page (false when it has none); the
// plug-in's block on OK.
ZQUIDevmode OnJobStorage(const std::wstring& printer, bool* shown, const std::function<void(HWND, HWND)>& hook) {
    CZQSpoolPrinter h = zqhosttest::OpenFully(printer);
    std::vector<BYTE> out;
    *shown = false;
    {
        CZQAutoPress press(50, [&](HWND sheet) {
            *shown = ZQShowPage(sheet, L"Job Storage");
            if (*shown) hook(sheet, ZQCurrentPage(sheet));
        });
        EXPECT_EQ(IDOK, ZQOpenPreferences(h.Get(), printer, nullptr, out));
    }
    ZQUIDevmode block = {};
    if (const BYTE* oem = out.empty() ? nullptr : zqhosttest::OemBlock(out)) std::memcpy(&block, oem, sizeof block);
    return block;
}

std::wstring Name(const zqwchar (&name)[257]) { return reinterpret_cast<const wchar_t*>(name); }

TEST_F(JobStorageUnderHost, APrivateJobWithItsNamesAndPinReachesTheDevmode) {
    zqhosttest::ResetToDefaults(zqhosttest::kDeskPrinter);
    bool shown = false, stayed = false, hints = false;
    BoxCloser closer;
    const ZQUIDevmode block = OnJobStorage(zqhosttest::kDeskPrinter, &shown, [&](HWND sheet, HWND page) {
        hints = IsWindowVisible(GetDlgItem(page, IDC_STAT_JOBID_USER_NAME)) != FALSE;
        ASSERT_TRUE(ZQChooseOnPage(page, L"Private Job", L"on"));
        ASSERT_TRUE(ZQChooseOnPage(page, L"#332", L"ALICE"));
        ASSERT_TRUE(ZQChooseOnPage(page, L"#334", L"REPORT-Q3"));
        ASSERT_TRUE(ZQChooseOnPage(page, L"#336", L"12"));
        // Going to another page with a short PIN: the message, and the page stays.
        closer.sheet = sheet;
        t_closer = &closer;
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, &CloseBoxes);
        ZQShowPage(sheet, L"Paper/Quality");
        KillTimer(nullptr, timer);
        t_closer = nullptr;
        stayed = ZQCurrentPage(sheet) == page;
        ASSERT_TRUE(ZQChooseOnPage(page, L"#336", L"4321"));
    });
    ASSERT_TRUE(shown) << "the desk printer keeps jobs";
    EXPECT_TRUE(hints) << "the desk printer's names take 8-bit characters";
    EXPECT_TRUE(stayed);
    ASSERT_EQ(1u, closer.texts.size());
    EXPECT_NE(std::wstring::npos, closer.texts[0].find(L"must have exactly four digits")) << closer.texts[0];
    EXPECT_EQ(2u, block.dwRetentionMode);
    EXPECT_EQ(1u, block.dwPinRequired);
    EXPECT_EQ(4321u, block.dwPinNumber);
    EXPECT_EQ(L"ALICE", Name(block.szJsUserName));
    EXPECT_EQ(L"REPORT-Q3", Name(block.szJsJobName));
    EXPECT_EQ(1u, block.dwUserNameCustom);
    EXPECT_EQ(1u, block.dwJobNameCustom);
}

TEST_F(JobStorageUnderHost, ACopyWithUtf8NamesKeepsWhatThe8BitRulesWouldNot) {
    std::ifstream in(zqtest::BesideExe(zqhosttest::kDeskModel).c_str(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    std::string model = text.str();
    model.replace(model.find("Inkjet\n"), 7, "UTF-8\n");
    model.replace(model.find("Default=8bitEncoding"), 20, "Default=UTF8");
    const std::wstring path = zqtest::BesideExe(L"samples\\zqdesk\\zqdeskutf8.zqm");
    std::ofstream(path.c_str(), std::ios::binary) << model;
    const std::wstring printer = L"ZQ Desk 2400 UTF-8";
    ZQInstallResult installed;
    ASSERT_TRUE(ZQInstallPrinter(path, zqtest::ExeDir(), printer, installed)) << ZQUtf8(installed.error);
    bool shown = false, hints = true;
    const ZQUIDevmode block = OnJobStorage(printer, &shown, [&](HWND, HWND page) {
        hints = IsWindowVisible(GetDlgItem(page, IDC_STAT_JOBID_USER_NAME)) != FALSE;
        ASSERT_TRUE(ZQChooseOnPage(page, L"Quick Copy", L"on"));
        ASSERT_TRUE(ZQChooseOnPage(page, L"#332", L"Zo\u00EB"));
    });
    ASSERT_TRUE(shown);
    EXPECT_FALSE(hints);
    EXPECT_EQ(3u, block.dwRetentionMode);
    EXPECT_EQ(L"Zo\u00EB", Name(block.szJsUserName));
}

}  // namespace
