// The quick-set manager's comparisons of the settings in force with a quick set, and the checks that
// hide quick sets the printer cannot print.
#include "featurelogic/zqquicksets.h"

#include <algorithm>
#include <vector>

#include "common/zqitemanswers.h"
#include "common/zqhandles.h"
#include "common/zqkeywords.h"
#include "common/zqstorenames.h"
#include "common/zqstrings.h"
#include "formats/zquidevmode.h"

namespace {

constexpr INT kIdsPhotoTray = 1035;
constexpr WCHAR kPhotoTrayEnglish[] = L"Photo Tray";
constexpr DWORD kConflictMark = OPTPF_OVERLAY_WARNING_ICON;

// Features whose options follow from others, or that a quick set keeps in its settings block.
constexpr PCWSTR kNeverCompared[] = {L"ZQStaplingOpposed", zqkw::kDuplexItem, L"ZQPrintOnBothSidesManually",
                                     L"JCLZQPrintOnBothSidesManually", L"ZQReportSymmetricMargins"};
// The features the installed options decide, in the order they are tried.
constexpr PCWSTR kInstallableFeatures[] = {zqkw::kOutputBin, zqkw::kStapling, zqkw::kStapleLocation, zqkw::kInputBin, zqkw::kInputSlot,
                                           zqkw::kPunching, zqkw::kFolding, L"Front_Cover_from_Feeder_InputBin",
                                           L"Back_Cover_from_Feeder_InputBin"};

bool InList(PCWSTR pszText, const PCWSTR* pList, size_t count) {
    for (size_t i = 0; i < count; ++i)
        if (ZQEqualNoCase(pszText, pList[i])) return true;
    return false;
}

// A feature of the core driver among the answers of its items.
bool FeatureAnswered(const zqitems::Answer* pAnswers, int count, PCWSTR pszFeature) {
    for (int i = 0; i < count; ++i)
        if (pAnswers[i].pszFeature && wcscmp(pAnswers[i].pszFeature, pszFeature) == 0) return true;
    return false;
}

// A quick set's pairs by feature name (as written, letter case counting), each name's first and
// last pair: a comparison looks up every feature of the core driver, so the list is not walked for
// each.
class PairIndex {
public:
    explicit PairIndex(const QuickSetPair* pList) {
        for (const QuickSetPair* p = pList; p; p = p->pNext)
            if (p->pszFeature) m_pairs.push_back(p);
        // Stable: the pairs of one name keep their order in the list.
        std::stable_sort(m_pairs.begin(), m_pairs.end(), ByName());
    }
    const QuickSetPair* First(PCWSTR pszName) const {
        const auto range = std::equal_range(m_pairs.begin(), m_pairs.end(), pszName, ByName());
        return range.first == range.second ? nullptr : *range.first;
    }
    // The standard values are appended last, so the last pair of their name holds.
    const QuickSetPair* Last(PCWSTR pszName) const {
        const auto range = std::equal_range(m_pairs.begin(), m_pairs.end(), pszName, ByName());
        return range.first == range.second ? nullptr : *(range.second - 1);
    }

private:
    struct ByName {
        bool operator()(const QuickSetPair* a, const QuickSetPair* b) const { return wcscmp(a->pszFeature, b->pszFeature) < 0; }
        bool operator()(const QuickSetPair* a, PCWSTR b) const { return wcscmp(a->pszFeature, b) < 0; }
        bool operator()(PCWSTR a, const QuickSetPair* b) const { return wcscmp(a, b->pszFeature) < 0; }
    };
    std::vector<const QuickSetPair*> m_pairs;
};

struct StringLists {
    PWSTR* first = nullptr;
    PWSTR* second = nullptr;
    int count = 0;
    ~StringLists() {
        CZQCommon::VFreeStringList(first, count);
        CZQCommon::VFreeStringList(second, count);
    }
};

}  // namespace

// The language of the call's private devmode, else of the working copy.
BOOL CZQQuickSets::BPostScript() const {
    if (m_pCUIParam && m_pCUIParam->pOEMDM)
        return static_cast<const ZQUIDevmode*>(m_pCUIParam->pOEMDM)->dwPdl == kPdlPostScript;
    return m_pDevmode && m_pDevmode->dwPdl == kPdlPostScript;
}

