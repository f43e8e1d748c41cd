// The dialog that asks for a new name.
#include "pages/dialogs/zqnamedlg.h"

#include "common/zqcommon.h"
#include "common/zqstrings.h"
#include "common/zquibase.h"
#include "res/zqquicksetids.h"

namespace {

constexpr int kIdsNameGroup = 3013;
constexpr int kIdsOk = 849;
constexpr int kIdsCancel = 850;
// Longer than any name the edit takes, so that the reserved text is compared whole.
constexpr size_t kTextChars = CZQCommon::kResStringChars;

// A name counts as given when it holds a character other than a blank.
bool IsBlank(PCWSTR pszText) {
    for (; pszText && *pszText; ++pszText)
        if (*pszText != L' ') return false;
    return true;
}

}  // namespace

BOOL CZQNameDlg::BAskName(HWND hOwner, BOOL bRtl, const ZQNameQuestion& question, PWSTR pszName, size_t cchName) {
    if (!question.pTexts || !pszName || !cchName) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    m_pQuestion = &question;
    m_pszName = pszName;
    m_cchName = cchName;
    const INT_PTR result =
        CZQCommon::IDialogBoxParam(m_hModule, MAKEINTRESOURCEW(bRtl ? IDD_DLG_PRESET_NAME_RTL : IDD_DLG_PRESET_NAME),
                                   hOwner, DlgProc, reinterpret_cast<LPARAM>(this));
    m_pQuestion = nullptr;
    m_pszName = nullptr;
    m_cchName = 0;
    m_hEdit = m_hOk = nullptr;
    return result == IDOK;
}

bool CZQNameDlg::BAcceptable(PCWSTR pszText) const {
    if (IsBlank(pszText)) return false;
    if (!m_pQuestion->iReservedId) return true;
    WCHAR reserved[CZQCommon::kResStringChars];
    return !m_pQuestion->pTexts->BLoadResString(m_pQuestion->iReservedId, reserved) || wcscmp(reserved, pszText) != 0;
}

void CZQNameDlg::VStart(HWND hDlg) {
    CZQUIBase& texts = *m_pQuestion->pTexts;
    m_hEdit = GetDlgItem(hDlg, IDC_TXT_PRESET_NAME);
    m_hOk = GetDlgItem(hDlg, IDOK);
    texts.BSetWindowTextRes(m_pQuestion->iCaptionId, hDlg, m_pQuestion->pszCaption);
    const struct {
        int iCtrl;
        int iId;
        PCWSTR pszEnglish;
    } rows[] = {{IDC_STA_PRESET_NAME, m_pQuestion->iPromptId, m_pQuestion->pszPrompt},
                {IDC_GB_PRESET_NAME, kIdsNameGroup, L"Name"},
                {IDOK, kIdsOk, L"OK"},
                {IDCANCEL, kIdsCancel, L"Cancel"}};
    for (const auto& row : rows) texts.BSetWindowTextRes(row.iId, GetDlgItem(hDlg, row.iCtrl), row.pszEnglish);
    EnableWindow(m_hOk, FALSE);
    SendMessageW(m_hEdit, EM_LIMITTEXT, static_cast<WPARAM>(m_pQuestion->iMaxChars), 0);
}

INT_PTR CALLBACK CZQNameDlg::DlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<CZQNameDlg*>(GetWindowLongPtrW(hDlg, DWLP_USER));
    switch (uMsg) {
        case WM_INITDIALOG:
            self = reinterpret_cast<CZQNameDlg*>(lParam);
            if (!self || !self->m_pQuestion) {
                EndDialog(hDlg, IDCANCEL);
                return FALSE;
            }
            SetWindowLongPtrW(hDlg, DWLP_USER, lParam);
            self->VStart(hDlg);
            return TRUE;
        case WM_COMMAND: {
            if (!self || !self->m_pQuestion) break;
            WCHAR text[kTextChars] = {};
            switch (LOWORD(wParam)) {
                case IDC_TXT_PRESET_NAME:
                    if (HIWORD(wParam) == EN_CHANGE) {
                        GetWindowTextW(self->m_hEdit, text, static_cast<int>(kTextChars));
                        EnableWindow(self->m_hOk, self->BAcceptable(text));
                    }
                    return TRUE;
                case IDOK:
                    GetWindowTextW(self->m_hEdit, text, static_cast<int>(kTextChars));
                    // Enter on a name OK does not offer does nothing.
                    if (!self->BAcceptable(text)) return TRUE;
                    ZQCopyText(self->m_pszName, self->m_cchName, text);
                    EndDialog(hDlg, IDOK);
                    return TRUE;
                case IDCANCEL:
                    EndDialog(hDlg, IDCANCEL);
                    return TRUE;
                default:
                    break;
            }
            break;
        }
        case WM_CLOSE:
            EndDialog(hDlg, IDCANCEL);
            return TRUE;
        default:
            break;
    }
    return FALSE;
}
