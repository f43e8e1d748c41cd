// Small readers the pages and their dialogs share: features read through the option-item access
// layer, a page's windows shown and hidden, list entries, and the working and saved settings.
#pragma once

#include <cwchar>
#include <functional>
#include <initializer_list>

#include "common/zqcommon.h"
#include "common/zqhandles.h"
#include "common/zqkeywords.h"
#include "common/zqstrings.h"
#include "common/zquibase.h"
#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"
#include "pages/zqpages.h"
#include "res/zqpageids.h"
#include "xmlrules/zqxmluirules.h"

namespace zqpage {

inline POPTITEM PubItem(POEMCUIPPARAM pParam, BYTE bPubId) {
    POPTITEM item = nullptr;
    return CZQCommon::DWFindOptItemByPubId(pParam, bPubId, 0, &item) == ZQOPT_OK ? item : nullptr;
}

inline POPTITEM FeatureItem(POEMCUIPPARAM pParam, PCWSTR pszFeature) {
    POPTITEM item = nullptr;
    return CZQCommon::DWFindOptItem(pParam, pszFeature, &item) == ZQOPT_OK ? item : nullptr;
}

// The option's display name when it is a text.
inline PCWSTR OptionName(const OPTITEM* pItem, int iIndex) {
    const OPTPARAM* param = CZQCommon::PGetOptionParam(pItem, iIndex);
    return param && param->pData && !IS_INTRESOURCE(param->pData) ? param->pData : nullptr;
}

inline BYTE OptionFlags(const OPTITEM* pItem, int iIndex) {
    const OPTPARAM* param = CZQCommon::PGetOptionParam(pItem, iIndex);
    return param ? param->Flags : 0;
}

// The feature's current option keyword (256 characters); false when it cannot be read.
inline bool ReadOption(POEMCUIPPARAM pParam, PCWSTR pszFeature, PWSTR pszOption) {
    CZQLocalPtr<WCHAR> option;
    if (CZQCommon::DWGetFeatureOption(pParam, pszFeature, option.Put()) != ZQOPT_OK) return false;
    ZQCopyText(pszOption, 256, option.Get());
    return true;
}

// The feature's option compared with a word without regard to case; -1 when it cannot be read.
inline int OptionIs(POEMCUIPPARAM pParam, PCWSTR pszFeature, PCWSTR pszWord) {
    WCHAR option[256];
    if (!ReadOption(pParam, pszFeature, option)) return -1;
    return ZQEqualNoCase(option, pszWord) ? 1 : 0;
}

inline bool Readable(POEMCUIPPARAM pParam, PCWSTR pszFeature) {
    WCHAR option[256];
    return ReadOption(pParam, pszFeature, option);
}

inline bool RulesLoaded(const PageContext* pContext) {
    return pContext && pContext->pRules && pContext->pRules->Parser().BIsLoaded();
}

inline ZQUIDevmode* WorkOf(const PageContext* pContext) {
    return pContext && pContext->pLogic ? pContext->pLogic->WorkDM() : nullptr;
}

// What a message needs of the page's context before the page sees it.
enum : unsigned {
    kNeedPage = 0,      // the page object
    kNeedItems = 1,     // its OEMCUIPPARAM
    kNeedDevmode = 2,   // the OEMCUIPPARAM's private devmode
    kNeedWork = 4,      // the working settings
    kNeedCore = 8,      // the core driver's copy of the private devmode
    kNeedRules = 16,    // the helper file's rules object
    kNeedWorking = kNeedItems | kNeedDevmode | kNeedWork,
};

// The context when it names a page object and holds what `needs` asks; null with last error 13
// otherwise.
PageContext* ContextWith(PageContext* pContext, unsigned needs);
// The sheet's image-enhancement dialog as the printing-shortcuts pages offer it: only beside the
// sheet's Paper/Quality page, whose context (null when the sheet does not show it) the dialog takes.
CZQImageEnhanceDlg* SheetImageEnhance(const PageContext* pContext, PageContext** ppPaperContext);

// The sheet's four notices (PSN_SETACTIVE, PSN_KILLACTIVE, PSN_APPLY, PSN_RESET).
bool IsSheetNotice(const NMHDR* pHeader);

// The core driver's copy of the private devmode: the settings the sheet was opened with.
inline ZQUIDevmode* CoreOf(POEMCUIPPARAM pParam) {
    return pParam ? const_cast<ZQUIDevmode*>(zqdm::CurrentBlock(pParam->pOEMDM)) : nullptr;
}

inline bool PostScript(const PageContext* pContext) {
    const ZQUIDevmode* work = WorkOf(pContext);
    return work && work->dwPdl == kPdlPostScript;
}

// A paper or media keyword of the banner family.
inline bool IsBannerKeyword(PCWSTR pszOption) {
    return pszOption && wcsncmp(pszOption, zqkw::kBannerPaperPrefix, 9) == 0;
}

inline PCWSTR StaplingFeature(bool bPostScript) { return bPostScript ? zqkw::kStapleLocation : zqkw::kStapling; }

inline PCWSTR ThriftmodeFeature(const PageContext* pContext) {
    return PostScript(pContext) ? zqkw::kJCLThriftmode : zqkw::kThriftmode;
}


// Hidden controls are disabled as well; a control the template lacks is left alone.
inline void Hide(HWND hCtrl) {
    if (!hCtrl) return;
    EnableWindow(hCtrl, FALSE);
    ShowWindow(hCtrl, SW_HIDE);
}

inline void Show(HWND hCtrl) {
    if (hCtrl) ShowWindow(hCtrl, SW_SHOW);
}

inline void ShowEnabled(HWND hCtrl, BOOL bEnabled = TRUE) {
    if (!hCtrl) return;
    ShowWindow(hCtrl, SW_SHOW);
    EnableWindow(hCtrl, bEnabled);
}

// Number boxes read left to right on a mirrored page as well: a point or a sign stays where it was
// typed ("11.00", "-5"), which a mirrored box's right-to-left reading moves.
inline void NumbersLeftToRight(HWND hDlg, std::initializer_list<int> ids) {
    constexpr LONG kMirrored = WS_EX_LAYOUTRTL | WS_EX_RTLREADING;
    for (int id : ids) {
        HWND box = GetDlgItem(hDlg, id);
        const LONG ex = box ? GetWindowLongW(box, GWL_EXSTYLE) : 0;
        if (ex & kMirrored) SetWindowLongW(box, GWL_EXSTYLE, ex & ~kMirrored);
    }
}

inline bool Checked(HWND hCtrl) { return hCtrl && SendMessageW(hCtrl, BM_GETCHECK, 0, 0) == BST_CHECKED; }

inline void SetCheck(HWND hCtrl, bool bChecked) {
    if (hCtrl) SendMessageW(hCtrl, BM_SETCHECK, bChecked ? BST_CHECKED : BST_UNCHECKED, 0);
}

// The binder found the feature: an item hidden in the core driver's own list still counts.
inline bool Bound(int iResult) {
    return iResult == 0 || iResult == 6 /* fall-back selection */ || iResult == 10 /* hidden */;
}

// A list entry's text (256 characters); false when there is none.
inline bool EntryText(HWND hList, int iEntry, PWSTR pszText, bool bListBox = false) {
    pszText[0] = 0;
    if (!hList || iEntry < 0) return false;
    const LRESULT len = SendMessageW(hList, bListBox ? LB_GETTEXTLEN : CB_GETLBTEXTLEN, static_cast<WPARAM>(iEntry), 0);
    if (len < 0 || len >= 256) return false;
    return SendMessageW(hList, bListBox ? LB_GETTEXT : CB_GETLBTEXT, static_cast<WPARAM>(iEntry),
                        reinterpret_cast<LPARAM>(pszText)) >= 0;
}

inline bool SelectedText(HWND hList, PWSTR pszText, bool bListBox = false) {
    if (!hList) return false;
    const LRESULT sel = SendMessageW(hList, bListBox ? LB_GETCURSEL : CB_GETCURSEL, 0, 0);
    return EntryText(hList, static_cast<int>(sel), pszText, bListBox);
}

// A combo box's selected text as its option keyword of the feature (256 characters); FALSE when it
// cannot be converted.
inline BOOL StoreListKeyword(POEMCUIPPARAM pParam, HWND hList, PCWSTR pszFeature, PWSTR pszTarget) {
    if (!pParam || !pszTarget) return FALSE;
    WCHAR text[256];
    CZQLocalPtr<WCHAR> keyword;
    if (!EntryText(hList, static_cast<int>(SendMessageW(hList, CB_GETCURSEL, 0, 0)), text) ||
        CZQCommon::DWOptionNameToKeyword(pParam, pszFeature, text, keyword.Put()) != ZQOPT_OK)
        return FALSE;
    ZQCopyText(pszTarget, 256, keyword.Get());
    return TRUE;
}

// The item's selection becomes the option, marked changed and reported to the core driver at once
// even when it is the selection already (the caller names the previous selection it reports); the
// option's conflict mark is lifted for the report only.
inline void ReportSelection(POEMCUIPPARAM pParam, POPTITEM pItem, LONG lSel, DWORD dwPrevious, DWORD dwMode) {
    if (!pParam || !pItem || !pParam->poemuiobj || !pParam->poemuiobj->pOemUIProcs) return;
    pItem->Sel = lSel;
    pItem->Flags |= OPTIF_CHANGED;
    POPTPARAM option = CZQCommon::PGetOptionParam(pItem, lSel);
    const bool marked = option && (option->Flags & OPTPF_OVERLAY_WARNING_ICON);
    if (marked) option->Flags &= ~OPTPF_OVERLAY_WARNING_ICON;
    CZQCommon::BReportItem(pParam, pItem, dwPrevious, dwMode);
    if (marked) option->Flags |= OPTPF_OVERLAY_WARNING_ICON;
}


// A new font of 8 points in the face of the system's menus (the face stays empty when it cannot
// be read); the caller deletes it.
inline HFONT NewMenuFont(HDC hdc, LONG lWeight) {
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    LOGFONTW font = {};
    font.lfHeight = -MulDiv(8, GetDeviceCaps(hdc, LOGPIXELSY), 72);
    font.lfWeight = lWeight;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfOutPrecision = OUT_TT_PRECIS;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        ZQCopyText(font.lfFaceName, LF_FACESIZE, metrics.lfMenuFont.lfFaceName);
    return CreateFontIndirectW(&font);
}

// Output accessories with a stapler (the codes of CZQUILogic::IGetOutputAccessoryCode).
inline bool StaplingAccessory(int iCode) {
    switch (iCode) {
        case 3: case 6: case 8: case 10: case 12: case 13: case 14: case 15: return true;
        default: return false;
    }
}

inline bool IsVisible(HWND hCtrl) { return hCtrl && (GetWindowLongPtrW(hCtrl, GWL_STYLE) & WS_VISIBLE) != 0; }

// WM_SETCURSOR of a page with a sample page: the hand over either of its buttons, the arrow
// elsewhere; the page always answers.
INT_PTR SetPreviewCursor(HWND hDlg);

// A row of a page's context-help table: the control, then its help id. A setting the configuration
// manager locked gives 15147; a feature or public item gives its item's help index, else the
// fall-back; without either the fall-back stands (-1: no help topic).
struct HelpRow {
    int control;
    PCWSTR lock;     // value under "DMCLockData\Printing", or none
    BYTE pubId;
    PCWSTR feature;
    int fallback;
};
inline constexpr DWORD kLockedHelpId = 15147;
// The rows' pairs into pdwTable (room for cRows pairs and the (0, 0) end, which follows them).
void FillHelpTable(DWORD* pdwTable, const HelpRow* pRows, int cRows, HANDLE hPrinter, CZQUILogic* pLogic);

// The configuration manager's lock of a setting under "DMCLockData\Printing", its word in any
// letter case; a record the spooler cannot show, or one the import could not store, locks too.
bool LockedInAnyCase(HANDLE hPrinter, PCWSTR pszName);
// The lock word as stored, nothing else consulted: 1 when it reads "Lock" in any letter case, 0
// for any other text, -1 when no text can be read.
int StoredLockWord(HANDLE hPrinter, PCWSTR pszName);

// OK or Apply on a page of the layout pages' kind: the quick set's name comes back when its items
// changed, the conflicts are resolved, the result goes to the sheet; only the page at the highest
// position visited synchronises before and exports after (also when the sheet refuses the result).
// PSNRET_NOERROR, or PSNRET_INVALID_NOCHANGEPAGE when the sheet refused it.
LRESULT ApplyPage(PageContext* pContext, int iPageId);
// The same without the quick set's name step; `afterSync` runs after the synchronisation, on
// whichever page applies.
LRESULT CommitPage(PageContext* pContext, int iPageId, const std::function<void()>& afterSync = {});
// The same with the settings as they stand: no conflict is resolved.
LRESULT ReportPage(PageContext* pContext, int iPageId, const std::function<void()>& afterSync = {});
// A page's change check told to the sheet (the quick set's change counts too), and the working
// settings made the user's own when they no longer are those of the quick set the sheet opened with
// (iCompareGroup: the page's CZQQuickSets::kCompare* group).
void ReportPageChange(HWND hPage, PageContext* pContext, int iCompareGroup, bool bChanged);

// The Help button of a page: the page's topic (15243 unless the page has its own) in the help file
// the private devmode names.
void ShowHelpButtonTopic(HWND hButton, POEMCUIPPARAM pParam, DWORD dwTopic = 15243);

// Whether the printer's web services let the print preview be offered: a printer that lists its
// services ("PSServicesOption") needs the address of its web server; one without them may.
bool WebPreviewAllowed(POEMCUIPPARAM pParam);

// The document turned to portrait or landscape: the working orientation, the plug-in's own
// orientation item and the core driver's.
void SetOrientation(PageContext* pContext, POEMCUIPPARAM pParam, bool bLandscape);
// As the sample page's click turns it on the pages with finishing: SetOrientation, the PostScript
// orientation feature, and the helper file's stapling rules run with the current staple option.
void SwitchOrientation(PageContext* pContext, POEMCUIPPARAM pParam, bool bLandscape);
// A click on the sample page's paper label (or, bDocSize, its document-size label) flips the unit
// of both; the labels are written again in the new unit.
void FlipPreviewUnit(CZQUIBase& page, ZQUIDevmode& work, const PrinterCaps* pCaps, HWND hDimensions, HWND hDocSize,
                     bool bDocSize);
// The sample page's button that shows the sheet: landscape sheets for landscape pages, and for
// portrait pages two or four to a sheet.
int ShownPreviewId(const ZQUIDevmode& work);

// Selects the option again and runs the macros of its feature with the option read back; false
// when the option cannot be read back.
bool ReselectWithMacros(PageContext* pContext, POEMCUIPPARAM pParam, PCWSTR pszFeature, LONG lSel);

// Stapling whose selection and that of the item it depends on are both marked as conflicting goes
// back to its first option.
void ResolveStaplingConflict(POEMCUIPPARAM pParam, BYTE bPubId, bool bPostScript);

// A borderless or banner page is one full-size page on one side of each sheet: no resizing, no
// two-sided printing and (unless the layout is kept) one page per sheet without a booklet.
void SettleBorderlessLayout(CZQUILogic& logic, POEMCUIPPARAM pParam, BOOL bKeepLayout, BOOL bBanner);

// The quality group's macros (when asked), then the warning of the highest resolution.
void RunQualityMacros(PageContext* pContext, POEMCUIPPARAM pParam, bool bGroup);
// A colour space the application or the colour management keeps needs the highest qualities: with
// any other quality the colour space goes back to its first option.
void CheckColorSpaceForQuality(POEMCUIPPARAM pParam);

// Grey scale with black ink only ("JCLZQPrintInGrayScale" under PostScript), which prints no
// borderless photos.
bool BlackOnlyGrayscale(const PageContext* pContext, POEMCUIPPARAM pParam);

// A paper's two sides (tenths of a millimetre, in the order shown) as the pages label a document:
// "W × L mm" in whole millimetres (exactly half rounds down), else "W × L inches" in the locale's
// numbers; the unit string from the page's status module. False when a number cannot be formatted:
// the text then holds the unit alone after a blank.
bool FormatPaperSides(CZQUIBase& texts, LONG lFirst, LONG lSecond, bool bInches, PWSTR pszText, size_t cchText);

// The borderless twin of a "PaperSize" keyword as the helper file's borderless list names it (256
// characters); false without the rules or an entry for the paper.
bool BorderlessTwinFromRules(PageContext* pContext, PCWSTR pszPaper, PWSTR pszTwin);

}  // namespace zqpage
