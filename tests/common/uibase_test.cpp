// The page base: texts in the user's languages, paper geometry, per-user settings, trees, numbers,
// preview labels and the control wrappers.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "commontest.h"
#include "common/zqcontrols.h"
#include "common/zqhandles.h"
#include "common/zqprintercaps.h"
#include "common/zqstrings.h"
#include "common/zquibase.h"
#include "formats/zquidevmode.h"

namespace {

using zqspool::CZQMemoryPrinter;
using zqtest::CScratchKey;
using zqtest::CUiLanguage;
using zqtest::CUserLanguage;

constexpr const wchar_t* kPrinter = L"ZQ Memory Printer";

std::wstring TakeText(PWSTR s) {
    std::wstring out = s ? s : L"(null)";
    if (s) LocalFree(s);
    return out;
}

std::wstring WindowText(HWND h) {
    WCHAR text[1024] = {};
    GetWindowTextW(h, text, 1024);
    return text;
}

// A page object with its texts from the stand-in status module.
class Base : public ::testing::Test {
protected:
    void SetUp() override {
        m_printer.Install();
        ASSERT_TRUE(m_base.BLoadResourceModule(kPrinter));
        m_window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, m_window);
    }
    void TearDown() override { DestroyWindow(m_window); }

    CZQMemoryPrinter m_printer{zqtest::ExeDirPrinter()};
    CZQUIBase m_base;
    HWND m_window = nullptr;
};

TEST_F(Base, WindowTextsFromTheStatusModuleOrEnglish) {
    CUiLanguage ui(0x0409);
    EXPECT_TRUE(m_base.BSetWindowTextRes(812, m_window, L"fallback"));
    EXPECT_EQ(L"Effects", WindowText(m_window));
    EXPECT_TRUE(m_base.BSetWindowTextRes(64999, m_window, L"English"));
    EXPECT_EQ(L"English", WindowText(m_window));
    // Id -1 is always the English text, even where a block would have an entry 15.
    EXPECT_TRUE(m_base.BSetWindowTextRes(-1, m_window, L"Always English"));
    EXPECT_EQ(L"Always English", WindowText(m_window));
    const std::wstring longText(600, L'x');
    m_base.BSetWindowTextRes(64999, m_window, longText.c_str());
    EXPECT_EQ(255u, WindowText(m_window).size());
    m_base.BSetWindowTextResLong(64999, m_window, longText.c_str());
    EXPECT_EQ(511u, WindowText(m_window).size());
    CUiLanguage de(0x0407);
    m_base.BSetWindowTextRes(812, m_window, L"fallback");
    EXPECT_EQ(L"Effekte", WindowText(m_window));
}

TEST_F(Base, WatermarkFontFollowsTheUsersLanguage) {
    WCHAR face[256];
    {
        CUiLanguage ui(0x0407);
        CUserLanguage user(0x0407);
        ASSERT_TRUE(m_base.BGetLanguageFontName(face));
        EXPECT_STREQ(L"Verdana", face);  // string 881 in the UI language
    }
    {
        CUserLanguage user(0x0411);
        ASSERT_TRUE(m_base.BGetLanguageFontName(face));
        EXPECT_STREQ(L"MS UI Gothic", face);
    }
    {
        CUserLanguage user(0x0804);
        ASSERT_TRUE(m_base.BGetLanguageFontName(face));
        EXPECT_NE(0, face[0]);  // the system's message font
    }
    CZQUIBase noModule;
    ASSERT_TRUE(noModule.BGetLanguageFontName(face));
    EXPECT_STREQ(L"Arial", face);
}

TEST(WatermarkSizes, TableByPrimaryLanguage) {
    struct Case {
        LANGID lang;
        int which;
        int size;
    } cases[] = {
        {0x0409, 0, 90},  {0x0809, 1, 220}, {0x0409, 2, 140},  // any English
        {0x041F, 0, 210}, {0x0419, 1, 50},  {0x0404, 2, 72},   // Turkish, Russian, Chinese (Taiwan)
        {0x0C01, 1, 100}, {0x041B, 2, 130},                    // Arabic (Egypt), Slovak
        {0x040F, 0, 80},                                       // Icelandic: not in the table
        {0x0000, 0, 80},  {0x0409, 3, 80},  {0x0409, -1, 80},
    };
    for (const Case& c : cases) {
        CUserLanguage user(c.lang);
        EXPECT_EQ(c.size, CZQUIBase::IGetDefaultWatermarkSize(c.which)) << std::hex << c.lang << " " << c.which;
    }
}

