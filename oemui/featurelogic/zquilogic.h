// CZQUILogic: the user-interface logic object. It reads, sets and reconciles groups of features
// through the option-item access layer, holds the working copy of the private devmode that the
// pages edit, and keeps the per-sheet state of the property sheet. One lives in the plug-in object
// for the whole binding; others are made for the length of one call (workers derive from it).
//
// Every rule reads the core driver's items of the current OEMCUIPPARAM; without a block (or
// without the feature) a predicate answers FALSE and a setter does nothing. "Readable" means the
// driver answers a current option for the feature; INSTALLED/TRUE means that option is
// "INSTALLED" or "TRUE" without regard to case.
#pragma once

#include "common/zqhandles.h"
#include "common/zquibase.h"
#include "xmlrules/zqconstraintctl.h"
#include "common/zqprintercaps.h"
#include "featurelogic/zqcoloroptions.h"
#include "featurelogic/zqrollsizes.h"
#include "featurelogic/zqsheetstate.h"
#include "formats/zquidevmode.h"

#include <memory>

class CZQBinding;
class CZQQuickSets;
class IZQStoredSettings;
class CZQXmlUiRules;

// Public ids of the plug-in's own items.
enum : BYTE {
    kOemPubOrientation = 103,  // copy of the orientation under "Layout Options"
    kOemPubPageOrder = 104,    // copy of the page order
    kOemPubRollFirst = 105,    // roll items 105-124
    kOemPubRollLast = 124,
};

// Page-description languages of private devmode +20 and of the "ZQPDLType" options.
using zqdm::kPdlUnknown;
using zqdm::kPdlPcl5;
using zqdm::kPdlPcl6;
using zqdm::kPdlPostScript;
using zqdm::kPdlPcl3;
using zqdm::kPdlZqgl2;

// The record a dialog opened from one of the plug-in's push items receives. It names its own form,
// so a dialog that pages open with another record never reads this one as theirs.
enum ZQOemDialogKind : DWORD {
    kOemDialogNone = 0,
    kOemDialogDryTime = 1,  // dry time, ink volume or over-spray: one slider over the feature
    kOemDialogTiles = 2,    // poster tile selection
};
struct ZQOemDialogParam {
    DWORD cbSize;
    ZQOemDialogKind kind;
    class CZQUILogic* pLogic;
    PCWSTR pszFeature;      // the feature the dialog sets
    PCPSUICBPARAM pCBParam; // the callback's record; its hDlg is the core driver's page
    PCWSTR pszHelpFile;     // the driver's help file
};

// A dialog behind push items. A dialog joins with its row in the product's table, which the pages
// hold (pages/zqdialogtable.cpp); a push item whose dialog is missing is not offered.
typedef INT_PTR (*PFN_ZQOemDialog)(ZQOemDialogParam* pParam);
struct ZQOemDialogRow {
    ZQOemDialogKind kind;  // kOemDialogNone ends the table
    PFN_ZQOemDialog pfnRun;
};
const ZQOemDialogRow* ZQOemDialogTable();
// Replaces the table (null restores the product's); returns the previous replacement or null.
const ZQOemDialogRow* ZQSetOemDialogTable(const ZQOemDialogRow* pRows);
PFN_ZQOemDialog ZQFindOemDialog(ZQOemDialogKind kind);

class CZQUILogic : public CZQUIBase, public IZQConstraintLogic {
public:
    CZQUILogic();
    // A worker that uses the helper file's rules.
    explicit CZQUILogic(CZQXmlUiRules* pRules);
    ~CZQUILogic() override;

