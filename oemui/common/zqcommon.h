// CZQCommon: the helper every page, dialog and worker carries: the status module with its texts,
// printer, driver, job and registry helpers, the device-capabilities lists, the byte stream, the
// option-item access layer and the private devmode's sections.
//
// Strings and lists a routine hands out are zero-filled local-heap blocks the caller frees with
// LocalFree (string lists entry by entry with VFreeStringList). BOOL routines set last error 13 on
// bad arguments and 122 on short buffers.
#pragma once

#include "platform/oemuiplatform.h"
#include "platform/zqcoremodapi.h"

struct PenStatus;

// Placement of a trackbar made over a placeholder control.
struct ZQTrackbarLayout {
    HWND hPlaceholder;  // control whose rectangle the trackbar takes
    HWND hTrackbar;     // out: the trackbar
    int iCtrlId;
    int iMin;
    int iMax;
    int iPos;
    int iTickFreq;
    HWND hInsertAfter;  // the trackbar follows this window in the tab order
};

// Status codes of the option-item access layer (0 = success).
enum : DWORD {
    ZQOPT_OK = 0,
    ZQOPT_CONVERSION = 1,    // the keyword cannot be converted
    ZQOPT_NOT_FOUND = 2,     // no such item, or the feature has no value
    ZQOPT_NO_MEMORY = 4,
    ZQOPT_BAD_ARGUMENT = 5,  // bad argument, index out of range, no items, no option type
    ZQOPT_READ_FAILED = 6,   // a keyword could not be read while listing
    ZQOPT_HIDDEN = 7,        // already hidden
    ZQOPT_DISABLED = 8,      // already disabled
    ZQOPT_NO_NAME = 10,      // name or keyword not found, or the option's name is not a text
};

class CZQCommon {
public:
    CZQCommon();
    ~CZQCommon();
    CZQCommon(const CZQCommon&) = delete;
    CZQCommon& operator=(const CZQCommon&) = delete;

    // ---- texts and modules ------------------------------------------------------------------
    static constexpr size_t kResStringChars = 256;
    static constexpr size_t kResStringLongChars = 512;

    // Loads the status module from the printer driver's directory as a data module, unless this
    // helper holds one already. bLoadedServes: the one the process loaded already serves, when it
    // loaded only one (the printers of the driver share the driver directory's one file), without
    // reading the driver record.
    void VLoadResourceModule(HANDLE hPrinter, bool bLoadedServes = false);
    HMODULE HResModule() const { return m_hResModule; }
    // String id of the status module in the UI language, else another sub-language of the same
    // primary language, else 1033; cut to the buffer (256 / 512 characters) and terminated.
    // TRUE for a non-empty text; an empty text leaves "" and FALSE; a missing one leaves the buffer
    // as it was and FALSE (the caller keeps its English fall-back).
    BOOL BLoadResString(INT id, PWSTR pszBuffer);
    BOOL BLoadResStringLong(INT id, PWSTR pszBuffer);
    // The string (256 characters), else the English text.
    void VLoadText(INT id, PCWSTR pszEnglish, PWSTR pszOut);
    // String id of a module in exactly one language, cut to the buffer and terminated; TRUE for a
    // non-empty text, FALSE (buffer "") otherwise.
    static BOOL BLoadResStringIn(HMODULE hModule, INT id, LANGID lang, PWSTR pszBuffer, size_t cchBuffer);
    // Every id asked of the status module (BLoadResString, BLoadResStringLong) also goes to the
    // watcher, null for none: the tests list the texts the pages and dialogs ask for.
    typedef void (*PFN_TextAsked)(void* pContext, INT id);
    static void VWatchTextsForTesting(PFN_TextAsked pfn, void* pContext);

