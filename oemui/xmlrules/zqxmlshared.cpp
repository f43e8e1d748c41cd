#include "xmlrules/zqxmlshared.h"

#include <atomic>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "common/zqtrace.h"
#include "xmlrules/zqxmldom.h"
#include "xmlrules/zqxmlutil.h"

namespace zqxmlshared {

namespace {

// The helper file is ours only when it carries this component (name compared case-blind).
const WCHAR kComponentPattern[] = L"device/software/component[name $ieq$ \"Tarnix\"]";

std::atomic<LONG> g_live{0};

}  // namespace

// What a kept document was parsed from.
struct ZQFileStamp {
    ULONGLONG ullSize = 0;
    FILETIME ftWritten = {};
    ULONGLONG ullHash = 0;
};

struct ZQCacheEntry {
    ZQCacheEntry() { ++g_live; }
    ~ZQCacheEntry() { --g_live; }
    ZQCacheEntry(const ZQCacheEntry&) = delete;
    ZQCacheEntry& operator=(const ZQCacheEntry&) = delete;

    ZQParsedFile parsed;
    // What the file held before it was parsed (kept entries only).
    std::wstring path;
    ZQFileStamp stamp;
    // Under g_lock: the parsers using it, the thread they run on, and whether the cache keeps it.
    LONG lUsers = 0;
    DWORD dwThread = 0;
    bool bKept = false;
    // Under g_lock: what whole-document searches by tag name found.
    struct Found {
        std::wstring tag;
        LONG lCount;
        CZQComPtr<IXMLDOMNode> first;
    };
    std::vector<Found> found;
};

namespace {

std::mutex g_lock;
// One entry per path at most.
std::vector<ZQCacheEntry*> g_kept;
const std::vector<ZQCacheEntry::Found> g_none;

std::vector<ZQCacheEntry*>::iterator FindKept(LPCWSTR pszPath) {
    auto it = g_kept.begin();
    while (it != g_kept.end() && lstrcmpiW((*it)->path.c_str(), pszPath) != 0) ++it;
    return it;
}

bool BSameStamp(const ZQFileStamp& a, const ZQFileStamp& b) {
    return a.ullSize == b.ullSize && a.ullHash == b.ullHash && CompareFileTime(&a.ftWritten, &b.ftWritten) == 0;
}

// A kept document outlives the apartment that made it, whose end may unload the DOM's code: that
// code stays loaded for the process.
void VPinCode(IXMLDOMDocument* pDocument) {
    static std::atomic<bool> pinned{false};
    if (pinned.load(std::memory_order_acquire)) return;
    HMODULE hModule = nullptr;
    const LPCWSTR code = *reinterpret_cast<LPCWSTR*>(pDocument);
    if (GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN, code, &hModule))
        pinned.store(true, std::memory_order_release);
}

// The document and the whole-document walks; null when the file does not parse.
ZQCacheEntry* PParse(LPCWSTR pszPath) {
    ZQ_TRACE("zqxmlshared::PParse");
    std::unique_ptr<ZQCacheEntry> entry(new (std::nothrow) ZQCacheEntry());
    if (!entry) return nullptr;
    ZQParsedFile& file = entry->parsed;
    CZQComPtr<IXMLDOMDocument> document;
    if (FAILED(CoCreateInstance(CLSID_DOMDocument, nullptr, CLSCTX_INPROC_SERVER, IID_IXMLDOMDocument,
                                document.PutVoid())) ||
        !document)
        return nullptr;
    // A load that returns before the file is parsed would leave a half-read document.
    if (FAILED(document->put_async(VARIANT_FALSE))) return nullptr;
    CZQVariant source;
    VARIANT* pSource = source.Put();
    pSource->vt = VT_BSTR;
    pSource->bstrVal = SysAllocString(pszPath);
    if (!pSource->bstrVal) return nullptr;
    VARIANT_BOOL parsed = VARIANT_FALSE;
    if (document->load(source.Get(), &parsed) != S_OK) return nullptr;
    file.document = std::move(document);

    if (zqxml::HrSelectSingle(file.document.Get(), kComponentPattern, file.component.Put()) != S_OK) {
        file.component.Reset();
        return entry.release();
    }
    // A helper element anywhere in the document counts; the parsers select their sections below the
    // one helper element, or from the document root when there is not exactly one.
    CZQComPtr<IXMLDOMNodeList> helpers;
    LONG helperCount = 0;
    if (zqxml::HrSelectNodes(file.component.Get(), L"//helper", helpers.Put()) != S_OK ||
        FAILED(helpers->get_length(&helperCount)))
        return entry.release();
    if (helperCount == 1 && (helpers->get_item(0, file.helper.Put()) != S_OK || !file.helper)) {
        file.helper.Reset();
        return entry.release();
    }
    file.bHelpersSelected = TRUE;
    return entry.release();
}

}  // namespace

