// The network address behind a printer port: local ports, the port monitors' configuration in the
// machine's registry (seeded here), 1394 ports answered by a fake device behind the pass-through
// seam, and the "ZQEWSIPAddress" value kept from it on the in-memory printer.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "commontest.h"
#include "common/zqcommon.h"
#include "device/zqnetaddress.h"

namespace {

const std::wstring kMonitors = L"SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\";
const std::wstring kSbp2 =
    L"SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\{28d78fad-5a12-11d1-ae5b-0000f803a8c2}\\";

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
        const std::wstring a = kMonitors + L"ZQ Test Monitor A\\Ports\\", b = kMonitors + L"ZQ Test Monitor B\\Ports\\";
        SetText(a + L"LPT1:", L"IPAddress", L"10.0.0.9");
        SetText(b + L"lpt1:", L"IPAddress", L"10.0.0.5");  // key names ignore case: another monitor
        SetText(a + L"USB001", L"IPAddress", L"10.0.0.6");
        SetText(a + L"ZQNET_HOST", L"IPAddress", L"");
        SetText(a + L"ZQNET_HOST", L"HostName", L"printer.example");
        SetText(a + L"ZQNET_ID", L"IPAddress", L"");
        SetText(a + L"ZQNET_ID", L"HostName", L"");
        SetText(a + L"ZQNET_ID", L"ZQNetworkPrinterID", L"ZQ-0042");
        SetText(a + L"ZQNET_NOHOST", L"IPAddress", L"");
        SetText(a + L"ZQNET_EMPTY", L"IPAddress", L"");
        SetText(a + L"ZQNET_EMPTY", L"HostName", L"");
        SetText(a + L"ZQNET_EMPTY", L"ZQNetworkPrinterID", L"");
        SetText(a + L"ZQNET_BOTH", L"IPAddress", L"10.0.0.1");
        SetText(b + L"ZQNET_BOTH", L"IPAddress", L"10.0.0.2");
        SetText(a + L"ZQNET_LATER", L"HostName", L"only.a.host");  // no IPAddress: this monitor is left
        SetText(b + L"ZQNET_LATER", L"IPAddress", L"10.1.1.1");
        const DWORD number = 0x0A000001;
        SetValue(a + L"ZQNET_DWORD", L"IPAddress", REG_DWORD, &number, sizeof number);
        const wchar_t unterminated[] = {L'1', L'0', L'.', L'0'};
        SetValue(a + L"ZQNET_UNTERMINATED", L"IPAddress", REG_SZ, unterminated, sizeof unterminated);
        SetText(a + L"ZQNET_LONG", L"IPAddress", std::wstring(256, L'a'));  // fits 520 bytes, not the address
        SetText(a + L"ZQNET_HUGE", L"IPAddress", std::wstring(300, L'a'));
        SetText(b + L"ZQNET_ONLY_B", L"IPAddress", L"10.2.2.2");
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
        {L"LPT1:", ZQADDR_NONE, L""},
        {L"FILE:", ZQADDR_NONE, L""},
        {L"COM4:", ZQADDR_NONE, L""},
        {L"USB001", ZQADDR_NONE, L""},
        {L"lpt1:", ZQADDR_FOUND, L"10.0.0.5"},
        // IPAddress, then HostName, then the maker's identifier.
        {L"ZQNET_HOST", ZQADDR_FOUND, L"printer.example"},
        {L"ZQNET_ID", ZQADDR_FOUND, L"ZQ-0042"},
        {L"ZQNET_NOHOST", ZQADDR_NONE, L""},
        {L"ZQNET_EMPTY", ZQADDR_NONE, L""},
        // The first monitor listing the port answers; one without an IPAddress is passed over.
        {L"ZQNET_BOTH", ZQADDR_FOUND, L"10.0.0.1"},
        {L"ZQNET_LATER", ZQADDR_FOUND, L"10.1.1.1"},
        // Values of another type, unterminated or too long are missing.
        {L"ZQNET_DWORD", ZQADDR_NONE, L""},
        {L"ZQNET_UNTERMINATED", ZQADDR_NONE, L""},
        {L"ZQNET_LONG", ZQADDR_NONE, L""},
        {L"ZQNET_HUGE", ZQADDR_NONE, L""},
        // A port no monitor lists, or listed under another case.
        {L"ZQNET_NOWHERE", ZQADDR_NONE, L""},
        {L"zqnet_host", ZQADDR_NONE, L""},
        {L"", ZQADDR_NONE, L""},
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
    size_t given;        // bytes it reports in DataTransferLength
    BYTE address[4];     // bytes 36-39
    bool opens = true;
};
std::map<std::wstring, FakeDevice> g_devices;
std::vector<std::wstring> g_asked;

