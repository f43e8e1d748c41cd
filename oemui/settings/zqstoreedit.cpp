#include "settings/zqstoreedit.h"

#include <climits>
#include <cwchar>
#include <utility>

#include "common/zqprinterdata.h"
#include "platform/zqprinterview.h"
#include "common/zqstorepath.h"
#include "common/zqstrings.h"
#include "formats/zqindexedname.h"
#include "settings/zqdriverdata.h"

BOOL ZQReadUserValues(PCWSTR pszPath, std::vector<ZQStoreValue>* pValues) {
    pValues->clear();
    // Opened, not made: a missing key is an empty store.
    CZQRegKey key;
    LONG rc = RegOpenKeyExW(HKEY_CURRENT_USER, pszPath, 0, KEY_READ, key.Put());
    if (rc == ERROR_FILE_NOT_FOUND || rc == ERROR_PATH_NOT_FOUND) return TRUE;
    DWORD cchMaxName = 0, cbMaxData = 0;
    if (rc == ERROR_SUCCESS)
        rc = RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &cchMaxName,
                              &cbMaxData, nullptr, nullptr);
    std::vector<WCHAR> name(cchMaxName + 1);
    std::vector<BYTE> data(cbMaxData + 1);
    for (DWORD i = 0; rc == ERROR_SUCCESS; ++i) {
        DWORD cchName = static_cast<DWORD>(name.size()), type = REG_NONE, cb = static_cast<DWORD>(data.size());
        rc = RegEnumValueW(key.Get(), i, name.data(), &cchName, nullptr, &type, data.data(), &cb);
        if (rc == ERROR_NO_MORE_ITEMS) return TRUE;
        // Anything else: the key changed under the enumeration, or cannot be read.
        if (rc == ERROR_SUCCESS)
            pValues->push_back({std::wstring(name.data(), cchName), type, std::vector<BYTE>(data.begin(), data.begin() + cb)});
    }
    pValues->clear();
    SetLastError(static_cast<DWORD>(rc));
    return FALSE;
}

void ZQValuesOfList(const CZQPrinterDataList& list, std::vector<ZQStoreValue>* pValues) {
    pValues->clear();
    for (DWORD i = 0; i < list.Count(); ++i) {
        DWORD type = REG_NONE, cb = 0;
        const BYTE* data = list.Data(i, &type, &cb);
        if (list.Name(i))
            pValues->push_back({list.Name(i), type, data ? std::vector<BYTE>(data, data + cb) : std::vector<BYTE>()});
    }
}

CZQStoreEdit::CZQStoreEdit(HANDLE hPrinter, PCWSTR pszPrinterName, BOOL bPerUser)
    : m_hPrinter(hPrinter),
      m_bPerUser(bPerUser),
      m_lock(hPrinter, pszPrinterName),
      m_now(std::make_unique<zqspool::CZQStoredNow>()) {
    if (m_bPerUser && !CZQCommon::BReadRestrictedUserGuid(m_hPrinter, m_szGuid)) m_szGuid[0] = 0;
}

CZQStoreEdit::CZQStoreEdit(CZQPrinterHandle printer, BOOL bPerUser)
    : m_owned(std::move(printer)),
      m_hPrinter(m_owned.Get()),
      m_bPerUser(bPerUser),
      m_lock(m_hPrinter),
      m_now(std::make_unique<zqspool::CZQStoredNow>()) {
    if (m_bPerUser && !CZQCommon::BReadRestrictedUserGuid(m_hPrinter, m_szGuid)) m_szGuid[0] = 0;
}

CZQStoreEdit::~CZQStoreEdit() = default;

std::wstring CZQStoreEdit::KeyPath(PCWSTR pszKey) const {
    if (!pszKey) return L"";
    return m_bPerUser ? ZQUserStorePath(m_szGuid, pszKey) : pszKey;
}

BOOL CZQStoreEdit::BReadNow(PCWSTR pszKey, std::vector<ZQStoreValue>* pValues) const {
    pValues->clear();
    const std::wstring path = KeyPath(pszKey);
    BOOL read = FALSE;
    if (!BHeld() || path.empty() || (!m_bPerUser && !m_hPrinter)) {
        SetLastError(BHeld() ? ERROR_INVALID_DATA : ERROR_TIMEOUT);
    } else if (m_bPerUser) {
        read = ZQReadUserValues(path.c_str(), pValues);
    } else {
        CZQPrinterDataList list;
        read = list.BReadTree(m_hPrinter, path.c_str());
        if (read) ZQValuesOfList(list, pValues);
    }
    if (!read) m_dwError = GetLastError() ? GetLastError() : ERROR_READ_FAULT;
    return read;
}

DWORD CZQStoreEdit::DwReadNow(PCWSTR pszKey, PCWSTR pszName, ZQStoreValue* pValue) const {
    const std::wstring path = KeyPath(pszKey);
    if (!BHeld() || path.empty() || !pszName) return m_dwError = BHeld() ? ERROR_INVALID_DATA : ERROR_TIMEOUT;
    CZQLocalPtr<BYTE> data;
    DWORD type = REG_NONE, cb = 0;
    const DWORD rc = m_bPerUser ? ZQReadUserValue(path.c_str(), pszName, &type, data, &cb)
                                : ZQReadStoredValue(m_hPrinter, path.c_str(), pszName, &type, data, &cb);
    if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND) m_dwError = rc;
    if (rc == ERROR_SUCCESS)
        *pValue = {pszName, type, data.Get() ? std::vector<BYTE>(data.Get(), data.Get() + cb) : std::vector<BYTE>()};
    return rc;
}

