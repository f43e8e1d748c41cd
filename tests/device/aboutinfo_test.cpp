// What the About page tells about the driver: the configuration history the printer's data says,
// stored dates, the version texts of files and the driver-name line.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "common/zqhandles.h"
#include "device/zqaboutinfo.h"
#include "testsupport.h"
#include "xmltestutil.h"
#include "zqmemprinter.h"

namespace {

constexpr wchar_t kGuid[] = L"{5A510000-0000-4000-8000-00000000A301}";
const std::wstring kUserKey = std::wstring(L"Software\\Quorvane\\") + kGuid, kDefaultKey = L".DEFAULT\\" + kUserKey;

std::wstring ShortDate(WORD year, WORD month, WORD day) {
    SYSTEMTIME t = {year, month, 0, day, 12, 0, 0, 0};
    WCHAR text[64] = {};
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &t, nullptr, text, 64);
    return text;
}

TEST(ConfigStatus, LinesFollowThePrintersData) {
    constexpr long kNo = -1;
    const wchar_t* const kInstalled = L"03/14/2006:12:00:00";
    // "EACStatus" where it is kept (the user's key, the printer's data, the default user's key),
    // "DMCStatus", "PrnPropChng", the two dates; the lines name the date they carry: i installed,
    // n notified, ? the stored text as it stands.
    const struct {
        long user, printer, defaultUser, dmc, changed;
        const wchar_t *install, *notify;
        const char* lines;
    } cases[] = {
        {kNo, 3, kNo, 1, kNo, kInstalled, nullptr, "3046i 3051 3044i 3046"},
        {kNo, kNo, kNo, 3, 1, kInstalled, nullptr, "3049i 3044i 3077"},
        {kNo, 3, kNo, 3, 1, kInstalled, L"11/02/2007:12:30:00", "3046i 3049i 3044n 3076"},  // a device change wins
        {kNo, kNo, kNo, kNo, kNo, nullptr, nullptr, "3044 3045"},
        {kNo, 1, kNo, 2, 1, nullptr, nullptr, "3048 3050 3044 3045"},
        {kNo, 2, kNo, 3, 0, nullptr, nullptr, "3047 3049 3044 3045"},
        {kNo, 7, kNo, 0, kNo, nullptr, nullptr, "3044 3045"},
        {3, 1, 2, kNo, kNo, nullptr, nullptr, "3046 3044 3046"},
        {kNo, kNo, 2, kNo, kNo, nullptr, nullptr, "3047 3044 3045"},
        {kNo, 3, kNo, kNo, kNo, L"soon", nullptr, "3046? 3044? 3046"},
    };
    const std::wstring installed = ShortDate(2006, 3, 14), notified = ShortDate(2007, 11, 2);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines);
        zqspool::CZQMemoryPrinter p;
        p.Install();
        p.PutString(L"ZQPresetRoot", L"ZQRestrictedUserGuid", kGuid);
        for (auto [root, key, value] : {std::tuple{HKEY_CURRENT_USER, kUserKey, c.user},
                                        std::tuple{HKEY_USERS, kDefaultKey, c.defaultUser}}) {
            RegDeleteTreeW(root, key.c_str());
            const std::wstring answers = key + L"\\ZQBIDIInfo";
            if (value != kNo) RegSetKeyValueW(root, answers.c_str(), L"EACStatus", REG_DWORD, &value, 4);
        }
        for (auto [name, value] :
             {std::pair{L"EACStatus", c.printer}, {L"DMCStatus", c.dmc}, {L"PrnPropChng", c.changed}})
            if (value != kNo) p.PutValue(L"PrinterDriverData", name, REG_DWORD, &value, 4);
        if (c.install) p.PutString(L"PrinterDriverData", L"InstallDate", c.install);
        if (c.notify) p.PutString(L"PrinterDriverData", L"NotifyDate", c.notify);
        CZQPrinterHandle h(p.Open());
        ZQStatusLine lines[kMaxStatusLines];
        const int n = IReadConfigStatus(h.Get(), lines);
        std::istringstream expected(c.lines);
        int i = 0;
        for (std::string want; expected >> want; ++i) {
            ASSERT_LT(i, n);
            const char mark = want.size() > 4 ? want[4] : 0;
            EXPECT_EQ(std::stoi(want.substr(0, 4)), lines[i].id) << i;
            EXPECT_EQ(mark == 'i' ? installed : mark == 'n' ? notified : mark == '?' ? c.install : L"",
                      std::wstring(lines[i].szDate)) << i;
        }
        EXPECT_EQ(i, n);
    }
    RegDeleteTreeW(HKEY_CURRENT_USER, kUserKey.c_str());
    RegDeleteTreeW(HKEY_USERS, kDefaultKey.c_str());

    // Values of the wrong type or size add no line of their own; nor does "EACStatus" without the
    // user's GUID.
    zqspool::CZQMemoryPrinter p;
    p.Install();
    p.PutValue(L"PrinterDriverData", L"EACStatus", REG_DWORD, "\3\0\0\0", 4);
    p.PutValue(L"PrinterDriverData", L"DMCStatus", REG_SZ, L"3", 4);
    p.PutValue(L"PrinterDriverData", L"InstallDate", REG_DWORD, "\1\0\0\0", 4);
    p.PutValue(L"PrinterDriverData", L"NotifyDate", REG_BINARY, "1/2/2007", 8);
    CZQPrinterHandle h(p.Open());
    ZQStatusLine lines[kMaxStatusLines];
    ASSERT_EQ(2, IReadConfigStatus(h.Get(), lines));
    EXPECT_TRUE(lines[0].id == 3044 && !lines[0].szDate[0] && lines[1].id == 3045);
    p.PutString(L"ZQPresetRoot", L"ZQRestrictedUserGuid", kGuid);
    p.PutValue(L"PrinterDriverData", L"EACStatus", REG_DWORD, "\3\0", 2);
    EXPECT_EQ(2, IReadConfigStatus(h.Get(), lines));
}

