// The Features page: its object, its messages, the start of its window, painting, owner
// drawing and help.
#include "pages/features/zqfeaturespage.h"

#include <cwchar>

#include "common/zqkeywords.h"
#include "common/zqmodule.h"
#include "common/zqstorenames.h"
#include "common/zqstrings.h"
#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"
#include "pages/dialogs/zqmodaldlg.h"
#include "pages/zqpageitems.h"
#include "preview/zqpreview.h"
#include "settings/zqdriverdata.h"
#include "res/zqfeaturesids.h"
#include "res/zqpopupids.h"

using namespace zqpage;

namespace {

// The controls the control-state updater moves: the layout rows closing up under two-sided
// printing, the orientation under the source, the paper options stack, and the print-quality
// group.
constexpr int kMovable[] = {IDC_STA_TWO_SIDED_PRINTING, IDC_CBO_TWO_SIDED_PRINTING, IDC_STA_PAGES_PER_SHEET,
                            IDC_CBO_PAGES_PER_SHEET,    IDC_STA_PAGE_ORDER,          IDC_CBO_PAGE_ORDER,
                            IDC_RB_PORTRAIT,            IDC_RB_LANDSCAPE,            IDC_STA_MEDIA_SOURCE_IS,
                            IDC_CBO_MEDIA_SOURCE_IS,    IDC_BTN_CUSTOM,              IDC_CHECK_BORDERLESS_PHOTO,
                            IDC_CHK_QUIET_PRINTING,     IDC_CHECK_BORDERLESS_AUTOFIT, IDC_CHK_MEDIA_PAPER_DIFF,
                            IDC_LB_MEDIA_PAPER_OPTIONS,               IDC_CHK_MEDIA_BACK_COVER,                IDC_STA_CURRENTLY_LOADED_INFO,
                            IDC_STA_ROLL_INFO,          IDC_CHK_SAVE_ROLL_PAPER,     IDC_CHK_DISABLE_AUTO_CUTTER,
                            IDC_CHK_AUTOROTATE,         IDC_STA_MEDIA_TYPE_IS,       IDC_CBO_MEDIA_TYPE_IS,
                            // The print-quality group, stacked by its own rules.
                            IDC_CBO_PRINT_QUALITY,      IDC_OPTIMIZE_FOR_FEATURES,   IDC_RB_DRAWING_TEXT,
                            IDC_RB_IMAGES,              IDC_CHK_THRIFTMODE,          IDC_CHK_GLOSS,
                            IDC_CHK_MAX_DETAILS,        IDC_IMAGE_ENHANCEMENT,       IDC_STA_RENDER_DPI};
static_assert(ARRAYSIZE(kMovable) <= CZQPageControls::kMaxMovable);


const PCWSTR kPhotoFixFeatures[6] = {zqkw::kZQContrast,   zqkw::kZQDigitalFlash, zqkw::kZQSharpness,
                                     zqkw::kZQVorevEzuro, zqkw::kZQSmoothing,    zqkw::kZQRedEyeReduction};

// The separator above the paper-size list's last entry.
constexpr COLORREF kSeparatorColor = RGB(0x40, 0x40, 0x40);

// The item's selection, -1 without the item.
LONG SelectionOf(POEMCUIPPARAM pParam, PCWSTR pszFeature) {
    POPTITEM item = FeatureItem(pParam, pszFeature);
    return item ? item->Sel : -1;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The page object
// ---------------------------------------------------------------------------------------------
CZQFeaturesTab::CZQFeaturesTab() : m_controls(kMovable, static_cast<int>(ARRAYSIZE(kMovable))) {
    m_hMarkerIcon = static_cast<HICON>(
        LoadImageW(zqmodule::Instance(), MAKEINTRESOURCEW(IDI_PAGE_KIND_MARKER), IMAGE_ICON, 0, 0, 0));
}

// The dialog owns the controls; the custom paper dialog and the base go after the icon.
CZQFeaturesTab::~CZQFeaturesTab() {
    if (m_hMarkerIcon) DestroyIcon(m_hMarkerIcon);
}

BOOL CZQFeaturesTab::BReadAddPaperPath(PageContext*) {
    DWORD cb = sizeof m_state.szAddPaperPath;
    const LSTATUS status = RegGetValueW(HKEY_LOCAL_MACHINE, zqsettings::kAddNewPaperToolKey, zqsettings::kAddNewPaperToolPath,
                                        RRF_RT_REG_SZ, nullptr, m_state.szAddPaperPath, &cb);
    if (status == ERROR_SUCCESS) return TRUE;
    // A value that does not fit is no command either.
    m_state.szAddPaperPath[0] = L'\0';
    return FALSE;
}

void CZQFeaturesTab::VSelectCurrentMediaName(HWND hCombo, PageContext*) {
    POPTITEM item = PubItem(m_pCUIParam, DMPUB_MEDIATYPE);
    if (m_state.bMediaTypePopup && hCombo)
        CZQTreePopups::VSelectExact(hCombo, item ? OptionName(item, static_cast<int>(item->Sel)) : nullptr);
}

// ---------------------------------------------------------------------------------------------
// Its own messages
// ---------------------------------------------------------------------------------------------
INT_PTR CZQFeaturesTab::IOnMessage(HWND hDlg, UINT uMsg, WPARAM, LPARAM lParam, PageContext* pContext) {
    switch (uMsg) {
        case WM_PAINT: VOnPaint(hDlg, pContext); return FALSE;
        case WM_DRAWITEM: return BOnDrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam), pContext);
        default: return FALSE;
    }
}

