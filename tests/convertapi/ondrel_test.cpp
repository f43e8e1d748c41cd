// The converter on the in-memory printer with the configuration-manager stand-in: the run flags of
// either mode and what their removal gives back (also after every failure on the way), the ticket
// read into a fresh snapshot, whole or not at all, and which driver calls a run makes.
#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "cfgmgrtest.h"
#include "common/zqhandles.h"
#include "convtest.h"
#include "convertapi/zqondrel.h"
#include "formats/zqexportrecord.h"
#include "settings/zqdriverdata.h"
#include "testsupport.h"
#include "zqmemprinter.h"

namespace {

using zqspool::CZQMemoryPrinter;
using zqspool::MemCall;
namespace zs = zqsettings;
namespace zc = zqcfgtest;

constexpr wchar_t kPrinter[] = L"ZQ Memory Printer";
const GUID kRun = {0x5a51c0de, 0x4321, 0x4abc, {0x80, 0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70}};
constexpr LONG kDriverSize = 2000;

std::string g_calls;
LONG g_documentResult = IDOK;
LONG WINAPI FakeDocumentProperties(HWND, HANDLE, LPWSTR, PDEVMODEW pOut, PDEVMODEW pIn, DWORD mode) {
    if (mode == 0) return kDriverSize;
    if (mode == (DM_IN_BUFFER | DM_IN_PROMPT | DM_OUT_BUFFER) && pOut == pIn) g_calls += "document ";
    return g_documentResult;
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
        g_documentResult = IDOK;
    }
    void TearDown() override {
        zqspool::SetSpooler(m_previous);
        RegDeleteTreeW(HKEY_CURRENT_USER, RunKey(kRun).c_str());
        RegDeleteTreeW(HKEY_CURRENT_USER, zqconvtest::RunKey(nullptr).c_str());
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
        zc::ResetStandIn();
        CZQOndrel converter(kPrinter, ticket.c_str(), m_dmc.c_str(), 2);
        ASSERT_TRUE(converter.BIsRegistered());
        // Every load registers the manager afresh, also a later one of the same process.
        EXPECT_EQ((std::vector<std::wstring>{L"DllUnregisterServer() = 0x00000000", L"DllRegisterServer() = 0x00000000"}),
                  zc::Calls(L"Dll"));
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

// The printer's export switches after a convert-devmode run are what they were before it, whatever
// failed: a value that cannot be read leaves them untouched, a switch that cannot be set takes the
// other back, a restore the spooler refuses once is asked again, one it keeps refusing is kept and
// done by a later try (KillConvertAPI's, or the next run's), and the switches of a dead run are given
// the administrator's values that run recorded.
TEST_F(Converter, ExportSwitchesAreAsBeforeWhateverFails) {
    const std::wstring ticket = Ticket("Printing/Duplex=LongEdge\n");
    const GUID dead = {0xdeadbeef, 0, 0, {1, 2, 3, 4, 5, 6, 7, 8}};
    const struct {
        const char* what;
        DWORD before;  // "AlwaysExport" before the run; 99: none
        bool deadRun;  // a dead run's switches and record are there
        MemCall call;  // the call that fails once, after `after` of its kind went through
        int after;
        LONG document;  // the driver's answer
        bool set;
        const wchar_t* first;  // the switches after the run's end; then after one more try
        const wchar_t* retried;
    } cases[] = {
        {"no fault", 7, false, MemCall::Count, 0, IDOK, true, L"7 admin -", L"7 admin -"},
        {"the driver call fails", 7, false, MemCall::Count, 0, IDCANCEL, true, L"7 admin -", L"7 admin -"},
        {"AlwaysExport cannot be read", 7, false, MemCall::GetPrinterData, 1, IDOK, false, L"7 admin -", L"7 admin -"},
        {"the record cannot be written", 7, false, MemCall::SetPrinterData, 0, IDOK, false, L"7 admin -", L"7 admin -"},
        {"the ticket's place cannot be set", 7, false, MemCall::SetPrinterData, 2, IDOK, false, L"7 admin -",
         L"7 admin -"},
        {"AlwaysExport cannot be put back once", 7, false, MemCall::SetPrinterData, 3, IDOK, true, L"7 admin -",
         L"7 admin -"},
        {"a missing AlwaysExport cannot be deleted once", 99, false, MemCall::DeletePrinterDataEx, 0, IDOK, true,
         L"- admin -", L"- admin -"},
        {"the spooler keeps refusing to put back", 7, false, MemCall::SetPrinterData, 3, IDOK, true, L"1 run record",
         L"7 admin -"},
        {"a dead run's switches", 7, true, MemCall::Count, 0, IDOK, true, L"7 admin -", L"7 admin -"},
    };
    auto switches = [&] {
        return Root(zs::kAlwaysExport) + L" " +
               (Root(zs::kExportTicketLocation) == L"admin" ? L"admin" : Root(zs::kExportTicketLocation) == L"-" ? L"-" : L"run") +
               L" " + (Root(zs::kExportRunRecord) == L"-" ? L"-" : L"record");
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        m_printer.m_keys[L"printerdriverdata"].values.clear();
        const DWORD admin = c.before;
        if (c.before != 99) m_printer.PutValue(CZQMemoryPrinter::kRootKey, zs::kAlwaysExport, REG_DWORD, &admin, 4);
        m_printer.PutValue(CZQMemoryPrinter::kRootKey, zs::kExportTicketLocation, REG_BINARY, "admin", 5);
        if (c.deadRun) {
            // What the dead run set, and its record of what the printer held before.
            zqxr::ExportRecord record = {};
            std::memcpy(record.run, &dead, sizeof dead);
            record.processId = 999999;
            record.values[0] = {true, REG_DWORD, 4, {7}};
            record.values[1] = {true, REG_BINARY, 5, {'a', 'd', 'm', 'i', 'n'}};
            std::vector<BYTE> bytes(zqxr::RecordSize(record));
            zqxr::Write(record, bytes.data(), bytes.size());
            m_printer.PutValue(CZQMemoryPrinter::kRootKey, zs::kExportRunRecord, REG_BINARY, bytes.data(),
                               static_cast<DWORD>(bytes.size()));
            const DWORD on = 1;
            m_printer.PutValue(CZQMemoryPrinter::kRootKey, zs::kAlwaysExport, REG_DWORD, &on, 4);
            m_printer.PutValue(CZQMemoryPrinter::kRootKey, zs::kExportTicketLocation, REG_BINARY, "dead", 4);
        }
        CZQOndrel converter;
        converter.VSetPrinterName(kPrinter);
        converter.VSetTicketPath(ticket.c_str());
        converter.VSetDMCPath(m_dmc.c_str());
        converter.VSetConvertDevMode(TRUE);
        // Refused once, or (keeps refusing) until the run's end.
        const bool keeps = std::wcscmp(c.retried, c.first) != 0;
        if (c.call != MemCall::Count) m_printer.FailCall(c.call, ERROR_ACCESS_DENIED, keeps ? -1 : 1, c.after);
        g_documentResult = c.document;
        std::vector<BYTE> buffer(kDriverSize, 0);
        auto* dm = reinterpret_cast<DEVMODEW*>(buffer.data());
        dm->dmSize = sizeof(DEVMODEW);
        dm->dmDriverExtra = static_cast<WORD>(kDriverSize - sizeof(DEVMODEW));
        const BOOL set = converter.BSetRunFlags(GUID_NULL);
        EXPECT_EQ(c.set, set != FALSE);
        EXPECT_TRUE(set || GetLastError() != 0) << "a failure without its reason";
        if (set) {
            EXPECT_EQ(c.document == IDOK, converter.BCallDocProperties(dm, GUID_NULL) != FALSE);
        }
        converter.VClearRunFlags(GUID_NULL);
        EXPECT_EQ(c.first, switches());
        EXPECT_EQ(keeps, converter.BExportPending() != FALSE);
        EXPECT_FALSE(zqconvtest::KeyExists(zqconvtest::RunKey(nullptr)));
        m_printer.FailCall(c.call == MemCall::Count ? MemCall::GetPrinterData : c.call, 0, 0);
        converter.VClearRunFlags(GUID_NULL);
        EXPECT_EQ(c.retried, switches());
        m_printer.FailCall(c.call == MemCall::Count ? MemCall::GetPrinterData : c.call, 0, 0);
    }
}

// Each read, write and delete of the restore refused in turn, with "AlwaysExport" set or missing
// before the run: the run's end puts the switches back as they were, record gone.
TEST_F(Converter, EachRestoreCallRefusedInTurnLeavesTheSwitchesAsTheyWere) {
    const std::wstring ticket = Ticket("Printing/Duplex=LongEdge\n");
    const MemCall kinds[] = {MemCall::GetPrinterData,  MemCall::GetPrinterDataEx,    MemCall::SetPrinterData,
                             MemCall::SetPrinterDataEx, MemCall::DeletePrinterData, MemCall::DeletePrinterDataEx};
    for (const DWORD before : {7u, 99u}) {
        // One convert-devmode run whose restore has the kind's call at that index refused once (-1:
        // none); the restore's calls of each kind are counted. The switches and the record after it.
        int counts[6] = {};
        auto run = [&](size_t kind, int index) {
            m_printer.m_keys[L"printerdriverdata"].values.clear();
            if (before != 99) m_printer.PutValue(CZQMemoryPrinter::kRootKey, zs::kAlwaysExport, REG_DWORD, &before, 4);
            m_printer.PutValue(CZQMemoryPrinter::kRootKey, zs::kExportTicketLocation, REG_BINARY, "admin", 5);
            CZQOndrel converter(kPrinter, ticket.c_str(), m_dmc.c_str(), 1);
            converter.VSetConvertDevMode(TRUE);
            EXPECT_TRUE(converter.BSetRunFlags(kRun));
            for (int k = 0; k < 6; ++k) counts[k] = -m_printer.CallCount(kinds[k]);
            m_printer.FailCall(kinds[kind], ERROR_ACCESS_DENIED, index < 0 ? 0 : 1, index);
            converter.VClearRunFlags(kRun);
            m_printer.FailCall(kinds[kind], 0, 0);
            for (int k = 0; k < 6; ++k) counts[k] += m_printer.CallCount(kinds[k]);
            EXPECT_FALSE(converter.BExportPending());
            return Root(zs::kAlwaysExport) + L" " + Root(zs::kExportTicketLocation) + L" " + Root(zs::kExportRunRecord);
        };
        const std::wstring as = run(0, -1);
        EXPECT_EQ((before == 99 ? L"-" : std::to_wstring(before)) + L" admin -", as);
        const std::vector<int> calls(counts, counts + 6);
        for (size_t k = 0; k < 6; ++k)
            for (int index = 0; index < calls[k]; ++index)
                EXPECT_EQ(as, run(k, index)) << "before " << before << ", kind " << k << ", call " << index;
        EXPECT_GE(calls[0] + calls[1], 1) << "a read";
        EXPECT_GE(calls[4] + calls[5], 1) << "a delete";
    }
}

// A ticket is stored whole or not at all: when the run's key or one of its snapshot keys cannot be
// written, the flags fail (and none is left) or the read fails (and no item is left).
TEST_F(Converter, ATicketThatCannotBeStoredWholeLeavesNothing) {
    const std::wstring ticket =
        Ticket("Printing/PaperSize=A4\nPrinting/DuplexEdge=LongEdge\nPhysical/Memory=64\n");
    const std::wstring run = RunKey(kRun);
    for (const wchar_t* protectedKey : {L"", zs::kOndrelOptItems, zs::kOndrelDevModeItems, zs::kOndrelPhysical}) {
        SCOPED_TRACE(protectedKey);
        RegDeleteTreeW(HKEY_CURRENT_USER, run.c_str());
        ASSERT_TRUE(zqconvtest::ProtectKey(*protectedKey ? run + L"\\" + protectedKey : run, *protectedKey != 0));
        CZQOndrel converter(kPrinter, ticket.c_str(), m_dmc.c_str(), 1);
        const bool flags = converter.BSetRunFlags(kRun) != FALSE;
        EXPECT_EQ(*protectedKey != 0, flags);
        if (flags) {
            EXPECT_FALSE(converter.BDMCReadCfgVal(kRun));
        }
        for (const wchar_t* key : {zs::kOndrelOptItems, zs::kOndrelDevModeItems, zs::kOndrelPhysical})
            for (const wchar_t* item : {L"PaperSize", L"DuplexEdge", L"Memory"})
                EXPECT_EQ(L"-", RegText(run + L"\\" + key, item)) << key;
        if (!flags) {
            EXPECT_EQ(L"-", RegText(run, L"ProcessingOndrel"));
        }
        converter.VClearRunFlags(kRun);
    }
}

// Three levels are read, a name without a value of its own does not end its siblings, and nothing
// deeper is read; "Printing" items are filed by the devmode-item list, the print quality with them.
TEST_F(Converter, TheTicketIsReadThreeLevelsDeep) {
    const std::wstring ticket = Ticket("Printing/Duplex=LongEdge\n"
                                       "Printing/Orientation=Landscape\n"
                                       "Printing/PrintQuality=Best\n"
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
        {zs::kOndrelOptItems, L"Duplex", L"LongEdge"},   {zs::kOndrelDevModeItems, L"Orientation", L"Landscape"},
        {zs::kOndrelDevModeItems, L"PrintQuality", L"Best"}, {zs::kOndrelOptItems, L"Stapling", L"TopLeft"},
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
// convert-devmode run; never a document sheet the driver would not know as the run's (no one would
// answer it).
TEST_F(Converter, TheDriverIsCalledForWhatTheRunHolds) {
    const struct {
        BOOL convert;
        bool printing, physical, flagged;
        const char* calls;
        BOOL result;
    } cases[] = {
        {FALSE, false, false, true, "", FALSE},         {FALSE, true, false, true, "document ", TRUE},
        {FALSE, false, true, true, "printer ", TRUE},   {FALSE, true, true, true, "printer document ", TRUE},
        {TRUE, false, false, true, "printer document ", TRUE}, {FALSE, true, false, false, "", FALSE},
    };
    const std::wstring run = zqconvtest::RunKey(nullptr);
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        RegDeleteTreeW(HKEY_CURRENT_USER, run.c_str());
        CZQOndrel converter;
        converter.VSetPrinterName(kPrinter);
        converter.VSetConvertDevMode(c.convert);
        if (c.printing) converter.BStoreSnapshotValue(L"Printing", L"Duplex", L"LongEdge", nullptr, run.c_str());
        if (c.physical) converter.BStoreSnapshotValue(L"Physical", L"Memory", L"64", nullptr, run.c_str());
        if (c.flagged) converter.BSetRegString(run.c_str(), L"ProcessingOndrel", L"TRUE");
        std::vector<BYTE> buffer(kDriverSize, 0);
        auto* dm = reinterpret_cast<DEVMODEW*>(buffer.data());
        dm->dmSize = sizeof(DEVMODEW);
        dm->dmDriverExtra = static_cast<WORD>(kDriverSize - sizeof(DEVMODEW));
        g_calls.clear();
        EXPECT_EQ(c.result, converter.BCallDocProperties(dm, GUID_NULL));
        EXPECT_EQ(c.calls, g_calls);
    }
}

}  // namespace
