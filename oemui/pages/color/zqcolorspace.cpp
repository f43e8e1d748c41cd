// The Colour page's handlers of the colour space, colour management, rendering intent, installed
// cartridges and printer emulation: the lists filled from the features, the controls each colour
// space shows, the greyscale and sepia rules a colour space brings, and what goes into the public
// devmode and the printer's data.
#include "common/zqcolorprofile.h"
#include "common/zqprinterdata.h"
#include "pages/color/zqcolorkeywords.h"
#include "pages/color/zqcolorpage.h"
#include "pages/zqpageitems.h"

using namespace zqpage;

namespace {

constexpr DWORD kDoc = OEMCUIP_DOCPROP;
constexpr WCHAR kIntent[] = L"ZQIntent";
constexpr WCHAR kCartridges[] = L"ZQInstalledPrintCartridges";
constexpr WCHAR kEmulatedPrinters[] = L"ZQEmulatedPrinters";
constexpr WCHAR kEmulationNone[] = L"EmulatedPrinters_dummy_option";
constexpr WCHAR kColorMgmtOptions[] = L"ZQColorMgmtOptions";
constexpr WCHAR kLqjColorMgmt[] = L"ZQLQJColorMgmt";
constexpr WCHAR kAdvancedSetting[] = L"ZQAdvancedColorSetting";
constexpr WCHAR kPrintInSepia[] = L"ZQPrintInSepia";

bool Is(PCWSTR pszOption, PCWSTR pszWord) { return ZQEqualNoCase(pszOption, pszWord); }

void Shown(HWND hCtrl, bool bShow) { bShow ? ShowEnabled(hCtrl) : Hide(hCtrl); }

bool LargeFormat(const PageContext* pContext) { return pContext->pLogic->BIsLargeFormat() != FALSE; }

DWORD Language(const PageContext* pContext) {
    const ZQUIDevmode* work = WorkOf(pContext);
    return work ? work->dwPdl : 0;
}

// The entry with this exact text, added when the list lacks it, selected: repeated starts, clicks
// and activations never add it twice.
void SelectEntryAdding(HWND hList, PCWSTR pszText) {
    if (!hList) return;
    LRESULT entry = SendMessageW(hList, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(pszText));
    if (entry == CB_ERR) entry = SendMessageW(hList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pszText));
    if (entry >= 0) SendMessageW(hList, CB_SETCURSEL, static_cast<WPARAM>(entry), 0);
}

}  // namespace

int CZQColorTab::IBind(PageContext* pContext, PCWSTR pszFeature, HWND hCtrl, int iAction, int iOldValue) {
    if (!hCtrl) return 2;
    return pContext->pLogic->IBindFeatureControl(0, pszFeature, hCtrl, nullptr, kDoc, iAction, FALSE, iOldValue,
                                                 nullptr);
}

// ---------------------------------------------------------------------------------------------
// Filling and showing
// ---------------------------------------------------------------------------------------------
void CZQColorTab::VFillFeatureControls(PageContext* pContext) {
    const POEMCUIPPARAM param = m_pCUIParam;
    if (!param) return;
    const auto fill = [&](PCWSTR feature, HWND list) { return Bound(IBind(pContext, feature, list, CZQUILogic::kBindFill)); };

    const bool rgb = fill(L"RGBColor", m_hRgbColor);
    Shown(m_hRgbColor, rgb);
    Shown(m_hRgbColorLabel, rgb);
    const bool cmyk = fill(L"CMYKInks", m_hCmykInks);
    Shown(m_hCmykInks, cmyk);
    Shown(m_hCmykColorLabel, cmyk);
    Shown(m_hInksGroup, rgb || cmyk);

    const bool neutral = fill(L"ZQNeutralGrays", m_hNeutralGrays);
    Shown(m_hNeutralGrays, neutral);
    Shown(m_hNeutralGraysLabel, neutral);

    const bool space = fill(zqkw::kZQInputColorSpace, m_hInputColorSpace);
    for (HWND control : {m_hInputColorSpace, m_hColorSpaceGroup, m_hColorManagementLabel}) Shown(control, space);
    Shown(m_hInputSpaceLabel, space && LargeFormat(pContext));

    fill(kIntent, m_hIntent);

    const POPTITEM advanced = FeatureItem(param, kAdvancedSetting);
    Shown(m_hAdvanced, advanced && advanced->Sel == 0);

    fill(L"ZQCMYK", m_hCmyk);
    fill(L"ZQRGB", m_hRgb);

    if (m_hGrayscaleList) {
        if (fill(zqkw::kZQPrintInGrayScale, m_hGrayscaleList))
            ShowEnabled(m_hGrayscaleList, !m_bGrayscaleLocked);
        else
            Hide(m_hGrayscaleList);
    }
    VShowColorMgmtRadios(pContext, true);
}

