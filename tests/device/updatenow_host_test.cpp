// The sample printers under the core driver stand-in through Wine's spooler: "Update Now" picked in
// Printer Properties registers the device servers its driver carries, fills the answer store from
// the sample's device, applies it (the desk printer's trays, installed hardware, output bins and
// user-defined media, the roll printer's rolls) and leaves the servers unregistered as it found
// them; a device that does not answer shows the communication error. The printer event INITIALIZE
// configures the desk printer from its device first.
#include <windows.h>
#include <winddiui.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "hosttest.h"
#include "platform/zqdeviceservers.h"
#include "testsupport.h"
#include "zqdevrecord.h"
#include "zqhostapp.h"
#include "zqproc.h"

namespace {

void UnregisterServers() {
    for (const wchar_t* library : {L"zqdevapi.dll", L"zqagent.dll", L"zqlink.dll", L"zqagentps.dll", L"zqlinkps.dll"}) {
        CZQModule module(LoadLibraryW(zqtest::BesideExe(library).c_str()));
        if (auto entry = ZQGetProc<HRESULT(STDAPICALLTYPE*)()>(module.Get(), "DllUnregisterServer")) entry();
    }
}

// The printer's answer store, emptied.
void ClearStore(HANDLE hPrinter) {
    WCHAR guid[64] = {};
    DWORD type = 0, needed = 0;
    if (GetPrinterDataExW(hPrinter, L"ZQPresetRoot", L"ZQRestrictedUserGuid", &type, reinterpret_cast<BYTE*>(guid),
                          sizeof guid - sizeof(WCHAR), &needed) == ERROR_SUCCESS)
        RegDeleteTreeW(HKEY_CURRENT_USER, (std::wstring(L"Software\\Quorvane\\") + guid + L"\\ZQBIDIInfo").c_str());
}

// The store's answers as "name = value" (zqhost answers); when names are given, those in their order.
std::vector<std::wstring> Answers(HANDLE hPrinter, const std::vector<std::wstring>& names = {}) {
    std::vector<ZQDeviceAnswer> store;
    ZQReadDeviceAnswers(hPrinter, store);
    std::vector<std::wstring> answers;
    for (const ZQDeviceAnswer& answer : store)
        if (names.empty()) answers.push_back(ZQDescribeAnswer(answer));
    for (const std::wstring& name : names)
        for (const ZQDeviceAnswer& answer : store)
            if (answer.name == name) answers.push_back(ZQDescribeAnswer(answer));
    return answers;
}

using UpdateNowUnderHost = zqhosttest::SamplePrintersTest;

TEST_F(UpdateNowUnderHost, RollPrinterIsAskedOrShowsTheCommunicationError) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    const std::wstring roll = zqhosttest::kRollPrinter;
    const std::wstring data = L"System\\CurrentControlSet\\Control\\Print\\Printers\\" + roll + L"\\PrinterDriverData";
    const auto forgetRolls = [&] {
        for (const wchar_t* name : {L"Roll1Name", L"Roll1Type", L"Roll1Width", L"Roll1CustomWidth", L"Roll2Name",
                                    L"Roll2Type", L"Roll2Width", L"Roll2CustomWidth"})
            RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, data.c_str(), name);
    };
    forgetRolls();
    CZQSpoolPrinter h = Open(roll);
    UnregisterServers();
    ClearStore(h.Get());
    struct Row {
        DWORD silent;
        std::vector<std::wstring> boxes;  // caption|text
        std::vector<std::wstring> answers;
    } rows[] = {
        {1, {L"Please Note|The printer did not answer. Check its connection and try again."}, {}},
        {0, {}, {L"DevSetUpdate = 0", L"MODEL_NAME = \"ZQ Roll 4400\"", L"Roll1Name = \"ZQ Media Bond 90\"",
                 L"Roll1Type = \"Bond Paper\"", L"Roll1Width = \"36 in.\"", L"Roll1CustomWidth = \"Standard\"",
                 L"Roll2Name = \"ZQ Media Satin Film\"", L"Roll2Type = \"Film\"", L"Roll2CustomWidth = \"24.17\""}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.silent ? "silent device" : "answering device");
        RegDeleteTreeW(HKEY_CURRENT_USER, kZQDevServersKey);
        RegSetKeyValueW(HKEY_CURRENT_USER, kZQDevServersKey, L"SilentDevice", REG_DWORD, &row.silent, sizeof row.silent);
        std::vector<std::wstring> boxes;
        {
            zqhosttest::BoxAnswers answers;
            // The sheet keeps the option picked last: a new pick comes from another option.
            CZQAutoPress press(50, [&](HWND sheet) {
                for (const wchar_t* option : {L"Off", L"Update Now"})
                    EXPECT_TRUE(zqhosttest::Choose(zqhosttest::CurrentPage(sheet), L"Automatic Configuration", option));
            });
            EXPECT_GT(ZQOpenPrinterProperties(h.Get(), roll), 0);
            EXPECT_TRUE(press.Pressed());
            for (const zqhosttest::SeenBox& box : answers.Boxes()) boxes.push_back(box.caption + L"|" + box.text);
        }
        EXPECT_EQ(row.boxes, boxes);
        // The rolls the device reports, in the store and in the printer data the pages read; roll 2's
        // custom width matches no standard width.
        const std::vector<std::wstring> names = {L"DevSetUpdate", L"MODEL_NAME", L"Roll1Name", L"Roll1Type",
                                                 L"Roll1Width", L"Roll1CustomWidth", L"Roll2Name", L"Roll2Type",
                                                 L"Roll2Width", L"Roll2CustomWidth"};
        EXPECT_EQ(row.answers, Answers(h.Get(), names));
        wchar_t width[64] = L"";
        DWORD cb = sizeof width;
        RegGetValueW(HKEY_LOCAL_MACHINE, data.c_str(), L"Roll2CustomWidth", RRF_RT_REG_SZ, nullptr, width, &cb);
        EXPECT_STREQ(row.silent ? L"" : L"24.17", width);
        // Registered for the call (they were not before), and removed after it.
        IUnknown* object = nullptr;
        EXPECT_EQ(REGDB_E_CLASSNOTREG, ZQCreateDeviceServer(CLSID_ZQObjectList, IID_IZQObjectList,
                                                           reinterpret_cast<void**>(&object)));
    }
    // The rolls go again for the tests after this one.
    forgetRolls();
    RegDeleteTreeW(HKEY_CURRENT_USER, kZQDevServersKey);
    ClearStore(h.Get());
    CoUninitialize();
}

