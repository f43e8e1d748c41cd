// Applying the configuration manager's stored settings while the core driver builds its option
// lists: the administrator's configuration, which the import left in the printer's data, becomes
// the printer's default. The outcome is recorded once in "DMCStatus".
#pragma once

#include "platform/oemuiplatform.h"

class CZQBinding;

class CZQConfigApply {
public:
    explicit CZQConfigApply(CZQBinding& binding) : m_b(binding) {}

    // Once per CommonUIProp of the binding's current block, mode 1 document or 2 printer
    // properties; nothing while "InstallationComplete" reads 0. Document properties apply the
    // stored printing settings to the private devmode and the core driver's items, printer
    // properties the installable options. TRUE when the pass ran and the spooler took every write
    // and deletion; FALSE (last error = its first refusal) when it did not, the pass going on all
    // the same; FALSE with last error 13 without a block or printer.
    BOOL BApplyConfigManagerData(DWORD dwMode);
    // A conversion run's snapshot inside the driver's sheet, for the run the private devmode names:
    // document properties (1) take its devmode items, its watermark, its option items and, with
    // the helper file loaded, its print quality; printer properties (2) its installable options,
    // unless the printer answered for them itself. In annotation mode the ticket module hears of
    // every item applied. Always TRUE.
    BOOL BApplyOndrelData(DWORD dwMode, const VOID* pPrivateDM);

private:
    // The printing settings; 3 when the stored trees hold any, else 2.
    DWORD DWApplyPrinting(DWORD* pdwRefused);
    // The installable options; 3 when stored ones were applied, else 2.
    DWORD DWApplyPhysical(DWORD* pdwRefused);
    // A print quality (the stored one, or the run's) through the helper file's install-time event.
    void VApplyPrintQuality(PCWSTR pszQuality);

    CZQBinding& m_b;
};
