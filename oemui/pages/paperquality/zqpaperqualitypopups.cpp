// Pop-up mode of the Paper/Quality page: the media-type and paper-size lists show only the current
// choice, the recent choices and "More...", which opens the whole list as a grouped tree. The
// recent choices travel in the private devmode.
#include <windows.h>

#include <commctrl.h>

#include "common/zqkeywords.h"
#include "featurelogic/zqplugin.h"
#include "pages/custompaper/zqcustompaperdlg.h"
#include "pages/features/zqfeaturestab.h"
#include "pages/paperquality/zqpaperqualitypage.h"
#include "pages/paperquality/zqpaperqualityutil.h"
#include "pages/zqmodaldlg.h"
#include "res/zqpaperqualityids.h"
#include "res/zqpopupids.h"

using namespace zqpq;

namespace {

constexpr int kRecentSlots = 3;
constexpr int kMediaNameChars = 64;
constexpr int kCustomPapersShown = 20;
constexpr DWORD kUnitHelpId = 15566;

int Bounded(long lCount) { return lCount < 0 ? 0 : lCount > kRecentSlots ? kRecentSlots : static_cast<int>(lCount); }

PWSTR Slot(ZQUIDevmode& dm, int i) { return reinterpret_cast<PWSTR>(dm.aszRecentMediaTypes[i]); }

void PutSlot(ZQUIDevmode& dm, int i, PCWSTR pszName) { ZQCopyTextN(Slot(dm, i), kMediaNameChars, pszName, kMediaNameChars - 1); }

// Slots i take slot i + 1 from `from` to the last in use; the last takes the name.
void ShiftInto(ZQUIDevmode& dm, int iFrom, int iSlots, PCWSTR pszName) {
    for (int i = iFrom; i + 1 < iSlots; ++i) PutSlot(dm, i, Slot(dm, i + 1));
    PutSlot(dm, iSlots - 1, pszName);
}

// The first empty slot takes the name; false when every slot is taken.
bool PutInFreeSlot(ZQUIDevmode& dm, int iSlots, PCWSTR pszName) {
    for (int i = 0; i < iSlots; ++i) {
        if (Slot(dm, i)[0]) continue;
        PutSlot(dm, i, pszName);
        return true;
    }
    return false;
}

void SelectExact(HWND hCombo, PCWSTR pszText) {
    LRESULT entry = pszText ? SendMessageW(hCombo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                           reinterpret_cast<LPARAM>(pszText))
                            : CB_ERR;
    SendMessageW(hCombo, CB_SETCURSEL, entry == CB_ERR ? 0 : static_cast<WPARAM>(entry), 0);
}

// The item's option of that display name is selected and reported to the core driver as it is,
// without the changed flag; a conflict mark is lifted for the report only.
BOOL SelectByName(PageContext* pContext, BYTE bPubId, PCWSTR pszName) {
    const POEMCUIPPARAM param = pContext && pContext->pLogic ? pContext->pLogic->Param() : nullptr;
    if (!param || !param->poemuiobj || !pszName) return FALSE;
    POPTITEM item = PubItem(param, bPubId);
    if (!item) return FALSE;
    for (int i = 0; i < CZQCommon::IGetOptionCount(item); ++i) {
        PCWSTR name = OptionName(item, i);
        if (!name || lstrcmpW(name, pszName) != 0) continue;
        item->Sel = i;
        POPTPARAM option = CZQCommon::PGetOptionParam(item, i);
        const bool marked = option->Flags & OPTPF_OVERLAY_WARNING_ICON;
        if (marked) option->Flags &= ~OPTPF_OVERLAY_WARNING_ICON;
        if (param->poemuiobj->pOemUIProcs)
            param->poemuiobj->pOemUIProcs->DrvUpdateUISetting(param->poemuiobj, item, 0, OEMCUIP_DOCPROP);
        if (marked) option->Flags |= OPTPF_OVERLAY_WARNING_ICON;
        return TRUE;
    }
    return FALSE;
}

CZQPaperQualityTab* PageOf(const PageContext* pContext) {
    return pContext ? static_cast<CZQPaperQualityTab*>(pContext->pPage) : nullptr;
}

// The context a pop-up keeps; last error 13 without it or its page.
PageContext* PopupContext(HWND hDlg) {
    auto* context = reinterpret_cast<PageContext*>(GetWindowLongPtrW(hDlg, DWLP_USER));
    if (!PageOf(context)) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    return context;
}

void ShowHelp(HWND hWnd, UINT uCommand, const CZQPaperQualityTab* pPage, const DWORD* pdwTable) {
    ZQShowDialogHelp(hWnd, uCommand, pPage->CUIParam(), pdwTable);
}

// A tree's selected item's text (64 characters); empty without one.
void SelectedTreeText(HWND hTree, PWSTR pszText) {
    pszText[0] = 0;
    auto item = reinterpret_cast<HTREEITEM>(SendMessageW(hTree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    if (!item) return;
    TVITEMW tv = {};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = pszText;
    tv.cchTextMax = kMediaNameChars;
    if (!SendMessageW(hTree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv))) pszText[0] = 0;
}

// The large-format printer's own papers under "Custom": the first twenty that have a text.
void AddCustomPapers(HWND hTree, PageContext* pContext, CZQPaperQualityTab* pPage) {
    if (!pContext->pPlugin || !pContext->pLogic->BIsLargeFormat()) return;
    const PaperList& papers = pContext->pPlugin->Papers();
    if (!papers.dwCount || !papers.pEntries) return;
    WCHAR custom[CZQCommon::kResStringChars];
    if (!pPage->BLoadResString(1018, custom)) ZQCopyText(custom, CZQCommon::kResStringChars, L"Custom");
    HTREEITEM branch = CZQUIBase::HInsertTreeItem(hTree, custom, 2);
    int shown = 0;
    for (DWORD i = 0; i < papers.dwCount && shown < kCustomPapersShown; ++i) {
        if (!papers.pEntries[i].szText[0]) continue;
        CZQUIBase::HInsertTreeItem(hTree, papers.pEntries[i].szName, 3);
        ++shown;
    }
    if (branch) SendMessageW(hTree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(branch));
}

void FillPaperTree(HWND hDlg, PageContext* pContext, CZQPaperQualityTab* pPage) {
    HWND tree = GetDlgItem(hDlg, IDC_TREE_PAPERSIZE_POPUP);
    pContext->pRules->BFillPaperSizeTree(tree, pPage->CUIParam(), &CZQCustomPaperDlg::BFindForm);
    SendMessageW(tree, WM_VSCROLL, SB_TOP, 0);
}

// The unit the tree offers, kept in "ZQPaperSizeTreeviewPopup" whatever the dialog's end.
void SwitchUnit(HWND hDlg, PageContext* pContext, CZQPaperQualityTab* pPage, PCWSTR pszUnit) {
    const POEMCUIPPARAM param = pPage->CUIParam();
    POPTITEM item = FeatureItem(param, zqkw::kZQPaperSizeTreeviewPopup);
    const int count = CZQCommon::IGetOptionCount(item);
    int option = count;
    for (int i = 0; i < count; ++i) {
        PCWSTR name = OptionName(item, i);
        if (name && lstrcmpW(name, pszUnit) == 0) {
            option = i;
            break;
        }
    }
    CZQCommon::DWSelectOptionByIndex(param, zqkw::kZQPaperSizeTreeviewPopup, option, OEMCUIP_DOCPROP);
    SendMessageW(GetDlgItem(hDlg, IDC_TREE_PAPERSIZE_POPUP), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    FillPaperTree(hDlg, pContext, pPage);
}

// The context a pop-up starts with: it needs its page, rules and logic (last error 13 without).
PageContext* StartContext(LPARAM lParam) {
    auto* context = reinterpret_cast<PageContext*>(lParam);
    if (!PageOf(context) || !context->pRules || !context->pLogic) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    return context;
}

// The context of a later message both pop-ups answer (commands and help). Without one the buttons
// still close the dialog, as Cancel, so that a pop-up opened without its rules never traps the user.
PageContext* LaterContext(HWND hDlg, UINT uMsg, WPARAM wParam) {
    if (uMsg != WM_COMMAND && uMsg != WM_HELP && uMsg != WM_CONTEXTMENU) return nullptr;
    PageContext* context = PopupContext(hDlg);
    if (!context && uMsg == WM_COMMAND && HIWORD(wParam) == 0 && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL))
        EndDialog(hDlg, 2);
    return context;
}

// WM_HELP on the control asked about, WM_CONTEXTMENU on the window clicked.
void OnHelp(UINT uMsg, WPARAM wParam, LPARAM lParam, const CZQPaperQualityTab* pPage, const DWORD* pdwTable) {
    if (uMsg == WM_HELP && lParam)
        ShowHelp(static_cast<HWND>(reinterpret_cast<const HELPINFO*>(lParam)->hItemHandle), HELP_WM_HELP, pPage,
                 pdwTable);
    else if (uMsg == WM_CONTEXTMENU)
        ShowHelp(reinterpret_cast<HWND>(wParam), HELP_CONTEXTMENU, pPage, pdwTable);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Slots and selection by display name
// ---------------------------------------------------------------------------------------------
int CZQPaperQualityTab::IRecentMediaSlots(PageContext* pContext) {
    return pContext && pContext->pLogic ? Bounded(pContext->pLogic->IGetLqjMediaTreeviewCount()) : 0;
}

int CZQPaperQualityTab::IRecentPaperSlots(PageContext* pContext) {
    return pContext && pContext->pLogic ? Bounded(static_cast<long>(pContext->pLogic->DWGetLqjPaperTreeviewMode())) : 0;
}

BOOL CZQPaperQualityTab::BSelectMediaTypeByName(PageContext* pContext, PCWSTR pszName) {
    return SelectByName(pContext, DMPUB_MEDIATYPE, pszName);
}

BOOL CZQPaperQualityTab::BSelectPaperSizeByName(PageContext* pContext, PCWSTR pszName) {
    return SelectByName(pContext, DMPUB_FORMNAME, pszName);
}

// ---------------------------------------------------------------------------------------------
// Recent media types and the media-type short list
// ---------------------------------------------------------------------------------------------
void CZQPaperQualityTab::VUpdateRecentMediaTypes(PageContext* pContext, PCWSTR pszName) {
    HWND combo = HControl(kCtlMedia);
    ZQUIDevmode* work = WorkOf(pContext);
    const int slots = IRecentMediaSlots(pContext);
    if (m_bMediaTypePopup && pszName && pszName[0] && work && slots > 0) {
        const bool largeFormat = pContext->pLogic->BIsLargeFormat() != FALSE;
        const int entries = combo ? static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0)) : 0;
        WCHAR text[256];
        bool found = false;
        for (int i = 0; i + 1 < entries && !found; ++i) found = EntryText(combo, i, text) && lstrcmpW(text, pszName) == 0;
        for (int i = 0; i < slots && !found; ++i) found = Slot(*work, i)[0] && lstrcmpW(Slot(*work, i), pszName) == 0;
        bool full = false;
        if (!found || (largeFormat && m_iMediaPopupCancelled == 0)) full = !PutInFreeSlot(*work, slots, pszName);
        if (full && (!found || !largeFormat)) {
            ShiftInto(*work, 0, slots, pszName);
        } else if (full) {
            const int bound = entries - 1 < slots ? entries - 1 : slots;
            for (int k = 0; k < bound; ++k) {
                if (lstrcmpW(Slot(*work, k), pszName) != 0) continue;
                if (k != slots - 1) ShiftInto(*work, k, slots, pszName);
                break;
            }
        }
    }
    if (!combo) return;
    VFillMediaTypePopupList(combo, pContext);
    SelectExact(combo, pszName);
}

void CZQPaperQualityTab::VFillMediaTypePopupList(HWND hCombo, PageContext* pContext) {
    ZQUIDevmode* work = WorkOf(pContext);
    if (!m_bMediaTypePopup || !hCombo || !work) return;
    SendMessageW(hCombo, CB_RESETCONTENT, 0, 0);
    POPTITEM item = PubItem(m_pCUIParam, DMPUB_MEDIATYPE);
    const int count = IGetOptionCount(item);
    const PrinterCaps* caps = pContext->pCaps;
    PCWSTR current = nullptr;
    bool matched = false;
    if (caps && caps->pMediaIds) {
        for (DWORD i = 0; i < caps->dwMediaCount && static_cast<int>(i) < count && !matched; ++i) {
            if (caps->pMediaIds[i] != work->dwDefaultMediaId) continue;
            matched = true;
            current = OptionName(item, static_cast<int>(i));
        }
    }
    if (!matched) current = OptionName(item, 0);
    if (current && (!matched || !Readable(m_pCUIParam, zqkw::kZQLQJMediaTypeTreeviewCount)))
        SendMessageW(hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(current));

    // The recent types in the driver's order; a name the list shows already is not shown twice.
    const int slots = IRecentMediaSlots(pContext);
    for (int i = 0; i < count; ++i) {
        PCWSTR name = OptionName(item, i);
        if (!name) continue;
        bool recent = false;
        for (int s = 0; s < slots && !recent; ++s) recent = lstrcmpW(Slot(*work, s), name) == 0;
        if (recent && SendMessageW(hCombo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                   reinterpret_cast<LPARAM>(name)) == CB_ERR)
            SendMessageW(hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    }

    // The list always shows the type the driver holds, also when no recent slot keeps it.
    PCWSTR selectedName = item ? OptionName(item, static_cast<int>(item->Sel)) : nullptr;
    if (selectedName &&
        SendMessageW(hCombo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(selectedName)) == CB_ERR)
        SendMessageW(hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(selectedName));

    if (pContext->pLogic->BIsLargeFormat() && BAddPaperCommandReady(pContext)) {
        WCHAR last[256];
        const int entries = static_cast<int>(SendMessageW(hCombo, CB_GETCOUNT, 0, 0));
        if (!EntryText(hCombo, entries - 1, last) || !ZQEqualNoCase(last, kAddCustomPaper))
            SendMessageW(hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kAddCustomPaper));
    }
    WCHAR more[kResStringChars];
    if (!BLoadResString(3119, more)) ZQCopyText(more, kResStringChars, L"More...");
    SendMessageW(hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(more));
    SelectExact(hCombo, selectedName);
}

// ---------------------------------------------------------------------------------------------
// The paper-size short list
// ---------------------------------------------------------------------------------------------
void CZQPaperQualityTab::VFillPaperSizePopupList(HWND hCombo, PageContext* pContext) {
    ZQUIDevmode* work = WorkOf(pContext);
    POPTITEM form = PubItem(m_pCUIParam, DMPUB_FORMNAME);
    if (!hCombo || !work || !form) return;
    CZQUILogic& logic = *pContext->pLogic;
    const bool largeFormat = logic.BIsLargeFormat() != FALSE;
    const PCWSTR feature = logic.PszFormFeature();
    WCHAR initial[256] = {};
    logic.VGetInitialFeatureOption(pContext->pPlugin, feature, initial);
    CZQLocalPtr<WCHAR> initialName;
    if (!initial[0] || DWOptionKeywordToName(m_pCUIParam, feature, initial, initialName.Put()) != ZQOPT_OK)
        initialName.Reset();
    PCWSTR selected = OptionName(form, static_cast<int>(form->Sel));
    if ((m_iPaperSizePopupState == 0 || !m_bFormUnchanged) && initialName && selected &&
        (lstrcmpW(initialName.Get(), selected) != 0 || largeFormat))
        VUpdateRecentPaperSizes(pContext);

    // The list is rebuilt whole each time, so that entries never pile up. On other printers the
    // current and recent sizes stand in alphabetical order before the fixed entries.
    SendMessageW(hCombo, CB_RESETCONTENT, 0, 0);
    PCWSTR sorted[1 + kRecentSlots] = {};
    int sortedCount = 0;
    if (initialName && selected && !largeFormat) sorted[sortedCount++] = initialName.Get();

    const int count = IGetOptionCount(form);
    const int idx = initial[0] ? IGetOptionIndexByKeyword(m_pCUIParam, initial, feature, form) : -1;
    const int slots = IRecentPaperSlots(pContext);
    for (int i = 0; i < slots; ++i) {
        int32_t& slot = work->aiRecentPaperSizes[i];
        // A document may bring any number: only the form's own positions count.
        if (slot < 0 || slot >= count) slot = -1;
        if (slot == -1) continue;
        PCWSTR name = OptionName(form, slot);
        if (!name || (slot == idx && !largeFormat)) continue;
        if (!largeFormat) {
            sorted[sortedCount++] = name;
        } else {
            const int entries = static_cast<int>(SendMessageW(hCombo, CB_GETCOUNT, 0, 0));
            SendMessageW(hCombo, CB_INSERTSTRING, static_cast<WPARAM>(i < entries ? i : entries),
                         reinterpret_cast<LPARAM>(name));
        }
    }
    for (int i = 1; i < sortedCount; ++i)
        for (int j = i; j > 0 && CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, sorted[j - 1], -1, sorted[j],
                                                -1) == CSTR_GREATER_THAN;
             --j) {
            PCWSTR swap = sorted[j];
            sorted[j] = sorted[j - 1];
            sorted[j - 1] = swap;
        }
    for (int i = 0; i < sortedCount; ++i)
        if (SendMessageW(hCombo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(sorted[i])) ==
            CB_ERR)
            SendMessageW(hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(sorted[i]));
    WCHAR text[kResStringChars];
    if (!BLoadResString(3119, text)) ZQCopyText(text, kResStringChars, L"More...");
    SendMessageW(hCombo, CB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text));
    if (Readable(m_pCUIParam, L"ZQConsumerCustomPaper")) {
        if (!BLoadResString(1018, text)) ZQCopyText(text, kResStringChars, L"Custom");
        SendMessageW(hCombo, CB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text));
    }
    SelectExact(hCombo, OptionName(form, static_cast<int>(form->Sel)));
}

