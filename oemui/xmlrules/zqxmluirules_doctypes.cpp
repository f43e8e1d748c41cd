// The "DocUISettings" section of the helper file: document types with their features and choices,
// as the printing-shortcuts pages and the task presets read them.
#include <cwchar>

#include "common/zqstrings.h"
#include "xmlrules/zqxmluirules.h"
#include "xmlrules/zqxmlutil.h"

namespace {

constexpr size_t kTextChars = CZQXmlUiRules::kDocTextChars;

BOOL BadArguments() {
    SetLastError(ERROR_INVALID_DATA);
    return FALSE;
}

// The child's text into a buffer of kTextChars, when the element has the child.
HRESULT HrReadText(IXMLDOMNode* pElement, LPCWSTR pszChild, PWSTR pszBuffer) {
    CZQBstr text;
    const HRESULT hr = zqxml::HrChildText(pElement, pszChild, text);
    if (hr == S_OK) ZQCopyText(pszBuffer, kTextChars, text.Get());
    return hr;
}

// A number child written as floating-point text, truncated toward zero; untouched when missing.
bool BReadTruncated(IXMLDOMNode* pElement, LPCWSTR pszChild, LONG* plValue) {
    double value = 0.0;
    if (zqxml::HrChildNumber(pElement, pszChild, &value) != S_OK) return false;
    *plValue = zqxml::LTruncate(value);
    return true;
}

// A number child read as its leading decimal digits; untouched when missing.
bool BReadDecimal(IXMLDOMNode* pElement, LPCWSTR pszChild, LONG* plValue) {
    CZQBstr text;
    if (zqxml::HrChildText(pElement, pszChild, text) != S_OK) return false;
    *plValue = wcstol(text.Get(), nullptr, 10);
    return true;
}

LONG* PNewNumber(LONG value) {
    LONG* number = static_cast<LONG*>(LocalAlloc(LPTR, sizeof(LONG)));
    if (number) *number = value;
    return number;
}

// The choice stands for the selected option: the same keyword, or the option of the feature's own
// "Feature.Option" text, which is how a switch's select_option names it.
bool BIsSelected(PCWSTR pszChoice, PCWSTR pszSelected, PCWSTR pszFeature) {
    if (!pszSelected[0]) return false;
    if (ZQEqualNoCase(pszChoice, pszSelected)) return true;
    const size_t cchFeature = wcslen(pszFeature);
    return cchFeature && ZQStartsWithNoCase(pszSelected, pszFeature) && pszSelected[cchFeature] == L'.' &&
           ZQEqualNoCase(pszChoice, pszSelected + cchFeature + 1);
}

// The element's children of that name, and their number.
bool BSelectChildren(IXMLDOMNode* pElement, LPCWSTR pszChild, CZQComPtr<IXMLDOMNodeList>& list, LONG* plCount) {
    *plCount = 0;
    return zqxml::HrSelectNodes(pElement, pszChild, list.Put()) == S_OK && SUCCEEDED(list->get_length(plCount)) &&
           *plCount >= 0;
}

}  // namespace

BOOL CZQXmlUiRules::BReadOptionName(IXMLDOMNode* pElement, PWSTR pszLabel) {
    if (!pElement || !pszLabel) return BadArguments();
    CZQBstr name;
    if (zqxml::HrChildText(pElement, L"name", name) != S_OK) return FALSE;
    LONG id = 0;
    if (BReadDecimal(pElement, L"resource_id", &id) && BLoadResString(static_cast<INT>(id), pszLabel)) return TRUE;
    ZQCopyText(pszLabel, kTextChars, name.Get());
    return TRUE;
}

BOOL CZQXmlUiRules::BReadBitmapId(IXMLDOMNode* pElement, LONG* plId) {
    if (!pElement || !plId) return BadArguments();
    return BReadDecimal(pElement, L"bitmap_id", plId) ? TRUE : FALSE;
}

BOOL CZQXmlUiRules::BReadDocOptions(IXMLDOMNode* pFeature, PWSTR pszName, LONG* plLabelId, LONG* plHelpId,
                                    PWSTR pszHidden, PWSTR pszSelected, LONG* plSelectedIndex, PWSTR** pppszOptions,
                                    LONG*** pppBitmapIds, LONG* plCount, LONG*** pppLabelIds) {
    return BReadDocFeature(pFeature, pszName, plLabelId, plHelpId, pszHidden, pszSelected, plSelectedIndex,
                           pppszOptions, pppBitmapIds, plCount, pppLabelIds, nullptr);
}

BOOL CZQXmlUiRules::BReadDocOptionsEx(IXMLDOMNode* pFeature, PWSTR pszName, LONG* plLabelId, LONG* plHelpId,
                                      PWSTR pszHidden, PWSTR pszSelected, LONG* plSelectedIndex,
                                      PWSTR** pppszOptions, LONG*** pppBitmapIds, LONG* plCount,
                                      LONG*** pppLabelIds, PWSTR pszDisabled) {
    if (!pszDisabled) return BadArguments();
    return BReadDocFeature(pFeature, pszName, plLabelId, plHelpId, pszHidden, pszSelected, plSelectedIndex,
                           pppszOptions, pppBitmapIds, plCount, pppLabelIds, pszDisabled);
}

