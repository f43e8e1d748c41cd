// The entry points the spooler and the common property sheet call in the core driver's UI module.
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <cwchar>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include <objbase.h>

#include "zqcaps.h"
#include "zqprinter.h"
#include "zqsession.h"

namespace {

HINSTANCE g_hInstance = nullptr;

// The latest device-capabilities calls, by their number.
ZQCoreCapsCall g_capsCalls[kZQCoreCapsCallsKept] = {};

// The devmode's checksum as the driver reads it: its two names up to their ends, not what lies after.
void RecordCapsCall(LONG number, WORD capability, const void* pOutput, const DEVMODEW* pDevmode) {
    DWORD sum = 0;
    if (pDevmode) {
        const auto* p = reinterpret_cast<const BYTE*>(pDevmode);
        std::vector<BYTE> read(p, p + pDevmode->dmSize + pDevmode->dmDriverExtra);
        auto* dm = reinterpret_cast<DEVMODEW*>(read.data());
        const size_t device = wcsnlen(dm->dmDeviceName, CCHDEVICENAME);
        std::fill(dm->dmDeviceName + device, dm->dmDeviceName + CCHDEVICENAME, L'\0');
        if (dm->dmSize >= offsetof(DEVMODEW, dmFormName) + sizeof dm->dmFormName) {
            const size_t form = wcsnlen(dm->dmFormName, CCHFORMNAME);
            std::fill(dm->dmFormName + form, dm->dmFormName + CCHFORMNAME, L'\0');
        }
        sum = 2166136261u;  // FNV-1a
        for (BYTE b : read) sum = (sum ^ b) * 16777619u;
    }
    g_capsCalls[number % kZQCoreCapsCallsKept] = {capability, pOutput != nullptr, sum};
}

// Printer events and upgrades this thread is running: the spooler's, with no one to answer a sheet.
thread_local int t_spoolerEvents = 0;
struct SpoolerEvent {
    SpoolerEvent() { ++t_spoolerEvents; }
    ~SpoolerEvent() { --t_spoolerEvents; }
    SpoolerEvent(const SpoolerEvent&) = delete;
    SpoolerEvent& operator=(const SpoolerEvent&) = delete;
};

// A program converting settings through the plug-in's conversion interface asks for the document
// sheet with no one to answer it. The plug-in marks such a run under the current user's key
// "Software\Quorvane\ZQProcID" + the run id with "ProcessingOndrel" = "TRUE"; the run id is this
// process's id, or the registry form of a run GUID that the devmode carries.
constexpr wchar_t kMakerKey[] = L"Software\\Quorvane";
constexpr wchar_t kRunKeyPrefix[] = L"ZQProcID";

bool RunMarked(const std::wstring& runKey) {
    wchar_t flag[8] = {};
    DWORD cb = sizeof flag - sizeof(wchar_t);
    return RegGetValueW(HKEY_CURRENT_USER, (std::wstring(kMakerKey) + L"\\" + runKey).c_str(), L"ProcessingOndrel",
                        RRF_RT_REG_SZ, nullptr, flag, &cb) == ERROR_SUCCESS &&
           _wcsicmp(flag, L"TRUE") == 0;
}

// A run GUID is CoCreateGuid's: version 4, variant 1. The devmode is searched for such GUIDs and
// each one's key is asked for by name: listing the maker's key instead would race with the runs of
// other threads, whose keys come and go and move the listing's indices under it.
bool MayBeRunGuid(const BYTE* bytes) { return (bytes[7] & 0xF0) == 0x40 && (bytes[8] & 0xC0) == 0x80; }

bool ConversionRun(const DEVMODEW* in) {
    if (RunMarked(kRunKeyPrefix + std::to_wstring(GetCurrentProcessId()))) return true;
    if (!in || !in->dmSize) return false;
    const auto* bytes = reinterpret_cast<const BYTE*>(in);
    const size_t size = static_cast<size_t>(in->dmSize) + in->dmDriverExtra;
    GUID guid;
    wchar_t id[40];
    for (size_t at = 0; at + sizeof guid <= size; ++at) {
        if (!MayBeRunGuid(bytes + at)) continue;
        std::memcpy(&guid, bytes + at, sizeof guid);
        if (StringFromGUID2(guid, id, 40) && RunMarked(kRunKeyPrefix + std::wstring(id))) return true;
    }
    return false;
}

// The header of a document call, when it is one.
PDOCUMENTPROPERTYHEADER DocHeader(LPARAM lParam) {
    auto* dph = reinterpret_cast<PDOCUMENTPROPERTYHEADER>(lParam);
    return dph && dph->cbSize >= sizeof(DOCUMENTPROPERTYHEADER) ? dph : nullptr;
}

PDEVICEPROPERTYHEADER DevHeader(LPARAM lParam) {
    auto* dph = reinterpret_cast<PDEVICEPROPERTYHEADER>(lParam);
    return dph && dph->cbSize >= sizeof(DEVICEPROPERTYHEADER) ? dph : nullptr;
}

// The reasons both sheets share after INIT.
LONG SheetReason(PPROPSHEETUI_INFO pInfo, LPARAM lParam) {
    auto* session = reinterpret_cast<CZQHostSession*>(pInfo->UserData);
    switch (pInfo->Reason) {
        case PROPSHEETUI_REASON_GET_INFO_HEADER: {
            auto* header = reinterpret_cast<PPROPSHEETUI_INFO_HEADER>(lParam);
            if (!header || !session) return ERR_CPSUI_GETLASTERROR;
            header->Flags = PSUIHDRF_EXACT_PTITLE;
            header->pTitle = session->SheetTitle();
            header->hInst = g_hInstance;
            header->IconID = IDI_CPSUI_PRINTER;
            return CPSUI_OK;
        }
        case PROPSHEETUI_REASON_SET_RESULT: {
            auto* result = reinterpret_cast<PSETRESULT_INFO>(lParam);
            if (result) pInfo->Result = static_cast<ULONG_PTR>(result->Result);
            return CPSUI_OK;
        }
        case PROPSHEETUI_REASON_DESTROY:
            if (session) {
                session->VEndSheet();
                pInfo->Result = session->Applied() ? CPSUI_OK : CPSUI_CANCEL;
                delete session;
                pInfo->UserData = 0;
            }
            return CPSUI_OK;
        default:
            // BEFORE_INIT and GET_ICON: nothing of ours.
            return 0;
    }
}

// A session bound to the printer and its plug-in, for the calls outside a sheet.
std::unique_ptr<CZQHostSession> OpenSession(DWORD mode, HANDLE hPrinter, const wchar_t* name) {
    std::unique_ptr<CZQHostSession> s(new (std::nothrow) CZQHostSession(mode));
    if (!s || !s->BOpenPrinter(hPrinter, name)) return nullptr;
    s->BBindPlugin();
    return s;
}

// INIT of either sheet: the session lives until DESTROY in the sheet's user data.
LONG StartSheet(PPROPSHEETUI_INFO pInfo, DWORD mode, HANDLE hPrinter, LPWSTR name, const DEVMODEW* in,
                DEVMODEW* out, DWORD flags) {
    auto s = OpenSession(mode, hPrinter, name);
    if (!s) return ERR_CPSUI_GETLASTERROR;
    s->BLoadDevmode(in, 0);
    s->VSetOutput(out);
    s->VSetConfirmAtOnce(t_spoolerEvents > 0 || (mode == OEMCUIP_DOCPROP && ConversionRun(in)));
    if (!s->BBuildItems(flags) || !s->BAddPages(pInfo, flags)) {
        s->VEndSheet();
        return ERR_CPSUI_GETLASTERROR;
    }
    pInfo->UserData = reinterpret_cast<ULONG_PTR>(s.release());
    pInfo->Result = CPSUI_CANCEL;
    return CPSUI_OK;
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_hInstance = hInstance;
        DisableThreadLibraryCalls(hInstance);
    }
    return TRUE;
}

