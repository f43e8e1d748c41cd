#include "common/zqstrings.h"

#include <cstdarg>
#include <cwchar>

namespace {
// Largest buffer the bounded routines accept, as the system's own bounded routines do.
constexpr size_t kMaxChars = 2147483647;
}  // namespace

size_t ZQTextLength(PCWSTR psz, size_t cchMax) {
    size_t n = 0;
    if (psz)
        while (n < cchMax && psz[n]) ++n;
    return n;
}

HRESULT ZQCopyTextN(PWSTR pszDest, size_t cchDest, PCWSTR pszSrc, size_t cchSrcMax) {
    if (!pszDest || cchDest == 0 || cchDest > kMaxChars) return E_INVALIDARG;
    if (!pszSrc) {
        pszDest[0] = 0;
        return E_INVALIDARG;
    }
    const size_t len = ZQTextLength(pszSrc, cchSrcMax);
    const size_t n = len < cchDest ? len : cchDest - 1;
    for (size_t i = 0; i < n; ++i) pszDest[i] = pszSrc[i];
    pszDest[n] = 0;
    return n < len ? ZQ_E_TEXT_CUT : S_OK;
}

HRESULT ZQCopyText(PWSTR pszDest, size_t cchDest, PCWSTR pszSrc) {
    return ZQCopyTextN(pszDest, cchDest, pszSrc, static_cast<size_t>(-1));
}

HRESULT ZQAppendText(PWSTR pszDest, size_t cchDest, PCWSTR pszSrc) {
    if (!pszDest || cchDest == 0 || cchDest > kMaxChars) return E_INVALIDARG;
    const size_t used = ZQTextLength(pszDest, cchDest);
    if (used == cchDest) {
        // Not terminated within its size: terminate it, nothing fits behind.
        pszDest[cchDest - 1] = 0;
        return E_INVALIDARG;
    }
    return ZQCopyText(pszDest + used, cchDest - used, pszSrc);
}

HRESULT ZQFormatText(PWSTR pszDest, size_t cchDest, PCWSTR pszFormat, ...) {
    if (!pszDest || cchDest == 0 || cchDest > kMaxChars) return E_INVALIDARG;
    if (!pszFormat) {
        pszDest[0] = 0;
        return E_INVALIDARG;
    }
    va_list args;
    va_start(args, pszFormat);
    const int n = _vsnwprintf(pszDest, cchDest, pszFormat, args);
    va_end(args);
    pszDest[cchDest - 1] = 0;
    if (n < 0 || static_cast<size_t>(n) >= cchDest) return ZQ_E_TEXT_CUT;
    return S_OK;
}

PWSTR ZQDupText(PCWSTR psz, size_t cchMax) {
    if (!psz) return nullptr;
    const size_t len = ZQTextLength(psz, cchMax ? cchMax : static_cast<size_t>(-1));
    auto* p = static_cast<PWSTR>(LocalAlloc(LPTR, (len + 1) * sizeof(WCHAR)));
    if (!p) return nullptr;
    for (size_t i = 0; i < len; ++i) p[i] = psz[i];
    return p;
}

bool ZQEqualNoCase(PCWSTR a, PCWSTR b) {
    if (!a || !b) return false;
    return CompareStringOrdinal(a, -1, b, -1, TRUE) == CSTR_EQUAL;
}

bool ZQStartsWithNoCase(PCWSTR psz, PCWSTR pszPrefix) {
    if (!psz || !pszPrefix) return false;
    const size_t cchPrefix = wcslen(pszPrefix);
    if (wcslen(psz) < cchPrefix) return false;
    if (cchPrefix == 0) return true;
    return CompareStringOrdinal(psz, static_cast<int>(cchPrefix), pszPrefix, static_cast<int>(cchPrefix), TRUE) ==
           CSTR_EQUAL;
}

bool ZQIsPlainFileName(PCWSTR pszName) {
    if (!pszName || !pszName[0]) return false;
    for (PCWSTR p = pszName; *p; ++p)
        if (*p < 0x20 || wcschr(L"\\/:*?\"<>|", *p)) return false;
    return wcsstr(pszName, L"..") == nullptr;
}

bool ZQIsPathInFolder(PCWSTR pszPath) {
    if (!pszPath || !pszPath[0]) return false;
    WCHAR part[MAX_PATH];
    for (PCWSTR p = pszPath;;) {
        const size_t cch = wcscspn(p, L"\\/");
        if (cch == 0 || cch >= MAX_PATH) return false;
        wmemcpy(part, p, cch);
        part[cch] = 0;
        if (!ZQIsPlainFileName(part)) return false;
        if (!p[cch]) return true;
        p += cch + 1;
    }
}

bool ZQContainsNoCase(PCWSTR psz, PCWSTR pszPart) {
    if (!psz || !pszPart) return false;
    const size_t cch = wcslen(psz), cchPart = wcslen(pszPart);
    for (size_t i = 0; i + cchPart <= cch; ++i)
        if (CompareStringOrdinal(psz + i, static_cast<int>(cchPart), pszPart, static_cast<int>(cchPart), TRUE) ==
            CSTR_EQUAL)
            return true;
    return false;
}

bool ZQEqualNoCaseA(const char* a, const char* b) {
    if (!a || !b) return false;
    for (;; ++a, ++b) {
        char ca = *a, cb = *b;
        if (ca >= 'A' && ca <= 'Z') ca = static_cast<char>(ca - 'A' + 'a');
        if (cb >= 'A' && cb <= 'Z') cb = static_cast<char>(cb - 'A' + 'a');
        if (ca != cb) return false;
        if (!ca) return true;
    }
}
