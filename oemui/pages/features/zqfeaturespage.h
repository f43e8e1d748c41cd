// CZQFeaturesTab: the Features page of the simplified interface, in the place of the Paper/Quality,
// Effects and Finishing pages: print quality, paper type and source, orientation, paper size with
// borderless printing, resizing, the photo fix, the sample page and the paper-saving choices. One
// object per binding. Public: the page's routines; private: its own messages and their reactions.
// Its controls are a CZQPageControls table, its scalar state ZQFeaturesState; the papers of the
// page kinds, the destination list, the print-quality group, the user's own media and the two-sided
// and layout choices are its parts, the tree pop-ups the shared part (pages/parts/zqtreepopups.h).
#pragma once

#include "pages/dialogs/zqcustompaperdlg.h"
#include "pages/features/zqdestpapers.h"
#include "pages/features/zqfeaturesstate.h"
#include "pages/features/zqlayoutchoices.h"
#include "pages/features/zqpagekinds.h"
#include "pages/features/zqqualitygroup.h"
#include "pages/features/zqusermedia.h"
#include "pages/parts/zqtreepopups.h"
#include "pages/zqpagebase.h"
#include "pages/zqpagecontrols.h"
#include "preview/zqpreviewsettings.h"
#include "settings/zqoptionlists.h"

// The page's own media-type tree (templates 178, 180), the user's media under "Custom Paper", on the
// page's context: 1 (OK, also on a heading, which changes nothing) or 2 (Cancel, or no page).
INT_PTR CALLBACK FeaturesMediaTypePopupDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);

class CZQFeaturesTab : public CZQPageBase {
public:
    // Context help: room for the page's pairs of (control id, help id), then (0, 0).
    static constexpr int kHelpPairs = 74;

    CZQFeaturesTab();
    ~CZQFeaturesTab() override;
    CZQFeaturesTab(const CZQFeaturesTab&) = delete;
    CZQFeaturesTab& operator=(const CZQFeaturesTab&) = delete;

    // The two-sided value the controls ask for: one-sided without a two-sided entry chosen, else the
    // binding of the pages per sheet, the orientation, flip pages up and the booklet.
    WORD WGetTwoSidedBinding(PageContext* pContext);
    // The maker's add-paper program as its installer registered it (at most 256 bytes), kept as the
    // page's add-paper command; false, and no command, when it is not registered.
    BOOL BReadAddPaperPath(PageContext* pContext);
    // Pop-up mode: the media-type list back on the name of the media type the core driver has
    // selected (its first entry when the list lacks it).
    void VSelectCurrentMediaName(HWND hCombo, PageContext* pContext);

    // ---- paper source and media type; pop-up mode's short list
    // The sources (the printer's first bin first) and the media types of ordinary pages, and the
    // photo fix, whose binder status is the result.
    DWORD DWFillSourceAndMediaCombos(PageContext* pContext);
    // No source list; the media types, and a borderless paper selects the borderless photo.
    DWORD DWFillMediaCombosBorderless(PageContext* pContext);
    // The back cover's feeder sources, then as DWFillMediaCombosBorderless.
    DWORD DWFillBackCoverMediaCombos(PageContext* pContext);
    // Pop-up mode's list: the current type, the recent types and user media, "Add Paper..." when
    // the maker's media tool is registered, "More..."; on that entry (-1: the current type). The
    // result is the number of user media, the list left alone outside pop-up mode.
    int IFillMediaTypeCombo(HWND hCombo, PageContext* pContext, int iSelection);
    // The media-type list on the chosen user medium or the current type.
    void VSelectMediaTypeEntry(PageContext* pContext);
    // A media type's display name, or a user medium's name (its category's option), selected in the
    // core driver's item. FALSE for a name that is neither (a tree heading).
    BOOL BSelectMediaByName(PageContext* pContext, PCWSTR pszName);
    // The chosen name into the recent types (the oldest goes when all are taken) and the list on it;
    // the entry selected.
    int ISelectMediaInCombo(PageContext* pContext, PCWSTR pszName);

