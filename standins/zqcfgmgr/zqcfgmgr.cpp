// Stand-in of the maker's configuration manager: one session at a time over a configuration file
// of ours (zqcfgtree.h), every call logged, a few calls switchable to failure (zqcfgmgrrecord.h).
#include <windows.h>
#include <winspool.h>

#include <cwchar>
#include <cwctype>
#include <mutex>
#include <set>
#include <string>
#include <type_traits>
#include <vector>

#include "zqcfgmgrapi.h"
#include "zqcfgmgrrecord.h"
#include "zqcfgtree.h"
#include "zqstandinlog.h"
#include "zqstandinprinter.h"
#include "zqstandinrecord.h"

namespace {

using zqstandin::Quoted;

HMODULE g_hModule = nullptr;

// A caller that forgot to terminate its buffer gets nothing written.
constexpr size_t kMaxRoom = 1 << 16;
// Names in a list are separated by this character, which no item name holds.
constexpr wchar_t kSeparator = L';';

struct Session {
    CZQCfgFile config;
    bool open = false;
    std::wstring target;  // where an export is committed; empty outside an export
    ZQCfgPath context;
    HRESULT lastError = S_OK;
};

std::mutex g_lock;
Session g_session;

void Log(const std::wstring& line) {
    if (zqstandin::DWSetting(kZQCfgMgrRecordKey, L"Quiet", 0)) return;
    zqstandin::VAppendLog(kZQCfgMgrRecordKey, L"Local\\ZQStandInsCfgMgrLog", line);
}

std::wstring Text(const std::wstring& text) { return L"\"" + text + L"\""; }

// The room of a caller's buffer: its first zero ends the fill.
size_t Room(const wchar_t* buffer) {
    if (!buffer) return 0;
    for (size_t i = 0; i < kMaxRoom; ++i)
        if (buffer[i] == 0) return i + 1;
    return 0;
}

std::wstring RoomText(size_t room) { return L" [" + std::to_wstring(room) + L"]"; }

// Writes the text when it fits the room, else an empty text (when there is room for that).
bool Put(wchar_t* buffer, size_t room, const std::wstring& text) {
    if (text.size() + 1 > room) {
        if (room) buffer[0] = 0;
        return false;
    }
    wmemcpy(buffer, text.c_str(), text.size() + 1);
    return true;
}

std::wstring SwitchText(const wchar_t* name) {
    wchar_t text[MAX_PATH] = {};
    DWORD cb = sizeof text;
    if (RegGetValueW(HKEY_CURRENT_USER, kZQCfgMgrRecordKey, name, RRF_RT_REG_SZ, nullptr, text, &cb) != ERROR_SUCCESS)
        return {};
    return text;
}

bool Refused(const std::wstring& entry) {
    DWORD cb = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, kZQCfgMgrRecordKey, L"RefuseExport", RRF_RT_REG_MULTI_SZ, nullptr, nullptr,
                     &cb) != ERROR_SUCCESS || !cb)
        return false;
    std::vector<wchar_t> list(cb / sizeof(wchar_t) + 2, 0);
    if (RegGetValueW(HKEY_CURRENT_USER, kZQCfgMgrRecordKey, L"RefuseExport", RRF_RT_REG_MULTI_SZ, nullptr,
                     list.data(), &cb) != ERROR_SUCCESS)
        return false;
    for (const wchar_t* p = list.data(); *p; p += wcslen(p) + 1)
        if (_wcsicmp(p, entry.c_str()) == 0) return true;
    return false;
}

// A REG_BINARY ANSI path without terminator.
std::wstring AnsiPath(const std::vector<BYTE>& bytes) {
    if (bytes.empty()) return {};
    const int n = MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char*>(bytes.data()),
                                      static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring path(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0)
        MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char*>(bytes.data()), static_cast<int>(bytes.size()),
                            path.data(), n);
    while (!path.empty() && path.back() == 0) path.pop_back();
    return path;
}

