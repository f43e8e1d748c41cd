// The Finishing page object.
#include "pages/finishing/zqfinishingpage.h"

int CZQFinishingTab::IPosterTilesPerSide(int iPosterOption) {
    return iPosterOption >= 0 && iPosterOption <= 3 ? iPosterOption + 2 : 2;
}
