// The factory quick sets a rebuild writes (from the helper file's presets, completed from the
// configuration manager's data and locks) and the installed-cartridges item that follows the printer.
#include "featurelogic/zqquicksets.h"

#include "common/zqkeywords.h"
#include "common/zqstorenames.h"
#include "common/zqstrings.h"
#include "device/zqbidisession.h"
#include "formats/zquidevmode.h"
#include "settings/zqdriverdata.h"
#include "settings/zqoptionlists.h"
#include "xmlrules/zqxmlparser.h"
#include "xmlrules/zqxmluirules.h"

namespace {

constexpr WCHAR kOptItemsKey[] = L"DMCDriverData\\Printing\\OptItems";
constexpr WCHAR kDevModeItemsKey[] = L"DMCDriverData\\Printing\\DevModeItems";
constexpr WCHAR kDmcStatus[] = L"DMCStatus";
constexpr WCHAR kCartridgeFeature[] = L"ZQInstalledPrintCartridges";
constexpr WCHAR kCartridgePrevious[] = L"PrintCartrigesPrevValue";
constexpr WCHAR kCartridgeModified[] = L"PrintCartrigesModified";
constexpr size_t kBorderlessPrefixChars = 13;

bool Is(PCWSTR a, PCWSTR b) { return ZQEqualNoCase(a, b); }

// The value of a configuration-manager key whose name equals the feature (case-blind).
bool FindDmcValue(HANDLE hPrinter, PCWSTR pszKey, PCWSTR pszFeature, PWSTR pszValue) {
    CZQPrinterDataList list;
    if (!list.BRead(hPrinter, pszKey)) return false;
    for (DWORD i = 0; i < list.Count(); ++i) {
        if (!Is(list.Name(i), pszFeature)) continue;
        PCWSTR text = list.Text(i);
        if (!text) return false;
        ZQCopyTextN(pszValue, 256, text, 255);
        return true;
    }
    return false;
}

struct CartridgeRow {
    int iBidi;
    int iStatus;
    PCWSTR pszOption;  // null: iIndex
    int iIndex;
};
// Cartridge sets by the bidi answer and by the status string's code.
constexpr CartridgeRow kCartridges[] = {
    {-1, -1, nullptr, -1},        {2, 50, L"TRICOLOR", 0},        {4, 70, L"BLACK", 0},
    {5, 80, L"PHOTO", 0},         {9, 90, L"PHOTOBLACK", 0},      {10, 100, L"PHOTOGRAY", 0},
    {11, 110, L"PHOTOPHOTOGRAY", 0}, {INT_MIN, 40, nullptr, 6},   {INT_MIN, 60, nullptr, 7},
    {INT_MIN, 120, nullptr, 8},
};

}  // namespace

BOOL CZQQuickSets::BGetDmcDriverValue(PCWSTR pszFeature, PWSTR pszValue) const {
    if (!pszFeature || !pszValue) return FALSE;
    HANDLE printer = HStorePrinter();
    return printer && (FindDmcValue(printer, kOptItemsKey, pszFeature, pszValue) ||
                       FindDmcValue(printer, kDevModeItemsKey, pszFeature, pszValue));
}

