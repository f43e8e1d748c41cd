// The Effects page's margins: three boxes that exclude each other ("Emulate Pexlon Margins",
// "Symmetrical Margins", "Minimize Margin"), each bound to its feature, the two hidden features
// their choice decides with two-sided printing, and "Center On Page", which prints one page alone
// in the middle of the paper.
#include "common/zqkeywords.h"
#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"
#include "pages/effects/zqeffectspage.h"
#include "pages/zqpageasks.h"
#include "pages/zqpageitems.h"
#include "res/zqeffectsids.h"

using namespace zqpage;

namespace {

constexpr WCHAR kReportSymmetricMargins[] = L"ZQReportSymmetricMargins";

// The boxes in the order that decides which one stays when several are set: emulate, symmetric,
// minimize.
constexpr int kMarginBoxes[3] = {IDC_CHECK_EMULATE_MARGINS, IDC_CHECK_SYMMETRICAL_MARGINS, IDC_CHECK_MINIMIZE_MARGINS};
constexpr PCWSTR kMarginFeatures[3] = {zqkw::kZQEmulatePexlonMargins, zqkw::kZQSymmetricMargins,
                                       zqkw::kZQMinimizeMargins};
enum { kEmulate = 0, kSymmetric = 1, kMinimize = 2 };

struct TwoSided {
    bool manual;
    bool automatic;
};

TwoSided TwoSidedOf(CZQUILogic& logic) {
    const ZQUIDevmode& work = *logic.WorkDM();
    const bool manual = logic.m_bManualDuplexOffered && logic.BIsManualDuplexAvailable() && work.dwManualDuplex;
    const bool automatic = logic.BIsDuplexUnitInstalled(FALSE) && work.wDuplex != DMDUP_SIMPLEX && !manual;
    return {manual, automatic};
}

bool Marked(const OPTITEM* pItem, int iOption) { return (OptionFlags(pItem, iOption) & OPTPF_OVERLAY_WARNING_ICON) != 0; }

}  // namespace

void CZQEffectsTab::VShowMarginControls(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    bool any = false;
    for (int i = 0; i < 3; ++i) {
        // A box is offered with its feature.
        logic.m_abMarginAvailable[i] = FeatureItem(m_pCUIParam, kMarginFeatures[i]) ? TRUE : FALSE;
        m_controls.VShow(kMarginBoxes[i], logic.m_abMarginAvailable[i], TRUE);
        any = any || logic.m_abMarginAvailable[i];
    }
    if (HWND group = m_controls.Item(IDC_GB_MARGIN)) ShowWindow(group, any ? SW_SHOW : SW_HIDE);
    m_controls.VShow(IDC_CHECK_CENTER_ON_PAGE, Readable(m_pCUIParam, zqkw::kZQCenterOnPage), TRUE);
}

