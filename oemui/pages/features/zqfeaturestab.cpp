#include "pages/features/zqfeaturestab.h"

#include "featurelogic/zquilogic.h"
#include "pages/zqpages.h"
#include "res/zqpopupids.h"

void CZQFeaturesTab::VGetMediaPopupHelpIds(HWND, DWORD* pdwTable, PageContext* pContext) {
    if (!pdwTable) return;
    pdwTable[0] = IDC_TREE_MEDIATYPE_POPUP;
    pdwTable[1] = 0;
    pdwTable[2] = pdwTable[3] = 0;
    if (!pContext || !pContext->pLogic) return;
    int help = -1;
    pContext->pLogic->IBindFeatureControl(DMPUB_MEDIATYPE, nullptr, nullptr, nullptr, OEMCUIP_DOCPROP,
                                          CZQUILogic::kBindHelp, FALSE, 0, &help);
    pdwTable[1] = help > 0 ? static_cast<DWORD>(help) : 0;
}
