// The rule set's objects and the evaluation of a feature's new option.
#include "xmlrules/zqconstraints.h"

#include <new>

#include "common/zqcommon.h"
#include "common/zqstrings.h"
#include "common/zqtrace.h"

namespace {

// A controller's current option is read into this many characters.
constexpr int kCchCurrent = 512;

}  // namespace

void ZQFreeOptionList(CZQPtrArray& options) {
    for (int i = 0; i < options.GetCount(); ++i) LocalFree(options.GetAt(i));
    options.VSetSize(0);
}

BOOL BOptionListHas(const CZQPtrArray& options, PCWSTR pszOption) {
    for (int i = 0; i < options.GetCount(); ++i)
        if (ZQEqualNoCase(static_cast<PCWSTR>(options.GetAt(i)), pszOption)) return TRUE;
    return FALSE;
}

CZQConstrainedItem::~CZQConstrainedItem() { ZQFreeOptionList(m_allowed); }

CZQMultilevelCondition::~CZQMultilevelCondition() { ZQFreeOptionList(m_options); }

CZQMultilevelConstrainedItem::~CZQMultilevelConstrainedItem() {
    ZQDeleteAll<CZQMultilevelCondition>(m_conditions);
    ZQDeleteAll<CZQConstrainedItem>(m_items);
}

CZQMultilevelUnconstrainedItem::~CZQMultilevelUnconstrainedItem() {
    ZQDeleteAll<CZQMultilevelCondition>(m_conditions);
    ZQDeleteAll<CZQUnconstrainedItem>(m_items);
}

CZQConstraintRule::~CZQConstraintRule() {
    ZQFreeOptionList(m_options);
    ZQDeleteAll<CZQConstrainedItem>(m_constrained);
    ZQDeleteAll<CZQUnconstrainedItem>(m_unconstrained);
    ZQDeleteAll<CZQMultilevelConstrainedItem>(m_multiConstrained);
    ZQDeleteAll<CZQMultilevelUnconstrainedItem>(m_multiUnconstrained);
}

CZQFeatureConstraints::~CZQFeatureConstraints() { ZQDeleteAll<CZQConstraintRule>(m_rules); }

// ---------------------------------------------------------------------------------------------
// CZQConstraintRuleSet
// ---------------------------------------------------------------------------------------------
CZQConstraintRuleSet::CZQConstraintRuleSet(CZQCommon* pTextLoader)
    : m_pMessageIcon(new (std::nothrow) CZQFeatureTipIcon(pTextLoader)), m_pTextLoader(pTextLoader) {}

CZQConstraintRuleSet::~CZQConstraintRuleSet() {
    ZQDeleteAll<CZQFeatureConstraints>(m_records);
    ZQDeleteAll<CZQConstraintController>(m_controllers);
    delete m_pMessageIcon;
}

void CZQConstraintRuleSet::VSetTextLoader(CZQCommon* pTextLoader) {
    m_pTextLoader = pTextLoader;
    if (m_pMessageIcon) m_pMessageIcon->VSetTextLoader(pTextLoader);
    for (int i = 0; i < m_controllers.GetCount(); ++i) {
        auto* controller = static_cast<CZQConstraintController*>(m_controllers.GetAt(i));
        if (controller->TipIcon()) controller->TipIcon()->VSetTextLoader(pTextLoader);
    }
}

BOOL CZQConstraintRuleSet::BAddController(CZQConstraintController* pController) {
    if (!pController) return FALSE;
    if (pController->TipIcon()) pController->TipIcon()->VSetTextLoader(m_pTextLoader);
    return ZQAppendOwned(m_controllers, pController);
}

CZQConstraintController* CZQConstraintRuleSet::PController(PCWSTR pszFeature) const {
    for (int i = 0; i < m_controllers.GetCount(); ++i) {
        auto* controller = static_cast<CZQConstraintController*>(m_controllers.GetAt(i));
        if (ZQEqualNoCase(controller->PszFeatureName(), pszFeature)) return controller;
    }
    return nullptr;
}

