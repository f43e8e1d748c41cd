// What the warning-module stand-in records and what it answers. Under its key: "Calls" (DWORD) counts
// the warning dialogs, "IShowWarningDialog" holds the last pop-up record and
// "IShowWarningDialog#<n>" the n-th (from 1); "VDisplayDialog" and "VJobStorageDialog" hold the last
// request of each. A test sets "Answer" (DWORD) to what the warning dialog returns (IDOK without it).
#pragma once

#define ZQ_WARNMOD_RECORD_KEY L"Software\\ZQStandIns\\zqwarnmod"
#ifdef __cplusplus
inline constexpr const wchar_t* kZQWarnModRecordKey = ZQ_WARNMOD_RECORD_KEY;
#endif
