// The "groups" section of the helper file: the trees of the paper-size and media-type pop-ups, the
// display names of their entries, and the named groups of option keywords.
#include <cwchar>
#include <utility>

#include "common/zqkeywords.h"
#include "common/zqstrings.h"
#include "common/zqtrace.h"
#include "xmlrules/zqxmluirules.h"
#include "xmlrules/zqxmlutil.h"

namespace {

// The "Custom" heading of the user forms.
constexpr INT kIdsCustomForms = 1018;

bool BIsExactly(const CZQBstr& text, LPCWSTR pszWanted) { return text && wcscmp(text.Get(), pszWanted) == 0; }

INT IDecimal(const CZQBstr& text) { return static_cast<INT>(wcstol(text.Get(), nullptr, 10)); }

void VExpand(HWND hTree, HTREEITEM hItem) {
    if (hItem) SendMessageW(hTree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(hItem));
}

// Hands each element child, with its name and text, to visit(child, name, text) until it answers
// false.
template <typename Visit>
void VWalkChildren(IXMLDOMNode* pParent, Visit visit) {
    zqxml::CZQElementWalk walk(pParent);
    CZQComPtr<IXMLDOMNode> child;
    while (walk.BNext(child)) {
        CZQBstr name, text;
        if (zqxml::HrNameAndText(child.Get(), name, text) != S_OK || !visit(child.Get(), name, text)) return;
    }
}

// Walks the groups named so by their "groupname" (exactly), handing each child after the name to
// visit(child, name, text); a group of another name ends its walk at its name. True when one of the
// groups had the name.
template <typename Visit>
bool BWalkGroups(IXMLDOMNodeList* pGroups, LPCWSTR pszGroup, Visit visit) {
    LONG count = 0;
    if (!pGroups || FAILED(pGroups->get_length(&count))) return false;
    bool found = false;
    for (LONG i = 0; i < count; ++i) {
        CZQComPtr<IXMLDOMNode> group;
        if (pGroups->get_item(i, group.Put()) != S_OK || !group) break;
        bool taken = false;
        VWalkChildren(group.Get(), [&](IXMLDOMNode* child, const CZQBstr& name, const CZQBstr& text) {
            if (BIsExactly(name, L"groupname")) {
                if (!BIsExactly(text, pszGroup)) return false;
                taken = found = true;
            } else if (taken) {
                visit(child, name, text);
            }
            return true;
        });
    }
    return found;
}

// The option's display name at that level; an option the driver does not offer gives no entry.
void VInsertOption(POEMCUIPPARAM pParam, PCWSTR pszFeature, const CZQBstr& keyword, HWND hTree, int iLevel) {
    CZQLocalPtr<WCHAR> display;
    if (CZQXmlUiRules::DWGetOptionDisplayName(pParam, pszFeature, keyword.Get(), display.Put()) == ZQOPT_OK)
        CZQUIBase::HInsertTreeItem(hTree, display.Get(), iLevel);
}

// The next sibling that is an element (comments and other nodes are passed over).
CZQComPtr<IXMLDOMNode> NextElement(IXMLDOMNode* pNode) {
    CZQComPtr<IXMLDOMNode> node;
    if (!pNode || pNode->get_nextSibling(node.Put()) != S_OK) return {};
    while (node && !zqxml::BIsElement(node.Get())) {
        CZQComPtr<IXMLDOMNode> next;
        if (node->get_nextSibling(next.Put()) != S_OK) return {};
        node = std::move(next);
    }
    return node;
}

// The texts of the element's children but the first. 4 when the list cannot be allocated, else 1
// when a text was copied and 0 when none was.
DWORD DWReadTextsAfterFirst(IXMLDOMNode* pParent, PWSTR** pppszList, int* piCount) {
    if (!pParent) return 0;
    zqxml::CZQElementWalk counter(pParent);
    CZQComPtr<IXMLDOMNode> child;
    int count = -1;
    while (counter.BNext(child)) ++count;
    if (count < 1) return 0;
    PWSTR* list = static_cast<PWSTR*>(LocalAlloc(LPTR, static_cast<size_t>(count) * sizeof(PWSTR)));
    if (!list) return 4;
    DWORD result = 0;
    zqxml::CZQElementWalk walk(pParent);
    walk.BNext(child);
    for (int i = 0; i < count && walk.BNext(child); ++i) {
        CZQBstr text;
        if (FAILED(child->get_text(text.Put()))) continue;
        if ((list[i] = ZQDupText(text ? text.Get() : L""))) result = 1;
    }
    *pppszList = list;
    *piCount = count;
    return result;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Trees
// ---------------------------------------------------------------------------------------------
HTREEITEM CZQXmlUiRules::HInsertHeading(INT id, HWND hTree, int iLevel) {
    WCHAR heading[kResStringChars] = {};
    if (!BLoadResString(id, heading)) heading[0] = L'\0';
    return HInsertTreeItem(hTree, heading, iLevel);
}

BOOL CZQXmlUiRules::BFillPaperSizeTree(HWND hTree, POEMCUIPPARAM pParam, PFN_ZQFindForm pfnFindForm) {
    ZQ_TRACE("CZQXmlUiRules::BFillPaperSizeTree");
    if (!hTree) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    if (!m_parser.BIsLoaded() || !m_parser.GroupList()) return TRUE;
    if (pParam) VLoadResourceModule(pParam->hPrinter);
    const bool paperGroup = BWalkGroups(m_parser.GroupList(), zqkw::kPaperSize,
                                        [&](IXMLDOMNode* child, const CZQBstr& name, const CZQBstr&) {
                                            if (BIsExactly(name, L"subgroup")) VAddPaperSubgroup(pParam, child, hTree);
                                        });
    if (paperGroup) VAddUserFormsBranch(pParam, pfnFindForm, hTree);
    return TRUE;
}

void CZQXmlUiRules::VAddPaperSubgroup(POEMCUIPPARAM pParam, IXMLDOMNode* pSubgroup, HWND hTree) {
    if (!pSubgroup || !hTree) return;
    // Without a unit only the papers of every unit show.
    CZQLocalPtr<WCHAR> unit;
    if (CZQCommon::DWGetFeatureOption(pParam, zqkw::kZQPaperSizeTreeviewPopup, unit.Put()) != ZQOPT_OK) unit.Reset();
    // A paper before any heading of its subgroup goes under an empty heading.
    WCHAR heading[kResStringChars] = {};
    bool headingInserted = false;
    HTREEITEM lastHeading = nullptr;
    VWalkChildren(pSubgroup, [&](IXMLDOMNode* child, const CZQBstr& name, const CZQBstr& text) {
        if (BIsExactly(name, L"resource_id")) {
            if (!BLoadResString(IDecimal(text), heading)) heading[0] = L'\0';
            headingInserted = false;
        } else if (BIsExactly(name, L"name")) {
            // Only the papers of every unit ("All") and of the current one; a paper without a type
            // is of neither.
            CZQLocalPtr<WCHAR> type;
            HrGetTypeAttribute(child, type.Put());
            if (!type || (wcscmp(type.Get(), L"All") != 0 && (!unit || wcscmp(type.Get(), unit.Get()) != 0)))
                return true;
            if (!headingInserted) {
                if (!(lastHeading = HInsertTreeItem(hTree, heading, 1))) return true;
                headingInserted = true;
            }
            VInsertOption(pParam, zqkw::kPaperSize, text, hTree, 2);
        }
        return true;
    });
    VExpand(hTree, lastHeading);
}

HRESULT CZQXmlUiRules::HrGetTypeAttribute(IXMLDOMNode* pElement, PWSTR* ppszType) {
    if (!pElement || !ppszType) return E_INVALIDARG;
    CZQComPtr<IXMLDOMNamedNodeMap> attributes;
    HRESULT hr = pElement->get_attributes(attributes.Put());
    if (hr != S_OK || !attributes) return FAILED(hr) ? hr : E_FAIL;
    CZQBstr type(SysAllocString(L"type"));
    if (!type) return E_OUTOFMEMORY;
    CZQComPtr<IXMLDOMNode> attribute;
    hr = attributes->getNamedItem(type.Get(), attribute.Put());
    if (hr != S_OK || !attribute) return FAILED(hr) ? hr : S_FALSE;
    CZQVariant value;
    hr = attribute->get_nodeValue(value.Put());
    if (hr != S_OK || value.Get().vt != VT_BSTR) return FAILED(hr) ? hr : S_FALSE;
    PWSTR copy = ZQDupText(value.Get().bstrVal ? value.Get().bstrVal : L"");
    if (!copy) return E_OUTOFMEMORY;
    *ppszType = copy;
    return hr;
}

void CZQXmlUiRules::VAddUserFormsBranch(POEMCUIPPARAM pParam, PFN_ZQFindForm pfnFindForm, HWND hTree) {
    POPTITEM item = nullptr;
    if (!pfnFindForm || !hTree || CZQCommon::DWFindOptItemByPubId(pParam, DMPUB_FORMNAME, 0, &item) != ZQOPT_OK)
        return;
    HTREEITEM heading = nullptr;
    for (int i = 0; i < CZQCommon::IGetOptionCount(item); ++i) {
        POPTPARAM option = CZQCommon::PGetOptionParam(item, i);
        if (!option || !option->pData || IS_INTRESOURCE(option->pData)) continue;
        BOOL userForm = FALSE;
        if (!pfnFindForm(pParam, option->pData, &userForm) || !userForm) continue;
        if (!heading && !(heading = HInsertHeading(kIdsCustomForms, hTree, 1))) return;
        HInsertTreeItem(hTree, option->pData, 2);
    }
    VExpand(hTree, heading);
}

void CZQXmlUiRules::BFillMediaTypeTree(HWND hTree, POEMCUIPPARAM pParam) {
    ZQ_TRACE("CZQXmlUiRules::BFillMediaTypeTree");
    if (!hTree || !m_parser.BIsLoaded() || !m_parser.GroupList()) return;
    if (pParam) VLoadResourceModule(pParam->hPrinter);
    HTREEITEM heading = nullptr;
    BWalkGroups(m_parser.GroupList(), L"PaperType", [&](IXMLDOMNode* child, const CZQBstr& name, const CZQBstr& text) {
        if (BIsExactly(name, L"resource_id")) {
            if (HTREEITEM inserted = HInsertHeading(IDecimal(text), hTree, 1)) heading = inserted;
        } else if (BIsExactly(name, L"name")) {
            VInsertOption(pParam, zqkw::kMediaType, text, hTree, 2);
        } else if (BIsExactly(name, L"subgroup")) {
            VAddMediaSubgroup(pParam, child, hTree);
        }
        // The latest heading open and at the top, as far as the tree scrolls.
        if (heading) {
            VExpand(hTree, heading);
            SendMessageW(hTree, TVM_SELECTITEM, TVGN_FIRSTVISIBLE, reinterpret_cast<LPARAM>(heading));
        }
    });
}

void CZQXmlUiRules::VAddMediaSubgroup(POEMCUIPPARAM pParam, IXMLDOMNode* pSubgroup, HWND hTree) {
    if (!pSubgroup || !hTree) return;
    HTREEITEM heading = nullptr;
    VWalkChildren(pSubgroup, [&](IXMLDOMNode*, const CZQBstr& name, const CZQBstr& text) {
        if (BIsExactly(name, L"resource_id")) {
            if (HTREEITEM inserted = HInsertHeading(IDecimal(text), hTree, 2)) heading = inserted;
        } else if (BIsExactly(name, L"name")) {
            VInsertOption(pParam, zqkw::kMediaType, text, hTree, 3);
        }
        return true;
    });
    VExpand(hTree, heading);
}

// ---------------------------------------------------------------------------------------------
// Display names and named groups
// ---------------------------------------------------------------------------------------------
DWORD CZQXmlUiRules::DWGetOptionDisplayName(POEMCUIPPARAM pParam, PCWSTR pszFeature, PCWSTR pszOption,
                                            PWSTR* ppszName) {
    if (!ppszName) return ZQOPT_BAD_ARGUMENT;
    *ppszName = nullptr;
    CZQLocalPtr<WCHAR> name;
    switch (CZQCommon::DWOptionKeywordToName(pParam, pszFeature, pszOption, name.Put())) {
        case ZQOPT_OK: break;
        case ZQOPT_NO_MEMORY: return ZQOPT_NO_MEMORY;
        case ZQOPT_NO_NAME: return ZQOPT_NO_NAME;
        default: return ZQOPT_BAD_ARGUMENT;
    }
    *ppszName = ZQDupText(name.Get(), kMaxDisplayNameChars);
    return *ppszName ? ZQOPT_OK : ZQOPT_NO_MEMORY;
}

BOOL CZQXmlUiRules::BFindGroupName(PCWSTR pszGroup, PCWSTR pszName, PWSTR pszOut, size_t cchOut) {
    if (!pszGroup || !pszName || !pszOut || !cchOut) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    if (!m_parser.BIsLoaded()) return FALSE;
    bool found = false;
    auto take = [&](const CZQBstr& name, const CZQBstr& text) {
        if (found || !BIsExactly(name, L"name") || !text || !ZQEqualNoCase(text.Get(), pszName)) return;
        found = ZQCopyText(pszOut, cchOut, text.Get()) == S_OK;
    };
    // A name stands in the group or in one of its subgroups.
    BWalkGroups(m_parser.GroupList(), pszGroup, [&](IXMLDOMNode* child, const CZQBstr& name, const CZQBstr& text) {
        if (BIsExactly(name, L"subgroup"))
            VWalkChildren(child, [&](IXMLDOMNode*, const CZQBstr& inner, const CZQBstr& innerText) {
                take(inner, innerText);
                return !found;
            });
        else
            take(name, text);
    });
    return found ? TRUE : FALSE;
}

BOOL CZQXmlUiRules::BFindFeatureNode(IXMLDOMNode** ppNode, PCWSTR pszGroup) {
    if (!ppNode || !pszGroup) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    *ppNode = nullptr;
    IXMLDOMNodeList* groups = m_parser.BIsLoaded() ? m_parser.GroupList() : nullptr;
    LONG count = 0;
    if (!groups || FAILED(groups->get_length(&count))) return FALSE;
    for (LONG i = 0; i < count; ++i) {
        CZQComPtr<IXMLDOMNode> group, first;
        if (groups->get_item(i, group.Put()) != S_OK || !group) return FALSE;
        zqxml::CZQElementWalk walk(group.Get());
        CZQBstr text;
        if (!walk.BNext(first) || FAILED(first->get_text(text.Put())) || !text ||
            !ZQEqualNoCase(text.Get(), pszGroup))
            continue;
        *ppNode = first.Detach();
        return TRUE;
    }
    return FALSE;
}

DWORD CZQXmlUiRules::BReadNodeTextList(IXMLDOMNode* pFirst, PWSTR** pppszList1, PWSTR** pppszList2, int* piCount1,
                                       int* piCount2) {
    if (!pFirst || !pppszList1 || !pppszList2 || !piCount1 || !piCount2) {
        SetLastError(ERROR_INVALID_DATA);
        return 0;
    }
    *pppszList1 = *pppszList2 = nullptr;
    *piCount1 = *piCount2 = 0;
    CZQComPtr<IXMLDOMNode> second = NextElement(pFirst);
    CZQComPtr<IXMLDOMNode> third = NextElement(second.Get());
    const DWORD one = DWReadTextsAfterFirst(second.Get(), pppszList1, piCount1);
    const DWORD two = one == 4 ? 0 : DWReadTextsAfterFirst(third.Get(), pppszList2, piCount2);
    if (one == 4 || two == 4) {
        VFreeStringList(*pppszList1, *piCount1);
        *pppszList1 = nullptr;
        *piCount1 = 0;
        return 4;
    }
    return one | two;
}
