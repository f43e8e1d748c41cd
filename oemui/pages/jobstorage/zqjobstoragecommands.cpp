// The Job Storage page's reactions to the user: the retention modes, the PIN box, the names'
// buttons and edits, the notification box, the choice for a job name the printer holds, and help.
#include "common/zqstrings.h"
#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"
#include "pages/jobstorage/zqjobstoragepage.h"
#include "pages/zqpageitems.h"
#include "res/zqjobstorageids.h"

using namespace zqpage;

INT_PTR CZQJobStorageTab::IOnCommand(HWND hDlg, int iCtrlId, int iCode, HWND, PageContext* pContext) {
    ZQUIDevmode& work = *WorkOf(pContext);
    switch (iCode) {
        case BN_CLICKED: break;
        case EN_SETFOCUS:
            // Clicking into an automatic job name starts a custom one.
            if (iCtrlId == IDC_TXT_JOB_NAME && m_controls.BChecked(IDC_RB_JOB_AUTO)) {
                SetWindowTextW(m_controls.Item(IDC_TXT_JOB_NAME), L"");
                m_controls.VSetCheck(IDC_RB_JOB_AUTO, FALSE);
                m_controls.VSetCheck(IDC_RB_JOB_CUSTOM, TRUE);
            }
            return FALSE;
        case EN_KILLFOCUS:
            if (iCtrlId == IDC_TXT_USER_NAME || iCtrlId == IDC_TXT_JOB_NAME)
                m_retention.VNameLeft(hDlg, iCtrlId == IDC_TXT_USER_NAME, pContext);
            return FALSE;
        case EN_CHANGE:
            if (iCtrlId == IDC_TXT_USER_NAME || iCtrlId == IDC_TXT_JOB_NAME)
                m_retention.VNameChanged(hDlg, iCtrlId == IDC_TXT_USER_NAME, pContext);
            else if (iCtrlId == IDC_TXT_PIN)
                m_retention.VPinChanged(hDlg, pContext);
            else
                return FALSE;
            VUpdateChangedState(hDlg, pContext);
            return FALSE;
        case CBN_SELCHANGE:
            if (iCtrlId != IDC_CBO_SOFT_FWARE) return FALSE;
            if (const int choice = m_controls.ISelection(IDC_CBO_SOFT_FWARE); choice >= 0)
                work.dwNameExistsChoice = static_cast<uint32_t>(choice);
            VUpdateChangedState(hDlg, pContext);
            return FALSE;
        case CBN_DROPDOWN:
            if (iCtrlId == IDC_CBO_SOFT_FWARE) VFitComboDropWidth(m_controls.Item(IDC_CBO_SOFT_FWARE));
            return FALSE;
        default: return FALSE;
    }
    for (int mode = 0; mode < 5; ++mode)
        if (iCtrlId == CZQJobRetentionOptions::kModeIds[mode]) {
            VOnMode(hDlg, mode, pContext);
            VUpdateChangedState(hDlg, pContext);
            return FALSE;
        }
    VOnButton(hDlg, iCtrlId, pContext);
    return FALSE;
}

