// Both sample printers under the core driver stand-in with the configuration-manager stand-in:
// the printer event INITIALIZE imports the desk printer's configuration (and its lock shows in the
// sheet) and installs the roll printer's export file as its configuration; the finishing step
// applies the imported settings to the printer's default; Apply in either sheet exports the
// settings to the manager.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "cfgmgrtest.h"
#include "hosttest.h"
#include "testsupport.h"
#include "zqhostapp.h"
#include "zqhostpage.h"
#include "zqinstall.h"
#include "zqproc.h"

namespace {

namespace zc = zqcfgtest;
using zqhosttest::Choose;
using zqhosttest::CurrentPage;
using zqhosttest::SelectRow;

const std::wstring kDesk = zqhosttest::kDeskPrinter;
const std::wstring kRoll = zqhosttest::kRollPrinter;

std::wstring PrinterKey(const std::wstring& name) {
    return L"System\\CurrentControlSet\\Control\\Print\\Printers\\" + name;
}

std::wstring Data(HANDLE h, const wchar_t* key, const wchar_t* value) {
    WCHAR text[256] = {};
    DWORD type = 0, needed = 0;
    const DWORD rc = key ? GetPrinterDataExW(h, key, value, &type, reinterpret_cast<BYTE*>(text), sizeof text - 2, &needed)
                         : GetPrinterDataW(h, const_cast<LPWSTR>(value), &type, reinterpret_cast<BYTE*>(text),
                                           sizeof text - 2, &needed);
    if (rc != ERROR_SUCCESS) return L"<none>";
    DWORD number = 0;
    std::memcpy(&number, text, sizeof number);
    return type == REG_DWORD ? std::to_wstring(number) : std::wstring(text);
}

// The roll printer's configuration, installed from its export file (ANSI, no terminator).
std::wstring InstalledConfig() {
    char path[MAX_PATH] = {};
    DWORD cb = sizeof path - 1;
    const std::wstring key = PrinterKey(kRoll);
    RegGetValueA(HKEY_LOCAL_MACHINE, std::string(key.begin(), key.end()).c_str(), "ConfigFile", RRF_RT_REG_BINARY,
                 nullptr, path, &cb);
    return std::wstring(path, path + strnlen(path, cb));
}

class ConfigurationManager : public zqhosttest::SamplePrintersTest {
protected:
    void SetUp() override {
        zc::ResetStandIn();
        // What an earlier run left: the spooler cannot delete printer data itself.
        for (const std::wstring& name : {kDesk, kRoll}) {
            CZQRegKey key;
            if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, PrinterKey(name).c_str(), 0, KEY_ALL_ACCESS, key.Put()) != ERROR_SUCCESS)
                continue;
            for (const wchar_t* tree : {L"DMCDriverData", L"DMCLockData"}) RegDeleteTreeW(key.Get(), tree);
            for (const wchar_t* value : {L"Stale", L"DMCExist", L"DMCExportOnly", L"DMCStatus", L"AlwaysExport"})
                RegDeleteKeyValueW(key.Get(), L"PrinterDriverData", value);
        }
    }
    void TearDown() override { SetUp(); }

    // The spooler's printer event INITIALIZE, through the driver as the spooler loads it.
    static void Initialize(const std::wstring& name) {
        CZQModule driver = zqhosttest::DriverModule(name);
        using PFN_PrinterEvent = BOOL(WINAPI*)(LPWSTR, INT, DWORD, LPARAM);
        auto event = ZQGetProc<PFN_PrinterEvent>(driver.Get(), "DrvPrinterEvent");
        ASSERT_NE(nullptr, event);
        ASSERT_TRUE(event(const_cast<LPWSTR>(name.c_str()), PRINTER_EVENT_INITIALIZE, 0, 0));
    }
    static void Preferences(const std::wstring& name, const std::function<void(HWND)>& hook) {
        CZQSpoolPrinter h = Open(name);
        std::vector<BYTE> out;
        CZQAutoPress press(50, [&](HWND sheet) { hook(CurrentPage(sheet)); });
        EXPECT_EQ(IDOK, ZQOpenPreferences(h.Get(), name, nullptr, out));
        EXPECT_TRUE(press.Pressed());
    }
    static void AlwaysExport(const std::wstring& name) {
        CZQSpoolPrinter h = Open(name);
        DWORD one = 1;
        ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), SetPrinterDataW(h.Get(), const_cast<LPWSTR>(L"AlwaysExport"),
                                                                     REG_DWORD, reinterpret_cast<BYTE*>(&one), sizeof one));
    }
};

