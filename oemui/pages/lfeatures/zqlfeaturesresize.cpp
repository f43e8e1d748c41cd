// The large-format Features page's logic: the resizing choices on the shared resizing helper, pages
// per sheet with their order and borders, the settings shown and stored back, and the roll options
// that the source, the job's mode and the loaded rolls allow.
#include <cwchar>

#include "common/zqkeywords.h"
#include "common/zqstorenames.h"
#include "common/zqstrings.h"
#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"
#include "pages/lfeatures/zqlfeaturespage.h"
#include "pages/parts/zqloadedpaper.h"
#include "pages/zqpageitems.h"
#include "preview/zqpreview.h"
#include "res/zqlfeaturesids.h"

using namespace zqpage;

namespace {

constexpr int kFullScale = 100;
constexpr WCHAR kPSAutoScaling[] = L"ZQPSAutoScaling";

const PrinterCaps* Papers(PageContext* pContext) { return ZQPrinterCapsLists(pContext->pCaps, kCapsPapers); }

WORD DocumentPaper(POEMCUIPPARAM pParam) {
    return pParam && pParam->pPublicDM ? static_cast<WORD>(pParam->pPublicDM->dmPaperSize) : 0;
}

PCWSTR SourceFeature(const PageContext* pContext) { return PostScript(pContext) ? zqkw::kInputSlot : zqkw::kInputBin; }

// A job sent as a 24-bit picture (only the full layout turns it).
bool SentAsBitmap(POEMCUIPPARAM pParam) { return OptionIs(pParam, zqkw::kZQSendJobAsBitmap, zqkw::kSleekMode24bpp) == 1; }

}  // namespace

// ---------------------------------------------------------------------------------------------
// The destination papers
// ---------------------------------------------------------------------------------------------
BOOL CZQLargeFormatFeaturesTab::BGetPaperSizeNames() {
    const POEMCUIPPARAM param = m_pCUIParam;
    if (!param) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    return m_paperNames.BRead(param->pPrinterName, m_szText, m_pPublicDM ? m_pPublicDM : param->pPublicDM);
}

void CZQLargeFormatFeaturesTab::VFillDestPaperList(PageContext* pContext) {
    const POEMCUIPPARAM param = m_pCUIParam;
    HWND list = m_controls.Item(IDC_CBO_DEST_PAPER_SIZE_SUI);
    if (!param || !param->pPublicDM || !list) return;
    // The forms' keywords keep banner and borderless papers out of the destinations.
    if (!FeatureItem(param, kPSAutoScaling)) m_formKeywords.VRead(param, pContext->pLogic->PszFormFeature());
    const ZQDestPaperSources sources = {param,    pContext->pLogic,         &m_paperNames, m_formKeywords.Keywords(),
                                        m_formKeywords.Count(), Papers(pContext), true, true};
    PWSTR* forms = nullptr;
    int count = 0;
    if (ZQFillDestPaperList(list, sources) && BGetCustomRangeForms(pContext, &forms, &count))
        ZQAddDestPaperForms(list, forms, count);
}

BOOL CZQLargeFormatFeaturesTab::BGetCustomRangeForms(PageContext* pContext, PWSTR** ppNames, int* piCount) {
    return ZQGetCustomRangeForms(pContext, HPrinter(), m_pCUIParam, ppNames, piCount);
}

void CZQLargeFormatFeaturesTab::VApplyPSDocumentOptions(PageContext* pContext) {
    // A large-format printer prints on another paper unfitted.
    ZQApplyPSDocumentOptions(m_pCUIParam, *pContext->pLogic, m_controls.Item(IDC_CBO_DEST_PAPER_SIZE_SUI), HPrinter(),
                             m_state.iResizeMode, !pContext->pLogic->BIsLargeFormat());
}

WORD CZQLargeFormatFeaturesTab::WGetDestPaperId(DWORD dwCount, int iIndex, const WORD* pIds) {
    return ZQDestPaperId(m_controls.Item(IDC_CBO_DEST_PAPER_SIZE_SUI), m_paperNames, dwCount, iIndex, pIds);
}

int CZQLargeFormatFeaturesTab::IFindDestPaperIndex(DWORD dwCount, const WORD* pIds, WORD wPaperId) {
    return ZQFindDestPaperIndex(m_controls.Item(IDC_CBO_DEST_PAPER_SIZE_SUI), m_paperNames, dwCount, pIds, wPaperId);
}

