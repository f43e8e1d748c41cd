// Waiting on a thread that owns windows: the thread answers sent messages and paints while it waits,
// and takes nothing else from its queue, so that a sheet's buttons and keys wait until the wait has
// ended and no OK or Cancel runs in the middle of what waits.
#pragma once

#include <windows.h>

// Waits for the object within the limit: WAIT_OBJECT_0, WAIT_ABANDONED_0 (a mutex whose holder ended
// without letting go: now the caller's), WAIT_TIMEOUT or WAIT_FAILED.
DWORD ZQWaitAnsweringPaint(HANDLE hObject, DWORD dwLimitMs);
