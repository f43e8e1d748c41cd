// The rule engine: macros of the helper file run on the core driver's option items.
#include "xmlrules/zqxmluirules.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "common/zqkeywords.h"
#include "common/zqstrings.h"
#include "common/zqtrace.h"
#include "formats/zquidevmode.h"
#include "xmlrules/zqxmlutil.h"

namespace {

constexpr size_t kNameBuffer = CZQXmlUiRules::kMaxNameChars + 1;

// "Feature.Option": split at the first point; a text without a point names a feature with an empty
// option. False when a side is longer than the engine takes (such a text names nothing).
struct FeatureOption {
    WCHAR szFeature[kNameBuffer];
    WCHAR szOption[kNameBuffer];
};

bool BSplitFeatureOption(LPCWSTR pszText, FeatureOption& out) {
    out.szFeature[0] = out.szOption[0] = L'\0';
    LPCWSTR pszPoint = wcschr(pszText, L'.');
    const size_t cchFeature = pszPoint ? static_cast<size_t>(pszPoint - pszText) : wcslen(pszText);
    if (cchFeature > CZQXmlUiRules::kMaxNameChars) return false;
    ZQCopyTextN(out.szFeature, kNameBuffer, pszText, cchFeature);
    if (!pszPoint) return true;
    return ZQCopyText(out.szOption, kNameBuffer, pszPoint + 1) == S_OK;
}

bool BIs(LPCWSTR pszName, LPCWSTR pszElement) { return ZQEqualNoCase(pszName, pszElement); }

// Tells the core driver of an item as the macros do: always as a document-properties change, with
// the option's conflict mark (when given) lifted for the call.
void VTell(POEMCUIPPARAM pParam, POPTITEM pItem, DWORD dwSel, POPTPARAM pLiftedMark) {
    const bool marked = pLiftedMark && (pLiftedMark->Flags & OPTPF_OVERLAY_WARNING_ICON);
    if (marked) pLiftedMark->Flags &= ~OPTPF_OVERLAY_WARNING_ICON;
    CZQCommon::BReportItem(pParam, pItem, dwSel, OEMCUIP_DOCPROP);
    if (marked) pLiftedMark->Flags |= OPTPF_OVERLAY_WARNING_ICON;
}

// An item's selection as a number; an edit item's selection is its text, which is none.
DWORD DWItemSelection(const OPTITEM* pItem) {
    return pItem->pOptType && pItem->pOptType->Type == TVOT_EDITBOX ? 0 : static_cast<DWORD>(pItem->Sel);
}

LONG LDecimal(LPCWSTR pszText) { return wcstol(pszText, nullptr, 10); }

// The feature's current option; null when it has none.
PWSTR PszCurrentOption(POEMCUIPPARAM pParam, LPCWSTR pszFeature) {
    PWSTR pszOption = nullptr;
    if (CZQCommon::DWGetFeatureOption(pParam, pszFeature, &pszOption) != ZQOPT_OK || !pszOption) return nullptr;
    if (!pszOption[0]) {
        LocalFree(pszOption);
        return nullptr;
    }
    return pszOption;
}

}  // namespace

CZQXmlUiRules::CZQXmlUiRules() = default;
CZQXmlUiRules::~CZQXmlUiRules() = default;

CZQXmlUiRules::CZQReportScope::~CZQReportScope() {
    if (--m_rules.m_wReportScopes == 0) m_rules.VReportHeld();
}

void CZQXmlUiRules::VReport(POEMCUIPPARAM pParam, POPTITEM pItem, DWORD dwSel, POPTPARAM pLiftedMark) {
    if (m_wReportScopes == 0 || m_parser.Budget().BTakeReport()) {
        VTell(pParam, pItem, dwSel, pLiftedMark);
        return;
    }
    // However the macros fan out, each item is told once more, at the end.
    for (const HeldReport& held : m_held)
        if (held.pItem == pItem && held.pParam == pParam) return;
    m_held.push_back({pParam, pItem});
}

void CZQXmlUiRules::VReportHeld() {
    std::vector<HeldReport> held;
    held.swap(m_held);
    for (const HeldReport& h : held) {
        const DWORD sel = DWItemSelection(h.pItem);
        VTell(h.pParam, h.pItem, sel, CZQCommon::PGetOptionParam(h.pItem, static_cast<LONG>(sel)));
    }
}

bool CZQXmlUiRules::BEnterRun() {
    if (m_wDepth >= kMaxMacroDepth || !m_parser.Budget().BTakeRun()) return false;
    ++m_wDepth;
    return true;
}