void CZQEffectsTab::VRefreshMarginControls(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    const POEMCUIPPARAM param = m_pCUIParam;
    // A banner takes no margin choice at all, a borderless paper no minimised margins.
    if (logic.BIsBannerPaper()) {
        for (PCWSTR feature : kMarginFeatures) CZQCommon::DWSelectOptionByIndex(param, feature, 0, OEMCUIP_DOCPROP);
    } else if (logic.BIsBorderlessPaper()) {
        CZQCommon::DWSelectOptionByIndex(param, zqkw::kZQMinimizeMargins, 0, OEMCUIP_DOCPROP);
    }
    for (int i = 0; i < 3; ++i)
        logic.IBindFeatureControl(0, kMarginFeatures[i], m_controls.Item(kMarginBoxes[i]), nullptr, OEMCUIP_DOCPROP,
                                  CZQUILogic::kBindShow, TRUE, 0, nullptr);
    for (int i = 0; i < 3; ++i) {
        if (!m_controls.BChecked(kMarginBoxes[i])) continue;
        for (int j = 0; j < 3; ++j) {
            if (j == i) continue;
            m_controls.VSetCheck(kMarginBoxes[j], FALSE);
            EnableWindow(m_controls.Item(kMarginBoxes[j]), FALSE);
        }
        EnableWindow(m_controls.Item(kMarginBoxes[i]), TRUE);
        return;
    }
    for (int i = 0; i < 3; ++i)
        if (logic.m_abMarginAvailable[i]) EnableWindow(m_controls.Item(kMarginBoxes[i]), TRUE);
    const TwoSided twoSided = TwoSidedOf(logic);
    if (twoSided.manual || twoSided.automatic) {
        EnableWindow(m_controls.Item(IDC_CHECK_SYMMETRICAL_MARGINS), FALSE);
        if (twoSided.automatic) EnableWindow(m_controls.Item(IDC_CHECK_MINIMIZE_MARGINS), FALSE);
        return;
    }
    // One-sided printing takes back what the user chose before.
    for (int kind : {kSymmetric, kMinimize}) {
        const int slot = kind == kSymmetric ? 0 : 1;
        if (!logic.DWMarginChoice(slot)) continue;
        CZQCommon::DWSelectOptionByIndex(param, kMarginFeatures[kind], static_cast<int>(logic.DWMarginValue(slot)),
                                         OEMCUIP_DOCPROP);
        logic.IBindFeatureControl(0, kMarginFeatures[kind], m_controls.Item(kMarginBoxes[kind]), nullptr,
                                  OEMCUIP_DOCPROP, CZQUILogic::kBindShow, TRUE, 0, nullptr);
        if (logic.DWMarginValue(slot) != 1) continue;
        for (int other = 0; other < 3; ++other) {
            if (other == kind) continue;
            m_controls.VSetCheck(kMarginBoxes[other], FALSE);
            EnableWindow(m_controls.Item(kMarginBoxes[other]), FALSE);
        }
        EnableWindow(m_controls.Item(kMarginBoxes[kind]), TRUE);
    }
}

void CZQEffectsTab::VOnMarginOptionClicked(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    auto clearOthers = [&](int kept) {
        for (int i = 0; i < 3; ++i) {
            if (i == kept) continue;
            m_controls.VSetCheck(kMarginBoxes[i], FALSE);
            EnableWindow(m_controls.Item(kMarginBoxes[i]), FALSE);
        }
    };
    if (m_controls.BChecked(IDC_CHECK_EMULATE_MARGINS)) {
        clearOthers(kEmulate);
    } else if (m_controls.BChecked(IDC_CHECK_SYMMETRICAL_MARGINS)) {
        clearOthers(kSymmetric);
    } else if (m_controls.BChecked(IDC_CHECK_MINIMIZE_MARGINS)) {
        // The helper file may ask the user first; a refusal takes the box back.
        PageContext* paperContext = nullptr;
        ZQSheetPage<IZQPaperQualityPage>(pContext, kPagePaperQuality, &paperContext);
        CZQXmlUiRules* rules = RulesLoaded(paperContext) ? paperContext->pRules : nullptr;
        if (rules) rules->Parser().m_dwPopupResult = 0;
        if (rules && rules->BRunMacro(L"macro_pop_up_MinimizeMargin", nullptr, m_pCUIParam)) {
            if (rules->Parser().m_dwPopupResult != 1)
                m_controls.VSetCheck(IDC_CHECK_MINIMIZE_MARGINS, FALSE);
            else
                clearOthers(kMinimize);
        } else {
            clearOthers(kMinimize);
        }
    } else if (logic.m_bAutoDuplexScalingMark) {
        CZQCommon::DWSelectOptionByIndex(m_pCUIParam, zqkw::kZQAutoDuplexScaling,
                                         static_cast<int>(logic.m_dwAutoDuplexScaling), OEMCUIP_DOCPROP);
    }
    for (int id : kMarginBoxes)
        if (m_controls.BChecked(id)) return;
    const TwoSided twoSided = TwoSidedOf(logic);
    if (logic.m_abMarginAvailable[kEmulate]) EnableWindow(m_controls.Item(IDC_CHECK_EMULATE_MARGINS), TRUE);
    if (logic.m_abMarginAvailable[kSymmetric] && !twoSided.manual && !twoSided.automatic)
        EnableWindow(m_controls.Item(IDC_CHECK_SYMMETRICAL_MARGINS), TRUE);
    if (logic.m_abMarginAvailable[kMinimize]) EnableWindow(m_controls.Item(IDC_CHECK_MINIMIZE_MARGINS), TRUE);
}

