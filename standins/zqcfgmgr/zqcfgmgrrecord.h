// What the configuration-manager stand-in records and reads, under the current user's key below.
// Shared by the stand-in and the tests.
//
// - Subkey "Log": the call log (zqstandinlog.h), one line per call, "<entry>(<arguments>) [<room>] =
//   <result> <output>", where <room> is the buffer room in characters the stand-in learnt from the
//   caller's fill. DMCSetExport names the item by its whole path ("Physical/Memory"). Tests delete
//   the key to start a fresh log.
// - Switches, read at each call:
//   "ConfigFile" (REG_SZ): the configuration file DMCStartConfig (modes 0 and 3) and
//     DMCStartExport open, whatever the printer;
//   "RegisterResult" (REG_DWORD): the HRESULT DllRegisterServer answers (S_OK without it);
//   "FailStartConfig", "FailStartExport" (REG_DWORD): non-zero, the call answers 0;
//   "Quiet" (REG_DWORD): non-zero, no call is logged (long runs, where the log is nobody's);
//   "RefuseExport" (REG_MULTI_SZ): "<path>=<value>" entries DMCSetExport refuses (answers 0),
//     compared without case.
//
// Without the "ConfigFile" switch a printer's configuration is the file named by the REG_BINARY
// value "ConfigFile" (ANSI) under HKLM "SYSTEM\CurrentControlSet\Control\Print\Printers\<driver>",
// else its driver's dependent file that ends in ".cfg". An empty queue name (a local printer)
// stands for the printer being initialised: of the local printers whose driver carries this very
// module and a ".cfg" file, those without the printer data "InstallationComplete" (never installed
// to the end), else all of them; they must all name the same configuration. An export is written back to that file, or to the file
// the printer data "ExportTicketLocation" (REG_BINARY, ANSI) names.
#pragma once

#define ZQ_CFGMGR_RECORD_KEY L"Software\\ZQStandIns\\zqcfgmgr"
#ifdef __cplusplus
inline constexpr const wchar_t* kZQCfgMgrRecordKey = ZQ_CFGMGR_RECORD_KEY;
#endif
