// The device-communication servers through the declarations widl writes from their IDL, which the
// plug-in and the stand-ins share: registration as a real server would do it, in-process or as a
// program with the proxies of its interface, and a query as the log records it, with the agent and
// the link in the caller's process and in processes of their own.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <utility>

#include "devicetest.h"
#include "testsupport.h"
#include "zqdevrecord.h"

namespace {

using zqdevtest::HrCreateOnThread;

std::wstring ClassValue(REFCLSID clsid, const wchar_t* server, const wchar_t* value = nullptr) {
    wchar_t guid[40] = {};
    StringFromGUID2(clsid, guid, 40);
    const std::wstring key = std::wstring(L"CLSID\\") + guid + L"\\" + server;
    wchar_t text[MAX_PATH] = {};
    DWORD cb = sizeof text;
    if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), value, RRF_RT_REG_SZ, nullptr, text, &cb) != ERROR_SUCCESS)
        return L"(none)";
    return text;
}

struct RegistrationRow {
    const wchar_t* registrar;  // a library, or a program taking -RegServer and -UnregServer
    const CLSID* clsid;
    const IID* iid;
};

const RegistrationRow kRegistrations[] = {
    {L"zqagent.dll", &CLSID_ZQDeviceAgent, &IID_IZQDeviceAgent},
    {L"zqdevapi.dll", &CLSID_ZQDeviceChannel, &IID_IZQDeviceChannel},
    {L"zqdevapi.dll", &CLSID_ZQObjectList, &IID_IZQObjectList},
    {L"zqlink.dll", &CLSID_ZQDeviceLink, &IID_IZQDeviceLink},
    {L"zqagent.exe", &CLSID_ZQDeviceAgent, &IID_IZQDeviceAgent},
    {L"zqlink.exe", &CLSID_ZQDeviceLink, &IID_IZQDeviceLink},
};

bool IsProgram(const std::wstring& name) { return name.size() > 4 && name.compare(name.size() - 4, 4, L".exe") == 0; }

HRESULT HrRegistrar(const wchar_t* registrar, bool bRegister) {
    if (IsProgram(registrar))
        return static_cast<HRESULT>(zqdevtest::DWRunProgram(registrar, bRegister ? L"-RegServer" : L"-UnregServer"));
    return zqdevtest::HrLibraryRegistration(registrar, bRegister);
}

class Registration : public zqxmltest::ComTest {};

// Unregistered, a class cannot be created from either kind of apartment; registered by its library
// (in-process, threading model Both) or by its program (a local server, reached through the proxy of
// its interface) it can, from both.
TEST_F(Registration, LibrariesAndProgramsRegisterAndRemoveThemselves) {
    for (const wchar_t* proxy : {L"zqagentps.dll", L"zqlinkps.dll"}) ASSERT_EQ(S_OK, zqdevtest::HrLibraryRegistration(proxy, true));
    for (const RegistrationRow& row : kRegistrations) {
        SCOPED_TRACE(row.registrar);
        ASSERT_EQ(S_OK, HrRegistrar(row.registrar, false));
        EXPECT_EQ(REGDB_E_CLASSNOTREG, HrCreateOnThread(COINIT_APARTMENTTHREADED, *row.clsid, *row.iid));

        ASSERT_EQ(S_OK, HrRegistrar(row.registrar, true));
        const bool program = IsProgram(row.registrar);
        EXPECT_EQ(program ? L"\"" + zqtest::BesideExe(row.registrar) + L"\"" : L"(none)",
                  ClassValue(*row.clsid, L"LocalServer32"));
        EXPECT_EQ(program ? L"(none)" : zqtest::BesideExe(row.registrar), ClassValue(*row.clsid, L"InprocServer32"));
        EXPECT_EQ(program ? L"(none)" : L"Both", ClassValue(*row.clsid, L"InprocServer32", L"ThreadingModel"));
        EXPECT_EQ(S_OK, HrCreateOnThread(COINIT_APARTMENTTHREADED, *row.clsid, *row.iid));
        EXPECT_EQ(S_OK, HrCreateOnThread(COINIT_MULTITHREADED, *row.clsid, *row.iid));

        ASSERT_EQ(S_OK, HrRegistrar(row.registrar, false));
        EXPECT_EQ(REGDB_E_CLASSNOTREG, HrCreateOnThread(COINIT_MULTITHREADED, *row.clsid, *row.iid));
    }
    // Without its proxy a program's class is out of reach: its interface cannot cross.
    ASSERT_EQ(S_OK, zqdevtest::HrLibraryRegistration(L"zqagentps.dll", false));
    ASSERT_EQ(S_OK, HrRegistrar(L"zqagent.exe", true));
    EXPECT_EQ(E_NOINTERFACE, HrCreateOnThread(COINIT_MULTITHREADED, CLSID_ZQDeviceAgent, IID_IZQDeviceAgent));
    ASSERT_EQ(S_OK, HrRegistrar(L"zqagent.exe", false));
    ASSERT_EQ(S_OK, zqdevtest::HrLibraryRegistration(L"zqlinkps.dll", false));
}

