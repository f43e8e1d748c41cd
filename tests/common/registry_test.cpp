// Machine and per-user registry helpers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commontest.h"
#include "common/zqcommon.h"
#include "common/zqdevmodetags.h"
#include "formats/zquidevmode.h"

namespace {

TEST(Registry, BorderlessFormsAreOnlyRead) {
    zqtest::CScratchKey key(HKEY_LOCAL_MACHINE, L"Software\\Quorvane\\ZQ Unidrv\\Borderless Forms");
    EXPECT_FALSE(CZQCommon::BIsBorderlessFormName(L"Photo 4x6 (borderless)"));
    EXPECT_FALSE(key.Exists());  // asking created nothing
    key.SetString(L"Photo 4x6 (borderless)", L"1");
    EXPECT_TRUE(CZQCommon::BIsBorderlessFormName(L"Photo 4x6 (borderless)"));
    EXPECT_FALSE(CZQCommon::BIsBorderlessFormName(L"Letter"));
    EXPECT_FALSE(CZQCommon::BIsBorderlessFormName(nullptr));
}

TEST(Registry, UserBinaryValue) {
    zqtest::CScratchKey key(HKEY_CURRENT_USER, L"Software\\Quorvane\\ZQTestBinary");
    const BYTE data[] = {1, 0, 2, 0, 0xFF};
    ASSERT_TRUE(CZQCommon::BWriteUserBinaryValue(L"ZQTestBinary\\Sub", L"Blob", data, sizeof data));
    BYTE out[8] = {};
    DWORD cb = sizeof out, type = 0;
    ASSERT_EQ(ERROR_SUCCESS, RegGetValueW(HKEY_CURRENT_USER, L"Software\\Quorvane\\ZQTestBinary\\Sub", L"Blob",
                                          RRF_RT_ANY, &type, out, &cb));
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), type);
    EXPECT_EQ(sizeof data, cb);
    EXPECT_EQ(0, memcmp(data, out, sizeof data));
    EXPECT_FALSE(CZQCommon::BWriteUserBinaryValue(nullptr, L"Blob", data, sizeof data));
}

TEST(Registry, ConversionRunFlags) {
    WCHAR pidKey[128];
    wsprintfW(pidKey, L"Software\\Quorvane\\ZQProcID%lu", GetCurrentProcessId());
    zqtest::CScratchKey byProcess(HKEY_CURRENT_USER, pidKey);
    EXPECT_FALSE(CZQCommon::BIsProcessingOndrel(nullptr));
    byProcess.SetString(L"ProcessingOndrel", L"TRUE");
    EXPECT_TRUE(CZQCommon::BIsProcessingOndrel(nullptr));
    EXPECT_FALSE(CZQCommon::BIsProcessingConvertDevmode(nullptr));
    byProcess.SetString(L"ProcessingConvertDevmode", L"FALSE");
    EXPECT_FALSE(CZQCommon::BIsProcessingConvertDevmode(nullptr));

    // A devmode whose tag names a run: the run's key, not the process's.
    std::vector<BYTE> dm(sizeof(DEVMODEW) + zqdm::kSize, 0);
    auto* pub = reinterpret_cast<DEVMODEW*>(dm.data());
    pub->dmSize = sizeof(DEVMODEW);
    pub->dmDriverExtra = static_cast<WORD>(zqdm::kSize);
    zqtag::WriteEmptyRecord(dm.data() + sizeof(DEVMODEW) + 6376);
    // An empty tag: the process id still names the run.
    EXPECT_TRUE(CZQCommon::BIsProcessingOndrel(pub));
    const GUID run = {0x12345678, 0x9abc, 0xdef0, {1, 2, 3, 4, 5, 6, 7, 8}};
    ASSERT_TRUE(CZQDevmodeTags::BSetValue(dm.data(), static_cast<DWORD>(dm.size()), run));
    zqtest::CScratchKey byRun(HKEY_CURRENT_USER, L"Software\\Quorvane\\ZQProcID{12345678-9ABC-DEF0-0102-030405060708}");
    EXPECT_FALSE(CZQCommon::BIsProcessingOndrel(pub));
    byRun.SetString(L"ProcessingConvertDevmode", L"TRUE");
    EXPECT_TRUE(CZQCommon::BIsProcessingConvertDevmode(pub));
}

TEST(Registry, ToolboxPathOfThePrintersDriver) {
    zqspool::CZQMemoryPrinter printer;
    printer.Install();
    HANDLE h = printer.Open();
    zqtest::CScratchKey key(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Quorvane\\ZQTVQ Printing System Config\\ZQ Memory Driver");
    EXPECT_FALSE(CZQCommon::BHasToolboxPath(h));
    key.SetString(L"ToolboxPath", L"");
    EXPECT_FALSE(CZQCommon::BHasToolboxPath(h));
    key.SetString(L"ToolboxPath", L"C:\\Program Files\\Toolbox\\toolbox.exe");
    EXPECT_TRUE(CZQCommon::BHasToolboxPath(h));
    EXPECT_FALSE(CZQCommon::BHasToolboxPath(nullptr));
    zqspool::Spooler().ClosePrinter(h);
}

}  // namespace
