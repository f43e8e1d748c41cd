// A document type of the helper file read into the panel's entries; whether the settings the sheet
// opens with still match the first type; the "Customized Settings" row under the type the settings
// came from; the shortcut-store look-ups behind the Delete button; the panel's selections kept in the
// working copy so that a rebuilt page shows them again.
#include "pages/shortcuts/zqlargeformatshortcuts.h"

#include "common/zqkeywords.h"
#include "common/zqstorenames.h"
#include "common/zqstrings.h"
#include "featurelogic/zquilogic.h"
#include "pages/parts/zqdoctypematch.h"
#include "pages/zqpageitems.h"
#include "res/zqshortcutsids.h"
#include "settings/zqdriverdata.h"
#include "xmlrules/zqxmluirules.h"
#include "xmlrules/zqxmlutil.h"

using namespace zqpage;

namespace {

constexpr WCHAR kCustomSettingsName[] = L"Custom Print Settings";
constexpr int kMaxDocFeatures = 10;

// A number child ("bitmap_id", "custbitmap_id") into the field; a missing or empty one leaves it.
void ReadIdChild(IXMLDOMNode* pNode, PCWSTR pszChild, int* piField) {
    double value = 0.0;
    if (zqxml::HrChildNumber(pNode, pszChild, &value) == S_OK) *piField = static_cast<int>(zqxml::LTruncate(value));
}

// The document-type node whose name is the text, walked by position from the start; the caller
// owns it.
BOOL FindDocType(PageContext* pContext, PCWSTR pszName, IXMLDOMNode** ppNode) {
    *ppNode = nullptr;
    if (!RulesLoaded(pContext) || !pszName) return FALSE;
    IXMLDOMNodeList* list = pContext->pRules->Parser().DocSettingList();
    LONG count = 0;
    if (!list || FAILED(list->get_length(&count))) return FALSE;
    for (LONG i = 0; i < count; ++i) {
        CZQComPtr<IXMLDOMNode> node;
        if (list->get_item(i, node.Put()) != S_OK || !node) continue;
        WCHAR label[CZQLargeFormatShortcutsTab::kTextChars] = {};
        if (pContext->pRules->BReadOptionName(node.Get(), label) && ZQEqualNoCase(label, pszName)) {
            *ppNode = node.Detach();
            return TRUE;
        }
    }
    return FALSE;
}

int LeadingNumber(PCWSTR pszText) { return pszText ? static_cast<int>(wcstol(pszText, nullptr, 10)) : 0; }

}  // namespace

// ---------------------------------------------------------------------------------------------
// Reading a document type
// ---------------------------------------------------------------------------------------------
BOOL CZQLargeFormatShortcutsTab::BReadShortcutDocument(IXMLDOMNode* pNode, PageContext* pContext, int /*iFlag*/) {
    if (!pNode || !pContext || !pContext->pRules) return FALSE;
    ReadIdChild(pNode, L"bitmap_id", &m_panel.Type().iBitmapId);
    ReadIdChild(pNode, L"custbitmap_id", &m_panel.Type().iShortcutBitmapId);
    CZQComPtr<IXMLDOMNodeList> features;
    LONG count = 0;
    if (zqxml::HrSelectNodes(pNode, L"DocFeature", features.Put()) != S_OK || !features ||
        FAILED(features->get_length(&count)) || count <= 0 || count > kMaxDocFeatures)
        return FALSE;
    auto** entries = static_cast<ShortcutPanelEntry**>(LocalAlloc(LPTR, count * sizeof(ShortcutPanelEntry*)));
    if (!entries) return FALSE;
    // Entries a caller left go; the name and pictures are those of the type being read.
    if (m_panel.Count()) {
        const Rows::DocType type = m_panel.Type();
        VFreePanelEntries();
        m_panel.Type() = type;
    }
    m_panel.BTakeEntries(entries, static_cast<int>(count));
    features->reset();
    BOOL read = FALSE;
    for (LONG i = 0; i < count; ++i) {
        auto* entry = static_cast<ShortcutPanelEntry*>(LocalAlloc(LPTR, sizeof(ShortcutPanelEntry)));
        entries[i] = entry;
        CZQComPtr<IXMLDOMNode> feature;
        if (features->nextNode(feature.Put()) != S_OK || !feature || !entry) continue;
        read = TRUE;
        WCHAR display[kTextChars] = {};
        LONG label = 0, help = 0, selected = 0, options = 0;
        PWSTR* keywords = nullptr;
        LONG **bitmaps = nullptr, **labelIds = nullptr;
        pContext->pRules->BReadDocOptionsEx(feature.Get(), entry->szKeyword, &label, &help, entry->szFixed, display,
                                            &selected, &keywords, &bitmaps, &options, &labelIds, entry->szLocked);
        entry->iLabel = static_cast<int>(label);
        entry->iLabelTextId = static_cast<int>(help);
        entry->iSelected = static_cast<int>(selected);
        entry->nOptions = static_cast<int>(options);
        entry->ppszOptionKeywords = keywords;
        entry->ppiOptionBitmapIds = reinterpret_cast<int**>(bitmaps);
        entry->iDefaultOption = CZQShortcutStore::IFindString(entry->nOptions, keywords, display);
        if (entry->iDefaultOption < 0) entry->iDefaultOption = 0;
        entry->iKind = ZQEqualNoCase(entry->szFixed, L"True") && entry->nOptions == 1
                           ? IGetFixedKind()
                           : IGetControlKind(pContext, entry->szKeyword);
        POPTITEM item = nullptr;
        if (!BFindDriverItem(entry->szKeyword, &item, pContext)) {
            BBuildOptionNamesNoItem(labelIds, keywords, entry->nOptions, entry->szKeyword, pContext,
                                    &entry->ppszOptionNames, &entry->ppiNotAvailable);
        } else if (wcscmp(entry->szKeyword, L"ZQScaleToPaper") == 0) {
            // Its options are papers: the names come from the core driver's form item.
            ZQCopyText(entry->szKeyword, kTextChars, m_state.szKwPaperSize);
            POPTITEM form = nullptr;
            DWFindOptItemByPubId(m_pCUIParam, DMPUB_FORMNAME, -1, &form);
            BBuildOptionNames(form, labelIds, keywords, entry->nOptions, entry->szKeyword, pContext,
                              &entry->ppszOptionNames, &entry->ppiNotAvailable);
            ZQCopyText(entry->szKeyword, kTextChars, L"ZQScaleToPaper");
        } else {
            BBuildOptionNames(item, labelIds, keywords, entry->nOptions, entry->szKeyword, pContext,
                              &entry->ppszOptionNames, &entry->ppiNotAvailable);
        }
        zqxml::VFreeLocalArray(labelIds, static_cast<size_t>(options));
    }
    return read;
}

