// Under the core driver stand-in: the roll printer's Printing Shortcuts page with its texts, laid
// out whole; OK on it leaves it as the page to open on.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <functional>
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

// A task preset of that name among the printer's stored ones (its name is in the stored value).
bool PresetStored(HANDLE hPrinter, const std::wstring& name) {
    DWORD needed = 0, count = 0;
    EnumPrinterDataExW(hPrinter, L"ZQPresetRoot\\PresetPoolData", nullptr, 0, &needed, &count);
    std::vector<BYTE> buffer(needed);
    if (!needed || EnumPrinterDataExW(hPrinter, L"ZQPresetRoot\\PresetPoolData", buffer.data(), needed, &needed,
                                      &count) != ERROR_SUCCESS)
        return false;
    const auto* values = reinterpret_cast<const PRINTER_ENUM_VALUESW*>(buffer.data());
    const auto* wanted = reinterpret_cast<const BYTE*>(name.c_str());
    const size_t cb = name.size() * sizeof(WCHAR);
    for (DWORD i = 0; i < count; ++i) {
        const BYTE* data = values[i].pData;
        for (DWORD at = 0; data && at + cb <= values[i].cbData; at += 2)
            if (std::memcmp(data + at, wanted, cb) == 0) return true;
    }
    return false;
}

