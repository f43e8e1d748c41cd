// Machine and per-user registry values the helper reads and writes.
#include <cstring>
#include <cwchar>

#include "common/zqdevmodetags.h"
#include "common/zqcommon.h"
#include "common/zqhandles.h"
#include "common/zqstorenames.h"
#include "common/zqstrings.h"
#include "formats/zqsnapshot.h"
#include "formats/zquidevmode.h"

namespace {

namespace zs = zqsettings;
using zs::kMakerKey;

// Machine values are looked for in the caller's view, then in the 64-bit one.
bool ReadMachineText(PCWSTR pszKey, PCWSTR pszValue, PWSTR pszOut, DWORD cchOut) {
    return CZQCommon::BReadRegText(HKEY_LOCAL_MACHINE, pszKey, pszValue, 0, pszOut, cchOut) ||
           CZQCommon::BReadRegText(HKEY_LOCAL_MACHINE, pszKey, pszValue, KEY_WOW64_64KEY, pszOut, cchOut);
}

// The run key of a conversion run: the devmode's tag names the run, else the process does.
bool BuildRunKey(const DEVMODEW* pDevmode, PWSTR pszKey, size_t cchKey) {
    GUID guid = GUID_NULL;
    if (pDevmode && pDevmode->dmSize) {
        BYTE* pValue = nullptr;
        const DWORD size = static_cast<DWORD>(pDevmode->dmSize) + pDevmode->dmDriverExtra;
        if (CZQDevmodeTags::BGetValue(reinterpret_cast<BYTE*>(const_cast<DEVMODEW*>(pDevmode)), size, &pValue) &&
            pValue)
            memcpy(&guid, pValue, sizeof guid);
    }
    return CZQCommon::BBuildRunKeyPath(guid, pszKey, cchKey) != FALSE;
}

BOOL RunFlagIsSet(PCWSTR pszRunKey, PCWSTR pszFlag) {
    WCHAR value[16];
    return CZQCommon::BReadRegText(HKEY_CURRENT_USER, pszRunKey, pszFlag, 0, value, 16) &&
           ZQEqualNoCase(value, zs::kRunFlagOn);
}

BOOL RunFlagIsSet(const DEVMODEW* pDevmode, PCWSTR pszFlag) {
    WCHAR key[CZQCommon::kRunKeyChars];
    return BuildRunKey(pDevmode, key, CZQCommon::kRunKeyChars) && RunFlagIsSet(key, pszFlag);
}

PCWSTR PrintingHelpOption(int iPage) {
    switch (iPage) {
        case 7: return L"PaperQualityHelp";
        case 9: return L"DocUIHelp";
        default: return nullptr;
    }
}

// The help program when the driver offers the page's printing help and the machine has it.
bool FindPrintingHelp(POEMCUIPPARAM pParam, int iPage, PWSTR pszProgram, DWORD cchProgram) {
    PCWSTR option = PrintingHelpOption(iPage);
    if (!option) return false;
    PWSTR* list = nullptr;
    int count = 0;
    if (CZQCommon::DWGetOptionKeywords(pParam, L"ZQDisplayPrintingHelp", &list, &count, OEMCUIP_DOCPROP) != ZQOPT_OK)
        return false;
    bool offered = false;
    for (int i = 0; i < count && !offered; ++i) offered = ZQEqualNoCase(list[i], option);
    CZQCommon::VFreeStringList(list, count);
    return offered && ReadMachineText(zs::kPrintingHelpKey, zs::kPrintingHelpProgram, pszProgram, cchProgram) &&
           pszProgram[0];
}

}  // namespace