void CZQXmlUiRules::VLeaveRun() { --m_wDepth; }

// ---------------------------------------------------------------------------------------------
// Feature macros and named macros
// ---------------------------------------------------------------------------------------------
BOOL CZQXmlUiRules::BRunFeatureMacros(LPCWSTR pszFeature, LPCWSTR pszOption, POEMCUIPPARAM pParam) {
    ZQ_TRACE("CZQXmlUiRules::BRunFeatureMacros");
    CZQXmlParserCommon::CZQMacroAction action(m_parser.Budget());
    CZQReportScope reports(*this);
    if (!pszFeature || !pParam) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    if (!m_parser.BIsLoaded() || !m_parser.FeatureList()) return FALSE;
    CZQComPtr<IXMLDOMNode> feature;
    if (!m_parser.BFindEntry(m_parser.FeatureList(), pszFeature, feature.Put()) || !feature)
        return FALSE;
    CZQComPtr<IXMLDOMNodeList> names;
    if (zqxml::HrSelectNodes(feature.Get(), L"macro_name", names.Put()) != S_OK) return TRUE;
    LONG count = 0;
    if (FAILED(names->get_length(&count))) return TRUE;
    for (LONG i = 0; i < count; ++i) {
        CZQComPtr<IXMLDOMNode> name;
        CZQBstr text;
        if (names->get_item(i, name.Put()) != S_OK || !name || FAILED(name->get_text(text.Put())) ||
            !zqxml::CchText(text))
            break;
        BRunMacro(text.Get(), pszOption, pParam);
    }
    return TRUE;
}

BOOL CZQXmlUiRules::BRunMacro(LPCWSTR pszMacro, LPCWSTR, POEMCUIPPARAM pParam) {
    ZQ_TRACE("CZQXmlUiRules::BRunMacro");
    CZQXmlParserCommon::CZQMacroAction action(m_parser.Budget());
    CZQReportScope reports(*this);
    if (!pszMacro || !pParam) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    if (!m_parser.BIsLoaded() || !m_parser.MacroList()) return FALSE;
    if (!BEnterRun()) return FALSE;
    // A nested run leaves the pop-up flag of the macro that started it as it found it.
    const BOOL bOuterPopup = m_parser.BPopupFlag();
    const BOOL bRan = BRunMacroAt(pszMacro, pParam);
    m_parser.VSetPopupFlag(bOuterPopup);
    VLeaveRun();
    return bRan;
}

BOOL CZQXmlUiRules::BRunMacroAt(LPCWSTR pszMacro, POEMCUIPPARAM pParam) {
    CZQComPtr<IXMLDOMNode> macro;
    if (!m_parser.BFindEntry(m_parser.MacroList(), pszMacro, macro.Put()) || !macro) return FALSE;
    CZQComPtr<IXMLDOMNodeList> children;
    if (FAILED(macro->get_childNodes(children.Put())) || !children) return FALSE;

    m_parser.VSetPopupFlag(CZQXmlParserCommon::BIsPopupMacroName(pszMacro));
    VRunBody(macro.Get(), pParam, 0);
    if (m_parser.BPopupFlag()) m_parser.VReadPopupElements(macro.Get(), pParam->hPrinter);
    VChainCalls(macro.Get(), pParam);
    return TRUE;
}

void CZQXmlUiRules::VRunMediaTypeMacros(POEMCUIPPARAM pParam) {
    ZQ_TRACE("CZQXmlUiRules::VRunMediaTypeMacros");
    if (!m_parser.BIsLoaded()) return;
    CZQLocalPtr<WCHAR> option(PszCurrentOption(pParam, zqkw::kMediaType));
    if (option) BRunFeatureMacros(zqkw::kMediaType, option.Get(), pParam);
}

// Runs the macro when the feature it belongs to has a current option.
void CZQXmlUiRules::VRunIfFeatureSet(LPCWSTR pszFeature, LPCWSTR pszMacro, POEMCUIPPARAM pParam) {
    CZQLocalPtr<WCHAR> option(PszCurrentOption(pParam, pszFeature));
    if (option) BRunMacro(pszMacro, option.Get(), pParam);
}

