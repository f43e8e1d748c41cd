// The Colour page: its object, its messages, the start of its window, painting, the sheet's
// notifications, the user's commands and the factory defaults.
#include "pages/color/zqcolorpage.h"

#include "common/zqkeywords.h"
#include "common/zqmodule.h"
#include "device/zqalertwnd.h"
#include "featurelogic/zqpagegates.h"
#include "featurelogic/zqquicksets.h"
#include "pages/dialogs/zqnamedlg.h"
#include "pages/parts/zqstoremessage.h"
#include "pages/zqpageasks.h"
#include "pages/zqpageitems.h"
#include "preview/zqpreview.h"
#include "res/zqcolorids.h"

using namespace zqpage;

namespace {

constexpr DWORD kDoc = OEMCUIP_DOCPROP;

// The combos whose choice goes straight to their feature.
struct BoundList {
    int id;
    PCWSTR feature;
};
const BoundList kBoundLists[] = {
    {IDC_CBO_RGB_COLOR, L"RGBColor"}, {IDC_CBO_CMYK_INKS, L"CMYKInks"},
    {IDC_CBO_NEUTRAL_GRAYS, L"ZQNeutralGrays"}, {IDC_CBO_GRAYSCALE, zqkw::kZQPrintInGrayScale},
    {IDC_CBO_CMYK, L"ZQCMYK"}, {IDC_CBO_RGB, L"ZQRGB"}, {IDC_CBO_INTENT, L"ZQIntent"},
    {IDC_CBO_EMULATEPRINTER, L"ZQEmulatedPrinters"}, {IDC_CBO_PRINT_CART, L"ZQInstalledPrintCartridges"},
    {IDC_INPUT_COLORSPACE, zqkw::kZQInputColorSpace},
};

// The device status and the alert strips asked again, through the Effects page's object.
void RefreshDeviceStatus(PageContext* pContext) {
    if (auto* effects = ZQSheetPage<IZQEffectsPage>(pContext, kPageEffects)) effects->VRefreshDeviceStatus(pContext->pAlerts);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The page object
// ---------------------------------------------------------------------------------------------
CZQColorTab::CZQColorTab() = default;
CZQColorTab::~CZQColorTab() = default;

void CZQColorTab::VGetControlHandles(HWND hDlg) {
    const auto item = [hDlg](int id) { return GetDlgItem(hDlg, id); };
    m_hPage = hDlg;
    m_hAuto = item(IDC_RB_AUTO);
    m_hManual = item(IDC_RB_MANUAL);
    m_hColorSettings = item(IDC_BUT_OPT);
    m_hGrayscale = item(IDC_CHK_GRAYSCALE);
    m_hHighQuality = item(IDC_RB_HIGHQUALITY);
    m_hBlackOnly = item(IDC_RB_BLACKONLY);
    m_hPhotoCopy = item(IDC_RB_PHOTOCOPY);
    m_hHelp = item(IDC_BTN_HELP);
    m_hChromixGroup = item(IDC_GB_CHROMIX);
    m_hInksGroup = item(IDC_GB_CMYK_INKS);
    m_hCmykInks = item(IDC_CBO_CMYK_INKS);
    m_hSepia = item(IDC_CHK_PRINTINSEPIA);
    m_hGrayscaleList = item(IDC_CBO_GRAYSCALE);
    m_hColorManagementLabel = item(IDC_STA_COLOR_MANAGEMENT);
    m_hColorOptionsGroup = item(IDC_GB_COLOR_OPTIONS);
    m_hPrintInColor = item(IDC_RB_PRINTINCOLOR);
    m_hPrinterServices = item(IDC_BTN_PRINTER_SERVICES);
    m_hFactoryDefaults = item(IDC_BTN_FACTORY_DEFAULTS);
    m_hShowPreview = item(IDC_CHK_SHOW_PREVIEW_FIN);
    m_hRgbColor = item(IDC_CBO_RGB_COLOR);
    m_hRgbColorLabel = item(IDC_STA_RGB_COLOR);
    m_hCmykColorLabel = item(IDC_STA_CMYK_COLOR);
    m_hPresetDelete = item(IDC_BTN_DELETE_PRESET);
    m_hPresetSave = item(IDC_BTN_SAVE_PRESET);
    m_hPresetCombo = item(IDC_CBO_PRESET);
    m_hInputColorSpace = item(IDC_INPUT_COLORSPACE);
    m_hColorSpaceGroup = item(IDC_GB_COLOR_SPACE);
    m_hInputSpaceLabel = item(IDC_STA_INPUTSPACE);
    m_hEmulation = item(IDC_CBO_EMULATEPRINTER);
    m_hEmulationLabel = item(IDC_STA_EMULATEPRINTER);
    m_hIntentLabel = item(IDC_STA_INTENT);
    m_hCartridgeLabel = item(IDC_STA_PRINT_CART);
    m_hProfileLabel = item(IDC_STA_ICM_PROFILE);
    m_hIntent = item(IDC_CBO_INTENT);
    m_hCartridges = item(IDC_CBO_PRINT_CART);
    m_hProfileName = item(IDC_STA_PROFILENAME);
    m_hAdvanced = item(IDC_BTN_ADV_COLOR_SETTING);
    m_hAppManaged = item(IDC_RB_APP_MANAGED_COLORS);
    m_hInputProfiles = item(IDC_RB_INPUTPROFILES);
    m_hCmykLabel = item(IDC_STA_CMYK);
    m_hRgbLabel = item(IDC_STA_RGB);
    m_hCmyk = item(IDC_CBO_CMYK);
    m_hRgb = item(IDC_CBO_RGB);
    m_hBlackPoint = item(IDC_CHK_BLACK_POINT);
    m_hPantone = item(IDC_CHK_PANTONE);
    m_hDimensions = item(IDC_PREVIEW_DIMENSIONS);
    m_hMono = item(IDC_RB_MONO);
    m_hColor = item(IDC_RB_COLOR);
    m_hNeutralGrays = item(IDC_CBO_NEUTRAL_GRAYS);
    m_hNeutralGraysLabel = item(IDC_STA_NEUTRAL_GRAYS);
    m_hMonoIcon = item(IDC_STA_MONO_ICON);
    m_hColorIcon = item(IDC_STA_COLOR_ICON);
    m_hAppManagedSui = item(IDC_RB_APPLN_MANAGED_SUI);
    m_hPrinterManaged = item(IDC_RB_PRINTER_MANAGED);
    m_hProfileSui = item(IDC_STA_PROFILE);
    m_hDocSize = item(IDC_PREVIEW_DOCSIZE);
    // The base's windows: the help button and the sample page's two pictures.
    m_hHelpButton = m_hHelp;
    m_hPortraitPreview = item(IDC_BTN_PREVIEW_PORT);
    m_hLandscapePreview = item(IDC_BTN_PREVIEW_LAND);
}

void CZQColorTab::VRefreshPage(PageContext* pContext, int iMode) {
    if (iMode == 0)
        VInitControls(pContext);
    else if (iMode == 2)
        VApplySettings(pContext);
}

// ---------------------------------------------------------------------------------------------
// Its own messages
// ---------------------------------------------------------------------------------------------
INT_PTR CZQColorTab::IOnMessage(HWND hDlg, UINT uMsg, WPARAM, LPARAM lParam, PageContext* pContext) {
    switch (uMsg) {
        case WM_PAINT: VOnPaint(hDlg, pContext); return 0;
        case WM_DRAWITEM: return IOnDrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam), pContext);
        default: return FALSE;  // WM_ERASEBKGND: the dialog's own
    }
}

