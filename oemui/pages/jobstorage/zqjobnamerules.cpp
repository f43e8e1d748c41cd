// The rules the Job Storage page applies to what the user types: the user name and the job name
// when their edits are left and when the page is left, the PIN while it is typed and when it is
// checked, and the two messages that tell the user.
#include "common/zqmsgbox.h"
#include "common/zqstrings.h"
#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"
#include "pages/jobstorage/zqjobretention.h"
#include "pages/zqpageitems.h"

using namespace zqpage;

namespace {

// The controls of one name: its edit and its Automatic and Custom buttons.
struct NameControls {
    int edit;
    int automatic;
    int custom;
};
constexpr NameControls kUser = {IDC_TXT_USER_NAME, IDC_RB_USER_AUTO, IDC_RB_USER_CUSTOM};
constexpr NameControls kJob = {IDC_TXT_JOB_NAME, IDC_RB_JOB_AUTO, IDC_RB_JOB_CUSTOM};

}  // namespace

BOOL CZQJobRetentionOptions::BIsPlainAscii(PCWSTR pszText) { return ZQIsPlainAscii(pszText) ? TRUE : FALSE; }

BOOL CZQJobRetentionOptions::BReplaceIfNotPlainAscii(PWSTR pszText, PCWSTR pszFallBack) {
    return ZQReplaceIfNotPlainAscii(pszText, kZQNameChars, pszFallBack) ? TRUE : FALSE;
}

void CZQJobRetentionOptions::VShowMessage(HWND hDlg, INT iTextId, PCWSTR pszText, INT iCaptionId, PCWSTR pszCaption,
                                          UINT uType) {
    WCHAR text[kResStringChars], caption[kResStringChars];
    VLoadText(iTextId, pszText, text);
    VLoadText(iCaptionId, pszCaption, caption);
    zqmsgbox::IShow(hDlg, text, caption, uType | MB_OK);
}

void CZQJobRetentionOptions::VShowReplacementMessage(HWND hDlg) {
    VShowMessage(hDlg, 1123,
                 L"One or more characters entered are not displayable on the control panel, and have been replaced "
                 L"with a '~'",
                 1124, L"Error", MB_ICONINFORMATION);
}

// ---------------------------------------------------------------------------------------------
// The names
// ---------------------------------------------------------------------------------------------
// Steps shared by the leave rules and their commit variant: the text sanitised for the encoding;
// emptied, the edit shows the automatic name with its button (focused); replaced, the edit shows the
// new text and the buttons follow it. TRUE when something was replaced.
BOOL CZQJobRetentionOptions::BSanitizeShown(BOOL bUser, PWSTR pszText, BOOL bFocusEditFirst) {
    const NameControls& name = bUser ? kUser : kJob;
    const PCWSTR automatic = bUser ? m_szAutoUserName : m_szAutoJobName;
    HWND edit = m_controls.Item(name.edit);
    const bool replaced = ZQSanitizeName(pszText, m_encoding);
    if (replaced && bFocusEditFirst) SetFocus(edit);
    if (!pszText[0]) {
        SetWindowTextW(edit, automatic);
        VSetRadios(name.automatic, name.automatic);
        SetFocus(m_controls.Item(name.automatic));
    } else if (replaced) {
        SetWindowTextW(edit, pszText);
        const bool same = lstrcmpW(pszText, automatic) == 0;
        VSetRadios(name.automatic, same ? name.automatic : name.custom);
        // An automatic job name takes the focus to its button.
        if (same && !bUser) SetFocus(m_controls.Item(name.automatic));
    }
    return replaced ? TRUE : FALSE;
}

