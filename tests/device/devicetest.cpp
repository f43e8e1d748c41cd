#include "devicetest.h"

#include <tlhelp32.h>

#include <thread>

#include "testsupport.h"
#include "zqdevrecord.h"

namespace zqdevtest {

HRESULT HrLibraryRegistration(const wchar_t* library, bool bRegister) {
    CZQModule module(LoadLibraryW(zqtest::BesideExe(library).c_str()));
    if (!module) return HRESULT_FROM_WIN32(GetLastError());
    using Entry = HRESULT(WINAPI*)();
    const auto entry = reinterpret_cast<Entry>(reinterpret_cast<void*>(
        GetProcAddress(module.Get(), bRegister ? "DllRegisterServer" : "DllUnregisterServer")));
    return entry ? entry() : HRESULT_FROM_WIN32(GetLastError());
}

CZQHandle StartProgram(const wchar_t* program, const wchar_t* argument) {
    std::wstring line = L"\"" + zqtest::BesideExe(program) + L"\" " + argument;
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return CZQHandle();
    CloseHandle(pi.hThread);
    return CZQHandle(pi.hProcess);
}

DWORD DWRunProgram(const wchar_t* program, const wchar_t* argument) {
    const CZQHandle process = StartProgram(program, argument);
    if (!process) return GetLastError();
    WaitForSingleObject(process.Get(), 30000);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process.Get(), &code);
    return code;
}

std::vector<DWORD> ProcessesOf(const wchar_t* exe) {
    std::vector<DWORD> found;
    CZQHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more; more = Process32NextW(snapshot.Get(), &entry))
        if (_wcsicmp(entry.szExeFile, exe) == 0) found.push_back(entry.th32ProcessID);
    return found;
}

size_t LeftAfterAWhile(const wchar_t* exe) {
    size_t left = ProcessesOf(exe).size();
    for (int i = 0; i < 150 && left; ++i, left = ProcessesOf(exe).size()) Sleep(100);
    return left;
}

void StopProcess(DWORD dwProcess, bool bStop) {
    CZQHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot.Get(), &entry); more; more = Thread32Next(snapshot.Get(), &entry)) {
        if (entry.th32OwnerProcessID != dwProcess) continue;
        CZQHandle thread(OpenThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID));
        if (!thread) continue;
        if (bStop) SuspendThread(thread.Get());
        else ResumeThread(thread.Get());
    }
}

size_t ThreadsOf(DWORD dwProcess) {
    CZQHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    size_t count = 0;
    for (BOOL more = Thread32First(snapshot.Get(), &entry); more; more = Thread32Next(snapshot.Get(), &entry))
        count += entry.th32OwnerProcessID == dwProcess;
    return count;
}

HRESULT HrCreateOnThread(DWORD dwCoInit, REFCLSID clsid, REFIID iid) {
    HRESULT hr = E_UNEXPECTED;
    std::thread([&] {
        CoInitializeEx(nullptr, dwCoInit);
        IUnknown* object = nullptr;
        hr = ZQCreateDeviceServer(clsid, iid, reinterpret_cast<void**>(&object));
        if (object) object->Release();
        CoUninitialize();
    }).join();
    return hr;
}

std::vector<std::wstring> Log() { return zqtest::StandInLog(kZQDevServersKey); }

int ICountCalls(const wchar_t* prefix) {
    int n = 0;
    for (const std::wstring& line : Log()) n += line.rfind(prefix, 0) == 0 ? 1 : 0;
    return n;
}

std::vector<std::wstring> ReadIds() {
    const std::wstring mark = L"list.SetObjectId(0, \"";
    std::vector<std::wstring> ids;
    for (const std::wstring& line : Log())
        if (line.compare(0, mark.size(), mark) == 0) ids.push_back(line.substr(mark.size(), line.find(L'"', mark.size()) - mark.size()));
    return ids;
}

void SetSwitch(const wchar_t* name, DWORD value) {
    RegSetKeyValueW(HKEY_CURRENT_USER, kZQDevServersKey, name, REG_DWORD, &value, sizeof value);
}

void SetScript(const wchar_t* printer, const std::wstring& path) {
    RegSetKeyValueW(HKEY_CURRENT_USER, kZQDevScriptsKey, printer, REG_SZ, path.c_str(),
                    static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
}

void ServerTest::SetUpTestSuite() {
    for (const wchar_t* library : {L"zqdevapi.dll", L"zqagent.dll", L"zqlink.dll"})
        ASSERT_EQ(S_OK, HrLibraryRegistration(library, true)) << library;
}

void ServerTest::TearDownTestSuite() {
    for (const wchar_t* library : {L"zqdevapi.dll", L"zqagent.dll", L"zqlink.dll"}) HrLibraryRegistration(library, false);
    RegDeleteTreeW(HKEY_CURRENT_USER, kZQDevServersKey);
}

void ServerTest::SetUp() {
    ComTest::SetUp();
    RegDeleteTreeW(HKEY_CURRENT_USER, kZQDevServersKey);
}

CServersOutOfProcess::CServersOutOfProcess(bool bOn) : m_bOn(bOn) {
    if (!m_bOn) return;
    for (const wchar_t* proxy : {L"zqagentps.dll", L"zqlinkps.dll"}) EXPECT_EQ(S_OK, HrLibraryRegistration(proxy, true));
    for (const wchar_t* program : {L"zqagent.exe", L"zqlink.exe"}) EXPECT_EQ(0u, DWRunProgram(program, L"-RegServer"));
}

CServersOutOfProcess::~CServersOutOfProcess() {
    if (!m_bOn) return;
    for (const wchar_t* library : {L"zqagent.dll", L"zqlink.dll"}) HrLibraryRegistration(library, true);
    for (const wchar_t* proxy : {L"zqagentps.dll", L"zqlinkps.dll"}) HrLibraryRegistration(proxy, false);
}

Session::Session(const wchar_t* printer, const std::string* script) {
    if (script) {
        m_script = std::make_unique<zqxmltest::TempFile>(*script);
        SetScript(printer, m_script->Path());
    }
    EXPECT_EQ(S_OK, ZQCreateDeviceServer(CLSID_ZQDeviceChannel, IID_IZQDeviceChannel,
                                         reinterpret_cast<void**>(&record.pStatusObject)));
    EXPECT_EQ(S_OK, ZQCreateDeviceServer(CLSID_ZQObjectList, IID_IZQObjectList, reinterpret_cast<void**>(&record.pRequest)));
    if (!Channel()) return;
    EXPECT_EQ(S_OK, Channel()->Open(printer));
    EXPECT_EQ(S_OK, Channel()->SetOptions(0, 0, 1, DWORD(-1), DWORD(-1), DWORD(-1), DWORD(-1)));
    StatusRecord::BSetText(&record.pszPrinterName, printer);
}

Session::~Session() {
    if (Channel()) Channel()->Close();
}

std::vector<std::wstring> Items(const StatusRecord& record) {
    std::vector<std::wstring> items;
    for (int i = 0; i < record.items.GetCount(); ++i) {
        const StatusItem& item = record.items.At(i);
        std::wstring text = std::to_wstring(item.dwSeverity) + L":";
        for (int k = 0; k < item.ids.GetCount(); ++k) text += (k ? L"," : L"") + std::to_wstring(item.ids.At(k));
        if (item.pszLink) text += std::wstring(L":") + item.pszLink;
        items.push_back(text);
    }
    return items;
}

}  // namespace zqdevtest