void CZQColorTab::VShowColorMgmtRadios(PageContext* pContext, bool bProfileLabel) {
    const POEMCUIPPARAM param = m_pCUIParam;
    if (!param || !Readable(param, zqkw::kZQSimplifiedUI) || !LargeFormat(pContext) ||
        Language(pContext) == zqdm::kPdlPostScript)
        return;
    WCHAR option[256];
    if (!ReadOption(param, kColorMgmtOptions, option)) {
        for (HWND control : {m_hAppManagedSui, m_hPrinterManaged, m_hInputColorSpace, m_hInputSpaceLabel, m_hProfileSui})
            Hide(control);
        return;
    }
    ShowEnabled(m_hAppManagedSui);
    ShowEnabled(m_hPrinterManaged);
    if (Is(option, L"ApplicationManagedColors")) {
        SetCheck(m_hAppManagedSui, true);
        SetCheck(m_hPrinterManaged, false);
        VFillColorSpaceCombo(pContext, TRUE);
        for (HWND control : {m_hInputColorSpace, m_hProfileName})
            if (control) EnableWindow(control, FALSE);
    } else if (Is(option, L"PrinterManagedColors")) {
        SetCheck(m_hAppManagedSui, false);
        SetCheck(m_hPrinterManaged, true);
        VFillColorSpaceCombo(pContext, FALSE);
        for (HWND control : {m_hInputColorSpace, m_hProfileName})
            if (control) EnableWindow(control, TRUE);
    }
    if (bProfileLabel) Shown(m_hProfileSui, FeatureItem(param, zqkw::kZQInputColorSpace) != nullptr);
}

DWORD CZQColorTab::DWUpdateColorSpaceControls(PageContext* pContext) {
    const POEMCUIPPARAM param = m_pCUIParam;
    if (!param) return ZQOPT_NOT_FOUND;
    WCHAR space[256];
    const bool readable = ReadOption(param, zqkw::kZQInputColorSpace, space);
    if (!LargeFormat(pContext)) {
        if (!readable || !Is(space, L"ICM")) {
            for (HWND control :
                 {m_hIntentLabel, m_hCartridgeLabel, m_hProfileLabel, m_hIntent, m_hCartridges, m_hProfileName})
                Hide(control);
        } else {
            const bool intent = FeatureItem(param, kIntent) != nullptr;
            const bool cartridges = FeatureItem(param, kCartridges) != nullptr;
            Shown(m_hIntentLabel, intent);
            Shown(m_hIntent, intent);
            ShowEnabled(m_hProfileLabel);
            ShowEnabled(m_hProfileName);
            Shown(m_hCartridges, cartridges);
            Shown(m_hCartridgeLabel, cartridges);
        }
    }
    if (readable && Language(pContext) == zqdm::kPdlZqgl2) {
        if (!Is(space, L"PRINTEREMULATION")) {
            CZQCommon::DWSelectOptionByKeyword(param, kEmulatedPrinters, kEmulationNone, kDoc);
            SelectEntryAdding(m_hEmulation, kEmulationNone);
            Hide(m_hEmulation);
            Hide(m_hEmulationLabel);
        } else {
            DWFillEmulationCombo(pContext);
            const bool emulation = FeatureItem(param, kEmulatedPrinters) != nullptr;
            Shown(m_hEmulation, emulation);
            Shown(m_hEmulationLabel, emulation);
        }
    }
    return readable ? ZQOPT_OK : ZQOPT_NOT_FOUND;
}

