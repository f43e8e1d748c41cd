#include "xmlrules/zqxmlparser.h"

#include <cwchar>
#include <utility>

#include "common/zqstrings.h"
#include "common/zqtrace.h"
#include "xmlrules/zqxmlutil.h"

CZQXmlParserCommon::CZQXmlParserCommon() {
    zqtrace::Line(L"CZQXmlParserCommon Entered\n");
    m_quality.dwPhotoPaper = 2;
    m_quality.dwTurboOff = 1;
}

CZQXmlParserCommon::~CZQXmlParserCommon() {
    zqtrace::Line(L"~CZQXmlParserCommon Entered\n");
    // Every interface goes before COM is left.
    VRelease();
    if (m_dwComInitialized) CoUninitialize();
}

void CZQXmlParserCommon::VRelease() {
    m_dwLoaded = 0;
    if (m_pszPath) LocalFree(std::exchange(m_pszPath, nullptr));
    m_pGroupList.Reset();
    m_pRollSheetList.Reset();
    m_pDocSettingList.Reset();
    m_pDeviceObjectList.Reset();
    m_pJobEventList.Reset();
    m_pMacroList2.Reset();
    m_pBorderlessList.Reset();
    m_pRollTypeList.Reset();
    m_pRollWidthList.Reset();
    m_pDeviceSettingList.Reset();
    m_pPresetList.Reset();
    m_pEventList.Reset();
    m_pFeatureList.Reset();
    m_pMacroList.Reset();
    m_pComponent.Reset();
    m_pDocument.Reset();
    m_featureIndex.VReset();
    m_macroIndex.VReset();
    m_file.Reset();
}

BOOL CZQXmlParserCommon::BLoad(LPCWSTR pszPath) {
    ZQ_TRACE("CZQXmlParserCommon::BLoad");
    VRelease();
    if (!pszPath) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    m_pszPath = ZQDupText(pszPath);
    if (!m_pszPath) return FALSE;
    // COM only for a parse: a kept document needs none, and most plug-in objects never load a file.
    // S_FALSE (COM already up on this thread) counts too: it must be balanced as well.
    if (!zqxmlshared::BAcquireKept(m_pszPath, m_file)) {
        if (!m_dwComInitialized && SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
            m_dwComInitialized = 1;
        if (!zqxmlshared::BAcquire(m_pszPath, m_file)) return FALSE;
    }
    m_pDocument = zqxmlshared::Shared(m_file->document.Get());
    m_dwLoaded = 1;
    if (!m_file->component || !m_file->bHelpersSelected) return FALSE;
    m_pComponent = zqxmlshared::Shared(m_file->component.Get());
    const int country = IGetCountryCode();

    // With one helper element (as every helper file has) the sections are selected below it;
    // otherwise from the document root ("//"), which walks the whole document per section. A section
    // that matches nothing keeps no list.
    IXMLDOMNode* const pHelper = m_file->helper.Get();
    IXMLDOMNode* const pContext = pHelper ? pHelper : m_pComponent.Get();
    // "//helper/<path>" from the root, or "<path>" below the one helper element.
    auto where = [pHelper](LPCWSTR pattern) { return pHelper ? pattern + wcslen(L"//helper/") : pattern; };
    auto keep = [pContext, &where](LPCWSTR pattern, CZQComPtr<IXMLDOMNodeList>& slot) -> HRESULT {
        CZQComPtr<IXMLDOMNodeList> list;
        HRESULT hr = zqxml::HrSelectNodes(pContext, where(pattern), list.Put());
        if (hr != S_OK) return hr;
        LONG count = 0;
        if (FAILED(list->get_length(&count))) return E_FAIL;
        if (count > 0) *slot.Put() = list.Detach();
        return S_OK;
    };
    auto exists = [pContext, &where](LPCWSTR pattern) {
        CZQComPtr<IXMLDOMNode> node;
        return zqxml::HrSelectSingle(pContext, where(pattern), node.Put()) == S_OK;
    };

    keep(L"//helper/events/event", m_pEventList);
    // A file without features or macros still serves its other sections; only a selection the
    // DOM cannot make ends the load.
    if (keep(L"//helper/features/feature", m_pFeatureList) != S_OK) return FALSE;
    if (keep(L"//helper/macros/macro", m_pMacroList) != S_OK) return FALSE;

    // Plain "preset" elements keep no list; otherwise the user's country picks the language.
    if (!exists(L"//helper/presets/preset")) {
        if (country == kCountryJapan && exists(L"//helper/presets/presetjapanese"))
            keep(L"//helper/presets/presetjapanese", m_pPresetList);
        else
            keep(L"//helper/presets/presetenglish", m_pPresetList);
    }

    keep(L"//helper/JobUIEventInfo/JobUIEvent", m_pJobEventList);
    keep(L"//helper/BorderlessSettings/Borderless", m_pBorderlessList);
    keep(L"//helper/macros/macro", m_pMacroList2);
    keep(L"//helper/DocUISettings/DocSetting", m_pDocSettingList);
    keep(L"//helper/DmlOIDs/dmldata", m_pDeviceObjectList);

    // No fall-back from the Japanese device settings to the English ones.
    const LPCWSTR deviceSettings = country == kCountryJapan ? L"//helper/DeviceSettings/japanesesetting"
                                                            : L"//helper/DeviceSettings/englishsetting";
    if (exists(deviceSettings)) keep(deviceSettings, m_pDeviceSettingList);

    keep(L"//helper/LQJRollSheetData", m_pRollSheetList);
    keep(L"//helper/LQJDeviceSetting/RollWidth", m_pRollWidthList);
    keep(L"//helper/LQJDeviceSetting/RollType", m_pRollTypeList);
    keep(L"//helper/groups/group", m_pGroupList);

    return TRUE;
}

int CZQXmlParserCommon::IGetCountryCode() {
    const int cch = GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_ICOUNTRY, nullptr, 0);
    if (cch <= 0) return 1;
    CZQLocalPtr<WCHAR> text;
    if (!text.Alloc(static_cast<size_t>(cch) + 1)) return 1;
    if (!GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_ICOUNTRY, text.Get(), cch)) return 1;
    return static_cast<int>(wcstol(text.Get(), nullptr, 10));
}

