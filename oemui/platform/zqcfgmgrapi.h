// The maker's configuration manager zqcfgmgr.dll: it reads the maker's configuration files and
// tickets and takes exported settings back. It is one of the printer driver's dependent files and
// is loaded by full path. Shared by the plug-in and the stand-in so both sides agree on the calls.
//
// Texts are UTF-16; results are 32-bit numbers, 1 for success unless a comment says otherwise.
// No buffer size is ever passed: before a call that fills a buffer the caller sets every
// character but the last to kZQCfgFill and the last to zero, so the manager learns the room from
// the first zero and never writes past it.
#pragma once

#include <windows.h>

inline constexpr const wchar_t* kZQCfgMgrFile = L"ZQCFGMGR.DLL";

inline constexpr WCHAR kZQCfgFill = 0x0101;
// The list the manager hands out for an item without items below it.
inline constexpr const wchar_t* kZQCfgEmptyList = L"]@[";

// The two trees of settings, as roots of a context path ("Printing", "Printing/Finishing").
inline constexpr const wchar_t* kZQCfgPrinting = L"Printing";
inline constexpr const wchar_t* kZQCfgPhysical = L"Physical";

// What DMCStartConfig opens.
enum : DWORD {
    ZQCFG_MODE_PRINTER_EVENT = 0,  // the printer's installed configuration, at its initialisation
    ZQCFG_MODE_UPGRADE = 3,        // the same at a driver upgrade
    ZQCFG_MODE_TICKET = 4,         // a ticket file named by its path
};

// The kind of export DMCStartExport opens, and the attribute that marks a locked item.
inline constexpr const wchar_t* kZQCfgExportKind = L"DMC_DRIVER";
inline constexpr const wchar_t* kZQCfgLockAttribute = L"Lock";

// Self-registration: the manager is unregistered and registered again before each use; only S_OK
// from the registration lets the caller go on.
typedef HRESULT(WINAPI* PFN_ZQCfgRegister)();

// Opens a configuration (printer queue name, empty for a local printer) or a ticket (its path);
// non-zero when it opened. The context buffer receives what the manager opened.
typedef LONG(WINAPI* PFN_DMCStartConfig)(PCWSTR pszSource, DWORD dwMode, PWSTR pszContext, DWORD dwReserved);
typedef LONG(WINAPI* PFN_DMCEndConfig)();
// An absolute context path: a root, or a root, "/" and the names below it.
typedef LONG(WINAPI* PFN_DMCSetContext)(PCWSTR pszPath);
// One level down, to an item below the current context.
typedef LONG(WINAPI* PFN_DMCSetContextRelative)(PCWSTR pszName);
// The names below an item of the current context (empty name: the context itself) as a list the
// caller takes apart with DMCEnumListToken; kZQCfgEmptyList when there are none.
typedef LONG(WINAPI* PFN_DMCEnumFeatures)(PCWSTR pszName, PWSTR pszList);
// Takes the next name out of the list, in place; 1 while there was one.
typedef LONG(WINAPI* PFN_DMCEnumListToken)(PWSTR pszToken, PWSTR pszList);
// The value of an item of the current context; 1 when it has one.
typedef LONG(WINAPI* PFN_DMCGet)(PCWSTR pszName, PWSTR pszValue);
typedef LONG(WINAPI* PFN_DMCSet)(PCWSTR pszName, PCWSTR pszValue);
// An attribute of an item of the current context ("True" in the lock attribute: locked).
typedef LONG(WINAPI* PFN_DMCGetNamedFeatureAttribute)(PCWSTR pszName, PCWSTR pszAttribute, PWSTR pszValue);
// The current context path.
typedef LONG(WINAPI* PFN_DMCGetContext)(PWSTR pszPath);

// Export: opened for a printer, then "factory/<root>/" selects the items the configuration knows
// and "current/<root>/" where DMCSetExport writes; DMCEndExport commits.
typedef LONG(WINAPI* PFN_DMCStartExport)(PCWSTR pszPrinterName, PCWSTR pszKind, DWORD dwFlags);
typedef LONG(WINAPI* PFN_DMCSetContextPRV)(PCWSTR pszContext);
typedef LONG(WINAPI* PFN_DMCGetContextPRV)(PWSTR pszContext);
typedef LONG(WINAPI* PFN_DMCSetExport)(PCWSTR pszName, PCWSTR pszValue);
typedef LONG(WINAPI* PFN_DMCEndExport)();
// The last failure of the manager's own COM calls (S_OK when none).
typedef HRESULT(WINAPI* PFN_DMCGetLastCOMError)();

// The same module serves a conversion run as its ticket module: it hears which items of a ticket
// were applied (result 0) and which were not (-1).
typedef LONG(WINAPI* PFN_ZQStartAnnotation)(PCWSTR pszTicketPath, PCWSTR pszPrinterName);
typedef LONG(WINAPI* PFN_ZQEndAnnotation)(PCWSTR pszTicketPath);
typedef void(WINAPI* PFN_ZQAnnotate)(PCWSTR pszName, PCWSTR pszValue, int iResult);
