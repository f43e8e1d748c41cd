#include "formats/zqjobnames.h"

#include <algorithm>
#include <iterator>

namespace {

// Code points the printer's panel cannot show in a UTF-8 job name.
struct CodeRange {
    zqwchar first;
    zqwchar last;
};
constexpr CodeRange kUtf8Excluded[] = {
    {0x007F, 0x009F}, {0x0218, 0x02FF}, {0x0346, 0x035F}, {0x0362, 0x0400}, {0x04FA, 0x0EDB},
    {0x0EDE, 0x10FF}, {0x11FA, 0x1DFF}, {0x1EFA, 0x1FFF}, {0x2047, 0x209F}, {0x20AD, 0x20CF},
    {0x20E2, 0x245F}, {0x24EB, 0x2FFF}, {0x31A0, 0x31FF}, {0x3244, 0x325F}, {0x32B1, 0x32BF},
    {0x33FF, 0x4DFF}, {0xA000, 0xABFF}, {0xD7A4, 0xF8FF}, {0xFA2E, 0xFF00}, {0xFFEF, 0xFFFF},
};
constexpr zqwchar kUtf8ExcludedPoints[] = {
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
static_assert(std::size(kUtf8ExcludedPoints) == 116, "116 single code points");

constexpr zqwchar kTilde = u'~';
constexpr zqwchar kQuote = u'"';

bool Keeps(zqwchar c, ZQNameEncoding encoding) {
    if (c < 0x20 || c == kQuote) return false;
    switch (encoding) {
        case ZQNameEncoding::kUtf8:
            for (const CodeRange& r : kUtf8Excluded)
                if (c >= r.first && c <= r.last) return false;
            return !std::binary_search(std::begin(kUtf8ExcludedPoints), std::end(kUtf8ExcludedPoints), c);
        case ZQNameEncoding::k8Bit: return c <= 0xFF;
        default: return c <= 0x7E;
    }
}

bool Equal(const zqwchar* a, const char16_t* b) {
    for (; *a && *b; ++a, ++b)
        if (*a != static_cast<zqwchar>(*b)) return false;
    return *a == 0 && *b == 0;
}

size_t Length(const zqwchar* p) {
    size_t n = 0;
    while (p[n]) ++n;
    return n;
}

}  // namespace

ZQNameEncoding ZQNameEncodingOf(const zqwchar* pszKeyword) {
    if (pszKeyword && Equal(pszKeyword, u"UTF8")) return ZQNameEncoding::kUtf8;
    if (pszKeyword && Equal(pszKeyword, u"8bitEncoding")) return ZQNameEncoding::k8Bit;
    return ZQNameEncoding::kAscii;
}

bool ZQSanitizeName(zqwchar* pszText, ZQNameEncoding encoding) {
    if (!pszText) return false;
    bool replaced = false;
    bool onlyTildes = true;
    zqwchar* out = pszText;
    for (const zqwchar* p = pszText; *p; ++p) {
        zqwchar c = *p;
        // Unit by unit: each half of a surrogate pair becomes a "~" of its own.
        if (!Keeps(c, encoding)) {
            c = kTilde;
            replaced = true;
        }
        if (c != kTilde) onlyTildes = false;
        *out++ = c;
    }
    *out = 0;
    if (replaced && onlyTildes) pszText[0] = 0;
    return replaced;
}

bool ZQIsPlainAscii(const zqwchar* pszText) {
    if (!pszText || !*pszText) return false;
    for (const zqwchar* p = pszText; *p; ++p)
        if (*p < 32 || *p > 126 || *p == kQuote) return false;
    return true;
}

bool ZQReplaceIfNotPlainAscii(zqwchar* pszText, size_t cchText, const zqwchar* pszFallBack) {
    if (!pszText || cchText == 0 || ZQIsPlainAscii(pszText)) return false;
    size_t n = 0;
    for (; pszFallBack && pszFallBack[n] && n + 1 < cchText; ++n) pszText[n] = pszFallBack[n];
    pszText[n] = 0;
    return true;
}

bool ZQAutomaticJobNameUsable(const zqwchar* pszName) {
    if (!pszName) return false;
    const size_t len = Length(pszName);
    if (len < 3) return false;
    for (size_t i = 1; i + 1 < len; ++i)
        if (pszName[i] != kTilde) return true;
    return false;
}

void ZQMakeAutomaticUserName(zqwchar* pszName, ZQNameEncoding encoding) {
    if (!pszName) return;
    if (Length(pszName) > kZQNameShown) pszName[kZQNameShown] = 0;
    ZQSanitizeName(pszName, encoding);
}

bool ZQPinTyped(zqwchar* pszText) {
    if (!pszText || !*pszText) return false;
    for (const zqwchar* p = pszText; *p; ++p) {
        if (*p >= u'0' && *p <= u'9') continue;
        for (size_t i = 0; i < kZQPinDigits; ++i) pszText[i] = u'0';
        pszText[kZQPinDigits] = 0;
        return true;
    }
    return false;
}

uint32_t ZQPinValue(const zqwchar* pszText) {
    uint64_t value = 0;
    for (const zqwchar* p = pszText; p && *p >= u'0' && *p <= u'9'; ++p)
        value = std::min<uint64_t>(value * 10 + static_cast<uint64_t>(*p - u'0'), 0xFFFFFFFFull);
    return static_cast<uint32_t>(value);
}

void ZQFormatPin(uint32_t dwPin, zqwchar (&szText)[kZQPinDigits + 1]) {
    uint32_t value = dwPin <= 9999 ? dwPin : 0;
    for (size_t i = kZQPinDigits; i-- > 0; value /= 10) szText[i] = static_cast<zqwchar>(u'0' + value % 10);
    szText[kZQPinDigits] = 0;
}

bool ZQPinAccepted(const zqwchar* pszText, bool bRequired) {
    return !bRequired || (pszText && Length(pszText) >= kZQPinDigits);
}