BOOL CZQXmlUiRules::BReadDocFeature(IXMLDOMNode* pFeature, PWSTR pszName, LONG* plLabelId, LONG* plHelpId,
                                    PWSTR pszHidden, PWSTR pszSelected, LONG* plSelectedIndex, PWSTR** pppszOptions,
                                    LONG*** pppBitmapIds, LONG* plCount, LONG*** pppLabelIds, PWSTR pszDisabled) {
    if (!pFeature || !pszName || !plLabelId || !plHelpId || !pszHidden || !pszSelected || !plSelectedIndex ||
        !pppszOptions || !pppBitmapIds || !plCount || !pppLabelIds)
        return BadArguments();
    *plCount = *plSelectedIndex = *plLabelId = *plHelpId = 0;
    *pppszOptions = nullptr;
    *pppBitmapIds = *pppLabelIds = nullptr;

    HrReadText(pFeature, L"name", pszName);
    HrReadText(pFeature, L"hidden", pszHidden);
    BReadTruncated(pFeature, L"resource_id", plLabelId);
    BReadTruncated(pFeature, L"help_id", plHelpId);
    const HRESULT hr = HrReadText(pFeature, L"select_option", pszSelected);
    if (FAILED(hr)) return FALSE;
    if (hr == S_FALSE) BCaptureSwitchOption(pFeature, pszName, pszSelected);
    if (pszDisabled) HrReadText(pFeature, L"Disabled", pszDisabled);

    CZQComPtr<IXMLDOMNodeList> choices;
    LONG count = 0;
    if (!BSelectChildren(pFeature, L"DocOption", choices, &count)) return FALSE;
    if (count == 0) return TRUE;
    PWSTR* names = nullptr;
    LONG **bitmaps = nullptr, **labels = nullptr;
    if (!zqxml::BNewLocalArrays(static_cast<size_t>(count), names, bitmaps, labels)) return FALSE;
    *pppszOptions = names;
    *pppBitmapIds = bitmaps;
    *pppLabelIds = labels;
    *plCount = count;
    for (LONG i = 0; i < count; ++i) {
        CZQComPtr<IXMLDOMNode> choice;
        if (choices->get_item(i, choice.Put()) != S_OK || !choice) return FALSE;
        WCHAR name[kTextChars] = {};
        LONG bitmap = 0, label = 0;
        BReadDocOptionEntry(choice.Get(), name, &bitmap, &label);
        names[i] = ZQDupText(name);
        if (BIsSelected(name, pszSelected, pszName)) *plSelectedIndex = i;
        bitmaps[i] = PNewNumber(bitmap);
        labels[i] = PNewNumber(label);
    }
    return TRUE;
}

BOOL CZQXmlUiRules::BReadDocFeatures(IXMLDOMNode* pDocSetting, PWSTR** pppszFeatures, PWSTR** pppszOptions,
                                     LONG* plCount) {
    if (!pDocSetting || !pppszFeatures || !pppszOptions || !plCount) return BadArguments();
    *pppszFeatures = *pppszOptions = nullptr;
    *plCount = 0;
    CZQComPtr<IXMLDOMNodeList> features;
    LONG count = 0;
    if (!BSelectChildren(pDocSetting, L"DocFeature", features, &count)) return FALSE;
    if (count == 0) return TRUE;
    PWSTR *keywords = nullptr, *options = nullptr;
    if (!zqxml::BNewLocalArrays(static_cast<size_t>(count), keywords, options)) return FALSE;
    *pppszFeatures = keywords;
    *pppszOptions = options;
    *plCount = count;
    for (LONG i = 0; i < count; ++i) {
        CZQComPtr<IXMLDOMNode> feature;
        if (features->get_item(i, feature.Put()) != S_OK || !feature) return FALSE;
        CZQBstr text;
        if (zqxml::HrChildText(feature.Get(), L"name", text) == S_OK) keywords[i] = ZQDupText(text.Get());
        const HRESULT hr = zqxml::HrChildText(feature.Get(), L"select_option", text);
        if (FAILED(hr)) return FALSE;
        if (hr == S_OK) {
            options[i] = ZQDupText(text.Get());
        } else if ((options[i] = static_cast<PWSTR>(LocalAlloc(LPTR, kTextChars * sizeof(WCHAR))))) {
            BCaptureSwitchOption(feature.Get(), keywords[i], options[i]);
        }
    }
    return TRUE;
}

BOOL CZQXmlUiRules::BReadDocOptionEntry(IXMLDOMNode* pOption, PWSTR pszName, LONG* plBitmapId, LONG* plLabelId) {
    if (!pOption || !pszName || !plBitmapId || !plLabelId) return BadArguments();
    pszName[0] = L'\0';
    *plBitmapId = *plLabelId = 0;
    HrReadText(pOption, L"name", pszName);
    BReadTruncated(pOption, L"bitmap_id", plBitmapId);
    return BReadTruncated(pOption, L"resource_id", plLabelId) ? TRUE : FALSE;
}

BOOL CZQXmlUiRules::BCaptureSwitchOption(IXMLDOMNode* pElement, PCWSTR, PWSTR pszOption) {
    if (!pElement || !pszOption) return BadArguments();
    CZQComPtr<IXMLDOMNode> rule;
    if (zqxml::HrSelectSingle(pElement, L"switch", rule.Put()) != S_OK) return FALSE;
    CZQXmlParserCommon::CZQMacroAction action(m_parser.Budget());
    VSetCapture(TRUE);
    m_szCapture[0] = L'\0';
    BMatchCase(rule.Get());
    VSetCapture(FALSE);
    if (!m_szCapture[0]) return FALSE;
    ZQCopyText(pszOption, kTextChars, m_szCapture);
    return TRUE;
}
