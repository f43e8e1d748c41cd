// The shortcut list of the large-format shortcuts page (the helper file's document types, each
// user's stored shortcut right under the type it was based on) and the look-ups on the panel's
// entries and on the core driver's items that the panel's rows share.
#include "pages/shortcuts/zqlargeformatshortcuts.h"

#include "common/zqhandles.h"
#include "common/zqkeywords.h"
#include "common/zqprintercaps.h"
#include "common/zqstorenames.h"
#include "common/zqstorepath.h"
#include "common/zqstrings.h"
#include "featurelogic/zqquicksets.h"
#include "featurelogic/zquilogic.h"
#include "pages/parts/zqmnemonics.h"
#include "pages/zqpageitems.h"
#include "res/zqshortcutsids.h"
#include "settings/zqdriverdata.h"
#include "xmlrules/zqxmluirules.h"

namespace {

// An option's text the page can compare: a string, not a resource id.
bool IsText(LPTSTR pData) { return pData && !IS_INTRESOURCE(pData); }

}  // namespace

// ---------------------------------------------------------------------------------------------
// The list
// ---------------------------------------------------------------------------------------------

HANDLE CZQLargeFormatShortcutsTab::HOpenListPrinter(POEMCUIPPARAM pParam) const {
    CZQLocalPtr<WCHAR> name;
    HANDLE printer = nullptr;
    if (!pParam || !BGetPrinterName(pParam->hPrinter, name.Put())) return nullptr;
    PRINTER_DEFAULTSW defaults = {nullptr, m_pPublicDM,
                                  m_state.bRestrictedUser ? static_cast<ACCESS_MASK>(PRINTER_ACCESS_USE)
                                                    : static_cast<ACCESS_MASK>(PRINTER_ALL_ACCESS)};
    if (!zqspool::Spooler().OpenPrinterW(name.Get(), &printer, &defaults)) return nullptr;
    return printer;
}

void CZQLargeFormatShortcutsTab::VFillShortcutList(PageContext* pContext, BOOL bSelectFirst) {
    const POEMCUIPPARAM param = pContext && pContext->pLogic ? pContext->pLogic->CUIParam() : nullptr;
    if (!param || !Ctl(IDC_LB_DOCTYPE_SETTING)) {
        SetLastError(ERROR_INVALID_DATA);
        return;
    }
    CZQPrinterHandle printer(HOpenListPrinter(param));
    CZQPrinterDataList stored;
    if (printer) stored.BRead(printer.Get(), zqsettings::kShortcutPoolKey);
    // A printer of another server whose print processor offers one data type lists every row.
    const BOOL listAll = pContext->pCaps && CZQShortcutListRows::DWCountRemoteDatatypes(*pContext->pCaps) == 1;
    auto listed = [&](PCWSTR pszName) { return listAll || CZQShortcutListRows::BIsQuickSetVisible(pContext, pszName); };

    CZQXmlUiRules* rules = pContext->pRules;
    IXMLDOMNodeList* types = rules && rules->Parser().BIsLoaded() ? rules->Parser().DocSettingList() : nullptr;
    LONG typeCount = 0;
    if (types) {
        SendMessageW(Ctl(IDC_LB_DOCTYPE_SETTING), LB_RESETCONTENT, 0, 0);
        while (m_list.Pictures().Count() && m_list.Pictures().BRemoveAt(m_list.Pictures().Count() - 1)) {
        }
        types->reset();
        if (FAILED(types->get_length(&typeCount)) || typeCount < 0) typeCount = 0;
        const ZQUIDevmode* work = zqpage::WorkOf(pContext);
        LRESULT select = 0;
        for (LONG i = 0; i < typeCount; ++i) {
            CZQComPtr<IXMLDOMNode> node;
            if (types->nextNode(node.Put()) != S_OK || !node) break;
            LONG bitmap = 0;
            CZQXmlUiRules::BReadBitmapId(node.Get(), &bitmap);
            WCHAR label[kTextChars] = {};
            if (!rules->BReadOptionName(node.Get(), label)) continue;
            if (i == 0) ZQCopyText(m_state.szBaseDocType, kTextChars, label);
            if (!listed(label)) continue;
            const LRESULT row = SendMessageW(Ctl(IDC_LB_DOCTYPE_SETTING), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label));
            if (row < 0) continue;
            m_list.VPlaceRowBitmap(static_cast<int>(row), m_list.HRowBitmap(i < CZQShortcutListRows::kRowBitmaps ? static_cast<UINT>(bitmap) : 0));
            if (!bSelectFirst && work && ZQEqualNoCase(label, work->szQuickSetName)) select = row;
        }
        m_list.HRowBitmap(0);
        SendMessageW(Ctl(IDC_LB_DOCTYPE_SETTING), LB_SETCURSEL, static_cast<WPARAM>(select), 0);
    }
    m_list.Listed().nListed = static_cast<int>(typeCount) + static_cast<int>(stored.Count());

    // Each under its type, so those of one type come in the reverse of the spooler's order. Each value
    // is read from the one listing and a value that is no shortcut passed over.
    for (DWORD i = 0; printer && i < stored.Count(); ++i) {
        DWORD cb = 0;
        const BYTE* data = stored.Data(i, nullptr, &cb);
        if (stored.Name(i) && listed(stored.Name(i))) m_list.BInsertStoredRow(stored.Name(i), data, cb, FALSE);
    }

    if (m_state.bRestrictedUser) VListUserShortcuts(pContext, printer.Get(), listAll);
}

