// The Settings Information page: the printer's name and the texts in both directions, with and
// without the status module; the link under the pointer, followed, and its colour on later pages,
// with two pages open side by side.
#include "aboutpagetest.h"

#include "common/zqhandles.h"
#include "pages/info/zqinfopage.h"
#include "res/zqaboutinfoids.h"

namespace {

const std::wstring kGuide =
    L"To change settings, return to the Print dialog and click 'OK' or 'Print' to send your print job to ZQ Orvessa. "
    L"ZQ Orvessa will then allow you to modify printer settings and immediately view how they will effect your print "
    L"job; all before actually sending your job to the printer.";

// While the object lives, web addresses go to the browser stand-in beside the test, which writes
// each address it is given to a log of its own.
class BrowserStandIn {
public:
    BrowserStandIn() {
        WCHAR temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        m_log = std::wstring(temp) + L"zqbrowser-info-test.log";
        DeleteFileW(m_log.c_str());
        SetEnvironmentVariableW(L"ZQBROWSER_LOG", m_log.c_str());
        WCHAR old[1024] = {};
        DWORD cb = sizeof old;
        m_hadOld = RegGetValueW(HKEY_LOCAL_MACHINE, kKey, nullptr, RRF_RT_REG_SZ, nullptr, old, &cb) == ERROR_SUCCESS;
        m_old = old;
        Set(L"\"" + zqtest::BesideExe(L"zqbrowser.exe") + L"\" \"%1\"");
    }
    ~BrowserStandIn() {
        if (m_hadOld)
            Set(m_old);
        else
            RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kKey, nullptr);
        SetEnvironmentVariableW(L"ZQBROWSER_LOG", nullptr);
        DeleteFileW(m_log.c_str());
    }
    BrowserStandIn(const BrowserStandIn&) = delete;
    BrowserStandIn& operator=(const BrowserStandIn&) = delete;
    // What the browser was given, once it wrote it (at most ten seconds later).
    std::string Log() const {
        for (int i = 0; i < 100; ++i, Sleep(100)) {
            CZQHandle file(CreateFileW(m_log.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, 0, nullptr));
            char text[4096] = {};
            DWORD got = 0;
            if (file && ReadFile(file.Get(), text, sizeof text - 1, &got, nullptr) && got) return text;
        }
        return "";
    }

private:
    static constexpr const wchar_t* kKey = L"Software\\Classes\\https\\shell\\open\\command";
    static void Set(const std::wstring& command) {
        RegSetKeyValueW(HKEY_LOCAL_MACHINE, kKey, nullptr, REG_SZ, command.c_str(),
                        static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
    }
    std::wstring m_log, m_old;
    bool m_hadOld = false;
};

HWND LinkOf(HWND page) { return GetDlgItem(page, IDC_STA_URL); }

// 1 underlined, 0 not, -1 the link's font is not a font (any more).
int Underlined(HWND page) {
    LOGFONTW font = {};
    auto handle = reinterpret_cast<HFONT>(SendMessageW(LinkOf(page), WM_GETFONT, 0, 0));
    return GetObjectW(handle, sizeof font, &font) ? font.lfUnderline : -1;
}

COLORREF LinkColour(HWND page) {
    HDC dc = CreateCompatibleDC(nullptr);
    SendMessageW(page, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(LinkOf(page)));
    const COLORREF colour = GetTextColor(dc);
    DeleteDC(dc);
    return colour;
}

void MoveTo(HWND page, int x, int y) {
    SendMessageW(LinkOf(page), WM_MOUSEMOVE, 0, MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
}

using InfoPage = AboutInfoPage;

TEST_F(InfoPage, NamesThePrinterWithItsTextsInBothDirections) {
    const struct {
        const char* name;
        WORD wTemplate;
        bool withTexts;
        LANGID ui;
        const wchar_t* intro;
    } cases[] = {
        {"no status module", IDD_DLG_KESTRAPAGE, false, 0x0409,
         L"There are no user-changeable settings available here."},
        {"right to left", IDD_DLG_KESTRAPAGE_RTL, true, 0x0409, L"There are no user-changeable settings available here."},
        {"German texts", IDD_DLG_KESTRAPAGE, true, 0x0407, L"Hier lassen sich keine Einstellungen vornehmen."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        zqtest::CUiLanguage ui(c.ui);
        HWND page = Open(Make<CZQInfoPage>(c.withTexts), c.wTemplate, &InfoPageDlgProc);
        ASSERT_NE(nullptr, page);
        EXPECT_EQ(c.wTemplate == IDD_DLG_KESTRAPAGE_RTL, (GetWindowLongW(page, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0);
        EXPECT_EQ(L"ZQ Memory Printer", Text(page, IDC_STA_PRINTERNAME));
        EXPECT_EQ(c.intro, Text(page, IDC_STA_INTRO));
        EXPECT_EQ(kGuide, Text(page, IDC_STA_GUIDE)) << "longer than 255 characters";
        EXPECT_EQ(L"NOTE:To access conventional Printer Preferences(Printer Properties) and to print to this printer "
                  L"without using ZQ Orvessa,use a standard driver for this printer.",
                  Text(page, IDC_STA_NOTE));
        EXPECT_EQ(L"For more information, visit the ZQ in-house Publishing web Site.", Text(page, IDC_STA_URL));
        EXPECT_TRUE(GetWindowLongW(LinkOf(page), GWL_STYLE) & SS_NOTIFY) << "a click reaches the page";
    }
}

TEST_F(InfoPage, LinkFollowsThePointerOpensTheSiteAndStaysVisitedOnEveryPage) {
    BrowserStandIn browser;
    HWND first = Open(Make<CZQInfoPage>(false), IDD_DLG_KESTRAPAGE, &InfoPageDlgProc);
    HWND second = Open(Make<CZQInfoPage>(false), IDD_DLG_KESTRAPAGE, &InfoPageDlgProc);
    ASSERT_TRUE(first && second);
    const auto normal = SendMessageW(LinkOf(first), WM_GETFONT, 0, 0);

    // Onto the link and off it again.
    MoveTo(first, 2, 2);
    EXPECT_EQ(1, Underlined(first));
    EXPECT_EQ(LinkOf(first), GetCapture());
    MoveTo(first, 3, 3);
    EXPECT_EQ(1, Underlined(first)) << "still over the link";
    MoveTo(first, -30, -30);
    EXPECT_EQ(0, Underlined(first));
    EXPECT_EQ(normal, SendMessageW(LinkOf(first), WM_GETFONT, 0, 0));
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_TRUE(SendMessageW(LinkOf(first), WM_SETCURSOR, reinterpret_cast<WPARAM>(LinkOf(first)),
                             MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(LoadCursorW(nullptr, IDC_HAND), GetCursor());

    // A click opens the site with the shell, and the link takes the visited colour everywhere.
    EXPECT_EQ(CZQInfoPage::kLinkColor, LinkColour(second));
    SendMessageW(LinkOf(first), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageW(LinkOf(first), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_NE(std::string::npos, browser.Log().find("https://www.example.com/"));
    EXPECT_EQ(CZQInfoPage::kVisitedColor, LinkColour(first));
    EXPECT_EQ(CZQInfoPage::kVisitedColor, LinkColour(second));

    // The first page goes: the second keeps its own fonts.
    DestroyWindow(first);
    MoveTo(second, 2, 2);
    EXPECT_EQ(1, Underlined(second));
    MoveTo(second, -30, -30);
    EXPECT_EQ(0, Underlined(second));
    HWND third = Open(Make<CZQInfoPage>(false), IDD_DLG_KESTRAPAGE_RTL, &InfoPageDlgProc);
    EXPECT_EQ(CZQInfoPage::kVisitedColor, LinkColour(third));
}

}  // namespace
