#include "zqhostapp.h"

#include "zqhostpage.h"

#include <commctrl.h>
#include <compstui.h>
#include <winspool.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <memory>

#include "formats/zqindexedname.h"
#include "formats/zqquickset.h"
#include "formats/zqshortcut.h"
#include "zqowner.h"
#include "zqproc.h"
#include "zqoemcontract.h"
#include "zqhostdm.h"
#include "zqprinter.h"

namespace {

thread_local CZQAutoPress* t_autoPress = nullptr;

// The plug-in's font installer as a user finds it: its controls by their ids.
enum : int { kFontPath = 457, kFontAddList = 465, kFontInstalledList = 466, kFontAdd = 449, kFontRemove = 459 };

struct FontRun {
    const ZQFontSteps* steps;
    ZQFontSeen* seen;
    UINT_PTR timer;
    int tries;
};
thread_local FontRun* t_fontRun = nullptr;

struct DeviceSheet {
    PFNPROPSHEETUI pfnDevice;
    DEVICEPROPERTYHEADER header;
    std::wstring title;
};

// The printers folder's own part of the sheet: it adds the driver's device pages.
LONG APIENTRY DeviceSheetCallback(PPROPSHEETUI_INFO info, LPARAM lParam) {
    auto* sheet = reinterpret_cast<DeviceSheet*>(info->lParamInit);
    if (!sheet) return ERR_CPSUI_GETLASTERROR;
    if (info->Reason == PROPSHEETUI_REASON_INIT) {
        if (!info->pfnComPropSheet(info->hComPropSheet, CPSFUNC_ADD_PFNPROPSHEETUIW,
                                   reinterpret_cast<LPARAM>(sheet->pfnDevice), reinterpret_cast<LPARAM>(&sheet->header)))
            return ERR_CPSUI_GETLASTERROR;
    } else if (info->Reason == PROPSHEETUI_REASON_GET_INFO_HEADER && lParam) {
        auto* header = reinterpret_cast<PPROPSHEETUI_INFO_HEADER>(lParam);
        header->Flags = PSUIHDRF_EXACT_PTITLE;
        header->pTitle = sheet->title.data();
    }
    return CPSUI_OK;
}

BOOL CALLBACK FindSheetProc(HWND hwnd, LPARAM lParam) {
    WCHAR cls[32] = {};
    GetClassNameW(hwnd, cls, 32);
    if (IsWindowVisible(hwnd) && lstrcmpW(cls, L"#32770") == 0 && FindWindowExW(hwnd, nullptr, WC_TABCONTROLW, nullptr)) {
        *reinterpret_cast<HWND*>(lParam) = hwnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK FindFontInstallerProc(HWND hwnd, LPARAM lParam) {
    WCHAR cls[32] = {};
    GetClassNameW(hwnd, cls, 32);
    if (IsWindowVisible(hwnd) && lstrcmpW(cls, L"#32770") == 0 && GetDlgItem(hwnd, kFontInstalledList) &&
        GetDlgItem(hwnd, kFontAdd)) {
        *reinterpret_cast<HWND*>(lParam) = hwnd;
        return FALSE;
    }
    return TRUE;
}

// One look of a timer that waits for a window: true once the window is there; the timer stops
// then, or after 300 looks without it.
bool FoundOrGiveUp(HWND found, UINT_PTR& timer, int& tries) {
    if (!found && ++tries < 300) return false;
    KillTimer(nullptr, timer);
    timer = 0;
    return found != nullptr;
}

void CALLBACK FontTick(HWND, UINT, UINT_PTR, DWORD) {
    FontRun* run = t_fontRun;
    if (!run || !run->timer) return;
    HWND dlg = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindFontInstallerProc, reinterpret_cast<LPARAM>(&dlg));
    if (!FoundOrGiveUp(dlg, run->timer, run->tries)) return;
    const ZQFontSteps& steps = *run->steps;
    ZQFontSeen& seen = *run->seen;
    seen.shown = true;
    if (!steps.folder.empty()) ZQTypeFontFolder(dlg, steps.folder);
    // A name its list does not hold moves nothing, and the installer is cancelled.
    const auto move = [&](bool remove, const std::vector<std::wstring>& names) {
        if (!seen.missing.empty()) return;
        const std::vector<std::wstring> list = ZQFontList(dlg, remove);
        for (const std::wstring& name : names)
            if (name != L"*" && std::find(list.begin(), list.end(), name) == list.end()) {
                seen.missing = name;
                return;
            }
        ZQMoveFonts(dlg, remove, names);
    };
    move(false, steps.add);
    move(true, steps.remove);
    seen.toAdd = ZQFontList(dlg, false);
    seen.installed = ZQFontList(dlg, true);
    if (!steps.screenshot.empty()) seen.saved = ZQSaveWindowPng(dlg, steps.screenshot) != FALSE;
    const int button = steps.ok && seen.missing.empty() ? IDOK : IDCANCEL;
    SetFocus(GetDlgItem(dlg, button));
    PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dlg, button)));
}

uint32_t Crc32(const BYTE* p, size_t n, uint32_t crc = 0) {
    static uint32_t table[256];
    static bool ready = false;
    if (!ready) {
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[i] = c;
        }
        ready = true;
    }
    crc = ~crc;
    for (size_t i = 0; i < n; ++i) crc = table[(crc ^ p[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void PutBE32(std::vector<BYTE>& out, uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<BYTE>(v >> s));
}

void Chunk(std::vector<BYTE>& png, const char* type, const std::vector<BYTE>& data) {
    PutBE32(png, static_cast<uint32_t>(data.size()));
    const size_t start = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), data.begin(), data.end());
    PutBE32(png, Crc32(png.data() + start, png.size() - start));
}

std::wstring Format(const wchar_t* fmt, ...) {
    WCHAR buf[1024];
    va_list args;
    va_start(args, fmt);
    std::vswprintf(buf, 1024, fmt, args);
    va_end(args);
    return buf;
}

}  // namespace

LONG ZQOpenPreferences(HANDLE hPrinter, const std::wstring& printerName, const DEVMODEW* in, std::vector<BYTE>& out) {
    out.clear();
    LPWSTR name = const_cast<LPWSTR>(printerName.c_str());
    const LONG size = DocumentPropertiesW(nullptr, hPrinter, name, nullptr, nullptr, 0);
    if (size <= 0) return size < 0 ? size : -1;
    std::vector<BYTE> buf(static_cast<size_t>(size), 0);
    const DWORD mode = DM_IN_PROMPT | DM_OUT_BUFFER | (in ? DM_IN_BUFFER : 0);
    const LONG rc = DocumentPropertiesW(nullptr, hPrinter, name, reinterpret_cast<DEVMODEW*>(buf.data()),
                                        const_cast<DEVMODEW*>(in), mode);
    // The driver writes the devmode on OK only, so a buffer left zeroed means Cancel.
    if (rc == IDOK && reinterpret_cast<const DEVMODEW*>(buf.data())->dmSize != 0) out.swap(buf);
    return rc;
}

