// CZQAutoConfig: "Update Now". It makes sure the maker's device-communication servers can be
// created (registering the ones that cannot, for the length of the call), asks the printer for
// its device objects and keeps every answer in the answer store "ZQBIDIInfo"; once the printer
// really answered, "DevSetUpdate" = 1 marks the store fresh until the answers are applied.
//
// The worker lives on the stack of one call of the feature logic. Of that logic it needs only the
// helper file's rule engine (its request list), given to the constructor, the printer, given with
// VSetPrinter, and the sheet's block; it stays below the feature logic for that reason.
//
// The answer store is the current user's key "Software\Quorvane\<ZQRestrictedUserGuid>\ZQBIDIInfo",
// written and read through the per-user settings of CZQUIBase: texts as REG_SZ, numbers as
// REG_DWORD as delivered, other octets as REG_BINARY. Values not answered yet hold placeholders:
// the text " ", the number 6400, or one zero byte for the accessories' device memory.
//
// The apply pass turns fresh answers into selections of the installable options among the
// sheet's items (the block given with VBind, reported in printer mode): the optional trays the
// driver's hidden table items describe, and the list "UserDefinedMedia" the paper pages read.
// Without a block, or one without the core driver's object, nothing is selected.
#pragma once

#include "common/zqhandles.h"
#include "common/zquibase.h"
#include "device/zqservercall.h"

class CZQXmlUiRules;

// One installable tray of the driver's tables: a size keyword "name-capacity-kind" of
// "ZQInstallableTraySize" or a name keyword "name-model" of "ZQInstallableTrayName".
struct InstallableTrayEntry {
    WCHAR szName[256];   // a tray feature, or an option keyword of one
    WCHAR szKind[256];   // size keywords: the kind of input ("LOWER_CASSETTE")
    WCHAR szModel[256];  // name keywords: a model text the printer reports
    DWORD dwCapacity;    // size keywords: sheets, a whole number
    int iKindCode;       // the input the kind stands for (1-12); 0 without a kind, -1 an unknown one
    int iInstalled;      // 1 when the printer reports the tray
};

// One entry of a request list: the answer's name and the object's identifier in dotted decimal,
// both local-heap copies. Lists are singly linked in the order they were built.
struct RequestNode {
    PWSTR pszName;
    PWSTR pszObjectId;
    RequestNode* pNext;
};
// Frees both texts of every node and the nodes.
void ZQFreeRequestList(RequestNode* pHead);

// One row of the device object table. Components are 16 bits wide: the maker's private prefix
// holds one above 255.
struct DeviceObjectRecord {
    WORD awComponents[20];
    PCWSTR pszName;  // also the answer's value name in the store
    DWORD dwCount;   // components used
};
inline constexpr int kZQDeviceObjectCount = 115;
const DeviceObjectRecord* ZQDeviceObjectTable();
// The identifier in dotted decimal (256 characters); no component is added once the text is 252
// characters long.
void ZQFormatObjectId(const DeviceObjectRecord& row, PWSTR pszText);

// Stores one answer of the device (value types of the servers: 0, 4, 5 texts or octets; 1, 2, 8
// numbers of four bytes; others not kept). A number of another size and a type not kept leave the
// store as it is (TRUE); FALSE when the store cannot be written, or for a UTF-8 text that is not
// well formed (nothing written).
BOOL BStoreDeviceAnswer(PCWSTR pszName, HANDLE hPrinter, const BYTE* pData, DWORD cbData, BYTE type);
// Every byte printable (0x20-0x7E), the last may be zero; TRUE for no bytes.
BOOL BIsPrintableAnswer(const BYTE* pData, DWORD cbData);

class CZQAutoConfig : public CZQUIBase {
public:
    static constexpr size_t kPathChars = 256;
    static constexpr int kPaperHandlers = 6;
    static constexpr int kInputTrays = 15;

    // The component files of the servers, in the order that carries the missing-pair rule.
    enum EComponent : int {
        kAgentProxy,     // zqagentps.dll
        kAgentProgram,   // zqagent.exe, a local server
        kLinkProgram,    // zqlink.exe
        kAgentLibrary,   // zqagent.dll, an in-process server
        kDevApi,         // zqdevapi.dll: the channel and the object list
        kLinkProxy,      // zqlinkps.dll
        kLinkLibrary,    // zqlink.dll
        kComponentCount
    };

