// CZQXmlParserCommon: the driver's XML helper file, loaded through the XML document object model,
// with one node list per section and lookups by name.
//
// Each parser initialises COM for itself (single-threaded apartment) once it must parse a file, and
// must be used and destroyed on the thread that made it. The parsed document is shared with the
// process's other parsers of the same unchanged file (xmlrules/zqxmlshared.h) and never changed; the
// parser owns its lists; nodes handed out by the lookups belong to the caller.
#pragma once

#include <windows.h>
#include <msxml.h>

#include <string>
#include <unordered_map>
#include <vector>

#include "common/zqhandles.h"
#include "platform/zqwarnmodapi.h"
#include "xmlrules/zqxmlshared.h"

// Input, state and output fields of the print-quality evaluator of the rule engine.
struct ZQPrintQualityState {
    DWORD dwPhotoPaper;            // 2 after construction
    DWORD dwPhotoPaperResolution;  // 0 with ".Glimra", 1 with ".2400x1200dpi"
    DWORD dwQualityGroup;
    DWORD adwOption[6];
    DWORD dwSelectedGroupIndex;
    WCHAR szResolutionOption[80];
    WCHAR szFastResolutionOption[80];
    DWORD dwTurboMode;
    DWORD dwTurboOff;  // 1 after construction
    WCHAR szPrintQualityOption[80];
    WCHAR szLineScreenOption[80];
};

class CZQXmlParserCommon {
public:
    // The user's country code that picks the Japanese presets and device settings.
    static constexpr int kCountryJapan = 81;
    // Size in characters of the paper keyword that BGetBorderlessSettings hands out.
    static constexpr int kCchPaper = 256;

    CZQXmlParserCommon();
    ~CZQXmlParserCommon();
    CZQXmlParserCommon(const CZQXmlParserCommon&) = delete;
    CZQXmlParserCommon& operator=(const CZQXmlParserCommon&) = delete;

    // Loads the helper file at this full path, replacing what an earlier load kept. FALSE when the
    // file cannot be loaded (the loaded flag is then 0), when it has no "Tarnix" component (loaded
    // flag 1, no lists) or when the features or macros cannot be selected. A file without features
    // or macros loads: those lists stay null like any missing section's.
    BOOL BLoad(LPCWSTR pszPath);

    // The entry of the list whose "name" child has this text (case-blind). The walk ends at the first
    // entry without a readable, non-empty name.
    static BOOL BFindListEntry(IXMLDOMNodeList* pList, LPCWSTR pszName, IXMLDOMNode** ppNode);
    // The same answer for any list, through a name index built once per load for the feature and
    // macro lists: a lookup costs the same wherever its entry sits.
    BOOL BFindEntry(IXMLDOMNodeList* pList, LPCWSTR pszName, IXMLDOMNode** ppNode);
    // The element of the pattern below the context that has a "name" descendant with this text
    // (case-blind), or without a name the first element of the pattern. TRUE whenever the selection
    // could be made; the node is then null when nothing matched.
    static BOOL BSelectByName(IXMLDOMNode* pContext, LPCWSTR pszPattern, LPCWSTR pszName, IXMLDOMNode** ppNode);
    // The user's country code, 1 when it cannot be read.
    static int IGetCountryCode();

    // From this Borderless entry on through its following siblings: the first entry that names the
    // paper, as borderless or as bordered keyword, gives the other keyword (kCchPaper characters,
    // left alone when that text is empty) and its overspray on each edge. TRUE also when no entry
    // names the paper (outputs untouched); FALSE when reading failed.
    static BOOL BGetBorderlessSettings(IXMLDOMNode* pFirst, LPCWSTR pszPaper, PWSTR pszOtherPaper, FLOAT* pfLeft,
                                       FLOAT* pfRight, FLOAT* pfTop, FLOAT* pfBottom);
    // The roll sheet entry's limits in inches as local-heap texts the caller frees; a missing child
    // leaves its output untouched. TRUE when MaxJobPageHeight was read.
    static BOOL BGetRollLimits(IXMLDOMNode* pRoll, PWSTR* ppszMinJobPageWidth, PWSTR* ppszMaxJobPageWidth,
                               PWSTR* ppszRollRealWidth, PWSTR* ppszMinJobPageHeight, PWSTR* ppszMaxJobPageHeight);

    // 1 once a document was loaded; every user tests it before touching a list.
    BOOL BIsLoaded() const { return m_dwLoaded != 0; }
    void VSetLoaded(BOOL bLoaded) { m_dwLoaded = bLoaded ? 1 : 0; }
    LPCWSTR PszPath() const { return m_pszPath; }

    // The document and the matching component; null until loaded.
    IXMLDOMDocument* Document() const { return m_pDocument.Get(); }
    IXMLDOMNode* Component() const { return m_pComponent.Get(); }

