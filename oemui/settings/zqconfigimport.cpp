// The configuration manager's settings copied into the printer's data at installation and upgrade,
// the configuration file installed from the driver's export file, and the finishing step.
#include "settings/zqconfigimport.h"

#include <cwchar>
#include <string>
#include <vector>

#include "common/zqhandles.h"
#include "common/zqprinterdata.h"
#include "common/zqstrings.h"
#include "common/zqtrace.h"
#include "common/zquibase.h"
#include "platform/zqspooler.h"
#include "settings/zqconfigmgr.h"
#include "settings/zqdriverdata.h"

namespace {

namespace zs = zqsettings;

// "Stale" of at most this many bytes is read when deciding whether to import.
constexpr size_t kMaxStaleBytes = 200;

CZQPrinterHandle OpenFully(PCWSTR pszPrinterName) {
    CZQPrinterHandle printer;
    PRINTER_DEFAULTSW all = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    if (pszPrinterName) zqspool::Spooler().OpenPrinterW(const_cast<PWSTR>(pszPrinterName), printer.Put(), &all);
    return printer;
}

void WriteStatus(HANDLE hPrinter, DWORD dwStatus) {
    if (!CZQDriverData::BSetPrinterDataDword(hPrinter, zs::kDMCStatus, dwStatus))
        zqtrace::Line(L"CZQConfigImport: DMCStatus not written\n");
}

// Whether the printer's data calls for an import: any value at its root but "ConfigFile", or
// "ConfigFile" with "Stale" missing or "False". A root that cannot be listed is imported into:
// copying the same settings again loses nothing, leaving them out would lose the locks.
bool ImportWanted(HANDLE hPrinter) {
    CZQPrinterDataList root;
    if (!root.BRead(hPrinter, zs::kRootKey)) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return false;  // nothing at the root
        zqtrace::Line(L"CZQConfigImport: the printer's data not listed, imported all the same\n");
        return true;
    }
    bool wanted = false;
    for (DWORD i = 0; i < root.Count(); ++i) {
        PCWSTR name = root.Name(i);
        if (!name) continue;
        if (!ZQEqualNoCase(name, zs::kConfigFile)) {
            wanted = true;
            continue;
        }
        CZQLocalPtr<WCHAR> stale;
        if (!CZQDriverData::BGetPrinterData(hPrinter, zs::kStale, stale.Put()) ||
            (wcslen(stale.Get()) + 1) * sizeof(WCHAR) > kMaxStaleBytes || ZQEqualNoCase(stale.Get(), zs::kFalse))
            return true;
    }
    return wanted;
}

// A store the spooler refused is tried once more.
template <typename Store>
bool StoredOnRetry(Store store) {
    return store() || store();
}

// What a walk of the manager's roots did.
struct WalkResult {
    int stored = 0;       // items and locks stored
    bool empty = true;    // neither root named anything
    bool missed = false;  // an item or a lock could not be stored
    std::vector<std::wstring> unstoredLocks;  // "<lock key>\<name>" of each lock not stored
};

// The locks not stored, as the readers of the locks find them: written when there are any and
// emptied when an earlier import left some. False when the list could not be written.
bool RecordUnstoredLocks(HANDLE hPrinter, const std::vector<std::wstring>& locks) {
    DWORD type = REG_NONE, cb = 0;
    CZQLocalPtr<BYTE> earlier;
    const DWORD rc = ZQReadStoredValue(hPrinter, nullptr, zs::kUnstoredLocks, &type, earlier, &cb);
    // Without a list to empty there is nothing to write; one that cannot be read stays, and keeps
    // its settings locked.
    if (locks.empty() && rc != ERROR_SUCCESS) return true;
    std::wstring list;
    for (const std::wstring& lock : locks) list.append(lock).push_back(L'\0');
    list.push_back(L'\0');
    const DWORD cbList = static_cast<DWORD>(list.size() * sizeof(WCHAR));
    return StoredOnRetry([&] {
        const DWORD written =
            ZQWriteStoredValue(hPrinter, nullptr, zs::kUnstoredLocks, REG_MULTI_SZ, list.data(), cbList);
        SetLastError(written);
        return written == ERROR_SUCCESS;
    });
}

