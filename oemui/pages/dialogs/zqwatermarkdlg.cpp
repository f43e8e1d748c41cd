// The Watermark Details dialog: its opening from the working settings, the name list and the
// message that make, rename and choose watermarks, New and Delete, the angle, font, colour, shade,
// size and style, the sample page, OK and Cancel.
#include "pages/dialogs/zqwatermarkdlg.h"

#include <cwchar>

#include "common/zqhandles.h"
#include "common/zqmsgbox.h"
#include "common/zqkeywords.h"
#include "common/zqstrings.h"
#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"
#include "pages/dialogs/zqmodaldlg.h"
#include "pages/zqpageasks.h"
#include "pages/zqpageitems.h"
#include "preview/zqpreview.h"
#include "res/zqwatermarkids.h"

using namespace zqpage;

namespace {

using Modal = CZQModalDialog<CZQWatermarkDetailsDlg>;

// The size a watermark without an entry takes back when its edit is left empty.
constexpr int kFallbackSize = 80;
// Where the caret goes after a rejected number.
constexpr int kNumberCaret = 3;

bool ListSelected(HWND hList, PWSTR pszText) { return SelectedText(hList, pszText, true); }

// A message box of the dialog: the text and caption from the status module, else the English.
int Ask(CZQUIBase& texts, INT idText, PCWSTR pszText, INT idCaption, PCWSTR pszCaption, HWND hOwner, UINT uType) {
    WCHAR text[CZQCommon::kResStringChars], caption[CZQCommon::kResStringChars];
    if (!texts.BLoadResString(idText, text)) ZQCopyText(text, CZQCommon::kResStringChars, pszText);
    if (!texts.BLoadResString(idCaption, caption)) ZQCopyText(caption, CZQCommon::kResStringChars, pszCaption);
    return zqmsgbox::IShow(hOwner, text, caption, uType | MB_ICONEXCLAMATION | MB_TASKMODAL);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Opening
// ---------------------------------------------------------------------------------------------
INT_PTR CZQWatermarkDetailsDlg::IDoModal(HWND hOwner, PageContext* pContext, BOOL bRightToLeft) {
    const POEMCUIPPARAM param = m_wm.CUIParam();
    if (!param || !WorkOf(pContext)) {
        SetLastError(ERROR_INVALID_DATA);
        return -1;
    }
    const INT_PTR result =
        Modal::IRun(this, static_cast<HINSTANCE>(param->hModule), bRightToLeft ? IDD_DLG_WATER_MARK_RTL : IDD_DLG_WATER_MARK,
                    hOwner, &WatermarkDetailsDlgProc, reinterpret_cast<LPARAM>(pContext));
    m_hDlg = nullptr;
    return result;
}

BOOL CZQWatermarkDetailsDlg::BInitDialog(HWND hDlg, PageContext* pContext) {
    ZQUIDevmode* work = WorkOf(pContext);
    if (!work || !m_wm.BAllocEditRecord()) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    m_hDlg = hDlg;
    State& state = m_state;
    state = {};
    m_wm.VSetCurrent(nullptr);
    m_controls.VAttach(hDlg);
    state.wOrientation = work->wOrientation == DMORIENT_LANDSCAPE ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
    m_controls.VInitControls(*work);
    ZQCopyTextN(state.szPrevious, 256, work->szWmName, 255);

    // The angle, font, colour, shading, size and style as the settings hold them.
    WatermarkEditRecord& edit = *m_wm.EditRecord();
    edit.dwAngleMode = work->dwWmAngleMode;
    edit.dwAngle = work->dwWmAngleMode == 0   ? static_cast<DWORD>(m_wm.IDiagonalAngle())
                   : work->dwWmAngleMode == 1 ? 0
                                              : work->dwWmAngle;
    SendMessageW(m_controls.Item(IDC_SPIN_BTN_ANGLE), UDM_SETRANGE32, 0, CZQWatermarks::kMaxAngle);
    SendMessageW(m_controls.Item(IDC_SPIN_BTN_SIZE), UDM_SETRANGE32, 0, 66535);
    m_controls.VFillFontCombo();
    m_controls.VFillColorCombo(static_cast<int>(work->dwColorMode));
    m_controls.VFillShadeCombo();
    m_controls.VFillStyleCombo();
    WCHAR font[256];
    ZQCopyTextN(font, 256, work->szWmFont, 255);
    m_controls.ISelectFont(font);
    // The face the dialog falls back to is the settings' from now on.
    ZQCopyText(work->szWmFont, 256, font);
    ZQCopyText(edit.szFont, 256, font);
    edit.dwColor = work->dwWmColorIndex;
    edit.dwShade = work->dwWmShade;
    edit.dwSize = work->dwWmSize;
    edit.dwStyle = work->dwWmStyle;
    m_controls.VShowEditControls();
    // The angle edit shows the settings' angle unless the watermark runs diagonally.
    if (work->dwWmAngleMode == 1) SetDlgItemInt(hDlg, IDC_TXT_ANG, work->dwWmAngle, FALSE);
    const WatermarkEntry* current = m_wm.Current();
    if (current && (current->dwFlags & kWatermarkReadOnly)) m_controls.VEnableEditControls(FALSE);

    m_wm.VMarkUsedUntitledNames(m_controls.ShownNames());
    m_controls.IRefillNameList();
    state.bNewOnTyping = TRUE;
    pContext->pLogic->VUpdateRollPreview(pContext->pPreview, pContext->pRules);
    SetWindowLongPtrW(hDlg, DWLP_USER, reinterpret_cast<LONG_PTR>(pContext));
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// The dialog procedure
// ---------------------------------------------------------------------------------------------
INT_PTR CALLBACK WatermarkDetailsDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (uMsg == WM_INITDIALOG) {
        // The message edit has the focus: the answer is FALSE. A dialog that cannot start ends.
        CZQWatermarkDetailsDlg* dialog = Modal::Join(hDlg);
        if (!dialog || !dialog->BInitDialog(hDlg, reinterpret_cast<PageContext*>(lParam))) {
            const DWORD error = dialog ? GetLastError() : static_cast<DWORD>(ERROR_INVALID_DATA);
            if (dialog) dialog->VRelease();
            EndDialog(hDlg, IDCANCEL);
            SetLastError(error);
        }
        return FALSE;
    }
    PageContext* context = nullptr;
    CZQWatermarkDetailsDlg* dialog = Modal::Of(hDlg);
    context = reinterpret_cast<PageContext*>(GetWindowLongPtrW(hDlg, DWLP_USER));
    if (!dialog || !context) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    // Once OK or Cancel ended it, nothing the dialog still hears touches the pool.
    if (!dialog->m_hDlg || !dialog->m_wm.EditRecord()) return FALSE;
    switch (uMsg) {
        case WM_COMMAND: dialog->VOnCommand(LOWORD(wParam), HIWORD(wParam), context); return TRUE;
        case WM_PAINT: dialog->VOnPaint(context); return FALSE;
        case WM_CLOSE: dialog->VOnCancel(context, true); return TRUE;
        case WM_SETCURSOR: return SetPreviewCursor(hDlg);
        case WM_DRAWITEM: dialog->VRepaintPreview(TRUE); return TRUE;
        // The background drawn again: so is the sample page.
        case WM_CTLCOLORDLG: dialog->VRepaintPreview(FALSE); return FALSE;
        case WM_LBUTTONDOWN:
            dialog->VClampEdit(IDC_TXT_ANG, CZQWatermarks::kMaxAngle, -1);
            dialog->VClampEdit(IDC_TXT_FONT_SIZE, CZQWatermarks::kMaxSize, -1);
            return TRUE;
        case WM_HELP:
        case WM_CONTEXTMENU: {
            DWORD table[2 * (CZQWatermarkControls::kHelpPairs + 1)] = {};
            CZQWatermarkControls::VGetHelpIds(table, dialog->m_wm.CUIParam()->hPrinter);
            ZQShowDialogHelp(uMsg, wParam, lParam, dialog->m_wm.CUIParam(), table);
            return TRUE;
        }
        default: return FALSE;
    }
}

void CZQWatermarkDetailsDlg::VOnCommand(int iCtrlId, int iCode, PageContext* pContext) {
    switch (iCtrlId) {
        case IDC_RB_DIAG:
        case IDC_RB_HORZ:
        case IDC_RB_ANG:
            if (iCode == BN_CLICKED) VOnAngleRadio(iCtrlId);
            return;
        case IDC_BTN_PREVIEW_LAND:
        case IDC_BTN_PREVIEW_PORT:
            if (iCode == BN_CLICKED) VOnOrientation(pContext);
            return;
        case IDC_BTN_NEW:
            if (iCode == BN_CLICKED) VOnNew(pContext);
            return;
        case IDC_BTN_DEL:
            if (iCode == BN_CLICKED) VOnDelete();
            return;
        case IDC_LST_WM_NAMES:
            if (iCode == LBN_SELCHANGE) VOnSelect(pContext);
            return;
        case IDC_CBO_FONT_NAME:
        case IDC_CBO_FONT_SHADE:
        case IDC_CBO_FONT_STYLE:
        case IDC_CBOEX_FONT_CLR:
            if (iCode == CBN_SELCHANGE) VOnListChoice(iCtrlId);
            return;
        case IDC_TXT_WM_MSG:
            if (iCode == EN_CHANGE) VOnMessageTyped(pContext);
            if (iCode == EN_KILLFOCUS) VOnMessageCheck();
            return;
        case IDC_TXT_FONT_SIZE:
        case IDC_TXT_ANG:
            if (iCode == EN_CHANGE || iCode == EN_KILLFOCUS) VOnNumberEdit(iCtrlId, iCode == EN_KILLFOCUS, pContext);
            return;
        case IDOK:
            if (iCode == BN_CLICKED) VOnOK(pContext);
            return;
        case IDCANCEL:
            if (iCode == BN_CLICKED) VOnCancel(pContext, false);
            return;
        default: return;
    }
}

// ---------------------------------------------------------------------------------------------
// The sample page
// ---------------------------------------------------------------------------------------------
void CZQWatermarkDetailsDlg::VOnPaint(PageContext* pContext) {
    PAINTSTRUCT ps;
    BeginPaint(m_hDlg, &ps);
    EndPaint(m_hDlg, &ps);
    const PreviewSettings* page = m_pageRecord ? m_pageRecord(pContext) : nullptr;
    if (!page || !pContext->pPreview) return;
    // The page's record with the dialog's orientation, sample page and working copy.
    m_preview = *page;
    m_preview.wOrientation = m_state.wOrientation;
    ZQSetPreviewWindow(&m_preview, kPvPortraitWindow, GetDlgItem(m_hDlg, IDC_BTN_PREVIEW_PORT));
    ZQSetPreviewWindow(&m_preview, kPvLandscapeWindow, GetDlgItem(m_hDlg, IDC_BTN_PREVIEW_LAND));
    m_wm.VFillPreviewSettings(&m_preview.watermark, &m_preview.aiValue[kPvNoWatermark]);
    pContext->pPreview->VSetSettings(&m_preview);
    pContext->pPreview->VPaint();
}

void CZQWatermarkDetailsDlg::VRepaintPreview(BOOL bErase) {
    RECT area;
    CZQPreview::VGetRepaintRect(m_hDlg, IDC_BTN_PREVIEW_PORT, IDC_BTN_PREVIEW_LAND, &area);
    InvalidateRect(m_hDlg, &area, bErase);
}

void CZQWatermarkDetailsDlg::VOnOrientation(PageContext* pContext) {
    WORD& orientation = m_state.wOrientation;
    orientation = orientation == DMORIENT_LANDSCAPE ? DMORIENT_PORTRAIT : DMORIENT_LANDSCAPE;
    VRepaintPreview(TRUE);
    // Two or four pages to a sheet turn the sheet the other way.
    const DWORD pages = WorkOf(pContext)->dwPagesPerSheet;
    const bool swapped = pages == 2 || pages == 4;
    const bool landscape = (orientation == DMORIENT_LANDSCAPE) != swapped;
    SetFocus(GetDlgItem(m_hDlg, landscape ? IDC_BTN_PREVIEW_LAND : IDC_BTN_PREVIEW_PORT));
}

// ---------------------------------------------------------------------------------------------
// The angle and the lists
// ---------------------------------------------------------------------------------------------
void CZQWatermarkDetailsDlg::VOnAngleRadio(int iCtrlId) {
    WatermarkEditRecord& edit = *m_wm.EditRecord();
    for (int id : {IDC_RB_DIAG, IDC_RB_HORZ, IDC_RB_ANG})
        SendMessageW(GetDlgItem(m_hDlg, id), BM_SETCHECK, id == iCtrlId ? BST_CHECKED : BST_UNCHECKED, 0);
    const bool own = iCtrlId == IDC_RB_ANG;
    EnableWindow(GetDlgItem(m_hDlg, IDC_TXT_ANG), own);
    EnableWindow(GetDlgItem(m_hDlg, IDC_SPIN_BTN_ANGLE), own);
    if (own) {
        if (BHasSelection()) edit.dwAngleMode = 2;
        return;
    }
    const DWORD angle = iCtrlId == IDC_RB_DIAG ? static_cast<DWORD>(m_wm.IDiagonalAngle()) : 0;
    SetDlgItemInt(m_hDlg, IDC_TXT_ANG, angle, FALSE);
    if (BHasSelection()) {
        edit.dwAngle = angle;
        edit.dwAngleMode = iCtrlId == IDC_RB_DIAG ? 0 : 1;
    }
    VRepaintPreview(FALSE);
}

void CZQWatermarkDetailsDlg::VOnListChoice(int iCtrlId) {
    if (!BHasSelection()) return;
    WatermarkEditRecord& edit = *m_wm.EditRecord();
    HWND list = GetDlgItem(m_hDlg, iCtrlId);
    const LRESULT index = SendMessageW(list, CB_GETCURSEL, 0, 0);
    if (index < 0) return;
    const auto value = static_cast<DWORD>(index);
    switch (iCtrlId) {
        case IDC_CBO_FONT_NAME: {
            WCHAR face[256];
            if (!EntryText(list, static_cast<int>(index), face)) return;
            ZQCopyText(edit.szFont, 256, face);
            edit.dwFontIndex = value;
            break;
        }
        case IDC_CBO_FONT_SHADE: edit.dwShade = value; break;
        case IDC_CBO_FONT_STYLE: edit.dwStyle = value; break;
        default: edit.dwColor = value; break;
    }
    VRepaintPreview(FALSE);
}

void CZQWatermarkDetailsDlg::VClampEdit(int iCtrlId, int iMax, int iEmpty) {
    WCHAR text[16] = {};
    GetDlgItemTextW(m_hDlg, iCtrlId, text, 16);
    if (!text[0]) {
        if (iEmpty >= 0) SetDlgItemInt(m_hDlg, iCtrlId, static_cast<UINT>(iEmpty), FALSE);
        return;
    }
    if (!CZQUIBase::BIsAllDigits(text)) return;
    if (wcslen(text) > 4 || _wtoi(text) > iMax) SetDlgItemInt(m_hDlg, iCtrlId, static_cast<UINT>(iMax), FALSE);
}

void CZQWatermarkDetailsDlg::VOnNumberEdit(int iCtrlId, bool bLeft, PageContext* pContext) {
    WatermarkEditRecord& edit = *m_wm.EditRecord();
    const bool size = iCtrlId == IDC_TXT_FONT_SIZE;
    const int max = static_cast<int>(size ? CZQWatermarks::kMaxSize : CZQWatermarks::kMaxAngle);
    const WatermarkEntry* current = m_wm.Current();
    if (bLeft) {
        // An empty edit (or a size of 0) shows the watermark's own value again.
        const int own = size ? (current ? static_cast<int>(current->dwSize) : kFallbackSize)
                             : (current ? static_cast<int>(current->dwAngle) : 0);
        BOOL number = FALSE;
        const UINT typed = GetDlgItemInt(m_hDlg, iCtrlId, &number, FALSE);
        if (size && number && typed == 0) SetDlgItemInt(m_hDlg, iCtrlId, static_cast<UINT>(own), FALSE);
        else VClampEdit(iCtrlId, max, own);
        return;
    }
    WCHAR text[16] = {};
    GetDlgItemTextW(m_hDlg, iCtrlId, text, 16);
    HWND box = GetDlgItem(m_hDlg, iCtrlId);
    if (text[0] && !CZQUIBase::BIsAllDigits(text)) {
        // Letters put the value back.
        SetDlgItemInt(m_hDlg, iCtrlId, size ? edit.dwSize : edit.dwAngle, FALSE);
        SendMessageW(box, EM_SETSEL, kNumberCaret, kNumberCaret);
        return;
    }
    VClampEdit(iCtrlId, max, -1);
    if (BHasSelection() && text[0]) {
        const DWORD value = GetDlgItemInt(m_hDlg, iCtrlId, nullptr, FALSE);
        if (size) edit.dwSize = value ? value : WorkOf(pContext)->dwWmSize;
        else edit.dwAngle = value;
    }
    if (size || text[0]) VRepaintPreview(FALSE);
}

// ---------------------------------------------------------------------------------------------
// The name list
// ---------------------------------------------------------------------------------------------
bool CZQWatermarkDetailsDlg::BHasSelection() const {
    return SendMessageW(GetDlgItem(m_hDlg, IDC_LST_WM_NAMES), LB_GETCURSEL, 0, 0) != LB_ERR;
}

void CZQWatermarkDetailsDlg::VSelectedName(PWSTR pszName) const {
    if (!ListSelected(GetDlgItem(m_hDlg, IDC_LST_WM_NAMES), pszName)) pszName[0] = 0;
}

void CZQWatermarkDetailsDlg::VEndPosters(PageContext* pContext) {
    auto* finishing = ZQSheetPage<IZQFinishingPage>(pContext, kPageFinishing);
    if (!finishing || !pContext->pLogic->BPosterFlag()) return;
    pContext->pLogic->VSetPosterState(FALSE, m_wm.NoneName());
    pContext->pLogic->VClearPosterFlag();
}

void CZQWatermarkDetailsDlg::VRelease() {
    m_wm.VFreeDialogResources();
    m_controls.VDetach();
}

void CZQWatermarkDetailsDlg::VOnNew(PageContext* pContext) {
    State& state = m_state;
    HWND list = GetDlgItem(m_hDlg, IDC_LST_WM_NAMES);
    HWND message = GetDlgItem(m_hDlg, IDC_TXT_WM_MSG);
    if (m_wm.ICountEntries() > CZQWatermarks::kMaxUserEntries) {
        Ask(m_wm, 3827,
            L"The maximum number of watermarks has been saved on your computer.  You must delete some before more "
            L"can be saved.",
            851, L"Watermark Details", m_hDlg, MB_OK);
        return;
    }
    m_controls.VStoreControlsInEntry();
    WCHAR name[256] = {};
    m_wm.VTakeFreeUntitledName(m_controls.ShownNames(), name);
    WCHAR text[256];
    ZQCopyText(text, 256, name);
    CZQWatermarks::VStripNumberSuffix(text);
    WatermarkEntry* entry = CZQWatermarks::PNewEntry(m_wm.MainList());
    if (!entry) return;
    state.bNewOnTyping = FALSE;
    state.bBusy = TRUE;
    SetWindowTextW(message, text);
    const LRESULT at = SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(at), 0);
    m_wm.VInitNewEntry(entry, name, text, m_wm.Current());
    m_wm.VSetCurrent(entry);
    ZQCopyText(state.szPrevious, 256, name);
    m_controls.VUpdateDeleteButton();
    m_controls.VShowEntry(state.szLastSelected);
    state.bNewPending = TRUE;
    state.bBusy = FALSE;
    m_controls.VEnableEditControls(TRUE);
    entry->dwFlags |= kWatermarkEditable;
    SendMessageW(message, EM_SETSEL, 0, -1);
    SetFocus(message);
    VEndPosters(pContext);
    VRepaintPreview(FALSE);
}

void CZQWatermarkDetailsDlg::VOnDelete() {
    State& state = m_state;
    state.bBusy = TRUE;
    const POEMCUIPPARAM param = m_wm.CUIParam();
    HANDLE printer = nullptr;
    BOOL reopened = FALSE;
    const BOOL restricted = CZQCommon::BIsPrinterDataReadOnly(param->hPrinter, param->pPrinterName, param->pPublicDM, &printer, &reopened);
    CZQPrinterHandle own(reopened ? printer : nullptr);
    if (Ask(m_wm, 877, L"Are you sure want to delete the selected item?", 876, L"Warning", m_hDlg, MB_OKCANCEL) == IDOK) {
        HWND list = GetDlgItem(m_hDlg, IDC_LST_WM_NAMES);
        WCHAR name[256];
        VSelectedName(name);
        // Its untitled name is free again: new names are taken from what the list shows.
        SendMessageW(list, LB_DELETESTRING, SendMessageW(list, LB_GETCURSEL, 0, 0), 0);
        if (restricted) m_wm.PNewDeletedName(name);
        m_wm.VRemoveEntry(m_wm.PFindByName(name));
        m_wm.VChooseCurrent(m_wm.NoneName());
        SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(m_controls.IFindListIndex(m_wm.NoneName())), 0);
        m_controls.VUpdateDeleteButton();
        m_controls.VShowEntry(state.szLastSelected);
        state.bNewPending = FALSE;
        state.bNewOnTyping = TRUE;
        ZQCopyText(state.szPrevious, 256, m_wm.NoneName());
        HWND message = GetDlgItem(m_hDlg, IDC_TXT_WM_MSG);
        SendMessageW(message, EM_SETSEL, 0, -1);
        SetFocus(message);
        VRepaintPreview(FALSE);
    }
    state.bBusy = FALSE;
}

