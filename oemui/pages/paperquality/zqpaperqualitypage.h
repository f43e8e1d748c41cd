// CZQPaperQualityTab: the Paper/Quality page of the document sheet, where the user chooses paper
// size, source and media type, the papers of single pages and covers, and the print quality,
// beside the sample page. One object per binding; the page procedure finds it through the
// page's PageContext, kept as the window's DWLP_USER data.
//
// The class declares, public, the page's routines (other pages call some of them), and, private,
// its own messages with the reactions to each message. Its state and helpers of
// its own are parts it owns, each with a narrow interface: the control table
// (zqpaperqualitycontrols.h), the paper slots of the page kinds (zqpaperslots.h), the tree pop-ups
// (zqtreepopups.h), the loaded-paper lines (zqloadedpaper.h), the page exceptions
// (zqpageexceptions.h), the last accepted media type (zqlastmediatype.h) and the preview filler
// (zqpaperqualitypreview.h); its records (scalar state, dialogs) are in zqpaperqualitystate.h, its
// dialogs in pages/dialogs/.
#pragma once

#include "common/zqcontrols.h"
#include "pages/paperquality/zqlastmediatype.h"
#include "pages/paperquality/zqpageexceptions.h"
#include "pages/paperquality/zqpaperqualitycontrols.h"
#include "pages/paperquality/zqpaperqualitystate.h"
#include "pages/parts/zqpaperslots.h"
#include "pages/parts/zqtreepopups.h"
#include "pages/zqpagealerts.h"
#include "pages/zqpageasks.h"
#include "pages/zqpagebase.h"
#include "pages/zqpages.h"
#include "preview/zqpreviewsettings.h"

struct ZQUIDevmode;

// The media-type list's entry that starts the colour-management program for a new paper (a
// large-format printer's, never translated).
inline constexpr const wchar_t* kAddCustomPaper = L"Add Custom Paper..";

class CZQPaperQualityTab : public CZQPageBase, public IZQPaperQualityPage {
public:
    // Context help: room for the page's pairs of (control id, help id), ended by (0, 0).
    static constexpr int kHelpPairs = 59;
    static constexpr DWORD kLockedHelpId = 15147;

    CZQPaperQualityTab();
    ~CZQPaperQualityTab() override;
    CZQPaperQualityTab(const CZQPaperQualityTab&) = delete;
    CZQPaperQualityTab& operator=(const CZQPaperQualityTab&) = delete;

    // ---- controls, texts, help and locks
    void VGetControlHandles(HWND hDlg);
    void VSetControlTexts(PageContext* pContext);
    // Pairs of (control id, help id) into pdwTable (room for kHelpPairs pairs), ended by (0, 0).
    void VBuildHelpTable(DWORD* pdwTable, PageContext* pContext);
    void VReadSourceMediaLocks(PageContext* pContext);

    // ---- refresh: every control from the settings (mode 0), the controls into the settings
    // (mode 2); the change notice tells the sheet whether the page differs from its saved settings
    void VRefresh(HWND hCtrl, PageContext* pContext, int iMode);
    void VSetAllControls(PageContext* pContext);
    void VStoreSettings(HWND hDlg, PageContext* pContext);
    void VNotifyPageChanged(HWND hDlg, PageContext* pContext);
    void VStoreCheckBoxStates(PageContext* pContext);
    void VResetPageKindPapers(PageContext* pContext);

    // ---- layout: the rectangles of the template, then both groups stacked for the printer
    void VRecordControlRects();
    void VGetQualityControlPresence(PageContext* pContext, int aiPresent[kPresenceCount]);
    void VLayoutQualityGroup(const int aiPresent[kPresenceCount], PageContext* pContext);
    void VRefreshQualityGroup(PageContext* pContext);
    BOOL BStoreQualityKeyword(HWND hDlg, PageContext* pContext);
    void VLayoutPaperGroup(PageContext* pContext);
    void VEnableMediaTypeForPageKind(PageContext* pContext);

    // ---- what other pages ask of this one (pages/zqpageasks.h)
    void VRefreshCoverControls(PageContext* pContext) override;
    BOOL BGetPaperSizeDisplayName(PageContext* pContext, PWSTR pszName) override;
    void VOnPaperSizeChanged(PageContext* pContext) override;
    int IPageKindFromName(PWSTR pszText, CZQUILogic* pLogic) override;
    void VFillPageList(CZQUILogic* pLogic, BOOL bReselect) override;
    int IMediaTypeIndex(PageContext* pContext, DWORD dwMediaId) const override;
    DWORD DWMediaTypeFromIndex(PageContext* pContext, int iPosition) const override;
    void VFillSourceCombo(PageContext* pContext, int iKind) override;