BOOL CZQCommon::BReadUserRegValue(PCWSTR pszSubKey, PCWSTR pszValue, BYTE** ppData, DWORD* pcbData,
                                  DWORD* pdwType) {
    if (ppData) *ppData = nullptr;
    if (pcbData) *pcbData = 0;
    if (!pszSubKey || !pszValue || !ppData) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    CZQRegKey key;
    DWORD type = REG_NONE, cb = 0;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, pszSubKey, 0, KEY_QUERY_VALUE, key.Put()) != ERROR_SUCCESS ||
        RegQueryValueExW(key.Get(), pszValue, nullptr, &type, nullptr, &cb) != ERROR_SUCCESS)
        return FALSE;
    CZQLocalPtr<BYTE> data;
    if (!data.Alloc(cb + sizeof(WCHAR)) ||
        RegQueryValueExW(key.Get(), pszValue, nullptr, &type, data.Get(), &cb) != ERROR_SUCCESS)
        return FALSE;
    if (pcbData) *pcbData = cb;
    if (pdwType) *pdwType = type;
    *ppData = data.Release();
    return TRUE;
}

BOOL CZQCommon::BReadRegText(HKEY hRoot, PCWSTR pszKey, PCWSTR pszValue, REGSAM samExtra, PWSTR pszOut,
                             DWORD cchOut) {
    if (!pszOut || !cchOut) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    pszOut[0] = 0;
    CZQRegKey key;
    if (RegOpenKeyExW(hRoot, pszKey, 0, KEY_READ | samExtra, key.Put()) != ERROR_SUCCESS) return FALSE;
    DWORD type = 0;
    DWORD cb = (cchOut - 1) * sizeof(WCHAR);
    const LONG rc = RegQueryValueExW(key.Get(), pszValue, nullptr, &type, reinterpret_cast<BYTE*>(pszOut), &cb);
    pszOut[cchOut - 1] = 0;
    if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) {
        pszOut[0] = 0;
        return FALSE;
    }
    // A value stored without its terminator gets one.
    pszOut[cb / sizeof(WCHAR) < cchOut ? cb / sizeof(WCHAR) : cchOut - 1] = 0;
    return TRUE;
}

BOOL CZQCommon::BIsBorderlessFormName(PCWSTR pszForm) {
    if (!pszForm) return FALSE;
    WCHAR keyPath[128];
    ZQFormatText(keyPath, 128, L"%ls%ls", kMakerKey, zs::kBorderlessFormsKey);
    // Only read: the record belongs to the custom-paper dialog, and a reader has no business
    // creating machine keys.
    CZQRegKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_QUERY_VALUE, key.Put()) != ERROR_SUCCESS) return FALSE;
    return RegQueryValueExW(key.Get(), pszForm, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

BOOL CZQCommon::BRecordBorderlessForm(PCWSTR pszForm, BOOL bBorderless) {
    if (!pszForm) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    // The maker's product key first, then the record's own key under it.
    WCHAR parentPath[128], keyPath[128];
    ZQFormatText(parentPath, 128, L"%ls%ls", kMakerKey, zs::kBorderlessFormsParent);
    ZQFormatText(keyPath, 128, L"%ls%ls", kMakerKey, zs::kBorderlessFormsKey);
    CZQRegKey parent, key;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, parentPath, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, parent.Put(),
                        nullptr) != ERROR_SUCCESS ||
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, keyPath, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, key.Put(),
                        nullptr) != ERROR_SUCCESS)
        return FALSE;
    if (!bBorderless) {
        RegDeleteValueW(key.Get(), pszForm);
        return TRUE;
    }
    return RegSetValueExW(key.Get(), pszForm, 0, REG_SZ, reinterpret_cast<const BYTE*>(zs::kBorderlessFormData),
                          sizeof zs::kBorderlessFormData) == ERROR_SUCCESS;
}

BOOL CZQCommon::BWriteUserBinaryValue(PCWSTR pszSubKey, PCWSTR pszValue, const void* pData, DWORD cbData) {
    if (!pszSubKey || !pszValue || (!pData && cbData)) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    const size_t cch = wcslen(kMakerKey) + wcslen(pszSubKey) + 1;
    CZQLocalPtr<WCHAR> keyPath;
    if (!keyPath.Alloc(cch) || FAILED(ZQFormatText(keyPath.Get(), cch, L"%ls%ls", kMakerKey, pszSubKey))) return FALSE;
    CZQRegKey key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, keyPath.Get(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.Put(), nullptr) !=
        ERROR_SUCCESS)
        return FALSE;
    return RegSetValueExW(key.Get(), pszValue, 0, REG_BINARY, static_cast<const BYTE*>(pData), cbData) ==
           ERROR_SUCCESS;
}

