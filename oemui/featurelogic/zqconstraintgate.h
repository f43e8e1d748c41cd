// The constraint gate of a binding: the only door to the constraint rules. CommonUIProp loads the
// rule set and its controllers; pages and dialogs attach, check and detach through it, as their
// PageContext hands it to them.
#pragma once

#include "common/zqprintercaps.h"
#include "featurelogic/zqpagegates.h"
#include "platform/oemuiplatform.h"

class CZQBinding;
class CZQConstraintRuleSet;
class IZQConstraintLogic;

class CZQConstraintGate final : public IZQConstraintGate {
public:
    explicit CZQConstraintGate(CZQBinding& binding) : m_binding(binding) {}
    ~CZQConstraintGate();
    CZQConstraintGate(const CZQConstraintGate&) = delete;
    CZQConstraintGate& operator=(const CZQConstraintGate&) = delete;

    // The user-interface logic object through which the gate and its controllers read and set
    // features (not owned); the CommonUIProp worker sets it before loading the constraints.
    void VSetConstraintLogic(IZQConstraintLogic* pLogic) { m_pLogic = pLogic; }
    // With the feature "ZQConstraints" at any option, the helper file's "constraints" section
    // becomes the rule set and the three controllers are made; in either sheet the stored media
    // and quality are then checked, with the foreground window as the owner of any question. TRUE
    // when the constraints are on.
    BOOL BLoadConstraints();
    BOOL BConstraintsLoaded() const { return m_bOn; }
    // A page or dialog attaches the controller of the feature beside its anchor control at
    // initialisation and detaches it when it closes (the dialog argument of the detach is unused).
    BOOL BAttachConstraintDialog(PCWSTR pszFeature, HWND hDlg, int iAnchorId) override;
    BOOL BDetachConstraintControls(PCWSTR pszFeature, HWND hDlg) override;
    // Checks the feature's current option after a change; a user-defined media type is checked as
    // the media it is based on. With *pdwCancelled 1 the caller restores the previous option.
    BOOL BCheckConstraint(PCWSTR pszFeature, HWND hDlg, DWORD* pdwCancelled) override;
    // A user-defined media type (a "MediaType" option) through the paper list: the keyword of the
    // media it is based on (a new local-heap string), and the text shown for it (cut to the
    // capacity, always terminated). TRUE when found.
    BOOL BUserMediaKeyword(PCWSTR pszMediaType, PWSTR* ppszKeyword) const;
    BOOL BMediaTypeNameFromId(PCWSTR pszMediaType, PWSTR pszText, int cchText) const;
    // Starts the command line (at most 511 characters); a start that fails is shown to the user.
    BOOL BRunCommandLine(PCWSTR pszCommandLine) override;
    CZQConstraintRuleSet* ConstraintRulesForTesting() const { return m_pRuleSet; }

private:
    BOOL BCreateConstraintControllers();
    POEMCUIPPARAM PConstraintParam() const;
    // The first paper-list entry whose name is the display name of the "MediaType" option.
    const PaperListEntry* PFindUserMedia(PCWSTR pszMediaType) const;

    CZQBinding& m_binding;
    // On after a successful load; the rule set owns the controllers.
    BOOL m_bOn = FALSE;
    CZQConstraintRuleSet* m_pRuleSet = nullptr;
    IZQConstraintLogic* m_pLogic = nullptr;
};
