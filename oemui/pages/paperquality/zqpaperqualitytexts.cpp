// The Paper/Quality page's controls: their handles and wrappers, their texts in the user's language
// (from the control table), the context-help table with the administrator's locks, and the source
// and media locks.
#include "common/zqkeywords.h"
#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"
#include "pages/paperquality/zqpaperqualitypage.h"
#include "pages/zqpageitems.h"
#include "res/zqpaperqualityids.h"

using namespace zqpage;

void CZQPaperQualityTab::VGetControlHandles(HWND hDlg) {
    m_controls.VCollect(hDlg);
    m_hHelpButton = m_controls.H(kCtlHelp);
    m_hPortraitPreview = m_controls.H(kCtlPreviewPortrait);
    m_hLandscapePreview = m_controls.H(kCtlPreviewLandscape);
    if (m_exceptions.List().BAttach(hDlg, IDC_LB_PAGE_EXCEPTIONS_OPTIONS))
        m_exceptions.List().BSetIcon(nullptr, 32515);  // the system's warning sign
    m_constraintButton.BAttach(hDlg, IDC_BTN_CONSTRAINT_PAGE_EXCEPTIONS);
}

void CZQPaperQualityTab::VSetControlTexts(PageContext* pContext) {
    if (!m_controls.Page() || !pContext || !pContext->pLogic) return;
    const bool largeFormat = pContext->pLogic->BIsLargeFormat() != FALSE;
    CZQLocalPtr<WCHAR> naming;
    const bool business = DWGetFeatureOption(m_pCUIParam, L"ZQLunetra", naming.Put()) == ZQOPT_OK &&
                          lstrcmpW(naming.Get(), L"ZQBusinessPrinting") == 0;
    m_controls.VSetTexts(*this, largeFormat, business);
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
    FillHelpTable(pdwTable, rows, kHelpPairs - 1, m_pCUIParam ? m_pCUIParam->hPrinter : nullptr, logic);
}

void CZQPaperQualityTab::VReadSourceMediaLocks(PageContext*) {
    const HANDLE printer = m_pCUIParam ? m_pCUIParam->hPrinter : nullptr;
    if (LockedInAnyCase(printer, zqkw::kInputBin)) m_state.bSourceLocked = TRUE;
    if (LockedInAnyCase(printer, zqkw::kMediaType)) m_state.bMediaLocked = TRUE;
}
