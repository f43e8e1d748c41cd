// CZQOemUI: the plug-in object, one per binding of the core driver.
#pragma once

#include "common/zqcommon.h"
#include "common/zqprintercaps.h"
#include "featurelogic/zqoemitems.h"
#include "featurelogic/zquilogic.h"
#include "platform/oemuiplatform.h"
#include "settings/zqdriverdata.h"
#include "zqpages.h"

class CZQConstraintRuleSet;
class CZQXmlParserCommon;
class CZQXmlUiRules;
class IZQConstraintLogic;

class CZQOemUI : public IPrintOemUI2 {
public:
    CZQOemUI();
    virtual ~CZQOemUI();
    CZQOemUI(const CZQOemUI&) = delete;
    CZQOemUI& operator=(const CZQOemUI&) = delete;

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IPrintOemUI
    STDMETHODIMP PublishDriverInterface(IUnknown* pIUnknown) override;
    STDMETHODIMP GetInfo(DWORD dwMode, PVOID pBuffer, DWORD cbSize, PDWORD pcbNeeded) override;
    STDMETHODIMP DevMode(DWORD dwMode, POEMDMPARAM pOemDMParam) override;
    STDMETHODIMP CommonUIProp(DWORD dwMode, POEMCUIPPARAM pOemCUIPParam) override;
    STDMETHODIMP DocumentPropertySheets(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam) override;
    STDMETHODIMP DevicePropertySheets(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam) override;
    STDMETHODIMP DevQueryPrintEx(POEMUIOBJ poemuiobj, PDEVQUERYPRINT_INFO pDQPInfo, PDEVMODEW pPublicDM,
                                 PVOID pOEMDM) override;
    STDMETHODIMP DeviceCapabilities(POEMUIOBJ poemuiobj, HANDLE hPrinter, PWSTR pDeviceName, WORD wCapability,
                                    PVOID pOutput, PDEVMODEW pPublicDM, PVOID pOEMDM, DWORD dwOld,
                                    DWORD* dwResult) override;
    STDMETHODIMP UpgradePrinter(DWORD dwLevel, PBYTE pDriverUpgradeInfo) override;
    STDMETHODIMP PrinterEvent(PWSTR pPrinterName, INT iDriverEvent, DWORD dwFlags, LPARAM lParam) override;
    STDMETHODIMP DriverEvent(DWORD dwDriverEvent, DWORD dwLevel, LPBYTE pDriverInfo, LPARAM lParam) override;
    STDMETHODIMP QueryColorProfile(HANDLE hPrinter, POEMUIOBJ poemuiobj, PDEVMODEW pPublicDM, PVOID pOEMDM,
                                   ULONG ulQueryMode, VOID* pvProfileData, ULONG* pcbProfileData,
                                   FLONG* pflProfileData) override;
    STDMETHODIMP FontInstallerDlgProc(HWND hWnd, UINT usMsg, WPARAM wParam, LPARAM lParam) override;
    STDMETHODIMP UpdateExternalFonts(HANDLE hPrinter, HANDLE hHeap, PWSTR pwstrCartridges) override;

    // IPrintOemUI2
    STDMETHODIMP QueryJobAttributes(HANDLE hPrinter, PDEVMODEW pDevmode, DWORD dwLevel,
                                    LPBYTE lpAttributeInfo) override;
    STDMETHODIMP HideStandardUI(DWORD dwMode) override;
    STDMETHODIMP DocumentEvent(HANDLE hPrinter, HDC hdc, INT iEsc, ULONG cbIn, PVOID pbIn, ULONG cbOut,
                               PVOID pbOut, PINT piResult) override;

    // The core driver's helper interface, once published.
    IPrintOemDriverUI* DriverUI() const { return m_pDriverUI; }
    // The settings store of this binding.
    CZQDriverData& DriverData() { return m_driverData; }

