// Services the panel and the commands of the large-format Printing Shortcuts page share: the paper
// source of a tray, the printer's forms and the alert strip.
#include "common/zqcommon.h"
#include "common/zqevents.h"
#include "common/zqhandles.h"
#include "common/zqmodule.h"
#include "common/zqstrings.h"
#include "featurelogic/zqpagegates.h"
#include "featurelogic/zquilogic.h"
#include "pages/shortcuts/zqlargeformatshortcuts.h"
#include "res/zqshortcutsids.h"

// The tray record holds the trays in the device's order; a tray it does not hold takes the
// printer's first paper source.
DWORD CZQLargeFormatShortcutsTab::DWGetTrayBinId(PageContext* pContext, int iTray) {
    DWORD id = 0;
    const PrinterCaps* caps = pContext ? ZQPrinterCapsLists(pContext->pCaps, kCapsSources) : nullptr;
    if (caps && caps->dwSourceCount && caps->pSourceIds) id = caps->pSourceIds[0];
    const POEMCUIPPARAM param = pContext && pContext->pLogic ? pContext->pLogic->Param() : nullptr;
    CZQLocalPtr<ZQTrayRecord> trays;
    DWORD count = 0;
    if (!param || iTray < 0 || !ZQReadTrayInfo(param->hPrinter, trays.Put(), &count)) return id;
    return static_cast<DWORD>(iTray) < count ? trays.Get()[iTray].dwId : id;
}

BOOL CZQLargeFormatShortcutsTab::BFormExists(PageContext* pContext, PCWSTR pszName) {
    const POEMCUIPPARAM param = pContext && pContext->pLogic ? pContext->pLogic->Param() : nullptr;
    if (!param || !pszName) return FALSE;
    CZQLocalPtr<FORM_INFO_1W> forms;
    DWORD count = 0;
    if (!CZQCommon::BEnumForms(param->hPrinter, forms.Put(), &count)) return FALSE;
    for (DWORD i = 0; i < count; ++i)
        if (forms.Get()[i].pName && ZQEqualNoCase(forms.Get()[i].pName, pszName)) return TRUE;
    return FALSE;
}

BOOL CZQLargeFormatShortcutsTab::BCreateAlertStrip(HWND hDlg, PageContext* pContext) {
    if (!hDlg || !IsWindow(hDlg) || !pContext || !pContext->pAlerts) return FALSE;
    if (!GetDlgItem(hDlg, IDC_ALERT_PLACEHOLDER) || !GetDlgItem(hDlg, IDC_ALERT_REFRESH)) return FALSE;
    m_alerts.VInit(hDlg, pContext->pAlerts, pContext->pConstraints);
    return m_alerts.Window() != nullptr;
}
