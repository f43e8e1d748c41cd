// Constraint controllers: one per controlled feature. A controller knows the feature's current
// option, sets a new one, keeps the dialog controls that belong to the feature and enables or
// disables them, and owns the tip icon beside them. The constraint rules act only through
// controllers. Three derived controllers carry what is particular to print-with-margins,
// greyscale printing and more passes.
#pragma once

#include <windows.h>

#include "platform/oemuiplatform.h"
#include "xmlrules/zqfeaturetip.h"
#include "xmlrules/zqptrarray.h"

// The user-interface logic object as the controllers and the constraint gate see it: the
// parameter block of the current core-driver call (null when there is none), through which
// features are read and set, and whether greyscale printing may be offered.
class IZQConstraintLogic {
public:
    virtual POEMCUIPPARAM PCurrentCallParam() const = 0;
    virtual BOOL BGreyscaleEnabled() const = 0;

protected:
    ~IZQConstraintLogic() = default;
};

// Control ids of the dialogs the derived controllers know.
enum : int {
    IDC_CBO_GRAYSCALE = 917,          // colour page
    IDC_PQ_CHECK_MORE_PASSES = 999,   // custom print-quality dialog
    IDC_RB_BORDERLESS = 1020,         // margins dialog
    IDC_RB_MANUALLY_PRINTER = 1048,
    IDC_RB_AUTO_PRINTER = 1050,
};

// A dialog control registered with a controller under a name.
class CZQControlNode {
public:
    static constexpr size_t kNameChars = 256;
    // Filled only when the name is given, the window is a window and the id is not 0.
    CZQControlNode(PCWSTR pszName, HWND hWnd, int iCtrlId);
    virtual ~CZQControlNode() = default;

    WCHAR m_szName[kNameChars] = {};
    HWND m_hWnd = nullptr;
    int m_iCtrlId = 0;
};

class CZQConstraintController {
public:
    static constexpr size_t kTextChars = 256;

    CZQConstraintController();
    // Deletes the tip icon (its icon window goes) and the registered nodes.
    virtual ~CZQConstraintController();
    CZQConstraintController(const CZQConstraintController&) = delete;
    CZQConstraintController& operator=(const CZQConstraintController&) = delete;

    // Up to 255 characters of the name; the tip icon gets a new tip window. TRUE when a name was
    // given.
    virtual BOOL BSetFeatureName(PCWSTR pszName, HINSTANCE hModule, HINSTANCE hModule2);
    // Attaches to the dialog beside its control of that id.
    virtual BOOL BAttachById(HWND hDlg, int iAnchorId);
    // Keeps the dialog and shows the tip icon beside the anchor; the icon creation's result.
    virtual BOOL BAttachDialog(HWND hDlg, HWND hAnchor);
    // Forgets the dialog, destroys the icon window (its bubble ids stay) and frees the registered
    // nodes; TRUE when a tip window object exists.
    virtual BOOL BDetach();
    // Every registered control enabled or disabled; the state is kept. TRUE when at least one
    // control is registered.
    virtual BOOL BEnableAll(BOOL bEnable);
    // Keeps an index of 0 or more (TRUE); FALSE for a negative one.
    virtual BOOL BSetIndex(int iIndex);
    // Up to 255 characters into the value text; TRUE when the text is shorter than 255.
    virtual BOOL BSetValueText(PCWSTR pszOption);
    // With a logic object the feature's current option becomes the value text; the value text is
    // copied into the buffer. TRUE when a buffer was given.
    virtual BOOL BReadCurrentOption(PWSTR pszBuffer, int cchBuffer);
    // A control by window (id 0) or by id (no valid window: found in the attached dialog);
    // TRUE when a node was added.
    virtual BOOL BRegisterControl(HWND hWnd, int iCtrlId, PCWSTR pszName);
    // Frees every node of the name with that window, or without a window with that id.
    virtual void VUnregisterControl(HWND hWnd, int iCtrlId, PCWSTR pszName);

    void VSetLogic(IZQConstraintLogic* pLogic) { m_pLogic = pLogic; }
    PCWSTR PszFeatureName() const { return m_szFeature; }
    PCWSTR PszValueText() const { return m_szValue; }
    HWND Dialog() const { return m_hDlg; }
    BOOL BEnabled() const { return m_bEnabled; }
    int Index() const { return m_iIndex; }
    const CZQPtrArray& Controls() const { return m_controls; }
    CZQFeatureTipIcon* TipIcon() const { return m_pTipIcon; }

protected:
    // The parameter block of the current call, null without a logic object or a call.
    POEMCUIPPARAM Param() const { return m_pLogic ? m_pLogic->PCurrentCallParam() : nullptr; }
    // The dialog's control, null when the dialog or the control is no window.
    HWND HDlgItem(int iCtrlId) const;
    // After an attach: the kept enabled state goes to the controls, and the current option is
    // read and set again, so the dialog shows what the rules made of the feature.
    void VReapplyState();

    HWND m_hDlg = nullptr;
    BOOL m_bEnabled = TRUE;
    int m_iIndex = -1;
    WCHAR m_szFeature[kTextChars] = {};
    WCHAR m_szValue[kTextChars] = {};
    CZQPtrArray m_controls;
    CZQFeatureTipIcon* m_pTipIcon = nullptr;
    IZQConstraintLogic* m_pLogic = nullptr;
};

// "ZQBorderless": borderless printing is option 3 ("AutoOn") of "ZQPrintWithMargins".
class CZQMarginsController : public CZQConstraintController {
public:
    BOOL BAttachDialog(HWND hDlg, HWND hAnchor) override;
    BOOL BEnableAll(BOOL bEnable) override;
    BOOL BSetIndex(int iIndex) override;
    BOOL BSetValueText(PCWSTR pszOption) override;
    BOOL BReadCurrentOption(PWSTR pszBuffer, int cchBuffer) override;
};

// "ZQPrintInGrayScale" of the colour page.
class CZQColorOptionsController : public CZQConstraintController {
public:
    BOOL BAttachDialog(HWND hDlg, HWND hAnchor) override;
    BOOL BEnableAll(BOOL bEnable) override;
    BOOL BSetIndex(int iIndex) override;
    BOOL BSetValueText(PCWSTR pszOption) override;
    // The process's first attach is to come again (a test's fresh start).
    static void VForgetFirstAttachForTesting();
};

// "ZQMorePasses" of the custom print-quality dialog.
class CZQMorePassesController : public CZQConstraintController {
public:
    BOOL BAttachDialog(HWND hDlg, HWND hAnchor) override;
    BOOL BEnableAll(BOOL bEnable) override;
    BOOL BSetIndex(int iIndex) override;
    BOOL BSetValueText(PCWSTR pszOption) override;
};