    // Converted local-heap copies; FALSE and null on failure. The ANSI buffer is twice the needed
    // size plus two bytes.
    static BOOL BWideToMultiByte(PCWSTR pszWide, PSTR* ppszAnsi, UINT codePage);
    // The same without best-fit mapping: a text the code page cannot hold as it is, character for
    // character, is refused (ERROR_NO_UNICODE_TRANSLATION) rather than turned into look-alikes.
    static BOOL BWideToExactMultiByte(PCWSTR pszWide, PSTR* ppszAnsi, UINT codePage);
    static BOOL BMultiByteToWide(PWSTR* ppszWide, PCSTR pszAnsi, UINT codePage);
    // The date as a short date of the user's locale, as a new string; FALSE when formatting fails.
    static BOOL VFormatShortDate(const SYSTEMTIME* pDate, PWSTR* ppszText);
    // Megabytes from a memory option keyword; the rule differs for PostScript (language 3).
    static BOOL BParseMemoryRange(DWORD dwLanguage, PCSTR pszKeyword, DWORD* pdwLow, DWORD* pdwHigh);
    static int IParseMemorySize(PCSTR pszKeyword);

    // Fills the request's two paths (status module, help file) and calls the module's
    // "VDisplayDialog" with it.
    void VCallDisplayDialog(HANDLE hPrinter, ZQDisplayRequest request, HMODULE hModule);
    // At most 16 characters (pszName holds 17): the document name, else the job's submission
    // time, else "UNTITLED", made showable for the encoding.
    void VMakeJobName(HANDLE hPrinter, DWORD dwJobId, PCWSTR pszDocument, PWSTR pszName, PCWSTR pszEncoding);
    static constexpr size_t kJobNameChars = 17;
    // Replaces every character the printer's panel cannot show for the encoding ("UTF8",
    // "8bitEncoding", other) with "~"; a text of "~" only is emptied. TRUE when something changed.
    static BOOL BSanitizeJobName(PWSTR pszText, PCWSTR pszEncoding);

    // Loading modules and running dialogs under the plug-in module's activation context.
    static HMODULE HLoadLibrary(PCWSTR pszFile);
    static HMODULE HLoadLibraryEx(PCWSTR pszFile, HANDLE hReserved, DWORD dwFlags);
    static INT_PTR IDialogBoxParam(HINSTANCE hInstance, PCWSTR pszTemplate, HWND hOwner, DLGPROC pfnDlgProc,
                                   LPARAM lParam);

