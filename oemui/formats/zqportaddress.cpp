#include "formats/zqportaddress.h"

#include <cstring>

long ZQRegTextLength(uint32_t dwType, const uint8_t* pData, size_t cbData, size_t cchMax) {
    if (dwType != kZQRegSz || !pData) return -1;
    const size_t units = cbData / sizeof(zqwchar);
    for (size_t i = 0; i < units && i < cchMax; ++i) {
        zqwchar unit;
        std::memcpy(&unit, pData + i * sizeof unit, sizeof unit);
        if (unit == 0) return static_cast<long>(i);
    }
    return -1;
}

bool ZQInquiryAddress(const uint8_t* pData, size_t cbData, size_t cbGiven, zqwchar (&text)[16]) {
    text[0] = 0;
    if (!pData || cbGiven < kZQInquiryAddressBytes || cbData < kZQInquiryAddressBytes) return false;
    const uint8_t* a = pData + 36;
    if (!(a[0] | a[1] | a[2] | a[3])) return false;
    size_t n = 0;
    for (int i = 0; i < 4; ++i) {
        if (i) text[n++] = u'.';
        char digits[3];
        int count = 0;
        for (unsigned v = a[i];; v /= 10) {
            digits[count++] = static_cast<char>('0' + v % 10);
            if (v < 10) break;
        }
        while (count) text[n++] = static_cast<zqwchar>(digits[--count]);
    }
    text[n] = 0;
    return true;
}
