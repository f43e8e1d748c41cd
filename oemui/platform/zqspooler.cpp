#include "platform/zqspooler.h"

#include "platform/zqprinterview.h"
#include "zqproc.h"

namespace zqspool {
namespace {

template <typename R>
R FailureValue();
template <>
BOOL FailureValue<BOOL>() {
    return FALSE;
}
template <>
DWORD FailureValue<DWORD>() {
    return ERROR_CALL_NOT_IMPLEMENTED;
}
template <>
LONG FailureValue<LONG>() {
    return -1;
}

// Stands for a call the spooler does not export.
template <typename Fn>
struct Missing;
template <typename R, typename... A>
struct Missing<R (*)(A...)> {
    static R Call(A...) {
        SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return FailureValue<R>();
    }
};

// DeviceCapabilitiesW answers -1 on failure, unlike the other int (BOOL) calls.
int DeviceCapabilitiesMissing(LPCWSTR, LPCWSTR, WORD, LPWSTR, const DEVMODEW*) {
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return -1;
}

template <typename Fn>
void Resolve(HMODULE hModule, const char* name, Fn& slot) {
    Fn fn = ZQGetProc<Fn>(hModule, name);
    slot = fn ? fn : &Missing<Fn>::Call;
}

void ResolveAll(HMODULE h, SpoolerApi& api) {
    Resolve(h, "OpenPrinterW", api.OpenPrinterW);
    Resolve(h, "ClosePrinter", api.ClosePrinter);
    Resolve(h, "GetPrinterW", api.GetPrinterW);
    Resolve(h, "SetPrinterW", api.SetPrinterW);
    Resolve(h, "EnumPrintProcessorsW", api.EnumPrintProcessorsW);
    Resolve(h, "EnumPrintProcessorDatatypesW", api.EnumPrintProcessorDatatypesW);
    Resolve(h, "GetPrinterDriverW", api.GetPrinterDriverW);
    Resolve(h, "GetPrinterDriverDirectoryW", api.GetPrinterDriverDirectoryW);
    Resolve(h, "GetPrintProcessorDirectoryW", api.GetPrintProcessorDirectoryW);
    Resolve(h, "GetJobW", api.GetJobW);
    Resolve(h, "GetPrinterDataW", api.GetPrinterDataW);
    Resolve(h, "GetPrinterDataExW", api.GetPrinterDataExW);
    Resolve(h, "SetPrinterDataW", api.SetPrinterDataW);
    Resolve(h, "SetPrinterDataExW", api.SetPrinterDataExW);
    Resolve(h, "DeletePrinterDataW", api.DeletePrinterDataW);
    Resolve(h, "DeletePrinterDataExW", api.DeletePrinterDataExW);
    Resolve(h, "DeletePrinterKeyW", api.DeletePrinterKeyW);
    Resolve(h, "EnumPrinterDataW", api.EnumPrinterDataW);
    Resolve(h, "EnumPrinterDataExW", api.EnumPrinterDataExW);
    Resolve(h, "EnumPrinterKeyW", api.EnumPrinterKeyW);
    Resolve(h, "EnumFormsW", api.EnumFormsW);
    Resolve(h, "GetFormW", api.GetFormW);
    Resolve(h, "AddFormW", api.AddFormW);
    Resolve(h, "SetFormW", api.SetFormW);
    Resolve(h, "DeleteFormW", api.DeleteFormW);
    Resolve(h, "DeviceCapabilitiesW", api.DeviceCapabilitiesW);
    if (api.DeviceCapabilitiesW == &Missing<decltype(api.DeviceCapabilitiesW)>::Call)
        api.DeviceCapabilitiesW = &DeviceCapabilitiesMissing;
    Resolve(h, "DocumentPropertiesW", api.DocumentPropertiesW);
    Resolve(h, "PrinterProperties", api.PrinterProperties);
}

// winspool.drv stays loaded while this module is: the table points into it.
class CSpoolerLibrary {
public:
    CSpoolerLibrary() : m_hModule(LoadLibraryW(L"winspool.drv")) { ResolveAll(m_hModule, m_api); }
    ~CSpoolerLibrary() {
        if (m_hModule) FreeLibrary(m_hModule);
    }
    CSpoolerLibrary(const CSpoolerLibrary&) = delete;
    CSpoolerLibrary& operator=(const CSpoolerLibrary&) = delete;
    const SpoolerApi& Api() const { return m_api; }

private:
    HMODULE m_hModule;
    SpoolerApi m_api{};
};

const SpoolerApi* g_pInstalled = nullptr;

}  // namespace

const SpoolerApi& SystemSpooler() {
    static CSpoolerLibrary s_library;
    return s_library.Api();
}

const SpoolerApi& Spooler() {
    const SpoolerApi& beneath = g_pInstalled ? *g_pInstalled : SystemSpooler();
    const SpoolerApi* view = ViewTable(beneath);
    return view ? *view : beneath;
}

SpoolerApi MissingSpooler() {
    SpoolerApi api{};
    ResolveAll(nullptr, api);
    return api;
}

const SpoolerApi* SetSpooler(const SpoolerApi* pApi) {
    const SpoolerApi* previous = g_pInstalled;
    g_pInstalled = pApi;
    return previous;
}

}  // namespace zqspool
