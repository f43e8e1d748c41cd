// The desktop Printing Shortcuts page: its object, its messages, the document-type combo,
// the custom state, the change check, the help table and the sheet's notifications.
#include "pages/shortcuts/zqdesktopshortcuts.h"

#include "common/zqkeywords.h"
#include "common/zqstrings.h"
#include "featurelogic/zqpagegates.h"
#include "featurelogic/zqquicksets.h"
#include "featurelogic/zqsheetstate.h"
#include "pages/dialogs/zqimageenhancedlg.h"
#include "pages/parts/zqdoctypematch.h"
#include "pages/zqpageasks.h"
#include "pages/zqpageitems.h"
#include "preview/zqpreview.h"
#include "res/zqdesktopshortcutsids.h"
#include "settings/zqconfigexport.h"
#include "xmlrules/zqxmluirules.h"
#include "xmlrules/zqxmlutil.h"

using namespace zqpage;

namespace {

constexpr int kCustomTextId = 4265;
constexpr WCHAR kCustomText[] = L"Custom Print Settings";
constexpr int kCustomPicture = IDB_DOCTYPE_CUSTOM;

// The template's rows: picture holders 684.., control holders 694...
constexpr int kRows = CZQShortcutsTab::kMaxFeatures;

}  // namespace

// ---------------------------------------------------------------------------------------------
// The page object
// ---------------------------------------------------------------------------------------------
CZQShortcutsTab::CZQShortcutsTab() = default;

CZQShortcutsTab::~CZQShortcutsTab() {
    m_rows.VDestroyControls();
    VFreeFeatureTable();
}

void CZQShortcutsTab::VFreeFeatureTable() {
    for (int i = 0; i < m_rows.Count(); ++i) {
        DocFeatureRecord*& record = m_rows.Slot(i);
        if (!record) continue;
        record->szKeyword[0] = 0;
        CZQCommon::VFreeStringList(record->ppszOptionKeywords, record->nOptions);
        CZQCommon::VFreeStringList(record->ppszOptionNames, record->nOptions);
        for (int option = 0; option < record->nOptions; ++option) {
            if (record->ppiOptionPictures) LocalFree(record->ppiOptionPictures[option]);
            if (record->ppiOptionHidden) LocalFree(record->ppiOptionHidden[option]);
        }
        LocalFree(record->ppiOptionPictures);
        LocalFree(record->ppiOptionHidden);
        record->nOptions = record->iSelected = 0;
        record->iKind = Rows::kKindFreed;
        LocalFree(record);
        record = nullptr;
    }
    m_rows.VDropTable();
}

void CZQShortcutsTab::VGetControlHandles(HWND hDlg, PageContext* pContext) {
    VAttachControls(m_controls, hDlg);
    // This page opens the sheet's image-enhancement dialog as well.
    if (CZQImageEnhanceDlg* enhance = SheetImageEnhance(pContext, nullptr))
        enhance->VBind(m_pSheetParam, m_pCUIParam, m_hResModule);
}

void CZQShortcutsTab::VSetControlTexts() {
    static constexpr CZQPageControls::TextRow kTexts[] = {
        {0, kTitleId, L"Printing Shortcuts"},
        {IDC_BTN_HELP, 797, L"&Help"},
        {IDC_BTN_PREVIEW_PORT, 3072, L"Portrait"},
        {IDC_BTN_PREVIEW_LAND, 3073, L"Landscape"},
        {IDC_GB_DOCTYPE_SETTING, 4256, L"&What do you want to do?"},
        {IDC_BTN_DCUI_PRINTINGHELP, 4219, L"Pri&nting Help"},
        {IDC_DOCUI_CUSTOM1, 4282, L"One or more custom settings have been selected from the other tabs."},
        {IDC_DOCUI_CUSTOM2, 4460, L"To view the current settings, click on the other tabs."},
        {IDC_DOCUI_CUSTOM3, 4461,
         L"To reset the settings, re-select the type of printing you want to do from the \"What do you want to "
         L"do?\" menu, above."},
    };
    m_controls.VSetTexts(*this, kTexts, static_cast<int>(sizeof kTexts / sizeof kTexts[0]));
}