// ---------------------------------------------------------------------------------------------
// The start of the page's window
// ---------------------------------------------------------------------------------------------
BOOL CZQFeaturesTab::BInitDialog(HWND hDlg, PageContext* pContext) {
    if (!BAllocPageBlock()) return FALSE;
    m_customPaper.VBind(m_pSheetParam, m_pCUIParam, m_hResModule);
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;

    VFocusPageList(pContext, hDlg);
    VCacheControlHandles(hDlg);
    VRecordControlRects();
    // The configuration manager's lock of two-sided printing.
    CZQLocalPtr<WCHAR> exist;
    if (CZQDriverData::BGetPrinterData(param->hPrinter, zqsettings::kDMCExist, exist.Put())) VApplyDuplexLock(pContext);
    ZQSheetState& sheet = *logic.SheetState();
    if (!sheet.bTitleDone && logic.BAppendVersionToTitle(hDlg)) sheet.bTitleDone = TRUE;
    if (pContext->pCaps) ZQCopyText(m_szText, kResStringChars, pContext->pCaps->szPortName);
    m_pPublicDM = param->pPublicDM;

    m_state.bMediaTypePopup = logic.BMediaTypeTreeviewPopup();
    if (Readable(param, zqkw::kZQAddCustomMedia)) m_userMedia.VReadUserMediaList(pContext);
    m_state.iUserMedium = m_userMedia.IChosenMedium();
    m_state.bUserMediumChosen = m_state.iUserMedium != -1;
    // The user media's placeholder types are hidden before any list shows them.
    m_userMedia.VHidePlaceholderMedia(pContext);
    DWFillSourceAndMediaCombos(pContext);
    VFillLayoutCombos(pContext);
    m_state.bPaperSizePopup = logic.BPaperSizeTreeviewPopup();
    if (m_state.bPaperSizePopup) {
        logic.VFollowUiLanguage();
        VFillPaperSizeCombo(m_controls.Item(IDC_CBO_MEDIA_SIZE_IS), pContext);
    } else {
        logic.IBindFeatureControl(DMPUB_FORMNAME, nullptr, m_controls.Item(IDC_CBO_MEDIA_SIZE_IS), nullptr,
                                  OEMCUIP_DOCPROP, CZQUILogic::kBindFill, FALSE, 0, nullptr);
    }

    // The selections activation starts from.
    if (const LONG minimize = SelectionOf(param, zqkw::kZQMinimizeMargins); minimize >= 0) {
        logic.VChooseMargin(1, static_cast<DWORD>(minimize));
    }
    if (const LONG scaling = SelectionOf(param, zqkw::kZQAutoDuplexScaling); scaling >= 0) {
        logic.m_bAutoDuplexScalingMark = TRUE;
        logic.m_dwAutoDuplexScaling = static_cast<DWORD>(scaling);
    }
    VReapplyStartRules(pContext);
    VRefreshPaperSizeGroup(pContext);
    VSelectMediaTypeEntry(pContext);
    VUpdateQualityGroup(pContext);

    // A borderless paper with a twin prints a borderless photo; another paper none.
    if (!logic.BIsBorderlessPaper())
        DWSelectOptionByIndex(param, zqkw::kZQBorderLessPhoto, 0, OEMCUIP_DOCPROP);
    else if (BHasBorderlessCounterpart(pContext))
        DWSelectOptionByIndex(param, zqkw::kZQBorderLessPhoto, 1, OEMCUIP_DOCPROP);
    VRefreshPaperQualityGroup(hDlg, pContext, kRefreshShow);
    if (!m_controls.BChecked(IDC_CHK_MEDIA_PAPER_DIFF)) m_pageKinds.VInitPageKinds(pContext);

    logic.VUpdateRollPreview(pContext->pPreview, pContext->pRules);
    SetWindowLongPtrW(hDlg, DWLP_USER, reinterpret_cast<LONG_PTR>(pContext));
    VSubclassPreviewDimensions(param, hDlg, param->hPrinter);
    m_quality.VApplyBlackOnlyRule(pContext);
    VSetControlTexts(pContext);
    m_dest.BGetPaperSizeNames();
    m_dest.VFillDestPaperList(pContext);
    m_dest.VSeedDestinationList(false);
    VShowMarginControls(pContext);
    VRefreshResizeGroup(hDlg, pContext, kRefreshShow);
    VInitLayoutVisibility(pContext);
    VRefreshLayoutGroup(hDlg, pContext, kRefreshShow);

    // A poster whose tiles are not chosen one by one prints every tile.
    if (!FeatureItem(param, L"ZQTilingSelection") && logic.BIsPosterPrinting())
        for (uint32_t& tile : work.adwPosterTiles) tile = 1;
    logic.VUpdateRollPreview(pContext->pPreview, pContext->pRules);
    m_layout.VShowOrientation();
    if (m_layout.BOptionContains(zqkw::kMediaType, L"_CD_")) VApplyCdMedia(hDlg, pContext);
    return TRUE;
}

