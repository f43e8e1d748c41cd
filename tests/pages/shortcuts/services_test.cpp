// Services of the Printing Shortcuts page: mnemonics out of option names, a row's name wrapped,
// the rows' pictures and their array, the paper source of a tray, the printer's forms and the
// alert strip.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/zqevents.h"
#include "common/zqhandles.h"
#include "common/zqstrings.h"
#include "pages/parts/zqmnemonics.h"
#include "pages/shortcuts/zqlargeformatlistrows.h"
#include "largeformattest.h"

namespace {

// Mnemonics go; an ampersand that is part of the name stays.
TEST(ShortcutServices, MnemonicsAreStripped) {
    const struct {
        const wchar_t* text;
        const wchar_t* stripped;
    } cases[] = {
        {L"&Photo", L"Photo"},          {L"Pho&to", L"Photo"},        {L"Black & White", L"Black & White"},
        {L"Photo (&P)", L"Photo "},      {L"A&&B", L"AB"},             {L"Plain", L"Plain"},
        {L"Trailing&", L"Trailing"},    {L"(&", L"("},                 {L"x(&y", L"x(y"},
    };
    for (const auto& c : cases) {
        PWSTR copy = nullptr;
        ASSERT_TRUE(BStripMnemonics(c.text, &copy)) << c.text;
        EXPECT_STREQ(c.stripped, copy) << c.text;
        LocalFree(copy);
    }
    // Nothing to strip: no copy.
    for (PCWSTR empty : {L"", static_cast<PCWSTR>(nullptr)}) {
        PWSTR copy = reinterpret_cast<PWSTR>(1);
        EXPECT_FALSE(BStripMnemonics(empty, &copy));
        EXPECT_EQ(nullptr, copy);
    }
}

// Ten pixels a character.
int FitTens(void*, PCWSTR, int cchText, int cxRoom) { return cxRoom / 10 < cchText ? cxRoom / 10 : cchText; }

// A name wraps at the spaces into whole words within the room, as many lines as the row holds; a
// word wider than the room alone is cut; what the last line cannot hold ends in an ellipsis after
// the last whole word that leaves room for it. Nothing is lost or repeated before the ellipsis.
TEST(ShortcutServices, LongNamesWrapIntoTheRowsRoom) {
    const struct {
        const wchar_t* text;
        int room, lines;
        std::vector<std::wstring> shown;
    } cases[] = {
        {L"Riverside Development Phase Two", 120, 5, {L"Riverside", L"Development", L"Phase Two"}},
        {L"Riverside Development Phase Two", 120, 2, {L"Riverside", L"Developme..."}},
        {L"Site Plans and Elevations", 130, 2, {L"Site Plans", L"and..."}},
        {L"Photographicpaperprint", 100, 3, {L"Photograph", L"icpaperpri", L"nt"}},
        {L"  Two  spaces  ", 100, 3, {L"Two", L"spaces"}},
        {L"", 100, 3, {}},
        {L"Photo", 0, 3, {}},
    };
    for (const auto& c : cases) {
        ZQRowLine lines[8];
        const int n = ZQWrapShortcutRow(c.text, static_cast<int>(wcslen(c.text)), c.room, 30, c.lines, &FitTens,
                                        nullptr, lines);
        std::vector<std::wstring> shown;
        for (int i = 0; i < n; ++i) {
            std::wstring line(c.text + lines[i].iStart, static_cast<size_t>(lines[i].cch));
            EXPECT_LE(static_cast<int>(line.size()) * 10 + (lines[i].bEllipsis ? 30 : 0), c.room) << c.text;
            shown.push_back(line + (lines[i].bEllipsis ? L"..." : L""));
        }
        EXPECT_EQ(c.shown, shown) << c.text;
    }
}

// The array keeps its slots through growth, insertion and removal; a block it cannot have leaves it
// as it was.
TEST(ShortcutServices, BitmapArrayGrowsInsertsAndRemoves) {
    ShortcutBitmapArray array;
    ASSERT_TRUE(array.BAllocate());
    EXPECT_EQ(30, array.Capacity());
    char items[32];
    for (int i = 0; i < 30; ++i) ASSERT_TRUE(array.BAppend(&items[i]));
    EXPECT_EQ(30, array.Capacity()) << "full, not grown";
    ShortcutBitmapArray::VRefuseBlocksForTesting(1);
    EXPECT_FALSE(array.BInsertAt(5, &items[30]));
    EXPECT_EQ(30, array.Count());
    EXPECT_EQ(30, array.Capacity());
    EXPECT_EQ(&items[5], array.PAt(5));

    ASSERT_TRUE(array.BInsertAt(5, &items[30]));
    EXPECT_EQ(60, array.Capacity());
    EXPECT_EQ(31, array.Count());
    EXPECT_EQ(&items[30], array.PAt(5));
    EXPECT_EQ(&items[5], array.PAt(6));
    EXPECT_EQ(&items[29], array.PAt(30));
    EXPECT_EQ(nullptr, array.PAt(31)) << "a slot beyond the count is empty";

    ASSERT_TRUE(array.BRemoveAt(30));
    EXPECT_EQ(30, array.Count());
    EXPECT_EQ(&items[28], array.PAt(29));
    EXPECT_EQ(nullptr, array.PAt(30));
    EXPECT_FALSE(array.BRemoveAt(30));
    EXPECT_FALSE(array.BInsertAt(-1, &items[31]));
    array.VFree();
    EXPECT_EQ(nullptr, array.Data());
    EXPECT_FALSE(array.BAppend(&items[31]));
}

// A picture of two colours: the top-left pixel is the see-through one.
HBITMAP TwoColourBitmap(COLORREF colour) {
    CZQWindowDC screen(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen.Get(), 16, 16);
    CZQMemDC dc(CreateCompatibleDC(screen.Get()));
    HGDIOBJ old = SelectObject(dc.Get(), bitmap);
    CZQGdiObject brush(CreateSolidBrush(colour));
    RECT all = {0, 0, 16, 16};
    FillRect(dc.Get(), &all, static_cast<HBRUSH>(brush.Get()));
    SetPixel(dc.Get(), 0, 0, RGB(255, 0, 255));
    SelectObject(dc.Get(), old);
    return bitmap;
}

// Rows show the picture of their slot, or the first row's when theirs is empty; rows from the 27th
// on show none.
TEST_F(ShortcutsPage, RowsDrawTheirPictureOrTheFirstOnesUpToThe26th) {
    Start();
    HWND list = Ctl(IDC_LB_DOCTYPE_SETTING);
    for (int i = 0; i < 28; ++i) SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Row"));
    CZQGdiObject red(TwoColourBitmap(RGB(255, 0, 0))), blue(TwoColourBitmap(RGB(0, 0, 255)));
    ShortcutBitmapArray& pictures = m_tab->ListForTesting().Pictures();
    ASSERT_TRUE(pictures.BAppend(red.Get()));
    ASSERT_TRUE(pictures.BAppend(nullptr));
    ASSERT_TRUE(pictures.BAppend(blue.Get()));

    CZQWindowDC screen(nullptr);
    CZQMemDC dc(CreateCompatibleDC(screen.Get()));
    CZQGdiObject canvas(CreateCompatibleBitmap(screen.Get(), 300, 80));
    HGDIOBJ old = SelectObject(dc.Get(), canvas.Get());
    const struct {
        UINT row;
        COLORREF picture;
    } cases[] = {
        {0, RGB(255, 0, 0)}, {1, RGB(255, 0, 0)}, {2, RGB(0, 0, 255)}, {25, RGB(255, 0, 0)},
        {26, GetSysColor(COLOR_WINDOW)}, {27, GetSysColor(COLOR_WINDOW)},
    };
    for (const auto& c : cases) {
        DRAWITEMSTRUCT item = {ODT_LISTBOX, IDC_LB_DOCTYPE_SETTING, c.row, ODA_DRAWENTIRE, 0, list, dc.Get(),
                               {0, 0, 300, 75}, 0};
        m_tab->VDrawShortcutItem(&item, list, &m_logic);
        EXPECT_EQ(c.picture, GetPixel(dc.Get(), 10, 10)) << c.row;
    }
    SelectObject(dc.Get(), old);
}

// A name too wide for its row goes on two lines on the large-format printers too; one that fits
// stays on one.
TEST_F(ShortcutsPage, LongNamesTakeTwoLinesInLargeFormatRows) {
    Start();
    HWND list = Ctl(IDC_LB_DOCTYPE_SETTING);
    for (PCWSTR name : {L"Posters", L"Posters and Banners of Technical Drawings"})
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    CZQWindowDC screen(nullptr);
    CZQMemDC dc(CreateCompatibleDC(screen.Get()));
    CZQGdiObject canvas(CreateCompatibleBitmap(screen.Get(), 200, 75));
    HGDIOBJ old = SelectObject(dc.Get(), canvas.Get());
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc.Get(), &metrics);
    const int middle = (75 - metrics.tmHeight) / 2;
    // Ink in the band of a line: a pixel that is not the row's background.
    const auto inked = [&](int top) {
        for (int y = top; y < top + metrics.tmHeight; ++y)
            for (int x = 0; x < 200; ++x)
                if (GetPixel(dc.Get(), x, y) != GetSysColor(COLOR_WINDOW)) return true;
        return false;
    };
    for (UINT row : {0u, 1u}) {
        DRAWITEMSTRUCT item = {ODT_LISTBOX, IDC_LB_DOCTYPE_SETTING, row, ODA_DRAWENTIRE, 0, list, dc.Get(), {0, 0, 200, 75}, 0};
        m_tab->ListForTesting().Pictures().VFree();
        m_tab->VDrawShortcutItem(&item, list, &m_logic);
        EXPECT_EQ(row == 1, inked(middle - 7 - metrics.tmHeight / 2 - 2) && inked(middle + 7 + metrics.tmHeight / 2 + 2))
            << row;
    }
    SelectObject(dc.Get(), old);
}