BOOL CZQLargeFormatShortcutsTab::BGetSelectedDocType(PageContext* pContext, IXMLDOMNode** ppNode) {
    if (!ppNode) return FALSE;
    *ppNode = nullptr;
    if (!Ctl(IDC_LB_DOCTYPE_SETTING)) return FALSE;
    const LRESULT row = SendMessageW(Ctl(IDC_LB_DOCTYPE_SETTING), LB_GETCURSEL, 0, 0);
    if (row == LB_ERR) return FALSE;
    WCHAR text[kTextChars] = {};
    const LRESULT length = SendMessageW(Ctl(IDC_LB_DOCTYPE_SETTING), LB_GETTEXTLEN, static_cast<WPARAM>(row), 0);
    if (length == LB_ERR || length >= static_cast<LRESULT>(kTextChars)) return FALSE;
    SendMessageW(Ctl(IDC_LB_DOCTYPE_SETTING), LB_GETTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(text));
    if (ZQEqualNoCase(text, m_state.szCustomizedText)) ZQCopyText(text, kTextChars, m_state.szBaseDocType);
    if (!BIsDocumentType(pContext, text)) {
        m_state.bStoredShortcutShown = TRUE;
        // The panel then reads the record of the row shown, not of one shown before.
        ZQCopyText(m_state.szStoredShortcutName, kTextChars, text);
        m_store.VGetShortcutText(pContext, text);
    } else {
        m_state.bStoredShortcutShown = FALSE;
    }
    VFreePanelEntries();
    ZQCopyText(m_panel.Type().szName, kTextChars, text);
    return FindDocType(pContext, text, ppNode);
}

