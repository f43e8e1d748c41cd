// An in-memory printer with the spooler's semantics, installed in place of the real spooler so
// every printer-data, form and device-capabilities path can be exercised without a spooler that
// serves them: values under nested keys and at the root ("PrinterDriverData", as the spooler keeps
// them), forms, jobs, capability lists, read-only and restricted-user modes, and failures injected
// per call. Only tests link it; the product never references it.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "zqspoolapi.h"

namespace zqspool {

enum class MemCall {
    OpenPrinter,
    ClosePrinter,
    GetPrinter,
    SetPrinter,
    EnumPrintProcessors,
    EnumPrintProcessorDatatypes,
    GetPrintProcessorDirectory,
    GetPrinterDriver,
    GetJob,
    GetPrinterData,
    GetPrinterDataEx,
    SetPrinterData,
    SetPrinterDataEx,
    DeletePrinterData,
    DeletePrinterDataEx,
    DeletePrinterKey,
    EnumPrinterData,
    EnumPrinterDataEx,
    EnumPrinterKey,
    EnumForms,
    GetForm,
    AddForm,
    SetForm,
    DeleteForm,
    DeviceCapabilities,
    Count
};

struct MemPrinterIdentity {
    std::wstring name = L"ZQ Memory Printer";
    std::wstring server;  // empty: a local printer
    std::wstring port = L"USB001";
    std::wstring shareName;
    std::wstring driverName = L"ZQ Memory Driver";
    std::wstring environment = L"Windows x64";
    std::wstring comment;
    std::wstring location;
    std::wstring printProcessor = L"WinPrint";
    // Print processors the spooler has installed for the printer's environment.
    std::vector<std::wstring> installedPrintProcessors = {L"WinPrint"};
    // Data types the printer's print processor offers.
    std::vector<std::wstring> datatypes = {L"RAW", L"NT EMF 1.008", L"TEXT"};
    // Folder of the print processors' files (any server, any environment).
    std::wstring printProcessorDirectory = L"C:\\windows\\system32\\spool\\prtprocs\\x64";
    std::wstring datatype = L"RAW";
    // Folder of the driver's files; the driver record names each file in it (empty: the files alone).
    std::wstring driverDirectory = L"C:\\windows\\system32\\spool\\drivers\\x64\\3";
    std::wstring driverFile = L"zqdrv.dll";
    std::wstring configFile = L"zqdrvui.dll";
    std::wstring dataFile = L"zqdrv.gpd";
    std::wstring helpFile = L"zqhelp.chm";  // empty: none
    std::vector<std::wstring> dependentFiles;
};

struct MemJob {
    DWORD id = 0;
    std::wstring document;
    std::wstring datatype = L"RAW";
    std::wstring user = L"USER";
    SYSTEMTIME submitted = {};
};

class CZQMemoryPrinter {
public:
    explicit CZQMemoryPrinter(const MemPrinterIdentity& identity = MemPrinterIdentity());
    ~CZQMemoryPrinter();
    CZQMemoryPrinter(const CZQMemoryPrinter&) = delete;
    CZQMemoryPrinter& operator=(const CZQMemoryPrinter&) = delete;

    // Only one memory printer serves at a time; Install replaces the spooler until Uninstall or
    // destruction.
    void Install();
    void Uninstall();

    MemPrinterIdentity& Identity() { return m_identity; }

    // A handle as OpenPrinterW hands it out (null when refused: restricted user asking to
    // administer). Writes need a handle opened with PRINTER_ACCESS_ADMINISTER.
    HANDLE Open(ACCESS_MASK access = PRINTER_ALL_ACCESS);

    // Read-only printer data: every write is refused, whatever the handle.
    void SetReadOnly(bool on) { m_readOnly = on; }
    // Restricted user: the printer cannot be opened to administer it.
    void SetRestrictedUser(bool on) { m_restricted = on; }

    // The next `times` calls of `call` fail with `error` (-1: every call; 0: stop failing), once
    // `after` more calls of it have gone through.
    void FailCall(MemCall call, DWORD error, int times = -1, int after = 0);
    int CallCount(MemCall call) const { return m_calls[static_cast<int>(call)]; }

    void AddJob(const MemJob& job) { m_jobs[job.id] = job; }
    // A form with its size in thousandths of a millimetre; forms keep their order.
    void AddForm(const std::wstring& name, LONG cx, LONG cy, DWORD flags = FORM_BUILTIN);

    // Device-capabilities list of one capability (count entries of entrySize bytes).
    void SetCapability(WORD capability, const void* entries, DWORD count, DWORD entrySize);
    // The count query announces `announced` entries instead of the real number.
    void SetCapabilityAnnounced(WORD capability, int announced);
    // The next count queries / data queries answer -1.
    void SetCapabilityFailures(WORD capability, int countFailures, int dataFailures);

    // Direct access to the data, bypassing handles and access rules.
    void PutValue(const std::wstring& key, const std::wstring& name, DWORD type, const void* data, DWORD cb);
    void PutString(const std::wstring& key, const std::wstring& name, const std::wstring& text);
    bool GetValue(const std::wstring& key, const std::wstring& name, DWORD* pType, std::vector<BYTE>* pData) const;
    bool HasKey(const std::wstring& key) const;
    static constexpr const wchar_t* kRootKey = L"PrinterDriverData";

    // ---- spooler semantics, reached through the installed table
    struct ValueData {
        std::wstring name;
        DWORD type = REG_NONE;
        std::vector<BYTE> data;
    };
    struct KeyData {
        std::wstring name;
        std::map<std::wstring, ValueData> values;  // by lower-case name
    };
    struct FormData {
        std::wstring name;
        DWORD flags = 0;
        SIZEL size = {};
        RECTL area = {};
    };
    struct Capability {
        std::vector<BYTE> entries;
        DWORD count = 0;
        DWORD entrySize = 0;
        int announced = -1;
        int countFailures = 0;
        int dataFailures = 0;
    };

    bool Failing(MemCall call, DWORD* pError);
    bool ValidHandle(HANDLE h) const { return m_handles.count(h) != 0; }
    DWORD WriteCheck(HANDLE h) const;
    bool IsMyName(LPCWSTR name) const;
    KeyData* FindKey(const std::wstring& key);
    KeyData& MakeKey(const std::wstring& key);
    std::vector<std::wstring> SubKeys(const std::wstring& key) const;
    void DeleteKeyTree(const std::wstring& key);

    MemPrinterIdentity m_identity;
    std::map<std::wstring, KeyData> m_keys;  // by normalised lower-case path
    std::vector<FormData> m_forms;
    std::map<DWORD, MemJob> m_jobs;
    std::map<WORD, Capability> m_caps;
    std::map<HANDLE, ACCESS_MASK> m_handles;
    ULONG_PTR m_nextHandle = 0x5A510000;
    bool m_readOnly = false;
    bool m_restricted = false;
    int m_calls[static_cast<int>(MemCall::Count)] = {};
    struct Failure {
        DWORD error = 0;
        int times = 0;
        int after = 0;
    };
    Failure m_failures[static_cast<int>(MemCall::Count)] = {};
    SpoolerApi m_api;
    const SpoolerApi* m_pPrevious = nullptr;
    bool m_installed = false;
};

}  // namespace zqspool
