// The maker's services library (its base name is the core driver's setting "PSAlignmentFile"),
// which supplies the "Services" page of Printer Properties, and the services module zqsvcmod.dll
// beside it, loaded as a data module. Shared by the plug-in and the stand-in so both sides agree
// on the exports and the loader record the library receives.
#pragma once

#include <windows.h>

#include <cstddef>

inline constexpr const char* kZQServicesInitExport = "ServicesInit";
inline constexpr const char* kZQServicesDeInitExport = "ServicesDeInit";
// The services module, in the driver's directory beside the library.
inline constexpr const wchar_t* kZQServicesModuleFile = L"zqsvcmod.DLL";

// The loader as the library sees it: the plug-in's loader object begins with this record. Every
// handle and pointer is a whole pointer; cbSize is the record's size on this platform.
struct ZQServicesLoader {
    DWORD cbSize;
    LPWSTR pszLibraryPath;   // the services library: driver directory, base name, ".dll"
    HMODULE hLibrary;        // null until loaded
    DWORD cchLibraryPath;
    void* pLibraryBuffer;    // the plug-in's buffer holding the path; not for the library's use
    LPWSTR pszModulePath;    // zqsvcmod.dll in the same directory
    HMODULE hModule;         // loaded as a data module (its resources only); null until loaded
    DWORD cchModulePath;
    void* pModuleBuffer;
};
static_assert(offsetof(ZQServicesLoader, pszLibraryPath) == sizeof(void*), "loader record: library path");
static_assert(offsetof(ZQServicesLoader, pModuleBuffer) == 8 * sizeof(void*), "loader record: module buffer");

// The printer whose sheet shows the page; valid while the sheet lives.
struct ZQServicesPrinter {
    DWORD cbSize;
    HANDLE hPrinter;           // the sheet's printer handle
    LPCWSTR pszPrinterName;
};

// "ServicesInit": fills the page's instance, template and dialog procedure (the three fields of
// its PROPSHEETPAGEW) and answers TRUE; FALSE leaves the sheet without the page. The two values of
// the plug-in are reserved and passed as 0. The library may keep the loader and the printer
// record until "ServicesDeInit".
typedef BOOL(WINAPI* PFN_ServicesInit)(ZQServicesLoader* pLoader, const ZQServicesPrinter* pPrinter,
                                       ULONG_PTR ulPluginValue1, ULONG_PTR ulPluginValue2, HINSTANCE* phInstance,
                                       LPCWSTR* ppszTemplate, DLGPROC* ppfnDlgProc);
// "ServicesDeInit": the sheet is gone, after a successful "ServicesInit" with that loader.
typedef void(WINAPI* PFN_ServicesDeInit)(ZQServicesLoader* pLoader);
