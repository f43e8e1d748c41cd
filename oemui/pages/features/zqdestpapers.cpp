// The Features page's destination list: the printer's paper names and the form's keywords it is
// filled from, the paper ids behind its entries, the entry of a paper, and the scale that fits the
// document's paper on the chosen one.
#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"
#include "pages/features/zqdestpapers.h"
#include "pages/zqpageitems.h"

using namespace zqpage;

namespace {

constexpr int kFullScale = 100;

const PrinterCaps* Papers(PageContext* pContext) { return ZQPrinterCapsLists(pContext->pCaps, kCapsPapers); }

WORD DocumentPaper(POEMCUIPPARAM pParam) {
    return pParam && pParam->pPublicDM ? static_cast<WORD>(pParam->pPublicDM->dmPaperSize) : 0;
}

}  // namespace

BOOL CZQDestPapers::BGetPaperSizeNames() {
    const POEMCUIPPARAM param = m_owner.CUIParam();
    if (!param) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    return m_paperNames.BRead(param->pPrinterName, m_pszPort, param->pPublicDM);
}

WORD CZQDestPapers::WGetDestPaperId(DWORD dwCount, int iIndex, const WORD* pIds) {
    return ZQDestPaperId(m_hList, m_paperNames, dwCount, iIndex, pIds);
}

int CZQDestPapers::IFindDestPaperIndex(DWORD dwCount, const WORD* pIds, WORD wPaperId) {
    return ZQFindDestPaperIndex(m_hList, m_paperNames, dwCount, pIds, wPaperId);
}

WORD CZQDestPapers::WListedPaper(PageContext* pContext, WORD wPaperId) {
    const PrinterCaps* caps = Papers(pContext);
    const DWORD count = caps ? caps->dwPaperCount : 0;
    const WORD* ids = caps ? caps->pPaperIds : nullptr;
    return WGetDestPaperId(count, IFindDestPaperIndex(count, ids, wPaperId), ids);
}

void CZQDestPapers::VFillDestPaperList(PageContext* pContext) {
    const POEMCUIPPARAM param = m_owner.CUIParam();
    HWND list = m_hList;
    if (!param || !param->pPublicDM || !list) return;
    CZQUILogic& logic = *pContext->pLogic;
    if (!FeatureItem(param, L"ZQPSAutoScaling")) {
        if (!m_paperNames.Count()) BGetPaperSizeNames();
        m_formKeywords.VRead(param, logic.PszFormFeature());
    }
    const ZQDestPaperSources sources = {param, &logic, &m_paperNames, m_formKeywords.Keywords(),
                                        m_formKeywords.Count(), Papers(pContext), true, true};
    PWSTR* forms = nullptr;
    int count = 0;
    if (ZQFillDestPaperList(list, sources) && BGetCustomRangeForms(pContext, &forms, &count))
        ZQAddDestPaperForms(list, forms, count);
}

BOOL CZQDestPapers::BGetCustomRangeForms(PageContext* pContext, PWSTR** ppNames, int* piCount) {
    return ZQGetCustomRangeForms(pContext, m_owner.HPrinter(), m_owner.CUIParam(), ppNames, piCount);
}

int CZQDestPapers::IGetFitToPaperPercent(PageContext* pContext) {
    const ZQUIDevmode* work = WorkOf(pContext);
    if (!work) return kFullScale;
    if (m_state.iResizeMode == ZQFeaturesState::kPercentage) return static_cast<int>(work->dwScalePercent);
    return ZQFitToDestPercent(m_hList, m_paperNames, Papers(pContext),
                              DocumentPaper(m_owner.CUIParam()));
}

void CZQDestPapers::VSelectScaleTargetPaper(HWND, PageContext* pContext) {
    HWND list = m_hList;
    const int index = ZQScaleTargetIndex(list, m_paperNames, Papers(pContext),
                                         static_cast<WORD>(WorkOf(pContext)->dwPrintedOnPaper),
                                         DocumentPaper(m_owner.CUIParam()));
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    m_state.iDestIndex = index;
}

// The borderless paper's entry: the first whose paper keyword is the paper the Paper/Quality page
// shows, else "LETTER", else the first.
int CZQDestPapers::IFindBorderlessTwin(PageContext* pContext) {
    const int entry = ZQFindBorderlessTwinEntry(m_hList, pContext, m_owner.CUIParam());
    return entry >= 0 ? entry : 0;
}

void CZQDestPapers::VSeedDestinationList(bool bSelect) {
    WCHAR text[256];
    if (!m_hList || SendMessageW(m_hList, CB_GETCOUNT, 0, 0) > 0 || !SelectedText(m_hPaperSize, text)) return;
    const LRESULT entry = SendMessageW(m_hList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    if (bSelect && entry >= 0) SendMessageW(m_hList, CB_SETCURSEL, static_cast<WPARAM>(entry), 0);
}
