// The Job Storage page's controller: texts, groups and help, the automatic names, and the controls
// set from the working settings (I, R), stored back (C) and compacted (L).
#include "pages/jobstorage/zqjobretention.h"

#include <iterator>

#include "common/zqstrings.h"
#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"
#include "pages/zqpageitems.h"
#include "res/zqjobstorageids.h"

using namespace zqpage;

namespace {

constexpr const int (&kModeIds)[5] = CZQJobRetentionOptions::kModeIds;
constexpr int kModeCount = static_cast<int>(std::size(kModeIds));
constexpr INT kModeDescriptions[] = {175, 176, 177, 178, 179};

// Control groups, each enabled or disabled as a whole, in this order.
constexpr int kPinGroup[] = {IDC_GB_PIN, IDC_TXT_PIN, IDC_STA_PIN_NUM, IDC_CHK_REQ_PIN};
// What a printer without PIN printing hides: the PIN itself; Require PIN stays as it was.
constexpr int kPinEntry[] = {IDC_TXT_PIN, IDC_GB_PIN, IDC_STA_PIN_NUM};
constexpr int kUserNameGroup[] = {IDC_GB_USERNAME, IDC_TXT_USER_NAME, IDC_RB_USER_AUTO, IDC_RB_USER_CUSTOM};
constexpr int kJobNameGroup[] = {IDC_GB_JOBNAME, IDC_TXT_JOB_NAME, IDC_RB_JOB_AUTO, IDC_RB_JOB_CUSTOM};
constexpr int kNotificationGroup[] = {IDC_GB_JOB_NOTIFICATION, IDC_CHK_DISPLAY_JOB_ID};
constexpr int kJobNameExistsGroup[] = {IDC_STAT_JOBNAME_EXISTS, IDC_CBO_SOFT_FWARE};

const CZQPageControls::TextRow kTexts[] = {
    {0, 835, L"Job Storage Settings"},
    {IDC_GB_JOB_RET_MODE, 836, L"Job Retention Mode"},
    {IDC_RB_OFF, 837, L"O&ff"},
    {IDC_RB_PROOF_AND_HOLD, 838, L"Proof and &Hold"},
    {IDC_RB_PRIVATE_JOB, 839, L"Private &Job"},
    {IDC_RB_QUICK_COPY, 840, L"Q&uick Copy"},
    {IDC_RB_STORED_JOB, 841, L"S&tored Job"},
    {IDC_GB_PIN, 4412, L"Require PIN"},
    {IDC_CHK_REQ_PIN, 3059, L"PI&N to Print:"},
    {IDC_STA_PIN_NUM, 848, L"(0-9)"},
    {IDC_GB_JOB_NOTIFICATION, 3060, L"Job Notification Options"},
    {IDC_CHK_DISPLAY_JOB_ID, 3061, L"Displ&ay Job ID when printing"},
    {IDC_GB_USERNAME, 3078, L"User Name"},
    {IDC_RB_USER_AUTO, 3056, L"&Windows User Name"},
    {IDC_RB_USER_CUSTOM, 3109, L"Cu&stom"},
    {IDC_GB_JOBNAME, 3079, L"Job Name"},
    {IDC_RB_JOB_AUTO, 793, L"Automat&ic"},
    {IDC_RB_JOB_CUSTOM, 3110, L"Custo&m"},
    {IDC_BTN_HELP, 797, L"&Help"},
};

// Context help (-1: no topic); the quick-set controls keep their topics for the pages that hold them.
const DWORD kHelpTable[CZQJobRetentionOptions::kHelpPairs][2] = {
    {IDC_RB_OFF, 15125},
    {IDC_RB_PROOF_AND_HOLD, 15124},
    {IDC_RB_PRIVATE_JOB, 15126},
    {IDC_RB_QUICK_COPY, 15127},
    {IDC_RB_STORED_JOB, 15128},
    {IDC_CHK_REQ_PIN, 15253},
    {IDC_TXT_USER_NAME, 15215},
    {IDC_TXT_JOB_NAME, 15218},
    {IDC_TXT_PIN, 15410},
    {IDC_RB_USER_AUTO, 15213},
    {IDC_RB_USER_CUSTOM, 15214},
    {IDC_RB_JOB_AUTO, 15216},
    {IDC_RB_JOB_CUSTOM, 15217},
    {IDC_CHK_DISPLAY_JOB_ID, 15219},
    {IDC_GB_PIN, static_cast<DWORD>(-1)},
    {IDC_GB_USERNAME, static_cast<DWORD>(-1)},
    {IDC_GB_JOBNAME, static_cast<DWORD>(-1)},
    {IDC_GB_PIN, static_cast<DWORD>(-1)},
    {IDC_GB_JOB_NOTIFICATION, static_cast<DWORD>(-1)},
    {IDC_GB_JOB_RET_MODE, static_cast<DWORD>(-1)},
    {IDC_STA_DETAILS, static_cast<DWORD>(-1)},
    {IDC_STA_TEXT, static_cast<DWORD>(-1)},
    {IDC_STAT_JOBID_USER_NAME, static_cast<DWORD>(-1)},
    {IDC_STAT_JOBID_JOB_NAME, static_cast<DWORD>(-1)},
    {IDC_STA_PIN_NUM, static_cast<DWORD>(-1)},
    {IDC_BTN_HELP, 15054},
    {485, 15208},  // quick-set list
    {489, 15209},  // quick-set Save
    {490, 15210},  // quick-set Delete
    {483, static_cast<DWORD>(-1)},
    {IDC_CBO_SOFT_FWARE, 15467},
    {IDC_STAT_JOBNAME_EXISTS, 15467},
    {IDC_ZQLOGO_HOLDER, static_cast<DWORD>(-1)},
    {0, 0},
};

constexpr WCHAR kAutomaticJobName[] = L"<Automatic>";
constexpr WCHAR kReplaceExisting[] = L"Replace Existing File";

template <size_t N>
void EnableGroup(const CZQPageControls& controls, const int (&ids)[N], BOOL bEnable) {
    for (int id : ids) EnableWindow(controls.Item(id), bEnable);
}

// A stored name as text: at most 256 characters, terminated, whatever the devmode held.
void TerminateNames(ZQUIDevmode& dm) {
    dm.szJsUserName[256] = 0;
    dm.szJsJobName[256] = 0;
}

WCHAR* UserName(ZQUIDevmode& dm) { return reinterpret_cast<WCHAR*>(dm.szJsUserName); }
WCHAR* JobName(ZQUIDevmode& dm) { return reinterpret_cast<WCHAR*>(dm.szJsJobName); }

// The printer's driver offers the choice for a job name it already holds.
bool NameExistsOffered(const ZQUIDevmode& dm) { return dm.dwNameExistsAvailable != 0 && dm.dwNameExistsSwfw == 1; }

// PostScript jobs carry the job ID notification only from Windows XP on.
bool OldPostScriptSystem(DWORD dwPdl) {
    if (dwPdl != kPdlPostScript) return false;
    OSVERSIONINFOW version = {};
    version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExW(&version)) return true;
#pragma GCC diagnostic pop
    const bool xpOrLater = version.dwPlatformId == VER_PLATFORM_WIN32_NT &&
                           (version.dwMajorVersion > 5 || (version.dwMajorVersion == 5 && version.dwMinorVersion >= 1));
    return !xpOrLater && version.dwPlatformId <= 2;
}

}  // namespace

