// The Finishing page's groups as the printer's features decide them (the print-preview group, the
// document options that depend on the page language, the orientation column), the large-format
// printer's check of a turn by 90 degrees, and the sample page's record.
#include "common/zqkeywords.h"
#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"
#include "pages/finishing/zqfinishingpage.h"
#include "pages/zqpageitems.h"
#include "preview/zqpreview.h"
#include "res/zqfinishingids.h"

using namespace zqpage;

void CZQFinishingTab::VUpdatePreviewGroup(PageContext* pContext) {
    const ZQUIDevmode* work = PWork(pContext);
    const POEMCUIPPARAM param = m_pCUIParam;
    if (!work) return;
    CZQUILogic& logic = *pContext->pLogic;
    // The preview needs the printer's own web server, or the page language that previews itself; and
    // a printer of this computer.
    bool preview = false;
    if (Readable(param, zqkw::kZQPrintPreview)) {
        const bool selfPreviewing = work->dwPdl == kPdlPcl3 && work->dwLayoutMode == 3;
        preview = (WebPreviewAllowed(param) || selfPreviewing) && CZQCommon::BIsLocalPrinter(param->hPrinter);
        if (!preview) CZQCommon::DWSelectOptionByIndex(param, zqkw::kZQPrintPreview, 0, OEMCUIP_DOCPROP);
    }
    m_controls.VShow(IDC_CHK_SHOW_PREVIEW_FIN, preview);
    m_controls.VShow(IDC_GB_PREVIEW_PRINT_FIN, preview);

    const bool twoSided = logic.BIsDuplexUnitInstalled(FALSE) || logic.BIsManualDuplexAvailable();
    if (FeatureItem(param, zqkw::kZQAutoDuplexScaling) && work->dwLayoutMode == 3 && twoSided)
        Show(m_controls.Item(IDC_CHK_PRESERVE_LAYOUT));
    if (!logic.BPosterFlag()) EnableWindow(m_controls.Item(IDC_BTN_SELECT_TILES), FALSE);
    // The straight path of the inkjet language goes with printing on both sides by hand.
    if (work->dwPdl == kPdlPcl3)
        EnableWindow(m_controls.Item(IDC_CHK_STRAIGHT_PAPER_PATH),
                     OptionIs(param, L"ZQPrintOnBothSidesManually", L"TRUE") == 1);
    // The large-format language lays out no pages on a sheet.
    if (work->dwPdl == kPdlZqgl2)
        for (int id : {IDC_GB_DOC_OPTIONS, IDC_STA_PAGE_ORDER, IDC_CBO_PAGE_ORDER, IDC_CHK_PAGE_BORDER,
                       IDC_STA_PAGES_PER_SHEET, IDC_CBO_PAGES_PER_SHEET})
            m_controls.VShow(id, FALSE);
}

void CZQFinishingTab::VLayoutOrientationGroup(PageContext* pContext) {
    const ZQUIDevmode* work = PWork(pContext);
    const POEMCUIPPARAM param = m_pCUIParam;
    if (!work) return;
    CZQUILogic& logic = *pContext->pLogic;
    const bool rotate180 = Readable(param, zqkw::kZQOrientRotate180);
    m_controls.VShow(IDC_CHK_ROTATED, rotate180);

    const bool rotate90 = Readable(param, zqkw::kZQTransverse);
    if (rotate90) {
        HWND box = m_controls.Item(IDC_CHK_ROTATE90);
        Show(box);
        if (logic.BClearTransverseForBitmap()) {
            EnableWindow(box, FALSE);
        } else if (work->dwFlags & 0x100) {
            SetCheck(box, false);
            EnableWindow(box, FALSE);
        } else {
            EnableWindow(box, TRUE);
        }
    } else {
        m_controls.VShow(IDC_CHK_ROTATE90, FALSE);
    }

    const bool mirror = (PostScript(pContext) || Readable(param, zqkw::kZQMirrorPrint)) && !Readable(param, zqkw::kZQSimplifiedUI);
    m_controls.VShow(IDC_CHK_MIRROR, mirror);

    const bool stapling = Readable(param, PostScript(pContext) ? zqkw::kStapleLocation : zqkw::kStapling) &&
                          StaplingAccessory(logic.IGetOutputAccessoryCode());
    m_controls.VShow(IDC_STA_STAPLING, stapling);
    m_controls.VShow(IDC_CBO_STAPLE, stapling);
    m_controls.VShow(IDC_PREVIEW_DIMENSIONS, logic.BIsLargeFormat());
    // Without the 180-degree box the 90-degree box takes its place and the mirror box the first
    // place free; with it every box keeps its own.
    m_controls.BPlaceAt(IDC_CHK_ROTATE90, rotate180 ? IDC_CHK_ROTATE90 : IDC_CHK_ROTATED);
    m_controls.BPlaceAt(IDC_CHK_MIRROR, rotate180 ? IDC_CHK_MIRROR : rotate90 ? IDC_CHK_ROTATE90 : IDC_CHK_ROTATED);
}

void CZQFinishingTab::VCheckRotate90Width(PageContext* pContext) {
    ZQUIDevmode* work = WorkOf(pContext);
    if (!work || !pContext->pPreview) {
        SetLastError(ERROR_INVALID_DATA);
        return;
    }
    // A landscape page turns only when the sheet drawn is wide enough for the printable width.
    const RECT& page = pContext->pPreview->PageRect();
    const LONG extent = page.right > page.bottom ? page.right - page.left : page.bottom - page.top;
    const bool tooNarrow = work->wOrientation == 2 && pContext->pPreview->IGetWidthMarkPos() < extent;
    if (!(work->dwFlags & 0x100) && work->dwAutorotate != 1 && !tooNarrow) return;
    work->dwRotate90 = 0;
    HWND box = m_controls.Item(IDC_CHK_ROTATE90);
    SetCheck(box, false);
    EnableWindow(box, FALSE);
}

void CZQFinishingTab::VFillPreviewSettings(PageContext* pContext) {
    if (!BFillSharedPreview(&m_preview, pContext)) return;
    CZQUILogic& logic = *pContext->pLogic;
    int* value = m_preview.aiValue;
    // What this page's controls show, over the settings (a page without its window shows the
    // settings).
    if (!m_controls.Page()) return;
    const int pages = CZQCommon::IListIndexToSetting(m_controls.ISelection(IDC_CBO_PAGES_PER_SHEET));
    if (logic.BPosterFlag()) {
        m_preview.iPagesPerSheet = 1;
        value[kPvPoster] = logic.BGetPosterTiles(&value[kPvPosterSize]) ? 1 : 0;
    } else {
        m_preview.iPagesPerSheet = pages;
        value[kPvPoster] = 0;
    }
    m_preview.iPageBorders = m_controls.BChecked(IDC_CHK_PAGE_BORDER) ? 1 : 0;
    value[kPvRotated] = m_controls.BChecked(IDC_CHK_ROTATED) ? 1 : 0;
    value[kPvTransverse] = m_controls.BChecked(IDC_CHK_ROTATE90) ? 1 : 0;
    value[kPvMirror] = m_controls.BChecked(IDC_CHK_MIRROR) ? 1 : 0;
    value[kPvFlipUp] = m_controls.BChecked(IDC_CHK_FLIP_PAGES_UP) ? 1 : 0;
    const int order = m_controls.ISelection(IDC_CBO_PAGE_ORDER);
    m_preview.iPageOrder = order >= 0 ? order : 0;
    m_preview.iBooklet = static_cast<int>(logic.DWBooklet());
}
