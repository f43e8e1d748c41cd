// The converter of the conversion interface: the configuration manager, the run flags, the ticket
// read into the snapshot, and the driver call.
#include "convertapi/zqondrel.h"

#include <cstring>

#include "common/zqprinterdata.h"
#include "common/zqstrings.h"
#include "common/zqtrace.h"
#include "convertapi/zqconvertruns.h"
#include "convertapi/zqtracelog.h"
#include "formats/zqexportrecord.h"
#include "platform/zqspooler.h"
#include "settings/zqdriverdata.h"

namespace {

namespace zs = zqsettings;

// Room of the names and values a ticket read hands the manager, and of its start buffer.
constexpr size_t kTicketChars = 260;

// Tries at putting the printer's export switches back, and the pause before the second (doubled
// before each further one).
constexpr DWORD kRestoreTries = 4;
constexpr DWORD kRestorePauseMs = 25;

// The printer's values a convert-devmode run changes, in the order of the export record.
constexpr PCWSTR kExportValues[zqxr::kValues] = {zs::kAlwaysExport, zs::kExportTicketLocation};

// Whether the run key's subkey opens; not when its path does not fit.
bool SnapshotKeyExists(const GUID& runGuid, PCWSTR pszSubKey) {
    WCHAR runKey[CZQCommon::kRunKeyChars], path[CZQCommon::kRunKeyChars];
    return CZQCommon::BBuildRunKeyPath(runGuid, runKey, ARRAYSIZE(runKey)) &&
           ZQFormatText(path, ARRAYSIZE(path), L"%ls\\%ls", runKey, pszSubKey) == S_OK &&
           CZQOndrel::BRegKeyExists(path);
}

// FALSE with the reason as the thread's last error (a failure must not lose its reason to the
// clean-up after it).
BOOL Fail(DWORD dwError) {
    SetLastError(dwError ? dwError : ERROR_WRITE_FAULT);
    return FALSE;
}

void RunOf(const GUID& runGuid, uint8_t (&run)[zqxr::kGuidBytes]) { std::memcpy(run, &runGuid, sizeof run); }

// The record of the printer's export switches: ERROR_SUCCESS with the record, ERROR_FILE_NOT_FOUND
// when there is none (or what is there is not a record of ours), else the spooler's answer.
DWORD ReadExportRecord(HANDLE hPrinter, zqxr::ExportRecord& record) {
    CZQLocalPtr<BYTE> data;
    DWORD type = REG_NONE, cb = 0;
    const DWORD rc = ZQReadStoredValue(hPrinter, nullptr, zs::kExportRunRecord, &type, data, &cb);
    if (rc != ERROR_SUCCESS) return rc;
    // A cleared record (where the spooler cannot delete one) names no run.
    if (cb <= 1) return ERROR_FILE_NOT_FOUND;
    if (type != REG_BINARY || !zqxr::Read(data.Get(), cb, &record)) {
        zqtrace::Line(L"CZQOndrel: the printer's export record is not one of ours: it is passed over\n");
        return ERROR_FILE_NOT_FOUND;
    }
    return ERROR_SUCCESS;
}

DWORD WriteExportRecord(HANDLE hPrinter, const zqxr::ExportRecord& record) {
    CZQLocalPtr<BYTE> bytes;
    const size_t size = zqxr::RecordSize(record);
    if (!bytes.Alloc(size) || zqxr::Write(record, bytes.Get(), size) != size) return ERROR_INVALID_DATA;
    return ZQWriteStoredValue(hPrinter, nullptr, zs::kExportRunRecord, REG_BINARY, bytes.Get(),
                              static_cast<DWORD>(size));
}

// What the printer holds of a value now: ERROR_SUCCESS (kept in the record's slot), or the spooler's
// answer; a value that is not there is kept as such.
DWORD SaveValue(HANDLE hPrinter, PCWSTR pszName, zqxr::SavedValue& saved) {
    saved = zqxr::SavedValue();
    CZQLocalPtr<BYTE> data;
    DWORD type = REG_NONE, cb = 0;
    const DWORD rc = ZQReadStoredValue(hPrinter, nullptr, pszName, &type, data, &cb);
    if (rc == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
    if (rc != ERROR_SUCCESS) return rc;
    // A value the record cannot hold could not be put back.
    if (cb > zqxr::kMaxValueBytes) return ERROR_INSUFFICIENT_BUFFER;
    saved.present = true;
    saved.type = type;
    saved.size = cb;
    std::memcpy(saved.data, data.Get(), cb);
    return ERROR_SUCCESS;
}

// A spooler that answers a well-formed deletion so has no deletion of printer data at all.
bool CannotDelete(DWORD dwError) {
    return dwError == ERROR_CALL_NOT_IMPLEMENTED || dwError == ERROR_NOT_SUPPORTED || dwError == ERROR_INVALID_PARAMETER;
}

// Deletes a root value. A spooler that deletes nothing never will: the value is given its neutral
// data (asking for nothing: no export, no ticket, no run's record) and counts as gone. Any other
// failure is tried again later; a switch is neutral meanwhile, a record stays as it is.
bool Remove(HANDLE hPrinter, PCWSTR pszName, DWORD dwNeutralType, bool bNeutralMeanwhile) {
    if (CZQDriverData::BDeletePrinterData(hPrinter, pszName)) return true;
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND) return true;
    if (!CannotDelete(error) && !bNeutralMeanwhile) return false;
    const DWORD zero = 0;
    const DWORD cb = dwNeutralType == REG_DWORD ? sizeof zero : 1;
    const bool neutral = ZQWriteStoredValue(hPrinter, nullptr, pszName, dwNeutralType, &zero, cb) == ERROR_SUCCESS;
    return neutral && CannotDelete(error);
}

// Gives the record's value i what the record kept of it.
bool PutBack(HANDLE hPrinter, size_t i, const zqxr::SavedValue& saved) {
    const PCWSTR name = kExportValues[i];
    if (saved.present)
        return ZQWriteStoredValue(hPrinter, nullptr, name, saved.type, saved.data, saved.size) == ERROR_SUCCESS;
    return Remove(hPrinter, name, i == 0 ? REG_DWORD : REG_BINARY, true);
}

// One try of the restore: the record's values back and the record gone, unless the record is no
// longer this run's.
bool PutBackExportSwitches(HANDLE hPrinter, const GUID& runGuid) {
    zqxr::ExportRecord record;
    const DWORD rc = ReadExportRecord(hPrinter, record);
    uint8_t run[zqxr::kGuidBytes];
    RunOf(runGuid, run);
    // A record that names another run: a later run took the values over and answers for them.
    if (rc == ERROR_FILE_NOT_FOUND || (rc == ERROR_SUCCESS && !zqxr::NamesRun(record, run, GetCurrentProcessId())))
        return true;
    if (rc != ERROR_SUCCESS) return false;
    for (size_t i = 0; i < zqxr::kValues; ++i)
        if (!PutBack(hPrinter, i, record.values[i])) return false;
    // A record that stays only gives the same values back at the next try.
    return Remove(hPrinter, zs::kExportRunRecord, REG_BINARY, false);
}

}  // namespace