    // ---- binding ------------------------------------------------------------------------------
    // The block of the current core-driver call (null: none) and its mode (1 document, 2 printer).
    void VSetParam(POEMCUIPPARAM pParam, DWORD dwMode);
    POEMCUIPPARAM Param() const { return m_pCUIParam; }
    // Selections are reported in the call's mode; document mode without a call.
    DWORD DWSelectMode() const { return m_dwMode == OEMCUIP_PRNPROP ? OEMCUIP_PRNPROP : OEMCUIP_DOCPROP; }
    // What the constraint gate and its controllers ask of the logic.
    POEMCUIPPARAM PCurrentCallParam() const override { return m_pCUIParam; }
    BOOL BGreyscaleEnabled() const override { return m_bGrayscaleEnable; }
    // The helper file's rules, when they are loaded (null otherwise).
    CZQXmlUiRules* PLoadedRules(CZQXmlUiRules* pRules = nullptr) const;
    // Runs the macros the helper file attaches to the feature, with its current option; TRUE when
    // the rules are loaded and the feature has macros.
    BOOL BRunFeatureMacros(PCWSTR pszFeature, CZQXmlUiRules* pRules = nullptr);

    // The working copy becomes the block's private devmode when that is ours and current; TRUE then.
    BOOL BTakeWorkingCopy(const void* pPrivateDM);
    ZQUIDevmode* WorkDM() { return m_pDevmode; }

    // ---- per-sheet state ------------------------------------------------------------------------
    // Reset whenever a sheet starts (highest page -1, title not done, no page positions).
    void VResetSheetState();
    ZQSheetState* SheetState() { return &m_sheet; }
    // Sheet position of a page id, -1 when the page is not in the sheet (the devmode is not needed:
    // positions are kept by page assembly).
    int IGetPageIndex(const void* pPrivateDM, int iPageId) const;
    // Appends " " + the option of "ZQVersionString" to the page's parent window text; TRUE when done
    // (the caller then sets the title flag).
    BOOL BAppendVersionToTitle(HWND hPage);

    // ---- A. printer class and interface mode ---------------------------------------------------
    static BOOL BIsLargeFormat(POEMCUIPPARAM pParam);
    BOOL BIsLargeFormat() const { return BIsLargeFormat(m_pCUIParam); }
    BOOL BIsSimplifiedLargeFormat(const void* pPrivateDM) const;
    BOOL BMediaTypeTreeviewPopup() const;
    BOOL BPaperSizeTreeviewPopup() const;
    BOOL BHasLqjPaperSizeTreeview() const;
    // The two numbers of "ZQLQJPaperSizeTreeview" (default paper sizes, recently used list length),
    // written as two decimal numbers with any separator. 0, else ZQOPT_* status.
    int IGetLqjPaperTreeview(int* piFirst, int* piSecond) const;
    DWORD DWGetLqjPaperTreeviewMode() const;
    int IGetLqjMediaTreeviewCount() const;
    BOOL BHasPageExceptions() const;
    BOOL BHasPageExceptionsLowEnd() const;
    BOOL BDiffFirstPageAllowed() const;
    BOOL BBookletAllowed() const;
    BOOL BWatermarksAllowed() const;
    BOOL BHasSeveralPaperSources() const;
    BOOL BHasRotate180() const;
    BOOL BHasTransverse() const;
    BOOL BHasMirrorPrint() const;
    BOOL BIsChromixSupported() const;
    BOOL BHasGrayscaleChoice() const;
    BOOL BScaleFromLargePaper() const;
    // 1 Windows 2000, 2 Windows XP / Server 2003, 3 later, 0 otherwise.
    static int IGetOsVersionClass();
    typedef void (*PFN_OsVersion)(DWORD* pdwMajor, DWORD* pdwMinor);
    static PFN_OsVersion SetOsVersionSource(PFN_OsVersion pfn);
    // Occurrence among the core driver's items without public id of the PostScript mirror item, -1
    // when the driver has none. First caller: the Finishing page.
    int IGetPsItemPosition(const PrinterCaps* pCaps) const;