void CZQWatermarkDetailsDlg::VOnSelect(PageContext* pContext) {
    State& state = m_state;
    HWND list = GetDlgItem(m_hDlg, IDC_LST_WM_NAMES);
    HWND message = GetDlgItem(m_hDlg, IDC_TXT_WM_MSG);
    const int total = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0)) + m_wm.ICountHiddenEntries();
    m_controls.IRefillNameList();
    state.bNewPending = FALSE;
    state.bBusy = TRUE;
    m_controls.VStoreControlsInEntry();
    WCHAR name[256];
    VSelectedName(name);
    ZQCopyText(state.szLastSelected, 256, state.szPrevious);
    ZQCopyText(state.szPrevious, 256, name);
    m_wm.VChooseCurrent(name);
    m_controls.VShowEntry(state.szLastSelected);
    state.bBusy = FALSE;
    const WatermarkEntry* current = m_wm.Current();
    const bool editable = current && !(current->dwFlags & kWatermarkReadOnly) && (current->dwFlags & kWatermarkEditable);
    if (current && (current->dwFlags & kWatermarkReadOnly)) m_controls.VEnableEditControls(FALSE);
    else if (editable) m_controls.VEnableEditControls(TRUE);
    m_controls.VUpdateDeleteButton();
    if (wcscmp(name, m_wm.NoneName()) == 0) {
        if (total > CZQWatermarks::kMaxUserEntries) EnableWindow(message, FALSE);
        state.bNewOnTyping = TRUE;
    } else {
        if (SendMessageW(list, LB_GETCURSEL, 0, 0) == LB_ERR)
            SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(m_controls.IFindListIndex(m_wm.NoneName()) + 1), 0);
        if (editable) EnableWindow(message, TRUE);
        state.bNewOnTyping = FALSE;
        if (name[0] && OptionIs(m_wm.CUIParam(), zqkw::kZQPosterPrinting, L"TRUE") == 1 &&
            WorkOf(pContext)->dwLayoutMode == 3) {
            pContext->pLogic->VSetPosterState(FALSE, m_wm.NoneName());
            pContext->pLogic->VClearPosterFlag();
        }
    }
    VRepaintPreview(FALSE);
}