TEST_F(ConfigurationManager, InstallationImportsTheConfigurationAndItsLocksShowInTheSheet) {
    Initialize(kDesk);
    CZQSpoolPrinter desk = Open(kDesk);
    const struct {
        const wchar_t* key;
        const wchar_t* name;
        const wchar_t* value;
    } expected[] = {
        {L"DMCDriverData\\Printing\\OptItems", L"PaperSize", L"LETTER"},
        {L"DMCDriverData\\Printing\\DevModeItems", L"Watermarks", L"None"},
        {L"DMCDriverData\\Printing\\DevModeItems", L"WMFont", L"Arial"},  // one level down
        {L"DMCDriverData\\Physical", L"Memory", L"64MB"},
        {L"DMCLockData\\Printing", L"PagesPerSheet", L"Lock"},
        {nullptr, L"Stale", L"True"},
        {nullptr, L"DMCExist", L"True"},
        {nullptr, L"InstallationComplete", L"0"},
    };
    for (const auto& e : expected) EXPECT_EQ(e.value, Data(desk.Get(), e.key, e.name)) << e.name;
    // The local printer opened its configuration by the empty name, and the finishing step's sheet
    // was confirmed.
    EXPECT_TRUE(zc::Logged(L"DMCStartConfig(\"\", 0, 0) [256] = 1"));

    BOOL pages = TRUE, paper = FALSE;
    Preferences(kDesk, [&](HWND page) {
        EXPECT_TRUE(SelectRow(page, L"Pages per Sheet"));
        pages = IsWindowEnabled(GetDlgItem(page, kZQIdCombo));
        EXPECT_TRUE(SelectRow(page, L"Paper Size"));
        paper = IsWindowEnabled(GetDlgItem(page, kZQIdCombo));
    });
    EXPECT_FALSE(pages) << "locked by the administrator";
    EXPECT_TRUE(paper);

    // The roll printer's driver carries an export file instead: it becomes its configuration.
    Initialize(kRoll);
    CZQSpoolPrinter roll = Open(kRoll);
    EXPECT_EQ(L"0", Data(roll.Get(), nullptr, L"DMCStatus"));
    EXPECT_EQ(L"True", Data(roll.Get(), nullptr, L"DMCExportOnly"));
    EXPECT_EQ(zc::ReadFileText(zqtest::BesideExe(L"samples\\zqroll\\zqroll.exp")), zc::ReadFileText(InstalledConfig()));
}

