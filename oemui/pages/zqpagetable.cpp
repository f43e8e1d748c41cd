// The page classes the sheets may get. A page joins by adding its row here (before the end
// marker) together with its class; a page without a row is never added.
#include <new>

#include "pages/paperquality/zqpaperqualitypage.h"
#include "pages/zqpages.h"
#include "res/zqpaperqualityids.h"

namespace {

CZQTabBase* CreatePaperQuality(const ZQSheetFacts&) { return new (std::nothrow) CZQPaperQualityTab(); }
ZQPageTemplate PaperQualityTemplate(const ZQSheetFacts&) {
    return {IDD_DLG_PAPER_MEDIA, IDD_DLG_PAPER_MEDIA_RTL, &PaperQualityPageDlgProc};
}

const ZQPageRow kPageRows[] = {
    {kPagePaperQuality, &CreatePaperQuality, &PaperQualityTemplate, 832, L"Paper/Quality", nullptr, nullptr},
    {kPageNone, nullptr, nullptr, 0, nullptr, nullptr, nullptr},
};

const ZQPageRow* g_pRows = kPageRows;

}  // namespace

const ZQPageRow* ZQPageTable() { return g_pRows; }

const ZQPageRow* ZQSetPageTable(const ZQPageRow* pRows) {
    const ZQPageRow* previous = g_pRows;
    g_pRows = pRows ? pRows : kPageRows;
    return previous == kPageRows ? nullptr : previous;
}

const ZQPageRow* ZQFindPageRow(int iPageId) {
    for (const ZQPageRow* row = g_pRows; row->iPageId != kPageNone; ++row)
        if (row->iPageId == iPageId) return row;
    return nullptr;
}
