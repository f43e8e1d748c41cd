// The Colour page's handlers of greyscale, sepia and colour matching: the controls set from the
// settings, the choices written back on leaving, the administrator's greyscale locks and the rules
// that tie the greyscale box, its radios, sepia and print-in-colour together.
#include <cstdio>

#include "pages/color/zqcolorkeywords.h"
#include "pages/color/zqcolorpage.h"
#include "pages/color/zqcolorsettingssheet.h"
#include "pages/zqpageasks.h"
#include "pages/zqpageitems.h"
#include "res/zqcolorids.h"

using namespace zqpage;

namespace {

constexpr WCHAR kPrintInSepia[] = L"ZQPrintInSepia";
constexpr WCHAR kColorAsGray[] = L"ZQColorasGray";
constexpr WCHAR kRgbColor[] = L"RGBColor";
constexpr WCHAR kCmykInks[] = L"CMYKInks";
constexpr WCHAR kNeutralGrays[] = L"ZQNeutralGrays";
constexpr WCHAR kBlackOnlyWithPlain[] = L"ZQBlackOnlyWithPlain";
constexpr WCHAR kColorOptions[] = L"ZQColorOptions";
constexpr WCHAR kEmulatedPrinters[] = L"ZQEmulatedPrinters";
constexpr WCHAR kEmulationNone[] = L"EmulatedPrinters_dummy_option";
constexpr WCHAR kPantone[] = L"ZQPantone";
constexpr WCHAR kBlackPoint[] = L"ZQBlackPoint";
constexpr WCHAR kIntent[] = L"ZQIntent";
constexpr WCHAR kLqjColorMgmt[] = L"ZQLQJColorMgmt";
constexpr DWORD kDoc = OEMCUIP_DOCPROP;

void Bind(PageContext* pContext, PCWSTR pszFeature, HWND hCtrl, int iAction, BOOL bCheckBox = FALSE) {
    if (!hCtrl) return;
    pContext->pLogic->IBindFeatureControl(0, pszFeature, hCtrl, nullptr, kDoc, iAction, bCheckBox, 0, nullptr);
}

}  // namespace

PCWSTR CZQColorTab::PszGrayscaleFeature(const PageContext* pContext) {
    return PostScript(pContext) ? zqkw::kJCLZQPrintInGrayScale : zqkw::kZQPrintInGrayScale;
}

bool CZQColorTab::BEnableUnlessLocked(HWND hCtrl, bool bEnable) const {
    if (hCtrl) EnableWindow(hCtrl, bEnable && !m_bGrayscaleLocked);
    return hCtrl != nullptr;
}

