// CZQUIBase: the base of every page, dialog and worker object. It is a CZQCommon (status module
// first) with the parameter blocks of the current core-driver call, the page's public devmode and
// window handles, one text buffer, and the helpers the pages share.
#pragma once

#include "common/zqcommon.h"
#include "common/zqpreviewwatermark.h"

struct PrinterCaps;
struct ZQUIDevmode;

// Control ids the pages and their previews share.
enum : int {
    IDC_PREVIEW_DIMENSIONS = 889,  // "Printed on:" label under the preview
    IDC_PREVIEW_DOCSIZE = 890,     // document-size label
};

// The user-interface languages the watermark texts come in.
inline constexpr int kUiLanguageCount = 25;

class CZQUIBase : public CZQCommon {
public:
    CZQUIBase();
    // The one virtual operation: objects are deleted through the base by their owner.
    virtual ~CZQUIBase();

    // ---- binding ------------------------------------------------------------------------------
    // Page assembly hands every page the sheet's block, the current OEMCUIPPARAM and the plug-in's
    // status module (shared, not owned); dialogs take theirs from their page.
    void VBind(POEMUIPSPARAM pSheetParam, POEMCUIPPARAM pCUIParam, HMODULE hResModule);
    void VSetResourceModule(HMODULE hResModule);
    POEMUIPSPARAM SheetParam() const { return m_pSheetParam; }
    POEMCUIPPARAM CUIParam() const { return m_pCUIParam; }

    // ---- texts and modules --------------------------------------------------------------------
    // The status module of the printer's driver, opened by printer name; TRUE when one is held.
    BOOL BLoadResourceModule(PCWSTR pszPrinterName);
    // The window's text from the string (256 / 512 characters), else the English text (at most
    // 255 / 511 characters); id -1 always takes the English text. The result of SetWindowTextW.
    BOOL BSetWindowTextRes(INT id, HWND hWnd, PCWSTR pszEnglish);
    BOOL BSetWindowTextResLong(INT id, HWND hWnd, PCWSTR pszEnglish);
    // The face name for watermark texts in the user's language (256 characters).
    // First caller: the Effects page.
    BOOL BGetLanguageFontName(PWSTR pszFace);
    // Default watermark size of "Confidential" (0), "Draft" (1) or "SAMPLE" (2) in the user's
    // language; 80 for anything else.
    // First caller: the Effects page's watermarks.
    static int IGetDefaultWatermarkSize(int iWhich);
    // The string in each of the 25 user-interface languages; TRUE when every one was found.
    static BOOL BLoadStringAllLanguages(HMODULE hModule, INT id, WCHAR (*paszOut)[kResStringChars]);
    // The text equals " [none]" (string 874) in one of the 25 languages, without regard to case.
    // First caller: the Effects page's watermark dialog.
    static BOOL BIsNoneInAnyLanguage(PCWSTR pszText, HMODULE hModule);

    // ---- printer and paper --------------------------------------------------------------------
    // The paper's size (tenths of a millimetre) at its position in the printer's paper list;
    // TRUE only when both dimensions are non-zero.
    static BOOL BGetPaperDimensions(WORD wPaper, LONG* plWidth, LONG* plLength, const PrinterCaps* pCaps);
    // Angle in degrees of the diagonal of the paper the document prints on (custom destination
    // size when the private devmode prints the document on another paper, else the public
    // devmode's paper; the sides follow the orientation); 52 when the paper is not listed.
    int IGetDiagonalAngle(const PrinterCaps* pCaps, const ZQUIDevmode* pPrivateDM = nullptr) const;
    // Whether the Finishing page and the accounting settings (the large-format Features page) are
    // part of this printer's document sheet; answered beside the page choice
    // (featurelogic/zqsheetstate.cpp).
    static BOOL BShowFinishingTab(POEMCUIPPARAM pParam);
    static BOOL BShowAccountingTab(POEMCUIPPARAM pParam);
    // Public duplex value (2 long edge, 3 short edge) of a pages-per-sheet code and orientation.
    // First caller: the Features page.
    static WORD WGetDuplexBinding(int iPagesPerSheet, short sOrientation, BOOL bFlipUp, BOOL bBooklet);