BOOL FakeInquiry(LPCWSTR pszDevicePath, ZQInquiryBlock* pBlock) {
    g_asked.push_back(pszDevicePath);
    const SCSI_PASS_THROUGH_DIRECT& s = pBlock->sptd;
    // The block the port driver gets: the x64 record with the sense data right behind it.
    EXPECT_EQ(sizeof(SCSI_PASS_THROUGH_DIRECT), s.Length);
    EXPECT_EQ(0, s.PathId);
    EXPECT_EQ(1, s.TargetId);
    EXPECT_EQ(0, s.Lun);
    EXPECT_EQ(6, s.CdbLength);
    EXPECT_EQ(24, s.SenseInfoLength);
    EXPECT_EQ(SCSI_IOCTL_DATA_IN, s.DataIn);
    EXPECT_EQ(512u, s.DataTransferLength);
    EXPECT_EQ(2u, s.TimeOutValue);
    EXPECT_EQ(offsetof(ZQInquiryBlock, abSense), s.SenseInfoOffset);
    const BYTE cdb[16] = {0x12, 0, 0, 0, 40, 0};  // INQUIRY of 40 bytes: the address is in 36-39
    EXPECT_EQ(0, std::memcmp(cdb, s.Cdb, sizeof cdb));
    EXPECT_NE(nullptr, s.DataBuffer);
    const auto device = g_devices.find(pszDevicePath);
    if (device == g_devices.end() || !device->second.opens) return FALSE;
    BYTE* data = static_cast<BYTE*>(s.DataBuffer);
    for (size_t i = 0; i < 512; ++i) EXPECT_EQ(0, data[i]) << "a zero-filled buffer";
    std::memcpy(data + 36, device->second.address, 4);
    pBlock->sptd.DataTransferLength = static_cast<ULONG>(device->second.given);
    return TRUE;
}

class FirewirePorts : public ::testing::Test {
protected:
    void SetUp() override {
        g_devices.clear();
        g_asked.clear();
        ZQSetDeviceInquiry(&FakeInquiry);
        // Port, its device's symbolic link, and what the device answers.
        AddDevice(L"dev1", L"1394_", 1, L"\\\\?\\SBP2#ZQ&Printer#1", {40, {192, 168, 1, 20}});
        AddDevice(L"dev2", L"1394_", 2, L"\\\\?\\1394#ZQ&Camera#2", {40, {10, 0, 0, 2}});
        AddDevice(L"dev3", L"1394_", 3, L"\\\\?\\SBP2#ZQ&Printer#3", {40, {0, 0, 0, 0}});
        AddDevice(L"dev4", L"1394_", 4, L"\\\\?\\SBP2#ZQ&Printer#4", {36, {10, 0, 0, 4}});
        AddDevice(L"dev5", L"1394_", 5, L"\\\\?\\SBP2#ZQ&Printer#5", {40, {10, 0, 0, 5}, false});
        AddDevice(L"dev6", L"OTHER_", 6, L"\\\\?\\SBP2#ZQ&Printer#6", {40, {10, 0, 0, 6}});
        AddDevice(L"dev7", L"1394_", 7, L"\\\\?\\SBP2#ZQ&Printer#7", {512, {10, 0, 0, 7}});
        SetText(kSbp2 + L"dev8\\#\\Device Parameters", L"Base Name", L"1394_");
        SetText(kSbp2 + L"dev8\\#\\Device Parameters", L"Port Number", L"8");  // not a number
        SetText(kSbp2 + L"dev8\\#", L"SymbolicLink", L"\\\\?\\SBP2#ZQ&Printer#8");
        g_devices[L"\\\\?\\SBP2#ZQ&Printer#8"] = {40, {10, 0, 0, 8}};
    }
    void TearDown() override {
        ZQSetDeviceInquiry(nullptr);
        for (const wchar_t* d : {L"dev1", L"dev2", L"dev3", L"dev4", L"dev5", L"dev6", L"dev7", L"dev8"})
            RegDeleteTreeW(HKEY_LOCAL_MACHINE, (kSbp2 + d).c_str());
    }
    void AddDevice(const wchar_t* device, const wchar_t* base, DWORD port, const wchar_t* link, FakeDevice answer) {
        const std::wstring key = kSbp2 + device + L"\\#";
        SetText(key + L"\\Device Parameters", L"Base Name", base);
        SetValue(key + L"\\Device Parameters", L"Port Number", REG_DWORD, &port, sizeof port);
        SetText(key, L"SymbolicLink", link);
        g_devices[link] = answer;
    }
};

