// The desk sample printer under the core driver stand-in with an extension list in its driver's
// directory naming the extension-module stand-ins: every event the spooler, an application and the
// printers folder raise reaches them in order. And the driver's switch that hides the core driver's
// own items.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "extmodlog.h"
#include "hosttest.h"
#include "testsupport.h"
#include "zqhostapp.h"
#include "zqhostpage.h"
#include "zqproc.h"

#include <winddiui.h>

namespace {

const std::wstring kDesk = zqhosttest::kDeskPrinter;


class ExtensionHooksUnderHost : public zqhosttest::SamplePrintersTest {
protected:
    void SetUp() override {
        m_info = zqhosttest::DriverInfo(kDesk);
        ASSERT_FALSE(m_info.empty());
        const auto* di = reinterpret_cast<const DRIVER_INFO_3W*>(m_info.data());
        m_driver = di->pName;
        m_dir = di->pConfigFile;
        m_dir.resize(m_dir.find_last_of(L'\\') + 1);
        m_driverKey = std::wstring(L"SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\") + di->pEnvironment +
                      L"\\Drivers\\version-3\\" + m_driver;
        for (const wchar_t* module : {L"zqexta.dll", L"zqextb.dll", L"zqextc.dll"})
            ASSERT_TRUE(CopyFileW(zqtest::BesideExe(module).c_str(), (m_dir + module).c_str(), FALSE));
        zqexttest::Reset();
    }
    void TearDown() override {
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, m_driverKey.c_str(), L"DEMFileName");
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, m_driverKey.c_str(), L"HideNativeUI");
        RegDeleteTreeW(HKEY_CURRENT_USER, UserKey().c_str());
        DeleteFileW((m_dir + L"zqhooks.xml").c_str());
        zqexttest::Reset();
    }
    std::wstring UserKey() const { return L"Software\\Quorvane\\DEMFileData\\" + m_driver; }
    void SetMachineValue(const wchar_t* name, DWORD type, const void* data, DWORD cb) const {
        ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueW(HKEY_LOCAL_MACHINE, m_driverKey.c_str(), name, type, data, cb));
    }
    // Every event with zqexta; CommonUIProp with zqextb after it.
    void WriteList() const {
        std::string events;
        for (const char* name :
             {"PrinterEventInitPre", "PrinterEventInitPost", "PrinterEventDelete", "PrinterEventConnect",
              "PrinterEventRefresh", "DocEventStartDocPre", "DocEventCreateDCPre", "DocEventCreateDCPost",
              "DocEventStartDocPost", "DocEventStartPage", "DocEventEndPage", "DocEventResetDCPre",
              "DocEventResetDCPost", "DocPropSheetInit", "DocPropSheetDestroy", "DevPropSheetInit",
              "DevPropSheetDestroy", "DriverEventInit", "DriverEventDelete", "CommonUIProp"})
            events += std::string("<event><name>") + name + "</name><m><f>zqexta.dll</f></m>" +
                      (std::string(name) == "CommonUIProp" ? "<m><f>zqextb.dll</f></m>" : "") + "</event>";
        const std::string text = "<?xml version=\"1.0\"?><dem><events>" + events + "</events></dem>";
        CZQHandle file(CreateFileW((m_dir + L"zqhooks.xml").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                                   nullptr));
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr));
        const std::wstring name = L"zqhooks.xml";
        SetMachineValue(L"DEMFileName", REG_SZ, name.c_str(), static_cast<DWORD>((name.size() + 1) * sizeof(WCHAR)));
    }
    // The core driver stand-in's page rows of Printing Preferences.
    static std::vector<std::wstring> PreferenceRows() {
        CZQSpoolPrinter h = Open(kDesk);
        std::vector<std::wstring> rows;
        std::vector<BYTE> out;
        // The printer's default may start on a page another test left last.
        CZQAutoPress press(50, [&](HWND sheet) {
            if (ZQShowPage(sheet, L"Document Options")) rows = ZQRows(zqhosttest::CurrentPage(sheet));
        });
        EXPECT_EQ(IDOK, ZQOpenPreferences(h.Get(), kDesk, nullptr, out));
        return rows;
    }

    std::vector<BYTE> m_info;
    std::wstring m_driver, m_dir, m_driverKey;
};

