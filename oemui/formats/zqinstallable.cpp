#include "formats/zqinstallable.h"

namespace {

const struct {
    const char* kind;
    int code;
} kTrayKinds[] = {
    {"MP", 1},       {"CASSETTE", 2}, {"UPPER_CASSETTE", 2}, {"LOWER_CASSETTE", 3}, {"ENVELOPE_FEEDER", 4},
    {"MIDDLE_CASSETTE", 5}, {"HCI", 5}, {"MIT", 6}, {"TRAY_21", 7}, {"TRAY_22", 8}, {"TRAY_23", 9},
    {"TRAY_24", 10}, {"TRAY_25", 11}, {"TRAY_26", 12},
};

zqwchar Upper(zqwchar c) { return c >= u'a' && c <= u'z' ? static_cast<zqwchar>(c - u'a' + u'A') : c; }

bool EqualNoCase(const zqwchar* text, const char* ascii) {
    for (; *text && *ascii; ++text, ++ascii)
        if (Upper(*text) != static_cast<zqwchar>(*ascii)) return false;
    return !*text && !*ascii;
}

bool IsDigit(zqwchar c) { return c >= u'0' && c <= u'9'; }

}  // namespace

int ZQSplitTableKeyword(const zqwchar* pszKeyword, ZQKeywordPart* pParts, int maxParts) {
    int count = 0;
    for (const zqwchar* p = pszKeyword; p && *p && count < maxParts;) {
        while (*p == u'-') ++p;
        if (!*p) break;
        size_t length = 0;
        zqwchar* part = pParts[count++];
        for (; *p && *p != u'-'; ++p)
            if (length + 1 < kZQKeywordPartChars) part[length++] = *p;
        part[length] = 0;
    }
    return count;
}

bool ZQReadWholeNumber(const zqwchar* pszPart, double dMax, double* pdValue) {
    const zqwchar* p = pszPart;
    if (!p) return false;
    while (*p == u' ' || *p == u'\t') ++p;
    const bool negative = *p == u'-';
    if (*p == u'-' || *p == u'+') ++p;
    if (!IsDigit(*p)) return false;
    double value = 0;
    // Past the limit the digits no longer matter.
    for (; IsDigit(*p); ++p)
        if (value <= dMax) value = value * 10 + (*p - u'0');
    *pdValue = negative ? 0 : value > dMax ? dMax : value;
    return true;
}

int ZQTrayKindCode(const zqwchar* pszKind) {
    if (!pszKind) return -1;
    for (const auto& row : kTrayKinds)
        if (EqualNoCase(pszKind, row.kind)) return row.code;
    return -1;
}

void ZQMediaRange(const zqwchar* pszKeyword, int* piLow, int* piHigh) {
    ZQKeywordPart parts[2] = {};
    const int found = ZQSplitTableKeyword(pszKeyword, parts, 2);
    double low = kZQDefaultLowMedia, high = kZQDefaultHighMedia;
    if (found < 1 || !ZQReadWholeNumber(parts[0], kZQLastMediaNumber, &low)) low = kZQDefaultLowMedia;
    if (found < 2 || !ZQReadWholeNumber(parts[1], kZQLastMediaNumber, &high)) high = kZQDefaultHighMedia;
    *piLow = static_cast<int>(low < high ? low : high);
    *piHigh = static_cast<int>(low < high ? high : low);
}

uint32_t ZQMediaMask(const uint8_t* pData, size_t cbData) {
    if (!pData || cbData > sizeof(uint32_t)) return 0;
    uint32_t mask = 0;
    for (size_t i = 0; i < cbData; ++i) mask = (mask << 8) | pData[i];
    return mask;
}
