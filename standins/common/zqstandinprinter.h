// What a stand-in reads of a printer through the spooler: its driver's name and dependent files.
#pragma once

#include <windows.h>
#include <winspool.h>

#include <string>
#include <vector>

namespace zqstandin {

struct DriverFiles {
    std::wstring driverName;
    std::vector<std::wstring> dependentFiles;  // full paths, in the driver's order
};

// False when the printer cannot be opened or its driver read.
inline bool ReadDriverFiles(PCWSTR pszPrinterName, DriverFiles& out) {
    out = DriverFiles();
    HANDLE hPrinter = nullptr;
    if (!pszPrinterName || !*pszPrinterName || !OpenPrinterW(const_cast<LPWSTR>(pszPrinterName), &hPrinter, nullptr))
        return false;
    DWORD needed = 0;
    GetPrinterDriverW(hPrinter, nullptr, 3, nullptr, 0, &needed);
    std::vector<BYTE> info(needed);
    const bool read = needed && GetPrinterDriverW(hPrinter, nullptr, 3, info.data(), needed, &needed);
    ClosePrinter(hPrinter);
    if (!read) return false;
    const auto* di = reinterpret_cast<const DRIVER_INFO_3W*>(info.data());
    if (di->pName) out.driverName = di->pName;
    for (const wchar_t* p = di->pDependentFiles; p && *p; p += wcslen(p) + 1) out.dependentFiles.emplace_back(p);
    return true;
}

}  // namespace zqstandin
