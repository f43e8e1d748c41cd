// What the device-server stand-ins read and record, under the current user's key below. Shared by
// the stand-ins and the tests.
//
// - Subkey "Log": the call log (zqstandinlog.h), one line per call, "<object>.<Method>(<arguments>) =
//   0x<result>" and what the call answered; script trouble as "script ...". Tests delete it to start
//   a fresh log.
// - Subkey "Scripts": value <printer name> = path of that printer's device script (REG_SZ). Without
//   one, the script is the printer driver's dependent file that ends in ".zqd".
// - Switches (REG_DWORD), read at each call:
//   "NotRegistered": bit mask of the classes whose server answers as if it were not registered;
//   "FailOpen", "FailGet", "FailCheckDevice": the HRESULT that call answers instead of working;
//   "FailStatusIndex": the index whose GetStatus fails after every Get;
//   "SilentDevice": non-zero, CheckDevice answers S_OK with no answers.
#pragma once

#include <windows.h>

#define ZQ_DEVSERVERS_RECORD_KEY L"Software\\ZQStandIns\\devices"
inline constexpr const wchar_t* kZQDevServersKey = ZQ_DEVSERVERS_RECORD_KEY;
inline constexpr const wchar_t* kZQDevScriptsKey = ZQ_DEVSERVERS_RECORD_KEY L"\\Scripts";

// Bits of "NotRegistered".
inline constexpr DWORD kZQDevAgentBit = 1;
inline constexpr DWORD kZQDevChannelBit = 2;
inline constexpr DWORD kZQDevListBit = 4;
inline constexpr DWORD kZQDevLinkBit = 8;

// Where the proxy stand-ins mark their registration: value <file name> = path (machine key).
inline constexpr const wchar_t* kZQDevProxyMarksKey = L"Software\\ZQStandIns\\Registered";
