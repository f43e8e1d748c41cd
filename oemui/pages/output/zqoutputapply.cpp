// The Output page in its sheet: every control set from the settings (refresh mode 0) when the page
// starts and whenever it comes to the front, the finishing choices settled when it is left (mode
// 2), and on OK or Apply its result reported; the last page the user visited also synchronises
// the devmodes and exports them.
#include "common/zqkeywords.h"
#include "formats/zquidevmode.h"
#include "pages/output/zqoutputpage.h"
#include "pages/zqpageitems.h"
#include "res/zqoutputids.h"

#include <commctrl.h>

using namespace zqpage;

// The title id of the page, recorded as the page to open the sheet on when it is left.
static constexpr int kOutputTitleId = 4029;

LRESULT CZQOutputTab::IOnNotify(HWND hDlg, const NMHDR* pHeader, PageContext* pContext) {
    switch (pHeader->code) {
        case PSN_SETACTIVE: VOnSetActive(pContext); return 0;
        case PSN_KILLACTIVE: VRefresh(pContext, 2); return 0;
        case PSN_APPLY: return ApplyPage(pContext, kPageOutput);
        // The sheet undoes the changes; the page only stops counting as changed.
        case PSN_RESET: SendMessageW(GetParent(hDlg), PSM_UNCHANGED, reinterpret_cast<WPARAM>(hDlg), 0); return 0;
        default: return 0;
    }
}

// ---------------------------------------------------------------------------------------------
// Refresh
// ---------------------------------------------------------------------------------------------
void CZQOutputTab::VRefresh(PageContext* pContext, int iMode) {
    if (!WorkOf(pContext) || !m_pCUIParam) {
        SetLastError(ERROR_INVALID_DATA);
        return;
    }
    if (iMode == 0) VSetAllControls(pContext);
    else if (iMode == 2) VApplyOnLeave(pContext);
}

void CZQOutputTab::VApplyOnLeave(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    const POEMCUIPPARAM param = m_pCUIParam;
    logic.IBindFeatureControl(0, zqkw::kOutputBin, m_controls.Item(IDC_CBO_BIN), nullptr, OEMCUIP_DOCPROP,
                              CZQUILogic::kBindApply, FALSE, 0, nullptr);
    // Stapled sets leave through the first bin.
    POPTITEM staple = FeatureItem(param, PszStapleFeature(pContext));
    if (staple && staple->Sel != 0 && StaplingAccessory(logic.IGetOutputAccessoryCode())) {
        CZQCommon::DWSelectOptionByIndex(param, zqkw::kOutputBin, 0, OEMCUIP_DOCPROP);
        VShowFeature(pContext, zqkw::kOutputBin, IDC_CBO_BIN);
    }
    VRunFaceControlMediaMacros(pContext);
    // PostScript delivers face up in reverse order.
    POPTITEM delivery = FeatureItem(param, zqkw::kFaceControl);
    if (PostScript(pContext) && delivery && delivery->Sel == 1) logic.ISetPageOrderItems(TRUE);
    logic.VUpdateOutputBinFaceUp();
    VRecordFinishingIndices(pContext);
    // Leaving the page makes it the page the sheet opens on, whether or not anything changed.
    if (ZQUIDevmode* core = CoreOf(param)) core->iStartPage = kOutputTitleId;
}

// ---------------------------------------------------------------------------------------------
// The page comes to the front
// ---------------------------------------------------------------------------------------------
void CZQOutputTab::VOnSetActive(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    VRunStaplingConstraints(pContext);
    VRefresh(pContext, 0);
    VNoteShown(pContext, kPageOutput);
    if (logic.BIsLargeFormat()) {
        VFillPreviewSettings(pContext);
        VShowPaperText(pContext);
    }
    VRepaintPreview(FALSE);
}

// ---------------------------------------------------------------------------------------------
// OK or Apply
// ---------------------------------------------------------------------------------------------
