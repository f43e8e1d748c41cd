// The host tool run as a newcomer runs it: each failure ends with its message and a non-zero exit
// code, and the printer's stored devmode and shortcuts stay as they were (a sheet is cancelled, not
// confirmed); what succeeds says what happened.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "hosttest.h"
#include "testsupport.h"
#include "zqowner.h"

namespace {

const std::wstring kDesk = zqhosttest::kDeskPrinter;
// A desktop whose graphics driver cannot load: what Wine gives a program when no display is there.
constexpr wchar_t kNoDisplay[] = L"ZQNoDisplay";

struct HostRun {
    DWORD code = 0xFFFFFFFF;
    std::string output;
};

// The OK of the sheet the process shows (a window with tabs, as the host tool finds its own), pressed
// as a user clicks it, or as a program asks the sheet to by message.
std::function<void(DWORD)> PressSheetOk(bool byMessage) {
    return [byMessage](DWORD process) {
        std::pair<DWORD, HWND> search = {process, nullptr};
        const auto find = [](HWND hwnd, LPARAM lParam) -> BOOL {
            auto* s = reinterpret_cast<std::pair<DWORD, HWND>*>(lParam);
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            if (owner == s->first && IsWindowVisible(hwnd) && FindWindowExW(hwnd, nullptr, WC_TABCONTROLW, nullptr))
                s->second = hwnd;
            return !s->second;
        };
        for (int i = 0; i < 300 && !search.second; ++i, Sleep(100)) EnumWindows(find, reinterpret_cast<LPARAM>(&search));
        ASSERT_TRUE(search.second) << "the sheet showed";
        Sleep(500);
        if (byMessage) PostMessageW(search.second, PSM_PRESSBUTTON, PSBTN_OK, 0);
        else PostMessageW(GetDlgItem(search.second, IDOK), BM_CLICK, 0, 0);
    };
}

// zqhost.exe beside the tests with that command line (on the desktop given), `during` run with its
// process while it runs; its exit code and output.
HostRun RunHost(const std::wstring& arguments, const wchar_t* desktop,
                const std::function<void(DWORD)>& during = nullptr) {
    const std::wstring log = zqtest::BesideExe(L"hosttool-output.txt");
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HostRun run;
    {
        CZQHandle out(CreateFileW(log.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr));
        STARTUPINFOW si = {};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdOutput = si.hStdError = out.Get();
        si.lpDesktop = const_cast<LPWSTR>(desktop);
        std::wstring line = L"\"" + zqtest::BesideExe(L"zqhost.exe") + L"\" " + arguments;
        PROCESS_INFORMATION pi = {};
        EXPECT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, zqtest::ExeDir().c_str(),
                                   &si, &pi));
        const CZQHandle process(pi.hProcess), thread(pi.hThread);
        if (during) during(pi.dwProcessId);
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(pi.hProcess, 120000)) << "the host tool ended";
        GetExitCodeProcess(pi.hProcess, &run.code);
    }
    std::ifstream in(log.c_str());
    std::ostringstream text;
    text << in.rdbuf();
    run.output = text.str();
    return run;
}

