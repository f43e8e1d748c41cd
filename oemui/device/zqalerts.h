// CZQAlerts: the alert model. It owns the helper file's alert definitions and, on each refresh,
// rebuilds the status record's items: the fixed alerts that no definition raises (the printer-care
// utility not running, the paper list not updated, wrong media or size in the tray, the printer
// unreachable) and what the definitions raise from the printer's status objects. Items carry
// string ids of the status module; ZQAlertItemText turns an item into the text a row shows.
#pragma once

#include <windows.h>
#include <msxml.h>

#include "common/zqprintercaps.h"
#include "xmlrules/zqptrarray.h"

class CZQCommon;

// String ids of the fixed alerts.
enum : LONG {
    kZQAlertCareNotRunning = 5933,  // warning
    kZQAlertPaperListOld = 5932,    // warning with link: the paper-update command line
    kZQAlertTrayMedia = 5925,       // error
    kZQAlertTraySize = 5927,        // error
    kZQAlertUnreachable = 6006,     // error, at the head of the list
    kZQAlertProductName = 6048,     // the argument of a one-id alert text
    kZQAlertUnavailableId = -128,   // an id that shows the fixed unavailability text
};

class CZQAlerts {
public:
    CZQAlerts() = default;
    ~CZQAlerts();
    CZQAlerts(const CZQAlerts&) = delete;
    CZQAlerts& operator=(const CZQAlerts&) = delete;

    // The helper file's definitions; FALSE without a document or when a section gave no
    // definition. A document without the section, or with several, loads none and answers TRUE.
    BOOL BLoad(IXMLDOMDocument* pDocument);
    // Rebuilds the record's items from the registry and the printer; FALSE only without a record.
    // Queues on a file or a file path are never queried; status objects that cannot be opened
    // give the unreachable alert at the head of the list.
    BOOL BRefresh(StatusRecord* pRecord);
    // Every definition in order against the record's status objects; TRUE when the record then
    // holds at least one item.
    BOOL BEvaluateAll(StatusRecord* pRecord);
    BOOL BFindValue(PCWSTR pszName, DWORD* pdwValue) const;
    BOOL BFindText(PCWSTR pszName, PWSTR pszText, int cchText) const;
    const CZQPtrArray& Definitions() const { return m_definitions; }

    // The paper-update command line for the record's printer and locale, a new local-heap string;
    // null without the utility or when the line would not fit.
    static PWSTR PszPaperUpdateCommandLine(const StatusRecord* pRecord);

private:
    BOOL BOpenStatusObjects(StatusRecord* pRecord);
    static void VCloseStatusObjects(StatusRecord* pRecord);
    void VTrayChecks(StatusRecord* pRecord) const;

    CZQPtrArray m_definitions;  // CZQAlertOid, document order
    StatusRecord* m_pCurrent = nullptr;  // during a refresh
};

// The icon kind of a row for an item's severity.
DWORD ZQAlertKind(DWORD dwSeverity);

// The text of an item as a row shows it, from the texts of the status module (pTexts), at most
// cchText - 1 characters. One id: its text with the product name as argument (-128: the fixed
// unavailability text); several: the last id's text with the texts of the others joined by "-",
// an empty text when the last one cannot be loaded. FALSE, with nothing to show, for an item
// without ids or a single id below 1 or without a text.
BOOL ZQAlertItemText(const StatusItem& item, CZQCommon* pTexts, PWSTR pszText, size_t cchText);

// The text with each "%s" replaced by the next argument and "%%" by "%"; everything else, a "%s"
// beyond the arguments included, is copied as it stands. Cut to cchOut - 1 characters.
void ZQFormatAlertText(PCWSTR pszFormat, const PCWSTR* ppszArgs, int nArgs, PWSTR pszOut, size_t cchOut);
