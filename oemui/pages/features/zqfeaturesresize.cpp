// The Features page's resizing group and margin options: the document at actual size or on another
// paper (fitted or not) over the destination list its part (zqdestpapers.h) fills, the PostScript
// driver's document options, and the margin features with what ends them (banner papers,
// borderless photos, posters, two-sided printing). The sample page's record as this page shows it.
#include <cwchar>

#include "common/zqkeywords.h"
#include "common/zqstrings.h"
#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"
#include "pages/features/zqfeaturespage.h"
#include "pages/zqpageasks.h"
#include "pages/zqpageitems.h"

using namespace zqpage;

namespace {

constexpr int kFullScale = 100;
constexpr int kScrollPage = 10;
// Percentage controls the simplified templates may carry.
constexpr int IDC_STA_SCALE_COMPANION = 192;
constexpr int IDC_CTL_HSCROLL = 194;
constexpr int IDC_CBO_WATERMARKS = 186;
constexpr WCHAR kReportSymmetricMargins[] = L"ZQReportSymmetricMargins";

int FindExact(HWND hList, PCWSTR pszText) {
    if (!hList || !pszText || !pszText[0]) return -1;
    const LRESULT index = SendMessageW(hList, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(pszText));
    return index == CB_ERR ? -1 : static_cast<int>(index);
}

const PrinterCaps* Papers(PageContext* pContext) { return ZQPrinterCapsLists(pContext->pCaps, kCapsPapers); }

WORD DocumentPaper(POEMCUIPPARAM pParam) {
    return pParam && pParam->pPublicDM ? static_cast<WORD>(pParam->pPublicDM->dmPaperSize) : 0;
}

IZQFinishingPage* Finishing(PageContext* pContext) { return ZQSheetPage<IZQFinishingPage>(pContext, kPageFinishing); }

// Two-sided printing in force by hand, or with the printer's unit.
bool ManualTwoSidedOn(CZQUILogic& logic) {
    return logic.m_bManualDuplexOffered && logic.BIsManualDuplexAvailable() && logic.WorkDM()->dwManualDuplex;
}
bool AutoTwoSidedOn(CZQUILogic& logic) {
    return logic.BIsDuplexUnitInstalled(FALSE) && logic.WorkDM()->wDuplex != 1 && !ManualTwoSidedOn(logic);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The group from the settings (mode 0) and back (mode 2)
// ---------------------------------------------------------------------------------------------
void CZQFeaturesTab::VRefreshResizeGroup(HWND hDlg, PageContext* pContext, int iMode) {
    if (!WorkOf(pContext) || !m_pCUIParam) return;
    if (iMode == kRefreshShow) {
        VSetResizeGroup(pContext);
    } else if (iMode == kRefreshStore) {
        const PrinterCaps* caps = Papers(pContext);
        VApplyResizeGroup(hDlg, caps ? caps->pPaperIds : nullptr, pContext);
    }
}

void CZQFeaturesTab::VSetResizeGroup(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;
    const PrinterCaps* caps = Papers(pContext);
    const DWORD n = caps ? caps->dwPaperCount : 0;
    const WORD* ids = caps ? caps->pPaperIds : nullptr;
    HWND list = m_controls.Item(IDC_CBO_DEST_PAPER_SIZE);
    HWND fit = m_controls.Item(IDC_CHK_FIT_TO_SCALE);
    HWND edit = m_controls.Item(IDC_TXT_NORMAL_SIZE);

    m_state.iResizeMode = CZQUILogic::IGetScalingMode(work.dwPrintDocOn, work.dwScalePercent);
    m_state.bScaleFromLarge = OptionIs(param, zqkw::kScaleFromLargePaper, L"INSTALLED") == 1 ||
                              OptionIs(param, zqkw::kScaleFromLargePaper, L"TRUE") == 1;
    if (m_state.bScaleFromLarge) {
        CZQLocalPtr<WCHAR> name;
        if (DWGetPubSelectionName(param, DMPUB_FORMNAME, name.Put()) == ZQOPT_OK)
            ZQCopyText(m_state.szSelectedForm, 256, name.Get());
    }
    if (HWND bar = m_controls.Item(IDC_CTL_HSCROLL)) {
        SCROLLINFO info = {sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, ZQFeaturesState::kScaleMinimum,
                           ZQFeaturesState::kScaleMaximum + kScrollPage - 1, kScrollPage,
                           static_cast<int>(work.dwScalePercent), 0};
        SetScrollInfo(bar, SB_CTL, &info, TRUE);
    }
    const bool fromLarge = m_state.bScaleFromLarge && logic.BNeedsScaleFromLargePaper(caps);
    if (!work.dwPrintDocOn) {
        if (fromLarge) {
            EnableWindow(list, TRUE);
            m_dest.VSelectScaleTargetPaper(nullptr, pContext);
            if (m_state.bFitAllowed) EnableWindow(fit, TRUE);
            EnableWindow(edit, FALSE);
        } else {
            EnableWindow(list, FALSE);
            int index = m_dest.IFindDestPaperIndex(n, ids, DocumentPaper(param));
            if (index < 0) {
                if (logic.BIsBannerPaper()) {
                    WCHAR target[64] = {};
                    logic.VGetScaleTargetPaperName(target);
                    index = FindExact(list, target);
                } else if (logic.BIsBorderlessPaper()) {
                    work.dwPrintDocOn = 0;
                    work.dwScaleToFit = 0;
                    index = m_dest.IFindBorderlessTwin(pContext);
                } else {
                    index = 0;
                }
            }
            SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
            if (const WORD id = m_dest.WGetDestPaperId(n, index, ids); id > 0) work.dwPrintedOnPaper = id;
            EnableWindow(fit, FALSE);
        }
    } else {
        EnableWindow(list, TRUE);
        if (fromLarge) {
            m_dest.VSelectScaleTargetPaper(nullptr, pContext);
        } else {
            int index = m_dest.IFindDestPaperIndex(n, ids, static_cast<WORD>(work.dwPrintedOnPaper));
            if (index < 0) index = m_dest.IFindDestPaperIndex(n, ids, DocumentPaper(param));
            if (index < 0) index = 0;
            SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
            m_state.iDestIndex = index;
        }
        if (m_state.bFitAllowed) EnableWindow(fit, TRUE);
        for (int id : {IDC_TXT_NORMAL_SIZE, IDC_STA_SCALE_COMPANION, IDC_CTL_HSCROLL}) EnableWindow(m_controls.Item(id), FALSE);
    }
    m_controls.VSetCheck(IDC_CHK_FIT_TO_SCALE, work.dwScaleToFit != 0);
    if (edit) {
        const int shown = IsWindowEnabled(edit) || work.dwScaleToFit != 1 ? static_cast<int>(work.dwScalePercent)
                                                                            : m_dest.IGetFitToPaperPercent(pContext);
        SetDlgItemInt(m_controls.Page(), IDC_TXT_NORMAL_SIZE, static_cast<UINT>(shown), TRUE);
    }
    if (logic.BNeedsScaleFromLargePaper(caps))
        if (Finishing(pContext)) pContext->pLogic->VClearPosterFlag();
    if (const int centre = OptionIs(param, zqkw::kZQCenterOnPage, L"TRUE"); centre >= 0)
        m_controls.VSetCheck(IDC_CHECK_CENTER_ON_PAGE, centre == 1);
    VUpdateResizeControls(m_controls.Page(), pContext);
    VSetMarginGroup(pContext);
}

void CZQFeaturesTab::VUpdateResizeControls(HWND, PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;
    const BOOL banner = logic.BIsBannerPaper(), borderless = logic.BIsBorderlessPaper();
    auto* finishing = Finishing(pContext);
    const bool poster = finishing && pContext->pLogic->BPosterFlag();
    if (banner || poster || work.dwPagesPerSheet != 1 || borderless) m_controls.VSetCheck(IDC_RB_ACTUAL_SIZE, TRUE);
    if (banner || borderless) {
        HWND minimize = m_controls.Item(IDC_CHECK_MINIMIZE_MARGINS);
        SetCheck(minimize, false);
        EnableWindow(minimize, FALSE);
        DWSelectOptionByIndex(param, zqkw::kZQMinimizeMargins, 0, OEMCUIP_DOCPROP);
    }
    if (!m_state.bFitAllowed) Hide(m_controls.Item(IDC_CHK_FIT_TO_SCALE));

    const int mode = m_state.iResizeMode;
    m_controls.VSetCheck(IDC_RB_ACTUAL_SIZE, mode == ZQFeaturesState::kActualSize);
    m_controls.VSetCheck(IDC_RB_PRINT_DOC_ON, mode == ZQFeaturesState::kPrintDocOn);
    m_controls.VSetCheck(IDC_RB_SCALING, mode == ZQFeaturesState::kPercentage);
    EnableWindow(m_controls.Item(IDC_CBO_DEST_PAPER_SIZE), mode == ZQFeaturesState::kPrintDocOn);
    const bool fit = mode == ZQFeaturesState::kPrintDocOn && !work.dwBooklet && m_state.bFitAllowed;
    EnableWindow(m_controls.Item(IDC_CHK_FIT_TO_SCALE), fit);
    for (int id : {IDC_TXT_NORMAL_SIZE, IDC_CTL_HSCROLL})
        EnableWindow(m_controls.Item(id), mode == ZQFeaturesState::kPercentage);
    if (mode == ZQFeaturesState::kPercentage) return;
    // Off the percentage, the scale goes back to the full size.
    if (HWND bar = m_controls.Item(IDC_CTL_HSCROLL)) {
        SCROLLINFO info = {sizeof info, SIF_POS, 0, 0, 0, kFullScale, 0};
        SetScrollInfo(bar, SB_CTL, &info, TRUE);
    }
    EnableWindow(m_controls.Item(IDC_STA_SCALE_COMPANION), FALSE);
    if (mode == ZQFeaturesState::kActualSize) {
        if (m_controls.Item(IDC_TXT_NORMAL_SIZE))
            SetDlgItemInt(m_controls.Page(), IDC_TXT_NORMAL_SIZE, kFullScale, FALSE);
        work.dwScalePercent = kFullScale;
    }
}

void CZQFeaturesTab::VApplyResizeGroup(HWND hDlg, const WORD* pIds, PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const PrinterCaps* caps = Papers(pContext);
    auto endPoster = [&] {
        if (DWSelectOptionByIndex(m_pCUIParam, zqkw::kZQPosterPrinting, 0, OEMCUIP_DOCPROP) == ZQOPT_OK)
            if (Finishing(pContext)) pContext->pLogic->VClearPosterFlag();
    };
    if (m_controls.BChecked(IDC_RB_PRINT_DOC_ON)) {
        work.dwPrintDocOn = 1;
        work.dwPrintedOnPaper =
            m_dest.WGetDestPaperId(caps ? caps->dwPaperCount : 0, m_controls.ISelection(IDC_CBO_DEST_PAPER_SIZE), pIds);
        // A template without the watermark list stores its first entry.
        HWND watermarks = m_controls.Item(IDC_CBO_WATERMARKS);
        work.dwWmListIndex = watermarks ? static_cast<uint32_t>(SendMessageW(watermarks, CB_GETCURSEL, 0, 0)) : 0;
        endPoster();
        work.dwScaleToFit = m_controls.BChecked(IDC_CHK_FIT_TO_SCALE) ? 1 : 0;
    } else {
        if (m_controls.BChecked(IDC_RB_SCALING)) endPoster();
        work.dwPrintDocOn = 0;
    }
    // The typed percentage, raised to the least; the full size without a percentage box.
    HWND edit = m_controls.Item(IDC_TXT_NORMAL_SIZE);
    BOOL number = FALSE;
    int typed = edit ? static_cast<int>(GetDlgItemInt(hDlg, IDC_TXT_NORMAL_SIZE, &number, TRUE)) : 0;
    if (!number) typed = 0;
    if (typed > ZQFeaturesState::kScaleMaximum) typed = ZQFeaturesState::kScaleMaximum;
    if (edit && IsWindowEnabled(edit))
        work.dwScalePercent = static_cast<uint32_t>(typed < ZQFeaturesState::kScaleMinimum ? ZQFeaturesState::kScaleMinimum : typed);
    else
        work.dwScalePercent = kFullScale;
    work.wScale = static_cast<uint16_t>(typed > 0 ? typed : kFullScale);
    if (work.dwPagesPerSheet != 1) {
        work.dwScalePercent = kFullScale;
        if (!work.dwBooklet) {
            work.dwPrintDocOn = 0;
            work.dwPrintedOnPaper = DocumentPaper(m_pCUIParam);
        }
    }
    logic.VValidatePrintOnPaper();
    IApplyMarginGroup(pContext);
    VApplyPSDocumentOptions(pContext);
    if (ZQUIDevmode* core = CoreOf(m_pCUIParam)) core->iStartPage = -999;
}

void CZQFeaturesTab::VApplyPSDocumentOptions(PageContext* pContext) {
    ZQApplyPSDocumentOptions(m_pCUIParam, *pContext->pLogic, m_controls.Item(IDC_CBO_DEST_PAPER_SIZE), HPrinter(),
                             m_state.iResizeMode, m_state.bFitAllowed);
}

// ---------------------------------------------------------------------------------------------
// Margin options
// ---------------------------------------------------------------------------------------------
void CZQFeaturesTab::VShowMarginControls(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    const PCWSTR features[] = {zqkw::kZQEmulatePexlonMargins, zqkw::kZQSymmetricMargins, zqkw::kZQMinimizeMargins};
    const int boxes[] = {IDC_CHECK_EMULATE_MARGINS, IDC_CHECK_SYMMETRICAL_MARGINS, IDC_CHECK_MINIMIZE_MARGINS};
    BOOL offered[3];
    for (int i = 0; i < 3; ++i) {
        // A box is offered with its feature.
        offered[i] = logic.m_abMarginAvailable[i] = FeatureItem(m_pCUIParam, features[i]) ? TRUE : FALSE;
        if (offered[i]) ShowEnabled(m_controls.Item(boxes[i]));
        else Hide(m_controls.Item(boxes[i]));
    }
    m_controls.VShow(IDC_GB_MARGIN, offered[0] || offered[1] || offered[2]);
    if (Readable(m_pCUIParam, zqkw::kZQCenterOnPage)) ShowEnabled(m_controls.Item(IDC_CHECK_CENTER_ON_PAGE));
    else Hide(m_controls.Item(IDC_CHECK_CENTER_ON_PAGE));
}

void CZQFeaturesTab::VSetMarginGroup(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    const POEMCUIPPARAM param = m_pCUIParam;
    HWND emulate = m_controls.Item(IDC_CHECK_EMULATE_MARGINS);
    HWND symmetric = m_controls.Item(IDC_CHECK_SYMMETRICAL_MARGINS);
    HWND minimize = m_controls.Item(IDC_CHECK_MINIMIZE_MARGINS);
    if (logic.BIsBannerPaper()) {
        for (PCWSTR feature : {zqkw::kZQEmulatePexlonMargins, zqkw::kZQSymmetricMargins, zqkw::kZQMinimizeMargins})
            DWSelectOptionByIndex(param, feature, 0, OEMCUIP_DOCPROP);
        logic.VClearMarginChoices();
    }
    auto bind = [&](PCWSTR feature, HWND box, int action) {
        return logic.IBindFeatureControl(0, feature, box, nullptr, OEMCUIP_DOCPROP, action, TRUE, 0, nullptr);
    };
    const int emulateBound = bind(zqkw::kZQEmulatePexlonMargins, emulate, CZQUILogic::kBindShow);
    const int symmetricBound = bind(zqkw::kZQSymmetricMargins, symmetric, CZQUILogic::kBindShow);
    auto state = [](HWND box, bool checked, bool enabled) {
        if (!checked) SetCheck(box, false);
        EnableWindow(box, enabled);
    };
    if (Checked(emulate)) {
        state(symmetric, false, false);
        state(minimize, false, false);
        EnableWindow(emulate, TRUE);
    } else if (Checked(symmetric)) {
        state(emulate, false, false);
        state(minimize, false, false);
        EnableWindow(symmetric, TRUE);
    } else {
        if (emulateBound == 0) EnableWindow(emulate, TRUE);
        if (symmetricBound == 0) EnableWindow(symmetric, TRUE);
        if (!ManualTwoSidedOn(logic) && !AutoTwoSidedOn(logic)) {
            // The user's own choices come back where two-sided printing does not decide them.
            if (logic.DWMarginChoice(0)) {
                DWSelectOptionByIndex(param, zqkw::kZQSymmetricMargins, static_cast<int>(logic.DWMarginValue(0)),
                                      OEMCUIP_DOCPROP);
                bind(zqkw::kZQSymmetricMargins, symmetric, CZQUILogic::kBindShow);
                if (logic.DWMarginValue(0) == 1) {
                    state(emulate, false, false);
                    state(minimize, false, false);
                    EnableWindow(symmetric, TRUE);
                }
            }
            if (logic.DWMarginChoice(1)) {
                DWSelectOptionByIndex(param, zqkw::kZQMinimizeMargins, static_cast<int>(logic.DWMarginValue(1)),
                                      OEMCUIP_DOCPROP);
                if (logic.DWMarginValue(1) == 1) {
                    state(emulate, false, false);
                    state(symmetric, false, false);
                }
            }
        } else if (symmetricBound == 0) {
            EnableWindow(symmetric, FALSE);
        }
    }
    VUpdateAutoDuplexScaling(pContext);
}

int CZQFeaturesTab::IApplyMarginGroup(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;
    HWND emulate = m_controls.Item(IDC_CHECK_EMULATE_MARGINS);
    HWND symmetric = m_controls.Item(IDC_CHECK_SYMMETRICAL_MARGINS);
    int result = logic.IBindFeatureControl(0, zqkw::kZQEmulatePexlonMargins, emulate, nullptr, OEMCUIP_DOCPROP,
                                           CZQUILogic::kBindApply, TRUE, 0, nullptr);
    logic.IBindFeatureControl(0, zqkw::kZQSymmetricMargins, symmetric, nullptr, OEMCUIP_DOCPROP, CZQUILogic::kBindApply,
                              TRUE, 0, nullptr);
    const bool boxChecked = Checked(emulate) || Checked(symmetric);
    if (boxChecked && (logic.BIsBannerPaper() || logic.BIsBorderlessPaper()))
        logic.VUpdateBorderlessForPageSize(pContext->pRules);
    // Margin options end a poster the Finishing page's list shows.
    auto* finishing = Finishing(pContext);
    if (finishing && finishing->BCheckPosterSelection(&logic) && boxChecked && logic.BPosterFlag()) {
        work.dwPagesPerSheet = 1;
        work.dwPageOrderIndex = 0;
        if (logic.BIsPosterPrinting() &&
            DWSelectOptionByIndex(param, zqkw::kZQPosterPrinting, 0, OEMCUIP_DOCPROP) == ZQOPT_OK)
            logic.VClearPosterFlag();
    }
    const bool twoSided = ManualTwoSidedOn(logic) || AutoTwoSidedOn(logic);
    if (Checked(emulate) && twoSided) DWSelectOptionByIndex(param, zqkw::kZQAutoDuplexScaling, 1, OEMCUIP_DOCPROP);
    const bool report = OptionIs(param, zqkw::kZQSymmetricMargins, L"TRUE") == 1 ||
                        (twoSided && FeatureItem(param, zqkw::kZQAutoDuplexScaling) &&
                         OptionIs(param, zqkw::kZQAutoDuplexScaling, L"TRUE") != 1);
    DWSelectOptionByIndex(param, kReportSymmetricMargins, report ? 1 : 0, OEMCUIP_DOCPROP);
    return result;
}

void CZQFeaturesTab::VApplyBorderlessPhoto(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;
    if (OptionIs(param, zqkw::kZQBorderLessPhoto, L"TRUE") != 1) return;
    // A borderless photo fills its paper: no resizing, no margins, no centring.
    m_state.iResizeMode = ZQFeaturesState::kActualSize;
    m_controls.VSetCheck(IDC_RB_ACTUAL_SIZE, TRUE);
    m_controls.VSetCheck(IDC_RB_PRINT_DOC_ON, FALSE);
    m_controls.VSetCheck(IDC_RB_SCALING, FALSE);
    work.dwPrintDocOn = 0;
    work.dwScalePercent = kFullScale;
    if (m_controls.Item(IDC_TXT_NORMAL_SIZE)) SetDlgItemInt(m_controls.Page(), IDC_TXT_NORMAL_SIZE, kFullScale, FALSE);
    for (int id : {IDC_CBO_DEST_PAPER_SIZE, IDC_CHK_FIT_TO_SCALE}) EnableWindow(m_controls.Item(id), FALSE);
    work.dwScaleToFit = 1;
    m_controls.VSetCheck(IDC_CHECK_CENTER_ON_PAGE, FALSE);
    for (PCWSTR feature : {zqkw::kZQCenterOnPage, zqkw::kZQEmulatePexlonMargins, zqkw::kZQSymmetricMargins,
                           zqkw::kZQMinimizeMargins})
        DWSelectOptionByIndex(param, feature, 0, OEMCUIP_DOCPROP);
    logic.VClearMarginChoices();
}

// ---------------------------------------------------------------------------------------------
// The sample page
// ---------------------------------------------------------------------------------------------
void CZQFeaturesTab::VFillPreviewSettings(PageContext* pContext) {
    if (!BFillSharedPreview(&m_preview, pContext)) return;
    CZQUILogic& logic = *pContext->pLogic;
    const ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;
    PreviewSettings& r = m_preview;
    // Without the feature the sample page shows no Thriftmode state at all.
    const int thrift = logic.IBindFeatureControl(0, ThriftmodeFeature(pContext), m_controls.Item(IDC_CHK_THRIFTMODE),
                                                 nullptr, OEMCUIP_DOCPROP, CZQUILogic::kBindFill, TRUE, 0, nullptr);
    r.iThriftmode = !Bound(thrift) ? 1 : m_controls.BChecked(IDC_CHK_THRIFTMODE) ? 3 : 2;
    r.iBooklet = static_cast<int>(logic.DWBooklet());
    // This page shows the stored half turn whether or not the printer offers it.
    r.aiValue[kPvRotated] = static_cast<int>(work.dwRotate180);
    if (!m_controls.Page()) return;
    r.iPageBorders = m_controls.BChecked(IDC_CHK_PAGE_BORDER) ? 1 : 0;
    if (const int order = m_controls.ISelection(IDC_CBO_PAGE_ORDER); order >= 0) r.iPageOrder = order;
    r.aiValue[kPvFlipUp] = m_controls.BChecked(IDC_CHK_FLIP_PAGES_UP) ? 1 : 0;
    if (!Readable(param, zqkw::kZQCenterOnPage))
        r.aiExtra[kPxCenterOnPage] = m_controls.BChecked(IDC_CHECK_CENTER_ON_PAGE) ? 1 : 0;
    // The document printed on another paper is shown on the paper the list names.
    const PrinterCaps* caps = Papers(pContext);
    LONG width = 0, length = 0;
    if (work.dwPrintDocOn == 1 && caps &&
        BGetPaperDimensions(m_dest.WGetDestPaperId(caps->dwPaperCount, m_controls.ISelection(IDC_CBO_DEST_PAPER_SIZE),
                                            caps->pPaperIds),
                            &width, &length, caps)) {
        r.aiValue[kPvSheetWidth] = width;
        r.aiValue[kPvSheetHeight] = length;
    }
}
