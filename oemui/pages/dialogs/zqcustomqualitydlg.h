// CZQCustomQualityDlg: the custom print-quality options of the large-format printers: a quality
// level, Maximum Detail, More Passes and a Gloss Enhancer choice, each offered only where the print
// quality and the loaded media allow it. Every change goes to the core driver's features at once
// and runs the helper file's macros; Cancel puts the four features back. The Paper/Quality page
// owns one and opens it modally with its PageContext.
#pragma once

#include "common/zquibase.h"

struct PageContext;

class CZQCustomQualityDlg : public CZQUIBase {
public:
    static constexpr size_t kLabelChars = 256;
    // Pairs of (control id, help id) with the closing pair.
    static constexpr int kHelpPairs = 6;

    CZQCustomQualityDlg();

    // The OEMCUIPPARAM of the page that owns the dialog.
    void VSetParam(POEMCUIPPARAM pParam) { m_pCUIParam = pParam; }

    // The dialog (right-to-left template when asked) from the module of the page's OEMCUIPPARAM,
    // owned by hOwner: 1 OK or closed, 2 Cancel, -1 when it could not be shown.
    INT_PTR IDoModal(HWND hOwner, PageContext* pContext, BOOL bRightToLeft);
    static INT_PTR CALLBACK CustomQualityDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);

    // The gloss choice is offered for the media of its group at the best quality (its combo then
    // shows the feature's current option).
    BOOL BIsGlossAllowed(PageContext* pContext);
    BOOL BIsMorePassesAllowed(PageContext* pContext);
    // 0 the feature cannot be read, 2 on, 1 off.
    int IGetMaximumDetailState(PageContext* pContext);
    int IGetMorePassesState(PageContext* pContext);
    // The current media type is one of the entries of the helper file's group of that name.
    BOOL BIsMediaInGroup(PageContext* pContext, PCWSTR pszGroup);
    // Pairs of (control id, help index of its feature's item), ended by (0, 0).
    void VGetHelpIds(PageContext* pContext, DWORD* pdwTable);

private:
    enum Ctl : int {
        kCtlGroup, kCtlLevelLabel, kCtlDpiLabel, kCtlGlossLabel, kCtlMaxDetail, kCtlMorePasses, kCtlLevel, kCtlGloss,
        kCtlCancel, kCtlOk, kCtlCount
    };

    BOOL BInitDialog(HWND hDlg, PageContext* pContext);
    void VOnCommand(int iCtrlId, int iCode, PageContext* pContext);
    void VFillControls(PageContext* pContext);
    BOOL BFillLevelCombo(PageContext* pContext);
    void VFillGlossCombo(PageContext* pContext);
    void VOnLevelChosen(PageContext* pContext);
    void VAfterSwitch(PageContext* pContext);
    void VRestore(PageContext* pContext);
    void VRunQualityGroupMacros(PageContext* pContext);
    void VRunMaximumDetailMacros(PageContext* pContext);
    void VWriteRenderDpi();
    BOOL BPrintQualityIs(PCWSTR pszValue, BOOL bCaseBlind = FALSE);
    int ISelection(PCWSTR pszFeature);
    HWND H(Ctl c) const { return m_ahCtl[c]; }

    HWND m_hDlg = nullptr;
    int m_iSavedQualityGroup = -1;
    int m_iSavedMaxDetail = -1;
    int m_iSavedMorePasses = -1;
    int m_iSavedGloss = -1;
    HWND m_ahCtl[kCtlCount] = {};
    WCHAR m_szRenderDpi[kLabelChars] = {};
    int m_iAcceptedQuality = 0;
    BOOL m_bRecheck = TRUE;
};
