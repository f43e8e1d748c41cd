// The spooler layer: the in-memory printer's semantics, the run-time table, and Wine's own spooler
// for what it serves.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commontest.h"
#include "common/zqcommon.h"
#include "common/zqhandles.h"
#include "common/zqlanguage.h"

namespace {

using zqspool::CZQMemoryPrinter;
using zqspool::MemCall;

std::vector<std::wstring> MultiSz(const WCHAR* p) {
    std::vector<std::wstring> out;
    for (; *p; p += wcslen(p) + 1) out.push_back(p);
    return out;
}

TEST(MemoryPrinter, KeysValuesAndRootData) {
    CZQMemoryPrinter printer;
    printer.Install();
    const auto& sp = zqspool::Spooler();
    HANDLE h = printer.Open();
    const DWORD one = 1;
    BYTE* data = reinterpret_cast<BYTE*>(const_cast<DWORD*>(&one));
    EXPECT_EQ(ERROR_SUCCESS, sp.SetPrinterDataExW(h, L"ZQPresetRoot\\PresetPoolData", L"Count", REG_DWORD, data, 4));
    EXPECT_EQ(ERROR_SUCCESS, sp.SetPrinterDataExW(h, L"ZQPresetRoot\\WatermarkPoolData", L"Count", REG_DWORD, data, 4));
    EXPECT_EQ(ERROR_SUCCESS, sp.SetPrinterDataExW(h, L"\\ZQPresetRoot\\", L"Top", REG_DWORD, data, 4));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), sp.SetPrinterDataExW(h, L"", L"x", REG_DWORD, data, 4));

    WCHAR keys[256];
    DWORD cb = 0;
    ASSERT_EQ(ERROR_SUCCESS, sp.EnumPrinterKeyW(h, L"zqpresetroot", keys, sizeof keys, &cb));
    EXPECT_EQ((std::vector<std::wstring>{L"PresetPoolData", L"WatermarkPoolData"}), MultiSz(keys));
    EXPECT_EQ(static_cast<DWORD>(ERROR_MORE_DATA), sp.EnumPrinterKeyW(h, L"ZQPresetRoot", keys, 4, &cb));

    // Values of one key, with their data.
    DWORD needed = 0, returned = 0;
    EXPECT_EQ(static_cast<DWORD>(ERROR_MORE_DATA), sp.EnumPrinterDataExW(h, L"ZQPresetRoot", nullptr, 0, &needed, &returned));
    std::vector<BYTE> buf(needed);
    ASSERT_EQ(ERROR_SUCCESS, sp.EnumPrinterDataExW(h, L"ZQPresetRoot", buf.data(), needed, &needed, &returned));
    ASSERT_EQ(1u, returned);
    const auto* ev = reinterpret_cast<const PRINTER_ENUM_VALUESW*>(buf.data());
    EXPECT_STREQ(L"Top", ev->pValueName);
    EXPECT_EQ(1u, *reinterpret_cast<const DWORD*>(ev->pData));

    // Root values live under "PrinterDriverData", as the spooler keeps them.
    EXPECT_EQ(ERROR_SUCCESS, sp.SetPrinterDataW(h, const_cast<PWSTR>(L"InstallationComplete"), REG_DWORD, data, 4));
    DWORD type = 0, value = 0;
    EXPECT_EQ(ERROR_SUCCESS, sp.GetPrinterDataExW(h, L"PrinterDriverData", L"InstallationComplete", &type,
                                                  reinterpret_cast<BYTE*>(&value), 4, &needed));
    EXPECT_EQ(1u, value);
    WCHAR name[64];
    DWORD cbName = 0, cbData = 0;
    EXPECT_EQ(ERROR_SUCCESS, sp.EnumPrinterDataW(h, 0, nullptr, 0, &cbName, &type, nullptr, 0, &cbData));
    EXPECT_EQ(sizeof(L"InstallationComplete"), cbName);
    EXPECT_EQ(ERROR_SUCCESS, sp.EnumPrinterDataW(h, 0, name, sizeof name, &cbName, &type,
                                                 reinterpret_cast<BYTE*>(&value), 4, &cbData));
    EXPECT_STREQ(L"InstallationComplete", name);
    EXPECT_EQ(static_cast<DWORD>(ERROR_NO_MORE_ITEMS),
              sp.EnumPrinterDataW(h, 1, name, sizeof name, &cbName, &type, reinterpret_cast<BYTE*>(&value), 4, &cbData));

    // Deleting a key takes its subtree.
    EXPECT_EQ(ERROR_SUCCESS, sp.DeletePrinterDataExW(h, L"ZQPresetRoot", L"Top"));
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), sp.DeletePrinterDataExW(h, L"ZQPresetRoot", L"Top"));
    EXPECT_EQ(ERROR_SUCCESS, sp.DeletePrinterKeyW(h, L"ZQPresetRoot"));
    EXPECT_FALSE(printer.HasKey(L"ZQPresetRoot\\PresetPoolData"));
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND),
              sp.GetPrinterDataExW(h, L"ZQPresetRoot\\PresetPoolData", L"Count", &type, nullptr, 0, &needed));
    sp.ClosePrinter(h);
}

