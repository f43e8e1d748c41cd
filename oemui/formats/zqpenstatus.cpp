#include "formats/zqpenstatus.h"

#include <cstring>

namespace {

constexpr uint32_t kNoPen = 0xC0000000u;

int Digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return 0;
}

int Pair(const char* v, size_t n, size_t pos) { return ZQStatusHexDigit(v, n, pos) * 16 + ZQStatusHexDigit(v, n, pos + 1); }

ZQPen PenOfWord(uint32_t w) {
    ZQPen pen = {};
    pen.iTop = static_cast<int32_t>((w >> 30) & 0x3);
    pen.iKind = static_cast<int32_t>((w >> 24) & 0x3F);
    pen.iField3 = static_cast<int32_t>((w >> 19) & 0x1F);
    pen.iField4 = static_cast<int32_t>((w >> 16) & 0x7);
    pen.iField5 = static_cast<int32_t>((w >> 14) & 0x3);
    pen.iField6 = static_cast<int32_t>((w >> 13) & 0x1);
    pen.iField7 = static_cast<int32_t>((w >> 8) & 0x1F);
    pen.iLevel = static_cast<int32_t>(w & 0xFF);
    return pen;
}

// Version 2 packs a pen into 16 bits and carries no kind.
ZQPen PenOfShortWord(uint32_t w) {
    ZQPen pen = {};
    pen.iTop = static_cast<int32_t>((w >> 12) & 0xF);
    pen.iField4 = static_cast<int32_t>((w >> 9) & 0x7);
    pen.iField5 = static_cast<int32_t>((w >> 7) & 0x3);
    pen.iLevel = static_cast<int32_t>(w & 0x7F);
    return pen;
}

// Pens 1 to 3 always, pen n from 4 on only when the count reaches it.
void FillCountedPens(const uint32_t (&words)[8], PenStatus* s) {
    for (int n = 1; n <= 8; ++n)
        if (n <= 3 || s->iPenCount >= n) s->aPens[n - 1] = PenOfWord(words[n - 1]);
}

}  // namespace

int ZQStatusHexDigit(const char* pszValue, size_t cchValue, size_t pos) {
    return pszValue && pos < cchValue ? Digit(pszValue[pos]) : 0;
}

uint32_t ZQStatusWord(const char* pszValue, size_t cchValue, size_t pos) {
    uint32_t w = 0;
    for (size_t i = 0; i < 8 && pos + i < cchValue; ++i) w = (w << 4) | static_cast<uint32_t>(Digit(pszValue[pos + i]));
    return w;
}

char* ZQFindStatusValue(char* pszText, size_t cbText) {
    if (!pszText) return nullptr;
    const size_t end = strnlen(pszText, cbText);
    char* value = nullptr;
    size_t pos = 0;
    while (pos < end) {
        char* field = pszText + pos;
        char* semi = static_cast<char*>(std::memchr(field, ';', end - pos));
        const size_t len = semi ? static_cast<size_t>(semi - field) : end - pos;
        // The key must be the whole of "VSTATUS" or "S"; a field without a colon has none.
        const char* colon = static_cast<const char*>(std::memchr(field, ':', len));
        if (colon) {
            const size_t keyLen = static_cast<size_t>(colon - field);
            if ((keyLen == 7 && std::memcmp(field, "VSTATUS", 7) == 0) || (keyLen == 1 && field[0] == 'S'))
                value = field + keyLen + 1;
        }
        if (!semi) break;
        *semi = '\0';
        pos += len + 1;
    }
    return value;
}

bool ZQDecodeStatus(const char* pszValue, size_t cchValue, PenStatus* pStatus) {
    if (!pStatus) return false;
    *pStatus = PenStatus();
    if (!pszValue || cchValue == 0) return false;
    const char* v = pszValue;
    const size_t n = cchValue;
    PenStatus& s = *pStatus;
    s.iVersion = Pair(v, n, 0);
    if (s.iVersion > 4) return false;

    for (int i = 0; i < 5; ++i) s.aiHeader[i] = ZQStatusHexDigit(v, n, 2 + i);
    s.aiHeader[5] = n > 7 ? static_cast<int32_t>(static_cast<signed char>(v[7])) : 0;
    for (int i = 0; i < 6; ++i) s.aiHeader[6 + i] = ZQStatusHexDigit(v, n, 8 + i);

    uint32_t words[8] = {};
    switch (s.iVersion) {
        case 0:
            s.iPairA = Pair(v, n, 14);
            s.iPenCount = ZQStatusHexDigit(v, n, 16);
            words[0] = ZQStatusWord(v, n, 17);
            words[1] = ZQStatusWord(v, n, 25);
            FillCountedPens(words, &s);
            break;
        case 1:
            s.iPairA = Pair(v, n, 14);
            s.iPenCount = ZQStatusHexDigit(v, n, 16);
            for (int i = 0; i < 6; ++i) s.aPens[i] = PenOfWord(ZQStatusWord(v, n, 17 + 8 * static_cast<size_t>(i)));
            break;
        case 2:
            s.iPairA = Pair(v, n, 14);
            s.iPenCount = ZQStatusHexDigit(v, n, 16);
            for (int i = 0; i < 8; ++i)
                s.aPens[i] = PenOfShortWord(ZQStatusWord(v, n, 17 + 4 * static_cast<size_t>(i)) & 0xFFFF);
            break;
        case 3: {
            s.iPairA = Pair(v, n, 16);
            // Leading words with bit 31 set and bit 30 clear are not pens.
            size_t pos = 19;
            while (pos < n && (ZQStatusWord(v, n, pos) & kNoPen) == 0x80000000u) pos += 8;
            for (int i = 0; i < 8; ++i) {
                const size_t at = pos + 8 * static_cast<size_t>(i);
                if (at >= n) break;
                words[i] = ZQStatusWord(v, n, at);
                if (words[i] != 0 && words[i] != kNoPen) ++s.iPenCount;
            }
            FillCountedPens(words, &s);
            break;
        }
        case 4:
            s.iPairA = Pair(v, n, 20);
            words[0] = ZQStatusWord(v, n, 23);
            words[1] = ZQStatusWord(v, n, 31);
            s.iPenCount = (words[0] != kNoPen) + (words[1] != kNoPen);
            FillCountedPens(words, &s);
            break;
    }
    return true;
}
