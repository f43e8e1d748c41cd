// CZQJobStorageTab: the Job Storage page of the document sheet, where the user chooses how the
// printer keeps a job (Off, Proof and Hold, Private Job, Quick Copy, Stored Job), its PIN, and the
// user and job names the printer's control panel lists it under. One object per binding, added to
// the sheet only for a printer that keeps jobs; the page procedure finds it through the page's
// PageContext, kept as the window's DWLP_USER data.
//
// The page edits the job-storage section of the working settings; its controller
// (CZQJobRetentionOptions) sets the controls from them and stores them back, and holds the rules
// for the names and the PIN.
#pragma once

#include "pages/jobstorage/zqjobretention.h"
#include "pages/zqpagebase.h"
#include "pages/zqpagecontrols.h"
#include "pages/zqpages.h"

struct ZQUIDevmode;

class CZQJobStorageTab : public CZQPageBase {
public:
    // The page's title id, recorded as the page to open the sheet on when it is left.
    static constexpr int kTitleId = 173;

    CZQJobStorageTab();
    ~CZQJobStorageTab() override;
    CZQJobStorageTab(const CZQJobStorageTab&) = delete;
    CZQJobStorageTab& operator=(const CZQJobStorageTab&) = delete;

    // PSM_CHANGED or PSM_UNCHANGED to the sheet for the page: whether the controls differ from the
    // settings the sheet opened with (or a quick set changed the settings).
    void VUpdateChangedState(HWND hPage, PageContext* pContext);
    // The page's texts: the controller's, the character hints by the UTF-8 rules, and the label of
    // the choice for a job name the printer holds when the settings offer it.
    void VSetControlTexts(HWND hPage, BOOL bUtf8, const ZQUIDevmode& section);

    CZQJobRetentionOptions& RetentionForTesting() { return m_retention; }

private:
    friend class ZQPageShell;

    // ---- the page procedure's work (the context is the page's PageContext)
    // Every message needs the page's items and both copies of the private devmode.
    static unsigned Needs(UINT) { return zqpage::kNeedItems | zqpage::kNeedCore | zqpage::kNeedWork; }
    BOOL BInitDialog(HWND hDlg, PageContext* pContext);
    // Painting, and the notifications that are not the sheet's.
    INT_PTR IOnMessage(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam, PageContext* pContext);
    void VOnHelp(HWND hWnd, UINT uCommand, PageContext* pContext);
    void VOnDestroy();
    // The user's choices (control id, notification code) and the sheet's notifications, whose
    // result the page answers; any notification first tells the PIN whether it is in use.
    INT_PTR IOnCommand(HWND hDlg, int iCtrlId, int iCode, HWND hCtrl, PageContext* pContext);
    LRESULT IOnNotify(HWND hDlg, const NMHDR* pHeader, PageContext* pContext);

    // ---- the reactions of those messages
    void VOnSetActive(HWND hDlg, PageContext* pContext);
    LRESULT IOnKillActive(HWND hDlg, PageContext* pContext);
    LRESULT IOnApply(HWND hDlg, PageContext* pContext);
    // A retention mode's button.
    void VOnMode(HWND hDlg, int iMode, PageContext* pContext);
    void VOnButton(HWND hDlg, int iCtrlId, PageContext* pContext);

    // ---- what the page owns: the control table first, then the controller that works on it
    CZQPageControls m_controls;
    CZQJobRetentionOptions m_retention;
};

inline constexpr auto& JobStoragePageDlgProc = ZQPageShell::Proc<CZQJobStorageTab>;
