// The image shift dialog: its opening from the working settings, the sides' boxes and rows, the
// unit, the values as they are typed, the mirror of the front's shift, OK and Cancel.
#include "pages/dialogs/zqimageshiftdlg.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cwchar>
#include <string>

#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"
#include "pages/dialogs/zqmodaldlg.h"
#include "pages/zqpagecontrols.h"
#include "pages/zqpageitems.h"
#include "res/zqoutputids.h"

using namespace zqpage;

namespace {

using Modal = CZQModalDialog<CZQImageShiftDlg>;
using Dlg = CZQImageShiftDlg;

constexpr double kMmPerInch = 25.4;

// A side's captions and edits, its millimetre labels and its inch labels.
struct SideIds {
    int box;
    int rows[4];
    int mm[2];
    int inches[2];
};
constexpr SideIds kFront = {IDC_CHK_FRONT_SHIFT,
                            {IDC_STA_HZ_FRONT, IDC_LB_HZ_FRONT, IDC_STA_VL_FRONT, IDC_LB_VL_FRONT},
                            {IDC_STA_FH_MM, IDC_STA_FV_MM},
                            {IDC_STA_FH_IN, IDC_STA_FV_IN}};
constexpr SideIds kBack = {IDC_CHK_BACK_SHIFT,
                           {IDC_STA_HZ_BACK, IDC_LB_HZ_BACK, IDC_STA_VL_BACK, IDC_LB_VL_BACK},
                           {IDC_STA_BH_MM, IDC_STA_BV_MM},
                           {IDC_STA_BH_IN, IDC_STA_BV_IN}};

// The four edits and the value of the block each one shows.
struct EditField {
    int edit;
    int field;
};
constexpr EditField kEdits[] = {{IDC_LB_HZ_FRONT, Dlg::kFrontHorizontal},
                                {IDC_LB_VL_FRONT, Dlg::kFrontVertical},
                                {IDC_LB_HZ_BACK, Dlg::kBackHorizontal},
                                {IDC_LB_VL_BACK, Dlg::kBackVertical}};

int FieldOf(int iEditId) {
    for (const EditField& e : kEdits)
        if (e.edit == iEditId) return e.field;
    return -1;
}

bool IsFrontEdit(int iEditId) { return iEditId == IDC_LB_HZ_FRONT || iEditId == IDC_LB_VL_FRONT; }

const CZQPageControls::TextRow kTexts[] = {
    {0, 5421, L"Image Shift Settings"},
    {IDC_CHK_FRONT_SHIFT, 5422, L"&Front side shift"},
    {IDC_CHK_BACK_SHIFT, 5426, L"&Back side shift"},
    {IDC_CHK_REDUCE_FIT, 5423, L"&Reduce to fit"},
    {IDC_CHK_MIRROR_FRONT, 5424, L"&Mirror front side"},
    {IDC_CHK_USE_INCHES, 5425, L"&Use inches"},
    {IDC_STA_HZ_FRONT, 5427, L"&Horizontal"},
    {IDC_STA_VL_FRONT, 5428, L"&Vertical"},
    {IDC_STA_HZ_BACK, 5429, L"H&orizontal"},
    {IDC_STA_VL_BACK, 5430, L"V&ertical"},
    {IDOK, 849, L"&OK"},
    {IDCANCEL, 850, L"&Cancel"},
    {IDC_STA_FH_MM, 3334, L"mm"},
    {IDC_STA_FV_MM, 3334, L"mm"},
    {IDC_STA_BH_MM, 3334, L"mm"},
    {IDC_STA_BV_MM, 3334, L"mm"},
    {IDC_STA_FH_IN, 3333, L"inches"},
    {IDC_STA_FV_IN, 3333, L"inches"},
    {IDC_STA_BH_IN, 3333, L"inches"},
    {IDC_STA_BV_IN, 3333, L"inches"},
    {IDC_STATIC_FRONT, 5431, L"Front"},
    {IDC_STATIC_BACK, 5432, L"Back"},
};

constexpr DWORD kNoHelp = static_cast<DWORD>(-1);
constexpr DWORD kHelpIds[2 * (Dlg::kHelpPairs + 1)] = {
    IDC_GB_IMAGE_SHIFT, kNoHelp, IDC_LB_HZ_FRONT, 15655,    IDC_LB_VL_FRONT, 15656,   IDC_LB_HZ_BACK, 15657,
    IDC_LB_VL_BACK, 15658,       IDC_CHK_FRONT_SHIFT, 15650, IDC_CHK_BACK_SHIFT, 15654, IDC_CHK_USE_INCHES, 15653,
    IDC_CHK_MIRROR_FRONT, 15652, IDC_CHK_REDUCE_FIT, 15651, IDC_STA_HZ_FRONT, kNoHelp, IDC_STA_VL_FRONT, kNoHelp,
    IDC_STA_HZ_BACK, kNoHelp,    IDC_STA_VL_BACK, kNoHelp,  IDC_STA_FH_MM, kNoHelp,    IDC_STA_FV_MM, kNoHelp,
    IDC_STA_BH_MM, kNoHelp,      IDC_STA_BV_MM, kNoHelp,    IDC_STATIC_FRONT, kNoHelp, IDC_STATIC_BACK, kNoHelp,
    IDC_STA_FH_IN, kNoHelp,      IDC_STA_FV_IN, kNoHelp,    IDC_STA_BH_IN, kNoHelp,    IDC_STA_BV_IN, kNoHelp,
    IDC_IMAGE_SHIFT, kNoHelp,    0, 0};

// Shown without taking the focus, and disabled.
void Grey(HWND hCtrl) {
    if (!hCtrl) return;
    ShowWindow(hCtrl, SW_SHOWNA);
    EnableWindow(hCtrl, FALSE);
}

std::wstring EditText(HWND hEdit) {
    const int length = hEdit ? GetWindowTextLengthW(hEdit) : 0;
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    if (length > 0) GetWindowTextW(hEdit, &text[0], length + 1);
    text.resize(wcslen(text.c_str()));
    return text;
}

// The number a shift's text gives.
double ShiftValue(const std::wstring& text) { return std::wcstod(text.c_str(), nullptr); }

// The value negated as its text stands: a "-" taken away or put in front, zero as "0".
std::wstring Negated(const std::wstring& text) {
    if (ShiftValue(text) == 0.0) return L"0";
    return text[0] == L'-' ? text.substr(1) : L"-" + text;
}

// Whole millimetres of a value in the unit shown, toward zero (a product of inches that is a whole
// number stays one whatever the last bit of 25.4 makes of it), within the millimetres' limits: the
// largest shift in inches is a little more than the largest in millimetres.
int32_t WholeMillimetres(double dValue, bool bInches) {
    const double mm = bInches ? dValue * kMmPerInch : dValue;
    const double limit = Dlg::kMaxMillimetres;
    return static_cast<int32_t>(std::trunc(std::clamp(mm + (mm >= 0 ? 1e-9 : -1e-9), -limit, limit)));
}

}  // namespace

