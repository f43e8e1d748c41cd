// CZQOemUI: the plug-in object, one per binding of the core driver. A thin COM shell: each method
// forwards to an object the plug-in owns (the binding's objects and the CommonUIProp worker, the
// constraint gate, the alert gate, the sheet builder with its page objects, the extension hooks and
// the run switches).
#pragma once

#include "featurelogic/zqalertgate.h"
#include "featurelogic/zqbinding.h"
#include "featurelogic/zqconfigapply.h"
#include "featurelogic/zqconstraintgate.h"
#include "featurelogic/zqdevmodesync.h"
#include "featurelogic/zqplugin.h"
#include "featurelogic/zqpluginevents.h"
#include "pages/zqsheets.h"
#include "platform/oemuiplatform.h"
#include "settings/zqconfigimport.h"
#include "xmlrules/zqrunswitches.h"

class CZQOemUI : public IPrintOemUI2, public IZQPlugin {
public:
    CZQOemUI();
    virtual ~CZQOemUI();
    CZQOemUI(const CZQOemUI&) = delete;
    CZQOemUI& operator=(const CZQOemUI&) = delete;

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IPrintOemCommon
    STDMETHODIMP GetInfo(DWORD dwMode, PVOID pBuffer, DWORD cbSize, PDWORD pcbNeeded) override;
    STDMETHODIMP DevMode(DWORD dwMode, POEMDMPARAM pOemDMParam) override;

    // IPrintOemUI
    STDMETHODIMP PublishDriverInterface(IUnknown* pIUnknown) override;
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

    // ---- IZQPlugin: the binding
    CZQUILogic* Logic() override { return &m_binding.logic; }
    CZQQuickSets* QuickSets() override { return &m_binding.quickSets; }
    PrinterCaps* Caps() override { return &m_binding.caps; }
    const PaperList& Papers() const override { return m_binding.papers; }
    StatusRecord* Status() override { return &m_binding.status; }
    CZQDriverData& DriverData() override { return m_binding.driverData; }
    CZQXmlUiRules* XmlUiRules() const override { return m_binding.pRules; }
    CZQXmlParserCommon* XmlParser() const override { return m_binding.XmlParser(); }
    IPrintOemDriverUI* DriverUI() const override { return m_binding.pDriverUI; }
    POEMCUIPPARAM CUIParam() const override { return m_binding.pCUIParam; }
    DWORD CUIMode() const override { return m_binding.dwCUIMode; }
    const ZQOemItemPlan& OemItems() const override { return m_binding.itemPlan; }
    CZQCommon* Common() const { return m_binding.pCommon; }
    void VLoadXmlRulesFile(POEMCUIPPARAM pParam) { m_binding.VLoadXmlRulesFile(pParam); }
    BOOL BLoadXmlRulesFile(HANDLE hPrinter, PCWSTR pszFileName) {
        return m_binding.BLoadXmlRulesFile(hPrinter, pszFileName);
    }
    BOOL BReadPrinterRecords(HANDLE hPrinter, const DEVMODEW* pPublicDM) {
        return m_binding.BReadPrinterRecords(hPrinter, pPublicDM);
    }

    // ---- IZQPlugin: the constraint gate
    void VSetConstraintLogic(IZQConstraintLogic* pLogic) { m_gate.VSetConstraintLogic(pLogic); }
    BOOL BLoadConstraints() { return m_gate.BLoadConstraints(); }
    BOOL BConstraintsLoaded() const override { return m_gate.BConstraintsLoaded(); }
    BOOL BAttachConstraintDialog(PCWSTR pszFeature, HWND hDlg, int iAnchorId) override {
        return m_gate.BAttachConstraintDialog(pszFeature, hDlg, iAnchorId);
    }
    BOOL BDetachConstraintControls(PCWSTR pszFeature, HWND hDlg) override {
        return m_gate.BDetachConstraintControls(pszFeature, hDlg);
    }
    BOOL BCheckConstraint(PCWSTR pszFeature, HWND hDlg, DWORD* pdwCancelled) override {
        return m_gate.BCheckConstraint(pszFeature, hDlg, pdwCancelled);
    }
    BOOL BUserMediaKeyword(PCWSTR pszMediaType, PWSTR* ppszKeyword) const override {
        return m_gate.BUserMediaKeyword(pszMediaType, ppszKeyword);
    }
    BOOL BMediaTypeNameFromId(PCWSTR pszMediaType, PWSTR pszText, int cchText) const override {
        return m_gate.BMediaTypeNameFromId(pszMediaType, pszText, cchText);
    }
    BOOL BRunCommandLine(PCWSTR pszCommandLine) override { return m_gate.BRunCommandLine(pszCommandLine); }
    CZQConstraintRuleSet* ConstraintRules() const { return m_gate.ConstraintRules(); }

