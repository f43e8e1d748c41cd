// The records pages share with the sheet.
#include "pages/zqpages.h"

#include "featurelogic/zquilogic.h"
#include "pages/zqpageasks.h"
#include "pages/zqpagepreview.h"

BOOL CZQTabBase::BAllocPageBlock() {
    const HANDLE heap = m_pCUIParam ? m_pCUIParam->hOEMHeap : nullptr;
    m_pHeapBlock = heap ? HeapAlloc(heap, HEAP_ZERO_MEMORY, sizeof(DWORD)) : nullptr;
    if (m_pHeapBlock) return TRUE;
    SetLastError(heap ? ERROR_NOT_ENOUGH_MEMORY : ERROR_INVALID_DATA);
    return FALSE;
}

BOOL CZQTabBase::BFillSharedPreview(PreviewSettings* pRecord, PageContext* pContext) {
    if (pContext &&
        ZQFillPagePreview(pRecord, *pContext, {m_pCUIParam, m_pPublicDM, m_hPortraitPreview, m_hLandscapePreview, this}))
        return TRUE;
    SetLastError(ERROR_INVALID_DATA);
    return FALSE;
}

void CZQTabBase::VNoteShown(PageContext* pContext, int iPageId) {
    CZQUILogic* logic = pContext ? pContext->pLogic : nullptr;
    if (!logic) return;
    ZQSheetState& sheet = *logic->SheetState();
    const int index = logic->IGetPageIndex(logic->WorkDM(), iPageId);
    if (index > sheet.iHighestPage) sheet.iHighestPage = index;
    VRefreshPaperQualityCovers(pContext);
}

void CZQTabBase::VRefreshPaperQualityCovers(PageContext* pContext) {
    PageContext* paperContext = nullptr;
    if (auto* paper = ZQSheetPage<IZQPaperQualityPage>(pContext, kPagePaperQuality, &paperContext); paper && paperContext)
        paper->VRefreshCoverControls(paperContext);
}

void CZQTabBase::VPaintLogo(HWND hDlg, WORD wBitmap, WORD wMask, int iHolderId) const {
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hDlg, &ps);
    if (hdc && m_pCUIParam)
        VDrawMaskedBitmap(hDlg, hdc, wBitmap, wMask, iHolderId, static_cast<HINSTANCE>(m_pCUIParam->hModule), &ps);
    EndPaint(hDlg, &ps);
}

BOOL ZQReportPageResult(const SheetRecord* pRecord, int iSheetPosition, LONG_PTR lResult) {
    if (!pRecord || !pRecord->pfnComPropSheet || iSheetPosition < 0 || iSheetPosition >= kMaxSheetPages ||
        !pRecord->ahPages[iSheetPosition]) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    return pRecord->pfnComPropSheet(pRecord->hComPropSheet, CPSFUNC_SET_RESULT,
                                    reinterpret_cast<LPARAM>(pRecord->ahPages[iSheetPosition]), lResult) > 0;
}
