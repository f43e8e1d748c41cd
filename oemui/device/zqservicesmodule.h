// CZQServicesModule: the loader of the maker's services library, which supplies the "Services"
// page of Printer Properties, and of the services module zqsvcmod beside it. It builds both paths
// in the printer driver's directory, loads the files on demand and hands out the library's exports.
// The loader itself is the record the library receives (platform/zqservicesapi.h): it adds no
// fields and has no virtual operations.
#pragma once

#include "platform/zqservicesapi.h"

class CZQServicesModule : public ZQServicesLoader {
public:
    // Never throws: a printer that cannot be opened, a driver path without a directory, a path
    // that would not fit 256 characters or a failed allocation leave an invalid loader.
    CZQServicesModule(LPCWSTR pszPrinterName, LPCSTR pszLibraryBaseName);
    ~CZQServicesModule();
    CZQServicesModule(const CZQServicesModule&) = delete;
    CZQServicesModule& operator=(const CZQServicesModule&) = delete;

    static constexpr size_t kMaxPathChars = 256;

    // The library's base name as the loader takes it from the core driver's setting: a plain file
    // name (ZQIsPlainFileName) that the system code page holds exactly, in a new local-heap string.
    // FALSE for any other: no look-alike of a separator turns into one on the way.
    static BOOL BLibraryBaseName(LPCWSTR pszSetting, LPSTR* ppszBaseName);

    BOOL BIsValid() const;
    // Loads both files again (the library with its dependencies from its own folder, the module
    // as data only); only for a valid loader.
    void VLoadModules();
    // The library's export, loading the files first when needed; null for an invalid loader, a
    // library that cannot be loaded or a missing export.
    FARPROC PGetProcAddress(LPCSTR pszExportName);
    // The same, typed as the export is declared.
    template <typename Fn>
    Fn Export(LPCSTR pszExportName) {
        return reinterpret_cast<Fn>(reinterpret_cast<void*>(PGetProcAddress(pszExportName)));
    }

private:
    void VBuildPaths(LPCWSTR pszPrinterName, LPCSTR pszLibraryBaseName);
    void VRelease();
};
static_assert(sizeof(CZQServicesModule) == sizeof(ZQServicesLoader), "the loader is the library's record");
