// Printer, driver files and printer data as the core driver stand-in reads and writes them.
#pragma once

#include <string>
#include <vector>

#include "zqowner.h"
#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <compstui.h>
#include "zqhostdm.h"
#include "zqmodel.h"

// A printer the core driver or an application opened: closed by the spooler itself (the plug-in
// reaches the spooler through its own layer instead).
struct ZQSpoolPrinterTraits {
    static HANDLE Invalid() { return nullptr; }
    static bool IsValid(HANDLE h) { return h != nullptr; }
    static void Free(HANDLE h) { ClosePrinter(h); }
};
using CZQSpoolPrinter = CZQOwner<HANDLE, ZQSpoolPrinterTraits>;

// Printer data value holding the printer-sticky selections ("Feature=Option" multi-string).
inline constexpr wchar_t kZQDeviceSettingsValue[] = L"ZQCoreDeviceSettings";

std::wstring ZQWide(const std::string& utf8);
std::string ZQUtf8(const std::wstring& text);
// ANSI (active code page) text, as the keyword callbacks hand it out.
std::string ZQAnsi(const std::wstring& text);

struct ZQDriverInfo {
    std::wstring driverName;
    std::wstring driverDir;  // directory of the installed driver files
    std::wstring dataFile;   // the model file, full path
};

// Level-3 driver information of an open printer.
BOOL ZQGetDriverInfo(HANDLE hPrinter, ZQDriverInfo& out);
// The driver directory of a DRIVER_INFO_3 whose file names may come without their directory
// (as the spooler passes them to DrvDriverEvent).
std::wstring ZQResolveDriverFile(const wchar_t* file);

// Reads a model file and the strings file it names from the same directory.
BOOL ZQLoadModel(const std::wstring& modelPath, zqmodel::Model& model, std::wstring& error);
BOOL ZQReadSmallFile(const std::wstring& path, std::string& out);

zqhostdm::Selections ZQReadDeviceSettings(HANDLE hPrinter);
BOOL ZQWriteDeviceSettings(HANDLE hPrinter, const zqhostdm::Selections& settings);

// A copy of the printer's default devmode (level 2), empty when it has none.
std::vector<BYTE> ZQReadPrinterDevmode(HANDLE hPrinter);
