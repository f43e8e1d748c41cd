#include "xmlrules/zqeventhooks.h"

#include <cwchar>

#include "common/zqhandles.h"
#include "common/zqmodule.h"
#include "common/zqstorenames.h"
#include "common/zqstrings.h"
#include "common/zqtrace.h"
#include "xmlrules/zqrunswitches.h"
#include "xmlrules/zqxmldom.h"
#include "xmlrules/zqxmlutil.h"
#include "zqproc.h"

namespace {

const PCWSTR kEventNames[kExtEventCount] = {
    L"PrinterEventInitPre",  L"PrinterEventInitPost", L"PrinterEventDelete",   L"PrinterEventConnect",
    L"PrinterEventRefresh",  L"DocEventStartDocPre",  L"DocEventCreateDCPre",  L"DocEventCreateDCPost",
    L"DocEventStartDocPost", L"DocEventStartPage",    L"DocEventEndPage",      L"DocEventResetDCPre",
    L"DocEventResetDCPost",  L"DocPropSheetInit",     L"DocPropSheetDestroy",  L"DevPropSheetInit",
    L"DevPropSheetDestroy",  L"DriverEventInit",      L"DriverEventDelete",    L"CommonUIProp",
};

constexpr PCWSTR kUserListKey = zqsettings::kUserExtensionListKey;
constexpr PCWSTR kListNameValue = zqsettings::kDEMFileName;
constexpr PCWSTR kUserListValue = zqsettings::kUserExtensionList;

// A text value of a machine key in a new local string.
bool ReadMachineText(PCWSTR pszKey, PCWSTR pszValue, CZQLocalPtr<WCHAR>& text) {
    DWORD cb = 0;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, pszKey, pszValue, RRF_RT_REG_SZ, nullptr, nullptr, &cb) != ERROR_SUCCESS ||
        !text.Alloc(cb / sizeof(WCHAR) + 1))
        return false;
    return RegGetValueW(HKEY_LOCAL_MACHINE, pszKey, pszValue, RRF_RT_REG_SZ, nullptr, text.Get(), &cb) ==
               ERROR_SUCCESS &&
           text.Get()[0];
}

// The user's key of a driver's list name.
bool UserListKey(PCWSTR pszDriver, CZQLocalPtr<WCHAR>& key) {
    const size_t cch = wcslen(kUserListKey) + wcslen(pszDriver) + 1;
    return key.Alloc(cch) && ZQFormatText(key.Get(), cch, L"%ls%ls", kUserListKey, pszDriver) == S_OK;
}

// The list's name: the driver key's, else the user's copy of it.
bool ReadListName(HANDLE hPrinter, PCWSTR pszDriver, CZQLocalPtr<WCHAR>& name) {
    CZQLocalPtr<WCHAR> key;
    if (CZQRunSwitches::BGetDriverKey(hPrinter, pszDriver, key.Put()) &&
        ReadMachineText(key.Get(), kListNameValue, name))
        return true;
    DWORD type = REG_NONE;
    return UserListKey(pszDriver, key) &&
           CZQCommon::BReadUserRegValue(key.Get(), kUserListValue, reinterpret_cast<BYTE**>(name.Put()), nullptr,
                                             &type) &&
           type == REG_SZ;
}

// The file of the driver's directory, else of this module's; a name that would reach elsewhere
// names neither.
bool ModulePath(HANDLE hPrinter, PCWSTR pszName, CZQLocalPtr<WCHAR>& path) {
    if (!ZQIsPlainFileName(pszName)) return false;
    if (hPrinter && CZQCommon::BGetDriverDirFile(hPrinter, path.Put(), pszName)) return true;
    WCHAR self[MAX_PATH];
    const DWORD n = GetModuleFileNameW(zqmodule::Instance(), self, MAX_PATH);
    PWSTR slash = n && n < MAX_PATH ? wcsrchr(self, L'\\') : nullptr;
    if (!slash) return false;
    slash[1] = 0;
    const size_t cch = wcslen(self) + wcslen(pszName) + 1;
    return path.Alloc(cch) && ZQFormatText(path.Get(), cch, L"%ls%ls", self, pszName) == S_OK;
}