// ---------------------------------------------------------------------------------------------
// Document types
// ---------------------------------------------------------------------------------------------
void CZQShortcutsTab::VFillDocTypeCombo(PageContext* pContext, BOOL bFirstTime) {
    if (!RulesLoaded(pContext) || !Ctl(IDC_CBO_DOCTYPE_SETTING)) return;
    IXMLDOMNodeList* types = pContext->pRules->Parser().DocSettingList();
    if (!types) return;
    const ZQUIDevmode* work = WorkOf(pContext);
    SendMessageW(Ctl(IDC_CBO_DOCTYPE_SETTING), CB_RESETCONTENT, 0, 0);
    types->reset();
    int position = -1;
    for (int i = 0;; ++i) {
        CZQComPtr<IXMLDOMNode> node;
        if (types->nextNode(node.Put()) != S_OK || !node) break;
        WCHAR label[kTextChars] = {};
        pContext->pRules->BReadOptionName(node.Get(), label);
        SendMessageW(Ctl(IDC_CBO_DOCTYPE_SETTING), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label));
        if (!bFirstTime && position < 0 && work && ZQEqualNoCase(label, work->szDocTypeName)) position = i;
    }
    SendMessageW(Ctl(IDC_CBO_DOCTYPE_SETTING), CB_SETCURSEL, position < 0 ? 0 : static_cast<WPARAM>(position), 0);
}

BOOL CZQShortcutsTab::BFindSelectedDocType(PageContext* pContext, IXMLDOMNode** ppNode) {
    if (!ppNode) return FALSE;
    *ppNode = nullptr;
    WCHAR text[kTextChars] = {};
    if (!SelectedText(Ctl(IDC_CBO_DOCTYPE_SETTING), text)) return FALSE;
    VFreeFeatureTable();
    ZQCopyText(m_rows.DocTypeName(), kTextChars, text);
    if (!RulesLoaded(pContext)) return FALSE;
    IXMLDOMNodeList* types = pContext->pRules->Parser().DocSettingList();
    if (!types) return FALSE;
    types->reset();
    for (;;) {
        CZQComPtr<IXMLDOMNode> node;
        if (types->nextNode(node.Put()) != S_OK || !node) return FALSE;
        WCHAR label[kTextChars] = {};
        if (pContext->pRules->BReadOptionName(node.Get(), label) && ZQEqualNoCase(label, text)) {
            *ppNode = node.Detach();
            return TRUE;
        }
    }
}

BOOL CZQShortcutsTab::BReadDocFeatures(IXMLDOMNode* pNode, PageContext* pContext) {
    if (!pNode || !pContext || !pContext->pRules) return FALSE;
    LONG picture = 0;
    if (CZQXmlUiRules::BReadBitmapId(pNode, &picture)) m_rows.DocTypePicture() = static_cast<int>(picture);
    CZQComPtr<IXMLDOMNodeList> features;
    LONG count = 0;
    if (zqxml::HrSelectNodes(pNode, L"DocFeature", features.Put()) != S_OK || !features ||
        FAILED(features->get_length(&count)) || count <= 0 || count > kMaxFeatures)
        return FALSE;
    if (!m_rows.BNewTable(static_cast<int>(count))) return FALSE;
    BOOL read = FALSE;
    for (LONG i = 0; i < count; ++i) {
        CZQComPtr<IXMLDOMNode> feature;
        if (features->get_item(i, feature.Put()) != S_OK || !feature) continue;
        auto* record = static_cast<DocFeatureRecord*>(LocalAlloc(LPTR, sizeof(DocFeatureRecord)));
        m_rows.Slot(i) = record;
        if (!record) continue;
        read = TRUE;
        WCHAR chosen[kTextChars] = {};
        LONG label = 0, help = 0, selected = 0, options = 0;
        PWSTR* keywords = nullptr;
        LONG **pictures = nullptr, **labelIds = nullptr;
        pContext->pRules->BReadDocOptions(feature.Get(), record->szKeyword, &label, &help, record->szHidden, chosen,
                                          &selected, &keywords, &pictures, &options, &labelIds);
        record->iLabelStringId = static_cast<int>(label);
        record->iHelpId = static_cast<int>(help);
        record->nOptions = static_cast<int>(options);
        record->ppszOptionKeywords = keywords;
        record->ppiOptionPictures = reinterpret_cast<int**>(pictures);
        // The reader matches the type's choice ("Option" or "Feature.Option") with the last option of
        // that keyword.
        record->iSelected = selected >= 0 && selected < options ? static_cast<int>(selected) : 0;
        record->iKind = IGetControlKind(record->szKeyword);
        if (!BBuildOptionNamesFromDriver(pContext, record, labelIds)) BBuildOptionNamesFromResources(record, labelIds);
        zqxml::VFreeLocalArray(labelIds, static_cast<size_t>(options));
    }
    return read;
}