    // ---- covers and the paper size
    void VSetCoverFlagForPageKind(PageContext* pContext, int iValue);
    void VApplyPaperSizeSelection(PageContext* pContext);
    void VSetDocumentSizeText(PageContext* pContext);

    // ---- papers of single pages and covers: the page-kind list
    // One item: its cover-in-use flag, then the item put back at iIndex and chosen (kReplaceItem)
    // or appended unless booklet printing hides it (kAppendItem).
    enum : int { kReplaceItem = 0, kAppendItem = 1 };
    void VAddPageKindItem(CZQUILogic* pLogic, int iMode, PWSTR pszText, int iIndex);
    void VUpdatePaperMarkers(PageContext* pContext);
    void VShowPageKindPaper(PageContext* pContext);
    void VSetCoverFlag(PageContext* pContext, int iValue);
    void VInitPageListSelection(PageContext* pContext, HWND hDlg);
    int ISelectedKindMediaPosition(PageContext* pContext);
    // Owner drawing of one page-kind list item; always FALSE.
    BOOL BDrawPageListItem(PCWSTR pszCovers, const DRAWITEMSTRUCT* pDraw, HWND hList, CZQUILogic* pLogic);

    // ---- loaded paper (large-format printers): the title and one line per roll or source from
    // the printer's answers, then the roll boxes those answers allow
    void VShowLoadedPaperBySource(PageContext* pContext);
    void VShowLoadedRolls(PageContext* pContext);
    void VUpdateAutorotateForSource(PageContext* pContext);
    // Whether a printer's answer is one of the unknown (or unloaded) words, without case (the
    // loaded-paper lines ask their part, CZQLoadedPaper, directly).
    BOOL BIsUnknownText(PCWSTR pszText);
    BOOL BIsUnloadedText(PCWSTR pszText);
    // The custom paper-size limits of the selected source (a roll, or sheets of the large-format
    // printer) into the core driver's and the working settings; always TRUE.
    BOOL BSetCustomSizeLimits(PageContext* pContext);
    // For a roll source: the loaded roll's width from the printer's answers and the length a roll
    // takes, as the largest custom size of the driver's devmode and the working copy; FALSE (the
    // limits as they were) for a sheet source or without an answer.
    BOOL BReadLoadedRollSize(PageContext* pContext);
    // The media types loaded on a roll get " (loaded on printer)" after their names in the core
    // driver's media item; each option once.
    void VMarkLoadedMediaTypes(PageContext* pContext);

    // ---- print quality and resolution
    BOOL BShowResolutionTexts(PageContext* pContext);
    // The paper keyword paired with the current paper in the helper file's borderless list (256
    // characters).
    BOOL BGetBorderlessTwinPaper(PageContext* pContext, PWSTR pszTwin);
    BOOL BHasBorderlessTwin(PageContext* pContext);
    BOOL BSelectBorderlessTwin(PageContext* pContext);
    void VAdjustGrayscaleForMedia(PageContext* pContext);
    void VRunOptimizeForMacro(PageContext* pContext);
    void VUpdatePrintPreviewBox(PageContext* pContext);
    // The boxes a large-format paper entry allows; nothing unless bFound. A profile index outside
    // the entry's profiles counts as no profile.
    void VSetMaximumDetailFromPaper(PageContext* pContext, int iPaper, BOOL bFound, int iProfile);
    void VSetAutoCutterFromPaper(PageContext* pContext, int iPaper, BOOL bFound);
    void VSetMorePassesFromPaper(PageContext* pContext, int iPaper, BOOL bFound, int iProfile);
    void VSetGlossEnhancerFromPaper(PageContext* pContext, int iPaper, BOOL bFound, int iProfile);
    BOOL BHasLqjQualitySettings(PageContext* pContext);