std::string ReadText(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string ReplaceOnce(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    EXPECT_NE(std::string::npos, at) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// A copy of the roll sample's model under another printer name, installed afresh (an earlier copy
// of that name goes first, with its stored data); `edit` changes the model's text further.
void InstallRollCopy(const char* copy, const wchar_t* printer, const std::function<std::string(std::string)>& edit) {
    const std::wstring model = zqtest::BesideExe(zqhosttest::kRollModel);
    const std::wstring dir = model.substr(0, model.find_last_of(L'\\') + 1);
    const std::string text = edit(ReplaceOnce(ReadText(model), "Name=ZQ Roll 4400 Large Format",
                                              "Name=" + std::string(printer, printer + wcslen(printer))));
    const std::wstring path = dir + std::wstring(copy, copy + strlen(copy)) + L".zqm";
    std::ofstream(path.c_str(), std::ios::binary) << text;
    HANDLE old = nullptr;
    PRINTER_DEFAULTSW all = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    if (OpenPrinterW(const_cast<LPWSTR>(printer), &old, &all)) {
        DeletePrinter(old);
        ClosePrinter(old);
    }
    ZQInstallResult installed;
    ASSERT_TRUE(ZQInstallPrinter(path, zqtest::ExeDir(), L"", installed));
}

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
    // OK keeps the chosen type for the next opening.
    const BYTE* oem = zqhosttest::OemBlock(out);
    ASSERT_NE(nullptr, oem);
    ZQUIDevmode block = {};
    std::memcpy(&block, oem, sizeof block);
    EXPECT_STREQ(L"Photo Printing", reinterpret_cast<const wchar_t*>(block.szDocTypeName));
    EXPECT_EQ(0u, block.dwPendingChange);
}

// Installing opens the sheets: the default settings name the first document type when they match
// it (the roll sample's), else the custom settings (a copy whose first type asks for other media).
TEST(ShortcutsAtInstallation, DefaultSettingsNameTheMatchingType) {
    const std::wstring model = zqtest::BesideExe(zqhosttest::kRollModel);
    const std::wstring dir = model.substr(0, model.find_last_of(L'\\') + 1);
    const std::string glossy = "<DocFeature><name>MediaType</name><hidden>False</hidden><resource_id>6147</resource_id>"
                               "<select_option>COATED</select_option><DocOption><name>COATED</name></DocOption>"
                               "<DocOption><name>PLAIN</name></DocOption></DocFeature><DocFeature>";
    std::ofstream((dir + L"zqrollglossy.xml").c_str(), std::ios::binary)
        << ReplaceOnce(ReadText(dir + L"zqroll.xml"), "<custbitmap_id>652</custbitmap_id>\n            <DocFeature>",
                       "<custbitmap_id>652</custbitmap_id>" + glossy);
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
        ASSERT_NO_FATAL_FAILURE(InstallRollCopy(c.copy, c.printer, [&](std::string text) {
            if (!c.glossy) return text;
            text = ReplaceOnce(text, "Files=zqroll.xml", "Files=zqrollglossy.xml");
            return ReplaceOnce(text, "Option=zqroll.xml | zqroll.xml", "Option=zqrollglossy.xml | zqrollglossy.xml");
        }));
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

// The user chooses a document type, changes the paper on the core driver's page, saves the settings
// as a new shortcut (listed under its type, with a task preset of its name in the store) and deletes
// it again while the sheet is open: Wine's spooler deletes no printer data, so the shortcut stays
// listed and the page says so.
// A copy of its own: Wine's spooler keeps printer data that is deleted, so a shared printer would
// hold the shortcut and task preset of every earlier run.
TEST(ShortcutsOnTheirOwnPrinter, SavesAShortcutAndDeletesIt) {
    const wchar_t* printer = L"ZQ Roll Shortcuts";
    ASSERT_NO_FATAL_FAILURE(InstallRollCopy("zqrollshortcuts", printer, [](std::string text) { return text; }));
    CZQSpoolPrinter h = zqhosttest::OpenFully(printer);
    std::vector<std::wstring> chosen, customised, saved, deleted;
    std::wstring refusal;
    bool saveOffered = false, dialogShown = false, deleteOffered = false, presetSaved = false;
    std::vector<BYTE> out;
    const auto rows = [](HWND page) {
        std::vector<std::wstring> texts;
        HWND list = GetDlgItem(page, IDC_LB_DOCTYPE_SETTING);
        for (LRESULT i = 0, n = SendMessageW(list, LB_GETCOUNT, 0, 0); i < n; ++i) {
            WCHAR text[256] = {};
            SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
            texts.push_back(text);
        }
        return texts;
    };
    {
        CZQAutoPress press(50, [&](HWND sheet) {
            ASSERT_TRUE(ZQShowPage(sheet, L"Printing Shortcuts"));
            HWND page = ZQCurrentPage(sheet);
            HWND list = GetDlgItem(page, IDC_LB_DOCTYPE_SETTING);
            const LRESULT photo = SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                               reinterpret_cast<LPARAM>(L"Photo"));
            ASSERT_NE(LB_ERR, photo);
            SendMessageW(list, LB_SETCURSEL, photo, 0);
            SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_LB_DOCTYPE_SETTING, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
            chosen = rows(page);
            ASSERT_TRUE(ZQShowPage(sheet, L"Document Options"));
            ASSERT_TRUE(ZQChoose(ZQCurrentPage(sheet), L"Paper Size", L"ISO A2"));
            ASSERT_TRUE(ZQShowPage(sheet, L"Printing Shortcuts"));
            customised = rows(page);
            saveOffered = IsWindowEnabled(GetDlgItem(page, IDC_BTN_SAVE)) != FALSE;
            ZQDialogSteps steps;
            steps.choices = {{L"#494", L"Site Plans"}};
            ZQDialogSeen seen;
            ZQPressForDialog(page, L"#960", steps, seen);
            dialogShown = seen.shown && seen.closed;
            saved = rows(page);
            presetSaved = PresetStored(h.Get(), L"Site Plans");
            deleteOffered = IsWindowEnabled(GetDlgItem(page, IDC_BTN_DELETE)) != FALSE;
            zqhosttest::BoxAnswers boxes({IDOK});
            SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_BTN_DELETE, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_BTN_DELETE)));
            deleted = rows(page);
            if (!boxes.Boxes().empty()) refusal = boxes.Boxes().back().text;
        });
        EXPECT_EQ(IDOK, ZQOpenPreferences(h.Get(), printer, nullptr, out));
    }
    const std::vector<std::wstring> types = {L"Technical Drawings", L"Photo", L"Posters and Banners", L"Everyday Printing"};
    EXPECT_EQ(types, chosen);
    EXPECT_EQ((std::vector<std::wstring>{L"Technical Drawings", L"Photo", L"Customized Settings", L"Posters and Banners",
                                         L"Everyday Printing"}),
              customised);
    EXPECT_TRUE(saveOffered);
    EXPECT_TRUE(dialogShown);
    EXPECT_EQ((std::vector<std::wstring>{L"Technical Drawings", L"Photo", L"Site Plans", L"Posters and Banners",
                                         L"Everyday Printing"}),
              saved);
    EXPECT_TRUE(presetSaved) << "a task preset of the same name";
    EXPECT_TRUE(deleteOffered) << "the user's own shortcut may be deleted";
    EXPECT_EQ(saved, deleted);
    EXPECT_EQ(0u, refusal.find(L"The Printing Shortcut \"Site Plans\" could not be deleted")) << ZQUtf8(refusal);
    DeletePrinter(h.Get());
}

}  // namespace