BOOL CZQCommon::BBuildRunKeyPath(const GUID& runGuid, PWSTR pszKey, size_t cchKey) {
    if (!pszKey || !cchKey) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    WCHAR runId[64] = {};
    if (IsEqualGUID(runGuid, GUID_NULL)) ZQFormatText(runId, 64, L"%lu", GetCurrentProcessId());
    else StringFromGUID2(runGuid, runId, 64);
    // A path that does not fit names another key: nothing is built.
    if (ZQFormatText(pszKey, cchKey, L"%ls%ls", zs::kRunKeyPrefix, runId) != S_OK) {
        pszKey[0] = 0;
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    return TRUE;
}

GUID CZQCommon::GRunGuidOfPrivateDM(const VOID* pPrivateDM) {
    GUID guid = GUID_NULL;
    uint8_t value[zqsnap::kGuidBytes];
    if (zqsnap::RunGuidOfBlock(static_cast<const uint8_t*>(pPrivateDM), zqdm::kSize, value))
        memcpy(&guid, value, sizeof guid);
    return guid;
}

BOOL CZQCommon::BIsProcessingOndrel(const DEVMODEW* pDevmode) { return RunFlagIsSet(pDevmode, zs::kProcessingOndrel); }

BOOL CZQCommon::BIsOndrelRunOfPrivateDM(const VOID* pPrivateDM) {
    WCHAR key[kRunKeyChars];
    return BBuildRunKeyPath(GRunGuidOfPrivateDM(pPrivateDM), key, kRunKeyChars) &&
           RunFlagIsSet(key, zs::kProcessingOndrel);
}

BOOL CZQCommon::BIsProcessingConvertDevmode(const DEVMODEW* pDevmode) {
    return RunFlagIsSet(pDevmode, zs::kProcessingConvertDevmode);
}

BOOL CZQCommon::BHasToolboxPath(HANDLE hPrinter) {
    WCHAR path[MAX_PATH];
    return BReadToolboxPath(hPrinter, path);
}

BOOL CZQCommon::BReadToolboxPath(HANDLE hPrinter, PWSTR pszPath) {
    if (!pszPath) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    pszPath[0] = 0;
    CZQLocalPtr<DRIVER_INFO_3W> driver;
    if (!BGetDriverInfo3(hPrinter, driver.Put()) || !driver.Get()->pName) return FALSE;
    const size_t cch = wcslen(zs::kToolboxKey) + wcslen(driver.Get()->pName) + 1;
    CZQLocalPtr<WCHAR> keyPath;
    if (!keyPath.Alloc(cch) ||
        FAILED(ZQFormatText(keyPath.Get(), cch, L"%ls%ls", zs::kToolboxKey, driver.Get()->pName)))
        return FALSE;
    return ReadMachineText(keyPath.Get(), zs::kToolboxPath, pszPath, MAX_PATH) && pszPath[0];
}

BOOL CZQCommon::BHasPrintingHelp(POEMCUIPPARAM pParam, int iPage) {
    WCHAR program[MAX_PATH];
    return FindPrintingHelp(pParam, iPage, program, MAX_PATH) ? TRUE : FALSE;
}

void CZQCommon::VLaunchPrintingHelp(POEMCUIPPARAM pParam, int iPage) {
    WCHAR program[MAX_PATH];
    if (!FindPrintingHelp(pParam, iPage, program, MAX_PATH)) return;
    WCHAR commandLine[MAX_PATH + 64];
    if (FAILED(ZQFormatText(commandLine, MAX_PATH + 64, L"\"%ls\" %ls", program, PrintingHelpOption(iPage)))) return;
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(program, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return;
    CZQHandle process(pi.hProcess);
    CZQHandle thread(pi.hThread);
}
