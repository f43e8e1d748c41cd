// The Effects page's resizing options: the document printed at its own size, on another paper
// (fitted to it or not) or at a percentage; the destination papers the printer offers, the scale
// that fits one paper on another, the scale box with its scroll bar, and what resizing ends
// (posters, several pages to a sheet, booklets) or cannot have (banners, borderless photos).
#include <cwchar>

#include "common/zqkeywords.h"
#include "common/zqstrings.h"
#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"
#include "pages/effects/zqeffectspage.h"
#include "pages/zqpageasks.h"
#include "pages/zqpageitems.h"
#include "platform/zqspooler.h"
#include "res/zqeffectsids.h"

using namespace zqpage;

namespace {

constexpr WCHAR kPSAutoScaling[] = L"ZQPSAutoScaling";
constexpr WCHAR kCustomPaperSize[] = L"ZQCustomPaperSize";
constexpr int kFullScale = 100;
constexpr int kScrollPage = 10;
// The scroll bar runs past the largest scale by its page less one, so its thumb reaches it.
constexpr int kScrollTail = kScrollPage - 1;

int FindExact(HWND hCombo, PCWSTR pszText) {
    const LRESULT index = SendMessageW(hCombo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(pszText));
    return index == CB_ERR ? -1 : static_cast<int>(index);
}

// The two sizes fitted: the smaller of the two sides' ratios (the sides compared crosswise).
bool FitRatio(const PrinterCaps* pCaps, int iTarget, int iDocument, bool bWidthOnTie, float* pfRatio) {
    LONG wt = 0, lt = 0, wd = 0, ld = 0;
    if (!CZQUIBase::BGetPaperDimensions(static_cast<WORD>(iTarget), &wt, &lt, pCaps) ||
        !CZQUIBase::BGetPaperDimensions(static_cast<WORD>(iDocument), &wd, &ld, pCaps))
        return false;
    const long long across = static_cast<long long>(wt) * ld, down = static_cast<long long>(lt) * wd;
    const bool byWidth = bWidthOnTie ? across <= down : !(across > down);
    *pfRatio = byWidth ? static_cast<float>(wt) / static_cast<float>(wd) : static_cast<float>(lt) / static_cast<float>(ld);
    return true;
}

}  // namespace

int CZQEffectsTab::DocumentPaper() const {
    const DEVMODEW* pub = m_pCUIParam ? m_pCUIParam->pPublicDM : m_pPublicDM;
    return pub ? pub->dmPaperSize : 0;
}

bool CZQEffectsTab::BFinishingPoster(PageContext* pContext) const {
    return ZQSheetPage<IZQFinishingPage>(pContext, kPageFinishing) && pContext->pLogic->BPosterFlag();
}

// ---------------------------------------------------------------------------------------------
// Paper names and the destination list
// ---------------------------------------------------------------------------------------------
BOOL CZQEffectsTab::BGetPaperSizeNames(PageContext* pContext) {
    const POEMCUIPPARAM param = m_pCUIParam;
    if (!param || !pContext) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    return m_paperNames.BRead(param->pPrinterName, m_szText, param->pPublicDM);
}

int CZQEffectsTab::IPaperIdFromComboIndex(DWORD dwCount, int iComboIndex, const WORD* pIds, PageContext*) {
    WCHAR text[256];
    if (pIds && EntryText(m_controls.Item(IDC_CBO_DEST_PAPER_SIZE), iComboIndex, text)) {
        const int position = m_paperNames.IFind(text);
        if (position >= 0 && static_cast<DWORD>(position) < dwCount) return pIds[position];
    }
    // An entry that names no paper of the printer prints on the document's own.
    return DocumentPaper();
}

int CZQEffectsTab::IComboIndexFromPaperId(DWORD dwCount, const WORD* pIds, int iPaperId) {
    if (!m_paperNames.Count() || !pIds) return -1;
    DWORD position = 0;
    while (position < dwCount && pIds[position] != iPaperId) ++position;
    HWND combo = m_controls.Item(IDC_CBO_DEST_PAPER_SIZE);
    return combo ? FindExact(combo, m_paperNames.Name(position)) : -1;
}

