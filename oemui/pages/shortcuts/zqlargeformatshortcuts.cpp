// The large-format Printing Shortcuts page: its object, its dialog procedure, the start of its
// window, painting, the owner-drawn rows and pictures, and the sheet's notifications.
#include "pages/shortcuts/zqlargeformatshortcuts.h"

#include "common/zqcapsreuse.h"
#include "device/zqalertwnd.h"
#include "common/zqhandles.h"
#include "common/zqmodule.h"
#include "common/zqstrings.h"
#include "featurelogic/zqpagegates.h"
#include "featurelogic/zqquicksets.h"
#include "pages/dialogs/zqmodaldlg.h"
#include "pages/paperquality/zqpaperqualitypage.h"
#include "pages/zqpageitems.h"
#include "pages/zqpagepreview.h"
#include "preview/zqpreview.h"
#include "res/zqshortcutsids.h"
#include "settings/zqconfigexport.h"

using namespace zqpage;

namespace {

CZQLargeFormatShortcutsTab* PageOf(const PageContext* pContext) {
    return pContext ? static_cast<CZQLargeFormatShortcutsTab*>(pContext->pPage) : nullptr;
}

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
constexpr KeywordSet kPostScriptKeywords = {L"InputSlot",     L"PageSize",         L"ZQOrientation",
                                            L"ZQOrientationPortrait", L"ZQOrientationLandscape",
                                            L"StapleLocation", L"DuplexNoTumble",   L"DuplexTumble",
                                            L"JCLZQPrintInGrayScale"};
constexpr KeywordSet kOtherKeywords = {L"InputBin", L"PaperSize", L"Orientation",      L"PORTRAIT",
                                       L"LANDSCAPE_CC90", L"Stapling", L"Vertical", L"Horizontal",
                                       L"ZQPrintInGrayScale"};

}  // namespace

// ---------------------------------------------------------------------------------------------
// The page object
// ---------------------------------------------------------------------------------------------
CZQLargeFormatShortcutsTab::CZQLargeFormatShortcutsTab() {
    VResetFeatureSlots();
    // Without its block the array answers every call with FALSE and draws rows without pictures.
    m_BitmapArray.BAllocate();
}

CZQLargeFormatShortcutsTab::~CZQLargeFormatShortcutsTab() {
    VDestroyRunTimeControls();
    for (HBITMAP& bitmap : m_ahBitmaps) {
        if (bitmap) DeleteObject(bitmap);
        bitmap = nullptr;
    }
    VFreePanelEntries();
    m_alerts.VDetach();
    m_BitmapArray.VFree();
}

// The controls the panel made; the page window may be gone already, with them.
void CZQLargeFormatShortcutsTab::VDestroyRunTimeControls() {
    if (m_hDlg && IsWindow(m_hDlg))
        for (int id = kFirstRunTimeId; id < m_nCtrlIdEnd; ++id)
            if (HWND control = GetDlgItem(m_hDlg, id)) DestroyWindow(control);
    m_nNextCtrlId = m_nCtrlIdEnd = kFirstRunTimeId;
}

void CZQLargeFormatShortcutsTab::VResetFeatureSlots() {
    for (int& slot : m_anFeatureSlot) slot = kNoSlotValue;
}

void CZQLargeFormatShortcutsTab::VSetDriverKeywords(PageContext* pContext) {
    const KeywordSet& set = PostScript(pContext) ? kPostScriptKeywords : kOtherKeywords;
    const struct {
        PWSTR field;
        PCWSTR keyword;
    } rows[] = {
        {m_szKwInputBin, set.inputBin},       {m_szKwPaperSize, set.paperSize},
        {m_szKwOrientation, set.orientation}, {m_szOptPortrait, set.portrait},
        {m_szOptLandscape, set.landscape},    {m_szKwStapling, set.stapling},
        {m_szOptDuplexLong, set.duplexLong},  {m_szOptDuplexShort, set.duplexShort},
        {m_szKwGrayScale, set.grayScale},
    };
    for (const auto& row : rows) ZQCopyText(row.field, kTextChars, row.keyword);
}

