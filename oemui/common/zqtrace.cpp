#include "common/zqtrace.h"

#include <atomic>

#include "common/zqstorenames.h"

namespace {

// -1 until the switch is read.
std::atomic<int> g_enabled{-1};

bool ReadSwitch() {
#ifndef NDEBUG
    return true;
#else
    const DWORD lastError = GetLastError();
    bool on = false;
    wchar_t value[8] = {};
    const DWORD n = GetEnvironmentVariableW(L"ZQOEMUI_TRACE", value, 8);
    if (n > 0 && n < 8) {
        on = lstrcmpW(value, L"0") != 0;
    } else {
        DWORD data = 0, type = 0, size = sizeof data;
        on = RegGetValueW(HKEY_CURRENT_USER, zqsettings::kTraceSwitchKey, zqsettings::kTraceSwitch, RRF_RT_REG_DWORD,
                          &type, &data, &size) == ERROR_SUCCESS &&
             data != 0;
    }
    SetLastError(lastError);
    return on;
#endif
}

}  // namespace

namespace zqtrace {

bool Enabled() {
    int state = g_enabled.load(std::memory_order_relaxed);
    if (state < 0) {
        state = ReadSwitch() ? 1 : 0;
        g_enabled.store(state, std::memory_order_relaxed);
    }
    return state != 0;
}

}  // namespace zqtrace
