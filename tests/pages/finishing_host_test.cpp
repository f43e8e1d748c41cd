// Under the core driver stand-in: the desk printer's Finishing page after its Paper/Quality page, as
// the user sees it, its choices on OK, and the one export of an Apply.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "cfgmgrtest.h"
#include "formats/zquidevmode.h"
#include "hosttest.h"
#include "layoutcheck.h"
#include "res/zqfinishingids.h"
#include "res/zqtilingids.h"
#include "zqhostapp.h"
#include "zqprinter.h"

namespace {

using FinishingUnderHost = zqhosttest::SamplePrintersTest;

// The id of the tile dialog's first tile button; the others follow.
constexpr int kFirstTileId = 2430;

void PutPrinterData(HANDLE h, const wchar_t* name, DWORD value) {
    SetPrinterDataW(h, const_cast<LPWSTR>(name), REG_DWORD, reinterpret_cast<BYTE*>(&value), sizeof value);
}
void PutPrinterText(HANDLE h, const wchar_t* name, const wchar_t* text) {
    SetPrinterDataW(h, const_cast<LPWSTR>(name), REG_SZ, reinterpret_cast<BYTE*>(const_cast<wchar_t*>(text)),
                    static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t)));
}

TEST_F(FinishingUnderHost, ChoicesAfterThePaperPageReachTheDevmodeAndExportOnce) {
    const std::wstring printer = zqhosttest::kDeskPrinter;
    zqhosttest::ResetToDefaults(printer);
    CZQSpoolPrinter h = zqhosttest::OpenFully(printer);
    // The configuration manager takes the settings whatever process shows the sheet.
    PutPrinterText(h.Get(), L"DMCExist", L"True");
    PutPrinterData(h.Get(), L"AlwaysExport", 1);
    zqcfgtest::ResetStandIn();

    std::vector<std::wstring> orders, booklets;
    std::wstring title;
    std::vector<std::string> faults;
    int chosen = 0;
    std::vector<BYTE> out;
    {
        CZQAutoPress press(50, [&](HWND sheet) {
            ASSERT_TRUE(ZQShowPage(sheet, L"Paper/Quality"));
            HWND paper = ZQCurrentPage(sheet);
            chosen += ZQChooseOnPage(paper, L"Use Different Paper/Covers", L"on") +
                      ZQChooseOnPage(paper, L"#427", L"Front Cover") + ZQChooseOnPage(paper, L"#431", L"on");
            ASSERT_TRUE(ZQShowPage(sheet, L"Finishing"));
            HWND page = ZQCurrentPage(sheet);
            WCHAR text[64] = {};
            GetWindowTextW(GetDlgItem(page, IDC_CHK_ROTATED), text, 64);
            title = text;
            orders = ZQListEntries(GetDlgItem(page, IDC_CBO_PAGE_ORDER));
            booklets = ZQListEntries(GetDlgItem(page, IDC_CBO_BOOKLET_PRINTING));
            // The page order is one of several pages on a sheet.
            chosen += ZQChooseOnPage(page, L"#538", L"on") + ZQChooseOnPage(page, L"Rotate by 180 degrees", L"on") +
                      ZQChooseOnPage(page, L"Pages per Sheet and Posters", L"4 Pages per Sheet") +
                      ZQChooseOnPage(page, L"Page Order", L"Down, then Left");
            // As the user sees it: every control whole in its frame, every text fitting it.
            const auto plugin = reinterpret_cast<HINSTANCE>(GetModuleHandleW(L"zqoemui.dll"));
            faults = zqtest::LayoutFaults(page, plugin, IDD_DLG_FINISHINGPAGE);
            for (const std::string& fault : zqtest::TextFaults(page)) faults.push_back(fault);
        });
        EXPECT_EQ(IDOK, ZQOpenPreferences(h.Get(), printer, nullptr, out));
    }
    EXPECT_EQ(7, chosen);
    for (const std::string& fault : faults) ADD_FAILURE() << fault;
    EXPECT_EQ(L"&Rotate by 180 degrees", title);
    EXPECT_EQ(4u, orders.size());
    EXPECT_EQ(3u, booklets.size());

    ZQUIDevmode block = {};
    const BYTE* oem = out.empty() ? nullptr : zqhosttest::OemBlock(out);
    ASSERT_NE(nullptr, oem);
    std::memcpy(&block, oem, sizeof block);
    EXPECT_EQ(2, block.wOrientation);
    EXPECT_EQ(1u, block.dwRotate180);
    EXPECT_EQ(3u, block.dwPagesPerSheet);
    EXPECT_EQ(3u, block.dwPageOrderIndex);
    EXPECT_EQ(1u, block.dwFrontCover) << "the Paper/Quality page's cover";
    EXPECT_EQ(813, block.iStartPage) << "the page left last";
    EXPECT_EQ(1u, zqcfgtest::Calls(L"DMCStartExport(").size()) << "only the last page visited exports";

    // The spooler cannot delete printer data itself.
    const std::wstring key = L"System\\CurrentControlSet\\Control\\Print\\Printers\\" + printer + L"\\PrinterDriverData";
    for (const wchar_t* name : {L"DMCExist", L"AlwaysExport"})
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), name);
}

