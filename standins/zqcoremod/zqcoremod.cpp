// Stand-in of the status module's dialogs: no window, only a record of the request.
#include <windows.h>

#include "platform/zqcoremodapi.h"
#include "zqcoremodrecord.h"

namespace {

void Record(PCWSTR pszValue, const void* pData, DWORD cbData) {
    HKEY hKey = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kZQCoreModRecordKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &hKey,
                        nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExW(hKey, pszValue, 0, REG_BINARY, static_cast<const BYTE*>(pData), cbData);
    RegCloseKey(hKey);
}

}  // namespace

extern "C" void WINAPI VDisplayDialog(ZQDisplayRequest request) { Record(L"VDisplayDialog", &request, sizeof request); }

extern "C" void WINAPI VJobStorageDialog(ZQJobStorageRequest request) {
    Record(L"VJobStorageDialog", &request, sizeof request);
}
