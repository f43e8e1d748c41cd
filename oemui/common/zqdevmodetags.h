// The tag record inside a whole devmode (public part and private blocks), as the plug-in's
// routines reach it.
#pragma once

#include <windows.h>

#include "formats/devmodetags.h"

class CZQDevmodeTags {
public:
    // Writes guid into the first record whose value is all zero.
    static BOOL BSetValue(BYTE* pBytes, DWORD cbSize, const GUID& guid);
    // Points *ppValue at the 16-byte value of the first record, whatever it holds.
    static BOOL BGetValue(BYTE* pBytes, DWORD cbSize, BYTE** ppValue);
    // Zeroes the value of the record holding guid.
    static BOOL BClearValue(BYTE* pBytes, DWORD cbSize, const GUID& guid);
};
