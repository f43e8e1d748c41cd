#include "featurelogic/zqsheetstate.h"

void ZQResetSheetState(ZQSheetState* pState) {
    if (!pState) return;
    pState->bRtl = FALSE;
    pState->bTitleDone = FALSE;
    pState->iHighestPage = -1;
    for (int& position : pState->aiPagePosition) position = -1;
}
