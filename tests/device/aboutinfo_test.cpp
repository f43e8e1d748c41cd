// What the About page tells about the driver: the configuration history the printer's data says,
// stored dates, the version texts of files and the driver-name line.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "common/zqhandles.h"
#include "device/zqaboutinfo.h"
#include "testsupport.h"
#include "xmltestutil.h"
#include "zqmemprinter.h"

namespace {

using zqspool::CZQMemoryPrinter;

constexpr wchar_t kGuid[] = L"{5A510000-0000-4000-8000-00000000A301}";
const std::wstring kUserKey = std::wstring(L"Software\\Quorvane\\") + kGuid + L"\\ZQBIDIInfo";
const std::wstring kDefaultUserKey = L".DEFAULT\\" + kUserKey;
constexpr wchar_t kRoot[] = L"PrinterDriverData";
constexpr wchar_t kInstalled[] = L"03/14/2006:12:00:00";
constexpr wchar_t kNotified[] = L"11/02/2007:12:30:00";

// The user's short date of a day (the stored times are noon, so no time zone moves the day).
std::wstring ShortDate(WORD year, WORD month, WORD day) {
    SYSTEMTIME t = {};
    t.wYear = year;
    t.wMonth = month;
    t.wDay = day;
    WCHAR text[64] = {};
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &t, nullptr, text, 64);
    return text;
}

void PutDword(CZQMemoryPrinter& p, const wchar_t* name, DWORD value) { p.PutValue(kRoot, name, REG_DWORD, &value, 4); }

// Deletes a registry tree when made and when gone.
struct ScratchTree {
    ScratchTree(HKEY root, const std::wstring& path) : root(root), path(path) { RegDeleteTreeW(root, path.c_str()); }
    ~ScratchTree() { RegDeleteTreeW(root, path.c_str()); }
    void PutDword(const wchar_t* name, DWORD value) const {
        RegSetKeyValueW(root, path.c_str(), name, REG_DWORD, &value, sizeof value);
    }
    HKEY root;
    std::wstring path;
};

