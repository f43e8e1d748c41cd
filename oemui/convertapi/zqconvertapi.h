// The exported conversion interface: other programs turn a stored ticket into a devmode of this
// driver, or a devmode into a ticket, through the printer's own user interface running in their
// process.
//
// Staged form: InitializeConvertAPI once (it hands out the run GUID), then per conversion either
// ReadTicket and ConvertTicketEx, or ConvertDevModeEx, and KillConvertAPI at the end. One-call
// form: ConvertTicket or ConvertDevmode. The devmode is the caller's whole buffer (dmSize +
// dmDriverExtra bytes, as the driver sizes it), changed in place.
#pragma once

#include <windows.h>

// Results of the exports (0 for success).
enum : DWORD {
    ZQCONVERT_OK = 0,
    ZQCONVERT_NO_GUID_POINTER = 2,
    ZQCONVERT_NO_MANAGER = 3,       // the configuration manager did not load, resolve or register
    ZQCONVERT_NO_GUID = 4,          // no run GUID could be made
    ZQCONVERT_READ_FAILED = 5,
    ZQCONVERT_NULL_RUN = 9,         // the run GUID is GUID_NULL
    ZQCONVERT_NO_DEVMODE = 10,
    ZQCONVERT_TAG_FAILED = 12,      // the devmode holds no empty tag record
    ZQCONVERT_UNTAG_FAILED = 13,    // the devmode no longer holds the run GUID after the driver call
    ZQCONVERT_DRIVER_FAILED = 14,
    ZQCONVERT_NO_VERSION_POINTER = 16,
};

inline constexpr DWORD kZQConvertApiVersion = 2;

extern "C" {
DWORD WINAPI InitializeConvertAPI(LPCWSTR pszPrinterName, LPCWSTR pszDMCPath, GUID* pRunGuid);
DWORD WINAPI ReadTicket(DWORD dwTicketType, LPCWSTR pszTicketPath, GUID runGuid);
DWORD WINAPI ConvertTicketEx(DEVMODEW* pDevmode, GUID runGuid);
DWORD WINAPI ConvertDevModeEx(LPCWSTR pszTicketPath, DEVMODEW* pDevmode, GUID runGuid);
DWORD WINAPI KillConvertAPI(GUID runGuid);
DWORD WINAPI GetConvertAPIVersion(DWORD* pdwVersion);
void WINAPI ConvertTicket(LPCWSTR pszPrinterName, LPCWSTR pszTicketPath, DEVMODEW* pDevmode, LPCWSTR pszDMCPath,
                          DWORD dwTicketType);
void WINAPI ConvertDevmode(LPCWSTR pszPrinterName, LPCWSTR pszTicketPath, DEVMODEW* pDevmode, LPCWSTR pszDMCPath,
                           DWORD dwTicketType);
}
