// The Paper/Quality page's records: which optional controls of its quality group the printer has,
// the dialogs it owns, and what it keeps between its windows besides its parts.
#pragma once

#include <windows.h>

#include "pages/dialogs/zqcustompaperdlg.h"
#include "pages/dialogs/zqcustomqualitydlg.h"
#include "pages/dialogs/zqimageenhancedlg.h"
#include "pages/dialogs/zqmarginsdlg.h"
#include "pages/dialogs/zqnewmediadlg.h"

// Which optional controls of the quality group have a feature behind them.
enum ZQQualityPresence : int {
    kHasQualityList,      // "PrintQualityGroup"
    kHasGloss,            // "PrintFinish"
    kHasThriftmode,       // "Thriftmode" ("JCLThriftmode" under PostScript)
    kHasOptimizeFor,      // "ZQOptimizeFor"
    kHasMaxDetail,        // "ZQMaximumDetail"
    kHasImageEnhancement, // any of the photo enhancements
    kHasQuietPrinting,    // "ZQQuietPrinting"
    kPresenceCount
};

// VRefresh modes.
enum : int { kRefreshShow = 0, kRefreshStore = 2 };

// The dialogs the page opens (pages/dialogs/), each owned for the page's whole life.
struct ZQPaperQualityDialogs {
    CZQCustomPaperDlg customPaper;
    CZQNewMediaDlg newMedia;
    CZQCustomQualityDlg customQuality;
    CZQMarginsDlg margins;
};

// What the page keeps between its windows besides its parts.
struct ZQPaperQualityState {
    static constexpr size_t kDimensionsChars = 256;
    static constexpr size_t kCommandChars = 260;

    int iSliderPosition = 0;
    BOOL bMediaTypePopup = FALSE;   // the short lists of pop-up mode
    BOOL bPaperSizePopup = FALSE;
    BOOL bFormUnchanged = TRUE;     // the form is the first of the recent paper sizes
    BOOL bRollBackGuard = TRUE;     // off while a rejected media type gives way
    BOOL bSourceLocked = FALSE;     // locked by the administrator
    BOOL bMediaLocked = FALSE;
    BOOL bPrintingHelp = FALSE;
    BOOL bPageExceptionsChanged = FALSE;  // the module reported a change; apply clears it
    DWORD adwMarkers[3] = {};       // first, other and last pages take a paper of their own
    DWORD adwCoversInUse[4] = {};   // as the logic's cover flags
    HWND hTooltip = nullptr;        // the page's, destroyed with its window
    HWND hSizeDropList = nullptr;
    // The paper's dimensions as the page draws them beside the paper-size label.
    WCHAR szDimensions[kDimensionsChars] = {};
    // Four quoted words: the program, the printer, the user's locale and "add_paper"; one double
    // quote alone when the program's key is missing.
    WCHAR szAddPaperCommand[kCommandChars] = {};
    bool BCommandNamesProgram() const { return szAddPaperCommand[0] && szAddPaperCommand[1]; }
};
