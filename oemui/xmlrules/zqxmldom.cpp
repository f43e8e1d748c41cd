#include "xmlrules/zqxmldom.h"

#include <climits>
#include <cwchar>

#include "common/zqstrings.h"
#include "xmlrules/zqxmlutil.h"

namespace {

struct IdRow {
    DWORD id;
    LPCWSTR name;
};

// Names are compared exactly over at most this many characters.
constexpr size_t kCchName = 256;

const IdRow kConstraintElements[] = {
    {ZQCE_CONSTRAINTS, L"constraints"},
    {ZQCE_FEATURE_CONSTRAINTS, L"feature_constraints"},
    {ZQCE_FEATURE_NAME, L"feature_name"},
    {ZQCE_CONSTRAINT_REC, L"constraint_rec"},
    {ZQCE_OPT_GROUP, L"opt_group"},
    {ZQCE_OPT_NAME_LIST, L"opt_name_list"},
    {ZQCE_OPT_LISTITEM, L"opt_listitem"},
    {ZQCE_UI_ACTION, L"ui_action"},
    {ZQCE_CONSTRAINED_FEATURES, L"constrained_features"},
    {ZQCE_CONSTRAINED_FEATURE, L"constrained_feature"},
    {ZQCE_UNCONSTRAINED_FEATURE, L"unconstrained_feature"},
    {ZQCE_UC_FEATURE, L"uc_feature"},
    {ZQCE_SETOPTVAL, L"setoptval"},
    {ZQCE_MSGBOX_STR_ID, L"msgbox_str_id"},
    {ZQCE_FORCE_OPT, L"force_opt"},
    {ZQCE_ACTION, L"action"},
    {ZQCE_BUBBLE_STR_ID, L"bubble_str_id"},
    {ZQCE_UNCONSTRAINED_FEATURES, L"unconstrained_features"},
    {ZQCE_MULTILEVEL_CONSTRAINED_FEATURES, L"multilevel_constrained_features"},
    {ZQCE_MULTILEVEL_CONSTRAINED_FEATURE, L"multilevel_constrained_feature"},
    {ZQCE_MULTILEVEL_UNCONSTRAINED_FEATURES, L"multilevel_unconstrained_features"},
    {ZQCE_MULTILEVEL_UNCONSTRAINED_FEATURE, L"multilevel_unconstrained_feature"},
    {ZQCE_MC_FEATURE, L"mc_feature"},
};

const IdRow kAlertElements[] = {
    {ZQAE_ALERTS_DMLOIDS, L"alerts_dmloids"},
    {ZQAE_ALERTS_DMLOID, L"alerts_dmloid"},
    {ZQAE_ALERTS_DMLNAME, L"alerts_dmlname"},
    {ZQAE_ALERTS_OIDVALUE, L"alerts_oidvalue"},
    {ZQAE_DEPENDENT_ALERTS_DMLOIDS_LIST, L"dependent_alerts_dmloids_list"},
    {ZQAE_DEPENDENT_ALERTS_DMLOIDS, L"dependent_alerts_dmloids"},
    {ZQAE_ALERTS_DYNAMIC_DMLOID, L"alerts_dynamic_dmloid"},
    {ZQAE_ALERTS_MSG_LIST, L"alerts_msg_list"},
    {ZQAE_ALERTS_MSG, L"alerts_msg"},
    {ZQAE_CMDLINEINFO, L"cmdlineinfo"},
    {ZQAE_CL_PARAM, L"cl_param"},
    {ZQAE_ALERTS_RANGE_DMLOID, L"alerts_range_dmloid"},
};

const IdRow kAlertFields[] = {
    {ZQAF_SET_BIT, L"set_bit"},
    {ZQAF_NAME, L"name"},
    {ZQAF_ALERT_MSG_STRID, L"alert_msg_strid"},
    {ZQAF_SEVERITY, L"severity"},
    {ZQAF_SET_VAL, L"set_val"},
    {ZQAF_PARAM_NAME, L"param_name"},
    {ZQAF_PARAM_VALUE, L"param_value"},
    {ZQAF_MSG_SUFFIX, L"msg_suffix"},
    {ZQAF_RANGE_HI, L"range_hi"},
    {ZQAF_RANGE_LO, L"range_lo"},
};

const IdRow kUiActions[] = {{1, L"disable"}, {2, L"enable"}, {0, L""}};
const IdRow kConstraintActions[] = {{1, L"displaymsgbox"}, {2, L"displaybubble"}, {0, L""}};
const IdRow kSeverities[] = {{1, L"error"}, {2, L"warning"}, {3, L"error_h"}, {4, L"warning_h"}};
const IdRow kCmdLineParams[] = {{1, L"pu_exepath"}, {2, L"printername"}, {3, L"currlocale"}, {4, L"currpaperid"}, {5, L""}};

template <size_t N>
bool BLookup(const IdRow (&rows)[N], LPCWSTR pszText, DWORD* pdwId) {
    for (const IdRow& row : rows) {
        if (wcsncmp(pszText, row.name, kCchName) == 0) {
            *pdwId = row.id;
            return true;
        }
    }
    return false;
}

BOOL BadArguments() {
    SetLastError(ERROR_INVALID_DATA);
    return FALSE;
}

// Copies a text into the caller's buffer, cut to fit; TRUE only when all of it fitted.
BOOL BCopyFitted(PWSTR pszBuffer, int cchBuffer, LPCWSTR psz) {
    if (ZQCopyText(pszBuffer, static_cast<size_t>(cchBuffer), psz ? psz : L"") == S_OK) return TRUE;
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
}

// nodeValue of the node's first child.
bool BFirstChildValue(IXMLDOMNode* pNode, CZQVariant& value) {
    CZQComPtr<IXMLDOMNodeList> children;
    if (FAILED(pNode->get_childNodes(children.Put())) || !children) return false;
    CZQComPtr<IXMLDOMNode> first;
    if (children->get_item(0, first.Put()) != S_OK || !first) return false;
    return SUCCEEDED(first->get_nodeValue(value.Put()));
}

// A text's identifier; the identifier first takes the table's "unknown" value.
template <size_t N>
BOOL BTextId(const IdRow (&rows)[N], DWORD dwUnknown, LPCWSTR pszText, DWORD* pdwId) {
    if (!pszText || !pdwId) return BadArguments();
    *pdwId = dwUnknown;
    return BLookup(rows, pszText, pdwId) ? TRUE : FALSE;
}

BOOL BNameId(IXMLDOMNode* pNode, DWORD* pdwId, bool (*lookup)(LPCWSTR, DWORD*)) {
    if (!pNode || !pdwId) return BadArguments();
    WCHAR name[kCchName];
    if (!BGetNodeName(pNode, name, static_cast<int>(kCchName))) return FALSE;
    return lookup(name, pdwId) ? TRUE : FALSE;
}

}  // namespace