// Run by the test below in a process of its own: takes a link from its program and ends without
// giving it back, as a caller that crashes would.
TEST_F(Registration, DISABLED_CallerEndsHoldingALink) {
    IUnknown* link = nullptr;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_ZQDeviceLink, nullptr, CLSCTX_LOCAL_SERVER, IID_IUnknown,
                                     reinterpret_cast<void**>(&link)));
    ExitProcess(0);
}

// A program serving a caller that ended without releasing its objects ends with that caller,
// instead of serving nobody for good.
TEST_F(Registration, AProgramEndsWithTheCallerThatStartedIt) {
    ASSERT_EQ(S_OK, HrRegistrar(L"zqlink.exe", true));
    EXPECT_EQ(0u, zqdevtest::DWRunProgram(L"device_tests.exe", L"--gtest_also_run_disabled_tests "
                                          L"--gtest_filter=Registration.DISABLED_CallerEndsHoldingALink"));
    EXPECT_EQ(0u, zqdevtest::LeftAfterAWhile(L"zqlink.exe"));
    ASSERT_EQ(S_OK, HrRegistrar(L"zqlink.exe", false));
}

// The slots the call sites fix, each method of the shared declaration in its place: a probe of each
// interface marks the method that a call through a slot number reaches.
template <typename I>
struct Probe : I {
    std::string called;
    HRESULT Mark(const char* name) {
        called = name;
        return S_OK;
    }
    STDMETHODIMP QueryInterface(REFIID, void**) override { return Mark("QueryInterface"); }
    STDMETHODIMP_(ULONG) AddRef() override { return Mark("AddRef"); }
    STDMETHODIMP_(ULONG) Release() override { return Mark("Release"); }
};
#define ZQ_PROBE(method, ...) \
    STDMETHODIMP method(__VA_ARGS__) override { return Mark(#method); }
struct ListProbe final : Probe<IZQObjectList> {
    ZQ_PROBE(Unused1) ZQ_PROBE(Unused2) ZQ_PROBE(Unused3) ZQ_PROBE(SetObjectId, int, LPCWSTR) ZQ_PROBE(Unused5)
    ZQ_PROBE(Clear) ZQ_PROBE(Unused7) ZQ_PROBE(Unused8) ZQ_PROBE(Unused9) ZQ_PROBE(Unused10)
    ZQ_PROBE(SetValue, int, BYTE, const BYTE*, DWORD) ZQ_PROBE(GetValue, int, BYTE*, BYTE**, DWORD*)
    ZQ_PROBE(Unused13) ZQ_PROBE(Unused14) ZQ_PROBE(Unused15) ZQ_PROBE(GetStatus, int, HRESULT*)
};
struct ChannelProbe final : Probe<IZQDeviceChannel> {
    ZQ_PROBE(Open, LPCWSTR) ZQ_PROBE(Unused2) ZQ_PROBE(Get, IZQObjectList*) ZQ_PROBE(Unused4)
    ZQ_PROBE(Set, IZQObjectList*) ZQ_PROBE(Close) ZQ_PROBE(SetOptions, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD)
};
struct AgentProbe final : Probe<IZQDeviceAgent> {
    ZQ_PROBE(CheckDevice, LPCWSTR, LPCWSTR, DWORD*, DWORD*)
};
#undef ZQ_PROBE

template <typename P>
std::string CalledAt(int slot) {
    using AnySlot = ULONG_PTR(STDMETHODCALLTYPE*)(void*, ULONG_PTR, ULONG_PTR, ULONG_PTR, ULONG_PTR, ULONG_PTR,
                                                  ULONG_PTR, ULONG_PTR);
    P probe;
    void** table = *reinterpret_cast<void***>(&probe);
    reinterpret_cast<AnySlot>(table[slot])(&probe, 0, 0, 0, 0, 0, 0, 0);
    return probe.called;
}

TEST(ServerSlots, EveryCalledMethodSitsWhereTheServersHaveIt) {
    const std::pair<std::string, std::string> rows[] = {
        {CalledAt<ListProbe>(6), "SetObjectId"}, {CalledAt<ListProbe>(8), "Clear"},
        {CalledAt<ListProbe>(13), "SetValue"},   {CalledAt<ListProbe>(14), "GetValue"},
        {CalledAt<ListProbe>(18), "GetStatus"},  {CalledAt<ChannelProbe>(3), "Open"},
        {CalledAt<ChannelProbe>(5), "Get"},      {CalledAt<ChannelProbe>(7), "Set"},
        {CalledAt<ChannelProbe>(8), "Close"},    {CalledAt<ChannelProbe>(9), "SetOptions"},
        {CalledAt<AgentProbe>(3), "CheckDevice"},
    };
    for (const auto& row : rows) EXPECT_EQ(row.second, row.first);
}

class Servers : public zqdevtest::ServerTest {
protected:
    static void Query();
};

// All four classes through the shared declarations: the agent's probe, the link, and a query that
// reads an answered and an unanswered object; the same whether the agent and the link serve from
// the caller's process or from their programs' own.
TEST_F(Servers, AQueryShowsEveryCallWithItsArgumentsInTheLog) {
    for (const bool programs : {false, true}) {
        SCOPED_TRACE(programs ? "programs" : "libraries");
        zqdevtest::CServersOutOfProcess outOfProcess(programs);
        RegDeleteTreeW(HKEY_CURRENT_USER, kZQDevServersKey);
        Query();
    }
}

void Servers::Query() {
    const wchar_t* printer = L"ZQ Logged Printer";
    zqxmltest::TempFile script("1.2.3 4 01 15 \"AB\"\n1.2.4 none\n");
    zqdevtest::SetScript(printer, script.Path());

    CZQComPtr<IZQDeviceAgent> agent;
    ASSERT_EQ(S_OK, ZQCreateDeviceServer(CLSID_ZQDeviceAgent, IID_IZQDeviceAgent, agent.PutVoid()));
    DWORD answers = 0, second = 7;
    EXPECT_EQ(S_OK, agent->CheckDevice(printer, L"FILE:", &answers, &second));
    EXPECT_EQ(1u, answers);
    agent.Reset();
    CZQComPtr<IZQDeviceLink> link;
    ASSERT_EQ(S_OK, ZQCreateDeviceServer(CLSID_ZQDeviceLink, IID_IZQDeviceLink, link.PutVoid()));
    link.Reset();

    CZQComPtr<IZQDeviceChannel> channel;
    CZQComPtr<IZQObjectList> list;
    ASSERT_EQ(S_OK, ZQCreateDeviceServer(CLSID_ZQDeviceChannel, IID_IZQDeviceChannel, channel.PutVoid()));
    ASSERT_EQ(S_OK, ZQCreateDeviceServer(CLSID_ZQObjectList, IID_IZQObjectList, list.PutVoid()));
    EXPECT_EQ(S_OK, channel->Open(printer));
    EXPECT_EQ(S_OK, channel->SetOptions(0, 0, 1, DWORD(-1), DWORD(-1), DWORD(-1), DWORD(-1)));
    EXPECT_EQ(S_OK, list->Clear());
    EXPECT_EQ(S_OK, list->SetObjectId(0, L"1.2.3"));
    EXPECT_EQ(S_OK, list->SetObjectId(1, L"1.2.4"));
    EXPECT_EQ(S_FALSE, channel->Get(list.Get()));
    HRESULT status = E_FAIL;
    EXPECT_EQ(S_OK, list->GetStatus(0, &status));
    EXPECT_EQ(S_OK, status);
    BYTE type = 255, *data = nullptr;
    DWORD size = 0;
    ASSERT_EQ(S_OK, list->GetValue(0, &type, &data, &size));
    EXPECT_EQ(4, type);
    ASSERT_EQ(4u, size);
    EXPECT_EQ(0, memcmp(data, "\x01\x15" "AB", 4));
    CoTaskMemFree(data);
    const HRESULT unanswered = list->GetStatus(1, &status);
    EXPECT_TRUE(FAILED(unanswered));
    EXPECT_EQ(unanswered, status) << "the status it answers is the one it stores";
    EXPECT_EQ(S_OK, channel->Close());
    channel.Reset();
    list.Reset();

    const std::vector<std::wstring> expected = {
        L"agent.Create()",
        L"agent.CheckDevice(\"ZQ Logged Printer\", \"FILE:\") = 0x00000000 answers 1",
        L"agent.Destroy()",
        L"link.Create()",
        L"link.Destroy()",
        L"channel.Create()",
        L"list.Create()",
        L"channel.Open(\"ZQ Logged Printer\") = 0x00000000",
        L"channel.SetOptions(0, 0, 1, -1, -1, -1, -1) = 0x00000000",
        L"list.Clear() = 0x00000000",
        L"list.SetObjectId(0, \"1.2.3\") = 0x00000000",
        L"list.SetObjectId(1, \"1.2.4\") = 0x00000000",
        L"channel.Get() = 0x00000001",
        L"list.GetStatus(0) = 0x00000000",
        L"list.GetValue(0) = 0x00000000 type 4 [01 15 41 42]",
        L"list.GetStatus(1) = 0x80070490",
        L"channel.Close() = 0x00000000",
        L"channel.Destroy()",
        L"list.Destroy()",
    };
    EXPECT_EQ(expected, zqdevtest::Log());
}

}  // namespace
