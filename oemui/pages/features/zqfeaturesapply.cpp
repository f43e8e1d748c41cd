// The Features page in its sheet: brought in line with what changed elsewhere when it comes to the
// front, its settings settled when it is left, and on OK or Apply its result reported; the last page
// the user visited also synchronises the devmodes and exports them.
#include <cwchar>

#include "common/zqkeywords.h"
#include "featurelogic/zqpagegates.h"
#include "featurelogic/zqquicksets.h"
#include "formats/zquidevmode.h"
#include "pages/features/zqfeaturespage.h"
#include "pages/zqpageitems.h"
#include "settings/zqconfigexport.h"

#include <commctrl.h>

using namespace zqpage;

LRESULT CZQFeaturesTab::IOnNotify(HWND hDlg, const NMHDR* pHeader, PageContext* pContext) {
    switch (pHeader->code) {
        case PSN_SETACTIVE: VOnSetActive(hDlg, pContext); return 0;
        case PSN_KILLACTIVE: VOnKillActive(hDlg, pContext); return FALSE;
        case PSN_APPLY: return IOnApply(pContext);
        // The sheet undoes the changes; the page only stops counting as changed.
        case PSN_RESET: SendMessageW(GetParent(hDlg), PSM_UNCHANGED, reinterpret_cast<WPARAM>(hDlg), 0); return 0;
        default: return 0;
    }
}

// ---------------------------------------------------------------------------------------------
// The page comes to the front
// ---------------------------------------------------------------------------------------------
void CZQFeaturesTab::VOnSetActive(HWND hDlg, PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;
    m_state.iUserMedium = m_userMedia.IChosenMedium();
    m_state.bUserMediumChosen = m_state.iUserMedium != -1;
    m_controls.VShow(IDC_BTN_PRINTER_SERVICES, CZQCommon::BHasToolboxPath(param->hPrinter));

    // Two-sided printing by hand, where the printer offers it beside its unit; a unit whose use the
    // settings hold stays in use.
    if (logic.BIsDuplexUnitInstalled(FALSE) && logic.BIsManualDuplexAvailable() && work.wDuplex != 1 &&
        work.dwManualDuplex != 1 && OptionIs(param, zqkw::kZQUseAutoDuplexUnit, L"TRUE") != 1) {
        DWSelectPubOption(param, DMPUB_DUPLEX, 0, 0);
        logic.VSetManualTwoSided(TRUE);
    }
    if (m_state.bPaperSizePopup) VFillPaperSizeCombo(m_controls.Item(IDC_CBO_MEDIA_SIZE_IS), pContext);
    if (m_state.bMediaTypePopup) {
        VSelectMediaTypeEntry(pContext);
        m_pageKinds.VApplyCombosToKind(pContext);
    }
    VRefreshPaperQualityGroup(hDlg, pContext, kRefreshShow);
    m_pageKinds.VMarkDifferingKinds(pContext);
    VNoteShown(pContext, kPageFeatures);
    VSelectMediaTypeEntry(pContext);
    VFocusPageList(pContext, hDlg);
    m_pageKinds.VFillKindSourceCombo(pContext);
    VReadLockFlags(pContext);
    // Which groups stand comes first: the resizing and layout rules below then disable what the
    // settings rule out (flip pages up and booklets one-sided, page order with one page a sheet).
    VUpdateControlState(pContext);
    m_pageKinds.VEnableKindMediaType(pContext);
    VRepaintPreview(FALSE);
    m_quality.VApplyBlackOnlyRule(pContext);
    m_quality.BSetResolutionTexts(pContext);
    m_dest.VFillDestPaperList(pContext);
    m_dest.VSeedDestinationList(false);
    VShowMarginControls(pContext);
    VApplyBorderlessPhoto(pContext);
    VRefreshResizeGroup(hDlg, pContext, kRefreshShow);
    // The Paper/Quality page's covers follow the papers, and again the layout, shown here.
    VRefreshPaperQualityCovers(pContext);
    VRefreshLayoutGroup(hDlg, pContext, kRefreshShow);
    m_layout.VShowOrientation();
    VRefreshPaperQualityCovers(pContext);
    VRepaintPreview(FALSE);
    VInitLayoutVisibility(pContext);

    // A borderless paper prints one page on its sheet at its size.
    const int setting = IListIndexToSetting(m_controls.ISelection(IDC_CBO_PAGES_PER_SHEET));
    if (logic.BIsBorderlessPaper() && setting != 1) {
        work.dwPageBorders = 0;
        work.dwPrintDocOn = 0;
        work.dwScaleToFit = 0;
        work.dwScalePercent = 100;
        for (int id : {IDC_CBO_PAGES_PER_SHEET, IDC_CBO_PAGE_ORDER})
            SendMessageW(m_controls.Item(id), CB_SETCURSEL, 0, 0);
        EnableWindow(m_controls.Item(IDC_CBO_PAGE_ORDER), FALSE);
        work.dwPagesPerSheet = 1;
        work.dwPendingChange = 1;
    }
    if (m_layout.BOptionContains(zqkw::kMediaType, L"_CD_")) {
        VApplyCdMedia(hDlg, pContext);
        work.dwPendingChange = 1;
    }

    // Two-sided printing with rigid margins keeps the layout of the pages.
    if (work.wDuplex != 1 && logic.DWMarginChoice(1)) {
        bool preserve = false, enable = true;
        if (logic.DWMarginValue(1)) {
            preserve = true;
            enable = false;
        } else if (!logic.m_bAutoDuplexScalingMark || logic.m_dwAutoDuplexScaling) {
            preserve = true;
        }
        DWSelectOptionByIndex(param, zqkw::kZQAutoDuplexScaling, preserve ? 1 : 0, OEMCUIP_DOCPROP);
        HWND box = m_controls.Item(IDC_CHK_PRESERVE_LAYOUT);
        SetCheck(box, preserve);
        EnableWindow(box, enable);
    }

    // The quality the list shows, with the controls its group allows and its macros.
    WCHAR text[256];
    POPTITEM group = FeatureItem(param, zqkw::kPrintQualityGroup);
    if (SelectedText(m_controls.Item(IDC_CBO_PRINT_QUALITY), text) && text[0] && group &&
        DWSelectOptionByName(param, group, text, OEMCUIP_DOCPROP) == ZQOPT_OK && RulesLoaded(pContext))
        m_quality.VApplyQualityGroupRule(m_layout.BOptionContains(zqkw::kMediaType, L"_CD_"));
    if (RulesLoaded(pContext) && ReadOption(param, zqkw::kPrintQualityGroup, text))
        pContext->pRules->BRunFeatureMacros(zqkw::kPrintQualityGroup, text, param);
}

