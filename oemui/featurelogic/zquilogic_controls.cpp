// CZQUILogic: binding combo boxes and check boxes of the pages to the core driver's items.
#include <cwchar>

#include "featurelogic/zquilogic.h"

namespace {

enum : int { kBindOk = 0, kBindNotFound = 2, kBindNoSelection = 3, kBindFailed = 5, kBindFallback = 6,
             kBindHidden = 10 };

bool IsListItem(const OPTITEM* item) {
    if (!item || !item->pOptType || !item->pOptType->pOptParam) return false;
    switch (item->pOptType->Type) {
        case TVOT_2STATES:
        case TVOT_3STATES:
        case TVOT_LISTBOX:
        case TVOT_COMBOBOX: return true;
        default: return false;
    }
}

PCWSTR OptionName(const OPTITEM* item, int index) {
    if (!IsListItem(item) || index < 0 || index >= item->pOptType->Count) return nullptr;
    PCWSTR name = item->pOptType->pOptParam[index].pData;
    return name && !IS_INTRESOURCE(name) ? name : nullptr;
}

BYTE OptionFlags(const OPTITEM* item, int index) {
    if (!IsListItem(item) || index < 0 || index >= item->pOptType->Count) return 0;
    return item->pOptType->pOptParam[index].Flags;
}

// The option a combo entry stands for, by its text.
int EntryOption(HWND hCombo, const OPTITEM* item, LRESULT entry) {
    if (entry < 0) return -1;
    return CZQCommon::IComboItemToOptionIndex(static_cast<int>(entry), hCombo, item);
}

}  // namespace

