// Under the core driver stand-in: the roll printer's Printing Shortcuts page, first in its sheet,
// with its texts, Save As and Delete, the sample page and the alert strip's place, laid out whole;
// OK on it leaves it as the page to open on.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "formats/zquidevmode.h"
#include "hosttest.h"
#include "layoutcheck.h"
#include "res/zqshortcutsids.h"
#include "testsupport.h"
#include "zqhostapp.h"

namespace {

using ShortcutsUnderHost = zqhosttest::SamplePrintersTest;

std::wstring TextOf(HWND hCtrl) {
    WCHAR text[512] = {};
    if (hCtrl) GetWindowTextW(hCtrl, text, 512);
    return text;
}

TEST_F(ShortcutsUnderHost, RollPrinterShowsThePageFirstAndKeepsItOnOk) {
    const wchar_t* printer = zqhosttest::kRollPrinter;
    zqhosttest::ResetToDefaults(printer);
    CZQSpoolPrinter h = zqhosttest::OpenFully(printer);
    std::vector<std::string> faults;
    std::wstring title, saveAs, remove;
    bool list = false, preview = false;
    std::vector<BYTE> out;
    {
        CZQAutoPress press(50, [&](HWND sheet) {
            ASSERT_TRUE(ZQShowPage(sheet, L"Printing Shortcuts"));
            HWND page = ZQCurrentPage(sheet);
            const auto plugin = reinterpret_cast<HINSTANCE>(GetModuleHandleW(L"zqoemui.dll"));
            faults = zqtest::LayoutFaults(page, plugin, IDD_DLG_DOC_CENTRIC_UI_SUI);
            title = TextOf(GetDlgItem(page, IDC_STA_TITLE1));
            saveAs = TextOf(GetDlgItem(page, IDC_BTN_SAVE));
            remove = TextOf(GetDlgItem(page, IDC_BTN_DELETE));
            list = IsWindowVisible(GetDlgItem(page, IDC_LB_DOCTYPE_SETTING)) != FALSE;
            preview = IsWindowVisible(GetDlgItem(page, IDC_BTN_PREVIEW_PORT)) ||
                      IsWindowVisible(GetDlgItem(page, IDC_BTN_PREVIEW_LAND));
        });
        EXPECT_EQ(IDOK, ZQOpenPreferences(h.Get(), printer, nullptr, out));
    }
    for (const std::string& fault : faults) ADD_FAILURE() << fault;
    EXPECT_EQ(L"Select the printing shortcut for this print job.", title);
    EXPECT_FALSE(saveAs.empty());
    EXPECT_EQ(L"De&lete", remove);
    EXPECT_TRUE(list && preview);
    const BYTE* oem = zqhosttest::OemBlock(out);
    ASSERT_NE(nullptr, oem);
    ZQUIDevmode block = {};
    std::memcpy(&block, oem, sizeof block);
    EXPECT_EQ(4255, block.iStartPage) << "the sheet opens on the Printing Shortcuts page next";
}

}  // namespace
