// The Finishing page: its object, its messages, the start of its window, painting, owner
// drawing, help and the page's texts and lists.
#include "pages/finishing/zqfinishingpage.h"

#include "common/zqkeywords.h"
#include "common/zqstorenames.h"
#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"
#include "pages/dialogs/zqmodaldlg.h"
#include "pages/zqpageitems.h"
#include "preview/zqpreview.h"
#include "res/zqfinishingids.h"
#include "settings/zqdriverdata.h"

using namespace zqpage;

namespace {

// The controls the page moves: the orientation column's boxes close up, and the document options'
// rows stack as the printer offers them.
const int kMovableIds[] = {IDC_CHK_ROTATED,
                           IDC_CHK_ROTATE90,
                           IDC_CHK_MIRROR,
                           IDC_CHK_STRAIGHT_PAPER_PATH,
                           IDC_CHK_DUPLEX,
                           IDC_BTN_CONSTRAINT_MANUAL_DUPLEX,
                           IDC_CHK_USE_AUTO_DUPLEX_UNIT,
                           IDC_CHK_PRESERVE_LAYOUT,
                           IDC_CHK_FLIP_PAGES_UP,
                           IDC_STA_BOOKLET,
                           IDC_CBO_BOOKLET_PRINTING,
                           IDC_BTN_CONSTRAINT_BOOKLET_PRINTING,
                           IDC_STA_PAGES_PER_SHEET,
                           IDC_CBO_PAGES_PER_SHEET,
                           IDC_BTN_CONSTRAINT_NUP,
                           IDC_BTN_SELECT_TILES,
                           IDC_CHK_PAGE_BORDER,
                           IDC_STA_PAGE_ORDER,
                           IDC_CBO_PAGE_ORDER,
                           IDC_GB_DOC_OPTIONS,
                           IDC_GB_FINISHING_ORIENTATION,
                           IDC_RB_PORTRAIT,
                           IDC_RB_LANDSCAPE,
                           IDC_GB_PREVIEW_PRINT_FIN,
                           IDC_CHK_SHOW_PREVIEW_FIN};

const CZQPageControls::TextRow kTexts[] = {
    {0, 813, L"Finishing"},
    {IDC_GB_DOC_OPTIONS, 814, L"Document Options"},
    {IDC_CHK_DUPLEX, 3000, L"Print &On Both Sides"},
    {IDC_CHK_PRESERVE_LAYOUT, 3430, L"Preserve Lay&out"},
    {IDC_CHK_FLIP_PAGES_UP, 3001, L"Flip Pages &Up"},
    {IDC_STA_BOOKLET, 818, L"Booklet Printing:"},
    {IDC_BTN_SELECT_TILES, 3324, L"Select Tiles"},
    {IDC_CHK_PAGE_BORDER, 816, L"Print Page &Borders"},
    {IDC_STA_PAGE_ORDER, 817, L"Pa&ge Order:"},
    {IDC_BTN_PREVIEW_PORT, 3072, L"Portrait"},
    {IDC_BTN_PREVIEW_LAND, 3073, L"Landscape"},
    {IDC_GB_PREVIEW_PRINT_FIN, 4337, L"Print Preview"},
    {IDC_CHK_SHOW_PREVIEW_FIN, 4338, L"Show Print Preview"},
    {IDC_GB_FINISHING_ORIENTATION, 3021, L"Orientation"},
    {IDC_RB_PORTRAIT, 4150, L"Portra&it"},
    {IDC_RB_LANDSCAPE, 4151, L"La&ndscape"},
    {IDC_CHK_ROTATED, 819, L"&Rotate by 180 degrees"},
    {IDC_CHK_ROTATE90, 4521, L"Rotate by 90 &degrees"},
    {IDC_CHK_MIRROR, 4618, L"&Mirror Image"},
    {IDC_BTN_HELP, 797, L"&Help"},
    {IDC_STA_STAPLING, 898, L"Stapling Options"},
};

// The lists' entries: page orders, then the booklet kinds (the third binds at the right).
const INT kPageOrderTexts[] = {700, 701, 702, 703};
const INT kBookletTexts[] = {763, 764, 765};

constexpr int kConstraintIds[3] = {IDC_BTN_CONSTRAINT_MANUAL_DUPLEX, IDC_BTN_CONSTRAINT_BOOKLET_PRINTING,
                                   IDC_BTN_CONSTRAINT_NUP};

}  // namespace