// ---------------------------------------------------------------------------------------------
// The start of the page's window
// ---------------------------------------------------------------------------------------------
BOOL CZQColorTab::BInitDialog(HWND hDlg, PageContext* pContext) {
    const POEMCUIPPARAM param = m_pCUIParam;
    CZQUILogic* logic = pContext->pLogic;
    if (!param || !BAllocPageBlock()) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    ZQUIDevmode* work = WorkOf(pContext);
    if (!param->pOEMDM || !work) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    m_pPublicDM = param->pPublicDM;
    VShowPrinterServices();
    VGetControlHandles(hDlg);
    VSaveControlRects();
    ZQSheetState& sheet = *logic->SheetState();
    if (!sheet.bTitleDone && logic->BAppendVersionToTitle(hDlg)) sheet.bTitleDone = TRUE;

    VFillFeatureControls(pContext);
    VFillCartridgeCombo(pContext);
    DWFillEmulationCombo(pContext);
    VShowColorSpaceChoices(pContext);
    if (!(logic->BIsLargeFormat() && PostScript(pContext))) {
        if (Readable(param, zqkw::kZQSimplifiedUI)) {
            VLayoutSimplified(pContext);
        } else {
            VReadGrayscaleOptions(pContext);
            VLayoutGrayscaleGroup(pContext);
            VLayoutSepiaCheck(pContext);
            VLayoutWithoutInks(pContext);
        }
    }
    VRefreshPage(pContext, 0);
    VUpdateSepiaForColorSpace(pContext);
    VEnableLqjProfiles(pContext);
    VInitPrintPreviewCheck(pContext);
    if (Checked(m_hGrayscale)) {
        SetCheck(m_hPrintInColor, false);
        SetCheck(m_hSepia, false);
        work->dwSepia = 0;
        DWSelectSepia(pContext, FALSE);
    }
    VApplyGrayscaleLocks();
    VSubclassPreviewDimensions(param, hDlg, param->hPrinter);
    VSubclassPreviewDocSize(param, hDlg, param->hPrinter);
    logic->VUpdateRollPreview(pContext->pPreview, pContext->pRules);
    SetWindowLongPtrW(hDlg, DWLP_USER, reinterpret_cast<LONG_PTR>(pContext));
    VRunBorderlessRule(pContext);
    VSetControlTexts(pContext);
    // The Task Presets group of the large-format PostScript template.
    if (pContext->pQuickSets && m_hPresetCombo) {
        pContext->pQuickSets->VInitControls(hDlg, nullptr, &m_hPresetCombo, &m_hPresetSave, &m_hPresetDelete);
        pContext->pQuickSets->VRefreshCombo(m_hPresetCombo, m_hPresetSave, m_hPresetDelete);
    }
    VShowProfileFile(pContext);
    VFitColorOptionsFrame();
    BCreateAlertStrip(hDlg, pContext);
    // The factory-defaults button belongs to the printers that offer factory defaults.
    if (m_hFactoryDefaults && !Readable(param, L"ZQFactoryDefaults")) Hide(m_hFactoryDefaults);
    VFillPreviewSettings(pContext);
    return TRUE;
}

