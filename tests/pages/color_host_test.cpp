// Under the core driver stand-in: the Colour page of the desk printer, of the roll printer with the
// simplified interface and of the wide printer's PostScript variant, each on its own template and
// laid out whole; greyscale chosen on the desk printer's page reaches the devmode on OK.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "formats/zquidevmode.h"
#include "hosttest.h"
#include "layoutcheck.h"
#include "res/zqcolorids.h"
#include "testsupport.h"
#include "zqhostapp.h"
#include "zqinstall.h"

namespace {

const wchar_t kWidePsModel[] = L"samples\\zqroll\\zqwideps.zqm";
const wchar_t kWidePsPrinter[] = L"ZQ Wide 4600 PS Large Format";

class ColorUnderHost : public zqhosttest::SamplePrintersTest {
protected:
    static void SetUpTestSuite() {
        SamplePrintersTest::SetUpTestSuite();
        ZQInstallResult installed;
        ASSERT_TRUE(ZQInstallPrinter(zqtest::BesideExe(kWidePsModel), zqtest::ExeDir(), L"", installed))
            << ZQUtf8(installed.error);
    }
};

TEST_F(ColorUnderHost, EachPrinterShowsItsTemplateAndGreyscaleReachesTheDevmode) {
    const struct {
        const wchar_t* printer;
        WORD wTemplate;
        int ownControl;  // a control only that template has
        bool chooseGreyscale;
    } cases[] = {
        {zqhosttest::kDeskPrinter, IDD_DLG_COLORPAGE, IDC_RB_AUTO, true},
        {zqhosttest::kRollPrinter, IDD_DLG_COLORPAGE_SUI, IDC_RB_PRINTINCOLOR, false},
        {kWidePsPrinter, IDD_DLG_COLORPAGE_LQJ, IDC_CBO_PRESET, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(ZQUtf8(c.printer));
        zqhosttest::ResetToDefaults(c.printer);
        CZQSpoolPrinter h = zqhosttest::OpenFully(c.printer);
        std::vector<std::string> faults;
        bool own = false;
        std::vector<BYTE> out;
        {
            CZQAutoPress press(50, [&](HWND sheet) {
                ASSERT_TRUE(ZQShowPage(sheet, L"Color"));
                HWND page = ZQCurrentPage(sheet);
                own = GetDlgItem(page, c.ownControl) != nullptr;
                const auto plugin = reinterpret_cast<HINSTANCE>(GetModuleHandleW(L"zqoemui.dll"));
                faults = zqtest::LayoutFaults(page, plugin, c.wTemplate);
                if (c.chooseGreyscale) SendMessageW(GetDlgItem(page, IDC_CHK_GRAYSCALE), BM_CLICK, 0, 0);
            });
            EXPECT_EQ(IDOK, ZQOpenPreferences(h.Get(), c.printer, nullptr, out));
        }
        EXPECT_TRUE(own);
        for (const std::string& fault : faults) ADD_FAILURE() << fault;
        const BYTE* oem = zqhosttest::OemBlock(out);
        ASSERT_NE(nullptr, oem);
        ZQUIDevmode block = {};
        std::memcpy(&block, oem, sizeof block);
        EXPECT_EQ(c.chooseGreyscale ? 1u : 0u, block.dwPrintAsGray);
        EXPECT_EQ(798, block.iStartPage) << "the sheet opens on the Colour page next";
        if (c.chooseGreyscale) {
            ASSERT_GE(out.size(), sizeof(DEVMODEW));
            EXPECT_EQ(DMCOLOR_MONOCHROME, reinterpret_cast<const DEVMODEW*>(out.data())->dmColor);
        }
    }
}

// The desk printer's page in the status module's words; the sheet's Apply waits for a real change,
// which the Advanced Color Settings dialog makes: OK there stores its values and the ink's level.
TEST_F(ColorUnderHost, AdvancedSettingsChangeThePageAndReachTheDevmode) {
    const wchar_t* printer = zqhosttest::kDeskPrinter;
    zqhosttest::ResetToDefaults(printer);
    CZQSpoolPrinter h = zqhosttest::OpenFully(printer);
    ZQDialogSteps steps;
    steps.choices = {{L"#1303", L"30"}, {L"#1333", L"-6"}};
    steps.inspect = [&](HWND dialog) {
        for (const std::string& fault : zqtest::TextFaults(dialog)) ADD_FAILURE() << fault;
    };
    ZQDialogSeen seen;
    std::wstring autoText, intentText;
    bool applyBefore = true, applyAfter = false;
    std::vector<BYTE> out;
    {
        CZQAutoPress press(50, [&](HWND sheet) {
            ASSERT_TRUE(ZQShowPage(sheet, L"Color"));
            HWND page = ZQCurrentPage(sheet);
            WCHAR text[64] = {};
            GetDlgItemTextW(page, IDC_RB_AUTO, text, 64);
            autoText = text;
            GetDlgItemTextW(page, IDC_STA_INTENT, text, 64);
            intentText = text;
            applyBefore = IsWindowEnabled(GetDlgItem(sheet, 0x3021)) != FALSE;
            ZQPressForDialog(page, L"#741", steps, seen);
            applyAfter = IsWindowEnabled(GetDlgItem(sheet, 0x3021)) != FALSE;
        });
        EXPECT_EQ(IDOK, ZQOpenPreferences(h.Get(), printer, nullptr, out));
    }
    EXPECT_EQ(L"&Automatic", autoText);
    EXPECT_EQ(L"&Intent:", intentText);
    EXPECT_TRUE(seen.shown && seen.chosen && seen.closed);
    EXPECT_EQ(L"Advanced Color Settings", seen.title);
    EXPECT_FALSE(applyBefore);
    EXPECT_TRUE(applyAfter);
    const BYTE* oem = zqhosttest::OemBlock(out);
    ASSERT_NE(nullptr, oem);
    ZQUIDevmode block = {};
    std::memcpy(&block, oem, sizeof block);
    EXPECT_EQ(30, block.aiColorAdjust[0]);
    EXPECT_EQ(-6, block.aiColorAdjust[3]);
    EXPECT_EQ("-6", zqhosttest::Selected(out, "ZQCyanBrightness"));
}

}  // namespace
