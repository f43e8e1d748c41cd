// The print-quality evaluator: the macro vocabulary run against the parser's print-quality state
// and its value buffers instead of option items.
#include <cwchar>
#include <cwctype>

#include "common/zqkeywords.h"
#include "common/zqstrings.h"
#include "common/zqtrace.h"
#include "xmlrules/zqxmluirules.h"
#include "xmlrules/zqxmlutil.h"

namespace {

constexpr size_t kValueChars = 256;
constexpr size_t kOptionTextChars = 80;

bool BIs(LPCWSTR pszName, LPCWSTR pszElement) { return ZQEqualNoCase(pszName, pszElement); }

// Whether an entry has a "name" child (in any case); only the names are read, not the texts.
bool BHasNameChild(IXMLDOMNode* pEntry) {
    zqxml::CZQElementWalk walk(pEntry);
    CZQComPtr<IXMLDOMNode> child;
    while (walk.BNext(child)) {
        CZQBstr name;
        if (SUCCEEDED(child->get_nodeName(name.Put())) && BIs(name.Get(), L"name")) return true;
    }
    return false;
}

// The number after the text's first underscore; false when none follows it.
bool BNumberAfterUnderscore(LPCWSTR pszText, LONG* plValue) {
    LPCWSTR pszUnderscore = wcschr(pszText, L'_');
    if (!pszUnderscore || !iswdigit(pszUnderscore[1])) return false;
    *plValue = wcstol(pszUnderscore + 1, nullptr, 10);
    return true;
}

}  // namespace

BOOL CZQXmlUiRules::BRunMacroSwitch(IXMLDOMNodeList* pList, LPCWSTR pszName) {
    ZQ_TRACE("CZQXmlUiRules::BRunMacroSwitch");
    CZQXmlParserCommon::CZQMacroAction action(m_parser.Budget());
    return BWalkEntry(pList, pszName, false);
}

BOOL CZQXmlUiRules::BEvaluateSwitch(IXMLDOMNodeList* pList, LPCWSTR pszName) {
    ZQ_TRACE("CZQXmlUiRules::BEvaluateSwitch");
    CZQXmlParserCommon::CZQMacroAction action(m_parser.Budget());
    // A macro that calls itself, directly or around a loop, stops at the nesting limit.
    if (!BEnterRun()) return FALSE;
    const BOOL bFound = BWalkEntry(pList, pszName, true);
    VLeaveRun();
    return bFound;
}

// Walks the list's entries until one is named pszName. Children before an entry's "name" act before
// the name is compared; a different name abandons the entry. Event entries run their "macro_name"
// children, also an event without a name. Macro entries (bEvaluate) run their switches and actions;
// a macro without a name is skipped: nothing could ever choose it, and its calls would act on every
// walk. The walk ends once the action has no run or "call" left.
BOOL CZQXmlUiRules::BWalkEntry(IXMLDOMNodeList* pList, LPCWSTR pszName, bool bEvaluate) {
    if (!pList || !pszName) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    LONG count = 0;
    if (FAILED(pList->get_length(&count))) return FALSE;
    // By position: a walk of the same list further down does not move this one.
    CZQXmlParserCommon::CZQMacroBudget& budget = m_parser.Budget();
    for (LONG i = 0; i < count && !budget.BExhausted(); ++i) {
        CZQComPtr<IXMLDOMNode> entry;
        if (pList->get_item(i, entry.Put()) != S_OK || !entry) return FALSE;
        if (bEvaluate && !BHasNameChild(entry.Get())) continue;
        bool named = false;
        bool abandoned = false;
        zqxml::CZQElementWalk walk(entry.Get());
        CZQComPtr<IXMLDOMNode> child;
        while (!abandoned && !budget.BExhausted() && walk.BNext(child)) {
            CZQBstr name, text;
            if (zqxml::HrNameAndText(child.Get(), name, text) != S_OK) break;
            if (BIs(name.Get(), L"name")) {
                named = ZQEqualNoCase(text.Get(), pszName);
                abandoned = !named;
            } else if (!bEvaluate) {
                if (BIs(name.Get(), L"macro_name") && zqxml::CchText(text))
                    BEvaluateSwitch(m_parser.MacroList(), text.Get());
            } else if (BIs(name.Get(), L"switch")) {
                BMatchCase(child.Get());
            } else {
                VEvaluateAction(name.Get(), text.Get());
            }
        }
        if (named && !abandoned) return TRUE;
    }
    return FALSE;
}

BOOL CZQXmlUiRules::BMatchCase(IXMLDOMNode* pSwitch) {
    if (!pSwitch) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    CZQBstr valueName;
    if (zqxml::HrChildText(pSwitch, L"name", valueName) != S_OK || !zqxml::CchText(valueName)) return FALSE;
    // The value is taken once: actions of the chosen case may write the buffer it came from.
    WCHAR value[kValueChars] = {};
    if (BIs(valueName.Get(), zqkw::kMediaType)) {
        ZQCopyText(value, kValueChars, m_parser.m_szMediaTypeValue);
    } else if (BIs(valueName.Get(), zqkw::kPrintQualityGroup) || BIs(valueName.Get(), L"PrintQualityExport")) {
        ZQCopyText(value, kValueChars, m_parser.m_szQualityGroupValue);
    } else if (BIs(valueName.Get(), L"PrintQualityImport")) {
        ZQCopyText(value, kValueChars, m_parser.m_szQualityImportValue);
    } else if (BIs(valueName.Get(), L"LocaleID")) {
        if (!BGetCountryCodeText(value, kValueChars)) return FALSE;
    } else {
        return FALSE;
    }

    {
        zqxml::CZQElementWalk walk(pSwitch);
        CZQComPtr<IXMLDOMNode> child;
        while (!m_parser.Budget().BExhausted() && walk.BNext(child)) {
            CZQBstr name;
            if (FAILED(child->get_nodeName(name.Put()))) return FALSE;
            if (BIs(name.Get(), L"case") && BEvaluateCase(child.Get(), value, false)) return TRUE;
        }
    }
    CZQComPtr<IXMLDOMNode> fallback;
    if (!CZQXmlParserCommon::BSelectByName(pSwitch, L"case_default", nullptr, fallback.Put()) || !fallback)
        return FALSE;
    BEvaluateCase(fallback.Get(), value, true);
    return TRUE;
}