CZQImageShiftDlg::CZQImageShiftDlg() = default;

const DWORD* CZQImageShiftDlg::PGetHelpIds() { return kHelpIds; }

bool CZQImageShiftDlg::Checked(int iCtrlId) const { return zqpage::Checked(Item(iCtrlId)); }

// ---------------------------------------------------------------------------------------------
// Opening
// ---------------------------------------------------------------------------------------------
INT_PTR CZQImageShiftDlg::IDoModal(HWND hOwner, PageContext* pContext, BOOL bRightToLeft) {
    if (!m_pCUIParam || !WorkOf(pContext)) {
        SetLastError(ERROR_INVALID_DATA);
        return -1;
    }
    const INT_PTR result = Modal::IRun(this, static_cast<HINSTANCE>(m_pCUIParam->hModule),
                                       bRightToLeft ? IDD_DLG_IMAGE_SHIFT_RTL : IDD_DLG_IMAGE_SHIFT, hOwner,
                                       &ImageShiftDlgProc, reinterpret_cast<LPARAM>(pContext));
    m_hDlg = nullptr;
    return result;
}

void CZQImageShiftDlg::VGetControlHandles(HWND hDlg) { m_hDlg = hDlg; }

void CZQImageShiftDlg::VSetTexts() {
    for (const CZQPageControls::TextRow& row : kTexts) {
        HWND target = row.iCtrlId == 0 ? m_hDlg : Item(row.iCtrlId);
        if (target) BSetWindowTextRes(row.iTextId, target, row.pszEnglish);
    }
}