LONG ZQOpenPrinterProperties(HANDLE hPrinter, const std::wstring& printerName, HWND hOwner) {
    DWORD needed = 0;
    GetPrinterDriverW(hPrinter, nullptr, 3, nullptr, 0, &needed);
    if (!needed) return ERR_CPSUI_GETLASTERROR;
    std::vector<BYTE> buf(needed);
    if (!GetPrinterDriverW(hPrinter, nullptr, 3, buf.data(), needed, &needed)) return ERR_CPSUI_GETLASTERROR;
    const auto* di = reinterpret_cast<const DRIVER_INFO_3W*>(buf.data());
    if (!di->pConfigFile) return ERR_CPSUI_GETLASTERROR;
    CZQModule driver(LoadLibraryW(di->pConfigFile));
    DeviceSheet sheet = {};
    sheet.pfnDevice = ZQGetProc<PFNPROPSHEETUI>(driver.Get(), "DrvDevicePropertySheets");
    if (!sheet.pfnDevice) return ERR_CPSUI_GETLASTERROR;
    sheet.header.cbSize = sizeof sheet.header;
    sheet.header.hPrinter = hPrinter;
    sheet.header.pszPrinterName = const_cast<LPWSTR>(printerName.c_str());
    sheet.title = printerName + L" Properties";
    DWORD result = 0;
    return CommonPropertySheetUIW(hOwner, DeviceSheetCallback, reinterpret_cast<LPARAM>(&sheet), &result);
}

namespace {

// The spooler's PrinterProperties in place: its first bytes become a jump to the host's, kept to put
// back. The jump is an indirect one through the eight bytes that follow it.
constexpr size_t kJumpBytes = 14;
struct Seam {
    CRITICAL_SECTION lock;
    BYTE* entry = nullptr;
    BYTE saved[kJumpBytes] = {};
    int users = 0;
    Seam() { InitializeCriticalSection(&lock); }
};
Seam& TheSeam() {
    static Seam seam;
    return seam;
}

BOOL WINAPI HostPrinterProperties(HWND hWnd, HANDLE hPrinter) {
    DWORD needed = 0;
    GetPrinterW(hPrinter, 2, nullptr, 0, &needed);
    std::vector<BYTE> info(needed);
    if (!needed || !GetPrinterW(hPrinter, 2, info.data(), needed, &needed)) return FALSE;
    const auto* pi = reinterpret_cast<const PRINTER_INFO_2W*>(info.data());
    if (!pi->pPrinterName) {
        SetLastError(ERROR_INVALID_PRINTER_NAME);
        return FALSE;
    }
    // A program that asks without a window of its own has no one there to answer the sheet.
    std::unique_ptr<CZQAutoPress> confirm;
    if (!hWnd) confirm = std::make_unique<CZQAutoPress>(0, nullptr);
    return ZQOpenPrinterProperties(hPrinter, pi->pPrinterName, hWnd) >= 0;
}

bool WriteCode(BYTE* at, const BYTE* bytes) {
    DWORD old = 0;
    if (!VirtualProtect(at, kJumpBytes, PAGE_EXECUTE_READWRITE, &old)) return false;
    memcpy(at, bytes, kJumpBytes);
    VirtualProtect(at, kJumpBytes, old, &old);
    FlushInstructionCache(GetCurrentProcess(), at, kJumpBytes);
    return true;
}

}  // namespace

CZQPrinterPropertiesSeam::CZQPrinterPropertiesSeam() {
    Seam& seam = TheSeam();
    EnterCriticalSection(&seam.lock);
    if (seam.users == 0) {
        auto* entry = reinterpret_cast<BYTE*>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"winspool.drv"), "PrinterProperties")));
        BYTE jump[kJumpBytes] = {0xFF, 0x25, 0, 0, 0, 0};  // jmp [rip + 0]
        const auto target = reinterpret_cast<ULONG_PTR>(&HostPrinterProperties);
        memcpy(jump + 6, &target, sizeof target);
        if (entry) memcpy(seam.saved, entry, kJumpBytes);
        if (entry && WriteCode(entry, jump)) seam.entry = entry;
    }
    if (seam.entry) {
        ++seam.users;
        m_bActive = true;
    }
    LeaveCriticalSection(&seam.lock);
}

CZQPrinterPropertiesSeam::~CZQPrinterPropertiesSeam() {
    if (!m_bActive) return;
    Seam& seam = TheSeam();
    EnterCriticalSection(&seam.lock);
    if (--seam.users == 0) {
        WriteCode(seam.entry, seam.saved);
        seam.entry = nullptr;
    }
    LeaveCriticalSection(&seam.lock);
}

namespace {

bool EndsWithFile(const std::wstring& path, const wchar_t* file) {
    const size_t n = wcslen(file);
    return path.size() >= n && _wcsicmp(path.c_str() + path.size() - n, file) == 0 &&
           (path.size() == n || path[path.size() - n - 1] == L'\\');
}

// A library's DllRegisterServer or DllUnregisterServer, or a program with -RegServer or -UnregServer.
bool RunRegistration(const std::wstring& path, bool bRegister) {
    if (path.size() > 4 && _wcsicmp(path.c_str() + path.size() - 4, L".exe") == 0) {
        std::wstring line = L"\"" + path + L"\" " + (bRegister ? L"-RegServer" : L"-UnregServer");
        STARTUPINFOW si = {};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi = {};
        if (!CreateProcessW(path.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
            return false;
        WaitForSingleObject(pi.hProcess, 30000);
        DWORD code = 1;
        GetExitCodeProcess(pi.hProcess, &code);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        return code == 0;
    }
    CZQModule module(LoadLibraryW(path.c_str()));
    const auto entry = ZQGetProc<HRESULT(STDAPICALLTYPE*)()>(module.Get(), bRegister ? "DllRegisterServer" : "DllUnregisterServer");
    return entry && SUCCEEDED(entry());
}

}  // namespace

CZQDeviceServers::CZQDeviceServers(HANDLE hPrinter) {
    DWORD needed = 0;
    GetPrinterDriverW(hPrinter, nullptr, 3, nullptr, 0, &needed);
    std::vector<BYTE> buf(needed);
    if (!needed || !GetPrinterDriverW(hPrinter, nullptr, 3, buf.data(), needed, &needed)) return;
    std::vector<std::wstring> files;
    for (PCWSTR p = reinterpret_cast<const DRIVER_INFO_3W*>(buf.data())->pDependentFiles; p && *p; p += wcslen(p) + 1)
        files.emplace_back(p);
    auto find = [&](const wchar_t* name) {
        for (const std::wstring& f : files)
            if (EndsWithFile(f, name)) return f;
        return std::wstring();
    };
    // The proxies first: a program's class is reached through them.
    for (const wchar_t* names : {L"zqagentps.dll", L"zqlinkps.dll", L"zqdevapi.dll", L"zqagent.exe|zqagent.dll",
                                 L"zqlink.exe|zqlink.dll"}) {
        const std::wstring choices = names;
        const size_t bar = choices.find(L'|');
        std::wstring file = find(choices.substr(0, bar).c_str());
        if (file.empty() && bar != std::wstring::npos) file = find(choices.substr(bar + 1).c_str());
        if (!file.empty() && RunRegistration(file, true)) m_registered.push_back(file);
    }
}

CZQDeviceServers::~CZQDeviceServers() {
    for (auto it = m_registered.rbegin(); it != m_registered.rend(); ++it) RunRegistration(*it, false);
}

std::vector<std::wstring> ZQFontList(HWND installer, bool installed) {
    HWND list = GetDlgItem(installer, installed ? kFontInstalledList : kFontAddList);
    std::vector<std::wstring> out;
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        std::wstring text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        out.emplace_back(text.c_str());
    }
    return out;
}

void ZQTypeFontFolder(HWND installer, const std::wstring& folder) {
    HWND path = GetDlgItem(installer, kFontPath);
    SetWindowTextW(path, folder.c_str());
    SetFocus(path);
    SendMessageW(installer, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(installer, IDOK)));
}