// A named event's index; -1 for any other text (names compare exactly).
int EventIndex(const CZQBstr& name) {
    if (!name.Get()) return -1;
    for (int i = 0; i < kExtEventCount; ++i)
        if (wcscmp(name.Get(), kEventNames[i]) == 0) return i;
    return -1;
}

bool KeepsModule(int iIndex) { return iIndex == kExtDocPropSheetInit || iIndex == kExtDevPropSheetInit; }
bool FreesKept(int iIndex) { return iIndex == kExtDocPropSheetDestroy || iIndex == kExtDevPropSheetDestroy; }

}  // namespace

PCWSTR ZQExtensionEventName(int iEvent) {
    return iEvent >= 0 && iEvent < kExtEventCount ? kEventNames[iEvent] : nullptr;
}

int ZQDocumentEventHook(INT iEsc) {
    switch (iEsc) {
        case DOCUMENTEVENT_STARTDOC: return kExtDocEventStartDocPre;
        case DOCUMENTEVENT_CREATEDCPRE: return kExtDocEventCreateDCPre;
        case DOCUMENTEVENT_CREATEDCPOST: return kExtDocEventCreateDCPost;
        case DOCUMENTEVENT_STARTDOCPOST: return kExtDocEventStartDocPost;
        case DOCUMENTEVENT_STARTPAGE: return kExtDocEventStartPage;
        case DOCUMENTEVENT_ENDPAGE: return kExtDocEventEndPage;
        case DOCUMENTEVENT_RESETDCPRE: return kExtDocEventResetDCPre;
        case DOCUMENTEVENT_RESETDCPOST: return kExtDocEventResetDCPost;
        default: return -1;
    }
}

int ZQPrinterEventHook(INT iEvent, bool bAfter) {
    switch (iEvent) {
        case PRINTER_EVENT_INITIALIZE: return bAfter ? kExtPrinterEventInitPost : kExtPrinterEventInitPre;
        case PRINTER_EVENT_DELETE: return kExtPrinterEventDelete;
        case PRINTER_EVENT_ADD_CONNECTION: return kExtPrinterEventConnect;
        case PRINTER_EVENT_CACHE_REFRESH: return kExtPrinterEventRefresh;
        default: return -1;
    }
}

int ZQDriverEventHook(DWORD dwEvent) {
    switch (dwEvent) {
        case DRIVER_EVENT_INITIALIZE: return kExtDriverEventInit;
        case DRIVER_EVENT_DELETE: return kExtDriverEventDelete;
        default: return -1;
    }
}

PCWSTR ZQDriverInfoName(DWORD dwLevel, const BYTE* pDriverInfo) {
    if (!pDriverInfo || dwLevel < 1 || dwLevel > 8) return nullptr;
    // Level 1 starts with the name, every later level with the version and then the name.
    return dwLevel == 1 ? reinterpret_cast<const DRIVER_INFO_1W*>(pDriverInfo)->pName
                        : reinterpret_cast<const DRIVER_INFO_2W*>(pDriverInfo)->pName;
}

void ZQFreeExtensionEventList(ExtensionEventList* pList) {
    if (!pList) return;
    for (ExtensionEventRecord& record : pList->aRecords) {
        for (ExtensionModuleNode* node = record.pFirst; node;) {
            ExtensionModuleNode* next = node->pNext;
            LocalFree(node->pszName);
            LocalFree(node);
            node = next;
        }
    }
    LocalFree(pList);
}

// ---------------------------------------------------------------------------------------------
// The list
// ---------------------------------------------------------------------------------------------
BOOL CZQEventTable::BLoad(PCWSTR pszPath, ExtensionEventList** ppList) {
    ZQ_TRACE("CZQEventTable::BLoad");
    if (!pszPath || !ppList) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    *ppList = nullptr;
    // The helper file's component plays no part in an extension list.
    m_parser.BLoad(pszPath);
    IXMLDOMDocument* document = m_parser.Document();
    if (!m_parser.BIsLoaded() || !document ||
        FAILED(zqxml::HrSelectNodes(document, L"//events/event", m_pEvents.Put())) || !m_pEvents)
        return FALSE;
    CZQLocalPtr<ExtensionEventList> list;
    LONG count = 0;
    if (!list.Alloc(1) || FAILED(m_pEvents->get_length(&count))) return FALSE;
    for (LONG i = 0; i < count; ++i) {
        if (m_pEvents->get_item(i, m_pEvent.Put()) != S_OK || !m_pEvent) continue;
        VReadEvent(list.Get());
    }
    *ppList = list.Release();
    return TRUE;
}