std::wstring InstalledConfigFile(const std::wstring& driverName) {
    const std::wstring key = L"SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\" + driverName;
    DWORD cb = 0;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), L"ConfigFile", RRF_RT_REG_BINARY, nullptr, nullptr, &cb) !=
            ERROR_SUCCESS || !cb)
        return {};
    std::vector<BYTE> bytes(cb);
    if (RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), L"ConfigFile", RRF_RT_REG_BINARY, nullptr, bytes.data(), &cb) !=
        ERROR_SUCCESS)
        return {};
    bytes.resize(cb);
    return AnsiPath(bytes);
}

// The printer's configuration file: the installed one, else the driver's ".cfg" file. With
// bServedHere, only for a printer whose driver carries this module and a ".cfg" file.
std::wstring PrinterConfigFile(const wchar_t* printer, bool bServedHere) {
    zqstandin::DriverFiles driver;
    if (!zqstandin::ReadDriverFiles(printer, driver)) return {};
    const std::wstring self = zqstandin::ModulePath(g_hModule);
    std::wstring cfg;
    bool served = false;
    for (const std::wstring& file : driver.dependentFiles) {
        if (_wcsicmp(file.c_str(), self.c_str()) == 0) served = true;
        if (cfg.empty() && zqstandin::EndsWithNoCase(file, L".cfg")) cfg = file;
    }
    if (bServedHere && (!served || cfg.empty())) return {};
    const std::wstring installed = InstalledConfigFile(driver.driverName);
    return installed.empty() ? cfg : installed;
}

// Whether the printer finished an installation: its data "InstallationComplete" is there from the
// first finishing step on. A printer without it is being initialised for the first time.
bool Installed(const wchar_t* printer) {
    HANDLE hPrinter = nullptr;
    if (!OpenPrinterW(const_cast<LPWSTR>(printer), &hPrinter, nullptr)) return false;
    DWORD value = 0, type = 0, needed = 0;
    const DWORD rc = GetPrinterDataW(hPrinter, const_cast<LPWSTR>(L"InstallationComplete"), &type,
                                     reinterpret_cast<BYTE*>(&value), sizeof value, &needed);
    ClosePrinter(hPrinter);
    return rc != ERROR_FILE_NOT_FOUND;
}

// The one configuration of a set of files, compared without case; empty when there is none or more.
std::wstring OneFile(const std::set<std::wstring>& files) { return files.size() == 1 ? *files.begin() : std::wstring(); }

// The configuration of a queue name. An empty name stands for the local printer being initialised:
// of the local printers this module serves, those that never finished an installation, else all of
// them; either way they must agree on one file.
std::wstring QueueConfigFile(const wchar_t* source, std::wstring& why) {
    const std::wstring forced = SwitchText(L"ConfigFile");
    if (!forced.empty()) return forced;
    if (source && *source) {
        std::wstring file = PrinterConfigFile(source, false);
        if (file.empty()) why = L"the printer has no configuration";
        return file;
    }
    DWORD needed = 0, count = 0;
    EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 4, nullptr, 0, &needed, &count);
    std::vector<BYTE> list(needed);
    std::set<std::wstring> files, pending;
    if (needed && EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 4, list.data(), needed, &needed, &count)) {
        const auto* printers = reinterpret_cast<const PRINTER_INFO_4W*>(list.data());
        for (DWORD i = 0; i < count; ++i) {
            std::wstring file = PrinterConfigFile(printers[i].pPrinterName, true);
            for (wchar_t& c : file) c = towlower(c);
            if (file.empty()) continue;
            files.insert(file);
            if (!Installed(printers[i].pPrinterName)) pending.insert(file);
        }
    }
    const std::wstring file = pending.empty() ? OneFile(files) : OneFile(pending);
    if (file.empty())
        why = files.empty() ? L"no local printer has a configuration" : L"the local printers name several configurations";
    return file;
}