CZQOndrel::CZQOndrel() { BResolveEntryPoints(&m_api, nullptr); }

CZQOndrel::CZQOndrel(PCWSTR pszPrinterName, PCWSTR pszTicketPath, PCWSTR pszDMCPath, DWORD dwTicketType)
    : m_dwTicketType(dwTicketType) {
    VSetPrinterName(pszPrinterName);
    VSetTicketPath(pszTicketPath);
    VSetDMCPath(pszDMCPath);
    if (pszPrinterName && pszTicketPath) LoadDMC();
}

CZQOndrel::~CZQOndrel() { VFreeDMC(); }

void CZQOndrel::VSetPrinterName(PCWSTR pszName) {
    if (!pszName) return;
    m_printerName.Reset(ZQDupText(pszName));
    // Another printer: its own handle and its own devmode size.
    m_printer.Reset();
    m_lDriverSize = 0;
}

void CZQOndrel::VSetTicketPath(PCWSTR pszPath) {
    if (pszPath) m_ticketPath.Reset(ZQDupText(pszPath));
}

void CZQOndrel::VSetDMCPath(PCWSTR pszPath) {
    if (pszPath) m_dmcPath.Reset(ZQDupText(pszPath));
}

HANDLE CZQOndrel::HPrinter() {
    if (m_printer || !m_printerName) return m_printer.Get();
    const auto& sp = zqspool::Spooler();
    PRINTER_DEFAULTSW all = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    if (!sp.OpenPrinterW(m_printerName.Get(), m_printer.Put(), &all))
        sp.OpenPrinterW(m_printerName.Get(), m_printer.Put(), nullptr);
    return m_printer.Get();
}

