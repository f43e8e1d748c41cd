// CZQUILogic: the selected form, scaling from a large paper, two-sided printing and posters.
#include <shlwapi.h>

#include <cwchar>

#include "common/zqhandles.h"
#include "common/zqkeywords.h"
#include "common/zqstorenames.h"
#include "common/zqstrings.h"
#include "platform/zqspooler.h"
#include "featurelogic/zquilogic.h"

namespace {

// Texts of the standard banner papers in the status module.
const INT kBannerNameIds[] = {1026, 1027, 3319, 3320, 1028, 1029};

// The widest short side a paper may have without counting as wide: US Letter, with a millimetre
// of tolerance (tenths of a millimetre).
constexpr LONG kWidePaperSide = 2170;

bool StartsWithNoCase(PCWSTR text, PCWSTR prefix) {
    return text && _wcsnicmp(text, prefix, wcslen(prefix)) == 0;
}

}  // namespace

PCWSTR CZQUILogic::PszFormFeature() const { return BIsPostScript() ? zqkw::kPageSize : zqkw::kPaperSize; }

BOOL CZQUILogic::BSelectedFormName(PWSTR pszName) {
    CZQLocalPtr<WCHAR> name;
    if (DWGetPubSelectionName(m_pCUIParam, DMPUB_FORMNAME, name.Put()) != ZQOPT_OK) return FALSE;
    ZQCopyText(pszName, 256, name.Get());
    return TRUE;
}

BOOL CZQUILogic::BIsStandardBannerName(PCWSTR pszName) {
    if (!pszName || !pszName[0]) return FALSE;
    for (INT id : kBannerNameIds) {
        WCHAR text[kResStringChars] = {};
        if (BLoadResString(id, text) && ZQEqualNoCase(text, pszName)) return TRUE;
    }
    return FALSE;
}

BOOL CZQUILogic::BPaperSize(const PrinterCaps* pCaps, WORD wPaper, LONG* plWidth, LONG* plLength) const {
    *plWidth = *plLength = 0;
    if (pCaps && BGetPaperDimensions(wPaper, plWidth, plLength, pCaps)) return TRUE;
    // A paper the printer does not list: the devmode's own size.
    const DEVMODEW* pub = m_pCUIParam ? m_pCUIParam->pPublicDM : nullptr;
    if (!pub || pub->dmPaperSize != wPaper || !(pub->dmFields & DM_PAPERWIDTH) || !(pub->dmFields & DM_PAPERLENGTH))
        return FALSE;
    *plWidth = pub->dmPaperWidth;
    *plLength = pub->dmPaperLength;
    return *plWidth > 0 && *plLength > 0;
}

// ---------------------------------------------------------------------------------------------
// Kinds of paper
// ---------------------------------------------------------------------------------------------
BOOL CZQUILogic::BIsBorderlessPaper() {
    WCHAR keyword[256];
    if (!BReadOption(PszFormFeature(), keyword)) return FALSE;
    if (StartsWithNoCase(keyword, zqkw::kBorderlessPaperPrefix)) return TRUE;
    // PostScript names its borderless page sizes in the keyword.
    if (BIsPostScript() && StrStrIW(keyword, L"Borderless")) return TRUE;
    WCHAR name[256];
    return BSelectedFormName(name) && BIsBorderlessFormName(name);
}

BOOL CZQUILogic::BIsBannerPaper() {
    WCHAR keyword[256], name[256];
    if (!BReadOption(PszFormFeature(), keyword) || !StartsWithNoCase(keyword, zqkw::kBannerPaperPrefix)) return FALSE;
    return BSelectedFormName(name) && BIsStandardBannerName(name);
}

BOOL CZQUILogic::BIsEnvelopePaper() const {
    WCHAR keyword[256];
    return BReadOption(PszFormFeature(), keyword) && StrStrIW(keyword, L"ENV") != nullptr;
}

BOOL CZQUILogic::BIsNonStandardBannerName(PCWSTR pszKeyword, PCWSTR pszName) {
    return StartsWithNoCase(pszKeyword, zqkw::kBannerPaperPrefix) && !BIsStandardBannerName(pszName);
}

BOOL CZQUILogic::BMapFormToValue(PCWSTR pszName, const WORD* pIds, PCWSTR pNames, DWORD dwCount, WORD* pwId) {
    if (!pszName || !pIds || !pNames || !pwId) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    for (DWORD i = 0; i < dwCount; ++i) {
        PCWSTR name = pNames + i * kPaperNameChars;
        if (wcsncmp(name, pszName, kPaperNameChars) == 0) {
            *pwId = pIds[i];
            return TRUE;
        }
    }
    return FALSE;
}