CZQJobRetentionOptions::CZQJobRetentionOptions(CZQPageControls& controls) : m_controls(controls) {}

// ---------------------------------------------------------------------------------------------
// Texts, groups, help
// ---------------------------------------------------------------------------------------------
void CZQJobRetentionOptions::VSetEncoding(PCWSTR pszEncoding) {
    m_szEncoding[0] = 0;
    if (pszEncoding && ZQTextLength(pszEncoding, kTextChars) < kTextChars - 1)
        ZQCopyText(m_szEncoding, kTextChars, pszEncoding);
    m_encoding = ZQNameEncodingOf(m_szEncoding);
}

void CZQJobRetentionOptions::VSetDescription(HWND, INT iTextId) {
    WCHAR text[kResStringChars] = {};
    if (!BLoadResString(iTextId, text)) text[0] = 0;
    SetWindowTextW(m_controls.Item(IDC_STA_TEXT), text);
}

void CZQJobRetentionOptions::VEnablePinGroup(HWND, BOOL bEnable) { EnableGroup(m_controls, kPinGroup, bEnable); }
void CZQJobRetentionOptions::VEnableUserNameGroup(HWND, BOOL bEnable) {
    EnableGroup(m_controls, kUserNameGroup, bEnable);
}
void CZQJobRetentionOptions::VEnableJobNameGroup(HWND, BOOL bEnable) { EnableGroup(m_controls, kJobNameGroup, bEnable); }
void CZQJobRetentionOptions::VEnableNotificationGroup(HWND, BOOL bEnable) {
    EnableGroup(m_controls, kNotificationGroup, bEnable);
}
void CZQJobRetentionOptions::VEnableJobNameExistsGroup(HWND, BOOL bEnable) {
    EnableGroup(m_controls, kJobNameExistsGroup, bEnable);
}

