// Printer data of the settings store: text and number values under the key trees and at the root.
#include <cstring>

#include "common/zqtrace.h"
#include "platform/zqspooler.h"
#include "settings/zqdriverdata.h"

namespace {

// No settings text comes near this; a larger value is not one of ours and is not read.
constexpr DWORD kMaxTextBytes = 64 * 1024;

BOOL Fail(DWORD dwError) {
    SetLastError(dwError);
    return FALSE;
}

BOOL SpoolerResult(DWORD rc) {
    SetLastError(rc);
    return rc == ERROR_SUCCESS;
}

// A stored text as the trees keep it: REG_SZ, whole UTF-16 code units, ending in its terminator
// within the stored size. Anything else is not trusted as a text.
bool IsStoredText(DWORD type, const BYTE* data, DWORD cb) {
    if (type != REG_SZ || cb < sizeof(WCHAR) || cb % sizeof(WCHAR) != 0 || !data) return false;
    WCHAR last;
    std::memcpy(&last, data + cb - sizeof(WCHAR), sizeof last);
    return last == 0;
}

DWORD QueryValue(HANDLE hPrinter, PCWSTR pszKey, PCWSTR pszValue, DWORD* pType, BYTE* pData, DWORD cb,
                 DWORD* pNeeded) {
    const auto& sp = zqspool::Spooler();
    if (!pszKey) return sp.GetPrinterDataW(hPrinter, const_cast<PWSTR>(pszValue), pType, pData, cb, pNeeded);
    return sp.GetPrinterDataExW(hPrinter, pszKey, pszValue, pType, pData, cb, pNeeded);
}

// Size first: only "more data" goes on; then a zero-filled buffer of twice the size and two
// bytes more, which the caller owns when the value proves to be a text.
BOOL ReadText(HANDLE hPrinter, PCWSTR pszKey, PCWSTR pszValue, PWSTR* ppszText) {
    if (ppszText) *ppszText = nullptr;
    if (!hPrinter || !pszValue || !ppszText) return Fail(ERROR_INVALID_DATA);
    DWORD type = REG_NONE, needed = 0;
    const DWORD rc = QueryValue(hPrinter, pszKey, pszValue, &type, nullptr, 0, &needed);
    if (rc != ERROR_MORE_DATA) return Fail(rc == ERROR_SUCCESS ? ERROR_INVALID_DATA : rc);
    if (needed == 0 || needed > kMaxTextBytes) return Fail(ERROR_INVALID_DATA);
    const DWORD cbBuffer = needed * 2 + 2;
    CZQLocalPtr<BYTE> buffer;
    if (!buffer.Alloc(cbBuffer)) return Fail(ERROR_NOT_ENOUGH_MEMORY);
    DWORD cbRead = 0;
    const DWORD rc2 = QueryValue(hPrinter, pszKey, pszValue, &type, buffer.Get(), cbBuffer - 2, &cbRead);
    if (rc2 != ERROR_SUCCESS) return Fail(rc2);
    if (cbRead > cbBuffer - 2 || !IsStoredText(type, buffer.Get(), cbRead)) return Fail(ERROR_INVALID_DATA);
    *ppszText = reinterpret_cast<PWSTR>(buffer.Release());
    return TRUE;
}

BOOL WriteText(HANDLE hPrinter, PCWSTR pszKey, PCWSTR pszValue, PCWSTR pszText) {
    if (!hPrinter || !pszValue || !pszText) return Fail(ERROR_INVALID_DATA);
    const size_t cb = (wcslen(pszText) + 1) * sizeof(WCHAR);
    if (cb > kMaxTextBytes) return Fail(ERROR_INVALID_DATA);
    auto* data = reinterpret_cast<BYTE*>(const_cast<PWSTR>(pszText));
    const auto& sp = zqspool::Spooler();
    if (!pszKey) return SpoolerResult(sp.SetPrinterDataW(hPrinter, const_cast<PWSTR>(pszValue), REG_SZ, data,
                                                         static_cast<DWORD>(cb)));
    return SpoolerResult(sp.SetPrinterDataExW(hPrinter, pszKey, pszValue, REG_SZ, data, static_cast<DWORD>(cb)));
}

bool InBuffer(const BYTE* base, DWORD cbBase, const void* p, DWORD cb) {
    const auto* q = static_cast<const BYTE*>(p);
    return q >= base && cb <= cbBase && static_cast<size_t>(q - base) <= cbBase - cb;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Single values
// ---------------------------------------------------------------------------------------------
BOOL CZQDriverData::BGetPrinterDataEx(HANDLE hPrinter, PCWSTR pszKey, PCWSTR pszValue, PWSTR* ppszText) {
    ZQ_TRACE("CZQDriverData::BGetPrinterDataEx");
    if (!pszKey) {
        if (ppszText) *ppszText = nullptr;
        return Fail(ERROR_INVALID_DATA);
    }
    return ReadText(hPrinter, pszKey, pszValue, ppszText);
}

BOOL CZQDriverData::BGetPrinterData(HANDLE hPrinter, PCWSTR pszValue, PWSTR* ppszText) {
    ZQ_TRACE("CZQDriverData::BGetPrinterData");
    return ReadText(hPrinter, nullptr, pszValue, ppszText);
}

BOOL CZQDriverData::BGetPrinterDataDword(HANDLE hPrinter, PCWSTR pszValue, DWORD* pdwValue) {
    if (!hPrinter || !pszValue || !pdwValue) return Fail(ERROR_INVALID_DATA);
    DWORD type = REG_NONE, needed = 0, value = 0;
    const DWORD rc = zqspool::Spooler().GetPrinterDataW(hPrinter, const_cast<PWSTR>(pszValue), &type,
                                                        reinterpret_cast<BYTE*>(&value), sizeof value, &needed);
    if (rc != ERROR_SUCCESS) return Fail(rc);
    if (type != REG_DWORD || needed != sizeof value) return Fail(ERROR_INVALID_DATA);
    *pdwValue = value;
    return TRUE;
}

BOOL CZQDriverData::BGetPrinterDataBytes(HANDLE hPrinter, PCWSTR pszKey, PCWSTR pszValue, BYTE* pData, DWORD cbData) {
    if (!hPrinter || !pszKey || !pData) return Fail(ERROR_INVALID_DATA);
    DWORD type = REG_NONE, needed = 0;
    const DWORD rc = zqspool::Spooler().GetPrinterDataExW(hPrinter, pszKey, pszValue, &type, pData, cbData, &needed);
    if (rc != ERROR_SUCCESS) return Fail(rc);
    return needed == cbData ? TRUE : Fail(ERROR_INVALID_DATA);
}

BOOL CZQDriverData::BSetPrinterDataEx(HANDLE hPrinter, PCWSTR pszKey, PCWSTR pszValue, PCWSTR pszText) {
    if (!pszKey) return Fail(ERROR_INVALID_DATA);
    return WriteText(hPrinter, pszKey, pszValue, pszText);
}

BOOL CZQDriverData::BSetPrinterData(HANDLE hPrinter, PCWSTR pszValue, PCWSTR pszText) {
    return WriteText(hPrinter, nullptr, pszValue, pszText);
}

BOOL CZQDriverData::BSetPrinterDataDword(HANDLE hPrinter, PCWSTR pszValue, DWORD dwValue) {
    if (!hPrinter || !pszValue) return Fail(ERROR_INVALID_DATA);
    return SpoolerResult(zqspool::Spooler().SetPrinterDataW(hPrinter, const_cast<PWSTR>(pszValue), REG_DWORD,
                                                            reinterpret_cast<BYTE*>(&dwValue), sizeof dwValue));
}

BOOL CZQDriverData::BDeletePrinterDataEx(HANDLE hPrinter, PCWSTR pszKey, PCWSTR pszValue) {
    if (!hPrinter || !pszKey || !pszValue) return Fail(ERROR_INVALID_DATA);
    return SpoolerResult(zqspool::Spooler().DeletePrinterDataExW(hPrinter, pszKey, pszValue));
}

BOOL CZQDriverData::BDeletePrinterKey(HANDLE hPrinter, PCWSTR pszKey) {
    if (!hPrinter || !pszKey || !*pszKey) return Fail(ERROR_INVALID_DATA);
    return SpoolerResult(zqspool::Spooler().DeletePrinterKeyW(hPrinter, pszKey));
}

BOOL CZQDriverData::BDeletePrinterData(HANDLE hPrinter, PCWSTR pszValue) {
    // The keyed call on the root's own key: the spooler that has it needs no second entry point.
    return BDeletePrinterDataEx(hPrinter, zqsettings::kRootKey, pszValue);
}

// ---------------------------------------------------------------------------------------------
// Listing a key
// ---------------------------------------------------------------------------------------------
BOOL CZQPrinterDataList::BRead(HANDLE hPrinter, PCWSTR pszKey) {
    ZQ_TRACE("CZQPrinterDataList::BRead");
    m_buffer.Reset();
    m_cbBuffer = 0;
    m_count = 0;
    if (!hPrinter || !pszKey) return Fail(ERROR_INVALID_DATA);
    const auto& sp = zqspool::Spooler();
    // A spooler may leave the sizes alone when it fails.
    DWORD needed = 0, count = 0;
    DWORD rc = sp.EnumPrinterDataExW(hPrinter, pszKey, nullptr, 0, &needed, &count);
    // The values may change between two calls: ask again for the size they need now.
    for (int attempt = 0; attempt < 3; ++attempt) {
        // A key without values of its own needs no room, whichever way the spooler says so.
        if ((rc == ERROR_SUCCESS || rc == ERROR_MORE_DATA) && needed == 0) return TRUE;
        if (rc != ERROR_MORE_DATA) return Fail(rc == ERROR_SUCCESS ? ERROR_INVALID_DATA : rc);
        CZQLocalPtr<BYTE> buffer;
        if (!buffer.Alloc(needed)) return Fail(ERROR_NOT_ENOUGH_MEMORY);
        const DWORD cb = needed;
        count = 0;
        rc = sp.EnumPrinterDataExW(hPrinter, pszKey, buffer.Get(), cb, &needed, &count);
        if (rc == ERROR_SUCCESS) {
            // Never more entries than the buffer can hold.
            if (count > cb / sizeof(PRINTER_ENUM_VALUESW)) return Fail(ERROR_INVALID_DATA);
            m_buffer = std::move(buffer);
            m_cbBuffer = cb;
            m_count = count;
            return TRUE;
        }
    }
    return Fail(rc);
}

BOOL CZQPrinterDataList::BReadTree(HANDLE hPrinter, PCWSTR pszKey) {
    if (BRead(hPrinter, pszKey)) return TRUE;
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return TRUE;
    SetLastError(error);
    return FALSE;
}

int CZQDriverData::ICountValues(HANDLE hPrinter, PCWSTR pszKey) {
    CZQPrinterDataList list;
    return list.BReadTree(hPrinter, pszKey) ? static_cast<int>(list.Count()) : -1;
}

const PRINTER_ENUM_VALUESW* CZQPrinterDataList::Entry(DWORD i) const {
    if (i >= m_count) return nullptr;
    return reinterpret_cast<const PRINTER_ENUM_VALUESW*>(m_buffer.Get()) + i;
}

PCWSTR CZQPrinterDataList::Name(DWORD i) const {
    const PRINTER_ENUM_VALUESW* e = Entry(i);
    if (!e || !e->pValueName || e->cbValueName < sizeof(WCHAR) || e->cbValueName % sizeof(WCHAR) != 0) return nullptr;
    if (!InBuffer(m_buffer.Get(), m_cbBuffer, e->pValueName, e->cbValueName)) return nullptr;
    if (e->pValueName[e->cbValueName / sizeof(WCHAR) - 1] != 0) return nullptr;
    return e->pValueName;
}

const BYTE* CZQPrinterDataList::Data(DWORD i, DWORD* pdwType, DWORD* pcbData) const {
    const PRINTER_ENUM_VALUESW* e = Entry(i);
    if (!e || !e->pData || !InBuffer(m_buffer.Get(), m_cbBuffer, e->pData, e->cbData)) return nullptr;
    if (pdwType) *pdwType = e->dwType;
    if (pcbData) *pcbData = e->cbData;
    return e->pData;
}

PCWSTR CZQPrinterDataList::Text(DWORD i) const {
    DWORD type = REG_NONE, cb = 0;
    const BYTE* data = Data(i, &type, &cb);
    return data && IsStoredText(type, data, cb) ? reinterpret_cast<PCWSTR>(data) : nullptr;
}