LONG WINAPI DrvDocumentPropertySheets(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam) {
    if (!pPSUIInfo) {
        // Direct call from the spooler: the devmode size, or defaults and merge into pdmOut.
        PDOCUMENTPROPERTYHEADER dph = DocHeader(lParam);
        if (!dph) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return -1;
        }
        auto s = OpenSession(OEMCUIP_DOCPROP, dph->hPrinter, dph->pszPrinterName);
        if (!s) return -1;
        s->BLoadDevmode((dph->fMode & DM_IN_BUFFER) ? dph->pdmIn : nullptr, 0);
        const DWORD size = s->DWDevmodeSize();
        if (!dph->fMode || !dph->pdmOut) {
            dph->cbOut = size;
            return static_cast<LONG>(size);
        }
        // cbOut is not trusted (some spoolers pass the public size): the caller sized the
        // buffer from the size call.
        if (dph->fMode & DM_OUT_BUFFER) s->BWriteDevmode(dph->pdmOut);
        return CPSUI_OK;
    }
    if (pPSUIInfo->Reason != PROPSHEETUI_REASON_INIT) return SheetReason(pPSUIInfo, lParam);

    PDOCUMENTPROPERTYHEADER dph = DocHeader(pPSUIInfo->lParamInit);
    if (!dph) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return ERR_CPSUI_GETLASTERROR;
    }
    return StartSheet(pPSUIInfo, OEMCUIP_DOCPROP, dph->hPrinter, dph->pszPrinterName,
                      (dph->fMode & DM_IN_BUFFER) ? dph->pdmIn : nullptr, dph->pdmOut, dph->fMode);
}

