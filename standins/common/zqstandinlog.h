// The call log of a stand-in: the last kLogLines lines of its calls, one REG_SZ value a line under
// the current user's "Software\ZQStandIns\<module>\Log" key, the value named by the line's number in
// the ring ("0000" .. "0fff"); "Next" (REG_DWORD) there counts the lines written. The tests read it
// back and delete the key to start afresh. Each call writes its own line and the counter, never the
// whole log, so a long log costs no more than a short one.
#pragma once

#include <windows.h>

#include <cwchar>
#include <string>
#include <vector>

namespace zqstandin {

inline constexpr DWORD kLogLines = 4096;

inline std::wstring LogKey(PCWSTR pszKey) { return std::wstring(pszKey) + L"\\Log"; }

inline std::wstring LogSlot(DWORD dwLine) {
    wchar_t name[8];
    swprintf(name, 8, L"%04lx", static_cast<unsigned long>(dwLine % kLogLines));
    return name;
}

// Appends one line, in place of the oldest when the ring is full. Callers on several threads or
// processes take turns on the named mutex. A process with ZQSTANDIN_LOG=0 in its environment (the
// bench) keeps no log: only the tests read it, and a measurement must not pay for its writes.
inline void VAppendLog(PCWSTR pszKey, PCWSTR pszMutex, const std::wstring& line) {
    wchar_t off[2] = {};
    if (GetEnvironmentVariableW(L"ZQSTANDIN_LOG", off, 2) == 1 && off[0] == L'0') return;
    HANDLE mutex = CreateMutexW(nullptr, FALSE, pszMutex);
    if (mutex) WaitForSingleObject(mutex, 5000);
    HKEY hKey = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, LogKey(pszKey).c_str(), 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                        nullptr, &hKey, nullptr) == ERROR_SUCCESS) {
        DWORD next = 0, cb = sizeof next, type = 0;
        if (RegQueryValueExW(hKey, L"Next", nullptr, &type, reinterpret_cast<BYTE*>(&next), &cb) != ERROR_SUCCESS ||
            type != REG_DWORD)
            next = 0;
        if (RegSetValueExW(hKey, LogSlot(next).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(line.c_str()),
                           static_cast<DWORD>((line.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS) {
            ++next;
            RegSetValueExW(hKey, L"Next", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&next), sizeof next);
        }
        RegCloseKey(hKey);
    }
    if (mutex) {
        ReleaseMutex(mutex);
        CloseHandle(mutex);
    }
}

// The lines kept, oldest first.
inline std::vector<std::wstring> ReadLog(PCWSTR pszKey) {
    std::vector<std::wstring> lines;
    HKEY hKey = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, LogKey(pszKey).c_str(), 0, KEY_QUERY_VALUE, &hKey) != ERROR_SUCCESS)
        return lines;
    DWORD next = 0, cb = sizeof next;
    if (RegGetValueW(hKey, nullptr, L"Next", RRF_RT_REG_DWORD, nullptr, &next, &cb) != ERROR_SUCCESS) next = 0;
    std::vector<wchar_t> text;
    for (DWORD line = next > kLogLines ? next - kLogLines : 0; line < next; ++line) {
        const std::wstring slot = LogSlot(line);
        cb = 0;
        if (RegGetValueW(hKey, nullptr, slot.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &cb) != ERROR_SUCCESS) continue;
        text.assign(cb / sizeof(wchar_t) + 1, 0);
        if (RegGetValueW(hKey, nullptr, slot.c_str(), RRF_RT_REG_SZ, nullptr, text.data(), &cb) == ERROR_SUCCESS)
            lines.emplace_back(text.data());
    }
    RegCloseKey(hKey);
    return lines;
}

// Empties the log; the stand-in's switches stay.
inline void VResetLog(PCWSTR pszKey) { RegDeleteTreeW(HKEY_CURRENT_USER, LogKey(pszKey).c_str()); }

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