void CZQEffectsTab::VFillDestPaperCombo(PageContext* pContext) {
    const POEMCUIPPARAM param = m_pCUIParam;
    HWND combo = m_controls.Item(IDC_CBO_DEST_PAPER_SIZE);
    if (!param || !param->pPublicDM || !combo) return;
    CZQUILogic& logic = *pContext->pLogic;
    if (!FeatureItem(param, kPSAutoScaling)) {
        // The page's names, read at its start (again only when they could not be read then).
        if (!m_paperNames.Count()) BGetPaperSizeNames(pContext);
        m_formKeywords.VRead(param, logic.PszFormFeature());
    }
    const ZQDestPaperSources sources = {param, &logic, &m_paperNames, m_formKeywords.Keywords(),
                                        m_formKeywords.Count(), ZQPrinterCapsLists(pContext->pCaps, kCapsPapers),
                                        false, false};
    PWSTR* forms = nullptr;
    int count = 0;
    if (ZQFillDestPaperList(combo, sources) && BGetUserFormNames(pContext, &forms, &count))
        ZQAddDestPaperForms(combo, forms, count);
}

BOOL CZQEffectsTab::BGetUserFormNames(PageContext* pContext, PWSTR** ppNames, int* piCount) {
    return ZQGetCustomRangeForms(pContext, HPrinter(), m_pCUIParam, ppNames, piCount);
}

void CZQEffectsTab::VSelectDestPaper(HWND, PageContext* pContext) {
    const PrinterCaps* caps = ZQPrinterCapsLists(pContext->pCaps, kCapsPapers);
    const DWORD n = caps ? caps->dwPaperCount : 0;
    const WORD* ids = caps ? caps->pPaperIds : nullptr;
    HWND combo = m_controls.Item(IDC_CBO_DEST_PAPER_SIZE);
    int index = IComboIndexFromPaperId(n, ids, static_cast<int>(WorkOf(pContext)->dwPrintedOnPaper));
    if (index < 0) index = IComboIndexFromPaperId(n, ids, DocumentPaper());
    if (index < 0 && combo) index = FindExact(combo, L"LETTER");
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    m_state.iPrintedOnIndex = index;
}

// ---------------------------------------------------------------------------------------------
// Scales
// ---------------------------------------------------------------------------------------------
int CZQEffectsTab::IComputeFitScale(PageContext* pContext) {
    const ZQUIDevmode* work = WorkOf(pContext);
    if (!work) return kFullScale;
    if (m_state.dwResizeMode == 2) return static_cast<int>(work->dwScalePercent);
    const PrinterCaps* caps = ZQPrinterCapsLists(pContext->pCaps, kCapsPapers);
    if (!caps || !caps->pPaperSizes) return kFullScale;
    const int target = IPaperIdFromComboIndex(caps->dwPaperCount, m_controls.ISelection(IDC_CBO_DEST_PAPER_SIZE),
                                              caps->pPaperIds, pContext);
    float ratio = 1.0f;
    return FitRatio(caps, target, DocumentPaper(), false, &ratio) ? static_cast<int>(ratio * 100.0f) : kFullScale;
}

void CZQEffectsTab::VComputeScaleFactor(PageContext* pContext) {
    ZQUIDevmode* work = WorkOf(pContext);
    if (!work) return;
    if (work->dwScalePercent != kFullScale) {
        work->fScaleFactor = static_cast<float>(work->dwScalePercent) / 100.0f;
        return;
    }
    if (work->dwPrintDocOn && !work->dwScaleToFit) {
        work->fScaleFactor = 1.0f;
        return;
    }
    const PrinterCaps* caps = ZQPrinterCapsLists(pContext->pCaps, kCapsPapers);
    if (!caps || !caps->pPaperSizes) return;
    const int target = IPaperIdFromComboIndex(caps->dwPaperCount, m_controls.ISelection(IDC_CBO_DEST_PAPER_SIZE),
                                              caps->pPaperIds, pContext);
    float ratio = 1.0f;
    work->fScaleFactor = FitRatio(caps, target, DocumentPaper(), true, &ratio) ? ratio : 1.0f;
}

void CZQEffectsTab::VSetScaleBox(int iValue) {
    if (!m_controls.Item(IDC_TXT_NORMAL_SIZE)) return;
    // The box's own change notice is the user's typing only.
    m_state.bSettingScale = TRUE;
    SetDlgItemInt(m_controls.Page(), IDC_TXT_NORMAL_SIZE, static_cast<UINT>(iValue), FALSE);
    m_state.bSettingScale = FALSE;
}

void CZQEffectsTab::VSetScroll(int iPosition) {
    HWND bar = m_controls.Item(IDC_CTL_HSCROLL);
    if (!bar) return;
    SCROLLINFO info = {sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, m_limits.iMinimum, m_limits.iMaximum + kScrollTail,
                       kScrollPage, iPosition, 0};
    SetScrollInfo(bar, SB_CTL, &info, TRUE);
}