// A poster turns two-sided printing off; its second tile, left out in the tile dialog, reaches the
// settings on OK. Two-sided printing with a booklet stores the booklet's binding edge.
TEST_F(FinishingUnderHost, PosterTilesAndBookletReachTheDevmode) {
    const std::wstring printer = zqhosttest::kDeskPrinter;
    zqhosttest::ResetToDefaults(printer);
    auto onFinishing = [&](const std::function<void(HWND)>& hook) {
        const std::vector<BYTE> out = zqhosttest::PreferencesOnPage(printer, L"Finishing", hook);
        ZQUIDevmode block = {};
        if (const BYTE* oem = out.empty() ? nullptr : zqhosttest::OemBlock(out)) std::memcpy(&block, oem, sizeof block);
        return block;
    };

    bool twoSidedAfterPoster = true, tilesOpen = false;
    ZQDialogSeen seen;
    std::wstring count;
    ZQUIDevmode block = onFinishing([&](HWND page) {
        ASSERT_TRUE(ZQChooseOnPage(page, L"#264", L"on"));
        ASSERT_TRUE(ZQChooseOnPage(page, L"Pages per Sheet and Posters", L"3 x 3 tiles"));
        twoSidedAfterPoster = IsDlgButtonChecked(page, IDC_CHK_DUPLEX) == BST_CHECKED;
        ZQDialogSteps steps;
        steps.choices = {{L"#" + std::to_wstring(kFirstTileId + 1), L"click"}};
        steps.inspect = [&](HWND dialog) {
            WCHAR text[64] = {};
            GetDlgItemTextW(dialog, IDC_STA_TILE_SELECTED, text, 64);
            count = text;
        };
        tilesOpen = ZQPressForDialog(page, L"Select Tiles...", steps, seen);
    });
    EXPECT_FALSE(twoSidedAfterPoster) << "a poster prints on one side";
    ASSERT_TRUE(tilesOpen);
    EXPECT_TRUE(seen.shown && seen.chosen && seen.closed);
    EXPECT_EQ(L"Tiles printed: 8", count);
    EXPECT_EQ(static_cast<WORD>(DMDUP_SIMPLEX), block.wDuplex);
    const std::vector<DWORD> tiles(block.adwPosterTiles, block.adwPosterTiles + 9);
    EXPECT_EQ((std::vector<DWORD>{1, 0, 1, 1, 1, 1, 1, 1, 1}), tiles);

    block = onFinishing([&](HWND page) {
        ASSERT_TRUE(ZQChooseOnPage(page, L"#264", L"on"));
        ASSERT_TRUE(ZQChooseOnPage(page, L"Booklet Printing", L"Right Edge Binding"));
    });
    EXPECT_EQ(2u, block.dwBooklet);
    EXPECT_EQ(2u, block.dwPagesPerSheet);
    EXPECT_EQ(static_cast<WORD>(DMDUP_HORIZONTAL), block.wDuplex) << "a booklet binds on the short edge";
}

// The roll printer's tile push item in the core driver's list opens the same tile dialog, over the
// driver's page: without a poster chosen, 2 tiles a side.
TEST_F(FinishingUnderHost, TheRollPrintersTilePushItemOpensTheTileDialog) {
    const std::wstring printer = zqhosttest::kRollPrinter;
    zqhosttest::ResetToDefaults(printer);
    CZQSpoolPrinter h = zqhosttest::OpenFully(printer);
    ZQDialogSeen seen;
    bool pressed = false;
    int tiles = 0;
    std::vector<BYTE> out;
    {
        CZQAutoPress press(50, [&](HWND sheet) {
            HWND page = ZQCurrentPage(sheet);
            ASSERT_TRUE(ZQSelectRow(page, L"Tile Selection", true));
            ZQDialogSteps steps;
            steps.inspect = [&](HWND dialog) {
                while (GetDlgItem(dialog, kFirstTileId + tiles)) ++tiles;
            };
            steps.close = L"Cancel";
            pressed = ZQPressForDialog(page, L"Tile Selection...", steps, seen);
        });
        EXPECT_EQ(IDOK, ZQOpenPreferences(h.Get(), printer, nullptr, out));
    }
    ASSERT_TRUE(pressed);
    EXPECT_TRUE(seen.shown && seen.closed);
    EXPECT_EQ(L"Tiling Selection", seen.title);
    EXPECT_EQ(4, tiles);
}

}  // namespace
