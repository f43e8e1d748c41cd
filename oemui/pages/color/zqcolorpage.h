// CZQColorTab: the Colour page of the document sheet, where the user prints in colour or greyscale
// (and chooses how greyscale is made), prints in sepia and lets colour matching run automatically
// or by hand. One object per binding; the page procedure finds it through the page's PageContext,
// kept as the window's DWLP_USER data. The procedure serves the page's three templates (ordinary,
// simplified large-format, large-format PostScript): it takes the window of every control any of
// them has, and a control the loaded template lacks has none, so every call on it does nothing.
//
// CZQColorCompanion: a holder the sheet builder makes, binds (with a context block of its own) and
// deletes beside the page object; nothing else uses it.
#pragma once

#include "featurelogic/zqcoloroptions.h"
#include "pages/color/zqadvcolordlg.h"
#include "pages/zqpagealerts.h"
#include "pages/zqpagebase.h"
#include "pages/zqpagecontrols.h"
#include "pages/zqpages.h"
#include "preview/zqpreviewsettings.h"

class CZQColorTab : public CZQPageBase {
public:
    // The page's title string, which the apply leaves in the devmode as the page to open on.
    static constexpr int kTitleId = 798;
    // Room of the context-help table, in pairs with the (0, 0) end.
    static constexpr int kHelpPairs = 62;

    CZQColorTab();
    ~CZQColorTab() override;
    CZQColorTab(const CZQColorTab&) = delete;
    CZQColorTab& operator=(const CZQColorTab&) = delete;

    // ---- the page's window and its refresh
    void VGetControlHandles(HWND hDlg);
    // Mode 0 sets every control from the settings, mode 2 writes the page's choices into the core
    // driver's items; other modes do nothing.
    void VRefreshPage(PageContext* pContext, int iMode);
    // Every list of the colour settings at its default entry.
    void VResetColorListsToDefaults(PageContext* pContext);
    // The "Color Settings" sheet over the page, then the automatic radio when every list is at its
    // default, the manual one otherwise.
    void VOpenColorSettingsSheet(HWND hDlg, PageContext* pContext);

    // ---- greyscale, sepia and colour matching
    void VInitControls(PageContext* pContext);
    void VApplySettings(PageContext* pContext);
    // The administrator's locks of "PrintColorAsGray" and "ColorMode": the greyscale controls stay
    // disabled for the page's life.
    void VApplyGrayscaleLocks();
    void VSyncGrayscaleRadios(PageContext* pContext);
    // Selects the first greyscale option whose display name begins with the radio's text (and
    // remembers its index, -1 when none); the selection's ZQOPT_* status.
    DWORD DWSelectGrayscaleByCaption(PageContext* pContext, HWND hRadio);
    void VUpdateGrayscaleChoices(PageContext* pContext);
    // Black Only and Photo Copy out of the greyscale list (borderless photos print with every ink).
    void VRemoveBlackChoices(PageContext* pContext);
    // "PrintQualityGroup" follows the greyscale option both mark as conflicting; last error 13
    // without either item or the devmode.
    void VMatchPrintQualityToGrayscale(PageContext* pContext);
    void VOnGrayscaleChosen(PageContext* pContext, HWND hDlg);
    void VOnPrintInColorChosen(PageContext* pContext, HWND hDlg);
    DWORD DWSelectSepia(PageContext* pContext, BOOL bOn);
    void VUpdateForSepia(PageContext* pContext);
    void VApplyChromixItems(PageContext* pContext);
    void VApplyChromixListItem(PageContext* pContext, PCWSTR pszItem, PCWSTR pszList, const ZQColorOptionNode* pList);
    BOOL BColorListChanged(PageContext* pContext);
    void VSaveInkChoice(PageContext* pContext);