void CZQPaperQualityTab::VRestoreMediaTypeSelection(HWND hCombo, PageContext*) {
    POPTITEM item = PubItem(m_pCUIParam, DMPUB_MEDIATYPE);
    if (m_bMediaTypePopup && hCombo) SelectExact(hCombo, item ? OptionName(item, static_cast<int>(item->Sel)) : nullptr);
}

void CZQPaperQualityTab::VRestorePaperSizeSelection(HWND hCombo, PageContext*) {
    POPTITEM item = PubItem(m_pCUIParam, DMPUB_FORMNAME);
    if (m_bPaperSizePopup && hCombo) SelectExact(hCombo, item ? OptionName(item, static_cast<int>(item->Sel)) : nullptr);
}

// ---------------------------------------------------------------------------------------------
// Texts and help of the pop-ups
// ---------------------------------------------------------------------------------------------
void CZQPaperQualityTab::VSetMediaPopupTexts(HWND hDlg) {
    BSetWindowTextRes(849, GetDlgItem(hDlg, IDOK), L"OK");
    BSetWindowTextRes(850, GetDlgItem(hDlg, IDCANCEL), L"Cancel");
    BSetWindowTextRes(3152, hDlg, L"Type is:");
}

void CZQPaperQualityTab::VGetPaperPopupHelpIds(HWND, DWORD* pdwTable, PageContext* pContext) {
    if (!pdwTable) return;
    int help = -1;
    if (pContext && pContext->pLogic)
        pContext->pLogic->IBindFeatureControl(DMPUB_FORMNAME, nullptr, nullptr, nullptr, OEMCUIP_DOCPROP,
                                              CZQUILogic::kBindHelp, FALSE, 0, &help);
    const DWORD pairs[2 * kPaperPopupHelpPairs] = {IDC_TREE_PAPERSIZE_POPUP, help > 0 ? static_cast<DWORD>(help) : 0,
                                                   IDC_SB_DISPLAYIS, kUnitHelpId, IDC_RB_ENGLISH, kUnitHelpId,
                                                   IDC_RB_METRIC, kUnitHelpId, 0, 0};
    for (int i = 0; i < 2 * kPaperPopupHelpPairs; ++i) pdwTable[i] = pairs[i];
}

