// The printer event INITIALIZE on a fresh printer: the per-user GUID, trays, media, the maker's
// print processor and the serial number; other events and refused printers write nothing.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "commontest.h"
#include "common/zqcommon.h"
#include "common/zqhandles.h"
#include "common/zqstrings.h"
#include "common/zqevents.h"
#include "zqoemui.h"

namespace {

using zqspool::CZQMemoryPrinter;

constexpr const wchar_t* kPrinter = L"ZQ Memory Printer";

struct Record {
    std::wstring name;
    DWORD id;
};

// Reads name + id records the way the readers of the shortcuts page do: a buffer of 52 bytes per
// record and names of 24 characters.
std::vector<Record> ReadRecords(const std::vector<BYTE>& value, DWORD count, size_t cchName) {
    std::vector<BYTE> buffer((count + 1) * 52, 0);
    EXPECT_LE(value.size(), buffer.size());
    std::copy(value.begin(), value.end(), buffer.begin());
    BYTE* cursor = buffer.data();
    const BYTE* end = buffer.data() + value.size();
    std::vector<Record> out;
    for (DWORD i = 0; i < count; ++i) {
        std::vector<WCHAR> name(cchName, 0);
        CZQCommon::VReadString(&cursor, end, name.data(), cchName);
        const DWORD id = CZQCommon::DWReadDword(&cursor, end);
        EXPECT_NE(nullptr, cursor) << "record " << i << " runs past the value";
        out.push_back({name.data(), id});
    }
    return out;
}

std::vector<Record> ReadAll(const std::vector<BYTE>& value, size_t cchName) {
    BYTE* cursor = const_cast<BYTE*>(value.data());
    const BYTE* end = value.data() + value.size();
    std::vector<Record> out;
    while (cursor && cursor < end) {
        std::vector<WCHAR> name(cchName, 0);
        CZQCommon::VReadString(&cursor, end, name.data(), cchName);
        const DWORD id = CZQCommon::DWReadDword(&cursor, end);
        if (!cursor) break;
        out.push_back({name.data(), id});
    }
    EXPECT_EQ(end, cursor);
    return out;
}

struct PluginDeleter {
    void operator()(CZQOemUI* p) const { p->Release(); }
};

class PrinterEvents : public ::testing::Test {
protected:
    void SetUp() override {
        m_printer.Install();
        SetNames(DC_BINNAMES, {L"Automatically Select", L"Tray 1", L"Manual Feed Slot Number 2"}, 24);
        const WORD bins[] = {DMBIN_AUTO, 257, 258};
        m_printer.SetCapability(DC_BINS, bins, 3, sizeof(WORD));
        SetNames(DC_MEDIATYPENAMES,
                 {L"Plain Paper", L"A media name that is far longer than the sixty-three characters a record keeps"},
                 64);
        const DWORD media[] = {DMMEDIA_STANDARD, 300};
        m_printer.SetCapability(DC_MEDIATYPES, media, 2, sizeof(DWORD));
        m_plugin.reset(new CZQOemUI());
    }
    void TearDown() override {
        if (!m_guid.empty()) RegDeleteTreeW(HKEY_CURRENT_USER, (L"Software\\Quorvane\\" + m_guid).c_str());
    }

    void SetNames(WORD cap, const std::vector<std::wstring>& names, size_t chars) {
        std::vector<WCHAR> block(names.size() * chars, 0);
        for (size_t i = 0; i < names.size(); ++i)
            for (size_t j = 0; j < names[i].size() && j < chars; ++j) block[i * chars + j] = names[i][j];
        m_printer.SetCapability(cap, block.data(), static_cast<DWORD>(names.size()), static_cast<DWORD>(chars * 2));
    }
    HRESULT Initialize() {
        return m_plugin->PrinterEvent(const_cast<PWSTR>(kPrinter), PRINTER_EVENT_INITIALIZE, 0, 0);
    }
    std::wstring Guid() {
        std::vector<BYTE> data;
        if (!m_printer.GetValue(L"ZQPresetRoot", L"ZQRestrictedUserGuid", nullptr, &data)) return L"";
        m_guid.assign(reinterpret_cast<const wchar_t*>(data.data()), data.size() / 2);
        while (!m_guid.empty() && m_guid.back() == 0) m_guid.pop_back();
        return m_guid;
    }
    bool HasRoot(const wchar_t* value) const {
        return m_printer.GetValue(CZQMemoryPrinter::kRootKey, value, nullptr, nullptr);
    }

