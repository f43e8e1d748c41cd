// The large-format Features page: its object, its messages, the start of its window,
// painting, help, texts, which options show, the change check, the sample page's record and the
// sheet's notifications with the user's commands.
#include "pages/lfeatures/zqlfeaturespage.h"

#include "common/zqkeywords.h"
#include "common/zqstrings.h"
#include "featurelogic/zqquicksets.h"
#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"
#include "pages/dialogs/zqmodaldlg.h"
#include "pages/zqpageitems.h"
#include "pages/zqpagepreview.h"
#include "preview/zqpreview.h"
#include "res/zqlfeaturesids.h"

using namespace zqpage;

namespace {

constexpr int kFullScale = 100;
// The percentage box is widened for its fourth digit.
constexpr int kFourthDigitPixels = 5;

}  // namespace

const ZQRollBox kLargeFeaturesRollBoxes[4] = {
    {IDC_CHK_SAVE_ROLL_PAPER_SUI, zqkw::kZQSaveRollPaper},
    {IDC_CHK_DISABLE_AUTO_CUTTER_SUI, zqkw::kZQDisableAutoCutter},
    {IDC_CHK_AUTOROTATE_SUI, zqkw::kZQAutorotate},
    {IDC_CHK_REMOVE_MARGINS_SUI, zqkw::kZQRemoveMarginsBetweenPages},
};

// ---------------------------------------------------------------------------------------------
// The page object
// ---------------------------------------------------------------------------------------------
// The page moves none of its controls: they stay where the template puts them.
CZQLargeFormatFeaturesTab::CZQLargeFormatFeaturesTab() : m_controls(nullptr, 0) {}

// The alert strip leaves the gate's list before the base goes; the paper names free themselves.
CZQLargeFormatFeaturesTab::~CZQLargeFormatFeaturesTab() { m_alerts.VDetach(); }

// ---------------------------------------------------------------------------------------------
// Its own messages
// ---------------------------------------------------------------------------------------------
INT_PTR CZQLargeFormatFeaturesTab::IOnMessage(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam,
                                              PageContext* pContext) {
    switch (uMsg) {
        case WM_PAINT: VOnPaint(hDlg, pContext); return FALSE;
        case WM_DRAWITEM:
            m_controls.VRepaint(IDC_BTN_PREVIEW_PORT, IDC_BTN_PREVIEW_LAND, TRUE);
            m_controls.VRepaint(IDC_PREVIEW_DIMENSIONS, IDC_PREVIEW_DIMENSIONS, FALSE);
            return FALSE;
        case WM_HSCROLL:
            if (reinterpret_cast<HWND>(lParam) == m_controls.Item(IDC_CTL_HSCROLL_SUI))
                VOnScroll(hDlg, LOWORD(wParam), pContext);
            return FALSE;
        default: return FALSE;
    }
}

// ---------------------------------------------------------------------------------------------
// The start of the page's window
// ---------------------------------------------------------------------------------------------
BOOL CZQLargeFormatFeaturesTab::BInitDialog(HWND hDlg, PageContext* pContext) {
    if (!BAllocPageBlock()) return FALSE;
    CZQUILogic& logic = *pContext->pLogic;
    const POEMCUIPPARAM param = m_pCUIParam;
    ZQSheetState& sheet = *logic.SheetState();
    if (!sheet.bTitleDone && logic.BAppendVersionToTitle(hDlg)) sheet.bTitleDone = TRUE;
    if (pContext->pCaps) ZQCopyText(m_szText, kResStringChars, pContext->pCaps->szPortName);
    m_pPublicDM = param->pPublicDM;
    // The bounds first: the percentage shown from the settings is bounded by them.
    if (logic.BIsLargeFormat()) {
        m_state.iScaleMaximum = 1000;
        m_state.iScaleDigits = 4;
    }

    VCacheControls(hDlg);
    VSetControlTexts();
    VFillLayoutLists(pContext);
    BGetPaperSizeNames();
    VRefresh(hDlg, pContext, kRefreshShow);
    VInitOptionVisibility(pContext);
    logic.VUpdateRollPreview(pContext->pPreview, pContext->pRules);
    SetWindowLongPtrW(hDlg, DWLP_USER, reinterpret_cast<LONG_PTR>(pContext));

    HWND percent = m_controls.Item(IDC_TXT_NORMAL_SIZE_SUI);
    SendMessageW(percent, EM_LIMITTEXT, static_cast<WPARAM>(m_state.iScaleDigits), 0);
    VSubclassPreviewDimensions(param, hDlg, param->hPrinter);
    if (percent && m_state.iScaleDigits == 4) {
        RECT rc = {};
        GetWindowRect(percent, &rc);
        SetWindowPos(percent, nullptr, 0, 0, rc.right - rc.left + kFourthDigitPixels, rc.bottom - rc.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOOWNERZORDER);
    }
    SendMessageW(m_controls.Item(IDC_TXT_ACCOUNTID_SUI), EM_LIMITTEXT, ZQLargeFeaturesState::kAccountChars - 1, 0);
    BCreateAlertWindow(hDlg, pContext);
    return TRUE;
}

