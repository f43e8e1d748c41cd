// The status module zqcoremod.dll: the string resources of every text the plug-in shows, and the two
// dialog requests (exported by the warning module as well), with the block of the driver's escape
// that asks for them. Shared by the plug-in and the stand-ins so both sides agree on the records.
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
    DWORD dwOptionA;           // 1680: 1 when options A and B of the escape are both 1
    DWORD dwOptionB;           // 1684: the same
    WCHAR szCoreModPath[256];  // 1688
    WCHAR szHelpFile[256];     // 2200
};

// Escape the driver's rendering side answers, on a job's device context, with the dialogs the job
// needs at its start (output: the block below).
inline constexpr int kZQEscapeJobDialogs = 3900;

// Job-storage part of the escape's block (92 bytes).
struct ZQJobStorageEscape {
    WCHAR szUserName[17];   // 0: at most 16 characters, terminated
    WCHAR szJobName[17];    // 34
    DWORD dwEncoding;       // 68: job-name encoding, index into kZQJobNameEncodings
    DWORD dwShow;           // 72: 1 = show the job-storage dialog
    DWORD dwUseJobName;     // 76: 1 = the job name above is used
    DWORD dwOptionA;        // 80
    DWORD dwOptionB;        // 84
    DWORD dwUseUserName;    // 88: not 0 = the user name above is used
};

// The block escape 3900 fills (1,152 bytes, little-endian).
struct ZQJobDialogsEscape {
    ZQJobStorageEscape jobStorage;  // 0
    ZQDisplayRequest display;       // 92: show flag at 1,140
};
#pragma pack(pop)

// Names of the job-name encodings by their index in the escape's block.
inline constexpr const wchar_t* kZQJobNameEncodings[] = {L"INVALID_ZQENCODING", L"UTF8", L"7bitEncoding",
                                                         L"8bitEncoding", L"UTF8Subset"};

static_assert(sizeof(ZQDisplayRequest) == 1060, "display request size");
static_assert(offsetof(ZQDisplayRequest, dwShow) == 1048, "display request show flag");
static_assert(sizeof(ZQJobStorageRequest) == 2712, "job-storage request size");
static_assert(offsetof(ZQJobStorageRequest, abRestrictedUserGuid) == 1604, "job-storage request layout");
static_assert(offsetof(ZQJobStorageRequest, szCoreModPath) == 1688, "job-storage request layout");
static_assert(sizeof(ZQJobStorageEscape) == 92, "job-storage escape size");
static_assert(offsetof(ZQJobStorageEscape, dwUseUserName) == 88, "job-storage escape layout");
static_assert(sizeof(ZQJobDialogsEscape) == 1152, "escape block size");
static_assert(offsetof(ZQJobDialogsEscape, display.dwShow) == 1140, "escape block display flag");

// Exports "VDisplayDialog" and "VJobStorageDialog" (the warning module's are called; the status
// module has the same).
typedef void(WINAPI* PFN_VDisplayDialog)(ZQDisplayRequest request);
typedef void(WINAPI* PFN_VJobStorageDialog)(ZQJobStorageRequest request);
