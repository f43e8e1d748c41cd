// Entry/exit trace on the debugger channel: "Class::Method>>" and "Class::Method<<".
#pragma once

#include <windows.h>

class CZQTraceScope {
public:
    explicit CZQTraceScope(const wchar_t* name) : m_name(name) { Emit(L">>"); }
    ~CZQTraceScope() { Emit(L"<<"); }
    CZQTraceScope(const CZQTraceScope&) = delete;
    CZQTraceScope& operator=(const CZQTraceScope&) = delete;

private:
    // Tracing must not disturb the last error a routine reports.
    void Emit(const wchar_t* mark) const {
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
