// Stand-in of the page-exceptions module: records each call and answers as the test scripted it.
#include <windows.h>

#include "zqpageexceptionsapi.h"
#include "zqpgexcrecord.h"
#include "zqstandinrecord.h"

extern "C" BOOL WINAPI ZQEditPageExceptions(PageExceptionsParams* pParams) {
    const DWORD calls = zqstandin::DWSetting(kZQPgExcRecordKey, L"Calls", 0) + 1;
    zqstandin::VRecordTyped(kZQPgExcRecordKey, L"Calls", REG_DWORD, &calls, sizeof calls);
    if (!pParams) return FALSE;
    zqstandin::VRecord(kZQPgExcRecordKey, L"Block", pParams, sizeof *pParams);
    if (pParams->pRecord) {
        zqstandin::VRecord(kZQPgExcRecordKey, L"Record", pParams->pRecord, sizeof *pParams->pRecord);
        const DWORD none = 0xFFFFFFFF;
        const DWORD kinds = zqstandin::DWSetting(kZQPgExcRecordKey, L"KindsInUse", none);
        if (kinds != none) pParams->pRecord->dwKindsInUse = kinds;
    }
    return zqstandin::DWSetting(kZQPgExcRecordKey, L"Answer", 1) != 0;
}
