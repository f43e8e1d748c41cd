// CZQUIBase: starting the printer's toolbox and other programs for the pages.
#include <cwchar>

#include "common/zqhandles.h"
#include "common/zqkeywords.h"
#include "common/zqmsgbox.h"
#include "common/zqstorenames.h"
#include "common/zqstrings.h"
#include "common/zqtrace.h"
#include "common/zquibase.h"
#include "platform/zqspooler.h"

namespace {

constexpr PCWSTR kServicesFeature = zqkw::kPSServicesOption;
constexpr WCHAR kVexaToolboxOption[] = L"LaunchVexaToolBox";
constexpr WCHAR kToolboxOption[] = L"LaunchToolBox";
using zqsettings::kMakerPrintersKey;
constexpr WCHAR kBrowserDdeKey[] = L"http\\shell\\open\\ddeexec\\Application";
constexpr WCHAR kBrowserCommandKey[] = L"http\\shell\\open\\command";
// The DDE browsers the pages can hand a web page to, compared exactly.
constexpr PCWSTR kSupportedBrowsers[] = {L"Opera", L"NSShell", L"IExplore"};
constexpr WCHAR kBrowserRefused[] = L"Unable to perform the operation";
constexpr WCHAR kRunFailedCaption[] = L"Launching of PU has Failed";
constexpr WCHAR kLaunchFailedCaption[] = L"Unable to start the program";
// Toolbox paths and their command line.
constexpr size_t kCchToolbox = MAX_PATH;
constexpr size_t kCchCommandLine = 512;

// The display name of an option of "PSServicesOption" (a new string); null without that option.
PWSTR ServicesOptionName(const CZQUIBase* pPage, PCWSTR pszOption) {
    PWSTR name = nullptr;
    if (!pPage || CZQCommon::DWOptionKeywordToName(pPage->CUIParam(), kServicesFeature, pszOption, &name) != ZQOPT_OK)
        return nullptr;
    return name;
}

// The maker's key of the toolbox option's display name.
bool VexaToolboxKey(const CZQUIBase* pPage, CZQLocalPtr<WCHAR>& keyPath) {
    CZQLocalPtr<WCHAR> name(ServicesOptionName(pPage, kVexaToolboxOption));
    if (!name) return false;
    const size_t cch = wcslen(kMakerPrintersKey) + wcslen(name.Get()) + 1;
    return keyPath.Alloc(cch) &&
           SUCCEEDED(ZQFormatText(keyPath.Get(), cch, L"%ls%ls", kMakerPrintersKey, name.Get()));
}

// The command line of a toolbox program from its registry path: the path (".exe" added when it
// names none) quoted, so that a path with spaces names no other program, then the arguments.
// False when the path cannot be part of one or the line does not fit.
bool ToolboxCommandLine(PCWSTR pszPath, PCWSTR pszArguments, PWSTR pszLine) {
    WCHAR program[kCchToolbox];
    if (wcschr(pszPath, L'"') || ZQCopyText(program, kCchToolbox, pszPath) != S_OK) return false;
    if (!wcsstr(program, L".exe") && !wcsstr(program, L".EXE") && ZQAppendText(program, kCchToolbox, L".exe") != S_OK)
        return false;
    if (!pszArguments) return ZQFormatText(pszLine, kCchToolbox, L"\"%ls\"", program) == S_OK;
    return ZQFormatText(pszLine, kCchToolbox, L"\"%ls\" %ls", program, pszArguments) == S_OK;
}

// A toolbox program that cannot be started is shown like one whose start fails.
void ShowCannotStart(PCWSTR pszPath) { zqmsgbox::IShow(nullptr, pszPath, kLaunchFailedCaption, MB_OK | MB_ICONERROR); }

void StartToolbox(WPARAM wParam, PCWSTR pszPath, PCWSTR pszArguments) {
    WCHAR line[kCchToolbox];
    if (ToolboxCommandLine(pszPath, pszArguments, line))
        CZQUIBase::BLaunchProgram(wParam, line);
    else
        ShowCannotStart(pszPath);
}

// The default text of a key of HKEY_CLASSES_ROOT, whole: false when the key does not exist; the
// text stays null when the key has no readable one.
bool ReadClassText(PCWSTR pszKey, CZQLocalPtr<WCHAR>& text) {
    CZQRegKey key;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, pszKey, 0, KEY_READ, key.Put()) != ERROR_SUCCESS) return false;
    const DWORD flags = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND;
    DWORD cb = 0;
    if (RegGetValueW(key.Get(), nullptr, nullptr, flags, nullptr, nullptr, &cb) != ERROR_SUCCESS) return true;
    if (text.Alloc(cb / sizeof(WCHAR) + 1) &&
        RegGetValueW(key.Get(), nullptr, nullptr, flags, nullptr, text.Get(), &cb) != ERROR_SUCCESS)
        text.Reset();
    return true;
}

