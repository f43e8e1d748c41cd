// Diagnostics of the conversion interface: lines appended to a plain-text trace log that several
// processes may write at once, one line at a time under a named mutex, and timing probes whose
// readings go to the debugger channel when tracing is switched on (common/zqtrace.h). Neither
// changes what the traced calls do: a log that cannot be written is left alone.
#pragma once

#include <windows.h>

namespace zqtracelog {

inline constexpr char kLogPath[] = "c:\\tarnix.log";
inline constexpr WCHAR kMutexName[] = L"Logging_Write_Mutex";
// The caller's text and the stamped line; the last two bytes of each stay zero.
inline constexpr size_t kTextBytes = 1024;
inline constexpr size_t kLineBytes = 2048;

// The line of a local time: "MAR07PM 03:04:05.006>  <text>\n" (12-hour clock, 12 for 0).
void FormatLine(const SYSTEMTIME& time, const char* pszText, char* pszLine /* kLineBytes */);

}  // namespace zqtracelog

// Formats the text (printf rules) and appends its stamped line to the trace log.
int TraceLog(const char* pszFormat, ...);
// Appends the text, stamped with the local time, to the file; -1 when the file cannot be opened,
// else the result of closing the mutex.
int WriteTraceLine(const char* pszPath, const char* pszText);

// A probe around one step of a traced call: two counter readings, reported in seconds.
class CZQPerfTimer {
public:
    CZQPerfTimer() = default;
    void VStart();
    void VStop();
    double DGetStartSeconds() const;
    double DGetStopSeconds() const;
    double DGetDeltaSeconds() const;
    // The start time, the stop time and the elapsed time in milliseconds, each a line of its own,
    // for the flags that are set.
    void VReport(LPCWSTR pszLabel, BYTE bStart, BYTE bStop, BYTE bDelta) const;
    // The callers' pattern: a label ending in ">>" starts the probe, one ending in "<<" stops it.
    void VBegin(LPCWSTR pszLabel) {
        VStart();
        VReport(pszLabel, 1, 0, 0);
    }
    void VEnd(LPCWSTR pszLabel) {
        VStop();
        VReport(pszLabel, 0, 1, 1);
    }

private:
    static double Seconds(LONGLONG llReading);
    LONGLONG m_llStart = 0;
    LONGLONG m_llStop = 0;
};
