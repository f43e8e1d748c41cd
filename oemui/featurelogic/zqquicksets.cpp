#include "featurelogic/zqquicksets.h"

#include <commctrl.h>

#include "common/zqstrings.h"
#include "featurelogic/zqsheetstate.h"
#include "formats/zquidevmode.h"

static_assert(sizeof(ZQUIDevmode::szQuickSetName) / sizeof(zqwchar) == CZQQuickSets::kNameChars,
              "quick-set name of the private devmode");

BOOL CZQQuickSets::BSetChanged(HWND hPage) {
    if (hPage) SendMessageW(GetParent(hPage), PSM_CHANGED, reinterpret_cast<WPARAM>(hPage), 0);
    m_bChanged = TRUE;
    return TRUE;
}

void CZQQuickSets::VSnapshotCurrent(ZQUIDevmode* pDevmode) {
    m_snapshot = {};
    m_bSnapshot = FALSE;
    if (!pDevmode) return;
    zqqs::Capture(*pDevmode, m_snapshot);
    m_bSnapshot = TRUE;
}

BOOL CZQQuickSets::BPageDiffers(ZQUIDevmode devmode, int iPageId) {
    m_dwPaperSourceCopy = devmode.dwDiffPaper;
    if (!m_bSnapshot) return FALSE;
    // The Features page holds the Paper/Quality page's group.
    if (iPageId == kPagePaperQuality || iPageId == kPageFeatures) {
        POPTITEM media = nullptr;
        const bool mediaItem = DWFindOptItemByPubId(m_pCUIParam, DMPUB_MEDIATYPE, 0, &media) == ZQOPT_OK && media;
        if (zqqs::PaperQualityDiffers(devmode, m_snapshot, mediaItem)) return TRUE;
    }
    return devmode.wDuplex != m_snapshot.wDuplex || devmode.wOrientation != m_snapshot.wOrientation;
}

void CZQQuickSets::VStoreNameInDevmode(ZQUIDevmode* pDevmode) const {
    if (pDevmode && m_bSelected) ZQCopyText(pDevmode->szQuickSetName, kNameChars, m_szCurrentName);
}

void CZQQuickSets::VRestoreNameIfItemsChanged() {
    if (!m_bSelected || !BHasConflictingSelection(m_pCUIParam)) return;
    m_bSelected = FALSE;
    ZQCopyText(m_szCurrentName, kNameChars, m_szPlaceholder);
}
