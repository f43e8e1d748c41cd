// The Paper/Quality page: its object, its messages, the start of its window, the slider,
// painting, owner drawing, help and the cursor over the sample page.
#include "pages/paperquality/zqpaperqualitypage.h"

#include <commctrl.h>

#include "common/zqkeywords.h"
#include "common/zqmodule.h"
#include "common/zqstrings.h"
#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"
#include "pages/dialogs/zqmodaldlg.h"
#include "pages/paperquality/zqpaperqualitypreview.h"
#include "pages/zqpageitems.h"
#include "preview/zqpreview.h"
#include "res/zqpaperqualityids.h"
#include "xmlrules/zqxmluirules.h"

using namespace zqpage;

namespace {

const PCWSTR kPhotoFixFeatures[6] = {zqkw::kZQContrast,   zqkw::kZQDigitalFlash, zqkw::kZQSharpness,
                                     zqkw::kZQVorevEzuro, zqkw::kZQSmoothing,    zqkw::kZQRedEyeReduction};

// The selection of an item, -1 without the item.
LONG SelectionOf(POEMCUIPPARAM pParam, PCWSTR pszFeature, BYTE bPubId) {
    POPTITEM item = nullptr;
    const DWORD found = bPubId ? CZQCommon::DWFindOptItemByPubId(pParam, bPubId, 0, &item)
                               : CZQCommon::DWFindOptItem(pParam, pszFeature, &item);
    return found == ZQOPT_OK && item ? item->Sel : -1;
}

// The choices the page starts with go through the helper file's rules again: the paper's macros
// may have changed media type and quality, so those are chosen again afterwards, each followed by
// its own macros, and the photo enhancements come back unless the colour space takes them over.
void ReapplyRules(PageContext* pContext, POEMCUIPPARAM param) {
    DWORD photoFix[6] = {};
    for (int i = 0; i < 6; ++i) {
        const LONG sel = SelectionOf(param, kPhotoFixFeatures[i], 0);
        photoFix[i] = sel > 0 ? static_cast<DWORD>(sel) : 0;
    }
    if (!RulesLoaded(pContext)) return;

    const LONG media = SelectionOf(param, nullptr, DMPUB_MEDIATYPE);
    const LONG quality = SelectionOf(param, zqkw::kPrintQualityGroup, 0);
    const ZQUIDevmode* work = pContext->pLogic->WorkDM();
    const PCWSTR paperFeature = work && work->dwPdl == kPdlPostScript ? zqkw::kPageSize : zqkw::kPaperSize;
    WCHAR option[256];
    if (!ReadOption(param, paperFeature, option)) return;
    pContext->pRules->BRunFeatureMacros(paperFeature, option, param);
    if (media < 0 || !ReselectWithMacros(pContext, param, zqkw::kMediaType, media)) return;
    if (quality < 0) return;
    ReselectWithMacros(pContext, param, zqkw::kPrintQualityGroup, quality);
    // Colour spaces the application or the colour management keeps leave the enhancements as the
    // macros set them.
    if (!ReadOption(param, zqkw::kZQInputColorSpace, option)) return;
    if (lstrcmpW(option, L"ADOBERGB") != 0 && lstrcmpW(option, L"MANAGEDBYAPPLN") != 0 &&
        lstrcmpW(option, L"ICM") != 0)
        pContext->pLogic->ISetPhotoFixFeatures(photoFix);
}

// The paper's dimensions, right-aligned in the small font of the system's menus.
void DrawDimensions(HWND control, PCWSTR pszDimensions) {
    if (!control) return;
    CZQWindowDC dc(control);
    if (!dc.Get()) return;
    CZQGdiObject handle(NewMenuFont(dc.Get(), FW_NORMAL));
    if (!handle) return;
    RECT rc;
    GetClientRect(control, &rc);
    CZQSelectObject select(dc.Get(), handle.Get());
    const int oldMode = SetBkMode(dc.Get(), TRANSPARENT);
    const COLORREF oldColor = SetTextColor(dc.Get(), GetSysColor(COLOR_BTNTEXT));
    const UINT oldAlign = SetTextAlign(dc.Get(), TA_RIGHT | TA_TOP);
    const size_t len = ZQTextLength(pszDimensions, ZQPaperQualityState::kDimensionsChars);
    ExtTextOutW(dc.Get(), rc.right, rc.top, ETO_NUMERICSLOCAL, nullptr, pszDimensions, static_cast<UINT>(len), nullptr);
    SetTextAlign(dc.Get(), oldAlign);
    SetTextColor(dc.Get(), oldColor);
    SetBkMode(dc.Get(), oldMode);
}

}  // namespace

