#include "hosttest.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/oemuiplatform.h"
#include "testsupport.h"
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

}  // namespace zqhosttest