void CZQShortcutsTab::VRestoreSavedSelections(PageContext* pContext) {
    const ZQUIDevmode* work = WorkOf(pContext);
    if (!work || !ZQEqualNoCase(m_rows.DocTypeName(), work->szDocTypeName)) return;
    for (int i = 0; i < m_rows.Count(); ++i) {
        DocFeatureRecord* record = m_rows.PRecord(i);
        const int stored = static_cast<int>(work->adwSelectionSlots[i]);
        // A stored choice the type no longer offers keeps the type's own.
        if (record && stored >= 0 && stored < record->nOptions) record->iSelected = stored;
    }
}

void CZQShortcutsTab::VShowStaticControls(PageContext* pContext) {
    const auto item = [this](int id) { return m_controls.Page() ? GetDlgItem(m_controls.Page(), id) : nullptr; };
    const auto show = [](HWND window, BOOL on) {
        if (on) ShowEnabled(window);
        else Hide(window);
    };
    show(item(IDC_BTN_DCUI_PRINTINGHELP), m_state.bHasPrintingHelp);
    for (HWND window : {Ctl(IDC_TXT_FC_SCALING), Ctl(IDC_STA_FS_SCALING), Ctl(IDC_SPIN_SCALING), item(IDC_DC_SCALING_HOLDER)})
        show(window, m_state.bScalingShown);
    for (HWND window : {Ctl(IDC_TXT_FC_COPIES), Ctl(IDC_STA_FS_COPIES), Ctl(IDC_SPIN_COPIES), item(IDC_DC_COPY_HOLDER)})
        show(window, m_state.bCopiesShown);
    const ZQUIDevmode* work = WorkOf(pContext);
    const BOOL custom = work && work->dwPendingChange;
    for (int id : {IDC_DOCUI_CUSTOM1, IDC_DOCUI_CUSTOM2, IDC_DOCUI_CUSTOM3})
        if (HWND note = item(id)) ShowWindow(note, custom ? SW_SHOW : SW_HIDE);
    show(Ctl(IDC_PREVIEW_DIMENSIONS), pContext && pContext->pLogic && pContext->pLogic->BIsLargeFormat());
}

void CZQShortcutsTab::VShowCustomSettings(PageContext* pContext) {
    const ZQUIDevmode* work = WorkOf(pContext);
    if (!work || !work->dwPendingChange) return;
    for (int row = 0; row < kRows && m_controls.Page(); ++row) {
        Hide(GetDlgItem(m_controls.Page(), IDC_DC_BMP_HOLDER1 + row));
        Hide(GetDlgItem(m_controls.Page(), IDC_DC_CTL_HOLDER1 + row));
    }
    m_state.bScalingShown = m_state.bCopiesShown = FALSE;
    VShowStaticControls(pContext);
    if (Ctl(IDC_CBO_DOCTYPE_SETTING)) SetWindowTextW(Ctl(IDC_CBO_DOCTYPE_SETTING), m_state.szCustomText);
    m_rows.VDestroyControls();
    VFreeFeatureTable();
    ZQCopyText(m_rows.DocTypeName(), kTextChars, m_state.szCustomText);
    m_rows.DocTypePicture() = kCustomPicture;
}

