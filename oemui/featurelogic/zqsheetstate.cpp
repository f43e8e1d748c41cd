// The per-sheet state of the logic, and which pages a sheet gets.
#include "featurelogic/zqsheetstate.h"

#include "common/zqkeywords.h"
#include "common/zqstrings.h"
#include "common/zquibase.h"
#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"

void ZQResetSheetState(ZQSheetState* pState) {
    if (!pState) return;
    pState->bRtl = FALSE;
    pState->bTitleDone = FALSE;
    pState->iHighestPage = -1;
    pState->bItemChanged = FALSE;
    for (int& position : pState->aiPagePosition) position = -1;
}

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