    // Section lists; each is null when its section is missing.
    IXMLDOMNodeList* MacroList() const { return m_pMacroList.Get(); }
    IXMLDOMNodeList* FeatureList() const { return m_pFeatureList.Get(); }
    IXMLDOMNodeList* EventList() const { return m_pEventList.Get(); }
    IXMLDOMNodeList* PresetList() const { return m_pPresetList.Get(); }
    IXMLDOMNodeList* DeviceSettingList() const { return m_pDeviceSettingList.Get(); }
    IXMLDOMNodeList* RollWidthList() const { return m_pRollWidthList.Get(); }
    IXMLDOMNodeList* RollTypeList() const { return m_pRollTypeList.Get(); }
    IXMLDOMNodeList* BorderlessList() const { return m_pBorderlessList.Get(); }
    // A second, independent list over the macros, so that one walk does not disturb another.
    IXMLDOMNodeList* MacroList2() const { return m_pMacroList2.Get(); }
    IXMLDOMNodeList* JobEventList() const { return m_pJobEventList.Get(); }
    IXMLDOMNodeList* DeviceObjectList() const { return m_pDeviceObjectList.Get(); }
    IXMLDOMNodeList* DocSettingList() const { return m_pDocSettingList.Get(); }
    IXMLDOMNodeList* RollSheetList() const { return m_pRollSheetList.Get(); }
    IXMLDOMNodeList* GroupList() const { return m_pGroupList.Get(); }

    // ---- what one user action may cost --------------------------------------------------------
    // However the helper file's macros call each other, one user action (a change, a pop-up macro
    // run) gets at most this many macro runs, "call" elements followed, pop-ups shown and changes
    // told to the core driver as they happen, and at most a second of the engine's own time (the
    // time a pop-up waits for its answer not counted). The rule engine and the pop-up reader draw
    // from the one budget; the outermost entry of an action starts it afresh, and a budget that
    // runs out is traced once, naming what ran out.
    class CZQMacroAction;
    class CZQMacroPause;
    class CZQMacroBudget {
    public:
        static constexpr DWORD kMaxRuns = 512;
        static constexpr DWORD kMaxCalls = 16384;
        static constexpr DWORD kMaxPopups = 8;
        static constexpr DWORD kMaxReports = 512;
        static constexpr DWORD kMaxMs = 1000;
        bool BTakeRun() { return BTake(m_dwRuns, kMaxRuns, L"macro runs"); }
        bool BTakeCall() { return BTake(m_dwCalls, kMaxCalls, L"calls"); }
        bool BTakePopup() { return BTake(m_dwPopups, kMaxPopups, L"pop-ups"); }
        bool BTakeReport() { return BTake(m_dwReports, kMaxReports, L"reports to the core driver"); }
        DWORD DWRuns() const { return m_dwRuns; }
        DWORD DWCalls() const { return m_dwCalls; }
        // No run, no "call" or no time is left to this action: a walk stops.
        bool BExhausted();
        // What this action ran out of ("time", "calls", ...), null while it has not.
        const wchar_t* PszSpent() const { return m_pszSpent; }
        // The engine's time of one action (kMaxMs unless set otherwise).
        void VSetTimeLimit(DWORD dwMs) { m_dwMaxMs = dwMs; }

    private:
        friend class CZQMacroAction;
        friend class CZQMacroPause;
        bool BTake(DWORD& dwUsed, DWORD dwMax, const wchar_t* pszWhat);
        bool BOutOfTime();
        void VSpent(const wchar_t* pszWhat);
        DWORD m_dwActions = 0;
        DWORD m_dwRuns = 0;
        DWORD m_dwCalls = 0;
        DWORD m_dwPopups = 0;
        DWORD m_dwReports = 0;
        DWORD m_dwMaxMs = kMaxMs;
        ULONGLONG m_ullStart = 0;   // the action's start, less the time its pop-ups waited
        const wchar_t* m_pszSpent = nullptr;
    };
    // One user action's span on the budget; nested actions share the outermost one's budget.
    class CZQMacroAction {
    public:
        explicit CZQMacroAction(CZQMacroBudget& budget);
        ~CZQMacroAction() { --m_budget.m_dwActions; }
        CZQMacroAction(const CZQMacroAction&) = delete;
        CZQMacroAction& operator=(const CZQMacroAction&) = delete;

    private:
        CZQMacroBudget& m_budget;
    };
    // While a pop-up waits for its answer the action's clock stands still.
    class CZQMacroPause {
    public:
        explicit CZQMacroPause(CZQMacroBudget& budget) : m_budget(budget), m_ullStart(GetTickCount64()) {}
        ~CZQMacroPause() { m_budget.m_ullStart += GetTickCount64() - m_ullStart; }
        CZQMacroPause(const CZQMacroPause&) = delete;
        CZQMacroPause& operator=(const CZQMacroPause&) = delete;

    private:
        CZQMacroBudget& m_budget;
        ULONGLONG m_ullStart;
    };
    CZQMacroBudget& Budget() { return m_budget; }