PCWSTR CZQLargeFormatShortcutsTab::KeywordForTesting(int i) const {
    const PCWSTR fields[] = {m_szKwInputBin,   m_szKwPaperSize,    m_szKwOrientation,
                             m_szOptPortrait,  m_szOptLandscape,   m_szKwStapling,
                             m_szOptDuplexLong, m_szOptDuplexShort, m_szKwGrayScale};
    return i >= 0 && i < static_cast<int>(sizeof fields / sizeof fields[0]) ? fields[i] : nullptr;
}

void CZQLargeFormatShortcutsTab::VBindControls(HWND hDlg, PageContext* pContext) {
    const auto item = [hDlg](int id) { return hDlg ? GetDlgItem(hDlg, id) : nullptr; };
    m_hDlg = hDlg;
    m_hwndHelp = item(IDC_BTN_HELP);
    m_hwndPreviewPortrait = item(IDC_BTN_PREVIEW_PORT);
    m_hwndPreviewLandscape = item(IDC_BTN_PREVIEW_LAND);
    m_hwndShortcutList = item(IDC_LB_DOCTYPE_SETTING);
    m_hwndScalingEdit = item(IDC_TXT_FC_SCALING);
    m_hwndCopiesEdit = item(IDC_TXT_FC_COPIES);
    m_hwndScalingLabel = item(IDC_STA_FS_SCALING);
    m_hwndCopiesLabel = item(IDC_STA_FS_COPIES);
    m_hwndScalingSpin = item(IDC_SPIN_SCALING);
    m_hwndCopiesSpin = item(IDC_SPIN_COPIES);
    m_hwndPreviewDimensions = item(IDC_PREVIEW_DIMENSIONS);
    m_hwndPreviewDocSize = item(IDC_PREVIEW_DOCSIZE);
    m_hwndShowPreview = item(IDC_CHK_SHOW_PREVIEW_FIN);
    m_hwndTitle1 = item(IDC_STA_TITLE1);
    m_hwndTitle2 = item(IDC_STA_TITLE2);
    m_hwndSaveAs = item(IDC_BTN_SAVE);
    m_hwndDelete = item(IDC_BTN_DELETE);
    m_hwndPqSpeed = item(IDC_STATIC_DOCUI_PQ_SPEED);
    m_hwndPqQuality = item(IDC_STATIC_DOCUI_PQ_QUALITY);
    // The base's windows: the help button and the sample page's two pictures.
    m_hHelpButton = m_hwndHelp;
    m_hPortraitPreview = m_hwndPreviewPortrait;
    m_hLandscapePreview = m_hwndPreviewLandscape;
    // This page opens the Paper/Quality page's image-enhancement dialog as well.
    PageContext* paperContext = nullptr;
    if (auto* paper = ZQSheetPage<CZQPaperQualityTab>(pContext, kPagePaperQuality, &paperContext))
        paper->ImageEnhanceDialog().VBind(m_pSheetParam, m_pCUIParam, m_hResModule);
}

void CZQLargeFormatShortcutsTab::VSetControlTexts() {
    const struct {
        HWND window;
        INT id;
        PCWSTR english;
    } rows[] = {
        {m_hDlg, -1, L"Printing shortcut:"},
        {m_hwndHelp, 797, L"&Help"},
        {m_hwndShowPreview, 5152, L"Show preview before printing"},
        {m_hwndPreviewPortrait, 3072, L"Portrait"},
        {m_hwndPreviewLandscape, 3073, L"Landscape"},
        {m_hwndTitle1, 5166, L"Select the printing shortcut for this print job."},
        {m_hwndTitle2, 6163, L"Printing shortcut:"},
        {m_hwndSaveAs, 3006, L"Sa&ve As..."},
        {m_hwndDelete, 854, L"De&lete"},
        {m_hDlg ? GetDlgItem(m_hDlg, IDC_DOCUI_CUSTOM1) : nullptr, 4282,
         L"One or more custom settings have been selected from the other tabs."},
        {m_hDlg ? GetDlgItem(m_hDlg, IDC_DOCUI_CUSTOM2) : nullptr, 4460,
         L"To view the current settings, click on the other tabs."},
        {m_hDlg ? GetDlgItem(m_hDlg, IDC_DOCUI_CUSTOM3) : nullptr, 5339,
         L"To reset the settings, select the type of printing you want to do from the Printing Shortcuts menu."},
        {m_hDlg ? GetDlgItem(m_hDlg, IDC_STA_MESSAGE) : nullptr, -1,
         L"One or more settings have been modified from the other tabs. A new shortcut can be saved with those "
         L"settings."},
    };
    for (const auto& row : rows)
        if (row.window) BSetWindowTextRes(row.id, row.window, row.english);
}

