// Printers installed afresh as a setup program adds them, with Printer Properties opened the way the
// printers folder does wherever the plug-in asks for them: the printer event INITIALIZE imports the
// configuration manager's settings, and the finishing step's Printer Properties apply its installed
// options, then the device's answers with its output bins, before the finish flag goes back to 0.
// Two models installed one after the other each import their own configuration.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "cfgmgrtest.h"
#include "hosttest.h"
#include "testsupport.h"
#include "zqdevrecord.h"
#include "zqhostapp.h"
#include "zqinstall.h"

namespace {

namespace zc = zqcfgtest;

std::string ReadText(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void Replace(std::string& text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    ASSERT_NE(std::string::npos, at) << from;
    text.replace(at, from.size(), to);
}

// The printer gone with all its data, so that the next installation adds it anew.
void Remove(const std::wstring& name) {
    HANDLE h = nullptr;
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    if (!OpenPrinterW(const_cast<LPWSTR>(name.c_str()), &h, &defaults)) return;
    EXPECT_TRUE(DeletePrinter(h));
    ClosePrinter(h);
}

// A copy of a sample's model under a driver name of its own, installed as a new printer of that name.
void InstallCopy(const wchar_t* model, const std::string& driver, const std::string& copy,
                 const std::vector<std::pair<std::string, std::string>>& changes) {
    std::string text = ReadText(zqtest::BesideExe(model));
    for (const auto& [from, to] : changes) Replace(text, from, to);
    std::wstring path = zqtest::BesideExe(model);
    path = path.substr(0, path.find_last_of(L'\\') + 1) + std::wstring(copy.begin(), copy.end()) + L".zqm";
    std::ofstream(path.c_str(), std::ios::binary) << text;
    const std::wstring name(driver.begin(), driver.end());
    Remove(name);
    ZQInstallResult installed;
    ASSERT_TRUE(ZQInstallPrinter(path, zqtest::ExeDir(), L"", installed)) << ZQUtf8(installed.error);
    EXPECT_TRUE(installed.added);
}

std::map<std::string, std::string> DeviceSettings(HANDLE h) {
    std::map<std::string, std::string> settings;
    for (const auto& [key, value] : ZQReadDeviceSettings(h)) settings[key] = value;
    return settings;
}

std::wstring Answer(HANDLE h, const wchar_t* name) {
    std::vector<ZQDeviceAnswer> store;
    ZQReadDeviceAnswers(h, store);
    for (const ZQDeviceAnswer& answer : store)
        if (answer.name == name) return ZQDescribeAnswer(answer);
    return L"<none>";
}

DWORD DataDword(HANDLE h, const wchar_t* name) {
    DWORD value = 0xFFFFFFFF, type = 0, needed = 0;
    GetPrinterDataW(h, const_cast<LPWSTR>(name), &type, reinterpret_cast<BYTE*>(&value), sizeof value, &needed);
    return value;
}

class Installation : public ::testing::Test {
protected:
    void SetUp() override {
        zc::ResetStandIn();
        RegDeleteTreeW(HKEY_CURRENT_USER, kZQDevServersKey);
    }
    void TearDown() override {
        for (const char* name : {kDesk, kRoll}) Remove(std::wstring(name, name + strlen(name)));
        SetUp();
    }
    static constexpr const char* kDesk = "ZQ Desk 2400 Installed";
    static constexpr const char* kRoll = "ZQ Roll 4400 Installed";
    CZQPrinterPropertiesSeam m_seam;
};

// The desk printer's installed options come from its configuration while its device is silent, and
// from the device when it answers: its mailbox with the names of the bins, with no "Update Now".
TEST_F(Installation, FinishingStepAppliesTheInstalledOptionsAndTheDevicesAnswers) {
    ASSERT_TRUE(m_seam.Active());
    const struct {
        DWORD silent;
        const char* memory;
        const char* bins;
        const wchar_t* names;
    } rows[] = {
        {1, "64MB", "None", L"<none>"},
        {0, "128MB", "MBX5Mailbox", L"OutputBinNames = {\"Top Bin\", \"Accounts\", \"Studio\"}"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.silent ? "silent device" : "answering device");
        RegSetKeyValueW(HKEY_CURRENT_USER, kZQDevServersKey, L"SilentDevice", REG_DWORD, &row.silent, sizeof row.silent);
        InstallCopy(zqhosttest::kDeskModel, kDesk, "zqdeskinstalled", {{"Name=ZQ Desk 2400 Inkjet", "Name=ZQ Desk 2400 Installed"}});
        CZQSpoolPrinter h = zqhosttest::OpenFully(L"ZQ Desk 2400 Installed");
        std::map<std::string, std::string> settings = DeviceSettings(h.Get());
        EXPECT_EQ("INSTALLED", settings["DuplexUnit"]);
        EXPECT_EQ(row.memory, settings["Memory"]);
        EXPECT_EQ(row.bins, settings["AccessoryOutputBins"]);
        EXPECT_EQ(row.names, Answer(h.Get(), L"OutputBinNames"));
        EXPECT_EQ(0u, DataDword(h.Get(), L"InstallationComplete"));
        EXPECT_EQ(3u, DataDword(h.Get(), L"DMCStatus"));
    }
}

// A second model with a configuration of its own imports its own, though the local printer's empty
// name reaches the configuration manager in both installations.
TEST_F(Installation, TwoModelsImportTheirOwnConfigurations) {
    std::wstring roll = zqtest::BesideExe(zqhosttest::kRollModel);
    roll = roll.substr(0, roll.find_last_of(L'\\') + 1) + L"zqrollinstalled.cfg";
    ASSERT_TRUE(zc::WriteFileText(roll, "Printing/PaperSize=ISO_A2\r\nPrinting/Orientation=LANDSCAPE\r\n"));
    InstallCopy(zqhosttest::kDeskModel, kDesk, "zqdeskinstalled", {{"Name=ZQ Desk 2400 Inkjet", "Name=ZQ Desk 2400 Installed"}});
    InstallCopy(zqhosttest::kRollModel, kRoll, "zqrollinstalled",
                {{"Name=ZQ Roll 4400 Large Format", "Name=ZQ Roll 4400 Installed"}, {"zqroll.exp", "zqrollinstalled.cfg"}});
    const struct {
        const char* printer;
        const wchar_t* paper;
    } rows[] = {{kDesk, L"LETTER"}, {kRoll, L"ISO_A2"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.printer);
        CZQSpoolPrinter h = zqhosttest::OpenFully(std::wstring(row.printer, row.printer + strlen(row.printer)));
        WCHAR paper[64] = L"<none>";
        DWORD type = 0, needed = 0;
        GetPrinterDataExW(h.Get(), L"DMCDriverData\\Printing\\OptItems", L"PaperSize", &type,
                          reinterpret_cast<BYTE*>(paper), sizeof paper - sizeof(WCHAR), &needed);
        EXPECT_STREQ(row.paper, paper);
        EXPECT_EQ(3u, DataDword(h.Get(), L"DMCStatus"));
    }
    EXPECT_EQ(2u, zc::Calls(L"DMCStartConfig(\"\", 0, 0) [256] = 1").size());
}

}  // namespace