void CZQColorTab::VShowPrinterServices() {
    if (!m_hPrinterServices) return;
    CZQCommon::BHasToolboxPath(HPrinter()) ? ShowEnabled(m_hPrinterServices) : Hide(m_hPrinterServices);
}

// Borderless photos print with every ink: without the grey-ink choice, black-only greyscale goes.
void CZQColorTab::VRunBorderlessRule(PageContext* pContext) {
    WCHAR borderless[256], gray[256];
    if (ReadOption(m_pCUIParam, zqkw::kZQBorderLessPhoto, borderless) && ZQEqualNoCase(borderless, L"TRUE") &&
        ReadOption(m_pCUIParam, zqkw::kZQPrintInGrayScale, gray) && !ZQEqualNoCase(gray, L"GrayInkOnly"))
        VRemoveBlackChoices(pContext);
}

void CZQColorTab::VOnDestroy() {
    m_alerts.VDetach();
    m_controls.VForget();
    // The page object outlives its window: other pages may still call it.
    VGetControlHandles(nullptr);
}

// ---------------------------------------------------------------------------------------------
// Painting
// ---------------------------------------------------------------------------------------------
void CZQColorTab::VOnPaint(HWND hDlg, PageContext* pContext) {
    VPaintLogo(hDlg, IDB_ZQLOGO, IDB_ZQLOGO_MASK, IDC_ZQLOGO_HOLDER);
    if (!pContext->pPreview) return;
    VFillPreviewSettings(pContext);
    pContext->pPreview->VSetSettings(&m_preview);
    pContext->pPreview->VPaint();
}

INT_PTR CZQColorTab::IOnDrawItem(const DRAWITEMSTRUCT* pDraw, PageContext* pContext) {
    if (!pDraw) return FALSE;
    if (pDraw->CtlID == IDC_BTN_PREVIEW_LAND || pDraw->CtlID == IDC_BTN_PREVIEW_PORT) {
        VRepaintPreview(TRUE);
        if (m_hDimensions) InvalidateRect(m_hDimensions, nullptr, FALSE);
    }
    if (pDraw->hwndItem && pDraw->hwndItem == m_hInputColorSpace)
        return pContext->pLogic->IDrawFeatureComboItem(0, zqkw::kZQInputColorSpace, pDraw, m_hInputColorSpace);
    return FALSE;
}

