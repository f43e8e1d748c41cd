#include "hosttest.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/oemuiplatform.h"
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
    for (const wchar_t* model : {L"samples\\zqdesk\\zqdesk.zqm", L"samples\\zqroll\\zqroll.zqm"}) {
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

// ---- the core driver's property page, driven by window messages

HWND CurrentPage(HWND sheet) { return reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)); }

int RowOf(HWND page, const std::wstring& name, bool last) {
    HWND list = GetDlgItem(page, kZQIdList);
    int found = -1;
    for (int row = 0; row < ListView_GetItemCount(list); ++row) {
        WCHAR text[256] = {};
        ListView_GetItemText(list, row, 0, text, 256);
        if (name != text) continue;
        found = row;
        if (!last) break;
    }
    return found;
}

std::wstring RowValue(HWND page, const std::wstring& name, bool last) {
    WCHAR text[256] = {};
    const int row = RowOf(page, name, last);
    if (row >= 0) ListView_GetItemText(GetDlgItem(page, kZQIdList), row, 1, text, 256);
    return text;
}

bool SelectRow(HWND page, const std::wstring& name, bool last) {
    const int row = RowOf(page, name, last);
    if (row < 0) return false;
    ListView_SetItemState(GetDlgItem(page, kZQIdList), row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    return true;
}

std::vector<std::wstring> ComboEntries(HWND page) {
    std::vector<std::wstring> out;
    HWND combo = GetDlgItem(page, kZQIdCombo);
    for (LRESULT i = 0; i < SendMessageW(combo, CB_GETCOUNT, 0, 0); ++i) {
        WCHAR text[256] = {};
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        out.push_back(text);
    }
    return out;
}

bool Choose(HWND page, const std::wstring& row, const std::wstring& option, bool last) {
    if (!SelectRow(page, row, last)) return false;
    HWND combo = GetDlgItem(page, kZQIdCombo);
    const LRESULT at = SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(option.c_str()));
    if (at < 0) return false;
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(at), 0);
    SendMessageW(page, WM_COMMAND, MAKEWPARAM(kZQIdCombo, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    return true;
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

}  // namespace zqhosttest
