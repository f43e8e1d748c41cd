// Small DOM helpers shared by the helper-file parser and its readers.
#pragma once

#include <windows.h>
#include <msxml.h>

#include "common/zqhandles.h"

namespace zqxml {

// S_OK and the node, S_FALSE when nothing matches (node null), a negative result on failure.
HRESULT HrSelectSingle(IXMLDOMNode* pContext, LPCWSTR pszPattern, IXMLDOMNode** ppNode);
HRESULT HrSelectNodes(IXMLDOMNode* pContext, LPCWSTR pszPattern, IXMLDOMNodeList** ppList);
// The text (all descendants) of the first child element matching the pattern: S_OK with the text,
// S_FALSE when there is no such child, a negative result when the DOM failed.
HRESULT HrChildText(IXMLDOMNode* pContext, LPCWSTR pszChild, CZQBstr& text);
// A number child read from at most 255 characters of its text as floating-point text: S_OK with
// the number, S_FALSE (0) when the child is missing or empty, a negative result when the DOM failed.
HRESULT HrChildNumber(IXMLDOMNode* pContext, LPCWSTR pszChild, double* pValue);
// A number truncated toward zero; what does not fit 32 bits gives 0.
LONG LTruncate(double value);
// Frees count local-heap entries and the array that holds them.
template <typename T>
void VFreeLocalArray(T** ppEntries, size_t count) {
    if (!ppEntries) return;
    for (size_t i = 0; i < count; ++i)
        if (ppEntries[i]) LocalFree(ppEntries[i]);
    LocalFree(ppEntries);
}
// Zero-filled local-heap arrays of count entries each: all of them, or none (false).
template <typename... T>
bool BNewLocalArrays(size_t count, T**&... ppArrays) {
    ((ppArrays = static_cast<T**>(LocalAlloc(LPTR, count * sizeof(T*)))), ...);
    if ((ppArrays && ...)) return true;
    (LocalFree(ppArrays), ...);
    ((ppArrays = nullptr), ...);
    return false;
}
// Length of a BSTR text up to its first zero.
size_t CchText(const CZQBstr& text);
// An element node (not a comment, text or other node).
bool BIsElement(IXMLDOMNode* pNode);
// The node's name and the text of all its descendants; a missing text reads as empty. S_OK, or a
// negative result when the DOM failed.
HRESULT HrNameAndText(IXMLDOMNode* pNode, CZQBstr& name, CZQBstr& text);

// The element children of a node in document order, by position, so that a walk is not disturbed
// by other walks over the same node. Comments and other non-element nodes are passed over.
class CZQElementWalk {
public:
    explicit CZQElementWalk(IXMLDOMNode* pParent);
    // The next element child; false at the end or when the DOM failed.
    bool BNext(CZQComPtr<IXMLDOMNode>& child);
    // The same with the child's name and text; false also at a child whose name or text is empty,
    // which ends macro bodies and pop-up readings.
    bool BNextWithText(CZQComPtr<IXMLDOMNode>& child, CZQBstr& name, CZQBstr& text);

private:
    CZQComPtr<IXMLDOMNodeList> m_children;
    LONG m_count = 0;
    LONG m_next = 0;
};

}  // namespace zqxml
