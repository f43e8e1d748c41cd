// The calls a plug-in made of the core driver stand-in in this process, counted for the benchmarks
// and the tests that count them; zqcoreui.dll hands its own counts out through ZQGetCoreCallCounts.
// Plain Windows types only, so the plug-in's tests can read them beside the plug-in's declarations.
#pragma once

#include <windows.h>

struct ZQCoreCallCounts {
    LONG lDeviceCapabilities;  // DrvDeviceCapabilities, whoever asked
    LONG lGetDriverSetting;    // the callback table's two entries
    LONG lUpdateUISetting;
};
using PFN_ZQGetCoreCallCounts = void(WINAPI*)(ZQCoreCallCounts*);
