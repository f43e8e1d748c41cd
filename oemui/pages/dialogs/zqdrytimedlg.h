// CZQDryTimeDlg: one slider over an ordered feature (the ink's dry time, the ink volume or the
// over-spray), opened from the plug-in's push item of that feature in the core driver's list. The
// logic object keeps the dialog and the chosen option index of each of the three features; OK
// selects the option under the slider and tells the core driver's sheet whether that index
// changed.
#pragma once

#include "common/zqcommon.h"
#include "common/zquibase.h"

struct ZQOemDialogParam;

class CZQDryTimeDlg : public CZQUIBase {
public:
    ~CZQDryTimeDlg() override;

    // The push item's dialog (the logic object's, made on first use) over the core driver's page:
    // 1 OK, 2 Cancel or closed, -1 when it could not be shown.
    static INT_PTR IRunFromPushItem(ZQOemDialogParam* pParam);
    static INT_PTR CALLBACK DlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);

    // The stored option index of the feature's group (dry time, ink volume, over-spray; the JCL
    // twins with theirs), null for any other feature.
    static DWORD* PStoredIndex(class CZQUILogic& logic, PCWSTR pszFeature);

private:
    BOOL BInitDialog(HWND hDlg, ZQOemDialogParam* pParam);
    void VOnOk(ZQOemDialogParam* pParam);
    void VFreeKeywords();

    HWND m_hDlg = nullptr;
    HWND m_hSlider = nullptr, m_hGroup = nullptr, m_hLess = nullptr, m_hMore = nullptr, m_hOk = nullptr,
         m_hCancel = nullptr;
    ZQTrackbarLayout m_trackbar = {};
    PWSTR* m_ppszKeywords = nullptr;
    int m_iKeywordCount = 0;
    // The help table of this opening: the dialog, four controls, the end pair.
    DWORD m_adwHelp[2 * 6] = {};
};
