// The plug-in object's events on their way to the driver's extension modules, with the run
// switches that steer them: printer, document and driver events, and the initialisation and
// destruction of its sheets. The plug-in object makes one on its stack for a call, on its binding.
#pragma once

#include "featurelogic/zqbinding.h"
#include "platform/oemuiplatform.h"

class CZQPluginEvents {
public:
    explicit CZQPluginEvents(CZQBinding& binding) : m_b(binding) {}

    // The user's copy of the list's name (initialisation, a new connection), the hooks before, the
    // installation's own work and the reset of the property-sheet switch (initialisation), then
    // the hooks after. S_OK.
    HRESULT HrPrinterEvent(PWSTR pszPrinterName, INT iEvent, DWORD dwFlags, LPARAM lParam);
    // The hooks of the escape, then the job-storage hook at the start of a job (S_OK); E_NOTIMPL
    // for the other escapes and for a PostScript driver that keeps its document events.
    HRESULT HrDocumentEvent(HANDLE hPrinter, HDC hdc, INT iEsc, ULONG cbIn, PVOID pvIn, ULONG cbOut, PVOID pvOut,
                            PINT piResult);
    // The hooks of a driver's initialisation or deletion (S_OK); E_NOTIMPL for other events.
    HRESULT HrDriverEvent(DWORD dwEvent, DWORD dwLevel, LPBYTE pDriverInfo, LPARAM lParam);
    // A sheet's initialisation and destruction: the core driver's items hidden (document sheets,
    // when the driver says so) and the sheet's hooks, unless the conversion run switched them off.
    void VSheetEvent(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam, DWORD dwSheet);

    // The printer of the current CommonUIProp block (null before one).
    HANDLE CurrentPrinter() const { return m_b.pCUIParam ? m_b.pCUIParam->hPrinter : nullptr; }

private:
    CZQBinding& m_b;
};
