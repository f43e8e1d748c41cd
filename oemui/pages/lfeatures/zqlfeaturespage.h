// CZQLargeFormatFeaturesTab: the Features page of the roll printers with the simplified interface:
// resizing (actual size, the document on another paper, a percentage up to 1000 %), paper saving
// (pages per sheet with their order and borders), roll saving (automatic cutter, blank areas, margins
// between pages, rotation by 90 degrees and automatic rotation by the rolls loaded), the print
// preview, an accounting ID, the roll picture and the alert strip. LargeFormatFeaturesPageDlgProc
// finds the object through the page's PageContext, kept as the window's DWLP_USER data.
//
// Public: the page's routines. Private: its own messages, one routine per message
// and per reaction. Its controls are a CZQPageControls table, its scalars ZQLargeFeaturesState.
#pragma once

#include <cstdint>

#include "pages/zqpagealerts.h"
#include "pages/zqpagebase.h"
#include "pages/zqpagecontrols.h"
#include "pages/zqpages.h"
#include "pages/zqpapernames.h"
#include "settings/zqoptionlists.h"
#include "preview/zqpreviewsettings.h"

// What the page keeps between its windows besides its controls.
struct ZQLargeFeaturesState {
    enum : int { kActualSize = 0, kPrintDocOn = 1, kPercentage = 2 };
    // The private devmode's flag that forbids rotation by 90 degrees.
    static constexpr uint32_t kNoRotate90Flag = 0x100;
    // The percentage's bounds and the digits its box takes: a large-format printer goes to 1000 %.
    int iScaleMinimum = 25;
    int iScaleMaximum = 400;
    int iScaleDigits = 3;
    int iResizeMode = kActualSize;
    // The form chosen while the printer scales documents from its large papers.
    WCHAR szSelectedForm[256] = {};
    // The accounting ID as typed, and the last text of letters and digits only.
    static constexpr int kAccountChars = 32;
    WCHAR szAccountId[kAccountChars] = {};
    WCHAR szLastValidAccountId[kAccountChars] = {};
};

// The roll boxes bound to their features: blank areas, cutter, automatic rotation, margins between
// pages (rotation by 90 degrees follows its own rule).
struct ZQRollBox {
    int iCtrlId;
    PCWSTR pszFeature;
};
extern const ZQRollBox kLargeFeaturesRollBoxes[4];

class CZQLargeFormatFeaturesTab : public CZQPageBase {
public:
    // The page's title string, also its mark in the settings' start page.
    static constexpr INT kTitleId = 5198;
    // Context help: the page's pairs of (control id, help id), then (0, 0).
    static constexpr int kHelpPairs = 25;

    CZQLargeFormatFeaturesTab();
    ~CZQLargeFormatFeaturesTab() override;
    CZQLargeFormatFeaturesTab(const CZQLargeFormatFeaturesTab&) = delete;
    CZQLargeFormatFeaturesTab& operator=(const CZQLargeFormatFeaturesTab&) = delete;

    // ---- controls, texts, help, visibility and the change check
    void VCacheControls(HWND hDlg);
    void VSetControlTexts();
    // The pairs into pdwTable (room for kHelpPairs pairs and the end); a locked setting gives 15147.
    void VGetHelpIds(DWORD* pdwTable, PageContext* pContext);
    // Pages per sheet (strings 3300..3305) and page order (700..703), then the destination papers.
    void VFillLayoutLists(PageContext* pContext);
    void VInitOptionVisibility(PageContext* pContext);
    // Whether anything differs from the settings the sheet opened with; the sheet is told.
    BOOL BCheckChanged(HWND hDlg, PageContext* pContext);
    void VFillPreviewSettings(PageContext* pContext);
    // The alert strip in the placeholder's place (the shared pattern), and its first refresh.
    BOOL BCreateAlertWindow(HWND hDlg, PageContext* pContext);

    // ---- the settings shown (mode 0) and stored back (mode 2)
    enum : int { kRefreshShow = 0, kRefreshStore = 2 };
    void VRefresh(HWND hDlg, PageContext* pContext, int iMode);
    void VSetControls(HWND hDlg, PageContext* pContext);
    void VApplyControls(HWND hDlg, PageContext* pContext);
    void VUpdateResizeControls(HWND hDlg, PageContext* pContext);
    void VOnScalingChosen(PageContext* pContext);
    void VUpdatePageOrderState(HWND hDlg);