    // ---- B. paper ---------------------------------------------------------------------------------
    // The selected form: "PaperSize" ("PageSize" under PostScript).
    PCWSTR PszFormFeature() const;
    BOOL BIsBorderlessPaper();
    BOOL BIsBannerPaper();
    BOOL BIsEnvelopePaper() const;
    BOOL BIsNonStandardBannerName(PCWSTR pszKeyword, PCWSTR pszName);
    // The printer's largest paper (tenths of a millimetre); 0, else a ZQOPT_* status.
    int IGetActualCustomRange(LONG* plWidth, LONG* plLength) const;
    BOOL BNeedsScaleFromLargePaper(const PrinterCaps* pCaps) const;
    // The printed-on paper (+1820) becomes the largest listed paper within the printer's range.
    void VSelectScaleTargetPaper();
    // The name of the printed-on paper (64 characters); "" when it is not listed.
    void VGetScaleTargetPaperName(PWSTR pszName) const;
    void VValidatePrintOnPaper();
    // 0 not a custom size or no range, 1 duplexable, 2 outside "ZQCustomDUplexableRange".
    int BIsCustomSizeDuplexable() const;
    // One-sided printing when the custom size is not duplexable and manual two-sided printing is
    // not in force; 1 when reset, else 0.
    int IApplyCustomDuplexRange();
    // First caller: the large-format printing-shortcuts page.
    static BOOL BMapFormToValue(PCWSTR pszName, const WORD* pIds, PCWSTR pNames, DWORD dwCount, WORD* pwId);
    void VCheckMediaWidthSensor(int iMode, PCWSTR pszPaper);
    // Borderless features back to option 0 for a paper that is not borderless, then the form's macros.
    void VUpdateBorderlessForPageSize(CZQXmlUiRules* pRules);
    // On a large-format printer whose selected source is a roll ("Roll1", "Roll2", "Roll"; "AnyRoll"
    // counts as roll 1): the roll's width from the device answers (its custom width when the answer
    // is the custom word), bounded by the helper file's widest job page, in whole inches into the
    // core driver's private devmode (custom maximum width). An answer that is no positive number
    // leaves the devmode as it was.
    void VUpdateRollPreview(IZQRollSizeSink* pPreview, CZQXmlUiRules* pRules);
    // First caller: the Features page.
    static int IGetCustomMediaSelected();
    // First caller: the Features page.
    static int IGetScalingMode(DWORD dwPrintDocOn, DWORD dwScale);

    // ---- C. two-sided, posters, layout ----------------------------------------------------------
    BOOL BIsDuplexUnitInstalled(BOOL bUpdate) const;
    BOOL BIsManualDuplexAvailable() const;
    void VSetManualTwoSided(BOOL bOn);
    void VUpdateDuplexState();
    void VSetDuplexItem(int iDuplex);
    BOOL BIsPosterPrinting() const;
    BOOL BGetPosterTiles(int* piIndex) const;
    // The booklet the layout pages chose (0 none, else the booklet list's entry), which every page
    // reads and ends.
    DWORD DWBooklet() const { return m_dwBooklet; }
    void VSetBooklet(DWORD dwBooklet) { m_dwBooklet = dwBooklet; }
    void VEndBooklet() { m_dwBooklet = 0; }
    // The margin choices the user made by hand (slot 0 symmetric, 1 minimized margins): whether
    // the user chose, and the choice, kept for one-sided printing.
    DWORD DWMarginChoice(int iSlot) const { return m_adwMarginChoice[iSlot & 1]; }
    DWORD DWMarginValue(int iSlot) const { return m_adwMarginValue[iSlot & 1]; }
    void VSetMarginChoice(int iSlot, DWORD dwChosen) { m_adwMarginChoice[iSlot & 1] = dwChosen; }
    void VSetMarginValue(int iSlot, DWORD dwValue) { m_adwMarginValue[iSlot & 1] = dwValue; }
    void VChooseMargin(int iSlot, DWORD dwValue) {
        VSetMarginChoice(iSlot, 1);
        VSetMarginValue(iSlot, dwValue);
    }
    void VClearMarginChoices() { m_adwMarginChoice[0] = m_adwMarginChoice[1] = 0; }
    // The poster of the sheet state, which the pages read and clear.
    BOOL BPosterFlag() const { return m_sheet.bPosterFlag; }
    int IPosterOption() const { return m_sheet.iPosterOption; }
    void VClearPosterFlag() { m_sheet.bPosterFlag = FALSE; }
    void VSetPosterFlag() { m_sheet.bPosterFlag = TRUE; }
    // Tiles per side of a poster option: 2, 3, 4 or 5 for options 0 to 3; 2 otherwise.
    static int IPosterTilesPerSide(int iPosterOption);
    // The poster choice from the entry a pages-per-sheet list shows (iSelected of iEntries, the
    // poster items following its six pages-per-sheet items): TRUE and the flag and option set when
    // it is a poster item while poster printing is in force, the flag cleared otherwise. A list
    // without entries or a selection (negative) answers FALSE and leaves both as they are.
    BOOL BSetPosterChoice(int iEntries, int iSelected);
    // First caller: the Effects page.
    void VSetPosterState(BOOL bOn, PCWSTR pszText);
    DWORD ISetPageOrderItems(BOOL bBackToFront);
    // First caller: the Features page.
    void VSyncNupItem(const PrinterCaps* pCaps);
    // First caller: the large-format Features page.
    BOOL BClearTransverseForBitmap();
    // First caller: the Output page.
    void VSetStraightPaperPath(BOOL bOn);
    // The face-up flag of the working copy (+1892) from "ZQOutputBinOrientation", the delivery the
    // driver keeps in step with the selected output bin: 1 when its option names "FaceUp" (without
    // case); left alone when it cannot be read.
    // First caller: the Output page.
    void VUpdateOutputBinFaceUp();

