// Under the core driver stand-in: the roll printer's Printing Shortcuts page with its texts, laid
// out whole; OK on it leaves it as the page to open on.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "formats/zquidevmode.h"
#include "hosttest.h"
#include "layoutcheck.h"
#include "res/zqshortcutsids.h"
#include "testsupport.h"
#include "zqhostapp.h"

namespace {

using ShortcutsUnderHost = zqhosttest::SamplePrintersTest;

TEST_F(ShortcutsUnderHost, RollPrinterShowsThePageFirstAndKeepsItOnOk) {
    const wchar_t* printer = zqhosttest::kRollPrinter;
    zqhosttest::ResetToDefaults(printer);
    CZQSpoolPrinter h = zqhosttest::OpenFully(printer);
    std::vector<std::string> faults;
    WCHAR title[128] = {}, remove[32] = {};
    std::vector<BYTE> out;
    {
        CZQAutoPress press(50, [&](HWND sheet) {
            ASSERT_TRUE(ZQShowPage(sheet, L"Printing Shortcuts"));
            HWND page = ZQCurrentPage(sheet);
            const auto plugin = reinterpret_cast<HINSTANCE>(GetModuleHandleW(L"zqoemui.dll"));
            faults = zqtest::LayoutFaults(page, plugin, IDD_DLG_DOC_CENTRIC_UI_SUI);
            GetDlgItemTextW(page, IDC_STA_TITLE1, title, 128);
            GetDlgItemTextW(page, IDC_BTN_DELETE, remove, 32);
        });
        EXPECT_EQ(IDOK, ZQOpenPreferences(h.Get(), printer, nullptr, out));
    }
    for (const std::string& fault : faults) ADD_FAILURE() << fault;
    EXPECT_STREQ(L"Select the printing shortcut for this print job.", title);
    EXPECT_STREQ(L"De&lete", remove);
    const BYTE* oem = zqhosttest::OemBlock(out);
    ASSERT_NE(nullptr, oem);
    ZQUIDevmode block = {};
    std::memcpy(&block, oem, sizeof block);
    EXPECT_EQ(4255, block.iStartPage) << "the sheet opens on the Printing Shortcuts page next";
}

}  // namespace
