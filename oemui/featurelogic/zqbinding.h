// What lives as long as one binding of the core driver, apart from the pages: the text helper,
// the rule engine with the helper file's parser, the settings store, the current CommonUIProp block,
// the printer records, the user-interface logic, the quick-set manager, the watermark manager, the
// plug-in's own items and the extension hooks.
// The plug-in object owns one; the CommonUIProp worker and the constraint gate work on it.
#pragma once

#include "platform/zqprinterview.h"
#include "common/zqcommon.h"
#include "common/zqprintercaps.h"
#include "featurelogic/zqoemitems.h"
#include "featurelogic/zqquicksets.h"
#include "featurelogic/zquilogic.h"
#include "featurelogic/zqwatermarks.h"
#include "settings/zqdriverdata.h"
#include "xmlrules/zqeventhooks.h"

class CZQXmlParserCommon;
class CZQXmlUiRules;

class CZQBinding {
public:
    CZQBinding();
    ~CZQBinding();
    CZQBinding(const CZQBinding&) = delete;
    CZQBinding& operator=(const CZQBinding&) = delete;

    // The helper file's parser of the rule engine (null only when the engine could not be made).
    CZQXmlParserCommon* XmlParser() const;
    // Opens the printer capability record (its lists are read when first used) and reads the paper
    // list for the printer; FALSE when either could not be read whole (what could not be read stays
    // empty).
    BOOL BReadPrinterRecords(HANDLE hPrinter, const DEVMODEW* pPublicDM);
    // Loads the driver's XML helper file: the file named by the current option of "ZQXMLFileUsed",
    // in the driver's directory. The parser's loaded flag is set only when the load succeeded.
    void VLoadXmlRulesFile(POEMCUIPPARAM pParam);
    // The same for a file name (no path, drive, stream or way up) of the printer's driver directory;
    // TRUE when it loaded.
    BOOL BLoadXmlRulesFile(HANDLE hPrinter, PCWSTR pszFileName);

    // ---- what the plug-in object's COM methods hand to the binding
    // The private devmode's signature or version (OEMGI_GETSIGNATURE, OEMGI_GETVERSION).
    static HRESULT HrGetInfo(DWORD dwMode, PVOID pBuffer, DWORD cbSize, PDWORD pcbNeeded);
    // The private devmode's size, defaults, conversion and merge.
    HRESULT HrDevMode(DWORD dwMode, POEMDMPARAM pOemDMParam);
    // Keeps the core driver's helper interface (one reference, the previous one released).
    HRESULT HrPublishDriverInterface(IUnknown* pIUnknown);
    // The font installer of the device settings, for the current call.
    HRESULT HrFontInstallerDlgProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

    // Shared text and printer helper (owned).
    CZQCommon* pCommon = nullptr;
    // The rule engine with the helper file's parser (owned).
    CZQXmlUiRules* pRules = nullptr;
    // The core driver's helper interface, once published (one reference).
    IPrintOemDriverUI* pDriverUI = nullptr;
    // The settings store; its owner copies the printer-language number in before each use.
    CZQDriverData driverData;
    // The block of the current CommonUIProp call and its mode (1 document, 2 printer).
    POEMCUIPPARAM pCUIParam = nullptr;
    DWORD dwCUIMode = 0;
    PrinterCaps caps = {};
    PaperList papers = {};
    StatusRecord status;
    // Printer command language for the font installer: 1 PCL, 2 other.
    DWORD dwPrinterLanguage = 0;
    // The user-interface logic, with the working copy and the per-sheet state.
    CZQUILogic logic;
    // The quick-set manager, on the same block as the logic.
    CZQQuickSets quickSets;
    // The plug-in's own watermark manager, which keeps the printer's watermark pool.
    CZQWatermarks watermarks;
    // The plug-in's items the count pass planned, and the block it planned them for.
    ZQOemItemPlan itemPlan = {};
    POEMCUIPPARAM pPlannedParam = nullptr;
    // The driver's extension modules: their lists, and the modules the sheets' hooks keep.
    CZQEventHooks hooks;
    // The sheet's view of its printer's data and records, from the first DevMode or CommonUIProp call
    // to the sheet's end.
    zqspool::CZQPrinterDataView dataView;
};
