// The About page's facts about the installed driver: file versions, the driver-name line, the
// configuration history from the printer's data and the stored dates it carries.
#include "device/zqaboutinfo.h"

#include <cstring>
#include <cwchar>

#include "common/zqhandles.h"
#include "common/zqprinterdata.h"
#include "common/zqstorenames.h"
#include "common/zqstrings.h"
#include "common/zqtrace.h"
#include "common/zquibase.h"
#include "formats/zqstoreddate.h"
#include "platform/zqspooler.h"
#include "settings/zqdriverdata.h"

namespace {

constexpr WCHAR kStatusModuleFile[] = L"ZQCOREMOD.DLL";
using zqsettings::kInstallDate;
using zqsettings::kNotifyDate;
constexpr PCWSTR kDeviceAnswers = zqsettings::kAnswerStoreKey;

// Status-line ids.
enum : INT {
    kIdsLastConfigured = 3044,
    kIdsDefaultConfiguration = 3045,
    kIdsAutoConfigured = 3046,
    kIdsNotAutoConfigured = 3047,
    kIdsAutoConfigNotAttempted = 3048,
    kIdsAdminPreferences = 3049,
    kIdsAdminPreferencesNotApplied = 3050,
    kIdsNoAdminPreferences = 3051,
    kIdsUserConfigured = 3076,
    kIdsAdminConfigured = 3077,
};

struct StatusText {
    INT id;
    PCWSTR pszEnglish;
    bool bTakesDate;
};
constexpr StatusText kStatusTexts[] = {
    {kIdsLastConfigured, L"Last configured", true},
    {kIdsDefaultConfiguration, L"Default Configuration", true},
    {kIdsAutoConfigured, L"Auto-Configured", true},
    {kIdsNotAutoConfigured, L"Not Auto-Configured", false},
    {kIdsAutoConfigNotAttempted, L"Auto-Configuration Not Attempted", false},
    {kIdsAdminPreferences, L"Administrator Preferences", true},
    {kIdsAdminPreferencesNotApplied, L"Administrator Preferences Not Applied", false},
    {kIdsNoAdminPreferences, L"No Administrator Preferences", false},
    {kIdsUserConfigured, L"User-Configured", false},
    {kIdsAdminConfigured, L"Administrator-Configured", false},
};

// The name part of a path.
PCWSTR FileNameOf(PCWSTR pszPath) {
    PCWSTR name = pszPath;
    for (PCWSTR p = pszPath; *p; ++p)
        if (*p == L'\\' || *p == L'/' || *p == L':') name = p + 1;
    return name;
}

// A non-empty REG_SZ value at the root of the printer's data; one that cannot be read is none.
bool ReadText(HANDLE hPrinter, PCWSTR pszValue, CZQLocalPtr<BYTE>& data) {
    DWORD type = REG_NONE, cb = 0;
    return ZQReadStoredValue(hPrinter, nullptr, pszValue, &type, data, &cb) == ERROR_SUCCESS && type == REG_SZ &&
           cb >= sizeof(WCHAR) && reinterpret_cast<const WCHAR*>(data.Get())[0];
}

bool ReadDword(HANDLE hPrinter, PCWSTR pszValue, DWORD* pdwValue) {
    DWORD type = REG_NONE, cb = 0;
    CZQLocalPtr<BYTE> data;
    if (ZQReadStoredValue(hPrinter, nullptr, pszValue, &type, data, &cb) != ERROR_SUCCESS || type != REG_DWORD ||
        cb != sizeof(DWORD))
        return false;
    std::memcpy(pdwValue, data.Get(), sizeof(DWORD));
    return true;
}

// "EACStatus" is kept per user: the restricted user's own key, else the printer's data, else the
// default user's key.
bool ReadAutoConfigStatus(HANDLE hPrinter, DWORD* pdwValue) {
    CZQLocalPtr<BYTE> data;
    DWORD cb = 0;
    if (!CZQUIBase::BReadUserSetting(hPrinter, kDeviceAnswers, zqsettings::kEACStatus, data.Put(), &cb) &&
        !CZQUIBase::BReadDefaultUserSetting(hPrinter, kDeviceAnswers, zqsettings::kEACStatus, data.Put(), &cb))
        return false;
    if (cb != sizeof(DWORD)) return false;
    std::memcpy(pdwValue, data.Get(), sizeof(DWORD));
    return true;
}

void AddLine(ZQStatusLine* pLines, int* pCount, INT id, PCWSTR pszDate) {
    if (*pCount >= kMaxStatusLines) return;
    ZQStatusLine& line = pLines[(*pCount)++];
    line.id = id;
    ZQCopyText(line.szDate, kAboutLineChars, pszDate ? pszDate : L"");
}

}  // namespace

