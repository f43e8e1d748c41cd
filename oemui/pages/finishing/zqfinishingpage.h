// CZQFinishingTab: the Finishing page object, one among the plug-in object's page objects. Other
// pages reach into it for its poster control and poster flag, and for the tiles of a poster.
#pragma once

#include "pages/zqpages.h"

class CZQFinishingTab : public CZQTabBase {
public:
    // Tiles per side of a poster option: 2, 3, 4 or 5 for options 0 to 3; 2 otherwise.
    static int IPosterTilesPerSide(int iPosterOption);

    // The pages-per-sheet box's poster control: the Paper/Quality page disables it when the paper
    // or media ends poster printing.
    HWND m_hPosterControl = nullptr;
    // Set while the pages-per-sheet box shows a poster; the Paper/Quality page clears it when the
    // paper needs scaling from a large paper.
    BOOL m_bPoster = FALSE;
};
