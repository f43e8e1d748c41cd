// The converter of the conversion interface: the configuration manager, the run flags, the ticket
// read into the snapshot, and the driver call.
#include "convertapi/zqondrel.h"

#include <cstring>

#include "common/zqstrings.h"
#include "common/zqtrace.h"
#include "convertapi/zqtracelog.h"
#include "platform/zqspooler.h"
#include "settings/zqdriverdata.h"

namespace {

namespace zs = zqsettings;

using zs::kDisableDPSExtension;
using zs::kExportTicketLocation;
using zs::kProcessingConvertDevmode;
using zs::kProcessingOndrel;
using zs::kTicketManager;
using zs::kTicketPath;
using zs::kTicketType;
constexpr PCWSTR kPrinterName = zs::kTicketPrinterName;
constexpr PCWSTR kTrueText = zs::kRunFlagOn;

// Room of the names and values a ticket read hands the manager, and of its start buffer.
constexpr size_t kTicketChars = 260;

PWSTR Copy(PCWSTR psz) { return ZQDupText(psz); }

CZQPrinterHandle OpenPrinter(PCWSTR pszName, ACCESS_MASK access) {
    CZQPrinterHandle printer;
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, access};
    if (pszName)
        zqspool::Spooler().OpenPrinterW(const_cast<PWSTR>(pszName), printer.Put(), access ? &defaults : nullptr);
    return printer;
}

// A root value of the printer's data, of any type.
DWORD SetRootValue(HANDLE hPrinter, PCWSTR pszName, DWORD dwType, const void* pData, DWORD cb) {
    return zqspool::Spooler().SetPrinterDataW(hPrinter, const_cast<PWSTR>(pszName), dwType,
                                              static_cast<BYTE*>(const_cast<void*>(pData)), cb);
}

bool KeyExists(const GUID& runGuid, PCWSTR pszSubKey) {
    WCHAR runKey[CZQCommon::kRunKeyChars], path[CZQCommon::kRunKeyChars];
    if (!CZQCommon::BBuildRunKeyPath(runGuid, runKey, ARRAYSIZE(runKey)) ||
        ZQFormatText(path, ARRAYSIZE(path), L"%ls\\%ls", runKey, pszSubKey) != S_OK)
        return false;
    CZQRegKey key;
    return RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, key.Put()) == ERROR_SUCCESS;
}

}  // namespace

CZQOndrel::CZQOndrel() = default;

CZQOndrel::CZQOndrel(PCWSTR pszPrinterName, PCWSTR pszTicketPath, PCWSTR pszDMCPath, DWORD dwTicketType)
    : m_dwTicketType(dwTicketType) {
    VSetPrinterName(pszPrinterName);
    VSetTicketPath(pszTicketPath);
    VSetDMCPath(pszDMCPath);
    if (pszPrinterName && pszTicketPath) LoadDMC();
}

void CZQOndrel::VSetPrinterName(PCWSTR pszName) {
    if (pszName) m_printerName.Reset(Copy(pszName));
}

void CZQOndrel::VSetTicketPath(PCWSTR pszPath) {
    if (pszPath) m_ticketPath.Reset(Copy(pszPath));
}

void CZQOndrel::VSetDMCPath(PCWSTR pszPath) {
    if (pszPath) m_dmcPath.Reset(Copy(pszPath));
}