    // ---- D. quality and colour --------------------------------------------------------------------
    void VSelectHighQuality(PCWSTR pszFeature);
    DWORD ISetPhotoFixFeatures(const DWORD adwIndex[6]);
    // The photo enhancements the image-enhancement dialog compares with: the red-eye and detail
    // choices (1 on), which its OK keeps, and the four levels (0 automatic, 1..4 the slider's step).
    struct PhotoSettings {
        DWORD dwRedEye, dwVorevEzuro, dwSharpness, dwSmoothing, dwContrast, dwDigitalFlash;
    };
    PhotoSettings& Photo() { return m_photo; }
    void VSavePrintQualityName();
    void VUpdateColorSpaceConflicts();
    // Where the driver has "ZQSetBPPForSelectedPQGroup", the colour depth follows the quality:
    // "ColorMode" takes the option at the position of the selected "PrintQualityGroup" option (its
    // last option for a group beyond its list).
    void VSetColorModeForQualityGroup();

    // ---- E. preview codes -------------------------------------------------------------------------
    int IGetStapleCode() const;
    int IGetPunchCode() const;
    int IGetPunchUnitType() const;
    int IGetFoldCode() const;
    int IGetOutputAccessoryCode() const;
    // First caller: the Effects page's preview.
    int IGetThriftmodeState() const;

    // ---- F. binding controls ----------------------------------------------------------------------
    // Binds a combo box or a check box to the item found by public id (non-zero) or keyword. The
    // out value is -1 on entry. Actions: 0 the item's flags, 1 fill, 2 show the current option,
    // 3 apply, 4 compare with the old value, 5 fill without hidden or conflict-marked options,
    // 6 the item's help index. Results 0, 2 not found, 3 no selection, 5 failure, 6 fall-back
    // selection shown, 10 hidden.
    enum : int { kBindFlags = 0, kBindFill = 1, kBindShow = 2, kBindApply = 3, kBindCompare = 4,
                 kBindFillFree = 5, kBindHelp = 6 };
    int IBindFeatureControl(BYTE bPubId, PCWSTR pszFeature, HWND hCtrl, int* piChanged, DWORD dwMode, int iAction,
                            BOOL bCheckBox, int iOldValue, int* piValue);
    // One owner-drawn entry of a feature combo (conflict-marked options get the warning icon).
    int IDrawFeatureComboItem(BYTE bPubId, PCWSTR pszFeature, const DRAWITEMSTRUCT* pDraw, HWND hCombo);
    // First option whose display name begins with the control's text; -1 when none.
    int IFindOptionByEditText(HWND hCtrl, PCWSTR pszFeature) const;

