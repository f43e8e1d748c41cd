// The trace log and the timing probes of the conversion interface.
#include "convertapi/zqtracelog.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "common/zqstrings.h"
#include "common/zqtrace.h"

namespace {

// Indexed by the month 1 to 12; entry 0 stands for no valid month.
const char* const kMonths[13] = {"DEC", "JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                 "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};

}  // namespace

namespace zqtracelog {

void FormatLine(const SYSTEMTIME& time, const char* pszText, char* pszLine) {
    const WORD hour = time.wHour % 12;
    snprintf(pszLine, kLineBytes - 1, "%s%.2d%s %.2d:%.2d:%.2d.%.3d>  %s\n", kMonths[time.wMonth <= 12 ? time.wMonth : 0],
             time.wDay, time.wHour < 12 ? "AM" : "PM", hour ? hour : 12, time.wMinute, time.wSecond,
             time.wMilliseconds, pszText ? pszText : "");
    pszLine[kLineBytes - 2] = pszLine[kLineBytes - 1] = 0;
}

}  // namespace zqtracelog

int WriteTraceLine(const char* pszPath, const char* pszText) {
    if (!pszPath) return -1;
    SYSTEMTIME now;
    GetLocalTime(&now);
    char line[zqtracelog::kLineBytes];
    zqtracelog::FormatLine(now, pszText, line);

    // Text mode: the line end is stored as a carriage return and a line feed.
    const int file = _open(pszPath, _O_RDWR | _O_APPEND | _O_CREAT | _O_TEXT, _S_IREAD | _S_IWRITE);
    if (file < 0) return -1;
    // Lines of several threads and processes go in whole, one after the other.
    HANDLE mutex = CreateMutexW(nullptr, FALSE, zqtracelog::kMutexName);
    if (mutex && WaitForSingleObject(mutex, INFINITE) == WAIT_OBJECT_0) _write(file, line, static_cast<unsigned>(strlen(line)));
    _close(file);
    if (!mutex) return FALSE;
    ReleaseMutex(mutex);
    return CloseHandle(mutex);
}

int TraceLog(const char* pszFormat, ...) {
    if (!pszFormat) return -1;
    char text[zqtracelog::kTextBytes];
    va_list args;
    va_start(args, pszFormat);
    vsnprintf(text, sizeof text - 1, pszFormat, args);
    va_end(args);
    text[sizeof text - 2] = text[sizeof text - 1] = 0;
    return WriteTraceLine(zqtracelog::kLogPath, text);
}

void CZQPerfTimer::VStart() {
    LARGE_INTEGER now;
    if (QueryPerformanceCounter(&now)) m_llStart = now.QuadPart;
}

void CZQPerfTimer::VStop() {
    LARGE_INTEGER now;
    if (QueryPerformanceCounter(&now)) m_llStop = now.QuadPart;
}

double CZQPerfTimer::Seconds(LONGLONG llReading) {
    LARGE_INTEGER frequency;
    if (!QueryPerformanceFrequency(&frequency) || frequency.QuadPart <= 0) return 0.0;
    return static_cast<double>(llReading) / static_cast<double>(frequency.QuadPart);
}

double CZQPerfTimer::DGetStartSeconds() const { return Seconds(m_llStart); }
double CZQPerfTimer::DGetStopSeconds() const { return Seconds(m_llStop); }
double CZQPerfTimer::DGetDeltaSeconds() const { return Seconds(m_llStop - m_llStart); }

void CZQPerfTimer::VReport(LPCWSTR pszLabel, BYTE bStart, BYTE bStop, BYTE bDelta) const {
    if (!zqtrace::Enabled() || !pszLabel) return;
    WCHAR line[MAX_PATH];
    if (bStart) {
        ZQFormatText(line, MAX_PATH, L"%ls - QueryPerf Start Time: = %.3lf s", pszLabel, DGetStartSeconds());
        zqtrace::Line(line);
    }
    if (bStop) {
        ZQFormatText(line, MAX_PATH, L"%ls - QueryPerf Stop Time: = %.3lf s", pszLabel, DGetStopSeconds());
        zqtrace::Line(line);
    }
    if (bDelta) {
        ZQFormatText(line, MAX_PATH, L"%ls - QueryPerf Delta Time: = %.3lf ms", pszLabel, DGetDeltaSeconds() * 1000.0);
        zqtrace::Line(line);
    }
}
