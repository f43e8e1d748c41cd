// The exported conversion interface: the staged form on runs of their own (zqconvertruns.h), the
// one-call forms on a converter of the call's own.
#include "convertapi/zqconvertapi.h"

#include <objbase.h>

#include "common/zqdevmodetags.h"
#include "convertapi/zqconvertruns.h"
#include "convertapi/zqondrel.h"
#include "convertapi/zqtracelog.h"

namespace {

using zqconvert::CZQDriverCallLock;
using zqconvert::CZQExportSwitchLock;

BYTE* Bytes(DEVMODEW* pDevmode) { return reinterpret_cast<BYTE*>(pDevmode); }
DWORD Size(const DEVMODEW* pDevmode) { return static_cast<DWORD>(pDevmode->dmSize) + pDevmode->dmDriverExtra; }

bool IsNull(const GUID& guid) { return IsEqualGUID(guid, GUID_NULL) != FALSE; }

// The driver call of a tagged devmode; the tag goes again on every path, so the caller's devmode
// never carries a finished run's GUID.
template <typename Call>
DWORD CallTagged(DEVMODEW* pDevmode, const GUID& runGuid, const char* pszName, Call call) {
    if (!CZQDevmodeTags::BSetValue(Bytes(pDevmode), Size(pDevmode), runGuid)) return ZQCONVERT_TAG_FAILED;
    const BOOL called = call();
    const BOOL cleared = CZQDevmodeTags::BClearValue(Bytes(pDevmode), Size(pDevmode), runGuid);
    if (!called) return ZQCONVERT_DRIVER_FAILED;
    if (!cleared) return ZQCONVERT_UNTAG_FAILED;
    TraceLog("  %s - Done with Doc Properties", pszName);
    return ZQCONVERT_OK;
}

// The live run of a GUID, held for the length of a call: none for GUID_NULL only. A run that ended
// while the call waited for it is left to its end: the GUID names a run taken up afresh.
class CLiveRun {
public:
    explicit CLiveRun(const GUID& runGuid) {
        while ((m_run = zqconvert::FindRun(runGuid))) {
            m_turn = std::unique_lock<std::mutex>(m_run->lock);
            if (m_run->live) return;
            m_turn.unlock();
        }
    }
    explicit operator bool() const { return m_run != nullptr; }
    zqconvert::Run* operator->() const { return m_run.get(); }

private:
    std::shared_ptr<zqconvert::Run> m_run;
    std::unique_lock<std::mutex> m_turn;
};

// The identity of a one-call conversion: a run GUID of its own in the devmode's tag record, so no
// other call's flags or snapshot are ever its; a devmode without a free tag record is named by the
// process id, and such calls take turns. The tag goes with the object.
class COneCallRun {
public:
    explicit COneCallRun(DEVMODEW* pDevmode) : m_pDevmode(pDevmode), m_guid(Tag(pDevmode)), m_turn(IsNull(m_guid)) {}
    ~COneCallRun() {
        if (!IsNull(m_guid)) CZQDevmodeTags::BClearValue(Bytes(m_pDevmode), Size(m_pDevmode), m_guid);
    }
    COneCallRun(const COneCallRun&) = delete;
    COneCallRun& operator=(const COneCallRun&) = delete;
    const GUID& Guid() const { return m_guid; }

private:
    static GUID Tag(DEVMODEW* pDevmode) {
        GUID guid = GUID_NULL;
        if (FAILED(CoCreateGuid(&guid)) || IsNull(guid) ||
            !CZQDevmodeTags::BSetValue(Bytes(pDevmode), Size(pDevmode), guid))
            return GUID_NULL;
        return guid;
    }
    DEVMODEW* m_pDevmode;
    GUID m_guid;
    zqconvert::CZQProcessRunLock m_turn;
};

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
    // The run is the caller's from here on, even when its manager cannot be bound.
    const auto run = zqconvert::NewRun(guid, pszPrinterName, pszDMCPath);
    std::lock_guard<std::mutex> turn(run->lock);
    if (!run->converter.LoadDMC()) return ZQCONVERT_NO_MANAGER;
    TraceLog("InitializeConvertAPI<<");
    probe.VEnd(L"InitializeConvertAPI<<");
    return ZQCONVERT_OK;
}