    // ---- G. sheet bookkeeping ------------------------------------------------------------------------
    // The selections the pages compare with, and the old poster and preserve-layout states (a poster
    // selected; "ZQAutoDuplexScaling" on).
    void VSaveSelections();
    // The raw-spooling flag: the printer's jobs spool as raw data (its default data type is a raw
    // one). Kept here and written into the working copy and the block's private devmode.
    void VUpdateRawSpoolingFlag();
    BOOL BRawSpooling() const { return m_bRawSpooling; }
    // The option of "ManualFeedOrientation" into the working copy and the block's private devmode
    // (1 + its position); FALSE, and nothing written, when it cannot be read.
    BOOL BReadManualFeedOrientation();
    // The saved option index of a feature, -1 when it had no item or is not kept.
    int IGetSavedSelection(PCWSTR pszFeature) const;
    // Settles the features a page's changes made inconsistent; the number of features changed.
    int IResolveConflicts(ZQUIDevmode* pSettings);
    // The value under the printer data key equals "Lock" (its text goes to pszOut, 256 chars); a
    // record the spooler cannot read counts as locked.
    static BOOL BIsSettingLocked(HANDLE hPrinter, PCWSTR pszKey, PCWSTR pszValue, PWSTR pszOut);
    // The option a control shows first (256 characters): while the printer's installation is not
    // complete, the quick set in force's option for the feature; else the feature's current option.
    void VGetInitialFeatureOption(PCWSTR pszFeature, PWSTR pszOption);
    // The job-storage values of the devmode that follow the driver's features.
    BOOL BFillDevmodeEnums(ZQUIDevmode* pDevmode);
    // The printer data "ZQLangID" follows the user-interface language; when it changes, the paper
    // tree's units follow the initial paper (unless chosen in this sheet). Called by the Features
    // page at its start and by the installation, which stores it before any page shows.
    void VFollowUiLanguage();
    // The public devmode's colour matching as the colour features give it: the method from
    // "ZQInputColorSpace", the intent from "ZQIntent" (VApplyIntentToDevmode), each only where the
    // feature can be read. Set by the Colour page, and by the installation for a sheet that has it.
    void VSetPublicColorMatching(PDEVMODEW pPublic) const;
    void VApplyIntentToDevmode(PDEVMODEW pPublic) const;
    // The media-type pop-up needs the printer data "MediaType" as a four-byte number: a missing or
    // longer value is written as 0.
    static void VKeepPopupMediaType(HANDLE hPrinter);
    // ---- the configuration manager's stored settings -------------------------------------------
    // The stored "Watermarks" and "WMFont" into the private devmode of the current call, and the
    // watermark into the shared pool (standard kinds at their default places, another text after
    // them); TRUE when a watermark was stored. Without a private devmode nothing. A conversion run
    // names its settings (null: the configuration manager's trees of the printer).
    BOOL BImportDMCWatermarks(const IZQStoredSettings* pStored = nullptr);
    void VWriteImportedWatermark(int iIndex);
    // After the helper file's install-time event: the quality groups its macros hid, and the
    // turbo-mode and photo-paper items they disabled.
    void VApplyQualityRuleStates(CZQXmlUiRules* pRules);
    // The keywords of the selected media type and print quality into the rule engine, which its
    // macros read; a field whose item or keyword is missing stays as it was.
    void VReadMediaQualityKeywords(CZQXmlUiRules* pRules);
    // The option the event mapped the stored print quality to ("Feature.Option", or a quality group).
    void VApplyImportedPrintQuality(CZQXmlUiRules* pRules);

    // While the installation runs ("InstallationComplete" reads 1), the helper file's device
    // settings are selected: "Feature.Option" texts cut at their full stops, the first piece the
    // feature and the second its option; a text without both pieces is skipped.
    void VApplyDeviceSettings();