void CZQColorTab::VShowColorSpaceChoices(PageContext* pContext) {
    DWUpdateColorSpaceControls(pContext);
    VOnColorSpaceChanged(pContext);
    VShowProfileName(pContext);
    pContext->pLogic->VApplyIntentToDevmode(m_pPublicDM);
}

void CZQColorTab::VOnColorMgmtRadio(PageContext* pContext, bool bApplicationManaged) {
    const POEMCUIPPARAM param = m_pCUIParam;
    HWND radio = bApplicationManaged ? m_hAppManagedSui : m_hPrinterManaged;
    if (!param || !Checked(radio)) return;
    CZQCommon::DWSelectOptionByKeyword(param, kColorMgmtOptions,
                                       bApplicationManaged ? L"ApplicationManagedColors" : L"PrinterManagedColors", kDoc);
    if (!Readable(param, zqkw::kZQSimplifiedUI) || !LargeFormat(pContext) || Language(pContext) == zqdm::kPdlPostScript)
        return;
    if (bApplicationManaged) {
        CZQCommon::DWSelectOptionByIndex(param, zqkw::kZQInputColorSpace, 0, kDoc);
        IBind(pContext, zqkw::kZQInputColorSpace, m_hInputColorSpace, CZQUILogic::kBindShow);
        VFillColorSpaceCombo(pContext, TRUE);
        for (HWND control : {m_hInputColorSpace, m_hProfileName})
            if (control) EnableWindow(control, FALSE);
        if (CZQCommon::DWSelectOptionByKeyword(param, kEmulatedPrinters, kEmulationNone, kDoc) == ZQOPT_OK)
            SelectEntryAdding(m_hEmulation, kEmulationNone);
    } else {
        if (m_hInputColorSpace) EnableWindow(m_hInputColorSpace, TRUE);
        VFillColorSpaceCombo(pContext, FALSE);
    }
    if (IsVisible(m_hEmulation)) {
        Hide(m_hEmulation);
        Hide(m_hEmulationLabel);
    }
}

// ---------------------------------------------------------------------------------------------
// What a colour space brings
// ---------------------------------------------------------------------------------------------
void CZQColorTab::VOnColorSpaceChanged(PageContext* pContext) {
    const POEMCUIPPARAM param = m_pCUIParam;
    ZQUIDevmode* work = WorkOf(pContext);
    WCHAR space[256];
    if (!param || !work || !ReadOption(param, zqkw::kZQInputColorSpace, space)) return;
    if (Is(space, L"ADOBERGB")) VClearAdvancedValues(pContext);
    const bool managed = Is(space, L"MANAGEDBYAPPLN") || Is(space, L"ICM");
    if (!managed) {
        BEnableUnlessLocked(m_hGrayscale, true);
        if (work->dwPrintAsGray) {
            if (m_hAdvanced) EnableWindow(m_hAdvanced, FALSE);
        } else if (IsVisible(m_hAdvanced)) {
            EnableWindow(m_hAdvanced, TRUE);
        }
        VUpdateForSepia(pContext);
        return;
    }
    // The application or the system manages colour: greyscale is the printer's own and goes,
    // unless the administrator locked it on; then the colour space gives way instead.
    if (work->dwPrintAsGray && m_bGrayscaleLocked) {
        if (m_hInputColorSpace) SendMessageW(m_hInputColorSpace, CB_SETCURSEL, 0, 0);
        SelectItem(param, zqkw::kZQInputColorSpace, 0);
        return;
    }
    SetCheck(m_hGrayscale, false);
    if (m_hAdvanced) EnableWindow(m_hAdvanced, TRUE);
    SelectItem(param, PszGrayscaleFeature(pContext), 0);
    work->dwPrintAsGray = 0;
    VSyncGrayscaleRadios(pContext);
    for (HWND control : {m_hGrayscale, m_hBlackOnly, m_hHighQuality, m_hPhotoCopy, m_hGrayscaleList})
        if (control) EnableWindow(control, FALSE);
    VClearAdvancedValues(pContext);
}