void ZQMoveFonts(HWND installer, bool remove, const std::vector<std::wstring>& names) {
    if (names.empty()) return;
    const int listId = remove ? kFontInstalledList : kFontAddList;
    const int buttonId = remove ? kFontRemove : kFontAdd;
    HWND list = GetDlgItem(installer, listId);
    const std::vector<std::wstring> entries = ZQFontList(installer, remove);
    for (size_t i = 0; i < entries.size(); ++i)
        for (const std::wstring& name : names)
            if (name == L"*" || name == entries[i]) SendMessageW(list, LB_SETSEL, TRUE, static_cast<LPARAM>(i));
    SendMessageW(installer, WM_COMMAND, MAKEWPARAM(listId, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    SendMessageW(installer, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(installer, buttonId)));
}

LONG ZQRunFontInstaller(HANDLE hPrinter, const std::wstring& printerName, const ZQFontSteps& steps, ZQFontSeen& seen) {
    seen = ZQFontSeen();
    FontRun run = {&steps, &seen, 0, 0};
    t_fontRun = &run;
    run.timer = SetTimer(nullptr, 0, 100, FontTick);
    LONG rc;
    {
        CZQAutoPress press(100, [](HWND sheet) {
            HWND page = ZQCurrentPage(sheet);
            HWND button = page ? GetDlgItem(page, kZQIdFonts) : nullptr;
            if (button) SendMessageW(page, WM_COMMAND, MAKEWPARAM(kZQIdFonts, BN_CLICKED), reinterpret_cast<LPARAM>(button));
        });
        rc = ZQOpenPrinterProperties(hPrinter, printerName);
    }
    if (run.timer) KillTimer(nullptr, run.timer);
    t_fontRun = nullptr;
    return rc;
}

bool ZQLoadConvertApi(HMODULE hModule, ZQConvertApi& api) {
    api = {ZQGetProc<decltype(api.initialize)>(hModule, "InitializeConvertAPI"),
           ZQGetProc<decltype(api.readTicket)>(hModule, "ReadTicket"),
           ZQGetProc<decltype(api.convertTicketEx)>(hModule, "ConvertTicketEx"),
           ZQGetProc<decltype(api.convertDevModeEx)>(hModule, "ConvertDevModeEx"),
           ZQGetProc<decltype(api.kill)>(hModule, "KillConvertAPI"),
           ZQGetProc<decltype(api.version)>(hModule, "GetConvertAPIVersion"),
           ZQGetProc<decltype(api.convertTicket)>(hModule, "ConvertTicket"),
           ZQGetProc<decltype(api.convertDevmode)>(hModule, "ConvertDevmode")};
    return api.initialize && api.readTicket && api.convertTicketEx && api.convertDevModeEx && api.kill &&
           api.version && api.convertTicket && api.convertDevmode;
}

std::vector<BYTE> ZQQueryDevmode(HANDLE hPrinter, const std::wstring& printerName) {
    LPWSTR name = const_cast<LPWSTR>(printerName.c_str());
    const LONG size = DocumentPropertiesW(nullptr, hPrinter, name, nullptr, nullptr, 0);
    if (size <= 0) return {};
    std::vector<BYTE> buf(static_cast<size_t>(size), 0);
    if (DocumentPropertiesW(nullptr, hPrinter, name, reinterpret_cast<DEVMODEW*>(buf.data()), nullptr, DM_OUT_BUFFER) != IDOK)
        return {};
    return buf;
}

BOOL ZQStoreDefaultDevmode(HANDLE hPrinter, const std::vector<BYTE>& dm) {
    if (dm.size() < sizeof(DEVMODEW)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::vector<BYTE> copy(dm);
    PRINTER_INFO_8W pi8 = {reinterpret_cast<DEVMODEW*>(copy.data())};
    if (SetPrinterW(hPrinter, 8, reinterpret_cast<BYTE*>(&pi8), 0)) return TRUE;
    // Level 2 where the global default has no level of its own.
    DWORD needed = 0;
    GetPrinterW(hPrinter, 2, nullptr, 0, &needed);
    if (!needed) return FALSE;
    std::vector<BYTE> buf(needed);
    if (!GetPrinterW(hPrinter, 2, buf.data(), needed, &needed)) return FALSE;
    auto* pi2 = reinterpret_cast<PRINTER_INFO_2W*>(buf.data());
    pi2->pDevMode = reinterpret_cast<DEVMODEW*>(copy.data());
    pi2->pSecurityDescriptor = nullptr;
    return SetPrinterW(hPrinter, 2, buf.data(), 0);
}

HWND ZQFindSheet() {
    HWND sheet = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindSheetProc, reinterpret_cast<LPARAM>(&sheet));
    return sheet;
}

CZQAutoPress::CZQAutoPress(UINT delayMs, std::function<void(HWND)> beforeOk)
    : m_due(GetTickCount64() + delayMs), m_beforeOk(std::move(beforeOk)), m_previous(t_autoPress) {
    t_autoPress = this;
    // A thread timer comes when nothing else is queued: at the first idle moment from now on.
    m_timer = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, Tick);
}

CZQAutoPress::~CZQAutoPress() {
    if (m_timer) KillTimer(nullptr, m_timer);
    if (m_sheet && IsWindow(m_sheet)) RemoveWindowSubclass(m_sheet, SeeButtons, 0);
    if (t_autoPress == this) t_autoPress = m_previous;
}

LRESULT CALLBACK CZQAutoPress::SeeButtons(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR data) {
    auto* self = reinterpret_cast<CZQAutoPress*>(data);
    // A click reaches the sheet as its command, a program's press as PSM_PRESSBUTTON; the close box
    // cancels.
    if (!self->m_bPressed) {
        if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL))
            self->m_bOwnOk = LOWORD(wParam) == IDOK;
        else if (message == PSM_PRESSBUTTON && (wParam == PSBTN_OK || wParam == PSBTN_CANCEL))
            self->m_bOwnOk = wParam == PSBTN_OK;
        else if (message == WM_CLOSE)
            self->m_bOwnOk = false;
    }
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, SeeButtons, 0);
        self->m_sheet = nullptr;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