// ---------------------------------------------------------------------------------------------
// The page is left; nothing refuses it
// ---------------------------------------------------------------------------------------------
void CZQFeaturesTab::VOnKillActive(HWND hDlg, PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    if (logic.BIsDuplexUnitInstalled(FALSE) && logic.BIsManualDuplexAvailable()) logic.VUpdateDuplexState();
    logic.IApplyCustomDuplexRange();
    VSelectMediaTypeEntry(pContext);
    if (m_state.BTellsMediaTool()) m_userMedia.BSaveSelectedUserMedia(pContext, m_state.IChosenUserMedium());
    VRefreshPaperQualityGroup(hDlg, pContext, kRefreshStore);
    VRefreshResizeGroup(hDlg, pContext, kRefreshStore);
    VRefreshLayoutGroup(hDlg, pContext, kRefreshStore);
    // Settings that left the quick set in force are a change to come.
    const ZQUIDevmode* saved = CoreOf(m_pCUIParam);
    if (saved && saved->dwQuickSetInUse && pContext->pQuickSets &&
        pContext->pQuickSets->BPageDiffers(work, CZQQuickSets::kCompareFeatures))
        work.dwPendingChange = 1;
}

// ---------------------------------------------------------------------------------------------
// OK or Apply
// ---------------------------------------------------------------------------------------------
LRESULT CZQFeaturesTab::IOnApply(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    IZQSettingsExchange* exchange = pContext->pExchange;
    CZQQuickSets* quickSets = pContext->pQuickSets;
    const int index = logic.IGetPageIndex(logic.WorkDM(), kPageFeatures);
    // Only the last page the user visited writes back and exports: both run once per Apply.
    const bool last = index >= 0 && index == logic.SheetState()->iHighestPage;
    if (m_state.BTellsMediaTool()) m_userMedia.BSaveSelectedUserMedia(pContext, m_state.IChosenUserMedium());
    if (quickSets) quickSets->VRestoreNameIfItemsChanged();
    logic.IResolveConflicts(logic.WorkDM());
    logic.VUpdateColorSpaceConflicts();
    logic.VSavePrintQualityName();
    if (last && exchange) exchange->VSyncAfterChange();
    logic.VSyncNupItem(pContext->pCaps);
    if (quickSets) quickSets->VClearChanged();
    const BOOL accepted = ZQReportPageResult(pContext->pSheet, index, CPSUI_OK);
    if (last && exchange) exchange->BExportSettings(kZQExportPrinting);
    return accepted ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
}
