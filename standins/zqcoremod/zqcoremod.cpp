// Stand-in of the status module's dialogs: no window, only a record of the request.
#include <windows.h>

#include "zqcoremodapi.h"
#include "zqcoremodrecord.h"
#include "zqstandinrecord.h"

extern "C" void WINAPI VDisplayDialog(ZQDisplayRequest request) {
    zqstandin::VRecord(kZQCoreModRecordKey, L"VDisplayDialog", &request, sizeof request);
}

extern "C" void WINAPI VJobStorageDialog(ZQJobStorageRequest request) {
    zqstandin::VRecord(kZQCoreModRecordKey, L"VJobStorageDialog", &request, sizeof request);
}