void CALLBACK CZQAutoPress::Tick(HWND, UINT, UINT_PTR, DWORD) {
    CZQAutoPress* self = t_autoPress;
    if (!self || self->m_bPressed) return;
    const ULONGLONG now = GetTickCount64();
    HWND sheet = ZQFindSheet();
    if (sheet && !self->m_sheet && SetWindowSubclass(sheet, SeeButtons, 0, reinterpret_cast<DWORD_PTR>(self)))
        self->m_sheet = sheet;
    // Not shown yet: look again at the next idle moment, for a while.
    if (!sheet && now < self->m_due + 30000) return;
    KillTimer(nullptr, self->m_timer);
    self->m_timer = 0;
    if (!sheet) return;
    if (now < self->m_due) {
        self->m_timer = SetTimer(nullptr, 0, static_cast<UINT>(self->m_due - now), Tick);
        return;
    }
    self->m_bPressed = true;
    if (self->m_beforeOk) self->m_beforeOk(sheet);
    PostMessageW(sheet, PSM_PRESSBUTTON, self->m_bCancel ? PSBTN_CANCEL : PSBTN_OK, 0);
}

BOOL ZQWritePng(const std::wstring& path, UINT width, UINT height, const std::vector<BYTE>& rgb) {
    if (!width || !height || rgb.size() < static_cast<size_t>(width) * height * 3) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::vector<BYTE> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    std::vector<BYTE> ihdr;
    PutBE32(ihdr, width);
    PutBE32(ihdr, height);
    ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, deflate, no filter, no interlace
    Chunk(png, "IHDR", ihdr);

    // Rows with filter byte 0, in stored (uncompressed) deflate blocks.
    std::vector<BYTE> raw;
    raw.reserve(static_cast<size_t>(height) * (width * 3 + 1));
    for (UINT y = 0; y < height; ++y) {
        raw.push_back(0);
        raw.insert(raw.end(), rgb.begin() + static_cast<ptrdiff_t>(y) * width * 3,
                   rgb.begin() + static_cast<ptrdiff_t>(y + 1) * width * 3);
    }
    std::vector<BYTE> z = {0x78, 0x01};
    uint32_t a = 1, b = 0;
    for (BYTE c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    for (size_t pos = 0; pos < raw.size();) {
        const size_t n = raw.size() - pos < 65535 ? raw.size() - pos : 65535;
        const bool last = pos + n == raw.size();
        z.push_back(last ? 1 : 0);
        z.push_back(static_cast<BYTE>(n & 0xFF));
        z.push_back(static_cast<BYTE>(n >> 8));
        z.push_back(static_cast<BYTE>(~n & 0xFF));
        z.push_back(static_cast<BYTE>((~n >> 8) & 0xFF));
        z.insert(z.end(), raw.begin() + static_cast<ptrdiff_t>(pos), raw.begin() + static_cast<ptrdiff_t>(pos + n));
        pos += n;
    }
    PutBE32(z, (b << 16) | a);
    Chunk(png, "IDAT", z);
    Chunk(png, "IEND", {});

    CZQHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return FALSE;
    DWORD written = 0;
    return WriteFile(file.Get(), png.data(), static_cast<DWORD>(png.size()), &written, nullptr) && written == png.size();
}

namespace {

// Runs the thread's messages for a while: a window drawn into its surface reaches the display
// only when the window system flushes it.
void Settle(DWORD ms) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(20);
    }
}

}  // namespace

BOOL ZQSaveWindowPng(HWND hwnd, const std::wstring& path) {
    SetForegroundWindow(hwnd);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Settle(400);
    RECT r;
    if (!GetWindowRect(hwnd, &r)) return FALSE;
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return FALSE;
    CZQWindowDC screen(nullptr);
    CZQMemDC mem(CreateCompatibleDC(screen.Get()));
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
    bmi.bmiHeader.biWidth = w;
    bmi.bmiHeader.biHeight = -h;  // top-down rows
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 24;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    CZQGdiObject dib(CreateDIBSection(screen.Get(), &bmi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!mem || !dib || !bits) return FALSE;
    {
        CZQSelectObject select(mem.Get(), dib.Get());
        if (!BitBlt(mem.Get(), 0, 0, w, h, screen.Get(), r.left, r.top, SRCCOPY | CAPTUREBLT) &&
            !PrintWindow(hwnd, mem.Get(), 0))
            return FALSE;
        GdiFlush();
    }
    const size_t stride = (static_cast<size_t>(w) * 3 + 3) & ~static_cast<size_t>(3);
    std::vector<BYTE> rgb(static_cast<size_t>(w) * h * 3);
    const BYTE* src = static_cast<const BYTE*>(bits);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const BYTE* p = src + y * stride + x * 3;
            BYTE* q = &rgb[(static_cast<size_t>(y) * w + x) * 3];
            q[0] = p[2];
            q[1] = p[1];
            q[2] = p[0];
        }
    return ZQWritePng(path, static_cast<UINT>(w), static_cast<UINT>(h), rgb);
}

namespace {

// The page a sheet opens on next, by the title id the plug-in keeps: its title where the module
// holds it; the sheet's first page for none (and for the Features page's mark, which names none).
std::wstring StartPage(int32_t titleId, HMODULE hTitles) {
    WCHAR title[128] = {};
    if (titleId > 0 && hTitles && LoadStringW(hTitles, static_cast<UINT>(titleId), title, 128) > 0)
        return L"\"" + std::wstring(title) + L"\"";
    if (titleId == 0 || titleId == -999) return L"the sheet's first";
    return Format(L"title %ld", static_cast<long>(titleId));
}

}  // namespace

