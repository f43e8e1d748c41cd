// Reading the "constraints" section into the rule set. Nothing is reported while loading: a
// malformed record, rule or item is dropped and the rest is kept.
#include <new>

#include "common/zqtrace.h"
#include "xmlrules/zqconstraints.h"
#include "xmlrules/zqxmldom.h"
#include "xmlrules/zqxmlshared.h"
#include "xmlrules/zqxmlutil.h"

namespace {

constexpr int kCchText = 256;

// Calls visit(child, element id) for each child element whose name is in the constraint table,
// while visit answers true.
template <typename Visit>
void VForEachChild(IXMLDOMNode* pNode, Visit visit) {
    zqxml::CZQElementWalk walk(pNode);
    CZQComPtr<IXMLDOMNode> child;
    while (walk.BNext(child)) {
        DWORD id = 0;
        if (!BConstraintElementId(child.Get(), &id)) continue;
        if (!visit(child.Get(), id)) break;
    }
}

// The option keywords of the node's opt_listitem children, appended; FALSE when one has no text.
BOOL BReadOptionItems(IXMLDOMNode* pList, CZQPtrArray& options) {
    BOOL ok = TRUE;
    VForEachChild(pList, [&](IXMLDOMNode* child, DWORD id) {
            if (id != ZQCE_OPT_LISTITEM) return true;
            PWSTR text = nullptr;
            if (!BGetNodeTextAlloc(child, &text) || !options.VSetAtGrow(options.GetCount(), text)) {
                if (text) LocalFree(text);
                ok = FALSE;
            }
            return ok != FALSE;
        });
    return ok;
}

BOOL BReadItemAction(IXMLDOMNode* pNode, DWORD* pdwAction) {
    WCHAR text[kCchText];
    DWORD id = 0;
    if (!BGetNodeText(pNode, text, kCchText) || !BUiActionId(text, &id) || id == ZQ_ITEM_ACTION_NONE) return FALSE;
    *pdwAction = id;
    return TRUE;
}

BOOL BParseConstrained(IXMLDOMNode* pNode, CZQConstrainedItem* pItem) {
    if (!BGetAttributeText(pNode, L"name", pItem->m_szFeature, kCchText)) return FALSE;
    BOOL ok = TRUE;
    VForEachChild(pNode, [&](IXMLDOMNode* child, DWORD id) {
            switch (id) {
                case ZQCE_OPT_NAME_LIST: ok = BReadOptionItems(child, pItem->m_allowed); break;
                case ZQCE_MSGBOX_STR_ID: ok = BGetNodeInt(child, &pItem->m_lMessageId); break;
                case ZQCE_FORCE_OPT: ok = BGetNodeText(child, pItem->m_szForced, kCchText); break;
                case ZQCE_ACTION: ok = BReadItemAction(child, &pItem->m_dwAction); break;
                case ZQCE_BUBBLE_STR_ID: ok = BGetNodeInt(child, &pItem->m_lBubbleId); break;
                default: break;
            }
            return ok != FALSE;
        });
    return ok;
}

BOOL BParseUnconstrained(IXMLDOMNode* pNode, CZQUnconstrainedItem* pItem) {
    if (!BGetAttributeText(pNode, L"name", pItem->m_szFeature, kCchText)) return FALSE;
    BOOL ok = TRUE;
    VForEachChild(pNode, [&](IXMLDOMNode* child, DWORD id) {
            switch (id) {
                case ZQCE_SETOPTVAL: ok = BGetNodeText(child, pItem->m_szSetOption, kCchText); break;
                case ZQCE_ACTION: ok = BReadItemAction(child, &pItem->m_dwAction); break;
                case ZQCE_BUBBLE_STR_ID: ok = BGetNodeInt(child, &pItem->m_lBubbleId); break;
                default: break;
            }
            return ok != FALSE;
        });
    return ok;
}

// mc_feature: the opt_listitem children of its first child element are the options that make
// the condition true; a condition without options fails.
BOOL BParseCondition(IXMLDOMNode* pNode, CZQMultilevelCondition* pCondition) {
    if (!BGetAttributeText(pNode, L"name", pCondition->m_szFeature, kCchText)) return FALSE;
    zqxml::CZQElementWalk walk(pNode);
    CZQComPtr<IXMLDOMNode> first;
    if (!walk.BNext(first)) return FALSE;
    return BReadOptionItems(first.Get(), pCondition->m_options) && pCondition->m_options.GetCount() > 0;
}

// Parses a new T from the node into the list; a T that fails is deleted. FALSE when it failed.
template <typename T, typename Parse>
BOOL BParseInto(IXMLDOMNode* pNode, CZQPtrArray& list, Parse parse) {
    T* pItem = new (std::nothrow) T();
    if (!pItem) return FALSE;
    if (!parse(pNode, pItem)) {
        delete pItem;
        return FALSE;
    }
    return ZQAppendOwned(list, pItem);
}

BOOL BParseMultiConstrained(IXMLDOMNode* pNode, CZQMultilevelConstrainedItem* pItem) {
    BOOL ok = TRUE;
    VForEachChild(pNode, [&](IXMLDOMNode* child, DWORD id) {
            if (id == ZQCE_CONSTRAINED_FEATURE)
                ok = BParseInto<CZQConstrainedItem>(child, pItem->m_items, BParseConstrained);
            else if (id == ZQCE_MC_FEATURE)
                ok = BParseInto<CZQMultilevelCondition>(child, pItem->m_conditions, BParseCondition);
            return ok != FALSE;
        });
    return ok;
}

BOOL BParseMultiUnconstrained(IXMLDOMNode* pNode, CZQMultilevelUnconstrainedItem* pItem) {
    BOOL ok = TRUE;
    VForEachChild(pNode, [&](IXMLDOMNode* child, DWORD id) {
            if (id == ZQCE_UC_FEATURE)
                ok = BParseInto<CZQUnconstrainedItem>(child, pItem->m_items, BParseUnconstrained);
            else if (id == ZQCE_MC_FEATURE)
                ok = BParseInto<CZQMultilevelCondition>(child, pItem->m_conditions, BParseCondition);
            return ok != FALSE;
        });
    return ok;
}

// The children of one item list that have the item's element id; a failing item is dropped alone.
template <typename T, typename Parse>
void VParseItemList(IXMLDOMNode* pList, DWORD dwItemId, CZQPtrArray& items, Parse parse) {
    VForEachChild(pList, [&](IXMLDOMNode* child, DWORD id) {
        if (id == dwItemId) BParseInto<T>(child, items, parse);
        return true;
    });
}

BOOL BParseRule(IXMLDOMNode* pNode, CZQConstraintRule* pRule) {
    BOOL ok = TRUE;
    VForEachChild(pNode, [&](IXMLDOMNode* child, DWORD id) {
            switch (id) {
                case ZQCE_OPT_GROUP: ok = BGetNodeText(child, pRule->m_szGroup, kCchText); break;
                case ZQCE_OPT_NAME_LIST:
                    ok = BReadOptionItems(child, pRule->m_options) && pRule->m_options.GetCount() > 0;
                    break;
                case ZQCE_UI_ACTION: {
                    WCHAR text[kCchText];
                    DWORD action = 0;
                    ok = BGetNodeText(child, text, kCchText) && BConstraintActionId(text, &action) &&
                         action != ZQ_UI_ACTION_NONE;
                    if (ok) pRule->m_dwUiAction = action;
                    break;
                }
                case ZQCE_CONSTRAINED_FEATURES:
                    VParseItemList<CZQConstrainedItem>(child, ZQCE_CONSTRAINED_FEATURE, pRule->m_constrained,
                                                       BParseConstrained);
                    break;
                case ZQCE_UNCONSTRAINED_FEATURES:
                    VParseItemList<CZQUnconstrainedItem>(child, ZQCE_UC_FEATURE, pRule->m_unconstrained,
                                                         BParseUnconstrained);
                    break;
                case ZQCE_MULTILEVEL_CONSTRAINED_FEATURES:
                    VParseItemList<CZQMultilevelConstrainedItem>(child, ZQCE_MULTILEVEL_CONSTRAINED_FEATURE,
                                                                 pRule->m_multiConstrained, BParseMultiConstrained);
                    break;
                case ZQCE_MULTILEVEL_UNCONSTRAINED_FEATURES:
                    VParseItemList<CZQMultilevelUnconstrainedItem>(child, ZQCE_MULTILEVEL_UNCONSTRAINED_FEATURE,
                                                                   pRule->m_multiUnconstrained,
                                                                   BParseMultiUnconstrained);
                    break;
                default: break;
            }
            return ok != FALSE;
        });
    return ok;
}

// A record fails with its first failing child; a rule that fails takes its record with it.
BOOL BParseRecord(IXMLDOMNode* pNode, CZQFeatureConstraints* pRecord) {
    BOOL ok = TRUE;
    VForEachChild(pNode, [&](IXMLDOMNode* child, DWORD id) {
            if (id == ZQCE_FEATURE_NAME)
                ok = BGetNodeText(child, pRecord->m_szFeature, kCchText);
            else if (id == ZQCE_CONSTRAINT_REC)
                ok = BParseInto<CZQConstraintRule>(child, pRecord->m_rules, BParseRule);
            return ok != FALSE;
        });
    return ok;
}

}  // namespace

BOOL CZQConstraintRuleSet::BLoad(IXMLDOMDocument* pDocument) {
    ZQ_TRACE("CZQConstraintRuleSet::BLoad");
    ZQDeleteAll<CZQFeatureConstraints>(m_records);
    if (!pDocument) return FALSE;
    // Exactly one section.
    LONG count = 0;
    CZQComPtr<IXMLDOMNode> section;
    if (FAILED(zqxmlshared::HrFindElements(pDocument, L"constraints", &count, section.Put())) || count != 1)
        return FALSE;

    VForEachChild(section.Get(), [&](IXMLDOMNode* child, DWORD id) {
        if (id == ZQCE_FEATURE_CONSTRAINTS) BParseInto<CZQFeatureConstraints>(child, m_records, BParseRecord);
        return true;
    });
    return m_records.GetCount() > 0;
}
