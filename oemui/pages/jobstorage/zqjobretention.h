// CZQJobRetentionOptions: the Job Storage page's controller. It works on the page's window through
// the page's control table: the texts, the control groups, the automatic user and job names, the
// controls set from the working settings when the page starts (I) and whenever it comes to the
// front (R), stored back when it is left (C), the compact layout of the retention modes (L), and the
// rules for the names and the PIN the user types (zqjobnamerules.cpp; the character rules
// themselves are formats/zqjobnames.h).
#pragma once

#include "formats/zqjobnames.h"
#include "pages/zqpagecontrols.h"
#include "pages/zqpages.h"
#include "res/zqjobstorageids.h"

struct ZQUIDevmode;

class CZQJobRetentionOptions : public CZQUIBase {
public:
    // Context help: the page's pairs of (control id, help id), then (0, 0).
    static constexpr int kHelpPairs = 34;
    static constexpr size_t kTextChars = 256;
    // The retention modes' buttons, in mode order (Off, Proof and Hold, Private Job, Quick Copy,
    // Stored Job): the controls the compact layout moves.
    static constexpr int kModeIds[5] = {IDC_RB_OFF, IDC_RB_PROOF_AND_HOLD, IDC_RB_PRIVATE_JOB, IDC_RB_QUICK_COPY,
                                        IDC_RB_STORED_JOB};

    explicit CZQJobRetentionOptions(CZQPageControls& controls);
    CZQJobRetentionOptions(const CZQJobRetentionOptions&) = delete;
    CZQJobRetentionOptions& operator=(const CZQJobRetentionOptions&) = delete;

    // ---- texts, groups, help
    // The "ZQPJLEncoding" option the name rules follow (null or unreadable: none).
    void VSetEncoding(PCWSTR pszEncoding);
    BOOL BUtf8() const { return m_encoding == ZQNameEncoding::kUtf8; }
    // The selected mode's description (string 175..179; empty when the string is missing).
    void VSetDescription(HWND hDlg, INT iTextId);
    void VEnablePinGroup(HWND hDlg, BOOL bEnable);
    void VEnableUserNameGroup(HWND hDlg, BOOL bEnable);
    void VEnableJobNameGroup(HWND hDlg, BOOL bEnable);
    void VEnableNotificationGroup(HWND hDlg, BOOL bEnable);
    void VEnableJobNameExistsGroup(HWND hDlg, BOOL bEnable);
    // Every text of the page but the job-name-exists label; the character hints only for the
    // 8-bit rules.
    void VSetControlTexts(HWND hDlg);
    void VGetHelpTable(DWORD* pdwTable) const;

    // ---- the page's steps
    void VInitControls(PageContext* pContext, HWND hDlg);
    void VRefreshControls(PageContext* pContext, HWND hDlg);
    void VCommitControls(PageContext* pContext, HWND hDlg);
    // Removes the modes the printer lacks (the private devmode's availability set) and moves the
    // others up; with a mode removed, a stored quick copy or stored job is reset to Off, and the
    // working mode with it only when its button went.
    void VCompactLayout(HWND hDlg, ZQUIDevmode* pPrivateDM, ZQUIDevmode* pWorkDM);
    // The stored mode the change check compares with: until an Apply, the one the compact layout
    // reset while its button stands (the page shows it, and OK stores it back).
    DWORD DWComparedMode(DWORD dwStored) const { return m_dwResetMode ? m_dwResetMode : dwStored; }
    void VApplied() { m_dwResetMode = 0; }

    // ---- the name and PIN rules (zqjobnamerules.cpp)
    static BOOL BIsPlainAscii(PCWSTR pszText);
    static BOOL BReplaceIfNotPlainAscii(PWSTR pszText, PCWSTR pszFallBack);
    // EN_KILLFOCUS of the user-name or the job-name edit: one rule for both.
    void VNameLeft(HWND hDlg, BOOL bUser, PageContext* pContext);
    // EN_CHANGE of a name edit: the radios follow the text and the working copy takes it.
    void VNameChanged(HWND hDlg, BOOL bUser, PageContext* pContext);
    // EN_CHANGE of the PIN edit: anything but digits becomes "0000"; the working PIN follows.
    void VPinChanged(HWND hDlg, PageContext* pContext);
    // The PIN edit shows the stored PIN as four digits.
    void VShowPin(HWND hDlg, DWORD dwPin);
    // A required PIN of fewer than four digits is refused: the PIN message, the
    // PIN selected and focused. TRUE when accepted (always on a printer without PIN printing).
    BOOL BCheckPin(HWND hDlg);

    // The PIN controls are in use: the printer prints with a PIN (private devmode's model code).
    BOOL BPinInUse() const { return m_bPinInUse; }
    void VUpdatePinInUse(HWND hDlg, const ZQUIDevmode* pPrivateDM);
    // The mode of the checked retention button; -1 when none is checked.
    int ICheckedMode() const;
    // A name edit's text as the working copy stores it: empty gives the automatic name, and the
    // 8-bit rules keep only a plain-ASCII name (else the automatic one). TRUE when it was empty.
    BOOL BStoredName(BOOL bUser, PWSTR pszText) const;
    PCWSTR AutoUserName() const { return m_szAutoUserName; }
    PCWSTR AutoJobName() const { return m_szAutoJobName; }

private:
    // Steps of I and R: the radios and edits of both names, and the groups of a mode.
    void VShowNames(ZQUIDevmode& work, HWND hDlg);
    void VShowMode(HWND hDlg, ZQUIDevmode& work, bool bStart);
    void VMakeAutomaticNames();
    // The commit variant of a name's leave rule, and the steps it shares with the leave rules.
    void VCommitName(HWND hDlg, BOOL bUser);
    BOOL BSanitizeShown(BOOL bUser, PWSTR pszText, BOOL bFocusEditFirst);
    void VShowReplacementMessage(HWND hDlg);
    // The PIN message; the PIN edit's text selected and focused.
    void VShowPinMessage(HWND hDlg);
    // A message box with its text and caption from the status module, else the English ones.
    void VShowMessage(HWND hDlg, INT iTextId, PCWSTR pszText, INT iCaptionId, PCWSTR pszCaption, UINT uType);
    // The edit's text (kTextChars characters).
    void VReadText(int iCtrlId, PWSTR pszText) const;
    void VSetRadios(int iFirst, int iChecked);

    CZQPageControls& m_controls;
    WCHAR m_szAutoJobName[kTextChars] = {};
    WCHAR m_szAutoUserName[kTextChars] = {};
    WCHAR m_szEncoding[kTextChars] = {};
    ZQNameEncoding m_encoding = ZQNameEncoding::kAscii;
    BOOL m_bPinInUse = TRUE;
    DWORD m_dwResetMode = 0;  // see DWComparedMode; 0 none
};