TEST_F(Base, NoneInAnyLanguage) {
    EXPECT_TRUE(CZQUIBase::BIsNoneInAnyLanguage(L" [KEINE]", m_base.HResModule()));
    EXPECT_TRUE(CZQUIBase::BIsNoneInAnyLanguage(L" [none]", m_base.HResModule()));
    EXPECT_TRUE(CZQUIBase::BIsNoneInAnyLanguage(L" [None]", nullptr));
    EXPECT_FALSE(CZQUIBase::BIsNoneInAnyLanguage(L"[none]", m_base.HResModule()));
    EXPECT_FALSE(CZQUIBase::BIsNoneInAnyLanguage(L"Draft", m_base.HResModule()));
    EXPECT_FALSE(CZQUIBase::BIsNoneInAnyLanguage(nullptr, m_base.HResModule()));

    WCHAR all[kUiLanguageCount][CZQCommon::kResStringChars];
    // The stand-in has English and German only.
    EXPECT_FALSE(CZQUIBase::BLoadStringAllLanguages(m_base.HResModule(), 874, all));
    EXPECT_STREQ(L" [none]", all[0]);
    EXPECT_STREQ(L"", all[1]);
    EXPECT_STREQ(L" [keine]", all[6]);
}

// ---------------------------------------------------------------------------------------------
// Paper geometry
// ---------------------------------------------------------------------------------------------
class Paper : public ::testing::Test {
protected:
    void SetUp() override {
        m_caps.dwPaperCount = 4;
        m_caps.pPaperIds = m_ids;
        m_caps.pPaperSizes = m_sizes;
        CZQCommon common;
        ASSERT_TRUE(common.BFillDefaultDevmode(&m_dm, nullptr));
        m_pub.dmSize = sizeof m_pub;
        m_pub.dmPaperSize = DMPAPER_LETTER;
        m_pub.dmOrientation = DMORIENT_PORTRAIT;
        m_param.cbSize = sizeof m_param;
        m_param.pPublicDM = &m_pub;
        m_page.VBind(nullptr, &m_param, nullptr);
    }

    WORD m_ids[5] = {DMPAPER_LETTER, DMPAPER_A4, 300, DMPAPER_LEGAL, 0};
    POINT m_sizes[5] = {{2159, 2794}, {2100, 2970}, {0, 1000}, {2159, 3556}, {0, 0}};
    PrinterCaps m_caps = {};
    ZQUIDevmode m_dm = {};
    DEVMODEW m_pub = {};
    OEMCUIPPARAM m_param = {};
    CZQUIBase m_page;
};

TEST_F(Paper, DimensionsComeFromThePrintersLists) {
    LONG w = -1, l = -1;
    EXPECT_TRUE(CZQUIBase::BGetPaperDimensions(DMPAPER_A4, &w, &l, &m_caps));
    EXPECT_EQ(2100, w);
    EXPECT_EQ(2970, l);
    EXPECT_FALSE(CZQUIBase::BGetPaperDimensions(300, &w, &l, &m_caps));  // one side is zero
    EXPECT_FALSE(CZQUIBase::BGetPaperDimensions(DMPAPER_A3, &w, &l, &m_caps));
    EXPECT_EQ(0, w);
    EXPECT_FALSE(CZQUIBase::BGetPaperDimensions(DMPAPER_A4, &w, &l, nullptr));
    PrinterCaps empty = {};
    EXPECT_FALSE(CZQUIBase::BGetPaperDimensions(DMPAPER_A4, &w, &l, &empty));
}

TEST_F(Paper, DiagonalAngleFollowsPaperAndOrientation) {
    EXPECT_EQ(52, m_page.IGetDiagonalAngle(&m_caps, &m_dm));  // Letter, portrait
    m_dm.wOrientation = 2;
    EXPECT_EQ(37, m_page.IGetDiagonalAngle(&m_caps, &m_dm));
    m_dm.wOrientation = 1;
    m_pub.dmPaperSize = DMPAPER_LEGAL;
    EXPECT_EQ(58, m_page.IGetDiagonalAngle(&m_caps, &m_dm));
    // Printed on another paper: the destination's diagonal.
    m_dm.dwPrintDocOn = 1;
    m_dm.dwPrintedOnPaper = DMPAPER_A4;
    EXPECT_EQ(54, m_page.IGetDiagonalAngle(&m_caps, &m_dm));
    m_dm.dwCustomDestWidth = 100000;
    m_dm.dwCustomDestLength = 100000;
    EXPECT_EQ(45, m_page.IGetDiagonalAngle(&m_caps, &m_dm));
    // Unknown paper: the default angle.
    m_dm.dwPrintDocOn = 0;
    m_pub.dmPaperSize = DMPAPER_A3;
    EXPECT_EQ(52, m_page.IGetDiagonalAngle(&m_caps, &m_dm));
    EXPECT_EQ(52, m_page.IGetDiagonalAngle(nullptr, &m_dm));
}

