// The Finishing page's change check, which tells the sheet whether the page differs from the
// settings it opened with and keeps the quick set's state in step, and its context-help table with
// the administrator's locks.
#include "common/zqkeywords.h"
#include "featurelogic/zqquicksets.h"
#include "formats/zquidevmode.h"
#include "pages/finishing/zqfinishingpage.h"
#include "pages/zqpageitems.h"
#include "res/zqfinishingids.h"

#include <commctrl.h>

using namespace zqpage;

namespace {

// The feature's selection differs from the one the sheet opened with; a feature whose selection was
// not kept has nothing to differ from.
bool SelectionChanged(const CZQUILogic& logic, POEMCUIPPARAM pParam, PCWSTR pszFeature) {
    const int saved = logic.IGetSavedSelection(pszFeature);
    POPTITEM item = FeatureItem(pParam, pszFeature);
    return saved >= 0 && item && item->Sel != saved;
}

}  // namespace

BOOL CZQFinishingTab::BCheckPageChanged(HWND hPage, PageContext* pContext) {
    ZQUIDevmode* work = PWork(pContext);
    if (!work) return FALSE;
    CZQUILogic& logic = *pContext->pLogic;
    const POEMCUIPPARAM param = m_pCUIParam;
    const ZQUIDevmode* saved = CoreOf(param);
    bool changed = false;
    if (saved) {
        const ZQUIDevmode& w = *work;
        const ZQUIDevmode& s = *saved;
        changed = w.dwPagesPerSheet != s.dwPagesPerSheet ||
                  (w.dwPagesPerSheet != 1 && (w.dwPageBorders != s.dwPageBorders || w.dwPageOrderIndex != s.dwPageOrderIndex)) ||
                  (logic.BHasRotate180() && w.dwRotate180 != s.dwRotate180) ||
                  (logic.BHasTransverse() && w.dwRotate90 != s.dwRotate90) || w.dwMirror != s.dwMirror ||
                  w.wDuplex != s.wDuplex || w.dwFlipPagesUp != s.dwFlipPagesUp ||
                  w.dwStraightPaperPath != s.dwStraightPaperPath || w.dwBooklet != s.dwBooklet ||
                  w.wOrientation != s.wOrientation;
    }
    changed = changed || SelectionChanged(logic, param, PostScript(pContext) ? zqkw::kStapleLocation : zqkw::kStapling);
    // Preserve layout counts while two-sided printing can scale the pages.
    changed = changed || (work->wDuplex != 1 && FeatureItem(param, zqkw::kZQAutoDuplexScaling) &&
                          m_state.bPreserveLayout != logic.m_bOldPreserveLayout);
    changed = changed || SelectionChanged(logic, param, zqkw::kZQUseAutoDuplexUnit);
    changed = changed || (logic.BIsPosterPrinting() && (logic.BPosterFlag() != logic.m_bOldPosterFlag ||
                                                        SelectionChanged(logic, param, L"ZQPosterPrintingOption")));
    changed = changed || SelectionChanged(logic, param, zqkw::kZQPrintPreview) ||
              SelectionChanged(logic, param, zqkw::kZQMirrorPrint);
    const DEVMODEW* pub = param->pPublicDM;
    changed = changed || (pub && (pub->dmFields & DM_ORIENTATION) && pub->dmOrientation != static_cast<short>(work->wOrientation));
    // A new tile selection counts once.
    changed = changed || m_tilingDialog.BChanged();
    m_tilingDialog.VClearChanged();
    ReportPageChange(hPage, pContext, CZQQuickSets::kCompareFinishing, changed);
    return changed ? TRUE : FALSE;
}

