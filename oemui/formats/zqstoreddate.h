// A date the printer's data keeps as text, written by the installation and by the device
// configuration: numbers separated by "/" and ":" in the order month, day, year, hour, minute,
// second ("03/14/2006:12:30:00"), in Coordinated Universal Time. Standard C++ only.
#pragma once

#include <cstddef>

#include "formats/zqwchar.h"

struct ZQStoredDate {
    unsigned short wYear, wMonth, wDay, wHour, wMinute, wSecond;
};

// Reads the text (up to its terminator, at most cchText units). Month, day and year must be there;
// hour, minute and second may be left out (0); pieces after the sixth are ignored. False for a
// text of 255 units or more, a piece that is not one to nine decimal digits, or a time that cannot
// be (years 1601 to 30827, the day within its month, 24 hours, 60 minutes and seconds).
bool ZQParseStoredDate(const zqwchar* pszText, size_t cchText, ZQStoredDate* pDate);
