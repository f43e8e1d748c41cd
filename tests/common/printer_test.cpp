// Printer, driver, job and printer-data helpers against the in-memory printer.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "commontest.h"
#include "common/zqcommon.h"
#include "common/zqhandles.h"
#include "common/zqprinterdata.h"
#include "platform/zqprinterview.h"

namespace {

using zqspool::CZQMemoryPrinter;
using zqspool::MemCall;

class PrinterHelpers : public ::testing::Test {
protected:
    void SetUp() override {
        m_printer.Install();
        m_h = m_printer.Open();
    }
    void TearDown() override { zqspool::Spooler().ClosePrinter(m_h); }

    CZQMemoryPrinter m_printer;
    HANDLE m_h = nullptr;
};

// One step of a view's table: what comes before, the read and what it sees, and how many spooler
// calls of a kind it makes.
struct ViewStep {
    const char* what;
    std::function<void()> before;
    std::function<std::wstring()> read;
    std::wstring seen;
    int asked;
    MemCall kind;
};
void RunViewSteps(CZQMemoryPrinter& printer, const std::vector<ViewStep>& steps) {
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        if (step.before) step.before();
        const int calls = printer.CallCount(step.kind);
        EXPECT_EQ(step.seen, step.read());
        EXPECT_EQ(step.asked, printer.CallCount(step.kind) - calls);
    }
}

TEST_F(PrinterHelpers, PrinterAndDriverRecords) {
    CZQLocalPtr<PRINTER_INFO_2W> info;
    ASSERT_TRUE(CZQCommon::BGetPrinterInfo2(m_h, nullptr, nullptr, info.Put()));
    EXPECT_STREQ(L"ZQ Memory Printer", info.Get()->pPrinterName);

    // By name: opened for the call and closed again.
    const size_t open = m_printer.m_handles.size();
    ASSERT_TRUE(CZQCommon::BGetPrinterInfo2(nullptr, L"ZQ Memory Printer", nullptr, info.Put()));
    EXPECT_STREQ(L"USB001", info.Get()->pPortName);
    EXPECT_EQ(open, m_printer.m_handles.size());
    CZQLocalPtr<DRIVER_INFO_3W> driver;
    ASSERT_TRUE(CZQCommon::BGetPrinterDriverInfo(nullptr, L"ZQ Memory Printer", nullptr, driver.Put()));
    EXPECT_STREQ(L"ZQ Memory Driver", driver.Get()->pName);
    EXPECT_FALSE(CZQCommon::BGetPrinterInfo2(nullptr, L"No Such Printer", nullptr, info.Put()));
    EXPECT_EQ(nullptr, info.Get());

    // A restricted user still reads what everyone may read.
    m_printer.SetRestrictedUser(true);
    EXPECT_TRUE(CZQCommon::BGetPrinterInfo2(nullptr, L"ZQ Memory Printer", nullptr, info.Put()));
    EXPECT_EQ(open, m_printer.m_handles.size());

    PWSTR name = nullptr;
    ASSERT_TRUE(CZQCommon::BGetPrinterName(m_h, &name));
    EXPECT_STREQ(L"ZQ Memory Printer", name);
    LocalFree(name);
    EXPECT_TRUE(CZQCommon::BIsLocalPrinter(m_h));
    m_printer.Identity().server = L"\\\\server";
    EXPECT_FALSE(CZQCommon::BIsLocalPrinter(m_h));
    EXPECT_FALSE(CZQCommon::BIsLocalPrinter(nullptr));

    ASSERT_TRUE(CZQCommon::BGetDriverInfo3(m_h, driver.Put()));
    EXPECT_STREQ(L"Windows x64", driver.Get()->pEnvironment);
    m_printer.FailCall(MemCall::GetPrinterDriver, ERROR_NOT_ENOUGH_MEMORY, 1);
    EXPECT_FALSE(CZQCommon::BGetDriverInfo3(m_h, driver.Put()));
    EXPECT_EQ(nullptr, driver.Get());
}