    CZQMemoryPrinter m_printer{zqtest::ExeDirPrinter()};
    std::unique_ptr<CZQOemUI, PluginDeleter> m_plugin;
    std::wstring m_guid;
};

TEST_F(PrinterEvents, InitializeRecordsTraysWithinTheReadersRecordSize) {
    ASSERT_EQ(S_OK, Initialize());
    DWORD type = 0;
    std::vector<BYTE> count, data;
    ASSERT_TRUE(m_printer.GetValue(CZQMemoryPrinter::kRootKey, L"ZQTrayCount", &type, &count));
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), type);
    ASSERT_EQ(4u, count.size());
    EXPECT_EQ(3u, *reinterpret_cast<const DWORD*>(count.data()));
    ASSERT_TRUE(m_printer.GetValue(CZQMemoryPrinter::kRootKey, L"ZQTRAYINFOREGDATA", &type, &data));
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), type);
    const std::vector<Record> trays = ReadRecords(data, 3, 24);
    ASSERT_EQ(3u, trays.size());
    EXPECT_EQ(L"Automatically Select", trays[0].name);
    EXPECT_EQ(static_cast<DWORD>(DMBIN_AUTO), trays[0].id);
    EXPECT_EQ(L"Tray 1", trays[1].name);
    EXPECT_EQ(257u, trays[1].id);
    // A 24-character name would make a 55-byte record; the writer keeps 22 characters.
    EXPECT_EQ(L"Manual Feed Slot Numbe", trays[2].name);
    EXPECT_EQ(258u, trays[2].id);
    // The reader takes the records only with the count they were written with.
    CZQLocalPtr<ZQTrayRecord> read;
    DWORD n = 0;
    ASSERT_TRUE(ZQReadTrayInfo(m_printer.Open(), read.Put(), &n));
    EXPECT_EQ(3u, n);
    EXPECT_EQ(258u, read[2].dwId);
    for (DWORD other : {2u, 4u}) {
        m_printer.PutValue(CZQMemoryPrinter::kRootKey, L"ZQTrayCount", REG_DWORD, &other, 4);
        EXPECT_FALSE(ZQReadTrayInfo(m_printer.Open(), read.Put(), &n)) << other;
        EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_DATA), GetLastError());
    }
}

TEST_F(PrinterEvents, InitializeRecordsMedia) {
    ASSERT_EQ(S_OK, Initialize());
    std::vector<BYTE> data;
    ASSERT_TRUE(m_printer.GetValue(CZQMemoryPrinter::kRootKey, L"ZQMEDIAINFOREGDATA", nullptr, &data));
    const std::vector<Record> media = ReadAll(data, 64);
    ASSERT_EQ(2u, media.size());
    EXPECT_EQ(L"Plain Paper", media[0].name);
    EXPECT_EQ(static_cast<DWORD>(DMMEDIA_STANDARD), media[0].id);
    EXPECT_EQ(63u, media[1].name.size());
    EXPECT_EQ(300u, media[1].id);
}

TEST_F(PrinterEvents, InitializeMakesTheUserGuidOnceAndRepairsABadOne) {
    ASSERT_EQ(S_OK, Initialize());
    const std::wstring first = Guid();
    WCHAR checked[CZQCommon::kGuidTextChars];
    HANDLE h = m_printer.Open();
    ASSERT_TRUE(CZQCommon::BReadRestrictedUserGuid(h, checked));
    EXPECT_EQ(first, checked);
    ASSERT_EQ(S_OK, Initialize());
    EXPECT_EQ(first, Guid());  // users' saved settings stay reachable

    // A value that is no GUID would become part of a registry path: it is replaced.
    m_printer.PutString(L"ZQPresetRoot", L"ZQRestrictedUserGuid", L"..\\..\\Software\\Other");
    ASSERT_EQ(S_OK, Initialize());
    ASSERT_TRUE(CZQCommon::BReadRestrictedUserGuid(h, checked));
    EXPECT_NE(first, checked);
    Guid();
}

TEST_F(PrinterEvents, MakersPrintProcessorIsSetOnlyWhenInstalled) {
    ASSERT_EQ(S_OK, Initialize());
    EXPECT_EQ(L"WinPrint", m_printer.Identity().printProcessor);

    m_printer.Identity().installedPrintProcessors.push_back(L"ZQProcMod.dll");
    ASSERT_EQ(S_OK, Initialize());
    EXPECT_EQ(kZQPrintProcessor, m_printer.Identity().printProcessor);
    // Already set: the printer is not written again.
    const int sets = m_printer.CallCount(zqspool::MemCall::SetPrinter);
    ASSERT_EQ(S_OK, Initialize());
    EXPECT_EQ(sets, m_printer.CallCount(zqspool::MemCall::SetPrinter));
}