std::wstring ZQDescribeDevmode(const BYTE* bytes, size_t size, HMODULE hTitles) {
    const size_t minPublic = offsetof(DEVMODEW, dmFields) + sizeof(DWORD);
    if (!bytes || size < minPublic) return L"no devmode\n";
    DEVMODEW dm = {};
    const auto* in = reinterpret_cast<const DEVMODEW*>(bytes);
    if (in->dmSize < minPublic || in->dmSize > size) return L"devmode with a bad size\n";
    std::memcpy(&dm, bytes, in->dmSize < sizeof dm ? in->dmSize : sizeof dm);
    WCHAR device[CCHDEVICENAME + 1] = {}, form[CCHFORMNAME + 1] = {};
    std::memcpy(device, dm.dmDeviceName, sizeof dm.dmDeviceName);
    std::memcpy(form, dm.dmFormName, sizeof dm.dmFormName);
    std::wstring s;
    s += Format(L"devmode of \"%ls\": %u + %u bytes, version 0x%04X, driver 0x%04X, fields 0x%08lX\n", device, dm.dmSize,
                dm.dmDriverExtra, dm.dmSpecVersion, dm.dmDriverVersion, static_cast<unsigned long>(dm.dmFields));
    s += Format(L"  public: orientation %d, paper %d \"%ls\" %dx%d, scale %d, copies %d, collate %d\n", dm.dmOrientation,
                dm.dmPaperSize, form, dm.dmPaperWidth, dm.dmPaperLength, dm.dmScale, dm.dmCopies, dm.dmCollate);
    s += Format(L"          source %d, quality %dx%d, color %d, duplex %d, media %lu\n", dm.dmDefaultSource,
                dm.dmPrintQuality, dm.dmYResolution, dm.dmColor, dm.dmDuplex, static_cast<unsigned long>(dm.dmMediaType));
    // Colour matching: who matches (1 nobody, 2 the system) and the rendering intent.
    if (dm.dmSize >= offsetof(DEVMODEW, dmICMIntent) + sizeof(DWORD)) {
        const auto field = [&](DWORD bit, DWORD value) {
            return (dm.dmFields & bit) ? Format(L"%lu", static_cast<unsigned long>(value)) : std::wstring(L"unset");
        };
        s += L"          colour matching: method " + field(DM_ICMMETHOD, dm.dmICMMethod) + L", intent " +
             field(DM_ICMINTENT, dm.dmICMIntent) + L"\n";
    }
    const size_t extraSize = dm.dmDriverExtra < size - in->dmSize ? dm.dmDriverExtra : size - in->dmSize;
    const BYTE* extra = bytes + in->dmSize;
    const zqhostdm::ParsedPrivate priv = zqhostdm::ParsePrivate(extra, extraSize);
    if (!priv.valid) return s + L"  core driver part: not recognised\n";
    s += Format(L"  core driver part: \"ZQCD\" 0x%08lX, %lu bytes, plug-in block %lu bytes\n",
                static_cast<unsigned long>(zqhostdm::kVersion), static_cast<unsigned long>(zqhostdm::kPrivateSize),
                static_cast<unsigned long>(priv.cbOem));
    s += L"  selected options:";
    size_t column = 20;
    for (const auto& [key, value] : priv.selections) {
        const std::string item = " " + key + "=" + value;
        if (column + item.size() > 100) {
            s += L"\n                   ";
            column = 19;
        }
        s += ZQWide(item);
        column += item.size();
    }
    s += L"\n";
    if (priv.cbOem >= sizeof(OEM_DMEXTRAHEADER)) {
        OEM_DMEXTRAHEADER h;
        std::memcpy(&h, extra + priv.oemOffset, sizeof h);
        WCHAR sig[5] = {};
        for (int i = 0; i < 4; ++i) {
            const BYTE c = static_cast<BYTE>(h.dwSignature >> (24 - 8 * i));
            sig[i] = (c >= 32 && c < 127) ? c : L'?';
        }
        s += Format(L"  plug-in block: size %lu, signature \"%ls\" (0x%08lX), version 0x%08lX\n",
                    static_cast<unsigned long>(h.dwSize), sig, static_cast<unsigned long>(h.dwSignature),
                    static_cast<unsigned long>(h.dwVersion));
        if (priv.cbOem >= sizeof(ZQUIDevmode) && h.dwSize >= sizeof(ZQUIDevmode)) {
            // The quick-set section: the name in force, the document type and whether it was changed.
            ZQUIDevmode pd;
            std::memcpy(&pd, extra + priv.oemOffset, sizeof pd);
            const std::wstring name(pd.szQuickSetName, wcsnlen(pd.szQuickSetName, 82));
            const std::wstring docType(pd.szDocTypeName, wcsnlen(pd.szDocTypeName, 256));
            s += Format(L"  quick set: \"%ls\", document type \"%ls\" (in use %lu), customised %lu\n", name.c_str(),
                        docType.c_str(), static_cast<unsigned long>(pd.dwQuickSetInUse),
                        static_cast<unsigned long>(pd.dwPendingChange));
            // The shortcut section: the panel's selections of the document type and its edit fields.
            std::wstring slots;
            for (uint32_t slot : pd.adwSelectionSlots) slots += Format(slots.empty() ? L"%lu" : L",%lu", static_cast<unsigned long>(slot));
            s += Format(L"  shortcut: selections %ls, scaling %lu, copies %lu\n", slots.c_str(),
                        static_cast<unsigned long>(pd.dwDocTypeScaling), static_cast<unsigned long>(pd.dwDocTypeCopies));
            // The colour page's choices and the page the sheet opens on next.
            s += Format(L"  colour: greyscale %lu, sepia %lu, colour matching automatic %lu\n",
                        static_cast<unsigned long>(pd.dwPrintAsGray), static_cast<unsigned long>(pd.dwSepia),
                        static_cast<unsigned long>(pd.dwChromixAuto));
            s += L"  start page: " + StartPage(pd.iStartPage, hTitles) + L"\n";
            const int32_t* a = pd.aiColorAdjust;
            s += Format(L"  advanced colour: brightness %ld, saturation %ld, tone %ld, cyan %ld, magenta %ld, yellow %ld, "
                        L"black %ld\n",
                        static_cast<long>(a[0]), static_cast<long>(a[1]), static_cast<long>(a[2]), static_cast<long>(a[3]),
                        static_cast<long>(a[4]), static_cast<long>(a[5]), static_cast<long>(a[6]));
        }
    } else {
        s += L"  plug-in block: none\n";
    }
    return s;
}

bool ZQReadDeviceAnswers(HANDLE hPrinter, std::vector<ZQDeviceAnswer>& answers) {
    answers.clear();
    WCHAR guid[64] = {};
    DWORD type = 0, needed = 0;
    if (GetPrinterDataExW(hPrinter, L"ZQPresetRoot", L"ZQRestrictedUserGuid", &type, reinterpret_cast<BYTE*>(guid),
                          sizeof guid - sizeof(WCHAR), &needed) != ERROR_SUCCESS ||
        type != REG_SZ || !guid[0])
        return false;
    CZQRegKey key;
    const std::wstring path = std::wstring(L"Software\\Quorvane\\") + guid + L"\\ZQBIDIInfo";
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, key.Put()) != ERROR_SUCCESS) return false;
    for (DWORD i = 0;; ++i) {
        WCHAR name[256];
        DWORD cchName = 256, cb = 0;
        ZQDeviceAnswer answer;
        if (RegEnumValueW(key.Get(), i, name, &cchName, nullptr, &answer.type, nullptr, &cb) != ERROR_SUCCESS) break;
        answer.name = name;
        answer.data.resize(cb);
        cchName = 256;
        if (cb && RegEnumValueW(key.Get(), i, name, &cchName, nullptr, &answer.type, answer.data.data(), &cb) !=
                      ERROR_SUCCESS)
            break;
        answers.push_back(std::move(answer));
    }
    return true;
}

std::wstring ZQDescribeAnswer(const ZQDeviceAnswer& a) {
    std::wstring value;
    if (a.type == REG_SZ) {
        value = L"\"" + std::wstring(reinterpret_cast<const wchar_t*>(a.data.data()), a.data.size() / sizeof(wchar_t));
        while (value.size() > 1 && value.back() == L'\0') value.pop_back();
        value += L"\"";
    } else if (a.type == REG_MULTI_SZ) {
        // {"first", "second"}: the texts up to the empty one that ends the list.
        const auto* text = reinterpret_cast<const wchar_t*>(a.data.data());
        const size_t units = a.data.size() / sizeof(wchar_t);
        for (size_t i = 0; i < units && text[i];) {
            const size_t length = wcsnlen(text + i, units - i);
            value += (value.empty() ? L"\"" : L", \"") + std::wstring(text + i, length) + L"\"";
            i += length + 1;
        }
        value = L"{" + value + L"}";
    } else if (a.type == REG_DWORD && a.data.size() == sizeof(DWORD)) {
        DWORD number;
        std::memcpy(&number, a.data.data(), sizeof number);
        value = std::to_wstring(number);
    } else {
        for (BYTE b : a.data) value += Format(value.empty() ? L"%02X" : L" %02X", b);
        value = L"[" + value + L"]";
    }
    return a.name + L" = " + value;
}