void CZQLargeFormatShortcutsTab::VBindStore() {
    m_store.VBind(m_pSheetParam, m_pCUIParam, m_hResModule);
    m_store.VBindPage({m_hwndShortcutList, m_hwndSaveAs, m_hwndDelete, m_bRestrictedUser, m_szCustomizedText,
                       m_szKwPaperSize, m_szKwOrientation, m_szKwInputBin, m_szKwGrayScale, m_anFeatureSlot,
                       m_pPublicDM});
}

void CZQLargeFormatShortcutsTab::VFreePanelEntries() {
    if (m_ppEntries) {
        for (int i = 0; i < m_nEntries; ++i) {
            ShortcutPanelEntry* entry = m_ppEntries[i];
            if (!entry) continue;
            for (int option = 0; option < entry->nOptions; ++option) {
                if (entry->ppszOptionKeywords) LocalFree(entry->ppszOptionKeywords[option]);
                if (entry->ppszOptionNames) LocalFree(entry->ppszOptionNames[option]);
                if (entry->ppiOptionBitmapIds) LocalFree(entry->ppiOptionBitmapIds[option]);
                if (entry->ppiNotAvailable) LocalFree(entry->ppiNotAvailable[option]);
            }
            LocalFree(entry->ppszOptionKeywords);
            LocalFree(entry->ppszOptionNames);
            LocalFree(entry->ppiOptionBitmapIds);
            LocalFree(entry->ppiNotAvailable);
            LocalFree(entry);
        }
        LocalFree(m_ppEntries);
    }
    m_ppEntries = nullptr;
    m_nEntries = 0;
    m_szDocTypeName[0] = 0;
    m_nDocTypeBitmapId = 0;
    m_nShortcutBitmapId = 0;
}