    // ---- paper size: pop-up mode's short list, the recent forms, the rules of a paper
    void VFillPaperSizeCombo(HWND hCombo, PageContext* pContext);
    void VUpdateRecentPapers(PageContext* pContext);
    // The list's choice to the form item, and the paper the document prints on.
    void VApplyPaperSize(PageContext* pContext);
    // Scaling from a larger paper, or a banner or borderless paper's reset layout.
    int IApplyPaperRules(PageContext* pContext);
    // The borderless twin of the current paper (256 characters) from the helper file; a user form
    // registered as borderless is its own twin. TRUE when the helper file names one.
    BOOL BGetBorderlessCounterpart(PageContext* pContext, PWSTR pszName);
    BOOL BHasBorderlessCounterpart(PageContext* pContext);
    BOOL BSelectBorderlessCounterpart(PageContext* pContext);


    // ---- the papers of the page kinds (the table is CZQPageKinds'; without the page-kind list the
    // lists hold the paper of first, other and last pages alike)
    // The administrator's locks of the paper source and the media type.
    void VReadLockFlags(PageContext* pContext);
    void VApplySelectedKind(PageContext* pContext);
    // One kind's paper into the core driver's items, the lists refilled for it.
    void VApplyFirstPage(PageContext* pContext);
    void VApplyBackCover(PageContext* pContext);
    void VApplyLastPage(PageContext* pContext);
    void VApplyFrontCover(PageContext* pContext);
    void VApplyBackCoverFromFeeder(PageContext* pContext);
    void VApplyFrontCoverFromFeeder(PageContext* pContext);
    void VApplyOtherPages(PageContext* pContext);

    // ---- the page's controls: texts, help, places, focus and the change check
    // The page's window and the handles of its controls (those of the template; the others stay null),
    // then the resizing and layout groups' own.
    void VCacheControlHandles(HWND hDlg);
    // The destination and paper-size lists' windows, which the destination part works on.
    void VCacheResizeControls(HWND hDlg);
    // The help button and the sample page's two pictures, which the sheet's shared steps use, and the
    // two-sided list, the preserve-layout box and the orientation radios, which the layout part uses.
    void VCacheLayoutControls(HWND hDlg);
    void VSetControlTexts(PageContext* pContext);
    // The context-help pairs into pdwTable (room for kHelpPairs pairs), ended by (0, 0); a setting the
    // configuration manager locked takes the locked topic.
    void VGetHelpIds(DWORD* pdwTable, PageContext* pContext);
    // The rectangles the template gives the controls the page moves, recorded once per window.
    void VRecordControlRects();
    // With different paper for some pages, the focus to the page kinds on the entry their count
    // suggests.
    void VFocusPageList(PageContext* pContext, HWND hDlg);
    // Whether anything on the page differs from the settings the sheet opened with; the sheet is
    // told (PSM_CHANGED or PSM_UNCHANGED, also while a quick set's change is pending).
    BOOL BCheckPageChanged(HWND hDlg, PageContext* pContext);

    // ---- the settings shown and stored back, and which groups the printer offers
    enum : int { kRefreshShow = 0, kRefreshStore = 2 };
    // Mode 0 sets every control of the paper and quality half from the settings, mode 2 stores them
    // back; other modes do nothing.
    void VRefreshPaperQualityGroup(HWND hDlg, PageContext* pContext, int iMode);
    void VSetAllControls(PageContext* pContext);
    void VApplyAllControls(HWND hDlg, PageContext* pContext);
    // The groups this printer and layout mode offer, shown and closed up without gaps.
    void VUpdateControlState(PageContext* pContext);
    // The fixed entries of the page-order, booklet, pages-per-sheet and two-sided lists.
    void VFillLayoutCombos(PageContext* pContext);
    // The document's size in millimetres or inches as the sample page's label shows it; left as it was
    // for a paper the printer does not list.
    void VSetDocumentSizeText(PageContext* pContext);
    // The paper-size list on the current form, else on Letter with that paper's rules.
    void VRefreshPaperSizeGroup(PageContext* pContext);

    // ---- resizing: actual size, the document on another paper (the destination list is a part,
    // CZQDestPapers), a percentage
    // Mode 0 sets the group from the settings, mode 2 stores it back; other modes do nothing.
    void VRefreshResizeGroup(HWND hDlg, PageContext* pContext, int iMode);
    void VSetResizeGroup(PageContext* pContext);
    void VApplyResizeGroup(HWND hDlg, const WORD* pIds, PageContext* pContext);
    void VUpdateResizeControls(HWND hDlg, PageContext* pContext);
    // The resizing as the PostScript driver's document options.
    void VApplyPSDocumentOptions(PageContext* pContext);

