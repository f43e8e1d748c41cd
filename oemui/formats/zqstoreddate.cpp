#include "formats/zqstoreddate.h"

namespace {

constexpr size_t kLongestText = 254;

bool IsLeapYear(unsigned year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

bool IsPossible(const ZQStoredDate& d) {
    static const unsigned kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (d.wYear < 1601 || d.wYear > 30827 || d.wMonth < 1 || d.wMonth > 12) return false;
    const unsigned days = kDays[d.wMonth - 1] + (d.wMonth == 2 && IsLeapYear(d.wYear) ? 1 : 0);
    return d.wDay >= 1 && d.wDay <= days && d.wHour < 24 && d.wMinute < 60 && d.wSecond < 60;
}

// One piece: one to nine decimal digits, nothing else.
bool ParseNumber(const zqwchar* begin, const zqwchar* end, unsigned long* pValue) {
    if (end <= begin || end - begin > 9) return false;
    unsigned long value = 0;
    for (const zqwchar* p = begin; p < end; ++p) {
        if (*p < u'0' || *p > u'9') return false;
        value = value * 10 + static_cast<unsigned long>(*p - u'0');
    }
    *pValue = value;
    return true;
}

}  // namespace

bool ZQParseStoredDate(const zqwchar* pszText, size_t cchText, ZQStoredDate* pDate) {
    if (!pszText || !pDate) return false;
    size_t length = 0;
    while (length < cchText && pszText[length]) ++length;
    if (length > kLongestText) return false;
    unsigned long numbers[6] = {};
    int count = 0;
    const zqwchar* piece = pszText;
    const zqwchar* const end = pszText + length;
    for (const zqwchar* p = pszText;; ++p) {
        if (p < end && *p != u'/' && *p != u':') continue;
        if (count < 6 && !ParseNumber(piece, p, &numbers[count++])) return false;
        if (p == end) break;
        piece = p + 1;
    }
    if (count < 3) return false;
    for (unsigned long n : numbers)
        if (n > 0xFFFF) return false;
    ZQStoredDate date = {static_cast<unsigned short>(numbers[2]), static_cast<unsigned short>(numbers[0]),
                         static_cast<unsigned short>(numbers[1]), static_cast<unsigned short>(numbers[3]),
                         static_cast<unsigned short>(numbers[4]), static_cast<unsigned short>(numbers[5])};
    if (!IsPossible(date)) return false;
    *pDate = date;
    return true;
}