// The desktop without a display, kept by an explorer of its own whose graphics driver is not there;
// the explorer ends with the object.
class NoDisplayDesktop {
public:
    NoDisplayDesktop() {
        std::wstring explorer = L"explorer.exe /desktop=" + std::wstring(kNoDisplay) + L",800x600,nodisplay";
        STARTUPINFOW si = {};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi = {};
        if (!CreateProcessW(nullptr, explorer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return;
        m_process.Reset(pi.hProcess);
        CloseHandle(pi.hThread);
        for (int i = 0; i < 100; ++i) {
            if (HDESK desk = OpenDesktopW(kNoDisplay, 0, FALSE, GENERIC_READ)) {
                CloseDesktop(desk);
                return;
            }
            Sleep(100);
        }
    }
    ~NoDisplayDesktop() {
        if (m_process) TerminateProcess(m_process.Get(), 0);
    }
    NoDisplayDesktop(const NoDisplayDesktop&) = delete;
    NoDisplayDesktop& operator=(const NoDisplayDesktop&) = delete;

private:
    CZQHandle m_process;
};

using HostToolFailures = zqhosttest::SamplePrintersTest;

// What the printer holds that the host tool's commands may change: its default devmode and its
// printing shortcuts.
std::pair<std::vector<BYTE>, std::vector<std::wstring>> Stored(HANDLE h) {
    return {ZQQueryDevmode(h, kDesk), ZQDescribeShortcuts(h)};
}

TEST_F(HostToolFailures, EndNonZeroAndStoreNothing) {
    const NoDisplayDesktop noDisplay;

    const std::wstring desk = L"\"" + kDesk + L"\" --ok-after 300 ";
    struct Row {
        const char* what;
        std::wstring arguments;
        const wchar_t* desktop;
        DWORD code;
        const char* says;
        bool stores;
        std::function<void(DWORD)> during = nullptr;
    } rows[] = {
        {"no display", L"prefs " + desk + L"--choose \"Paper Size=A4\"", kNoDisplay, 1, "no display", false},
        {"unknown printer", L"prefs \"ZQ Desk 2400 Nowhere\" --ok-after 300", nullptr, 1,
         "there is no printer \"ZQ Desk 2400 Nowhere\"", false},
        {"unknown page", L"prefs " + desk + L"--choose \"Paper Size=A4\" --page \"Nowhere\"", nullptr, 1,
         "no page \"Nowhere\" in the sheet", false},
        {"unmatched choice", L"prefs " + desk + L"--choose \"Paper Size=A4\" --choose \"Paper Size=Nowhere\"", nullptr,
         1, "no option \"Nowhere\" of \"Paper Size\"", false},
        {"unmatched choice in a dialog",
         L"prefs " + desk + L"--page Output --press \"Image shift settings...\" --in-dialog \"Nowhere=on\"", nullptr, 1,
         "no choice \"Nowhere=on\" in the dialog", false},
        {"a shortcut under a type the printer lacks", L"shortcuts \"" + kDesk + L"\" --add \"X\" \"No Such Type\"",
         nullptr, 1,
         "\"No Such Type\" is not a document type of \"ZQ Desk 2400 Inkjet\", whose Printing Shortcuts page lists "
         "\"Everyday Printing\", \"Photo Printing\"",
         false},
        {"a ticket not there", L"convert \"" + kDesk + L"\" nowhere.tkt", nullptr, 1,
         "ReadTicket: 5\n      the ticket \"nowhere.tkt\" cannot be read: there is no such file", false},
        {"an empty ticket", L"convert \"" + kDesk + L"\" empty.tkt", nullptr, 1,
         "ConvertTicketEx: 14\n      the ticket \"empty.tkt\" is empty: it holds no setting", false},
        {"a greyed box", L"prefs " + desk + L"--page Finishing --choose \"Flip Pages Up=on\"", nullptr, 1,
         "\"Flip Pages Up\" is greyed on the page in front", false},
        {"an --ok-after that is no number of milliseconds", L"prefs \"" + kDesk + L"\" --ok-after abc", nullptr, 2,
         "--ok-after takes a number of milliseconds from 1, not \"abc\"", false},
        {"a negative --ok-after", L"props \"" + kDesk + L"\" --ok-after -5", nullptr, 2,
         "--ok-after takes a number of milliseconds from 1, not \"-5\"", false},
        // The same road without a fault stores the choice: the rows above would see a change.
        {"a choice made", L"prefs " + desk + L"--choose \"Paper Size=A4\"", nullptr, 0, "stored as the printer's default",
         true},
        // What that stored stays.
        {"installed again", L"install samples\\zqdesk\\zqdesk.zqm", nullptr, 0,
         "installed already: its driver files refreshed, its settings kept", false},
        {"the sheet's own OK first", L"prefs \"" + kDesk + L"\" --ok-after 60000", nullptr, 0,
         "the sheet was closed with its OK before the automatic one\nok    Printing Preferences: OK, stored as the "
         "printer's default devmode",
         false, PressSheetOk(false)},
        {"an OK pressed by message first", L"prefs \"" + kDesk + L"\" --ok-after 60000", nullptr, 0,
         "the sheet was closed with its OK before the automatic one", false, PressSheetOk(true)},
        // Wine's Printer Properties tell their caller neither OK nor Cancel: the tool sees the press.
        {"Printer Properties' OK pressed by message first", L"props \"" + kDesk + L"\" --ok-after 60000", nullptr, 0,
         "the sheet was closed with its OK before the automatic one\nok    Printer Properties closed", false,
         PressSheetOk(true)},
    };
    zqhosttest::ResetToDefaults(kDesk);
    CZQSpoolPrinter h = zqhosttest::OpenFully(kDesk);
    ASSERT_TRUE(CZQHandle(CreateFileW(zqtest::BesideExe(L"empty.tkt").c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_ALWAYS, 0, nullptr)));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const auto before = Stored(h.Get());
        const HostRun run = RunHost(row.arguments, row.desktop, row.during);
        EXPECT_EQ(row.code, run.code) << run.output;
        EXPECT_NE(std::string::npos, run.output.find(row.says)) << run.output;
        EXPECT_EQ(row.stores, before != Stored(h.Get())) << "the printer's default devmode and shortcuts";
    }
    zqhosttest::ResetToDefaults(kDesk);
}

}  // namespace