    // ---- colour space, colour management, intent, cartridges and emulation
    // The bound lists filled; their controls shown or hidden by the features' presence.
    void VFillFeatureControls(PageContext* pContext);
    // The intent, cartridge and profile controls of the "ICM" space, the emulation controls of
    // "PRINTEREMULATION" under the plotter language; the colour space's ZQOPT_* status.
    DWORD DWUpdateColorSpaceControls(PageContext* pContext);
    void VOnColorSpaceChanged(PageContext* pContext);
    void VUpdateSepiaForColorSpace(PageContext* pContext);
    // The colour matching into the public devmode; the profile's file name shown.
    void VShowProfileName(PageContext* pContext);
    // The simplified large-format page's colour spaces: the printer's own, or "None" when the
    // application manages colour.
    void VFillColorSpaceCombo(PageContext* pContext, BOOL bApplicationManaged);
    void VInitLqjColorMgmt(PageContext* pContext);
    void VEnableLqjProfiles(PageContext* pContext);
    void VOnLqjColorMgmtRadio(PageContext* pContext);
    void VFillCartridgeCombo(PageContext* pContext);
    // The printer's emulations without the dummy option, the first chosen; the selection's status.
    DWORD DWFillEmulationCombo(PageContext* pContext);
    // A printer-data DWORD written unless it already reads 1 (255 characters of name at most).
    static void VSetPrinterDataFlag(PCWSTR pszName, DWORD dwValue, HANDLE hPrinter);

    // ---- layout, sample page, print preview and alerts
    // The template's rectangles of the controls the layouts move, once per window before any move.
    void VSaveControlRects();
    // The greyscale feature's options, as the layouts see them, read again.
    void VReadGrayscaleOptions(PageContext* pContext);
    void VLayoutGrayscaleGroup(PageContext* pContext);
    void VLayoutGrayscaleChoices(PageContext* pContext, float fTop);
    // The neutral-greys pair below the greyscale box; the item search's ZQOPT_* status.
    DWORD DWLayoutNeutralGrays(PageContext* pContext, float fTop);
    void VLayoutSepiaCheck(PageContext* pContext);
    // The colour-space group in the inks group's place when the printer has no ink choice.
    void VLayoutWithoutInks(PageContext* pContext);
    // The simplified page's colour-management stack, factory-defaults and printer-services buttons.
    void VLayoutSimplified(PageContext* pContext);
    // Once the page shows what the printer has: where the colour-management stack laid below starts
    // inside the simplified page's colour-options frame, the frame ends under its last option shown.
    void VFitColorOptionsFrame();
    void VFillPreviewSettings(PageContext* pContext);
    void VInitPrintPreviewCheck(PageContext* pContext);
    // The alert window in the placeholder's place and the refresh button, when alerts are on;
    // TRUE when the window was made.
    BOOL BCreateAlertStrip(HWND hDlg, PageContext* pContext);

    // ---- texts, context help and the change check
    // Every control's text in the user's language (the greyscale radios as the driver names its
    // options); last error 13 without the working settings.
    void VSetControlTexts(PageContext* pContext);
    // The (control, help topic) pairs into a table of kHelpPairs pairs; untouched, with last error
    // 13, without the working settings.
    void VGetHelpIds(DWORD* pdwTable, PageContext* pContext);
    // Whether the page differs from the settings the sheet opened with, told to the sheet (the
    // quick set's change first, then the page's own); the quick set marked as modified when the
    // sheet runs one. FALSE, with last error 13 and nothing sent, without the settings.
    BOOL BCheckPageChanged(HWND hPage, PageContext* pContext);

    // ---- for the tests
    CZQAdvColorDlg& AdvColorForTesting() { return m_advColor; }
    BOOL BGrayscaleLockedForTesting() const { return m_bGrayscaleLocked; }
    int IGrayscaleChoiceForTesting() const { return m_iGrayscaleChoice; }
    // A moved control's template rectangle as the page recorded it (empty for another control).
    RECT RecordedRectForTesting(int iCtrlId) const {
        const CZQPageControls::ControlRect* r = m_controls.Recorded(iCtrlId);
        return r ? RECT{r->rc.left, r->rc.top, r->rc.left + r->cx, r->rc.top + r->cy} : RECT{};
    }
    const PreviewSettings& PreviewForTesting() const { return m_preview; }

private:
    friend class ZQPageShell;

