// CZQPaperQualityTab: the Paper/Quality page of the document sheet, where the user chooses paper
// size, source and media type, the papers of single pages and covers, and the print quality,
// beside the sample page. One object per binding; PaperQualityPageDlgProc finds it through the
// page's PageContext, kept as the window's DWLP_USER data.
#pragma once

#include "common/zqcontrols.h"
#include "pages/color/zqimageenhancedlg.h"
#include "pages/zqpages.h"
#include "preview/zqpreviewsettings.h"

struct ZQUIDevmode;

// What the alert strip sends its page when the user follows a link in an alert: wParam the alert's
// index, lParam its command line.
inline constexpr UINT WM_ALERT_LINK = 0x7400;

INT_PTR CALLBACK PaperQualityPageDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);

// The kinds of page that can take their own paper, numbered as the page-kind list names them.
enum ZQPageKind : int {
    kKindNone = -1,  // no kind chosen: the working slot (Other Pages)
    kKindFirstPage = 0,
    kKindOtherPages = 1,
    kKindLastPage = 2,
    kKindBackCover = 3,
    kKindFrontCover = 4,
    kKindBackCoverFeeder = 5,
    kKindFrontCoverFeeder = 6,
    kPageKindCount = 7
};

// One paper per page kind, in slot order: First Page, Other Pages (the working slot), Back Cover,
// Last Page, Front Cover, Back Cover from Feeder, Front Cover from Feeder. Sources are option
// positions of the paper-source item (option indices of the feeder features for the last two),
// media are option positions of the media-type item, media ids the printer's ids.
struct PaperSlotTable {
    int aiSource[kPageKindCount];
    int aiMedia[kPageKindCount];
    int aiMediaId[kPageKindCount];
};
inline constexpr int kWorkingSlot = 1;

// The controls whose handles the page keeps, in the order it collects them.
enum ZQPqControl : int {
    kCtlHelp,
    kCtlPreviewPortrait,
    kCtlPreviewLandscape,
    kCtlPaperGroup,
    kCtlSource,
    kCtlMedia,
    kCtlSourceLabel,
    kCtlMediaLabel,
    kCtlPageKinds,
    kCtlBackCover,
    kCtlDifferentPaper,
    kCtlGloss,
    kCtlQuality,
    kCtlRenderDpi,
    kCtlColorInputDpi,
    kCtlColorOutput,
    kCtlRender,
    kCtlColorInput,
    kCtlColorOutputDpi,
    kCtlThriftmode,
    kCtlTransparencySheets,
    kCtlQualityGroup,
    kCtlBorderlessPhoto,
    kCtlBorderlessAutoFit,
    kCtlCustom,
    kCtlSizeLabel,
    kCtlSize,
    kCtlDimensions,
    kCtlImageEnhancement,
    kCtlSaveRollPaper,
    kCtlDisableAutoCutter,
    kCtlAutorotate,
    kCtlOptimizeFor,
    kCtlDrawingsText,
    kCtlImages,
    kCtlMaxDetails,
    kCtlPaperLabel,
    kCtlDocSizeLabel,
    kCtlMargins,
    kCtlExtendedMargins,
    kCtlRollInfo,
    kCtlLoadedInfo,
    kCtlQuietPrinting,
    kCtlStandardOptions,
    kCtlQualitySlider,
    kCtlSpeedLabel,
    kCtlQualityLabel,
    kCtlCustomOptions,
    kCtlQualitySettings,
    kCtlOrientationGroup,
    kCtlPortrait,
    kCtlLandscape,
    kCtlShowPreview,
    kCtlPageExceptionsLabel,
    kCtlPageExceptionsSettings,
    kCtlCount
};

class CZQPaperQualityTab : public CZQTabBase {
public:
    // Context help: room for the page's pairs of (control id, help id), ended by (0, 0).
    static constexpr int kHelpPairs = 59;
    static constexpr DWORD kLockedHelpId = 15147;

    CZQPaperQualityTab();
    ~CZQPaperQualityTab() override;
    CZQPaperQualityTab(const CZQPaperQualityTab&) = delete;
    CZQPaperQualityTab& operator=(const CZQPaperQualityTab&) = delete;

    // ---- the dialog procedure's work (the context is the page's PageContext)
    BOOL BInitDialog(HWND hDlg, PageContext* pContext);
    void VOnSlider(HWND hSlider, PageContext* pContext);
    void VOnPaint(HWND hDlg, PageContext* pContext);
    BOOL BOnDrawItem(HWND hDlg, const DRAWITEMSTRUCT* pDraw, PageContext* pContext);
    void VOnHelp(HWND hWnd, UINT uCommand, PageContext* pContext);
    void VOnDestroy();

