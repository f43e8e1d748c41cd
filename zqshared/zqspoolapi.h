// The table of spooler functions through which the plug-in reaches the print spooler, resolved at
// run time (the plug-in implements the accessors). Shared with the in-memory printer, which installs
// a table of its own in place of the real spooler.
#pragma once

#include <windows.h>
#include <winspool.h>

namespace zqspool {

struct SpoolerApi {
    decltype(&::OpenPrinterW) OpenPrinterW;
    decltype(&::ClosePrinter) ClosePrinter;
    decltype(&::GetPrinterW) GetPrinterW;
    decltype(&::SetPrinterW) SetPrinterW;
    decltype(&::EnumPrintProcessorsW) EnumPrintProcessorsW;
    decltype(&::EnumPrintProcessorDatatypesW) EnumPrintProcessorDatatypesW;
    decltype(&::GetPrinterDriverW) GetPrinterDriverW;
    decltype(&::GetPrinterDriverDirectoryW) GetPrinterDriverDirectoryW;
    decltype(&::GetPrintProcessorDirectoryW) GetPrintProcessorDirectoryW;
    decltype(&::GetJobW) GetJobW;
    decltype(&::GetPrinterDataW) GetPrinterDataW;
    decltype(&::GetPrinterDataExW) GetPrinterDataExW;
    decltype(&::SetPrinterDataW) SetPrinterDataW;
    decltype(&::SetPrinterDataExW) SetPrinterDataExW;
    decltype(&::DeletePrinterDataW) DeletePrinterDataW;
    decltype(&::DeletePrinterDataExW) DeletePrinterDataExW;
    decltype(&::DeletePrinterKeyW) DeletePrinterKeyW;
    decltype(&::EnumPrinterDataW) EnumPrinterDataW;
    decltype(&::EnumPrinterDataExW) EnumPrinterDataExW;
    decltype(&::EnumPrinterKeyW) EnumPrinterKeyW;
    decltype(&::EnumFormsW) EnumFormsW;
    decltype(&::GetFormW) GetFormW;
    decltype(&::AddFormW) AddFormW;
    decltype(&::SetFormW) SetFormW;
    decltype(&::DeleteFormW) DeleteFormW;
    // The device-capabilities lists: replaceable on its own so tests can feed fixed lists.
    decltype(&::DeviceCapabilitiesW) DeviceCapabilitiesW;
    decltype(&::DocumentPropertiesW) DocumentPropertiesW;
    decltype(&::PrinterProperties) PrinterProperties;
};

// The table in force: an installed one, else the real spooler's.
const SpoolerApi& Spooler();

// The real spooler's table (entries the spooler does not export answer ERROR_CALL_NOT_IMPLEMENTED).
const SpoolerApi& SystemSpooler();

// A table whose every entry answers ERROR_CALL_NOT_IMPLEMENTED; a base for replacements.
SpoolerApi MissingSpooler();

// Installs a table in place of the real spooler (null restores it); returns the previous one.
// The table must outlive its installation.
const SpoolerApi* SetSpooler(const SpoolerApi* pApi);

}  // namespace zqspool
