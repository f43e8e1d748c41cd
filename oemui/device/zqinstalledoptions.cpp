// The installed options the apply pass sets from the printer's answers: the hidden table items,
// the optional trays, the list of the media the user defined on the printer, and the change note
// "NotifyDate" of the lists.
#include <cwchar>

#include "common/zqkeywords.h"
#include "common/zqstorenames.h"
#include "common/zqstrings.h"
#include "common/zqtrace.h"
#include "device/zqautoconfig.h"
#include "formats/zqinstallable.h"
#include "settings/zqdriverdata.h"

namespace {

constexpr DWORD kPrinterMode = OEMCUIP_PRNPROP;
constexpr WCHAR kTraySizes[] = L"ZQInstallableTraySize";
constexpr WCHAR kTrayNames[] = L"ZQInstallableTrayName";
constexpr PCWSTR kTrayFeatures = zqkw::kZQInstallableTrayFeatureName;
constexpr WCHAR kMediaRange[] = L"ZQMediaDMLRange";
namespace zs = zqsettings;
using zs::kUserDefinedMedia;

const PCWSTR kTableItems[] = {kTrayFeatures, kTraySizes, kTrayNames, L"ZQInstallableHCO", L"ZQInstallableFinisher"};

constexpr int kMaxMediaNames = 12;
constexpr size_t kUserMediaChars = 63;
constexpr size_t kPartChars = kZQKeywordPartChars;
using Part = ZQKeywordPart;

// The model text found, without regard to case, in one of the texts that are not empty.
bool ModelReported(PCWSTR pszModel, const PWSTR* ppTexts, int count) {
    for (int i = 0; i < count; ++i)
        if (ppTexts[i] && ppTexts[i][0] && ZQContainsNoCase(ppTexts[i], pszModel)) return true;
    return false;
}

// A list of texts each ended by its NUL and ended by an empty text: whether a walk in step finds
// two entries that differ (without regard to case) before either list ends.
bool EntriesDiffer(PCWSTR pszOld, PCWSTR pszNew, DWORD dwCount) {
    for (DWORD i = 0; i < dwCount && *pszOld && *pszNew; ++i) {
        if (!ZQEqualNoCase(pszOld, pszNew)) return true;
        pszOld += wcslen(pszOld) + 1;
        pszNew += wcslen(pszNew) + 1;
    }
    return false;
}

}  // namespace

bool CZQAutoConfig::BHasItems() const { return m_pCUIParam && m_pCUIParam->poemuiobj && m_pCUIParam->pDrvOptItems; }

void CZQAutoConfig::VHideInstallableItems() {
    if (!BHasItems()) return;
    for (PCWSTR item : kTableItems) DWHideOptItem(m_pCUIParam, item, kPrinterMode);
}

DWORD CZQAutoConfig::DWSelectOptionIndex(POEMCUIPPARAM pParam, PCWSTR pszFeature, int iIndex, DWORD dwMode) {
    return DWSelectOptionByIndex(pParam, pszFeature, iIndex, dwMode);
}

// ---------------------------------------------------------------------------------------------
// The change note
// ---------------------------------------------------------------------------------------------
void CZQAutoConfig::VNoteMediaListChange(PCWSTR pszOld, PCWSTR pszNew, DWORD dwOldCount, DWORD dwNewCount) {
    VNoteListChange(pszOld, pszNew, dwOldCount, dwNewCount);
}

void CZQAutoConfig::VNoteOutputBinListChange(PCWSTR pszOld, PCWSTR pszNew, DWORD dwOldCount, DWORD dwNewCount) {
    VNoteListChange(pszOld, pszNew, dwOldCount, dwNewCount);
}

void CZQAutoConfig::VNoteListChange(PCWSTR pszOld, PCWSTR pszNew, DWORD dwOldCount, DWORD dwNewCount) {
    if (dwOldCount == 0 && dwNewCount == 0) return;
    const bool changed = dwOldCount != dwNewCount || (pszOld && pszNew && EntriesDiffer(pszOld, pszNew, dwOldCount));
    if (!changed) return;
    SYSTEMTIME now = {};
    GetSystemTime(&now);
    WCHAR text[32];
    ZQFormatText(text, 32, L"%02d/%02d/%04d:%02d:%02d:%02d", now.wMonth, now.wDay, now.wYear, now.wHour, now.wMinute,
                 now.wSecond);
    if (!CZQDriverData::BSetPrinterData(m_hPrinter, zs::kNotifyDate, text))
        zqtrace::Line(L"CZQAutoConfig: the change note was not written\n");
}