// The "call" children of a macro chain to other features' macros once its body has run.
void CZQXmlUiRules::VChainCalls(IXMLDOMNode* pMacro, POEMCUIPPARAM pParam) {
    zqxml::CZQElementWalk walk(pMacro);
    CZQComPtr<IXMLDOMNode> child;
    while (walk.BNext(child)) {
        CZQBstr name, text;
        if (zqxml::HrNameAndText(child.Get(), name, text) != S_OK) return;
        if (!BIs(name.Get(), L"call")) continue;
        if (!zqxml::CchText(text) || !m_parser.Budget().BTakeCall()) return;
        if (ZQStartsWithNoCase(text.Get(), L"macro_HideMaxDpi")) {
            BRunMacro(text.Get(), nullptr, pParam);
            continue;
        }
        // "macro_<Feature>_...": the feature between the first and the second underscore.
        LPCWSTR pszFirst = wcschr(text.Get(), L'_');
        if (!pszFirst) continue;
        LPCWSTR pszSecond = wcschr(pszFirst + 1, L'_');
        const size_t cchFeature =
            pszSecond ? static_cast<size_t>(pszSecond - pszFirst - 1) : wcslen(pszFirst + 1);
        if (cchFeature == 0 || cchFeature > kMaxNameChars) continue;
        WCHAR feature[kNameBuffer];
        ZQCopyTextN(feature, kNameBuffer, pszFirst + 1, cchFeature);
        CZQLocalPtr<WCHAR> option(PszCurrentOption(pParam, feature));
        if (option) BRunFeatureMacros(feature, option.Get(), pParam);
    }
}

// ---------------------------------------------------------------------------------------------
// Bodies
// ---------------------------------------------------------------------------------------------
void CZQXmlUiRules::VRunBody(IXMLDOMNode* pBody, POEMCUIPPARAM pParam, DWORD dwSwitchDepth) {
    DWORD dwResourceSlots = 0;
    zqxml::CZQElementWalk walk(pBody);
    CZQComPtr<IXMLDOMNode> child;
    CZQBstr name, text;
    while (walk.BNextWithText(child, name, text)) {
        LPCWSTR pszName = name.Get();
        if (BIs(pszName, L"call")) {
            if (!m_parser.Budget().BTakeCall()) return;
            VRunBuiltInCall(text.Get(), pParam);
        } else if (BIs(pszName, L"select_option") || BIs(pszName, L"enable_option") ||
                   BIs(pszName, L"disable_option") || BIs(pszName, L"hide_option")) {
            VApplyOptionElement(pszName, text.Get(), pParam);
        } else if (BIs(pszName, L"enable") || BIs(pszName, L"disable") || BIs(pszName, L"hide")) {
            VApplyItemElement(pszName, text.Get(), pParam);
        } else if (BIs(pszName, L"option_name")) {
            VApplyLimit(text.Get());
        } else if (BIs(pszName, L"resource_id")) {
            if (dwResourceSlots < ARRAYSIZE(m_adwResourceId))
                m_adwResourceId[dwResourceSlots++] = static_cast<DWORD>(LDecimal(text.Get()));
        } else if (BIs(pszName, L"switch")) {
            if (!BRunSwitch(child.Get(), pParam, dwSwitchDepth)) return;
        }
        // Anything else (names, evaluator mappings, pop-up elements, unknown elements): no effect.
    }
}

// False when the body ends here.
bool CZQXmlUiRules::BRunSwitch(IXMLDOMNode* pSwitch, POEMCUIPPARAM pParam, DWORD dwSwitchDepth) {
    // Switches nested beyond any sensible depth are passed over rather than followed.
    if (dwSwitchDepth >= kMaxSwitchDepth) return true;
    zqxml::CZQElementWalk walk(pSwitch);
    CZQComPtr<IXMLDOMNode> first;
    if (!walk.BNext(first)) return false;
    CZQBstr name, feature;
    if (zqxml::HrNameAndText(first.Get(), name, feature) != S_OK || !zqxml::CchText(name) ||
        !zqxml::CchText(feature))
        return false;

    // Without a current option only the default branch can apply.
    CZQLocalPtr<WCHAR> option(PszCurrentOption(pParam, feature.Get()));
    CZQComPtr<IXMLDOMNode> branch;
    if (option && !CZQXmlParserCommon::BSelectByName(pSwitch, L"case", option.Get(), branch.Put())) return true;
    if (!branch && !CZQXmlParserCommon::BSelectByName(pSwitch, L"case_default", nullptr, branch.Put())) return true;
    if (!branch) return false;

    VRunBody(branch.Get(), pParam, dwSwitchDepth + 1);
    if (m_parser.BPopupFlag()) m_parser.VReadPopupElements(branch.Get(), pParam->hPrinter);
    return true;
}

