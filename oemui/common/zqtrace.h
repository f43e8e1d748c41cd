// Entry/exit trace on the debugger channel: "Class::Method>>" and "Class::Method<<". Debug builds
// always trace; release builds only when switched on, by the environment variable ZQOEMUI_TRACE
// (any value but "0") or the per-user registry value "ZQTrace" (REG_DWORD, not 0) under
// HKCU\Software\Quorvane, read once per process. Switched off, a trace point costs one load.
#pragma once

#include <windows.h>

namespace zqtrace {
bool Enabled();
// One line of its own on the debugger channel, when tracing is on.
inline void Line(const wchar_t* text) {
    if (!Enabled()) return;
    const DWORD lastError = GetLastError();
    OutputDebugStringW(text);
    SetLastError(lastError);
}
}  // namespace zqtrace

class CZQTraceScope {
public:
    explicit CZQTraceScope(const wchar_t* name) : m_name(zqtrace::Enabled() ? name : nullptr) { Emit(L">>"); }
    ~CZQTraceScope() { Emit(L"<<"); }
    CZQTraceScope(const CZQTraceScope&) = delete;
    CZQTraceScope& operator=(const CZQTraceScope&) = delete;

private:
    // Tracing must not disturb the last error a routine reports.
    void Emit(const wchar_t* mark) const {
        if (!m_name) return;
        const DWORD lastError = GetLastError();
        wchar_t line[160];
        lstrcpynW(line, m_name, 150);
        lstrcatW(line, mark);
        lstrcatW(line, L"\n");
        OutputDebugStringW(line);
        SetLastError(lastError);
    }
    const wchar_t* m_name;
};

#define ZQ_TRACE_CAT2(a, b) a##b
#define ZQ_TRACE_CAT(a, b) ZQ_TRACE_CAT2(a, b)
#define ZQ_TRACE(name) CZQTraceScope ZQ_TRACE_CAT(zqTrace_, __LINE__)(L##name)