// ---------------------------------------------------------------------------------------------
// The configuration manager
// ---------------------------------------------------------------------------------------------
BOOL CZQOndrel::LoadDMC() {
    ZQ_TRACE("CZQOndrel::LoadDMC");
    VFreeDMC();
    if (!m_dmcPath) return FALSE;
    // A reference of this run's own: the loader counts it, so another run's end never frees the
    // module under this one.
    m_hDMC = CZQCommon::HLoadLibrary(m_dmcPath.Get());
    m_bRead = FALSE;
    if (!m_hDMC) return FALSE;
    // A manager without all its entry points is not called at all.
    if (!BResolveEntryPoints(&m_api, m_hDMC)) {
        VFreeDMC();
        return FALSE;
    }
    // Registered afresh at every load, as every other binding of the manager is.
    CZQPerfTimer unregister, reg;
    unregister.VBegin(L"    CZQOndrel::LoadDMC - UnregisterServer>> ");
    TraceLog("    CZQOndrel::LoadDMC - UnregisterServer>>");
    m_api.DllUnregisterServer();
    unregister.VEnd(L"    CZQOndrel::LoadDMC - UnregisterServer<<");
    TraceLog("    CZQOndrel::LoadDMC - UnregisterServer<<");
    TraceLog("    CZQOndrel::LoadDMC - RegisterServer>>");
    reg.VBegin(L"    CZQOndrel::LoadDMC - RegisterServer>> ");
    if (m_api.DllRegisterServer() != S_OK) {
        m_bConfigOpen = FALSE;
        TraceLog("    CZQOndrel::LoadDMC - RegisterServer - FAILED");
        VFreeDMC();
        return FALSE;
    }
    TraceLog("    CZQOndrel::LoadDMC - RegisterServer<<");
    reg.VEnd(L"    CZQOndrel::LoadDMC - RegisterServer<<");
    m_bRegistered = TRUE;
    return TRUE;
}

BOOL CZQOndrel::BResolveEntryPoints(ConfigEntryPoints* pTable, HMODULE hModule) {
    m_bRead = CZQConfigManager::BResolveConfigEntryPoints(pTable, hModule);
    return m_bRead;
}

void CZQOndrel::VFreeDMC() {
    if (m_hDMC) FreeLibrary(m_hDMC);
    m_hDMC = nullptr;
    m_api = ConfigEntryPoints();
    m_bRegistered = FALSE;
    m_bConfigOpen = FALSE;
}

// ---------------------------------------------------------------------------------------------
// Registry
// ---------------------------------------------------------------------------------------------
BOOL CZQOndrel::BRegKeyExists(PCWSTR pszKeyPath) {
    CZQRegKey key;
    return pszKeyPath && RegOpenKeyExW(HKEY_CURRENT_USER, pszKeyPath, 0, KEY_READ, key.Put()) == ERROR_SUCCESS;
}

BOOL CZQOndrel::BSetRegValue(PCWSTR pszKeyPath, PCWSTR pszValueName, DWORD dwType, const void* pData, DWORD cbData) {
    if (!pszKeyPath || !pszValueName || !pData) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    CZQRegKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, pszKeyPath, 0, KEY_ALL_ACCESS, key.Put()) != ERROR_SUCCESS) {
        const LONG rc = RegCreateKeyExW(HKEY_CURRENT_USER, pszKeyPath, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                        KEY_ALL_ACCESS, nullptr, key.Put(), nullptr);
        if (rc != ERROR_SUCCESS) {
            SetLastError(static_cast<DWORD>(rc));
            return FALSE;
        }
        m_bKeyCreated = TRUE;
    }
    const LONG rc = RegSetValueExW(key.Get(), pszValueName, 0, dwType, static_cast<const BYTE*>(pData), cbData);
    if (rc != ERROR_SUCCESS) SetLastError(static_cast<DWORD>(rc));
    return rc == ERROR_SUCCESS;
}

BOOL CZQOndrel::BSetRegString(PCWSTR pszKeyPath, PCWSTR pszValueName, PCWSTR pszText) {
    if (!pszText) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    return BSetRegValue(pszKeyPath, pszValueName, REG_SZ, pszText,
                        static_cast<DWORD>((wcslen(pszText) + 1) * sizeof(WCHAR)));
}

