// Binding the configuration manager for one operation, and walking its lists of names.
#include "settings/zqconfigmgr.h"

#include <cwchar>
#include <string>

#include "common/zqstrings.h"
#include "common/zqtrace.h"
#include "zqproc.h"

namespace {

// The text after the last backslash (the whole text without one), and its extension from the last
// point on.
PCWSTR FileNameOf(PCWSTR pszPath) {
    PCWSTR slash = wcsrchr(pszPath, L'\\');
    return slash ? slash + 1 : pszPath;
}

bool HasExtension(PCWSTR pszName, PCWSTR pszExtension) {
    PCWSTR dot = wcsrchr(pszName, L'.');
    return dot && ZQEqualNoCase(dot, pszExtension);
}

}  // namespace

CZQConfigManager::~CZQConfigManager() {
    if (m_hModule) FreeLibrary(m_hModule);
}

BOOL CZQConfigManager::BLoad(PCWSTR pszPath) {
    ZQ_TRACE("CZQConfigManager::BLoad");
    if (m_hModule || !pszPath) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    m_hModule = CZQCommon::HLoadLibrary(pszPath);
    if (!m_hModule) return FALSE;
    m_bBound = BResolveConfigEntryPoints(&m_api, m_hModule);
    return TRUE;
}

BOOL CZQConfigManager::BRegister() const {
    if (!m_bBound) return FALSE;
    m_api.DllUnregisterServer();
    return m_api.DllRegisterServer() == S_OK;
}

CZQConfigSessionLock::CZQConfigSessionLock()
    : CZQNamedLock((L"Local\\ZQConfigManagerSession." + std::to_wstring(GetCurrentProcessId())).c_str(), INFINITE) {
    if (!Held()) zqtrace::Line(L"CZQConfigSessionLock: the session is not guarded\n");
}

BOOL CZQConfigManager::BResolveConfigEntryPoints(ConfigEntryPoints* pEntries, HMODULE hModule) {
    if (!pEntries) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    ConfigEntryPoints& e = *pEntries;
    e.DMCStartConfig = ZQGetProc<PFN_DMCStartConfig>(hModule, "DMCStartConfig");
    e.DllRegisterServer = ZQGetProc<PFN_ZQCfgRegister>(hModule, "DllRegisterServer");
    e.DllUnregisterServer = ZQGetProc<PFN_ZQCfgRegister>(hModule, "DllUnregisterServer");
    e.DMCSetContext = ZQGetProc<PFN_DMCSetContext>(hModule, "DMCSetContext");
    e.DMCEnumListToken = ZQGetProc<PFN_DMCEnumListToken>(hModule, "DMCEnumListToken");
    e.DMCGet = ZQGetProc<PFN_DMCGet>(hModule, "DMCGet");
    e.DMCEnumFeatures = ZQGetProc<PFN_DMCEnumFeatures>(hModule, "DMCEnumFeatures");
    e.DMCGetContext = ZQGetProc<PFN_DMCGetContext>(hModule, "DMCGetContext");
    e.DMCGetNamedFeatureAttribute = ZQGetProc<PFN_DMCGetNamedFeatureAttribute>(hModule, "DMCGetNamedFeatureAttribute");
    e.DMCStartExport = ZQGetProc<PFN_DMCStartExport>(hModule, "DMCStartExport");
    e.DMCSet = ZQGetProc<PFN_DMCSet>(hModule, "DMCSet");
    e.DMCSetExport = ZQGetProc<PFN_DMCSetExport>(hModule, "DMCSetExport");
    e.DMCEndExport = ZQGetProc<PFN_DMCEndExport>(hModule, "DMCEndExport");
    e.DMCGetLastCOMError = ZQGetProc<PFN_DMCGetLastCOMError>(hModule, "DMCGetLastCOMError");
    e.DMCGetContextPRV = ZQGetProc<PFN_DMCGetContextPRV>(hModule, "DMCGetContextPRV");
    e.DMCSetContextPRV = ZQGetProc<PFN_DMCSetContextPRV>(hModule, "DMCSetContextPRV");
    e.DMCSetContextRelative = ZQGetProc<PFN_DMCSetContextRelative>(hModule, "DMCSetContextRelative");
    e.DMCEndConfig = ZQGetProc<PFN_DMCEndConfig>(hModule, "DMCEndConfig");
    const bool all = e.DMCStartConfig && e.DllRegisterServer && e.DllUnregisterServer && e.DMCSetContext &&
                     e.DMCEnumListToken && e.DMCGet && e.DMCEnumFeatures && e.DMCGetContext &&
                     e.DMCGetNamedFeatureAttribute && e.DMCStartExport && e.DMCSet && e.DMCSetExport &&
                     e.DMCEndExport && e.DMCGetLastCOMError && e.DMCGetContextPRV && e.DMCSetContextPRV &&
                     e.DMCSetContextRelative && e.DMCEndConfig;
    if (!all) {
        e = ConfigEntryPoints();
        SetLastError(ERROR_PROC_NOT_FOUND);
        return FALSE;
    }
    return TRUE;
}

BOOL CZQConfigManager::BFindConfigManagerFile(HANDLE hPrinter, PWSTR pszPath, PCWSTR pszFile, BOOL* pbExportOnly) {
    ZQ_TRACE("CZQConfigManager::BFindConfigManagerFile");
    if (pbExportOnly) *pbExportOnly = FALSE;
    if (!hPrinter || !pszPath || !pszFile || !pbExportOnly) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    pszPath[0] = 0;
    CZQLocalPtr<DRIVER_INFO_3W> driver;
    if (!CZQCommon::BGetDriverInfo3(hPrinter, driver.Put())) return FALSE;
    bool found = false, config = false, exportFile = false;
    for (PCWSTR entry = driver.Get()->pDependentFiles; entry && *entry; entry += wcslen(entry) + 1) {
        PCWSTR name = FileNameOf(entry);
        // A path that does not fit is not cut: a cut path would name another file.
        if (!found && ZQEqualNoCase(name, pszFile) && ZQCopyText(pszPath, MAX_PATH, entry) == S_OK) found = true;
        if (HasExtension(name, L".cfg")) config = true;
        if (HasExtension(name, L".exp")) exportFile = true;
    }
    if (!found) pszPath[0] = 0;
    *pbExportOnly = found && !config && exportFile;
    // Read, but without the files: not a failure of the spooler.
    if (!found || !config) SetLastError(ERROR_FILE_NOT_FOUND);
    return found && config;
}

bool CZQConfigManager::BListBelow(PCWSTR pszName, PWSTR pszList) const {
    return zqcfgwalk::ListBelow(CZQConfigSource(m_api), pszName, pszList);
}

bool CZQConfigManager::BNextName(PWSTR pszName, PWSTR pszList) const {
    return zqcfgwalk::NextName(CZQConfigSource(m_api), pszName, zqcfg::kValueChars, pszList);
}

int CZQConfigManager::IWalkThreeLevels(PCWSTR pszRootContext, PWSTR pszRootList, const Visit& visit) const {
    if (!m_bBound) return 0;
    return zqcfgwalk::WalkThreeLevels(CZQConfigSource(m_api), pszRootContext, pszRootList, zqcfg::kValueChars, visit);
}
