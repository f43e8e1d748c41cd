// The About page: the driver's name and files in both directions, its labels with and without the
// status module, the configuration status read again on each activation; and both pages' answer to
// a missing page object or parameter block.
#include "aboutpagetest.h"
#include "common/zqstrings.h"
#include "pages/about/zqaboutpage.h"
#include "pages/info/zqinfopage.h"
#include "res/zqaboutinfoids.h"

namespace {

using Texts = std::vector<std::wstring>;

void Activate(HWND page) {
    NMHDR header = {GetParent(page), 0, static_cast<UINT>(PSN_SETACTIVE)};
    SendMessageW(page, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
}

using AboutPage = AboutInfoPage;

TEST_F(AboutPage, NamesTheDriverAndListsItsFiles) {
    zqspool::MemPrinterIdentity& id = m_printer.Identity();
    id.dataFile = L"zqcoreui.dll";
    id.driverFile = id.configFile = L"zqoemui.dll";
    id.helpFile.clear();
    id.dependentFiles = {L"zqcoremod.dll", L"zqwarnmod.dll"};
    id.printProcessorDirectory = zqtest::ExeDir();  // the print processor's file is listed where it exists
    for (const auto& [wTemplate, processor] : {std::pair{IDD_DLG_ABOUTPAGE, L"zqbrowser.exe"},
                                               std::pair{IDD_DLG_ABOUTPAGE_RTL, L"winprint.dll"}}) {
        ZQCopyText(m_caps.szPrintProcessor, 256, processor);
        HWND page = Open<CZQAboutPage>(true, static_cast<WORD>(wTemplate), &AboutPageDlgProc);
        ASSERT_NE(nullptr, page);
        EXPECT_EQ(wTemplate == IDD_DLG_ABOUTPAGE_RTL, (GetWindowLongW(page, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0);
        EXPECT_EQ(L"ZQ Memory Driver  (6.0.0.4)", Text(page, IDS_PRINTER_NAME));
        Texts names;
        for (const std::wstring& line : Lines(page, IDC_LB_FILELIST)) names.push_back(line.substr(0, line.find(L'\t')));
        // The driver file is the configuration file too: listed in both roles.
        Texts expected = {L"ZQCOREUI.DLL", L"ZQOEMUI.DLL ", L"ZQOEMUI.DLL ", L"ZQCOREMOD.DLL", L"ZQWARNMOD.DLL"};
        if (wTemplate == IDD_DLG_ABOUTPAGE) expected.push_back(L"ZQBROWSER.EXE");
        EXPECT_EQ(expected, names);
        EXPECT_EQ(L"ZQCOREMOD.DLL\t\t6.0.0.4", Lines(page, IDC_LB_FILELIST).at(3));
        EXPECT_EQ(0, SendDlgItemMessageW(page, IDC_LB_FILELIST, LB_GETCURSEL, 0, 0));
    }
}

TEST_F(AboutPage, StatusIsReadOnEachActivationInTheModulesLanguageElseInEnglish) {
    m_printer.PutString(L"PrinterDriverData", L"InstallDate", L"03/14/2006:12:00:00");
    SYSTEMTIME day = {2006, 3, 0, 14, 0, 0, 0, 0};
    WCHAR date[64] = {};
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &day, nullptr, date, 64);
    zqtest::CUiLanguage german(0x0407);
    HWND english = Open<CZQAboutPage>(false, IDD_DLG_ABOUTPAGE, &AboutPageDlgProc);
    HWND translated = Open<CZQAboutPage>(true, IDD_DLG_ABOUTPAGE, &AboutPageDlgProc);
    EXPECT_EQ(L"D&river Files:", Text(english, IDC_STA_FILELIST));
    EXPECT_EQ(L"Con&figuration Status:", Text(english, IDC_STA_NOTIFICATION));
    EXPECT_EQ(L"&Treiberdateien:", Text(translated, IDC_STA_FILELIST));
    EXPECT_EQ(L"Konfigurations&status:", Text(translated, IDC_STA_NOTIFICATION));
    EXPECT_EQ(L"All rights reserved.", Text(english, IDS_COPYRIGHT2));
    EXPECT_TRUE(Lines(english, IDC_LB_NOTIFICATION).empty()) << "filled when the page comes to the front";
    Activate(english);
    Activate(translated);
    EXPECT_EQ((Texts{std::wstring(L"Last configured ") + date, L"Default Configuration"}),
              Lines(english, IDC_LB_NOTIFICATION));
    EXPECT_EQ((Texts{std::wstring(L"Zuletzt konfiguriert ") + date, L"Default Configuration"}),
              Lines(translated, IDC_LB_NOTIFICATION));
    m_printer.PutString(L"PrinterDriverData", L"NotifyDate", L"yesterday");
    Activate(english);
    EXPECT_EQ((Texts{L"Last configured yesterday", L"User-Configured"}), Lines(english, IDC_LB_NOTIFICATION));
}

TEST_F(AboutPage, MissingPageObjectOrParameterBlockGivesFalseWithLastError13) {
    CZQAboutPage unbound;  // no OEMCUIPPARAM
    PageContext noPage = {}, noParam = {};
    noParam.pPage = &unbound;
    noParam.pCaps = &m_caps;
    NMHDR activate = {nullptr, 0, static_cast<UINT>(PSN_SETACTIVE)};
    for (DLGPROC proc : {&AboutPageDlgProc, &InfoPageDlgProc}) {
        for (PageContext* context : {static_cast<PageContext*>(nullptr), &noPage, &noParam}) {
            PROPSHEETPAGEW psp = {};
            psp.lParam = reinterpret_cast<LPARAM>(context);
            SetLastError(0);
            EXPECT_FALSE(proc(m_parent, WM_INITDIALOG, 0, context ? reinterpret_cast<LPARAM>(&psp) : 0));
            EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_DATA), GetLastError());
        }
        // A window without a page finds none later either.
        SetLastError(0);
        proc(m_parent, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&activate));
        proc(m_parent, WM_COMMAND, IDC_STA_URL, 0);
        EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_DATA), GetLastError());
    }
}

}  // namespace
