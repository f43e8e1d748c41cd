// The maker's configuration manager as the plug-in binds it for one operation (an import, an
// export): found among the printer driver's dependent files, loaded by its full path, its 18 entry
// points resolved all or none, registered afresh, walked, and freed when the operation ends.
#pragma once

#include <functional>

#include "common/zqcommon.h"
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
inline constexpr size_t kListChars = 1024;
// No list of a well-behaved manager holds more names; a manager that keeps handing out names is
// not followed further.
inline constexpr int kMaxListNames = 4096;

// Prepares a buffer the manager is to fill: the fill mark in all but the last character, zero in
// the last.
void VPrepare(PWSTR pszBuffer, size_t cch);
// A list that names nothing.
bool BIsEmptyList(PCWSTR pszList);

}  // namespace zqcfg

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
    // file is one too; *pbExportOnly when it is, no ".cfg" file is and an ".exp" file is.
    static BOOL BFindConfigManagerFile(HANDLE hPrinter, PWSTR pszPath, PCWSTR pszFile, BOOL* pbExportOnly);

    // Walks the names of a root list three levels deep, visiting each name with its level (1 to 3)
    // while the current context is that name's parent; climbs back with the root context text
    // ("Printing" or "Printing/") after each deeper walk. Answers the number of first-level names.
    using Visit = std::function<void(int iLevel, PCWSTR pszName)>;
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