// ---------------------------------------------------------------------------------------------
// Scaling from a large paper
// ---------------------------------------------------------------------------------------------
int CZQUILogic::IGetActualCustomRange(LONG* plWidth, LONG* plLength) const {
    if (!plWidth || !plLength) return ZQOPT_BAD_ARGUMENT;
    *plWidth = *plLength = 0;
    if (!m_pCUIParam || !m_pCUIParam->pPrinterName) return ZQOPT_BAD_ARGUMENT;
    PCWSTR port = m_pCaps && m_pCaps->szPortName[0] ? m_pCaps->szPortName : nullptr;
    const int extent = zqspool::Spooler().DeviceCapabilitiesW(m_pCUIParam->pPrinterName, port, DC_MAXEXTENT,
                                                               nullptr, m_pCUIParam->pPublicDM);
    if (extent <= 0) return ZQOPT_NOT_FOUND;
    *plWidth = static_cast<SHORT>(LOWORD(static_cast<DWORD>(extent)));
    *plLength = static_cast<SHORT>(HIWORD(static_cast<DWORD>(extent)));
    return *plWidth > 0 && *plLength > 0 ? ZQOPT_OK : ZQOPT_NOT_FOUND;
}

BOOL CZQUILogic::BNeedsScaleFromLargePaper(const PrinterCaps* pCaps) const {
    const DEVMODEW* pub = m_pCUIParam ? m_pCUIParam->pPublicDM : nullptr;
    if (!pub || !BScaleFromLargePaper()) return FALSE;
    LONG maxWidth = 0, maxLength = 0, width = 0, length = 0;
    if (IGetActualCustomRange(&maxWidth, &maxLength) != ZQOPT_OK) return FALSE;
    if (!BPaperSize(pCaps ? pCaps : m_pCaps, static_cast<WORD>(pub->dmPaperSize), &width, &length)) return FALSE;
    return width > maxWidth || length > maxLength;
}

void CZQUILogic::VSelectScaleTargetPaper() {
    const DEVMODEW* pub = m_pCUIParam ? m_pCUIParam->pPublicDM : nullptr;
    if (!m_pDevmode) return;
    LONG maxWidth = 0, maxLength = 0;
    WORD best = pub ? static_cast<WORD>(pub->dmPaperSize) : 0;
    ZQPrinterCapsLists(m_pCaps, kCapsPapers);
    if (m_pCaps && m_pCaps->pPaperIds && m_pCaps->pPaperSizes &&
        IGetActualCustomRange(&maxWidth, &maxLength) == ZQOPT_OK) {
        LONGLONG bestArea = 0;
        for (DWORD i = 0; i < m_pCaps->dwPaperCount; ++i) {
            const POINT size = m_pCaps->pPaperSizes[i];
            if (size.x <= 0 || size.y <= 0 || size.x > maxWidth || size.y > maxLength) continue;
            const LONGLONG area = static_cast<LONGLONG>(size.x) * size.y;
            if (area > bestArea) {
                bestArea = area;
                best = m_pCaps->pPaperIds[i];
            }
        }
    }
    m_pDevmode->dwPrintedOnPaper = best;
}

void CZQUILogic::VGetScaleTargetPaperName(PWSTR pszName) const {
    if (!pszName) return;
    pszName[0] = 0;
    ZQPrinterCapsLists(m_pCaps, kCapsPapers);
    if (!m_pDevmode || !m_pCaps || !m_pCaps->pPaperIds || !m_pCUIParam) return;
    DWORD count = 0;
    CZQLocalPtr<WCHAR> names;
    if (!BGetPaperSizeNames(m_pCUIParam->pPrinterName, m_pCaps->szPortName, m_pCUIParam->pPublicDM, &count,
                            names.Put()))
        return;
    for (DWORD i = 0; i < count && i < m_pCaps->dwPaperCount; ++i)
        if (m_pCaps->pPaperIds[i] == m_pDevmode->dwPrintedOnPaper) {
            ZQCopyTextN(pszName, kPaperNameChars, names.Get() + i * kPaperNameChars, kPaperNameChars);
            return;
        }
}

