#include "common/zqdevmodetags.h"

#include <cstring>

BOOL CZQDevmodeTags::BSetValue(BYTE* pBytes, DWORD cbSize, const GUID& guid) {
    if (!pBytes) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    static const uint8_t kEmpty[zqtag::kValueSize] = {};
    long off = zqtag::FindRecord(pBytes, cbSize, kEmpty);
    if (off < 0) return FALSE;
    std::memcpy(pBytes + off + zqtag::kValueOffset, &guid, zqtag::kValueSize);
    return TRUE;
}

BOOL CZQDevmodeTags::BGetValue(BYTE* pBytes, DWORD cbSize, BYTE** ppValue) {
    if (!pBytes || !ppValue) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    long off = zqtag::FindRecord(pBytes, cbSize, nullptr);
    if (off < 0) return FALSE;
    *ppValue = pBytes + off + zqtag::kValueOffset;
    return TRUE;
}

BOOL CZQDevmodeTags::BClearValue(BYTE* pBytes, DWORD cbSize, const GUID& guid) {
    if (!pBytes) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    long off = zqtag::FindRecord(pBytes, cbSize, reinterpret_cast<const uint8_t*>(&guid));
    if (off < 0) return FALSE;
    std::memset(pBytes + off + zqtag::kValueOffset, 0, zqtag::kValueSize);
    return TRUE;
}