    // Loads the driver's XML helper file into the rule engine's parser: the file named by the
    // current option of "ZQXMLFileUsed", in the driver's directory. The parser's loaded flag is set
    // only when the load succeeded.
    void VLoadXmlRulesFile(POEMCUIPPARAM pParam);
    // The same for a caller without a parameter block: the helper file of this name in the
    // printer's driver directory. A name with a path, a drive or a way up is refused and leaves
    // the rules off; a name the driver directory cannot be found for changes nothing. TRUE when
    // the file loaded.
    BOOL BLoadXmlRulesFile(HANDLE hPrinter, PCWSTR pszFileName);
    // The rule engine (null only when it could not be made) and its parser; users test the
    // parser's loaded flag before any rule call.
    CZQXmlUiRules* XmlUiRules() const { return m_pXmlUiRules; }
    CZQXmlParserCommon* XmlParser() const;
    // The OEMCUIPPARAM of the current CommonUIProp call and its mode (1 document, 2 printer).
    POEMCUIPPARAM CUIParam() const { return m_pCUIParam; }
    DWORD CUIMode() const { return m_dwCUIMode; }
    CZQCommon* Common() const { return m_pCommon; }
    // The user-interface logic of the binding, with the working copy and the per-sheet state.
    CZQUILogic* Logic() { return &m_logic; }
    // The plug-in's own items of the current call, as the count pass planned them.
    const ZQOemItemPlan& OemItems() const { return m_itemPlan; }

    // ---- printer records of the binding
    // Reads the printer capability record and the paper list for the current call's printer.
    BOOL BReadPrinterRecords(HANDLE hPrinter, const DEVMODEW* pPublicDM);
    PrinterCaps* Caps() { return &m_caps; }
    const PaperList& Papers() const { return m_paperList; }
    StatusRecord* Status() { return &m_status; }

    // ---- pages
    // The page object and its context of a page id (null when not made).
    CZQTabBase* Tab(int iPageId) const;
    PageContext* Context(int iPageId);
    template <typename T>
    T* TabAs(int iPageId) const {
        return static_cast<T*>(Tab(iPageId));
    }
    // Makes every page object of the table and the preview (the old ones go first); deletes them.
    BOOL BCreateTabObjects(const ZQSheetFacts& facts);
    void VDeleteTabObjects();
    // The preview every page paints through (null until the pages are made).
    CZQRollPreview* Preview() const { return m_pPreview; }
    // The record of the sheet being shown (null between sheets).
    SheetRecord* Sheet() const { return m_pSheetRecord; }
    // Sheet position of a page id, -1 when the page is not in the sheet.
    int ISheetPosition(int iPageId) const;

