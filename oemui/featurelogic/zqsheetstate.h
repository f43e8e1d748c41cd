// The pages a sheet can hold, as the feature logic's per-sheet bookkeeping knows them.
#pragma once

#include <windows.h>

// Page ids, as the feature logic's page-position lookup knows them.
enum ZQPageId : int {
    kPageNone = 0,
    kPageColor = 1,
    kPageJobStorage = 3,
    kPageOutput = 4,
    kPageFinishing = 5,
    kPageEffects = 6,
    kPagePaperQuality = 7,
    kPageShortcuts = 9,
    kPageFeatures = 12,
    kPageLargeFormatFeatures = 13,
    kPageAbout = 14,
    kPageServices = 15,
    kPageInfo = 16,  // Settings Information
    kPageIdCount
};

// Sheet modes.
enum : DWORD {
    kSheetDocument = 1,
    kSheetDevice = 2,
};

// Per-sheet state of the user-interface logic: reset whenever a sheet starts.
struct ZQSheetState {
    BOOL bRtl;             // right-to-left templates
    BOOL bTitleDone;       // the version was appended to the sheet's title
    int iHighestPage;      // highest sheet position visited, -1 none
    int aiPagePosition[kPageIdCount];  // page id -> sheet position, -1 when not in the sheet
};
void ZQResetSheetState(ZQSheetState* pState);