void CZQXmlUiRules::VRunBuiltInCall(LPCWSTR pszText, POEMCUIPPARAM pParam) {
    if (ZQStartsWithNoCase(pszText, L"macro_PrintQualityGroup_PQGroup")) {
        VRunIfFeatureSet(zqkw::kMediaType, pszText, pParam);
    } else if (ZQStartsWithNoCase(pszText, L"macro_ZQOptimizeFor")) {
        VRunIfFeatureSet(zqkw::kZQOptimizeFor, pszText, pParam);
    } else if (CZQXmlParserCommon::BIsPopupMacroName(pszText)) {
        m_parser.VSetPopupFlag(TRUE);
    } else if (ZQEqualNoCase(pszText, L"macro_FaceControl_to_PaperSize")) {
        if (!pParam->pOEMDM) {
            SetLastError(ERROR_INVALID_DATA);
            return;
        }
        uint32_t pdl = 0;
        std::memcpy(&pdl, static_cast<const BYTE*>(pParam->pOEMDM) + offsetof(ZQUIDevmode, dwPdl), sizeof pdl);
        VRunIfFeatureSet(pdl == zqdm::kPdlPostScript ? zqkw::kPageSize : zqkw::kPaperSize, pszText, pParam);
    } else if (ZQEqualNoCase(pszText, L"macro_FaceControl_to_MediaType")) {
        VRunIfFeatureSet(zqkw::kMediaType, pszText, pParam);
    } else if (ZQEqualNoCase(pszText, L"macro_InstalledPenSet_Premium") ||
               ZQEqualNoCase(pszText, L"macro_InstalledPenSet_PremiumHighGloss") ||
               ZQEqualNoCase(pszText, L"macro_InstalledPenSet_PremiumPlusPhoto")) {
        VRunIfFeatureSet(L"ZQInstalledPrintCartridges", pszText, pParam);
    }
    // Any other call chains once the body has run.
}

// select_option, enable_option, disable_option, hide_option: one option of a feature's item.
void CZQXmlUiRules::VApplyOptionElement(LPCWSTR pszElement, LPCWSTR pszText, POEMCUIPPARAM pParam) {
    FeatureOption named;
    if (!BSplitFeatureOption(pszText, named) || !named.szOption[0]) return;
    POPTITEM pItem = nullptr;
    if (CZQCommon::DWFindOptItem(pParam, named.szFeature, &pItem) != ZQOPT_OK || !pItem) return;
    const int index = CZQCommon::IGetOptionIndexByKeyword(pParam, named.szOption, named.szFeature, pItem);
    if (index < 0 || index >= CZQCommon::IGetOptionCount(pItem)) return;
    // A check box's states carry no flags of their own.
    POPTPARAM pOption = CZQCommon::PGetOptionParam(pItem, index);
    const DWORD dwIndex = static_cast<DWORD>(index);
    constexpr BYTE kHiddenOrDisabled = OPTPF_HIDE | OPTPF_DISABLED;

    if (BIs(pszElement, L"select_option")) {
        if (ZQEqualNoCase(named.szFeature, zqkw::kInputBin)) {
            m_iInputBinIndex = index;
        } else if (ZQEqualNoCase(named.szFeature, zqkw::kZQPhotoFix)) {
            m_iPhotoFixIndex = index;
            CZQCommon::DWSelectOptionByIndex(pParam, zqkw::kZQPhotoFix, index, OEMCUIP_DOCPROP);
        }
        if (pOption && (pOption->Flags & kHiddenOrDisabled)) {
            pOption->Flags &= static_cast<BYTE>(~kHiddenOrDisabled);
            pItem->Flags |= OPTIF_CHANGED;
            VReport(pParam, pItem, dwIndex);
        }
        pItem->Sel = index;
        pItem->Flags |= OPTIF_CHANGED;
        VReport(pParam, pItem, dwIndex, pOption);
    } else if (!pOption) {
        return;
    } else if (BIs(pszElement, L"enable_option")) {
        if (!(pOption->Flags & kHiddenOrDisabled)) return;
        pOption->Flags &= static_cast<BYTE>(~kHiddenOrDisabled);
        pItem->Flags |= OPTIF_CHANGED;
        VReport(pParam, pItem, dwIndex, pOption);
    } else {
        const BYTE mark = BIs(pszElement, L"disable_option") ? OPTPF_DISABLED : OPTPF_HIDE;
        if (pOption->Flags & mark) return;
        pOption->Flags |= mark;
        pItem->Flags |= OPTIF_CHANGED;
        VReport(pParam, pItem, dwIndex);
    }
}

