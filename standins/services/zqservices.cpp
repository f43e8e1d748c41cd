// Stand-in of the maker's services library: a small Services page of its own, its dialog taken
// from the services module the plug-in loaded, and a log line per call.
#include <windows.h>
#include <winspool.h>

#include <string>
#include <type_traits>

#include "zqservicesapi.h"
#include "zqservicesrecord.h"
#include "zqstandinlog.h"

namespace {

// The page shows the printer of the last ServicesInit.
std::wstring g_printerName;
HANDLE g_hPrinter = nullptr;
HMODULE g_hTexts = nullptr;

void Log(const std::wstring& line) { zqstandin::VAppendLog(ZQ_SERVICES_RECORD_KEY, ZQ_SERVICES_LOG_MUTEX, line); }

std::wstring FileName(LPCWSTR pszPath) {
    if (!pszPath) return L"(none)";
    const wchar_t* slash = wcsrchr(pszPath, L'\\');
    return slash ? slash + 1 : pszPath;
}

// The address of the printer's embedded web pages the driver keeps ("<address>,<flag>").
std::wstring Address() {
    wchar_t value[300] = {};
    DWORD type = 0, needed = 0;
    if (!g_hPrinter || GetPrinterDataW(g_hPrinter, const_cast<LPWSTR>(L"ZQEWSIPAddress"), &type,
                                       reinterpret_cast<BYTE*>(value), sizeof value - sizeof(wchar_t),
                                       &needed) != ERROR_SUCCESS ||
        type != REG_SZ || !value[0])
        return {};
    std::wstring text = value;
    return text.substr(0, text.rfind(L','));
}

INT_PTR CALLBACK ServicesDlgProc(HWND hDlg, UINT uMsg, WPARAM, LPARAM) {
    if (uMsg != WM_INITDIALOG) return FALSE;
    SetDlgItemTextW(hDlg, IDC_ZQSERVICES_PRINTER, g_printerName.c_str());
    std::wstring address = Address();
    if (address.empty()) {
        wchar_t none[100] = {};
        LoadStringW(g_hTexts, IDS_ZQSERVICES_NO_ADDRESS, none, 100);
        address = none;
    }
    SetDlgItemTextW(hDlg, IDC_ZQSERVICES_ADDRESS, address.c_str());
    return TRUE;
}

}  // namespace

extern "C" BOOL WINAPI ServicesInit(ZQServicesLoader* pLoader, const ZQServicesPrinter* pPrinter,
                                    ULONG_PTR ulPluginValue1, ULONG_PTR ulPluginValue2, HINSTANCE* phInstance,
                                    LPCWSTR* ppszTemplate, DLGPROC* ppfnDlgProc) {
    Log(L"ServicesInit size=" + std::to_wstring(pLoader ? pLoader->cbSize : 0) + L" printer=" +
        zqstandin::Quoted(pPrinter ? pPrinter->pszPrinterName : nullptr) + L" values=" +
        std::to_wstring(ulPluginValue1) + L"," + std::to_wstring(ulPluginValue2) +
        L" module=" + FileName(pLoader && pLoader->hModule ? pLoader->pszModulePath : nullptr));
    // The page's dialog lives in the services module.
    if (!pLoader || pLoader->cbSize < sizeof(ZQServicesLoader) || !pLoader->hModule || !pPrinter ||
        pPrinter->cbSize < sizeof(ZQServicesPrinter) || !phInstance || !ppszTemplate || !ppfnDlgProc)
        return FALSE;
    g_printerName = pPrinter->pszPrinterName ? pPrinter->pszPrinterName : L"";
    g_hPrinter = pPrinter->hPrinter;
    g_hTexts = pLoader->hModule;
    *phInstance = pLoader->hModule;
    *ppszTemplate = MAKEINTRESOURCEW(IDD_ZQSERVICES);
    *ppfnDlgProc = &ServicesDlgProc;
    return TRUE;
}

extern "C" void WINAPI ServicesDeInit(ZQServicesLoader* pLoader) {
    Log(L"ServicesDeInit size=" + std::to_wstring(pLoader ? pLoader->cbSize : 0));
    g_hPrinter = nullptr;
}

static_assert(std::is_same<decltype(&ServicesInit), PFN_ServicesInit>::value, "ServicesInit as the plug-in calls it");
static_assert(std::is_same<decltype(&ServicesDeInit), PFN_ServicesDeInit>::value, "ServicesDeInit");