void CZQColorTab::VUpdateSepiaForColorSpace(PageContext* pContext) {
    const POEMCUIPPARAM param = m_pCUIParam;
    ZQUIDevmode* work = WorkOf(pContext);
    WCHAR space[256];
    if (!param || !work || !ReadOption(param, zqkw::kZQInputColorSpace, space)) return;
    if (Is(space, L"MANAGEDBYAPPLN") || Is(space, L"ADOBERGB") || Is(space, L"ICM")) {
        work->dwSepia = 0;
        DWSelectSepia(pContext, FALSE);
        SetCheck(m_hSepia, false);
        if (m_hSepia) EnableWindow(m_hSepia, FALSE);
        if (!Is(space, L"ADOBERGB")) {
            SetCheck(m_hPrintInColor, true);
        } else if (!work->dwPrintAsGray) {
            SetCheck(m_hPrintInColor, true);
            if (IsVisible(m_hAdvanced)) EnableWindow(m_hAdvanced, TRUE);
        }
        return;
    }
    if (work->dwPrintAsGray && m_bGrayscaleLocked) {
        if (m_hSepia) EnableWindow(m_hSepia, FALSE);
    } else if (m_hSepia && FeatureItem(param, kPrintInSepia)) {
        EnableWindow(m_hSepia, TRUE);
    }
}

// ---------------------------------------------------------------------------------------------
// The public devmode's colour matching
// ---------------------------------------------------------------------------------------------
void CZQColorTab::VShowProfileName(PageContext* pContext) {
    if (!m_pCUIParam || !m_pPublicDM) return;
    pContext->pLogic->VSetPublicColorMatching(m_pPublicDM);
    if (Readable(m_pCUIParam, zqkw::kZQInputColorSpace)) VShowProfileFile(pContext);
}

void CZQColorTab::VShowProfileFile(PageContext* pContext) {
    const POEMCUIPPARAM param = m_pCUIParam;
    if (!param || !m_hProfileName) return;
    // The profile follows the page's greyscale choice, which reaches the public devmode only on OK.
    DEVMODEW dm = {};
    if (m_pPublicDM) dm = *m_pPublicDM;
    if (const ZQUIDevmode* work = pContext ? WorkOf(pContext) : nullptr) {
        dm.dmFields |= DM_COLOR;
        dm.dmColor = work->dwPrintAsGray ? DMCOLOR_MONOCHROME : DMCOLOR_COLOR;
    }
    WCHAR profile[260] = {};
    ULONG size = sizeof(profile);
    FLONG flags = 0;
    if (FAILED(ZQQueryColorProfile(&dm, param->pOEMDM, 0, profile, &size, &flags))) profile[0] = L'\0';
    SetWindowTextW(m_hProfileName, profile);
}

