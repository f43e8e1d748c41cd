// What the extension-module stand-ins record and read, under the current user's key below. Shared
// by the stand-ins and the tests.
//
// - Subkey "Log": the call log (zqstandinlog.h), one line per call, "<module> <export>(<arguments>) =
//   <result>", where <module> is the module's file name without its extension ("zqexta") and the
//   arguments are: printer events: "<printer name>", event, flags, lParam; document events: escape,
//   cbIn, cbOut; property sheets: the sheet record's reason, lParam; driver events: event, level;
//   CommonUIProp: mode, the block's size. Tests delete the key to start a fresh log.
// - Switches, read at each call: "Result.<module>" (REG_DWORD), what that module's exports answer
//   (0 without it).
#pragma once

#define ZQ_EXTMOD_RECORD_KEY L"Software\\ZQStandIns\\zqextmod"
#ifdef __cplusplus
inline constexpr const wchar_t* kZQExtModRecordKey = ZQ_EXTMOD_RECORD_KEY;
#endif