TEST_F(Paper, WatermarkPreviewData) {
    ZQPreviewWatermark wm = {};
    ZQCopyText(reinterpret_cast<WCHAR*>(m_dm.szWmText), 256, L"DRAFT");
    ZQCopyText(reinterpret_cast<WCHAR*>(m_dm.szWmFont), 256, L"Arial");
    m_dm.dwWmShade = 3;
    m_dm.dwWmColorIndex = 4;
    m_dm.dwWmStyle = 2;
    m_dm.dwWmSize = 144;
    m_dm.dwWmAngle = 30;
    m_dm.dwWmAngleMode = 0;
    m_page.VSetWatermarkPreviewData(&wm, &m_caps, &m_dm);
    EXPECT_STREQ(L"DRAFT", wm.szText);
    EXPECT_STREQ(L"Arial", wm.szFont);
    EXPECT_EQ(3, wm.iShade);
    EXPECT_EQ(4, wm.iColor);
    EXPECT_EQ(2, wm.iStyle);
    EXPECT_EQ(144, wm.iSize);
    EXPECT_EQ(52, wm.iAngle);  // diagonal of Letter
    EXPECT_EQ(5, wm.iTextLength);
    EXPECT_EQ(0, wm.iAngleMode);
    m_dm.dwWmAngleMode = 2;
    m_page.VSetWatermarkPreviewData(&wm, &m_caps, &m_dm);
    EXPECT_EQ(30, wm.iAngle);
    // A text without its terminator (a devmode from a document) is read within its field.
    for (auto& c : m_dm.szWmText) c = L'W';
    m_page.VSetWatermarkPreviewData(&wm, &m_caps, &m_dm);
    EXPECT_EQ(255, wm.iTextLength);
}

TEST_F(Paper, PreviewLabelsInTheChosenUnit) {
    CUiLanguage ui(0x0409);
    HWND label = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 100, 40, nullptr, nullptr, nullptr, nullptr);
    m_page.VSetPreviewPaperText(&m_dm, &m_caps, label, -1);
    EXPECT_EQ(L"Printed on:\n8.5 x 11 in", WindowText(label));
    m_dm.dwUnitMm = 1;
    m_dm.dwPrintDocOn = 1;
    m_dm.dwPrintedOnPaper = DMPAPER_A4;
    m_page.VSetPreviewPaperText(&m_dm, &m_caps, label, -1);
    EXPECT_EQ(L"Printed on:\n210 x 297 mm", WindowText(label));
    m_page.VSetPreviewDocSizeText(&m_dm, &m_caps, label);
    EXPECT_EQ(L"Document Size:\n215.9 x 279.4 mm", WindowText(label));
    DestroyWindow(label);
}

TEST(DuplexBinding, PagesPerSheetTurnThePage) {
    struct Case {
        int nup;
        short orientation;
        BOOL flip, booklet;
        WORD result;
    } cases[] = {
        {1, 1, FALSE, FALSE, DMDUP_VERTICAL},   {1, 2, FALSE, FALSE, DMDUP_HORIZONTAL},
        {2, 1, FALSE, FALSE, DMDUP_HORIZONTAL}, {4, 2, FALSE, FALSE, DMDUP_VERTICAL},
        {3, 1, FALSE, FALSE, DMDUP_VERTICAL},   {1, 1, TRUE, FALSE, DMDUP_HORIZONTAL},
        {1, 2, TRUE, FALSE, DMDUP_VERTICAL},    {2, 1, TRUE, FALSE, DMDUP_VERTICAL},
        {1, 1, FALSE, TRUE, DMDUP_HORIZONTAL},  {2, 2, TRUE, TRUE, DMDUP_HORIZONTAL},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.result, CZQUIBase::WGetDuplexBinding(c.nup, c.orientation, c.flip, c.booklet))
            << c.nup << " " << c.orientation << " " << c.flip << " " << c.booklet;
}

// ---------------------------------------------------------------------------------------------
// Per-user settings
// ---------------------------------------------------------------------------------------------
class UserSettings : public ::testing::Test {
protected:
    static constexpr const wchar_t* kGuid = L"{12345678-9ABC-DEF0-1234-56789ABCDEF0}";
    void SetUp() override {
        m_printer.Install();
        m_h = m_printer.Open();
    }
    void SetGuid(const wchar_t* guid = kGuid) { m_printer.PutString(L"ZQPresetRoot", L"ZQRestrictedUserGuid", guid); }
    std::wstring Read(const wchar_t* sub, const wchar_t* value) {
        BYTE* data = nullptr;
        DWORD cb = 0;
        if (!CZQUIBase::BReadUserSetting(m_h, sub, value, &data, &cb)) return L"(none)";
        std::wstring text(reinterpret_cast<const wchar_t*>(data));
        EXPECT_EQ((text.size() + 1) * 2, cb);
        LocalFree(data);
        return text;
    }