void CZQUILogic::VValidatePrintOnPaper() {
    if (!m_pDevmode) return;
    const DEVMODEW* pub = m_pCUIParam ? m_pCUIParam->pPublicDM : nullptr;
    WCHAR name[kPaperNameChars];
    VGetScaleTargetPaperName(name);
    POPTITEM form = nullptr;
    if (pub && name[0] && DWFindOptItemByPubId(m_pCUIParam, DMPUB_FORMNAME, 0, &form) == ZQOPT_OK &&
        form->pOptType && form->pOptType->pOptParam) {
        for (WORD i = 0; i < form->pOptType->Count; ++i) {
            const OPTPARAM& option = form->pOptType->pOptParam[i];
            if (!option.pData || IS_INTRESOURCE(option.pData) || wcsncmp(option.pData, name, kPaperNameChars) != 0)
                continue;
            if (option.Flags & OPTPF_OVERLAY_WARNING_ICON) m_pDevmode->dwPrintedOnPaper = static_cast<WORD>(pub->dmPaperSize);
            break;
        }
    }
    m_pDevmode->dwDuplexConflict = 0;
}

// ---------------------------------------------------------------------------------------------
// Custom sizes, the media-width sensor and borderless papers
// ---------------------------------------------------------------------------------------------
int CZQUILogic::BIsCustomSizeDuplexable() const {
    const DEVMODEW* pub = m_pCUIParam ? m_pCUIParam->pPublicDM : nullptr;
    WCHAR form[256], range[256];
    if (!pub || !BReadOption(PszFormFeature(), form)) return 0;
    if (!ZQEqualNoCase(form, L"CUSTOMSIZE") && !ZQEqualNoCase(form, L"CustomPageSize")) return 0;
    if (!BReadOption(L"ZQCustomDUplexableRange", range)) return 0;
    // Four numbers in tenths of a millimetre: smallest and largest width, smallest and largest length.
    long limits[4] = {};
    int found = 0;
    for (PCWSTR p = range; *p && found < 4;) {
        if (*p < L'0' || *p > L'9') {
            ++p;
            continue;
        }
        PWSTR end = nullptr;
        limits[found++] = wcstol(p, &end, 10);
        p = end;
    }
    if (found < 4) return 0;
    const long w = pub->dmPaperWidth, l = pub->dmPaperLength;
    return w >= limits[0] && w <= limits[1] && l >= limits[2] && l <= limits[3] ? 1 : 2;
}

int CZQUILogic::IApplyCustomDuplexRange() {
    if (BIsCustomSizeDuplexable() != 2 || (m_pDevmode && m_pDevmode->dwManualDuplex)) return 0;
    POPTITEM duplex = nullptr;
    if (DWFindOptItemByPubId(m_pCUIParam, DMPUB_DUPLEX, 0, &duplex) != ZQOPT_OK) return 0;
    if (duplex->Sel != 0) DWSelectPubOption(m_pCUIParam, DMPUB_DUPLEX, 0, 0);
    if (m_pDevmode) m_pDevmode->wDuplex = DMDUP_SIMPLEX;
    return 1;
}

void CZQUILogic::VCheckMediaWidthSensor(int iMode, PCWSTR pszPaper) {
    if (!BOptionIs(L"MediaWidthSensor", L"NOTINSTALLED")) return;
    bool wide = false;
    if (iMode == 1) {
        wide = pszPaper && (ZQEqualNoCase(pszPaper, L"11X17") || ZQEqualNoCase(pszPaper, L"SUPER_B") ||
                            ZQEqualNoCase(pszPaper, L"B4"));
    } else {
        // Mode 2: the paper printed on; other modes: the document's own paper.
        const DEVMODEW* pub = m_pCUIParam ? m_pCUIParam->pPublicDM : nullptr;
        WORD paper = 0;
        if (iMode == 2 && m_pDevmode) paper = static_cast<WORD>(m_pDevmode->dwPrintedOnPaper);
        else if (pub) paper = static_cast<WORD>(pub->dmPaperSize);
        LONG w = 0, l = 0;
        wide = paper && BPaperSize(m_pCaps, paper, &w, &l) && (w < l ? w : l) > kWidePaperSide;
    }
    if (wide) DWSelect(L"MediaWidthSensor", 1);
}

void CZQUILogic::VUpdateBorderlessForPageSize(CZQXmlUiRules* pRules) {
    if (!BIsBorderlessPaper()) {
        DWSelect(zqkw::kZQBorderLessPhoto, 0);
        DWSelect(zqkw::kZQBorderLessAutoFit, 0);
    }
    BRunFeatureMacros(PszFormFeature(), pRules);
}