void CZQLargeFormatShortcutsTab::VListUserShortcuts(PageContext* pContext, HANDLE hPrinter, BOOL bListAll) {
    const std::wstring path = ZQUserStorePathOf(hPrinter, zqsettings::kShortcutPoolKey);
    CZQRegKey key;
    if (path.empty() ||
        RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Put(), nullptr) !=
            ERROR_SUCCESS) {
        m_list.Listed().nListedWithUser = m_list.Listed().nListed - 1;
        return;
    }
    int calls = 0;
    CZQLocalPtr<BYTE> data;
    DWORD cbBuffer = 0;
    for (DWORD i = 0;; ++i) {
        WCHAR name[260];
        DWORD cchName = 260, cb = 0;
        ++calls;
        const LONG rc = RegEnumValueW(key.Get(), i, name, &cchName, nullptr, nullptr, nullptr, &cb);
        if (rc == ERROR_NO_MORE_ITEMS) break;
        if (rc != ERROR_SUCCESS || !(bListAll || CZQShortcutListRows::BIsQuickSetVisible(pContext, name))) continue;
        if (cb > cbBuffer) {
            cbBuffer = data.Alloc(cb) ? cb : 0;
            if (!cbBuffer) continue;
        }
        DWORD type = REG_NONE;
        cb = cbBuffer;
        if (RegQueryValueExW(key.Get(), name, nullptr, &type, data.Get(), &cb) == ERROR_SUCCESS)
            m_list.BInsertStoredRow(name, data.Get(), cb, TRUE);
    }
    m_list.Listed().nListedWithUser = m_list.Listed().nListed - 1 + calls;
}

// ---------------------------------------------------------------------------------------------
// The panel's entries
// ---------------------------------------------------------------------------------------------