void CZQFinishingTab::VBuildHelpTable(DWORD* pdwTable, PageContext* pContext) {
    if (!pdwTable) {
        SetLastError(ERROR_INVALID_DATA);
        return;
    }
    CZQUILogic* logic = pContext ? pContext->pLogic : nullptr;
    const ZQUIDevmode* work = logic ? logic->WorkDM() : nullptr;
    const POEMCUIPPARAM param = m_pCUIParam;
    const HANDLE printer = param ? param->hPrinter : nullptr;
    const bool postScript = work && work->dwPdl == kPdlPostScript;
    const bool poster = logic && logic->BIsPosterPrinting();

    // Two-sided printing: the help of the driver's two-sided item or of the manual one, by which of
    // them the printer has and can use.
    int duplexHelp = -1;
    PCWSTR duplexFeature = nullptr;
    BYTE duplexPubId = 0;
    const PCWSTR manual = postScript ? L"JCLZQPrintOnBothSidesManually" : L"ZQPrintOnBothSidesManually";
    const bool duplexItem = PubItem(param, DMPUB_DUPLEX) != nullptr;
    const bool manualItem = FeatureItem(param, manual) != nullptr;
    if (duplexItem && manualItem) {
        if (postScript && logic && logic->BIsDuplexUnitInstalled(FALSE)) duplexHelp = 15203;
        else if (postScript && logic && logic->BIsManualDuplexAvailable()) duplexFeature = manual;
        else duplexPubId = DMPUB_DUPLEX;
    } else if (duplexItem) {
        duplexHelp = 15299;
    } else if (manualItem) {
        duplexFeature = manual;
    }

    const HelpRow rows[kHelpPairs] = {
        {IDC_GB_DOC_OPTIONS, nullptr, 0, nullptr, -1},
        {IDC_CBO_PAGES_PER_SHEET, L"NUpChoice", 0, poster ? zqkw::kZQPosterPrinting : nullptr, 14051},
        {work ? ShownPreviewId(*work) : IDC_BTN_PREVIEW_PORT, nullptr, 0, nullptr, 14060},
        {IDC_STA_PAGES_PER_SHEET, nullptr, 0, nullptr, -1},
        {IDC_CHK_PAGE_BORDER, L"NUpBordersChoice", 0, nullptr, 14064},
        {IDC_STA_PAGE_ORDER, nullptr, 0, nullptr, -1},
        {IDC_CBO_PAGE_ORDER, L"NUpPageOrderChoice", 0, nullptr, 14065},
        {IDC_CBO_BOOKLET_PRINTING, L"BookletPrintingChoice", 0, nullptr, 15252},
        {IDD_DLG_FINISHINGPAGE, nullptr, 0, nullptr, -1},
        {IDC_STA_BOOKLET, nullptr, 0, nullptr, -1},
        {IDC_STA_STAPLING, nullptr, 0, nullptr, -1},
        {453, nullptr, 0, nullptr, -1},
        {IDC_BTN_HELP, nullptr, 0, nullptr, 15054},
        {IDC_CBO_STAPLE, L"StaplerChoice", 0, postScript ? zqkw::kStapleLocation : zqkw::kStapling, -1},
        {IDC_CHK_PRESERVE_LAYOUT, nullptr, 0, zqkw::kZQAutoDuplexScaling, -1},
        {IDC_CHK_ROTATED, nullptr, 0, zqkw::kZQOrientRotate180, -1},
        {IDC_CHK_DUPLEX, zqkw::kDuplexItem, duplexPubId, duplexFeature, duplexHelp},
        {IDC_CHK_FLIP_PAGES_UP, nullptr, 0, nullptr, 15205},
        {IDC_CHK_STRAIGHT_PAPER_PATH, nullptr, 0, L"ZQStraightPaperPath", -1},
        {485, nullptr, 0, nullptr, 15208},
        {489, nullptr, 0, nullptr, 15209},
        {490, nullptr, 0, nullptr, 15210},
        {495, nullptr, 0, nullptr, -1},
        {483, nullptr, 0, nullptr, -1},
        {428, nullptr, 0, nullptr, -1},
        {IDC_BTN_SELECT_TILES, nullptr, 0, nullptr, 15289},
        {IDC_RB_PORTRAIT, nullptr, 0, nullptr, 15420},
        {IDC_RB_LANDSCAPE, nullptr, 0, nullptr, 15421},
        {IDC_GB_FINISHING_ORIENTATION, nullptr, 0, nullptr, 15200},
        {IDC_CHK_ROTATE90, nullptr, 0, nullptr, 15507},
        {IDC_CHK_MIRROR, nullptr, 0, nullptr, 15506},
        {IDC_CHK_SHOW_PREVIEW_FIN, nullptr, 0, zqkw::kZQPrintPreview, -1},
        {IDC_GB_PREVIEW_PRINT_FIN, nullptr, 0, nullptr, -1},
        {IDC_ZQLOGO_HOLDER, nullptr, 0, nullptr, -1},
        {IDC_PREVIEW_DIMENSIONS, nullptr, 0, nullptr, -1},
        {IDC_CHK_USE_AUTO_DUPLEX_UNIT, nullptr, 0, zqkw::kZQUseAutoDuplexUnit, 15558},
    };
    FillHelpTable(pdwTable, rows, kHelpPairs, printer, logic);
}
