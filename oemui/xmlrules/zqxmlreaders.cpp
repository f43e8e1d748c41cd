#include "xmlrules/zqxmlreaders.h"

#include <cfloat>
#include <cmath>
#include <cwchar>

#include "common/zqstrings.h"
#include "xmlrules/zqxmlparser.h"
#include "xmlrules/zqxmlutil.h"

namespace {

BOOL BadArguments() {
    SetLastError(ERROR_INVALID_DATA);
    return FALSE;
}

}  // namespace

BOOL CZQXmlHelperReaders::BReadSettingText(IXMLDOMNode* pElement, PWSTR** pppszSettings, DWORD* pdwCount) {
    if (!pElement || !pppszSettings || !pdwCount) return BadArguments();
    *pppszSettings = nullptr;
    *pdwCount = 0;
    CZQComPtr<IXMLDOMNodeList> settings;
    LONG count = 0;
    if (zqxml::HrSelectNodes(pElement, L"setting", settings.Put()) != S_OK || FAILED(settings->get_length(&count)) ||
        count < 0)
        return FALSE;
    if (count == 0) return TRUE;
    PWSTR* list = static_cast<PWSTR*>(LocalAlloc(LPTR, static_cast<size_t>(count) * sizeof(PWSTR)));
    if (!list) return FALSE;
    settings->reset();
    for (LONG i = 0; i < count; ++i) {
        CZQComPtr<IXMLDOMNode> setting;
        CZQBstr text;
        if (settings->nextNode(setting.Put()) != S_OK || !setting || FAILED(setting->get_text(text.Put()))) {
            zqxml::VFreeLocalArray(list, static_cast<DWORD>(count));
            return FALSE;
        }
        const size_t cch = zqxml::CchText(text);
        if (!cch) continue;
        if (!(list[i] = ZQDupText(text.Get()))) {
            zqxml::VFreeLocalArray(list, static_cast<DWORD>(count));
            return FALSE;
        }
    }
    *pppszSettings = list;
    *pdwCount = static_cast<DWORD>(count);
    return TRUE;
}

BOOL CZQXmlHelperReaders::BGetCountryCodeText(PWSTR pszText, DWORD cchText) {
    if (!pszText || cchText == 0) return BadArguments();
    ZeroMemory(pszText, cchText * sizeof(WCHAR));
    return swprintf(pszText, cchText, L"%d", CZQXmlParserCommon::IGetCountryCode()) > 0 ? TRUE : FALSE;
}

BOOL CZQXmlHelperReaders::BReadDmlPairs(IXMLDOMNode* pEntry, PWSTR* ppszName, PWSTR* ppszObjectId) {
    if (!pEntry || !ppszName || !ppszObjectId) return BadArguments();
    *ppszName = nullptr;
    *ppszObjectId = nullptr;
    CZQBstr name;
    if (zqxml::HrChildText(pEntry, L"dmlname", name) != S_OK) name.Reset();
    CZQLocalPtr<WCHAR> nameCopy(ZQDupText(name ? name.Get() : L""));
    CZQBstr objectId;
    if (!nameCopy || zqxml::HrChildText(pEntry, L"oidvalue", objectId) != S_OK || zqxml::CchText(objectId) == 0)
        return FALSE;
    PWSTR idCopy = ZQDupText(objectId.Get());
    if (!idCopy) return FALSE;
    *ppszName = nameCopy.Release();
    *ppszObjectId = idCopy;
    return TRUE;
}

BOOL CZQXmlHelperReaders::BReadOptionList(IXMLDOMNode* pElement, LONG*** pppIds, FLOAT*** pppValues,
                                          DWORD* pdwCount) {
    if (!pElement || !pppIds || !pppValues || !pdwCount) return BadArguments();
    CZQComPtr<IXMLDOMNodeList> options;
    LONG count = 0;
    if (zqxml::HrSelectNodes(pElement, L"Option", options.Put()) != S_OK || FAILED(options->get_length(&count)) ||
        count < 0)
        return FALSE;
    if (count == 0) {
        *pppIds = nullptr;
        *pppValues = nullptr;
        *pdwCount = 0;
        return TRUE;
    }
    const DWORD n = static_cast<DWORD>(count);
    LONG** ids = static_cast<LONG**>(LocalAlloc(LPTR, n * sizeof(LONG*)));
    FLOAT** values = static_cast<FLOAT**>(LocalAlloc(LPTR, n * sizeof(FLOAT*)));
    auto fail = [&]() {
        zqxml::VFreeLocalArray(ids, n);
        zqxml::VFreeLocalArray(values, n);
        return FALSE;
    };
    if (!ids || !values || FAILED(options->reset())) return fail();
    for (DWORD i = 0; i < n; ++i) {
        CZQComPtr<IXMLDOMNode> option;
        LONG id = 0;
        FLOAT value = 0.0f;
        HRESULT hr = E_FAIL;
        if (options->nextNode(option.Put()) == S_OK && option) BReadOptionEntry(option.Get(), &id, &value, &hr);
        if (FAILED(hr)) return fail();
        ids[i] = static_cast<LONG*>(LocalAlloc(LPTR, sizeof(LONG)));
        values[i] = static_cast<FLOAT*>(LocalAlloc(LPTR, sizeof(FLOAT)));
        if (!ids[i] || !values[i]) return fail();
        *ids[i] = id;
        *values[i] = value;
    }
    *pppIds = ids;
    *pppValues = values;
    *pdwCount = n;
    return TRUE;
}

BOOL CZQXmlHelperReaders::BReadOptionEntry(IXMLDOMNode* pOption, LONG* plId, FLOAT* pfValue, HRESULT* phrDom) {
    HRESULT unused = S_OK;
    HRESULT& hr = phrDom ? *phrDom : unused;
    hr = E_INVALIDARG;
    if (!pOption || !plId || !pfValue) return BadArguments();
    *plId = 0;
    *pfValue = 0.0f;
    double number = 0.0;
    if (FAILED(hr = zqxml::HrChildNumber(pOption, L"resource_id", &number))) return FALSE;
    *plId = zqxml::LTruncate(number);
    if (FAILED(hr = zqxml::HrChildNumber(pOption, L"bidi_value", &number))) return FALSE;
    if (hr != S_OK) {
        hr = S_OK;  // no value: the entry is read all the same
        return FALSE;
    }
    if (std::isnan(number) || std::fabs(number) <= FLT_MAX)
        *pfValue = static_cast<FLOAT>(number);
    else
        *pfValue = number > 0 ? HUGE_VALF : -HUGE_VALF;
    return TRUE;
}

BOOL CZQXmlHelperReaders::BGetOptionResourceId(IXMLDOMNode* pElement, FLOAT fValue, LONG* plId) {
    if (!pElement || !plId) return BadArguments();
    CZQComPtr<IXMLDOMNodeList> options;
    if (zqxml::HrSelectNodes(pElement, L"Option", options.Put()) != S_OK) return FALSE;
    *plId = 0;
    if (FAILED(options->reset())) return FALSE;
    for (;;) {
        CZQComPtr<IXMLDOMNode> option;
        HRESULT hr = options->nextNode(option.Put());
        if (FAILED(hr)) return FALSE;
        if (hr != S_OK || !option) break;
        LONG id = 0;
        FLOAT value = 0.0f;
        BReadOptionEntry(option.Get(), &id, &value, &hr);
        if (FAILED(hr)) return FALSE;
        // Exact single-precision equality: the helper file and the printer give the same number.
        if (value == fValue) {
            *plId = id;
            break;
        }
    }
    return *plId != 0 ? TRUE : FALSE;
}