// A case acts from the "name" that matches the value on; a default case acts until its first
// "name". True when the (normal) case matched.
bool CZQXmlUiRules::BEvaluateCase(IXMLDOMNode* pCase, LPCWSTR pszValue, bool bDefault) {
    bool matched = false;
    zqxml::CZQElementWalk walk(pCase);
    CZQComPtr<IXMLDOMNode> child;
    while (!m_parser.Budget().BExhausted() && walk.BNext(child)) {
        CZQBstr name, text;
        if (zqxml::HrNameAndText(child.Get(), name, text) != S_OK || !zqxml::CchText(name)) break;
        if (BIs(name.Get(), L"name")) {
            if (bDefault) break;
            if (ZQEqualNoCase(text.Get(), pszValue)) matched = true;
        } else if (matched || bDefault) {
            VEvaluateAction(name.Get(), text.Get());
        }
    }
    return matched;
}

void CZQXmlUiRules::VEvaluateAction(LPCWSTR pszElement, LPCWSTR pszText) {
    if (!pszElement || !pszText || !pszElement[0] || !pszText[0]) return;
    ZQPrintQualityState& quality = m_parser.m_quality;
    if (BIs(pszElement, L"call")) {
        // A call costs the action as the rule engine's calls do.
        if (m_parser.Budget().BTakeCall()) BEvaluateSwitch(m_parser.MacroList(), pszText);
    } else if (BIs(pszElement, L"disable") || BIs(pszElement, L"enable") || BIs(pszElement, L"hide")) {
        const DWORD state = BIs(pszElement, L"disable") ? 2 : BIs(pszElement, L"enable") ? 0 : 1;
        if (ZQContainsNoCase(zqkw::kPrintQualityGroup, pszText)) quality.dwQualityGroup = state;
        if (state == 1) return;
        if (ZQContainsNoCase(zqkw::kZQTurboMode, pszText)) quality.dwTurboMode = state;
        if (ZQContainsNoCase(zqkw::kZQPhotoPaperPrinting, pszText)) quality.dwPhotoPaper = state;
    } else if (BIs(pszElement, L"enable_option") || BIs(pszElement, L"hide_option")) {
        LONG index = 0;
        if (!ZQContainsNoCase(pszText, zqkw::kPrintQualityGroup) || !BNumberAfterUnderscore(pszText, &index)) return;
        if (index < 0 || index >= static_cast<LONG>(ARRAYSIZE(quality.adwOption))) return;
        quality.adwOption[index] = BIs(pszElement, L"enable_option") ? 0 : 1;
    } else if (BIs(pszElement, L"select_option")) {
        VEvaluateSelect(pszText);
    } else if (BIs(pszElement, L"map_option")) {
        ZQCopyText(m_parser.m_szQualityGroupValue, kValueChars, pszText);
    } else if (BIs(pszElement, L"unmap_option")) {
        ZQCopyText(m_parser.m_szQualityImportValue, kValueChars, pszText);
    }
    // disable_option and anything else: no effect.
}

void CZQXmlUiRules::VEvaluateSelect(LPCWSTR pszText) {
    ZQPrintQualityState& quality = m_parser.m_quality;
    LONG index = 0;
    if (ZQContainsNoCase(pszText, zqkw::kPrintQualityGroup) && BNumberAfterUnderscore(pszText, &index))
        quality.dwSelectedGroupIndex = static_cast<DWORD>(index);

    // The option part: from the first point to the next point or the end.
    LPCWSTR pszPoint = wcschr(pszText, L'.');
    if (pszPoint && wcslen(pszText) < kValueChars) {
        LPCWSTR pszEnd = wcschr(pszPoint + 1, L'.');
        const size_t cchOption = pszEnd ? static_cast<size_t>(pszEnd - pszPoint - 1) : wcslen(pszPoint + 1);
        if (cchOption < kOptionTextChars) {
            struct Target {
                LPCWSTR keyword;
                WCHAR* field;
            };
            const Target targets[] = {
                {zqkw::kResolution, quality.szResolutionOption},
                {L"Quelvo", quality.szFastResolutionOption},
                {L"ZQLpiSelection", quality.szLineScreenOption},
                {zqkw::kPrintQuality, quality.szPrintQualityOption},
            };
            for (const Target& target : targets)
                if (ZQContainsNoCase(pszText, target.keyword))
                    ZQCopyTextN(target.field, kOptionTextChars, pszPoint + 1, cchOption);
        }
    }
    if (ZQContainsNoCase(pszText, zqkw::kZQTurboMode) && ZQContainsNoCase(pszText, L".Off")) quality.dwTurboOff = 1;
    if (ZQContainsNoCase(pszText, zqkw::kZQPhotoPaperPrinting)) {
        if (ZQContainsNoCase(pszText, L".Glimra")) quality.dwPhotoPaperResolution = 0;
        if (ZQContainsNoCase(pszText, L".2400x1200dpi")) quality.dwPhotoPaperResolution = 1;
    }
    if (m_dwCapture) ZQCopyText(m_szCapture, kCaptureChars, pszText);
}
