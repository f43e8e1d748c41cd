#include "xmlrules/zqrunswitches.h"

#include <cwchar>

#include "common/zqhandles.h"
#include "common/zqkeywords.h"
#include "common/zqstorenames.h"
#include "common/zqstrings.h"
#include "zqproc.h"

namespace {

namespace zs = zqsettings;
using zs::kDisableDPSExtension;

// The run key of the run a private devmode names.
bool RunKey(const VOID* pPrivateDM, PWSTR pszKey) {
    return CZQCommon::BBuildRunKeyPath(CZQCommon::GRunGuidOfPrivateDM(pPrivateDM), pszKey, CZQCommon::kRunKeyChars) !=
           FALSE;
}

// A DWORD switch of the driver's machine key is 1.
BOOL MachineSwitchIsOn(HANDLE hPrinter, PCWSTR pszFallbackDriver, PCWSTR pszValue) {
    CZQLocalPtr<WCHAR> key;
    DWORD value = 0, cb = sizeof value;
    return CZQRunSwitches::BGetDriverKey(hPrinter, pszFallbackDriver, key.Put()) &&
           RegGetValueW(HKEY_LOCAL_MACHINE, key.Get(), pszValue, RRF_RT_REG_DWORD, nullptr, &value, &cb) ==
               ERROR_SUCCESS &&
           value == 1;
}

// A text value of the run key; null when missing or not a text.
PCWSTR RunText(PCWSTR pszRunKey, PCWSTR pszValue, CZQLocalPtr<BYTE>& data) {
    DWORD type = REG_NONE;
    if (!CZQCommon::BReadUserRegValue(pszRunKey, pszValue, data.Put(), nullptr, &type) || type != REG_SZ)
        return nullptr;
    return reinterpret_cast<PCWSTR>(data.Get());
}

}  // namespace

BOOL CZQRunSwitches::BGetDriverName(HANDLE hPrinter, PWSTR* ppszName) {
    if (ppszName) *ppszName = nullptr;
    if (!hPrinter || !ppszName) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    const auto& sp = zqspool::Spooler();
    DWORD needed = 0;
    sp.GetPrinterDriverW(hPrinter, nullptr, 1, nullptr, 0, &needed);
    CZQLocalPtr<BYTE> info;
    if (needed < sizeof(DRIVER_INFO_1W) || !info.Alloc(needed) ||
        !sp.GetPrinterDriverW(hPrinter, nullptr, 1, info.Get(), needed, &needed))
        return FALSE;
    PCWSTR name = reinterpret_cast<const DRIVER_INFO_1W*>(info.Get())->pName;
    if (!name || !name[0]) return FALSE;
    *ppszName = ZQDupText(name);
    return *ppszName != nullptr;
}

BOOL CZQRunSwitches::BGetDriverKey(HANDLE hPrinter, PCWSTR pszFallbackDriver, PWSTR* ppszKeyPath) {
    CZQLocalPtr<WCHAR> name;
    PCWSTR driver = BGetDriverName(hPrinter, name.Put()) ? name.Get() : pszFallbackDriver;
    if (!driver || !driver[0]) {
        if (ppszKeyPath) *ppszKeyPath = nullptr;
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    return CZQCommon::BGetDriverKeyPath(hPrinter, driver, ppszKeyPath);
}

BOOL CZQRunSwitches::BIsDPSExtensionDisabled(const VOID* pPrivateDM) {
    WCHAR runKey[CZQCommon::kRunKeyChars];
    CZQLocalPtr<BYTE> data;
    DWORD cb = 0;
    return RunKey(pPrivateDM, runKey) && CZQCommon::BReadUserRegValue(runKey, kDisableDPSExtension, data.Put(), &cb) &&
           cb == sizeof(DWORD) && *reinterpret_cast<const DWORD*>(data.Get()) == 1;
}

void CZQRunSwitches::VResetDPSExtensionSwitch(const VOID* pPrivateDM) {
    WCHAR runKey[CZQCommon::kRunKeyChars];
    CZQRegKey key;
    if (!RunKey(pPrivateDM, runKey) ||
        RegCreateKeyExW(HKEY_CURRENT_USER, runKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Put(), nullptr) !=
            ERROR_SUCCESS)
        return;
    const DWORD off = 0;
    RegSetValueExW(key.Get(), kDisableDPSExtension, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&off), sizeof off);
}

