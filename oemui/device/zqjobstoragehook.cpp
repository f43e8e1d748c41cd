// The job-storage and display dialogs of the warning module at the start of a job.
#include "device/zqjobstoragehook.h"

#include <algorithm>
#include <cstring>

#include "common/zqprinterdata.h"
#include "common/zqstorenames.h"
#include "common/zqstrings.h"
#include "common/zqtrace.h"
#include "platform/zqwarnmodapi.h"
#include "zqproc.h"

namespace {

constexpr size_t kNameChars = CZQCommon::kJobNameChars;  // 16 characters and the terminator

// GDI's escape, looked up at each call like every other import of the module.
int WINAPI SystemEscape(HDC hdc, int iEscape, int cbInput, LPCSTR pvInput, int cbOutput, LPSTR pvOutput) {
    return ExtEscape(hdc, iEscape, cbInput, pvInput, cbOutput, pvOutput);
}

CZQJobStorageHook::PFN_Escape g_pfnEscape = &SystemEscape;

// The job id the event's input points to; 0 without one.
DWORD JobIdOf(ULONG cbIn, PVOID pvIn) {
    DWORD id = 0;
    if (pvIn && cbIn >= sizeof id) memcpy(&id, pvIn, sizeof id);
    return id;
}

// Names from the escape's block or the spooler: at most 16 characters, always terminated.
void CopyName(WCHAR (&szDest)[kNameChars], PCWSTR pszSource, size_t cchSourceMax) {
    ZQCopyTextN(szDest, kNameChars, pszSource ? pszSource : L"", std::min(cchSourceMax, kNameChars - 1));
}

// An index the table does not know counts as the first entry.
PCWSTR EncodingName(DWORD dwIndex) {
    return kZQJobNameEncodings[dwIndex < ARRAYSIZE(kZQJobNameEncodings) ? dwIndex : 0];
}

}  // namespace

CZQJobStorageHook::PFN_Escape CZQJobStorageHook::SetEscapeFunction(PFN_Escape pfn) {
    const PFN_Escape previous = g_pfnEscape;
    g_pfnEscape = pfn ? pfn : &SystemEscape;
    return previous;
}

int CZQJobStorageHook::IStartDocPost(HANDLE hPrinter, HDC hdc, INT iEsc, ULONG cbIn, PVOID pvIn, ULONG, PVOID,
                                     PINT piResult) {
    ZQ_TRACE("CZQJobStorageHook::IStartDocPost");
    const auto run = [&]() -> int {
        if (!m_block.Alloc(1)) return 1;
        // What the escape answers does not matter: a driver that does not know it leaves zeros.
        g_pfnEscape(hdc, kZQEscapeJobDialogs, 0, nullptr, sizeof(ZQJobDialogsEscape),
                    reinterpret_cast<LPSTR>(m_block.Get()));
        const ZQJobDialogsEscape& block = *m_block.Get();
        const bool jobStorage = block.jobStorage.dwShow == 1;
        const bool display = block.display.dwShow == 1;
        if (!jobStorage && !display) return 1;
        CZQLocalPtr<WCHAR> path;
        if (!hPrinter || !BGetDriverDirFile(hPrinter, path.Put(), kZQWarnModFile)) return 1;
        // Released after its dialogs: they are modal and keep nothing behind.
        CZQModule module(HLoadLibrary(path.Get()));
        if (!module) return 1;
        int result = 1;
        if (jobStorage) result = BShowJobStorageDialog(hPrinter, hdc, iEsc, cbIn, pvIn, module.Get(), block.jobStorage);
        if (display) result = BShowDisplayDialog(hPrinter, hdc, iEsc, cbIn, pvIn, module.Get(), block.display);
        return result;
    };
    const int result = run();
    if (piResult) *piResult = result;
    return result;
}

BOOL CZQJobStorageHook::BShowJobStorageDialog(HANDLE hPrinter, HDC, INT, ULONG cbIn, PVOID pvIn, HMODULE hModule,
                                              ZQJobStorageEscape request) {
    ZQ_TRACE("CZQJobStorageHook::BShowJobStorageDialog");
    ZQJobStorageRequest dialog = {};
    const DWORD jobId = JobIdOf(cbIn, pvIn);
    CZQLocalPtr<JOB_INFO_2W> job;
    const bool haveJob = hPrinter && BGetJobInfo2(hPrinter, jobId, job.Put());
    if (!request.dwUseUserName && haveJob)
        CopyName(dialog.szUserName, job.Get()->pUserName, kNameChars);
    else
        CopyName(dialog.szUserName, request.szUserName, ARRAYSIZE(request.szUserName));

    if (hPrinter) {
        CZQLocalPtr<PRINTER_INFO_2W> printer;
        if (BGetPrinterInfo2(hPrinter, nullptr, nullptr, printer.Put())) {
            const PRINTER_INFO_2W& info = *printer.Get();
            if (info.pPrinterName) ZQCopyText(dialog.szPrinterName, ARRAYSIZE(dialog.szPrinterName), info.pPrinterName);
            if (info.pPortName) ZQCopyText(dialog.szPortName, ARRAYSIZE(dialog.szPortName), info.pPortName);
            if (info.pLocation) ZQCopyText(dialog.szLocation, ARRAYSIZE(dialog.szLocation), info.pLocation);
        }
    }

    if (request.dwUseJobName == 1)
        CopyName(dialog.szJobName, request.szJobName, ARRAYSIZE(request.szJobName));
    else if (haveJob && jobId)
        VMakeJobName(hPrinter, jobId, job.Get()->pDocument, dialog.szJobName, EncodingName(request.dwEncoding));

    if (hPrinter) {
        VGetDialogPaths(hPrinter, dialog.szCoreModPath, dialog.szHelpFile);
        // The raw bytes as far as they fit: the user's key name, without its terminator when it
        // is a braced GUID.
        DWORD type = 0, cb = 0;
        CZQLocalPtr<BYTE> guid;
        if (ZQReadStoredValue(hPrinter, zqsettings::kPresetRootKey, zqsettings::kRestrictedUserGuid, &type, guid,
                              &cb) == ERROR_SUCCESS)
            memcpy(dialog.abRestrictedUserGuid, guid.Get(), std::min<size_t>(cb, sizeof dialog.abRestrictedUserGuid));
    }

    dialog.dwOptionA = dialog.dwOptionB = request.dwOptionA == 1 && request.dwOptionB == 1 ? 1 : 0;
    if (auto pfn = ZQGetProc<PFN_VJobStorageDialog>(hModule, "VJobStorageDialog")) pfn(dialog);
    return TRUE;
}

BOOL CZQJobStorageHook::BShowDisplayDialog(HANDLE hPrinter, HDC, INT, ULONG cbIn, PVOID pvIn, HMODULE hModule,
                                           ZQDisplayRequest request) {
    ZQ_TRACE("CZQJobStorageHook::BShowDisplayDialog");
    // The dialog belongs to jobs the driver renders; raw and text data pass it by.
    const DWORD jobId = JobIdOf(cbIn, pvIn);
    if (jobId && BIsRawOrTextJob(hPrinter, jobId)) return TRUE;
    VCallDisplayDialog(hPrinter, request, hModule);
    return TRUE;
}
