// The Paper/Quality page's controls: their handles and wrappers, their texts in the user's
// language, the context-help table with the administrator's locks, and the source and media locks.
#include "common/zqstrings.h"
#include "common/zqkeywords.h"
#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"
#include "pages/paperquality/zqpaperqualitypage.h"
#include "res/zqpaperqualityids.h"
#include "settings/zqdriverdata.h"

namespace {

// Control ids, in the order of ZQPqControl.
const int kControlIds[kCtlCount] = {
    IDC_BTN_HELP,
    IDC_BTN_PREVIEW_PORT,
    IDC_BTN_PREVIEW_LAND,
    IDC_GB_MEDIA_PAPER_OPTIONS,
    IDC_CBO_MEDIA_SOURCE_IS,
    IDC_CBO_MEDIA_TYPE_IS,
    IDC_STA_MEDIA_SOURCE_IS,
    IDC_STA_MEDIA_TYPE_IS,
    IDC_LB_MEDIA_PAPER_OPTIONS,
    IDC_CHK_MEDIA_BACK_COVER,
    IDC_CHK_MEDIA_PAPER_DIFF,
    IDC_CHK_GLOSS,
    IDC_CBO_PRINT_QUALITY,
    IDC_STA_RENDER_DPI,
    IDC_COLOR_INPUT_DPI,
    IDC_COLOR_OUTPUT,
    IDC_STA_RENDER,
    IDC_COLOR_INPUT,
    IDC_COLOR_OUTPUT_DPI,
    IDC_CHK_THRIFTMODE,
    IDC_CHK_OHTINTERLEAVE,
    IDC_GB_PRINT_QUALITY,
    IDC_CHECK_BORDERLESS_PHOTO,
    IDC_CHECK_BORDERLESS_AUTOFIT,
    IDC_BTN_CUSTOM,
    IDC_STA_MEDIA_SIZE_IS,
    IDC_CBO_MEDIA_SIZE_IS,
    IDC_STA_MEDIA_SIZE_DIMENSIONS,
    IDC_IMAGE_ENHANCEMENT,
    IDC_CHK_SAVE_ROLL_PAPER,
    IDC_CHK_DISABLE_AUTO_CUTTER,
    IDC_CHK_AUTOROTATE,
    IDC_OPTIMIZE_FOR,
    IDC_RB_DRAWING_TEXT,
    IDC_RB_IMAGES,
    IDC_CHK_MAX_DETAILS,
    IDC_PREVIEW_DIMENSIONS,
    IDC_PREVIEW_DOCSIZE,
    IDC_BTN_MARGINS,
    IDC_CHK_EXTENDED_MARGINS,
    IDC_STA_ROLL_INFO,
    IDC_STA_CURRENTLY_LOADED_INFO,
    IDC_CHK_QUIET_PRINTING,
    IDC_RB_STNDARD_OPTIONS,
    IDC_SLIDER_PQ_SETTINGS,
    IDC_STATIC_PQ_SPEED,
    IDC_STATIC_PQ_QUALITY,
    IDC_RB_CUSTOM_OPTIONS,
    IDC_BTN_PAPERMEDIA_PQ_SETTINGS,
    IDC_GB_ORIENTATION,
    IDC_RB_PORTRAIT,
    IDC_RB_LANDSCAPE,
    IDC_CHK_SHOW_PREVIEW_FIN,
    IDC_STA_PAGE_EXCEPTIONS,
    IDC_BTN_PAGE_EXCEPTIONS_SETTINGS,
};

// When a text is set.
enum class When {
    Always,
    LargeFormat,
    NotLargeFormat,
    Visible,                 // the control is shown
    DifferentPaperShown,     // the different-paper box is shown
    BorderlessPhotoShown,    // the borderless box is shown
    SaveRollPaperShown,      // the save-roll-paper box is shown
    BusinessPhotoShown,      // the control is shown and "ZQLunetra" is "ZQBusinessPrinting"
    VivrelPhotoShown,        // the control is shown and "ZQLunetra" is anything else
};

struct TextRow {
    int control;  // a ZQPqControl; kCtlCount: the page window; below 0: a control id
    When when;
    INT id;       // -1: the English text always
    PCWSTR english;
};

constexpr int kPageWindow = kCtlCount;

const TextRow kTextRows[] = {
    {kPageWindow, When::Always, 832, L"Paper/Quality"},
    {kCtlPaperGroup, When::Always, 827, L"Paper Options"},
    {kCtlDifferentPaper, When::DifferentPaperShown, 3998, L"&Use Different Paper/Covers"},
    {kCtlBackCover, When::DifferentPaperShown, 3999, L"Add a &Blank or Preprinted Cover"},
    {kCtlSourceLabel, When::LargeFormat, 5331, L"Paper &Source:"},
    {kCtlSourceLabel, When::NotLargeFormat, 830, L"&Source is:"},
    {kCtlMediaLabel, When::LargeFormat, 5308, L"Paper &Type:"},
    {kCtlMediaLabel, When::NotLargeFormat, 831, L"&Type is:"},
    {kCtlPreviewPortrait, When::Always, 3072, L"Portrait"},
    {kCtlPreviewLandscape, When::Always, 3073, L"Landscape"},
    {kCtlQualityGroup, When::Always, 823, L"Print Quality"},
    {kCtlOrientationGroup, When::LargeFormat, 3021, L"Orientation"},
    {kCtlPortrait, When::LargeFormat, 4150, L"Portra&it"},
    {kCtlLandscape, When::LargeFormat, 6049, L"Lands&cape"},
    {kCtlShowPreview, When::LargeFormat, 5152, L"Show previe&w before printing"},
    {kCtlThriftmode, When::Visible, 3052, L"E&conomode\n  (May Save Print Cartridges)"},
    {kCtlTransparencySheets, When::Visible, 5433, L"&Transparency Separator Sheets"},
    {kCtlGloss, When::Visible, 825, L"&Gloss Print Finish"},
    {kCtlHelp, When::Always, 797, L"&Help"},
    {kCtlSizeLabel, When::LargeFormat, -1, L"&Document Size:"},
    {kCtlSizeLabel, When::NotLargeFormat, 3429, L"Si&ze is:"},
    {kCtlBorderlessPhoto, When::BorderlessPhotoShown, 4093, L"Borderless &Printing"},
    {kCtlBorderlessAutoFit, When::BorderlessPhotoShown, 4031, L"Borderless Auto &Fit"},
    {kCtlQuietPrinting, When::Visible, -1, L"Quiet Printing"},
    {kCtlImageEnhancement, When::BusinessPhotoShown, 4831, L"ZQ &Lunetra"},
    {kCtlImageEnhancement, When::VivrelPhotoShown, 4858, L"Vivrel &Digital Photography"},
    {kCtlCustom, When::Always, 4252, L"Custom..."},
    {kCtlMargins, When::LargeFormat, 6055, L"Layout..."},
    {kCtlMargins, When::NotLargeFormat, -1, L"Margins / Layout..."},
    {kCtlExtendedMargins, When::Visible, 4962, L"&Extended Margins"},
    {-IDC_BTN_PAPERMEDIA_PRINTINGHELP, When::Always, 4219, L"Pri&nting Help"},
    {kCtlOptimizeFor, When::Visible, 91, L"Optimize for"},
    {kCtlDrawingsText, When::Visible, 4477, L"Dra&wings/Text"},
    {kCtlImages, When::Visible, 4620, L"&Images"},
    {kCtlMaxDetails, When::Visible, 4478, L"&Maximum Detail"},
    {kCtlSaveRollPaper, When::SaveRollPaperShown, 4473, L"Save &roll Paper"},
    {kCtlDisableAutoCutter, When::SaveRollPaperShown, 4474, L"Disa&ble Automatic Cutter"},
    {kCtlAutorotate, When::Visible, 4957, L"A&utoRotate"},
    {kCtlPageExceptionsLabel, When::Visible, 5533, L"Page e&xceptions:"},
    {kCtlPageExceptionsSettings, When::Visible, 5535, L"S&ettings..."},
};

// A help row: the control, then its help id. A locked feature gives 15147; a feature or public
// item gives its item's help index, else the fall-back; without either the fall-back stands.
struct HelpRow {
    int control;
    PCWSTR lock;     // value under "DMCLockData\Printing", or none
    BYTE pubId;
    PCWSTR feature;
    int fallback;    // -1: no help topic
};

}  // namespace