// ---------------------------------------------------------------------------------------------
// The controls from the settings, and back
// ---------------------------------------------------------------------------------------------
void CZQColorTab::VInitControls(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    const POEMCUIPPARAM param = m_pCUIParam;
    ZQUIDevmode* work = WorkOf(pContext);
    if (!param || !work) return;

    const bool chromix = FeatureItem(param, zqkw::kZQChromix) != nullptr;
    for (HWND control : {m_hAuto, m_hManual, m_hColorSettings}) chromix ? ShowEnabled(control) : Hide(control);
    if (chromix) {
        SetCheck(m_hAuto, work->dwChromixAuto == 1);
        SetCheck(m_hManual, work->dwChromixAuto != 1);
    }
    const bool colorSpace = FeatureItem(param, zqkw::kZQInputColorSpace) != nullptr;
    for (HWND control : {m_hInputColorSpace, m_hColorSpaceGroup}) colorSpace ? ShowEnabled(control) : Hide(control);
    // The label names the colour space on large-format printers only.
    colorSpace && logic.BIsLargeFormat() ? ShowEnabled(m_hInputSpaceLabel) : Hide(m_hInputSpaceLabel);
    VShowColorMgmtRadios(pContext, false);

    VUpdateGrayscaleChoices(pContext);
    VInitLqjColorMgmt(pContext);

    WCHAR option[256];
    if (ReadOption(param, zqkw::kZQPrintPreview, option)) SetCheck(m_hShowPreview, ZQEqualNoCase(option, L"TRUE"));

    const bool gray = work->dwPrintAsGray != 0;
    SetCheck(m_hGrayscale, gray);
    SetCheck(m_hMono, gray);
    SetCheck(m_hColor, !gray);
    if (gray)
        EnableWindow(m_hAdvanced, FALSE);
    else if (IsVisible(m_hAdvanced))
        EnableWindow(m_hAdvanced, TRUE);

    if (!Readable(param, zqkw::kZQSimplifiedUI)) VSyncGrayscaleRadios(pContext);

    if (logic.BNeedsScaleFromLargePaper(pContext->pCaps)) logic.VClearPosterFlag();

    if (!FeatureItem(param, kPrintInSepia)) {
        Hide(m_hSepia);
    } else {
        ShowEnabled(m_hSepia, !(gray && m_bGrayscaleLocked));
        SetCheck(m_hSepia, work->dwSepia != 0);
    }
    if (!gray && !work->dwSepia) SetCheck(m_hPrintInColor, true);

    Bind(pContext, kRgbColor, m_hRgbColor, CZQUILogic::kBindShow);
    Bind(pContext, kCmykInks, m_hCmykInks, CZQUILogic::kBindShow);
    Bind(pContext, zqkw::kZQInputColorSpace, m_hInputColorSpace, CZQUILogic::kBindShow);
    Bind(pContext, kIntent, m_hIntent, CZQUILogic::kBindShow);
    Bind(pContext, L"ZQInstalledPrintCartridges", m_hCartridges, CZQUILogic::kBindShow);
    Bind(pContext, L"ZQCMYK", m_hCmyk, CZQUILogic::kBindShow);
    Bind(pContext, L"ZQRGB", m_hRgb, CZQUILogic::kBindShow);
    Bind(pContext, zqkw::kZQPrintInGrayScale, m_hGrayscaleList, CZQUILogic::kBindShow);

    logic.BIsLargeFormat() ? ShowEnabled(m_hDimensions) : Hide(m_hDimensions);

    const bool neutral =
        m_hNeutralGrays &&
        Bound(logic.IBindFeatureControl(0, kNeutralGrays, m_hNeutralGrays, nullptr, kDoc, CZQUILogic::kBindShow, FALSE,
                                        0, nullptr));
    for (HWND control : {m_hNeutralGrays, m_hNeutralGraysLabel}) neutral ? ShowEnabled(control) : Hide(control);

    VSaveInkChoice(pContext);
}

void CZQColorTab::VApplySettings(PageContext* pContext) {
    const POEMCUIPPARAM param = m_pCUIParam;
    ZQUIDevmode* work = WorkOf(pContext);
    if (!param || !work) return;
    const bool gray = work->dwPrintAsGray != 0;
    CZQCommon::DWSelectPubOption(param, DMPUB_COLOR, 0, gray ? 0 : 1);
    CZQCommon::DWSelectOptionByIndex(param, zqkw::kColorMode, gray ? 0 : 1, kDoc);
    CZQCommon::DWSelectOptionByIndex(param, kColorAsGray, gray ? 1 : 0, kDoc);

    Bind(pContext, kNeutralGrays, m_hNeutralGrays, CZQUILogic::kBindApply);
    Bind(pContext, kRgbColor, m_hRgbColor, CZQUILogic::kBindApply);
    Bind(pContext, kCmykInks, m_hCmykInks, CZQUILogic::kBindApply);
    Bind(pContext, zqkw::kZQPrintPreview, m_hShowPreview, CZQUILogic::kBindApply, TRUE);

    WCHAR option[256];
    if (ReadOption(param, zqkw::kZQInputColorSpace, option) && !ZQEqualNoCase(option, L"PRINTEREMULATION"))
        CZQCommon::DWSelectOptionByKeyword(param, kEmulatedPrinters, kEmulationNone, kDoc);
    else
        Bind(pContext, kEmulatedPrinters, m_hEmulation, CZQUILogic::kBindApply);

    work->dwChromixAuto = pContext->pLogic->m_colorOptions.BColorListAtDefaults() ? 1 : 0;
    CZQCommon::DWSelectOptionByIndex(param, kPantone, work->dwPantoneEmulation ? 1 : 0, kDoc);
    // Black point compensation belongs to the relative colorimetric intent alone.
    if (ReadOption(param, kIntent, option) && !ZQEqualNoCase(option, L"RELCOLORIMETRIC")) work->dwBlackPointComp = 0;
    CZQCommon::DWSelectOptionByIndex(param, kBlackPoint, work->dwBlackPointComp ? 1 : 0, kDoc);
    CZQCommon::DWSelectOptionByIndex(param, kLqjColorMgmt, work->dwLfInputProfiles ? 1 : 0, kDoc);

    VApplyChromixItems(pContext);
    VSaveInkChoice(pContext);
    if (ZQUIDevmode* core = CoreOf(param)) core->iStartPage = kTitleId;
}