TEST(ConfigStatus, LinesFollowThePrintersData) {
    const std::wstring d1 = ShortDate(2006, 3, 14), d2 = ShortDate(2007, 11, 2);
    using Lines = std::vector<std::pair<int, std::wstring>>;
    struct Case {
        const char* name;
        bool guid;
        std::function<void(CZQMemoryPrinter&)> seed;
        Lines expected;
    };
    const Case cases[] = {
        {"auto-configured, no administrator preferences", true,
         [](CZQMemoryPrinter& p) {
             p.PutString(kRoot, L"InstallDate", kInstalled);
             PutDword(p, L"EACStatus", 3);
             PutDword(p, L"DMCStatus", 1);
         },
         {{3046, d1}, {3051, L""}, {3044, d1}, {3046, L""}}},
        {"administrator preferences changed in the printer's properties", true,
         [](CZQMemoryPrinter& p) {
             p.PutString(kRoot, L"InstallDate", kInstalled);
             PutDword(p, L"DMCStatus", 3);
             PutDword(p, L"PrnPropChng", 1);
         },
         {{3049, d1}, {3044, d1}, {3077, L""}}},
        {"a device change noted later makes it the user's", true,
         [](CZQMemoryPrinter& p) {
             p.PutString(kRoot, L"InstallDate", kInstalled);
             PutDword(p, L"EACStatus", 3);
             PutDword(p, L"DMCStatus", 3);
             PutDword(p, L"PrnPropChng", 1);
             p.PutString(kRoot, L"NotifyDate", kNotified);
         },
         {{3046, d1}, {3049, d1}, {3044, d2}, {3076, L""}}},
        {"nothing stored", true, [](CZQMemoryPrinter&) {}, {{3044, L""}, {3045, L""}}},
        {"not attempted, not applied (the change mark only counts with preferences)", true,
         [](CZQMemoryPrinter& p) {
             PutDword(p, L"EACStatus", 1);
             PutDword(p, L"DMCStatus", 2);
             PutDword(p, L"PrnPropChng", 1);
         },
         {{3048, L""}, {3050, L""}, {3044, L""}, {3045, L""}}},
        {"not auto-configured, preferences unchanged", true,
         [](CZQMemoryPrinter& p) {
             p.PutString(kRoot, L"InstallDate", kInstalled);
             PutDword(p, L"EACStatus", 2);
             PutDword(p, L"DMCStatus", 3);
             PutDword(p, L"PrnPropChng", 0);
         },
         {{3047, L""}, {3049, d1}, {3044, d1}, {3045, L""}}},
        {"values of the wrong type or size, and unknown numbers, add no line", true,
         [](CZQMemoryPrinter& p) {
             p.PutValue(kRoot, L"EACStatus", REG_BINARY, "\3\0", 2);
             p.PutString(kRoot, L"DMCStatus", L"3");
             p.PutValue(kRoot, L"InstallDate", REG_DWORD, "\1\0\0\0", 4);
             p.PutValue(kRoot, L"NotifyDate", REG_BINARY, "1/2/2007", 8);
         },
         {{3044, L""}, {3045, L""}}},
        {"numbers outside the table", true,
         [](CZQMemoryPrinter& p) {
             PutDword(p, L"EACStatus", 7);
             PutDword(p, L"DMCStatus", 0);
         },
         {{3044, L""}, {3045, L""}}},
        {"without the user's key the auto-configuration status is not read", false,
         [](CZQMemoryPrinter& p) {
             p.PutString(kRoot, L"InstallDate", kInstalled);
             PutDword(p, L"EACStatus", 3);
         },
         {{3044, d1}, {3045, L""}}},
        {"a stored date that does not parse is shown as it stands", true,
         [](CZQMemoryPrinter& p) {
             p.PutString(kRoot, L"InstallDate", L"soon");
             PutDword(p, L"EACStatus", 3);
         },
         {{3046, L"soon"}, {3044, L"soon"}, {3046, L""}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CZQMemoryPrinter printer;
        printer.Install();
        if (c.guid) printer.PutString(L"ZQPresetRoot", L"ZQRestrictedUserGuid", kGuid);
        c.seed(printer);
        CZQPrinterHandle h(printer.Open());
        ZQStatusLine lines[kMaxStatusLines];
        const int n = IReadConfigStatus(h.Get(), lines);
        Lines got;
        for (int i = 0; i < n; ++i) got.emplace_back(lines[i].id, lines[i].szDate);
        EXPECT_EQ(c.expected, got);
    }
    ZQStatusLine unused[kMaxStatusLines];
    EXPECT_EQ(0, IReadConfigStatus(nullptr, unused));
}

TEST(ConfigStatus, AutoConfigurationStatusIsKeptPerUser) {
    // The user's own key first, then the printer's data, then the default user's key.
    struct Case {
        const char* name;
        DWORD user, printer, defaultUser;  // 0: not stored there
        int first;
    };
    const Case cases[] = {
        {"the user's key wins", 3, 1, 2, 3046},
        {"the printer's data when the user has no key", 0, 1, 2, 3048},
        {"the default user's key last", 0, 0, 2, 3047},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CZQMemoryPrinter printer;
        printer.Install();
        printer.PutString(L"ZQPresetRoot", L"ZQRestrictedUserGuid", kGuid);
        if (c.printer) PutDword(printer, L"EACStatus", c.printer);
        ScratchTree user(HKEY_CURRENT_USER, std::wstring(L"Software\\Quorvane\\") + kGuid);
        ScratchTree defaultUser(HKEY_USERS, std::wstring(L".DEFAULT\\Software\\Quorvane\\") + kGuid);
        if (c.user) RegSetKeyValueW(HKEY_CURRENT_USER, kUserKey.c_str(), L"EACStatus", REG_DWORD, &c.user, 4);
        if (c.defaultUser)
            RegSetKeyValueW(HKEY_USERS, kDefaultUserKey.c_str(), L"EACStatus", REG_DWORD, &c.defaultUser, 4);
        CZQPrinterHandle h(printer.Open());
        ZQStatusLine lines[kMaxStatusLines];
        ASSERT_GT(IReadConfigStatus(h.Get(), lines), 0);
        EXPECT_EQ(c.first, lines[0].id);
    }
}

TEST(StoredDates, ParsedDatesShowAsShortDatesAndOthersAsStored) {
    const std::wstring tooLong(255, L'1');
    const struct {
        std::wstring stored;
        std::wstring shown;  // empty: as stored
    } cases[] = {
        {L"03/14/2006:12:00:00", ShortDate(2006, 3, 14)},
        {L"3/14/2006:12", ShortDate(2006, 3, 14)},                 // minutes and seconds may be left out
        {L"02/29/2008:12:00:00:99:later", ShortDate(2008, 2, 29)},  // pieces after the sixth are ignored
        {L"soon", L""},
        {L"13/01/2006:12:00:00", L""},
        {L"02/29/2007:12:00:00", L""},
        {L"03/14/2006:24:00:00", L""},
        {L"03/14/2006:12:60:00", L""},
        {L"03/14", L""},
        {L"03//2006:12:00:00", L""},
        {L" 03/14/2006", L""},
        {L"03/14/1600:12:00:00", L""},
        {L"03/14/65537:12:00:00", L""},
        {tooLong, L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.stored.begin(), c.stored.end()));
        WCHAR text[kAboutLineChars];
        EXPECT_EQ(!c.shown.empty(), BFormatStoredDate(c.stored.c_str(), text) != FALSE);
        EXPECT_EQ(c.shown.empty() ? c.stored.substr(0, kAboutLineChars - 1) : c.shown, text);
    }
}

TEST(DriverFiles, VersionTextsAndLines) {
    zqxmltest::TempFile written("data");
    {
        // Last written on 14 March 2006, 23:30 in Coordinated Universal Time: shown as it is.
        CZQHandle file(CreateFileW(written.Path(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                   nullptr));
        SYSTEMTIME t = {2006, 3, 0, 14, 23, 30, 0, 0};
        FILETIME ft;
        ASSERT_TRUE(SystemTimeToFileTime(&t, &ft));
        ASSERT_TRUE(SetFileTime(file.Get(), nullptr, nullptr, &ft));
    }
    std::wstring name = written.Path();
    name = name.substr(name.find_last_of(L'\\') + 1);
    CharUpperBuffW(name.data(), static_cast<DWORD>(name.size()));
    const std::wstring module = zqtest::BesideExe(L"zqcoremod.dll");
    const struct {
        std::wstring path;
        std::wstring version;
        std::wstring line;
    } cases[] = {
        {module, L"6.0.0.4", L"ZQCOREMOD.DLL\t\t6.0.0.4"},
        {written.Path(), L"3.14.2006", name + std::wstring(name.size() < 12 ? 12 - name.size() : 0, L' ') +
                                           L"\t\t3.14.2006"},
        {zqtest::BesideExe(L"no-such-file.dll"), L"", L"NO-SUCH-FILE.DLL\t\t"},
        {zqtest::ExeDir(), L"", L""},  // a folder cannot be opened as a file
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.path.begin(), c.path.end()));
        WCHAR text[kAboutLineChars];
        EXPECT_EQ(!c.version.empty(), BGetFileVersionText(c.path.c_str(), text) != FALSE);
        EXPECT_EQ(c.version, text);
        if (c.line.empty()) continue;
        VFormatFileLine(c.path.c_str(), text);
        EXPECT_EQ(c.line, text);
    }
}