// ---------------------------------------------------------------------------------------------
// The message
// ---------------------------------------------------------------------------------------------
void CZQWatermarkDetailsDlg::VOnMessageTyped(PageContext* pContext) {
    State& state = m_state;
    if (state.bBusy) return;
    WatermarkEditRecord& edit = *m_wm.EditRecord();
    HWND list = GetDlgItem(m_hDlg, IDC_LST_WM_NAMES);
    WCHAR typed[CZQWatermarks::kUniqueNameChars] = {};
    GetDlgItemTextW(m_hDlg, IDC_TXT_WM_MSG, typed, 256);
    // " [none]" is no watermark's name, in no language.
    if (CZQUIBase::BIsNoneInAnyLanguage(typed, m_wm.HResModule())) return;
    WCHAR selected[256];
    VSelectedName(selected);
    const bool noneSelected = wcscmp(selected, m_wm.NoneName()) == 0;
    if (state.bNewOnTyping && noneSelected && typed[0]) {
        WatermarkEntry* entry = CZQWatermarks::PNewEntry(m_wm.MainList());
        if (!entry) return;
        m_wm.VInitNewEntry(entry, typed, typed, m_wm.PFindByName(m_wm.NoneName()));
        entry->dwFlags |= kWatermarkEditable;
        m_wm.VSetCurrent(entry);
        state.bNewOnTyping = FALSE;
    }
    WatermarkEntry* current = m_wm.Current();
    if (!current) return;
    // The same text told again (the edit set to what it shows) renames nothing.
    VSelectedName(selected);
    if (typed[0] && wcscmp(current->szText, typed) == 0 && wcscmp(current->szName, selected) == 0) return;
    auto removeSelected = [&] {
        if (!noneSelected) SendMessageW(list, LB_DELETESTRING, SendMessageW(list, LB_GETCURSEL, 0, 0), 0);
    };
    auto listName = [&](PCWSTR pszName) {
        const LRESULT at = SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pszName));
        SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(at), 0);
        EnableWindow(GetDlgItem(m_hDlg, IDC_BTN_DEL), TRUE);
    };
    WCHAR text[256];
    if (typed[0] && m_wm.BNameTaken(typed, current)) {
        // A name in use, in any letter case, gets a number: Draft becomes Draft #2, with the message Draft.
        m_wm.VMakeUniqueName(typed, current);
        removeSelected();
        listName(typed);
        ZQCopyText(current->szName, 256, typed);
        ZQCopyText(text, 256, typed);
        CZQWatermarks::VStripNumberSuffix(text);
        ZQCopyText(current->szText, 256, text);
    } else {
        removeSelected();
        if (typed[0]) {
            listName(typed);
            ZQCopyText(current->szName, 256, typed);
            ZQCopyText(current->szText, 256, typed);
            ZQCopyText(text, 256, typed);
        } else {
            // An empty message keeps the watermark its previous name, never another's.
            WCHAR previous[CZQWatermarks::kUniqueNameChars];
            ZQCopyText(previous, CZQWatermarks::kUniqueNameChars, state.szPrevious);
            if (m_wm.BNameTaken(previous, current)) m_wm.VMakeUniqueName(previous, current);
            ZQCopyText(current->szName, 256, previous);
            ZQCopyText(current->szText, 256, previous);
            ZQCopyText(text, 256, typed);
            EnableWindow(GetDlgItem(m_hDlg, IDC_BTN_DEL), FALSE);
        }
    }
    edit.dwTextLength = static_cast<DWORD>(wcslen(text));
    ZQCopyText(edit.szText, 256, text);
    ZQCopyText(edit.szName, 256, typed);
    VEndPosters(pContext);
    VRepaintPreview(FALSE);
}

