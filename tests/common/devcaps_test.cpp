// Device-capabilities lists: fixed lists from the in-memory printer, -1 answers and short lists.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "commontest.h"
#include "common/zqcommon.h"
#include "platform/zqprinterview.h"
#include "platform/zqspooler.h"

namespace {

using zqspool::CZQMemoryPrinter;
using zqspool::MemCall;

constexpr const wchar_t* kPrinter = L"ZQ Memory Printer";

std::vector<DWORD> g_waits;
void RecordWait(DWORD ms) { g_waits.push_back(ms); }

class DeviceCaps : public ::testing::Test {
protected:
    void SetUp() override {
        m_printer.Install();
        g_waits.clear();
        m_previous = CZQCommon::SetCapsRetryWait(&RecordWait);
    }
    void TearDown() override { CZQCommon::SetCapsRetryWait(m_previous); }

    void SetNames(WORD cap, const std::vector<std::wstring>& names, size_t chars) {
        std::vector<WCHAR> block(names.size() * chars, 0);
        for (size_t i = 0; i < names.size(); ++i)
            for (size_t j = 0; j < names[i].size() && j < chars; ++j) block[i * chars + j] = names[i][j];
        m_printer.SetCapability(cap, block.data(), static_cast<DWORD>(names.size()), static_cast<DWORD>(chars * 2));
    }