const ZQStoreValue* CZQStoreEdit::PFind(const std::vector<ZQStoreValue>& values, PCWSTR pszName) {
    for (const ZQStoreValue& v : values)
        if (pszName && ZQEqualNoCase(v.name.c_str(), pszName)) return &v;
    return nullptr;
}

long long CZQStoreEdit::LLIndexOf(PCWSTR pszName, PCWSTR pszPrefix) {
    if (!pszName || !pszPrefix || !ZQStartsWithNoCase(pszName, pszPrefix)) return -1;
    const zqname::IndexRead read = zqname::ReadIndex(pszName + wcslen(pszPrefix));
    return read.exact ? read.index : -1;
}

long long CZQStoreEdit::LLPastIndexes(const std::vector<ZQStoreValue>& values, PCWSTR pszPrefix) {
    long long past = 0;
    for (const ZQStoreValue& v : values) {
        const long long index = LLIndexOf(v.name.c_str(), pszPrefix);
        if (index + 1 > past) past = index + 1;
    }
    return past;
}

std::wstring CZQStoreEdit::IndexedName(PCWSTR pszPrefix, long long llIndex) {
    return zqname::IndexedName(pszPrefix, llIndex);
}

int CZQStoreEdit::IFreeIndex(const std::vector<ZQStoreValue>& values, PCWSTR pszKey, PCWSTR pszPrefix, int iFrom) const {
    for (long long index = iFrom < 0 ? 0 : iFrom; index < INT_MAX; ++index) {
        const std::wstring name = IndexedName(pszPrefix, index);
        if (!PFind(values, name.c_str()) && !BWrites(pszKey, name.c_str())) return static_cast<int>(index);
    }
    return -1;
}

bool CZQStoreEdit::BWrites(PCWSTR pszKey, PCWSTR pszName) const {
    for (const Change& c : m_changes)
        if (!c.bDelete && ZQEqualNoCase(c.key.c_str(), pszKey) && ZQEqualNoCase(c.name.c_str(), pszName)) return true;
    return false;
}

void CZQStoreEdit::VWrite(PCWSTR pszKey, PCWSTR pszName, DWORD dwType, const void* pData, DWORD cbData) {
    // A value removed earlier in the edit and written now is written: the later change counts.
    for (size_t i = m_changes.size(); i-- > 0;)
        if (m_changes[i].bDelete && ZQEqualNoCase(m_changes[i].key.c_str(), pszKey) &&
            ZQEqualNoCase(m_changes[i].name.c_str(), pszName))
            m_changes.erase(m_changes.begin() + static_cast<std::ptrdiff_t>(i));
    const BYTE* bytes = static_cast<const BYTE*>(pData);
    m_changes.push_back({pszKey, pszName, dwType, bytes ? std::vector<BYTE>(bytes, bytes + cbData) : std::vector<BYTE>(), false});
}

void CZQStoreEdit::VRemove(PCWSTR pszKey, PCWSTR pszName) { m_changes.push_back({pszKey, pszName, REG_NONE, {}, true}); }

bool CZQStoreEdit::BRemovalsRefused(const std::vector<ZQValueChange>& group) {
    // Putting back a value the commit made is a removal: where the spooler removes nothing (Wine's)
    // it would stay, a second copy of what a removal was to move. So a commit that makes values and
    // removes others first removes one it makes, not there yet: a refusal ends it before anything
    // changed. The registry removes what it is asked to.
    bool removes = false;
    for (const ZQValueChange& c : group) removes = removes || c.bDelete;
    if (m_bPerUser || !removes) return false;
    for (const ZQValueChange& c : group) {
        if (c.bDelete) continue;
        DWORD type = REG_NONE, cb = 0;
        CZQLocalPtr<BYTE> data;
        if (ZQReadStoredValue(m_hPrinter, c.pszKey, c.pszName, &type, data, &cb) != ERROR_FILE_NOT_FOUND) continue;
        const DWORD rc = ZQDeleteStoredValue(m_hPrinter, c.pszKey, c.pszName);
        if (rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND) return false;
        m_dwError = rc;
        return true;
    }
    return false;
}

ZQStoreOutcome CZQStoreEdit::ECommit() {
    std::vector<Change> changes;
    changes.swap(m_changes);
    m_dwError = ERROR_SUCCESS;
    if (!BHeld()) {
        m_dwError = ERROR_TIMEOUT;
        return ZQStoreOutcome::kBusy;
    }
    if (changes.empty()) return ZQStoreOutcome::kStored;
    std::vector<std::wstring> paths;
    paths.reserve(changes.size());
    std::vector<ZQValueChange> group;
    for (const Change& c : changes) {
        paths.push_back(KeyPath(c.key.c_str()));
        if (paths.back().empty() || (!m_bPerUser && !m_hPrinter)) {
            m_dwError = ERROR_INVALID_DATA;
            return ZQStoreOutcome::kRefused;
        }
        group.push_back({paths.back().c_str(), c.name.c_str(), c.dwType, c.data.data(),
                         static_cast<DWORD>(c.data.size()), c.bDelete ? TRUE : FALSE});
    }
    if (BRemovalsRefused(group)) return ZQStoreOutcome::kRefused;
    if (ZQChangeValuesTogether(m_bPerUser ? nullptr : m_hPrinter, group.data(), group.size()))
        return ZQStoreOutcome::kStored;
    m_dwError = GetLastError();
    if (m_dwError == ERROR_SUCCESS) m_dwError = ERROR_WRITE_FAULT;
    return ZQStoreOutcome::kRefused;
}
