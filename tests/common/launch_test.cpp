// Starting the toolbox and other programs from a page: the command lines the logging program
// receives in place of the toolbox, the browser checks, and the messages of refused or failed starts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/zqmsgbox.h"
#include "common/zquibase.h"
#include "optitemfixture.h"
#include "testsupport.h"
#include "zqcmdlogrecord.h"

namespace {

const wchar_t kPrinter[] = L"ZQ Launch Printer", kKeyOnly[] = L"<key without the value>";
const wchar_t kToolboxKey[] = L"SOFTWARE\\Quorvane\\ZQTVQ Printing System Config\\ZQ Launch Driver";
const wchar_t kVexaKey[] = L"SOFTWARE\\Quorvane\\ZQ Printers\\Vexa Toolbox";
const wchar_t kDdeKey[] = L"http\\shell\\open\\ddeexec\\Application", kCommandKey[] = L"http\\shell\\open\\command";

std::vector<std::wstring> g_boxes;  // "caption|text"
int Answer(void*, HWND, PCWSTR pszText, PCWSTR pszCaption, UINT) {
    g_boxes.push_back(std::wstring(pszCaption ? pszCaption : L"") + L"|" + (pszText ? pszText : L""));
    return IDOK;
}

std::wstring RegText(HKEY root, const wchar_t* key, const wchar_t* value) {
    WCHAR text[1024] = {};
    DWORD cb = sizeof text - sizeof(WCHAR);
    RegGetValueW(root, key, value, RRF_RT_REG_SZ, nullptr, text, &cb);
    return text;
}

// The key with the value (kKeyOnly: without it); null text: no key.
void SetValue(HKEY root, const wchar_t* key, const wchar_t* value, const wchar_t* text, REGSAM view = 0) {
    RegDeleteKeyExW(root, key, view, 0);
    HKEY h = nullptr;
    if (!text || RegCreateKeyExW(root, key, 0, nullptr, 0, KEY_SET_VALUE | view, nullptr, &h, nullptr)) return;
    if (wcscmp(text, kKeyOnly) != 0)
        RegSetValueExW(h, value, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                       static_cast<DWORD>((wcslen(text) + 1) * sizeof(WCHAR)));
    RegCloseKey(h);
}

class Launch : public ::testing::Test {
protected:
    // The programs stay for the suite: a logging program may still be ending when a test ends.
    static void SetUpTestSuite() {
        zqtest::InstallWinePrinter(kPrinter, L"ZQ Launch Driver");
        WCHAR dir[MAX_PATH] = {}, temp[MAX_PATH];
        DWORD needed = 0;
        GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(dir), sizeof dir, &needed);
        GetTempPathW(MAX_PATH, temp);
        // The toolbox with spaces, the relative toolbox, and "zq.exe" where an unquoted path with
        // spaces would end: it must never be the one started.
        m_files = {std::wstring(temp) + L"zq tools\\tool box.exe", std::wstring(dir) + L"\\3\\zqtoolbox.exe",
                   std::wstring(temp) + L"zq.exe"};
        for (const std::wstring& file : m_files) {
            CreateDirectoryW(file.substr(0, file.rfind(L'\\')).c_str(), nullptr);
            ASSERT_TRUE(CopyFileW(zqtest::BesideExe(L"zqcmdlog.exe").c_str(), file.c_str(), FALSE));
        }
    }
    static void TearDownTestSuite() {
        for (const std::wstring& file : m_files) DeleteFileW(file.c_str());
    }
    void SetUp() override {
        PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
        ASSERT_TRUE(OpenPrinterW(const_cast<LPWSTR>(kPrinter), &m_hPrinter, &defaults));
        m_handler = RegText(HKEY_CLASSES_ROOT, kCommandKey, nullptr);
        zqmsgbox::SetAnswerer(&Answer, nullptr);
    }
    void TearDown() override {
        zqmsgbox::SetAnswerer(nullptr, nullptr);
        ClosePrinter(m_hPrinter);
        SetValue(HKEY_LOCAL_MACHINE, kVexaKey, nullptr, nullptr);
        SetValue(HKEY_CLASSES_ROOT, kDdeKey, nullptr, nullptr);
        SetValue(HKEY_CLASSES_ROOT, kCommandKey, nullptr, m_handler.c_str());
    }

    static inline std::vector<std::wstring> m_files;
    HANDLE m_hPrinter = nullptr;
    std::wstring m_handler;
};

