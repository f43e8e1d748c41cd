// The Paper/Quality page in its sheet: brought in line with what other pages changed when it
// becomes the active page, its settings settled when it is left, and on OK or Apply its result
// reported; the last page the user visited also synchronises the devmodes and exports them.
#include "common/zqkeywords.h"
#include "featurelogic/zqpagegates.h"
#include "featurelogic/zqquicksets.h"
#include "pages/paperquality/zqpaperqualitypage.h"
#include "pages/zqpageitems.h"
#include "settings/zqconfigexport.h"

#include <commctrl.h>

using namespace zqpage;

LRESULT CZQPaperQualityTab::IOnNotify(HWND hDlg, const NMHDR* pHeader, PageContext* pContext) {
    if (!pHeader || !pContext || !pContext->pLogic || !WorkOf(pContext) || !m_pCUIParam) {
        SetLastError(ERROR_INVALID_DATA);
        return 0;
    }
    switch (pHeader->code) {
        case PSN_SETACTIVE: VOnSetActive(hDlg, pContext); return 0;
        case PSN_KILLACTIVE: VOnKillActive(pContext); return 0;
        case PSN_APPLY: return IOnApply(pContext);
        // The sheet undoes the changes; the page only stops counting as changed.
        case PSN_RESET: SendMessageW(GetParent(hDlg), PSM_UNCHANGED, reinterpret_cast<WPARAM>(hDlg), 0); return 0;
        default: return 0;
    }
}

// ---------------------------------------------------------------------------------------------
// The page comes to the front
// ---------------------------------------------------------------------------------------------
void CZQPaperQualityTab::VOnSetActive(HWND hDlg, PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;
    if (POPTITEM form = PubItem(param, DMPUB_FORMNAME)) m_state.bFormUnchanged = form->Sel == work.aiRecentPaperSizes[0];
    if (m_state.bPaperSizePopup) VFillPaperSizePopupList(m_controls.H(kCtlSize), pContext);

    // Two-sided printing without a duplex unit of its own is printed by hand.
    if (!FeatureItem(param, zqkw::kZQUseAutoDuplexUnit) && logic.BIsDuplexUnitInstalled(FALSE) &&
        logic.BIsManualDuplexAvailable() && work.wDuplex != 1 && work.dwManualDuplex != 1) {
        DWSelectPubOption(param, DMPUB_DUPLEX, 0, 0);
        logic.VSetManualTwoSided(TRUE);
    }
    if (m_state.bMediaTypePopup) {
        VRefreshMediaTypeList(pContext);
        VRefresh(hDlg, pContext, kRefreshShow);
        VStorePageKindPaper(pContext, ISelectedPageKind(pContext));
    }
    const int kindMedia = ISelectedKindMediaPosition(pContext);
    if (kindMedia != m_slots.aiMedia[kWorkingSlot])
        DWSelectOptionByIndex(param, zqkw::kMediaType, kindMedia, OEMCUIP_DOCPROP);
    if (logic.BIsLargeFormat()) {
        POPTITEM orientation = nullptr;
        const bool landscape = DWFindOemOptItemByPubId(param, kOemPubOrientation, &orientation) == ZQOPT_OK &&
                               orientation && orientation->Sel == 1;
        CheckRadioButton(hDlg, IDC_RB_PORTRAIT, IDC_RB_LANDSCAPE, landscape ? IDC_RB_LANDSCAPE : IDC_RB_PORTRAIT);
        VUpdatePrintPreviewBox(pContext);
    }
    VFillMediaTypeList(pContext);
    VRefresh(hDlg, pContext, kRefreshShow);
    VUpdatePaperMarkers(pContext);

    ZQSheetState& sheet = *logic.SheetState();
    const int index = logic.IGetPageIndex(&work, kPagePaperQuality);
    if (index > sheet.iHighestPage) sheet.iHighestPage = index;

    VRefreshMediaTypeList(pContext);
    VInitPageListSelection(pContext, hDlg);
    const int kind = ISelectedPageKind(pContext);
    VFillSourceCombo(pContext, kind);
    VLayoutPaperGroup(pContext);
    VEnableMediaTypeForPageKind(pContext);
    const LRESULT source = SendMessageW(m_controls.H(kCtlSource), CB_GETCURSEL, 0, 0);
    pContext->pRules->VSetInputBinIndex(source == CB_ERR ? 0 : static_cast<int>(source));

    if (logic.BIsLargeFormat()) {
        VFillPreviewSettings(pContext);
        VSetPreviewPaperText(&work, pContext->pCaps, m_controls.H(kCtlPaperLabel), 0);
        HWND docSize = m_controls.H(kCtlDocSizeLabel);
        if (work.dwPrintDocOn == 1) {
            ShowEnabled(docSize);
            VSetPreviewDocSizeText(&work, pContext->pCaps, docSize);
        } else {
            Hide(docSize);
        }
    }
    m_controls.VRepaint(hDlg, IDC_BTN_PREVIEW_PORT, IDC_BTN_PREVIEW_LAND, FALSE);
    if (BlackOnlyGrayscale(pContext, param)) {
        SetCheck(m_controls.H(kCtlBorderlessPhoto), false);
        EnableWindow(m_controls.H(kCtlBorderlessPhoto), FALSE);
    }
    BShowResolutionTexts(pContext);
    VRefreshQualityGroup(pContext);
}

