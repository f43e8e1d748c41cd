// The calls a plug-in made of the core driver stand-in in this process, counted for the benchmarks
// and the tests that count them; zqcoreui.dll hands its own counts out through ZQGetCoreCallCounts.
// Plain Windows types only, so the plug-in's tests can read them beside the plug-in's declarations.
#pragma once

#include <windows.h>

struct ZQCoreCallCounts {
    LONG lDeviceCapabilities;  // DrvDeviceCapabilities, whoever asked
    LONG lGetDriverSetting;    // the callback table's two entries
    LONG lUpdateUISetting;
    // A user's changes of an item on the core driver's own page, and the performance-counter ticks
    // they took (the commit of the selection and the plug-in's callback, not the page's refresh).
    LONG lItemChanges;
    LONGLONG llItemChangeTicks;
};
using PFN_ZQGetCoreCallCounts = void(WINAPI*)(ZQCoreCallCounts*);

// One DrvDeviceCapabilities call: the capability, whether an output room came with it, and a checksum
// of the devmode asked with (public part and driver extra; 0 for none). The tests tell a list asked
// twice for the same devmode by them.
struct ZQCoreCapsCall {
    WORD wCapability;
    BOOL bOutput;
    DWORD dwDevmodeSum;
};
// The latest calls are kept, numbered as lDeviceCapabilities counts them (the first is 0).
constexpr LONG kZQCoreCapsCallsKept = 1024;
// Copies the calls numbered lFrom and on, still kept, at most lMax of them; returns how many.
using PFN_ZQGetCoreCapsCalls = LONG(WINAPI*)(LONG lFrom, ZQCoreCapsCall* pCalls, LONG lMax);