TEST_F(Launch, ToolboxCommandLinesFromTheRegistry) {
    const std::wstring spaced = L"\"" + m_files[0] + L"\"", noExe = m_files[0].substr(0, m_files[0].size() - 4);
    const std::wstring args = std::wstring(L" \"") + kPrinter + L"\" Printer Toolbox";
    const std::wstring cannot = L"Unable to start the program|";
    const std::wstring longPath = L"C:\\" + std::wstring(250, L'a'), tooLong = L"C:\\" + std::wstring(300, L'a');
    struct Case {
        bool vexa;                                // "PSServicesOption" offers "LaunchVexaToolBox"
        const wchar_t *executable, *toolboxPath;  // "Executable" of its maker's key, the driver's "ToolboxPath"
        REGSAM view;
        BOOL result;
        std::wstring ran, box;
    } cases[] = {
        {false, nullptr, m_files[0].c_str(), 0, TRUE, spaced + args, L""},
        {false, nullptr, L"zqtoolbox", 0, TRUE, L"\"" + m_files[1] + L"\"" + args, L""},
        {false, nullptr, noExe.c_str(), KEY_WOW64_64KEY, TRUE, spaced + args, L""},
        {false, nullptr, nullptr, 0, FALSE, L"", L""},
        {false, nullptr, kKeyOnly, 0, FALSE, L"", L""},
        {false, nullptr, L"", 0, FALSE, L"", L""},
        {false, nullptr, tooLong.c_str(), 0, FALSE, L"", L""},
        {false, nullptr, longPath.c_str(), 0, TRUE, L"", cannot + longPath},
        {false, nullptr, L"C:\\a\" b.exe", 0, TRUE, L"", cannot + L"C:\\a\" b.exe"},
        {true, noExe.c_str(), m_files[1].c_str(), 0, FALSE, spaced, L""},
        {true, kKeyOnly, m_files[0].c_str(), 0, FALSE, L"", L""},
        {true, nullptr, m_files[0].c_str(), 0, TRUE, spaced + args, L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.toolboxPath ? c.toolboxPath : L"(none)") << " vexa " << c.vexa);
        SetValue(HKEY_LOCAL_MACHINE, kVexaKey, L"Executable", c.executable);
        SetValue(HKEY_LOCAL_MACHINE, kToolboxKey, L"ToolboxPath", c.toolboxPath, c.view);
        zqtest::COptItemFixture items;
        items.Add(zqtest::ListFeature("PSServicesOption", {{"LaunchToolBox", L"Printer Toolbox"},
                                                           {c.vexa ? "LaunchVexaToolBox" : "None", L"Vexa Toolbox"}}));
        items.Build();
        items.Param()->hPrinter = m_hPrinter;
        CZQUIBase page;
        page.VBind(nullptr, items.Param(), nullptr);
        g_boxes.clear();
        EXPECT_EQ(c.executable ? TRUE : FALSE, CZQUIBase::BHasVexaToolbox(&page));
        EXPECT_EQ(c.result, CZQUIBase::BLaunchToolbox(&page, 0));
        EXPECT_EQ(c.ran, zqtest::LoggedCommandLine(!c.ran.empty()));
        EXPECT_EQ(c.box.empty() ? std::vector<std::wstring>{} : std::vector<std::wstring>{c.box}, g_boxes);
        SetValue(HKEY_LOCAL_MACHINE, kToolboxKey, nullptr, nullptr, c.view);
    }
}

TEST_F(Launch, TheDefaultBrowserDecidesWhetherAProgramStarts) {
    const std::wstring handler = L"\"" + m_files[0] + L"\" \"%1\"", web = L"\"" + m_files[0] + L"\" \"http://x.test/\"";
    const std::wstring missing = m_files[2] + L"-missing.exe /x", refused = L"|Unable to perform the operation";
    const auto launch = &CZQUIBase::BLaunchProgram, run = &CZQUIBase::BRunCommandLine;
    struct Case {
        BOOL (*start)(WPARAM, LPWSTR);
        const wchar_t *application, *command;  // the web-address handler's DDE application and command
        std::wstring line, box;
    } cases[] = {
        {launch, nullptr, nullptr, web, L""},  // no handler registered at all
        {launch, nullptr, handler.c_str(), web, L""},
        {launch, L"IExplore", handler.c_str(), web, L""},
        {launch, L"Opera", handler.c_str(), web, L""},
        {launch, L"NSShell", handler.c_str(), web, L""},
        {launch, kKeyOnly, handler.c_str(), web, L""},
        {launch, L"iexplore", handler.c_str(), web, refused},
        {launch, L"OtherBrowser", nullptr, web, refused},
        {launch, nullptr, L"", web, refused},
        {launch, L"IExplore", kKeyOnly, web, refused},
        {launch, nullptr, nullptr, missing, L"Unable to start the program|" + missing},
        {run, L"OtherBrowser", L"", web, L""},  // no check
        {run, nullptr, nullptr, missing, L"Launching of PU has Failed|"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.application ? c.application : L"-") << " / "
                                        << (c.command ? c.command : L"-") << " / " << c.line);
        SetValue(HKEY_CLASSES_ROOT, kDdeKey, nullptr, c.application);
        SetValue(HKEY_CLASSES_ROOT, kCommandKey, nullptr, c.command);
        g_boxes.clear();
        std::wstring line = c.line;
        const bool started = c.box.empty();
        EXPECT_EQ(started ? TRUE : FALSE, c.start(0, line.data()));
        EXPECT_TRUE(c.line != missing || GetLastError() == ERROR_FILE_NOT_FOUND) << "the start's error";
        EXPECT_EQ(started ? c.line : L"", zqtest::LoggedCommandLine(started));
        EXPECT_EQ(started ? std::vector<std::wstring>{} : std::vector<std::wstring>{c.box}, g_boxes);
    }
}

}  // namespace