    // Pairs this run registered.
    enum : DWORD { kRegisteredAgent = 1, kRegisteredDevApi = 2, kRegisteredLink = 4 };

    // Outcome of the last BUpdateNow.
    enum EUpdateState : DWORD {
        kStateFilesMissing = 0,  // a component pair is missing from the driver's files
        kStateNotReady = 1,      // no buffers, registration failed, no answer, or no placeholders
        kStateNotAnswered = 2,   // the query failed or the model name is still blank
        kStateDone = 3,
    };

    CZQAutoConfig();
    explicit CZQAutoConfig(CZQXmlUiRules* pRules);
    // Frees whatever the answer buffers still hold, ends a mini-installer and closes a session.
    ~CZQAutoConfig() override;

    // The printer the worker asks and stores for (handle may be null: records are read by name).
    void VSetPrinter(HANDLE hPrinter, PCWSTR pszPrinterName);
    HANDLE HPrinter() const { return m_hPrinter; }
    PCWSTR PrinterName() const { return m_szPrinterName; }
    EUpdateState State() const { return m_eState; }

    // ---- the session of the installation ------------------------------------------------------
    // COM in the multithreaded apartment (a thread in another apartment keeps it) and the printer
    // opened by name with all access into the worker's handle. FALSE leaves COM as it was and no
    // handle opened.
    BOOL BOpenSession();
    // Closes the session's printer handle and uninitialises COM only after an initialisation of
    // the session's own.
    void VCloseSession();
    // All four classes of the servers can be created now.
    BOOL BComponentsRegistered();
    // The maker's mini-installer among the driver's dependent files, started for the worker's
    // printer; it stays loaded until VEndMiniInstaller. FALSE when there is none or it failed.
    BOOL BStartMiniInstaller();
    // Ends a started mini-installer (which removes what it installed) and frees it.
    void VEndMiniInstaller();
    // "EACStatus" in the answer store of that printer (REG_DWORD); FALSE without a printer.
    BOOL BSetEACStatus(DWORD dwStatus, HANDLE hPrinter);

    // ---- installed options ----------------------------------------------------------------------
    // Hides the five items whose option keywords are the driver's tables (printer mode).
    void VHideInstallableItems();
    // Selects the feature's option at the index and reports it in the mode (the access layer's
    // selection by index): 0, 5 for a missing block or an index out of range, else the look-up's
    // status. The current option is not reported again.
    static DWORD DWSelectOptionIndex(POEMCUIPPARAM pParam, PCWSTR pszFeature, int iIndex, DWORD dwMode);
    // Writes "NotifyDate" (the current UTC time, plain printer data) when the list changed: lists of
    // texts each ended by its NUL and the list by an empty text, with their entry counts.
    void VNoteMediaListChange(PCWSTR pszOld, PCWSTR pszNew, DWORD dwOldCount, DWORD dwNewCount);
    void VNoteOutputBinListChange(PCWSTR pszOld, PCWSTR pszNew, DWORD dwOldCount, DWORD dwNewCount);

    // ---- trays and media -----------------------------------------------------------------------
    // Builds the tray table from the two table items and the inputs' answers; the number of entries.
    int IBuildTrayTable();
    // The first installed entry of the name among the first iCount entries, else the last one of
    // the name; FALSE when none has it.
    BOOL BFindTrayEntry(PCWSTR pszName, int iCount, int* piIndex);
    // Sets each tray feature of "ZQInstallableTrayFeatureName" from the tray table.
    void VSetInstallableTrays();
    // The tray answers of inputs 1-3 back to their empty values.
    void VBlankTrayAnswers();
    // "MEDIA13-NAME" to "MEDIA26-NAME" empty and no media mask; the result of the last write.
    BOOL BBlankMediaNames();
    // The names of the media the user defined on the printer, within "ZQMediaDMLRange" and the
    // printer's media mask, as "UserDefinedMedia" (at most 12, 63 characters each); without a name
    // the list goes from the store and the printer data. The number of names.
    int IUpdateUserDefinedMedia();
    int TrayCount() const { return m_iTrayCount; }
    const InstallableTrayEntry* TrayEntry(int i) const {
        return i >= 0 && i < m_iTrayCount ? m_ppTrayTable[i] : nullptr;
    }

