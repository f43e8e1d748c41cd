// The About page: the driver's name and files as the page starts, its labels with and without the
// status module, the configuration status rebuilt on each activation, and both pages' answer to a
// missing page object or parameter block.
#include "aboutpagetest.h"

#include <commctrl.h>

#include "common/zqstrings.h"
#include "pages/about/zqaboutpage.h"
#include "pages/info/zqinfopage.h"
#include "res/zqaboutinfoids.h"

namespace {

constexpr wchar_t kRoot[] = L"PrinterDriverData";

// The part of a file line before its tabs.
std::wstring NameOf(const std::wstring& line) { return line.substr(0, line.find_first_of(L" \t")); }

void Activate(HWND page) {
    NMHDR header = {GetParent(page), 0, static_cast<UINT>(PSN_SETACTIVE)};
    SendMessageW(page, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
}

using AboutPage = AboutInfoPage;

TEST_F(AboutPage, StartsWithTheDriverAndItsFilesInBothDirections) {
    zqspool::MemPrinterIdentity& id = m_printer.Identity();
    id.dataFile = L"samples\\zqdesk\\zqdesk.zqm";
    id.driverFile = id.configFile = L"zqcoreui.dll";
    id.helpFile.clear();
    id.dependentFiles = {L"zqoemui.dll", L"zqcoremod.dll", L"zqwarnmod.dll"};
    // The print processor's file is listed only where it exists.
    WCHAR temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    id.printProcessorDirectory = std::wstring(temp) + L"zqprtprocs";
    CreateDirectoryW(id.printProcessorDirectory.c_str(), nullptr);
    const std::wstring processor = id.printProcessorDirectory + L"\\zqproc.dll";
    ZQCopyText(m_caps.szPrintProcessor, 256, L"zqproc.dll");
    const std::vector<std::wstring> files = {L"ZQDESK.ZQM", L"ZQCOREUI.DLL", L"ZQCOREUI.DLL",
                                             L"ZQOEMUI.DLL", L"ZQCOREMOD.DLL", L"ZQWARNMOD.DLL"};
    const struct {
        WORD wTemplate;
        bool processorThere;
    } cases[] = {{IDD_DLG_ABOUTPAGE, true}, {IDD_DLG_ABOUTPAGE_RTL, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.wTemplate);
        if (c.processorThere)
            CloseHandle(CreateFileW(processor.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        else
            DeleteFileW(processor.c_str());
        HWND page = Open(Make<CZQAboutPage>(true), c.wTemplate, &AboutPageDlgProc);
        ASSERT_NE(nullptr, page);
        EXPECT_EQ(c.wTemplate == IDD_DLG_ABOUTPAGE_RTL, (GetWindowLongW(page, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0);
        EXPECT_EQ(L"ZQ Memory Driver  (6.0.0.4)", Text(page, IDS_PRINTER_NAME));
        const std::vector<std::wstring> lines = Lines(page, IDC_LB_FILELIST);
        std::vector<std::wstring> names;
        for (const std::wstring& line : lines) names.push_back(NameOf(line));
        std::vector<std::wstring> expected = files;
        if (c.processorThere) expected.push_back(L"ZQPROC.DLL");
        EXPECT_EQ(expected, names);
        EXPECT_EQ(L"ZQCOREMOD.DLL\t\t6.0.0.4", lines.size() > 4 ? lines[4] : L"");
        EXPECT_EQ(0, SendDlgItemMessageW(page, IDC_LB_FILELIST, LB_GETCURSEL, 0, 0));
    }
    DeleteFileW(processor.c_str());
    RemoveDirectoryW(id.printProcessorDirectory.c_str());
}

TEST_F(AboutPage, LabelsAndStatusLinesFromTheStatusModuleElseInEnglish) {
    m_printer.PutString(kRoot, L"InstallDate", L"03/14/2006:12:00:00");
    SYSTEMTIME day = {2006, 3, 0, 14, 0, 0, 0, 0};
    WCHAR date[64] = {};
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &day, nullptr, date, 64);
    const struct {
        const char* name;
        bool withTexts;
        LANGID ui;
        const wchar_t* files;
        const wchar_t* status;
        const wchar_t* lastConfigured;
    } cases[] = {
        {"no status module", false, 0x0407, L"D&river Files:", L"Con&figuration Status:", L"Last configured"},
        {"German texts", true, 0x0407, L"&Treiberdateien:", L"Konfigurations&status:", L"Zuletzt konfiguriert"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        zqtest::CUiLanguage ui(c.ui);
        HWND page = Open(Make<CZQAboutPage>(c.withTexts), IDD_DLG_ABOUTPAGE, &AboutPageDlgProc);
        ASSERT_NE(nullptr, page);
        EXPECT_EQ(c.files, Text(page, IDC_STA_FILELIST));
        EXPECT_EQ(c.status, Text(page, IDC_STA_NOTIFICATION));
        EXPECT_EQ(L"Copyright (C) 2026 Quorvane.", Text(page, IDS_COPYRIGHT1));
        EXPECT_EQ(L"All rights reserved.", Text(page, IDS_COPYRIGHT2));
        Activate(page);
        // The date follows "Last configured"; "Default Configuration" is given none.
        EXPECT_EQ((std::vector<std::wstring>{std::wstring(c.lastConfigured) + L" " + date, L"Default Configuration"}),
                  Lines(page, IDC_LB_NOTIFICATION));
    }
}

TEST_F(AboutPage, ConfigurationStatusIsReadAgainEachTimeThePageComesToTheFront) {
    HWND page = Open(Make<CZQAboutPage>(false), IDD_DLG_ABOUTPAGE, &AboutPageDlgProc);
    ASSERT_NE(nullptr, page);
    EXPECT_TRUE(Lines(page, IDC_LB_NOTIFICATION).empty()) << "filled on activation, not before";
    Activate(page);
    EXPECT_EQ((std::vector<std::wstring>{L"Last configured", L"Default Configuration"}), Lines(page, IDC_LB_NOTIFICATION));
    // A device change noted meanwhile (a stored text that does not parse shows as it stands).
    m_printer.PutString(kRoot, L"NotifyDate", L"yesterday");
    Activate(page);
    EXPECT_EQ((std::vector<std::wstring>{L"Last configured yesterday", L"User-Configured"}),
              Lines(page, IDC_LB_NOTIFICATION));
}

TEST_F(AboutPage, MissingPageObjectOrParameterBlockGivesFalseWithLastError13) {
    struct Proc {
        const char* name;
        DLGPROC proc;
        WORD wTemplate;
    };
    const Proc procs[] = {{"About", &AboutPageDlgProc, IDD_DLG_ABOUTPAGE},
                          {"Settings Information", &InfoPageDlgProc, IDD_DLG_KESTRAPAGE}};
    for (const Proc& p : procs) {
        SCOPED_TRACE(p.name);
        CZQAboutPage unbound;  // no OEMCUIPPARAM
        PageContext noPage = {}, noParam = {&unbound, nullptr, nullptr, nullptr, &m_caps, nullptr, nullptr};
        for (PageContext* context : {static_cast<PageContext*>(nullptr), &noPage, &noParam}) {
            PROPSHEETPAGEW psp = {};
            psp.lParam = reinterpret_cast<LPARAM>(context);
            HWND page = CreateDialogParamW(Resources(), MAKEINTRESOURCEW(p.wTemplate), m_parent, p.proc,
                                           reinterpret_cast<LPARAM>(&psp));
            ASSERT_NE(nullptr, page);
            SetLastError(0);
            EXPECT_FALSE(p.proc(page, WM_INITDIALOG, 0, context ? reinterpret_cast<LPARAM>(&psp) : 0));
            EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_DATA), GetLastError());
            // Later messages find no page either.
            SetLastError(0);
            NMHDR header = {page, 0, static_cast<UINT>(PSN_SETACTIVE)};
            EXPECT_FALSE(p.proc(page, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header)));
            EXPECT_FALSE(p.proc(page, WM_COMMAND, IDC_STA_URL, 0));
            EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_DATA), GetLastError());
            DestroyWindow(page);
        }
    }
}

}  // namespace
