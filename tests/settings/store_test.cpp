// Printer data of the settings store: every tree and root value through the in-memory printer and
// through Wine's spooler, malformed stored values and counters of the wrong size, and spooler calls
// that fail.
#include <gtest/gtest.h>

#include <cwctype>
#include <map>
#include <string>

#include "zqmemprinter.h"
#include "settings/zqdriverdata.h"
#include "settingstest.h"

namespace {

using zqspool::CZQMemoryPrinter;
using zqspool::MemCall;
namespace zs = zqsettings;

constexpr const wchar_t* kTrees[] = {zs::kDriverDataPhysical, zs::kDriverDataDevModeItems, zs::kDriverDataOptItems,
                                     zs::kLockDataPrinting,   zs::kLockDataPhysical,       zs::kOndrelPhysical,
                                     zs::kOndrelDevModeItems, zs::kOndrelOptItems};

std::wstring Lower(std::wstring s) {
    for (auto& c : s) c = static_cast<wchar_t>(std::towlower(c));
    return s;
}

// Name (lower case) -> text ("<no text>" for an entry that is not one) of a listed key.
std::map<std::wstring, std::wstring> ListOf(HANDLE h, const wchar_t* key) {
    CZQPrinterDataList list;
    EXPECT_TRUE(list.BRead(h, key)) << key;
    std::map<std::wstring, std::wstring> out;
    for (DWORD i = 0; i < list.Count(); ++i) {
        PCWSTR text = list.Text(i);
        out[Lower(list.Name(i) ? list.Name(i) : L"<no name>")] = text ? text : L"<no text>";
    }
    return out;
}

std::wstring Text(HANDLE h, const wchar_t* key, const wchar_t* value) {
    PWSTR text = nullptr;
    const BOOL ok = key ? CZQDriverData::BGetPrinterDataEx(h, key, value, &text)
                        : CZQDriverData::BGetPrinterData(h, value, &text);
    if (!ok) {
        EXPECT_EQ(nullptr, text);
        return L"<missing>";
    }
    std::wstring out = text;
    LocalFree(text);
    return out;
}

DWORD Number(HANDLE h, const wchar_t* value) {
    DWORD v = 0xDEAD;
    return CZQDriverData::BGetPrinterDataDword(h, value, &v) ? v : 0xDEAD;
}

// Every tree and root value written, read and listed back.
void ExpectRoundTrip(HANDLE h) {
    for (const wchar_t* tree : kTrees) {
        EXPECT_TRUE(CZQDriverData::BSetPrinterDataEx(h, tree, L"Duplex", L"LongEdge")) << tree;
        EXPECT_TRUE(CZQDriverData::BSetPrinterDataEx(h, tree, L"WMFont", L"Courier New"));
        EXPECT_TRUE(CZQDriverData::BSetPrinterDataEx(h, tree, L"Empty", L""));
    }
    for (const wchar_t* tree : kTrees) {
        EXPECT_EQ(L"LongEdge", Text(h, tree, L"duplex")) << tree;
        EXPECT_EQ(L"", Text(h, tree, L"Empty"));
        EXPECT_EQ(L"<missing>", Text(h, tree, L"NotThere"));
        const std::map<std::wstring, std::wstring> expected = {
            {L"duplex", L"LongEdge"}, {L"wmfont", L"Courier New"}, {L"empty", L""}};
        EXPECT_EQ(expected, ListOf(h, tree)) << tree;
    }
    EXPECT_TRUE(CZQDriverData::BSetPrinterDataDword(h, zs::kInstallationComplete, 1));
    EXPECT_TRUE(CZQDriverData::BSetPrinterDataDword(h, zs::kDMCStatus, 3));
    EXPECT_TRUE(CZQDriverData::BSetPrinterDataDword(h, zs::kPrnPropChng, 1));
    EXPECT_TRUE(CZQDriverData::BSetPrinterDataDword(h, zs::kAlwaysExport, 0));
    EXPECT_TRUE(CZQDriverData::BSetPrinterData(h, zs::kStale, zs::kTrue));
    EXPECT_TRUE(CZQDriverData::BSetPrinterData(h, zs::kDMCExist, zs::kTrue));
    EXPECT_TRUE(CZQDriverData::BSetPrinterData(h, zs::kDMCExportOnly, zs::kTrue));
    EXPECT_EQ(1u, Number(h, zs::kInstallationComplete));
    EXPECT_EQ(3u, Number(h, zs::kDMCStatus));
    EXPECT_EQ(0u, Number(h, zs::kAlwaysExport));
    EXPECT_EQ(L"True", Text(h, nullptr, zs::kStale));
    EXPECT_EQ(L"True", Text(h, nullptr, zs::kDMCExportOnly));
    // A text root value is no number and a number no text.
    EXPECT_EQ(0xDEADu, Number(h, zs::kDMCExist));
    EXPECT_EQ(L"<missing>", Text(h, nullptr, zs::kDMCStatus));
    EXPECT_TRUE(ListOf(h, L"OndrelDriverData").empty());  // only keys below it
    // Root values are the root key's values.
    EXPECT_EQ(L"True", Text(h, zs::kRootKey, zs::kStale));
}

TEST(SettingsStore, RoundTripOnTheMemoryPrinter) {
    CZQMemoryPrinter printer;
    printer.Install();
    HANDLE h = printer.Open();
    ExpectRoundTrip(h);
    const auto root = ListOf(h, zs::kRootKey);
    EXPECT_EQ(L"True", root.at(L"stale"));
    EXPECT_EQ(L"<no text>", root.at(L"dmcstatus"));

    EXPECT_TRUE(CZQDriverData::BDeletePrinterDataEx(h, zs::kDriverDataOptItems, L"Duplex"));
    EXPECT_EQ(L"<missing>", Text(h, zs::kDriverDataOptItems, L"Duplex"));
    EXPECT_FALSE(CZQDriverData::BDeletePrinterDataEx(h, zs::kDriverDataOptItems, L"Duplex"));
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), GetLastError());
    EXPECT_TRUE(CZQDriverData::BDeletePrinterData(h, zs::kAlwaysExport));
    EXPECT_EQ(0xDEADu, Number(h, zs::kAlwaysExport));
}