BOOL CZQLargeFormatFeaturesTab::BCreateAlertWindow(HWND hDlg, PageContext* pContext) {
    if (!hDlg || !pContext) return FALSE;
    m_alerts.VInit(hDlg, pContext->pAlerts, pContext->pConstraints);
    return m_alerts.Window() != nullptr;
}

void CZQLargeFormatFeaturesTab::VCacheControls(HWND hDlg) { VAttachControls(m_controls, hDlg); }

void CZQLargeFormatFeaturesTab::VSetControlTexts() {
    static const CZQPageControls::TextRow kTexts[] = {
        {0, kTitleId, L"Features"},
        {IDC_GB_PRINT_DOC_SUI, 3038, L"Resizing Options"},
        {IDC_RB_ACTUAL_SIZE_SUI, 3321, L"Actu&al Size"},
        {IDC_RB_PRINT_DOC_ON_SUI, 806, L"Pr&int Document On"},
        {IDC_RB_SCALING_SUI, 5943, L"% of N&ormal Size"},
        {IDC_GB_PAPERSAVINGOPT_SUI, -1, L"Paper saving Options"},
        {IDC_STA_PAGES_PER_SHEET_SUI, 815, L"Pages per Sheet"},
        {IDC_STA_PAGE_ORDER_SUI, 817, L"Page Order"},
        {IDC_CHK_PAGE_BORDER_SUI, 816, L"Print Page &Borders"},
        {IDC_CHK_SHOW_PREVIEW_FIN_SUI, 5957, L"Show preview before printing"},
        {IDC_GB_ROLLSAVINGOPT_SUI, -1, L"Roll Saving options"},
        {IDC_CHK_DISABLE_AUTO_CUTTER_SUI, 4474, L"Disa&ble Automatic Cutter"},
        {IDC_CHK_SAVE_ROLL_PAPER_SUI, 4473, L"R&emove Top/Bottom Blank Areas"},
        {IDC_CHK_REMOVE_MARGINS_SUI, 5942, L"Remove Margins Between Pages"},
        {IDC_CHK_ROTATE90_SUI, 4521, L"Rotate by 90 &degrees"},
        {IDC_CHK_AUTOROTATE_SUI, 4957, L"A&utoRotate"},
        {IDC_GB_ACCOUNTING_SUI, 5023, L"Accounting"},
        {IDC_STA_ACCOUNTID_SUI, 5025, L"&Account ID:"},
        {IDC_BTN_HELP, 797, L"&Help"},
    };
    m_controls.VSetTexts(*this, kTexts, static_cast<int>(sizeof kTexts / sizeof kTexts[0]));
}

void CZQLargeFormatFeaturesTab::VFillLayoutLists(PageContext* pContext) {
    static const INT kPagesPerSheet[] = {3300, 3301, 3302, 3303, 3304, 3305};
    static const INT kPageOrders[] = {700, 701, 702, 703};
    m_controls.VFillList(*this, IDC_CBO_PAGES_PER_SHEET_SUI, kPagesPerSheet, 6);
    m_controls.VFillList(*this, IDC_CBO_PAGE_ORDER_SUI, kPageOrders, 4);
    SendMessageW(m_controls.Item(IDC_CBO_PAGES_PER_SHEET_SUI), CB_SETCURSEL, 0, 0);
    SendMessageW(m_controls.Item(IDC_CBO_PAGE_ORDER_SUI), CB_SETCURSEL, 0, 0);
    VFillDestPaperList(pContext);
}

