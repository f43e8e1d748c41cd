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

namespace {

std::wstring ClassKey(REFCLSID clsid) {
    wchar_t guid[40] = {};
    StringFromGUID2(clsid, guid, 40);
    return std::wstring(L"CLSID\\") + guid;
}

HRESULT HrSetText(HKEY hKey, LPCWSTR pszName, const std::wstring& text) {
    return HRESULT_FROM_WIN32(RegSetValueExW(hKey, pszName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                             static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))));
}

}  // namespace

HRESULT HrUnregisterClass(REFCLSID clsid) {
    const LONG rc = RegDeleteTreeW(HKEY_CLASSES_ROOT, ClassKey(clsid).c_str());
    return rc == ERROR_FILE_NOT_FOUND ? S_OK : HRESULT_FROM_WIN32(rc);
}

HRESULT HrRegisterClass(const ServerClass& c, const std::wstring& path, bool bLocalServer) {
    HrUnregisterClass(*c.clsid);
    HKEY hClass = nullptr, hServer = nullptr;
    LONG rc = RegCreateKeyExW(HKEY_CLASSES_ROOT, ClassKey(*c.clsid).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &hClass,
                              nullptr);
    if (rc != ERROR_SUCCESS) return HRESULT_FROM_WIN32(rc);
    HRESULT hr = HrSetText(hClass, nullptr, c.description);
    if (SUCCEEDED(hr))
        hr = HRESULT_FROM_WIN32(RegCreateKeyExW(hClass, bLocalServer ? L"LocalServer32" : L"InprocServer32", 0, nullptr,
                                                0, KEY_WRITE, nullptr, &hServer, nullptr));
    // A program's path is a command line: quoted, so that a space in it cannot start another one.
    if (SUCCEEDED(hr)) hr = HrSetText(hServer, nullptr, bLocalServer ? L"\"" + path + L"\"" : path);
    if (SUCCEEDED(hr) && !bLocalServer) hr = HrSetText(hServer, L"ThreadingModel", L"Both");
    if (hServer) RegCloseKey(hServer);
    RegCloseKey(hClass);
    if (FAILED(hr)) HrUnregisterClass(*c.clsid);
    return hr;
}

bool BServedBy(REFCLSID clsid, const std::wstring& path) {
    wchar_t registered[MAX_PATH + 3] = {};
    DWORD cb = sizeof registered - sizeof(wchar_t);
    return RegGetValueW(HKEY_CLASSES_ROOT, (ClassKey(clsid) + L"\\LocalServer32").c_str(), nullptr, RRF_RT_REG_SZ,
                        nullptr, registered, &cb) == ERROR_SUCCESS &&
           _wcsicmp(registered, (L"\"" + path + L"\"").c_str()) == 0;
}

HRESULT HrRegisterServer(const ServerInfo& server, const std::wstring& path, bool bRegister, bool bLocalServer) {
    HRESULT hr = path.empty() ? HRESULT_FROM_WIN32(GetLastError()) : S_OK;
    for (size_t i = 0; SUCCEEDED(hr) && i < server.count; ++i)
        hr = bRegister ? HrRegisterClass(server.classes[i], path, bLocalServer) : HrUnregisterClass(*server.classes[i].clsid);
    return hr;
}

}  // namespace zqdev
