// Update Now: the servers' component files among the driver's files, their registration for the
// length of the call, the check that the printer answers, the query and the success test, and the
// communication error the callers show when it fails.
#include "device/zqautoconfig.h"

#include "common/zqhandles.h"
#include "common/zqmsgbox.h"
#include "common/zqstorenames.h"
#include "common/zqstrings.h"
#include "common/zqtrace.h"
#include "device/zqservercall.h"
#include "platform/zqdeviceservers.h"
#include "platform/zqinstresapi.h"
#include "zqproc.h"

namespace {

const PCWSTR kComponentFiles[CZQAutoConfig::kComponentCount] = {
    L"zqagentps.dll", L"zqagent.exe", L"zqlink.exe", L"zqagent.dll", L"zqdevapi.dll", L"zqlinkps.dll", L"zqlink.dll",
};

constexpr INT kIdsCommErrorCaption = 3889;
constexpr INT kIdsCommErrorText = 3890;
constexpr WCHAR kCommErrorCaption[] = L"For Your Information";
constexpr WCHAR kCommErrorText[] =
    L"This command could not be completed because a printer communication error occurred.";

using PFN_Registration = HRESULT(STDAPICALLTYPE*)();

BOOL CallRegistration(PCWSTR pszPath, const char* pszExport) {
    if (!pszPath || !*pszPath) return FALSE;
    CZQModule library(CZQCommon::HLoadLibrary(pszPath));
    if (!library) return FALSE;
    const auto entry = ZQGetProc<PFN_Registration>(library.Get(), pszExport);
    return entry && entry() == S_OK;
}

// The program with the switch, quoted and named as the application as well, so that a path with
// blanks never starts another program; the call waits until it has ended.
BOOL RunServerProgram(PCWSTR pszPath, PCWSTR pszSwitch) {
    if (!pszPath || !*pszPath) return FALSE;
    if (wcslen(pszPath) >= MAX_PATH) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return FALSE;
    }
    WCHAR line[MAX_PATH + 16];
    if (FAILED(ZQFormatText(line, ARRAYSIZE(line), L"\"%ls\" %ls", pszPath, pszSwitch))) return FALSE;
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(pszPath, line, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return FALSE;
    CZQHandle process(pi.hProcess), thread(pi.hThread);
    WaitForSingleObject(process.Get(), INFINITE);
    return TRUE;
}

}  // namespace

CZQAutoConfig::CZQAutoConfig() = default;

CZQAutoConfig::CZQAutoConfig(CZQXmlUiRules* pRules) : m_pRules(pRules) {}

CZQAutoConfig::~CZQAutoConfig() {
    VFreeAnswerBuffers();
    VEndMiniInstaller();
    VCloseSession();
}

void CZQAutoConfig::VSetPrinter(HANDLE hPrinter, PCWSTR pszPrinterName) {
    m_hPrinter = hPrinter;
    ZQCopyText(m_szPrinterName, kPathChars, pszPrinterName ? pszPrinterName : L"");
}

// ---------------------------------------------------------------------------------------------
// Component files
// ---------------------------------------------------------------------------------------------
BOOL CZQAutoConfig::BFindDependentFile(PWSTR pszOut, PCWSTR pszFile) {
    if (!pszFile || !*pszFile) return FALSE;
    CZQLocalPtr<DRIVER_INFO_3W> driver;
    if (!BGetDriverInfo3(m_hPrinter, driver.Put()) || !driver.Get()->pDependentFiles) return FALSE;
    WCHAR name[kPathChars];
    if (FAILED(ZQCopyText(name, kPathChars, pszFile))) return FALSE;
    CharUpperW(name);
    for (PCWSTR entry = driver.Get()->pDependentFiles; *entry; entry += wcslen(entry) + 1) {
        WCHAR upper[kPathChars];
        // A path cut to the buffer would name another file.
        if (FAILED(ZQCopyText(upper, kPathChars, entry))) continue;
        CharUpperW(upper);
        if (!wcsstr(upper, name)) continue;
        if (pszOut) ZQCopyText(pszOut, kPathChars, upper);
        return TRUE;
    }
    return FALSE;
}

BOOL CZQAutoConfig::BIsDependentFile(PCWSTR pszFile) { return BFindDependentFile(nullptr, pszFile); }

BOOL CZQAutoConfig::BCheckComponentFiles(PWSTR* ppszPaths) {
    bool agentProgramMissing = false, linkProgramMissing = false;
    for (int i = 0; i < kComponentCount; ++i) {
        if (BFindDependentFile(ppszPaths ? ppszPaths[i] : nullptr, kComponentFiles[i])) continue;
        // A pair needs its program or its library; a missing proxy or device library only fails
        // once registration needs it.
        if (i == kAgentProgram) agentProgramMissing = true;
        if (i == kLinkProgram) linkProgramMissing = true;
        if ((i == kAgentLibrary && agentProgramMissing) || (i == kLinkLibrary && linkProgramMissing)) return FALSE;
    }
    return TRUE;
}

