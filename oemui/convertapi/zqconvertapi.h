// The exported conversion interface: other programs turn a stored ticket into a devmode of this
// driver, or a devmode into a ticket, through the printer's own user interface running in their
// process.
//
// Staged form: InitializeConvertAPI once (it hands out the run GUID), then per conversion either
// ReadTicket and ConvertTicketEx, or ConvertDevModeEx, and KillConvertAPI at the end. One-call
// form: ConvertTicket or ConvertDevmode. The devmode is the caller's whole buffer (dmSize +
// dmDriverExtra bytes, as the driver sizes it), changed in place.
//
// Threads: every export may be called from any thread, and from several at once.
// - Each run GUID is a run of its own: runs on different GUIDs go on side by side and never see
//   each other's printer, ticket, flags or snapshot. Calls on one GUID take turns; a GUID after its
//   KillConvertAPI, or one this process never handed out, is refused like GUID_NULL (9).
// - Each one-call conversion is a run of its own (a run GUID in the devmode's tag record); a
//   devmode without the driver's private part carries none, and such calls take turns.
// - Ticket reads take turns (the configuration manager keeps one session per process), and so do
//   devmode-to-ticket conversions, with every other conversion's driver call in this process and
//   with those of other processes: the printer's export switches are the printer's.
// - A run must not be ended while the devmode of one of its calls is still in use elsewhere.
#pragma once

#include <windows.h>

// Results of the exports (0 for success).
enum : DWORD {
    ZQCONVERT_OK = 0,
    ZQCONVERT_NO_GUID_POINTER = 2,
    ZQCONVERT_NO_MANAGER = 3,       // the configuration manager did not load, resolve or register
    ZQCONVERT_NO_GUID = 4,          // no run GUID could be made
    ZQCONVERT_READ_FAILED = 5,      // no ticket given, or it could not be read and stored whole
    ZQCONVERT_NULL_RUN = 9,         // the run GUID is GUID_NULL, or no live run of this process
    ZQCONVERT_NO_DEVMODE = 10,
    ZQCONVERT_TAG_FAILED = 12,      // the devmode holds no empty tag record
    ZQCONVERT_UNTAG_FAILED = 13,    // the devmode no longer holds the run GUID after the driver call
    ZQCONVERT_DRIVER_FAILED = 14,   // also: the run's flags or the printer's switches could not be set,
                                    // or the switches could not be put back (kept for a later try)
    ZQCONVERT_NO_VERSION_POINTER = 16,
};

inline constexpr DWORD kZQConvertApiVersion = 2;

// Ticket types: the caller's value is handed through to the run key as decimal text, whatever it is;
// the driver side takes exactly "2" as a ticket whose applied settings are also reported to the
// ticket module item by item, and every other value as a ticket whose settings are only applied.

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
