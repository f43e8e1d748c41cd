#include "common/zqwait.h"

#include <algorithm>
#include <vector>

namespace {

// A window that does not validate its paint is asked again at once: its paint is answered once a
// slice, not for as long as it keeps asking.
constexpr ULONGLONG kPaintSliceMs = 50;

}  // namespace

DWORD ZQWaitAnsweringPaint(HANDLE hObject, DWORD dwLimitMs) {
    const ULONGLONG end = GetTickCount64() + dwLimitMs;
    ULONGLONG nextPaint = 0;
    for (;;) {
        const ULONGLONG now = GetTickCount64();
        const DWORD left = dwLimitMs == INFINITE ? INFINITE : now < end ? static_cast<DWORD>(end - now) : 0;
        const bool paint = now >= nextPaint;
        // Until the next slice only sent messages wake the wait.
        const DWORD pause = paint ? left : static_cast<DWORD>(nextPaint - now);
        const DWORD slice = left == INFINITE ? pause : std::min(left, pause);
        const DWORD wait =
            MsgWaitForMultipleObjects(1, &hObject, FALSE, slice, QS_SENDMESSAGE | (paint ? QS_PAINT : 0));
        if (wait == WAIT_TIMEOUT && slice != left) continue;
        if (wait != WAIT_OBJECT_0 + 1) return wait;
        // Peeking delivers the sent messages; only paint messages are taken from the queue, each
        // window's once a round.
        MSG msg;
        std::vector<HWND> painted;
        while (paint && PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE | PM_QS_PAINT)) {
            if (std::find(painted.begin(), painted.end(), msg.hwnd) != painted.end()) {
                nextPaint = GetTickCount64() + kPaintSliceMs;
                break;
            }
            painted.push_back(msg.hwnd);
            DispatchMessageW(&msg);
        }
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}