void CZQEffectsTab::VApplyMarginOptions(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;
    bool any = false;
    for (int i = 0; i < 3; ++i) {
        HWND box = m_controls.Item(kMarginBoxes[i]);
        if (!box) continue;
        logic.IBindFeatureControl(0, kMarginFeatures[i], box, nullptr, OEMCUIP_DOCPROP, CZQUILogic::kBindApply, TRUE, 0,
                                  nullptr);
        any = any || Checked(box);
    }
    if (any && (logic.BIsBannerPaper() || logic.BIsBorderlessPaper())) logic.VUpdateBorderlessForPageSize(pContext->pRules);
    // Margins chosen end a poster the Finishing page's list shows.
    auto* finishing = ZQSheetPage<IZQFinishingPage>(pContext, kPageFinishing);
    if (finishing && finishing->BCheckPosterSelection(&logic) && any && logic.BPosterFlag()) {
        work.dwPagesPerSheet = 1;
        work.dwPageOrderIndex = 0;
        if (logic.BIsPosterPrinting() &&
            CZQCommon::DWSelectOptionByIndex(param, zqkw::kZQPosterPrinting, 0, OEMCUIP_DOCPROP) == ZQOPT_OK)
            logic.VClearPosterFlag();
    }
    const TwoSided twoSided = TwoSidedOf(logic);
    const bool emulate = m_controls.BChecked(IDC_CHECK_EMULATE_MARGINS) != FALSE;
    const bool minimize = m_controls.BChecked(IDC_CHECK_MINIMIZE_MARGINS) != FALSE;
    // Emulated margins on two sides, or minimised ones printed by hand, keep the layout by scaling.
    if ((emulate && (twoSided.manual || twoSided.automatic)) || (minimize && twoSided.manual))
        CZQCommon::DWSelectOptionByIndex(param, zqkw::kZQAutoDuplexScaling, 1, OEMCUIP_DOCPROP);
    const bool symmetric = m_controls.BChecked(IDC_CHECK_SYMMETRICAL_MARGINS) != FALSE;
    const bool oneSided = !twoSided.manual && !twoSided.automatic;
    const int report = ((oneSided || OptionIs(param, zqkw::kZQAutoDuplexScaling, L"TRUE") == 1) && !symmetric) ? 0 : 1;
    CZQCommon::DWSelectOptionByIndex(param, kReportSymmetricMargins, report, OEMCUIP_DOCPROP);
}

void CZQEffectsTab::VCheckMinimizeMarginsDuplex(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;
    POPTITEM duplex = PubItem(param, DMPUB_DUPLEX);
    POPTITEM minimize = FeatureItem(param, zqkw::kZQMinimizeMargins);
    if (!duplex || !minimize) return;
    if (Marked(duplex, static_cast<int>(duplex->Sel)) && Marked(minimize, 1)) {
        // Minimised margins win: the sheet prints one-sided, or by hand where the printer can.
        CZQCommon::DWSelectPubOption(param, DMPUB_DUPLEX, 0, 0);
        work.wDuplex = DMDUP_SIMPLEX;
        if (logic.BIsManualDuplexAvailable()) {
            CZQCommon::DWSelectOptionByIndex(param, zqkw::kZQUseAutoDuplexUnit, 0, OEMCUIP_DOCPROP);
            work.dwManualDuplex = 1;
            logic.VSetManualTwoSided(TRUE);
            CZQCommon::DWSelectOptionByIndex(param, zqkw::kZQAutoDuplexScaling, 1, OEMCUIP_DOCPROP);
            logic.m_bAutoDuplexScalingMark = FALSE;
            return;
        }
        work.dwFlipPagesUp = 0;
        if (work.dwBooklet) {
            work.dwBooklet = 0;
            if (!logic.BNeedsScaleFromLargePaper(pContext->pCaps)) work.dwPrintDocOn = 0;
        }
        return;
    }
    if (work.wDuplex != DMDUP_SIMPLEX) {
        CZQCommon::DWSelectOptionByIndex(param, zqkw::kZQAutoDuplexScaling, 1, OEMCUIP_DOCPROP);
        logic.m_bAutoDuplexScalingMark = FALSE;
    }
}

