// The custom paper size dialog: its opening, the sizes held within the limits, the units, the
// Save/Delete button and the forms it stores.
#include "pages/dialogs/zqcustompaperdlg.h"

#include <cmath>
#include <cwchar>

#include "common/zqcommon.h"
#include "common/zqhandles.h"
#include "common/zqmsgbox.h"
#include "common/zqprintercaps.h"
#include "common/zqstrings.h"
#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"
#include "pages/dialogs/zqmodaldlg.h"
#include "pages/zqpapernames.h"
#include "pages/zqpageitems.h"
#include "pages/zqpages.h"
#include "res/zqcustompaperids.h"

namespace {

using Modal = CZQModalDialog<CZQCustomPaperDlg>;

constexpr int kControlIds[] = {IDC_CP_EDIT_NAME,       IDC_CP_EDIT_WIDTH,      IDC_CP_EDIT_LENGTH,
                               IDC_CP_GB_NAME,         IDC_CP_GB_SIZE,         IDC_CP_GB_UNITS,
                               IDC_CP_CHK_BORDERLESS,  IDC_CP_RB_INCHES,       IDC_CP_RB_MILLIMETERS,
                               IDC_CP_STA_WIDTH,       IDC_CP_STA_LENGTH,      IDC_CP_STA_WIDTH_RANGE,
                               IDC_CP_STA_LENGTH_RANGE, IDC_CP_BTN_SAVE_DELETE, IDOK,
                               IDCANCEL,               IDC_CP_STA_WARNING};

constexpr DWORD kHelpIds[][2] = {
    {IDC_CP_GB_NAME, DWORD(-1)},      {IDC_CP_EDIT_NAME, 15730},  {IDC_CP_BTN_SAVE_DELETE, 15552},
    {IDC_CP_GB_SIZE, DWORD(-1)},      {IDC_CP_CHK_BORDERLESS, 15458}, {IDC_CP_STA_WIDTH, 15463},
    {IDC_CP_EDIT_WIDTH, 15463},       {IDC_CP_STA_WIDTH_RANGE, DWORD(-1)}, {IDC_CP_STA_LENGTH, 15460},
    {IDC_CP_EDIT_LENGTH, 15460},      {IDC_CP_STA_LENGTH_RANGE, DWORD(-1)}, {IDC_CP_GB_UNITS, DWORD(-1)},
    {IDC_CP_RB_INCHES, 15459},        {IDC_CP_RB_MILLIMETERS, 15461}, {IDC_CP_GB_DETAILS, DWORD(-1)},
    {IDC_CP_STA_WARNING, DWORD(-1)}};

constexpr PCWSTR kDefaultName = L"Custom";
constexpr double kMillimetresPerInch = 25.4;
// Typed numbers beyond these are taken as the largest size.
constexpr double kMaxInches = 84500.0;
constexpr double kMaxMillimetres = 589999999.0;

bool RulesLoaded(const PageContext* pContext) { return pContext->pRules && pContext->pRules->Parser().BIsLoaded(); }

// The leading decimal number of a text (an optional sign, digits, a point and digits); 0 when the
// text does not begin with one.
double LeadingNumber(const char* pszText) {
    const char* p = pszText;
    while (*p == ' ' || *p == '\t') ++p;
    double sign = 1.0;
    if (*p == '+' || *p == '-') sign = *p++ == '-' ? -1.0 : 1.0;
    double value = 0.0;
    for (; *p >= '0' && *p <= '9'; ++p) value = value * 10.0 + (*p - '0');
    if (*p == '.') {
        double scale = 0.1;
        for (++p; *p >= '0' && *p <= '9'; ++p, scale /= 10.0) value += (*p - '0') * scale;
    }
    return sign * value;
}

// A size in thousandths of a millimetre brought within the limits in double precision, so that no
// typed number wraps around on its way to 32 bits; *pbCorrected when it had to move.
LONG HeldWithin(double dThousandths, LONG lMin, LONG lMax, BOOL* pbCorrected) {
    if (dThousandths < lMin) {
        *pbCorrected = TRUE;
        return lMin;
    }
    if (dThousandths > lMax) {
        *pbCorrected = TRUE;
        return lMax;
    }
    return static_cast<LONG>(dThousandths);
}

// A shown size as the spooler keeps it, truncated toward zero and bounded to 32 bits.
LONG Thousandths(double dValue, int iUnit) {
    const double t = dValue * (iUnit == CZQCustomPaperDlg::kInches ? CZQCustomPaperDlg::kPerInch
                                                                   : CZQCustomPaperDlg::kPerMillimetre);
    if (!(t > -2147483648.0)) return LONG(-2147483647 - 1);
    if (t > 2147483647.0) return 2147483647;
    return static_cast<LONG>(t);
}

bool SameHundredths(double a, double b) { return std::fabs(a - b) < 0.005; }

}  // namespace