// ---------------------------------------------------------------------------------------------
// The dialog procedure
// ---------------------------------------------------------------------------------------------
INT_PTR CALLBACK LargeFormatShortcutsPageDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    // What a message asks the core driver again and again is asked once.
    CZQCapsReuseScope reuse(true);
    INT_PTR answer = FALSE;
    if (AnswerStartOrEnd(
            hDlg, uMsg, lParam, &answer, [](PageContext* c, HWND h) { return PageOf(c)->BInitDialog(h, c); },
            [](PageContext* c) { PageOf(c)->VOnDestroy(); }))
        return answer;
    PageContext* context = nullptr;
    // The cursor over the sample page needs no settings.
    if (uMsg == WM_SETCURSOR) return SetPreviewCursor(hDlg);
    switch (uMsg) {
        case WM_PAINT:
        case WM_DRAWITEM:
        case WM_MEASUREITEM:
        case WM_NOTIFY:
        case WM_COMMAND:
        case WM_HSCROLL:
        case WM_HELP:
        case WM_CONTEXTMENU: break;
        default:
            // The strip's link message goes to the strip below.
            if (uMsg != ZQAlertLinkMessage()) return FALSE;
            break;
    }
    // The list measures its rows while the dialog is being made, before the page keeps its context.
    if (uMsg == WM_MEASUREITEM && !GetWindowLongPtrW(hDlg, DWLP_USER)) return FALSE;
    if (!(context = WorkingContext(hDlg))) return FALSE;
    auto* page = PageOf(context);
    INT_PTR result = 0;
    if (page->m_alerts.BOnMessage(hDlg, uMsg, wParam, lParam, &result)) return result;
    switch (uMsg) {
        case WM_PAINT: page->VOnPaint(hDlg, context); return FALSE;
        case WM_DRAWITEM: return page->IOnDrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam), context);
        case WM_MEASUREITEM: return page->IOnMeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam), context);
        case WM_NOTIFY:
            return AnswerSheetNotice(hDlg, lParam, [&](const NMHDR* header) { return page->IOnNotify(hDlg, header, context); });
        case WM_HELP: {
            const auto* help = reinterpret_cast<const HELPINFO*>(lParam);
            page->VOnHelp(help ? static_cast<HWND>(help->hItemHandle) : nullptr, false, context);
            return TRUE;
        }
        case WM_CONTEXTMENU: page->VOnHelp(reinterpret_cast<HWND>(wParam), true, context); return TRUE;
        case WM_COMMAND: page->VOnCommand(wParam, context); return TRUE;
        case WM_HSCROLL: page->VOnQualitySlider(reinterpret_cast<HWND>(lParam), context); return FALSE;
        default: return FALSE;
    }
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
    m_bReadFromControls = TRUE;
    m_hPrinter = param->hPrinter;
    VBindControls(hDlg, pContext);
    VSetControlTexts();
    HANDLE printer = nullptr;
    BOOL reopened = FALSE;
    m_bRestrictedUser = CZQCommon::BIsPrinterDataReadOnly(m_hPrinter, printerName, m_pPublicDM, &printer, &reopened);
    CZQPrinterHandle reopenedPrinter(reopened ? printer : nullptr);
    VSetDriverKeywords(pContext);
    m_bHasPrintingHelp = CZQCommon::BHasPrintingHelp(param, kPageShortcuts);
    VLoadText(6164, L"Customized Settings", m_szCustomizedText);
    ZQSheetState& sheet = *logic.SheetState();
    if (!sheet.bTitleDone && logic.BAppendVersionToTitle(hDlg)) sheet.bTitleDone = TRUE;
    VBindStore();
    // The list measures each row as it is added: the window finds its page from here on.
    SetWindowLongPtrW(hDlg, DWLP_USER, reinterpret_cast<LONG_PTR>(pContext));
    VFillShortcutList(pContext, firstUse);
    VTakeFirstRowForPlaceholder(pContext);
    // A name that is no document type is a stored shortcut, which may be deleted.
    if (m_szCurrentName[0] && !BIsDocumentType(pContext, m_szCurrentName)) {
        m_bStoredShortcutShown = TRUE;
        ZQCopyText(m_szStoredShortcutName, kTextChars, m_szCurrentName);
        if (m_hwndDelete) EnableWindow(m_hwndDelete, TRUE);
    }
    VSelectRow(m_szCurrentName);
    if (logic.BIsLargeFormat()) BReadSelectedDocTypeAndMove(pContext, firstUse);
    VUpdatePreviewOption(pContext);
    VBuildShortcutPanel(static_cast<HMODULE>(zqmodule::Instance()), pContext, firstUse);
    if (work->dwPendingChange) ZQCopyText(work->szDocTypeName, kTextChars, m_szCustomizedText);
    VRefreshPanelControls(pContext);
    VSubclassPreviewDimensions(param, hDlg, param->hPrinter);
    VSubclassPreviewDocSize(param, hDlg, param->hPrinter);
    logic.VUpdateRollPreview(pContext->pPreview, pContext->pRules);
    SetWindowLongPtrW(hDlg, DWLP_USER, reinterpret_cast<LONG_PTR>(pContext));
    BCreateAlertStrip(hDlg, pContext);
    return TRUE;
}

