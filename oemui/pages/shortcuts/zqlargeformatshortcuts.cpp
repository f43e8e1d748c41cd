// The large-format Printing Shortcuts page: its object, its messages, the start of its
// window, painting, the owner-drawn rows and pictures, and the sheet's notifications.
#include "pages/shortcuts/zqlargeformatshortcuts.h"

#include "common/zqkeywords.h"
#include "device/zqalertwnd.h"
#include "common/zqhandles.h"
#include "common/zqmodule.h"
#include "common/zqstrings.h"
#include "featurelogic/zqquicksets.h"
#include "pages/dialogs/zqmodaldlg.h"
#include "pages/dialogs/zqimageenhancedlg.h"
#include "pages/zqpageasks.h"
#include "pages/zqpageitems.h"
#include "preview/zqpreview.h"
#include "res/zqshortcutsids.h"

using namespace zqpage;

namespace {

// The names the quick-set manager gives the settings when no quick set is in force.
constexpr int kPlaceholderNameId = 3043;
constexpr WCHAR kPlaceholderName[] = L"Type new Quick Set name here";
constexpr int kDefaultNameId = 3041;
constexpr WCHAR kDefaultName[] = L" Default Print Settings";

// Row heights of the shortcut list.
constexpr UINT kLargeFormatRowHeight = 75;
constexpr UINT kRowHeight = 52;

// The keyword set of a driver kind.
struct KeywordSet {
    PCWSTR inputBin, paperSize, orientation, portrait, landscape, stapling, duplexLong, duplexShort, grayScale;
};
constexpr KeywordSet kPostScriptKeywords = {zqkw::kInputSlot,     zqkw::kPageSize,         L"ZQOrientation",
                                            L"ZQOrientationPortrait", L"ZQOrientationLandscape",
                                            zqkw::kStapleLocation, L"DuplexNoTumble",   L"DuplexTumble",
                                            zqkw::kJCLZQPrintInGrayScale};
constexpr KeywordSet kOtherKeywords = {zqkw::kInputBin, zqkw::kPaperSize, L"Orientation",      L"PORTRAIT",
                                       L"LANDSCAPE_CC90", zqkw::kStapling, L"Vertical", L"Horizontal",
                                       zqkw::kZQPrintInGrayScale};

}  // namespace

// ---------------------------------------------------------------------------------------------
// The page object
// ---------------------------------------------------------------------------------------------
CZQLargeFormatShortcutsTab::CZQLargeFormatShortcutsTab() = default;

CZQLargeFormatShortcutsTab::~CZQLargeFormatShortcutsTab() {
    m_panel.VDestroyControls();
    VFreePanelEntries();
    m_alerts.VDetach();
}

void CZQLargeFormatShortcutsTab::VResetFeatureSlots() {
    for (int& slot : m_state.anFeatureSlot) slot = ZQLargeFormatShortcutsState::kNoSlotValue;
}

void CZQLargeFormatShortcutsTab::VSetDriverKeywords(PageContext* pContext) {
    const KeywordSet& set = PostScript(pContext) ? kPostScriptKeywords : kOtherKeywords;
    const struct {
        PWSTR field;
        PCWSTR keyword;
    } rows[] = {
        {m_state.szKwInputBin, set.inputBin},       {m_state.szKwPaperSize, set.paperSize},
        {m_state.szKwOrientation, set.orientation}, {m_state.szOptPortrait, set.portrait},
        {m_state.szOptLandscape, set.landscape},    {m_state.szKwStapling, set.stapling},
        {m_state.szOptDuplexLong, set.duplexLong},  {m_state.szOptDuplexShort, set.duplexShort},
        {m_state.szKwGrayScale, set.grayScale},
    };
    for (const auto& row : rows) ZQCopyText(row.field, kTextChars, row.keyword);
}

void CZQLargeFormatShortcutsTab::VBindControls(HWND hDlg, PageContext* pContext) {
    VAttachControls(m_controls, hDlg);
    // This page opens the sheet's image-enhancement dialog as well.
    if (CZQImageEnhanceDlg* enhance = SheetImageEnhance(pContext, nullptr))
        enhance->VBind(m_pSheetParam, m_pCUIParam, m_hResModule);
}

