// Stand-in of the programs zqagent.exe and zqlink.exe: "-RegServer" and "-UnregServer" at the end
// of the command line register or remove the class that the library of the same name beside the
// program serves. The program ends when that is done; its exit code is the result (0 on success).
#include <windows.h>

#include <string>

#include "zqdevshared.h"

namespace {

HRESULT HrRun(const std::wstring& commandLine) {
    std::wstring line = commandLine;
    while (!line.empty() && (line.back() == L' ' || line.back() == L'\t')) line.pop_back();
    const bool reg = zqdev::EndsWithNoCase(line, L"-RegServer") || zqdev::EndsWithNoCase(line, L"/RegServer");
    const bool unreg = zqdev::EndsWithNoCase(line, L"-UnregServer") || zqdev::EndsWithNoCase(line, L"/UnregServer");
    if (!reg && !unreg) return E_INVALIDARG;
    std::wstring library = zqdev::ModulePath(nullptr);
    const size_t dot = library.find_last_of(L'.');
    if (dot == std::wstring::npos) return E_UNEXPECTED;
    library.replace(dot, std::wstring::npos, L".dll");
    HMODULE module = LoadLibraryW(library.c_str());
    if (!module) return HRESULT_FROM_WIN32(GetLastError());
    using Entry = HRESULT(WINAPI*)();
    const auto entry = reinterpret_cast<Entry>(
        reinterpret_cast<void*>(GetProcAddress(module, reg ? "DllRegisterServer" : "DllUnregisterServer")));
    const HRESULT hr = entry ? entry() : HRESULT_FROM_WIN32(GetLastError());
    FreeLibrary(module);
    return hr;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const std::wstring commandLine = GetCommandLineW();
    const HRESULT hr = HrRun(commandLine);
    const std::wstring program = zqdev::ModulePath(nullptr);
    zqdev::VLog(program.substr(program.find_last_of(L'\\') + 1) + L" " +
                commandLine.substr(commandLine.find_last_of(L' ') + 1) + L" = " + zqdev::HrText(hr));
    return static_cast<int>(hr);
}
