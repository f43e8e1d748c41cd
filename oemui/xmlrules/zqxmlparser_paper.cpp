// Borderless overspray and roll limits of the helper file.
#include <cwchar>

#include "common/zqstrings.h"
#include "xmlrules/zqxmlparser.h"
#include "xmlrules/zqxmlutil.h"

namespace {

// The text of a child into a buffer of kCchPaper characters: S_OK, or S_FALSE with an empty buffer
// when the child is missing or its text does not fit; a negative result when the DOM failed.
HRESULT HrReadField(IXMLDOMNode* pEntry, LPCWSTR pszChild, WCHAR (&buffer)[CZQXmlParserCommon::kCchPaper]) {
    buffer[0] = L'\0';
    CZQBstr text;
    HRESULT hr = zqxml::HrChildText(pEntry, pszChild, text);
    if (hr != S_OK) return hr;
    if (ZQCopyText(buffer, ARRAYSIZE(buffer), text.Get()) == S_OK) return S_OK;
    buffer[0] = L'\0';
    return S_FALSE;
}

// An overspray child read with "%f"; a missing child or a text that is no number gives 0.
HRESULT HrReadOverspray(IXMLDOMNode* pEntry, LPCWSTR pszChild, FLOAT* pfValue) {
    *pfValue = 0.0f;
    WCHAR text[CZQXmlParserCommon::kCchPaper];
    HRESULT hr = HrReadField(pEntry, pszChild, text);
    if (FAILED(hr)) return hr;
    FLOAT value = 0.0f;
    if (hr == S_OK && swscanf(text, L"%f", &value) == 1) *pfValue = value;
    return S_OK;
}

}  // namespace

BOOL CZQXmlParserCommon::BGetBorderlessSettings(IXMLDOMNode* pFirst, LPCWSTR pszPaper, PWSTR pszOtherPaper,
                                                FLOAT* pfLeft, FLOAT* pfRight, FLOAT* pfTop, FLOAT* pfBottom) {
    if (!pFirst || !pszPaper || !pszOtherPaper || !pfLeft || !pfRight || !pfTop || !pfBottom) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    CZQComPtr<IXMLDOMNode> entry;
    pFirst->AddRef();
    *entry.Put() = pFirst;
    while (entry) {
        if (zqxml::BIsElement(entry.Get())) {
            // Each entry counts with its own children only: a missing one is empty or 0 here.
            WCHAR borderless[kCchPaper];
            WCHAR bordered[kCchPaper];
            FLOAT left = 0.0f, top = 0.0f, right = 0.0f, bottom = 0.0f;
            if (FAILED(HrReadField(entry.Get(), L"Borderless_Paper", borderless)) ||
                FAILED(HrReadField(entry.Get(), L"Paper", bordered)) ||
                FAILED(HrReadOverspray(entry.Get(), L"Overspray_Left", &left)) ||
                FAILED(HrReadOverspray(entry.Get(), L"Overspray_Top", &top)) ||
                FAILED(HrReadOverspray(entry.Get(), L"Overspray_Right", &right)) ||
                FAILED(HrReadOverspray(entry.Get(), L"Overspray_Bottom", &bottom)))
                return FALSE;

            const WCHAR* other = nullptr;
            if (borderless[0] && ZQEqualNoCase(borderless, pszPaper))
                other = bordered;
            else if (bordered[0] && ZQEqualNoCase(bordered, pszPaper))
                other = borderless;
            if (other) {
                // An empty twin leaves the caller's keyword as it was; the edges are handed out all the same.
                if (other[0]) wcscpy(pszOtherPaper, other);
                *pfLeft = left;
                *pfRight = right;
                *pfTop = top;
                *pfBottom = bottom;
                return TRUE;
            }
        }
        CZQComPtr<IXMLDOMNode> next;
        if (entry->get_nextSibling(next.Put()) != S_OK) break;
        *entry.Put() = next.Detach();
    }
    return TRUE;
}

BOOL CZQXmlParserCommon::BGetRollLimits(IXMLDOMNode* pRoll, PWSTR* ppszMinJobPageWidth, PWSTR* ppszMaxJobPageWidth,
                                        PWSTR* ppszRollRealWidth, PWSTR* ppszMinJobPageHeight,
                                        PWSTR* ppszMaxJobPageHeight) {
    if (!pRoll || !ppszMinJobPageWidth || !ppszMaxJobPageWidth || !ppszRollRealWidth || !ppszMinJobPageHeight ||
        !ppszMaxJobPageHeight) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    struct Field {
        LPCWSTR name;
        PWSTR* out;
    };
    const Field fields[] = {
        {L"MinJobPageWidth", ppszMinJobPageWidth}, {L"MaxJobPageWidth", ppszMaxJobPageWidth},
        {L"RollRealWidth", ppszRollRealWidth},     {L"MinJobPageHeight", ppszMinJobPageHeight},
        {L"MaxJobPageHeight", ppszMaxJobPageHeight},
    };
    bool lastRead = false;
    for (const Field& field : fields) {
        lastRead = false;
        CZQBstr text;
        if (zqxml::HrChildText(pRoll, field.name, text) != S_OK) continue;
        PWSTR copy = ZQDupText(text.Get());
        if (!copy) continue;
        *field.out = copy;
        lastRead = true;
    }
    return lastRead ? TRUE : FALSE;
}
