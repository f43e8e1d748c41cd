#include "pages/parts/zqtreepopups.h"

#include <commctrl.h>

#include "common/zqkeywords.h"
#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"
#include "pages/dialogs/zqcustompaperdlg.h"
#include "pages/zqpapernames.h"
#include "pages/dialogs/zqmodaldlg.h"
#include "pages/zqpageitems.h"
#include "res/zqpopupids.h"
#include "xmlrules/zqxmluirules.h"

using namespace zqpage;

namespace {

using Modal = CZQModalDialog<CZQTreePopups>;

constexpr int kCustomPapersShown = 20;
constexpr DWORD kUnitHelpId = 15566;

int Bounded(long lCount) {
    return lCount < 0 ? 0 : lCount > CZQTreePopups::kRecentSlots ? CZQTreePopups::kRecentSlots : static_cast<int>(lCount);
}

void PutSlot(ZQUIDevmode& dm, int i, PCWSTR pszName) {
    ZQCopyTextN(CZQTreePopups::PszRecentMedia(dm, i), CZQTreePopups::kMediaNameChars, pszName,
                CZQTreePopups::kMediaNameChars - 1);
}

// The large-format printer's own papers under "Custom": the first twenty that have a text.
void AddCustomPapers(HWND hTree, PageContext* pContext, CZQUIBase& texts) {
    if (!pContext->pPapers || !pContext->pLogic->BIsLargeFormat()) return;
    const PaperList& papers = *pContext->pPapers;
    if (!papers.dwCount || !papers.pEntries) return;
    WCHAR custom[CZQCommon::kResStringChars];
    if (!texts.BLoadResString(1018, custom)) ZQCopyText(custom, CZQCommon::kResStringChars, L"Custom");
    HTREEITEM branch = CZQUIBase::HInsertTreeItem(hTree, custom, 2);
    int shown = 0;
    for (DWORD i = 0; i < papers.dwCount && shown < kCustomPapersShown; ++i) {
        if (!papers.pEntries[i].szText[0]) continue;
        CZQUIBase::HInsertTreeItem(hTree, papers.pEntries[i].szName, 3);
        ++shown;
    }
    if (branch) SendMessageW(hTree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(branch));
}

// The first entry under hFirst and its siblings, depth first, whose text is pszName and that heads
// nothing (a heading of the same name is no choice).
HTREEITEM FindEntry(HWND hTree, HTREEITEM hFirst, PCWSTR pszName) {
    for (HTREEITEM item = hFirst; item;
         item = reinterpret_cast<HTREEITEM>(SendMessageW(hTree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
        const auto child =
            reinterpret_cast<HTREEITEM>(SendMessageW(hTree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
        if (child) {
            if (HTREEITEM found = FindEntry(hTree, child, pszName)) return found;
            continue;
        }
        WCHAR text[CZQTreePopups::kMediaNameChars] = {};
        TVITEMW tv = {};
        tv.mask = TVIF_TEXT;
        tv.hItem = item;
        tv.pszText = text;
        tv.cchTextMax = CZQTreePopups::kMediaNameChars;
        if (SendMessageW(hTree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv)) && lstrcmpW(text, pszName) == 0) return item;
    }
    return nullptr;
}

void FillPaperTree(HWND hDlg, PageContext* pContext, POEMCUIPPARAM pParam) {
    HWND tree = GetDlgItem(hDlg, IDC_TREE_PAPERSIZE_POPUP);
    pContext->pRules->BFillPaperSizeTree(tree, pParam, &CZQCustomPaperDlg::BFindForm);
    // The tree opens at its top with no size chosen: OK without a pick keeps the paper.
    SendMessageW(tree, WM_VSCROLL, SB_TOP, 0);
}

// The unit the tree offers, kept in "ZQPaperSizeTreeviewPopup" whatever the dialog's end.
void SwitchUnit(HWND hDlg, PageContext* pContext, POEMCUIPPARAM pParam, PCWSTR pszUnit) {
    POPTITEM item = FeatureItem(pParam, zqkw::kZQPaperSizeTreeviewPopup);
    const int count = CZQCommon::IGetOptionCount(item);
    int option = count;
    for (int i = 0; i < count; ++i) {
        PCWSTR name = OptionName(item, i);
        if (name && lstrcmpW(name, pszUnit) == 0) {
            option = i;
            break;
        }
    }
    CZQCommon::DWSelectOptionByIndex(pParam, zqkw::kZQPaperSizeTreeviewPopup, option, OEMCUIP_DOCPROP);
    SendMessageW(GetDlgItem(hDlg, IDC_TREE_PAPERSIZE_POPUP), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    FillPaperTree(hDlg, pContext, pParam);
}

// The context a tree starts with: it needs its object, the context's page, rules and logic (last
// error 13 without).
PageContext* StartContext(HWND hDlg, LPARAM lParam) {
    auto* context = reinterpret_cast<PageContext*>(lParam);
    if (!Modal::Join(hDlg) || !context || !context->pPage || !context->pRules || !context->pLogic) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    return context;
}

// The context of a later message both trees answer (commands and help). Without one the buttons
// still close the dialog, as Cancel, so that a tree opened without its rules never traps the user.
PageContext* LaterContext(HWND hDlg, UINT uMsg, WPARAM wParam) {
    if (uMsg != WM_COMMAND && uMsg != WM_HELP && uMsg != WM_CONTEXTMENU) return nullptr;
    auto* context = reinterpret_cast<PageContext*>(GetWindowLongPtrW(hDlg, DWLP_USER));
    if (!context || !context->pPage || !Modal::Of(hDlg)) {
        SetLastError(ERROR_INVALID_DATA);
        if (uMsg == WM_COMMAND && HIWORD(wParam) == 0 && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL))
            EndDialog(hDlg, 2);
        return nullptr;
    }
    return context;
}

// WM_HELP on the control asked about, WM_CONTEXTMENU on the window clicked.
void OnHelp(UINT uMsg, WPARAM wParam, LPARAM lParam, POEMCUIPPARAM pParam, const DWORD* pdwTable) {
    if (uMsg == WM_HELP && lParam)
        ZQShowDialogHelp(static_cast<HWND>(reinterpret_cast<const HELPINFO*>(lParam)->hItemHandle), HELP_WM_HELP,
                         pParam, pdwTable);
    else if (uMsg == WM_CONTEXTMENU)
        ZQShowDialogHelp(reinterpret_cast<HWND>(wParam), HELP_CONTEXTMENU, pParam, pdwTable);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Opening the trees
// ---------------------------------------------------------------------------------------------
INT_PTR CZQTreePopups::IRunMediaTypes(HWND hOwner, PageContext* pContext, CZQUIBase& owner, BOOL bRightToLeft) {
    const POEMCUIPPARAM param = owner.CUIParam();
    if (!param) {
        SetLastError(ERROR_INVALID_DATA);
        return -1;
    }
    m_pOwner = &owner;
    m_bChoseMedia = FALSE;
    m_szChosenMedia[0] = 0;
    const INT_PTR result = Modal::IRun(
        this, static_cast<HINSTANCE>(param->hModule),
        bRightToLeft ? IDD_DLG_MEDIATYPE_TREEVIEW_POPUP_RTL : IDD_DLG_MEDIATYPE_TREEVIEW_POPUP, hOwner,
        &MediaTypePopupDlgProc, reinterpret_cast<LPARAM>(pContext));
    m_pOwner = nullptr;
    return result;
}

INT_PTR CZQTreePopups::IRunPaperSizes(HWND hOwner, PageContext* pContext, CZQUIBase& owner, BOOL bLargeFormatTree,
                                      BOOL bRightToLeft) {
    const POEMCUIPPARAM param = owner.CUIParam();
    if (!param) {
        SetLastError(ERROR_INVALID_DATA);
        return -1;
    }
    const WORD id = bLargeFormatTree
                        ? (bRightToLeft ? IDD_DLG_LQJ_PAPERSIZE_TREEVIEW_POPUP_RTL : IDD_DLG_LQJ_PAPERSIZE_TREEVIEW_POPUP)
                        : (bRightToLeft ? IDD_DLG_PAPERSIZE_TREEVIEW_POPUP_RTL : IDD_DLG_PAPERSIZE_TREEVIEW_POPUP);
    m_pOwner = &owner;
    const INT_PTR result = Modal::IRun(this, static_cast<HINSTANCE>(param->hModule), id, hOwner,
                                       &PaperSizePopupDlgProc, reinterpret_cast<LPARAM>(pContext));
    m_pOwner = nullptr;
    if (bLargeFormatTree) m_iPaperSizeState = result == 1 ? 0 : 1;
    return result;
}

// ---------------------------------------------------------------------------------------------
// Selection by display name and the recent lists
// ---------------------------------------------------------------------------------------------
BOOL CZQTreePopups::BSelectByName(PageContext* pContext, BYTE bPubId, PCWSTR pszName) {
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
        CZQCommon::BReportItem(param, item, 0, OEMCUIP_DOCPROP);
        if (marked) option->Flags |= OPTPF_OVERLAY_WARNING_ICON;
        return TRUE;
    }
    return FALSE;
}

BOOL CZQTreePopups::BSelectPaperSizeByName(PageContext* pContext, PCWSTR pszName) {
    return BSelectByName(pContext, DMPUB_FORMNAME, pszName);
}

int CZQTreePopups::IRecentMediaSlots(PageContext* pContext) {
    return pContext && pContext->pLogic ? Bounded(pContext->pLogic->IGetLqjMediaTreeviewCount()) : 0;
}

int CZQTreePopups::IRecentPaperSlots(PageContext* pContext) {
    return pContext && pContext->pLogic ? Bounded(static_cast<long>(pContext->pLogic->DWGetLqjPaperTreeviewMode())) : 0;
}

PWSTR CZQTreePopups::PszRecentMedia(ZQUIDevmode& dm, int iSlot) {
    return reinterpret_cast<PWSTR>(dm.aszRecentMediaTypes[iSlot]);
}

bool CZQTreePopups::BPutRecentMedia(ZQUIDevmode& dm, int iSlots, PCWSTR pszName) {
    for (int i = 0; i < iSlots; ++i) {
        if (PszRecentMedia(dm, i)[0]) continue;
        PutSlot(dm, i, pszName);
        return true;
    }
    return false;
}

void CZQTreePopups::VShiftRecentMedia(ZQUIDevmode& dm, int iFrom, int iSlots, PCWSTR pszName) {
    for (int i = iFrom; i + 1 < iSlots; ++i) PutSlot(dm, i, PszRecentMedia(dm, i + 1));
    PutSlot(dm, iSlots - 1, pszName);
}

void CZQTreePopups::VUpdateRecentPapers(PageContext* pContext, POPTITEM pForm, HWND hList) {
    ZQUIDevmode* work = WorkOf(pContext);
    const int slots = IRecentPaperSlots(pContext);
    if (!work || !pForm || slots == 0) return;
    int32_t* recent = work->aiRecentPaperSizes;
    const int count = CZQCommon::IGetOptionCount(pForm);
    // Numbers that are no position of the form (a document may bring any) leave the list.
    for (int i = 0; i < slots;) {
        if (recent[i] == -1 || (recent[i] >= 0 && recent[i] < count)) {
            ++i;
            continue;
        }
        for (int j = i; j + 1 < slots; ++j) recent[j] = recent[j + 1];
        recent[slots - 1] = -1;
    }
    if (!hList || SendMessageW(hList, CB_GETCOUNT, 0, 0) <= 0) return;
    const int current = static_cast<int>(pForm->Sel);
    PCWSTR name = OptionName(pForm, current);
    const bool listed = name && SendMessageW(hList, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                             reinterpret_cast<LPARAM>(name)) != CB_ERR;
    int from = slots - 1;
    if (listed) {
        from = 0;
        for (int i = 0; i < slots; ++i)
            if (recent[i] == current) {
                from = i;
                break;
            }
    }
    const int32_t front = listed ? recent[from] : current;
    for (int i = from; i > 0; --i) recent[i] = recent[i - 1];
    recent[0] = front;
}

void CZQTreePopups::VAddPaperListEnd(CZQCommon& texts, HWND hCombo, POEMCUIPPARAM pParam, PCWSTR pszMoreEnglish) {
    WCHAR text[CZQCommon::kResStringChars] = {};
    if (!texts.BLoadResString(3119, text) && pszMoreEnglish)
        ZQCopyText(text, CZQCommon::kResStringChars, pszMoreEnglish);
    if (text[0]) SendMessageW(hCombo, CB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text));
    if (Readable(pParam, L"ZQConsumerCustomPaper")) {
        if (!texts.BLoadResString(1018, text)) ZQCopyText(text, CZQCommon::kResStringChars, L"Custom");
        SendMessageW(hCombo, CB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text));
    }
}

void CZQTreePopups::VSelectedTreeText(HWND hTree, PWSTR pszText) {
    pszText[0] = 0;
    auto item = reinterpret_cast<HTREEITEM>(SendMessageW(hTree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    if (!item) return;
    TVITEMW tv = {};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = pszText;
    tv.cchTextMax = CZQTreePopups::kMediaNameChars;
    if (!SendMessageW(hTree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv))) pszText[0] = 0;
}

void CZQTreePopups::VShowCurrent(HWND hTree, POEMCUIPPARAM pParam, BYTE bPubId) {
    const POPTITEM item = PubItem(pParam, bPubId);
    PCWSTR name = item ? OptionName(item, static_cast<int>(item->Sel)) : nullptr;
    const auto root = reinterpret_cast<HTREEITEM>(SendMessageW(hTree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    HTREEITEM current = name && name[0] ? FindEntry(hTree, root, name) : nullptr;
    if (!current) {
        SendMessageW(hTree, WM_VSCROLL, SB_TOP, 0);
        return;
    }
    SendMessageW(hTree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(current));
    SendMessageW(hTree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(current));
}

void CZQTreePopups::VSelectExact(HWND hCombo, PCWSTR pszText) {
    LRESULT entry = pszText ? SendMessageW(hCombo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                           reinterpret_cast<LPARAM>(pszText))
                            : CB_ERR;
    SendMessageW(hCombo, CB_SETCURSEL, entry == CB_ERR ? 0 : static_cast<WPARAM>(entry), 0);
}

// ---------------------------------------------------------------------------------------------
// Texts and help of the trees
// ---------------------------------------------------------------------------------------------
void CZQTreePopups::VSetMediaPopupTexts(CZQUIBase& texts, HWND hDlg) {
    texts.BSetWindowTextRes(849, GetDlgItem(hDlg, IDOK), L"OK");
    texts.BSetWindowTextRes(850, GetDlgItem(hDlg, IDCANCEL), L"Cancel");
    texts.BSetWindowTextRes(3152, hDlg, L"Type is:");
}

void CZQTreePopups::VGetPaperPopupHelpIds(DWORD* pdwTable, PageContext* pContext) {
    if (!pdwTable) return;
    int help = -1;
    if (pContext && pContext->pLogic)
        pContext->pLogic->IBindFeatureControl(DMPUB_FORMNAME, nullptr, nullptr, nullptr, OEMCUIP_DOCPROP,
                                              CZQUILogic::kBindHelp, FALSE, 0, &help);
    const DWORD pairs[2 * kPaperHelpPairs] = {IDC_TREE_PAPERSIZE_POPUP, help > 0 ? static_cast<DWORD>(help) : 0,
                                              IDC_SB_DISPLAYIS, kUnitHelpId, IDC_RB_ENGLISH, kUnitHelpId,
                                              IDC_RB_METRIC, kUnitHelpId, 0, 0};
    for (int i = 0; i < 2 * kPaperHelpPairs; ++i) pdwTable[i] = pairs[i];
}

void CZQTreePopups::VGetMediaPopupHelpIds(DWORD* pdwTable, PageContext* pContext) {
    if (!pdwTable) return;
    pdwTable[0] = IDC_TREE_MEDIATYPE_POPUP;
    pdwTable[1] = 0;
    pdwTable[2] = pdwTable[3] = 0;
    if (!pContext || !pContext->pLogic) return;
    int help = -1;
    pContext->pLogic->IBindFeatureControl(DMPUB_MEDIATYPE, nullptr, nullptr, nullptr, OEMCUIP_DOCPROP,
                                          CZQUILogic::kBindHelp, FALSE, 0, &help);
    pdwTable[1] = help > 0 ? static_cast<DWORD>(help) : 0;
}

// ---------------------------------------------------------------------------------------------
// The tree dialogs
// ---------------------------------------------------------------------------------------------
INT_PTR CALLBACK MediaTypePopupDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (uMsg == WM_INITDIALOG) {
        PageContext* context = StartContext(hDlg, lParam);
        if (!context) return FALSE;
        CZQUIBase& owner = *Modal::Of(hDlg)->m_pOwner;
        CZQTreePopups::VSetMediaPopupTexts(owner, hDlg);
        HWND tree = GetDlgItem(hDlg, IDC_TREE_MEDIATYPE_POPUP);
        context->pRules->BFillMediaTypeTree(tree, owner.CUIParam());
        AddCustomPapers(tree, context, owner);
        SetWindowLongPtrW(hDlg, DWLP_USER, reinterpret_cast<LONG_PTR>(context));
        return FALSE;
    }
    PageContext* context = LaterContext(hDlg, uMsg, wParam);
    if (!context) return FALSE;
    CZQTreePopups& popups = *Modal::Of(hDlg);
    const bool largeFormat = context->pLogic && context->pLogic->BIsLargeFormat();
    if (uMsg == WM_COMMAND) {
        if (HIWORD(wParam) != 0) return FALSE;
        if (LOWORD(wParam) == IDOK) {
            WCHAR name[CZQTreePopups::kMediaNameChars];
            CZQTreePopups::VSelectedTreeText(GetDlgItem(hDlg, IDC_TREE_MEDIATYPE_POPUP), name);
            if (largeFormat) popups.m_iMediaCancelled = 0;
            // The page takes the chosen type into its recent list once the tree is closed.
            popups.m_bChoseMedia = CZQTreePopups::BSelectByName(context, DMPUB_MEDIATYPE, name);
            ZQCopyText(popups.m_szChosenMedia, CZQTreePopups::kMediaNameChars, name);
            EndDialog(hDlg, 1);
        } else if (LOWORD(wParam) == IDCANCEL) {
            if (largeFormat) popups.m_iMediaCancelled = 1;
            EndDialog(hDlg, 2);
        }
        return FALSE;
    }
    DWORD table[2 * CZQTreePopups::kMediaHelpPairs] = {};
    CZQTreePopups::VGetMediaPopupHelpIds(table, context);
    OnHelp(uMsg, wParam, lParam, popups.m_pOwner ? popups.m_pOwner->CUIParam() : nullptr, table);
    return FALSE;
}

INT_PTR CALLBACK PaperSizePopupDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (uMsg == WM_INITDIALOG) {
        PageContext* context = StartContext(hDlg, lParam);
        if (!context) return FALSE;
        CZQUIBase& owner = *Modal::Of(hDlg)->m_pOwner;
        owner.BSetWindowTextRes(849, GetDlgItem(hDlg, IDOK), L"OK");
        owner.BSetWindowTextRes(850, GetDlgItem(hDlg, IDCANCEL), L"Cancel");
        if (context->pLogic->BHasLqjPaperSizeTreeview()) {
            SetWindowTextW(hDlg, L"Document Size: ");
            SetDlgItemTextW(hDlg, IDC_SB_DISPLAYIS, L"Document Size:");
        } else {
            owner.BSetWindowTextRes(5059, hDlg, L"Size is:");
            owner.BSetWindowTextRes(5048, GetDlgItem(hDlg, IDC_RB_METRIC), L"Metric");
            owner.BSetWindowTextRes(5049, GetDlgItem(hDlg, IDC_RB_ENGLISH), L"English");
            owner.BSetWindowTextRes(5078, GetDlgItem(hDlg, IDC_SB_DISPLAYIS), L"Display only :");
            POPTITEM item = FeatureItem(owner.CUIParam(), zqkw::kZQPaperSizeTreeviewPopup);
            PCWSTR name = item ? OptionName(item, static_cast<int>(item->Sel)) : nullptr;
            if (name && lstrcmpW(name, L"English") == 0) {
                CheckDlgButton(hDlg, IDC_RB_ENGLISH, BST_CHECKED);
                CheckDlgButton(hDlg, IDC_RB_METRIC, BST_UNCHECKED);
            } else if (name && lstrcmpW(name, L"Metric") == 0) {
                CheckDlgButton(hDlg, IDC_RB_METRIC, BST_CHECKED);
                CheckDlgButton(hDlg, IDC_RB_ENGLISH, BST_UNCHECKED);
            }
        }
        FillPaperTree(hDlg, context, owner.CUIParam());
        SetWindowLongPtrW(hDlg, DWLP_USER, reinterpret_cast<LONG_PTR>(context));
        return FALSE;
    }
    PageContext* context = LaterContext(hDlg, uMsg, wParam);
    if (!context) return FALSE;
    const CZQTreePopups& popups = *Modal::Of(hDlg);
    const POEMCUIPPARAM param = popups.m_pOwner ? popups.m_pOwner->CUIParam() : nullptr;
    if (uMsg == WM_COMMAND) {
        if (HIWORD(wParam) != 0) return FALSE;
        switch (LOWORD(wParam)) {
            case IDC_RB_ENGLISH:
                if (IsDlgButtonChecked(hDlg, IDC_RB_ENGLISH) == BST_CHECKED && context->pRules)
                    SwitchUnit(hDlg, context, param, L"English");
                break;
            case IDC_RB_METRIC:
                if (IsDlgButtonChecked(hDlg, IDC_RB_METRIC) == BST_CHECKED && context->pRules)
                    SwitchUnit(hDlg, context, param, L"Metric");
                break;
            case IDOK: {
                WCHAR name[CZQTreePopups::kMediaNameChars];
                CZQTreePopups::VSelectedTreeText(GetDlgItem(hDlg, IDC_TREE_PAPERSIZE_POPUP), name);
                CZQTreePopups::BSelectPaperSizeByName(context, name);
                EndDialog(hDlg, 1);
                break;
            }
            case IDCANCEL: EndDialog(hDlg, 2); break;
            default: break;
        }
        return FALSE;
    }
    DWORD table[2 * CZQTreePopups::kPaperHelpPairs] = {};
    CZQTreePopups::VGetPaperPopupHelpIds(table, context);
    OnHelp(uMsg, wParam, lParam, param, table);
    return FALSE;
}