std::wstring ExportTicketLocation(const wchar_t* printer) {
    HANDLE hPrinter = nullptr;
    if (!OpenPrinterW(const_cast<LPWSTR>(printer), &hPrinter, nullptr)) return {};
    DWORD type = 0, needed = 0;
    GetPrinterDataW(hPrinter, const_cast<LPWSTR>(L"ExportTicketLocation"), &type, nullptr, 0, &needed);
    std::vector<BYTE> bytes(needed);
    const bool read = needed && GetPrinterDataW(hPrinter, const_cast<LPWSTR>(L"ExportTicketLocation"), &type,
                                                bytes.data(), needed, &needed) == ERROR_SUCCESS;
    ClosePrinter(hPrinter);
    return read ? AnsiPath(bytes) : std::wstring();
}

// Opens a configuration for the session; the reason when it fails.
bool Open(const std::wstring& file, std::wstring& why) {
    g_session = Session();
    if (file.empty()) {
        g_session.lastError = HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
        return false;
    }
    std::wstring reason;
    if (!g_session.config.BLoad(file, reason)) {
        why = Quoted(file.c_str()) + L" " + reason;
        g_session.lastError = HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
        return false;
    }
    g_session.open = true;
    return true;
}

ZQCfgNode* Current() { return g_session.open ? g_session.config.Find(g_session.context) : nullptr; }

// An item of the current context (empty name: the context itself).
ZQCfgNode* Item(const wchar_t* name) {
    ZQCfgNode* node = Current();
    if (!node || !name || !*name) return node;
    return node->Child(name);
}

std::wstring Outcome(LONG result, const std::wstring& why) {
    return L" = " + std::to_wstring(result) + (why.empty() ? L"" : L" (" + why + L")");
}

// Enters the items of a path, spelt as the configuration spells them; false when one is missing.
bool Enter(const ZQCfgPath& path) {
    ZQCfgNode* node = g_session.open ? g_session.config.Find({}) : nullptr;
    ZQCfgPath spelt;
    for (const std::wstring& name : path) {
        node = node ? node->Child(name) : nullptr;
        if (!node) return false;
        spelt.push_back(node->name);
    }
    if (spelt.empty()) return false;
    g_session.context = spelt;
    return true;
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_hModule = hInstance;
        DisableThreadLibraryCalls(hInstance);
    }
    return TRUE;
}

HRESULT WINAPI DllRegisterServer() {
    const HRESULT hr = static_cast<HRESULT>(zqstandin::DWSetting(kZQCfgMgrRecordKey, L"RegisterResult", S_OK));
    wchar_t text[16];
    swprintf(text, 16, L"0x%08lX", static_cast<unsigned long>(hr));
    Log(std::wstring(L"DllRegisterServer() = ") + text);
    return hr;
}

HRESULT WINAPI DllUnregisterServer() {
    Log(L"DllUnregisterServer() = 0x00000000");
    return S_OK;
}

LONG WINAPI DMCStartConfig(PCWSTR pszSource, DWORD dwMode, PWSTR pszContext, DWORD dwReserved) {
    std::lock_guard<std::mutex> guard(g_lock);
    const size_t room = Room(pszContext);
    std::wstring why;
    LONG result = 0;
    if (zqstandin::DWSetting(kZQCfgMgrRecordKey, L"FailStartConfig", 0)) {
        why = L"switched to fail";
    } else if (!pszSource) {
        why = L"no source";
    } else {
        std::wstring file;
        if (dwMode == ZQCFG_MODE_TICKET) file = pszSource;
        else if (dwMode == ZQCFG_MODE_PRINTER_EVENT || dwMode == ZQCFG_MODE_UPGRADE) file = QueueConfigFile(pszSource, why);
        else why = L"unknown mode";
        if (why.empty() && Open(file, why)) {
            result = 1;
            Put(pszContext, room, file);
        }
    }
    Log(L"DMCStartConfig(" + Quoted(pszSource) + L", " + std::to_wstring(dwMode) + L", " +
        std::to_wstring(dwReserved) + L")" + RoomText(room) + Outcome(result, why));
    return result;
}

LONG WINAPI DMCEndConfig() {
    std::lock_guard<std::mutex> guard(g_lock);
    const LONG result = g_session.open ? 1 : 0;
    g_session = Session();
    Log(L"DMCEndConfig()" + Outcome(result, L""));
    return result;
}

