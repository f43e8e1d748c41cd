#include "zqhostpage.h"

#include <cwchar>

#include "zqsession.h"

namespace {

using zqitem::IsListType;
using zqitem::IsNumberType;
using zqitem::IsReadable;

bool HasCheckBox(const OPTITEM& it) {
    return it.pExtChkBox && !(it.Flags & (OPTIF_EXT_IS_EXTPUSH | OPTIF_EXT_HIDE));
}
bool HasPush(const OPTITEM& it) {
    return (it.pOptType && it.pOptType->Type == TVOT_PUSHBUTTON) ||
           ((it.Flags & OPTIF_EXT_IS_EXTPUSH) && it.pExtPush && !(it.Flags & OPTIF_EXT_HIDE));
}
std::wstring SafeText(LPCWSTR p) {
    if (!p) return L"";
    if (IS_INTRESOURCE(p)) return L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(p));
    return std::wstring(p, wcsnlen(p, 256));
}

}  // namespace

std::vector<WORD> CZQHostPage::BuildTemplate() {
    std::vector<WORD> t;
    auto dword = [&](DWORD v) {
        t.push_back(LOWORD(v));
        t.push_back(HIWORD(v));
    };
    dword(DS_SETFONT | DS_CONTROL | DS_3DLOOK | WS_CHILD);  // style
    dword(0);                                                // extended style
    t.push_back(0);                                          // no controls: made at WM_INITDIALOG
    t.push_back(0);
    t.push_back(0);
    t.push_back(252);
    t.push_back(218);
    t.push_back(0);  // menu
    t.push_back(0);  // class
    t.push_back(0);  // title
    t.push_back(8);  // font size
    for (const wchar_t* f = L"MS Shell Dlg"; *f; ++f) t.push_back(static_cast<WORD>(*f));
    t.push_back(0);
    return t;
}

INT_PTR CALLBACK CZQHostPage::DlgProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        const auto* psp = reinterpret_cast<const PROPSHEETPAGEW*>(lParam);
        auto* page = psp ? reinterpret_cast<CZQHostPage*>(psp->lParam) : nullptr;
        SetWindowLongPtrW(hDlg, DWLP_USER, reinterpret_cast<LONG_PTR>(page));
        if (page) page->VInit(hDlg);
        return TRUE;
    }
    auto* page = reinterpret_cast<CZQHostPage*>(GetWindowLongPtrW(hDlg, DWLP_USER));
    if (!page) return FALSE;
    switch (msg) {
        case WM_NOTIFY: {
            LRESULT result = 0;
            if (!page->OnNotify(reinterpret_cast<NMHDR*>(lParam), result)) return FALSE;
            SetWindowLongPtrW(hDlg, DWLP_MSGRESULT, result);
            return TRUE;
        }
        case WM_COMMAND:
            page->OnCommand(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        default: return FALSE;
    }
}

void CZQHostPage::VInit(HWND hDlg) {
    m_hDlg = hDlg;
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&icc);
    const bool doc = m_session->Mode() == OEMCUIP_DOCPROP;
    const HFONT font = reinterpret_cast<HFONT>(SendMessageW(hDlg, WM_GETFONT, 0, 0));
    auto make = [&](LPCWSTR cls, LPCWSTR text, DWORD style, int id, int x, int y, int w, int h) {
        RECT r = {x, y, x + w, y + h};
        MapDialogRect(hDlg, &r);
        HWND c = CreateWindowExW(0, cls, text, WS_CHILD | style, r.left, r.top, r.right - r.left, r.bottom - r.top,
                                 hDlg, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
        if (c && font) SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        return c;
    };
    const bool fonts = m_session->OffersFontInstaller();
    make(L"STATIC", doc ? L"Document options of the core driver" : L"Device settings of the core driver",
         WS_VISIBLE | SS_LEFT, kZQIdTitle, 7, 7, fonts ? 165 : 238, 10);
    if (fonts) make(L"BUTTON", L"Soft Fonts...", WS_VISIBLE | BS_PUSHBUTTON | WS_TABSTOP, kZQIdFonts, 175, 3, 70, 14);
    HWND list = make(WC_LISTVIEWW, L"",
                     WS_VISIBLE | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS |
                         LVS_NOSORTHEADER,
                     kZQIdList, 7, 19, 238, 136);
    make(L"STATIC", L"", WS_VISIBLE | SS_LEFT | SS_NOPREFIX, kZQIdLabel, 7, 160, 238, 10);
    make(L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, kZQIdCombo, 7, 172, 160, 120);
    HWND edit = make(L"EDIT", L"", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, kZQIdEdit, 7, 172, 120, 12);
    HWND updown = make(UPDOWN_CLASSW, L"", UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS,
                       kZQIdUpDown, 0, 0, 0, 0);
    if (updown) SendMessageW(updown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 0);
    make(L"BUTTON", L"", BS_AUTOCHECKBOX | WS_TABSTOP, kZQIdCheck, 172, 172, 73, 12);
    make(L"BUTTON", L"", BS_PUSHBUTTON | WS_TABSTOP, kZQIdPush, 7, 171, 90, 14);
    make(L"STATIC", m_session->PluginStatusText().c_str(), WS_VISIBLE | SS_LEFT | SS_NOPREFIX, kZQIdStatus, 7, 192,
         238, 20);
    if (list) {
        ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
        RECT rc;
        GetClientRect(list, &rc);
        const int width = rc.right - rc.left - GetSystemMetrics(SM_CXVSCROLL);
        LVCOLUMNW col = {};
        col.mask = LVCF_TEXT | LVCF_WIDTH;
        col.cx = width * 9 / 20;
        col.pszText = const_cast<LPWSTR>(L"Setting");
        ListView_InsertColumn(list, 0, &col);
        col.cx = width - col.cx;
        col.pszText = const_cast<LPWSTR>(L"Value");
        ListView_InsertColumn(list, 1, &col);
    }
    SendMessageW(GetParent(hDlg), PSM_SETTITLEW, 0, reinterpret_cast<LPARAM>(m_session->SheetTitle()));
    VFillList();
    if (list && ListView_GetItemCount(list) > 0) ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    VShowEditor();
    if (m_session->StartPage() > 0) PostMessageW(GetParent(hDlg), PSM_SETCURSEL, static_cast<WPARAM>(m_session->StartPage()), 0);
    if (m_session->ConfirmsAtOnce()) PostMessageW(GetParent(hDlg), PSM_PRESSBUTTON, PSBTN_OK, 0);
}

