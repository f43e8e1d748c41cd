#include "device/zqservicesmodule.h"

#include <cstring>
#include <cwchar>

#include "common/zqcommon.h"
#include "common/zqhandles.h"
#include "common/zqtrace.h"
#include "common/zqstrings.h"
#include "device/zqbuffer.h"

namespace {

// Zero-filled, 4-byte aligned path buffers.
constexpr DWORD kPathBufferFlags = CZQBuffer::kZeroFill | 0x04;

// The directory of the printer's driver file, without the backslash that ends it. Throws 6 when
// the printer cannot be opened, 13 when the record is empty or names no directory.
void ReadDriverDirectory(LPCWSTR pszPrinterName, CZQLocalPtr<WCHAR>& directory, size_t* pcch) {
    const auto& sp = zqspool::Spooler();
    CZQPrinterHandle printer;
    if (!sp.OpenPrinterW(const_cast<LPWSTR>(pszPrinterName), printer.Put(), nullptr) || !printer)
        ZQThrowLastError(ERROR_INVALID_HANDLE);
    DWORD needed = 0;
    sp.GetPrinterDriverW(printer.Get(), nullptr, 2, nullptr, 0, &needed);
    if (needed < sizeof(DRIVER_INFO_2W)) ZQThrowLastError(ERROR_INVALID_DATA);
    CZQLocalPtr<BYTE> record;
    if (!record.Alloc(needed)) ZQThrowLastError(ERROR_NOT_ENOUGH_MEMORY);
    if (!sp.GetPrinterDriverW(printer.Get(), nullptr, 2, record.Get(), needed, &needed)) {
        const DWORD error = GetLastError();
        ZQThrowLastError(error ? error : ERROR_INVALID_DATA);
    }
    const auto* info = reinterpret_cast<const DRIVER_INFO_2W*>(record.Get());
    const WCHAR* slash = info->pDriverPath ? wcsrchr(info->pDriverPath, L'\\') : nullptr;
    if (!slash) ZQThrowLastError(ERROR_INVALID_DATA);
    const size_t cch = static_cast<size_t>(slash - info->pDriverPath);
    if (!directory.Alloc(cch + 1)) ZQThrowLastError(ERROR_NOT_ENOUGH_MEMORY);
    std::wmemcpy(directory.Get(), info->pDriverPath, cch);
    *pcch = cch;
}

// A locked path buffer of that many characters; out of memory throws 8.
LPWSTR NewPathBuffer(size_t cch, void** ppBuffer) {
    auto* buffer = new CZQBuffer();
    if (!buffer || buffer->IAllocate(static_cast<DWORD>(cch * sizeof(WCHAR)), kPathBufferFlags, 0, 0) != ZQBUF_OK) {
        delete buffer;
        ZQThrowLastError(ERROR_NOT_ENOUGH_MEMORY);
    }
    *ppBuffer = buffer;
    auto* path = static_cast<LPWSTR>(buffer->PLock());
    if (!path) ZQThrowLastError(ERROR_NOT_ENOUGH_MEMORY);
    return path;
}

// directory + "\" + the ANSI name widened byte by byte + suffix, into a new buffer. A path that
// would not fit 256 characters is refused (206) rather than cut into the name of another file; a
// name that, widened, would leave the directory (a double-byte character whose second byte is a
// backslash, say) is refused (123).
LPWSTR BuildPath(const WCHAR* pszDirectory, size_t cchDirectory, LPCSTR pszName, LPCWSTR pszSuffix, size_t cchExtra,
                 DWORD* pcchPath, void** ppBuffer) {
    const size_t cchName = std::strlen(pszName);
    const size_t cchSuffix = std::wcslen(pszSuffix);
    if (cchDirectory + 1 + cchName + cchSuffix >= CZQServicesModule::kMaxPathChars)
        ZQThrowLastError(ERROR_FILENAME_EXCED_RANGE);
    WCHAR file[CZQServicesModule::kMaxPathChars];
    for (size_t i = 0; i < cchName; ++i) file[i] = static_cast<WCHAR>(static_cast<unsigned char>(pszName[i]));
    std::wmemcpy(file + cchName, pszSuffix, cchSuffix + 1);
    if (!ZQIsPlainFileName(file)) ZQThrowLastError(ERROR_INVALID_NAME);
    LPWSTR path = NewPathBuffer(cchDirectory + cchName + cchExtra, ppBuffer);
    size_t n = 0;
    std::wmemcpy(path, pszDirectory, cchDirectory);
    n += cchDirectory;
    path[n++] = L'\\';
    std::wmemcpy(path + n, file, cchName + cchSuffix);
    n += cchName + cchSuffix;
    path[n] = 0;
    *pcchPath = static_cast<DWORD>(n);
    return path;
}

// Unlocks, frees and destroys a path buffer.
void ReleasePathBuffer(void*& pBuffer, LPWSTR& pszPath, DWORD& cchPath) {
    if (auto* buffer = static_cast<CZQBuffer*>(pBuffer)) {
        if (pszPath) buffer->IUnlock();
        buffer->IFree();
        delete buffer;
    }
    pBuffer = nullptr;
    pszPath = nullptr;
    cchPath = 0;
}

LONG IFreeLibrary(HMODULE& hModule) {
    const HMODULE h = hModule;
    hModule = nullptr;
    if (h && !FreeLibrary(h)) {
        zqtrace::Line(L"CZQServicesModule: FreeLibrary failed\n");
        return ZQMEM_FREE_LIBRARY_FAILED;
    }
    return ZQMEM_OK;
}

bool PathMatches(const void* pBuffer, LPCWSTR pszPath, DWORD cchPath) {
    const auto* buffer = static_cast<const CZQBuffer*>(pBuffer);
    if (!buffer || !buffer->BIsValid() || !pszPath) return false;
    return wcsnlen(pszPath, buffer->DWSize() / sizeof(WCHAR)) == cchPath;
}

}  // namespace

