// Printer, driver and job records and printer data, through the spooler layer.
#include <cwchar>

#include "platform/zqprinterview.h"
#include "platform/zqspooler.h"
#include "common/zqcommon.h"
#include "common/zqhandles.h"
#include "common/zqprinterdata.h"
#include "common/zqstorenames.h"
#include "common/zqstrings.h"

#include <versionhelpers.h>

namespace {

// The value the test write of the printer's data stores.
constexpr WCHAR kWriteProbe[] = L"ZQDUMMY";

// A spooler record in one zero-filled local-heap block. query(buffer, size, &needed) is asked for
// the size first; a record that grows between the two calls is asked for again.
template <typename Query>
BYTE* QueryRecord(Query query) {
    DWORD needed = 0;
    if (query(nullptr, 0, &needed)) return nullptr;  // nothing to hold
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (needed == 0 || GetLastError() != ERROR_INSUFFICIENT_BUFFER) return nullptr;
        CZQLocalPtr<BYTE> buffer;
        if (!buffer.Alloc(needed)) return nullptr;
        DWORD size = needed;
        if (query(buffer.Get(), size, &needed)) return buffer.Release();
    }
    return nullptr;
}

// Opens the printer by name to read it: administrator rights first, as the callers expect, and
// plain use rights when those are refused, since reading needs no more.
bool OpenForReading(PCWSTR pszName, PDEVMODEW pDevmode, CZQPrinterHandle& printer) {
    if (!pszName) return false;
    PRINTER_DEFAULTSW defaults = {nullptr, pDevmode, PRINTER_ALL_ACCESS};
    const auto& sp = zqspool::Spooler();
    if (sp.OpenPrinterW(const_cast<PWSTR>(pszName), printer.Put(), &defaults)) return true;
    if (GetLastError() != ERROR_ACCESS_DENIED) return false;
    defaults.DesiredAccess = PRINTER_ACCESS_USE;
    return sp.OpenPrinterW(const_cast<PWSTR>(pszName), printer.Put(), &defaults) != FALSE;
}

// The level-2 or level-3 record of an open printer, or of one opened by name for the call.
template <typename Record, typename Query>
BOOL ReadRecord(HANDLE hPrinter, PCWSTR pszName, PDEVMODEW pDevmode, Record** ppInfo, Query query) {
    if (!ppInfo) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    *ppInfo = nullptr;
    CZQPrinterHandle opened;
    if (!hPrinter) {
        if (!OpenForReading(pszName, pDevmode, opened)) return FALSE;
        hPrinter = opened.Get();
    }
    *ppInfo = reinterpret_cast<Record*>(QueryRecord([&](BYTE* p, DWORD cb, DWORD* pNeeded) {
        return query(hPrinter, p, cb, pNeeded);
    }));
    return *ppInfo != nullptr;
}

BOOL QueryPrinter2(HANDLE h, BYTE* p, DWORD cb, DWORD* pNeeded) {
    return zqspool::Spooler().GetPrinterW(h, 2, p, cb, pNeeded);
}

BOOL QueryDriver3(HANDLE h, BYTE* p, DWORD cb, DWORD* pNeeded) {
    return zqspool::Spooler().GetPrinterDriverW(h, nullptr, 3, p, cb, pNeeded);
}

// Texts of printer data read as REG_SZ into a bounded, terminated buffer.
bool ReadPrinterText(HANDLE hPrinter, PCWSTR pszValue, PWSTR pszOut, DWORD cchOut) {
    DWORD type = 0, needed = 0;
    pszOut[0] = 0;
    const DWORD rc = zqspool::Spooler().GetPrinterDataW(hPrinter, const_cast<PWSTR>(pszValue), &type,
                                                        reinterpret_cast<BYTE*>(pszOut),
                                                        (cchOut - 1) * sizeof(WCHAR), &needed);
    pszOut[cchOut - 1] = 0;
    return rc == ERROR_SUCCESS && type == REG_SZ;
}

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" and nothing else.
bool IsGuidText(PCWSTR s) {
    if (wcslen(s) != 38 || s[0] != L'{' || s[37] != L'}') return false;
    for (int i = 1; i < 37; ++i) {
        const bool dash = i == 9 || i == 14 || i == 19 || i == 24;
        const WCHAR c = s[i];
        const bool hex = (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F');
        if (dash ? c != L'-' : !hex) return false;
    }
    return true;
}

// Whether the handle may write the printer's data: the test write of REG_DWORD 0 as "ZQDUMMY". A
// sheet's view keeps the answer for its handle, so a sheet writes it once.
bool ProbeWrite(HANDLE hPrinter) {
    bool kept = false;
    if (zqspool::KeptWriteAnswer(hPrinter, &kept)) {
        SetLastError(kept ? ERROR_SUCCESS : ERROR_ACCESS_DENIED);
        return kept;
    }
    DWORD zero = 0;
    const DWORD rc = ZQWriteStoredValue(hPrinter, nullptr, kWriteProbe, REG_DWORD, &zero, sizeof zero);
    // Only a refusal is an answer: a spooler that did not answer is asked again.
    if (rc == ERROR_SUCCESS || rc == ERROR_ACCESS_DENIED) zqspool::KeepWriteAnswer(hPrinter, rc == ERROR_SUCCESS);
    SetLastError(rc);
    return rc == ERROR_SUCCESS;
}

}  // namespace