TEST_F(PrinterHelpers, DriverFilesAndKeys) {
    PWSTR path = nullptr;
    ASSERT_TRUE(CZQCommon::BGetDriverDirFile(m_h, &path, L"zqwarnmod.dll"));
    EXPECT_STREQ(L"C:\\windows\\system32\\spool\\drivers\\x64\\3\\zqwarnmod.dll", path);
    LocalFree(path);
    ASSERT_TRUE(CZQCommon::BGetDriverDirFile(m_h, &path, nullptr));
    EXPECT_STREQ(L"C:\\windows\\system32\\spool\\drivers\\x64\\3", path);
    LocalFree(path);
    EXPECT_FALSE(CZQCommon::BGetDriverDirFile(nullptr, &path, L"x"));
    EXPECT_EQ(nullptr, path);

    ASSERT_TRUE(CZQCommon::BGetDriverKeyPath(m_h, L"Other Driver", &path));
    EXPECT_STREQ(L"SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64\\Drivers\\version-3\\Other Driver",
                 path);
    LocalFree(path);
    ASSERT_TRUE(CZQCommon::BGetDriverKeyPath(m_h, nullptr, &path));
    EXPECT_NE(nullptr, wcsstr(path, L"\\version-3\\ZQ Memory Driver"));
    LocalFree(path);

    ASSERT_TRUE(CZQCommon::BGetHelpFilePath(m_h, &path));
    EXPECT_STREQ(L"C:\\windows\\system32\\spool\\drivers\\x64\\3\\zqhelp.chm", path);
    LocalFree(path);
    m_printer.Identity().helpFile.clear();
    EXPECT_FALSE(CZQCommon::BGetHelpFilePath(m_h, &path));
    EXPECT_EQ(nullptr, path);
}

TEST_F(PrinterHelpers, PortKinds) {
    const struct {
        const wchar_t* port;
        int kind;
    } cases[] = {{L"LPT1:", 1}, {L"lpt2:", 2}, {L"LPT3:", 3}, {L"USB001", 4}, {L"Dot4_001", 5},
                 {L"FILE:", 6}, {L"C:\\out.prn", 8}, {L"IP_10.0.0.1", 0}, {L"COM1:", 0}};
    for (const auto& c : cases) {
        m_printer.Identity().port = c.port;
        EXPECT_EQ(c.kind, CZQCommon::IGetPortKind(m_h)) << c.port;
    }
    EXPECT_EQ(0, CZQCommon::IGetPortKind(nullptr));
}

TEST_F(PrinterHelpers, JobsAndTheirDataTypes) {
    const struct {
        DWORD id;
        const wchar_t* type;
        BOOL raw;
    } cases[] = {{1, L"RAW", TRUE}, {2, L"raw [FF appended]", TRUE}, {3, L"text", TRUE},
                 {4, L"NT EMF 1.008", FALSE}, {5, L"TEXTX", FALSE}};
    for (const auto& c : cases) {
        zqspool::MemJob job;
        job.id = c.id;
        job.datatype = c.type;
        m_printer.AddJob(job);
        EXPECT_EQ(c.raw, CZQCommon::BIsRawOrTextJob(m_h, c.id)) << c.type;
    }
    EXPECT_FALSE(CZQCommon::BIsRawOrTextJob(m_h, 99));
    CZQLocalPtr<JOB_INFO_2W> job;
    ASSERT_TRUE(CZQCommon::BGetJobInfo2(m_h, 4, job.Put()));
    EXPECT_EQ(4u, job.Get()->JobId);
}

TEST_F(PrinterHelpers, FormSizes) {
    DEVMODEW dm = {};
    dm.dmSize = sizeof dm;
    dm.dmPaperWidth = 1111;
    dm.dmPaperLength = 2222;
    LONG w = 0, l = 0;
    // No forms to read: the devmode's size, FALSE.
    EXPECT_FALSE(CZQCommon::BGetFormSize(m_h, &dm, 1, &w, &l));
    EXPECT_EQ(1111, w);
    EXPECT_EQ(2222, l);
    m_printer.AddForm(L"Letter", 215900, 279400);
    m_printer.AddForm(L"Letter Small", 215900, 279400);
    m_printer.AddForm(L"Tabloid", 279400, 431800);
    EXPECT_TRUE(CZQCommon::BGetFormSize(m_h, &dm, 3, &w, &l));
    EXPECT_EQ(2794, w);
    EXPECT_EQ(4318, l);
    // A paper number beyond the forms: the devmode's size, still TRUE.
    EXPECT_TRUE(CZQCommon::BGetFormSize(m_h, &dm, 9, &w, &l));
    EXPECT_EQ(1111, w);
    m_printer.FailCall(MemCall::EnumForms, ERROR_ACCESS_DENIED, 1);
    EXPECT_FALSE(CZQCommon::BGetFormSize(m_h, &dm, 3, &w, &l));
    EXPECT_EQ(1111, w);
}