void CZQJobRetentionOptions::VSetControlTexts(HWND) {
    m_controls.VSetTexts(*this, kTexts, static_cast<int>(std::size(kTexts)));
    // The hints name the characters of the 8-bit rules; UTF-8 names take far more.
    for (int id : {IDC_STAT_JOBID_USER_NAME, IDC_STAT_JOBID_JOB_NAME}) {
        m_controls.VShow(id, !BUtf8());
        if (!BUtf8()) BSetWindowTextRes(847, m_controls.Item(id), L"A - Z, 0 - 9");
    }
}

void CZQJobRetentionOptions::VGetHelpTable(DWORD* pdwTable) const {
    if (!pdwTable) return;
    for (int i = 0; i < kHelpPairs; ++i) {
        pdwTable[2 * i] = kHelpTable[i][0];
        pdwTable[2 * i + 1] = kHelpTable[i][1];
    }
}

// ---------------------------------------------------------------------------------------------
// Automatic names
// ---------------------------------------------------------------------------------------------
void CZQJobRetentionOptions::VMakeAutomaticNames() {
    // A loaded job name the encoding cannot show stands back for the literal one.
    bool loaded = BLoadResString(3058, m_szAutoJobName) != FALSE;
    if (loaded) {
        ZQSanitizeName(m_szAutoJobName, m_encoding);
        loaded = ZQAutomaticJobNameUsable(m_szAutoJobName);
    }
    if (!loaded) ZQCopyText(m_szAutoJobName, kTextChars, kAutomaticJobName);

    WCHAR user[kTextChars] = {};
    DWORD cch = kTextChars;
    if (!GetUserNameW(user, &cch)) user[0] = 0;
    user[kTextChars - 1] = 0;
    CharUpperW(user);
    ZQMakeAutomaticUserName(user, m_encoding);
    if (!user[0] && !BLoadResString(174, user)) user[0] = 0;
    ZQCopyText(m_szAutoUserName, kTextChars, user);
}