const ZQParsedFile* CZQParsedFileRef::operator->() const { return &m_pEntry->parsed; }

void CZQParsedFileRef::Reset() {
    ZQCacheEntry* const entry = std::exchange(m_pEntry, nullptr);
    if (!entry) return;
    bool last = false;
    {
        std::lock_guard<std::mutex> hold(g_lock);
        last = --entry->lUsers == 0 && !entry->bKept;
    }
    if (last) delete entry;
}

namespace {

// The file's size, write time and a hash of its bytes; false when the path names no file that can be
// read whole, which is then parsed each time and never kept. A file replaced by one of the same size
// and time (a restore, a copy that keeps file times) differs in its bytes. Opening and reading cost
// far less than a parse, most of it in the calls: the file is read in one.
bool BReadStamp(LPCWSTR pszPath, ZQFileStamp& stamp) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExW(pszPath, GetFileExInfoStandard, &data) || (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
        data.nFileSizeHigh || data.nFileSizeLow == MAXDWORD)
        return false;
    stamp.ullSize = data.nFileSizeLow;
    stamp.ftWritten = data.ftLastWriteTime;
    // One byte more than the size: a file that grew since is not described.
    const DWORD size = data.nFileSizeLow;
    std::unique_ptr<BYTE[]> bytes(new (std::nothrow) BYTE[size + 1]);
    CZQHandle file(CreateFileW(pszPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    DWORD read = 0;
    if (!bytes || !file || !ReadFile(file.Get(), bytes.get(), size + 1, &read, nullptr) || read != size) return false;
    // Eight bytes a step, each step a bijection of the state, so that a change of one word always
    // shows; the last word is padded with zeros (the size tells the padding apart).
    ULONGLONG hash = 0xCBF29CE484222325ULL;
    const auto mix = [&hash](ULONGLONG word) {
        hash ^= word;
        hash = (hash << 27 | hash >> 37) * 0x9E3779B97F4A7C15ULL;
    };
    DWORD i = 0;
    for (ULONGLONG word = 0; i + 8 <= size; i += 8) {
        memcpy(&word, bytes.get() + i, 8);
        mix(word);
    }
    if (i < size) {
        ULONGLONG last = 0;
        memcpy(&last, bytes.get() + i, size - i);
        mix(last);
    }
    stamp.ullHash = hash;
    return true;
}

// The kept entry of the path, for one more user, when it is current and free for this thread.
ZQCacheEntry* PTakeKept(LPCWSTR pszPath, const ZQFileStamp& stamp) {
    const DWORD thread = GetCurrentThreadId();
    std::lock_guard<std::mutex> hold(g_lock);
    const auto it = FindKept(pszPath);
    if (it == g_kept.end() || !BSameStamp((*it)->stamp, stamp) || ((*it)->lUsers && (*it)->dwThread != thread))
        return nullptr;
    ++(*it)->lUsers;
    (*it)->dwThread = thread;
    return *it;
}

}  // namespace

BOOL BAcquireKept(LPCWSTR pszPath, CZQParsedFileRef& ref) {
    ref.Reset();
    ZQFileStamp stamp;
    if (pszPath && BReadStamp(pszPath, stamp)) ref.m_pEntry = PTakeKept(pszPath, stamp);
    return ref.m_pEntry != nullptr;
}

BOOL BAcquire(LPCWSTR pszPath, CZQParsedFileRef& ref) {
    ref.Reset();
    if (!pszPath) return FALSE;
    ZQFileStamp stamp;
    const bool stamped = BReadStamp(pszPath, stamp);
    if (stamped && (ref.m_pEntry = PTakeKept(pszPath, stamp)) != nullptr) return TRUE;

    // The file was read before the parse: a file changed meanwhile only costs a parse more.
    ZQCacheEntry* const parsed = PParse(pszPath);
    if (!parsed) return FALSE;
    parsed->lUsers = 1;
    parsed->dwThread = GetCurrentThreadId();
    ref.m_pEntry = parsed;
    if (!stamped) return TRUE;
    ZQCacheEntry* dropped = nullptr;
    try {
        parsed->path = pszPath;
        parsed->stamp = stamp;
        std::lock_guard<std::mutex> hold(g_lock);
        const auto it = FindKept(pszPath);
        // The kept one is current but in use on another thread: this copy stays the parser's own.
        if (it != g_kept.end() && BSameStamp((*it)->stamp, stamp)) return TRUE;
        VPinCode(parsed->parsed.document.Get());
        if (it == g_kept.end()) {
            g_kept.push_back(parsed);
        } else {
            dropped = std::exchange(*it, parsed);
            dropped->bKept = false;
            if (dropped->lUsers) dropped = nullptr;
        }
        parsed->bKept = true;
    } catch (const std::bad_alloc&) {
        // Not kept: the parser still has its copy.
    }
    delete dropped;
    return TRUE;
}

HRESULT HrFindElements(IXMLDOMDocument* pDocument, LPCWSTR pszTag, LONG* plCount, IXMLDOMNode** ppFirst) {
    if (!pDocument || !pszTag || !plCount || !ppFirst) return E_INVALIDARG;
    *plCount = 0;
    *ppFirst = nullptr;
    ZQCacheEntry* entry = nullptr;
    {
        std::lock_guard<std::mutex> hold(g_lock);
        for (ZQCacheEntry* kept : g_kept)
            if (kept->parsed.document.Get() == pDocument) entry = kept;
        // The caller's parser uses the document, so the entry stays while this call runs.
        for (const ZQCacheEntry::Found& f : entry ? entry->found : g_none) {
            if (f.tag != pszTag) continue;
            *plCount = f.lCount;
            *ppFirst = Shared(f.first.Get()).Detach();
            return S_OK;
        }
    }
    CZQComPtr<IXMLDOMElement> root;
    CZQComPtr<IXMLDOMNodeList> list;
    HRESULT hr = pDocument->get_documentElement(root.Put());
    if (hr != S_OK || !root) return FAILED(hr) ? hr : E_FAIL;
    if (!BGetElementsByTagName(root.Get(), pszTag, list.Put())) return E_FAIL;
    LONG count = 0;
    if (FAILED(hr = list->get_length(&count))) return hr;
    CZQComPtr<IXMLDOMNode> first;
    if (count > 0 && (list->get_item(0, first.Put()) != S_OK || !first)) return E_FAIL;
    if (entry) {
        try {
            std::lock_guard<std::mutex> hold(g_lock);
            entry->found.push_back({pszTag, count, Shared(first.Get())});
        } catch (const std::bad_alloc&) {
            // Walked again next time.
        }
    }
    *plCount = count;
    *ppFirst = first.Detach();
    return S_OK;
}

void VReleaseAll() {
    std::vector<ZQCacheEntry*> unused;
    {
        std::lock_guard<std::mutex> hold(g_lock);
        for (ZQCacheEntry* entry : g_kept) {
            entry->bKept = false;
            if (!entry->lUsers) unused.push_back(entry);
        }
        g_kept.clear();
    }
    for (ZQCacheEntry* entry : unused) delete entry;
}

ZQCacheCounts CountsForTesting() {
    std::lock_guard<std::mutex> hold(g_lock);
    return {static_cast<DWORD>(g_kept.size()), static_cast<DWORD>(g_live.load())};
}

}  // namespace zqxmlshared