// ---------------------------------------------------------------------------------------------
// The group loaded and its states
// ---------------------------------------------------------------------------------------------
void CZQEffectsTab::VRefreshControls(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;
    const PrinterCaps* caps = ZQPrinterCapsLists(pContext->pCaps, kCapsPapers);
    const DWORD n = caps ? caps->dwPaperCount : 0;
    const WORD* ids = caps ? caps->pPaperIds : nullptr;
    HWND combo = m_controls.Item(IDC_CBO_DEST_PAPER_SIZE);
    m_state.dwResizeMode = static_cast<DWORD>(CZQUILogic::IGetScalingMode(work.dwPrintDocOn, work.dwScalePercent));
    m_state.bScaleFromLarge = OptionIs(param, zqkw::kScaleFromLargePaper, L"INSTALLED") == 1 ||
                              OptionIs(param, zqkw::kScaleFromLargePaper, L"TRUE") == 1;
    if (m_state.bScaleFromLarge) {
        CZQLocalPtr<WCHAR> name;
        if (CZQCommon::DWGetPubSelectionName(param, DMPUB_FORMNAME, name.Put()) == ZQOPT_OK)
            ZQCopyText(m_state.szSelectedForm, 256, name.Get());
    }
    VSetScroll(static_cast<int>(work.dwScalePercent));
    const bool fromLarge = m_state.bScaleFromLarge && logic.BNeedsScaleFromLargePaper(caps);
    if (!work.dwPrintDocOn) {
        if (fromLarge) {
            EnableWindow(combo, TRUE);
            VSelectDestPaper(nullptr, pContext);
            if (m_limits.bFitAllowed) EnableWindow(m_controls.Item(IDC_CHK_FIT_TO_SCALE), TRUE);
            EnableWindow(m_controls.Item(IDC_TXT_NORMAL_SIZE), FALSE);
        } else {
            EnableWindow(combo, FALSE);
            int index = IComboIndexFromPaperId(n, ids, DocumentPaper());
            if (index < 0) {
                if (logic.BIsBannerPaper()) {
                    WCHAR target[64] = {};
                    logic.VGetScaleTargetPaperName(target);
                    index = FindExact(combo, target);
                } else if (logic.BIsBorderlessPaper()) {
                    index = IFindBorderlessTwin(pContext);
                } else {
                    index = 0;
                }
            }
            SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
            EnableWindow(m_controls.Item(IDC_CHK_FIT_TO_SCALE), FALSE);
        }
    } else {
        EnableWindow(combo, TRUE);
        VSelectDestPaper(nullptr, pContext);
        if (m_limits.bFitAllowed) EnableWindow(m_controls.Item(IDC_CHK_FIT_TO_SCALE), TRUE);
        for (int id : {IDC_TXT_NORMAL_SIZE, IDC_STA_NORMAL_SIZE, IDC_CTL_HSCROLL}) EnableWindow(m_controls.Item(id), FALSE);
    }
    m_controls.VSetCheck(IDC_CHK_FIT_TO_SCALE, work.dwScaleToFit != 0);
    const bool fitted = !IsWindowEnabled(m_controls.Item(IDC_TXT_NORMAL_SIZE)) && work.dwScaleToFit;
    VSetScaleBox(fitted ? IComputeFitScale(pContext) : static_cast<int>(work.dwScalePercent));
    if (logic.BNeedsScaleFromLargePaper(caps)) logic.VClearPosterFlag();

    // Centring, the watermark, the states and the margins.
    if (const int centre = OptionIs(param, zqkw::kZQCenterOnPage, L"TRUE"); centre >= 0)
        m_controls.VSetCheck(IDC_CHECK_CENTER_ON_PAGE, centre == 1);
    VShowWatermarkGroup(pContext);
    VUpdateControlStates(m_controls.Page(), pContext);
    VRefreshMarginControls(pContext);
}

// The borderless paper's entry: the first whose paper keyword is the paper the Paper/Quality page
// shows, else "LETTER".
int CZQEffectsTab::IFindBorderlessTwin(PageContext* pContext) {
    return ZQFindBorderlessTwinEntry(m_controls.Item(IDC_CBO_DEST_PAPER_SIZE), pContext, m_pCUIParam);
}