    // ---- the page procedure's work (the context is the page's PageContext)
    static constexpr bool kPreviewCursor = true;
    CZQPageAlerts* Alerts() { return &m_alerts; }
    BOOL BInitDialog(HWND hDlg, PageContext* pContext);
    // Painting and owner drawing.
    INT_PTR IOnMessage(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam, PageContext* pContext);
    void VOnPaint(HWND hDlg, PageContext* pContext);
    INT_PTR IOnDrawItem(const DRAWITEMSTRUCT* pDraw, PageContext* pContext);
    LRESULT IOnNotify(HWND hDlg, const NMHDR* pHeader, PageContext* pContext);
    INT_PTR IOnCommand(HWND hDlg, int iCtrlId, int iCode, HWND hCtrl, PageContext* pContext);
    void VOnDestroy();

    // ---- the reactions of those messages
    void VOnSetActive(HWND hDlg, PageContext* pContext);
    INT_PTR IOnClick(HWND hDlg, int iCtrlId, PageContext* pContext);
    void VOnListChange(HWND hDlg, int iCtrlId, PageContext* pContext);
    void VOnColorSpaceChange(PageContext* pContext);
    void VApplyColorSpaceToPcl3(PageContext* pContext, PCWSTR pszSpace);
    // The simplified large-format page's application-managed or printer-managed radio.
    void VOnColorMgmtRadio(PageContext* pContext, bool bApplicationManaged);
    void VOnPreviewClick(PageContext* pContext);
    void VOnUnitClick(PageContext* pContext, bool bDocSize);
    void VOnPrintInColorRadio(PageContext* pContext);
    void VOnSepiaCheck(PageContext* pContext);
    void VOnFactoryDefaults(HWND hDlg, PageContext* pContext);
    void VOnPresetCommand(HWND hDlg, int iCtrlId, int iCode, PageContext* pContext);
    void VOnHelp(HWND hWnd, UINT uCommand, PageContext* pContext);
    // The Advanced Color Settings dialog; on OK the colour space's controls and the change check.
    void VOnAdvancedSettings(HWND hDlg, PageContext* pContext);
    // The rows' texts, on shown controls only when asked.
    void VSetTextRows(const CZQPageControls::TextRow* pRows, int cRows, bool bShownOnly);

    // ---- steps the reactions share
    // "ZQPrintInGrayScale", or its JCL twin under PostScript.
    static PCWSTR PszGrayscaleFeature(const PageContext* pContext);
    bool BEnableUnlessLocked(HWND hCtrl, bool bEnable) const;
    void VShowPrinterServices();
    void VRunBorderlessRule(PageContext* pContext);
    void VShowPaperLabels(PageContext* pContext);
    void VClearAdvancedValues(PageContext* pContext);
    void VSettleGrayscale(PageContext* pContext);
    void VRepaintPreview(BOOL bErase) const;
    // The colour-management radios of the simplified large-format page from "ZQColorMgmtOptions";
    // the profile label too at the page's start.
    void VShowColorMgmtRadios(PageContext* pContext, bool bProfileLabel);
    // What the colour space shows, and its colour matching in the public devmode.
    void VShowColorSpaceChoices(PageContext* pContext);
    // The profile's file name into its label (empty when none is answered), for the greyscale the
    // page shows.
    void VShowProfileFile(PageContext* pContext);
    // "PrintCartrigesModified" set when the cartridges differ from the sheet's start.
    void VNoteCartridgeChange(PageContext* pContext);
    // The large-format PostScript page's colour-management panel.
    bool BLqjPanel(PageContext* pContext) const;
    // A moved control's recorded top, height, left and width (0 for a control the template lacks).
    float FTop(int iCtrlId) const;
    float FHeight(int iCtrlId) const;
    int ILeft(int iCtrlId) const;
    int IWidth(int iCtrlId) const;
    // The bound control's binder action (result 2 without the control).
    int IBind(PageContext* pContext, PCWSTR pszFeature, HWND hCtrl, int iAction, int iOldValue = 0);