// ---------------------------------------------------------------------------------------------
// Snapshot
// ---------------------------------------------------------------------------------------------
void CZQQuickSets::VSnapshotCurrent(ZQUIDevmode* pDevmode) {
    VFreePairs(&m_snapshot.pPairs);
    m_snapshot = {};
    m_bSnapshot = FALSE;
    if (!pDevmode) return;
    if (const QuickSetEntry* factory = PFactoryEntry()) {
        m_snapshot.head = factory->head;
        m_snapshot.dwFlags = factory->dwFlags;
        m_snapshot.iIndex = factory->iIndex;
    }
    zqqs::Capture(*pDevmode, m_snapshot.head.settings);
    m_bSnapshot = TRUE;
    VFillCurrentPairs(&m_snapshot, FALSE);
}

// ---------------------------------------------------------------------------------------------
// Groups
// ---------------------------------------------------------------------------------------------
BOOL CZQQuickSets::BWatermarkDiffers(const ZQUIDevmode& devmode, const QuickSetEntry& entry) const {
    // A printer that keeps its own watermark leaves the name out of the comparison.
    if (BInstalledOrTrue(L"ZQNWatermark")) return FALSE;
    if (!zqqs::WatermarkNameDiffers(devmode, entry.head.settings)) return FALSE;
    WCHAR name[256];
    ZQCopyText(name, 256, entry.head.settings.szWmName);
    return !(BIsNoneInAnyLanguage(devmode.szWmName, m_hResModule) && BIsNoneInAnyLanguage(name, m_hResModule));
}

BOOL CZQQuickSets::BGroupDiffers(const ZQUIDevmode& devmode, const QuickSetEntry& entry, int iGroup) {
    const QuickSetSettings& block = entry.head.settings;
    switch (iGroup) {
        case kCompareJobOptions:
            return zqqs::JobOptionsDiffers(devmode, block);
        case kCompareJobStorage:
            return zqqs::JobStorageDiffers(devmode, block);
        case kCompareFinishing:
            return zqqs::FinishingDiffers(devmode, block, m_iPosterTilesPerSide);
        case kCompareEffects:
            return zqqs::EffectsNumbersDiffer(devmode, block) || BWatermarkDiffers(devmode, entry);
        case kComparePaperQuality: {
            POPTITEM media = nullptr;
            const bool mediaItem =
                DWFindOptItemByPubId(m_pCUIParam, DMPUB_MEDIATYPE, 0, &media) == ZQOPT_OK && media;
            return zqqs::PaperQualityDiffers(devmode, block, mediaItem);
        }
        case kCompareAppText:
            return zqqs::AppTextDiffers(devmode, block);
        case kCompareSimplifiedLargeFormat:
            return BIsSimplifiedLargeFormat(&devmode) && zqqs::SimplifiedLargeFormatDiffers(devmode, block);
        default:
            return FALSE;
    }
}

