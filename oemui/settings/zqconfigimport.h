// Installation and upgrade: the configuration manager's settings and locks copied into the
// printer's data, the configuration file installed from the driver's export file when the driver
// carries none, and the finishing step that opens the printer's sheets once without a window so
// that the copied settings reach the printer's default devmode.
//
// Each routine opens the printer by name with all access and closes it again; the printer-data
// writes go through the settings store.
#pragma once

#include "platform/oemuiplatform.h"
#include "platform/zqcfgmgrapi.h"

class CZQConfigImport {
public:
    // Copies the configuration manager's "Printing" and "Physical" items (three levels deep) and
    // the locks of the first level into the settings trees, with "Stale", "DMCExist" and
    // "DMCStatus"; then, with bFinish, the finishing step. Mode ZQCFG_MODE_PRINTER_EVENT or
    // ZQCFG_MODE_UPGRADE. TRUE when the manager was bound (or settings were stored); FALSE when it
    // is missing, does not load or lacks an entry point.
    static BOOL BImportConfigManager(PCWSTR pszPrinterName, DWORD dwMode, BOOL bFinish);
    // The upgrade's import: the finishing step follows when the upgrade information (level 2) names
    // the driver the printer's data "DsSpooler" "driverName" names. FALSE when the information is
    // not of level 1 or 2 or names no printer.
    static BOOL BImportAtUpgrade(DWORD dwLevel, const BYTE* pDriverUpgradeInfo);

    // One item, or one lock, under the tree of its root ("Printing" or "Physical"); TRUE when
    // written.
    static BOOL BStoreConfigItem(PCWSTR pszRoot, PCWSTR pszName, PCWSTR pszValue, HANDLE hPrinter);
    static BOOL BStoreConfigLock(PCWSTR pszRoot, PCWSTR pszName, HANDLE hPrinter);

    // With "InstallationComplete" at 1: the printer properties and the document properties once
    // without a window, and the devmode they give stored as the printer's default. TRUE when it
    // was stored; "InstallationComplete" is 0 again afterwards in every case.
    static BOOL BFinishInstallation(PCWSTR pszPrinterName);

    // Copies the driver's export file to a new ".cfg" file beside it and names that file as the
    // driver's configuration ("ConfigFile" under the machine's printer key of the driver, and
    // "DMCExportOnly"). TRUE when all of it was done; FALSE when the driver lacks the
    // configuration manager or an export file, or a step failed (nothing is then left behind).
    static BOOL BInstallConfigFile(PCWSTR pszPrinterName);
};