void CZQColorTab::VRepaintPreview(BOOL bErase) const {
    if (!m_hPage || !m_hPortraitPreview || !m_hLandscapePreview) return;
    RECT area;
    CZQPreview::VGetRepaintRect(m_hPage, IDC_BTN_PREVIEW_PORT, IDC_BTN_PREVIEW_LAND, &area);
    InvalidateRect(m_hPage, &area, bErase);
}

// Large-format printers label the sample page with its paper, and a custom paper with the
// document's size.
void CZQColorTab::VShowPaperLabels(PageContext* pContext) {
    const ZQUIDevmode* work = WorkOf(pContext);
    if (!work || !pContext->pLogic->BIsLargeFormat()) return;
    VSetPreviewPaperText(work, pContext->pCaps, m_hDimensions, 0);
    if (work->dwPrintDocOn == 1) {
        ShowEnabled(m_hDocSize);
        VSetPreviewDocSizeText(work, pContext->pCaps, m_hDocSize);
    } else {
        Hide(m_hDocSize);
    }
}

// ---------------------------------------------------------------------------------------------
// The sheet's notifications
// ---------------------------------------------------------------------------------------------
LRESULT CZQColorTab::IOnNotify(HWND hDlg, const NMHDR* pHeader, PageContext* pContext) {
    switch (pHeader->code) {
        case PSN_SETACTIVE: VOnSetActive(hDlg, pContext); return 0;
        case PSN_KILLACTIVE: VRefreshPage(pContext, 2); return FALSE;
        case PSN_APPLY:
            VNoteCartridgeChange(pContext);
            return ApplyPage(pContext, kPageColor);
        case PSN_RESET: SendMessageW(GetParent(hDlg), PSM_UNCHANGED, reinterpret_cast<WPARAM>(hDlg), 0); return 0;
        default: return 0;
    }
}

void CZQColorTab::VOnSetActive(HWND hDlg, PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode* work = WorkOf(pContext);
    VShowPrinterServices();
    VShowColorSpaceChoices(pContext);
    VFillCartridgeCombo(pContext);
    if (m_hGrayscaleList) {
        const int bound = logic.IBindFeatureControl(0, zqkw::kZQPrintInGrayScale, m_hGrayscaleList, nullptr, kDoc,
                                                    CZQUILogic::kBindFill, FALSE, 0, nullptr);
        Bound(bound) ? ShowEnabled(m_hGrayscaleList, !m_bGrayscaleLocked) : Hide(m_hGrayscaleList);
    }
    VRefreshPage(pContext, 0);
    VUpdateSepiaForColorSpace(pContext);
    VEnableLqjProfiles(pContext);
    VInitPrintPreviewCheck(pContext);
    if (Checked(m_hGrayscale)) {
        SetCheck(m_hPrintInColor, false);
        SetCheck(m_hSepia, false);
        work->dwSepia = 0;
        if (m_hGrayscaleList)
            logic.IBindFeatureControl(0, zqkw::kZQPrintInGrayScale, m_hGrayscaleList, nullptr, kDoc,
                                      CZQUILogic::kBindApply, FALSE, 0, nullptr);
        DWSelectSepia(pContext, FALSE);
        BEnableUnlessLocked(m_hGrayscaleList, true);
    } else if (m_hGrayscaleList) {
        EnableWindow(m_hGrayscaleList, FALSE);
    }
    // The highest page shown, and the covers the Paper/Quality page chose.
    VNoteShown(pContext, kPageColor);
    if (logic.BIsLargeFormat()) VFillPreviewSettings(pContext);
    VShowPaperLabels(pContext);
    VRepaintPreview(FALSE);
    VRunBorderlessRule(pContext);
    if (Checked(m_hSepia)) ShowEnabled(m_hAdvanced, FALSE);
    if (pContext->pConstraints && m_hGrayscaleList)
        pContext->pConstraints->BAttachConstraintDialog(zqkw::kZQPrintInGrayScale, hDlg, IDC_CBO_GRAYSCALE);
    if (pContext->pQuickSets && m_hPresetCombo)
        pContext->pQuickSets->VRefreshCombo(m_hPresetCombo, m_hPresetSave, m_hPresetDelete);
}

