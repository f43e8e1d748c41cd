// The CommonUIProp worker of the plug-in object in process: the count and fill passes of the
// plug-in's own items, the values the fill pass writes, and the option-item callbacks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <cwctype>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/zqhandles.h"
#include "formats/zqwatermarkrecord.h"
#include "devicetest.h"
#include "optitemfixture.h"
#include "zqmemprinter.h"
#include "platform/zqspooler.h"
#include "settings/zqdriverdata.h"
#include "testsupport.h"
#include "xmlrules/zqrunswitches.h"
#include "xmlrules/zqxmlparser.h"
#include "zqdevrecord.h"
#include "zqoemui.h"

namespace {

using zqtest::COptItemFixture;
using zqtest::FixtureFeature;
using zqtest::ListFeature;
using zqtest::ValueFeature;

const wchar_t* const kServerLibraries[] = {L"zqdevapi.dll", L"zqagent.dll", L"zqlink.dll", L"zqagentps.dll",
                                           L"zqlinkps.dll"};

struct PluginDeleter {
    void operator()(CZQOemUI* p) const { p->Release(); }
};

const char* KeywordOf(const OPTITEM& item) {
    const auto* ud = reinterpret_cast<const USERDATA*>(item.UserData);
    return ud && ud->pKeyWordName ? ud->pKeyWordName : "";
}

// Dialogs behind the push items, recorded instead of shown.
std::vector<ZQOemDialogParam> g_dialogs;
INT_PTR RecordDialog(ZQOemDialogParam* p) {
    g_dialogs.push_back(*p);
    return IDOK;
}
const ZQOemDialogRow kTestDialogs[] = {
    {kOemDialogDryTime, &RecordDialog}, {kOemDialogTiles, &RecordDialog}, {kOemDialogNone, nullptr}};

class Worker : public ::testing::Test {
protected:
    void SetUp() override {
        m_printer.Install();
        m_heap = HeapCreate(0, 0, 0);
        CZQCommon common;
        ASSERT_TRUE(common.BFillDefaultDevmode(&m_dm, nullptr));
        m_pub.dmSize = sizeof m_pub;
        m_pub.dmFields = DM_ORIENTATION;
        m_pub.dmOrientation = DMORIENT_PORTRAIT;
        m_plugin.reset(new CZQOemUI());
        g_dialogs.clear();
    }
    void TearDown() override {
        m_plugin.reset();
        ZQSetOemDialogTable(nullptr);
        if (m_hPrinter) zqspool::Spooler().ClosePrinter(m_hPrinter);
        HeapDestroy(m_heap);
    }
    // The core driver's block over the fixture's items and callback table.
    void Bind(const std::vector<FixtureFeature>& features) {
        for (const auto& f : features) m_host.Add(f);
        m_host.Build();
        m_hPrinter = m_printer.Open();
        m_param = *m_host.Param();
        m_param.hPrinter = m_hPrinter;
        m_param.pPrinterName = const_cast<PWSTR>(L"ZQ Memory Printer");
        m_param.hOEMHeap = m_heap;
        m_param.pPublicDM = &m_pub;
        m_param.pOEMDM = &m_dm;
        m_param.pOEMOptItems = nullptr;
        m_param.cOEMOptItems = 0;
    }
    // The memory printer answers through the device-server stand-ins beside the test, which its
    // driver lists with the mini-installer; the restricted user's key is returned.
    std::wstring AnsweringPrinter(const wchar_t* guid) {
        m_printer.Identity().driverDirectory = zqtest::ExeDir();
        m_printer.Identity().dependentFiles = {L"zqagentps.dll", L"zqagent.exe",  L"zqlink.exe", L"zqagent.dll",
                                               L"zqdevapi.dll",  L"zqlinkps.dll", L"zqlink.dll", L"zqinstres.dll"};
        m_printer.PutString(L"ZQPresetRoot", L"ZQRestrictedUserGuid", guid);
        m_script = std::make_unique<zqxmltest::TempFile>("1.3.6.1.4.1.32473.2.3.9.4.2.1.1.3.2.0 4 01 15 \"ZQ Test\"\n");
        zqdevtest::SetScript(L"ZQ Memory Printer", m_script->Path());
        return std::wstring(L"Software\\Quorvane\\") + guid;
    }
    // Count pass, then the fill pass into room for `room` items (the counted number when -1).
    DWORD Passes(DWORD mode, int room = -1) {
        m_param.pOEMOptItems = nullptr;
        EXPECT_EQ(S_OK, m_plugin->CommonUIProp(mode, &m_param));
        const DWORD counted = m_param.cOEMOptItems;
        const DWORD cap = room < 0 ? counted : static_cast<DWORD>(room);
        m_items.assign(cap + 1, OPTITEM{});
        std::memset(&m_items[cap], 0x5A, sizeof(OPTITEM));  // a guard behind the room
        m_param.pOEMOptItems = m_items.data();
        m_param.cOEMOptItems = cap;
        m_host.ClearUpdates();
        EXPECT_EQ(S_OK, m_plugin->CommonUIProp(mode, &m_param));
        return counted;
    }
    std::vector<std::string> Keywords() const {
        std::vector<std::string> out;
        for (DWORD i = 0; i < m_param.cOEMOptItems; ++i) out.push_back(KeywordOf(m_items[i]));
        return out;
    }
    OPTITEM* Own(const char* keyword) {
        for (DWORD i = 0; i < m_param.cOEMOptItems; ++i)
            if (strcmp(KeywordOf(m_items[i]), keyword) == 0) return &m_items[i];
        return nullptr;
    }
    LONG Changed(OPTITEM* item, WORD reason = CPSUICB_REASON_SEL_CHANGED) {
        CPSUICBPARAM cb = {};
        cb.cbSize = sizeof cb;
        cb.Reason = reason;
        cb.pCurItem = item;
        m_cb = cb;
        return m_param.OEMCUIPCallback ? m_param.OEMCUIPCallback(&m_cb, &m_param) : -1;
    }
    // The user presses a push item: the sheet calls the button's own callback (its pData).
    LONG Pushed(OPTITEM* item) {
        if (!item->pOptType || item->pOptType->Type != TVOT_PUSHBUTTON ||
            item->pOptType->pOptParam[0].Style != PUSHBUTTON_TYPE_CALLBACK || !item->pOptType->pOptParam[0].pData)
            return -1;
        m_cb = CPSUICBPARAM();
        m_cb.cbSize = sizeof m_cb;
        m_cb.Reason = CPSUICB_REASON_PUSHBUTTON;
        m_cb.pCurItem = item;
        return reinterpret_cast<_CPSUICALLBACK>(item->pOptType->pOptParam[0].pData)(&m_cb);
    }
    std::vector<std::string> Reported() const {
        std::vector<std::string> out;
        for (const auto& u : m_host.Updates()) out.push_back(u.keyword + "=" + std::to_string(u.sel));
        return out;
    }

