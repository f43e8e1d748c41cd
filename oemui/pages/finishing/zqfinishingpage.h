// CZQFinishingTab: the Finishing page of the document sheet, where the user sets how pages lie on the
// paper (document options, page order and borders, orientation, rotation, mirror image, the print
// preview) beside the sample page. One object per binding; the page procedure finds it through the
// page's PageContext, kept as the window's DWLP_USER data. Other pages call some of its routines,
// also while it has no window.
//
// The class declares, public, the page's routines, and, private, its own messages
// with the reactions to each message. Its controls are a CZQPageControls table; its scalar state
// sits in ZQFinishingState.
#pragma once

#include "common/zqcontrols.h"
#include "pages/dialogs/zqtilingdlg.h"
#include "pages/zqpagealerts.h"
#include "pages/zqpageasks.h"
#include "pages/zqpagebase.h"
#include "pages/zqpagecontrols.h"
#include "pages/zqpages.h"
#include "preview/zqpreviewsettings.h"

class CZQUILogic;
struct ZQUIDevmode;

// What the page keeps between its windows besides its controls.
struct ZQFinishingState {
    BOOL bPreserveLayout = TRUE;   // mirror of the preserve-layout box
    // Controls the page-exception rule disabled (two-sided box, pages-per-sheet list, booklet
    // list), and the two-sided box it disabled after trying "Duplex".
    BOOL abExceptionDisabled[3] = {};
    BOOL bDuplexTrialDisabled = FALSE;
    BOOL bDuplexLocked = FALSE;    // the configuration manager locks two-sided printing
};

class CZQFinishingTab : public CZQPageBase, public IZQFinishingPage {
public:
    // Context help: the page's pairs of (control id, help id), then (0, 0).
    static constexpr int kHelpPairs = 36;

    CZQFinishingTab();
    ~CZQFinishingTab() override;
    CZQFinishingTab(const CZQFinishingTab&) = delete;
    CZQFinishingTab& operator=(const CZQFinishingTab&) = delete;

    // ---- refresh: mode 0 sets every control from the settings, mode 2 stores the controls back
    // (and records this page as the one to open on); other modes do nothing.
    void VRefresh(HWND hCtrl, PageContext* pContext, int iMode);
    // First callers: the Color and printing-shortcuts pages, after they change finishing settings.
    // The tile selection opens exactly when the list shows a poster.
    void VSetAllControls(PageContext* pContext) override;
    void VSaveControls(PageContext* pContext);

    // ---- change check, help and the groups the printer's features decide
    // PSM_CHANGED or PSM_UNCHANGED to the sheet for the page; TRUE when the page differs from the
    // settings the sheet opened with.
    BOOL BCheckPageChanged(HWND hPage, PageContext* pContext);
    // kHelpPairs pairs and the (0, 0) end into pdwTable.
    void VBuildHelpTable(DWORD* pdwTable, PageContext* pContext);
    void VUpdatePreviewGroup(PageContext* pContext);
    void VLayoutOrientationGroup(PageContext* pContext);
    // Large-format printers: no turn by 90 degrees where the sheet is too narrow for it.
    void VCheckRotate90Width(PageContext* pContext);

    // ---- the sample page
    void VFillPreviewSettings(PageContext* pContext);

    // ---- pages per sheet and posters (the poster itself is the sheet state's); booklets
    // A paper that rules posters out ends them on this page too: the tile selection is disabled, and
    // the poster flag cleared.
    void VDisablePosterControl(CZQUILogic* pLogic) override;
    BOOL BCheckPosterSelection(CZQUILogic* pLogic) override { return pLogic && BReadPosterChoice(*pLogic); }
    // The booklet chosen goes into the working settings; a booklet prints two pages on a sheet at
    // full size, without back covers (the page's apply runs it).
    void VSyncBooklet(CZQUILogic* pLogic);

    // ---- for the tests: the state and record behind the page's routines
    ZQFinishingState& StateForTesting() { return m_state; }
    const PreviewSettings& PreviewRecordForTesting() const { return m_preview; }
    CZQPageAlerts& AlertsForTesting() { return m_alerts; }
    CZQTilingSelectionDlg& TilingDialogForTesting() { return m_tilingDialog; }

private:
    friend class ZQPageShell;