// ---------------------------------------------------------------------------------------------
// I. The page starts
// ---------------------------------------------------------------------------------------------
void CZQJobRetentionOptions::VInitControls(PageContext* pContext, HWND hDlg) {
    ZQUIDevmode* work = WorkOf(pContext);
    ZQUIDevmode* core = CoreOf(m_pCUIParam);
    if (!work || !core) {
        SetLastError(ERROR_INVALID_DATA);
        return;
    }
    TerminateNames(*work);
    VMakeAutomaticNames();
    VSetControlTexts(hDlg);
    m_dwResetMode = 0;
    if (core->dwJsLayout == 1) VCompactLayout(hDlg, core, work);
    VUpdatePinInUse(hDlg, core);
    if (m_bPinInUse)
        for (int id : kPinGroup) m_controls.VShow(id, TRUE);

    SetWindowTextW(m_controls.Item(IDC_TXT_JOB_NAME), m_szAutoJobName);
    VShowNames(*work, hDlg);
    m_controls.VSetCheck(IDC_CHK_DISPLAY_JOB_ID, work->dwDisplayJobId != 0);
    const BOOL required = work->dwPinRequired == 1;
    m_controls.VSetCheck(IDC_CHK_REQ_PIN, required);
    if (!required) EnableWindow(m_controls.Item(IDC_TXT_PIN), FALSE);
    VShowMode(hDlg, *work, true);

    if (NameExistsOffered(*core)) {
        VEnableJobNameExistsGroup(hDlg, work->dwRetentionMode != 0);
    } else {
        for (int id : kJobNameExistsGroup) m_controls.VShow(id, FALSE);
    }
    // The 8-bit rules keep only plain-ASCII names; the edits show what the settings keep.
    if (!BUtf8()) {
        BReplaceIfNotPlainAscii(UserName(*work), m_szAutoUserName);
        BReplaceIfNotPlainAscii(JobName(*work), m_szAutoJobName);
    }
    SetWindowTextW(m_controls.Item(IDC_TXT_USER_NAME), UserName(*work));
    SetWindowTextW(m_controls.Item(IDC_TXT_JOB_NAME), JobName(*work));
    if (m_bPinInUse) VShowPin(hDlg, work->dwPinNumber);

    SendMessageW(m_controls.Item(IDC_TXT_USER_NAME), EM_LIMITTEXT, kZQNameShown, 0);
    SendMessageW(m_controls.Item(IDC_TXT_JOB_NAME), EM_LIMITTEXT, kZQNameShown, 0);
    if (m_bPinInUse) SendMessageW(m_controls.Item(IDC_TXT_PIN), EM_LIMITTEXT, kZQPinDigits, 0);

    if (OldPostScriptSystem(pContext->pLogic->m_dwPdl))
        for (int id : kNotificationGroup) m_controls.VShow(id, FALSE);
}

void CZQJobRetentionOptions::VUpdatePinInUse(HWND, const ZQUIDevmode* pPrivateDM) {
    m_bPinInUse = !pPrivateDM || pPrivateDM->dwModelCode != 4;
    if (!m_bPinInUse)
        for (int id : kPinEntry) m_controls.VShow(id, FALSE);
}

// The radios of both names from the working settings; an automatic name takes the automatic text.
void CZQJobRetentionOptions::VShowNames(ZQUIDevmode& work, HWND) {
    if (work.dwUserNameCustom) {
        VSetRadios(IDC_RB_USER_AUTO, IDC_RB_USER_CUSTOM);
    } else {
        VSetRadios(IDC_RB_USER_AUTO, IDC_RB_USER_AUTO);
        ZQCopyText(UserName(work), kZQNameChars, m_szAutoUserName);
    }
    if (work.dwJobNameCustom) {
        VSetRadios(IDC_RB_JOB_AUTO, IDC_RB_JOB_CUSTOM);
    } else {
        VSetRadios(IDC_RB_JOB_AUTO, IDC_RB_JOB_AUTO);
        ZQCopyText(JobName(work), kZQNameChars - 1, m_szAutoJobName);
    }
}

// The working mode's button, description and groups. A mode above Stored Job shows as Off but
// leaves the notification group as it was. On a printer without PIN printing nothing here touches
// the PIN.
void CZQJobRetentionOptions::VShowMode(HWND hDlg, ZQUIDevmode& work, bool bStart) {
    const DWORD stored = work.dwRetentionMode;
    const int mode = stored <= 4 ? static_cast<int>(stored) : 0;
    VSetRadios(IDC_RB_OFF, kModeIds[mode]);
    VSetDescription(hDlg, kModeDescriptions[mode]);
    const BOOL on = mode != 0;
    if (m_bPinInUse) VEnablePinGroup(hDlg, mode == 2 || mode == 4);
    VEnableUserNameGroup(hDlg, on);
    VEnableJobNameGroup(hDlg, on);
    if (stored <= 4) VEnableNotificationGroup(hDlg, on);
    if (m_bPinInUse && mode == 2) {
        // A private job always has its PIN.
        m_controls.VSetCheck(IDC_CHK_REQ_PIN, TRUE);
        EnableWindow(m_controls.Item(IDC_CHK_REQ_PIN), FALSE);
    } else if (m_bPinInUse && mode == 4) {
        const BOOL required = work.dwPinRequired == 1;
        m_controls.VSetCheck(IDC_CHK_REQ_PIN, required);
        if (!required) EnableWindow(m_controls.Item(IDC_TXT_PIN), FALSE);
    }
    // Off on refresh: both names go back to the automatic ones.
    if (!bStart && stored == 0) {
        SetWindowTextW(m_controls.Item(IDC_TXT_USER_NAME), m_szAutoUserName);
        SetWindowTextW(m_controls.Item(IDC_TXT_JOB_NAME), m_szAutoJobName);
        ZQCopyText(UserName(work), kTextChars, m_szAutoUserName);
        ZQCopyText(JobName(work), kTextChars, m_szAutoJobName);
        VSetRadios(IDC_RB_USER_AUTO, IDC_RB_USER_AUTO);
        VSetRadios(IDC_RB_JOB_AUTO, IDC_RB_JOB_AUTO);
        work.dwUserNameCustom = 0;
        if (m_bPinInUse) m_controls.VSetCheck(IDC_CHK_REQ_PIN, FALSE);
    }
}