    // ---- papers: slots, conversions between printer ids and option positions, the lists
    int ISourcePosition(PageContext* pContext, DWORD dwSourceId) const;
    DWORD DWSourceFromPosition(PageContext* pContext, int iPosition) const;
    // The option an entry of one of the page's lists stands for (by public id when one is given,
    // else by feature); -1 when none.
    int IOptionIndexFromComboItem(PageContext* pContext, PCWSTR pszFeature, BYTE bPubId, HWND hCombo,
                                  int iEntry) const;
    void VFillMediaTypeList(PageContext* pContext);
    void VFillMediaTypeListBackFeeder(PageContext* pContext);
    void VFillMediaTypeListFrontFeeder(PageContext* pContext);
    void VRefreshMediaTypeList(PageContext* pContext);
    void VRefreshPaperSizeList(PageContext* pContext);
    void VSelectSourceAndMedia(PageContext* pContext, int iSource, int iMedia, int iKind);
    void VStorePageKindPaper(PageContext* pContext, int iKind);
    void VShowFirstPagePaper(PageContext* pContext);
    void VShowOtherPagesPaper(PageContext* pContext);
    void VShowLastPagePaper(PageContext* pContext);
    void VShowBackCoverPaper(PageContext* pContext);
    void VShowFrontCoverPaper(PageContext* pContext);
    void VShowBackFeederPaper(PageContext* pContext);
    void VShowFrontFeederPaper(PageContext* pContext);
    void VSelectCurrentSource(PageContext* pContext);
    void VSelectOtherPagesMedia(PageContext* pContext);
    void VClearPageList();
    BOOL BStoreMediaTypeKeyword(HWND hDlg, PageContext* pContext);
    // Set by a paper-size change; the next source-list refill takes the rules' source instead of
    // the slot's and clears it. Process-wide: every page of a sheet runs on one thread.
    static BOOL s_bSourceSelectOnce;

    // ---- pop-up mode: short lists of recent choices, the selection by display name (the core
    // driver's media-type or form item; the conflict mark is lifted for the report only; the trees
    // select through their part, CZQTreePopups)
    BOOL BSelectMediaTypeByName(PageContext* pContext, PCWSTR pszName);
    void VUpdateRecentMediaTypes(PageContext* pContext, PCWSTR pszName);
    void VFillMediaTypePopupList(HWND hCombo, PageContext* pContext);
    void VFillPaperSizePopupList(HWND hCombo, PageContext* pContext);
    void VRestoreMediaTypeSelection(HWND hCombo, PageContext* pContext);
    void VRestorePaperSizeSelection(HWND hCombo, PageContext* pContext);

    // ---- page options: the dimensions link, margins, tooltips, the recent paper sizes, the alert
    // strip and the colour-management program's command line for a new paper
    static LRESULT CALLBACK PaperDimensionsWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    void VDrawDimensionsFocus();
    BOOL BUpdateMarginControls(PageContext* pContext);
    void VCreateListTooltips(PageContext* pContext);
    void VUpdateRecentPaperSizes(PageContext* pContext);
    BOOL BInitRecentPaperSizes(PageContext* pContext);
    BOOL BSeedRecentPaperSizes(PageContext* pContext);
    BOOL BSeedRecentMediaTypes(PageContext* pContext, PCWSTR pszName);
    BOOL BCreateAlertStrip(HWND hDlg, PageContext* pContext);
    void VBuildAddPaperCommand(PageContext* pContext);

    // ---- the sample page
    void VFillPreviewSettings(PageContext* pContext);

    // ---- for the tests: the parts and state behind the page's routines
    ZQPaperQualityState& StateForTesting() { return m_state; }
    PaperSlotTable& SlotsForTesting() { return m_slots; }
    const CZQTreePopups& TreePopupsForTesting() const { return m_treePopups; }
    const CZQLastMediaType& LastMediaTypeForTesting() const { return m_lastMedia; }
    ZQPaperQualityDialogs& DialogsForTesting() { return m_dialogs; }
    CZQPageAlerts& AlertsForTesting() { return m_alerts; }
    CZQPageExceptions& PageExceptionsForTesting() { return m_exceptions; }
    const PreviewSettings& PreviewRecordForTesting() const { return m_preview; }

private:
    // The page procedure hands each message to the page's own work below.
    friend class ZQPageShell;

    // ---- the page procedure's work (the context is the page's PageContext)
    static unsigned Needs(UINT uMsg);
    static constexpr bool kPreviewCursor = true;
    CZQPageAlerts* Alerts() { return &m_alerts; }
    BOOL BInitDialog(HWND hDlg, PageContext* pContext);
    // The slider, painting, the background, owner drawing and the notifications not the sheet's.
    INT_PTR IOnMessage(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam, PageContext* pContext);
    void VOnSlider(HWND hSlider, PageContext* pContext);
    void VOnPaint(HWND hDlg, PageContext* pContext);
    BOOL BOnDrawItem(HWND hDlg, const DRAWITEMSTRUCT* pDraw, PageContext* pContext);
    void VOnHelp(HWND hWnd, UINT uCommand, PageContext* pContext);
    void VOnDestroy();

    // The user's choices (control id, notification code, control window) and the sheet's
    // notifications, whose result the page answers.
    INT_PTR IOnCommand(HWND hDlg, int iCtrlId, int iCode, HWND hCtrl, PageContext* pContext);
    LRESULT IOnNotify(HWND hDlg, const NMHDR* pHeader, PageContext* pContext);

