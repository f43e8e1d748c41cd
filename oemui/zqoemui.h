// CZQOemUI: the plug-in object, one per binding of the core driver. A thin COM shell: each COM
// method forwards to an object the plug-in owns (the binding's objects and the CommonUIProp worker,
// the constraint gate, the alert gate, the settings exchange, the sheet builder with its page
// objects, the extension hooks and the run switches). Pages reach those objects through their
// PageContext, never through the shell.
//
// Where the plug-in object's other operations live (each name is the owner's):
//
//   CZQConstraintGate    BLoadConstraints, BConstraintsLoaded, BCreateConstraintControllers,
//                        BAttachConstraintDialog, BDetachConstraintControls, BCheckConstraint,
//                        BUserMediaKeyword, BMediaTypeNameFromId, BRunCommandLine
//   CZQAlertGate         BInitAlerts, VFreeAlerts, BAlertsEnabled, BAddAlertWindow,
//                        BRemoveAlertWindow, BRefreshDeviceStatus, BShowAlerts,
//                        BDrawRefreshButton, BGetAlertIcon
//   CZQSettingsExchange  VSyncAfterChange, BExportSettings
//   CZQConfigImport      BImportConfigManager, BInstallConfigFile, BFinishInstallation
//   CZQConfigApply       BApplyConfigManagerData, BApplyOndrelData
//   CZQEventHooks        BLoadEventHooks, BCallPrinterEventHooks, BCallDocumentEventHooks,
//                        BCallPropSheetHooks, BCallDriverEventHooks, BCallCommonUIPropHooks,
//                        VFreeKeptHookModules, VStoreDEMFileData, VStoreDEMFileName
//   CZQRunSwitches       BGetDriverName, BIsDPSExtensionDisabled, VResetDPSExtensionSwitch,
//                        VClearDPSExtensionDisabled, BHideNativeUI, VHideNativeOptItems,
//                        BIsPSDocumentEventEnabled, BTicketManager
//   CZQCommon            BReadUserRegValue
//   CZQBinding           VLoadXmlRulesFile
//   CZQSheetBuilder      IBuildPages, BCreateTabObjects, VDeleteTabObjects
#pragma once

#include "featurelogic/zqalertgate.h"
#include "featurelogic/zqbinding.h"
#include "featurelogic/zqconstraintgate.h"
#include "featurelogic/zqsettingsexchange.h"
#include "pages/zqsheets.h"
#include "platform/oemuiplatform.h"

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

    // ---- for the tests: the objects the shell owns
    CZQBinding& BindingForTesting() { return m_binding; }
    CZQConstraintGate& ConstraintGateForTesting() { return m_gate; }
    CZQAlertGate& AlertGateForTesting() { return m_alerts; }
    CZQSheetBuilder& SheetsForTesting() { return m_sheets; }

private:
    volatile LONG m_cRef = 1;
    // Destroyed in reverse: the pages first, then the gates (their texts come from the binding's
    // helper), then the binding.
    CZQBinding m_binding;
    CZQConstraintGate m_gate{m_binding};
    CZQAlertGate m_alerts{m_binding, m_gate};
    CZQSettingsExchange m_exchange{m_binding, &m_sheets, &m_sheets};
    CZQSheetBuilder m_sheets;
};
