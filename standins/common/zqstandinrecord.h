// Where the stand-in modules record what they receive: binary values under the current user's
// "Software\ZQStandIns\<module>" key, which the tests read back.
#pragma once

#include <windows.h>

namespace zqstandin {

inline void VRecordTyped(PCWSTR pszKey, PCWSTR pszValue, DWORD dwType, const void* pData, DWORD cbData) {
    HKEY hKey = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, pszKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &hKey, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExW(hKey, pszValue, 0, dwType, static_cast<const BYTE*>(pData), cbData);
    RegCloseKey(hKey);
}

inline void VRecord(PCWSTR pszKey, PCWSTR pszValue, const void* pData, DWORD cbData) {
    VRecordTyped(pszKey, pszValue, REG_BINARY, pData, cbData);
}

// A DWORD value of the key; the fall-back when it is missing.
inline DWORD DWSetting(PCWSTR pszKey, PCWSTR pszValue, DWORD dwDefault) {
    DWORD value = 0, cb = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, pszKey, pszValue, RRF_RT_REG_DWORD, nullptr, &value, &cb) != ERROR_SUCCESS)
        return dwDefault;
    return value;
}

}  // namespace zqstandin
