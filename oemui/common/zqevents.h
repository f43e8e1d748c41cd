// Printer data the printer events record. Each routine takes an open printer handle with the
// rights to write printer data; TRUE when it wrote (or, for the print processor, found it set),
// else FALSE with the failing call's answer as last error.
#pragma once

#include <windows.h>

// The maker's print processor, registered under the name of its file.
inline constexpr const wchar_t* kZQPrintProcessor = L"ZQPROCMOD.DLL";

// "ZQTrayCount" (REG_DWORD) and "ZQTRAYINFOREGDATA" (REG_BINARY): one record per paper source,
// its name (at most 22 characters, so a record never passes the readers' 52 bytes) and its id, in
// the byte stream. Both are written as one step: on failure both keep what they held.
BOOL ZQStoreTrayInfo(HANDLE hPrinter, PCWSTR pszPrinterName, PCWSTR pszPort);
// The same record from paper-source lists already read (ids, and names of kBinNameChars characters
// each), so a pass that holds them does not ask the driver again.
BOOL ZQStoreTrayRecord(HANDLE hPrinter, const WORD* pBins, PCWSTR pNames, DWORD dwCount);
// One tray of the tray record.
inline constexpr size_t kTrayNameChars = 24;
struct ZQTrayRecord {
    WCHAR szName[kTrayNameChars];
    DWORD dwId;
};
// The tray record as a new zero-filled list the caller frees. The count must match the records
// the value holds exactly; a count and records written apart are missing data (FALSE, last error
// 13), as is a value of another type; else FALSE with the spooler's answer.
BOOL ZQReadTrayInfo(HANDLE hPrinter, ZQTrayRecord** ppTrays, DWORD* pdwCount);
// "ZQMEDIAINFOREGDATA" (REG_BINARY): one record per media type, its name (at most 63 characters)
// and its id; the value's size ends the list.
BOOL ZQStoreMediaInfo(HANDLE hPrinter, PCWSTR pszPrinterName, PCWSTR pszPort);
// Sets the maker's print processor on the printer when the spooler has it installed.
BOOL ZQSetMakerPrintProcessor(HANDLE hPrinter);
// The printer-data work of the INITIALIZE printer event: the restricted users' key name, the tray
// and media records, the print processor and the serial number.
void ZQInitializePrinter(PCWSTR pszPrinterName);
// "SerialNumber" (REG_SZ) from the printer's answer "SERIAL_NUMBER", when it has answered.
BOOL ZQStoreSerialNumber(HANDLE hPrinter);