TEST_F(PrinterHelpers, EmbeddedWebServerAddress) {
    EXPECT_FALSE(CZQCommon::BHasEwsAddress(m_h));
    const struct {
        const wchar_t* value;
        BOOL has;
    } cases[] = {{L"10.0.0.7,0", TRUE}, {L"printer.example,1", TRUE}, {L"10.0.0.7,2", FALSE},
                 {L"10.0.0.7", FALSE},  {L"10.0.0.7,", FALSE}};
    for (const auto& c : cases) {
        m_printer.PutString(CZQMemoryPrinter::kRootKey, L"ZQEWSIPAddress", c.value);
        EXPECT_EQ(c.has, CZQCommon::BHasEwsAddress(m_h)) << c.value;
    }
    m_printer.PutValue(CZQMemoryPrinter::kRootKey, L"ZQEWSIPAddress", REG_EXPAND_SZ, L"10.0.0.7,0", 22);
    EXPECT_FALSE(CZQCommon::BHasEwsAddress(m_h)) << "a text only as REG_SZ";
}

TEST_F(PrinterHelpers, ReadOnlyPrinterData) {
    HANDLE h = nullptr;
    BOOL reopened = TRUE;
    // An administrator's handle writes.
    EXPECT_FALSE(CZQCommon::BIsPrinterDataReadOnly(m_h, L"ZQ Memory Printer", nullptr, &h, &reopened));
    EXPECT_EQ(m_h, h);
    EXPECT_FALSE(reopened);
    // The test write is REG_DWORD 0 as "ZQDUMMY"; the per-user GUID is not made here.
    DWORD type = 0;
    std::vector<BYTE> data;
    ASSERT_TRUE(m_printer.GetValue(CZQMemoryPrinter::kRootKey, L"ZQDUMMY", &type, &data));
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), type);
    EXPECT_EQ(std::vector<BYTE>(4, 0), data);
    EXPECT_FALSE(m_printer.GetValue(L"ZQPresetRoot", L"ZQRestrictedUserGuid", nullptr, nullptr));

    // A handle for use only: reopened with full access, which writes.
    HANDLE hUse = m_printer.Open(PRINTER_ACCESS_USE);
    EXPECT_FALSE(CZQCommon::BIsPrinterDataReadOnly(hUse, L"ZQ Memory Printer", nullptr, &h, &reopened));
    EXPECT_TRUE(reopened);
    EXPECT_NE(hUse, h);
    zqspool::Spooler().ClosePrinter(h);

    // A restricted user cannot reopen: read-only, with the handle passed in.
    m_printer.SetRestrictedUser(true);
    EXPECT_TRUE(CZQCommon::BIsPrinterDataReadOnly(hUse, L"ZQ Memory Printer", nullptr, &h, &reopened));
    EXPECT_EQ(hUse, h);
    EXPECT_FALSE(reopened);
    m_printer.SetRestrictedUser(false);

    // Read-only printer data: even the reopened handle is refused; the caller closes it.
    m_printer.SetReadOnly(true);
    EXPECT_TRUE(CZQCommon::BIsPrinterDataReadOnly(hUse, L"ZQ Memory Printer", nullptr, &h, &reopened));
    EXPECT_TRUE(reopened);
    const size_t before = m_printer.m_handles.size();
    zqspool::Spooler().ClosePrinter(h);
    EXPECT_EQ(before - 1, m_printer.m_handles.size());
    zqspool::Spooler().ClosePrinter(hUse);
}