BOOL BGetNodeTextAlloc(IXMLDOMNode* pNode, PWSTR* ppszText) {
    if (!pNode || !ppszText) return BadArguments();
    *ppszText = nullptr;
    CZQVariant value;
    if (!BFirstChildValue(pNode, value) || value.Get().vt != VT_BSTR) return FALSE;
    const BSTR text = value.Get().bstrVal;
    PWSTR copy = ZQDupText(text ? text : L"");
    if (!copy) return FALSE;
    *ppszText = copy;
    return TRUE;
}

BOOL BGetNodeText(IXMLDOMNode* pNode, PWSTR pszBuffer, int cchBuffer) {
    if (!pNode || !pszBuffer || cchBuffer <= 0) return BadArguments();
    pszBuffer[0] = L'\0';
    CZQVariant value;
    if (!BFirstChildValue(pNode, value) || value.Get().vt != VT_BSTR) return FALSE;
    return BCopyFitted(pszBuffer, cchBuffer, value.Get().bstrVal);
}

BOOL BGetNodeInt(IXMLDOMNode* pNode, LONG* plValue) {
    if (!pNode || !plValue) return BadArguments();
    WCHAR text[256];
    if (!BGetNodeText(pNode, text, 256)) return FALSE;
    long long value = 0;
    for (const WCHAR* p = text; *p; ++p) {
        if (*p < L'0' || *p > L'9') {
            *plValue = -1;
            return TRUE;
        }
        value = value * 10 + (*p - L'0');
        // A number beyond 32 bits is no number here either.
        if (value > LONG_MAX) {
            *plValue = -1;
            return TRUE;
        }
    }
    *plValue = static_cast<LONG>(value);
    return TRUE;
}

BOOL BGetNodeName(IXMLDOMNode* pNode, PWSTR pszBuffer, int cchBuffer) {
    if (!pNode || !pszBuffer || cchBuffer <= 0) return BadArguments();
    pszBuffer[0] = L'\0';
    CZQBstr name;
    if (FAILED(pNode->get_nodeName(name.Put())) || !name) return FALSE;
    return BCopyFitted(pszBuffer, cchBuffer, name.Get());
}

BOOL BGetElementsByTagName(IXMLDOMElement* pElement, LPCWSTR pszTag, IXMLDOMNodeList** ppList) {
    if (!pElement || !pszTag || !ppList) return BadArguments();
    *ppList = nullptr;
    CZQBstr tag(SysAllocString(pszTag));
    if (!tag) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    if (FAILED(pElement->getElementsByTagName(tag.Get(), ppList)) && *ppList) {
        (*ppList)->Release();
        *ppList = nullptr;
    }
    return *ppList != nullptr;
}