// The started import: both roots walked into the trees.
WalkResult WalkRoots(const CZQConfigManager& manager, HANDLE hPrinter) {
    const ConfigEntryPoints& api = manager.Api();
    WalkResult result;
    for (PCWSTR root : {kZQCfgPrinting, kZQCfgPhysical}) {
        WCHAR list[zqcfg::kListChars];
        if (api.DMCSetContext(root) != 1 || !manager.BListBelow(L"", list)) continue;
        result.empty = false;
        manager.IWalkThreeLevels(root, list, [&](int iLevel, PCWSTR pszName) {
            WCHAR value[zqcfg::kValueChars];
            zqcfg::VPrepare(value, zqcfg::kValueChars);
            if (api.DMCGet(pszName, value) == 1) {
                value[zqcfg::kValueChars - 1] = 0;
                if (StoredOnRetry([&] { return CZQConfigImport::BStoreConfigItem(root, pszName, value, hPrinter); }))
                    ++result.stored;
                else
                    result.missed = true;
            }
            // Only the first level carries locks.
            if (iLevel != 1) return;
            WCHAR lock[zqcfg::kValueChars];
            zqcfg::VPrepare(lock, zqcfg::kValueChars);
            api.DMCGetNamedFeatureAttribute(pszName, kZQCfgLockAttribute, lock);
            lock[zqcfg::kValueChars - 1] = 0;
            if (!ZQEqualNoCase(lock, zs::kTrue)) return;
            if (StoredOnRetry([&] { return CZQConfigImport::BStoreConfigLock(root, pszName, hPrinter); })) {
                ++result.stored;
                return;
            }
            // The sheets take it as locked all the same.
            result.missed = true;
            result.unstoredLocks.push_back(std::wstring(CZQDriverData::PszLockTree(root)) + L"\\" + pszName);
        });
    }
    return result;
}

// A machine value written so that it can be put back: a key made for it goes again, a value that
// was there gets its data back, one that was not is deleted.
class CZQUndoableMachineValue {
public:
    CZQUndoableMachineValue(PCWSTR pszKey, PCWSTR pszValue) : m_key(pszKey), m_value(pszValue) {}
    bool BWrite(DWORD dwType, const void* pData, DWORD cbData) {
        CZQRegKey key;
        m_keyExisted = RegOpenKeyExW(HKEY_LOCAL_MACHINE, m_key, 0, KEY_QUERY_VALUE, key.Put()) == ERROR_SUCCESS;
        DWORD cb = 0;
        if (m_keyExisted && RegQueryValueExW(key.Get(), m_value, nullptr, &m_oldType, nullptr, &cb) == ERROR_SUCCESS &&
            m_old.Alloc(cb + 1) &&
            RegQueryValueExW(key.Get(), m_value, nullptr, &m_oldType, m_old.Get(), &cb) == ERROR_SUCCESS)
            m_cbOld = cb;
        else
            m_old.Reset();
        m_tried = true;
        if (CZQUIBase::BWriteRegValue(HKEY_LOCAL_MACHINE, m_key, m_value, dwType, pData, cbData)) return true;
        VUndo();
        return false;
    }
    void VUndo() {
        if (!m_tried) return;
        m_tried = false;
        if (!m_keyExisted) {
            RegDeleteKeyW(HKEY_LOCAL_MACHINE, m_key);
            return;
        }
        CZQRegKey key;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, m_key, 0, KEY_SET_VALUE, key.Put()) != ERROR_SUCCESS) return;
        if (m_old)
            RegSetValueExW(key.Get(), m_value, 0, m_oldType, m_old.Get(), m_cbOld);
        else
            RegDeleteValueW(key.Get(), m_value);
    }

private:
    PCWSTR m_key;
    PCWSTR m_value;
    bool m_tried = false;
    bool m_keyExisted = false;
    CZQLocalPtr<BYTE> m_old;
    DWORD m_oldType = REG_NONE;
    DWORD m_cbOld = 0;
};