void CZQJobRetentionOptions::VNameLeft(HWND hDlg, BOOL bUser, PageContext* pContext) {
    const NameControls& name = bUser ? kUser : kJob;
    const PCWSTR automatic = bUser ? m_szAutoUserName : m_szAutoJobName;
    if (m_controls.BChecked(name.automatic)) return;
    HWND edit = m_controls.Item(name.edit);
    WCHAR text[kTextChars];
    VReadText(name.edit, text);
    if (!text[0]) {
        // Leaving the job name backwards with Shift+Tab keeps it empty for now.
        if (!bUser && GetKeyState(VK_SHIFT) < 0) return;
        SetWindowTextW(edit, automatic);
        VSetRadios(name.automatic, name.automatic);
        return;
    }
    if (BSanitizeShown(bUser, text, FALSE)) {
        VShowReplacementMessage(hDlg);
        // Back to the edit; an emptied job name leaves the focus on its Automatic button, since a
        // focused job-name edit would start a custom one again.
        if (bUser || text[0]) SetFocus(edit);
    }
    // The user name's buttons follow the name as sanitised, so an emptied one stays the user's own
    // (Custom); the job name's follow the name its edit shows.
    WCHAR shown[kTextChars];
    VReadText(name.edit, shown);
    const bool same = lstrcmpW(bUser ? text : shown, automatic) == 0;
    VSetRadios(name.automatic, same ? name.automatic : name.custom);
    ZQUIDevmode* work = WorkOf(pContext);
    if (work && same) (bUser ? work->dwUserNameCustom : work->dwJobNameCustom) = 0;
}

// As the leave rule, on a custom name that is not empty, when the page is left.
void CZQJobRetentionOptions::VCommitName(HWND hDlg, BOOL bUser) {
    const NameControls& name = bUser ? kUser : kJob;
    WCHAR text[kTextChars];
    VReadText(name.edit, text);
    if (m_controls.BChecked(name.automatic) || !text[0]) return;
    if (BSanitizeShown(bUser, text, TRUE)) VShowReplacementMessage(hDlg);
}

void CZQJobRetentionOptions::VNameChanged(HWND, BOOL bUser, PageContext* pContext) {
    ZQUIDevmode* work = WorkOf(pContext);
    if (!work) return;
    const NameControls& name = bUser ? kUser : kJob;
    const PCWSTR automatic = bUser ? m_szAutoUserName : m_szAutoJobName;
    WCHAR text[kZQNameChars] = {};
    VReadText(name.edit, text);
    const bool custom = lstrcmpW(text, automatic) != 0;
    if (custom) VSetRadios(name.automatic, name.custom);
    (bUser ? work->dwUserNameCustom : work->dwJobNameCustom) = custom ? 1 : 0;
    // The 8-bit rules keep only plain-ASCII names in the settings; the edit may show another.
    if (!BUtf8()) BReplaceIfNotPlainAscii(text, automatic);
    if (bUser) ZQCopyText(reinterpret_cast<WCHAR*>(work->szJsUserName), kZQNameChars, text);
    else ZQCopyText(reinterpret_cast<WCHAR*>(work->szJsJobName), kZQNameChars - 1, text);
}

// ---------------------------------------------------------------------------------------------
// The PIN
// ---------------------------------------------------------------------------------------------
void CZQJobRetentionOptions::VPinChanged(HWND, PageContext* pContext) {
    HWND edit = m_controls.Item(IDC_TXT_PIN);
    WCHAR text[kTextChars];
    VReadText(IDC_TXT_PIN, text);
    // A pasted text with anything but digits: four zeros, the caret after them (the edit's change
    // comes back here with the zeros).
    if (ZQPinTyped(text)) {
        SetWindowTextW(edit, text);
        SendMessageW(edit, EM_SETSEL, kZQPinDigits, kZQPinDigits);
    }
    if (ZQUIDevmode* work = WorkOf(pContext)) work->dwPinNumber = ZQPinValue(text);
}

void CZQJobRetentionOptions::VShowPin(HWND, DWORD dwPin) {
    WCHAR text[kZQPinDigits + 1];
    ZQFormatPin(dwPin, text);
    SetWindowTextW(m_controls.Item(IDC_TXT_PIN), text);
}

BOOL CZQJobRetentionOptions::BCheckPin(HWND hDlg) {
    // A printer without PIN printing never asks for one.
    if (!m_bPinInUse) return TRUE;
    WCHAR text[kTextChars];
    VReadText(IDC_TXT_PIN, text);
    if (ZQPinAccepted(text, m_controls.BChecked(IDC_CHK_REQ_PIN) != FALSE)) return TRUE;
    VShowPinMessage(hDlg);
    return FALSE;
}

void CZQJobRetentionOptions::VShowPinMessage(HWND hDlg) {
    VShowMessage(hDlg, 5443,
                 L"The Personal Identification Number (PIN) was not accepted. A valid PIN number must have exactly "
                 L"four digits.",
                 3889, L"For Your Information", MB_ICONHAND);
    HWND edit = m_controls.Item(IDC_TXT_PIN);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SetFocus(edit);
}
