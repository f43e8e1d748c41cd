// The Output page's finishing rules: every control set from the features (refresh mode 0), which
// rows the output accessory and the punch unit allow, the finishing group closed up, the choices
// that exclude one another, the delivery the output bin fixes, the indices the other pages read,
// and the helper file's macros between stapling, the delivery and the media types.
#include "common/zqkeywords.h"
#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"
#include "pages/zqpageasks.h"
#include "pages/output/zqoutputpage.h"
#include "pages/parts/zqpaperslots.h"
#include "pages/zqpageitems.h"
#include "res/zqoutputids.h"
#include "settings/zqdriverdata.h"
#include "common/zqstorenames.h"

#include <cwchar>

using namespace zqpage;

namespace {

constexpr PCWSTR kImageShiftSettings = L"ZQImageShiftFalxen";
constexpr PCWSTR kImageShift = L"ZQImageShift";

// The multi-function finisher folds.
constexpr int kFoldingFinisher = 10;
// The small stapler's bin is the stapler's own: the page shows no bin of its own.
constexpr int kStaplerOwnBin = 8;

bool PunchUnitInstalled(int iType) { return iType >= 1 && iType <= 3; }

// A finishing row: its label and its list shown (and enabled), or hidden and disabled.
void ShowRow(CZQPageControls& controls, int iLabel, int iList, BOOL bShow) {
    controls.VShow(iLabel, bShow);
    controls.VShow(iList, bShow);
}

int OptionCount(POPTITEM pItem) { return pItem ? CZQCommon::IGetOptionCount(pItem) : 0; }

// The page kinds whose media type the delivery's macro sees with page exceptions on, in this
// order; covers only while they are in use.
constexpr int kExceptionKinds[] = {kKindFirstPage, kKindOtherPages, kKindLastPage, kKindBackCover, kKindFrontCover,
                                   kKindBackCoverFeeder, kKindFrontCoverFeeder};

}  // namespace

PCWSTR CZQOutputTab::PszStapleFeature(const PageContext* pContext) const {
    return PostScript(pContext) ? zqkw::kStapleLocation : zqkw::kStapling;
}

void CZQOutputTab::VShowFeature(PageContext* pContext, PCWSTR pszFeature, int iCtrlId, BOOL bCheckBox) {
    pContext->pLogic->IBindFeatureControl(0, pszFeature, m_controls.Item(iCtrlId), nullptr, OEMCUIP_DOCPROP,
                                          CZQUILogic::kBindShow, bCheckBox, 0, nullptr);
}

void CZQOutputTab::VClearConflictingSelection(PCWSTR pszFeature) {
    POPTITEM item = FeatureItem(m_pCUIParam, pszFeature);
    if (item && (OptionFlags(item, item->Sel) & OPTPF_OVERLAY_WARNING_ICON))
        CZQCommon::DWSelectOptionByIndex(m_pCUIParam, pszFeature, 0, OEMCUIP_DOCPROP);
}

