// The "Color Settings" sheet: its property-sheet callback, the option items built from the colour
// option list, and the item callback that records picks and applies them.
#include "pages/color/zqcolorsettingssheet.h"

#include "common/zqstrings.h"
#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"
#include "pages/zqpages.h"
#include "res/zqcolorids.h"

static_assert(CZQColorSettingsSheet::kIconId == IDI_COLOR_SETTINGS);

namespace {

constexpr BYTE kHeadingPubId = 101;
constexpr BYTE kListPubId = 102;

PFN_ZQCommonPropertySheetUI g_pfnSheet = nullptr;

// The system's common property sheet, found when first asked for.
LONG SystemSheet(HWND hOwner, PFNPROPSHEETUI pfn, LPARAM lParam, LPDWORD pResult) {
    static PFN_ZQCommonPropertySheetUI run = [] {
        HMODULE module = LoadLibraryW(L"compstui.dll");
        return module ? reinterpret_cast<PFN_ZQCommonPropertySheetUI>(
                            reinterpret_cast<void*>(GetProcAddress(module, "CommonPropertySheetUIW")))
                      : nullptr;
    }();
    if (!run) {
        SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return -1;
    }
    return run(hOwner, pfn, lParam, pResult);
}

void FreeNodes(ZQColorOptionNode*& head, ZQColorOptionNode*& tail) {
    for (ZQColorOptionNode* node = head; node;) {
        ZQColorOptionNode* next = node->pNext;
        LocalFree(node);
        node = next;
    }
    head = tail = nullptr;
}

template <class T>
void FreeArray(T*& array) {
    if (array) LocalFree(array);
    array = nullptr;
}

}  // namespace

PFN_ZQCommonPropertySheetUI ZQSetCommonPropertySheetUI(PFN_ZQCommonPropertySheetUI pfn) {
    const PFN_ZQCommonPropertySheetUI previous = g_pfnSheet;
    g_pfnSheet = pfn;
    return previous;
}

LONG ZQRunCommonPropertySheetUI(HWND hOwner, PFNPROPSHEETUI pfnPropSheetUI, LPARAM lParam, LPDWORD pResult) {
    return g_pfnSheet ? g_pfnSheet(hOwner, pfnPropSheetUI, lParam, pResult)
                      : SystemSheet(hOwner, pfnPropSheetUI, lParam, pResult);
}

CZQColorSettingsSheet::SheetBlock* CZQColorSettingsSheet::s_pBlock = nullptr;

CZQColorSettingsSheet& CZQColorSettingsSheet::Instance() {
    static CZQColorSettingsSheet sheet;
    return sheet;
}

CZQColorSettingsSheet::~CZQColorSettingsSheet() { VDestroy(); }

LONG APIENTRY CZQColorSettingsSheet::PropSheetCallback(PPROPSHEETUI_INFO pInfo, LPARAM lParam) {
    if (!pInfo) return -1;
    CZQColorSettingsSheet& sheet = Instance();
    switch (pInfo->Reason) {
        case PROPSHEETUI_REASON_INIT: return sheet.LInit(pInfo, reinterpret_cast<PageContext*>(pInfo->lParamInit));
        case PROPSHEETUI_REASON_GET_INFO_HEADER:
            return sheet.LGetInfoHeader(reinterpret_cast<PPROPSHEETUI_INFO_HEADER>(lParam));
        case PROPSHEETUI_REASON_DESTROY: sheet.VDestroy(); return 1;
        case PROPSHEETUI_REASON_SET_RESULT:
            return sheet.LSetResult(pInfo, reinterpret_cast<const SETRESULT_INFO*>(lParam));
        default: return -1;
    }
}