BOOL CZQCommon::BGetPrinterInfo2(HANDLE hPrinter, PCWSTR pszName, PDEVMODEW pDevmode, PRINTER_INFO_2W** ppInfo) {
    return ReadRecord(hPrinter, pszName, pDevmode, ppInfo, &QueryPrinter2);
}

BOOL CZQCommon::BGetPrinterDriverInfo(HANDLE hPrinter, PCWSTR pszName, PDEVMODEW pDevmode, DRIVER_INFO_3W** ppInfo) {
    return ReadRecord(hPrinter, pszName, pDevmode, ppInfo, &QueryDriver3);
}

BOOL CZQCommon::BGetDriverInfo3(HANDLE hPrinter, DRIVER_INFO_3W** ppInfo) {
    if (!hPrinter) {
        if (ppInfo) *ppInfo = nullptr;
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    // A sheet's view of the printer's data answers the record of its handle from one read.
    return ReadRecord(hPrinter, nullptr, nullptr, ppInfo, &QueryDriver3);
}

BOOL CZQCommon::BGetPrinterName(HANDLE hPrinter, PWSTR* ppszName) {
    if (ppszName) *ppszName = nullptr;
    if (!hPrinter || !ppszName) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    CZQLocalPtr<PRINTER_INFO_2W> info;
    if (!BGetPrinterInfo2(hPrinter, nullptr, nullptr, info.Put()) || !info.Get()->pPrinterName) return FALSE;
    *ppszName = ZQDupText(info.Get()->pPrinterName);
    return *ppszName != nullptr;
}

BOOL CZQCommon::BIsLocalPrinter(HANDLE hPrinter) {
    if (!hPrinter) return FALSE;
    CZQLocalPtr<PRINTER_INFO_2W> info;
    if (!BGetPrinterInfo2(hPrinter, nullptr, nullptr, info.Put())) return FALSE;
    return !info.Get()->pServerName || !info.Get()->pServerName[0];
}

BOOL CZQCommon::BGetJobInfo2(HANDLE hPrinter, DWORD dwJobId, JOB_INFO_2W** ppInfo) {
    if (ppInfo) *ppInfo = nullptr;
    if (!hPrinter || !ppInfo) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    *ppInfo = reinterpret_cast<JOB_INFO_2W*>(QueryRecord([&](BYTE* p, DWORD cb, DWORD* pNeeded) {
        return zqspool::Spooler().GetJobW(hPrinter, dwJobId, 2, p, cb, pNeeded);
    }));
    return *ppInfo != nullptr;
}

BOOL CZQCommon::BIsRawOrTextJob(HANDLE hPrinter, DWORD dwJobId) {
    CZQLocalPtr<JOB_INFO_2W> job;
    return BGetJobInfo2(hPrinter, dwJobId, job.Put()) && BIsRawDatatype(job.Get()->pDatatype);
}

BOOL CZQCommon::BIsRawDatatype(PCWSTR pszDatatype) {
    if (!pszDatatype) return FALSE;
    WCHAR type[64];
    ZQCopyText(type, 64, pszDatatype);
    CharUpperW(type);
    return wcsstr(type, L"RAW") != nullptr || lstrcmpW(type, L"TEXT") == 0;
}

BOOL CZQCommon::BGetDriverDirFile(HANDLE hPrinter, PWSTR* ppszPath, PCWSTR pszFile) {
    if (ppszPath) *ppszPath = nullptr;
    if (!ppszPath) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    // Every module and file of the driver's directory is named through here: a name that would
    // reach elsewhere names none of them.
    if (pszFile && !ZQIsPlainFileName(pszFile)) {
        SetLastError(ERROR_INVALID_NAME);
        return FALSE;
    }
    CZQLocalPtr<DRIVER_INFO_3W> driver;
    if (!BGetDriverInfo3(hPrinter, driver.Put()) || !driver.Get()->pDriverPath) return FALSE;
    PCWSTR driverPath = driver.Get()->pDriverPath;
    PCWSTR slash = wcsrchr(driverPath, L'\\');
    if (!slash) return FALSE;
    const size_t dirLen = static_cast<size_t>(slash - driverPath);
    const size_t fileLen = pszFile ? wcslen(pszFile) : 0;
    CZQLocalPtr<WCHAR> path;
    if (!path.Alloc(dirLen + 1 + fileLen + 1)) return FALSE;
    ZQCopyTextN(path.Get(), dirLen + 1, driverPath, dirLen);
    if (pszFile) {
        ZQAppendText(path.Get(), dirLen + fileLen + 2, L"\\");
        ZQAppendText(path.Get(), dirLen + fileLen + 2, pszFile);
    }
    *ppszPath = path.Release();
    return TRUE;
}

BOOL CZQCommon::BGetDriverKeyPath(HANDLE hPrinter, PCWSTR pszDriver, PWSTR* ppszKeyPath) {
    if (ppszKeyPath) *ppszKeyPath = nullptr;
    if (!ppszKeyPath) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    CZQLocalPtr<DRIVER_INFO_3W> driver;
    const bool known = BGetDriverInfo3(hPrinter, driver.Put()) && driver.Get()->pEnvironment;
    // A driver named without a printer (a driver event) is one of this platform's.
    if (!known && (hPrinter || !pszDriver)) return FALSE;
    PCWSTR environment = known ? driver.Get()->pEnvironment : kPlatformEnvironment;
    PCWSTR name = pszDriver ? pszDriver : driver.Get()->pName;
    if (!name) return FALSE;
    const PCWSTR kFormat = zqsettings::kDriverKeyFormat;
    const size_t cch = wcslen(kFormat) + wcslen(environment) + wcslen(name) + 1;
    CZQLocalPtr<WCHAR> path;
    if (!path.Alloc(cch)) return FALSE;
    if (FAILED(ZQFormatText(path.Get(), cch, kFormat, environment, name))) return FALSE;
    *ppszKeyPath = path.Release();
    return TRUE;
}

BOOL CZQCommon::BGetHelpFilePath(HANDLE hPrinter, PWSTR* ppszPath) {
    if (ppszPath) *ppszPath = nullptr;
    if (!ppszPath) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    CZQLocalPtr<DRIVER_INFO_3W> driver;
    if (!BGetDriverInfo3(hPrinter, driver.Put())) return FALSE;
    PCWSTR help = driver.Get()->pHelpFile;
    if (!help || !help[0]) {
        SetLastError(ERROR_FILE_NOT_FOUND);  // the driver has none
        return FALSE;
    }
    *ppszPath = ZQDupText(help);
    return *ppszPath != nullptr;
}

int CZQCommon::IGetPortKind(HANDLE hPrinter) {
    CZQLocalPtr<PRINTER_INFO_2W> info;
    if (!hPrinter || !BGetPrinterInfo2(hPrinter, nullptr, nullptr, info.Put()) || !info.Get()->pPortName) return 0;
    CZQLocalPtr<WCHAR> port(ZQDupText(info.Get()->pPortName));
    if (!port) return 0;
    CharUpperW(port.Get());
    static const struct {
        PCWSTR text;
        int kind;
    } kKinds[] = {{L"LPT1:", 1}, {L"LPT2:", 2}, {L"LPT3:", 3}, {L"USB", 4},
                  {L"DOT4", 5},  {L"FILE:", 6}, {L":\\", 8}};
    for (const auto& k : kKinds)
        if (wcsstr(port.Get(), k.text)) return k.kind;
    return 0;
}

BOOL CZQCommon::BGetFormSize(HANDLE hPrinter, const DEVMODEW* pDevmode, WORD wPaper, LONG* plWidth, LONG* plLength) {
    if (!plWidth || !plLength) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    *plWidth = pDevmode ? pDevmode->dmPaperWidth : 0;
    *plLength = pDevmode ? pDevmode->dmPaperLength : 0;
    DWORD count = 0;
    CZQLocalPtr<FORM_INFO_1W> forms;
    if (!BEnumForms(hPrinter, forms.Put(), &count)) return FALSE;
    // The spooler lists its standard forms in paper-number order: paper n is form n - 1.
    if (wPaper >= 1 && wPaper <= count) {
        const FORM_INFO_1W& f = forms.Get()[wPaper - 1];
        *plWidth = f.Size.cx / 100;  // thousandths -> tenths of a millimetre
        *plLength = f.Size.cy / 100;
    }
    return TRUE;
}

BOOL CZQCommon::BEnumForms(HANDLE hPrinter, FORM_INFO_1W** ppForms, DWORD* pdwCount) {
    if (!ppForms || !pdwCount) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    *ppForms = nullptr;
    *pdwCount = 0;
    if (!hPrinter) return FALSE;
    DWORD count = 0;
    *ppForms = reinterpret_cast<FORM_INFO_1W*>(QueryRecord([&](BYTE* p, DWORD cb, DWORD* pNeeded) {
        return zqspool::Spooler().EnumFormsW(hPrinter, 1, p, cb, pNeeded, &count);
    }));
    if (*ppForms) *pdwCount = count;
    return *ppForms != nullptr;
}

BOOL CZQCommon::BGetForm(HANDLE hPrinter, PCWSTR pszForm, FORM_INFO_1W** ppForm) {
    if (!ppForm || !pszForm) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    *ppForm = nullptr;
    if (!hPrinter) return FALSE;
    *ppForm = reinterpret_cast<FORM_INFO_1W*>(QueryRecord([&](BYTE* p, DWORD cb, DWORD* pNeeded) {
        return zqspool::Spooler().GetFormW(hPrinter, const_cast<PWSTR>(pszForm), 1, p, cb, pNeeded);
    }));
    return *ppForm != nullptr;
}

BOOL CZQCommon::BHasEwsAddress(HANDLE hPrinter) {
    if (!hPrinter) return FALSE;
    WCHAR value[256];
    if (!ReadPrinterText(hPrinter, zqsettings::kEwsAddress, value, 256)) return FALSE;
    PCWSTR comma = wcsrchr(value, L',');
    if (!comma) return FALSE;
    PCWSTR flag = comma + 1;
    if (lstrcmpW(flag, L"0") == 0) return TRUE;
    if (lstrcmpW(flag, L"1") == 0) return !(BIsLocalPrinter(hPrinter) && !IsWindowsXPOrGreater());
    return FALSE;
}

BOOL CZQCommon::BIsPrinterDataReadOnly(HANDLE hPrinter, PCWSTR pszName, PDEVMODEW pDevmode, HANDLE* phPrinter,
                                       BOOL* pbReopened) {
    if (!phPrinter || !pbReopened) {
        SetLastError(ERROR_INVALID_DATA);
        return TRUE;
    }
    *phPrinter = hPrinter;
    *pbReopened = FALSE;
    if (hPrinter && ProbeWrite(hPrinter)) return FALSE;
    if (!pszName) return TRUE;
    PRINTER_DEFAULTSW defaults = {nullptr, pDevmode, PRINTER_ALL_ACCESS};
    HANDLE hReopened = nullptr;
    if (!zqspool::Spooler().OpenPrinterW(const_cast<PWSTR>(pszName), &hReopened, &defaults) || !hReopened) return TRUE;
    *phPrinter = hReopened;
    *pbReopened = TRUE;
    return ProbeWrite(hReopened) ? FALSE : TRUE;
}

DWORD CZQCommon::DWGetPrinterDataEx(HANDLE hPrinter, const void* pGuard1, const void* pGuard2, PCWSTR pszKey,
                                    PCWSTR pszValue, DWORD cbData, BYTE* pData) {
    if (!pGuard1 || !pGuard2) {
        SetLastError(ERROR_INVALID_DATA);
        return ERROR_INVALID_HANDLE;
    }
    DWORD type = 0, needed = 0;
    return zqspool::Spooler().GetPrinterDataExW(hPrinter, pszKey, pszValue, &type, pData, cbData, &needed);
}

BOOL CZQCommon::BReadRestrictedUserGuid(HANDLE hPrinter, PWSTR pszGuid) {
    if (!pszGuid) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    pszGuid[0] = 0;
    if (!hPrinter) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    // Room for the text with or without its terminator, and our own terminator behind it.
    WCHAR text[kGuidTextChars + 1] = {};
    DWORD type = 0, needed = 0;
    const DWORD rc = zqspool::Spooler().GetPrinterDataExW(
        hPrinter, zqsettings::kPresetRootKey, zqsettings::kRestrictedUserGuid, &type, reinterpret_cast<BYTE*>(text),
        kGuidTextChars * sizeof(WCHAR), &needed);
    // Too long for a GUID, or not a text: not one.
    if (rc == ERROR_MORE_DATA || (rc == ERROR_SUCCESS && (type != REG_SZ || !IsGuidText(text)))) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    if (rc != ERROR_SUCCESS) {
        SetLastError(rc);
        return FALSE;
    }
    ZQCopyText(pszGuid, kGuidTextChars, text);
    return TRUE;
}