void CZQLargeFormatFeaturesTab::VSelectScaleTargetPaper(HWND, PageContext* pContext) {
    HWND list = m_controls.Item(IDC_CBO_DEST_PAPER_SIZE_SUI);
    const int index = ZQScaleTargetIndex(list, m_paperNames, Papers(pContext),
                                         static_cast<WORD>(WorkOf(pContext)->dwPrintedOnPaper), DocumentPaper(m_pCUIParam));
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int CZQLargeFormatFeaturesTab::IGetFitToPaperPercent(PageContext* pContext) {
    const ZQUIDevmode* work = WorkOf(pContext);
    if (!work) return kFullScale;
    if (m_state.iResizeMode == ZQLargeFeaturesState::kPercentage) return static_cast<int>(work->dwScalePercent);
    return ZQFitToDestPercent(m_controls.Item(IDC_CBO_DEST_PAPER_SIZE_SUI), m_paperNames, Papers(pContext),
                              DocumentPaper(m_pCUIParam));
}

WORD CZQLargeFormatFeaturesTab::WSelectDocumentPaper(PageContext* pContext) {
    const PrinterCaps* caps = Papers(pContext);
    const DWORD n = caps ? caps->dwPaperCount : 0;
    const WORD* ids = caps ? caps->pPaperIds : nullptr;
    int index = IFindDestPaperIndex(n, ids, DocumentPaper(m_pCUIParam));
    if (index < 0) index = 0;
    SendMessageW(m_controls.Item(IDC_CBO_DEST_PAPER_SIZE_SUI), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    return WGetDestPaperId(n, index, ids);
}

// ---------------------------------------------------------------------------------------------
// The settings shown (mode 0) and stored back (mode 2)
// ---------------------------------------------------------------------------------------------
void CZQLargeFormatFeaturesTab::VRefresh(HWND hDlg, PageContext* pContext, int iMode) {
    if (!WorkOf(pContext) || !m_pCUIParam) return;
    if (iMode == kRefreshShow)
        VSetControls(hDlg, pContext);
    else if (iMode == kRefreshStore)
        VApplyControls(hDlg, pContext);
}

void CZQLargeFormatFeaturesTab::VUpdatePageOrderState(HWND) {
    const int setting = CZQCommon::IListIndexToSetting(m_controls.ISelection(IDC_CBO_PAGES_PER_SHEET_SUI));
    if (setting == 1) {
        SendMessageW(m_controls.Item(IDC_CBO_PAGE_ORDER_SUI), CB_SETCURSEL, 0, 0);
        m_controls.VSetCheck(IDC_CHK_PAGE_BORDER_SUI, FALSE);
    }
    for (int id : {IDC_STA_PAGE_ORDER_SUI, IDC_CBO_PAGE_ORDER_SUI, IDC_CHK_PAGE_BORDER_SUI})
        EnableWindow(m_controls.Item(id), setting != 1);
}

void CZQLargeFormatFeaturesTab::VSetControls(HWND hDlg, PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;
    const PrinterCaps* caps = Papers(pContext);
    const DWORD n = caps ? caps->dwPaperCount : 0;
    const WORD* ids = caps ? caps->pPaperIds : nullptr;
    HWND list = m_controls.Item(IDC_CBO_DEST_PAPER_SIZE_SUI);

    // Paper saving.
    m_controls.VSetCheck(IDC_CHK_PAGE_BORDER_SUI, work.dwPageBorders != 0);
    SendMessageW(m_controls.Item(IDC_CBO_PAGE_ORDER_SUI), CB_SETCURSEL, work.dwPageOrderIndex, 0);
    SendMessageW(m_controls.Item(IDC_CBO_PAGES_PER_SHEET_SUI), CB_SETCURSEL,
                 static_cast<WPARAM>(CZQCommon::ISettingToListIndex(static_cast<int>(work.dwPagesPerSheet))), 0);
    VUpdatePageOrderState(hDlg);
    if (FeatureItem(param, zqkw::kZQTransverse)) m_controls.VSetCheck(IDC_CHK_ROTATE90_SUI, work.dwRotate90 != 0);

    // Resizing: the mode, the form scaled from a large paper, the destination.
    m_state.iResizeMode = CZQUILogic::IGetScalingMode(work.dwPrintDocOn, work.dwScalePercent);
    const bool scaleFromLarge = OptionIs(param, zqkw::kScaleFromLargePaper, L"INSTALLED") == 1 ||
                                OptionIs(param, zqkw::kScaleFromLargePaper, L"TRUE") == 1;
    if (scaleFromLarge) {
        CZQLocalPtr<WCHAR> name;
        if (DWGetPubSelectionName(param, DMPUB_FORMNAME, name.Put()) == ZQOPT_OK)
            ZQCopyText(m_state.szSelectedForm, 256, name.Get());
    }
    VShowPercent(hDlg, static_cast<int>(work.dwScalePercent));
    const bool fromLarge = scaleFromLarge && logic.BNeedsScaleFromLargePaper(caps);
    if (!work.dwPrintDocOn) {
        if (fromLarge) {
            EnableWindow(list, TRUE);
            VSelectScaleTargetPaper(hDlg, pContext);
            EnableWindow(m_controls.Item(IDC_TXT_NORMAL_SIZE_SUI), FALSE);
        } else {
            EnableWindow(list, FALSE);
            int index = IFindDestPaperIndex(n, ids, DocumentPaper(param));
            if (index < 0) {
                if (logic.BIsBannerPaper()) {
                    WCHAR target[64] = {};
                    logic.VGetScaleTargetPaperName(target);
                    // A target the list lacks selects nothing and leaves the printed-on paper.
                    const LRESULT found = SendMessageW(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                       reinterpret_cast<LPARAM>(target));
                    index = found == CB_ERR ? -1 : static_cast<int>(found);
                } else if (logic.BIsBorderlessPaper()) {
                    work.dwPrintDocOn = 0;
                    work.dwScaleToFit = 0;
                    index = ZQFindBorderlessTwinEntry(list, pContext, param);
                    if (index < 0) index = 0;
                } else {
                    index = 0;
                }
            }
            SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
            if (const WORD id = index >= 0 ? WGetDestPaperId(n, index, ids) : 0; id > 0) work.dwPrintedOnPaper = id;
        }
    } else {
        EnableWindow(list, TRUE);
        if (fromLarge) {
            VSelectScaleTargetPaper(hDlg, pContext);
        } else {
            // The printed-on paper, else the document's, else Letter; nothing selected without them.
            int index = IFindDestPaperIndex(n, ids, static_cast<WORD>(work.dwPrintedOnPaper));
            if (index < 0) index = IFindDestPaperIndex(n, ids, DocumentPaper(param));
            if (index < 0) {
                const LRESULT letter =
                    SendMessageW(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"LETTER"));
                index = letter == CB_ERR ? -1 : static_cast<int>(letter);
            }
            SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        }
        EnableWindow(m_controls.Item(IDC_TXT_NORMAL_SIZE_SUI), FALSE);
        EnableWindow(m_controls.Item(IDC_CTL_HSCROLL_SUI), FALSE);
    }
    HWND edit = m_controls.Item(IDC_TXT_NORMAL_SIZE_SUI);
    if (edit) {
        const int shown = IsWindowEnabled(edit) || work.dwScaleToFit != 1 ? static_cast<int>(work.dwScalePercent)
                                                                            : IGetFitToPaperPercent(pContext);
        SetDlgItemInt(hDlg, IDC_TXT_NORMAL_SIZE_SUI, static_cast<UINT>(shown), FALSE);
    }
    VUpdateResizeControls(hDlg, pContext);

    // The accounting ID.
    ZQCopyTextN(m_state.szAccountId, ZQLargeFeaturesState::kAccountChars, work.szAppText,
                ZQLargeFeaturesState::kAccountChars - 1);
    SetDlgItemTextW(hDlg, IDC_TXT_ACCOUNTID_SUI, m_state.szAccountId);
    if (!m_state.szAccountId[0] || BIsAllAlnum(m_state.szAccountId))
        ZQCopyText(m_state.szLastValidAccountId, ZQLargeFeaturesState::kAccountChars, m_state.szAccountId);

    // Roll saving; automatic rotation leaves no rotation by hand.
    for (const ZQRollBox& box : kLargeFeaturesRollBoxes)
        logic.IBindFeatureControl(0, box.pszFeature, m_controls.Item(box.iCtrlId), nullptr, OEMCUIP_DOCPROP,
                                  CZQUILogic::kBindShow, TRUE, 0, nullptr);
    EnableWindow(m_controls.Item(IDC_CHK_ROTATE90_SUI), !m_controls.BChecked(IDC_CHK_AUTOROTATE_SUI));

    // The print preview: a printer that cannot serve it is not asked for it.
    HWND preview = m_controls.Item(IDC_CHK_SHOW_PREVIEW_FIN_SUI);
    const int previewOn = OptionIs(param, zqkw::kZQPrintPreview, L"TRUE");
    if (previewOn < 0) {
        EnableWindow(preview, FALSE);
        return;
    }
    SetCheck(preview, previewOn == 1);
    const bool offered = WebPreviewAllowed(param) ||
                         ((work.dwPdl == kPdlPcl3 || work.dwPdl == kPdlZqgl2) && work.dwLayoutMode == 3);
    if (offered && BIsLocalPrinter(param->hPrinter)) {
        ShowEnabled(preview);
    } else {
        DWSelectOptionByIndex(param, zqkw::kZQPrintPreview, 0, OEMCUIP_DOCPROP);
        SetCheck(preview, false);
        Hide(preview);
    }
}

void CZQLargeFormatFeaturesTab::VUpdateResizeControls(HWND hDlg, PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    // Banner and borderless papers and several pages to a sheet show at actual size; the mode, and
    // with it the stored scale, stays until the user chooses.
    if (logic.BIsBannerPaper() || logic.BIsBorderlessPaper() || work.dwPagesPerSheet != 1)
        m_controls.VSetCheck(IDC_RB_ACTUAL_SIZE_SUI, TRUE);
    const int mode = m_state.iResizeMode;
    m_controls.VSetCheck(IDC_RB_ACTUAL_SIZE_SUI, mode == ZQLargeFeaturesState::kActualSize);
    m_controls.VSetCheck(IDC_RB_PRINT_DOC_ON_SUI, mode == ZQLargeFeaturesState::kPrintDocOn);
    m_controls.VSetCheck(IDC_RB_SCALING_SUI, mode == ZQLargeFeaturesState::kPercentage);
    EnableWindow(m_controls.Item(IDC_CBO_DEST_PAPER_SIZE_SUI), mode == ZQLargeFeaturesState::kPrintDocOn);
    EnableWindow(m_controls.Item(IDC_TXT_NORMAL_SIZE_SUI), mode == ZQLargeFeaturesState::kPercentage);
    EnableWindow(m_controls.Item(IDC_CTL_HSCROLL_SUI), mode == ZQLargeFeaturesState::kPercentage);
    if (mode == ZQLargeFeaturesState::kPercentage) return;
    // Off the percentage, the scroll bar goes back to the full size; at actual size the box too.
    if (mode == ZQLargeFeaturesState::kActualSize) {
        VShowPercent(hDlg, kFullScale);
        work.dwScalePercent = kFullScale;
    } else if (HWND bar = m_controls.Item(IDC_CTL_HSCROLL_SUI)) {
        SCROLLINFO info = {sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, m_state.iScaleMinimum,
                           m_state.iScaleMaximum + 9, 10, kFullScale, 0};
        SetScrollInfo(bar, SB_CTL, &info, TRUE);
    }
}

void CZQLargeFormatFeaturesTab::VApplyControls(HWND hDlg, PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;
    const PrinterCaps* caps = Papers(pContext);

    work.dwPagesPerSheet =
        static_cast<uint32_t>(CZQCommon::IListIndexToSetting(m_controls.ISelection(IDC_CBO_PAGES_PER_SHEET_SUI)));
    const int order = m_controls.ISelection(IDC_CBO_PAGE_ORDER_SUI);
    work.dwPageOrderIndex = order > 0 ? static_cast<uint32_t>(order) : 0;
    work.dwPageBorders = m_controls.BChecked(IDC_CHK_PAGE_BORDER_SUI) ? 1 : 0;
    if (FeatureItem(param, zqkw::kZQTransverse)) {
        const bool turned = m_controls.BChecked(IDC_CHK_ROTATE90_SUI);
        work.dwRotate90 = turned ? 1 : 0;
        DWSelectOptionByIndex(param, zqkw::kZQTransverse, turned ? 1 : 0, OEMCUIP_DOCPROP);
    }
    if (m_controls.BChecked(IDC_RB_PRINT_DOC_ON_SUI)) {
        work.dwPrintDocOn = 1;
        work.dwPrintedOnPaper = WGetDestPaperId(caps ? caps->dwPaperCount : 0,
                                                m_controls.ISelection(IDC_CBO_DEST_PAPER_SIZE_SUI),
                                                caps ? caps->pPaperIds : nullptr);
    } else {
        work.dwPrintDocOn = 0;
    }
    // The typed percentage raised to the least while it can be typed, else the full size.
    HWND edit = m_controls.Item(IDC_TXT_NORMAL_SIZE_SUI);
    BOOL number = FALSE;
    int typed = edit ? static_cast<int>(GetDlgItemInt(hDlg, IDC_TXT_NORMAL_SIZE_SUI, &number, FALSE)) : 0;
    if (!number) typed = 0;
    if (typed > m_state.iScaleMaximum) typed = m_state.iScaleMaximum;
    int scale = kFullScale;
    if (edit && IsWindowEnabled(edit)) scale = typed < m_state.iScaleMinimum ? m_state.iScaleMinimum : typed;
    work.dwScalePercent = static_cast<uint32_t>(scale);
    work.wScale = static_cast<uint16_t>(scale ? scale : kFullScale);
    if (work.dwPagesPerSheet != 1) {
        work.dwScalePercent = kFullScale;
        work.dwPrintDocOn = 0;
        work.dwPrintedOnPaper = DocumentPaper(param);
    }
    logic.VValidatePrintOnPaper();
    VApplyPSDocumentOptions(pContext);
    if (ZQUIDevmode* core = CoreOf(param)) core->iStartPage = kTitleId;

    ZQCopyTextN(work.szAppText, ZQLargeFeaturesState::kAccountChars, m_state.szAccountId,
                ZQLargeFeaturesState::kAccountChars - 1);
    for (const ZQRollBox& box : kLargeFeaturesRollBoxes)
        logic.IBindFeatureControl(0, box.pszFeature, m_controls.Item(box.iCtrlId), nullptr, OEMCUIP_DOCPROP,
                                  CZQUILogic::kBindApply, TRUE, 0, nullptr);
}

// ---------------------------------------------------------------------------------------------
// The resizing and layout choices
// ---------------------------------------------------------------------------------------------
void CZQLargeFormatFeaturesTab::VResetPagesPerSheet(HWND hDlg, PageContext* pContext) {
    ZQUIDevmode& work = *WorkOf(pContext);
    if (work.dwPagesPerSheet == 1) return;
    SendMessageW(m_controls.Item(IDC_CBO_PAGES_PER_SHEET_SUI), CB_SETCURSEL, 0, 0);
    VUpdatePageOrderState(hDlg);
    work.dwPagesPerSheet = 1;
    work.dwPageOrderIndex = 0;
    work.dwPageBorders = 0;
}

void CZQLargeFormatFeaturesTab::VOnActualSize(HWND hDlg, PageContext* pContext) {
    if (!m_controls.BChecked(IDC_RB_ACTUAL_SIZE_SUI)) return;
    CheckRadioButton(hDlg, IDC_RB_ACTUAL_SIZE_SUI, IDC_RB_SCALING_SUI, IDC_RB_ACTUAL_SIZE_SUI);
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    m_state.iResizeMode = ZQLargeFeaturesState::kActualSize;
    work.dwPrintDocOn = 0;
    work.dwDuplexConflict = 0;
    if (logic.BNeedsScaleFromLargePaper(Papers(pContext))) logic.VUpdateBorderlessForPageSize(pContext->pRules);
    const WORD id = WSelectDocumentPaper(pContext);
    WCHAR name[256];
    if (SelectedText(m_controls.Item(IDC_CBO_DEST_PAPER_SIZE_SUI), name)) {
        POPTITEM form = PubItem(m_pCUIParam, DMPUB_FORMNAME);
        for (LONG i = 0; form && i < static_cast<LONG>(form->pOptType ? form->pOptType->Count : 0); ++i) {
            PCWSTR option = OptionName(form, static_cast<int>(i));
            if (option && wcscmp(option, name) == 0) {
                if (form->Sel != i) ReportSelection(m_pCUIParam, form, i, static_cast<DWORD>(form->Sel), OEMCUIP_DOCPROP);
                break;
            }
        }
    }
    work.dwPrintedOnPaper = id;
    VApplyPSDocumentOptions(pContext);
    VShowPercent(hDlg, kFullScale);
    for (int ctl : {IDC_CBO_DEST_PAPER_SIZE_SUI, IDC_TXT_NORMAL_SIZE_SUI, IDC_CTL_HSCROLL_SUI})
        EnableWindow(m_controls.Item(ctl), FALSE);
    if (logic.BIsLargeFormat()) Hide(m_controls.Item(IDC_PREVIEW_DOCSIZE));
    work.dwScalePercent = kFullScale;
    BCheckChanged(hDlg, pContext);
    VRefreshPreviewTexts(pContext);
}

void CZQLargeFormatFeaturesTab::VOnPrintDocOn(HWND hDlg, PageContext* pContext) {
    if (!m_controls.BChecked(IDC_RB_PRINT_DOC_ON_SUI)) return;
    CheckRadioButton(hDlg, IDC_RB_ACTUAL_SIZE_SUI, IDC_RB_SCALING_SUI, IDC_RB_PRINT_DOC_ON_SUI);
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const PrinterCaps* caps = Papers(pContext);
    const DWORD n = caps ? caps->dwPaperCount : 0;
    const WORD* ids = caps ? caps->pPaperIds : nullptr;
    HWND list = m_controls.Item(IDC_CBO_DEST_PAPER_SIZE_SUI);
    m_state.iResizeMode = ZQLargeFeaturesState::kPrintDocOn;
    VResetPagesPerSheet(hDlg, pContext);
    work.dwPrintedOnPaper = WGetDestPaperId(n, m_controls.ISelection(IDC_CBO_DEST_PAPER_SIZE_SUI), ids);
    if (logic.BIsBannerPaper() || logic.BIsBorderlessPaper()) logic.VUpdateBorderlessForPageSize(pContext->pRules);
    const int index = IFindDestPaperIndex(n, ids, static_cast<WORD>(work.dwPrintedOnPaper));
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index < 0 ? 0 : index), 0);
    VApplyPSDocumentOptions(pContext);
    EnableWindow(list, TRUE);
    work.dwPrintDocOn = 1;
    EnableWindow(m_controls.Item(IDC_TXT_NORMAL_SIZE_SUI), FALSE);
    EnableWindow(m_controls.Item(IDC_CTL_HSCROLL_SUI), FALSE);
    const int shown = work.dwScaleToFit == 1 ? IGetFitToPaperPercent(pContext) : kFullScale;
    SetDlgItemInt(hDlg, IDC_TXT_NORMAL_SIZE_SUI, static_cast<UINT>(shown), FALSE);
    if (logic.BIsLargeFormat()) ShowEnabled(m_controls.Item(IDC_PREVIEW_DOCSIZE));
    BCheckChanged(hDlg, pContext);
    VRefreshPreviewTexts(pContext);
}

