// The network address behind a printer port: local ports, the port monitors' configuration in the
// machine's registry (seeded here), 1394 ports answered by a fake device behind the pass-through
// seam, and the "ZQEWSIPAddress" value kept from it on the in-memory printer.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "commontest.h"
#include "common/zqcommon.h"
#include "device/zqnetaddress.h"

namespace {

const std::wstring kMonitors = L"SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\";
const std::wstring kSbp2 =
    L"SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\{28d78fad-5a12-11d1-ae5b-0000f803a8c2}\\";

constexpr DWORD kNone = ZQADDR_NONE, kFound = ZQADDR_FOUND, kSilent = ZQADDR_NO_DEVICE_ANSWER;

void SetValue(const std::wstring& key, const wchar_t* name, DWORD type, const void* data, DWORD cb) {
    ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), name, type, data, cb));
}
void SetText(const std::wstring& key, const wchar_t* name, const std::wstring& text) {
    SetValue(key, name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

// Two monitors of our own (after the prefix's, in name order) and their ports.
class MonitorPorts : public ::testing::Test {
protected:
    void SetUp() override {
        const struct {
            wchar_t monitor;
            const wchar_t* port;
            const wchar_t* value;
            std::wstring text;
        } seeds[] = {
            {L'A', L"LPT1:", L"IPAddress", L"10.0.0.9"},    {L'B', L"lpt1:", L"IPAddress", L"10.0.0.5"},
            {L'A', L"USB001", L"IPAddress", L"10.0.0.6"},   {L'A', L"ZQNET_HOST", L"IPAddress", L""},
            {L'A', L"ZQNET_HOST", L"HostName", L"printer.example"},
            {L'A', L"ZQNET_ID", L"IPAddress", L""},         {L'A', L"ZQNET_ID", L"HostName", L""},
            {L'A', L"ZQNET_ID", L"ZQNetworkPrinterID", L"ZQ-0042"},
            {L'A', L"ZQNET_NOHOST", L"IPAddress", L""},     {L'A', L"ZQNET_EMPTY", L"IPAddress", L""},
            {L'A', L"ZQNET_EMPTY", L"HostName", L""},       {L'A', L"ZQNET_EMPTY", L"ZQNetworkPrinterID", L""},
            {L'A', L"ZQNET_BOTH", L"IPAddress", L"10.0.0.1"}, {L'B', L"ZQNET_BOTH", L"IPAddress", L"10.0.0.2"},
            // Without an IPAddress the first monitor is passed over.
            {L'A', L"ZQNET_LATER", L"HostName", L"only.a.host"}, {L'B', L"ZQNET_LATER", L"IPAddress", L"10.1.1.1"},
            // Fits the 520 bytes read, not the address; does not fit them.
            {L'A', L"ZQNET_LONG", L"IPAddress", std::wstring(256, L'a')},
            {L'A', L"ZQNET_HUGE", L"IPAddress", std::wstring(300, L'a')},
            {L'B', L"ZQNET_ONLY_B", L"IPAddress", L"10.2.2.2"},
        };
        for (const auto& seed : seeds) SetText(Port(seed.monitor, seed.port), seed.value, seed.text);
        const DWORD number = 0x0A000001;
        SetValue(Port(L'A', L"ZQNET_DWORD"), L"IPAddress", REG_DWORD, &number, sizeof number);
        // Four characters and no terminator (the registry ends a text whose next character is 0).
        const wchar_t unterminated[] = {L'1', L'0', L'.', L'0', L'X'};
        SetValue(Port(L'A', L"ZQNET_UNTERMINATED"), L"IPAddress", REG_SZ, unterminated, 4 * sizeof(wchar_t));
    }
    static std::wstring Port(wchar_t monitor, const wchar_t* port) {
        return kMonitors + L"ZQ Test Monitor " + monitor + L"\\Ports\\" + port;
    }
    zqtest::CScratchKey m_a{HKEY_LOCAL_MACHINE, (kMonitors + L"ZQ Test Monitor A").c_str()};
    zqtest::CScratchKey m_b{HKEY_LOCAL_MACHINE, (kMonitors + L"ZQ Test Monitor B").c_str()};
};

TEST_F(MonitorPorts, PortsAndTheirAddresses) {
    const struct {
        const wchar_t* port;
        DWORD result;
        const wchar_t* address;
    } cases[] = {
        // Local ports are never looked up; their names compare exactly.
        {L"LPT1:", kNone, L""}, {L"FILE:", kNone, L""}, {L"COM4:", kNone, L""}, {L"USB001", kNone, L""},
        {L"lpt1:", kFound, L"10.0.0.5"},
        // IPAddress, then HostName, then the maker's identifier.
        {L"ZQNET_HOST", kFound, L"printer.example"}, {L"ZQNET_ID", kFound, L"ZQ-0042"},
        {L"ZQNET_NOHOST", kNone, L""}, {L"ZQNET_EMPTY", kNone, L""},
        // The first monitor listing the port answers; one without an IPAddress is passed over.
        {L"ZQNET_BOTH", kFound, L"10.0.0.1"}, {L"ZQNET_LATER", kFound, L"10.1.1.1"},
        // Values of another type, unterminated or too long are missing.
        {L"ZQNET_DWORD", kNone, L""}, {L"ZQNET_UNTERMINATED", kNone, L""},
        {L"ZQNET_LONG", kNone, L""}, {L"ZQNET_HUGE", kNone, L""},
        // A port no monitor lists, or listed under another case.
        {L"ZQNET_NOWHERE", kNone, L""}, {L"zqnet_host", kNone, L""}, {L"", kNone, L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "port \"" << std::string(c.port, c.port + wcslen(c.port)) << "\"");
        WCHAR out[kZQAddressChars] = {};
        EXPECT_EQ(c.result, DWGetPortNetworkAddress(c.port, out));
        EXPECT_STREQ(c.address, out);
    }
    // A buffer that is not empty ends the walk after the first monitor, and is reported as found.
    WCHAR out[kZQAddressChars] = L"stale";
    EXPECT_EQ(ZQADDR_FOUND, DWFindMonitorPortAddress(L"ZQNET_ONLY_B", out));
    EXPECT_STREQ(L"stale", out);
}

// ---------------------------------------------------------------------------------------------
// 1394 ports: SBP2 devices in the device classes, a fake device behind the pass-through call
// ---------------------------------------------------------------------------------------------
struct FakeDevice {
    DWORD port;
    const wchar_t* base;  // "Base Name"
    const wchar_t* bus;   // in its symbolic link
    size_t given;         // the bytes it reports in DataTransferLength
    BYTE address[4];      // bytes 36-39
    bool opens;
};
const FakeDevice kDevices[] = {
    {1, L"1394_", L"SBP2", 40, {192, 168, 1, 20}, true}, {2, L"1394_", L"1394", 40, {10, 0, 0, 2}, true},
    {3, L"1394_", L"SBP2", 40, {0, 0, 0, 0}, true},      {4, L"1394_", L"SBP2", 36, {10, 0, 0, 4}, true},
    {5, L"1394_", L"SBP2", 40, {10, 0, 0, 5}, false},    {6, L"OTHER_", L"SBP2", 40, {10, 0, 0, 6}, true},
    {7, L"1394_", L"SBP2", 512, {10, 0, 0, 7}, true},
};
std::wstring LinkOf(const FakeDevice& d) {
    return L"\\\\?\\" + std::wstring(d.bus) + L"#ZQ&Printer#" + std::to_wstring(d.port);
}
std::wstring DeviceKey(DWORD port) { return kSbp2 + L"zqdev" + std::to_wstring(port) + L"\\#"; }
std::vector<std::wstring> g_asked;

BOOL FakeInquiry(LPCWSTR pszDevicePath, ZQInquiryBlock* pBlock) {
    g_asked.push_back(pszDevicePath);
    // The block the port driver gets: the x64 record with the sense data right behind it, one
    // INQUIRY of 40 bytes (the address is in bytes 36-39) into a zero-filled 512-byte buffer.
    const auto fields = [](const SCSI_PASS_THROUGH_DIRECT& t) {
        return std::make_tuple(t.Length, t.PathId, t.TargetId, t.Lun, t.CdbLength, t.SenseInfoLength, t.DataIn,
                               t.DataTransferLength, t.TimeOutValue, t.SenseInfoOffset,
                               std::vector<BYTE>(t.Cdb, t.Cdb + sizeof t.Cdb));
    };
    const SCSI_PASS_THROUGH_DIRECT expected = {sizeof expected, 0, 0, 1, 0, 6, 24, SCSI_IOCTL_DATA_IN, 512, 2,
                                               nullptr, offsetof(ZQInquiryBlock, abSense), {0x12, 0, 0, 0, 40, 0}};
    EXPECT_EQ(fields(expected), fields(pBlock->sptd));
    BYTE* data = static_cast<BYTE*>(pBlock->sptd.DataBuffer);
    EXPECT_EQ(std::vector<BYTE>(512, 0), std::vector<BYTE>(data, data + 512));
    for (const FakeDevice& d : kDevices) {
        if (LinkOf(d) != pszDevicePath || !d.opens) continue;
        std::memcpy(data + 36, d.address, 4);
        pBlock->sptd.DataTransferLength = static_cast<ULONG>(d.given);
        return TRUE;
    }
    return FALSE;
}

class FirewirePorts : public ::testing::Test {
protected:
    void SetUp() override {
        ZQSetDeviceInquiry(&FakeInquiry);
        for (const FakeDevice& d : kDevices) {
            SetText(DeviceKey(d.port) + L"\\Device Parameters", L"Base Name", d.base);
            SetValue(DeviceKey(d.port) + L"\\Device Parameters", L"Port Number", REG_DWORD, &d.port, sizeof d.port);
            SetText(DeviceKey(d.port), L"SymbolicLink", LinkOf(d));
        }
        // A port number of the wrong type.
        SetText(DeviceKey(8) + L"\\Device Parameters", L"Base Name", L"1394_");
        SetText(DeviceKey(8) + L"\\Device Parameters", L"Port Number", L"8");
        SetText(DeviceKey(8), L"SymbolicLink", L"\\\\?\\SBP2#ZQ&Printer#1");
    }
    void TearDown() override {
        ZQSetDeviceInquiry(nullptr);
        for (DWORD port = 1; port <= 8; ++port)
            RegDeleteTreeW(HKEY_LOCAL_MACHINE, (kSbp2 + L"zqdev" + std::to_wstring(port)).c_str());
    }
};

TEST_F(FirewirePorts, DevicesAnswerWithTheirAddress) {
    const struct {
        const wchar_t* port;
        DWORD result;
        const wchar_t* address;
        bool asked;
    } cases[] = {
        {L"1394_1", kFound, L"192.168.1.20", true}, {L"1394_001", kFound, L"192.168.1.20", true},
        {L"1394_7", kFound, L"10.0.0.7", true},
        {L"1394_3", kSilent, L"", true},  // four zero bytes
        {L"1394_4", kSilent, L"", true},  // an answer too short to hold them
        {L"1394_5", kSilent, L"", true},  // the device cannot be opened
        // No SBP2 link, another base name, a port number of the wrong type, no such device.
        {L"1394_2", kNone, L"", false}, {L"1394_6", kNone, L"", false}, {L"1394_8", kNone, L"", false},
        {L"1394_9", kNone, L"", false},
        {L"1394_1x", kNone, L"", false}, {L"1394_", kNone, L"", false}, {L"1394_99999999999", kNone, L"", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "port " << std::string(c.port, c.port + wcslen(c.port)));
        g_asked.clear();
        WCHAR out[kZQAddressChars] = {};
        EXPECT_EQ(c.result, DWGetPortNetworkAddress(c.port, out));
        EXPECT_STREQ(c.address, out);
        EXPECT_EQ(c.asked ? 1u : 0u, g_asked.size());
    }
    // The real device cannot be opened here: no answer.
    ZQSetDeviceInquiry(nullptr);
    WCHAR out[kZQAddressChars] = {};
    EXPECT_EQ(ZQADDR_NO_DEVICE_ANSWER, DWGetPortNetworkAddress(L"1394_1", out));
    HANDLE device = nullptr;
    EXPECT_EQ(ZQADDR_NO_DEVICE_ANSWER, DWOpenDevice(L"\\\\?\\SBP2#ZQ&Printer#1", &device));
    EXPECT_EQ(INVALID_HANDLE_VALUE, device);
}

// ---------------------------------------------------------------------------------------------
// "ZQEWSIPAddress" of the printer's device settings, on the in-memory printer
// ---------------------------------------------------------------------------------------------
class EwsAddress : public MonitorPorts {
protected:
    void SetUp() override {
        MonitorPorts::SetUp();
        m_printer.Install();
        m_param.cbSize = sizeof m_param;
        m_param.hPrinter = m_printer.Open();
    }
    void TearDown() override { zqspool::Spooler().ClosePrinter(m_param.hPrinter); }
    std::wstring Stored() const {
        DWORD type = 0;
        std::vector<BYTE> data;
        if (!m_printer.GetValue(zqspool::CZQMemoryPrinter::kRootKey, L"ZQEWSIPAddress", &type, &data)) return L"(none)";
        EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
        return std::wstring(reinterpret_cast<const wchar_t*>(data.data()));
    }
    zqspool::CZQMemoryPrinter m_printer;
    OEMCUIPPARAM m_param = {};
};

TEST_F(EwsAddress, StoredForTheAddressAndDeletedWithoutOne) {
    using Printer = zqspool::CZQMemoryPrinter;
    const struct {
        const char* name;
        const wchar_t* port;
        int result;
        const wchar_t* stored;
        void (*setup)(Printer&);
    } cases[] = {
        {"host name", L"ZQNET_HOST", 1, L"printer.example,0", nullptr},
        {"local port: deleted", L"FILE:", 0, L"(none)", nullptr},
        {"none, nothing to delete", L"ZQNET_EMPTY", 0, L"(none)", nullptr},
        {"address", L"ZQNET_BOTH", 1, L"10.0.0.1,0", nullptr},
        // A printer of a server, or data the user may not write, is left as it is.
        {"server printer", L"FILE:", -1, L"10.0.0.1,0", [](Printer& p) { p.Identity().server = L"\\\\srv"; }},
        {"read-only", L"FILE:", -1, L"10.0.0.1,0", [](Printer& p) { p.SetReadOnly(true); }},
        // A spooler that cannot delete printer data (as Wine's) keeps the old value: reported.
        {"no delete", L"FILE:", -1, L"10.0.0.1,0",
         [](Printer& p) { p.FailCall(zqspool::MemCall::DeletePrinterData, ERROR_CALL_NOT_IMPLEMENTED); }},
        {"write refused", L"ZQNET_ID", -1, L"10.0.0.1,0",
         [](Printer& p) { p.FailCall(zqspool::MemCall::SetPrinterData, ERROR_ACCESS_DENIED); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_printer.Identity().port = c.port;
        if (c.setup) c.setup(m_printer);
        EXPECT_EQ(c.result, CZQCommon::IUpdateEwsAddress(&m_param));
        EXPECT_EQ(c.stored, Stored());
        m_printer.Identity().server.clear();
        m_printer.SetReadOnly(false);
        m_printer.FailCall(zqspool::MemCall::DeletePrinterData, 0, 0);
        m_printer.FailCall(zqspool::MemCall::SetPrinterData, 0, 0);
    }
    EXPECT_EQ(-1, CZQCommon::IUpdateEwsAddress(nullptr));
}

}  // namespace