    // ---- memory, duplex unit, hard disk, job retention -------------------------------------------
    // The printer language (the option index of "ZQPDLType"; 3 PostScript), which decides the memory
    // feature and the form of its keywords.
    void VSetLanguage(DWORD dwPdl) { m_dwPdl = dwPdl; }
    // Selects the memory option whose size range holds the installed memory (kilobytes).
    void VSetInstalledMemory(DWORD dwKilobytes);
    // Selects option 1 (installed) or 0 of a two-option feature, only when that changes it.
    void VSetInstalledFlag(PCWSTR pszFeature, BOOL bInstalled);
    // "JobRetention" and "DeviceIsVeltor" end on the highest option the hardware allows.
    void VRefreshVeltorItems();
    void VReselectAllowedOptions(OPTITEM* pItem);

    // ---- output accessories, finishers, output bins -----------------------------------------------
    // "AccessoryOutputBins" from the six device models (empty ones skipped).
    void VSetAccessoryOutputBins(PWSTR* ppszModels);
    BOOL BAccessoryMatches(PWSTR* ppszModels, PCWSTR pszOption);
    // "MailboxModes" from a reported mode 1-4; the selection's status (5 for another mode).
    DWORD DWSetMailboxMode(int iMode);
    // Writes 0 to each device's option count and asks the printer for the counts it knows.
    BOOL BQueryOptionCounts();
    // TRUE: the finisher features from each device's option models. FALSE: counts above 6 stored
    // as 6 and the option models blanked.
    void VApplyFinisherOptions(BOOL bApply);
    void VSetFinisherFeatures(PCWSTR pszDeviceModel, PWSTR* ppszOptionModels, int iCount);
    BOOL BFinisherMatches(PWSTR* ppszOptionModels, PCWSTR pszOption, int iCount);
    void VBlankOutputNames();
    // "OutputBinNames" from the bins within "ZQOutputBinDMLRange" (mailbox accessories only; at
    // most 14, 17 characters each); without a name the list goes from the store and the printer
    // data. The number of names.
    int IUpdateOutputBinNames();

    // ---- installed rolls ------------------------------------------------------------------------
    // Numbered form ("InstalledRolls" options without "_"): the option from inputs 1-3, then each
    // input's roll as "Roll<n>Name", "...Type", "...Width", "...CustomWidth".
    void VUpdateInstalledRolls();
    // Parts form ("Sheet_Roll"): the option whose rolls are all installed, then each part's roll as
    // "<part>Name" and so on.
    void VUpdateInstalledRollsWithNone();
    DWORD DWSetInstalledRolls();
    void VSetInstalledRollsByParts();
    void VUpdateRollMedia();
    void VUpdateRollMediaByParts();
    // A measured width (inches) snapped to the first standard width within 0.1 inch; FALSE (the
    // width unchanged) for a custom width.
    static BOOL BSnapRollWidth(float* pfInches);

