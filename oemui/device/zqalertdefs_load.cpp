// Reading the "alerts_dmloids" section into definition objects. Nothing is reported while loading:
// an element that fails to parse is dropped as each parser says, the rest is kept.
#include <new>

#include "common/zqtrace.h"
#include "xmlrules/zqxmldom.h"
#include "xmlrules/zqxmlshared.h"
#include "xmlrules/zqxmlutil.h"
#include "device/zqalertdefs.h"

namespace {

// Calls visit(child, id) for each child element whose name is in the alert element table, while
// visit answers true.
template <typename Visit>
void VForEachElement(IXMLDOMNode* pNode, Visit visit) {
    zqxml::CZQElementWalk walk(pNode);
    CZQComPtr<IXMLDOMNode> child;
    while (walk.BNext(child)) {
        DWORD id = 0;
        if (!BAlertElementId(child.Get(), &id)) continue;
        if (!visit(child.Get(), id)) break;
    }
}

// The same over the attributes whose names are in the alert field table, in document order.
template <typename Visit>
void VForEachAttribute(IXMLDOMNode* pNode, Visit visit) {
    CZQComPtr<IXMLDOMNamedNodeMap> attributes;
    LONG count = 0;
    if (FAILED(pNode->get_attributes(attributes.Put())) || !attributes || FAILED(attributes->get_length(&count)))
        return;
    for (LONG i = 0; i < count; ++i) {
        CZQComPtr<IXMLDOMNode> attribute;
        if (attributes->get_item(i, attribute.Put()) != S_OK || !attribute) return;
        DWORD id = 0;
        if (!BAlertFieldId(attribute.Get(), &id)) continue;
        if (!visit(attribute.Get(), id)) break;
    }
}

// The node's text in place of the owned one.
BOOL BReadText(IXMLDOMNode* pNode, PWSTR* ppszText) {
    PWSTR text = nullptr;
    if (!BGetNodeTextAlloc(pNode, &text)) return FALSE;
    if (*ppszText) LocalFree(*ppszText);
    *ppszText = text;
    return TRUE;
}

// The number of the named attribute; FALSE when the element has no such attribute.
BOOL BAttributeNumber(IXMLDOMNode* pNode, LPCWSTR pszName, LONG* plValue) {
    CZQComPtr<IXMLDOMNamedNodeMap> attributes;
    CZQBstr name(SysAllocString(pszName));
    CZQComPtr<IXMLDOMNode> attribute;
    if (!name || FAILED(pNode->get_attributes(attributes.Put())) || !attributes ||
        attributes->getNamedItem(name.Get(), attribute.Put()) != S_OK || !attribute)
        return FALSE;
    return BGetNodeInt(attribute.Get(), plValue);
}

// A new T parsed from the node, appended to the list; a T that fails is deleted.
template <typename T>
BOOL BParseInto(IXMLDOMNode* pNode, CZQPtrArray& list) {
    T* pItem = new (std::nothrow) T();
    if (!pItem) return FALSE;
    if (!pItem->BParse(pNode)) {
        delete pItem;
        return FALSE;
    }
    return ZQAppendOwned(list, pItem);
}

// One message per alerts_msg (a failing one is dropped), then the list's msg_suffix, whose absence
// fails the list.
BOOL BParseMessageList(IXMLDOMNode* pNode, CZQPtrArray& messages, LONG* plSuffixId) {
    VForEachElement(pNode, [&](IXMLDOMNode* child, DWORD id) {
        if (id == ZQAE_ALERTS_MSG) BParseInto<CZQAlertMsg>(child, messages);
        return true;
    });
    return BAttributeNumber(pNode, L"msg_suffix", plSuffixId);
}

// One dependent per dependent_alerts_dmloids (a failing one is dropped); the result is the last one's.
BOOL BParseDependentList(IXMLDOMNode* pNode, CZQPtrArray& dependents) {
    BOOL ok = TRUE;
    VForEachElement(pNode, [&](IXMLDOMNode* child, DWORD id) {
        if (id == ZQAE_DEPENDENT_ALERTS_DMLOIDS) ok = BParseInto<CZQDependentAlerts>(child, dependents);
        return true;
    });
    return ok;
}

}  // namespace

BOOL AlertCmdParam::BParse(IXMLDOMNode* pNode) {
    // Every attribute is read; the last one decides.
    BOOL ok = TRUE;
    VForEachAttribute(pNode, [&](IXMLDOMNode* attribute, DWORD id) {
        if (id == ZQAF_PARAM_NAME) {
            ok = BReadText(attribute, &pszName);
        } else if (id == ZQAF_PARAM_VALUE) {
            WCHAR text[256];
            ok = BGetNodeText(attribute, text, 256) && BCmdLineParamId(text, &dwKind);
        } else {
            ok = FALSE;
        }
        return true;
    });
    return ok;
}

BOOL CZQAlertCmdLine::BParse(IXMLDOMNode* pNode) {
    BOOL ok = TRUE;
    VForEachElement(pNode, [&](IXMLDOMNode* child, DWORD id) {
        if (id == ZQAE_CL_PARAM) ok = BParseInto<AlertCmdParam>(child, m_params);
        return true;
    });
    return ok;
}