BOOL CZQPaperQualityTab::s_bSourceSelectOnce = FALSE;

// ---------------------------------------------------------------------------------------------
// The page object
// ---------------------------------------------------------------------------------------------
CZQPaperQualityTab::CZQPaperQualityTab() {
    m_hMarkerIcon = static_cast<HICON>(
        LoadImageW(zqmodule::Instance(), MAKEINTRESOURCEW(IDI_PAGE_KIND_MARKER), IMAGE_ICON, 0, 0, 0));
}

CZQPaperQualityTab::~CZQPaperQualityTab() {
    if (m_hMarkerIcon) DestroyIcon(m_hMarkerIcon);
    if (m_state.hTooltip) DestroyWindow(m_state.hTooltip);
    // The members go in reverse order: the list box and the button, then the dialog, then the base.
}

// ---------------------------------------------------------------------------------------------
// Its own messages
// ---------------------------------------------------------------------------------------------
// The user's choices, the slider and the sheet's notices need the rules object; painting and help
// the private devmode; owner drawing the page's items; the strip's links the page alone.
unsigned CZQPaperQualityTab::Needs(UINT uMsg) {
    switch (uMsg) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_HSCROLL: return kNeedItems | kNeedDevmode | kNeedRules;
        case WM_PAINT:
        case WM_ERASEBKGND:
        case WM_HELP:
        case WM_CONTEXTMENU: return kNeedItems | kNeedDevmode;
        case WM_DRAWITEM: return kNeedItems;
        default: return kNeedPage;
    }
}

INT_PTR CZQPaperQualityTab::IOnMessage(HWND hDlg, UINT uMsg, WPARAM, LPARAM lParam, PageContext* pContext) {
    switch (uMsg) {
        case WM_HSCROLL: VOnSlider(reinterpret_cast<HWND>(lParam), pContext); return 0;
        case WM_PAINT: VOnPaint(hDlg, pContext); return 0;
        case WM_DRAWITEM: return BOnDrawItem(hDlg, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam), pContext);
        case WM_ERASEBKGND: {
            RECT area;
            CZQPreview::VGetRepaintRect(hDlg, IDC_BTN_PREVIEW_PORT, IDC_BTN_PREVIEW_LAND, &area);
            InvalidateRect(hDlg, &area, FALSE);
            return 0;
        }
        // Other notifications are not the page's: it answers them 0.
        case WM_NOTIFY: SetWindowLongPtrW(hDlg, DWLP_MSGRESULT, 0); return 0;
        default: return 0;
    }
}

