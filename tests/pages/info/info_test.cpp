// The Settings Information page: the printer's name and the texts in both directions, with and
// without the status module; the link under the pointer, followed, and its colour on every later
// page, with two pages open side by side.
#include "aboutpagetest.h"
#include "pages/info/zqinfopage.h"
#include "res/zqaboutinfoids.h"

namespace {

HWND LinkOf(HWND page) { return GetDlgItem(page, IDC_STA_URL); }

// 1 underlined, 0 not, -1 the link's font is no font (any more).
int Underlined(HWND page) {
    LOGFONTW font = {};
    auto handle = reinterpret_cast<HGDIOBJ>(SendMessageW(LinkOf(page), WM_GETFONT, 0, 0));
    return GetObjectW(handle, sizeof font, &font) ? font.lfUnderline : -1;
}

COLORREF LinkColour(HWND page) {
    CZQMemDC dc(CreateCompatibleDC(nullptr));
    SendMessageW(page, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.Get()), reinterpret_cast<LPARAM>(LinkOf(page)));
    return GetTextColor(dc.Get());
}

void Mouse(HWND page, UINT message, int x, int y) {
    SendMessageW(LinkOf(page), message, 0, MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
}

using InfoPage = AboutInfoPage;

TEST_F(InfoPage, NamesThePrinterWithItsTextsInBothDirections) {
    const struct {
        WORD wTemplate;
        bool withTexts;
        LANGID ui;
        const wchar_t* intro;
    } cases[] = {
        {IDD_DLG_KESTRAPAGE, false, 0x0407, L"There are no user-changeable settings available here."},
        {IDD_DLG_KESTRAPAGE_RTL, true, 0x0409, L"There are no user-changeable settings available here."},
        {IDD_DLG_KESTRAPAGE, true, 0x0407, L"Hier lassen sich keine Einstellungen vornehmen."},
    };
    for (const auto& c : cases) {
        zqtest::CUiLanguage ui(c.ui);
        HWND page = Open<CZQInfoPage>(c.withTexts, c.wTemplate, &InfoPageDlgProc);
        ASSERT_NE(nullptr, page);
        EXPECT_EQ(c.wTemplate == IDD_DLG_KESTRAPAGE_RTL, (GetWindowLongW(page, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0);
        EXPECT_EQ(L"ZQ Memory Printer", Text(page, IDC_STA_PRINTERNAME));
        EXPECT_EQ(c.intro, Text(page, IDC_STA_INTRO));
        EXPECT_EQ(279u, Text(page, IDC_STA_GUIDE).size()) << "the long form keeps all of it";
        EXPECT_EQ(0u, Text(page, IDC_STA_NOTE).find(L"NOTE:To access conventional Printer Preferences"));
        EXPECT_EQ(L"For more information, visit the ZQ in-house Publishing web Site.", Text(page, IDC_STA_URL));
    }
}

TEST_F(InfoPage, LinkFollowsThePointerOpensTheSiteAndStaysVisitedOnEveryPage) {
    // Web addresses go to the browser stand-in beside the test, which writes down what it is given.
    WCHAR log[MAX_PATH];
    GetTempPathW(MAX_PATH, log);
    lstrcatW(log, L"zqbrowser-info-test.log");
    DeleteFileW(log);
    SetEnvironmentVariableW(L"ZQBROWSER_LOG", log);
    const wchar_t* key = L"Software\\Classes\\https\\shell\\open\\command";
    WCHAR handler[1024] = {};
    DWORD cb = sizeof handler;
    ASSERT_EQ(ERROR_SUCCESS, RegGetValueW(HKEY_LOCAL_MACHINE, key, nullptr, RRF_RT_REG_SZ, nullptr, handler, &cb));
    const std::wstring browser = L"\"" + zqtest::BesideExe(L"zqbrowser.exe") + L"\" \"%1\"";
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, key, nullptr, REG_SZ, browser.c_str(),
                    static_cast<DWORD>((browser.size() + 1) * sizeof(wchar_t)));

    HWND first = Open<CZQInfoPage>(false, IDD_DLG_KESTRAPAGE, &InfoPageDlgProc);
    HWND second = Open<CZQInfoPage>(false, IDD_DLG_KESTRAPAGE, &InfoPageDlgProc);
    ASSERT_TRUE(first && second);
    const LRESULT normal = SendMessageW(LinkOf(first), WM_GETFONT, 0, 0);
    Mouse(first, WM_MOUSEMOVE, 2, 2);
    EXPECT_EQ(1, Underlined(first));
    EXPECT_EQ(LinkOf(first), GetCapture());
    Mouse(first, WM_MOUSEMOVE, 3, 3);
    EXPECT_EQ(1, Underlined(first)) << "still over the link";
    Mouse(first, WM_MOUSEMOVE, -30, -30);
    EXPECT_EQ(normal, SendMessageW(LinkOf(first), WM_GETFONT, 0, 0));
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_TRUE(SendMessageW(LinkOf(first), WM_SETCURSOR, 0, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(LoadCursorW(nullptr, IDC_HAND), GetCursor());

    // A click opens the site, and the link takes the visited colour on every page.
    EXPECT_EQ(CZQInfoPage::kLinkColor, LinkColour(second));
    Mouse(first, WM_LBUTTONDOWN, 2, 2);
    Mouse(first, WM_LBUTTONUP, 2, 2);
    std::string opened;
    for (int i = 0; i < 100 && opened.empty(); ++i, Sleep(100)) {
        CZQHandle file(
            CreateFileW(log, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
        char text[512] = {};
        DWORD got = 0;
        if (file && ReadFile(file.Get(), text, sizeof text - 1, &got, nullptr)) opened = text;
    }
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, key, nullptr, REG_SZ, handler, cb);
    DeleteFileW(log);
    EXPECT_NE(std::string::npos, opened.find("\"https://www.example.com/\"")) << opened;
    EXPECT_EQ(CZQInfoPage::kVisitedColor, LinkColour(first));
    EXPECT_EQ(CZQInfoPage::kVisitedColor, LinkColour(second));

    // The first page goes; the second keeps its own fonts, and a later page the colour.
    DestroyWindow(first);
    Mouse(second, WM_MOUSEMOVE, 2, 2);
    EXPECT_EQ(1, Underlined(second));
    Mouse(second, WM_MOUSEMOVE, -30, -30);
    EXPECT_EQ(0, Underlined(second));
    HWND later = Open<CZQInfoPage>(false, IDD_DLG_KESTRAPAGE_RTL, &InfoPageDlgProc);
    EXPECT_EQ(CZQInfoPage::kVisitedColor, LinkColour(later));
}

}  // namespace