    CZQMemoryPrinter m_printer;
    HANDLE m_h = nullptr;
    CScratchKey m_key{HKEY_CURRENT_USER, L"Software\\Quorvane\\{12345678-9ABC-DEF0-1234-56789ABCDEF0}"};
};

TEST_F(UserSettings, ReadNeedsTheUserGuid) {
    m_printer.PutString(CZQMemoryPrinter::kRootKey, L"Answer", L"plain");
    EXPECT_EQ(L"(none)", Read(L"ZQBIDIInfo", L"Answer"));
    SetGuid();
    // The user's key does not exist yet: the printer's plain data answers.
    EXPECT_EQ(L"plain", Read(L"ZQBIDIInfo", L"Answer"));
    const BYTE text[] = {'u', 0, 's', 0, 'e', 0, 'r', 0, 0, 0};
    ASSERT_TRUE(CZQUIBase::BWriteUserSetting(m_h, TRUE, L"ZQBIDIInfo", L"Answer", text, sizeof text, REG_SZ));
    EXPECT_EQ(L"user", Read(L"ZQBIDIInfo", L"Answer"));
    // The key exists now: a value missing there is missing, the printer's data is not asked.
    EXPECT_EQ(L"(none)", Read(L"ZQBIDIInfo", L"Other"));
}

TEST_F(UserSettings, GuidTextMustBeAGuid) {
    SetGuid(L"..\\..\\Microsoft");
    const BYTE one[] = {1, 0, 0, 0};
    EXPECT_FALSE(CZQUIBase::BWriteUserSetting(m_h, TRUE, L"Sub", L"V", one, 4, REG_DWORD));
    EXPECT_EQ(L"(none)", Read(L"Sub", L"V"));
}

TEST_F(UserSettings, WriteToPrinterDataOrTheUsersKey) {
    const BYTE one[] = {1, 0, 0, 0};
    EXPECT_TRUE(CZQUIBase::BWriteUserSetting(m_h, FALSE, L"ZQPresetRoot\\PresetPoolData", L"P", one, 4, REG_DWORD));
    EXPECT_TRUE(m_printer.GetValue(L"ZQPresetRoot\\PresetPoolData", L"P", nullptr, nullptr));
    EXPECT_TRUE(CZQUIBase::BWriteUserSetting(m_h, FALSE, nullptr, L"Root", one, 4, REG_DWORD));
    EXPECT_TRUE(m_printer.GetValue(CZQMemoryPrinter::kRootKey, L"Root", nullptr, nullptr));
    EXPECT_FALSE(CZQUIBase::BWriteUserSetting(m_h, TRUE, L"Sub", L"V", one, 4, REG_DWORD));  // no GUID
    EXPECT_FALSE(CZQUIBase::BWriteUserSetting(nullptr, FALSE, nullptr, L"V", one, 4, REG_DWORD));
    SetGuid();
    EXPECT_TRUE(CZQUIBase::BWriteUserSetting(m_h, TRUE, nullptr, L"Top", one, 4, REG_DWORD));
    DWORD value = 0, cb = sizeof value;
    EXPECT_EQ(ERROR_SUCCESS, RegGetValueW(HKEY_CURRENT_USER, L"Software\\Quorvane\\{12345678-9ABC-DEF0-1234-56789ABCDEF0}",
                                          L"Top", RRF_RT_REG_DWORD, nullptr, &value, &cb));
    EXPECT_EQ(1u, value);
}

TEST_F(UserSettings, NewUserGuidAndExportNames) {
    ASSERT_TRUE(CZQUIBase::BCreateRestrictedUserGuid(m_h));
    WCHAR guid[CZQCommon::kGuidTextChars];
    EXPECT_TRUE(CZQCommon::BReadRestrictedUserGuid(m_h, guid));
    EXPECT_FALSE(CZQUIBase::BCreateRestrictedUserGuid(nullptr));

    WCHAR a[CZQUIBase::kExportNameChars], b[CZQUIBase::kExportNameChars];
    CZQUIBase::VMakeUniqueExportName(a);
    CZQUIBase::VMakeUniqueExportName(b);
    EXPECT_STRNE(a, b);
    WCHAR computer[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD cch = MAX_COMPUTERNAME_LENGTH + 1;
    ASSERT_TRUE(GetComputerNameW(computer, &cch));
    EXPECT_EQ(0, wcsncmp(a, computer, cch));
    EXPECT_EQ(cch + 18, wcslen(a));
}

// ---------------------------------------------------------------------------------------------
// Windows and texts
// ---------------------------------------------------------------------------------------------
class Trees : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_TREEVIEW_CLASSES};
        InitCommonControlsEx(&icc);
        for (HWND& t : m_trees) {
            t = CreateWindowExW(0, WC_TREEVIEWW, L"", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr, nullptr, nullptr);
            ASSERT_NE(nullptr, t);
        }
    }
    void TearDown() override {
        for (HWND t : m_trees) DestroyWindow(t);
    }
    HTREEITEM Parent(HWND tree, HTREEITEM item) {
        return reinterpret_cast<HTREEITEM>(
            SendMessageW(tree, TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(item)));
    }
    LPARAM Data(HWND tree, HTREEITEM item) {
        TVITEMW tv = {};
        tv.mask = TVIF_PARAM | TVIF_HANDLE;
        tv.hItem = item;
        SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
        return tv.lParam;
    }
    HWND m_trees[2] = {};
};

