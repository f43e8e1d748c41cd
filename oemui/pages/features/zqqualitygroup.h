// The Features page's print-quality group: which of its controls the printer has, stacked from the
// group's top without gaps, the resolution read-out, the group's settings kept for the rules, the
// quality chosen stored in the settings, and what the chosen quality and black ink allow. The page
// owns one and fills the quality list itself; the part works on the page's controls and state.
#pragma once

#include "common/zqkeywords.h"
#include "common/zquibase.h"
#include "pages/features/zqfeaturesstate.h"
#include "pages/zqpagecontrols.h"
#include "pages/zqpages.h"

class CZQQualityGroup {
public:
    // The photo enhancements; any of them offers the image-enhancement button.
    static constexpr PCWSTR kEnhancements[] = {zqkw::kZQContrast,   zqkw::kZQDigitalFlash, zqkw::kZQSharpness,
                                               zqkw::kZQVorevEzuro, zqkw::kZQSmoothing,    zqkw::kZQRedEyeReduction};

    CZQQualityGroup(CZQUIBase& owner, CZQPageControls& controls, ZQFeaturesState& state)
        : m_owner(owner), m_controls(controls), m_state(state) {}
    CZQQualityGroup(const CZQQualityGroup&) = delete;
    CZQQualityGroup& operator=(const CZQQualityGroup&) = delete;

    void VGetQualityGroupVisibility(PageContext* pContext, ZQQualityGroupVisibility* pVisible);
    void VArrangeQualityGroup(const ZQQualityGroupVisibility& visible, PageContext* pContext);
    BOOL BSetResolutionTexts(PageContext* pContext);
    void VReadQualityCheckBoxes(PageContext* pContext);
    BOOL BStoreMediaKeyword(HWND hDlg, PageContext* pContext);
    BOOL BStoreQualityKeyword(HWND hDlg, PageContext* pContext);
    void VApplyGrayScaleQuality(PageContext* pContext);
    // The quality list's choice as the settings' print-quality option.
    void VStoreQualityIndex(PageContext* pContext);
    // The photo fix and the layout choices the chosen quality group allows; a disc medium keeps its
    // own restrictions.
    void VApplyQualityGroupRule(bool bDiscMedium);
    // Black ink only prints no borderless photos.
    void VApplyBlackOnlyRule(PageContext* pContext);

private:
    CZQUIBase& m_owner;
    CZQPageControls& m_controls;
    ZQFeaturesState& m_state;
};
