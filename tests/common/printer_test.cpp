// Printer, driver, job and printer-data helpers against the in-memory printer.
#include <gtest/gtest.h>

#include <string>

#include "commontest.h"
#include "common/zqcommon.h"
#include "common/zqhandles.h"

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
    // No probe value stays behind; what the probe wrote is the per-user GUID the printer lacked.
    EXPECT_FALSE(m_printer.GetValue(CZQMemoryPrinter::kRootKey, L"ZQDUMMY", nullptr, nullptr));
    EXPECT_TRUE(m_printer.GetValue(L"ZQPresetRoot", L"ZQRestrictedUserGuid", nullptr, nullptr));

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

}  // namespace