BOOL CZQXmlParserCommon::BFindListEntry(IXMLDOMNodeList* pList, LPCWSTR pszName, IXMLDOMNode** ppNode) {
    if (!pList || !pszName || !ppNode) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    *ppNode = nullptr;
    LONG count = 0;
    if (FAILED(pList->reset()) || FAILED(pList->get_length(&count))) return FALSE;
    for (LONG i = 0; i < count; ++i) {
        CZQComPtr<IXMLDOMNode> entry;
        if (pList->nextNode(entry.Put()) != S_OK || !entry) return FALSE;
        CZQBstr name;
        if (zqxml::HrChildText(entry.Get(), L"name", name) != S_OK || zqxml::CchText(name) == 0) return FALSE;
        if (ZQEqualNoCase(name.Get(), pszName)) {
            *ppNode = entry.Detach();
            return TRUE;
        }
    }
    return FALSE;
}

namespace {

// The name in ASCII capitals; false when it holds anything but ASCII.
bool AsciiKey(LPCWSTR pszName, std::wstring& key) {
    key.clear();
    for (LPCWSTR p = pszName; *p; ++p) {
        if (*p > 0x7F) return false;
        key.push_back(*p >= L'a' && *p <= L'z' ? static_cast<WCHAR>(*p - L'a' + L'A') : *p);
    }
    return true;
}

// The text of the entry's first "name" child element, as selecting "name" below the entry finds it
// (an element of no namespace), read child by child: one selection per entry costs far more.
HRESULT HrNameChildText(IXMLDOMNode* pEntry, CZQBstr& text) {
    text.Reset();
    CZQComPtr<IXMLDOMNode> child;
    HRESULT hr = pEntry->get_firstChild(child.Put());
    while (hr == S_OK && child) {
        DOMNodeType type = NODE_INVALID;
        CZQBstr name, space;
        const bool element = SUCCEEDED(child->get_nodeType(&type)) && type == NODE_ELEMENT;
        if (element && SUCCEEDED(child->get_nodeName(name.Put())) && name && lstrcmpW(name.Get(), L"name") == 0 &&
            SUCCEEDED(child->get_namespaceURI(space.Put())) && (!space || !space.Get()[0])) {
            hr = child->get_text(text.Put());
            if (FAILED(hr)) return hr;
            if (!text) text.Reset(SysAllocString(L""));
            return text ? S_OK : E_OUTOFMEMORY;
        }
        CZQComPtr<IXMLDOMNode> next;
        hr = child->get_nextSibling(next.Put());
        child = std::move(next);
    }
    return FAILED(hr) ? hr : S_FALSE;
}

}  // namespace