void CZQUILogic::VUpdateRollPreview(IZQRollSizeSink* pPreview, CZQXmlUiRules* pRules) {
    if (!BIsLargeFormat() || !m_pCUIParam) return;
    ZQUIDevmode* core = zqdm::CurrentBlock(m_pCUIParam->pOEMDM);
    WCHAR source[256];
    if (!core || !BReadOption(BIsPostScript() ? zqkw::kInputSlot : zqkw::kInputBin, source)) return;
    // The device answers name a roll as "Roll", "Roll1", "Roll2"; the source options spell it in
    // any case.
    WCHAR roll[16];
    if (ZQEqualNoCase(source, L"AnyRoll")) ZQCopyText(roll, 16, zqkw::kRoll1);
    else if (StartsWithNoCase(source, zqkw::kRoll) && wcslen(source) < 16)
        ZQFormatText(roll, 16, L"Roll%ls", source + 4);
    else return;

    auto readAnswer = [this](PCWSTR pszRoll, PCWSTR pszField, PWSTR pszText) {
        WCHAR name[64];
        ZQFormatText(name, 64, L"%ls%ls", pszRoll, pszField);
        CZQLocalPtr<BYTE> data;
        DWORD cb = 0;
        if (!BReadUserSetting(m_pCUIParam->hPrinter, zqsettings::kAnswerStoreKey, name, data.Put(), &cb) || !data)
            return false;
        ZQCopyTextN(pszText, 256, reinterpret_cast<PCWSTR>(data.Get()), cb / sizeof(WCHAR));
        return true;
    };
    WCHAR width[256];
    if (!readAnswer(roll, zqsettings::kRollFieldWidth, width)) return;
    WCHAR custom[kResStringChars];
    if (!BLoadResString(5088, custom)) ZQCopyText(custom, kResStringChars, L"Custom");
    if (ZQEqualNoCase(width, custom) && !readAnswer(roll, zqsettings::kRollFieldCustomWidth, width)) return;
    VClampRollWidth(pRules, width);
    PWSTR end = nullptr;
    const double inches = wcstod(width, &end);
    // The answer comes from the printer: only a positive width that fits the field is taken.
    if (end == width || !(inches >= 1.0) || inches > 100000.0) return;
    core->dwCustomMaxWidth = static_cast<uint32_t>(inches);
    if (!pPreview) return;
    // Without a helper file the preview keeps the widths it maps between.
    CZQLocalPtr<WCHAR> limits[5];
    BReadRollLimits(pRules, limits);
    pPreview->VSetRollSizes(limits[0].Get(), limits[1].Get(), width, limits[3].Get(), limits[4].Get());
}

int CZQUILogic::IGetCustomMediaSelected() {
    DWORD value = 0, type = 0, cb = sizeof value;
    CZQRegKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, zqsettings::kAddNewPaperKey, 0, KEY_QUERY_VALUE, key.Put()) != ERROR_SUCCESS ||
        RegQueryValueExW(key.Get(), zqsettings::kCustomMediaSelected, nullptr, &type, reinterpret_cast<BYTE*>(&value),
                         &cb) != ERROR_SUCCESS ||
        type != REG_DWORD || cb != sizeof value)
        return -1;
    return static_cast<int>(value);
}

int CZQUILogic::IGetScalingMode(DWORD dwPrintDocOn, DWORD dwScale) {
    if (dwPrintDocOn == 1) return 1;
    return dwScale == 100 ? 0 : 2;
}

// ---------------------------------------------------------------------------------------------
// Two-sided printing
// ---------------------------------------------------------------------------------------------
BOOL CZQUILogic::BIsDuplexUnitInstalled(BOOL) const {
    if (BCanRead(zqkw::kDuplexUnit)) return BInstalledOrTrue(zqkw::kDuplexUnit);
    POPTITEM item = nullptr;
    return DWFindOptItemByPubId(m_pCUIParam, DMPUB_DUPLEX, 0, &item) == ZQOPT_OK;
}

BOOL CZQUILogic::BIsManualDuplexAvailable() const {
    if (!BInstalledOrTrue(zqkw::kManualDuplex) || !BCanRead(zqkw::kZQUseAutoDuplexUnit)) return FALSE;
    if (!m_pDevmode || m_pDevmode->dwLayoutMode != 3) return FALSE;
    // The PostScript driver offers it from Windows XP on.
    return !BIsPostScript() || IGetOsVersionClass() >= 2;
}

void CZQUILogic::VSetManualTwoSided(BOOL bOn) {
    DWSelect(BIsPostScript() ? L"JCLZQPrintOnBothSidesManually" : L"ZQPrintOnBothSidesManually", bOn ? 1 : 0);
    if (m_pDevmode) m_pDevmode->dwManualDuplex = bOn ? 1 : 0;
}

