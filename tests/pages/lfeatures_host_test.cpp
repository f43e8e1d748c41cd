// Under the core driver stand-in: the roll printer with the simplified interface shows its own
// Features page with the roll picture; a percentage, the roll options and an accounting ID reach the core driver's items and the devmode on OK; automatic rotation is offered
// only with a roll loaded.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "formats/zquidevmode.h"
#include "hosttest.h"
#include "layoutcheck.h"
#include "res/zqlfeaturesids.h"
#include "testsupport.h"
#include "zqhostapp.h"

namespace {

TEST(LargeFeaturesUnderHost, RollPrinterStoresItsChoicesOnOk) {
    const std::wstring printer = zqhosttest::kRollPrinter;
    zqhosttest::ResetToDefaults(printer);
    CZQSpoolPrinter h = zqhosttest::OpenFully(printer);
    std::vector<std::wstring> tabs;
    std::vector<std::string> faults;
    bool autorotateWithoutRoll = true, autorotateWithRoll = false;
    bool cutterKept = false;
    std::wstring accountKept;
    std::vector<BYTE> out, stored;
    for (int pass = 0; pass < 3; ++pass) {
        const bool loaded = pass > 0;
        zqhosttest::PutAnswer(h.Get(), L"Roll1Width", loaded ? L"36" : nullptr);
        zqhosttest::PutAnswer(h.Get(), L"Roll2Width", nullptr);
        CZQAutoPress press(50, [&](HWND sheet) {
            tabs = zqtest::TabTitles(sheet);
            ASSERT_TRUE(ZQShowPage(sheet, L"Features"));
            HWND page = ZQCurrentPage(sheet);
            (loaded ? autorotateWithRoll : autorotateWithoutRoll) =
                IsWindowEnabled(GetDlgItem(page, IDC_CHK_AUTOROTATE_SUI)) != FALSE;
            if (pass == 2) {
                // Opened again: the core driver's item and the devmode kept the choices.
                cutterKept = IsDlgButtonChecked(page, IDC_CHK_DISABLE_AUTO_CUTTER_SUI) == BST_CHECKED;
                WCHAR text[64] = {};
                GetDlgItemTextW(page, IDC_TXT_ACCOUNTID_SUI, text, 64);
                accountKept = text;
                return;
            }
            if (!loaded) return;
            const auto plugin = reinterpret_cast<HINSTANCE>(GetModuleHandleW(L"zqoemui.dll"));
            faults = zqtest::LayoutFaults(page, plugin, IDD_DLG_FEATURESPAGELQJ);
            ASSERT_TRUE(ZQChooseOnPage(page, L"#993", L"on"));
            ASSERT_TRUE(ZQChooseOnPage(page, L"#994", L"150"));
            ASSERT_TRUE(ZQChooseOnPage(page, L"#1005", L"on"));
            ASSERT_TRUE(ZQChooseOnPage(page, L"#1011", L"Dept42"));
        });
        // The last pass opens on the devmode the choices left.
        const std::vector<BYTE> chosen = out;
        EXPECT_EQ(IDOK, ZQOpenPreferences(h.Get(), printer,
                                          pass == 2 ? reinterpret_cast<const DEVMODEW*>(chosen.data()) : nullptr, out));
        if (pass == 1) stored = out;
    }
    // Paper saving, hidden here, leaves its place empty: the roll-saving group keeps the template's.
    const std::string paperSaving = "hidden group #" + std::to_string(IDC_GB_PAPERSAVINGOPT_SUI) + " ";
    for (const std::string& fault : faults)
        if (fault.find(paperSaving) == std::string::npos) ADD_FAILURE() << fault;
    EXPECT_NE(tabs.end(), std::find(tabs.begin(), tabs.end(), std::wstring(L"Features")));
    EXPECT_FALSE(autorotateWithoutRoll) << "automatic rotation needs a roll loaded";
    EXPECT_TRUE(autorotateWithRoll);
    EXPECT_TRUE(cutterKept);
    EXPECT_EQ(L"Dept42", accountKept);
    const BYTE* oem = zqhosttest::OemBlock(stored);
    ASSERT_NE(nullptr, oem);
    ZQUIDevmode block = {};
    std::memcpy(&block, oem, sizeof block);
    EXPECT_EQ(150u, block.dwScalePercent);
    EXPECT_EQ(std::wstring(L"Dept42"), std::wstring(block.szAppText));
    EXPECT_EQ(5198, block.iStartPage);
}

}  // namespace
