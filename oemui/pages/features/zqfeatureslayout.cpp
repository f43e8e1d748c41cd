// The Features page's layout group: two-sided printing with the printer's unit or by hand, flip
// pages up and preserve layout, pages per sheet with their poster entries, page order, booklets,
// the print preview, the straight paper path, what photo and disc media allow, and the resolution
// figures of the current quality.
#include <cwchar>

#include "common/zqkeywords.h"
#include "common/zqmsgbox.h"
#include "common/zqstrings.h"
#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"
#include "pages/features/zqfeaturespage.h"
#include "pages/zqpageasks.h"
#include "pages/zqpageitems.h"
#include "res/zqfeaturesids.h"
// The layout family's controls the Finishing template carries: the page leaves those it lacks alone.
#include "res/zqfinishingids.h"

using namespace zqpage;

namespace {

constexpr WCHAR kStraightPaperPath[] = L"ZQStraightPaperPath";
constexpr WCHAR kPosterOption[] = L"ZQPosterPrintingOption";

bool Marked(const OPTITEM* pItem, int iOption) { return (OptionFlags(pItem, iOption) & OPTPF_OVERLAY_WARNING_ICON) != 0; }

PCWSTR ManualFeature(const PageContext* pContext) {
    return PostScript(pContext) ? L"JCLZQPrintOnBothSidesManually" : L"ZQPrintOnBothSidesManually";
}

// The status module's text, else the English one.
void LoadText(CZQCommon& texts, INT id, PCWSTR pszEnglish, PWSTR pszText) {
    if (!texts.BLoadResString(id, pszText)) ZQCopyText(pszText, CZQCommon::kResStringChars, pszEnglish);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Dispatcher and visibility
// ---------------------------------------------------------------------------------------------
void CZQFeaturesTab::VRefreshLayoutGroup(HWND hDlg, PageContext* pContext, int iMode) {
    if (!WorkOf(pContext) || !m_pCUIParam) return;
    if (iMode == kRefreshShow)
        VSetLayoutGroup(pContext);
    else if (iMode == kRefreshStore)
        VApplyLayoutGroup(hDlg, pContext);
}

void CZQFeaturesTab::VInitLayoutVisibility(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    const ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;
    HWND preview = m_controls.Item(IDC_CHK_SHOW_PREVIEW_FIN);
    if (!Readable(param, zqkw::kZQPrintPreview)) {
        Hide(preview);
        Hide(m_controls.Item(IDC_GB_PREVIEW_PRINT_FIN));
    } else if ((WebPreviewAllowed(param) || work.dwPdl == kPdlPcl3) && BIsLocalPrinter(param->hPrinter)) {
        if (work.dwLayoutMode == 1) Hide(preview);
        else ShowEnabled(preview);
    } else {
        // A preview the printer cannot serve is not asked for.
        DWSelectOptionByIndex(param, zqkw::kZQPrintPreview, 0, OEMCUIP_DOCPROP);
        Hide(preview);
    }
    // Preserve layout stands with two-sided printing in the full layout; the control-state updater
    // closes the rows up when it does not.
    const bool twoSided = logic.BIsDuplexUnitInstalled(FALSE) ||
                          (logic.BIsManualDuplexAvailable() && logic.m_bManualDuplexOffered);
    if (!(FeatureItem(param, zqkw::kZQAutoDuplexScaling) && work.dwLayoutMode == 3 && twoSided))
        Hide(m_controls.Item(IDC_CHK_PRESERVE_LAYOUT));
    if (!m_state.bPosterSelected) EnableWindow(m_controls.Item(IDC_BTN_SELECT_TILES), FALSE);
    if (work.dwPdl == kPdlPcl3)
        EnableWindow(m_controls.Item(IDC_CHK_STRAIGHT_PAPER_PATH),
                     OptionIs(param, L"ZQPrintOnBothSidesManually", L"TRUE") == 1);
    if (work.dwPdl == kPdlZqgl2)
        for (int id : {IDC_GB_DOC_OPTIONS, IDC_STA_PAGE_ORDER, IDC_CHK_PAGE_BORDER, IDC_CBO_PAGES_PER_SHEET,
                       IDC_STA_PAGES_PER_SHEET, IDC_CBO_PAGE_ORDER})
            Hide(m_controls.Item(id));
}

// ---------------------------------------------------------------------------------------------
// Mode 0: the settings to the controls
// ---------------------------------------------------------------------------------------------
void CZQFeaturesTab::VSetLayoutGroup(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;
    m_controls.VSetCheck(IDC_CHK_PAGE_BORDER, work.dwPageBorders != 0);
    SendMessageW(m_controls.Item(IDC_CBO_PAGE_ORDER), CB_SETCURSEL, work.dwPageOrderIndex, 0);

    // One-sided, by hand, or with the printer's unit ("Automatic").
    HWND twoSided = m_controls.Item(IDC_CBO_TWO_SIDED_PRINTING);
    int entry = -1;
    if (work.wDuplex == 1) {
        entry = 0;
    } else if (logic.BIsManualDuplexAvailable() && work.dwManualDuplex) {
        entry = 1;
    } else if (logic.BIsDuplexUnitInstalled(FALSE)) {
        WCHAR automatic[kResStringChars];
        LoadText(*this, 4823, L"Automatic", automatic);
        const LRESULT found = SendMessageW(twoSided, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                           reinterpret_cast<LPARAM>(automatic));
        entry = found == CB_ERR ? -1 : static_cast<int>(found);
    }
    if (entry >= 0) SendMessageW(twoSided, CB_SETCURSEL, static_cast<WPARAM>(entry), 0);

    if (logic.BHasRotate180()) m_controls.VSetCheck(IDC_CHK_ROTATED, work.dwRotate180 != 0);
    if (FeatureItem(param, zqkw::kZQTransverse)) m_controls.VSetCheck(IDC_CHK_ROTATE90, work.dwRotate90 != 0);
    if (PostScript(pContext) || Readable(param, zqkw::kZQMirrorPrint)) m_controls.VSetCheck(IDC_CHK_MIRROR, work.dwMirror != 0);

    HWND pages = m_controls.Item(IDC_CBO_PAGES_PER_SHEET);
    POPTITEM posterOptions = FeatureItem(param, kPosterOption);
    int pagesEntry = ISettingToListIndex(static_cast<int>(work.dwPagesPerSheet));
    if (m_state.bPosterSelected && FeatureItem(param, zqkw::kZQPosterPrinting) && posterOptions && pages)
        pagesEntry = static_cast<int>(SendMessageW(pages, CB_GETCOUNT, 0, 0)) - IGetOptionCount(posterOptions) +
                     static_cast<int>(posterOptions->Sel);
    SendMessageW(pages, CB_SETCURSEL, static_cast<WPARAM>(pagesEntry), 0);
    VUpdateControlState(pContext);
    logic.VSetBooklet(work.dwBooklet);
    VUpdateDuplexControls(pContext);
    VSetMarginGroup(pContext);
    VUpdatePageOrderState(m_controls.Page());
    VUpdateTwoSidedLabel(pContext);
    VSetPagesPerSheetLabel(pContext);

    if (const int preview = OptionIs(param, zqkw::kZQPrintPreview, L"TRUE"); preview >= 0)
        m_controls.VSetCheck(IDC_CHK_SHOW_PREVIEW_FIN, preview == 1);
    if (const int mirror = OptionIs(param, zqkw::kZQMirrorPrint, L"TRUE"); mirror >= 0)
        m_controls.VSetCheck(IDC_CHK_MIRROR, mirror == 1);
    m_layout.VShowOrientation();

    // The driver's own choice between the unit and printing by hand.
    if (Readable(param, zqkw::kZQUseAutoDuplexUnit)) {
        HWND box = m_controls.Item(IDC_CHK_USE_AUTO_DUPLEX_UNIT);
        EnableWindow(box, FALSE);
        if (OptionIs(param, zqkw::kZQUseAutoDuplexUnit, L"TRUE") == 1 && !work.dwManualDuplex) {
            SetCheck(box, true);
        } else {
            SetCheck(box, false);
            if (work.wDuplex != 1) work.dwManualDuplex = 1;
        }
        VUpdateManualDuplexState(pContext);
    }
}

// ---------------------------------------------------------------------------------------------
// Mode 2: the controls to the settings
// ---------------------------------------------------------------------------------------------
void CZQFeaturesTab::VApplyLayoutGroup(HWND hDlg, PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;
    work.dwPageBorders = m_controls.BChecked(IDC_CHK_PAGE_BORDER) ? 1 : 0;
    if (const int order = m_controls.ISelection(IDC_CBO_PAGE_ORDER); order >= 0)
        work.dwPageOrderIndex = static_cast<uint32_t>(order);
    HWND pages = m_controls.Item(IDC_CBO_PAGES_PER_SHEET);
    if (work.dwPagesPerSheet != 1) {
        if (const int entry = m_controls.ISelection(IDC_CBO_PAGES_PER_SHEET); entry >= 0)
            work.dwPagesPerSheet = static_cast<uint32_t>(IListIndexToSetting(entry));
    } else {
        BCheckPosterSelection(&logic, pages);
    }
    logic.VValidatePrintOnPaper();
    VApplyTwoSided(hDlg, pContext);
    // A booklet prints two pages to a sheet at their size.
    work.dwBooklet = logic.DWBooklet();
    if (work.dwBooklet) {
        work.dwPagesPerSheet = 2;
        work.dwScalePercent = 100;
    }
    if (logic.BHasRotate180()) work.dwRotate180 = m_controls.BChecked(IDC_CHK_ROTATED) ? 1 : 0;
    if (FeatureItem(param, zqkw::kZQTransverse)) {
        const bool turned = m_controls.BChecked(IDC_CHK_ROTATE90) != FALSE;
        work.dwRotate90 = turned ? 1 : 0;
        DWSelectOptionByIndex(param, zqkw::kZQTransverse, turned ? 1 : 0, OEMCUIP_DOCPROP);
    }
    POPTITEM own = nullptr;
    if (DWFindOemOptItemByPubId(param, kOemPubOrientation, &own) == ZQOPT_OK && own) {
        const bool landscape = own->Sel == 1;
        work.wOrientation = landscape ? 2 : 1;
        if (HWND page = m_controls.Page())
            CheckRadioButton(page, IDC_RB_PORTRAIT, IDC_RB_LANDSCAPE, landscape ? IDC_RB_LANDSCAPE : IDC_RB_PORTRAIT);
    }
    if (ZQUIDevmode* core = CoreOf(param)) core->iStartPage = -999;
}

void CZQFeaturesTab::VApplyTwoSided(HWND, PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;
    work.dwFlipPagesUp = m_controls.BChecked(IDC_CHK_FLIP_PAGES_UP) ? 1 : 0;
    work.dwStraightPaperPath = m_controls.BChecked(IDC_CHK_STRAIGHT_PAPER_PATH) ? 1 : 0;
    if (FeatureItem(param, zqkw::kZQUseAutoDuplexUnit)) {
        WCHAR text[256], automatic[kResStringChars];
        LoadText(*this, 4823, L"Automatic", automatic);
        const bool unit = SelectedText(m_controls.Item(IDC_CBO_TWO_SIDED_PRINTING), text) && lstrcmpW(text, automatic) == 0;
        if (unit) {
            if (DWSelectOptionByIndex(param, zqkw::kZQUseAutoDuplexUnit, 1, OEMCUIP_DOCPROP) != ZQOPT_OK) work.dwManualDuplex = 0;
        } else if (DWSelectOptionByIndex(param, zqkw::kZQUseAutoDuplexUnit, 0, OEMCUIP_DOCPROP) != ZQOPT_OK &&
                   work.wDuplex != 1) {
            work.dwManualDuplex = 1;
        }
    }
    work.wDuplex = WGetTwoSidedBinding(pContext);
    if (!logic.BIsManualDuplexAvailable()) {
        // The core driver's two-sided item hears of the binding at once.
        if (POPTITEM duplex = PubItem(param, DMPUB_DUPLEX)) {
            const LONG sel = work.wDuplex == 2 ? 1 : work.wDuplex == 3 ? 2 : 0;
            ReportSelection(param, duplex, sel, static_cast<DWORD>(duplex->Sel), OEMCUIP_DOCPROP);
        }
    } else {
        logic.VUpdateDuplexState();
        logic.IApplyCustomDuplexRange();
    }
    VApplyStraightPaperPath(pContext);
}

void CZQFeaturesTab::VApplyStraightPaperPath(PageContext* pContext) {
    POPTITEM path = FeatureItem(m_pCUIParam, kStraightPaperPath);
    if (!path) return;
    ReportSelection(m_pCUIParam, path, WorkOf(pContext)->dwStraightPaperPath ? 1 : 0, static_cast<DWORD>(path->Sel),
                    OEMCUIP_DOCPROP);
}

// ---------------------------------------------------------------------------------------------
// Two-sided printing: label, controls, lock, manual state, preserve layout
// ---------------------------------------------------------------------------------------------
void CZQFeaturesTab::VUpdateTwoSidedLabel(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;
    const bool unit = logic.BIsDuplexUnitInstalled(FALSE) != FALSE;
    const bool manualAvailable = logic.BIsManualDuplexAvailable() != FALSE;
    HWND box = m_controls.Item(IDC_CHK_DUPLEX);
    bool manual = false;
    if (!unit && manualAvailable) {
        BSetWindowTextRes(3003, box, L"&Print On Both Sides (Manually)");
        return;
    }
    if (unit && manualAvailable) {
        POPTITEM duplex = PubItem(param, DMPUB_DUPLEX);
        POPTITEM byHand = FeatureItem(param, ManualFeature(pContext));
        manual = work.dwManualDuplex == 1 || work.dwStraightPaperPath == 1 ||
                 OptionIs(param, zqkw::kZQUseAutoDuplexUnit, L"FALSE") == 1 ||
                 (duplex && byHand && (Marked(duplex, 1) || Marked(duplex, 2)) && !Marked(byHand, 1));
    }
    if (manual || (unit && manualAvailable && work.dwDuplexConflict == 1)) {
        BSetWindowTextRes(3003, box, L"&Print On Both Sides (Manually)");
        if (work.wDuplex != 1) work.dwManualDuplex = 1;
    } else {
        BSetWindowTextRes(3000, box, L"&Print On Both Sides");
        if (unit && manualAvailable) work.dwManualDuplex = 0;
    }
}

void CZQFeaturesTab::VUpdateDuplexUnitControls(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;
    HWND flip = m_controls.Item(IDC_CHK_FLIP_PAGES_UP);
    HWND path = m_controls.Item(IDC_CHK_STRAIGHT_PAPER_PATH);
    const bool inkFeeder = OptionIs(param, L"ZQInkSPPFeeder", L"TRUE") == 1;
    if (work.wDuplex != 1) {
        m_controls.VSetCheck(IDC_CHK_DUPLEX, TRUE);
        const bool bookletOnTwo = logic.DWBooklet() && IListIndexToSetting(m_controls.ISelection(IDC_CBO_PAGES_PER_SHEET)) == 2;
        EnableWindow(flip, !bookletOnTwo);
        SetCheck(flip, work.dwFlipPagesUp != 0);
        for (int id : {IDC_CHK_STRAIGHT_PAPER_PATH, IDC_STA_BOOKLET, IDC_CBO_BOOKLET_PRINTING})
            EnableWindow(m_controls.Item(id), TRUE);
        if (inkFeeder) {
            const bool byHand = logic.BIsManualDuplexAvailable() != FALSE;
            EnableWindow(path, byHand);
            SetCheck(path, byHand && work.dwStraightPaperPath);
        } else if (OptionIs(param, zqkw::kDuplexUnit, L"INSTALLED") == 1 && logic.BIsDuplexUnitInstalled(FALSE) &&
                   !logic.BIsManualDuplexAvailable()) {
            // The unit turns the sheets: no straight path.
            SetCheck(path, false);
            EnableWindow(path, FALSE);
        } else {
            SetCheck(path, work.dwStraightPaperPath != 0);
        }
        return;
    }
    m_controls.VSetCheck(IDC_CHK_DUPLEX, FALSE);
    SetCheck(flip, false);
    work.dwFlipPagesUp = 0;
    EnableWindow(flip, FALSE);
    EnableWindow(path, !inkFeeder);
    SetCheck(path, !inkFeeder && work.dwStraightPaperPath);
    for (int id : {IDC_STA_BOOKLET, IDC_CBO_BOOKLET_PRINTING}) EnableWindow(m_controls.Item(id), FALSE);
}

void CZQFeaturesTab::VUpdateDuplexControls(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    const ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;
    if (logic.BIsDuplexUnitInstalled(FALSE) || logic.BIsManualDuplexAvailable()) VUpdateDuplexUnitControls(pContext);
    HWND path = m_controls.Item(IDC_CHK_STRAIGHT_PAPER_PATH);
    EnableWindow(path, TRUE);
    SetCheck(path, work.dwStraightPaperPath != 0);
    VUpdateBookletState(pContext);
    // A custom size the printer cannot turn prints on one side.
    if (!logic.BIsManualDuplexAvailable() && FeatureItem(param, L"ZQCustomDUplexableRange") &&
        logic.IApplyCustomDuplexRange() == 2) {
        DWSelectPubOption(param, DMPUB_DUPLEX, 0, 0);
        m_controls.VSetCheck(IDC_CHK_DUPLEX, FALSE);
        EnableWindow(m_controls.Item(IDC_CHK_DUPLEX), FALSE);
    }
}

void CZQFeaturesTab::VApplyDuplexLock(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    if (!logic.BIsDuplexUnitInstalled(FALSE) && !logic.BIsManualDuplexAvailable()) return;
    const bool locked = LockedInAnyCase(m_pCUIParam->hPrinter, zqkw::kDuplexItem);
    m_state.bDuplexLocked = locked ? TRUE : FALSE;
    EnableWindow(m_controls.Item(IDC_CHK_DUPLEX), !locked);
    if (locked) {
        EnableWindow(m_controls.Item(IDC_CHK_FLIP_PAGES_UP), FALSE);
        EnableWindow(m_controls.Item(IDC_CBO_TWO_SIDED_PRINTING), FALSE);
    }
}

void CZQFeaturesTab::VUpdateManualDuplexState(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;
    POPTITEM byHand = FeatureItem(param, ManualFeature(pContext));
    POPTITEM duplex = PubItem(param, DMPUB_DUPLEX);
    if (!byHand || !duplex) return;
    // On another paper the printed-on paper's form decides what the unit can turn.
    bool unitMarked = Marked(duplex, 1) || Marked(duplex, 2);
    if (work.dwPrintDocOn) {
        const PrinterCaps* caps = ZQPrinterCapsLists(pContext->pCaps, kCapsPapers);
        POPTITEM form = PubItem(param, DMPUB_FORMNAME);
        if (!m_dest.Names().Count()) m_dest.BGetPaperSizeNames();
        unitMarked = false;
        for (DWORD i = 0; caps && caps->pPaperIds && form && i < caps->dwPaperCount; ++i) {
            if (caps->pPaperIds[i] != work.dwPrintedOnPaper) continue;
            for (int j = 0; j < IGetOptionCount(form); ++j)
                if (PCWSTR name = OptionName(form, j); name && lstrcmpW(name, m_dest.Names().Name(i)) == 0)
                    unitMarked = Marked(form, j);
            break;
        }
    }
    HWND box = m_controls.Item(IDC_CHK_USE_AUTO_DUPLEX_UNIT);
    if (unitMarked && !Marked(byHand, 1)) {
        SetCheck(box, false);
        EnableWindow(box, FALSE);
        if (work.wDuplex != 1) work.dwManualDuplex = 1;
    } else if (!unitMarked && Marked(byHand, 1)) {
        SetCheck(box, true);
        EnableWindow(box, FALSE);
        work.dwManualDuplex = 0;
    }
}

void CZQFeaturesTab::VUpdateAutoDuplexScaling(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;
    HWND box = m_controls.Item(IDC_CHK_PRESERVE_LAYOUT);
    const bool manual = logic.m_bManualDuplexOffered && logic.BIsManualDuplexAvailable() && work.dwManualDuplex;
    const bool automatic = logic.BIsDuplexUnitInstalled(FALSE) && work.wDuplex != 1 && !manual;
    if (work.wDuplex == 1) {
        SetCheck(box, false);
        EnableWindow(box, FALSE);
        logic.m_dwAutoDuplexScaling = 0;
        return;
    }
    if (!manual && !automatic) return;
    if (FeatureItem(param, zqkw::kZQAutoDuplexScaling)) {
        logic.IBindFeatureControl(0, zqkw::kZQAutoDuplexScaling, box, nullptr, OEMCUIP_DOCPROP, CZQUILogic::kBindShow,
                                  TRUE, 0, nullptr);
        const bool minimize = OptionIs(param, zqkw::kZQMinimizeMargins, L"TRUE") == 1;
        bool enabled = OptionIs(param, zqkw::kZQEmulatePexlonMargins, L"TRUE") != 1 &&
                       !(minimize && (manual || logic.DWMarginChoice(1)));
        if (logic.DWBooklet() && manual) enabled = false;
        if (m_layout.BOptionContains(zqkw::kPaperSize, L"HAGAKI")) {
            SetCheck(box, false);
            enabled = false;
        }
        EnableWindow(box, enabled);
        if (OptionIs(param, zqkw::kZQAutoDuplexScaling, L"TRUE") == 1) m_state.bPreserveLayout = TRUE;
    }
    // Two-sided pages take the margins the unit or the hand turning needs.
    DWSelectOptionByIndex(param, zqkw::kZQSymmetricMargins, 0, OEMCUIP_DOCPROP);
    if (automatic && !logic.DWMarginChoice(1)) DWSelectOptionByIndex(param, zqkw::kZQMinimizeMargins, 0, OEMCUIP_DOCPROP);
}

// ---------------------------------------------------------------------------------------------
// Booklets, page order and pages per sheet
// ---------------------------------------------------------------------------------------------
void CZQFeaturesTab::VUpdatePageOrderState(HWND) {
    const bool booklet = m_controls.ISelection(IDC_CBO_BOOKLET_PRINTING) > 0;
    const int perSheet = IListIndexToSetting(m_controls.ISelection(IDC_CBO_PAGES_PER_SHEET));
    const bool single = booklet || perSheet == 1;
    // A booklet or one page to a sheet has no order on the sheet and no borders between pages.
    if (single) {
        SendMessageW(m_controls.Item(IDC_CBO_PAGE_ORDER), CB_SETCURSEL, 0, 0);
        m_controls.VSetCheck(IDC_CHK_PAGE_BORDER, FALSE);
    }
    for (int id : {IDC_CBO_PAGE_ORDER, IDC_STA_PAGE_ORDER, IDC_CHK_PAGE_BORDER}) EnableWindow(m_controls.Item(id), !single);
}

void CZQFeaturesTab::VUpdateBookletState(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;
    SendMessageW(m_controls.Item(IDC_CBO_BOOKLET_PRINTING), CB_SETCURSEL, logic.DWBooklet(), 0);
    HWND flip = m_controls.Item(IDC_CHK_FLIP_PAGES_UP);
    if (logic.DWBooklet()) {
        VUpdatePageOrderState(m_controls.Page());
        // A landscape booklet is turned over on its short edge.
        const bool landscape = work.wOrientation != 1;
        SetCheck(flip, landscape);
        work.dwFlipPagesUp = landscape ? 1 : 0;
        EnableWindow(flip, FALSE);
        return;
    }
    VUpdatePageOrderState(m_controls.Page());
    if (work.wDuplex != 1) {
        EnableWindow(flip, TRUE);
        POPTITEM minimize = FeatureItem(param, zqkw::kZQMinimizeMargins);
        EnableWindow(m_controls.Item(IDC_CHK_PRESERVE_LAYOUT), !(minimize && minimize->Sel == 1));
    } else {
        EnableWindow(flip, FALSE);
    }
    SetCheck(flip, work.dwFlipPagesUp != 0);
}

BOOL CZQFeaturesTab::BCheckPosterSelection(CZQUILogic* pLogic, HWND hList) {
    if (!pLogic || !hList) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    const POEMCUIPPARAM param = pLogic->Param();
    const ZQUIDevmode* work = pLogic->WorkDM();
    const LRESULT count = SendMessageW(hList, CB_GETCOUNT, 0, 0);
    const LRESULT selection = SendMessageW(hList, CB_GETCURSEL, 0, 0);
    POPTITEM options = FeatureItem(param, kPosterOption);
    // The simplified interface offers its posters apart from the list.
    if (!Readable(param, zqkw::kZQSimplifiedUI) && count != CB_ERR && selection != CB_ERR && options &&
        FeatureItem(param, zqkw::kZQPosterPrinting) && work && work->dwLayoutMode == 3 &&
        selection >= count - IGetOptionCount(options)) {
        m_state.bPosterSelected = TRUE;
        m_state.iPosterOption = IMapSelection1To3(static_cast<int>(selection - count) + 4);
        return TRUE;
    }
    m_state.bPosterSelected = FALSE;
    return FALSE;
}

void CZQFeaturesTab::VSetPagesPerSheetLabel(PageContext*) {
    const POEMCUIPPARAM param = m_pCUIParam;
    HWND label = m_controls.Item(IDC_STA_PAGES_PER_SHEET);
    if (!label) return;
    const bool posters = FeatureItem(param, zqkw::kZQPosterPrinting) && FeatureItem(param, kPosterOption);
    if (posters && !Readable(param, zqkw::kZQSimplifiedUI)) {
        BSetWindowTextRes(5302, label, L"&Pages per Sheet and Posters");
        return;
    }
    WCHAR name[kResStringChars], colon[kResStringChars], text[2 * kResStringChars];
    LoadText(*this, 815, L"&Pages per Sheet", name);
    LoadText(*this, 3994, L":", colon);
    ZQCopyText(text, ARRAYSIZE(text), name);
    // A translation that ends in the separator already keeps it once.
    const size_t length = wcslen(name), tail = wcslen(colon);
    if (length < tail || wcscmp(name + length - tail, colon) != 0) ZQAppendText(text, ARRAYSIZE(text), colon);
    SetWindowTextW(label, text);
}

BOOL CZQFeaturesTab::BValidatePrintedOnPaper(PageContext* pContext, DWORD dwCount, const WORD* pIds) {
    ZQUIDevmode* work = WorkOf(pContext);
    POPTITEM form = PubItem(m_pCUIParam, DMPUB_FORMNAME);
    if (!work || !pIds || !dwCount || !form) return FALSE;
    if (!m_dest.Names().Count()) m_dest.BGetPaperSizeNames();
    for (DWORD i = 0; i < dwCount; ++i) {
        if (pIds[i] != work->dwPrintedOnPaper) continue;
        for (int j = 0; j < IGetOptionCount(form); ++j) {
            PCWSTR name = OptionName(form, j);
            if (!name || lstrcmpW(name, m_dest.Names().Name(i)) != 0 || !Marked(form, j)) continue;
            // The paper conflicts with the settings: the printer's first paper stands in.
            work->dwPrintedOnPaper = pIds[0];
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

// ---------------------------------------------------------------------------------------------
// Photo and disc media
// ---------------------------------------------------------------------------------------------
void CZQFeaturesTab::VApplyCdMedia(HWND, PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;
    // One page to a sheet, no poster.
    work.dwPagesPerSheet = 1;
    for (int id : {IDC_CBO_PAGES_PER_SHEET, IDC_CBO_PAGE_ORDER}) {
        SendMessageW(m_controls.Item(id), CB_SETCURSEL, 0, 0);
        EnableWindow(m_controls.Item(id), FALSE);
    }
    DWSelectOptionByIndex(param, zqkw::kZQPosterPrintingOptionSUI, 0, OEMCUIP_DOCPROP);
    if (auto* finishing = ZQSheetPage<IZQFinishingPage>(pContext, kPageFinishing)) finishing->VDisablePosterControl(pContext->pLogic);
    if (work.wDuplex == 1) {
        work.dwBooklet = 0;
        logic.VEndBooklet();
        SendMessageW(m_controls.Item(IDC_CBO_BOOKLET_PRINTING), CB_SETCURSEL, 0, 0);
        EnableWindow(m_controls.Item(IDC_CBO_BOOKLET_PRINTING), FALSE);
    }
    DWSelectOptionByIndex(param, zqkw::kZQBorderLessPhoto, 0, OEMCUIP_DOCPROP);
    DWSelectOptionByIndex(param, zqkw::kZQPhotoFix, 1, OEMCUIP_DOCPROP);
    work.dwMirror = 1;
    DWSelectOptionByIndex(param, zqkw::kZQMirrorPrint, 0, OEMCUIP_DOCPROP);
    POPTITEM poster = FeatureItem(param, zqkw::kZQPosterPrintingOptionSUI);
    if (!m_layout.BOptionContains(zqkw::kMediaType, L"CD_DVD")) {
        EnableWindow(m_controls.Item(IDC_RB_PRINT_DOC_ON), TRUE);
        if (!m_state.bDuplexLocked) EnableWindow(m_controls.Item(IDC_CBO_TWO_SIDED_PRINTING), TRUE);
        if (poster) poster->Flags &= ~OPTIF_DISABLED;
        return;
    }
    // A disc prints one-sided, mirrored for its label side, at its own size.
    DWSelectOptionByIndex(param, zqkw::kZQPhotoFix, 0, OEMCUIP_DOCPROP);
    work.dwMirror = 0;
    DWSelectOptionByIndex(param, zqkw::kZQMirrorPrint, 1, OEMCUIP_DOCPROP);
    DWSelectOptionByIndex(param, zqkw::kManualDuplex, 0, OEMCUIP_DOCPROP);
    work.wDuplex = 1;
    HWND twoSided = m_controls.Item(IDC_CBO_TWO_SIDED_PRINTING);
    SendMessageW(twoSided, CB_SETCURSEL, 0, 0);
    EnableWindow(twoSided, FALSE);
    logic.VUpdateDuplexState();
    VApplyTwoSided(m_controls.Page(), pContext);
    EnableWindow(m_controls.Item(IDC_CHK_FLIP_PAGES_UP), FALSE);
    if (poster) {
        poster->Flags &= ~OPTIF_DISABLED;
        DWSelectOptionByIndex(param, zqkw::kZQPosterPrintingOptionSUI, 0, OEMCUIP_DOCPROP);
    }
    work.dwPrintDocOn = 0;
    work.dwScaleToFit = 0;
    m_state.iResizeMode = ZQFeaturesState::kActualSize;
    m_controls.VSetCheck(IDC_RB_PRINT_DOC_ON, FALSE);
    EnableWindow(m_controls.Item(IDC_RB_PRINT_DOC_ON), FALSE);
    EnableWindow(m_controls.Item(IDC_CBO_DEST_PAPER_SIZE), FALSE);
    m_controls.VSetCheck(IDC_RB_ACTUAL_SIZE, TRUE);
    EnableWindow(m_controls.Item(IDC_RB_ACTUAL_SIZE), TRUE);
}

// ---------------------------------------------------------------------------------------------
// The resolution figures
// ---------------------------------------------------------------------------------------------
void CZQFeaturesTab::VShowResolutionInfo(HWND hDlg, PageContext* pContext) {
    if (!FeatureItem(m_pCUIParam, L"PQDPI")) return;
    WCHAR caption[kResStringChars], colon[kResStringChars];
    LoadText(*this, 3024, L"Resolution", caption);
    LoadText(*this, 3994, L":", colon);
    const struct {
        INT id;
        PCWSTR english;
    } rows[] = {{3991, L"Black render dpi"}, {3992, L"Color input dpi"}, {3993, L"Color output"}};
    WCHAR message[512] = {};
    for (int i = 0; i < 3; ++i) {
        WCHAR label[kResStringChars], value[kResStringChars] = {};
        LoadText(*this, rows[i].id, rows[i].english, label);
        if (pContext->pRules) BLoadResString(static_cast<INT>(pContext->pRules->DWResourceId(i)), value);
        for (PCWSTR part : {static_cast<PCWSTR>(label), static_cast<PCWSTR>(colon), L"\t\t", static_cast<PCWSTR>(value), L"\n"})
            ZQAppendText(message, ARRAYSIZE(message), part);
    }
    zqmsgbox::IShow(hDlg, message, caption, MB_OK);
}
