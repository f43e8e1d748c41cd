// The administrator's locks: a locked setting disables its core driver item and gives it the
// locked help index.
#include <gtest/gtest.h>

#include "optitemfixture.h"
#include "zqmemprinter.h"
#include "platform/zqprinterview.h"
#include "settings/zqdriverdata.h"
#include "settingstest.h"

namespace {

using zqspool::CZQMemoryPrinter;
namespace zs = zqsettings;

constexpr DWORD kOwnHelp = 99;

class Locks : public ::testing::Test {
protected:
    void SetUp() override {
        const std::vector<std::pair<std::string, std::wstring>> onOff = {{"OFF", L"Off"}, {"ON", L"On"}};
        m_host.Add(zqtest::ListFeature("Duplex", onOff, 0, DMPUB_DUPLEX));
        m_host.Add(zqtest::ListFeature("PaperSize", onOff, 0, DMPUB_FORMNAME));
        m_host.Add(zqtest::ListFeature("MediaType", onOff, 0, DMPUB_MEDIATYPE));
        m_host.Add(zqtest::ListFeature("JCLEDGEChoice", onOff));
        m_host.Add(zqtest::ListFeature("Memory", onOff));
        zqtest::FixtureFeature bin = zqtest::ListFeature("OutputBin", onOff);
        bin.flags = OPTIF_DISABLED;
        m_host.Add(bin);
        m_host.Build();
        for (const char* k : {"Duplex", "PaperSize", "MediaType", "JCLEDGEChoice", "Memory", "OutputBin"})
            m_host.Item(k)->HelpIndex = kOwnHelp;
    }
    // Puts the lock records through the store, as the import writes them.
    void WriteLocks(HANDLE h) {
        for (const wchar_t* name : {L"Duplex", L"EdgeChoice", L"OutputBin", L"StaplerChoice", L"InputBin"})
            ASSERT_TRUE(CZQDriverData::BSetPrinterDataEx(h, zs::kLockDataPrinting, name, zs::kLock)) << name;
        ASSERT_TRUE(CZQDriverData::BSetPrinterDataEx(h, zs::kLockDataPrinting, L"MediaType", L""));
        ASSERT_TRUE(CZQDriverData::BSetPrinterDataEx(h, zs::kLockDataPhysical, L"Memory", zs::kLock));
    }
    bool Disabled(const char* k) { return (m_host.Item(k)->Flags & OPTIF_DISABLED) != 0; }
    DWORD Help(const char* k) { return m_host.Item(k)->HelpIndex; }
    void ExpectLocked() {
        EXPECT_TRUE(Disabled("Duplex"));  // a public item, found by its id
        EXPECT_EQ(zs::kLockedHelpIndex, Help("Duplex"));
        EXPECT_TRUE(Disabled("JCLEDGEChoice"));  // the name table's item for "EdgeChoice"
        EXPECT_EQ(zs::kLockedHelpIndex, Help("JCLEDGEChoice"));
        EXPECT_EQ(kOwnHelp, Help("OutputBin"));  // disabled already: keeps its help
        EXPECT_FALSE(Disabled("MediaType"));     // empty lock data
        EXPECT_EQ(kOwnHelp, Help("MediaType"));
        EXPECT_FALSE(Disabled("Memory"));  // device locks are not applied here
        EXPECT_FALSE(Disabled("PaperSize"));
    }

