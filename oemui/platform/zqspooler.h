// The one place the plug-in reaches the print spooler. Every call goes through a table of function
// pointers resolved from winspool.drv at run time, so a call a spooler lacks never becomes a static
// import: it answers ERROR_CALL_NOT_IMPLEMENTED instead. Tests install another table (the in-memory
// printer of zqmemprinter.h) in place of the real spooler.
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
    decltype(&::GetPrinterDriverW) GetPrinterDriverW;
    decltype(&::GetPrinterDriverDirectoryW) GetPrinterDriverDirectoryW;
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
