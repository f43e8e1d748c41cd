// Helpers of the host tests: test environment variables, the recording plug-in's log, models.
#pragma once

#include "platform/oemuiplatform.h"

#include <string>
#include <vector>

#include "zqmodel.h"

namespace zqhosttest {

// Sets an environment variable for the life of the object (the plug-ins run in this process).
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string m_name;
};

// A fresh log file for the recording plug-in, named in ZQREC_LOG while the object lives.
class RecorderLog {
public:
    RecorderLog();
    ~RecorderLog();
    RecorderLog(const RecorderLog&) = delete;
    RecorderLog& operator=(const RecorderLog&) = delete;
    std::vector<std::string> Lines() const;
    void Clear() const;
    bool Contains(const std::string& line) const;

private:
    std::string m_path;
    ScopedEnv* m_env = nullptr;
};

// A model file beside the test executable (bin\hostdata, bin\samples).
zqmodel::Model LoadModel(const wchar_t* relativePath);
// The option item of a feature keyword, or null.
POPTITEM FindItem(POPTITEM items, DWORD count, const char* keyword);

}  // namespace zqhosttest