// ---------------------------------------------------------------------------------------------
// Every control from the settings
// ---------------------------------------------------------------------------------------------
void CZQOutputTab::VSetAllControls(PageContext* pContext) {
    CZQUILogic* logic = pContext ? pContext->pLogic : nullptr;
    // Without the core driver's items there is nothing to show; a page without its window takes
    // the settings when it starts.
    if (!logic || !logic->Param() || !m_pCUIParam || !m_controls.Page()) return;
    const POEMCUIPPARAM param = m_pCUIParam;
    auto fillFree = [&](PCWSTR feature, int id, BOOL checkBox) {
        return Bound(logic->IBindFeatureControl(0, feature, m_controls.Item(id), nullptr, OEMCUIP_DOCPROP,
                                                CZQUILogic::kBindFillFree, checkBox, 0, nullptr));
    };

    // The bin.
    const bool bin = fillFree(zqkw::kOutputBin, IDC_CBO_BIN, FALSE);
    for (int id : {IDC_GB_OUTPUT_BIN_OPTIONS, IDC_STA_OUTPUT_BIN, IDC_CBO_BIN}) m_controls.VShow(id, bin);
    if (bin) VShowFeature(pContext, zqkw::kOutputBin, IDC_CBO_BIN);

    // The image shift and its settings.
    m_controls.VShow(IDC_BTN_IMAGE_SHIFT, fillFree(kImageShiftSettings, IDC_BTN_IMAGE_SHIFT, TRUE));
    if (fillFree(kImageShift, IDC_CHK_IMAGE_SHIFT, TRUE)) VShowFeature(pContext, kImageShift, IDC_CHK_IMAGE_SHIFT, TRUE);
    else m_controls.VSetCheck(IDC_CHK_IMAGE_SHIFT, FALSE);

    // Stapling, punching, folding.
    const PCWSTR staple = PszStapleFeature(pContext);
    const bool stapling = fillFree(staple, IDC_CBO_STAPLE, FALSE);
    if (stapling && logic->IGetOutputAccessoryCode() == kStaplerOwnBin)
        for (int id : {IDC_GB_OUTPUT_BIN_OPTIONS, IDC_CBO_BIN, IDC_STA_OUTPUT_BIN}) ShowWindow(m_controls.Item(id), SW_HIDE);
    ShowRow(m_controls, IDC_STA_STAPLE_STATIC, IDC_CBO_STAPLE, stapling);
    if (stapling) VShowFeature(pContext, staple, IDC_CBO_STAPLE);
    const struct {
        PCWSTR feature;
        int label, list;
    } rows[] = {{zqkw::kPunching, IDC_STA_PUNCH_STATIC, IDC_CBO_PUNCH},
                {zqkw::kFolding, IDC_STA_FOLDSTATIC_STATIC, IDC_CBO_FOLDSTITCH}};
    for (const auto& row : rows) {
        const bool shown = fillFree(row.feature, row.list, FALSE);
        ShowRow(m_controls, row.label, row.list, shown);
        if (shown) VShowFeature(pContext, row.feature, row.list);
    }

    // The delivery, as the bin allows it.
    const bool delivery = FeatureItem(param, zqkw::kFaceControl) != nullptr;
    for (int id : {IDC_RB_FACEDOWN, IDC_RB_FACEUP}) {
        if (delivery) Show(m_controls.Item(id));
        else Hide(m_controls.Item(id));
    }
    if (delivery) VSetFaceControlFromBin(pContext);
    m_controls.VShow(IDC_PREVIEW_DIMENSIONS, logic->BIsLargeFormat());

    VRecordFinishingIndices(pContext);
    VLayoutFinishingGroup(pContext);
    VApplyFinishingExclusions(pContext);
    // A paper that must be scaled down from a larger one makes no poster.
    if (logic->BNeedsScaleFromLargePaper(pContext->pCaps)) logic->VClearPosterFlag();
    CZQLocalPtr<WCHAR> exist;
    if (CZQDriverData::BGetPrinterData(param->hPrinter, zqsettings::kDMCExist, exist.Put())) VApplyBinLock();
}

// ---------------------------------------------------------------------------------------------
// What the accessory allows
// ---------------------------------------------------------------------------------------------
void CZQOutputTab::VShowPunchAndFold(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    const POEMCUIPPARAM param = m_pCUIParam;
    // A row whose feature the driver lacks is left as it is; a punch unit shows its row, a folding
    // finisher keeps its row as the exclusions left it.
    auto offer = [&](PCWSTR feature, int label, int list, bool installed, bool show) {
        if (!FeatureItem(param, feature)) return;
        if (installed && show) {
            ShowRow(m_controls, label, list, TRUE);
        }
        const bool offered = installed && Bound(logic.IBindFeatureControl(0, feature, m_controls.Item(list), nullptr,
                                                                          OEMCUIP_DOCPROP, CZQUILogic::kBindFillFree,
                                                                          FALSE, 0, nullptr));
        if (offered) {
            VShowFeature(pContext, feature, list);
            return;
        }
        ShowRow(m_controls, label, list, FALSE);
    };
    offer(zqkw::kPunching, IDC_STA_PUNCH_STATIC, IDC_CBO_PUNCH, PunchUnitInstalled(logic.IGetPunchUnitType()), true);
    offer(zqkw::kFolding, IDC_STA_FOLDSTATIC_STATIC, IDC_CBO_FOLDSTITCH,
          logic.IGetOutputAccessoryCode() == kFoldingFinisher, false);
}

