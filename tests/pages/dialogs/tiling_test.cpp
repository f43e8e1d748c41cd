// The tile selection dialog of posters, opened by the Finishing page's Select Tiles button and by the
// core driver's tile push item: the n x n tile buttons over the grid area, the choices, OK writing
// all 25 tile flags with the changed flag the page's change check reads, Cancel and Close changing
// nothing, and both openers in one process.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "finishingtest.h"
#include "res/zqtilingids.h"

namespace {

using zqtest::ListFeature;
using Dlg = CZQTilingSelectionDlg;

class TilingDialog : public FinishingPage {
protected:
    void SetUp() override {
        FinishingPage::SetUp();
        AddItems();
        m_host.Add(ListFeature("ZQPosterPrinting", {{"FALSE", L"Off"}, {"TRUE", L"On"}}));
        m_host.Add(ListFeature("ZQPosterPrintingOption",
                               {{"2x2", L"2 x 2"}, {"3x3", L"3 x 3"}, {"4x4", L"4 x 4"}, {"5x5", L"5 x 5"}}));
        m_host.Add(ListFeature("ZQTilingSelection", {{"ALL", L"All Tiles"}}));
        Build();
        ASSERT_NE(nullptr, Open());
    }
    // The page's list on the poster of n tiles a side.
    void ChoosePoster(int n) {
        SendMessageW(Ctl(IDC_CBO_PAGES_PER_SHEET), CB_SETCURSEL, static_cast<WPARAM>(6 + n - 2), 0);
        Notice(m_page, IDC_CBO_PAGES_PER_SHEET, CBN_SELCHANGE);
    }
    // The dialog from the page's button; `inside` works in it and closes it (else it is cancelled).
    void FromPage(std::function<void(HWND)> inside) {
        Modal(
            [&] {
                Click(m_page, IDC_BTN_SELECT_TILES);
                return INT_PTR{0};
            },
            std::move(inside));
    }
    // The dialog from the core driver's push item, over its page; its result.
    INT_PTR FromPushItem(std::function<void(HWND)> inside) {
        CPSUICBPARAM cb = {};
        cb.cbSize = sizeof cb;
        cb.hDlg = m_page;
        ZQOemDialogParam param = {sizeof param, kOemDialogTiles, &m_logic, L"ZQPosterPrintingOption", &cb, nullptr};
        return Modal([&] { return Dlg::IRunFromPushItem(&param); }, std::move(inside));
    }
    static void Press(HWND dialog, int id) { Notice(dialog, id, BN_CLICKED); }
    static RECT ClientRect(HWND dialog, HWND control) {
        RECT rc = {};
        GetWindowRect(control, &rc);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rc), 2);
        return rc;
    }
    std::vector<uint32_t> WorkTiles() { return {Work().adwPosterTiles, Work().adwPosterTiles + Dlg::kTileCount}; }
};

// n x n tile buttons, each an n-th of the grid area's width and height, row by row from its top left,
// none a tab stop; none beyond. The count line shows the tiles printed.
TEST_F(TilingDialog, TileGridForEachSize) {
    for (int n = 2; n <= 5; ++n) {
        SCOPED_TRACE(n);
        ChoosePoster(n);
        bool seen = false;
        FromPage([&](HWND dialog) {
            seen = true;
            WCHAR title[64] = {};
            GetWindowTextW(dialog, title, 64);
            EXPECT_STREQ(L"Tiling Selection", title);
            const RECT first = ClientRect(dialog, GetDlgItem(dialog, IDC_TILE1));
            const RECT fifth = ClientRect(dialog, GetDlgItem(dialog, IDC_TILE5));
            const RECT last = ClientRect(dialog, GetDlgItem(dialog, IDC_TILE25));
            const int width = (fifth.right - first.left) / n, height = (last.bottom - fifth.top) / n;
            for (int k = 0; k < n * n; ++k) {
                HWND tile = GetDlgItem(dialog, Dlg::kFirstTileId + k);
                ASSERT_NE(nullptr, tile) << k;
                EXPECT_TRUE((GetWindowLongPtrW(tile, GWL_STYLE) & WS_VISIBLE) && IsWindowEnabled(tile));
                EXPECT_EQ(0, GetWindowLongPtrW(tile, GWL_STYLE) & WS_TABSTOP) << k;
                const RECT rc = ClientRect(dialog, tile);
                EXPECT_EQ(first.left + (k % n) * width, rc.left) << k;
                EXPECT_EQ(first.top + (k / n) * height, rc.top) << k;
                EXPECT_EQ(width, rc.right - rc.left);
                EXPECT_EQ(height, rc.bottom - rc.top);
            }
            EXPECT_EQ(nullptr, GetDlgItem(dialog, Dlg::kFirstTileId + n * n));
            EXPECT_EQ(L"Tiles printed: " + std::to_wstring(n * n), DlgText(dialog, IDC_STA_TILE_SELECTED));
        });
        EXPECT_TRUE(seen);
    }
}

