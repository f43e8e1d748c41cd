#include "hosttest.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <fstream>

#include "zqproc.h"
#include "zqoemcontract.h"
#include "testsupport.h"
#include "zqhostpage.h"
#include "zqinstall.h"
#include "zqprinter.h"

namespace zqhosttest {

ScopedEnv::ScopedEnv(const char* name, const std::string& value) : m_name(name) {
    SetEnvironmentVariableA(name, value.c_str());
}

ScopedEnv::~ScopedEnv() { SetEnvironmentVariableA(m_name.c_str(), nullptr); }

RecorderLog::RecorderLog() {
    char dir[MAX_PATH] = {}, file[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, dir);
    GetTempFileNameA(dir, "zqr", 0, file);
    m_path = file;
    Clear();
    m_env = new ScopedEnv("ZQREC_LOG", m_path);
}

RecorderLog::~RecorderLog() {
    delete m_env;
    DeleteFileA(m_path.c_str());
}

void RecorderLog::Clear() const { std::ofstream(m_path, std::ios::trunc); }

std::vector<std::string> RecorderLog::Lines() const {
    std::vector<std::string> lines;
    std::ifstream in(m_path);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

bool RecorderLog::Contains(const std::string& line) const {
    for (const auto& l : Lines())
        if (l == line) return true;
    return false;
}

zqmodel::Model LoadModel(const wchar_t* relativePath) {
    zqmodel::Model model;
    std::wstring error;
    EXPECT_TRUE(ZQLoadModel(zqtest::BesideExe(relativePath), model, error)) << ZQUtf8(error);
    return model;
}

POPTITEM FindItem(POPTITEM items, DWORD count, const char* keyword) {
    for (DWORD i = 0; items && i < count; ++i) {
        auto* ud = reinterpret_cast<const USERDATA*>(items[i].UserData);
        if (ud && ud->pKeyWordName && lstrcmpiA(ud->pKeyWordName, keyword) == 0) return &items[i];
    }
    return nullptr;
}

void InstallSamplePrinters() {
    for (const wchar_t* model : {kDeskModel, kRollModel}) {
        ZQInstallResult result;
        ASSERT_TRUE(ZQInstallPrinter(zqtest::BesideExe(model), zqtest::ExeDir(), L"", result)) << ZQUtf8(result.error);
    }
}

CZQSpoolPrinter OpenFully(const std::wstring& name) {
    CZQSpoolPrinter h;
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    EXPECT_TRUE(OpenPrinterW(const_cast<LPWSTR>(name.c_str()), h.Put(), &defaults)) << GetLastError();
    return h;
}

std::vector<BYTE> DriverInfo(const std::wstring& name) {
    CZQSpoolPrinter h = OpenFully(name);
    DWORD needed = 0;
    GetPrinterDriverW(h.Get(), nullptr, 3, nullptr, 0, &needed);
    std::vector<BYTE> buf(needed);
    if (!needed || !GetPrinterDriverW(h.Get(), nullptr, 3, buf.data(), needed, &needed)) return {};
    return buf;
}

CZQModule DriverModule(const std::wstring& name) {
    const std::vector<BYTE> info = DriverInfo(name);
    EXPECT_FALSE(info.empty());
    if (info.empty()) return CZQModule();
    return CZQModule(LoadLibraryW(reinterpret_cast<const DRIVER_INFO_3W*>(info.data())->pConfigFile));
}

std::vector<BYTE> DriverDefault(const std::wstring& name) {
    CZQModule driver = DriverModule(name);
    using PFN = BOOL(WINAPI*)(LPWSTR, PDEVMODEW, PDEVMODEW, PLONG, DWORD);
    auto convert = ZQGetProc<PFN>(driver.Get(), "DrvConvertDevMode");
    if (!convert) return {};
    LONG size = 0;
    convert(const_cast<LPWSTR>(name.c_str()), nullptr, nullptr, &size, CDM_DRIVER_DEFAULT);
    std::vector<BYTE> dm(static_cast<size_t>(size > 0 ? size : 0));
    if (dm.empty() || !convert(const_cast<LPWSTR>(name.c_str()), nullptr, reinterpret_cast<DEVMODEW*>(dm.data()),
                               &size, CDM_DRIVER_DEFAULT))
        return {};
    return dm;
}

void ResetToDefaults(const std::wstring& name) {
    CZQSpoolPrinter h = OpenFully(name);
    std::vector<BYTE> dm = DriverDefault(name);
    ASSERT_FALSE(dm.empty());
    ASSERT_TRUE(ZQStoreDefaultDevmode(h.Get(), dm));
    ASSERT_TRUE(ZQWriteDeviceSettings(h.Get(), {}));
}

void PutAnswer(HANDLE hPrinter, const wchar_t* name, const wchar_t* text) {
    WCHAR guid[64] = {};
    DWORD type = 0, needed = 0;
    ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS),
              GetPrinterDataExW(hPrinter, L"ZQPresetRoot", L"ZQRestrictedUserGuid", &type, reinterpret_cast<BYTE*>(guid),
                                sizeof guid - sizeof(WCHAR), &needed));
    const std::wstring key = std::wstring(L"Software\\Quorvane\\") + guid + L"\\ZQBIDIInfo";
    if (text)
        RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), name, REG_SZ, text,
                        static_cast<DWORD>((wcslen(text) + 1) * sizeof(WCHAR)));
    else
        RegDeleteKeyValueW(HKEY_CURRENT_USER, key.c_str(), name);
}

