// CZQImageShiftDlg: the "Image Shift Settings" dialog, where the user moves the printed image on
// the front and on the back of the sheet, across and down, in millimetres or inches, shrinks the
// page to fit the shifted area, and mirrors the front's shift onto the back. The dialog edits the
// image shift block of the working settings; OK stores it, in whole millimetres, into the core
// driver's private devmode as well, and Cancel leaves both as they were at opening.
#pragma once

#include <cstdint>

#include "common/zquibase.h"

struct PageContext;

class CZQImageShiftDlg : public CZQUIBase {
public:
    // The image shift block of the private devmode (its nine values, in this order).
    enum : int {
        kFrontOn,         // the front's shift applies
        kBackOn,          // the back's shift applies
        kReduceToFit,
        kMirrorFront,     // the back takes the front's shift, mirrored
        kInches,          // the dialog shows inches
        kFrontVertical,   // the shifts, whole millimetres
        kBackVertical,
        kFrontHorizontal,
        kBackHorizontal,
        kShiftValueCount
    };
    // The limits of a shift: 250 mm, or 9.9 inches, either way.
    static constexpr float kMaxMillimetres = 250.0f;
    static constexpr float kMaxInches = 9.9f;
    static constexpr int kHelpPairs = 25;

    CZQImageShiftDlg();

    // The dialog (right-to-left template when asked), owned by hOwner: 1 OK, 2 Cancel or closed,
    // -1 when it could not be shown. The page sets the OEMCUIPPARAM and the status module first.
    INT_PTR IDoModal(HWND hOwner, PageContext* pContext, BOOL bRightToLeft);
    static INT_PTR CALLBACK ImageShiftDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
    void VSetParam(POEMCUIPPARAM pParam) { m_pCUIParam = pParam; }

    // ---- the dialog's start
    void VGetControlHandles(HWND hDlg);
    void VSetTexts();
    // Every control from the working settings: the sides' boxes, their rows and units, the values
    // in the unit shown, and the three options.
    void VInitControls(PageContext* pContext);
    // kHelpPairs pairs and the (0, 0) end.
    static const DWORD* PGetHelpIds();

    // ---- values
    // Digits, a "-" first and one decimal separator at most (the point, the comma or the user's
    // own), within the limits of the unit shown (an empty text or a lone "-" is 0).
    BOOL BValidateShift(PCWSTR pszText) const;
    // The four values into the other unit: 0 millimetres to inches, 1 inches to millimetres.
    void VConvertUnits(int iMode);
    // OK: the flags into the working settings and the core driver's private devmode, the shifts of
    // the sides that apply into both in whole millimetres (toward zero).
    void VSaveSettings(PageContext* pContext);

private:
    BOOL BInitDialog(HWND hDlg, PageContext* pContext);
    void VOnCommand(int iCtrlId, int iCode, PageContext* pContext);
    void VOnSideBox(bool bBack, PageContext* pContext);
    void VOnUseInches();
    // The back takes the front's shift, mirrored (flip pages up turns it): both values, or the one
    // of the front edit given.
    void VMirrorCopy(PageContext* pContext, int iFrontEdit = 0);
    void VOnEditChange(int iEditId, PageContext* pContext);
    // Cancel or close: the working settings' shifts and reduce-to-fit as the dialog found them.
    void VRestoreOpening(PageContext* pContext);

    // A side's rows shown and enabled, or greyed; its unit labels follow the unit shown.
    void VShowSide(bool bBack, bool bOn);
    void VShowUnitLabels(bool bBack, bool bOn);
    // A value into its edit: a whole number "%1.2ld", else "%1.2lf".
    void VSetEditValue(int iEditId, double dValue, bool bWhole);
    bool Checked(int iCtrlId) const;
    HWND Item(int iCtrlId) const { return m_hDlg ? GetDlgItem(m_hDlg, iCtrlId) : nullptr; }

    HWND m_hDlg = nullptr;
    int m_iConvertMode = 0;  // the last conversion: 0 to inches, 1 to millimetres
    // The working settings' shifts and reduce-to-fit at opening, for Cancel.
    int32_t m_aiOpening[kShiftValueCount] = {};
};
