// The constraint gate of the plug-in object: CommonUIProp builds the rule set and its three
// controllers; pages and dialogs attach to a controller when they open, ask for a check after a
// change of a constrained feature and detach when they close. All failures are quiet: without
// constraints every attach, detach and check answers FALSE.
#include "featurelogic/zqconstraintgate.h"

#include <cwchar>
#include <new>

#include "common/zqcommon.h"
#include "common/zqkeywords.h"
#include "common/zquibase.h"
#include "common/zqstrings.h"
#include "common/zqtrace.h"
#include "device/zqmediacodes.h"
#include "xmlrules/zqconstraints.h"
#include "xmlrules/zqxmlparser.h"
#include "common/zqmodule.h"
#include "featurelogic/zqbinding.h"

namespace {

// A media keyword from the media-code table has at most this many characters.
constexpr int kCchMediaName = 512;

}  // namespace

// The rule set's message box and tip windows read their texts through the binding's text helper,
// which outlives the gate.
CZQConstraintGate::~CZQConstraintGate() { delete m_pRuleSet; }

POEMCUIPPARAM CZQConstraintGate::PConstraintParam() const {
    return m_pLogic ? m_pLogic->PCurrentCallParam() : nullptr;
}

BOOL CZQConstraintGate::BLoadConstraints() {
    ZQ_TRACE("CZQConstraintGate::BLoadConstraints");
    POEMCUIPPARAM pParam = PConstraintParam();
    CZQLocalPtr<WCHAR> option;
    // Any option of "ZQConstraints" switches the constraints on; its keyword is not examined.
    if (!pParam || CZQCommon::DWGetFeatureOption(pParam, L"ZQConstraints", option.Put()) != ZQOPT_OK || !option ||
        !option[0]) {
        m_bOn = FALSE;
        return FALSE;
    }

    m_bOn = FALSE;
    delete m_pRuleSet;
    // The rule set reads its texts through this object's own text helper, never another's.
    m_pRuleSet = new (std::nothrow) CZQConstraintRuleSet(m_binding.pCommon);
    CZQXmlParserCommon* pParser = m_binding.XmlParser();
    if (!m_pRuleSet || !pParser || !pParser->BIsLoaded() || !m_pRuleSet->BLoad(pParser->Document())) {
        delete m_pRuleSet;
        m_pRuleSet = nullptr;
        return FALSE;
    }
    if (m_binding.pCommon) m_binding.pCommon->VLoadResourceModule(pParam->hPrinter);
    m_bOn = TRUE;
    BCreateConstraintControllers();
    return m_bOn;
}

BOOL CZQConstraintGate::BCreateConstraintControllers() {
    ZQ_TRACE("CZQConstraintGate::BCreateConstraintControllers");
    if (!m_pRuleSet || !m_bOn) return FALSE;
    const HINSTANCE hModule = zqmodule::Instance();
    POEMCUIPPARAM pParam = PConstraintParam();

    if (auto* margins = new (std::nothrow) CZQMarginsController()) {
        margins->BSetFeatureName(zqkw::kZQBorderless, hModule, hModule);
        margins->VSetLogic(m_pLogic);
        CZQLocalPtr<WCHAR> option;
        if (pParam && CZQCommon::DWGetFeatureOption(pParam, zqkw::kZQPrintWithMargins, option.Put()) == ZQOPT_OK &&
            option) {
            // The controller speaks "AutoOn"/"AutoOff", not the layout keywords of the feature:
            // it takes its own reading, so a stored layout is never replaced by the first one.
            WCHAR value[CZQConstraintController::kTextChars];
            margins->BReadCurrentOption(value, static_cast<int>(CZQConstraintController::kTextChars));
            margins->BSetValueText(value);
        }
        m_pRuleSet->BAddController(margins);
    }
    if (auto* color = new (std::nothrow) CZQColorOptionsController()) {
        color->BSetFeatureName(zqkw::kZQPrintInGrayScale, hModule, hModule);
        color->VSetLogic(m_pLogic);
        m_pRuleSet->BAddController(color);
    }
    if (auto* passes = new (std::nothrow) CZQMorePassesController()) {
        passes->BSetFeatureName(zqkw::kZQMorePasses, hModule, hModule);
        passes->VSetLogic(m_pLogic);
        CZQLocalPtr<WCHAR> option;
        if (pParam && CZQCommon::DWGetFeatureOption(pParam, zqkw::kZQMorePasses, option.Put()) == ZQOPT_OK && option)
            passes->BSetValueText(option.Get());
        m_pRuleSet->BAddController(passes);
    }

    return BCheckMediaAndQuality(GetForegroundWindow());
}

