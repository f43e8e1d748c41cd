// What the extension-module stand-ins recorded (zqextmodrecord.h), for the hook tests.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "zqextmodrecord.h"

namespace zqexttest {

// The calls in order, one line each.
inline std::vector<std::wstring> Calls() {
    std::vector<std::wstring> lines;
    DWORD cb = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, kZQExtModRecordKey, L"Log", RRF_RT_REG_MULTI_SZ, nullptr, nullptr, &cb) !=
        ERROR_SUCCESS)
        return lines;
    std::vector<wchar_t> text(cb / sizeof(wchar_t) + 2);
    if (RegGetValueW(HKEY_CURRENT_USER, kZQExtModRecordKey, L"Log", RRF_RT_REG_MULTI_SZ, nullptr, text.data(), &cb) !=
        ERROR_SUCCESS)
        return lines;
    for (const wchar_t* p = text.data(); *p; p += wcslen(p) + 1) lines.emplace_back(p);
    return lines;
}

// A fresh log and every module answering 0.
inline void Reset() { RegDeleteTreeW(HKEY_CURRENT_USER, kZQExtModRecordKey); }

// What a module's exports answer from now on.
inline void SetResult(const wchar_t* module, DWORD result) {
    RegSetKeyValueW(HKEY_CURRENT_USER, kZQExtModRecordKey, (std::wstring(L"Result.") + module).c_str(), REG_DWORD,
                    &result, sizeof result);
}

}  // namespace zqexttest
