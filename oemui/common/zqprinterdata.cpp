#include "common/zqprinterdata.h"

#include <cstring>
#include <vector>

#include "common/zqstorenames.h"
#include "common/zqtrace.h"
#include "platform/zqprinterview.h"
#include "platform/zqspooler.h"

namespace {

DWORD QueryValue(HANDLE hPrinter, PCWSTR pszKey, PCWSTR pszValue, DWORD* pType, BYTE* pData, DWORD cb,
                 DWORD* pNeeded) {
    const auto& sp = zqspool::Spooler();
    if (!pszKey) return sp.GetPrinterDataW(hPrinter, const_cast<PWSTR>(pszValue), pType, pData, cb, pNeeded);
    return sp.GetPrinterDataExW(hPrinter, pszKey, pszValue, pType, pData, cb, pNeeded);
}

// What a value held before a group changed it: its data, or that it was not there.
struct Saved {
    bool present = false;
    DWORD type = REG_NONE;
    CZQLocalPtr<BYTE> data;
    DWORD cb = 0;
};

bool Missing(LONG rc) { return rc == ERROR_FILE_NOT_FOUND || rc == ERROR_PATH_NOT_FOUND; }

DWORD WriteUserValue(PCWSTR pszKey, PCWSTR pszName, DWORD dwType, const void* pData, DWORD cbData) {
    CZQRegKey key;
    LONG rc = RegCreateKeyExW(HKEY_CURRENT_USER, pszKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.Put(), nullptr);
    if (rc == ERROR_SUCCESS)
        rc = RegSetValueExW(key.Get(), pszName, 0, dwType, static_cast<const BYTE*>(pData), cbData);
    return static_cast<DWORD>(rc);
}

DWORD DeleteUserValue(PCWSTR pszKey, PCWSTR pszName) {
    CZQRegKey key;
    LONG rc = RegOpenKeyExW(HKEY_CURRENT_USER, pszKey, 0, KEY_SET_VALUE, key.Put());
    if (rc == ERROR_SUCCESS) rc = RegDeleteValueW(key.Get(), pszName);
    return Missing(rc) ? ERROR_SUCCESS : static_cast<DWORD>(rc);
}

DWORD Read(HANDLE hPrinter, const ZQValueChange& change, Saved& saved) {
    if (!hPrinter) return ZQReadUserValue(change.pszKey, change.pszName, &saved.type, saved.data, &saved.cb);
    return ZQReadStoredValue(hPrinter, change.pszKey, change.pszName, &saved.type, saved.data, &saved.cb);
}

DWORD Write(HANDLE hPrinter, const ZQValueChange& change, DWORD dwType, const void* pData, DWORD cbData) {
    if (!hPrinter) return WriteUserValue(change.pszKey, change.pszName, dwType, pData, cbData);
    return ZQWriteStoredValue(hPrinter, change.pszKey, change.pszName, dwType, pData, cbData);
}

DWORD Remove(HANDLE hPrinter, const ZQValueChange& change) {
    if (!hPrinter) return DeleteUserValue(change.pszKey, change.pszName);
    const DWORD rc = ZQDeleteStoredValue(hPrinter, change.pszKey, change.pszName);
    return rc == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : rc;
}

DWORD Apply(HANDLE hPrinter, const ZQValueChange& change) {
    if (change.bDelete) return Remove(hPrinter, change);
    return Write(hPrinter, change, change.dwType, change.pData, change.cbData);
}

// The value is already as the change would leave it.
bool Holds(const ZQValueChange& change, const Saved& saved) {
    if (change.bDelete) return !saved.present;
    return saved.present && saved.type == change.dwType && saved.cb == change.cbData &&
           (!change.cbData || std::memcmp(saved.data.Get(), change.pData, change.cbData) == 0);
}

DWORD Restore(HANDLE hPrinter, const ZQValueChange& change, const Saved& saved) {
    if (saved.present) return Write(hPrinter, change, saved.type, saved.data.Get(), saved.cb);
    return Remove(hPrinter, change);
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

DWORD ZQReadUserValue(PCWSTR pszKey, PCWSTR pszValue, DWORD* pdwType, CZQLocalPtr<BYTE>& data, DWORD* pcbData) {
    data.Reset();
    *pcbData = 0;
    if (!pszKey || !pszValue) return ERROR_INVALID_PARAMETER;
    CZQRegKey key;
    LONG rc = RegOpenKeyExW(HKEY_CURRENT_USER, pszKey, 0, KEY_QUERY_VALUE, key.Put());
    if (Missing(rc)) return ERROR_FILE_NOT_FOUND;
    DWORD cb = 0;
    if (rc == ERROR_SUCCESS) rc = RegQueryValueExW(key.Get(), pszValue, nullptr, pdwType, nullptr, &cb);
    if (rc != ERROR_SUCCESS) return static_cast<DWORD>(rc);
    CZQLocalPtr<BYTE> buffer;
    if (!buffer.Alloc(static_cast<size_t>(cb) + sizeof(WCHAR))) return ERROR_NOT_ENOUGH_MEMORY;
    rc = RegQueryValueExW(key.Get(), pszValue, nullptr, pdwType, buffer.Get(), &cb);
    if (rc != ERROR_SUCCESS) return static_cast<DWORD>(rc);
    data = std::move(buffer);
    *pcbData = cb;
    return ERROR_SUCCESS;
}

DWORD ZQWriteStoredValue(HANDLE hPrinter, PCWSTR pszKey, PCWSTR pszValue, DWORD dwType, const void* pData,
                         DWORD cbData) {
    const auto& sp = zqspool::Spooler();
    BYTE* data = static_cast<BYTE*>(const_cast<void*>(pData));
    if (!pszKey) return sp.SetPrinterDataW(hPrinter, const_cast<PWSTR>(pszValue), dwType, data, cbData);
    return sp.SetPrinterDataExW(hPrinter, pszKey, pszValue, dwType, data, cbData);
}

DWORD ZQDeleteStoredValue(HANDLE hPrinter, PCWSTR pszKey, PCWSTR pszValue) {
    // The root through its own key: the keyed call serves both.
    return zqspool::Spooler().DeletePrinterDataExW(hPrinter, pszKey ? pszKey : zqsettings::kRootKey, pszValue);
}

BOOL ZQChangeValuesTogether(HANDLE hPrinter, const ZQValueChange* pChanges, size_t count) {
    if (!pChanges && count) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    for (size_t i = 0; i < count; ++i) {
        const ZQValueChange& c = pChanges[i];
        if (!c.pszName || (!hPrinter && !c.pszKey) || (!c.bDelete && !c.pData && c.cbData)) {
            SetLastError(ERROR_INVALID_DATA);
            return FALSE;
        }
    }
    // What is stored now, whatever a sheet's view of the printer's data holds.
    zqspool::CZQStoredNow now;
    std::vector<Saved> saved(count);
    for (size_t i = 0; i < count; ++i) {
        const DWORD rc = Read(hPrinter, pChanges[i], saved[i]);
        saved[i].present = rc == ERROR_SUCCESS;
        if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND) {
            SetLastError(rc);
            return FALSE;
        }
    }
    // Writes first, removals last: a group cut short never lacks a value it had. A value that
    // already holds what it should is left alone.
    std::vector<size_t> order;
    order.reserve(count);
    for (int pass = 0; pass < 2; ++pass)
        for (size_t i = 0; i < count; ++i)
            if ((pChanges[i].bDelete != FALSE) == (pass == 1) && !Holds(pChanges[i], saved[i])) order.push_back(i);
    for (size_t done = 0; done < order.size(); ++done) {
        const DWORD rc = Apply(hPrinter, pChanges[order[done]]);
        if (rc == ERROR_SUCCESS) continue;
        for (size_t j = done; j-- > 0;)
            if (Restore(hPrinter, pChanges[order[j]], saved[order[j]]) != ERROR_SUCCESS)
                zqtrace::Line(L"ZQChangeValuesTogether: a value could not be put back\n");
        SetLastError(rc);
        return FALSE;
    }
    return TRUE;
}
