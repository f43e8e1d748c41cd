// The converter on the in-memory printer with the configuration-manager stand-in: the run flags of
// either mode and what their removal gives back, the ticket read into a fresh snapshot, a ticket
// that cannot be opened, and which driver calls a run makes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "cfgmgrtest.h"
#include "common/zqhandles.h"
#include "convertapi/zqondrel.h"
#include "settings/zqdriverdata.h"
#include "testsupport.h"
#include "zqmemprinter.h"

namespace {

using zqspool::CZQMemoryPrinter;
namespace zs = zqsettings;
namespace zc = zqcfgtest;

constexpr wchar_t kPrinter[] = L"ZQ Memory Printer";
const GUID kRun = {0x5a51c0de, 0x4321, 0x4abc, {0x80, 0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70}};
constexpr LONG kDriverSize = 2000;

std::string g_calls;
LONG WINAPI FakeDocumentProperties(HWND, HANDLE, LPWSTR, PDEVMODEW pOut, PDEVMODEW pIn, DWORD mode) {
    if (mode == 0) return kDriverSize;
    if (mode == (DM_IN_BUFFER | DM_IN_PROMPT | DM_OUT_BUFFER) && pOut == pIn) g_calls += "document ";
    return IDOK;
}
BOOL WINAPI FakePrinterProperties(HWND, HANDLE) {
    g_calls += "printer ";
    return TRUE;
}

std::wstring RunKey(const GUID& run) {
    WCHAR key[CZQCommon::kRunKeyChars];
    CZQCommon::BBuildRunKeyPath(run, key, CZQCommon::kRunKeyChars);
    return key;
}

std::wstring RegText(const std::wstring& key, const wchar_t* name) {
    WCHAR text[300] = {};
    DWORD cb = sizeof text - sizeof(WCHAR), type = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_ANY, &type, text, &cb) != ERROR_SUCCESS) return L"-";
    DWORD number = 0;
    std::memcpy(&number, text, sizeof number);
    return type == REG_DWORD ? std::to_wstring(number) : std::wstring(text);
}

class Converter : public ::testing::Test {
protected:
    void SetUp() override {
        zc::ResetStandIn();
        RegDeleteTreeW(HKEY_CURRENT_USER, RunKey(kRun).c_str());
        m_printer.Install();
        m_api = zqspool::Spooler();
        m_api.DocumentPropertiesW = FakeDocumentProperties;
        m_api.PrinterProperties = FakePrinterProperties;
        m_previous = zqspool::SetSpooler(&m_api);
        g_calls.clear();
    }
    void TearDown() override {
        zqspool::SetSpooler(m_previous);
        RegDeleteTreeW(HKEY_CURRENT_USER, RunKey(kRun).c_str());
        zc::ResetStandIn();
    }
    std::wstring Ticket(const std::string& text, const wchar_t* name = L"convtest.tkt") {
        const std::wstring path = zqtest::BesideExe(name);
        EXPECT_TRUE(zc::WriteFileText(path, text));
        return path;
    }
    std::wstring Root(const wchar_t* name) const {
        DWORD type = 0;
        std::vector<BYTE> data;
        if (!m_printer.GetValue(CZQMemoryPrinter::kRootKey, name, &type, &data)) return L"-";
        DWORD number = 0;
        if (type == REG_DWORD) std::memcpy(&number, data.data(), sizeof number);
        if (type == REG_DWORD) return std::to_wstring(number);
        return std::wstring(data.begin(), data.end());  // ANSI bytes, one per character
    }

    CZQMemoryPrinter m_printer;
    zqspool::SpoolerApi m_api{};
    const zqspool::SpoolerApi* m_previous = nullptr;
    const std::wstring m_dmc = zqtest::BesideExe(L"zqcfgmgr.dll");
};