    zqspool::CZQMemoryPrinter m_printer;
    HANDLE m_hPrinter = nullptr;
    HANDLE m_heap = nullptr;
    COptItemFixture m_host;
    OEMCUIPPARAM m_param = {};
    ZQUIDevmode m_dm = {};
    DEVMODEW m_pub = {};
    std::vector<OPTITEM> m_items;
    CPSUICBPARAM m_cb = {};
    std::unique_ptr<zqxmltest::TempFile> m_script;
    std::unique_ptr<CZQOemUI, PluginDeleter> m_plugin;
};

std::vector<FixtureFeature> DocumentFeatures() {
    return {ListFeature("Orientation", {{"PORTRAIT", L"Portrait"}, {"LANDSCAPE_CC90", L"Landscape"}}, 0,
                        DMPUB_ORIENTATION),
            ListFeature("PageOrder", {{"FRONT_TO_BACK", L"Front"}, {"BACK_TO_FRONT", L"Back"}}, 1, DMPUB_PAGEORDER),
            ListFeature("ColorMode", {{"MONO", L"Grayscale"}, {"COLOR", L"Color"}}, 1, DMPUB_COLOR),
            ListFeature("MediaType", {{"PLAIN", L"Plain"}, {"FILM", L"Film"}}, 0, DMPUB_MEDIATYPE),
            ValueFeature("ZQPDLType", "PCL3"),
            ValueFeature("ZQPrinterClass", "ZQInkDesk"),
            ValueFeature("ZQDuplicateJobNameOverride", "SWFW")};
}

TEST_F(Worker, CountAndFillPassesBuildTheSameItemsAgainAndAgain) {
    Bind(DocumentFeatures());
    const std::vector<std::string> expected = {"ZQLayoutOptions", "ZQOrientationCopy", "ZQPageOrderCopy"};
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(3u, Passes(OEMCUIP_DOCPROP)) << "round " << round;
        EXPECT_EQ(3u, m_param.cOEMOptItems);
        EXPECT_EQ(expected, Keywords());
    }
    EXPECT_TRUE(Reported().empty()) << "building the items reports nothing";
    const OPTITEM& heading = m_items[0];
    EXPECT_EQ(nullptr, heading.pOptType);
    EXPECT_STREQ(L"Layout Options", heading.pName);
    const OPTITEM& orientation = m_items[1];
    EXPECT_EQ(kOemPubOrientation, orientation.DMPubID);
    EXPECT_EQ(2, orientation.Level);
    ASSERT_NE(nullptr, orientation.pOptType);
    EXPECT_EQ(2, orientation.pOptType->Count);
    EXPECT_EQ(0, orientation.Sel);
    EXPECT_EQ(kOemPubPageOrder, m_items[2].DMPubID);
    EXPECT_EQ(1, m_items[2].Sel) << "the copy starts at the core driver's selection";
    EXPECT_TRUE(HeapValidate(m_heap, 0, nullptr));
    EXPECT_EQ(m_heap, m_param.hOEMHeap);
    EXPECT_NE(nullptr, m_param.OEMCUIPCallback);
}

TEST_F(Worker, TheFillPassNeverWritesMoreThanTheRoomGiven) {
    Bind(DocumentFeatures());
    EXPECT_EQ(3u, Passes(OEMCUIP_DOCPROP, 2));
    EXPECT_EQ(2u, m_param.cOEMOptItems);
    EXPECT_EQ((std::vector<std::string>{"ZQLayoutOptions", "ZQOrientationCopy"}), Keywords());
    const BYTE* guard = reinterpret_cast<const BYTE*>(&m_items[2]);
    for (size_t i = 0; i < sizeof(OPTITEM); ++i) ASSERT_EQ(0x5A, guard[i]) << "byte " << i;
    EXPECT_EQ(3u, Passes(OEMCUIP_DOCPROP, 0));
    EXPECT_EQ(0u, m_param.cOEMOptItems);
}

TEST_F(Worker, AFillPassWithoutItsCountPassPlansItsOwnItems) {
    Bind(DocumentFeatures());
    m_items.assign(8, OPTITEM{});
    m_param.pOEMOptItems = m_items.data();
    m_param.cOEMOptItems = 8;
    EXPECT_EQ(S_OK, m_plugin->CommonUIProp(OEMCUIP_DOCPROP, &m_param));
    EXPECT_EQ(3u, m_param.cOEMOptItems);
}

TEST_F(Worker, BadCallsAreRefused) {
    Bind(DocumentFeatures());
    EXPECT_EQ(E_FAIL, m_plugin->CommonUIProp(OEMCUIP_DOCPROP, nullptr));
    EXPECT_EQ(E_FAIL, m_plugin->CommonUIProp(3, &m_param));
    OEMCUIPPARAM small = m_param;
    small.cbSize = 16;
    EXPECT_EQ(E_FAIL, m_plugin->CommonUIProp(OEMCUIP_DOCPROP, &small));
    EXPECT_EQ(ERROR_INVALID_DATA, GetLastError());
}

TEST_F(Worker, TheFillPassWritesTheHeaderValuesJobValuesAndTheWorkingCopy) {
    Bind(DocumentFeatures());
    m_dm.dwPdl = 0;
    m_dm.dwColorMode = 0;
    m_dm.dwLayoutMode = 0;
    Passes(OEMCUIP_DOCPROP);
    EXPECT_EQ(kPdlPcl3, m_dm.dwPdl);
    EXPECT_EQ(2u, m_dm.dwColorMode) << "the core driver offers colour";
    EXPECT_EQ(3u, m_dm.dwLayoutMode);
    EXPECT_EQ(1u, m_dm.dwNameExistsAvailable);
    EXPECT_EQ(1u, m_dm.dwNameExistsSwfw);
    EXPECT_EQ(0u, m_dm.dwJobStorageAvailable);
    CZQUILogic* logic = (&m_plugin->BindingForTesting().logic);
    EXPECT_EQ(0, std::memcmp(logic->WorkDM(), &m_dm, sizeof m_dm)) << "the working copy follows the core driver's block";
    EXPECT_EQ(kPdlPcl3, logic->m_dwPdl);
    EXPECT_EQ(4u, m_plugin->BindingForTesting().driverData.DWLanguage());
    EXPECT_EQ(&m_param, logic->Param());
    EXPECT_EQ(&m_param, m_plugin->BindingForTesting().pCUIParam);
}