void CZQLargeFormatFeaturesTab::VInitOptionVisibility(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;
    HWND rotate = m_controls.Item(IDC_CHK_ROTATE90_SUI);
    if (FeatureItem(param, zqkw::kZQTransverse)) {
        if (logic.BClearTransverseForBitmap()) {
            EnableWindow(rotate, FALSE);
        } else if (work.dwFlags & ZQLargeFeaturesState::kNoRotate90Flag) {
            SetCheck(rotate, false);
            EnableWindow(rotate, FALSE);
        }
        Show(rotate);
    } else {
        Hide(rotate);
    }
    const bool paperSaving = work.dwLayoutMode == 3 && work.dwPdl != kPdlZqgl2;
    for (int id : {IDC_GB_PAPERSAVINGOPT_SUI, IDC_STA_PAGES_PER_SHEET_SUI, IDC_CBO_PAGES_PER_SHEET_SUI,
                   IDC_STA_PAGE_ORDER_SUI, IDC_CBO_PAGE_ORDER_SUI, IDC_CHK_PAGE_BORDER_SUI})
        m_controls.VShow(id, paperSaving);
    m_controls.VShow(IDC_CHK_REMOVE_MARGINS_SUI, FeatureItem(param, zqkw::kZQRemoveMarginsBetweenPages) != nullptr);
}

// ---------------------------------------------------------------------------------------------
// Painting, help, the end of the window
// ---------------------------------------------------------------------------------------------
void CZQLargeFormatFeaturesTab::VOnPaint(HWND hDlg, PageContext* pContext) {
    VPaintLogo(hDlg, IDB_ZQLOGO, IDB_ZQLOGO_MASK, IDC_ZQLOGO_HOLDER);
    if (!pContext->pPreview) return;
    VFillPreviewSettings(pContext);
    pContext->pPreview->VSetSettings(&m_preview);
    pContext->pPreview->VPaint();
}

void CZQLargeFormatFeaturesTab::VGetHelpIds(DWORD* pdwTable, PageContext* pContext) {
    const ZQUIDevmode* work = WorkOf(pContext);
    const HelpRow rows[kHelpPairs] = {
        {IDC_GB_PRINT_DOC_SUI, nullptr, 0, nullptr, -1},
        {IDC_RB_PRINT_DOC_ON_SUI, L"FitToOtherSizeChoice", 0, nullptr, 14063},
        {IDC_CBO_DEST_PAPER_SIZE_SUI, nullptr, 0, nullptr, 14080},
        {IDC_TXT_NORMAL_SIZE_SUI, nullptr, 0, nullptr, 14053},
        {IDC_RB_SCALING_SUI, nullptr, 0, nullptr, 15052},
        {IDC_CTL_HSCROLL_SUI, nullptr, 0, nullptr, 15053},
        {IDC_RB_ACTUAL_SIZE_SUI, nullptr, 0, nullptr, 15282},
        {IDC_GB_PAPERSAVINGOPT_SUI, nullptr, 0, nullptr, -1},
        {IDC_STA_PAGES_PER_SHEET_SUI, nullptr, 0, nullptr, -1},
        {work ? ShownPreviewId(*work) : IDC_BTN_PREVIEW_PORT, nullptr, 0, nullptr, 14060},
        {IDC_CBO_PAGES_PER_SHEET_SUI, L"NUpChoice", 0, nullptr, 14051},
        {IDC_STA_PAGE_ORDER_SUI, nullptr, 0, nullptr, -1},
        {IDC_CBO_PAGE_ORDER_SUI, L"NUpPageOrderChoice", 0, nullptr, 14065},
        {IDC_CHK_PAGE_BORDER_SUI, L"NUpBordersChoice", 0, nullptr, 14064},
        {IDC_CHK_SHOW_PREVIEW_FIN_SUI, nullptr, 0, nullptr, 15466},
        {IDC_GB_ROLLSAVINGOPT_SUI, nullptr, 0, nullptr, -1},
        {IDC_CHK_DISABLE_AUTO_CUTTER_SUI, nullptr, 0, zqkw::kZQDisableAutoCutter, -1},
        {IDC_CHK_SAVE_ROLL_PAPER_SUI, nullptr, 0, zqkw::kZQSaveRollPaper, -1},
        {IDC_CHK_AUTOROTATE_SUI, nullptr, 0, zqkw::kZQAutorotate, -1},
        {IDC_CHK_REMOVE_MARGINS_SUI, nullptr, 0, nullptr, -1},
        {IDC_CHK_ROTATE90_SUI, nullptr, 0, nullptr, 15507},
        {IDC_GB_ACCOUNTING_SUI, nullptr, 0, nullptr, -1},
        {IDC_STA_ACCOUNTID_SUI, nullptr, 0, nullptr, -1},
        {IDC_TXT_ACCOUNTID_SUI, nullptr, 0, nullptr, -1},
        {IDC_ZQLOGO_HOLDER, nullptr, 0, nullptr, -1},
    };
    FillHelpTable(pdwTable, rows, kHelpPairs, HPrinter(), pContext->pLogic);
}