    // ---- H. texts and lists ------------------------------------------------------------------------
    static BOOL BHasMarkPrefix(PCWSTR pszText);
    static BOOL BStripMarkPrefix(PWSTR pszText);
    static BOOL BIsInStringList(const PCWSTR* ppList, int iCount, PCWSTR pszText);
    struct ValueList {
        DWORD dwCount;
        const DWORD* pValues;
    };
    // First caller: the Finishing page.
    static BOOL BFindValueIndex(DWORD dwValue, const ValueList* pList, int* piIndex);
    // Message box with the owner button's text (no "&", cut at "(") as caption and the three
    // strings as text; MessageBoxW's result.
    // First caller: the Colour page.
    int IConfirmBox(INT idFirst, INT idSecond, INT idThird, UINT uFlags, HWND hOwner);
    static void VButtonCaption(HWND hButton, PWSTR pszCaption, size_t cchCaption);

    // ---- I. device answers and rolls ----------------------------------------------------------------
    static BOOL BGetUserDefinedMedia(HANDLE hPrinter, PWSTR** ppList, int* piCount);
    static BOOL BGetOutputBinNames(HANDLE hPrinter, PWSTR** ppList, int* piCount);
    // A width (inches, 256 characters) beyond the helper file's largest job-page width becomes that
    // width, written "%1.2lf".
    static void VClampRollWidth(CZQXmlUiRules* pRules, PWSTR pszWidth);
    // The first roll settings entry of the helper file: smallest and largest job-page width, the
    // roll's real width, smallest and largest job-page height (texts in inches, each null when
    // absent). FALSE when no helper file with roll settings is loaded.
    static BOOL BReadRollLimits(CZQXmlUiRules* pRules, CZQLocalPtr<WCHAR> (&limits)[5]);

    // ---- the option-item callbacks -------------------------------------------------------------------
    static LONG APIENTRY IDocOptItemCallback(PCPSUICBPARAM pCBParam, POEMCUIPPARAM pParam);
    static LONG APIENTRY IPrinterOptItemCallback(PCPSUICBPARAM pCBParam, POEMCUIPPARAM pParam);
    // The binding that owns a block's items (null: not ours or not current).
    static CZQBinding* BindingOf(POEMCUIPPARAM pParam);

    // ---- fields the pages share ---------------------------------------------------------------------
    DWORD m_dwMode = 0;
    // Printer language: the option index of "ZQPDLType", as private devmode +20 keeps it (3 PostScript).
    DWORD m_dwPdl = 0;
    CZQXmlUiRules* m_pRules = nullptr;
    PrinterCaps* m_pCaps = nullptr;  // the binding's printer record
    const CZQQuickSets* m_pQuickSets = nullptr;  // the binding's quick-set manager
    // The colour settings, built at each document sheet's CommonUIProp with the snapshot of their
    // selections then.
    CZQColorOptionList m_colorOptions;
    BOOL m_bGrayscaleEnable = FALSE;

    ZQUIDevmode m_workDM = {};
    ZQUIDevmode* m_pDevmode = nullptr;  // the record in use: the working copy
    ZQSheetState m_sheet = {};

