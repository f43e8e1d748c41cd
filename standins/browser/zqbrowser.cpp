// Stand-in of the web browser: appends its command line (UTF-8, one line) to the file that the
// environment variable ZQBROWSER_LOG names, else to zqbrowser.log in the temporary folder.
#include <windows.h>

#include <string>

int wmain() {
    WCHAR path[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"ZQBROWSER_LOG", path, MAX_PATH)) {
        const DWORD n = GetTempPathW(MAX_PATH, path);
        if (!n || n + 16 > MAX_PATH) return 1;
        lstrcatW(path, L"zqbrowser.log");
    }
    const PCWSTR line = GetCommandLineW();
    const int cb = WideCharToMultiByte(CP_UTF8, 0, line, -1, nullptr, 0, nullptr, nullptr);
    if (cb <= 0) return 1;
    std::string text(static_cast<size_t>(cb), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line, -1, text.data(), cb, nullptr, nullptr);
    text.back() = '\n';
    HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    return ok ? 0 : 1;
}