LONG WINAPI DrvDevicePropertySheets(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam) {
    if (!pPSUIInfo) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return ERR_CPSUI_GETLASTERROR;
    }
    if (pPSUIInfo->Reason != PROPSHEETUI_REASON_INIT) return SheetReason(pPSUIInfo, lParam);
    PDEVICEPROPERTYHEADER dph = DevHeader(pPSUIInfo->lParamInit);
    if (!dph) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return ERR_CPSUI_GETLASTERROR;
    }
    // The plug-in sees the printer's default devmode here too.
    return StartSheet(pPSUIInfo, OEMCUIP_PRNPROP, dph->hPrinter, dph->pszPrinterName, nullptr, nullptr, dph->Flags);
}

DWORD WINAPI DrvDeviceCapabilities(HANDLE hPrinter, PWSTR pDeviceName, WORD iDevCap, PVOID pvOutput,
                                   PDEVMODEW pDevMode) {
    RecordCapsCall(InterlockedIncrement(&ZQCoreCalls().lDeviceCapabilities) - 1, iDevCap, pvOutput, pDevMode);
    auto s = OpenSession(OEMCUIP_DOCPROP, hPrinter, pDeviceName);
    if (!s) return GDI_ERROR;
    s->BLoadDevmode(pDevMode, 0);
    DWORD result = ZQDeviceCapability(*s, iDevCap, pvOutput);
    if (s->HasPlugin()) {
        DEVMODEW pub = s->PublicDevmode();
        std::vector<BYTE> oem = s->OemBlock();
        DWORD answer = result;
        if (SUCCEEDED(s->Plugin().DeviceCapabilities(s->UIObject(), s->Printer(), pDeviceName, iDevCap, pvOutput,
                                                           &pub, oem.empty() ? nullptr : oem.data(), result, &answer)))
            result = answer;
    }
    return result;
}

BOOL WINAPI DrvPrinterEvent(LPWSTR pPrinterName, INT DriverEvent, DWORD Flags, LPARAM lParam) {
    SpoolerEvent event;
    auto s = OpenSession(OEMCUIP_PRNPROP, nullptr, pPrinterName);
    if (s && s->HasPlugin()) s->Plugin().PrinterEvent(pPrinterName, DriverEvent, Flags, lParam);
    return TRUE;
}

BOOL WINAPI DrvDriverEvent(DWORD dwDriverEvent, DWORD dwLevel, LPBYTE pDriverInfo, LPARAM lParam) {
    // Levels 2 and up name the data file (the model).
    if (!pDriverInfo || dwLevel < 2) return TRUE;
    const auto* di = reinterpret_cast<const DRIVER_INFO_2W*>(pDriverInfo);
    const std::wstring modelPath = ZQResolveDriverFile(di->pDataFile);
    zqmodel::Model model;
    std::wstring error;
    if (modelPath.empty() || !ZQLoadModel(modelPath, model, error)) return TRUE;
    CZQHostSession s(OEMCUIP_PRNPROP);
    s.VUseModel(model, nullptr);
    s.VSetDriverDir(modelPath.substr(0, modelPath.find_last_of(L"\\/")));
    if (s.BBindPlugin()) s.Plugin().DriverEvent(dwDriverEvent, dwLevel, pDriverInfo, lParam);
    return TRUE;
}