int CZQHostPage::SelectedItem() const {
    HWND list = Ctl(kZQIdList);
    const int row = list ? ListView_GetNextItem(list, -1, LVNI_SELECTED) : -1;
    if (row < 0) return -1;
    LVITEMW lvi = {};
    lvi.mask = LVIF_PARAM;
    lvi.iItem = row;
    if (!ListView_GetItem(list, &lvi)) return -1;
    return static_cast<int>(lvi.lParam);
}

void CZQHostPage::VFillList() {
    HWND list = Ctl(kZQIdList);
    if (!list) return;
    m_bFilling = true;
    const int keep = SelectedItem();
    // Drawing held while the rows go in: otherwise each row redraws the scroll bar.
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(list);
    POPTITEM items = m_session->Items();
    int row = 0, keepRow = -1;
    // An item without options heads the deeper items after it, as a node of the common property
    // sheet's tree does: it is no row of its own, its name goes before theirs.
    std::wstring heading;
    BYTE headingLevel = 0;
    for (DWORD i = 0; items && i < m_session->ItemCount(); ++i) {
        OPTITEM& it = items[i];
        // The display shows the item as it is now.
        it.Flags &= ~static_cast<DWORD>(OPTIF_CHANGED);
        if (!heading.empty() && it.Level <= headingLevel) heading.clear();
        if ((it.Flags & OPTIF_HIDE) || !it.pName) continue;
        if (!it.pOptType) {
            heading = SafeText(it.pName);
            headingLevel = it.Level;
            continue;
        }
        std::wstring name = heading.empty() ? SafeText(it.pName) : heading + L": " + SafeText(it.pName);
        LVITEMW lvi = {};
        lvi.mask = LVIF_TEXT | LVIF_PARAM;
        lvi.iItem = row;
        lvi.pszText = name.data();
        lvi.lParam = static_cast<LPARAM>(i);
        const int at = ListView_InsertItem(list, &lvi);
        if (at < 0) continue;
        std::wstring value = m_session->ItemValueText(i);
        ListView_SetItemText(list, at, 1, value.data());
        if (static_cast<int>(i) == keep) keepRow = at;
        ++row;
    }
    if (keepRow >= 0) ListView_SetItemState(list, keepRow, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    m_bFilling = false;
}

void CZQHostPage::VShowEditor() {
    for (int id : {kZQIdCombo, kZQIdEdit, kZQIdUpDown, kZQIdCheck, kZQIdPush}) ShowWindow(Ctl(id), SW_HIDE);
    m_editItem = SelectedItem();
    m_bEditDirty = false;
    if (m_editItem < 0) {
        SetDlgItemTextW(m_hDlg, kZQIdLabel, L"");
        return;
    }
    const DWORD index = static_cast<DWORD>(m_editItem);
    const OPTITEM& it = m_session->Items()[index];
    SetDlgItemTextW(m_hDlg, kZQIdLabel, (SafeText(it.pName) + L":").c_str());
    const BOOL enable = !(it.Flags & OPTIF_DISABLED) && !m_session->ReadOnly();
    auto show = [&](int id) {
        ShowWindow(Ctl(id), SW_SHOW);
        EnableWindow(Ctl(id), enable);
    };
    m_bFilling = true;
    if (HasPush(it)) {
        const std::wstring text = (it.Flags & OPTIF_EXT_IS_EXTPUSH) ? SafeText(it.pExtPush->pTitle) : SafeText(it.pName);
        SetDlgItemTextW(m_hDlg, kZQIdPush, (text + L"...").c_str());
        show(kZQIdPush);
    }
    if (IsReadable(it)) {
        const OPTTYPE& t = *it.pOptType;
        if (IsListType(t.Type)) {
            HWND combo = Ctl(kZQIdCombo);
            SendMessageW(combo, CB_RESETCONTENT, 0, 0);
            for (WORD o = 0; o < t.Count; ++o) {
                const OPTPARAM& p = t.pOptParam[o];
                if (p.Flags & OPTPF_HIDE) continue;
                std::wstring text = m_session->ParamText(index, p);
                if (p.Flags & OPTPF_OVERLAY_WARNING_ICON) text += L"  (conflict)";
                const LRESULT at = SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
                if (at < 0) continue;
                SendMessageW(combo, CB_SETITEMDATA, static_cast<WPARAM>(at), o);
                if (o == it.Sel) SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(at), 0);
            }
            show(kZQIdCombo);
        } else if (IsNumberType(t.Type) && t.Count >= 2) {
            SendMessageW(Ctl(kZQIdUpDown), UDM_SETRANGE32, static_cast<WPARAM>(t.pOptParam[1].IconID), t.pOptParam[1].lParam);
            SetDlgItemInt(m_hDlg, kZQIdEdit, static_cast<UINT>(it.Sel), TRUE);
            show(kZQIdEdit);
            show(kZQIdUpDown);
        } else if (t.Type == TVOT_EDITBOX && t.Count >= 2) {
            const ULONG_PTR cap = t.pOptParam[1].IconID;
            SendMessageW(Ctl(kZQIdEdit), EM_LIMITTEXT, cap > 1 && cap <= 256 ? cap - 1 : 255, 0);
            SetDlgItemTextW(m_hDlg, kZQIdEdit, it.pSel ? std::wstring(it.pSel, wcsnlen(it.pSel, 256)).c_str() : L"");
            show(kZQIdEdit);
        }
    }
    if (HasCheckBox(it)) {
        SetDlgItemTextW(m_hDlg, kZQIdCheck, SafeText(it.pExtChkBox->pTitle).c_str());
        CheckDlgButton(m_hDlg, kZQIdCheck, (it.Flags & OPTIF_ECB_CHECKED) ? BST_CHECKED : BST_UNCHECKED);
        show(kZQIdCheck);
    }
    m_bFilling = false;
}