TEST_F(Trees, EachTreeKeepsItsOwnLastItems) {
    HWND a = m_trees[0], b = m_trees[1];
    HTREEITEM a1 = CZQUIBase::HInsertTreeItem(a, L"Paper", 1);
    HTREEITEM b1 = CZQUIBase::HInsertTreeItem(b, L"Media", 1);
    // Filling another tree in between does not move this tree's level-2 items.
    HTREEITEM a2 = CZQUIBase::HInsertTreeItem(a, L"Letter", 2);
    HTREEITEM b2 = CZQUIBase::HInsertTreeItem(b, L"Plain", 2);
    ASSERT_TRUE(a1 && b1 && a2 && b2);
    EXPECT_EQ(a1, Parent(a, a2));
    EXPECT_EQ(b1, Parent(b, b2));
    HTREEITEM a3 = CZQUIBase::HInsertTreeItem(a, L"Letter borderless", 3);
    HTREEITEM a1b = CZQUIBase::HInsertTreeItem(a, L"Envelopes", 1);
    // Deeper levels go under the level-2 item inserted last, wherever it is.
    HTREEITEM a3b = CZQUIBase::HInsertTreeItem(a, L"Letter photo", 4);
    EXPECT_EQ(a2, Parent(a, a3));
    EXPECT_EQ(a2, Parent(a, a3b));
    EXPECT_EQ(nullptr, Parent(a, a1b));
    EXPECT_EQ(1, Data(a, a1));
    EXPECT_EQ(2, Data(a, a2));
    EXPECT_EQ(4, Data(a, a3b));
    HTREEITEM a2b = CZQUIBase::HInsertTreeItem(a, L"DL", 2);
    EXPECT_EQ(a1b, Parent(a, a2b));
    EXPECT_EQ(nullptr, CZQUIBase::HInsertTreeItem(a, L"bad", 0));
    EXPECT_EQ(nullptr, CZQUIBase::HInsertTreeItem(nullptr, L"bad", 1));
}

TEST(Numbers, FormattedInTheUiLanguageWithoutTrailingZeros) {
    struct Case {
        LANGID lang;
        double value;
        const wchar_t* text;
    } cases[] = {
        {0x0409, 12.5, L"12.5"}, {0x0409, 3.0, L"3"},   {0x0409, 100.0, L"100"}, {0x0409, 0.004, L"0"},
        {0x0409, 8.25, L"8.25"}, {0x0407, 12.5, L"12,5"}, {0x0407, 210.0, L"210"},
    };
    for (const Case& c : cases) {
        CUiLanguage ui(c.lang);
        PWSTR text = nullptr;
        ASSERT_TRUE(CZQUIBase::BFormatNumber(c.value, &text));
        EXPECT_EQ(std::wstring(c.text), TakeText(text)) << c.value;
    }
    EXPECT_FALSE(CZQUIBase::BFormatNumber(1.0, nullptr));
}

TEST(Texts, DigitsAndLettersOnly) {
    EXPECT_TRUE(CZQUIBase::BIsAllDigits(L"0123456789"));
    EXPECT_TRUE(CZQUIBase::BIsAllDigits(L""));
    EXPECT_FALSE(CZQUIBase::BIsAllDigits(L"12a"));
    EXPECT_FALSE(CZQUIBase::BIsAllDigits(L"\x0663"));  // an Arabic-Indic digit is no PIN digit
    EXPECT_FALSE(CZQUIBase::BIsAllDigits(nullptr));
    EXPECT_TRUE(CZQUIBase::BIsAllAlnum(L"Job42\x00e9"));
    EXPECT_TRUE(CZQUIBase::BIsAllAlnum(L""));
    EXPECT_FALSE(CZQUIBase::BIsAllAlnum(L"Job 42"));
}

