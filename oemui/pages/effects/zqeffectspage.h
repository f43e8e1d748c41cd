// CZQEffectsTab: the Effects page of the document sheet, where the user resizes the document, sets
// its margins and picks a watermark beside the sample page, which a click turns between portrait and
// landscape. One object per binding; the page procedure (zqpagebase.h) finds it through the page's
// PageContext, kept as the window's DWLP_USER data. Other pages call some of its routines, also
// while it has no window.
//
// The class declares, public, the page's routines, and, private, its own messages
// with the reactions to each message. Its controls are a CZQPageControls table; the page keeps its
// own watermark manager.
#pragma once

#include "featurelogic/zqwatermarks.h"
#include "pages/dialogs/zqwatermarkdlg.h"
#include "pages/zqpagealerts.h"
#include "pages/zqpageasks.h"
#include "pages/zqpagebase.h"
#include "pages/zqpapernames.h"
#include "settings/zqoptionlists.h"
#include "pages/zqpagecontrols.h"
#include "pages/zqpages.h"
#include "preview/zqpreviewsettings.h"

struct ZQUIDevmode;

// The bounds of the scale box: an ordinary printer scales from 25 to 400 per cent in three digits
// and can fit a document to another paper; a large-format printer scales to 1000 in four digits and
// cannot.
struct ZQScaleLimits {
    int iMinimum = 25;
    int iMaximum = 400;
    int iDigits = 3;
    BOOL bFitAllowed = TRUE;
};

// What the page keeps between its windows besides its controls.
struct ZQEffectsState {
    int iPrintedOnIndex = 0;         // the printed-on paper's entry in the destination list
    DWORD dwResizeMode = 0;          // 0 actual size, 1 print document on, 2 % of normal size
    BOOL bScaleFromLarge = FALSE;    // the printer scales documents from its large papers
    WCHAR szSelectedForm[256] = {};  // the form chosen while it does
    BOOL bWatermarkReload = FALSE;   // the next paint takes the listed watermark again
    BOOL bEditAllowed = FALSE;       // "Edit..." is shown and usable
    BOOL bSettingScale = FALSE;      // the page itself writes the scale box
};

class CZQEffectsTab : public CZQPageBase, public IZQEffectsPage {
public:
    // Context help: the page's pairs of (control id, help id), then (0, 0).
    static constexpr int kHelpPairs = 26;
    // The title id of the page, recorded as the page to open the sheet on when it is left.
    static constexpr int kEffectsTitleId = 812;

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

    // ---- the device's state, asked again; first caller: the Colour page's refresh button
    void VRefreshDeviceStatus(IZQAlertGate* pAlerts) const override;

    // ---- watermarks
    // The sheet's pool into the page's manager (the sheet's block names the printer).
    void VLoadWatermarks(ZQUIDevmode* pPrivateDM, POEMCUIPPARAM pParam, BOOL bRestricted);
    // The working settings name " [none]" when they name no watermark of the pool.
    void VInitWatermarkSettings(PageContext* pContext);
    void VFreeWatermarkLists();
    // The pool written back, as the sheet's OK or Apply keeps it; what was not stored, and why, said
    // (pages/parts/zqstoremessage.h); FALSE when it could not be.
    BOOL BSaveWatermarks();
    void VFillWatermarkCombo();
    void VRefillWatermarkCombo();
    int IFindWatermarkIndex(PCWSTR pszName) const;
    void VApplySelectedWatermark(HWND hCombo, PageContext* pContext);
    void VUpdateDiagonalAngle(PageContext* pContext);
    void VUpdateDiagonalWatermarks(PageContext* pContext);

    // ---- margins and centre on page
    void VShowMarginControls(PageContext* pContext);
    void VRefreshMarginControls(PageContext* pContext);
    void VOnMarginOptionClicked(PageContext* pContext);
    void VApplyMarginOptions(PageContext* pContext);
    void VCheckMinimizeMarginsDuplex(PageContext* pContext);
    void VApplyCenterOnPage(PageContext* pContext);

    // ---- resizing
    // The printer's paper names, read again (the reader retries a driver still starting up).
    BOOL BGetPaperSizeNames(PageContext* pContext);
    void VFreePaperSizeNames() { m_paperNames.VFree(); }
    // The paper code of a destination entry; the document's paper when the entry names no paper.
    int IPaperIdFromComboIndex(DWORD dwCount, int iComboIndex, const WORD* pIds, PageContext* pContext);
    int IComboIndexFromPaperId(DWORD dwCount, const WORD* pIds, int iPaperId);
    void VFillDestPaperCombo(PageContext* pContext);
    // User forms within the custom-size limits (a list the caller frees with VFreeStringList).
    BOOL BGetUserFormNames(PageContext* pContext, PWSTR** ppNames, int* piCount);
    void VSelectDestPaper(HWND hDlg, PageContext* pContext);
    int IComputeFitScale(PageContext* pContext);
    void VComputeScaleFactor(PageContext* pContext);
    void VRefreshControls(PageContext* pContext);
    void VUpdateControlStates(HWND hDlg, PageContext* pContext);
    void VSaveSettings(HWND hDlg, const WORD* pIds, PageContext* pContext);
    void VApplyPSDocumentOptions(PageContext* pContext);
    // First callers: the printing-shortcuts pages.
    void VResetScalingAndPoster(PageContext* pContext) override;
    void VApplyBorderlessPhoto(PageContext* pContext);