    // ---- IZQPlugin: the alert gate
    BOOL BInitAlerts() { return m_alerts.BInitAlerts(); }
    void VFreeAlerts() { m_alerts.VFreeAlerts(); }
    BOOL BAlertsEnabled() const override { return m_alerts.BAlertsEnabled(); }
    BOOL BAddAlertWindow(CZQAlertWnd* pWnd) override { return m_alerts.BAddAlertWindow(pWnd); }
    BOOL BRemoveAlertWindow(CZQAlertWnd* pWnd) override { return m_alerts.BRemoveAlertWindow(pWnd); }
    BOOL BRefreshDeviceStatus(BOOL bPageInit) override { return m_alerts.BRefreshDeviceStatus(bPageInit); }
    BOOL BShowAlerts(StatusRecord* pRecord) { return m_alerts.BShowAlerts(pRecord); }
    BOOL BDrawRefreshButton(const DRAWITEMSTRUCT* pDis) const override { return m_alerts.BDrawRefreshButton(pDis); }
    BOOL BGetAlertIcon(HICON* phIcon) const override { return m_alerts.BGetAlertIcon(phIcon); }
    const CZQAlertGate& Alerts() const { return m_alerts; }
    // ---- the configuration manager: import at installation and upgrade, applying what it stored,
    // export after Apply; the devmodes after a change
    BOOL BImportConfigManager(PCWSTR pszPrinterName, DWORD dwMode, BOOL bFinish) {
        return CZQConfigImport::BImportConfigManager(pszPrinterName, dwMode, bFinish);
    }
    BOOL BInstallConfigFile(PCWSTR pszPrinterName) { return CZQConfigImport::BInstallConfigFile(pszPrinterName); }
    BOOL BFinishInstallation(PCWSTR pszPrinterName) { return CZQConfigImport::BFinishInstallation(pszPrinterName); }
    BOOL BExportSettings(PCWSTR pszSection) override;
    BOOL BApplyConfigManagerData(DWORD dwMode) { return CZQConfigApply(m_binding).BApplyConfigManagerData(dwMode); }
    void VSyncAfterChange() override;

    // ---- the extension hooks
    BOOL BLoadEventHooks(HANDLE hPrinter, PCWSTR pszDriverName) {
        return m_binding.hooks.BLoadEventHooks(hPrinter, pszDriverName);
    }
    BOOL BCallPrinterEventHooks(PCWSTR pszPrinterName, INT iEvent, DWORD dwFlags, LPARAM lParam, int iIndex) {
        return m_binding.hooks.BCallPrinterEventHooks(pszPrinterName, iEvent, dwFlags, lParam, iIndex);
    }
    BOOL BCallDocumentEventHooks(HANDLE hPrinter, HDC hdc, INT iEsc, ULONG cbIn, PVOID pvIn, ULONG cbOut,
                                 PVOID pvOut, PINT piResult, int iIndex) {
        return m_binding.hooks.BCallDocumentEventHooks(hPrinter, hdc, iEsc, cbIn, pvIn, cbOut, pvOut, piResult, iIndex);
    }
    BOOL BCallPropSheetHooks(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam, int iIndex) {
        return m_binding.hooks.BCallPropSheetHooks(CurrentPrinter(), pPSUIInfo, lParam, iIndex);
    }
    BOOL BCallDriverEventHooks(DWORD dwEvent, DWORD dwLevel, LPBYTE pDriverInfo, LPARAM lParam, int iIndex) {
        return m_binding.hooks.BCallDriverEventHooks(CurrentPrinter(), dwEvent, dwLevel, pDriverInfo, lParam, iIndex);
    }
    BOOL BCallCommonUIPropHooks(DWORD dwMode, POEMCUIPPARAM pParam, int iIndex) {
        return m_binding.hooks.BCallCommonUIPropHooks(dwMode, pParam, iIndex);
    }
    void VFreeKeptHookModules() { m_binding.hooks.VFreeKeptHookModules(); }
    void VStoreDEMFileData(HANDLE hPrinter) { CZQEventHooks::VStoreDEMFileData(hPrinter); }
    void VStoreDEMFileName(HANDLE hPrinter, PCWSTR pszPrinterName) {
        CZQEventHooks::VStoreDEMFileName(hPrinter, pszPrinterName);
    }