void CZQLargeFormatFeaturesTab::VOnHelp(HWND hWnd, UINT uCommand, PageContext* pContext) {
    DWORD table[2 * (kHelpPairs + 1)] = {};
    VGetHelpIds(table, pContext);
    ZQShowDialogHelp(hWnd, uCommand, m_pCUIParam, table);
}

void CZQLargeFormatFeaturesTab::VOnDestroy() {
    // The page object outlives its window.
    m_alerts.VDetach();
    m_controls.VForget();
    m_hHelpButton = m_hPortraitPreview = m_hLandscapePreview = nullptr;
}

// ---------------------------------------------------------------------------------------------
// The change check and the sample page
// ---------------------------------------------------------------------------------------------
BOOL CZQLargeFormatFeaturesTab::BCheckChanged(HWND hDlg, PageContext* pContext) {
    const ZQUIDevmode* saved = CoreOf(m_pCUIParam);
    const ZQUIDevmode* work = WorkOf(pContext);
    if (!saved || !work) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    CZQUILogic& logic = *pContext->pLogic;
    bool changed = work->dwPagesPerSheet != saved->dwPagesPerSheet;
    if (work->dwPagesPerSheet != 1)
        changed = changed || work->dwPageBorders != saved->dwPageBorders ||
                  work->dwPageOrderIndex != saved->dwPageOrderIndex;
    if (FeatureItem(m_pCUIParam, zqkw::kZQTransverse)) changed = changed || work->dwRotate90 != saved->dwRotate90;
    changed = changed || work->dwPrintDocOn != saved->dwPrintDocOn || work->dwPrintedOnPaper != saved->dwPrintedOnPaper;
    if (IsWindowEnabled(m_controls.Item(IDC_TXT_NORMAL_SIZE_SUI)))
        changed = changed || work->dwScalePercent != saved->dwScalePercent;
    for (const ZQRollBox& box : kLargeFeaturesRollBoxes) {
        int differs = 0;
        logic.IBindFeatureControl(0, box.pszFeature, m_controls.Item(box.iCtrlId), &differs, OEMCUIP_DOCPROP,
                                  CZQUILogic::kBindCompare, TRUE, 0, nullptr);
        changed = changed || differs != 0;
    }
    int previewDiffers = 0;
    logic.IBindFeatureControl(0, zqkw::kZQPrintPreview, m_controls.Item(IDC_CHK_SHOW_PREVIEW_FIN_SUI), &previewDiffers,
                              OEMCUIP_DOCPROP, CZQUILogic::kBindCompare, TRUE, 0, nullptr);
    changed = changed || previewDiffers != 0;
    WCHAR savedId[ZQLargeFeaturesState::kAccountChars];
    ZQCopyTextN(savedId, ZQLargeFeaturesState::kAccountChars, saved->szAppText,
                ZQLargeFeaturesState::kAccountChars - 1);
    changed = changed || !ZQEqualNoCase(savedId, m_state.szAccountId);
    ReportPageChange(hDlg, pContext, CZQQuickSets::kCompareFeatures, changed);
    return TRUE;
}