int CZQLargeFormatShortcutsTab::IFindDriverOptionIndex(PageContext* pContext, PCWSTR pszKeyword, BYTE bPubId,
                                                       PCWSTR pszName) {
    const POEMCUIPPARAM param = pContext && pContext->pLogic ? pContext->pLogic->CUIParam() : nullptr;
    POPTITEM item = nullptr;
    const DWORD found = bPubId ? DWFindOptItemByPubId(param, bPubId, -1, &item) : DWFindOptItem(param, pszKeyword, &item);
    if (found != ZQOPT_OK || !item) return -1;
    const bool inputBin = bPubId == DMPUB_DEFSOURCE || (pszKeyword && ZQEqualNoCase(pszKeyword, zqkw::kInputBin));
    const int count = IGetOptionCount(item);
    for (int i = 0; pszName && i < count; ++i) {
        // The first source is named by the printer's first bin name: its option may carry no text.
        if (inputBin && i == 0) {
            const PrinterCaps* caps = ZQPrinterCapsLists(pContext->pCaps, kCapsSources);
            if (caps && wcscmp(caps->szFirstBinName, pszName) == 0) return 0;
            continue;
        }
        const POPTPARAM option = PGetOptionParam(item, i);
        if (option && IsText(option->pData) && wcscmp(option->pData, pszName) == 0) return i;
    }
    for (int i = 0; i < count; ++i) {
        const POPTPARAM option = PGetOptionParam(item, i);
        if (option && IsText(option->pData) && !(option->Flags & (OPTPF_HIDE | OPTPF_OVERLAY_WARNING_ICON))) return i;
    }
    return -1;
}

BOOL CZQLargeFormatShortcutsTab::BFindDriverItem(PCWSTR pszKeyword, POPTITEM* ppItem, PageContext* pContext) const {
    if (ppItem) *ppItem = nullptr;
    const POEMCUIPPARAM param = pContext && pContext->pLogic ? pContext->pLogic->CUIParam() : nullptr;
    if (!pszKeyword || !ppItem || !param) return FALSE;
    const struct {
        PCWSTR pszKeyword;
        BYTE bPubId;
    } byId[] = {{m_state.szKwPaperSize, DMPUB_FORMNAME}, {zqkw::kMediaType, DMPUB_MEDIATYPE},
                {m_state.szKwOrientation, DMPUB_ORIENTATION}, {zqkw::kDuplexItem, DMPUB_DUPLEX},
                {m_state.szKwInputBin, DMPUB_DEFSOURCE}, {zqkw::kCopiesItem, DMPUB_COPIES_COLLATE},
                {L"Collate", DMPUB_COPIES_COLLATE}};
    for (const auto& row : byId)
        if (ZQEqualNoCase(row.pszKeyword, pszKeyword))
            return DWFindOptItemByPubId(param, row.bPubId, -1, ppItem) == ZQOPT_OK && *ppItem;
    return DWFindOptItem(param, pszKeyword, ppItem) == ZQOPT_OK && *ppItem;
}

BOOL CZQLargeFormatShortcutsTab::BBuildNames(POPTITEM pItem, LONG** ppLabelIds, PWSTR* ppszKeywords, int nOptions,
                                             PCWSTR pszKeyword, PageContext* pContext, PWSTR** pppszNames,
                                             int*** pppiFlags) {
    if (pppszNames) *pppszNames = nullptr;
    if (pppiFlags) *pppiFlags = nullptr;
    if (!pppszNames || !pppiFlags || nOptions < 0) return FALSE;
    CZQLocalPtr<PWSTR> names;
    CZQLocalPtr<int*> flags;
    if (!names.Alloc(nOptions ? nOptions : 1) || !flags.Alloc(nOptions ? nOptions : 1)) return FALSE;
    const POEMCUIPPARAM param = pContext && pContext->pLogic ? pContext->pLogic->CUIParam() : nullptr;
    // The scale-to-paper feature names its options after the papers.
    const PCWSTR feature = ZQEqualNoCase(pszKeyword, L"ZQScaleToPaper") ? m_state.szKwPaperSize : pszKeyword;
    const BOOL listKind = IGetControlKind(pContext, pszKeyword) == 0;
    BOOL whole = TRUE;
    for (int i = 0; i < nOptions; ++i) {
        const PCWSTR keyword = ppszKeywords && ppszKeywords[i] ? ppszKeywords[i] : L"";
        CZQLocalPtr<WCHAR> driverName;
        WCHAR text[kResStringChars] = {};
        PCWSTR shown = keyword;
        int notAvailable = 0;
        if (pItem && DWOptionKeywordToName(param, feature, keyword, driverName.Put()) == ZQOPT_OK && driverName) {
            shown = driverName.Get();
        } else if (ppLabelIds && ppLabelIds[i] && *ppLabelIds[i] && BLoadResString(static_cast<INT>(*ppLabelIds[i]), text)) {
            shown = text;
        } else {
            notAvailable = listKind ? 1 : 0;
        }
        if (!BStripMnemonics(shown, &names[i])) names[i] = ZQDupText(shown);  // an empty name stays empty
        flags[i] = static_cast<int*>(LocalAlloc(LPTR, sizeof(int)));
        if (flags[i]) *flags[i] = notAvailable;
        whole = whole && names[i] && flags[i];
    }
    *pppszNames = names.Release();
    *pppiFlags = flags.Release();
    return whole;
}