void CZQWatermarkDetailsDlg::VOnMessageCheck() {
    if (m_state.bBusy) return;
    WCHAR typed[256] = {}, selected[256];
    GetDlgItemTextW(m_hDlg, IDC_TXT_WM_MSG, typed, 256);
    VSelectedName(selected);
    // A reserved name typed for another watermark is not taken: the user hears why.
    if (CZQUIBase::BIsNoneInAnyLanguage(typed, m_wm.HResModule()) && wcscmp(selected, m_wm.NoneName()) != 0)
        Ask(m_wm, 875, L"This name can not be saved because the name is either reserved, in use or zero-length.", 876,
            L"Warning", nullptr, MB_OK);
}

// ---------------------------------------------------------------------------------------------
// OK and Cancel
// ---------------------------------------------------------------------------------------------
void CZQWatermarkDetailsDlg::VOnOK(PageContext* pContext) {
    State& state = m_state;
    ZQUIDevmode& work = *WorkOf(pContext);
    // The orientation items take the sample page's orientation; the page's own features stay as they are.
    const bool landscape = state.wOrientation == DMORIENT_LANDSCAPE;
    CZQCommon::DWSelectPubOption(m_wm.CUIParam(), kOemPubOrientation, 0, landscape ? 1 : 0);
    SetOrientation(pContext, m_wm.CUIParam(), landscape);
    const WatermarkEntry* current = m_wm.Current();
    VClampEdit(IDC_TXT_ANG, CZQWatermarks::kMaxAngle, current ? static_cast<int>(current->dwAngle) : 0);
    state.bNewPending = FALSE;
    m_controls.VStoreControlsInEntry();
    m_wm.VCheckChanged(m_controls.DWShownAngleMode());
    m_wm.VApplyToSettings(&work);
    VRelease();
    HWND dialog = m_hDlg;
    m_hDlg = nullptr;
    EndDialog(dialog, IDOK);
}

void CZQWatermarkDetailsDlg::VOnCancel(PageContext* pContext, bool bClose) {
    State& state = m_state;
    if (state.bNewPending) {
        // New's watermark goes, and with it the use of its untitled name.
        WatermarkEntry* last = m_wm.MainList().pTail;
        HWND list = GetDlgItem(m_hDlg, IDC_LST_WM_NAMES);
        if (last) {
            const int at = m_controls.IFindListIndex(last->szName);
            if (at >= 0) SendMessageW(list, LB_DELETESTRING, static_cast<WPARAM>(at), 0);
            m_wm.VRemoveEntry(last);
        }
    }
    state.bNewPending = FALSE;
    if (!bClose) {
        WCHAR name[256];
        ZQCopyTextN(name, 256, WorkOf(pContext)->szWmName, 255);
        state.bCancelResult = wcscmp(name, m_wm.NoneName()) == 0 || m_controls.IFindListIndex(name) < 0;
    }
    VRelease();
    HWND dialog = m_hDlg;
    m_hDlg = nullptr;
    EndDialog(dialog, IDCANCEL);
}
