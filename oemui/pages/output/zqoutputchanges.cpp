// The Output page's change check, which tells the sheet whether the page differs from the settings
// it opened with and keeps the quick set's state in step, its context-help table with the
// administrator's locks, the bin lock, and the sample page's record.
#include "common/zqkeywords.h"
#include "common/zqstorenames.h"
#include "featurelogic/zqquicksets.h"
#include "formats/zquidevmode.h"
#include "pages/zqpageasks.h"
#include "pages/output/zqoutputpage.h"
#include "pages/zqpageitems.h"
#include "res/zqoutputids.h"

#include <commctrl.h>

using namespace zqpage;

BOOL CZQOutputTab::BCheckChanged(HWND hPage, PageContext* pContext) {
    ZQUIDevmode* work = WorkOf(pContext);
    if (!work || !m_pCUIParam) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    CZQUILogic& logic = *pContext->pLogic;
    // Each control against the option its feature had when the sheet opened.
    int changed = 0;
    const struct {
        PCWSTR feature;
        int id;
        BOOL checkBox;
    } rows[] = {{zqkw::kOutputBin, IDC_CBO_BIN, FALSE},        {PszStapleFeature(pContext), IDC_CBO_STAPLE, FALSE},
                {zqkw::kPunching, IDC_CBO_PUNCH, FALSE},       {zqkw::kFolding, IDC_CBO_FOLDSTITCH, FALSE},
                {L"ZQImageShift", IDC_CHK_IMAGE_SHIFT, TRUE}};
    for (const auto& row : rows)
        logic.IBindFeatureControl(0, row.feature, m_controls.Item(row.id), &changed, OEMCUIP_DOCPROP,
                                  CZQUILogic::kBindCompare, row.checkBox, logic.IGetSavedSelection(row.feature),
                                  nullptr);
    const ZQUIDevmode* core = CoreOf(m_pCUIParam);
    if (core && core->wOrientation != work->wOrientation) changed = 1;
    logic.IBindFeatureControl(0, zqkw::kFaceControl, m_controls.Item(IDC_RB_FACEUP), &changed, OEMCUIP_DOCPROP,
                              CZQUILogic::kBindCompare, TRUE, logic.IGetSavedSelection(zqkw::kFaceControl), nullptr);
    ReportPageChange(hPage, pContext, CZQQuickSets::kCompareJobStorage, changed != 0);
    return changed ? TRUE : FALSE;
}

void CZQOutputTab::VGetHelpIds(DWORD* pdwTable, PageContext* pContext) {
    if (!pdwTable) {
        SetLastError(ERROR_INVALID_DATA);
        return;
    }
    const ZQUIDevmode* work = WorkOf(pContext);
    const HelpRow rows[kHelpPairs] = {
        {IDC_GB_OUTPUT_STATIC, nullptr, 0, nullptr, -1},
        // The job-storage rows of the page's family.
        {313, L"JobRetentionModeChoice", 0, nullptr, 15129},
        {309, nullptr, 0, nullptr, -1},
        {IDC_BTN_HELP, nullptr, 0, nullptr, 15054},
        {work ? ShownPreviewId(*work) : IDC_BTN_PREVIEW_PORT, nullptr, 0, nullptr, 14060},
        {IDC_GB_OUTPUT_BIN_OPTIONS, nullptr, 0, nullptr, -1},
        {IDC_STA_OUTPUT_BIN, nullptr, 0, nullptr, -1},
        {IDC_CBO_BIN, zqkw::kOutputBin, 0, zqkw::kOutputBin, -1},
        // The quick sets' strip.
        {485, nullptr, 0, nullptr, 15208},
        {489, nullptr, 0, nullptr, 15209},
        {490, nullptr, 0, nullptr, 15210},
        {483, nullptr, 0, nullptr, -1},
        {IDC_CBO_PUNCH, nullptr, 0, nullptr, 15312},
        {IDC_STA_PUNCH_STATIC, nullptr, 0, nullptr, -1},
        {IDC_CHK_IMAGE_SHIFT, nullptr, 0, nullptr, 15310},
        {IDC_CBO_STAPLE, nullptr, 0, nullptr, 15311},
        {IDC_STA_STAPLE_STATIC, nullptr, 0, nullptr, -1},
        {IDC_CBO_FOLDSTITCH, nullptr, 0, nullptr, 15313},
        {IDC_STA_FOLDSTATIC_STATIC, nullptr, 0, nullptr, -1},
        {IDC_RB_FACEDOWN, nullptr, 0, nullptr, 15528},
        {IDC_RB_FACEUP, nullptr, 0, nullptr, 15529},
        {IDC_ZQLOGO_HOLDER, nullptr, 0, nullptr, -1},
        {IDC_BTN_IMAGE_SHIFT, nullptr, 0, nullptr, 15649},
    };
    FillHelpTable(pdwTable, rows, kHelpPairs, m_pCUIParam ? m_pCUIParam->hPrinter : nullptr,
                  pContext ? pContext->pLogic : nullptr);
}

void CZQOutputTab::VApplyBinLock() {
    const POEMCUIPPARAM param = m_pCUIParam;
    // Only the stored word locks: a value that cannot be read leaves the bin as it is.
    if (!param || StoredLockWord(param->hPrinter, zqkw::kOutputBin) != 1) return;
    for (int id : {IDC_STA_OUTPUT_BIN, IDC_CBO_BIN, IDC_GB_OUTPUT_BIN_OPTIONS}) EnableWindow(m_controls.Item(id), FALSE);
}

void CZQOutputTab::VFillPreviewSettings(PageContext* pContext) {
    if (!BFillSharedPreview(&m_preview, pContext)) return;
    // The turn by 180 degrees shows whether or not the driver offers it here.
    m_preview.aiValue[kPvRotated] = static_cast<int>(WorkOf(pContext)->dwRotate180);
    // The poster is the one the Finishing page shows.
    if (ZQSheetPage<IZQFinishingPage>(pContext, kPageFinishing))
        m_preview.aiValue[kPvPosterSize] = pContext->pLogic->IPosterOption();
}