void CZQLargeFormatFeaturesTab::VOnScalingChosen(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    if (work.dwPrintDocOn) {
        work.dwPrintDocOn = 0;
        work.dwScalePercent = kFullScale;
        VShowPercent(m_controls.Page(), kFullScale);
    }
    if (work.dwPagesPerSheet != 1) {
        work.dwPagesPerSheet = 1;
        work.dwPageOrderIndex = 0;
    }
    if (logic.BIsBannerPaper() || logic.BNeedsScaleFromLargePaper(Papers(pContext)) || logic.BIsBorderlessPaper())
        logic.VUpdateBorderlessForPageSize(pContext->pRules);
}

void CZQLargeFormatFeaturesTab::VOnScaling(HWND hDlg, PageContext* pContext) {
    if (!m_controls.BChecked(IDC_RB_SCALING_SUI)) return;
    CheckRadioButton(hDlg, IDC_RB_ACTUAL_SIZE_SUI, IDC_RB_SCALING_SUI, IDC_RB_SCALING_SUI);
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    m_state.iResizeMode = ZQLargeFeaturesState::kPercentage;
    VResetPagesPerSheet(hDlg, pContext);
    VOnScalingChosen(pContext);
    work.dwPrintedOnPaper = WSelectDocumentPaper(pContext);
    VApplyPSDocumentOptions(pContext);
    EnableWindow(m_controls.Item(IDC_CBO_DEST_PAPER_SIZE_SUI), FALSE);
    if (logic.BIsLargeFormat()) Hide(m_controls.Item(IDC_PREVIEW_DOCSIZE));
    EnableWindow(m_controls.Item(IDC_TXT_NORMAL_SIZE_SUI), TRUE);
    EnableWindow(m_controls.Item(IDC_CTL_HSCROLL_SUI), TRUE);
    BOOL number = FALSE;
    int value = static_cast<int>(GetDlgItemInt(hDlg, IDC_TXT_NORMAL_SIZE_SUI, &number, FALSE));
    if (!number) value = kFullScale;
    value = value < m_state.iScaleMinimum ? m_state.iScaleMinimum : value > m_state.iScaleMaximum ? m_state.iScaleMaximum : value;
    work.dwScalePercent = static_cast<uint32_t>(value);
    VShowPercent(hDlg, value);
    BCheckChanged(hDlg, pContext);
    VRefreshPreviewTexts(pContext);
}