// ---------------------------------------------------------------------------------------------
// The configuration manager
// ---------------------------------------------------------------------------------------------
BOOL CZQOndrel::LoadDMC() {
    ZQ_TRACE("CZQOndrel::LoadDMC");
    // A second binding must not keep the first module loaded behind it.
    VFreeDMC();
    if (!m_dmcPath) return FALSE;
    m_hDMC = CZQCommon::HLoadLibrary(m_dmcPath.Get());
    m_bRead = FALSE;
    if (!m_hDMC) return FALSE;
    // A manager without all its entry points is not called at all.
    if (!CZQConfigManager::BResolveConfigEntryPoints(&m_api, m_hDMC)) {
        VFreeDMC();
        return FALSE;
    }
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
BOOL CZQOndrel::BSetRegValue(PCWSTR pszKeyPath, PCWSTR pszValueName, DWORD dwType, const void* pData, DWORD cbData) {
    if (!pszKeyPath || !pszValueName || !pData) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    CZQRegKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, pszKeyPath, 0, KEY_ALL_ACCESS, key.Put()) != ERROR_SUCCESS) {
        if (RegCreateKeyExW(HKEY_CURRENT_USER, pszKeyPath, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                            nullptr, key.Put(), nullptr) != ERROR_SUCCESS)
            return FALSE;
        m_bKeyCreated = TRUE;
    }
    return RegSetValueExW(key.Get(), pszValueName, 0, dwType, static_cast<const BYTE*>(pData), cbData) ==
           ERROR_SUCCESS;
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
void CZQOndrel::VSetPrinterExportFlags(HANDLE hPrinter) {
    // The value the printer had is kept once per run, so a run retried before its end does not
    // take its own setting for the administrator's.
    if (!m_alwaysExport.pending) {
        SavedValue saved;
        DWORD type = REG_NONE, needed = 0;
        const DWORD rc = zqspool::Spooler().GetPrinterDataW(hPrinter, const_cast<PWSTR>(zs::kAlwaysExport), &type,
                                                            saved.data, sizeof saved.data, &needed);
        saved.existed = rc == ERROR_SUCCESS && needed <= sizeof saved.data;
        saved.type = type;
        saved.cb = saved.existed ? needed : 0;
        saved.pending = true;
        m_alwaysExport = saved;
    }
    if (!CZQDriverData::BSetPrinterDataDword(hPrinter, zs::kAlwaysExport, 1))
        zqtrace::Line(L"Failed to create registry key AlwaysExport\n");
    CZQLocalPtr<char> ansi;
    if (CZQCommon::BWideToMultiByte(m_ticketPath.Get(), ansi.Put(), CP_ACP) &&
        SetRootValue(hPrinter, kExportTicketLocation, REG_BINARY, ansi.Get(), static_cast<DWORD>(strlen(ansi.Get()))) !=
            ERROR_SUCCESS)
        zqtrace::Line(L"Failed to create registry key ExportTicketLocation\n");
}

void CZQOndrel::VRestorePrinterExportFlags() {
    if (!m_alwaysExport.pending) return;
    CZQPrinterHandle printer = OpenPrinter(m_printerName.Get(), PRINTER_ALL_ACCESS);
    if (!printer) return;
    const HANDLE h = printer.Get();
    const SavedValue& saved = m_alwaysExport;
    // A spooler that cannot delete keeps values that ask for nothing: no export, no ticket.
    if (saved.existed) {
        if (SetRootValue(h, zs::kAlwaysExport, saved.type, saved.data, saved.cb) != ERROR_SUCCESS)
            zqtrace::Line(L"Failed to delete registry key AlwaysExport\n");
    } else if (!CZQDriverData::BDeletePrinterData(h, zs::kAlwaysExport) &&
               !CZQDriverData::BSetPrinterDataDword(h, zs::kAlwaysExport, 0)) {
        zqtrace::Line(L"Failed to delete registry key AlwaysExport\n");
    }
    static const char kNoTicket = 0;
    if (!CZQDriverData::BDeletePrinterData(h, kExportTicketLocation) &&
        SetRootValue(h, kExportTicketLocation, REG_BINARY, &kNoTicket, 0) != ERROR_SUCCESS)
        zqtrace::Line(L"Failed to delete registry key ExportTicketLocation\n");
    m_alwaysExport = SavedValue();
}

BOOL CZQOndrel::BSetRunFlags(const GUID& runGuid) {
    WCHAR runKey[CZQCommon::kRunKeyChars];
    if (!m_printerName || !m_ticketPath || !m_dmcPath ||
        !CZQCommon::BBuildRunKeyPath(runGuid, runKey, ARRAYSIZE(runKey)))
        return FALSE;
    WCHAR type[16];
    ZQFormatText(type, ARRAYSIZE(type), L"%lu", m_dwTicketType);
    bool written = true;
    if (m_bConvertDevMode) {
        CZQPrinterHandle printer = OpenPrinter(m_printerName.Get(), PRINTER_ALL_ACCESS);
        if (printer) VSetPrinterExportFlags(printer.Get());
        written = BSetRegString(runKey, kProcessingConvertDevmode, kTrueText) != FALSE;
    } else {
        written = BSetRegDword(runKey, kDisableDPSExtension, 1) && BSetRegString(runKey, kTicketManager, m_dmcPath.Get()) &&
                  BSetRegString(runKey, kTicketType, type) && BSetRegString(runKey, kPrinterName, m_printerName.Get()) &&
                  BSetRegString(runKey, kTicketPath, m_ticketPath.Get());
    }
    // Last: the driver side takes the run as a run once this is there.
    return BSetRegString(runKey, kProcessingOndrel, kTrueText) && written;
}