BOOL CZQOndrel::BSetRegDword(PCWSTR pszKeyPath, PCWSTR pszValueName, DWORD dwValue) {
    return BSetRegValue(pszKeyPath, pszValueName, REG_DWORD, &dwValue, sizeof dwValue);
}

// ---------------------------------------------------------------------------------------------
// Run flags
// ---------------------------------------------------------------------------------------------
BOOL CZQOndrel::BSetPrinterExportFlags(const GUID& runGuid) {
    const zqconvert::CZQExportSwitchLock switches;
    const HANDLE h = HPrinter();
    if (!switches.Held() || !h) {
        TraceLog("    CZQOndrel - the printer's export switches cannot be had: they are left as they are");
        return Fail(switches.Held() ? GetLastError() : ERROR_BUSY);
    }
    // The values to give back: those an earlier run recorded (it ended before it could put them
    // back, so what the printer holds now is that run's), else what the printer holds now. A value
    // that cannot be read is never taken for one that is not there: the switches stay untouched.
    zqxr::ExportRecord record;
    DWORD rc = ReadExportRecord(h, record);
    if (rc == ERROR_SUCCESS) {
        TraceLog("    CZQOndrel - an earlier run's export switches found: its saved values are kept");
    } else if (rc == ERROR_FILE_NOT_FOUND) {
        rc = ERROR_SUCCESS;
        for (size_t i = 0; i < zqxr::kValues && rc == ERROR_SUCCESS; ++i)
            rc = SaveValue(h, kExportValues[i], record.values[i]);
    }
    if (rc != ERROR_SUCCESS) {
        TraceLog("    CZQOndrel - the printer's export switches cannot be read: they are left as they are");
        return Fail(rc);
    }
    RunOf(runGuid, record.run);
    record.processId = GetCurrentProcessId();
    rc = WriteExportRecord(h, record);
    if (rc != ERROR_SUCCESS) {
        TraceLog("    CZQOndrel - the export record cannot be written: the export switches are left as they are");
        return Fail(rc);
    }
    m_bExportPending = true;
    CZQLocalPtr<char> ansi;
    bool set = CZQDriverData::BSetPrinterDataDword(h, zs::kAlwaysExport, 1) != FALSE;
    if (!set) zqtrace::Line(L"Failed to create registry key AlwaysExport\n");
    set = set && CZQCommon::BWideToMultiByte(m_ticketPath.Get(), ansi.Put(), CP_ACP);
    if (set) {
        rc = ZQWriteStoredValue(h, nullptr, zs::kExportTicketLocation, REG_BINARY, ansi.Get(),
                                static_cast<DWORD>(strlen(ansi.Get())));
        set = rc == ERROR_SUCCESS;
        if (!set) SetLastError(rc);
    }
    if (!set) {
        const DWORD error = GetLastError();
        zqtrace::Line(L"Failed to create registry key ExportTicketLocation\n");
        BRestorePrinterExportFlags(runGuid);
        return Fail(error);
    }
    return TRUE;
}

BOOL CZQOndrel::BRestorePrinterExportFlags(const GUID& runGuid) {
    if (!m_bExportPending) return TRUE;
    const zqconvert::CZQExportSwitchLock switches;
    const HANDLE h = HPrinter();
    if (!switches.Held() || !h) return FALSE;
    // A spooler that refuses a read, write or delete now and then is asked again; one that keeps
    // refusing leaves the record, and with it the values to give back, to a later try.
    for (DWORD pause = kRestorePauseMs, tries = kRestoreTries;; pause *= 2) {
        if (PutBackExportSwitches(h, runGuid)) {
            m_bExportPending = false;
            return TRUE;
        }
        if (--tries == 0) break;
        Sleep(pause);
    }
    zqtrace::Line(L"Failed to delete registry key AlwaysExport\n");
    TraceLog("    CZQOndrel - the printer's export switches could not be put back: kept for a later try");
    return FALSE;
}