void CZQEffectsTab::VUpdateControlStates(HWND, PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    if (logic.BIsBannerPaper() || BFinishingPoster(pContext) || work.dwPagesPerSheet != 1 || logic.BIsBorderlessPaper())
        m_controls.VSetCheck(IDC_RB_ACTUAL_SIZE, TRUE);
    if (!m_limits.bFitAllowed) m_controls.VShow(IDC_CHK_FIT_TO_SCALE, FALSE);
    m_controls.VShow(IDC_PREVIEW_DIMENSIONS, logic.BIsLargeFormat(), TRUE);
    HWND box = m_controls.Item(IDC_TXT_NORMAL_SIZE);
    switch (m_state.dwResizeMode) {
        case 0:
            m_controls.VSetCheck(IDC_RB_ACTUAL_SIZE, TRUE);
            m_controls.VSetCheck(IDC_RB_SCALING, FALSE);
            m_controls.VSetCheck(IDC_RB_PRINT_DOC_ON, FALSE);
            for (int id : {IDC_CBO_DEST_PAPER_SIZE, IDC_CHK_FIT_TO_SCALE}) EnableWindow(m_controls.Item(id), FALSE);
            VSetScroll(kFullScale);
            EnableWindow(box, FALSE);
            VSetScaleBox(kFullScale);
            work.dwScalePercent = kFullScale;
            for (int id : {IDC_STA_NORMAL_SIZE, IDC_CTL_HSCROLL}) EnableWindow(m_controls.Item(id), FALSE);
            break;
        case 1:
            m_controls.VSetCheck(IDC_RB_PRINT_DOC_ON, TRUE);
            m_controls.VSetCheck(IDC_RB_ACTUAL_SIZE, FALSE);
            m_controls.VSetCheck(IDC_RB_SCALING, FALSE);
            EnableWindow(m_controls.Item(IDC_CBO_DEST_PAPER_SIZE), TRUE);
            EnableWindow(m_controls.Item(IDC_CHK_FIT_TO_SCALE), !work.dwBooklet && m_limits.bFitAllowed);
            VSetScroll(kFullScale);
            for (int id : {IDC_TXT_NORMAL_SIZE, IDC_STA_NORMAL_SIZE, IDC_CTL_HSCROLL}) EnableWindow(m_controls.Item(id), FALSE);
            break;
        case 2:
            m_controls.VSetCheck(IDC_RB_SCALING, TRUE);
            m_controls.VSetCheck(IDC_RB_ACTUAL_SIZE, FALSE);
            m_controls.VSetCheck(IDC_RB_PRINT_DOC_ON, FALSE);
            for (int id : {IDC_CBO_DEST_PAPER_SIZE, IDC_CHK_FIT_TO_SCALE}) EnableWindow(m_controls.Item(id), FALSE);
            for (int id : {IDC_TXT_NORMAL_SIZE, IDC_CTL_HSCROLL}) EnableWindow(m_controls.Item(id), TRUE);
            break;
        default: break;
    }
    VShowWatermarkVisibility(pContext);
}

// ---------------------------------------------------------------------------------------------
// The radios, the box, the list, the number and the scroll bar
// ---------------------------------------------------------------------------------------------
// The destination tried as the form: a paper on which two-sided printing conflicts marks the
// settings (and two-sided printing goes by hand); the form is put back afterwards.
void CZQEffectsTab::VProbeTwoSided(PageContext* pContext) {
    ZQUIDevmode& work = *WorkOf(pContext);
    const POEMCUIPPARAM param = m_pCUIParam;
    WCHAR text[256];
    POPTITEM form = PubItem(param, DMPUB_FORMNAME);
    if (!form || !SelectedText(m_controls.Item(IDC_CBO_DEST_PAPER_SIZE), text)) return;
    const LONG kept = form->Sel;
    LONG tried = -1;
    for (int j = 0; j < CZQCommon::IGetOptionCount(form) && tried < 0; ++j)
        if (PCWSTR name = OptionName(form, j); name && wcscmp(name, text) == 0) tried = j;
    if (tried < 0) return;
    ReportSelection(param, form, tried, static_cast<DWORD>(kept), OEMCUIP_DOCPROP);
    if (work.wDuplex != DMDUP_SIMPLEX) {
        if (POPTITEM duplex = PubItem(param, DMPUB_DUPLEX)) {
            const bool marked = (OptionFlags(duplex, 1) | OptionFlags(duplex, 2)) & OPTPF_OVERLAY_WARNING_ICON;
            work.dwDuplexConflict = marked ? 1 : 0;
            if (marked) work.dwManualDuplex = 1;
        }
    }
    ReportSelection(param, form, kept, static_cast<DWORD>(tried), OEMCUIP_DOCPROP);
}

