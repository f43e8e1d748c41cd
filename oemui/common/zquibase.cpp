// CZQUIBase: binding, texts in the user's languages, paper geometry, per-user settings.
#include "common/zquibase.h"

#include <cmath>
#include <cwchar>
#include <string>
#include <utility>

#include "platform/zqspooler.h"
#include "formats/zquidevmode.h"
#include "common/zqhandles.h"
#include "common/zqlanguage.h"
#include "common/zqprintercaps.h"
#include "common/zqprinterdata.h"
#include "common/zqstorenames.h"
#include "common/zqstorepath.h"
#include "common/zqstrings.h"
#include "common/zqtrace.h"

namespace {

using zqsettings::kDefaultUserMakerKey;
using zqsettings::kMakerKey;
constexpr INT kIdsNone = 874;
constexpr INT kIdsWatermarkFont = 881;

// The 25 user-interface languages, with the default watermark sizes of "Confidential", "Draft"
// and "SAMPLE" for each. The sizes are looked up by primary language; the texts by the full id.
struct UiLanguageRow {
    LANGID lang;
    int sizes[3];
};
constexpr UiLanguageRow kUiLanguages[kUiLanguageCount] = {
    {MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), {90, 220, 140}},
    {MAKELANGID(LANG_ARABIC, SUBLANG_ARABIC_SAUDI_ARABIA), {80, 100, 80}},
    {MAKELANGID(LANG_CZECH, SUBLANG_DEFAULT), {120, 130, 140}},
    {MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED), {72, 72, 72}},
    {MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL), {72, 72, 72}},
    {MAKELANGID(LANG_DANISH, SUBLANG_DEFAULT), {100, 150, 150}},
    {MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), {90, 140, 110}},
    {MAKELANGID(LANG_SPANISH, SUBLANG_SPANISH_MODERN), {90, 120, 110}},
    {MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH), {90, 120, 110}},
    {MAKELANGID(LANG_HEBREW, SUBLANG_DEFAULT), {80, 100, 80}},
    {MAKELANGID(LANG_ITALIAN, SUBLANG_ITALIAN), {100, 170, 110}},
    {MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT), {72, 72, 72}},
    {MAKELANGID(LANG_KOREAN, SUBLANG_KOREAN), {72, 72, 72}},
    {MAKELANGID(LANG_HUNGARIAN, SUBLANG_DEFAULT), {110, 120, 150}},
    {MAKELANGID(LANG_DUTCH, SUBLANG_DUTCH), {80, 230, 80}},
    {MAKELANGID(LANG_NORWEGIAN, SUBLANG_NORWEGIAN_BOKMAL), {80, 180, 100}},
    {MAKELANGID(LANG_POLISH, SUBLANG_DEFAULT), {140, 180, 120}},
    {MAKELANGID(LANG_PORTUGUESE, SUBLANG_PORTUGUESE_BRAZILIAN), {90, 100, 100}},
    {MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT), {50, 50, 100}},
    {MAKELANGID(LANG_FINNISH, SUBLANG_DEFAULT), {50, 180, 150}},
    {MAKELANGID(LANG_SWEDISH, SUBLANG_SWEDISH), {80, 100, 110}},
    {MAKELANGID(LANG_THAI, SUBLANG_DEFAULT), {110, 220, 130}},
    {MAKELANGID(LANG_TURKISH, SUBLANG_DEFAULT), {210, 150, 140}},
    {MAKELANGID(LANG_GREEK, SUBLANG_DEFAULT), {90, 140, 140}},
    {MAKELANGID(LANG_SLOVAK, SUBLANG_DEFAULT), {120, 130, 130}},
};

BOOL Failed(DWORD dwError) {
    SetLastError(dwError);
    return FALSE;
}

