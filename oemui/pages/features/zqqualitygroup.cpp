// The Features page's print-quality group: which of its controls the printer has, stacked from the
// group's top without gaps, the resolution read-out, and the group's settings kept for the rules.
#include <cwchar>

#include "common/zqkeywords.h"
#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"
#include "pages/features/zqqualitygroup.h"
#include "pages/parts/zqpaperslots.h"
#include "pages/zqpageitems.h"
#include "res/zqfeaturesids.h"

using namespace zqpage;

namespace {

constexpr float kComboGap = 6.5f;
constexpr float kGap = 4.0f;

}  // namespace

// ---------------------------------------------------------------------------------------------
// Which controls, and where
// ---------------------------------------------------------------------------------------------
void CZQQualityGroup::VGetQualityGroupVisibility(PageContext* pContext, ZQQualityGroupVisibility* pVisible) {
    if (!pVisible) return;
    *pVisible = {};
    CZQUILogic& logic = *pContext->pLogic;
    const POEMCUIPPARAM param = m_owner.CUIParam();
    // The binder's fill of a check box only says whether the feature has an item.
    auto has = [&](PCWSTR feature) {
        return Bound(logic.IBindFeatureControl(0, feature, nullptr, nullptr, OEMCUIP_DOCPROP, CZQUILogic::kBindFill,
                                               TRUE, 0, nullptr))
                   ? 1u
                   : 0u;
    };
    if (RulesLoaded(pContext)) {
        pVisible->dwQualityList = FeatureItem(param, zqkw::kPrintQualityGroup) ? 1 : 0;
        if (!pVisible->dwQualityList) pContext->pRules->VSetNoQualityGroup(TRUE);
    }
    pVisible->dwGloss = has(zqkw::kPrintFinish);
    pVisible->dwQuietPrinting = has(zqkw::kZQQuietPrinting);
    pVisible->dwThriftmode = has(ThriftmodeFeature(pContext));
    for (PCWSTR feature : kEnhancements)
        if (FeatureItem(param, feature)) pVisible->dwPhotoFeatures = 1;
    pVisible->dwMaximumDetail = FeatureItem(param, zqkw::kZQMaximumDetail) ? 1 : 0;
    pVisible->dwOptimizeFor = FeatureItem(param, zqkw::kZQOptimizeFor) ? 1 : 0;
}

void CZQQualityGroup::VArrangeQualityGroup(const ZQQualityGroupVisibility& visible, PageContext* pContext) {
    const CZQPageControls::ControlRect* top = m_controls.Recorded(IDC_CBO_PRINT_QUALITY);
    float y = top ? static_cast<float>(top->rc.top) : 0.0f;
    auto height = [&](int id) {
        const CZQPageControls::ControlRect* own = m_controls.Recorded(id);
        return own ? static_cast<float>(own->cy) : 0.0f;
    };
    // A shown control goes to the running top; one the printer lacks goes away.
    auto place = [&](int id, bool shown) {
        if (!shown) {
            Hide(m_controls.Item(id));
            return false;
        }
        ShowEnabled(m_controls.Item(id));
        m_controls.BPlaceAtTop(id, y);
        return true;
    };
    if (!visible.dwQualityList && !visible.dwGloss && !visible.dwThriftmode)
        for (int id : {IDC_GB_PRINT_QUALITY_FEATURES, IDC_CBO_PRINT_QUALITY, IDC_CHK_GLOSS, IDC_CHK_THRIFTMODE})
            Hide(m_controls.Item(id));
    if (visible.dwQualityList) {
        ShowEnabled(m_controls.Item(IDC_CBO_PRINT_QUALITY));
        y += height(IDC_CBO_PRINT_QUALITY) + kComboGap;
    } else {
        Hide(m_controls.Item(IDC_CBO_PRINT_QUALITY));
    }
    if (visible.dwOptimizeFor) {
        y += 10.0f;
        place(IDC_OPTIMIZE_FOR_FEATURES, true);
        place(IDC_RB_DRAWING_TEXT, true);
        y += height(IDC_RB_DRAWING_TEXT) + kGap;
        place(IDC_RB_IMAGES, true);
        y += height(IDC_RB_DRAWING_TEXT) + kGap;
    } else {
        for (int id : {IDC_OPTIMIZE_FOR_FEATURES, IDC_RB_DRAWING_TEXT, IDC_RB_IMAGES}) Hide(m_controls.Item(id));
    }
    const float boxStep = height(IDC_CHK_THRIFTMODE) + kGap;
    if (place(IDC_CHK_THRIFTMODE, visible.dwThriftmode != 0)) y += boxStep;
    if (place(IDC_CHK_GLOSS, visible.dwGloss != 0)) y += boxStep;
    if (place(IDC_CHK_MAX_DETAILS, visible.dwMaximumDetail != 0)) y += boxStep;
    m_state.bResolutionShown = BSetResolutionTexts(pContext);
    if (m_state.bResolutionShown) y += height(IDC_STA_RENDER_DPI) + kGap;
    if (place(IDC_IMAGE_ENHANCEMENT, visible.dwPhotoFeatures != 0)) y += height(IDC_IMAGE_ENHANCEMENT) + kGap;
    place(IDC_CHK_QUIET_PRINTING, visible.dwQuietPrinting != 0);
}

