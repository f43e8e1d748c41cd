// What the page-exceptions stand-in records and what it answers. Under its key: "Calls" (DWORD)
// counts the calls, "Block" holds the last block received and "Record" the page-exceptions record
// as it found it. A test sets "KindsInUse" (DWORD), which the stand-in writes into the record, and
// "Answer" (DWORD), what it returns (1 without it).
#pragma once

#define ZQ_PGEXC_RECORD_KEY L"Software\\ZQStandIns\\zqpgexc"
#ifdef __cplusplus
inline constexpr const wchar_t* kZQPgExcRecordKey = ZQ_PGEXC_RECORD_KEY;
// The stand-in's file (without ".dll") and entry point, as the driver settings name them.
inline constexpr const char* kZQPgExcFile = "zqpgexc";
inline constexpr const char* kZQPgExcEntry = "ZQEditPageExceptions";
#endif
