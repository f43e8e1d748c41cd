// Wrappers of the dialog controls the pages draw themselves: a button that owns message boxes, a
// bitmap button and a list box with a warning icon. Each wrapper subclasses its control only to
// let go of it when the control is destroyed, so it never reaches a dead window.
#pragma once

#include <windows.h>

// A dialog control a wrapper is attached to.
class CZQControl {
public:
    CZQControl() = default;
    ~CZQControl();
    CZQControl(const CZQControl&) = delete;
    CZQControl& operator=(const CZQControl&) = delete;

    // Attaches to the dialog's control; FALSE when the control does not exist.
    BOOL BAttach(HWND hDlg, int iCtrlId);
    void VDetach();
    HWND HWnd() const { return m_hWnd; }

protected:
    HWND m_hWnd = nullptr;

private:
    static LRESULT CALLBACK SubclassProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, UINT_PTR uId,
                                         DWORD_PTR dwRef);
};

class CZQButton : public CZQControl {
public:
    // A message box owned by the control's parent window; MessageBoxW's result.
    int IMessageBox(PCWSTR pszCaption, PCWSTR pszText, UINT uType);
};

// An owner-drawn button showing the first of its two bitmaps, the second while it is pressed.
class CZQBitmapButton : public CZQButton {
public:
    CZQBitmapButton() = default;
    ~CZQBitmapButton();

    // Loads both bitmaps from the module (replacing earlier ones); TRUE when both load.
    BOOL BLoadBitmaps(HINSTANCE hModule, WORD wFirst, WORD wSecond);
    // Draws the button for the parent's WM_DRAWITEM; FALSE when the item is not this button's.
    BOOL BDrawItem(const DRAWITEMSTRUCT* pDraw);

private:
    void VFreeBitmaps();
    HBITMAP m_hFirst = nullptr;
    HBITMAP m_hSecond = nullptr;
};

// An owner-drawn list box whose items carry two flags in their item data: bit 0 enabled (else
// grey text and icon), bit 1 marked (the icon is drawn before the text).
class CZQIconListBox : public CZQControl {
public:
    static constexpr LPARAM kItemEnabled = 0x1;
    static constexpr LPARAM kItemMarked = 0x2;

    // The marker icon: an icon of the module, or a system icon (32515, the warning sign) when the
    // module is null.
    BOOL BSetIcon(HINSTANCE hModule, WORD wIconId);

    int IGetCount() const;
    // The item's text into a buffer of cchText characters; LB_ERR when it does not fit.
    int IGetText(int iIndex, PWSTR pszText, size_t cchText) const;
    int IGetCurSel() const;
    int ISetCurSel(int iIndex);
    int IAddString(PCWSTR pszText);
    void VResetContent();
    int IFindStringExact(PCWSTR pszText, int iStart = -1) const;

    BOOL BSetItemEnabled(int iIndex, BOOL bEnabled);
    BOOL BSetItemMarked(int iIndex, BOOL bMarked);
    // Draws an item for the parent's WM_DRAWITEM; FALSE when the item is not this list's.
    BOOL BDrawItem(const DRAWITEMSTRUCT* pDraw);

private:
    BOOL BSetItemFlag(int iIndex, LPARAM flag, BOOL bOn);
    HICON m_hIcon = nullptr;  // shared icon: not destroyed
};