DWORD WINAPI ReadTicket(DWORD dwTicketType, LPCWSTR pszTicketPath, GUID runGuid) {
    TraceLog("ReadTicket>>");
    CZQPerfTimer probe;
    probe.VBegin(L"ReadTicket - BDMCReadCfgVal>>");
    const CLiveRun run(runGuid);
    if (!run) return ZQCONVERT_NULL_RUN;
    // Without a ticket there is nothing to read: an earlier ticket is not this call's.
    if (!pszTicketPath || !pszTicketPath[0]) return ZQCONVERT_READ_FAILED;
    CZQOndrel& converter = run->converter;
    // A run this process did not start binds the manager its last start named, to read with.
    if (run->takenUp && !converter.BIsRegistered()) converter.LoadDMC();
    converter.VSetTicketType(dwTicketType);
    converter.VSetTicketPath(pszTicketPath);
    // Reading a ticket is a ticket run, whatever ran before on this run.
    converter.VSetConvertDevMode(FALSE);
    // All of the run or none of it: a ticket read in part would convert into the wrong settings.
    if (!converter.BSetRunFlags(runGuid)) return ZQCONVERT_READ_FAILED;
    if (!converter.BDMCReadCfgVal(runGuid)) {
        converter.VClearRunFlags(runGuid);
        return ZQCONVERT_READ_FAILED;
    }
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
    const CLiveRun run(runGuid);
    if (!run) return ZQCONVERT_NULL_RUN;
    CZQOndrel& converter = run->converter;
    converter.VSetConvertDevMode(FALSE);
    const DWORD result = CallTagged(pDevmode, runGuid, "ConvertTicketEx", [&] {
        const CZQDriverCallLock calls(false);
        return converter.BCallDocProperties(pDevmode, runGuid);
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
    const CLiveRun run(runGuid);
    if (!run) return ZQCONVERT_NULL_RUN;
    CZQOndrel& converter = run->converter;
    converter.VSetTicketPath(pszTicketPath);
    const DWORD result = CallTagged(pDevmode, runGuid, "ConvertDevmodeEx", [&] {
        const CZQDriverCallLock calls(true);
        const CZQExportSwitchLock switches;
        converter.VSetConvertDevMode(TRUE);
        // Without its flags the driver would not know the run: its sheet would wait for a user.
        const BOOL called =
            switches.Held() && converter.BSetRunFlags(runGuid) && converter.BCallDocProperties(pDevmode, runGuid);
        // The printer's export switches go back on every road; switches left changed are no success.
        converter.VClearRunFlags(runGuid);
        // The mode is this call's: a later ticket run must not export into its ticket.
        converter.VSetConvertDevMode(FALSE);
        return called && !converter.BExportPending();
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
    {
        const CLiveRun run(runGuid);
        if (!run) return ZQCONVERT_NULL_RUN;
        run->live = false;
        run->converter.VFreeDMC();
        // Also tries once more to give the printer's export switches back.
        run->converter.VClearRunFlags(runGuid);
        // Out of the table before a waiting call looks again: it takes the GUID up afresh.
        zqconvert::EndRun(runGuid);
    }
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
    if (!pszPrinterName || !pszTicketPath || !pszDMCPath || !pDevmode) return;
    const COneCallRun call(pDevmode);
    const GUID& runGuid = call.Guid();
    CZQOndrel converter(pszPrinterName, pszTicketPath, pszDMCPath, dwTicketType);
    // A run without all its flags, or a ticket read in part, is not converted: the devmode stays.
    if (converter.BSetRunFlags(runGuid)) {
        read.VBegin(L"ConvertTicketBDMCReadCfgVal>> ");
        TraceLog("  ConvertTicket - Calling BDMCReadCfgVal()>>");
        const BOOL readWhole = converter.BDMCReadCfgVal(runGuid);
        TraceLog("  ConvertTicket - Done with BDMCReadCfgVal()<<");
        read.VEnd(L"BDMCReadCfgVal<< ");
        doc.VBegin(L"ConvertTicketDocProperties>> ");
        TraceLog("  ConvertTicket - Calling Doc Properties ");
        if (readWhole) {
            const CZQDriverCallLock calls(false);
            converter.BCallDocProperties(pDevmode, runGuid);
        }
        TraceLog("  ConvertTicket - Done with Doc Properties ");
        doc.VEnd(L"ConvertTicketDocProperties<< ");
    }
    converter.VClearRunFlags(runGuid);
    api.VEnd(L"ConvertTicketAPI<< ");
    TraceLog("ConvertTicket<<");
}

void WINAPI ConvertDevmode(LPCWSTR pszPrinterName, LPCWSTR pszTicketPath, DEVMODEW* pDevmode, LPCWSTR pszDMCPath,
                           DWORD dwTicketType) {
    if (!pszPrinterName || !pszTicketPath || !pszDMCPath || !pDevmode) return;
    const COneCallRun call(pDevmode);
    const GUID& runGuid = call.Guid();
    // The driver's own export writes the ticket: this call needs no manager of its own.
    CZQOndrel converter;
    converter.VSetPrinterName(pszPrinterName);
    converter.VSetTicketPath(pszTicketPath);
    converter.VSetDMCPath(pszDMCPath);
    converter.VSetTicketType(dwTicketType);
    converter.VSetConvertDevMode(TRUE);
    const CZQDriverCallLock calls(true);
    const CZQExportSwitchLock switches;
    if (switches.Held() && converter.BSetRunFlags(runGuid)) converter.BCallDocProperties(pDevmode, runGuid);
    converter.VClearRunFlags(runGuid);
}

}  // extern "C"