void CZQColorTab::VApplyGrayscaleLocks() {
    const HANDLE printer = HPrinter();
    if (!LockedInAnyCase(printer, L"PrintColorAsGray") && !LockedInAnyCase(printer, zqkw::kColorMode)) return;
    for (HWND control : {m_hGrayscale, m_hBlackOnly, m_hHighQuality, m_hPhotoCopy, m_hPrintInColor, m_hGrayscaleList})
        if (control) EnableWindow(control, FALSE);
    m_bGrayscaleLocked = TRUE;
}

// ---------------------------------------------------------------------------------------------
// Greyscale
// ---------------------------------------------------------------------------------------------
void CZQColorTab::VSyncGrayscaleRadios(PageContext* pContext) {
    const POEMCUIPPARAM param = m_pCUIParam;
    const ZQUIDevmode* work = WorkOf(pContext);
    if (!param || !work) return;
    const PCWSTR feature = PszGrayscaleFeature(pContext);
    if (!work->dwPrintAsGray) {
        CZQCommon::DWSelectOptionByIndex(param, feature, 0, kDoc);
        m_iGrayscaleChoice = 0;
        return;
    }
    WCHAR option[256];
    if (!ReadOption(param, feature, option)) return;
    if (ZQColorKeywords(param, feature).PlainChoice()) {
        CZQCommon::DWSelectOptionByIndex(param, feature, 1, kDoc);
        return;
    }
    HWND chosen = nullptr;
    if (ZQEqualNoCase(option, L"FALSE") || wcscmp(option, L"HighQuality") == 0)
        chosen = m_hHighQuality;
    else if (wcscmp(option, L"BlackOnly") == 0)
        chosen = m_hBlackOnly;
    else if (wcscmp(option, L"PhotoCopy") == 0)
        chosen = m_hPhotoCopy;
    if (!chosen) {
        CZQCommon::DWSelectOptionByIndex(param, feature, 1, kDoc);
        return;
    }
    for (HWND radio : {m_hHighQuality, m_hBlackOnly, m_hPhotoCopy}) SetCheck(radio, radio == chosen);
    if (chosen == m_hHighQuality) DWSelectGrayscaleByCaption(pContext, m_hHighQuality);
}

DWORD CZQColorTab::DWSelectGrayscaleByCaption(PageContext* pContext, HWND hRadio) {
    const PCWSTR feature = PszGrayscaleFeature(pContext);
    m_iGrayscaleChoice = pContext->pLogic->IFindOptionByEditText(hRadio, feature);
    return CZQCommon::DWSelectOptionByIndex(m_pCUIParam, feature, m_iGrayscaleChoice, kDoc);
}

