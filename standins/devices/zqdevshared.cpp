#include "zqdevshared.h"

#include <winspool.h>

#include <cwchar>
#include <vector>

namespace zqdev {

namespace {

constexpr size_t kMaxLogChars = 1 << 20;

// Held around the read-modify-write of the log, across threads and processes.
class CLogLock {
public:
    CLogLock() : m_mutex(CreateMutexW(nullptr, FALSE, L"Local\\ZQStandInsDeviceServerLog")) {
        if (m_mutex) WaitForSingleObject(m_mutex, 5000);
    }
    ~CLogLock() {
        if (!m_mutex) return;
        ReleaseMutex(m_mutex);
        CloseHandle(m_mutex);
    }
    CLogLock(const CLogLock&) = delete;
    CLogLock& operator=(const CLogLock&) = delete;

private:
    HANDLE m_mutex;
};

}  // namespace

bool EndsWithNoCase(const std::wstring& text, const wchar_t* tail) {
    const size_t n = wcslen(tail);
    return text.size() >= n && _wcsicmp(text.c_str() + text.size() - n, tail) == 0;
}

void VLog(const std::wstring& line) {
    CLogLock lock;
    HKEY hKey = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kZQDevServersKey, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr,
                        &hKey, nullptr) != ERROR_SUCCESS)
        return;
    std::vector<wchar_t> log;
    DWORD cb = 0, type = 0;
    if (RegQueryValueExW(hKey, L"Log", nullptr, &type, nullptr, &cb) == ERROR_SUCCESS && type == REG_MULTI_SZ && cb) {
        log.resize(cb / sizeof(wchar_t) + 1);
        if (RegQueryValueExW(hKey, L"Log", nullptr, &type, reinterpret_cast<BYTE*>(log.data()), &cb) != ERROR_SUCCESS)
            log.clear();
        else
            log.resize(cb / sizeof(wchar_t));
    }
    // Drop the list's closing zeros, add the line and close the list again. A log nobody empties
    // (a long-lived prefix) starts again rather than growing without end.
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

std::wstring HrText(HRESULT hr) {
    wchar_t text[16];
    swprintf(text, 16, L"0x%08lX", static_cast<unsigned long>(hr));
    return text;
}

std::wstring Quoted(LPCWSTR psz) { return psz ? L"\"" + std::wstring(psz) + L"\"" : std::wstring(L"(null)"); }

DWORD DWSwitch(LPCWSTR pszName, DWORD dwDefault) {
    DWORD value = 0, cb = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, kZQDevServersKey, pszName, RRF_RT_REG_DWORD, nullptr, &value, &cb) !=
        ERROR_SUCCESS)
        return dwDefault;
    return value;
}

std::wstring ScriptPathFor(LPCWSTR pszPrinterName) {
    if (!pszPrinterName || !*pszPrinterName) return {};
    wchar_t path[MAX_PATH] = {};
    DWORD cb = sizeof path;
    if (RegGetValueW(HKEY_CURRENT_USER, kZQDevScriptsKey, pszPrinterName, RRF_RT_REG_SZ, nullptr, path, &cb) ==
        ERROR_SUCCESS)
        return path;

    HANDLE hPrinter = nullptr;
    if (!OpenPrinterW(const_cast<LPWSTR>(pszPrinterName), &hPrinter, nullptr)) return {};
    std::wstring found;
    DWORD needed = 0;
    GetPrinterDriverW(hPrinter, nullptr, 3, nullptr, 0, &needed);
    std::vector<BYTE> info(needed);
    if (needed && GetPrinterDriverW(hPrinter, nullptr, 3, info.data(), needed, &needed)) {
        const auto* di = reinterpret_cast<const DRIVER_INFO_3W*>(info.data());
        for (const wchar_t* p = di->pDependentFiles; p && *p; p += wcslen(p) + 1) {
            if (EndsWithNoCase(p, L".zqd")) {
                found = p;
                break;
            }
        }
    }
    ClosePrinter(hPrinter);
    return found;
}

std::wstring ModulePath(HMODULE hModule) {
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameW(hModule, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) return std::wstring(path.data(), n);
        path.resize(path.size() * 2);
    }
}

}  // namespace zqdev