INT WINAPI DrvDocumentEvent(HANDLE hPrinter, HDC hdc, INT iEsc, ULONG cbIn, PVOID pvIn, ULONG cbOut, PVOID pvOut) {
    auto s = OpenSession(OEMCUIP_DOCPROP, hPrinter, nullptr);
    if (!s || !s->HasPlugin() || !s->Plugin().HasUI2()) return DOCUMENTEVENT_UNSUPPORTED;
    INT result = DOCUMENTEVENT_UNSUPPORTED;
    if (FAILED(s->Plugin().DocumentEvent(hPrinter, hdc, iEsc, cbIn, pvIn, cbOut, pvOut, &result)))
        return DOCUMENTEVENT_UNSUPPORTED;
    return result;
}

BOOL WINAPI DrvConvertDevMode(LPWSTR pPrinterName, PDEVMODEW pdmIn, PDEVMODEW pdmOut, PLONG pcbNeeded, DWORD fMode) {
    if (!pcbNeeded || (fMode != CDM_DRIVER_DEFAULT && fMode != CDM_CONVERT && fMode != CDM_CONVERT351) ||
        (fMode != CDM_DRIVER_DEFAULT && !pdmIn)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto s = OpenSession(OEMCUIP_DOCPROP, nullptr, pPrinterName);
    if (!s) return FALSE;
    s->BLoadDevmode(fMode == CDM_DRIVER_DEFAULT ? nullptr : pdmIn, 0, false);
    const LONG size = static_cast<LONG>(s->DWDevmodeSize());
    if (!pdmOut || *pcbNeeded < size) {
        *pcbNeeded = size;
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    s->BWriteDevmode(pdmOut);
    *pcbNeeded = size;
    return TRUE;
}

BOOL WINAPI DrvUpgradePrinter(DWORD dwLevel, LPBYTE pDriverUpgradeInfo) {
    if (!pDriverUpgradeInfo || (dwLevel != 1 && dwLevel != 2)) return TRUE;
    SpoolerEvent event;
    const auto* info = reinterpret_cast<const DRIVER_UPGRADE_INFO_1*>(pDriverUpgradeInfo);
    auto s = OpenSession(OEMCUIP_PRNPROP, nullptr, info->pPrinterName);
    if (s && s->HasPlugin()) s->Plugin().UpgradePrinter(dwLevel, pDriverUpgradeInfo);
    return TRUE;
}

BOOL WINAPI DrvQueryJobAttributes(HANDLE hPrinter, PDEVMODEW pDevMode, DWORD dwLevel, LPBYTE lpAttributeInfo) {
    if (!lpAttributeInfo || dwLevel < 1 || dwLevel > 3) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto s = OpenSession(OEMCUIP_DOCPROP, hPrinter, nullptr);
    if (!s) return FALSE;
    s->BLoadDevmode(pDevMode, 0);
    ATTRIBUTE_INFO_3 a = ZQJobAttributes(*s);
    const size_t size = dwLevel == 1 ? sizeof(ATTRIBUTE_INFO_1) : dwLevel == 2 ? sizeof(ATTRIBUTE_INFO_2) : sizeof a;
    memcpy(lpAttributeInfo, &a, size);
    if (s->HasPlugin() && s->Plugin().HasUI2()) {
        // The whole devmode, as the plug-in's private part belongs to it.
        std::vector<BYTE> dm(s->DWDevmodeSize());
        s->BWriteDevmode(reinterpret_cast<DEVMODEW*>(dm.data()));
        s->Plugin().QueryJobAttributes(hPrinter, reinterpret_cast<DEVMODEW*>(dm.data()), dwLevel, lpAttributeInfo);
    }
    return TRUE;
}

void WINAPI ZQGetCoreCallCounts(ZQCoreCallCounts* pCounts) {
    if (pCounts) *pCounts = ZQCoreCalls();
}

LONG WINAPI ZQGetCoreCapsCalls(LONG lFrom, ZQCoreCapsCall* pCalls, LONG lMax) {
    const LONG made = ZQCoreCalls().lDeviceCapabilities;
    LONG n = 0;
    for (LONG i = std::max(lFrom, made - kZQCoreCapsCallsKept); pCalls && i < made && n < lMax; ++i)
        pCalls[n++] = g_capsCalls[i % kZQCoreCapsCallsKept];
    return n;
}

}  // extern "C"