void CZQXmlParserCommon::NameIndex::VReset() {
    bBuilt = false;
    ascii.clear();
    odd.clear();
}

void CZQXmlParserCommon::NameIndex::VBuild(IXMLDOMNodeList* pList) {
    VReset();
    bBuilt = true;
    LONG count = 0;
    if (FAILED(pList->get_length(&count))) return;
    std::wstring key;
    for (LONG i = 0; i < count; ++i) {
        CZQComPtr<IXMLDOMNode> entry;
        if (pList->get_item(i, entry.Put()) != S_OK || !entry) return;
        CZQBstr name;
        if (HrNameChildText(entry.Get(), name) != S_OK || zqxml::CchText(name) == 0) return;
        if (!AsciiKey(name.Get(), key)) {
            odd.push_back({i, name.Get(), std::move(entry)});
            continue;
        }
        if (!ascii.count(key)) ascii.emplace(key, Entry{i, std::move(entry)});
    }
}

BOOL CZQXmlParserCommon::NameIndex::BFind(LPCWSTR pszName, IXMLDOMNode** ppNode) const {
    std::wstring key;
    if (!AsciiKey(pszName, key)) return FALSE;
    const auto it = ascii.find(key);
    LONG position = it == ascii.end() ? -1 : it->second.lPosition;
    IXMLDOMNode* pFound = it == ascii.end() ? nullptr : it->second.node.Get();
    for (const Odd& o : odd) {
        if (position >= 0 && o.lPosition > position) break;
        if (ZQEqualNoCase(o.name.c_str(), pszName)) {
            pFound = o.node.Get();
            break;
        }
    }
    if (pFound) pFound->AddRef();
    *ppNode = pFound;
    return TRUE;
}

BOOL CZQXmlParserCommon::BFindEntry(IXMLDOMNodeList* pList, LPCWSTR pszName, IXMLDOMNode** ppNode) {
    NameIndex* pIndex = !pList                       ? nullptr
                        : pList == m_pFeatureList.Get() ? &m_featureIndex
                        : pList == m_pMacroList.Get()   ? &m_macroIndex
                                                        : nullptr;
    if (!pIndex || !pszName || !ppNode) return BFindListEntry(pList, pszName, ppNode);
    *ppNode = nullptr;
    if (!pIndex->bBuilt) pIndex->VBuild(pList);
    if (!pIndex->BFind(pszName, ppNode)) return BFindListEntry(pList, pszName, ppNode);
    return *ppNode != nullptr;
}

BOOL CZQXmlParserCommon::BSelectByName(IXMLDOMNode* pContext, LPCWSTR pszPattern, LPCWSTR pszName,
                                       IXMLDOMNode** ppNode) {
    if (!pContext || !pszPattern || !ppNode) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    *ppNode = nullptr;
    // With a name: "<pattern>//name", so a name element at any depth below the pattern matches.
    static const WCHAR kNameSuffix[] = L"//name";
    const size_t cchPattern = wcslen(pszPattern) + ARRAYSIZE(kNameSuffix);
    CZQLocalPtr<WCHAR> pattern;
    if (!pattern.Alloc(cchPattern)) return FALSE;
    ZQCopyText(pattern.Get(), cchPattern, pszPattern);
    if (pszName) ZQAppendText(pattern.Get(), cchPattern, kNameSuffix);

    CZQComPtr<IXMLDOMNodeList> list;
    if (zqxml::HrSelectNodes(pContext, pattern.Get(), list.Put()) != S_OK) return FALSE;
    for (;;) {
        CZQComPtr<IXMLDOMNode> node;
        if (list->nextNode(node.Put()) != S_OK || !node) break;
        if (!pszName) {
            *ppNode = node.Detach();
            break;
        }
        CZQBstr text;
        if (FAILED(node->get_text(text.Put())) || !text) continue;
        if (ZQEqualNoCase(text.Get(), pszName)) {
            node->get_parentNode(ppNode);
            break;
        }
    }
    return TRUE;
}
