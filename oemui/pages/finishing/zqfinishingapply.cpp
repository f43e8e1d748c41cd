// The Finishing page in its sheet: every control set from the settings (refresh mode 0) when the
// page starts and whenever it comes to the front, the controls stored back when it is left (mode 2),
// and on OK or Apply its result reported; the last page the user visited also synchronises the
// devmodes and exports them.
#include "common/zqkeywords.h"
#include "formats/zquidevmode.h"
#include "pages/finishing/zqfinishingpage.h"
#include "pages/zqpageitems.h"
#include "res/zqfinishingids.h"

#include <commctrl.h>

#include <utility>

using namespace zqpage;

// The title id of the page, recorded as the page to open the sheet on when it is left.
static constexpr int kFinishingTitleId = 813;

LRESULT CZQFinishingTab::IOnNotify(HWND hDlg, const NMHDR* pHeader, PageContext* pContext) {
    switch (pHeader->code) {
        case PSN_SETACTIVE: VOnSetActive(hDlg, pContext); return 0;
        case PSN_KILLACTIVE: VRefresh(hDlg, pContext, 2); return 0;
        case PSN_APPLY: return IOnApply(pContext);
        // The sheet undoes the changes; the page only stops counting as changed.
        case PSN_RESET: SendMessageW(GetParent(hDlg), PSM_UNCHANGED, reinterpret_cast<WPARAM>(hDlg), 0); return 0;
        default: return 0;
    }
}

// ---------------------------------------------------------------------------------------------
// Refresh
// ---------------------------------------------------------------------------------------------
ZQUIDevmode* CZQFinishingTab::PWork(PageContext* pContext) {
    ZQUIDevmode* work = WorkOf(pContext);
    if (work && m_pCUIParam) return work;
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
}

void CZQFinishingTab::VRefresh(HWND, PageContext* pContext, int iMode) {
    if (!PWork(pContext)) return;
    if (iMode == 0) VSetAllControls(pContext);
    else if (iMode == 2) VSaveControls(pContext);
}

void CZQFinishingTab::VSetAllControls(PageContext* pContext) {
    ZQUIDevmode* work = PWork(pContext);
    if (!work) return;
    CZQUILogic& logic = *pContext->pLogic;
    const POEMCUIPPARAM param = m_pCUIParam;
    // A page without its window keeps nothing to show: its window takes the settings when it starts.
    HWND page = m_controls.Page();
    if (!page) return;

    m_controls.VSetCheck(IDC_CHK_PAGE_BORDER, work->dwPageBorders != 0);
    SendMessageW(m_controls.Item(IDC_CBO_PAGE_ORDER), CB_SETCURSEL, work->dwPageOrderIndex, 0);
    if (logic.BHasRotate180()) m_controls.VSetCheck(IDC_CHK_ROTATED, work->dwRotate180 != 0);
    if (logic.BHasTransverse()) m_controls.VSetCheck(IDC_CHK_ROTATE90, work->dwRotate90 != 0);
    if (PostScript(pContext) || Readable(param, zqkw::kZQMirrorPrint))
        m_controls.VSetCheck(IDC_CHK_MIRROR, work->dwMirror != 0);

    VShowPagesPerSheet(pContext);
    // The booklet list shows the booklet the settings keep.
    logic.VSetBooklet(work->dwBooklet);
    SendMessageW(m_controls.Item(IDC_CBO_BOOKLET_PRINTING), CB_SETCURSEL, work->dwBooklet, 0);
    VRefreshTwoSided(pContext);
    VSetPreserveLayout(pContext);
    VSetPageOrderControls(pContext);
    VLayoutDocumentOptions(pContext);
    VSetDuplexLabel(pContext);
    VLayoutOrientationGroup(pContext);
    VSetPagesPerSheetLabel(pContext);

    for (const auto& [id, feature] : {std::pair<int, PCWSTR>{IDC_CHK_SHOW_PREVIEW_FIN, zqkw::kZQPrintPreview},
                                      std::pair<int, PCWSTR>{IDC_CHK_MIRROR, zqkw::kZQMirrorPrint}}) {
        const int on = OptionIs(param, feature, L"TRUE");
        if (on >= 0) m_controls.VSetCheck(id, on);
    }
    VShowOrientation();
    VSetAutoDuplexBox(pContext);
    EnableWindow(m_controls.Item(IDC_BTN_SELECT_TILES), BReadPosterChoice(logic));
}