// ---- the core driver stand-in's page, driven as a user does

HWND ZQCurrentPage(HWND sheet) { return reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)); }

std::vector<std::wstring> ZQRows(HWND page) {
    HWND list = GetDlgItem(page, kZQIdList);
    std::vector<std::wstring> rows;
    for (int row = 0; row < ListView_GetItemCount(list); ++row) {
        WCHAR text[256] = {};
        ListView_GetItemText(list, row, 0, text, 256);
        rows.emplace_back(text);
    }
    return rows;
}

int ZQRowOf(HWND page, const std::wstring& name, bool last) {
    const std::vector<std::wstring> rows = ZQRows(page);
    int found = -1;
    for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
        if (rows[row] != name) continue;
        found = row;
        if (!last) break;
    }
    return found;
}

std::wstring ZQRowValue(HWND page, const std::wstring& name, bool last) {
    WCHAR text[256] = {};
    const int row = ZQRowOf(page, name, last);
    if (row >= 0) ListView_GetItemText(GetDlgItem(page, kZQIdList), row, 1, text, 256);
    return text;
}

bool ZQSelectRow(HWND page, const std::wstring& name, bool last) {
    const int row = ZQRowOf(page, name, last);
    if (row < 0) return false;
    ListView_SetItemState(GetDlgItem(page, kZQIdList), row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    return true;
}

std::vector<std::wstring> ZQListEntries(HWND combo) {
    std::vector<std::wstring> out;
    for (LRESULT i = 0; i < SendMessageW(combo, CB_GETCOUNT, 0, 0); ++i) {
        WCHAR text[256] = {};
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        out.push_back(text);
    }
    return out;
}

std::vector<std::wstring> ZQComboEntries(HWND page) { return ZQListEntries(GetDlgItem(page, kZQIdCombo)); }

bool ZQChoose(HWND page, const std::wstring& row, const std::wstring& option, bool last) {
    if (!ZQSelectRow(page, row, last)) return false;
    HWND combo = GetDlgItem(page, kZQIdCombo);
    const LRESULT at = SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(option.c_str()));
    if (at < 0) return false;
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(at), 0);
    SendMessageW(page, WM_COMMAND, MAKEWPARAM(kZQIdCombo, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    return true;
}

// ---- the plug-in's pages, driven as a user does

namespace {

std::wstring ClassOf(HWND hwnd) {
    WCHAR cls[64] = {};
    GetClassNameW(hwnd, cls, 64);
    return cls;
}

// The text as the user reads it: no "&", nothing after a line break, no blanks or colon at its end.
std::wstring ReadableText(const std::wstring& text) {
    std::wstring out;
    for (wchar_t c : text) {
        if (c == L'\n' || c == L'\r') break;
        if (c != L'&') out.push_back(c);
    }
    while (!out.empty() && (out.back() == L' ' || out.back() == L':')) out.pop_back();
    return out;
}

std::wstring ControlText(HWND hwnd) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

bool Usable(HWND hwnd) {
    return hwnd && (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_VISIBLE) && IsWindowEnabled(hwnd);
}

LONG_PTR ButtonKind(HWND hwnd) {
    return lstrcmpiW(ClassOf(hwnd).c_str(), L"Button") == 0 ? (GetWindowLongPtrW(hwnd, GWL_STYLE) & BS_TYPEMASK) : -1;
}

bool IsCheckBox(LONG_PTR kind) {
    return kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_3STATE || kind == BS_AUTO3STATE;
}
bool IsRadio(LONG_PTR kind) { return kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON; }
bool IsPush(LONG_PTR kind) { return kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON; }

// A control that takes a choice beside its label.
bool TakesEntries(HWND hwnd) {
    const std::wstring cls = ClassOf(hwnd);
    return lstrcmpiW(cls.c_str(), L"ComboBox") == 0 || lstrcmpiW(cls.c_str(), L"ListBox") == 0 ||
           lstrcmpiW(cls.c_str(), TRACKBAR_CLASSW) == 0 || lstrcmpiW(cls.c_str(), L"Edit") == 0;
}

void Notify(HWND control, WORD code) {
    SendMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
                 reinterpret_cast<LPARAM>(control));
}

}  // namespace

std::vector<std::wstring> ZQPageTitles(HWND sheet) {
    HWND tabs = sheet ? reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0)) : nullptr;
    const int count = tabs ? static_cast<int>(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0)) : 0;
    std::vector<std::wstring> titles;
    for (int i = 0; i < count; ++i) {
        WCHAR text[256] = {};
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = 256;
        SendMessageW(tabs, TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        titles.push_back(ReadableText(text));
    }
    return titles;
}

bool ZQShowPage(HWND sheet, const std::wstring& title) {
    const std::vector<std::wstring> titles = ZQPageTitles(sheet);
    const auto found = std::find(titles.begin(), titles.end(), ReadableText(title));
    if (found == titles.end()) return false;
    SendMessageW(sheet, PSM_SETCURSEL, static_cast<WPARAM>(found - titles.begin()), 0);
    UpdateWindow(sheet);
    return true;
}

namespace {

// The control of that name: one within the user's reach, or (`anyState`) hidden or greyed too.
HWND FindControl(HWND page, const std::wstring& label, bool anyState) {
    if (!page) return nullptr;
    const auto reached = [anyState](HWND hwnd) { return hwnd && (anyState || Usable(hwnd)); };
    if (label.size() > 1 && label[0] == L'#') {
        HWND control = GetDlgItem(page, _wtoi(label.c_str() + 1));
        return reached(control) ? control : nullptr;
    }
    const std::wstring wanted = ReadableText(label);
    for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!reached(child) || ReadableText(ControlText(child)) != wanted) continue;
        const LONG_PTR kind = ButtonKind(child);
        if (IsCheckBox(kind) || IsRadio(kind) || IsPush(kind) || TakesEntries(child)) return child;
        // A label names the list or slider after it.
        for (HWND next = GetWindow(child, GW_HWNDNEXT); next; next = GetWindow(next, GW_HWNDNEXT))
            if (TakesEntries(next)) return reached(next) ? next : nullptr;
    }
    return nullptr;
}

}  // namespace

HWND ZQFindPageControl(HWND page, const std::wstring& label) { return FindControl(page, label, false); }

HWND ZQFindGreyedControl(HWND page, const std::wstring& label) {
    HWND control = FindControl(page, label, true);
    return control && (GetWindowLongPtrW(control, GWL_STYLE) & WS_VISIBLE) && !IsWindowEnabled(control) ? control
                                                                                                       : nullptr;
}

namespace {

HTREEITEM FindTreeItem(HWND tree, HTREEITEM parent, const std::wstring& text);

}  // namespace

HTREEITEM ZQFindTreeItem(HWND tree, const std::wstring& text) { return FindTreeItem(tree, TVI_ROOT, text); }

