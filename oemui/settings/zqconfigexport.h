// The export after Apply: the current settings reported back to the configuration manager, item by
// item in its own vocabulary, so that the configuration follows the printer. The document pages
// export the section "Printing/", the device settings "Physical/". Inside the shell's process the
// export always runs, elsewhere only when the printer's data "AlwaysExport" asks for it.
#pragma once

#include "common/zqcommon.h"

class CZQConfigManager;

// The sections an export reports.
inline constexpr WCHAR kZQExportPrinting[] = L"Printing/";
inline constexpr WCHAR kZQExportPhysical[] = L"Physical/";
class CZQXmlUiRules;

// What an export reads besides the printer's data and the core driver's items.
struct ZQExportSources {
    POEMCUIPPARAM pParam;   // the current CommonUIProp block
    CZQCommon* pTexts;      // the status module's texts (null: English fall-backs)
    CZQXmlUiRules* pRules;  // the helper file's rule engine (null: none)
};

class CZQSettingsExport {
public:
    explicit CZQSettingsExport(const ZQExportSources& sources) : m_src(sources) {}

    // Runs the export of the section when this process may export; its answer as the export's
    // (the callers go on with Apply whatever it is).
    BOOL BExportSettings(PCWSTR pszSection);
    // "AlwaysExport" reads as a non-zero number.
    static BOOL BIsAlwaysExport(HANDLE hPrinter);
    // The process whose module path this is is the shell (its file name is "explorer.exe").
    static BOOL BIsShellModule(PCWSTR pszModulePath);
    // The export itself: "Printing/" three levels deep, "Physical/" one level; "Stale" = "False"
    // after it. TRUE when the manager took the export and "Stale" is "False"; FALSE with the
    // spooler's answer when "Stale" could not be written (the manager has the export then, and the
    // next printer-initialisation event will not import again).
    BOOL BExportToConfigManager(PCWSTR pszSection);

    // The value of one item (pszValue holds 256 characters; left as the caller gave it, empty, when
    // it cannot be worked out).
    void VGetPrintingExportValue(PCWSTR pszName, PWSTR pszValue);
    void VGetPhysicalExportValue(PCWSTR pszName, PWSTR pszValue);
    void VGetSpecialExportValue(PCWSTR pszName, PWSTR pszValue);
    // The option keyword of a paper-source number (kind 0) or media-type number (kind 1).
    void VSourceOrMediaToKeyword(DWORD dwNumber, PWSTR pszKeyword, int iKind);
    // The paper keyword of the private devmode's target paper, cut at "~".
    void VGetTargetPaperKeyword(PWSTR pszKeyword);
    void VGetPostScriptToggleValue(PCWSTR pszName, PWSTR pszValue);

private:
    void VExportPhysical(const CZQConfigManager& manager);
    void VExportPrinting(const CZQConfigManager& manager);
    void VPublicItemValue(PCWSTR pszName, BYTE bPubId, PWSTR pszValue);

    ZQExportSources m_src;
};