void CZQLargeFormatFeaturesTab::VFillPreviewSettings(PageContext* pContext) {
    if (!BFillSharedPreview(&m_preview, pContext)) return;
    const ZQUIDevmode& work = *WorkOf(pContext);
    PreviewSettings& r = m_preview;
    BOOL number = FALSE;
    const UINT typed = GetDlgItemInt(m_controls.Page(), IDC_TXT_NORMAL_SIZE_SUI, &number, FALSE);
    r.aiValue[kPvScale] = work.dwPrintDocOn ? kFullScale : number ? static_cast<int>(typed) : static_cast<int>(work.dwScalePercent);
    r.aiValue[kPvWatermarkFirstPage] = 0;
    r.aiExtra[kPxCenterOnPage] = 0;
    // The document printed on another paper is shown on the paper the list names.
    const PrinterCaps* caps = ZQPrinterCapsLists(pContext->pCaps, kCapsPapers);
    LONG width = 0, length = 0;
    if (work.dwPrintDocOn == 1 && caps &&
        BGetPaperDimensions(WGetDestPaperId(caps->dwPaperCount, m_controls.ISelection(IDC_CBO_DEST_PAPER_SIZE_SUI),
                                            caps->pPaperIds),
                            &width, &length, caps)) {
        r.aiValue[kPvSheetWidth] = width;
        r.aiValue[kPvSheetHeight] = length;
    }
    ZQFillPreviewRollMargins(&r, m_pCUIParam, PostScript(pContext));
}

// ---------------------------------------------------------------------------------------------
// The sheet's notifications
// ---------------------------------------------------------------------------------------------
LRESULT CZQLargeFormatFeaturesTab::IOnNotify(HWND hDlg, const NMHDR* pHeader, PageContext* pContext) {
    switch (pHeader->code) {
        case PSN_SETACTIVE: VOnSetActive(hDlg, pContext); return 0;
        case PSN_KILLACTIVE: VOnKillActive(hDlg, pContext); return FALSE;
        case PSN_APPLY:
            return ReportPage(pContext, kPageLargeFormatFeatures,
                              [pContext] { pContext->pLogic->VSyncNupItem(pContext->pCaps); });
        default: return 0;
    }
}

void CZQLargeFormatFeaturesTab::VOnSetActive(HWND hDlg, PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    const ZQUIDevmode& work = *logic.WorkDM();
    VNoteShown(pContext, kPageLargeFormatFeatures);
    // A job sent as a 24-bit picture prints at its actual size.
    const int bitmap = OptionIs(m_pCUIParam, zqkw::kZQSendJobAsBitmap, zqkw::kSleekMode24bpp);
    if (pContext->pCaps && (pContext->pCaps->dwFlags & 0x2) && logic.BIsLargeFormat() && work.dwPdl == kPdlZqgl2 &&
        bitmap >= 0) {
        if (bitmap == 1) {
            SendMessageW(m_controls.Item(IDC_RB_ACTUAL_SIZE_SUI), BM_CLICK, 0, 0);
            for (int id : {IDC_RB_PRINT_DOC_ON_SUI, IDC_CBO_DEST_PAPER_SIZE_SUI, IDC_RB_SCALING_SUI,
                           IDC_TXT_NORMAL_SIZE_SUI, IDC_CTL_HSCROLL_SUI})
                EnableWindow(m_controls.Item(id), FALSE);
        } else {
            EnableWindow(m_controls.Item(IDC_RB_PRINT_DOC_ON_SUI), TRUE);
            EnableWindow(m_controls.Item(IDC_RB_SCALING_SUI), TRUE);
        }
    }
    VFillPreviewSettings(pContext);
    ShowEnabled(m_controls.Item(IDC_PREVIEW_DIMENSIONS));
    if (work.dwPrintDocOn)
        ShowEnabled(m_controls.Item(IDC_PREVIEW_DOCSIZE));
    else
        Hide(m_controls.Item(IDC_PREVIEW_DOCSIZE));
    VFillDestPaperList(pContext);
    VRefresh(hDlg, pContext, kRefreshShow);
    VUpdateRollOptions(pContext);
    VRefreshPreviewTexts(pContext);
}

