// Under the core driver stand-in: the roll printer's Printing Shortcuts page with its texts, laid
// out whole; OK on it leaves it as the page to open on.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "formats/zquidevmode.h"
#include "hosttest.h"
#include "layoutcheck.h"
#include "res/zqdesktopshortcutsids.h"
#include "res/zqshortcutsids.h"
#include "testsupport.h"
#include "zqhostapp.h"
#include "zqinstall.h"

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

// The desk printer's sheet starts with its own Printing Shortcuts page: choosing "Photo Printing"
// sets the type's paper in the core driver and lays its features out as controls, whole.
TEST_F(ShortcutsUnderHost, DeskPrinterLaysOutTheChosenTypesFeatures) {
    const wchar_t* printer = zqhosttest::kDeskPrinter;
    zqhosttest::ResetToDefaults(printer);
    CZQSpoolPrinter h = zqhosttest::OpenFully(printer);
    std::vector<std::string> faults;
    WCHAR scaling[8] = {};
    bool made = false;
    std::vector<BYTE> out;
    {
        CZQAutoPress press(50, [&](HWND sheet) {
            ASSERT_TRUE(ZQShowPage(sheet, L"Printing Shortcuts"));
            HWND page = ZQCurrentPage(sheet);
            ASSERT_TRUE(ZQChooseOnPage(page, L"#572", L"Photo Printing"));
            const auto plugin = reinterpret_cast<HINSTANCE>(GetModuleHandleW(L"zqoemui.dll"));
            faults = zqtest::LayoutFaults(page, plugin, IDD_DLG_DOC_CENTRIC_UI);
            GetDlgItemTextW(page, IDC_TXT_FC_SCALING, scaling, 8);
            made = GetDlgItem(page, 500) && IsWindowVisible(GetDlgItem(page, IDC_TXT_FC_COPIES));
        });
        EXPECT_EQ(IDOK, ZQOpenPreferences(h.Get(), printer, nullptr, out));
    }
    for (const std::string& fault : faults) ADD_FAILURE() << fault;
    EXPECT_TRUE(made);
    EXPECT_STREQ(L"100", scaling);
    EXPECT_EQ("ZQ_BORDERLESS_4X6", zqhosttest::Selected(out, "PaperSize"));
}

// Installing opens the sheets: the default settings name the first document type when they match
// it (the roll sample's), else the custom settings (a copy whose first type asks for other media).
TEST(ShortcutsAtInstallation, DefaultSettingsNameTheMatchingType) {
    const std::wstring model = zqtest::BesideExe(zqhosttest::kRollModel);
    const std::wstring dir = model.substr(0, model.find_last_of(L'\\') + 1);
    const auto read = [](const std::wstring& path) {
        std::ifstream in(path.c_str(), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    };
    const auto replace = [](std::string text, const std::string& from, const std::string& to) {
        const size_t at = text.find(from);
        EXPECT_NE(std::string::npos, at) << from;
        return at == std::string::npos ? text : text.replace(at, from.size(), to);
    };
    const std::string glossy = "<DocFeature><name>MediaType</name><hidden>False</hidden><resource_id>6147</resource_id>"
                               "<select_option>COATED</select_option><DocOption><name>COATED</name></DocOption>"
                               "<DocOption><name>PLAIN</name></DocOption></DocFeature><DocFeature>";
    std::ofstream((dir + L"zqrollglossy.xml").c_str(), std::ios::binary)
        << replace(read(dir + L"zqroll.xml"), "<custbitmap_id>652</custbitmap_id>\n            <DocFeature>", "<custbitmap_id>652</custbitmap_id>" + glossy);
    const struct {
        const char* copy;
        const wchar_t* printer;
        bool glossy;
        const wchar_t* type;
        DWORD customised;
    } cases[] = {{"zqrollmatching", L"ZQ Roll Matching", false, L"Technical Drawings", 0},
                 {"zqrollglossy", L"ZQ Roll Glossy", true, L"Custom Print Settings", 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.copy);
        std::string text = replace(read(model), "Name=ZQ Roll 4400 Large Format",
                                   "Name=" + std::string(c.printer, c.printer + wcslen(c.printer)));
        if (c.glossy) {
            text = replace(text, "Files=zqroll.xml", "Files=zqrollglossy.xml");
            text = replace(text, "Option=zqroll.xml | zqroll.xml", "Option=zqrollglossy.xml | zqrollglossy.xml");
        }
        const std::wstring path = dir + std::wstring(c.copy, c.copy + strlen(c.copy)) + L".zqm";
        std::ofstream(path.c_str(), std::ios::binary) << text;
        HANDLE old = nullptr;
        PRINTER_DEFAULTSW all = {nullptr, nullptr, PRINTER_ALL_ACCESS};
        if (OpenPrinterW(const_cast<LPWSTR>(c.printer), &old, &all)) {
            DeletePrinter(old);
            ClosePrinter(old);
        }
        ZQInstallResult installed;
        ASSERT_TRUE(ZQInstallPrinter(path, zqtest::ExeDir(), L"", installed));
        CZQSpoolPrinter h = zqhosttest::OpenFully(c.printer);
        const std::vector<BYTE> dm = ZQQueryDevmode(h.Get(), c.printer);
        const BYTE* oem = zqhosttest::OemBlock(dm);
        ASSERT_NE(nullptr, oem);
        ZQUIDevmode block = {};
        std::memcpy(&block, oem, sizeof block);
        EXPECT_STREQ(c.type, reinterpret_cast<const wchar_t*>(block.szDocTypeName));
        EXPECT_EQ(c.customised, block.dwPendingChange);
        if (!c.customised) {
            EXPECT_EQ(100u, block.dwDocTypeScaling);
            EXPECT_EQ(1u, block.dwDocTypeCopies);
        }
        EXPECT_NE(std::wstring::npos, ZQDescribeDevmode(dm.data(), dm.size()).find(c.type)) << "the summary names it";
        DeletePrinter(h.Get());
    }
}

}  // namespace