struct ModesCase {
    const char* modes;
    uint32_t layout;  // 9: left as it was
    std::vector<uint32_t> offered;
};

class WorkerJobStorage : public Worker, public ::testing::WithParamInterface<ModesCase> {};

// The printer's retention modes give the Job Storage page's layout: all five the full one, fewer the
// compact one without the others; a value that is not five digits 0 or 1 changes nothing.
TEST_P(WorkerJobStorage, TheRetentionModesOfTheModelGiveTheLayout) {
    const ModesCase& c = GetParam();
    std::vector<FixtureFeature> features = DocumentFeatures();
    features.push_back(ValueFeature("JobRetention", "OFF"));
    features.push_back(ValueFeature("ZQJobStorageModes", c.modes));
    Bind(features);
    m_dm.dwJsLayout = 9;
    for (uint32_t& flag : m_dm.adwJsSetA) flag = 9;
    Passes(OEMCUIP_DOCPROP);
    EXPECT_EQ(c.layout, m_dm.dwJsLayout);
    EXPECT_EQ(c.offered, std::vector<uint32_t>(std::begin(m_dm.adwJsSetA), std::end(m_dm.adwJsSetA)));
    EXPECT_EQ(c.layout != 9, CZQCommon::BIsJobStorageValid(&m_dm) != FALSE);
    EXPECT_EQ(m_dm.dwJsLayout, m_plugin->BindingForTesting().logic.WorkDM()->dwJsLayout);
}

INSTANTIATE_TEST_SUITE_P(Modes, WorkerJobStorage,
                         ::testing::Values(ModesCase{"11111", 0, {1, 1, 1, 1, 1}}, ModesCase{"10110", 1, {1, 0, 1, 1, 0}},
                                           ModesCase{"1111", 9, {9, 9, 9, 9, 9}},
                                           ModesCase{"11x11", 9, {9, 9, 9, 9, 9}}));

TEST_F(Worker, LockedSettingsAreDisabled) {
    m_printer.PutString(zqsettings::kLockDataPrinting, L"MediaType", L"Lock");
    Bind(DocumentFeatures());
    Passes(OEMCUIP_DOCPROP);
    OPTITEM* media = m_host.Item("MediaType");
    EXPECT_TRUE(media->Flags & OPTIF_DISABLED);
    EXPECT_EQ(zqsettings::kLockedHelpIndex, media->HelpIndex);
    EXPECT_FALSE(m_host.Item("Orientation")->Flags & OPTIF_DISABLED);
}