void CZQOndrel::VClearRunFlags(const GUID& runGuid) {
    WCHAR runKey[CZQCommon::kRunKeyChars];
    if (!CZQCommon::BBuildRunKeyPath(runGuid, runKey, ARRAYSIZE(runKey))) return;
    CZQRegKey key;
    RegOpenKeyExW(HKEY_CURRENT_USER, runKey, 0, KEY_ALL_ACCESS, key.Put());
    // What the run changed in the printer's data goes back, whatever the mode is now.
    VRestorePrinterExportFlags();
    if (key) {
        for (PCWSTR name : {kProcessingConvertDevmode, kTicketManager, kTicketPath, kPrinterName, kTicketType,
                            kDisableDPSExtension})
            RegDeleteValueW(key.Get(), name);
    }
    CZQDriverData::VDeleteSnapshot(runKey);
    RegDeleteKeyW(HKEY_CURRENT_USER, runKey);
    // Should the key stay (something was left below it), the run is over all the same.
    if (key) RegDeleteValueW(key.Get(), kProcessingOndrel);
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

void CZQOndrel::VWalkRoots(HANDLE hPrinter, PCWSTR pszRunKey) {
    const CZQConfigSource source(m_api);
    for (PCWSTR root : {kZQCfgPrinting, kZQCfgPhysical}) {
        if (m_api.DMCSetContext(root) != 1) continue;
        WCHAR list[zqcfg::kListChars];
        if (!zqcfgwalk::ListBelow(source, L"", list)) continue;
        zqcfgwalk::WalkThreeLevels(source, root, list, kTicketChars, [&](int, PCWSTR pszName) {
            // A name without a value of its own (a group) is passed by; its siblings are not.
            WCHAR value[kTicketChars];
            zqcfg::VPrepare(value, kTicketChars);
            if (m_api.DMCGet(pszName, value) != 1) return;
            value[kTicketChars - 1] = 0;
            if (!BStoreSnapshotValue(root, pszName, value, hPrinter, pszRunKey))
                zqtrace::Line(L"CZQOndrel::BDMCReadCfgVal: item not stored\n");
        });
    }
}

BOOL CZQOndrel::BDMCReadCfgVal(const GUID& runGuid) {
    ZQ_TRACE("CZQOndrel::BDMCReadCfgVal");
    m_bRead = FALSE;
    WCHAR runKey[CZQCommon::kRunKeyChars];
    if (!CZQCommon::BBuildRunKeyPath(runGuid, runKey, ARRAYSIZE(runKey))) return FALSE;
    // A run id used before (the same run GUID, a process id used again) starts from nothing: the
    // earlier ticket's items are not this one's.
    CZQDriverData::VDeleteSnapshot(runKey);
    CZQPrinterHandle printer = OpenPrinter(m_printerName.Get(), 0);
    if (!printer || !m_hDMC) return FALSE;
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
    if (!m_bConfigOpen) return FALSE;
    m_bRead = TRUE;
    VWalkRoots(printer.Get(), runKey);
    m_api.DMCEndConfig();
    m_bConfigOpen = FALSE;
    return m_bRead;
}

BOOL CZQOndrel::BSnapshotHasPhysical(const GUID& runGuid) { return KeyExists(runGuid, zs::kOndrelPhysical); }

BOOL CZQOndrel::BSnapshotHasPrinting(const GUID& runGuid) { return KeyExists(runGuid, zs::kOndrelPrinting); }

// ---------------------------------------------------------------------------------------------
// The driver call
// ---------------------------------------------------------------------------------------------
BOOL CZQOndrel::BCallDocProperties(PDEVMODEW pDevmode, const GUID& runGuid) {
    ZQ_TRACE("CZQOndrel::BCallDocProperties");
    CZQPrinterHandle printer = OpenPrinter(m_printerName.Get(), PRINTER_ALL_ACCESS);
    if (!printer) printer = OpenPrinter(m_printerName.Get(), 0);
    if (!printer || !pDevmode) return FALSE;
    const auto& sp = zqspool::Spooler();
    const HANDLE h = printer.Get();
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
    // not handed over.
    const LONG needed = sp.DocumentPropertiesW(nullptr, h, name, nullptr, nullptr, 0);
    const DWORD available = static_cast<DWORD>(pDevmode->dmSize) + pDevmode->dmDriverExtra;
    if (needed <= 0 || available < static_cast<DWORD>(needed)) {
        TraceLog("    BCallDocProperties - devmode smaller than the driver's");
        return FALSE;
    }
    return sp.DocumentPropertiesW(nullptr, h, name, pDevmode, pDevmode, DM_IN_BUFFER | DM_IN_PROMPT | DM_OUT_BUFFER) ==
           IDOK;
}