CZQCustomPaperDlg::CZQCustomPaperDlg() = default;

BOOL CZQCustomPaperDlg::BFindForm(POEMCUIPPARAM pParam, PCWSTR pszForm, BOOL* pbUserForm) {
    if (!pParam || !pszForm || !pbUserForm) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    *pbUserForm = FALSE;
    CZQLocalPtr<FORM_INFO_1W> forms;
    DWORD count = 0;
    if (!CZQCommon::BEnumForms(pParam->hPrinter, forms.Put(), &count)) return FALSE;
    for (DWORD i = 0; i < count; ++i) {
        const FORM_INFO_1W& form = forms.Get()[i];
        if (!form.pName || !ZQEqualNoCase(form.pName, pszForm)) continue;
        *pbUserForm = form.Flags == FORM_USER;
        return TRUE;
    }
    return FALSE;
}

BOOL CZQCustomPaperDlg::BIsPlainNumber(PCWSTR pszText) {
    if (!pszText) return FALSE;
    int points = 0;
    for (PCWSTR p = pszText; *p; ++p) {
        if (*p == L'.') {
            if (++points > 1 || !p[1]) return FALSE;
        } else if (*p < L'0' || *p > L'9') {
            return FALSE;
        }
    }
    return TRUE;
}

void CZQCustomPaperDlg::VGetHelpIds(DWORD* pdwTable) {
    if (!pdwTable) return;
    int n = 0;
    for (const auto& pair : kHelpIds) {
        pdwTable[n++] = pair[0];
        pdwTable[n++] = pair[1];
    }
    pdwTable[n++] = 0;
    pdwTable[n] = 0;
}

BOOL CZQCustomPaperDlg::BIsNameValid() {
    WCHAR name[kNameChars] = {}, defaultName[kResStringChars];
    GetWindowTextW(H(kName), name, kNameChars);
    for (size_t n = wcslen(name); n > 1 && name[n - 1] == L' '; --n) name[n - 1] = 0;
    VLoadText(1018, kDefaultName, defaultName);
    if (ZQEqualNoCase(name, defaultName)) return FALSE;
    for (PCWSTR p = name; *p; ++p)
        if (*p != L' ') return TRUE;
    return FALSE;
}

// ---------------------------------------------------------------------------------------------
// Opening
// ---------------------------------------------------------------------------------------------
INT_PTR CZQCustomPaperDlg::IDoModal(HWND hOwner, PageContext* pContext, BOOL bRightToLeft) {
    POEMCUIPPARAM param = pContext && pContext->pLogic ? pContext->pLogic->Param() : nullptr;
    if (!param) {
        SetLastError(ERROR_INVALID_DATA);
        return -1;
    }
    const INT_PTR result =
        Modal::IRun(this, static_cast<HINSTANCE>(param->hModule),
                    bRightToLeft ? IDD_DLG_CUSTOM_PAPER_RTL : IDD_DLG_CUSTOM_PAPER, hOwner, &CustomPaperDlgProc,
                    reinterpret_cast<LPARAM>(pContext));
    // The engine writes limits only into a dialog that is open.
    if (pContext->pRules) pContext->pRules->VSetCustomSizeTarget(nullptr);
    m_hDlg = nullptr;
    return result;
}