TEST(Windows, PlacementAndChildRectangles) {
    HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 100, 100, 300, 300, nullptr, nullptr, nullptr, nullptr);
    HWND child = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 10, 20, 50, 30, parent, nullptr, nullptr, nullptr);
    RECT rc = {};
    int w = 0, h = 0;
    CZQUIBase::VGetChildRect(parent, child, &rc, &w, &h);
    EXPECT_EQ(10, rc.left);
    EXPECT_EQ(20, rc.top);
    EXPECT_EQ(50, w);
    EXPECT_EQ(30, h);
    EXPECT_TRUE(CZQUIBase::BPlaceWindow(child, &rc, 60, 40, 33.9f));
    CZQUIBase::VGetChildRect(parent, child, &rc, &w, &h);
    EXPECT_EQ(10, rc.left);
    EXPECT_EQ(33, rc.top);
    EXPECT_EQ(60, w);
    EXPECT_EQ(40, h);
    RECT untouched = {1, 2, 3, 4};
    CZQUIBase::VGetChildRect(parent, nullptr, &untouched, &w, &h);
    EXPECT_EQ(1, untouched.left);
    DestroyWindow(parent);
}

// A picture never leaves its holder: a larger one shrinks with its proportions kept, a smaller one
// keeps its size; placed at the corner or in the middle.
TEST(Windows, PicturesFitTheirHolders) {
    const struct {
        RECT room;
        SIZE picture;
        BOOL centred;
        RECT fit;
    } cases[] = {
        {{10, 20, 45, 59}, {60, 60}, TRUE, {10, 22, 45, 57}},  // a 60-pixel document type in its holder
        {{10, 20, 45, 59}, {20, 20}, TRUE, {17, 29, 37, 49}},
        {{0, 0, 53, 28}, {64, 24}, FALSE, {0, 0, 53, 20}},     // the logo in a narrow holder
        {{0, 0, 100, 10}, {64, 24}, FALSE, {0, 0, 27, 10}},    // a low one
        {{5, 5, 5, 5}, {64, 24}, TRUE, {5, 5, 5, 5}},
    };
    for (const auto& c : cases) {
        const RECT fit = CZQUIBase::RcFitPicture(c.room, c.picture, c.centred);
        EXPECT_TRUE(EqualRect(&fit, &c.fit)) << fit.left << "," << fit.top << "," << fit.right << "," << fit.bottom;
    }
}

std::vector<WPARAM> g_commands;
LRESULT CALLBACK CommandRecorder(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_COMMAND) g_commands.push_back(w);
    return DefWindowProcW(h, m, w, l);
}

TEST(Windows, PreviewLabelsReportClicksToThePage) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &CommandRecorder;
    wc.lpszClassName = L"ZQTestPage";
    RegisterClassW(&wc);
    HWND page = CreateWindowExW(0, L"ZQTestPage", L"", WS_POPUP, 0, 0, 300, 300, nullptr, nullptr, nullptr, nullptr);
    HWND label = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, page,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_PREVIEW_DIMENSIONS)), nullptr, nullptr);
    CZQUIBase::VSubclassPreviewDimensions(nullptr, page, nullptr);
    CZQUIBase::VSubclassPreviewDimensions(nullptr, page, nullptr);  // again: still one command a click
    EXPECT_EQ(HTCLIENT, SendMessageW(label, WM_NCHITTEST, 0, 0));
    SendMessageW(label, WM_LBUTTONUP, 0, 0);
    ASSERT_EQ(1u, g_commands.size());
    EXPECT_EQ(MAKEWPARAM(IDC_PREVIEW_DIMENSIONS, BN_CLICKED), g_commands[0]);
    DestroyWindow(page);
}

TEST(Controls, IconListBoxKeepsItsFlagsInTheItemData) {
    HWND dlg = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 300, 300, nullptr, nullptr, nullptr, nullptr);
    HWND list = CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, 0, 0, 200, 100, dlg,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(436)), nullptr, nullptr);
    ASSERT_NE(nullptr, list);
    CZQIconListBox box;
    EXPECT_FALSE(box.BAttach(dlg, 999));
    ASSERT_TRUE(box.BAttach(dlg, 436));
    EXPECT_TRUE(box.BSetIcon(nullptr, 32515));
    EXPECT_EQ(0, box.IAddString(L"Front cover"));
    EXPECT_EQ(1, box.IAddString(L"Back cover"));
    EXPECT_EQ(2, box.IGetCount());
    EXPECT_TRUE(box.BSetItemEnabled(1, TRUE));
    EXPECT_TRUE(box.BSetItemMarked(1, TRUE));
    EXPECT_EQ(CZQIconListBox::kItemEnabled | CZQIconListBox::kItemMarked, SendMessageW(list, LB_GETITEMDATA, 1, 0));
    EXPECT_TRUE(box.BSetItemEnabled(1, FALSE));
    EXPECT_EQ(CZQIconListBox::kItemMarked, SendMessageW(list, LB_GETITEMDATA, 1, 0));
    EXPECT_FALSE(box.BSetItemMarked(5, TRUE));
    WCHAR text[4];
    EXPECT_EQ(LB_ERR, box.IGetText(0, text, 4));  // does not fit: nothing is written past the buffer
    WCHAR whole[32];
    EXPECT_EQ(10, box.IGetText(1, whole, 32));
    EXPECT_STREQ(L"Back cover", whole);
    EXPECT_EQ(1, box.IFindStringExact(L"back cover"));
    // Destroying the control lets go of it.
    DestroyWindow(list);
    EXPECT_EQ(nullptr, box.HWnd());
    DestroyWindow(dlg);
}