    // ---- per-user settings and registry -------------------------------------------------------
    // The value from the restricted user's own key (HKCU "Software\Quorvane\" + the printer's
    // "ZQRestrictedUserGuid" + "\" + sub-key), or, when that key does not exist, the printer's plain
    // printer data of that name. *ppData is a new local-heap block. FALSE without the user GUID.
    static BOOL BReadUserSetting(HANDLE hPrinter, PCWSTR pszSubKey, PCWSTR pszValue, BYTE** ppData,
                                 DWORD* pcbData);
    // The same under the default user's key (HKEY_USERS ".DEFAULT\...").
    static BOOL BReadDefaultUserSetting(HANDLE hPrinter, PCWSTR pszSubKey, PCWSTR pszValue, BYTE** ppData,
                                        DWORD* pcbData);
    // Printer data (per-user FALSE; at the root without a sub-key), or the restricted user's own
    // key (per-user TRUE). TRUE when the value was written.
    static BOOL BWriteUserSetting(HANDLE hPrinter, BOOL bPerUser, PCWSTR pszSubKey, PCWSTR pszValue,
                                  const BYTE* pData, DWORD cbData, DWORD dwType);
    // A new per-user GUID as printer data "ZQPresetRoot"\"ZQRestrictedUserGuid".
    static BOOL BCreateRestrictedUserGuid(HANDLE hPrinter);
    static BOOL BWriteRegValue(HKEY hRoot, PCWSTR pszSubKey, PCWSTR pszValue, DWORD dwType, const void* pData,
                               DWORD cbData);
    // A file name no other export uses: the computer name and two short hashes of new GUIDs.
    static constexpr size_t kExportNameChars = 277;
    static void VMakeUniqueExportName(PWSTR pszName);
    static BOOL BIsDirectory(PCWSTR pszPath);

    // ---- starting programs --------------------------------------------------------------------
    // The printer's toolbox, named through the page's OEMCUIPPARAM (the launch parameter is not
    // used). With the "PSServicesOption" option "LaunchVexaToolBox" and its maker's key: that key's
    // "Executable", and the answer is FALSE. Otherwise the driver's "ToolboxPath" (a path without
    // a drive lies in the driver directory's "3" folder) with the printer's name and the name of
    // the option "LaunchToolBox"; TRUE once the path is found and the driver directory read,
    // whether or not it starts. A path that is missing, empty, too long or would leave the "3"
    // folder starts nothing.
    static BOOL BLaunchToolbox(const CZQUIBase* pPage, WPARAM wParam);
    // The toolbox program of a "ToolboxPath" (MAX_PATH characters): a path with a drive as it
    // stands, any other below the version-3 folder of the printer-driver directory. FALSE for a
    // path that would leave that folder, or does not fit.
    static BOOL BToolboxProgram(PCWSTR pszToolboxPath, PWSTR pszProgram);
    static BOOL BHasVexaToolbox(const CZQUIBase* pPage);
    // Starts the command line once the default web browser passes: a DDE browser other than the
    // three the pages support, or a web-address handler without a command, refuses every start
    // with "Unable to perform the operation". A failed start is shown. The result of the start.
    static BOOL BLaunchProgram(WPARAM wParam, LPWSTR pszCommandLine);
    // Starts the command line without a check; a failed start shows "Launching of PU has Failed".
    static BOOL BRunCommandLine(WPARAM wParam, LPWSTR pszCommandLine);
    // The one way the plug-in starts a command line (a copy of at most 511 characters). A failed
    // start shows a message box without owner: the text (null: the command line), the caption
    // (null: the system's) and the box's type; the start's error stays the last error.
    static BOOL BStartCommandLine(PCWSTR pszCommandLine, PCWSTR pszFailText, PCWSTR pszFailCaption, UINT uFailType);

    // ---- windows ------------------------------------------------------------------------------
    // Inserts at level 1 (root), 2 (under the level-1 item inserted last) or 3 and deeper (under
    // the level-2 item inserted last), after the items before it; the item data is the level.
    // Each tree keeps its own "inserted last" items.
    static HTREEITEM HInsertTreeItem(HWND hTree, PCWSTR pszText, int iLevel);
    static void VFitComboDropWidth(HWND hCombo);
    // The width of the list's widest entry in its font (0 without entries).
    static LONG LWidestComboEntry(HWND hCombo);
    static BOOL BPlaceWindow(HWND hWnd, const RECT* pRecorded, int iWidth, int iHeight, float fTop);
    static void VGetChildRect(HWND hParent, HWND hChild, RECT* pRect, int* piWidth, int* piHeight);
    // First caller: the large-format Features page.
    static BOOL BIsAllDigits(PCWSTR pszText);
    // First caller: the large-format Features page.
    static BOOL BIsAllAlnum(PCWSTR pszText);
    // A text as "%1.2lf" in the UI language's number format, without trailing zeros or a trailing
    // decimal separator; a new local-heap string.
    static BOOL BFormatNumber(double dValue, PWSTR* ppszText);