// ---------------------------------------------------------------------------------------------
// Trays
// ---------------------------------------------------------------------------------------------
void CZQAutoConfig::VFreeTrayTable() {
    if (m_ppTrayTable) {
        for (int i = 0; i < m_iTrayCount; ++i) LocalFree(m_ppTrayTable[i]);
        LocalFree(m_ppTrayTable);
    }
    m_ppTrayTable = nullptr;
    m_iTrayCount = 0;
}

int CZQAutoConfig::IBuildTrayTable() {
    VFreeTrayTable();
    if (!BHasItems()) return 0;
    // A table that cannot be read counts as empty.
    PWSTR* sizes = nullptr;
    PWSTR* names = nullptr;
    int sizeCount = 0, nameCount = 0;
    if (DWGetOptionKeywords(m_pCUIParam, kTraySizes, &sizes, &sizeCount, kPrinterMode) != ZQOPT_OK) sizeCount = 0;
    if (DWGetOptionKeywords(m_pCUIParam, kTrayNames, &names, &nameCount, kPrinterMode) != ZQOPT_OK) nameCount = 0;
    const int total = sizeCount + nameCount;
    m_ppTrayTable = total ? static_cast<InstallableTrayEntry**>(LocalAlloc(LPTR, total * sizeof(InstallableTrayEntry*)))
                          : nullptr;
    for (int i = 0; m_ppTrayTable && i < total; ++i) {
        auto* entry = static_cast<InstallableTrayEntry*>(LocalAlloc(LPTR, sizeof(InstallableTrayEntry)));
        // The table ends at the last entry that could be made.
        if (!entry) break;
        m_ppTrayTable[m_iTrayCount++] = entry;
        Part parts[3] = {};
        if (i < sizeCount) {
            const int found = ZQSplitTableKeyword(sizes[i], parts, 3);
            double capacity = 0;
            ZQCopyText(entry->szName, kPartChars, parts[0]);
            if (found >= 2 && ZQReadWholeNumber(parts[1], MAXDWORD, &capacity))
                entry->dwCapacity = static_cast<DWORD>(capacity);
            if (found >= 3) {
                ZQCopyText(entry->szKind, kPartChars, parts[2]);
                entry->iKindCode = ZQTrayKindCode(parts[2]);
            }
            const int code = entry->iKindCode;
            entry->iInstalled = code >= 1 && code <= kZQLastTrayKindCode && m_adwInputCapacities[code - 1] != 0 &&
                                m_adwInputCapacities[code - 1] == entry->dwCapacity;
        } else {
            const int found = ZQSplitTableKeyword(names[i - sizeCount], parts, 2);
            ZQCopyText(entry->szName, kPartChars, parts[0]);
            ZQCopyText(entry->szModel, kPartChars, parts[1]);
            // The devices' models first, then the inputs'.
            entry->iInstalled = found >= 2 && (ModelReported(entry->szModel, m_apszHandlerModels, kPaperHandlers) ||
                                               ModelReported(entry->szModel, m_apszInputModels, kInputTrays));
        }
    }
    VFreeStringList(sizes, sizeCount);
    VFreeStringList(names, nameCount);
    return m_iTrayCount;
}

BOOL CZQAutoConfig::BFindTrayEntry(PCWSTR pszName, int iCount, int* piIndex) {
    if (!pszName || !piIndex) return FALSE;
    const int count = iCount < m_iTrayCount ? iCount : m_iTrayCount;
    int found = -1;
    for (int i = 0; i < count; ++i) {
        if (!ZQEqualNoCase(m_ppTrayTable[i]->szName, pszName)) continue;
        found = i;
        if (m_ppTrayTable[i]->iInstalled) break;
    }
    if (found < 0) return FALSE;
    *piIndex = found;
    return TRUE;
}