// The device sheet records the trays it finds for the device-capabilities answers; a document
// sheet asks the core driver for no list it does not show.
TEST_F(Worker, TheDeviceSheetRecordsThePrintersSources) {
    const WORD bins[] = {15, 257};
    WCHAR names[2][24] = {L"Automatically Select", L"Tray 1"};
    m_printer.SetCapability(DC_BINS, bins, 2, sizeof(WORD));
    m_printer.SetCapability(DC_BINNAMES, names, 2, sizeof names[0]);
    Bind(DocumentFeatures());
    const struct {
        DWORD mode;
        bool recorded;
    } cases[] = {{OEMCUIP_DOCPROP, false}, {OEMCUIP_PRNPROP, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        const int asked = m_printer.CallCount(zqspool::MemCall::DeviceCapabilities);
        Passes(c.mode);
        EXPECT_EQ(c.recorded, m_printer.CallCount(zqspool::MemCall::DeviceCapabilities) > asked);
        DWORD type = 0;
        std::vector<BYTE> count;
        ASSERT_EQ(c.recorded, m_printer.GetValue(zqspool::CZQMemoryPrinter::kRootKey, L"ZQTrayCount", &type, &count));
        if (!c.recorded) continue;
        ASSERT_EQ(sizeof(DWORD), count.size());
        EXPECT_EQ(2u, *reinterpret_cast<const DWORD*>(count.data()));
        std::vector<BYTE> record;
        ASSERT_TRUE(m_printer.GetValue(zqspool::CZQMemoryPrinter::kRootKey, L"ZQTRAYINFOREGDATA", &type, &record));
        BYTE* cursor = record.data();
        WCHAR text[24];
        CZQCommon::VReadString(&cursor, record.data() + record.size(), text, 24);
        EXPECT_STREQ(L"Automatically Select", text);
        EXPECT_EQ(15u, CZQCommon::DWReadDword(&cursor, record.data() + record.size()));
    }
}

// The printer-data calls of the plug-in's part of an opening (its count and fill passes), counted
// per value on their way to the memory printer: a write is a value set or removed; a size query is
// no read.
class DataCalls {
public:
    DataCalls() {
        s_pThis = this;
        m_table = zqspool::Spooler();
        m_pBeneath = &zqspool::Spooler();
        m_table.GetPrinterDataW = [](HANDLE h, LPWSTR name, LPDWORD type, LPBYTE data, DWORD cb, LPDWORD needed) {
            return s_pThis->Read(nullptr, name, s_pThis->m_pBeneath->GetPrinterDataW(h, name, type, data, cb, needed));
        };
        m_table.GetPrinterDataExW = [](HANDLE h, LPCWSTR key, LPCWSTR name, LPDWORD type, LPBYTE data, DWORD cb,
                                       LPDWORD needed) {
            return s_pThis->Read(key, name, s_pThis->m_pBeneath->GetPrinterDataExW(h, key, name, type, data, cb, needed));
        };
        m_table.EnumPrinterDataExW = [](HANDLE h, LPCWSTR key, LPBYTE data, DWORD cb, LPDWORD needed, LPDWORD n) {
            return s_pThis->Read(key, L"*", s_pThis->m_pBeneath->EnumPrinterDataExW(h, key, data, cb, needed, n));
        };
        m_table.SetPrinterDataW = [](HANDLE h, LPWSTR name, DWORD type, LPBYTE data, DWORD cb) {
            return s_pThis->Write(nullptr, name, s_pThis->m_pBeneath->SetPrinterDataW(h, name, type, data, cb));
        };
        m_table.SetPrinterDataExW = [](HANDLE h, LPCWSTR key, LPCWSTR name, DWORD type, LPBYTE data, DWORD cb) {
            return s_pThis->Write(key, name, s_pThis->m_pBeneath->SetPrinterDataExW(h, key, name, type, data, cb));
        };
        m_table.DeletePrinterDataExW = [](HANDLE h, LPCWSTR key, LPCWSTR name) {
            return s_pThis->Write(key, name, s_pThis->m_pBeneath->DeletePrinterDataExW(h, key, name));
        };
        m_table.GetPrinterDriverW = [](HANDLE h, LPWSTR env, DWORD level, LPBYTE data, DWORD cb, LPDWORD needed) {
            const BOOL ok = s_pThis->m_pBeneath->GetPrinterDriverW(h, env, level, data, cb, needed);
            if (ok && data) ++s_pThis->driverRecords;
            return ok;
        };
        m_table.GetPrinterW = [](HANDLE h, DWORD level, LPBYTE data, DWORD cb, LPDWORD needed) {
            const BOOL ok = s_pThis->m_pBeneath->GetPrinterW(h, level, data, cb, needed);
            if (ok && data && h == s_pThis->hCounted) ++s_pThis->printerRecords;
            return ok;
        };
        m_pPrevious = zqspool::SetSpooler(&m_table);
    }
    ~DataCalls() { zqspool::SetSpooler(m_pPrevious); }
    DataCalls(const DataCalls&) = delete;
    DataCalls& operator=(const DataCalls&) = delete;

    void Reset() { reads.clear(), writes.clear(), driverRecords = printerRecords = 0; }
    int MostReads() const {
        int most = 0;
        for (const auto& [value, n] : reads) most = n > most ? n : most;
        return most;
    }
    std::map<std::wstring, int> reads;
    std::vector<std::wstring> writes;
    // Driver and printer records read whole (the printer's of hCounted only: the plug-in opens the
    // printer by name to learn its rights).
    int driverRecords = 0, printerRecords = 0;
    HANDLE hCounted = nullptr;

private:
    static std::wstring Name(LPCWSTR key, LPCWSTR name) {
        std::wstring v = std::wstring(key ? key : L"PrinterDriverData") + L"\\" + (name ? name : L"");
        for (wchar_t& c : v) c = static_cast<wchar_t>(towlower(c));
        return v;
    }
    DWORD Read(LPCWSTR key, LPCWSTR name, DWORD rc) {
        if (rc != ERROR_MORE_DATA) ++reads[Name(key, name)];
        return rc;
    }
    DWORD Write(LPCWSTR key, LPCWSTR name, DWORD rc) {
        if (rc == ERROR_SUCCESS) writes.push_back(Name(key, name));
        return rc;
    }
    static DataCalls* s_pThis;
    zqspool::SpoolerApi m_table{};
    const zqspool::SpoolerApi* m_pBeneath = nullptr;
    const zqspool::SpoolerApi* m_pPrevious = nullptr;
};
DataCalls* DataCalls::s_pThis = nullptr;

// An opening writes only what differs from what is stored, and reads each value once: every opening
// writes the read-only test's "ZQDUMMY" and makes no per-user GUID; the first of a printer notes the
// configuration manager's status and stores the watermark defaults; the next writes nothing else;
// one after a change writes what changed back only.
TEST_F(Worker, AnOpeningWritesWhatChangedAndReadsEachValueOnce) {
    const std::wstring pool = L"zqpresetroot\\watermarkpooldata\\watermarkpool:";
    const struct {
        const char* what;
        std::function<void(zqspool::CZQMemoryPrinter&)> change;
        std::vector<std::wstring> written;  // in any order, beside "ZQDUMMY"
    } cases[] = {
        {"first opening", nullptr, {L"printerdriverdata\\dmcstatus", pool + L"0", pool + L"1", pool + L"2", pool + L"3"}},
        {"the next opening", nullptr, {}},
        {"after the GUID went", [](zqspool::CZQMemoryPrinter& p) { p.m_keys[L"zqpresetroot"].values.erase(L"zqrestricteduserguid"); },
         {}},
        {"after a watermark changed", [](zqspool::CZQMemoryPrinter& p) { p.PutValue(L"ZQPresetRoot\\WatermarkPoolData", L"WatermarkPool:2", REG_BINARY, "x", 1); },
         {pool + L"2"}},
        {"after that", nullptr, {}},
    };
    Bind(DocumentFeatures());
    DataCalls calls;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.change) c.change(m_printer);
        m_plugin.reset(new CZQOemUI());
        calls.Reset();
        Passes(OEMCUIP_DOCPROP);
        std::vector<std::wstring> written = calls.writes;
        std::sort(written.begin(), written.end());
        std::vector<std::wstring> expected = c.written;
        expected.push_back(L"printerdriverdata\\zqdummy");
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(expected, written);
        if (c.written.empty()) {
            EXPECT_EQ(1, calls.MostReads()) << "a value read twice";
        }
    }
}

// The driver and printer records of the sheet's printer are read once for the sheet, from its first
// DevMode on, however many steps need them; "Update Now" and a new plug-in object read them afresh.
TEST_F(Worker, AnOpeningReadsTheDriverAndPrinterRecordsOnce) {
    const std::wstring user = AnsweringPrinter(L"{5B2E8C14-9A73-4D06-B1F8-3C6E0A9D7F52}");
    for (const wchar_t* library : kServerLibraries) zqdevtest::HrLibraryRegistration(library, false);
    Bind({ListFeature("AutoConfiguration", {{"Off", L"Off"}, {"UpdateNow", L"Update Now"}})});
    DataCalls calls;
    calls.hCounted = m_hPrinter;
    // What the sheet's steps ask after the passes: the help path, the driver's key, its name.
    auto needs = [&] {
        CZQLocalPtr<WCHAR> help, key, name;
        CZQCommon::BGetHelpFilePath(m_hPrinter, help.Put());
        CZQRunSwitches::BGetDriverKey(m_hPrinter, nullptr, key.Put());
        CZQCommon::BGetPrinterName(m_hPrinter, name.Put());
    };
    auto open = [&](DWORD mode) {
        m_plugin.reset(new CZQOemUI());
        ZQUIDevmode out = {};
        OEMDMPARAM dm = {sizeof dm, nullptr, m_hPrinter, nullptr, &m_pub, nullptr, nullptr, &out, sizeof out};
        EXPECT_EQ(S_OK, m_plugin->DevMode(OEMDM_DEFAULT, &dm));
        Passes(mode);
        needs();
    };
    const struct {
        const char* what;
        std::function<void()> step;
        int driver, printer;
    } steps[] = {
        {"a document opening", [&] { open(OEMCUIP_DOCPROP); }, 1, 1},
        {"later needs of the same sheet", needs, 0, 0},
        {"a device sheet's opening", [&] { open(OEMCUIP_PRNPROP); }, 1, 1},
        {"Update Now", [&] {
             m_host.SetSelection("AutoConfiguration", 1);
             Changed(m_host.Item("AutoConfiguration"));
             needs();
         }, 1, 1},
        // A plug-in object the core driver makes for one default devmode takes the status module the
        // process loaded for the sheets.
        {"a default devmode of an object of its own", [&] {
             CZQOemUI once;
             ZQUIDevmode out = {};
             OEMDMPARAM dm = {sizeof dm, nullptr, m_hPrinter, nullptr, &m_pub, nullptr, nullptr, &out, sizeof out};
             EXPECT_EQ(S_OK, once.DevMode(OEMDM_DEFAULT, &dm));
             const HMODULE loaded = m_plugin->BindingForTesting().pCommon->HResModule();
             EXPECT_NE(nullptr, loaded);
             EXPECT_EQ(loaded, once.BindingForTesting().pCommon->HResModule());
         }, 0, 0},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.what);
        calls.Reset();
        s.step();
        EXPECT_EQ(s.driver, calls.driverRecords);
        EXPECT_EQ(s.printer, calls.printerRecords);
    }
    RegDeleteTreeW(HKEY_CURRENT_USER, kZQDevServersKey);
    RegDeleteTreeW(HKEY_CURRENT_USER, user.c_str());
}