    // ---- for the tests: the state and record behind the page's routines
    const PreviewSettings& PreviewRecordForTesting() const { return m_preview; }
    const ZQScaleLimits& ScaleLimitsForTesting() const { return m_limits; }
    CZQWatermarks& WatermarksForTesting() { return m_watermarks; }
    const CZQWatermarkDetailsDlg& WatermarkDialogForTesting() const { return m_watermarkDlg; }
    ZQEffectsState& StateForTesting() { return m_state; }
    const CZQPaperNames& PaperNamesForTesting() const { return m_paperNames; }
    CZQPageAlerts& AlertsForTesting() { return m_alerts; }

private:
    friend class ZQPageShell;

    // ---- the page procedure's work (the context is the page's PageContext)
    static constexpr bool kPreviewCursor = true;
    CZQPageAlerts* Alerts() { return &m_alerts; }
    BOOL BInitDialog(HWND hDlg, PageContext* pContext);
    // The alert strip in the placeholder's place (the shared pattern), and its first refresh.
    void VCreateAlertWindow(HWND hDlg, PageContext* pContext);
    // Painting, any owner drawing (the sample page and its paper text repainted) and the scroll bar.
    INT_PTR IOnMessage(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam, PageContext* pContext);
    void VOnPaint(HWND hDlg, PageContext* pContext);
    void VOnHelp(HWND hWnd, UINT uCommand, PageContext* pContext);
    void VOnDestroy();
    // The user's choices (control id, notification code, control window); TRUE for the ones the
    // procedure answers TRUE. The sheet's notifications, whose result the page answers.
    INT_PTR IOnCommand(HWND hDlg, int iCtrlId, int iCode, HWND hCtrl, PageContext* pContext);
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
    void VOnWatermarkChange(HWND hDlg, PageContext* pContext);
    // "Edit...": the Watermark Details dialog, and the list and settings after it.
    void VOnEditWatermarks(HWND hDlg, PageContext* pContext);
    void VOnMarginBox(HWND hDlg, int iCtrlId, PageContext* pContext);
    void VOnCenterOnPage(HWND hDlg, PageContext* pContext);
    void VOnActualSize(HWND hDlg, PageContext* pContext);
    void VOnPrintDocumentOn(HWND hDlg, PageContext* pContext);
    void VOnScaling(HWND hDlg, PageContext* pContext);
    void VOnScaleToFit(HWND hDlg, PageContext* pContext);
    void VOnDestPaperChange(HWND hDlg, PageContext* pContext);
    void VOnScaleEdit(HWND hDlg, int iCode, PageContext* pContext);
    void VOnScroll(HWND hDlg, int iCode, PageContext* pContext);

    // ---- steps the reactions share
    // The paper text under the sample page (large-format printers), and the sample page repainted.
    void VShowPaperText(PageContext* pContext);
    void VRepaintPreview(BOOL bErase);
    // The watermark group as the settings hold it (the list, "First Page Only").
    void VShowWatermarkGroup(PageContext* pContext);
    void VShowWatermarkVisibility(PageContext* pContext);
    // A watermark chosen ends posters and centring.
    void VEndPostersForWatermark(PageContext* pContext);
    // The listed watermark copied again over the settings (after a cancelled dialog).
    void VReloadListedWatermark(PageContext* pContext);
    // The destination entry tried as the form: the two-sided conflict it would bring is noted.
    void VProbeTwoSided(PageContext* pContext);
    // The scale box's number and the scroll bar at a value.
    void VSetScaleBox(int iValue);
    void VSetScroll(int iPosition);
    // A borderless paper's destination entry: the paper the Paper/Quality page shows, else "LETTER".
    int IFindBorderlessTwin(PageContext* pContext);
    // After a resizing choice: the diagonal, the change check, the paper text and the sample page.
    void VShowResized(HWND hDlg, PageContext* pContext);
    // The pages-per-sheet and poster layout back to one page, ending posters.
    void VEndMultiplePages(PageContext* pContext);
    // The Finishing page's poster flag.
    bool BFinishingPoster(PageContext* pContext) const;
    // The paper code of the document's devmode (0 without one).
    int DocumentPaper() const;

    // ---- what the page owns, built in this order after the base; the alert strip goes first
    CZQWatermarks m_watermarks;
    PreviewSettings m_preview = {};
    CZQPageControls m_controls;
    ZQScaleLimits m_limits;
    CZQPaperNames m_paperNames;
    zqsettings::CZQKeywordsOnce m_formKeywords;
    ZQEffectsState m_state;
    CZQPageAlerts m_alerts;
    CZQWatermarkDetailsDlg m_watermarkDlg;
};

inline constexpr auto& EffectsPageDlgProc = ZQPageShell::Proc<CZQEffectsTab>;
