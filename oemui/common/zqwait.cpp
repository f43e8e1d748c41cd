#include "common/zqwait.h"

DWORD ZQWaitAnsweringPaint(HANDLE hObject, DWORD dwLimitMs) {
    const ULONGLONG end = GetTickCount64() + dwLimitMs;
    for (;;) {
        const ULONGLONG now = GetTickCount64();
        const DWORD left = dwLimitMs == INFINITE ? INFINITE : now < end ? static_cast<DWORD>(end - now) : 0;
        const DWORD wait = MsgWaitForMultipleObjects(1, &hObject, FALSE, left, QS_PAINT | QS_SENDMESSAGE);
        if (wait != WAIT_OBJECT_0 + 1) return wait;
        // Peeking delivers the sent messages; only paint messages are taken from the queue.
        MSG msg;
        while (PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE | PM_QS_PAINT)) DispatchMessageW(&msg);
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}