LONG CZQColorSettingsSheet::LInit(PPROPSHEETUI_INFO pInfo, PageContext* pContext) {
    if (!pContext || !pContext->pLogic) {
        SetLastError(ERROR_INVALID_DATA);
        return -1;
    }
    VDestroy();
    m_pContext = pContext;
    CZQUILogic& logic = *pContext->pLogic;
    const POEMCUIPPARAM param = logic.Param();
    VBind(nullptr, param, logic.HResModule());
    m_bPending = TRUE;
    // The working copy: one empty node per node of the logic object's list.
    for (const ZQColorOptionNode* source = logic.m_colorOptions.Head(); source; source = source->pNext) {
        auto* node = static_cast<ZQColorOptionNode*>(LocalAlloc(LPTR, sizeof(ZQColorOptionNode)));
        if (!node) {
            VDestroy();
            return -1;
        }
        node->pPrev = m_pTail;
        (m_pTail ? m_pTail->pNext : m_pHead) = node;
        m_pTail = node;
    }
    s_pBlock = static_cast<SheetBlock*>(LocalAlloc(LPTR, sizeof(SheetBlock)));
    if (!s_pBlock) {
        VDestroy();
        return -1;
    }
    s_pBlock->hComPropSheet = pInfo->hComPropSheet;
    s_pBlock->pfnComPropSheet = pInfo->pfnComPropSheet;
    pInfo->UserData = reinterpret_cast<ULONG_PTR>(s_pBlock);

    VLoadText(kTitleString, L"Color Settings", m_szTitle);
    m_szItemName[0] = 0;
    if (!BBuildArrays()) {
        VDestroy();
        return -1;
    }
    COMPROPSHEETUI& ui = s_pBlock->sheetUI;
    ui.cbSize = sizeof(COMPROPSHEETUI);
    ui.Flags = CPSUIF_UPDATE_PERMISSION;
    ui.hInstCaller = param ? static_cast<HINSTANCE>(param->hModule) : nullptr;
    ui.pCallerName = m_szTitle;
    ui.UserData = reinterpret_cast<ULONG_PTR>(this);
    const ZQUIDevmode* core = param ? zqdm::CurrentBlock(param->pOEMDM) : nullptr;
    ui.pHelpFile = core ? reinterpret_cast<LPTSTR>(const_cast<zqwchar*>(core->szHelpFile)) : nullptr;
    ui.pfnCallBack = &ItemCallback;
    ui.pOptItem = m_pItems;
    ui.pDlgPage = CPSUI_PDLGPAGE_TREEVIEWONLY;
    ui.cOptItem = static_cast<WORD>(m_dwHeadings + m_dwLists);
    ui.cDlgPage = 0;
    ui.IconID = kIconId;
    ui.pOptItemName = m_szItemName;
    INSERTPSUIPAGE_INFO insert = {};
    insert.cbSize = sizeof insert;
    insert.Type = PSUIPAGEINSERT_PCOMPROPSHEETUI;
    insert.Mode = INSPSUIPAGE_MODE_INDEX;
    insert.dwData1 = reinterpret_cast<ULONG_PTR>(&ui);
    s_pBlock->hInserted = pInfo->pfnComPropSheet
                              ? pInfo->pfnComPropSheet(pInfo->hComPropSheet, CPSFUNC_INSERT_PSUIPAGEW, 0,
                                                       reinterpret_cast<LPARAM>(&insert))
                              : 0;
    return s_pBlock->hInserted ? 1 : -1;
}

BOOL CZQColorSettingsSheet::BBuildArrays() {
    const ZQColorOptionNode* head = m_pContext->pLogic->m_colorOptions.Head();
    m_dwHeadings = m_dwLists = m_dwEntries = 0;
    for (const ZQColorOptionNode* node = head; node; node = node->pNext) {
        if (node->dwKind == kColorNodeItem) ++m_dwHeadings;
        else if (node->dwKind == kColorNodeList) ++m_dwLists;
        else if (node->dwKind == kColorNodeEntry) ++m_dwEntries;
    }
    auto allocate = [](DWORD count, size_t size) { return count ? LocalAlloc(LPTR, count * size) : nullptr; };
    m_pItems = static_cast<POPTITEM>(allocate(m_dwHeadings + m_dwLists, sizeof(OPTITEM)));
    m_pTypes = static_cast<POPTTYPE>(allocate(m_dwLists, sizeof(OPTTYPE)));
    m_pParams = static_cast<POPTPARAM>(allocate(m_dwEntries, sizeof(OPTPARAM)));
    if ((m_dwHeadings + m_dwLists && !m_pItems) || (m_dwLists && !m_pTypes) || (m_dwEntries && !m_pParams))
        return FALSE;

    // The working copy takes every node of the list first: the items point into its texts.
    ZQColorOptionNode* copy = m_pHead;
    for (const ZQColorOptionNode* node = head; node && copy; node = node->pNext, copy = copy->pNext) {
        ZQColorOptionNode* const next = copy->pNext;
        ZQColorOptionNode* const prev = copy->pPrev;
        *copy = *node;
        copy->pNext = next;
        copy->pPrev = prev;
    }
    DWORD item = 0, type = 0, param = 0;
    POPTTYPE currentType = nullptr;
    for (ZQColorOptionNode* node = m_pHead; node; node = node->pNext) {
        if (node->dwKind == kColorNodeEntry) {
            OPTPARAM& p = m_pParams[param++];
            p.cbSize = sizeof(OPTPARAM);
            p.pData = node->szText;
            if (currentType) {
                if (!currentType->pOptParam) currentType->pOptParam = &p;
                ++currentType->Count;
            }
            continue;
        }
        if (node->dwKind != kColorNodeItem && node->dwKind != kColorNodeList) continue;
        // The display text: the status module's string, else the node's name.
        WCHAR text[kResStringChars] = {};
        if (!node->dwStringId || !BLoadResString(static_cast<INT>(node->dwStringId), text) || !text[0])
            ZQCopyText(text, kResStringChars, node->szName);
        ZQCopyText(node->szText, 256, text);
        OPTITEM& it = m_pItems[item++];
        it.cbSize = sizeof(OPTITEM);
        it.pName = node->szText;
        it.HelpIndex = node->dwHelpIndex;
        if (node->dwKind == kColorNodeItem) {
            it.Level = 1;
            it.DMPubID = kHeadingPubId;
            currentType = nullptr;
        } else {
            it.Level = 2;
            it.Flags = OPTIF_CALLBACK;
            it.Sel = static_cast<LONG>(node->dwSelection);
            currentType = &m_pTypes[type++];
            currentType->cbSize = sizeof(OPTTYPE);
            currentType->Type = TVOT_COMBOBOX;
            it.pOptType = currentType;
            it.DMPubID = kListPubId;
        }
    }
    return TRUE;
}

