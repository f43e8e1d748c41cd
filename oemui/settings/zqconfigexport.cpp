// The export after Apply: each item the configuration manager knows gets the current setting, as
// the manager names it.
#include "settings/zqconfigexport.h"

#include <cwchar>

#include "common/zqkeywords.h"
#include "common/zqstrings.h"
#include "common/zqtrace.h"
#include "formats/zquidevmode.h"
#include "settings/zqconfigmgr.h"
#include "settings/zqdriverdata.h"
#include "settings/zqoptionlists.h"
#include "xmlrules/zqxmluirules.h"

namespace {

namespace zs = zqsettings;
constexpr size_t kChars = zs::kItemChars;

using zs::kCapsPort;
// Source 15 is the core driver's automatic selection.
constexpr DWORD kAutoSelectSource = DMBIN_FORMSOURCE;
constexpr INT kNoWatermarkTextId = 874;
constexpr WCHAR kNoWatermarkText[] = L" [none]";

// Accessory items: the manager may know several part numbers for one installed accessory.
constexpr PCWSTR kAccessoryItems[] = {zqkw::kAccessoryOutputBins, zqkw::kZQPunchUnitType, zqkw::kZQPostInsertionKit,
                                      L"OptionalPaperSources"};

// Items whose value is a paper source (kind 0) or media type (kind 1) of the private devmode.
struct DevmodeChoice {
    PCWSTR pszName;
    uint32_t ZQUIDevmode::*field;
    int iKind;
};
constexpr DevmodeChoice kDevmodeChoices[] = {
    {zqkw::kInputBin, &ZQUIDevmode::dwOtherPagesSource, 0},
    {L"InputBinRest", &ZQUIDevmode::dwOtherPagesSource, 0},
    {L"BackCoverTrayChoice", &ZQUIDevmode::dwBackCoverSource, 0},
    {zqkw::kMediaType, &ZQUIDevmode::dwOtherPagesMedia, 1},
    {L"MediaTypeRest", &ZQUIDevmode::dwOtherPagesMedia, 1},
    {L"BackCoverMediaTypeSetting", &ZQUIDevmode::dwBackCoverMedia, 1},
};

template <size_t N>
bool OnList(const PCWSTR (&list)[N], PCWSTR pszName) {
    for (PCWSTR name : list)
        if (ZQEqualNoCase(name, pszName)) return true;
    return false;
}

void SetText(PWSTR pszOut, PCWSTR pszText) { ZQCopyText(pszOut, kChars, pszText); }
void SetNumber(PWSTR pszOut, LONG lValue) { ZQFormatText(pszOut, kChars, L"%ld", lValue); }

// A driver keyword in the manager's words: through the item's value table, else as it stands.
void MapBack(PCWSTR pszItem, PCWSTR pszKeyword, PWSTR pszValue) {
    WCHAR mapped[kChars];
    SetText(pszValue, CZQDriverData::BMapDriverValueBack(pszItem, pszKeyword, mapped) ? mapped : pszKeyword);
}

using StringList = zs::CZQStringList;

// The items the configuration knows of a section, listed in its factory context; the export then
// writes in its current context.
bool BListSection(const CZQConfigManager& manager, PCWSTR pszFactory, PCWSTR pszCurrent, PWSTR pszList) {
    manager.Api().DMCSetContextPRV(pszFactory);
    const bool listed = manager.BListBelow(L"", pszList);
    manager.Api().DMCSetContextPRV(pszCurrent);
    return listed;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// When and what to export
// ---------------------------------------------------------------------------------------------
BOOL CZQSettingsExport::BExportSettings(PCWSTR pszSection) {
    ZQ_TRACE("CZQSettingsExport::BExportSettings");
    if (!m_src.pParam) return FALSE;
    WCHAR module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    module[MAX_PATH - 1] = 0;
    if (!BIsShellModule(module) && !BIsAlwaysExport(m_src.pParam->hPrinter)) return FALSE;
    return BExportToConfigManager(pszSection);
}

BOOL CZQSettingsExport::BIsAlwaysExport(HANDLE hPrinter) {
    DWORD value = 0;
    return CZQDriverData::BGetPrinterDataDword(hPrinter, zs::kAlwaysExport, &value) && value != 0;
}

BOOL CZQSettingsExport::BIsShellModule(PCWSTR pszModulePath) {
    if (!pszModulePath) return FALSE;
    PCWSTR file = pszModulePath;
    for (PCWSTR p = pszModulePath; *p; ++p)
        if (*p == L'\\' || *p == L',') file = p + 1;
    return ZQEqualNoCase(file, L"explorer.exe");
}

BOOL CZQSettingsExport::BExportToConfigManager(PCWSTR pszSection) {
    ZQ_TRACE("CZQSettingsExport::BExportToConfigManager");
    const POEMCUIPPARAM p = m_src.pParam;
    const bool physical = pszSection && ZQEqualNoCase(pszSection, kZQExportPhysical);
    const bool printing = pszSection && ZQEqualNoCase(pszSection, kZQExportPrinting);
    // Another section exports nothing, and opens no export it would not end.
    if (!p || !p->hPrinter || !p->pPrinterName || (!physical && !printing)) return FALSE;
    CZQLocalPtr<WCHAR> exist, exportOnly;
    if (!CZQDriverData::BGetPrinterData(p->hPrinter, zs::kDMCExist, exist.Put()) &&
        !CZQDriverData::BGetPrinterData(p->hPrinter, zs::kDMCExportOnly, exportOnly.Put()))
        return FALSE;
    WCHAR path[MAX_PATH];
    BOOL exportFileOnly = FALSE;
    if (!CZQConfigManager::BFindConfigManagerFile(p->hPrinter, path, kZQCfgMgrFile, &exportFileOnly) &&
        !exportFileOnly)
        return FALSE;
    CZQConfigManager manager;
    if (!manager.BLoad(path) || !manager.BBound() || !manager.BRegister()) return FALSE;
    const CZQConfigSessionLock session;
    const ConfigEntryPoints& api = manager.Api();
    if (api.DMCStartExport(p->pPrinterName, kZQCfgExportKind, 1) != 1) return FALSE;
    if (physical) VExportPhysical(manager);
    else VExportPrinting(manager);
    const DWORD staleError =
        CZQDriverData::BSetPrinterData(p->hPrinter, zs::kStale, zs::kFalse) ? ERROR_SUCCESS : GetLastError();
    api.DMCEndExport();
    if (staleError == ERROR_SUCCESS) return TRUE;
    zqtrace::Line(L"CZQSettingsExport: Stale not written\n");
    SetLastError(staleError);
    return FALSE;
}

void CZQSettingsExport::VExportPhysical(const CZQConfigManager& manager) {
    const ConfigEntryPoints& api = manager.Api();
    WCHAR list[zqcfg::kListChars];
    const bool listed = BListSection(manager, L"factory/physical/", L"current/physical/", list);
    WCHAR name[zqcfg::kValueChars];
    for (int i = 0; listed && i < zqcfg::kMaxListNames && manager.BNextName(name, list); ++i) {
        WCHAR value[kChars] = {};
        if (!OnList(kAccessoryItems, name)) {
            VGetPhysicalExportValue(name, value);
            if (value[0]) api.DMCSetExport(name, value);
            continue;
        }
        // Each part number of the installed accessory in turn, then the accessory's own name.
        CZQLocalPtr<WCHAR> option;
        if (CZQCommon::DWGetFeatureOption(m_src.pParam, name, option.Put()) != ZQOPT_OK) continue;
        SetText(value, option.Get());
        int row = -1;
        BOOL found = CZQDriverData::BMapAccessoryBack(value, 0, &row);
        LONG accepted = api.DMCSetExport(name, value);
        while (accepted != 1 && found) {
            SetText(value, option.Get());
            found = CZQDriverData::BMapAccessoryBack(value, row + 1, &row);
            accepted = api.DMCSetExport(name, value);
        }
    }
}

void CZQSettingsExport::VExportPrinting(const CZQConfigManager& manager) {
    const ConfigEntryPoints& api = manager.Api();
    WCHAR list[zqcfg::kListChars];
    if (!BListSection(manager, L"factory/Printing/", L"current/Printing/", list)) return;
    manager.IWalkThreeLevels(kZQExportPrinting, list, [&](int, PCWSTR pszName) {
        WCHAR value[kChars] = {};
        VGetPrintingExportValue(pszName, value);
        if (value[0]) api.DMCSetExport(pszName, value);
    });
}

// ---------------------------------------------------------------------------------------------
// Values
// ---------------------------------------------------------------------------------------------
void CZQSettingsExport::VGetPrintingExportValue(PCWSTR pszName, PWSTR pszValue) {
    const POEMCUIPPARAM p = m_src.pParam;
    if (!p || !pszName || !pszValue) return;
    if (CZQDriverData::BIsSpecialExportItem(pszName)) {
        VGetSpecialExportValue(pszName, pszValue);
        return;
    }
    if (CZQDriverData::BIsDevModeItem(pszName)) {
        CZQDriverData::BGetDevModeItemValue(p, pszName, pszValue);
        if (!ZQEqualNoCase(pszName, zqkw::kWatermarks) || !pszValue[0]) return;
        // No watermark reads as the manager's "None".
        WCHAR none[CZQCommon::kResStringChars];
        if (!m_src.pTexts || !m_src.pTexts->BLoadResString(kNoWatermarkTextId, none)) SetText(none, kNoWatermarkText);
        if (ZQEqualNoCase(pszValue, none)) SetText(pszValue, L"None");
        return;
    }
    WCHAR keyword[kChars];
    BYTE pubId = 0;
    if (CZQDriverData::BMapConfigName(p, pszName, keyword, &pubId)) {
        VPublicItemValue(pszName, pubId, pszValue);
        return;
    }
    CZQLocalPtr<WCHAR> option;
    if (CZQCommon::DWGetFeatureOption(p, keyword, option.Put()) != ZQOPT_OK) return;
    MapBack(pszName, option.Get(), pszValue);
    if (ZQEqualNoCase(pszName, L"StaplerChoice")) SetText(pszValue, ZQEqualNoCase(pszValue, L"None") ? L"FALSE" : L"TRUE");
}

void CZQSettingsExport::VPublicItemValue(PCWSTR pszName, BYTE bPubId, PWSTR pszValue) {
    const POEMCUIPPARAM p = m_src.pParam;
    POPTITEM item = nullptr;
    if (CZQCommon::DWFindOptItemByPubId(p, bPubId, 0, &item) != ZQOPT_OK) return;
    switch (bPubId) {
        case DMPUB_DUPLEX: {
            bool on = item->Sel != 0;
            // Two-sided printing by hand counts as two-sided.
            if (!on && ZQEqualNoCase(pszName, zqkw::kDuplexItem)) {
                const ZQUIDevmode* dm = zqdm::CurrentBlock(p->pOEMDM);
                on = dm && dm->dwManualDuplex == 1;
            }
            SetText(pszValue, on ? L"TRUE" : L"FALSE");
            return;
        }
        case DMPUB_PAGEORDER: SetText(pszValue, item->Sel ? L"BackToFront" : L"FrontToBack"); return;
        case DMPUB_COPIES_COLLATE: SetNumber(pszValue, item->Sel); return;
        default: break;
    }
    CZQLocalPtr<WCHAR> display;
    if (CZQCommon::DWGetPubSelectionName(p, bPubId, display.Put()) != ZQOPT_OK) return;
    if (bPubId != DMPUB_FORMNAME) {
        MapBack(pszName, display.Get(), pszValue);
        return;
    }
    // The paper by its keyword at the display name's place.
    CZQLocalPtr<WCHAR> keyword;
    if (CZQCommon::DWOptionNameToKeyword(p, zqkw::kPaperSize, display.Get(), keyword.Put()) != ZQOPT_OK &&
        CZQCommon::DWOptionNameToKeyword(p, zqkw::kPageSize, display.Get(), keyword.Put()) != ZQOPT_OK)
        return;
    WCHAR paper[kChars];
    SetText(paper, keyword.Get());
    zs::VCutAtTilde(paper);
    MapBack(pszName, paper, pszValue);
}

void CZQSettingsExport::VGetSpecialExportValue(PCWSTR pszName, PWSTR pszValue) {
    const POEMCUIPPARAM p = m_src.pParam;
    if (!p || !pszName || !pszValue) return;
    if (ZQEqualNoCase(pszName, zqkw::kPrintQuality)) {
        CZQXmlUiRules* rules = m_src.pRules;
        if (!rules || !rules->Parser().BIsLoaded()) return;
        // The helper file's upgrade event turns the current quality group into the manager's value.
        CZQXmlParserCommon& parser = rules->Parser();
        CZQLocalPtr<WCHAR> group;
        const bool read = CZQCommon::DWGetFeatureOption(p, zqkw::kPrintQualityGroup, group.Put()) == ZQOPT_OK;
        ZQCopyText(parser.m_szQualityGroupValue, ARRAYSIZE(parser.m_szQualityGroupValue), read ? group.Get() : L"");
        rules->BRunMacroSwitch(parser.EventList(), L"DMCUpgradeTime");
        SetText(pszValue, parser.m_szQualityImportValue);
        return;
    }
    if (ZQEqualNoCase(pszName, L"TargetSizeChoice") || ZQEqualNoCase(pszName, L"BookletTargetSize")) {
        WCHAR paper[kChars] = {};
        VGetTargetPaperKeyword(paper);
        if (paper[0]) MapBack(pszName, paper, pszValue);
        return;
    }
    if (ZQEqualNoCase(pszName, L"MirrorPrint") || ZQEqualNoCase(pszName, L"NegativePrint") ||
        ZQEqualNoCase(pszName, L"LanguageLevel")) {
        VGetPostScriptToggleValue(pszName, pszValue);
        return;
    }
    const ZQUIDevmode* dm = zqdm::CurrentBlock(p->pOEMDM);
    if (!dm) return;
    for (const DevmodeChoice& c : kDevmodeChoices) {
        if (!ZQEqualNoCase(c.pszName, pszName)) continue;
        const DWORD number = dm->*c.field;
        if (ZQEqualNoCase(pszName, zqkw::kInputBin) && number == kAutoSelectSource)
            SetText(pszValue, L"AutomaticallySelect");
        else VSourceOrMediaToKeyword(number, pszValue, c.iKind);
        return;
    }
}

void CZQSettingsExport::VSourceOrMediaToKeyword(DWORD dwNumber, PWSTR pszKeyword, int iKind) {
    const POEMCUIPPARAM p = m_src.pParam;
    if (!p || !p->pPrinterName || !pszKeyword) return;
    DWORD ids = 0, names = 0;
    CZQLocalPtr<WCHAR> nameList;
    if (iKind == 1) {
        CZQLocalPtr<DWORD> media;
        if (!CZQCommon::BGetMediaTypeIndices(p->pPrinterName, kCapsPort, p->pPublicDM, &ids, media.Put()) ||
            !CZQCommon::BGetMediaTypeNames(p->pPrinterName, kCapsPort, p->pPublicDM, &names, nameList.Put()) ||
            ids != names)
            return;
        const int at = zs::IPositionOf(media.Get(), ids, dwNumber);
        CZQLocalPtr<WCHAR> keyword;
        if (at >= 0 &&
            CZQCommon::DWOptionNameToKeyword(p, zqkw::kMediaType, nameList.Get() + at * CZQCommon::kMediaNameChars,
                                             keyword.Put()) == ZQOPT_OK)
            SetText(pszKeyword, keyword.Get());
        return;
    }
    POPTITEM item = nullptr;
    CZQLocalPtr<WCHAR> feature;
    CZQLocalPtr<WORD> bins;
    if (CZQCommon::DWFindOptItemByPubId(p, DMPUB_DEFSOURCE, 0, &item) != ZQOPT_OK || !zs::BItemFeature(item, feature) ||
        !CZQCommon::BGetPaperSourceIndices(p->pPrinterName, kCapsPort, p->pPublicDM, &ids, bins.Put()) ||
        !CZQCommon::BGetPaperSourceNames(p->pPrinterName, kCapsPort, p->pPublicDM, &names, nameList.Put()) ||
        ids != names)
        return;
    const int at = zs::IPositionOf(bins.Get(), ids, dwNumber);
    StringList keywords, displayNames;
    if (at < 0 ||
        CZQCommon::DWGetOptionKeywords(p, feature.Get(), &keywords.p, &keywords.n, OEMCUIP_DOCPROP) != ZQOPT_OK ||
        CZQCommon::DWGetOptionNames(p, feature.Get(), &displayNames.p, &displayNames.n) != ZQOPT_OK)
        return;
    // The source's first option has no name of its own: display name i - 1 goes with keyword i.
    PCWSTR sourceName = nameList.Get() + at * CZQCommon::kBinNameChars;
    for (int i = 1; i < keywords.n && i - 1 < displayNames.n; ++i) {
        if (!ZQEqualNoCase(displayNames.p[i - 1], sourceName)) continue;
        SetText(pszKeyword, keywords.p[i]);
        return;
    }
}

void CZQSettingsExport::VGetTargetPaperKeyword(PWSTR pszKeyword) {
    const POEMCUIPPARAM p = m_src.pParam;
    const ZQUIDevmode* dm = p ? zqdm::CurrentBlock(p->pOEMDM) : nullptr;
    if (!dm || !p->pPrinterName || !pszKeyword) return;
    StringList keywords;
    if (zs::DWGetPaperKeywords(p, keywords) != ZQOPT_OK) return;
    DWORD count = 0;
    CZQLocalPtr<WORD> papers;
    if (!CZQCommon::BGetPaperSizeIndices(p->pPrinterName, kCapsPort, p->pPublicDM, &count, papers.Put())) return;
    const int at = zs::IPositionOf(papers.Get(), count, dm->dwPrintedOnPaper);
    if (at < 0 || at >= keywords.n) return;
    SetText(pszKeyword, keywords.p[at]);
    zs::VCutAtTilde(pszKeyword);
}

void CZQSettingsExport::VGetPostScriptToggleValue(PCWSTR pszName, PWSTR pszValue) {
    POPTITEM item = nullptr;
    if (!pszValue || CZQDriverData::DWFindPostScriptToggleItem(m_src.pParam, pszName, &item) != ZQOPT_OK) return;
    if (ZQEqualNoCase(pszName, L"LanguageLevel")) SetNumber(pszValue, item->Sel);
    else SetText(pszValue, item->Sel == 0 ? L"True" : L"False");
}

void CZQSettingsExport::VGetPhysicalExportValue(PCWSTR pszName, PWSTR pszValue) {
    const POEMCUIPPARAM p = m_src.pParam;
    if (!p || !pszName || !pszValue) return;
    WCHAR keyword[kChars];
    if (!CZQDriverData::BMapPhysicalName(pszName, keyword)) SetText(keyword, pszName);
    CZQLocalPtr<WCHAR> option;
    if (!ZQEqualNoCase(keyword, zqkw::kMemory)) {
        // Only an installable option with a device table has a value in the manager's words.
        if (CZQCommon::DWGetFeatureOption(p, keyword, option.Put()) == ZQOPT_OK)
            CZQDriverData::BMapDeviceOptionBack(pszName, option.Get(), pszValue);
        return;
    }
    // The installed memory in megabytes.
    CZQLocalPtr<char> ansi;
    if ((CZQCommon::DWGetFeatureOption(p, zqkw::kMemory, option.Put()) == ZQOPT_OK ||
         CZQCommon::DWGetFeatureOption(p, zqkw::kInstalledMemory, option.Put()) == ZQOPT_OK) &&
        CZQCommon::BWideToMultiByte(option.Get(), ansi.Put(), CP_ACP))
        SetNumber(pszValue, CZQCommon::IParseMemorySize(ansi.Get()));
}