AppWindow::AppWindow() {
    m_hwnd = CreateWindowExW(0, L"STATIC", L"Application", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 320, 200, nullptr,
                             nullptr, nullptr, nullptr);
    EXPECT_NE(nullptr, m_hwnd);
}

void AppWindow::Front() const {
    if (m_hwnd) SetForegroundWindow(m_hwnd);
}

void AppWindow::Close() {
    if (m_hwnd) DestroyWindow(m_hwnd);
    m_hwnd = nullptr;
}

// ---- message boxes, found as windows

namespace {

thread_local BoxAnswers* t_boxAnswers = nullptr;
const wchar_t kAnsweredProp[] = L"ZQTestAnswered";

// A dialog of this thread that is no property sheet and has not been answered yet.
BOOL CALLBACK FindBoxProc(HWND hwnd, LPARAM lParam) {
    WCHAR cls[32] = {};
    GetClassNameW(hwnd, cls, 32);
    // A dialog a press waits for is the press's own, not a box to answer: both look on the same
    // timer tick.
    const HWND awaited = ZQAwaitedDialogOwner();
    if (IsWindowVisible(hwnd) && lstrcmpW(cls, L"#32770") == 0 && !GetPropW(hwnd, kAnsweredProp) &&
        !FindWindowExW(hwnd, nullptr, WC_TABCONTROLW, nullptr) && !(awaited && GetWindow(hwnd, GW_OWNER) == awaited)) {
        *reinterpret_cast<HWND*>(lParam) = hwnd;
        return FALSE;
    }
    return TRUE;
}

std::wstring WindowText(HWND hwnd) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

}  // namespace

BoxAnswers::BoxAnswers(std::vector<int> answers) : m_answers(std::move(answers)) {
    t_boxAnswers = this;
    m_timer = SetTimer(nullptr, 0, 50, Tick);
}

BoxAnswers::~BoxAnswers() {
    if (m_timer) KillTimer(nullptr, m_timer);
    if (t_boxAnswers == this) t_boxAnswers = nullptr;
}

void CALLBACK BoxAnswers::Tick(HWND, UINT, UINT_PTR, DWORD) {
    BoxAnswers* self = t_boxAnswers;
    if (!self) return;
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindBoxProc, reinterpret_cast<LPARAM>(&box));
    if (box) self->Answer(box);
}

void BoxAnswers::Answer(HWND box) {
    SetPropW(box, kAnsweredProp, reinterpret_cast<HANDLE>(1));
    SeenBox seen;
    seen.owner = GetWindow(box, GW_OWNER);
    seen.caption = WindowText(box);
    // The message is the box's one static text; the icon's static has none.
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        WCHAR cls[32] = {};
        GetClassNameW(child, cls, 32);
        const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
        if (lstrcmpiW(cls, L"Button") == 0 && (style & 0x0F) <= BS_DEFPUSHBUTTON && IsWindowVisible(child))
            seen.buttons.push_back(GetDlgCtrlID(child));
        else if (lstrcmpiW(cls, L"Static") == 0 && seen.text.empty())
            seen.text = WindowText(child);
    }
    m_boxes.push_back(seen);
    const int answer = m_boxes.size() <= m_answers.size() ? m_answers[m_boxes.size() - 1] : IDOK;
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, answer)));
}

// ---- the core driver's property page, driven by window messages

std::wstring PluginStatus(HWND page) {
    WCHAR text[256] = {};
    GetDlgItemTextW(page, kZQIdStatus, text, 256);
    return text;
}

// ---- devmodes of the core driver stand-in

zqhostdm::ParsedPrivate Private(const std::vector<BYTE>& dm) {
    const auto* pub = reinterpret_cast<const DEVMODEW*>(dm.data());
    return zqhostdm::ParsePrivate(dm.data() + pub->dmSize, dm.size() - pub->dmSize);
}

std::string Selected(const std::vector<BYTE>& dm, const std::string& feature) {
    for (const auto& [key, value] : Private(dm).selections)
        if (key == feature) return value;
    return "";
}

const BYTE* OemBlock(const std::vector<BYTE>& dm) {
    const auto priv = Private(dm);
    return priv.cbOem ? dm.data() + reinterpret_cast<const DEVMODEW*>(dm.data())->dmSize + priv.oemOffset : nullptr;
}

std::vector<BYTE> PreferencesOnPage(const std::wstring& printer, const std::wstring& title,
                                    const std::function<void(HWND)>& hook) {
    CZQSpoolPrinter h = OpenFully(printer);
    std::vector<BYTE> out;
    CZQAutoPress press(50, [&](HWND sheet) {
        ASSERT_TRUE(ZQShowPage(sheet, title));
        hook(ZQCurrentPage(sheet));
    });
    EXPECT_EQ(IDOK, ZQOpenPreferences(h.Get(), printer, nullptr, out));
    return out;
}

}  // namespace zqhosttest
