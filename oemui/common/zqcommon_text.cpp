// Texts of the status module, conversions, job names and modules under the activation context.
#include <algorithm>
#include <cstring>
#include <cwchar>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "common/zqkeywords.h"
#include "common/zqmodule.h"
#include "common/zqcommon.h"
#include "common/zqhandles.h"
#include "common/zqlanguage.h"
#include "common/zqstorenames.h"
#include "zqproc.h"
#include "common/zqstrings.h"
#include "common/zqtrace.h"
#include "formats/zqjobnames.h"

namespace {

// The roll sources of the device answers and their items' public ids: Name, Type, Width, CustomWidth.
struct RollRow {
    PCWSTR source;
    int ids[4];
};
const RollRow kRollRows[] = {
    {zqkw::kManualFeed, {113, 116, 122, 119}}, {zqkw::kSheet, {114, 117, 123, 120}},
    {zqkw::kRoll, {115, 118, 124, 121}},       {zqkw::kRoll1, {109, 111, 107, 105}},
    {zqkw::kRoll2, {110, 112, 108, 106}},
};

// One entry of a string-table block in one language: -1 when the block is not there, else the
// entry's length (0 = empty) with *ppText at its characters. The block's size bounds every read.
int FindStringEntry(HMODULE hModule, WORD block, WORD entry, LANGID lang, const WCHAR** ppText) {
    HRSRC hRes = FindResourceExW(hModule, reinterpret_cast<LPCWSTR>(RT_STRING), MAKEINTRESOURCEW(block), lang);
    if (!hRes) return -1;
    HGLOBAL hData = LoadResource(hModule, hRes);
    const auto* p = static_cast<const WCHAR*>(hData ? LockResource(hData) : nullptr);
    if (!p) return -1;
    const WCHAR* end = p + SizeofResource(hModule, hRes) / sizeof(WCHAR);
    for (WORD i = 0; i < 16 && p < end; ++i) {
        size_t len = *p++;
        len = std::min<size_t>(len, static_cast<size_t>(end - p));
        if (i == entry) {
            *ppText = p;
            return static_cast<int>(len);
        }
        p += len;
    }
    return 0;
}

// The languages to try, in order: the UI language, its other sub-languages found in the module,
// then US English.
struct LanguageChain {
    LANGID langs[16];
    int count = 0;
    void Add(LANGID lang) {
        for (int i = 0; i < count; ++i)
            if (langs[i] == lang) return;
        if (count < 16) langs[count++] = lang;
    }
};

struct SiblingSearch {
    LANGID ui;
    LanguageChain* chain;
};

BOOL CALLBACK AddSiblingLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD lang, LONG_PTR param) {
    auto* s = reinterpret_cast<SiblingSearch*>(param);
    if (PRIMARYLANGID(lang) == PRIMARYLANGID(s->ui)) s->chain->Add(lang);
    return TRUE;
}

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Decimal digits at p; false when there are none. Large numbers stop growing at the DWORD limit.
bool ReadNumber(const char* p, DWORD* pValue) {
    unsigned long long v = 0;
    bool any = false;
    for (; *p >= '0' && *p <= '9'; ++p) {
        any = true;
        v = std::min<unsigned long long>(v * 10 + static_cast<unsigned>(*p - '0'), 0xFFFFFFFFull);
    }
    *pValue = static_cast<DWORD>(v);
    return any;
}

// Who hears of every text asked for (tests only).
CZQCommon::PFN_TextAsked g_pfnTextAsked = nullptr;
void* g_pTextAskedContext = nullptr;

// Status modules loaded as data, one per path for the whole process: every plug-in object of a
// printer shares it, and it stays until the module is unloaded.
std::mutex g_sharedLock;
std::vector<std::pair<std::wstring, HMODULE>> g_shared;

