// The configuration-manager stand-in as the settings tests drive it: its call log, its switches,
// and configuration files written by the test.
#pragma once

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "testsupport.h"
#include "zqcfgmgrrecord.h"

namespace zqcfgtest {

// The stand-in starts afresh: no log, no switches.
inline void ResetStandIn() { RegDeleteTreeW(HKEY_CURRENT_USER, kZQCfgMgrRecordKey); }

inline void SetSwitch(const wchar_t* name, DWORD value) {
    RegSetKeyValueW(HKEY_CURRENT_USER, kZQCfgMgrRecordKey, name, REG_DWORD, &value, sizeof value);
}
inline void SetSwitch(const wchar_t* name, const std::wstring& text, DWORD type = REG_SZ) {
    RegSetKeyValueW(HKEY_CURRENT_USER, kZQCfgMgrRecordKey, name, type, text.c_str(),
                    static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

inline std::vector<std::wstring> Log() { return zqtest::StandInLog(kZQCfgMgrRecordKey); }

// Log lines that start with the text.
inline std::vector<std::wstring> Calls(const std::wstring& start) {
    std::vector<std::wstring> found;
    for (const std::wstring& line : Log())
        if (line.compare(0, start.size(), start) == 0) found.push_back(line);
    return found;
}

inline bool Logged(const std::wstring& line) {
    const std::vector<std::wstring> lines = Log();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// The stand-in's line of an export call.
inline std::wstring ExportLine(const std::wstring& path, const std::wstring& value, int result = 1) {
    return L"DMCSetExport(\"" + path + L"\", \"" + value + L"\") = " + std::to_wstring(result) +
           (result ? L"" : L" (refused)");
}

inline bool WriteFileText(const std::wstring& path, const std::string& text) {
    std::ofstream file(std::filesystem::path(path), std::ios::binary);
    return static_cast<bool>(file << text);
}

inline std::string ReadFileText(const std::wstring& path) {
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

}  // namespace zqcfgtest