    // ---- constraint gate: the only door to the constraint rules --------------------------------
    // The user-interface logic object through which the gate and its controllers read and set
    // features (not owned); the CommonUIProp worker sets it before loading the constraints.
    void VSetConstraintLogic(IZQConstraintLogic* pLogic) { m_pConstraintLogic = pLogic; }
    // Called from CommonUIProp: with the feature "ZQConstraints" at any option, the helper file's
    // "constraints" section becomes the rule set and the three controllers are made; for the
    // document sheet the stored media and quality are then checked, with the foreground window as
    // the owner of any question. TRUE when the constraints are on.
    BOOL BLoadConstraints();
    BOOL BConstraintsLoaded() const { return m_bConstraintsOn; }
    // A page or dialog attaches the controller of the feature beside its anchor control at
    // initialisation and detaches it when it closes (the dialog argument of the detach is unused).
    BOOL BAttachConstraintDialog(PCWSTR pszFeature, HWND hDlg, int iAnchorId);
    BOOL BDetachConstraintControls(PCWSTR pszFeature, HWND hDlg);
    // Checks the feature's current option after a change; a user-defined media type is checked as
    // the media it is based on. With *pdwCancelled 1 the caller restores the previous option.
    BOOL BCheckConstraint(PCWSTR pszFeature, HWND hDlg, DWORD* pdwCancelled);
    // A user-defined media type (a "MediaType" option) through the paper list: the keyword of the
    // media it is based on (a new local-heap string), and the text shown for it (cut to the
    // capacity, always terminated). TRUE when found.
    BOOL BUserMediaKeyword(PCWSTR pszMediaType, PWSTR* ppszKeyword) const;
    BOOL BMediaTypeNameFromId(PCWSTR pszMediaType, PWSTR pszText, int cchText) const;
    // The alert icon kept by the alert gate; FALSE only without an out pointer.
    BOOL BGetAlertIcon(HICON* phIcon) const;
    // Starts the command line (at most 511 characters); a start that fails is shown to the user.
    BOOL BRunCommandLine(PCWSTR pszCommandLine);
    CZQConstraintRuleSet* ConstraintRules() const { return m_pConstraints; }

private:
    HRESULT HrPropertySheets(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam, DWORD dwSheet);
    // Lays the page contexts and adds the pages of one sheet; FALSE (nothing left added) when the
    // sheet refuses a page.
    BOOL IBuildPages(PPROPSHEETUI_INFO pPSUIInfo, DWORD dwSheet);
    void VRemoveAddedPages(POEMUIPSPARAM pSheetParam, int cAdded);
    void VEndSheet(PPROPSHEETUI_INFO pPSUIInfo);
    // Printer-data work of the INITIALIZE printer event.
    void VInitializePrinter(PCWSTR pszPrinterName);
    BOOL BCreateConstraintControllers();
    POEMCUIPPARAM PConstraintParam() const;
    // The first paper-list entry whose name is the display name of the "MediaType" option.
    const PaperListEntry* PFindUserMedia(PCWSTR pszMediaType) const;
    // The fill pass of CommonUIProp.
    void VFillPass(DWORD dwMode, POEMCUIPPARAM pParam);
    // The header values of the private devmode that follow the driver's features.
    void VFillHeaderValues(POEMCUIPPARAM pParam, ZQUIDevmode* pDevmode);

    volatile LONG m_cRef = 1;
    IPrintOemDriverUI* m_pDriverUI = nullptr;
    // Shared text and printer helper of the binding.
    CZQCommon* m_pCommon = nullptr;
    // The rule engine with the helper file's parser, for the whole binding.
    CZQXmlUiRules* m_pXmlUiRules = nullptr;
    // The settings store; its owner copies the printer-language number in before each use.
    CZQDriverData m_driverData;
    POEMCUIPPARAM m_pCUIParam = nullptr;
    DWORD m_dwCUIMode = 0;
    PrinterCaps m_caps = {};
    PaperList m_paperList = {};
    StatusRecord m_status;
    // Print-quality and media values imported from the configuration manager.
    WCHAR m_szImportedPrintQuality[256] = {};
    WCHAR m_szPrintQualityGroup[256] = {};
    WCHAR m_szImportedMediaKeyword[256] = {};
    // Printer command language for the font installer: 1 PCL, 2 other.
    DWORD m_dwPrinterLanguage = 0;
    // Page objects and their contexts, by page id; they live until the pages are built again.
    CZQTabBase* m_apTabs[kPageIdCount] = {};
    PageContext m_aContexts[kPageIdCount] = {};
    CZQRollPreview* m_pPreview = nullptr;
    SheetRecord* m_pSheetRecord = nullptr;
    PVOID m_pSavedUserData = nullptr;
    // Constraints: on after a successful load; the rule set owns the controllers.
    BOOL m_bConstraintsOn = FALSE;
    CZQConstraintRuleSet* m_pConstraints = nullptr;
    IZQConstraintLogic* m_pConstraintLogic = nullptr;
    // The alert icon of the alert gate (a shared icon, null until the alerts load it).
    HICON m_hAlertIcon = nullptr;
    CZQUILogic m_logic;
    // The plug-in's items the count pass planned, and the block it planned them for.
    ZQOemItemPlan m_itemPlan = {};
    POEMCUIPPARAM m_pPlannedParam = nullptr;
};