HMODULE SharedDataModule(PCWSTR pszPath) {
    std::lock_guard<std::mutex> hold(g_sharedLock);
    for (const auto& m : g_shared)
        if (lstrcmpiW(m.first.c_str(), pszPath) == 0) return m.second;
    HMODULE hModule = CZQCommon::HLoadLibraryEx(pszPath, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (hModule) g_shared.emplace_back(pszPath, hModule);
    return hModule;
}

// The status module the process loaded, when it loaded only one.
HMODULE OnlySharedModule() {
    std::lock_guard<std::mutex> hold(g_sharedLock);
    return g_shared.size() == 1 ? g_shared.front().second : nullptr;
}

}  // namespace

void zqmodule::VReleaseSharedModules() {
    std::lock_guard<std::mutex> hold(g_sharedLock);
    for (const auto& m : g_shared) FreeLibrary(m.second);
    g_shared.clear();
}

// ---------------------------------------------------------------------------------------------
// Status module and its texts
// ---------------------------------------------------------------------------------------------
void CZQCommon::VLoadResourceModule(HANDLE hPrinter, bool bLoadedServes) {
    ZQ_TRACE("CZQCommon::VLoadResourceModule");
    if (m_hResModule) return;
    if (bLoadedServes && (m_hResModule = OnlySharedModule()) != nullptr) return;
    CZQLocalPtr<WCHAR> path;
    if (!BGetDriverDirFile(hPrinter, path.Put(), kZQCoreModFile)) return;
    // Shared, not owned: the helper never frees it.
    m_hResModule = SharedDataModule(path.Get());
}

void CZQCommon::VWatchTextsForTesting(PFN_TextAsked pfn, void* pContext) {
    g_pfnTextAsked = pfn;
    g_pTextAskedContext = pContext;
}

void CZQCommon::VLoadText(INT id, PCWSTR pszEnglish, PWSTR pszOut) {
    if (!BLoadResString(id, pszOut)) ZQCopyText(pszOut, kResStringChars, pszEnglish ? pszEnglish : L"");
}

BOOL CZQCommon::BLoadString(INT id, PWSTR pszBuffer, size_t cchBuffer) {
    if (!pszBuffer) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    if (g_pfnTextAsked) g_pfnTextAsked(g_pTextAskedContext, id);
    if (!m_hResModule) return FALSE;
    // Arithmetic shift kept to 16 bits: id -1 gives block 0, which no table has.
    const WORD block = static_cast<WORD>((id >> 4) + 1);
    const WORD entry = static_cast<WORD>(id & 15);
    if (block == 0) return FALSE;

    const LANGID ui = zqlang::UiLanguage();
    LanguageChain chain;
    chain.Add(ui);
    SiblingSearch search = {ui, &chain};
    EnumResourceLanguagesW(m_hResModule, reinterpret_cast<LPCWSTR>(RT_STRING), MAKEINTRESOURCEW(block),
                           &AddSiblingLanguage, reinterpret_cast<LONG_PTR>(&search));
    chain.Add(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));

    bool blockSeen = false;
    for (int i = 0; i < chain.count; ++i) {
        const WCHAR* text = nullptr;
        const int len = FindStringEntry(m_hResModule, block, entry, chain.langs[i], &text);
        if (len < 0) continue;
        blockSeen = true;
        if (len == 0) continue;  // missing in this language: try the next
        ZQCopyTextN(pszBuffer, cchBuffer, text, static_cast<size_t>(len));
        return TRUE;
    }
    if (blockSeen) pszBuffer[0] = 0;
    return FALSE;
}

BOOL CZQCommon::BLoadResStringIn(HMODULE hModule, INT id, LANGID lang, PWSTR pszBuffer, size_t cchBuffer) {
    if (!pszBuffer || !cchBuffer) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    pszBuffer[0] = 0;
    const WORD block = static_cast<WORD>((id >> 4) + 1);
    if (!hModule || block == 0) return FALSE;
    const WCHAR* text = nullptr;
    const int len = FindStringEntry(hModule, block, static_cast<WORD>(id & 15), lang, &text);
    if (len <= 0) return FALSE;
    ZQCopyTextN(pszBuffer, cchBuffer, text, static_cast<size_t>(len));
    return TRUE;
}