TEST_F(FirewirePorts, DevicesAnswerWithTheirAddress) {
    const struct {
        const wchar_t* port;
        DWORD result;
        const wchar_t* address;
        bool asked;
    } cases[] = {
        {L"1394_1", ZQADDR_FOUND, L"192.168.1.20", true},
        {L"1394_001", ZQADDR_FOUND, L"192.168.1.20", true},
        {L"1394_7", ZQADDR_FOUND, L"10.0.0.7", true},
        {L"1394_2", ZQADDR_NONE, L"", false},                 // no SBP2 link
        {L"1394_3", ZQADDR_NO_DEVICE_ANSWER, L"", true},      // four zero bytes
        {L"1394_4", ZQADDR_NO_DEVICE_ANSWER, L"", true},      // an answer too short to hold them
        {L"1394_5", ZQADDR_NO_DEVICE_ANSWER, L"", true},      // the device cannot be opened
        {L"1394_6", ZQADDR_NONE, L"", false},                 // another base name
        {L"1394_8", ZQADDR_NONE, L"", false},                 // a port number of the wrong type
        {L"1394_9", ZQADDR_NONE, L"", false},                 // no such device
        {L"1394_1x", ZQADDR_NONE, L"", false},
        {L"1394_", ZQADDR_NONE, L"", false},
        {L"1394_99999999999", ZQADDR_NONE, L"", false},
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
    const struct {
        const char* name;
        const wchar_t* port;
        int result;
        const wchar_t* stored;
        void (*setup)(zqspool::CZQMemoryPrinter&);
    } cases[] = {
        {"host name", L"ZQNET_HOST", 1, L"printer.example,0", nullptr},
        {"local port: deleted", L"FILE:", 0, L"(none)", nullptr},
        {"none, nothing to delete", L"ZQNET_EMPTY", 0, L"(none)", nullptr},
        {"address", L"ZQNET_BOTH", 1, L"10.0.0.1,0", nullptr},
        // A printer of a server, or data the user may not write, is left as it is.
        {"server printer", L"FILE:", -1, L"10.0.0.1,0", [](zqspool::CZQMemoryPrinter& p) { p.Identity().server = L"\\\\srv"; }},
        {"read-only", L"FILE:", -1, L"10.0.0.1,0", [](zqspool::CZQMemoryPrinter& p) { p.SetReadOnly(true); }},
        // A spooler that cannot delete printer data (as Wine's) keeps the old value: reported.
        {"no delete", L"FILE:", -1, L"10.0.0.1,0",
         [](zqspool::CZQMemoryPrinter& p) { p.FailCall(zqspool::MemCall::DeletePrinterData, ERROR_CALL_NOT_IMPLEMENTED); }},
        {"write refused", L"ZQNET_ID", -1, L"10.0.0.1,0",
         [](zqspool::CZQMemoryPrinter& p) { p.FailCall(zqspool::MemCall::SetPrinterData, ERROR_ACCESS_DENIED); }},
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