void CZQLargeFormatFeaturesTab::VOnPagesPerSheet(HWND hDlg, PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const int setting = CZQCommon::IListIndexToSetting(m_controls.ISelection(IDC_CBO_PAGES_PER_SHEET_SUI));
    work.dwPagesPerSheet = static_cast<uint32_t>(setting);
    VUpdatePageOrderState(hDlg);
    if (setting == 1) {
        work.dwPageBorders = 0;
        work.dwPageOrderIndex = 0;
    } else {
        if (logic.BNeedsScaleFromLargePaper(Papers(pContext)) || logic.BIsBannerPaper() || logic.BIsBorderlessPaper())
            logic.VUpdateBorderlessForPageSize(pContext->pRules);
        work.dwPrintDocOn = 0;
        work.dwScaleToFit = 0;
        work.dwScalePercent = kFullScale;
        // Several pages to a sheet print at actual size.
        SendMessageW(m_controls.Item(IDC_RB_ACTUAL_SIZE_SUI), BM_CLICK, 0, 0);
    }
    BCheckChanged(hDlg, pContext);
    VRepaintPreview();
}

void CZQLargeFormatFeaturesTab::VOnDestPaper(PageContext* pContext) {
    const PrinterCaps* caps = Papers(pContext);
    HWND list = m_controls.Item(IDC_CBO_DEST_PAPER_SIZE_SUI);
    WorkOf(pContext)->dwPrintedOnPaper = WGetDestPaperId(caps ? caps->dwPaperCount : 0,
                                                         m_controls.ISelection(IDC_CBO_DEST_PAPER_SIZE_SUI),
                                                         caps ? caps->pPaperIds : nullptr);
    if (!FeatureItem(m_pCUIParam, kPSAutoScaling)) return;
    // A user form beyond the driver's papers is printed on the custom size.
    if (pContext->pLogic->IBindFeatureControl(0, kPSAutoScaling, list, nullptr, OEMCUIP_DOCPROP,
                                              CZQUILogic::kBindApply, FALSE, 0, nullptr) == 3)
        DWSelectOptionByKeyword(m_pCUIParam, kPSAutoScaling, L"ZQCustomPaperSize", OEMCUIP_DOCPROP);
}