    // ---- printer, driver and job ------------------------------------------------------------
    // Without a handle the printer is opened by name (PRINTER_ALL_ACCESS, with the devmode) and
    // closed again. The records come in one local-heap block.
    static BOOL BGetPrinterInfo2(HANDLE hPrinter, PCWSTR pszName, PDEVMODEW pDevmode, PRINTER_INFO_2W** ppInfo);
    static BOOL BGetPrinterDriverInfo(HANDLE hPrinter, PCWSTR pszName, PDEVMODEW pDevmode, DRIVER_INFO_3W** ppInfo);
    static BOOL BGetDriverInfo3(HANDLE hPrinter, DRIVER_INFO_3W** ppInfo);
    static BOOL BGetPrinterName(HANDLE hPrinter, PWSTR* ppszName);
    static BOOL BIsLocalPrinter(HANDLE hPrinter);
    static BOOL BGetJobInfo2(HANDLE hPrinter, DWORD dwJobId, JOB_INFO_2W** ppInfo);
    static BOOL BIsRawOrTextJob(HANDLE hPrinter, DWORD dwJobId);
    // A data type whose jobs go to the printer as they are: it names "RAW" (any case) or is "TEXT".
    static BOOL BIsRawDatatype(PCWSTR pszDatatype);
    // The driver file's directory, a backslash and the file (the directory alone without a file).
    // A file that is not a plain file name (ZQIsPlainFileName) is refused: ERROR_INVALID_NAME.
    static BOOL BGetDriverDirFile(HANDLE hPrinter, PWSTR* ppszPath, PCWSTR pszFile);
    // The driver's machine key path (driver name null: the printer's driver; printer null: a
    // driver of this platform's environment).
    static BOOL BGetDriverKeyPath(HANDLE hPrinter, PCWSTR pszDriver, PWSTR* ppszKeyPath);
#ifdef _WIN64
    static constexpr WCHAR kPlatformEnvironment[] = L"Windows x64";
#else
    static constexpr WCHAR kPlatformEnvironment[] = L"Windows NT x86";
#endif
    static BOOL BGetHelpFilePath(HANDLE hPrinter, PWSTR* ppszPath);
    // 1-3 "LPT1:"-"LPT3:", 4 "USB", 5 "DOT4", 6 "FILE:", 8 a path (":\"), 0 other or unreadable.
    static int IGetPortKind(HANDLE hPrinter);
    // The printer's form of that paper number in tenths of a millimetre, else the devmode's paper
    // width and length; TRUE when the forms could be read.
    static BOOL BGetFormSize(HANDLE hPrinter, const DEVMODEW* pDevmode, WORD wPaper, LONG* plWidth, LONG* plLength);
    // The printer's forms (level 1) in one local-heap block; FALSE when it lists none.
    static BOOL BEnumForms(HANDLE hPrinter, FORM_INFO_1W** ppForms, DWORD* pdwCount);
    // One form of the printer (level 1) in a local-heap block; FALSE when it has none of that name.
    static BOOL BGetForm(HANDLE hPrinter, PCWSTR pszForm, FORM_INFO_1W** ppForm);
    static BOOL BHasEwsAddress(HANDLE hPrinter);
    // For a local printer whose data can be written: the network address behind its port stored
    // as "ZQEWSIPAddress" ("<address>,0"), or that value deleted when the port has none. 1 stored,
    // 0 none (deleted), -1 nothing done (a server's printer, read-only data, the store refused).
    // Built with the device subsystem's port lookup.
    static int IUpdateEwsAddress(POEMCUIPPARAM pParam);
    // TRUE when printer data cannot be written (a restricted user). *phPrinter receives the
    // handle that worked; when *pbReopened the caller closes it.
    static BOOL BIsPrinterDataReadOnly(HANDLE hPrinter, PCWSTR pszName, PDEVMODEW pDevmode, HANDLE* phPrinter,
                                       BOOL* pbReopened);
    // GetPrinterDataExW when both guards are set, else last error 13 and 6.
    static DWORD DWGetPrinterDataEx(HANDLE hPrinter, const void* pGuard1, const void* pGuard2, PCWSTR pszKey,
                                    PCWSTR pszValue, DWORD cbData, BYTE* pData);
    // First caller: the Features page.
    static BOOL BHasToolboxPath(HANDLE hPrinter);
    // The printer driver's "ToolboxPath" (HKLM, the caller's registry view, then the 64-bit one)
    // into MAX_PATH characters; FALSE when missing, empty or longer.
    static BOOL BReadToolboxPath(HANDLE hPrinter, PWSTR pszPath /* MAX_PATH */);
    // The printer data "ZQPresetRoot"\"ZQRestrictedUserGuid" that names a restricted user's own
    // key: only the 38-character registry form of a GUID ("{...}") is accepted, since the text
    // becomes part of a registry path.
    static constexpr size_t kGuidTextChars = 39;
    static BOOL BReadRestrictedUserGuid(HANDLE hPrinter, PWSTR pszGuid /* kGuidTextChars */);

