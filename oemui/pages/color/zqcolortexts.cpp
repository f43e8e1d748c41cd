// The Colour page's texts in the user's language, its context-help table with the administrator's
// locks, the change check told to the sheet, and the Advanced Color Settings dialog it opens.
#include <cwchar>

#include "common/zqkeywords.h"
#include "featurelogic/zqquicksets.h"
#include "formats/zquidevmode.h"
#include "pages/color/zqcolorpage.h"
#include "pages/dialogs/zqmodaldlg.h"
#include "pages/zqpageitems.h"
#include "res/zqcolorids.h"

using namespace zqpage;

namespace {

constexpr DWORD kDoc = OEMCUIP_DOCPROP;

// Texts set whatever the control shows (a control the template lacks takes none).
const CZQPageControls::TextRow kFixedTexts[] = {
    {IDC_RB_AUTO, 793, L"&Automatic"},
    {IDC_RB_MANUAL, 794, L"&Manual"},
    {IDC_BUT_OPT, 895, L"&Settings..."},
    {IDC_RB_MONO, 5440, L"Black && White"},
    {IDC_RB_COLOR, 5441, L"Color"},
    {IDC_STA_NEUTRAL_GRAYS, 5442, L"Ne&utral Grays:"},
    {IDC_BTN_PREVIEW_PORT, 3072, L"Portrait"},
    {IDC_BTN_PREVIEW_LAND, 3073, L"Landscape"},
    {IDC_BTN_HELP, 797, L"&Help"},
    {IDC_GB_CHROMIX, 792, L"Color Options"},
    {IDC_GB_CMYK_INKS, 4840, L"Color Themes"},
    {IDC_STA_RGB_COLOR, 4841, L"RGB &Color"},
    {IDC_STA_CMYK_COLOR, 4842, L"CM&YK Color"},
    {IDC_GB_COLOR_SPACE, 4286, L"Color Management"},
};

// Texts set only on a control the layout shows.
const CZQPageControls::TextRow kShownTexts[] = {
    {IDC_CHK_GRAYSCALE, 796, L"Print In &Grayscale"},
    {IDC_CHK_PRINTINSEPIA, 5296, L"Pri&nt In Sepia"},
    {IDC_STA_INPUTSPACE, 4955, L"Color Matching Method"},
};

const CZQPageControls::TextRow kLaterTexts[] = {
    {IDC_RB_PRINTINCOLOR, 5289, L"Print In Color"},
    {IDC_GB_COLOR_OPTIONS, 792, L"Color Options"},
    {IDC_BTN_PRINTER_SERVICES, 5158, L"Printer services"},
    {IDC_BTN_FACTORY_DEFAULTS, 5157, L"Factory defaults"},
    {IDC_STA_PRINT_CART, 5307, L"Installed Print &Cartridges:"},
    {IDC_STA_ICM_PROFILE, 5304, L"ICM Profile:"},
    {IDC_STA_EMULATEPRINTER, 5035, L"Emula&ted Printers"},
    {IDC_CHK_SHOW_PREVIEW_FIN, 5152, L"Show preview before printing"},
    {IDC_RB_PRINTER_MANAGED, 5434, L"Printer Managed Colors"},
};

const CZQPageControls::TextRow kLqjTexts[] = {
    {IDC_RB_INPUTPROFILES, 4480, L"&Input Profiles"},
    {IDC_STA_CMYK, 4481, L"CMY&K"},
    {IDC_STA_RGB, 4482, L"&RGB"},
    {IDC_CHK_BLACK_POINT, 4484, L"B&lack Point Compensation"},
};

}  // namespace

// ---------------------------------------------------------------------------------------------
// Texts
// ---------------------------------------------------------------------------------------------
void CZQColorTab::VSetTextRows(const CZQPageControls::TextRow* pRows, int cRows, bool bShownOnly) {
    for (int i = 0; i < cRows; ++i) {
        HWND control = m_hPage ? GetDlgItem(m_hPage, pRows[i].iCtrlId) : nullptr;
        if (control && (!bShownOnly || IsVisible(control))) BSetWindowTextRes(pRows[i].iTextId, control, pRows[i].pszEnglish);
    }
}