TEST(StoredDates, ParsedDatesShowAsShortDatesAndOthersAsStored) {
    const std::wstring march14 = ShortDate(2006, 3, 14);
    const std::pair<std::wstring, std::wstring> cases[] = {  // the stored text, and what shows (empty: as stored)
        {L"03/14/2006:12:00:00", march14}, {L"3/14/2006:12", march14},
        {L"02/29/2008:12:00:00:99:later", ShortDate(2008, 2, 29)}, {L"soon", L""}, {L"13/01/2006:12:00:00", L""},
        {L"02/29/2007:12:00:00", L""}, {L"03/14/2006:24:00:00", L""}, {L"03/14/2006:12:60:00", L""}, {L"03/14", L""},
        {L"03//2006:12:00:00", L""}, {L" 03/14/2006", L""}, {L"03/14/1600:12:00:00", L""},
        {L"03/14/65537:12:00:00", L""}, {std::wstring(255, L'1'), L""},
    };
    for (const auto& [stored, shown] : cases) {
        WCHAR text[kAboutLineChars];
        EXPECT_EQ(!shown.empty(), BFormatStoredDate(stored.c_str(), text) != FALSE);
        EXPECT_EQ(shown.empty() ? stored.substr(0, kAboutLineChars - 1) : shown, text);
    }
}

TEST(DriverFiles, VersionsLinesAndTheDriverName) {
    // A file without a version resource, last written on 14 March 2006 at 23:30 (UTC, the day shown as
    // is): month, day and year.
    zqxmltest::TempFile written("data");
    {
        CZQHandle file(CreateFileW(written.Path(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        SYSTEMTIME t = {2006, 3, 0, 14, 23, 30, 0, 0};
        FILETIME ft;
        ASSERT_TRUE(SystemTimeToFileTime(&t, &ft) && SetFileTime(file.Get(), nullptr, nullptr, &ft));
    }
    const std::wstring module = zqtest::BesideExe(L"zqcoremod.dll"), plugin = zqtest::BesideExe(L"zqoemui.dll");
    const std::wstring gone = L"C:\\nowhere\\ZqCoreMod.DLL";
    for (const auto& [path, version] : {std::pair<std::wstring, std::wstring>{module, L"6.0.0.4"},
                                        {written.Path(), L"3.14.2006"}, {gone, L""}, {zqtest::ExeDir(), L""}}) {
        WCHAR text[kAboutLineChars];
        EXPECT_EQ(!version.empty(), BGetFileVersionText(path.c_str(), text) != FALSE);
        EXPECT_EQ(version, text);
    }
    WCHAR line[kAboutLineChars];
    VFormatFileLine(module.c_str(), line);
    EXPECT_STREQ(L"ZQCOREMOD.DLL\t\t6.0.0.4", line);
    VFormatFileLine(L"C:\\a\\b.txt", line);
    EXPECT_STREQ(L"B.TXT       \t\t", line);

    // The status module's version follows the name; without it among the files, the last file's
    // (here the plug-in's, read from its version resource); a status module that cannot be read
    // shows none.
    WCHAR last[kAboutLineChars];
    ASSERT_TRUE(BGetFileVersionText(plugin.c_str(), last));
    const std::wstring lastShown = L"ZQ Desk  (" + std::wstring(last) + L")";
    for (const auto& [first, shown] : {std::pair<std::wstring, std::wstring>{module, L"ZQ Desk  (6.0.0.4)"},
                                       {zqtest::BesideExe(L"zqwarnmod.dll"), lastShown}, {gone, L"ZQ Desk  ()"}}) {
        std::wstring name = L"ZQ Desk", dependents = first + L'\0' + plugin + L'\0' + L'\0';
        DRIVER_INFO_3W info = {};
        info.pName = name.data();
        info.pDependentFiles = dependents.data();
        VFormatDriverNameLine(info, line);
        EXPECT_EQ(shown, line);
    }
}

}  // namespace