// Smaller labels on small tiles; a long menu-font name (10 characters or more) smaller still from
// 4 tiles a side.
TEST_F(TilingDialog, LabelHeightBySizeAndMenuFont) {
    const struct {
        int n;
        const wchar_t* face;
        int height;
    } cases[] = {{2, L"Tahoma", -15}, {5, L"Tahoma", -12}, {3, L"Microsoft Sans", -14}, {4, L"Microsoft Sans", -9},
                 {5, L"Segoe UI Semi", -8}, {5, L"", -12}, {5, nullptr, -12}};
    for (const auto& c : cases) EXPECT_EQ(c.height, Dlg::ILabelHeight(c.n, c.face)) << c.n;
}

// Clicks toggle the tiles of the poster only; Select All and Remove All take all 25, which OK
// writes. Cancel and Close change nothing.
TEST_F(TilingDialog, ChoicesOkCancelAndClose) {
    ChoosePoster(2);
    for (auto& tile : Work().adwPosterTiles) tile = 0;
    FromPage([&](HWND dialog) {
        Press(dialog, IDC_BTN_SELECTALL);
        Press(dialog, Dlg::kFirstTileId + 1);
        // Outside the 2 x 2 tiles, or without a button: nothing.
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(Dlg::kFirstTileId + 4, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(Dlg::kFirstTileId + 2, BN_CLICKED), 0);
        // The count line follows the tiles as they are drawn.
        ShowWindow(dialog, SW_SHOWNA);
        UpdateWindow(dialog);
        EXPECT_EQ(L"Tiles printed: 3", DlgText(dialog, IDC_STA_TILE_SELECTED));
        Press(dialog, IDOK);
    });
    std::vector<uint32_t> expected(Dlg::kTileCount, 1);
    expected[1] = 0;
    EXPECT_EQ(expected, WorkTiles());

    for (const bool close : {false, true}) {
        const INT_PTR result = FromPushItem([&](HWND dialog) {
            Press(dialog, IDC_BTN_REMOVEALL);
            if (close) SendMessageW(dialog, WM_CLOSE, 0, 0);
            else Press(dialog, IDCANCEL);
        });
        EXPECT_EQ(IDCANCEL, result);
        EXPECT_EQ(expected, WorkTiles());
    }
    EXPECT_EQ(IDOK, FromPushItem([&](HWND dialog) {
                  Press(dialog, IDC_BTN_REMOVEALL);
                  Press(dialog, IDOK);
              }));
    EXPECT_EQ(std::vector<uint32_t>(Dlg::kTileCount, 0), WorkTiles());
}

// OK sets the changed flag when a tile of the poster differs from the settings the sheet opened with;
// OK with them unchanged leaves it as it was. The page's change check reads the page's own flag
// after its OK, and clears it.
TEST_F(TilingDialog, ChangedFlag) {
    m_host.SetSelection("ZQPosterPrinting", 1);
    m_host.SetSelection("ZQPosterPrintingOption", 1);
    for (auto& tile : m_core.adwPosterTiles) tile = 1;
    for (auto& tile : Work().adwPosterTiles) tile = 1;
    auto ok = [&](int toggled) {
        FromPushItem([&](HWND d) {
            if (toggled >= 0) Press(d, Dlg::kFirstTileId + toggled);
            Press(d, IDOK);
        });
        return static_cast<Dlg*>(m_logic.m_pTilingDialog.get())->BChanged() != FALSE;
    };
    EXPECT_FALSE(ok(-1));
    EXPECT_TRUE(ok(8));
    EXPECT_TRUE(ok(8)) << "back as the sheet opened: the flag stays";
    static_cast<Dlg*>(m_logic.m_pTilingDialog.get())->VClearChanged();
    m_core.adwPosterTiles[20] = 0;
    EXPECT_FALSE(ok(-1)) << "beyond the poster's tiles a difference is no change";

    ChoosePoster(3);
    m_sheetMessages.clear();
    FromPage([&](HWND d) {
        Press(d, Dlg::kFirstTileId + 4);
        Press(d, IDOK);
    });
    ASSERT_FALSE(m_sheetMessages.empty());
    EXPECT_EQ(static_cast<UINT>(PSM_CHANGED), m_sheetMessages.back());
    EXPECT_FALSE(m_tab->TilingDialogForTesting().BChanged());
}

// The push item's dialog and the page's, one after the other in one process, each with its own
// form: the push item without a poster has 2 tiles a side, the page's keeps its poster's.
TEST_F(TilingDialog, BothOpenersInOneProcess) {
    auto tiles = [](HWND dialog) {
        int count = 0;
        while (GetDlgItem(dialog, Dlg::kFirstTileId + count)) ++count;
        return count;
    };
    int pushed = 0, paged = 0, pushedAgain = 0;
    m_host.SetSelection("ZQPosterPrinting", 0);
    FromPushItem([&](HWND dialog) { pushed = tiles(dialog); });
    ChoosePoster(4);
    FromPage([&](HWND dialog) {
        paged = tiles(dialog);
        Press(dialog, Dlg::kFirstTileId + 15);
        Press(dialog, IDOK);
    });
    EXPECT_EQ(0u, Work().adwPosterTiles[15]);
    m_host.SetSelection("ZQPosterPrinting", 1);
    m_host.SetSelection("ZQPosterPrintingOption", 1);
    FromPushItem([&](HWND dialog) { pushedAgain = tiles(dialog); });
    EXPECT_EQ(4, pushed);
    EXPECT_EQ(16, paged);
    EXPECT_EQ(9, pushedAgain);
}

}  // namespace