void CZQLargeFormatShortcutsTab::VSetControlTexts() {
    static constexpr CZQPageControls::TextRow kTexts[] = {
        {0, -1, L"Printing shortcut:"},
        {IDC_BTN_HELP, 797, L"&Help"},
        {IDC_CHK_SHOW_PREVIEW_FIN, 5152, L"Show preview before printing"},
        {IDC_BTN_PREVIEW_PORT, 3072, L"Portrait"},
        {IDC_BTN_PREVIEW_LAND, 3073, L"Landscape"},
        {IDC_STA_TITLE1, 5166, L"Select the printing shortcut for this print job."},
        {IDC_STA_TITLE2, 6163, L"Printing shortcut:"},
        {IDC_BTN_SAVE, 3006, L"Sa&ve As..."},
        {IDC_BTN_DELETE, 854, L"De&lete"},
        {IDC_DOCUI_CUSTOM1, 4282, L"One or more custom settings have been selected from the other tabs."},
        {IDC_DOCUI_CUSTOM2, 4460, L"To view the current settings, click on the other tabs."},
        {IDC_DOCUI_CUSTOM3, 5339,
         L"To reset the settings, select the type of printing you want to do from the Printing Shortcuts menu."},
        {IDC_STA_MESSAGE, -1,
         L"One or more settings have been modified from the other tabs. A new shortcut can be saved with those "
         L"settings."},
    };
    m_controls.VSetTexts(*this, kTexts, static_cast<int>(sizeof kTexts / sizeof kTexts[0]));
}

void CZQLargeFormatShortcutsTab::VBindStore() {
    m_store.VBind(m_pSheetParam, m_pCUIParam, m_hResModule);
    m_store.VBindPage({Ctl(IDC_LB_DOCTYPE_SETTING), Ctl(IDC_BTN_SAVE), Ctl(IDC_BTN_DELETE), m_state.bRestrictedUser, m_state.szCustomizedText,
                       m_state.szKwPaperSize, m_state.szKwOrientation, m_state.szKwInputBin, m_state.szKwGrayScale, m_state.anFeatureSlot,
                       m_pPublicDM});
}

// ---------------------------------------------------------------------------------------------
// Its own messages
// ---------------------------------------------------------------------------------------------
INT_PTR CZQLargeFormatShortcutsTab::IOnMessage(HWND hDlg, UINT uMsg, WPARAM, LPARAM lParam, PageContext* pContext) {
    switch (uMsg) {
        case WM_PAINT: VOnPaint(hDlg, pContext); return FALSE;
        case WM_DRAWITEM: return IOnDrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam), pContext);
        case WM_MEASUREITEM: return IOnMeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam), pContext);
        case WM_HSCROLL: VOnQualitySlider(reinterpret_cast<HWND>(lParam), pContext); return FALSE;
        default: return FALSE;
    }
}