    // ---- controls, texts, help and locks
    void VGetControlHandles(HWND hDlg);
    void VSetControlTexts(PageContext* pContext);
    // Pairs of (control id, help id) into pdwTable (room for kHelpPairs pairs), ended by (0, 0).
    void VBuildHelpTable(DWORD* pdwTable, PageContext* pContext);
    void VReadSourceMediaLocks(PageContext* pContext);
    HWND HControl(ZQPqControl control) const { return control >= 0 && control < kCtlCount ? m_ahControls[control] : nullptr; }
    BOOL BSourceLocked() const { return m_bSourceLocked; }
    BOOL BMediaLocked() const { return m_bMediaLocked; }

    // ---- papers: slots, conversions between printer ids and option positions, the lists
    static int ISlotOfKind(int iKind);
    PaperSlotTable& Slots() { return m_slots; }
    int ISourcePosition(PageContext* pContext, DWORD dwSourceId) const;
    DWORD DWSourceFromPosition(PageContext* pContext, int iPosition) const;
    int IMediaTypeIndex(PageContext* pContext, DWORD dwMediaId) const;
    DWORD DWMediaTypeFromIndex(PageContext* pContext, int iPosition) const;
    // The option an entry of one of the page's lists stands for (by public id when one is given,
    // else by feature); -1 when none.
    int IOptionIndexFromComboItem(PageContext* pContext, PCWSTR pszFeature, BYTE bPubId, HWND hCombo,
                                  int iEntry) const;
    void VFillMediaTypeList(PageContext* pContext);
    void VFillMediaTypeListBackFeeder(PageContext* pContext);
    void VFillMediaTypeListFrontFeeder(PageContext* pContext);
    void VRefreshMediaTypeList(PageContext* pContext);
    void VRefreshPaperSizeList(PageContext* pContext);
    // The lists for a page kind chosen in the page-kind list (kKindNone: the working slot's paper).
    void VFillSourceCombo(PageContext* pContext, int iKind);
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

    // ---- the sample page
    void VFillPreviewSettings(PageContext* pContext);
    const PreviewSettings& PreviewRecord() const { return m_preview; }

    // ---- state the page keeps between its windows
    CZQImageEnhanceDlg& ImageEnhanceDlg() { return m_imageEnhanceDlg; }
    int ISliderPosition() const { return m_iSliderPosition; }
    int ILastMediaType() const { return m_iLastMediaType; }
    PCWSTR PszLastMediaType() const { return m_pszLastMediaType; }
    BOOL BMediaTypePopup() const { return m_bMediaTypePopup; }
    BOOL BPaperSizePopup() const { return m_bPaperSizePopup; }
    // The paper's dimensions as the page draws them beside the paper-size label.
    static constexpr size_t kDimensionsChars = 256;
    PWSTR PszDimensions() { return m_szDimensions; }

private:
    enum class Refill { Normal, BackFeeder, FrontFeeder };
    void VReapplyRules(PageContext* pContext);
    void VFillLists(PageContext* pContext, Refill refill);
    void VShowSlotPaper(PageContext* pContext, int iKind, Refill refill);
    void VSelectListPosition(PageContext* pContext, int iPosition);
    void VStoreWorkingSlot(PageContext* pContext);
    void VKeepLastMediaType();
    void VDrawDimensions() const;
    HWND HPreviewShown(PageContext* pContext) const;

    // Declared in the order they are built; the base first.
    CZQImageEnhanceDlg m_imageEnhanceDlg;
    PreviewSettings m_preview = {};
    HWND m_hPage = nullptr;
    HWND m_ahControls[kCtlCount] = {};
    CZQBitmapButton m_constraintButton;
    CZQIconListBox m_pageExceptionsList;
    int m_iSliderPosition = 0;
    HICON m_hMarkerIcon = nullptr;
    DWORD m_dwPageExceptionKind = 0;
    PaperSlotTable m_slots = {};
    int m_iPaperSizePopupState = 0;
    WCHAR m_szDimensions[kDimensionsChars] = {};
    BOOL m_bPageExceptionsChanged = FALSE;
    BOOL m_bMediaTypePopup = FALSE;
    BOOL m_bPaperSizePopup = FALSE;
    BOOL m_bFormUnchanged = TRUE;
    int m_iLastMediaType = 0;
    PWSTR m_pszLastMediaType = nullptr;  // local heap, owned
    BOOL m_bRollBackGuard = TRUE;
    BOOL m_bSourceLocked = FALSE;
    BOOL m_bMediaLocked = FALSE;
};
