#include "testsupport.h"

namespace zqtest {

std::wstring ExeDir() {
    wchar_t path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring s(path, n);
    size_t slash = s.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring(L".") : s.substr(0, slash);
}

std::wstring BesideExe(const wchar_t* name) { return ExeDir() + L"\\" + name; }

}  // namespace zqtest