BOOL CZQImageShiftDlg::BInitDialog(HWND hDlg, PageContext* pContext) {
    ZQUIDevmode* work = WorkOf(pContext);
    if (!work || !m_pCUIParam || !CoreOf(m_pCUIParam)) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    m_pPublicDM = m_pCUIParam->pPublicDM;
    VGetControlHandles(hDlg);
    NumbersLeftToRight(hDlg, {IDC_LB_HZ_FRONT, IDC_LB_VL_FRONT, IDC_LB_HZ_BACK, IDC_LB_VL_BACK});
    SetWindowLongPtrW(hDlg, DWLP_USER, reinterpret_cast<LONG_PTR>(pContext));
    VSetTexts();
    for (int i = 0; i < kShiftValueCount; ++i) m_aiOpening[i] = work->aiImageShift[i];
    VInitControls(pContext);
    // A one-sided document has no back to shift.
    if (work->wDuplex == 1) {
        Grey(Item(IDC_CHK_BACK_SHIFT));
        for (int id : kBack.rows) Grey(Item(id));
        VShowUnitLabels(true, false);
        Grey(Item(IDC_CHK_MIRROR_FRONT));
    }
    return TRUE;
}

void CZQImageShiftDlg::VInitControls(PageContext* pContext) {
    const ZQUIDevmode* work = WorkOf(pContext);
    if (!work || !m_hDlg) return;
    const int32_t* shift = work->aiImageShift;
    const bool inches = shift[kInches] == 1;
    // The unit first: each value shown is checked in its own unit.
    SetCheck(Item(IDC_CHK_USE_INCHES), inches);
    for (const bool back : {false, true}) {
        const bool on = shift[back ? kBackOn : kFrontOn] == 1;
        SetCheck(Item(back ? kBack.box : kFront.box), on);
        VShowSide(back, on);
        // The settings keep millimetres; a side that does not apply shows none.
        const int fields[2] = {back ? kBackHorizontal : kFrontHorizontal, back ? kBackVertical : kFrontVertical};
        const int edits[2] = {back ? IDC_LB_HZ_BACK : IDC_LB_HZ_FRONT, back ? IDC_LB_VL_BACK : IDC_LB_VL_FRONT};
        for (int i = 0; i < 2; ++i) {
            if (!on) VSetEditValue(edits[i], 0, true);
            else if (inches) VSetEditValue(edits[i], shift[fields[i]] / kMmPerInch, false);
            else VSetEditValue(edits[i], shift[fields[i]], true);
        }
        if (!back && on && shift[kMirrorFront] == 1) ShowEnabled(Item(IDC_CHK_MIRROR_FRONT));
    }
    SetCheck(Item(IDC_CHK_MIRROR_FRONT), shift[kMirrorFront] == 1);
    SetCheck(Item(IDC_CHK_REDUCE_FIT), shift[kReduceToFit] == 1);
}

// ---------------------------------------------------------------------------------------------
// Sides and units
// ---------------------------------------------------------------------------------------------
void CZQImageShiftDlg::VShowSide(bool bBack, bool bOn) {
    for (int id : (bBack ? kBack : kFront).rows) {
        if (bOn) ShowEnabled(Item(id));
        else Grey(Item(id));
    }
    VShowUnitLabels(bBack, bOn);
}

// The two labels share one place: the unit shown is there, greyed while its side does not apply.
void CZQImageShiftDlg::VShowUnitLabels(bool bBack, bool bOn) {
    const SideIds& side = bBack ? kBack : kFront;
    const bool inches = Checked(IDC_CHK_USE_INCHES);
    for (int i = 0; i < 2; ++i) {
        Hide(Item(inches ? side.mm[i] : side.inches[i]));
        HWND shown = Item(inches ? side.inches[i] : side.mm[i]);
        if (bOn) ShowEnabled(shown);
        else Grey(shown);
    }
}

void CZQImageShiftDlg::VSetEditValue(int iEditId, double dValue, bool bWhole) {
    WCHAR text[32] = {};
    if (bWhole) swprintf(text, 32, L"%1.2ld", static_cast<long>(dValue));
    else swprintf(text, 32, L"%1.2lf", dValue);
    SetWindowTextW(Item(iEditId), text);
}

void CZQImageShiftDlg::VOnSideBox(bool bBack, PageContext* pContext) {
    const bool on = Checked(bBack ? IDC_CHK_BACK_SHIFT : IDC_CHK_FRONT_SHIFT);
    VShowSide(bBack, on);
    if (bBack) return;
    // The mirror follows the front; a one-sided document has no back to mirror onto.
    HWND mirror = Item(IDC_CHK_MIRROR_FRONT);
    if (on) {
        if (WorkOf(pContext)->wDuplex != 1) ShowEnabled(mirror);
    } else {
        SetCheck(mirror, false);
        Grey(mirror);
    }
}