void CZQUILogic::VSetDuplexItem(int iDuplex) {
    const LONG sel = iDuplex == DMDUP_VERTICAL ? 1 : iDuplex == DMDUP_HORIZONTAL ? 2 : 0;
    DWSelectPubOption(m_pCUIParam, DMPUB_DUPLEX, 0, sel);
}

void CZQUILogic::VUpdateDuplexState() {
    if (!m_pDevmode) return;
    if (m_pDevmode->dwManualDuplex) {
        // Manual two-sided printing leaves the unit alone, or ends when it is no longer offered.
        if (BIsManualDuplexAvailable()) {
            VSetDuplexItem(DMDUP_SIMPLEX);
        } else {
            VSetManualTwoSided(FALSE);
            VSetDuplexItem(BIsDuplexUnitInstalled(FALSE) ? m_pDevmode->wDuplex : DMDUP_SIMPLEX);
        }
        return;
    }
    VSetDuplexItem(BIsDuplexUnitInstalled(FALSE) ? m_pDevmode->wDuplex : DMDUP_SIMPLEX);
}

// ---------------------------------------------------------------------------------------------
// Posters
// ---------------------------------------------------------------------------------------------
BOOL CZQUILogic::BIsPosterPrinting() const {
    if (BCanRead(zqkw::kZQSimplifiedUI)) return BCanRead(zqkw::kZQPosterPrintingOptionSUI);
    return BCanRead(zqkw::kZQPosterPrinting) && BCanRead(L"ZQPosterPrintingOption") && m_pDevmode &&
           m_pDevmode->dwLayoutMode == 3;
}

BOOL CZQUILogic::BGetPosterTiles(int* piIndex) const {
    if (!piIndex || !BIsPosterPrinting()) return FALSE;
    int sel = -1;
    if (BCanRead(zqkw::kZQSimplifiedUI)) {
        // The simplified interface has one list: off, then the four poster sizes.
        if (DWGetFeatureOptionIndex(m_pCUIParam, zqkw::kZQPosterPrintingOptionSUI, &sel) != ZQOPT_OK || sel <= 0)
            return FALSE;
        sel -= 1;
    } else {
        int on = 0;
        if (DWGetFeatureOptionIndex(m_pCUIParam, zqkw::kZQPosterPrinting, &on) != ZQOPT_OK || on == 0 ||
            DWGetFeatureOptionIndex(m_pCUIParam, L"ZQPosterPrintingOption", &sel) != ZQOPT_OK)
            return FALSE;
    }
    *piIndex = sel < 0 ? 0 : sel > 3 ? 3 : sel;
    return TRUE;
}

int CZQUILogic::IPosterTilesPerSide(int iPosterOption) {
    return iPosterOption >= 0 && iPosterOption <= 3 ? iPosterOption + 2 : 2;
}

BOOL CZQUILogic::BSetPosterChoice(int iEntries, int iSelected) {
    if (iEntries < 0 || iSelected < 0) return FALSE;
    POPTITEM options = nullptr;
    POPTITEM poster = nullptr;
    if (CZQCommon::DWFindOptItem(m_pCUIParam, zqkw::kZQPosterPrinting, &poster) == ZQOPT_OK &&
        CZQCommon::DWFindOptItem(m_pCUIParam, L"ZQPosterPrintingOption", &options) == ZQOPT_OK && poster && options &&
        m_pDevmode && m_pDevmode->dwLayoutMode == 3) {
        const int c = iEntries, j = iSelected;
        const int n = CZQCommon::IGetOptionCount(options);
        if (j >= c - n) {
            m_sheet.bPosterFlag = TRUE;
            m_sheet.iPosterOption = CZQCommon::IMapSelection1To3(j - c + 4);
            return TRUE;
        }
    }
    m_sheet.bPosterFlag = FALSE;
    return FALSE;
}

void CZQUILogic::VSetPosterState(BOOL bOn, PCWSTR pszText) {
    if (!m_pDevmode) return;
    if (!bOn) {
        DWSelect(zqkw::kZQPosterPrinting, 0);
        m_pDevmode->dwPagesPerSheet = 1;
        return;
    }
    if (!pszText) return;
    zqdm::CopyText(m_pDevmode->szWmName, 256, reinterpret_cast<const zqwchar*>(pszText));
    zqdm::CopyText(m_pDevmode->szWmText, 256, reinterpret_cast<const zqwchar*>(pszText));
}