void CZQColorTab::VUpdateGrayscaleChoices(PageContext* pContext) {
    const POEMCUIPPARAM param = m_pCUIParam;
    const ZQUIDevmode* work = WorkOf(pContext);
    if (!param || !work) return;
    const ZQColorKeywords options(param, PszGrayscaleFeature(pContext));
    if (!options.Readable() || options.PlainChoice()) {
        for (HWND control : {m_hHighQuality, m_hBlackOnly, m_hPhotoCopy, m_hMono, m_hColor}) Hide(control);
        return;
    }
    const bool gray = work->dwPrintAsGray != 0;
    const bool oneSided = work->wDuplex == 1;

    if (options.Has(L"Color") || options.Has(L"Mono")) {
        Hide(m_hGrayscale);
        ShowEnabled(m_hMono);
        ShowEnabled(m_hColor);
    } else {
        Show(m_hGrayscale);
        BEnableUnlessLocked(m_hGrayscale, true);
        Hide(m_hMono);
        Hide(m_hColor);
        for (HWND icon : {m_hMonoIcon, m_hColorIcon})
            if (icon) ShowWindow(icon, SW_HIDE);
    }

    if (options.Has(L"HighQuality")) {
        if (!gray) {
            SetCheck(m_hHighQuality, true);
            if (m_hHighQuality) EnableWindow(m_hHighQuality, FALSE);
        } else {
            BEnableUnlessLocked(m_hHighQuality, true);
        }
        Show(m_hHighQuality);
    } else {
        Hide(m_hHighQuality);
    }

    if (options.Has(L"BlackOnly")) {
        bool allowed = gray && oneSided;
        if (allowed && OptionIs(param, kBlackOnlyWithPlain, L"TRUE") == 1)
            allowed = OptionIs(param, zqkw::kMediaType, zqkw::kPlainMedia) != 0;  // unreadable does not forbid
        if (!allowed) {
            SetCheck(m_hBlackOnly, false);
            if (m_hBlackOnly) EnableWindow(m_hBlackOnly, FALSE);
        } else {
            WCHAR borderless[256], grayOption[256];
            if (ReadOption(param, zqkw::kZQBorderLessPhoto, borderless) &&
                ReadOption(param, zqkw::kZQPrintInGrayScale, grayOption)) {
                if (ZQEqualNoCase(borderless, L"TRUE") && !ZQEqualNoCase(grayOption, L"GrayInkOnly")) {
                    SetCheck(m_hBlackOnly, false);
                    if (m_hBlackOnly) EnableWindow(m_hBlackOnly, FALSE);
                } else {
                    BEnableUnlessLocked(m_hBlackOnly, true);
                }
            } else {
                BEnableUnlessLocked(m_hBlackOnly, true);
                Show(m_hBlackOnly);
            }
        }
    } else {
        Hide(m_hBlackOnly);
    }

    if (options.Has(L"PhotoCopy")) {
        if (gray && oneSided) {
            BEnableUnlessLocked(m_hPhotoCopy, true);
        } else {
            SetCheck(m_hPhotoCopy, false);
            if (m_hPhotoCopy) EnableWindow(m_hPhotoCopy, FALSE);
        }
        Show(m_hPhotoCopy);
    } else {
        Hide(m_hPhotoCopy);
    }
}

void CZQColorTab::VRemoveBlackChoices(PageContext* pContext) {
    const POEMCUIPPARAM param = m_pCUIParam;
    if (!param || !m_hGrayscaleList) return;
    const PCWSTR feature = PszGrayscaleFeature(pContext);
    POPTITEM item = FeatureItem(param, feature);
    for (PCWSTR keyword : {L"BlackOnly", L"PhotoCopy"}) {
        const int index = CZQCommon::IGetOptionIndexByKeyword(param, keyword, feature, item);
        const PCWSTR name = index >= 0 ? OptionName(item, index) : nullptr;
        if (!name) continue;
        const LRESULT entry = SendMessageW(m_hGrayscaleList, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                           reinterpret_cast<LPARAM>(name));
        if (entry != CB_ERR) SendMessageW(m_hGrayscaleList, CB_DELETESTRING, static_cast<WPARAM>(entry), 0);
    }
    const int high = CZQCommon::IGetOptionIndexByKeyword(param, L"HighQuality", feature, item);
    const PCWSTR highName = high >= 0 ? OptionName(item, high) : nullptr;
    if (!highName) return;
    const LRESULT entry = SendMessageW(m_hGrayscaleList, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(highName));
    if (entry != CB_ERR) SendMessageW(m_hGrayscaleList, CB_SETCURSEL, static_cast<WPARAM>(entry), 0);
    if (OptionIs(param, feature, L"BlackOnly") == 1 || OptionIs(param, feature, L"PhotoCopy") == 1)
        CZQCommon::DWSelectOptionByIndex(param, feature, high, kDoc);
}

