// The Job Storage page: its object, its messages, the start of its window, help, its
// texts, and the page in its sheet: brought to the front, left, applied, and its change check.
#include "pages/jobstorage/zqjobstoragepage.h"

#include <iterator>

#include "common/zqstrings.h"
#include "featurelogic/zqquicksets.h"
#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"
#include "pages/dialogs/zqmodaldlg.h"
#include "pages/zqpageitems.h"
#include "res/zqjobstorageids.h"

#include <commctrl.h>

using namespace zqpage;

namespace {

// Two stored names differ (each at most 256 characters, terminated or not).
// A name never stored stands for the automatic name, which the page shows and stores for it.
bool NameDiffers(PCWSTR pszShown, const zqwchar (&stored)[257], PCWSTR pszAutomatic) {
    WCHAR name[257];
    ZQCopyTextN(name, 257, reinterpret_cast<const WCHAR*>(stored), 256);
    return lstrcmpW(pszShown, name[0] ? name : pszAutomatic) != 0;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The page object
// ---------------------------------------------------------------------------------------------
CZQJobStorageTab::CZQJobStorageTab()
    : m_controls(CZQJobRetentionOptions::kModeIds, static_cast<int>(std::size(CZQJobRetentionOptions::kModeIds))),
      m_retention(m_controls) {}

CZQJobStorageTab::~CZQJobStorageTab() = default;

// ---------------------------------------------------------------------------------------------
// Its own messages
// ---------------------------------------------------------------------------------------------
INT_PTR CZQJobStorageTab::IOnMessage(HWND hDlg, UINT uMsg, WPARAM, LPARAM, PageContext*) {
    switch (uMsg) {
        case WM_PAINT: VPaintLogo(hDlg, IDB_ZQLOGO, IDB_ZQLOGO_MASK, IDC_ZQLOGO_HOLDER); return FALSE;
        case WM_NOTIFY: m_retention.VUpdatePinInUse(hDlg, CoreOf(m_pCUIParam)); return FALSE;
        default: return FALSE;
    }
}

// ---------------------------------------------------------------------------------------------
// The start of the page's window
// ---------------------------------------------------------------------------------------------
BOOL CZQJobStorageTab::BInitDialog(HWND hDlg, PageContext* pContext) {
    const POEMCUIPPARAM param = m_pCUIParam;
    const ZQUIDevmode* core = CoreOf(param);
    CZQUILogic* logic = pContext->pLogic;
    if (!param || !core || !WorkOf(pContext)) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    m_controls.VAttach(hDlg);
    m_retention.VBind(m_pSheetParam, m_pCUIParam, HResModule());
    CZQLocalPtr<WCHAR> encoding;
    m_retention.VSetEncoding(CZQCommon::DWGetFeatureOption(param, L"ZQPJLEncoding", encoding.Put()) == ZQOPT_OK
                                 ? encoding.Get()
                                 : nullptr);
    m_hHelpButton = m_controls.Item(IDC_BTN_HELP);
    VSetControlTexts(hDlg, m_retention.BUtf8(), *core);
    ZQSheetState& sheet = *logic->SheetState();
    if (!sheet.bTitleDone && logic->BAppendVersionToTitle(hDlg)) sheet.bTitleDone = TRUE;
    m_retention.VInitControls(pContext, hDlg);
    m_retention.VRefreshControls(pContext, hDlg);
    SetWindowLongPtrW(hDlg, DWLP_USER, reinterpret_cast<LONG_PTR>(pContext));
    return TRUE;
}

void CZQJobStorageTab::VSetControlTexts(HWND hPage, BOOL bUtf8, const ZQUIDevmode& section) {
    m_retention.VSetControlTexts(hPage);
    for (int id : {IDC_STAT_JOBID_USER_NAME, IDC_STAT_JOBID_JOB_NAME}) m_controls.VShow(id, !bUtf8);
    if (section.dwNameExistsAvailable != 0 && section.dwNameExistsSwfw == 1)
        BSetWindowTextRes(4413, m_controls.Item(IDC_STAT_JOBNAME_EXISTS), L"If Job Name &Exists:");
}

void CZQJobStorageTab::VOnHelp(HWND hWnd, UINT uCommand, PageContext*) {
    DWORD table[2 * CZQJobRetentionOptions::kHelpPairs] = {};
    m_retention.VGetHelpTable(table);
    ZQShowDialogHelp(hWnd, uCommand, m_pCUIParam, table);
}

void CZQJobStorageTab::VOnDestroy() {
    // The page object outlives its window.
    m_controls.VForget();
    m_retention.VBind(nullptr, nullptr, HResModule());
    m_hHelpButton = nullptr;
}

// ---------------------------------------------------------------------------------------------
// The page in its sheet
// ---------------------------------------------------------------------------------------------
LRESULT CZQJobStorageTab::IOnNotify(HWND hDlg, const NMHDR* pHeader, PageContext* pContext) {
    m_retention.VUpdatePinInUse(hDlg, CoreOf(m_pCUIParam));
    switch (pHeader->code) {
        case PSN_SETACTIVE: VOnSetActive(hDlg, pContext); return 0;
        case PSN_KILLACTIVE: return IOnKillActive(hDlg, pContext);
        case PSN_APPLY: return IOnApply(hDlg, pContext);
        // The sheet undoes the changes; the page only stops counting as changed.
        case PSN_RESET: SendMessageW(GetParent(hDlg), PSM_UNCHANGED, reinterpret_cast<WPARAM>(hDlg), 0); return 0;
        default: return 0;
    }
}

void CZQJobStorageTab::VOnSetActive(HWND hDlg, PageContext* pContext) {
    m_retention.VRefreshControls(pContext, hDlg);
    // The PIN is typed anew every time the page comes to the front, except where it cannot be typed:
    // a PIN required while its edit is disabled would keep the user on the page for good.
    HWND pin = m_controls.Item(IDC_TXT_PIN);
    if (!m_controls.BChecked(IDC_CHK_REQ_PIN) || IsWindowEnabled(pin)) SetWindowTextW(pin, L"");
    CZQUILogic& logic = *pContext->pLogic;
    ZQSheetState& sheet = *logic.SheetState();
    const int index = logic.IGetPageIndex(logic.WorkDM(), kPageJobStorage);
    if (index > sheet.iHighestPage) sheet.iHighestPage = index;
}

LRESULT CZQJobStorageTab::IOnKillActive(HWND hDlg, PageContext* pContext) {
    // A refused PIN keeps the user on the page.
    if (!m_retention.BCheckPin(hDlg)) return TRUE;
    m_retention.VCommitControls(pContext, hDlg);
    CoreOf(m_pCUIParam)->iStartPage = kTitleId;
    return FALSE;
}

LRESULT CZQJobStorageTab::IOnApply(HWND hDlg, PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    const ZQUIDevmode& work = *logic.WorkDM();
    // A private or stored job is applied only with an acceptable PIN.
    if ((work.dwRetentionMode == 2 || work.dwRetentionMode == 4) && !m_retention.BCheckPin(hDlg))
        return PSNRET_INVALID_NOCHANGEPAGE;
    const LRESULT result = CommitPage(pContext, kPageJobStorage);
    if (result == PSNRET_NOERROR) m_retention.VApplied();
    return result;
}

// ---------------------------------------------------------------------------------------------
// K. Change check
// ---------------------------------------------------------------------------------------------
void CZQJobStorageTab::VUpdateChangedState(HWND hPage, PageContext* pContext) {
    const ZQUIDevmode* work = WorkOf(pContext);
    const ZQUIDevmode* saved = CoreOf(m_pCUIParam);
    if (!work || !saved || !m_controls.Page()) {
        SetLastError(ERROR_INVALID_DATA);
        return;
    }
    // No checked mode button (its mode's button was removed) counts as the working mode.
    const int checked = m_retention.ICheckedMode();
    const DWORD mode = checked >= 0 ? static_cast<DWORD>(checked) : work->dwRetentionMode;
    bool changed = mode != m_retention.DWComparedMode(saved->dwRetentionMode) ||
                   (m_controls.BChecked(IDC_CHK_REQ_PIN) != FALSE) != (saved->dwPinRequired != 0) ||
                   (m_controls.BChecked(IDC_CHK_DISPLAY_JOB_ID) != FALSE) != (saved->dwDisplayJobId != 0) ||
                   work->dwUserNameCustom != saved->dwUserNameCustom ||
                   work->dwJobNameCustom != saved->dwJobNameCustom || work->dwDisplayJobId != saved->dwDisplayJobId;
    // The list has entries only where the choice is offered.
    if (!changed && saved->dwNameExistsAvailable == 1 && saved->dwNameExistsSwfw == 1)
        changed = m_controls.ISelection(IDC_CBO_SOFT_FWARE) != static_cast<int>(saved->dwNameExistsChoice);
    WCHAR name[CZQJobRetentionOptions::kTextChars];
    if (!changed) {
        m_retention.BStoredName(TRUE, name);
        changed = NameDiffers(name, saved->szJsUserName, m_retention.AutoUserName());
    }
    if (!changed) {
        m_retention.BStoredName(FALSE, name);
        changed = NameDiffers(name, saved->szJsJobName, m_retention.AutoJobName());
    }
    if (!changed) {
        WCHAR pin[CZQJobRetentionOptions::kTextChars] = {};
        GetWindowTextW(m_controls.Item(IDC_TXT_PIN), pin, CZQJobRetentionOptions::kTextChars);
        changed = ZQPinValue(pin) != saved->dwPinNumber;
    }
    const bool quickSetChanged = pContext->pQuickSets && pContext->pQuickSets->BChanged();
    SendMessageW(GetParent(hPage), changed || quickSetChanged ? PSM_CHANGED : PSM_UNCHANGED,
                 reinterpret_cast<WPARAM>(hPage), 0);
    // A quick set the job-storage settings left is no longer the one chosen (the page has no
    // quick-set controls of its own).
    if (pContext->pQuickSets)
        pContext->pQuickSets->VRecheckCurrentEntry(*work, nullptr, nullptr, nullptr, CZQQuickSets::kCompareJobStorage);
}