void CZQShortcutsTab::VUpdateChangedState(PageContext* pContext) {
    const ZQUIDevmode* core = CoreOf(m_pCUIParam);
    const ZQUIDevmode* work = WorkOf(pContext);
    if (!core || !work) return;
    bool changed = !ZQEqualNoCase(m_rows.DocTypeName(), core->szDocTypeName);
    CZQImageEnhanceDlg* enhance = SheetImageEnhance(pContext, nullptr);
    for (int i = 0; !changed && i < m_rows.Count(); ++i) {
        const DocFeatureRecord* record = m_rows.PRecord(i);
        if (!record) continue;
        if (record->iSelected != static_cast<int>(core->adwSelectionSlots[i])) {
            changed = true;
            break;
        }
        if (ZQEqualNoCase(record->szKeyword, L"Scaling") && m_controls.Page() &&
            static_cast<int>(GetDlgItemInt(m_controls.Page(), IDC_TXT_FC_SCALING, nullptr, TRUE)) != static_cast<int>(core->dwDocTypeScaling))
            changed = true;
        if (ZQEqualNoCase(record->szKeyword, zqkw::kCopiesItem) && m_controls.Page() &&
            static_cast<int>(GetDlgItemInt(m_controls.Page(), IDC_TXT_FC_COPIES, nullptr, TRUE)) != static_cast<int>(core->dwDocTypeCopies))
            changed = true;
        if (ZQEqualNoCase(record->szKeyword, L"DigitalPhotography") && enhance && enhance->BChanged()) {
            changed = true;
            enhance->VClearChanged();
        }
    }
    if (core->wOrientation != work->wOrientation) changed = true;
    HWND sheet = m_controls.Page() ? GetParent(m_controls.Page()) : nullptr;
    if (changed) {
        if (sheet) SendMessageW(sheet, PSM_CHANGED, reinterpret_cast<WPARAM>(m_controls.Page()), 0);
        if (pContext->pQuickSets) pContext->pQuickSets->VDeselectToPlaceholder();
    } else if (sheet) {
        SendMessageW(sheet, PSM_UNCHANGED, reinterpret_cast<WPARAM>(m_controls.Page()), 0);
    }
}

DWORD CZQShortcutsTab::DWStoreSelections(PageContext* pContext) {
    ZQUIDevmode* work = WorkOf(pContext);
    if (!work) return ERROR_INVALID_DATA;
    ZQCopyText(work->szDocTypeName, kTextChars, m_rows.DocTypeName());
    for (int i = 0; i < kMaxFeatures; ++i) {
        const DocFeatureRecord* record = i < m_rows.Count() ? m_rows.PRecord(i) : nullptr;
        work->adwSelectionSlots[i] = record ? static_cast<uint32_t>(record->iSelected) : 0;
        if (!record) continue;
        const bool scaling = ZQEqualNoCase(record->szKeyword, L"Scaling");
        if (!scaling && !ZQEqualNoCase(record->szKeyword, zqkw::kCopiesItem)) continue;
        int value = 0;
        if (m_state.bControlsLive && m_controls.Page())
            value = static_cast<int>(GetDlgItemInt(m_controls.Page(), scaling ? IDC_TXT_FC_SCALING : IDC_TXT_FC_COPIES, nullptr, TRUE));
        else if (record->nOptions > 0 && record->ppszOptionKeywords && record->ppszOptionKeywords[0])
            value = static_cast<int>(wcstol(record->ppszOptionKeywords[0], nullptr, 10));
        (scaling ? work->dwDocTypeScaling : work->dwDocTypeCopies) = static_cast<uint32_t>(value);
    }
    const BOOL borderless = pContext->pLogic->BIsBorderlessPaper();
    CZQCommon::DWSelectOptionByIndex(m_pCUIParam, zqkw::kZQBorderLessPhoto, borderless ? 1 : 0, OEMCUIP_DOCPROP);
    return ERROR_SUCCESS;
}

BOOL CZQShortcutsTab::BSettingsDifferFromDocType(PageContext* pContext) {
    for (int i = 0; i < m_rows.Count(); ++i) {
        const DocFeatureRecord* record = m_rows.PRecord(i);
        if (!record) continue;
        const zqdoctype::Row row = {record->szKeyword, SelectedKeyword(*record)};
        if (zqdoctype::Differs(pContext, m_pCUIParam, row, L"Orientation")) return TRUE;
    }
    return FALSE;
}

void CZQShortcutsTab::VDetectCurrentShortcut(PageContext* pContext) {
    m_state.bControlsLive = FALSE;
    if (m_pCUIParam) m_pPublicDM = m_pCUIParam->pPublicDM;
    ZQUIDevmode* core = CoreOf(m_pCUIParam);
    if (RulesLoaded(pContext) && core) {
        IXMLDOMNodeList* types = pContext->pRules->Parser().DocSettingList();
        CZQComPtr<IXMLDOMNode> node;
        if (types && types->nextNode(node.Put()) == S_OK && node) {
            WCHAR label[kTextChars] = {};
            pContext->pRules->BReadOptionName(node.Get(), label);
            ZQCopyText(m_rows.DocTypeName(), kTextChars, label);
            BReadDocFeatures(node.Get(), pContext);
            if (BSettingsDifferFromDocType(pContext)) {
                core->dwPendingChange = 1;
                VLoadText(kCustomTextId, kCustomText, core->szDocTypeName);
            } else {
                ZQCopyText(core->szDocTypeName, kTextChars, label);
                for (int i = 0; i < m_rows.Count(); ++i)
                    if (m_rows.PRecord(i)) core->adwSelectionSlots[i] = static_cast<uint32_t>(m_rows.PRecord(i)->iSelected);
                core->dwDocTypeScaling = 100;
                core->dwDocTypeCopies = 1;
            }
        }
    }
    VFreeFeatureTable();
    m_state.bControlsLive = TRUE;
}

