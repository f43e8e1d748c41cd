#include "featurelogic/zqpluginevents.h"

#include "common/zqevents.h"
#include "common/zqhandles.h"
#include "device/zqautoconfig.h"
#include "device/zqjobstoragehook.h"
#include "featurelogic/zqsheetstate.h"
#include "settings/zqconfigimport.h"
#include "xmlrules/zqrunswitches.h"

HRESULT CZQPluginEvents::HrPrinterEvent(PWSTR pszPrinterName, INT iEvent, DWORD dwFlags, LPARAM lParam) {
    CZQEventHooks& hooks = m_b.hooks;
    CZQPrinterHandle printer;
    if (pszPrinterName) zqspool::Spooler().OpenPrinterW(pszPrinterName, printer.Put(), nullptr);
    const BOOL listed = hooks.BLoadEventHooks(printer.Get(), nullptr);
    auto raise = [&](bool bAfter) {
        const int hook = ZQPrinterEventHook(iEvent, bAfter);
        if (listed && hook >= 0) hooks.BCallPrinterEventHooks(pszPrinterName, iEvent, dwFlags, lParam, hook);
    };
    if (iEvent == PRINTER_EVENT_INITIALIZE) CZQEventHooks::VStoreDEMFileData(printer.Get());
    if (iEvent == PRINTER_EVENT_ADD_CONNECTION) CZQEventHooks::VStoreDEMFileName(printer.Get(), pszPrinterName);
    raise(false);
    if (iEvent != PRINTER_EVENT_INITIALIZE) return S_OK;
    ZQInitializePrinter(pszPrinterName);
    // The configuration manager's settings, else its configuration file; then the sheets once.
    if (!CZQConfigImport::BImportConfigManager(pszPrinterName, ZQCFG_MODE_PRINTER_EVENT, FALSE))
        CZQConfigImport::BInstallConfigFile(pszPrinterName);
    CZQConfigImport::BFinishInstallation(pszPrinterName);
    // The spooler's own run key goes: no conversion run starts here.
    CZQRunSwitches::VResetDPSExtensionSwitch(nullptr);
    CZQRunSwitches::VClearDPSExtensionDisabled(nullptr);
    // The auto-configuration without a sheet: a worker with neither items nor printer finds
    // nothing to apply; the finishing step's sheets configured the printer from its answers.
    CZQAutoConfig().VApplyDeviceUpdate();
    raise(true);
    return S_OK;
}

HRESULT CZQPluginEvents::HrDocumentEvent(HANDLE hPrinter, HDC hdc, INT iEsc, ULONG cbIn, PVOID pvIn, ULONG cbOut,
                                         PVOID pvOut, PINT piResult) {
    // A PostScript driver keeps its document events unless its switch hands them over.
    if (!CZQRunSwitches::BHandlesDocumentEvents(hPrinter)) return E_NOTIMPL;
    const int hook = ZQDocumentEventHook(iEsc);
    if (hook >= 0 && m_b.hooks.BLoadEventHooks(hPrinter, nullptr))
        m_b.hooks.BCallDocumentEventHooks(hPrinter, hdc, iEsc, cbIn, pvIn, cbOut, pvOut, piResult, hook);
    if (iEsc != DOCUMENTEVENT_STARTDOCPOST) return E_NOTIMPL;
    CZQJobStorageHook storage;
    storage.IStartDocPost(hPrinter, hdc, iEsc, cbIn, pvIn, cbOut, pvOut, piResult);
    return S_OK;
}

HRESULT CZQPluginEvents::HrDriverEvent(DWORD dwEvent, DWORD dwLevel, LPBYTE pDriverInfo, LPARAM lParam) {
    const int hook = ZQDriverEventHook(dwEvent);
    if (hook < 0) return E_NOTIMPL;
    // No printer yet: the driver is the one the record names.
    if (m_b.hooks.BLoadEventHooks(CurrentPrinter(), ZQDriverInfoName(dwLevel, pDriverInfo)))
        m_b.hooks.BCallDriverEventHooks(CurrentPrinter(), dwEvent, dwLevel, pDriverInfo, lParam, hook);
    return S_OK;
}

void CZQPluginEvents::VSheetEvent(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam, DWORD dwSheet) {
    if (!pPSUIInfo) return;
    const bool init = pPSUIInfo->Reason == PROPSHEETUI_REASON_INIT;
    if (!init && pPSUIInfo->Reason != PROPSHEETUI_REASON_DESTROY) return;
    const bool document = dwSheet == kSheetDocument;
    const VOID* dm = m_b.pCUIParam ? m_b.pCUIParam->pOEMDM : nullptr;
    if (init && document && CZQRunSwitches::BHideNativeUI(nullptr, CurrentPrinter(), dm))
        CZQRunSwitches::VHideNativeOptItems(m_b.pCUIParam);
    if (CZQRunSwitches::BIsDPSExtensionDisabled(dm) || !m_b.hooks.BLoadEventHooks(CurrentPrinter(), nullptr)) return;
    const int hook = document ? (init ? kExtDocPropSheetInit : kExtDocPropSheetDestroy)
                              : (init ? kExtDevPropSheetInit : kExtDevPropSheetDestroy);
    m_b.hooks.BCallPropSheetHooks(CurrentPrinter(), pPSUIInfo, lParam, hook);
}
