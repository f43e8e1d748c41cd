// Shared helpers of the test executables.
#pragma once

#include <windows.h>

#include <string>

namespace zqtest {

// Folder of the running test executable (the build's bin folder, where the DLLs are).
std::wstring ExeDir();
// Full path of a file beside the test executable.
std::wstring BesideExe(const wchar_t* name);

}  // namespace zqtest