int CZQShortcutsTab::VBuildHelpIdTable(PageContext* pContext) {
    const ZQUIDevmode* work = WorkOf(pContext);
    int n = 0;
    const auto add = [this, &n](int control, int help) {
        // Room is always kept for the end pair.
        if (n >= kHelpPairs - 1) return;
        m_adwHelp[2 * n] = static_cast<DWORD>(control);
        m_adwHelp[2 * n + 1] = static_cast<DWORD>(help);
        ++n;
    };
    ZeroMemory(m_adwHelp, sizeof m_adwHelp);
    add(IDC_GB_DOCTYPE_SETTING, -1);
    add(IDC_DOCTYPE_HOLDER, -1);
    add(IDC_CBO_DOCTYPE_SETTING, 15491);
    add(IDC_BTN_DCUI_PRINTINGHELP, 15499);
    add(IDC_BTN_HELP, 15054);
    add(work ? ShownPreviewId(*work) : IDC_BTN_PREVIEW_PORT, 14060);
    add(IDC_DOCUI_CUSTOM1, -1);
    add(IDC_DOCUI_CUSTOM2, -1);
    add(IDC_DOCUI_CUSTOM3, -1);
    add(IDC_PREVIEW_DIMENSIONS, -1);
    for (int i = 0; i < m_rows.Count(); ++i) {
        const DocFeatureRecord* record = m_rows.PRecord(i);
        if (!record || !record->iCtrlId) continue;
        add(record->iCtrlId, record->iHelpId);
        add(record->iPictureHolderId, -1);
        if (record->iLabelId) add(record->iLabelId, record->iHelpId);
        if (record->iCtrlId == IDC_TXT_FC_SCALING) add(IDC_SPIN_SCALING, record->iHelpId);
        if (record->iCtrlId == IDC_TXT_FC_COPIES) add(IDC_SPIN_COPIES, record->iHelpId);
    }
    add(IDC_ZQLOGO_HOLDER, -1);
    return n;
}

// ---------------------------------------------------------------------------------------------
// Its own messages
// ---------------------------------------------------------------------------------------------
void CZQShortcutsTab::VOnDestroy() {
    // The window takes its controls with it.
    m_rows.VForgetControls();
    m_controls.VForget();
}

INT_PTR CZQShortcutsTab::IOnMessage(HWND hDlg, UINT uMsg, WPARAM, LPARAM lParam, PageContext* pContext) {
    switch (uMsg) {
        case WM_PAINT: VOnPaint(hDlg, pContext); return FALSE;
        case WM_DRAWITEM: return IOnDrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam), pContext);
        default: return FALSE;
    }
}

INT_PTR CZQShortcutsTab::IOnCommand(HWND hDlg, int iCtrlId, int iCode, HWND hCtrl, PageContext* pContext) {
    VOnCommand(hDlg, MAKEWPARAM(iCtrlId, iCode), reinterpret_cast<LPARAM>(hCtrl), pContext);
    return TRUE;
}