    CZQMemoryPrinter m_printer;
    CZQCommon::PFN_RetryWait m_previous = nullptr;
};

TEST_F(DeviceCaps, EachListReadsItsCapability) {
    const WORD papers[] = {1, 9, 256};
    const POINT sizes[] = {{2159, 2794}, {2100, 2970}, {1000, 1500}};
    const WORD bins[] = {7, 1, 259};
    const DWORD media[] = {1, 2, 260};
    m_printer.SetCapability(DC_PAPERS, papers, 3, sizeof(WORD));
    m_printer.SetCapability(DC_PAPERSIZE, sizes, 3, sizeof(POINT));
    m_printer.SetCapability(DC_BINS, bins, 3, sizeof(WORD));
    m_printer.SetCapability(DC_MEDIATYPES, media, 3, sizeof(DWORD));
    SetNames(DC_PAPERNAMES, {L"Letter", L"A4", L"Custom"}, 64);
    SetNames(DC_BINNAMES, {L"Automatically Select", L"Tray 1", L"Tray 2"}, 24);
    SetNames(DC_MEDIATYPENAMES, {L"Plain", L"Glossy", L"Photo"}, 64);

    DWORD n = 0;
    WORD* w = nullptr;
    ASSERT_TRUE(CZQCommon::BGetPaperSizeIndices(kPrinter, L"USB001", nullptr, &n, &w));
    ASSERT_EQ(3u, n);
    EXPECT_EQ(256, w[2]);
    EXPECT_EQ(0, w[3]);  // count + 1 entries, the last zero
    LocalFree(w);
    POINT* pt = nullptr;
    ASSERT_TRUE(CZQCommon::BGetPaperSizes(kPrinter, nullptr, nullptr, &n, &pt));
    EXPECT_EQ(2970, pt[1].y);
    EXPECT_EQ(0, pt[3].x);
    LocalFree(pt);
    ASSERT_TRUE(CZQCommon::BGetPaperSourceIndices(kPrinter, nullptr, nullptr, &n, &w));
    EXPECT_EQ(7, w[0]);
    LocalFree(w);
    DWORD* d = nullptr;
    ASSERT_TRUE(CZQCommon::BGetMediaTypeIndices(kPrinter, nullptr, nullptr, &n, &d));
    EXPECT_EQ(260u, d[2]);
    LocalFree(d);
    PWSTR names = nullptr;
    ASSERT_TRUE(CZQCommon::BGetPaperSizeNames(kPrinter, nullptr, nullptr, &n, &names));
    EXPECT_STREQ(L"A4", names + 64);
    LocalFree(names);
    ASSERT_TRUE(CZQCommon::BGetPaperSourceNames(kPrinter, nullptr, nullptr, &n, &names));
    EXPECT_STREQ(L"Automatically Select", names);
    EXPECT_STREQ(L"Tray 2", names + 2 * 24);
    LocalFree(names);
    ASSERT_TRUE(CZQCommon::BGetMediaTypeNames(kPrinter, nullptr, nullptr, &n, &names));
    EXPECT_STREQ(L"Photo", names + 2 * 64);
    LocalFree(names);
    EXPECT_TRUE(g_waits.empty());
}

TEST_F(DeviceCaps, NamesFillingTheirFieldAreTerminated) {
    const std::wstring full(24, L'x');
    SetNames(DC_BINNAMES, {full, L"Tray 1"}, 24);
    DWORD n = 0;
    PWSTR names = nullptr;
    ASSERT_TRUE(CZQCommon::BGetPaperSourceNames(kPrinter, nullptr, nullptr, &n, &names));
    EXPECT_EQ(23u, wcslen(names));
    EXPECT_STREQ(L"Tray 1", names + 24);
    LocalFree(names);
}

TEST_F(DeviceCaps, MinusOneAnswersAreRetried) {
    const WORD papers[] = {1, 9};
    m_printer.SetCapability(DC_PAPERS, papers, 2, sizeof(WORD));
    DWORD n = 0;
    WORD* w = nullptr;
    // Four -1 answers to the count query: the fifth attempt succeeds.
    m_printer.SetCapabilityFailures(DC_PAPERS, 4, 0);
    ASSERT_TRUE(CZQCommon::BGetPaperSizeIndices(kPrinter, nullptr, nullptr, &n, &w));
    EXPECT_EQ(2u, n);
    EXPECT_EQ((std::vector<DWORD>{500, 500, 500, 500}), g_waits);
    LocalFree(w);

    // Five: given up.
    g_waits.clear();
    m_printer.SetCapabilityFailures(DC_PAPERS, 5, 0);
    w = reinterpret_cast<WORD*>(1);
    EXPECT_FALSE(CZQCommon::BGetPaperSizeIndices(kPrinter, nullptr, nullptr, &n, &w));
    EXPECT_EQ(nullptr, w);
    EXPECT_EQ(0u, n);
    EXPECT_EQ(4u, g_waits.size());

    // The data query has retries of its own.
    m_printer.SetCapabilityFailures(DC_PAPERS, 0, 4);
    EXPECT_TRUE(CZQCommon::BGetPaperSizeIndices(kPrinter, nullptr, nullptr, &n, &w));
    LocalFree(w);
    m_printer.SetCapabilityFailures(DC_PAPERS, 0, 5);
    EXPECT_FALSE(CZQCommon::BGetPaperSizeIndices(kPrinter, nullptr, nullptr, &n, &w));
    EXPECT_EQ(nullptr, w);
}

TEST_F(DeviceCaps, FewerEntriesThanAnnounced) {
    const DWORD media[] = {11, 12, 13};
    m_printer.SetCapability(DC_MEDIATYPES, media, 3, sizeof(DWORD));
    m_printer.SetCapabilityAnnounced(DC_MEDIATYPES, 6);
    DWORD n = 0;
    DWORD* d = nullptr;
    ASSERT_TRUE(CZQCommon::BGetMediaTypeIndices(kPrinter, nullptr, nullptr, &n, &d));
    EXPECT_EQ(3u, n);
    EXPECT_EQ(13u, d[2]);
    for (int i = 3; i <= 6; ++i) EXPECT_EQ(0u, d[i]);
    LocalFree(d);
}

TEST_F(DeviceCaps, EmptyAndUnknownPrinters) {
    DWORD n = 9;
    WORD* w = nullptr;
    m_printer.SetCapability(DC_BINS, nullptr, 0, sizeof(WORD));
    ASSERT_TRUE(CZQCommon::BGetPaperSourceIndices(kPrinter, nullptr, nullptr, &n, &w));
    EXPECT_EQ(0u, n);
    ASSERT_NE(nullptr, w);
    EXPECT_EQ(0, w[0]);
    LocalFree(w);
    EXPECT_FALSE(CZQCommon::BGetPaperSourceIndices(L"Another Printer", nullptr, nullptr, &n, &w));
    EXPECT_EQ(nullptr, w);
    EXPECT_FALSE(CZQCommon::BGetPaperSourceIndices(nullptr, nullptr, nullptr, &n, &w));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_DATA), GetLastError());
    m_printer.FailCall(MemCall::DeviceCapabilities, ERROR_INVALID_HANDLE);
    EXPECT_FALSE(CZQCommon::BGetPaperSourceIndices(kPrinter, nullptr, nullptr, &n, &w));
}