void CZQFinishingTab::VSaveControls(PageContext* pContext) {
    ZQUIDevmode* work = PWork(pContext);
    if (!work) return;
    CZQUILogic& logic = *pContext->pLogic;
    const POEMCUIPPARAM param = m_pCUIParam;
    if (m_controls.Page()) {
        work->dwPageBorders = m_controls.BChecked(IDC_CHK_PAGE_BORDER) ? 1 : 0;
        if (const int order = m_controls.ISelection(IDC_CBO_PAGE_ORDER); order >= 0)
            work->dwPageOrderIndex = static_cast<uint32_t>(order);
        VStorePagesPerSheet(pContext);
        VStoreTwoSided(pContext);
        VSyncBooklet(&logic);
        if (logic.BHasRotate180()) work->dwRotate180 = m_controls.BChecked(IDC_CHK_ROTATED) ? 1 : 0;
        if (logic.BHasTransverse()) {
            const bool turned = m_controls.BChecked(IDC_CHK_ROTATE90) != FALSE;
            work->dwRotate90 = turned ? 1 : 0;
            CZQCommon::DWSelectOptionByIndex(param, zqkw::kZQTransverse, turned ? 1 : 0, OEMCUIP_DOCPROP);
        }
        // The mirror's first option is the mirror image.
        if (PostScript(pContext) || Readable(param, zqkw::kZQMirrorPrint)) {
            const bool mirror = m_controls.BChecked(IDC_CHK_MIRROR) != FALSE;
            work->dwMirror = mirror ? 1 : 0;
            if (Readable(param, zqkw::kZQMirrorPrint)) {
                CZQCommon::DWSelectOptionByIndex(param, zqkw::kZQMirrorPrint, mirror ? 0 : 1, OEMCUIP_DOCPROP);
            } else {
                // The PostScript driver's own mirror item has no public id.
                POPTITEM item = nullptr;
                const int position = logic.IGetPsItemPosition(pContext->pCaps);
                if (CZQCommon::DWFindOptItemByPubId(param, 0, position, &item) == ZQOPT_OK && item)
                    ReportSelection(param, item, mirror ? 0 : 1, static_cast<DWORD>(item->Sel), OEMCUIP_DOCPROP);
            }
        }
    }
    POPTITEM own = nullptr;
    const bool landscape = CZQCommon::DWFindOemOptItemByPubId(param, kOemPubOrientation, &own) == ZQOPT_OK && own &&
                           own->Sel == 1;
    work->wOrientation = landscape ? 2 : 1;
    if (HWND page = m_controls.Page())
        CheckRadioButton(page, IDC_RB_PORTRAIT, IDC_RB_LANDSCAPE, landscape ? IDC_RB_LANDSCAPE : IDC_RB_PORTRAIT);
    // Leaving the page makes it the page the sheet opens on next time, whether or not anything
    // changed: the core driver's block, which it stores, keeps it.
    if (ZQUIDevmode* core = CoreOf(param)) core->iStartPage = kFinishingTitleId;
}

// ---------------------------------------------------------------------------------------------
// The page comes to the front
// ---------------------------------------------------------------------------------------------
void CZQFinishingTab::VOnSetActive(HWND hDlg, PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *logic.WorkDM();
    const POEMCUIPPARAM param = m_pCUIParam;
    VRefresh(hDlg, pContext, 0);
    // The page exceptions may have changed on the Paper/Quality page: their marks settle once the
    // controls they touch have.
    VSetDuplexControlState(pContext);
    VNoteShown(pContext, kPageFinishing);
    VShowOrientation();
    if (logic.BIsLargeFormat()) {
        VFillPreviewSettings(pContext);
        VShowPaperText(pContext);
    }
    VRepaintPreview(FALSE);
    VUpdatePreviewGroup(pContext);
    EnableWindow(m_controls.Item(IDC_BTN_SELECT_TILES), BReadPosterChoice(logic));

    if (logic.BIsLargeFormat()) {
        if (work.dwPdl == kPdlPcl3 || work.dwPdl == kPdlZqgl2) VCheckRotate90Width(pContext);
        if (work.dwPdl == kPdlZqgl2) {
            // Sheets are fed as they come: only paper from a roll turns by 90 degrees.
            const bool turnable = OptionIs(param, zqkw::kInputBin, zqkw::kSheet) != 1 && !(work.dwFlags & 0x100);
            HWND box = m_controls.Item(IDC_CHK_ROTATE90);
            if (!turnable) SetCheck(box, false);
            EnableWindow(box, turnable);
        }
    } else if (OptionIs(param, zqkw::kMediaType, L"ZQ_CD_LABEL_PAPER") == 1) {
        EnableWindow(m_controls.Item(IDC_CBO_PAGES_PER_SHEET), FALSE);
    }
}

// ---------------------------------------------------------------------------------------------
// OK or Apply
// ---------------------------------------------------------------------------------------------
LRESULT CZQFinishingTab::IOnApply(PageContext* pContext) {
    return CommitPage(pContext, kPageFinishing, [pContext] { pContext->pLogic->VSyncNupItem(pContext->pCaps); });
}