BOOL CZQShortcutsTab::BInitDialog(HWND hDlg, PageContext* pContext) {
    const POEMCUIPPARAM param = m_pCUIParam;
    const ZQUIDevmode* core = CoreOf(param);
    ZQUIDevmode* work = WorkOf(pContext);
    if (!param || !core || !work || !BAllocPageBlock()) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    CZQUILogic& logic = *pContext->pLogic;
    m_pPublicDM = param->pPublicDM;
    m_state.bControlsLive = TRUE;
    VGetControlHandles(hDlg, pContext);
    VSetControlTexts();
    m_state.bHasPrintingHelp = CZQCommon::BHasPrintingHelp(param, kPageId);
    VLoadText(kCustomTextId, kCustomText, m_state.szCustomText);
    ZQSheetState& sheet = *logic.SheetState();
    if (!sheet.bTitleDone && logic.BAppendVersionToTitle(hDlg)) sheet.bTitleDone = TRUE;
    const BOOL firstTime = core->szDocTypeName[0] == L'\0' && work->dwPendingChange == 0;
    VFillDocTypeCombo(pContext, firstTime);
    if (work->dwPendingChange == 0) {
        // Settings that never went through a sheet take the first type.
        VBuildFeatureControls(static_cast<HINSTANCE>(param->hModule), pContext, firstTime);
    } else {
        ZQCopyText(work->szDocTypeName, kTextChars, m_state.szCustomText);
        VShowCustomSettings(pContext);
    }
    if (work->dwPendingChange) {
        ZQCopyText(work->szDocTypeName, kTextChars, m_state.szCustomText);
        VShowCustomSettings(pContext);
    }
    VShowStaticControls(pContext);
    VSubclassPreviewDimensions(param, hDlg, param->hPrinter);
    logic.VUpdateRollPreview(pContext->pPreview, pContext->pRules);
    SetWindowLongPtrW(hDlg, DWLP_USER, reinterpret_cast<LONG_PTR>(pContext));
    return TRUE;
}

void CZQShortcutsTab::VOnPaint(HWND hDlg, PageContext* pContext) {
    VPaintLogo(hDlg, IDB_ZQLOGO, IDB_ZQLOGO_MASK, IDC_ZQLOGO_HOLDER);
    VFillPreviewSettings(pContext);
    if (!pContext->pPreview) return;
    pContext->pPreview->VSetSettings(&m_PreviewSettings);
    pContext->pPreview->VPaint();
}

INT_PTR CZQShortcutsTab::IOnDrawItem(const DRAWITEMSTRUCT* pDraw, PageContext* pContext) {
    if (!pDraw) return FALSE;
    const ZQUIDevmode& work = *WorkOf(pContext);
    const BOOL rtl = pContext->pLogic->SheetState()->bRtl;
    const HINSTANCE module = m_pCUIParam ? static_cast<HINSTANCE>(m_pCUIParam->hModule) : nullptr;
    const int id = static_cast<int>(pDraw->CtlID);
    if (id == IDC_DOCTYPE_HOLDER) {
        const int picture = m_rows.DocTypePicture() == 0 || work.dwPendingChange ? kCustomPicture : m_rows.DocTypePicture();
        VDrawItemTransparentBitmap(m_controls.Page(), module, rtl, static_cast<WORD>(picture), id);
    }
    for (int i = 0; i < m_rows.Count(); ++i) {
        const DocFeatureRecord* record = m_rows.PRecord(i);
        if (!record || record->iPictureHolderId != id) continue;
        const int selected = record->iSelected;
        if (selected < 0 || selected >= record->nOptions || !record->ppiOptionPictures ||
            !record->ppiOptionPictures[selected])
            break;
        int picture = *record->ppiOptionPictures[selected];
        // The paper's picture turns with the document.
        if (ZQEqualNoCase(record->szKeyword, zqkw::kPaperSize)) {
            if (picture == IDB_PAPER_PORTRAIT && work.wOrientation == 2) picture = IDB_PAPER_LANDSCAPE;
            else if (picture == IDB_PAPER_LANDSCAPE && work.wOrientation == 1) picture = IDB_PAPER_PORTRAIT;
        }
        if (picture) VDrawItemTransparentBitmap(m_controls.Page(), module, rtl, static_cast<WORD>(picture), id);
        break;
    }
    VRepaintPreview(TRUE);
    if (Ctl(IDC_PREVIEW_DIMENSIONS)) InvalidateRect(Ctl(IDC_PREVIEW_DIMENSIONS), nullptr, FALSE);
    return TRUE;
}

void CZQShortcutsTab::VRepaintPreview(BOOL bErase) const {
    if (!m_controls.Page() || !Ctl(IDC_BTN_PREVIEW_PORT) || !Ctl(IDC_BTN_PREVIEW_LAND)) return;
    RECT area;
    CZQPreview::VGetRepaintRect(m_controls.Page(), IDC_BTN_PREVIEW_PORT, IDC_BTN_PREVIEW_LAND, &area);
    InvalidateRect(m_controls.Page(), &area, bErase);
}