// The quick set in force names the row; without one (or under the placeholder or default name) the
// first row stands.
void CZQLargeFormatShortcutsTab::VTakeFirstRowForPlaceholder(PageContext* pContext) {
    const CZQQuickSets* quickSets = pContext->pQuickSets;
    ZQCopyText(m_szCurrentName, kTextChars, quickSets ? quickSets->PszCurrentName() : L"");
    WCHAR placeholder[kTextChars], defaults[kTextChars];
    VLoadText(kPlaceholderNameId, kPlaceholderName, placeholder);
    VLoadText(kDefaultNameId, kDefaultName, defaults);
    if (m_szCurrentName[0] && !ZQEqualNoCase(m_szCurrentName, placeholder) && !ZQEqualNoCase(m_szCurrentName, defaults))
        return;
    if (!m_hwndShortcutList) return;
    SendMessageW(m_hwndShortcutList, LB_SETCURSEL, 0, 0);
    const LRESULT length = SendMessageW(m_hwndShortcutList, LB_GETTEXTLEN, 0, 0);
    if (length == LB_ERR || length >= static_cast<LRESULT>(kTextChars)) return;
    SendMessageW(m_hwndShortcutList, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(m_szCurrentName));
}

void CZQLargeFormatShortcutsTab::VSelectRow(PCWSTR pszText) {
    if (!m_hwndShortcutList || !pszText || !pszText[0]) return;
    const LRESULT row = SendMessageW(m_hwndShortcutList, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>(pszText));
    if (row != LB_ERR) SendMessageW(m_hwndShortcutList, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
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
    for (int i = 0; i < m_nEntries && m_ppEntries; ++i) {
        const ShortcutPanelEntry* entry = m_ppEntries[i];
        if (!entry || IShortcutPictureHolderOf(*entry) != static_cast<int>(pDraw->CtlID)) continue;
        const int bitmap = IEntryPictureId(*entry, m_szKwPaperSize, work.wOrientation);
        if (bitmap)
            VDrawItemTransparentBitmap(m_hDlg, zqmodule::Instance(), logic.SheetState()->bRtl, static_cast<WORD>(bitmap),
                                       static_cast<int>(pDraw->CtlID));
        break;
    }
    if (pDraw->CtlType == ODT_LISTBOX) VDrawShortcutItem(pDraw, pDraw->hwndItem, &logic);
    VRepaintPreviewButtons(FALSE);
    if (m_hwndPreviewDimensions && m_hDlg) {
        RECT area;
        CZQPreview::VGetRepaintRect(m_hDlg, IDC_PREVIEW_DIMENSIONS, IDC_PREVIEW_DIMENSIONS, &area);
        InvalidateRect(m_hDlg, &area, FALSE);
    }
    return TRUE;
}

int CZQLargeFormatShortcutsTab::IEntryPictureId(const ShortcutPanelEntry& entry, PCWSTR pszPaperKeyword,
                                                WORD wOrientation) {
    const int selected = entry.iSelected;
    if (selected < 0 || selected >= entry.nOptions || !entry.ppiOptionBitmapIds || !entry.ppiOptionBitmapIds[selected])
        return 0;
    const int bitmap = *entry.ppiOptionBitmapIds[selected];
    // The paper's picture turns with the document.
    if (!pszPaperKeyword || !ZQEqualNoCase(entry.szKeyword, pszPaperKeyword)) return bitmap;
    if (bitmap == IDB_PAPER_PORTRAIT && wOrientation == 2) return IDB_PAPER_LANDSCAPE;
    if (bitmap == IDB_PAPER_LANDSCAPE && wOrientation == 1) return IDB_PAPER_PORTRAIT;
    return bitmap;
}

INT_PTR CZQLargeFormatShortcutsTab::IOnMeasureItem(MEASUREITEMSTRUCT* pMeasure, PageContext* pContext) {
    if (!pMeasure || pMeasure->CtlType != ODT_LISTBOX) return FALSE;
    pMeasure->itemHeight = pContext->pLogic->BIsLargeFormat() ? kLargeFormatRowHeight : kRowHeight;
    return TRUE;
}

void CZQLargeFormatShortcutsTab::VRepaintPreviewButtons(BOOL bErase) const {
    if (!m_hDlg || !m_hwndPreviewPortrait || !m_hwndPreviewLandscape) return;
    RECT area;
    CZQPreview::VGetRepaintRect(m_hDlg, IDC_BTN_PREVIEW_PORT, IDC_BTN_PREVIEW_LAND, &area);
    InvalidateRect(m_hDlg, &area, bErase);
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
        ShowEnabled(m_hwndPreviewDimensions);
        VSetPreviewPaperText(&work, pContext->pCaps, m_hwndPreviewDimensions, 0);
        if (work.dwPrintDocOn == 1) {
            ShowEnabled(m_hwndPreviewDocSize);
            VSetPreviewDocSizeText(&work, pContext->pCaps, m_hwndPreviewDocSize);
            if (m_hwndPreviewDocSize) InvalidateRect(m_hwndPreviewDocSize, nullptr, TRUE);
        } else {
            Hide(m_hwndPreviewDocSize);
        }
        WCHAR preview[kTextChars];
        if (m_hwndShowPreview && ReadOption(m_pCUIParam, zqkw::kZQPrintPreview, preview))
            SetCheck(m_hwndShowPreview, ZQEqualNoCase(preview, L"TRUE"));
    }
    CZQQuickSets* quickSets = pContext->pQuickSets;
    if (!m_szCurrentName[0] || !quickSets) return;
    quickSets->VSetSelected();
    m_bSettingsDiffer = quickSets->BEntryDiffers(work, m_szCurrentName);
    // Changes on the other pages show in the panel; a value its lists lack marks the settings too.
    VShowCurrentSettings(pContext);
    if (m_bSettingsDiffer || m_bCustomChoiceAdded) {
        VShowCustomizedRow(pContext);
        VOnSettingsChanged(pContext);
        if (m_hwndSaveAs) EnableWindow(m_hwndSaveAs, TRUE);
        if (m_hwndDelete) EnableWindow(m_hwndDelete, FALSE);
    } else {
        VRemoveCustomizedRow();
        if (m_hwndSaveAs) EnableWindow(m_hwndSaveAs, FALSE);
        VSelectRow(m_szCurrentName);
    }
}