void CZQImageShiftDlg::VOnUseInches() {
    const bool inches = Checked(IDC_CHK_USE_INCHES);
    for (const bool back : {false, true}) VShowUnitLabels(back, Checked(back ? kBack.box : kFront.box));
    VConvertUnits(inches ? 0 : 1);
}

void CZQImageShiftDlg::VConvertUnits(int iMode) {
    m_iConvertMode = iMode;
    for (const EditField& e : kEdits) {
        const double value = ShiftValue(EditText(Item(e.edit)));
        if (iMode == 0) VSetEditValue(e.edit, value / kMmPerInch, false);
        else VSetEditValue(e.edit, std::floor(value * kMmPerInch + 0.5), true);
    }
}

// ---------------------------------------------------------------------------------------------
// Values
// ---------------------------------------------------------------------------------------------
BOOL CZQImageShiftDlg::BValidateShift(PCWSTR pszText) const {
    if (!pszText) return FALSE;
    int points = 0;
    for (int i = 0; pszText[i]; ++i) {
        const WCHAR c = pszText[i];
        if ((c >= L'0' && c <= L'9') || (c == L'-' && i == 0) || (c == L'.' && ++points == 1)) continue;
        return FALSE;
    }
    const float value = static_cast<float>(ShiftValue(pszText));
    const float limit = Checked(IDC_CHK_USE_INCHES) ? kMaxInches : kMaxMillimetres;
    return value >= -limit && value <= limit ? TRUE : FALSE;
}

void CZQImageShiftDlg::VOnEditChange(int iEditId, PageContext* pContext) {
    HWND edit = Item(iEditId);
    const int field = FieldOf(iEditId);
    if (!edit || field < 0) return;
    const WPARAM caret = IsFrontEdit(iEditId) ? 4 : 3;
    SendMessageW(edit, EM_SETSEL, caret, caret);
    std::wstring text = EditText(edit);
    if (!text.empty() && !BValidateShift(text.c_str())) {
        WCHAR zeros[8] = {};
        swprintf(zeros, 8, L"%04d", 0);
        SetWindowTextW(edit, zeros);
        SendMessageW(edit, EM_SETSEL, caret, caret);
        text = EditText(edit);
    }
    // While the dialog is open the settings hold the whole part shown; OK takes the exact value.
    WorkOf(pContext)->aiImageShift[field] = static_cast<int32_t>(std::floor(ShiftValue(text)));
}

void CZQImageShiftDlg::VMirrorCopy(PageContext* pContext, int iFrontEdit) {
    if (!Checked(IDC_CHK_MIRROR_FRONT) || !Checked(IDC_CHK_BACK_SHIFT)) return;
    // Pages flipped up turn the back: the front's across becomes the back's down.
    const bool flipped = WorkOf(pContext)->dwFlipPagesUp == 1;
    for (const int front : {IDC_LB_HZ_FRONT, IDC_LB_VL_FRONT}) {
        if (iFrontEdit && iFrontEdit != front) continue;
        const std::wstring text = EditText(Item(front));
        if (!BValidateShift(text.c_str())) continue;
        const bool across = front == IDC_LB_HZ_FRONT;
        // The back's across is the front's negated (its left is the front's right); down stays.
        const int back = across != flipped ? IDC_LB_HZ_BACK : IDC_LB_VL_BACK;
        SetWindowTextW(Item(back), (back == IDC_LB_HZ_BACK ? Negated(text) : text).c_str());
    }
}

void CZQImageShiftDlg::VSaveSettings(PageContext* pContext) {
    ZQUIDevmode* work = WorkOf(pContext);
    ZQUIDevmode* core = CoreOf(m_pCUIParam);
    if (!work || !core) return;
    const bool inches = Checked(IDC_CHK_USE_INCHES);
    for (const bool back : {false, true}) {
        const int on = back ? kBackOn : kFrontOn;
        const bool applies = Checked(back ? IDC_CHK_BACK_SHIFT : IDC_CHK_FRONT_SHIFT);
        work->aiImageShift[on] = core->aiImageShift[on] = applies ? 1 : 0;
        if (!applies) continue;
        for (const EditField& e : kEdits)
            if ((e.edit == IDC_LB_HZ_BACK || e.edit == IDC_LB_VL_BACK) == back)
                core->aiImageShift[e.field] =
                    WholeMillimetres(ShiftValue(EditText(Item(e.edit))), inches);
    }
    const struct {
        int field, box;
    } flags[] = {{kMirrorFront, IDC_CHK_MIRROR_FRONT}, {kReduceToFit, IDC_CHK_REDUCE_FIT}, {kInches, IDC_CHK_USE_INCHES}};
    for (const auto& f : flags) work->aiImageShift[f.field] = core->aiImageShift[f.field] = Checked(f.box) ? 1 : 0;
    // The working settings keep millimetres too, whatever was typed meanwhile.
    for (const EditField& e : kEdits) work->aiImageShift[e.field] = core->aiImageShift[e.field];
}