BOOL CZQLargeFormatShortcutsTab::BReadSelectedDocTypeAndMove(PageContext* pContext, int iFlag) {
    CZQComPtr<IXMLDOMNode> node;
    if (!BGetSelectedDocType(pContext, node.Put()) || !node || !BReadShortcutDocument(node.Get(), pContext, iFlag))
        return FALSE;
    node.Reset();
    // The rows leave the top of the panel to the sample page's labels.
    m_panel.VMoveRowHolders();
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// The settings the sheet opens with
// ---------------------------------------------------------------------------------------------
void CZQLargeFormatShortcutsTab::VDetectCurrentShortcut(PageContext* pContext) {
    m_state.bReadFromControls = FALSE;
    if (m_pCUIParam) m_pPublicDM = m_pCUIParam->pPublicDM;
    if (!RulesLoaded(pContext)) return;
    // The window does not exist yet: the type is compared by the driver's own keywords.
    VSetDriverKeywords(pContext);
    IXMLDOMNodeList* types = pContext->pRules->Parser().DocSettingList();
    CZQComPtr<IXMLDOMNode> node;
    // The walk goes on from where the list's last walker left it.
    if (types && types->nextNode(node.Put()) == S_OK && node) {
        pContext->pRules->BReadOptionName(node.Get(), m_panel.Type().szName);
        ZQUIDevmode* core = CoreOf(m_pCUIParam);
        if (BReadShortcutDocument(node.Get(), pContext, 0) && core) {
            if (BSettingsDifferFromPanel(pContext)) {
                core->dwPendingChange = 1;
                ZQCopyText(core->szDocTypeName, kTextChars, kCustomSettingsName);
            } else {
                ZQCopyText(core->szDocTypeName, kTextChars, m_panel.Type().szName);
                for (int i = 0; i < m_panel.Count() && i < kMaxDocFeatures; ++i)
                    if (PEntry(i)) core->adwSelectionSlots[i] = static_cast<uint32_t>(PEntry(i)->iSelected);
                core->dwDocTypeScaling = 100;
                core->dwDocTypeCopies = 1;
            }
        }
    }
    VFreePanelEntries();
}

BOOL CZQLargeFormatShortcutsTab::BSettingsDifferFromPanel(PageContext* pContext) {
    for (int i = 0; i < m_panel.Count(); ++i) {
        const ShortcutPanelEntry* entry = PEntry(i);
        if (!entry || entry->iSelected < 0 || entry->iSelected >= entry->nOptions || !entry->ppszOptionKeywords)
            continue;
        const zqdoctype::Row row = {entry->szKeyword, entry->ppszOptionKeywords[entry->iSelected]};
        if (zqdoctype::Differs(pContext, m_pCUIParam, row, m_state.szKwOrientation)) return TRUE;
    }
    return FALSE;
}

// ---------------------------------------------------------------------------------------------
// The panel's selections in the working copy
// ---------------------------------------------------------------------------------------------
void CZQLargeFormatShortcutsTab::VSaveState(PageContext* pContext) {
    ZQUIDevmode* work = WorkOf(pContext);
    if (!work) return;
    ZQCopyText(work->szDocTypeName, kTextChars, m_panel.Type().szName);
    for (int i = 0; i < kMaxDocFeatures; ++i) {
        const ShortcutPanelEntry* entry = i < m_panel.Count() ? PEntry(i) : nullptr;
        work->adwSelectionSlots[i] = entry ? static_cast<uint32_t>(entry->iSelected) : 0;
        if (!entry || entry->iKind != Rows::kKindEdit) continue;
        const bool scaling = ZQEqualNoCase(entry->szKeyword, L"Scaling");
        if (!scaling && !ZQEqualNoCase(entry->szKeyword, zqkw::kCopiesItem)) continue;
        int value = 0;
        if (m_state.bReadFromControls && m_controls.Page())
            value = static_cast<int>(GetDlgItemInt(m_controls.Page(), scaling ? IDC_TXT_FC_SCALING : IDC_TXT_FC_COPIES, nullptr, TRUE));
        else if (entry->nOptions > 0 && entry->ppszOptionKeywords)
            value = LeadingNumber(entry->ppszOptionKeywords[0]);
        (scaling ? work->dwDocTypeScaling : work->dwDocTypeCopies) = static_cast<uint32_t>(value);
    }
    if (pContext->pLogic)
        DWSelectOptionByIndex(m_pCUIParam, zqkw::kZQBorderLessPhoto, pContext->pLogic->BIsBorderlessPaper() ? 1 : 0, 1);
}

void CZQLargeFormatShortcutsTab::VRestoreSelections(PageContext* pContext) {
    const ZQUIDevmode* work = WorkOf(pContext);
    if (!work || !ZQEqualNoCase(m_panel.Type().szName, work->szDocTypeName)) return;
    for (int i = 0; i < m_panel.Count() && i < kMaxDocFeatures; ++i)
        if (PEntry(i)) PEntry(i)->iSelected = static_cast<int>(work->adwSelectionSlots[i]);
}

// ---------------------------------------------------------------------------------------------
// The "Customized Settings" row
// ---------------------------------------------------------------------------------------------
void CZQLargeFormatShortcutsTab::VShowCustomizedRow(PageContext* pContext) {
    if (!Ctl(IDC_LB_DOCTYPE_SETTING)) return;
    const LRESULT row = SendMessageW(Ctl(IDC_LB_DOCTYPE_SETTING), LB_GETCURSEL, 0, 0);
    if (row == LB_ERR) return;
    WCHAR text[kTextChars] = {};
    const LRESULT length = SendMessageW(Ctl(IDC_LB_DOCTYPE_SETTING), LB_GETTEXTLEN, static_cast<WPARAM>(row), 0);
    if (length != LB_ERR && length < static_cast<LRESULT>(kTextChars))
        SendMessageW(Ctl(IDC_LB_DOCTYPE_SETTING), LB_GETTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(text));
    if (ZQEqualNoCase(text, m_state.szCustomizedText)) ZQCopyText(text, kTextChars, m_state.szBaseDocType);
    VResolveSelectedName(pContext, text, m_state.szBaseDocType);
    VRemoveCustomizedRow();
    const LRESULT parent = SendMessageW(Ctl(IDC_LB_DOCTYPE_SETTING), LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                        reinterpret_cast<LPARAM>(m_state.szBaseDocType));
    LRESULT select = 0;
    if (m_state.szBaseDocType[0] && parent != LB_ERR) {
        VEnablePanelControls(TRUE);
        const LRESULT added = SendMessageW(Ctl(IDC_LB_DOCTYPE_SETTING), LB_INSERTSTRING, static_cast<WPARAM>(parent + 1),
                                           reinterpret_cast<LPARAM>(m_state.szCustomizedText));
        if (added >= 0) {
            m_list.VPlaceRowBitmap(static_cast<int>(added), m_list.HRowBitmap(static_cast<UINT>(m_panel.Type().iShortcutBitmapId)));
            select = added;
        }
    }
    SendMessageW(Ctl(IDC_LB_DOCTYPE_SETTING), LB_SETCURSEL, static_cast<WPARAM>(select), 0);
}

void CZQLargeFormatShortcutsTab::VRemoveCustomizedRow() {
    if (!Ctl(IDC_LB_DOCTYPE_SETTING)) return;
    const LRESULT row = SendMessageW(Ctl(IDC_LB_DOCTYPE_SETTING), LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>(m_state.szCustomizedText));
    if (row == LB_ERR) return;
    SendMessageW(Ctl(IDC_LB_DOCTYPE_SETTING), LB_DELETESTRING, static_cast<WPARAM>(row), 0);
    m_list.Pictures().BRemoveAt(static_cast<int>(row));
}

void CZQLargeFormatShortcutsTab::VResolveSelectedName(PageContext* pContext, PCWSTR pszName, PWSTR pszOut) {
    if (!pszName || !pszOut) return;
    CZQComPtr<IXMLDOMNode> node;
    if (FindDocType(pContext, pszName, node.Put())) {
        if (pszOut != pszName) ZQCopyText(pszOut, kTextChars, pszName);
        return;
    }
    ZQCopyText(m_state.szStoredShortcutName, kTextChars, pszName);
    m_state.bStoredShortcutShown = TRUE;
    ShortcutRecord record = {};
    ZQCopyText(record.szName, kTextChars, pszName);
    // A shortcut that cannot be read leaves the text empty: the row then has no parent.
    m_store.BReadShortcut(pContext, &record);
    ZQCopyText(pszOut, kTextChars, record.szDocType);
    CZQShortcutStore::VFreeShortcut(&record);
}

// ---------------------------------------------------------------------------------------------
// Delete and the stores
// ---------------------------------------------------------------------------------------------
BOOL CZQLargeFormatShortcutsTab::BIsDocumentType(PageContext* pContext, PCWSTR pszName) {
    return CZQShortcutStore::BIsDocumentType(pContext, pszName);
}

BOOL CZQLargeFormatShortcutsTab::BPrinterShortcutExists(PageContext* pContext, PCWSTR pszName) {
    HANDLE printer = m_pCUIParam ? m_pCUIParam->hPrinter : nullptr;
    CZQPrinterDataList stored;
    if (!pszName || !printer || !stored.BRead(printer, zqsettings::kShortcutPoolKey)) return FALSE;
    (void)pContext;
    for (DWORD i = 0; i < stored.Count(); ++i)
        if (stored.Name(i) && ZQEqualNoCase(stored.Name(i), pszName)) return TRUE;
    return FALSE;
}

void CZQLargeFormatShortcutsTab::VUpdateDeleteButton(PageContext* pContext, PCWSTR pszName) {
    if (!Ctl(IDC_BTN_DELETE)) return;
    if (BIsDocumentType(pContext, pszName)) {
        EnableWindow(Ctl(IDC_BTN_DELETE), FALSE);
        return;
    }
    ZQCopyText(m_state.szStoredShortcutName, kTextChars, m_state.szCurrentName);
    if (!m_state.bRestrictedUser)
        EnableWindow(Ctl(IDC_BTN_DELETE), TRUE);
    else if (BPrinterShortcutExists(pContext, pszName))
        EnableWindow(Ctl(IDC_BTN_DELETE), FALSE);
    else if (m_store.BUserShortcutExists(pContext, pszName))
        EnableWindow(Ctl(IDC_BTN_DELETE), TRUE);
}
