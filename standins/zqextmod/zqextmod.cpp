// Stand-in of a driver's extension module: every export records its call and answers what the test
// put there. The declarations are this module's own, as the documented records give them.
#include <windows.h>
#include <compstui.h>

#include <string>

#include "zqextmodrecord.h"
#include "zqstandinlog.h"
#include "zqstandinrecord.h"

namespace {

HMODULE g_hModule = nullptr;

// The module's file name without its extension.
std::wstring ModuleName() {
    std::wstring path = zqstandin::ModulePath(g_hModule);
    path = path.substr(path.find_last_of(L"\\/") + 1);
    return path.substr(0, path.find_last_of(L'.'));
}

LONG Call(const wchar_t* pszExport, const std::wstring& arguments) {
    const std::wstring module = ModuleName();
    const LONG result = static_cast<LONG>(zqstandin::DWSetting(kZQExtModRecordKey, (L"Result." + module).c_str(), 0));
    zqstandin::VAppendLog(kZQExtModRecordKey, L"ZQStandInsExtModLog",
                          module + L" " + pszExport + L"(" + arguments + L") = " + std::to_wstring(result));
    return result;
}

template <typename... T>
std::wstring Numbers(T... values) {
    std::wstring text;
    ((text += (text.empty() ? L"" : L", ") + std::to_wstring(static_cast<long long>(values))), ...);
    return text;
}

LONG PrinterEvent(const wchar_t* pszExport, PWSTR pszPrinter, INT iEvent, DWORD dwFlags, LPARAM lParam) {
    return Call(pszExport, zqstandin::Quoted(pszPrinter) + L", " + Numbers(iEvent, dwFlags, lParam));
}

LONG DocumentEvent(const wchar_t* pszExport, INT iEsc, ULONG cbIn, ULONG cbOut) {
    return Call(pszExport, Numbers(iEsc, cbIn, cbOut));
}

LONG Sheet(const wchar_t* pszExport, PPROPSHEETUI_INFO pInfo, LPARAM lParam) {
    return Call(pszExport, Numbers(pInfo ? static_cast<long long>(pInfo->Reason) : -1LL, lParam));
}

}  // namespace

#define ZQ_PRINTER_EVENT(name)                                                             \
    extern "C" LONG WINAPI name(PWSTR pszPrinter, INT iEvent, DWORD dwFlags, LPARAM lParam) { \
        return PrinterEvent(L## #name, pszPrinter, iEvent, dwFlags, lParam);               \
    }
#define ZQ_DOCUMENT_EVENT(name)                                                                                  \
    extern "C" LONG WINAPI name(HANDLE, HDC, INT iEsc, ULONG cbIn, PVOID, ULONG cbOut, PVOID, PINT) {           \
        return DocumentEvent(L## #name, iEsc, cbIn, cbOut);                                                      \
    }
#define ZQ_SHEET(name) \
    extern "C" LONG WINAPI name(PPROPSHEETUI_INFO pInfo, LPARAM lParam) { return Sheet(L## #name, pInfo, lParam); }
#define ZQ_DRIVER_EVENT(name)                                                       \
    extern "C" LONG WINAPI name(DWORD dwEvent, DWORD dwLevel, LPBYTE, LPARAM) {     \
        return Call(L## #name, Numbers(dwEvent, dwLevel));                          \
    }

ZQ_PRINTER_EVENT(PrinterEventInitPre)
ZQ_PRINTER_EVENT(PrinterEventInitPost)
ZQ_PRINTER_EVENT(PrinterEventDelete)
ZQ_PRINTER_EVENT(PrinterEventConnect)
ZQ_PRINTER_EVENT(PrinterEventRefresh)
ZQ_DOCUMENT_EVENT(DocEventStartDocPre)
ZQ_DOCUMENT_EVENT(DocEventCreateDCPre)
ZQ_DOCUMENT_EVENT(DocEventCreateDCPost)
ZQ_DOCUMENT_EVENT(DocEventStartDocPost)
ZQ_DOCUMENT_EVENT(DocEventStartPage)
ZQ_DOCUMENT_EVENT(DocEventEndPage)
ZQ_DOCUMENT_EVENT(DocEventResetDCPre)
ZQ_DOCUMENT_EVENT(DocEventResetDCPost)
ZQ_SHEET(DocPropSheetInit)
ZQ_SHEET(DocPropSheetDestroy)
ZQ_SHEET(DevPropSheetInit)
ZQ_SHEET(DevPropSheetDestroy)
ZQ_DRIVER_EVENT(DriverEventInit)
ZQ_DRIVER_EVENT(DriverEventDelete)

// The block starts with its size, as the core driver's record does.
extern "C" LONG WINAPI CommonUIProp(DWORD dwMode, const DWORD* pParam) {
    return Call(L"CommonUIProp", Numbers(dwMode, pParam ? *pParam : 0));
}

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_hModule = hInstance;
        DisableThreadLibraryCalls(hInstance);
    }
    return TRUE;
}