BOOL CZQConstraintRuleSet::BFindController(PCWSTR pszFeature, CZQConstraintController** ppController) const {
    if (ppController) *ppController = nullptr;
    if (!pszFeature || !ppController) return FALSE;
    *ppController = PController(pszFeature);
    return *ppController != nullptr;
}

BOOL CZQConstraintRuleSet::BIsViolated(const CZQConstrainedItem* pItem) const {
    CZQConstraintController* controller = PController(pItem->m_szFeature);
    if (!controller) return FALSE;
    WCHAR current[kCchCurrent];
    current[0] = L'\0';
    if (!controller->BReadCurrentOption(current, kCchCurrent)) return FALSE;
    return current[0] != L'\0' && !BOptionListHas(pItem->m_allowed, current);
}

BOOL CZQConstraintRuleSet::BConditionsHold(const CZQPtrArray& conditions) const {
    if (conditions.GetCount() == 0) return TRUE;
    for (int c = 0; c < conditions.GetCount(); ++c) {
        const auto* condition = static_cast<const CZQMultilevelCondition*>(conditions.GetAt(c));
        // The first controller of the name that can report its option decides.
        for (int i = 0; i < m_controllers.GetCount(); ++i) {
            auto* controller = static_cast<CZQConstraintController*>(m_controllers.GetAt(i));
            if (!ZQEqualNoCase(controller->PszFeatureName(), condition->m_szFeature)) continue;
            WCHAR current[kCchCurrent];
            current[0] = L'\0';
            if (!controller->BReadCurrentOption(current, kCchCurrent)) continue;
            if (current[0] && BOptionListHas(condition->m_options, current)) return TRUE;
            break;
        }
    }
    return FALSE;
}

void CZQConstraintRuleSet::VApplyConstrained(const CZQConstrainedItem* pItem) {
    CZQConstraintController* controller = PController(pItem->m_szFeature);
    if (!controller) return;
    if (pItem->m_lBubbleId > 0 && controller->TipIcon()) controller->TipIcon()->BAddBubbleId(pItem->m_lBubbleId);
    if (pItem->m_szForced[0]) controller->BSetValueText(pItem->m_szForced);
    if (pItem->m_dwAction == ZQ_ITEM_ACTION_DISABLE)
        controller->BEnableAll(FALSE);
    else if (pItem->m_dwAction == ZQ_ITEM_ACTION_ENABLE)
        controller->BEnableAll(TRUE);
}

BOOL CZQConstraintRuleSet::BApplyUnconstrained(const CZQUnconstrainedItem* pItem) {
    CZQConstraintController* controller = PController(pItem->m_szFeature);
    if (!controller) return FALSE;
    controller->BSetValueText(pItem->m_szSetOption);
    if (controller->TipIcon()) controller->TipIcon()->BRemoveBubbleId(pItem->m_lBubbleId);
    switch (pItem->m_dwAction) {
        case ZQ_ITEM_ACTION_NONE: return TRUE;
        case ZQ_ITEM_ACTION_DISABLE: return controller->BEnableAll(FALSE);
        case ZQ_ITEM_ACTION_ENABLE: return controller->BEnableAll(TRUE);
        default: return FALSE;
    }
}

void CZQConstraintRuleSet::VCollectMessageIds(const CZQPtrArray& items) {
    for (int i = 0; i < items.GetCount(); ++i) {
        const auto* item = static_cast<const CZQConstrainedItem*>(items.GetAt(i));
        if (item->m_lMessageId > 0 && BIsViolated(item)) m_pMessageIcon->BAddMessageId(item->m_lMessageId);
    }
}

BOOL CZQConstraintRuleSet::BApplyAllUnconstrained(CZQConstraintRule* pRule) {
    for (int i = 0; i < pRule->m_unconstrained.GetCount(); ++i)
        BApplyUnconstrained(static_cast<const CZQUnconstrainedItem*>(pRule->m_unconstrained.GetAt(i)));
    BOOL result = FALSE;
    for (int m = 0; m < pRule->m_multiUnconstrained.GetCount(); ++m) {
        const auto* multi = static_cast<const CZQMultilevelUnconstrainedItem*>(pRule->m_multiUnconstrained.GetAt(m));
        if (!BConditionsHold(multi->m_conditions)) continue;
        for (int i = 0; i < multi->m_items.GetCount(); ++i)
            result = BApplyUnconstrained(static_cast<const CZQUnconstrainedItem*>(multi->m_items.GetAt(i)));
    }
    return result;
}