// ---------------------------------------------------------------------------------------------
// Colour management of the large-format pages
// ---------------------------------------------------------------------------------------------
void CZQColorTab::VFillColorSpaceCombo(PageContext* pContext, BOOL bApplicationManaged) {
    const POEMCUIPPARAM param = m_pCUIParam;
    const POPTITEM item = param ? FeatureItem(param, zqkw::kZQInputColorSpace) : nullptr;
    if (!item || !m_hInputColorSpace) return;
    WCHAR none[kResStringChars];
    if (!BLoadResString(3160, none)) ZQCopyText(none, kResStringChars, L"None");
    const int count = CZQCommon::IGetOptionCount(item);
    if (bApplicationManaged) {
        // The "None" entry ends the list; it is added once however often the radio is clicked.
        SelectEntryAdding(m_hInputColorSpace, none);
        CZQCommon::DWSelectOptionByKeyword(param, zqkw::kZQInputColorSpace, L"NONE", kDoc);
    } else {
        SendMessageW(m_hInputColorSpace, CB_RESETCONTENT, 0, 0);
        for (int i = 0; i < count; ++i) {
            const PCWSTR name = OptionName(item, i);
            if (name && wcscmp(name, none) != 0)
                SendMessageW(m_hInputColorSpace, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
        }
    }
    WCHAR space[256];
    if (!ReadOption(param, zqkw::kZQInputColorSpace, space)) return;
    if (Is(space, L"NONE")) {
        if (!bApplicationManaged) SelectItem(param, zqkw::kZQInputColorSpace, 0);
        IBind(pContext, zqkw::kZQInputColorSpace, m_hInputColorSpace, CZQUILogic::kBindShow);
        return;
    }
    CZQCommon::DWSelectOptionByKeyword(param, zqkw::kZQInputColorSpace, space, kDoc);
    const int index = CZQCommon::IGetOptionIndexByKeyword(param, space, zqkw::kZQInputColorSpace, item);
    IBind(pContext, zqkw::kZQInputColorSpace, m_hInputColorSpace, CZQUILogic::kBindShow, index >= 0 ? index : 0);
}

bool CZQColorTab::BLqjPanel(PageContext* pContext) const {
    return LargeFormat(pContext) && Language(pContext) == zqdm::kPdlPostScript;
}

void CZQColorTab::VInitLqjColorMgmt(PageContext* pContext) {
    const POEMCUIPPARAM param = m_pCUIParam;
    const ZQUIDevmode* work = WorkOf(pContext);
    if (!BLqjPanel(pContext)) return;
    if (!param || !work) {
        SetLastError(ERROR_INVALID_DATA);
        return;
    }
    const bool panel = FeatureItem(param, kLqjColorMgmt) != nullptr;
    for (HWND control : {m_hAppManaged, m_hInputProfiles, m_hColorSpaceGroup}) Shown(control, panel);
    SetCheck(m_hInputProfiles, work->dwLfInputProfiles != 0);
    SetCheck(m_hAppManaged, work->dwLfInputProfiles == 0);
    const struct {
        PCWSTR feature;
        HWND first, second;
    } rows[] = {{L"ZQCMYK", m_hCmykLabel, m_hCmyk}, {L"ZQRGB", m_hRgbLabel, m_hRgb},
                {kIntent, m_hIntentLabel, m_hIntent}, {L"ZQBlackPoint", m_hBlackPoint, nullptr},
                {L"ZQPantone", m_hPantone, nullptr}};
    for (const auto& row : rows) {
        const bool present = FeatureItem(param, row.feature) != nullptr;
        Shown(row.first, present);
        Shown(row.second, present);
    }
    SetCheck(m_hBlackPoint, work->dwBlackPointComp != 0);
    SetCheck(m_hPantone, work->dwPantoneEmulation != 0);
}

void CZQColorTab::VEnableLqjProfiles(PageContext* pContext) {
    const POEMCUIPPARAM param = m_pCUIParam;
    const ZQUIDevmode* work = WorkOf(pContext);
    if (!BLqjPanel(pContext) || !param || !FeatureItem(param, kLqjColorMgmt)) return;
    if (!work) {
        SetLastError(ERROR_INVALID_DATA);
        return;
    }
    const BOOL profiles = work->dwLfInputProfiles != 0;
    for (HWND control : {m_hCmykLabel, m_hRgbLabel, m_hCmyk, m_hRgb, m_hIntentLabel, m_hIntent})
        if (control) EnableWindow(control, profiles);
    if (m_hBlackPoint) EnableWindow(m_hBlackPoint, FALSE);
    WCHAR intent[256];
    if (!ReadOption(param, kIntent, intent)) return;
    if (Is(intent, L"RELCOLORIMETRIC")) {
        if (m_hBlackPoint) EnableWindow(m_hBlackPoint, profiles);
    } else {
        SetCheck(m_hBlackPoint, false);
    }
}

void CZQColorTab::VOnLqjColorMgmtRadio(PageContext* pContext) {
    const POEMCUIPPARAM param = m_pCUIParam;
    ZQUIDevmode* work = WorkOf(pContext);
    if (!param || !work) return;
    if (Checked(m_hInputProfiles)) {
        work->dwLfInputProfiles = 1;
        return;
    }
    work->dwLfInputProfiles = 0;
    if (!Checked(m_hAppManaged)) return;
    // The profiles go back to the options the printer started with.
    const struct {
        PCWSTR feature;
        HWND list;
    } rows[] = {{L"ZQCMYK", m_hCmyk}, {L"ZQRGB", m_hRgb}, {kIntent, m_hIntent}};
    WCHAR intent[256] = {};
    for (const auto& row : rows) {
        WCHAR option[256] = {};
        pContext->pLogic->VGetInitialFeatureOption(row.feature, option);
        if (row.feature == kIntent) ZQCopyText(intent, 256, option);
        if (!option[0]) continue;
        CZQCommon::DWSelectOptionByKeyword(param, row.feature, option, kDoc);
        IBind(pContext, row.feature, row.list, CZQUILogic::kBindShow);
    }
    if (!Is(intent, L"RELCOLORIMETRIC")) {
        SetCheck(m_hBlackPoint, false);
        if (m_hBlackPoint) EnableWindow(m_hBlackPoint, FALSE);
    }
}

// ---------------------------------------------------------------------------------------------
// Cartridges and emulation
// ---------------------------------------------------------------------------------------------
void CZQColorTab::VFillCartridgeCombo(PageContext* pContext) {
    (void)pContext;
    const POPTITEM item = m_pCUIParam ? FeatureItem(m_pCUIParam, kCartridges) : nullptr;
    if (!item || !m_hCartridges) return;
    SendMessageW(m_hCartridges, CB_RESETCONTENT, 0, 0);
    const int count = CZQCommon::IGetOptionCount(item);
    for (int i = 0; i < count; ++i)
        if (const PCWSTR name = OptionName(item, i))
            SendMessageW(m_hCartridges, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
}

DWORD CZQColorTab::DWFillEmulationCombo(PageContext* pContext) {
    (void)pContext;
    const POPTITEM item = m_pCUIParam ? FeatureItem(m_pCUIParam, kEmulatedPrinters) : nullptr;
    if (!item) return ZQOPT_NOT_FOUND;
    if (m_hEmulation) {
        SendMessageW(m_hEmulation, CB_RESETCONTENT, 0, 0);
        const int count = CZQCommon::IGetOptionCount(item);
        for (int i = 0; i < count; ++i) {
            const PCWSTR name = OptionName(item, i);
            if (name && wcscmp(name, kEmulationNone) != 0)
                SendMessageW(m_hEmulation, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
        }
        SendMessageW(m_hEmulation, CB_SETCURSEL, 0, 0);
    }
    SelectItem(m_pCUIParam, kEmulatedPrinters, 0);
    return ZQOPT_OK;
}

void CZQColorTab::VNoteCartridgeChange(PageContext* pContext) {
    const POPTITEM item = m_pCUIParam ? FeatureItem(m_pCUIParam, kCartridges) : nullptr;
    // Without the selection the sheet opened with there is no change to tell.
    const int saved = pContext->pLogic->IGetSavedSelection(kCartridges);
    if (!item || saved < 0 || item->Sel == saved) return;
    VSetPrinterDataFlag(L"PrintCartrigesModified", 1, HPrinter());
}

void CZQColorTab::VSetPrinterDataFlag(PCWSTR pszName, DWORD dwValue, HANDLE hPrinter) {
    if (!hPrinter || !pszName || wcslen(pszName) >= 255) return;
    DWORD type = 0, cb = 0;
    CZQLocalPtr<BYTE> data;
    if (ZQReadStoredValue(hPrinter, nullptr, pszName, &type, data, &cb) == ERROR_SUCCESS && cb == sizeof(DWORD) &&
        *reinterpret_cast<const DWORD*>(data.Get()) == 1)
        return;
    ZQWriteStoredValue(hPrinter, nullptr, pszName, REG_DWORD, &dwValue, sizeof(dwValue));
}