BOOL BGetFileVersionText(PCWSTR pszPath, PWSTR pszText) {
    if (!pszText) return FALSE;
    pszText[0] = 0;
    if (!pszPath || !*pszPath) return FALSE;
    DWORD unused = 0;
    const DWORD size = GetFileVersionInfoSizeW(pszPath, &unused);
    if (size) {
        CZQLocalPtr<BYTE> block;
        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT cbFixed = 0;
        if (block.Alloc(size) && GetFileVersionInfoW(pszPath, 0, size, block.Get()) &&
            VerQueryValueW(block.Get(), L"\\", reinterpret_cast<void**>(&fixed), &cbFixed) && fixed &&
            cbFixed >= sizeof(VS_FIXEDFILEINFO) && fixed->dwSignature == VS_FFI_SIGNATURE) {
            const DWORD high = fixed->dwFileVersionMS, low = fixed->dwFileVersionLS;
            ZQFormatText(pszText, kAboutLineChars, L"%u.%u.%u.%u", HIWORD(high), LOWORD(high), HIWORD(low),
                         LOWORD(low));
            return TRUE;
        }
    }
    // Without a version resource the date of the last write tells which build it is.
    CZQHandle file(CreateFileW(pszPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    FILETIME written = {};
    SYSTEMTIME date = {};
    if (!file || !GetFileTime(file.Get(), nullptr, nullptr, &written) || !FileTimeToSystemTime(&written, &date))
        return FALSE;
    ZQFormatText(pszText, kAboutLineChars, L"%u.%u.%u", date.wMonth, date.wDay, date.wYear);
    return TRUE;
}

void VFormatFileLine(PCWSTR pszPath, PWSTR pszLine) {
    if (!pszLine) return;
    pszLine[0] = 0;
    if (!pszPath) return;
    WCHAR name[kAboutLineChars];
    ZQCopyText(name, kAboutLineChars, FileNameOf(pszPath));
    CharUpperBuffW(name, static_cast<DWORD>(wcslen(name)));
    WCHAR version[kAboutLineChars];
    BGetFileVersionText(pszPath, version);
    ZQFormatText(pszLine, kAboutLineChars, L"%-12ls\t\t%ls", name, version);
}

void VFormatDriverNameLine(const DRIVER_INFO_3W& info, PWSTR pszLine) {
    if (!pszLine) return;
    PCWSTR driver = info.pName ? info.pName : L"";
    // The status module's file, or the last dependent file when the driver has none.
    PCWSTR chosen = nullptr;
    for (PCWSTR file = info.pDependentFiles; file && *file; file += wcslen(file) + 1) {
        chosen = file;
        if (ZQEqualNoCase(FileNameOf(file), kStatusModuleFile)) break;
    }
    WCHAR version[kAboutLineChars] = {};
    BGetFileVersionText(chosen, version);
    ZQFormatText(pszLine, kAboutLineChars, L"%ls  (%ls)", driver, version);
}

BOOL BGetPrintProcessorFile(PCWSTR pszServer, PCWSTR pszFile, PWSTR pszPath) {
    if (!pszPath) return FALSE;
    pszPath[0] = 0;
    if (!pszFile || !*pszFile) return FALSE;
    WCHAR dir[MAX_PATH] = {};
    DWORD needed = 0;
    LPWSTR server = pszServer && *pszServer ? const_cast<LPWSTR>(pszServer) : nullptr;
    if (!zqspool::Spooler().GetPrintProcessorDirectoryW(server, nullptr, 1, reinterpret_cast<BYTE*>(dir),
                                                         sizeof dir - sizeof(WCHAR), &needed))
        return FALSE;
    if (FAILED(ZQFormatText(pszPath, MAX_PATH, L"%ls\\%ls", dir, pszFile))) {
        pszPath[0] = 0;
        return FALSE;
    }
    CZQHandle file(CreateFileW(pszPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) return TRUE;
    pszPath[0] = 0;
    return FALSE;
}

BOOL BFormatStoredDate(PCWSTR pszStored, PWSTR pszText) {
    if (!pszText) return FALSE;
    pszText[0] = 0;
    if (!pszStored) return FALSE;
    ZQCopyText(pszText, kAboutLineChars, pszStored);
    ZQStoredDate stored = {};
    if (!ZQParseStoredDate(pszStored, kAboutLineChars, &stored)) return FALSE;
    SYSTEMTIME utc = {};
    utc.wYear = stored.wYear;
    utc.wMonth = stored.wMonth;
    utc.wDay = stored.wDay;
    utc.wHour = stored.wHour;
    utc.wMinute = stored.wMinute;
    utc.wSecond = stored.wSecond;
    SYSTEMTIME local = {};
    if (!SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) {
        local = {};
        local.wYear = utc.wYear;
        local.wMonth = utc.wMonth;
        local.wDay = utc.wDay;
    }
    CZQLocalPtr<WCHAR> date;
    if (!CZQCommon::VFormatShortDate(&local, date.Put())) return FALSE;
    ZQCopyText(pszText, kAboutLineChars, date.Get());
    return TRUE;
}

int IReadConfigStatus(HANDLE hPrinter, ZQStatusLine* pLines) {
    ZQ_TRACE("IReadConfigStatus");
    if (!hPrinter || !pLines) return 0;
    int count = 0;
    WCHAR installDate[kAboutLineChars] = {};
    CZQLocalPtr<BYTE> text;
    if (ReadText(hPrinter, kInstallDate, text)) BFormatStoredDate(reinterpret_cast<PCWSTR>(text.Get()), installDate);

    DWORD autoConfig = 0;
    if (ReadAutoConfigStatus(hPrinter, &autoConfig)) {
        switch (autoConfig) {
            case 1: AddLine(pLines, &count, kIdsAutoConfigNotAttempted, nullptr); break;
            case 2: AddLine(pLines, &count, kIdsNotAutoConfigured, nullptr); break;
            case 3: AddLine(pLines, &count, kIdsAutoConfigured, installDate); break;
            default: break;
        }
    }
    DWORD adminState = 0, value = 0;
    if (ReadDword(hPrinter, zqsettings::kDMCStatus, &value)) {
        switch (value) {
            case 1: AddLine(pLines, &count, kIdsNoAdminPreferences, nullptr); break;
            case 2: AddLine(pLines, &count, kIdsAdminPreferencesNotApplied, nullptr); break;
            case 3: {
                DWORD changed = 0;
                adminState = ReadDword(hPrinter, zqsettings::kPrnPropChng, &changed) && changed == 1 ? 3 : 1;
                AddLine(pLines, &count, kIdsAdminPreferences, installDate);
                break;
            }
            default: break;
        }
    }
    // A device change noted after installation makes the user the last to have configured it.
    if (ReadText(hPrinter, kNotifyDate, text)) {
        WCHAR notifyDate[kAboutLineChars];
        BFormatStoredDate(reinterpret_cast<PCWSTR>(text.Get()), notifyDate);
        AddLine(pLines, &count, kIdsLastConfigured, notifyDate);
        AddLine(pLines, &count, kIdsUserConfigured, nullptr);
    } else {
        AddLine(pLines, &count, kIdsLastConfigured, installDate);
        if (autoConfig == 3)
            AddLine(pLines, &count, kIdsAutoConfigured, nullptr);
        else if (adminState == 3)
            AddLine(pLines, &count, kIdsAdminConfigured, nullptr);
        else
            AddLine(pLines, &count, kIdsDefaultConfiguration, nullptr);
    }
    return count;
}

void VFormatStatusLine(CZQCommon& texts, const ZQStatusLine& line, PWSTR pszText) {
    if (!pszText) return;
    pszText[0] = 0;
    const StatusText* row = nullptr;
    for (const StatusText& r : kStatusTexts)
        if (r.id == line.id) row = &r;
    if (!row) return;
    WCHAR label[CZQCommon::kResStringChars];
    if (!texts.BLoadResString(row->id, label))
        ZQCopyText(label, CZQCommon::kResStringChars, row->pszEnglish);
    if (row->bTakesDate && line.szDate[0])
        ZQFormatText(pszText, kAboutLineChars, L"%ls %ls", label, line.szDate);
    else
        ZQCopyText(pszText, kAboutLineChars, label);
}
