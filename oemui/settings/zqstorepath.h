// Where a store of a printer lies for its restricted user: his own key below HKEY_CURRENT_USER,
// "<maker key><GUID>\<store key>", by the GUID the printer keeps for him. The one place that
// path is made.
#pragma once

#include <windows.h>

#include <string>

// The path for that GUID; empty without a GUID or a key.
std::wstring ZQUserStorePath(PCWSTR pszGuid, PCWSTR pszKey);
// The same by the GUID the printer keeps; empty when it cannot be read.
std::wstring ZQUserStorePathOf(HANDLE hPrinter, PCWSTR pszKey);