BOOL CZQCustomPaperDlg::BInitDialog(HWND hDlg, PageContext* pContext) {
    if (!pContext || !pContext->pLogic || !pContext->pLogic->Param()) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    CZQUILogic& logic = *pContext->pLogic;
    VSetResourceModule(logic.HResModule());
    m_pCUIParam = logic.Param();
    m_pPublicDM = m_pCUIParam->pPublicDM;
    m_hDlg = hDlg;
    for (int c = 0; c < kCtlCount; ++c) m_ahCtl[c] = GetDlgItem(hDlg, kControlIds[c]);
    zqpage::NumbersLeftToRight(hDlg, {IDC_CP_EDIT_WIDTH, IDC_CP_EDIT_LENGTH});

    BSetWindowTextRes(4244, hDlg, L"Custom Paper Size");
    struct Text {
        Ctl ctl;
        INT id;
        PCWSTR english;
    };
    for (const Text& t : {Text{kNameGroup, 4245, L"&Name"}, Text{kName, 1018, kDefaultName},
                          Text{kSaveDelete, 3006, L"Sa&ve"}, Text{kSizeGroup, 3022, L"Paper Size"},
                          Text{kBorderless, 4246, L"Borderless"}, Text{kWidthLabel, 4247, L"&Width:"},
                          Text{kLengthLabel, 4248, L"&Length:"}, Text{kUnitsGroup, 4249, L"Units"},
                          Text{kInchesRadio, 4250, L"&Inches"}, Text{kMmRadio, 4251, L"&Millimeters"},
                          Text{kOk, 849, L"&OK"}, Text{kCancel, 850, L"&Cancel"}, Text{kWarning, 4625, L""}})
        BSetWindowTextRes(t.id, H(t.ctl), t.english);
    SetWindowTextW(H(kWidthRange), L"()");
    SetWindowTextW(H(kLengthRange), L"()");
    SendMessageW(H(kInchesRadio), BM_SETCHECK, BST_CHECKED, 0);

    if (!pContext->pRules) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    pContext->pRules->VSetCustomSizeTarget(&m_limits);
    if (RulesLoaded(pContext)) pContext->pRules->BRunFeatureMacros(L"CustomSize", nullptr, m_pCUIParam);
    VFill(pContext);
    SetWindowLongPtrW(hDlg, DWLP_USER, reinterpret_cast<LONG_PTR>(pContext));
    return TRUE;
}