// ---------------------------------------------------------------------------------------------
// The user's commands
// ---------------------------------------------------------------------------------------------
INT_PTR CZQColorTab::IOnCommand(HWND hDlg, int iCtrlId, int iCode, HWND hCtrl, PageContext* pContext) {
    if (iCtrlId == IDC_CBO_PRESET || iCtrlId == IDC_BTN_SAVE_PRESET || iCtrlId == IDC_BTN_DELETE_PRESET) {
        VOnPresetCommand(hDlg, iCtrlId, iCode, pContext);
        return FALSE;
    }
    switch (iCode) {
        case BN_CLICKED: return IOnClick(hDlg, iCtrlId, pContext);
        case CBN_SELCHANGE: VOnListChange(hDlg, iCtrlId, pContext); return FALSE;
        case CBN_DROPDOWN:
            if (iCtrlId == IDC_CBO_CMYK || iCtrlId == IDC_CBO_NEUTRAL_GRAYS || iCtrlId == IDC_CBO_EMULATEPRINTER)
                VFitComboDropWidth(hCtrl);
            return FALSE;
        default: return FALSE;
    }
}

INT_PTR CZQColorTab::IOnClick(HWND hDlg, int iCtrlId, PageContext* pContext) {
    ZQUIDevmode& work = *WorkOf(pContext);
    switch (iCtrlId) {
        case IDC_PREVIEW_DIMENSIONS: VOnUnitClick(pContext, false); return FALSE;
        case IDC_PREVIEW_DOCSIZE: VOnUnitClick(pContext, true); return FALSE;
        case IDC_BTN_HELP: ShowHelpButtonTopic(m_hHelp, m_pCUIParam); return FALSE;
        case IDC_BTN_PRINTER_SERVICES: return BLaunchToolbox(this, 0);
        case IDC_BTN_FACTORY_DEFAULTS: VOnFactoryDefaults(hDlg, pContext); return FALSE;
        case IDC_ALERT_REFRESH: RefreshDeviceStatus(pContext); return FALSE;
        // The dialog runs the change check itself, after OK only.
        case IDC_BTN_ADV_COLOR_SETTING: VOnAdvancedSettings(hDlg, pContext); return FALSE;
        default: break;
    }
    // Every other click may change the page's settings: the sheet hears whether they differ.
    switch (iCtrlId) {
        case IDC_BTN_PREVIEW_LAND:
        case IDC_BTN_PREVIEW_PORT: VOnPreviewClick(pContext); break;
        case IDC_RB_AUTO:
            work.dwChromixAuto = 1;
            VResetColorListsToDefaults(pContext);
            break;
        case IDC_RB_MANUAL: work.dwChromixAuto = 0; break;
        case IDC_BUT_OPT:
            VOpenColorSettingsSheet(hDlg, pContext);
            VApplyChromixItems(pContext);
            break;
        case IDC_RB_MONO: VOnGrayscaleChosen(pContext, hDlg); break;
        case IDC_RB_COLOR: VOnPrintInColorChosen(pContext, hDlg); break;
        case IDC_CHK_GRAYSCALE:
            if (Checked(m_hGrayscale)) {
                VOnGrayscaleChosen(pContext, hDlg);
                DWORD cancelled = 0;
                if (pContext->pConstraints) pContext->pConstraints->BCheckConstraint(zqkw::kMediaType, hDlg, &cancelled);
            } else {
                VOnPrintInColorChosen(pContext, hDlg);
            }
            break;
        case IDC_RB_PRINTINCOLOR: VOnPrintInColorRadio(pContext); break;
        case IDC_CHK_PRINTINSEPIA: VOnSepiaCheck(pContext); break;
        case IDC_RB_HIGHQUALITY:
        case IDC_RB_BLACKONLY:
        case IDC_RB_PHOTOCOPY: DWSelectGrayscaleByCaption(pContext, GetDlgItem(hDlg, iCtrlId)); break;
        case IDC_RB_APP_MANAGED_COLORS:
        case IDC_RB_INPUTPROFILES:
            VOnLqjColorMgmtRadio(pContext);
            VEnableLqjProfiles(pContext);
            break;
        case IDC_RB_APPLN_MANAGED_SUI:
        case IDC_RB_PRINTER_MANAGED: VOnColorMgmtRadio(pContext, iCtrlId == IDC_RB_APPLN_MANAGED_SUI); break;
        case IDC_CHK_PANTONE: work.dwPantoneEmulation = Checked(m_hPantone) ? 1 : 0; break;
        case IDC_CHK_BLACK_POINT: work.dwBlackPointComp = Checked(m_hBlackPoint) ? 1 : 0; break;
        case IDC_CHK_SHOW_PREVIEW_FIN:
            CZQCommon::DWSelectOptionByIndex(m_pCUIParam, zqkw::kZQPrintPreview, Checked(m_hShowPreview) ? 1 : 0, kDoc);
            break;
        default: return FALSE;
    }
    // Greyscale or colour, however chosen, decides the profile shown.
    VShowProfileFile(pContext);
    BCheckPageChanged(hDlg, pContext);
    return FALSE;
}

