#include "zqxmlutil.h"

#include <cwchar>

namespace zqxml {

HRESULT HrSelectSingle(IXMLDOMNode* pContext, LPCWSTR pszPattern, IXMLDOMNode** ppNode) {
    *ppNode = nullptr;
    CZQBstr pattern(SysAllocString(pszPattern));
    if (!pattern) return E_OUTOFMEMORY;
    HRESULT hr = pContext->selectSingleNode(pattern.Get(), ppNode);
    if (hr != S_OK && *ppNode) {
        (*ppNode)->Release();
        *ppNode = nullptr;
    }
    if (hr == S_OK && !*ppNode) hr = S_FALSE;
    return hr;
}

HRESULT HrSelectNodes(IXMLDOMNode* pContext, LPCWSTR pszPattern, IXMLDOMNodeList** ppList) {
    *ppList = nullptr;
    CZQBstr pattern(SysAllocString(pszPattern));
    if (!pattern) return E_OUTOFMEMORY;
    HRESULT hr = pContext->selectNodes(pattern.Get(), ppList);
    if (hr != S_OK && *ppList) {
        (*ppList)->Release();
        *ppList = nullptr;
    }
    if (hr == S_OK && !*ppList) hr = E_FAIL;
    return hr;
}

HRESULT HrChildText(IXMLDOMNode* pContext, LPCWSTR pszChild, CZQBstr& text) {
    text.Reset();
    CZQComPtr<IXMLDOMNode> child;
    HRESULT hr = HrSelectSingle(pContext, pszChild, child.Put());
    if (hr != S_OK) return hr;
    hr = child->get_text(text.Put());
    if (FAILED(hr)) return hr;
    // An element without text may come back as a null string; it reads as empty.
    if (!text) {
        text.Reset(SysAllocString(L""));
        if (!text) return E_OUTOFMEMORY;
    }
    return S_OK;
}

size_t CchText(const CZQBstr& text) { return text ? wcslen(text.Get()) : 0; }

}  // namespace zqxml
