// What the conversion tests read of a run under the current user's key.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <sddl.h>

#include <cstring>
#include <string>

namespace zqconvtest {

// "Software\Quorvane\ZQProcID" + the run GUID's registry form, or the process id without one.
inline std::wstring RunKey(const GUID* run) {
    WCHAR id[64];
    if (run && !IsEqualGUID(*run, GUID_NULL)) StringFromGUID2(*run, id, 64);
    else wsprintfW(id, L"%lu", GetCurrentProcessId());
    return std::wstring(L"Software\\Quorvane\\ZQProcID") + id;
}

inline bool KeyExists(const std::wstring& key) {
    HKEY h = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    RegCloseKey(h);
    return true;
}

// A text or number value of the key as text; "-" when it is not there.
inline std::wstring RegText(const std::wstring& key, const wchar_t* name) {
    WCHAR text[300] = {};
    DWORD cb = sizeof text - sizeof(WCHAR), type = 0, number = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_ANY, &type, text, &cb) != ERROR_SUCCESS) return L"-";
    std::memcpy(&number, text, sizeof number);
    return type == REG_DWORD ? std::to_wstring(number) : std::wstring(text);
}

// Makes the key (created when missing) one that nobody may write to, as a protected key of the
// user's registry is: a run's value or subkey there cannot be stored. A pinned key holds a subkey
// of its own, so it cannot be deleted either. Deleting the tree above ends all that.
inline bool ProtectKey(const std::wstring& key, bool pinned = false) {
    HKEY h = nullptr;
    PSECURITY_DESCRIPTOR sd = nullptr;
    bool done = RegCreateKeyExW(HKEY_CURRENT_USER, (pinned ? key + L"\\Pinned" : key).c_str(), 0, nullptr, 0,
                                KEY_ALL_ACCESS, nullptr, &h, nullptr) == ERROR_SUCCESS;
    if (h) RegCloseKey(h);
    h = nullptr;
    done = done &&
           RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr) ==
               ERROR_SUCCESS &&
                ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(A;;KR;;;WD)", SDDL_REVISION_1, &sd, nullptr) &&
                RegSetKeySecurity(h, DACL_SECURITY_INFORMATION, sd) == ERROR_SUCCESS;
    if (sd) LocalFree(sd);
    if (h) RegCloseKey(h);
    return done;
}

}  // namespace zqconvtest