// The value of an open registry key into a new local-heap block (two zero bytes behind it, so a
// text is always terminated); *pcb is the value's own size.
bool ReadKeyValue(HKEY hKey, PCWSTR pszValue, BYTE** ppData, DWORD* pcb) {
    DWORD type = 0, cb = 0;
    LONG rc = RegQueryValueExW(hKey, pszValue, nullptr, &type, nullptr, &cb);
    if (rc != ERROR_SUCCESS) return Failed(static_cast<DWORD>(rc));
    for (int attempt = 0; attempt < 3; ++attempt) {
        CZQLocalPtr<BYTE> data;
        if (!data.Alloc(static_cast<size_t>(cb) + sizeof(WCHAR))) return Failed(ERROR_NOT_ENOUGH_MEMORY);
        DWORD got = cb;
        rc = RegQueryValueExW(hKey, pszValue, nullptr, &type, data.Get(), &got);
        if (rc == ERROR_SUCCESS) {
            *ppData = data.Release();
            *pcb = got;
            return true;
        }
        if (rc != ERROR_MORE_DATA) break;
        cb = got;
    }
    return Failed(static_cast<DWORD>(rc));
}

// A root printer-data value into a new local-heap block.
bool ReadPlainPrinterData(HANDLE hPrinter, PCWSTR pszValue, BYTE** ppData, DWORD* pcb) {
    DWORD type = REG_NONE;
    CZQLocalPtr<BYTE> data;
    const DWORD rc = ZQReadStoredValue(hPrinter, nullptr, pszValue, &type, data, pcb);
    if (rc != ERROR_SUCCESS) return Failed(rc);
    *ppData = data.Release();
    return true;
}

BOOL ReadUserSettingUnder(HKEY hRoot, PCWSTR pszPrefix, HANDLE hPrinter, PCWSTR pszSubKey, PCWSTR pszValue,
                          BYTE** ppData, DWORD* pcbData) {
    if (ppData) *ppData = nullptr;
    if (pcbData) *pcbData = 0;
    if (!hPrinter || !pszValue || !ppData || !pcbData) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    const std::wstring path = ZQUserStorePathOf(hPrinter, pszSubKey, pszPrefix);
    if (path.empty()) return FALSE;
    CZQRegKey key;
    if (RegOpenKeyExW(hRoot, path.c_str(), 0, KEY_QUERY_VALUE, key.Put()) == ERROR_SUCCESS)
        return ReadKeyValue(key.Get(), pszValue, ppData, pcbData) ? TRUE : FALSE;
    return ReadPlainPrinterData(hPrinter, pszValue, ppData, pcbData) ? TRUE : FALSE;
}

// 32-bit FNV-1a of a new GUID: short, and different for every call.
DWORD NewGuidHash() {
    GUID guid = {};
    if (FAILED(CoCreateGuid(&guid))) guid.Data1 = GetTickCount() ^ GetCurrentProcessId();
    const auto* p = reinterpret_cast<const BYTE*>(&guid);
    DWORD h = 2166136261u;
    for (size_t i = 0; i < sizeof guid; ++i) {
        h ^= p[i];
        h *= 16777619u;
    }
    return h;
}

}  // namespace

CZQUIBase::CZQUIBase() = default;

CZQUIBase::~CZQUIBase() = default;

void CZQUIBase::VBind(POEMUIPSPARAM pSheetParam, POEMCUIPPARAM pCUIParam, HMODULE hResModule) {
    m_pSheetParam = pSheetParam;
    m_pCUIParam = pCUIParam;
    VSetResourceModule(hResModule);
}

void CZQUIBase::VSetResourceModule(HMODULE hResModule) {
    if (hResModule == m_hResModule) return;
    if (m_bOwnsResModule && m_hResModule) FreeLibrary(m_hResModule);
    m_hResModule = hResModule;
    m_bOwnsResModule = false;
}

const DEVMODEW* CZQUIBase::PublicDevmode() const {
    if (m_pPublicDM) return m_pPublicDM;
    if (m_pSheetParam && m_pSheetParam->pPublicDM) return m_pSheetParam->pPublicDM;
    return m_pCUIParam ? m_pCUIParam->pPublicDM : nullptr;
}

