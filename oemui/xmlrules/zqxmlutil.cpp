#include "xmlrules/zqxmlutil.h"

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

HRESULT HrChildNumber(IXMLDOMNode* pContext, LPCWSTR pszChild, double* pValue) {
    *pValue = 0.0;
    CZQBstr text;
    HRESULT hr = HrChildText(pContext, pszChild, text);
    if (hr != S_OK) return hr;
    WCHAR buffer[256];
    lstrcpynW(buffer, text.Get(), ARRAYSIZE(buffer));
    if (!buffer[0]) return S_FALSE;
    *pValue = wcstod(buffer, nullptr);
    return S_OK;
}

LONG LTruncate(double value) {
    return value > -2147483649.0 && value < 2147483648.0 ? static_cast<LONG>(value) : 0;
}

size_t CchText(const CZQBstr& text) { return text ? wcslen(text.Get()) : 0; }

bool BIsElement(IXMLDOMNode* pNode) {
    DOMNodeType type = NODE_INVALID;
    return SUCCEEDED(pNode->get_nodeType(&type)) && type == NODE_ELEMENT;
}

HRESULT HrNameAndText(IXMLDOMNode* pNode, CZQBstr& name, CZQBstr& text) {
    name.Reset();
    text.Reset();
    HRESULT hr = pNode->get_nodeName(name.Put());
    if (FAILED(hr)) return hr;
    hr = pNode->get_text(text.Put());
    if (FAILED(hr)) return hr;
    if (!name) name.Reset(SysAllocString(L""));
    if (!text) text.Reset(SysAllocString(L""));
    return name && text ? S_OK : E_OUTOFMEMORY;
}

CZQElementWalk::CZQElementWalk(IXMLDOMNode* pParent) {
    if (!pParent || FAILED(pParent->get_childNodes(m_children.Put())) || !m_children ||
        FAILED(m_children->get_length(&m_count)))
        m_count = 0;
}

bool CZQElementWalk::BNext(CZQComPtr<IXMLDOMNode>& child) {
    while (m_next < m_count) {
        child.Reset();
        if (m_children->get_item(m_next++, child.Put()) != S_OK || !child) {
            m_next = m_count;
            return false;
        }
        if (BIsElement(child.Get())) return true;
    }
    child.Reset();
    return false;
}

bool CZQElementWalk::BNextWithText(CZQComPtr<IXMLDOMNode>& child, CZQBstr& name, CZQBstr& text) {
    return BNext(child) && HrNameAndText(child.Get(), name, text) == S_OK && CchText(name) && CchText(text);
}

}  // namespace zqxml
