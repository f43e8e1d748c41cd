// Helper files parsed once per process: every parser that loads the same unchanged file (same full
// path, size, last write time and bytes, read again on each load) shares one parsed document.
//
// What is shared is never changed once made: the document and the nodes that whole-document walks
// found in it. Node lists keep a position of their own, so each parser selects its own; whatever a
// sheet changes lives in its parser. The document is apartment-threaded, so it is in use on one
// thread at a time: a parser on another thread while it is in use parses a copy of its own, freed
// with that parser. A changed file is parsed again and replaces the kept document, which goes with
// its last user.
#pragma once

#include <windows.h>
#include <msxml.h>

#include "common/zqhandles.h"

namespace zqxmlshared {

// One parsed helper file.
struct ZQParsedFile {
    CZQComPtr<IXMLDOMDocument> document;
    // The "Tarnix" component; null when the file has none.
    CZQComPtr<IXMLDOMNode> component;
    // The helper elements below the component could be selected (FALSE: the file serves no lists).
    BOOL bHelpersSelected = FALSE;
    // The one helper element; null when there is none or more than one.
    CZQComPtr<IXMLDOMNode> helper;
};

class CZQParsedFileRef;
struct ZQCacheEntry;

// One more reference to a shared interface (none to null).
template <typename I>
CZQComPtr<I> Shared(I* p) {
    CZQComPtr<I> ref;
    if (p) p->AddRef();
    *ref.Put() = p;
    return ref;
}

// The parsed file at this full path, shared when the process parsed it unchanged before and no other
// thread uses it now. FALSE when the file cannot be parsed (nothing is kept for it then). COM must
// be initialised on the calling thread.
BOOL BAcquire(LPCWSTR pszPath, CZQParsedFileRef& ref);
// The same without a parse: FALSE when no current kept document is free for this thread. Needs no COM.
BOOL BAcquireKept(LPCWSTR pszPath, CZQParsedFileRef& ref);
// How many elements of that tag name the document holds (getElementsByTagName below its root), and
// the first of them (null when none). A kept document answers each tag from its first such walk.
HRESULT HrFindElements(IXMLDOMDocument* pDocument, LPCWSTR pszTag, LONG* plCount, IXMLDOMNode** ppFirst);
// Drops the kept documents (the module's unload); those still in use go with their last user.
void VReleaseAll();

// Parsed files kept for their paths, and parsed files alive (kept, in use, or both); for tests.
struct ZQCacheCounts {
    DWORD dwKept;
    DWORD dwLive;
};
ZQCacheCounts CountsForTesting();

// One parser's use of a parsed file.
class CZQParsedFileRef {
public:
    CZQParsedFileRef() = default;
    ~CZQParsedFileRef() { Reset(); }
    CZQParsedFileRef(const CZQParsedFileRef&) = delete;
    CZQParsedFileRef& operator=(const CZQParsedFileRef&) = delete;
    const ZQParsedFile* operator->() const;
    explicit operator bool() const { return m_pEntry != nullptr; }
    void Reset();

private:
    friend BOOL BAcquire(LPCWSTR pszPath, CZQParsedFileRef& ref);
    friend BOOL BAcquireKept(LPCWSTR pszPath, CZQParsedFileRef& ref);
    ZQCacheEntry* m_pEntry = nullptr;
};

}  // namespace zqxmlshared
