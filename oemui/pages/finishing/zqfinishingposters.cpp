// The Finishing page's pages-per-sheet list, whose poster items follow its six pages-per-sheet
// items on printers that print posters: the list and its label, a selection read as a setting or a
// poster, the poster features, the tile selection, and the booklet's layout in the settings.
#include "common/zqkeywords.h"
#include "common/zqstrings.h"
#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"
#include "pages/finishing/zqfinishingpage.h"
#include "pages/zqpageitems.h"
#include "res/zqfinishingids.h"

using namespace zqpage;

namespace {

constexpr PCWSTR kPosterOption = L"ZQPosterPrintingOption";
constexpr INT kPagesPerSheetTexts[] = {3300, 3301, 3302, 3303, 3304, 3305};
constexpr int kPagesPerSheetItems = 6;

}  // namespace

BOOL CZQFinishingTab::BReadPosterChoice(CZQUILogic& logic) const {
    HWND list = m_controls.Item(IDC_CBO_PAGES_PER_SHEET);
    if (!list) return FALSE;
    return logic.BSetPosterChoice(static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0)),
                                  static_cast<int>(SendMessageW(list, CB_GETCURSEL, 0, 0)));
}

void CZQFinishingTab::VDisablePosterControl(CZQUILogic* pLogic) {
    if (pLogic) pLogic->VClearPosterFlag();
    EnableWindow(m_controls.Item(IDC_BTN_SELECT_TILES), FALSE);
}

void CZQFinishingTab::VSyncBooklet(CZQUILogic* pLogic) {
    ZQUIDevmode* work = pLogic ? pLogic->WorkDM() : nullptr;
    if (!work) {
        SetLastError(ERROR_INVALID_DATA);
        return;
    }
    work->dwBooklet = pLogic->DWBooklet();
    if (!work->dwBooklet) return;
    work->dwPagesPerSheet = 2;
    work->dwScalePercent = 100;
    work->dwBackCover = 0;
    work->dwBackCoverFeeder = 0;
}

// ---------------------------------------------------------------------------------------------
// The list and its label
// ---------------------------------------------------------------------------------------------
void CZQFinishingTab::VFillPagesPerSheetList(PageContext* pContext) {
    m_controls.VFillList(*this, IDC_CBO_PAGES_PER_SHEET, kPagesPerSheetTexts, kPagesPerSheetItems);
    HWND list = m_controls.Item(IDC_CBO_PAGES_PER_SHEET);
    POPTITEM options = FeatureItem(m_pCUIParam, kPosterOption);
    if (!list || !options || !pContext->pLogic->BIsPosterPrinting()) return;
    for (int i = 0; i < CZQCommon::IGetOptionCount(options); ++i) {
        PCWSTR name = OptionName(options, i);
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name ? name : L""));
    }
}

void CZQFinishingTab::VSetPagesPerSheetLabel(PageContext* pContext) {
    HWND label = m_controls.Item(IDC_STA_PAGES_PER_SHEET);
    if (pContext->pLogic->BIsPosterPrinting()) BSetWindowTextRes(3091, label, L"&Pages per Sheet and Posters");
    else BSetWindowTextRes(815, label, L"&Pages per Sheet");
}

void CZQFinishingTab::VShowPagesPerSheet(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    const ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;
    HWND list = m_controls.Item(IDC_CBO_PAGES_PER_SHEET);
    int selection = CZQCommon::ISettingToListIndex(static_cast<int>(work.dwPagesPerSheet));
    if (FeatureItem(param, zqkw::kZQPosterPrinting) && FeatureItem(param, kPosterOption)) {
        // A poster is printed one page to a sheet, and only where the layout allows posters.
        const int on = OptionIs(param, zqkw::kZQPosterPrinting, L"TRUE");
        if (on >= 0) logic.SheetState()->bPosterFlag = on == 1 && work.dwLayoutMode == 3;
        if (work.dwPagesPerSheet != 1) logic.VClearPosterFlag();
        if (logic.BPosterFlag() &&
            Bound(logic.IBindFeatureControl(0, kPosterOption, list, nullptr, OEMCUIP_DOCPROP, CZQUILogic::kBindShow,
                                            FALSE, 0, nullptr))) {
            const int shown = static_cast<int>(SendMessageW(list, CB_GETCURSEL, 0, 0));
            if (shown >= 0) {
                selection = shown;
                logic.SheetState()->iPosterOption = CZQCommon::IMapSelection1To3(
                    shown - static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0)) + 4);
            }
        }
    }
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(selection), 0);
}