    // ---- registry ---------------------------------------------------------------------------
    static BOOL BIsBorderlessFormName(PCWSTR pszForm);
    // Records the form as borderless (or removes that record) under the machine key the reader
    // asks; FALSE when the keys cannot be created, and nothing is recorded then.
    static BOOL BRecordBorderlessForm(PCWSTR pszForm, BOOL bBorderless);
    // A text value (REG_SZ or REG_EXPAND_SZ, not expanded) into a bounded buffer, always
    // terminated; FALSE and "" when the key or value is missing, not a text or longer.
    static BOOL BReadRegText(HKEY hRoot, PCWSTR pszKey, PCWSTR pszValue, REGSAM samExtra, PWSTR pszOut, DWORD cchOut);
    // A value of any type under the current user's subkey, in a new zero-filled local block of its
    // size with a terminating zero character after it (texts always end), which the caller frees.
    // The key is only opened: a reader leaves no empty keys behind.
    static BOOL BReadUserRegValue(PCWSTR pszSubKey, PCWSTR pszValue, BYTE** ppData, DWORD* pcbData = nullptr,
                                  DWORD* pdwType = nullptr);
    static BOOL BWriteUserBinaryValue(PCWSTR pszSubKey, PCWSTR pszValue, const void* pData, DWORD cbData);
    // The conversion run's flags under the run key (run id from the devmode's tag record, else
    // the process id).
    static BOOL BIsProcessingOndrel(const DEVMODEW* pDevmode);
    static BOOL BIsProcessingConvertDevmode(const DEVMODEW* pDevmode);
    // "ProcessingOndrel" of the run a private devmode block names (the process id's run for a
    // block without a run GUID, or none): the core driver hands the private block alone.
    static BOOL BIsOndrelRunOfPrivateDM(const VOID* pPrivateDM);
    // The run key path "Software\Quorvane\ZQProcID" + run id: the GUID's registry form, or the
    // process id for GUID_NULL. FALSE (and an empty path) when it does not fit.
    static constexpr size_t kRunKeyChars = 256;
    static BOOL BBuildRunKeyPath(const GUID& runGuid, PWSTR pszKey, size_t cchKey);
    // The run GUID the tag record of a private devmode block carries; GUID_NULL for none.
    static GUID GRunGuidOfPrivateDM(const VOID* pPrivateDM);
    // Printing help of a page (7 Paper/Quality, 9 document pages) offered by the driver and
    // installed on the machine.
    static BOOL BHasPrintingHelp(POEMCUIPPARAM pParam, int iPage);
    static void VLaunchPrintingHelp(POEMCUIPPARAM pParam, int iPage);

    // ---- windows and lists ------------------------------------------------------------------
    static void VShowControlHelp(HWND hWnd, DWORD dwCtrlId, DWORD dwHelpId, PCWSTR pszHelpFile);
    static BOOL BIsWindowVisible(HWND hWnd);
    // First caller: the colour pages' dry-time dialog.
    static BOOL BCreateTrackbar(HWND hDlg, HINSTANCE hInstance, ZQTrackbarLayout* pLayout);
    // Pages-per-sheet list position <-> setting (1-6), and a 1-3 selection kept else 0.
    static int IListIndexToSetting(int iIndex);
    static int ISettingToListIndex(int iSetting);
    static int IMapSelection1To3(int iValue);

    // ---- device-capabilities lists (printer name, port, public devmode, out count, out list) --
    // Zero-filled local-heap lists of count + 1 entries, the last zero; each query is retried
    // while the spooler answers -1. Names are 64 (sources 24) characters, always terminated.
    static constexpr size_t kPaperNameChars = 64;
    static constexpr size_t kBinNameChars = 24;
    static constexpr size_t kMediaNameChars = 64;
    static BOOL BGetPaperSizeNames(PCWSTR pszPrinter, PCWSTR pszPort, const DEVMODEW* pDevmode, DWORD* pdwCount,
                                   PWSTR* ppNames);
    static BOOL BGetPaperSizes(PCWSTR pszPrinter, PCWSTR pszPort, const DEVMODEW* pDevmode, DWORD* pdwCount,
                               POINT** ppSizes);
    static BOOL BGetPaperSizeIndices(PCWSTR pszPrinter, PCWSTR pszPort, const DEVMODEW* pDevmode, DWORD* pdwCount,
                                     WORD** ppPapers);
    static BOOL BGetPaperSourceNames(PCWSTR pszPrinter, PCWSTR pszPort, const DEVMODEW* pDevmode, DWORD* pdwCount,
                                     PWSTR* ppNames);
    static BOOL BGetPaperSourceIndices(PCWSTR pszPrinter, PCWSTR pszPort, const DEVMODEW* pDevmode,
                                       DWORD* pdwCount, WORD** ppBins);
    static BOOL BGetMediaTypeNames(PCWSTR pszPrinter, PCWSTR pszPort, const DEVMODEW* pDevmode, DWORD* pdwCount,
                                   PWSTR* ppNames);
    static BOOL BGetMediaTypeIndices(PCWSTR pszPrinter, PCWSTR pszPort, const DEVMODEW* pDevmode,
                                     DWORD* pdwCount, DWORD** ppMediaTypes);
    // Wait between two device-capabilities attempts (Sleep unless set; tests shorten it).
    typedef void (*PFN_RetryWait)(DWORD dwMilliseconds);
    static PFN_RetryWait SetCapsRetryWait(PFN_RetryWait pfn);

