// Records its own command line and ends.
#include <windows.h>

#include "zqcmdlogrecord.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const wchar_t* line = GetCommandLineW();
    return static_cast<int>(RegSetKeyValueW(HKEY_CURRENT_USER, kZQCmdLogKey, L"Last", REG_SZ, line,
                                            static_cast<DWORD>((lstrlenW(line) + 1) * sizeof(wchar_t))));
}