TEST(Controls, BitmapButtonDrawsOnlyItsOwnItem) {
    HWND dlg = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 300, 300, nullptr, nullptr, nullptr, nullptr);
    CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | BS_OWNERDRAW, 0, 0, 20, 20, dlg,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(1003)), nullptr, nullptr);
    CZQBitmapButton button;
    ASSERT_TRUE(button.BAttach(dlg, 1003));
    EXPECT_FALSE(button.BLoadBitmaps(GetModuleHandleW(nullptr), 1, 2));  // the test has no bitmaps
    DRAWITEMSTRUCT draw = {};
    draw.CtlType = ODT_BUTTON;
    draw.hwndItem = dlg;
    EXPECT_FALSE(button.BDrawItem(&draw));
    draw.hwndItem = button.HWnd();
    draw.hDC = GetDC(dlg);
    draw.rcItem = {0, 0, 20, 20};
    EXPECT_TRUE(button.BDrawItem(&draw));
    ReleaseDC(dlg, draw.hDC);
    DestroyWindow(dlg);
    EXPECT_EQ(nullptr, button.HWnd());
}

// ---------------------------------------------------------------------------------------------
// Printer records
// ---------------------------------------------------------------------------------------------
TEST(PrinterRecords, CapsFromThePrintersLists) {
    CZQMemoryPrinter printer(zqtest::ExeDirPrinter());
    printer.Identity().printProcessor = L"ZQPROCMOD.DLL";
    printer.Install();
    const WORD papers[] = {DMPAPER_LETTER, DMPAPER_A4};
    const POINT sizes[] = {{2159, 2794}, {2100, 2970}};
    printer.SetCapability(DC_PAPERS, papers, 2, sizeof(WORD));
    printer.SetCapability(DC_PAPERSIZE, sizes, 2, sizeof(POINT));
    const WORD bins[] = {DMBIN_AUTO, 257};
    WCHAR names[2][24] = {L"Automatically Select", L"Tray 1"};
    printer.SetCapability(DC_BINS, bins, 2, sizeof(WORD));
    printer.SetCapability(DC_BINNAMES, names, 2, sizeof names[0]);
    const DWORD media[] = {DMMEDIA_STANDARD, 300, 301};
    printer.SetCapability(DC_MEDIATYPES, media, 3, sizeof(DWORD));
    HANDLE h = printer.Open();

    PrinterCaps caps = {};
    ASSERT_TRUE(ZQReadPrinterCaps(&caps, h, nullptr));
    EXPECT_STREQ(L"ZQ Memory Printer", caps.szPrinterName);
    EXPECT_STREQ(L"USB001", caps.szPortName);
    EXPECT_STREQ(L"ZQPROCMOD.DLL", caps.szPrintProcessor);
    EXPECT_EQ(zqtest::ExeDir() + L"\\zqhelp.chm", caps.szHelpFile);
    EXPECT_STREQ(L"", caps.szServerName);
    ASSERT_EQ(2u, caps.dwPaperCount);
    EXPECT_EQ(DMPAPER_A4, caps.pPaperIds[1]);
    EXPECT_EQ(0, caps.pPaperIds[2]);  // the lists end with a zero entry
    EXPECT_EQ(2970, caps.pPaperSizes[1].y);
    ASSERT_EQ(2u, caps.dwSourceCount);
    EXPECT_EQ(257, caps.pSourceIds[1]);
    EXPECT_STREQ(L"Automatically Select", caps.szFirstBinName);
    ASSERT_EQ(3u, caps.dwMediaCount);
    EXPECT_EQ(301u, caps.pMediaIds[2]);

    // Paper sizes that do not match the papers are not kept: an index into one list must be valid
    // in the other.
    printer.SetCapability(DC_PAPERSIZE, sizes, 1, sizeof(POINT));
    ASSERT_TRUE(ZQReadPrinterCaps(&caps, h, nullptr));
    EXPECT_EQ(0u, caps.dwPaperCount);
    EXPECT_EQ(nullptr, caps.pPaperIds);
    EXPECT_EQ(2u, caps.dwSourceCount);
    ZQFreePrinterCaps(&caps);
    EXPECT_EQ(nullptr, caps.pSourceIds);
    EXPECT_FALSE(ZQReadPrinterCaps(&caps, nullptr, nullptr));
}

