// Stand-in of the warning module: records each request and answers as the test scripted it.
#include <windows.h>

#include <cwchar>

#include "zqcoremodapi.h"
#include "zqwarnmodapi.h"
#include "zqstandinrecord.h"
#include "zqwarnmodrecord.h"

extern "C" DWORD WINAPI IShowWarningDialog(ZQPopupRecord record) {
    const DWORD calls = zqstandin::DWSetting(kZQWarnModRecordKey, L"Calls", 0) + 1;
    zqstandin::VRecordTyped(kZQWarnModRecordKey, L"Calls", REG_DWORD, &calls, sizeof calls);
    zqstandin::VRecord(kZQWarnModRecordKey, L"IShowWarningDialog", &record, sizeof record);
    wchar_t name[40];
    swprintf(name, 40, L"IShowWarningDialog#%lu", static_cast<unsigned long>(calls));
    zqstandin::VRecord(kZQWarnModRecordKey, name, &record, sizeof record);
    return zqstandin::DWSetting(kZQWarnModRecordKey, L"Answer", IDOK);
}

extern "C" void WINAPI VDisplayDialog(ZQDisplayRequest request) {
    zqstandin::VRecord(kZQWarnModRecordKey, L"VDisplayDialog", &request, sizeof request);
}

extern "C" void WINAPI VJobStorageDialog(ZQJobStorageRequest request) {
    zqstandin::VRecord(kZQWarnModRecordKey, L"VJobStorageDialog", &request, sizeof request);
}
