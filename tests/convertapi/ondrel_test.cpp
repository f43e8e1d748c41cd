// The converter on the in-memory printer with the configuration-manager stand-in: the run flags of
// either mode and what their removal gives back, the ticket read into a fresh snapshot, and which
// driver calls a run makes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "cfgmgrtest.h"
#include "common/zqhandles.h"
#include "convtest.h"
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

std::wstring RunKey(const GUID& run) { return zqconvtest::RunKey(&run); }
using zqconvtest::RegText;

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
        EXPECT_FALSE(zqconvtest::KeyExists(RunKey(kRun)));
        EXPECT_EQ(before, Root(zs::kAlwaysExport));
        EXPECT_EQ(L"-", Root(L"ExportTicketLocation"));
        converter.VFreeDMC();
    }
}

// Three levels are read, a name without a value of its own does not end its siblings, and nothing
// deeper is read.
TEST_F(Converter, TheTicketIsReadThreeLevelsDeep) {
    const std::wstring ticket = Ticket("Printing/Duplex=LongEdge\n"
                                       "Printing/Finishing/Stapling=TopLeft\n"
                                       "Printing/Finishing/Output/Group/Leaf=1\n"
                                       "Printing/Finishing/Output/Bin=Stacker\n"
                                       "Physical/Memory=64\n");
    const std::wstring run = RunKey(kRun) + L"\\";
    CZQOndrel converter(kPrinter, ticket.c_str(), m_dmc.c_str(), 1);
    ASSERT_TRUE(converter.BDMCReadCfgVal(kRun));
    const struct {
        const wchar_t* key;
        const wchar_t* name;
        const wchar_t* value;
    } expected[] = {
        {zs::kOndrelDevModeItems, L"Duplex", L"LongEdge"}, {zs::kOndrelOptItems, L"Stapling", L"TopLeft"},
        {zs::kOndrelOptItems, L"Bin", L"Stacker"},         {zs::kOndrelOptItems, L"Leaf", L"-"},
        {zs::kOndrelPhysical, L"Memory", L"64"},
    };
    for (const auto& e : expected) EXPECT_EQ(e.value, RegText(run + e.key, e.name)) << e.name;
    EXPECT_EQ(1u, zc::Calls(L"DMCGet(\"Bin\") [260] = 1").size()) << "names and values have 260 characters";
    EXPECT_TRUE(zc::Logged(L"DMCEndConfig() = 1"));

    // Items of another root are not the snapshot's, and a run key too long for a path names none.
    EXPECT_FALSE(converter.BStoreSnapshotValue(L"Other", L"Item", L"1", nullptr, RunKey(kRun).c_str()));
    EXPECT_FALSE(converter.BStoreSnapshotValue(L"Printing", L"Item", L"1", nullptr, std::wstring(250, L'K').c_str()));
    converter.VFreeDMC();
}

// Printer properties for device items, document properties for document items, both for a
// convert-devmode run.
TEST_F(Converter, TheDriverIsCalledForWhatTheRunHolds) {
    const struct {
        BOOL convert;
        bool printing, physical;
        const char* calls;
        BOOL result;
    } cases[] = {
        {FALSE, false, false, "", FALSE},        {FALSE, true, false, "document ", TRUE},
        {FALSE, false, true, "printer ", TRUE},  {FALSE, true, true, "printer document ", TRUE},
        {TRUE, false, false, "printer document ", TRUE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        RegDeleteTreeW(HKEY_CURRENT_USER, RunKey(kRun).c_str());
        CZQOndrel converter;
        converter.VSetPrinterName(kPrinter);
        converter.VSetConvertDevMode(c.convert);
        if (c.printing) converter.BStoreSnapshotValue(L"Printing", L"Duplex", L"LongEdge", nullptr, RunKey(kRun).c_str());
        if (c.physical) converter.BStoreSnapshotValue(L"Physical", L"Memory", L"64", nullptr, RunKey(kRun).c_str());
        std::vector<BYTE> buffer(kDriverSize, 0);
        auto* dm = reinterpret_cast<DEVMODEW*>(buffer.data());
        dm->dmSize = sizeof(DEVMODEW);
        dm->dmDriverExtra = static_cast<WORD>(kDriverSize - sizeof(DEVMODEW));
        g_calls.clear();
        EXPECT_EQ(c.result, converter.BCallDocProperties(dm, kRun));
        EXPECT_EQ(c.calls, g_calls);
    }
}

}  // namespace