// A resizing choice made: the diagonal of the paper printed on, the change, the label and the page.
void CZQEffectsTab::VShowResized(HWND hDlg, PageContext* pContext) {
    VUpdateDiagonalAngle(pContext);
    VUpdateChangedState(hDlg, pContext);
    VShowPaperText(pContext);
    VRepaintPreview(TRUE);
}

void CZQEffectsTab::VEndMultiplePages(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    work.dwPagesPerSheet = 1;
    work.dwPageOrderIndex = 0;
    if (logic.BIsPosterPrinting() &&
        CZQCommon::DWSelectOptionByIndex(m_pCUIParam, zqkw::kZQPosterPrinting, 0, OEMCUIP_DOCPROP) == ZQOPT_OK)
        if (auto* finishing = ZQSheetPage<IZQFinishingPage>(pContext, kPageFinishing)) finishing->VDisablePosterControl(pContext->pLogic);
}

void CZQEffectsTab::VOnActualSize(HWND hDlg, PageContext* pContext) {
    if (!m_controls.BChecked(IDC_RB_ACTUAL_SIZE)) return;
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const PrinterCaps* caps = ZQPrinterCapsLists(pContext->pCaps, kCapsPapers);
    const DWORD n = caps ? caps->dwPaperCount : 0;
    const WORD* ids = caps ? caps->pPaperIds : nullptr;
    m_state.dwResizeMode = 0;
    work.dwPrintDocOn = 0;
    work.dwDuplexConflict = 0;
    if (logic.BNeedsScaleFromLargePaper(caps)) logic.VUpdateBorderlessForPageSize(pContext->pRules);
    const int index = IComboIndexFromPaperId(n, ids, DocumentPaper());
    SendMessageW(m_controls.Item(IDC_CBO_DEST_PAPER_SIZE), CB_SETCURSEL, static_cast<WPARAM>(index < 0 ? 0 : index), 0);
    VProbeTwoSided(pContext);
    work.dwPrintedOnPaper = static_cast<uint32_t>(
        IPaperIdFromComboIndex(n, m_controls.ISelection(IDC_CBO_DEST_PAPER_SIZE), ids, pContext));
    VApplyPSDocumentOptions(pContext);
    for (int id : {IDC_CBO_DEST_PAPER_SIZE, IDC_CHK_FIT_TO_SCALE, IDC_TXT_NORMAL_SIZE, IDC_STA_NORMAL_SIZE, IDC_CTL_HSCROLL})
        EnableWindow(m_controls.Item(id), FALSE);
    work.dwScalePercent = kFullScale;
    VSetScaleBox(kFullScale);
    VShowResized(hDlg, pContext);
}

void CZQEffectsTab::VOnPrintDocumentOn(HWND hDlg, PageContext* pContext) {
    if (!m_controls.BChecked(IDC_RB_PRINT_DOC_ON)) return;
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const PrinterCaps* caps = ZQPrinterCapsLists(pContext->pCaps, kCapsPapers);
    const DWORD n = caps ? caps->dwPaperCount : 0;
    const WORD* ids = caps ? caps->pPaperIds : nullptr;
    HWND combo = m_controls.Item(IDC_CBO_DEST_PAPER_SIZE);
    m_state.dwResizeMode = 1;
    // One page to a sheet: another paper takes the whole page.
    if (BFinishingPoster(pContext) || (work.dwPagesPerSheet != 1 && !work.dwBooklet)) VEndMultiplePages(pContext);
    work.dwPrintedOnPaper = static_cast<uint32_t>(IPaperIdFromComboIndex(n, m_controls.ISelection(IDC_CBO_DEST_PAPER_SIZE), ids, pContext));
    if (logic.BIsBannerPaper() || logic.BIsBorderlessPaper()) {
        logic.VUpdateBorderlessForPageSize(pContext->pRules);
        const int index = IComboIndexFromPaperId(n, ids, DocumentPaper());
        SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index < 0 ? 0 : index), 0);
        VApplyPSDocumentOptions(pContext);
    }
    EnableWindow(combo, TRUE);
    HWND fit = m_controls.Item(IDC_CHK_FIT_TO_SCALE);
    if (!work.dwBooklet) {
        if (m_limits.bFitAllowed) EnableWindow(fit, TRUE);
    } else {
        // A booklet's pages always fit its sheets.
        SetCheck(fit, true);
        EnableWindow(fit, FALSE);
        work.dwScaleToFit = 1;
    }
    work.dwPrintDocOn = 1;
    for (int id : {IDC_TXT_NORMAL_SIZE, IDC_STA_NORMAL_SIZE, IDC_CTL_HSCROLL}) EnableWindow(m_controls.Item(id), FALSE);
    VSetScaleBox(work.dwScaleToFit ? IComputeFitScale(pContext) : kFullScale);
    CZQCommon::DWSelectOptionByIndex(m_pCUIParam, zqkw::kZQCenterOnPage, 0, OEMCUIP_DOCPROP);
    m_controls.VSetCheck(IDC_CHECK_CENTER_ON_PAGE, FALSE);
    VShowResized(hDlg, pContext);
}