namespace {

HTREEITEM FindTreeItem(HWND tree, HTREEITEM parent, const std::wstring& text) {
    auto next = [&](WPARAM how, HTREEITEM from) {
        return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(from)));
    };
    for (HTREEITEM item = next(parent == TVI_ROOT ? TVGN_ROOT : TVGN_CHILD, parent == TVI_ROOT ? nullptr : parent);
         item; item = next(TVGN_NEXT, item)) {
        WCHAR buffer[256] = {};
        TVITEMW tv = {};
        tv.mask = TVIF_TEXT | TVIF_HANDLE;
        tv.hItem = item;
        tv.pszText = buffer;
        tv.cchTextMax = 256;
        SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
        if (text == buffer) return item;
        if (HTREEITEM inner = FindTreeItem(tree, item, text)) return inner;
    }
    return nullptr;
}

}  // namespace

bool ZQChooseOnPage(HWND page, const std::wstring& label, const std::wstring& entry) {
    HWND control = ZQFindPageControl(page, label);
    if (!control) return false;
    const std::wstring cls = ClassOf(control);
    const LONG_PTR kind = ButtonKind(control);
    if (IsCheckBox(kind) || IsRadio(kind)) {
        const bool on = lstrcmpiW(entry.c_str(), L"on") == 0;
        if (!on && lstrcmpiW(entry.c_str(), L"off") != 0) return false;
        if (IsRadio(kind) && !on) return false;  // a radio button is turned off by choosing another
        const bool checked = SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
        if (checked == on) return true;
        if (IsRadio(kind)) {
            // The other buttons of its group go off, as a click does.
            HWND first = control;
            while (!(GetWindowLongPtrW(first, GWL_STYLE) & WS_GROUP)) {
                HWND previous = GetWindow(first, GW_HWNDPREV);
                if (!previous) break;
                first = previous;
            }
            for (HWND button = first; button; button = GetWindow(button, GW_HWNDNEXT)) {
                if (button != first && (GetWindowLongPtrW(button, GWL_STYLE) & WS_GROUP)) break;
                if (IsRadio(ButtonKind(button)))
                    SendMessageW(button, BM_SETCHECK, button == control ? BST_CHECKED : BST_UNCHECKED, 0);
            }
        } else {
            SendMessageW(control, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        Notify(control, BN_CLICKED);
        return true;
    }
    // Any other button is clicked (a push button that opens nothing, as a tile of a dialog, which
    // stays open).
    if (lstrcmpiW(cls.c_str(), L"Button") == 0) {
        if (lstrcmpiW(entry.c_str(), L"click") != 0) return false;
        Notify(control, BN_CLICKED);
        return true;
    }
    // An edit: the text typed, then the edit left.
    if (lstrcmpiW(cls.c_str(), L"Edit") == 0) {
        SetWindowTextW(control, entry.c_str());
        Notify(control, EN_KILLFOCUS);
        return true;
    }
    // A list: the entry of that text.
    const bool combo = lstrcmpiW(cls.c_str(), L"ComboBox") == 0;
    if (combo || lstrcmpiW(cls.c_str(), L"ListBox") == 0) {
        const LRESULT at = SendMessageW(control, combo ? CB_FINDSTRINGEXACT : LB_FINDSTRINGEXACT,
                                        static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(entry.c_str()));
        if (at < 0) return false;
        SendMessageW(control, combo ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(at), 0);
        Notify(control, combo ? CBN_SELCHANGE : LBN_SELCHANGE);
        return true;
    }
    // A tree: the item of that text, at any depth.
    if (lstrcmpiW(cls.c_str(), WC_TREEVIEWW) == 0) {
        HTREEITEM item = FindTreeItem(control, TVI_ROOT, entry);
        if (!item) return false;
        SendMessageW(control, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
        return true;
    }
    // An edit: the text typed into it, then the edit left.
    if (lstrcmpiW(cls.c_str(), L"Edit") == 0) {
        Notify(control, EN_SETFOCUS);
        SetWindowTextW(control, entry.c_str());
        Notify(control, EN_KILLFOCUS);
        return true;
    }
    // A slider: the position, within its range.
    wchar_t* end = nullptr;
    const long position = wcstol(entry.c_str(), &end, 10);
    if (entry.empty() || *end || position < SendMessageW(control, TBM_GETRANGEMIN, 0, 0) ||
        position > SendMessageW(control, TBM_GETRANGEMAX, 0, 0))
        return false;
    SendMessageW(control, TBM_SETPOS, TRUE, position);
    const UINT message = (GetWindowLongPtrW(control, GWL_STYLE) & TBS_VERT) ? WM_VSCROLL : WM_HSCROLL;
    SendMessageW(GetParent(control), message, MAKEWPARAM(TB_THUMBPOSITION, static_cast<WORD>(position)),
                 reinterpret_cast<LPARAM>(control));
    return true;
}

// ---- a modal dialog of a page, driven as a user does

namespace {

struct DialogRun {
    HWND owner;  // the page's top-level window, which owns the dialog
    const ZQDialogSteps* steps;
    ZQDialogSeen* seen;
    UINT_PTR timer;
    int tries;
};
thread_local DialogRun* t_dialogRun = nullptr;

struct OwnedDialog {
    HWND owner;
    HWND found;
};

BOOL CALLBACK FindOwnedDialogProc(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<OwnedDialog*>(lParam);
    if (IsWindowVisible(hwnd) && ClassOf(hwnd) == L"#32770" && GetWindow(hwnd, GW_OWNER) == search->owner) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK DialogTick(HWND, UINT, UINT_PTR, DWORD) {
    DialogRun* run = t_dialogRun;
    if (!run || !run->timer) return;
    OwnedDialog search = {run->owner, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), FindOwnedDialogProc, reinterpret_cast<LPARAM>(&search));
    HWND dialog = search.found;
    if (!FoundOrGiveUp(dialog, run->timer, run->tries)) return;
    ZQDialogSeen& seen = *run->seen;
    seen.shown = true;
    seen.title = ControlText(dialog);
    seen.chosen = true;
    for (const auto& [label, entry] : run->steps->choices) {
        if (ZQChooseOnPage(dialog, label, entry)) continue;
        seen.chosen = false;
        seen.unmatched = label + L"=" + entry;
        break;
    }
    UpdateWindow(dialog);
    if (run->steps->inspect) run->steps->inspect(dialog);
    if (!run->steps->screenshot.empty()) seen.saved = ZQSaveWindowPng(dialog, run->steps->screenshot) != FALSE;
    HWND close = ZQFindPageControl(dialog, seen.chosen ? run->steps->close : std::wstring(L"Cancel"));
    seen.closed = close != nullptr;
    // A dialog without that button is closed as its close box does.
    if (close)
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(close), BN_CLICKED), reinterpret_cast<LPARAM>(close));
    else
        PostMessageW(dialog, WM_CLOSE, 0, 0);
}

}  // namespace

HWND ZQAwaitedDialogOwner() { return t_dialogRun && t_dialogRun->timer ? t_dialogRun->owner : nullptr; }

bool ZQPressForDialog(HWND page, const std::wstring& button, const ZQDialogSteps& steps, ZQDialogSeen& seen) {
    seen = ZQDialogSeen();
    // "LABEL=ENTRY": a list's entry that opens the dialog, as "More..." does.
    const size_t equals = button.find(L'=');
    HWND control = ZQFindPageControl(page, button.substr(0, equals));
    if (!control || (equals == std::wstring::npos && !IsPush(ButtonKind(control)))) return false;
    DialogRun run = {GetAncestor(page, GA_ROOT), &steps, &seen, 0, 0};
    DialogRun* const previous = t_dialogRun;
    t_dialogRun = &run;
    run.timer = SetTimer(nullptr, 0, 50, DialogTick);
    if (equals == std::wstring::npos)
        Notify(control, BN_CLICKED);
    else
        ZQChooseOnPage(page, button.substr(0, equals), button.substr(equals + 1));
    if (run.timer) KillTimer(nullptr, run.timer);
    t_dialogRun = previous;
    return true;
}

namespace {

// The values of a key of the printer's data with their data, in the spooler's order; `count` of them
// (none when the key cannot be read).
std::vector<BYTE> EnumValues(HANDLE hPrinter, LPCWSTR key, DWORD& count) {
    DWORD needed = 0;
    count = 0;
    DWORD rc = EnumPrinterDataExW(hPrinter, key, nullptr, 0, &needed, &count);
    std::vector<BYTE> buffer(needed);
    if (rc == ERROR_MORE_DATA) rc = EnumPrinterDataExW(hPrinter, key, buffer.data(), needed, &needed, &count);
    if (rc != ERROR_SUCCESS || buffer.empty()) count = 0;
    return buffer;
}

}  // namespace

std::vector<ZQStoredQuickSet> ZQReadQuickSets(HANDLE hPrinter) {
    std::vector<ZQStoredQuickSet> sets;
    DWORD count = 0;
    const std::vector<BYTE> buffer = EnumValues(hPrinter, L"ZQPresetRoot\\PresetPoolData", count);
    const auto* values = reinterpret_cast<const PRINTER_ENUM_VALUESW*>(buffer.data());
    for (DWORD i = 0; i < count; ++i) {
        ZQStoredQuickSet set;
        set.index = zqname::IndexAfterColon(values[i].pValueName);
        set.bytes = values[i].cbData;
        set.beyond = i >= static_cast<DWORD>(zqqs::kMaxQuickSets);
        if (set.beyond) {
            sets.push_back(std::move(set));
            continue;
        }
        QuickSetHead head;
        std::vector<zqqs::PairRead> pairs;
        set.refused = !zqqs::ReadValue(values[i].pData, values[i].cbData, {}, head, pairs);
        if (!set.refused) set.name = head.szName;
        for (const zqqs::PairRead& pair : pairs) set.pairs.emplace_back(pair.feature, pair.option);
        sets.push_back(std::move(set));
    }
    return sets;
}

namespace {

// "<feature>=<option>", or "<feature>=(not set)" for a pair that holds no option.
std::wstring PairText(const std::wstring& feature, const std::wstring& option) {
    return feature + L"=" + (option.empty() ? std::wstring(L"(not set)") : option);
}

}  // namespace

std::vector<std::wstring> ZQDescribeQuickSets(HANDLE hPrinter, int* pNextIndex) {
    std::vector<std::wstring> lines;
    if (pNextIndex) {
        BYTE counter[4] = {};
        DWORD type = 0, needed = 0;
        *pNextIndex = GetPrinterDataExW(hPrinter, const_cast<LPWSTR>(L"ZQPresetRoot"),
                                        const_cast<LPWSTR>(L"PresetPoolMaxIndexCount"), &type, counter, sizeof counter,
                                        &needed) == ERROR_SUCCESS
                          ? zqqs::DecodeCounter(counter, needed)
                          : 0;
    }
    for (const ZQStoredQuickSet& set : ZQReadQuickSets(hPrinter)) {
        const std::wstring index = std::to_wstring(set.index);
        if (set.beyond) {
            lines.push_back(index + L" beyond the 25 read");
            continue;
        }
        if (set.refused) {
            lines.push_back(index + L" refused (" + std::to_wstring(set.bytes) + L" bytes)");
            continue;
        }
        wchar_t flags[16];
        swprintf(flags, 16, L"0x%05X", _wcsicmp(set.name.c_str(), L" Factory Defaults") == 0 ? 0x20000u : 0x10000u);
        std::wstring line = index + L" \"" + set.name + L"\" flags " + flags + L" " + std::to_wstring(set.pairs.size()) +
                            L" pairs";
        for (const auto& [feature, option] : set.pairs) line += L" " + PairText(feature, option);
        lines.push_back(line);
    }
    return lines;
}

namespace {
const LPCWSTR kShortcutPool = L"ZQPresetRoot\\CustomShortcutPoolData";
}  // namespace

std::vector<std::wstring> ZQDescribeShortcuts(HANDLE hPrinter) {
    std::vector<std::wstring> lines;
    DWORD count = 0;
    const std::vector<BYTE> buffer = EnumValues(hPrinter, kShortcutPool, count);
    const auto* values = reinterpret_cast<const PRINTER_ENUM_VALUESW*>(buffer.data());
    for (DWORD i = 0; i < count; ++i) {
        const std::wstring name = values[i].pValueName ? values[i].pValueName : L"";
        zqsc::RecordRead record;
        if (!zqsc::ReadValue(values[i].pData, values[i].cbData, record)) {
            lines.push_back(L"\"" + name + L"\" refused (" + std::to_wstring(values[i].cbData) + L" bytes)");
            continue;
        }
        std::wstring line = L"\"" + record.name + L"\" under \"" + record.docType + L"\" bitmap " +
                            std::to_wstring(record.bitmapId) + L", " + std::to_wstring(record.features.size()) +
                            L" features";
        for (const zqsc::FeatureRead& feature : record.features) {
            std::wstring options;
            for (size_t p = 0; p < feature.optionKeywords.size(); ++p)
                options += (p ? L"|" : L"") + feature.optionKeywords[p];
            line += L" " + PairText(feature.keyword, options);
        }
        lines.push_back(line);
    }
    return lines;
}

DWORD ZQAddShortcut(HANDLE hPrinter, const std::wstring& name, const std::wstring& docType) {
    const zqsc::RecordText record = {name.c_str(), docType.c_str(), 0, 0, 0, nullptr};
    std::vector<BYTE> value(zqsc::ValueLength(record));
    zqsc::WriteValue(record, value.data());
    return SetPrinterDataExW(hPrinter, kShortcutPool, name.c_str(), REG_BINARY, value.data(),
                             static_cast<DWORD>(value.size()));
}

ZQGuiObjects ZQCountGuiObjects() {
    ZQGuiObjects counts = {GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS),
                           GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)};
    if (counts.gdi || counts.user) return counts;
    // A handle of a table's entry with no generation in its upper half names the entry's object.
    for (ULONG_PTR i = 1; i < 0x10000; ++i)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(i))) ++counts.gdi;
    for (ULONG_PTR i = 0x20; i < 0x10000; i += 2) {
        const HANDLE h = reinterpret_cast<HANDLE>(i);
        ICONINFO icon = {};
        if (IsWindow(static_cast<HWND>(h)) || IsMenu(static_cast<HMENU>(h))) {
            ++counts.user;
        } else if (GetIconInfo(static_cast<HICON>(h), &icon)) {
            ++counts.user;
            if (icon.hbmColor) DeleteObject(icon.hbmColor);
            if (icon.hbmMask) DeleteObject(icon.hbmMask);
        }
    }
    return counts;
}