    // ---- the reactions of those messages
    // The four lists' choices.
    void VOnPaperSizeChange(HWND hDlg, PageContext* pContext);
    void VOnMediaTypeChange(HWND hDlg, PageContext* pContext, HWND hList);
    void VOnSourceChange(HWND hDlg, PageContext* pContext);
    void VOnQualityChange(HWND hDlg, PageContext* pContext);
    // A large-format printer's paper list names, per media, the boxes it allows and its quality.
    void VSetLargeFormatMediaDefaults(HWND hDlg, PageContext* pContext, PCWSTR pszMedia);
    // A media type the constraint rules reject gives way to the one accepted last.
    void VRollBackMediaType(HWND hDlg, PageContext* pContext, HWND hList);
    // The custom-paper entries and the tree pop-ups of the lists; TRUE when the media-type choice
    // was "More..." (the list was refilled or restored).
    void VOnCustomPaperEntries(HWND hDlg, PageContext* pContext, HWND hList);
    BOOL BOnMediaMore(HWND hDlg, PageContext* pContext, HWND hList);
    void VOnPaperMore(HWND hDlg, PageContext* pContext);
    // The page's other commands.
    BOOL BOnCheckBox(HWND hDlg, int iCtrlId, PageContext* pContext);
    void VOnBorderless(HWND hDlg, PageContext* pContext);
    void VOnPageKind(HWND hDlg, PageContext* pContext);
    void VOnDifferentPaper(HWND hDlg, PageContext* pContext);
    void VOnCoverFromFeeder(HWND hDlg, PageContext* pContext);
    void VOnPreviewClick(HWND hDlg, PageContext* pContext);
    void VOnOrientationRadio(HWND hDlg, int iCtrlId, PageContext* pContext);
    void VOnQualityOptions(HWND hDlg, int iCtrlId, PageContext* pContext);
    void VOnUnitToggle(HWND hDlg, int iCtrlId, PageContext* pContext);
    void VOnImageEnhancement(HWND hDlg, PageContext* pContext);
    void VOnCustomPaper(HWND hDlg, PageContext* pContext);
    void VOnCustomQuality(HWND hDlg, PageContext* pContext);
    void VOnMargins(HWND hDlg, PageContext* pContext);
    void VOnConstraintInfo();
    // Loads the page-exceptions module, hands it the chosen kind and the document's layout, and
    // follows a change it reports; a module that is missing, unsafe to name or lacks the entry
    // changes nothing.
    void VEditPageExceptions(HWND hDlg, PageContext* pContext);
    // The sheet's notifications.
    void VOnSetActive(HWND hDlg, PageContext* pContext);
    void VOnKillActive(PageContext* pContext);
    LRESULT IOnApply(PageContext* pContext);

    // ---- steps the reactions and a family of the routines share
    enum class Refill { Normal, BackFeeder, FrontFeeder };
    void VFillLists(PageContext* pContext, Refill refill);
    void VShowSlotPaper(PageContext* pContext, int iKind, Refill refill);
    // The page kind whose paper the lists show: the chosen kind while single pages take their own
    // paper, else kKindNone (every page).
    int ISelectedPageKind(PageContext* pContext);
    // The list's choice for the chosen kind of page; FALSE when it is every page's.
    BOOL BKindListChoice(PageContext* pContext, int iKind, BOOL bMedia);
    // A borderless or banner page: one full-size page on one side of each sheet, unless the
    // layout is kept (Japanese postcards keep their sides and pages per sheet).
    void VSettleBorderlessLayout(PageContext* pContext, BOOL bKeepLayout, BOOL bBanner);
    void VBorderlessTwinSwitch(PageContext* pContext);
    // Poster printing off, and the Finishing page's tile selection with it.
    void VEndPosterPrinting(PageContext* pContext);
    // The sample page's labels of a large-format printer.
    void VShowPaperTexts(PageContext* pContext, BOOL bPaper, BOOL bDocSize);

    // ---- what the page owns, built in this order; the base first
    ZQPaperQualityDialogs m_dialogs;
    CZQPageAlerts m_alerts;
    PreviewSettings m_preview = {};
    CZQPaperQualityControls m_controls;
    CZQBitmapButton m_constraintButton;
    CZQPageExceptions m_exceptions{*this, m_controls, m_constraintButton};
    HICON m_hMarkerIcon = nullptr;
    CZQPaperSlots m_slots;
    CZQTreePopups m_treePopups;
    CZQLastMediaType m_lastMedia;
    ZQPaperQualityState m_state;
};

inline constexpr auto& PaperQualityPageDlgProc = ZQPageShell::Proc<CZQPaperQualityTab>;
