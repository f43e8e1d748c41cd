// CZQOndrel: the converter behind the exported conversion interface. It binds the maker's
// configuration manager, copies a ticket's settings into the run's snapshot under the current
// user's run key, leaves the run flags beside it, and asks the printer's driver for a devmode in
// this very process; the driver's user interface (this module as its plug-in) recognises the run
// by those flags and the devmode's tag record. One converter serves the staged form for the whole
// process; the one-call forms make their own.
//
// The run key is "Software\Quorvane\ZQProcID" + the run id: the run GUID's registry form, or the
// process id for GUID_NULL.
#pragma once

#include "common/zqhandles.h"
#include "settings/zqconfigmgr.h"

class CZQOndrel {
public:
    CZQOndrel();
    // Copies the three strings (all must be given), keeps the ticket type, ticket mode, and binds
    // the configuration manager (its outcome in the registered flag).
    CZQOndrel(PCWSTR pszPrinterName, PCWSTR pszTicketPath, PCWSTR pszDMCPath, DWORD dwTicketType);
    // Frees the strings. A manager still bound stays loaded: a module is not unloaded from inside
    // the unloading of another.
    ~CZQOndrel() = default;
    CZQOndrel(const CZQOndrel&) = delete;
    CZQOndrel& operator=(const CZQOndrel&) = delete;

    // A null string keeps the copy held before.
    void VSetPrinterName(PCWSTR pszName);
    void VSetTicketPath(PCWSTR pszPath);
    void VSetDMCPath(PCWSTR pszPath);
    void VSetTicketType(DWORD dwType) { m_dwTicketType = dwType; }
    // Convert-devmode mode (the driver exports the devmode into the ticket) or ticket mode.
    void VSetConvertDevMode(BOOL bOn) { m_bConvertDevMode = bOn ? TRUE : FALSE; }
    BOOL BIsConvertDevMode() const { return m_bConvertDevMode; }
    BOOL BIsRegistered() const { return m_bRegistered; }

    // Loads the manager from its path (a manager bound before is freed first), resolves all its
    // entry points and registers it afresh; FALSE (nothing left loaded) when any step fails.
    BOOL LoadDMC();
    void VFreeDMC();

    // The run flags of the mode under the run key (and, in convert-devmode mode, the printer's data
    // that lets the driver export in this process). FALSE when the printer name, the ticket path or
    // the manager's path is missing or the run key cannot be named; nothing is written then.
    BOOL BSetRunFlags(const GUID& runGuid);
    // Removes the run flags and the snapshot with the run key, and gives the printer's data back
    // what a run of this converter changed.
    void VClearRunFlags(const GUID& runGuid);
    // Reads the ticket into a fresh snapshot; TRUE when the printer opened and the manager opened
    // the ticket (a ticket without items is read all the same).
    BOOL BDMCReadCfgVal(const GUID& runGuid);
    // The driver's user interface on the caller's devmode: the printer properties when the run
    // has device items (always in convert-devmode mode), the document properties when it has
    // document items (always in convert-devmode mode). TRUE when the document properties were
    // confirmed, or, without them, the printer properties were.
    BOOL BCallDocProperties(PDEVMODEW pDevmode, const GUID& runGuid);

    // One item of the ticket into the snapshot subkey of its root; FALSE for another root, a path
    // that does not fit, or a value that cannot be set. The printer handle is not needed.
    BOOL BStoreSnapshotValue(PCWSTR pszRoot, PCWSTR pszName, PCWSTR pszValue, HANDLE hPrinter, PCWSTR pszRunKey);
    static BOOL BSnapshotHasPhysical(const GUID& runGuid);
    static BOOL BSnapshotHasPrinting(const GUID& runGuid);

    // A value under the current user's key path, the key made when it cannot be opened.
    BOOL BSetRegString(PCWSTR pszKeyPath, PCWSTR pszValueName, PCWSTR pszText);
    BOOL BSetRegDword(PCWSTR pszKeyPath, PCWSTR pszValueName, DWORD dwValue);

private:
    BOOL BSetRegValue(PCWSTR pszKeyPath, PCWSTR pszValueName, DWORD dwType, const void* pData, DWORD cbData);
    void VSetPrinterExportFlags(HANDLE hPrinter);
    void VRestorePrinterExportFlags();
    void VWalkRoots(HANDLE hPrinter, PCWSTR pszRunKey);

    BOOL m_bKeyCreated = FALSE;
    BOOL m_bConvertDevMode = FALSE;
    BOOL m_bRead = FALSE;
    BOOL m_bConfigOpen = FALSE;
    BOOL m_bRegistered = FALSE;
    DWORD m_dwTicketType = 0;
    HMODULE m_hDMC = nullptr;
    CZQLocalPtr<WCHAR> m_printerName;
    CZQLocalPtr<WCHAR> m_ticketPath;
    CZQLocalPtr<WCHAR> m_dmcPath;
    ConfigEntryPoints m_api = {};

    // "AlwaysExport" as the printer had it before a convert-devmode run set it: put back at the
    // run's end rather than deleted, so an administrator's own setting survives the run.
    struct SavedValue {
        bool pending = false;  // the run changed the printer's data
        bool existed = false;
        DWORD type = REG_NONE;
        DWORD cb = 0;
        BYTE data[256] = {};
    } m_alwaysExport;
};