TEST_F(ConfigurationManager, ApplyExportsTheSheetsSettings) {
    Initialize(kDesk);
    AlwaysExport(kDesk);
    zc::ResetStandIn();
    Preferences(kDesk, [](HWND page) {
        EXPECT_TRUE(Choose(page, L"Paper Size", L"A4"));
        EXPECT_TRUE(Choose(page, L"Paper Type", L"Photo Paper, Glossy"));
    });
    EXPECT_TRUE(zc::Logged(L"DMCStartExport(\"ZQ Desk 2400 Inkjet\", \"DMC_DRIVER\", 1) = 1"));
    EXPECT_TRUE(zc::Logged(zc::ExportLine(L"Printing/PaperSize", L"A4")));
    // The helper file's upgrade event names the quality the media's macros chose.
    EXPECT_TRUE(zc::Logged(zc::ExportLine(L"Printing/PrintQuality", L"Best")));
    EXPECT_EQ(1u, zc::Calls(L"DMCSetExport(\"Printing/Watermarks/WMFont\"").size()) << "one level down";
    CZQSpoolPrinter desk = Open(kDesk);
    EXPECT_EQ(L"False", Data(desk.Get(), nullptr, L"Stale"));

    zc::ResetStandIn();
    {
        CZQAutoPress press(50, nullptr);
        EXPECT_GT(ZQOpenPrinterProperties(desk.Get(), kDesk), 0);
    }
    EXPECT_TRUE(zc::Logged(zc::ExportLine(L"Physical/Memory", L"64")));

    // A visited page of the plug-in exports in the sheet callback's place: once per Apply.
    zc::ResetStandIn();
    Preferences(kDesk, [](HWND page) {
        HWND sheet = GetParent(page);
        EXPECT_TRUE(ZQShowPage(sheet, L"Paper/Quality"));
        // The desk printer's sizes beyond the recent ones are in the tree behind "More...".
        ZQDialogSteps steps;
        steps.choices = {{L"#912", L"Legal"}};
        ZQDialogSeen seen;
        EXPECT_TRUE(ZQPressForDialog(ZQCurrentPage(sheet), L"Size is:=More...", steps, seen));
        EXPECT_TRUE(seen.chosen && seen.closed);
    });
    EXPECT_EQ(1u, zc::Calls(L"DMCStartExport(").size());
    EXPECT_TRUE(zc::Logged(zc::ExportLine(L"Printing/PaperSize", L"LEGAL")));

    // The roll printer exports into the configuration installed from its export file.
    Initialize(kRoll);
    AlwaysExport(kRoll);
    Preferences(kRoll, [](HWND page) { EXPECT_TRUE(Choose(page, L"Paper Size", L"ISO A2")); });
    EXPECT_NE(std::string::npos, zc::ReadFileText(InstalledConfig()).find("Printing/PaperSize=ISO_A2\r\n"));
}

TEST_F(ConfigurationManager, InstallationAppliesTheStoredSettingsToThePrintersDefault) {
    // A configuration of its own: a paper, a layout and a watermark to apply, a quality the helper
    // file maps, and a media type the printer does not have.
    const std::wstring config = zqtest::BesideExe(L"applied.cfg");
    ASSERT_TRUE(zc::WriteFileText(config,
                                  "Printing/PaperSize=A4\r\nPrinting/Orientation=Landscape\r\n"
                                  "Printing/DuplexEdge=LongEdge\r\nPrinting/Watermarks=Confidential\r\n"
                                  "Printing/PrintQuality=Best\r\nPrinting/MediaType=VELLUM\r\n"));
    zc::SetSwitch(L"ConfigFile", config);
    Initialize(kDesk);
    CZQSpoolPrinter desk = Open(kDesk);
    const std::vector<BYTE> dm = ZQQueryDevmode(desk.Get(), kDesk);
    const struct {
        const char* feature;
        const char* option;
    } selected[] = {{"PaperSize", "A4"},
                    {"Orientation", "LANDSCAPE_CC90"},
                    {"Duplex", "VERTICAL"},
                    {"PrintQualityGroup", "PQGroup_2"},
                    {"MediaType", "PLAIN"}};
    for (const auto& s : selected) EXPECT_EQ(s.option, zqhosttest::Selected(dm, s.feature)) << s.feature;
    // The watermark's name in the plug-in's block (+236), and the pool's record of its kind.
    const BYTE* block = zqhosttest::OemBlock(dm);
    ASSERT_NE(nullptr, block);
    EXPECT_STREQ(L"Confidential", reinterpret_cast<const wchar_t*>(block + 236));
    DWORD type = 0, needed = 0;
    EXPECT_EQ(static_cast<DWORD>(ERROR_MORE_DATA),
              GetPrinterDataExW(desk.Get(), L"ZQPresetRoot\\WatermarkPoolData", L"WatermarkPool:1", &type, nullptr, 0,
                                &needed));
    EXPECT_EQ(1568u, needed);
    EXPECT_EQ(L"3", Data(desk.Get(), nullptr, L"DMCStatus"));
    // What the printer cannot take stays stored; the spooler here keeps what held as well.
    EXPECT_EQ(L"VELLUM", Data(desk.Get(), L"DMCDriverData\\Printing\\OptItems", L"MediaType"));
    zqhosttest::ResetToDefaults(kDesk);
}

}  // namespace