void CZQColorTab::VOnPreviewClick(PageContext* pContext) {
    const POEMCUIPPARAM param = m_pCUIParam;
    const ZQUIDevmode& work = *WorkOf(pContext);
    // The document turns; under PostScript the orientation feature follows, and the helper file's
    // stapling rules run with the new orientation.
    SwitchOrientation(pContext, param, work.wOrientation != 2);
    VShowPaperLabels(pContext);
    if (m_hDimensions) InvalidateRect(m_hDimensions, nullptr, FALSE);
    VRepaintPreview(TRUE);
    SetFocus(GetDlgItem(m_hPage, ShownPreviewId(work)));
}

void CZQColorTab::VOnUnitClick(PageContext* pContext, bool bDocSize) {
    FlipPreviewUnit(*this, *WorkOf(pContext), pContext->pCaps, m_hDimensions, m_hDocSize, bDocSize);
}

void CZQColorTab::VOnPrintInColorRadio(PageContext* pContext) {
    if (!Checked(m_hPrintInColor)) return;
    ZQUIDevmode& work = *WorkOf(pContext);
    CZQCommon::DWSelectOptionByIndex(m_pCUIParam, zqkw::kZQPrintInGrayScale, 0, kDoc);
    work.dwPrintAsGray = 0;
    work.dwSepia = 0;
    DWSelectSepia(pContext, FALSE);
    SetCheck(m_hGrayscale, false);
    SetCheck(m_hSepia, false);
    if (m_hGrayscaleList) EnableWindow(m_hGrayscaleList, FALSE);
    if (IsVisible(m_hAdvanced)) EnableWindow(m_hAdvanced, TRUE);
    VRepaintPreview(FALSE);
}

void CZQColorTab::VOnSepiaCheck(PageContext* pContext) {
    const POEMCUIPPARAM param = m_pCUIParam;
    ZQUIDevmode& work = *WorkOf(pContext);
    if (Checked(m_hSepia)) {
        work.dwSepia = 1;
        work.dwPrintAsGray = 0;
        SetCheck(m_hGrayscale, false);
        SetCheck(m_hPrintInColor, false);
        for (HWND control : {m_hColorSettings, m_hGrayscaleList})
            if (control) EnableWindow(control, FALSE);
        DWSelectSepia(pContext, TRUE);
        // Sepia is made from the printer's own colours: an application's colour space gives way.
        WCHAR space[256];
        if (ReadOption(param, zqkw::kZQInputColorSpace, space) &&
            (ZQEqualNoCase(space, L"MANAGEDBYAPPLN") || ZQEqualNoCase(space, L"ADOBERGB"))) {
            CZQCommon::DWSelectOptionByIndex(param, zqkw::kZQInputColorSpace, 0, kDoc);
            if (m_hInputColorSpace)
                pContext->pLogic->IBindFeatureControl(0, zqkw::kZQInputColorSpace, m_hInputColorSpace, nullptr, kDoc,
                                                      CZQUILogic::kBindShow, FALSE, 0, nullptr);
        }
    } else {
        work.dwSepia = 0;
        if (m_hColorSettings) EnableWindow(m_hColorSettings, TRUE);
        DWSelectSepia(pContext, FALSE);
    }
    VUpdateGrayscaleChoices(pContext);
    VSyncGrayscaleRadios(pContext);
    VOnColorSpaceChanged(pContext);
    VRepaintPreview(FALSE);
}

void CZQColorTab::VOnListChange(HWND hDlg, int iCtrlId, PageContext* pContext) {
    for (const BoundList& list : kBoundLists) {
        if (list.id != iCtrlId) continue;
        pContext->pLogic->IBindFeatureControl(0, list.feature, GetDlgItem(m_hPage, iCtrlId), nullptr, kDoc,
                                              CZQUILogic::kBindApply, FALSE, 0, nullptr);
        if (iCtrlId == IDC_INPUT_COLORSPACE) VOnColorSpaceChange(pContext);
        if (iCtrlId == IDC_CBO_INTENT || iCtrlId == IDC_CBO_EMULATEPRINTER) VEnableLqjProfiles(pContext);
        // The installed cartridges decide the profile.
        if (iCtrlId == IDC_CBO_PRINT_CART) VShowProfileFile(pContext);
        BCheckPageChanged(hDlg, pContext);
        return;
    }
}

