// The Features page's two-sided and layout choices the reactions share.
#include "pages/features/zqlayoutchoices.h"

#include <cwchar>

#include "common/zqkeywords.h"
#include "featurelogic/zquilogic.h"
#include "pages/zqpageitems.h"

using namespace zqpage;

BOOL CZQLayoutChoices::BContains(PCWSTR pszText, PCWSTR pszPart) {
    return pszText && pszPart && pszPart[0] && wcsstr(pszText, pszPart) != nullptr;
}

bool CZQLayoutChoices::BOptionContains(PCWSTR pszFeature, PCWSTR pszPart) const {
    WCHAR option[256];
    return ReadOption(m_owner.CUIParam(), pszFeature, option) && BContains(option, pszPart);
}

bool CZQLayoutChoices::BTwoSidedPossible(CZQUILogic& logic) {
    return logic.BIsDuplexUnitInstalled(FALSE) || logic.BIsManualDuplexAvailable();
}

bool CZQLayoutChoices::BMediaTypeOffered(CZQUILogic& logic) const {
    return logic.m_bMediaTypeItem || PubItem(m_owner.CUIParam(), DMPUB_MEDIATYPE) != nullptr;
}

bool CZQLayoutChoices::BTwoSidedChosen() const {
    const LRESULT entry = m_windows.hTwoSided ? SendMessageW(m_windows.hTwoSided, CB_GETCURSEL, 0, 0) : CB_ERR;
    return entry == 1 || entry == 2;
}

bool CZQLayoutChoices::BDuplexConflicts() const {
    POPTITEM duplex = PubItem(m_owner.CUIParam(), DMPUB_DUPLEX);
    return duplex && ((OptionFlags(duplex, 1) | OptionFlags(duplex, 2)) & OPTPF_OVERLAY_WARNING_ICON);
}

void CZQLayoutChoices::VSetPreservedLayout(PCWSTR pszFeature, bool bPreserve) const {
    CZQCommon::DWSelectOptionByIndex(m_owner.CUIParam(), pszFeature, bPreserve ? 1 : 0, OEMCUIP_DOCPROP);
    SetCheck(m_windows.hPreserve, bPreserve);
    EnableWindow(m_windows.hPreserve, FALSE);
}

void CZQLayoutChoices::VRecordRigidMargins(CZQUILogic& logic) const {
    const POEMCUIPPARAM param = m_owner.CUIParam();
    POPTITEM minimize = FeatureItem(param, zqkw::kZQMinimizeMargins);
    if (!minimize || OptionIs(param, L"ZQRigidMediaMargins", L"TRUE") != 1) return;
    logic.VChooseMargin(1, minimize->Sel > 0 ? static_cast<DWORD>(minimize->Sel) : 0);
}

void CZQLayoutChoices::VShowOrientation() const {
    POPTITEM own = nullptr;
    if (!m_windows.hPortrait || !m_windows.hLandscape ||
        CZQCommon::DWFindOemOptItemByPubId(m_owner.CUIParam(), kOemPubOrientation, &own) != ZQOPT_OK || !own)
        return;
    SetCheck(m_windows.hPortrait, own->Sel != 1);
    SetCheck(m_windows.hLandscape, own->Sel == 1);
}
