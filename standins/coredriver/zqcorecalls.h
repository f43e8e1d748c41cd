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