// The colour space's own rules once its choice is applied: its macros, and under PCL 3 the paper and
// the advanced colour values it rules out.
void CZQColorTab::VOnColorSpaceChange(PageContext* pContext) {
    const POEMCUIPPARAM param = m_pCUIParam;
    WCHAR space[256];
    if (!ReadOption(param, zqkw::kZQInputColorSpace, space)) return;
    pContext->pLogic->BRunFeatureMacros(zqkw::kZQInputColorSpace, pContext->pRules);
    DWUpdateColorSpaceControls(pContext);
    VOnColorSpaceChanged(pContext);
    VUpdateSepiaForColorSpace(pContext);
    const ZQUIDevmode* live = CoreOf(param);
    if (ReadOption(param, zqkw::kZQInputColorSpace, space) && live && live->dwPdl == zqdm::kPdlPcl3)
        VApplyColorSpaceToPcl3(pContext, space);
    VShowProfileName(pContext);
    pContext->pLogic->VApplyIntentToDevmode(m_pPublicDM);
    VRepaintPreview(FALSE);
}

// Under PCL 3 an application's or the system's colour matching prints on plain paper, and the
// printer's own colour corrections step aside.
void CZQColorTab::VApplyColorSpaceToPcl3(PageContext* pContext, PCWSTR pszSpace) {
    const POEMCUIPPARAM param = m_pCUIParam;
    ZQUIDevmode& work = *WorkOf(pContext);
    const PCWSTR space = pszSpace;
    const bool managed = ZQEqualNoCase(space, L"MANAGEDBYAPPLN") || ZQEqualNoCase(space, L"ICM");
    const bool adobe = ZQEqualNoCase(space, L"ADOBERGB");
    if (managed) {
        if (OptionIs(param, zqkw::kMediaType, L"AUTOMATIC") == 1)
            CZQCommon::DWSelectOptionByKeyword(param, zqkw::kMediaType, zqkw::kPlainMedia, kDoc);
        const PrinterCaps* caps = ZQPrinterCapsLists(pContext->pCaps, kCapsMedia);
        if (POPTITEM media = PubItem(param, DMPUB_MEDIATYPE); media && caps && caps->pMediaIds && media->Sel >= 0 &&
                                                              static_cast<DWORD>(media->Sel) < caps->dwMediaCount)
            work.dwOtherPagesMedia = caps->pMediaIds[media->Sel];
    }
    if (adobe) VClearAdvancedValues(pContext);
    if (managed || adobe) CZQCommon::DWSelectOptionByIndex(param, zqkw::kZQPhotoFix, 0, kDoc);
}

void CZQColorTab::VOnPresetCommand(HWND hDlg, int iCtrlId, int iCode, PageContext* pContext) {
    CZQQuickSets* quickSets = pContext->pQuickSets;
    if (!quickSets) return;
    if (iCtrlId == IDC_CBO_PRESET && iCode == CBN_SELCHANGE) {
        quickSets->VApplyComboSelection(hDlg, m_hPresetCombo, m_hPresetSave, m_hPresetDelete);
        VRefreshPage(pContext, 0);
        VRepaintPreview(TRUE);
    } else if (iCtrlId == IDC_CBO_PRESET && iCode == CBN_EDITCHANGE) {
        quickSets->VOnNameEdited(m_hPresetCombo, m_hPresetSave, m_hPresetDelete);
    } else if (iCtrlId == IDC_BTN_SAVE_PRESET && iCode == BN_CLICKED) {
        WCHAR name[CZQQuickSets::kNameChars] = {};
        GetWindowTextW(m_hPresetCombo, name, CZQQuickSets::kNameChars);
        CZQNameDlg nameDialog(zqmodule::Instance());
        quickSets->VSaveCurrent(hDlg, name, m_hPresetSave, m_hPresetDelete, WorkOf(pContext),
                                pContext->pLogic->SheetState()->bRtl, &nameDialog);
        BSayStoreOutcome(hDlg, quickSets->PszCaption(),
                         {ZQStoreKind::kTaskPresets, false, quickSets->ELastOutcome(), {name}});
        quickSets->VRefreshCombo(m_hPresetCombo, m_hPresetSave, m_hPresetDelete);
    } else if (iCtrlId == IDC_BTN_DELETE_PRESET && iCode == BN_CLICKED) {
        std::wstring deleted;
        quickSets->VDeleteSelected(hDlg, m_hPresetCombo, m_hPresetSave, m_hPresetDelete, &deleted);
        BSayStoreOutcome(hDlg, quickSets->PszCaption(),
                         {ZQStoreKind::kTaskPresets, true, quickSets->ELastOutcome(), {deleted}});
    }
}