    // ---- fields
    // The page window.
    HWND m_hPage = nullptr;
    // The colour and greyscale choices, their groups and the page's buttons.
    HWND m_hAuto = nullptr, m_hManual = nullptr, m_hColorSettings = nullptr, m_hGrayscale = nullptr,
         m_hHighQuality = nullptr, m_hBlackOnly = nullptr, m_hPhotoCopy = nullptr, m_hHelp = nullptr,
         m_hChromixGroup = nullptr, m_hInksGroup = nullptr, m_hCmykInks = nullptr, m_hSepia = nullptr,
         m_hGrayscaleList = nullptr, m_hColorManagementLabel = nullptr, m_hColorOptionsGroup = nullptr,
         m_hPrintInColor = nullptr, m_hPrinterServices = nullptr, m_hFactoryDefaults = nullptr;
    // The print-preview box and the colour models' labels.
    HWND m_hShowPreview = nullptr, m_hRgbColor = nullptr, m_hRgbColorLabel = nullptr, m_hCmykColorLabel = nullptr;
    // The Task Presets group: Delete, Save, the combo.
    HWND m_hPresetDelete = nullptr, m_hPresetSave = nullptr, m_hPresetCombo = nullptr;
    // Colour management: the input colour space, emulation, intent, cartridges, profiles, the colour
    // models' lists, the sample page's label and the colour and mono pictures.
    HWND m_hInputColorSpace = nullptr, m_hColorSpaceGroup = nullptr, m_hInputSpaceLabel = nullptr,
         m_hEmulation = nullptr, m_hEmulationLabel = nullptr, m_hIntentLabel = nullptr, m_hCartridgeLabel = nullptr,
         m_hProfileLabel = nullptr, m_hIntent = nullptr, m_hCartridges = nullptr, m_hProfileName = nullptr,
         m_hAdvanced = nullptr, m_hAppManaged = nullptr, m_hInputProfiles = nullptr, m_hCmykLabel = nullptr,
         m_hRgbLabel = nullptr, m_hCmyk = nullptr, m_hRgb = nullptr, m_hBlackPoint = nullptr, m_hPantone = nullptr,
         m_hDimensions = nullptr, m_hMono = nullptr, m_hColor = nullptr, m_hNeutralGrays = nullptr,
         m_hNeutralGraysLabel = nullptr, m_hMonoIcon = nullptr, m_hColorIcon = nullptr;
    // The simplified template's colour management and the document-size label.
    HWND m_hAppManagedSui = nullptr, m_hPrinterManaged = nullptr, m_hProfileSui = nullptr, m_hDocSize = nullptr;
    // Set once the administrator locks greyscale.
    BOOL m_bGrayscaleLocked = FALSE;
    // What the layouts need of the greyscale feature's options, read once before they run (each
    // reading of the keywords walks the core driver's options).
    struct GrayscaleOptions {
        bool bReadable = false;
        int iCount = 0;
        bool bMonoOrColor = false, bHighQuality = false, bBlackOnly = false, bPhotoCopy = false;
        // The positions of "HighQuality", "BlackOnly" and "PhotoCopy" (-1: none), which name the radios.
        int aiRadioOption[3] = {-1, -1, -1};
    };
    GrayscaleOptions m_grayOptions;
    // The Advanced Color Settings dialog, opened with the page's context.
    CZQAdvColorDlg m_advColor;
    // The controls the layouts move, with their template rectangles; the alert strip.
    static const int kMovableIds[];
    static const int kMovableCount;
    CZQPageControls m_controls{kMovableIds, kMovableCount};
    CZQPageAlerts m_alerts;
    // The greyscale option the radios chose.
    int m_iGrayscaleChoice = 0;
    // The sample page's record.
    PreviewSettings m_preview = {};
};

inline constexpr auto& ColorPageDlgProc = ZQPageShell::Proc<CZQColorTab>;

class CZQColorCompanion : public CZQTabBase {
public:
    CZQColorCompanion() = default;
    ~CZQColorCompanion() override = default;
    CZQColorCompanion(const CZQColorCompanion&) = delete;
    CZQColorCompanion& operator=(const CZQColorCompanion&) = delete;

private:
    BYTE m_aabSlots[3][12] = {};
    BYTE m_abFirst[64] = {};
    BYTE m_abSecond[64] = {};
};