// ---------------------------------------------------------------------------------------------
// The page object
// ---------------------------------------------------------------------------------------------
CZQFinishingTab::CZQFinishingTab() : m_controls(kMovableIds, static_cast<int>(sizeof kMovableIds / sizeof kMovableIds[0])) {}

// The alert strip goes first, then the tile dialog, the constraint buttons in reverse order, then the
// base.
CZQFinishingTab::~CZQFinishingTab() = default;

// ---------------------------------------------------------------------------------------------
// Its own messages
// ---------------------------------------------------------------------------------------------
INT_PTR CZQFinishingTab::IOnMessage(HWND hDlg, UINT uMsg, WPARAM, LPARAM lParam, PageContext* pContext) {
    switch (uMsg) {
        case WM_PAINT: VOnPaint(hDlg, pContext); return FALSE;
        case WM_DRAWITEM:
            // Any owner drawing repaints the sample page and its paper text.
            m_controls.VRepaint(IDC_BTN_PREVIEW_PORT, IDC_BTN_PREVIEW_LAND, TRUE);
            m_controls.VRepaint(IDC_PREVIEW_DIMENSIONS, IDC_PREVIEW_DIMENSIONS, FALSE);
            return BOnDrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        default: return FALSE;  // WM_ERASEBKGND: the dialog's own
    }
}

// ---------------------------------------------------------------------------------------------
// The start of the page's window
// ---------------------------------------------------------------------------------------------
BOOL CZQFinishingTab::BInitDialog(HWND hDlg, PageContext* pContext) {
    const POEMCUIPPARAM param = m_pCUIParam;
    CZQUILogic* logic = pContext->pLogic;
    ZQUIDevmode* work = WorkOf(pContext);
    if (!param || !param->pOEMDM || !work) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    if (!BAllocPageBlock()) return FALSE;
    m_pPublicDM = param->pPublicDM;

    VAttachControls(m_controls, hDlg);
    for (int i = 0; i < 3; ++i) m_aConstraintButtons[i].BAttach(hDlg, kConstraintIds[i]);
    VSetControlTexts();
    m_controls.VRecordRects();
    ZQSheetState& sheet = *logic->SheetState();
    if (!sheet.bTitleDone && logic->BAppendVersionToTitle(hDlg)) sheet.bTitleDone = TRUE;
    VFillLists(pContext);
    VUpdatePreviewGroup(pContext);
    VRefresh(hDlg, pContext, 0);
    CZQLocalPtr<WCHAR> managed;
    if (CZQDriverData::BGetPrinterData(param->hPrinter, zqsettings::kDMCExist, managed.Put()))
        VApplyDuplexLock(pContext);
    if (!BReadPosterChoice(*logic))
        EnableWindow(m_controls.Item(IDC_BTN_SELECT_TILES), FALSE);

    // A poster whose tiles are chosen one by one starts with every tile printed.
    if (FeatureItem(param, L"ZQTilingSelection") && logic->BIsPosterPrinting())
        for (uint32_t& tile : work->adwPosterTiles) tile = 1;
    VSubclassPreviewDimensions(param, hDlg, param->hPrinter);
    logic->VUpdateRollPreview(pContext->pPreview, pContext->pRules);
    SetWindowLongPtrW(hDlg, DWLP_USER, reinterpret_cast<LONG_PTR>(pContext));
    VShowOrientation();
    if (!logic->BIsLargeFormat() && OptionIs(param, zqkw::kMediaType, L"ZQ_CD_LABEL_PAPER") == 1)
        EnableWindow(m_controls.Item(IDC_CBO_PAGES_PER_SHEET), FALSE);

    const auto module = static_cast<HINSTANCE>(param->hModule);
    for (CZQBitmapButton& button : m_aConstraintButtons) {
        if (sheet.bRtl) button.BLoadBitmaps(module, IDB_CONSTRAINT_RTL, IDB_CONSTRAINT_PRESSED_RTL);
        else button.BLoadBitmaps(module, IDB_CONSTRAINT, IDB_CONSTRAINT_PRESSED);
    }
    m_alerts.VInit(hDlg, pContext->pAlerts, pContext->pConstraints);
    return TRUE;
}