TEST_F(ExtensionHooksUnderHost, EveryEventReachesTheListedModulesInOrder) {
    WriteList();
    CZQModule driver = zqhosttest::DriverModule(kDesk);
    using PFN_Printer = BOOL(WINAPI*)(LPWSTR, INT, DWORD, LPARAM);
    using PFN_Document = INT(WINAPI*)(HANDLE, HDC, INT, ULONG, PVOID, ULONG, PVOID);
    using PFN_Driver = BOOL(WINAPI*)(DWORD, DWORD, LPBYTE, LPARAM);
    const auto printerEvent = ZQGetProc<PFN_Printer>(driver.Get(), "DrvPrinterEvent");
    const auto documentEvent = ZQGetProc<PFN_Document>(driver.Get(), "DrvDocumentEvent");
    const auto driverEvent = ZQGetProc<PFN_Driver>(driver.Get(), "DrvDriverEvent");
    ASSERT_TRUE(printerEvent && documentEvent && driverEvent);

    std::wstring name = kDesk;
    for (const INT event : {PRINTER_EVENT_INITIALIZE, PRINTER_EVENT_DELETE, PRINTER_EVENT_DELETE_CONNECTION,
                            PRINTER_EVENT_ADD_CONNECTION, PRINTER_EVENT_CACHE_REFRESH})
        printerEvent(name.data(), event, 0, 0);
    // The printer event made the user's copy of the list's name.
    WCHAR copy[64] = {};
    DWORD cb = sizeof copy;
    EXPECT_EQ(ERROR_SUCCESS,
              RegGetValueW(HKEY_CURRENT_USER, UserKey().c_str(), L"DEMFile", RRF_RT_REG_SZ, nullptr, copy, &cb));
    EXPECT_STREQ(L"zqhooks.xml", copy);
    // Its reset of the process's property-sheet switch left no run key.
    WCHAR run[32];
    wsprintfW(run, L"%lu", GetCurrentProcessId());
    CZQRegKey key;
    EXPECT_NE(ERROR_SUCCESS,
              RegOpenKeyExW(HKEY_CURRENT_USER, (std::wstring(L"Software\\Quorvane\\ZQProcID") + run).c_str(), 0,
                            KEY_READ, key.Put()));

    CZQSpoolPrinter h = Open(kDesk);
    DWORD job = 0;
    for (const INT escape : {DOCUMENTEVENT_CREATEDCPRE, DOCUMENTEVENT_CREATEDCPOST, DOCUMENTEVENT_STARTDOC,
                             DOCUMENTEVENT_STARTDOCPOST, DOCUMENTEVENT_STARTPAGE, DOCUMENTEVENT_ENDPAGE,
                             DOCUMENTEVENT_ENDDOC, DOCUMENTEVENT_RESETDCPRE, DOCUMENTEVENT_RESETDCPOST})
        documentEvent(h.Get(), nullptr, escape, sizeof job, &job, 0, nullptr);
    for (const DWORD event : {DRIVER_EVENT_INITIALIZE, DRIVER_EVENT_DELETE})
        driverEvent(event, 3, m_info.data(), 0);
    std::vector<BYTE> out;
    {
        CZQAutoPress press(50, [](HWND) {});
        EXPECT_EQ(IDOK, ZQOpenPreferences(h.Get(), kDesk, nullptr, out));
    }
    {
        CZQAutoPress press(50, [](HWND) {});
        EXPECT_GT(ZQOpenPrinterProperties(h.Get(), kDesk), 0);
    }

    // The calls, without their arguments, apart from the first's.
    const std::vector<std::wstring> calls = zqexttest::Calls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(L"zqexta PrinterEventInitPre(\"" + kDesk + L"\", 3, 0, 0) = 0", calls.front());
    std::vector<std::wstring> names;
    for (const std::wstring& line : calls) names.push_back(line.substr(0, line.find(L'(')));
    // The installation's work opens the document sheet once.
    EXPECT_EQ((std::vector<std::wstring>{
                  L"zqexta PrinterEventInitPre",  L"zqexta CommonUIProp",         L"zqextb CommonUIProp",
                  L"zqexta DocPropSheetInit",     L"zqexta DocPropSheetDestroy",  L"zqexta PrinterEventInitPost",
                  L"zqexta PrinterEventDelete",   L"zqexta PrinterEventConnect",  L"zqexta PrinterEventRefresh",
                  L"zqexta DocEventCreateDCPre",  L"zqexta DocEventCreateDCPost", L"zqexta DocEventStartDocPre",
                  L"zqexta DocEventStartDocPost", L"zqexta DocEventStartPage",    L"zqexta DocEventEndPage",
                  L"zqexta DocEventResetDCPre",   L"zqexta DocEventResetDCPost",  L"zqexta DriverEventInit",
                  L"zqexta DriverEventDelete",    L"zqexta CommonUIProp",         L"zqextb CommonUIProp",
                  L"zqexta DocPropSheetInit",     L"zqexta DocPropSheetDestroy",  L"zqexta CommonUIProp",
                  L"zqextb CommonUIProp",         L"zqexta DevPropSheetInit",     L"zqexta DevPropSheetDestroy"}),
              names);
}

// "HideNativeUI" = 1 leaves the core driver's page its items with a public meaning, less copies
// and page order, and the plug-in's own (the last two); any other value hides nothing.
TEST_F(ExtensionHooksUnderHost, TheDriversSwitchHidesTheCoreDriversOwnItems) {
    const std::vector<std::wstring> all = PreferenceRows();
    ASSERT_NE(all.end(), std::find(all.begin(), all.end(), L"Print in Grayscale"));
    const DWORD two = 2, one = 1;
    SetMachineValue(L"HideNativeUI", REG_DWORD, &two, sizeof two);
    EXPECT_EQ(all, PreferenceRows());
    SetMachineValue(L"HideNativeUI", REG_DWORD, &one, sizeof one);
    EXPECT_EQ((std::vector<std::wstring>{L"Orientation", L"Paper Size", L"Paper Source", L"Paper Type",
                                         L"Print on Both Sides", L"Pages per Sheet", L"Color", L"Print Quality",
                                         L"Layout Options: Orientation", L"Layout Options: Page Order"}),
              PreferenceRows());
}

}  // namespace