TEST(DriverFiles, DriverNameCarriesTheStatusModulesVersionOnly) {
    const std::wstring dir = zqtest::ExeDir() + L"\\";
    auto list = [&](std::initializer_list<std::wstring> files) {
        std::wstring multi;
        for (const std::wstring& f : files) multi += (f.find(L'\\') == std::wstring::npos ? dir + f : f) + L'\0';
        return multi + L'\0';
    };
    const struct {
        const char* name;
        std::wstring dependents;
        std::wstring line;
    } cases[] = {
        {"status module among the files", list({L"zqwarnmod.dll", L"ZqCoreMod.DLL", L"zqoemui.dll"}),
         L"ZQ Desk 2400 Inkjet  (6.0.0.4)"},
        // Without it no other file's version stands in (the last one here has a version of its own).
        {"no status module", list({L"zqwarnmod.dll", L"zqoemui.dll"}), L"ZQ Desk 2400 Inkjet"},
        {"status module listed but not there", list({L"C:\\nowhere\\zqcoremod.dll", L"zqoemui.dll"}),
         L"ZQ Desk 2400 Inkjet"},
        {"no dependent files", L"", L"ZQ Desk 2400 Inkjet"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::wstring driverName = L"ZQ Desk 2400 Inkjet", dependents = c.dependents;
        DRIVER_INFO_3W info = {};
        info.pName = driverName.data();
        info.pDependentFiles = dependents.empty() ? nullptr : dependents.data();
        WCHAR line[kAboutLineChars];
        VFormatDriverNameLine(info, line);
        EXPECT_EQ(c.line, line);
    }
}

}  // namespace
