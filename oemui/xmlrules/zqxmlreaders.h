// Readers of single helper-file entries: device settings, device objects and roll options, and the
// country-code text of the "LocaleID" switch. They keep no state; the rule engine offers them as its
// own operations. Everything handed out comes zero-filled from the local heap and the caller frees it.
#pragma once

#include <windows.h>
#include <msxml.h>

class CZQXmlHelperReaders {
public:
    // The texts of the element's "setting" children in document order ("Feature.Option"); an empty
    // setting leaves its entry null. The caller frees every entry and the list. No children: a null
    // list and a count of 0. FALSE (nothing handed out) when the DOM or an allocation failed.
    static BOOL BReadSettingText(IXMLDOMNode* pElement, PWSTR** pppszSettings, DWORD* pdwCount);
    // The user's country code in decimal into the caller's buffer.
    static BOOL BGetCountryCodeText(PWSTR pszText, DWORD cchText);

    // A "dmldata" entry: the answer's name (empty when "dmlname" is missing) and the identifier of the
    // device object. TRUE when a non-empty "oidvalue" was read; on FALSE nothing is handed out.
    static BOOL BReadDmlPairs(IXMLDOMNode* pEntry, PWSTR* ppszName, PWSTR* ppszObjectId);
    // The "Option" children of a RollType or RollWidth element: one 4-byte allocation per identifier
    // and per value, held by two arrays. The count is set only once both arrays were filled; no
    // options give null arrays and a count of 0.
    static BOOL BReadOptionList(IXMLDOMNode* pElement, LONG*** pppIds, FLOAT*** pppValues, DWORD* pdwCount);
    // One "Option": its resource_id (truncated toward zero) and bidi_value (single precision); a
    // missing or empty child gives 0. TRUE when bidi_value was read; the DOM's outcome in *phrDom
    // (a failure there, not a missing value, spoils a walk over the options).
    static BOOL BReadOptionEntry(IXMLDOMNode* pOption, LONG* plId, FLOAT* pfValue, HRESULT* phrDom = nullptr);
    // The identifier of the first Option whose value equals this one exactly. TRUE when that
    // identifier is not 0.
    static BOOL BGetOptionResourceId(IXMLDOMNode* pElement, FLOAT fValue, LONG* plId);
};