    // ---- margin options (the template has no margin boxes: the features follow the rules)
    void VShowMarginControls(PageContext* pContext);
    void VSetMarginGroup(PageContext* pContext);
    int IApplyMarginGroup(PageContext* pContext);
    // A borderless photo prints at actual size, fitted, without margin options or centring.
    void VApplyBorderlessPhoto(PageContext* pContext);

    // ---- layout and two-sided printing
    void VInitLayoutVisibility(PageContext* pContext);
    // Mode 0 sets the group from the settings, mode 2 stores it back; other modes do nothing.
    void VRefreshLayoutGroup(HWND hDlg, PageContext* pContext, int iMode);
    void VSetLayoutGroup(PageContext* pContext);
    void VApplyLayoutGroup(HWND hDlg, PageContext* pContext);
    void VApplyTwoSided(HWND hDlg, PageContext* pContext);
    void VUpdateTwoSidedLabel(PageContext* pContext);
    void VUpdateDuplexControls(PageContext* pContext);
    void VUpdateDuplexUnitControls(PageContext* pContext);
    void VUpdateManualDuplexState(PageContext* pContext);
    void VUpdateAutoDuplexScaling(PageContext* pContext);
    void VApplyDuplexLock(PageContext* pContext);
    void VUpdateBookletState(PageContext* pContext);
    void VUpdatePageOrderState(HWND hDlg);
    // Whether the pages-per-sheet list stands on one of its poster entries (none under the
    // simplified interface); the choice is kept.
    BOOL BCheckPosterSelection(CZQUILogic* pLogic, HWND hList);
    void VSetPagesPerSheetLabel(PageContext* pContext);
    void VApplyStraightPaperPath(PageContext* pContext);
    // A printed-on paper the form item marks as conflicting gives way to the first of the ids.
    BOOL BValidatePrintedOnPaper(PageContext* pContext, DWORD dwCount, const WORD* pIds);
    // Photo and disc media print one page to a sheet; a disc prints one-sided, mirrored, at its size.
    void VApplyCdMedia(HWND hDlg, PageContext* pContext);
    void VShowResolutionInfo(HWND hDlg, PageContext* pContext);

    // ---- the print-quality group
    // The quality list and what the chosen quality allows, over the group its part stacks.
    void VUpdateQualityGroup(PageContext* pContext);

    // ---- the sample page
    void VFillPreviewSettings(PageContext* pContext);