BOOL CZQConstraintGate::BAttachConstraintDialog(PCWSTR pszFeature, HWND hDlg, int iAnchorId) {
    ZQ_TRACE("CZQConstraintGate::BAttachConstraintDialog");
    if (m_pRuleSet) m_pRuleSet->VSetTextLoader(m_binding.pCommon);
    if (!m_bOn || !m_pRuleSet || !pszFeature) return FALSE;
    CZQConstraintController* controller = nullptr;
    if (!m_pRuleSet->BFindController(pszFeature, &controller)) return FALSE;
    return controller->BAttachById(hDlg, iAnchorId);
}

BOOL CZQConstraintGate::BDetachConstraintControls(PCWSTR pszFeature, HWND) {
    ZQ_TRACE("CZQConstraintGate::BDetachConstraintControls");
    if (!m_bOn || !m_pRuleSet || !pszFeature) return FALSE;
    CZQConstraintController* controller = nullptr;
    if (!m_pRuleSet->BFindController(pszFeature, &controller)) return FALSE;
    return controller->BDetach();
}

BOOL CZQConstraintGate::BCheckConstraint(PCWSTR pszFeature, HWND hDlg, DWORD* pdwCancelled) {
    ZQ_TRACE("CZQConstraintGate::BCheckConstraint");
    if (!m_bOn || !m_pRuleSet || !pszFeature || !hDlg || !IsWindow(hDlg) || !pdwCancelled)
        return FALSE;
    POEMCUIPPARAM pParam = PConstraintParam();
    CZQLocalPtr<WCHAR> option;
    if (!pParam || CZQCommon::DWGetFeatureOption(pParam, pszFeature, option.Put()) != ZQOPT_OK || !option)
        return FALSE;
    PCWSTR pszEvaluated = option.Get();
    // A user-defined media type obeys the rules of the media it is based on.
    CZQLocalPtr<WCHAR> base;
    if (ZQEqualNoCase(pszFeature, zqkw::kMediaType) && ZQStartsWithNoCase(option.Get(), L"UserDefined") &&
        BUserMediaKeyword(option.Get(), base.Put()) && base)
        pszEvaluated = base.Get();
    return m_pRuleSet->BEvaluate(pszFeature, pszEvaluated, hDlg, pdwCancelled);
}

const PaperListEntry* CZQConstraintGate::PFindUserMedia(PCWSTR pszMediaType) const {
    if (!pszMediaType || !m_binding.papers.dwCount || !m_binding.papers.pEntries) return nullptr;
    POEMCUIPPARAM pParam = PConstraintParam();
    CZQLocalPtr<WCHAR> name;
    if (!pParam || CZQCommon::DWOptionKeywordToName(pParam, zqkw::kMediaType, pszMediaType, name.Put()) != ZQOPT_OK ||
        !name)
        return nullptr;
    for (DWORD i = 0; i < m_binding.papers.dwCount; ++i) {
        const PaperListEntry& entry = m_binding.papers.pEntries[i];
        if (wcsncmp(entry.szName, name.Get(), ARRAYSIZE(entry.szName)) == 0) return &entry;
    }
    return nullptr;
}

BOOL CZQConstraintGate::BUserMediaKeyword(PCWSTR pszMediaType, PWSTR* ppszKeyword) const {
    if (!ppszKeyword) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    *ppszKeyword = nullptr;
    const PaperListEntry* entry = PFindUserMedia(pszMediaType);
    if (!entry) return FALSE;
    // The code is a decimal number; anything else names no media.
    WCHAR code[ARRAYSIZE(entry->szCode)];
    ZQCopyText(code, ARRAYSIZE(code), entry->szCode);
    const DWORD dwCode = wcstoul(code, nullptr, 10);
    WCHAR keyword[kCchMediaName];
    if (!BGetMediaNameFromCode(dwCode, keyword, kCchMediaName)) return FALSE;
    *ppszKeyword = ZQDupText(keyword);
    return *ppszKeyword != nullptr;
}

BOOL CZQConstraintGate::BMediaTypeNameFromId(PCWSTR pszMediaType, PWSTR pszText, int cchText) const {
    if (!pszText || cchText < 1) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    pszText[0] = L'\0';
    const PaperListEntry* entry = PFindUserMedia(pszMediaType);
    if (!entry) return FALSE;
    ZQCopyTextN(pszText, static_cast<size_t>(cchText), entry->szText, ARRAYSIZE(entry->szText));
    return TRUE;
}

BOOL CZQConstraintGate::BRunCommandLine(PCWSTR pszCommandLine) {
    return CZQUIBase::BStartCommandLine(pszCommandLine, nullptr, nullptr, MB_OK);
}