void CZQEffectsTab::VOnScaling(HWND hDlg, PageContext* pContext) {
    if (!m_controls.BChecked(IDC_RB_SCALING)) return;
    ZQUIDevmode& work = *WorkOf(pContext);
    const PrinterCaps* caps = ZQPrinterCapsLists(pContext->pCaps, kCapsPapers);
    const DWORD n = caps ? caps->dwPaperCount : 0;
    const WORD* ids = caps ? caps->pPaperIds : nullptr;
    m_state.dwResizeMode = 2;
    VResetScalingAndPoster(pContext);
    const int index = IComboIndexFromPaperId(n, ids, DocumentPaper());
    SendMessageW(m_controls.Item(IDC_CBO_DEST_PAPER_SIZE), CB_SETCURSEL, static_cast<WPARAM>(index < 0 ? 0 : index), 0);
    work.dwPrintedOnPaper = static_cast<uint32_t>(IPaperIdFromComboIndex(n, m_controls.ISelection(IDC_CBO_DEST_PAPER_SIZE), ids, pContext));
    VApplyPSDocumentOptions(pContext);
    for (int id : {IDC_CBO_DEST_PAPER_SIZE, IDC_CHK_FIT_TO_SCALE}) EnableWindow(m_controls.Item(id), FALSE);
    for (int id : {IDC_TXT_NORMAL_SIZE, IDC_STA_NORMAL_SIZE, IDC_CTL_HSCROLL}) EnableWindow(m_controls.Item(id), TRUE);
    BOOL number = FALSE;
    int value = static_cast<int>(GetDlgItemInt(hDlg, IDC_TXT_NORMAL_SIZE, &number, FALSE));
    if (!number) value = kFullScale;
    if (value > m_limits.iMaximum) value = m_limits.iMaximum;
    work.dwScalePercent = static_cast<uint32_t>(value);
    VSetScroll(value);
    VShowResized(hDlg, pContext);
}

void CZQEffectsTab::VOnScaleToFit(HWND hDlg, PageContext* pContext) {
    ZQUIDevmode& work = *WorkOf(pContext);
    const bool fit = m_controls.BChecked(IDC_CHK_FIT_TO_SCALE) != FALSE;
    VSetScaleBox(fit ? IComputeFitScale(pContext) : kFullScale);
    work.dwScaleToFit = fit ? 1 : 0;
    VUpdateChangedState(hDlg, pContext);
    VShowPaperText(pContext);
    VRepaintPreview(TRUE);
}

void CZQEffectsTab::VOnDestPaperChange(HWND hDlg, PageContext* pContext) {
    ZQUIDevmode& work = *WorkOf(pContext);
    const PrinterCaps* caps = ZQPrinterCapsLists(pContext->pCaps, kCapsPapers);
    HWND combo = m_controls.Item(IDC_CBO_DEST_PAPER_SIZE);
    if (m_controls.BChecked(IDC_CHK_FIT_TO_SCALE)) VSetScaleBox(IComputeFitScale(pContext));
    VProbeTwoSided(pContext);
    work.dwPrintedOnPaper = static_cast<uint32_t>(IPaperIdFromComboIndex(
        caps ? caps->dwPaperCount : 0, m_controls.ISelection(IDC_CBO_DEST_PAPER_SIZE), caps ? caps->pPaperIds : nullptr,
        pContext));
    m_state.iPrintedOnIndex = m_controls.ISelection(IDC_CBO_DEST_PAPER_SIZE);
    if (FeatureItem(m_pCUIParam, kPSAutoScaling) &&
        pContext->pLogic->IBindFeatureControl(0, kPSAutoScaling, combo, nullptr, OEMCUIP_DOCPROP, CZQUILogic::kBindApply,
                                              FALSE, 0, nullptr) == 3)
        CZQCommon::DWSelectOptionByKeyword(m_pCUIParam, kPSAutoScaling, kCustomPaperSize, OEMCUIP_DOCPROP);
    VShowResized(hDlg, pContext);
}