BOOL CZQOndrel::BSetRunFlags(const GUID& runGuid) {
    WCHAR runKey[CZQCommon::kRunKeyChars];
    if (!m_printerName || !m_ticketPath || !m_dmcPath ||
        !CZQCommon::BBuildRunKeyPath(runGuid, runKey, ARRAYSIZE(runKey)))
        return Fail(ERROR_INVALID_DATA);
    WCHAR type[16];
    ZQFormatText(type, ARRAYSIZE(type), L"%lu", m_dwTicketType);
    bool written;
    if (m_bConvertDevMode) {
        written = BSetPrinterExportFlags(runGuid) && BSetRegString(runKey, zs::kProcessingConvertDevmode, zs::kRunFlagOn);
    } else {
        written = BSetRegDword(runKey, zs::kDisableDPSExtension, 1) &&
                  BSetRegString(runKey, zs::kTicketManager, m_dmcPath.Get()) &&
                  BSetRegString(runKey, zs::kTicketType, type) &&
                  BSetRegString(runKey, zs::kTicketPrinterName, m_printerName.Get()) &&
                  BSetRegString(runKey, zs::kTicketPath, m_ticketPath.Get());
    }
    // Last: the driver side takes the run as a run once this is there.
    written = written && BSetRegString(runKey, zs::kProcessingOndrel, zs::kRunFlagOn);
    if (!written) {
        const DWORD error = GetLastError();
        TraceLog("    CZQOndrel::BSetRunFlags - a run flag cannot be written: the run is taken back");
        VClearRunFlags(runGuid);
        return Fail(error);
    }
    return TRUE;
}

void CZQOndrel::VClearRunFlags(const GUID& runGuid) {
    // What the run changed in the printer's data goes back, whatever the mode is now.
    BRestorePrinterExportFlags(runGuid);
    WCHAR runKey[CZQCommon::kRunKeyChars];
    if (!CZQCommon::BBuildRunKeyPath(runGuid, runKey, ARRAYSIZE(runKey))) return;
    CZQRegKey key;
    RegOpenKeyExW(HKEY_CURRENT_USER, runKey, 0, KEY_ALL_ACCESS, key.Put());
    if (key) {
        for (PCWSTR name : {zs::kProcessingConvertDevmode, zs::kTicketManager, zs::kTicketPath, zs::kTicketPrinterName,
                            zs::kTicketType, zs::kDisableDPSExtension})
            RegDeleteValueW(key.Get(), name);
    }
    CZQDriverData::VDeleteSnapshot(runKey);
    RegDeleteKeyW(HKEY_CURRENT_USER, runKey);
    // Should the key stay (something was left below it), the run is over all the same.
    if (key) RegDeleteValueW(key.Get(), zs::kProcessingOndrel);
}

// ---------------------------------------------------------------------------------------------
// Ticket read
// ---------------------------------------------------------------------------------------------
BOOL CZQOndrel::BStoreSnapshotValue(PCWSTR pszRoot, PCWSTR pszName, PCWSTR pszValue, HANDLE, PCWSTR pszRunKey) {
    if (!pszRoot || !pszName || !pszValue || !pszRunKey) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    const PCWSTR subKey = CZQDriverData::PszItemTree(pszRoot, pszName, TRUE);
    WCHAR path[CZQCommon::kRunKeyChars];
    if (!subKey || ZQFormatText(path, ARRAYSIZE(path), L"%ls\\%ls", pszRunKey, subKey) != S_OK) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    return BSetRegString(path, pszName, pszValue);
}

BOOL CZQOndrel::BWalkRoots(PCWSTR pszRunKey) {
    const CZQConfigSource source(m_api);
    bool stored = true;
    for (PCWSTR root : {kZQCfgPrinting, kZQCfgPhysical}) {
        if (!stored || m_api.DMCSetContext(root) != 1) continue;
        WCHAR list[zqcfg::kListChars];
        if (!zqcfgwalk::ListBelow(source, L"", list)) continue;
        zqcfgwalk::WalkThreeLevels(source, root, list, kTicketChars, [&](int, PCWSTR pszName) {
            // A name without a value of its own (a group) is passed by; its siblings are not. Once
            // an item could not be stored the ticket is not read whole: the rest is not needed.
            WCHAR value[kTicketChars];
            zqcfg::VPrepare(value, kTicketChars);
            if (!stored || m_api.DMCGet(pszName, value) != 1) return;
            value[kTicketChars - 1] = 0;
            stored = BStoreSnapshotValue(root, pszName, value, nullptr, pszRunKey) != FALSE;
            if (!stored) TraceLog("    CZQOndrel::BDMCReadCfgVal - an item cannot be stored: the read fails");
        });
    }
    return stored;
}