TEST(MemoryPrinter, AccessModesAndInjectedFailures) {
    CZQMemoryPrinter printer;
    printer.Install();
    const auto& sp = zqspool::Spooler();
    DWORD v = 0;
    BYTE* data = reinterpret_cast<BYTE*>(&v);
    PRINTER_DEFAULTSW use = {nullptr, nullptr, PRINTER_ACCESS_USE};
    HANDLE hUse = nullptr;
    ASSERT_TRUE(sp.OpenPrinterW(const_cast<PWSTR>(L"zq memory printer"), &hUse, &use));
    EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), sp.SetPrinterDataW(hUse, const_cast<PWSTR>(L"a"), REG_DWORD, data, 4));
    HANDLE hAdmin = printer.Open();
    EXPECT_EQ(ERROR_SUCCESS, sp.SetPrinterDataW(hAdmin, const_cast<PWSTR>(L"a"), REG_DWORD, data, 4));
    printer.SetReadOnly(true);
    EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), sp.SetPrinterDataW(hAdmin, const_cast<PWSTR>(L"a"), REG_DWORD, data, 4));
    printer.SetReadOnly(false);
    printer.SetRestrictedUser(true);
    PRINTER_DEFAULTSW all = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE h = nullptr;
    EXPECT_FALSE(sp.OpenPrinterW(const_cast<PWSTR>(L"ZQ Memory Printer"), &h, &all));
    EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), GetLastError());
    printer.SetRestrictedUser(false);

    printer.FailCall(MemCall::GetPrinterData, ERROR_NOT_ENOUGH_MEMORY, 2);
    DWORD type, needed;
    EXPECT_EQ(static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY), sp.GetPrinterDataW(hAdmin, const_cast<PWSTR>(L"a"), &type, data, 4, &needed));
    EXPECT_EQ(static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY), sp.GetPrinterDataW(hAdmin, const_cast<PWSTR>(L"a"), &type, data, 4, &needed));
    EXPECT_EQ(ERROR_SUCCESS, sp.GetPrinterDataW(hAdmin, const_cast<PWSTR>(L"a"), &type, data, 4, &needed));
    EXPECT_EQ(3, printer.CallCount(MemCall::GetPrinterData));

    // Forms: added forms are user forms, kept in order.
    FORM_INFO_1W form = {0, const_cast<PWSTR>(L"Banner"), {210000, 900000}, {0, 0, 210000, 900000}};
    EXPECT_TRUE(sp.AddFormW(hAdmin, 1, reinterpret_cast<BYTE*>(&form)));
    EXPECT_FALSE(sp.AddFormW(hAdmin, 1, reinterpret_cast<BYTE*>(&form)));
    EXPECT_FALSE(sp.AddFormW(hUse, 1, reinterpret_cast<BYTE*>(&form)));
    BYTE buf[256];
    ASSERT_TRUE(sp.GetFormW(hAdmin, const_cast<PWSTR>(L"banner"), 1, buf, sizeof buf, &needed));
    EXPECT_EQ(static_cast<DWORD>(FORM_USER), reinterpret_cast<FORM_INFO_1W*>(buf)->Flags);
    EXPECT_TRUE(sp.DeleteFormW(hAdmin, const_cast<PWSTR>(L"Banner")));
    EXPECT_FALSE(sp.GetFormW(hAdmin, const_cast<PWSTR>(L"Banner"), 1, buf, sizeof buf, &needed));
    sp.ClosePrinter(hUse);
    sp.ClosePrinter(hAdmin);
    EXPECT_FALSE(sp.ClosePrinter(hAdmin));
}

TEST(SpoolerTable, MissingCallsAnswerNotImplemented) {
    const zqspool::SpoolerApi missing = zqspool::MissingSpooler();
    const zqspool::SpoolerApi* previous = zqspool::SetSpooler(&missing);
    const auto& sp = zqspool::Spooler();
    HANDLE h = nullptr;
    SetLastError(0);
    EXPECT_FALSE(sp.OpenPrinterW(const_cast<PWSTR>(L"x"), &h, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_CALL_NOT_IMPLEMENTED), GetLastError());
    EXPECT_EQ(static_cast<DWORD>(ERROR_CALL_NOT_IMPLEMENTED), sp.DeletePrinterKeyW(nullptr, L"k"));
    EXPECT_EQ(-1, sp.DeviceCapabilitiesW(L"x", nullptr, DC_PAPERS, nullptr, nullptr));
    EXPECT_EQ(-1, sp.DocumentPropertiesW(nullptr, nullptr, nullptr, nullptr, nullptr, 0));
    // The helpers report failure instead of crashing.
    PWSTR name = nullptr;
    EXPECT_FALSE(CZQCommon::BGetPrinterName(reinterpret_cast<HANDLE>(1), &name));
    zqspool::SetSpooler(previous);
    EXPECT_EQ(&zqspool::SystemSpooler(), &zqspool::Spooler());
}

