// Extension hooks: a driver names, in an XML extension list in its directory, modules to be called
// on 20 of its events. Each module listed for an event is loaded from the driver's directory when
// the event reaches the plug-in object, its export named after the event is called with the
// arguments of the call, and the module is freed again; the property-sheet initialisation hooks
// keep theirs loaded until a sheet-destruction hook runs or the plug-in object goes.
//
// The list's name is the driver key's "DEMFileName" (HKLM), else the user's copy of it, "DEMFile"
// under "Software\Quorvane\DEMFileData\<driver>" (HKCU). Within the list the pattern
// "//events/event" selects the events: an event's first child holds the event name (exactly as
// below), each further child one module entry whose first child holds the file name. The lists
// are read once per plug-in object.
#pragma once

#include "common/zquibase.h"
#include "platform/zqextmodapi.h"
#include "xmlrules/zqptrarray.h"
#include "xmlrules/zqxmlparser.h"

// The events, in the extension list's order.
enum ZQExtensionEvent : int {
    kExtPrinterEventInitPre = 0,
    kExtPrinterEventInitPost,
    kExtPrinterEventDelete,
    kExtPrinterEventConnect,
    kExtPrinterEventRefresh,
    kExtDocEventStartDocPre,
    kExtDocEventCreateDCPre,
    kExtDocEventCreateDCPost,
    kExtDocEventStartDocPost,
    kExtDocEventStartPage,
    kExtDocEventEndPage,
    kExtDocEventResetDCPre,
    kExtDocEventResetDCPost,
    kExtDocPropSheetInit,
    kExtDocPropSheetDestroy,
    kExtDevPropSheetInit,
    kExtDevPropSheetDestroy,
    kExtDriverEventInit,
    kExtDriverEventDelete,
    kExtCommonUIProp,
    kExtEventCount
};

// Characters of a module name's block; names of up to 255 characters are read.
inline constexpr size_t kExtModuleChars = 258;

// One module name of an event's list (a zero-filled local block of kExtModuleChars).
struct ExtensionModuleNode {
    PWSTR pszName;
    ExtensionModuleNode* pNext;
};
struct ExtensionEventRecord {
    ExtensionModuleNode* pFirst;
};
// The 20 per-event module lists, in one zero-filled local block; names in file order.
struct ExtensionEventList {
    ExtensionEventRecord aRecords[kExtEventCount];
};

// The event's name as the list and the exports spell it; null for any other index.
PCWSTR ZQExtensionEventName(int iEvent);
// The event of a document event's escape code; -1 for the escapes that raise none.
int ZQDocumentEventHook(INT iEsc);
// The printer event's (before or after the plug-in's own work); -1 for the events that raise none.
int ZQPrinterEventHook(INT iEvent, bool bAfter);
// The driver event's; -1 for the events that raise none.
int ZQDriverEventHook(DWORD dwEvent);
// The driver's name in a driver event's record of that level; null when it has none.
PCWSTR ZQDriverInfoName(DWORD dwLevel, const BYTE* pDriverInfo);
void ZQFreeExtensionEventList(ExtensionEventList* pList);

// Reads one extension list: made on the stack for one load.
class CZQEventTable : public CZQUIBase {
public:
    // Loads the file and fills a new block of records, *ppList, which the caller frees. TRUE when
    // the "//events/event" selection gave a list, even when some events were passed over.
    BOOL BLoad(PCWSTR pszPath, ExtensionEventList** ppList);

private:
    // The current event element: its event's list gets the entries' names, up to the first entry
    // whose name cannot be read.
    void VReadEvent(ExtensionEventList* pList);

    CZQXmlParserCommon m_parser;
    CZQComPtr<IXMLDOMNodeList> m_pEvents;
    CZQComPtr<IXMLDOMNode> m_pEvent;
    CZQComPtr<IXMLDOMNodeList> m_pChildren;
    CZQComPtr<IXMLDOMNode> m_pChild;
    int m_iEvent = -1;
};

// The lists of one plug-in object and the modules its sheets' initialisation hooks keep.
class CZQEventHooks {
public:
    CZQEventHooks() = default;
    ~CZQEventHooks();
    CZQEventHooks(const CZQEventHooks&) = delete;
    CZQEventHooks& operator=(const CZQEventHooks&) = delete;

    // Builds the lists once: the driver's (the printer's, else the given one) extension list, in
    // the driver's directory (else beside this module). TRUE when the lists exist.
    BOOL BLoadEventHooks(HANDLE hPrinter, PCWSTR pszDriverName);
    // Raise the hooks of an event of that kind; each answers the last export's value, 0 when none
    // was called. The printer's driver directory holds the modules (printer events open the printer
    // by name for it); without a printer this module's directory does.
    BOOL BCallPrinterEventHooks(PCWSTR pszPrinterName, INT iEvent, DWORD dwFlags, LPARAM lParam, int iIndex);
    BOOL BCallDocumentEventHooks(HANDLE hPrinter, HDC hdc, INT iEsc, ULONG cbIn, PVOID pvIn, ULONG cbOut, PVOID pvOut,
                                 PINT piResult, int iIndex);
    BOOL BCallPropSheetHooks(HANDLE hPrinter, PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam, int iIndex);
    BOOL BCallDriverEventHooks(HANDLE hPrinter, DWORD dwEvent, DWORD dwLevel, LPBYTE pDriverInfo, LPARAM lParam,
                               int iIndex);
    BOOL BCallCommonUIPropHooks(DWORD dwMode, POEMCUIPPARAM pParam, int iIndex);
    // Frees the modules the sheets' initialisation hooks kept, of both kinds of sheet.
    void VFreeKeptHookModules();

    // Copies the driver key's "DEMFileName" into the user's "DEMFile", so that the user's later
    // processes find the list when the machine key cannot be read; the second form opens the
    // printer by name when no handle is given.
    static void VStoreDEMFileData(HANDLE hPrinter);
    static void VStoreDEMFileName(HANDLE hPrinter, PCWSTR pszPrinterName);

    const ExtensionEventList* List() const { return m_pList; }
    int KeptModuleCount() const { return m_kept.GetCount(); }

private:
    template <typename Fn, typename... Args>
    BOOL BCallHooks(int iIndex, HANDLE hPrinter, Args... args);

    ExtensionEventList* m_pList = nullptr;
    CZQPtrArray m_kept;  // HMODULE
};