void CZQPaperQualityTab::VGetControlHandles(HWND hDlg) {
    m_hPage = hDlg;
    for (int i = 0; i < kCtlCount; ++i) m_ahControls[i] = GetDlgItem(hDlg, kControlIds[i]);
    m_hHelpButton = m_ahControls[kCtlHelp];
    m_hPortraitPreview = m_ahControls[kCtlPreviewPortrait];
    m_hLandscapePreview = m_ahControls[kCtlPreviewLandscape];
    if (m_pageExceptionsList.BAttach(hDlg, IDC_LB_PAGE_EXCEPTIONS_OPTIONS))
        m_pageExceptionsList.BSetIcon(nullptr, 32515);  // the system's warning sign
    m_constraintButton.BAttach(hDlg, IDC_BTN_CONSTRAINT_PAGE_EXCEPTIONS);
    // The page's dialogs take their texts from the page's status module.
    m_imageEnhanceDlg.VSetResourceModule(m_hResModule);
}

void CZQPaperQualityTab::VSetControlTexts(PageContext* pContext) {
    if (!m_hPage || !pContext || !pContext->pLogic) return;
    const bool largeFormat = pContext->pLogic->BIsLargeFormat() != FALSE;
    CZQLocalPtr<WCHAR> naming;
    const bool business = DWGetFeatureOption(m_pCUIParam, L"ZQLunetra", naming.Put()) == ZQOPT_OK &&
                          lstrcmpW(naming.Get(), L"ZQBusinessPrinting") == 0;
    auto shown = [this](int control) { return BIsWindowVisible(HControl(static_cast<ZQPqControl>(control))) != FALSE; };
    for (const TextRow& row : kTextRows) {
        HWND target = row.control == kPageWindow ? m_hPage
                      : row.control < 0          ? GetDlgItem(m_hPage, -row.control)
                                                 : HControl(static_cast<ZQPqControl>(row.control));
        bool set = false;
        switch (row.when) {
            case When::Always: set = true; break;
            case When::LargeFormat: set = largeFormat; break;
            case When::NotLargeFormat: set = !largeFormat; break;
            case When::Visible: set = shown(row.control); break;
            case When::DifferentPaperShown: set = shown(kCtlDifferentPaper); break;
            case When::BorderlessPhotoShown: set = shown(kCtlBorderlessPhoto); break;
            case When::SaveRollPaperShown: set = shown(kCtlSaveRollPaper); break;
            case When::BusinessPhotoShown: set = shown(row.control) && business; break;
            case When::VivrelPhotoShown: set = shown(row.control) && !business; break;
        }
        if (set && target) BSetWindowTextRes(row.id, target, row.english);
    }
}