TEST_F(PrinterHelpers, GuardedPrinterDataRead) {
    const DWORD v = 42;
    m_printer.PutValue(L"ZQPresetRoot", L"Count", REG_DWORD, &v, sizeof v);
    DWORD out = 0;
    int guard = 0;
    SetLastError(0);
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE),
              CZQCommon::DWGetPrinterDataEx(m_h, nullptr, &guard, L"ZQPresetRoot", L"Count", sizeof out,
                                            reinterpret_cast<BYTE*>(&out)));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_DATA), GetLastError());
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS),
              CZQCommon::DWGetPrinterDataEx(m_h, &guard, &guard, L"ZQPresetRoot", L"Count", sizeof out,
                                            reinterpret_cast<BYTE*>(&out)));
    EXPECT_EQ(42u, out);
    EXPECT_EQ(static_cast<DWORD>(ERROR_MORE_DATA),
              CZQCommon::DWGetPrinterDataEx(m_h, &guard, &guard, L"ZQPresetRoot", L"Count", 2,
                                            reinterpret_cast<BYTE*>(&out)));
}

}  // namespace

namespace {

TEST_F(PrinterHelpers, RestrictedUserGuidMustBeAGuid) {
    WCHAR guid[CZQCommon::kGuidTextChars];
    EXPECT_FALSE(CZQCommon::BReadRestrictedUserGuid(m_h, guid));
    EXPECT_STREQ(L"", guid);
    const std::wstring good = L"{0F1E2D3C-4B5A-6978-8796-a5b4c3d2e1f0}";
    m_printer.PutString(L"ZQPresetRoot", L"ZQRestrictedUserGuid", good);
    ASSERT_TRUE(CZQCommon::BReadRestrictedUserGuid(m_h, guid));
    EXPECT_EQ(good, guid);
    // Stored without its terminator (76 bytes): still the GUID.
    m_printer.PutValue(L"ZQPresetRoot", L"ZQRestrictedUserGuid", REG_SZ, good.c_str(), 76);
    ASSERT_TRUE(CZQCommon::BReadRestrictedUserGuid(m_h, guid));
    EXPECT_EQ(good, guid);
    // Only as a text.
    m_printer.PutValue(L"ZQPresetRoot", L"ZQRestrictedUserGuid", REG_BINARY, good.c_str(), 78);
    EXPECT_FALSE(CZQCommon::BReadRestrictedUserGuid(m_h, guid));
    // Anything else would become part of a registry path.
    for (const wchar_t* bad : {L"..\\..\\Software\\Other", L"{0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F}",
                               L"{0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0}x", L"{0F1E2D3C\\4B5A-6978-8796-A5B4C3D2E1F0}",
                               L""}) {
        m_printer.PutString(L"ZQPresetRoot", L"ZQRestrictedUserGuid", bad);
        EXPECT_FALSE(CZQCommon::BReadRestrictedUserGuid(m_h, guid)) << bad;
        EXPECT_STREQ(L"", guid);
    }
    EXPECT_FALSE(CZQCommon::BReadRestrictedUserGuid(nullptr, guid));
}

// A sheet's view of the printer's data: a value, a value list and a key list asked of the spooler
// once and then answered as the spooler would; a write through the plug-in (any handle) makes the
// next read ask again; reads before a store's write, another handle's and a failed read pass it by.
TEST_F(PrinterHelpers, ASheetsViewAsksTheSpoolerOncePerValue) {
    m_printer.PutString(L"Key", L"Text", L"held");
    m_printer.PutString(L"Key\\Sub", L"Other", L"x");
    const HANDLE other = m_printer.Open();
    zqspool::CZQPrinterDataView view;
    view.Open(m_h);
    auto text = [](HANDLE h) {
        DWORD type = 0, cb = 0;
        CZQLocalPtr<BYTE> data;
        const DWORD rc = ZQReadStoredValue(h, L"Key", L"Text", &type, data, &cb);
        return rc == ERROR_SUCCESS ? std::wstring(reinterpret_cast<PCWSTR>(data.Get())) : std::to_wstring(rc);
    };
    auto listed = [](HANDLE h) {
        DWORD needed = 0, count = 0;
        zqspool::Spooler().EnumPrinterDataExW(h, L"Key", nullptr, 0, &needed, &count);
        std::vector<BYTE> buffer(needed);
        if (zqspool::Spooler().EnumPrinterDataExW(h, L"Key", buffer.data(), needed, &needed, &count)) return std::wstring();
        const auto* e = reinterpret_cast<const PRINTER_ENUM_VALUESW*>(buffer.data());
        return count ? std::wstring(e[0].pValueName) + L"=" + reinterpret_cast<PCWSTR>(e[0].pData) : std::wstring();
    };
    auto keys = [](HANDLE h) {
        DWORD needed = 0;
        zqspool::Spooler().EnumPrinterKeyW(h, L"Key", nullptr, 0, &needed);
        std::vector<WCHAR> buffer(needed / sizeof(WCHAR) + 1);
        return zqspool::Spooler().EnumPrinterKeyW(h, L"Key", buffer.data(), needed, &needed) ? std::wstring()
                                                                                           : std::wstring(buffer.data());
    };
    auto write = [](HANDLE h, PCWSTR text) {
        zqspool::Spooler().SetPrinterDataExW(h, L"Key", L"Text", REG_SZ, (BYTE*)text,
                                             DWORD((wcslen(text) + 1) * sizeof(WCHAR)));
    };
    // Spooler calls of the kind the reads make: a size query and a read without the view, a list's
    // size and data, a fitting value in one call.
    RunViewSteps(m_printer, {
        {"a first read asks", nullptr, [&] { return text(m_h); }, L"held", 1, MemCall::GetPrinterDataEx},
        {"a later one does not", [&] { m_printer.PutString(L"Key", L"Text", L"behind"); }, [&] { return text(m_h); },
         L"held", 0, MemCall::GetPrinterDataEx},
        {"another handle asks", nullptr, [&] { return text(other); }, L"behind", 2, MemCall::GetPrinterDataEx},
        {"a store's read asks", nullptr, [&] { zqspool::CZQStoredNow now; return text(m_h); }, L"behind", 2,
         MemCall::GetPrinterDataEx},
        {"a write through another handle is read again", [&] { write(other, L"mine"); }, [&] { return text(m_h); },
         L"mine", 1, MemCall::GetPrinterDataEx},
        {"a failed read is not kept", [&] {
             write(m_h, L"mine");
             m_printer.FailCall(MemCall::GetPrinterDataEx, RPC_S_SERVER_UNAVAILABLE, 1);
         },
         [&] {
             const std::wstring first = text(m_h);
             return first + L"," + text(m_h);
         }, L"1722,mine", 2, MemCall::GetPrinterDataEx},
        {"a list once", nullptr, [&] {
             const std::wstring first = listed(m_h);
             return first + L"," + listed(m_h);
         }, L"Text=mine,Text=mine", 2,
         MemCall::EnumPrinterDataEx},
        {"a list again after a write", [&] { write(m_h, L"new"); }, [&] { return listed(m_h); }, L"Text=new", 2,
         MemCall::EnumPrinterDataEx},
        {"subkeys once", nullptr, [&] {
             const std::wstring first = keys(m_h);
             return first + L"," + keys(m_h);
         }, L"Sub,Sub", 2,
         MemCall::EnumPrinterKey},
        {"everything again after a refresh", [&] {
             m_printer.PutString(L"Key", L"Text", L"fresh");
             view.Refresh();
         }, [&] { return text(m_h); }, L"fresh", 1, MemCall::GetPrinterDataEx},
        {"nothing kept once closed", [&] {
             view.Close();
             m_printer.PutString(L"Key", L"Text", L"closed");
         }, [&] { return text(m_h); }, L"closed", 2, MemCall::GetPrinterDataEx},
    });
    zqspool::Spooler().ClosePrinter(other);
}

// A sheet's view answers the driver record (levels 1 and 3, from one level-3 read) and the printer
// record of its handle from one read each, whole and pointing into the caller's copy; a failed read
// is not kept; a SetPrinter through the plug-in, a refresh ("Update Now") and closing the handle make
// the next read ask again; another handle asks the spooler.
TEST_F(PrinterHelpers, ASheetsViewReadsThePrinterAndDriverRecordsOnce) {
    const HANDLE other = m_printer.Open();
    zqspool::CZQPrinterDataView view;
    view.Open(m_h);
    // What each record names, and that each of its texts lies in the block handed out.
    auto within = [](const void* block, size_t cb, PCWSTR text) {
        const BYTE* p = reinterpret_cast<const BYTE*>(text);
        return p >= static_cast<const BYTE*>(block) && p < static_cast<const BYTE*>(block) + cb;
    };
    auto driver = [&](HANDLE h) {
        CZQLocalPtr<DRIVER_INFO_3W> info;
        if (!CZQCommon::BGetDriverInfo3(h, info.Put())) return std::to_wstring(GetLastError());
        const DRIVER_INFO_3W& d = *info.Get();
        const size_t cb = LocalSize(info.Get());
        for (PCWSTR text : {d.pName, d.pEnvironment, d.pDriverPath, d.pDataFile, d.pConfigFile, d.pHelpFile})
            if (text && !within(info.Get(), cb, text)) return std::wstring(L"outside");
        return std::wstring(d.pName) + L"|" + d.pHelpFile;
    };
    auto name = [&](HANDLE h) {
        DWORD needed = 0;
        zqspool::Spooler().GetPrinterDriverW(h, nullptr, 1, nullptr, 0, &needed);
        std::vector<BYTE> buffer(needed);
        if (!needed || !zqspool::Spooler().GetPrinterDriverW(h, nullptr, 1, buffer.data(), needed, &needed))
            return std::to_wstring(GetLastError());
        PCWSTR text = reinterpret_cast<const DRIVER_INFO_1W*>(buffer.data())->pName;
        return within(buffer.data(), needed, text) ? std::wstring(text) : std::wstring(L"outside");
    };
    auto printer = [&](HANDLE h) {
        CZQLocalPtr<PRINTER_INFO_2W> info;
        if (!CZQCommon::BGetPrinterInfo2(h, nullptr, nullptr, info.Put())) return std::to_wstring(GetLastError());
        const PRINTER_INFO_2W& p = *info.Get();
        const size_t cb = LocalSize(info.Get());
        if (!within(info.Get(), cb, p.pPrinterName) || !within(info.Get(), cb, p.pPortName)) return std::wstring(L"outside");
        return std::wstring(p.pPrinterName) + L"|" + p.pPortName + L"|" + p.pPrintProcessor;
    };
    auto setProcessor = [&](PCWSTR processor) {
        PRINTER_INFO_2W info = {};
        info.pPrintProcessor = const_cast<PWSTR>(processor);
        return zqspool::Spooler().SetPrinterW(m_h, 2, reinterpret_cast<BYTE*>(&info), 0);
    };
    m_printer.Identity().installedPrintProcessors.push_back(L"ZQProc");
    // Spooler calls of the record's kind: a size query and a read, or none.
    RunViewSteps(m_printer, {
        {"a first driver read asks", nullptr, [&] { return driver(m_h); }, L"ZQ Memory Driver|" + std::wstring(L"C:\\windows\\system32\\spool\\drivers\\x64\\3\\zqhelp.chm"), 2, MemCall::GetPrinterDriver},
        {"the name and the record again do not",
         [&] { m_printer.Identity().driverName = L"Renamed"; },
         [&] { return name(m_h) + L"," + driver(m_h).substr(0, 16); }, L"ZQ Memory Driver,ZQ Memory Driver", 0,
         MemCall::GetPrinterDriver},
        {"another handle asks", nullptr, [&] { return name(other); }, L"Renamed", 2, MemCall::GetPrinterDriver},
        {"a first printer read asks", nullptr, [&] { return printer(m_h); }, L"ZQ Memory Printer|USB001|WinPrint", 2,
         MemCall::GetPrinter},
        {"a later one does not", [&] { m_printer.Identity().port = L"LPT1:"; }, [&] { return printer(m_h); },
         L"ZQ Memory Printer|USB001|WinPrint", 0, MemCall::GetPrinter},
        {"a SetPrinter through the plug-in reads it again", [&] { ASSERT_TRUE(setProcessor(L"ZQProc")); },
         [&] { return printer(m_h); }, L"ZQ Memory Printer|LPT1:|ZQProc", 2, MemCall::GetPrinter},
        {"and the driver record too", nullptr, [&] { return name(m_h); }, L"Renamed", 2, MemCall::GetPrinterDriver},
        {"a failed read is not kept", [&] {
             view.Refresh();
             m_printer.FailCall(MemCall::GetPrinterDriver, RPC_S_SERVER_UNAVAILABLE, 1);
         },
         [&] {
             const std::wstring first = name(m_h);
             return first + L"," + name(m_h);
         }, L"1722,Renamed", 3, MemCall::GetPrinterDriver},
        {"everything again after a refresh", [&] {
             m_printer.Identity().driverName = L"Fresh";
             view.Refresh();
         }, [&] { return name(m_h); }, L"Fresh", 2, MemCall::GetPrinterDriver},
        {"nothing answered for the handle once it is closed", [&] { zqspool::Spooler().ClosePrinter(m_h); },
         [&] { return name(m_h); }, std::to_wstring(ERROR_INVALID_HANDLE), 1, MemCall::GetPrinterDriver},
    });
    m_h = m_printer.Open();
    zqspool::Spooler().ClosePrinter(other);
}

// A group change writes only the values that differ from what is stored, and removes only what is there.
TEST_F(PrinterHelpers, AGroupChangeLeavesWhatHoldsAlready) {
    const DWORD one = 1, two = 2;
    m_printer.PutValue(L"Key", L"Same", REG_DWORD, &one, 4);
    m_printer.PutValue(L"Key", L"Changed", REG_DWORD, &one, 4);
    const struct {
        const char* what;
        ZQValueChange change;
        int writes, removals;
    } cases[] = {
        {"the same", {L"Key", L"Same", REG_DWORD, &one, 4, FALSE}, 0, 0},
        {"another type", {L"Key", L"Same", REG_BINARY, &one, 4, FALSE}, 1, 0},
        {"other bytes", {L"Key", L"Changed", REG_DWORD, &two, 4, FALSE}, 1, 0},
        {"a removal of nothing", {L"Key", L"Missing", REG_NONE, nullptr, 0, TRUE}, 0, 0},
        {"a removal", {L"Key", L"Changed", REG_NONE, nullptr, 0, TRUE}, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const int writes = m_printer.CallCount(MemCall::SetPrinterDataEx);
        const int removals = m_printer.CallCount(MemCall::DeletePrinterDataEx);
        EXPECT_TRUE(ZQChangeValuesTogether(m_h, &c.change, 1));
        EXPECT_EQ(c.writes, m_printer.CallCount(MemCall::SetPrinterDataEx) - writes);
        EXPECT_EQ(c.removals, m_printer.CallCount(MemCall::DeletePrinterDataEx) - removals);
    }
}

// What a read answered: its result, every out-parameter (0xA5A5A5A5 where it set none) and the
// bytes it wrote, a value list's entries by name, type and data (their pointers are the buffer's).
std::string Answered(DWORD rc, DWORD type, DWORD needed, DWORD count, const BYTE* pOut, DWORD cb, bool bEntries) {
    std::string s = std::to_string(rc) + " type " + std::to_string(type) + " needed " + std::to_string(needed) +
                    " count " + std::to_string(count) + ":";
    if (rc != ERROR_SUCCESS || !pOut) return s;
    if (!bEntries) {
        for (DWORD i = 0; i < needed && i < cb; ++i) s += " " + std::to_string(pOut[i]);
        return s;
    }
    const auto* e = reinterpret_cast<const PRINTER_ENUM_VALUESW*>(pOut);
    for (DWORD i = 0; i < count; ++i) {
        s += " [" + std::string(e[i].pValueName, e[i].pValueName + wcslen(e[i].pValueName)) + " " +
             std::to_string(e[i].dwType) + " " + std::to_string(e[i].cbValueName);
        for (DWORD j = 0; j < e[i].cbData; ++j) s += " " + std::to_string(e[i].pData[j]);
        s += "]";
    }
    return s;
}

// A differential run: after each write of a table made through the plug-in, every read of every
// kind, with no room, too little and enough, about keys present, absent, empty, made below an absent
// one and spelt otherwise, is asked through a sheet's view and of the spooler beneath, twice, and
// must be answered alike, out-parameters included.
TEST_F(PrinterHelpers, ASheetsViewAnswersAsTheSpoolerBeneath) {
    const BYTE text[] = {'x', 0, 0, 0};
    m_printer.PutValue(L"A", L"v", REG_SZ, text, 4);
    m_printer.PutValue(L"A", L"Zero", REG_BINARY, nullptr, 0);
    m_printer.PutValue(L"Empty", L"gone", REG_SZ, text, 4);
    ASSERT_EQ(ERROR_SUCCESS, zqspool::Spooler().DeletePrinterDataExW(m_h, L"Empty", L"gone"));
    zqspool::CZQPrinterDataView view;
    view.Open(m_h);
    // Taken with the view open: it answers through the view.
    const auto& sp = zqspool::Spooler();
    const PCWSTR keys[] = {L"A", L"a\\B", L"A\\B\\C", L"\\A\\\\b\\", L"Empty", L"PrinterDriverData", L"", nullptr,
                           L"New", L"New\\Deep"};
    const PCWSTR names[] = {L"v", L"ZERO", L"w", L"none"};
    const DWORD rooms[] = {0, 2, 4096};
    auto readAll = [&](bool beneath) {
        std::vector<std::string> seen;
        std::vector<BYTE> buffer(4096);
        for (const DWORD room : rooms)
            for (const bool none : {true, false}) {
                if (none && room) continue;
                BYTE* out = none ? nullptr : buffer.data();
                auto ask = [&](const std::function<DWORD(DWORD*, DWORD*, DWORD*)>& read, bool entries) {
                    std::fill(buffer.begin(), buffer.end(), BYTE{0x5A});
                    DWORD type = 0xA5A5A5A5, needed = 0xA5A5A5A5, count = 0xA5A5A5A5, rc = 0;
                    if (beneath) {
                        zqspool::CZQStoredNow now;
                        rc = read(&type, &needed, &count);
                    } else {
                        rc = read(&type, &needed, &count);
                    }
                    seen.push_back(Answered(rc, type, needed, count, out, room, entries));
                };
                for (const PCWSTR key : keys) {
                    for (const PCWSTR name : names)
                        ask([&](DWORD* t, DWORD* n, DWORD*) { return sp.GetPrinterDataExW(m_h, key, name, t, out, room, n); },
                            false);
                    ask([&](DWORD*, DWORD* n, DWORD* c) { return sp.EnumPrinterDataExW(m_h, key, out, room, n, c); }, true);
                    ask([&](DWORD*, DWORD* n, DWORD*) {
                        return sp.EnumPrinterKeyW(m_h, key, reinterpret_cast<LPWSTR>(out), room, n);
                    }, false);
                }
                for (const PCWSTR name : names)
                    ask([&](DWORD* t, DWORD* n, DWORD*) {
                        return sp.GetPrinterDataW(m_h, const_cast<LPWSTR>(name), t, out, room, n);
                    }, false);
            }
        return seen;
    };
    const struct {
        const char* what;
        std::function<void()> write;
    } writes[] = {
        {"as stored", nullptr},
        {"a key made below keys found absent",
         [&] { sp.SetPrinterDataExW(m_h, L"A\\B\\C", L"w", REG_SZ, const_cast<BYTE*>(text), 4); }},
        {"a value of 0 bytes at the root",
         [&] { sp.SetPrinterDataW(m_h, const_cast<LPWSTR>(L"Zero"), REG_BINARY, nullptr, 0); }},
        {"a value removed", [&] { sp.DeletePrinterDataExW(m_h, L"A", L"v"); }},
        {"a key spelt otherwise", [&] { sp.SetPrinterDataExW(m_h, L"\\a\\\\b\\", L"V", REG_SZ, const_cast<BYTE*>(text), 4); }},
        {"a tree removed", [&] { sp.DeletePrinterKeyW(m_h, L"A\\B"); }},
        {"a deep key made", [&] { sp.SetPrinterDataExW(m_h, L"New\\Deep", L"w", REG_BINARY, nullptr, 0); }},
    };
    for (const auto& w : writes) {
        SCOPED_TRACE(w.what);
        if (w.write) w.write();
        for (int round = 0; round < 2; ++round) {
            const std::vector<std::string> viewed = readAll(false), stored = readAll(true);
            ASSERT_EQ(stored.size(), viewed.size());
            for (size_t i = 0; i < stored.size(); ++i) EXPECT_EQ(stored[i], viewed[i]) << "read " << i;
        }
    }
}

}  // namespace