    // ---- the page procedure's work (the context is the page's PageContext)
    static constexpr bool kPreviewCursor = true;
    CZQPageAlerts* Alerts() { return &m_alerts; }
    BOOL BInitDialog(HWND hDlg, PageContext* pContext);
    // Painting, the background and owner drawing.
    INT_PTR IOnMessage(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam, PageContext* pContext);
    void VOnPaint(HWND hDlg, PageContext* pContext);
    BOOL BOnDrawItem(const DRAWITEMSTRUCT* pDraw);
    void VOnHelp(HWND hWnd, UINT uCommand, PageContext* pContext);
    void VOnDestroy();
    // The user's choices (control id, notification code, control window) and the sheet's
    // notifications, whose result the page answers.
    INT_PTR IOnCommand(HWND hDlg, int iCtrlId, int iCode, HWND hCtrl, PageContext* pContext);
    LRESULT IOnNotify(HWND hDlg, const NMHDR* pHeader, PageContext* pContext);

    // ---- the reactions of those messages
    void VSetControlTexts();
    void VFillLists(PageContext* pContext);
    void VOnSetActive(HWND hDlg, PageContext* pContext);
    LRESULT IOnApply(PageContext* pContext);
    // A box that sets one field of the working settings.
    void VOnFieldBox(HWND hDlg, int iCtrlId, PageContext* pContext);
    void VOnShowPreview(HWND hDlg, PageContext* pContext);
    void VOnPaperTextClick(PageContext* pContext);
    // Portrait or landscape, from the sample page's click (bFromPreview) or from a radio.
    void VOnOrientation(HWND hDlg, bool bLandscape, bool bFromPreview, PageContext* pContext);
    void VOnConstraintInfo(int iCtrlId);
    void VOnPagesPerSheetChange(HWND hDlg, PageContext* pContext);
    void VOnSelectTiles(HWND hDlg, PageContext* pContext);
    void VOnDuplexClick(HWND hDlg, PageContext* pContext);
    void VOnFlipClick(HWND hDlg, PageContext* pContext);
    void VOnStraightPathClick(HWND hDlg, PageContext* pContext);
    void VOnAutoDuplexClick(HWND hDlg, PageContext* pContext);
    void VOnPreserveLayoutClick(HWND hDlg, PageContext* pContext);
    void VOnBookletChange(HWND hDlg, PageContext* pContext);

    // ---- pages per sheet and posters
    // Six pages-per-sheet items, then the poster sizes while poster printing is in force.
    void VFillPagesPerSheetList(PageContext* pContext);
    // The list shows the setting, or the poster the features hold.
    void VShowPagesPerSheet(PageContext* pContext);
    void VSetPagesPerSheetLabel(PageContext* pContext);
    // The poster choice of the sheet state from the entry the list shows (CZQUILogic::BSetPosterChoice).
    BOOL BReadPosterChoice(CZQUILogic& logic) const;
    void VWritePosterFeatures(PageContext* pContext);
    void VStorePagesPerSheet(PageContext* pContext);

    // ---- two-sided printing and booklets
    // 1 one-sided, else the binding edge of the controls' choices (2 long edge, 3 short edge).
    WORD WDuplexValue(PageContext* pContext);
    void VSetDuplexLabel(PageContext* pContext);
    // The group's boxes by the two-sided value, the page exceptions' constraint marks and the trial
    // of two-sided printing against them.
    void VSetDuplexControlState(PageContext* pContext);
    void VSetAutoDuplexBox(PageContext* pContext);
    // The auto-duplex-unit box shows the unit's use as the settings hold it, disabled.
    void VShowStoredUnitUse(PageContext* pContext);
    void VSetPreserveLayout(PageContext* pContext);
    void VReportSymmetricMargins(PageContext* pContext);
    void VSetBookletControls(PageContext* pContext);
    void VSetPageOrderControls(PageContext* pContext);
    // The Document Options rows the printer offers, stacked from the top of the group.
    void VLayoutDocumentOptions(PageContext* pContext);
    void VRefreshTwoSided(PageContext* pContext);
    void VStoreTwoSided(PageContext* pContext);
    // The configuration manager's lock of two-sided printing.
    void VApplyDuplexLock(PageContext* pContext);

    // ---- steps the reactions share
    // The working settings of the context; null, with last error 13, when they or the page's items
    // are missing.
    ZQUIDevmode* PWork(PageContext* pContext);
    // The orientation radios as the plug-in's own orientation item stands.
    void VShowOrientation();
    // The paper text under the sample page (large-format printers).
    void VShowPaperText(PageContext* pContext);
    void VRepaintPreview(BOOL bErase);

    // ---- what the page owns, built in this order after the base; the alert strip goes first
    PreviewSettings m_preview = {};
    CZQPageControls m_controls;
    CZQBitmapButton m_aConstraintButtons[3];  // beside two-sided printing, booklets, pages per sheet
    CZQTilingSelectionDlg m_tilingDialog;
    ZQFinishingState m_state;
    CZQPageAlerts m_alerts;
};

inline constexpr auto& FinishingPageDlgProc = ZQPageShell::Proc<CZQFinishingTab>;
