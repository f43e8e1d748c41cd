// Shared helpers of the test executables.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace zqtest {

// Folder of the running test executable (the build's bin folder, where the DLLs are).
std::wstring ExeDir();
// Full path of a file beside the test executable.
std::wstring BesideExe(const wchar_t* name);
// A printer on Wine's PostScript driver in Wine's own spooler (installed once; later calls find it).
void InstallWinePrinter(const wchar_t* printer, const wchar_t* driver, const wchar_t* helpFile = nullptr);

// A stand-in's call log under the current user's key, oldest line first; emptied, its switches kept.
std::vector<std::wstring> StandInLog(const wchar_t* key);
void ResetStandInLog(const wchar_t* key);
// The command line the logging program (zqcmdlog.exe) last ran with, waited for a while when one is
// expected, a short moment when not; "" when none came. The record is emptied for the next start.
std::wstring LoggedCommandLine(bool expected);

// Titles of a property sheet's tabs, in order.
std::vector<std::wstring> TabTitles(HWND sheet);

// Bytes placed against an inaccessible page: reading one byte past their end faults.
class CGuardedBytes {
public:
    explicit CGuardedBytes(const std::vector<BYTE>& bytes);
    ~CGuardedBytes();
    CGuardedBytes(const CGuardedBytes&) = delete;
    CGuardedBytes& operator=(const CGuardedBytes&) = delete;
    BYTE* Begin() const { return m_begin; }
    BYTE* End() const { return m_base + m_page; }

private:
    BYTE* m_base = nullptr;
    BYTE* m_begin = nullptr;
    DWORD m_page = 0;
};

}  // namespace zqtest