void CZQRunSwitches::VClearDPSExtensionDisabled(const VOID* pPrivateDM) {
    WCHAR runKey[CZQCommon::kRunKeyChars];
    if (!RunKey(pPrivateDM, runKey)) return;
    RegDeleteKeyValueW(HKEY_CURRENT_USER, runKey, kDisableDPSExtension);
    // A key with a run's snapshot below it stays.
    RegDeleteKeyW(HKEY_CURRENT_USER, runKey);
}

BOOL CZQRunSwitches::BHideNativeUI(PCWSTR pszFallbackDriver, HANDLE hPrinter, const VOID* pPrivateDM) {
    // A conversion run reads every setting back from the items: none is hidden from it.
    if (CZQCommon::BIsOndrelRunOfPrivateDM(pPrivateDM)) return FALSE;
    return MachineSwitchIsOn(hPrinter, pszFallbackDriver, zs::kHideNativeUI);
}

void CZQRunSwitches::VHideNativeOptItems(POEMCUIPPARAM pParam) {
    for (PCWSTR feature : {zqkw::kTextAsBlack, zqkw::kTTAsBitmapsSetting, L"Smoothing", L"TransparencyInterleave"})
        CZQCommon::DWHideOptItem(pParam, feature, OEMCUIP_DOCPROP);
    for (BYTE pubId : {DMPUB_ICMMETHOD, DMPUB_ICMINTENT, DMPUB_TTOPTION, DMPUB_PAGEORDER, DMPUB_COPIES_COLLATE})
        CZQCommon::DWHidePubOptItem(pParam, pubId, 0);
    POPTITEM item = nullptr;
    for (int occurrence = 0; CZQCommon::DWFindOptItemByPubId(pParam, 0, occurrence, &item) == ZQOPT_OK; ++occurrence)
        CZQCommon::DWHidePubOptItem(pParam, 0, occurrence);
}

BOOL CZQRunSwitches::BIsPSDocumentEventEnabled(HANDLE hPrinter) {
    return MachineSwitchIsOn(hPrinter, nullptr, L"EnablePSDocumentEvent");
}

BOOL CZQRunSwitches::BHandlesDocumentEvents(HANDLE hPrinter) {
    CZQLocalPtr<DRIVER_INFO_3W> driver;
    if (!CZQCommon::BGetDriverInfo3(hPrinter, driver.Put()) || !driver.Get()->pDataFile) return TRUE;
    const size_t cch = wcslen(driver.Get()->pDataFile);
    const bool postScript = cch >= 4 && ZQEqualNoCase(driver.Get()->pDataFile + cch - 4, L".ppd");
    return !postScript || BIsPSDocumentEventEnabled(hPrinter);
}

BOOL CZQRunSwitches::BTicketManager(DWORD dwAction, const VOID* pPrivateDM, PFN_ZQAnnotate* ppfnAnnotate,
                                    HMODULE* phModule) {
    if (ppfnAnnotate) *ppfnAnnotate = nullptr;
    if (phModule) *phModule = nullptr;
    WCHAR runKey[CZQCommon::kRunKeyChars];
    if (!RunKey(pPrivateDM, runKey) || dwAction > kTicketAnnotator) return FALSE;
    CZQLocalPtr<BYTE> type, manager, printer, ticket;
    if (dwAction == kTicketAnnotating) {
        PCWSTR text = RunText(runKey, zs::kTicketType, type);
        return text && wcscmp(text, L"2") == 0;
    }
    PCWSTR module = RunText(runKey, zs::kTicketManager, manager);
    PCWSTR printerName = RunText(runKey, zs::kTicketPrinterName, printer);
    PCWSTR ticketPath = RunText(runKey, zs::kTicketPath, ticket);
    CZQModule loaded;
    if (module && module[0]) loaded.Reset(CZQCommon::HLoadLibraryEx(module, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
    switch (dwAction) {
        case kTicketStart:
            if (auto start = ZQGetProc<PFN_ZQStartAnnotation>(loaded.Get(), "StartAnnotation"))
                start(ticketPath, printerName);
            break;
        case kTicketEnd:
            if (auto end = ZQGetProc<PFN_ZQEndAnnotation>(loaded.Get(), "EndAnnotation")) end(ticketPath);
            break;
        default:
            // The callback only goes with the module that holds it.
            if (!ppfnAnnotate || !phModule) break;
            *ppfnAnnotate = ZQGetProc<PFN_ZQAnnotate>(loaded.Get(), "Annotate");
            *phModule = loaded.Release();
            break;
    }
    return TRUE;
}
