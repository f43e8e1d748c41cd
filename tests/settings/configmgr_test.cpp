// The configuration manager at installation: the import of its items and locks into the printer's
// data, its outcomes in "DMCStatus", the configuration file installed from the driver's export
// file, and the finishing step. The manager is the stand-in, bound from the in-memory printer's
// driver files.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "cfgmgrtest.h"
#include "optitemfixture.h"
#include "testsupport.h"
#include "zqmemprinter.h"
#include "common/zqhandles.h"
#include "settings/zqconfigimport.h"
#include "settings/zqdriverdata.h"
#include "featurelogic/zquilogic.h"

namespace {

using zqspool::CZQMemoryPrinter;
namespace zs = zqsettings;
namespace zc = zqcfgtest;

constexpr wchar_t kPrinter[] = L"ZQ Memory Printer";
constexpr wchar_t kDriver[] = L"ZQ Configuration Test Driver";
constexpr wchar_t kNone[] = L"<none>";

std::wstring DriverDir() { return zqtest::ExeDir() + L"\\cfgdrv"; }

std::wstring Stored(const CZQMemoryPrinter& printer, const wchar_t* key, const wchar_t* name) {
    std::vector<BYTE> data;
    DWORD type = 0;
    if (!printer.GetValue(key, name, &type, &data)) return kNone;
    if (type == REG_DWORD) return std::to_wstring(*reinterpret_cast<const DWORD*>(data.data()));
    return std::wstring(reinterpret_cast<const wchar_t*>(data.data()));
}

class ConfigImport : public ::testing::Test {
protected:
    // The driver's files: the stand-in, and a module without the manager's entry points under the
    // manager's name.
    static void SetUpTestSuite() {
        const std::wstring dir = DriverDir();
        CreateDirectoryW(dir.c_str(), nullptr);
        CreateDirectoryW((dir + L"\\partial").c_str(), nullptr);
        CopyFileW(zqtest::BesideExe(L"zqcfgmgr.dll").c_str(), (dir + L"\\zqcfgmgr.dll").c_str(), FALSE);
        CopyFileW(zqtest::BesideExe(L"zqwarnmod.dll").c_str(), (dir + L"\\partial\\ZQCFGMGR.DLL").c_str(), FALSE);
    }
    void SetUp() override {
        zc::ResetStandIn();
        zc::SetSwitch(L"ConfigFile", DriverDir() + L"\\test.cfg");
    }
    void TearDown() override { zc::ResetStandIn(); }

    static zqspool::MemPrinterIdentity Identity(std::vector<std::wstring> dependentFiles) {
        zqspool::MemPrinterIdentity id;
        id.driverName = kDriver;
        id.driverDirectory = DriverDir();
        id.dependentFiles = std::move(dependentFiles);
        return id;
    }
    static void Configure(const std::string& text) { ASSERT_TRUE(zc::WriteFileText(DriverDir() + L"\\test.cfg", text)); }