BOOL CZQOndrel::BDMCReadCfgVal(const GUID& runGuid) {
    ZQ_TRACE("CZQOndrel::BDMCReadCfgVal");
    m_bRead = FALSE;
    WCHAR runKey[CZQCommon::kRunKeyChars];
    if (!CZQCommon::BBuildRunKeyPath(runGuid, runKey, ARRAYSIZE(runKey))) return FALSE;
    // A run id used before (the same run GUID, a process id used again) starts from nothing: the
    // earlier ticket's items are not this one's.
    CZQDriverData::VDeleteSnapshot(runKey);
    if (!HPrinter()) return Fail(GetLastError());
    if (!m_hDMC || !m_ticketPath) return Fail(ERROR_INVALID_DATA);
    // The manager keeps one session per process: runs of other threads wait for this one's end.
    const CZQConfigSessionLock session;
    if (!m_bConfigOpen) {
        CZQPerfTimer probe;
        probe.VBegin(L"    CZQOndrel::BDMCReadCfgVal>>");
        TraceLog("    CZQOndrel::BDMCReadCfgVal>>");
        WCHAR context[kTicketChars] = {};
        if (m_api.DMCStartConfig(m_ticketPath.Get(), ZQCFG_MODE_TICKET, context, 0) != 0) m_bConfigOpen = TRUE;
        TraceLog("    CZQOndrel::BDMCReadCfgVal<<");
        probe.VEnd(L"  CZQOndrel::BDMCReadCfgVal<<");
    }
    // Only a ticket this read opened counts as read.
    if (!m_bConfigOpen) return Fail(ERROR_OPEN_FAILED);
    m_bRead = BWalkRoots(runKey);
    const DWORD error = GetLastError();
    m_api.DMCEndConfig();
    m_bConfigOpen = FALSE;
    if (m_bRead) return TRUE;
    // Half a ticket is no ticket: the driver must not convert it.
    CZQDriverData::VDeleteSnapshot(runKey);
    return Fail(error);
}

BOOL CZQOndrel::BSnapshotHasPhysical(const GUID& runGuid) { return SnapshotKeyExists(runGuid, zs::kOndrelPhysical); }

BOOL CZQOndrel::BSnapshotHasPrinting(const GUID& runGuid) { return SnapshotKeyExists(runGuid, zs::kOndrelPrinting); }

// ---------------------------------------------------------------------------------------------
// The driver call
// ---------------------------------------------------------------------------------------------
BOOL CZQOndrel::BCallDocProperties(PDEVMODEW pDevmode, const GUID& runGuid) {
    ZQ_TRACE("CZQOndrel::BCallDocProperties");
    const HANDLE h = HPrinter();
    if (!h || !pDevmode) return FALSE;
    const auto& sp = zqspool::Spooler();
    PWSTR name = m_printerName.Get();
    BOOL result = FALSE;

    CZQPerfTimer probe;
    probe.VBegin(L"ConvertTicket - PrinterProperties()>> ");
    TraceLog("    BCallDocProperties - Calling PrinterProperties()>>");
    // The driver's device settings take the snapshot's installable options there.
    if (m_bConvertDevMode || BSnapshotHasPhysical(runGuid)) result = sp.PrinterProperties(nullptr, h) != 0;
    probe.VEnd(L"ConvertTicket - PrinterProperties()<< ");
    TraceLog("    BCallDocProperties - Done with PrinterProperties()<<");
    if (!m_bConvertDevMode && !BSnapshotHasPrinting(runGuid)) return result;

    // The driver writes its whole devmode into the caller's buffer: a buffer smaller than that is
    // not handed over. The size is the driver's for the whole run.
    if (m_lDriverSize <= 0) m_lDriverSize = sp.DocumentPropertiesW(nullptr, h, name, nullptr, nullptr, 0);
    const DWORD available = static_cast<DWORD>(pDevmode->dmSize) + pDevmode->dmDriverExtra;
    if (m_lDriverSize <= 0 || available < static_cast<DWORD>(m_lDriverSize)) {
        TraceLog("    BCallDocProperties - devmode smaller than the driver's");
        return FALSE;
    }
    if (!CZQCommon::BIsProcessingOndrel(pDevmode)) {
        TraceLog("    BCallDocProperties - the driver would not find the run: its sheet is not opened");
        return FALSE;
    }
    return sp.DocumentPropertiesW(nullptr, h, name, pDevmode, pDevmode, DM_IN_BUFFER | DM_IN_PROMPT | DM_OUT_BUFFER) ==
           IDOK;
}