void CZQShortcutsTab::VOnHelp(HWND hTarget, UINT uCommand, PageContext* pContext) {
    VBuildHelpIdTable(pContext);
    const ZQUIDevmode* core = CoreOf(m_pCUIParam);
    if (hTarget && core) WinHelpW(hTarget, core->szHelpFile, uCommand, reinterpret_cast<ULONG_PTR>(m_adwHelp));
    if (uCommand == HELP_WM_HELP && Ctl(IDC_CBO_DOCTYPE_SETTING)) SetFocus(Ctl(IDC_CBO_DOCTYPE_SETTING));
}

// ---------------------------------------------------------------------------------------------
// The sheet's notifications
// ---------------------------------------------------------------------------------------------
LRESULT CZQShortcutsTab::IOnNotify(HWND, const NMHDR* pHeader, PageContext* pContext) {
    ZQUIDevmode& work = *WorkOf(pContext);
    switch (pHeader->code) {
        case PSN_SETACTIVE:
            VNoteShown(pContext, kPageShortcuts);
            if (pContext->pLogic->BIsLargeFormat()) {
                VFillPreviewSettings(pContext);
                VSetPreviewPaperText(&work, pContext->pCaps, Ctl(IDC_PREVIEW_DIMENSIONS), 0);
            }
            VRepaintPreview(FALSE);
            if (work.dwPendingChange) {
                ZQCopyText(work.szDocTypeName, kTextChars, m_state.szCustomText);
                VShowCustomSettings(pContext);
            }
            return 0;
        case PSN_KILLACTIVE:
            if (ZQUIDevmode* core = CoreOf(m_pCUIParam)) core->iStartPage = kTitleId;
            DWStoreSelections(pContext);
            if (work.dwPendingChange == 0 && pContext->pQuickSets) pContext->pQuickSets->VSnapshotCurrent(&work);
            return 0;
        case PSN_APPLY: return IOnApply(pContext);
        case PSN_RESET:
            if (m_controls.Page()) SendMessageW(GetParent(m_controls.Page()), PSM_UNCHANGED, reinterpret_cast<WPARAM>(m_controls.Page()), 0);
            return 0;
        default: return 0;
    }
}

// OK or Apply: only the page at the highest position visited synchronises before and exports after.
LRESULT CZQShortcutsTab::IOnApply(PageContext* pContext) { return CommitPage(pContext, kPageShortcuts); }

// ---------------------------------------------------------------------------------------------
// Commands
// ---------------------------------------------------------------------------------------------
void CZQShortcutsTab::VOnCommand(HWND hDlg, WPARAM wParam, LPARAM lParam, PageContext* pContext) {
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    ZQUIDevmode& work = *WorkOf(pContext);
    switch (id) {
        case IDC_BTN_PREVIEW_PORT:
        case IDC_BTN_PREVIEW_LAND:
            if (code == BN_CLICKED) VOnPreviewClicked(pContext);
            return;
        case IDC_BTN_HELP:
            if (code != BN_CLICKED) return;
            ShowHelpButtonTopic(Ctl(IDC_BTN_HELP), m_pCUIParam);
            if (Ctl(IDC_CBO_DOCTYPE_SETTING)) SetFocus(Ctl(IDC_CBO_DOCTYPE_SETTING));
            return;
        case IDC_BTN_DCUI_PRINTINGHELP:
            if (code == BN_CLICKED) CZQCommon::VLaunchPrintingHelp(m_pCUIParam, kPageId);
            return;
        case IDC_PREVIEW_DIMENSIONS:
            if (code != BN_CLICKED) return;
            work.dwUnitMm = work.dwUnitMm ? 0 : 1;
            VSetPreviewPaperText(&work, pContext->pCaps, Ctl(IDC_PREVIEW_DIMENSIONS), 0);
            return;
        case IDC_CBO_DOCTYPE_SETTING:
            if (code == CBN_SELCHANGE) VOnDocTypeChosen(hDlg, pContext);
            else if (code == CBN_DROPDOWN) VFitComboDropWidth(Ctl(IDC_CBO_DOCTYPE_SETTING));
            else if (code == CBN_EDITCHANGE && Ctl(IDC_CBO_DOCTYPE_SETTING)) {
                // The combo only offers the types: typing is undone.
                SetWindowTextW(Ctl(IDC_CBO_DOCTYPE_SETTING), work.szDocTypeName);
                SetFocus(Ctl(IDC_CBO_DOCTYPE_SETTING));
            }
            return;
        case IDC_TXT_FC_SCALING:
        case IDC_TXT_FC_COPIES: {
            if (code != EN_CHANGE && code != EN_KILLFOCUS) return;
            int index = -1;
            if (!BFindFeatureRecord(id == IDC_TXT_FC_SCALING ? L"Scaling" : zqkw::kCopiesItem, &index)) return;
            const BOOL editing = code == EN_CHANGE;
            if (id == IDC_TXT_FC_SCALING) BApplyScaling(pContext, *m_rows.PRecord(index), editing);
            else BApplyCopiesCollate(pContext, *m_rows.PRecord(index), editing);
            if (!editing) return;
            VUpdateChangedState(pContext);
            if (id == IDC_TXT_FC_SCALING) VRepaintPreview(FALSE);
            return;
        }
        default: break;
    }
    if (id >= kFirstRunTimeId && id < m_rows.NextId()) VOnRunTimeControl(hDlg, id, code, pContext);
    (void)lParam;
}