    // ---- byte stream (cursor into a record; readers stop at the record's end) ----------------
    static void VWriteByte(BYTE** ppCursor, BYTE value);
    static void VWriteWord(BYTE** ppCursor, WORD value);
    static void VWriteDword(BYTE** ppCursor, DWORD value);
    static void VWriteString(BYTE** ppCursor, PCWSTR pszText);
    // A read that does not fit reads nothing (0, FALSE, "") and sets the cursor to null; every
    // later read from a null cursor reads nothing, so one check after the record finds a short one.
    static BOOL BReadByte(BYTE** ppCursor, const BYTE* pEnd, BYTE* pValue);
    static DWORD DWReadDword(BYTE** ppCursor, const BYTE* pEnd);
    static void VReadString(BYTE** ppCursor, const BYTE* pEnd, PWSTR pszOut, size_t cchOut);

    // ---- option-item access layer -------------------------------------------------------------
    // The block is the current OEMCUIPPARAM; features are matched with the core driver's item
    // keyword (USERDATA.pKeyWordName, ANSI) without regard to case; mode 1 document properties,
    // 2 printer properties. Results are the ZQOPT_* codes.
    static DWORD DWFindOptItem(POEMCUIPPARAM pParam, PCWSTR pszFeature, POPTITEM* ppItem);
    static DWORD DWFindOptItemByPubId(POEMCUIPPARAM pParam, BYTE bPubId, int iOccurrence, POPTITEM* ppItem);
    static DWORD DWFindOemOptItemByPubId(POEMCUIPPARAM pParam, BYTE bPubId, POPTITEM* ppItem);
    static DWORD DWGetFeatureOption(POEMCUIPPARAM pParam, PCWSTR pszFeature, PWSTR* ppszOption);
    static DWORD DWGetFeatureOptionIndex(POEMCUIPPARAM pParam, PCWSTR pszFeature, int* piIndex);
    static DWORD DWGetOptionKeywords(POEMCUIPPARAM pParam, PCWSTR pszFeature, PWSTR** ppList, int* piCount,
                                     DWORD dwMode);
    static DWORD DWGetOptionNames(POEMCUIPPARAM pParam, PCWSTR pszFeature, PWSTR** ppList, int* piCount);
    static void VFreeStringList(PWSTR* pList, int iCount);
    // The option keywords this thread learned by walking a sheet's items are forgotten: its items are
    // built anew or the sheet ends.
    static void VForgetOptionKeywords();
    // The text cut at each "_" into a new list (an empty part for each empty piece).
    static DWORD ISplitAtUnderscore(POEMCUIPPARAM pParam, PCWSTR pszText, PWSTR** ppList, int* piCount);
    // The plug-in's roll items: roll 1 or 2 and "Name", "Type", "Width", "CustomWidth"; and a
    // device-answer value name such as "Roll1Width" or "SheetName". -1 otherwise.
    static int IRollFieldPubId(int iRoll, PCWSTR pszField);
    static int IRollValuePubId(PCWSTR pszValueName);
    // Options of an item with a list of options (a check box has two), 0 for any other item; and
    // the parameter of one of them (none for a check box's states or a position out of range).
    static int IGetOptionCount(const OPTITEM* pItem);
    static POPTPARAM PGetOptionParam(const OPTITEM* pItem, LONG lIndex);
    static int IGetOptionIndexByKeyword(POEMCUIPPARAM pParam, PCWSTR pszOption, PCWSTR pszFeature, POPTITEM pItem);
    static DWORD DWOptionKeywordToName(POEMCUIPPARAM pParam, PCWSTR pszFeature, PCWSTR pszKeyword, PWSTR* ppszName);
    static DWORD DWOptionNameToKeyword(POEMCUIPPARAM pParam, PCWSTR pszFeature, PCWSTR pszName, PWSTR* ppszKeyword);
    static DWORD DWSelectOptionByIndex(POEMCUIPPARAM pParam, PCWSTR pszFeature, int iIndex, DWORD dwMode);
    static DWORD DWSelectOptionByKeyword(POEMCUIPPARAM pParam, PCWSTR pszFeature, PCWSTR pszKeyword, DWORD dwMode);
    static DWORD DWSelectOptionByName(POEMCUIPPARAM pParam, POPTITEM pItem, PCWSTR pszName, DWORD dwMode);
    static DWORD DWSelectPubOption(POEMCUIPPARAM pParam, BYTE bPubId, int iOccurrence, LONG lSel);
    // Reports an item to the core driver (DrvUpdateUISetting) as it stands; every report goes through
    // here, since it may change the core driver's settings that a reuse scope keeps.
    static BOOL BReportItem(POEMCUIPPARAM pParam, POPTITEM pItem, DWORD dwPrevious, DWORD dwMode);
    static DWORD DWChangePubOption(POEMCUIPPARAM pParam, BYTE bPubId, int iOccurrence, LONG lSel);
    static DWORD DWGetPubSelectionName(POEMCUIPPARAM pParam, BYTE bPubId, PWSTR* ppszName);
    static DWORD DWHideOptItem(POEMCUIPPARAM pParam, PCWSTR pszFeature, DWORD dwMode);
    static DWORD DWHidePubOptItem(POEMCUIPPARAM pParam, BYTE bPubId, int iOccurrence);
    static DWORD DWDisableOptItem(POEMCUIPPARAM pParam, PCWSTR pszFeature);
    static DWORD DWDisablePubOptItem(POEMCUIPPARAM pParam, BYTE bPubId, int iOccurrence);
    static int IComboItemToOptionIndex(int iComboItem, HWND hCombo, const OPTITEM* pItem);
    static int IFindComboString(PCWSTR pszText, HWND hCombo);
    static BOOL BHasConflictingSelection(POEMCUIPPARAM pParam);
    static DWORD DWGetAllFeatureOptions(POEMCUIPPARAM pParam, PWSTR** ppKeywords, PWSTR** ppOptions, int* piCount);
    // The feature keywords of the core driver's items that have one, in item order (no driver call).
    static DWORD DWGetItemKeywords(POEMCUIPPARAM pParam, PWSTR** ppKeywords, int* piCount);
    static DWORD DWGetStandardItemValues(POEMCUIPPARAM pParam, PWSTR** ppNames, PWSTR** ppValues, int* piCount);