// Within a pass a device sheet's view asks a list of the driver once per printer and devmode (the
// driver never sees the port; a name's bytes after its end are no setting) and answers the driver
// record of its handle from one read; the copies handed out are whole; the outermost pass's end
// forgets the lists (the trays may change), not the record.
TEST_F(DeviceCaps, ADeviceSheetsPassAsksOncePerQueryAndForgetsAtItsEnd) {
    const WORD bins[] = {7, 1, 259};
    m_printer.SetCapability(DC_BINS, bins, 3, sizeof(WORD));
    DEVMODEW a = {}, b = {}, left = {};
    a.dmSize = b.dmSize = left.dmSize = sizeof(DEVMODEW);
    b.dmOrientation = DMORIENT_LANDSCAPE;
    wcscpy(a.dmFormName, L"A4");
    const wchar_t leftBehind[] = L"A4\0(borderless)";
    std::memcpy(left.dmFormName, leftBehind, sizeof leftBehind);
    const struct {
        const wchar_t* port;
        const DEVMODEW* dm;
        bool asked;
    } steps[] = {{L"USB001", nullptr, true}, {L"USB001", nullptr, false}, {L"FILE:", nullptr, false},
                 {L"USB001", &a, true},      {L"USB001", &a, false},      {L"USB001", &left, false},
                 {L"USB001", &b, true}};
    HANDLE h = m_printer.Open();
    zqspool::CZQPrinterDataView view;
    view.Open(h);
    view.KeepDeviceLists(false);
    auto bins3 = [&](const wchar_t* port, const DEVMODEW* dm) {
        const int before = m_printer.CallCount(MemCall::DeviceCapabilities);
        DWORD n = 0;
        WORD* w = nullptr;
        EXPECT_TRUE(CZQCommon::BGetPaperSourceIndices(kPrinter, port, dm, &n, &w));
        EXPECT_EQ(3u, n);
        if (w) {
            EXPECT_EQ(259, w[2]);
        }
        LocalFree(w);
        return m_printer.CallCount(MemCall::DeviceCapabilities) > before;
    };
    auto driverRead = [&] {
        const int before = m_printer.CallCount(MemCall::GetPrinterDriver);
        DRIVER_INFO_3W* info = nullptr;
        EXPECT_TRUE(CZQCommon::BGetDriverInfo3(h, &info));
        if (info) {
            EXPECT_STREQ(L"ZQ Memory Driver", info->pName);
            EXPECT_STREQ(L"Windows x64", info->pEnvironment);
        }
        LocalFree(info);
        return m_printer.CallCount(MemCall::GetPrinterDriver) > before;
    };
    {
        zqspool::CZQViewPass pass(view);
        for (const auto& step : steps) EXPECT_EQ(step.asked, bins3(step.port, step.dm)) << step.port;
        EXPECT_TRUE(driverRead());
        zqspool::CZQViewPass nested(view);  // shares the outer pass's answers
        EXPECT_FALSE(driverRead());
        EXPECT_FALSE(bins3(L"USB001", nullptr));
    }
    EXPECT_TRUE(bins3(L"USB001", nullptr));
    EXPECT_FALSE(driverRead());
    view.Close();
    zqspool::Spooler().ClosePrinter(h);
}