BOOL CZQAlertMsg::BParse(IXMLDOMNode* pNode) {
    BOOL ok = TRUE;
    VForEachAttribute(pNode, [&](IXMLDOMNode* attribute, DWORD id) {
        switch (id) {
            case ZQAF_SET_BIT: ok = BGetNodeInt(attribute, &m_lSetBit); break;
            case ZQAF_NAME: ok = BReadText(attribute, &m_pszName); break;
            case ZQAF_ALERT_MSG_STRID: ok = BGetNodeInt(attribute, &m_lMessageId); break;
            case ZQAF_SEVERITY: {
                WCHAR text[512];
                DWORD severity = ZQ_SEVERITY_NONE;
                ok = BGetNodeText(attribute, text, 512) && BSeverityId(text, &severity);
                if (ok) m_dwSeverity = severity;
                break;
            }
            case ZQAF_SET_VAL: ok = BGetNodeInt(attribute, &m_lSetVal); break;
            default: ok = FALSE; break;  // an attribute of another element
        }
        return ok != FALSE;
    });
    VForEachElement(pNode, [&](IXMLDOMNode* child, DWORD id) {
        if (!ok) return false;
        if (id != ZQAE_CMDLINEINFO) return true;
        CZQAlertCmdLine* pCmdLine = new (std::nothrow) CZQAlertCmdLine();
        if (!pCmdLine || !pCmdLine->BParse(child)) {
            delete pCmdLine;
            ok = FALSE;
            return false;
        }
        delete m_pCmdLine;
        m_pCmdLine = pCmdLine;
        return true;
    });
    return ok;
}

BOOL CZQAlertOid::BParse(IXMLDOMNode* pNode) {
    BOOL ok = TRUE;
    VForEachElement(pNode, [&](IXMLDOMNode* child, DWORD id) {
        switch (id) {
            case ZQAE_ALERTS_DMLNAME: ok = BReadText(child, &m_pszName); break;
            case ZQAE_ALERTS_OIDVALUE: ok = BReadText(child, &m_pszObjectId); break;
            case ZQAE_DEPENDENT_ALERTS_DMLOIDS_LIST: ok = BParseDependentList(child, m_dependents); break;
            case ZQAE_ALERTS_MSG_LIST: ok = BParseMessageList(child, m_messages, &m_lSuffixId); break;
            default: break;
        }
        return ok != FALSE;
    });
    return ok;
}

BOOL CZQRangeAlertOid::BParse(IXMLDOMNode* pNode) {
    BAttributeNumber(pNode, L"range_hi", &m_lRangeHi);
    BAttributeNumber(pNode, L"range_lo", &m_lRangeLo);
    if (!CZQAlertOid::BParse(pNode)) return FALSE;
    // The identifier is a format for one integer, and every index is a query of the printer.
    if (m_pszObjectId && !BIsOneIntegerFormat(m_pszObjectId)) return FALSE;
    return static_cast<long long>(m_lRangeHi) - m_lRangeLo < kZQMaxAlertRange;
}

BOOL CZQDynamicAlertOid::BParse(IXMLDOMNode* pNode) {
    BOOL ok = TRUE;
    VForEachElement(pNode, [&](IXMLDOMNode* child, DWORD id) {
        switch (id) {
            case ZQAE_ALERTS_DMLNAME: ok = BReadText(child, &m_pszName); break;
            case ZQAE_ALERTS_OIDVALUE: ok = BReadText(child, &m_pszFormat); break;
            case ZQAE_ALERTS_MSG_LIST: ok = BParseMessageList(child, m_messages, &m_lSuffixId); break;
            default: break;
        }
        return ok != FALSE;
    });
    return ok && (!m_pszFormat || BIsOneIntegerFormat(m_pszFormat));
}

BOOL CZQDependentAlerts::BParse(IXMLDOMNode* pNode) {
    BOOL ok = TRUE;
    VForEachAttribute(pNode, [&](IXMLDOMNode* attribute, DWORD id) {
        switch (id) {
            case ZQAF_SET_BIT: ok = BGetNodeInt(attribute, &m_lSetBit); break;
            case ZQAF_NAME: ok = BReadText(attribute, &m_pszName); break;
            case ZQAF_SET_VAL: ok = BGetNodeInt(attribute, &m_lSetVal); break;
            default: ok = FALSE; break;  // an attribute of another element
        }
        return ok != FALSE;
    });
    VForEachElement(pNode, [&](IXMLDOMNode* child, DWORD id) {
        if (!ok) return false;
        switch (id) {
            case ZQAE_ALERTS_DMLOID: ok = BParseInto<CZQAlertOid>(child, m_oids); break;
            case ZQAE_ALERTS_DYNAMIC_DMLOID: ok = BParseInto<CZQDynamicAlertOid>(child, m_dynamics); break;
            case ZQAE_ALERTS_RANGE_DMLOID: ok = BParseInto<CZQRangeAlertOid>(child, m_ranges); break;
            default: break;
        }
        return ok != FALSE;
    });
    return ok;
}

BOOL BLoadAlertDefinitions(IXMLDOMDocument* pDocument, CZQPtrArray& definitions) {
    ZQ_TRACE("BLoadAlertDefinitions");
    if (!pDocument) return FALSE;
    LONG count = 0;
    CZQComPtr<IXMLDOMNode> section;
    if (FAILED(zqxmlshared::HrFindElements(pDocument, L"alerts_dmloids", &count, section.Put()))) return FALSE;
    // Without exactly one section the alerts run with their fixed alerts only.
    if (count != 1) return TRUE;
    const int before = definitions.GetCount();
    VForEachElement(section.Get(), [&](IXMLDOMNode* child, DWORD id) {
        if (id == ZQAE_ALERTS_DMLOID) BParseInto<CZQAlertOid>(child, definitions);
        return true;
    });
    return definitions.GetCount() > before;
}