    // ---- private devmode sections: (output private devmode, public devmode, input private devmode).
    // A current input block is copied section by section, anything else gives the section's defaults;
    // a missing devmode sets last error 13 and changes nothing.
    void VMergePageSection(PVOID pOutDM, PDEVMODEW pPublicDM, const VOID* pInDM);
    void VMergeJobOptionsSection(PVOID pOutDM, PDEVMODEW pPublicDM, const VOID* pInDM);
    void VMergeEffectsSection(PVOID pOutDM, PDEVMODEW pPublicDM, const VOID* pInDM);
    void VMergeDocOptionsSection(PVOID pOutDM, PDEVMODEW pPublicDM, const VOID* pInDM);
    void VMergeFinishingSection(PVOID pOutDM, PDEVMODEW pPublicDM, const VOID* pInDM);
    void VMergeJobStorageSection(PVOID pOutDM, PDEVMODEW pPublicDM, const VOID* pInDM);
    void VMergePaperSourceSection(PVOID pOutDM, PDEVMODEW pPublicDM, const VOID* pInDM);
    void VMergeQuickSetSection(PVOID pOutDM, PDEVMODEW pPublicDM, const VOID* pInDM);
    void VMergeAppInfoSection(PVOID pOutDM, PDEVMODEW pPublicDM, const VOID* pInDM);
    void VMergeReservedBlocksSection(PVOID pOutDM, PDEVMODEW pPublicDM, const VOID* pInDM);
    void VMergeExtraEntrySection(PVOID pOutDM, PDEVMODEW pPublicDM, const VOID* pInDM);

