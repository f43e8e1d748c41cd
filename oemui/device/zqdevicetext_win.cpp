#include "device/zqdevicetext_win.h"

#include "common/zqhandles.h"
#include "formats/zqdevicetext.h"

BOOL BDeviceBytesToText(const BYTE* pb, DWORD cb, PWSTR pszText, int cchText) {
    if (!pszText || cchText <= 0) return FALSE;
    ZeroMemory(pszText, static_cast<size_t>(cchText) * sizeof(WCHAR));
    if (cb > 0x7FFFFFFF) return FALSE;
    const DeviceTextKind kind = ClassifyDeviceText(pb, cb);
    if (kind == DeviceTextKind::None) return FALSE;
    if (kind == DeviceTextKind::Bytes || kind == DeviceTextKind::Utf16)
        return CopyDeviceText(kind, pb, cb, reinterpret_cast<char16_t*>(pszText), static_cast<size_t>(cchText)) ? TRUE
                                                                                                              : FALSE;
    // UTF-8 after its prefix, or all the bytes in the code page.
    const UINT codePage = kind == DeviceTextKind::Utf8 ? CP_UTF8 : CP_ACP;
    const char* source = reinterpret_cast<const char*>(pb) + (kind == DeviceTextKind::Utf8 ? 2 : 0);
    const int cbSource = static_cast<int>(cb) - (kind == DeviceTextKind::Utf8 ? 2 : 0);
    const int cch = MultiByteToWideChar(codePage, 0, source, cbSource, nullptr, 0);
    CZQLocalPtr<WCHAR> wide;
    if (cch <= 0 || !wide.Alloc(static_cast<size_t>(cch)) ||
        MultiByteToWideChar(codePage, 0, source, cbSource, wide.Get(), cch) != cch)
        return FALSE;
    const int copied = cch < cchText ? cch : cchText - 1;
    CopyMemory(pszText, wide.Get(), static_cast<size_t>(copied) * sizeof(WCHAR));
    return TRUE;
}