void CZQEventTable::VReadEvent(ExtensionEventList* pList) {
    LONG count = 0;
    CZQBstr name;
    m_iEvent = -1;
    if (FAILED(m_pEvent->get_childNodes(m_pChildren.Put())) || !m_pChildren ||
        FAILED(m_pChildren->get_length(&count)) || m_pChildren->get_item(0, m_pChild.Put()) != S_OK || !m_pChild ||
        FAILED(m_pChild->get_text(name.Put())) || (m_iEvent = EventIndex(name)) < 0)
        return;
    // A second event of the same name adds to the first one's list.
    ExtensionModuleNode** tail = &pList->aRecords[m_iEvent].pFirst;
    while (*tail) tail = &(*tail)->pNext;
    for (LONG i = 1; i < count; ++i) {
        CZQComPtr<IXMLDOMNode> holder;
        CZQLocalPtr<WCHAR> module;
        CZQLocalPtr<ExtensionModuleNode> node;
        // The entry must hold an element that holds the name; a name too long for the block would
        // name another file.
        if (m_pChildren->get_item(i, m_pChild.Put()) != S_OK || !m_pChild ||
            m_pChild->get_firstChild(holder.Put()) != S_OK || !holder || !module.Alloc(kExtModuleChars) ||
            !BGetNodeText(holder.Get(), module.Get(), static_cast<int>(kExtModuleChars - 2)) || !node.Alloc(1))
            return;
        node.Get()->pszName = module.Release();
        *tail = node.Release();
        tail = &(*tail)->pNext;
    }
}

// ---------------------------------------------------------------------------------------------
// The hooks
// ---------------------------------------------------------------------------------------------
CZQEventHooks::~CZQEventHooks() {
    VFreeKeptHookModules();
    ZQFreeExtensionEventList(m_pList);
}

BOOL CZQEventHooks::BLoadEventHooks(HANDLE hPrinter, PCWSTR pszDriverName) {
    if (m_pList) return TRUE;
    ZQ_TRACE("CZQEventHooks::BLoadEventHooks");
    CZQLocalPtr<WCHAR> printerDriver, listName, path;
    PCWSTR driver = CZQRunSwitches::BGetDriverName(hPrinter, printerDriver.Put()) ? printerDriver.Get() : pszDriverName;
    // The list lies in the driver's directory itself.
    if (!driver || !driver[0] || !ReadListName(hPrinter, driver, listName) ||
        !ModulePath(hPrinter, listName.Get(), path))
        return FALSE;
    CZQEventTable table;
    return table.BLoad(path.Get(), &m_pList);
}