// ---------------------------------------------------------------------------------------------
// The start of the page's window
// ---------------------------------------------------------------------------------------------
BOOL CZQPaperQualityTab::BInitDialog(HWND hDlg, PageContext* pContext) {
    const POEMCUIPPARAM param = m_pCUIParam;
    if (!pContext || pContext->pPage != this || !param || !pContext->pRules || !param->pOEMDM ||
        !pContext->pLogic || !pContext->pCaps) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    CZQUILogic& logic = *pContext->pLogic;
    if (CZQImageEnhanceDlg* enhance = pContext->pImageEnhance) {
        enhance->VSetParam(param);
        enhance->VSetResourceModule(m_hResModule);
    }
    m_dialogs.newMedia.VSetParam(param);
    m_dialogs.newMedia.VSetResourceModule(HResModule());

    const BOOL exceptions = logic.BHasPageExceptions();
    VGetControlHandles(hDlg);
    if (!exceptions) VInitPageListSelection(pContext, hDlg);
    VRecordControlRects();
    ZQSheetState& sheet = *logic.SheetState();
    if (!sheet.bTitleDone && logic.BAppendVersionToTitle(hDlg)) sheet.bTitleDone = TRUE;
    ZQCopyText(m_szText, kResStringChars, pContext->pCaps->szPrinterName);
    m_pPublicDM = param->pPublicDM;

    // The lists.
    m_state.bMediaTypePopup = logic.BMediaTypeTreeviewPopup();
    VFillMediaTypeList(pContext);
    m_state.bPaperSizePopup = logic.BPaperSizeTreeviewPopup();
    if (m_state.bPaperSizePopup) {
        m_treePopups.VSetPaperSizeState(BInitRecentPaperSizes(pContext));
        if (!m_treePopups.IPaperSizeState()) VFillPaperSizePopupList(m_controls.H(kCtlSize), pContext);
    } else {
        logic.IBindFeatureControl(DMPUB_FORMNAME, nullptr, m_controls.H(kCtlSize), nullptr, OEMCUIP_DOCPROP,
                                  CZQUILogic::kBindFill, FALSE, 0, nullptr);
    }

    ReapplyRules(pContext, param);

    // The large-format printer's own orientation buttons follow the plug-in's orientation item.
    if (logic.BIsLargeFormat()) {
        POPTITEM orientation = nullptr;
        if (DWFindOemOptItemByPubId(param, kOemPubOrientation, &orientation) == ZQOPT_OK && orientation)
            CheckRadioButton(hDlg, IDC_RB_PORTRAIT, IDC_RB_LANDSCAPE,
                             orientation->Sel == 1 ? IDC_RB_LANDSCAPE : IDC_RB_PORTRAIT);
        VUpdatePrintPreviewBox(pContext);
    }
    VRefreshPaperSizeList(pContext);
    VRefreshMediaTypeList(pContext);
    VRefreshQualityGroup(pContext);
    // Only a borderless paper with a bordered twin prints as a borderless photo.
    DWSelectOptionByIndex(param, zqkw::kZQBorderLessPhoto,
                          logic.BIsBorderlessPaper() && BHasBorderlessTwin(pContext) ? 1 : 0, OEMCUIP_DOCPROP);

    if (exceptions) m_exceptions.VInitPageExceptionsList(pContext);
    VRefresh(hDlg, pContext, kRefreshShow);
    if (!IsDlgButtonChecked(hDlg, IDC_CHK_MEDIA_PAPER_DIFF)) VResetPageKindPapers(pContext);

    logic.VUpdateRollPreview(pContext->pPreview, pContext->pRules);
    SetWindowLongPtrW(hDlg, DWLP_USER, reinterpret_cast<LONG_PTR>(pContext));
    CZQPaperQualityControls::VSubclassDimensions(m_controls.H(kCtlDimensions), &PaperDimensionsWndProc);
    VSubclassPreviewDimensions(param, hDlg, param->hPrinter);
    VSubclassPreviewDocSize(param, hDlg, param->hPrinter);
    if (!Readable(param, zqkw::kZQSimplifiedUI) && logic.BIsLargeFormat()) VCreateListTooltips(pContext);

    // Black ink only prints no borderless photos.
    if (BlackOnlyGrayscale(pContext, param)) {
        CheckDlgButton(hDlg, IDC_CHECK_BORDERLESS_PHOTO, BST_UNCHECKED);
        EnableWindow(GetDlgItem(hDlg, IDC_CHECK_BORDERLESS_PHOTO), FALSE);
    }
    VSetControlTexts(pContext);
    BCreateAlertStrip(hDlg, pContext);
    m_lastMedia.VKeep(m_controls.H(kCtlMedia));
    const auto module = static_cast<HINSTANCE>(param->hModule);
    if (sheet.bRtl)
        m_constraintButton.BLoadBitmaps(module, IDB_CONSTRAINT_RTL, IDB_CONSTRAINT_PRESSED_RTL);
    else
        m_constraintButton.BLoadBitmaps(module, IDB_CONSTRAINT, IDB_CONSTRAINT_PRESSED);
    return TRUE;
}