    // ---- for the tests: the state and parts behind the page's routines
    ZQFeaturesState& StateForTesting() { return m_state; }
    const PreviewSettings& PreviewRecordForTesting() const { return m_preview; }
    const CZQPaperNames& PaperNamesForTesting() const { return m_dest.Names(); }
    CZQDestPapers& DestPapersForTesting() { return m_dest; }
    CZQUserMedia& UserMediaForTesting() { return m_userMedia; }
    CZQQualityGroup& QualityGroupForTesting() { return m_quality; }
    CZQPageKinds& PageKindsForTesting() { return m_pageKinds; }

private:
    friend class ZQPageShell;
    friend INT_PTR CALLBACK FeaturesMediaTypePopupDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);

    // ---- the page procedure's work (the context is the page's PageContext)
    // The start and the user's choices need the rules object as well.
    static constexpr unsigned kStartNeeds = zqpage::kNeedWorking | zqpage::kNeedRules;
    static unsigned Needs(UINT uMsg) { return uMsg == WM_COMMAND ? kStartNeeds : zqpage::kNeedWorking; }
    static constexpr bool kPreviewCursor = true;
    BOOL BInitDialog(HWND hDlg, PageContext* pContext);
    // Painting and owner drawing.
    INT_PTR IOnMessage(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam, PageContext* pContext);
    void VOnPaint(HWND hDlg, PageContext* pContext);
    BOOL BOnDrawItem(const DRAWITEMSTRUCT* pDraw, PageContext* pContext);
    void VOnHelp(HWND hWnd, UINT uCommand, PageContext* pContext);
    void VOnDestroy();
    // The user's choices (control id, notification code) and the sheet's notifications, whose
    // result the page answers. A command's result is the procedure's.
    INT_PTR IOnCommand(HWND hDlg, int iCtrlId, int iCode, HWND hCtrl, PageContext* pContext);
    LRESULT IOnNotify(HWND hDlg, const NMHDR* pHeader, PageContext* pContext);

    // ---- the controls' small steps
    // The check boxes of their features, the optimise-for choice and the roll boxes from the settings.
    void VShowFeatureBoxes(PageContext* pContext);
    void VShowBorderlessBoxes(PageContext* pContext);
    // The paper options stacked under the group's frame, each offered control under the last.
    void VStackPaperOptions(PageContext* pContext, bool bSource, bool bMedia);

    // ---- the start of the window
    // The paper's macros may change media type and quality: both are chosen again afterwards with
    // their own macros, and the photo enhancements come back.
    void VReapplyStartRules(PageContext* pContext);

    // ---- the sheet's notifications
    void VOnSetActive(HWND hDlg, PageContext* pContext);
    void VOnKillActive(HWND hDlg, PageContext* pContext);
    LRESULT IOnApply(PageContext* pContext);

    // ---- the reactions to the user
    void VOnPreviewClick(HWND hDlg, PageContext* pContext);
    void VOnOrientation(HWND hDlg, int iCtrlId, PageContext* pContext);
    void VOnBorderless(HWND hDlg, PageContext* pContext);
    void VOnActualSize(HWND hDlg, PageContext* pContext);
    void VOnPrintDocOn(HWND hDlg, PageContext* pContext);
    void VOnFlipPagesUp(PageContext* pContext);
    void VOnPreserveLayout(PageContext* pContext);
    void VOnShowPreview();
    void VOnQuality(PageContext* pContext);
    void VOnSource(PageContext* pContext);
    void VOnMediaType(WPARAM wParam, PageContext* pContext);
    void VOnPaperSize(HWND hDlg, PageContext* pContext);
    void VOnDestPaper(PageContext* pContext);
    void VOnPageOrder(PageContext* pContext);
    void VOnPagesPerSheet(PageContext* pContext);
    void VOnBooklet(PageContext* pContext);
    void VOnTwoSided(PageContext* pContext);
    void VOnPhotoFix(PageContext* pContext);

    // ---- steps the reactions share
    // The Paper/Quality page's page list, which keeps the covers in step with booklets and two-sided
    // printing (that page need not be in the sheet).
    void VRefreshPaperPageList(PageContext* pContext);
    void VRepaintPreview(BOOL bErase);
    // The focus to the paper-size list and back, which redraws its owner-drawn entry.
    void VRefocusPaperSize();
    // The media-type list filled (pop-up mode's list, with the printer data it needs, or the
    // binder's); the binder's status.
    DWORD DWFillMediaTypeList(PageContext* pContext);
    // The media-type tree; 1 OK, 2 Cancel, -1 when it could not be shown.
    INT_PTR IRunMediaPopup(PageContext* pContext);
    // The family of kind appliers' common steps.
    void VApplyKind(PageContext* pContext, int iKind);
    // The kinds' table from the settings, the covers in use through their own paper.
    void VShowPageKinds(PageContext* pContext);
    // A chosen user medium prints in the quality group its media tool recorded, with its macros.
    void VApplyUserMediumQuality(PageContext* pContext);

    // ---- what the page owns, built in this order after the base
    CZQCustomPaperDlg m_customPaper;
    PreviewSettings m_preview = {};
    CZQPageControls m_controls;
    CZQTreePopups m_trees;
    HICON m_hMarkerIcon = nullptr;
    ZQFeaturesState m_state;
    CZQQualityGroup m_quality{*this, m_controls, m_state};
    CZQDestPapers m_dest{*this, m_state, m_szText};
    CZQUserMedia m_userMedia{*this};
    CZQLayoutChoices m_layout{*this};
    CZQPageKinds m_pageKinds{*this, m_controls, m_state, m_userMedia, m_preview, m_hMarkerIcon};
};

inline constexpr auto& FeaturesPageDlgProc = ZQPageShell::Proc<CZQFeaturesTab>;