void CZQColorTab::VMatchPrintQualityToGrayscale(PageContext* pContext) {
    const POEMCUIPPARAM param = m_pCUIParam;
    POPTITEM quality = FeatureItem(param, zqkw::kPrintQualityGroup);
    POPTITEM gray = FeatureItem(param, PszGrayscaleFeature(pContext));
    if (!WorkOf(pContext) || !quality || !gray) {
        SetLastError(ERROR_INVALID_DATA);
        return;
    }
    const int qualities = CZQCommon::IGetOptionCount(quality);
    const int grays = CZQCommon::IGetOptionCount(gray);
    // Both option counts bound the walk: the quality group may have fewer options.
    const bool postScript = PostScript(pContext);
    const int end = postScript ? grays - 1 : grays;
    int chosen = -1;
    for (int i = 0; i < end && i < qualities; ++i) {
        const bool qualityMarked = (OptionFlags(quality, i) & OPTPF_OVERLAY_WARNING_ICON) != 0;
        if (qualityMarked && (postScript || (OptionFlags(gray, i) & OPTPF_OVERLAY_WARNING_ICON))) chosen = i;
    }
    if (chosen >= 0) CZQCommon::DWSelectOptionByIndex(param, zqkw::kPrintQualityGroup, chosen, kDoc);
}

void CZQColorTab::VClearAdvancedValues(PageContext* pContext) {
    if (ZQUIDevmode* work = WorkOf(pContext))
        for (int32_t& value : work->aiColorAdjust) value = 0;
}

// What either choice leads to: the quality that suits it, the greyscale controls and radios, the
// sample page.
void CZQColorTab::VSettleGrayscale(PageContext* pContext) {
    VMatchPrintQualityToGrayscale(pContext);
    VUpdateGrayscaleChoices(pContext);
    VSyncGrayscaleRadios(pContext);
    VRepaintPreview(FALSE);
}

void CZQColorTab::VOnGrayscaleChosen(PageContext* pContext, HWND hDlg) {
    const POEMCUIPPARAM param = m_pCUIParam;
    ZQUIDevmode* work = WorkOf(pContext);
    if (!param || !work) return;
    work->dwPrintAsGray = 1;
    work->dwSepia = 0;
    SetCheck(m_hSepia, false);
    SetCheck(m_hPrintInColor, false);
    if (m_hColorSettings) EnableWindow(m_hColorSettings, TRUE);
    BEnableUnlessLocked(m_hGrayscaleList, true);
    DWSelectSepia(pContext, FALSE);
    if (m_hAdvanced) EnableWindow(m_hAdvanced, FALSE);

    VClearAdvancedValues(pContext);
    const struct {
        PCWSTR feature;
        int index;  // in the devmode's order of the seven values
    } inks[] = {{L"ZQCyanBrightness", 3}, {L"ZQMagentaBrightness", 4}, {L"ZQYellowBrightness", 5},
                {L"ZQBlackBrightness", 6}};
    for (const auto& ink : inks) {
        WCHAR value[16];
        swprintf(value, 16, L"%d", static_cast<int>(work->aiColorAdjust[ink.index]));
        CZQCommon::DWSelectOptionByKeyword(param, ink.feature, value, kDoc);
    }
    Bind(pContext, zqkw::kZQPrintInGrayScale, m_hGrayscaleList, CZQUILogic::kBindApply);
    CZQCommon::DWSelectOptionByKeyword(param, kColorOptions, L"Gray", kDoc);

    (void)hDlg;
    VSettleGrayscale(pContext);
}

void CZQColorTab::VOnPrintInColorChosen(PageContext* pContext, HWND hDlg) {
    const POEMCUIPPARAM param = m_pCUIParam;
    ZQUIDevmode* work = WorkOf(pContext);
    if (!param || !work) return;
    CZQCommon::DWSelectOptionByKeyword(param, kColorOptions, L"Color", kDoc);
    CZQCommon::DWSelectOptionByIndex(param, zqkw::kZQPrintInGrayScale, 0, kDoc);
    work->dwPrintAsGray = 0;
    if (m_hGrayscaleList) EnableWindow(m_hGrayscaleList, FALSE);
    if (IsVisible(m_hAdvanced)) EnableWindow(m_hAdvanced, TRUE);
    (void)hDlg;
    VSettleGrayscale(pContext);
}

// ---------------------------------------------------------------------------------------------
// Sepia
// ---------------------------------------------------------------------------------------------
DWORD CZQColorTab::DWSelectSepia(PageContext* pContext, BOOL bOn) {
    (void)pContext;
    return CZQCommon::DWSelectOptionByIndex(m_pCUIParam, kPrintInSepia, bOn ? 1 : 0, kDoc);
}