void CZQColorTab::VSetControlTexts(PageContext* pContext) {
    const ZQUIDevmode* work = WorkOf(pContext);
    const POEMCUIPPARAM param = m_pCUIParam;
    if (!work || !CoreOf(param)) {
        SetLastError(ERROR_INVALID_DATA);
        return;
    }
    const bool simplified = Readable(param, zqkw::kZQSimplifiedUI);
    const bool largeFormat = pContext->pLogic->BIsLargeFormat() != FALSE;
    const auto count = [](const auto& rows) { return static_cast<int>(sizeof rows / sizeof rows[0]); };

    if (m_hPage) BSetWindowTextRes(798, m_hPage, L"Color");
    VSetTextRows(kFixedTexts, count(kFixedTexts), false);
    VSetTextRows(kShownTexts, count(kShownTexts), true);
    // The greyscale radios are named as the driver names the greyscale options (read once: each
    // reading of the keywords walks the core driver's options).
    const HWND radios[] = {m_hHighQuality, m_hBlackOnly, m_hPhotoCopy};
    if (m_hHighQuality || m_hBlackOnly || m_hPhotoCopy) {
        if (!m_grayOptions.bReadable) VReadGrayscaleOptions(pContext);
        const POPTITEM item = FeatureItem(param, PszGrayscaleFeature(pContext));
        for (int i = 0; i < 3; ++i) {
            const PCWSTR name = item && m_grayOptions.aiRadioOption[i] >= 0 ? OptionName(item, m_grayOptions.aiRadioOption[i]) : nullptr;
            if (radios[i] && name) SetWindowTextW(radios[i], name);
        }
    }
    if (simplified && largeFormat && work->dwPdl != kPdlPostScript)
        BSetWindowTextRes(-1, m_hColorManagementLabel, L"Color Management:");
    else if (IsVisible(m_hColorManagementLabel))
        BSetWindowTextRes(5194, m_hColorManagementLabel, L"Co&lor Management:");
    VSetTextRows(kLaterTexts, count(kLaterTexts), false);

    // The intent's label: its name followed by the language's separator.
    if (m_hIntentLabel) {
        WCHAR separator[kResStringChars] = {};
        if (!BLoadResString(3994, separator)) ZQCopyText(separator, kResStringChars, L":");
        WCHAR label[256];
        std::swprintf(label, 256, L"%ls%ls", simplified ? L"R&endering Intent" : L"&Intent", separator);
        SetWindowTextW(m_hIntentLabel, label);
    }
    if (m_hAdvanced) {
        if (work->dwPdl == 4 && simplified) BSetWindowTextRes(5186, m_hAdvanced, L"More color options...");
        else if (largeFormat) BSetWindowTextRes(5294, m_hAdvanced, L"Advanced Color &Settings...");
        else BSetWindowTextRes(5186, m_hAdvanced, L"More color options...");
    }
    if (IsVisible(m_hAppManaged)) BSetWindowTextRes(4479, m_hAppManaged, L"A&pplication Managed Colors");
    VSetTextRows(kLqjTexts, count(kLqjTexts), false);
    if (IsVisible(m_hPantone)) BSetWindowTextRes(4485, m_hPantone, L"ZQ Pr&ofessional PANTONE Emulation");
    if (IsVisible(m_hAppManagedSui)) BSetWindowTextRes(4479, m_hAppManagedSui, L" A&pplication Managed Colors");
    if (IsVisible(m_hProfileSui)) BSetWindowTextRes(5435, m_hProfileSui, L"Source Profile");
}

