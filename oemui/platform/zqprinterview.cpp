#include "platform/zqprinterview.h"

#include <cstring>
#include <cwctype>
#include <map>
#include <memory>
#include <new>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/zqspooler.h"

namespace zqspool {
namespace {

// A value, a key's value list or its subkey list as the spooler answered it: its data, or that it
// is not there.
struct Answer {
    DWORD rc = ERROR_SUCCESS;
    DWORD type = REG_NONE;  // a value's
    DWORD count = 0;        // a value list's entries
    std::vector<BYTE> bytes;
};

struct ViewData {
    HANDLE hPrinter = nullptr;
    DWORD thread = 0;
    std::map<std::wstring, Answer> values;  // "<key>\<name>"
    std::map<std::wstring, Answer> lists;   // "<key>"
    std::map<std::wstring, Answer> subkeys;
    int writes = -1;  // whether the handle may write; -1 not known
};

// The views and the table, shared by every thread.
struct Views {
    Views() { InitializeCriticalSection(&lock); }
    ~Views() { DeleteCriticalSection(&lock); }
    CRITICAL_SECTION lock;
    std::vector<ViewData*> open;
    const SpoolerApi* pBeneath = nullptr;
    SpoolerApi table{};
};
Views& State() {
    static Views s_views;
    return s_views;
}

class CLock {
public:
    CLock() { EnterCriticalSection(&State().lock); }
    ~CLock() { LeaveCriticalSection(&State().lock); }
    CLock(const CLock&) = delete;
    CLock& operator=(const CLock&) = delete;
};

thread_local int t_storedNow = 0;

// Keys compare without case; null, empty and the root's own name are the root.
std::wstring KeyName(LPCWSTR pszKey) {
    std::wstring key = pszKey && *pszKey ? pszKey : L"PrinterDriverData";
    while (!key.empty() && key.back() == L'\\') key.pop_back();
    size_t start = 0;
    while (start < key.size() && key[start] == L'\\') ++start;
    key.erase(0, start);
    for (wchar_t& c : key) c = static_cast<wchar_t>(std::towlower(c));
    return key;
}
std::wstring ValueKey(LPCWSTR pszKey, LPCWSTR pszName) {
    std::wstring name = pszName ? pszName : L"";
    for (wchar_t& c : name) c = static_cast<wchar_t>(std::towlower(c));
    return KeyName(pszKey) + L"\\" + name;
}

// The view serving reads of this handle on this thread, if any (the lock held).
ViewData* ServingView(HANDLE hPrinter) {
    if (t_storedNow) return nullptr;
    const DWORD thread = GetCurrentThreadId();
    for (ViewData* v : State().open)
        if (v->hPrinter == hPrinter && v->thread == thread) return v;
    return nullptr;
}

// Only the value or its absence is kept: a failed call is asked again next time.
bool Keeps(DWORD rc) { return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND || rc == ERROR_PATH_NOT_FOUND; }

const SpoolerApi& Beneath() { return *State().pBeneath; }

// A value read whole: a room that fits most values, then the size the spooler names.
Answer FetchValue(HANDLE h, LPCWSTR pszKey, LPCWSTR pszName) {
    Answer a;
    a.bytes.resize(512);
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD needed = 0;
        const DWORD cb = static_cast<DWORD>(a.bytes.size());
        a.rc = pszKey ? Beneath().GetPrinterDataExW(h, pszKey, pszName, &a.type, a.bytes.data(), cb, &needed)
                      : Beneath().GetPrinterDataW(h, const_cast<LPWSTR>(pszName), &a.type, a.bytes.data(), cb, &needed);
        if (a.rc == ERROR_SUCCESS) {
            a.bytes.resize(needed <= a.bytes.size() ? needed : a.bytes.size());
            return a;
        }
        if (a.rc != ERROR_MORE_DATA || needed <= a.bytes.size()) break;
        a.bytes.resize(needed);
    }
    a.bytes.clear();
    return a;
}

// The kept answer of `id`, asked of the spooler when there is none; null, with the spooler's answer
// in *pRc, when that is not kept (no value nor its absence) or is no success.
template <typename Fetch>
const Answer* KeptAnswer(std::map<std::wstring, Answer>& kept, const std::wstring& id, Fetch fetch, DWORD* pRc) {
    auto found = kept.find(id);
    if (found == kept.end()) {
        Answer a = fetch();
        if (!Keeps(a.rc)) {
            *pRc = a.rc;
            return nullptr;
        }
        found = kept.emplace(id, std::move(a)).first;
    }
    *pRc = found->second.rc;
    return found->second.rc == ERROR_SUCCESS ? &found->second : nullptr;
}

DWORD ServeValue(const Answer& a, LPDWORD pType, LPBYTE pData, DWORD cb, LPDWORD pNeeded) {
    const DWORD size = static_cast<DWORD>(a.bytes.size());
    if (pType) *pType = a.type;
    if (pNeeded) *pNeeded = size;
    if (!pData || cb < size) return ERROR_MORE_DATA;
    if (size) std::memcpy(pData, a.bytes.data(), size);
    return ERROR_SUCCESS;
}

DWORD ReadValue(HANDLE h, LPCWSTR pszKey, LPCWSTR pszName, LPDWORD pType, LPBYTE pData, DWORD cb, LPDWORD pNeeded) {
    {
        CLock lock;
        if (ViewData* v = ServingView(h)) {
            DWORD rc = ERROR_SUCCESS;
            const Answer* a =
                KeptAnswer(v->values, ValueKey(pszKey, pszName), [&] { return FetchValue(h, pszKey, pszName); }, &rc);
            return a ? ServeValue(*a, pType, pData, cb, pNeeded) : rc;
        }
    }
    if (pszKey) return Beneath().GetPrinterDataExW(h, pszKey, pszName, pType, pData, cb, pNeeded);
    return Beneath().GetPrinterDataW(h, const_cast<LPWSTR>(pszName), pType, pData, cb, pNeeded);
}

DWORD WINAPI GetData(HANDLE h, LPWSTR pszName, LPDWORD pType, LPBYTE pData, DWORD cb, LPDWORD pNeeded) {
    return ReadValue(h, nullptr, pszName, pType, pData, cb, pNeeded);
}
DWORD WINAPI GetDataEx(HANDLE h, LPCWSTR pszKey, LPCWSTR pszName, LPDWORD pType, LPBYTE pData, DWORD cb,
                       LPDWORD pNeeded) {
    if (!pszKey) return Beneath().GetPrinterDataExW(h, pszKey, pszName, pType, pData, cb, pNeeded);
    return ReadValue(h, pszKey, pszName, pType, pData, cb, pNeeded);
}

// A list asked for its size, then read into that size while it keeps growing.
template <typename Call>
Answer FetchList(Call call) {
    Answer a;
    DWORD needed = 0;
    a.rc = call(nullptr, 0, &needed, &a.count);
    for (int attempt = 0; attempt < 4 && a.rc == ERROR_MORE_DATA && needed; ++attempt) {
        a.bytes.assign(needed, 0);
        a.count = 0;
        a.rc = call(a.bytes.data(), needed, &needed, &a.count);
    }
    if (a.rc == ERROR_SUCCESS && a.bytes.empty()) a.count = 0;
    if (a.rc != ERROR_SUCCESS) a.bytes.clear();
    return a;
}

DWORD WINAPI EnumDataEx(HANDLE h, LPCWSTR pszKey, LPBYTE pOut, DWORD cb, LPDWORD pNeeded, LPDWORD pCount) {
    {
        CLock lock;
        ViewData* v = pszKey ? ServingView(h) : nullptr;
        if (v) {
            DWORD rc = ERROR_SUCCESS;
            const Answer* kept = KeptAnswer(v->lists, KeyName(pszKey), [&] {
                return FetchList([&](LPBYTE p, DWORD size, LPDWORD needed, LPDWORD count) {
                    return Beneath().EnumPrinterDataExW(h, pszKey, p, size, needed, count);
                });
            }, &rc);
            if (!kept) return rc;
            const Answer& a = *kept;
            const DWORD size = static_cast<DWORD>(a.bytes.size());
            if (pNeeded) *pNeeded = size;
            if (pCount) *pCount = 0;
            if (size > cb || (size && !pOut)) return ERROR_MORE_DATA;
            if (!size) return ERROR_SUCCESS;
            std::memcpy(pOut, a.bytes.data(), size);
            // The entries point into their own block: the copy's into the copy.
            const BYTE* from = a.bytes.data();
            auto rebase = [&](auto*& p) {
                const auto* q = reinterpret_cast<const BYTE*>(p);
                if (q >= from && q < from + size) p = reinterpret_cast<std::remove_reference_t<decltype(p)>>(pOut + (q - from));
            };
            auto* entries = reinterpret_cast<PRINTER_ENUM_VALUESW*>(pOut);
            for (DWORD i = 0; i < a.count && (i + 1) * sizeof(PRINTER_ENUM_VALUESW) <= size; ++i) {
                rebase(entries[i].pValueName);
                rebase(entries[i].pData);
            }
            if (pCount) *pCount = a.count;
            return ERROR_SUCCESS;
        }
    }
    return Beneath().EnumPrinterDataExW(h, pszKey, pOut, cb, pNeeded, pCount);
}

DWORD WINAPI EnumKey(HANDLE h, LPCWSTR pszKey, LPWSTR pOut, DWORD cb, LPDWORD pNeeded) {
    {
        CLock lock;
        if (ViewData* v = ServingView(h)) {
            DWORD rc = ERROR_SUCCESS;
            const Answer* kept = KeptAnswer(v->subkeys, KeyName(pszKey), [&] {
                return FetchList([&](LPBYTE p, DWORD size, LPDWORD needed, LPDWORD) {
                    return Beneath().EnumPrinterKeyW(h, pszKey, reinterpret_cast<LPWSTR>(p), size, needed);
                });
            }, &rc);
            if (!kept) return rc;
            const Answer& a = *kept;
            const DWORD size = static_cast<DWORD>(a.bytes.size());
            if (pNeeded) *pNeeded = size;
            if (size > cb || (size && !pOut)) return ERROR_MORE_DATA;
            if (size) std::memcpy(pOut, a.bytes.data(), size);
            return ERROR_SUCCESS;
        }
    }
    return Beneath().EnumPrinterKeyW(h, pszKey, pOut, cb, pNeeded);
}

// What every view holds of a value (its list and the key lists with it), or of a whole key.
void Forget(LPCWSTR pszKey, LPCWSTR pszName) {
    CLock lock;
    const std::wstring key = KeyName(pszKey);
    for (ViewData* v : State().open) {
        v->subkeys.clear();  // a write may make a key
        if (pszName) {
            v->values.erase(ValueKey(pszKey, pszName));
            v->lists.erase(key);
            continue;
        }
        // A key goes with everything below it.
        auto below = [&](const std::wstring& id) {
            return id.compare(0, key.size(), key) == 0 && (id.size() == key.size() || id[key.size()] == L'\\');
        };
        for (auto* m : {&v->values, &v->lists})
            for (auto it = m->begin(); it != m->end();) it = below(it->first) ? m->erase(it) : std::next(it);
    }
}

DWORD WINAPI SetData(HANDLE h, LPWSTR pszName, DWORD type, LPBYTE pData, DWORD cb) {
    const DWORD rc = Beneath().SetPrinterDataW(h, pszName, type, pData, cb);
    Forget(nullptr, pszName ? pszName : L"");
    return rc;
}
DWORD WINAPI SetDataEx(HANDLE h, LPCWSTR pszKey, LPCWSTR pszName, DWORD type, LPBYTE pData, DWORD cb) {
    const DWORD rc = Beneath().SetPrinterDataExW(h, pszKey, pszName, type, pData, cb);
    Forget(pszKey, pszName ? pszName : L"");
    return rc;
}
DWORD WINAPI DeleteData(HANDLE h, LPWSTR pszName) {
    const DWORD rc = Beneath().DeletePrinterDataW(h, pszName);
    Forget(nullptr, pszName ? pszName : L"");
    return rc;
}
DWORD WINAPI DeleteDataEx(HANDLE h, LPCWSTR pszKey, LPCWSTR pszName) {
    const DWORD rc = Beneath().DeletePrinterDataExW(h, pszKey, pszName);
    Forget(pszKey, pszName ? pszName : L"");
    return rc;
}
DWORD WINAPI DeleteKey(HANDLE h, LPCWSTR pszKey) {
    const DWORD rc = Beneath().DeletePrinterKeyW(h, pszKey);
    Forget(pszKey, nullptr);
    return rc;
}

void Clear(ViewData& v) {
    v.values.clear();
    v.lists.clear();
    v.subkeys.clear();
    v.writes = -1;
}

}  // namespace