void CZQFinishingTab::VSetControlTexts() {
    m_controls.VSetTexts(*this, kTexts, static_cast<int>(sizeof kTexts / sizeof kTexts[0]));
    const POEMCUIPPARAM param = m_pCUIParam;
    if (FeatureItem(param, zqkw::kZQUseAutoDuplexUnit))
        BSetWindowTextRes(4992, m_controls.Item(IDC_CHK_USE_AUTO_DUPLEX_UNIT), L"Use auto-duplex unit");
    // The straight paper path is named as the driver names its item.
    POPTITEM path = FeatureItem(param, L"ZQStraightPaperPath");
    HWND box = m_controls.Item(IDC_CHK_STRAIGHT_PAPER_PATH);
    if (path && box && path->pName && !IS_INTRESOURCE(path->pName)) SetWindowTextW(box, path->pName);
}

void CZQFinishingTab::VFillLists(PageContext* pContext) {
    // The tile dialog's texts come from the page's status module.
    m_tilingDialog.VSetResourceModule(HResModule());
    VFillPagesPerSheetList(pContext);
    m_controls.VFillList(*this, IDC_CBO_PAGE_ORDER, kPageOrderTexts, 4);
    // A printer of layout mode 2 binds booklets at the left only.
    const ZQUIDevmode* work = WorkOf(pContext);
    m_controls.VFillList(*this, IDC_CBO_BOOKLET_PRINTING, kBookletTexts, work && work->dwLayoutMode == 2 ? 2 : 3);
}

// ---------------------------------------------------------------------------------------------
// Painting, owner drawing, help, the end of the window
// ---------------------------------------------------------------------------------------------
void CZQFinishingTab::VOnPaint(HWND hDlg, PageContext* pContext) {
    VPaintLogo(hDlg, IDB_ZQLOGO, IDB_ZQLOGO_MASK, IDC_ZQLOGO_HOLDER);
    if (!pContext->pPreview) return;
    VFillPreviewSettings(pContext);
    pContext->pPreview->VSetSettings(&m_preview);
    pContext->pPreview->VPaint();
}

BOOL CZQFinishingTab::BOnDrawItem(const DRAWITEMSTRUCT* pDraw) {
    if (!pDraw) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    for (CZQBitmapButton& button : m_aConstraintButtons)
        if (button.BDrawItem(pDraw)) return TRUE;
    return FALSE;
}

void CZQFinishingTab::VOnHelp(HWND hWnd, UINT uCommand, PageContext* pContext) {
    DWORD table[2 * (kHelpPairs + 1)] = {};
    VBuildHelpTable(table, pContext);
    ZQShowDialogHelp(hWnd, uCommand, m_pCUIParam, table);
}

void CZQFinishingTab::VOnDestroy() {
    // The alert window leaves the plug-in's list before it goes.
    m_alerts.VDetach();
    for (CZQBitmapButton& button : m_aConstraintButtons) button.VDetach();
    // The page object outlives its window: other pages may still call it.
    m_controls.VForget();
    m_hHelpButton = m_hPortraitPreview = m_hLandscapePreview = nullptr;
}