// ---------------------------------------------------------------------------------------------
// Context help
// ---------------------------------------------------------------------------------------------
void CZQColorTab::VGetHelpIds(DWORD* pdwTable, PageContext* pContext) {
    const ZQUIDevmode* work = WorkOf(pContext);
    if (!pdwTable || !work || !CoreOf(m_pCUIParam)) {
        SetLastError(ERROR_INVALID_DATA);
        return;
    }
    CZQUILogic* logic = pContext->pLogic;
    const bool largeFormatPcl = logic->BIsLargeFormat() && (work->dwPdl == 4 || work->dwPdl == 5);
    const HelpRow rows[] = {
        {IDC_GB_CHROMIX, nullptr, 0, nullptr, logic->BIsChromixSupported() ? 15135 : -1},
        {112, nullptr, 0, nullptr, -1},
        {IDC_RB_AUTO, L"Automatic", 0, nullptr, 14012},
        {IDC_RB_MANUAL, L"Manual", 0, nullptr, 13002},
        {123, nullptr, 0, nullptr, -1},
        {132, nullptr, 0, nullptr, -1},
        {128, nullptr, 0, nullptr, -1},
        {IDC_BUT_OPT, nullptr, 0, nullptr, 15119},
        {101, nullptr, 0, nullptr, -1},
        {IDC_BTN_HELP, nullptr, 0, nullptr, 15054},
        {ShownPreviewId(*work), nullptr, 0, nullptr, 14060},
        {IDC_CHK_GRAYSCALE, L"PrintColorAsGray", 0, nullptr, 14013},
        {IDC_GB_CMYK_INKS, nullptr, 0, nullptr, -1},
        {IDC_CBO_CMYK_INKS, nullptr, 0, L"CMYKInks", -1},
        {IDC_CBO_PRESET, nullptr, 0, nullptr, 15208},
        {IDC_BTN_SAVE_PRESET, nullptr, 0, nullptr, 15209},
        {IDC_BTN_DELETE_PRESET, nullptr, 0, nullptr, 15210},
        {IDC_GB_PRE_SETS, nullptr, 0, nullptr, -1},
        {IDC_RB_HIGHQUALITY, nullptr, 0, nullptr, 15279},
        {IDC_RB_BLACKONLY, nullptr, 0, nullptr, 15280},
        {IDC_RB_PHOTOCOPY, nullptr, 0, nullptr, 15281},
        {IDC_GB_COLOR_SPACE, nullptr, 0, nullptr, -1},
        {IDC_INPUT_COLORSPACE, nullptr, 0, nullptr, largeFormatPcl ? 15570 : 15454},
        {IDC_STA_INTENT, nullptr, 0, nullptr, 15453},
        {IDC_CBO_INTENT, nullptr, 0, nullptr, 15453},
        {IDC_STA_PRINT_CART, nullptr, 0, nullptr, 15452},
        {IDC_CBO_PRINT_CART, nullptr, 0, nullptr, 15452},
        {IDC_STA_ICM_PROFILE, nullptr, 0, nullptr, 15451},
        {IDC_STA_PROFILENAME, nullptr, 0, nullptr, 15451},
        {IDC_CHK_PRINTINSEPIA, nullptr, 0, nullptr, 15497},
        {IDC_BTN_ADV_COLOR_SETTING, nullptr, 0, L"ZQAdvancedColorSetting", 15498},
        {IDC_RB_APP_MANAGED_COLORS, nullptr, 0, nullptr, 15508},
        {IDC_RB_INPUTPROFILES, nullptr, 0, nullptr, 15509},
        {IDC_STA_CMYK, nullptr, 0, nullptr, 15510},
        {IDC_CBO_CMYK, nullptr, 0, nullptr, 15510},
        {IDC_STA_RGB, nullptr, 0, nullptr, 15511},
        {IDC_CBO_RGB, nullptr, 0, nullptr, 15511},
        {IDC_CHK_BLACK_POINT, nullptr, 0, nullptr, 15512},
        {IDC_CHK_PANTONE, nullptr, 0, nullptr, 15513},
        {IDC_CBO_RGB_COLOR, nullptr, 0, L"RGBColor", -1},
        {IDC_STA_RGB_COLOR, nullptr, 0, nullptr, -1},
        {IDC_STA_CMYK_COLOR, nullptr, 0, nullptr, -1},
        {IDC_ZQLOGO_HOLDER, nullptr, 0, nullptr, -1},
        {IDC_PREVIEW_DIMENSIONS, nullptr, 0, nullptr, -1},
        {IDC_STA_EMULATEPRINTER, nullptr, 0, nullptr, -1},
        {IDC_CBO_EMULATEPRINTER, nullptr, 0, L"ZQEmulatedPrinters", -1},
        {IDC_STA_COLOR_MANAGEMENT, nullptr, 0, nullptr, -1},
        {IDC_RB_PRINTINCOLOR, nullptr, 0, nullptr, 15579},
        {IDC_CHK_SHOW_PREVIEW_FIN, nullptr, 0, zqkw::kZQPrintPreview, -1},
        {IDC_BTN_FACTORY_DEFAULTS, nullptr, 0, nullptr, 15582},
        {IDC_BTN_PRINTER_SERVICES, nullptr, 0, nullptr, 15580},
        {IDC_CBO_GRAYSCALE, nullptr, 0, nullptr, 15581},
        {IDC_GB_COLOR_OPTIONS, nullptr, 0, nullptr, -1},
        {IDC_RB_MONO, nullptr, 0, nullptr, 15662},
        {IDC_RB_COLOR, nullptr, 0, nullptr, 15663},
        {563, nullptr, 0, nullptr, 15454},
        {IDC_CBO_NEUTRAL_GRAYS, nullptr, 0, nullptr, 15664},
        {IDC_STA_NEUTRAL_GRAYS, nullptr, 0, nullptr, -1},
        {IDC_RB_APPLN_MANAGED_SUI, nullptr, 0, nullptr, -1},
        {IDC_RB_PRINTER_MANAGED, nullptr, 0, nullptr, -1},
    };
    static_assert(sizeof rows / sizeof rows[0] < kHelpPairs, "the help table's room");
    FillHelpTable(pdwTable, rows, static_cast<int>(sizeof rows / sizeof rows[0]), HPrinter(), logic);
}

// WM_HELP on the control asked about (the focus passes through the Task Presets combo and comes
// straight back), WM_CONTEXTMENU on the window clicked.
void CZQColorTab::VOnHelp(HWND hWnd, UINT uCommand, PageContext* pContext) {
    DWORD table[2 * kHelpPairs] = {};
    VGetHelpIds(table, pContext);
    ZQShowDialogHelp(hWnd, uCommand, m_pCUIParam, table);
    if (uCommand != HELP_WM_HELP) return;
    HWND focus = GetFocus();
    if (m_hPresetCombo) SetFocus(m_hPresetCombo);
    if (focus) SetFocus(focus);
}

