// What the extension-module stand-ins recorded (zqextmodrecord.h), for the hook tests.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "testsupport.h"
#include "zqextmodrecord.h"

namespace zqexttest {

// The calls in order, one line each.
inline std::vector<std::wstring> Calls() { return zqtest::StandInLog(kZQExtModRecordKey); }

// A fresh log and every module answering 0.
inline void Reset() { RegDeleteTreeW(HKEY_CURRENT_USER, kZQExtModRecordKey); }

// What a module's exports answer from now on.
inline void SetResult(const wchar_t* module, DWORD result) {
    RegSetKeyValueW(HKEY_CURRENT_USER, kZQExtModRecordKey, (std::wstring(L"Result.") + module).c_str(), REG_DWORD,
                    &result, sizeof result);
}

}  // namespace zqexttest