void CZQPaperQualityTab::VBuildHelpTable(DWORD* pdwTable, PageContext* pContext) {
    if (!pdwTable) {
        SetLastError(ERROR_INVALID_DATA);
        return;
    }
    for (int i = 0; i < 2 * kHelpPairs; ++i) pdwTable[i] = 0;
    CZQUILogic* logic = pContext ? pContext->pLogic : nullptr;
    const ZQUIDevmode* work = logic ? logic->WorkDM() : nullptr;
    const bool postScript = work && work->dwPdl == kPdlPostScript;
    // The sample page shown: two or six pages per sheet lie across the sheet.
    const bool across = work && (work->dwPagesPerSheet == 2 || work->dwPagesPerSheet == 4);
    const bool portrait = work && work->wOrientation == 1;
    const int preview = portrait == across ? IDC_BTN_PREVIEW_LAND : IDC_BTN_PREVIEW_PORT;

    const HelpRow rows[kHelpPairs - 1] = {
        {IDD_DLG_PAPER_MEDIA, nullptr, 0, nullptr, -1},
        {IDC_GB_MEDIA_PAPER_OPTIONS, nullptr, 0, nullptr, -1},
        {IDC_CHK_MEDIA_PAPER_DIFF, zqkw::kUseDiffFirstPageChoice, 0, nullptr, 15314},
        {IDC_LB_MEDIA_PAPER_OPTIONS, nullptr, 0, nullptr, -1},
        {IDC_CHK_MEDIA_BACK_COVER, zqkw::kBackCoverChoice, 0, nullptr, 15315},
        {IDC_STA_MEDIA_SOURCE_IS, nullptr, 0, nullptr, -1},
        {IDC_CBO_MEDIA_SOURCE_IS, zqkw::kInputBin, 0, nullptr, 14025},
        {IDC_STA_MEDIA_TYPE_IS, nullptr, 0, nullptr, -1},
        {IDC_CBO_MEDIA_TYPE_IS, zqkw::kMediaType, DMPUB_MEDIATYPE, nullptr, -1},
        {preview, nullptr, 0, nullptr, 14060},
        {IDC_BTN_HELP, nullptr, 0, nullptr, 15054},
        {IDC_CHK_THRIFTMODE, zqkw::kThriftModeItem, 0, postScript ? zqkw::kJCLThriftmode : zqkw::kThriftmode, -1},
        {IDC_CHK_GLOSS, zqkw::kPrintFinish, 0, zqkw::kPrintFinish, -1},
        {IDC_CBO_PRINT_QUALITY, zqkw::kResolution, 0, zqkw::kPrintQualityGroup, 15131},
        {423, nullptr, 0, nullptr, -1},
        {IDC_GB_PRINT_QUALITY, nullptr, 0, nullptr, -1},
        {485, nullptr, 0, nullptr, 15208},
        {489, nullptr, 0, nullptr, 15209},
        {490, nullptr, 0, nullptr, 15210},
        {483, nullptr, 0, nullptr, -1},
        {IDC_STA_MEDIA_SIZE_IS, nullptr, 0, nullptr, -1},
        {IDC_STA_MEDIA_SIZE_DIMENSIONS, nullptr, 0, nullptr, -1},
        {IDC_CBO_MEDIA_SIZE_IS, zqkw::kPaperSize, 0, nullptr, 15284},
        {IDC_CHECK_BORDERLESS_PHOTO, nullptr, 0, nullptr, 15306},
        {IDC_CHECK_BORDERLESS_AUTOFIT, nullptr, 0, nullptr, 15305},
        {IDC_STA_RENDER_DPI, nullptr, 0, nullptr, 15307},
        {IDC_STA_RENDER, nullptr, 0, nullptr, 15307},
        {IDC_COLOR_INPUT_DPI, nullptr, 0, nullptr, 15307},
        {IDC_COLOR_INPUT, nullptr, 0, nullptr, 15307},
        {IDC_COLOR_OUTPUT, nullptr, 0, nullptr, 15308},
        {IDC_COLOR_OUTPUT_DPI, nullptr, 0, nullptr, 15308},
        {IDC_IMAGE_ENHANCEMENT, nullptr, 0, L"ZQLunetra", -1},
        {IDC_BTN_PAPERMEDIA_PRINTINGHELP, nullptr, 0, nullptr, 15499},
        {IDC_OPTIMIZE_FOR, nullptr, 0, zqkw::kZQOptimizeFor, 15470},
        {IDC_RB_DRAWING_TEXT, nullptr, 0, zqkw::kZQOptimizeFor, 15470},
        {IDC_RB_IMAGES, nullptr, 0, zqkw::kZQOptimizeFor, 15470},
        {IDC_CHK_MAX_DETAILS, nullptr, 0, zqkw::kZQMaximumDetail, 15468},
        {IDC_BTN_CUSTOM, nullptr, 0, nullptr, 15473},
        {IDC_CHK_SAVE_ROLL_PAPER, nullptr, 0, zqkw::kZQSaveRollPaper, -1},
        {IDC_CHK_DISABLE_AUTO_CUTTER, nullptr, 0, zqkw::kZQDisableAutoCutter, -1},
        {IDC_ZQLOGO_HOLDER, nullptr, 0, nullptr, -1},
        {IDC_PREVIEW_DIMENSIONS, nullptr, 0, nullptr, -1},
        {IDC_BTN_MARGINS, nullptr, 0, nullptr, 15562},
        {IDC_CHK_EXTENDED_MARGINS, nullptr, 0, nullptr, -1},
        {IDC_STA_CURRENTLY_LOADED_INFO, nullptr, 0, nullptr, -1},
        {IDC_STA_ROLL_INFO, nullptr, 0, nullptr, -1},
        {IDC_CHK_AUTOROTATE, nullptr, 0, zqkw::kZQAutorotate, -1},
        {IDC_CHK_QUIET_PRINTING, nullptr, 0, nullptr, 15564},
        {IDC_RB_STNDARD_OPTIONS, nullptr, 0, L"ZQLQJPQSettings", -1},
        {IDC_SLIDER_PQ_SETTINGS, nullptr, 0, L"ZQLQJPQSettings", -1},
        {IDC_RB_CUSTOM_OPTIONS, nullptr, 0, L"ZQLQJPQSettings", -1},
        {IDC_BTN_PAPERMEDIA_PQ_SETTINGS, nullptr, 0, L"ZQLQJPQSettings", -1},
        {IDC_LB_PAGE_EXCEPTIONS_OPTIONS, nullptr, 0, nullptr, 15666},
        {IDC_BTN_PAGE_EXCEPTIONS_SETTINGS, nullptr, 0, nullptr, 15667},
        {IDC_RB_PORTRAIT, nullptr, 0, nullptr, 15420},
        {IDC_RB_LANDSCAPE, nullptr, 0, nullptr, 15421},
        {IDC_GB_ORIENTATION, nullptr, 0, nullptr, 15200},
        {IDC_CHK_SHOW_PREVIEW_FIN, nullptr, 0, zqkw::kZQPrintPreview, -1},
    };
    const HANDLE printer = m_pCUIParam ? m_pCUIParam->hPrinter : nullptr;
    int n = 0;
    for (const HelpRow& row : rows) {
        int help = row.fallback;
        if (row.lock && CZQUILogic::BIsSettingLocked(printer, zqsettings::kLockDataPrinting, row.lock, nullptr)) {
            help = static_cast<int>(kLockedHelpId);
        } else if ((row.pubId || row.feature) && logic) {
            int index = -1;
            logic->IBindFeatureControl(row.pubId, row.feature, nullptr, nullptr, OEMCUIP_DOCPROP,
                                       CZQUILogic::kBindHelp, FALSE, 0, &index);
            help = index >= 0 ? index : row.fallback;
        }
        pdwTable[n++] = static_cast<DWORD>(row.control);
        pdwTable[n++] = static_cast<DWORD>(help);
    }
}

void CZQPaperQualityTab::VReadSourceMediaLocks(PageContext*) {
    const HANDLE printer = m_pCUIParam ? m_pCUIParam->hPrinter : nullptr;
    if (CZQUILogic::BIsSettingLocked(printer, zqsettings::kLockDataPrinting, zqkw::kInputBin, nullptr))
        m_bSourceLocked = TRUE;
    if (CZQUILogic::BIsSettingLocked(printer, zqsettings::kLockDataPrinting, zqkw::kMediaType, nullptr))
        m_bMediaLocked = TRUE;
}
