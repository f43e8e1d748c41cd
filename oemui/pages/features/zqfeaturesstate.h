// The Features page's records: what the page keeps between its windows besides its controls and
// parts, and which controls of its print-quality group the printer has.
#pragma once

#include <windows.h>

#include "formats/zqusermedium.h"

// What the page keeps between its windows besides its controls.
struct ZQFeaturesState {
    // The maker's media-adding tool (the value "Path" of its machine key, 256 bytes), read when
    // "Add Paper..." is chosen.
    static constexpr size_t kAddPaperChars = 128;
    // How the document is sized: actual size, on another paper, or a percentage of normal size.
    enum : int { kActualSize = 0, kPrintDocOn = 1, kPercentage = 2 };

    BOOL bMediaTypePopup = FALSE;  // the short lists of pop-up mode
    BOOL bPaperSizePopup = FALSE;
    BOOL bMediaLocked = FALSE;     // the configuration manager locks the media type
    int iResizeMode = kActualSize;
    BOOL bPreserveLayout = TRUE;   // mirror of the preserve-layout box
    BOOL bUserMediumChosen = FALSE;  // one of the user's own media is the chosen media type
    int iUserMedium = -1;            // its entry in the user media table
    WCHAR szUserMedium[kZQUserMediumChars] = {};
    // A media type was chosen on the page.
    BOOL bMediumPicked = FALSE;
    // The user medium the media tool is told is chosen; -1 for none.
    int IChosenUserMedium() const { return bUserMediumChosen ? iUserMedium : -1; }
    // The tool is told each time the page is left: none only after a choice on the page, so that
    // settings on another medium leave the user's record (which medium a placeholder is) alone.
    bool BTellsMediaTool() const { return bMediumPicked || IChosenUserMedium() != -1; }
    // Set by a paper-size change: the next refill of the source list returns to the source the rules
    // remember, once. Kept per page: two sheets of one process do not share it.
    BOOL bRestoreSourceOnce = FALSE;
    WCHAR szAddPaperPath[kAddPaperChars] = {};
    // The configuration manager locks the paper source.
    BOOL bSourceLocked = FALSE;
    // The maker's printing help is offered for the page.
    BOOL bPrintingHelp = FALSE;
    // The print-quality group wrote the resolution read-out.
    BOOL bResolutionShown = FALSE;
    // The size of the document as the sample page's label shows it.
    static constexpr size_t kDocumentSizeChars = 256;
    WCHAR szDocumentSize[kDocumentSizeChars] = {};

    // Resizing: the bounds of a percentage (the template has no percentage box: they bound the
    // stored scale), the destination entry last chosen, and the form chosen while the printer
    // scales documents from its large papers.
    static constexpr int kScaleMinimum = 25;
    static constexpr int kScaleMaximum = 400;
    BOOL bFitAllowed = TRUE;
    int iDestIndex = 0;
    BOOL bScaleFromLarge = FALSE;
    WCHAR szSelectedForm[256] = {};
    // Layout: the configuration manager locks two-sided printing; a poster chosen in the
    // pages-per-sheet list, with its option (1..3).
    BOOL bDuplexLocked = FALSE;
    BOOL bPosterSelected = FALSE;
    int iPosterOption = 0;
};

// Which controls of the print-quality group the printer has, in the order of the group.
struct ZQQualityGroupVisibility {
    DWORD dwQualityList;
    DWORD dwGloss;
    DWORD dwThriftmode;
    DWORD dwOptimizeFor;
    DWORD dwMaximumDetail;
    DWORD dwPhotoFeatures;
    DWORD dwQuietPrinting;
};