void CZQHostPage::VChanged(DWORD index, LONG oldSel, WORD reason) {
    m_session->LItemChanged(index, oldSel, reason, m_hDlg);
    // Whatever the plug-in's callback changed shows at once.
    VFillList();
    VShowEditor();
    SendMessageW(GetParent(m_hDlg), PSM_CHANGED, reinterpret_cast<WPARAM>(m_hDlg), 0);
}

void CZQHostPage::VCommitEdit() {
    if (!m_bEditDirty || m_editItem < 0 || static_cast<DWORD>(m_editItem) >= m_session->ItemCount()) return;
    m_bEditDirty = false;
    const DWORD index = static_cast<DWORD>(m_editItem);
    OPTITEM& it = m_session->Items()[index];
    if (!IsReadable(it) || it.pOptType->Count < 2) return;
    const OPTTYPE& t = *it.pOptType;
    if (IsNumberType(t.Type)) {
        BOOL ok = FALSE;
        LONG n = static_cast<LONG>(GetDlgItemInt(m_hDlg, kZQIdEdit, &ok, TRUE));
        const LONG lo = static_cast<LONG>(t.pOptParam[1].IconID), hi = static_cast<LONG>(t.pOptParam[1].lParam);
        if (!ok) n = it.Sel;
        n = n < lo ? lo : (n > hi ? hi : n);
        const LONG old = it.Sel;
        if (n != old) {
            it.Sel = n;
            VChanged(index, old, CPSUICB_REASON_SEL_CHANGED);
        } else {
            SetDlgItemInt(m_hDlg, kZQIdEdit, static_cast<UINT>(n), TRUE);
        }
    } else if (t.Type == TVOT_EDITBOX && it.pSel) {
        const ULONG_PTR cap = t.pOptParam[1].IconID;
        const int chars = cap > 1 && cap <= 256 ? static_cast<int>(cap) : 256;
        WCHAR text[256] = {};
        GetDlgItemTextW(m_hDlg, kZQIdEdit, text, chars);
        if (wcsncmp(text, it.pSel, static_cast<size_t>(chars)) != 0) {
            lstrcpynW(it.pSel, text, chars);
            VChanged(index, 0, CPSUICB_REASON_SEL_CHANGED);
        }
    }
}