void CZQLargeFormatShortcutsTab::VOnKillActive(PageContext* pContext) {
    ZQUIDevmode& work = *WorkOf(pContext);
    if (pContext->pLogic->BIsLargeFormat())
        for (int i = 0; m_ppEntries && i < m_nEntries; ++i)
            if (m_ppEntries[i]) VApplyPanelEntry(pContext, i);
    if (ZQUIDevmode* core = CoreOf(m_pCUIParam)) core->iStartPage = kTitleId;
    VSaveState(pContext);
    if (work.dwPendingChange == 0 && pContext->pQuickSets) pContext->pQuickSets->VSnapshotCurrent(&work);
}

// OK or Apply: the shortcut shown becomes the quick set in force; only the page at the highest
// position visited synchronises before and exports after, so both run once per apply.
LRESULT CZQLargeFormatShortcutsTab::IOnApply(PageContext* pContext) {
    if (pContext->pQuickSets) pContext->pQuickSets->VSelectCurrentName(m_szCurrentName);
    return CommitPage(pContext, kPageShortcuts, [&] {
        // A restricted user's store is his own: only the printer's shortcuts are written again.
        if (!m_bRestrictedUser) m_store.VRewriteStoredShortcuts(pContext, m_hDlg);
    });
}

// The topics of the page's controls and its panel's rows; the shortcut list keeps the focus.
void CZQLargeFormatShortcutsTab::VOnHelp(HWND hTarget, bool bContextMenu, PageContext* pContext) {
    DWORD table[2 * kHelpIdPairs] = {};
    VBuildHelpIds(pContext, table);
    ZQShowDialogHelp(hTarget, bContextMenu ? HELP_CONTEXTMENU : HELP_WM_HELP, m_pCUIParam, table);
    if (!bContextMenu && m_hwndShortcutList) SetFocus(m_hwndShortcutList);
}