// ---------------------------------------------------------------------------------------------
// The page is left
// ---------------------------------------------------------------------------------------------
void CZQPaperQualityTab::VOnKillActive(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;
    if (logic.BIsDuplexUnitInstalled(FALSE) && logic.BIsManualDuplexAvailable()) logic.VUpdateDuplexState();

    // The paper list's key of the chosen media travels with the settings; a key longer than its
    // field would name another paper, so it is not stored.
    const PaperList* papers = pContext->pPapers;
    WCHAR media[256];
    CZQLocalPtr<WCHAR> name;
    if (papers && papers->dwCount > 0 && papers->pEntries && ReadOption(param, zqkw::kMediaType, media) &&
        DWOptionKeywordToName(param, zqkw::kMediaType, media, name.Put()) == ZQOPT_OK) {
        for (DWORD i = 0; i < papers->dwCount; ++i) {
            const PaperListEntry& entry = papers->pEntries[i];
            if (lstrcmpW(entry.szText, name.Get()) != 0) continue;
            constexpr size_t kKeyChars = sizeof work.abPaperListKey / sizeof(WCHAR);
            if (ZQTextLength(entry.szName, 256) < kKeyChars) {
                WCHAR key[kKeyChars] = {};
                ZQCopyText(key, kKeyChars, entry.szName);
                memcpy(work.abPaperListKey, key, sizeof key);
            }
            break;
        }
    }
    logic.IApplyCustomDuplexRange();
    VRefresh(m_controls.Page(), pContext, kRefreshStore);
}

// ---------------------------------------------------------------------------------------------
// OK or Apply
// ---------------------------------------------------------------------------------------------
LRESULT CZQPaperQualityTab::IOnApply(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    IZQSettingsExchange* exchange = pContext->pExchange;
    const int index = logic.IGetPageIndex(logic.WorkDM(), kPagePaperQuality);
    const bool last = index >= 0 && index == logic.SheetState()->iHighestPage;
    CZQQuickSets* quickSets = pContext->pQuickSets;
    if (quickSets) quickSets->VRestoreNameIfItemsChanged();
    logic.IResolveConflicts(logic.WorkDM());
    logic.VUpdateColorSpaceConflicts();
    logic.VSavePrintQualityName();
    BSetCustomSizeLimits(pContext);
    if (last && exchange) exchange->VSyncAfterChange();

    m_state.bPageExceptionsChanged = FALSE;
    if (quickSets) quickSets->VClearChanged();
    if (pContext->pImageEnhance) pContext->pImageEnhance->VClearChanged();
    const BOOL accepted = ZQReportPageResult(pContext->pSheet, index, CPSUI_OK);
    // A result the sheet refused still leaves the settings exported.
    if (last && exchange) exchange->BExportSettings(kZQExportPrinting);
    return accepted ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
}