// ---------------------------------------------------------------------------------------------
// Factory defaults
// ---------------------------------------------------------------------------------------------
void CZQColorTab::VOnFactoryDefaults(HWND hDlg, PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    const POEMCUIPPARAM param = m_pCUIParam;
    if (logic.IConfirmBox(5157, 5162, 5163, MB_OKCANCEL, m_hFactoryDefaults) == IDOK) {
        if (m_hGrayscaleList) EnableWindow(m_hGrayscaleList, FALSE);
        PageContext* paperContext = nullptr;
        auto* paper = ZQSheetPage<IZQPaperQualityPage>(pContext, kPagePaperQuality, &paperContext);
        if (CZQQuickSets* quickSets = pContext->pQuickSets) {
            // The media macros settle what the factory quick set chose; the last pass keeps its choice.
            for (int pass = 0; pass < 2; ++pass) {
                quickSets->VApplyComboSelection(hDlg, m_hPresetCombo, m_hPresetSave, m_hPresetDelete);
                if (CZQXmlUiRules* rules = logic.PLoadedRules(pContext->pRules)) rules->VRunMediaTypeMacros(param);
            }
            quickSets->VApplyComboSelection(hDlg, m_hPresetCombo, m_hPresetSave, m_hPresetDelete);
        }
        logic.m_bPageFlag = FALSE;
        VInitControls(pContext);
        if (paper && paperContext) paper->VRefreshCoverControls(paperContext);
        PageContext* finishingContext = nullptr;
        if (auto* finishing = ZQSheetPage<IZQFinishingPage>(pContext, kPageFinishing, &finishingContext);
            finishing && finishingContext)
            finishing->VSetAllControls(finishingContext);
        DWUpdateColorSpaceControls(pContext);
        VOnColorSpaceChanged(pContext);
        VUpdateSepiaForColorSpace(pContext);
        VEnableLqjProfiles(pContext);
        VShowPaperLabels(pContext);
        logic.VUpdateRollPreview(pContext->pPreview, pContext->pRules);
        ZQUIDevmode* work = WorkOf(pContext);
        const ZQUIDevmode* live = CoreOf(param);
        if (live && live->dwQuickSetInUse && pContext->pQuickSets && pContext->pQuickSets->BSettingsDiffer(*work))
            work->dwPendingChange = 1;
        if (!CZQCommon::BIsLocalPrinter(HPrinter()))
            CZQCommon::DWSelectOptionByKeyword(param, zqkw::kZQPrintPreview, L"False", kDoc);
        if (m_hGrayscaleList) {
            if (POPTITEM item = FeatureItem(param, zqkw::kZQPrintInGrayScale)) {
                ShowWindow(m_hGrayscaleList, SW_SHOW);
                SendMessageW(m_hGrayscaleList, CB_RESETCONTENT, 0, 0);
                const int count = CZQCommon::IGetOptionCount(item);
                for (int i = 0; i < count; ++i) {
                    PCWSTR name = OptionName(item, i);
                    if (name && !(OptionFlags(item, i) & OPTPF_HIDE))
                        SendMessageW(m_hGrayscaleList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
                }
                SendMessageW(m_hGrayscaleList, CB_SETCURSEL, static_cast<WPARAM>(count - 2), 0);
                WCHAR shown[256];
                const bool choice = SelectedText(m_hGrayscaleList, shown) &&
                                    (wcscmp(shown, L"BlackOnly") == 0 || wcscmp(shown, L"HighQuality") == 0);
                EnableWindow(m_hGrayscaleList, choice && !m_bGrayscaleLocked);
            } else {
                Hide(m_hGrayscaleList);
            }
        }
        VRepaintPreview(FALSE);
    }
    RefreshDeviceStatus(pContext);
}