// ---------------------------------------------------------------------------------------------
// Messages
// ---------------------------------------------------------------------------------------------
void CZQPaperQualityTab::VOnSlider(HWND hSlider, PageContext* pContext) {
    if (!hSlider || GetDlgCtrlID(hSlider) != IDC_SLIDER_PQ_SETTINGS) return;
    const POEMCUIPPARAM param = m_pCUIParam;
    // Every position of the slider is an option index.
    m_state.iSliderPosition = static_cast<int>(SendMessageW(hSlider, TBM_GETPOS, 0, 0));
    DWSelectOptionByIndex(param, L"StandardPrintQuality", m_state.iSliderPosition, OEMCUIP_DOCPROP);
    POPTITEM group = nullptr;
    if (DWFindOptItem(param, zqkw::kPrintQualityGroup, &group) != ZQOPT_OK) return;
    const bool selected =
        DWSelectOptionByIndex(param, zqkw::kPrintQualityGroup, m_state.iSliderPosition, OEMCUIP_DOCPROP) == ZQOPT_OK;
    if (!selected || !RulesLoaded(pContext)) return;
    RunQualityMacros(pContext, m_pCUIParam, true);
    VRefreshQualityGroup(pContext);
}

void CZQPaperQualityTab::VOnPaint(HWND hDlg, PageContext* pContext) {
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hDlg, &ps);
    if (hdc)
        VDrawMaskedBitmap(hDlg, hdc, IDB_ZQLOGO, IDB_ZQLOGO_MASK, IDC_ZQLOGO_HOLDER,
                          static_cast<HINSTANCE>(m_pCUIParam->hModule), &ps);
    EndPaint(hDlg, &ps);
    if (!pContext->pPreview) return;
    VFillPreviewSettings(pContext);
    pContext->pPreview->VSetSettings(&m_preview);
    pContext->pPreview->VPaint();
}

void CZQPaperQualityTab::VFillPreviewSettings(PageContext* pContext) {
    if (!pContext) {
        SetLastError(ERROR_INVALID_DATA);
        return;
    }
    ZQFillPaperQualityPreview(&m_preview, *pContext,
                              {m_pCUIParam, m_pPublicDM, m_controls.H(kCtlPreviewPortrait),
                               m_controls.H(kCtlPreviewLandscape), m_controls.H(kCtlThriftmode), this});
}