BOOL CZQQuickSets::BFeaturesDiffer(const QuickSetEntry* pEntry) {
    if (!pEntry || !m_pCUIParam) return FALSE;
    const zqitems::Answer* current = nullptr;
    int count = 0;
    ZQListItemAnswers(m_pCUIParam, &current, &count);
    StringLists standard;
    DWGetStandardItemValues(m_pCUIParam, &standard.first, &standard.second, &standard.count);
    const PairIndex pairs(pEntry->pPairs);
    const bool postScript = BPostScript();
    for (int i = 0; i < count; ++i) {
        PCWSTR feature = current[i].pszFeature;
        PCWSTR option = current[i].pszOption;
        const QuickSetPair* pair = pairs.First(feature);
        if (!pair) continue;
        const bool paper = ZQEqualNoCase(feature, zqkw::kPageSize) || ZQEqualNoCase(feature, zqkw::kPaperSize);
        // The option the quick set holds, as written: nothing below finds a difference.
        if (!paper && wcscmp(option, pair->pszOption) == 0) continue;
        if (InList(feature, kNeverCompared, ARRAYSIZE(kNeverCompared))) continue;
        if (!postScript && ZQEqualNoCase(feature, zqkw::kColorMode)) continue;
        // Page exceptions keep their own sources and media.
        if (m_dwPaperSourceCopy && (ZQEqualNoCase(feature, zqkw::kMediaType) || ZQEqualNoCase(feature, zqkw::kInputBin) ||
                                    ZQEqualNoCase(feature, zqkw::kInputSlot)))
            continue;
        if (paper) {
            // A user's form is kept by its name: the keywords of such forms are the driver's own.
            WCHAR form[256];
            if (BSelectedFormName(form) && BIsUserForm(form)) {
                if (!ZQEqualNoCase(form, pair->pszOption)) return TRUE;
                continue;
            }
        }
        if (ZQEqualNoCase(option, pair->pszOption)) continue;
        CZQLocalPtr<WCHAR> name;
        if (DWOptionKeywordToName(m_pCUIParam, feature, option, name.Put()) == ZQOPT_OK) return TRUE;
    }
    for (int i = 0; i < standard.count; ++i) {
        if (!standard.first[i] || !standard.second[i] || wcscmp(standard.first[i], zqkw::kDuplexItem) == 0) continue;
        const QuickSetPair* pair = pairs.Last(standard.first[i]);
        // A feature of that name holds its own pair: settings kept before the plug-in's own items
        // answered hold no value of the item.
        if (pair == pairs.First(standard.first[i]) && FeatureAnswered(current, count, standard.first[i])) continue;
        if (pair && wcscmp(pair->pszOption, standard.second[i]) != 0) return TRUE;
    }
    POPTITEM orientation = nullptr;
    return DWFindOemOptItemByPubId(m_pCUIParam, kOemPubOrientation, &orientation) == ZQOPT_OK && orientation &&
           orientation->Sel + 1 != pEntry->head.settings.wOrientation;
}

// ---------------------------------------------------------------------------------------------
// Entry points
// ---------------------------------------------------------------------------------------------
BOOL CZQQuickSets::BPageDiffers(ZQUIDevmode devmode, int iPageId) {
    m_dwPaperSourceCopy = devmode.dwDiffPaper;
    // A page's check runs on pages nobody touched too: without a snapshot (none at load, or no
    // factory-defaults entry to take it from) it finds nothing left, so no untouched sheet turns custom.
    if (!m_bSnapshot) return FALSE;
    return BGroupDiffers(devmode, m_snapshot, iPageId) ||
           zqqs::OrientationDuplexDiffers(devmode, m_snapshot.head.settings) || BFeaturesDiffer(&m_snapshot);
}

BOOL CZQQuickSets::BSettingsDiffer(ZQUIDevmode devmode) {
    const int groups[] = {kComparePaperQuality,
                          kCompareFinishing,
                          devmode.dwLayoutMode == 3 ? kCompareEffects : 0,
                          devmode.dwColorMode == 2 ? kCompareJobOptions : 0,
                          BIsJobStorageValid(&devmode) ? kCompareJobStorage : 0,
                          kCompareAppText,
                          kCompareSimplifiedLargeFormat};
    for (int group : groups)
        if (BGroupDiffers(devmode, m_snapshot, group)) return 1;
    return zqqs::OrientationDuplexDiffers(devmode, m_snapshot.head.settings) || BFeaturesDiffer(&m_snapshot) ? 1 : 0;
}

void CZQQuickSets::VResetToPlaceholder(HWND hCombo, HWND hSave, HWND hDelete) {
    if (hCombo) SetWindowTextW(hCombo, m_szPlaceholder);
    if (hSave) EnableWindow(hSave, TRUE);
    if (hDelete) EnableWindow(hDelete, FALSE);
    m_bSelected = FALSE;
}

void CZQQuickSets::VRecheckCurrentEntry(ZQUIDevmode devmode, HWND hCombo, HWND hSave, HWND hDelete, int iPageId) {
    m_dwPaperSourceCopy = devmode.dwDiffPaper;
    const QuickSetEntry* entry = m_bSelected ? PFindEntry(m_szCurrentName) : nullptr;
    if (!entry) return;
    if (!BGroupDiffers(devmode, *entry, iPageId) && !zqqs::OrientationDuplexDiffers(devmode, entry->head.settings) &&
        !BFeaturesDiffer(entry))
        return;
    VResetToPlaceholder(hCombo, hSave, hDelete);
    if (!hCombo) {
        ZQCopyText(m_szCurrentName, kNameChars, m_szPlaceholder);
        return;
    }
    WCHAR text[kNameChars] = {};
    GetWindowTextW(hCombo, text, static_cast<int>(kNameChars));
    ZQCopyText(m_szCurrentName, kNameChars, text);
}