BOOL CZQCommon::BLoadResString(INT id, PWSTR pszBuffer) { return BLoadString(id, pszBuffer, kResStringChars); }

BOOL CZQCommon::BLoadResStringLong(INT id, PWSTR pszBuffer) {
    return BLoadString(id, pszBuffer, kResStringLongChars);
}

// ---------------------------------------------------------------------------------------------
// Conversions
// ---------------------------------------------------------------------------------------------
BOOL CZQCommon::BWideToMultiByte(PCWSTR pszWide, PSTR* ppszAnsi, UINT codePage) {
    if (ppszAnsi) *ppszAnsi = nullptr;
    if (!pszWide || !ppszAnsi) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    const int needed = WideCharToMultiByte(codePage, 0, pszWide, -1, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) return FALSE;
    const int cb = needed * 2 + 2;
    CZQLocalPtr<char> ansi;
    if (!ansi.Alloc(static_cast<size_t>(cb))) return FALSE;
    if (!WideCharToMultiByte(codePage, 0, pszWide, -1, ansi.Get(), cb, nullptr, nullptr)) return FALSE;
    *ppszAnsi = ansi.Release();
    return TRUE;
}

BOOL CZQCommon::BWideToExactMultiByte(PCWSTR pszWide, PSTR* ppszAnsi, UINT codePage) {
    if (ppszAnsi) *ppszAnsi = nullptr;
    if (!pszWide || !ppszAnsi) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    // The Unicode code pages take neither flag nor default character; they refuse bad surrogates.
    const bool unicode = codePage == CP_UTF8 || codePage == CP_UTF7;
    const DWORD flags = unicode ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL defaulted = FALSE;
    const int needed =
        WideCharToMultiByte(codePage, flags, pszWide, -1, nullptr, 0, nullptr, unicode ? nullptr : &defaulted);
    if (needed <= 0) return FALSE;
    CZQLocalPtr<char> ansi;
    if (!ansi.Alloc(static_cast<size_t>(needed) + 1)) return FALSE;
    if (!WideCharToMultiByte(codePage, flags, pszWide, -1, ansi.Get(), needed, nullptr, unicode ? nullptr : &defaulted))
        return FALSE;
    if (defaulted) {
        SetLastError(ERROR_NO_UNICODE_TRANSLATION);
        return FALSE;
    }
    *ppszAnsi = ansi.Release();
    return TRUE;
}

BOOL CZQCommon::BMultiByteToWide(PWSTR* ppszWide, PCSTR pszAnsi, UINT codePage) {
    if (ppszWide) *ppszWide = nullptr;
    if (!pszAnsi || !ppszWide) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    const int needed = MultiByteToWideChar(codePage, 0, pszAnsi, -1, nullptr, 0);
    if (needed <= 0) return FALSE;
    CZQLocalPtr<WCHAR> wide;
    if (!wide.Alloc(static_cast<size_t>(needed) + 1)) return FALSE;
    if (!MultiByteToWideChar(codePage, 0, pszAnsi, -1, wide.Get(), needed + 1)) return FALSE;
    *ppszWide = wide.Release();
    return TRUE;
}

BOOL CZQCommon::VFormatShortDate(const SYSTEMTIME* pDate, PWSTR* ppszText) {
    if (ppszText) *ppszText = nullptr;
    if (!pDate || !ppszText) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    const int needed = GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, pDate, nullptr, nullptr, 0);
    if (needed <= 0) return FALSE;
    CZQLocalPtr<WCHAR> text;
    if (!text.Alloc(static_cast<size_t>(needed) + 1)) return FALSE;
    if (!GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, pDate, nullptr, text.Get(), needed)) return FALSE;
    *ppszText = text.Release();
    return TRUE;
}

