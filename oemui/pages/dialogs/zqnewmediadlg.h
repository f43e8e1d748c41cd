// CZQNewMediaDlg: "Add Custom Media", the confirmation the Paper/Quality page asks before it starts
// the colour-management program that creates a new media. The page holds one for its whole life,
// hands it its OEMCUIPPARAM and resource module when its window starts, and opens it modally with
// its PageContext; the dialog reaches its own object through the opening, never through the page:
// 1 is Continue, 2 Cancel (also Escape and the close box).
#pragma once

#include "common/zquibase.h"

struct PageContext;

INT_PTR CALLBACK NewMediaDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);

class CZQNewMediaDlg : public CZQUIBase {
public:
    CZQNewMediaDlg() = default;

    void VSetParam(POEMCUIPPARAM pParam) { m_pCUIParam = pParam; }
    // Template 1016 (right-to-left) or 1013 from the module of the OEMCUIPPARAM, owned by hOwner;
    // the dialog's result, or -1 when it could not be shown.
    INT_PTR IDoModal(HWND hOwner, PageContext* pContext, BOOL bRightToLeft);

    void VGetControlHandles(HWND hDlg);
    void VSetControlTexts();
    void VTakePublicDevmode();
    HWND Window() const { return m_hDlg; }

private:
    HWND m_hDlg = nullptr;
    HWND m_hCancel = nullptr;
    HWND m_hContinue = nullptr;
    HWND m_hNote = nullptr;
    HWND m_hCancelText = nullptr;
    HWND m_hContinueText = nullptr;
    HWND m_hHeading = nullptr;
};
