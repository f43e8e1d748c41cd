// The job-storage hook against the in-memory printer, whose driver lies beside the test with the
// warning-module stand-in: the block behind the escape decides what is shown, and the requests the
// stand-in records are checked field by field.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "device/zqjobstoragehook.h"
#include "testsupport.h"
#include "zqmemprinter.h"
#include "zqwarnmodrecord.h"

namespace {

constexpr DWORD kEmf = 42, kRaw = 43, kText = 44, kUmlaut = 45;
const wchar_t kGuid[] = L"{0B5D6A8E-3C1F-4E27-9A44-1D2E3F405162}";
ZQJobDialogsEscape g_block;

int WINAPI RenderingSide(HDC, int iEscape, int cbInput, LPCSTR, int cbOutput, LPSTR pvOutput) {
    if (iEscape != kZQEscapeJobDialogs || cbInput || cbOutput != static_cast<int>(sizeof g_block)) return 0;
    memcpy(pvOutput, &g_block, sizeof g_block);
    return 1;
}

template <typename T>
bool Recorded(const wchar_t* value, T* pOut) {
    DWORD cb = sizeof *pOut;
    return !RegGetValueW(HKEY_CURRENT_USER, kZQWarnModRecordKey, value, RRF_RT_REG_BINARY, nullptr, pOut, &cb);
}

// Up to 17 characters into a name field, without a terminator when they fill it.
void Put(WCHAR (&field)[17], const wchar_t* text) { memcpy(field, text, std::min<size_t>(wcslen(text), 17) * 2); }

TEST(JobStorage, TheBlockDecidesWhatIsShownAndTheRequestComesFromTheJobAndThePrinter) {
    zqspool::MemPrinterIdentity id;
    id.driverDirectory = zqtest::ExeDir();
    id.location = L"Second floor, room 12";
    zqspool::CZQMemoryPrinter printer(id);
    printer.Install();
    const SYSTEMTIME when = {2024, 3, 0, 14, 9, 30, 0, 0};
    printer.AddJob({kEmf, L"Quarterly report for the board", L"NT EMF 1.008", L"ANNABELLE-MARGARETHE", when});
    printer.AddJob({kRaw, L"Label", L"RAW", L"LEE", when});
    printer.AddJob({kText, L"Notes", L"text", L"LEE", when});
    printer.AddJob({kUmlaut, L"Bericht \u00fcber", L"NT EMF 1.008", L"LEE", when});
    printer.PutString(L"ZQPresetRoot", L"ZQRestrictedUserGuid", kGuid);
    HANDLE h = printer.Open();
    const auto previous = CZQJobStorageHook::SetEscapeFunction(&RenderingSide);
    const std::wstring noModule = zqtest::ExeDir() + L"\\zqnowarnmod";
    CreateDirectoryW(noModule.c_str(), nullptr);

    struct Case {
        DWORD show, display, jobId;
        const wchar_t *blockUser, *blockJob;  // 17 characters fill the field without a terminator
        DWORD useUser, useJob, encoding, optionA, optionB;
        const wchar_t* driverDir;             // null: beside the test; L"": no printer handle
        const wchar_t *user, *job;            // the job-storage request (null: none)
        DWORD options;
        bool displayed;
    } cases[] = {
        {1, 0, kEmf, L"X", L"Y", 0, 0, 1, 1, 1, nullptr, L"ANNABELLE-MARGAR", L"Quarterly report", 1, false},
        {1, 0, kEmf, L"ABCDEFGHIJKLMNOPQ", L"0123456789abcdefg", 2, 1, 1, 1, 0, nullptr, L"ABCDEFGHIJKLMNOP",
         L"0123456789abcdef", 0, false},
        {1, 0, kEmf, L"X", L"Y", 0, 2, 1, 0, 1, nullptr, L"ANNABELLE-MARGAR", L"Quarterly report", 0, false},
        {1, 0, kUmlaut, L"", L"", 0, 0, 1, 0, 0, nullptr, L"LEE", L"Bericht \u00fcber", 0, false},
        {1, 0, kUmlaut, L"", L"", 0, 0, 7, 0, 0, nullptr, L"LEE", L"Bericht ~ber", 0, false},  // unknown: first
        {1, 1, 0, L"BLOCK", L"Y", 0, 0, 1, 1, 1, nullptr, L"BLOCK", L"", 1, true},  // no job id
        {1, 0, 99, L"BLOCK", L"Y", 0, 0, 1, 1, 1, nullptr, L"BLOCK", L"", 1, false},  // an unknown job
        {0, 0, kEmf, L"X", L"Y", 0, 0, 1, 0, 0, nullptr, nullptr, nullptr, 0, false},
        {2, 0xFFFFFFFF, kEmf, L"X", L"Y", 0, 0, 1, 0, 0, nullptr, nullptr, nullptr, 0, false},
        {0, 1, kEmf, L"X", L"Y", 0, 0, 1, 0, 0, nullptr, nullptr, nullptr, 0, true},
        {0, 1, kRaw, L"X", L"Y", 0, 0, 1, 0, 0, nullptr, nullptr, nullptr, 0, false},
        {1, 1, kText, L"X", L"Y", 0, 0, 1, 0, 0, nullptr, L"LEE", L"Notes", 0, false},
        {1, 1, kEmf, L"X", L"Y", 0, 0, 1, 0, 0, L"", nullptr, nullptr, 0, false},
        {1, 1, kEmf, L"X", L"Y", 0, 0, 1, 0, 0, noModule.c_str(), nullptr, nullptr, 0, false},
    };
    int row = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(row++);
        g_block = {};
        ZQJobStorageEscape& e = g_block.jobStorage;
        Put(e.szUserName, c.blockUser);
        Put(e.szJobName, c.blockJob);
        e.dwShow = c.show;
        e.dwUseUserName = c.useUser;
        e.dwUseJobName = c.useJob;
        e.dwEncoding = c.encoding;
        e.dwOptionA = c.optionA;
        e.dwOptionB = c.optionB;
        g_block.display.dwShow = c.display;
        g_block.display.abData[5] = 0x5A;
        printer.Identity().driverDirectory = c.driverDir && *c.driverDir ? c.driverDir : zqtest::ExeDir();
        RegDeleteTreeW(HKEY_CURRENT_USER, kZQWarnModRecordKey);
        const int driverReads = printer.CallCount(zqspool::MemCall::GetPrinterDriver);
        DWORD job = c.jobId;
        INT result = 0;
        CZQJobStorageHook hook;
        EXPECT_EQ(1, hook.IStartDocPost(c.driverDir && !*c.driverDir ? nullptr : h, nullptr, DOCUMENTEVENT_STARTDOCPOST,
                                        job ? sizeof job : 0, job ? &job : nullptr, 0, nullptr, &result));
        EXPECT_EQ(1, result);
        if (c.show != 1 && c.display != 1) {
            EXPECT_EQ(driverReads, printer.CallCount(zqspool::MemCall::GetPrinterDriver)) << "nothing was loaded";
        }

        ZQJobStorageRequest seen;
        ASSERT_EQ(c.user != nullptr, Recorded(L"VJobStorageDialog", &seen));
        if (c.user) {
            EXPECT_EQ(std::wstring(c.user), seen.szUserName);
            EXPECT_EQ(std::wstring(c.job), seen.szJobName);
            EXPECT_EQ(std::wstring(L"ZQ Memory Printer|USB001|Second floor, room 12"),
                      std::wstring(seen.szPrinterName) + L"|" + seen.szPortName + L"|" + seen.szLocation);
            // The braced GUID fills the 76 bytes without its terminator.
            EXPECT_EQ(0, memcmp(kGuid, seen.abRestrictedUserGuid, sizeof seen.abRestrictedUserGuid));
            EXPECT_EQ(c.options, seen.dwOptionA);
            EXPECT_EQ(c.options, seen.dwOptionB);
            EXPECT_EQ(zqtest::BesideExe(L"zqcoremod.dll") + L"|" + zqtest::BesideExe(L"zqhelp.chm"),
                      std::wstring(seen.szCoreModPath) + L"|" + seen.szHelpFile);
        }
        ZQDisplayRequest display;
        ASSERT_EQ(c.displayed, Recorded(L"VDisplayDialog", &display));
        if (c.displayed) {
            EXPECT_EQ(zqtest::BesideExe(L"zqcoremod.dll"), display.szCoreModPath);
            EXPECT_EQ(0x5A, display.abData[5]);
        }
    }
    CZQJobStorageHook::SetEscapeFunction(previous);
    RemoveDirectoryW(noModule.c_str());
    RegDeleteTreeW(HKEY_CURRENT_USER, kZQWarnModRecordKey);
    zqspool::Spooler().ClosePrinter(h);
}

}  // namespace
