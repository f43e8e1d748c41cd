// Installing a sample printer with the core driver stand-in, as a printer setup program does:
// the driver files go to the printer-driver directory, then the driver and a printer are added.
#pragma once

#include <string>
#include <vector>

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <compstui.h>
#include <winddiui.h>

// File name of the core driver stand-in (driver and configuration file of every sample printer).
inline constexpr wchar_t kZQCoreUIDll[] = L"zqcoreui.dll";

struct ZQInstallResult {
    std::wstring printerName;
    std::wstring driverName;
    std::vector<std::wstring> copied;
    std::vector<std::wstring> skipped;  // modules named by the model that the build did not make
    bool added = false;                  // a new printer: its printer event INITIALIZE ran
    std::wstring error;
};

// modelPath: the model file (its Files and Strings lie beside it); binDir: where the core driver
// stand-in, the plug-in and the modules were built. printerName empty: the model's name. port: the
// spooler's port a new printer sits on ("FILE:" is never asked for the device's state).
// An existing printer of that name keeps its settings; the driver files are refreshed. A new
// printer gets the printer event INITIALIZE, as the spooler sends it where it has one.
BOOL ZQInstallPrinter(const std::wstring& modelPath, const std::wstring& binDir, const std::wstring& printerName,
                      ZQInstallResult& out, const std::wstring& port = L"FILE:");