// ---------------------------------------------------------------------------------------------
// R. The page comes to the front
// ---------------------------------------------------------------------------------------------
void CZQJobRetentionOptions::VRefreshControls(PageContext* pContext, HWND hDlg) {
    ZQUIDevmode* work = WorkOf(pContext);
    if (!work) {
        SetLastError(ERROR_INVALID_DATA);
        return;
    }
    TerminateNames(*work);
    VUpdatePinInUse(hDlg, CoreOf(m_pCUIParam));
    VShowNames(*work, hDlg);
    SetWindowTextW(m_controls.Item(IDC_TXT_USER_NAME), UserName(*work));
    SetWindowTextW(m_controls.Item(IDC_TXT_JOB_NAME), JobName(*work));
    m_controls.VSetCheck(IDC_CHK_DISPLAY_JOB_ID, work->dwDisplayJobId != 0);
    const bool offered = NameExistsOffered(*work);
    if (offered) {
        HWND list = m_controls.Item(IDC_CBO_SOFT_FWARE);
        SendMessageW(list, CB_RESETCONTENT, 0, 0);
        WCHAR text[kResStringChars];
        VLoadText(4415, kReplaceExisting, text);
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        VLoadText(4414, L"Use JobName + (1-99)", text);
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        SendMessageW(list, CB_SETCURSEL, work->dwNameExistsChoice, 0);
    }
    VShowMode(hDlg, *work, false);
    if (offered) VEnableJobNameExistsGroup(hDlg, work->dwRetentionMode != 0);
    if (m_bPinInUse) VShowPin(hDlg, work->dwPinNumber);
}

// ---------------------------------------------------------------------------------------------
// C. The page is left
// ---------------------------------------------------------------------------------------------
void CZQJobRetentionOptions::VCommitControls(PageContext* pContext, HWND hDlg) {
    ZQUIDevmode* work = WorkOf(pContext);
    if (!work) {
        SetLastError(ERROR_INVALID_DATA);
        return;
    }
    VCommitName(hDlg, TRUE);
    VCommitName(hDlg, FALSE);
    // No checked button (its mode's button was removed) keeps the mode.
    if (const int mode = ICheckedMode(); mode >= 0) work->dwRetentionMode = static_cast<uint32_t>(mode);
    work->dwDisplayJobId = m_controls.BChecked(IDC_CHK_DISPLAY_JOB_ID) ? 1 : 0;
    work->dwUserNameCustom = m_controls.BChecked(IDC_RB_USER_CUSTOM) ? 1 : 0;
    work->dwJobNameCustom = m_controls.BChecked(IDC_RB_JOB_CUSTOM) ? 1 : 0;
    work->dwPinRequired = m_controls.BChecked(IDC_CHK_REQ_PIN) ? 1 : 0;

    WCHAR text[kZQNameChars];
    if (BStoredName(TRUE, text)) work->dwUserNameCustom = 0;
    ZQCopyText(UserName(*work), kZQNameChars, text);
    // Without the choice on the page the printer numbers the new job.
    WCHAR replace[kResStringChars];
    VLoadText(4415, kReplaceExisting, replace);
    WCHAR chosen[kTextChars];
    work->dwNameExistsChoice =
        SelectedText(m_controls.Item(IDC_CBO_SOFT_FWARE), chosen) && ZQEqualNoCase(chosen, replace) ? 0 : 1;
    if (BStoredName(FALSE, text)) work->dwJobNameCustom = 0;
    ZQCopyText(JobName(*work), kZQNameChars - 1, text);
}

