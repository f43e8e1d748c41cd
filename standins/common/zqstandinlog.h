// The call log of a stand-in: one line per call in the REG_MULTI_SZ value "Log" under the current
// user's "Software\ZQStandIns\<module>" key, which the tests read back and delete to start afresh.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace zqstandin {

// Appends one line. Callers on several threads or processes take turns on the named mutex; a log
// nobody empties (a long-lived prefix) starts again rather than growing without end.
inline void VAppendLog(PCWSTR pszKey, PCWSTR pszMutex, const std::wstring& line) {
    constexpr size_t kMaxLogChars = 1 << 20;
    HANDLE mutex = CreateMutexW(nullptr, FALSE, pszMutex);
    if (mutex) WaitForSingleObject(mutex, 5000);
    HKEY hKey = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, pszKey, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &hKey,
                        nullptr) == ERROR_SUCCESS) {
        std::vector<wchar_t> log;
        DWORD cb = 0, type = 0;
        if (RegQueryValueExW(hKey, L"Log", nullptr, &type, nullptr, &cb) == ERROR_SUCCESS && type == REG_MULTI_SZ &&
            cb) {
            log.resize(cb / sizeof(wchar_t) + 1);
            if (RegQueryValueExW(hKey, L"Log", nullptr, &type, reinterpret_cast<BYTE*>(log.data()), &cb) !=
                ERROR_SUCCESS)
                log.clear();
            else
                log.resize(cb / sizeof(wchar_t));
        }
        // Drop the list's closing zeros, add the line and close the list again.
        while (!log.empty() && log.back() == L'\0') log.pop_back();
        if (log.size() > kMaxLogChars) log.clear();
        if (!log.empty()) log.push_back(L'\0');
        log.insert(log.end(), line.begin(), line.end());
        log.push_back(L'\0');
        log.push_back(L'\0');
        RegSetValueExW(hKey, L"Log", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(log.data()),
                       static_cast<DWORD>(log.size() * sizeof(wchar_t)));
        RegCloseKey(hKey);
    }
    if (mutex) {
        ReleaseMutex(mutex);
        CloseHandle(mutex);
    }
}

// A text in double quotes, or (null).
inline std::wstring Quoted(PCWSTR psz) { return psz ? L"\"" + std::wstring(psz) + L"\"" : std::wstring(L"(null)"); }

inline bool EndsWithNoCase(const std::wstring& text, const wchar_t* tail) {
    const size_t n = wcslen(tail);
    return text.size() >= n && _wcsicmp(text.c_str() + text.size() - n, tail) == 0;
}

// Full path of a module.
inline std::wstring ModulePath(HMODULE hModule) {
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameW(hModule, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) return std::wstring(path.data(), n);
        path.resize(path.size() * 2);
    }
}

}  // namespace zqstandin