    // ---- pop-up macros ------------------------------------------------------------------------
    // Pop-up readings nest through "call" at most this deep.
    static constexpr WORD kMaxPopupDepth = 6;
    // "macro_POP_UP..." (case-blind) names a pop-up macro.
    static BOOL BIsPopupMacroName(LPCWSTR pszMacro);
    // The macro of that name in the macro list: the pop-up flag follows its name, then its pop-up
    // elements are read (and shown at each "showpopup").
    void VRunPopupMacro(LPCWSTR pszMacro, HANDLE hPrinter);
    // Reads the node's pop-up elements in document order into the record; shows the pop-up at each
    // "showpopup" while the pop-up flag is set. The first element without name or text ends it.
    void VReadPopupElements(IXMLDOMNode* pNode, HANDLE hPrinter);
    // "MB_OK" 0, "MB_OKCANCEL" 1, "MB_YESNO" 4, "MB_ICONWARNING" 0x30, "MB_ICONINFORMATION" 0x40,
    // "TRUE" 1 give that value (TRUE); "MSG_BOX", "MODAL_DLG", "MODELESS_DLG" set the record's kind
    // and give none; anything else leaves the value alone. FALSE when no value was given.
    BOOL BParsePopupKeyword(LPCWSTR pszText, DWORD* pdwValue);
    // A "string_id" text: a string id of the status module, then ":"-separated tokens ("N" a line
    // feed, "T" a tab, anything else a blank). The first of a reading (ordinal 0) replaces the
    // record's message, later ones append.
    void VComposePopupText(HANDLE hPrinter, LPCWSTR pszStringId, DWORD dwOrdinal);
    // Shows the record as its kind says: a message box, or the warning module's dialog. Nothing
    // while the pop-up flag is clear.
    void VShowPopup(HANDLE hPrinter);
    // Puts the status module's path into the record and hands the record to the warning module.
    void VCallWarningModule(HANDLE hPrinter, HMODULE hModule);

    BOOL BPopupFlag() const { return m_popup.dwPopup != 0; }
    void VSetPopupFlag(BOOL bSet) { m_popup.dwPopup = bSet ? 1 : 0; }
    const ZQPopupRecord& PopupRecord() const { return m_popup; }

    // What the last pop-up answered.
    DWORD m_dwPopupResult = 0;
    // The print-quality evaluator's state and its three value buffers (media type, print-quality
    // group, print-quality import).
    ZQPrintQualityState m_quality = {};
    WCHAR m_szMediaTypeValue[256] = {};
    WCHAR m_szQualityGroupValue[256] = {};
    WCHAR m_szQualityImportValue[256] = {};

private:
    // A list's entries by name, in the walk's terms: the first entry of a name wins (case-blind) and
    // nothing from the first entry without a name on counts. Names with other than ASCII letters are
    // kept apart and compared one by one, as case-blind comparison folds a few of them into ASCII.
    struct NameIndex {
        struct Odd {
            LONG lPosition;
            std::wstring name;
            CZQComPtr<IXMLDOMNode> node;
        };
        struct Entry {
            LONG lPosition;
            CZQComPtr<IXMLDOMNode> node;
        };
        bool bBuilt = false;
        std::unordered_map<std::wstring, Entry> ascii;  // keyed by the name in ASCII capitals
        std::vector<Odd> odd;
        void VReset();
        void VBuild(IXMLDOMNodeList* pList);
        // FALSE when the index cannot answer (a non-ASCII name): the walk answers then.
        BOOL BFind(LPCWSTR pszName, IXMLDOMNode** ppNode) const;
    };

    void VRelease();

    // The pop-up being read and shown; its first field is the pop-up flag.
    ZQPopupRecord m_popup = {};
    // Pop-up readings under way (a "call" reads another macro's elements).
    WORD m_wPopupDepth = 0;
    CZQMacroBudget m_budget;

    DWORD m_dwLoaded = 0;
    // This object's CoInitializeEx succeeded and must be balanced.
    DWORD m_dwComInitialized = 0;
    PWSTR m_pszPath = nullptr;
    // The parsed file, shared with the parsers that load it unchanged; the document and the
    // component below are its, the lists and name indexes this parser's own.
    zqxmlshared::CZQParsedFileRef m_file;
    CZQComPtr<IXMLDOMDocument> m_pDocument;
    CZQComPtr<IXMLDOMNode> m_pComponent;
    CZQComPtr<IXMLDOMNodeList> m_pMacroList;
    CZQComPtr<IXMLDOMNodeList> m_pFeatureList;
    CZQComPtr<IXMLDOMNodeList> m_pEventList;
    CZQComPtr<IXMLDOMNodeList> m_pPresetList;
    CZQComPtr<IXMLDOMNodeList> m_pDeviceSettingList;
    CZQComPtr<IXMLDOMNodeList> m_pRollWidthList;
    CZQComPtr<IXMLDOMNodeList> m_pRollTypeList;
    CZQComPtr<IXMLDOMNodeList> m_pBorderlessList;
    CZQComPtr<IXMLDOMNodeList> m_pMacroList2;
    CZQComPtr<IXMLDOMNodeList> m_pJobEventList;
    CZQComPtr<IXMLDOMNodeList> m_pDeviceObjectList;
    CZQComPtr<IXMLDOMNodeList> m_pDocSettingList;
    CZQComPtr<IXMLDOMNodeList> m_pRollSheetList;
    CZQComPtr<IXMLDOMNodeList> m_pGroupList;
    NameIndex m_featureIndex;
    NameIndex m_macroIndex;
};