LONG CZQColorSettingsSheet::LGetInfoHeader(PPROPSHEETUI_INFO_HEADER pHeader) const {
    if (!pHeader) return -1;
    pHeader->pTitle = const_cast<LPTSTR>(m_szTitle);
    pHeader->Flags = PSUIHDRF_NOAPPLYNOW | PSUIHDRF_EXACT_PTITLE;
    pHeader->hWndParent = m_hPage;
    pHeader->hInst = m_pCUIParam ? static_cast<HINSTANCE>(m_pCUIParam->hModule) : nullptr;
    pHeader->IconID = kIconId;
    return 1;
}

LONG CZQColorSettingsSheet::LSetResult(PPROPSHEETUI_INFO pInfo, const SETRESULT_INFO* pResult) const {
    if (!pResult || !s_pBlock || !s_pBlock->hInserted ||
        pResult->hSetResult != reinterpret_cast<HANDLE>(s_pBlock->hInserted))
        return -1;
    pInfo->Result = static_cast<ULONG_PTR>(pResult->Result);
    return 1;
}

void CZQColorSettingsSheet::VDestroy() {
    if (s_pBlock) LocalFree(s_pBlock);
    s_pBlock = nullptr;
    FreeNodes(m_pHead, m_pTail);
    FreeArray(m_pItems);
    FreeArray(m_pTypes);
    FreeArray(m_pParams);
    m_dwHeadings = m_dwLists = m_dwEntries = 0;
}

LONG APIENTRY CZQColorSettingsSheet::ItemCallback(PCPSUICBPARAM pParam) {
    if (!pParam || !pParam->UserData) return CPSUICB_ACTION_NONE;
    auto* sheet = reinterpret_cast<CZQColorSettingsSheet*>(pParam->UserData);
    switch (pParam->Reason) {
        case CPSUICB_REASON_SEL_CHANGED:
            if (!pParam->pCurItem || pParam->pCurItem->DMPubID != kListPubId) return CPSUICB_ACTION_NONE;
            sheet->VRecordSelection(pParam);
            pParam->pCurItem->Flags |= OPTIF_CHANGED;
            return CPSUICB_ACTION_OPTIF_CHANGED;
        case CPSUICB_REASON_APPLYNOW: sheet->VApply(); return CPSUICB_ACTION_NONE;
        case CPSUICB_REASON_ITEMS_REVERTED: sheet->m_bPending = FALSE; return CPSUICB_ACTION_NONE;
        default: return CPSUICB_ACTION_NONE;
    }
}

// The heading of the changed list is the nearest item above it outside level 2; the list node that
// follows a heading node of that text and carries the list's text takes the new selection.
void CZQColorSettingsSheet::VRecordSelection(const CPSUICBPARAM* pParam) {
    const POPTITEM changed = pParam->pCurItem;
    const POPTITEM items = pParam->pOptItem ? pParam->pOptItem : m_pItems;
    if (!items || changed < items || !changed->pName) return;
    const OPTITEM* heading = nullptr;
    for (const OPTITEM* it = changed; it-- > items;)
        if (it->Level != 2) {
            heading = it;
            break;
        }
    if (!heading || !heading->pName) return;
    bool headingPassed = false;
    for (ZQColorOptionNode* node = m_pHead; node; node = node->pNext) {
        if (node->dwKind == kColorNodeItem && lstrcmpW(node->szText, heading->pName) == 0) headingPassed = true;
        else if (headingPassed && node->dwKind == kColorNodeList && lstrcmpW(node->szText, changed->pName) == 0) {
            node->dwSelection = static_cast<DWORD>(changed->Sel);
            return;
        }
    }
}

void CZQColorSettingsSheet::VApply() {
    if (!m_pContext || !m_pContext->pLogic) return;
    ZQColorOptionNode* target = m_pContext->pLogic->m_colorOptions.Head();
    for (const ZQColorOptionNode* node = m_pHead; node && target; node = node->pNext, target = target->pNext) {
        target->dwKind = node->dwKind;
        target->dwSelection = node->dwSelection;
        ZQCopyText(target->szName, 80, node->szName);
        ZQCopyText(target->szText, 256, node->szText);
        target->dwStringId = node->dwStringId;
        target->dwHelpIndex = node->dwHelpIndex;
        ZQCopyText(target->szDefault, 80, node->szDefault);
    }
}
