// The Features page's quality list with the controls the chosen quality allows, over the group its
// part (zqqualitygroup.h) stacks.
#include <cwchar>

#include "common/zqkeywords.h"
#include "common/zqstrings.h"
#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"
#include "pages/features/zqfeaturespage.h"
#include "pages/zqpageitems.h"
#include "res/zqfeaturesids.h"

using namespace zqpage;

void CZQFeaturesTab::VUpdateQualityGroup(PageContext* pContext) {
    if (!WorkOf(pContext) || !m_pCUIParam) return;
    CZQUILogic& logic = *pContext->pLogic;
    const ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;
    ZQQualityGroupVisibility visible;
    m_quality.VGetQualityGroupVisibility(pContext, &visible);
    m_quality.VArrangeQualityGroup(visible, pContext);

    if (visible.dwQualityList) {
        HWND list = m_controls.Item(IDC_CBO_PRINT_QUALITY);
        logic.IBindFeatureControl(0, zqkw::kPrintQualityGroup, list, nullptr, OEMCUIP_DOCPROP, CZQUILogic::kBindFillFree,
                                  FALSE, 0, nullptr);
        logic.IBindFeatureControl(0, zqkw::kPrintQualityGroup, list, nullptr, OEMCUIP_DOCPROP, CZQUILogic::kBindShow,
                                  FALSE, 0, nullptr);
        WCHAR group[256];
        if (ReadOption(param, zqkw::kPrintQualityGroup, group)) {
            const bool draft = ZQEqualNoCase(group, L"PQGroup_3") || ZQEqualNoCase(group, L"PQGroup_4");
            WCHAR media[256];
            if (draft) {
                for (int id : {IDC_CBO_PHOTOFIX, IDC_STA_PHOTOFIX}) EnableWindow(m_controls.Item(id), FALSE);
            } else if (ReadOption(param, zqkw::kMediaType, media) && wcsstr(media, L"CD_DVD")) {
                if (RulesLoaded(pContext)) pContext->pRules->BRunFeatureMacros(zqkw::kMediaType, media, param);
                VApplyCdMedia(m_controls.Page(), pContext);
            } else {
                for (int id : {IDC_RB_PRINT_DOC_ON, IDC_CBO_PHOTOFIX, IDC_STA_PHOTOFIX, IDC_CBO_PAGES_PER_SHEET})
                    EnableWindow(m_controls.Item(id), TRUE);
                if (!m_state.bDuplexLocked) EnableWindow(m_controls.Item(IDC_CBO_TWO_SIDED_PRINTING), TRUE);
                if (POPTITEM poster = FeatureItem(param, zqkw::kZQPosterPrintingOptionSUI)) poster->Flags &= ~OPTIF_DISABLED;
            }
        }
    }

    // The image-enhancement button in the full layout with every photo enhancement; the lowest
    // resolution shows it without letting it open.
    HWND enhance = m_controls.Item(IDC_IMAGE_ENHANCEMENT);
    bool allFive = true;
    for (int i = 0; i < 5; ++i) allFive = allFive && FeatureItem(param, CZQQualityGroup::kEnhancements[i]) != nullptr;
    if (work.dwLayoutMode == 3 && (allFive || FeatureItem(param, CZQQualityGroup::kEnhancements[5]))) {
        WCHAR resolution[256];
        if (!ReadOption(param, zqkw::kResolution, resolution)) return;
        ShowEnabled(enhance, !ZQEqualNoCase(resolution, L"300dpi"));
    } else {
        Hide(enhance);
    }
}
