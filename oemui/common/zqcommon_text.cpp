// Texts of the status module, conversions, job names and modules under the activation context.
#include <algorithm>
#include <cstring>
#include <cwchar>
#include <iterator>
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

// Code points the printer's panel cannot show in a UTF-8 job name.
struct CodeRange {
    WCHAR first;
    WCHAR last;
};
constexpr CodeRange kUtf8Excluded[] = {
    {0x007F, 0x009F}, {0x0218, 0x02FF}, {0x0346, 0x035F}, {0x0362, 0x0400}, {0x04FA, 0x0EDB},
    {0x0EDE, 0x10FF}, {0x11FA, 0x1DFF}, {0x1EFA, 0x1FFF}, {0x2047, 0x209F}, {0x20AD, 0x20CF},
    {0x20E2, 0x245F}, {0x24EB, 0x2FFF}, {0x31A0, 0x31FF}, {0x3244, 0x325F}, {0x32B1, 0x32BF},
    {0x33FF, 0x4DFF}, {0xA000, 0xABFF}, {0xD7A4, 0xF8FF}, {0xFA2E, 0xFF00}, {0xFFEF, 0xFFFF},
};
constexpr WCHAR kUtf8ExcludedPoints[] = {
    0x0022, 0x002F, 0x01F6, 0x01F7, 0x01F8, 0x01F9, 0x040D, 0x0450, 0x045D, 0x0487,
    0x0488, 0x0489, 0x048A, 0x048B, 0x048C, 0x048D, 0x048E, 0x048F, 0x04C5, 0x04C6,
    0x04C9, 0x04CA, 0x04CD, 0x04CE, 0x04CF, 0x04EC, 0x04ED, 0x04F6, 0x04F7, 0x115A,
    0x115B, 0x115C, 0x115D, 0x115E, 0x115F, 0x1160, 0x11A3, 0x11A4, 0x11A5, 0x11A6,
    0x11A7, 0x1E9C, 0x1E9D, 0x1E9E, 0x1E9F, 0x200B, 0x200C, 0x200D, 0x200E, 0x200F,
    0x2028, 0x2029, 0x202A, 0x202B, 0x202C, 0x202D, 0x202E, 0x202F, 0x3038, 0x3039,
    0x303A, 0x303B, 0x303C, 0x303D, 0x303E, 0x3040, 0x3095, 0x3096, 0x3097, 0x3098,
    0x309F, 0x30A0, 0x30FF, 0x3100, 0x3101, 0x3102, 0x3103, 0x3104, 0x312D, 0x312E,
    0x312F, 0x3130, 0x3165, 0x318F, 0x321D, 0x321E, 0x321F, 0x327C, 0x327D, 0x327E,
    0x32CC, 0x32CD, 0x32CE, 0x32CF, 0x32FF, 0x3377, 0x3378, 0x3379, 0x337A, 0x33DE,
    0x33DF, 0xFF5F, 0xFF60, 0xFFBF, 0xFFC0, 0xFFC1, 0xFFC8, 0xFFC9, 0xFFD0, 0xFFD1,
    0xFFD8, 0xFFD9, 0xFFDD, 0xFFDE, 0xFFDF, 0xFFE7,
};
static_assert(sizeof(kUtf8ExcludedPoints) / sizeof(kUtf8ExcludedPoints[0]) == 116, "116 single code points");

bool Utf8Keeps(WCHAR c) {
    if (c < 0x20 || c == 0x22) return false;
    for (const CodeRange& r : kUtf8Excluded)
        if (c >= r.first && c <= r.last) return false;
    return !std::binary_search(std::begin(kUtf8ExcludedPoints), std::end(kUtf8ExcludedPoints), c);
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

}  // namespace

void zqmodule::VReleaseSharedModules() {
    std::lock_guard<std::mutex> hold(g_sharedLock);
    for (const auto& m : g_shared) FreeLibrary(m.second);
    g_shared.clear();
}

// ---------------------------------------------------------------------------------------------
// Status module and its texts
// ---------------------------------------------------------------------------------------------
void CZQCommon::VLoadResourceModule(HANDLE hPrinter) {
    ZQ_TRACE("CZQCommon::VLoadResourceModule");
    if (m_hResModule) return;
    CZQLocalPtr<WCHAR> path;
    if (!BGetDriverDirFile(hPrinter, path.Put(), kZQCoreModFile)) return;
    // Shared, not owned: the helper never frees it.
    m_hResModule = SharedDataModule(path.Get());
}

void CZQCommon::VWatchTextsForTesting(PFN_TextAsked pfn, void* pContext) {
    g_pfnTextAsked = pfn;
    g_pTextAskedContext = pContext;
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
    enum { kUtf8, k8Bit, kOther } kind = kOther;
    if (lstrcmpW(pszEncoding, L"UTF8") == 0)
        kind = kUtf8;
    else if (lstrcmpW(pszEncoding, L"8bitEncoding") == 0)
        kind = k8Bit;
    bool replaced = false;
    bool onlyTildes = true;
    for (PWSTR p = pszText; *p; ++p) {
        const WCHAR c = *p;
        bool keep;
        switch (kind) {
            case kUtf8: keep = Utf8Keeps(c); break;
            case k8Bit: keep = c >= 0x20 && c <= 0xFF && c != 0x22; break;
            default: keep = c >= 0x20 && c <= 0x7E && c != 0x22; break;
        }
        if (!keep) {
            *p = L'~';
            replaced = true;
        }
        if (*p != L'~') onlyTildes = false;
    }
    if (replaced && onlyTildes) pszText[0] = 0;
    return replaced ? TRUE : FALSE;
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