void CZQEffectsTab::VOnScaleEdit(HWND hDlg, int iCode, PageContext* pContext) {
    HWND box = m_controls.Item(IDC_TXT_NORMAL_SIZE);
    if (!box) return;
    WCHAR text[16] = {};
    GetWindowTextW(box, text, 16);
    if (iCode == EN_KILLFOCUS) {
        // An empty box means the full size; a scale below the least is raised to it.
        if (!text[0]) VSetScaleBox(kFullScale);
        else if (BIsAllDigits(text) && _wtoi(text) < m_limits.iMinimum) VSetScaleBox(m_limits.iMinimum);
        return;
    }
    if (iCode != EN_CHANGE || m_state.bSettingScale || !IsWindowEnabled(box)) return;
    int value = _wtoi(text);
    if (text[0] && !BIsAllDigits(text)) {
        value = kFullScale;
        VSetScaleBox(value);
        SendMessageW(box, EM_SETSEL, 3, 3);
    } else if (!text[0]) {
        return;
    } else if (value > m_limits.iMaximum) {
        value = m_limits.iMaximum;
        VSetScaleBox(value);
    }
    VSetScroll(value);
    WorkOf(pContext)->dwScalePercent = static_cast<uint32_t>(value);
    VUpdateChangedState(hDlg, pContext);
    VRepaintPreview(TRUE);
}

