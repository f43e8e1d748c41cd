// Printers for the settings tests: Wine's own spooler with a printer on its PostScript driver.
#pragma once

#include <windows.h>
#include <winspool.h>

#include "common/zqhandles.h"
#include "testsupport.h"

namespace zqtest {

inline constexpr WCHAR kSettingsPrinter[] = L"ZQ Settings Test Printer";

// Installs the printer once per process and hands out an administering handle; each test starts
// without the settings an earlier run left behind (the spooler cannot delete them itself).
class CWineSettingsPrinter {
public:
    CWineSettingsPrinter() {
        static bool installed = Install();
        (void)installed;
        ClearSettings();
        PRINTER_DEFAULTSW all = {nullptr, nullptr, PRINTER_ALL_ACCESS};
        zqspool::Spooler().OpenPrinterW(const_cast<PWSTR>(kSettingsPrinter), m_printer.Put(), &all);
    }
    HANDLE Get() const { return m_printer.Get(); }

private:
    static bool Install() {
        InstallWinePrinter(kSettingsPrinter, L"ZQ Settings Test Driver");
        return true;
    }
    static void ClearSettings() {
        static const WCHAR kPrinterKey[] = L"System\\CurrentControlSet\\Control\\Print\\Printers\\ZQ Settings Test Printer";
        CZQRegKey key;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kPrinterKey, 0, KEY_ALL_ACCESS, key.Put()) != ERROR_SUCCESS) return;
        for (const wchar_t* tree : {L"DMCDriverData", L"DMCLockData", L"OndrelDriverData"}) RegDeleteTreeW(key.Get(), tree);
        for (const wchar_t* value : {L"InstallationComplete", L"DMCStatus", L"PrnPropChng", L"Stale", L"DMCExist",
                                     L"DMCExportOnly", L"AlwaysExport"})
            RegDeleteKeyValueW(key.Get(), L"PrinterDriverData", value);
    }

    CZQPrinterHandle m_printer;
};

}  // namespace zqtest
