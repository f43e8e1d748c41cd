// The exports of the extension modules a driver's extension list names: each module exports one
// function per event it wants to hear, named after the event, and receives the arguments of the
// call that raised it. Every export answers a 32-bit value.
#pragma once

#include "platform/oemuiplatform.h"

// Printer events: the printer's name and the event's code, flags and lParam.
typedef LONG(WINAPI* PFN_ZQPrinterEventHook)(PWSTR pszPrinterName, INT iEvent, DWORD dwFlags, LPARAM lParam);
// Document events: the eight arguments of DocumentEvent.
typedef LONG(WINAPI* PFN_ZQDocumentEventHook)(HANDLE hPrinter, HDC hdc, INT iEsc, ULONG cbIn, PVOID pvIn, ULONG cbOut,
                                              PVOID pvOut, PINT piResult);
// Property sheets: the sheet's record and the lParam of the sheet call.
typedef LONG(WINAPI* PFN_ZQPropSheetHook)(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam);
// Driver events: the four arguments of DriverEvent.
typedef LONG(WINAPI* PFN_ZQDriverEventHook)(DWORD dwEvent, DWORD dwLevel, LPBYTE pDriverInfo, LPARAM lParam);
// CommonUIProp: its mode and block.
typedef LONG(WINAPI* PFN_ZQCommonUIPropHook)(DWORD dwMode, POEMCUIPPARAM pParam);