// The tray record gives the paper source of a tray it holds; any other tray, and a printer without
// the record, the printer's first source.
TEST_F(ShortcutsPage, TrayIdsInsideTheRecordElseTheFirstSource) {
    Start();
    EXPECT_EQ(15u, m_tab->DWGetTrayBinId(&m_context, 0)) << "no record";
    const WORD bins[] = {7, 261, 262};
    WCHAR names[3][CZQCommon::kBinNameChars] = {L"Tray 1", L"Roll 1", L"Roll 2"};
    ASSERT_TRUE(ZQStoreTrayRecord(m_hPrinter, bins, names[0], 3));
    const struct {
        int tray;
        DWORD id;
    } cases[] = {{0, 7}, {1, 261}, {2, 262}, {3, 15}, {4, 15}, {-1, 15}};
    for (const auto& c : cases) EXPECT_EQ(c.id, m_tab->DWGetTrayBinId(&m_context, c.tray)) << c.tray;
}

// Forms of any kind are found whatever their case.
TEST_F(ShortcutsPage, FormsFoundAndMissing) {
    m_printer.AddForm(L"A4", 210000, 297000);
    m_printer.AddForm(L"Poster 24x36", 609600, 914400, FORM_USER);
    Start();
    const struct {
        const wchar_t* name;
        BOOL found;
    } cases[] = {{L"A4", TRUE}, {L"poster 24X36", TRUE}, {L"A3", FALSE}, {L"", FALSE}};
    for (const auto& c : cases) EXPECT_EQ(c.found, m_tab->BFormExists(&m_context, c.name)) << c.name;
    EXPECT_FALSE(m_tab->BFormExists(&m_context, nullptr));
}

// Alerts on: the window takes the placeholder's place and the refresh button shows; off: both are
// hidden.
TEST_F(ShortcutsPage, AlertStripOnAndOff) {
    for (BOOL on : {FALSE, TRUE}) {
        SCOPED_TRACE(on);
        m_gates->alertsOn = on;
        if (!m_page) {
            Start();
        } else {
            DestroyWindow(m_page);
            ASSERT_NE(nullptr, OpenPage(IDD_DLG_DOC_CENTRIC_UI_SUI, &LargeFormatShortcutsPageDlgProc));
        }
        EXPECT_EQ(on, m_tab->AlertsForTesting().Window() != nullptr);
        EXPECT_EQ(on, Ctl(IDC_ALERT_PLACEHOLDER) == nullptr) << "the window takes the placeholder's place";
        EXPECT_EQ(on != FALSE, Shown(IDC_ALERT_REFRESH));
    }
    EXPECT_FALSE(m_tab->BCreateAlertStrip(nullptr, &m_context));
}

}  // namespace