void CZQLargeFormatFeaturesTab::VOnKillActive(HWND hDlg, PageContext* pContext) {
    ZQUIDevmode& work = *WorkOf(pContext);
    HWND percent = m_controls.Item(IDC_TXT_NORMAL_SIZE_SUI);
    if (percent && !GetWindowTextLengthW(percent)) {
        SetDlgItemInt(hDlg, IDC_TXT_NORMAL_SIZE_SUI, work.dwScalePercent, FALSE);
    } else if (percent) {
        const UINT typed = GetDlgItemInt(hDlg, IDC_TXT_NORMAL_SIZE_SUI, nullptr, FALSE);
        if (static_cast<int>(typed) < m_state.iScaleMinimum) VShowPercent(hDlg, m_state.iScaleMinimum);
    }
    ZQCopyTextN(work.szAppText, ZQLargeFeaturesState::kAccountChars, m_state.szAccountId,
                ZQLargeFeaturesState::kAccountChars - 1);
    VRefresh(hDlg, pContext, kRefreshStore);
}

// ---------------------------------------------------------------------------------------------
// The user's commands
// ---------------------------------------------------------------------------------------------
INT_PTR CZQLargeFormatFeaturesTab::IOnCommand(HWND hDlg, int iCtrlId, int iCode, HWND, PageContext* pContext) {
    if (iCode == BN_CLICKED) {
        switch (iCtrlId) {
            case IDC_BTN_PREVIEW_PORT:
            case IDC_BTN_PREVIEW_LAND: VOnPreviewClick(hDlg, iCtrlId, pContext); return TRUE;
            case IDC_PREVIEW_DIMENSIONS:
            case IDC_PREVIEW_DOCSIZE: VRefreshPreviewTexts(pContext); return TRUE;
            case IDC_RB_ACTUAL_SIZE_SUI: VOnActualSize(hDlg, pContext); return TRUE;
            case IDC_RB_PRINT_DOC_ON_SUI: VOnPrintDocOn(hDlg, pContext); return TRUE;
            case IDC_RB_SCALING_SUI: VOnScaling(hDlg, pContext); return TRUE;
            case IDC_CHK_PAGE_BORDER_SUI:
                BCheckChanged(hDlg, pContext);
                VRepaintPreview();
                return TRUE;
            case IDC_CHK_DISABLE_AUTO_CUTTER_SUI:
            case IDC_CHK_SAVE_ROLL_PAPER_SUI:
            case IDC_CHK_REMOVE_MARGINS_SUI:
            case IDC_CHK_ROTATE90_SUI:
            case IDC_CHK_AUTOROTATE_SUI: VOnRollBox(hDlg, iCtrlId, pContext); return TRUE;
            case IDC_CHK_SHOW_PREVIEW_FIN_SUI:
                DWSelectOptionByIndex(m_pCUIParam, zqkw::kZQPrintPreview,
                                      m_controls.BChecked(IDC_CHK_SHOW_PREVIEW_FIN_SUI) ? 1 : 0, OEMCUIP_DOCPROP);
                BCheckChanged(hDlg, pContext);
                return TRUE;
            default: return FALSE;
        }
    }
    switch (iCode) {
        case CBN_DROPDOWN:
            if (iCtrlId == IDC_CBO_PAGES_PER_SHEET_SUI) VFitComboDropWidth(m_controls.Item(iCtrlId));
            return FALSE;
        case CBN_SELCHANGE:
            if (iCtrlId == IDC_CBO_PAGES_PER_SHEET_SUI) {
                VOnPagesPerSheet(hDlg, pContext);
            } else if (iCtrlId == IDC_CBO_PAGE_ORDER_SUI) {
                WorkOf(pContext)->dwPageOrderIndex = static_cast<uint32_t>(m_controls.ISelection(iCtrlId));
                BCheckChanged(hDlg, pContext);
                VRepaintPreview();
            } else if (iCtrlId == IDC_CBO_DEST_PAPER_SIZE_SUI) {
                VOnDestPaper(pContext);
                BCheckChanged(hDlg, pContext);
                VRefreshPreviewTexts(pContext);
            }
            return TRUE;
        case EN_KILLFOCUS:
            if (iCtrlId == IDC_TXT_NORMAL_SIZE_SUI) VOnPercentLeft(hDlg, pContext);
            return FALSE;
        case EN_CHANGE:
            if (iCtrlId == IDC_TXT_NORMAL_SIZE_SUI && IsWindowEnabled(m_controls.Item(iCtrlId)))
                VOnPercentTyped(hDlg, pContext);
            else if (iCtrlId == IDC_TXT_ACCOUNTID_SUI)
                VOnAccountTyped(hDlg);
            return FALSE;
        default: return FALSE;
    }
}

