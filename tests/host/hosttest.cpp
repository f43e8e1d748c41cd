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