void CZQFeaturesTab::VReapplyStartRules(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    const POEMCUIPPARAM param = m_pCUIParam;
    // The enhancements as they stand before any macro runs (0 for an enhancement the driver lacks).
    DWORD photoFix[6] = {};
    for (int i = 0; i < 6; ++i) {
        const LONG sel = SelectionOf(param, kPhotoFixFeatures[i]);
        photoFix[i] = sel > 0 ? static_cast<DWORD>(sel) : 0;
    }
    const LONG photoFixChoice = SelectionOf(param, zqkw::kZQPhotoFix);

    if (RulesLoaded(pContext)) {
        POPTITEM mediaItem = PubItem(param, DMPUB_MEDIATYPE);
        const LONG media = mediaItem ? mediaItem->Sel : -1;
        const LONG quality = SelectionOf(param, zqkw::kPrintQualityGroup);
        const ZQUIDevmode& work = *logic.WorkDM();
        const bool postScript = PostScript(pContext);
        const PCWSTR paperFeature = postScript ? zqkw::kPageSize : zqkw::kPaperSize;
        WCHAR option[256];
        if (ReadOption(param, paperFeature, option)) {
            m_state.iResizeMode = CZQUILogic::IGetScalingMode(work.dwPrintDocOn, work.dwScalePercent);
            // A document printed on another paper keeps the paper it was set up on.
            if (m_state.iResizeMode != ZQFeaturesState::kPrintDocOn && (postScript || !m_state.bMediaLocked))
                pContext->pRules->BRunFeatureMacros(paperFeature, option, param);
        }
        if (media >= 0) ReselectWithMacros(pContext, param, zqkw::kMediaType, media);
        if (quality >= 0) ReselectWithMacros(pContext, param, zqkw::kPrintQualityGroup, quality);
        // Whatever the colour space, the enhancements come back.
        if (ReadOption(param, zqkw::kZQInputColorSpace, option)) logic.ISetPhotoFixFeatures(photoFix);
    }
    if (photoFixChoice >= 0)
        DWSelectOptionByIndex(param, zqkw::kZQPhotoFix, static_cast<int>(photoFixChoice), OEMCUIP_DOCPROP);
}

// ---------------------------------------------------------------------------------------------
// Painting, owner drawing, help, the end of the window
// ---------------------------------------------------------------------------------------------
void CZQFeaturesTab::VOnPaint(HWND hDlg, PageContext* pContext) {
    VPaintLogo(hDlg, IDB_ZQLOGO, IDB_ZQLOGO_MASK, IDC_ZQLOGO_HOLDER);
    if (!pContext->pPreview) return;
    VFillPreviewSettings(pContext);
    pContext->pPreview->VSetSettings(&m_preview);
    pContext->pPreview->VPaint();
}