BOOL CZQAutoConfig::BFindComponentPath(PWSTR* ppszPaths, PCWSTR pszName, PWSTR pszOut) {
    if (!ppszPaths || !pszName || !*pszName) return FALSE;
    for (int i = 0; i < kComponentCount; ++i) {
        if (!ppszPaths[i] || !ZQContainsNoCase(ppszPaths[i], pszName)) continue;
        if (pszOut) ZQCopyText(pszOut, kPathChars, ppszPaths[i]);
        return TRUE;
    }
    return FALSE;
}

// ---------------------------------------------------------------------------------------------
// Registration
// ---------------------------------------------------------------------------------------------
BOOL CZQAutoConfig::BCallDllRegisterServer(PCWSTR pszPath) { return CallRegistration(pszPath, "DllRegisterServer"); }

BOOL CZQAutoConfig::BCallDllUnregisterServer(PCWSTR pszPath) {
    return CallRegistration(pszPath, "DllUnregisterServer");
}

BOOL CZQAutoConfig::BRunRegServer(PCWSTR pszPath) { return RunServerProgram(pszPath, L"-RegServer"); }

BOOL CZQAutoConfig::BRunUnregServer(PCWSTR pszPath) { return RunServerProgram(pszPath, L"-UnregServer"); }

BOOL CZQAutoConfig::BRegisterPair(PWSTR* ppszPaths, int iProxy, int iProgram, int iLibrary, DWORD* pdwFlags,
                                  DWORD dwPair) {
    WCHAR path[kPathChars];
    if (!BFindComponentPath(ppszPaths, kComponentFiles[iProxy], path) || !BCallDllRegisterServer(path)) return FALSE;
    // From here on the pair is this run's to undo, even when its server fails to register.
    *pdwFlags |= dwPair;
    if (BIsDependentFile(kComponentFiles[iProgram]))
        return BFindComponentPath(ppszPaths, kComponentFiles[iProgram], path) && BRunRegServer(path);
    return BFindComponentPath(ppszPaths, kComponentFiles[iLibrary], path) && BCallDllRegisterServer(path);
}

BOOL CZQAutoConfig::BUnregisterPair(PWSTR* ppszPaths, int iProxy, int iProgram, int iLibrary) {
    WCHAR path[kPathChars];
    BOOL ok = BFindComponentPath(ppszPaths, kComponentFiles[iProxy], path) && BCallDllUnregisterServer(path);
    if (BIsDependentFile(kComponentFiles[iProgram])) {
        if (!BFindComponentPath(ppszPaths, kComponentFiles[iProgram], path) || !BRunUnregServer(path)) ok = FALSE;
    } else if (!BFindComponentPath(ppszPaths, kComponentFiles[iLibrary], path) || !BCallDllUnregisterServer(path)) {
        ok = FALSE;
    }
    return ok;
}

bool CZQAutoConfig::BCreatable(REFCLSID clsid, REFIID iid) {
    if (m_bServerSilent) return false;
    const HRESULT hr = zqserver::HrTryCreate(clsid, iid, m_dwServerLimitMs);
    if (hr == RPC_E_TIMEOUT) m_bServerSilent = true;
    return SUCCEEDED(hr);
}

BOOL CZQAutoConfig::BRegisterComponents(PWSTR* ppszPaths, DWORD* pdwFlags) {
    ZQ_TRACE("CZQAutoConfig::BRegisterComponents");
    if (!pdwFlags) return FALSE;
    *pdwFlags = 0;
    // A server that is there but does not answer is not registered again.
    if (!BCreatable(CLSID_ZQDeviceAgent, IID_IZQDeviceAgent)) {
        if (m_bServerSilent ||
            !BRegisterPair(ppszPaths, kAgentProxy, kAgentProgram, kAgentLibrary, pdwFlags, kRegisteredAgent) ||
            !BCreatable(CLSID_ZQDeviceAgent, IID_IZQDeviceAgent))
            return FALSE;
    }
    bool channel = BCreatable(CLSID_ZQDeviceChannel, IID_IZQDeviceChannel);
    bool list = BCreatable(CLSID_ZQObjectList, IID_IZQObjectList);
    if (m_bServerSilent) return FALSE;
    if (!channel || !list) {
        WCHAR path[kPathChars];
        if (!BFindComponentPath(ppszPaths, kComponentFiles[kDevApi], path) || !BCallDllRegisterServer(path))
            return FALSE;
        *pdwFlags |= kRegisteredDevApi;
        if (!channel) channel = BCreatable(CLSID_ZQDeviceChannel, IID_IZQDeviceChannel);
        if (!list) list = BCreatable(CLSID_ZQObjectList, IID_IZQObjectList);
        if (!channel || !list) return FALSE;
    }
    if (!BCreatable(CLSID_ZQDeviceLink, IID_IZQDeviceLink)) {
        if (m_bServerSilent ||
            !BRegisterPair(ppszPaths, kLinkProxy, kLinkProgram, kLinkLibrary, pdwFlags, kRegisteredLink) ||
            !BCreatable(CLSID_ZQDeviceLink, IID_IZQDeviceLink))
            return FALSE;
    }
    return TRUE;
}