LONG WINAPI DMCSetContext(PCWSTR pszPath) {
    std::lock_guard<std::mutex> guard(g_lock);
    const LONG result = Enter(ZQSplitCfgPath(pszPath ? pszPath : L"")) ? 1 : 0;
    Log(L"DMCSetContext(" + Quoted(pszPath) + L")" + Outcome(result, L""));
    return result;
}

LONG WINAPI DMCSetContextRelative(PCWSTR pszName) {
    std::lock_guard<std::mutex> guard(g_lock);
    ZQCfgNode* node = Current();
    LONG result = 0;
    if (node && pszName && *pszName && node->Child(pszName)) {
        g_session.context.push_back(node->Child(pszName)->name);
        result = 1;
    }
    Log(L"DMCSetContextRelative(" + Quoted(pszName) + L")" + Outcome(result, L""));
    return result;
}

LONG WINAPI DMCGetContext(PWSTR pszPath) {
    std::lock_guard<std::mutex> guard(g_lock);
    const size_t room = Room(pszPath);
    const std::wstring path = ZQJoinCfgPath(g_session.context);
    const LONG result = g_session.open && Put(pszPath, room, path) ? 1 : 0;
    Log(L"DMCGetContext()" + RoomText(room) + Outcome(result, L"") + L" " + Text(path));
    return result;
}

LONG WINAPI DMCEnumFeatures(PCWSTR pszName, PWSTR pszList) {
    std::lock_guard<std::mutex> guard(g_lock);
    const size_t room = Room(pszList);
    ZQCfgNode* node = Item(pszName);
    std::wstring list, why;
    LONG result = 0;
    if (node) {
        for (const auto& child : node->children) list += (list.empty() ? L"" : std::wstring(1, kSeparator)) + child->name;
        if (list.empty()) list = kZQCfgEmptyList;
        result = Put(pszList, room, list) ? 1 : 0;
        if (!result) why = L"list too long";
    }
    Log(L"DMCEnumFeatures(" + Quoted(pszName) + L")" + RoomText(room) + Outcome(result, why) +
        (result ? L" " + Text(list) : L""));
    return result;
}

LONG WINAPI DMCEnumListToken(PWSTR pszToken, PWSTR pszList) {
    std::lock_guard<std::mutex> guard(g_lock);
    const size_t room = Room(pszToken);
    const size_t listRoom = Room(pszList);
    LONG result = 0;
    std::wstring token, why;
    if (listRoom > 1 && wcscmp(pszList, kZQCfgEmptyList) != 0) {
        const size_t length = listRoom - 1;
        const wchar_t* end = wcschr(pszList, kSeparator);
        const size_t cut = end ? static_cast<size_t>(end - pszList) : length;
        token.assign(pszList, cut);
        if (Put(pszToken, room, token)) {
            // The rest of the list moves to the front, in place.
            const size_t next = end ? cut + 1 : length;
            wmemmove(pszList, pszList + next, length - next + 1);
            result = 1;
        } else {
            why = L"token too long";
        }
    }
    Log(L"DMCEnumListToken()" + RoomText(room) + Outcome(result, why) + (result ? L" " + Text(token) : L""));
    return result;
}

LONG WINAPI DMCGet(PCWSTR pszName, PWSTR pszValue) {
    std::lock_guard<std::mutex> guard(g_lock);
    const size_t room = Room(pszValue);
    const ZQCfgNode* node = pszName && *pszName ? Item(pszName) : nullptr;
    LONG result = 0;
    std::wstring why;
    if (node && node->hasValue) {
        result = Put(pszValue, room, node->value) ? 1 : 0;
        if (!result) why = L"value too long";
    } else if (room) {
        pszValue[0] = 0;
    }
    Log(L"DMCGet(" + Quoted(pszName) + L")" + RoomText(room) + Outcome(result, why) +
        (result ? L" " + Text(node->value) : L""));
    return result;
}