BOOL CZQPaperQualityTab::BOnDrawItem(HWND hDlg, const DRAWITEMSTRUCT* pDraw, PageContext* pContext) {
    if (!pDraw) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    CZQUILogic* logic = pContext->pLogic;
    BOOL result = FALSE;
    // While a page kind with a source of its own is chosen, the lists draw their entries (and
    // their conflict marks) against that source in the core driver; the working slot's source is
    // put back afterwards.
    const int working = m_slots.aiSource[kWorkingSlot];
    HWND different = m_controls.H(kCtlDifferentPaper);
    WCHAR kindText[260] = {};
    if (BIsWindowVisible(different)) SelectedText(m_controls.H(kCtlPageKinds), kindText, true);
    if (Checked(different)) {
        if (pDraw->CtlID == IDC_LB_MEDIA_PAPER_OPTIONS)
            result = BDrawPageListItem(L"ZQCovers", pDraw, pDraw->hwndItem, logic);
        // Without a chosen kind the working slot stays.
        const int kind = kindText[0] ? IPageKindFromName(kindText, logic) : kKindNone;
        if (kind == kKindFirstPage || kind == kKindBackCover || kind == kKindFrontCover)
            m_slots.aiSource[kWorkingSlot] = m_slots.aiSource[CZQPaperSlots::ISlotOfKind(kind)];
    }
    VSelectCurrentSource(pContext);
    switch (pDraw->CtlID) {
        case IDC_CBO_MEDIA_TYPE_IS:
            if (logic) result = logic->IDrawFeatureComboItem(DMPUB_MEDIATYPE, nullptr, pDraw, pDraw->hwndItem);
            break;
        case IDC_CBO_MEDIA_SIZE_IS:
            if (logic) result = logic->IDrawFeatureComboItem(DMPUB_FORMNAME, nullptr, pDraw, pDraw->hwndItem);
            break;
        case IDC_CBO_MEDIA_SOURCE_IS:
            if (logic) result = logic->IDrawFeatureComboItem(DMPUB_DEFSOURCE, nullptr, pDraw, pDraw->hwndItem);
            break;
        case IDC_LB_PAGE_EXCEPTIONS_OPTIONS: result = m_exceptions.List().BDrawItem(pDraw); break;
        case IDC_BTN_CONSTRAINT_PAGE_EXCEPTIONS: result = m_constraintButton.BDrawItem(pDraw); break;
        case IDC_STA_MEDIA_SIZE_DIMENSIONS: {
            // The text below is drawn over the page's own background.
            auto brush = reinterpret_cast<HBRUSH>(SendMessageW(hDlg, WM_CTLCOLORSTATIC,
                                                               reinterpret_cast<WPARAM>(pDraw->hDC),
                                                               reinterpret_cast<LPARAM>(pDraw->hwndItem)));
            FillRect(pDraw->hDC, &pDraw->rcItem, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));
            if (pDraw->itemAction == ODA_FOCUS && (pDraw->itemState & ODS_FOCUS) &&
                GetFocus() == pDraw->hwndItem)
                VDrawDimensionsFocus();
            break;
        }
        default: break;
    }
    m_slots.aiSource[kWorkingSlot] = working;
    VSelectCurrentSource(pContext);
    WCHAR rolls[256];
    if (ReadOption(CUIParam(), zqkw::kInstalledRolls, rolls)) {
        if (wcschr(rolls, L'_')) VShowLoadedPaperBySource(pContext);
        else VShowLoadedRolls(pContext);
    }
    DrawDimensions(m_controls.H(kCtlDimensions), m_state.szDimensions);
    if (pDraw->CtlID == IDC_BTN_PREVIEW_PORT || pDraw->CtlID == IDC_BTN_PREVIEW_LAND) {
        RECT area;
        CZQPreview::VGetRepaintRect(hDlg, IDC_BTN_PREVIEW_PORT, IDC_BTN_PREVIEW_LAND, &area);
        InvalidateRect(hDlg, &area, TRUE);
        if (HWND label = m_controls.H(kCtlPaperLabel)) {
            RECT rc;
            VGetChildRect(hDlg, label, &rc, nullptr, nullptr);
            InvalidateRect(hDlg, &rc, FALSE);
        }
    }
    return result;
}


void CZQPaperQualityTab::VOnHelp(HWND hWnd, UINT uCommand, PageContext* pContext) {
    DWORD table[2 * kHelpPairs] = {};
    VBuildHelpTable(table, pContext);
    ZQShowDialogHelp(hWnd, uCommand, m_pCUIParam, table);
}

void CZQPaperQualityTab::VOnDestroy() {
    // The alert window leaves the plug-in's list before it goes; the tooltips go with the page.
    m_alerts.VDetach();
    if (m_state.hTooltip) DestroyWindow(m_state.hTooltip);
    m_state.hTooltip = m_state.hSizeDropList = nullptr;
    m_exceptions.List().VDetach();
    m_constraintButton.VDetach();
    // The page object outlives its window: other pages may still call it.
    m_controls.VForget();
}