// ---------------------------------------------------------------------------------------------
// Roll saving
// ---------------------------------------------------------------------------------------------
BOOL CZQLargeFormatFeaturesTab::BIsUnknownText(PCWSTR pszText) {
    return CZQLoadedPaper(*this, m_pCUIParam).BIsUnknownText(pszText);
}

BOOL CZQLargeFormatFeaturesTab::BIsUnloadedText(PCWSTR pszText) {
    return CZQLoadedPaper(*this, m_pCUIParam).BIsUnloadedText(pszText);
}

void CZQLargeFormatFeaturesTab::VUpdateRollOptions(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;
    const bool largeFormat = logic.BIsLargeFormat() != FALSE;
    // Paper from the sheet source is neither cut nor trimmed.
    if (largeFormat) {
        const bool sheet = OptionIs(param, SourceFeature(pContext), zqkw::kSheet) == 1;
        for (int id : {IDC_CHK_DISABLE_AUTO_CUTTER_SUI, IDC_CHK_SAVE_ROLL_PAPER_SUI}) {
            if (sheet) m_controls.VSetCheck(id, FALSE);
            EnableWindow(m_controls.Item(id), !sheet);
        }
    }
    // A job sent as a picture turns only in the full layout.
    if (SentAsBitmap(param)) {
        if (work.dwLayoutMode == 3) {
            EnableWindow(m_controls.Item(IDC_CHK_AUTOROTATE_SUI), TRUE);
        } else {
            m_controls.VSetCheck(IDC_CHK_AUTOROTATE_SUI, FALSE);
            EnableWindow(m_controls.Item(IDC_CHK_AUTOROTATE_SUI), FALSE);
            DWSelectOptionByIndex(param, zqkw::kZQAutorotate, 0, OEMCUIP_DOCPROP);
            if (ZQUIDevmode* core = CoreOf(param)) core->dwAutorotate = 0;
        }
    }
    if (!largeFormat && OptionIs(param, zqkw::kMediaType, L"ZQ_CD_LABEL_PAPER") == 1)
        EnableWindow(m_controls.Item(IDC_CBO_PAGES_PER_SHEET_SUI), FALSE);
    VUpdateAutorotate(pContext);
    if (largeFormat) VUpdateRotate90(pContext);
}