// A document sheet's view asks each list once for the same printer, port and devmode, across the
// sheet's messages; a form written through the plug-in and a refresh make it ask again; a device
// sheet's view, and the media the trays hold, ask every time.
TEST_F(DeviceCaps, ADocumentSheetsViewKeepsItsListsUntilAFormChanges) {
    const WORD bins[] = {7, 1, 259};
    m_printer.SetCapability(DC_BINS, bins, 3, sizeof(WORD));
    SetNames(DC_MEDIAREADY, {L"Plain"}, 64);
    m_printer.SetCapabilityAnnounced(DC_MAXEXTENT, MAKELONG(4200, 5940));
    DEVMODEW landscape = {};
    landscape.dmSize = sizeof(DEVMODEW);
    landscape.dmOrientation = DMORIENT_LANDSCAPE;
    HANDLE h = m_printer.Open();
    zqspool::CZQPrinterDataView view;
    view.Open(h);
    // The driver calls a list costs: its size and its entries, or none.
    auto calls = [&](WORD cap, const DEVMODEW* dm) {
        const int before = m_printer.CallCount(MemCall::DeviceCapabilities);
        if (cap == DC_MAXEXTENT) {
            EXPECT_EQ(MAKELONG(4200, 5940), zqspool::Spooler().DeviceCapabilitiesW(kPrinter, L"USB001", cap, nullptr, dm));
        } else if (cap == DC_BINS) {
            DWORD n = 0;
            WORD* list = nullptr;
            EXPECT_TRUE(CZQCommon::BGetPaperSourceIndices(kPrinter, L"USB001", dm, &n, &list));
            EXPECT_EQ(3u, n);
            if (list) {
                EXPECT_EQ(259, list[2]);
            }
            LocalFree(list);
        } else {
            WCHAR names[64] = {};
            EXPECT_EQ(1, zqspool::Spooler().DeviceCapabilitiesW(kPrinter, L"USB001", cap, names, dm));
            EXPECT_STREQ(L"Plain", names);
        }
        return m_printer.CallCount(MemCall::DeviceCapabilities) - before;
    };
    FORM_INFO_1W form = {0, const_cast<PWSTR>(L"Banner"), {210000, 900000}, {0, 0, 210000, 900000}};
    const struct {
        const char* what;
        std::function<void()> before;
        WORD cap;
        const DEVMODEW* dm;
        int calls;
    } steps[] = {
        {"a device sheet asks", [&] { view.KeepDeviceLists(false); }, DC_BINS, nullptr, 2},
        {"and asks again", nullptr, DC_BINS, nullptr, 2},
        {"a document sheet asks once", [&] { view.KeepDeviceLists(true); }, DC_BINS, nullptr, 2},
        {"then answers itself", nullptr, DC_BINS, nullptr, 0},
        {"another devmode asks", nullptr, DC_BINS, &landscape, 2},
        {"the largest paper once too", nullptr, DC_MAXEXTENT, nullptr, 1},
        {"and then from the view", nullptr, DC_MAXEXTENT, nullptr, 0},
        {"the media loaded are asked each time", nullptr, DC_MEDIAREADY, nullptr, 1},
        {"and again", nullptr, DC_MEDIAREADY, nullptr, 1},
        {"a form added through the plug-in asks again",
         [&] { EXPECT_TRUE(zqspool::Spooler().AddFormW(h, 1, reinterpret_cast<BYTE*>(&form))); }, DC_BINS, nullptr, 2},
        {"a form removed too", [&] { EXPECT_TRUE(zqspool::Spooler().DeleteFormW(h, form.pName)); }, DC_BINS, nullptr, 2},
        {"a refresh too", [&] { view.Refresh(); }, DC_BINS, nullptr, 2},
        {"nothing kept once closed", [&] { view.Close(); }, DC_BINS, nullptr, 2},
    };
    for (const auto& step : steps) {
        if (step.before) step.before();
        EXPECT_EQ(step.calls, calls(step.cap, step.dm)) << step.what;
    }
    zqspool::Spooler().ClosePrinter(h);
}

}  // namespace

// A sheet's changes each ask with a devmode of their own: the view holds a few answers per list
// however many changes came, the latest answered without a call.
TEST_F(DeviceCaps, ThousandsOfChangesKeepTheViewsListsBounded) {
    const WORD bins[] = {7, 1, 259};
    m_printer.SetCapability(DC_BINS, bins, 3, sizeof(WORD));
    HANDLE h = m_printer.Open();
    zqspool::CZQPrinterDataView view;
    view.Open(h);
    view.KeepDeviceLists(true);
    DEVMODEW dm = {};
    dm.dmSize = sizeof(DEVMODEW);
    auto ask = [&] {
        const int before = m_printer.CallCount(MemCall::DeviceCapabilities);
        DWORD n = 0;
        WORD* list = nullptr;
        EXPECT_TRUE(CZQCommon::BGetPaperSourceIndices(kPrinter, L"USB001", &dm, &n, &list));
        EXPECT_EQ(3u, n);
        LocalFree(list);
        return m_printer.CallCount(MemCall::DeviceCapabilities) - before;
    };
    size_t heldEarly = 0;
    for (int change = 1; change <= 3000; ++change) {
        dm.dmScale = static_cast<short>(change);
        ASSERT_EQ(2, ask()) << change;
        ASSERT_EQ(0, ask()) << change;
        if (change == 10) heldEarly = view.HeldDeviceLists();
    }
    EXPECT_EQ(heldEarly, view.HeldDeviceLists());
    EXPECT_LE(view.HeldDeviceLists(), 8u);
    // The change before the last is still held.
    dm.dmScale = 2999;
    EXPECT_EQ(0, ask());
    zqspool::Spooler().ClosePrinter(h);
}