    static std::wstring Root(const CZQMemoryPrinter& printer, const wchar_t* name) {
        return Stored(printer, CZQMemoryPrinter::kRootKey, name);
    }
};

TEST_F(ConfigImport, ItemsOfThreeLevelsAndFirstLevelLocksAreStored) {
    Configure("Printing/Duplex=LongEdge\n"
              "Printing/Duplex@Lock=True\n"
              "Printing/ThriftMode=TRUE\n"
              "Printing/Finishing/Stapling=TopLeft\n"
              "Printing/Finishing/Stapling@Lock=True\n"
              "Printing/Finishing/Output/OutputBin=Stacker\n"
              "Printing/Finishing/Output/Tray/TooDeep=X\n"
              "Printing/Watermarks=Draft\n"
              "Physical/Memory=64\n"
              "Physical/Memory@Lock=True\n");
    CZQMemoryPrinter printer(Identity({L"zqcfgmgr.dll", L"test.cfg"}));
    printer.Install();
    const DWORD count = 2;
    printer.PutValue(CZQMemoryPrinter::kRootKey, L"ZQTrayCount", REG_DWORD, &count, sizeof count);

    ASSERT_TRUE(CZQConfigImport::BImportConfigManager(kPrinter, ZQCFG_MODE_UPGRADE, FALSE));
    const struct {
        const wchar_t* key;
        const wchar_t* name;
        const wchar_t* value;
    } expected[] = {
        {zs::kDriverDataDevModeItems, L"Duplex", L"LongEdge"},  // routed with the devmode items
        {zs::kDriverDataDevModeItems, L"Watermarks", L"Draft"},
        {zs::kDriverDataOptItems, L"ThriftMode", L"TRUE"},
        {zs::kDriverDataOptItems, L"Finishing", kNone},  // no value of its own
        {zs::kDriverDataOptItems, L"Stapling", L"TopLeft"},
        {zs::kDriverDataOptItems, L"OutputBin", L"Stacker"},
        {zs::kDriverDataOptItems, L"TooDeep", kNone},  // below the third level
        {zs::kDriverDataPhysical, L"Memory", L"64"},
        {zs::kLockDataPrinting, L"Duplex", zs::kLock},
        {zs::kLockDataPrinting, L"Stapling", kNone},  // a second-level lock is not taken
        {zs::kLockDataPhysical, L"Memory", zs::kLock},
    };
    for (const auto& e : expected) EXPECT_EQ(e.value, Stored(printer, e.key, e.name)) << e.key << L" " << e.name;
    EXPECT_EQ(L"True", Root(printer, zs::kStale));
    EXPECT_EQ(L"True", Root(printer, zs::kDMCExist));
    EXPECT_EQ(kNone, Root(printer, zs::kDMCStatus));

    // A local printer opens the configuration by the empty name; every buffer the manager fills
    // is prepared with its room, and the walk climbs back after each deeper level.
    EXPECT_TRUE(zc::Logged(L"DMCStartConfig(\"\", 3, 0) [256] = 1"));
    for (const std::wstring& line : zc::Log()) {
        const bool list = line.rfind(L"DMCEnumFeatures(", 0) == 0;
        const bool value = line.rfind(L"DMCGet", 0) == 0 || line.rfind(L"DMCEnumListToken", 0) == 0;
        if (list || value) {
            EXPECT_NE(std::wstring::npos, line.find(list ? L") [1024] = " : L") [256] = ")) << line;
        }
    }
    EXPECT_TRUE(zc::Logged(L"DMCSetContext(\"Printing/Finishing\") = 1"));
    EXPECT_TRUE(zc::Logged(L"DMCSetContext(\"Printing\") = 1"));
    EXPECT_TRUE(zc::Logged(L"DMCEndConfig() = 1"));
}

// What an import answers and records when the manager, its registration, its start or the
// configuration stands in the way.
TEST_F(ConfigImport, OutcomesAreRecordedInTheStatus) {
    struct Case {
        const char* what;
        std::vector<std::wstring> files;
        std::function<void()> arrange;
        bool rootValue;  // the printer's data has a value at its root
        BOOL result;
        const wchar_t* status;
        const wchar_t* stale;
        const wchar_t* exist;
    };
    const auto none = [] {};
    const Case cases[] = {
        {"no manager", {L"test.cfg"}, none, true, FALSE, L"0", kNone, kNone},
        {"export file only", {L"zqcfgmgr.dll", L"driver.exp"}, none, true, FALSE, L"0", kNone, kNone},
        {"manager missing", {L"absent\\ZQCFGMGR.DLL", L"test.cfg"}, none, true, FALSE, L"1", kNone, kNone},
        {"entry points missing", {L"partial\\ZQCFGMGR.DLL", L"test.cfg"}, none, true, FALSE, kNone, kNone, kNone},
        {"registration refused", {L"zqcfgmgr.dll", L"test.cfg"}, [] { zc::SetSwitch(L"RegisterResult", E_FAIL); },
         true, TRUE, kNone, kNone, kNone},
        {"start refused", {L"zqcfgmgr.dll", L"test.cfg"}, [] { zc::SetSwitch(L"FailStartConfig", 1); }, true, TRUE,
         L"2", kNone, kNone},
        {"nothing configured", {L"zqcfgmgr.dll", L"test.cfg"}, [] { Configure("# nothing\n"); }, true, TRUE, L"1",
         L"True", kNone},
        {"printer data empty", {L"zqcfgmgr.dll", L"test.cfg"}, none, false, TRUE, kNone, kNone, kNone},
        {"settings stored", {L"zqcfgmgr.dll", L"test.cfg"}, none, true, TRUE, kNone, L"True", L"True"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        zc::ResetStandIn();
        zc::SetSwitch(L"ConfigFile", DriverDir() + L"\\test.cfg");
        Configure("Printing/PaperSize=A4\n");
        c.arrange();
        CZQMemoryPrinter printer(Identity(c.files));
        printer.Install();
        if (c.rootValue) printer.PutString(CZQMemoryPrinter::kRootKey, L"SerialNumber", L"SN");
        EXPECT_EQ(c.result, CZQConfigImport::BImportConfigManager(kPrinter, ZQCFG_MODE_PRINTER_EVENT, FALSE));
        EXPECT_EQ(c.status, Root(printer, zs::kDMCStatus));
        EXPECT_EQ(c.stale, Root(printer, zs::kStale));
        EXPECT_EQ(c.exist, Root(printer, zs::kDMCExist));
        // A manager that did not start is never ended.
        EXPECT_EQ(c.stale == kNone, zc::Calls(L"DMCEndConfig").empty());
    }
}

// A lock the spooler refuses to store even on a second try is recorded: the sheet locks the
// setting all the same, and "DMCStatus" tells of the incomplete import. (Single refusals of each
// call are the fault matrix's.)
TEST_F(ConfigImport, RefusedLocksStayLockedOnTheSheet) {
    using zqspool::MemCall;
    const struct {
        const char* what;
        int times, after;        // the tree's writes refused, once that many went through
        const wchar_t* earlier;  // a record an earlier import left
        const wchar_t* status;
        std::wstring record;  // the locks recorded
    } cases[] = {
        {"lock refused twice", 2, 1, nullptr, L"2", std::wstring(zs::kLockDataPrinting) + L"\\Duplex"},
        {"item refused twice", 2, 0, nullptr, L"2", kNone},
        {"earlier record emptied", 0, 0, L"DMCLockData\\Printing\\PaperSize\0", kNone, L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Configure("Printing/Duplex=LongEdge\nPrinting/Duplex@Lock=True\nPrinting/PaperSize=A4\n");
        CZQMemoryPrinter printer(Identity({L"zqcfgmgr.dll", L"test.cfg"}));
        printer.Install();
        printer.PutString(CZQMemoryPrinter::kRootKey, L"SerialNumber", L"SN");
        if (c.earlier)
            printer.PutValue(CZQMemoryPrinter::kRootKey, zs::kUnstoredLocks, REG_MULTI_SZ, c.earlier,
                             static_cast<DWORD>((wcslen(c.earlier) + 2) * sizeof(wchar_t)));
        if (c.times) printer.FailCall(MemCall::SetPrinterDataEx, ERROR_ACCESS_DENIED, c.times, c.after);
        EXPECT_TRUE(CZQConfigImport::BImportConfigManager(kPrinter, ZQCFG_MODE_PRINTER_EVENT, FALSE));
        EXPECT_EQ(c.status, Root(printer, zs::kDMCStatus));
        EXPECT_EQ(c.record, Root(printer, zs::kUnstoredLocks));

        zqtest::COptItemFixture host;
        host.Add(zqtest::ListFeature("Duplex", {{"OFF", L"Off"}, {"ON", L"On"}}, 0, DMPUB_DUPLEX));
        host.Add(zqtest::ListFeature("PaperSize", {{"A4", L"A4"}, {"A3", L"A3"}}, 0, DMPUB_FORMNAME));
        host.Build();
        host.Param()->hPrinter = printer.Open();
        EXPECT_TRUE(CZQDriverData::VApplyLockData(host.Param()));
        EXPECT_TRUE(host.Item("Duplex")->Flags & OPTIF_DISABLED);
        EXPECT_FALSE(host.Item("PaperSize")->Flags & OPTIF_DISABLED);
        EXPECT_TRUE(CZQUILogic::BIsSettingLocked(host.Param()->hPrinter, zs::kLockDataPrinting, L"Duplex", nullptr));
    }
}

// The queue name the manager is opened with.
TEST_F(ConfigImport, ServerPrintersAreOpenedByTheirQueueName) {
    const struct {
        const wchar_t* printer;
        const wchar_t* queue;
    } cases[] = {
        {L"\\\\server\\Office Printer", L"Office Printer"},
        {L"\\\\server\\Office Printer,LocalsplOnly", L"Office Printer"},
        {L"ZQ Desk 2400 Inkjet", L""},
        {L"\\\\\\Office", L"\\Office"},
    };
    for (const auto& c : cases) {
        CZQLocalPtr<WCHAR> name;
        ASSERT_TRUE(CZQDriverData::BGetConfigPrinterName(c.printer, name.Put())) << c.printer;
        EXPECT_EQ(std::wstring(c.queue), name.Get()) << c.printer;
    }
}

TEST_F(ConfigImport, AnExportFileBecomesTheInstalledConfiguration) {
    const std::wstring exportFile = DriverDir() + L"\\driver.exp";
    ASSERT_TRUE(zc::WriteFileText(exportFile, "Printing/PaperSize=A4\n"));
    const std::wstring key = std::wstring(L"SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\") + kDriver;

    // Without the manager or an export file nothing is installed; an export file that cannot be
    // copied is named nowhere.
    for (const std::vector<std::wstring>& files :
         {std::vector<std::wstring>{L"driver.exp"}, std::vector<std::wstring>{L"zqcfgmgr.dll", L"test.cfg"},
          std::vector<std::wstring>{L"zqcfgmgr.dll", L"absent.exp"}}) {
        CZQMemoryPrinter printer(Identity(files));
        printer.Install();
        EXPECT_FALSE(CZQConfigImport::BInstallConfigFile(kPrinter));
        EXPECT_EQ(kNone, Root(printer, zs::kDMCExportOnly));
        HKEY named = nullptr;
        EXPECT_NE(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &named));
    }

    // When the printer's data refuses "DMCExportOnly", nothing the install made is left: the
    // machine's "ConfigFile" names an earlier configuration again. (That no copy is left is the
    // fault matrix's.)
    const std::string narrowKey(key.begin(), key.end());
    const char earlier[] = "C:\\earlier.cfg";
    RegSetKeyValueA(HKEY_LOCAL_MACHINE, narrowKey.c_str(), "ConfigFile", REG_BINARY, earlier, sizeof earlier - 1);
    {
        CZQMemoryPrinter refusing(Identity({L"zqcfgmgr.dll", L"driver.exp"}));
        refusing.Install();
        refusing.FailCall(zqspool::MemCall::SetPrinterData, ERROR_ACCESS_DENIED);
        EXPECT_FALSE(CZQConfigImport::BInstallConfigFile(kPrinter));
        char left[MAX_PATH] = {};
        DWORD cbLeft = sizeof left;
        RegGetValueA(HKEY_LOCAL_MACHINE, narrowKey.c_str(), "ConfigFile", RRF_RT_ANY, nullptr, left, &cbLeft);
        EXPECT_EQ(std::string(earlier), std::string(left, cbLeft));
    }
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, key.c_str());

    CZQMemoryPrinter printer(Identity({L"zqcfgmgr.dll", L"driver.exp"}));
    printer.Install();
    ASSERT_TRUE(CZQConfigImport::BInstallConfigFile(kPrinter));
    EXPECT_EQ(L"True", Root(printer, zs::kDMCExportOnly));
    // The path in ANSI, without terminator, names a new ".cfg" copy beside the export file.
    char path[MAX_PATH] = {};
    DWORD type = 0, cb = sizeof path - 1;
    ASSERT_EQ(ERROR_SUCCESS, RegGetValueA(HKEY_LOCAL_MACHINE, std::string(key.begin(), key.end()).c_str(), "ConfigFile",
                                          RRF_RT_ANY, &type, path, &cb));
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, key.c_str());
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), type);
    const std::string copy(path, cb);
    EXPECT_EQ(std::string::npos, copy.find('\0'));
    const std::wstring wide(copy.begin(), copy.end());
    EXPECT_EQ(0u, wide.rfind(DriverDir() + L"\\", 0)) << wide;
    EXPECT_EQ(L".cfg", wide.substr(wide.size() - 4));
    EXPECT_EQ("Printing/PaperSize=A4\n", zc::ReadFileText(wide));
    DeleteFileW(wide.c_str());
}