void CZQLargeFormatFeaturesTab::VUpdateRotate90(PageContext* pContext) {
    ZQUIDevmode& work = *WorkOf(pContext);
    const ZQUIDevmode* core = CoreOf(m_pCUIParam);
    bool allowed = !(work.dwFlags & ZQLargeFeaturesState::kNoRotate90Flag);
    if (allowed) {
        const bool autorotate = core && core->dwAutorotate == 1;
        const bool sheet = OptionIs(m_pCUIParam, SourceFeature(pContext), zqkw::kSheet) == 1;
        bool fits = work.wOrientation != 2;
        if (!fits && pContext->pPreview) {
            // The turned page reaches beyond the roll's printable width.
            const RECT& page = pContext->pPreview->PageRect();
            const LONG width = page.right - page.left, height = page.bottom - page.top;
            const LONG overhang = height >= width ? height - width : width - height;
            fits = overhang <= pContext->pPreview->IGetWidthMarkPos();
        }
        allowed = !autorotate && !sheet && fits;
    }
    HWND box = m_controls.Item(IDC_CHK_ROTATE90_SUI);
    if (allowed) {
        EnableWindow(box, TRUE);
        return;
    }
    work.dwRotate90 = 0;
    SetCheck(box, false);
    EnableWindow(box, FALSE);
}