INT_PTR CZQLargeFormatShortcutsTab::IOnCommand(HWND, int iCtrlId, int iCode, HWND, PageContext* pContext) {
    VOnCommand(MAKEWPARAM(iCtrlId, iCode), pContext);
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// The start of the page's window
// ---------------------------------------------------------------------------------------------
BOOL CZQLargeFormatShortcutsTab::BInitDialog(HWND hDlg, PageContext* pContext) {
    const POEMCUIPPARAM param = m_pCUIParam;
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode* work = WorkOf(pContext);
    const ZQUIDevmode* core = CoreOf(param);
    if (!param || !core || !work || !BAllocPageBlock()) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    m_store.m_SavedShortcut.ppFeatures = nullptr;
    const BOOL firstUse = core->szDocTypeName[0] == L'\0' && work->dwPendingChange == 0;
    const PCWSTR printerName = pContext->pCaps ? pContext->pCaps->szPrinterName : param->pPrinterName;
    m_pPublicDM = param->pPublicDM;
    m_state.bReadFromControls = TRUE;
    VBindControls(hDlg, pContext);
    VSetControlTexts();
    HANDLE printer = nullptr;
    BOOL reopened = FALSE;
    m_state.bRestrictedUser = CZQCommon::BIsPrinterDataReadOnly(param->hPrinter, printerName, m_pPublicDM, &printer, &reopened);
    CZQPrinterHandle reopenedPrinter(reopened ? printer : nullptr);
    VSetDriverKeywords(pContext);
    m_state.bHasPrintingHelp = CZQCommon::BHasPrintingHelp(param, kPageShortcuts);
    VLoadText(6164, L"Customized Settings", m_state.szCustomizedText);
    ZQSheetState& sheet = *logic.SheetState();
    if (!sheet.bTitleDone && logic.BAppendVersionToTitle(hDlg)) sheet.bTitleDone = TRUE;
    VBindStore();
    // The list measures each row as it is added: the window finds its page from here on.
    SetWindowLongPtrW(hDlg, DWLP_USER, reinterpret_cast<LONG_PTR>(pContext));
    m_state.bStarting = TRUE;
    VFillShortcutList(pContext, firstUse);
    VTakeFirstRowForPlaceholder(pContext);
    // A name that is no document type is a stored shortcut, which may be deleted.
    if (m_state.szCurrentName[0] && !BIsDocumentType(pContext, m_state.szCurrentName)) {
        m_state.bStoredShortcutShown = TRUE;
        ZQCopyText(m_state.szStoredShortcutName, kTextChars, m_state.szCurrentName);
        if (Ctl(IDC_BTN_DELETE)) EnableWindow(Ctl(IDC_BTN_DELETE), TRUE);
    }
    m_list.VSelectRow(m_state.szCurrentName);
    if (logic.BIsLargeFormat()) BReadSelectedDocTypeAndMove(pContext, firstUse);
    VUpdatePreviewOption(pContext);
    // Settings that never went through a sheet take the selected type.
    VBuildShortcutPanel(static_cast<HMODULE>(zqmodule::Instance()), pContext, firstUse);
    if (work->dwPendingChange) ZQCopyText(work->szDocTypeName, kTextChars, m_state.szCustomizedText);
    VRefreshPanelControls(pContext);
    VSubclassPreviewDimensions(param, hDlg, param->hPrinter);
    VSubclassPreviewDocSize(param, hDlg, param->hPrinter);
    logic.VUpdateRollPreview(pContext->pPreview, pContext->pRules);
    SetWindowLongPtrW(hDlg, DWLP_USER, reinterpret_cast<LONG_PTR>(pContext));
    BCreateAlertStrip(hDlg, pContext);
    m_state.bStarting = FALSE;
    return TRUE;
}

// The quick set in force names the row; without one (or under the placeholder or default name) the
// first row stands.
void CZQLargeFormatShortcutsTab::VTakeFirstRowForPlaceholder(PageContext* pContext) {
    const CZQQuickSets* quickSets = pContext->pQuickSets;
    ZQCopyText(m_state.szCurrentName, kTextChars, quickSets ? quickSets->PszCurrentName() : L"");
    WCHAR placeholder[kTextChars], defaults[kTextChars];
    VLoadText(kPlaceholderNameId, kPlaceholderName, placeholder);
    VLoadText(kDefaultNameId, kDefaultName, defaults);
    if (m_state.szCurrentName[0] && !ZQEqualNoCase(m_state.szCurrentName, placeholder) && !ZQEqualNoCase(m_state.szCurrentName, defaults))
        return;
    if (!Ctl(IDC_LB_DOCTYPE_SETTING)) return;
    SendMessageW(Ctl(IDC_LB_DOCTYPE_SETTING), LB_SETCURSEL, 0, 0);
    const LRESULT length = SendMessageW(Ctl(IDC_LB_DOCTYPE_SETTING), LB_GETTEXTLEN, 0, 0);
    if (length == LB_ERR || length >= static_cast<LRESULT>(kTextChars)) return;
    SendMessageW(Ctl(IDC_LB_DOCTYPE_SETTING), LB_GETTEXT, 0, reinterpret_cast<LPARAM>(m_state.szCurrentName));
}

void CZQLargeFormatShortcutsTab::VOnDestroy() {
    m_alerts.VDetach();
    // The page object outlives its window: its controls went with it.
    VBindControls(nullptr, nullptr);
}

// ---------------------------------------------------------------------------------------------
// Painting and the owner-drawn controls
// ---------------------------------------------------------------------------------------------
void CZQLargeFormatShortcutsTab::VOnPaint(HWND hDlg, PageContext* pContext) {
    VPaintLogo(hDlg, IDB_ZQLOGO, IDB_ZQLOGO_MASK, IDC_ZQLOGO_HOLDER);
    if (!pContext->pPreview) return;
    VFillPreviewSettings(pContext);
    pContext->pPreview->VSetSettings(&m_PreviewSettings);
    pContext->pPreview->VPaint();
}

INT_PTR CZQLargeFormatShortcutsTab::IOnDrawItem(const DRAWITEMSTRUCT* pDraw, PageContext* pContext) {
    if (!pDraw) return FALSE;
    CZQUILogic& logic = *pContext->pLogic;
    const ZQUIDevmode& work = *WorkOf(pContext);
    for (int i = 0; i < m_panel.Count(); ++i) {
        const ShortcutPanelEntry* entry = PEntry(i);
        if (!entry || IShortcutPictureHolderOf(*entry) != static_cast<int>(pDraw->CtlID)) continue;
        const int bitmap = CZQShortcutPanelRows::IEntryPictureId(*entry, m_state.szKwPaperSize, work.wOrientation);
        if (bitmap)
            VDrawItemTransparentBitmap(m_controls.Page(), zqmodule::Instance(), logic.SheetState()->bRtl, static_cast<WORD>(bitmap),
                                       static_cast<int>(pDraw->CtlID));
        break;
    }
    if (pDraw->CtlType == ODT_LISTBOX) VDrawShortcutItem(pDraw, pDraw->hwndItem, &logic);
    VRepaintPreviewButtons(FALSE);
    if (Ctl(IDC_PREVIEW_DIMENSIONS) && m_controls.Page()) {
        RECT area;
        CZQPreview::VGetRepaintRect(m_controls.Page(), IDC_PREVIEW_DIMENSIONS, IDC_PREVIEW_DIMENSIONS, &area);
        InvalidateRect(m_controls.Page(), &area, FALSE);
    }
    return TRUE;
}

INT_PTR CZQLargeFormatShortcutsTab::IOnMeasureItem(MEASUREITEMSTRUCT* pMeasure, PageContext* pContext) {
    if (!pMeasure || pMeasure->CtlType != ODT_LISTBOX) return FALSE;
    pMeasure->itemHeight = pContext->pLogic->BIsLargeFormat() ? kLargeFormatRowHeight : kRowHeight;
    return TRUE;
}

void CZQLargeFormatShortcutsTab::VRepaintPreviewButtons(BOOL bErase) const {
    if (!m_controls.Page() || !Ctl(IDC_BTN_PREVIEW_PORT) || !Ctl(IDC_BTN_PREVIEW_LAND)) return;
    RECT area;
    CZQPreview::VGetRepaintRect(m_controls.Page(), IDC_BTN_PREVIEW_PORT, IDC_BTN_PREVIEW_LAND, &area);
    InvalidateRect(m_controls.Page(), &area, bErase);
}

// ---------------------------------------------------------------------------------------------
// The sheet's notifications and help
// ---------------------------------------------------------------------------------------------
LRESULT CZQLargeFormatShortcutsTab::IOnNotify(HWND hDlg, const NMHDR* pHeader, PageContext* pContext) {
    switch (pHeader->code) {
        case PSN_SETACTIVE: VOnSetActive(pContext); return 0;
        case PSN_KILLACTIVE: VOnKillActive(pContext); return 0;
        case PSN_APPLY: return IOnApply(pContext);
        case PSN_RESET: SendMessageW(GetParent(hDlg), PSM_UNCHANGED, reinterpret_cast<WPARAM>(hDlg), 0); return 0;
        default: return 0;
    }
}

void CZQLargeFormatShortcutsTab::VOnSetActive(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *WorkOf(pContext);
    VNoteShown(pContext, kPageShortcuts);
    VRepaintPreviewButtons(FALSE);
    if (logic.BIsLargeFormat()) {
        VFillPreviewSettings(pContext);
        ShowEnabled(Ctl(IDC_PREVIEW_DIMENSIONS));
        VSetPreviewPaperText(&work, pContext->pCaps, Ctl(IDC_PREVIEW_DIMENSIONS), 0);
        if (work.dwPrintDocOn == 1) {
            ShowEnabled(Ctl(IDC_PREVIEW_DOCSIZE));
            VSetPreviewDocSizeText(&work, pContext->pCaps, Ctl(IDC_PREVIEW_DOCSIZE));
            if (Ctl(IDC_PREVIEW_DOCSIZE)) InvalidateRect(Ctl(IDC_PREVIEW_DOCSIZE), nullptr, TRUE);
        } else {
            Hide(Ctl(IDC_PREVIEW_DOCSIZE));
        }
        WCHAR preview[kTextChars];
        if (Ctl(IDC_CHK_SHOW_PREVIEW_FIN) && ReadOption(m_pCUIParam, zqkw::kZQPrintPreview, preview))
            SetCheck(Ctl(IDC_CHK_SHOW_PREVIEW_FIN), ZQEqualNoCase(preview, L"TRUE"));
    }
    CZQQuickSets* quickSets = pContext->pQuickSets;
    if (!m_state.szCurrentName[0] || !quickSets) return;
    quickSets->VSetSelected();
    m_state.bSettingsDiffer = quickSets->BEntryDiffers(work, m_state.szCurrentName);
    // Changes on the other pages show in the panel either way.
    const bool customised = m_state.bSettingsDiffer || m_state.bCustomChoiceAdded;
    VShowCurrentSettings(pContext);
    if (customised) {
        VShowCustomizedRow(pContext);
        VOnSettingsChanged(pContext);
        if (Ctl(IDC_BTN_SAVE)) EnableWindow(Ctl(IDC_BTN_SAVE), TRUE);
        if (Ctl(IDC_BTN_DELETE)) EnableWindow(Ctl(IDC_BTN_DELETE), FALSE);
    } else {
        VRemoveCustomizedRow();
        if (Ctl(IDC_BTN_SAVE)) EnableWindow(Ctl(IDC_BTN_SAVE), FALSE);
        m_list.VSelectRow(m_state.szCurrentName);
    }
}

void CZQLargeFormatShortcutsTab::VOnKillActive(PageContext* pContext) {
    ZQUIDevmode& work = *WorkOf(pContext);
    if (pContext->pLogic->BIsLargeFormat())
        for (int i = 0; i < m_panel.Count(); ++i)
            if (PEntry(i)) VApplyPanelEntry(pContext, i);
    if (ZQUIDevmode* core = CoreOf(m_pCUIParam)) core->iStartPage = kTitleId;
    VSaveState(pContext);
    if (work.dwPendingChange == 0 && pContext->pQuickSets) pContext->pQuickSets->VSnapshotCurrent(&work);
}

// OK or Apply: the shortcut shown becomes the quick set in force; only the page at the highest
// position visited synchronises before and exports after, so both run once per apply.
LRESULT CZQLargeFormatShortcutsTab::IOnApply(PageContext* pContext) {
    if (pContext->pQuickSets) pContext->pQuickSets->VSelectCurrentName(m_state.szCurrentName);
    return CommitPage(pContext, kPageShortcuts, [&] {
        // A restricted user's store is his own: only the printer's shortcuts are written again.
        if (!m_state.bRestrictedUser) m_store.VRewriteStoredShortcuts(pContext, m_controls.Page());
    });
}

// The topics of the page's controls and its panel's rows; the shortcut list keeps the focus.
void CZQLargeFormatShortcutsTab::VOnHelp(HWND hTarget, UINT uCommand, PageContext* pContext) {
    const bool bContextMenu = uCommand == HELP_CONTEXTMENU;
    DWORD table[2 * kHelpIdPairs] = {};
    VBuildHelpIds(pContext, table);
    ZQShowDialogHelp(hTarget, bContextMenu ? HELP_CONTEXTMENU : HELP_WM_HELP, m_pCUIParam, table);
    if (!bContextMenu && Ctl(IDC_LB_DOCTYPE_SETTING)) SetFocus(Ctl(IDC_LB_DOCTYPE_SETTING));
}