// ---------------------------------------------------------------------------------------------
// Texts
// ---------------------------------------------------------------------------------------------
BOOL CZQUIBase::BLoadResourceModule(PCWSTR pszPrinterName) {
    ZQ_TRACE("CZQUIBase::BLoadResourceModule");
    if (m_hResModule) return TRUE;
    if (!pszPrinterName) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    CZQPrinterHandle printer;
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ACCESS_USE};
    if (!zqspool::Spooler().OpenPrinterW(const_cast<PWSTR>(pszPrinterName), printer.Put(), &defaults)) return FALSE;
    VLoadResourceModule(printer.Get());
    return m_hResModule != nullptr;
}

BOOL CZQUIBase::BSetWindowTextResN(INT id, HWND hWnd, PCWSTR pszEnglish, bool bLong) {
    WCHAR text[kResStringLongChars] = {};
    const size_t cch = bLong ? kResStringLongChars : kResStringChars;
    const BOOL loaded = id != -1 && (bLong ? BLoadResStringLong(id, text) : BLoadResString(id, text));
    if (!loaded) ZQCopyText(text, cch, pszEnglish ? pszEnglish : L"");
    return SetWindowTextW(hWnd, text);
}

BOOL CZQUIBase::BSetWindowTextRes(INT id, HWND hWnd, PCWSTR pszEnglish) {
    return BSetWindowTextResN(id, hWnd, pszEnglish, false);
}

BOOL CZQUIBase::BSetWindowTextResLong(INT id, HWND hWnd, PCWSTR pszEnglish) {
    return BSetWindowTextResN(id, hWnd, pszEnglish, true);
}

BOOL CZQUIBase::BGetLanguageFontName(PWSTR pszFace) {
    if (!pszFace) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    switch (PRIMARYLANGID(zqlang::UserLanguage())) {
        case LANG_CHINESE:
        case LANG_KOREAN:
        case LANG_THAI: {
            NONCLIENTMETRICSW metrics = {};
            metrics.cbSize = sizeof metrics;
            if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0) &&
                metrics.lfMessageFont.lfFaceName[0]) {
                ZQCopyTextN(pszFace, kResStringChars, metrics.lfMessageFont.lfFaceName, LF_FACESIZE);
                return TRUE;
            }
            break;
        }
        case LANG_JAPANESE: ZQCopyText(pszFace, kResStringChars, L"MS UI Gothic"); return TRUE;
        default:
            if (BLoadResString(kIdsWatermarkFont, pszFace)) return TRUE;
            break;
    }
    ZQCopyText(pszFace, kResStringChars, L"Arial");
    return TRUE;
}

int CZQUIBase::IGetDefaultWatermarkSize(int iWhich) {
    const LANGID lang = zqlang::UserLanguage();
    if (lang == 0 || iWhich < 0 || iWhich > 2) return 80;
    for (const UiLanguageRow& row : kUiLanguages)
        if (PRIMARYLANGID(row.lang) == PRIMARYLANGID(lang)) return row.sizes[iWhich];
    return 80;
}

BOOL CZQUIBase::BLoadStringAllLanguages(HMODULE hModule, INT id, WCHAR (*paszOut)[kResStringChars]) {
    if (!paszOut) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    BOOL all = TRUE;
    for (int i = 0; i < kUiLanguageCount; ++i)
        if (!BLoadResStringIn(hModule, id, kUiLanguages[i].lang, paszOut[i], kResStringChars)) all = FALSE;
    return all;
}

BOOL CZQUIBase::BIsNoneInAnyLanguage(PCWSTR pszText, HMODULE hModule) {
    if (!pszText) return FALSE;
    // The English text counts even without a status module: it is the fall-back every page shows.
    if (ZQEqualNoCase(pszText, L" [none]")) return TRUE;
    WCHAR none[kResStringChars];
    for (const UiLanguageRow& row : kUiLanguages)
        if (BLoadResStringIn(hModule, kIdsNone, row.lang, none, kResStringChars) && ZQEqualNoCase(pszText, none))
            return TRUE;
    return FALSE;
}