// Ticket mode names the ticket for the driver side; convert-devmode mode lets the driver export
// into it. At the run's end the run key goes, and the printer's "AlwaysExport" is what it was.
TEST_F(Converter, RunFlagsComeAndGoAndTheAdministratorsSettingStays) {
    const std::wstring ticket = Ticket("Printing/Duplex=LongEdge\n");
    const std::string ansi(ticket.begin(), ticket.end());
    const struct {
        BOOL convert;
        DWORD before;  // "AlwaysExport" before the run; 99: none
        const wchar_t* names[6];
        const wchar_t* values[6];
    } cases[] = {
        {FALSE, 99,
         {L"DisableDPSExtension", L"TicketManager", L"TicketType", L"PrinterName", L"TicketPath", L"ProcessingOndrel"},
         {L"1", m_dmc.c_str(), L"2", kPrinter, ticket.c_str(), L"TRUE"}},
        {TRUE, 99, {L"ProcessingConvertDevmode", L"ProcessingOndrel", L"TicketPath"}, {L"TRUE", L"TRUE", L"-"}},
        {TRUE, 7, {L"ProcessingConvertDevmode", L"ProcessingOndrel", L"TicketPath"}, {L"TRUE", L"TRUE", L"-"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "convert " << c.convert << ", before " << c.before);
        if (c.before != 99) m_printer.PutValue(CZQMemoryPrinter::kRootKey, zs::kAlwaysExport, REG_DWORD, &c.before, 4);
        const std::wstring before = Root(zs::kAlwaysExport);
        CZQOndrel converter(kPrinter, ticket.c_str(), m_dmc.c_str(), 2);
        ASSERT_TRUE(converter.BIsRegistered());
        converter.VSetConvertDevMode(c.convert);
        ASSERT_TRUE(converter.BSetRunFlags(kRun));
        for (int i = 0; i < 6 && c.names[i]; ++i) EXPECT_EQ(c.values[i], RegText(RunKey(kRun), c.names[i])) << c.names[i];
        EXPECT_EQ(c.convert ? L"1" : before, Root(zs::kAlwaysExport));
        EXPECT_EQ(c.convert ? std::wstring(ansi.begin(), ansi.end()) : L"-", Root(L"ExportTicketLocation"));

        converter.VClearRunFlags(kRun);
        CZQRegKey key;
        EXPECT_NE(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, RunKey(kRun).c_str(), 0, KEY_READ, key.Put()));
        EXPECT_EQ(before, Root(zs::kAlwaysExport));
        EXPECT_EQ(L"-", Root(L"ExportTicketLocation"));
        converter.VFreeDMC();
    }
}

// Three levels are read, a name without a value of its own does not end its siblings, nothing
// deeper is read, and the snapshot of an earlier ticket of the same run is gone.
TEST_F(Converter, TheTicketFillsAFreshSnapshotThreeLevelsDeep) {
    const std::wstring ticket = Ticket("Printing/Duplex=LongEdge\n"
                                       "Printing/Orientation=Landscape\n"
                                       "Printing/Finishing/Stapling=TopLeft\n"
                                       "Printing/Finishing/Output/Group/Leaf=1\n"
                                       "Printing/Finishing/Output/Bin=Stacker\n"
                                       "Physical/Memory=64\n");
    const std::wstring run = RunKey(kRun) + L"\\";
    RegSetKeyValueW(HKEY_CURRENT_USER, (run + zs::kOndrelOptItems).c_str(), L"Stale", REG_SZ, L"1", 4);
    CZQOndrel converter(kPrinter, ticket.c_str(), m_dmc.c_str(), 1);
    ASSERT_TRUE(converter.BDMCReadCfgVal(kRun));
    const struct {
        const wchar_t* key;
        const wchar_t* name;
        const wchar_t* value;
    } expected[] = {
        {zs::kOndrelDevModeItems, L"Duplex", L"LongEdge"}, {zs::kOndrelOptItems, L"Orientation", L"Landscape"},
        {zs::kOndrelOptItems, L"Stapling", L"TopLeft"},    {zs::kOndrelOptItems, L"Bin", L"Stacker"},
        {zs::kOndrelPhysical, L"Memory", L"64"},           {zs::kOndrelOptItems, L"Leaf", L"-"},
        {zs::kOndrelOptItems, L"Group", L"-"},             {zs::kOndrelOptItems, L"Finishing", L"-"},
        {zs::kOndrelOptItems, L"Stale", L"-"},
    };
    for (const auto& e : expected) EXPECT_EQ(e.value, RegText(run + e.key, e.name)) << e.name;
    EXPECT_EQ(1u, zc::Calls(L"DMCGet(\"Bin\") [260] = 1").size()) << "names and values have 260 characters";
    EXPECT_TRUE(zc::Logged(L"DMCEndConfig() = 1"));

    // Items of another root are not the snapshot's, and a run key too long for a path names none.
    EXPECT_FALSE(converter.BStoreSnapshotValue(L"Other", L"Item", L"1", nullptr, RunKey(kRun).c_str()));
    EXPECT_FALSE(converter.BStoreSnapshotValue(L"Printing", L"Item", L"1", nullptr, std::wstring(250, L'K').c_str()));
    converter.VFreeDMC();
}