TEST_F(PrinterEvents, SerialNumberComesFromThePrintersAnswer) {
    ASSERT_EQ(S_OK, Initialize());  // makes the user GUID
    const std::wstring key = L"Software\\Quorvane\\" + Guid() + L"\\ZQBIDIInfo";
    EXPECT_FALSE(HasRoot(L"SerialNumber"));

    // The placeholder of a printer that has not answered is not a serial number.
    RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), L"SERIAL_NUMBER", REG_SZ, L" ", 4);
    ASSERT_EQ(S_OK, Initialize());
    EXPECT_FALSE(HasRoot(L"SerialNumber"));

    RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), L"SERIAL_NUMBER", REG_SZ, L"SN-0042", 16);
    ASSERT_EQ(S_OK, Initialize());
    DWORD type = 0;
    std::vector<BYTE> data;
    ASSERT_TRUE(m_printer.GetValue(CZQMemoryPrinter::kRootKey, L"SerialNumber", &type, &data));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    EXPECT_EQ(std::wstring(L"SN-0042"), reinterpret_cast<const wchar_t*>(data.data()));
    EXPECT_EQ(16u, data.size());
}

TEST_F(PrinterEvents, OtherEventsAndRefusedPrintersWriteNothing) {
    for (int event : {PRINTER_EVENT_ADD_CONNECTION, PRINTER_EVENT_DELETE_CONNECTION, PRINTER_EVENT_DELETE,
                      PRINTER_EVENT_CACHE_REFRESH}) {
        EXPECT_EQ(S_OK, m_plugin->PrinterEvent(const_cast<PWSTR>(kPrinter), event, 0, 0)) << event;
    }
    EXPECT_FALSE(HasRoot(L"ZQTrayCount"));
    EXPECT_EQ(S_OK, m_plugin->PrinterEvent(nullptr, PRINTER_EVENT_INITIALIZE, 0, 0));
    EXPECT_EQ(S_OK, m_plugin->PrinterEvent(const_cast<PWSTR>(L"Another Printer"), PRINTER_EVENT_INITIALIZE, 0, 0));
    m_printer.SetRestrictedUser(true);
    EXPECT_EQ(S_OK, Initialize());
    EXPECT_FALSE(HasRoot(L"ZQTrayCount"));
    EXPECT_EQ(L"", Guid());
}

TEST_F(PrinterEvents, ListsThatDoNotMatchAreNotRecorded) {
    // Two names for three ids: which id a name belongs to is unknown.
    SetNames(DC_BINNAMES, {L"Tray 1", L"Tray 2"}, 24);
    HANDLE h = m_printer.Open();
    EXPECT_FALSE(ZQStoreTrayInfo(h, kPrinter, L"USB001"));
    EXPECT_FALSE(HasRoot(L"ZQTRAYINFOREGDATA"));
    // A printer without sources records an empty list.
    m_printer.SetCapability(DC_BINS, nullptr, 0, sizeof(WORD));
    m_printer.SetCapability(DC_BINNAMES, nullptr, 0, 48);
    EXPECT_TRUE(ZQStoreTrayInfo(h, kPrinter, L"USB001"));
    std::vector<BYTE> count;
    ASSERT_TRUE(m_printer.GetValue(CZQMemoryPrinter::kRootKey, L"ZQTrayCount", nullptr, &count));
    EXPECT_EQ(0u, *reinterpret_cast<const DWORD*>(count.data()));
}

}  // namespace

namespace {

// The same event through Wine's own spooler and printer driver.
TEST(PrinterEventsOnWine, InitializeWritesThePrintersData) {
    constexpr const wchar_t* kWinePrinter = L"ZQ Event Printer";
    zqtest::InstallWinePrinter(kWinePrinter, L"ZQ Event Driver");
    CZQOemUI* plugin = new CZQOemUI();
    EXPECT_EQ(S_OK, plugin->PrinterEvent(const_cast<PWSTR>(kWinePrinter), PRINTER_EVENT_INITIALIZE, 0, 0));
    plugin->Release();

    HANDLE h = nullptr;
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    ASSERT_TRUE(OpenPrinterW(const_cast<PWSTR>(kWinePrinter), &h, &defaults));
    WCHAR guid[CZQCommon::kGuidTextChars];
    EXPECT_TRUE(CZQCommon::BReadRestrictedUserGuid(h, guid));
    const int bins = DeviceCapabilitiesW(kWinePrinter, L"FILE:", DC_BINS, nullptr, nullptr);
    DWORD count = 0, type = 0, needed = 0;
    const DWORD rc = GetPrinterDataW(h, const_cast<PWSTR>(L"ZQTrayCount"), &type, reinterpret_cast<BYTE*>(&count),
                                     sizeof count, &needed);
    ASSERT_GE(bins, 0);
    ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), rc);
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), type);
    EXPECT_EQ(static_cast<DWORD>(bins), count);
    // Wine's spooler has only its own print processor: the printer keeps it.
    CZQLocalPtr<PRINTER_INFO_2W> info;
    ASSERT_TRUE(CZQCommon::BGetPrinterInfo2(h, nullptr, nullptr, info.Put()));
    EXPECT_FALSE(ZQEqualNoCase(info.Get()->pPrintProcessor, kZQPrintProcessor));
    ClosePrinter(h);
}

}  // namespace