void CZQLargeFormatFeaturesTab::VOnPreviewClick(HWND hDlg, int iCtrlId, PageContext* pContext) {
    const ZQUIDevmode& work = *WorkOf(pContext);
    SetOrientation(pContext, m_pCUIParam, work.wOrientation != 2);
    BCheckChanged(hDlg, pContext);
    VRefreshPreviewTexts(pContext);
    SetFocus(m_controls.Item(iCtrlId == IDC_BTN_PREVIEW_PORT ? IDC_BTN_PREVIEW_LAND : IDC_BTN_PREVIEW_PORT));
}

void CZQLargeFormatFeaturesTab::VOnRollBox(HWND hDlg, int iCtrlId, PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    PCWSTR feature = iCtrlId == IDC_CHK_ROTATE90_SUI ? zqkw::kZQTransverse : nullptr;
    for (const ZQRollBox& box : kLargeFeaturesRollBoxes)
        if (box.iCtrlId == iCtrlId) feature = box.pszFeature;
    logic.IBindFeatureControl(0, feature, m_controls.Item(iCtrlId), nullptr, OEMCUIP_DOCPROP, CZQUILogic::kBindApply,
                              TRUE, 0, nullptr);
    if (iCtrlId == IDC_CHK_ROTATE90_SUI) WorkOf(pContext)->dwRotate90 = m_controls.BChecked(iCtrlId) ? 1 : 0;
    if (iCtrlId == IDC_CHK_AUTOROTATE_SUI && m_controls.BChecked(iCtrlId)) VUpdateRotate90(pContext);
    BCheckChanged(hDlg, pContext);
    if (iCtrlId == IDC_CHK_ROTATE90_SUI) VRefreshPreviewTexts(pContext);
    if (iCtrlId != IDC_CHK_REMOVE_MARGINS_SUI) VRepaintPreview();
}

void CZQLargeFormatFeaturesTab::VOnPercentTyped(HWND hDlg, PageContext* pContext) {
    WCHAR text[8] = {};
    GetDlgItemTextW(hDlg, IDC_TXT_NORMAL_SIZE_SUI, text, 8);
    int value = 0;
    if (text[0] && !BIsAllDigits(text)) {
        // What is not a number is the full size, with the caret after it.
        value = kFullScale;
        SetDlgItemInt(hDlg, IDC_TXT_NORMAL_SIZE_SUI, kFullScale, FALSE);
        SendMessageW(m_controls.Item(IDC_TXT_NORMAL_SIZE_SUI), EM_SETSEL, 3, 3);
    } else {
        value = static_cast<int>(GetDlgItemInt(hDlg, IDC_TXT_NORMAL_SIZE_SUI, nullptr, FALSE));
    }
    if (value > m_state.iScaleMaximum) {
        value = m_state.iScaleMaximum;
        SetDlgItemInt(hDlg, IDC_TXT_NORMAL_SIZE_SUI, static_cast<UINT>(value), FALSE);
    }
    if (HWND bar = m_controls.Item(IDC_CTL_HSCROLL_SUI)) {
        SCROLLINFO info = {sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, m_state.iScaleMinimum,
                           m_state.iScaleMaximum + 9, 10, value, 0};
        SetScrollInfo(bar, SB_CTL, &info, TRUE);
    }
    // A value still being typed below the least is kept as it stands until the box is left.
    WorkOf(pContext)->dwScalePercent = static_cast<uint32_t>(value);
    BCheckChanged(hDlg, pContext);
    VRefreshPreviewTexts(pContext);
}

void CZQLargeFormatFeaturesTab::VOnPercentLeft(HWND hDlg, PageContext* pContext) {
    HWND percent = m_controls.Item(IDC_TXT_NORMAL_SIZE_SUI);
    if (!percent) return;
    if (!GetWindowTextLengthW(percent)) {
        SetDlgItemInt(hDlg, IDC_TXT_NORMAL_SIZE_SUI, kFullScale, FALSE);
    } else if (static_cast<int>(GetDlgItemInt(hDlg, IDC_TXT_NORMAL_SIZE_SUI, nullptr, FALSE)) < m_state.iScaleMinimum) {
        VShowPercent(hDlg, m_state.iScaleMinimum);
        if (IsWindowEnabled(percent)) WorkOf(pContext)->dwScalePercent = static_cast<uint32_t>(m_state.iScaleMinimum);
    }
    VRepaintPreview();
}

