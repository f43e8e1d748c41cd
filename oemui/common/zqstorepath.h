// Where a store of a printer lies for its restricted user: his own key, "<maker key><GUID>\<store
// key>" below HKEY_CURRENT_USER (the default user's below HKEY_USERS starts with his maker key), by
// the GUID the printer keeps for him. The one place that path is made.
#pragma once

#include <windows.h>

#include <string>

#include "common/zqstorenames.h"

// The path for that GUID below the root; without a key (null or empty) the user's key itself.
// Empty without a GUID.
std::wstring ZQUserStorePath(PCWSTR pszGuid, PCWSTR pszKey, PCWSTR pszRoot = zqsettings::kMakerKey);
// The same by the GUID the printer keeps; empty when it cannot be read.
std::wstring ZQUserStorePathOf(HANDLE hPrinter, PCWSTR pszKey, PCWSTR pszRoot = zqsettings::kMakerKey);