// The import proper, once the manager is bound and the printer's data asks for it. The error that
// makes it fail (the name could not be made, "Stale" could not be written), else ERROR_SUCCESS;
// *pbStored when anything was stored.
DWORD Import(const CZQConfigManager& manager, HANDLE hPrinter, PCWSTR pszPrinterName, DWORD dwMode, bool* pbStored) {
    *pbStored = false;
    CZQLocalPtr<WCHAR> name;
    // Without the name the manager is not opened at all.
    if (!CZQDriverData::BGetConfigPrinterName(pszPrinterName, name.Put())) return GetLastError();
    if (!manager.BRegister()) return ERROR_SUCCESS;
    const ConfigEntryPoints& api = manager.Api();
    const CZQConfigSessionLock session;
    WCHAR context[zqcfg::kValueChars];
    zqcfg::VPrepare(context, zqcfg::kValueChars);
    if (api.DMCStartConfig(name.Get(), dwMode, context, 0) == 0) {
        WriteStatus(hPrinter, 2);
        return ERROR_SUCCESS;
    }
    const DWORD staleError =
        CZQDriverData::BSetPrinterData(hPrinter, zs::kStale, zs::kTrue) ? ERROR_SUCCESS : GetLastError();
    const WalkResult walk = WalkRoots(manager, hPrinter);
    *pbStored = walk.stored > 0;
    bool complete = !walk.missed;
    if (!RecordUnstoredLocks(hPrinter, walk.unstoredLocks)) {
        zqtrace::Line(L"CZQConfigImport: the locks not stored could not be recorded\n");
        complete = false;
    }
    if (*pbStored &&
        !StoredOnRetry([&] { return CZQDriverData::BSetPrinterData(hPrinter, zs::kDMCExist, zs::kTrue); })) {
        zqtrace::Line(L"CZQConfigImport: DMCExist not written\n");
        complete = false;
    }
    // An import that left settings out says so as one whose preferences were not applied.
    if (!complete)
        WriteStatus(hPrinter, 2);
    else if (walk.empty)
        WriteStatus(hPrinter, 1);
    api.DMCEndConfig();
    return staleError;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The configuration manager's name of the printer
// ---------------------------------------------------------------------------------------------
BOOL CZQDriverData::BStripServerName(PWSTR pszName) {
    if (!pszName) return FALSE;
    if (PWSTR comma = wcschr(pszName, L',')) *comma = 0;
    // Backslashes that follow a backslash at the start; the second of them starts the result.
    int count = 0;
    for (size_t i = 1; pszName[i - 1] == L'\\' && pszName[i] == L'\\'; ++i) {
        if (++count < 2) continue;
        wmemmove(pszName, pszName + i, wcslen(pszName + i) + 1);
        return TRUE;
    }
    return FALSE;
}

BOOL CZQDriverData::BGetConfigPrinterName(PCWSTR pszPrinterName, PWSTR* ppszName) {
    if (ppszName) *ppszName = nullptr;
    if (!pszPrinterName || !ppszName) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    CZQLocalPtr<WCHAR> result;
    if (!result.Alloc(wcslen(pszPrinterName) + 1)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    WCHAR copy[zqsettings::kItemChars];
    ZQCopyText(copy, ARRAYSIZE(copy), pszPrinterName);
    if (BStripServerName(copy)) {
        ZQCopyText(result.Get(), wcslen(pszPrinterName) + 1, copy);
    } else {
        // The second piece between backslashes and commas: the queue of a server's printer.
        PCWSTR piece = copy + wcsspn(copy, L"\\,");
        piece += wcscspn(piece, L"\\,");
        piece += wcsspn(piece, L"\\,");
        ZQCopyTextN(result.Get(), wcslen(pszPrinterName) + 1, piece, wcscspn(piece, L"\\,"));
    }
    *ppszName = result.Release();
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Import
// ---------------------------------------------------------------------------------------------
BOOL CZQConfigImport::BImportConfigManager(PCWSTR pszPrinterName, DWORD dwMode, BOOL bFinish) {
    ZQ_TRACE("CZQConfigImport::BImportConfigManager");
    CZQPrinterHandle printer = OpenFully(pszPrinterName);
    const HANDLE h = printer.Get();
    BOOL result = FALSE;
    DWORD error = ERROR_SUCCESS;  // why a FALSE answer is one
    CZQConfigManager manager;
    WCHAR path[MAX_PATH];
    BOOL exportOnly = FALSE;
    if (!h) {
        error = GetLastError();
        zqtrace::Line(L"CZQConfigImport: printer not opened\n");
    } else if (!CZQConfigManager::BFindConfigManagerFile(h, path, kZQCfgMgrFile, &exportOnly)) {
        error = GetLastError();
        // A driver record that could not be read says nothing about the driver's files.
        if (error == ERROR_FILE_NOT_FOUND) WriteStatus(h, 0);
    } else if (!manager.BLoad(path)) {
        error = GetLastError();
        WriteStatus(h, 1);
    } else {
        result = manager.BBound();
        if (!result) error = GetLastError();
    }
    if (manager.BBound() && ImportWanted(h)) {
        bool stored = false;
        const DWORD failed = Import(manager, h, pszPrinterName, dwMode, &stored);
        if (failed != ERROR_SUCCESS) {
            result = FALSE;
            error = failed;
        }
        if (stored) result = TRUE;
    }
    if (bFinish) BFinishInstallation(pszPrinterName);
    if (!result) SetLastError(error != ERROR_SUCCESS ? error : ERROR_INVALID_FUNCTION);
    return result;
}

BOOL CZQConfigImport::BImportAtUpgrade(DWORD dwLevel, const BYTE* pDriverUpgradeInfo) {
    ZQ_TRACE("CZQConfigImport::BImportAtUpgrade");
    if (!pDriverUpgradeInfo || (dwLevel != 1 && dwLevel != 2)) return FALSE;
    PCWSTR printerName = reinterpret_cast<const DRIVER_UPGRADE_INFO_1*>(pDriverUpgradeInfo)->pPrinterName;
    if (!printerName) return FALSE;
    BOOL finish = FALSE;
    PCWSTR newDriver = dwLevel == 2 ? reinterpret_cast<const DRIVER_UPGRADE_INFO_2*>(pDriverUpgradeInfo)->pName : nullptr;
    if (newDriver) {
        CZQPrinterHandle printer;
        CZQLocalPtr<WCHAR> driver;
        finish = zqspool::Spooler().OpenPrinterW(const_cast<PWSTR>(printerName), printer.Put(), nullptr) &&
                 CZQDriverData::BGetPrinterDataEx(printer.Get(), zs::kDsSpoolerKey, zs::kDsDriverName, driver.Put()) &&
                 ZQEqualNoCase(driver.Get(), newDriver);
    }
    BImportConfigManager(printerName, ZQCFG_MODE_UPGRADE, finish);
    return TRUE;
}

BOOL CZQConfigImport::BStoreConfigItem(PCWSTR pszRoot, PCWSTR pszName, PCWSTR pszValue, HANDLE hPrinter) {
    if (!pszRoot || !pszName || !pszValue) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    const PCWSTR key = CZQDriverData::PszItemTree(pszRoot, pszName, FALSE);
    if (!key) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    return CZQDriverData::BSetPrinterDataEx(hPrinter, key, pszName, pszValue);
}

BOOL CZQConfigImport::BStoreConfigLock(PCWSTR pszRoot, PCWSTR pszName, HANDLE hPrinter) {
    const PCWSTR key = CZQDriverData::PszLockTree(pszRoot);
    if (!key || !pszName) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    return CZQDriverData::BSetPrinterDataEx(hPrinter, key, pszName, zs::kLock);
}

// ---------------------------------------------------------------------------------------------
// Finishing the installation
// ---------------------------------------------------------------------------------------------
BOOL CZQConfigImport::BFinishInstallation(PCWSTR pszPrinterName) {
    ZQ_TRACE("CZQConfigImport::BFinishInstallation");
    CZQPrinterHandle printer = OpenFully(pszPrinterName);
    const HANDLE h = printer.Get();
    if (!h) return FALSE;
    const auto& sp = zqspool::Spooler();
    PWSTR name = const_cast<PWSTR>(pszPrinterName);
    BOOL stored = FALSE;
    // While it reads 1, the sheets' CommonUIProp applies the imported settings.
    if (CZQDriverData::BSetPrinterDataDword(h, zs::kInstallationComplete, 1)) {
        sp.PrinterProperties(nullptr, h);
        const LONG size = sp.DocumentPropertiesW(nullptr, h, name, nullptr, nullptr, 0);
        CZQLocalPtr<BYTE> devmode;
        // A size the driver cannot mean (a failure, or less than a devmode) is not asked to be filled.
        if (size < static_cast<LONG>(sizeof(DEVMODEW)) || !devmode.Alloc(static_cast<size_t>(size))) {
            zqtrace::Line(L"CZQConfigImport::BFinishInstallation: no usable devmode size\n");
        } else {
            auto* dm = reinterpret_cast<PDEVMODEW>(devmode.Get());
            if (sp.DocumentPropertiesW(nullptr, h, name, dm, nullptr, DM_OUT_BUFFER) > 0 &&
                sp.DocumentPropertiesW(nullptr, h, name, dm, dm, DM_IN_BUFFER | DM_IN_PROMPT | DM_OUT_BUFFER) == IDOK) {
                PRINTER_INFO_8W global = {dm};
                stored = sp.SetPrinterW(h, 8, reinterpret_cast<BYTE*>(&global), 0);
            }
        }
    }
    CZQDriverData::BSetPrinterDataDword(h, zs::kInstallationComplete, 0);
    return stored;
}

// ---------------------------------------------------------------------------------------------
// Installing the configuration file
// ---------------------------------------------------------------------------------------------
BOOL CZQConfigImport::BInstallConfigFile(PCWSTR pszPrinterName) {
    ZQ_TRACE("CZQConfigImport::BInstallConfigFile");
    CZQPrinterHandle printer = OpenFully(pszPrinterName);
    CZQLocalPtr<DRIVER_INFO_3W> driver;
    if (!printer || !CZQCommon::BGetDriverInfo3(printer.Get(), driver.Put()) || !driver.Get()->pName) return FALSE;
    bool manager = false;
    PCWSTR exportFile = nullptr;
    for (PCWSTR entry = driver.Get()->pDependentFiles; entry && *entry; entry += wcslen(entry) + 1) {
        PCWSTR slash = wcsrchr(entry, L'\\');
        PCWSTR name = slash ? slash + 1 : entry;
        PCWSTR dot = wcsrchr(name, L'.');
        if (ZQEqualNoCase(name, kZQCfgMgrFile)) manager = true;
        if (dot && ZQEqualNoCase(dot, L".exp")) exportFile = entry;
    }
    if (!manager || !exportFile) return FALSE;
    PCWSTR slash = wcsrchr(exportFile, L'\\');
    if (!slash) return FALSE;

    // A new name beside the export file.
    WCHAR unique[CZQUIBase::kExportNameChars];
    CZQUIBase::VMakeUniqueExportName(unique);
    WCHAR target[MAX_PATH];
    if (ZQCopyTextN(target, MAX_PATH, exportFile, static_cast<size_t>(slash - exportFile) + 1) != S_OK ||
        ZQAppendText(target, MAX_PATH, unique) != S_OK || ZQAppendText(target, MAX_PATH, L".cfg") != S_OK)
        return FALSE;
    if (!CopyFileW(exportFile, target, FALSE)) return FALSE;

    // The path in the system code page, without terminator, under the driver's printer key.
    char ansi[MAX_PATH];
    BOOL defaulted = FALSE;
    const int cb = WideCharToMultiByte(CP_ACP, 0, target, -1, ansi, sizeof ansi, nullptr, &defaulted);
    WCHAR key[MAX_PATH];
    const bool keyMade = ZQFormatText(key, MAX_PATH, L"%ls\\%ls", zs::kMachinePrintersKey, driver.Get()->pName) == S_OK;
    CZQUndoableMachineValue configFile(key, zs::kConfigFile);
    const bool named =
        cb > 1 && !defaulted && keyMade && configFile.BWrite(REG_BINARY, ansi, static_cast<DWORD>(cb - 1));
    // On FALSE nothing of this is left: no copy nothing names, no name of a configuration the
    // printer does not take.
    if (named && CZQDriverData::BSetPrinterData(printer.Get(), zs::kDMCExportOnly, zs::kTrue)) return TRUE;
    const DWORD error = named ? GetLastError() : ERROR_INVALID_DATA;
    configFile.VUndo();
    DeleteFileW(target);
    SetLastError(error);
    return FALSE;
}