// The finishing step and the upgrade that runs it: the printer's sheets are opened while
// "InstallationComplete" is 1, and the devmode they give becomes the printer's default.
struct Sheets {
    static inline LONG size = 0;
    static inline LONG prompt = IDOK;
    static inline int prompts = 0;
    static inline int stored = 0;
    static inline bool completeDuringCalls = true;
    static inline CZQMemoryPrinter* printer = nullptr;
    static void Reset(LONG s, LONG p) {
        size = s;
        prompt = p;
        prompts = stored = 0;
        completeDuringCalls = true;
    }
    static LONG WINAPI DocumentProperties(HWND, HANDLE, LPWSTR, PDEVMODEW out, PDEVMODEW, DWORD mode) {
        completeDuringCalls = completeDuringCalls && Stored(*printer, CZQMemoryPrinter::kRootKey,
                                                            zs::kInstallationComplete) == L"1";
        if (mode == DM_OUT_BUFFER) out->dmSize = sizeof(DEVMODEW);
        if (mode == (DM_IN_BUFFER | DM_IN_PROMPT | DM_OUT_BUFFER)) ++prompts;
        return mode == 0 ? size : mode == DM_OUT_BUFFER ? IDOK : prompt;
    }
    static BOOL WINAPI SetPrinter(HANDLE, DWORD level, LPBYTE info, DWORD) {
        stored += level == 8 && reinterpret_cast<const PRINTER_INFO_8W*>(info)->pDevMode->dmSize == sizeof(DEVMODEW);
        return level == 8;
    }
};