LONG WINAPI DMCSet(PCWSTR pszName, PCWSTR pszValue) {
    std::lock_guard<std::mutex> guard(g_lock);
    LONG result = 0;
    if (g_session.open && pszName && *pszName && pszValue) {
        ZQCfgPath path = g_session.context;
        path.push_back(pszName);
        g_session.config.VSetValue(path, pszValue);
        result = 1;
    }
    Log(L"DMCSet(" + Quoted(pszName) + L", " + Quoted(pszValue) + L")" + Outcome(result, L""));
    return result;
}

LONG WINAPI DMCGetNamedFeatureAttribute(PCWSTR pszName, PCWSTR pszAttribute, PWSTR pszValue) {
    std::lock_guard<std::mutex> guard(g_lock);
    const size_t room = Room(pszValue);
    const ZQCfgNode* node = pszName && *pszName ? Item(pszName) : nullptr;
    const std::wstring* value = node && pszAttribute ? node->Attribute(pszAttribute) : nullptr;
    const LONG result = value && Put(pszValue, room, *value) ? 1 : 0;
    if (!result && room) pszValue[0] = 0;
    Log(L"DMCGetNamedFeatureAttribute(" + Quoted(pszName) + L", " + Quoted(pszAttribute) + L")" + RoomText(room) +
        Outcome(result, L"") + (result ? L" " + Text(*value) : L""));
    return result;
}

LONG WINAPI DMCStartExport(PCWSTR pszPrinterName, PCWSTR pszKind, DWORD dwFlags) {
    std::lock_guard<std::mutex> guard(g_lock);
    std::wstring why;
    LONG result = 0;
    if (zqstandin::DWSetting(kZQCfgMgrRecordKey, L"FailStartExport", 0)) {
        why = L"switched to fail";
    } else if (!pszPrinterName || !*pszPrinterName) {
        why = L"no printer";
    } else {
        std::wstring file = SwitchText(L"ConfigFile");
        if (file.empty()) file = PrinterConfigFile(pszPrinterName, false);
        if (file.empty()) why = L"the printer has no configuration";
        if (why.empty() && Open(file, why)) {
            const std::wstring ticket = ExportTicketLocation(pszPrinterName);
            g_session.target = ticket.empty() ? file : ticket;
            result = 1;
        }
    }
    Log(L"DMCStartExport(" + Quoted(pszPrinterName) + L", " + Quoted(pszKind) + L", " + std::to_wstring(dwFlags) +
        L")" + Outcome(result, why));
    return result;
}

LONG WINAPI DMCSetContextPRV(PCWSTR pszContext) {
    std::lock_guard<std::mutex> guard(g_lock);
    // "factory/..." and "current/..." name the same items here: the configuration lists them and
    // takes the exported values.
    ZQCfgPath path = ZQSplitCfgPath(pszContext ? pszContext : L"");
    LONG result = 0;
    if (!g_session.target.empty() && !path.empty() &&
        (_wcsicmp(path[0].c_str(), L"factory") == 0 || _wcsicmp(path[0].c_str(), L"current") == 0)) {
        path.erase(path.begin());
        result = Enter(path) ? 1 : 0;
    }
    Log(L"DMCSetContextPRV(" + Quoted(pszContext) + L")" + Outcome(result, L""));
    return result;
}

LONG WINAPI DMCGetContextPRV(PWSTR pszContext) {
    std::lock_guard<std::mutex> guard(g_lock);
    const size_t room = Room(pszContext);
    const std::wstring path = L"current/" + ZQJoinCfgPath(g_session.context) + L"/";
    const LONG result = !g_session.target.empty() && Put(pszContext, room, path) ? 1 : 0;
    Log(L"DMCGetContextPRV()" + RoomText(room) + Outcome(result, L"") + L" " + Text(path));
    return result;
}

LONG WINAPI DMCSetExport(PCWSTR pszName, PCWSTR pszValue) {
    std::lock_guard<std::mutex> guard(g_lock);
    ZQCfgPath path = g_session.context;
    if (pszName) path.push_back(pszName);
    const std::wstring where = ZQJoinCfgPath(path);
    std::wstring why;
    LONG result = 0;
    if (g_session.target.empty()) {
        why = L"no export";
    } else if (!pszName || !*pszName || !pszValue) {
        why = L"no item";
    } else if (Refused(where + L"=" + pszValue)) {
        why = L"refused";
    } else {
        g_session.config.VSetValue(path, pszValue);
        result = 1;
    }
    Log(L"DMCSetExport(" + Text(where) + L", " + Quoted(pszValue) + L")" + Outcome(result, why));
    return result;
}