// ---------------------------------------------------------------------------------------------
// The tree dialogs
// ---------------------------------------------------------------------------------------------
INT_PTR CALLBACK MediaTypePopupDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (uMsg == WM_INITDIALOG) {
        PageContext* context = StartContext(lParam);
        if (!context) return FALSE;
        CZQPaperQualityTab* page = PageOf(context);
        page->VSetMediaPopupTexts(hDlg);
        HWND tree = GetDlgItem(hDlg, IDC_TREE_MEDIATYPE_POPUP);
        context->pRules->BFillMediaTypeTree(tree, page->CUIParam());
        AddCustomPapers(tree, context, page);
        SetWindowLongPtrW(hDlg, DWLP_USER, reinterpret_cast<LONG_PTR>(context));
        return FALSE;
    }
    PageContext* context = LaterContext(hDlg, uMsg, wParam);
    if (!context) return FALSE;
    CZQPaperQualityTab* page = PageOf(context);
    const bool largeFormat = context->pLogic && context->pLogic->BIsLargeFormat();
    if (uMsg == WM_COMMAND) {
        if (HIWORD(wParam) != 0) return FALSE;
        if (LOWORD(wParam) == IDOK) {
            WCHAR name[kMediaNameChars];
            SelectedTreeText(GetDlgItem(hDlg, IDC_TREE_MEDIATYPE_POPUP), name);
            if (largeFormat) page->VSetMediaPopupCancelled(0);
            if (page->BSelectMediaTypeByName(context, name)) page->VUpdateRecentMediaTypes(context, name);
            EndDialog(hDlg, 1);
        } else if (LOWORD(wParam) == IDCANCEL) {
            if (largeFormat) page->VSetMediaPopupCancelled(1);
            EndDialog(hDlg, 2);
        }
        return FALSE;
    }
    DWORD table[2 * CZQFeaturesTab::kMediaPopupHelpPairs] = {};
    CZQFeaturesTab::VGetMediaPopupHelpIds(hDlg, table, context);
    OnHelp(uMsg, wParam, lParam, page, table);
    return FALSE;
}