BOOL CZQQuickSets::BEntryDiffers(ZQUIDevmode devmode, PCWSTR pszName) {
    m_dwPaperSourceCopy = devmode.dwDiffPaper;
    const QuickSetEntry* entry = m_bSelected ? PFindEntryAnyCase(pszName) : nullptr;
    if (!entry) return FALSE;
    BOOL differs = FALSE;
    for (int group : {kCompareJobOptions, kCompareJobStorage, kCompareEffects, kCompareFinishing, kComparePaperQuality,
                      kCompareSimplifiedLargeFormat})
        if (BGroupDiffers(devmode, *entry, group)) differs = TRUE;
    if (!differs)
        differs = zqqs::OrientationDuplexDiffers(devmode, entry->head.settings) || BFeaturesDiffer(entry);
    if (differs) m_bSelected = FALSE;
    return differs;
}

BOOL CZQQuickSets::BMatchesEntry(const QuickSetEntry* pEntry, ZQUIDevmode devmode) {
    if (!pEntry) return TRUE;
    for (int group : {kCompareSimplifiedLargeFormat, kCompareAppText, kCompareJobOptions, kCompareJobStorage,
                      kCompareEffects, kCompareFinishing, kComparePaperQuality})
        if (BGroupDiffers(devmode, *pEntry, group)) return FALSE;
    return !zqqs::OrientationDuplexDiffers(devmode, pEntry->head.settings) && !BFeaturesDiffer(pEntry);
}

// ---------------------------------------------------------------------------------------------
// Installable options and locks
// ---------------------------------------------------------------------------------------------
BOOL CZQQuickSets::BOptionWalkHides(QuickSetEntry* pEntry, PCWSTR pszFeature) {
    POPTITEM item = nullptr;
    WCHAR wanted[256];
    // Without a pair the quick set asks nothing of the feature.
    if (DWFindOptItem(m_pCUIParam, pszFeature, &item) != ZQOPT_OK || !item ||
        !PFindNameValue(pEntry->pPairs, pszFeature, wanted))
        return FALSE;
    for (int i = 0; i < m_nWalkAnswers; ++i)
        if (m_aWalkAnswers[i].pszFeature == pszFeature && wcscmp(m_aWalkAnswers[i].szOption, wanted) == 0)
            return m_aWalkAnswers[i].bHide;
    WCHAR photoTray[kResStringChars];
    if (!BLoadResString(kIdsPhotoTray, photoTray)) ZQCopyText(photoTray, kResStringChars, kPhotoTrayEnglish);
    const bool bins =
        ZQEqualNoCase(pszFeature, zqkw::kInputBin) || (BPostScript() && ZQEqualNoCase(pszFeature, zqkw::kInputSlot));
    const LONG before = item->Sel;
    BOOL hide = FALSE;
    const int count = IGetOptionCount(item);
    for (int i = 0; i < count; ++i) {
        const POPTPARAM option = PGetOptionParam(item, i);
        if (!option) continue;
        // The selection lifts the option's conflict mark for the driver and sets it again.
        const bool marked = (option->Flags & kConflictMark) != 0;
        DWSelectOptionByIndex(m_pCUIParam, pszFeature, i, OEMCUIP_DOCPROP);
        CZQLocalPtr<WCHAR> keyword;
        if (DWGetFeatureOption(m_pCUIParam, pszFeature, keyword.Put()) != ZQOPT_OK ||
            !ZQEqualNoCase(keyword.Get(), wanted))
            continue;
        // The photo tray is offered even while marked: it takes the photo paper of another tray.
        const bool photo = bins && option->pData && !IS_INTRESOURCE(option->pData) &&
                           ZQEqualNoCase(option->pData, photoTray);
        hide = marked && !photo;
        break;
    }
    if (item->Sel != before) DWSelectOptionByIndex(m_pCUIParam, pszFeature, before, OEMCUIP_DOCPROP);
    if (m_nWalkAnswers >= 0 && m_nWalkAnswers < kWalkAnswers) {
        WalkAnswer& answer = m_aWalkAnswers[m_nWalkAnswers++];
        answer.pszFeature = pszFeature;
        ZQCopyText(answer.szOption, ARRAYSIZE(answer.szOption), wanted);
        answer.bHide = hide;
    }
    return hide;
}