int CZQJobRetentionOptions::ICheckedMode() const {
    for (int mode = 0; mode < kModeCount; ++mode)
        if (m_controls.BChecked(kModeIds[mode])) return mode;
    return -1;
}

BOOL CZQJobRetentionOptions::BStoredName(BOOL bUser, PWSTR pszText) const {
    VReadText(bUser ? IDC_TXT_USER_NAME : IDC_TXT_JOB_NAME, pszText);
    const PCWSTR automatic = bUser ? m_szAutoUserName : m_szAutoJobName;
    const BOOL empty = !pszText[0];
    if (empty) ZQCopyText(pszText, kTextChars, automatic);
    else if (!BUtf8()) ZQReplaceIfNotPlainAscii(pszText, kTextChars, automatic);
    return empty;
}

// ---------------------------------------------------------------------------------------------
// L. Compact layout
// ---------------------------------------------------------------------------------------------
void CZQJobRetentionOptions::VCompactLayout(HWND, ZQUIDevmode* pPrivateDM, ZQUIDevmode* pWorkDM) {
    if (!pPrivateDM) return;
    m_controls.VRecordRects();
    const uint32_t* offered = pPrivateDM->dwJsSetSelector ? pPrivateDM->adwJsSetA : pPrivateDM->adwJsSetB;
    bool removed[kModeCount] = {};
    bool anyOwn = false;
    for (int mode = 0; mode < kModeCount; ++mode) {
        removed[mode] = offered[mode] == 0;
        anyOwn = anyOwn || removed[mode];
    }
    // Stored jobs need quick copies.
    if (removed[3]) removed[4] = true;
    int place = 0;
    bool groupStart = false;
    for (int mode = 0; mode < kModeCount; ++mode) {
        HWND button = m_controls.Item(kModeIds[mode]);
        if (removed[mode]) {
            groupStart = groupStart || mode == 0;
            if (button) DestroyWindow(button);
            continue;
        }
        // The first button left starts the group of the modes.
        if (groupStart && button) {
            SetWindowLongPtrW(button, GWL_STYLE, GetWindowLongPtrW(button, GWL_STYLE) | WS_GROUP | WS_TABSTOP);
            groupStart = false;
        }
        m_controls.BPlaceAt(kModeIds[mode], kModeIds[place++]);
    }
    // With a mode taken away, a stored quick copy or stored job goes to Off. The working copy keeps
    // it while its button stands (the page shows it and OK stores it back); a mode without a button
    // could show none.
    const DWORD stored = pPrivateDM->dwRetentionMode;
    if (anyOwn && (stored == 3 || stored == 4)) {
        pPrivateDM->dwRetentionMode = 0;
        if (!removed[stored]) m_dwResetMode = stored;
        else if (pWorkDM) pWorkDM->dwRetentionMode = 0;
    }
}

// ---------------------------------------------------------------------------------------------
// Small steps
// ---------------------------------------------------------------------------------------------
void CZQJobRetentionOptions::VReadText(int iCtrlId, PWSTR pszText) const {
    pszText[0] = 0;
    if (HWND edit = m_controls.Item(iCtrlId)) GetWindowTextW(edit, pszText, kTextChars);
}

void CZQJobRetentionOptions::VSetRadios(int iFirst, int iChecked) {
    HWND page = m_controls.Page();
    if (!page) return;
    // The user-name, job-name and mode buttons are each one run of ids.
    const int last = iFirst == IDC_RB_OFF ? IDC_RB_STORED_JOB : iFirst + 1;
    for (int id = iFirst; id <= last; ++id) m_controls.VSetCheck(id, id == iChecked);
}
