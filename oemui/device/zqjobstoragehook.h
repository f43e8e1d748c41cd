// CZQJobStorageHook: at the start of a job (DOCUMENTEVENT_STARTDOCPOST) asks the driver's rendering
// side, through escape 3900 on the job's device context, which of the warning module's dialogs the
// job needs - the job-storage dialog (user and job name of a stored job) and the display dialog -
// and shows them. The plug-in object makes one on its stack for the event.
#pragma once

#include "common/zqcommon.h"
#include "common/zqhandles.h"
#include "platform/zqcoremodapi.h"

class CZQJobStorageHook : public CZQCommon {
public:
    CZQJobStorageHook() = default;

    // The document event's own arguments (the input points to the job id). Every failure ends the
    // hook quietly: 1, unless a dialog routine answered otherwise; the result also goes to
    // *piResult when given.
    int IStartDocPost(HANDLE hPrinter, HDC hdc, INT iEsc, ULONG cbIn, PVOID pvIn, ULONG cbOut, PVOID pvOut,
                      PINT piResult);
    // The job-storage request, filled from the escape's part, the job and the printer, to the
    // module's "VJobStorageDialog". TRUE.
    BOOL BShowJobStorageDialog(HANDLE hPrinter, HDC hdc, INT iEsc, ULONG cbIn, PVOID pvIn, HMODULE hModule,
                               ZQJobStorageEscape request);
    // The display request to the module, except for a raw or text job. TRUE.
    BOOL BShowDisplayDialog(HANDLE hPrinter, HDC hdc, INT iEsc, ULONG cbIn, PVOID pvIn, HMODULE hModule,
                            ZQDisplayRequest request);

    // The escape is asked through this function (ExtEscape unless replaced): the rendering side
    // that answers it is the driver's, not this module's. Returns the previous one; null restores
    // ExtEscape.
    typedef int(WINAPI* PFN_Escape)(HDC hdc, int iEscape, int cbInput, LPCSTR pvInput, int cbOutput, LPSTR pvOutput);
    static PFN_Escape SetEscapeFunction(PFN_Escape pfn);

private:
    // The escape's answer, zero-filled first (a driver that does not answer leaves it so).
    CZQLocalPtr<ZQJobDialogsEscape> m_block;
};