BOOL CZQCommon::BParseMemoryRange(DWORD dwLanguage, PCSTR pszKeyword, DWORD* pdwLow, DWORD* pdwHigh) {
    if (!pszKeyword || !pdwLow || !pdwHigh) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    *pdwLow = *pdwHigh = 0;
    DWORD low = 0;
    if (dwLanguage == 3) {
        // PostScript: "16MB", or "16-32MB" for a range.
        if (!ReadNumber(pszKeyword, &low)) return FALSE;
        DWORD high = low;
        if (const char* dash = strchr(pszKeyword, '-')) ReadNumber(dash + 1, &high);
        *pdwLow = low;
        *pdwHigh = high;
        return TRUE;
    }
    // A letter prefix is two characters ("MB64"); a shorter text has no number behind it.
    const char* p = pszKeyword;
    if (IsAsciiLetter(*p)) {
        if (!p[1]) return FALSE;
        p += 2;
    }
    if (!ReadNumber(p, &low)) return FALSE;
    *pdwLow = *pdwHigh = low;
    return TRUE;
}

int CZQCommon::IParseMemorySize(PCSTR pszKeyword) {
    DWORD low = 0, high = 0;
    if (!BParseMemoryRange(0, pszKeyword, &low, &high)) return 0;
    return static_cast<int>(std::min<DWORD>(low, 0x7FFFFFFF));
}

// ---------------------------------------------------------------------------------------------
// Dialog requests and job names
// ---------------------------------------------------------------------------------------------
void CZQCommon::VGetDialogPaths(HANDLE hPrinter, WCHAR (&szCoreModPath)[256], WCHAR (&szHelpFile)[256]) {
    CZQLocalPtr<WCHAR> path;
    if (BGetDriverDirFile(hPrinter, path.Put(), kZQCoreModFile))
        ZQCopyText(szCoreModPath, 256, path.Get());
    else
        ZQCopyText(szCoreModPath, 256, kZQCoreModFile);
    CZQLocalPtr<WCHAR> help;
    if (BGetHelpFilePath(hPrinter, help.Put()))
        ZQCopyText(szHelpFile, 256, help.Get());
    else
        szHelpFile[0] = 0;
}

void CZQCommon::VCallDisplayDialog(HANDLE hPrinter, ZQDisplayRequest request, HMODULE hModule) {
    ZQ_TRACE("CZQCommon::VCallDisplayDialog");
    VGetDialogPaths(hPrinter, request.szCoreModPath, request.szHelpFile);
    auto pfn = ZQGetProc<PFN_VDisplayDialog>(hModule, "VDisplayDialog");
    if (pfn) pfn(request);
}

void CZQCommon::VMakeJobName(HANDLE hPrinter, DWORD dwJobId, PCWSTR pszDocument, PWSTR pszName,
                             PCWSTR pszEncoding) {
    if (!pszName) return;
    const PCWSTR encoding = pszEncoding ? pszEncoding : L"";
    WCHAR name[kJobNameChars] = {};
    if (pszDocument && *pszDocument) {
        ZQCopyText(name, kJobNameChars, pszDocument);
        BSanitizeJobName(name, encoding);
    }
    if (!name[0]) {
        CZQLocalPtr<JOB_INFO_2W> job;
        if (BGetJobInfo2(hPrinter, dwJobId, job.Put()) && job.Get()->Submitted.wYear) {
            SYSTEMTIME local;
            if (!SystemTimeToTzSpecificLocalTime(nullptr, &job.Get()->Submitted, &local)) local = job.Get()->Submitted;
            // "YYYY-MM-DD hh:mm" fills the 16 characters exactly.
            ZQFormatText(name, kJobNameChars, L"%04u-%02u-%02u %02u:%02u", local.wYear, local.wMonth, local.wDay,
                         local.wHour, local.wMinute);
        }
    }
    if (!name[0]) ZQCopyText(name, kJobNameChars, L"UNTITLED");
    ZQCopyText(pszName, kJobNameChars, name);
}

