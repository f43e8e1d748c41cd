// CZQCustomPaperDlg: the custom paper size dialog, where the user creates, replaces and deletes the
// printer's own paper forms within its custom-size limits. A page owns one for its whole life and
// opens it modally with its PageContext; the rule engine writes the limits into it while it runs
// the "CustomSize" macros. Forms saved as borderless are recorded for the paper lists.
#pragma once

#include "common/zquibase.h"
#include "xmlrules/zqxmluirules.h"

struct PageContext;

class CZQCustomPaperDlg : public CZQUIBase {
public:
    static constexpr size_t kNameChars = 256;
    // Sizes are kept in thousandths of a millimetre.
    static constexpr double kPerInch = 25400.0;
    static constexpr double kPerMillimetre = 1000.0;
    enum : int { kInches = 0, kMillimetres = 1 };
    enum : int { kNotCorrected = 0, kCorrected = 1, kSwitchedAfterCorrection = 2 };
    // Pairs of (control id, help id) with the closing pair.
    static constexpr int kHelpPairs = 17;

    CZQCustomPaperDlg();

    // The dialog (right-to-left template when asked) from the module of the page's OEMCUIPPARAM,
    // owned by hOwner: 1 OK, 2 Cancel or closed, -1 when it could not be shown.
    INT_PTR IDoModal(HWND hOwner, PageContext* pContext, BOOL bRightToLeft);
    static INT_PTR CALLBACK CustomPaperDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);

    // Saves the form the dialog shows: the result of adding (or replacing) it, 0 when nothing was
    // stored.
    BOOL BSaveForm(PageContext* pContext);
    // The typed name, without trailing blanks, is neither the default name nor blanks.
    BOOL BIsNameValid();
    // Decimal digits with at most one decimal point that is not the last character (or nothing).
    static BOOL BIsPlainNumber(PCWSTR pszText);
    static void VGetHelpIds(DWORD* pdwTable);
    // TRUE when the printer of the block has a form of that name (compared without regard to case);
    // *pbUserForm then tells whether the user defined it. FALSE when no form matches or the forms
    // cannot be listed. The pages' paper lists and trees ask it too.
    static BOOL BFindForm(POEMCUIPPARAM pParam, PCWSTR pszForm, BOOL* pbUserForm);

    ZQCustomSizeLimits& Limits() { return m_limits; }
    int ICorrectionState() const { return m_iCorrection; }
    BOOL BRecordedBorderless() const { return m_bRecordedBorderless; }

private:
    enum Ctl : int {
        kName, kWidth, kLength, kNameGroup, kSizeGroup, kUnitsGroup, kBorderless, kInchesRadio, kMmRadio,
        kWidthLabel, kLengthLabel, kWidthRange, kLengthRange, kSaveDelete, kOk, kCancel, kWarning, kCtlCount
    };

    BOOL BInitDialog(HWND hDlg, PageContext* pContext);
    void VOnCommand(int iCtrlId, int iCode, PageContext* pContext);
    void VFill(PageContext* pContext);
    void VWriteRanges();
    void VOnSizeLeft(BOOL bWidth);
    void VOnUnitChosen(int iUnit);
    void VUpdateButtons();
    void VOnSaveDelete(PageContext* pContext);
    void VDeleteShownForm(PageContext* pContext);
    void VRunFailurePopup(PageContext* pContext);
    void VLabelButton(BOOL bDelete);
    BOOL BShowsDelete();
    double DReadField(HWND hEdit) const;
    void VWriteNumber(HWND hEdit, double dValue) const;
    HWND H(Ctl c) const { return m_ahCtl[c]; }

    BOOL m_bUnitsSwitched = FALSE;
    HWND m_hDlg = nullptr;
    HWND m_ahCtl[kCtlCount] = {};
    int m_iUnit = kInches;
    ZQCustomSizeLimits m_limits = {};
    WCHAR m_szRecordedName[kNameChars] = {};
    BOOL m_bRecordedBorderless = FALSE;
    int m_iCorrection = kNotCorrected;
};
