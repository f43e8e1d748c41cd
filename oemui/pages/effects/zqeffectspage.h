// CZQEffectsTab: the Effects page of the document sheet, where the user resizes the document, sets
// its margins and picks a watermark beside the sample page, which a click turns between portrait and
// landscape. One object per binding; EffectsPageDlgProc finds it through the page's PageContext,
// kept as the window's DWLP_USER data. Other pages call some of its routines, also while it has no
// window.
//
// The class declares, public, the page's routines, and, private, the work of its dialog procedure
// with the reactions to each message. Its controls are a CZQPageControls table; the page keeps its
// own watermark manager.
#pragma once

#include "featurelogic/zqwatermarks.h"
#include "pages/zqpagealerts.h"
#include "pages/zqpagecontrols.h"
#include "pages/zqpages.h"
#include "preview/zqpreviewsettings.h"

struct ZQUIDevmode;

INT_PTR CALLBACK EffectsPageDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);

// The bounds of the scale box: an ordinary printer scales from 25 to 400 per cent in three digits
// and can fit a document to another paper; a large-format printer scales to 1000 in four digits and
// cannot.
struct ZQScaleLimits {
    int iMinimum = 25;
    int iMaximum = 400;
    int iDigits = 3;
    BOOL bFitAllowed = TRUE;
};

class CZQEffectsTab : public CZQTabBase {
public:
    // Context help: the page's pairs of (control id, help id), then (0, 0).
    static constexpr int kHelpPairs = 26;

    CZQEffectsTab();
    ~CZQEffectsTab() override;
    CZQEffectsTab(const CZQEffectsTab&) = delete;
    CZQEffectsTab& operator=(const CZQEffectsTab&) = delete;

    // ---- refresh: mode 0 sets the controls from the settings, mode 2 stores them back (and records
    // this page as the one to open on); other modes do nothing.
    void VSyncControls(HWND hDlg, PageContext* pContext, int iMode);
    // The manager works for the sheet's call: its parameters, heap and texts are the page's.
    void VInitLists(PageContext* pContext);

    // ---- change check and help
    // PSM_CHANGED or PSM_UNCHANGED to the sheet for the page, by what differs from the settings the
    // sheet opened with.
    void VUpdateChangedState(HWND hDlg, PageContext* pContext);
    // kHelpPairs pairs and the (0, 0) end into pdwTable.
    void VBuildHelpIdTable(DWORD* pdwTable, PageContext* pContext);

    // ---- the sample page
    void VFillPreviewSettings(PageContext* pContext);

    // ---- the device's state, asked again; first callers: the alert strips of the other pages
    void VRefreshDeviceStatus(IZQAlertGate* pAlerts);

    // ---- for the tests: the state and record behind the page's routines
    const PreviewSettings& PreviewRecordForTesting() const { return m_preview; }
    const ZQScaleLimits& ScaleLimitsForTesting() const { return m_limits; }
    CZQWatermarks& WatermarksForTesting() { return m_watermarks; }
    CZQPageAlerts& AlertsForTesting() { return m_alerts; }

private:
    friend INT_PTR CALLBACK EffectsPageDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);

    // ---- the dialog procedure's work (the context is the page's PageContext)
    BOOL BInitDialog(HWND hDlg, PageContext* pContext);
    void VOnPaint(HWND hDlg, PageContext* pContext);
    void VOnHelp(HWND hWnd, UINT uCommand, PageContext* pContext);
    void VOnDestroy();
    // The user's choices (WM_COMMAND: control id, notification code, control window); TRUE for the
    // ones the procedure answers TRUE. The sheet's notifications, whose result the page answers.
    BOOL BOnCommand(HWND hDlg, int iCtrlId, int iCode, HWND hCtrl, PageContext* pContext);
    LRESULT IOnNotify(HWND hDlg, const NMHDR* pHeader, PageContext* pContext);

    // ---- the reactions of those messages
    void VBindControls(HWND hDlg);
    void VSetControlTexts();
    void VOnSetActive(HWND hDlg, PageContext* pContext);
    void VOnKillActive(HWND hDlg, PageContext* pContext);
    // The sample page's click turns the page between portrait and landscape.
    void VOnOrientation(HWND hDlg, PageContext* pContext);
    void VOnFirstPageOnly(HWND hDlg, PageContext* pContext);
    void VOnPaperTextClick(PageContext* pContext);

    // ---- steps the reactions share
    // The paper text under the sample page (large-format printers), and the sample page repainted.
    void VShowPaperText(PageContext* pContext);
    void VRepaintPreview(BOOL bErase);

    // ---- what the page owns, built in this order after the base; the alert strip goes first
    CZQWatermarks m_watermarks;
    PreviewSettings m_preview = {};
    CZQPageControls m_controls;
    ZQScaleLimits m_limits;
    CZQPageAlerts m_alerts;
};