BOOL BGetAttributeText(IXMLDOMNode* pNode, LPCWSTR pszName, PWSTR pszBuffer, int cchBuffer) {
    if (!pNode || !pszName || !pszBuffer || cchBuffer <= 0) return BadArguments();
    pszBuffer[0] = L'\0';
    CZQComPtr<IXMLDOMNamedNodeMap> attributes;
    if (FAILED(pNode->get_attributes(attributes.Put())) || !attributes) return FALSE;
    LONG count = 0;
    if (FAILED(attributes->get_length(&count)) || count <= 0) return FALSE;
    CZQBstr name(SysAllocString(pszName));
    if (!name) return FALSE;
    CZQComPtr<IXMLDOMNode> attribute;
    if (attributes->getNamedItem(name.Get(), attribute.Put()) != S_OK || !attribute) return FALSE;
    CZQVariant value;
    if (FAILED(attribute->get_nodeValue(value.Put())) || value.Get().vt != VT_BSTR) return FALSE;
    return BCopyFitted(pszBuffer, cchBuffer, value.Get().bstrVal);
}

BOOL BConstraintElementId(IXMLDOMNode* pNode, DWORD* pdwId) {
    return BNameId(pNode, pdwId, [](LPCWSTR name, DWORD* id) { return BLookup(kConstraintElements, name, id); });
}

BOOL BAlertElementId(IXMLDOMNode* pNode, DWORD* pdwId) {
    return BNameId(pNode, pdwId, [](LPCWSTR name, DWORD* id) { return BLookup(kAlertElements, name, id); });
}

BOOL BAlertFieldId(IXMLDOMNode* pNode, DWORD* pdwId) {
    return BNameId(pNode, pdwId, [](LPCWSTR name, DWORD* id) { return BLookup(kAlertFields, name, id); });
}

BOOL BUiActionId(LPCWSTR pszText, DWORD* pdwId) { return BTextId(kUiActions, 0, pszText, pdwId); }

BOOL BConstraintActionId(LPCWSTR pszText, DWORD* pdwId) { return BTextId(kConstraintActions, 0, pszText, pdwId); }

BOOL BSeverityId(LPCWSTR pszText, DWORD* pdwId) { return BTextId(kSeverities, 5, pszText, pdwId); }

BOOL BCmdLineParamId(LPCWSTR pszText, DWORD* pdwId) { return BTextId(kCmdLineParams, 6, pszText, pdwId); }

BOOL BGetDeviceObjectValue(IZQDeviceChannel* pChannel, IZQObjectList* pRequest, LPCWSTR pszObjectId,
                           DeviceValueRecord* pRecord, HRESULT* phr) {
    if (!pChannel || !pRequest || !pszObjectId || !pRecord || !phr) return BadArguments();
    if (FAILED(*phr = pRequest->Clear())) return FALSE;
    if (FAILED(*phr = pRequest->SetObjectId(0, pszObjectId))) return FALSE;
    if (FAILED(*phr = pChannel->Get(pRequest))) return FALSE;
    BYTE type = 255;
    BYTE* pData = nullptr;
    DWORD cbData = 0;
    *phr = pRequest->GetValue(0, &type, &pData, &cbData);
    if (FAILED(*phr)) {
        if (pData) CoTaskMemFree(pData);
        return FALSE;
    }

    pRecord->dwType = type;
    pRecord->cbSize = cbData;
    bool stored = false;
    auto storeNumber = [pRecord, &stored](DWORD value) {
        pRecord->pbData = nullptr;  // clears the whole slot, not only its low half
        pRecord->dwValue = value;
        stored = true;
    };
    if (pData && cbData) {
        switch (type) {
            case 1:
                storeNumber(pData[0]);
                break;
            case 2: {
                // Little-endian; a block shorter than four bytes gives what it holds.
                DWORD value = 0;
                for (DWORD i = 0; i < cbData && i < 4; ++i) value |= static_cast<DWORD>(pData[i]) << (8 * i);
                storeNumber(value);
                break;
            }
            case 4:
            case 8:
                if (cbData <= sizeof pRecord->abBytes) CopyMemory(pRecord->abBytes, pData, cbData);
                if (cbData == 1) {
                    storeNumber(pData[0]);
                } else if (cbData == 2) {
                    storeNumber((static_cast<DWORD>(pData[0]) << 8) | pData[1]);
                } else if (cbData == 3) {
                    stored = true;  // three bytes make no number: the value stays as it was
                } else if (cbData == 4) {
                    storeNumber((static_cast<DWORD>(pData[0]) << 24) | (static_cast<DWORD>(pData[1]) << 16) |
                                (static_cast<DWORD>(pData[2]) << 8) | pData[3]);
                } else {
                    BYTE* copy = static_cast<BYTE*>(LocalAlloc(LPTR, cbData));
                    if (copy) {
                        CopyMemory(copy, pData, cbData);
                        pRecord->pbData = copy;
                        stored = true;
                    }
                }
                break;
            default:
                break;
        }
    }
    if (pData) CoTaskMemFree(pData);
    return stored ? TRUE : FALSE;
}
