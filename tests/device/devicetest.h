// Helpers of the device tests: the device-server stand-ins registered in the test prefix, their
// call log, and device sessions on a scripted printer.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/zqhandles.h"
#include "common/zqprintercaps.h"
#include "platform/zqdeviceservers.h"
#include "xmltestutil.h"

namespace zqdevtest {

// Calls DllRegisterServer or DllUnregisterServer of a stand-in library beside the test.
HRESULT HrLibraryRegistration(const wchar_t* library, bool bRegister);
// Runs a registration program beside the test with the argument; its exit code.
DWORD DWRunProgram(const wchar_t* program, const wchar_t* argument);
// Creates the class with the servers' context on a new thread of that apartment kind.
HRESULT HrCreateOnThread(DWORD dwCoInit, REFCLSID clsid, REFIID iid);
// A program beside the test started with the argument, not waited for: its process.
CZQHandle StartProgram(const wchar_t* program, const wchar_t* argument);
// The processes running the program (by its file name); how many are left after waiting up to
// fifteen seconds for them to end (longer than a server an earlier test started for nobody waits
// for its first caller).
std::vector<DWORD> ProcessesOf(const wchar_t* exe);
size_t LeftAfterAWhile(const wchar_t* exe);
// Every thread of the process stopped, or let go on again; how many it has.
void StopProcess(DWORD dwProcess, bool bStop);
size_t ThreadsOf(DWORD dwProcess);

// The stand-ins' call log, one entry per line.
std::vector<std::wstring> Log();
// How many log lines start with the text ("channel.Open(": the printer was asked).
int ICountCalls(const wchar_t* prefix);
// The object identifiers the log shows being set, in order.
std::vector<std::wstring> ReadIds();
void SetSwitch(const wchar_t* name, DWORD value);
// The printer's script is the file at path.
void SetScript(const wchar_t* printer, const std::wstring& path);

// The servers registered for the whole test suite, and removed after it: they start unregistered.
// Each test starts with an empty log and no switches.
class ServerTest : public zqxmltest::ComTest {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
};

// While the object lives (and bOn is set), the agent and the link are served by their programs from
// processes of their own, reached through their proxies; then their libraries serve them again.
class CServersOutOfProcess {
public:
    explicit CServersOutOfProcess(bool bOn = true);
    ~CServersOutOfProcess();
    CServersOutOfProcess(const CServersOutOfProcess&) = delete;
    CServersOutOfProcess& operator=(const CServersOutOfProcess&) = delete;

private:
    bool m_bOn;
};

// The record's items as "severity:id,id[:link]".
std::vector<std::wstring> Items(const StatusRecord& record);

// A device session while the object lives: the record holds the channel and the object list, opened
// on the printer. With a script text, that text is the printer's device.
class Session {
public:
    explicit Session(const wchar_t* printer, const std::string* script = nullptr);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
    std::vector<std::wstring> Items() const { return zqdevtest::Items(record); }
    IZQDeviceChannel* Channel() const { return static_cast<IZQDeviceChannel*>(record.pStatusObject); }
    IZQObjectList* Request() const { return static_cast<IZQObjectList*>(record.pRequest); }

    StatusRecord record;

private:
    std::unique_ptr<zqxmltest::TempFile> m_script;
};

}  // namespace zqdevtest