BOOL CZQQuickSets::BGetBorderlessPaper(PCWSTR pszPaperOption, PWSTR pszName, CZQXmlUiRules* pRules) {
    if (!pszPaperOption || !pszName || !pRules || !pRules->Parser().BIsLoaded()) return FALSE;
    IXMLDOMNodeList* list = pRules->Parser().BorderlessList();
    CZQComPtr<IXMLDOMNode> first;
    if (!list || list->get_item(0, first.Put()) != S_OK || !first) return FALSE;
    WCHAR other[CZQXmlParserCommon::kCchPaper] = {};
    FLOAT edges[4] = {};
    if (!CZQXmlParserCommon::BGetBorderlessSettings(first.Get(), pszPaperOption, other, &edges[0], &edges[1],
                                                    &edges[2], &edges[3]) ||
        !other[0])
        return FALSE;
    ZQCopyTextN(pszName, 256, other, 255);
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// One factory quick set
// ---------------------------------------------------------------------------------------------
void CZQQuickSets::BuildRulesPreset(QuickSetEntry* pEntry, PWSTR* ppszFeatures, PWSTR* ppszOptions, int iCount,
                                    CZQXmlUiRules* pRules) {
    if (!pEntry || !BHasStore()) return;
    POEMCUIPPARAM param = m_pCUIParam;
    const ZQUIDevmode* current = static_cast<const ZQUIDevmode*>(param->pOEMDM);
    if (!current) return;
    ZQUIDevmode work = *current;
    HANDLE printer = HStorePrinter();
    // The build reads the public paper but leaves the sheet's public devmode as it is.
    DWORD publicPaper = param->pPublicDM ? param->pPublicDM->dmPaperSize : 0;
    WCHAR text[256];
    const bool targetFromDmc = BGetDmcDriverValue(L"TargetSizeChoice", text);
    if (!targetFromDmc) work.dwPrintedOnPaper = publicPaper;
    zqqs::Capture(work, pEntry->head.settings);
    VFreePairs(&pEntry->pPairs);
    VFillCurrentPairs(pEntry, FALSE);
    DWORD status = 0;
    CZQDriverData::BGetPrinterDataDword(printer, kDmcStatus, &status);
    const bool factory = wcsncmp(pEntry->head.szName, m_szFactoryName, kNameChars) == 0;
    const bool postScript = BPostScript();
    const auto set = [pEntry](PCWSTR pszFeature, PCWSTR pszOption) {
        VReplacePairOption(pEntry->pPairs, pszFeature, pszOption);
    };
    const auto sourceFields = [&work](DWORD dwNumber, bool bMedia) {
        if (bMedia)
            work.dwFirstPageMedia = work.dwBackCoverMedia = work.dwOtherPagesMedia = dwNumber;
        else
            work.dwFirstPageSource = work.dwBackCoverSource = work.dwOtherPagesSource = dwNumber;
        work.dwDiffPaper = work.dwBackCover = 0;
        work.dwBackCoverFeeder = work.dwFrontCover = work.dwFrontCoverFeeder = 0;
    };
    // A document feature the core driver offers, with an option it lists, is kept as the helper
    // file writes it: a preset named as a document type holds what the type leaves, and a pair left
    // at the option in force would make an untouched sheet find the type's settings changed.
    const auto asWritten = [&](PCWSTR pszFeature, PCWSTR pszOption) {
        zqsettings::CZQStringList keywords;
        if (DWGetOptionKeywords(param, pszFeature, &keywords.p, &keywords.n, OEMCUIP_DOCPROP) != ZQOPT_OK) return;
        for (int k = 0; k < keywords.n; ++k)
            if (keywords.p[k] && Is(keywords.p[k], pszOption)) return set(pszFeature, keywords.p[k]);
    };
    // A binding the administrator fixed: the configuration manager's two-sided value and edge.
    const auto lockedDuplex = [&]() {
        WCHAR lock[256];
        if (!BIsSettingLocked(printer, zqsettings::kLockDataPrinting, zqkw::kDuplexItem, lock)) return false;
        WCHAR duplex[256] = {}, edge[256] = {};
        FindDmcValue(printer, kDevModeItemsKey, zqkw::kDuplexItem, duplex);
        FindDmcValue(printer, kDevModeItemsKey, L"DuplexEdge", edge);
        if (!Is(duplex, L"TRUE")) {
            work.wDuplex = 1;
        } else if (Is(edge, L"ShortEdge")) {
            work.wDuplex = 3;
            work.dwFlipPagesUp = 1;
        } else if (Is(edge, L"LongEdge")) {
            work.wDuplex = 2;
            work.dwFlipPagesUp = 0;
        }
        return true;
    };
    // The page order as the store keeps it: its position as decimal text (0 front to back), which
    // an apply selects in the core driver's item and the plug-in's own at that position. Every pair
    // of the name takes it: the core driver's feature and the standard value both carry one, and an
    // apply takes them in order, so a later one left as it was would undo the preset's order.
    const auto pageOrder = [&](int iPosition) {
        for (QuickSetPair* p = PFindNameValue(pEntry->pPairs, zqkw::kPageOrderItem, nullptr); p;
             p = PFindNameValue(p->pNext, zqkw::kPageOrderItem, nullptr))
            VReplacePairOption(p, zqkw::kPageOrderItem, iPosition ? L"1" : L"0");
    };
    bool bindingAtEnd = false;
    for (int i = 0; i < iCount; ++i) {
        PCWSTR feature = ppszFeatures ? ppszFeatures[i] : nullptr;
        PCWSTR option = ppszOptions ? ppszOptions[i] : nullptr;
        if (!feature || !option) continue;
        if (status == 3 && Is(feature, zqkw::kPrintQualityGroup) && BGetDmcDriverValue(zqkw::kPrintQuality, text)) continue;
        if (factory && status == 3) {
            // The administrator's settings make the factory quick set.
            if (BGetDmcDriverValue(feature, text)) {
                WCHAR keyword[256];
                set(feature, CZQDriverData::BMapConfigValue(feature, text, keyword) ? keyword : text);
            }
            continue;
        }
        // The two-sided kind lives in the settings block: no pair carries it.
        if (!Is(feature, zqkw::kDuplexItem)) asWritten(feature, option);
        if (Is(feature, zqkw::kDuplexItem) && Is(option, L"TRUE")) {
            bindingAtEnd = true;
        } else if (Is(feature, L"ZQOrientation")) {
            work.wOrientation = Is(option, L"ZQOrientationLandscape") ? 2 : 1;
        } else if (CZQDriverData::BIsDevModeItem(feature)) {
            CZQDriverData::ISetDevModeItem(&work, feature, option);
            set(feature, option);
        } else if (Is(feature, zqkw::kPaperSize)) {
            if (const int number = CZQDriverData::IPaperSizeToIndex(param, option)) publicPaper = static_cast<DWORD>(number);
            const bool borderless = wcsncmp(option, zqkw::kBorderlessPaperPrefix, kBorderlessPrefixChars) == 0;
            if (!targetFromDmc) {
                work.dwPrintedOnPaper = publicPaper;
                WCHAR paper[256];
                if (borderless && BGetBorderlessPaper(option, paper, pRules))
                    if (const int number = CZQDriverData::IPaperSizeToIndex(param, paper))
                        work.dwPrintedOnPaper = static_cast<DWORD>(number);
            }
            set(feature, option);
            if (borderless) {
                work.dwScaleToFit = 0;
                set(zqkw::kZQMinimizeMargins, L"FALSE");
                set(zqkw::kZQBorderLessPhoto, L"TRUE");
            }
        } else if (Is(feature, L"TargetSizeChoice")) {
            if (const int number = CZQDriverData::IPaperSizeToIndex(param, option))
                work.dwPrintedOnPaper = static_cast<DWORD>(number);
        } else if (Is(feature, L"ZQScaleToPaper")) {
            if (!Is(option, L"False")) {
                work.dwPrintDocOn = 1;
                if (const int number = CZQDriverData::IPaperSizeToIndex(param, option))
                    work.dwPrintedOnPaper = static_cast<DWORD>(number);
                set(L"ZQScaleToPaper", L"False");
            }
        } else if (Is(feature, zqkw::kPageOrderItem)) {
            pageOrder(Is(option, L"FrontToBack") ? 0 : 1);
        } else if (Is(feature, zqkw::kPrintQuality)) {
            const struct {
                PCWSTR pszQuality, pszResolution, pszGroup;
            } qualities[] = {{L"Best", L"600dpi", L"PQGroup_1"},
                             {L"Normal", L"600dpi", L"PQGroup_2"},
                             {L"FastDraft", L"300dpi", L"PQGroup_3"}};
            for (const auto& q : qualities) {
                if (!Is(option, q.pszQuality)) continue;
                set(zqkw::kResolution, q.pszResolution);
                set(zqkw::kPrintQualityGroup, q.pszGroup);
                set(zqkw::kZQPhotoFix, L"OFF");
                for (PCWSTR off : {zqkw::kZQRedEyeReduction, zqkw::kZQVorevEzuro}) set(off, L"Off");
                for (PCWSTR on : {zqkw::kZQContrast, zqkw::kZQDigitalFlash, zqkw::kZQSharpness, zqkw::kZQSmoothing}) set(on, L"On");
            }
        } else if (Is(feature, zqkw::kZQPosterPrintingOptionSUI)) {
            work.dwScaleToFit = 0;
            set(zqkw::kZQMinimizeMargins, L"FALSE");
        } else if (Is(feature, zqkw::kMediaType)) {
            DWORD number = 0;
            if (CZQDriverData::BMediaTypeToIndex(param, option, &number)) sourceFields(number, true);
        } else if (Is(feature, zqkw::kInputBin) || (postScript && Is(feature, zqkw::kInputSlot))) {
            DWORD number = 0;
            bool found = false;
            if (Is(option, L"Automatically Select")) {
                const PrinterCaps* caps = m_pCaps ? ZQPrinterCapsLists(m_pCaps, kCapsSources) : nullptr;
                if ((found = caps && caps->dwSourceCount && caps->pSourceIds)) number = caps->pSourceIds[0];
            } else {
                found = CZQDriverData::BInputBinToIndex(param, option, &number) != FALSE;
            }
            if (found) sourceFields(number, false);
        } else if (Is(feature, zqkw::kZQPrintInGrayScale) || Is(feature, zqkw::kJCLZQPrintInGrayScale)) {
            CZQLocalPtr<WCHAR> lock;
            if (!CZQDriverData::BGetPrinterDataEx(printer, zqsettings::kLockDataPrinting, L"PrintColorAsGray",
                                                  lock.Put())) {
                work.dwPrintAsGray = Is(option, L"FALSE") ? 0 : 1;
            } else if (Is(lock.Get(), L"Lock")) {
                WCHAR value[256] = {};
                FindDmcValue(printer, kOptItemsKey, L"PrintColorAsGray", value);
                work.dwPrintAsGray = Is(value, L"TRUE") ? 1 : 0;
                if (FindDmcValue(printer, kOptItemsKey, L"PrintColorAsGrayOptions", value))
                    set(zqkw::kZQPrintInGrayScale, value);
            }
        } else if (Is(feature, L"FlipPagesUp")) {
            work.dwFlipPagesUp = Is(option, L"TRUE") ? 1 : 0;
        } else if (Is(feature, zqkw::kZQMirrorPrint)) {
            work.dwMirror = Is(option, L"TRUE") ? 1 : 0;
        } else if (Is(feature, L"DUPLEX")) {
            const bool tumble = Is(option, L"Horizontal") || Is(option, L"DuplexTumble");
            const bool noTumble = Is(option, L"Vertical") || Is(option, L"DuplexNoTumble");
            const bool left = Is(option, L"LeftEdgeBinding");
            const bool booklet = left || Is(option, L"RightEdgeBinding");
            const bool automatic = Is(option, L"Automatically");
            if (!tumble && !noTumble && !booklet && !automatic) continue;
            pageOrder(1);
            if (tumble || noTumble) {
                work.wDuplex = tumble ? 3 : 2;
                work.dwFlipPagesUp = tumble ? 1 : 0;
                continue;
            }
            work.dwBooklet = booklet ? (left ? 1 : 2) : 0;
            work.dwPagesPerSheet = booklet ? 2 : 1;
            if (booklet) work.wDuplex = 3;
            if (work.dwPrintDocOn) work.dwScaleToFit = 1;
            work.dwFlipPagesUp = work.wOrientation == 1 ? 0 : 1;
            set(zqkw::kZQUseAutoDuplexUnit, L"TRUE");
            if (automatic) set(zqkw::kZQAutoDuplexScaling, L"TRUE");
            if ((left || automatic) && lockedDuplex()) continue;
            if (automatic) work.wDuplex = 2;
        }
    }
    if (bindingAtEnd)
        work.wDuplex = WGetDuplexBinding(static_cast<int>(work.dwPagesPerSheet), static_cast<short>(work.wOrientation),
                                         work.dwFlipPagesUp != 0, work.dwBooklet != 0);
    zqqs::Capture(work, pEntry->head.settings);
}

// ---------------------------------------------------------------------------------------------
// The factory quick sets of a rebuild
// ---------------------------------------------------------------------------------------------
int CZQQuickSets::IBuildFactoryEntries(CZQXmlUiRules* pRules) {
    if (!BHasStore() || !pRules || !pRules->Parser().BIsLoaded()) return 0;
    int built = 0;
    const auto finish = [this, &built](QuickSetEntry* pEntry) {
        QuickSetHead& head = pEntry->head;
        head.dwMarker = zqqs::kMarker;
        head.cchName = zqqs::kNameCapacity;
        head.cbSettings = zqqs::kSettingsSize;
        for (uint32_t& tile : head.settings.adwPosterTiles) tile = 1;
        uint32_t count = 0;
        for (const QuickSetPair* p = pEntry->pPairs; p; p = p->pNext) ++count;
        head.cPairs = count;
        pEntry->dwFlags = kFixedFlag;
        if (!m_pFactory && wcsncmp(head.szName, m_szFactoryName, kNameChars) == 0) m_pFactory = pEntry;
        ++built;
    };
    IXMLDOMNodeList* presets = pRules->Parser().PresetList();
    LONG length = 0;
    if (presets && SUCCEEDED(presets->get_length(&length)) && length > 0) {
        for (LONG i = 0; i < length && built < zqqs::kMaxQuickSets; ++i) {
            CZQComPtr<IXMLDOMNode> node;
            WCHAR name[CZQXmlUiRules::kDocTextChars] = {};
            if (presets->get_item(i, node.Put()) != S_OK || !node || !pRules->BReadOptionName(node.Get(), name) ||
                !name[0])
                continue;
            PWSTR *features = nullptr, *options = nullptr;
            LONG count = 0;
            const BOOL read = pRules->BReadDocFeatures(node.Get(), &features, &options, &count);
            QuickSetEntry* entry = read ? PNewEntry() : nullptr;
            if (entry) {
                ZQCopyTextN(entry->head.szName, kNameChars, name, kNameChars - 1);
                BuildRulesPreset(entry, features, options, static_cast<int>(count), pRules);
                finish(entry);
            }
            VFreeStringList(features, static_cast<int>(count));
            VFreeStringList(options, static_cast<int>(count));
        }
        return built;
    }
    // Without presets the settings in force are the factory quick set.
    QuickSetEntry* entry = PNewEntry();
    const ZQUIDevmode* current = static_cast<const ZQUIDevmode*>(m_pCUIParam->pOEMDM);
    if (!entry || !current) return built;
    ZQCopyText(entry->head.szName, kNameChars, m_szFactoryName);
    ZQUIDevmode work = *current;
    zqqs::Capture(work, entry->head.settings);
    VFillCurrentPairs(entry, FALSE);
    finish(entry);
    return built;
}

// ---------------------------------------------------------------------------------------------
// Installed cartridges
// ---------------------------------------------------------------------------------------------
BOOL CZQQuickSets::BUpdateInstalledCartridges() {
    POPTITEM item = nullptr;
    // A printer without the item has nothing to follow.
    if (!m_pCUIParam || DWFindOptItem(m_pCUIParam, kCartridgeFeature, &item) != ZQOPT_OK || !item) return TRUE;
    HANDLE printer = HStorePrinter();
    const bool fromStatus = IGetOsVersionClass() == 1;
    int answer = -1;
    if (fromStatus) {
        answer = IReadStatusString(printer, 30);
    } else {
        CZQBidiSession session;
        answer = m_pCUIParam->pPrinterName && session.BOpen(m_pCUIParam->pPrinterName) ? session.BQueryPenStatus() : -1;
    }
    int index = 0;
    for (const CartridgeRow& row : kCartridges) {
        if ((fromStatus ? row.iStatus : row.iBidi) != answer) continue;
        index = row.pszOption ? IGetOptionIndexByKeyword(m_pCUIParam, row.pszOption, kCartridgeFeature, item)
                              : row.iIndex;
        break;
    }
    const int count = IGetOptionCount(item);
    DWORD previous = 0, modified = 0;
    const bool hasModified = CZQDriverData::BGetPrinterDataDword(printer, kCartridgeModified, &modified) != FALSE;
    if (!CZQDriverData::BGetPrinterDataDword(printer, kCartridgePrevious, &previous)) {
        CZQDriverData::BSetPrinterDataDword(printer, kCartridgePrevious, static_cast<DWORD>(index));
    } else if (previous != static_cast<DWORD>(index)) {
        // A new set of cartridges: the user's earlier choice no longer holds.
        if (hasModified) {
            CZQDriverData::BSetPrinterDataDword(printer, kCartridgeModified, 0);
            modified = 0;
        }
        CZQDriverData::BSetPrinterDataDword(printer, kCartridgePrevious, static_cast<DWORD>(index));
    }
    if (index == -1) {
        DWSelectOptionByIndex(m_pCUIParam, kCartridgeFeature, 0, OEMCUIP_DOCPROP);
        if (hasModified) CZQDriverData::BSetPrinterDataDword(printer, kCartridgeModified, 0);
        return FALSE;
    }
    if (index >= 0 && index < count && item->Sel != index && !(hasModified && modified == 1))
        DWSelectOptionByIndex(m_pCUIParam, kCartridgeFeature, index, OEMCUIP_DOCPROP);
    return TRUE;
}
