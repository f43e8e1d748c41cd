#include "platform/zqprinterview.h"

#include <cstddef>
#include <cstring>
#include <cwchar>
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
    // With no bytes: what the spooler answers a question without room (spoolers differ there);
    // kNotAsked until asked.
    DWORD emptyRc = kNotAsked;
    static constexpr DWORD kNotAsked = ~0u;
};

// A device-capabilities answer: the count (or the value answered in its place), and with an output
// room the entries the driver wrote. The port is no part of the question: the driver never sees it.
struct ListAnswer {
    std::wstring printer;
    WORD capability = 0;
    std::vector<BYTE> devmode;  // public part and driver extra as the driver reads them (DevmodeKey)
    bool withOutput = false;
    int count = 0;
    std::vector<BYTE> entries;
};

struct ViewData {
    HANDLE hPrinter = nullptr;
    DWORD thread = 0;
    std::map<std::wstring, Answer> values;  // "<key>\<name>"
    std::map<std::wstring, Answer> lists;   // "<key>"
    std::map<std::wstring, Answer> subkeys;
    int writes = -1;  // whether the handle may write; -1 not known
    // The handle's driver record (level 3) and printer record (level 2); empty until read whole.
    std::vector<BYTE> driver;
    std::vector<BYTE> printer;
    // The core driver's device-capabilities lists asked on this thread, in a document sheet: the
    // last few answers of each list, the latest first.
    bool keepLists = false;
    int passes = 0;  // a device sheet's lists live as long as its passes
    std::vector<ListAnswer> capsLists;
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

// Keys compare without case, as the spooler reads them: empty parts of a path left out ("\\A\\\\B\\" is
// "a\\b"). Null and empty name no key; the calls without a key read the root.
constexpr WCHAR kRoot[] = L"PrinterDriverData";
std::wstring KeyName(LPCWSTR pszKey) {
    std::wstring key;
    bool part = false;
    for (const WCHAR* p = pszKey ? pszKey : L""; *p; ++p) {
        if (*p == L'\\') {
            part = false;
            continue;
        }
        if (!part && !key.empty()) key += L'\\';
        part = true;
        key += static_cast<wchar_t>(std::towlower(*p));
    }
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

DWORD QueryValue(HANDLE h, LPCWSTR pszKey, LPCWSTR pszName, LPDWORD pType, LPBYTE pData, DWORD cb, LPDWORD pNeeded) {
    if (!pszKey) return Beneath().GetPrinterDataW(h, const_cast<LPWSTR>(pszName), pType, pData, cb, pNeeded);
    return Beneath().GetPrinterDataExW(h, pszKey, pszName, pType, pData, cb, pNeeded);
}

// A value read whole: a room that fits most values, then the size the spooler names. An empty
// value is asked once more without room, to answer that question as the spooler does.
Answer FetchValue(HANDLE h, LPCWSTR pszKey, LPCWSTR pszName) {
    Answer a;
    a.bytes.resize(512);
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD needed = 0;
        const DWORD cb = static_cast<DWORD>(a.bytes.size());
        a.rc = QueryValue(h, pszKey, pszName, &a.type, a.bytes.data(), cb, &needed);
        if (a.rc == ERROR_SUCCESS) {
            a.bytes.resize(needed <= a.bytes.size() ? needed : a.bytes.size());
            if (a.bytes.empty()) {
                DWORD type = REG_NONE;
                a.emptyRc = QueryValue(h, pszKey, pszName, &type, nullptr, 0, &needed);
            }
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
Answer* KeptAnswer(std::map<std::wstring, Answer>& kept, const std::wstring& id, Fetch fetch, DWORD* pRc) {
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

// What the spooler answers a question about kept bytes, its out-parameters set first as it sets
// them: no room (or too little) for them is ERROR_MORE_DATA; no bytes and no room is whatever the
// spooler answered to that.
DWORD Room(const Answer& a, const void* pOut, DWORD cb) {
    if (a.bytes.empty()) return pOut || a.emptyRc == Answer::kNotAsked ? ERROR_SUCCESS : a.emptyRc;
    return !pOut || cb < a.bytes.size() ? ERROR_MORE_DATA : ERROR_SUCCESS;
}

// A value of a key the view listed: its entry, or its absence; false when the key was not listed.
bool FromListing(const ViewData& v, LPCWSTR pszKey, LPCWSTR pszName, Answer& out) {
    const auto listed = v.lists.find(KeyName(pszKey));
    if (listed == v.lists.end()) return false;
    const Answer& list = listed->second;
    out.rc = ERROR_FILE_NOT_FOUND;
    if (list.rc != ERROR_SUCCESS) return true;  // no key, no value
    const auto* entries = reinterpret_cast<const PRINTER_ENUM_VALUESW*>(list.bytes.data());
    const int cchName = static_cast<int>(wcslen(pszName ? pszName : L""));
    for (DWORD i = 0; i < list.count && (i + 1) * sizeof *entries <= list.bytes.size(); ++i) {
        const PRINTER_ENUM_VALUESW& e = entries[i];
        if (!e.pValueName || CompareStringOrdinal(e.pValueName, -1, pszName ? pszName : L"", cchName, TRUE) != CSTR_EQUAL)
            continue;
        out.rc = ERROR_SUCCESS;
        out.type = e.dwType;
        if (e.pData && e.cbData) out.bytes.assign(e.pData, e.pData + e.cbData);
        break;
    }
    return true;
}

// pszKey is the key's name, or null for the root's calls.
DWORD ReadValue(HANDLE h, LPCWSTR pszKey, LPCWSTR pszName, LPDWORD pType, LPBYTE pData, DWORD cb, LPDWORD pNeeded) {
    {
        CLock lock;
        if (ViewData* v = ServingView(h)) {
            DWORD rc = ERROR_SUCCESS;
            const LPCWSTR key = pszKey ? pszKey : kRoot;
            // A key listed already answers for its values.
            Answer* a = KeptAnswer(v->values, ValueKey(key, pszName), [&] {
                Answer listed;
                return FromListing(*v, key, pszName, listed) ? listed : FetchValue(h, pszKey, pszName);
            }, &rc);
            if (!a) return rc;
            if (a->bytes.empty() && !pData && a->emptyRc == Answer::kNotAsked) {
                DWORD type = REG_NONE, needed = 0;
                a->emptyRc = QueryValue(h, pszKey, pszName, &type, nullptr, 0, &needed);
            }
            const DWORD size = static_cast<DWORD>(a->bytes.size());
            if (pType) *pType = a->type;
            if (pNeeded) *pNeeded = size;
            rc = Room(*a, pData, cb);
            if (rc == ERROR_SUCCESS && size) std::memcpy(pData, a->bytes.data(), size);
            return rc;
        }
    }
    return QueryValue(h, pszKey, pszName, pType, pData, cb, pNeeded);
}

DWORD WINAPI GetData(HANDLE h, LPWSTR pszName, LPDWORD pType, LPBYTE pData, DWORD cb, LPDWORD pNeeded) {
    return ReadValue(h, nullptr, pszName, pType, pData, cb, pNeeded);
}
// A key with no name is the spooler's to refuse.
DWORD WINAPI GetDataEx(HANDLE h, LPCWSTR pszKey, LPCWSTR pszName, LPDWORD pType, LPBYTE pData, DWORD cb,
                       LPDWORD pNeeded) {
    if (KeyName(pszKey).empty()) return Beneath().GetPrinterDataExW(h, pszKey, pszName, pType, pData, cb, pNeeded);
    return ReadValue(h, pszKey, pszName, pType, pData, cb, pNeeded);
}

// A list asked for its size, then read into that size while it keeps growing. An empty list is
// asked once more with room, since spoolers differ in their answer without.
template <typename Call>
Answer FetchList(Call call) {
    Answer a;
    DWORD needed = 0;
    a.rc = call(nullptr, 0, &needed, &a.count);
    if (a.rc == ERROR_MORE_DATA && !needed) {
        a.emptyRc = a.rc;
        BYTE room = 0;
        a.count = 0;
        a.rc = call(&room, 0, &needed, &a.count);
    } else if (a.rc == ERROR_SUCCESS && !needed) {
        a.emptyRc = a.rc;
    }
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
        ViewData* v = KeyName(pszKey).empty() ? nullptr : ServingView(h);
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
            rc = Room(a, pOut, cb);
            if (rc != ERROR_SUCCESS || !size) return rc;
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

// The subkeys of a key; no key lists those of the printer's top.
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
            rc = Room(a, pOut, cb);
            if (rc == ERROR_SUCCESS && size) std::memcpy(pOut, a.bytes.data(), size);
            return rc;
        }
    }
    return Beneath().EnumPrinterKeyW(h, pszKey, pOut, cb, pNeeded);
}

// What every view holds of a value (its list and the key lists with it), or of a whole key. A
// write may make its key and the keys above it: what was found absent there is asked again, but
// for the printer's own data key, which is always there.
void Forget(LPCWSTR pszKey, LPCWSTR pszName) {
    CLock lock;
    const std::wstring key = KeyName(pszKey);
    const std::wstring root = KeyName(kRoot);
    auto below = [&key](const std::wstring& id) {
        return id.compare(0, key.size(), key) == 0 && (id.size() == key.size() || id[key.size()] == L'\\');
    };
    // id names a key above the written one, or the written one itself.
    auto above = [&key](const std::wstring& id) {
        return key.compare(0, id.size(), id) == 0 && (key.size() == id.size() || key[id.size()] == L'\\');
    };
    for (ViewData* v : State().open) {
        v->subkeys.clear();
        if (!pszName) {
            // A key goes with everything below it.
            for (auto* m : {&v->values, &v->lists})
                for (auto it = m->begin(); it != m->end();) it = below(it->first) ? m->erase(it) : std::next(it);
            continue;
        }
        v->values.erase(ValueKey(pszKey, pszName));
        v->lists.erase(key);
        for (auto* m : {&v->values, &v->lists})
            for (auto it = m->begin(); it != m->end();) {
                const size_t cut = m == &v->values ? it->first.rfind(L'\\') : std::wstring::npos;
                const std::wstring owner = cut == std::wstring::npos ? it->first : it->first.substr(0, cut);
                it = it->second.rc != ERROR_SUCCESS && above(owner) && owner != root ? m->erase(it) : std::next(it);
            }
    }
}

DWORD WINAPI SetData(HANDLE h, LPWSTR pszName, DWORD type, LPBYTE pData, DWORD cb) {
    const DWORD rc = Beneath().SetPrinterDataW(h, pszName, type, pData, cb);
    Forget(kRoot, pszName ? pszName : L"");
    return rc;
}
DWORD WINAPI SetDataEx(HANDLE h, LPCWSTR pszKey, LPCWSTR pszName, DWORD type, LPBYTE pData, DWORD cb) {
    const DWORD rc = Beneath().SetPrinterDataExW(h, pszKey, pszName, type, pData, cb);
    Forget(pszKey, pszName ? pszName : L"");
    return rc;
}
DWORD WINAPI DeleteData(HANDLE h, LPWSTR pszName) {
    const DWORD rc = Beneath().DeletePrinterDataW(h, pszName);
    Forget(kRoot, pszName ? pszName : L"");
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

// ---- the driver and printer records of the view's handle
// Where a record's fixed part holds pointers into its own block.
constexpr size_t kDriver3Pointers[] = {
    offsetof(DRIVER_INFO_3W, pName),         offsetof(DRIVER_INFO_3W, pEnvironment),
    offsetof(DRIVER_INFO_3W, pDriverPath),   offsetof(DRIVER_INFO_3W, pDataFile),
    offsetof(DRIVER_INFO_3W, pConfigFile),   offsetof(DRIVER_INFO_3W, pHelpFile),
    offsetof(DRIVER_INFO_3W, pDependentFiles), offsetof(DRIVER_INFO_3W, pMonitorName),
    offsetof(DRIVER_INFO_3W, pDefaultDataType)};
constexpr size_t kPrinter2Pointers[] = {
    offsetof(PRINTER_INFO_2W, pServerName),   offsetof(PRINTER_INFO_2W, pPrinterName),
    offsetof(PRINTER_INFO_2W, pShareName),    offsetof(PRINTER_INFO_2W, pPortName),
    offsetof(PRINTER_INFO_2W, pDriverName),   offsetof(PRINTER_INFO_2W, pComment),
    offsetof(PRINTER_INFO_2W, pLocation),     offsetof(PRINTER_INFO_2W, pDevMode),
    offsetof(PRINTER_INFO_2W, pSepFile),      offsetof(PRINTER_INFO_2W, pPrintProcessor),
    offsetof(PRINTER_INFO_2W, pDatatype),     offsetof(PRINTER_INFO_2W, pParameters),
    offsetof(PRINTER_INFO_2W, pSecurityDescriptor)};

// A record read whole into `bytes`: asked for its size, then read while it keeps growing. False,
// with the spooler's error, when it could not be read (a failure is never kept); true with nothing
// kept when the spooler had nothing to hand out.
template <typename Query>
bool FetchRecord(std::vector<BYTE>& bytes, Query query) {
    bytes.clear();
    DWORD needed = 0;
    if (query(nullptr, 0, &needed)) return true;
    for (int attempt = 0; attempt < 3 && needed && GetLastError() == ERROR_INSUFFICIENT_BUFFER; ++attempt) {
        bytes.assign(needed, 0);
        if (query(bytes.data(), needed, &needed)) return true;
    }
    const DWORD error = GetLastError();
    bytes.clear();
    SetLastError(error ? error : ERROR_INVALID_DATA);
    return false;
}

// The kept record copied to the caller as the spooler hands it out: its pointers into the copy.
template <size_t N>
BOOL ServeRecord(const std::vector<BYTE>& kept, const size_t (&pointers)[N], LPBYTE pOut, DWORD cb, LPDWORD pNeeded) {
    const DWORD size = static_cast<DWORD>(kept.size());
    if (pNeeded) *pNeeded = size;
    if (!pOut || cb < size) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    std::memcpy(pOut, kept.data(), size);
    const BYTE* from = kept.data();
    for (size_t at : pointers) {
        BYTE* p = nullptr;
        std::memcpy(&p, pOut + at, sizeof p);
        if (p < from || p >= from + size) continue;
        p = pOut + (p - from);
        std::memcpy(pOut + at, &p, sizeof p);
    }
    return TRUE;
}

// The driver's name alone (level 1), from the kept level-3 record.
BOOL ServeDriverName(const std::vector<BYTE>& kept, LPBYTE pOut, DWORD cb, LPDWORD pNeeded) {
    const auto* info = reinterpret_cast<const DRIVER_INFO_3W*>(kept.data());
    const size_t chars = wcslen(info->pName) + 1;
    const DWORD size = static_cast<DWORD>(sizeof(DRIVER_INFO_1W) + chars * sizeof(WCHAR));
    if (pNeeded) *pNeeded = size;
    if (!pOut || cb < size) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    auto* name = reinterpret_cast<WCHAR*>(pOut + sizeof(DRIVER_INFO_1W));
    std::memcpy(name, info->pName, chars * sizeof(WCHAR));
    const DRIVER_INFO_1W out = {name};
    std::memcpy(pOut, &out, sizeof out);
    return TRUE;
}

// The driver record of the printer's own environment, levels 1 and 3: one level-3 read per view.
BOOL WINAPI GetDriver(HANDLE h, LPWSTR pszEnvironment, DWORD level, LPBYTE pOut, DWORD cb, LPDWORD pNeeded) {
    if (!pszEnvironment && (level == 1 || level == 3)) {
        CLock lock;
        if (ViewData* v = ServingView(h)) {
            if (v->driver.empty() && !FetchRecord(v->driver, [&](LPBYTE p, DWORD size, LPDWORD needed) {
                    return Beneath().GetPrinterDriverW(h, nullptr, 3, p, size, needed);
                }))
                return FALSE;
            if (!v->driver.empty()) {
                if (level == 3) return ServeRecord(v->driver, kDriver3Pointers, pOut, cb, pNeeded);
                if (reinterpret_cast<const DRIVER_INFO_3W*>(v->driver.data())->pName)
                    return ServeDriverName(v->driver, pOut, cb, pNeeded);
            }
        }
    }
    return Beneath().GetPrinterDriverW(h, pszEnvironment, level, pOut, cb, pNeeded);
}

// The printer record (level 2), kept as first read: its status, job count and pages a minute are of
// that moment, and no reader in the plug-in looks at them; the rest changes only through SetPrinter.
BOOL WINAPI GetPrinterRecord(HANDLE h, DWORD level, LPBYTE pOut, DWORD cb, LPDWORD pNeeded) {
    if (level == 2) {
        CLock lock;
        if (ViewData* v = ServingView(h)) {
            if (v->printer.empty() && !FetchRecord(v->printer, [&](LPBYTE p, DWORD size, LPDWORD needed) {
                    return Beneath().GetPrinterW(h, 2, p, size, needed);
                }))
                return FALSE;
            if (!v->printer.empty()) return ServeRecord(v->printer, kPrinter2Pointers, pOut, cb, pNeeded);
        }
    }
    return Beneath().GetPrinterW(h, level, pOut, cb, pNeeded);
}

// A printer set through the plug-in may have another driver, port or processor: every view reads
// its records again.
BOOL WINAPI SetPrinterRecord(HANDLE h, DWORD level, LPBYTE pInfo, DWORD command) {
    const BOOL ok = Beneath().SetPrinterW(h, level, pInfo, command);
    const DWORD error = GetLastError();
    {
        CLock lock;
        for (ViewData* v : State().open) v->driver.clear(), v->printer.clear();
    }
    SetLastError(error);
    return ok;
}

void Clear(ViewData& v) {
    v.values.clear();
    v.lists.clear();
    v.subkeys.clear();
    v.writes = -1;
    v.driver.clear();
    v.printer.clear();
    v.capsLists.clear();
}

// A handle's value may name another printer once it is closed: no view answers for it from then on.
BOOL WINAPI ClosePrinterHandle(HANDLE h) {
    {
        CLock lock;
        for (ViewData* v : State().open)
            if (v->hPrinter == h) Clear(*v);
    }
    return Beneath().ClosePrinter(h);
}


// ---- the core driver's device-capabilities lists
// The lists a sheet reads, by the size of one entry (0: the answer is the value itself, the largest
// or smallest paper); other capabilities are asked every time (the media loaded in the trays among
// them: it changes while a sheet is open).
size_t ListEntrySize(WORD capability) {
    switch (capability) {
    case DC_PAPERS:
    case DC_BINS: return sizeof(WORD);
    case DC_PAPERSIZE: return sizeof(POINT);
    case DC_ENUMRESOLUTIONS: return 2 * sizeof(LONG);
    case DC_MEDIATYPES:
    case DC_NUP: return sizeof(DWORD);
    case DC_BINNAMES: return 24 * sizeof(WCHAR);
    case DC_PAPERNAMES:
    case DC_MEDIATYPENAMES: return 64 * sizeof(WCHAR);
    default: return 0;
    }
}
bool IsKept(WORD capability) {
    return ListEntrySize(capability) || capability == DC_MAXEXTENT || capability == DC_MINEXTENT;
}

// The devmode as the driver reads it: its two names end at their first zero, whatever a page left
// behind it in the field, so the same settings ask once.
std::vector<BYTE> DevmodeKey(const DEVMODEW* pDevmode) {
    if (!pDevmode) return {};
    const auto* p = reinterpret_cast<const BYTE*>(pDevmode);
    std::vector<BYTE> key(p, p + pDevmode->dmSize + pDevmode->dmDriverExtra);
    const auto clearTail = [&key](size_t offset, size_t chars) {
        if (key.size() < offset + chars * sizeof(WCHAR)) return;
        auto* name = reinterpret_cast<WCHAR*>(key.data() + offset);
        const size_t length = wcsnlen(name, chars);
        std::memset(name + length, 0, (chars - length) * sizeof(WCHAR));
    };
    clearTail(offsetof(DEVMODEW, dmDeviceName), CCHDEVICENAME);
    if (pDevmode->dmSize >= offsetof(DEVMODEW, dmFormName) + sizeof pDevmode->dmFormName)
        clearTail(offsetof(DEVMODEW, dmFormName), CCHFORMNAME);
    return key;
}

// Answers kept per list and output kind: every change of a sheet asks with a devmode of its own, so
// only the latest few can be asked again; a bound keeps a sheet's thousandth change as cheap as its first.
constexpr size_t kAnswersPerList = 4;

// The view of this thread that keeps device lists (the lock held).
ViewData* ListView() {
    if (t_storedNow) return nullptr;
    const DWORD thread = GetCurrentThreadId();
    for (ViewData* v : State().open)
        if (v->thread == thread && (v->keepLists || v->passes > 0)) return v;
    return nullptr;
}

bool IsOpen(const ViewData* pView) {
    for (const ViewData* v : State().open)
        if (v == pView) return true;
    return false;
}

// Each list a document sheet reads is asked of the core driver once for the same printer and
// devmode: every question is a whole driver call, and its answers do not change while the sheet is
// open but through a form the plug-in writes or a refresh, which drop them. The lock is not held
// across the call: the core driver calls the plug-in back on this thread and others.
int WINAPI DeviceLists(LPCWSTR pszDevice, LPCWSTR pszPort, WORD capability, LPWSTR pOutput, const DEVMODEW* pDevmode) {
    const size_t entrySize = ListEntrySize(capability);
    ListAnswer key;
    ViewData* view = nullptr;
    if (pszDevice && IsKept(capability)) {
        CLock lock;
        view = ListView();
        if (view) {
            key.printer = pszDevice;
            key.capability = capability;
            key.devmode = DevmodeKey(pDevmode);
            key.withOutput = pOutput != nullptr;
            for (const ListAnswer& a : view->capsLists) {
                if (a.capability != capability || a.withOutput != key.withOutput || a.printer != key.printer ||
                    a.devmode != key.devmode)
                    continue;
                if (pOutput && !a.entries.empty()) std::memcpy(pOutput, a.entries.data(), a.entries.size());
                return a.count;
            }
        }
    }
    const int count = Beneath().DeviceCapabilitiesW(pszDevice, pszPort, capability, pOutput, pDevmode);
    if (!view || count < 0) return count;
    CLock lock;
    if (!IsOpen(view) || (!view->keepLists && view->passes <= 0)) return count;
    key.count = count;
    if (pOutput && count > 0) {
        const auto* out = reinterpret_cast<const BYTE*>(pOutput);
        key.entries.assign(out, out + static_cast<size_t>(count) * entrySize);
    }
    // The oldest answer of the same list and kind makes room.
    std::vector<ListAnswer>& kept = view->capsLists;
    size_t same = 0, oldest = kept.size();
    for (size_t i = 0; i < kept.size(); ++i)
        if (kept[i].capability == capability && kept[i].withOutput == key.withOutput && ++same >= kAnswersPerList)
            oldest = i;
    if (oldest < kept.size()) kept.erase(kept.begin() + static_cast<std::ptrdiff_t>(oldest));
    kept.insert(kept.begin(), std::move(key));
    return count;
}

// A form the plug-in adds, changes or removes changes the paper lists: every view asks again.
void ForgetLists() {
    CLock lock;
    for (ViewData* v : State().open) v->capsLists.clear();
}
BOOL WINAPI AddFormRecord(HANDLE h, DWORD level, LPBYTE pForm) {
    const BOOL ok = Beneath().AddFormW(h, level, pForm);
    const DWORD error = GetLastError();
    ForgetLists();
    SetLastError(error);
    return ok;
}
BOOL WINAPI SetFormRecord(HANDLE h, LPWSTR pszName, DWORD level, LPBYTE pForm) {
    const BOOL ok = Beneath().SetFormW(h, pszName, level, pForm);
    const DWORD error = GetLastError();
    ForgetLists();
    SetLastError(error);
    return ok;
}
BOOL WINAPI DeleteFormRecord(HANDLE h, LPWSTR pszName) {
    const BOOL ok = Beneath().DeleteFormW(h, pszName);
    const DWORD error = GetLastError();
    ForgetLists();
    SetLastError(error);
    return ok;
}

}  // namespace

void CZQPrinterDataView::KeepDeviceLists(bool bKeep) {
    if (!m_pData) return;
    CLock lock;
    auto* v = static_cast<ViewData*>(m_pData);
    v->keepLists = bKeep;
    if (!bKeep) v->capsLists.clear();
}

void CZQPrinterDataView::BeginPass() {
    if (!m_pData) return;
    CLock lock;
    ++static_cast<ViewData*>(m_pData)->passes;
}

void CZQPrinterDataView::EndPass() {
    if (!m_pData) return;
    CLock lock;
    auto* v = static_cast<ViewData*>(m_pData);
    if (v->passes > 0 && --v->passes == 0 && !v->keepLists) v->capsLists.clear();
}

size_t CZQPrinterDataView::HeldDeviceLists() const {
    if (!m_pData) return 0;
    CLock lock;
    return static_cast<const ViewData*>(m_pData)->capsLists.size();
}

void CZQPrinterDataView::Open(HANDLE hPrinter) {
    if (hPrinter == m_hPrinter && m_pData && static_cast<ViewData*>(m_pData)->thread == GetCurrentThreadId()) return;
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
        s.table.GetPrinterDriverW = &GetDriver;
        s.table.GetPrinterW = &GetPrinterRecord;
        s.table.SetPrinterW = &SetPrinterRecord;
        s.table.ClosePrinter = &ClosePrinterHandle;
        s.table.DeviceCapabilitiesW = &DeviceLists;
        s.table.AddFormW = &AddFormRecord;
        s.table.SetFormW = &SetFormRecord;
        s.table.DeleteFormW = &DeleteFormRecord;
        s.pBeneath = &beneath;
    }
    return &s.table;
}

}  // namespace zqspool