void CZQHostPage::OnCommand(WORD id, WORD code) {
    if (id == kZQIdFonts && code == BN_CLICKED) {
        m_session->HrRunFontInstaller(m_hDlg);
        return;
    }
    if (m_bFilling || m_editItem < 0 || static_cast<DWORD>(m_editItem) >= m_session->ItemCount()) return;
    const DWORD index = static_cast<DWORD>(m_editItem);
    OPTITEM& it = m_session->Items()[index];
    if (id == kZQIdCombo && code == CBN_SELCHANGE && IsReadable(it)) {
        HWND combo = Ctl(kZQIdCombo);
        const LRESULT at = SendMessageW(combo, CB_GETCURSEL, 0, 0);
        if (at < 0) return;
        const LONG o = static_cast<LONG>(SendMessageW(combo, CB_GETITEMDATA, static_cast<WPARAM>(at), 0));
        if (o < 0 || o >= it.pOptType->Count) return;
        if (it.pOptType->pOptParam[o].Flags & OPTPF_DISABLED) {
            VShowEditor();
            return;
        }
        const LONG old = it.Sel;
        if (o != old) {
            it.Sel = o;
            VChanged(index, old, CPSUICB_REASON_SEL_CHANGED);
        }
    } else if (id == kZQIdEdit && code == EN_CHANGE) {
        m_bEditDirty = true;
    } else if (id == kZQIdEdit && code == EN_KILLFOCUS) {
        VCommitEdit();
    } else if (id == kZQIdCheck && code == BN_CLICKED && HasCheckBox(it)) {
        if (IsDlgButtonChecked(m_hDlg, kZQIdCheck) == BST_CHECKED) it.Flags |= OPTIF_ECB_CHECKED;
        else it.Flags &= ~static_cast<DWORD>(OPTIF_ECB_CHECKED);
        VChanged(index, it.Sel, CPSUICB_REASON_ECB_CHANGED);
    } else if (id == kZQIdPush && code == BN_CLICKED && HasPush(it)) {
        VChanged(index, it.Sel, (it.Flags & OPTIF_EXT_IS_EXTPUSH) ? CPSUICB_REASON_EXTPUSH : CPSUICB_REASON_PUSHBUTTON);
    }
}

BOOL CZQHostPage::OnNotify(NMHDR* hdr, LRESULT& result) {
    if (!hdr) return FALSE;
    if (hdr->idFrom == static_cast<UINT_PTR>(kZQIdList)) {
        if (hdr->code == LVN_ITEMCHANGED) {
            const auto* nm = reinterpret_cast<const NMLISTVIEW*>(hdr);
            if (!m_bFilling && (nm->uChanged & LVIF_STATE) && (nm->uNewState & LVIS_SELECTED)) {
                VCommitEdit();
                VShowEditor();
            }
            return TRUE;
        }
        if (hdr->code == NM_CUSTOMDRAW) {
            auto* cd = reinterpret_cast<NMLVCUSTOMDRAW*>(hdr);
            if (cd->nmcd.dwDrawStage == CDDS_PREPAINT) {
                result = CDRF_NOTIFYITEMDRAW;
            } else if (cd->nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
                const DWORD index = static_cast<DWORD>(cd->nmcd.lItemlParam);
                if (index < m_session->ItemCount()) {
                    const OPTITEM& it = m_session->Items()[index];
                    if (it.Flags & OPTIF_OVERLAY_WARNING_ICON) cd->clrText = RGB(176, 0, 0);
                    else if ((it.Flags & OPTIF_DISABLED) || m_session->ReadOnly()) cd->clrText = GetSysColor(COLOR_GRAYTEXT);
                }
                result = CDRF_DODEFAULT;
            }
            return TRUE;
        }
        return FALSE;
    }
    switch (hdr->code) {
        case PSN_SETACTIVE:
            VFillList();
            VShowEditor();
            result = 0;
            return TRUE;
        case PSN_KILLACTIVE:
            VCommitEdit();
            result = FALSE;
            return TRUE;
        case PSN_APPLY:
            VCommitEdit();
            result = m_session->BApply(m_hDlg) ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
            return TRUE;
        default: return FALSE;
    }
}