TEST(SettingsStore, MalformedValuesCountAsMissing) {
    CZQMemoryPrinter printer;
    printer.Install();
    HANDLE h = printer.Open();
    const wchar_t* key = zs::kDriverDataOptItems;
    const DWORD three = 3;
    const WCHAR unterminated[] = {L'a', L'b', L'c'};
    const BYTE odd[] = {'a', 0, 'b'};
    printer.PutValue(key, L"Number", REG_DWORD, &three, sizeof three);
    printer.PutValue(key, L"Unterminated", REG_SZ, unterminated, sizeof unterminated);
    printer.PutValue(key, L"Odd", REG_SZ, odd, sizeof odd);
    printer.PutValue(key, L"NoBytes", REG_SZ, nullptr, 0);
    printer.PutValue(key, L"Expand", REG_EXPAND_SZ, L"%TEMP%", sizeof L"%TEMP%");
    printer.PutValue(key, L"Binary", REG_BINARY, L"Lock", sizeof L"Lock");
    printer.PutString(key, L"Good", L"Lock");
    for (const wchar_t* name : {L"Number", L"Unterminated", L"Odd", L"NoBytes", L"Expand", L"Binary"}) {
        EXPECT_EQ(L"<missing>", Text(h, key, name)) << name;
        EXPECT_EQ(L"<no text>", ListOf(h, key).at(Lower(name))) << name;
    }
    EXPECT_EQ(L"Lock", Text(h, key, L"Good"));

    // Root numbers: four bytes of REG_DWORD, nothing else.
    const BYTE two[2] = {1, 0};
    const ULONGLONG eight = 1;
    printer.PutValue(CZQMemoryPrinter::kRootKey, L"Short", REG_DWORD, two, sizeof two);
    printer.PutValue(CZQMemoryPrinter::kRootKey, L"Long", REG_DWORD, &eight, sizeof eight);
    printer.PutValue(CZQMemoryPrinter::kRootKey, L"Binary", REG_BINARY, &three, sizeof three);
    for (const wchar_t* name : {L"Short", L"Long", L"Binary"}) EXPECT_EQ(0xDEADu, Number(h, name)) << name;

    // Counters under a key: exactly the bytes asked for, whatever their type.
    BYTE counter[4] = {};
    EXPECT_TRUE(CZQDriverData::BGetPrinterDataBytes(h, key, L"Number", counter, sizeof counter));
    EXPECT_EQ(3, counter[0]);
    for (const wchar_t* name : {L"Odd", L"Binary", L"NotThere"})
        EXPECT_FALSE(CZQDriverData::BGetPrinterDataBytes(h, key, name, counter, sizeof counter)) << name;
}