void CZQEffectsTab::VOnScroll(HWND hDlg, int iCode, PageContext* pContext) {
    HWND bar = m_controls.Item(IDC_CTL_HSCROLL);
    if (!bar) return;
    SCROLLINFO info = {sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(bar, SB_CTL, &info);
    const int low = m_limits.iMinimum, high = info.nMax;
    const int page = static_cast<int>(info.nPage);
    int pos = info.nPos;
    switch (iCode) {
        case SB_LINELEFT: if (pos > low) --pos; break;
        case SB_LINERIGHT: if (pos < high) ++pos; break;
        case SB_PAGELEFT: pos = pos - page < low ? low : pos - page; break;
        case SB_PAGERIGHT: pos = pos + page > high ? high : pos + page; break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK: pos = info.nTrackPos; break;
        case SB_LEFT: pos = low; break;
        case SB_RIGHT: pos = high; break;
        default: break;
    }
    if (pos > m_limits.iMaximum) pos = m_limits.iMaximum;
    VSetScaleBox(pos);
    VSetScroll(pos);
    if (IsWindowEnabled(m_controls.Item(IDC_TXT_NORMAL_SIZE))) {
        WorkOf(pContext)->dwScalePercent = static_cast<uint32_t>(pos);
        VUpdateChangedState(hDlg, pContext);
    }
    VShowPaperText(pContext);
    m_controls.VRepaint(IDC_PREVIEW_DIMENSIONS, IDC_PREVIEW_DIMENSIONS, FALSE);
    VRepaintPreview(TRUE);
}

// ---------------------------------------------------------------------------------------------
// Leaving the page; the features that follow the resizing
// ---------------------------------------------------------------------------------------------
void CZQEffectsTab::VSaveSettings(HWND hDlg, const WORD* pIds, PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const PrinterCaps* caps = ZQPrinterCapsLists(pContext->pCaps, kCapsPapers);
    auto endPoster = [&] {
        if (CZQCommon::DWSelectOptionByIndex(m_pCUIParam, zqkw::kZQPosterPrinting, 0, OEMCUIP_DOCPROP) == ZQOPT_OK)
            pContext->pLogic->VClearPosterFlag();
    };
    if (m_controls.BChecked(IDC_RB_PRINT_DOC_ON)) {
        work.dwPrintDocOn = 1;
        work.dwPrintedOnPaper = static_cast<uint32_t>(IPaperIdFromComboIndex(
            caps ? caps->dwPaperCount : 0, m_controls.ISelection(IDC_CBO_DEST_PAPER_SIZE), pIds, pContext));
        work.dwWmListIndex = static_cast<uint32_t>(m_controls.ISelection(IDC_CBO_WATERMARKS));
        endPoster();
        work.dwScaleToFit = m_controls.BChecked(IDC_CHK_FIT_TO_SCALE) ? 1 : 0;
    } else {
        if (m_controls.BChecked(IDC_RB_SCALING)) endPoster();
        work.dwPrintDocOn = 0;
    }
    BOOL number = FALSE;
    int typed = static_cast<int>(GetDlgItemInt(hDlg, IDC_TXT_NORMAL_SIZE, &number, FALSE));
    if (!number) typed = 0;
    HWND box = m_controls.Item(IDC_TXT_NORMAL_SIZE);
    if (box && IsWindowEnabled(box)) work.dwScalePercent = static_cast<uint32_t>(typed < m_limits.iMinimum ? m_limits.iMinimum : typed);
    else work.dwScalePercent = kFullScale;
    if (logic.BWatermarksAllowed()) {
        WCHAR name[256];
        ZQCopyTextN(name, 256, work.szWmName, 255);
        work.dwWmOn = wcscmp(name, m_watermarks.NoneName()) == 0 ? 0 : 1;
        work.dwWmFirstPageOnly = m_controls.BChecked(IDC_CHK_FIRST_PAGE_WM) ? 1 : 0;
    }
    work.wScale = static_cast<uint16_t>(box && typed ? typed : kFullScale);
    VComputeScaleFactor(pContext);
    if (work.dwWmAngleMode == 0) work.dwWmAngle = static_cast<uint32_t>(IGetDiagonalAngle(pContext->pCaps, &work));
    if (work.dwPagesPerSheet != 1) {
        work.dwScalePercent = kFullScale;
        if (!work.dwBooklet) {
            work.dwPrintDocOn = 0;
            work.dwPrintedOnPaper = static_cast<uint32_t>(DocumentPaper());
        }
    }
    logic.VValidatePrintOnPaper();
    VApplyMarginOptions(pContext);
    VApplyPSDocumentOptions(pContext);
    // The sheet opens on this page next time: the core driver's block, which it stores, keeps it.
    if (ZQUIDevmode* core = CoreOf(m_pCUIParam)) core->iStartPage = kEffectsTitleId;
}

void CZQEffectsTab::VApplyPSDocumentOptions(PageContext* pContext) {
    ZQApplyPSDocumentOptions(m_pCUIParam, *pContext->pLogic, m_controls.Item(IDC_CBO_DEST_PAPER_SIZE), HPrinter(),
                             static_cast<int>(m_state.dwResizeMode), m_limits.bFitAllowed);
}

void CZQEffectsTab::VResetScalingAndPoster(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    if (work.dwPrintDocOn) {
        work.dwPrintDocOn = 0;
        work.dwScalePercent = kFullScale;
        VSetScaleBox(kFullScale);
    }
    work.dwBooklet = 0;
    if (work.dwPagesPerSheet != 1 || BFinishingPoster(pContext)) VEndMultiplePages(pContext);
    if (logic.BIsBannerPaper() || logic.BNeedsScaleFromLargePaper(pContext->pCaps) || logic.BIsBorderlessPaper())
        logic.VUpdateBorderlessForPageSize(pContext->pRules);
}

void CZQEffectsTab::VApplyBorderlessPhoto(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;
    if (OptionIs(param, zqkw::kZQBorderLessPhoto, L"TRUE") != 1) return;
    // A borderless photo fills its paper: no resizing, no margins, no centring.
    m_state.dwResizeMode = 0;
    m_controls.VSetCheck(IDC_RB_ACTUAL_SIZE, TRUE);
    m_controls.VSetCheck(IDC_RB_PRINT_DOC_ON, FALSE);
    m_controls.VSetCheck(IDC_RB_SCALING, FALSE);
    work.dwPrintDocOn = 0;
    work.dwScalePercent = kFullScale;
    VSetScaleBox(kFullScale);
    for (int id : {IDC_CBO_DEST_PAPER_SIZE, IDC_CHK_FIT_TO_SCALE}) EnableWindow(m_controls.Item(id), FALSE);
    work.dwScaleToFit = 1;
    m_controls.VSetCheck(IDC_CHECK_CENTER_ON_PAGE, FALSE);
    for (PCWSTR feature : {zqkw::kZQCenterOnPage, zqkw::kZQEmulatePexlonMargins, zqkw::kZQSymmetricMargins,
                           zqkw::kZQMinimizeMargins})
        CZQCommon::DWSelectOptionByIndex(param, feature, 0, OEMCUIP_DOCPROP);
    logic.VClearMarginChoices();
}