void CZQLargeFormatFeaturesTab::VOnAccountTyped(HWND hDlg) {
    WCHAR text[ZQLargeFeaturesState::kAccountChars] = {};
    GetDlgItemTextW(hDlg, IDC_TXT_ACCOUNTID_SUI, text, ZQLargeFeaturesState::kAccountChars);
    if (text[0] && !BIsAllAlnum(text)) {
        // The refused character goes; the caret stays at the end of what was valid.
        SetDlgItemTextW(hDlg, IDC_TXT_ACCOUNTID_SUI, m_state.szLastValidAccountId);
        const int end = lstrlenW(m_state.szLastValidAccountId);
        SendMessageW(m_controls.Item(IDC_TXT_ACCOUNTID_SUI), EM_SETSEL, static_cast<WPARAM>(end), end);
        return;
    }
    ZQCopyText(m_state.szLastValidAccountId, ZQLargeFeaturesState::kAccountChars, text);
    ZQCopyText(m_state.szAccountId, ZQLargeFeaturesState::kAccountChars, text);
}

void CZQLargeFormatFeaturesTab::VOnScroll(HWND hDlg, int iCode, PageContext* pContext) {
    HWND bar = m_controls.Item(IDC_CTL_HSCROLL_SUI);
    SCROLLINFO info = {sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
    if (!GetScrollInfo(bar, SB_CTL, &info)) return;
    int low = 0, high = 0;
    GetScrollRange(bar, SB_CTL, &low, &high);
    int position = info.nPos;
    const int page = static_cast<int>(info.nPage ? info.nPage : 10);
    switch (iCode) {
        case SB_LINELEFT: position -= 1; break;
        case SB_LINERIGHT: position += 1; break;
        case SB_PAGELEFT: position -= page; break;
        case SB_PAGERIGHT: position += page; break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK: position = info.nTrackPos; break;
        case SB_LEFT: position = low; break;
        case SB_RIGHT: position = high; break;
        default: return;
    }
    // The thumb's last page reaches the range's end: the percentage stops at the largest.
    if (position > m_state.iScaleMaximum) position = m_state.iScaleMaximum;
    if (position < low) position = low;
    VShowPercent(hDlg, position);
    WorkOf(pContext)->dwScalePercent = static_cast<uint32_t>(position);
    BCheckChanged(hDlg, pContext);
    VRefreshPreviewTexts(pContext);
    m_controls.VRepaint(IDC_PREVIEW_DIMENSIONS, IDC_PREVIEW_DIMENSIONS, FALSE);
}

// ---------------------------------------------------------------------------------------------
// Steps the reactions share
// ---------------------------------------------------------------------------------------------
void CZQLargeFormatFeaturesTab::VShowPercent(HWND hDlg, int iPercent) {
    if (m_controls.Item(IDC_TXT_NORMAL_SIZE_SUI)) SetDlgItemInt(hDlg, IDC_TXT_NORMAL_SIZE_SUI, static_cast<UINT>(iPercent), FALSE);
    if (HWND bar = m_controls.Item(IDC_CTL_HSCROLL_SUI)) {
        SCROLLINFO info = {sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, m_state.iScaleMinimum,
                           m_state.iScaleMaximum + 9, 10, iPercent, 0};
        SetScrollInfo(bar, SB_CTL, &info, TRUE);
    }
}

void CZQLargeFormatFeaturesTab::VRefreshPreviewTexts(PageContext* pContext) {
    const ZQUIDevmode* work = WorkOf(pContext);
    VSetPreviewPaperText(work, pContext->pCaps, m_controls.Item(IDC_PREVIEW_DIMENSIONS), 0);
    if (pContext->pLogic->BIsLargeFormat() && work->dwPrintDocOn)
        VSetPreviewDocSizeText(work, pContext->pCaps, m_controls.Item(IDC_PREVIEW_DOCSIZE));
    VRepaintPreview();
}

void CZQLargeFormatFeaturesTab::VRepaintPreview() { m_controls.VRepaint(IDC_BTN_PREVIEW_PORT, IDC_BTN_PREVIEW_LAND, TRUE); }