void CZQColorTab::VUpdateForSepia(PageContext* pContext) {
    const ZQUIDevmode* work = WorkOf(pContext);
    if (!work) return;
    if (OptionIs(m_pCUIParam, kPrintInSepia, L"On") == 1) {
        if (m_hAdvanced) EnableWindow(m_hAdvanced, FALSE);
        VClearAdvancedValues(pContext);
    } else if (!work->dwPrintAsGray && IsVisible(m_hAdvanced)) {
        EnableWindow(m_hAdvanced, TRUE);
    }
}

// ---------------------------------------------------------------------------------------------
// Colour matching and the colour settings' lists
// ---------------------------------------------------------------------------------------------
void CZQColorTab::VApplyChromixItems(PageContext* pContext) {
    const ZQUIDevmode* work = WorkOf(pContext);
    if (!m_pCUIParam || !work) return;
    SelectItem(m_pCUIParam, zqkw::kZQChromix, work->dwChromixAuto == 1 ? 0 : 1);
    WCHAR item[80] = {};
    for (const ZQColorOptionNode* node = pContext->pLogic->m_colorOptions.Head(); node; node = node->pNext) {
        if (node->dwKind == kColorNodeItem)
            ZQCopyText(item, 80, node->szName);
        else if (node->dwKind == kColorNodeList)
            VApplyChromixListItem(pContext, item, node->szName, node);
    }
}

void CZQColorTab::VApplyChromixListItem(PageContext* pContext, PCWSTR pszItem, PCWSTR pszList,
                                        const ZQColorOptionNode* pList) {
    (void)pContext;
    if (!m_pCUIParam || !pszItem || !pszList || !pList) return;
    WCHAR keyword[257];
    const int written = swprintf(keyword, 257, L"%ls_%ls_%ls", zqkw::kZQChromix, pszItem, pszList);
    if (written < 0 || written > 256) return;
    POPTITEM item = FeatureItem(m_pCUIParam, keyword);
    if (!item) return;
    // The driver's own options come first; a selection beyond the item's options is not written.
    const LONGLONG sel = static_cast<LONGLONG>(pList->dwSelection) + CZQColorOptionList::kDriverOptions;
    if (sel >= CZQCommon::IGetOptionCount(item)) return;
    SelectItem(m_pCUIParam, keyword, static_cast<LONG>(sel));
}

BOOL CZQColorTab::BColorListChanged(PageContext* pContext) {
    const CZQColorOptionList& list = pContext->pLogic->m_colorOptions;
    const ZQColorSnapshotNode* saved = list.SnapshotHead();
    for (const ZQColorOptionNode* node = list.Head(); node && saved; node = node->pNext, saved = saved->pNext)
        if (node->dwSelection != saved->dwValue) return TRUE;
    return FALSE;
}

void CZQColorTab::VResetColorListsToDefaults(PageContext* pContext) {
    pContext->pLogic->m_colorOptions.VResetToDefaults();
}

void CZQColorTab::VOpenColorSettingsSheet(HWND hDlg, PageContext* pContext) {
    CZQColorSettingsSheet::Instance().VSetPageWindow(hDlg);
    DWORD result = 0;
    ZQRunCommonPropertySheetUI(hDlg, &CZQColorSettingsSheet::PropSheetCallback, reinterpret_cast<LPARAM>(pContext),
                               &result);
    const BOOL atDefaults = pContext->pLogic->m_colorOptions.BColorListAtDefaults();
    CheckRadioButton(hDlg, IDC_RB_AUTO, IDC_RB_MANUAL, atDefaults ? IDC_RB_AUTO : IDC_RB_MANUAL);
    if (ZQUIDevmode* work = WorkOf(pContext)) work->dwChromixAuto = atDefaults ? 1 : 0;
}

void CZQColorTab::VSaveInkChoice(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    const ZQUIDevmode* work = WorkOf(pContext);
    if (!work) return;
    POPTITEM item = FeatureItem(m_pCUIParam, kCmykInks);
    if (item && m_hCmykInks) {
        const int entry = static_cast<int>(SendMessageW(m_hCmykInks, CB_GETCURSEL, 0, 0));
        const int index = CZQCommon::IComboItemToOptionIndex(entry, m_hCmykInks, item);
        if (index >= 0) logic.m_iCmykInks = index;
    }
    logic.m_bColorOutput = work->dwPrintAsGray != 1 ? TRUE : FALSE;
}
