// CZQOndrel: the converter of one conversion run. It binds the maker's configuration manager,
// copies a ticket's settings into the run's snapshot under the current user's run key, leaves the
// run flags beside it, and asks the printer's driver for a devmode in this very process; the
// driver's user interface (this module as its plug-in) recognises the run by those flags and the
// devmode's tag record. Each staged run has a converter of its own (zqconvertruns.h), and so has
// each one-call conversion; a converter serves one thread at a time.
//
// The run key is "Software\Quorvane\ZQProcID" + the run id: the run GUID's registry form, or the
// process id for GUID_NULL.
//
// A convert-devmode run sets the printer's export switches ("AlwaysExport" and the ticket's
// location) for the length of its driver call. Beside them it keeps a record of what the printer
// held before (formats/zqexportrecord.h), so the values are put back on every road, and a run that
// could not put them back, or died before it could, leaves them to the next run rather than losing
// them. Callers hold the export lock of zqconvertruns.h around all of it.
#pragma once

#include "common/zqhandles.h"
#include "settings/zqconfigmgr.h"

class CZQOndrel {
public:
    CZQOndrel();
    // Copies the three strings (all must be given), keeps the ticket type, ticket mode, and binds
    // the configuration manager (its outcome in the registered flag).
    CZQOndrel(PCWSTR pszPrinterName, PCWSTR pszTicketPath, PCWSTR pszDMCPath, DWORD dwTicketType);
    // Frees the strings, closes the run's printer and lets go of the manager.
    ~CZQOndrel();
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

    // Loads the manager from its path (a manager bound before is let go first) with a reference of
    // this converter's own, so no other run can free it under this one, resolves all its entry
    // points and unregisters and registers it again; FALSE (nothing left loaded) when any step
    // fails.
    BOOL LoadDMC();
    void VFreeDMC();
    // The manager's entry points from the module into the table, all cleared when one is missing
    // (or there is no module); the read flag follows the outcome.
    BOOL BResolveEntryPoints(ConfigEntryPoints* pTable, HMODULE hModule);

    // The run flags of the mode under the run key (and, in convert-devmode mode, the printer's
    // export switches); all of them or none: FALSE when the printer name, the ticket path or the
    // manager's path is missing, the run key cannot be named, or a value cannot be written, and
    // what was written is gone again.
    BOOL BSetRunFlags(const GUID& runGuid);
    // Removes the run flags and the snapshot with the run key, and gives the printer's export
    // switches back what they held before this converter set them (kept for a later try when the
    // spooler refuses).
    void VClearRunFlags(const GUID& runGuid);
    // Puts the printer's export switches back when this converter's record is still the printer's,
    // asking the spooler again a few times when it refuses; TRUE when nothing of this converter's
    // is left there. Otherwise the record stays for a later try (also another run's).
    BOOL BRestorePrinterExportFlags(const GUID& runGuid);
    // The printer's export switches still wait to be put back.
    BOOL BExportPending() const { return m_bExportPending; }
    // Reads the ticket into a fresh snapshot; TRUE when the printer opened, the manager opened the
    // ticket and every item of it was stored (a ticket without items is read all the same). A read
    // that fails leaves no snapshot.
    BOOL BDMCReadCfgVal(const GUID& runGuid);
    // The driver's user interface on the caller's devmode: the printer properties when the run
    // has device items (always in convert-devmode mode), the document properties when it has
    // document items (always in convert-devmode mode). TRUE when the document properties were
    // confirmed, or, without them, the printer properties were. The document sheet is never
    // opened for a run whose flag the driver would not find: no one would answer it.
    BOOL BCallDocProperties(PDEVMODEW pDevmode, const GUID& runGuid);

    // One item of the ticket into the snapshot subkey of its root; FALSE for another root, a path
    // that does not fit, or a value that cannot be set. The printer handle is not needed.
    BOOL BStoreSnapshotValue(PCWSTR pszRoot, PCWSTR pszName, PCWSTR pszValue, HANDLE hPrinter, PCWSTR pszRunKey);
    static BOOL BSnapshotHasPhysical(const GUID& runGuid);
    static BOOL BSnapshotHasPrinting(const GUID& runGuid);

    // Whether the current user's key path opens for reading.
    static BOOL BRegKeyExists(PCWSTR pszKeyPath);
    // A value under the current user's key path, the key made when it cannot be opened.
    BOOL BSetRegString(PCWSTR pszKeyPath, PCWSTR pszValueName, PCWSTR pszText);
    BOOL BSetRegDword(PCWSTR pszKeyPath, PCWSTR pszValueName, DWORD dwValue);

private:
    BOOL BSetRegValue(PCWSTR pszKeyPath, PCWSTR pszValueName, DWORD dwType, const void* pData, DWORD cbData);
    // The run's printer, opened once for the whole run: with all access (a convert-devmode run
    // writes the printer's data), else with the rights the user has.
    HANDLE HPrinter();
    BOOL BSetPrinterExportFlags(const GUID& runGuid);
    BOOL BWalkRoots(PCWSTR pszRunKey);

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
    CZQPrinterHandle m_printer;
    // The size the driver gives its devmode, asked once per run (0: not yet).
    LONG m_lDriverSize = 0;
    // This converter wrote the record of the printer's export switches and has not seen them back.
    bool m_bExportPending = false;
};