    zqtest::COptItemFixture m_host;
};

TEST_F(Locks, LockedItemsAreDisabledOnTheMemoryPrinter) {
    CZQMemoryPrinter printer;
    printer.Install();
    HANDLE h = printer.Open();
    // Without lock data, or without a printer, nothing changes.
    m_host.Param()->hPrinter = h;
    CZQDriverData::VApplyLockData(m_host.Param());
    EXPECT_FALSE(Disabled("Duplex"));

    WriteLocks(h);
    // A lock of another type than text is not trusted.
    const DWORD one = 1;
    printer.PutValue(zs::kLockDataPrinting, L"PaperSize", REG_DWORD, &one, sizeof one);
    m_host.Param()->hPrinter = nullptr;
    CZQDriverData::VApplyLockData(m_host.Param());
    EXPECT_FALSE(Disabled("Duplex"));
    CZQDriverData::VApplyLockData(nullptr);

    m_host.Param()->hPrinter = h;
    CZQDriverData::VApplyLockData(m_host.Param());
    ExpectLocked();
    // Applying again changes nothing more.
    CZQDriverData::VApplyLockData(m_host.Param());
    EXPECT_EQ(zs::kLockedHelpIndex, Help("Duplex"));
}

TEST_F(Locks, LockedItemsAreDisabledFromWinesPrinterData) {
    zqtest::CWineSettingsPrinter printer;
    ASSERT_NE(nullptr, printer.Get());
    WriteLocks(printer.Get());
    m_host.Param()->hPrinter = printer.Get();
    CZQDriverData::VApplyLockData(m_host.Param());
    ExpectLocked();
}

// A sheet's view that listed the locks answers each lock read from that list, as reading the record
// alone would, and asks the spooler only for what it did not list.
TEST_F(Locks, APassAnswersLockReadsFromItsListing) {
    CZQMemoryPrinter printer;
    printer.Install();
    HANDLE h = printer.Open();
    HANDLE other = printer.Open();
    WriteLocks(h);
    const DWORD one = 1;
    printer.PutValue(zs::kLockDataPrinting, L"PaperSize", REG_DWORD, &one, sizeof one);
    ASSERT_TRUE(CZQDriverData::BSetPrinterDataEx(h, zs::kLockDataPrinting, L"Orientation", L"Open"));
    const wchar_t unstored[] = L"DMCLockData\\Printing\\Stapling\0DMCLockData\\Physical\\Tray3\0";
    printer.PutValue(CZQMemoryPrinter::kRootKey, zs::kUnstoredLocks, REG_MULTI_SZ, unstored, sizeof unstored);
    m_host.Param()->hPrinter = h;

    const struct {
        HANDLE hPrinter;
        const wchar_t* key;
        const wchar_t* name;
        bool listed;  // answered without the spooler
    } cases[] = {
        {h, zs::kLockDataPrinting, L"Duplex", true},
        {h, zs::kLockDataPrinting, L"duplex", true},           // names in any letter case
        {h, zs::kLockDataPrinting, L"Orientation", true},      // a text other than the lock word
        {h, zs::kLockDataPrinting, L"MediaType", true},        // empty: none
        {h, zs::kLockDataPrinting, L"PaperSize", true},        // not a text: none
        {h, zs::kLockDataPrinting, L"PrintColorAsGray", true}, // no record
        {h, zs::kLockDataPrinting, L"Stapling", true},         // locked by the import's list
        {h, zs::kLockDataPhysical, L"Memory", false},          // another key
        {h, zs::kLockDataPhysical, L"Tray3", false},
        {other, zs::kLockDataPrinting, L"Duplex", false},      // another handle
    };
    struct Answer {
        zs::LockRecord record;
        std::wstring text;
    };
    const auto read = [](HANDLE hPrinter, const wchar_t* key, const wchar_t* name) {
        wchar_t text[zs::kItemChars] = L"stale";
        const zs::LockRecord record = CZQDriverData::EReadLockRecord(hPrinter, key, name, text);
        return Answer{record, text};
    };
    std::vector<Answer> alone;
    for (const auto& c : cases) alone.push_back(read(c.hPrinter, c.key, c.name));
    {
        zqspool::CZQPrinterDataView view;
        view.Open(h);
        ASSERT_TRUE(CZQDriverData::VApplyLockData(m_host.Param()));
        ExpectLocked();
        for (size_t i = 0; i < std::size(cases); ++i) {
            const auto& c = cases[i];
            const int before = printer.CallCount(zqspool::MemCall::GetPrinterDataEx);
            const Answer answer = read(c.hPrinter, c.key, c.name);
            EXPECT_EQ(alone[i].record, answer.record) << c.name;
            EXPECT_EQ(alone[i].text, answer.text) << c.name;
            EXPECT_EQ(c.listed, printer.CallCount(zqspool::MemCall::GetPrinterDataEx) == before) << c.name;
        }
    }
    // The list goes with the view; a view whose listing failed reads each record alone.
    int before = printer.CallCount(zqspool::MemCall::GetPrinterDataEx);
    EXPECT_EQ(zs::LockRecord::kText, read(h, zs::kLockDataPrinting, L"Duplex").record);
    EXPECT_LT(before, printer.CallCount(zqspool::MemCall::GetPrinterDataEx));
    zqspool::CZQPrinterDataView view;
    view.Open(h);
    printer.FailCall(zqspool::MemCall::EnumPrinterDataEx, ERROR_ACCESS_DENIED);
    EXPECT_FALSE(CZQDriverData::VApplyLockData(m_host.Param()));
    // (The view keeps what the pass read alone then: a record it did not read asks.)
    before = printer.CallCount(zqspool::MemCall::GetPrinterDataEx);
    EXPECT_EQ(zs::LockRecord::kNone, read(h, zs::kLockDataPrinting, L"NoSuchSetting").record);
    EXPECT_LT(before, printer.CallCount(zqspool::MemCall::GetPrinterDataEx));
}

}  // namespace
