// The exported conversion interface on the process's converter (staged form) or a converter of
// the call's own (one-call form).
#include "convertapi/zqconvertapi.h"

#include <objbase.h>

#include "common/zqdevmodetags.h"
#include "convertapi/zqondrel.h"
#include "convertapi/zqtracelog.h"

namespace {

// The staged form's converter: made with the module, its strings freed with it.
CZQOndrel g_converter;

BYTE* Bytes(DEVMODEW* pDevmode) { return reinterpret_cast<BYTE*>(pDevmode); }
DWORD Size(const DEVMODEW* pDevmode) { return static_cast<DWORD>(pDevmode->dmSize) + pDevmode->dmDriverExtra; }

bool IsNull(const GUID& guid) { return IsEqualGUID(guid, GUID_NULL) != FALSE; }

// The driver call of a tagged devmode; the tag goes again on every path, so the caller's devmode
// never carries a finished run's GUID.
DWORD CallTagged(DEVMODEW* pDevmode, const GUID& runGuid, const char* pszName, BOOL (*pfnCall)(DEVMODEW*, const GUID&)) {
    if (!CZQDevmodeTags::BSetValue(Bytes(pDevmode), Size(pDevmode), runGuid)) return ZQCONVERT_TAG_FAILED;
    const BOOL called = pfnCall(pDevmode, runGuid);
    const BOOL cleared = CZQDevmodeTags::BClearValue(Bytes(pDevmode), Size(pDevmode), runGuid);
    if (!called) return ZQCONVERT_DRIVER_FAILED;
    if (!cleared) return ZQCONVERT_UNTAG_FAILED;
    TraceLog("  %s - Done with Doc Properties", pszName);
    return ZQCONVERT_OK;
}

}  // namespace

