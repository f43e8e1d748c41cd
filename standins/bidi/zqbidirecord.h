// What the stand-in of the spooler's bidirectional objects (zqbidi.dll) reads and records, under the
// current user's key below. Shared by the stand-in, the host's set-up and the tests; the stand-in
// declares the published class ids on its own.
//
// - Subkey "Log": the call log (zqstandinlog.h), one line per call, "<object>.<Method>(<arguments>) =
//   0x<result>" and what it answered; script trouble as "script ...". Tests delete it to start a
//   fresh log. The module's registration is logged with the device-server stand-ins', whose exports
//   it shares.
// - Subkey "Scripts": value <printer name> = path of that printer's bidi script (REG_SZ). Without
//   one, the script is the printer driver's dependent file that ends in ".zqb"; a printer without
//   a script has no bidirectional support (BindDevice fails).
// - Switches (REG_DWORD), read at each call: "FailBind", "FailSendRecv": the HRESULT that call
//   answers instead of working; "WrongType": non-zero, every answer comes as a BIDI_STRING text.
//
// Script: UTF-8 lines "<schema> <type> <value>", "#" starts a comment; type "int" (a decimal number),
// "bool" ("true" or "false") or "string" (a text in double quotes). A schema the script does not
// list is not answered. Any malformed line makes the whole script unreadable.
#pragma once

#define ZQ_BIDI_RECORD_KEY L"Software\\ZQStandIns\\bidi"
inline constexpr const wchar_t* kZQBidiKey = ZQ_BIDI_RECORD_KEY;
inline constexpr const wchar_t* kZQBidiScriptsKey = ZQ_BIDI_RECORD_KEY L"\\Scripts";
inline constexpr const wchar_t* kZQBidiModule = L"zqbidi.dll";
// The published class of the spooler's bidirectional interface, in its registry form.
inline constexpr const wchar_t* kZQBidiSplClassKey = L"CLSID\\{2A614240-A4C5-4C33-BD87-1BC709331639}";
