// The plug-in object as its option-item callbacks, pages and dialogs reach it: the binding's
// objects, the constraint gate, the alert gate and the page objects of the sheet. Pages hold it
// through their PageContext; nothing below the COM shell includes the shell's own header.
#pragma once

#include "common/zqprintercaps.h"
#include "platform/oemuiplatform.h"

class CZQAlertWnd;
class CZQConstraintRuleSet;
class CZQQuickSets;
class CZQDriverData;
class CZQTabBase;
class CZQUILogic;
class CZQXmlParserCommon;
class CZQXmlUiRules;
struct PageContext;
struct SheetRecord;
struct ZQOemItemPlan;

class IZQPlugin {
public:
    // ---- the binding
    virtual CZQUILogic* Logic() = 0;
    virtual CZQQuickSets* QuickSets() = 0;
    virtual PrinterCaps* Caps() = 0;
    virtual const PaperList& Papers() const = 0;
    virtual StatusRecord* Status() = 0;
    virtual CZQDriverData& DriverData() = 0;
    virtual CZQXmlUiRules* XmlUiRules() const = 0;
    virtual CZQXmlParserCommon* XmlParser() const = 0;
    // The core driver's helper interface, once published.
    virtual IPrintOemDriverUI* DriverUI() const = 0;
    // The OEMCUIPPARAM of the current CommonUIProp call and its mode (1 document, 2 printer).
    virtual POEMCUIPPARAM CUIParam() const = 0;
    virtual DWORD CUIMode() const = 0;
    // The plug-in's own items of the current call, as the count pass planned them.
    virtual const ZQOemItemPlan& OemItems() const = 0;

    // ---- the constraint gate
    virtual BOOL BConstraintsLoaded() const = 0;
    virtual BOOL BAttachConstraintDialog(PCWSTR pszFeature, HWND hDlg, int iAnchorId) = 0;
    virtual BOOL BDetachConstraintControls(PCWSTR pszFeature, HWND hDlg) = 0;
    virtual BOOL BCheckConstraint(PCWSTR pszFeature, HWND hDlg, DWORD* pdwCancelled) = 0;
    virtual BOOL BUserMediaKeyword(PCWSTR pszMediaType, PWSTR* ppszKeyword) const = 0;
    virtual BOOL BMediaTypeNameFromId(PCWSTR pszMediaType, PWSTR pszText, int cchText) const = 0;
    virtual BOOL BRunCommandLine(PCWSTR pszCommandLine) = 0;

    // ---- the alerts
    virtual BOOL BAlertsEnabled() const = 0;
    virtual BOOL BAddAlertWindow(CZQAlertWnd* pWnd) = 0;
    virtual BOOL BRemoveAlertWindow(CZQAlertWnd* pWnd) = 0;
    virtual BOOL BRefreshDeviceStatus(BOOL bPageInit) = 0;
    virtual BOOL BDrawRefreshButton(const DRAWITEMSTRUCT* pDis) const = 0;
    virtual BOOL BGetAlertIcon(HICON* phIcon) const = 0;
    // ---- the settings exchange
    // Reports the current settings of a section ("Printing/" from the document sheet, "Physical/"
    // from the device settings) back to the configuration manager, where this process may.
    virtual BOOL BExportSettings(PCWSTR pszSection) = 0;
    // After each change on a page: the public devmode's paper fields and the private devmode's
    // sections follow the page's working copy.
    virtual void VSyncAfterChange() = 0;

    // ---- the pages
    // The page object and its context of a page id (null when not made).
    virtual CZQTabBase* Tab(int iPageId) const = 0;
    virtual PageContext* Context(int iPageId) = 0;
    // The record of the sheet being shown (null between sheets).
    virtual SheetRecord* Sheet() const = 0;
    // Sheet position of a page id, -1 when the page is not in the sheet.
    virtual int ISheetPosition(int iPageId) const = 0;

protected:
    ~IZQPlugin() = default;
};