// Web pages open only in a browser the pages support; without a handler registered there is
// nothing to check.
bool DefaultBrowserAccepted() {
    CZQLocalPtr<WCHAR> text;
    if (ReadClassText(kBrowserDdeKey, text) && text) {
        bool supported = false;
        for (PCWSTR name : kSupportedBrowsers) supported = supported || wcscmp(text.Get(), name) == 0;
        if (!supported) return false;
    }
    text.Reset();
    return !ReadClassText(kBrowserCommandKey, text) || (text && text.Get()[0]);
}

}  // namespace

BOOL CZQUIBase::BStartCommandLine(PCWSTR pszCommandLine, PCWSTR pszFailText, PCWSTR pszFailCaption,
                                  UINT uFailType) {
    ZQ_TRACE("CZQUIBase::BStartCommandLine");
    if (!pszCommandLine) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    // CreateProcessW may write into its command line: it gets a copy.
    WCHAR commandLine[kCchCommandLine];
    ZQCopyText(commandLine, kCchCommandLine, pszCommandLine);
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (CreateProcessW(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        CZQHandle process(pi.hProcess), thread(pi.hThread);
        return TRUE;
    }
    const DWORD error = GetLastError();
    zqmsgbox::IShow(nullptr, pszFailText ? pszFailText : commandLine, pszFailCaption, uFailType);
    SetLastError(error);
    return FALSE;
}

BOOL CZQUIBase::BRunCommandLine(WPARAM, LPWSTR pszCommandLine) {
    return BStartCommandLine(pszCommandLine, L"", kRunFailedCaption, MB_OK);
}

BOOL CZQUIBase::BLaunchProgram(WPARAM, LPWSTR pszCommandLine) {
    ZQ_TRACE("CZQUIBase::BLaunchProgram");
    if (!pszCommandLine) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    if (!DefaultBrowserAccepted()) {
        zqmsgbox::IShow(nullptr, kBrowserRefused, nullptr, MB_OK | MB_ICONERROR);
        return FALSE;
    }
    return BStartCommandLine(pszCommandLine, nullptr, kLaunchFailedCaption, MB_OK | MB_ICONERROR);
}

BOOL CZQUIBase::BHasVexaToolbox(const CZQUIBase* pPage) {
    CZQLocalPtr<WCHAR> keyPath;
    if (!VexaToolboxKey(pPage, keyPath)) return FALSE;
    CZQRegKey key;
    return RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyPath.Get(), 0, KEY_READ, key.Put()) == ERROR_SUCCESS;
}

BOOL CZQUIBase::BToolboxProgram(PCWSTR pszToolboxPath, PWSTR pszProgram) {
    if (!pszToolboxPath || !pszProgram) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    pszProgram[0] = 0;
    if (wcschr(pszToolboxPath, L':')) {
        if (ZQCopyText(pszProgram, kCchToolbox, pszToolboxPath) == S_OK) return TRUE;
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return FALSE;
    }
    // A path without a drive lies in the version-3 folder of the printer-driver directory, and
    // stays there.
    if (!ZQIsPathInFolder(pszToolboxPath)) {
        SetLastError(ERROR_INVALID_NAME);
        return FALSE;
    }
    WCHAR dir[kCchToolbox] = {};
    DWORD needed = 0;
    if (!zqspool::Spooler().GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(dir),
                                                       sizeof dir - sizeof(WCHAR), &needed))
        return FALSE;
    if (ZQFormatText(pszProgram, kCchToolbox, L"%ls\\3\\%ls", dir, pszToolboxPath) == S_OK) return TRUE;
    pszProgram[0] = 0;
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return FALSE;
}

BOOL CZQUIBase::BLaunchToolbox(const CZQUIBase* pPage, WPARAM wParam) {
    ZQ_TRACE("CZQUIBase::BLaunchToolbox");
    const POEMCUIPPARAM pParam = pPage ? pPage->CUIParam() : nullptr;
    if (!pParam) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    WCHAR path[kCchToolbox];
    if (BHasVexaToolbox(pPage)) {
        CZQLocalPtr<WCHAR> keyPath;
        if (VexaToolboxKey(pPage, keyPath) &&
            BReadRegText(HKEY_LOCAL_MACHINE, keyPath.Get(), zqsettings::kMakerPrinterExecutable, 0, path,
                         kCchToolbox) &&
            path[0])
            StartToolbox(wParam, path, nullptr);
        return FALSE;
    }

    CZQLocalPtr<WCHAR> printer;
    if (!BGetPrinterName(pParam->hPrinter, printer.Put()) || !BReadToolboxPath(pParam->hPrinter, path)) return FALSE;
    CZQLocalPtr<WCHAR> option(ServicesOptionName(pPage, kToolboxOption));
    WCHAR program[kCchToolbox];
    bool fits = BToolboxProgram(path, program) != FALSE;
    if (!fits && GetLastError() != ERROR_INVALID_NAME && GetLastError() != ERROR_FILENAME_EXCED_RANGE) return FALSE;
    WCHAR arguments[kCchToolbox];
    fits = fits &&
           ZQFormatText(arguments, kCchToolbox, L"\"%ls\" %ls", printer.Get(), option ? option.Get() : L"") == S_OK;
    if (fits)
        StartToolbox(wParam, program, arguments);
    else
        ShowCannotStart(path);
    return TRUE;
}