TEST_F(Worker, TheHelperFileAndItsConstraintsLoadInTheFillPass) {
    // The desktop sample's helper file lies in the printer driver's directory.
    m_printer.Identity().driverDirectory = zqtest::ExeDir() + L"\\samples\\zqdesk";
    std::vector<FixtureFeature> features = DocumentFeatures();
    features.push_back(ValueFeature("ZQXMLFileUsed", "zqdesk.xml"));
    features.push_back(ValueFeature("ZQConstraints", "On"));
    features.push_back(ListFeature("Duplex", {{"NONE", L"None"}, {"VERTICAL", L"Long Edge"}}, 1, DMPUB_DUPLEX));
    FixtureFeature media = ListFeature("MediaType", {{"PLAIN", L"Plain"}, {"TRANSPARENCY", L"Film"}}, 0, DMPUB_MEDIATYPE);
    features[3] = media;
    Bind(features);
    ASSERT_NE(nullptr, m_plugin->BindingForTesting().XmlParser());
    EXPECT_FALSE(m_plugin->BindingForTesting().XmlParser()->BIsLoaded());
    Passes(OEMCUIP_DOCPROP);
    ASSERT_NE(nullptr, m_plugin->BindingForTesting().XmlParser());
    EXPECT_TRUE(m_plugin->BindingForTesting().XmlParser()->BIsLoaded());
    EXPECT_TRUE(m_plugin->ConstraintGateForTesting().BConstraintsLoaded()) << "after the helper file, before the items";

    // A change of the core driver's item runs the feature's macros: film prints on one side. The
    // core driver takes the user's choice before it calls back.
    OPTITEM* core = m_host.Item("MediaType");
    core->Sel = 1;
    core->Flags |= OPTIF_CHANGED;
    m_host.Param()->poemuiobj->pOemUIProcs->DrvUpdateUISetting(m_host.Param()->poemuiobj, core, 0, OEMCUIP_DOCPROP);
    m_host.ClearUpdates();
    EXPECT_EQ(CPSUICB_ACTION_OPTIF_CHANGED, Changed(core));
    EXPECT_EQ(0, m_host.Item("Duplex")->Sel);
    EXPECT_TRUE(m_host.Item("Duplex")->Flags & OPTIF_DISABLED);
    EXPECT_EQ("TRANSPARENCY", m_host.Current("MediaType")) << "the changed feature keeps the user's choice";
}

