// The maker's configuration manager as the plug-in binds it for one operation (an import, an
// export): found among the printer driver's dependent files, loaded by its full path, its 18 entry
// points resolved all or none, registered afresh, walked, and freed when the operation ends.
//
// The manager keeps one session (a ticket read, an import, an export) per process: whoever opens
// one holds CZQConfigSessionLock until it is closed.
#pragma once

#include "common/zqcommon.h"
#include "common/zqhandles.h"
#include "formats/zqcfgwalk.h"
#include "platform/zqcfgmgrapi.h"

// The configuration manager's entry points, in the order they are resolved.
struct ConfigEntryPoints {
    PFN_DMCStartConfig DMCStartConfig;
    PFN_ZQCfgRegister DllRegisterServer;
    PFN_ZQCfgRegister DllUnregisterServer;
    PFN_DMCSetContext DMCSetContext;
    PFN_DMCEnumListToken DMCEnumListToken;
    PFN_DMCGet DMCGet;
    PFN_DMCEnumFeatures DMCEnumFeatures;
    PFN_DMCGetContext DMCGetContext;
    PFN_DMCGetNamedFeatureAttribute DMCGetNamedFeatureAttribute;
    PFN_DMCStartExport DMCStartExport;
    PFN_DMCSet DMCSet;
    PFN_DMCSetExport DMCSetExport;
    PFN_DMCEndExport DMCEndExport;
    PFN_DMCGetLastCOMError DMCGetLastCOMError;
    PFN_DMCGetContextPRV DMCGetContextPRV;
    PFN_DMCSetContextPRV DMCSetContextPRV;
    PFN_DMCSetContextRelative DMCSetContextRelative;
    PFN_DMCEndConfig DMCEndConfig;
};

namespace zqcfg {

// Room of the buffers the manager fills: item names and values, and lists of names.
inline constexpr size_t kValueChars = 256;
inline constexpr size_t kListChars = zqcfgwalk::kListChars;
inline constexpr int kMaxListNames = zqcfgwalk::kMaxListNames;

// Prepares a buffer the manager is to fill: the fill mark in all but the last character, zero in
// the last.
inline void VPrepare(PWSTR pszBuffer, size_t cch) { zqcfgwalk::Prepare(pszBuffer, cch); }

}  // namespace zqcfg

// The walk's calls made on a bound manager's entry points.
class CZQConfigSource final : public zqcfgwalk::Source {
public:
    explicit CZQConfigSource(const ConfigEntryPoints& api) : m_api(api) {}
    int32_t EnumFeatures(const zqwchar* name, zqwchar* list) const override { return m_api.DMCEnumFeatures(name, list); }
    int32_t EnumListToken(zqwchar* name, zqwchar* list) const override { return m_api.DMCEnumListToken(name, list); }
    int32_t SetContext(const zqwchar* path) const override { return m_api.DMCSetContext(path); }
    int32_t SetContextRelative(const zqwchar* name) const override { return m_api.DMCSetContextRelative(name); }

private:
    const ConfigEntryPoints& m_api;
};

class CZQConfigManager {
public:
    CZQConfigManager() = default;
    ~CZQConfigManager();
    CZQConfigManager(const CZQConfigManager&) = delete;
    CZQConfigManager& operator=(const CZQConfigManager&) = delete;

    // Loads the module by its full path under the plug-in's activation context; FALSE when it does
    // not load. It counts as bound only when all its entry points resolved.
    BOOL BLoad(PCWSTR pszPath);
    BOOL BBound() const { return m_bBound; }
    const ConfigEntryPoints& Api() const { return m_api; }
    // Unregisters and registers the manager again; TRUE when the registration answered S_OK.
    BOOL BRegister() const;

    // Fills the table from the module: TRUE when every entry point resolved, else every entry is
    // cleared.
    static BOOL BResolveConfigEntryPoints(ConfigEntryPoints* pEntries, HMODULE hModule);
    // Whether the file (by name, without regard to case) is a dependent file of the printer's
    // driver, and its full path (pszPath holds MAX_PATH characters). TRUE when it is and a ".cfg"
    // file is one too; *pbExportOnly when it is, no ".cfg" file is and an ".exp" file is. FALSE with
    // ERROR_FILE_NOT_FOUND when the driver lacks them, else with the spooler's answer.
    static BOOL BFindConfigManagerFile(HANDLE hPrinter, PWSTR pszPath, PCWSTR pszFile, BOOL* pbExportOnly);

    // Walks the names of a root list three levels deep (zqcfgwalk::WalkThreeLevels). Answers the
    // number of first-level names.
    using Visit = zqcfgwalk::Visit;
    int IWalkThreeLevels(PCWSTR pszRootContext, PWSTR pszRootList, const Visit& visit) const;
    // The next name of a list into pszName (zqcfg::kValueChars); false when the list is done.
    bool BNextName(PWSTR pszName, PWSTR pszList) const;
    // The names below an item (empty: the context itself) into the list buffer (zqcfg::kListChars);
    // true when the manager gave a list that names something.
    bool BListBelow(PCWSTR pszName, PWSTR pszList) const;

private:
    HMODULE m_hModule = nullptr;
    ConfigEntryPoints m_api = {};
    BOOL m_bBound = FALSE;
};

// Holds this process's configuration-manager session for its life. Every copy of the plug-in's
// module in the process takes the same lock (a mutex named after the process); the thread that
// holds it may take it again.
class CZQConfigSessionLock : public CZQNamedLock {
public:
    CZQConfigSessionLock();
};
