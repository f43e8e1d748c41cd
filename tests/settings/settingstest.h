// Printers for the settings tests: Wine's own spooler with a printer on its PostScript driver.
#pragma once

#include <windows.h>
#include <winspool.h>

#include "common/zqhandles.h"

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
        DRIVER_INFO_3W di = {};
        di.cVersion = 3;
        di.pName = const_cast<PWSTR>(L"ZQ Settings Test Driver");
        di.pDriverPath = const_cast<PWSTR>(L"wineps.drv");
        di.pDataFile = const_cast<PWSTR>(L"generic.ppd");
        di.pConfigFile = const_cast<PWSTR>(L"wineps.drv");
        AddPrinterDriverW(nullptr, 3, reinterpret_cast<BYTE*>(&di));
        PRINTER_INFO_2W pi = {};
        pi.pPrinterName = const_cast<PWSTR>(kSettingsPrinter);
        pi.pPortName = const_cast<PWSTR>(L"FILE:");
        pi.pDriverName = di.pName;
        pi.pPrintProcessor = const_cast<PWSTR>(L"WinPrint");
        pi.pDatatype = const_cast<PWSTR>(L"RAW");
        HANDLE h = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&pi));
        if (h) ClosePrinter(h);  // a printer from an earlier run serves as well
        return true;
    }
    static void ClearSettings() {
        static const WCHAR kPrinterKey[] = L"System\\CurrentControlSet\\Control\\Print\\Printers\\ZQ Settings Test Printer";
        CZQRegKey key;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kPrinterKey, 0, KEY_ALL_ACCESS, key.Put()) != ERROR_SUCCESS) return;
        for (const wchar_t* tree : {L"DMCDriverData", L"DMCLockData", L"OndrelDriverData"}) RegDeleteTreeW(key.Get(), tree);
        for (const wchar_t* value : {L"InstallationComplete", L"DMCStatus", L"PrnPropChng", L"Stale", L"DMCExist",
                                     L"DMCExportOnly", L"AlwaysExport", L"ZQTestOddValue"})
            RegDeleteKeyValueW(key.Get(), L"PrinterDriverData", value);
    }

    CZQPrinterHandle m_printer;
};

}  // namespace zqtest