// enable, disable, hide: a feature's whole item.
void CZQXmlUiRules::VApplyItemElement(LPCWSTR pszElement, LPCWSTR pszText, POEMCUIPPARAM pParam) {
    FeatureOption named;
    if (!BSplitFeatureOption(pszText, named)) return;
    POPTITEM pItem = nullptr;
    if (CZQCommon::DWFindOptItem(pParam, named.szFeature, &pItem) != ZQOPT_OK || !pItem) return;
    constexpr DWORD kHiddenOrDisabled = OPTIF_HIDE | OPTIF_DISABLED;
    if (BIs(pszElement, L"enable")) {
        if (!(pItem->Flags & kHiddenOrDisabled)) return;
        pItem->Flags &= ~kHiddenOrDisabled;
    } else if (BIs(pszElement, L"disable")) {
        if (pItem->Flags & kHiddenOrDisabled) return;
        pItem->Flags |= OPTIF_DISABLED;
    } else {
        if (pItem->Flags & OPTIF_HIDE) return;
        pItem->Flags |= OPTIF_HIDE;
    }
    pItem->Flags |= OPTIF_CHANGED;
    VReport(pParam, pItem, DWItemSelection(pItem));
}

// option_name: "<limit>.<number>".
void CZQXmlUiRules::VApplyLimit(LPCWSTR pszText) {
    FeatureOption named;
    if (!BSplitFeatureOption(pszText, named)) return;
    CZQLocalPtr<char> number;
    if (!CZQCommon::BWideToMultiByte(named.szOption, number.Put(), CP_ACP)) return;
    const LONG value = strtol(number.Get(), nullptr, 10);

    struct Limit {
        LPCWSTR name;
        LONG* field;
        LONG ZQCustomSizeLimits::*target;
    };
    const Limit limits[] = {
        {L"min_length", &m_alCustomLimits[0], &ZQCustomSizeLimits::lMinLength},
        {L"max_length", &m_alCustomLimits[1], &ZQCustomSizeLimits::lMaxLength},
        {L"min_width", &m_alCustomLimits[2], &ZQCustomSizeLimits::lMinWidth},
        {L"max_width", &m_alCustomLimits[3], &ZQCustomSizeLimits::lMaxWidth},
        {L"inputbin_min_width", &m_alInputBinLimits[0], nullptr},
        {L"inputbin_max_width", &m_alInputBinLimits[1], nullptr},
        {L"inputbin_min_length", &m_alInputBinLimits[2], nullptr},
        {L"inputbin_max_length", &m_alInputBinLimits[3], nullptr},
    };
    for (const Limit& limit : limits) {
        if (!ZQEqualNoCase(named.szFeature, limit.name)) continue;
        *limit.field = value;
        if (limit.target && m_pCustomTarget) m_pCustomTarget->*limit.target = value;
        return;
    }
    if (m_pCustomTarget) *m_pCustomTarget = ZQCustomSizeLimits{};
}

BOOL CZQXmlUiRules::BReadRollLimits(CZQLocalPtr<WCHAR> (&limits)[5]) const {
    const CZQXmlParserCommon& parser = Parser();
    if (!parser.BIsLoaded() || !parser.RollSheetList()) return FALSE;
    CZQComPtr<IXMLDOMNode> roll;
    if (parser.RollSheetList()->get_item(0, roll.Put()) != S_OK || !roll) return FALSE;
    PWSTR text[5] = {};
    CZQXmlParserCommon::BGetRollLimits(roll.Get(), &text[0], &text[1], &text[2], &text[3], &text[4]);
    for (int i = 0; i < 5; ++i) limits[i] = CZQLocalPtr<WCHAR>(text[i]);
    return TRUE;
}

void CZQXmlUiRules::VClampRollWidth(PWSTR pszWidth) const {
    CZQLocalPtr<WCHAR> limits[5];
    if (!pszWidth || !BReadRollLimits(limits) || !limits[1]) return;
    PCWSTR maxWidth = limits[1].Get();
    PWSTR end = nullptr;
    const double limit = wcstod(maxWidth, &end);
    if (end == maxWidth || !std::isfinite(limit) || limit <= 0) return;
    const size_t len = ZQTextLength(pszWidth, 256);
    if (len >= 256) pszWidth[255] = 0;
    const double width = wcstod(pszWidth, &end);
    if (end == pszWidth || !std::isfinite(width) || width <= limit) return;
    ZQFormatText(pszWidth, 256, L"%1.2lf", limit);
}