CZQServicesModule::CZQServicesModule(LPCWSTR pszPrinterName, LPCSTR pszLibraryBaseName) : ZQServicesLoader() {
    cbSize = sizeof(ZQServicesLoader);
    if (!pszPrinterName || !pszLibraryBaseName) return;
    try {
        VBuildPaths(pszPrinterName, pszLibraryBaseName);
    } catch (...) {
        const DWORD error = GetLastError();
        VRelease();
        SetLastError(error);
    }
}

CZQServicesModule::~CZQServicesModule() { VRelease(); }

BOOL CZQServicesModule::BLibraryBaseName(LPCWSTR pszSetting, LPSTR* ppszBaseName) {
    if (ppszBaseName) *ppszBaseName = nullptr;
    if (!ppszBaseName || !ZQIsPlainFileName(pszSetting)) {
        SetLastError(ERROR_INVALID_NAME);
        return FALSE;
    }
    return CZQCommon::BWideToExactMultiByte(pszSetting, ppszBaseName, CP_ACP);
}

void CZQServicesModule::VBuildPaths(LPCWSTR pszPrinterName, LPCSTR pszLibraryBaseName) {
    CZQLocalPtr<WCHAR> directory;
    size_t cchDirectory = 0;
    ReadDriverDirectory(pszPrinterName, directory, &cchDirectory);
    pszLibraryPath = BuildPath(directory.Get(), cchDirectory, pszLibraryBaseName, L".dll", 6, &cchLibraryPath,
                               &pLibraryBuffer);
    CZQLocalPtr<char> moduleName;
    if (!CZQCommon::BWideToMultiByte(kZQServicesModuleFile, moduleName.Put(), CP_ACP))
        ZQThrowLastError(ERROR_NOT_ENOUGH_MEMORY);
    pszModulePath = BuildPath(directory.Get(), cchDirectory, moduleName.Get(), L"", 2, &cchModulePath, &pModuleBuffer);
}

void CZQServicesModule::VRelease() {
    IFreeLibrary(hLibrary);
    ReleasePathBuffer(pLibraryBuffer, pszLibraryPath, cchLibraryPath);
    IFreeLibrary(hModule);
    ReleasePathBuffer(pModuleBuffer, pszModulePath, cchModulePath);
}

BOOL CZQServicesModule::BIsValid() const {
    return PathMatches(pLibraryBuffer, pszLibraryPath, cchLibraryPath) &&
           PathMatches(pModuleBuffer, pszModulePath, cchModulePath);
}

void CZQServicesModule::VLoadModules() {
    if (!BIsValid()) return;
    IFreeLibrary(hLibrary);
    hLibrary = LoadLibraryExW(pszLibraryPath, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    IFreeLibrary(hModule);
    hModule = LoadLibraryExW(pszModulePath, nullptr, DONT_RESOLVE_DLL_REFERENCES);
}

FARPROC CZQServicesModule::PGetProcAddress(LPCSTR pszExportName) {
    try {
        if (!pszExportName || !BIsValid()) return nullptr;
        if (!hLibrary) VLoadModules();
        return hLibrary ? GetProcAddress(hLibrary, pszExportName) : nullptr;
    } catch (...) {
        return nullptr;
    }
}