// ---------------------------------------------------------------------------------------------
// Paper
// ---------------------------------------------------------------------------------------------
BOOL CZQUIBase::BGetPaperDimensions(WORD wPaper, LONG* plWidth, LONG* plLength, const PrinterCaps* pCaps) {
    pCaps = ZQPrinterCapsLists(pCaps, kCapsPapers);
    if (!plWidth || !plLength || !pCaps) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    *plWidth = *plLength = 0;
    if (!pCaps->pPaperIds || !pCaps->pPaperSizes) return FALSE;
    for (DWORD i = 0; i < pCaps->dwPaperCount; ++i) {
        if (pCaps->pPaperIds[i] != wPaper) continue;
        *plWidth = pCaps->pPaperSizes[i].x;
        *plLength = pCaps->pPaperSizes[i].y;
        return *plWidth != 0 && *plLength != 0;
    }
    return FALSE;
}

int CZQUIBase::IGetDiagonalAngle(const PrinterCaps* pCaps, const ZQUIDevmode* pPrivateDM) const {
    constexpr int kDefaultAngle = 52;
    const ZQUIDevmode* dm = pPrivateDM;
    if (!dm && m_pSheetParam) dm = static_cast<const ZQUIDevmode*>(m_pSheetParam->pOEMDM);
    if (!dm && m_pCUIParam) dm = static_cast<const ZQUIDevmode*>(m_pCUIParam->pOEMDM);
    const DEVMODEW* pub = PublicDevmode();
    LONG w = 0, l = 0;
    bool found = false;
    if (dm && dm->dwPrintDocOn == 1) {
        if (dm->dwCustomDestWidth && dm->dwCustomDestLength) {
            // Thousandths of a millimetre; the ratio is all that counts.
            w = static_cast<LONG>(dm->dwCustomDestWidth / 100);
            l = static_cast<LONG>(dm->dwCustomDestLength / 100);
            found = w > 0 && l > 0;
        } else {
            found = pCaps && BGetPaperDimensions(static_cast<WORD>(dm->dwPrintedOnPaper), &w, &l, pCaps);
        }
    } else if (pub && pCaps) {
        found = BGetPaperDimensions(static_cast<WORD>(pub->dmPaperSize), &w, &l, pCaps);
    }
    if (!found) return kDefaultAngle;
    const bool landscape = dm ? dm->wOrientation == 2 : (pub && pub->dmOrientation == DMORIENT_LANDSCAPE);
    if (landscape) std::swap(w, l);
    return static_cast<int>(std::atan2(static_cast<double>(l), static_cast<double>(w)) * 180.0 / 3.14159265358979323846);
}

WORD CZQUIBase::WGetDuplexBinding(int iPagesPerSheet, short sOrientation, BOOL bFlipUp, BOOL bBooklet) {
    if (bBooklet) return DMDUP_HORIZONTAL;
    // Two or four pages on a sheet turn the page by 90 degrees.
    const bool rotated = iPagesPerSheet == 2 || iPagesPerSheet == 4;
    const bool landscape = (sOrientation == DMORIENT_LANDSCAPE) != rotated;
    if (!bFlipUp) return landscape ? DMDUP_HORIZONTAL : DMDUP_VERTICAL;
    return landscape ? DMDUP_VERTICAL : DMDUP_HORIZONTAL;
}

// ---------------------------------------------------------------------------------------------
// Per-user settings and registry
// ---------------------------------------------------------------------------------------------
BOOL CZQUIBase::BReadUserSetting(HANDLE hPrinter, PCWSTR pszSubKey, PCWSTR pszValue, BYTE** ppData, DWORD* pcbData) {
    return ReadUserSettingUnder(HKEY_CURRENT_USER, kMakerKey, hPrinter, pszSubKey, pszValue, ppData, pcbData);
}

BOOL CZQUIBase::BReadDefaultUserSetting(HANDLE hPrinter, PCWSTR pszSubKey, PCWSTR pszValue, BYTE** ppData,
                                        DWORD* pcbData) {
    return ReadUserSettingUnder(HKEY_USERS, kDefaultUserMakerKey, hPrinter, pszSubKey, pszValue, ppData, pcbData);
}

