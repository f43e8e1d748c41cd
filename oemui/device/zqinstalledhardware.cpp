// The installed hardware the apply pass sets from single answers and from the paper-handling
// devices: memory, duplex unit and hard disk; the output accessory, mailbox mode and finishers the
// driver's hidden tables name by part number; the output-bin names; and the re-selection of the
// settings the hardware limits once it is known.
#include <cstring>
#include <cwchar>
#include <string>
#include <utility>

#include "common/zqkeywords.h"
#include "common/zqstorenames.h"
#include "common/zqstrings.h"
#include "common/zqtrace.h"
#include "device/zqautoconfig.h"
#include "formats/zqinstallable.h"
#include "formats/zquidevmode.h"
#include "settings/zqdriverdata.h"

namespace {

constexpr DWORD kPrinterMode = OEMCUIP_PRNPROP;
constexpr PCWSTR kAccessories = zqkw::kAccessoryOutputBins;
constexpr WCHAR kAccessoryTable[] = L"ZQInstallableHCO";
constexpr WCHAR kFinisherTable[] = L"ZQInstallableFinisher";
namespace zs = zqsettings;
using zs::kOutputBinNames;
constexpr int kMaxMemorySizes = 256;
constexpr int kMaxOptionModels = 6;
constexpr int kMaxOutputNames = 14;
constexpr size_t kOutputNameChars = 17;
constexpr int kDefaultLowBin = 1;
constexpr int kDefaultHighBin = 14;
// Bin numbers beyond this are no bins of a printer: a range is held to it.
constexpr double kLastBinNumber = 999;

// Which mailbox kind a device is, by its model, and the option keywords that stand for that kind.
const struct {
    PCWSTR model;
    PCWSTR option;
} kMailboxKinds[] = {{L"JOB SEPARATOR", L"JobSeparator"},
                     {L"MAILBOX", L"Mailbox"},
                     {L"SORTER/COLLATOR", L"Sorter"},
                     {L"STACKER", L"Stacker"},
                     {L"FUNCTION SEPARATOR", L"FunctionSeparator"}};

const PCWSTR kMailboxModes[] = {L"MailboxModeStacker", L"MailboxModeSeparator", L"MailboxModeCollator",
                                L"MailboxModeMailbox"};
// The accessories whose bins have names of their own.
const PCWSTR kNamedBinAccessories[] = {zqkw::kMBX8Mailbox, zqkw::kMBX5Mailbox, zqkw::kMBX7Mailbox, zqkw::kMBX3Mailbox};
const PCWSTR kFinisherFeatures[] = {zqkw::kZQPunchUnitType, zqkw::kZQPostInsertionKit};

bool IsNoneOption(PCWSTR psz) {
    return ZQEqualNoCase(psz, L"NONE") || ZQEqualNoCase(psz, L"NOTINSTALLED") || ZQEqualNoCase(psz, L"FALSE");
}

bool IsInstalledKeyword(PCWSTR psz) { return ZQEqualNoCase(psz, L"TRUE") || ZQEqualNoCase(psz, L"INSTALLED"); }

std::wstring Upper(PCWSTR psz) {
    std::wstring s(psz);
    for (wchar_t& c : s)
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    return s;
}

bool IsMailboxKind(const std::wstring& upperModel, PCWSTR pszOption) {
    for (const auto& kind : kMailboxKinds)
        if (upperModel.find(kind.model) != std::wstring::npos && wcsstr(pszOption, kind.option)) return true;
    return false;
}

// The table's keywords that describe the option (they hold its keyword) name a part number; whether
// one of the texts holds one of those numbers, without regard to case. Mailbox options must also
// be of the text's mailbox kind.
bool TableNamesReported(POEMCUIPPARAM pParam, PCWSTR pszTable, PCWSTR pszOption, PWSTR* ppTexts, int count,
                        bool mailboxRule) {
    PWSTR* keywords = nullptr;
    int keywordCount = 0;
    if (CZQCommon::DWGetOptionKeywords(pParam, pszTable, &keywords, &keywordCount, kPrinterMode) != ZQOPT_OK)
        return false;
    const bool mailbox = mailboxRule && wcsncmp(pszOption, L"MBX", 3) == 0;
    bool found = false;
    for (int k = 0; k < keywordCount && !found; ++k) {
        WCHAR keyword[kZQKeywordPartChars];
        ZQCopyTextN(keyword, kZQKeywordPartChars, keywords[k], kZQKeywordPartChars - 1);
        if (!wcsstr(keyword, pszOption)) continue;
        ZQKeywordPart parts[2] = {};
        if (ZQSplitTableKeyword(keyword, parts, 2) < 2 || !parts[1][0]) continue;
        const std::wstring partNumber = Upper(parts[1]);
        for (int t = 0; t < count && !found; ++t) {
            if (!ppTexts[t] || !ppTexts[t][0]) continue;
            const std::wstring model = Upper(ppTexts[t]);
            if (model.find(partNumber) == std::wstring::npos) continue;
            found = !mailbox || IsMailboxKind(model, pszOption);
        }
    }
    CZQCommon::VFreeStringList(keywords, keywordCount);
    return found;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Memory, duplex unit, hard disk
// ---------------------------------------------------------------------------------------------
void CZQAutoConfig::VSetInstalledMemory(DWORD dwKilobytes) {
    if (!BHasItems()) return;
    const bool postScript = m_dwPdl == zqdm::kPdlPostScript;
    const PCWSTR feature = postScript ? zqkw::kInstalledMemory : zqkw::kMemory;
    PWSTR* keywords = nullptr;
    int count = 0;
    if (DWGetOptionKeywords(m_pCUIParam, feature, &keywords, &count, kPrinterMode) != ZQOPT_OK) return;
    ZQ_TRACE("CZQAutoConfig::VSetInstalledMemory");
    const int listed = count;
    // PostScript lists end in an entry for help, which is no size.
    if (postScript && count > 0 && ZQEqualNoCase(keywords[count - 1], zqkw::kHelpIndexOption)) --count;
    if (count > kMaxMemorySizes) count = kMaxMemorySizes;
    DWORD sizes[kMaxMemorySizes] = {};
    for (int i = 0; i < count; ++i) {
        CZQLocalPtr<char> ansi;
        DWORD high = 0;
        if (!BWideToMultiByte(keywords[i], ansi.Put(), CP_ACP) ||
            !BParseMemoryRange(m_dwPdl, ansi.Get(), &sizes[i], &high))
            sizes[i] = 0;
    }
    const DWORD megabytes = dwKilobytes >> 10;
    int index = count - 1;
    if (count > 0 && megabytes <= sizes[0]) index = 0;
    for (int i = 0; index != 0 && i + 1 < count; ++i) {
        if (sizes[i] <= megabytes && megabytes < sizes[i + 1]) {
            index = i;
            break;
        }
    }
    if (index >= 0) DWSelectOptionIndex(m_pCUIParam, feature, index, kPrinterMode);
    VFreeStringList(keywords, listed);
}

void CZQAutoConfig::VSetInstalledFlag(PCWSTR pszFeature, BOOL bInstalled) {
    CZQLocalPtr<WCHAR> current;
    if (!BHasItems() || !pszFeature || DWGetFeatureOption(m_pCUIParam, pszFeature, current.Put()) != ZQOPT_OK) return;
    if (IsInstalledKeyword(current.Get()) == !!bInstalled) return;
    DWSelectOptionIndex(m_pCUIParam, pszFeature, bInstalled ? 1 : 0, kPrinterMode);
}

void CZQAutoConfig::VRefreshVeltorItems() {
    for (PCWSTR feature : {zqkw::kJobRetention, L"DeviceIsVeltor"}) {
        POPTITEM item = nullptr;
        if (DWFindOptItem(m_pCUIParam, feature, &item) == ZQOPT_OK) VReselectAllowedOptions(item);
    }
}

void CZQAutoConfig::VReselectAllowedOptions(OPTITEM* pItem) {
    if (!pItem || !m_pCUIParam || !m_pCUIParam->poemuiobj || !m_pCUIParam->poemuiobj->pOemUIProcs ||
        !m_pCUIParam->poemuiobj->pOemUIProcs->DrvUpdateUISetting)
        return;
    int count = IGetOptionCount(pItem);
    // The last option of a PostScript item is no choice of the hardware's.
    if (m_dwPdl == zqdm::kPdlPostScript) --count;
    // Each allowed option in turn, so that the core driver follows up to the highest of them.
    for (int i = 0; i < count; ++i) {
        const POPTPARAM option = PGetOptionParam(pItem, i);
        if (!option || (option->Flags & OPTPF_OVERLAY_WARNING_ICON)) continue;
        pItem->Sel = i;
        pItem->Flags |= OPTIF_CHANGED;
        BReportItem(m_pCUIParam, pItem, static_cast<DWORD>(i), kPrinterMode);
    }
}

// ---------------------------------------------------------------------------------------------
// Output accessories and mailbox modes
// ---------------------------------------------------------------------------------------------
void CZQAutoConfig::VSetAccessoryOutputBins(PWSTR* ppszModels) {
    PWSTR* options = nullptr;
    int count = 0;
    if (!BHasItems() || !ppszModels ||
        DWGetOptionKeywords(m_pCUIParam, kAccessories, &options, &count, kPrinterMode) != ZQOPT_OK)
        return;
    int none = -1, chosen = -1;
    for (int i = 0; i < count && none < 0; ++i)
        if (IsNoneOption(options[i])) none = i;
    for (int i = 0; i < count && chosen < 0; ++i)
        if (i != none && BAccessoryMatches(ppszModels, options[i])) chosen = i;
    // A removed accessory is switched off by the next update.
    DWSelectOptionIndex(m_pCUIParam, kAccessories, chosen >= 0 ? chosen : (none >= 0 ? none : 0), kPrinterMode);
    VFreeStringList(options, count);
}

BOOL CZQAutoConfig::BAccessoryMatches(PWSTR* ppszModels, PCWSTR pszOption) {
    return BHasItems() && ppszModels && pszOption &&
           TableNamesReported(m_pCUIParam, kAccessoryTable, pszOption, ppszModels, kPaperHandlers, true);
}

DWORD CZQAutoConfig::DWSetMailboxMode(int iMode) {
    if (!BHasItems() || iMode < 1 || iMode > 4) return ZQOPT_BAD_ARGUMENT;
    return DWSelectOptionByKeyword(m_pCUIParam, zqkw::kMailboxModes, kMailboxModes[iMode - 1], kPrinterMode);
}

// ---------------------------------------------------------------------------------------------
// Finishers
// ---------------------------------------------------------------------------------------------
void CZQAutoConfig::VApplyFinisherOptions(BOOL bApply) {
    for (int n = 1; n <= kPaperHandlers; ++n) {
        WCHAR name[64];
        ZQFormatText(name, 64, zs::kDiskOptionCountFormat, n);
        CZQLocalPtr<BYTE> data;
        DWORD cb = 0;
        if (!BReadAnswer(name, data.Put(), &cb) || cb < 1) continue;
        int count = data.Get()[0];
        if (count > kMaxOptionModels) {
            count = kMaxOptionModels;
            if (!bApply) {
                const DWORD six = kMaxOptionModels;
                BWriteAnswer(name, REG_DWORD, &six, sizeof six);
            }
        }
        for (int m = 1; m <= count; ++m) {
            WCHAR model[64];
            ZQFormatText(model, 64, zs::kDiskOptionModelFormat, n, m);
            if (bApply)
                VCopyTextAnswer(model, &m_apszOptionModels[m - 1]);
            else
                BWriteTextPlaceholder(model);
        }
        if (!bApply) continue;
        if (count) VSetFinisherFeatures(m_apszHandlerModels[n - 1], m_apszOptionModels, count);
        for (PWSTR& slot : m_apszOptionModels) {
            if (slot) LocalFree(slot);
            slot = nullptr;
        }
    }
}

void CZQAutoConfig::VSetFinisherFeatures(PCWSTR, PWSTR* ppszOptionModels, int iCount) {
    if (!BHasItems() || !ppszOptionModels) return;
    for (PCWSTR feature : kFinisherFeatures) {
        PWSTR* options = nullptr;
        int count = 0;
        if (DWGetOptionKeywords(m_pCUIParam, feature, &options, &count, kPrinterMode) != ZQOPT_OK) continue;
        int none = 0, chosen = -1;
        for (int i = 0; i < count && chosen < 0; ++i) {
            if (IsNoneOption(options[i]))
                none = i;
            else if (BFinisherMatches(ppszOptionModels, options[i], iCount))
                chosen = i;
        }
        DWSelectOptionIndex(m_pCUIParam, feature, chosen >= 0 ? chosen : none, kPrinterMode);
        VFreeStringList(options, count);
    }
}

BOOL CZQAutoConfig::BFinisherMatches(PWSTR* ppszOptionModels, PCWSTR pszOption, int iCount) {
    const int count = iCount < kMaxOptionModels ? iCount : kMaxOptionModels;
    return BHasItems() && ppszOptionModels && pszOption &&
           TableNamesReported(m_pCUIParam, kFinisherTable, pszOption, ppszOptionModels, count, false);
}

// ---------------------------------------------------------------------------------------------
// Output-bin names
// ---------------------------------------------------------------------------------------------
void CZQAutoConfig::VBlankOutputNames() {
    for (int n = 1; n <= kMaxOutputNames; ++n) {
        WCHAR name[32];
        ZQFormatText(name, 32, zs::kOutputNameFormat, n);
        BWriteTextPlaceholder(name);
    }
}

int CZQAutoConfig::IUpdateOutputBinNames() {
    CZQLocalPtr<WCHAR> range;
    if (!BHasItems() || DWGetFeatureOption(m_pCUIParam, L"ZQOutputBinDMLRange", range.Put()) != ZQOPT_OK) return 0;
    ZQ_TRACE("CZQAutoConfig::IUpdateOutputBinNames");
    ZQKeywordPart parts[2] = {};
    const int found = ZQSplitTableKeyword(range.Get(), parts, 2);
    double low = kDefaultLowBin, high = kDefaultHighBin;
    if (found < 1 || !ZQReadWholeNumber(parts[0], kLastBinNumber, &low)) low = kDefaultLowBin;
    if (found < 2 || !ZQReadWholeNumber(parts[1], kLastBinNumber, &high)) high = kDefaultHighBin;
    if (low > high) std::swap(low, high);

    CZQLocalPtr<WCHAR> accessory;
    bool named = false;
    if (DWGetFeatureOption(m_pCUIParam, kAccessories, accessory.Put()) == ZQOPT_OK)
        for (PCWSTR option : kNamedBinAccessories) named = named || wcscmp(accessory.Get(), option) == 0;

    // Without named bins the list goes.
    const int first = named ? static_cast<int>(low) : 1, last = named ? static_cast<int>(high) : 0;
    return ICollectNames(zs::kOutputNameFormat, first, last, 0, kMaxOutputNames, kOutputNameChars, kOutputBinNames);
}

int CZQAutoConfig::ICollectNames(PCWSTR pszFormat, int iFirst, int iLast, DWORD dwMask, int iMaxNames,
                                 size_t cchName, PCWSTR pszList) {
    std::wstring list;
    int count = 0;
    for (int n = iFirst; n <= iLast && count < iMaxNames; ++n) {
        if (dwMask && (n < 1 || n > 32 || !(dwMask & (1u << (n - 1))))) continue;
        WCHAR name[32];
        ZQFormatText(name, 32, pszFormat, n);
        CZQLocalPtr<BYTE> value;
        DWORD cb = 0;
        if (!BReadAnswer(name, value.Put(), &cb)) continue;
        const auto* text = reinterpret_cast<PCWSTR>(value.Get());
        const size_t length = ZQTextLength(text, cb / sizeof(WCHAR));
        if (length == 0 || (length == 1 && text[0] == L' ')) continue;
        list.append(text, length < cchName ? length : cchName).push_back(L'\0');
        ++count;
    }
    if (count) {
        list.push_back(L'\0');
        BWriteAnswer(pszList, REG_MULTI_SZ, list.c_str(), static_cast<DWORD>(list.size() * sizeof(WCHAR)));
    } else {
        // Readers take the store first: a stale list there would keep what the printer no longer has.
        BDeleteAnswer(pszList);
        CZQDriverData::BDeletePrinterData(m_hPrinter, pszList);
    }
    return count;
}
