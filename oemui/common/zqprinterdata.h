// Printer-data values read and written whole, whatever their type, and root values that belong
// together (a count and its records) written as one step.
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

// One root value to write.
struct ZQRootValue {
    PCWSTR pszName;
    DWORD dwType;
    const void* pData;
    DWORD cbData;
};

// Writes the values in their order so that either all take their new data or each keeps what it
// had: a write that fails puts the values written before it back (a value that was not there is
// deleted again). Nothing is written when what is there cannot be read first. FALSE with the
// failing call's answer as last error. Should putting back fail as well, the values disagree
// and their readers take them as missing.
BOOL ZQWriteRootValuesTogether(HANDLE hPrinter, const ZQRootValue* pValues, DWORD count /* at most 4 */);