void CZQCustomPaperDlg::VFill(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    m_pCUIParam = logic.Param();
    CZQLocalPtr<WCHAR> formName;
    BOOL user = FALSE;
    if (CZQCommon::DWGetPubSelectionName(m_pCUIParam, DMPUB_FORMNAME, formName.Put()) == ZQOPT_OK &&
        BFindForm(m_pCUIParam, formName.Get(), &user)) {
        if (user) SetWindowTextW(H(kName), formName.Get());
        VLabelButton(user);
        EnableWindow(H(kSaveDelete), user);
        EnableWindow(H(kOk), user);
    }

    // The selected paper's size, in inches first.
    double width = 0.0, length = 0.0;
    const PrinterCaps* caps = ZQPrinterCapsLists(pContext->pCaps, kCapsPapers);
    if (caps && caps->pPaperIds && caps->pPaperSizes && m_pPublicDM) {
        for (DWORD i = 0; i < caps->dwPaperCount; ++i) {
            if (caps->pPaperIds[i] != static_cast<WORD>(m_pPublicDM->dmPaperSize)) continue;
            width = caps->pPaperSizes[i].x / 254.0;
            length = caps->pPaperSizes[i].y / 254.0;
            break;
        }
    }
    m_iUnit = logic.m_dwUnitMm ? kMillimetres : kInches;
    CheckRadioButton(m_hDlg, IDC_CP_RB_INCHES, IDC_CP_RB_MILLIMETERS,
                     m_iUnit == kMillimetres ? IDC_CP_RB_MILLIMETERS : IDC_CP_RB_INCHES);
    if (m_iUnit == kMillimetres) {
        width *= kMillimetresPerInch;
        length *= kMillimetresPerInch;
    }
    VWriteNumber(H(kWidth), width);
    VWriteNumber(H(kLength), length);

    CZQLocalPtr<WCHAR> borderlessOption;
    const bool borderlessShown =
        CZQCommon::DWGetFeatureOption(m_pCUIParam, L"ZQCustomBorderless", borderlessOption.Put()) == ZQOPT_OK;
    ShowWindow(H(kBorderless), borderlessShown ? SW_SHOW : SW_HIDE);

    VWriteRanges();
    const ZQUIDevmode* core = zqdm::CurrentBlock(m_pCUIParam->pOEMDM);
    const bool shortNames = logic.BIsLargeFormat() && core && core->dwPdl == 5;
    SendMessageW(H(kName), EM_LIMITTEXT, shortNames ? 17 : 31, 0);

    GetWindowTextW(H(kName), m_szRecordedName, kNameChars);
    m_bUnitsSwitched = FALSE;
    if (borderlessShown) {
        m_bRecordedBorderless = BIsBorderlessFormName(m_szRecordedName);
        SendMessageW(H(kBorderless), BM_SETCHECK, m_bRecordedBorderless ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

void CZQCustomPaperDlg::VWriteRanges() {
    const double per = m_iUnit == kInches ? kPerInch : kPerMillimetre;
    WCHAR text[64];
    ZQFormatText(text, 64, L"(%1.2lf - %1.2lf)", m_limits.lMinWidth / per, m_limits.lMaxWidth / per);
    SetWindowTextW(H(kWidthRange), text);
    ZQFormatText(text, 64, L"(%1.2lf - %1.2lf)", m_limits.lMinLength / per, m_limits.lMaxLength / per);
    SetWindowTextW(H(kLengthRange), text);
}

double CZQCustomPaperDlg::DReadField(HWND hEdit) const {
    WCHAR text[kNameChars] = {};
    GetWindowTextW(hEdit, text, kNameChars);
    CZQLocalPtr<char> ansi;
    if (!BWideToMultiByte(text, ansi.Put(), CP_ACP) || !ansi) return 0.0;
    return LeadingNumber(ansi.Get());
}

void CZQCustomPaperDlg::VWriteNumber(HWND hEdit, double dValue) const {
    WCHAR text[64];
    ZQFormatText(text, 64, L"%1.2lf", dValue);
    SetWindowTextW(hEdit, text);
}

// ---------------------------------------------------------------------------------------------
// Sizes and units
// ---------------------------------------------------------------------------------------------
void CZQCustomPaperDlg::VOnSizeLeft(BOOL bWidth) {
    HWND edit = H(bWidth ? kWidth : kLength);
    const LONG lMin = bWidth ? m_limits.lMinWidth : m_limits.lMinLength;
    const LONG lMax = bWidth ? m_limits.lMaxWidth : m_limits.lMaxLength;
    const double per = m_iUnit == kInches ? kPerInch : kPerMillimetre;
    const double typed = DReadField(edit);
    BOOL corrected = FALSE;
    LONG size;
    if (typed > (m_iUnit == kInches ? kMaxInches : kMaxMillimetres)) {
        size = lMax;
        corrected = TRUE;
    } else {
        size = HeldWithin(typed * per, lMin, lMax, &corrected);
    }
    if (corrected) {
        VWriteNumber(edit, size / per);
        m_iCorrection = kCorrected;
        VUpdateButtons();
    }
    WCHAR shown[kNameChars] = {};
    GetWindowTextW(edit, shown, kNameChars);
    if (!BIsPlainNumber(shown)) VWriteNumber(edit, DReadField(edit));
}

void CZQCustomPaperDlg::VOnUnitChosen(int iUnit) {
    if (iUnit == m_iUnit) return;
    m_iUnit = iUnit;
    m_bUnitsSwitched = !m_bUnitsSwitched;
    for (Ctl c : {kWidth, kLength}) {
        const double value = DReadField(H(c));
        VWriteNumber(H(c), iUnit == kInches ? value / kMillimetresPerInch : value * kMillimetresPerInch);
    }
    VWriteRanges();
    if (m_iCorrection == kNotCorrected) VUpdateButtons();
    else m_iCorrection = kSwitchedAfterCorrection;
}

// ---------------------------------------------------------------------------------------------
// The Save/Delete button and OK
// ---------------------------------------------------------------------------------------------
void CZQCustomPaperDlg::VLabelButton(BOOL bDelete) {
    WCHAR label[kResStringChars];
    if (bDelete) VLoadText(854, L"De&lete", label);
    else VLoadText(3006, L"Sa&ve", label);
    SetWindowTextW(H(kSaveDelete), label);
}

BOOL CZQCustomPaperDlg::BShowsDelete() {
    WCHAR label[kResStringChars], shown[kResStringChars] = {};
    VLoadText(854, L"De&lete", label);
    GetWindowTextW(H(kSaveDelete), shown, kResStringChars);
    return lstrcmpW(label, shown) == 0;
}

void CZQCustomPaperDlg::VUpdateButtons() {
    const BOOL valid = BIsNameValid();
    WCHAR name[kNameChars] = {}, defaultName[kResStringChars];
    GetWindowTextW(H(kName), name, kNameChars);
    VLoadText(1018, kDefaultName, defaultName);
    BOOL found = FALSE, user = FALSE;
    if (name[0]) found = BFindForm(m_pCUIParam, name, &user);

    BOOL enable = FALSE, borderlessChanged = FALSE;
    double formWidth = 0.0, formLength = 0.0;
    double typedWidth = DReadField(H(kWidth)), typedLength = DReadField(H(kLength));
    const bool edited = SendMessageW(H(kWidth), EM_GETMODIFY, 0, 0) || SendMessageW(H(kLength), EM_GETMODIFY, 0, 0);
    const bool storedUserForm = found && user;
    if (storedUserForm) {
        enable = !ZQEqualNoCase(name, m_szRecordedName);
        CZQLocalPtr<FORM_INFO_1W> form;
        if (BGetForm(m_pCUIParam->hPrinter, name, form.Put())) {
            const bool inches = SendMessageW(H(kInchesRadio), BM_GETCHECK, 0, 0) == BST_CHECKED;
            if (inches) {
                formWidth = std::floor(form.Get()->Size.cx / kPerInch * 100.0) / 100.0;
                formLength = std::floor(form.Get()->Size.cy / kPerInch * 100.0) / 100.0;
            } else {
                formWidth = std::ceil(form.Get()->Size.cx / kPerMillimetre * 100.0) / 100.0;
                formLength = std::ceil(form.Get()->Size.cy / kPerMillimetre * 100.0) / 100.0;
            }
        }
        if (SameHundredths(typedWidth, formWidth) && SameHundredths(typedLength, formLength)) {
            VLabelButton(TRUE);
            enable = TRUE;
        } else if (edited || m_iCorrection == kCorrected) {
            VLabelButton(FALSE);
            enable = TRUE;
        }
        if (m_bUnitsSwitched) {
            const bool mmNow = m_iUnit == kMillimetres;
            typedWidth = mmNow ? typedWidth / kMillimetresPerInch : typedWidth * kMillimetresPerInch;
            typedLength = mmNow ? typedLength / kMillimetresPerInch : typedLength * kMillimetresPerInch;
        }
        const bool checked = SendMessageW(H(kBorderless), BM_GETCHECK, 0, 0) == BST_CHECKED;
        borderlessChanged = checked != (m_bRecordedBorderless != FALSE);
    }
    if (!found && valid && lstrcmpW(name, defaultName) != 0) {
        VLabelButton(FALSE);
        enable = TRUE;
    }
    if (storedUserForm && SameHundredths(typedWidth, formWidth) && SameHundredths(typedLength, formLength)) {
        VLabelButton(TRUE);
        enable = TRUE;
    } else if ((edited || m_iCorrection == kCorrected) && valid) {
        VLabelButton(FALSE);
        enable = TRUE;
    }
    if (borderlessChanged) {
        VLabelButton(FALSE);
        enable = TRUE;
    }
    EnableWindow(H(kSaveDelete), enable);
    EnableWindow(H(kOk), enable);
}

BOOL CZQCustomPaperDlg::BSaveForm(PageContext* pContext) {
    if (!pContext || !pContext->pRules || !m_pCUIParam) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    WCHAR suffix[kResStringChars], name[kNameChars] = {};
    VLoadText(5064, L" - oversize", suffix);
    const double width = DReadField(H(kWidth)), length = DReadField(H(kLength));
    GetWindowTextW(H(kName), name, kNameChars);
    // Only a trailing suffix marks the oversize twin; the same words inside a name are the name's.
    const size_t nameLen = wcslen(name), suffixLen = wcslen(suffix);
    if (suffixLen && nameLen >= suffixLen && lstrcmpW(name + nameLen - suffixLen, suffix) == 0)
        name[nameLen - suffixLen] = 0;

    FORM_INFO_1W form = {};
    form.Flags = FORM_USER;
    form.pName = name;
    form.Size.cx = Thousandths(width, m_iUnit);
    form.Size.cy = Thousandths(length, m_iUnit);
    form.ImageableArea = {0, 0, form.Size.cx, form.Size.cy};

    BOOL user = FALSE;
    const BOOL found = BFindForm(m_pCUIParam, name, &user);
    if (found && !user) return FALSE;
    ZQCopyTextN(m_szRecordedName, kNameChars, name, kNameChars - 1);
    m_bUnitsSwitched = FALSE;
    const auto& spooler = zqspool::Spooler();
    BOOL saved;
    if (found) {
        // The stored form is replaced in place, so that a refused size never costs the user it.
        saved = spooler.SetFormW(m_pCUIParam->hPrinter, name, 1, reinterpret_cast<BYTE*>(&form));
        if (!saved) {
            VRunFailurePopup(pContext);
            return FALSE;
        }
    } else {
        saved = spooler.AddFormW(m_pCUIParam->hPrinter, 1, reinterpret_cast<BYTE*>(&form));
    }

    const BOOL borderless = SendMessageW(H(kBorderless), BM_GETCHECK, 0, 0) == BST_CHECKED;
    if (BRecordBorderlessForm(name, borderless)) m_bRecordedBorderless = borderless;
    return saved;
}

void CZQCustomPaperDlg::VRunFailurePopup(PageContext* pContext) {
    if (RulesLoaded(pContext)) pContext->pRules->BRunMacro(L"macro_pop_up_CustomPaper", nullptr, m_pCUIParam);
}

void CZQCustomPaperDlg::VDeleteShownForm(PageContext* pContext) {
    // Only the user's own forms go, whatever the button says.
    WCHAR shownName[kNameChars] = {};
    GetWindowTextW(H(kName), shownName, kNameChars);
    BOOL userForm = FALSE;
    if (!BFindForm(m_pCUIParam, shownName, &userForm) || !userForm) return;
    WCHAR text[kResStringChars], caption[kResStringChars];
    VLoadText(3011, L"Are you sure you want to delete the selected item?", text);
    VLoadText(876, L"Warning", caption);
    if (zqmsgbox::IShow(m_hDlg, text, caption, MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK) return;

    WCHAR suffix[kResStringChars], name[kNameChars] = {}, twin[2 * kNameChars] = {};
    VLoadText(5064, L" - oversize", suffix);
    GetWindowTextW(H(kName), name, kNameChars);
    const size_t nameLen = wcslen(name), suffixLen = wcslen(suffix);
    if (suffixLen && nameLen >= suffixLen && lstrcmpW(name + nameLen - suffixLen, suffix) == 0)
        ZQCopyTextN(twin, ARRAYSIZE(twin), name, nameLen - suffixLen);
    else
        ZQFormatText(twin, ARRAYSIZE(twin), L"%ls%ls", name, suffix);
    const auto& spooler = zqspool::Spooler();
    BOOL user = FALSE;
    if (twin[0] && BFindForm(m_pCUIParam, twin, &user) && !spooler.DeleteFormW(m_pCUIParam->hPrinter, twin))
        VRunFailurePopup(pContext);
    if (spooler.DeleteFormW(m_pCUIParam->hPrinter, name)) {
        EnableWindow(H(kSaveDelete), FALSE);
        SetFocus(H(kOk));
    } else {
        VRunFailurePopup(pContext);
    }
}

void CZQCustomPaperDlg::VOnSaveDelete(PageContext* pContext) {
    if (BShowsDelete()) {
        VDeleteShownForm(pContext);
        return;
    }
    if (BSaveForm(pContext) == TRUE) {
        EnableWindow(H(kSaveDelete), FALSE);
        SetFocus(H(kOk));
    }
}

// ---------------------------------------------------------------------------------------------
// The dialog procedure
// ---------------------------------------------------------------------------------------------
void CZQCustomPaperDlg::VOnCommand(int iCtrlId, int iCode, PageContext* pContext) {
    m_pPublicDM = m_pCUIParam ? m_pCUIParam->pPublicDM : nullptr;
    switch (iCtrlId) {
        case IDC_CP_EDIT_NAME:
            if (iCode == EN_CHANGE) VUpdateButtons();
            else if (iCode == EN_SETFOCUS) {
                const int end = GetWindowTextLengthW(H(kName));
                SendMessageW(H(kName), EM_SETSEL, static_cast<WPARAM>(end), end);
            }
            return;
        case IDC_CP_EDIT_WIDTH:
        case IDC_CP_EDIT_LENGTH:
            if (iCode == EN_KILLFOCUS) VOnSizeLeft(iCtrlId == IDC_CP_EDIT_WIDTH);
            else if (iCode == EN_CHANGE && GetFocus() == GetDlgItem(m_hDlg, iCtrlId)) VUpdateButtons();
            return;
        default: break;
    }
    if (iCode != BN_CLICKED) return;
    switch (iCtrlId) {
        case IDC_CP_RB_INCHES: VOnUnitChosen(kInches); break;
        case IDC_CP_RB_MILLIMETERS: VOnUnitChosen(kMillimetres); break;
        case IDC_CP_BTN_SAVE_DELETE: VOnSaveDelete(pContext); break;
        case IDC_CP_CHK_BORDERLESS:
            if (SendMessageW(H(kBorderless), BM_GETCHECK, 0, 0) == BST_CHECKED && RulesLoaded(pContext))
                pContext->pRules->BRunFeatureMacros(L"ZQCustomBorderless", nullptr, m_pCUIParam);
            VUpdateButtons();
            break;
        case IDOK:
            // The dialog ends as confirmed even when the form could not be stored.
            if (!BShowsDelete() && BSaveForm(pContext) == TRUE) EnableWindow(H(kSaveDelete), FALSE);
            EndDialog(m_hDlg, IDOK);
            break;
        case IDCANCEL: EndDialog(m_hDlg, IDCANCEL); break;
        default: break;
    }
}

INT_PTR CALLBACK CZQCustomPaperDlg::CustomPaperDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    // Without its rules the dialog has no limits to hold sizes in: it ends at once.
    if (uMsg == WM_INITDIALOG)
        return Modal::IStart(hDlg, [&](CZQCustomPaperDlg& d) {
            return d.BInitDialog(hDlg, reinterpret_cast<PageContext*>(lParam));
        });
    PageContext* context = nullptr;
    CZQCustomPaperDlg* dialog = Modal::Bound(hDlg, uMsg, true, &context);
    if (!dialog) return FALSE;
    switch (uMsg) {
        case WM_COMMAND: dialog->VOnCommand(LOWORD(wParam), HIWORD(wParam), context); return TRUE;
        case WM_CLOSE: EndDialog(hDlg, IDCANCEL); return TRUE;
        case WM_HELP:
        case WM_CONTEXTMENU: {
            DWORD table[2 * kHelpPairs] = {};
            VGetHelpIds(table);
            ZQShowDialogHelp(uMsg, wParam, lParam, dialog->m_pCUIParam, table);
            return TRUE;
        }
        default: return FALSE;
    }
}