INT_PTR CALLBACK PaperSizePopupDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (uMsg == WM_INITDIALOG) {
        PageContext* context = StartContext(lParam);
        if (!context) return FALSE;
        CZQPaperQualityTab* page = PageOf(context);
        page->BSetWindowTextRes(849, GetDlgItem(hDlg, IDOK), L"OK");
        page->BSetWindowTextRes(850, GetDlgItem(hDlg, IDCANCEL), L"Cancel");
        if (context->pLogic->BHasLqjPaperSizeTreeview()) {
            SetWindowTextW(hDlg, L"Document Size: ");
            SetDlgItemTextW(hDlg, IDC_SB_DISPLAYIS, L"Document Size:");
        } else {
            page->BSetWindowTextRes(5059, hDlg, L"Size is:");
            page->BSetWindowTextRes(5048, GetDlgItem(hDlg, IDC_RB_METRIC), L"Metric");
            page->BSetWindowTextRes(5049, GetDlgItem(hDlg, IDC_RB_ENGLISH), L"English");
            page->BSetWindowTextRes(5078, GetDlgItem(hDlg, IDC_SB_DISPLAYIS), L"Display only :");
            POPTITEM item = FeatureItem(page->CUIParam(), zqkw::kZQPaperSizeTreeviewPopup);
            PCWSTR name = item ? OptionName(item, static_cast<int>(item->Sel)) : nullptr;
            if (name && lstrcmpW(name, L"English") == 0) {
                CheckDlgButton(hDlg, IDC_RB_ENGLISH, BST_CHECKED);
                CheckDlgButton(hDlg, IDC_RB_METRIC, BST_UNCHECKED);
            } else if (name && lstrcmpW(name, L"Metric") == 0) {
                CheckDlgButton(hDlg, IDC_RB_METRIC, BST_CHECKED);
                CheckDlgButton(hDlg, IDC_RB_ENGLISH, BST_UNCHECKED);
            }
        }
        FillPaperTree(hDlg, context, page);
        SetWindowLongPtrW(hDlg, DWLP_USER, reinterpret_cast<LONG_PTR>(context));
        return FALSE;
    }
    PageContext* context = LaterContext(hDlg, uMsg, wParam);
    if (!context) return FALSE;
    CZQPaperQualityTab* page = PageOf(context);
    if (uMsg == WM_COMMAND) {
        if (HIWORD(wParam) != 0) return FALSE;
        switch (LOWORD(wParam)) {
            case IDC_RB_ENGLISH:
                if (IsDlgButtonChecked(hDlg, IDC_RB_ENGLISH) == BST_CHECKED && context->pRules)
                    SwitchUnit(hDlg, context, page, L"English");
                break;
            case IDC_RB_METRIC:
                if (IsDlgButtonChecked(hDlg, IDC_RB_METRIC) == BST_CHECKED && context->pRules)
                    SwitchUnit(hDlg, context, page, L"Metric");
                break;
            case IDOK: {
                WCHAR name[kMediaNameChars];
                SelectedTreeText(GetDlgItem(hDlg, IDC_TREE_PAPERSIZE_POPUP), name);
                page->BSelectPaperSizeByName(context, name);
                EndDialog(hDlg, 1);
                break;
            }
            case IDCANCEL: EndDialog(hDlg, 2); break;
            default: break;
        }
        return FALSE;
    }
    DWORD table[2 * CZQPaperQualityTab::kPaperPopupHelpPairs] = {};
    page->VGetPaperPopupHelpIds(hDlg, table, context);
    OnHelp(uMsg, wParam, lParam, page, table);
    return FALSE;
}
