// CZQUILogic: layout and quality setters, the preview codes, the saved selections, the sheet's
// bookkeeping, and the text, list and roll helpers.
#include <cmath>
#include <cstdio>
#include <cwchar>

#include "common/zqkeywords.h"
#include "common/zqlanguage.h"
#include "common/zqmsgbox.h"
#include "common/zqprinterdata.h"
#include "common/zqstorenames.h"
#include "common/zqstrings.h"
#include "common/zqtrace.h"
#include "settings/zqdriverdata.h"
#include "xmlrules/zqxmlparser.h"
#include "xmlrules/zqxmluirules.h"
#include "featurelogic/zquilogic.h"

#include "featurelogic/zqquicksets.h"

namespace {

struct CodeRow {
    PCWSTR option;
    int code;
};

// The code of the feature's current option (no case), or the fall-back.
template <size_t N>
int CodeOf(POEMCUIPPARAM pParam, PCWSTR pszFeature, const CodeRow (&rows)[N], int fallback) {
    CZQLocalPtr<WCHAR> option;
    if (CZQCommon::DWGetFeatureOption(pParam, pszFeature, option.Put()) != ZQOPT_OK) return fallback;
    for (const CodeRow& row : rows)
        if (ZQEqualNoCase(option.Get(), row.option)) return row.code;
    return fallback;
}

const CodeRow kStapleCodes[] = {
    {L"Default", 0},   {L"None", 0},        {L"1parallel", 1}, {L"2parallel", 2}, {L"3parallel", 3},
    {L"6parallel", 6}, {L"Custom", 7},      {L"1diagonal", 8}, {L"Stitching", 9}, {L"1left", 8},
    {L"1right", 10},   {L"2left", 2},       {L"2Right", 11},   {L"2top", 12},     {L"3top", 13},
};
const CodeRow kPunchCodes[] = {{L"Default", 0}, {L"Left", 1}, {L"Right", 2}, {L"Top", 3}};
const CodeRow kPunchUnitCodes[] = {
    {L"NotInstalled", 0}, {L"ZQ2HolePunch", 1}, {L"ZQ3HolePunch", 2}, {L"ZQ4HolePunch", 3}};
const CodeRow kFoldCodes[] = {
    {L"Default", 0},        {L"TriFoldInward", 1},   {L"TriFoldOutward", 2}, {L"ZFold", 3},
    {L"HalfFoldInward", 6}, {L"HalfFoldOutward", 7}, {L"FoldAndStitch", 8},
};
const CodeRow kAccessoryCodes[] = {
    {L"None", 1},           {zqkw::kMBX5Mailbox, 3},      {zqkw::kMBX8Mailbox, 4},          {zqkw::kMBX7Mailbox, 5},
    {L"3000Stapler", 6},    {L"3000Stacker", 7},      {L"500Stapler", 8},           {L"500Stacker", 9},
    {zqkw::kMultiFunctionFinisher, 10}, {zqkw::kMBX3Mailbox, 11}, {L"750Stapler", 12},      {L"SS3MailboxMode", 13},
    {L"SS3StackerMode", 14}, {L"BookletMakerFinisher", 15}, {L"InLineFolder", 16},
};

// Features whose selection is kept when the sheet opens, for the pages' change checks.
const PCWSTR kSavedFeatures[] = {
    zqkw::kPrintQualityGroup, zqkw::kPrintFinish,       zqkw::kThriftmode,         zqkw::kOHTInterleave,
    zqkw::kZQSaveRollPaper,   zqkw::kZQDisableAutoCutter, zqkw::kZQAutorotate,     zqkw::kZQMarginType,
    zqkw::kZQLayoutType,      zqkw::kZQBorderless,      zqkw::kZQPrintWithMargins, zqkw::kZQPrintPreview,
    zqkw::kZQBorderLessPhoto, zqkw::kZQBorderLessAutoFit, zqkw::kZQQuietPrinting,  zqkw::kPaperSize,
    zqkw::kPageSize,          zqkw::kZQMaximumDetail,   zqkw::kZQOptimizeFor,      zqkw::kOutputBin,
    zqkw::kStapling,          zqkw::kStapleLocation,    zqkw::kPunching,           zqkw::kFolding,
    L"ZQImageShift",      zqkw::kFaceControl,       zqkw::kZQUseAutoDuplexUnit, L"ZQPosterPrintingOption",
    zqkw::kZQInputColorSpace, zqkw::kJCLThriftmode,     zqkw::kZQMirrorPrint,     zqkw::kZQPhotoFix,
    zqkw::kZQEmulatePexlonMargins, zqkw::kZQSymmetricMargins, zqkw::kZQMinimizeMargins, zqkw::kZQCenterOnPage,
    L"ZQInstalledPrintCartridges",
    // The Colour page's lists.
    L"RGBColor", L"CMYKInks", zqkw::kZQPrintInGrayScale, zqkw::kJCLZQPrintInGrayScale, L"ZQColorMgmtOptions", L"ZQCMYK",
    L"ZQRGB", L"ZQIntent", L"ZQEmulatedPrinters", L"ZQNeutralGrays",
};

const PCWSTR kPhotoFixFeatures[] = {zqkw::kZQContrast, zqkw::kZQDigitalFlash, zqkw::kZQSharpness,
                                    zqkw::kZQVorevEzuro, zqkw::kZQSmoothing, zqkw::kZQRedEyeReduction};


// A NUL-separated list of texts ended by an empty text (or by the data's end) as a new list.
BOOL SplitMultiText(const BYTE* pData, DWORD cb, PWSTR** ppList, int* piCount) {
    const auto* text = reinterpret_cast<const WCHAR*>(pData);
    const size_t units = cb / sizeof(WCHAR);
    int count = 0;
    for (size_t i = 0; i < units && text[i];) {
        const size_t len = ZQTextLength(text + i, units - i);
        ++count;
        i += len + 1;
    }
    PWSTR* list = static_cast<PWSTR*>(LocalAlloc(LPTR, (count ? count : 1) * sizeof(PWSTR)));
    if (!list) return FALSE;
    int n = 0;
    for (size_t i = 0; i < units && text[i] && n < count;) {
        const size_t len = ZQTextLength(text + i, units - i);
        list[n] = ZQDupText(text + i, len);
        if (!list[n]) {
            CZQCommon::VFreeStringList(list, n);
            return FALSE;
        }
        ++n;
        i += len + 1;
    }
    *ppList = list;
    *piCount = count;
    return TRUE;
}

BOOL ReadAnswerList(HANDLE hPrinter, PCWSTR pszValue, PWSTR** ppList, int* piCount) {
    if (!ppList || !piCount) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    *ppList = nullptr;
    *piCount = 0;
    CZQLocalPtr<BYTE> data;
    DWORD cb = 0;
    if (!CZQUIBase::BReadUserSetting(hPrinter, zqsettings::kAnswerStoreKey, pszValue, data.Put(), &cb)) return FALSE;
    return SplitMultiText(data.Get(), cb, ppList, piCount);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// C. Layout
// ---------------------------------------------------------------------------------------------
DWORD CZQUILogic::ISetPageOrderItems(BOOL bBackToFront) {
    const LONG sel = bBackToFront ? 1 : 0;
    const DWORD status = DWSelectPubOption(m_pCUIParam, DMPUB_PAGEORDER, 0, sel);
    POPTITEM own = nullptr;
    // The plug-in's own copy keeps its value in the private devmode, not in the core driver.
    if (DWFindOemOptItemByPubId(m_pCUIParam, kOemPubPageOrder, &own) == ZQOPT_OK) {
        own->Sel = sel;
        own->Flags |= OPTIF_CHANGED;
    }
    POPTITEM core = nullptr;
    if (DWFindOptItemByPubId(m_pCUIParam, DMPUB_PAGEORDER, 0, &core) == ZQOPT_OK) core->Flags |= OPTIF_CHANGED;
    if (m_pDevmode) m_pDevmode->dwPageOrder = static_cast<uint32_t>(sel);
    return status;
}

void CZQUILogic::VSyncNupItem(const PrinterCaps*) {
    if (!m_pDevmode) return;
    POPTITEM item = nullptr;
    if (DWFindOptItemByPubId(m_pCUIParam, DMPUB_NUP, 0, &item) != ZQOPT_OK) return;
    const int index = IGetNupIndex(m_pDevmode);
    if (item->Sel != index) DWSelectPubOption(m_pCUIParam, DMPUB_NUP, 0, index);
}

BOOL CZQUILogic::BClearTransverseForBitmap() {
    if (!m_pDevmode || m_pDevmode->dwLayoutMode == 3 || !BOptionIs(zqkw::kZQSendJobAsBitmap, zqkw::kSleekMode24bpp))
        return FALSE;
    DWSelect(zqkw::kZQTransverse, 0);
    m_pDevmode->dwRotate90 = 0;
    return TRUE;
}

void CZQUILogic::VSetStraightPaperPath(BOOL bOn) {
    DWSelect(L"ZQStraightPaperPath", bOn ? 1 : 0);
    m_bStraightPaperPath = bOn ? TRUE : FALSE;
    if (m_pDevmode) m_pDevmode->dwStraightPaperPath = bOn ? 1 : 0;
}

void CZQUILogic::VUpdateOutputBinFaceUp() {
    WCHAR delivery[256];
    if (!m_pDevmode || !BReadOption(L"ZQOutputBinOrientation", delivery)) return;
    m_pDevmode->dwOutputFaceUp = ZQContainsNoCase(delivery, L"FaceUp") ? 1 : 0;
}

// ---------------------------------------------------------------------------------------------
// D. Quality and colour
// ---------------------------------------------------------------------------------------------
void CZQUILogic::VSelectHighQuality(PCWSTR pszFeature) {
    const int index = IGetOptionIndexByKeyword(m_pCUIParam, L"HighQuality", pszFeature, nullptr);
    POPTITEM item = nullptr;
    if (index < 0 || DWFindOptItem(m_pCUIParam, pszFeature, &item) != ZQOPT_OK || index >= item->pOptType->Count)
        return;
    DWSelectOptionByIndex(m_pCUIParam, pszFeature, index, OEMCUIP_DOCPROP);
}

DWORD CZQUILogic::ISetPhotoFixFeatures(const DWORD adwIndex[6]) {
    if (!adwIndex) return ZQOPT_BAD_ARGUMENT;
    DWORD result = ZQOPT_OK;
    for (int i = 0; i < 6; ++i) {
        const DWORD status = DWSelect(kPhotoFixFeatures[i], static_cast<int>(adwIndex[i]));
        if (status != ZQOPT_OK && result == ZQOPT_OK) result = status;
    }
    return result;
}

void CZQUILogic::VSavePrintQualityName() {
    POPTITEM item = nullptr;
    if (DWFindOptItemByPubId(m_pCUIParam, DMPUB_PRINTQUALITY, 0, &item) != ZQOPT_OK) return;
    const auto* ud = reinterpret_cast<const USERDATA*>(item->UserData);
    if (!ud || !ud->pKeyWordName) return;
    CZQLocalPtr<WCHAR> feature, option;
    if (!BMultiByteToWide(feature.Put(), ud->pKeyWordName, CP_ACP)) return;
    if (DWGetFeatureOption(m_pCUIParam, feature.Get(), option.Put()) == ZQOPT_OK)
        ZQCopyText(m_szPrintQualityName, 256, option.Get());
}

void CZQUILogic::VUpdateColorSpaceConflicts() {
    auto selectedConflicts = [](const OPTITEM* item) {
        return item && item->pOptType && item->pOptType->pOptParam && item->Sel >= 0 &&
               item->Sel < item->pOptType->Count &&
               (item->pOptType->pOptParam[item->Sel].Flags & OPTPF_OVERLAY_WARNING_ICON);
    };
    POPTITEM space = nullptr, media = nullptr, quality = nullptr;
    DWFindOptItem(m_pCUIParam, zqkw::kZQInputColorSpace, &space);
    DWFindOptItem(m_pCUIParam, zqkw::kMediaType, &media);
    if (!media) DWFindOptItemByPubId(m_pCUIParam, DMPUB_MEDIATYPE, 0, &media);
    DWFindOptItemByPubId(m_pCUIParam, DMPUB_PRINTQUALITY, 0, &quality);
    if (!selectedConflicts(space)) return;
    // The core driver re-evaluates its constraints when it hears of the item again.
    POPTITEM item = selectedConflicts(media) ? media : selectedConflicts(quality) ? quality : nullptr;
    if (!item) return;
    const LONG sel = item->Sel;
    item->Flags |= OPTIF_CHANGED;
    BReportItem(m_pCUIParam, item, static_cast<DWORD>(sel), DWSelectMode());
}

void CZQUILogic::VSetColorModeForQualityGroup() {
    if (!BCanRead(L"ZQSetBPPForSelectedPQGroup")) return;
    int group = -1;
    POPTITEM colorMode = nullptr;
    if (DWGetFeatureOptionIndex(m_pCUIParam, zqkw::kPrintQualityGroup, &group) != ZQOPT_OK || group < 0 ||
        DWFindOptItem(m_pCUIParam, zqkw::kColorMode, &colorMode) != ZQOPT_OK)
        return;
    const int count = IGetOptionCount(colorMode);
    if (count <= 0) return;
    DWSelectOptionByIndex(m_pCUIParam, zqkw::kColorMode, group < count ? group : count - 1, OEMCUIP_DOCPROP);
}

// ---------------------------------------------------------------------------------------------
// E. Preview codes
// ---------------------------------------------------------------------------------------------
int CZQUILogic::IGetStapleCode() const {
    return CodeOf(m_pCUIParam, BIsPostScript() ? zqkw::kStapleLocation : zqkw::kStapling, kStapleCodes, 0);
}
int CZQUILogic::IGetPunchCode() const { return CodeOf(m_pCUIParam, zqkw::kPunching, kPunchCodes, 0); }
int CZQUILogic::IGetPunchUnitType() const { return CodeOf(m_pCUIParam, zqkw::kZQPunchUnitType, kPunchUnitCodes, -1); }
int CZQUILogic::IGetFoldCode() const { return CodeOf(m_pCUIParam, zqkw::kFolding, kFoldCodes, 0); }
int CZQUILogic::IGetOutputAccessoryCode() const {
    return CodeOf(m_pCUIParam, zqkw::kAccessoryOutputBins, kAccessoryCodes, -1);
}

int CZQUILogic::IGetThriftmodeState() const {
    if (!m_pCUIParam || !m_pCUIParam->pDrvOptItems || !m_pDevmode) return 1;
    POPTITEM item = nullptr;
    if (DWFindOptItem(m_pCUIParam, BIsPostScript() ? zqkw::kJCLThriftmode : zqkw::kThriftmode, &item) != ZQOPT_OK)
        return 1;
    return item->Sel != 0 ? 3 : 2;
}

// ---------------------------------------------------------------------------------------------
// G. Sheet bookkeeping
// ---------------------------------------------------------------------------------------------
static_assert(sizeof kSavedFeatures / sizeof kSavedFeatures[0] <= 48, "saved selections");

void CZQUILogic::VSaveSelections() {
    int i = 0;
    for (PCWSTR feature : kSavedFeatures) {
        int index = -1;
        if (DWGetFeatureOptionIndex(m_pCUIParam, feature, &index) != ZQOPT_OK) index = -1;
        m_aiSaved[i++] = index;
    }
    int poster = 0;
    m_bOldPosterFlag = BGetPosterTiles(&poster);
    m_bOldPreserveLayout = BOptionIs(zqkw::kZQAutoDuplexScaling, L"TRUE");
}

int CZQUILogic::IGetSavedSelection(PCWSTR pszFeature) const {
    if (!pszFeature) return -1;
    int i = 0;
    for (PCWSTR feature : kSavedFeatures) {
        if (ZQEqualNoCase(feature, pszFeature)) return m_aiSaved[i];
        ++i;
    }
    return -1;
}

int CZQUILogic::IResolveConflicts(ZQUIDevmode* pSettings) {
    ZQUIDevmode* dm = pSettings ? pSettings : m_pDevmode;
    if (!dm || !m_pCUIParam) return 0;
    ZQUIDevmode* const saved = m_pDevmode;
    m_pDevmode = dm;
    int changed = 0;
    // Two-sided printing against the form: a custom size outside the range, or a conflict the core
    // driver marks on the selected two-sided option, ends it.
    changed += IApplyCustomDuplexRange();
    POPTITEM duplex = nullptr;
    if (DWFindOptItemByPubId(m_pCUIParam, DMPUB_DUPLEX, 0, &duplex) == ZQOPT_OK && duplex->Sel > 0 &&
        duplex->pOptType && duplex->Sel < duplex->pOptType->Count &&
        (duplex->pOptType->pOptParam[duplex->Sel].Flags & OPTPF_OVERLAY_WARNING_ICON)) {
        DWSelectPubOption(m_pCUIParam, DMPUB_DUPLEX, 0, 0);
        dm->wDuplex = DMDUP_SIMPLEX;
        ++changed;
    }
    // The straight paper path goes with the first output bin.
    if (dm->dwStraightPaperPath) {
        int bin = 0;
        if (DWGetFeatureOptionIndex(m_pCUIParam, zqkw::kOutputBin, &bin) == ZQOPT_OK && bin != 0 &&
            DWSelect(zqkw::kOutputBin, 0) == ZQOPT_OK)
            ++changed;
    }
    // Quality against media: the media type's macros, then the colour space.
    if (CZQXmlUiRules* rules = PLoadedRules()) rules->VRunMediaTypeMacros(m_pCUIParam);
    VUpdateColorSpaceConflicts();
    // In the simplified interface a poster prints one page per sheet.
    if (BCanRead(zqkw::kZQSimplifiedUI) && dm->dwPagesPerSheet != 1) {
        int tiles = 0;
        if (BGetPosterTiles(&tiles)) {
            DWSelect(zqkw::kZQPosterPrintingOptionSUI, 0);
            ++changed;
        }
    }
    m_pDevmode = saved;
    return changed;
}

BOOL CZQUILogic::BIsSettingLocked(HANDLE hPrinter, PCWSTR pszKey, PCWSTR pszValue, PWSTR pszOut) {
    if (pszOut) pszOut[0] = 0;
    if (!hPrinter || !pszKey || !pszValue) return FALSE;
    WCHAR text[zqsettings::kItemChars];
    switch (CZQDriverData::EReadLockRecord(hPrinter, pszKey, pszValue, text)) {
        case zqsettings::LockRecord::kText:
            if (pszOut) ZQCopyText(pszOut, 256, text);
            return wcscmp(text, zqsettings::kLock) == 0;
        case zqsettings::LockRecord::kUnreadable:
            // A lock the spooler cannot show is still a lock.
            zqtrace::Line(L"CZQUILogic::BIsSettingLocked: lock record unreadable, setting locked\n");
            return TRUE;
        default:
            return FALSE;
    }
}

void CZQUILogic::VFollowUiLanguage() {
    const POEMCUIPPARAM param = m_pCUIParam;
    if (!param || !param->hPrinter) return;
    const LANGID language = zqlang::UiLanguage();
    DWORD type = 0, size = 0;
    CZQLocalPtr<BYTE> stored;
    const bool same = ZQReadStoredValue(param->hPrinter, nullptr, zqsettings::kUiLanguage, &type, stored, &size) ==
                          ERROR_SUCCESS &&
                      type == REG_DWORD && size == sizeof(DWORD) &&
                      LOWORD(*reinterpret_cast<const DWORD*>(stored.Get())) == language;
    if (same) return;
    const DWORD value = language;
    ZQWriteStoredValue(param->hPrinter, nullptr, zqsettings::kUiLanguage, REG_DWORD, &value, sizeof value);
    // The tree's units follow the new language's paper, unless the user chose them in this sheet.
    POPTITEM units = nullptr;
    if (DWFindOptItem(param, zqkw::kZQPaperSizeTreeviewPopup, &units) != ZQOPT_OK || !units ||
        (units->Flags & OPTIF_CHANGED))
        return;
    WCHAR paper[256] = {};
    VGetInitialFeatureOption(zqkw::kPaperSize, paper);
    const int index = IGetOptionIndexByKeyword(param, lstrcmpW(paper, L"LETTER") == 0 ? L"English" : L"Metric",
                                               zqkw::kZQPaperSizeTreeviewPopup, units);
    DWSelectOptionByIndex(param, zqkw::kZQPaperSizeTreeviewPopup, index, OEMCUIP_DOCPROP);
}

void CZQUILogic::VSetPublicColorMatching(PDEVMODEW pPublic) const {
    if (!pPublic) return;
    WCHAR option[256];
    if (BReadOption(zqkw::kZQInputColorSpace, option)) {
        pPublic->dmFields |= DM_ICMMETHOD;
        const bool plotter = BIsLargeFormat() && m_dwPdl == zqdm::kPdlZqgl2;
        const bool system = plotter ? !ZQEqualNoCase(option, L"ADOBERGB") : ZQEqualNoCase(option, L"ICM");
        pPublic->dmICMMethod = system ? DMICMMETHOD_SYSTEM : DMICMMETHOD_NONE;
    }
}

void CZQUILogic::VApplyIntentToDevmode(PDEVMODEW pPublic) const {
    WCHAR option[256];
    if (!pPublic || !BReadOption(L"ZQIntent", option)) return;
    pPublic->dmFields |= DM_ICMINTENT;
    const struct {
        PCWSTR intent;
        DWORD value;
    } intents[] = {{L"PERCEPTUAL", DMICM_CONTRAST},
                   {L"SATURATION", DMICM_SATURATE},
                   {L"RELCOLORIMETRIC", DMICM_COLORIMETRIC},
                   {L"ABSCOLORIMETRIC", DMICM_ABS_COLORIMETRIC}};
    for (const auto& i : intents)
        if (ZQEqualNoCase(option, i.intent)) pPublic->dmICMIntent = i.value;
}

void CZQUILogic::VKeepPopupMediaType(HANDLE hPrinter) {
    DWORD type = 0, cb = 0;
    CZQLocalPtr<BYTE> stored;
    if (ZQReadStoredValue(hPrinter, nullptr, zqsettings::kPopupMediaType, &type, stored, &cb) != ERROR_SUCCESS ||
        cb > sizeof(DWORD))
        CZQDriverData::BSetPrinterDataDword(hPrinter, zqsettings::kPopupMediaType, 0);
}

void CZQUILogic::VGetInitialFeatureOption(PCWSTR pszFeature, PWSTR pszOption) {
    if (!pszOption) return;
    // Before the installation completed the quick set in force gives its option.
    DWORD installed = 1;
    WCHAR option[256];
    if (m_pCUIParam && m_pQuickSets &&
        CZQDriverData::BGetPrinterDataDword(m_pCUIParam->hPrinter, zqsettings::kInstallationComplete, &installed) &&
        installed == 0 && m_pQuickSets->BActiveOption(pszFeature, option)) {
        ZQCopyText(pszOption, 256, option);
        return;
    }
    if (BReadOption(pszFeature, option)) ZQCopyText(pszOption, 256, option);
}

BOOL CZQUILogic::BFillDevmodeEnums(ZQUIDevmode* pDevmode) {
    ZQUIDevmode* dm = pDevmode ? pDevmode : m_pDevmode;
    if (!dm) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    if (BCanRead(zqkw::kJobRetention)) {
        dm->dwJobStorageAvailable = 1;
    } else {
        dm->dwJobStorageAvailable = 0;
        dm->dwRetentionMode = 0;
        dm->dwPinRequired = 0;
    }
    WCHAR option[256];
    const BOOL nameOverride = BReadOption(L"ZQDuplicateJobNameOverride", option);
    dm->dwNameExistsAvailable = nameOverride ? 1 : 0;
    dm->dwNameExistsSwfw = nameOverride && ZQEqualNoCase(option, L"SWFW") ? 1 : 0;
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// H. Texts and lists
// ---------------------------------------------------------------------------------------------
BOOL CZQUILogic::BHasMarkPrefix(PCWSTR pszText) { return pszText && wcsstr(pszText, L"<< ") != nullptr; }

BOOL CZQUILogic::BStripMarkPrefix(PWSTR pszText) {
    if (!pszText) return FALSE;
    const size_t len = ZQTextLength(pszText, 256);
    if (len >= 256) pszText[255] = 0;
    PWSTR mark = wcsstr(pszText, L"<< ");
    if (!mark) return FALSE;
    PCWSTR rest = mark + 3;
    memmove(pszText, rest, (wcslen(rest) + 1) * sizeof(WCHAR));
    return TRUE;
}

BOOL CZQUILogic::BIsInStringList(const PCWSTR* ppList, int iCount, PCWSTR pszText) {
    if (!ppList || !pszText) return FALSE;
    for (int i = 0; i < iCount; ++i)
        if (ppList[i] && wcscmp(ppList[i], pszText) == 0) return TRUE;
    return FALSE;
}

BOOL CZQUILogic::BFindValueIndex(DWORD dwValue, const ValueList* pList, int* piIndex) {
    if (!pList || !piIndex || (!pList->pValues && pList->dwCount)) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    for (DWORD i = 0; i < pList->dwCount; ++i)
        if (pList->pValues[i] == dwValue) {
            *piIndex = static_cast<int>(i);
            return TRUE;
        }
    return FALSE;
}

void CZQUILogic::VButtonCaption(HWND hButton, PWSTR pszCaption, size_t cchCaption) {
    if (!pszCaption || !cchCaption) return;
    pszCaption[0] = 0;
    WCHAR text[256] = {};
    if (hButton) GetWindowTextW(hButton, text, 256);
    size_t n = 0;
    for (PCWSTR p = text; *p && *p != L'(' && n + 1 < cchCaption; ++p)
        if (*p != L'&') pszCaption[n++] = *p;
    while (n > 0 && pszCaption[n - 1] == L' ') --n;
    pszCaption[n] = 0;
}

int CZQUILogic::IConfirmBox(INT idFirst, INT idSecond, INT idThird, UINT uFlags, HWND hOwner) {
    WCHAR caption[256];
    VButtonCaption(hOwner, caption, 256);
    WCHAR body[3 * kResStringChars + 8] = {};
    for (INT id : {idFirst, idSecond, idThird}) {
        WCHAR part[kResStringChars] = {};
        if (!BLoadResString(id, part) || !part[0]) continue;
        if (body[0]) ZQAppendText(body, sizeof body / sizeof body[0], L"\n\n");
        ZQAppendText(body, sizeof body / sizeof body[0], part);
    }
    return zqmsgbox::IShow(hOwner ? GetParent(hOwner) : nullptr, body, caption, uFlags);
}

// ---------------------------------------------------------------------------------------------
// I. Device answers and rolls
// ---------------------------------------------------------------------------------------------
BOOL CZQUILogic::BGetUserDefinedMedia(HANDLE hPrinter, PWSTR** ppList, int* piCount) {
    return ReadAnswerList(hPrinter, zqsettings::kUserDefinedMedia, ppList, piCount);
}

BOOL CZQUILogic::BGetOutputBinNames(HANDLE hPrinter, PWSTR** ppList, int* piCount) {
    return ReadAnswerList(hPrinter, zqsettings::kOutputBinNames, ppList, piCount);
}

void CZQUILogic::VApplyDeviceSettings() {
    CZQXmlUiRules* rules = PLoadedRules();
    IXMLDOMNodeList* list = rules ? rules->Parser().DeviceSettingList() : nullptr;
    DWORD installing = 0;
    if (!list || !m_pCUIParam ||
        !CZQDriverData::BGetPrinterDataDword(m_pCUIParam->hPrinter, zqsettings::kInstallationComplete,
                                             &installing) ||
        installing != 1)
        return;
    LONG count = 0;
    if (FAILED(list->get_length(&count))) return;
    for (LONG i = 0; i < count; ++i) {
        CZQComPtr<IXMLDOMNode> element;
        if (list->get_item(i, element.Put()) != S_OK || !element) return;
        PWSTR* settings = nullptr;
        DWORD settingCount = 0;
        if (!rules->BReadSettingText(element.Get(), &settings, &settingCount)) continue;
        for (DWORD k = 0; k < settingCount; ++k) {
            // The texts are ours: they are cut in place.
            PWSTR feature = settings[k];
            PWSTR stop = feature ? wcschr(feature, L'.') : nullptr;
            if (!stop || stop == feature) continue;
            *stop = 0;
            PWSTR option = stop + 1;
            if (PWSTR next = wcschr(option, L'.')) *next = 0;
            if (*option) DWSelectOptionByKeyword(m_pCUIParam, feature, option, DWSelectMode());
        }
        VFreeStringList(settings, static_cast<int>(settingCount));
    }
}

BOOL CZQUILogic::BReadRollLimits(CZQXmlUiRules* pRules, CZQLocalPtr<WCHAR> (&limits)[5]) {
    return pRules && pRules->BReadRollLimits(limits);
}

void CZQUILogic::VClampRollWidth(CZQXmlUiRules* pRules, PWSTR pszWidth) {
    if (pRules) pRules->VClampRollWidth(pszWidth);
}
