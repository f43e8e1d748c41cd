// The registry switches of a driver and of a conversion run: whether the core driver's own items
// are hidden, whether a PostScript driver's document events are ours, whether the property-sheet
// extension hooks run, and the ticket module that hears which settings of a converted ticket were
// applied.
//
// Machine switches live under the driver's key (HKLM "...\Environments\<env>\Drivers\version-3\"
// + driver name); a conversion run's switches under the current user's run key, which the private
// devmode's tag record names (the process id's run without one). Readers answer FALSE for a
// missing key, value or name and show nothing.
#pragma once

#include "common/zqcommon.h"
#include "platform/zqcfgmgrapi.h"

class CZQRunSwitches {
public:
    // The printer's driver name (GetPrinterDriverW level 1) as a new local string.
    static BOOL BGetDriverName(HANDLE hPrinter, PWSTR* ppszName);
    // The driver's machine key: the printer's driver, else the given name.
    static BOOL BGetDriverKey(HANDLE hPrinter, PCWSTR pszFallbackDriver, PWSTR* ppszKeyPath);
    // "DisableDPSExtension" of the run is the DWORD 1: the property-sheet hooks are skipped.
    static BOOL BIsDPSExtensionDisabled(const VOID* pPrivateDM);
    // The run key made (full access) with "DisableDPSExtension" = 0; then the value and the run
    // key removed again.
    static void VResetDPSExtensionSwitch(const VOID* pPrivateDM);
    static void VClearDPSExtensionDisabled(const VOID* pPrivateDM);

    // "HideNativeUI" of the driver is 1, unless a conversion run is under way.
    static BOOL BHideNativeUI(PCWSTR pszFallbackDriver, HANDLE hPrinter, const VOID* pPrivateDM);
    // Hides the core driver's native items, each reported at once in document mode: the text,
    // font, smoothing and transparency features, five public items, and every item without a
    // public id.
    static void VHideNativeOptItems(POEMCUIPPARAM pParam);
    // "EnablePSDocumentEvent" of the driver is 1.
    static BOOL BIsPSDocumentEventEnabled(HANDLE hPrinter);
    // The plug-in handles the document events of this printer: always, except a PostScript
    // driver's (its data file a ".ppd") without "EnablePSDocumentEvent".
    static BOOL BHandlesDocumentEvents(HANDLE hPrinter);

    // The ticket bridge. kTicketAnnotating: TRUE when "TicketType" is exactly "2". The others load
    // the ticket module "TicketManager" (when named) and call "StartAnnotation" (ticket path,
    // printer name) or "EndAnnotation" (ticket path), or hand out "Annotate" and the module,
    // which the caller then frees; each when found. TRUE once the run key could be named.
    enum : DWORD { kTicketAnnotating = 0, kTicketStart = 1, kTicketEnd = 2, kTicketAnnotator = 3 };
    static BOOL BTicketManager(DWORD dwAction, const VOID* pPrivateDM, PFN_ZQAnnotate* ppfnAnnotate,
                               HMODULE* phModule);
};