    // ---- the destination papers (the shared resizing helper on this page's list)
    // The printer's paper names; FALSE, and none, when the driver gives no count.
    BOOL BGetPaperSizeNames();
    void VFillDestPaperList(PageContext* pContext);
    void VApplyPSDocumentOptions(PageContext* pContext);
    BOOL BGetCustomRangeForms(PageContext* pContext, PWSTR** ppNames, int* piCount);
    WORD WGetDestPaperId(DWORD dwCount, int iIndex, const WORD* pIds);
    int IFindDestPaperIndex(DWORD dwCount, const WORD* pIds, WORD wPaperId);
    void VSelectScaleTargetPaper(HWND hDlg, PageContext* pContext);
    int IGetFitToPaperPercent(PageContext* pContext);

    // ---- roll saving
    // Cutter and blank areas by the source, automatic rotation by the job's mode, then the two
    // rotations.
    void VUpdateRollOptions(PageContext* pContext);
    // Rotation by 90 degrees only where the turned page fits the roll's printable width.
    void VUpdateRotate90(PageContext* pContext);
    // Automatic rotation only with a roll loaded ("InstalledRolls" and the printer's answers).
    void VUpdateAutorotate(PageContext* pContext);
    // The printer's answers that mean it knows no roll, or has none loaded.
    BOOL BIsUnknownText(PCWSTR pszText);
    BOOL BIsUnloadedText(PCWSTR pszText);

    // ---- for the tests
    ZQLargeFeaturesState& StateForTesting() { return m_state; }
    const PreviewSettings& PreviewRecordForTesting() const { return m_preview; }
    const CZQPaperNames& PaperNamesForTesting() const { return m_paperNames; }

private:
    friend class ZQPageShell;

    // ---- the page procedure's work
    static constexpr bool kPreviewCursor = true;
    CZQPageAlerts* Alerts() { return &m_alerts; }
    BOOL BInitDialog(HWND hDlg, PageContext* pContext);
    // Painting, owner drawing (the sample page and its labels follow) and the percentage's scroll bar.
    INT_PTR IOnMessage(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam, PageContext* pContext);
    void VOnPaint(HWND hDlg, PageContext* pContext);
    void VOnHelp(HWND hWnd, UINT uCommand, PageContext* pContext);
    void VOnDestroy();
    INT_PTR IOnCommand(HWND hDlg, int iCtrlId, int iCode, HWND hCtrl, PageContext* pContext);
    LRESULT IOnNotify(HWND hDlg, const NMHDR* pHeader, PageContext* pContext);
    void VOnScroll(HWND hDlg, int iCode, PageContext* pContext);

    // ---- the sheet's notifications
    void VOnSetActive(HWND hDlg, PageContext* pContext);
    void VOnKillActive(HWND hDlg, PageContext* pContext);

    // ---- the reactions to the user
    void VOnPreviewClick(HWND hDlg, int iCtrlId, PageContext* pContext);
    void VOnActualSize(HWND hDlg, PageContext* pContext);
    void VOnPrintDocOn(HWND hDlg, PageContext* pContext);
    void VOnScaling(HWND hDlg, PageContext* pContext);
    void VOnPagesPerSheet(HWND hDlg, PageContext* pContext);
    void VOnDestPaper(PageContext* pContext);
    void VOnRollBox(HWND hDlg, int iCtrlId, PageContext* pContext);
    void VOnPercentTyped(HWND hDlg, PageContext* pContext);
    void VOnPercentLeft(HWND hDlg, PageContext* pContext);
    void VOnAccountTyped(HWND hDlg);

    // ---- steps the reactions share
    // One page per sheet again (the resizing choices need it).
    void VResetPagesPerSheet(HWND hDlg, PageContext* pContext);
    // The percentage to the box and the scroll bar (its range the bounds, a page of 10).
    void VShowPercent(HWND hDlg, int iPercent);
    // The sample page's labels (the document's size on a large-format printer) and its repaint.
    void VRefreshPreviewTexts(PageContext* pContext);
    void VRepaintPreview();
    // The document's paper in the destination list (entry 0 without it); its paper id.
    WORD WSelectDocumentPaper(PageContext* pContext);

    // ---- what the page owns, after the base
    PreviewSettings m_preview = {};
    CZQPageControls m_controls;
    CZQPageAlerts m_alerts;
    ZQLargeFeaturesState m_state;
    CZQPaperNames m_paperNames;
    zqsettings::CZQKeywordsOnce m_formKeywords;
};

inline constexpr auto& LargeFormatFeaturesPageDlgProc = ZQPageShell::Proc<CZQLargeFormatFeaturesTab>;