void CZQOutputTab::VShowStapling(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    const PCWSTR staple = PszStapleFeature(pContext);
    if (!FeatureItem(m_pCUIParam, staple)) {
        ShowRow(m_controls, IDC_STA_STAPLE_STATIC, IDC_CBO_STAPLE, FALSE);
        return;
    }
    if (StaplingAccessory(logic.IGetOutputAccessoryCode())) {
        m_controls.VShow(IDC_CBO_STAPLE, TRUE);
        logic.IBindFeatureControl(0, staple, m_controls.Item(IDC_CBO_STAPLE), nullptr, OEMCUIP_DOCPROP,
                                  CZQUILogic::kBindFillFree, FALSE, 0, nullptr);
        VShowFeature(pContext, staple, IDC_CBO_STAPLE);
        return;
    }
    // Without a stapler nothing is stapled.
    ShowRow(m_controls, IDC_STA_STAPLE_STATIC, IDC_CBO_STAPLE, FALSE);
    CZQCommon::DWSelectOptionByIndex(m_pCUIParam, staple, 0, OEMCUIP_DOCPROP);
}

// ---------------------------------------------------------------------------------------------
// The finishing group closed up
// ---------------------------------------------------------------------------------------------
void CZQOutputTab::VLayoutFinishingGroup(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    const POEMCUIPPARAM param = m_pCUIParam;
    const int accessory = logic.IGetOutputAccessoryCode();
    const bool staple = FeatureItem(param, PszStapleFeature(pContext)) && StaplingAccessory(accessory);
    const bool punch = PunchUnitInstalled(logic.IGetPunchUnitType());
    const bool fold = FeatureItem(param, zqkw::kFolding) && accessory == kFoldingFinisher;
    const bool shift = FeatureItem(param, kImageShift) != nullptr;
    const bool settings = FeatureItem(param, kImageShiftSettings) != nullptr;
    if (!staple && !punch && !fold && !shift && !settings) {
        for (int id : {IDC_GB_OUTPUT_STATIC, IDC_STA_STAPLE_STATIC, IDC_CBO_STAPLE, IDC_STA_PUNCH_STATIC, IDC_CBO_PUNCH,
                       IDC_STA_FOLDSTATIC_STATIC, IDC_CBO_FOLDSTITCH, IDC_CHK_IMAGE_SHIFT, IDC_BTN_IMAGE_SHIFT})
            m_controls.VShow(id, FALSE);
        return;
    }
    m_controls.VShow(IDC_GB_OUTPUT_STATIC, TRUE);
    auto top = [&](int id) {
        const CZQPageControls::ControlRect* r = m_controls.Recorded(id);
        return r ? static_cast<float>(r->rc.top) : 0.0f;
    };
    auto height = [&](int id) {
        const CZQPageControls::ControlRect* r = m_controls.Recorded(id);
        return r ? static_cast<float>(r->cy) : 0.0f;
    };
    // A row goes to the running place, keeping its own left edge and size.
    auto place = [&](int id, float y) {
        m_controls.VShow(id, TRUE);
        if (const CZQPageControls::ControlRect* r = m_controls.Recorded(id))
            BPlaceWindow(m_controls.Item(id), &r->rc, r->cx, r->cy, y);
    };

    float y = top(IDC_STA_STAPLE_STATIC);
    if (staple) {
        place(IDC_STA_STAPLE_STATIC, top(IDC_STA_STAPLE_STATIC));
        place(IDC_CBO_STAPLE, top(IDC_CBO_STAPLE));
        y = top(IDC_STA_PUNCH_STATIC);
    } else {
        ShowRow(m_controls, IDC_STA_STAPLE_STATIC, IDC_CBO_STAPLE, FALSE);
    }
    if (punch) {
        place(IDC_STA_PUNCH_STATIC, y);
        y += height(IDC_STA_PUNCH_STATIC) + 8;
        place(IDC_CBO_PUNCH, y);
        y = staple ? top(IDC_STA_FOLDSTATIC_STATIC) : top(IDC_STA_PUNCH_STATIC);
    } else {
        ShowRow(m_controls, IDC_STA_PUNCH_STATIC, IDC_CBO_PUNCH, FALSE);
    }
    if (fold) {
        place(IDC_STA_FOLDSTATIC_STATIC, y);
        y += height(IDC_STA_FOLDSTATIC_STATIC) + 4;
        place(IDC_CBO_FOLDSTITCH, y);
        y += height(IDC_CBO_FOLDSTITCH) + 4;
    } else {
        ShowRow(m_controls, IDC_STA_FOLDSTATIC_STATIC, IDC_CBO_FOLDSTITCH, FALSE);
    }
    if (shift) {
        place(IDC_CHK_IMAGE_SHIFT, y);
        y += height(IDC_CHK_IMAGE_SHIFT) + 4;
    } else {
        m_controls.VShow(IDC_CHK_IMAGE_SHIFT, FALSE);
    }
    if (settings) place(IDC_BTN_IMAGE_SHIFT, y);
    else m_controls.VShow(IDC_BTN_IMAGE_SHIFT, FALSE);
}