LONG WINAPI DMCEndExport() {
    std::lock_guard<std::mutex> guard(g_lock);
    std::wstring why;
    LONG result = 0;
    if (g_session.target.empty()) why = L"no export";
    else if (g_session.config.BSave(g_session.target, why)) result = 1;
    const std::wstring target = g_session.target;
    g_session = Session();
    Log(L"DMCEndExport()" + Outcome(result, why) + (target.empty() ? L"" : L" " + Text(target)));
    return result;
}

HRESULT WINAPI DMCGetLastCOMError() {
    std::lock_guard<std::mutex> guard(g_lock);
    Log(L"DMCGetLastCOMError() = " + std::to_wstring(g_session.lastError));
    return g_session.lastError;
}

// The ticket module's annotation of a conversion run.
LONG WINAPI StartAnnotation(PCWSTR pszTicketPath, PCWSTR pszPrinterName) {
    Log(L"StartAnnotation(" + Quoted(pszTicketPath) + L", " + Quoted(pszPrinterName) + L") = 0");
    return 0;
}

LONG WINAPI EndAnnotation(PCWSTR pszTicketPath) {
    Log(L"EndAnnotation(" + Quoted(pszTicketPath) + L") = 0");
    return 0;
}

void WINAPI Annotate(PCWSTR pszName, PCWSTR pszValue, int iResult) {
    Log(L"Annotate(" + Quoted(pszName) + L", " + Quoted(pszValue) + L", " + std::to_wstring(iResult) + L")");
}

}  // extern "C"

// The entry points keep the signatures the callers resolve them with.
static_assert(std::is_same_v<decltype(&DMCStartConfig), PFN_DMCStartConfig>);
static_assert(std::is_same_v<decltype(&DMCEndConfig), PFN_DMCEndConfig>);
static_assert(std::is_same_v<decltype(&DMCSetContext), PFN_DMCSetContext>);
static_assert(std::is_same_v<decltype(&DMCSetContextRelative), PFN_DMCSetContextRelative>);
static_assert(std::is_same_v<decltype(&DMCEnumFeatures), PFN_DMCEnumFeatures>);
static_assert(std::is_same_v<decltype(&DMCEnumListToken), PFN_DMCEnumListToken>);
static_assert(std::is_same_v<decltype(&DMCGet), PFN_DMCGet>);
static_assert(std::is_same_v<decltype(&DMCSet), PFN_DMCSet>);
static_assert(std::is_same_v<decltype(&DMCGetNamedFeatureAttribute), PFN_DMCGetNamedFeatureAttribute>);
static_assert(std::is_same_v<decltype(&DMCGetContext), PFN_DMCGetContext>);
static_assert(std::is_same_v<decltype(&DMCStartExport), PFN_DMCStartExport>);
static_assert(std::is_same_v<decltype(&DMCSetContextPRV), PFN_DMCSetContextPRV>);
static_assert(std::is_same_v<decltype(&DMCGetContextPRV), PFN_DMCGetContextPRV>);
static_assert(std::is_same_v<decltype(&DMCSetExport), PFN_DMCSetExport>);
static_assert(std::is_same_v<decltype(&DMCEndExport), PFN_DMCEndExport>);
static_assert(std::is_same_v<decltype(&DMCGetLastCOMError), PFN_DMCGetLastCOMError>);
static_assert(std::is_same_v<decltype(&DllRegisterServer), PFN_ZQCfgRegister>);
static_assert(std::is_same_v<decltype(&StartAnnotation), PFN_ZQStartAnnotation>);
static_assert(std::is_same_v<decltype(&EndAnnotation), PFN_ZQEndAnnotation>);
static_assert(std::is_same_v<decltype(&Annotate), PFN_ZQAnnotate>);