    // Paper/Quality and its dialogs.
    DWORD m_dwUnitMm = 0;
    SHORT m_sMarginsOrientation = 1;
    int m_aiLfLayout[4] = {};  // margin type, layout type, borderless, print with margins
    BOOL m_bMediaTypeItem = FALSE;
    BOOL m_bMediaCompare = FALSE;
    DWORD m_adwCoverFlags[4] = {};  // front from feeder, front, back, back from feeder
    BOOL m_bPageExceptions = FALSE;
    DWORD m_adwPageKindMedia[4] = {};
    DWORD m_adwQualityBoxes[6] = {};  // thriftmode, gloss, borderless photo, auto fit, detail, images
    DWORD m_adwBorderlessCleared[2] = {};
    WCHAR m_aszRecentMedia[3][64] = {};
    int m_aiRecentForms[3] = {-1, -1, -1};
    // Features and finishing pages.
    BOOL m_abMarginAvailable[3] = {};
    BOOL m_bAutoDuplexScalingMark = FALSE;
    DWORD m_dwAutoDuplexScaling = 0;
    BOOL m_bPreserveLayout = FALSE;
    BOOL m_bPreserveLayoutUser = FALSE;
    BOOL m_bManualDuplexOffered = FALSE;
    DWORD m_dwExtendedMargins = 0;
    ZQPreviewWatermark m_previewWatermark = {};
    int m_aiFinishing[4] = {};  // output bin, staple, punch, fold
    DWORD m_dwBookletCopy = 0;
    DWORD m_dwLayoutKind = 0;
    BOOL m_bScaleToPaper = FALSE;
    BOOL m_bScaleToPaper2 = FALSE;
    DWORD m_dwScalePercent = 100;
    DWORD m_dwTargetPaper = 0;
    DWORD m_adwPosterTiles[25] = {};
    BOOL m_bStraightPaperPath = FALSE;
    // The media the page exceptions were set up with (the media id the Paper/Quality page handed the
    // page-exceptions module; 0 until then: the document's media type).
    DWORD m_dwPageExceptionMedia = 0;
    // The tile selection dialog of the core driver's tile push item, made when first opened.
    std::unique_ptr<CZQUIBase> m_pTilingDialog;
    // The slider dialog of the dry-time, ink-volume and over-spray push items, made when first opened.
    std::unique_ptr<CZQUIBase> m_pDryTimeDialog;
    // As the sheet opened (VSaveSelections).
    BOOL m_bOldPosterFlag = FALSE;
    BOOL m_bOldPreserveLayout = FALSE;
    // Colour pages and shortcuts.
    BOOL m_bGrayscale = FALSE;
    BOOL m_bGrayscaleQuality = FALSE;
    BOOL m_bSepia = FALSE;
    BOOL m_bSourceOverride = FALSE;  // the first and last pages keep their own source and media
    int m_iPrintQuality = 0;
    WCHAR m_szPrintQualityName[256] = {};
    BOOL m_bBorderlessAutoFit = FALSE;
    int m_iCmykInks = 0;
    BOOL m_bColorOutput = FALSE;
    BOOL m_bPageFlag = FALSE;  // set by Effects/Features, tested by Effects/Finishing
    DWORD m_adwPreview[4] = {};
    BOOL m_bQuickSetModified = FALSE;
    BOOL m_bRawSpooling = FALSE;
    DWORD m_adwDryTime[3] = {};  // dry time, ink volume, over-spray option indices
    PhotoSettings m_photo = {};
    WCHAR m_szDocTypeName[256] = {};
    DWORD m_adwDocTypeSelections[10] = {};
    DWORD m_dwDocTypeScaling = 100;
    DWORD m_dwDocTypeCopies = 1;

protected:
    // Feature reads over the current block.
    BOOL BCanRead(PCWSTR pszFeature) const;
    BOOL BOptionIs(PCWSTR pszFeature, PCWSTR pszOption) const;
    BOOL BInstalledOrTrue(PCWSTR pszFeature) const;
    BOOL BHasItem(PCWSTR pszFeature) const;
    BOOL BIsPostScript() const;
    // The current option keyword (256 characters); FALSE when it cannot be read.
    BOOL BReadOption(PCWSTR pszFeature, PWSTR pszOption) const;
    DWORD DWSelect(PCWSTR pszFeature, int iIndex);
    // The display name of the selected form (256 characters); FALSE when it is not a text.
    BOOL BSelectedFormName(PWSTR pszName);
    BOOL BIsStandardBannerName(PCWSTR pszName);
    // The size of a public devmode's paper (tenths of a millimetre).
    BOOL BPaperSize(const PrinterCaps* pCaps, WORD wPaper, LONG* plWidth, LONG* plLength) const;

private:
    static constexpr int kSavedFeatureCount = 48;
    int m_aiSaved[kSavedFeatureCount] = {};
    DWORD m_dwBooklet = 0;
    DWORD m_adwMarginChoice[2] = {};  // symmetric, minimize: the user's marks
    DWORD m_adwMarginValue[2] = {};
};