// ---- Wine's own spooler, with a printer on its PostScript driver.
constexpr WCHAR kWinePrinter[] = L"ZQ Common Test Printer";
constexpr WCHAR kWineDriver[] = L"ZQ Common Test Driver";

class WineSpooler : public ::testing::Test {
protected:
    static void SetUpTestSuite() { zqtest::InstallWinePrinter(kWinePrinter, kWineDriver, L"zqhelp.hlp"); }

    void SetUp() override {
        PRINTER_DEFAULTSW all = {nullptr, nullptr, PRINTER_ALL_ACCESS};
        ASSERT_TRUE(zqspool::Spooler().OpenPrinterW(const_cast<PWSTR>(kWinePrinter), m_printer.Put(), &all));
    }

    CZQPrinterHandle m_printer;
};

TEST_F(WineSpooler, PrinterDriverAndPort) {
    PWSTR name = nullptr;
    ASSERT_TRUE(CZQCommon::BGetPrinterName(m_printer.Get(), &name));
    EXPECT_STREQ(kWinePrinter, name);
    LocalFree(name);
    EXPECT_TRUE(CZQCommon::BIsLocalPrinter(m_printer.Get()));
    EXPECT_EQ(6, CZQCommon::IGetPortKind(m_printer.Get()));
    PWSTR path = nullptr;
    ASSERT_TRUE(CZQCommon::BGetDriverKeyPath(m_printer.Get(), nullptr, &path));
    EXPECT_NE(nullptr, wcsstr(path, L"\\Environments\\Windows x64\\Drivers\\version-3\\ZQ Common Test Driver"));
    LocalFree(path);
    CZQLocalPtr<PRINTER_INFO_2W> info;
    EXPECT_TRUE(CZQCommon::BGetPrinterInfo2(nullptr, kWinePrinter, nullptr, info.Put()));
    ASSERT_TRUE(CZQCommon::BGetHelpFilePath(m_printer.Get(), &path));
    EXPECT_NE(nullptr, wcsstr(path, L"zqhelp.hlp"));
    LocalFree(path);
}

TEST_F(WineSpooler, StatusModuleFromTheDriverDirectory) {
    PWSTR target = nullptr;
    ASSERT_TRUE(CZQCommon::BGetDriverDirFile(m_printer.Get(), &target, L"zqcoremod.dll"));
    CopyFileW(zqtest::BesideExe(L"zqcoremod.dll").c_str(), target, FALSE);
    LocalFree(target);
    CZQCommon common;
    common.VLoadResourceModule(m_printer.Get());
    ASSERT_NE(nullptr, common.HResModule());
    WCHAR text[256] = {};
    zqtest::CUiLanguage ui(0x0409);
    EXPECT_TRUE(common.BLoadResString(874, text));
    EXPECT_STREQ(L" [none]", text);
}

TEST_F(WineSpooler, PrinterDataItServes) {
    const auto& sp = zqspool::Spooler();
    const DWORD v = 0x1234;
    ASSERT_EQ(ERROR_SUCCESS, sp.SetPrinterDataExW(m_printer.Get(), L"ZQPresetRoot", L"ZQTestValue", REG_DWORD,
                                                  reinterpret_cast<BYTE*>(const_cast<DWORD*>(&v)), sizeof v));
    DWORD out = 0;
    int guard = 0;
    EXPECT_EQ(ERROR_SUCCESS, CZQCommon::DWGetPrinterDataEx(m_printer.Get(), &guard, &guard, L"ZQPresetRoot",
                                                           L"ZQTestValue", sizeof out, reinterpret_cast<BYTE*>(&out)));
    EXPECT_EQ(v, out);
    HANDLE h = nullptr;
    BOOL reopened = TRUE;
    EXPECT_FALSE(CZQCommon::BIsPrinterDataReadOnly(m_printer.Get(), kWinePrinter, nullptr, &h, &reopened));
    EXPECT_FALSE(reopened);
    // Calls this spooler may lack answer instead of keeping the module from loading.
    const DWORD rc = sp.DeletePrinterKeyW(m_printer.Get(), L"ZQNoSuchKey");
    EXPECT_NE(static_cast<DWORD>(ERROR_SUCCESS), rc);
}

}  // namespace
