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
// Length of a BSTR text up to its first zero.
size_t CchText(const CZQBstr& text);

}  // namespace zqxml
