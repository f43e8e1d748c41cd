#include "zqdevshared.h"

#include <winspool.h>

#include <cwchar>
#include <vector>

namespace zqdev {

void VLog(const std::wstring& line) {
    zqstandin::VAppendLog(kZQDevServersKey, L"Local\\ZQStandInsDeviceServerLog", line);
}

std::wstring HrText(HRESULT hr) {
    wchar_t text[16];
    swprintf(text, 16, L"0x%08lX", static_cast<unsigned long>(hr));
    return text;
}

DWORD DWSwitch(LPCWSTR pszName, DWORD dwDefault) {
    DWORD value = 0, cb = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, kZQDevServersKey, pszName, RRF_RT_REG_DWORD, nullptr, &value, &cb) !=
        ERROR_SUCCESS)
        return dwDefault;
    return value;
}

std::wstring ScriptPathFor(LPCWSTR pszPrinterName, LPCWSTR pszScriptsKey, LPCWSTR pszEnding) {
    if (!pszPrinterName || !*pszPrinterName) return {};
    wchar_t path[MAX_PATH] = {};
    DWORD cb = sizeof path;
    if (RegGetValueW(HKEY_CURRENT_USER, pszScriptsKey, pszPrinterName, RRF_RT_REG_SZ, nullptr, path, &cb) ==
        ERROR_SUCCESS)
        return path;

    zqstandin::DriverFiles driver;
    if (!zqstandin::ReadDriverFiles(pszPrinterName, driver)) return {};
    for (const std::wstring& file : driver.dependentFiles)
        if (EndsWithNoCase(file, pszEnding)) return file;
    return {};
}

}  // namespace zqdev