extern "C" {

DWORD WINAPI InitializeConvertAPI(LPCWSTR pszPrinterName, LPCWSTR pszDMCPath, GUID* pRunGuid) {
    TraceLog("InitializeConvertAPI>>");
    CZQPerfTimer probe;
    probe.VBegin(L"InitializeConvertAPI>>");
    if (!pRunGuid) return ZQCONVERT_NO_GUID_POINTER;
    GUID guid = GUID_NULL;
    if (FAILED(CoCreateGuid(&guid)) || IsNull(guid)) return ZQCONVERT_NO_GUID;
    *pRunGuid = guid;
    g_converter.VSetPrinterName(pszPrinterName);
    g_converter.VSetDMCPath(pszDMCPath);
    if (!g_converter.LoadDMC()) return ZQCONVERT_NO_MANAGER;
    TraceLog("InitializeConvertAPI<<");
    probe.VEnd(L"InitializeConvertAPI<<");
    return ZQCONVERT_OK;
}

DWORD WINAPI ReadTicket(DWORD dwTicketType, LPCWSTR pszTicketPath, GUID runGuid) {
    TraceLog("ReadTicket>>");
    CZQPerfTimer probe;
    probe.VBegin(L"ReadTicket - BDMCReadCfgVal>>");
    if (IsNull(runGuid)) return ZQCONVERT_NULL_RUN;
    g_converter.VSetTicketType(dwTicketType);
    g_converter.VSetTicketPath(pszTicketPath);
    // Reading a ticket is a ticket run, whatever ran before on this converter.
    g_converter.VSetConvertDevMode(FALSE);
    g_converter.BSetRunFlags(runGuid);
    if (!g_converter.BDMCReadCfgVal(runGuid)) return ZQCONVERT_READ_FAILED;
    probe.VEnd(L"ReadTicket - BDMCReadCfgVal<<");
    TraceLog("ReadTicket<<");
    return ZQCONVERT_OK;
}

DWORD WINAPI ConvertTicketEx(DEVMODEW* pDevmode, GUID runGuid) {
    TraceLog("ConvertTicketEx>>");
    CZQPerfTimer probe;
    probe.VBegin(L"ConvertTicketEx>> ");
    TraceLog("  ConvertTicketEx - Calling Doc Properties");
    if (!pDevmode) return ZQCONVERT_NO_DEVMODE;
    if (IsNull(runGuid)) return ZQCONVERT_NULL_RUN;
    const DWORD result = CallTagged(pDevmode, runGuid, "ConvertTicketEx", [](DEVMODEW* pdm, const GUID& guid) {
        g_converter.VSetConvertDevMode(FALSE);
        return g_converter.BCallDocProperties(pdm, guid);
    });
    if (result != ZQCONVERT_OK) return result;
    probe.VEnd(L"ConvertTicketEx<<");
    TraceLog("ConvertTicketEx<<");
    return ZQCONVERT_OK;
}

DWORD WINAPI ConvertDevModeEx(LPCWSTR pszTicketPath, DEVMODEW* pDevmode, GUID runGuid) {
    TraceLog("ConvertDevmodeEx>>");
    CZQPerfTimer probe;
    probe.VBegin(L"ConvertDevmodeEx>> ");
    TraceLog("  ConvertDevmodeEx - Calling Doc Properties");
    if (!pDevmode) return ZQCONVERT_NO_DEVMODE;
    if (IsNull(runGuid)) return ZQCONVERT_NULL_RUN;
    g_converter.VSetTicketPath(pszTicketPath);
    const DWORD result = CallTagged(pDevmode, runGuid, "ConvertDevmodeEx", [](DEVMODEW* pdm, const GUID& guid) {
        g_converter.VSetConvertDevMode(TRUE);
        // Without its flags the driver would not know the run: its sheet would wait for a user.
        const BOOL called = g_converter.BSetRunFlags(guid) && g_converter.BCallDocProperties(pdm, guid);
        if (called) g_converter.VClearRunFlags(guid);
        // The mode is this call's: a later ticket run must not export into its ticket.
        g_converter.VSetConvertDevMode(FALSE);
        return called;
    });
    if (result != ZQCONVERT_OK) return result;
    probe.VEnd(L"ConvertDevmodeEx<<");
    TraceLog("ConvertDevmodeEx<<");
    return ZQCONVERT_OK;
}

DWORD WINAPI KillConvertAPI(GUID runGuid) {
    TraceLog("KillConvertAPI >>");
    CZQPerfTimer probe;
    probe.VBegin(L"KillConvertAPI>>");
    if (IsNull(runGuid)) return ZQCONVERT_NULL_RUN;
    g_converter.VFreeDMC();
    g_converter.VClearRunFlags(runGuid);
    TraceLog("KillConvertAPI <<");
    probe.VEnd(L"KillConvertAPI<<");
    return ZQCONVERT_OK;
}

DWORD WINAPI GetConvertAPIVersion(DWORD* pdwVersion) {
    if (!pdwVersion) return ZQCONVERT_NO_VERSION_POINTER;
    *pdwVersion = kZQConvertApiVersion;
    return ZQCONVERT_OK;
}

void WINAPI ConvertTicket(LPCWSTR pszPrinterName, LPCWSTR pszTicketPath, DEVMODEW* pDevmode, LPCWSTR pszDMCPath,
                          DWORD dwTicketType) {
    CZQPerfTimer api, doc, read;
    api.VBegin(L"ConvertTicketAPI>> ");
    doc.VBegin(L"ConvertTicketDocProperties>> ");
    TraceLog("ConvertTicket >>");
    if (!pszPrinterName || !pszTicketPath || !pszDMCPath) return;
    // The run is named by the process: the devmode is not tagged.
    CZQOndrel converter(pszPrinterName, pszTicketPath, pszDMCPath, dwTicketType);
    converter.BSetRunFlags(GUID_NULL);
    read.VBegin(L"ConvertTicketBDMCReadCfgVal>> ");
    TraceLog("  ConvertTicket - Calling BDMCReadCfgVal()>>");
    converter.BDMCReadCfgVal(GUID_NULL);
    TraceLog("  ConvertTicket - Done with BDMCReadCfgVal()<<");
    read.VEnd(L"BDMCReadCfgVal<< ");
    doc.VBegin(L"ConvertTicketDocProperties>> ");
    TraceLog("  ConvertTicket - Calling Doc Properties ");
    // An unreadable ticket leaves no snapshot: the driver is not called and the devmode stays.
    converter.BCallDocProperties(pDevmode, GUID_NULL);
    TraceLog("  ConvertTicket - Done with Doc Properties ");
    doc.VEnd(L"ConvertTicketDocProperties<< ");
    converter.VClearRunFlags(GUID_NULL);
    api.VEnd(L"ConvertTicketAPI<< ");
    TraceLog("ConvertTicket<<");
    converter.VFreeDMC();
}

void WINAPI ConvertDevmode(LPCWSTR pszPrinterName, LPCWSTR pszTicketPath, DEVMODEW* pDevmode, LPCWSTR pszDMCPath,
                           DWORD dwTicketType) {
    if (!pszPrinterName || !pszTicketPath || !pszDMCPath) return;
    CZQOndrel converter(pszPrinterName, pszTicketPath, pszDMCPath, dwTicketType);
    converter.VSetConvertDevMode(TRUE);
    if (converter.BSetRunFlags(GUID_NULL)) converter.BCallDocProperties(pDevmode, GUID_NULL);
    converter.VClearRunFlags(GUID_NULL);
    converter.VFreeDMC();
}

}  // extern "C"