    // ---- drawing ------------------------------------------------------------------------------
    // Where a picture of that size goes in a control's rectangle: shrunk to fit it, its proportions
    // kept, never grown; at the rectangle's top-left corner, or in its middle when bCentred.
    static RECT RcFitPicture(const RECT& rcRoom, SIZE picture, BOOL bCentred);
    // The bitmap through its mask (black where the bitmap shows), fitted into the control's rectangle.
    static void VDrawMaskedBitmap(HWND hDlg, HDC hdc, WORD wBitmap, WORD wMask, int iCtrlId, HINSTANCE hModule,
                                  const PAINTSTRUCT* pPaint);
    // The bitmap into the control's client rectangle, mirrored left to right when asked.
    static void VPaintItemBitmap(HWND hDlg, int iUnused, BOOL bMirror, WORD wBitmap, int iCtrlId,
                                 HINSTANCE hModule);
    // The bitmap fitted into the control's rectangle, in its middle, with its background colour
    // (top-left pixel) transparent; in a right-to-left dialog the bitmap keeps its own orientation.
    // First caller: the printing-shortcuts pages.
    static void VDrawItemTransparentBitmap(HWND hDlg, HINSTANCE hModule, BOOL bRtl, WORD wBitmap, int iCtrlId);
    static void VDrawTransparentBitmap(HDC hdc, HBITMAP hBitmap, int x, int y);

    // ---- preview labels and record ------------------------------------------------------------
    // "Printed on:" with the size of the paper the document prints on, in the unit of the
    // devmode's unit flag (0 inches, 1 millimetres).
    void VSetPreviewPaperText(const ZQUIDevmode* pWorkDM, const PrinterCaps* pCaps, HWND hLabel, int iMode);
    // "Document Size:" with the size of the document's own paper, in the same unit.
    void VSetPreviewDocSizeText(const ZQUIDevmode* pWorkDM, const PrinterCaps* pCaps, HWND hLabel);
    // The preview labels take the hand cursor and report a click to the page as a button click.
    static void VSubclassPreviewDimensions(POEMCUIPPARAM pParam, HWND hDlg, HANDLE hPrinter);
    static void VSubclassPreviewDocSize(POEMCUIPPARAM pParam, HWND hDlg, HANDLE hPrinter);
    // The watermark of the devmode's effects section for the preview; the diagonal angle mode takes
    // the paper's diagonal.
    void VSetWatermarkPreviewData(ZQPreviewWatermark* pTarget, const PrinterCaps* pCaps,
                                  const ZQUIDevmode* pDevmode) const;

protected:
    // The sheet's block of the property-sheet call (hPrinter, hModule, hOEMHeap, devmodes,
    // pOEMUserData = the sheet record).
    POEMUIPSPARAM m_pSheetParam = nullptr;
    // The OEMCUIPPARAM of the current call (pages: set by page assembly).
    POEMCUIPPARAM m_pCUIParam = nullptr;
    // The public devmode, kept by the page at WM_INITDIALOG.
    PDEVMODEW m_pPublicDM = nullptr;
    // A small block from the core driver's heap that a page's initialisation makes.
    PVOID m_pHeapBlock = nullptr;
    HWND m_hHelpButton = nullptr;
    HWND m_hPortraitPreview = nullptr;   // control 442
    HWND m_hLandscapePreview = nullptr;  // control 441
    // Printer or port name, as the page needs.
    WCHAR m_szText[kResStringChars] = {};

private:
    const DEVMODEW* PublicDevmode() const;
    BOOL BSetWindowTextResN(INT id, HWND hWnd, PCWSTR pszEnglish, bool bLong);
    void VSetSizeText(HWND hLabel, PCWSTR pszCaption, INT idCaption, LONG lWidth, LONG lLength, DWORD dwUnitMm);
};