TEST(PrinterRecords, PaperListFromPrinterData) {
    CZQMemoryPrinter printer;
    printer.Install();
    HANDLE h = printer.Open();
    PaperList list = {};
    ASSERT_TRUE(ZQReadPaperList(&list, h));
    EXPECT_EQ(0u, list.dwCount);

    printer.PutString(L"PaperList\\Glossy", L"Text", L"Glossy Photo Paper");
    printer.PutString(L"PaperList\\Glossy", L"Code", L"42");
    const DWORD two = 2, one = 1;
    printer.PutValue(L"PaperList\\Glossy", L"DefaultQuality", REG_DWORD, &two, 4);
    printer.PutValue(L"PaperList\\Glossy", L"CutterSupport", REG_DWORD, &one, 4);
    printer.PutString(L"PaperList\\Glossy\\Best", L"QualityLevel", L"BEST");
    printer.PutValue(L"PaperList\\Glossy\\Best", L"MaxDetail", REG_DWORD, &one, 4);
    printer.PutString(L"PaperList\\Glossy\\Fast", L"Name", L"Fast printing");
    // A number stored as text is not a number.
    printer.PutString(L"PaperList\\Plain", L"GlossEnhancerSupport", L"1");
    ASSERT_TRUE(ZQReadPaperList(&list, h));
    ASSERT_EQ(2u, list.dwCount);
    const PaperListEntry& glossy = list.pEntries[0];
    EXPECT_STREQ(L"Glossy", glossy.szName);
    EXPECT_STREQ(L"Glossy Photo Paper", glossy.szText);
    EXPECT_STREQ(L"42", glossy.szCode);
    EXPECT_EQ(2u, glossy.dwDefaultQuality);
    EXPECT_EQ(1u, glossy.dwCutterSupport);
    ASSERT_EQ(2u, glossy.dwProfileCount);
    EXPECT_STREQ(L"Best", glossy.pProfiles[0].szName);
    EXPECT_STREQ(L"BEST", glossy.pProfiles[0].szQualityLevel);
    EXPECT_EQ(1u, glossy.pProfiles[0].dwMaxDetail);
    EXPECT_STREQ(L"Fast printing", glossy.pProfiles[1].szName);
    const PaperListEntry& plain = list.pEntries[1];
    EXPECT_STREQ(L"", plain.szText);  // not offered
    EXPECT_EQ(0u, plain.dwGlossEnhancerSupport);
    EXPECT_EQ(0u, plain.dwProfileCount);
    // A text longer than its field is cut, never read past it.
    printer.PutString(L"PaperList\\Glossy", L"Text", std::wstring(400, L't'));
    ASSERT_TRUE(ZQReadPaperList(&list, h));
    EXPECT_EQ(255u, wcslen(list.pEntries[0].szText));
    // Texts count only as REG_SZ.
    printer.PutValue(L"PaperList\\Glossy", L"Text", REG_EXPAND_SZ, L"Glossy", 14);
    ASSERT_TRUE(ZQReadPaperList(&list, h));
    EXPECT_STREQ(L"", list.pEntries[0].szText);
    ZQFreePaperList(&list);
    EXPECT_EQ(0u, list.dwCount);
}

TEST(PrinterRecords, StatusRecordOwnsItsTextsAndLeftoverObjects) {
    struct Counted : IUnknown {
        LONG refs = 1;
        STDMETHODIMP QueryInterface(REFIID, void** ppv) override {
            *ppv = nullptr;
            return E_NOINTERFACE;
        }
        STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
        STDMETHODIMP_(ULONG) Release() override { return --refs; }
    } object;
    {
        StatusRecord record;
        EXPECT_EQ(nullptr, record.pszMediaText);
        EXPECT_EQ(0u, record.dwPortKind);
        EXPECT_TRUE(StatusRecord::BSetText(&record.pszLocaleName, L"de-DE"));
        EXPECT_TRUE(StatusRecord::BSetText(&record.pszLocaleName, L"fr-FR"));
        EXPECT_STREQ(L"fr-FR", record.pszLocaleName);
        EXPECT_TRUE(StatusRecord::BSetText(&record.pszMediaText, L"12"));
        EXPECT_FALSE(StatusRecord::BSetText(&record.pszMediaText, nullptr));
        EXPECT_EQ(nullptr, record.pszMediaText);
        object.AddRef();
        record.pStatusObject = &object;
    }
    EXPECT_EQ(1, object.refs);
}

}  // namespace