    // Header identity and every section's defaults; the public devmode (optional) gives the page fields.
    BOOL BFillDefaultDevmode(PVOID pOutDM, PDEVMODEW pPublicDM);
    // All eleven merges plus the header values and the tag record the core keeps.
    BOOL BMergeDevmode(PVOID pOutDM, PDEVMODEW pPublicDM, const VOID* pInDM);

    // Whether the job-storage block is on and consistent (the Job Storage page is offered).
    static BOOL BIsJobStorageValid(const VOID* pPrivateDM);
    // Selection of the pages-per-sheet item the private devmode stands for.
    static int IGetNupIndex(const VOID* pPrivateDM);

    // ---- device status text ("ZQSTSSTR" of the printer's data, kept by its status monitor) ---------
    // iWhat 1-6: the status code of that pen; 10 and 20: header digits 4 and 3; 30: the code of the
    // installed cartridge set; any other: 1. -1 when the printer has no status text, no status
    // field, or one that cannot be decoded. Every call starts from cleared pen-kind marks. Only the
    // first 512 bytes of the text count; a longer text loses the last of them to the terminator.
    int IReadStatusString(HANDLE hPrinter, int iWhat);
    // The questions on a decoded status. The pen-status query clears the marks but those of kinds
    // 11 and 12 first; the cartridge-set query clears none.
    int IPenStatusCode(const PenStatus& status, int iPen);
    int ICartridgeSetCode(const PenStatus& status);
    static int IHeaderDigit3(const PenStatus& status);
    static int IHeaderDigit4(const PenStatus& status);
    // Sets the mark of pen n's kind (1-8); kinds without a mark set none.
    void VClassifyPen(const PenStatus& status, int iPen);
    // The marks, one per kind group, in this order.
    enum EPenMark : int { kMarkK1, kMarkK2, kMarkK3, kMarkK10, kMarkK11, kMarkK12, kMarkK4, kMarkK7, kMarkK5,
                          kMarkK8, kMarkK6, kMarkK17, kMarkK18, kPenMarkCount };

protected:
    // The paths the warning module's dialogs take: the status module in the driver's directory (its
    // bare file name when that cannot be read) and the driver's help file ("" without one).
    static void VGetDialogPaths(HANDLE hPrinter, WCHAR (&szCoreModPath)[256], WCHAR (&szHelpFile)[256]);

    // Resource (status) module; first member by design: pages copy it into their dialogs.
    HMODULE m_hResModule = nullptr;
    // This helper loaded m_hResModule itself and frees it.
    bool m_bOwnsResModule = false;
    // Pen-kind marks of the status-text questions, all cleared at first.
    BOOL m_abPenMarks[kPenMarkCount] = {};

private:
    void VMergeSection(int section, PVOID pOutDM, PDEVMODEW pPublicDM, const VOID* pInDM);
    BOOL BLoadString(INT id, PWSTR pszBuffer, size_t cchBuffer);
};
