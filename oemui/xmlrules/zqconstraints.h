// Constraint rules of the helper file's "constraints" section: for chosen features, which options
// of other features are allowed while the feature has a given option, what to force, enable or
// disable, and which texts explain it. A rule either asks the user first ("Feature tip" box with
// OK and Cancel) or applies itself at once and marks the affected controls with a tip icon.
//
// Rules act only through controllers, one per controlled feature, found by name. Lists are
// CZQPtrArray; every owner deletes its elements. Feature and option keywords compare without
// regard to case, element names exactly.
#pragma once

#include <windows.h>
#include <msxml.h>

#include "xmlrules/zqconstraintctl.h"
#include "xmlrules/zqptrarray.h"

class CZQCommon;

enum : DWORD {
    ZQ_UI_ACTION_NONE = 0,
    ZQ_UI_ACTION_MSGBOX = 1,
    ZQ_UI_ACTION_BUBBLE = 2,
};

enum : DWORD {
    ZQ_ITEM_ACTION_NONE = 0,
    ZQ_ITEM_ACTION_DISABLE = 1,
    ZQ_ITEM_ACTION_ENABLE = 2,
};

// Option keywords: local-heap strings, freed by the list's owner.
void ZQFreeOptionList(CZQPtrArray& options);
// Whether the list holds the option (without regard to case).
BOOL BOptionListHas(const CZQPtrArray& options, PCWSTR pszOption);

class CZQConstrainedItem {
public:
    static constexpr size_t kTextChars = 256;
    virtual ~CZQConstrainedItem();
    WCHAR m_szFeature[kTextChars] = {};
    CZQPtrArray m_allowed;          // option keywords
    LONG m_lMessageId = 0;          // from msgbox_str_id
    WCHAR m_szForced[kTextChars] = {};
    DWORD m_dwAction = ZQ_ITEM_ACTION_NONE;
    LONG m_lBubbleId = 0;
};

class CZQUnconstrainedItem {
public:
    static constexpr size_t kTextChars = 256;
    WCHAR m_szFeature[kTextChars] = {};
    WCHAR m_szSetOption[kTextChars] = {};
    DWORD m_dwAction = ZQ_ITEM_ACTION_NONE;
    LONG m_lBubbleId = 0;
};

class CZQMultilevelCondition {
public:
    static constexpr size_t kTextChars = 256;
    virtual ~CZQMultilevelCondition();
    WCHAR m_szFeature[kTextChars] = {};
    CZQPtrArray m_options;
};

class CZQMultilevelConstrainedItem {
public:
    virtual ~CZQMultilevelConstrainedItem();
    CZQPtrArray m_conditions;  // CZQMultilevelCondition
    CZQPtrArray m_items;       // CZQConstrainedItem
};

class CZQMultilevelUnconstrainedItem {
public:
    virtual ~CZQMultilevelUnconstrainedItem();
    CZQPtrArray m_conditions;  // CZQMultilevelCondition
    CZQPtrArray m_items;       // CZQUnconstrainedItem
};

class CZQConstraintRule {
public:
    static constexpr size_t kTextChars = 256;
    virtual ~CZQConstraintRule();
    WCHAR m_szGroup[kTextChars] = {};  // a label only
    DWORD m_dwUiAction = ZQ_UI_ACTION_NONE;
    CZQPtrArray m_options;             // options of the record's feature the rule applies to
    CZQPtrArray m_constrained;         // CZQConstrainedItem
    CZQPtrArray m_unconstrained;       // CZQUnconstrainedItem
    CZQPtrArray m_multiConstrained;    // CZQMultilevelConstrainedItem
    CZQPtrArray m_multiUnconstrained;  // CZQMultilevelUnconstrainedItem
};

class CZQFeatureConstraints {
public:
    static constexpr size_t kTextChars = 256;
    virtual ~CZQFeatureConstraints();
    WCHAR m_szFeature[kTextChars] = {};
    CZQPtrArray m_rules;  // CZQConstraintRule, in file order
};

class CZQConstraintRuleSet {
public:
    // The message box and the tip windows of this rule set take their texts from the loader.
    explicit CZQConstraintRuleSet(CZQCommon* pTextLoader = nullptr);
    virtual ~CZQConstraintRuleSet();
    CZQConstraintRuleSet(const CZQConstraintRuleSet&) = delete;
    CZQConstraintRuleSet& operator=(const CZQConstraintRuleSet&) = delete;

    // Reads the document's one "constraints" section; malformed records, rules and items are
    // dropped. TRUE when at least one feature record was kept.
    BOOL BLoad(IXMLDOMDocument* pDocument);
    // The rule set owns the controller from then on (also when it could not be kept).
    BOOL BAddController(CZQConstraintController* pController);
    // The first controller of that feature name.
    BOOL BFindController(PCWSTR pszFeature, CZQConstraintController** ppController) const;
    // Checks the feature's new option: the first rule of the feature's record that lists the
    // option acts, asking first (message-box rule) or marking the controls at once (bubble rule).
    // The cancelled flag is 1 when the user turned the change down; the caller takes it back.
    // The result is that of the last unconstrained item applied through a multilevel item.
    BOOL BEvaluate(PCWSTR pszFeature, PCWSTR pszOption, HWND hDlg, DWORD* pdwCancelled);

    // Texts of the message box and of every controller's tip window.
    void VSetTextLoader(CZQCommon* pTextLoader);

    const CZQPtrArray& Records() const { return m_records; }
    const CZQPtrArray& ControllerList() const { return m_controllers; }
    CZQFeatureTipIcon* MessageIcon() const { return m_pMessageIcon; }

private:
    BOOL BApplyRule(CZQConstraintRule* pRule, HWND hDlg, DWORD* pdwCancelled);
    CZQConstraintController* PController(PCWSTR pszFeature) const;
    BOOL BIsViolated(const CZQConstrainedItem* pItem) const;
    BOOL BConditionsHold(const CZQPtrArray& conditions) const;
    void VApplyConstrained(const CZQConstrainedItem* pItem);
    BOOL BApplyUnconstrained(const CZQUnconstrainedItem* pItem);
    void VCollectMessageIds(const CZQPtrArray& items);
    // Unconstrained items of the rule, then those of its multilevel items whose conditions hold;
    // the result of the last one applied through a multilevel item.
    BOOL BApplyAllUnconstrained(CZQConstraintRule* pRule);

    CZQPtrArray m_records;      // CZQFeatureConstraints
    CZQPtrArray m_controllers;  // CZQConstraintController
    CZQFeatureTipIcon* m_pMessageIcon = nullptr;
    CZQCommon* m_pTextLoader = nullptr;
};