void CZQLargeFormatFeaturesTab::VUpdateAutorotate(PageContext* pContext) {
    const POEMCUIPPARAM param = m_pCUIParam;
    const ZQUIDevmode& work = *WorkOf(pContext);
    bool available = false;
    WCHAR rolls[256];
    if (ReadOption(param, zqkw::kInstalledRolls, rolls)) {
        PWSTR* names = nullptr;
        int count = 0;
        if (ISplitAtUnderscore(param, rolls, &names, &count) == ZQOPT_OK) {
            CZQLoadedPaper loaded(*this, param);
            WCHAR answer[CZQLoadedPaper::kLinesChars];
            for (int i = 0; i < count && !available; ++i)
                available = names[i] && names[i][0] && loaded.BReadAnswer(names[i], zqsettings::kRollFieldWidth, answer) &&
                            !BIsUnknownText(answer) && !BIsUnloadedText(answer);
            VFreeStringList(names, count);
        }
    }
    if (available && SentAsBitmap(param) && work.dwLayoutMode != 3) available = false;
    if (available) {
        POPTITEM source = PubItem(param, DMPUB_DEFSOURCE);
        if (source && source->Sel != 0 && OptionIs(param, SourceFeature(pContext), zqkw::kSheet) == 1) available = false;
    }
    EnableWindow(m_controls.Item(IDC_CHK_AUTOROTATE_SUI), available);
}