BOOL CZQUIBase::BWriteUserSetting(HANDLE hPrinter, BOOL bPerUser, PCWSTR pszSubKey, PCWSTR pszValue,
                                  const BYTE* pData, DWORD cbData, DWORD dwType) {
    if (!hPrinter || !pszValue || (!pData && cbData)) return Failed(ERROR_INVALID_DATA);
    if (!bPerUser) {
        const DWORD rc = ZQWriteStoredValue(hPrinter, pszSubKey, pszValue, dwType, pData, cbData);
        SetLastError(rc);
        return rc == ERROR_SUCCESS;
    }
    const std::wstring path = ZQUserStorePathOf(hPrinter, nullptr);
    if (path.empty()) return FALSE;
    // Keys this write makes go again when it fails: an empty user key would hide the printer's
    // own value from the reader.
    DWORD userDisposition = 0, subDisposition = 0;
    CZQRegKey userKey;
    LONG rc = RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, userKey.Put(),
                              &userDisposition);
    if (rc != ERROR_SUCCESS) return Failed(static_cast<DWORD>(rc));
    CZQRegKey subKey;
    HKEY target = userKey.Get();
    const bool hasSubKey = pszSubKey && *pszSubKey;
    if (hasSubKey) {
        rc = RegCreateKeyExW(userKey.Get(), pszSubKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, subKey.Put(),
                             &subDisposition);
        target = subKey.Get();
    }
    if (rc == ERROR_SUCCESS) rc = RegSetValueExW(target, pszValue, 0, dwType, pData, cbData);
    if (rc == ERROR_SUCCESS) return TRUE;
    subKey.Reset();
    if (subDisposition == REG_CREATED_NEW_KEY) RegDeleteKeyW(userKey.Get(), pszSubKey);
    userKey.Reset();
    if (userDisposition == REG_CREATED_NEW_KEY) RegDeleteKeyW(HKEY_CURRENT_USER, path.c_str());
    return Failed(static_cast<DWORD>(rc));
}

BOOL CZQUIBase::BCreateRestrictedUserGuid(HANDLE hPrinter) {
    if (!hPrinter) return Failed(ERROR_INVALID_DATA);
    GUID guid;
    WCHAR text[kGuidTextChars + 1];
    if (FAILED(CoCreateGuid(&guid)) || StringFromGUID2(guid, text, kGuidTextChars + 1) != kGuidTextChars)
        return Failed(ERROR_INVALID_DATA);
    const DWORD rc = ZQWriteStoredValue(hPrinter, zqsettings::kPresetRootKey, zqsettings::kRestrictedUserGuid, REG_SZ,
                                        text, kGuidTextChars * sizeof(WCHAR));
    SetLastError(rc);
    return rc == ERROR_SUCCESS;
}

BOOL CZQUIBase::BWriteRegValue(HKEY hRoot, PCWSTR pszSubKey, PCWSTR pszValue, DWORD dwType, const void* pData,
                               DWORD cbData) {
    if (!hRoot || !pszSubKey || (!pData && cbData)) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    CZQRegKey key;
    if (RegCreateKeyExW(hRoot, pszSubKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.Put(), nullptr) != ERROR_SUCCESS)
        return FALSE;
    return RegSetValueExW(key.Get(), pszValue, 0, dwType, static_cast<const BYTE*>(pData), cbData) == ERROR_SUCCESS;
}

void CZQUIBase::VMakeUniqueExportName(PWSTR pszName) {
    if (!pszName) return;
    WCHAR computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD cch = MAX_COMPUTERNAME_LENGTH + 1;
    if (!GetComputerNameW(computer, &cch) || !computer[0]) ZQCopyText(computer, MAX_COMPUTERNAME_LENGTH + 1, L"ZQ");
    const DWORD first = NewGuidHash();
    const DWORD second = NewGuidHash();
    ZQFormatText(pszName, kExportNameChars, L"%ls_%08lx_%08lx", computer, first, second);
}

BOOL CZQUIBase::BIsDirectory(PCWSTR pszPath) {
    if (!pszPath) return FALSE;
    const DWORD attributes = GetFileAttributesW(pszPath);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}