int CZQUILogic::IBindFeatureControl(BYTE bPubId, PCWSTR pszFeature, HWND hCtrl, int* piChanged, DWORD dwMode,
                                    int iAction, BOOL bCheckBox, int iOldValue, int* piValue) {
    if (piValue) *piValue = -1;
    POPTITEM item = nullptr;
    const DWORD found = bPubId ? DWFindOptItemByPubId(m_pCUIParam, bPubId, 0, &item)
                               : DWFindOptItem(m_pCUIParam, pszFeature, &item);
    if (found != ZQOPT_OK || !item) return found == ZQOPT_NOT_FOUND ? kBindNotFound : kBindFailed;

    switch (iAction) {
        case kBindFlags:
            if (piValue) *piValue = static_cast<int>(item->Flags);
            return kBindOk;
        case kBindHelp:
            if (piValue) *piValue = static_cast<int>(item->HelpIndex);
            return kBindOk;
        default: break;
    }
    const bool hidden = (item->Flags & OPTIF_HIDE) != 0;

    if (bCheckBox) {
        switch (iAction) {
            case kBindFill:
            case kBindFillFree: return hidden ? kBindHidden : kBindOk;
            case kBindShow:
                if (!hCtrl) return kBindFailed;
                SendMessageW(hCtrl, BM_SETCHECK, item->Sel != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
                return hidden ? kBindHidden : kBindOk;
            case kBindApply: {
                if (!hCtrl) return kBindFailed;
                const LONG sel = SendMessageW(hCtrl, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
                const DWORD status = bPubId ? DWSelectPubOption(m_pCUIParam, bPubId, 0, sel)
                                            : DWSelectOptionByIndex(m_pCUIParam, pszFeature, sel, dwMode);
                return status == ZQOPT_OK ? kBindOk : kBindFailed;
            }
            case kBindCompare: {
                if (!hCtrl) return kBindFailed;
                const int value = SendMessageW(hCtrl, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
                if (piChanged && value != iOldValue) *piChanged = 1;
                return kBindOk;
            }
            default: return kBindFailed;
        }
    }

    if (!hCtrl || !IsListItem(item)) return kBindFailed;
    switch (iAction) {
        case kBindFill:
        case kBindFillFree: {
            // The source list keeps the entry its page put first.
            if (item->DMPubID != DMPUB_DEFSOURCE) SendMessageW(hCtrl, CB_RESETCONTENT, 0, 0);
            const BYTE skip = iAction == kBindFill ? OPTPF_HIDE : (OPTPF_HIDE | OPTPF_OVERLAY_WARNING_ICON);
            for (int i = 0; i < item->pOptType->Count; ++i) {
                PCWSTR name = OptionName(item, i);
                if (!name || (OptionFlags(item, i) & skip)) continue;
                SendMessageW(hCtrl, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
            }
            return hidden ? kBindHidden : kBindOk;
        }
        case kBindShow: {
            PCWSTR name = OptionName(item, item->Sel);
            LRESULT entry = name ? SendMessageW(hCtrl, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                reinterpret_cast<LPARAM>(name))
                                 : CB_ERR;
            int result = kBindOk;
            if (entry < 0) {
                // The selection is not offered: the first option that is.
                for (int i = 0; i < item->pOptType->Count && entry < 0; ++i) {
                    PCWSTR other = OptionName(item, i);
                    if (!other || (OptionFlags(item, i) & (OPTPF_HIDE | OPTPF_OVERLAY_WARNING_ICON))) continue;
                    entry = SendMessageW(hCtrl, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>(other));
                }
                result = kBindFallback;
            }
            SendMessageW(hCtrl, CB_SETCURSEL, static_cast<WPARAM>(entry), 0);
            return hidden ? kBindHidden : result;
        }
        case kBindApply: {
            const int option = EntryOption(hCtrl, item, SendMessageW(hCtrl, CB_GETCURSEL, 0, 0));
            if (option < 0) return kBindNoSelection;
            const DWORD status = bPubId ? DWSelectPubOption(m_pCUIParam, bPubId, 0, option)
                                        : DWSelectOptionByIndex(m_pCUIParam, pszFeature, option, dwMode);
            return status == ZQOPT_OK ? kBindOk : kBindFailed;
        }
        case kBindCompare: {
            const int option = EntryOption(hCtrl, item, SendMessageW(hCtrl, CB_GETCURSEL, 0, 0));
            if (option < 0) return kBindNoSelection;
            if (piChanged && option != iOldValue) *piChanged = 1;
            return kBindOk;
        }
        default: return kBindFailed;
    }
}

int CZQUILogic::IDrawFeatureComboItem(BYTE bPubId, PCWSTR pszFeature, const DRAWITEMSTRUCT* pDraw, HWND hCombo) {
    if (!pDraw || !hCombo) return FALSE;
    if (pDraw->itemID == static_cast<UINT>(-1)) return TRUE;  // an empty combo: nothing to draw
    POPTITEM item = nullptr;
    if (bPubId) DWFindOptItemByPubId(m_pCUIParam, bPubId, 0, &item);
    else DWFindOptItem(m_pCUIParam, pszFeature, &item);

    WCHAR text[256] = {};
    const LRESULT len = SendMessageW(hCombo, CB_GETLBTEXTLEN, pDraw->itemID, 0);
    if (len >= 0 && len < 256) SendMessageW(hCombo, CB_GETLBTEXT, pDraw->itemID, reinterpret_cast<LPARAM>(text));
    const int option = item ? EntryOption(hCombo, item, static_cast<LRESULT>(pDraw->itemID)) : -1;
    const bool conflict = option >= 0 && (OptionFlags(item, option) & OPTPF_OVERLAY_WARNING_ICON);

    const bool selected = (pDraw->itemState & ODS_SELECTED) != 0;
    HDC hdc = pDraw->hDC;
    RECT rc = pDraw->rcItem;
    FillRect(hdc, &rc, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    const COLORREF oldText = SetTextColor(hdc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    const int oldMode = SetBkMode(hdc, TRANSPARENT);
    const int icon = GetSystemMetrics(SM_CXSMICON);
    RECT textRect = rc;
    textRect.left += 2;
    // The mark's column only in a list that shows a mark: other lists' texts stand where a plain
    // combo box's do, as their neighbours' in the same group. A mirrored box keeps the offset: its
    // mirrored drawing sets the text that much further out, and only with it does the text end
    // where a plain mirrored box's ends.
    bool marks = conflict;
    const LRESULT entries = item ? SendMessageW(hCombo, CB_GETCOUNT, 0, 0) : 0;
    for (LRESULT i = 0; i < entries && !marks; ++i) {
        const int other = EntryOption(hCombo, item, i);
        marks = other >= 0 && (OptionFlags(item, other) & OPTPF_OVERLAY_WARNING_ICON);
    }
    if (conflict) {
        HICON warning = LoadIconW(nullptr, MAKEINTRESOURCEW(32515) /* IDI_WARNING */);
        if (warning)
            DrawIconEx(hdc, rc.left + 1, rc.top + ((rc.bottom - rc.top) - icon) / 2, warning, icon, icon, 0, nullptr,
                       DI_NORMAL);
    }
    const bool mirrored = (GetWindowLongW(hCombo, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
    if (marks || mirrored) textRect.left += icon + 2;
    DrawTextW(hdc, text, -1, &textRect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    SetBkMode(hdc, oldMode);
    SetTextColor(hdc, oldText);
    if (pDraw->itemState & ODS_FOCUS) DrawFocusRect(hdc, &rc);
    return TRUE;
}

int CZQUILogic::IFindOptionByEditText(HWND hCtrl, PCWSTR pszFeature) const {
    WCHAR text[256] = {};
    if (!hCtrl || GetWindowTextW(hCtrl, text, 256) <= 0) return -1;
    POPTITEM item = nullptr;
    if (DWFindOptItem(m_pCUIParam, pszFeature, &item) != ZQOPT_OK || !IsListItem(item)) return -1;
    const size_t len = wcslen(text);
    for (int i = 0; i < item->pOptType->Count; ++i) {
        PCWSTR name = OptionName(item, i);
        if (name && _wcsnicmp(name, text, len) == 0) return i;
    }
    return -1;
}