// A ticket the manager cannot open is no read, even after a good one.
TEST_F(Converter, ATicketThatCannotBeOpenedIsNoRead) {
    const std::wstring good = Ticket("Printing/Duplex=LongEdge\n");
    const std::wstring broken = Ticket("no item on this line\n", L"broken.tkt");
    CZQOndrel converter(kPrinter, good.c_str(), m_dmc.c_str(), 1);
    ASSERT_TRUE(converter.BDMCReadCfgVal(kRun));
    const struct {
        const char* what;
        std::wstring ticket;
        bool failStart;
    } cases[] = {{"missing", zqtest::BesideExe(L"none.tkt"), false},
                 {"malformed", broken, false},
                 {"manager refuses", good, true}};
    for (const auto& c : cases) {
        if (c.failStart) zc::SetSwitch(L"FailStartConfig", 1);
        converter.VSetTicketPath(c.ticket.c_str());
        EXPECT_FALSE(converter.BDMCReadCfgVal(kRun)) << c.what;
        EXPECT_FALSE(CZQOndrel::BSnapshotHasPrinting(kRun)) << c.what;
    }
    CZQOndrel elsewhere(L"No Such Printer", good.c_str(), m_dmc.c_str(), 1);
    EXPECT_FALSE(elsewhere.BDMCReadCfgVal(kRun)) << "printer not opened";
    converter.VFreeDMC();
    elsewhere.VFreeDMC();
}

// Printer properties for device items, document properties for document items, both for a
// convert-devmode run; a devmode smaller than the driver's is not handed to it.
TEST_F(Converter, TheDriverIsCalledForWhatTheRunHolds) {
    const std::wstring ticket = Ticket("Printing/Duplex=LongEdge\n");
    const struct {
        BOOL convert;
        bool printing, physical;
        LONG extra;  // bytes the devmode lacks of the driver's size
        const char* calls;
        BOOL result;
    } cases[] = {
        {FALSE, false, false, 0, "", FALSE},         {FALSE, true, false, 0, "document ", TRUE},
        {FALSE, false, true, 0, "printer ", TRUE},   {FALSE, true, true, 0, "printer document ", TRUE},
        {TRUE, false, false, 0, "printer document ", TRUE}, {FALSE, true, false, 1, "", FALSE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        RegDeleteTreeW(HKEY_CURRENT_USER, RunKey(kRun).c_str());
        CZQOndrel converter(kPrinter, ticket.c_str(), m_dmc.c_str(), 1);
        converter.VSetConvertDevMode(c.convert);
        if (c.printing) converter.BStoreSnapshotValue(L"Printing", L"Duplex", L"LongEdge", nullptr, RunKey(kRun).c_str());
        if (c.physical) converter.BStoreSnapshotValue(L"Physical", L"Memory", L"64", nullptr, RunKey(kRun).c_str());
        std::vector<BYTE> buffer(kDriverSize, 0);
        auto* dm = reinterpret_cast<DEVMODEW*>(buffer.data());
        dm->dmSize = sizeof(DEVMODEW);
        dm->dmDriverExtra = static_cast<WORD>(kDriverSize - sizeof(DEVMODEW) - c.extra);
        g_calls.clear();
        EXPECT_EQ(c.result, converter.BCallDocProperties(dm, kRun));
        EXPECT_EQ(c.calls, g_calls);
        converter.VFreeDMC();
    }
}

}  // namespace
