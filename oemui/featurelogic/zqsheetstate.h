// The pages a sheet can hold, as the feature logic's per-sheet bookkeeping knows them, and which of
// them a sheet gets.
#pragma once

#include "platform/oemuiplatform.h"

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
    // The sheet's poster choice: the flag and its option (0..3 for 2x2 .. 5x5). The pages set and
    // clear it (the Finishing page from its pages-per-sheet list), the logic reads it, and the
    // Finishing page shows it. A new sheet keeps them, as the binding's Finishing page keeps its list.
    BOOL bPosterFlag;
    int iPosterOption;
    BOOL bItemChanged;  // an item of the core driver's list changed in this sheet
};
void ZQResetSheetState(ZQSheetState* pState);

// What decides which pages a sheet gets.
struct ZQSheetFacts {
    BOOL bSimplifiedUI;    // "ZQSimplifiedUI" can be read
    BOOL bDocUISUI;        // "ZQDocUISUI" can be read
    BOOL bLargeFormat;     // "ZQPrinterClass" is "ZQKorrix"
    BOOL bOutputFeatures;  // the driver has an item of "OutputBin", "Stapling", "StapleLocation",
                           // "Punching" or "Folding"
    BOOL bJobStorage;      // the private devmode offers job storage
    DWORD dwColorMode;     // private devmode +16 (2: colour)
    DWORD dwPdl;           // private devmode +20
    BOOL bSettingsInformation;  // "ZQSettingsInformation" is "TRUE": the document sheet is the
                                // Settings Information page alone
};

// Reads the facts from the core driver's items and its copy of the private devmode (either may
// be missing: the facts they give are then FALSE / 0).
void ZQReadSheetFacts(POEMCUIPPARAM pParam, const void* pPrivateDM, ZQSheetFacts* pFacts);
// The page ids a sheet may get, in sheet order; returns their number.
int IChooseSheetPages(const ZQSheetFacts& facts, DWORD dwSheet, int* piPageIds, int cMax);