// ---------------------------------------------------------------------------------------------
// Choices that exclude one another
// ---------------------------------------------------------------------------------------------
void CZQOutputTab::VApplyFinishingExclusions(PageContext* pContext) {
    const POEMCUIPPARAM param = m_pCUIParam;
    auto enable = [&](std::initializer_list<int> ids, BOOL bEnable) {
        for (int id : ids) EnableWindow(m_controls.Item(id), bEnable);
    };
    // Staples and punched holes leave no sheet to fold; each shows the other's row again.
    bool fenced = false;
    const struct {
        PCWSTR feature;
        int label, list;
        void (CZQOutputTab::*show)(PageContext*);
    } rows[] = {{PszStapleFeature(pContext), IDC_STA_STAPLE_STATIC, IDC_CBO_STAPLE, &CZQOutputTab::VShowPunchAndFold},
                {zqkw::kPunching, IDC_STA_PUNCH_STATIC, IDC_CBO_PUNCH, &CZQOutputTab::VShowStapling}};
    for (const auto& row : rows) {
        POPTITEM item = FeatureItem(param, row.feature);
        if (!item) continue;
        if (OptionCount(item) == 0) {
            ShowRow(m_controls, row.label, row.list, FALSE);
            continue;
        }
        if (item->Sel > 0) {
            enable({IDC_CBO_FOLDSTITCH, IDC_STA_FOLDSTATIC_STATIC}, FALSE);
            fenced = true;
        }
        (this->*row.show)(pContext);
    }
    // A folded sheet is neither stapled nor punched.
    POPTITEM fold = FeatureItem(param, zqkw::kFolding);
    if (fold) {
        if (OptionCount(fold) == 0) {
            ShowRow(m_controls, IDC_STA_FOLDSTATIC_STATIC, IDC_CBO_FOLDSTITCH, FALSE);
        } else if (fold->Sel > 0) {
            enable({IDC_CBO_STAPLE, IDC_STA_STAPLE_STATIC, IDC_STA_PUNCH_STATIC, IDC_CBO_PUNCH}, FALSE);
        }
    }
    if (!fenced && fold) enable({IDC_CBO_FOLDSTITCH, IDC_STA_FOLDSTATIC_STATIC}, TRUE);
}

// ---------------------------------------------------------------------------------------------
// The delivery
// ---------------------------------------------------------------------------------------------
void CZQOutputTab::VSetFaceControlFromBin(PageContext* pContext) {
    const POEMCUIPPARAM param = m_pCUIParam;
    WCHAR bin[256];
    if (!ReadOption(param, zqkw::kOutputBin, bin)) return;
    HWND radios[2] = {m_controls.Item(IDC_RB_FACEDOWN), m_controls.Item(IDC_RB_FACEUP)};
    if (!wcschr(bin, L'_')) {
        WCHAR delivery[256];
        if (ReadOption(param, zqkw::kFaceControl, delivery)) VSelectFaceControl(pContext, delivery);
        for (HWND radio : radios) EnableWindow(radio, TRUE);
        return;
    }
    // A bin named "<bin>_FaceUp" delivers only one way.
    PWSTR* parts = nullptr;
    int count = 0;
    if (CZQCommon::ISplitAtUnderscore(param, bin, &parts, &count) == ZQOPT_OK && count > 1) {
        VSelectFaceControl(pContext, parts[1]);
        for (HWND radio : radios) EnableWindow(radio, FALSE);
    }
    CZQCommon::VFreeStringList(parts, count);
}

void CZQOutputTab::VSelectFaceControl(PageContext*, PCWSTR pszKeyword) {
    if (!pszKeyword) return;
    const bool down = ZQEqualNoCase(pszKeyword, L"FaceDown");
    if (!down && !ZQEqualNoCase(pszKeyword, L"FaceUp")) return;
    m_controls.VSetCheck(IDC_RB_FACEDOWN, down);
    m_controls.VSetCheck(IDC_RB_FACEUP, !down);
    CZQCommon::DWSelectOptionByIndex(m_pCUIParam, zqkw::kFaceControl, down ? 0 : 1, OEMCUIP_DOCPROP);
}