void CZQEffectsTab::VOnMarginBox(HWND hDlg, int iCtrlId, PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    VOnMarginOptionClicked(pContext);
    // The user's own choice of symmetric or minimised margins is remembered for one-sided printing.
    if (iCtrlId != IDC_CHECK_EMULATE_MARGINS) {
        const int slot = iCtrlId == IDC_CHECK_SYMMETRICAL_MARGINS ? 0 : 1;
        logic.VChooseMargin(slot, m_controls.BChecked(iCtrlId) ? 1 : 0);
    }
    VApplyMarginOptions(pContext);
    if (iCtrlId == IDC_CHECK_MINIMIZE_MARGINS) VCheckMinimizeMarginsDuplex(pContext);
    VUpdateChangedState(hDlg, pContext);
    VRepaintPreview(TRUE);
}

// ---------------------------------------------------------------------------------------------
// Centre on page
// ---------------------------------------------------------------------------------------------
void CZQEffectsTab::VApplyCenterOnPage(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;
    if (OptionIs(param, zqkw::kZQCenterOnPage, L"TRUE") != 1) return;
    // One page alone, at its own size, in the middle of one side of the paper.
    work.wDuplex = DMDUP_SIMPLEX;
    work.dwBooklet = 0;
    work.dwPagesPerSheet = 1;
    CZQCommon::DWSelectOptionByIndex(param, zqkw::kZQPosterPrinting, 0, OEMCUIP_DOCPROP);
    if (work.dwPrintDocOn) {
        m_state.dwResizeMode = 0;
        m_controls.VSetCheck(IDC_RB_ACTUAL_SIZE, TRUE);
        m_controls.VSetCheck(IDC_RB_PRINT_DOC_ON, FALSE);
        work.dwPrintDocOn = 0;
        work.dwScalePercent = 100;
        VSetScaleBox(100);
        EnableWindow(m_controls.Item(IDC_CBO_DEST_PAPER_SIZE), FALSE);
        EnableWindow(m_controls.Item(IDC_CHK_FIT_TO_SCALE), FALSE);
        work.dwScaleToFit = 1;
    }
    CZQCommon::DWSelectOptionByIndex(param, zqkw::kZQBorderLessPhoto, 0, OEMCUIP_DOCPROP);
    logic.VUpdateBorderlessForPageSize(pContext->pRules);
    // And without a watermark.
    HWND combo = m_controls.Item(IDC_CBO_WATERMARKS);
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
    m_controls.VSetCheck(IDC_CHK_FIRST_PAGE_WM, FALSE);
    EnableWindow(m_controls.Item(IDC_CHK_FIRST_PAGE_WM), FALSE);
    VApplySelectedWatermark(combo, pContext);
    work.dwWmOn = 0;
    work.dwWmFirstPageOnly = 0;
}

void CZQEffectsTab::VOnCenterOnPage(HWND hDlg, PageContext* pContext) {
    CZQCommon::DWSelectOptionByIndex(m_pCUIParam, zqkw::kZQCenterOnPage,
                                     m_controls.BChecked(IDC_CHECK_CENTER_ON_PAGE) ? 1 : 0, OEMCUIP_DOCPROP);
    VApplyCenterOnPage(pContext);
    VUpdateChangedState(hDlg, pContext);
    VShowPaperText(pContext);
    VRepaintPreview(TRUE);
}