BOOL CZQAutoConfig::BUnregisterComponents(PWSTR* ppszPaths, DWORD dwFlags) {
    ZQ_TRACE("CZQAutoConfig::BUnregisterComponents");
    // Every pair is undone as far as it goes, whatever an earlier one answered.
    BOOL ok = TRUE;
    if ((dwFlags & kRegisteredAgent) && !BUnregisterPair(ppszPaths, kAgentProxy, kAgentProgram, kAgentLibrary))
        ok = FALSE;
    if (dwFlags & kRegisteredDevApi) {
        WCHAR path[kPathChars];
        if (!BFindComponentPath(ppszPaths, kComponentFiles[kDevApi], path) || !BCallDllUnregisterServer(path))
            ok = FALSE;
    }
    if ((dwFlags & kRegisteredLink) && !BUnregisterPair(ppszPaths, kLinkProxy, kLinkProgram, kLinkLibrary))
        ok = FALSE;
    return ok;
}

void CZQAutoConfig::VUnregisterComponents(PWSTR* ppszPaths, DWORD dwFlags) {
    if (!ppszPaths) return;
    if (dwFlags) BUnregisterComponents(ppszPaths, dwFlags);
    for (int i = 0; i < kComponentCount; ++i) {
        if (ppszPaths[i]) LocalFree(ppszPaths[i]);
        ppszPaths[i] = nullptr;
    }
}

// ---------------------------------------------------------------------------------------------
// The session of the installation
// ---------------------------------------------------------------------------------------------
BOOL CZQAutoConfig::BOpenSession() {
    ZQ_TRACE("CZQAutoConfig::BOpenSession");
    const HRESULT hr = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    // A thread already in another apartment stays in it, and is not ours to leave.
    if (FAILED(hr) && hr != RPC_E_CHANGED_MODE) return FALSE;
    const bool own = SUCCEEDED(hr);
    CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_NONE, RPC_C_IMP_LEVEL_IDENTIFY, nullptr,
                         EOAC_NONE, nullptr);
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE printer = nullptr;
    // An empty name would open the print server.
    if (!m_szPrinterName[0] || !zqspool::Spooler().OpenPrinterW(m_szPrinterName, &printer, &defaults) || !printer) {
        if (own) CoUninitialize();
        return FALSE;
    }
    VCloseSession();  // a session opened before ends first
    m_hPrinter = printer;
    m_bSessionPrinter = true;
    m_bSessionCom = own;
    return TRUE;
}

void CZQAutoConfig::VCloseSession() {
    if (m_bSessionPrinter && m_hPrinter) zqspool::Spooler().ClosePrinter(m_hPrinter);
    if (m_bSessionPrinter) m_hPrinter = nullptr;
    if (m_bSessionCom) CoUninitialize();
    m_bSessionPrinter = m_bSessionCom = false;
}

BOOL CZQAutoConfig::BComponentsRegistered() {
    // Every class is tried, even after one that cannot be created.
    bool all = BCreatable(CLSID_ZQDeviceAgent, IID_IZQDeviceAgent);
    all = BCreatable(CLSID_ZQDeviceChannel, IID_IZQDeviceChannel) && all;
    all = BCreatable(CLSID_ZQObjectList, IID_IZQObjectList) && all;
    all = BCreatable(CLSID_ZQDeviceLink, IID_IZQDeviceLink) && all;
    return all;
}

BOOL CZQAutoConfig::BStartMiniInstaller() {
    ZQ_TRACE("CZQAutoConfig::BStartMiniInstaller");
    VEndMiniInstaller();
    WCHAR path[kPathChars];
    if (!BFindDependentFile(path, kZQInstResFile)) return FALSE;
    CZQModule installer(CZQCommon::HLoadLibrary(path));
    const auto start = ZQGetProc<PFN_InitializeMiniInstaller>(installer.Get(), "InitializeMiniInstaller");
    if (!start || !ZQGetProc<PFN_KillMiniInstaller>(installer.Get(), "KillMiniInstaller")) return FALSE;
    // Once started it is ended, whatever the start answered.
    const BOOL started = start(m_szPrinterName);
    m_miniInstaller = std::move(installer);
    return started;
}