void CZQImageShiftDlg::VRestoreOpening(PageContext* pContext) {
    ZQUIDevmode* work = WorkOf(pContext);
    if (!work) return;
    for (const EditField& e : kEdits) work->aiImageShift[e.field] = m_aiOpening[e.field];
    work->aiImageShift[kReduceToFit] = m_aiOpening[kReduceToFit];
}

// ---------------------------------------------------------------------------------------------
// Commands
// ---------------------------------------------------------------------------------------------
void CZQImageShiftDlg::VOnCommand(int iCtrlId, int iCode, PageContext* pContext) {
    if (iCode == EN_CHANGE || iCode == EN_KILLFOCUS) {
        // Leaving a front value mirrors it onto the back first.
        if (iCode == EN_KILLFOCUS && IsFrontEdit(iCtrlId)) VMirrorCopy(pContext, iCtrlId);
        VOnEditChange(iCtrlId, pContext);
        return;
    }
    if (iCode != BN_CLICKED) return;
    switch (iCtrlId) {
        case IDC_CHK_FRONT_SHIFT: VOnSideBox(false, pContext); break;
        case IDC_CHK_BACK_SHIFT: VOnSideBox(true, pContext); break;
        case IDC_CHK_USE_INCHES: VOnUseInches(); break;
        case IDC_CHK_REDUCE_FIT:
            WorkOf(pContext)->aiImageShift[kReduceToFit] = Checked(IDC_CHK_REDUCE_FIT) ? 1 : 0;
            break;
        case IDC_CHK_MIRROR_FRONT:
            if (Checked(IDC_CHK_MIRROR_FRONT)) VMirrorCopy(pContext);
            break;
        default: break;
    }
}

INT_PTR CALLBACK CZQImageShiftDlg::ImageShiftDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    // Without its page the dialog has nothing to show: it ends at once, as cancelled.
    if (uMsg == WM_INITDIALOG)
        return Modal::IStart(hDlg, [&](CZQImageShiftDlg& d) {
            return d.BInitDialog(hDlg, reinterpret_cast<PageContext*>(lParam));
        });
    PageContext* context = nullptr;
    CZQImageShiftDlg* dialog = Modal::Bound(hDlg, uMsg, false, &context);
    // Once the dialog ends nothing it still hears (an edit losing the focus as the window goes)
    // touches the settings again.
    if (!dialog || !dialog->m_hDlg || !WorkOf(context)) return FALSE;
    const POEMCUIPPARAM param = dialog->m_pCUIParam;
    auto end = [&](INT_PTR result) {
        dialog->m_hDlg = nullptr;
        EndDialog(hDlg, result);
        return TRUE;
    };
    switch (uMsg) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            BeginPaint(hDlg, &ps);
            EndPaint(hDlg, &ps);
            const BOOL rtl = context->pLogic->SheetState()->bRtl;
            VPaintItemBitmap(hDlg, 0, rtl, IDB_IMAGE_SHIFT, IDC_IMAGE_SHIFT, static_cast<HINSTANCE>(param->hModule));
            return FALSE;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK && HIWORD(wParam) == BN_CLICKED) {
                dialog->VSaveSettings(context);
                return end(1);
            }
            if (LOWORD(wParam) == IDCANCEL && HIWORD(wParam) == BN_CLICKED) {
                dialog->VRestoreOpening(context);
                return end(2);
            }
            dialog->VOnCommand(LOWORD(wParam), HIWORD(wParam), context);
            return FALSE;
        case WM_CLOSE:
            dialog->VRestoreOpening(context);
            return end(2);
        case WM_HELP:
        case WM_CONTEXTMENU:
            if (!CoreOf(param)) {
                SetLastError(ERROR_INVALID_DATA);
                return FALSE;
            }
            ZQShowDialogHelp(uMsg, wParam, lParam, param, kHelpIds);
            return TRUE;
        default: return FALSE;
    }
}