BOOL CZQConstraintRuleSet::BApplyRule(CZQConstraintRule* pRule, HWND hDlg, DWORD* pdwCancelled) {
    if (pRule->m_dwUiAction == ZQ_UI_ACTION_MSGBOX) {
        if (!m_pMessageIcon) return FALSE;
        VCollectMessageIds(pRule->m_constrained);
        for (int m = 0; m < pRule->m_multiConstrained.GetCount(); ++m) {
            const auto* multi = static_cast<const CZQMultilevelConstrainedItem*>(pRule->m_multiConstrained.GetAt(m));
            if (BConditionsHold(multi->m_conditions)) VCollectMessageIds(multi->m_items);
        }
        if (m_pMessageIcon->IShowMessage(hDlg) == IDOK) {
            for (int i = 0; i < pRule->m_constrained.GetCount(); ++i)
                VApplyConstrained(static_cast<const CZQConstrainedItem*>(pRule->m_constrained.GetAt(i)));
            for (int m = 0; m < pRule->m_multiConstrained.GetCount(); ++m) {
                const auto* multi =
                    static_cast<const CZQMultilevelConstrainedItem*>(pRule->m_multiConstrained.GetAt(m));
                if (!BConditionsHold(multi->m_conditions)) continue;
                for (int i = 0; i < multi->m_items.GetCount(); ++i)
                    VApplyConstrained(static_cast<const CZQConstrainedItem*>(multi->m_items.GetAt(i)));
            }
            *pdwCancelled = 0;
        } else {
            *pdwCancelled = 1;
        }
        return BApplyAllUnconstrained(pRule);
    }

    if (pRule->m_dwUiAction == ZQ_UI_ACTION_BUBBLE) {
        for (int i = 0; i < pRule->m_constrained.GetCount(); ++i) {
            const auto* item = static_cast<const CZQConstrainedItem*>(pRule->m_constrained.GetAt(i));
            if (BIsViolated(item)) VApplyConstrained(item);
        }
        for (int m = 0; m < pRule->m_multiConstrained.GetCount(); ++m) {
            const auto* multi = static_cast<const CZQMultilevelConstrainedItem*>(pRule->m_multiConstrained.GetAt(m));
            if (!BConditionsHold(multi->m_conditions)) continue;
            for (int i = 0; i < multi->m_items.GetCount(); ++i) {
                const auto* item = static_cast<const CZQConstrainedItem*>(multi->m_items.GetAt(i));
                if (BIsViolated(item)) VApplyConstrained(item);
            }
        }
        return BApplyAllUnconstrained(pRule);
    }
    return FALSE;
}

BOOL CZQConstraintRuleSet::BEvaluate(PCWSTR pszFeature, PCWSTR pszOption, HWND hDlg, DWORD* pdwCancelled) {
    ZQ_TRACE("CZQConstraintRuleSet::BEvaluate");
    if (!pszFeature || !pszOption || !hDlg || !pdwCancelled || !IsWindow(hDlg)) return FALSE;

    // The feature's own controller follows the change at once.
    if (CZQConstraintController* own = PController(pszFeature)) own->BSetValueText(pszOption);

    const CZQFeatureConstraints* record = nullptr;
    for (int i = 0; i < m_records.GetCount() && !record; ++i) {
        const auto* candidate = static_cast<const CZQFeatureConstraints*>(m_records.GetAt(i));
        if (ZQEqualNoCase(candidate->m_szFeature, pszFeature)) record = candidate;
    }
    if (!record) return FALSE;

    // Only the first rule, in file order, that lists the option acts.
    for (int i = 0; i < record->m_rules.GetCount(); ++i) {
        auto* rule = static_cast<CZQConstraintRule*>(record->m_rules.GetAt(i));
        if (BOptionListHas(rule->m_options, pszOption)) return BApplyRule(rule, hDlg, pdwCancelled);
    }
    return FALSE;
}
