// The media-code table: the printer reports the loaded media as a number, the driver names media
// types by option keywords of "MediaType". Rows are searched in table order; the first match wins.
#pragma once

#include <windows.h>

// The code of a media keyword (compared without regard to case); *pdwCode is 0 first. FALSE for a
// missing argument or an unknown keyword.
BOOL BMediaCodeFromName(PCWSTR pszKeyword, DWORD* pdwCode);
// The keyword of the first row with this code, at most cchName - 1 characters (the buffer is
// zero-filled first). FALSE for no buffer, code 0, a capacity below 1 or an unknown code.
BOOL BGetMediaNameFromCode(DWORD dwCode, PWSTR pszName, int cchName);