// The second read of a value fails after its size was learnt.
zqspool::SpoolerApi g_inner;
int g_reads = 0;
DWORD WINAPI SecondReadFails(HANDLE h, LPCWSTR key, LPCWSTR value, LPDWORD type, LPBYTE data, DWORD cb, LPDWORD needed) {
    if (++g_reads == 2) return ERROR_ACCESS_DENIED;
    return g_inner.GetPrinterDataExW(h, key, value, type, data, cb, needed);
}

TEST(SettingsStore, SpoolerFailuresAreReported) {
    CZQMemoryPrinter printer;
    printer.Install();
    HANDLE h = printer.Open();
    printer.PutString(zs::kLockDataPrinting, L"Duplex", zs::kLock);

    g_inner = zqspool::Spooler();
    zqspool::SpoolerApi failing = g_inner;
    failing.GetPrinterDataExW = &SecondReadFails;
    const zqspool::SpoolerApi* previous = zqspool::SetSpooler(&failing);
    PWSTR text = reinterpret_cast<PWSTR>(1);
    EXPECT_FALSE(CZQDriverData::BGetPrinterDataEx(h, zs::kLockDataPrinting, L"Duplex", &text));
    EXPECT_EQ(nullptr, text);
    EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), GetLastError());
    zqspool::SetSpooler(previous);

    CZQPrinterDataList list;
    printer.FailCall(MemCall::EnumPrinterDataEx, ERROR_ACCESS_DENIED, 1);
    EXPECT_FALSE(list.BRead(h, zs::kLockDataPrinting));
    EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), GetLastError());
    EXPECT_EQ(0u, list.Count());
    EXPECT_FALSE(list.BRead(h, L"DMCLockData\\Missing"));
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), GetLastError());
    EXPECT_TRUE(list.BRead(h, L"DMCLockData"));  // a key without values of its own
    EXPECT_EQ(0u, list.Count());

    printer.SetReadOnly(true);
    EXPECT_FALSE(CZQDriverData::BSetPrinterDataEx(h, zs::kDriverDataOptItems, L"Duplex", L"LongEdge"));
    EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), GetLastError());
    EXPECT_FALSE(CZQDriverData::BSetPrinterDataDword(h, zs::kDMCStatus, 1));
    EXPECT_FALSE(CZQDriverData::BDeletePrinterData(h, zs::kStale));
    EXPECT_FALSE(CZQDriverData::BSetPrinterDataEx(nullptr, zs::kDriverDataOptItems, L"Duplex", L"LongEdge"));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_DATA), GetLastError());
}

TEST(SettingsStore, RoundTripOnWinesSpooler) {
    zqtest::CWineSettingsPrinter printer;
    HANDLE h = printer.Get();
    ASSERT_NE(nullptr, h);
    ExpectRoundTrip(h);
    // The root listed through its own key.
    const auto root = ListOf(h, zs::kRootKey);
    ASSERT_TRUE(root.count(L"stale"));
    EXPECT_EQ(L"True", root.at(L"stale"));

    // What this spooler cannot delete stays, and the store says so with the spooler's answer.
    const auto& sp = zqspool::Spooler();
    const DWORD direct = sp.DeletePrinterDataExW(h, zs::kDriverDataOptItems, L"WMFont");
    const BOOL deleted = CZQDriverData::BDeletePrinterDataEx(h, zs::kDriverDataOptItems, L"Duplex");
    if (direct != ERROR_SUCCESS) {
        EXPECT_FALSE(deleted);
        EXPECT_EQ(direct, GetLastError());
        EXPECT_EQ(L"LongEdge", Text(h, zs::kDriverDataOptItems, L"Duplex"));
        EXPECT_FALSE(CZQDriverData::BDeletePrinterData(h, zs::kStale));
        EXPECT_EQ(L"True", Text(h, nullptr, zs::kStale));
    } else {
        EXPECT_TRUE(deleted);
        EXPECT_EQ(L"<missing>", Text(h, zs::kDriverDataOptItems, L"Duplex"));
    }
}

}  // namespace