BOOL CZQQuickSets::BLocksHide(const QuickSetEntry* pEntry) const {
    const QuickSetEntry* factory = PFindEntry(m_szFactoryName);
    if (!factory || factory == pEntry) return FALSE;
    HANDLE printer = HStorePrinter();
    WCHAR text[256];
    const auto locked = [&](PCWSTR pszName) {
        return BIsSettingLocked(printer, zqsettings::kLockDataPrinting, pszName, text);
    };
    const QuickSetSettings& mine = pEntry->head.settings;
    const QuickSetSettings& theirs = factory->head.settings;
    // 3104 and 3108: the source and media of the pages without an exception.
    if (locked(BPostScript() ? zqkw::kInputSlot : zqkw::kInputBin) && mine.adwPaperSource[7] != theirs.adwPaperSource[7])
        return TRUE;
    if (locked(zqkw::kMediaType) && mine.adwPaperSource[8] != theirs.adwPaperSource[8]) return TRUE;
    if (locked(L"PrintColorAsGray") && mine.dwPrintAsGray != theirs.dwPrintAsGray) return TRUE;
    if (locked(zqkw::kDuplexItem) && (mine.wDuplex == 1) != (theirs.wDuplex == 1)) return TRUE;
    if (locked(zqkw::kOutputBin)) {
        WCHAR own[256], factoryBin[256];
        PFindNameValue(pEntry->pPairs, zqkw::kOutputBin, own);
        PFindNameValue(factory->pPairs, zqkw::kOutputBin, factoryBin);
        if (!ZQEqualNoCase(own, factoryBin)) return TRUE;
    }
    return FALSE;
}

void CZQQuickSets::VCheckInstallable(QuickSetEntry* pEntry) {
    if (!pEntry || !m_pCUIParam || !m_pCUIParam->pOEMDM || !m_pCUIParam->poemuiobj ||
        !m_pCUIParam->poemuiobj->pOemUIProcs || !m_pCUIParam->poemuiobj->pOemUIProcs->DrvUpdateUISetting)
        return;
    const QuickSetSettings& block = pEntry->head.settings;
    const auto hide = [pEntry] { pEntry->dwFlags |= kHiddenFlag; };
    if (!BIsDuplexUnitInstalled(FALSE) && !BIsManualDuplexAvailable() && block.wDuplex != 1) return hide();
    if ((BOptionIs(L"PrinterHardDisk", L"NOTINSTALLED") || BOptionIs(L"PrinterHardDisk", L"FALSE")) &&
        (block.dwRetentionMode == 3 || block.dwRetentionMode == 4))
        return hide();
    if (BCanRead(zqkw::kJobRetention) && !BInstalledOrTrue(zqkw::kJobRetention) && block.dwRetentionMode != 0)
        return hide();
    for (PCWSTR feature : kInstallableFeatures)
        if (BOptionWalkHides(pEntry, feature)) return hide();
    // The locks are checked whatever the options allowed.
    if (BLocksHide(pEntry)) hide();
}

BOOL CZQQuickSets::BIsUserForm(PCWSTR pszForm) const {
    HANDLE printer = HStorePrinter();
    if (!pszForm || !printer) return FALSE;
    const auto& spooler = zqspool::Spooler();
    DWORD needed = 0, count = 0;
    spooler.EnumFormsW(printer, 1, nullptr, 0, &needed, &count);
    CZQLocalPtr<BYTE> buffer;
    if (!needed || !buffer.Alloc(needed) || !spooler.EnumFormsW(printer, 1, buffer.Get(), needed, &needed, &count))
        return FALSE;
    count = count < needed / sizeof(FORM_INFO_1W) ? count : needed / static_cast<DWORD>(sizeof(FORM_INFO_1W));
    const FORM_INFO_1W* forms = reinterpret_cast<const FORM_INFO_1W*>(buffer.Get());
    for (DWORD i = 0; i < count; ++i)
        if (forms[i].pName && ZQEqualNoCase(forms[i].pName, pszForm)) return forms[i].Flags == FORM_USER;
    return FALSE;
}