    // ---- Update Now -----------------------------------------------------------------------------
    // TRUE only when the answers were stored and "DevSetUpdate" = 1 written. With components ready
    // the servers are neither checked nor registered.
    BOOL BUpdateNow(BOOL bComponentsReady);
    // Each component file found among the driver's dependent files goes into its path buffer
    // (kPathChars, when paths are given). FALSE when both files of the agent or of the link are
    // missing.
    BOOL BCheckComponentFiles(PWSTR* ppszPaths);
    // The first dependent file whose upper-cased path contains the upper-cased name, upper-cased
    // into pszOut (kPathChars); a path that does not fit is never taken.
    BOOL BFindDependentFile(PWSTR pszOut, PCWSTR pszFile);
    BOOL BIsDependentFile(PCWSTR pszFile);
    // The first of the seven paths that contains the name, without regard to case (into pszOut
    // when given).
    static BOOL BFindComponentPath(PWSTR* ppszPaths, PCWSTR pszName, PWSTR pszOut);
    // Registers the servers whose classes cannot be created; *pdwFlags tells which pairs. FALSE
    // when a class can be neither created nor registered.
    BOOL BRegisterComponents(PWSTR* ppszPaths, DWORD* pdwFlags);
    // Unregisters the pairs of the flags, each as far as it goes; FALSE when any step failed.
    BOOL BUnregisterComponents(PWSTR* ppszPaths, DWORD dwFlags);
    // Unregisters (paths and flags given), then frees and clears the seven path buffers.
    void VUnregisterComponents(PWSTR* ppszPaths, DWORD dwFlags);
    static BOOL BCallDllRegisterServer(PCWSTR pszPath);
    static BOOL BCallDllUnregisterServer(PCWSTR pszPath);
    // Runs the program with "-RegServer" ("-UnregServer") and waits until it has ended. The path
    // is quoted and passed as the application too; a path that does not fit is not run. TRUE when
    // the program was started.
    static BOOL BRunRegServer(PCWSTR pszPath);
    static BOOL BRunUnregServer(PCWSTR pszPath);
    // 0 no printer record or no agent, 1 the agent failed or the printer does not answer (also an
    // agent that did not answer within the time limit), 2 the printer answers.
    int IProbeDevice();
    // How long one call into a device server may take (zqserver::kCallLimitMs unless set). A server
    // that did not answer within it is taken as not answering for the rest of the worker's life:
    // its classes are neither created again nor registered.
    void VSetServerTimeLimit(DWORD dwMs) { m_dwServerLimitMs = dwMs; }
    bool BServerSilent() const { return m_bServerSilent; }
    // The communication error (strings 3890 and 3889 of the status module, else the English
    // texts); FALSE, nothing shown, without the status module.
    BOOL BShowCommError();

    // ---- device objects and the answer store ------------------------------------------------------
    // The helper file's request list ("//helper/DmlOIDs/dmldata"); it may be empty. FALSE when the
    // helper file is not loaded or has no such list.
    BOOL BReadRequestList(RequestNode** ppList);
    // The table's rows that the store already holds a value for, in batches of 20.
    BOOL BQueryAllObjects();
    // The request list's entries, in batches of 20 (the list stays the caller's).
    BOOL BQueryObjectList(RequestNode** ppList);
    // Writes every built-in placeholder, the media names and the trays' answers last; TRUE.
    BOOL BBlankAllValues();
    // FALSE: the placeholder " " for every listed name (FALSE when a write failed). TRUE: the
    // list-mode success test (every value readable up to "MODEL_NAME", which must not be " ").
    BOOL BListValues(RequestNode** ppList, BOOL bCheck);
    // FALSE: writes the placeholder. TRUE: the model name can be read and is not " ".
    BOOL BModelNameAnswer(BOOL bCheck);
    BOOL BSerialNumberAnswer();
    // Each writes its placeholders when bApply is FALSE. With TRUE the paper-handling, input-model
    // and input-capacity answers are collected into the worker's buffers (the capacities then set
    // the trays); the memory, media-path and disk answers are read where they set the installed
    // options.
    void VMemoryAnswer(BOOL bApply);
    void VMediaPathAnswer(BOOL bApply);
    void VDiskAnswer(BOOL bApply);
    void VPaperHandlingAnswer(BOOL bApply);
    void VInputModelAnswer(BOOL bApply);
    void VInputCapacityAnswer(BOOL bApply);
    // Applies fresh answers ("DevSetUpdate" reads 1) and writes "DevSetUpdate" = 0; the result of
    // that write, FALSE when the answers were not fresh. The table items are hidden first.
    BOOL VApplyDeviceUpdate();
    void VFreeAnswerBuffers();