// ---------------------------------------------------------------------------------------------
// The poster features
// ---------------------------------------------------------------------------------------------
void CZQFinishingTab::VWritePosterFeatures(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    const POEMCUIPPARAM param = m_pCUIParam;
    if (!logic.BPosterFlag()) {
        CZQCommon::DWSelectOptionByIndex(param, zqkw::kZQPosterPrinting, 0, OEMCUIP_DOCPROP);
        return;
    }
    CZQCommon::DWSelectOptionByIndex(param, zqkw::kZQPosterPrinting, 1, OEMCUIP_DOCPROP);
    logic.IBindFeatureControl(0, kPosterOption, m_controls.Item(IDC_CBO_PAGES_PER_SHEET), nullptr, OEMCUIP_DOCPROP,
                              CZQUILogic::kBindApply, FALSE, 0, nullptr);
    // Tiles are laid edge to edge: none of the margin choices applies to a poster.
    for (PCWSTR margins : {zqkw::kZQEmulatePexlonMargins, zqkw::kZQSymmetricMargins, zqkw::kZQMinimizeMargins})
        CZQCommon::DWSelectOptionByIndex(param, margins, 0, OEMCUIP_DOCPROP);
    logic.VClearMarginChoices();
}

// ---------------------------------------------------------------------------------------------
// A new selection, the store, the tiles
// ---------------------------------------------------------------------------------------------
void CZQFinishingTab::VOnPagesPerSheetChange(HWND hDlg, PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;
    HWND list = m_controls.Item(IDC_CBO_PAGES_PER_SHEET);
    const bool poster = BReadPosterChoice(logic) != FALSE;
    int setting = 1;
    if (poster) {
        // A poster is one page over many sheets at full size, printed on one side, without a
        // watermark.
        work.dwPageBorders = 0;
        work.dwPrintDocOn = 0;
        work.dwScaleToFit = 0;
        work.dwScalePercent = 100;
        if (m_controls.BChecked(IDC_CHK_DUPLEX)) {
            m_controls.VSetCheck(IDC_CHK_DUPLEX, FALSE);
            work.wDuplex = DMDUP_SIMPLEX;
            logic.VEndBooklet();
            SendMessageW(m_controls.Item(IDC_CBO_BOOKLET_PRINTING), CB_SETCURSEL, 0, 0);
            logic.VUpdateDuplexState();
        }
        WCHAR none[kResStringChars];
        if (!BLoadResString(874, none)) ZQCopyText(none, kResStringChars, L" [none]");
        logic.VSetPosterState(TRUE, none);
        EnableWindow(m_controls.Item(IDC_BTN_SELECT_TILES), TRUE);
    } else {
        setting = CZQCommon::IListIndexToSetting(static_cast<int>(SendMessageW(list, CB_GETCURSEL, 0, 0)));
        EnableWindow(m_controls.Item(IDC_BTN_SELECT_TILES), FALSE);
    }
    if (logic.BIsPosterPrinting()) VWritePosterFeatures(pContext);
    // A booklet is two pages to a sheet.
    if (setting != 2 && logic.DWBooklet()) {
        logic.VEndBooklet();
        SendMessageW(m_controls.Item(IDC_CBO_BOOKLET_PRINTING), CB_SETCURSEL, 0, 0);
        EnableWindow(m_controls.Item(IDC_CHK_FLIP_PAGES_UP), TRUE);
    }
    if (setting == 1 && !poster) {
        if (work.dwPrintDocOn == 0) work.dwScaleToFit = 1;
    } else {
        // Several pages on a sheet, or a poster, are laid out at their own size.
        if (logic.BNeedsScaleFromLargePaper(pContext->pCaps) || logic.BIsBannerPaper() || logic.BIsBorderlessPaper())
            logic.VUpdateBorderlessForPageSize(pContext->pRules);
        work.dwPrintDocOn = 0;
        work.dwScaleToFit = 0;
        work.dwScalePercent = 100;
        CZQCommon::DWSelectOptionByIndex(param, zqkw::kZQCenterOnPage, 0, OEMCUIP_DOCPROP);
    }
    VSetDuplexControlState(pContext);
    VSetPageOrderControls(pContext);
    VSetPreserveLayout(pContext);
    work.dwPagesPerSheet = static_cast<uint32_t>(setting);
    work.wDuplex = WDuplexValue(pContext);
    work.dwBooklet = logic.DWBooklet();
    BCheckPageChanged(hDlg, pContext);
    VShowPaperText(pContext);
    VRepaintPreview(TRUE);
}

void CZQFinishingTab::VStorePagesPerSheet(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    HWND list = m_controls.Item(IDC_CBO_PAGES_PER_SHEET);
    if (work.dwPagesPerSheet != 1)
        work.dwPagesPerSheet =
            static_cast<uint32_t>(CZQCommon::IListIndexToSetting(static_cast<int>(SendMessageW(list, CB_GETCURSEL, 0, 0))));
    else
        BReadPosterChoice(logic);
    VWritePosterFeatures(pContext);
    logic.VValidatePrintOnPaper();
}

void CZQFinishingTab::VOnSelectTiles(HWND hDlg, PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    BReadPosterChoice(logic);
    m_tilingDialog.VBind(nullptr, m_pCUIParam, HResModule());
    if (m_tilingDialog.IDoModal(hDlg, pContext, logic.IPosterOption(), logic.SheetState()->bRtl) == IDOK)
        BCheckPageChanged(hDlg, pContext);
    VRepaintPreview(FALSE);
}
