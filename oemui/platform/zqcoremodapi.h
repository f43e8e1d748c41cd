// The status module zqcoremod.dll: the string resources of every text the plug-in shows, and the two
// dialogs it exports. Shared by the plug-in and the stand-in so both sides agree on the records.
#pragma once

#include <windows.h>

#include <cstddef>

inline constexpr const wchar_t* kZQCoreModFile = L"zqcoremod.dll";

#pragma pack(push, 1)
// Display-dialog request, handed over by value (1,060 bytes).
struct ZQDisplayRequest {
    WCHAR szCoreModPath[256];  // filled by the plug-in: path of zqcoremod
    WCHAR szHelpFile[256];     // filled by the plug-in: the driver's help file
    BYTE abData[24];           // 1024: set by the driver's rendering side
    DWORD dwShow;              // 1048: 1 = show
    BYTE abTail[8];            // 1052
};

// Job-storage dialog request, handed over by value (2,712 bytes).
struct ZQJobStorageRequest {
    WCHAR szUserName[17];      // 0
    WCHAR szJobName[17];       // 34
    WCHAR szPrinterName[256];  // 68
    WCHAR szPortName[256];     // 580
    WCHAR szLocation[256];     // 1092
    BYTE abRestrictedUserGuid[76];  // 1604: raw printer data "ZQRestrictedUserGuid"
    DWORD dwOptionA;           // 1680
    DWORD dwOptionB;           // 1684
    WCHAR szCoreModPath[256];  // 1688
    WCHAR szHelpFile[256];     // 2200
};
#pragma pack(pop)

static_assert(sizeof(ZQDisplayRequest) == 1060, "display request size");
static_assert(offsetof(ZQDisplayRequest, dwShow) == 1048, "display request show flag");
static_assert(sizeof(ZQJobStorageRequest) == 2712, "job-storage request size");
static_assert(offsetof(ZQJobStorageRequest, abRestrictedUserGuid) == 1604, "job-storage request layout");
static_assert(offsetof(ZQJobStorageRequest, szCoreModPath) == 1688, "job-storage request layout");

// Exports of the status module.
typedef void(WINAPI* PFN_VDisplayDialog)(ZQDisplayRequest request);
typedef void(WINAPI* PFN_VJobStorageDialog)(ZQJobStorageRequest request);
