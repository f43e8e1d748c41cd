// Tip icons of the constraint controllers: a small information icon beside an anchor control,
// shown while there are tip texts for its feature, which opens a "Feature tip " message box when it
// is clicked or activated with the space bar. The same icon class collects the ids of the rule
// set's "Feature tip" message box.
//
// Texts come from the text loader each icon is given (the status module of its own plug-in
// object), so icons of different plug-in objects in one process never share a loader.
#pragma once

#include <windows.h>

#include "xmlrules/zqptrarray.h"

class CZQCommon;

// String ids of the tip and constraint texts.
enum : INT {
    ZQ_IDS_FEATURE_TIP = 5452,         // first line of every tip message
    ZQ_IDS_CONSTRAINT_HEAD = 5800,     // first line of the constraint message box
    ZQ_IDS_CONSTRAINT_TAIL = 5801,     // last line of the constraint message box (optional)
};

class CZQFeatureTipWindow {
public:
    static constexpr int kIconSize = 18;
    enum : DWORD { kStatePressed = 1, kStateNormal = 2 };

    CZQFeatureTipWindow(HINSTANCE hModule, CZQCommon* pTextLoader);
    // Destroys the icon window.
    virtual ~CZQFeatureTipWindow();
    CZQFeatureTipWindow(const CZQFeatureTipWindow&) = delete;
    CZQFeatureTipWindow& operator=(const CZQFeatureTipWindow&) = delete;

    // Creates the icon window left of the anchor, in the anchor's parent dialog; FALSE when the
    // anchor or its parent is no window, the window cannot be made or the icons cannot be loaded.
    BOOL BCreate(HWND hAnchor);
    // Destroys the icon window; the bubble ids stay.
    void VDestroy();
    void VSetMainTextId(INT id) { m_idMainText = id; }
    // 0 is ignored; an id already listed changes nothing.
    void VAddBubbleId(INT id);
    // Removes the first equal id; TRUE when one was found.
    BOOL BRemoveBubbleId(INT id);
    // Shown while the anchor is a window and bubble ids are pending, hidden otherwise.
    void VUpdateVisibility();
    // The "Feature tip " message of the pending bubble ids (nothing without any).
    void VShowTipMessage();
    void VSetTextLoader(CZQCommon* pTextLoader) { m_pTextLoader = pTextLoader; }

    HWND IconWindow() const { return m_hIcon; }
    DWORD State() const { return m_dwState; }
    INT MainTextId() const { return m_idMainText; }
    const CZQPtrArray& BubbleIds() const { return m_bubbleIds; }

private:
    static LRESULT CALLBACK IconWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    LRESULT LHandle(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    void VSetState(DWORD dwState);
    void VForgetIconWindow();

    HWND m_hIcon = nullptr;
    HWND m_hAnchor = nullptr;
    HWND m_hDlg = nullptr;
    HICON m_hIconNormal = nullptr;   // shared system icons: never destroyed
    HICON m_hIconPressed = nullptr;
    DWORD m_dwState = kStateNormal;
    BOOL m_bMouse = FALSE;
    BOOL m_bKey = FALSE;
    INT m_idMainText = 0;
    CZQPtrArray m_bubbleIds;
    HINSTANCE m_hModule;
    CZQCommon* m_pTextLoader;
};

class CZQFeatureTipIcon {
public:
    explicit CZQFeatureTipIcon(CZQCommon* pTextLoader = nullptr) : m_pTextLoader(pTextLoader) {}
    virtual ~CZQFeatureTipIcon();
    CZQFeatureTipIcon(const CZQFeatureTipIcon&) = delete;
    CZQFeatureTipIcon& operator=(const CZQFeatureTipIcon&) = delete;

    // Replaces the tip window object by a new one; TRUE when made.
    BOOL BNewTipWindow(HINSTANCE hModule, HINSTANCE hModule2);
    // The operations on the tip window answer FALSE while there is none.
    // Creates the icon window beside the anchor and sets the main text id.
    BOOL BAttach(HWND hDlg, HWND hAnchor);
    BOOL BDestroy();
    BOOL BAddBubbleId(INT id);
    BOOL BRemoveBubbleId(INT id);

    // Collects an id for the message box; TRUE when it was not listed yet.
    BOOL BAddMessageId(INT id);
    // Shows the collected texts in the "Feature tip" box (OK and Cancel) and empties the list;
    // the box's answer, IDOK without any id.
    int IShowMessage(HWND hDlg);

    // Texts of this icon and of its tip windows come from this loader.
    void VSetTextLoader(CZQCommon* pTextLoader);

    CZQFeatureTipWindow* TipWindow() const { return m_pTipWindow; }
    const CZQPtrArray& MessageIds() const { return m_messageIds; }

private:
    CZQFeatureTipWindow* m_pTipWindow = nullptr;
    CZQPtrArray m_messageIds;
    CZQCommon* m_pTextLoader;
};