// A mode's button: its description and the groups the mode uses; Private Job always asks for a PIN,
// Stored Job when Require PIN is on. A printer without PIN printing keeps its PIN controls hidden.
void CZQJobStorageTab::VOnMode(HWND hDlg, int iMode, PageContext* pContext) {
    ZQUIDevmode& work = *WorkOf(pContext);
    CZQJobRetentionOptions& r = m_retention;
    const BOOL pin = r.BPinInUse();
    const ZQUIDevmode& core = *CoreOf(m_pCUIParam);
    const bool offered = core.dwNameExistsAvailable != 0 && core.dwNameExistsSwfw == 1;
    r.VSetDescription(hDlg, 175 + iMode);
    if (iMode == 0) {
        // Off: the names go back to the automatic ones and nothing is asked.
        SetWindowTextW(m_controls.Item(IDC_TXT_USER_NAME), r.AutoUserName());
        SetWindowTextW(m_controls.Item(IDC_TXT_JOB_NAME), r.AutoJobName());
        ZQCopyText(reinterpret_cast<WCHAR*>(work.szJsUserName), kZQNameChars, r.AutoUserName());
        ZQCopyText(reinterpret_cast<WCHAR*>(work.szJsJobName), kZQNameChars, r.AutoJobName());
        for (int id : {IDC_RB_JOB_AUTO, IDC_RB_USER_AUTO}) m_controls.VSetCheck(id, TRUE);
        for (int id : {IDC_RB_JOB_CUSTOM, IDC_RB_USER_CUSTOM}) m_controls.VSetCheck(id, FALSE);
        SetWindowTextW(m_controls.Item(IDC_TXT_PIN), L"");
    }
    const BOOL on = iMode != 0;
    r.VEnableUserNameGroup(hDlg, on);
    r.VEnableJobNameGroup(hDlg, on);
    r.VEnableNotificationGroup(hDlg, on);
    if (pin) {
        const bool asks = iMode == 2 || iMode == 4;
        r.VEnablePinGroup(hDlg, asks);
        if (!asks) {
            m_controls.VSetCheck(IDC_CHK_REQ_PIN, FALSE);
            work.dwPinRequired = 0;
        } else if (iMode == 2) {
            m_controls.VSetCheck(IDC_CHK_REQ_PIN, TRUE);
            EnableWindow(m_controls.Item(IDC_CHK_REQ_PIN), FALSE);
            SetFocus(m_controls.Item(IDC_TXT_PIN));
        } else if (!m_controls.BChecked(IDC_CHK_REQ_PIN)) {
            EnableWindow(m_controls.Item(IDC_TXT_PIN), FALSE);
        } else {
            SendMessageW(m_controls.Item(IDC_TXT_PIN), EM_SETSEL, 0, -1);
            SetFocus(m_controls.Item(IDC_TXT_PIN));
        }
    }
    if (offered) r.VEnableJobNameExistsGroup(hDlg, on);
    work.dwRetentionMode = static_cast<uint32_t>(iMode);
}

void CZQJobStorageTab::VOnButton(HWND hDlg, int iCtrlId, PageContext* pContext) {
    ZQUIDevmode& work = *WorkOf(pContext);
    const bool checked = m_controls.BChecked(iCtrlId) != FALSE;
    switch (iCtrlId) {
        case IDC_CHK_REQ_PIN:
            if (m_retention.BPinInUse()) EnableWindow(m_controls.Item(IDC_TXT_PIN), checked);
            work.dwPinRequired = checked ? 1 : 0;
            break;
        case IDC_RB_USER_AUTO:
        case IDC_RB_JOB_AUTO: {
            const bool user = iCtrlId == IDC_RB_USER_AUTO;
            SetWindowTextW(m_controls.Item(user ? IDC_TXT_USER_NAME : IDC_TXT_JOB_NAME),
                           user ? m_retention.AutoUserName() : m_retention.AutoJobName());
            m_controls.VSetCheck(iCtrlId, TRUE);
            m_controls.VSetCheck(iCtrlId + 1, FALSE);
            break;
        }
        case IDC_RB_USER_CUSTOM: {
            HWND edit = m_controls.Item(IDC_TXT_USER_NAME);
            SendMessageW(edit, EM_SETSEL, 0, -1);
            SetFocus(edit);
            work.dwUserNameCustom = checked ? 1 : 0;
            break;
        }
        case IDC_RB_JOB_CUSTOM: {
            HWND edit = m_controls.Item(IDC_TXT_JOB_NAME);
            SetFocus(edit);
            SetWindowTextW(edit, L"");
            work.dwJobNameCustom = checked ? 1 : 0;
            break;
        }
        case IDC_CHK_DISPLAY_JOB_ID: work.dwDisplayJobId = checked ? 1 : 0; break;
        case IDC_BTN_HELP: {
            WCHAR helpFile[256] = {};
            if (const ZQUIDevmode* core = CoreOf(m_pCUIParam))
                ZQCopyTextN(helpFile, 256, reinterpret_cast<const WCHAR*>(core->szHelpFile), 255);
            VShowControlHelp(m_controls.Item(IDC_BTN_HELP), IDC_BTN_HELP, 15243, helpFile);
            return;
        }
        default: return;
    }
    VUpdateChangedState(hDlg, pContext);
}
