// CZQOemUI: the plug-in object, one per binding of the core driver.
#pragma once

#include "common/zqcommon.h"
#include "platform/oemuiplatform.h"
#include "settings/zqdriverdata.h"

class CZQXmlParserCommon;

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

    // Loads the driver's XML helper file: the file named by the current option of "ZQXMLFileUsed",
    // in the driver's directory. The parser's loaded flag is set only when the load succeeded.
    void VLoadXmlRulesFile(POEMCUIPPARAM pParam);
    // The helper file's parser (null only when it could not be made); users test its loaded flag.
    CZQXmlParserCommon* XmlParser() const { return m_pXmlParser; }

private:
    volatile LONG m_cRef = 1;
    IPrintOemDriverUI* m_pDriverUI = nullptr;
    // Shared text and printer helper of the binding.
    CZQCommon* m_pCommon = nullptr;
    // The rule engine's parser of the helper file, for the whole binding.
    CZQXmlParserCommon* m_pXmlParser = nullptr;
    // The settings store; its owner copies the printer-language number in before each use.
    CZQDriverData m_driverData;
};
