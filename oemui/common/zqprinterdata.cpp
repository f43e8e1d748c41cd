#include "common/zqprinterdata.h"

#include "common/zqstorenames.h"
#include "common/zqtrace.h"
#include "platform/zqspooler.h"

namespace {

// More values than a count and its records never need to go together.
constexpr DWORD kMaxTogether = 4;

DWORD QueryValue(HANDLE hPrinter, PCWSTR pszKey, PCWSTR pszValue, DWORD* pType, BYTE* pData, DWORD cb,
                 DWORD* pNeeded) {
    const auto& sp = zqspool::Spooler();
    if (!pszKey) return sp.GetPrinterDataW(hPrinter, const_cast<PWSTR>(pszValue), pType, pData, cb, pNeeded);
    return sp.GetPrinterDataExW(hPrinter, pszKey, pszValue, pType, pData, cb, pNeeded);
}

// What a value held before a group write: its data, or that it was not there.
struct Saved {
    bool present = false;
    DWORD type = REG_NONE;
    CZQLocalPtr<BYTE> data;
    DWORD cb = 0;
};

DWORD Restore(HANDLE hPrinter, const ZQRootValue& value, const Saved& saved) {
    if (saved.present)
        return ZQWriteStoredValue(hPrinter, nullptr, value.pszName, saved.type, saved.data.Get(), saved.cb);
    return zqspool::Spooler().DeletePrinterDataExW(hPrinter, zqsettings::kRootKey, value.pszName);
}

}  // namespace

DWORD ZQReadStoredValue(HANDLE hPrinter, PCWSTR pszKey, PCWSTR pszValue, DWORD* pdwType, CZQLocalPtr<BYTE>& data,
                        DWORD* pcbData) {
    data.Reset();
    *pcbData = 0;
    if (!hPrinter || !pszValue) return ERROR_INVALID_PARAMETER;
    DWORD needed = 0;
    DWORD rc = QueryValue(hPrinter, pszKey, pszValue, pdwType, nullptr, 0, &needed);
    // A value that grows between the two calls is asked for again.
    for (int attempt = 0; attempt < 3 && (rc == ERROR_MORE_DATA || rc == ERROR_SUCCESS); ++attempt) {
        CZQLocalPtr<BYTE> buffer;
        if (!buffer.Alloc(static_cast<size_t>(needed) + sizeof(WCHAR))) return ERROR_NOT_ENOUGH_MEMORY;
        const DWORD cb = needed;
        rc = QueryValue(hPrinter, pszKey, pszValue, pdwType, buffer.Get(), cb, &needed);
        if (rc == ERROR_SUCCESS) {
            data = std::move(buffer);
            *pcbData = needed <= cb ? needed : cb;
            return ERROR_SUCCESS;
        }
    }
    return rc;
}

DWORD ZQWriteStoredValue(HANDLE hPrinter, PCWSTR pszKey, PCWSTR pszValue, DWORD dwType, const void* pData,
                         DWORD cbData) {
    const auto& sp = zqspool::Spooler();
    BYTE* data = static_cast<BYTE*>(const_cast<void*>(pData));
    if (!pszKey) return sp.SetPrinterDataW(hPrinter, const_cast<PWSTR>(pszValue), dwType, data, cbData);
    return sp.SetPrinterDataExW(hPrinter, pszKey, pszValue, dwType, data, cbData);
}

BOOL ZQWriteRootValuesTogether(HANDLE hPrinter, const ZQRootValue* pValues, DWORD count) {
    if (!hPrinter || (!pValues && count) || count > kMaxTogether) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    Saved saved[kMaxTogether];
    for (DWORD i = 0; i < count; ++i) {
        const DWORD rc = ZQReadStoredValue(hPrinter, nullptr, pValues[i].pszName, &saved[i].type, saved[i].data,
                                           &saved[i].cb);
        saved[i].present = rc == ERROR_SUCCESS;
        if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND) {
            SetLastError(rc);
            return FALSE;
        }
    }
    for (DWORD i = 0; i < count; ++i) {
        const ZQRootValue& v = pValues[i];
        const DWORD rc = ZQWriteStoredValue(hPrinter, nullptr, v.pszName, v.dwType, v.pData, v.cbData);
        if (rc == ERROR_SUCCESS) continue;
        for (DWORD j = i; j-- > 0;)
            if (Restore(hPrinter, pValues[j], saved[j]) != ERROR_SUCCESS)
                zqtrace::Line(L"ZQWriteRootValuesTogether: a value could not be put back\n");
        SetLastError(rc);
        return FALSE;
    }
    return TRUE;
}