BOOL CZQQualityGroup::BSetResolutionTexts(PageContext* pContext) {
    if (!FeatureItem(m_owner.CUIParam(), L"PQDPI")) return FALSE;
    const struct {
        INT id;
        PCWSTR english;
        int label;
        int value;
    } rows[] = {{3991, L"Black render dpi", IDC_STA_RENDER_DPI, IDC_STA_RENDER},
                {3992, L"Color input dpi", IDC_COLOR_INPUT_DPI, IDC_COLOR_INPUT},
                {3993, L"Color output", IDC_COLOR_OUTPUT, IDC_COLOR_OUTPUT_DPI}};
    for (int i = 0; i < 3; ++i) {
        m_owner.BSetWindowTextRes(rows[i].id, m_controls.Item(rows[i].label), rows[i].english);
        // A string id that names no text leaves the value empty.
        WCHAR value[CZQCommon::kResStringChars] = {};
        if (pContext && pContext->pRules) m_owner.BLoadResString(static_cast<INT>(pContext->pRules->DWResourceId(i)), value);
        if (HWND control = m_controls.Item(rows[i].value)) SetWindowTextW(control, value);
    }
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// The group's settings kept for the rules
// ---------------------------------------------------------------------------------------------
void CZQQualityGroup::VReadQualityCheckBoxes(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    auto on = [&](int id) { return m_controls.BChecked(id) ? 1u : 0u; };
    const int boxes[] = {IDC_CHK_THRIFTMODE, IDC_CHK_GLOSS, IDC_CHECK_BORDERLESS_PHOTO, IDC_CHECK_BORDERLESS_AUTOFIT,
                         IDC_CHK_MAX_DETAILS};
    for (int i = 0; i < 5; ++i) logic.m_adwQualityBoxes[i] = on(boxes[i]);
    // The images state: the drawings radio unchecked.
    logic.m_adwQualityBoxes[5] = on(IDC_RB_DRAWING_TEXT) ? 0 : 1;
}

BOOL CZQQualityGroup::BStoreMediaKeyword(HWND, PageContext* pContext) {
    if (!pContext || !pContext->pRules) return FALSE;
    return StoreListKeyword(m_owner.CUIParam(), m_controls.Item(IDC_CBO_MEDIA_TYPE_IS), zqkw::kMediaType,
                            pContext->pRules->Parser().m_szMediaTypeValue);
}

BOOL CZQQualityGroup::BStoreQualityKeyword(HWND, PageContext* pContext) {
    if (!pContext || !pContext->pRules) return FALSE;
    return StoreListKeyword(m_owner.CUIParam(), m_controls.Item(IDC_CBO_PRINT_QUALITY), zqkw::kPrintQualityGroup,
                            pContext->pRules->Parser().m_szQualityGroupValue);
}

void CZQQualityGroup::VApplyGrayScaleQuality(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    const PCWSTR feature = PostScript(pContext) ? zqkw::kJCLZQPrintInGrayScale : zqkw::kZQPrintInGrayScale;
    // Black ink only prints grey at its best quality.
    if (logic.m_bGrayscale && OptionIs(m_owner.CUIParam(), feature, L"BlackOnly") == 1) logic.VSelectHighQuality(feature);
}

// ---------------------------------------------------------------------------------------------
// The quality chosen and what it allows
// ---------------------------------------------------------------------------------------------
void CZQQualityGroup::VStoreQualityIndex(PageContext* pContext) {
    ZQUIDevmode* work = WorkOf(pContext);
    HWND quality = m_controls.Item(IDC_CBO_PRINT_QUALITY);
    const int entry = static_cast<int>(SendMessageW(quality, CB_GETCURSEL, 0, 0));
    const int option = CZQPaperSlots::IOptionIndexFromComboItem(ZQPaperItemsOf(m_owner.CUIParam(), pContext),
                                                                zqkw::kPrintQualityGroup, 0, quality, entry);
    // A list without a choice leaves the stored quality as it was.
    if (work && entry >= 0 && option >= 0) work->dwPrintQualityGroupIndex = static_cast<uint32_t>(option);
}

void CZQQualityGroup::VApplyQualityGroupRule(bool bDiscMedium) {
    const POEMCUIPPARAM param = m_owner.CUIParam();
    WCHAR group[256];
    if (!ReadOption(param, zqkw::kPrintQualityGroup, group)) return;
    // The draft groups print no photo fix.
    if (ZQEqualNoCase(group, L"PQGroup_3") || ZQEqualNoCase(group, L"PQGroup_4")) {
        for (int id : {IDC_CBO_PHOTOFIX, IDC_STA_PHOTOFIX}) EnableWindow(m_controls.Item(id), FALSE);
        CZQCommon::DWSelectOptionByIndex(param, zqkw::kZQPhotoFix, 0, OEMCUIP_DOCPROP);
        SendMessageW(m_controls.Item(IDC_CBO_PHOTOFIX), CB_SETCURSEL, 0, 0);
        return;
    }
    if (bDiscMedium) return;
    for (int id : {IDC_RB_PRINT_DOC_ON, IDC_CBO_PHOTOFIX, IDC_STA_PHOTOFIX, IDC_CBO_PAGES_PER_SHEET})
        EnableWindow(m_controls.Item(id), TRUE);
    // The configuration manager's lock of two-sided printing stays.
    if (!m_state.bDuplexLocked) EnableWindow(m_controls.Item(IDC_CBO_TWO_SIDED_PRINTING), TRUE);
    if (POPTITEM poster = FeatureItem(param, zqkw::kZQPosterPrintingOptionSUI)) poster->Flags &= ~OPTIF_DISABLED;
}

void CZQQualityGroup::VApplyBlackOnlyRule(PageContext* pContext) {
    if (!BlackOnlyGrayscale(pContext, m_owner.CUIParam())) return;
    HWND box = m_controls.Item(IDC_CHECK_BORDERLESS_PHOTO);
    SetCheck(box, false);
    EnableWindow(box, FALSE);
}