// The printer event INITIALIZE asks the desk printer, whose servers are not registered, through
// those the mini-installer starts (and removes again) and records "EACStatus"; then "Update Now"
// sets its trays and user-defined media from the device, with "NotifyDate" only when the list
// changed.
TEST_F(UpdateNowUnderHost, DeskPrinterIsConfiguredAtInstallationAndByUpdateNow) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    const std::wstring desk = zqhosttest::kDeskPrinter;
    const std::wstring data = L"System\\CurrentControlSet\\Control\\Print\\Printers\\" + desk + L"\\PrinterDriverData";
    const std::wstring media = L"UserDefinedMedia = {\"Heavy Matte 200g\", \"Studio Film\"}";
    zqhosttest::ResetToDefaults(desk);
    CZQSpoolPrinter h = Open(desk);
    UnregisterServers();
    ClearStore(h.Get());
    CZQModule driver = zqhosttest::DriverModule(desk);
    const auto event = ZQGetProc<BOOL(WINAPI*)(LPWSTR, INT, DWORD, LPARAM)>(driver.Get(), "DrvPrinterEvent");
    ASSERT_TRUE(event && event(const_cast<LPWSTR>(desk.c_str()), PRINTER_EVENT_INITIALIZE, 0, 0));
    EXPECT_EQ((std::vector<std::wstring>{L"DevSetUpdate = 0", L"EACStatus = 1", media}),
              Answers(h.Get(), {L"DevSetUpdate", L"EACStatus", L"UserDefinedMedia"}));
    IUnknown* object = nullptr;
    EXPECT_EQ(REGDB_E_CLASSNOTREG, ZQCreateDeviceServer(CLSID_ZQDeviceLink, IID_IZQDeviceLink, reinterpret_cast<void**>(&object)));
    // The output-bin list is new at the first Update Now: the installation road's sheet holds no
    // accessory yet, and without one no bin names are collected.
    const struct {
        const char* what;
        bool cleared, changed;
    } rows[] = {{"the bins come", false, true}, {"the same lists", false, false}, {"a new list", true, true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, data.c_str(), L"NotifyDate");
        zqhosttest::ResetToDefaults(desk);
        if (row.cleared) ClearStore(h.Get());
        {
            CZQAutoPress press(50, [&](HWND sheet) {
                for (const wchar_t* option : {L"Off", L"Update Now"})
                    EXPECT_TRUE(zqhosttest::Choose(zqhosttest::CurrentPage(sheet), L"Automatic Configuration", option));
            });
            EXPECT_GT(ZQOpenPrinterProperties(h.Get(), desk), 0);
        }
        std::map<std::string, std::string> settings;
        for (const auto& [key, value] : ZQReadDeviceSettings(h.Get())) settings[key] = value;
        EXPECT_EQ("INSTALLED LowerTray_500 INSTALLED",
                  settings["Tray2"] + " " + settings["ZQLowerTray"] + " " + settings["EnvelopeFeeder"]);
        EXPECT_EQ(std::vector<std::wstring>{media}, Answers(h.Get(), {L"UserDefinedMedia"}));
        EXPECT_EQ("128MB INSTALLED Installed MBX5Mailbox MailboxModeMailbox ZQ2HolePunch ZQPostInserter",
                  settings["Memory"] + " " + settings["DuplexUnit"] + " " + settings["PrinterHardDisk"] + " " +
                      settings["AccessoryOutputBins"] + " " + settings["MailboxModes"] + " " +
                      settings["ZQPunchUnitType"] + " " + settings["ZQPostInsertionKit"]);
        EXPECT_EQ(std::vector<std::wstring>{L"OutputBinNames = {\"Top Bin\", \"Accounts\", \"Studio\"}"},
                  Answers(h.Get(), {L"OutputBinNames"}));
        EXPECT_EQ(row.changed, RegGetValueW(HKEY_LOCAL_MACHINE, data.c_str(), L"NotifyDate", RRF_RT_REG_SZ, nullptr,
                                            nullptr, nullptr) == ERROR_SUCCESS);
    }
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, data.c_str(), L"NotifyDate");
    zqhosttest::ResetToDefaults(desk);
    ClearStore(h.Get());
    CoUninitialize();
}

}  // namespace
