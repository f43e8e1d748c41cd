// Alert definitions of the helper file's "alerts_dmloids" section: which device objects to read,
// which messages their values raise, which further objects depend on a value or a bit of it, and
// which command line an alert link runs. Evaluation turns the values read from the printer into the
// status record's items.
//
// Every object owns its children (lists are CZQPtrArray; texts are local-heap copies); deleting a
// top-level definition deletes its subtree. Each class has one virtual operation, its destructor.
#pragma once

#include <windows.h>
#include <msxml.h>

#include "common/zqprintercaps.h"
#include "xmlrules/zqptrarray.h"

// Kinds of a command-line parameter (its param_value).
enum : DWORD {
    ZQ_CMDPARAM_UTILITY_PATH = 1,  // "pu_exepath"
    ZQ_CMDPARAM_PRINTER_NAME = 2,  // "printername"
    ZQ_CMDPARAM_LOCALE = 3,        // "currlocale"
    ZQ_CMDPARAM_PAPER_ID = 4,      // "currpaperid"
    ZQ_CMDPARAM_EMPTY = 5,         // an empty param_value
    ZQ_CMDPARAM_UNKNOWN = 6,
};

// A range definition may span at most this many indices: each one is a query of the printer.
inline constexpr LONG kZQMaxAlertRange = 1000;

// What the last read of a device object gave.
struct AlertValueState {
    AlertValueState() = default;
    ~AlertValueState();
    AlertValueState(const AlertValueState&) = delete;
    AlertValueState& operator=(const AlertValueState&) = delete;

    DWORD dwValue = 0;        // the number; 0 for a byte string longer than four bytes
    DWORD dwType = 0;         // type code of the device object (1, 2, 4, 8)
    DWORD cbSize = 0;         // size in bytes
    BYTE* pbBytes = nullptr;  // types 4 and 8: the bytes the device sent (local heap), read as text
};

class AlertCmdParam {
public:
    virtual ~AlertCmdParam();
    BOOL BParse(IXMLDOMNode* pNode);
    PWSTR pszName = nullptr;
    PWSTR pszValue = nullptr;  // filled when the command line is built
    DWORD dwKind = ZQ_CMDPARAM_UNKNOWN;
};

class CZQAlertCmdLine {
public:
    virtual ~CZQAlertCmdLine();
    BOOL BParse(IXMLDOMNode* pNode);
    // The command line with every parameter's current value, into a buffer of kCchText
    // characters; FALSE (and no text) when it does not fit.
    static constexpr int kCchText = 1023;
    BOOL BBuild(const StatusRecord* pRecord, PWSTR pszText);
    CZQPtrArray m_params;  // AlertCmdParam
};

class CZQAlertMsg {
public:
    virtual ~CZQAlertMsg();
    BOOL BParse(IXMLDOMNode* pNode);
    LONG m_lSetBit = 0;
    LONG m_lSetVal = 0;
    PWSTR m_pszName = nullptr;
    LONG m_lMessageId = 0;
    DWORD m_dwSeverity = ZQ_SEVERITY_NONE;
    CZQAlertCmdLine* m_pCmdLine = nullptr;  // owned, may be absent
};

// One alerts_dmloid: a device object, its messages and its dependents.
class CZQAlertOid {
public:
    virtual ~CZQAlertOid();
    BOOL BParse(IXMLDOMNode* pNode);
    void VEvaluate(StatusRecord* pRecord);
    PWSTR m_pszName = nullptr;
    PWSTR m_pszObjectId = nullptr;  // a format with one integer in a range definition
    AlertValueState m_value;
    CZQPtrArray m_dependents;  // CZQDependentAlerts
    CZQPtrArray m_messages;    // CZQAlertMsg
    LONG m_lSuffixId = -1;

protected:
    // The messages and dependents of a value just read; a bit field's dependents get the bit
    // number plus one, or lDependentParam when it is given (range definitions).
    void VEvaluateValue(StatusRecord* pRecord, const LONG* plDependentParam);
};

// One dependent_alerts_dmloids: definitions read when a value or a bit of the parent matches.
class CZQDependentAlerts {
public:
    virtual ~CZQDependentAlerts();
    BOOL BParse(IXMLDOMNode* pNode);
    void VEvaluate(StatusRecord* pRecord, LONG lParam);
    LONG m_lSetBit = -1;  // -1: any bit
    LONG m_lSetVal = -1;  // -1: any value
    PWSTR m_pszName = nullptr;
    CZQPtrArray m_oids;      // CZQAlertOid
    CZQPtrArray m_dynamics;  // CZQDynamicAlertOid
    CZQPtrArray m_ranges;    // CZQRangeAlertOid
};

// An object whose identifier is formatted with the parameter its parent hands down.
class CZQDynamicAlertOid {
public:
    virtual ~CZQDynamicAlertOid();
    BOOL BParse(IXMLDOMNode* pNode);
    void VEvaluate(StatusRecord* pRecord, LONG lParam);
    PWSTR m_pszName = nullptr;
    PWSTR m_pszFormat = nullptr;
    AlertValueState m_value;
    CZQPtrArray m_messages;  // CZQAlertMsg
    LONG m_lSuffixId = -1;
};

// An object read once for every index from range_lo to range_hi.
class CZQRangeAlertOid : public CZQAlertOid {
public:
    BOOL BParse(IXMLDOMNode* pNode);
    void VEvaluate(StatusRecord* pRecord);
    LONG m_lRangeHi = 0;
    LONG m_lRangeLo = 0;
    LONG m_lCurrent = 0;
};

// Reads the one "alerts_dmloids" element of the document into the list (CZQAlertOid, document
// order); a definition that fails to parse is dropped. With no such element or several, nothing is
// loaded and the answer is TRUE; with one, TRUE when at least one definition was kept.
BOOL BLoadAlertDefinitions(IXMLDOMDocument* pDocument, CZQPtrArray& definitions);
void VFreeAlertDefinitions(CZQPtrArray& definitions);
// Evaluates every definition in order against the record's status objects, adding its items.
void VEvaluateAlertDefinitions(const CZQPtrArray& definitions, StatusRecord* pRecord);

// Lookups by name over the definitions as last evaluated: a definition's own name, then within its
// dependents the dynamic definitions and the nested definitions (range definitions are not
// searched). A dynamic definition gives its value only for types 4 and 8. The text is the stored
// bytes as text for type 4 and the value in signed decimal otherwise.
BOOL BFindAlertValue(const CZQPtrArray& definitions, PCWSTR pszName, DWORD* pdwValue);
BOOL BFindAlertText(const CZQPtrArray& definitions, PCWSTR pszName, PWSTR pszText, int cchText);
// Whether the named definition, found as the lookups find it, gives a value read from the printer
// (a definition never answered holds no value, whatever the lookups report).
bool BAlertValueRead(const CZQPtrArray& definitions, PCWSTR pszName);

// The path of the maker's utility program ("RunCC", at most cchPath - 1 characters, REG_SZ only);
// empty and FALSE when it is not installed or the value is not such a text.
BOOL BReadUtilityPath(PWSTR pszPath, DWORD cchPath);

// A format of the helper file for one integer: exactly one %d, %i or %u, and %% for a percent.
bool BIsOneIntegerFormat(PCWSTR pszFormat);
// The format with the number in place of its conversion, at most cchOut - 1 characters; FALSE when
// the format is not one BIsOneIntegerFormat accepts or the text does not fit.
BOOL BFormatObjectId(PCWSTR pszFormat, LONG lNumber, PWSTR pszOut, size_t cchOut);