void CZQShortcutsTab::VOnDocTypeChosen(HWND hDlg, PageContext* pContext) {
    ZQUIDevmode& work = *WorkOf(pContext);
    if (HWND holder = GetDlgItem(hDlg, IDC_DOCTYPE_HOLDER)) InvalidateRect(holder, nullptr, TRUE);
    work.dwPendingChange = 0;
    VResetToFactoryBase(hDlg, pContext);
    VBuildFeatureControls(m_pCUIParam ? static_cast<HINSTANCE>(m_pCUIParam->hModule) : nullptr, pContext, TRUE);
    // The type's medium and quality are held to the rules now, as the large-format page does: left
    // for the next opening's check, they would change there with no page touched.
    if (IZQConstraintGate* constraints = pContext->pConstraints) constraints->BCheckMediaAndQuality(hDlg);
    // The other pages' change checks the handlers ran compared with the settings before the type:
    // the settings are now the type's own.
    work.dwPendingChange = 0;
    ZQCopyText(work.szDocTypeName, kTextChars, m_rows.DocTypeName());
    VShowStaticControls(pContext);
    VUpdateChangedState(pContext);
    VRepaintPreview(TRUE);
}

void CZQShortcutsTab::VOnPreviewClicked(PageContext* pContext) {
    ZQUIDevmode& work = *WorkOf(pContext);
    const bool landscape = work.wOrientation != 2;
    SetOrientation(pContext, m_pCUIParam, landscape);
    VUpdateChangedState(pContext);
    if (pContext->pLogic->BIsLargeFormat()) VSetPreviewPaperText(&work, pContext->pCaps, Ctl(IDC_PREVIEW_DIMENSIONS), 0);
    if (Ctl(IDC_PREVIEW_DIMENSIONS)) InvalidateRect(Ctl(IDC_PREVIEW_DIMENSIONS), nullptr, FALSE);
    VRepaintPreview(TRUE);
    HWND focus = landscape ? Ctl(IDC_BTN_PREVIEW_LAND) : Ctl(IDC_BTN_PREVIEW_PORT);
    if (focus) SetFocus(focus);
    VRepaintPaperSizePicture(pContext);
    VSyncOrientationRecord(pContext);
}

void CZQShortcutsTab::VOnRunTimeControl(HWND hDlg, int iCtrlId, int iCode, PageContext* pContext) {
    const int index = m_rows.IRecordOfControl(iCtrlId);
    if (index < 0) return;
    DocFeatureRecord& record = *m_rows.PRecord(index);
    if (iCode == CBN_DROPDOWN) {
        VFitComboDropWidth(GetDlgItem(hDlg, iCtrlId));
        return;
    }
    if (iCode == BN_CLICKED && record.iKind == Rows::kKindButton) {
        if (ZQEqualNoCase(record.szKeyword, L"DigitalPhotography")) {
            PageContext* paperContext = nullptr;
            if (CZQImageEnhanceDlg* enhance = SheetImageEnhance(pContext, &paperContext))
                enhance->IDoModal(hDlg, paperContext ? paperContext : pContext, pContext->pLogic->SheetState()->bRtl);
        } else {
            VApplyFeature(pContext, index);
        }
    } else if ((iCode == BN_CLICKED && record.iKind == Rows::kKindCheck) || (iCode == CBN_SELCHANGE && record.iKind == Rows::kKindList)) {
        VApplyFeature(pContext, index);
    } else {
        return;
    }
    VRepaintPreview(TRUE);
    VUpdateChangedState(pContext);
}