template <typename Fn, typename... Args>
BOOL CZQEventHooks::BCallHooks(int iIndex, HANDLE hPrinter, Args... args) {
    if (!m_pList || iIndex < 0 || iIndex >= kExtEventCount) return 0;
    CZQLocalPtr<char> exportName;
    if (!CZQCommon::BWideToMultiByte(kEventNames[iIndex], exportName.Put(), CP_ACP)) return 0;
    LONG result = 0;
    for (const ExtensionModuleNode* node = m_pList->aRecords[iIndex].pFirst; node; node = node->pNext) {
        // Modules come from the driver's directory only: a name with a path or a way up is passed over.
        CZQLocalPtr<WCHAR> path;
        if (!ModulePath(hPrinter, node->pszName, path)) continue;
        CZQModule module(CZQCommon::HLoadLibraryEx(path.Get(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
        if (!module) continue;
        if (const Fn hook = ZQGetProc<Fn>(module.Get(), exportName.Get())) result = hook(args...);
        if (KeepsModule(iIndex) && m_kept.VSetAtGrow(m_kept.GetCount(), module.Get())) module.Release();
    }
    if (FreesKept(iIndex)) VFreeKeptHookModules();
    return result;
}

BOOL CZQEventHooks::BCallPrinterEventHooks(PCWSTR pszPrinterName, INT iEvent, DWORD dwFlags, LPARAM lParam,
                                           int iIndex) {
    if (iIndex < kExtPrinterEventInitPre || iIndex > kExtPrinterEventRefresh || !m_pList) return 0;
    CZQPrinterHandle printer;
    if (pszPrinterName) zqspool::Spooler().OpenPrinterW(const_cast<PWSTR>(pszPrinterName), printer.Put(), nullptr);
    return BCallHooks<PFN_ZQPrinterEventHook>(iIndex, printer.Get(), const_cast<PWSTR>(pszPrinterName), iEvent,
                                              dwFlags, lParam);
}

BOOL CZQEventHooks::BCallDocumentEventHooks(HANDLE hPrinter, HDC hdc, INT iEsc, ULONG cbIn, PVOID pvIn, ULONG cbOut,
                                            PVOID pvOut, PINT piResult, int iIndex) {
    if (iIndex < kExtDocEventStartDocPre || iIndex > kExtDocEventResetDCPost) return 0;
    return BCallHooks<PFN_ZQDocumentEventHook>(iIndex, hPrinter, hPrinter, hdc, iEsc, cbIn, pvIn, cbOut, pvOut,
                                               piResult);
}

BOOL CZQEventHooks::BCallPropSheetHooks(HANDLE hPrinter, PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam, int iIndex) {
    if (iIndex < kExtDocPropSheetInit || iIndex > kExtDevPropSheetDestroy) return 0;
    return BCallHooks<PFN_ZQPropSheetHook>(iIndex, hPrinter, pPSUIInfo, lParam);
}

BOOL CZQEventHooks::BCallDriverEventHooks(HANDLE hPrinter, DWORD dwEvent, DWORD dwLevel, LPBYTE pDriverInfo,
                                          LPARAM lParam, int iIndex) {
    if (iIndex < kExtDriverEventInit || iIndex > kExtDriverEventDelete) return 0;
    return BCallHooks<PFN_ZQDriverEventHook>(iIndex, hPrinter, dwEvent, dwLevel, pDriverInfo, lParam);
}

BOOL CZQEventHooks::BCallCommonUIPropHooks(DWORD dwMode, POEMCUIPPARAM pParam, int iIndex) {
    if (iIndex != kExtCommonUIProp) return 0;
    return BCallHooks<PFN_ZQCommonUIPropHook>(iIndex, pParam ? pParam->hPrinter : nullptr, dwMode, pParam);
}

void CZQEventHooks::VFreeKeptHookModules() {
    for (int i = 0; i < m_kept.GetCount(); ++i) FreeLibrary(static_cast<HMODULE>(m_kept.GetAt(i)));
    m_kept.VSetSize(0);
}

void CZQEventHooks::VStoreDEMFileData(HANDLE hPrinter) {
    CZQLocalPtr<WCHAR> driver, key, listName, userKey;
    if (!CZQRunSwitches::BGetDriverName(hPrinter, driver.Put()) ||
        !CZQRunSwitches::BGetDriverKey(hPrinter, nullptr, key.Put()) ||
        !ReadMachineText(key.Get(), kListNameValue, listName) || !UserListKey(driver.Get(), userKey))
        return;
    CZQRegKey user;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, userKey.Get(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, user.Put(),
                        nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExW(user.Get(), kUserListValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(listName.Get()),
                   static_cast<DWORD>((wcslen(listName.Get()) + 1) * sizeof(WCHAR)));
}

void CZQEventHooks::VStoreDEMFileName(HANDLE hPrinter, PCWSTR pszPrinterName) {
    CZQPrinterHandle opened;
    if (!hPrinter && pszPrinterName &&
        zqspool::Spooler().OpenPrinterW(const_cast<PWSTR>(pszPrinterName), opened.Put(), nullptr))
        hPrinter = opened.Get();
    if (hPrinter) VStoreDEMFileData(hPrinter);
}
