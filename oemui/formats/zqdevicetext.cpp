#include "formats/zqdevicetext.h"

namespace {

bool IsPrintable(uint8_t c) { return c >= 0x20 && c <= 0x7E; }

}  // namespace

DeviceTextKind ClassifyDeviceText(const uint8_t* p, size_t n) {
    if (!p || n < 3) return DeviceTextKind::None;
    if (p[0] == 0x01 && (p[1] == 21 || p[1] == 11)) return DeviceTextKind::Bytes;
    if (p[0] == 0x02 && p[1] == 0x4E) return DeviceTextKind::Utf16;
    if (p[0] == 0xFD && p[1] == 0xE8) return DeviceTextKind::Utf8;
    for (size_t i = 0; i < n; ++i)
        if (!IsPrintable(p[i]) && !(i == n - 1 && p[i] == 0)) return DeviceTextKind::None;
    return DeviceTextKind::CodePage;
}

bool CopyDeviceText(DeviceTextKind kind, const uint8_t* p, size_t n, char16_t* out, size_t cchOut) {
    if (!out || cchOut == 0) return false;
    for (size_t i = 0; i < cchOut; ++i) out[i] = 0;
    if (!p || n < 2) return false;
    const size_t room = cchOut - 1;
    if (kind == DeviceTextKind::Bytes) {
        const size_t count = n - 2;
        for (size_t i = 0; i < count && i < room; ++i) out[i] = p[2 + i];
        return count <= room;
    }
    if (kind == DeviceTextKind::Utf16) {
        const size_t count = (n - 2) / 2;
        for (size_t i = 0; i < count && i < room; ++i)
            out[i] = static_cast<char16_t>(p[2 + 2 * i] | (p[3 + 2 * i] << 8));
        return count <= room;
    }
    return false;
}