    // What the apply pass collected (null or 0 when not answered; n counts from 1).
    PCWSTR PaperHandlerModel(int n) const { return n >= 1 && n <= kPaperHandlers ? m_apszHandlerModels[n - 1] : nullptr; }
    PCWSTR InputModel(int n) const { return n >= 1 && n <= kInputTrays ? m_apszInputModels[n - 1] : nullptr; }
    DWORD InputCapacity(int n) const { return n >= 1 && n <= kInputTrays ? m_adwInputCapacities[n - 1] : 0; }
    // The accessory value the paper-handling devices report (1-4), 0 when none does.
    DWORD AccessoryValue() const { return m_dwAccessoryValue; }

private:
    // The store, through the per-user settings.
    BOOL BWriteAnswer(PCWSTR pszName, DWORD dwType, const void* pData, DWORD cbData);
    BOOL BWriteTextPlaceholder(PCWSTR pszName);
    BOOL BWriteNumberPlaceholder(PCWSTR pszName);
    BOOL BReadAnswer(PCWSTR pszName, BYTE** ppData, DWORD* pcbData);
    BOOL BIsBlankAnswer(PCWSTR pszName, BOOL* pbBlank);
    // A text answer of at least two bytes that is not empty, copied into a new slot (kPathChars).
    void VCopyTextAnswer(PCWSTR pszName, PWSTR* ppSlot);
    BOOL BDeleteAnswer(PCWSTR pszName);
    bool BNumberAnswered(PCWSTR pszName, DWORD* pdwValue);
    // The present names (not empty, not " ") of the answers numbered iFirst to iLast (only those
    // of the mask's bits, when it has any), at most iMaxNames cut to cchName, as the list pszList in
    // the store; without a name the list goes from the store and the printer data. The count.
    int ICollectNames(PCWSTR pszFormat, int iFirst, int iLast, DWORD dwMask, int iMaxNames, size_t cchName,
                      PCWSTR pszList);
    // A roll field's text in the store and the printer data.
    void VWriteRollValue(PCWSTR pszPrefix, PCWSTR pszField, PCWSTR pszText);
    // One input's roll; the values are named from the prefix. pszUnloaded: the text of an empty
    // input when the status module lacks its own.
    void VUpdateRollInput(int iInput, PCWSTR pszPrefix, PCWSTR pszUnloaded);

    // The block carries the core driver's object and items.
    bool BHasItems() const;
    void VNoteListChange(PCWSTR pszOld, PCWSTR pszNew, DWORD dwOldCount, DWORD dwNewCount);
    void VFreeTrayTable();

    // Registration of one pair: its proxy, then its program or library; the pair's flag is set
    // once its proxy was registered.
    BOOL BRegisterPair(PWSTR* ppszPaths, int iProxy, int iProgram, int iLibrary, DWORD* pdwFlags, DWORD dwPair);
    BOOL BUnregisterPair(PWSTR* ppszPaths, int iProxy, int iProgram, int iLibrary);
    // Whether the class can be created now, within the time limit; the object goes again at once.
    bool BCreatable(REFCLSID clsid, REFIID iid);

    // The query: the channel opened on the printer, the nodes asked in batches, and the session
    // closed again.
    BOOL BQuery(const RequestNode* pList, PCWSTR pszLocalizationId, BOOL bListMode);

    CZQXmlUiRules* m_pRules = nullptr;
    DWORD m_dwPdl = 0;
    HANDLE m_hPrinter = nullptr;
    WCHAR m_szPrinterName[kPathChars] = {};
    DWORD m_dwStringCount = 0;  // entries of m_ppStrings
    EUpdateState m_eState = kStateFilesMissing;
    PWSTR* m_ppStrings = nullptr;  // owned strings of the accessories' options
    PWSTR m_apszHandlerModels[kPaperHandlers] = {};
    PWSTR m_apszOptionModels[kPaperHandlers] = {};
    PWSTR m_apszInputModels[kInputTrays] = {};
    DWORD m_adwInputCapacities[kInputTrays] = {};
    DWORD m_dwAccessoryValue = 0;
    int m_iTrayCount = 0;
    InstallableTrayEntry** m_ppTrayTable = nullptr;
    // The session's own: the printer it opened, and whether it initialised COM.
    bool m_bSessionPrinter = false;
    bool m_bSessionCom = false;
    CZQModule m_miniInstaller;
    DWORD m_dwServerLimitMs = zqserver::kCallLimitMs;
    bool m_bServerSilent = false;  // a device server did not answer in time
};