void CZQAutoConfig::VSetInstallableTrays() {
    if (!BHasItems() || !IBuildTrayTable()) return;
    ZQ_TRACE("CZQAutoConfig::VSetInstallableTrays");
    PWSTR* features = nullptr;
    int featureCount = 0;
    if (DWGetOptionKeywords(m_pCUIParam, kTrayFeatures, &features, &featureCount, kPrinterMode) != ZQOPT_OK) return;
    for (int f = 0; f < featureCount; ++f) {
        WCHAR feature[kPartChars];
        ZQCopyTextN(feature, kPartChars, features[f], kPartChars - 1);
        int index = -1;
        // A feature that is a tray itself: installed or not.
        if (BFindTrayEntry(feature, m_iTrayCount, &index)) {
            DWSelectOptionIndex(m_pCUIParam, feature, m_ppTrayTable[index]->iInstalled ? 1 : 0, kPrinterMode);
            continue;
        }
        // Otherwise the first of its options that is an installed tray, else none.
        PWSTR* options = nullptr;
        int optionCount = 0;
        if (DWGetOptionKeywords(m_pCUIParam, feature, &options, &optionCount, kPrinterMode) != ZQOPT_OK) continue;
        PCWSTR chosen = L"NONE";
        for (int o = 0; o < optionCount; ++o) {
            if (!BFindTrayEntry(options[o], m_iTrayCount, &index) || !m_ppTrayTable[index]->iInstalled) continue;
            chosen = options[o];
            break;
        }
        if (DWSelectOptionByKeyword(m_pCUIParam, feature, chosen, kPrinterMode) != ZQOPT_OK)
            zqtrace::Line(L"CZQAutoConfig: a tray feature was left as it was\n");
        VFreeStringList(options, optionCount);
    }
    VFreeStringList(features, featureCount);
}

void CZQAutoConfig::VBlankTrayAnswers() {
    const struct {
        PCWSTR suffix;
        bool text;
    } kAnswers[] = {{zs::kTrayInstalled, false}, {zs::kTrayMediaSizeLoaded, false}, {zs::kTrayMediaVendor, true},
                    {zs::kTrayMediaName, true},  {zs::kTrayMediaType, false},       {zs::kTrayCustomMediaWidth, false}};
    const DWORD zero = 0;
    for (const auto& answer : kAnswers) {
        for (int n = 1; n <= 3; ++n) {
            WCHAR name[48];
            ZQFormatText(name, 48, zs::kTrayAnswerFormat, n, answer.suffix);
            if (answer.text)
                BWriteAnswer(name, REG_SZ, L"", sizeof(WCHAR));
            else
                BWriteAnswer(name, REG_DWORD, &zero, sizeof zero);
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Media the user defined on the printer
// ---------------------------------------------------------------------------------------------
BOOL CZQAutoConfig::BBlankMediaNames() {
    for (int n = kZQDefaultLowMedia; n <= kZQDefaultHighMedia; ++n) {
        WCHAR name[32];
        ZQFormatText(name, 32, zs::kMediaNameFormat, n);
        BWriteAnswer(name, REG_SZ, L"", sizeof(WCHAR));
    }
    const BYTE none = 0;
    return BWriteAnswer(zs::kAnswerMediaNamesMask, REG_BINARY, &none, sizeof none);
}

int CZQAutoConfig::IUpdateUserDefinedMedia() {
    CZQLocalPtr<WCHAR> range;
    if (!m_pCUIParam || !m_pCUIParam->poemuiobj || DWGetFeatureOption(m_pCUIParam, kMediaRange, range.Put()) != ZQOPT_OK)
        return 0;
    ZQ_TRACE("CZQAutoConfig::IUpdateUserDefinedMedia");
    int low = 0, high = 0;
    ZQMediaRange(range.Get(), &low, &high);
    // Number 0 has no bit in the mask.
    const int first = low < 1 ? 1 : low, last = high;

    // Any mask but 0 chooses the numbers, whatever its bytes look like.
    CZQLocalPtr<BYTE> data;
    DWORD cb = 0;
    const DWORD mask = BReadAnswer(zs::kAnswerMediaNamesMask, data.Put(), &cb) ? ZQMediaMask(data.Get(), cb) : 0;

    return ICollectNames(zs::kMediaNameFormat, first, last, mask, kMaxMediaNames, kUserMediaChars, kUserDefinedMedia);
}