void CZQAutoConfig::VEndMiniInstaller() {
    if (!m_miniInstaller) return;
    if (const auto end = ZQGetProc<PFN_KillMiniInstaller>(m_miniInstaller.Get(), "KillMiniInstaller")) end();
    m_miniInstaller.Reset();
}

BOOL CZQAutoConfig::BSetEACStatus(DWORD dwStatus, HANDLE hPrinter) {
    if (!hPrinter) return FALSE;
    return BWriteUserSetting(hPrinter, TRUE, zqsettings::kAnswerStoreKey, zqsettings::kEACStatus,
                             reinterpret_cast<const BYTE*>(&dwStatus), sizeof dwStatus, REG_DWORD);
}

// ---------------------------------------------------------------------------------------------
// The printer
// ---------------------------------------------------------------------------------------------
int CZQAutoConfig::IProbeDevice() {
    CZQLocalPtr<PRINTER_INFO_2W> info;
    if (!BGetPrinterInfo2(m_hPrinter, m_szPrinterName[0] ? m_szPrinterName : nullptr, nullptr, info.Put())) return 0;
    // A server that did not answer before is not asked again: the printer does not answer.
    if (m_bServerSilent) return 1;
    DWORD answers = 0;
    bool created = false;
    const HRESULT hr = zqserver::HrCheckDevice(info.Get()->pPrinterName, info.Get()->pPortName, &answers, &created,
                                               m_dwServerLimitMs);
    if (hr == RPC_E_TIMEOUT) m_bServerSilent = true;
    if (!created) return 0;
    return hr == S_OK && answers ? 2 : 1;
}

BOOL CZQAutoConfig::BUpdateNow(BOOL bComponentsReady) {
    ZQ_TRACE("CZQAutoConfig::BUpdateNow");
    PWSTR paths[kComponentCount] = {};
    DWORD flags = 0;
    if (!bComponentsReady) {
        for (PWSTR& path : paths) {
            path = static_cast<PWSTR>(LocalAlloc(LPTR, kPathChars * sizeof(WCHAR)));
            if (path) continue;
            m_eState = kStateNotReady;
            VUnregisterComponents(paths, 0);
            return FALSE;
        }
        BOOL ready = BCheckComponentFiles(paths);
        if (!ready) {
            m_eState = kStateFilesMissing;
        } else if (!(ready = BRegisterComponents(paths, &flags))) {
            m_eState = kStateNotReady;
        }
        if (!ready) {
            VUnregisterComponents(paths, flags);
            return FALSE;
        }
    }

    m_eState = kStateNotReady;
    BOOL result = FALSE;
    if (IProbeDevice() == 2) {
        // A request list of the helper file asks its own objects; without one the whole table.
        RequestNode* list = nullptr;
        const bool listMode = BReadRequestList(&list) && list;
        const BOOL blanked = listMode ? BListValues(&list, FALSE) : BBlankAllValues();
        if (blanked) {
            if (!(listMode ? BQueryObjectList(&list) : BQueryAllObjects())) m_eState = kStateNotAnswered;
            // Whatever was not answered still holds its placeholder and fails the test.
            if (listMode ? BListValues(&list, TRUE) : BModelNameAnswer(TRUE)) {
                const DWORD fresh = 1;
                result = BWriteAnswer(zqsettings::kDevSetUpdate, REG_DWORD, &fresh, sizeof fresh);
                m_eState = kStateDone;
            } else {
                m_eState = kStateNotAnswered;
            }
        }
        ZQFreeRequestList(list);
    }
    if (!bComponentsReady) VUnregisterComponents(paths, flags);
    return result;
}

BOOL CZQAutoConfig::BShowCommError() {
    ZQ_TRACE("CZQAutoConfig::BShowCommError");
    const bool held = HResModule() != nullptr;
    if (!BLoadResourceModule(m_szPrinterName)) return FALSE;
    WCHAR text[kResStringChars] = {}, caption[kResStringChars] = {};
    if (!BLoadResString(kIdsCommErrorText, text)) ZQCopyText(text, kResStringChars, kCommErrorText);
    if (!BLoadResString(kIdsCommErrorCaption, caption)) ZQCopyText(caption, kResStringChars, kCommErrorCaption);
    zqmsgbox::IShow(nullptr, text, caption, MB_ICONERROR);
    // The module loaded for the message goes again; one the worker was given stays.
    if (!held) VSetResourceModule(nullptr);
    return TRUE;
}