void CZQOutputTab::VRecordFinishingIndices(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    const struct {
        PCWSTR feature;
        int list;
        bool always;
    } rows[] = {{zqkw::kOutputBin, IDC_CBO_BIN, true},
                {PszStapleFeature(pContext), IDC_CBO_STAPLE, false},
                {zqkw::kPunching, IDC_CBO_PUNCH, false},
                {zqkw::kFolding, IDC_CBO_FOLDSTITCH, false}};
    for (int i = 0; i < 4; ++i) {
        POPTITEM item = FeatureItem(m_pCUIParam, rows[i].feature);
        const int entry = m_controls.ISelection(rows[i].list);
        if (!item || (!rows[i].always && entry == CB_ERR)) continue;
        logic.m_aiFinishing[i] = CZQCommon::IComboItemToOptionIndex(entry, m_controls.Item(rows[i].list), item);
    }
}

// ---------------------------------------------------------------------------------------------
// The helper file's macros
// ---------------------------------------------------------------------------------------------
void CZQOutputTab::VRunStaplingToFaceControl(PageContext* pContext) {
    WCHAR option[256];
    if (!RulesLoaded(pContext) || !ReadOption(m_pCUIParam, PszStapleFeature(pContext), option)) return;
    if (lstrcmpW(option, L"None") != 0)
        pContext->pRules->BRunMacro(L"macro_Stapling_to_FaceControl", option, m_pCUIParam);
}

void CZQOutputTab::VRunFaceControlToStapling(PageContext* pContext) {
    WCHAR option[256];
    if (!RulesLoaded(pContext) || !ReadOption(m_pCUIParam, zqkw::kFaceControl, option)) return;
    pContext->pRules->BRunMacro(L"macro_FaceControl_to_Stapling", option, m_pCUIParam);
    VShowFeature(pContext, PszStapleFeature(pContext), IDC_CBO_STAPLE);
}

void CZQOutputTab::VRunFaceControlMacroForMedia(PageContext* pContext, uint32_t* pdwMediaId) {
    PageContext* paperContext = nullptr;
    auto* paper = ZQSheetPage<IZQPaperQualityPage>(pContext, kPagePaperQuality, &paperContext);
    if (!pdwMediaId || !RulesLoaded(pContext) || !paper || !paperContext) return;
    const POEMCUIPPARAM param = m_pCUIParam;
    const int index = paper->IMediaTypeIndex(paperContext, *pdwMediaId);
    CZQCommon::DWSelectOptionByIndex(param, zqkw::kMediaType, index, OEMCUIP_DOCPROP);
    WCHAR delivery[256];
    if (ReadOption(param, zqkw::kFaceControl, delivery))
        pContext->pRules->BRunMacro(L"macro_FaceControl", delivery, param);
    // The delivery may move the media type: the page kind takes the new one.
    POPTITEM media = FeatureItem(param, zqkw::kMediaType);
    if (media && media->Sel != index) *pdwMediaId = paper->DWMediaTypeFromIndex(paperContext, media->Sel);
}

void CZQOutputTab::VRunFaceControlMediaMacros(PageContext* pContext) {
    const POEMCUIPPARAM param = m_pCUIParam;
    ZQUIDevmode* work = WorkOf(pContext);
    if (!work || !FeatureItem(param, zqkw::kFaceControl)) return;
    if (!work->dwDiffPaper) {
        VRunFaceControlMacroForMedia(pContext, CZQPaperSlots::Fields(*work, kKindOtherPages).media);
        return;
    }
    CZQUILogic& logic = *pContext->pLogic;
    for (int kind : kExceptionKinds) {
        const DWORD* inUse = CZQPaperSlots::CoverInUse(logic, kind);
        if (!inUse || *inUse) VRunFaceControlMacroForMedia(pContext, CZQPaperSlots::Fields(*work, kind).media);
    }
    // The driver's media type is the other pages' again.
    PageContext* paperContext = nullptr;
    if (auto* paper = ZQSheetPage<IZQPaperQualityPage>(pContext, kPagePaperQuality, &paperContext); paper && paperContext)
        CZQCommon::DWSelectPubOption(param, DMPUB_MEDIATYPE, 0,
                                     paper->IMediaTypeIndex(paperContext, work->dwOtherPagesMedia));
}
