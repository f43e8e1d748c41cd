#include <windows.h>
#include <winspool.h>

#include "testsupport.h"

namespace zqtest {

void InstallWinePrinter(const wchar_t* printer, const wchar_t* driver, const wchar_t* helpFile) {
    DRIVER_INFO_3W di = {};
    di.cVersion = 3;
    di.pName = const_cast<PWSTR>(driver);
    di.pDriverPath = const_cast<PWSTR>(L"wineps.drv");
    di.pDataFile = const_cast<PWSTR>(L"generic.ppd");
    di.pConfigFile = const_cast<PWSTR>(L"wineps.drv");
    di.pHelpFile = const_cast<PWSTR>(helpFile);
    AddPrinterDriverW(nullptr, 3, reinterpret_cast<BYTE*>(&di));
    PRINTER_INFO_2W pi = {};
    pi.pPrinterName = const_cast<PWSTR>(printer);
    pi.pPortName = const_cast<PWSTR>(L"FILE:");
    pi.pDriverName = const_cast<PWSTR>(driver);
    pi.pPrintProcessor = const_cast<PWSTR>(L"WinPrint");
    pi.pDatatype = const_cast<PWSTR>(L"RAW");
    HANDLE h = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&pi));
    if (h) ClosePrinter(h);  // an existing printer from an earlier run serves as well
}

}  // namespace zqtest