TEST_F(Worker, DeviceSettingsOfTheHelperFileApplyOnlyWhileTheInstallationRuns) {
    // A helper file of device settings only, the same for every country, in the temp folder.
    std::string xml = "<device><software><component><name>Tarnix</name><helper><DeviceSettings>";
    for (const std::string list : {"englishsetting", "japanesesetting"})
        xml += "<" + list + "><setting>MediaType.FILM.Glossy</setting><setting>Orientation</setting><setting/></" +
               list + "><" + list + "><setting>.LANDSCAPE_CC90</setting><setting>Orientation.</setting>" +
               "<setting>Duplex.VERTICAL</setting></" + list + ">";
    xml += "</DeviceSettings></helper></component></software></device>";
    wchar_t dir[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, dir);
    const std::wstring name = L"zqdevset" + std::to_wstring(GetCurrentProcessId()) + L".xml";
    HANDLE file = CreateFileW((dir + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(file, xml.data(), static_cast<DWORD>(xml.size()), &written, nullptr));
    CloseHandle(file);
    m_printer.Identity().driverDirectory = dir;
    std::vector<FixtureFeature> features = DocumentFeatures();
    features.push_back(ValueFeature("ZQXMLFileUsed", std::string(name.begin(), name.end()).c_str()));
    features.push_back(ListFeature("Duplex", {{"NONE", L"None"}, {"VERTICAL", L"Long Edge"}}, 0, DMPUB_DUPLEX));
    Bind(features);

    const DWORD one = 1, zero = 0;
    const struct {
        const char* what;
        DWORD type;
        const DWORD* value;  // null: no value
        bool applied;
    } cases[] = {{"missing", REG_DWORD, nullptr, false},
                 {"0", REG_DWORD, &zero, false},
                 {"1 as bytes", REG_BINARY, &one, false},
                 {"1", REG_DWORD, &one, true}};
    for (const auto& c : cases) {
        if (c.value) m_printer.PutValue(zqspool::CZQMemoryPrinter::kRootKey, L"InstallationComplete", c.type, c.value, 4);
        for (const char* feature : {"MediaType", "Duplex", "Orientation"}) m_host.SetSelection(feature, 0);
        Passes(OEMCUIP_DOCPROP);
        EXPECT_EQ(c.applied ? "FILM" : "PLAIN", m_host.Current("MediaType")) << c.what;
        EXPECT_EQ(c.applied ? "VERTICAL" : "NONE", m_host.Current("Duplex")) << c.what;
        EXPECT_EQ("PORTRAIT", m_host.Current("Orientation")) << c.what << ": texts without both pieces";
    }
    DeleteFileW((dir + name).c_str());
}

// ---------------------------------------------------------------------------------------------
// The document callback.
// ---------------------------------------------------------------------------------------------
TEST_F(Worker, AChangedCopyReachesTheCoreDriverOnceAndTheDevmode) {
    Bind(DocumentFeatures());
    Passes(OEMCUIP_DOCPROP);
    OPTITEM* copy = Own("ZQOrientationCopy");
    ASSERT_NE(nullptr, copy);
    copy->Sel = 1;
    EXPECT_EQ(CPSUICB_ACTION_OPTIF_CHANGED, Changed(copy));
    EXPECT_EQ((std::vector<std::string>{"Orientation=1"}), Reported());
    EXPECT_EQ(1, m_host.Item("Orientation")->Sel);
    EXPECT_EQ(DMORIENT_LANDSCAPE, m_dm.wOrientation);
    EXPECT_EQ(DMORIENT_LANDSCAPE, (&m_plugin->BindingForTesting().logic)->WorkDM()->wOrientation);

    // The same choice again changes nothing in the core driver.
    m_host.ClearUpdates();
    EXPECT_EQ(CPSUICB_ACTION_OPTIF_CHANGED, Changed(copy));
    EXPECT_TRUE(Reported().empty());

    // The page-order copy.
    OPTITEM* order = Own("ZQPageOrderCopy");
    order->Sel = 0;
    Changed(order);
    EXPECT_EQ((std::vector<std::string>{"PageOrder=0"}), Reported());
    EXPECT_EQ(0u, m_dm.dwPageOrder);
}

TEST_F(Worker, AChangedCoreItemSetsTheCopyWithoutReportingIt) {
    Bind(DocumentFeatures());
    Passes(OEMCUIP_DOCPROP);
    OPTITEM* core = m_host.Item("Orientation");
    core->Sel = 1;
    OPTITEM* copy = Own("ZQOrientationCopy");
    copy->Flags &= ~static_cast<DWORD>(OPTIF_CHANGED);
    EXPECT_EQ(CPSUICB_ACTION_OPTIF_CHANGED, Changed(core));
    EXPECT_EQ(1, copy->Sel);
    EXPECT_TRUE(copy->Flags & OPTIF_CHANGED);
    EXPECT_TRUE(Reported().empty()) << "the core driver made this change itself";
    EXPECT_EQ(DMORIENT_LANDSCAPE, m_dm.wOrientation);

    // Features without dependants ask for nothing; the rule engine, once loaded, takes the media
    // type the sheet now shows.
    CZQXmlParserCommon& parser = *m_plugin->BindingForTesting().XmlParser();
    OPTITEM* media = m_host.Item("MediaType");
    media->Sel = 1;
    m_host.Param()->poemuiobj->pOemUIProcs->DrvUpdateUISetting(m_host.Param()->poemuiobj, media, 0, OEMCUIP_DOCPROP);
    m_host.ClearUpdates();
    EXPECT_EQ(CPSUICB_ACTION_NONE, Changed(media));
    EXPECT_TRUE(Reported().empty());
    EXPECT_STREQ(L"", parser.m_szMediaTypeValue) << "rules not loaded";
    parser.VSetLoaded(TRUE);
    Changed(media);
    EXPECT_STREQ(L"FILM", parser.m_szMediaTypeValue);
    parser.VSetLoaded(FALSE);
}

TEST_F(Worker, CallbacksForAnotherBlockOrAForeignItemDoNothing) {
    Bind(DocumentFeatures());
    Passes(OEMCUIP_DOCPROP);
    OPTITEM* copy = Own("ZQOrientationCopy");
    copy->Sel = 1;
    OEMCUIPPARAM other = m_param;
    CPSUICBPARAM cb = {};
    cb.cbSize = sizeof cb;
    cb.Reason = CPSUICB_REASON_SEL_CHANGED;
    cb.pCurItem = copy;
    EXPECT_EQ(CPSUICB_ACTION_NONE, m_param.OEMCUIPCallback(&cb, &other)) << "not the current block";
    OPTITEM stray = *copy;
    cb.pCurItem = &stray;
    EXPECT_EQ(CPSUICB_ACTION_NONE, m_param.OEMCUIPCallback(&cb, &m_param)) << "not one of the block's items";
    cb.pCurItem = nullptr;
    EXPECT_EQ(CPSUICB_ACTION_NONE, m_param.OEMCUIPCallback(&cb, &m_param));
    EXPECT_EQ(CPSUICB_ACTION_NONE, m_param.OEMCUIPCallback(nullptr, &m_param));
    OEMCUIPPARAM foreign = m_param;
    foreign.pOEMUserData = &foreign;
    EXPECT_EQ(CPSUICB_ACTION_NONE, m_param.OEMCUIPCallback(&cb, &foreign));
    EXPECT_TRUE(Reported().empty());
    EXPECT_EQ(0, m_host.Item("Orientation")->Sel);
}

TEST_F(Worker, PushItemsOpenTheirDialogWithARecordThatNamesItsForm) {
    std::vector<FixtureFeature> features = DocumentFeatures();
    features.push_back(ListFeature("ZQDryTime", {{"Auto", L"Auto"}, {"5min", L"5 min"}}));
    features.push_back(ListFeature("ZQOverSpray", {{"Less", L"Less"}, {"More", L"More"}}));
    Bind(features);
    const ZQOemDialogRow noDialogs[] = {{kOemDialogNone, nullptr}};
    ZQSetOemDialogTable(noDialogs);
    EXPECT_EQ(3u, Passes(OEMCUIP_DOCPROP)) << "no dialog in the plug-in: no push item";

    ZQSetOemDialogTable(kTestDialogs);
    EXPECT_EQ(5u, Passes(OEMCUIP_DOCPROP));
    EXPECT_EQ((std::vector<std::string>{"ZQLayoutOptions", "ZQOrientationCopy", "ZQPageOrderCopy", "ZQDryTimeOption",
                                        "ZQOverSprayOption"}),
              Keywords());
    OPTITEM* dry = Own("ZQDryTimeOption");
    ASSERT_NE(nullptr, dry->pOptType);
    EXPECT_EQ(TVOT_PUSHBUTTON, dry->pOptType->Type);
    EXPECT_EQ(CPSUICB_ACTION_OPTIF_CHANGED, Pushed(dry));
    ASSERT_EQ(1u, g_dialogs.size());
    EXPECT_EQ(sizeof(ZQOemDialogParam), g_dialogs[0].cbSize);
    EXPECT_EQ(kOemDialogDryTime, g_dialogs[0].kind);
    EXPECT_STREQ(L"ZQDryTime", g_dialogs[0].pszFeature);
    EXPECT_EQ((&m_plugin->BindingForTesting().logic), g_dialogs[0].pLogic);
    EXPECT_EQ(&m_cb, g_dialogs[0].pCBParam);
    EXPECT_NE(nullptr, g_dialogs[0].pszHelpFile);
    EXPECT_TRUE(dry->Flags & OPTIF_CHANGED);

    // The sheet's callback opens nothing for a push of any item, nor does the button's callback for
    // another item or for a block that is no longer current.
    EXPECT_EQ(CPSUICB_ACTION_NONE, Changed(m_host.Item("MediaType"), CPSUICB_REASON_PUSHBUTTON));
    EXPECT_EQ(CPSUICB_ACTION_NONE, Changed(dry, CPSUICB_REASON_PUSHBUTTON));
    m_cb.pCurItem = m_host.Item("MediaType");
    EXPECT_EQ(CPSUICB_ACTION_NONE,
              reinterpret_cast<_CPSUICALLBACK>(dry->pOptType->pOptParam[0].pData)(&m_cb));
    ASSERT_EQ(1u, g_dialogs.size());
    Pushed(Own("ZQOverSprayOption"));
    ASSERT_EQ(2u, g_dialogs.size());
    EXPECT_STREQ(L"ZQOverSpray", g_dialogs[1].pszFeature);
}

TEST_F(Worker, PostScriptPushItemsSetTheJclTwins) {
    std::vector<FixtureFeature> features = DocumentFeatures();
    features[4] = ValueFeature("ZQPDLType", "PostScript");
    features.push_back(ListFeature("JCLZQDryTime", {{"Auto", L"Auto"}}));
    features.push_back(ListFeature("ZQDryTime", {{"Auto", L"Auto"}}));
    Bind(features);
    ZQSetOemDialogTable(kTestDialogs);
    Passes(OEMCUIP_DOCPROP);
    ASSERT_EQ(kPdlPostScript, m_dm.dwPdl);
    Pushed(Own("ZQDryTimeOption"));
    ASSERT_EQ(1u, g_dialogs.size());
    EXPECT_STREQ(L"JCLZQDryTime", g_dialogs[0].pszFeature);
}

TEST_F(Worker, TheSimplifiedPosterListGetsTheTileItem) {
    std::vector<FixtureFeature> features = DocumentFeatures();
    features.push_back(ValueFeature("ZQSimplifiedUI", "TRUE"));
    features.push_back(ListFeature("ZQPosterPrintingOptionSUI", {{"Off", L"Off"}, {"2x2", L"2 x 2"}}, 1));
    Bind(features);
    ZQSetOemDialogTable(kTestDialogs);
    Passes(OEMCUIP_DOCPROP);
    OPTITEM* tiles = Own("ZQTileSelection");
    ASSERT_NE(nullptr, tiles);
    Pushed(tiles);
    ASSERT_EQ(1u, g_dialogs.size());
    EXPECT_EQ(kOemDialogTiles, g_dialogs[0].kind) << "the tile dialog tells this record from a page's";
}

// ---------------------------------------------------------------------------------------------
// The printer sheet of a large-format printer: roll items.
// ---------------------------------------------------------------------------------------------
TEST_F(Worker, RollItemsFollowTheInstalledRolls) {
    m_printer.PutString(zqspool::CZQMemoryPrinter::kRootKey, L"Roll1Name", L"Vendor Bond");
    m_printer.PutString(zqspool::CZQMemoryPrinter::kRootKey, L"Roll1CustomWidth", L"30.50");
    Bind({ValueFeature("ZQPrinterClass", "ZQKorrix"),
          ListFeature("InstalledRolls", {{"Roll1", L"Roll 1"}, {"Roll1_Roll2", L"Both"}, {"Sheet_Roll3", L"Sheet"}}, 1)});
    m_param.dwFlags = OEMCUIP_PRNPROP;
    EXPECT_EQ(12u, Passes(OEMCUIP_PRNPROP)) << "Roll1, Roll2 and Sheet; a third roll has no items";
    EXPECT_EQ(1, m_host.Item("InstalledRolls")->Sel) << "listing the options put the selection back";
    OPTITEM* name = Own("Roll1Name");
    ASSERT_NE(nullptr, name);
    EXPECT_EQ(109, name->DMPubID);
    EXPECT_EQ(TVOT_EDITBOX, name->pOptType->Type);
    EXPECT_STREQ(L"Vendor Bond", name->pSel);
    EXPECT_TRUE(name->Flags & OPTIF_DISABLED) << "the printer's answer is shown, not chosen";
    OPTITEM* custom = Own("Roll1CustomWidth");
    EXPECT_STREQ(L"30.50", custom->pSel);
    EXPECT_FALSE(custom->Flags & OPTIF_DISABLED) << "a width none of the listed ones is edited";
    EXPECT_TRUE(Own("Roll2CustomWidth")->Flags & OPTIF_DISABLED);
    OPTITEM* type = Own("Roll1Type");
    ASSERT_EQ(1, type->pOptType->Count) << "without the helper file's list";
    EXPECT_FALSE(Own("Roll2Name")->Flags & OPTIF_HIDE);
    EXPECT_TRUE(Own("SheetName")->Flags & OPTIF_HIDE) << "not a source of the current option";

    // Another option: the items follow.
    m_host.SetSelection("InstalledRolls", 0);
    EXPECT_EQ(CPSUICB_ACTION_OPTIF_CHANGED, Changed(m_host.Item("InstalledRolls")));
    EXPECT_TRUE(Own("Roll2Name")->Flags & OPTIF_HIDE);
    EXPECT_FALSE(Own("Roll1Width")->Flags & OPTIF_HIDE);
    EXPECT_EQ(CPSUICB_ACTION_NONE, Changed(m_host.Item("InstalledRolls"))) << "nothing left to change";
    m_host.SetSelection("InstalledRolls", 2);
    Changed(m_host.Item("InstalledRolls"));
    EXPECT_TRUE(Own("Roll1Name")->Flags & OPTIF_HIDE);
    EXPECT_FALSE(Own("SheetType")->Flags & OPTIF_HIDE);
}

// ---------------------------------------------------------------------------------------------
// The printer sheet's "Update Now", and the refresh while "AutoConfiguration" is "On": the
// printer's driver lists the device-server stand-ins, which start unregistered.
// ---------------------------------------------------------------------------------------------
TEST_F(Worker, UpdateNowAsksThePrinterWhenPickedOrWhileOn) {
    const std::wstring user = AnsweringPrinter(L"{0D3A6E52-7C41-4B9F-9E20-5F8A1C6B3D74}"), store = user + L"\\ZQBIDIInfo";
    for (const wchar_t* library : kServerLibraries) zqdevtest::HrLibraryRegistration(library, false);
    Bind({ListFeature("AutoConfiguration", {{"Off", L"Off"}, {"On", L"On"}, {"UpdateNow", L"Update Now"}})});
    Passes(OEMCUIP_PRNPROP);
    struct Row {
        const char* what;
        LONG sel;
        bool sheet;    // picked in the sheet, else the sheet opened again
        DWORD fresh;   // "DevSetUpdate", 9 when not there
    } rows[] = {
        {"another option asks nothing", 1, true, 9},
        {"picked: asked, and the answers applied", 2, true, 0},
        {"opened while on: asked, applied later", 1, false, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        m_host.SetSelection("AutoConfiguration", row.sel);
        if (row.sheet)
            EXPECT_EQ(row.fresh ? CPSUICB_ACTION_NONE : CPSUICB_ACTION_OPTIF_CHANGED,
                      Changed(m_host.Item("AutoConfiguration")));
        else
            Passes(OEMCUIP_PRNPROP);
        DWORD fresh = 9, cb = sizeof fresh;
        RegGetValueW(HKEY_CURRENT_USER, store.c_str(), L"DevSetUpdate", RRF_RT_REG_DWORD, nullptr, &fresh, &cb);
        EXPECT_EQ(row.fresh, fresh);
        EXPECT_EQ(REGDB_E_CLASSNOTREG,
                  zqdevtest::HrCreateOnThread(COINIT_APARTMENTTHREADED, CLSID_ZQDeviceAgent, IID_IZQDeviceAgent))
            << "what the call registered goes with it";
    }
    RegDeleteTreeW(HKEY_CURRENT_USER, kZQDevServersKey);
    RegDeleteTreeW(HKEY_CURRENT_USER, user.c_str());
}

// While the installation finishes the printer is asked without a user: the mini-installer starts
// the servers the driver carries when they cannot be created (and removes them again), and
// "EACStatus" tells whether the driver carries them.
TEST_F(Worker, TheInstallationConfiguresThePrinterFromItsAnswers) {
    const std::wstring user = AnsweringPrinter(L"{6E1B7A90-3C52-4D8E-A1F4-92B0C7D5E3A6}"), store = user + L"\\ZQBIDIInfo";
    const std::vector<std::wstring> files = m_printer.Identity().dependentFiles;
    Bind({ListFeature("AutoConfiguration", {{"Off", L"Off"}, {"UpdateNow", L"Update Now"}})});
    const std::vector<std::wstring> started = {L"zqinstres.InitializeMiniInstaller(\"ZQ Memory Printer\") = 1",
                                               L"zqinstres.KillMiniInstaller()"};
    const struct {
        const char* what;
        DWORD installing;
        bool files, registered;
        DWORD eac, fresh;  // 9: not there
        std::vector<std::wstring> installer;
    } rows[] = {
        {"servers not registered: the mini-installer starts them", 1, true, false, 1, 0, started},
        {"servers registered", 1, true, true, 1, 0, {}},
        {"no servers among the driver's files", 1, false, false, 0, 9, {}},
        {"the installation has finished", 0, true, false, 9, 9, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        RegDeleteTreeW(HKEY_CURRENT_USER, user.c_str());
        for (const wchar_t* library : kServerLibraries) zqdevtest::HrLibraryRegistration(library, row.registered);
        RegDeleteTreeW(HKEY_CURRENT_USER, kZQDevServersKey);
        zqdevtest::SetScript(L"ZQ Memory Printer", m_script->Path());
        m_printer.Identity().dependentFiles = row.files ? files : std::vector<std::wstring>{};
        m_printer.PutValue(zqspool::CZQMemoryPrinter::kRootKey, L"InstallationComplete", REG_DWORD, &row.installing, 4);
        Passes(OEMCUIP_PRNPROP);
        DWORD eac = 9, fresh = 9, cb = sizeof eac;
        RegGetValueW(HKEY_CURRENT_USER, store.c_str(), L"EACStatus", RRF_RT_REG_DWORD, nullptr, &eac, &cb);
        cb = sizeof fresh;
        RegGetValueW(HKEY_CURRENT_USER, store.c_str(), L"DevSetUpdate", RRF_RT_REG_DWORD, nullptr, &fresh, &cb);
        EXPECT_EQ(row.eac, eac);
        EXPECT_EQ(row.fresh, fresh) << "asked and applied";
        std::vector<std::wstring> installer;
        for (const std::wstring& line : zqdevtest::Log())
            if (line.rfind(L"zqinstres.", 0) == 0) installer.push_back(line);
        EXPECT_EQ(row.installer, installer);
        EXPECT_EQ(row.registered ? S_OK : REGDB_E_CLASSNOTREG,
                  zqdevtest::HrCreateOnThread(COINIT_APARTMENTTHREADED, CLSID_ZQDeviceLink, IID_IZQDeviceLink));
    }
    for (const wchar_t* library : kServerLibraries) zqdevtest::HrLibraryRegistration(library, false);
    RegDeleteTreeW(HKEY_CURRENT_USER, kZQDevServersKey);
    RegDeleteTreeW(HKEY_CURRENT_USER, user.c_str());
}

// The fill pass removes the watermarks of earlier versions and keeps the four default watermarks at
// the head of the printer's pool, with no second copy however often the sheet asks.
TEST_F(Worker, TheFillPassKeepsTheDefaultWatermarksInThePrintersData) {
    Bind(DocumentFeatures());
    const DWORD legacyCount = 1;
    m_printer.PutValue(L"PrinterDriverData", L"ZQWMREGDATA", REG_DWORD, &legacyCount, sizeof legacyCount);
    m_printer.PutString(L"PrinterDriverData", L"ZQWATERMARKDATA0", L"old");
    Passes(OEMCUIP_DOCPROP);
    Passes(OEMCUIP_DOCPROP);
    std::vector<std::wstring> pool;
    CZQPrinterDataList values;
    ASSERT_TRUE(values.BRead(m_hPrinter, L"ZQPresetRoot\\WatermarkPoolData"));
    for (DWORD i = 0; i < values.Count(); ++i) {
        DWORD type = 0, cb = 0;
        const BYTE* data = values.Data(i, &type, &cb);
        ZQWatermarkRecord record = {};
        EXPECT_EQ(static_cast<DWORD>(REG_BINARY), type);
        pool.push_back(data && zqwm::Read(data, cb, &record) ? record.szName : L"?");
    }
    EXPECT_EQ((std::vector<std::wstring>{L" [none]", L"Confidential", L"Draft", L"SAMPLE"}), pool);
    EXPECT_FALSE(m_printer.GetValue(L"PrinterDriverData", L"ZQWMREGDATA", nullptr, nullptr));
    EXPECT_FALSE(m_printer.GetValue(L"PrinterDriverData", L"ZQWATERMARKDATA0", nullptr, nullptr));
}

TEST_F(Worker, PrinterSheetsOfOtherPrintersGetNoItems) {
    Bind({ValueFeature("ZQPrinterClass", "ZQInkDesk"), ListFeature("DuplexUnit", {{"NOTINSTALLED", L"No"}})});
    EXPECT_EQ(0u, Passes(OEMCUIP_PRNPROP));
    EXPECT_EQ(0u, m_param.cOEMOptItems);
    EXPECT_EQ(CPSUICB_ACTION_NONE, Changed(m_host.Item("DuplexUnit")));
}

}  // namespace
