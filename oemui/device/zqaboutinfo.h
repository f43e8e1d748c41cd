// What the About page tells about the installed driver: the version texts of its files, the line
// naming the driver with the status module's version, and the history of how the printer was
// configured, read from the printer's data.
#pragma once

#include "common/zqcommon.h"

// Every text here fits a list line of the About page.
inline constexpr size_t kAboutLineChars = 256;

// The file's version from its version resource ("6.0.0.4"), else the date of its last write as
// month.day.year ("3.14.2006", the day as stored, no time-zone conversion); empty when the file
// cannot be opened. TRUE when a text was made.
BOOL BGetFileVersionText(PCWSTR pszPath, PWSTR pszText /* kAboutLineChars */);
// The file's list line: its name without the path, upper-cased and padded to 12 characters, two
// tabs and its version text.
void VFormatFileLine(PCWSTR pszPath, PWSTR pszLine /* kAboutLineChars */);
// The driver's name followed by a version in brackets: the status module's, or, when the status
// module is not among the driver's dependent files, the last dependent file's (empty when that
// file cannot be read).
void VFormatDriverNameLine(const DRIVER_INFO_3W& info, PWSTR pszLine /* kAboutLineChars */);
// The file of the printer's print processor in the print-processor directory of the printer's
// server (empty: this machine); FALSE when that file cannot be opened for reading.
BOOL BGetPrintProcessorFile(PCWSTR pszServer, PCWSTR pszFile, PWSTR pszPath /* MAX_PATH */);

// A stored date ("MM/DD/YYYY:hh:mm:ss", Coordinated Universal Time) as a short date of the user's
// locale in local time. A text that does not parse, is 255 characters or longer, or names a time
// that cannot be is copied as it stands (cut to the buffer), and the answer is FALSE.
BOOL BFormatStoredDate(PCWSTR pszStored, PWSTR pszText /* kAboutLineChars */);

// One configuration-status line: its string id and the date it carries (empty: none).
struct ZQStatusLine {
    INT id;
    WCHAR szDate[kAboutLineChars];
};
inline constexpr int kMaxStatusLines = 4;

// The configuration-status lines the printer's data says ("InstallDate", the per-user
// "EACStatus", "DMCStatus", "PrnPropChng", "NotifyDate"), in order; their number. A value that is
// missing, cannot be read, or has the wrong type or size adds no line of its own.
int IReadConfigStatus(HANDLE hPrinter, ZQStatusLine* pLines /* kMaxStatusLines */);
// The line's text from the status module (its English text when the string is missing), with
// its date behind it when the line carries one.
void VFormatStatusLine(CZQCommon& texts, const ZQStatusLine& line, PWSTR pszText /* kAboutLineChars */);