void CZQPrinterDataView::Open(HANDLE hPrinter) {
    if (hPrinter == m_hPrinter && m_pData) return;
    Close();
    if (!hPrinter) return;
    auto* data = new (std::nothrow) ViewData();
    if (!data) return;
    data->hPrinter = hPrinter;
    data->thread = GetCurrentThreadId();
    CLock lock;
    State().open.push_back(data);
    m_pData = data;
    m_hPrinter = hPrinter;
}

void CZQPrinterDataView::Close() {
    if (!m_pData) return;
    {
        CLock lock;
        auto& open = State().open;
        for (auto it = open.begin(); it != open.end(); ++it)
            if (*it == m_pData) {
                open.erase(it);
                break;
            }
    }
    delete static_cast<ViewData*>(m_pData);
    m_pData = nullptr;
    m_hPrinter = nullptr;
    m_bFilled = false;
}

void CZQPrinterDataView::Refresh() {
    if (!m_pData) return;
    CLock lock;
    Clear(*static_cast<ViewData*>(m_pData));
}

void RefreshViews(HANDLE hPrinter) {
    CLock lock;
    for (ViewData* v : State().open)
        if (v->hPrinter == hPrinter) Clear(*v);
}

bool KeptWriteAnswer(HANDLE hPrinter, bool* pbWrites) {
    CLock lock;
    const ViewData* v = ServingView(hPrinter);
    if (!v || v->writes < 0) return false;
    *pbWrites = v->writes != 0;
    return true;
}

void KeepWriteAnswer(HANDLE hPrinter, bool bWrites) {
    CLock lock;
    if (ViewData* v = ServingView(hPrinter)) v->writes = bWrites ? 1 : 0;
}

CZQStoredNow::CZQStoredNow() { ++t_storedNow; }
CZQStoredNow::~CZQStoredNow() { --t_storedNow; }

const SpoolerApi* ViewTable(const SpoolerApi& beneath) {
    Views& s = State();
    CLock lock;
    if (s.open.empty()) return nullptr;
    if (s.pBeneath != &beneath) {
        s.table = beneath;
        s.table.GetPrinterDataW = &GetData;
        s.table.GetPrinterDataExW = &GetDataEx;
        s.table.EnumPrinterDataExW = &EnumDataEx;
        s.table.EnumPrinterKeyW = &EnumKey;
        s.table.SetPrinterDataW = &SetData;
        s.table.SetPrinterDataExW = &SetDataEx;
        s.table.DeletePrinterDataW = &DeleteData;
        s.table.DeletePrinterDataExW = &DeleteDataEx;
        s.table.DeletePrinterKeyW = &DeleteKey;
        s.pBeneath = &beneath;
    }
    return &s.table;
}

}  // namespace zqspool
