// Which pages a sheet gets, and the records pages share with the sheet.
#include "pages/zqpages.h"

#include "common/zqhandles.h"
#include "common/zqkeywords.h"
#include "common/zqstrings.h"
#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"

namespace {

bool CanRead(POEMCUIPPARAM pParam, PCWSTR pszFeature) {
    CZQLocalPtr<WCHAR> option;
    return CZQCommon::DWGetFeatureOption(pParam, pszFeature, option.Put()) == ZQOPT_OK;
}

bool HasItem(POEMCUIPPARAM pParam, PCWSTR pszFeature) {
    POPTITEM item = nullptr;
    return CZQCommon::DWFindOptItem(pParam, pszFeature, &item) == ZQOPT_OK;
}

// The Features page (or its large-format twin) takes the place of Paper/Quality, Effects and
// Finishing.
bool FeaturesPageShown(const ZQSheetFacts& facts) { return facts.bSimplifiedUI != FALSE; }

}  // namespace

void ZQReadSheetFacts(POEMCUIPPARAM pParam, const void* pPrivateDM, ZQSheetFacts* pFacts) {
    if (!pFacts) return;
    *pFacts = {};
    if (pParam) {
        pFacts->bSimplifiedUI = CanRead(pParam, zqkw::kZQSimplifiedUI);
        pFacts->bDocUISUI = CanRead(pParam, L"ZQDocUISUI");
        pFacts->bLargeFormat = CZQUILogic::BIsLargeFormat(pParam);
        static const PCWSTR kOutputFeatures[] = {zqkw::kOutputBin, zqkw::kStapling, zqkw::kStapleLocation,
                                                 zqkw::kPunching, zqkw::kFolding};
        for (PCWSTR feature : kOutputFeatures)
            if (HasItem(pParam, feature)) pFacts->bOutputFeatures = TRUE;
        CZQLocalPtr<WCHAR> option;
        pFacts->bSettingsInformation =
            CZQCommon::DWGetFeatureOption(pParam, L"ZQSettingsInformation", option.Put()) == ZQOPT_OK &&
            ZQEqualNoCase(option.Get(), L"TRUE");
    }
    // The core driver's copy of the block is only read when it is ours and current.
    if (const ZQUIDevmode* dm = zqdm::CurrentBlock(pPrivateDM)) {
        pFacts->bJobStorage = CZQCommon::BIsJobStorageValid(dm);
        pFacts->dwColorMode = dm->dwColorMode;
        pFacts->dwPdl = dm->dwPdl;
    }
}

int IChooseSheetPages(const ZQSheetFacts& facts, DWORD dwSheet, int* piPageIds, int cMax) {
    int ids[kPageIdCount];
    int n = 0;
    if (dwSheet == kSheetDocument && facts.bSettingsInformation) {
        // Jobs of this printer are set up in the publishing application: nothing to change here.
        ids[n++] = kPageInfo;
    } else if (dwSheet == kSheetDocument) {
        ids[n++] = kPageShortcuts;
        if (FeaturesPageShown(facts)) {
            ids[n++] = facts.bLargeFormat ? kPageLargeFormatFeatures : kPageFeatures;
        } else {
            ids[n++] = kPagePaperQuality;
            ids[n++] = kPageEffects;
            ids[n++] = kPageFinishing;
        }
        if (facts.bOutputFeatures) ids[n++] = kPageOutput;
        if (facts.bJobStorage) ids[n++] = kPageJobStorage;
        if (facts.dwColorMode == 2) ids[n++] = kPageColor;
        ids[n++] = kPageAbout;
    } else if (dwSheet == kSheetDevice) {
        ids[n++] = kPageServices;
        ids[n++] = kPageAbout;
    }
    int count = 0;
    for (int i = 0; i < n && count < cMax; ++i) piPageIds[count++] = ids[i];
    return count;
}

BOOL CZQUIBase::BShowFinishingTab(POEMCUIPPARAM pParam) {
    ZQSheetFacts facts;
    ZQReadSheetFacts(pParam, nullptr, &facts);
    return FeaturesPageShown(facts) ? FALSE : TRUE;
}

BOOL CZQUIBase::BShowAccountingTab(POEMCUIPPARAM pParam) {
    // The accounting ID is edited on the large-format Features page.
    ZQSheetFacts facts;
    ZQReadSheetFacts(pParam, nullptr, &facts);
    return FeaturesPageShown(facts) && facts.bLargeFormat ? TRUE : FALSE;
}

namespace {

PageContext* BoundOrNull(PageContext* pContext) {
    if (pContext && pContext->pPage && pContext->pPage->CUIParam()) return pContext;
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
}

}  // namespace

BOOL CZQTabBase::BAllocPageBlock() {
    const HANDLE heap = m_pCUIParam ? m_pCUIParam->hOEMHeap : nullptr;
    m_pHeapBlock = heap ? HeapAlloc(heap, HEAP_ZERO_MEMORY, sizeof(DWORD)) : nullptr;
    if (m_pHeapBlock) return TRUE;
    SetLastError(heap ? ERROR_NOT_ENOUGH_MEMORY : ERROR_INVALID_DATA);
    return FALSE;
}

void CZQTabBase::VPaintLogo(HWND hDlg, WORD wBitmap, WORD wMask, int iHolderId) const {
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hDlg, &ps);
    if (hdc && m_pCUIParam)
        VDrawMaskedBitmap(hDlg, hdc, wBitmap, wMask, iHolderId, static_cast<HINSTANCE>(m_pCUIParam->hModule), &ps);
    EndPaint(hDlg, &ps);
}

PageContext* ZQInitPageContext(LPARAM lParam) {
    const auto* psp = reinterpret_cast<const PROPSHEETPAGEW*>(lParam);
    return BoundOrNull(psp ? reinterpret_cast<PageContext*>(psp->lParam) : nullptr);
}

PageContext* ZQBoundPageContext(HWND hDlg) {
    return BoundOrNull(reinterpret_cast<PageContext*>(GetWindowLongPtrW(hDlg, DWLP_USER)));
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