BOOL CZQCommon::BSanitizeJobName(PWSTR pszText, PCWSTR pszEncoding) {
    if (!pszText || !pszEncoding) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    return ZQSanitizeName(pszText, ZQNameEncodingOf(pszEncoding)) ? TRUE : FALSE;
}

// ---------------------------------------------------------------------------------------------
// Modules and dialogs under the activation context
// ---------------------------------------------------------------------------------------------
HMODULE CZQCommon::HLoadLibrary(PCWSTR pszFile) {
    zqmodule::CZQActCtxScope scope;
    return LoadLibraryW(pszFile);
}

HMODULE CZQCommon::HLoadLibraryEx(PCWSTR pszFile, HANDLE hReserved, DWORD dwFlags) {
    zqmodule::CZQActCtxScope scope;
    return LoadLibraryExW(pszFile, hReserved, dwFlags);
}

INT_PTR CZQCommon::IDialogBoxParam(HINSTANCE hInstance, PCWSTR pszTemplate, HWND hOwner, DLGPROC pfnDlgProc,
                                   LPARAM lParam) {
    zqmodule::CZQActCtxScope scope;
    return DialogBoxParamW(hInstance, pszTemplate, hOwner, pfnDlgProc, lParam);
}

// ---------------------------------------------------------------------------------------------
// Option texts in parts and the roll items
// ---------------------------------------------------------------------------------------------
DWORD CZQCommon::ISplitAtUnderscore(POEMCUIPPARAM pParam, PCWSTR pszText, PWSTR** ppList, int* piCount) {
    if (ppList) *ppList = nullptr;
    if (piCount) *piCount = 0;
    if (!pParam || !pszText || !ppList || !piCount) return ZQOPT_BAD_ARGUMENT;
    int count = 1;
    for (PCWSTR p = pszText; *p; ++p)
        if (*p == L'_') ++count;
    PWSTR* list = static_cast<PWSTR*>(LocalAlloc(LPTR, static_cast<size_t>(count) * sizeof(PWSTR)));
    if (!list) return ZQOPT_NO_MEMORY;
    PCWSTR start = pszText;
    for (int i = 0; i < count; ++i) {
        PCWSTR end = wcschr(start, L'_');
        const size_t len = end ? static_cast<size_t>(end - start) : wcslen(start);
        list[i] = static_cast<PWSTR>(LocalAlloc(LPTR, (len + 1) * sizeof(WCHAR)));
        if (!list[i]) {
            VFreeStringList(list, i);
            return ZQOPT_NO_MEMORY;
        }
        memcpy(list[i], start, len * sizeof(WCHAR));
        start = end ? end + 1 : start + len;
    }
    *ppList = list;
    *piCount = count;
    return ZQOPT_OK;
}

int CZQCommon::IRollFieldPubId(int iRoll, PCWSTR pszField) {
    if (!pszField || (iRoll != 1 && iRoll != 2)) return -1;
    const RollRow& row = kRollRows[iRoll == 1 ? 3 : 4];
    for (int f = 0; f < 4; ++f)
        if (wcscmp(pszField, zqsettings::kRollFields[f]) == 0) return row.ids[f];
    return -1;
}

int CZQCommon::IRollValuePubId(PCWSTR pszValueName) {
    if (!pszValueName) return -1;
    for (const RollRow& row : kRollRows) {
        const size_t len = wcslen(row.source);
        if (wcsncmp(pszValueName, row.source, len) != 0) continue;
        for (int f = 0; f < 4; ++f)
            if (wcscmp(pszValueName + len, zqsettings::kRollFields[f]) == 0) return row.ids[f];
    }
    return -1;
}
