// CZQFinishingTab: the Finishing page object, one among the plug-in object's page objects. So far it
// lends every preview filler the tiles per side of a poster.
#pragma once

#include "pages/zqpages.h"

class CZQFinishingTab : public CZQTabBase {
public:
    // Tiles per side of a poster option: 2, 3, 4 or 5 for options 0 to 3; 2 otherwise.
    static int IPosterTilesPerSide(int iPosterOption);
};