BOOL CZQFeaturesTab::BOnDrawItem(const DRAWITEMSTRUCT* pDraw, PageContext* pContext) {
    if (!pDraw) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    CZQUILogic& logic = *pContext->pLogic;
    BOOL result = FALSE;
    // Drawing a list may move the core driver's source: other pages keep theirs on both sides.
    m_pageKinds.VSelectOtherPagesSource(pContext);
    switch (pDraw->CtlID) {
        case IDC_LB_MEDIA_PAPER_OPTIONS:
            result = m_pageKinds.IDrawPageKindItem(L"ZQCovers", pDraw, pDraw->hwndItem, &logic);
            break;
        case IDC_CBO_MEDIA_TYPE_IS:
            result = logic.IDrawFeatureComboItem(DMPUB_MEDIATYPE, nullptr, pDraw, pDraw->hwndItem);
            break;
        case IDC_CBO_MEDIA_SOURCE_IS:
            result = logic.IDrawFeatureComboItem(DMPUB_DEFSOURCE, nullptr, pDraw, pDraw->hwndItem);
            break;
        case IDC_CBO_MEDIA_SIZE_IS: {
            result = logic.IDrawFeatureComboItem(DMPUB_FORMNAME, nullptr, pDraw, pDraw->hwndItem);
            // A line in the drop-down list sets the custom size, the last entry, apart.
            const LRESULT count = SendMessageW(pDraw->hwndItem, CB_GETCOUNT, 0, 0);
            if (count >= 2 && static_cast<LRESULT>(pDraw->itemID) == count - 2 &&
                !(pDraw->itemState & ODS_COMBOBOXEDIT) && Readable(m_pCUIParam, L"ZQConsumerCustomPaper")) {
                CZQGdiObject pen(CreatePen(PS_SOLID, 1, kSeparatorColor));
                if (pen) {
                    CZQSelectObject select(pDraw->hDC, pen.Get());
                    const int y = pDraw->rcItem.bottom - 1;
                    MoveToEx(pDraw->hDC, pDraw->rcItem.left + 6, y, nullptr);
                    LineTo(pDraw->hDC, pDraw->rcItem.right - 6, y);
                }
            }
            break;
        }
        case IDC_BTN_PREVIEW_PORT:
        case IDC_BTN_PREVIEW_LAND:
            VRepaintPreview(TRUE);
            m_controls.VRepaint(IDC_PREVIEW_DIMENSIONS, IDC_PREVIEW_DIMENSIONS, FALSE);
            break;
        default: break;
    }
    m_pageKinds.VSelectOtherPagesSource(pContext);
    return result;
}

void CZQFeaturesTab::VOnHelp(HWND hWnd, UINT uCommand, PageContext* pContext) {
    // Every control without a topic of its own says so; the table always ends.
    DWORD table[2 * (kHelpPairs + 1)];
    for (int i = 0; i < 2 * kHelpPairs; ++i) table[i] = static_cast<DWORD>(-1);
    table[2 * kHelpPairs] = table[2 * kHelpPairs + 1] = 0;
    VGetHelpIds(table, pContext);
    ZQShowDialogHelp(hWnd, uCommand, m_pCUIParam, table);
    // The focus leaves and comes back, as the help window took it.
    if (uCommand == HELP_WM_HELP) {
        HWND focus = GetFocus();
        SetFocus(nullptr);
        SetFocus(focus);
    }
}

void CZQFeaturesTab::VOnDestroy() {
    // The page object outlives its window.
    m_controls.VForget();
    m_dest.VAttach(nullptr, nullptr);
    m_layout.VAttach({});
    m_hHelpButton = m_hPortraitPreview = m_hLandscapePreview = nullptr;
}

// ---------------------------------------------------------------------------------------------
// Steps the reactions share
// ---------------------------------------------------------------------------------------------
void CZQFeaturesTab::VRepaintPreview(BOOL bErase) {
    m_controls.VRepaint(IDC_BTN_PREVIEW_PORT, IDC_BTN_PREVIEW_LAND, bErase);
}

void CZQFeaturesTab::VRefocusPaperSize() {
    HWND page = m_controls.Page();
    if (!page) return;
    HWND focus = GetFocus();
    SetFocus(m_controls.Item(IDC_CBO_MEDIA_SIZE_IS));
    SetFocus(focus);
}