// ---------------------------------------------------------------------------------------------
// The change check
// ---------------------------------------------------------------------------------------------
BOOL CZQColorTab::BCheckPageChanged(HWND hPage, PageContext* pContext) {
    ZQUIDevmode* work = WorkOf(pContext);
    const POEMCUIPPARAM param = m_pCUIParam;
    const ZQUIDevmode* live = CoreOf(param);
    if (!work || !live) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    CZQUILogic& logic = *pContext->pLogic;
    bool changed = BColorListChanged(pContext) != FALSE;
    changed = changed || live->dwPrintAsGray != work->dwPrintAsGray || live->dwSepia != work->dwSepia ||
              live->dwPantoneEmulation != work->dwPantoneEmulation || live->dwBlackPointComp != work->dwBlackPointComp ||
              live->dwLfInputProfiles != work->dwLfInputProfiles;
    const PCWSTR gray = PszGrayscaleFeature(pContext);
    if (!changed && Readable(param, gray)) {
        const int saved = logic.IGetSavedSelection(gray);
        changed = saved >= 0 && m_iGrayscaleChoice != saved;
    }
    // A control against the selection its feature had when the sheet opened; a feature not kept, or
    // a comparison that fails, changes nothing.
    auto differs = [&](HWND control, PCWSTR feature, BOOL checkBox) {
        const int old = logic.IGetSavedSelection(feature);
        if (!control || old < 0) return false;
        int result = 0;
        const int status =
            logic.IBindFeatureControl(0, feature, control, &result, kDoc, CZQUILogic::kBindCompare, checkBox, old, nullptr);
        return status == 0 && result != 0;
    };
    // The emulations' list leaves the dummy option out, so its entries are not the feature's
    // positions: the feature itself is compared.
    auto selectionDiffers = [&](PCWSTR feature) {
        const int old = logic.IGetSavedSelection(feature);
        POPTITEM item = FeatureItem(param, feature);
        return m_hEmulation && old >= 0 && item && item->Sel != old;
    };
    changed = changed || differs(m_hRgbColor, L"RGBColor", FALSE) || differs(m_hCmykInks, L"CMYKInks", FALSE) ||
              (!Checked(m_hPrintInColor) && differs(m_hGrayscaleList, zqkw::kZQPrintInGrayScale, FALSE)) ||
              differs(m_hPrinterManaged, L"ZQColorMgmtOptions", TRUE);
    changed = changed || live->wOrientation != work->wOrientation;
    changed = changed || differs(m_hInputColorSpace, zqkw::kZQInputColorSpace, FALSE) ||
              differs(m_hCmyk, L"ZQCMYK", FALSE) || differs(m_hRgb, L"ZQRGB", FALSE) ||
              differs(m_hIntent, L"ZQIntent", FALSE) || differs(m_hCartridges, L"ZQInstalledPrintCartridges", FALSE) ||
              selectionDiffers(L"ZQEmulatedPrinters") ||
              differs(m_hNeutralGrays, L"ZQNeutralGrays", FALSE) ||
              differs(m_hShowPreview, zqkw::kZQPrintPreview, TRUE);
    for (int i = 0; i < 7 && !changed; ++i) changed = live->aiColorAdjust[i] != work->aiColorAdjust[i];

    // The sheet hears the quick set's change first, then the page's own.
    const bool quickSetChanged = pContext->pQuickSets && pContext->pQuickSets->BChanged();
    HWND sheet = hPage ? GetParent(hPage) : nullptr;
    if (sheet)
        SendMessageW(sheet, changed || quickSetChanged ? PSM_CHANGED : PSM_UNCHANGED, reinterpret_cast<WPARAM>(hPage), 0);
    if (live->dwQuickSetInUse && (changed || quickSetChanged)) work->dwPendingChange = 1;
    if (sheet) SendMessageW(sheet, changed ? PSM_CHANGED : PSM_UNCHANGED, reinterpret_cast<WPARAM>(hPage), 0);
    return changed ? TRUE : FALSE;
}

// ---------------------------------------------------------------------------------------------
// The Advanced Color Settings dialog
// ---------------------------------------------------------------------------------------------
void CZQColorTab::VOnAdvancedSettings(HWND hDlg, PageContext* pContext) {
    m_advColor.VBindToPage(m_pCUIParam, HResModule(), m_pHeapBlock);
    if (m_advColor.IDoModal(hDlg, pContext, pContext->pLogic->SheetState()->bRtl) != IDOK) return;
    VOnColorSpaceChanged(pContext);
    BCheckPageChanged(hDlg, pContext);
}