    // ---- the run switches and a conversion run's ticket
    static BOOL BGetDriverName(HANDLE hPrinter, PWSTR* ppszName) {
        return CZQRunSwitches::BGetDriverName(hPrinter, ppszName);
    }
    static BOOL BReadUserRegValue(PCWSTR pszSubKey, PCWSTR pszValue, BYTE** ppData) {
        return CZQCommon::BReadUserRegValue(pszSubKey, pszValue, ppData);
    }
    BOOL BIsDPSExtensionDisabled(const VOID* pPrivateDM) { return CZQRunSwitches::BIsDPSExtensionDisabled(pPrivateDM); }
    void VResetDPSExtensionSwitch(const VOID* pPrivateDM) { CZQRunSwitches::VResetDPSExtensionSwitch(pPrivateDM); }
    void VClearDPSExtensionDisabled(const VOID* pPrivateDM) { CZQRunSwitches::VClearDPSExtensionDisabled(pPrivateDM); }
    BOOL BHideNativeUI(PCWSTR pszFallbackDriver, HANDLE hPrinter, const VOID* pPrivateDM) {
        return CZQRunSwitches::BHideNativeUI(pszFallbackDriver, hPrinter, pPrivateDM);
    }
    void VHideNativeOptItems() { CZQRunSwitches::VHideNativeOptItems(m_binding.pCUIParam); }
    BOOL BIsPSDocumentEventEnabled(HANDLE hPrinter) { return CZQRunSwitches::BIsPSDocumentEventEnabled(hPrinter); }
    BOOL BTicketManager(DWORD dwAction, const VOID* pPrivateDM, PFN_ZQAnnotate* ppfnAnnotate, HMODULE* phModule) {
        return CZQRunSwitches::BTicketManager(dwAction, pPrivateDM, ppfnAnnotate, phModule);
    }
    BOOL BApplyOndrelData(DWORD dwMode, const VOID* pPrivateDM) {
        return CZQConfigApply(m_binding).BApplyOndrelData(dwMode, pPrivateDM);
    }

    // ---- IZQPlugin: the pages
    CZQTabBase* Tab(int iPageId) const override { return m_sheets.Tab(iPageId); }
    PageContext* Context(int iPageId) override { return m_sheets.Context(iPageId); }
    SheetRecord* Sheet() const override { return m_sheets.Sheet(); }
    // The preview every page paints through (null until the pages are made).
    CZQRollPreview* Preview() const { return m_sheets.Preview(); }
    int ISheetPosition(int iPageId) const override { return m_binding.logic.IGetPageIndex(nullptr, iPageId); }
    template <typename T>
    T* TabAs(int iPageId) const {
        return static_cast<T*>(Tab(iPageId));
    }
    BOOL BCreateTabObjects(const ZQSheetFacts& facts) { return m_sheets.BCreateTabObjects(facts); }
    void VDeleteTabObjects() { m_sheets.VDeleteTabObjects(); }

private:
    HANDLE CurrentPrinter() { return CZQPluginEvents(m_binding).CurrentPrinter(); }

    volatile LONG m_cRef = 1;
    // Destroyed in reverse: the pages first, then the gates (their texts come from the binding's
    // helper), then the binding.
    CZQBinding m_binding;
    CZQConstraintGate m_gate{m_binding};
    CZQAlertGate m_alerts{m_binding, m_gate};
    CZQSheetBuilder m_sheets;
};
