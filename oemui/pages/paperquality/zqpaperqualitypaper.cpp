// The Paper/Quality page around the paper size and the covers: the cover controls after another
// page changed them, the cover flag of a page kind, the paper-size list handed to the core driver,
// what a new paper size means for scaling, posters and two-sided printing, and the paper's
// dimensions as the page shows them.
#include <cmath>
#include <cwchar>

#include "common/zqkeywords.h"
#include "pages/zqpageasks.h"
#include "pages/paperquality/zqpaperqualitypage.h"
#include "pages/zqpageitems.h"

using namespace zqpage;

// ---------------------------------------------------------------------------------------------
// Covers
// ---------------------------------------------------------------------------------------------
void CZQPaperQualityTab::VRefreshCoverControls(PageContext* pContext) {
    const ZQUIDevmode* work = WorkOf(pContext);
    if (!work) return;
    HWND different = m_controls.Page() ? m_controls.H(kCtlDifferentPaper) : nullptr;
    if (work->dwDiffPaper == 0) {
        if (!pContext->pLogic->BHasPageExceptions()) SetCheck(different, false);
        DWSelectOptionByIndex(m_pCUIParam, kBackFeederFeature, 0, OEMCUIP_DOCPROP);
        DWSelectOptionByIndex(m_pCUIParam, kFrontFeederFeature, 0, OEMCUIP_DOCPROP);
    } else {
        SetCheck(different, true);
    }
    VFillPageList(pContext->pLogic, TRUE);
}

void CZQPaperQualityTab::VSetCoverFlagForPageKind(PageContext* pContext, int iValue) {
    WCHAR text[256];
    if (!pContext || !pContext->pLogic || !m_controls.Page() || !SelectedText(m_controls.H(kCtlPageKinds), text, true)) return;
    const int kind = IPageKindFromName(text, pContext->pLogic);
    if (kind <= kKindLastPage)
        m_state.adwMarkers[kind] = static_cast<DWORD>(iValue);
    else if (DWORD* flag = CZQPaperSlots::CoverInUse(*pContext->pLogic, kind))
        *flag = static_cast<DWORD>(iValue);
}

// ---------------------------------------------------------------------------------------------
// The paper size
// ---------------------------------------------------------------------------------------------
void CZQPaperQualityTab::VApplyPaperSizeSelection(PageContext* pContext) {
    if (!pContext || !pContext->pLogic || !m_pCUIParam) return;
    CZQUILogic& logic = *pContext->pLogic;
    const POEMCUIPPARAM param = m_pCUIParam;
    POPTITEM form = PubItem(param, DMPUB_FORMNAME);
    HWND list = m_controls.Page() ? m_controls.H(kCtlSize) : nullptr;
    const int entry = list ? static_cast<int>(SendMessageW(list, CB_GETCURSEL, 0, 0)) : -1;
    if (!form || entry < 0) return;
    const int option = IComboItemToOptionIndex(entry, list, form);
    if (option >= 0) ReportSelection(param, form, option, static_cast<DWORD>(option), OEMCUIP_DOCPROP);

    // The paper the document prints on follows, unless the user chose another one.
    ZQUIDevmode* work = logic.WorkDM();
    if (!work || work->dwPrintDocOn != 0) return;
    if (logic.BNeedsScaleFromLargePaper(pContext->pCaps))
        logic.VSelectScaleTargetPaper();
    else if (!logic.BIsBorderlessPaper() && param->pPublicDM)
        work->dwPrintedOnPaper = static_cast<uint32_t>(static_cast<LONG>(param->pPublicDM->dmPaperSize));
}

BOOL CZQPaperQualityTab::BGetPaperSizeDisplayName(PageContext* pContext, PWSTR pszName) {
    if (!pszName || !pContext || !pContext->pLogic || !pContext->pRules) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    WCHAR paper[256];
    return ReadOption(m_pCUIParam, pContext->pLogic->PszFormFeature(), paper) &&
                   pContext->pRules->BFindGroupName(zqkw::kPaperSize, paper, pszName, 256)
               ? TRUE
               : FALSE;
}

void CZQPaperQualityTab::VOnPaperSizeChanged(PageContext* pContext) {
    ZQUIDevmode* work = WorkOf(pContext);
    if (!work || !PubItem(m_pCUIParam, DMPUB_FORMNAME)) return;
    CZQUILogic& logic = *pContext->pLogic;
    // A paper larger than the printer takes is printed scaled onto the largest one it takes.
    if (logic.BNeedsScaleFromLargePaper(pContext->pCaps)) {
        logic.VSelectScaleTargetPaper();
        work->dwPrintDocOn = 1;
        work->dwScaleToFit = 1;
        if (work->dwBooklet == 0) work->dwPagesPerSheet = 1;
        VEndPosterPrinting(pContext);
    }
    WCHAR paper[256] = {};
    ReadOption(m_pCUIParam, logic.PszFormFeature(), paper);
    const BOOL banner = logic.BIsBannerPaper();
    if (!banner && !logic.BIsBorderlessPaper()) return;
    VSettleBorderlessLayout(pContext, wcsstr(paper, L"HAGAKI") != nullptr, banner);
}


void CZQPaperQualityTab::VEndPosterPrinting(PageContext* pContext) {
    DWSelectOptionByIndex(m_pCUIParam, zqkw::kZQPosterPrinting, 0, OEMCUIP_DOCPROP);
    if (auto* finishing = ZQSheetPage<IZQFinishingPage>(pContext, kPageFinishing)) finishing->VDisablePosterControl(pContext->pLogic);
}

void CZQPaperQualityTab::VSettleBorderlessLayout(PageContext* pContext, BOOL bKeepLayout, BOOL bBanner) {
    VEndPosterPrinting(pContext);
    SettleBorderlessLayout(*pContext->pLogic, m_pCUIParam, bKeepLayout, bBanner);
}

void CZQPaperQualityTab::VSetDocumentSizeText(PageContext* pContext) {
    const ZQUIDevmode* work = WorkOf(pContext);
    const DEVMODEW* pub = m_pCUIParam ? m_pCUIParam->pPublicDM : nullptr;
    LONG width = 0, height = 0;
    if (!work || !pub || !BGetPaperDimensions(static_cast<WORD>(pub->dmPaperSize), &width, &height, pContext->pCaps))
        return;
    const bool inches = work->dwUnitMm == 0;
    // Width first for a portrait page; on large-format printers the page turns with the
    // landscape orientation of its languages and with the 90-degree rotation.
    bool widthFirst = work->wOrientation == 1;
    if (pContext->pLogic->BIsLargeFormat()) {
        const bool turned = work->wOrientation == 2 && (work->dwPdl == kPdlPcl3 || work->dwPdl == kPdlZqgl2);
        widthFirst = turned == (work->dwRotate90 != 0);
    }
    // Numbers the locale cannot write leave the unit alone.
    FormatPaperSides(*this, widthFirst ? width : height, widthFirst ? height : width, inches, m_state.szDimensions,
                     ZQPaperQualityState::kDimensionsChars);
    if (m_controls.Page()) SetWindowTextW(m_controls.H(kCtlDimensions), m_state.szDimensions);
}
