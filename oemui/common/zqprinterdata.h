// Printer-data values read and written whole, whatever their type, and values that belong together
// (a count and its records, a store's entries and its counter) changed as one step.
#pragma once

#include <windows.h>

#include "common/zqhandles.h"

// A value under a key (null: at the root) into a new zero-filled block with two zero bytes
// behind it; the spooler's answer: ERROR_SUCCESS, ERROR_FILE_NOT_FOUND for a value that is not
// there, else what it failed with. Sets nothing on failure.
DWORD ZQReadStoredValue(HANDLE hPrinter, PCWSTR pszKey, PCWSTR pszValue, DWORD* pdwType, CZQLocalPtr<BYTE>& data,
                        DWORD* pcbData);
DWORD ZQWriteStoredValue(HANDLE hPrinter, PCWSTR pszKey, PCWSTR pszValue, DWORD dwType, const void* pData,
                         DWORD cbData);
DWORD ZQDeleteStoredValue(HANDLE hPrinter, PCWSTR pszKey, PCWSTR pszValue);
// The same for a value of the current user's registry (the key's path below HKEY_CURRENT_USER); a
// missing key answers ERROR_FILE_NOT_FOUND.
DWORD ZQReadUserValue(PCWSTR pszKey, PCWSTR pszValue, DWORD* pdwType, CZQLocalPtr<BYTE>& data, DWORD* pcbData);

// One value of a group that changes together: its new data, or, with bDelete, its removal. The key
// is a printer-data key (null: the root), or, for a group in the current user's registry, the
// path of its key below HKEY_CURRENT_USER.
struct ZQValueChange {
    PCWSTR pszKey;
    PCWSTR pszName;
    DWORD dwType;
    const void* pData;
    DWORD cbData;
    BOOL bDelete;
};

// Changes the values so that either every change lands or each value keeps what it had: what is
// there is read first, as stored now (nothing changes when a value cannot be read), a value that
// already holds its new data (or, to be removed, is not there) is not touched, the writes go before the
// removals, and a call that fails puts back every value changed before it (one that was not there
// is removed again). A removal of a value that is not there counts as done. hPrinter null: the
// current user's registry. FALSE with the failing call's answer as last error; should putting
// back fail as well, a trace line says so.
BOOL ZQChangeValuesTogether(HANDLE hPrinter, const ZQValueChange* pChanges, size_t count);
