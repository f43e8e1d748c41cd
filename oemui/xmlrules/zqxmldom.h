// Reading single values out of the XML document object model, and the name tables of the
// constraint and alert sections of the helper file.
//
// Every routine answers a BOOL, refuses null pointers and sizes below 1 (last error 13), counts a
// negative COM result as failure and releases what it obtained on the way. A text that does not fit
// the caller's buffer is cut, terminated and reported with FALSE (last error 122).
#pragma once

#include <windows.h>
#include <msxml.h>

#include "platform/zqdeviceservers.h"

// Element names of the "constraints" section.
enum ZQConstraintElementId : DWORD {
    ZQCE_CONSTRAINTS = 1,
    ZQCE_FEATURE_CONSTRAINTS,
    ZQCE_FEATURE_NAME,
    ZQCE_CONSTRAINT_REC,
    ZQCE_OPT_GROUP,
    ZQCE_OPT_NAME_LIST,
    ZQCE_OPT_LISTITEM,
    ZQCE_UI_ACTION,
    ZQCE_CONSTRAINED_FEATURES,
    ZQCE_CONSTRAINED_FEATURE,
    ZQCE_UNCONSTRAINED_FEATURE,
    ZQCE_UC_FEATURE,
    ZQCE_SETOPTVAL,
    ZQCE_MSGBOX_STR_ID,
    ZQCE_FORCE_OPT,
    ZQCE_ACTION,
    ZQCE_BUBBLE_STR_ID,
    ZQCE_UNCONSTRAINED_FEATURES,
    ZQCE_MULTILEVEL_CONSTRAINED_FEATURES,
    ZQCE_MULTILEVEL_CONSTRAINED_FEATURE,
    ZQCE_MULTILEVEL_UNCONSTRAINED_FEATURES,
    ZQCE_MULTILEVEL_UNCONSTRAINED_FEATURE,
    ZQCE_MC_FEATURE,
};

// Element names of the alert definitions ("alerts_dmloids").
enum ZQAlertElementId : DWORD {
    ZQAE_ALERTS_DMLOIDS = 1,
    ZQAE_ALERTS_DMLOID,
    ZQAE_ALERTS_DMLNAME,
    ZQAE_ALERTS_OIDVALUE,
    ZQAE_DEPENDENT_ALERTS_DMLOIDS_LIST,
    ZQAE_DEPENDENT_ALERTS_DMLOIDS,
    ZQAE_ALERTS_DYNAMIC_DMLOID,
    ZQAE_ALERTS_MSG_LIST,
    ZQAE_ALERTS_MSG,
    ZQAE_CMDLINEINFO,
    ZQAE_CL_PARAM,
    ZQAE_ALERTS_RANGE_DMLOID,
};

// Attribute names of the alert definitions.
enum ZQAlertFieldId : DWORD {
    ZQAF_SET_BIT = 1,
    ZQAF_NAME,
    ZQAF_ALERT_MSG_STRID,
    ZQAF_SEVERITY,
    ZQAF_SET_VAL,
    ZQAF_PARAM_NAME,
    ZQAF_PARAM_VALUE,
    ZQAF_MSG_SUFFIX,
    ZQAF_RANGE_HI,
    ZQAF_RANGE_LO,
};

// One value read from a device object. A byte string longer than four bytes is kept as a copy
// (LocalAlloc; the caller frees it), so the value is pointer-sized.
struct DeviceValueRecord {
    union {
        DWORD dwValue;
        BYTE* pbData;
    };
    DWORD dwType;   // the object's type byte
    DWORD cbSize;   // length in bytes
    BYTE abBytes[4];  // types 4 and 8 of at most four bytes: the bytes as the device sent them
};

// The value of the node's first child; a new zero-filled local-heap string the caller frees.
BOOL BGetNodeTextAlloc(IXMLDOMNode* pNode, PWSTR* ppszText);
// The same value in the caller's buffer of cchBuffer characters; TRUE only when all of it fitted.
BOOL BGetNodeText(IXMLDOMNode* pNode, PWSTR pszBuffer, int cchBuffer);
// The node's text read as a decimal number when it is all digits (and fits 31 bits), else -1; an
// empty text gives 0. The result is that of reading the text, which leaves the value alone on FALSE.
BOOL BGetNodeInt(IXMLDOMNode* pNode, LONG* plValue);
BOOL BGetNodeName(IXMLDOMNode* pNode, PWSTR pszBuffer, int cchBuffer);
// The elements of that tag name at any depth below the element; TRUE when a list came back (the
// caller releases it).
BOOL BGetElementsByTagName(IXMLDOMElement* pElement, LPCWSTR pszTag, IXMLDOMNodeList** ppList);
BOOL BGetAttributeText(IXMLDOMNode* pNode, LPCWSTR pszName, PWSTR pszBuffer, int cchBuffer);

// Node name to identifier (exact comparison); the identifier is left alone when the name is unknown.
BOOL BConstraintElementId(IXMLDOMNode* pNode, DWORD* pdwId);
BOOL BAlertElementId(IXMLDOMNode* pNode, DWORD* pdwId);
BOOL BAlertFieldId(IXMLDOMNode* pNode, DWORD* pdwId);

// Text to identifier; the identifier first takes the table's "unknown" value.
BOOL BUiActionId(LPCWSTR pszText, DWORD* pdwId);          // unknown 0; "disable" 1, "enable" 2, "" 0
BOOL BConstraintActionId(LPCWSTR pszText, DWORD* pdwId);  // unknown 0; "displaymsgbox" 1, "displaybubble" 2, "" 0
BOOL BSeverityId(LPCWSTR pszText, DWORD* pdwId);          // unknown 5; "error" 1 .. "warning_h" 4
BOOL BCmdLineParamId(LPCWSTR pszText, DWORD* pdwId);      // unknown 6; "pu_exepath" 1 .. "currpaperid" 4, "" 5

// Reads one device object through the alert code's status objects. Every step leaves its result in
// *phr and a negative one stops the read. TRUE when a value was stored in the record.
BOOL BGetDeviceObjectValue(IZQDeviceChannel* pChannel, IZQObjectList* pRequest, LPCWSTR pszObjectId,
                           DeviceValueRecord* pRecord, HRESULT* phr);