BOOL CZQLargeFormatShortcutsTab::BBuildOptionNames(POPTITEM pItem, LONG** ppLabelIds, PWSTR* ppszKeywords,
                                                   int nOptions, PCWSTR pszKeyword, PageContext* pContext,
                                                   PWSTR** pppszNames, int*** pppiFlags) {
    return BBuildNames(pItem, ppLabelIds, ppszKeywords, nOptions, pszKeyword, pContext, pppszNames, pppiFlags);
}

BOOL CZQLargeFormatShortcutsTab::BBuildOptionNamesNoItem(LONG** ppLabelIds, PWSTR* ppszKeywords, int nOptions,
                                                         PCWSTR pszKeyword, PageContext* pContext, PWSTR** pppszNames,
                                                         int*** pppiFlags) {
    return BBuildNames(nullptr, ppLabelIds, ppszKeywords, nOptions, pszKeyword, pContext, pppszNames, pppiFlags);
}

void CZQLargeFormatShortcutsTab::VFreePanelEntries() {
    for (int i = 0; i < m_panel.Count(); ++i) {
        ShortcutPanelEntry* entry = PEntry(i);
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
    m_panel.VDropTable();
}

BOOL CZQLargeFormatShortcutsTab::BFindPanelEntry(PCWSTR pszKeyword, int* piIndex) const {
    if (piIndex) *piIndex = 0;
    for (int i = 0; pszKeyword && i < m_panel.Count(); ++i) {
        if (!PEntry(i) || !ZQEqualNoCase(PEntry(i)->szKeyword, pszKeyword)) continue;
        if (piIndex) *piIndex = i;
        return TRUE;
    }
    return FALSE;
}

BOOL CZQLargeFormatShortcutsTab::BSelectEntryOption(PCWSTR pszKeyword, PCWSTR pszOptionName, PageContext*) {
    int index = 0;
    if (!pszOptionName || !BFindPanelEntry(pszKeyword, &index)) return FALSE;
    ShortcutPanelEntry& entry = *PEntry(index);
    for (int i = 0; entry.ppszOptionNames && i < entry.nOptions; ++i) {
        if (!entry.ppszOptionNames[i] || !ZQEqualNoCase(entry.ppszOptionNames[i], pszOptionName)) continue;
        entry.iSelected = i;
        return TRUE;
    }
    return FALSE;
}

int CZQLargeFormatShortcutsTab::IGetControlKind(PageContext* pContext, PCWSTR pszKeyword) {
    if (!pszKeyword) return Rows::kKindList;
    const struct {
        PCWSTR pszKeyword;
        int iKind;
    } kinds[] = {{L"BorderlessAutoFit", Rows::kKindCheck}, {L"Collate", Rows::kKindCheck}, {L"DigitalPhotography", Rows::kKindButton},
                 {L"Scaling", Rows::kKindEdit}, {zqkw::kCopiesItem, Rows::kKindEdit}};
    for (const auto& k : kinds)
        if (ZQEqualNoCase(pszKeyword, k.pszKeyword)) return k.iKind;
    if (ZQEqualNoCase(pszKeyword, L"StandardPrintQuality") && pContext && pContext->pLogic &&
        pContext->pLogic->BIsLargeFormat())
        return Rows::kKindSlider;
    return Rows::kKindList;
}