TEST_F(ConfigImport, FinishingStoresTheDevmodeTheSheetsGive) {
    CZQMemoryPrinter printer(Identity({}));
    printer.m_api.DocumentPropertiesW = &Sheets::DocumentProperties;
    printer.m_api.SetPrinterW = &Sheets::SetPrinter;
    printer.Install();
    Sheets::printer = &printer;
    const struct {
        const char* what;
        LONG size;
        LONG prompt;
        BOOL result;
        int prompts;
    } cases[] = {
        {"confirmed", sizeof(DEVMODEW) + 100, IDOK, TRUE, 1},
        {"cancelled", sizeof(DEVMODEW) + 100, IDCANCEL, FALSE, 1},
        {"size failed", -1, IDOK, FALSE, 0},
        {"size short of a devmode", 8, IDOK, FALSE, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Sheets::Reset(c.size, c.prompt);
        EXPECT_EQ(c.result, CZQConfigImport::BFinishInstallation(kPrinter));
        EXPECT_EQ(c.prompts, Sheets::prompts);
        EXPECT_EQ(c.result ? 1 : 0, Sheets::stored);
        EXPECT_TRUE(Sheets::completeDuringCalls);
        EXPECT_EQ(L"0", Root(printer, zs::kInstallationComplete));
    }

    // An upgrade finishes only for level 2 information that names the printer's own driver.
    printer.PutString(L"DsSpooler", L"driverName", kDriver);
    DRIVER_UPGRADE_INFO_2 info = {};
    info.pPrinterName = const_cast<LPWSTR>(kPrinter);
    const struct {
        DWORD level;
        const wchar_t* driver;
        BOOL result;
        int prompts;
    } upgrades[] = {{2, kDriver, TRUE, 1}, {2, L"Another Driver", TRUE, 0}, {1, kDriver, TRUE, 0}, {3, kDriver, FALSE, 0}};
    for (const auto& u : upgrades) {
        Sheets::Reset(sizeof(DEVMODEW), IDOK);
        info.pName = const_cast<LPWSTR>(u.driver);
        EXPECT_EQ(u.result, CZQConfigImport::BImportAtUpgrade(u.level, reinterpret_cast<BYTE*>(&info))) << u.level;
        EXPECT_EQ(u.prompts, Sheets::prompts) << u.level << " " << u.driver;
    }
    EXPECT_FALSE(CZQConfigImport::BImportAtUpgrade(2, nullptr));
}

}  // namespace
